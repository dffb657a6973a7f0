// Dates and times written into pictures and read back from typed text:
// the text forms of the international support's conversions.
#include "widgets/pages/pgc_intl.h"

#include "widgets/pages/pgc_picture_fields.h"

#include <algorithm>

namespace qel {
namespace {

constexpr std::size_t MaxAmPmFieldLength = 21;
constexpr char16_t MinuteKey = u'/';       // an "m" right after "/" is the month's
constexpr std::int32_t BlankField = -1;    // a field present but not typed
constexpr std::int32_t BlankForCheck = -2; // the same when only blankness is asked

std::u16string_view Cut(std::u16string_view Text)
{
    return Text.substr(0, std::min(Text.size(), MaxPictureTextLength));
}

// The minutes of a time picture: the first "m" run after the hours field
// (after the start without one) that does not follow a "/", so that the
// month of a date-time picture such as mm/dd/yyyy hh:mm is never taken.
TPictureField MinutesField(std::u16string_view Picture)
{
    const TPictureField hours = FindPictureField(Picture, u'h');
    return FindPictureField(Picture, u'm', MinuteKey, hours.Present() ? hours.Start + hours.Width : 0);
}

void FillNumber(std::u16string& Result, std::u16string_view Picture, const TPictureField& Field, std::int64_t Value)
{
    if (Field.Present()) {
        FillPictureField(Result, Picture, Field, FieldNumberText(Value, Field.Width));
    }
}

void FillNumber(std::u16string& Result, std::u16string_view Picture, char16_t Letter, std::int64_t Value)
{
    FillNumber(Result, Picture, FindPictureField(Picture, Letter), Value);
}

// The number typed under a field: Unset when the picture lacks it, Blank
// when nothing was typed there, -1 when it is no number.
std::int32_t ReadNumberField(std::u16string_view S, const TPictureField& Field, std::int32_t Unset,
    std::int32_t Blank)
{
    if (!Field.Present()) {
        return Unset;
    }
    const std::u16string typed = CollectFieldText(S, Field);
    return typed.empty() ? Blank : FieldTextToNumber(typed);
}

std::int32_t ReadNumberField(std::u16string_view Picture, std::u16string_view S, char16_t Letter,
    std::int32_t Unset, std::int32_t Blank)
{
    return ReadNumberField(S, FindPictureField(Picture, Letter), Unset, Blank);
}

std::u16string TrailingBlanksRemoved(std::u16string Text)
{
    while (!Text.empty() && Text.back() <= u' ') {
        Text.pop_back();
    }
    return Text;
}

// Hours of the 12-hour clock turned back into 0 .. 23 by the typed mark
// (compared with each text cut to the mark's length); -1 for a mark that
// is neither text, or for hours the mark does not allow.
std::int32_t HoursOfMark(std::int32_t Hours, std::u16string_view Mark, std::u16string_view Am,
    std::u16string_view Pm)
{
    if (Mark.empty()) {
        return -1;
    }
    if (SameTextIgnoringCase(Pm.substr(0, Mark.size()), Mark)) {
        if (Hours >= 0 && Hours <= 11) {
            return Hours + 12;
        }
        return Hours == 12 ? 12 : -1;
    }
    if (SameTextIgnoringCase(Am.substr(0, Mark.size()), Mark)) {
        if (Hours == 12) {
            return 0;
        }
        return Hours >= 1 && Hours <= 11 ? Hours : -1;
    }
    return -1;
}

} // namespace

// ---- Writing dates ----

std::u16string TPgcIntlSup::WriteDate(std::u16string_view Picture, std::int32_t Day, std::int32_t Month,
    std::int32_t Year, bool Pack, std::int32_t Epoch) const
{
    const std::int32_t year = Year < 100 ? ResolveEpochYear(Year, Epoch) : Year;
    const auto weekday = static_cast<std::int32_t>(DMYToWeekDay(Day, Month, year, 0));
    std::u16string result(Picture);
    FillNumber(result, Picture, u'm', Month);
    FillNumber(result, Picture, u'd', Day);
    FillNumber(result, Picture, u'y', year);
    if (const TPictureField field = FindPictureField(Picture, u'n'); field.Present()) {
        FillPictureField(result, Picture, field, MonthName(Month, field.Width));
    }
    if (const TPictureField field = FindPictureField(Picture, u'w'); field.Present()) {
        FillPictureField(result, Picture, field, DayName(weekday, field.Width));
    }
    ReplaceUnderPicture(result, Picture, u'/', SlashChar);
    FillLiterals(result, Picture);
    return Pack ? PackFilledText(Picture, result) : result;
}

std::u16string TPgcIntlSup::WriteBlankDate(std::u16string_view Picture) const
{
    std::u16string result(Picture);
    for (const char16_t letter : {u'm', u'n', u'd', u'y', u'w'}) {
        BlankPictureLetter(result, Picture, letter);
    }
    FillLiterals(result, Picture);
    ReplaceUnderPicture(result, Picture, u'/', SlashChar);
    return result;
}

void TPgcIntlSup::FillLiterals(std::u16string& Result, std::u16string_view Picture) const
{
    for (std::size_t k = 0; k < 3; ++k) {
        const std::size_t start = Picture.find(LongDateLiteralMarkers[k]);
        if (start == std::u16string_view::npos) {
            continue;
        }
        const std::u16string& literal = FLongDateLiterals[k];
        for (std::size_t i = start, n = 0; i < Picture.size() && Picture[i] == LongDateLiteralMarkers[k]; ++i, ++n) {
            Result[i] = n < literal.size() ? literal[n] : u' ';
        }
    }
}

std::u16string TPgcIntlSup::DMYtoDateString(std::u16string_view Picture, std::int32_t Day, std::int32_t Month,
    std::int32_t Year, bool Pack, std::int32_t Epoch) const
{
    return WriteDate(Cut(Picture), Day, Month, Year, Pack, Epoch);
}

std::u16string TPgcIntlSup::DateToDateString(std::u16string_view Picture, std::int32_t Julian, bool Pack) const
{
    if (Julian < MinDayNumber || Julian > MaxDayNumber) {
        return WriteBlankDate(Cut(Picture));
    }
    std::int32_t day = 0;
    std::int32_t month = 0;
    std::int32_t year = 0;
    DayNumberToDMY(Julian, day, month, year);
    return WriteDate(Cut(Picture), day, month, year, Pack, 0);
}

std::u16string TPgcIntlSup::CurrentDateString(std::u16string_view Picture, bool Pack) const
{
    return DateToDateString(Picture, CurrentDayNumber(), Pack);
}

std::u16string TPgcIntlSup::DateTimeToDate(std::u16string_view Picture, plat::TDateTime DT, bool Pack) const
{
    const std::u16string withTime = WriteTime(Cut(Picture), DateTimeToSecondsOfDay(DT), false, Fw1159, Fw2359);
    return DateToDateString(withTime, DateTimeToDayNumber(DT), Pack);
}

// ---- Writing times ----

std::u16string TPgcIntlSup::WriteTime(std::u16string_view Picture, std::int32_t T, bool Pack,
    const std::u16string& Am, const std::u16string& Pm) const
{
    // Any count outside the day is no time, like BadDayNumber.
    const bool noTime = T < 0 || T >= SecondsPerDay;
    std::uint8_t hours = 0;
    std::uint8_t minutes = 0;
    std::uint8_t seconds = 0;
    SecondsOfDayToHMS(noTime ? BadDayNumber : T, hours, minutes, seconds);
    const TPictureField mark = FindPictureField(Picture, u't');
    const std::u16string& markText = hours < 12 ? Am : Pm;
    std::int32_t shownHours = hours;
    if (mark.Present() && !Am.empty() && !Pm.empty()) {
        shownHours = hours % 12 == 0 ? 12 : hours % 12;
    }

    std::u16string result(Picture);
    if (noTime) {
        for (const char16_t letter : {u'h', u'm', u's'}) {
            BlankPictureLetter(result, Picture, letter);
        }
    } else {
        FillNumber(result, Picture, u'h', shownHours);
        FillNumber(result, Picture, MinutesField(Picture), minutes);
        FillNumber(result, Picture, u's', seconds);
    }
    ReplaceUnderPicture(result, Picture, u':', FColonChar);
    if (mark.Present()) {
        const bool noMark = (Am.empty() && Pm.empty()) || (noTime && Am.empty());
        for (std::size_t k = 0; k < mark.Width; ++k) {
            if (noMark) {
                result[mark.Start + k] = u' ';
            } else if (k < markText.size()) {
                result[mark.Start + k] = markText[k];
            }
        }
    }
    return Pack && !noTime ? PackFilledText(Picture, result) : result;
}

std::u16string TPgcIntlSup::TimeToTimeString(std::u16string_view Picture, std::int32_t T, bool Pack) const
{
    return WriteTime(Cut(Picture), T, Pack, Fw1159, Fw2359);
}

std::u16string TPgcIntlSup::TimeToAmPmString(std::u16string_view Picture, std::int32_t T, bool Pack) const
{
    static const std::u16string Am = u"AM";
    static const std::u16string Pm = u"PM";
    std::u16string picture(Cut(Picture));
    if (!FindPictureField(picture, u't').Present()) {
        picture += u't';
    }
    return WriteTime(picture, T, Pack, Am, Pm);
}

std::u16string TPgcIntlSup::CurrentTimeString(std::u16string_view Picture, bool Pack) const
{
    return TimeToTimeString(Picture, CurrentSecondsOfDay(), Pack);
}

// ---- Reading dates ----

void TPgcIntlSup::ReadDateFields(std::u16string_view Picture, std::u16string_view S, std::int32_t Blank,
    std::int32_t& Day, std::int32_t& Month, std::int32_t& Year) const
{
    std::int32_t month = 0;
    if (const TPictureField field = FindPictureField(Picture, u'n'); field.Present()) {
        const std::u16string typed = CollectFieldText(S, field);
        if (typed.empty()) {
            month = Blank;
        } else {
            month = MonthStringToMonth(typed, static_cast<std::uint8_t>(std::min<std::size_t>(field.Width, 255)));
            month = month == 0 ? -1 : month;
        }
    }
    Month = month != 0 ? month : ReadNumberField(Picture, S, u'm', Month, Blank);
    Day = ReadNumberField(Picture, S, u'd', Day, Blank);
    Year = ReadNumberField(Picture, S, u'y', Year, Blank);
}

bool TPgcIntlSup::DateStringToDMY(std::u16string_view Picture, std::u16string_view S, std::int32_t& Day,
    std::int32_t& Month, std::int32_t& Year, std::int32_t Epoch) const
{
    const std::u16string_view picture = Cut(Picture);
    const std::u16string_view text = Cut(S);
    if (text.size() != picture.size()) {
        return false;
    }
    Day = 1;
    Month = StartMonth;
    Year = StartYear;
    ReadDateFields(picture, text, BlankField, Day, Month, Year);
    return IsValidDMY(Day, Month, Year, Epoch);
}

std::int32_t TPgcIntlSup::DateStringToDate(std::u16string_view Picture, std::u16string_view S,
    std::int32_t Epoch) const
{
    std::int32_t day = 0;
    std::int32_t month = 0;
    std::int32_t year = 0;
    if (!DateStringToDMY(Picture, S, day, month, year, Epoch)) {
        return BadDayNumber;
    }
    return DateToDayNumber(day, month, year, Epoch);
}

bool TPgcIntlSup::DateStringIsBlank(std::u16string_view Picture, std::u16string_view S) const
{
    const std::u16string_view picture = Cut(Picture);
    const std::u16string_view text = Cut(S);
    if (text.size() != picture.size()) {
        return true;
    }
    std::int32_t day = BlankForCheck;
    std::int32_t month = BlankForCheck;
    std::int32_t year = BlankForCheck;
    ReadDateFields(picture, text, BlankForCheck, day, month, year);
    return day == BlankForCheck && month == BlankForCheck && year == BlankForCheck;
}

// ---- Reading times ----

bool TPgcIntlSup::TimeStringToHMS(std::u16string_view Picture, std::u16string_view S, std::int32_t& Hours,
    std::int32_t& Minutes, std::int32_t& Seconds) const
{
    const std::u16string_view picture = Cut(Picture);
    const std::u16string_view text = Cut(S);
    if (text.size() != picture.size()) {
        return false;
    }
    Hours = ReadNumberField(picture, text, u'h', 0, BlankField);
    Minutes = ReadNumberField(text, MinutesField(picture), 0, BlankField);
    Seconds = ReadNumberField(picture, text, u's', 0, BlankField);
    if (Hours == -1 || Minutes == -1 || Seconds == -1) {
        return false;
    }
    const TPictureField mark = FindPictureField(picture, u't');
    if (mark.Present() && !Fw1159.empty() && !Fw2359.empty()) {
        const std::size_t width = std::min(mark.Width, MaxAmPmFieldLength);
        const std::u16string typed = TrailingBlanksRemoved(std::u16string(text.substr(mark.Start, width)));
        Hours = HoursOfMark(Hours, typed, Fw1159, Fw2359);
    }
    return IsValidHMS(Hours, Minutes, Seconds);
}

std::int32_t TPgcIntlSup::TimeStringToTime(std::u16string_view Picture, std::u16string_view S) const
{
    std::int32_t hours = 0;
    std::int32_t minutes = 0;
    std::int32_t seconds = 0;
    if (!TimeStringToHMS(Picture, S, hours, minutes, seconds)) {
        return BadDayNumber;
    }
    return HMSToSecondsOfDay(static_cast<std::uint8_t>(hours), static_cast<std::uint8_t>(minutes),
        static_cast<std::uint8_t>(seconds));
}

} // namespace qel
