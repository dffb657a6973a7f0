// Floating-point numbers as text and back, with the format settings' decimal
// and thousand separators.
#pragma once

#include "platform/date_time.h"  // EConvertError
#include "platform/format_settings.h"

#include <string>
#include <string_view>

namespace plat {

// The general format: 15 significant digits, trailing zeros dropped; fixed
// notation unless the value needs more than 15 integer digits or is below
// 0.00001, then scientific ("1.5E-7", "1E15"). NaN and infinities give "NAN",
// "INF" and "-INF".
std::string FloatToStr(double value, const TFormatSettings& settings = FormatSettings());

// The classic number pattern: up to three sections "positive;negative;zero";
// "0" a digit, "#" a digit only where significant, the first "." the decimal
// separator, "," anywhere in the integer part groups thousands, "E+", "E-",
// "e+", "e-" followed by "0"s scientific notation with that many exponent
// digits at least ("+" always shows the sign), '...' and "..." literal text,
// any other character itself. The value is taken to 15 significant digits and
// rounded half away from zero. An empty pattern, a NaN or an infinity gives
// FloatToStr.
std::string FormatFloat(std::string_view pattern, double value, const TFormatSettings& settings = FormatSettings());

// Blanks around an optional sign, digits with at most one decimal separator of
// the settings (at least one digit) and an optional exponent ("E" or "e", an
// optional sign, digits). No thousand separators. A value too large for a double
// fails; one too small gives zero.
bool TryStrToFloat(std::string_view text, double& value, const TFormatSettings& settings = FormatSettings());
// As TryStrToFloat; raises EConvertError ("'text' is not a valid floating point value").
double StrToFloat(std::string_view text, const TFormatSettings& settings = FormatSettings());

} // namespace plat
