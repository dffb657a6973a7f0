// The editor's margins and their effect on its layout and painting.
#include "widgets/pages/pgc_editor_margins.h"

#include "widgets/pages/pgc_editor.h"

namespace qel {

PLAT_DEFINE_CLASS(TPgcEditorMargin, plat::TPersistent,
    plat::Published("Enabled", &TPgcEditorMargin::Enabled, &TPgcEditorMargin::SetEnabled).Default(false),
    plat::Published("LineWeight", &TPgcEditorMargin::LineWeight, &TPgcEditorMargin::SetLineWeight).Default(1),
    plat::Published("LineStyle", &TPgcEditorMargin::LineStyle, &TPgcEditorMargin::SetLineStyle,
        {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame", "psUserStyle",
            "psAlternate"}).Default(plat::psSolid),
    plat::Published("LineColor", &TPgcEditorMargin::LineColor, &TPgcEditorMargin::SetLineColor).Default(0),
    plat::Published("LinePosition", &TPgcEditorMargin::LinePosition, &TPgcEditorMargin::SetLinePosition))

PLAT_DEFINE_CLASS(TPgcEditorMargins, plat::TPersistent,
    plat::Published("Left", &TPgcEditorMargins::Left, nullptr),
    plat::Published("Right", &TPgcEditorMargins::Right, nullptr))

namespace {

constexpr int DefaultLeftMargin = 15;
constexpr int DefaultRightMargin = 5;

} // namespace

// ---- TPgcEditorMargin ----

TPgcEditorMargin::TPgcEditorMargin(TPgcMarginSide Side, TPgcCustomEditor* AOwner)
    : FEditor(AOwner), FSide(Side), FLinePosition(Side == msLeft ? DefaultLeftMargin : DefaultRightMargin)
{
}

void TPgcEditorMargin::Measure()
{
    if (FEditor != nullptr) {
        FEditor->edAdjustMargins();
    }
}

void TPgcEditorMargin::Repaint()
{
    if (FEditor != nullptr) {
        FEditor->Invalidate();
    }
}

void TPgcEditorMargin::SetEnabled(bool Value)
{
    if (Value != FEnabled) {
        FEnabled = Value;
        Measure();
    }
}

void TPgcEditorMargin::SetLineWeight(int Value)
{
    if (Value != FLineWeight) {
        FLineWeight = Value;
        Measure();
    }
}

void TPgcEditorMargin::SetLinePosition(int Value)
{
    if (Value != FLinePosition) {
        FLinePosition = Value;
        Measure();
    }
}

void TPgcEditorMargin::SetLineStyle(plat::TPenStyle Value)
{
    if (Value != FLineStyle) {
        FLineStyle = Value;
        Repaint();
    }
}

void TPgcEditorMargin::SetLineColor(plat::TColor Value)
{
    if (Value != FLineColor) {
        FLineColor = Value;
        Repaint();
    }
}

// ---- TPgcEditorMargins ----

TPgcEditorMargins::TPgcEditorMargins(TPgcCustomEditor* AOwner)
    : FLeftMargin(std::make_unique<TPgcEditorMargin>(msLeft, AOwner)),
      FRightMargin(std::make_unique<TPgcEditorMargin>(msRight, AOwner))
{
}

TPgcEditorMargins::~TPgcEditorMargins() = default;

} // namespace qel
