// Tests of shadows drawn on the 3D chart canvas: offsets by direction,
// turned corners, when blending starts, flat shapes, and the smooth path
// that blurs the shape and multiplies it into the off-screen bitmap.
#include "chart_bitmap_fixture.h"
#include "test_chart_canvas3d.h"

#include "widgets/chart/chart_blend.h"
#include "widgets/chart/chart_shadow.h"
#include "widgets/chart/shadow_blur.h"

#include "platform/canvas/graphics_errors.h"
#include "platform/canvas/region.h"

#include <gtest/gtest.h>

namespace qel {
namespace {

using test::TCanvas3DScene;
using test::TPixelBytes;

TEST(ShadowDrawing, OffsetsFollowTheDirection)
{
    struct TCase {
        TShadowDirection Direction;
        TRect Moved;
    };
    const TCase Cases[] = {
        {sdLeftTop, {8, 23, 18, 33}},
        {sdLeftBottom, {8, 17, 18, 27}},
        {sdRightTop, {12, 23, 22, 33}},
        {sdRightBottom, {12, 17, 22, 27}},
        {sdCenter, {8, 17, 22, 33}},
    };
    for (const TCase& Case : Cases) {
        TChtShadow Shadow;
        Shadow.SetHorizSize(2);
        Shadow.SetVertSize(-3);
        Shadow.SetDirection(Case.Direction);
        const TRect Given{10, 20, 20, 30};
        EXPECT_EQ(Shadow.OffsetByDirection(Given), Case.Moved) << "direction " << Case.Direction;
    }
}

TEST(ShadowDrawing, TurnedCornersGoAroundTheCentre)
{
    EXPECT_EQ(TChtShadow::TurnedCorners({0, 0, 10, 20}, 90),
        (std::array<TPoint, 4>{TPoint{-5, 15}, TPoint{-5, 5}, TPoint{15, 5}, TPoint{15, 15}}));
    EXPECT_EQ(TChtShadow::TurnedCorners({0, 0, 10, 20}, 0),
        (std::array<TPoint, 4>{TPoint{0, 0}, TPoint{10, 0}, TPoint{10, 20}, TPoint{0, 20}}));
}

// A flat canvas that counts the blendings started.
class TCountingCanvas : public test::TDrawingCanvas3D {
public:
    std::unique_ptr<TChtBlend> BeginBlending(const TRect& R, TChtTransparency T) override
    {
        ++Blendings;
        LastArea = R;
        return TChtCanvas::BeginBlending(R, T);
    }
    using TChtCanvas::BeginBlending;
    int Blendings = 0;
    TRect LastArea;
};

struct TFlatShadowScene {
    TFlatShadowScene()
    {
        Canvas.SetUseBuffer(false);
        Canvas.InitWindow(Bitmap.Canvas(), nullptr, clWhite, false, {0, 0, 60, 60});
        Canvas.Projection(0, {0, 0, 60, 60}, {0, 0, 60, 60});
        Shadow.SetColor(clGray);
        Shadow.SetSmooth(false);
        Shadow.SetHorizSize(4);
        Shadow.SetVertSize(6);
    }
    plat::TBitmap Bitmap{60, 60, plat::pf24bit};
    TCountingCanvas Canvas;
    TChtShadow Shadow;
};

TEST(ShadowDrawing, APolygonShadowMovesByTheOffsetsWhateverTheDirection)
{
    TFlatShadowScene Scene;
    Scene.Shadow.SetDirection(sdLeftTop);
    Scene.Shadow.SetTransparency(0);
    const TPointArray Triangle{{10, 10}, {30, 10}, {20, 30}, {99, 99}};
    Scene.Shadow.Draw(Scene.Canvas, Triangle, 3);
    EXPECT_EQ(Scene.Canvas.Blendings, 0) << "no blending at transparency 0 on an opaque canvas";
    EXPECT_EQ(Scene.Bitmap.Canvas()->Pixel(24, 18), clGray);
    EXPECT_EQ(Scene.Bitmap.Canvas()->Pixel(15, 12), clWhite) << "moved right and down";
    EXPECT_EQ(Scene.Bitmap.Canvas()->Pixel(50, 50), clWhite) << "the fourth point is not used";
}

TEST(ShadowDrawing, BlendingStartsForATransparentShadowOrCanvas)
{
    TFlatShadowScene Scene;
    Scene.Shadow.SetTransparency(50);
    Scene.Shadow.Draw(Scene.Canvas, {10, 10, 30, 20}, 0, 0);
    EXPECT_EQ(Scene.Canvas.Blendings, 1);
    EXPECT_EQ(Scene.Canvas.LastArea, (TRect{14, 16, 34, 26})) << "the moved rectangle";
    EXPECT_EQ(Scene.Bitmap.Canvas()->Pixel(20, 22), static_cast<TColor>(0xC0C0C0)) << "grey at half over white";
    EXPECT_EQ(Scene.Canvas.TransparencyDepth(), 0u);

    Scene.Shadow.SetTransparency(0);
    Scene.Canvas.Transparency = 30;
    Scene.Shadow.Draw(Scene.Canvas, {10, 40, 20, 50}, 0, 90);
    EXPECT_EQ(Scene.Canvas.Blendings, 2) << "the canvas's own transparency";
    EXPECT_EQ(Scene.Canvas.Transparency, 30);

    Scene.Canvas.Transparency = 0;
    Scene.Shadow.SetColor(clNone);
    const auto Before = test::PixelBytes(Scene.Bitmap);
    Scene.Shadow.Draw(Scene.Canvas, {40, 40, 50, 50}, 0, 0);
    EXPECT_EQ(test::PixelBytes(Scene.Bitmap), Before) << "no colour, no shadow";
}

TEST(ShadowDrawing, RectangleShadowsTurnAndGiveThePenBack)
{
    TFlatShadowScene Scene;
    Scene.Shadow.SetTransparency(0);
    Scene.Shadow.SetHorizSize(0);
    Scene.Shadow.SetVertSize(1);
    Scene.Canvas.Pen()->SetColor(clRed);
    Scene.Canvas.Pen()->SetStyle(plat::psDot);
    Scene.Shadow.Draw(Scene.Canvas, {20, 10, 40, 50}, 0, 90);
    EXPECT_EQ(Scene.Bitmap.Canvas()->Pixel(15, 31), clGray) << "turned a quarter: wide, not tall";
    EXPECT_EQ(Scene.Bitmap.Canvas()->Pixel(30, 12), clWhite);
    EXPECT_EQ(Scene.Canvas.Pen()->Color(), clRed);
    EXPECT_EQ(Scene.Canvas.Pen()->Style(), plat::psDot);
}

TEST(ShadowBlur, TheDefaultKernelAndAnyRadius)
{
    EXPECT_EQ(BlurKernel(4, 0), (std::vector<int>{9526, 26646, 55556, 86334, 100000, 86334, 55556, 26646, 9526}));
    EXPECT_EQ(BlurKernel(0, 0), (std::vector<int>{100000}));
    EXPECT_EQ(BlurKernel(-3, 0), (std::vector<int>{100000})) << "a negative radius acts as 0";
    EXPECT_EQ(BlurKernel(9000, 0).size(), 18001u);
}

// A grey picture of one value, 32 bits a pixel as an off-screen buffer.
std::unique_ptr<plat::TBitmap> GreyDest(int Size, std::uint8_t Value)
{
    return test::UniformBitmap(Size, Size, Value, plat::pf32bit);
}

TEST(ShadowBlur, RadiusZeroMultipliesByTheShape)
{
    auto Shape = test::MakeBitmap(4, 4, plat::pf24bit, [](int X, int) {
        return X < 2 ? TPixelBytes{128, 255, 0, 0} : TPixelBytes{255, 255, 255, 0};
    });
    auto Dest = GreyDest(10, 200);
    TChtCanvas3D Canvas;
    BlurMultiply(*Shape, *Dest, 3, 3, 4, 4, 0, 0, Canvas, false);
    EXPECT_EQ(test::PixelAt(*Dest, 3, 3), (TPixelBytes{100, 200, 0, 255}));
    EXPECT_EQ(test::PixelAt(*Dest, 3, 5), (TPixelBytes{100, 200, 0, 255}));
    EXPECT_EQ(test::PixelAt(*Dest, 3, 6), (TPixelBytes{200, 200, 200, 255})) << "the last row is left";
    EXPECT_EQ(test::PixelAt(*Dest, 5, 3), (TPixelBytes{200, 200, 200, 255})) << "white leaves it";
    EXPECT_EQ(test::PixelAt(*Dest, 2, 3), (TPixelBytes{200, 200, 200, 255})) << "outside the shape";
}

TEST(ShadowBlur, TheLastRowOfTheAreaTakesPartInNoVerticalWindow)
{
    struct TCase {
        int BlackRow;
        std::uint8_t Expected[5];   // column 1, rows 0 to 4
    };
    // A 3 x 5 shape, white but for one black row, blurred with radius 2
    // (weights 30864, 74536, 100000, 74536, 30864) into white. A window ends
    // before the kernel index 4 - its first row: rows 0 and 1 read rows
    // 0..1 and 0..2, row 2 reads 0..3, row 3 reads 1..3 and row 4 reads 2..3,
    // so row 4 is never read. Row 3 with black row 2: 255 x (30864 + 100000)
    // / 205400 = 162.5.
    const TCase Cases[] = {
        {4, {255, 255, 255, 255, 255}},
        {3, {255, 255, 187, 131, 75}},
        {2, {255, 179, 164, 162, 180}},
    };
    for (const TCase& Case : Cases) {
        auto Shape = test::MakeBitmap(3, 5, plat::pf24bit, [&](int, int Y) {
            return Y == Case.BlackRow ? TPixelBytes{0, 0, 0, 0} : TPixelBytes{255, 255, 255, 0};
        });
        auto Dest = GreyDest(10, 255);
        TChtCanvas3D Canvas;
        BlurMultiply(*Shape, *Dest, 0, 0, 3, 5, 2, 0, Canvas, false);
        for (int Row = 0; Row < 5; ++Row) {
            EXPECT_EQ(test::PixelAt(*Dest, 1, Row)[0], Case.Expected[Row])
                << "black row " << Case.BlackRow << ", row " << Row;
        }
        EXPECT_EQ(test::PixelAt(*Dest, 1, 5)[0], 255) << "below the shape";
    }
}

TEST(ShadowBlur, ShapesOffTheBitmapTouchOnlyWhatOverlaps)
{
    auto Shape = test::UniformBitmap(20, 20, 0);
    struct TCase {
        TPoint Position;
        bool Touches;
    };
    const TCase Cases[] = {{{-10, -10}, true}, {{5, 5}, true}, {{-20, 0}, false}, {{10, 0}, false},
        {{0, 10}, false}, {{-1000000, 3}, false}, {{2000000000, 2000000000}, false}};
    for (const TCase& Case : Cases) {
        auto Dest = GreyDest(10, 255);
        TChtCanvas3D Canvas;
        BlurMultiply(*Shape, *Dest, Case.Position.X, Case.Position.Y, 20, 20, 3, 0, Canvas, false);
        EXPECT_EQ(test::PixelAt(*Dest, 7, 7)[0] != 255, Case.Touches) << Case.Position.X << "," << Case.Position.Y;
    }
}

// A buffered canvas on a white picture, drawing a smooth shadow.
struct TSmoothScene {
    TSmoothScene()
    {
        Canvas.InitWindow(Screen.Canvas(), nullptr, clWhite, false, {0, 0, 160, 160});
        Canvas.Projection(0, {0, 0, 160, 160}, {0, 0, 160, 160});
        Canvas.Bitmap()->Canvas()->Brush()->SetColor(clWhite);
        Canvas.Bitmap()->Canvas()->FillRect({0, 0, 160, 160});
        Shadow.SetColor(clBlack);
        Shadow.SetTransparency(0);
    }
    std::uint8_t Grey(int X, int Y) { return test::PixelAt(*Canvas.Bitmap(), X, Y)[1]; }

    plat::TBitmap Screen{160, 160, plat::pf24bit};
    TChtCanvas3D Canvas;
    TChtShadow Shadow;
};

TEST(ShadowBlur, LargeShapesAreWholeAndTooLargeOnesRaise)
{
    TSmoothScene Wide;
    Wide.Canvas.DrawShadow(Wide.Shadow, {-4500, 20, 100, 60}, false, 0, {}, 0, 0, 360);
    EXPECT_EQ(Wide.Grey(50, 40), 0) << "a shape 4600 pixels wide reaches x 100";
    EXPECT_EQ(Wide.Grey(130, 40), 255);
    TSmoothScene Huge;
    EXPECT_THROW(Huge.Canvas.DrawShadow(Huge.Shadow, {0, 0, 40000, 40000}, false, 0, {}, 0, 0, 360),
        plat::EInvalidGraphic);
}

TEST(ShadowBlur, SmoothDonutsLeaveTheirHoleLight)
{
    TSmoothScene Full;
    Full.Canvas.DrawShadow(Full.Shadow, {20, 20, 120, 120}, true, 0, {}, 100, 0, 360);
    for (int Y = 0; Y < 160; Y += 8) {
        for (int X = 0; X < 160; X += 8) {
            ASSERT_EQ(Full.Grey(X, Y), 255) << "a hole of 100 % leaves the picture, at " << X << "," << Y;
        }
    }
    TSmoothScene Half;
    Half.Canvas.DrawShadow(Half.Shadow, {20, 20, 120, 120}, true, 0, {}, 50, 0, 360);
    // Inner rectangle (22, 22, 118, 118); the hole 25 pixels further in.
    EXPECT_EQ(Half.Grey(70, 70), 255) << "the hole";
    EXPECT_EQ(Half.Grey(30, 70), 0) << "the ring";
    EXPECT_LT(Half.Grey(50, 70), 255) << "blurred towards the hole's edge at 47";
    EXPECT_EQ(Half.Grey(55, 70), 255) << "inside the hole";
    EXPECT_EQ(Half.Grey(5, 70), 255) << "outside the shadow";
}

TEST(ShadowBlur, WithClipOnlyPixelsInsideTheClipDarken)
{
    TSmoothScene Scene;
    Scene.Shadow.SetClip(true);
    Scene.Canvas.ClipRectangle({0, 0, 60, 160});
    Scene.Canvas.DrawShadow(Scene.Shadow, {20, 20, 120, 120}, false, 0, {}, 0, 0, 360);
    Scene.Canvas.UnClipRectangle();
    EXPECT_EQ(Scene.Grey(40, 70), 0);
    EXPECT_EQ(Scene.Grey(80, 70), 255) << "outside the clip";
}

TEST(ShadowBlur, SmoothShadowsAreUsedOnlyWithAnOffscreenBitmap)
{
    TSmoothScene Scene;
    Scene.Canvas.SetMetafiling(true);
    Scene.Canvas.DrawShadow(Scene.Shadow, {20, 20, 60, 60}, false, 0, {}, 0, 0, 360);
    EXPECT_EQ(Scene.Grey(21, 21), 0) << "flat: hard edge while recording a metafile";
    Scene.Canvas.SetMetafiling(false);
    Scene.Canvas.DrawShadow(Scene.Shadow, {80, 80, 120, 120}, false, 0, {}, 0, 0, 360);
    EXPECT_GT(Scene.Grey(80, 80), 0) << "smooth: soft edge";
    EXPECT_EQ(Scene.Grey(100, 100), 0);
}

} // namespace
} // namespace qel
