// TCustomListBox: rows, selection, keys, mouse, scrolling and painting.
#include "platform/controls/standard/list_box.h"

#include "platform/canvas/gdi_constants.h"
#include "platform/controls/scroll_bars.h"
#include "platform/controls/standard/mouse_actions.h"
#include "platform/controls/standard/scroll_steps.h"
#include "platform/controls/standard/standard_drawing.h"
#include "platform/controls/virtual_keys.h"
#include "platform/text_encoding.h"

namespace plat {

PLAT_DEFINE_CLASS(TCustomListBox, TCustomControl,
    Published("Sorted", &TCustomListBox::Sorted, &TCustomListBox::SetSorted).Default(false),
    Published("TabStop", &TCustomListBox::TabStop, &TCustomListBox::SetTabStop).Default(true))
PLAT_DEFINE_CLASS(TListBox, TCustomListBox)

PLAT_BEGIN_MESSAGES(TCustomListBox, TCustomControl)
    PLAT_MESSAGE(WM_GETDLGCODE, WMGetDlgCode)
    PLAT_MESSAGE(WM_KEYDOWN, WMKeyDown)
    PLAT_MESSAGE(WM_CHAR, WMChar)
    PLAT_MESSAGE(WM_VSCROLL, WMVScroll)
    PLAT_MESSAGE(WM_SIZE, WMSize)
    PLAT_MESSAGE(WM_SETFOCUS, WMSetFocus)
    PLAT_MESSAGE(WM_KILLFOCUS, WMKillFocus)
    PLAT_MESSAGE(CM_FONTCHANGED, CMFontChanged)
PLAT_END_MESSAGES

namespace {

constexpr int TextMargin = 2;   // left of each row's text

} // namespace

TCustomListBox::TCustomListBox(TComponent* owner)
    : TCustomControl(owner), FItems(std::make_unique<TStringList>()), FSource(FItems.get())
{
    FItems->OnChange = TNotifyEvent(this, &TCustomListBox::ItemsChanged);
    Init();
}

TCustomListBox::TCustomListBox(TComponent* owner, TStrings& source)
    : TCustomControl(owner), FSource(&source)
{
    Init();
}

TCustomListBox::~TCustomListBox()
{
    if (FItems != nullptr) {
        FItems->OnChange = nullptr;
    }
}

void TCustomListBox::Init()
{
    FControlStyle -= TControlStyle{csAcceptsControls, csSetCaption};
    FTabStop = true;
    FColor = clWindow;
    FBrush->SetColor(FColor);
    FWidth = 121;
    FHeight = 97;
}

void TCustomListBox::CreateParams(TCreateParams& params)
{
    TCustomControl::CreateParams(params);
    params.Style |= WS_VSCROLL;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::CreateWnd()
{
    TCustomControl::CreateWnd();
    UpdateScrollBar();
}

void TCustomListBox::SetSorted(bool value)
{
    if (FItems != nullptr && value != FItems->Sorted()) {
        FItems->SetSorted(value);
        ItemsChanged(this);
    }
}

int TCustomListBox::ItemHeight()
{
    if (FItemHeight > 0) {
        return FItemHeight;
    }
    TCanvas& canvas = *Canvas();
    canvas.Font()->Assign(Font());
    return plat::LineHeight(canvas) + 1;
}

void TCustomListBox::SetItemHeight(int value)
{
    FItemHeight = std::max(value, 0);
    UpdateScrollBar();
    Invalidate();
}

int TCustomListBox::VisibleRows()
{
    return std::max(ClientHeight() / std::max(ItemHeight(), 1), 1);
}

void TCustomListBox::SetItemIndex(int value)
{
    if (value < -1 || value >= Count()) {
        value = -1;
    }
    if (value == FItemIndex) {
        return;
    }
    FItemIndex = value;
    if (value >= 0) {
        const int rows = VisibleRows();
        if (value < FTopIndex) {
            SetTopIndex(value);
        } else if (value >= FTopIndex + rows) {
            SetTopIndex(value - rows + 1);
        }
    }
    Invalidate();
}

void TCustomListBox::SetTopIndex(int value)
{
    value = std::clamp(value, 0, std::max(Count() - VisibleRows(), 0));
    if (value != FTopIndex) {
        FTopIndex = value;
        UpdateScrollBar();
        Invalidate();
    }
}

int TCustomListBox::ItemAtPos(TPoint point, bool existing)
{
    if (point.X < 0 || point.Y < 0 || point.X >= ClientWidth()) {
        return -1;
    }
    const std::int64_t index = FTopIndex + std::int64_t{point.Y} / std::max(ItemHeight(), 1);
    if (index < Count()) {
        return static_cast<int>(index);
    }
    return existing ? -1 : Count();
}

void TCustomListBox::UpdateScrollBar()
{
    if (!HandleAllocated()) {
        return;
    }
    TScrollInfo info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = std::max(Count() - 1, 0);
    info.nPage = static_cast<unsigned>(VisibleRows());
    info.nPos = FTopIndex;
    SetScrollInfo(Handle(), SB_VERT, info, true);
}

void TCustomListBox::ItemsChanged(TObject*)
{
    if (FItemIndex >= Count()) {
        FItemIndex = -1;
    }
    FTopIndex = std::clamp(FTopIndex, 0, std::max(Count() - VisibleRows(), 0));
    UpdateScrollBar();
    Invalidate();
}

void TCustomListBox::SelectByUser(int index)
{
    if (index < 0 || index >= Count() || index == FItemIndex) {
        return;
    }
    SetItemIndex(index);
    Click();
}

int TCustomListBox::IndexForKey(std::uint16_t key)
{
    return RowForKey(key, FItemIndex, Count(), VisibleRows());
}

int NextLineWithFirstLetter(const TStrings& lines, int from, char16_t letter)
{
    const int count = lines.Count();
    const char16_t wanted = FoldLetter(letter);
    for (int step = 1; step <= count; ++step) {
        const int index = static_cast<int>((std::int64_t{from} + step + count) % count);
        const std::u16string text = Utf8ToUtf16(lines.Get(index));
        if (!text.empty() && FoldLetter(text.front()) == wanted) {
            return index;
        }
    }
    return -1;
}

void TCustomListBox::Paint()
{
    TCanvas& canvas = *Canvas();
    const TRect client = ClientRect();
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(FColor);
    canvas.FillRect(client);
    canvas.Font()->Assign(Font());
    const int height = ItemHeight();
    const int end = static_cast<int>(std::min<std::int64_t>(Count(), FTopIndex + client.Height() / height + 1));
    for (int index = FTopIndex; index < end; ++index) {
        const TRect row = Rect(client.Left, (index - FTopIndex) * height, client.Right, (index - FTopIndex + 1) * height);
        const bool highlighted = RowHighlighted(index);
        if (highlighted) {
            canvas.Brush()->SetStyle(bsSolid);
            canvas.Brush()->SetColor(clHighlight);
            canvas.FillRect(row);
        }
        TRect text = row;
        text.Left += TextMargin;
        const TColor color = !Enabled() ? clGrayText : highlighted ? clHighlightText : Font()->Color();
        DrawCaption(canvas, FSource->Get(index), text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX, true, color);
    }
    if (ShowsFocusFrame()) {
        const int focus = std::max(FItemIndex, 0);
        if (focus >= FTopIndex && focus < end) {
            canvas.Brush()->SetStyle(bsSolid);
            canvas.DrawFocusRect(Rect(client.Left, (focus - FTopIndex) * height, client.Right,
                                      (focus - FTopIndex + 1) * height));
        }
    }
}

void TCustomListBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft) {
        if (!TakeFocusForPress(*this)) {
            return;
        }
        FMouseSelecting = true;
        const int index = ItemAtPos(Point(x, y), true);
        if (index >= 0) {
            SetItemIndex(index);
        }
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomListBox::MouseMove(TShiftState shift, int x, int y)
{
    if (FMouseSelecting && Count() > 0) {
        const int row = std::clamp(y, 0, std::max(ClientHeight() - 1, 0)) / std::max(ItemHeight(), 1);
        SetItemIndex(std::min(FTopIndex + row, Count() - 1));
    }
    TCustomControl::MouseMove(shift, x, y);
}

void TCustomListBox::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft) {
        FMouseSelecting = false;
    }
    TCustomControl::MouseUp(button, shift, x, y);
}

bool TCustomListBox::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos)
{
    if (TCustomControl::DoMouseWheel(shift, wheelDelta, mousePos)) {
        return true;
    }
    SetTopIndex(FTopIndex + WheelLines(wheelDelta));
    return true;
}

void TCustomListBox::WMGetDlgCode(TMessage& message)
{
    message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
}

void TCustomListBox::WMKeyDown(TMessage& message)
{
    if (DoKeyDown(message)) {
        return;
    }
    const int index = IndexForKey(static_cast<std::uint16_t>(message.WParam));
    if (index >= 0) {
        SelectByUser(index);
    }
}

void TCustomListBox::WMChar(TMessage& message)
{
    if (DoKeyPress(message)) {
        return;
    }
    const auto letter = static_cast<char16_t>(message.WParam);
    if (letter > u' ') {
        SelectByUser(NextLineWithFirstLetter(*FSource, FItemIndex, letter));
    }
}

void TCustomListBox::WMVScroll(TMessage& message)
{
    SetTopIndex(ScrolledPosition(Handle(), SB_VERT, message.WParam, FTopIndex, 1, VisibleRows()));
}

void TCustomListBox::WMSize(TMessage& message)
{
    Inherited(message);
    SetTopIndex(FTopIndex);
    UpdateScrollBar();
    Invalidate();
}

void TCustomListBox::WMSetFocus(TMessage& message)
{
    Inherited(message);
    Invalidate();
}

void TCustomListBox::WMKillFocus(TMessage& message)
{
    FMouseSelecting = false;
    Invalidate();
    Inherited(message);
}

void TCustomListBox::CMFontChanged(TMessage& message)
{
    Inherited(message);
    UpdateScrollBar();
    Invalidate();
}

} // namespace plat
