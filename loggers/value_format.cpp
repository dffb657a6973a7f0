// Display texts of channel values and units shared by the logger models, with
// the program's format settings.
#include "loggers/value_format.h"

#include "foundations/language_switch.h"
#include "platform/float_format.h"

namespace qel {

std::string TextWithNumber(std::string_view text, std::int64_t number)
{
    std::string result(text);
    result += std::to_string(number);
    return result;
}

std::string TemperatureUnit()
{
    return AsianLocale ? "*C" : "°C";
}

const char* AnalogFormatPattern(std::uint8_t code)
{
    switch (code) {
    case 1: return "0";
    case 2: return "0.0";
    case 3: return "0.00";
    case 4: return "0.000";
    case 5: return "0.0000";
    default: return "0.000E+00";
    }
}

std::string FormatWithPattern(const char* pattern, double value)
{
    return plat::FormatFloat(pattern, value, plat::FormatSettings());
}

std::string FormatGeneral(double value)
{
    return plat::FloatToStr(value, plat::FormatSettings());
}

} // namespace qel
