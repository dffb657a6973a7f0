// The language switch, the program's format settings and the date-time
// format kinds.
#include "foundations/language_switch.h"

#include "foundations/settings.h"
#include "platform/date_time_format.h"
#include "platform/format_settings.h"
#include "platform/locale.h"

#include <atomic>

namespace qel {

bool AsianLocale = false;

namespace {

std::atomic<std::int32_t> ChosenLanguage{-1};

struct TChartLanguageHook {
    TChartLanguageSetter English = nullptr;
    TChartLanguageSetter German = nullptr;
    TChartLanguageSetter French = nullptr;
};

TChartLanguageHook ChartLanguage;

void SwitchChartLanguage(std::int32_t Language)
{
    const TChartLanguageSetter setter = Language == LANGUAGE_GERMAN   ? ChartLanguage.German
                                        : Language == LANGUAGE_FRENCH ? ChartLanguage.French
                                                                      : ChartLanguage.English;
    if (setter != nullptr) {
        setter();
    }
}

const char* ColumnText(const TLanguageRes& Row, std::int32_t Language)
{
    switch (Language) {
    case LANGUAGE_GERMAN:
        return Row.DEU;
    case LANGUAGE_FRENCH:
        return Row.FRA;
    default:
        return Row.ENG;
    }
}

// Date separator of each short-date format.
char DateSeparatorOf(std::int32_t LocDate)
{
    switch (LocDate) {
    case 1:
    case 2:
        return '/';
    case 3:
        return '.';
    default:
        return '-';
    }
}

void SetTimeFormats(plat::TFormatSettings& Settings)
{
    Settings.LongTimeFormat = "HH:mm:ss";
    Settings.ShortTimeFormat = "HH:mm";
    Settings.TimeSeparator = ':';
}

// The date, time and decimal formats of a format mode; the thousand and list
// separators and the currency texts stay the user locale's.
void ApplySettingsFormats(plat::TFormatSettings& Settings)
{
    const std::int32_t locDate = RegSettings.iRegLocDate;
    const bool known = locDate >= 1 && locDate <= 5;
    Settings.ShortDateFormat = GetDateFormatStr(known ? locDate : 0);
    Settings.DateSeparator = DateSeparatorOf(locDate);
    Settings.LongDateFormat = Settings.ShortDateFormat;
    SetTimeFormats(Settings);
    Settings.DecimalSeparator = RegSettings.iRegLocDecimalSeparator == 1 ? ',' : '.';
}

void ApplyEnglishFormats(plat::TFormatSettings& Settings)
{
    Settings.ShortDateFormat = "dd-MMM-yyyy";
    Settings.LongDateFormat = Settings.ShortDateFormat;
    Settings.DateSeparator = '-';
    SetTimeFormats(Settings);
    Settings.DecimalSeparator = '.';
}

} // namespace

void SetChartLanguageHook(TChartLanguageSetter English, TChartLanguageSetter German, TChartLanguageSetter French)
{
    ChartLanguage = {English, German, French};
}

std::int32_t LanguageIndex()
{
    return ChosenLanguage.load();
}

void InitLanguageSwitch()
{
    ChosenLanguage.store(-1);
    AsianLocale = IsAsianLanguage(plat::CurrentLocaleProvider().UserDefaultLanguage());
}

bool IsAsianLanguage(std::uint16_t PrimaryLanguage)
{
    return PrimaryLanguage == plat::LANG_CHINESE || PrimaryLanguage == plat::LANG_JAPANESE ||
           PrimaryLanguage == plat::LANG_KOREAN || PrimaryLanguage == plat::LANG_THAI;
}

std::string LoadLanguageStr(plat::PResString Res)
{
    return plat::LoadResString(Res);
}

void PatchResString(plat::PResString Res, const char* Text)
{
    if (Res != nullptr) {
        plat::ReplaceResString(Res, Text);
    }
}

std::int32_t GetLanguageIndex(std::uint32_t Lang)
{
    if (Lang <= 2) {
        return static_cast<std::int32_t>(Lang);
    }
    switch (plat::CurrentLocaleProvider().UserDefaultLanguage()) {
    case plat::LANG_GERMAN:
        return LANGUAGE_GERMAN;
    case plat::LANG_FRENCH:
        return LANGUAGE_FRENCH;
    default:
        return LANGUAGE_ENGLISH;
    }
}

std::int32_t SetLanguage(std::span<const TLanguageRes> Table, std::int32_t Lang, std::uint8_t Mode, bool NoFrench)
{
    std::int32_t language = Mode == FORMAT_MODE_ENGLISH ? LANGUAGE_ENGLISH
                                                        : GetLanguageIndex(static_cast<std::uint32_t>(Lang));
    if (NoFrench && language == LANGUAGE_FRENCH) {
        language = LANGUAGE_ENGLISH;
    }
    ChosenLanguage.store(language);
    for (const TLanguageRes& row : Table) {
        PatchResString(row.PTR, ColumnText(row, language));
    }
    SwitchChartLanguage(language);
    SetFormatSettings(Mode);
    return language;
}

void SetFormatSettings(std::uint8_t Mode)
{
    if (Mode >= FORMAT_MODE_LOCALE) {
        SetLocaleFormats();
        return;
    }
    plat::TFormatSettings settings = plat::DefaultFormatSettings();
    if (Mode == FORMAT_MODE_ENGLISH) {
        plat::FormatSettings() = settings;
        SetEnglishMonthNames();
        ApplyEnglishFormats(plat::FormatSettings());
        return;
    }
    ApplySettingsFormats(settings);
    plat::FormatSettings() = settings;
}

std::string GetDateFormatStr(std::int32_t Kind)
{
    switch (Kind) {
    case 0:
        return "yyyy-MM-dd";
    case 1:
        return "dd/MM/yyyy";
    case 2:
        return "MM/dd/yyyy";
    case 3:
        return "dd.MM.yyyy";
    case 4:
        return "dd-MMM-yyyy";
    case 5:
        return "yyyy-MMM-dd";
    default:
        return std::string();
    }
}

void SetLocaleFormats()
{
    const plat::TLocaleInfo& locale = plat::CurrentLocaleProvider().UserDefaultLocale();
    plat::TFormatSettings settings = plat::DefaultFormatSettings();
    const std::string hours = locale.TimeLeadingZero ? "HH" : "h";
    std::string prefix;
    std::string suffix;
    if (locale.TwelveHourClock && locale.AmPmBeforeTime) {
        prefix = "AMPM ";
    } else if (locale.TwelveHourClock) {
        suffix = " AMPM";
    }
    settings.ShortTimeFormat = prefix + hours + ":mm" + suffix;
    settings.LongTimeFormat = prefix + hours + ":mm:ss" + suffix;
    settings.TimeAMString = locale.TimeAMString.empty() ? "am" : locale.TimeAMString;
    settings.TimePMString = locale.TimePMString.empty() ? "pm" : locale.TimePMString;
    settings.TwoDigitYearCenturyWindow = 50;
    plat::FormatSettings() = settings;
}

void SetEnglishMonthNames()
{
    plat::FormatSettings().ShortMonthNames = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                              "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
}

std::string GetDateTimeFormat(std::uint8_t Kind)
{
    const plat::TFormatSettings& settings = plat::FormatSettings();
    const std::string milliseconds = std::string(1, settings.DecimalSeparator) + "zzz";
    switch (Kind) {
    case 0:
        return settings.ShortDateFormat + " " + settings.LongTimeFormat;
    case 1:
        return settings.ShortDateFormat + " " + settings.LongTimeFormat + milliseconds;
    case 2:
        return settings.LongTimeFormat;
    case 3:
        return settings.LongTimeFormat + milliseconds;
    case 4:
        return settings.ShortDateFormat;
    case 5:
        return settings.ShortTimeFormat;
    case 6:
        return settings.ShortDateFormat + " " + settings.ShortTimeFormat;
    case 8:
        return "MM/dd/yyyy HH:mm:ss";
    default:
        return std::string();
    }
}

std::string FormatDateTimeKind(std::uint8_t Kind, double DateTime)
{
    return plat::FormatDateTime(GetDateTimeFormat(Kind), DateTime, plat::FormatSettings());
}

} // namespace qel
