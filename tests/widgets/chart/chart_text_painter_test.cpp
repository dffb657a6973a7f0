// Tests of the drawing canvas's text: the painter's effects as calls on the
// recording device (shadow and emboss places, outline, gradient and picture
// fills through the glyph path), rotated labels and their anchor, the font
// sizing and quality rules, and pixel probes of a blurred shadow.
#include "html_unit_scope.h"
#include "test_chart_canvas.h"

#include "widgets/chart/chart_brush.h"
#include "widgets/chart/chart_gradient.h"
#include "widgets/chart/chart_pen.h"
#include "widgets/chart/chart_picture.h"
#include "widgets/chart/chart_shadow.h"
#include "widgets/chart/chart_text_painter.h"
#include "widgets/chart/cht_canvas3d.h"
#include "widgets/chart/view3d_options.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/canvas.h"
#include "platform/canvas/gdi_constants.h"
#include "platform/canvas/pixel_surface.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <set>

namespace qel {
namespace {

class TPainterTestCanvas : public test::TTestChartCanvas {
public:
    TPainterTestCanvas(int Width = 240, int Height = 120) : TTestChartCanvas(Width, Height) {}
    void UnClipRectangle() override { Recorder.ExtSelectClipRgn(nullptr, plat::RGN_COPY); }
    using TTestChartCanvas::ClipRectangle;
    plat::TBitmap* OffscreenBitmap() const override { return Buffered ? const_cast<plat::TBitmap*>(&Bitmap) : nullptr; }
    bool Buffered = false;
};

class ChartTextPainterTest : public ::testing::Test {
protected:
    ChartTextPainterTest()
    {
        Canvas.Font()->SetName("Arial");
        Canvas.Font()->SetSize(10);
        Canvas.Font()->SetColor(plat::clBlack);
        Canvas.DeviceContext();  // the platform canvas's own pen and brush are in place
        Canvas.Recorder.Clear();
    }
    std::vector<const plat::TRecordedCall*> Calls(std::string_view Name) const
    {
        return Canvas.Recorder.CallsNamed(Name);
    }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> All;
        for (const plat::TRecordedCall& Call : Canvas.Recorder.Calls()) {
            All.push_back(Call.Name);
        }
        return All;
    }
    void Look(const std::string& Name)
    {
        if (const char* Dir = std::getenv("QEL_SCREENSHOT_DIR")) {
            Canvas.SavePng(std::string(Dir) + "/" + Name + ".png");
        }
    }
    void FillWhite()
    {
        Canvas.Brush()->SetColor(plat::clWhite);
        Canvas.FillRect({0, 0, Canvas.Bitmap.Width(), Canvas.Bitmap.Height()});
        Canvas.Recorder.Clear();
    }

    test::THtmlUnitScope Html;
    TPainterTestCanvas Canvas;
    TChtTextSettings Settings;
    TChtTextPainter Painter{Canvas, Settings};
};

TEST_F(ChartTextPainterTest, PlainFontWritesOnceWithoutPathPenOrBrushChange)
{
    const plat::TLogPen Pen = Canvas.Recorder.CurrentPen();
    const plat::TLogBrush Brush = Canvas.Recorder.CurrentBrush();
    Painter.TextOut(10, 20, "Plain");
    EXPECT_EQ(Names(), (std::vector<std::string>{"SelectFont", "SetTextColor", "TextOut", "SelectFont"}));
    const auto Written = Calls("TextOut");
    ASSERT_EQ(Written.size(), 1u);
    EXPECT_EQ(Written[0]->Args, (std::vector<std::int64_t>{10, 20}));
    EXPECT_EQ(Written[0]->State.Font.Height, -13) << "10 points at 96 pixels per inch";
    EXPECT_EQ(Written[0]->State.Pen, Pen);
    EXPECT_EQ(Written[0]->State.Brush, Brush);
    EXPECT_EQ(Canvas.Recorder.CurrentFont(), Canvas.Font()->Handle()) << "the font it replaced is back";
}

TEST_F(ChartTextPainterTest, ShadowAndEmbossPlaces)
{
    struct TCase {
        const char* Name;
        bool Emboss;
        int HorizSize;
        int VertSize;
        TPoint Effect;
        TPoint Text;
    };
    const TCase Cases[] = {
        {"shadow -3", false, -3, 0, {20, 30}, {23, 30}},
        {"shadow +3, 2", false, 3, 2, {23, 32}, {20, 30}},
        {"emboss -3", true, -3, 0, {20, 30}, {17, 30}},
        {"emboss +3, -2", true, 3, -2, {17, 30}, {20, 28}},
    };
    for (const TCase& Case : Cases) {
        TChtShadow* Effect = Case.Emboss ? Canvas.Font()->Emboss() : Canvas.Font()->Shadow();
        Effect->SetVisible(true);
        Effect->SetHorizSize(Case.HorizSize);
        Effect->SetVertSize(Case.VertSize);
        Effect->SetTransparency(0);
        Effect->SetColor(plat::clGray);
        Canvas.Recorder.Clear();
        Painter.TextOut(20, 30, "Shade");
        const auto Written = Calls("TextOut");
        ASSERT_EQ(Written.size(), 2u) << Case.Name;
        EXPECT_EQ(Written[0]->Args, (std::vector<std::int64_t>{Case.Effect.X, Case.Effect.Y})) << Case.Name;
        EXPECT_EQ(Written[0]->State.TextColor, plat::ToColorRef(plat::clGray)) << Case.Name;
        EXPECT_EQ(Written[1]->Args, (std::vector<std::int64_t>{Case.Text.X, Case.Text.Y})) << Case.Name;
        EXPECT_EQ(Written[1]->State.TextColor, plat::ToColorRef(plat::clBlack)) << Case.Name;
        Canvas.Font()->SetShadow(nullptr);
        Canvas.Font()->SetEmboss(nullptr);
    }
}

TEST_F(ChartTextPainterTest, TransparentShadowIsBlendedOverItsOwnBox)
{
    FillWhite();
    Canvas.Font()->SetSize(30);
    Canvas.Font()->SetQuality(fqNormal);
    TChtShadow* Shadow = Canvas.Font()->Shadow();
    Shadow->SetHorizSize(40);
    Shadow->SetVertSize(0);
    Shadow->SetTransparency(50);
    Shadow->SetSmooth(false);
    Shadow->SetColor(plat::clBlack);
    Painter.TextOut(10, 10, "I");
    // The shadow stands right of the text, mixed half with the white below.
    std::set<TColor> ShadowColours;
    for (int Y = 10; Y < 50; ++Y) {
        for (int X = 45; X < 80; ++X) {
            ShadowColours.insert(Canvas.PixelColor(X, Y));
        }
    }
    EXPECT_TRUE(ShadowColours.count(plat::clWhite));
    EXPECT_FALSE(ShadowColours.count(plat::clBlack)) << "no unblended shadow pixel";
    EXPECT_TRUE(ShadowColours.count(0x808080) || ShadowColours.count(0x7F7F7F)) << "half black over white";
    EXPECT_EQ(Canvas.TransparencyDepth(), 0u) << "the blend has ended";
}

TEST_F(ChartTextPainterTest, ShadowWithoutOffsetOrHiddenDrawsNothingMore)
{
    Canvas.Font()->Shadow()->SetHorizSize(0);
    Canvas.Font()->Emboss()->SetHorizSize(5);  // hidden by default
    Painter.TextOut(5, 5, "x");
    EXPECT_EQ(Calls("TextOut").size(), 1u);
}

TEST_F(ChartTextPainterTest, OutlineStrokesOnlyForNoColourElseFillsAndWritesShifted)
{
    TChtHiddenPen* OutLine = Canvas.Font()->OutLine();
    OutLine->Show();
    OutLine->SetWidth(4);
    OutLine->SetColor(plat::clRed);
    Painter.TextOut(10, 20, "Out");
    EXPECT_EQ(Calls("BeginPath").size(), 1u);
    EXPECT_EQ(Calls("StrokeAndFillPath").size(), 1u);
    EXPECT_TRUE(Calls("StrokePath").empty());
    auto Written = Calls("TextOut");
    ASSERT_EQ(Written.size(), 2u);
    EXPECT_EQ(Written[1]->Args, (std::vector<std::int64_t>{12, 22}));
    const auto Filled = Calls("StrokeAndFillPath");
    EXPECT_EQ(Filled[0]->State.Pen.Color, plat::ToColorRef(plat::clRed));
    EXPECT_EQ(Filled[0]->State.Brush.Color, plat::ToColorRef(plat::clBlack));
    EXPECT_EQ(Filled[0]->State.BkMode, plat::TRANSPARENT);

    Canvas.Recorder.Clear();
    Canvas.Font()->SetColor(clNone);
    Painter.TextOut(10, 20, "Out");
    EXPECT_EQ(Calls("StrokePath").size(), 1u);
    EXPECT_TRUE(Calls("StrokeAndFillPath").empty());
    EXPECT_EQ(Calls("TextOut").size(), 1u) << "only the one inside the path";
}

TEST_F(ChartTextPainterTest, GradientFillsThroughTheGlyphPath)
{
    Canvas.Font()->Gradient()->SetVisible(true);
    Painter.TextOut(10, 20, "Grad");
    EXPECT_EQ(Calls("SelectClipPath").size(), 1u);
    EXPECT_TRUE(Calls("WidenPath").empty());
    EXPECT_TRUE(Calls("StrokePath").empty());
    EXPECT_TRUE(Calls("StrokeAndFillPath").empty());
    ASSERT_FALSE(Calls("ExtSelectClipRgn").empty()) << "the clip ends";

    // A widened outline whose fill is a gradient draws no stroke.
    Canvas.Recorder.Clear();
    TChtHiddenPen* OutLine = Canvas.Font()->OutLine();
    OutLine->Show();
    OutLine->SetWidth(3);
    OutLine->Fill()->Gradient()->SetVisible(true);
    Painter.TextOut(10, 20, "Grad");
    EXPECT_EQ(Calls("WidenPath").size(), 1u);
    EXPECT_TRUE(Calls("StrokePath").empty());
    EXPECT_TRUE(Calls("StrokeAndFillPath").empty());

    // An outline without a gradient fill is stroked over the gradient with a clear brush.
    Canvas.Recorder.Clear();
    OutLine->Fill()->Gradient()->SetVisible(false);
    Painter.TextOut(10, 20, "Grad");
    EXPECT_TRUE(Calls("WidenPath").empty());
    EXPECT_EQ(Calls("BeginPath").size(), 2u);
    const auto Stroked = Calls("StrokeAndFillPath");
    ASSERT_EQ(Stroked.size(), 1u);
    EXPECT_EQ(Stroked[0]->State.Brush.Style, plat::BS_NULL);
}

TEST_F(ChartTextPainterTest, PictureFillShowsOnlyInsideTheGlyphs)
{
    FillWhite();
    plat::TBitmap Green(8, 8, plat::pf24bit);
    Green.Canvas()->Brush()->SetColor(plat::clLime);
    Green.Canvas()->FillRect({0, 0, 8, 8});
    Canvas.Font()->Brush()->Image()->SetGraphic(&Green);
    Canvas.Font()->SetSize(40);
    Canvas.Font()->SetStyle(plat::TFontStyles{plat::fsBold});
    Painter.TextOut(10, 10, "IM");
    EXPECT_EQ(Calls("SelectClipPath").size(), 1u);
    EXPECT_EQ(Canvas.PixelColor(12, 1), plat::clWhite) << "outside the glyphs";
    int GreenPixels = 0;
    for (int Y = 10; Y < 70; ++Y) {
        for (int X = 10; X < 120; ++X) {
            GreenPixels += Canvas.PixelColor(X, Y) == plat::clLime;
        }
    }
    EXPECT_GT(GreenPixels, 200);
    EXPECT_LT(GreenPixels, 110 * 60 / 2) << "not the whole text box";
    Look("text_picture_fill");
}

TEST_F(ChartTextPainterTest, RotatedLabels)
{
    struct TCase {
        double Degrees;
        int Escapement;
    };
    const TCase Cases[] = {{450, 900}, {90, 900}, {720, 3600}, {360, 3600}, {-45, -450}, {12.34, 123},
        {1e300, 3600},  // a whole number of turns: stays at 360 as repeated turns would
        {std::numeric_limits<double>::infinity(), 0},
        {std::nan(""), 0}};
    for (const TCase& Case : Cases) {
        Canvas.Recorder.Clear();
        Painter.RotateLabel(50, 60, "Turn", Case.Degrees);
        const auto Written = Calls("TextOut");
        ASSERT_EQ(Written.size(), 1u) << Case.Degrees;
        EXPECT_EQ(Written[0]->State.Font.Escapement, Case.Escapement) << Case.Degrees;
    }
}

TEST_F(ChartTextPainterTest, UnturnedLabelIsTextOut)
{
    Painter.TextOut(50, 60, "Same");
    const std::vector<plat::TRecordedCall> Plain = Canvas.Recorder.Calls();
    Canvas.Recorder.Clear();
    Painter.RotateLabel(50, 60, "Same", 0);
    const std::vector<plat::TRecordedCall>& Turned = Canvas.Recorder.Calls();
    ASSERT_EQ(Turned.size(), Plain.size());
    for (std::size_t I = 0; I < Plain.size(); ++I) {
        EXPECT_EQ(Turned[I].Name, Plain[I].Name);
        EXPECT_EQ(Turned[I].Args, Plain[I].Args);
        EXPECT_EQ(Turned[I].State.Font, Plain[I].State.Font);
    }
    // A character angle alone turns the glyphs.
    Settings.CharacterAngle = 30;
    Canvas.Recorder.Clear();
    Painter.RotateLabel(50, 60, "Same", 0);
    ASSERT_EQ(Calls("TextOut").size(), 1u);
    EXPECT_EQ(Calls("TextOut")[0]->State.Font.Orientation, 300);
    EXPECT_EQ(Calls("TextOut")[0]->State.Font.Escapement, 0);
}

TEST_F(ChartTextPainterTest, TextCentreTurnsTheAnchor)
{
    Settings.UseTextCenter = true;
    Settings.TextCenter = {100, 100};
    struct TCase {
        int Align;
        TPoint Anchor;
        TPoint Drawn;
    };
    const TCase Cases[] = {
        {6, {150, 130}, {130, 100}},
        {6, {170, 130}, {130, 100}},   // centred: only the vertical distance counts
        {0, {150, 130}, {130, 50}},
        {0, {100, 100}, {100, 100}},
    };
    for (const TCase& Case : Cases) {
        Canvas.SetTextAlign(Case.Align);
        Canvas.Recorder.Clear();
        Painter.RotateLabel(Case.Anchor.X, Case.Anchor.Y, "c", 90);
        const auto Written = Calls("TextOut");
        ASSERT_EQ(Written.size(), 1u);
        EXPECT_EQ(Written[0]->Args, (std::vector<std::int64_t>{Case.Drawn.X, Case.Drawn.Y}))
            << Case.Align << " " << Case.Anchor.X;
    }
}

TEST_F(ChartTextPainterTest, QualityTable)
{
    struct TCase {
        TFontQuality Font;
        TFontQuality Canvas;
        std::uint8_t Byte;
    };
    const TCase Cases[] = {
        {fqBest, fqNormal, 4}, {fqNormal, fqBest, 3}, {fqClearType, fqClearType, 4},
        {fqDefault, fqBest, 4}, {fqDefault, fqNormal, 3}, {fqDefault, fqDefault, 0}, {fqDefault, fqClearType, 5},
    };
    for (const TCase& Case : Cases) {
        EXPECT_EQ(FontQualityByte(Case.Font, Case.Canvas, 9), Case.Byte) << Case.Font << " " << Case.Canvas;
    }
    EXPECT_EQ(FontQualityByte(static_cast<TFontQuality>(7), fqBest, 9), 9) << "other values keep the byte";
    Canvas.Font()->SetQuality(fqDefault);
    Settings.FontQuality = fqClearType;
    Painter.TextOut(1, 1, "q");
    EXPECT_EQ(Calls("TextOut")[0]->State.Font.Quality, 5);
}

TEST_F(ChartTextPainterTest, TextOut3DWithAndWithoutHtml)
{
    Painter.TextOut3D({30, 40}, "<B>x</B>", true);
    auto Written = Calls("TextOut");
    ASSERT_EQ(Written.size(), 1u);
    EXPECT_EQ(Written[0]->Text, "x");
    EXPECT_GT(Written[0]->State.Font.Weight, 400);
    Canvas.Recorder.Clear();
    Painter.TextOut3D({30, 40}, "<B>x</B>", false);
    Written = Calls("TextOut");
    ASSERT_EQ(Written.size(), 1u);
    EXPECT_EQ(Written[0]->Text, "<B>x</B>");
    EXPECT_EQ(Written[0]->Args, (std::vector<std::int64_t>{30, 40}));
    EXPECT_EQ(Written[0]->State.Font, Canvas.ReferenceCanvas()->Font()->Handle()) << "no font is made";
}

// Colours found in a rectangle of the bitmap.
std::set<TColor> ColoursIn(TPainterTestCanvas& Canvas, const TRect& R)
{
    std::set<TColor> Colours;
    for (int Y = R.Top; Y < R.Bottom; ++Y) {
        for (int X = R.Left; X < R.Right; ++X) {
            Colours.insert(Canvas.PixelColor(X, Y));
        }
    }
    return Colours;
}

TEST_F(ChartTextPainterTest, SmoothShadowIsBlurredWhileTheTextStaysCrisp)
{
    const auto Draw = [this](TPainterTestCanvas& Target, bool Shadowed) {
        Target.Font()->SetName("Arial");
        Target.Font()->SetSize(28);
        Target.Font()->SetStyle(plat::TFontStyles{plat::fsBold});
        Target.Font()->SetQuality(fqNormal);
        Target.Brush()->SetColor(plat::clWhite);
        Target.FillRect({0, 0, 240, 120});
        Target.Buffered = true;
        TChtShadow* Shadow = Target.Font()->Shadow();
        Shadow->SetVisible(Shadowed);
        Shadow->SetHorizSize(6);
        Shadow->SetVertSize(6);
        Shadow->SetTransparency(0);
        Shadow->SetColor(plat::clNavy);
        Shadow->SetSmooth(true);
        Shadow->SetSmoothBlur(3);
        TChtTextPainter(Target, Settings).TextOut(20, 20, "Crisp");
    };
    TPainterTestCanvas Reference;
    Draw(Reference, false);
    Draw(Canvas, true);
    int TextPixels = 0;
    for (int Y = 0; Y < 120; ++Y) {
        for (int X = 0; X < 240; ++X) {
            if (Reference.PixelColor(X, Y) == plat::clBlack) {
                ++TextPixels;
                ASSERT_EQ(Canvas.PixelColor(X, Y), plat::clBlack) << X << "," << Y;
            }
        }
    }
    EXPECT_GT(TextPixels, 300);
    // The shadow shows blended shades between navy and white, which an
    // unblurred, unsmoothed shadow would not have.
    const std::set<TColor> Colours = ColoursIn(Canvas, {0, 0, 240, 120});
    EXPECT_GT(Colours.size(), 6u);
    Look("text_smooth_shadow");
}

// A buffered 3D canvas with a smooth, blurred text shadow. The blur works on
// 32-bit rows: the canvas's own bitmap has them and keeps its device
// context; a bitmap that must be converted gets a new one, on which the
// text, its font and the label's font restoring carry on.
TEST(ChartTextPainter3DTest, SmoothShadowsOnTheBufferedCanvas)
{
    for (const bool Convert : {false, true}) {
        const TRect Whole{0, 0, 200, 120};
        plat::TBitmap Target(Whole.Right, Whole.Bottom, plat::pf24bit);
        plat::TCanvas Dest(Target.Canvas()->Handle());
        TView3DOptions Options(nullptr);
        TChtCanvas3D Canvas;
        Canvas.InitWindow(&Dest, &Options, plat::clWhite, true, Whole);
        Canvas.Projection(100, Whole, Whole);
        Canvas.Brush()->SetColor(plat::clWhite);
        Canvas.FillRect(Whole);
        ASSERT_NE(Canvas.OffscreenBitmap(), nullptr);
        if (Convert) {
            Canvas.OffscreenBitmap()->SetPixelFormat(plat::pfDevice);
        }
        const plat::TDeviceContext* Before = Canvas.GetHandle();
        Canvas.SetBackMode(cbmTransparent);
        Canvas.Font()->SetName("Arial");
        Canvas.Font()->SetSize(20);
        Canvas.Font()->SetColor(plat::clBlack);
        Canvas.Font()->SetQuality(fqNormal);
        TChtShadow* Shadow = Canvas.Font()->Shadow();
        Shadow->SetHorizSize(4);
        Shadow->SetVertSize(4);
        Shadow->SetTransparency(0);
        Shadow->SetColor(plat::clNavy);
        Shadow->SetSmooth(true);
        const TChtTextSettings Settings;
        TChtTextPainter Painter(Canvas, Settings);
        const plat::TLogFont Held = Canvas.DeviceContext()->CurrentFont();   // the canvas font, realised
        Painter.TextOut(10, 10, "Blur");
        EXPECT_EQ(Canvas.GetHandle()->CurrentFont(), Held) << "the sized font is given back, converted: " << Convert;
        Painter.RotateLabel(120, 100, "Turn", 30);
        EXPECT_EQ(Canvas.GetHandle()->CurrentFont(), Held) << "the turned font is given back, converted: " << Convert;
        if (!Convert) {
            EXPECT_EQ(Canvas.GetHandle(), Before) << "a 32-bit bitmap needs no conversion";
        }
        Canvas.ShowImage(&Dest, &Dest, Whole);
        std::set<TColor> Colours;
        int Black = 0;
        for (int Y = 0; Y < 60; ++Y) {
            for (int X = 0; X < 100; ++X) {
                const std::uint8_t* Pixel = Target.ScanLine(Y) + X * 3;
                const auto C = static_cast<TColor>(Pixel[2] | Pixel[1] << 8 | Pixel[0] << 16);
                Colours.insert(C);
                Black += C == plat::clBlack;
            }
        }
        EXPECT_GT(Black, 40) << "the text at its size, converted: " << Convert;
        EXPECT_GT(Colours.size(), 6u) << "blurred shades of the shadow, converted: " << Convert;
    }
}

// The effects drawn by the 3D chart canvas, whose fills honour gradients,
// on a transparent text background as charts draw their labels.
TEST(ChartTextPainterGalleryTest, EffectsLookRight)
{
    const TRect Whole{0, 0, 360, 260};
    plat::TBitmap Target(Whole.Right, Whole.Bottom, plat::pf24bit);
    plat::TCanvas Dest(Target.Canvas()->Handle());
    TView3DOptions Options(nullptr);
    TChtCanvas3D Canvas;
    Canvas.InitWindow(&Dest, &Options, plat::clWhite, false, Whole);
    Canvas.Projection(100, Whole, Whole);
    Canvas.Brush()->SetColor(plat::clWhite);
    Canvas.FillRect(Whole);
    const TChtTextSettings Settings;
    TChtTextPainter Painter(Canvas, Settings);
    const auto At = [&Target](int X, int Y) {
        const std::uint8_t* Pixel = Target.ScanLine(Y) + X * 3;
        return static_cast<TColor>(Pixel[2] | Pixel[1] << 8 | Pixel[0] << 16);
    };
    // The colours met on row Y between X0 and X1.
    const auto RowColours = [&At](int Y, int X0, int X1) {
        std::set<TColor> Colours;
        for (int X = X0; X < X1; ++X) {
            Colours.insert(At(X, Y));
        }
        return Colours;
    };
    Canvas.SetBackMode(cbmTransparent);
    Canvas.Font()->SetName("Arial");
    Canvas.Font()->SetColor(plat::clBlack);
    Canvas.Font()->SetSize(22);
    Canvas.Font()->SetStyle(plat::TFontStyles{plat::fsBold});
    Canvas.Font()->SetQuality(fqNormal);
    Canvas.Font()->Shadow()->SetHorizSize(3);
    Canvas.Font()->Shadow()->SetVertSize(3);
    Canvas.Font()->Shadow()->SetTransparency(0);
    Canvas.Font()->Shadow()->SetSmooth(false);
    Painter.TextOut(10, 5, "Shadow");
    Canvas.Font()->SetShadow(nullptr);
    Canvas.Font()->Emboss()->Show();
    Canvas.Font()->Emboss()->SetHorizSize(-2);
    Canvas.Font()->Emboss()->SetVertSize(-2);
    Canvas.Font()->Emboss()->SetTransparency(0);
    Canvas.Font()->Emboss()->SetColor(plat::clSilver);
    Painter.TextOut(10, 45, "Emboss");
    Canvas.Font()->SetEmboss(nullptr);
    Canvas.Font()->OutLine()->Show();
    Canvas.Font()->OutLine()->SetColor(plat::clRed);
    Canvas.Font()->SetColor(plat::clYellow);
    Painter.TextOut(10, 85, "Outline");
    Canvas.Font()->SetColor(clNone);
    Painter.TextOut(180, 85, "Hollow");
    Canvas.Font()->SetOutLine(nullptr);
    Canvas.Font()->SetColor(plat::clBlack);
    Canvas.Font()->Gradient()->SetVisible(true);
    Canvas.Font()->Gradient()->SetDirection(gdLeftRight);
    Canvas.Font()->Gradient()->SetStartColor(plat::clBlue);
    Canvas.Font()->Gradient()->SetEndColor(plat::clRed);
    Painter.TextOut(10, 125, "Gradient");
    Canvas.Font()->Gradient()->SetVisible(false);
    Canvas.Font()->SetSize(12);
    Canvas.SetBackMode(cbmTransparent);   // as a chart does before each label
    for (const double Degrees : {0.0, 30.0, 90.0, 180.0, 270.0}) {
        Painter.RotateLabel(260, 182, "  rotated", Degrees);
    }
    Canvas.ShowImage(&Dest, &Dest, Whole);

    int Black = 0;
    int Silver = 0;
    for (int Y = 0; Y < 40; ++Y) {
        for (int X = 0; X < 160; ++X) {
            Black += At(X, Y) == plat::clBlack;
            Silver += At(X, Y) == plat::clSilver;
        }
    }
    EXPECT_GT(Black, 200) << "the shadowed text";
    EXPECT_GT(Silver, 50) << "its shadow shows beside it";
    // The emboss is smooth by default: blurred greys beside the text.
    int EmbossGrey = 0;
    for (int Y = 40; Y < 80; ++Y) {
        for (int X = 0; X < 160; ++X) {
            const TColor C = At(X, Y);
            const int Red = C & 0xFF;
            EmbossGrey += C != plat::clWhite && C != plat::clBlack && Red == (C >> 8 & 0xFF) && Red == (C >> 16 & 0xFF);
        }
    }
    EXPECT_GT(EmbossGrey, 50) << "the emboss shows beside its text";
    const std::set<TColor> Outlined = RowColours(85 + 16, 10, 170);
    EXPECT_TRUE(Outlined.contains(plat::clYellow) && Outlined.contains(plat::clRed)) << "yellow glyphs, red edges";
    EXPECT_FALSE(RowColours(85 + 16, 180, 350).contains(plat::clYellow)) << "hollow glyphs are only outlined";
    // The gradient runs across the glyphs from the end colour on the left
    // to the start colour on the right, and no glyph pixel is black.
    int Bluish = 0;
    int Reddish = 0;
    int GradientBlack = 0;
    for (int Y = 125; Y < 160; ++Y) {
        for (int X = 10; X < 180; ++X) {
            const TColor C = At(X, Y);
            const int Red = C & 0xFF;
            const int Blue = C >> 16 & 0xFF;
            GradientBlack += C == plat::clBlack;
            Reddish += X < 60 && Red > 150 && Blue < 100;
            Bluish += X > 130 && Blue > 150 && Red < 100;
        }
    }
    EXPECT_GT(Bluish, 30);
    EXPECT_GT(Reddish, 30);
    EXPECT_EQ(GradientBlack, 0) << "the glyphs are filled by the gradient, not the font colour";
    if (const char* Dir = std::getenv("QEL_SCREENSHOT_DIR")) {
        Target.PixelSurface()->SaveToPng(std::string(Dir) + "/text_effects.png");
    }
}

} // namespace
} // namespace qel
