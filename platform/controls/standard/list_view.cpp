// TListView: the header, the rows with their check boxes, keys, mouse and
// scrolling.
#include "platform/controls/standard/list_view.h"

#include "platform/canvas/control_drawing.h"
#include "platform/canvas/gdi_constants.h"
#include "platform/controls/scroll_bars.h"
#include "platform/controls/standard/mouse_actions.h"
#include "platform/controls/standard/scroll_steps.h"
#include "platform/controls/virtual_keys.h"

#include <algorithm>
#include <utility>

namespace plat {

PLAT_DEFINE_CLASS(TListView, TCustomControl,
    Published("Checkboxes", &TListView::Checkboxes, &TListView::SetCheckboxes).Default(false),
    Published("ColumnClick", &TListView::ColumnClick, &TListView::SetColumnClick).Default(true),
    Published("ReadOnly", &TListView::ReadOnly, &TListView::SetReadOnly).Default(false),
    Published("ShowColumnHeaders", &TListView::ShowColumnHeaders, &TListView::SetShowColumnHeaders).Default(true),
    Published("TabStop", &TListView::TabStop, &TListView::SetTabStop).Default(true))

PLAT_BEGIN_MESSAGES(TListView, TCustomControl)
    PLAT_MESSAGE(WM_GETDLGCODE, WMGetDlgCode)
    PLAT_MESSAGE(WM_KEYDOWN, WMKeyDown)
    PLAT_MESSAGE(WM_VSCROLL, WMVScroll)
    PLAT_MESSAGE(WM_HSCROLL, WMHScroll)
    PLAT_MESSAGE(WM_SIZE, WMSize)
    PLAT_MESSAGE(WM_SETFOCUS, WMSetFocus)
    PLAT_MESSAGE(WM_KILLFOCUS, WMKillFocus)
PLAT_END_MESSAGES

namespace {

constexpr int CellMargin = 6;     // between a cell's edge and its text
constexpr int CheckMargin = 4;    // left of a row's check box
constexpr int HorizontalStep = 16;

} // namespace

TListView::TListView(TComponent* owner)
    : TCustomControl(owner), FColumns(std::make_unique<TListColumns>(*this)),
      FItems(std::make_unique<TListItems>(*this))
{
    FControlStyle -= TControlStyle{csAcceptsControls, csSetCaption, csClickEvents};
    FTabStop = true;
    FColor = clWindow;
    FBrush->SetColor(FColor);
    FWidth = 250;
    FHeight = 150;
}

TListView::~TListView()
{
    // Rows and columns go before the control they report to.
    FItems.reset();
    FColumns.reset();
}

void TListView::CreateParams(TCreateParams& params)
{
    TCustomControl::CreateParams(params);
    params.Style |= WS_VSCROLL | WS_HSCROLL;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListView::CreateWnd()
{
    TCustomControl::CreateWnd();
    UpdateScrollBars();
}

void TListView::SetCheckboxes(bool value)
{
    if (value != FCheckboxes) {
        FCheckboxes = value;
        Invalidate();
    }
}

void TListView::SetShowColumnHeaders(bool value)
{
    if (value != FShowColumnHeaders) {
        FShowColumnHeaders = value;
        UpdateScrollBars();
        Invalidate();
    }
}

int TListView::RowHeight()
{
    TCanvas& canvas = *Canvas();
    canvas.Font()->Assign(Font());
    return std::max(plat::LineHeight(canvas) + 3, GlyphSize + 4);
}

int TListView::HeaderHeight()
{
    if (!FShowColumnHeaders) {
        return 0;
    }
    TCanvas& canvas = *Canvas();
    canvas.Font()->Assign(Font());
    return plat::LineHeight(canvas) + 6;
}

int TListView::VisibleRows()
{
    return std::max((ClientHeight() - HeaderHeight()) / std::max(RowHeight(), 1), 1);
}

int TListView::ContentWidth() const
{
    int width = 0;
    for (int i = 0; i < FColumns->Count(); ++i) {
        width = Plus(width, FColumns->Items(i)->Width());
    }
    return width;
}

int TListView::RowAt(TPoint point)
{
    const int top = HeaderHeight();
    if (point.Y < top || point.X < 0 || point.X >= ClientWidth()) {
        return -1;
    }
    const std::int64_t row = FTopIndex + std::int64_t{point.Y - top} / std::max(RowHeight(), 1);
    return row < FItems->Count() ? static_cast<int>(row) : -1;
}

int TListView::ColumnAt(TPoint point)
{
    std::int64_t left = -std::int64_t{FScrollX};
    for (int i = 0; i < FColumns->Count(); ++i) {
        const std::int64_t right = left + FColumns->Items(i)->Width();
        if (point.X >= left && point.X < right) {
            return i;
        }
        left = right;
    }
    return -1;
}

TRect TListView::CheckBoxRect(int row)
{
    const int height = RowHeight();
    const int top = HeaderHeight() + (row - FTopIndex) * height + (height - GlyphSize) / 2;
    const int left = CheckMargin - FScrollX;
    return Bounds(left, top, GlyphSize, GlyphSize);
}

int TListView::FittingWidth(int column, bool withCaption)
{
    TCanvas& canvas = *Canvas();
    canvas.Font()->Assign(Font());
    int width = 0;
    for (int row = 0; row < FItems->Count(); ++row) {
        const std::string text = FItems->Item(row)->CellText(column);
        width = std::max(width, text.empty() ? 0 : canvas.TextWidth(text));
    }
    if (column == 0 && FCheckboxes) {
        width += CheckMargin + GlyphSize;
    }
    if (withCaption && column >= 0 && column < FColumns->Count()) {
        width = std::max(width, canvas.TextWidth(FColumns->Items(column)->Caption()));
    }
    return width + 2 * CellMargin;
}

void TListView::ColumnsChanged()
{
    SetScrollX(FScrollX);
    UpdateScrollBars();
    Invalidate();
}

void TListView::ItemsChanged()
{
    if (FItemIndex >= FItems->Count()) {
        FItemIndex = -1;
    }
    SetTopIndex(FTopIndex);
    UpdateScrollBars();
    Invalidate();
}

void TListView::ItemChecked(TListItem* item)
{
    Invalidate();
    OnItemChecked(this, item);
}

void TListView::SetItemIndex(int value)
{
    if (value < -1 || value >= FItems->Count()) {
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

void TListView::SetTopIndex(int value)
{
    value = std::clamp(value, 0, std::max(FItems->Count() - VisibleRows(), 0));
    if (value != FTopIndex) {
        FTopIndex = value;
        UpdateScrollBars();
        Invalidate();
    }
}

void TListView::SetScrollX(int value)
{
    value = std::clamp(value, 0, std::max(ContentWidth() - ClientWidth(), 0));
    if (value != FScrollX) {
        FScrollX = value;
        UpdateScrollBars();
        Invalidate();
    }
}

void TListView::UpdateScrollBars()
{
    if (!HandleAllocated()) {
        return;
    }
    TScrollInfo vertical;
    vertical.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    vertical.nMax = std::max(FItems->Count() - 1, 0);
    vertical.nPage = static_cast<unsigned>(VisibleRows());
    vertical.nPos = FTopIndex;
    SetScrollInfo(Handle(), SB_VERT, vertical, true);
    TScrollInfo horizontal;
    horizontal.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    horizontal.nMax = std::max(ContentWidth() - 1, 0);
    horizontal.nPage = static_cast<unsigned>(std::max(ClientWidth(), 0));
    horizontal.nPos = FScrollX;
    SetScrollInfo(Handle(), SB_HORZ, horizontal, true);
}

void TListView::ToggleCheck(int row)
{
    if (FCheckboxes && row >= 0 && row < FItems->Count()) {
        TListItem* item = FItems->Item(row);
        item->SetChecked(!item->Checked());
    }
}

void TListView::PaintHeader(TCanvas& canvas)
{
    const int height = HeaderHeight();
    const TRect band = Rect(0, 0, ClientWidth(), height);
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(clBtnFace);
    canvas.FillRect(band);
    canvas.RequireState();
    int left = -FScrollX;
    for (int i = 0; i <= FColumns->Count(); ++i) {
        // After the last column the header goes on as one empty section.
        const bool past = i == FColumns->Count();
        const int right = past ? std::max(band.Right, left) : Plus(left, FColumns->Items(i)->Width());
        TRect section = Rect(left, 0, right, height);
        const bool pressed = !past && i == FPressedColumn;
        canvas.Handle()->DrawEdge(section, pressed ? BDR_SUNKENOUTER : EDGE_RAISED, BF_RECT | BF_ADJUST);
        if (!past) {
            const TListColumn& column = *FColumns->Items(i);
            TRect text = InflateRect(section, -CellMargin + 2, 0);
            if (pressed) {
                text = OffsetRect(text, 1, 1);
            }
            const std::uint32_t align = column.Alignment() == taRightJustify ? DT_RIGHT
                                        : column.Alignment() == taCenter     ? DT_CENTER
                                                                             : DT_LEFT;
            canvas.Font()->Assign(Font());
            DrawCaption(canvas, column.Caption(), text, align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS,
                        Enabled(), clBtnText);
        }
        left = right;
        if (left >= band.Right) {
            break;
        }
    }
}

void TListView::PaintRow(TCanvas& canvas, int row, const TRect& bounds)
{
    const TListItem& item = *FItems->Item(row);
    const bool selected = row == FItemIndex && Focused();
    if (selected) {
        canvas.Brush()->SetStyle(bsSolid);
        canvas.Brush()->SetColor(clHighlight);
        canvas.FillRect(Rect(bounds.Left, bounds.Top, std::min(Minus(ContentWidth(), FScrollX), bounds.Right), bounds.Bottom));
    }
    const TColor color = !Enabled() ? clGrayText : selected ? clHighlightText : Font()->Color();
    int left = -FScrollX;
    for (int column = 0; column < FColumns->Count(); ++column) {
        const TListColumn& info = *FColumns->Items(column);
        TRect cell = Rect(left, bounds.Top, Plus(left, info.Width()), bounds.Bottom);
        left = cell.Right;
        if (cell.Right <= bounds.Left || cell.Left >= bounds.Right) {
            continue;
        }
        if (column == 0 && FCheckboxes) {
            const TRect box = CheckBoxRect(row);
            canvas.RequireState();
            canvas.Handle()->DrawFrameControl(box, DFC_BUTTON,
                                              DFCS_BUTTONCHECK | (item.Checked() ? DFCS_CHECKED : 0u) |
                                                  (Enabled() ? 0u : DFCS_INACTIVE));
            cell.Left = box.Right;
        }
        const std::uint32_t align = info.Alignment() == taRightJustify ? DT_RIGHT
                                    : info.Alignment() == taCenter     ? DT_CENTER
                                                                       : DT_LEFT;
        canvas.Font()->Assign(Font());
        DrawCaption(canvas, item.CellText(column), InflateRect(cell, -CellMargin, 0),
                    align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS, true, color);
    }
    if (row == FItemIndex && Focused()) {
        canvas.Brush()->SetStyle(bsSolid);
        canvas.DrawFocusRect(Rect(bounds.Left, bounds.Top, std::min(Minus(ContentWidth(), FScrollX), bounds.Right),
                                  bounds.Bottom));
    }
}

void TListView::Paint()
{
    TCanvas& canvas = *Canvas();
    const TRect client = ClientRect();
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(FColor);
    canvas.FillRect(client);
    if (canvas.Handle() == nullptr) {
        return;
    }
    const int top = HeaderHeight();
    const int height = RowHeight();
    const int end = static_cast<int>(std::min<std::int64_t>(FItems->Count(), FTopIndex + client.Height() / height + 1));
    for (int row = FTopIndex; row < end; ++row) {
        const int y = top + (row - FTopIndex) * height;
        PaintRow(canvas, row, Rect(client.Left, y, client.Right, y + height));
    }
    if (FShowColumnHeaders) {
        PaintHeader(canvas);
    }
}

void TListView::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft) {
        if (!TakeFocusForPress(*this)) {
            return;
        }
        if (y < HeaderHeight()) {
            if (FColumnClick) {
                FPressedColumn = ColumnAt(Point(x, y));
                SetMouseCapture(true);
                Invalidate();
            }
        } else if (const int row = RowAt(Point(x, y)); row >= 0) {
            SetItemIndex(row);
            if (FCheckboxes && CheckBoxRect(row).Contains(x, y)) {
                ToggleCheck(row);
            }
        }
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TListView::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft && FPressedColumn >= 0) {
        const int pressed = std::exchange(FPressedColumn, -1);
        SetMouseCapture(false);
        Invalidate();
        if (y >= 0 && y < HeaderHeight() && ColumnAt(Point(x, y)) == pressed) {
            OnColumnClick(this, FColumns->Items(pressed));
        }
    }
    TCustomControl::MouseUp(button, shift, x, y);
}

bool TListView::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos)
{
    if (TCustomControl::DoMouseWheel(shift, wheelDelta, mousePos)) {
        return true;
    }
    SetTopIndex(FTopIndex + WheelLines(wheelDelta));
    return true;
}

void TListView::WMGetDlgCode(TMessage& message)
{
    message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
}

void TListView::WMKeyDown(TMessage& message)
{
    if (DoKeyDown(message)) {
        return;
    }
    const auto key = static_cast<std::uint16_t>(message.WParam);
    if (const int row = RowForKey(key, FItemIndex, FItems->Count(), VisibleRows()); row >= 0) {
        SetItemIndex(row);
        return;
    }
    switch (key) {
    case VK_LEFT:
    case VK_RIGHT:
        SetScrollX(FScrollX + (message.WParam == VK_LEFT ? -HorizontalStep : HorizontalStep));
        break;
    case VK_SPACE:
        ToggleCheck(FItemIndex);
        break;
    default:
        break;
    }
}

void TListView::WMVScroll(TMessage& message)
{
    SetTopIndex(ScrolledPosition(Handle(), SB_VERT, message.WParam, FTopIndex, 1, VisibleRows()));
}

void TListView::WMHScroll(TMessage& message)
{
    SetScrollX(ScrolledPosition(Handle(), SB_HORZ, message.WParam, FScrollX, HorizontalStep, ClientWidth()));
}

void TListView::WMSize(TMessage& message)
{
    Inherited(message);
    SetTopIndex(FTopIndex);
    SetScrollX(FScrollX);
    UpdateScrollBars();
    Invalidate();
}

void TListView::WMSetFocus(TMessage& message)
{
    Inherited(message);
    if (FItemIndex < 0 && FItems->Count() > 0) {
        FItemIndex = 0;
    }
    Invalidate();
}

void TListView::WMKillFocus(TMessage& message)
{
    Invalidate();
    Inherited(message);
}

} // namespace plat
