// A sampler of the 3D chart canvas drawn into its off-screen buffer: a
// cube, a cylinder, a cone and a pyramid with shaded sides, 3D pie slices
// with a hole and a bevel, gradient-filled shapes, smooth shadows, and the
// canvas's text: shadowed, turned, HTML-like, in depth, gradient-filled,
// outlined and in the display fonts. The picture is saved as a PNG beside the test
// output (or in QEL_SCREENSHOT_DIR) to be looked at.
#include "html_unit_scope.h"

#include "widgets/chart/chart_canvas_unit.h"
#include "widgets/chart/chart_resources.h"
#include "widgets/chart/chart_shadow.h"
#include "widgets/chart/cht_canvas3d.h"
#include "widgets/chart/view3d_options.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/canvas.h"
#include "platform/canvas/pixel_surface.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <cstdlib>
#include <numbers>
#include <string>

namespace qel {
namespace {

constexpr double Degree = std::numbers::pi / 180;

TColor PixelAt(plat::TBitmap& Bitmap, int X, int Y)
{
    const std::uint8_t* Pixel = Bitmap.ScanLine(Y) + X * 3;
    return static_cast<TColor>(Pixel[2] | Pixel[1] << 8 | Pixel[0] << 16);
}

void UseColour(TChtCanvas3D& Canvas, TColor Colour)
{
    Canvas.Gradient()->SetVisible(false);
    Canvas.Brush()->SetStyle(plat::bsSolid);
    Canvas.Brush()->SetColor(Colour);
    Canvas.Pen()->SetStyle(plat::psSolid);
    Canvas.Pen()->SetColor(clBlack);
}

void DrawSolids(TChtCanvas3D& Canvas)
{
    UseColour(Canvas, clRed);
    Canvas.Cube(30, 100, 40, 110, 10, 60, true, 0);
    UseColour(Canvas, static_cast<TColor>(plat::RGB(40, 90, 220)));
    Canvas.Cylinder(true, 130, 40, 190, 110, 10, 60, true);
    UseColour(Canvas, static_cast<TColor>(plat::RGB(30, 170, 60)));
    Canvas.Cone(true, 220, 40, 280, 110, 10, 60, false, 0);
    UseColour(Canvas, static_cast<TColor>(plat::RGB(230, 200, 30)));
    Canvas.Pyramid(true, 310, 40, 380, 110, 10, 60, true);
    UseColour(Canvas, static_cast<TColor>(plat::RGB(200, 90, 200)));
    Canvas.Cone(false, 400, 50, 460, 100, 10, 60, true, 50);
}

void DrawPies(TChtCanvas3D& Canvas)
{
    struct TSlice {
        double From;
        double To;
        TColor Colour;
    };
    const TSlice Slices[] = {{0, 110, clRed}, {110, 230, static_cast<TColor>(plat::RGB(40, 90, 220))},
        {230, 360, static_cast<TColor>(plat::RGB(30, 170, 60))}};
    for (const TSlice& Slice : Slices) {
        UseColour(Canvas, Slice.Colour);
        Canvas.Pie3D(110, 220, 80, 45, 0, 20, Slice.From * Degree, Slice.To * Degree, true, true, 40, nullptr, 15,
            edNone, 0, 40, true, false);
    }
    // The far slice first, then the near one, 40 % transparent, over it.
    UseColour(Canvas, static_cast<TColor>(plat::RGB(120, 60, 180)));
    Canvas.Pie3D(290, 220, 70, 40, 0, 25, 20 * Degree, 160 * Degree, true, true, 0, nullptr, 0, edNone, 0, 0, false,
        false);
    UseColour(Canvas, static_cast<TColor>(plat::RGB(250, 140, 30)));
    Canvas.Pie3D(290, 220, 70, 40, 0, 25, 200 * Degree, 340 * Degree, true, true, 0, nullptr, 0, edNone, 40, 0, false,
        false);
}

void DrawGradientsAndShadows(TChtCanvas3D& Canvas)
{
    TChtShadow Shadow(nullptr);
    Shadow.SetVisible(true);
    Shadow.SetSmooth(true);
    Shadow.SetHorizSize(6);
    Shadow.SetVertSize(6);
    Shadow.SetColor(clGray);
    Shadow.SetTransparency(30);
    Canvas.DrawShadow(Shadow, {398, 168, 478, 228}, true, 0, {}, 0, 0, 0);
    UseColour(Canvas, clWhite);
    TChtGradient& Shade = *Canvas.Gradient();
    Shade.SetStartColor(clYellow);
    Shade.SetEndColor(clRed);
    Shade.SetDirection(gdLeftRight);
    Shade.SetVisible(true);
    Canvas.Ellipse(390, 160, 470, 220);
    const TPoint Star[] = {{400, 300}, {430, 240}, {460, 300}, {395, 262}, {465, 262}};
    Shade.SetDirection(gdTopBottom);
    Canvas.Polygon(Star);
    Shade.SetStartColor(clAqua);
    Shade.SetEndColor(clNavy);
    Canvas.Pie(TRect{20, 280, 120, 350}, 30, 300);
    Shade.SetVisible(false);
    Canvas.Donut(190, 315, 45, 30, 0, 2 * std::numbers::pi, 45);
}

void DrawTexts(TChtCanvas3D& Canvas)
{
    Canvas.SetBackMode(cbmTransparent);
    TChtFont& Font = *Canvas.Font();
    Font.SetName("Arial");
    Font.SetSize(16);
    Font.SetColor(clNavy);
    TChtShadow& Shadow = *Font.Shadow();
    Shadow.SetHorizSize(3);
    Shadow.SetVertSize(3);
    Shadow.SetSmooth(false);
    Shadow.SetColor(clGray);
    Shadow.SetTransparency(0);
    Shadow.SetVisible(true);
    Canvas.TextOut(250, 300, "Shadowed");
    Font.SetShadow(nullptr);
    Font.SetSize(11);
    Canvas.RotateLabel(440, 360, "turned 30", 30, false);
    Canvas.RotateLabel(505, 350, "turned 90", 90, false);
    Canvas.TextOut(20, 380, "<B>Bold</B>, <I>italic</I>, <FONT COLOR=RED>red</FONT> and H<SUB>2</SUB>O<BR>"
                            "<U>underlined</U> on a second line",
        true);
    Canvas.TextOut3D(20, 440, 0, "a label in depth", false);
    Font.SetSize(22);
    Font.SetStyle({plat::fsBold});
    TChtGradient& Fill = *Font.Gradient();
    Fill.SetStartColor(clRed);
    Fill.SetEndColor(clBlue);
    Fill.SetVisible(true);
    Canvas.TextOut(250, 385, "Gradient");
    Fill.SetVisible(false);
    Font.SetColor(clYellow);
    Font.OutLine()->SetColor(clBlack);
    Font.OutLine()->SetVisible(true);
    Canvas.TextOut(250, 420, "Outlined");
    Font.SetOutLine(nullptr);
    Font.SetStyle({});
    Font.SetColor(static_cast<TColor>(plat::RGB(0, 140, 0)));
    Font.SetName("DS-Digital");
    Canvas.TextOut(400, 390, "12:34");
    Font.SetName("Elektra");
    Font.SetSize(14);
    Canvas.TextOut(400, 425, "LCD 42");
}

TEST(ChtCanvas3DSampler, DrawsEveryKindOfShapeIntoAPicture)
{
    RegisterChartResources();
    InitChartCanvas();
    const test::THtmlUnitScope Html;
    const TRect Whole{0, 0, 540, 470};
    plat::TBitmap Target(Whole.Right, Whole.Bottom, plat::pf24bit);
    plat::TCanvas Dest(Target.Canvas()->Handle());
    TView3DOptions Options(nullptr);
    Options.SetOrthogonal(false);
    Options.SetRotation(340);
    Options.SetElevation(340);
    Options.SetPerspective(10);
    TChtCanvas3D Canvas;
    Canvas.InitWindow(&Dest, &Options, clWhite, true, Whole);
    Canvas.Projection(100, Whole, Whole);
    Canvas.Brush()->SetColor(clWhite);
    Canvas.FillRect(Whole);
    DrawSolids(Canvas);
    Canvas.DisableRotation();
    DrawPies(Canvas);
    DrawGradientsAndShadows(Canvas);
    DrawTexts(Canvas);
    Canvas.EnableRotation();
    Canvas.ShowImage(&Dest, &Dest, Whole);

    EXPECT_NE(PixelAt(Target, 65, 75), clWhite) << "the cube";
    EXPECT_NE(PixelAt(Target, 160, 75), clWhite) << "the cylinder";
    EXPECT_NE(PixelAt(Target, 110, 215), clWhite) << "the pie";
    EXPECT_EQ(PixelAt(Target, 110, 231), clWhite) << "the pie's hole";
    EXPECT_NE(PixelAt(Target, 474, 198), clWhite) << "the ellipse's shadow";
    EXPECT_NE(PixelAt(Target, 430, 190), clWhite) << "the gradient ellipse";
    EXPECT_EQ(PixelAt(Target, 2, 2), clWhite);
    const auto Inked = [&](const TRect& R) {
        int Count = 0;
        for (int Y = R.Top; Y < R.Bottom; ++Y) {
            for (int X = R.Left; X < R.Right; ++X) {
                Count += PixelAt(Target, X, Y) != clWhite ? 1 : 0;
            }
        }
        return Count;
    };
    EXPECT_GT(Inked({20, 380, 240, 430}), 200) << "the HTML text";
    EXPECT_GT(Inked({20, 440, 200, 460}), 100) << "the label in depth";
    EXPECT_GT(Inked({495, 270, 520, 355}), 100) << "the label turned 90";
    EXPECT_GT(Inked({400, 390, 520, 460}), 200) << "the display fonts";
    const char* Dir = std::getenv("QEL_SCREENSHOT_DIR");
    const std::string Path = (Dir != nullptr ? std::string(Dir) : std::filesystem::temp_directory_path().string()) +
                             "/chart_canvas3d_sampler.png";
    EXPECT_TRUE(Target.PixelSurface()->SaveToPng(Path));
    FinalizeChartCanvas();
}

} // namespace
} // namespace qel
