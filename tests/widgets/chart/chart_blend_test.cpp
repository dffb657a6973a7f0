// Tests of blending: the snapshot rectangle brought into the canvas, the
// source weights of each transparency, mixing a snapshot back over new
// drawing by pixel probes, and the bitmap blend at the edges.
#include "chart_bitmap_fixture.h"
#include "test_chart_canvas.h"

#include "widgets/chart/chart_blend.h"

#include <gtest/gtest.h>

namespace qel {
namespace {

using test::TPixelBytes;
using test::TTestChartCanvas;

TEST(ChtBlend, TheRectangleIsBroughtIntoTheCanvas)
{
    struct TCase {
        TRect Given;
        TRect Clamped;
        bool Valid;
    };
    const TCase Cases[] = {
        {{-5, -5, 10, 10}, {0, 0, 10, 10}, true},
        {{20, 3, 20, 9}, {20, 3, 21, 9}, true},
        {{10, 10, 5, 2}, {5, 2, 10, 10}, true},
        {{30, 20, 60, 90}, {30, 20, 40, 30}, true},
        {{40, 0, 50, 10}, {40, 0, 40, 10}, false},
        {{-9, -9, -2, -2}, {0, 0, 1, 1}, true},
    };
    for (const TCase& Case : Cases) {
        TTestChartCanvas Canvas(40, 30);
        TChtBlend Blend(&Canvas, Case.Given);
        EXPECT_EQ(Blend.Rectangle(), Case.Clamped) << Case.Given.Left << "," << Case.Given.Top;
        EXPECT_EQ(Blend.ValidSize(), Case.Valid) << Case.Given.Left << "," << Case.Given.Top;
        if (Case.Valid) {
            ASSERT_NE(Blend.Bitmap(), nullptr);
            EXPECT_EQ(Blend.Bitmap()->Width(), Case.Clamped.Width());
        }
    }
}

TEST(ChtBlend, SourceWeightsOfEachTransparency)
{
    const int Transparencies[] = {0, 1, 10, 25, 50, 75, 90, 99, 100};
    const int Weights[] = {0, 3, 26, 64, 128, 191, 229, 252, 255};
    for (std::size_t I = 0; I < std::size(Transparencies); ++I) {
        EXPECT_EQ(BlendSourceWeight(100.0 - Transparencies[I]), Weights[I]) << "T " << Transparencies[I];
    }
}

// A canvas painted red, a blend snapshot of (2, 2, 8, 8), then blue drawn
// over the whole canvas.
struct TBlendScene {
    TBlendScene()
    {
        Canvas.ReferenceCanvas()->Brush()->SetColor(clRed);
        Canvas.FillRect(TRect{0, 0, 10, 10});
        Blend = std::make_unique<TChtBlend>(&Canvas, TRect{2, 2, 8, 8});
        Canvas.ReferenceCanvas()->Brush()->SetColor(clBlue);
        Canvas.FillRect(TRect{0, 0, 10, 10});
    }
    TTestChartCanvas Canvas{10, 10};
    std::unique_ptr<TChtBlend> Blend;
};

TEST(ChtBlend, DoBlendMixesTheSnapshotBackByTheTransparency)
{
    struct TCase {
        TChtTransparency Transparency;
        TColor Inside;
    };
    const TCase Cases[] = {
        {0, clBlue},
        {100, clRed},
        {50, static_cast<TColor>(0x7F0080)},
    };
    for (const TCase& Case : Cases) {
        TBlendScene Scene;
        Scene.Blend->DoBlend(Case.Transparency);
        EXPECT_EQ(Scene.Canvas.PixelColor(2, 2), Case.Inside) << "T " << int{Case.Transparency};
        EXPECT_EQ(Scene.Canvas.PixelColor(7, 7), Case.Inside) << "T " << int{Case.Transparency};
        EXPECT_EQ(Scene.Canvas.PixelColor(8, 8), clBlue) << "outside the rectangle";
        EXPECT_EQ(Scene.Canvas.PixelColor(1, 5), clBlue) << "outside the rectangle";
    }
}

TEST(ChtBlend, NothingIsMixedWhileRecordingAMetafileOrWithoutPixels)
{
    TBlendScene Scene;
    Scene.Canvas.SetMetafiling(true);
    Scene.Blend->DoBlend(100);
    EXPECT_EQ(Scene.Canvas.PixelColor(4, 4), clBlue);
    TChtBlend Outside(&Scene.Canvas, TRect{10, 0, 20, 5});
    Scene.Canvas.SetMetafiling(false);
    Outside.DoBlend(100);
    EXPECT_EQ(Scene.Canvas.PixelColor(9, 0), clBlue);
}

TEST(BlendBitmap, MixesOnlyTheOverlapAndKeepsAlpha)
{
    auto Source = test::UniformBitmap(4, 4, 200);
    auto Dest = test::MakeBitmap(6, 6, plat::pf32bit, [](int, int) { return TPixelBytes{100, 100, 100, 7}; });
    BlendBitmap(0, *Source, *Dest, {4, -3});
    EXPECT_EQ(test::PixelAt(*Dest, 4, 0), (TPixelBytes{200, 200, 200, 7})) << "opacity 0: the source";
    EXPECT_EQ(test::PixelAt(*Dest, 5, 3), (TPixelBytes{200, 200, 200, 7}));
    EXPECT_EQ(test::PixelAt(*Dest, 3, 0), (TPixelBytes{100, 100, 100, 7})) << "left of the position";
    EXPECT_EQ(test::PixelAt(*Dest, 4, 4), (TPixelBytes{100, 100, 100, 7})) << "below the source";

    BlendBitmap(50, *Source, *Dest, {0, 0});
    EXPECT_EQ(test::PixelAt(*Dest, 0, 0), (TPixelBytes{150, 150, 150, 7})) << "weights 128 and 127";

    const auto Before = test::PixelBytes(*Dest);
    BlendBitmap(0, *Source, *Dest, {6, 0});
    BlendBitmap(0, *Source, *Dest, {0, 6});
    plat::TBitmap Empty;
    BlendBitmap(0, Empty, *Dest, {0, 0});
    EXPECT_EQ(test::PixelBytes(*Dest), Before) << "nothing overlaps";
}

} // namespace
} // namespace qel
