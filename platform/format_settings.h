// The date, time and number format record that every formatting call uses, its
// defaults from the user's locale and the program-wide instance.
#pragma once

#include <array>
#include <string>

namespace plat {

struct TFormatSettings {
    char DecimalSeparator = '.';
    char ThousandSeparator = ',';
    char ListSeparator = ',';
    char DateSeparator = '/';     // what "/" in a date pattern prints
    char TimeSeparator = ':';     // what ":" in a date pattern prints
    std::string ShortDateFormat = "MM/dd/yyyy";
    std::string LongDateFormat = "dddd, MMMM d, yyyy";
    std::string ShortTimeFormat = "HH:mm";
    std::string LongTimeFormat = "HH:mm:ss";
    std::string TimeAMString = "AM";
    std::string TimePMString = "PM";
    std::string CurrencyString;
    int CurrencyFormat = 0;
    int NegCurrFormat = 0;
    int CurrencyDecimals = 2;
    int TwoDigitYearCenturyWindow = 50;
    std::array<std::string, 12> ShortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};  // [0] is January
    std::array<std::string, 12> LongMonthNames{"January", "February", "March", "April", "May", "June", "July",
                                               "August", "September", "October", "November", "December"};
    std::array<std::string, 7> ShortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};  // [0] is Sunday
    std::array<std::string, 7> LongDayNames{"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday",
                                            "Saturday"};
};

// The settings of the current locale provider's user default locale. A
// separator the locale gives as anything but one ASCII character keeps the
// default above; when decimal and thousand separator would be equal, the
// thousand separator becomes the other of "." and ",".
TFormatSettings DefaultFormatSettings();

// The program-wide settings: DefaultFormatSettings() on first use, then whatever
// start-up sets. Written only before worker threads start; read from any thread.
TFormatSettings& FormatSettings();
// Puts DefaultFormatSettings() of the current locale provider back in place.
void ResetFormatSettings();

// Keeps a copy of the program-wide settings and puts it back at the end (tests).
class TScopedFormatSettings {
public:
    TScopedFormatSettings() : FSaved(FormatSettings()) {}
    ~TScopedFormatSettings() { FormatSettings() = FSaved; }
    TScopedFormatSettings(const TScopedFormatSettings&) = delete;
    TScopedFormatSettings& operator=(const TScopedFormatSettings&) = delete;

private:
    TFormatSettings FSaved;
};

} // namespace plat
