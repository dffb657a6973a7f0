// Fuzz target for the international support's date and time pictures:
// arbitrary pictures (longer than the 255 characters a picture may hold,
// too), values and typed texts reach the writers and readers under two
// locales. Written texts are as long as the cut picture (packed ones at
// most 80 characters), the buffer forms give a prefix of the text forms
// within their capacity, readers answer a valid value or the bad value, and
// the locale's own pictures read back what they wrote.
#include "widgets/pages/pgc_intl.h"

#include "platform/locale.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr std::size_t MaxPicture = 255;
constexpr std::size_t MaxPacked = 80;

void Require(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

// Bytes read one at a time; 0 once they run out.
struct TBytes {
    const uint8_t* At;
    const uint8_t* End;

    uint8_t Next() { return At < End ? *At++ : 0; }
    bool Empty() const { return At >= End; }
    std::int32_t Int32()
    {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            value = value << 8 | Next();
        }
        return static_cast<std::int32_t>(value);
    }
};

// Mostly the picture language's own letters and separators, now and then
// any 16-bit unit; a run ends at the byte 0xFF.
std::u16string Units(TBytes& bytes, std::u16string_view alphabet, std::size_t limit)
{
    std::u16string units;
    while (!bytes.Empty() && units.size() < limit) {
        const uint8_t byte = bytes.Next();
        if (byte == 0xFF) {
            break;
        }
        if (byte >= 0xF0) {
            // Any unit but the terminator, which the buffer forms stop at.
            const auto unit = static_cast<char16_t>(bytes.Next() | bytes.Next() << 8);
            units.push_back(unit == 0 ? u'\x01' : unit);
        } else {
            units.push_back(alphabet[byte % alphabet.size()]);
        }
    }
    return units;
}

// The two supports, each built once under its locale.
struct TSupports {
    std::unique_ptr<qel::TPgcIntlSup> Default;
    std::unique_ptr<qel::TPgcIntlSup> German;
    TSupports()
    {
        qel::InitDaysUnit();
        {
            const plat::TFixedLocaleProvider provider("en_US");
            const plat::TScopedLocaleProvider scope(provider);
            Default = std::make_unique<qel::TPgcIntlSup>();
        }
        {
            const plat::TFixedLocaleProvider provider("de_DE");
            const plat::TScopedLocaleProvider scope(provider);
            German = std::make_unique<qel::TPgcIntlSup>();
        }
    }
};

bool ValidDay(std::int32_t day)
{
    return day == qel::BadDayNumber || (day >= qel::MinDayNumber && day <= qel::MaxDayNumber);
}

bool ValidSeconds(std::int32_t seconds)
{
    return seconds == qel::BadDayNumber || (seconds >= 0 && seconds < 86400);
}

// The buffer form with a capacity: nothing for capacity 0, else the text
// form cut to the capacity less its terminator.
template <class TWrite>
void CheckBufferForm(const std::u16string& text, std::size_t capacity, TWrite write)
{
    std::vector<char16_t> buffer(capacity + 1, u'#');
    char16_t* result = write(std::span<char16_t>(buffer.data(), capacity));
    Require(buffer[capacity] == u'#'); // nothing written past the capacity
    if (capacity == 0) {
        Require(result == nullptr);
        return;
    }
    Require(result == buffer.data());
    Require(std::u16string(buffer.data()) == text.substr(0, std::min(text.size(), capacity - 1)));
}

void CheckWriters(const qel::TPgcIntlSup& intl, const std::u16string& picture, std::int32_t value,
    std::int32_t time, bool pack, std::size_t capacity)
{
    const std::size_t cut = std::min(picture.size(), MaxPicture);
    // Only a valid date or time is packed; anything else leaves blanks.
    const bool validDate = value >= qel::MinDayNumber && value <= qel::MaxDayNumber;
    const std::u16string date = intl.DateToDateString(picture, value, pack);
    Require(pack && validDate ? date.size() <= MaxPacked : date.size() == cut);
    CheckBufferForm(date, capacity, [&](std::span<char16_t> dest) {
        return intl.DateToDatePChar(dest, picture.substr(0, cut).c_str(), value, pack);
    });
    const std::u16string dmy = intl.DMYtoDateString(picture, value % 40, (value >> 8) % 16, value >> 12, pack,
        (value >> 4) % 4000);
    Require(pack ? dmy.size() <= MaxPacked : dmy.size() == cut);

    const std::u16string clock = intl.TimeToTimeString(picture, time, pack);
    Require(pack && time >= 0 && time < 86400 ? clock.size() <= MaxPacked : clock.size() == cut);
    CheckBufferForm(clock, capacity, [&](std::span<char16_t> dest) {
        return intl.TimeToTimePChar(dest, picture.substr(0, cut).c_str(), time, pack);
    });
    intl.TimeToAmPmString(picture, time, pack);
    intl.DateTimeToDate(picture, static_cast<double>(value) / 7.0, pack);
}

void CheckReaders(const qel::TPgcIntlSup& intl, const std::u16string& picture, const std::u16string& text,
    std::int32_t epoch)
{
    std::int32_t day = 0;
    std::int32_t month = 0;
    std::int32_t year = 0;
    if (intl.DateStringToDMY(picture, text, day, month, year, epoch)) {
        Require(qel::IsValidDMY(day, month, year, epoch));
    }
    Require(ValidDay(intl.DateStringToDate(picture, text, epoch)));
    intl.DateStringIsBlank(picture, text);
    std::int32_t hours = 0;
    std::int32_t minutes = 0;
    std::int32_t seconds = 0;
    if (intl.TimeStringToHMS(picture, text, hours, minutes, seconds)) {
        Require(qel::IsValidHMS(hours, minutes, seconds));
    }
    Require(ValidSeconds(intl.TimeStringToTime(picture, text)));
    const std::int32_t monthOfName = intl.MonthStringToMonth(text, static_cast<std::uint8_t>(epoch));
    Require(monthOfName >= 0 && monthOfName <= 12);
}

// The locale's own pictures read back the valid value they wrote.
void CheckRoundTrips(const qel::TPgcIntlSup& intl, std::int32_t value, std::int32_t time)
{
    const std::int32_t day = static_cast<std::int32_t>(static_cast<std::uint32_t>(value) % (qel::MaxDayNumber + 1));
    const std::int32_t seconds = static_cast<std::int32_t>(static_cast<std::uint32_t>(time) % 86400);
    for (const std::u16string& picture : {intl.InternationalDate(true), intl.InternationalLongDate(false, false)}) {
        Require(intl.DateStringToDate(picture, intl.DateToDateString(picture, day, false), 0) == day);
    }
    const std::u16string withSeconds = intl.InternationalTime(true);
    Require(intl.TimeStringToTime(withSeconds, intl.TimeToTimeString(withSeconds, seconds, false)) == seconds);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const TSupports supports;
    if (size < 12) {
        return 0;
    }
    TBytes bytes{data, data + size};
    const qel::TPgcIntlSup& intl = (bytes.Next() & 1) != 0 ? *supports.German : *supports.Default;
    const uint8_t flags = bytes.Next();
    const bool pack = (flags & 1) != 0;
    const std::size_t capacity = bytes.Next() % 90;
    const std::int32_t value = (flags & 2) != 0 ? bytes.Int32()
                                                : static_cast<std::int32_t>(bytes.Int32() % 900000) - 10000;
    const std::int32_t time = (flags & 4) != 0 ? bytes.Int32() : static_cast<std::int32_t>(bytes.Int32() % 90000) - 100;
    const std::int32_t epoch = (flags & 8) != 0 ? 1950 : 0;

    const std::u16string picture = Units(bytes, u"ddDDmmMMnNyyYYwWhHsStt/:fg .,-'X", (flags & 16) != 0 ? 300 : 40);
    // The text typed under it: digits, blanks, month and marker letters.
    std::u16string text = Units(bytes, u"0123456789  /:.APMapmJjuUnNeEbB", 300);
    if ((flags & 32) != 0) {
        text.resize(std::min(picture.size(), MaxPicture), u' ');
    }

    CheckWriters(intl, picture, value, time, pack, capacity);
    CheckReaders(intl, picture, text, epoch);
    CheckRoundTrips(intl, value, time);
    return 0;
}
