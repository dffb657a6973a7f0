// Tests of the library's international support under injected locales (the
// support's own defaults and a German one): locale items, the pictures it
// builds, dates and times written and read, buffers, and settings changes
// reaching it through its utility window.
#include "widgets/pages/pgc_intl.h"

#include "platform/controls/application.h"
#include "platform/hosts/headless/headless_host.h"
#include "platform/locale.h"
#include "platform/text_encoding.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

namespace qel {
namespace {

// A locale that gives exactly the support's defaults, on a 12-hour clock
// without leading zeros.
plat::TLocaleInfo DefaultsLocale()
{
    plat::TLocaleInfo info = plat::LocaleInfoFromName("en_US");
    info.DecimalSeparator = ".";
    info.ThousandSeparator = ",";
    info.ListSeparator = ",";
    info.DateSeparator = "/";
    info.TimeSeparator = ":";
    info.ShortDateFormat = "MM/dd/yy";
    info.LongDateFormat = "dddd, MMMM dd, yyyy";
    info.LongTimeFormat = "h:mm:ss AMPM";
    info.TimeLeadingZero = false;
    info.TimeAMString = "AM";
    info.TimePMString = "PM";
    info.CurrencySymbol = "$";
    info.CurrencyFormat = 0;
    info.NegCurrencyFormat = 0;
    info.CurrencyDigits = 2;
    info.Country = "United States";
    return info;
}

std::int32_t Day(int year, int month, int day)
{
    return DateToDayNumber(day, month, year, 0);
}

std::int32_t Time(int hours, int minutes, int seconds)
{
    return HMSToSecondsOfDay(static_cast<std::uint8_t>(hours), static_cast<std::uint8_t>(minutes),
        static_cast<std::uint8_t>(seconds));
}

// The support built under one locale.
class IntlUnder {
public:
    explicit IntlUnder(plat::TLocaleInfo info) : Provider(std::move(info)), Scope(Provider) {}
    explicit IntlUnder(std::string_view name) : Provider(name), Scope(Provider) {}

    plat::TFixedLocaleProvider Provider;
    plat::TScopedLocaleProvider Scope;
    TPgcIntlSup Intl;
};

TEST(PgcIntl, DefaultsLocaleGivesTheDefaultItems)
{
    const IntlUnder under(DefaultsLocale());
    const TPgcIntlSup& intl = under.Intl;
    EXPECT_EQ(intl.CurrencyLtStr, u"$");
    EXPECT_EQ(intl.CurrencyRtStr, u"$");
    EXPECT_EQ(intl.DecimalChar, u'.');
    EXPECT_EQ(intl.CommaChar, u',');
    EXPECT_EQ(intl.SlashChar, u'/');
    EXPECT_EQ(intl.TimeSeparator(), u':');
    EXPECT_EQ(intl.Country(), u"United States");
    EXPECT_EQ(intl.YesChar, u'Y');
    EXPECT_EQ(intl.FalseChar, u'F');
    EXPECT_TRUE(intl.TwelveHourClock());
    EXPECT_FALSE(intl.TimeLeadingZero());
    EXPECT_EQ(intl.ShortDatePicture(), u"MM/dd/yy");
    EXPECT_EQ(intl.LongDatePicture(), u"wwww, nnnn dd, yyyy");
    EXPECT_FALSE(intl.AutoUpdate());
}

TEST(PgcIntl, GermanLocaleItems)
{
    const IntlUnder under("de_DE");
    const TPgcIntlSup& intl = under.Intl;
    EXPECT_EQ(intl.DecimalChar, u',');
    EXPECT_EQ(intl.CommaChar, u'.');
    EXPECT_EQ(intl.ListChar, u';');
    EXPECT_EQ(intl.SlashChar, u'.');
    EXPECT_EQ(intl.CurrencyLtStr, u"€");
    EXPECT_EQ(intl.CurrencyRtStr, u" €") << "currency format 3 puts a space before the symbol";
    EXPECT_EQ(intl.CurrencyForm(), 3);
    EXPECT_EQ(intl.NegCurrencyForm(), 8);
    EXPECT_FALSE(intl.TwelveHourClock());
    EXPECT_TRUE(intl.TimeLeadingZero());
    EXPECT_EQ(intl.ShortDatePicture(), u"dd/MM/yyyy");
    EXPECT_EQ(intl.LongDatePicture(), u"wwww, d. nnnn yyyy");
    EXPECT_EQ(intl.InternationalDate(true), u"dd/mm/yyyy");
    EXPECT_EQ(intl.InternationalTime(true), u"hh:mm:ss");
    EXPECT_EQ(intl.MonthToString(3), u"März");
    EXPECT_EQ(intl.DayOfWeekToString(TSysDayType::Tuesday), u"Dienstag");
}

TEST(PgcIntl, OddLocaleItemsKeepTheirDefaults)
{
    plat::TLocaleInfo info = DefaultsLocale();
    info.DecimalSeparator = ",";
    info.ThousandSeparator = ","; // equal separators go back to "." and ","
    info.ListSeparator = ";;";    // not one character
    info.DateSeparator = "";
    info.ShortDateFormat = "";     // no picture
    info.CurrencySymbol = " kr ";
    info.CurrencyFormat = 2;
    info.Country = "  Norge ";
    const IntlUnder under(info);
    EXPECT_EQ(under.Intl.DecimalChar, u'.');
    EXPECT_EQ(under.Intl.CommaChar, u',');
    EXPECT_EQ(under.Intl.ListChar, u',');
    EXPECT_EQ(under.Intl.SlashChar, u'/');
    EXPECT_EQ(under.Intl.ShortDatePicture(), u"MM/dd/yy");
    EXPECT_EQ(under.Intl.CurrencyLtStr, u"kr ");
    EXPECT_EQ(under.Intl.CurrencyRtStr, u"kr");
    EXPECT_EQ(under.Intl.Country(), u"Norge");
}

TEST(PgcIntl, LongDateLiteralsBecomeMarkers)
{
    plat::TLocaleInfo info = DefaultsLocale();
    info.LongDateFormat = "dddd 'abcdefgh' d 'x'MMMM'' yyyy";
    const IntlUnder under(info);
    EXPECT_EQ(under.Intl.LongDatePicture(), u"wwww ffffff d gnnnn yyyy");
    EXPECT_EQ(under.Intl.LongDateLiteral(0), u"abcdef") << "a literal keeps 6 characters";
    EXPECT_EQ(under.Intl.LongDateLiteral(1), u"x");
    EXPECT_EQ(under.Intl.LongDateLiteral(2), u"") << "an empty pair of quotes";

    const IntlUnder spanish("es_ES");
    EXPECT_EQ(spanish.Intl.LongDatePicture(), u"wwww, dffffnnnnggggyyyy");
    const std::u16string picture = spanish.Intl.InternationalLongDate(false, false);
    EXPECT_EQ(picture, u"wwwwwwwww, DDffffnnnnnnnnnnggggyyyy");
    EXPECT_EQ(spanish.Intl.DateToDateString(picture, Day(2024, 3, 5), true), u"martes, 5 de marzo de 2024");
}

TEST(PgcIntl, CommasAndPeriodsInTheLongDateGetASpace)
{
    plat::TLocaleInfo info = DefaultsLocale();
    info.LongDateFormat = "d.MM.yyyy,dddd";
    const IntlUnder under(info);
    EXPECT_EQ(under.Intl.LongDatePicture(), u"d. MM. yyyy, wwww");
}

TEST(PgcIntl, DatePicturesOfTheShortDate)
{
    struct TCase {
        const char* ShortDate;
        const char* Separator;
        bool Century;
        const char16_t* Expected;
    };
    const TCase cases[] = {
        {"MM/dd/yy", "/", true, u"mm/dd/yyyy"},   {"MM/dd/yy", "/", false, u"mm/dd/yy"},
        {"M/d/yyyy", "/", false, u"MM/DD/yyyy"},  {"dd.MM.yy", ".", false, u"dd/mm/yy"},
        {"d-M-y", "-", true, u"DD/MM/yyyy"},      {"yyyy-MMM-dd", "-", true, u"yyyy/nnn/dd"},
        {"yyyyy/MM/dd", "/", false, u"yyyyy/mm/dd"},
    };
    for (const TCase& c : cases) {
        plat::TLocaleInfo info = DefaultsLocale();
        info.ShortDateFormat = c.ShortDate;
        info.DateSeparator = c.Separator;
        const IntlUnder under(info);
        EXPECT_EQ(under.Intl.InternationalDate(c.Century), c.Expected) << c.ShortDate;
    }
}

TEST(PgcIntl, LongDateAndTimePictures)
{
    const IntlUnder defaults(DefaultsLocale());
    EXPECT_EQ(defaults.Intl.InternationalLongDate(false, false), u"wwwwwwwww, nnnnnnnnn dd, yyyy");
    EXPECT_EQ(defaults.Intl.InternationalLongDate(true, false), u"www, nnn dd, yyyy");
    EXPECT_EQ(defaults.Intl.InternationalLongDate(true, true), u"nnn dd, yyyy");
    EXPECT_EQ(defaults.Intl.InternationalTime(true), u"Hh:mm:ss tt");
    EXPECT_EQ(defaults.Intl.InternationalTime(false), u"Hh:mm tt");

    const IntlUnder german("de_DE");
    EXPECT_EQ(german.Intl.InternationalLongDate(false, false), u"wwwwwwwwww, DD. nnnnnnnnn yyyy");
    EXPECT_EQ(german.Intl.InternationalLongDate(false, true), u"DD. nnnnnnnnn yyyy");
    EXPECT_EQ(german.Intl.InternationalTime(false), u"hh:mm");

    plat::TLocaleInfo longMarks = DefaultsLocale();
    longMarks.TimeAMString = "vormittags";
    longMarks.TimePMString = "nachmittags";
    const IntlUnder marks(longMarks);
    EXPECT_EQ(marks.Intl.InternationalTime(true), u"Hh:mm:ss ttttttttttt");
    EXPECT_EQ(marks.Intl.InternationalTime(true).size(), 20u) << "the picture holds 20 characters";
}

TEST(PgcIntl, CurrencyPictures)
{
    const IntlUnder defaults(DefaultsLocale());
    EXPECT_EQ(defaults.Intl.InternationalCurrency(u'#', 7, false, true, false), u"c#,###,###.##");
    EXPECT_EQ(defaults.Intl.InternationalCurrency(u'#', 7, false, true, true), u"c#,###,###.##p");
    EXPECT_EQ(defaults.Intl.InternationalCurrency(u'#', 7, true, false, false), u"$#######.##");
    EXPECT_EQ(defaults.Intl.InternationalCurrency(u'9', 3, false, true, false), u"c999.99");
    EXPECT_EQ(defaults.Intl.InternationalCurrency(u'#', 0, false, true, true), u"");

    const IntlUnder german("de_DE"); // symbol after the number with a space, negative format 8
    EXPECT_EQ(german.Intl.InternationalCurrency(u'#', 4, true, true, true), u"#,###.##CC");

    plat::TLocaleInfo info = DefaultsLocale();
    info.CurrencyFormat = 1;
    info.NegCurrencyFormat = 10;
    info.CurrencyDigits = 0;
    const IntlUnder after(info);
    EXPECT_EQ(after.Intl.InternationalCurrency(u'#', 2, false, false, true), u"##Cg");
    info.CurrencyFormat = 0;
    info.NegCurrencyFormat = 6;
    const IntlUnder six(info);
    EXPECT_EQ(six.Intl.InternationalCurrency(u'#', 2, false, false, true), u"c##g");
}

TEST(PgcIntl, DatesWrittenInPictures)
{
    const IntlUnder under(DefaultsLocale());
    const TPgcIntlSup& intl = under.Intl;
    const std::int32_t march5 = Day(2024, 3, 5);
    struct TCase {
        const char16_t* Picture;
        std::int32_t Julian;
        bool Pack;
        const char16_t* Expected;
    };
    const TCase cases[] = {
        {u"mm/dd/yyyy", march5, false, u"03/05/2024"},
        {u"MM/DD/yy", march5, false, u" 3/ 5/24"},
        {u"MM/DD/yy", march5, true, u"3/5/24"},
        {u"mm/dd/yy", BadDayNumber, false, u"  /  /  "},
        {u"mm/dd/yy", BadDayNumber, true, u"  /  /  "},
        {u"www, nnn dd, yyyy", march5, false, u"Tue, Mar 05, 2024"},
        {u"WWW NNNNNNNNN D", march5, false, u"TUE MARCH     5"},
        {u"WWW NNNNNNNNN D", march5, true, u"TUE MARCH 5"},
        {u"wwwwwwwww, nnnnnnnnn dd, yyyy", march5, true, u"Tuesday, March 05, 2024"},
        {u"nnnn yyyy", march5, false, u"Marc 2024"},
        {u"dd.mm.y", march5, false, u"05.03.4"},
        {u"dd/mm/yy", Day(1999, 12, 31), false, u"31/12/99"},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(intl.DateToDateString(c.Picture, c.Julian, c.Pack), c.Expected)
            << std::string(c.Picture, c.Picture + std::char_traits<char16_t>::length(c.Picture));
    }
    EXPECT_EQ(intl.DMYtoDateString(u"mm/dd/yyyy", 5, 3, 24, false, 1950), u"03/05/2024");
    EXPECT_EQ(intl.DMYtoDateString(u"mm/dd/yyyy", 5, 3, 60, false, 1950), u"03/05/1960");

    const IntlUnder german("de_DE");
    const std::u16string longPicture = german.Intl.InternationalLongDate(false, false);
    EXPECT_EQ(german.Intl.DateToDateString(longPicture, march5, false), u"Dienstag  ,  5. März      2024");
    EXPECT_EQ(german.Intl.DateToDateString(longPicture, march5, true), u"Dienstag, 5. März 2024");
    EXPECT_EQ(german.Intl.DateToDateString(u"dd/mm/yyyy", march5, false), u"05.03.2024");
}

TEST(PgcIntl, TimesWrittenInPictures)
{
    plat::TLocaleInfo noMarks = DefaultsLocale();
    noMarks.TimeAMString = "";
    noMarks.TimePMString = "";
    const IntlUnder defaults(DefaultsLocale());
    const IntlUnder empty(noMarks);
    const std::int32_t afternoon = Time(13, 5, 9);
    struct TCase {
        const TPgcIntlSup* Intl;
        const char16_t* Picture;
        std::int32_t T;
        bool Pack;
        const char16_t* Expected;
    };
    const TCase cases[] = {
        {&defaults.Intl, u"hh:mm:ss tt", afternoon, false, u"01:05:09 PM"},
        {&defaults.Intl, u"hh:mm:ss t", afternoon, false, u"01:05:09 P"},
        {&defaults.Intl, u"hh:mm:ss ttt", afternoon, false, u"01:05:09 PMt"},
        {&defaults.Intl, u"hh:mm tt", Time(0, 30, 0), false, u"12:30 AM"},
        {&defaults.Intl, u"hh:mm tt", Time(12, 0, 0), false, u"12:00 PM"},
        {&defaults.Intl, u"hh:mm:ss", afternoon, false, u"13:05:09"},
        {&empty.Intl, u"hh:mm:ss tt", afternoon, false, u"13:05:09   "},
        {&empty.Intl, u"hh:mm:ss tt", afternoon, true, u"13:05:09"},
        {&defaults.Intl, u"Hh:mm:ss", Time(9, 5, 0), false, u" 9:05:00"},
        {&defaults.Intl, u"Hh:mm:ss", Time(9, 5, 0), true, u"9:05:00"},
        {&defaults.Intl, u"Hh:mm:ss", Time(13, 5, 0), false, u"13:05:00"},
        {&defaults.Intl, u"HH:MM:SS", Time(1, 2, 3), false, u" 1: 2: 3"},
        {&defaults.Intl, u"hh:mm tt", BadDayNumber, false, u"  :   AM"},
        {&empty.Intl, u"hh:mm tt", BadDayNumber, false, u"  :     "},
        {&defaults.Intl, u"hh:mm", 90000, false, u"  :  "},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(c.Intl->TimeToTimeString(c.Picture, c.T, c.Pack), c.Expected)
            << std::string(c.Picture, c.Picture + std::char_traits<char16_t>::length(c.Picture)) << " " << c.T;
    }
    const IntlUnder german("de_DE");
    EXPECT_EQ(german.Intl.TimeToAmPmString(u"hh:mm", afternoon, false), u"01:05P");
    EXPECT_EQ(german.Intl.TimeToAmPmString(u"hh:mm tt", Time(9, 0, 0), false), u"09:00 AM");
    EXPECT_EQ(german.Intl.TimeToTimeString(u"hh:mm tt", afternoon, false), u"01:05 PM");
}

// The time fields are filled first; the minutes are the "m" run after the
// hours, so a month-first picture keeps its month and its minutes apart.
TEST(PgcIntl, DateTimesFillTheTimeFirst)
{
    const IntlUnder under(DefaultsLocale());
    const plat::TDateTime moment = plat::EncodeDate(2024, 3, 5) + plat::EncodeTime(13, 7, 9, 0);
    struct TCase {
        const char16_t* Picture;
        bool Pack;
        const char16_t* Expected;
    };
    const TCase cases[] = {
        {u"mm/dd/yyyy hh:mm", false, u"03/05/2024 13:07"},
        {u"MM/DD/yy Hh:mm", false, u" 3/ 5/24 13:07"},
        {u"dd/mm/yyyy hh:mm tt", false, u"05/03/2024 01:07 PM"},
        {u"DD/MM/yyyy Hh:mm", true, u"5/3/2024 13:07"},
        {u"yyyy/mm/dd hh:mm:ss", false, u"2024/03/05 13:07:09"},
    };
    for (const TCase& c : cases) {
        const std::u16string text = under.Intl.DateTimeToDate(c.Picture, moment, c.Pack);
        EXPECT_EQ(text, c.Expected) << plat::Utf16ToUtf8(c.Picture);
        if (!c.Pack) {
            EXPECT_EQ(under.Intl.DateStringToDate(c.Picture, text, 1950), Day(2024, 3, 5)) << plat::Utf16ToUtf8(text);
            EXPECT_EQ(under.Intl.TimeStringToTime(c.Picture, text) / 60, Time(13, 7, 0) / 60)
                << plat::Utf16ToUtf8(text);
        }
    }
    EXPECT_EQ(under.Intl.TimeToTimeString(u"mm/dd hh:mm", Time(13, 7, 0), false), u"mm/dd 13:07")
        << "the month of a date-time picture is no minutes field";
}

TEST(PgcIntl, DatesReadFromText)
{
    const IntlUnder under(DefaultsLocale());
    const TPgcIntlSup& intl = under.Intl;
    const std::int32_t savedYear = StartYear;
    const std::uint8_t savedMonth = StartMonth;
    StartYear = 2030;
    StartMonth = 7;
    struct TCase {
        const char16_t* Picture;
        const char16_t* Text;
        std::int32_t Epoch;
        std::int32_t Expected;
    };
    const TCase cases[] = {
        {u"mm/dd/yyyy", u"03/05/2024", 0, Day(2024, 3, 5)},
        {u"MM/DD/yyyy", u" 3/ 5/2024", 0, Day(2024, 3, 5)},
        {u"mm/dd/yy", u"03/05/24", 1950, Day(2024, 3, 5)},
        {u"mm/dd/yy", u"03/05/60", 1950, Day(1960, 3, 5)},
        {u"mm/dd/yy", u"03/05/24", 0, BadDayNumber},
        {u"mm/dd/yyyy", u"02/30/2024", 0, BadDayNumber},
        {u"mm/dd/yyyy", u"03/05/202", 0, BadDayNumber},
        {u"mm/dd/yyyy", u"03/05/2024 ", 0, BadDayNumber},
        {u"mm/dd/yyyy", u"0x/05/2024", 0, BadDayNumber},
        {u"mm/dd/yyyy", u"  /05/2024", 0, BadDayNumber},
        {u"dd nnn yyyy", u"05 mar 2024", 0, Day(2024, 3, 5)},
        {u"dd nnn yyyy", u"05 xyz 2024", 0, BadDayNumber},
        {u"dd nnn yyyy", u"05     2024", 0, BadDayNumber},
        {u"dd/mm", u"05/03", 0, Day(2030, 3, 5)},
        {u"dd", u"09", 0, Day(2030, 7, 9)},
        {u"www dd/mm/yyyy", u"Fri 05/03/2024", 0, Day(2024, 3, 5)},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(intl.DateStringToDate(c.Picture, c.Text, c.Epoch), c.Expected)
            << std::string(c.Text, c.Text + std::char_traits<char16_t>::length(c.Text));
    }
    std::int32_t day = 0;
    std::int32_t month = 0;
    std::int32_t year = 0;
    EXPECT_TRUE(intl.DateStringToDMY(u"mm/dd/yy", u"12/31/99", day, month, year, 1950));
    EXPECT_EQ(year * 10000 + month * 100 + day, 991231) << "the year as typed; the epoch resolves it in the check";
    EXPECT_EQ(intl.DateStringToDate(u"mm/dd/yy", u"12/31/99", 1950), Day(1999, 12, 31));
    StartYear = savedYear;
    StartMonth = savedMonth;
}

TEST(PgcIntl, BlankDates)
{
    const IntlUnder under(DefaultsLocale());
    const TPgcIntlSup& intl = under.Intl;
    EXPECT_TRUE(intl.DateStringIsBlank(u"mm/dd/yyyy", u"  /  /    "));
    EXPECT_TRUE(intl.DateStringIsBlank(u"mm/dd/yyyy", u"03/05/202")) << "one character short";
    EXPECT_FALSE(intl.DateStringIsBlank(u"mm/dd/yyyy", u"03/  /    "));
    EXPECT_FALSE(intl.DateStringIsBlank(u"mm/dd/yyyy", u"  /  /2024"));
    EXPECT_FALSE(intl.DateStringIsBlank(u"dd nnn yyyy", u"   xyz     ")) << "a wrong month name is typed text";
    EXPECT_TRUE(intl.DateStringIsBlank(u"dd nnn yyyy", std::u16string(11, u' ')));
    EXPECT_TRUE(intl.DateStringIsBlank(u"dd/mm", u"  /  ")) << "a missing year counts as blank";
}

TEST(PgcIntl, TimesReadFromText)
{
    const IntlUnder defaults(DefaultsLocale());
    const TPgcIntlSup& intl = defaults.Intl;
    struct TCase {
        const char16_t* Picture;
        const char16_t* Text;
        std::int32_t Expected;
    };
    const TCase cases[] = {
        {u"hh:mm tt", u"12:00 AM", Time(0, 0, 0)},
        {u"hh:mm tt", u"12:00 PM", Time(12, 0, 0)},
        {u"hh:mm tt", u"01:05 pm", Time(13, 5, 0)},
        {u"hh:mm tt", u"11:59 am", Time(11, 59, 0)},
        {u"hh:mm tt", u"00:30 AM", BadDayNumber},
        {u"hh:mm tt", u"13:00 PM", BadDayNumber},
        {u"hh:mm tt", u"01:05   ", BadDayNumber},
        {u"hh:mm tt", u"01:05 XM", BadDayNumber},
        {u"hh:mm t", u"01:05 p", Time(13, 5, 0)},
        {u"hh:mm tt", u"01:05 P ", Time(13, 5, 0)},
        {u"hh:mm:ss", u"13:05:09", Time(13, 5, 9)},
        {u"hh:mm:ss", u"13:05:0", BadDayNumber},
        {u"hh:mm:ss", u"24:00:00", BadDayNumber},
        {u"hh:mm:ss", u"13:  :09", BadDayNumber},
        {u"Hh:mm", u" 9:05", Time(9, 5, 0)},
        {u"hh", u"07", Time(7, 0, 0)},
        {u"dd/mm hh:mm", u"05/03 13:07", Time(13, 7, 0)},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(intl.TimeStringToTime(c.Picture, c.Text), c.Expected)
            << std::string(c.Text, c.Text + std::char_traits<char16_t>::length(c.Text));
    }
    plat::TLocaleInfo noMarks = DefaultsLocale();
    noMarks.TimeAMString = "";
    const IntlUnder empty(noMarks);
    EXPECT_EQ(empty.Intl.TimeStringToTime(u"hh:mm tt", u"13:05 xx"), Time(13, 5, 0))
        << "without both texts the mark is not read";
}

TEST(PgcIntl, MonthNamesAreMatchedFromDecemberDown)
{
    const IntlUnder under(DefaultsLocale());
    const TPgcIntlSup& intl = under.Intl;
    EXPECT_EQ(intl.MonthStringToMonth(u"ju", 2), 7);
    EXPECT_EQ(intl.MonthStringToMonth(u"JUN", 3), 6);
    EXPECT_EQ(intl.MonthStringToMonth(u"march", 5), 3);
    EXPECT_EQ(intl.MonthStringToMonth(u"may", 9), 5) << "both shaped right-aligned in 9 characters";
    EXPECT_EQ(intl.MonthStringToMonth(u"xyz", 3), 0);
    EXPECT_EQ(intl.MonthStringToMonth(u"", 0), 0);
    EXPECT_EQ(intl.MonthToString(0), u"");
    EXPECT_EQ(intl.MonthToString(13), u"");
    EXPECT_EQ(intl.DayOfWeekToString(NoSysDay), u"");

    const IntlUnder german("de_DE");
    EXPECT_EQ(german.Intl.MonthStringToMonth(u"MÄRZ", 4), 3);
}

TEST(PgcIntl, BufferFormsCutToTheirCapacity)
{
    const IntlUnder under(DefaultsLocale());
    const TPgcIntlSup& intl = under.Intl;
    char16_t buffer[6];
    EXPECT_EQ(intl.DateToDatePChar(buffer, u"mm/dd/yyyy", Day(2024, 3, 5), false), buffer);
    EXPECT_EQ(std::u16string(buffer), u"03/05");
    EXPECT_EQ(intl.DateToDatePChar(std::span<char16_t>(buffer, 0), u"mm/dd/yyyy", 0, false), nullptr);
    EXPECT_EQ(intl.TimeToTimePChar(buffer, u"hh:mm", Time(9, 7, 0), false), buffer);
    EXPECT_EQ(std::u16string(buffer), u"09:07");
    EXPECT_EQ(intl.MonthPCharToMonth(u"Dec", 3), 12);
    EXPECT_EQ(intl.DatePCharToDate(u"mm/dd/yyyy", u"03/05/2024", 0), Day(2024, 3, 5));
    EXPECT_TRUE(intl.DatePCharIsBlank(u"mm/dd", nullptr));
    EXPECT_EQ(intl.TimePCharToTime(u"hh:mm", u"09:07"), Time(9, 7, 0));

    // A long picture is read up to 255 units, so a text of 300 matches it.
    const std::u16string longPicture = u"dd/mm/yyyy" + std::u16string(290, u'-');
    const std::u16string longText = u"05/03/2024" + std::u16string(290, u'-');
    std::int32_t day = 0;
    std::int32_t month = 0;
    std::int32_t year = 0;
    EXPECT_TRUE(intl.DatePCharToDMY(longPicture.c_str(), longText.c_str(), day, month, year, 0));
    EXPECT_EQ(day, 5);
    std::u16string wide(400, u'#');
    intl.DateToDatePChar(std::span<char16_t>(wide.data(), wide.size()), longPicture.c_str(), Day(2024, 3, 5), false);
    EXPECT_EQ(std::u16string(wide.c_str()).size(), 255u);
}

// The support on a running headless application, switched to AutoUpdate.
class PgcIntlSettingsChange : public ::testing::Test {
protected:
    plat::THeadlessHost Host;
    plat::TApplication App{Host};
    plat::TFixedLocaleProvider Defaults{DefaultsLocale()};
    plat::TFixedLocaleProvider German{"de_DE"};
    plat::TScopedLocaleProvider Scope{Defaults};
    TPgcIntlSup Intl;

    void SettingsChange()
    {
        plat::PostMessage(Intl.IntlHandle(), WM_WININICHANGE, 0, 0);
        Host.PumpUntilIdle();
    }
};

TEST_F(PgcIntlSettingsChange, PostedChangeReadsTheLocaleAgain)
{
    Intl.SetAutoUpdate(true);
    ASSERT_NE(Intl.IntlHandle(), 0);
    const plat::TScopedLocaleProvider german(German);
    SettingsChange();
    EXPECT_EQ(Intl.SlashChar, u'.');
    EXPECT_EQ(Intl.InternationalDate(true), u"dd/mm/yyyy");
}

TEST_F(PgcIntlSettingsChange, BroadcastChangeReachesTheUtilityWindow)
{
    Intl.SetAutoUpdate(true);
    const plat::TScopedLocaleProvider german(German);
    plat::PostMessage(plat::HWND_BROADCAST, WM_WININICHANGE, 0, 0);
    Host.PumpUntilIdle();
    EXPECT_EQ(Intl.DecimalChar, u',');
}

TEST_F(PgcIntlSettingsChange, HandlerRunsInsteadOfTheRead)
{
    Intl.SetAutoUpdate(true);
    int calls = 0;
    plat::TObject* sender = nullptr;
    Intl.OnWinIniChange = [&](plat::TObject* s) {
        ++calls;
        sender = s;
    };
    const plat::TScopedLocaleProvider german(German);
    SettingsChange();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(sender, &Intl);
    EXPECT_EQ(Intl.SlashChar, u'/') << "the handler replaces the read";
    plat::PostMessage(Intl.IntlHandle(), WM_WININICHANGE + 1, 0, 0);
    Host.PumpUntilIdle();
    EXPECT_EQ(calls, 1) << "other messages are not a settings change";
}

TEST_F(PgcIntlSettingsChange, HandlerExceptionReachesTheApplication)
{
    Intl.SetAutoUpdate(true);
    Intl.OnWinIniChange = plat::TNotifyEvent(+[](plat::TObject*) { throw std::runtime_error("locale gone"); });
    std::string reported;
    App.OnException = [&](plat::TObject*, const std::exception& e) { reported = e.what(); };
    SettingsChange();
    EXPECT_EQ(reported, "locale gone");
}

TEST_F(PgcIntlSettingsChange, SwitchingOffReleasesTheWindow)
{
    Intl.SetAutoUpdate(true);
    const plat::HWND window = Intl.IntlHandle();
    Intl.SetAutoUpdate(false);
    EXPECT_EQ(Intl.IntlHandle(), 0);
    EXPECT_FALSE(plat::IsWindow(window));
    const plat::TScopedLocaleProvider german(German);
    plat::PostMessage(plat::HWND_BROADCAST, WM_WININICHANGE, 0, 0);
    Host.PumpUntilIdle();
    EXPECT_EQ(Intl.SlashChar, u'/');
}

TEST(PgcIntl, AutoUpdateNeedsARunningApplication)
{
    const IntlUnder under(DefaultsLocale());
    TPgcIntlSup intl;
    EXPECT_THROW(intl.SetAutoUpdate(true), plat::EWindowError);
    EXPECT_FALSE(intl.AutoUpdate());
}

} // namespace
} // namespace qel
