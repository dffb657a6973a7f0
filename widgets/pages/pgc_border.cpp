// Border sides and the set of four.
#include "widgets/pages/pgc_border.h"

namespace qel {

PLAT_DEFINE_CLASS(TPgcBorder, plat::TPersistent,
    plat::Published("BorderStyle", &TPgcBorder::BorderStyle, &TPgcBorder::SetBorderStyle, {"bpsSolid"})
        .StoredIf(&TPgcBorder::Enabled),
    plat::Published("Enabled", &TPgcBorder::Enabled, &TPgcBorder::SetEnabled),
    plat::Published("PenColor", &TPgcBorder::PenColor, &TPgcBorder::SetPenColor).StoredIf(&TPgcBorder::Enabled),
    plat::Published("PenStyle", &TPgcBorder::PenStyle, &TPgcBorder::SetPenStyle,
        {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame", "psUserStyle",
            "psAlternate"}).StoredIf(&TPgcBorder::Enabled),
    plat::Published("PenWidth", &TPgcBorder::PenWidth, &TPgcBorder::SetPenWidth).StoredIf(&TPgcBorder::Enabled))

PLAT_DEFINE_CLASS(TPgcBorders, plat::TPersistent,
    plat::Published("BottomBorder", &TPgcBorders::BottomBorder, nullptr),
    plat::Published("LeftBorder", &TPgcBorders::LeftBorder, nullptr),
    plat::Published("RightBorder", &TPgcBorders::RightBorder, nullptr),
    plat::Published("TopBorder", &TPgcBorders::TopBorder, nullptr))

// ---- TPgcBorder ----

void TPgcBorder::SetEnabled(bool Value)
{
    if (Value != FEnabled) {
        FEnabled = Value;
        Changed();
    }
}

void TPgcBorder::SetBorderStyle(TPgcBorderStyle Value)
{
    if (Value != FBorderStyle) {
        FBorderStyle = Value;
        Changed();
    }
}

void TPgcBorder::SetPenColor(plat::TColor Value)
{
    if (Value != FPenColor) {
        FPenColor = Value;
        Changed();
    }
}

void TPgcBorder::SetPenStyle(plat::TPenStyle Value)
{
    if (Value != FPenStyle) {
        FPenStyle = Value;
        Changed();
    }
}

void TPgcBorder::SetPenWidth(int Value)
{
    if (Value > 0 && Value != FPenWidth) {
        FPenWidth = Value;
        Changed();
    }
}

void TPgcBorder::Assign(const plat::TPersistent* Source)
{
    if (const auto* border = dynamic_cast<const TPgcBorder*>(Source)) {
        SetEnabled(border->Enabled());
        SetPenColor(border->PenColor());
        SetPenStyle(border->PenStyle());
        SetPenWidth(border->PenWidth());
        return;
    }
    plat::TPersistent::Assign(Source);
}

// ---- TPgcBorders ----

TPgcBorders::TPgcBorders()
    : FBottomBorder(std::make_unique<TPgcBorder>()), FLeftBorder(std::make_unique<TPgcBorder>()),
      FRightBorder(std::make_unique<TPgcBorder>()), FTopBorder(std::make_unique<TPgcBorder>())
{
}

TPgcBorders::~TPgcBorders() = default;

void TPgcBorders::Assign(const plat::TPersistent* Source)
{
    if (const auto* borders = dynamic_cast<const TPgcBorders*>(Source)) {
        FBottomBorder->Assign(borders->BottomBorder());
        FLeftBorder->Assign(borders->LeftBorder());
        FRightBorder->Assign(borders->RightBorder());
        FTopBorder->Assign(borders->TopBorder());
        return;
    }
    plat::TPersistent::Assign(Source);
}

} // namespace qel
