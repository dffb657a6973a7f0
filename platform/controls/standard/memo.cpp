// TMemo: lines wrapped at word boundaries, the caret among them, scrolling,
// and the Lines view of the text.
#include "platform/controls/standard/memo.h"

#include "platform/controls/scroll_bars.h"
#include "platform/controls/standard/scroll_steps.h"
#include "platform/object_list.h"
#include "platform/text_encoding.h"

#include <algorithm>

namespace plat {

PLAT_DEFINE_CLASS(TCustomMemo, TCustomEdit,
    Published("ScrollBars", &TCustomMemo::ScrollBars, &TCustomMemo::SetScrollBars,
              {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"}).Default(ssNone),
    Published("WantReturns", &TCustomMemo::WantReturns, &TCustomMemo::SetWantReturns).Default(true),
    Published("WantTabs", &TCustomMemo::WantTabs, &TCustomMemo::SetWantTabs).Default(false),
    Published("WordWrap", &TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap).Default(true))
PLAT_DEFINE_CLASS(TMemo, TCustomMemo)

PLAT_BEGIN_MESSAGES(TCustomMemo, TCustomEdit)
    PLAT_MESSAGE(WM_VSCROLL, WMVScroll)
PLAT_END_MESSAGES

namespace {

bool IsBreak(char16_t c)
{
    return c == u'\r' || c == u'\n';
}

bool IsBlank(char16_t c)
{
    return c == u' ' || c == u'\t';
}

// The memo's text seen as lines: every change writes the whole text anew.
class TMemoLines : public TStrings {
public:
    explicit TMemoLines(TCustomMemo& memo) : FMemo(memo) {}

    int Count() const override { return static_cast<int>(Split().size()); }
    std::string Get(int index) const override { return Split().at(Checked(index, Count())); }
    void Insert(int index, const std::string& text) override
    {
        std::vector<std::string> lines = Split();
        lines.insert(lines.begin() + Checked(index, Count() + 1), text);
        Join(lines);
    }
    void Delete(int index) override
    {
        std::vector<std::string> lines = Split();
        lines.erase(lines.begin() + Checked(index, Count()));
        Join(lines);
    }
    void Put(int index, const std::string& text) override
    {
        std::vector<std::string> lines = Split();
        lines.at(Checked(index, Count())) = text;
        Join(lines);
    }
    void Clear() override { FMemo.SetText(""); }

private:
    static std::size_t Checked(int index, int limit)
    {
        if (index < 0 || index >= limit) {
            throw EListError(index);
        }
        return static_cast<std::size_t>(index);
    }
    // The lines at CR LF, LF or CR; a last break adds no empty line.
    std::vector<std::string> Split() const
    {
        std::vector<std::string> lines;
        const std::string& text = FMemo.Text();
        std::size_t start = 0;
        while (start < text.size()) {
            const std::size_t end = text.find_first_of("\r\n", start);
            if (end == std::string::npos) {
                lines.push_back(text.substr(start));
                break;
            }
            lines.push_back(text.substr(start, end - start));
            start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
        }
        return lines;
    }
    void Join(const std::vector<std::string>& lines)
    {
        std::string text;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            text += (i > 0 ? "\r\n" : "") + lines[i];
        }
        FMemo.SetText(text);
    }

    TCustomMemo& FMemo;
};

} // namespace

TCustomMemo::TCustomMemo(TComponent* owner) : TCustomEdit(owner), FLines(std::make_unique<TMemoLines>(*this))
{
    SetAutoSize(false);
    FWidth = 185;
    FHeight = 89;
    FShown.push_back(TShownLine{});
}

TCustomMemo::~TCustomMemo() = default;

void TCustomMemo::CreateParams(TCreateParams& params)
{
    TCustomEdit::CreateParams(params);
    if (FScrollBars == ssVertical || FScrollBars == ssBoth) {
        params.Style |= WS_VSCROLL;
    }
}

void TCustomMemo::SetWordWrap(bool value)
{
    if (value != FWordWrap) {
        FWordWrap = value;
        TextLaidOut();
        Invalidate();
    }
}

void TCustomMemo::SetScrollBars(TScrollStyle value)
{
    if (value == FScrollBars) {
        return;
    }
    FScrollBars = value;
    if (HandleAllocated()) {
        RecreateWnd();
    }
    UpdateScrollBar();
}

void TCustomMemo::WrapLine(int start, int end, int width)
{
    const std::u16string_view text = Buffer();
    int pos = start;
    do {
        if (!FWordWrap || pos == end) {
            FShown.push_back(TShownLine{pos, end - pos});
            return;
        }
        // The longest part from pos that fits, one unit at least.
        int low = pos + 1;
        int high = end;
        while (low < high) {
            const int middle = low + (high - low + 1) / 2;
            if (TextWidthOf(text.substr(pos, middle - pos)) <= width) {
                low = middle;
            } else {
                high = middle - 1;
            }
        }
        int cut = low;
        if (cut < end) {
            if (IsBlank(text[cut])) {
                // Blanks at the wrap point stay at the end of the line.
                while (cut < end && IsBlank(text[cut])) {
                    ++cut;
                }
            } else {
                int blank = cut;
                while (blank > pos && !IsBlank(text[blank - 1])) {
                    --blank;
                }
                if (blank > pos) {
                    cut = blank;
                }
            }
        }
        FShown.push_back(TShownLine{pos, cut - pos});
        pos = cut;
    } while (pos < end);
}

void TCustomMemo::TextLaidOut()
{
    FShown.clear();
    const std::u16string_view text = Buffer();
    const int width = std::max(static_cast<int>(TextArea().Width()), 1);
    int start = 0;
    for (;;) {
        int end = start;
        while (end < TextLength() && !IsBreak(text[end])) {
            ++end;
        }
        WrapLine(start, end, width);
        if (end >= TextLength()) {
            break;
        }
        start = end + (text.substr(end, 2) == u"\r\n" ? 2 : 1);
    }
    SetTopLine(FTopLine);
    UpdateScrollBar();
}

int TCustomMemo::LineOf(int index) const
{
    const auto at = std::upper_bound(FShown.begin(), FShown.end(), index,
                                     [](int value, const TShownLine& line) { return value < line.Start; });
    return std::max(static_cast<int>(at - FShown.begin()) - 1, 0);
}

int TCustomMemo::VisibleLines()
{
    return std::max(static_cast<int>(TextArea().Height()) / std::max(LineHeight(), 1), 1);
}

void TCustomMemo::SetTopLine(int value)
{
    value = std::clamp(value, 0, std::max(static_cast<int>(FShown.size()) - VisibleLines(), 0));
    if (value != FTopLine) {
        FTopLine = value;
        UpdateScrollBar();
        UpdateCaret();
        Invalidate();
    }
}

void TCustomMemo::UpdateScrollBar()
{
    if (!HandleAllocated() || (FScrollBars != ssVertical && FScrollBars != ssBoth)) {
        return;
    }
    TScrollInfo info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = static_cast<int>(FShown.size()) - 1;
    info.nPage = static_cast<unsigned>(VisibleLines());
    info.nPos = FTopLine;
    SetScrollInfo(Handle(), SB_VERT, info, true);
}

TPoint TCustomMemo::CaretPointOf(int index)
{
    const TRect area = TextArea();
    const int line = LineOf(index);
    const TShownLine& shown = FShown[static_cast<std::size_t>(line)];
    const int x = TextWidthOf(std::u16string_view(Buffer()).substr(shown.Start, std::max(index - shown.Start, 0)));
    return Point(Plus(area.Left, x), Plus(area.Top, (line - FTopLine) * LineHeight()));
}

int TCustomMemo::IndexAtPoint(TPoint point)
{
    const TRect area = TextArea();
    const std::int64_t row = point.Y < area.Top ? -1 : (std::int64_t{point.Y} - area.Top) / std::max(LineHeight(), 1);
    const int line = static_cast<int>(std::clamp<std::int64_t>(FTopLine + row, 0, static_cast<int>(FShown.size()) - 1));
    const TShownLine& shown = FShown[static_cast<std::size_t>(line)];
    const int x = Minus(point.X, area.Left);
    const std::u16string_view text = std::u16string_view(Buffer()).substr(shown.Start, shown.Length);
    int low = 0;
    int high = shown.Length;
    while (low < high) {
        const int middle = low + (high - low + 1) / 2;
        if (TextWidthOf(text.substr(0, middle)) <= x) {
            low = middle;
        } else {
            high = middle - 1;
        }
    }
    if (low < shown.Length && TextWidthOf(text.substr(0, low + 1)) - x < x - TextWidthOf(text.substr(0, low))) {
        ++low;
    }
    return shown.Start + low;
}

void TCustomMemo::ScrollIntoView(int index)
{
    const int line = LineOf(index);
    const int visible = VisibleLines();
    if (line < FTopLine) {
        SetTopLine(line);
    } else if (line >= FTopLine + visible) {
        SetTopLine(line - visible + 1);
    }
}

int TCustomMemo::IndexByLines(int index, int lines)
{
    const int line = std::clamp(LineOf(index) + lines, 0, static_cast<int>(FShown.size()) - 1);
    const TPoint caret = CaretPointOf(index);
    return IndexAtPoint(Point(caret.X, Plus(TextArea().Top, (line - FTopLine) * LineHeight())));
}

int TCustomMemo::PageLines()
{
    return std::max(VisibleLines() - 1, 1);
}

int TCustomMemo::LineStartOf(int index)
{
    return FShown[static_cast<std::size_t>(LineOf(index))].Start;
}

int TCustomMemo::LineEndOf(int index)
{
    const TShownLine& shown = FShown[static_cast<std::size_t>(LineOf(index))];
    int end = shown.Start + shown.Length;
    // A wrapped line ends before the blanks it keeps at its end.
    while (end > shown.Start && IsBlank(Buffer()[static_cast<std::size_t>(end - 1)]) &&
           static_cast<std::size_t>(LineOf(index) + 1) < FShown.size() &&
           FShown[static_cast<std::size_t>(LineOf(index) + 1)].Start == shown.Start + shown.Length) {
        --end;
    }
    return end;
}

void TCustomMemo::PaintText(TCanvas& canvas)
{
    const TRect area = TextArea();
    const int height = LineHeight();
    const int last = std::min(static_cast<int>(FShown.size()), FTopLine + VisibleLines() + 1);
    for (int line = FTopLine; line < last; ++line) {
        const TShownLine& shown = FShown[static_cast<std::size_t>(line)];
        PaintRun(canvas, shown.Start, shown.Start + shown.Length, area.Left, Plus(area.Top, (line - FTopLine) * height));
    }
}

bool TCustomMemo::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos)
{
    if (TCustomEdit::DoMouseWheel(shift, wheelDelta, mousePos)) {
        return true;
    }
    SetTopLine(FTopLine + WheelLines(wheelDelta));
    return true;
}

void TCustomMemo::WMVScroll(TMessage& message)
{
    SetTopLine(ScrolledPosition(Handle(), SB_VERT, message.WParam, FTopLine, 1, VisibleLines()));
}

} // namespace plat
