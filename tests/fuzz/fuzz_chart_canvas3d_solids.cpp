// Fuzz target for the 3D chart canvas's shapes and solids: pies, donuts
// and 3D pie slices with any angles (NaN and infinities included), radii,
// depths, hole, bevel and transparency; cylinders, cones, pyramids, cubes,
// ellipses, arrows and pixels with any corners, in flat, orthogonal and
// turned views. Nothing may crash, overflow or touch memory outside the
// bitmap, and every blend begun must be ended.
//
// The input is consumed in order: the view byte, then one operation after
// another, a kind byte and the operation's values; missing bytes read as 0.
#include "tests/fuzz/input_bytes.h"

#include "widgets/chart/cht_canvas3d.h"
#include "widgets/chart/view3d_options.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/canvas.h"

#include <cstdint>
#include <cstdlib>
#include <limits>

namespace {

using namespace qel;
using fuzz::TInputBytes;

constexpr int CanvasWidth = 64;
constexpr int CanvasHeight = 48;
constexpr int MostOperations = 4;

// Near the bitmap mostly, anywhere in the int range when the low bit of
// the value says so.
int Coordinate(TInputBytes& Input)
{
    const auto Value = Input.Next<std::int16_t>();
    return (Value & 1) != 0 ? Value * 65536 : Value % 96 - 16;
}

// Radians within a few turns, or a value no angle should be.
double Angle(TInputBytes& Input)
{
    const auto Value = Input.Next<std::int16_t>();
    switch (Value & 0x0F) {
    case 0: return std::numeric_limits<double>::quiet_NaN();
    case 1: return std::numeric_limits<double>::infinity();
    case 2: return Value * 1e300;
    default: return Value / 2000.0;
    }
}

void Pies(TChtCanvas3D& Canvas, TInputBytes& Input, std::uint8_t Kind)
{
    const int X = Coordinate(Input);
    const int Y = Coordinate(Input);
    const int RX = Coordinate(Input);
    const int RY = Coordinate(Input);
    const double Start = Angle(Input);
    const double End = Angle(Input);
    const auto Flags = Input.Next<std::uint8_t>();
    switch (Kind % 3) {
    case 0:
        Canvas.Pie3D(X, Y, RX, RY, 0, Coordinate(Input), Start, End, (Flags & 1) != 0, (Flags & 2) != 0,
            Input.Next<std::int8_t>(), nullptr, Input.Next<std::int8_t>(), static_cast<TEdgeStyle>(Flags % 3),
            Input.Next<std::uint8_t>() % 101, Input.Next<std::int16_t>(), (Flags & 4) != 0, (Flags & 8) != 0);
        break;
    case 1: Canvas.Donut(X, Y, RX, RY, Start, End, Input.Next<std::int8_t>()); break;
    default: Canvas.Pie(TRect{X, Y, RX, RY}, Start * 60, End * 60); break;
    }
}

void Solids(TChtCanvas3D& Canvas, TInputBytes& Input, std::uint8_t Kind)
{
    const int L = Coordinate(Input);
    const int T = Coordinate(Input);
    const int R = Coordinate(Input);
    const int B = Coordinate(Input);
    const int Z0 = Coordinate(Input);
    const int Z1 = Coordinate(Input);
    const auto Flags = Input.Next<std::uint8_t>();
    const bool Vertical = (Flags & 1) != 0;
    const bool Dark = (Flags & 2) != 0;
    switch (Kind % 6) {
    case 0: Canvas.Cone(Vertical, L, T, R, B, Z0, Z1, Dark, Input.Next<std::int8_t>()); break;
    case 1: Canvas.Pyramid(Vertical, L, T, R, B, Z0, Z1, Dark); break;
    case 2: Canvas.Cube(L, R, T, B, Z0, Z1, Dark, 0); break;
    case 3: Canvas.EllipseWithZ(L, T, R, B, Z0); break;
    case 4: Canvas.Arrow(Dark, TPoint{L, T}, TPoint{R, B}, Z0, Z1, Z0, Z1, Angle(Input)); break;
    default: Canvas.SetPixel3D(L, T, Z0, clRed); break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TInputBytes Input(data, size);
    plat::TBitmap Screen(CanvasWidth, CanvasHeight, plat::pf24bit);
    const TRect Whole{0, 0, CanvasWidth, CanvasHeight};
    TView3DOptions Options(nullptr);
    const auto View = Input.Next<std::uint8_t>();
    Options.SetOrthogonal((View & 1) != 0);
    Options.SetRotation(View);
    Options.SetElevation(View * 7);
    TChtCanvas3D Canvas;
    Canvas.SetUseBuffer(false);
    Canvas.Pie3DUsingArcs = (View & 2) != 0;
    Canvas.InitWindow(Screen.Canvas(), &Options, clWhite, (View & 4) != 0, Whole);
    Canvas.Projection(100, Whole, Whole);
    Canvas.Brush()->SetColor(clBlue);
    for (int Count = 0; Count < MostOperations && !Input.AtEnd(); ++Count) {
        const auto Kind = Input.Next<std::uint8_t>();
        if ((Kind & 0x80) != 0) {
            Pies(Canvas, Input, Kind);
        } else {
            Solids(Canvas, Input, Kind);
        }
    }
    if (Canvas.TransparencyDepth() != 0) {
        std::abort();
    }
    return 0;
}
