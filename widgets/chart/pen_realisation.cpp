// Realising chart pens on platform pens.
#include "widgets/chart/pen_realisation.h"

#include "widgets/chart/chart_canvas_unit.h"
#include "widgets/chart/chart_pen.h"

#include <array>
#include <cstdint>

namespace qel {

namespace {

// The brush of an extended pen: the colour value as it is, system colours
// untranslated.
plat::TLogBrush RawColorBrush(TColor AColor)
{
    return plat::CreateSolidBrush(static_cast<plat::COLORREF>(AColor));
}

std::uint32_t EndCapFlag(TPenEndStyle Style)
{
    switch (Style) {
    case esSquare: return plat::PS_ENDCAP_SQUARE;
    case esFlat: return plat::PS_ENDCAP_FLAT;
    case esRound: break;
    }
    return plat::PS_ENDCAP_ROUND;
}

std::uint32_t JoinFlag(TPenJoinStyle Style)
{
    switch (Style) {
    case jsBevel: return plat::PS_JOIN_BEVEL;
    case jsMitter: return plat::PS_JOIN_MITER;
    case jsRound: break;
    }
    return plat::PS_JOIN_ROUND;
}

} // namespace

void ApplyChtPen(plat::TPen& Pen, const TChtPen& APen, TColor AColor)
{
    if (APen.SmallDots() && APen.Style() != plat::psClear) {
        Pen.SetHandle(CreateDottedPen(AColor, APen.SmallSpace()));
        Pen.SetMode(APen.Mode());
        return;
    }
    Pen.Assign(&APen);
    if (APen.Width() > 1) {
        Pen.SetColor(AColor);
        const std::uint32_t Flags = plat::PS_GEOMETRIC + static_cast<std::uint32_t>(APen.Style())
            + EndCapFlag(APen.EndStyle()) + JoinFlag(APen.JoinStyle());
        Pen.SetHandle(plat::ExtCreatePen(Flags, APen.Width(), RawColorBrush(AColor), 0, nullptr));
        return;
    }
    if (Pen.Color() != AColor) {
        Pen.SetColor(AColor);
    }
    if (ThinPenWidthZero && Pen.Style() != plat::psSolid && Pen.Width() == 1) {
        Pen.SetWidth(0);
    }
}

plat::TLogPen CreateDottedPen(TColor AColor, int Space)
{
    if (Space > 0) {
        const std::array<std::uint32_t, 2> Dots{0, static_cast<std::uint32_t>(Space) + 1};
        return plat::ExtCreatePen(plat::PS_GEOMETRIC + plat::PS_USERSTYLE, 1, RawColorBrush(AColor), 2, Dots.data());
    }
    return plat::ExtCreatePen(plat::PS_ALTERNATE, 1, RawColorBrush(AColor), 0, nullptr);
}

} // namespace qel
