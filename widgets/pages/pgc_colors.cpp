// The colour pair: setters, defaults and streaming.
#include "widgets/pages/pgc_colors.h"

#include "platform/objects/reader.h"

namespace qel {

PLAT_DEFINE_CLASS(TPgcColors, plat::TPersistent,
    plat::Published("BackColor", &TPgcColors::BackColor, &TPgcColors::SetBackColor),
    plat::Published("TextColor", &TPgcColors::TextColor, &TPgcColors::SetTextColor))

TPgcColors::TPgcColors(plat::TColor FG, plat::TColor BG)
    : FBackColor(BG), FTextColor(FG), cDefBackColor(BG), cDefTextColor(FG)
{
    ApplyDefaultColors();
}

void TPgcColors::SetBackColor(plat::TColor Value)
{
    if (Value == FBackColor) {
        return;
    }
    if (Value != cDefBackColor) {
        FUseDefault = false;
    }
    FBackColor = Value;
    NotifyColorChange();
}

void TPgcColors::SetTextColor(plat::TColor Value)
{
    if (Value == FTextColor) {
        return;
    }
    if (Value != cDefTextColor) {
        FUseDefault = false;
    }
    FTextColor = Value;
    NotifyColorChange();
}

void TPgcColors::SetUseDefault(bool Value)
{
    FUseDefault = Value;
    if (Value) {
        ApplyDefaultColors();
        NotifyColorChange();
    }
}

void TPgcColors::Assign(const plat::TPersistent* Source)
{
    if (const auto* colors = dynamic_cast<const TPgcColors*>(Source)) {
        SetBackColor(colors->BackColor());
        SetTextColor(colors->TextColor());
        return;
    }
    plat::TPersistent::Assign(Source);
}

void TPgcColors::DefineProperties(plat::TFiler& Filer)
{
    plat::TPersistent::DefineProperties(Filer);
    Filer.DefineProperty("UseDefault", [](plat::TReader& reader) { reader.ReadBoolean(); }, {}, false);
}

void TPgcColors::ApplyDefaultColors()
{
    FBackColor = cDefBackColor;
    FTextColor = cDefTextColor;
}

void TPgcColors::NotifyColorChange()
{
    OnColorChange(this);
}

} // namespace qel
