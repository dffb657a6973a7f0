// The date-time pattern interpreter.
#include "platform/date_time_format.h"

#include "platform/quoted_text.h"

#include <charconv>
#include <iterator>

namespace plat {

namespace {

// Formats of the settings may name each other ("c" in a short date format);
// deeper expansions print nothing.
constexpr int MaxExpansionDepth = 3;

// Pattern letters are ASCII; other bytes stay as they are.
char Upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool StartsWithNoCase(std::string_view text, std::size_t at, std::string_view prefix)
{
    if (text.size() - at < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (Upper(text[at + i]) != Upper(prefix[i]))
            return false;
    }
    return true;
}

// Length of the am/pm mark at pattern[at] ("am/pm", "a/p" or "ampm"); 0 for none.
std::size_t AmPmMarkLength(std::string_view pattern, std::size_t at)
{
    if (Upper(pattern[at]) != 'A')
        return 0;   // every mark begins with an a
    for (std::string_view mark : {"am/pm", "a/p", "ampm"}) {
        if (StartsWithNoCase(pattern, at, mark))
            return mark.size();
    }
    return 0;
}

class TDateTimeFormatter {
public:
    TDateTimeFormatter(TDateTime value, const TFormatSettings& settings)
        : FParts(DecodeDateTime(value)), FDayOfWeek(DayOfWeek(value)), FSettings(settings)
    {
    }

    void Append(std::string_view pattern, int depth);
    const std::string& Text() const { return FText; }

private:
    void AppendNumber(int number, int minDigits);
    void AppendDateAndTime(int depth);
    void AppendDay(int count, int depth);
    void AppendMonth(int count);
    void AppendHour(int count, bool twelveHourClock);
    void AppendAmPm(std::string_view pattern, std::size_t at, std::size_t length);
    bool HasTime() const { return FParts.Hour || FParts.Minute || FParts.Second || FParts.MilliSecond; }

    TDateTimeParts FParts;
    int FDayOfWeek;  // 1 Sunday .. 7 Saturday
    const TFormatSettings& FSettings;
    std::string FText;
};

// An "m" run means minutes right after an hour field or when the next field
// letter (quoted text skipped) is a seconds field.
bool MeansMinutes(std::string_view pattern, std::size_t afterRun, char lastField)
{
    if (lastField == 'H')
        return true;
    for (std::size_t i = afterRun; i < pattern.size();) {
        const char c = pattern[i];
        if (IsQuote(c)) {
            i = SkipQuoted(pattern, i);
        } else if (IsAsciiLetter(c)) {
            return Upper(c) == 'S';
        } else {
            ++i;
        }
    }
    return false;
}

// Hours are on the 12-hour clock when the pattern holds an am/pm mark, before
// or after them ("AMPM h:mm" as well as "h:mm AMPM").
bool HasAmPmMark(std::string_view pattern)
{
    for (std::size_t i = 0; i < pattern.size();) {
        const char c = pattern[i];
        if (IsQuote(c)) {
            i = SkipQuoted(pattern, i);
        } else if (AmPmMarkLength(pattern, i) > 0) {
            return true;
        } else {
            ++i;
        }
    }
    return false;
}

void TDateTimeFormatter::Append(std::string_view pattern, int depth)
{
    if (depth > MaxExpansionDepth)
        return;
    if (pattern.empty())
        pattern = "c";
    char lastField = 0;
    std::size_t i = 0;
    while (i < pattern.size()) {
        const char c = pattern[i];
        if (IsQuote(c)) {
            i = AppendQuoted(pattern, i, FText);
            continue;
        }
        if (c == '/') {
            FText += FSettings.DateSeparator;
            ++i;
            continue;
        }
        if (c == ':') {
            FText += FSettings.TimeSeparator;
            ++i;
            continue;
        }
        if (!IsAsciiLetter(c)) {
            FText += c;
            ++i;
            continue;
        }
        if (const std::size_t markLength = AmPmMarkLength(pattern, i)) {
            AppendAmPm(pattern, i, markLength);
            i += markLength;
            continue;
        }
        const char field = Upper(c);
        std::size_t runEnd = i + 1;
        while (runEnd < pattern.size() && Upper(pattern[runEnd]) == field)
            ++runEnd;
        const int count = static_cast<int>(runEnd - i);
        switch (field) {
        case 'C':
            AppendDateAndTime(depth);
            break;
        case 'D':
            AppendDay(count, depth);
            break;
        case 'M':
            if (MeansMinutes(pattern, runEnd, lastField))
                AppendNumber(FParts.Minute, count >= 2 ? 2 : 1);
            else
                AppendMonth(count);
            break;
        case 'N':
            AppendNumber(FParts.Minute, count >= 2 ? 2 : 1);
            break;
        case 'Y':
            if (count <= 2)
                AppendNumber(FParts.Year % 100, 2);
            else
                AppendNumber(FParts.Year, 4);
            break;
        case 'H':
            AppendHour(count, HasAmPmMark(pattern));
            break;
        case 'S':
            AppendNumber(FParts.Second, count >= 2 ? 2 : 1);
            break;
        case 'Z':
            AppendNumber(FParts.MilliSecond, count >= 3 ? 3 : 1);
            break;
        case 'T':
            Append(count >= 2 ? FSettings.LongTimeFormat : FSettings.ShortTimeFormat, depth + 1);
            break;
        default:
            FText.append(pattern.substr(i, runEnd - i));
            break;
        }
        lastField = field;
        i = runEnd;
    }
}

void TDateTimeFormatter::AppendNumber(int number, int minDigits)
{
    char digits[16];
    const char* end = std::to_chars(std::begin(digits), std::end(digits), number).ptr;
    const auto length = static_cast<int>(end - digits);
    if (length < minDigits)
        FText.append(static_cast<std::size_t>(minDigits - length), '0');
    FText.append(digits, static_cast<std::size_t>(length));
}

void TDateTimeFormatter::AppendDateAndTime(int depth)
{
    Append(FSettings.ShortDateFormat, depth + 1);
    if (HasTime()) {
        FText += ' ';
        Append(FSettings.LongTimeFormat, depth + 1);
    }
}

void TDateTimeFormatter::AppendDay(int count, int depth)
{
    switch (count) {
    case 1:
    case 2:
        AppendNumber(FParts.Day, count);
        break;
    case 3:
        FText += FSettings.ShortDayNames[FDayOfWeek - 1];
        break;
    case 4:
        FText += FSettings.LongDayNames[FDayOfWeek - 1];
        break;
    case 5:
        Append(FSettings.ShortDateFormat, depth + 1);
        break;
    default:
        Append(FSettings.LongDateFormat, depth + 1);
        break;
    }
}

void TDateTimeFormatter::AppendMonth(int count)
{
    if (count <= 2)
        AppendNumber(FParts.Month, count);
    else if (count == 3)
        FText += FSettings.ShortMonthNames[FParts.Month - 1];
    else
        FText += FSettings.LongMonthNames[FParts.Month - 1];
}

void TDateTimeFormatter::AppendHour(int count, bool twelveHourClock)
{
    int hour = FParts.Hour;
    if (twelveHourClock) {
        hour %= 12;
        if (hour == 0)
            hour = 12;
    }
    AppendNumber(hour, count >= 2 ? 2 : 1);
}

// "am/pm" and "a/p" print their own letters in the case written; "ampm" the
// settings' AM and PM strings.
void TDateTimeFormatter::AppendAmPm(std::string_view pattern, std::size_t at, std::size_t length)
{
    const bool morning = FParts.Hour < 12;
    switch (length) {
    case 5:  // am/pm
        FText.append(pattern.substr(morning ? at : at + 3, 2));
        break;
    case 3:  // a/p
        FText += pattern[morning ? at : at + 2];
        break;
    default:  // ampm
        FText += morning ? FSettings.TimeAMString : FSettings.TimePMString;
        break;
    }
}

} // namespace

std::string FormatDateTime(std::string_view pattern, TDateTime value, const TFormatSettings& settings)
{
    TDateTimeFormatter formatter(value, settings);
    formatter.Append(pattern, 0);
    return formatter.Text();
}

std::string DateToStr(TDateTime value, const TFormatSettings& settings)
{
    return FormatDateTime("ddddd", value, settings);
}

std::string TimeToStr(TDateTime value, const TFormatSettings& settings)
{
    return FormatDateTime("tt", value, settings);
}

std::string DateTimeToStr(TDateTime value, const TFormatSettings& settings)
{
    return FormatDateTime("c", value, settings);
}

} // namespace plat
