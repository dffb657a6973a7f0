// The notebook's tabs: their properties, the tab height, lengths and rows
// measured in the fonts, the pages placed over the body, and painting.
#include "widgets/pages/pgc_notebook.h"

#include "widgets/pages/pgc_font_helpers.h"
#include "widgets/pages/pgc_messages.h"
#include "widgets/pages/pgc_tab_painter.h"

#include "platform/canvas/pixel_surface.h"
#include "platform/canvas/surface_dc.h"
#include "platform/controls/window_paint.h"
#include "platform/text_encoding.h"

#include <algorithm>

namespace qel {
namespace {

constexpr std::uint16_t kMsgNoPages = 30333;

// Measures text in fonts on a context of its own, so that layout works
// before and without a window.
class TTextMeasure {
public:
    TTextMeasure() : FSurface(1, 1, 24), FDC(FSurface) {}
    plat::TSize Extent(const plat::TLogFont& Font, std::string_view Text)
    {
        FDC.SelectFont(Font);
        return FDC.GetTextExtent(Text);
    }

private:
    plat::TPixelSurface FSurface;
    plat::TSurfaceDC FDC;
};

// The font as the tabs draw it: turned for the left (90 degrees) and right
// (270 degrees) edges.
plat::TLogFont TabFont(const plat::TFont& Font, TPgcTabOrientation Orientation)
{
    switch (Orientation) {
    case toLeft:
        return CreateRotatedFont(Font, 90);
    case toRight:
        return CreateRotatedFont(Font, 270);
    default:
        return Font.Handle();
    }
}

// Stores a new value; false when it was the same.
template <class T>
bool StoreChange(T& Field, T Value)
{
    return Field != Value && (Field = Value, true);
}

// A caption as measured for its tab: every "&" left out.
std::string MeasuredCaption(const std::string& Caption)
{
    std::string text = Caption;
    std::erase(text, '&');
    return text;
}

} // namespace

void TPgcNotebook::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (!Loading()) {
        if (IsSideways(FTabOrientation)) {
            AHeight = std::max(AHeight, kMinTabLength);
        } else {
            AWidth = std::max(AWidth, kMinTabLength);
        }
    }
    TPgcCustomControlEx::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (HandleAllocated()) {
        CalculateTabs();
        ArrangePages();
    }
}

void TPgcNotebook::WMSize(plat::TMessage& Msg)
{
    if (Loading() && HandleAllocated()) {
        CalculateTabs();
        ArrangePages();
    }
    Inherited(Msg);
}

void TPgcNotebook::WMEraseBkgnd(plat::TMessage& Msg)
{
    Msg.Result = 1;
}

void TPgcNotebook::SetTabHeight(int Value)
{
    if (Value == FTabHeight || Value < 0) {
        return;
    }
    FTabHeight = Value;
    if (!Loading()) {
        FTabAutoHeight = false;
    }
    Refresh();
}

void TPgcNotebook::SetTabAutoHeight(bool Value)
{
    if (StoreChange(FTabAutoHeight, Value) && Value) {
        Refresh();
    }
}

void TPgcNotebook::SetTabOrientation(TPgcTabOrientation Value)
{
    if (!Loading() && IsSideways(Value)) {
        CheckTabFonts();
    }
    FTabOrientation = Value;
    SetBounds(Left(), Top(), Width(), Height());
    Refresh();
}

void TPgcNotebook::SetTabTextOrientation(TTabTextOrientation Value)
{
    if (StoreChange(FTabTextOrientation, Value)) {
        Invalidate();
    }
}

void TPgcNotebook::SetTabRowCount(int Value)
{
    if (Loading()) {
        FTabRowCount = Value;   // checked when the notebook is laid out
        return;
    }
    if (Value != FTabRowCount && Value >= 0 && Value <= PageCount()) {
        FTabRowCount = Value;
    }
    CalculateTabs();
    SetBounds(Left(), Top(), Width(), Height());
    Refresh();
}

void TPgcNotebook::SetOldStyle(bool Value)
{
    if (StoreChange(FOldStyle, Value)) {
        Refresh();
    }
}

void TPgcNotebook::SetActiveTabFont(const plat::TFont* Value)
{
    if (Value != nullptr) {
        FActiveTabFont->Assign(Value);
    }
    Invalidate();
}

void TPgcNotebook::SetUseActiveTabFont(bool Value)
{
    if (StoreChange(FUseActiveTabFont, Value)) {
        Invalidate();
    }
}

void TPgcNotebook::SetHighlightColor(plat::TColor Value)
{
    if (StoreChange(FHighlightColor, Value)) {
        Refresh();
    }
}

void TPgcNotebook::SetShadowColor(plat::TColor Value)
{
    if (StoreChange(FShadowColor, Value)) {
        Refresh();
    }
}

void TPgcNotebook::SetShadowedText(bool Value)
{
    if (StoreChange(FShadowedText, Value)) {
        Refresh();
    }
}

void TPgcNotebook::SetTextShadowColor(plat::TColor Value)
{
    if (StoreChange(FTextShadowColor, Value)) {
        Refresh();
    }
}

void TPgcNotebook::SetPageUsesTabColor(bool Value)
{
    if (StoreChange(FPageUsesTabColor, Value)) {
        Refresh();
    }
}

void TPgcNotebook::SetTabUseDefaultColor(bool Value)
{
    if (!StoreChange(FTabUseDefaultColor, Value)) {
        return;
    }
    if (Value && !Loading()) {
        for (int index = 0; index < PageCount(); ++index) {
            GetPage(index)->SetTabColor(Color());
        }
    }
    Refresh();
}

int TPgcNotebook::TabsInRow(int Row) const
{
    return qel::TabsInRow(TabSlots(), Row);
}

plat::TRect TPgcNotebook::GetTabRect(int Index) const
{
    const TPgcTabPage* page = GetPage(Index);
    return page != nullptr ? page->Area() : plat::TRect{};
}

plat::TRect TPgcNotebook::GetTabTextRect(int Index) const
{
    return TabTextRect(FTabOrientation, FTabHeight, GetTabRect(Index));
}

void TPgcNotebook::DrawTabFocusRect(int Index)
{
    if (FTabHeight == 0 || !IsValid(Index)) {
        return;
    }
    Canvas()->DrawFocusRect(TabFocusRect(FTabOrientation, FTabHeight, GetTabRect(Index)));
}

void TPgcNotebook::InvalidateTab(int Index)
{
    const TPgcTabPage* page = GetPage(Index);
    if (page == nullptr || !HandleAllocated()) {
        return;
    }
    const plat::TRect rect = TabRepaintRect(FTabOrientation, page->Area());
    plat::InvalidateRect(Handle(), &rect, false);
}

std::vector<TTabSlot> TPgcNotebook::TabSlots() const
{
    std::vector<TTabSlot> slots(static_cast<std::size_t>(PageCount()));
    for (int index = 0; index < PageCount(); ++index) {
        const TPgcTabPage* page = GetPage(index);
        TTabSlot& slot = slots[static_cast<std::size_t>(index)];
        slot.TakesPart = HasTab(page);
        slot.Row = page->Row();
        slot.TabWidth = page->TabWidth();
    }
    return slots;
}

int TPgcNotebook::TabEdgeLength() const
{
    return IsSideways(FTabOrientation) ? Height() : Width();
}

void TPgcNotebook::CalculateTabs()
{
    if (!Visible()) {
        return;
    }
    TTextMeasure measure;
    const std::string wy = TabMeasureText();
    const auto lineHeight = [&](const plat::TFont& font) {
        return measure.Extent(TabFont(font, FTabOrientation), wy).cy + 4;
    };
    if (FTabAutoHeight) {
        int height = FUseActiveTabFont ? lineHeight(*FActiveTabFont) : 0;
        height = std::max(height, lineHeight(*Font()));
        for (int index = 0; index < PageCount(); ++index) {
            height = std::max(height, lineHeight(*GetPage(index)->Font()));
        }
        FTabHeight = height;
    } else if (FTabHeight == 0) {
        return;
    }
    if (PageCount() == 0) {
        return;
    }
    std::vector<TTabSlot> slots = TabSlots();
    for (int index = 0; index < PageCount(); ++index) {
        const TPgcTabPage* page = GetPage(index);
        const std::string caption = MeasuredCaption(page->Caption());
        int width = measure.Extent(TabFont(*page->Font(), FTabOrientation), caption).cx;
        if (FUseActiveTabFont) {
            width = std::max(width, measure.Extent(TabFont(*FActiveTabFont, FTabOrientation), caption).cx);
        }
        slots[static_cast<std::size_t>(index)].CaptionWidth = width;
    }
    const TTabRows rows = LayoutTabRows(slots, TabEdgeLength() - 4, FTabRowCount, FOldStyle, FPageIndex);
    for (int index = 0; index < PageCount(); ++index) {
        TPgcTabPage* page = GetPage(index);
        page->SetTabWidth(slots[static_cast<std::size_t>(index)].TabWidth);
        page->SetRow(slots[static_cast<std::size_t>(index)].Row);
    }
    tabTotalRows = rows.Total;
    tabFocusedRow = rows.Focused;
    tabLastRow = tabTotalRows - 1;
}

void TPgcNotebook::ArrangePages()
{
    const plat::TRect bounds =
        PageBounds(FTabOrientation, FTabHeight, tabTotalRows * FTabHeight, Width(), Height());
    for (int index = 0; index < PageCount(); ++index) {
        TPgcTabPage* page = GetPage(index);
        if (page->BoundsRect() != bounds) {
            page->SetBoundsRect(bounds);
        }
    }
}

void TPgcNotebook::Paint()
{
    TPgcCustomControlEx::Paint();
    plat::TCanvas* canvas = Canvas();
    if (PageCount() == 0) {
        canvas->Brush()->SetColor(Color());
        canvas->Brush()->SetStyle(plat::bsSolid);
        canvas->FillRect(ClientRect());
        if (Designing()) {
            canvas->Font()->Assign(Font());
            canvas->TextOut(5, 5, plat::Utf16ToUtf8(MessageTextByNumber(kMsgNoPages)));
        }
        return;
    }
    CalculateTabs();
    ArrangePages();
    if (FTabHeight > 0) {
        TPgcTabPainter(*this, *canvas).Paint();
    }
}

} // namespace qel
