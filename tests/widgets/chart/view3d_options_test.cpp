// Tests of the 3D view options: defaults, setters with their repaints and
// events, the zoom announced before it is stored, back-facing and Assign.
#include "widgets/chart/view3d_options.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace qel {
namespace {

// View options that log repaints and events in order.
struct TLoggedOptions {
    TLoggedOptions()
    {
        Options.OnInvalidate = plat::TNotifyEvent([this](plat::TObject*) { Log.push_back("repaint"); });
        Options.OnScrolled = TChtView3DScrolled([this](bool IsHoriz) {
            Log.push_back(IsHoriz ? "scrolled horizontally" : "scrolled vertically");
        });
        Options.OnChangedZoom = TChtView3DChangedZoom([this](int NewZoom) {
            Log.push_back("zoom " + std::to_string(NewZoom) + " over " + std::to_string(Options.Zoom()));
        });
    }
    std::vector<std::string> LogOf(const std::function<void(TView3DOptions&)>& Change)
    {
        Log.clear();
        Change(Options);
        return Log;
    }

    TView3DOptions Options{nullptr};
    std::vector<std::string> Log;
};

using TLog = std::vector<std::string>;

TEST(View3DOptions, NewOptionsHoldTheDefaults)
{
    const TView3DOptions Options(nullptr);
    EXPECT_EQ(Options.Elevation(), 345);
    EXPECT_EQ(Options.Rotation(), 345);
    EXPECT_EQ(Options.Tilt(), 0);
    EXPECT_EQ(Options.Zoom(), 100);
    EXPECT_EQ(Options.FontZoom(), 100);
    EXPECT_EQ(Options.PenZoom(), 100);
    EXPECT_EQ(Options.CheckBoxZoom(), 100);
    EXPECT_EQ(Options.OrthoAngle(), 45);
    EXPECT_EQ(Options.Perspective(), 15);
    EXPECT_TRUE(Options.Orthogonal());
    EXPECT_EQ(Options.ZoomText(), ztAuto);
    EXPECT_EQ(Options.ZoomPen(), zpAuto);
    EXPECT_EQ(Options.ZOffset(), 0);
}

TEST(View3DOptions, SettersRepaintOnEffectiveChangesAndTellWhatScrolled)
{
    struct TCase {
        const char* Name;
        std::function<void(TView3DOptions&)> Change;
        TLog Expected;
    };
    const TCase Cases[] = {
        {"zoom unchanged", [](TView3DOptions& O) { O.SetZoom(100); }, {}},
        {"zoom 150.5", [](TView3DOptions& O) { O.SetZoomFloat(150.5); }, {"zoom 150 over 100", "repaint"}},
        {"zoom 151.5", [](TView3DOptions& O) { O.SetZoomFloat(151.5); }, {"zoom 152 over 100", "repaint"}},
        {"horizontal offset", [](TView3DOptions& O) { O.SetHorizOffset(10); }, {"repaint", "scrolled horizontally"}},
        {"vertical offset", [](TView3DOptions& O) { O.SetVertOffset(10); }, {"repaint", "scrolled vertically"}},
        {"depth offset", [](TView3DOptions& O) { O.SetZOffset(10); }, {"repaint", "scrolled vertically"}},
        {"offset unchanged", [](TView3DOptions& O) { O.SetHorizOffsetFloat(0); }, {}},
        {"rotation", [](TView3DOptions& O) { O.SetRotationFloat(10.25); }, {"repaint"}},
        {"perspective", [](TView3DOptions& O) { O.SetPerspective(150); }, {"repaint"}},
        {"orthogonal", [](TView3DOptions& O) { O.SetOrthogonal(false); }, {"repaint"}},
        {"pen zoom", [](TView3DOptions& O) { O.SetPenZoom(150); }, {"repaint"}},
        {"text zoom mode", [](TView3DOptions& O) { O.SetZoomText(ztNo); }, {"repaint"}},
        {"text zoom mode 255", [](TView3DOptions& O) { O.SetZoomText(static_cast<TCanvasZoomText>(255)); }, {}},
        {"pen zoom mode 255", [](TView3DOptions& O) { O.SetZoomPen(static_cast<TCanvasZoomPen>(255)); }, {}},
    };
    for (const TCase& Case : Cases) {
        TLoggedOptions Logged;
        EXPECT_EQ(Logged.LogOf(Case.Change), Case.Expected) << Case.Name;
    }
}

TEST(View3DOptions, ValuesAsStoredAndRead)
{
    TView3DOptions Options(nullptr);
    Options.SetPerspective(150);
    EXPECT_EQ(Options.Perspective(), 100);
    Options.SetPerspective(-5);
    EXPECT_EQ(Options.Perspective(), -5) << "no lower bound";
    Options.SetZoomFloat(150.5);
    EXPECT_EQ(Options.ZoomFloat(), 150.5);
    EXPECT_EQ(Options.Zoom(), 150);
    Options.SetZoomText(static_cast<TCanvasZoomText>(255));
    EXPECT_EQ(Options.ZoomText(), ztAuto);
    Options.SetRotationFloat(90.5);
    EXPECT_EQ(Options.Rotation(), 90);
}

TEST(View3DOptions, BackFacedOnlyInPerspectiveBetween91And269)
{
    TView3DOptions Options(nullptr);
    for (int Rotation : {0, 90, 91, 180, 269, 270, 345}) {
        Options.SetRotation(Rotation);
        Options.SetOrthogonal(true);
        EXPECT_FALSE(Options.BackFaced()) << "orthogonal at " << Rotation;
        Options.SetOrthogonal(false);
        EXPECT_EQ(Options.BackFaced(), Rotation > 90 && Rotation < 270) << "perspective at " << Rotation;
    }
}

TEST(View3DOptions, AssignCopiesAllButTheDepthOffsetSilently)
{
    TView3DOptions Source(nullptr);
    Source.SetElevationFloat(10.5);
    Source.SetRotationFloat(20.5);
    Source.SetTiltFloat(3);
    Source.SetZoomFloat(80.25);
    Source.SetHorizOffset(7);
    Source.SetVertOffset(-7);
    Source.SetZOffset(5);
    Source.SetFontZoom(90);
    Source.SetPenZoom(110);
    Source.SetCheckBoxZoom(120);
    Source.SetOrthoAngle(60);
    Source.SetOrthogonal(false);
    Source.SetPerspective(40);
    Source.SetZoomText(ztNo);
    Source.SetZoomPen(zpManual);
    TLoggedOptions Target;
    Target.Options.SetZOffset(2);
    EXPECT_EQ(Target.LogOf([&](TView3DOptions& O) { O.Assign(&Source); }), TLog{});
    const TView3DOptions& Copy = Target.Options;
    EXPECT_EQ(Copy.ElevationFloat(), 10.5);
    EXPECT_EQ(Copy.RotationFloat(), 20.5);
    EXPECT_EQ(Copy.TiltFloat(), 3);
    EXPECT_EQ(Copy.ZoomFloat(), 80.25);
    EXPECT_EQ(Copy.HorizOffset(), 7);
    EXPECT_EQ(Copy.VertOffset(), -7);
    EXPECT_EQ(Copy.ZOffset(), 2) << "the depth offset stays";
    EXPECT_EQ(Copy.FontZoom(), 90);
    EXPECT_EQ(Copy.PenZoom(), 110);
    EXPECT_EQ(Copy.CheckBoxZoom(), 120);
    EXPECT_EQ(Copy.OrthoAngle(), 60);
    EXPECT_FALSE(Copy.Orthogonal());
    EXPECT_EQ(Copy.Perspective(), 40);
    EXPECT_EQ(Copy.ZoomText(), ztNo);
    EXPECT_EQ(Copy.ZoomPen(), zpManual);

    plat::TPersistent Other;
    EXPECT_NO_THROW(Target.Options.Assign(&Other)) << "other sources are ignored";
}

} // namespace
} // namespace qel
