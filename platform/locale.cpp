// Built-in regional data of the common locales and their choice from the
// LC_* / LANG environment.
#include "platform/locale.h"

#include <atomic>
#include <cctype>
#include <cstdlib>
#include <utility>

namespace plat {

namespace {

struct TNameTable {
    std::array<const char*, 12> ShortMonths;
    std::array<const char*, 12> LongMonths;
    std::array<const char*, 7> ShortDays;
    std::array<const char*, 7> LongDays;
};

const TNameTable EnglishNames = {
    {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"},
    {"January", "February", "March", "April", "May", "June", "July", "August", "September", "October",
     "November", "December"},
    {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"},
    {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"}};

const TNameTable GermanNames = {
    {"Jan", "Feb", "Mär", "Apr", "Mai", "Jun", "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"},
    {"Januar", "Februar", "März", "April", "Mai", "Juni", "Juli", "August", "September", "Oktober", "November",
     "Dezember"},
    {"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"},
    {"Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag"}};

const TNameTable FrenchNames = {
    {"janv.", "févr.", "mars", "avr.", "mai", "juin", "juil.", "août", "sept.", "oct.", "nov.", "déc."},
    {"janvier", "février", "mars", "avril", "mai", "juin", "juillet", "août", "septembre", "octobre", "novembre",
     "décembre"},
    {"dim.", "lun.", "mar.", "mer.", "jeu.", "ven.", "sam."},
    {"dimanche", "lundi", "mardi", "mercredi", "jeudi", "vendredi", "samedi"}};

const TNameTable SpanishNames = {
    {"ene.", "feb.", "mar.", "abr.", "may.", "jun.", "jul.", "ago.", "sept.", "oct.", "nov.", "dic."},
    {"enero", "febrero", "marzo", "abril", "mayo", "junio", "julio", "agosto", "septiembre", "octubre",
     "noviembre", "diciembre"},
    {"dom.", "lun.", "mar.", "mié.", "jue.", "vie.", "sáb."},
    {"domingo", "lunes", "martes", "miércoles", "jueves", "viernes", "sábado"}};

const TNameTable ItalianNames = {
    {"gen", "feb", "mar", "apr", "mag", "giu", "lug", "ago", "set", "ott", "nov", "dic"},
    {"gennaio", "febbraio", "marzo", "aprile", "maggio", "giugno", "luglio", "agosto", "settembre", "ottobre",
     "novembre", "dicembre"},
    {"dom", "lun", "mar", "mer", "gio", "ven", "sab"},
    {"domenica", "lunedì", "martedì", "mercoledì", "giovedì", "venerdì", "sabato"}};

const TNameTable DutchNames = {
    {"jan", "feb", "mrt", "apr", "mei", "jun", "jul", "aug", "sep", "okt", "nov", "dec"},
    {"januari", "februari", "maart", "april", "mei", "juni", "juli", "augustus", "september", "oktober",
     "november", "december"},
    {"zo", "ma", "di", "wo", "do", "vr", "za"},
    {"zondag", "maandag", "dinsdag", "woensdag", "donderdag", "vrijdag", "zaterdag"}};

const TNameTable ChineseNames = {
    {"1月", "2月", "3月", "4月", "5月", "6月", "7月", "8月", "9月", "10月", "11月", "12月"},
    {"一月", "二月", "三月", "四月", "五月", "六月", "七月", "八月", "九月", "十月", "十一月", "十二月"},
    {"周日", "周一", "周二", "周三", "周四", "周五", "周六"},
    {"星期日", "星期一", "星期二", "星期三", "星期四", "星期五", "星期六"}};

const TNameTable JapaneseNames = {
    {"1月", "2月", "3月", "4月", "5月", "6月", "7月", "8月", "9月", "10月", "11月", "12月"},
    {"1月", "2月", "3月", "4月", "5月", "6月", "7月", "8月", "9月", "10月", "11月", "12月"},
    {"日", "月", "火", "水", "木", "金", "土"},
    {"日曜日", "月曜日", "火曜日", "水曜日", "木曜日", "金曜日", "土曜日"}};

const TNameTable KoreanNames = {
    {"1월", "2월", "3월", "4월", "5월", "6월", "7월", "8월", "9월", "10월", "11월", "12월"},
    {"1월", "2월", "3월", "4월", "5월", "6월", "7월", "8월", "9월", "10월", "11월", "12월"},
    {"일", "월", "화", "수", "목", "금", "토"},
    {"일요일", "월요일", "화요일", "수요일", "목요일", "금요일", "토요일"}};

const TNameTable ThaiNames = {
    {"ม.ค.", "ก.พ.", "มี.ค.", "เม.ย.", "พ.ค.", "มิ.ย.", "ก.ค.", "ส.ค.", "ก.ย.", "ต.ค.", "พ.ย.", "ธ.ค."},
    {"มกราคม", "กุมภาพันธ์", "มีนาคม", "เมษายน", "พฤษภาคม", "มิถุนายน", "กรกฎาคม", "สิงหาคม", "กันยายน",
     "ตุลาคม", "พฤศจิกายน", "ธันวาคม"},
    {"อา.", "จ.", "อ.", "พ.", "พฤ.", "ศ.", "ส."},
    {"อาทิตย์", "จันทร์", "อังคาร", "พุธ", "พฤหัสบดี", "ศุกร์", "เสาร์"}};

// One locale of the built-in table. Key is "ll_TT", or "ll_*" for any territory
// without an entry of its own; the first entry of a language is its usual region.
struct TRegionData {
    const char* Key;
    LANGID Language;
    const char* Country;
    const char* Decimal;
    const char* Thousand;
    const char* List;
    const char* DateSeparator;
    const char* ShortDate;
    const char* LongDate;
    const char* TimeSeparator;
    bool TimeLeadingZero;
    bool TwelveHour;
    bool AmPmBefore;
    const char* Am;
    const char* Pm;
    const char* Currency;
    int CurrencyFormat;
    int NegCurrencyFormat;
    int CurrencyDigits;
    const TNameTable* Names;
};

const TRegionData CRegion = {"C", LANG_ENGLISH, "", ".", ",", ",", "/", "MM/dd/yyyy", "dddd, MMMM d, yyyy", ":",
                             true, false, false, "AM", "PM", "", 0, 0, 2, &EnglishNames};

const TRegionData Regions[] = {
    {"en_US", LANG_ENGLISH, "United States", ".", ",", ",", "/", "M/d/yyyy", "dddd, MMMM d, yyyy", ":", false, true,
     false, "AM", "PM", "$", 0, 0, 2, &EnglishNames},
    {"en_GB", LANG_ENGLISH, "United Kingdom", ".", ",", ",", "/", "dd/MM/yyyy", "dd MMMM yyyy", ":", true, false,
     false, "am", "pm", "£", 0, 1, 2, &EnglishNames},
    {"en_*", LANG_ENGLISH, "", ".", ",", ",", "/", "dd/MM/yyyy", "dd MMMM yyyy", ":", true, false, false, "am", "pm",
     "", 0, 1, 2, &EnglishNames},
    {"de_DE", LANG_GERMAN, "Deutschland", ",", ".", ";", ".", "dd.MM.yyyy", "dddd, d. MMMM yyyy", ":", true, false,
     false, "AM", "PM", "€", 3, 8, 2, &GermanNames},
    {"de_AT", LANG_GERMAN, "Österreich", ",", ".", ";", ".", "dd.MM.yyyy", "dddd, d. MMMM yyyy", ":", true, false,
     false, "AM", "PM", "€", 2, 9, 2, &GermanNames},
    {"de_CH", LANG_GERMAN, "Schweiz", ".", "'", ";", ".", "dd.MM.yyyy", "dddd, d. MMMM yyyy", ":", true, false,
     false, "AM", "PM", "CHF", 2, 2, 2, &GermanNames},
    {"fr_FR", LANG_FRENCH, "France", ",", " ", ";", "/", "dd/MM/yyyy", "dddd d MMMM yyyy", ":", true, false, false,
     "AM", "PM", "€", 3, 8, 2, &FrenchNames},
    {"fr_BE", LANG_FRENCH, "Belgique", ",", ".", ";", "/", "dd/MM/yyyy", "dddd d MMMM yyyy", ":", true, false,
     false, "AM", "PM", "€", 3, 8, 2, &FrenchNames},
    {"fr_CA", LANG_FRENCH, "Canada", ",", " ", ";", "-", "yyyy-MM-dd", "d MMMM yyyy", ":", true, false, false,
     "AM", "PM", "$", 3, 8, 2, &FrenchNames},
    {"fr_CH", LANG_FRENCH, "Suisse", ".", "'", ";", ".", "dd.MM.yyyy", "dddd, d MMMM yyyy", ":", true, false,
     false, "AM", "PM", "CHF", 2, 2, 2, &FrenchNames},
    {"es_ES", LANG_SPANISH, "España", ",", ".", ";", "/", "dd/MM/yyyy", "dddd, d' de 'MMMM' de 'yyyy", ":", false,
     false, false, "a. m.", "p. m.", "€", 3, 8, 2, &SpanishNames},
    {"it_IT", LANG_ITALIAN, "Italia", ",", ".", ";", "/", "dd/MM/yyyy", "dddd d MMMM yyyy", ":", true, false, false,
     "AM", "PM", "€", 2, 9, 2, &ItalianNames},
    {"nl_NL", LANG_DUTCH, "Nederland", ",", ".", ";", "-", "d-M-yyyy", "dddd d MMMM yyyy", ":", true, false, false,
     "a.m.", "p.m.", "€", 2, 12, 2, &DutchNames},
    {"zh_CN", LANG_CHINESE, "中国", ".", ",", ",", "/", "yyyy/M/d", "yyyy'年'M'月'd'日'", ":", true, false, false,
     "上午", "下午", "¥", 0, 2, 2, &ChineseNames},
    {"zh_TW", LANG_CHINESE, "台灣", ".", ",", ",", "/", "yyyy/M/d", "yyyy'年'M'月'd'日'", ":", true, true, true,
     "上午", "下午", "NT$", 0, 1, 2, &ChineseNames},
    {"ja_JP", LANG_JAPANESE, "日本", ".", ",", ",", "/", "yyyy/MM/dd", "yyyy'年'M'月'd'日'", ":", false, false, false,
     "午前", "午後", "¥", 0, 1, 0, &JapaneseNames},
    {"ko_KR", LANG_KOREAN, "대한민국", ".", ",", ",", "-", "yyyy-MM-dd", "yyyy'년' M'월' d'일' dddd", ":", false, true,
     true, "오전", "오후", "₩", 0, 1, 0, &KoreanNames},
    {"th_TH", LANG_THAI, "ไทย", ".", ",", ",", "/", "d/M/yyyy", "d MMMM yyyy", ":", false, false, false, "AM", "PM",
     "฿", 0, 1, 2, &ThaiNames},
};

// ISO 639-1 codes with their primary language ids.
const std::pair<const char*, LANGID> LanguageCodes[] = {
    {"ar", LANG_ARABIC}, {"bg", 0x02},          {"ca", 0x03},         {"zh", LANG_CHINESE},
    {"cs", LANG_CZECH},  {"da", LANG_DANISH},   {"de", LANG_GERMAN},  {"el", LANG_GREEK},
    {"en", LANG_ENGLISH}, {"es", LANG_SPANISH}, {"fi", LANG_FINNISH}, {"fr", LANG_FRENCH},
    {"he", 0x0D},        {"hu", LANG_HUNGARIAN}, {"is", 0x0F},        {"it", LANG_ITALIAN},
    {"ja", LANG_JAPANESE}, {"ko", LANG_KOREAN}, {"nl", LANG_DUTCH},   {"nb", LANG_NORWEGIAN},
    {"nn", LANG_NORWEGIAN}, {"no", LANG_NORWEGIAN}, {"pl", LANG_POLISH}, {"pt", LANG_PORTUGUESE},
    {"rm", 0x17},        {"ro", 0x18},          {"ru", LANG_RUSSIAN}, {"hr", 0x1A},
    {"bs", 0x1A},        {"sr", 0x1A},          {"sk", 0x1B},         {"sq", 0x1C},
    {"sv", LANG_SWEDISH}, {"th", LANG_THAI},    {"tr", LANG_TURKISH}, {"ur", 0x20},
    {"id", 0x21},        {"uk", 0x22},          {"be", 0x23},         {"sl", 0x24},
    {"et", 0x25},        {"lv", 0x26},          {"lt", 0x27},         {"fa", 0x29},
    {"vi", 0x2A},        {"hy", 0x2B},          {"az", 0x2C},         {"eu", 0x2D},
    {"mk", 0x2F},        {"af", 0x36},          {"ka", 0x37},         {"fo", 0x38},
    {"hi", 0x39},        {"ms", 0x3E},          {"kk", 0x3F},         {"sw", 0x41},
    {"uz", 0x43},        {"bn", 0x45},          {"ta", 0x49},         {"mn", 0x50},
};

struct TLocaleParts {
    std::string Language;   // lower case; empty for the C locale
    std::string Territory;  // upper case
};

// "ll[_TT][.codeset][@modifier]"; a "-" between language and territory is taken too.
TLocaleParts SplitLocaleName(std::string_view name)
{
    const auto end = name.find_first_of(".@");
    if (end != std::string_view::npos)
        name = name.substr(0, end);
    if (name.empty() || name == "C" || name == "POSIX")
        return {};
    TLocaleParts parts;
    const auto separator = name.find_first_of("_-");
    for (char c : name.substr(0, separator))
        parts.Language += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (separator != std::string_view::npos) {
        for (char c : name.substr(separator + 1))
            parts.Territory += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return parts;
}

LANGID LanguageIdOfCode(const std::string& code)
{
    for (const auto& [iso, id] : LanguageCodes) {
        if (code == iso)
            return id;
    }
    return LANG_NEUTRAL;
}

struct TRegionChoice {
    const TRegionData* Region;
    bool SameTerritory;  // the entry names the territory asked for (or none was asked)
};

TRegionChoice RegionOf(const TLocaleParts& parts)
{
    if (parts.Language.empty())
        return {&CRegion, true};
    const std::string exactKey = parts.Language + "_" + parts.Territory;
    const std::string anyKey = parts.Language + "_*";
    const TRegionData* usual = nullptr;
    const TRegionData* any = nullptr;
    for (const auto& region : Regions) {
        const std::string key = region.Key;
        if (key == exactKey)
            return {&region, true};
        if (key == anyKey)
            any = &region;
        else if (!usual && key.compare(0, parts.Language.size() + 1, parts.Language + "_") == 0)
            usual = &region;
    }
    if (parts.Territory.empty() && usual)
        return {usual, true};
    if (any)
        return {any, true};
    if (usual)
        return {usual, false};
    return {&CRegion, true};
}

// Hour part and AM/PM placement of the time formats: "HH" with leading zeros,
// else "h"; a 12-hour clock puts "AMPM " before or " AMPM" after the time.
std::string TimeFormat(const TRegionData& region, bool withSeconds)
{
    std::string format = region.TimeLeadingZero ? "HH:mm" : "h:mm";
    if (withSeconds)
        format += ":ss";
    if (region.TwelveHour)
        format = region.AmPmBefore ? "AMPM " + format : format + " AMPM";
    return format;
}

template <std::size_t N>
std::array<std::string, N> Copy(const std::array<const char*, N>& names)
{
    std::array<std::string, N> result;
    for (std::size_t i = 0; i < N; ++i)
        result[i] = names[i];
    return result;
}

} // namespace

TDateOrder TLocaleInfo::DateOrder() const
{
    for (char c : ShortDateFormat) {
        switch (std::tolower(static_cast<unsigned char>(c))) {
        case 'd':
            return TDateOrder::DayMonthYear;
        case 'm':
            return TDateOrder::MonthDayYear;
        case 'y':
            return TDateOrder::YearMonthDay;
        default:
            break;
        }
    }
    return TDateOrder::MonthDayYear;
}

TLocaleInfo LocaleInfoFromName(std::string_view localeName)
{
    const TLocaleParts parts = SplitLocaleName(localeName);
    const TRegionChoice choice = RegionOf(parts);
    const TRegionData& region = *choice.Region;

    TLocaleInfo info;
    info.Name = parts.Language.empty() ? "C" : parts.Language + (parts.Territory.empty() ? "" : "_" + parts.Territory);
    info.Language = parts.Language.empty() ? LANG_ENGLISH : LanguageIdOfCode(parts.Language);
    info.Country = choice.SameTerritory ? region.Country : "";
    info.DecimalSeparator = region.Decimal;
    info.ThousandSeparator = region.Thousand;
    info.ListSeparator = region.List;
    info.DateSeparator = region.DateSeparator;
    info.TimeSeparator = region.TimeSeparator;
    info.ShortDateFormat = region.ShortDate;
    info.LongDateFormat = region.LongDate;
    info.ShortTimeFormat = TimeFormat(region, false);
    info.LongTimeFormat = TimeFormat(region, true);
    info.TimeLeadingZero = region.TimeLeadingZero;
    info.TwelveHourClock = region.TwelveHour;
    info.AmPmBeforeTime = region.AmPmBefore;
    info.TimeAMString = region.Am;
    info.TimePMString = region.Pm;
    info.CurrencySymbol = region.Currency;
    info.CurrencyFormat = region.CurrencyFormat;
    info.NegCurrencyFormat = region.NegCurrencyFormat;
    info.CurrencyDigits = region.CurrencyDigits;
    info.ShortMonthNames = Copy(region.Names->ShortMonths);
    info.LongMonthNames = Copy(region.Names->LongMonths);
    info.ShortDayNames = Copy(region.Names->ShortDays);
    info.LongDayNames = Copy(region.Names->LongDays);
    return info;
}

std::string LocaleNameFromEnvironment(const char* categoryVariable)
{
    for (const char* variable : {"LC_ALL", categoryVariable, "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value)
            return value;
    }
    return "C";
}

TFixedLocaleProvider::TFixedLocaleProvider(std::string_view localeName) : FInfo(LocaleInfoFromName(localeName)) {}

TFixedLocaleProvider::TFixedLocaleProvider(TLocaleInfo info) : FInfo(std::move(info)) {}

TEnvironmentLocaleProvider::TEnvironmentLocaleProvider()
    : FLanguage(LocaleInfoFromName(LocaleNameFromEnvironment("LC_MESSAGES")).Language),
      FInfo(LocaleInfoFromName(LocaleNameFromEnvironment("LANG")))
{
    const TLocaleInfo numeric = LocaleInfoFromName(LocaleNameFromEnvironment("LC_NUMERIC"));
    FInfo.DecimalSeparator = numeric.DecimalSeparator;
    FInfo.ThousandSeparator = numeric.ThousandSeparator;
    FInfo.ListSeparator = numeric.ListSeparator;

    const TLocaleInfo monetary = LocaleInfoFromName(LocaleNameFromEnvironment("LC_MONETARY"));
    FInfo.CurrencySymbol = monetary.CurrencySymbol;
    FInfo.CurrencyFormat = monetary.CurrencyFormat;
    FInfo.NegCurrencyFormat = monetary.NegCurrencyFormat;
    FInfo.CurrencyDigits = monetary.CurrencyDigits;

    const TLocaleInfo time = LocaleInfoFromName(LocaleNameFromEnvironment("LC_TIME"));
    FInfo.DateSeparator = time.DateSeparator;
    FInfo.TimeSeparator = time.TimeSeparator;
    FInfo.ShortDateFormat = time.ShortDateFormat;
    FInfo.LongDateFormat = time.LongDateFormat;
    FInfo.ShortTimeFormat = time.ShortTimeFormat;
    FInfo.LongTimeFormat = time.LongTimeFormat;
    FInfo.TimeLeadingZero = time.TimeLeadingZero;
    FInfo.TwelveHourClock = time.TwelveHourClock;
    FInfo.AmPmBeforeTime = time.AmPmBeforeTime;
    FInfo.TimeAMString = time.TimeAMString;
    FInfo.TimePMString = time.TimePMString;
    FInfo.ShortMonthNames = time.ShortMonthNames;
    FInfo.LongMonthNames = time.LongMonthNames;
    FInfo.ShortDayNames = time.ShortDayNames;
    FInfo.LongDayNames = time.LongDayNames;
}

namespace {
std::atomic<const ILocaleProvider*> GLocaleProvider{nullptr};
}

const ILocaleProvider& CurrentLocaleProvider()
{
    if (const auto* provider = GLocaleProvider.load())
        return *provider;
    static const TEnvironmentLocaleProvider environment;
    return environment;
}

const ILocaleProvider* SetLocaleProvider(const ILocaleProvider* provider)
{
    return GLocaleProvider.exchange(provider);
}

} // namespace plat
