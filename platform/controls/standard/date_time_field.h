// TCustomDateTimeField: a field that shows a date-time value by a pattern
// ("dd.MM.yyyy", "HH:mm:ss") as segments, one of them selected. Digits type
// the selected segment's number (the field moves on when no further digit
// fits, and a separator typed right after that is taken as said), a
// separator or Right goes to the next segment and Left to the one before, Up and Down (and the spin buttons at the right) step the selected
// segment; a month shown by name also takes its first letter. The value is
// always a valid date and time of whole seconds: a day beyond the month's end
// becomes its last day, and years stay within 1..9999. TDateField and
// TTimeField differ only in the program format they follow.
#pragma once

#include "platform/controls/custom_control.h"
#include "platform/date_time.h"
#include "platform/format_settings.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

// What one segment of a field's pattern shows.
enum class TFieldPart : std::uint8_t {
    Literal,        // text that stands for itself
    DayName,        // the day of the week, short or long name (shown, not edited)
    LongDayName,
    Day,
    Month,
    MonthName,      // short month name
    LongMonthName,
    Year2,          // two digits: typing keeps the century
    Year4,
    Hour24,
    Hour12,         // 1..12 beside an AM/PM mark
    Minute,
    Second,
    AmPm,
};

struct TFieldSegment {
    TFieldPart Part = TFieldPart::Literal;
    bool LeadingZero = false;  // numbers shown with two digits at least
    std::string Text;          // a literal's text; the AM/PM mark as written ("ampm", "am/pm", "a/p")
};

// Splits a pattern into segments. Letters in either case: d dd (day), ddd
// dddd (day name), m mm (month, but minutes right after an hour or before
// seconds), mmm mmmm (month name), y yy (two-digit year), yyy yyyy (year),
// h hh (hour; 1..12 when the pattern holds an AM/PM mark), n nn (minutes),
// s ss (seconds), "am/pm", "a/p" and "ampm" (the settings' AM and PM texts).
// "/" and ":" are the settings' date and time separators; '...' and "..."
// literal text; anything else stands for itself.
std::vector<TFieldSegment> ParseFieldPattern(std::string_view pattern, const TFormatSettings& settings);

class TCustomDateTimeField : public TCustomControl {
    PLAT_CLASS(TCustomDateTimeField, TCustomControl)
    PLAT_MESSAGES(TCustomDateTimeField, TCustomControl)
public:
    explicit TCustomDateTimeField(TComponent* owner);

    // The value in whole seconds. Setting raises EConvertError for a value
    // that is no date and time of the years 1..9999; milliseconds are dropped.
    TDateTime DateTime() const;
    void SetDateTime(TDateTime value);
    // The pattern shown; empty: the program's format of the field's kind, as
    // the program's format settings hold it when the field paints.
    const std::string& Format() const { return FFormat; }
    void SetFormat(const std::string& value);
    // The part of the selected segment (Literal when nothing can be edited).
    TFieldPart SelectedPart() const;
    // The text as shown, a segment being typed as far as it is typed.
    std::string DisplayText() const;

    TNotifyEvent OnChange;  // the user changed the value

protected:
    // The program's format of the field's kind.
    virtual std::string DefaultFormat() const = 0;
    // The value's parts; the milliseconds are always 0.
    const TDateTimeParts& Parts() const { return FParts; }
    // Puts in valid parts (milliseconds dropped) without OnChange.
    void AssignParts(const TDateTimeParts& parts);
    // Takes the listed members of value's parts, keeping the others; raises
    // EConvertError for a value outside the years 1..9999.
    void AssignMembers(TDateTime value, std::initializer_list<int TDateTimeParts::*> members);
    // Runs OnChange.
    virtual void Change();

    void CreateParams(TCreateParams& params) override;
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

    void WMGetDlgCode(TMessage& message);
    void WMKeyDown(TMessage& message);
    void WMChar(TMessage& message);
    void WMSetFocus(TMessage& message);
    void WMKillFocus(TMessage& message);

private:
    std::vector<TFieldSegment> Segments() const;
    // The text a segment shows now.
    std::string SegmentText(const std::vector<TFieldSegment>& segments, int index) const;
    // The index of the selected segment: the remembered one when it can be
    // edited, else the nearest editable one; -1 when there is none.
    int SelectedIndex(const std::vector<TFieldSegment>& segments) const;
    // Left edges of the segments and, last, the right edge of the text.
    std::vector<int> SegmentEdges(const std::vector<TFieldSegment>& segments);
    TRect SpinRect() const;
    // Moves the selection by steps editable segments (no further than the ends).
    void SelectBy(int steps);
    // Selects the editable segment nearest the client x.
    void SelectNearest(int x);
    void TypeDigit(char16_t digit);
    void TypeLetter(char16_t letter);
    // Takes the typed digits into the value.
    void CommitTyped();
    // Steps the selected segment's value up or down by one.
    void StepSelected(int delta);
    // New parts from the user: shown, and OnChange when they differ.
    void UserChanged(const TDateTimeParts& parts);

    TDateTimeParts FParts{1899, 12, 30, 0, 0, 0, 0};
    std::string FFormat;
    int FSelected = 0;        // the selected segment, by index in the pattern
    std::string FTyped;       // digits typed into the selected segment, not taken yet
    bool FMovedOn = false;    // a full segment moved the selection on: the separator typed next is spent
};

} // namespace plat
