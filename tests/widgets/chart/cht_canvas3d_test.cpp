// Tests of the 3D chart canvas's drawing pass: the projection in its
// perspective, orthogonal and flat forms and its inverse, the buffered
// display, box clipping and the device state passed through.
#include "test_chart_canvas3d.h"

#include "platform/canvas/gdi_constants.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qel {
namespace {

using test::TCanvas3DScene;

// Options of a view that neither turns nor zooms.
void Unturned(TView3DOptions& Options)
{
    Options.SetElevation(0);
    Options.SetRotation(0);
    Options.SetTilt(0);
    Options.SetPerspective(0);
    Options.SetOrthogonal(false);
}

TEST(ChtCanvas3D, AnUnturnedViewProjectsEveryPointOntoItself)
{
    TCanvas3DScene Scene;
    Unturned(Scene.Options);
    Scene.Begin(true, 40);
    for (const TPoint3D P : {TPoint3D{0, 0, 0}, TPoint3D{10, 20, 5}, TPoint3D{-7, 93, 40}, TPoint3D{55, 3, -12}}) {
        EXPECT_EQ(Scene.Canvas.Calculate3DPosition(P), (TPoint{P.x, P.y})) << P.x << "," << P.y << "," << P.z;
    }
}

TEST(ChtCanvas3D, TheOrthogonalDepthShiftFollowsTheAngle)
{
    struct TCase {
        int Angle;
        TPoint Shifted;   // of (50, 50) at depth 10
    };
    const TCase Cases[] = {{90, {60, 40}}, {135, {40, 40}}, {45, {60, 40}}, {0, {60, 50}}};
    for (const TCase& Case : Cases) {
        TCanvas3DScene Scene;
        Scene.Options.SetOrthoAngle(Case.Angle);
        Scene.Begin(true, 20);
        EXPECT_TRUE(Scene.Canvas.IsOrthogonal());
        EXPECT_EQ(Scene.Canvas.Calculate3DPosition(50, 50, 10), Case.Shifted) << "angle " << Case.Angle;
    }
}

TEST(ChtCanvas3D, ZoomAndOffsetsMoveAroundTheCentre)
{
    TCanvas3DScene Scene;
    Scene.Options.SetOrthoAngle(90);
    Scene.Options.SetZoom(200);
    Scene.Options.SetHorizOffset(7);
    Scene.Options.SetVertOffset(-3);
    Scene.Begin(true, 5);
    EXPECT_EQ(Scene.Canvas.ZCenter(), 2) << "half of depth 5, halves to even";
    EXPECT_EQ(Scene.Canvas.XCenter(), 50);
    EXPECT_EQ(Scene.Canvas.Calculate3DPosition(60, 50, 0), (TPoint{77, 47}));
    int X = 77;
    int Y = 47;
    Scene.Canvas.Calculate2DPosition(X, Y, 0);
    EXPECT_EQ(TPoint(X, Y), (TPoint{60, 50})) << "the inverse";
}

TEST(ChtCanvas3D, ADisabledRotationDrawsFlatWhileTheFloatFormStillZooms)
{
    for (const bool Orthogonal : {false, true}) {
        TCanvas3DScene Scene;
        Scene.Options.SetOrthogonal(Orthogonal);
        Scene.Options.SetRotation(30);
        Scene.Options.SetZoom(150);
        Scene.Options.SetHorizOffset(10);
        Scene.Begin(true, 10);
        Scene.Canvas.DisableRotation();
        EXPECT_EQ(Scene.Canvas.Calculate3DPosition(20, 30, 8), (TPoint{20, 30})) << "orthogonal " << Orthogonal;
        TPointFloat P{60, 30};
        Scene.Canvas.Calculate3DPosition(P, 8);
        EXPECT_EQ(P, (TPointFloat{1.5f * 10 + 60, 1.5f * -20 + 50})) << "orthogonal " << Orthogonal;
        Scene.Canvas.EnableRotation();
        EXPECT_NE(Scene.Canvas.Calculate3DPosition(20, 30, 8), (TPoint{20, 30}));
    }
}

TEST(ChtCanvas3D, TheFloatProjectionAgreesWithTheIntegerOne)
{
    TCanvas3DScene Scene(200, 200);
    Scene.Options.SetOrthogonal(false);
    Scene.Options.SetPerspective(0);
    Scene.Options.SetRotation(20);
    Scene.Options.SetElevation(350);
    Scene.Options.SetTilt(5);
    Scene.Begin(true, 30);
    for (const TPoint3D P : {TPoint3D{100, 100, 15}, TPoint3D{40, 160, 0}, TPoint3D{170, 30, 30}}) {
        const TPoint Screen = Scene.Canvas.Calculate3DPosition(P);
        TPointFloat F{static_cast<float>(P.x), static_cast<float>(P.y)};
        Scene.Canvas.Calculate3DPosition(F, static_cast<float>(P.z));
        EXPECT_NEAR(F.X, Screen.X, 0.51) << P.x << "," << P.y << "," << P.z;
        EXPECT_NEAR(F.Y, Screen.Y, 0.51) << P.x << "," << P.y << "," << P.z;
    }
    Scene.Options.SetPerspective(50);
    Scene.Begin(true, 30);
    const TPoint Near = Scene.Canvas.Calculate3DPosition(150, 100, 0);
    const TPoint Far = Scene.Canvas.Calculate3DPosition(150, 100, 30);
    EXPECT_NE(Near, Far);
}

TEST(ChtCanvas3D, TheInverseSolvesWithTheViewsSinesAndCosines)
{
    // A 200 x 200 scene of depth 30: centre (100, 100, 15). Each expected
    // point is worked out by hand from the view's angles.
    struct TCase {
        const char* Name;
        double Elevation;
        double Rotation;
        int Tilt;
        int Zoom;
        TPoint Offset;
        TPoint Screen;
        int Z;
        TPoint Expected;
    };
    const TCase Cases[] = {
        // Unturned: the offsets come off and the zoom is undone.
        {"plain", 0, 0, 0, 200, {10, -4}, {130, 76}, 15, {110, 90}},
        // Turned 30 degrees: x stays, y = (0 + 20 x 0.5) / cos 30 = 11.55.
        {"turned", 0, 30, 0, 100, {0, 0}, {130, 100}, 35, {130, 112}},
        // Edge-on: the cosine divisor stays at 0.00001, y = -25 / 0.00001.
        {"edge-on", 0, 90, 0, 100, {0, 0}, {120, 80}, 10, {120, -2499900}},
        // Seen from above: x = 3 / 0.00001, y keeps its place.
        {"from above", 90, 0, 0, 100, {0, 0}, {103, 100}, 15, {300100, 100}},
    };
    for (const TCase& Case : Cases) {
        TCanvas3DScene Scene(200, 200);
        Scene.Options.SetOrthogonal(false);
        Scene.Options.SetPerspective(0);
        Scene.Options.SetElevationFloat(Case.Elevation);
        Scene.Options.SetRotationFloat(Case.Rotation);
        Scene.Options.SetTilt(Case.Tilt);
        Scene.Options.SetZoom(Case.Zoom);
        Scene.Options.SetHorizOffset(Case.Offset.X);
        Scene.Options.SetVertOffset(Case.Offset.Y);
        Scene.Begin(true, 30);
        int X = Case.Screen.X;
        int Y = Case.Screen.Y;
        Scene.Canvas.Calculate2DPosition(X, Y, Case.Z);
        EXPECT_EQ(TPoint(X, Y), Case.Expected) << Case.Name;
    }
    TCanvas3DScene Flat(200, 200);
    Flat.Begin(false, 30);
    int X = 120;
    int Y = 80;
    Flat.Canvas.Calculate2DPosition(X, Y, 10);
    EXPECT_EQ(TPoint(X, Y), (TPoint{120, 80})) << "a flat canvas leaves the point";
}

TEST(ChtCanvas3D, BufferedWindowsDrawIntoABitmapKeptBetweenPasses)
{
    TChtCanvas3D Canvas;
    EXPECT_TRUE(Canvas.GetUseBuffer());
    EXPECT_FALSE(Canvas.ReDrawBitmap()) << "dirty after construction";
    plat::TBitmap Screen(500, 300, plat::pf24bit);
    const TRect Drawn = Canvas.InitWindow(Screen.Canvas(), nullptr, clWhite, false, {100, 50, 400, 250});
    EXPECT_EQ(Drawn, (TRect{0, 0, 300, 200}));
    ASSERT_NE(Canvas.Bitmap(), nullptr);
    plat::TBitmap* Buffer = Canvas.Bitmap();
    EXPECT_EQ(Buffer->Width(), 300);
    EXPECT_EQ(Buffer->Height(), 200);
    EXPECT_EQ(Canvas.ReferenceCanvas(), Buffer->Canvas());
    EXPECT_EQ(Canvas.GetBackMode(), cbmOpaque);

    Canvas.ReferenceCanvas()->Brush()->SetColor(clRed);
    Canvas.FillRect(Drawn);
    plat::TBitmap Copy;
    EXPECT_FALSE(Canvas.RenderToBitmap(Copy, Drawn)) << "not shown yet";
    Canvas.ShowImage(Screen.Canvas(), Screen.Canvas(), {100, 50, 400, 250});
    EXPECT_FALSE(Canvas.Dirty());
    EXPECT_EQ(Screen.Canvas()->Pixel(100, 50), clRed);
    EXPECT_EQ(Screen.Canvas()->Pixel(399, 249), clRed);
    EXPECT_EQ(Screen.Canvas()->Pixel(99, 50), clWhite);
    EXPECT_EQ(Screen.Canvas()->Pixel(400, 250), clWhite);
    EXPECT_FALSE(Canvas.RenderToBitmap(Copy, {0, 0, 300, 201})) << "one pixel off";
    EXPECT_TRUE(Canvas.RenderToBitmap(Copy, {0, 0, 300, 200}));
    EXPECT_EQ(Copy.Width(), 300);
    EXPECT_TRUE(Canvas.ReDrawBitmap());

    Canvas.InitWindow(Screen.Canvas(), nullptr, clWhite, false, {0, 0, 300, 200});
    EXPECT_EQ(Canvas.Bitmap(), Buffer) << "the same size keeps the bitmap";
    EXPECT_EQ(Canvas.Bitmap()->Canvas()->Pixel(5, 5), clRed) << "and its picture";
    Canvas.Invalidate();
    EXPECT_FALSE(Canvas.ReDrawBitmap());
}

TEST(ChtCanvas3D, AnArcAtADepthIsTheDeviceArcOfItsProjectedPoints)
{
    TCanvas3DScene Scene;
    Scene.Begin(true);
    // The orthogonal view of 45 degrees moves depth 10 by 10 right and up.
    Scene.Canvas.Arc(20, 30, 60, 70, 60, 50, 40, 30, 10);
    const auto Arcs = Scene.Recorder.CallsNamed("Arc");
    ASSERT_EQ(Arcs.size(), 1u);
    EXPECT_EQ(Arcs[0]->Args, (std::vector<std::int64_t>{30, 20, 70, 60, 70, 40, 50, 20}));
}

TEST(ChtCanvas3D, AnAttachedBitmapTakesTheBufferedPasses)
{
    TChtCanvas3D Canvas;
    plat::TBitmap Screen(60, 40, plat::pf24bit);
    Canvas.InitWindow(Screen.Canvas(), nullptr, clWhite, false, {0, 0, 60, 40});
    plat::TBitmap* Own = Canvas.Bitmap();
    ASSERT_NE(Own, nullptr);
    Own->Canvas()->Brush()->SetColor(clBlue);
    Own->Canvas()->FillRect({0, 0, 60, 40});

    plat::TBitmap Mine(20, 10, plat::pf24bit);
    Canvas.SetBitmap(&Mine);
    EXPECT_EQ(Canvas.Bitmap(), &Mine);
    EXPECT_EQ(Own->Canvas()->Pixel(5, 5), clBlue) << "the bitmap before is not freed";
    const TRect Drawn = Canvas.InitWindow(Screen.Canvas(), nullptr, clWhite, false, {0, 0, 60, 40});
    EXPECT_EQ(Drawn, (TRect{0, 0, 60, 40}));
    EXPECT_EQ(Mine.Width(), 60) << "sized to the window";
    EXPECT_EQ(Canvas.ReferenceCanvas(), Mine.Canvas());
    Canvas.Brush()->SetColor(clRed);
    Canvas.FillRect(Drawn);
    EXPECT_EQ(Mine.Canvas()->Pixel(30, 20), clRed);

    Canvas.DeleteBitmap();
    EXPECT_EQ(Canvas.Bitmap(), nullptr);
    EXPECT_EQ(Mine.Canvas()->Pixel(30, 20), clRed) << "an attached bitmap stays its owner's";
}

TEST(ChtCanvas3D, SwitchingTheBufferOffFreesItUnlessKept)
{
    plat::TBitmap Screen(50, 50, plat::pf24bit);
    for (const bool Keep : {false, true}) {
        TChtCanvas3D Canvas;
        Canvas.InitWindow(Screen.Canvas(), nullptr, clWhite, false, {0, 0, 50, 50});
        Canvas.ShowImage(Screen.Canvas(), Screen.Canvas(), {0, 0, 50, 50});
        Canvas.IKeepBitmap = Keep;
        Canvas.SetUseBuffer(false);
        EXPECT_EQ(Canvas.Bitmap() != nullptr, Keep);
        EXPECT_EQ(Canvas.Dirty(), !Keep);
        const TRect Drawn = Canvas.InitWindow(Screen.Canvas(), nullptr, clWhite, false, {5, 5, 50, 50});
        EXPECT_EQ(Drawn, (TRect{5, 5, 50, 50})) << "unbuffered: the window itself";
        EXPECT_EQ(Canvas.ReferenceCanvas(), Screen.Canvas());
    }
}

TEST(ChtCanvas3D, AFlatClipCubeIsTheRectangleInAtLeftTopAndBottom)
{
    TCanvas3DScene Scene;
    Scene.Begin(false);
    Scene.Canvas.ClipCube({10, 20, 60, 70}, 0, 5);
    const auto Clips = Scene.Recorder.CallsNamed("ExtSelectClipRgn");
    ASSERT_EQ(Clips.size(), 1u);
    EXPECT_EQ(std::vector<std::int64_t>(Clips[0]->Args.begin(), Clips[0]->Args.begin() + 4),
        (std::vector<std::int64_t>{11, 21, 60, 69}));
    Scene.Canvas.UnClipRectangle();

    Scene.Options.SetOrthoAngle(90);
    Scene.Begin(true, 10);
    Scene.Canvas.ClipCube({10, 20, 60, 70}, 0, 10);
    const auto Hull = Scene.Recorder.CallsNamed("ExtSelectClipRgn");
    ASSERT_EQ(Hull.size(), 1u);
    EXPECT_EQ(std::vector<std::int64_t>(Hull[0]->Args.begin(), Hull[0]->Args.begin() + 4),
        (std::vector<std::int64_t>{10, 10, 70, 70})) << "the box and its back shifted by the depth";
}

TEST(ChtCanvas3D, DeviceStateAndLinesPassThrough)
{
    TCanvas3DScene Scene;
    Scene.Begin(false);
    TChtCanvas3D& Canvas = Scene.Canvas;
    Canvas.SetBackMode(cbmTransparent);
    EXPECT_EQ(Canvas.GetBackMode(), cbmTransparent);
    Canvas.SetBackColor(clRed);
    EXPECT_EQ(Canvas.GetBackColor(), static_cast<TColor>(plat::ToColorRef(clRed)));
    Canvas.SetTextAlign(plat::TA_BOTTOM);
    EXPECT_EQ(Canvas.GetTextAlign(), static_cast<int>(plat::TA_BOTTOM));
    Scene.Recorder.Clear();
    Canvas.FastLineTo(5, 5);
    EXPECT_TRUE(Scene.Recorder.CallsNamed("LineTo").empty()) << "the fast-line mode is off";
    Canvas.SetFastLine(true);
    Canvas.MoveTo(1, 1);
    Canvas.FastLineTo(5, 5);
    Canvas.SetFastLine(false);
    Canvas.LineTo(9, 9);
    EXPECT_EQ(Scene.Recorder.CallsNamed("LineTo").size(), 2u);
    const TPointArray Points{{0, 0}, {3, 4}, {8, 1}};
    Canvas.Polyline(Points);
    EXPECT_EQ(Scene.Recorder.CallsNamed("Polyline").size(), 1u);

    int Repaints = 0;
    Scene.Options.OnInvalidate = plat::TNotifyEvent([&](plat::TObject*) { ++Repaints; });
    Canvas.SetMonochrome(true);
    Canvas.SetMonochrome(true);
    EXPECT_TRUE(Canvas.GetMonochrome());
    EXPECT_EQ(Repaints, 1);
    EXPECT_TRUE(Canvas.Dirty());
}

} // namespace
} // namespace qel
