// Tests of the chart pen, hidden pen and brush settings, and how a chart
// pen becomes a device pen (extended pens, dotted pens).
#include "settings_probes.h"

#include "widgets/chart/chart_brush.h"
#include "widgets/chart/chart_gradient.h"
#include "widgets/chart/chart_pen.h"
#include "widgets/chart/chart_picture.h"
#include "widgets/chart/pen_realisation.h"

#include "platform/canvas/gdi_constants.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <vector>

namespace qel {
namespace {

using test::IsStored;
using test::TNotifications;

TEST(ChtBrush, ANewBrushStoresNoColourAndHasNoBackColour)
{
    TChtBrush Brush;
    EXPECT_EQ(Brush.Color(), clDefault);
    EXPECT_EQ(Brush.DefaultColor(), clDefault);
    EXPECT_FALSE(IsStored(Brush, "Color"));
    EXPECT_EQ(Brush.BackColor(), clNone);
    EXPECT_FALSE(IsStored(Brush, "BackColor"));
    EXPECT_FALSE(IsStored(Brush, "Image"));
    Brush.SetColor(clRed);
    EXPECT_TRUE(IsStored(Brush, "Color"));
    Brush.SetDefaultColor(clRed);
    EXPECT_FALSE(IsStored(Brush, "Color")) << "the default colour decides";
    Brush.SetBackColor(clBlue);
    EXPECT_TRUE(IsStored(Brush, "BackColor"));
}

TEST(ChtBrush, TheSixFirstHatchesSetThePlatformStyleTheOthersOnlyKeepTheChoice)
{
    struct TCase {
        THatchStyle Hatch;
        plat::TBrushStyle Style;
    };
    const TCase Cases[] = {
        {hsHorizontal, plat::bsHorizontal}, {hsVertical, plat::bsVertical},
        {hsForwardDiagonal, plat::bsFDiagonal}, {hsBackwardDiagonal, plat::bsBDiagonal},
        {hsCross, plat::bsCross}, {hsDiagonalCross, plat::bsDiagCross},
        {hs50Percent, plat::bsSolid}, {hsSolidDiamond, plat::bsSolid}, {hsZigZag, plat::bsSolid},
    };
    for (const TCase& Case : Cases) {
        TChtBrush Brush;
        Brush.SetHatchStyle(hsWeave);
        Brush.SetHatchStyle(Case.Hatch);
        EXPECT_EQ(Brush.HatchStyle(), Case.Hatch);
        EXPECT_EQ(Brush.Style(), Case.Style) << "hatch " << Case.Hatch;
    }
}

TEST(ChtBrush, SubObjectsAreMadeOnReadAndFreedByNilOrClear)
{
    TNotifications Changes;
    TChtBrush Brush(Changes.Event());
    EXPECT_FALSE(Brush.BrushIsGradientVisible());
    EXPECT_FALSE(Brush.HasGradient()) << "asking makes nothing";
    Brush.Gradient()->SetVisible(true);
    EXPECT_TRUE(Brush.BrushIsGradientVisible());
    EXPECT_GT(Changes.Count, 0) << "the gradient tells the brush's owner";
    Brush.SetGradient(nullptr);
    EXPECT_FALSE(Brush.HasGradient());
    Brush.Image();
    EXPECT_TRUE(Brush.IsImageStored());
    EXPECT_FALSE(Brush.HasImage()) << "a picture without graphic";
    Brush.Gradient();
    Brush.Clear();
    EXPECT_EQ(Brush.Style(), plat::bsClear);
    EXPECT_FALSE(Brush.IsImageStored());
    EXPECT_FALSE(Brush.HasGradient());
}

TEST(ChtBrush, AssignCopiesEverythingAndFreesWhatTheSourceLacksWithOneNotification)
{
    TChtBrush Source;
    Source.SetColor(clRed);
    Source.SetBackColor(clBlue);
    Source.SetHatchStyle(hsWeave);
    Source.Gradient()->SetStartColor(clLime);
    TNotifications Changes;
    TChtBrush Target(Changes.Event());
    Target.Image();
    Target.Assign(&Source);
    EXPECT_EQ(Target.Color(), clRed);
    EXPECT_EQ(Target.BackColor(), clBlue);
    EXPECT_EQ(Target.HatchStyle(), hsWeave);
    ASSERT_TRUE(Target.HasGradient());
    EXPECT_EQ(Target.Gradient()->StartColor(), clLime);
    EXPECT_FALSE(Target.IsImageStored()) << "the source has no picture";
    EXPECT_GE(Changes.Count, 1);
    TChtPen NotABrush;
    EXPECT_ANY_THROW(Target.Assign(&NotABrush));
}

TEST(ChtPen, HalfWidthOfVisibleWidePensOnly)
{
    struct TCase {
        int Width;
        bool Visible;
        int Half;
    };
    const TCase Cases[] = {{5, true, 2}, {4, true, 2}, {2, true, 1}, {1, true, 0}, {5, false, 0}};
    for (const TCase& Case : Cases) {
        TChtPen Pen;
        Pen.SetWidth(Case.Width);
        Pen.SetVisible(Case.Visible);
        EXPECT_EQ(Pen.HalfWidth(), Case.Half) << "width " << Case.Width << " visible " << Case.Visible;
    }
}

TEST(ChtPen, IsGradientVisibleMakesNothingReadingTheFillMakesIt)
{
    TChtPen Pen;
    EXPECT_FALSE(Pen.IsGradientVisible());
    EXPECT_FALSE(Pen.HasFill());
    Pen.Fill()->Gradient()->SetVisible(true);
    EXPECT_TRUE(Pen.HasFill());
    EXPECT_TRUE(Pen.IsGradientVisible());
    Pen.SetFill(nullptr);
    EXPECT_FALSE(Pen.HasFill());
}

TEST(ChtPen, SettersNotifyOnEffectiveChangesAndStoredRulesFollowTheDefaults)
{
    TNotifications Changes;
    TChtPen Pen(Changes.Event());
    const std::function<void(TChtPen&)> Edits[] = {
        [](TChtPen& P) { P.SetEndStyle(esFlat); },
        [](TChtPen& P) { P.SetJoinStyle(jsBevel); },
        [](TChtPen& P) { P.SetSmallDots(true); },
        [](TChtPen& P) { P.SetSmallSpace(3); },
        [](TChtPen& P) { P.Hide(); },
    };
    for (const auto& Change : Edits) {
        const int Before = Changes.Count;
        Change(Pen);
        EXPECT_EQ(Changes.Count, Before + 1);
        Change(Pen);
        EXPECT_EQ(Changes.Count, Before + 1) << "the same value again is no change";
    }
    EXPECT_TRUE(IsStored(Pen, "EndStyle"));
    EXPECT_TRUE(IsStored(Pen, "Visible"));
    EXPECT_FALSE(IsStored(Pen, "Width"));

    TChtHiddenPen Hidden;
    EXPECT_FALSE(Hidden.Visible());
    EXPECT_FALSE(IsStored(Hidden, "Visible"));
    Hidden.Show();
    EXPECT_TRUE(IsStored(Hidden, "Visible"));
}

TEST(ChtPen, AssignCopiesTheChartSettingsAndNotifiesOnce)
{
    TChtPen Source;
    Source.SetWidth(4);
    Source.SetColor(clRed);
    Source.SetEndStyle(esSquare);
    Source.SetJoinStyle(jsMitter);
    Source.SetSmallDots(true);
    Source.SetSmallSpace(2);
    Source.Hide();
    TNotifications Changes;
    TChtPen Target(Changes.Event());
    Target.Fill();
    Target.Assign(&Source);
    EXPECT_EQ(Target.Width(), 4);
    EXPECT_EQ(Target.Color(), clRed);
    EXPECT_EQ(Target.EndStyle(), esSquare);
    EXPECT_EQ(Target.JoinStyle(), jsMitter);
    EXPECT_TRUE(Target.SmallDots());
    EXPECT_EQ(Target.SmallSpace(), 2);
    EXPECT_FALSE(Target.Visible());
    EXPECT_FALSE(Target.HasFill()) << "the source has no fill";
    EXPECT_EQ(Changes.Count, 1);
}

TEST(PenRealisation, WidePensBecomeExtendedPensWithCapsAndJoins)
{
    TChtPen Pen;
    Pen.SetWidth(3);
    Pen.SetStyle(plat::psDash);
    Pen.SetEndStyle(esFlat);
    Pen.SetJoinStyle(jsBevel);
    plat::TPen Device;
    ApplyChtPen(Device, Pen, clRed);
    const plat::TLogPen Log = Device.Handle();
    EXPECT_EQ(Log.Style, 0x10000u + 1u + 0x200u + 0x1000u);
    EXPECT_EQ(Log.Width, 3);
    EXPECT_EQ(Log.Color, plat::ToColorRef(clRed));
}

TEST(PenRealisation, SmallDotsBecomeDottedPens)
{
    struct TCase {
        int Space;
        std::uint32_t Kind;
        std::vector<std::uint32_t> Style;
    };
    const TCase Cases[] = {
        {0, plat::PS_ALTERNATE, {}},
        {-4, plat::PS_ALTERNATE, {}},
        {2, plat::PS_USERSTYLE, {0, 3}},
        {5, plat::PS_USERSTYLE, {0, 6}},
    };
    for (const TCase& Case : Cases) {
        TChtPen Pen;
        Pen.SetWidth(4);
        Pen.SetMode(plat::pmXor);
        Pen.SetSmallDots(true);
        Pen.SetSmallSpace(Case.Space);
        plat::TPen Device;
        ApplyChtPen(Device, Pen, clBlue);
        const plat::TLogPen Log = Device.Handle();
        EXPECT_EQ(Log.Kind(), Case.Kind) << "space " << Case.Space;
        EXPECT_EQ(Log.UserStyle, Case.Style) << "space " << Case.Space;
        EXPECT_EQ(Log.Width, 1) << "dots are one pixel whatever the width";
        EXPECT_EQ(Device.Mode(), plat::pmXor) << "the mode is copied";
    }
}

TEST(PenRealisation, ThinPensArePlainCopiesInTheGivenColour)
{
    TChtPen Pen;
    Pen.SetStyle(plat::psDot);
    Pen.SetColor(clRed);
    plat::TPen Device;
    ApplyChtPen(Device, Pen, clGreen);
    EXPECT_EQ(Device.Style(), plat::psDot);
    EXPECT_EQ(Device.Color(), clGreen);
    EXPECT_EQ(Device.Width(), 1);
}

} // namespace
} // namespace qel
