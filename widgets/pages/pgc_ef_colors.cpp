// The entry field's colour pairs.
#include "widgets/pages/pgc_ef_colors.h"

namespace qel {

PLAT_DEFINE_CLASS(TPgcEfColors, plat::TPersistent,
    plat::Published("Disabled", &TPgcEfColors::Disabled, nullptr),
    plat::Published("Error", &TPgcEfColors::Error, nullptr),
    plat::Published("Highlight", &TPgcEfColors::Highlight, nullptr))

TPgcEfColors::TPgcEfColors()
    : FDisabled(std::make_unique<TPgcColors>(plat::clGrayText, plat::clWindow)),
      FError(std::make_unique<TPgcColors>(plat::clBlack, plat::clRed)),
      FHighlight(std::make_unique<TPgcColors>(plat::clHighlightText, plat::clHighlight))
{
}

TPgcEfColors::~TPgcEfColors() = default;

void TPgcEfColors::Assign(const plat::TPersistent* Source)
{
    const auto* other = dynamic_cast<const TPgcEfColors*>(Source);
    if (other == nullptr) {
        plat::TPersistent::Assign(Source);
        return;
    }
    FDisabled->Assign(other->FDisabled.get());
    FError->Assign(other->FError.get());
    FHighlight->Assign(other->FHighlight.get());
}

void TPgcEfColors::SetOnChange(const plat::TNotifyEvent& Handler)
{
    FDisabled->OnColorChange = Handler;
    FError->OnColorChange = Handler;
    FHighlight->OnColorChange = Handler;
}

} // namespace qel
