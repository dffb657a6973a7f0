// Format settings from the locale provider, and the program-wide instance.
#include "platform/format_settings.h"

#include "platform/locale.h"

namespace plat {

namespace {

char SingleCharOr(const std::string& text, char fallback)
{
    if (text.size() == 1 && static_cast<unsigned char>(text[0]) < 0x80)
        return text[0];
    return fallback;
}

std::string TextOr(const std::string& text, const char* fallback)
{
    return text.empty() ? fallback : text;
}

} // namespace

TFormatSettings DefaultFormatSettings()
{
    const TLocaleInfo& locale = CurrentLocaleProvider().UserDefaultLocale();
    TFormatSettings settings;
    settings.DecimalSeparator = SingleCharOr(locale.DecimalSeparator, '.');
    settings.ThousandSeparator = SingleCharOr(locale.ThousandSeparator, ',');
    if (settings.ThousandSeparator == settings.DecimalSeparator)
        settings.ThousandSeparator = settings.DecimalSeparator == ',' ? '.' : ',';
    settings.ListSeparator = SingleCharOr(locale.ListSeparator, ',');
    settings.DateSeparator = SingleCharOr(locale.DateSeparator, '/');
    settings.TimeSeparator = SingleCharOr(locale.TimeSeparator, ':');
    settings.ShortDateFormat = TextOr(locale.ShortDateFormat, "MM/dd/yyyy");
    settings.LongDateFormat = TextOr(locale.LongDateFormat, "dddd, MMMM d, yyyy");
    settings.ShortTimeFormat = TextOr(locale.ShortTimeFormat, "HH:mm");
    settings.LongTimeFormat = TextOr(locale.LongTimeFormat, "HH:mm:ss");
    settings.TimeAMString = TextOr(locale.TimeAMString, "AM");
    settings.TimePMString = TextOr(locale.TimePMString, "PM");
    settings.CurrencyString = locale.CurrencySymbol;
    settings.CurrencyFormat = locale.CurrencyFormat;
    settings.NegCurrFormat = locale.NegCurrencyFormat;
    settings.CurrencyDecimals = locale.CurrencyDigits;
    settings.ShortMonthNames = locale.ShortMonthNames;
    settings.LongMonthNames = locale.LongMonthNames;
    settings.ShortDayNames = locale.ShortDayNames;
    settings.LongDayNames = locale.LongDayNames;
    return settings;
}

TFormatSettings& FormatSettings()
{
    static TFormatSettings settings = DefaultFormatSettings();
    return settings;
}

void ResetFormatSettings()
{
    FormatSettings() = DefaultFormatSettings();
}

} // namespace plat
