// The user's default language and regional settings, taken from the POSIX locale
// environment (or injected by tests), in the terms the program's formatting uses.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace plat {

// Primary language ids, with their Windows values (the low ten bits of a LANGID).
using LANGID = std::uint16_t;
constexpr LANGID LANG_NEUTRAL = 0x00;
constexpr LANGID LANG_ARABIC = 0x01;
constexpr LANGID LANG_CHINESE = 0x04;
constexpr LANGID LANG_CZECH = 0x05;
constexpr LANGID LANG_DANISH = 0x06;
constexpr LANGID LANG_GERMAN = 0x07;
constexpr LANGID LANG_GREEK = 0x08;
constexpr LANGID LANG_ENGLISH = 0x09;
constexpr LANGID LANG_SPANISH = 0x0A;
constexpr LANGID LANG_FINNISH = 0x0B;
constexpr LANGID LANG_FRENCH = 0x0C;
constexpr LANGID LANG_HUNGARIAN = 0x0E;
constexpr LANGID LANG_ITALIAN = 0x10;
constexpr LANGID LANG_JAPANESE = 0x11;
constexpr LANGID LANG_KOREAN = 0x12;
constexpr LANGID LANG_DUTCH = 0x13;
constexpr LANGID LANG_NORWEGIAN = 0x14;
constexpr LANGID LANG_POLISH = 0x15;
constexpr LANGID LANG_PORTUGUESE = 0x16;
constexpr LANGID LANG_RUSSIAN = 0x19;
constexpr LANGID LANG_SWEDISH = 0x1D;
constexpr LANGID LANG_THAI = 0x1E;
constexpr LANGID LANG_TURKISH = 0x1F;

enum class TDateOrder { MonthDayYear, DayMonthYear, YearMonthDay };

// The regional settings of one locale. Formats use the pattern letters of
// FormatDateTime ("dd.MM.yyyy", "h:mm:ss AMPM"); texts are UTF-8. An empty text
// means the locale gives no value for that item.
struct TLocaleInfo {
    std::string Name;                 // "de_DE", or "C" for the C/POSIX locale
    LANGID Language = LANG_ENGLISH;   // primary language id
    std::string Country;              // country name in its own language
    std::string DecimalSeparator;
    std::string ThousandSeparator;
    std::string ListSeparator;
    std::string DateSeparator;
    std::string TimeSeparator;
    std::string ShortDateFormat;
    std::string LongDateFormat;
    std::string ShortTimeFormat;      // built from the three time flags below
    std::string LongTimeFormat;
    bool TimeLeadingZero = true;      // hours always with two digits
    bool TwelveHourClock = false;     // hours 1..12 with an AM/PM mark
    bool AmPmBeforeTime = false;      // the mark stands before the time
    std::string TimeAMString;
    std::string TimePMString;
    std::string CurrencySymbol;
    int CurrencyFormat = 0;           // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $"
    int NegCurrencyFormat = 0;        // Windows numbering of the negative forms
    int CurrencyDigits = 2;
    std::array<std::string, 12> ShortMonthNames;  // January first
    std::array<std::string, 12> LongMonthNames;
    std::array<std::string, 7> ShortDayNames;     // Sunday first
    std::array<std::string, 7> LongDayNames;

    // The order of day, month and year in the short date format.
    TDateOrder DateOrder() const;
};

// The regional settings of a POSIX locale name ("de_DE.UTF-8", "fr_CH",
// "en_US@euro", "C"). The data are built in, so the answer does not depend on the
// locales installed on the machine. "C", "POSIX" and an empty name give English
// with C conventions; a language without built-in formats keeps its language id
// and takes the C formats; an unknown language is LANG_NEUTRAL.
TLocaleInfo LocaleInfoFromName(std::string_view localeName);

// The locale name in force for one category of the environment: LC_ALL when set
// and not empty, else the category's variable (e.g. "LC_TIME"), else LANG, else "C".
std::string LocaleNameFromEnvironment(const char* categoryVariable);

class ILocaleProvider {
public:
    virtual ~ILocaleProvider() = default;
    // Primary language id of the user's default language.
    virtual LANGID UserDefaultLanguage() const = 0;
    // Regional settings of the user's default locale.
    virtual const TLocaleInfo& UserDefaultLocale() const = 0;
};

// A locale given by name or by record: the provider tests inject.
class TFixedLocaleProvider : public ILocaleProvider {
public:
    explicit TFixedLocaleProvider(std::string_view localeName);
    explicit TFixedLocaleProvider(TLocaleInfo info);
    LANGID UserDefaultLanguage() const override { return FInfo.Language; }
    const TLocaleInfo& UserDefaultLocale() const override { return FInfo; }

private:
    TLocaleInfo FInfo;
};

// The locale of the process environment, read once at construction: the
// language from LC_MESSAGES, numbers from LC_NUMERIC, dates and times from
// LC_TIME, currency from LC_MONETARY (each overridden by LC_ALL, falling back
// to LANG); the record's Name, Language and Country follow LC_ALL, else LANG.
class TEnvironmentLocaleProvider : public ILocaleProvider {
public:
    TEnvironmentLocaleProvider();
    LANGID UserDefaultLanguage() const override { return FLanguage; }
    const TLocaleInfo& UserDefaultLocale() const override { return FInfo; }

private:
    LANGID FLanguage;
    TLocaleInfo FInfo;
};

// The provider in force: the environment's unless one was set.
const ILocaleProvider& CurrentLocaleProvider();
// Makes provider current (nullptr: back to the environment's) and returns the
// former one. The caller keeps the provider alive while it is current.
const ILocaleProvider* SetLocaleProvider(const ILocaleProvider* provider);

// Makes a provider current for the lifetime of the object.
class TScopedLocaleProvider {
public:
    explicit TScopedLocaleProvider(const ILocaleProvider& provider) : FFormer(SetLocaleProvider(&provider)) {}
    ~TScopedLocaleProvider() { SetLocaleProvider(FFormer); }
    TScopedLocaleProvider(const TScopedLocaleProvider&) = delete;
    TScopedLocaleProvider& operator=(const TScopedLocaleProvider&) = delete;

private:
    const ILocaleProvider* FFormer;
};

} // namespace plat
