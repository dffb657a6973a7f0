// International support of the component library: the user's regional
// settings read once from the locale provider, and dates and times turned
// into text shaped by a picture and back. The entry fields build their
// default pictures from it; the library's range errors quote its pictures.
//
// Every conversion has a text form (inputs cut to 255 characters) and a
// buffer form on zero-terminated UTF-16 buffers, whose result is cut to the
// destination's capacity (terminator included) and which answers the
// destination, or nullptr for a buffer of capacity 0.
#pragma once

#include "platform/messages.h"
#include "platform/objects/events.h"
#include "platform/objects/object.h"
#include "widgets/pages/pgc_days.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace qel {

// The settings-change message the support's utility window answers.
constexpr plat::UINT WM_WININICHANGE = 0x001A;

class TPgcIntlSup : public plat::TObject {
public:
    // Reads the locale (ResetInternationalInfo).
    TPgcIntlSup();
    // Releases the utility window.
    ~TPgcIntlSup() override;

    // Takes every item again from the current locale provider; an item the
    // locale does not give keeps its default.
    void ResetInternationalInfo();

    // Switching on creates a hidden utility window on the running
    // application's queue (plat::EWindowError when none runs); while on, a
    // settings change posted or broadcast to it calls OnWinIniChange when
    // assigned, else ResetInternationalInfo, and hands any exception to the
    // application. Switching off releases the window.
    bool AutoUpdate() const { return FAutoUpdate; }
    void SetAutoUpdate(bool Value);
    // The utility window while AutoUpdate is on, else 0.
    plat::HWND IntlHandle() const { return FIntlHandle; }
    plat::TNotifyEvent OnWinIniChange;

    std::u16string CurrencyLtStr = u"$"; // symbol before the number (and a space for format 2)
    std::u16string CurrencyRtStr;        // symbol after the number (a space before it for format 3)
    char16_t DecimalChar = u'.';
    char16_t CommaChar = u',';           // thousands separator
    std::uint8_t CurrencyDigits = 2;
    char16_t ListChar = u',';
    char16_t SlashChar = u'/';           // date separator
    char16_t TrueChar = u'T';
    char16_t FalseChar = u'F';
    char16_t YesChar = u'Y';
    char16_t NoChar = u'N';
    const std::u16string& Country() const { return FCountry; }

    // What the locale gave, after ResetInternationalInfo shaped it.
    char16_t TimeSeparator() const { return FColonChar; }
    const std::u16string& AmText() const { return Fw1159; }
    const std::u16string& PmText() const { return Fw2359; }
    std::int32_t CurrencyForm() const { return FwCurrencyForm; }
    std::int32_t NegCurrencyForm() const { return FwNegCurrencyForm; }
    bool TimeLeadingZero() const { return FwTLZero; }
    bool TwelveHourClock() const { return Fw12Hour; }
    // The short date picture with "/" for the separator and "n" for month
    // names; the long date picture with "w" and "n" for the names and the
    // markers "f", "g", "h" for its literals (LongDateLiteral 0 .. 2).
    const std::u16string& ShortDatePicture() const { return FwShortDate; }
    const std::u16string& LongDatePicture() const { return FwLongDate; }
    const std::u16string& LongDateLiteral(int Index) const { return FLongDateLiterals.at(Index); }

    // ---- Pictures ----
    // The short date picture, day and month widened to 2, the year to 2 (4
    // with ForceCentury); one lower-case letter turns upper case (space
    // padded), two upper-case letters turn lower case (zero padded).
    std::u16string InternationalDate(bool ForceCentury) const;
    char16_t* InternationalDatePChar(std::span<char16_t> Dest, bool ForceCentury) const;
    std::u16string InternationalLongDate(bool ShortNames, bool ExcludeDOW) const;
    char16_t* InternationalLongDatePChar(std::span<char16_t> Dest, bool ShortNames, bool ExcludeDOW) const;
    // "hh:mm:ss" or "hh:mm"; "Hh" without leading zeros; " t..." for a
    // 12-hour clock.
    std::u16string InternationalTime(bool ShowSeconds) const;
    char16_t* InternationalTimePChar(std::span<char16_t> Dest, bool ShowSeconds) const;
    std::u16string InternationalCurrency(char16_t Picture, std::uint8_t MaxDigits, bool Float, bool AddCommas,
        bool IsNumeric) const;
    char16_t* InternationalCurrencyPChar(std::span<char16_t> Dest, char16_t Picture, std::uint8_t MaxDigits,
        bool Float, bool AddCommas, bool IsNumeric) const;

    // ---- Names ----
    std::u16string MonthToString(std::int32_t Month) const;  // empty outside 1 .. 12
    char16_t* MonthToPChar(std::span<char16_t> Dest, std::int32_t Month) const;
    std::u16string DayOfWeekToString(TSysDayType Day) const; // empty for NoSysDay
    char16_t* DayOfWeekToPChar(std::span<char16_t> Dest, TSysDayType Day) const;
    // The month whose long or short name, right-aligned and cut to Width,
    // equals S so shaped, ignoring case; December first; 0 for none.
    std::int32_t MonthStringToMonth(std::u16string_view S, std::uint8_t Width) const;
    std::int32_t MonthPCharToMonth(const char16_t* S, std::uint8_t Width) const;

    // ---- Dates ----
    std::u16string DMYtoDateString(std::u16string_view Picture, std::int32_t Day, std::int32_t Month,
        std::int32_t Year, bool Pack, std::int32_t Epoch) const;
    char16_t* DMYtoDatePChar(std::span<char16_t> Dest, const char16_t* Picture, std::int32_t Day,
        std::int32_t Month, std::int32_t Year, bool Pack, std::int32_t Epoch) const;
    // BadDayNumber blanks every date letter and is never packed.
    std::u16string DateToDateString(std::u16string_view Picture, std::int32_t Julian, bool Pack) const;
    char16_t* DateToDatePChar(std::span<char16_t> Dest, const char16_t* Picture, std::int32_t Julian,
        bool Pack) const;
    std::u16string CurrentDateString(std::u16string_view Picture, bool Pack) const;
    char16_t* CurrentDatePChar(std::span<char16_t> Dest, const char16_t* Picture, bool Pack) const;
    // The time fields first, then the date fields of that text.
    std::u16string DateTimeToDate(std::u16string_view Picture, plat::TDateTime DT, bool Pack) const;
    char16_t* DateTimeToDatePChar(std::span<char16_t> Dest, const char16_t* Picture, plat::TDateTime DT,
        bool Pack) const;
    // False for a text not exactly as long as the picture or not a valid date.
    bool DateStringToDMY(std::u16string_view Picture, std::u16string_view S, std::int32_t& Day,
        std::int32_t& Month, std::int32_t& Year, std::int32_t Epoch) const;
    bool DatePCharToDMY(const char16_t* Picture, const char16_t* S, std::int32_t& Day, std::int32_t& Month,
        std::int32_t& Year, std::int32_t Epoch) const;
    std::int32_t DateStringToDate(std::u16string_view Picture, std::u16string_view S, std::int32_t Epoch) const;
    std::int32_t DatePCharToDate(const char16_t* Picture, const char16_t* S, std::int32_t Epoch) const;
    // True when no day, month or year was typed (or the length is wrong).
    bool DateStringIsBlank(std::u16string_view Picture, std::u16string_view S) const;
    bool DatePCharIsBlank(const char16_t* Picture, const char16_t* S) const;

    // ---- Times ----
    // With the locale's AM and PM texts; BadDayNumber blanks the fields.
    std::u16string TimeToTimeString(std::u16string_view Picture, std::int32_t T, bool Pack) const;
    char16_t* TimeToTimePChar(std::span<char16_t> Dest, const char16_t* Picture, std::int32_t T, bool Pack) const;
    // With "AM" and "PM"; a picture without "t" gets one appended.
    std::u16string TimeToAmPmString(std::u16string_view Picture, std::int32_t T, bool Pack) const;
    char16_t* TimeToAmPmPChar(std::span<char16_t> Dest, const char16_t* Picture, std::int32_t T, bool Pack) const;
    std::u16string CurrentTimeString(std::u16string_view Picture, bool Pack) const;
    char16_t* CurrentTimePChar(std::span<char16_t> Dest, const char16_t* Picture, bool Pack) const;
    bool TimeStringToHMS(std::u16string_view Picture, std::u16string_view S, std::int32_t& Hours,
        std::int32_t& Minutes, std::int32_t& Seconds) const;
    bool TimePCharToHMS(const char16_t* Picture, const char16_t* S, std::int32_t& Hours, std::int32_t& Minutes,
        std::int32_t& Seconds) const;
    std::int32_t TimeStringToTime(std::u16string_view Picture, std::u16string_view S) const;
    std::int32_t TimePCharToTime(const char16_t* Picture, const char16_t* S) const;

private:
    void ReadLocale();
    void ExtractLongDateLiterals();
    void MarkNameFields();
    std::u16string MonthName(std::int32_t Month, std::size_t Width) const;
    std::u16string DayName(std::int32_t Day, std::size_t Width) const;
    std::u16string WriteDate(std::u16string_view Picture, std::int32_t Day, std::int32_t Month, std::int32_t Year,
        bool Pack, std::int32_t Epoch) const;
    std::u16string WriteBlankDate(std::u16string_view Picture) const;
    void FillLiterals(std::u16string& Result, std::u16string_view Picture) const;
    std::u16string WriteTime(std::u16string_view Picture, std::int32_t T, bool Pack, const std::u16string& Am,
        const std::u16string& Pm) const;
    // Day, Month and Year come in with the values of absent fields and go
    // out with what the text holds; a blank field gives Blank.
    void ReadDateFields(std::u16string_view Picture, std::u16string_view S, std::int32_t Blank, std::int32_t& Day,
        std::int32_t& Month, std::int32_t& Year) const;
    plat::LRESULT UtilityWindowProc(plat::UINT Message);
    void ReleaseUtilityWindow();

    bool FAutoUpdate = false;
    plat::HWND FIntlHandle = 0;               // utility window while AutoUpdate is on
    std::u16string FCountry;
    char16_t FColonChar = u':';               // time separator
    std::u16string Fw1159 = u"AM";
    std::u16string Fw2359 = u"PM";
    std::int32_t FwCurrencyForm = 0;          // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $"
    std::int32_t FwNegCurrencyForm = 0;
    bool FwTLZero = false;                    // hours with a leading zero
    bool Fw12Hour = false;                    // hours on the 12-hour clock with AM/PM
    std::u16string FwShortDate = u"MM/dd/yy"; // at most MaxShortDateLength characters
    std::u16string FwLongDate = u"dddd, MMMM dd, yyyy"; // at most MaxLongDateLength characters
    std::array<std::u16string, 3> FLongDateLiterals; // under the markers f, g, h; at most 6 characters each
    std::array<std::u16string, 12> FShortMonthNames;
    std::array<std::u16string, 12> FLongMonthNames;
    std::array<std::u16string, 7> FShortDayNames; // Sunday first
    std::array<std::u16string, 7> FLongDayNames;
};

// The library's one international-support object, from InitIntlUnit to
// FinalizeIntlUnit; nullptr outside.
extern TPgcIntlSup* DefaultIntlSup;

// Sets the start year and month (InitDaysUnit), then creates DefaultIntlSup
// from the current locale provider.
void InitIntlUnit();
void FinalizeIntlUnit();

} // namespace qel
