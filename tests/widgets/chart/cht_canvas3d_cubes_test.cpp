// Tests of the 3D chart canvas's boxes and planes: which cube faces are
// drawn, the colours of dark sides, spheres by their rounded radius, and
// planes that leave their corners in the canvas's buffer.
#include "shape_canvas_scene.h"

#include "widgets/chart/color_shades.h"

#include <gtest/gtest.h>

namespace qel {
namespace {

using test::TNotedFill;
using test::TShapeScene;

std::size_t FourPointFills(const TShapeScene& Scene)
{
    return static_cast<std::size_t>(std::count_if(
        Scene.Canvas.Fills.begin(), Scene.Canvas.Fills.end(), [](const TNotedFill& F) { return F.FourPoints; }));
}

TEST(ChtCanvas3DCubes, AClearBrushDrawsEveryFaceWhateverTheView)
{
    for (const int Rotation : {0, 345, 30, 200}) {
        TShapeScene Scene;
        Scene.Options.SetOrthogonal(false);
        Scene.Options.SetRotation(Rotation);
        Scene.Begin(true, 100);
        Scene.Canvas.Brush()->SetStyle(plat::bsClear);
        Scene.Canvas.Cube(20, 80, 20, 80, 10, 60, false, 0);
        EXPECT_EQ(FourPointFills(Scene), 5u) << "rotation " << Rotation;
        EXPECT_EQ(Scene.Count("Polygon"), 5u);
    }
}

TEST(ChtCanvas3DCubes, SeenFromTheFrontOnlyTheFrontFaceIsDrawn)
{
    TShapeScene Scene;
    Scene.FrontView();
    Scene.Begin(true, 100);
    Scene.Canvas.Brush()->SetColor(clRed);
    Scene.Canvas.Cube(20, 80, 20, 80, 10, 60, true, 0);
    ASSERT_EQ(FourPointFills(Scene), 1u);
    const TPointArray& Front = Scene.Canvas.Fills[0].Points;
    EXPECT_EQ(Front[0], Scene.Canvas.Calculate3DPosition(20, 20, 10));
    EXPECT_EQ(Front[2], Scene.Canvas.Calculate3DPosition(80, 80, 10));
    EXPECT_EQ(Scene.PixelColor(50, 50), clRed);
}

TEST(ChtCanvas3DCubes, DarkSidesRunFromTheFaceColourToADarkerOne)
{
    struct TCase {
        plat::TBrushStyle Style;
        TColor Face;   // the colour the shading starts from
    };
    const TColor BrushColour = static_cast<TColor>(plat::RGB(200, 180, 160));
    const TColor Back = static_cast<TColor>(plat::RGB(150, 220, 90));
    for (const TCase Case : {TCase{plat::bsSolid, BrushColour}, TCase{plat::bsDiagCross, Back}}) {
        TShapeScene Scene(140, 140);
        Scene.Options.SetOrthogonal(false);
        Scene.Options.SetRotation(330);
        Scene.Options.SetElevation(340);
        Scene.Begin(true, 100);
        Scene.Canvas.Brush()->SetColor(BrushColour);
        Scene.Canvas.Brush()->SetStyle(Case.Style);
        Scene.Canvas.SetBackColor(Back);
        Scene.Canvas.Cube(30, 90, 30, 90, 10, 60, true, 0);
        const auto& Fills = Scene.Canvas.Fills;
        ASSERT_EQ(Fills.size(), 3u) << "front, one side and the top";
        EXPECT_FALSE(Fills[0].GradientVisible) << "the front face is not shaded";
        std::vector<TGradientDirection> Directions;
        for (std::size_t i = 1; i < Fills.size(); ++i) {
            EXPECT_TRUE(Fills[i].GradientVisible);
            EXPECT_EQ(Fills[i].GradientStart, Case.Face);
            const std::uint8_t Amount
                = Fills[i].Direction == gdLeftRight || Fills[i].Direction == gdRightLeft ? 128 : 64;
            EXPECT_EQ(Fills[i].GradientEnd, DarkenColorBy(Case.Face, Amount));
            Directions.push_back(Fills[i].Direction);
        }
        // The right side shows when the box's back lies to the right of
        // its front.
        const bool RightSeen
            = Scene.Canvas.Calculate3DPosition(90, 30, 60).X > Scene.Canvas.Calculate3DPosition(90, 30, 10).X;
        EXPECT_EQ(Directions, (std::vector<TGradientDirection>{RightSeen ? gdLeftRight : gdRightLeft, gdBottomTop}));
        EXPECT_FALSE(Scene.Canvas.Gradient()->Visible()) << "the shading is put away";
    }
}

TEST(ChtCanvas3DCubes, SpheresRoundTheirRadiusHalvesToEven)
{
    struct TCase {
        double Radius;
        int Rounded;
    };
    for (const TCase Case : {TCase{2.5, 2}, TCase{3.5, 4}, TCase{10.4, 10}}) {
        TShapeScene Scene;
        Scene.Begin(false);
        Scene.Canvas.Sphere(50, 40, 0, Case.Radius);
        const auto Ellipses = Scene.Recorder.CallsNamed("Ellipse");
        ASSERT_EQ(Ellipses.size(), 1u);
        const int r = Case.Rounded;
        EXPECT_EQ(Ellipses[0]->Args, (std::vector<std::int64_t>{50 - r, 40 - r, 50 + r + 1, 40 + r + 1}))
            << "radius " << Case.Radius;
    }
}

TEST(ChtCanvas3DCubes, PlanesLeaveTheirProjectedCornersInTheBuffer)
{
    TShapeScene Scene;
    Scene.Begin(true, 100);
    const TPoint P1{10, 10};
    const TPoint P2{60, 12};
    const TPoint P3{62, 70};
    const TPoint P4{8, 66};
    Scene.Canvas.PlaneWithZ(P1, P2, P3, P4, 30);
    EXPECT_EQ(P1, (TPoint{10, 10}));
    const TFourPoints Expected{Scene.Canvas.Calculate3DPosition(P1, 30), Scene.Canvas.Calculate3DPosition(P2, 30),
        Scene.Canvas.Calculate3DPosition(P3, 30), Scene.Canvas.Calculate3DPosition(P4, 30)};
    EXPECT_EQ(Scene.Canvas.PlanePoints(), Expected);

    Scene.Canvas.RectangleY(10, 40, 70, 0, 50);
    const TFourPoints Lying{Scene.Canvas.Calculate3DPosition(10, 40, 0), Scene.Canvas.Calculate3DPosition(70, 40, 0),
        Scene.Canvas.Calculate3DPosition(70, 40, 50), Scene.Canvas.Calculate3DPosition(10, 40, 50)};
    EXPECT_EQ(Scene.Canvas.PlanePoints(), Lying);
    EXPECT_EQ(Scene.Count("Polygon"), 2u);
}

} // namespace
} // namespace qel
