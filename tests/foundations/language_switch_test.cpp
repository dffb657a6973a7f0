// Tests of the language switch, the program's format settings and the
// date-time format kinds.
#include "foundations/language_switch.h"

#include "foundations/language_table.h"
#include "foundations/qel_error.h"
#include "foundations/tick_time.h"
#include "platform/date_time.h"
#include "platform/date_time_format.h"
#include "platform/float_format.h"
#include "platform/locale.h"
#include "platform/standard_texts.h"
#include "tests/foundations/language_test_support.h"

#include <gtest/gtest.h>

#include <ctime>
#include <string>

namespace qel {
namespace {

using LanguageSwitch = qeltest::LanguageTest;

std::string ChartLanguageCalled;

void ChartEnglish() { ChartLanguageCalled = "English"; }
void ChartGerman() { ChartLanguageCalled = "German"; }
void ChartFrench() { ChartLanguageCalled = "French"; }

TEST_F(LanguageSwitch, ChoosesTheLanguage)
{
    struct Case {
        const char* userLocale;
        std::int32_t lang;
        std::uint8_t mode;
        bool noFrench;
        std::int32_t expected;
        const char* chart;
    };
    const Case cases[] = {
        {"en_US", 0, 0, false, 0, "German"},
        {"de_DE", 1, 0, false, 1, "English"},
        {"de_DE", 2, 0, false, 2, "French"},
        {"fr_FR", -1, 0, false, 2, "French"},
        {"fr_FR", -1, 0, true, 1, "English"},
        {"en_GB", 2, 2, false, 1, "English"},
        {"de_DE", 0, 2, false, 1, "English"},
        {"de_DE", 7, 0, false, 0, "German"},
        {"de_AT", -1, 1, false, 0, "German"},
        {"ja_JP", -1, 0, false, 1, "English"},
        {"it_IT", 3, 3, false, 1, "English"},
    };
    SetChartLanguageHook(ChartEnglish, ChartGerman, ChartFrench);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.userLocale) + " lang " + std::to_string(c.lang) + " mode " +
                     std::to_string(c.mode));
        const plat::TFixedLocaleProvider locale(c.userLocale);
        const plat::TScopedLocaleProvider useLocale(locale);
        ChartLanguageCalled.clear();
        EXPECT_EQ(SetLanguage(LanguageTexts, c.lang, c.mode, c.noFrench), c.expected);
        EXPECT_EQ(LanguageIndex(), c.expected);
        EXPECT_EQ(ChartLanguageCalled, c.chart);
    }
}

TEST_F(LanguageSwitch, ReplacesEveryRowsText)
{
    for (const std::int32_t language : {LANGUAGE_GERMAN, LANGUAGE_ENGLISH, LANGUAGE_FRENCH}) {
        SetLanguage(LanguageTexts, language, 0, false);
        // Rows may share a text but never a program text, so every row reads as its own column.
        for (const TLanguageRes& row : LanguageTexts) {
            const char* expected = language == 0 ? row.DEU : language == 1 ? row.ENG : row.FRA;
            EXPECT_EQ(LoadLanguageStr(row.PTR), expected) << row.ENG;
        }
    }
    SetLanguage(LanguageTexts, LANGUAGE_GERMAN, 0, false);
    EXPECT_EQ(LoadLanguageStr(&plat::SButtonRetry), "&Wiederholen");
    EXPECT_EQ(LoadLanguageStr(&plat::SMsgBoxRetry), "&Wiederholen");
    EXPECT_EQ(LoadLanguageStr(&SQelFile), "QEL Datei");
    EXPECT_EQ(GetExceptionStr(2), "Kann seriellen Port nicht öffnen !");
    SetLanguage(LanguageTexts, LANGUAGE_ENGLISH, 0, false);
    EXPECT_EQ(GetExceptionStr(2), "Cannot open serial port !");
}

TEST_F(LanguageSwitch, ErrorTextsFollowTheLanguage)
{
    SetLastErrorMsg("Disk full");
    SetLanguage(LanguageTexts, LANGUAGE_GERMAN, 0, false);
    EXPECT_EQ(GetExceptionStr(3), "Abbruch durch Anwender");
    EXPECT_EQ(GetExceptionStr(21), "Abbruch durch Anwender");
    EXPECT_EQ(GetExceptionStr(-5), "Es ist die Exception -5 aufgetreten !\n\rDisk full");
    SetLanguage(LanguageTexts, LANGUAGE_FRENCH, 0, false);
    EXPECT_EQ(GetExceptionStr(3), "Annulation par utilisateur");
    EXPECT_EQ(GetOtherExceptionStr("x"), "L\u2019exception fatale 0 s\u2019est produite !\n\r\n\rx");
    ClearLastErrorMsg();
}

// Before the switch every program text reads as its built-in text, which is
// the German column of its row.
TEST_F(LanguageSwitch, BuiltInTextsAreGerman)
{
    for (const TLanguageRes& row : LanguageTexts) {
        EXPECT_STREQ(row.PTR->BuiltIn(), row.DEU) << row.ENG;
        EXPECT_EQ(LoadLanguageStr(row.PTR), row.DEU) << row.ENG;
    }
    EXPECT_EQ(GetExceptionStr(3), "Abbruch durch Anwender");
    EXPECT_EQ(GetExceptionStr(2), "Kann seriellen Port nicht öffnen !");
}

TEST_F(LanguageSwitch, ReplacesOnlyTheRowsGiven)
{
    SetLanguage(std::span(LanguageTexts).first(3), LANGUAGE_ENGLISH, 0, false);
    EXPECT_EQ(LoadLanguageStr(&SQelTemplate), "QEL template");
    EXPECT_EQ(LoadLanguageStr(&SErrUserAbort), "Abbruch durch Anwender") << "no row given: the built-in text";
    PatchResString(nullptr, "ignored");
}

TEST_F(LanguageSwitch, LanguageByUserLanguage)
{
    struct Case {
        const char* userLocale;
        std::uint32_t lang;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"de_CH", 0, 0}, {"de_CH", 1, 1}, {"de_CH", 2, 2}, {"de_CH", 3, 0},
        {"fr_BE", 0xFFFFFFFFu, 2}, {"en_US", 0xFFFFFFFFu, 1}, {"zh_CN", 99, 1}, {"C", 5, 1},
    };
    for (const Case& c : cases) {
        const plat::TFixedLocaleProvider locale(c.userLocale);
        const plat::TScopedLocaleProvider useLocale(locale);
        EXPECT_EQ(GetLanguageIndex(c.lang), c.expected) << c.userLocale << " " << c.lang;
    }
}

TEST_F(LanguageSwitch, AsianLocale)
{
    struct Case {
        const char* userLocale;
        bool asian;
    };
    const Case cases[] = {{"zh_CN", true}, {"zh_TW", true}, {"ja_JP", true}, {"ko_KR", true},
                          {"th_TH", true},  {"en_US", false}, {"de_DE", false}, {"vi_VN", false}};
    for (const Case& c : cases) {
        const plat::TFixedLocaleProvider locale(c.userLocale);
        const plat::TScopedLocaleProvider useLocale(locale);
        InitLanguageSwitch();
        EXPECT_EQ(AsianLocale, c.asian) << c.userLocale;
        EXPECT_EQ(LanguageIndex(), -1);
    }
    InitLanguageSwitch();
}

TEST_F(LanguageSwitch, DateFormatStr)
{
    const char* expected[] = {"yyyy-MM-dd", "dd/MM/yyyy", "MM/dd/yyyy", "dd.MM.yyyy", "dd-MMM-yyyy", "yyyy-MMM-dd"};
    for (int kind = 0; kind <= 5; ++kind) {
        EXPECT_EQ(GetDateFormatStr(kind), expected[kind]);
    }
    EXPECT_EQ(GetDateFormatStr(6), "");
    EXPECT_EQ(GetDateFormatStr(-1), "");
}

TEST_F(LanguageSwitch, FormatsFromTheSettings)
{
    struct Case {
        std::int32_t locDate;
        std::int32_t locDecimal;
        const char* date;      // 2024-03-05 with the short date format
        const char* dateTime;  // kind 1 of 2024-03-05 14:07:09.250
        const char* number;
    };
    const Case cases[] = {
        {0, 0, "2024-03-05", "2024-03-05 14:07:09.250", "1.5"},
        {1, 0, "05/03/2024", "05/03/2024 14:07:09.250", "1.5"},
        {2, 1, "03/05/2024", "03/05/2024 14:07:09,250", "1,5"},
        {3, 1, "05.03.2024", "05.03.2024 14:07:09,250", "1,5"},
        {4, 2, "05-Mar-2024", "05-Mar-2024 14:07:09.250", "1.5"},
        {5, 0, "2024-Mar-05", "2024-Mar-05 14:07:09.250", "1.5"},
        {9, 0, "2024-03-05", "2024-03-05 14:07:09.250", "1.5"},
        {-3, 1, "2024-03-05", "2024-03-05 14:07:09,250", "1,5"},
    };
    const plat::TFixedLocaleProvider locale("en_US");
    const plat::TScopedLocaleProvider useLocale(locale);
    const double moment = plat::EncodeDate(2024, 3, 5) + plat::EncodeTime(14, 7, 9, 250);
    for (const Case& c : cases) {
        SCOPED_TRACE("LocDate " + std::to_string(c.locDate));
        RegSettings.iRegLocDate = c.locDate;
        RegSettings.iRegLocDecimalSeparator = c.locDecimal;
        SetLanguage(LanguageTexts, LANGUAGE_ENGLISH, 0, false);
        const plat::TFormatSettings& settings = plat::FormatSettings();
        EXPECT_EQ(plat::FormatDateTime(settings.ShortDateFormat, moment, settings), c.date);
        EXPECT_EQ(FormatDateTimeKind(1, moment), c.dateTime);
        EXPECT_EQ(plat::FloatToStr(1.5, settings), c.number);
        EXPECT_EQ(settings.LongDateFormat, settings.ShortDateFormat);
        EXPECT_EQ(settings.LongTimeFormat, "HH:mm:ss");
        EXPECT_EQ(settings.ShortTimeFormat, "HH:mm");
        EXPECT_EQ(settings.ThousandSeparator, ',') << "the user locale's, even beside a decimal comma";
    }
}

TEST_F(LanguageSwitch, MonthAbbreviationsFollowTheUserLocaleUnlessEnglishMode)
{
    const plat::TFixedLocaleProvider locale("de_DE");
    const plat::TScopedLocaleProvider useLocale(locale);
    const double moment = plat::EncodeDate(2024, 3, 5);
    RegSettings.iRegLocDate = 4;
    SetLanguage(LanguageTexts, LANGUAGE_GERMAN, 0, false);
    EXPECT_EQ(FormatDateTimeKind(4, moment), "05-Mär-2024");
    SetLanguage(LanguageTexts, LANGUAGE_GERMAN, 2, false);
    EXPECT_EQ(FormatDateTimeKind(4, moment), "05-MAR-2024");
    EXPECT_EQ(FormatDateTimeKind(0, moment + 0.5), "05-MAR-2024 12:00:00");
    EXPECT_EQ(plat::FormatSettings().DecimalSeparator, '.');
}

TEST_F(LanguageSwitch, FormatKinds)
{
    const plat::TFixedLocaleProvider locale("en_US");
    const plat::TScopedLocaleProvider useLocale(locale);
    RegSettings.iRegLocDate = 0;
    SetLanguage(LanguageTexts, LANGUAGE_ENGLISH, 0, false);
    const double moment = plat::EncodeDate(2001, 2, 3) + plat::EncodeTime(4, 5, 6, 789);
    struct Case {
        std::uint8_t kind;
        const char* format;
        const char* text;
    };
    const Case cases[] = {
        {0, "yyyy-MM-dd HH:mm:ss", "2001-02-03 04:05:06"},
        {1, "yyyy-MM-dd HH:mm:ss.zzz", "2001-02-03 04:05:06.789"},
        {2, "HH:mm:ss", "04:05:06"},
        {3, "HH:mm:ss.zzz", "04:05:06.789"},
        {4, "yyyy-MM-dd", "2001-02-03"},
        {5, "HH:mm", "04:05"},
        {6, "yyyy-MM-dd HH:mm", "2001-02-03 04:05"},
        {8, "MM/dd/yyyy HH:mm:ss", "02-03-2001 04:05:06"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetDateTimeFormat(c.kind), c.format) << int(c.kind);
        EXPECT_EQ(FormatDateTimeKind(c.kind, moment), c.text) << int(c.kind);
    }
    EXPECT_EQ(std::string(FormatDateTimeKind(1, moment)).size(), 23u);
    EXPECT_EQ(GetDateTimeFormat(7), "");
    EXPECT_EQ(GetDateTimeFormat(9), "");
    EXPECT_EQ(GetDateTimeFormat(255), "");
    // An empty format is the short date, and the long time when not midnight.
    EXPECT_EQ(FormatDateTimeKind(7, moment), "2001-02-03 04:05:06");
    EXPECT_EQ(FormatDateTimeKind(9, plat::EncodeDate(2001, 2, 3)), "2001-02-03");
}

TEST_F(LanguageSwitch, FixedFormatKindFollowsTheSeparators)
{
    const plat::TFixedLocaleProvider locale("en_US");
    const plat::TScopedLocaleProvider useLocale(locale);
    RegSettings.iRegLocDate = 3;
    SetLanguage(LanguageTexts, LANGUAGE_ENGLISH, 0, false);
    const double moment = plat::EncodeDate(2024, 3, 5) + plat::EncodeTime(14, 7, 9, 0);
    EXPECT_EQ(FormatDateTimeKind(8, moment), "03.05.2024 14:07:09");
    plat::FormatSettings().TimeSeparator = '.';
    EXPECT_EQ(FormatDateTimeKind(8, moment), "03.05.2024 14.07.09");
}

TEST_F(LanguageSwitch, WholeSecondTickTimesNeverShowTheSecondBefore)
{
    const plat::TFixedLocaleProvider locale("en_US");
    const plat::TScopedLocaleProvider useLocale(locale);
    SetLanguage(LanguageTexts, LANGUAGE_ENGLISH, 0, false);
    constexpr std::int64_t unixSeconds2000 = 946684800;
    // Whole seconds spread over a century, each checked against the C library's calendar.
    for (std::int64_t seconds = 0; seconds < std::int64_t{100} * 366 * 86400; seconds += 86400 * 13 + 3607) {
        const std::time_t unixTime = static_cast<std::time_t>(seconds + unixSeconds2000);
        std::tm fields{};
        gmtime_r(&unixTime, &fields);
        char expected[32];
        std::strftime(expected, sizeof expected, "%Y-%m-%d %H:%M:%S", &fields);
        const std::int64_t ticks = seconds * TICKS_PER_SECOND;
        ASSERT_EQ(FormatDateTimeKind(0, TicksToDateTime(ticks)), expected) << ticks;
        ASSERT_EQ(FormatDateTimeKind(1, TicksToDateTime(ticks)), std::string(expected) + ".000") << ticks;
    }
}

} // namespace
} // namespace qel
