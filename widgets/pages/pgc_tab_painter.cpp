// The classic tabs of the notebook, drawn on its canvas while it paints.
#include "widgets/pages/pgc_tab_painter.h"

#include "widgets/pages/pgc_messages.h"
#include "widgets/pages/pgc_notebook.h"

#include "platform/canvas/gdi_constants.h"
#include "platform/text_encoding.h"

#include <vector>

namespace qel {
namespace {

constexpr std::uint16_t kMsgMeasureText = 30282;

// A caption as shown, and where its accelerator letter stands in it
// (npos without one): "&&" shows "&", the first single "&" marks the letter.
struct TShownCaption {
    std::string Text;
    std::size_t Accelerator = std::string::npos;
};

TShownCaption ShowCaption(std::string_view Caption)
{
    TShownCaption shown;
    for (std::size_t at = 0; at < Caption.size(); ++at) {
        if (Caption[at] == '&' && at + 1 < Caption.size()) {
            ++at;
            if (Caption[at] != '&' && shown.Accelerator == std::string::npos) {
                shown.Accelerator = shown.Text.size();
            }
        }
        shown.Text += Caption[at];
    }
    return shown;
}

// The bytes of the UTF-8 character starting at Offset.
std::size_t CharLength(std::string_view Text, std::size_t Offset)
{
    std::size_t length = 1;
    while (Offset + length < Text.size() && (static_cast<unsigned char>(Text[Offset + length]) & 0xC0) == 0x80) {
        ++length;
    }
    return length;
}

} // namespace

std::string TabMeasureText()
{
    return plat::Utf16ToUtf8(MessageTextByNumber(kMsgMeasureText));
}

TPgcTabPainter::TPgcTabPainter(TPgcNotebook& Notebook, plat::TCanvas& Canvas)
    : FNotebook(Notebook), FCanvas(Canvas), FOrientation(Notebook.TabOrientation()), FWidth(Notebook.Width()),
      FHeight(Notebook.Height()), FAlong(IsSideways(FOrientation) ? FHeight : FWidth),
      FDepth(IsSideways(FOrientation) ? FWidth : FHeight), FTabHeight(Notebook.TabHeight()),
      FParentColor(Notebook.Parent() != nullptr ? Notebook.Parent()->Color() : Notebook.Color())
{
}

plat::TPoint TPgcTabPainter::Map(int U, int V) const
{
    switch (FOrientation) {
    case toTop:
        return plat::Point(U, V);
    case toBottom:
        return plat::Point(U, FHeight - 1 - V);
    case toLeft:
        return plat::Point(V, U);
    case toRight:
        return plat::Point(FWidth - 1 - V, U);
    }
    return plat::Point(U, V);
}

// On the bottom and right edges the row of the body's edge is the tab's
// own innermost row; on the top and left edges it lies just past the tab.
TPgcTabPainter::TTabShape TPgcTabPainter::ShapeOf(const plat::TRect& Area) const
{
    switch (FOrientation) {
    case toTop:
        return {Area.Left, Area.Top, Area.Right, Area.Bottom};
    case toBottom:
        return {Area.Left, FHeight - Area.Bottom, Area.Right, FHeight - 1 - Area.Top};
    case toLeft:
        return {Area.Top, Area.Left, Area.Bottom, Area.Right};
    case toRight:
        return {Area.Top, FWidth - Area.Right, Area.Bottom, FWidth - 1 - Area.Left};
    }
    return {Area.Left, Area.Top, Area.Right, Area.Bottom};
}

bool TPgcTabPainter::DarkOuterEdge() const
{
    return FOrientation == toBottom || FOrientation == toRight;
}

void TPgcTabPainter::Lines(std::initializer_list<plat::TPoint> Points, plat::TColor Color)
{
    std::vector<plat::TPoint> mapped;
    for (const plat::TPoint& point : Points) {
        mapped.push_back(Map(point.X, point.Y));
    }
    FCanvas.Pen()->SetColor(Color);
    FCanvas.Polyline(mapped.data(), static_cast<int>(mapped.size()));
}

void TPgcTabPainter::UseBrushAndPen(plat::TColor Color)
{
    FCanvas.Brush()->SetStyle(plat::bsSolid);
    FCanvas.Brush()->SetColor(Color);
    FCanvas.Pen()->SetColor(Color);
}

void TPgcTabPainter::Paint()
{
    TPgcNotebook& notebook = FNotebook;
    TPgcTabPage* active = notebook.GetPage(notebook.PageIndex());
    if (notebook.PageUsesTabColor() && active != nullptr) {
        notebook.SetColorWhilePainting(active->TabColor());
    }
    UseBrushAndPen(FParentColor);
    FillBand();

    UseFont(*notebook.Font());
    const int offset = TextOffset(false);
    for (int index = 0; index < notebook.PageCount(); ++index) {
        notebook.GetPage(index)->SetArea(plat::TRect{});   // shown again below when it has a tab
    }
    const TTabRows rows{notebook.tabTotalRows, notebook.tabFocusedRow};
    const std::vector<TTabPlacement> tabs =
        PlaceTabs(notebook.TabSlots(), FOrientation, FTabHeight, rows, FWidth, FHeight);
    const TTabPlacement* activeTab = nullptr;
    for (const TTabPlacement& tab : tabs) {
        TPgcTabPage* page = notebook.GetPage(tab.Index);
        page->SetArea(tab.Area);
        UseFont(*page->Font());
        FCanvas.Font()->SetColor(page->TextColor());
        DrawTab(tab, tab.Area, tab.Index == notebook.PageIndex(), offset);
        UseBrushAndPen(FParentColor);
        FillCorners(tab);
        if (tab.Index == notebook.PageIndex()) {
            activeTab = &tab;
        }
    }
    if (activeTab != nullptr) {
        if (notebook.UseActiveTabFont()) {
            UseFont(*notebook.ActiveTabFont());
        } else {
            UseFont(*active->Font());
            FCanvas.Font()->SetColor(active->TextColor());
        }
        DrawTab(*activeTab, EnlargedTab(FOrientation, activeTab->Area), true, TextOffset(true));
    }
    if (active != nullptr) {
        UseBrushAndPen(active->TabColor());
    }
    if (notebook.Focused()) {
        notebook.DrawTabFocusRect(notebook.PageIndex());
    }
}

void TPgcTabPainter::FillBand()
{
    for (const plat::TRect& rect :
         TabBand(FOrientation, FNotebook.tabTotalRows * FTabHeight, FWidth, FHeight, FNotebook.OldStyle())) {
        FCanvas.FillRect(rect);
    }
}

void TPgcTabPainter::UseFont(const plat::TFont& Font)
{
    FCanvas.Font()->Assign(&Font);
    if (IsSideways(FOrientation)) {
        FCanvas.Font()->SetOrientation(FOrientation == toLeft ? 900 : 2700);
    }
}

int TPgcTabPainter::TextOffset(bool Active)
{
    const int height = FCanvas.TextHeight(TabMeasureText());
    if (Active) {
        return (FTabHeight - height + 2) / 2;
    }
    return IsSideways(FOrientation) ? (FTabHeight - height) / 2 - 1 : (FTabHeight - height) / 2;
}

void TPgcTabPainter::DrawTab(const TTabPlacement& Tab, const plat::TRect& Area, bool Active, int TextOffset)
{
    const TPgcTabPage& page = *FNotebook.GetPage(Tab.Index);
    const TTabShape shape = ShapeOf(Area);
    DrawOutline(shape, page.TabColor());
    if (Active) {
        DrawBodyFrame(shape);
    }
    const bool enabled = FNotebook.Enabled() && page.Enabled();
    if (FNotebook.DoOnDrawTab(Tab.Index, page.Caption(), enabled, Active)) {
        return;
    }
    DrawCaption(page, Area, enabled, TextOffset);
}

void TPgcTabPainter::DrawOutline(const TTabShape& Shape, plat::TColor TabColor)
{
    const auto [L, T0, Rt, B] = Shape;
    UseBrushAndPen(TabColor);
    const plat::TPoint outline[] = {Map(L, B), Map(L, T0 + 2), Map(L + 2, T0), Map(Rt - 4, T0),
                                    Map(Rt - 2, T0 + 2), Map(Rt - 2, B)};
    FCanvas.Polygon(outline, 6);
    const plat::TColor highlight = FNotebook.HighlightColor();
    const plat::TColor shadow = FNotebook.ShadowColor();
    if (!DarkOuterEdge()) {
        Lines({{L, B - 1}, {L, T0 + 2}, {L + 2, T0}, {Rt - 2, T0}}, highlight);
        Lines({{Rt - 2, T0 + 1}, {Rt - 1, T0 + 2}, {Rt - 1, B}}, plat::clBlack);
        Lines({{Rt - 2, T0 + 2}, {Rt - 2, B}}, shadow);
        return;
    }
    Lines({{L, B - 1}, {L, T0 + 2}, {L + 2, T0}}, highlight);
    Lines({{L + 2, T0}, {Rt - 3, T0}, {Rt - 1, T0 + 2}, {Rt - 1, B}}, plat::clBlack);
    Lines({{L + 2, T0 + 1}, {Rt - 3, T0 + 1}, {Rt - 2, T0 + 2}, {Rt - 2, B}}, shadow);
}

// The frame of the page body, open where the active tab joins it.
void TPgcTabPainter::DrawBodyFrame(const TTabShape& Shape)
{
    const auto [L, T0, Rt, B] = Shape;
    const int W = FAlong;
    const int H = FDepth;
    const plat::TColor body = FNotebook.Color();
    const plat::TColor highlight = FNotebook.HighlightColor();
    const plat::TColor shadow = FNotebook.ShadowColor();
    if (!DarkOuterEdge()) {
        Lines({{L, B}, {Rt, B}}, body);
        Lines({{L, B}, {0, B}, {0, H - 1}}, highlight);
        Lines({{Rt - 1, B}, {W - 2, B}}, highlight);
        Lines({{0, H - 1}, {W - 1, H - 1}, {W - 1, B - 1}}, plat::clBlack);
        Lines({{1, H - 2}, {W - 2, H - 2}, {W - 2, B - 1}}, shadow);
        return;
    }
    Lines({{0, B + 1}, {0, H - 1}, {W - 1, H - 1}}, highlight);
    Lines({{0, B}, {W - 1, B}, {W - 1, H}}, plat::clBlack);
    Lines({{1, B + 1}, {W - 2, B + 1}, {W - 2, H - 1}}, shadow);
    Lines({{L + 1, B}, {Rt - 2, B}}, body);
    Lines({{L + 1, B + 1}, {Rt - 2, B + 1}}, body);
    Lines({{L, B}, {L, B + 1}}, highlight);
    Lines({{Rt - 2, B}, {Rt - 2, B + 2}}, shadow);
}

// The small triangles outside a tab's chamfered corners. Behind the first
// row painted lies the band; behind the others the row painted before, so
// their corners take the colour found just outside them.
void TPgcTabPainter::FillCorners(const TTabPlacement& Tab)
{
    const auto [L, T0, Rt, B] = ShapeOf(Tab.Area);
    const bool pickColor = !Tab.FirstPaintedRow;
    const bool startCorner =
        IsSideways(FOrientation) ? Tab.FirstPaintedRow || Tab.FirstInRow : Tab.FirstPaintedRow || !Tab.FirstInRow;
    if (startCorner) {
        FillCorner({{L, T0}, {L + 1, T0}, {L, T0 + 1}}, {L, T0 - 1}, pickColor);
    }
    FillCorner({{Rt, T0}, {Rt - 2, T0}, {Rt, T0 + 2}}, {Rt, T0 - 1}, pickColor);
}

void TPgcTabPainter::FillCorner(std::initializer_list<plat::TPoint> Triangle, plat::TPoint Outside, bool PickColor)
{
    if (PickColor) {
        const plat::TPoint at = Map(Outside.X, Outside.Y);
        UseBrushAndPen(FCanvas.Pixel(at.X, at.Y));
    }
    std::vector<plat::TPoint> mapped;
    for (const plat::TPoint& point : Triangle) {
        mapped.push_back(Map(point.X, point.Y));
    }
    FCanvas.Polygon(mapped.data(), static_cast<int>(mapped.size()));
}

void TPgcTabPainter::DrawCaption(const TPgcTabPage& Page, const plat::TRect& Area, bool Enabled, int TextOffset)
{
    const std::string& caption = Page.Caption();
    if (FCanvas.TextHeight(ShowCaption(caption).Text) > FTabHeight - 4) {
        return;
    }
    const plat::TColor own = FCanvas.Font()->Color();
    const plat::TPoint engraved{-2, -1};
    if (!Enabled) {
        DrawCaptionText(caption, Area, TextOffset, {0, 0}, FNotebook.HighlightColor(), true);
        DrawCaptionText(caption, Area, TextOffset, engraved, FNotebook.ShadowColor(), false);
    } else if (FNotebook.ShadowedText()) {
        DrawCaptionText(caption, Area, TextOffset, {0, 0}, FNotebook.TextShadowColor(), true);
        DrawCaptionText(caption, Area, TextOffset, engraved, own, false);
    } else {
        DrawCaptionText(caption, Area, TextOffset, {0, 0}, own, true);
    }
    FCanvas.Font()->SetColor(own);
}

void TPgcTabPainter::DrawCaptionText(const std::string& Caption, const plat::TRect& Area, int TextOffset,
                                     plat::TPoint Offset, plat::TColor Color, bool Opaque)
{
    FCanvas.Font()->SetColor(Color);
    FCanvas.RequireState();
    plat::TDeviceContext& dc = *FCanvas.Handle();
    dc.SetBkMode(Opaque ? plat::OPAQUE : plat::TRANSPARENT);
    if (IsSideways(FOrientation)) {
        DrawSidewaysText(Caption, Area, TextOffset, Offset);
        return;
    }
    plat::TRect rect =
        plat::Rect(Area.Left + 6, Area.Top + TextOffset, Area.Right - 6, Area.Bottom - TextOffset);
    if (rect.Right > FWidth - 2) {
        rect.Right = FWidth - 14;
    }
    rect = plat::OffsetRect(rect, Offset.X, Offset.Y);
    dc.DrawText(Caption, rect, plat::DT_CENTER | plat::DT_VCENTER | plat::DT_SINGLELINE);
}

// Turned captions are written from a point, centred along the tab, with
// the accelerator letter underlined by a line of their own.
void TPgcTabPainter::DrawSidewaysText(const std::string& Caption, const plat::TRect& Area, int TextOffset,
                                      plat::TPoint Offset)
{
    const TShownCaption shown = ShowCaption(Caption.empty() ? std::string_view(" ") : std::string_view(Caption));
    const int width = FCanvas.TextWidth(shown.Text);
    const int length = static_cast<int>(Area.Height());
    const bool left = FOrientation == toLeft;
    const int x = (left ? Area.Left + TextOffset : Area.Right - TextOffset) + Offset.X;
    const int y = (left ? Area.Bottom - (length - width) / 2 : Area.Top + (length - width) / 2) + Offset.Y;
    FCanvas.TextOut(x, y, shown.Text);
    if (shown.Accelerator == std::string::npos) {
        return;
    }
    const int before = FCanvas.TextWidth(shown.Text.substr(0, shown.Accelerator));
    const int letter =
        FCanvas.TextWidth(shown.Text.substr(shown.Accelerator, CharLength(shown.Text, shown.Accelerator)));
    const int ascent = FCanvas.Handle()->GetTextMetrics().Ascent;
    FCanvas.Pen()->SetColor(FCanvas.Font()->Color());
    if (left) {
        FCanvas.MoveTo(x + ascent + 1, y - before);
        FCanvas.LineTo(x + ascent + 1, y - before - letter);
    } else {
        FCanvas.MoveTo(x - ascent - 1, y + before);
        FCanvas.LineTo(x - ascent - 1, y + before + letter);
    }
}

} // namespace qel
