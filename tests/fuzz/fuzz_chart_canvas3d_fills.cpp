// Fuzz target for the 3D chart canvas's fills and shadows: a sequence of
// gradient fills (any direction, balance, radial offset, middle colour,
// turn and monochrome switch), rectangles with gradient brushes and
// shadows (any offsets, direction, blur, clip, transparency, shape) on a
// small buffered canvas and on its unbuffered twin. Rectangles may be
// empty, inverted, far off the bitmap or huge; nothing may crash or touch
// memory outside the bitmaps.
//
// The input is consumed in order, one operation after another: a kind
// byte, then the operation's values; missing bytes read as 0.
#include "tests/fuzz/input_bytes.h"
#include "tests/widgets/chart/test_chart_canvas3d.h"

#include "widgets/chart/chart_filters_unit.h"
#include "widgets/chart/chart_gradient.h"
#include "widgets/chart/chart_shadow.h"

#include <cstdint>

namespace {

using namespace qel;
using fuzz::TInputBytes;

constexpr int CanvasWidth = 64;
constexpr int CanvasHeight = 48;
constexpr int MostOperations = 4;

// Corners near the bitmap mostly, anywhere when the high bit says so.
int Coordinate(TInputBytes& Input, bool Wide)
{
    const auto Value = Input.Next<std::int16_t>();
    return Wide ? Value * 4 : Value % 96 - 16;
}

TRect NextRect(TInputBytes& Input, bool Wide)
{
    return {Coordinate(Input, Wide), Coordinate(Input, Wide), Coordinate(Input, Wide), Coordinate(Input, Wide)};
}

TColor NextColor(TInputBytes& Input)
{
    return static_cast<TColor>(Input.Next<std::uint32_t>() & 0x1FFFFFFF);
}

void GradientFill(TChtCanvas3D& Canvas, TInputBytes& Input, bool Wide)
{
    const TRect R = NextRect(Input, Wide);
    const auto Direction = static_cast<TGradientDirection>(Input.Next<std::uint8_t>() % 10);
    // Radial fills draw an ellipse per step: they stay near the bitmap.
    const TRect Area = Direction == gdRadial ? NextRect(Input, false) : R;
    Canvas.GradientFill(Area, NextColor(Input), NextColor(Input), Direction, Input.Next<std::int8_t>(),
        Input.Next<std::int8_t>(), Input.Next<std::int8_t>());
}

void GradientObjectFill(TChtCanvas3D& Canvas, TInputBytes& Input)
{
    TChtGradient Gradient;
    Gradient.SetVisible(true);
    Gradient.SetDirection(static_cast<TGradientDirection>(Input.Next<std::uint8_t>() % 10));
    Gradient.SetStartColor(NextColor(Input));
    Gradient.SetEndColor(NextColor(Input));
    const TColor Mid = NextColor(Input);
    if ((Mid & 1) != 0) {
        Gradient.SetMidColor(Mid);
    }
    Gradient.SetBalance(Input.Next<std::int8_t>());
    // A turned fill paints on a canvas of the library's own class, whose
    // ellipses (for radial fills) come with its shape drawing. Turned fills
    // are the slowest: one such fill in four is turned.
    const auto Angle = Input.Next<std::int16_t>();
    if (Gradient.Direction() != gdRadial && (Angle & 0x6000) == 0) {
        Gradient.SetAngle(Angle % 720);
    }
    Gradient.SubGradient()->SetVisible((Mid & 2) != 0);
    Gradient.SubGradient()->SetTransparency(static_cast<TChtTransparency>(Input.Next<std::uint8_t>() % 101));
    Canvas.SetMonochrome((Mid & 4) != 0);
    Canvas.Brush()->SetGradient(&Gradient);
    const TRect R = NextRect(Input, false);
    if ((Mid & 8) != 0) {
        Canvas.RoundRect(R.Left, R.Top, R.Right, R.Bottom, Input.Next<std::int8_t>(), Input.Next<std::int8_t>());
    } else {
        Canvas.Rectangle(R);
    }
    Canvas.Brush()->SetGradient(nullptr);
}

void Shadow(TChtCanvas3D& Canvas, TInputBytes& Input)
{
    TChtShadow Shadow;
    Shadow.SetColor(NextColor(Input));
    Shadow.SetHorizSize(Input.Next<std::int8_t>());
    Shadow.SetVertSize(Input.Next<std::int8_t>());
    const auto Flags = Input.Next<std::uint8_t>();
    Shadow.SetDirection(static_cast<TShadowDirection>(Flags % 5));
    Shadow.SetSmooth((Flags & 8) != 0);
    Shadow.SetClip((Flags & 16) != 0);
    Shadow.SetTransparency(static_cast<TChtTransparency>(Input.Next<std::uint8_t>() % 101));
    Shadow.SetSmoothBlur(Input.Next<std::int8_t>());
    Shadow.BlurSize = Input.Next<std::int8_t>() % 16;
    const TRect R = NextRect(Input, false);
    if ((Flags & 32) != 0) {
        Canvas.ClipRectangle(NextRect(Input, false));
    }
    switch (Flags >> 6) {
    case 0: Shadow.Draw(Canvas, R, Input.Next<std::int8_t>(), Input.Next<std::int16_t>()); break;
    case 1: Shadow.DrawEllipse(Canvas, R, Input.Next<std::int8_t>(), 0, (Flags & 1) != 0 ? 360 : 90); break;
    default: {
        const TPointArray Points{{R.Left, R.Top}, {R.Right, R.Top}, {R.Left, R.Bottom}};
        Shadow.Draw(Canvas, Points, Input.Next<std::uint8_t>() % 5);
        break;
    }
    }
    if ((Flags & 32) != 0) {
        Canvas.UnClipRectangle();
    }
}

void Run(test::TDrawingCanvas3D& Canvas, const std::uint8_t* Data, std::size_t Size)
{
    TInputBytes Input(Data, Size);
    for (int Operation = 0; Operation < MostOperations && !Input.AtEnd(); ++Operation) {
        const auto Kind = Input.Next<std::uint8_t>();
        switch (Kind % 4) {
        case 0: GradientFill(Canvas, Input, (Kind & 0x80) != 0); break;
        case 1: GradientObjectFill(Canvas, Input); break;
        case 2: Shadow(Canvas, Input); break;
        default: Canvas.Transparency = static_cast<std::uint8_t>(Input.Next<std::uint8_t>() % 101); break;
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool FiltersReady = [] {
        InitChartFilters();
        return true;
    }();
    (void)FiltersReady;
    plat::TBitmap Screen(CanvasWidth, CanvasHeight, plat::pf24bit);
    const TRect Whole{0, 0, CanvasWidth, CanvasHeight};
    for (const bool Buffered : {true, false}) {
        test::TDrawingCanvas3D Canvas;
        Canvas.SetUseBuffer(Buffered);
        Canvas.InitWindow(Screen.Canvas(), nullptr, clWhite, false, Whole);
        Canvas.Projection(0, Whole, Whole);
        Run(Canvas, data, size);
        Canvas.ShowImage(Screen.Canvas(), Screen.Canvas(), Whole);
    }
    return 0;
}
