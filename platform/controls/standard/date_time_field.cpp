// TCustomDateTimeField: the pattern's segments, what each shows and how the
// keys, the mouse and the spin buttons change it, and the painting.
#include "platform/controls/standard/date_time_field.h"

#include "platform/controls/standard/standard_drawing.h"
#include "platform/controls/system_metrics.h"
#include "platform/controls/virtual_keys.h"
#include "platform/controls/window_messages.h"
#include "platform/controls/window_styles.h"
#include "platform/text_encoding.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace plat {

PLAT_DEFINE_CLASS(TCustomDateTimeField, TCustomControl,
    Published("Format", &TCustomDateTimeField::Format, &TCustomDateTimeField::SetFormat),
    Published("TabStop", &TCustomDateTimeField::TabStop, &TCustomDateTimeField::SetTabStop).Default(true))

PLAT_BEGIN_MESSAGES(TCustomDateTimeField, TCustomControl)
    PLAT_MESSAGE(WM_GETDLGCODE, WMGetDlgCode)
    PLAT_MESSAGE(WM_KEYDOWN, WMKeyDown)
    PLAT_MESSAGE(WM_CHAR, WMChar)
    PLAT_MESSAGE(WM_SETFOCUS, WMSetFocus)
    PLAT_MESSAGE(WM_KILLFOCUS, WMKillFocus)
PLAT_END_MESSAGES

namespace {

constexpr int TextMargin = 2;                  // between the border and the text
constexpr int SpinWidth = ScrollBarSize - 2;   // the up and down buttons at the right

// What a numeric segment may hold for the parts around it, and how many
// digits fill it.
struct TPartRange {
    int Min = 0;
    int Max = 0;
    int Digits = 0;
};

bool IsEditable(TFieldPart part)
{
    return part != TFieldPart::Literal && part != TFieldPart::DayName && part != TFieldPart::LongDayName;
}

TPartRange RangeOf(TFieldPart part, const TDateTimeParts& parts)
{
    switch (part) {
    case TFieldPart::Day:
        return {1, DaysInMonth(parts.Year, parts.Month), 2};
    case TFieldPart::Month:
    case TFieldPart::MonthName:
    case TFieldPart::LongMonthName:
    case TFieldPart::Hour12:
        return {1, 12, 2};
    case TFieldPart::Year2:
        return {0, 99, 2};
    case TFieldPart::Year4:
        return {1, 9999, 4};
    case TFieldPart::Hour24:
        return {0, 23, 2};
    case TFieldPart::Minute:
    case TFieldPart::Second:
        return {0, 59, 2};
    default:
        return {};
    }
}

// The member of the parts a numeric segment shows; nullptr for the others.
int TDateTimeParts::*MemberOf(TFieldPart part)
{
    switch (part) {
    case TFieldPart::Day:
        return &TDateTimeParts::Day;
    case TFieldPart::Month:
    case TFieldPart::MonthName:
    case TFieldPart::LongMonthName:
        return &TDateTimeParts::Month;
    case TFieldPart::Year2:
    case TFieldPart::Year4:
        return &TDateTimeParts::Year;
    case TFieldPart::Hour24:
    case TFieldPart::Hour12:
        return &TDateTimeParts::Hour;
    case TFieldPart::Minute:
        return &TDateTimeParts::Minute;
    case TFieldPart::Second:
        return &TDateTimeParts::Second;
    default:
        return nullptr;
    }
}

int ValueOf(TFieldPart part, const TDateTimeParts& parts)
{
    switch (part) {
    case TFieldPart::Year2:
        return parts.Year % 100;
    case TFieldPart::Hour12:
        return parts.Hour % 12 == 0 ? 12 : parts.Hour % 12;
    default:
        return MemberOf(part) != nullptr ? parts.*MemberOf(part) : 0;
    }
}

// The parts with one part set to value (in its range); a day beyond the end
// of the month becomes its last day.
TDateTimeParts WithValue(TFieldPart part, TDateTimeParts parts, int value)
{
    if (part == TFieldPart::Year2) {
        parts.Year = std::clamp(parts.Year / 100 * 100 + value, 1, 9999);
    } else if (part == TFieldPart::Hour12) {
        parts.Hour = value % 12 + (parts.Hour >= 12 ? 12 : 0);
    } else if (MemberOf(part) != nullptr) {
        parts.*MemberOf(part) = value;
    }
    parts.Day = std::min(parts.Day, DaysInMonth(parts.Year, parts.Month));
    return parts;
}

// One step up or down: years stop at 1 and 9999, the other numbers wrap
// within their range, the AM/PM mark toggles.
TDateTimeParts Stepped(TFieldPart part, TDateTimeParts parts, int delta)
{
    if (part == TFieldPart::AmPm) {
        parts.Hour = (parts.Hour + 12) % 24;
        return parts;
    }
    if (part == TFieldPart::Year2 || part == TFieldPart::Year4) {
        return WithValue(TFieldPart::Year4, parts, std::clamp(parts.Year + delta, 1, 9999));
    }
    const TPartRange range = RangeOf(part, parts);
    const int span = range.Max - range.Min + 1;
    const int offset = ((ValueOf(part, parts) - range.Min + delta) % span + span) % span;
    return WithValue(part, parts, range.Min + offset);
}

bool SameParts(const TDateTimeParts& a, const TDateTimeParts& b)
{
    return a.Year == b.Year && a.Month == b.Month && a.Day == b.Day && a.Hour == b.Hour && a.Minute == b.Minute &&
           a.Second == b.Second;
}

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [](char a, char b) { return LowerAscii(a) == LowerAscii(b); });
}

// The length of the AM/PM mark at the start of text; 0 for none.
std::size_t MarkLength(std::string_view text)
{
    for (std::string_view mark : {"am/pm", "ampm", "a/p"}) {
        if (StartsWithNoCase(text, mark)) {
            return mark.size();
        }
    }
    return 0;
}

// The AM and the PM text of a mark.
std::pair<std::string, std::string> MarkTexts(const std::string& mark, const TFormatSettings& settings)
{
    const std::size_t slash = mark.find('/');
    if (slash == std::string::npos) {
        return {settings.TimeAMString, settings.TimePMString};
    }
    return {mark.substr(0, slash), mark.substr(slash + 1)};
}

bool HasMark(std::string_view pattern)
{
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (MarkLength(pattern.substr(i)) > 0) {
            return true;
        }
    }
    return false;
}

bool IsLetter(char c)
{
    const char lower = LowerAscii(c);
    return lower >= 'a' && lower <= 'z';
}

// An "m" right before seconds means minutes.
bool SecondsFollow(std::string_view pattern, std::size_t from)
{
    while (from < pattern.size() && !IsLetter(pattern[from])) {
        ++from;
    }
    return from < pattern.size() && LowerAscii(pattern[from]) == 's';
}

bool IsHour(TFieldPart part)
{
    return part == TFieldPart::Hour24 || part == TFieldPart::Hour12;
}

std::string Number(int value, int width)
{
    std::string digits = std::to_string(value);
    if (static_cast<int>(digits.size()) < width) {
        digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
    }
    return digits;
}

// Whether a typed character chooses the name: its first letter, either case.
bool NameStartsWith(const std::string& name, char16_t letter)
{
    const std::u16string units = Utf8ToUtf16(name);
    return !units.empty() && FoldLetter(units.front()) == FoldLetter(letter);
}

} // namespace

std::vector<TFieldSegment> ParseFieldPattern(std::string_view pattern, const TFormatSettings& settings)
{
    std::vector<TFieldSegment> segments;
    TFieldPart lastField = TFieldPart::Literal;
    const auto literal = [&](std::string_view text) {
        if (text.empty()) {
            return;
        }
        if (!segments.empty() && segments.back().Part == TFieldPart::Literal) {
            segments.back().Text += text;
        } else {
            segments.push_back({TFieldPart::Literal, false, std::string(text)});
        }
    };
    const auto field = [&](TFieldPart part, bool leadingZero) {
        segments.push_back({part, leadingZero, {}});
        lastField = part;
    };
    const bool twelveHour = HasMark(pattern);
    std::size_t i = 0;
    while (i < pattern.size()) {
        const char c = pattern[i];
        if (c == '\'' || c == '"') {
            const std::size_t close = pattern.find(c, i + 1);
            const std::size_t end = close == std::string_view::npos ? pattern.size() : close;
            literal(pattern.substr(i + 1, end - i - 1));
            i = end + 1;
            continue;
        }
        if (const std::size_t mark = MarkLength(pattern.substr(i)); mark > 0) {
            segments.push_back({TFieldPart::AmPm, false, std::string(pattern.substr(i, mark))});
            i += mark;
            continue;
        }
        const char letter = LowerAscii(c);
        std::size_t run = 1;
        while (IsLetter(c) && i + run < pattern.size() && LowerAscii(pattern[i + run]) == letter) {
            ++run;
        }
        switch (letter) {
        case 'd':
            field(run >= 4 ? TFieldPart::LongDayName : run == 3 ? TFieldPart::DayName : TFieldPart::Day, run == 2);
            break;
        case 'm':
            if (IsHour(lastField) || SecondsFollow(pattern, i + run)) {
                field(TFieldPart::Minute, run >= 2);
            } else {
                field(run >= 4 ? TFieldPart::LongMonthName : run == 3 ? TFieldPart::MonthName : TFieldPart::Month,
                      run == 2);
            }
            break;
        case 'n':
            field(TFieldPart::Minute, run >= 2);
            break;
        case 'y':
            field(run <= 2 ? TFieldPart::Year2 : TFieldPart::Year4, true);
            break;
        case 'h':
            field(twelveHour ? TFieldPart::Hour12 : TFieldPart::Hour24, run >= 2);
            break;
        case 's':
            field(TFieldPart::Second, run >= 2);
            break;
        case '/':
            literal(std::string(1, settings.DateSeparator));
            break;
        case ':':
            literal(std::string(1, settings.TimeSeparator));
            break;
        default:
            literal(pattern.substr(i, run));
            break;
        }
        i += run;
    }
    return segments;
}

TCustomDateTimeField::TCustomDateTimeField(TComponent* owner) : TCustomControl(owner)
{
    FControlStyle -= TControlStyle{csAcceptsControls, csSetCaption};
    FTabStop = true;
    FColor = clWindow;
    FBrush->SetColor(FColor);
    FWidth = 121;
    FHeight = 21;
}

void TCustomDateTimeField::CreateParams(TCreateParams& params)
{
    TCustomControl::CreateParams(params);
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

TDateTime TCustomDateTimeField::DateTime() const
{
    return EncodeDateTime(FParts);
}

void TCustomDateTimeField::SetDateTime(TDateTime value)
{
    AssignParts(DecodeDateTime(value));
}

void TCustomDateTimeField::AssignParts(const TDateTimeParts& parts)
{
    TDateTime check = 0;
    if (!TryEncodeDateTime(parts, check)) {
        throw EConvertError("Invalid date or time for a date-time field");
    }
    FParts = parts;
    FParts.MilliSecond = 0;
    FTyped.clear();
    Invalidate();
}

void TCustomDateTimeField::AssignMembers(TDateTime value, std::initializer_list<int TDateTimeParts::*> members)
{
    const TDateTimeParts from = DecodeDateTime(value);
    TDateTimeParts parts = FParts;
    for (int TDateTimeParts::*member : members) {
        parts.*member = from.*member;
    }
    AssignParts(parts);
}

void TCustomDateTimeField::SetFormat(const std::string& value)
{
    FFormat = value;
    FTyped.clear();
    Invalidate();
}

void TCustomDateTimeField::Change()
{
    OnChange(this);
}

std::vector<TFieldSegment> TCustomDateTimeField::Segments() const
{
    return ParseFieldPattern(FFormat.empty() ? DefaultFormat() : FFormat, FormatSettings());
}

int TCustomDateTimeField::SelectedIndex(const std::vector<TFieldSegment>& segments) const
{
    const int count = static_cast<int>(segments.size());
    const int from = std::clamp(FSelected, 0, std::max(count - 1, 0));
    for (int i = from; i < count; ++i) {
        if (IsEditable(segments[static_cast<std::size_t>(i)].Part)) {
            return i;
        }
    }
    for (int i = from - 1; i >= 0; --i) {
        if (IsEditable(segments[static_cast<std::size_t>(i)].Part)) {
            return i;
        }
    }
    return -1;
}

TFieldPart TCustomDateTimeField::SelectedPart() const
{
    const auto segments = Segments();
    const int index = SelectedIndex(segments);
    return index < 0 ? TFieldPart::Literal : segments[static_cast<std::size_t>(index)].Part;
}

std::string TCustomDateTimeField::SegmentText(const std::vector<TFieldSegment>& segments, int index) const
{
    const TFieldSegment& segment = segments[static_cast<std::size_t>(index)];
    if (!FTyped.empty() && index == SelectedIndex(segments)) {
        return FTyped;
    }
    const TFormatSettings& settings = FormatSettings();
    const int width = segment.LeadingZero ? 2 : 1;
    const auto month = static_cast<std::size_t>(FParts.Month - 1);
    switch (segment.Part) {
    case TFieldPart::Literal:
        return segment.Text;
    case TFieldPart::DayName:
    case TFieldPart::LongDayName: {
        const auto day = static_cast<std::size_t>(DayOfWeek(EncodeDate(FParts.Year, FParts.Month, FParts.Day)) - 1);
        return segment.Part == TFieldPart::DayName ? settings.ShortDayNames[day] : settings.LongDayNames[day];
    }
    case TFieldPart::MonthName:
        return settings.ShortMonthNames[month];
    case TFieldPart::LongMonthName:
        return settings.LongMonthNames[month];
    case TFieldPart::Year2:
        return Number(ValueOf(segment.Part, FParts), 2);
    case TFieldPart::Year4:
        return Number(FParts.Year, 4);
    case TFieldPart::AmPm: {
        const auto [am, pm] = MarkTexts(segment.Text, settings);
        return FParts.Hour < 12 ? am : pm;
    }
    default:
        return Number(ValueOf(segment.Part, FParts), width);
    }
}

std::string TCustomDateTimeField::DisplayText() const
{
    const auto segments = Segments();
    std::string text;
    for (int i = 0; i < static_cast<int>(segments.size()); ++i) {
        text += SegmentText(segments, i);
    }
    return text;
}

std::vector<int> TCustomDateTimeField::SegmentEdges(const std::vector<TFieldSegment>& segments)
{
    TCanvas& canvas = *Canvas();
    canvas.Font()->Assign(Font());
    std::vector<int> edges{TextMargin};
    for (int i = 0; i < static_cast<int>(segments.size()); ++i) {
        const std::string text = SegmentText(segments, i);
        edges.push_back(edges.back() + (text.empty() ? 0 : canvas.TextWidth(text)));
    }
    return edges;
}

TRect TCustomDateTimeField::SpinRect() const
{
    const TRect client = ClientRect();
    return Rect(std::max(client.Left, client.Right - SpinWidth), client.Top, client.Right, client.Bottom);
}

void TCustomDateTimeField::SelectBy(int steps)
{
    const auto segments = Segments();
    int index = SelectedIndex(segments);
    if (index < 0) {
        return;
    }
    const int direction = steps < 0 ? -1 : 1;
    for (int left = std::abs(steps); left > 0; --left) {
        int next = index + direction;
        while (next >= 0 && next < static_cast<int>(segments.size()) &&
               !IsEditable(segments[static_cast<std::size_t>(next)].Part)) {
            next += direction;
        }
        if (next < 0 || next >= static_cast<int>(segments.size())) {
            break;
        }
        index = next;
    }
    FSelected = index;
    Invalidate();
}

void TCustomDateTimeField::TypeDigit(char16_t digit)
{
    const auto segments = Segments();
    const int index = SelectedIndex(segments);
    if (index < 0 || segments[static_cast<std::size_t>(index)].Part == TFieldPart::AmPm) {
        return;
    }
    const TPartRange range = RangeOf(segments[static_cast<std::size_t>(index)].Part, FParts);
    const auto valueOf = [](const std::string& digits) { return std::atoi(digits.c_str()); };
    // A digit that would take the number beyond the range begins it anew.
    std::string typed = FTyped + static_cast<char>(digit);
    if (valueOf(typed) > range.Max) {
        typed.assign(1, static_cast<char>(digit));
    }
    FTyped = typed;
    if (static_cast<int>(FTyped.size()) >= range.Digits || valueOf(FTyped) * 10 > range.Max) {
        CommitTyped();
        SelectBy(1);
        FMovedOn = true;
    }
    Invalidate();
}

void TCustomDateTimeField::CommitTyped()
{
    if (FTyped.empty()) {
        return;
    }
    const int typed = std::atoi(FTyped.c_str());
    FTyped.clear();
    const auto segments = Segments();
    const int index = SelectedIndex(segments);
    if (index < 0) {
        return;
    }
    const TFieldPart part = segments[static_cast<std::size_t>(index)].Part;
    const TPartRange range = RangeOf(part, FParts);
    UserChanged(WithValue(part, FParts, std::clamp(typed, range.Min, range.Max)));
}

void TCustomDateTimeField::TypeLetter(char16_t letter)
{
    CommitTyped();
    const auto segments = Segments();
    const int index = SelectedIndex(segments);
    if (index < 0) {
        return;
    }
    const TFieldSegment& segment = segments[static_cast<std::size_t>(index)];
    const TFormatSettings& settings = FormatSettings();
    if (segment.Part == TFieldPart::MonthName || segment.Part == TFieldPart::LongMonthName) {
        const auto& names = segment.Part == TFieldPart::MonthName ? settings.ShortMonthNames : settings.LongMonthNames;
        // The next month after the shown one with that letter, round the year.
        for (int step = 1; step <= 12; ++step) {
            const int month = (FParts.Month - 1 + step) % 12;
            if (NameStartsWith(names[static_cast<std::size_t>(month)], letter)) {
                UserChanged(WithValue(TFieldPart::Month, FParts, month + 1));
                return;
            }
        }
    } else if (segment.Part == TFieldPart::AmPm) {
        const auto [am, pm] = MarkTexts(segment.Text, settings);
        TDateTimeParts parts = FParts;
        if (NameStartsWith(am, letter)) {
            parts.Hour %= 12;
        } else if (NameStartsWith(pm, letter)) {
            parts.Hour = parts.Hour % 12 + 12;
        }
        UserChanged(parts);
    }
}

void TCustomDateTimeField::StepSelected(int delta)
{
    CommitTyped();
    const auto segments = Segments();
    const int index = SelectedIndex(segments);
    if (index >= 0) {
        UserChanged(Stepped(segments[static_cast<std::size_t>(index)].Part, FParts, delta));
    }
}

void TCustomDateTimeField::UserChanged(const TDateTimeParts& parts)
{
    Invalidate();
    if (SameParts(parts, FParts)) {
        return;
    }
    FParts = parts;
    Change();
}

void TCustomDateTimeField::Paint()
{
    TCanvas& canvas = *Canvas();
    const TRect client = ClientRect();
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(Enabled() ? FColor : clBtnFace);
    canvas.FillRect(client);
    if (canvas.Handle() == nullptr) {
        return;
    }
    const auto segments = Segments();
    const std::vector<int> edges = SegmentEdges(segments);
    const int height = LineHeight(canvas);
    const int top = static_cast<int>(client.Top + (client.Height() - height) / 2);
    const TRect spin = SpinRect();
    const TRect area = Rect(client.Left, client.Top, spin.Left, client.Bottom);
    const int selected = Focused() ? SelectedIndex(segments) : -1;
    for (int i = 0; i < static_cast<int>(segments.size()); ++i) {
        const auto at = static_cast<std::size_t>(i);
        const bool highlighted = i == selected;
        if (highlighted) {
            canvas.Brush()->SetStyle(bsSolid);
            canvas.Brush()->SetColor(clHighlight);
            canvas.FillRect(IntersectRect(Rect(edges[at], top, edges[at + 1], top + height), area));
        }
        canvas.Brush()->SetStyle(bsClear);
        canvas.Font()->SetColor(!Enabled() ? clGrayText : highlighted ? clHighlightText : Font()->Color());
        canvas.TextRect(area, edges[at], top, SegmentText(segments, i));
    }
    const int middle = static_cast<int>(spin.Top + spin.Height() / 2);
    const TColor arrow = Enabled() ? clBtnText : clGrayText;
    DrawArrow(canvas, DrawPushButtonFace(canvas, Rect(spin.Left, spin.Top, spin.Right, middle), false, false),
              TArrowDirection::Up, arrow);
    DrawArrow(canvas, DrawPushButtonFace(canvas, Rect(spin.Left, middle, spin.Right, spin.Bottom), false, false),
              TArrowDirection::Down, arrow);
}

void TCustomDateTimeField::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft) {
        const auto life = Life();
        if (CanFocus() && !Focused()) {
            SetFocus();
            if (!life->Alive()) {
                return;
            }
        }
        FMovedOn = false;
        const TRect spin = SpinRect();
        if (spin.Contains(x, y)) {
            // Quick clicks on the spin buttons are steps each, never a double click.
            StepSelected(y < spin.Top + spin.Height() / 2 ? 1 : -1);
        } else if (!shift.Contains(ssDouble)) {
            CommitTyped();
            SelectNearest(x);
        }
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomDateTimeField::SelectNearest(int x)
{
    const auto segments = Segments();
    const std::vector<int> edges = SegmentEdges(segments);
    int best = -1;
    int bestDistance = 0;
    for (int i = 0; i < static_cast<int>(segments.size()); ++i) {
        const auto at = static_cast<std::size_t>(i);
        const int distance = x < edges[at] ? edges[at] - x : x >= edges[at + 1] ? x - edges[at + 1] + 1 : 0;
        if (IsEditable(segments[at].Part) && (best < 0 || distance < bestDistance)) {
            best = i;
            bestDistance = distance;
        }
    }
    if (best >= 0) {
        FSelected = best;
        Invalidate();
    }
}

void TCustomDateTimeField::WMGetDlgCode(TMessage& message)
{
    message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
}

void TCustomDateTimeField::WMKeyDown(TMessage& message)
{
    if (DoKeyDown(message)) {
        return;
    }
    const WPARAM key = message.WParam;
    if (key == VK_LEFT || key == VK_RIGHT || key == VK_HOME || key == VK_END || key == VK_UP || key == VK_DOWN) {
        FMovedOn = false;
    }
    switch (key) {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_HOME:
    case VK_END: {
        CommitTyped();
        const int far = static_cast<int>(Segments().size());
        SelectBy(key == VK_LEFT ? -1 : key == VK_RIGHT ? 1 : key == VK_HOME ? -far : far);
        break;
    }
    case VK_UP:
        StepSelected(1);
        break;
    case VK_DOWN:
        StepSelected(-1);
        break;
    default:
        break;
    }
}

void TCustomDateTimeField::WMChar(TMessage& message)
{
    if (DoKeyPress(message)) {
        return;
    }
    const auto c = static_cast<char16_t>(message.WParam);
    const bool movedOn = std::exchange(FMovedOn, false);
    if (c == 8) {
        if (!FTyped.empty()) {
            FTyped.pop_back();
            Invalidate();
        }
    } else if (c >= u'0' && c <= u'9') {
        TypeDigit(c);
    } else if (c >= u' ' && c < 128 && !IsLetter(static_cast<char>(c))) {
        // A separator goes on to the next segment, unless a full one just did.
        if (!movedOn) {
            CommitTyped();
            SelectBy(1);
        }
    } else if (c > u' ') {
        TypeLetter(c);
    }
}

void TCustomDateTimeField::WMSetFocus(TMessage& message)
{
    Inherited(message);
    Invalidate();
}

void TCustomDateTimeField::WMKillFocus(TMessage& message)
{
    FMovedOn = false;
    CommitTyped();
    Invalidate();
    Inherited(message);
}

} // namespace plat
