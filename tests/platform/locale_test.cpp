// Locale names, the environment's choice of locale and the provider switch.
#include "platform/locale.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

using namespace plat;

TEST(Locale, NamesGiveLanguageAndFormats)
{
    const struct {
        const char* Name;
        LANGID Language;
        const char* Decimal;
        const char* Thousand;
        const char* DateSeparator;
        const char* ShortDate;
        const char* LongTime;
        const char* Country;
    } cases[] = {
        {"de_DE.UTF-8", LANG_GERMAN, ",", ".", ".", "dd.MM.yyyy", "HH:mm:ss", "Deutschland"},
        {"de-AT", LANG_GERMAN, ",", ".", ".", "dd.MM.yyyy", "HH:mm:ss", "Österreich"},
        {"de_CH.utf8", LANG_GERMAN, ".", "'", ".", "dd.MM.yyyy", "HH:mm:ss", "Schweiz"},
        {"de_LU", LANG_GERMAN, ",", ".", ".", "dd.MM.yyyy", "HH:mm:ss", ""},  // no entry of its own
        {"de", LANG_GERMAN, ",", ".", ".", "dd.MM.yyyy", "HH:mm:ss", "Deutschland"},
        {"C", LANG_ENGLISH, ".", ",", "/", "MM/dd/yyyy", "HH:mm:ss", ""},
        {"POSIX", LANG_ENGLISH, ".", ",", "/", "MM/dd/yyyy", "HH:mm:ss", ""},
        {"C.UTF-8", LANG_ENGLISH, ".", ",", "/", "MM/dd/yyyy", "HH:mm:ss", ""},
        {"", LANG_ENGLISH, ".", ",", "/", "MM/dd/yyyy", "HH:mm:ss", ""},
        {"en_US.UTF-8", LANG_ENGLISH, ".", ",", "/", "M/d/yyyy", "h:mm:ss AMPM", "United States"},
        {"en_GB.UTF-8", LANG_ENGLISH, ".", ",", "/", "dd/MM/yyyy", "HH:mm:ss", "United Kingdom"},
        {"en_AU", LANG_ENGLISH, ".", ",", "/", "dd/MM/yyyy", "HH:mm:ss", ""},
        {"fr_FR.UTF-8@euro", LANG_FRENCH, ",", " ", "/", "dd/MM/yyyy", "HH:mm:ss", "France"},
        {"fr_CA", LANG_FRENCH, ",", " ", "-", "yyyy-MM-dd", "HH:mm:ss", "Canada"},
        {"zh_CN.GB18030", LANG_CHINESE, ".", ",", "/", "yyyy/M/d", "HH:mm:ss", "中国"},
        {"zh_TW", LANG_CHINESE, ".", ",", "/", "yyyy/M/d", "AMPM HH:mm:ss", "台灣"},
        {"ja_JP.eucJP", LANG_JAPANESE, ".", ",", "/", "yyyy/MM/dd", "h:mm:ss", "日本"},
        {"ko_KR", LANG_KOREAN, ".", ",", "-", "yyyy-MM-dd", "AMPM h:mm:ss", "대한민국"},
        {"th_TH", LANG_THAI, ".", ",", "/", "d/M/yyyy", "h:mm:ss", "ไทย"},
        {"ru_RU.UTF-8", LANG_RUSSIAN, ".", ",", "/", "MM/dd/yyyy", "HH:mm:ss", ""},  // C formats
        {"xx_YY", LANG_NEUTRAL, ".", ",", "/", "MM/dd/yyyy", "HH:mm:ss", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const TLocaleInfo info = LocaleInfoFromName(c.Name);
        EXPECT_EQ(info.Language, c.Language);
        EXPECT_EQ(info.DecimalSeparator, c.Decimal);
        EXPECT_EQ(info.ThousandSeparator, c.Thousand);
        EXPECT_EQ(info.DateSeparator, c.DateSeparator);
        EXPECT_EQ(info.ShortDateFormat, c.ShortDate);
        EXPECT_EQ(info.LongTimeFormat, c.LongTime);
        EXPECT_EQ(info.Country, c.Country);
    }
}

TEST(Locale, TimeFormatsFollowTheClockFlags)
{
    const TLocaleInfo us = LocaleInfoFromName("en_US");
    EXPECT_TRUE(us.TwelveHourClock);
    EXPECT_FALSE(us.AmPmBeforeTime);
    EXPECT_FALSE(us.TimeLeadingZero);
    EXPECT_EQ(us.ShortTimeFormat, "h:mm AMPM");
    const TLocaleInfo korean = LocaleInfoFromName("ko_KR");
    EXPECT_TRUE(korean.AmPmBeforeTime);
    EXPECT_EQ(korean.ShortTimeFormat, "AMPM h:mm");
    EXPECT_EQ(korean.TimePMString, "오후");
    EXPECT_EQ(LocaleInfoFromName("de_DE").ShortTimeFormat, "HH:mm");
}

TEST(Locale, NamesOfMonthsAndDays)
{
    const TLocaleInfo german = LocaleInfoFromName("de_DE");
    EXPECT_EQ(german.ShortMonthNames[2], "Mär");
    EXPECT_EQ(german.LongMonthNames[11], "Dezember");
    EXPECT_EQ(german.ShortDayNames[0], "So");
    EXPECT_EQ(german.LongDayNames[6], "Samstag");
    const TLocaleInfo english = LocaleInfoFromName("C");
    EXPECT_EQ(english.ShortMonthNames[0], "Jan");
    EXPECT_EQ(english.LongDayNames[0], "Sunday");
    EXPECT_EQ(LocaleInfoFromName("fr_FR").LongMonthNames[7], "août");
}

TEST(Locale, DateOrderOfTheShortDate)
{
    EXPECT_EQ(LocaleInfoFromName("en_US").DateOrder(), TDateOrder::MonthDayYear);
    EXPECT_EQ(LocaleInfoFromName("de_DE").DateOrder(), TDateOrder::DayMonthYear);
    EXPECT_EQ(LocaleInfoFromName("ja_JP").DateOrder(), TDateOrder::YearMonthDay);
}

// Each case sets all five variables; an empty value counts as unset.
TEST(Locale, EnvironmentPrecedence)
{
    const struct {
        const char* All;
        const char* Messages;
        const char* Numeric;
        const char* Time;
        const char* Lang;
        LANGID Language;
        const char* Decimal;
        const char* ShortDate;
    } cases[] = {
        {"", "", "", "", "de_DE.UTF-8", LANG_GERMAN, ",", "dd.MM.yyyy"},
        {"C", "fr_FR", "de_DE", "de_DE", "de_DE.UTF-8", LANG_ENGLISH, ".", "MM/dd/yyyy"},  // LC_ALL wins
        {"", "fr_FR.UTF-8", "", "", "en_US.UTF-8", LANG_FRENCH, ".", "M/d/yyyy"},
        {"", "", "de_DE.UTF-8", "", "C", LANG_ENGLISH, ",", "MM/dd/yyyy"},
        {"", "", "", "en_GB.UTF-8", "de_DE.UTF-8", LANG_GERMAN, ",", "dd/MM/yyyy"},
        {"", "", "", "", "", LANG_ENGLISH, ".", "MM/dd/yyyy"},
        {"ja_JP.UTF-8", "", "", "", "", LANG_JAPANESE, ".", "yyyy/MM/dd"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "LC_ALL=" << c.All << " LC_MESSAGES=" << c.Messages << " LC_NUMERIC="
                                        << c.Numeric << " LC_TIME=" << c.Time << " LANG=" << c.Lang);
        qeltest::ScopedEnv all("LC_ALL", c.All);
        qeltest::ScopedEnv messages("LC_MESSAGES", c.Messages);
        qeltest::ScopedEnv numeric("LC_NUMERIC", c.Numeric);
        qeltest::ScopedEnv time("LC_TIME", c.Time);
        qeltest::ScopedEnv monetary("LC_MONETARY", "");
        qeltest::ScopedEnv lang("LANG", c.Lang);
        const TEnvironmentLocaleProvider provider;
        EXPECT_EQ(provider.UserDefaultLanguage(), c.Language);
        EXPECT_EQ(provider.UserDefaultLocale().DecimalSeparator, c.Decimal);
        EXPECT_EQ(provider.UserDefaultLocale().ShortDateFormat, c.ShortDate);
    }
}

TEST(Locale, TheEnvironmentIsReadWhenTheProviderIsMade)
{
    qeltest::ScopedEnv all("LC_ALL", "de_DE.UTF-8");
    const TEnvironmentLocaleProvider provider;
    qeltest::ScopedEnv later("LC_ALL", "fr_FR.UTF-8");
    EXPECT_EQ(provider.UserDefaultLanguage(), LANG_GERMAN);
}

TEST(Locale, ProviderCanBeReplacedAndRestored)
{
    const ILocaleProvider& original = CurrentLocaleProvider();
    const TFixedLocaleProvider thai("th_TH");
    {
        TScopedLocaleProvider scoped(thai);
        EXPECT_EQ(&CurrentLocaleProvider(), &thai);
        EXPECT_EQ(CurrentLocaleProvider().UserDefaultLanguage(), LANG_THAI);
        TLocaleInfo custom = LocaleInfoFromName("de_DE");
        custom.Language = LANG_FRENCH;
        const TFixedLocaleProvider mixed(custom);
        TScopedLocaleProvider inner(mixed);
        EXPECT_EQ(CurrentLocaleProvider().UserDefaultLanguage(), LANG_FRENCH);
        EXPECT_EQ(CurrentLocaleProvider().UserDefaultLocale().DecimalSeparator, ",");
    }
    EXPECT_EQ(&CurrentLocaleProvider(), &original);
}

} // namespace
