// Date-time patterns: fields, separators, names, expansions and literals.
#include "platform/date_time_format.h"
#include "platform/locale.h"

#include <gtest/gtest.h>

namespace {

using namespace plat;

TFormatSettings UsSettings()
{
    TFormatSettings s;
    s.DateSeparator = '/';
    s.TimeSeparator = ':';
    s.ShortDateFormat = "M/d/yyyy";
    s.LongDateFormat = "dddd, MMMM d, yyyy";
    s.ShortTimeFormat = "h:mm AMPM";
    s.LongTimeFormat = "h:mm:ss AMPM";
    s.TimeAMString = "AM";
    s.TimePMString = "PM";
    return s;
}

TFormatSettings GermanSettings()
{
    TFixedLocaleProvider german("de_DE.UTF-8");
    TScopedLocaleProvider scoped(german);
    return DefaultFormatSettings();
}

TFormatSettings OddSeparators()
{
    TFormatSettings s = UsSettings();
    s.DateSeparator = '.';
    s.TimeSeparator = '-';
    return s;
}

const TDateTime Afternoon = EncodeDateTime({2024, 3, 5, 14, 7, 9, 23});  // a Tuesday
const TDateTime Morning = EncodeDateTime({2024, 3, 5, 9, 5, 3, 4});
const TDateTime JustAfterMidnight = EncodeDateTime({2024, 3, 5, 0, 30, 0, 0});
const TDateTime Midnight = EncodeDate(2024, 3, 5);

struct TPatternCase {
    const char* Pattern;
    TDateTime Value;
    TFormatSettings (*Settings)();
    const char* Expected;
};

const TPatternCase PatternCases[] = {
    {"yyyy-mm-dd hh:nn:ss.zzz", Afternoon, UsSettings, "2024-03-05 14:07:09.023"},
    {"yymmdd_hhnnss", Afternoon, UsSettings, "240305_140709"},
    {"dd/MM/yyyy", Afternoon, OddSeparators, "05.03.2024"},
    {"HH:mm:ss", Afternoon, OddSeparators, "14-07-09"},
    {"MM/dd/yyyy HH:mm:ss", Afternoon, OddSeparators, "03.05.2024 14-07-09"},
    {"DD/MM/YYYY HH:NN:SS", Afternoon, UsSettings, "05/03/2024 14:07:09"},
    {"d/m/yy h:n:s", Morning, UsSettings, "5/3/24 9:5:3"},
    {"mm:ss", Afternoon, UsSettings, "07:09"},          // before seconds: minutes
    {"mm", Afternoon, UsSettings, "03"},                // alone: month
    {"hh 'h' mm", Afternoon, UsSettings, "14 h 07"},    // after an hour, across a literal
    {"mm'x'ss", Afternoon, UsSettings, "07x09"},
    {"yyyy mm hh", Afternoon, UsSettings, "2024 03 14"},
    {"dd-MMM-yyyy", Afternoon, UsSettings, "05-Mar-2024"},
    {"dd-MMM-yyyy", Afternoon, GermanSettings, "05-Mär-2024"},
    {"ddd dddd", Afternoon, UsSettings, "Tue Tuesday"},
    {"ddd dddd", Afternoon, GermanSettings, "Di Dienstag"},
    {"mmm mmmm", Afternoon, UsSettings, "Mar March"},
    {"ddddd", Afternoon, UsSettings, "3/5/2024"},
    {"dddddd", Afternoon, UsSettings, "Tuesday, March 5, 2024"},
    {"ddddd", Afternoon, GermanSettings, "05.03.2024"},
    {"dddddd", Afternoon, GermanSettings, "Dienstag, 5. März 2024"},
    {"c", Afternoon, UsSettings, "3/5/2024 2:07:09 PM"},
    {"c", Midnight, UsSettings, "3/5/2024"},
    {"", Afternoon, GermanSettings, "05.03.2024 14:07:09"},
    {"t", Afternoon, UsSettings, "2:07 PM"},
    {"tt", Morning, UsSettings, "9:05:03 AM"},
    {"t", Afternoon, GermanSettings, "14:07"},
    {"h:nn am/pm", Afternoon, UsSettings, "2:07 pm"},
    {"h:nn AM/PM", Morning, UsSettings, "9:05 AM"},
    {"h:nn Am/Pm", Afternoon, UsSettings, "2:07 Pm"},
    {"h:nn a/p", Afternoon, UsSettings, "2:07 p"},
    {"hh:nn AMPM", JustAfterMidnight, UsSettings, "12:30 AM"},
    {"AMPM h:nn", Afternoon, UsSettings, "PM 2:07"},    // mark before the hour
    {"hh", Afternoon, UsSettings, "14"},
    {"z zzz", Afternoon, UsSettings, "23 023"},
    {"\"yyyy is\" yyyy", Afternoon, UsSettings, "yyyy is 2024"},
    {"'unclosed", Afternoon, UsSettings, "unclosed"},
    {"yyyy年M月d日", Afternoon, UsSettings, "2024年3月5日"},
    {"[yyyy] Q-x", Afternoon, UsSettings, "[2024] Q-x"},
};

TEST(DateTimeFormat, PatternTable)
{
    for (const auto& c : PatternCases) {
        EXPECT_EQ(FormatDateTime(c.Pattern, c.Value, c.Settings()), c.Expected) << "pattern \"" << c.Pattern << "\"";
    }
}

TEST(DateTimeFormat, YearsBelowAThousandKeepFourDigits)
{
    EXPECT_EQ(FormatDateTime("yyyy yy", EncodeDate(999, 1, 2), UsSettings()), "0999 99");
    EXPECT_EQ(FormatDateTime("yyyy yy", EncodeDate(2005, 1, 2), UsSettings()), "2005 05");
}

TEST(DateTimeFormat, MillisecondFormatWithDecimalSeparator)
{
    // Short date, a blank, long time, the decimal separator and "zzz".
    TFormatSettings s;
    s.ShortDateFormat = "yyyy-MM-dd";
    s.LongTimeFormat = "HH:mm:ss";
    s.DateSeparator = '-';
    s.DecimalSeparator = '.';
    std::string pattern = s.ShortDateFormat;
    pattern.append(" ").append(s.LongTimeFormat);
    pattern.push_back(s.DecimalSeparator);
    pattern.append("zzz");
    EXPECT_EQ(FormatDateTime(pattern, EncodeDateTime({2001, 2, 3, 4, 5, 6, 789}), s), "2001-02-03 04:05:06.789");
}

TEST(DateTimeFormat, SelfReferringFormatsEnd)
{
    TFormatSettings s = UsSettings();
    s.ShortDateFormat.assign(1, 'c');
    s.LongTimeFormat = "tt";
    const std::string text = FormatDateTime("c", Afternoon, s);
    EXPECT_LT(text.size(), 20u);
}

TEST(DateTimeFormat, ValuesOutsideTheCalendarRaise)
{
    EXPECT_THROW(FormatDateTime("yyyy", MaxDateTime + 1, UsSettings()), EConvertError);
}

TEST(DateTimeFormat, StringHelpersUseTheGivenOrGlobalSettings)
{
    const TFormatSettings german = GermanSettings();
    EXPECT_EQ(DateToStr(Afternoon, german), "05.03.2024");
    EXPECT_EQ(TimeToStr(Afternoon, german), "14:07:09");
    EXPECT_EQ(DateTimeToStr(Afternoon, german), "05.03.2024 14:07:09");

    TScopedFormatSettings restore;
    FormatSettings() = UsSettings();
    EXPECT_EQ(DateToStr(Afternoon), "3/5/2024");
    EXPECT_EQ(FormatDateTime("tt", Afternoon), "2:07:09 PM");
}

} // namespace
