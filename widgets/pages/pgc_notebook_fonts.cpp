// The notebook's font and colour rules: sideways tabs need TrueType fonts,
// the notebook's colour follows the active tab while it paints, and the
// tab height scales with the form.
#include "widgets/pages/pgc_notebook.h"

#include "widgets/pages/pgc_exceptions.h"

#include "platform/canvas/pixel_surface.h"
#include "platform/canvas/surface_dc.h"

namespace qel {
namespace {

// What a font that cannot be turned becomes (DejaVu Sans through the
// canvas's font configuration).
constexpr const char* kFallbackFamily = "Arial";

} // namespace

bool IsTrueTypeFont(const plat::TFont& Font)
{
    plat::TPixelSurface surface(1, 1, 24);
    plat::TSurfaceDC dc(surface);
    dc.SelectFont(Font.Handle());
    return (dc.GetTextMetrics().PitchAndFamily & plat::TMPF_TRUETYPE) != 0;
}

bool TPgcNotebook::IsTrueType(const plat::TFont& Font) const
{
    return FTrueTypeTest ? FTrueTypeTest(Font) : IsTrueTypeFont(Font);
}

void TPgcNotebook::RequireTrueType(plat::TFont& Font)
{
    if (IsTrueType(Font)) {
        return;
    }
    Font.SetName(kFallbackFamily);
    throw EInvalidTabFont();
}

// Before the tabs turn sideways: outside design mode a font that is no
// TrueType font refuses the orientation (fonts unchanged); in design mode
// it takes the fallback family.
void TPgcNotebook::CheckTabFonts()
{
    std::vector<plat::TFont*> fonts{Font()};
    if (FUseActiveTabFont) {
        fonts.push_back(FActiveTabFont.get());
    }
    for (int index = 0; index < PageCount(); ++index) {
        fonts.push_back(GetPage(index)->Font());
    }
    for (plat::TFont* font : fonts) {
        if (IsTrueType(*font)) {
            continue;
        }
        if (!Designing()) {
            throw EInvalidTabFont();
        }
        font->SetName(kFallbackFamily);
    }
}

// The fonts are checked before the pages take the notebook's font, so that
// a refused font reaches them as the fallback family.
void TPgcNotebook::CMFontChanged(plat::TMessage& Msg)
{
    const bool checked = !Loading() && HandleAllocated() && IsSideways(FTabOrientation);
    if (checked) {
        RequireTrueType(*Font());
        if (FUseActiveTabFont) {
            RequireTrueType(*FActiveTabFont);
        }
    }
    Inherited(Msg);
    if (checked) {
        Refresh();
    }
}

void TPgcNotebook::ActiveTabFontChanged(plat::TObject*)
{
    if (!Loading()) {
        Perform(plat::CM_FONTCHANGED, 0, 0);
    }
}

void TPgcNotebook::PageFontChanged(TPgcTabPage* Page)
{
    if (!Loading() && HandleAllocated() && IsSideways(FTabOrientation)) {
        RequireTrueType(*Page->Font());
    }
    Invalidate();
}

void TPgcNotebook::CMColorChanged(plat::TMessage& Msg)
{
    Inherited(Msg);
    if (Loading() || tabPainting) {
        return;
    }
    FPageUsesTabColor = false;
    if (FTabUseDefaultColor) {
        for (int index = 0; index < PageCount(); ++index) {
            GetPage(index)->SetTabColor(Color());
        }
    }
}

void TPgcNotebook::CMParentColorChanged(plat::TMessage& Msg)
{
    Inherited(Msg);
    if (!Loading()) {
        Refresh();
    }
}

void TPgcNotebook::SetColorWhilePainting(plat::TColor Value)
{
    tabPainting = true;
    SetColor(Value);
    tabPainting = false;
}

void TPgcNotebook::ChangeScale(int M, int D)
{
    if (M == D) {
        return;
    }
    SetTabHeight(plat::MulDiv(FTabHeight, M, D));
    FActiveTabFont->SetSize(plat::MulDiv(FActiveTabFont->Size(), M, D));
    CalculateTabs();
}

} // namespace qel
