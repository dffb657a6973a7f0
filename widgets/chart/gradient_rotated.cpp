// Gradients turned by an angle: painted unturned on a bitmap large enough
// for the turn, turned by the filter unit's hook and drawn centred.
#include "widgets/chart/chart_gradient.h"

#include "widgets/chart/chart_canvas_unit.h"
#include "widgets/chart/cht_canvas3d.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/graphics_errors.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace qel {

void TCustomChtGradient::DrawRotated(TChtCanvas3D& Canvas, const plat::TRect& Rect) const
{
    const double Width = static_cast<double>(Rect.Right) - Rect.Left;
    const double Height = static_cast<double>(Rect.Bottom) - Rect.Top;
    const double Radians = (360.0 - FAngle) * DegToRad;
    const double S = std::sin(Radians);
    const double C = std::cos(Radians);
    const double Across = S * C > 0 ? Width * C + Height * S : Width * C - Height * S;
    const double Down = S * C > 0 ? Width * S + Height * C : Width * S - Height * C;
    const double TurnedWidth = std::abs(std::round(Across)) + 2;
    const double TurnedHeight = std::abs(std::round(Down)) + 2;
    // A picture the platform cannot hold raises its error.
    if (!(TurnedWidth <= std::numeric_limits<int>::max() && TurnedHeight <= std::numeric_limits<int>::max())) {
        throw plat::EInvalidGraphic("Invalid bitmap size");
    }
    plat::TBitmap Turned(static_cast<int>(TurnedWidth), static_cast<int>(TurnedHeight), plat::pf24bit);
    {
        TChtCanvas3D Painter;
        Painter.SetUseBuffer(false);
        const TRect Whole = Painter.InitWindow(Turned.Canvas(), nullptr, clNone, false,
            {0, 0, Turned.Width(), Turned.Height()});
        TChtGradient Unturned;
        Unturned.Assign(this);
        Unturned.SetAngle(0);
        // Asked to paint, whether or not it shows as a brush's gradient.
        Unturned.SetVisible(true);
        Unturned.Draw(Painter, Whole, 0);
    }
    if (GradientRotateHook != nullptr) {
        GradientRotateHook(*this, Turned);
    }
    Canvas.ClipRectangle(Rect);
    Canvas.Draw(plat::SaturateInt(std::int64_t{Rect.Left} - (Turned.Width() - static_cast<std::int64_t>(Width)) / 2),
        plat::SaturateInt(std::int64_t{Rect.Top} - (Turned.Height() - static_cast<std::int64_t>(Height)) / 2),
        &Turned);
    Canvas.UnClipRectangle();
}

} // namespace qel
