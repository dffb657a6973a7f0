// Tests of the chart canvas base on a small drawing canvas: brush, pen and
// font assignment with zooms and their platform effects, reset, text
// measuring with effects, check boxes, the transparency stack, colour
// functions, and the abstract operations of a canvas that draws nothing.
#include "test_chart_canvas.h"

#include "widgets/chart/chart_blend.h"
#include "widgets/chart/chart_canvas_unit.h"
#include "widgets/chart/chart_picture.h"
#include "widgets/chart/chart_shadow.h"

#include "platform/canvas/gdi_constants.h"
#include "platform/locale.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace qel {
namespace {

using test::TTestChartCanvas;

// A canvas class that implements nothing.
class TBareCanvas : public TChtCanvas {};

TEST(ChtCanvas, CheckBoxSizeFollowsItsZoom)
{
    struct TCase {
        double Zoom;
        int Size;
    };
    const TCase Cases[] = {{0, 1}, {100, 12}, {150, 18}, {4, 1}, {112.5, 14}, {104.1666, 12}};
    for (const TCase& Case : Cases) {
        TBareCanvas Canvas;
        Canvas.SetCheckBoxZoom(Case.Zoom);
        EXPECT_EQ(Canvas.GetCheckBoxSize(), Case.Size) << "zoom " << Case.Zoom;
    }
}

TEST(ChtCanvas, CheckBoxesAreButtonFrameControls)
{
    struct TCase {
        bool Checked;
        bool CheckBox;
        std::int64_t State;
    };
    const TCase Cases[] = {{false, true, 0}, {true, true, 0x400}, {false, false, 4}, {true, false, 0x404}};
    for (const TCase& Case : Cases) {
        TTestChartCanvas Canvas(40, 40);
        Canvas.SetCheckBoxZoom(150);
        Canvas.SetTextAlign(plat::TA_BOTTOM);
        Canvas.DrawCheckBox(3, 4, Case.Checked, clRed, Case.CheckBox);
        const auto Calls = Canvas.Recorder.CallsNamed("DrawFrameControl");
        ASSERT_EQ(Calls.size(), 1u);
        EXPECT_EQ(Calls[0]->Args, (std::vector<std::int64_t>{3, 4, 23, 24, plat::DFC_BUTTON, Case.State}))
            << "checked " << Case.Checked << " box " << Case.CheckBox;
        EXPECT_EQ(Calls[0]->State.TextAlign, 0u);
    }
}

TEST(ChtCanvas, TheShortBrushFormsPassTheirColoursAsWorded)
{
    TChtBrush Red;
    Red.SetColor(clRed);
    Red.SetBackColor(clNone);
    struct TCase {
        const char* Name;
        std::function<void(TChtCanvas&)> Assign;
        TColor Color;
        TColor BackColor;
    };
    const TCase Cases[] = {
        {"one argument", [&](TChtCanvas& C) { C.AssignBrush(Red); }, clNone, clRed},
        {"with a colour", [&](TChtCanvas& C) { C.AssignBrush(Red, clBlue); }, clBlue, clRed},
        {"colour and back colour", [&](TChtCanvas& C) { C.AssignBrushColor(Red, clRed, clNone); }, clRed, clNone},
    };
    for (const TCase& Case : Cases) {
        TTestChartCanvas Canvas(10, 10);
        Case.Assign(Canvas);
        EXPECT_EQ(Canvas.Brush()->Color(), Case.Color) << Case.Name;
        EXPECT_EQ(Canvas.Brush()->BackColor(), Case.BackColor) << Case.Name;
        EXPECT_EQ(Canvas.ReferenceCanvas()->Brush()->Color(), Case.Color) << "the platform brush follows";
    }
}

TEST(ChtCanvas, HatchesPaintOnTheirBackColourAndClearBrushesAreTransparent)
{
    TTestChartCanvas Canvas(10, 10);
    TChtBrush Hatch;
    Hatch.SetColor(clRed);
    Hatch.SetBackColor(clBlue);
    Hatch.SetHatchStyle(hsCross);
    Canvas.AssignBrush(Hatch, clRed, clBlue);
    EXPECT_EQ(Canvas.GetBackMode(), cbmOpaque);
    EXPECT_EQ(Canvas.GetBackColor(), static_cast<TColor>(plat::ToColorRef(clBlue)));
    EXPECT_EQ(Canvas.ReferenceCanvas()->Brush()->Style(), plat::bsCross);

    TChtBrush Solid;
    Solid.SetColor(clLime);
    Solid.SetBackColor(clYellow);
    Canvas.SetBackMode(cbmTransparent);
    Canvas.SetBackColor(clBlack);
    Canvas.AssignBrush(Solid, clLime, clYellow);
    EXPECT_EQ(Canvas.GetBackMode(), cbmTransparent) << "a solid brush leaves the background";
    EXPECT_EQ(Canvas.GetBackColor(), static_cast<TColor>(plat::ToColorRef(clBlack)));

    TChtBrush Clear;
    Clear.SetStyle(plat::bsClear);
    Clear.SetBackColor(clYellow);
    Canvas.SetBackMode(cbmOpaque);
    Canvas.AssignBrush(Clear);
    EXPECT_EQ(Canvas.GetBackMode(), cbmTransparent);
}

TEST(ChtCanvas, APictureBrushBecomesAPatternInTheBrushColour)
{
    TTestChartCanvas Canvas(10, 10);
    TChtBrush Pictured;
    plat::TBitmap Tile(4, 4);
    Pictured.Image()->SetGraphic(&Tile);
    Pictured.Gradient()->SetVisible(true);
    Canvas.AssignBrush(Pictured, clRed, clBlue);
    EXPECT_EQ(Canvas.Brush()->Style(), plat::bsClear);
    EXPECT_NE(Canvas.Brush()->Bitmap(), nullptr);
    EXPECT_EQ(Canvas.Recorder.GetTextColor(), plat::ToColorRef(clRed));
    EXPECT_EQ(Canvas.GetBackColor(), static_cast<TColor>(plat::ToColorRef(clBlue)));
    EXPECT_TRUE(Canvas.Gradient()->Visible()) << "the gradient is copied";

    TChtBrush Plain;
    Canvas.AssignBrush(Plain, clRed, clBlue);
    EXPECT_EQ(Canvas.Brush()->Bitmap(), nullptr);
    EXPECT_FALSE(Canvas.Gradient()->Visible()) << "a brush without gradient hides the canvas's";
    EXPECT_FALSE(Canvas.BrushGradientVisible());
}

TEST(ChtCanvas, AMonochromeCanvasFillsWhiteAndDrawsBlack)
{
    TTestChartCanvas Canvas(10, 10);
    Canvas.Monochrome = true;
    TChtBrush Red;
    Red.SetColor(clRed);
    Canvas.AssignBrushColor(Red, clRed, clNone);
    EXPECT_EQ(Canvas.Brush()->Color(), clWhite);
    TChtPen Pen;
    Pen.SetColor(clRed);
    Canvas.AssignVisiblePen(Pen);
    EXPECT_EQ(Canvas.Pen()->Color(), clBlack);
}

TEST(ChtCanvas, PenWidthsFollowThePenZoomRoundedToEven)
{
    struct TCase {
        double Zoom;
        bool ZoomPens;
        int Width;
        int Zoomed;
    };
    const TCase Cases[] = {
        {150, true, 3, 4}, {150, true, 5, 8}, {150, false, 3, 3}, {100, true, 3, 3}, {50, true, 5, 2}};
    for (const TCase& Case : Cases) {
        TTestChartCanvas Canvas(10, 10);
        Canvas.SetPenZoom(Case.Zoom);
        Canvas.ZoomPens(Case.ZoomPens);
        TChtPen Pen;
        Pen.SetWidth(Case.Width);
        Canvas.AssignVisiblePen(Pen);
        EXPECT_EQ(Canvas.Pen()->Width(), Case.Zoomed) << "zoom " << Case.Zoom << " width " << Case.Width;
        EXPECT_EQ(Pen.Width(), Case.Width) << "the source pen stays";
    }
}

TEST(ChtCanvas, AnInvisiblePenOnlyTurnsTheCanvasPenClear)
{
    TTestChartCanvas Canvas(10, 10);
    TChtPen Visible;
    Visible.SetWidth(3);
    Visible.SetColor(clRed);
    Canvas.AssignVisiblePen(Visible);
    TChtPen Hidden;
    Hidden.SetWidth(7);
    Hidden.SetColor(clBlue);
    Hidden.Hide();
    Canvas.AssignVisiblePen(Hidden);
    EXPECT_EQ(Canvas.Pen()->Style(), plat::psClear);
    EXPECT_EQ(Canvas.Pen()->Color(), clRed);
    EXPECT_EQ(Canvas.Pen()->Width(), 3);
    EXPECT_EQ(Canvas.ReferenceCanvas()->Pen()->Style(), plat::psClear);
}

TEST(ChtCanvas, WideNonRoundPensSetTheRasterCodeOfTheirMode)
{
    struct TCase {
        int Width;
        TPenEndStyle End;
        plat::TPenMode Mode;
        int Rop2;
    };
    const TCase Cases[] = {
        {3, esFlat, plat::pmXor, 7},
        {3, esSquare, plat::pmNotXor, 10},
        {2, esFlat, plat::pmMaskPenNot, 5},
        {3, esRound, plat::pmXor, plat::R2_COPYPEN},
        {1, esFlat, plat::pmXor, plat::R2_COPYPEN},
    };
    for (const TCase& Case : Cases) {
        TTestChartCanvas Canvas(10, 10);
        TChtPen Pen;
        Pen.SetWidth(Case.Width);
        Pen.SetEndStyle(Case.End);
        Pen.SetMode(Case.Mode);
        Canvas.AssignVisiblePen(Pen);
        EXPECT_EQ(Canvas.Recorder.GetROP2(), Case.Rop2) << "width " << Case.Width << " mode " << Case.Mode;
    }
}

TEST(ChtCanvas, AVisiblePenIsRealisedOnThePlatformPen)
{
    TTestChartCanvas Canvas(10, 10);
    TChtPen Pen;
    Pen.SetWidth(3);
    Pen.SetStyle(plat::psDash);
    Pen.SetEndStyle(esFlat);
    Pen.SetJoinStyle(jsBevel);
    Canvas.AssignVisiblePenColor(Pen, clGreen);
    const plat::TLogPen Log = Canvas.ReferenceCanvas()->Pen()->Handle();
    EXPECT_EQ(Log.Style, 0x10000u + 1u + 0x200u + 0x1000u);
    EXPECT_EQ(Log.Color, plat::ToColorRef(clGreen));
}

TEST(ChtCanvas, FontsAreZoomedAndReachThePlatformOnce)
{
    TTestChartCanvas Canvas(10, 10);
    Canvas.SetFontZoom(150);
    Canvas.ZoomTexts(true);
    TChtFont Font;
    Font.SetSize(10);
    Font.SetInterCharSize(2);
    Font.SetName("DejaVu Serif");
    Canvas.Recorder.Clear();
    Canvas.AssignFont(Font);
    EXPECT_EQ(Canvas.Font()->SizeFloat(), 15.0f);
    EXPECT_EQ(Canvas.ReferenceCanvas()->Font()->Size(), 15);
    EXPECT_EQ(Canvas.ReferenceCanvas()->Font()->Name(), "DejaVu Serif");
    EXPECT_EQ(Canvas.Recorder.CallsNamed("SetTextCharacterExtra").size(), 1u);
    EXPECT_EQ(Canvas.Recorder.GetTextCharacterExtra(), 2);

    Canvas.ZoomTexts(false);
    Canvas.AssignFontSize(Font, 10.5f);
    EXPECT_EQ(Canvas.Font()->SizeFloat(), 10.5f);
}

TEST(ChtCanvas, TextExtentsGrowByTheVisibleEffects)
{
    TTestChartCanvas Canvas(10, 10);
    Canvas.Font()->SetName("DejaVu Sans");
    Canvas.Font()->SetSize(10);
    const int Width = Canvas.TextWidth(std::string_view("Chart"));
    const int Height = Canvas.TextHeight(std::string_view("Chart"));
    ASSERT_GT(Width, 0);
    Canvas.Font()->Shadow()->SetHorizSize(-4);
    Canvas.Font()->Shadow()->SetVertSize(2);
    Canvas.Font()->Emboss()->SetHorizSize(1);
    EXPECT_EQ(Canvas.TextWidth(std::string_view("Chart")), Width + 4) << "the emboss is hidden";
    Canvas.Font()->Emboss()->Show();
    EXPECT_EQ(Canvas.TextWidth(std::string_view("Chart")), Width + 5);
    EXPECT_EQ(Canvas.TextHeight(std::string_view("Chart")), Height + 2);
    EXPECT_EQ(Canvas.TextWidth(std::u16string_view(u"Chart")), Width + 5) << "wide text measures the same";
    const TPointFloat Size = Canvas.TextSize(std::string_view("Chart"));
    EXPECT_EQ(Size.X, static_cast<float>(Width + 5));
    EXPECT_EQ(Size.Y, static_cast<float>(Height + 2));
}

// A canvas that logs, in order, the attribute changes it hears of and the
// device state it sets.
class TResetLogCanvas : public TTestChartCanvas {
public:
    TResetLogCanvas() : TTestChartCanvas(10, 10) {}

    void PenChanged() override
    {
        Log.push_back("pen");
        TTestChartCanvas::PenChanged();
    }
    void BrushChanged(TChtBrush& ABrush) override
    {
        Log.push_back("brush");
        TTestChartCanvas::BrushChanged(ABrush);
    }
    void FontChanged() override
    {
        Log.push_back("font " + std::to_string(Font()->Size()));
        TTestChartCanvas::FontChanged();
    }
    void SetBackColor(TColor Value) override
    {
        Log.push_back("back colour " + std::to_string(Value));
        TTestChartCanvas::SetBackColor(Value);
    }
    void SetBackMode(TCanvasBackMode Value) override
    {
        Log.push_back(Value == cbmOpaque ? "opaque" : "transparent");
        TTestChartCanvas::SetBackMode(Value);
    }
    void SetTextAlign(int Value) override
    {
        Log.push_back("text align " + std::to_string(Value));
        TTestChartCanvas::SetTextAlign(Value);
    }

    std::vector<std::string> Log;
};

// Every setting ResetState puts back, away from its default.
void ChangeEverything(TChtCanvas& Canvas)
{
    Canvas.Pen()->SetColor(clRed);
    Canvas.Pen()->SetWidth(4);
    Canvas.Pen()->SetStyle(plat::psDot);
    Canvas.Brush()->SetBackColor(clBlue);
    Canvas.Brush()->SetColor(clRed);
    Canvas.Brush()->SetStyle(plat::bsCross);
    plat::TBitmap Picture(2, 2);
    Canvas.Brush()->Image()->SetGraphic(&Picture);
    Canvas.Font()->SetColor(clRed);
    Canvas.Font()->SetStyle({plat::fsBold});
    Canvas.Font()->SetCharset(0);
    Canvas.Font()->SetName("DejaVu Serif");
    Canvas.Font()->SetSize(20);
    TChtGradient* Gradient = Canvas.Gradient();
    Gradient->SetVisible(true);
    Gradient->SetDirection(gdRadial);
    Gradient->SetStartColor(clRed);
    Gradient->SetEndColor(clBlue);
    Gradient->SetMidColor(clLime);
    Gradient->SetBalance(20);
    Gradient->SetAngle(45);
    Gradient->SetRadialX(7);
    Gradient->SetRadialY(-3);
    Canvas.SetBackColor(clRed);
    Canvas.SetBackMode(cbmOpaque);
    Canvas.SetTextAlign(plat::TA_BOTTOM);
}

// Sets the library's default font for one test.
class ChtCanvasReset : public ::testing::Test {
protected:
    void SetUp() override
    {
        DefaultFontName = "DejaVu Sans";
        DefaultFontSize = 9;
    }
    void TearDown() override
    {
        DefaultFontName = SavedName;
        DefaultFontSize = SavedSize;
    }

private:
    const std::string SavedName = DefaultFontName;
    const int SavedSize = DefaultFontSize;
};

TEST_F(ChtCanvasReset, ResetStateBringsBackTheDefaults)
{
    TTestChartCanvas Canvas(10, 10);
    ChangeEverything(Canvas);
    Canvas.ResetState();
    EXPECT_EQ(Canvas.Pen()->Color(), clBlack);
    EXPECT_EQ(Canvas.Pen()->Width(), 1);
    EXPECT_EQ(Canvas.Pen()->Style(), plat::psSolid);
    EXPECT_EQ(Canvas.Brush()->Color(), clWhite);
    EXPECT_EQ(Canvas.Brush()->Style(), plat::bsSolid);
    ASSERT_TRUE(Canvas.Brush()->IsImageStored()) << "the brush keeps its picture";
    EXPECT_EQ(Canvas.Brush()->Image()->Graphic(), nullptr) << "without a graphic";
    EXPECT_EQ(Canvas.Font()->Color(), clBlack);
    EXPECT_TRUE(Canvas.Font()->Style().Empty());
    EXPECT_EQ(Canvas.Font()->Charset(), plat::DEFAULT_CHARSET);
    EXPECT_EQ(Canvas.Font()->Name(), "DejaVu Sans");
    EXPECT_EQ(Canvas.Font()->Size(), 9);
    const TChtGradient* Gradient = Canvas.Gradient();
    EXPECT_FALSE(Gradient->Visible());
    EXPECT_EQ(Gradient->Direction(), gdTopBottom);
    EXPECT_EQ(Gradient->StartColor(), clWhite);
    EXPECT_EQ(Gradient->EndColor(), clYellow);
    EXPECT_EQ(Gradient->MidColor(), clNone);
    EXPECT_EQ(Gradient->Balance(), 50);
    EXPECT_EQ(Gradient->Angle(), 0);
    EXPECT_EQ(Gradient->RadialX(), 0);
    EXPECT_EQ(Gradient->RadialY(), 0);
    EXPECT_EQ(Canvas.GetBackColor(), clWhite);
    EXPECT_EQ(Canvas.GetBackMode(), cbmTransparent);
    EXPECT_EQ(Canvas.GetTextAlign(), 0);
}

TEST_F(ChtCanvasReset, ResetStateGivesABrushWithoutGradientADefaultOne)
{
    TTestChartCanvas Canvas(10, 10);
    ASSERT_FALSE(Canvas.Brush()->HasGradient());
    Canvas.ResetState();
    ASSERT_TRUE(Canvas.Brush()->HasGradient());
    const TChtGradient& Gradient = *Canvas.Gradient();
    EXPECT_FALSE(Gradient.Visible());
    EXPECT_EQ(Gradient.Direction(), gdTopBottom);
    EXPECT_EQ(Gradient.StartColor(), clWhite);
    EXPECT_EQ(Gradient.EndColor(), clYellow);
    EXPECT_EQ(Gradient.Balance(), 50);
}

TEST_F(ChtCanvasReset, ResetStateGoesPenBrushFontThenTheDeviceState)
{
    const plat::TFixedLocaleProvider English("en_GB.UTF-8");
    const plat::TFixedLocaleProvider Japanese("ja_JP.UTF-8");
    struct TCase {
        const plat::TFixedLocaleProvider* Locale;
        std::vector<std::string> FontLog;
    };
    // In Japanese the size is then replaced by -MulDiv(-11, 72, 96) = 8:
    // the platform's default font data at the screen's 96 pixels per inch.
    const TCase Cases[] = {
        {&English, {"font 20", "font 20", "font 20", "font 20", "font 9"}},
        {&Japanese, {"font 20", "font 20", "font 20", "font 20", "font 9", "font 8"}},
    };
    for (const TCase& Case : Cases) {
        const plat::TScopedLocaleProvider Locale(*Case.Locale);
        TResetLogCanvas Canvas;
        ChangeEverything(Canvas);
        Canvas.Log.clear();
        Canvas.ResetState();
        // The colour change finds the hatch and sets its opaque blue back;
        // the solid style and the picture's removal set nothing more.
        std::vector<std::string> Expected = {"pen", "pen", "pen", "brush", "opaque",
            "back colour " + std::to_string(clBlue), "brush", "brush"};
        Expected.insert(Expected.end(), Case.FontLog.begin(), Case.FontLog.end());
        Expected.insert(Expected.end(), {"back colour " + std::to_string(clWhite), "transparent", "text align 0"});
        EXPECT_EQ(Canvas.Log, Expected) << (Case.Locale == &Japanese ? "Japanese" : "English");
        EXPECT_EQ(Canvas.Font()->Size(), Case.Locale == &Japanese ? 8 : 9);
    }
}

TEST(ChtCanvas, ApplyDarkColorDarkensTheSolidFillElseTheBackground)
{
    TTestChartCanvas Canvas(10, 10);
    Canvas.ApplyDarkColor(static_cast<TColor>(0x00102030), 0x20);
    EXPECT_EQ(Canvas.Brush()->Color(), static_cast<TColor>(0x00000010));
    EXPECT_EQ(Canvas.ReferenceCanvas()->Brush()->Color(), static_cast<TColor>(0x00000010));
    Canvas.Brush()->SetStyle(plat::bsCross);
    Canvas.ApplyDarkColor(static_cast<TColor>(0x00808080), 0x10);
    EXPECT_EQ(Canvas.GetBackColor(), static_cast<TColor>(0x00707070));
}

TEST(ChtCanvas, NestedBlendingsComposeTheirTransparencies)
{
    TTestChartCanvas Canvas(20, 20);
    auto Outer = Canvas.BeginBlending(TRect{0, 0, 10, 10}, 50);
    EXPECT_EQ(Canvas.Transparency, 50);
    auto Inner = Canvas.BeginBlending(TRect{0, 0, 10, 10}, 50);
    EXPECT_EQ(Canvas.Transparency, 75);
    Canvas.EndBlending(std::move(Inner));
    EXPECT_EQ(Canvas.Transparency, 50);
    Canvas.EndBlending(std::move(Outer));
    EXPECT_EQ(Canvas.Transparency, 0);
    EXPECT_EQ(Canvas.TransparencyDepth(), 0u);

    const TPointArray Points{{1, 1}, {5, 2}, {3, 6}};
    EXPECT_EQ(Canvas.BeginBlending(Points, 0), nullptr);
    EXPECT_EQ(Canvas.TransparencyDepth(), 0u) << "transparency 0 pushes nothing";
    auto Blend = Canvas.BeginBlending(Points, 30);
    ASSERT_NE(Blend, nullptr);
    EXPECT_EQ(Blend->Rectangle(), (TRect{1, 1, 7, 8})) << "the points' bounds and one more";
    Canvas.EndBlending(std::move(Blend));
    Canvas.EndBlending(nullptr);
    EXPECT_EQ(Canvas.Transparency, 0);
}

TEST(ChtCanvas, PoppingAnEmptyTransparencyStackChangesNothing)
{
    TBareCanvas Canvas;
    Canvas.Transparency = 40;
    Canvas.PopTransparency();
    EXPECT_EQ(Canvas.Transparency, 40);
    Canvas.PushTransparency();
    Canvas.Transparency = 10;
    Canvas.PopTransparency();
    Canvas.PopTransparency();
    EXPECT_EQ(Canvas.Transparency, 40);
    EXPECT_EQ(Canvas.TransparencyDepth(), 0u);
}

TEST(ChtCanvas, ColourFunctions)
{
    EXPECT_EQ(TChtCanvas::SystemColor(clNone), clBlack);
    EXPECT_EQ(TChtCanvas::SystemColor(plat::clWindow), plat::ColorToRGB(plat::clWindow));
    EXPECT_NE(TChtCanvas::SystemColor(plat::clWindow), plat::clWindow);
    EXPECT_EQ(TChtCanvas::SystemColor(static_cast<TColor>(0xFF00001F)), static_cast<TColor>(0xFF00001F));
    EXPECT_EQ(TChtCanvas::SystemColor(clRed), clRed);
    EXPECT_EQ(TChtCanvas::ColorAlpha(static_cast<TColor>(0x7F102030)), 0x7F);
    EXPECT_EQ(TChtCanvas::ColorFrom(static_cast<TColor>(0x7F102030), 0x20), static_cast<TColor>(0x20102030));
}

TEST(ChtCanvas, AbstractOperationsRaiseOnACanvasThatDrawsNothing)
{
    TBareCanvas Canvas;
    const std::function<void()> Calls[] = {
        [&] { Canvas.Rectangle(0, 0, 1, 1); },
        [&] { Canvas.LineTo(1, 1); },
        [&] { Canvas.SetBackColor(clRed); },
        [&] { (void)Canvas.GetMonochrome(); },
        [&] { Canvas.FillRect(TRect{0, 0, 1, 1}); },
        [&] { Canvas.TextOut(0, 0, "x"); },
        [&] { Canvas.Line(0, 0, 1, 1); },
    };
    for (const auto& Call : Calls) {
        EXPECT_THROW(Call(), EAbstractError);
    }
}

} // namespace
} // namespace qel
