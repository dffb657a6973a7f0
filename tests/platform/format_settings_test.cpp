// Format settings from the locale, and the program-wide instance.
#include "platform/format_settings.h"
#include "platform/locale.h"

#include <gtest/gtest.h>

namespace {

using namespace plat;

TEST(FormatSettings, DefaultsComeFromTheCurrentLocale)
{
    const TFixedLocaleProvider german("de_DE.UTF-8");
    TScopedLocaleProvider scoped(german);
    const TFormatSettings s = DefaultFormatSettings();
    EXPECT_EQ(s.DecimalSeparator, ',');
    EXPECT_EQ(s.ThousandSeparator, '.');
    EXPECT_EQ(s.ListSeparator, ';');
    EXPECT_EQ(s.DateSeparator, '.');
    EXPECT_EQ(s.TimeSeparator, ':');
    EXPECT_EQ(s.ShortDateFormat, "dd.MM.yyyy");
    EXPECT_EQ(s.LongTimeFormat, "HH:mm:ss");
    EXPECT_EQ(s.ShortMonthNames[2], "Mär");
    EXPECT_EQ(s.LongDayNames[1], "Montag");
    EXPECT_EQ(s.CurrencyString, "€");
}

TEST(FormatSettings, SeparatorsThatAreNotOneAsciiCharacterFallBack)
{
    TLocaleInfo info = LocaleInfoFromName("fr_FR");
    info.ThousandSeparator = "\u00A0";  // no-break space: two bytes
    info.DateSeparator = "";
    info.TimeSeparator = "::";
    const TFixedLocaleProvider provider(info);
    TScopedLocaleProvider scoped(provider);
    const TFormatSettings s = DefaultFormatSettings();
    EXPECT_EQ(s.DecimalSeparator, ',');
    EXPECT_EQ(s.ThousandSeparator, '.');  // "," would equal the decimal separator
    EXPECT_EQ(s.DateSeparator, '/');
    EXPECT_EQ(s.TimeSeparator, ':');
}

TEST(FormatSettings, GlobalResetsFromTheProviderAndRestores)
{
    TScopedFormatSettings restore;
    const TFixedLocaleProvider french("fr_FR");
    TScopedLocaleProvider scoped(french);
    ResetFormatSettings();
    EXPECT_EQ(FormatSettings().DecimalSeparator, ',');
    EXPECT_EQ(FormatSettings().LongMonthNames[0], "janvier");
    {
        TScopedFormatSettings inner;
        FormatSettings().ShortDateFormat = "yyyy-MM-dd";
        EXPECT_EQ(FormatSettings().ShortDateFormat, "yyyy-MM-dd");
    }
    EXPECT_EQ(FormatSettings().ShortDateFormat, "dd/MM/yyyy");
}

} // namespace
