// The buffer forms of the international support's conversions: each reads
// its zero-terminated inputs (at most 255 units), runs the text form and
// writes the result cut to the destination's capacity.
#include "widgets/pages/pgc_intl.h"

#include "widgets/pages/pgc_picture_fields.h"

#include <algorithm>

namespace qel {
namespace {

std::u16string_view BufferText(const char16_t* S)
{
    if (S == nullptr) {
        return {};
    }
    std::size_t length = 0;
    while (length < MaxPictureTextLength && S[length] != u'\0') {
        ++length;
    }
    return {S, length};
}

char16_t* ToBuffer(std::span<char16_t> Dest, std::u16string_view Text)
{
    if (Dest.empty()) {
        return nullptr;
    }
    const std::size_t length = std::min(Text.size(), Dest.size() - 1);
    std::copy_n(Text.begin(), length, Dest.begin());
    Dest[length] = u'\0';
    return Dest.data();
}

} // namespace

char16_t* TPgcIntlSup::InternationalDatePChar(std::span<char16_t> Dest, bool ForceCentury) const
{
    return ToBuffer(Dest, InternationalDate(ForceCentury));
}

char16_t* TPgcIntlSup::InternationalLongDatePChar(std::span<char16_t> Dest, bool ShortNames, bool ExcludeDOW) const
{
    return ToBuffer(Dest, InternationalLongDate(ShortNames, ExcludeDOW));
}

char16_t* TPgcIntlSup::InternationalTimePChar(std::span<char16_t> Dest, bool ShowSeconds) const
{
    return ToBuffer(Dest, InternationalTime(ShowSeconds));
}

char16_t* TPgcIntlSup::InternationalCurrencyPChar(std::span<char16_t> Dest, char16_t Picture,
    std::uint8_t MaxDigits, bool Float, bool AddCommas, bool IsNumeric) const
{
    return ToBuffer(Dest, InternationalCurrency(Picture, MaxDigits, Float, AddCommas, IsNumeric));
}

char16_t* TPgcIntlSup::MonthToPChar(std::span<char16_t> Dest, std::int32_t Month) const
{
    return ToBuffer(Dest, MonthToString(Month));
}

char16_t* TPgcIntlSup::DayOfWeekToPChar(std::span<char16_t> Dest, TSysDayType Day) const
{
    return ToBuffer(Dest, DayOfWeekToString(Day));
}

std::int32_t TPgcIntlSup::MonthPCharToMonth(const char16_t* S, std::uint8_t Width) const
{
    return MonthStringToMonth(BufferText(S), Width);
}

char16_t* TPgcIntlSup::DMYtoDatePChar(std::span<char16_t> Dest, const char16_t* Picture, std::int32_t Day,
    std::int32_t Month, std::int32_t Year, bool Pack, std::int32_t Epoch) const
{
    return ToBuffer(Dest, DMYtoDateString(BufferText(Picture), Day, Month, Year, Pack, Epoch));
}

char16_t* TPgcIntlSup::DateToDatePChar(std::span<char16_t> Dest, const char16_t* Picture, std::int32_t Julian,
    bool Pack) const
{
    return ToBuffer(Dest, DateToDateString(BufferText(Picture), Julian, Pack));
}

char16_t* TPgcIntlSup::CurrentDatePChar(std::span<char16_t> Dest, const char16_t* Picture, bool Pack) const
{
    return ToBuffer(Dest, CurrentDateString(BufferText(Picture), Pack));
}

char16_t* TPgcIntlSup::DateTimeToDatePChar(std::span<char16_t> Dest, const char16_t* Picture, plat::TDateTime DT,
    bool Pack) const
{
    return ToBuffer(Dest, DateTimeToDate(BufferText(Picture), DT, Pack));
}

bool TPgcIntlSup::DatePCharToDMY(const char16_t* Picture, const char16_t* S, std::int32_t& Day,
    std::int32_t& Month, std::int32_t& Year, std::int32_t Epoch) const
{
    return DateStringToDMY(BufferText(Picture), BufferText(S), Day, Month, Year, Epoch);
}

std::int32_t TPgcIntlSup::DatePCharToDate(const char16_t* Picture, const char16_t* S, std::int32_t Epoch) const
{
    return DateStringToDate(BufferText(Picture), BufferText(S), Epoch);
}

bool TPgcIntlSup::DatePCharIsBlank(const char16_t* Picture, const char16_t* S) const
{
    return DateStringIsBlank(BufferText(Picture), BufferText(S));
}

char16_t* TPgcIntlSup::TimeToTimePChar(std::span<char16_t> Dest, const char16_t* Picture, std::int32_t T,
    bool Pack) const
{
    return ToBuffer(Dest, TimeToTimeString(BufferText(Picture), T, Pack));
}

char16_t* TPgcIntlSup::TimeToAmPmPChar(std::span<char16_t> Dest, const char16_t* Picture, std::int32_t T,
    bool Pack) const
{
    return ToBuffer(Dest, TimeToAmPmString(BufferText(Picture), T, Pack));
}

char16_t* TPgcIntlSup::CurrentTimePChar(std::span<char16_t> Dest, const char16_t* Picture, bool Pack) const
{
    return ToBuffer(Dest, CurrentTimeString(BufferText(Picture), Pack));
}

bool TPgcIntlSup::TimePCharToHMS(const char16_t* Picture, const char16_t* S, std::int32_t& Hours,
    std::int32_t& Minutes, std::int32_t& Seconds) const
{
    return TimeStringToHMS(BufferText(Picture), BufferText(S), Hours, Minutes, Seconds);
}

std::int32_t TPgcIntlSup::TimePCharToTime(const char16_t* Picture, const char16_t* S) const
{
    return TimeStringToTime(BufferText(Picture), BufferText(S));
}

} // namespace qel
