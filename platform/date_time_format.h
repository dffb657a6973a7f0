// Date-time values as text by the classic pattern language, with the format
// settings' separators, names and formats.
#pragma once

#include "platform/date_time.h"
#include "platform/float_format.h"  // FormatFloat, FloatToStr, StrToFloat belong with these
#include "platform/format_settings.h"

#include <string>
#include <string_view>

namespace plat {

// Pattern letters, in either case:
//   c        short date format, then " " and the long time format unless the time is midnight
//   d dd     day without / with a leading zero; ddd, dddd short / long day name;
//            ddddd short date format; dddddd long date format
//   m mm     month without / with a leading zero; mmm, mmmm short / long month name;
//            but minutes right after an hour (h, hh) or before seconds (s, ss)
//   n nn     minutes      yy yyyy  year with two / four digits
//   h hh     hour (on a 12-hour clock when the pattern holds an am/pm mark)
//   s ss     seconds      z zzz    milliseconds without / with leading zeros
//   t tt     short / long time format
//   am/pm    "am" or "pm" in the case written; a/p "a" or "p"; ampm the AM / PM strings
//   /        the date separator      :  the time separator
//   '...' "..."  literal text; any other character stands for itself.
// An empty pattern is "c". Raises EConvertError for a value outside
// MinDateTime..MaxDateTime or not finite.
std::string FormatDateTime(std::string_view pattern, TDateTime value,
                           const TFormatSettings& settings = FormatSettings());

// The value by the short date format, the long time format, and both ("c").
std::string DateToStr(TDateTime value, const TFormatSettings& settings = FormatSettings());
std::string TimeToStr(TDateTime value, const TFormatSettings& settings = FormatSettings());
std::string DateTimeToStr(TDateTime value, const TFormatSettings& settings = FormatSettings());

} // namespace plat
