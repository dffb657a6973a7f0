// Tests of the 3D chart canvas's own text: labels, projected labels with and
// without HTML-like text, turned labels, the font effects (shadow, emboss,
// outline, gradient and picture fills) as pixels on the canvas, and that no
// operation of the canvas interfaces is left abstract on it.
#include "html_unit_scope.h"

#include "widgets/chart/chart_blend.h"
#include "widgets/chart/chart_path.h"
#include "widgets/chart/chart_picture.h"
#include "widgets/chart/chart_shadow.h"
#include "widgets/chart/cht_canvas3d.h"
#include "widgets/chart/view3d_options.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/canvas.h"
#include "platform/canvas/pixel_surface.h"
#include "platform/canvas/recording_dc.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace qel {
namespace {

// A 3D canvas drawing unbuffered on a white bitmap through a recorder, in
// the orthogonal view of 45 degrees: a point at depth Z moves Z to the
// right and Z up.
struct TTextScene {
    explicit TTextScene(int Width = 240, int Height = 140)
        : Bitmap(Width, Height, plat::pf24bit), Recorder(Bitmap.Canvas()->Handle()), Dest(&Recorder)
    {
        Canvas.SetUseBuffer(false);
        Options.SetOrthoAngle(45);
        const TRect Whole{0, 0, Width, Height};
        Canvas.InitWindow(&Dest, &Options, clWhite, true, Whole);
        Canvas.Projection(0, Whole, Whole);
        Canvas.Brush()->SetColor(clWhite);
        Canvas.FillRect(Whole);
        Canvas.SetBackMode(cbmTransparent);
        Canvas.Font()->SetName("Arial");
        Canvas.Font()->SetSize(20);
        Canvas.Font()->SetColor(clNavy);
        Canvas.Font()->SetQuality(fqNormal);
        Recorder.Clear();
    }

    TColor PixelColor(int X, int Y)
    {
        const std::uint8_t* Pixel = Bitmap.ScanLine(Y) + X * 3;
        return static_cast<TColor>(Pixel[2] | Pixel[1] << 8 | Pixel[0] << 16);
    }
    // Pixels of R for which Test holds.
    int Count(const TRect& R, const std::function<bool(TColor)>& Test)
    {
        int Found = 0;
        for (int Y = std::max(R.Top, 0); Y < std::min(R.Bottom, Bitmap.Height()); ++Y) {
            for (int X = std::max(R.Left, 0); X < std::min(R.Right, Bitmap.Width()); ++X) {
                Found += Test(PixelColor(X, Y)) ? 1 : 0;
            }
        }
        return Found;
    }
    int CountOf(const TRect& R, TColor Colour)
    {
        return Count(R, [Colour](TColor C) { return C == Colour; });
    }
    int Inked(const TRect& R)
    {
        return Count(R, [](TColor C) { return C != clWhite; });
    }
    std::vector<std::string> WrittenTexts() const
    {
        std::vector<std::string> Texts;
        for (const plat::TRecordedCall* Call : Recorder.CallsNamed("TextOut")) {
            Texts.push_back(Call->Text);
        }
        return Texts;
    }
    void Look(const std::string& Name)
    {
        if (const char* Dir = std::getenv("QEL_SCREENSHOT_DIR")) {
            Bitmap.PixelSurface()->SaveToPng(std::string(Dir) + "/" + Name + ".png");
        }
    }

    test::THtmlUnitScope Html;
    plat::TBitmap Bitmap;
    plat::TRecordingDC Recorder;
    plat::TCanvas Dest;
    TView3DOptions Options{nullptr};
    TChtCanvas3D Canvas;
};

const plat::TRecordedCall& OnlyTextOut(const TTextScene& Scene)
{
    const auto Written = Scene.Recorder.CallsNamed("TextOut");
    EXPECT_EQ(Written.size(), 1u);
    return *Written.at(0);
}

TEST(ChtCanvas3DText, TextOutWritesTheCanvasFontAtItsPointSize)
{
    TTextScene Scene;
    Scene.Canvas.TextOut(20, 30, "Label");
    const plat::TRecordedCall& Written = OnlyTextOut(Scene);
    EXPECT_EQ(Written.Args, (std::vector<std::int64_t>{20, 30}));
    EXPECT_EQ(Written.State.Font.Height, -27) << "20 points at 96 pixels per inch";
    EXPECT_EQ(Written.State.Font.Quality, 3) << "not antialiased";
    EXPECT_GT(Scene.CountOf({20, 30, 100, 60}, clNavy), 40);
    EXPECT_EQ(Scene.Inked({0, 0, 20, 140}), 0) << "nothing left of the anchor";
    EXPECT_EQ(Scene.Inked({0, 0, 240, 30}), 0) << "nothing above the anchor";
}

TEST(ChtCanvas3DText, HtmlTextGoesThroughTheTagsOnlyWhenAllowed)
{
    struct TCase {
        bool AllowHtml;
        std::vector<std::string> Written;
    };
    const TCase Cases[] = {
        {true, {"Bo", "ld"}},
        {false, {"<B>Bo</B>ld"}},
    };
    for (const TCase& Case : Cases) {
        TTextScene Scene;
        Scene.Canvas.TextOut(10, 20, "<B>Bo</B>ld", Case.AllowHtml);
        EXPECT_EQ(Scene.WrittenTexts(), Case.Written) << "HTML " << Case.AllowHtml;
        EXPECT_GT(Scene.CountOf({10, 20, 120, 60}, clNavy), 40) << "HTML " << Case.AllowHtml;
        if (Case.AllowHtml) {
            const auto Runs = Scene.Recorder.CallsNamed("TextOut");
            EXPECT_EQ(Runs[0]->State.Font.Weight, 700) << "the first run is bold";
            EXPECT_EQ(Runs[1]->State.Font.Weight, 400) << "the second is not";
        }
    }
}

TEST(ChtCanvas3DText, TextOut3DWritesAtTheProjectedPoint)
{
    struct TCase {
        bool AllowHtml;
        const char* Text;
        std::vector<std::string> Written;
    };
    const TCase Cases[] = {
        {false, "3D", {"3D"}},
        {true, "<I>3D</I>", {"3D"}},
    };
    for (const TCase& Case : Cases) {
        TTextScene Scene;
        Scene.Canvas.TextOut3D(20, 40, 10, Case.Text, Case.AllowHtml);
        EXPECT_EQ(Scene.WrittenTexts(), Case.Written) << Case.Text;
        const plat::TRecordedCall& Written = OnlyTextOut(Scene);
        EXPECT_EQ(Written.Args, (std::vector<std::int64_t>{30, 30})) << "(20, 40) at depth 10";
        EXPECT_EQ(Written.State.Font.Italic, Case.AllowHtml) << Case.Text;
        EXPECT_GT(Scene.CountOf({30, 30, 80, 60}, clNavy), 20) << Case.Text;
        EXPECT_EQ(Scene.Inked({0, 0, 30, 140}), 0) << Case.Text;
    }
    TTextScene Plain;
    Plain.Canvas.TextOut3D(20, 40, 10, "3D");
    EXPECT_EQ(OnlyTextOut(Plain).Args, (std::vector<std::int64_t>{30, 30})) << "the short form writes plain text";
}

TEST(ChtCanvas3DText, TurnedLabelsTurnCounterClockwiseInTenthsOfADegree)
{
    struct TCase {
        double Degrees;
        int Escapement;
        TRect Ink;       // where the label lies
        TRect Clean;     // where it must not
    };
    const TCase Cases[] = {
        {0, 0, {60, 100, 140, 135}, {0, 0, 240, 100}},
        {90, 900, {60, 40, 95, 100}, {100, 0, 240, 140}},
        {450, 900, {60, 40, 95, 100}, {100, 0, 240, 140}},
        {180, 1800, {0, 70, 60, 100}, {61, 0, 240, 140}},
    };
    for (const TCase& Case : Cases) {
        TTextScene Scene;
        Scene.Canvas.RotateLabel(60, 100, "Turn", Case.Degrees, false);
        const plat::TRecordedCall& Written = OnlyTextOut(Scene);
        EXPECT_EQ(Written.Args, (std::vector<std::int64_t>{60, 100})) << Case.Degrees;
        EXPECT_EQ(Written.State.Font.Escapement, Case.Escapement) << Case.Degrees;
        EXPECT_GT(Scene.CountOf(Case.Ink, clNavy), 40) << Case.Degrees;
        EXPECT_EQ(Scene.Inked(Case.Clean), 0) << Case.Degrees;
    }
}

TEST(ChtCanvas3DText, ATurnedLabelWithoutAngleIsATextOut)
{
    TTextScene Turned;
    Turned.Canvas.RotateLabel(30, 40, "Same", 0, true);
    TTextScene Plain;
    Plain.Canvas.TextOut(30, 40, "Same");
    ASSERT_EQ(Turned.Recorder.Calls().size(), Plain.Recorder.Calls().size());
    for (std::size_t I = 0; I < Plain.Recorder.Calls().size(); ++I) {
        EXPECT_EQ(Turned.Recorder.Calls()[I].Name, Plain.Recorder.Calls()[I].Name) << "call " << I;
    }
    EXPECT_EQ(Turned.Inked({0, 0, 240, 140}), Plain.Inked({0, 0, 240, 140}));
}

TEST(ChtCanvas3DText, TurnedLabelsInDepthAndAboutTheTextCentre)
{
    TTextScene Deep;
    Deep.Canvas.RotateLabel3D(50, 110, 10, "Up", 90, false);
    const plat::TRecordedCall& Written = OnlyTextOut(Deep);
    EXPECT_EQ(Written.Args, (std::vector<std::int64_t>{60, 100})) << "(50, 110) at depth 10";
    EXPECT_EQ(Written.State.Font.Escapement, 900);

    // Centred alignment turns only the vertical distance to the centre:
    // (0, 20) below the centre goes 20 to the right at 90 degrees.
    TTextScene Centred;
    Centred.Canvas.SetTextAlign(6);
    Centred.Canvas.SetTextCenter(true, {100, 50});
    Centred.Canvas.RotateLabel(130, 70, "C", 90, false);
    EXPECT_EQ(OnlyTextOut(Centred).Args, (std::vector<std::int64_t>{120, 50}));

    TTextScene Glyphs;
    Glyphs.Canvas.CharacterAngle = 45;
    Glyphs.Canvas.RotateLabel(60, 100, "G", 0, false);
    EXPECT_EQ(OnlyTextOut(Glyphs).State.Font.Orientation, 450) << "each glyph turns by the character angle";
}

TEST(ChtCanvas3DText, ShadowAndEmbossAreWrittenBesideTheText)
{
    struct TCase {
        const char* Name;
        bool Emboss;
        int Size;
        TRect EffectOnly;   // covered by the effect, not by the text
    };
    // The text "I" at (40, 30), its glyph from about row 37 to row 60; the
    // effect moved by 6 pixels down (shadow) or up (emboss).
    const TCase Cases[] = {
        {"shadow", false, 6, {0, 61, 240, 70}},
        {"emboss", true, 6, {0, 0, 240, 36}},
    };
    for (const TCase& Case : Cases) {
        TTextScene Scene;
        Scene.Canvas.Font()->SetSize(24);
        TChtShadow* Effect = Case.Emboss ? Scene.Canvas.Font()->Emboss() : Scene.Canvas.Font()->Shadow();
        Effect->SetVisible(true);
        Effect->SetHorizSize(Case.Size);
        Effect->SetVertSize(Case.Size);
        Effect->SetTransparency(0);
        Effect->SetSmooth(false);
        Effect->SetColor(clRed);
        Scene.Canvas.TextOut(40, 30, "I");
        EXPECT_EQ(Scene.WrittenTexts(), (std::vector<std::string>{"I", "I"})) << Case.Name;
        EXPECT_GT(Scene.CountOf(Case.EffectOnly, clRed), 5) << Case.Name;
        EXPECT_GT(Scene.CountOf({30, 20, 80, 80}, clNavy), 40) << Case.Name << ": the text over it";
        Scene.Look(std::string("canvas3d_text_") + Case.Name);
    }
}

TEST(ChtCanvas3DText, OutlinesStrokeTheGlyphsAndFillThemUnlessTheFontHasNoColour)
{
    struct TCase {
        TColor FontColour;
        bool Filled;
    };
    for (const TCase& Case : {TCase{clNone, false}, TCase{clNavy, true}}) {
        TTextScene Scene;
        Scene.Canvas.Font()->SetSize(36);
        Scene.Canvas.Font()->SetColor(Case.FontColour);
        TChtHiddenPen& OutLine = *Scene.Canvas.Font()->OutLine();
        OutLine.SetVisible(true);
        OutLine.SetColor(clRed);
        OutLine.SetWidth(1);
        Scene.Canvas.TextOut(20, 20, "O");
        const TRect Glyph{15, 15, 80, 80};
        EXPECT_GT(Scene.CountOf(Glyph, clRed), 20) << "the outline";
        if (Case.Filled) {
            EXPECT_GT(Scene.CountOf(Glyph, clNavy), 40) << "filled and written again";
            EXPECT_EQ(Scene.Recorder.CallsNamed("StrokeAndFillPath").size(), 1u);
        } else {
            EXPECT_EQ(Scene.Count(Glyph, [](TColor C) { return C != clWhite && C != clRed; }), 0)
                << "outline only";
            EXPECT_EQ(Scene.Recorder.CallsNamed("StrokePath").size(), 1u);
        }
    }
}

TEST(ChtCanvas3DText, GradientAndPictureFillsPaintInsideTheGlyphs)
{
    plat::TBitmap Green(8, 8, plat::pf24bit);
    Green.Canvas()->Brush()->SetColor(clLime);
    Green.Canvas()->FillRect({0, 0, 8, 8});
    // Far from the surface's origin, where every glyph must be outlined.
    for (const bool Picture : {false, true}) {
        TTextScene Scene(540, 470);
        Scene.Canvas.Font()->SetSize(22);
        if (Picture) {
            Scene.Canvas.Font()->Picture()->SetGraphic(&Green);
        } else {
            TChtGradient& Fill = *Scene.Canvas.Font()->Gradient();
            Fill.SetStartColor(clRed);
            Fill.SetEndColor(clBlue);
            Fill.SetDirection(gdTopBottom);
            Fill.SetVisible(true);
        }
        Scene.Canvas.TextOut(250, 385, "HHHH");
        const TRect Glyph{250, 385, 350, 425};
        if (Picture) {
            EXPECT_GT(Scene.CountOf(Glyph, clLime), 200) << "the picture inside the glyph";
        } else {
            EXPECT_GT(Scene.Count(Glyph, [](TColor C) { return (C & 0xFF) > 0xC0 && (C >> 16) < 0x40; }), 20)
                << "red towards the bottom";
            EXPECT_GT(Scene.Count(Glyph, [](TColor C) { return (C & 0xFF) < 0x40 && (C >> 16) > 0xC0; }), 20)
                << "blue towards the top";
        }
        EXPECT_EQ(Scene.CountOf(Glyph, clNavy), 0) << "the fill replaces the font colour";
        EXPECT_EQ(Scene.Inked({0, 0, 540, 385}), 0) << "nothing outside the glyphs' box";
        EXPECT_EQ(Scene.Inked({0, 0, 249, 470}), 0) << "nothing outside the glyphs' box";
        Scene.Look(Picture ? "canvas3d_text_picture" : "canvas3d_text_gradient");
    }
}

TEST(ChtCanvas3DText, APathRecordsTheGlyphsOfItsText)
{
    TTextScene Scene;
    Scene.Canvas.Font()->SetSize(36);
    Scene.Canvas.Brush()->SetColor(clRed);
    Scene.Canvas.Pen()->SetVisible(false);
    const std::unique_ptr<TChtBasePath> Path = Scene.Canvas.CreatePath();
    Path->TextOut(20.4f, 19.6f, "T");
    Path->Draw(Scene.Canvas);
    EXPECT_EQ(OnlyTextOut(Scene).Args, (std::vector<std::int64_t>{20, 20}));
    EXPECT_EQ(Scene.Recorder.CallsNamed("FillPath").size(), 1u);
    EXPECT_GT(Scene.CountOf({20, 20, 70, 70}, clRed), 40) << "the glyph filled with the brush";
}

// Every operation of the two canvas interfaces, called once on the drawing
// canvas: none may be left to the abstract base.
TEST(ChtCanvas3DText, NoOperationOfTheCanvasInterfacesIsAbstract)
{
    TTextScene Scene;
    TChtCanvas3D& C = Scene.Canvas;
    TCanvas3D& Base = C;
    TChtCanvas& Flat = C;
    plat::TBitmap Picture(4, 4, plat::pf24bit);
    const TPoint Points[] = {{10, 10}, {40, 12}, {25, 40}};
    const TPointFloat Floats[] = {{10, 10}, {40, 12}, {25, 40}};
    const TPoint3D Points3D[] = {{10, 10, 0}, {40, 12, 5}, {25, 40, 10}};
    const TPoint3DFloat Floats3D[] = {{10, 10, 0}, {40, 12, 5}, {25, 40, 10}};
    TFourPoints Four{{{10, 10}, {40, 10}, {40, 40}, {10, 40}}};
    TChtShadow Shadow(nullptr);
    Shadow.SetSmooth(false);
    TView3DOptions Options(nullptr);
    TChtCachedObject* Cached = nullptr;
    plat::TBitmap Rendered;
    struct TOperation {
        const char* Name;
        std::function<void()> Call;
    };
    const TOperation Operations[] = {
        {"SetReferenceCanvas", [&] { Flat.SetReferenceCanvas(C.ReferenceCanvas()); }},
        {"BrushChanged", [&] { Flat.BrushChanged(*C.Brush()); }},
        {"FontChanged", [&] { Flat.FontChanged(); }},
        {"PenChanged", [&] { Flat.PenChanged(); }},
        {"FastLineTo", [&] { Flat.FastLineTo(5, 5); }},
        {"GetBackColor", [&] { (void)Flat.GetBackColor(); }},
        {"GetBackMode", [&] { (void)Flat.GetBackMode(); }},
        {"GetHandle", [&] { (void)Flat.GetHandle(); }},
        {"GetIsNoBMPGrid", [&] { (void)Flat.GetIsNoBMPGrid(); }},
        {"GetMonochrome", [&] { (void)Flat.GetMonochrome(); }},
        {"GetPixel", [&] { (void)Flat.GetPixel(1, 1); }},
        {"GetSupportsFullRotation", [&] { (void)Flat.GetSupportsFullRotation(); }},
        {"GetSupportsXORMode", [&] { (void)Flat.GetSupportsXORMode(); }},
        {"GetTextAlign", [&] { (void)Flat.GetTextAlign(); }},
        {"GetUseBuffer", [&] { (void)Flat.GetUseBuffer(); }},
        {"GetSpareFlag", [&] { (void)Flat.GetSpareFlag(); }},
        {"GetSpareValue", [&] { EXPECT_EQ(Flat.GetSpareValue(), 0); }},
        {"NotifyBatch", [&] { Flat.NotifyBatch(false), Flat.NotifyBatch(true); }},
        {"SetBackColor", [&] { Flat.SetBackColor(clWhite); }},
        {"SetBackMode", [&] { Flat.SetBackMode(cbmTransparent); }},
        {"SetFastLine", [&] { Flat.SetFastLine(true), Flat.SetFastLine(false); }},
        {"SetInterCharSize", [&] { Flat.SetInterCharSize(0); }},
        {"SetMonochrome", [&] { Flat.SetMonochrome(false); }},
        {"ApplyPenMode", [&] { Flat.ApplyPenMode(*C.Pen()); }},
        {"SetPixel", [&] { Flat.SetPixel(1, 1, clRed); }},
        {"SetTextAlign", [&] { Flat.SetTextAlign(0); }},
        {"SetUseBuffer", [&] { Flat.SetUseBuffer(false); }},
        {"GetFloatPoints", [&] { EXPECT_TRUE(Flat.GetFloatPoints().empty()); }},
        {"AssignBrush", [&] { Flat.AssignBrush(*C.Brush(), clRed, clWhite); }},
        {"AssignVisiblePenColor", [&] { Flat.AssignVisiblePenColor(*C.Pen(), clBlack); }},
        {"BeginBlending", [&] { Flat.EndBlending(Flat.BeginBlending(TRect{0, 0, 10, 10}, 50)); }},
        {"Arc", [&] { Flat.Arc(0, 0, 40, 40, 40, 20, 20, 0); }},
        {"Arc by angles", [&] { Flat.Arc(0, 0, 40, 40, 0.0f, 90.0f); }},
        {"ArcTo", [&] { Flat.ArcTo(0, 0, 40, 40, 40, 20, 20, 0, true); }},
        {"Donut", [&] { Flat.Donut(50, 50, 20, 20, 0, 3, 50); }},
        {"Draw", [&] { Flat.Draw(0, 0, &Picture); }},
        {"Ellipse", [&] { Flat.Ellipse(0, 0, 20, 20); }},
        {"FillRect", [&] { Flat.FillRect({0, 0, 5, 5}); }},
        {"Frame3D", [&] { TRect R{0, 0, 20, 20}; Flat.Frame3D(R, clWhite, clGray, 2); }},
        {"LineTo", [&] { Flat.LineTo(5, 5), Flat.LineTo(TPointFloat{6, 6}); }},
        {"MoveTo", [&] { Flat.MoveTo(5, 5), Flat.MoveTo(TPointFloat{6, 6}); }},
        {"Pie", [&] { Flat.Pie(TRect{0, 0, 40, 40}, 0, 90), Flat.Pie(0, 0, 40, 40, 40, 20, 20, 0); }},
        {"Rectangle", [&] { Flat.Rectangle(0, 0, 5, 5); }},
        {"RoundRect", [&] { Flat.RoundRect(0, 0, 20, 20, 4, 4); }},
        {"StretchDraw", [&] { Flat.StretchDraw({0, 0, 8, 8}, &Picture); }},
        {"StretchRotate", [&] { Flat.StretchRotate({0, 0, 8, 8}, &Picture, 30); }},
        {"TextOut", [&] { Flat.TextOut(0, 0, "t"); }},
        {"TextHeight", [&] { (void)Flat.TextHeight(std::string_view("t")), (void)Flat.TextHeight(u"t"); }},
        {"TextSize", [&] { (void)Flat.TextSize(std::string_view("t")), (void)Flat.TextSize(u"t"); }},
        {"TextWidth", [&] { (void)Flat.TextWidth(std::string_view("t")), (void)Flat.TextWidth(u"t"); }},
        {"ClipRectangle", [&] { Flat.ClipRectangle({0, 0, 10, 10}), Flat.UnClipRectangle(); }},
        {"ClipRectangle rounded", [&] { Flat.ClipRectangle({0, 0, 10, 10}, 3, 3), Flat.UnClipRectangle(); }},
        {"ClipEllipse", [&] { Flat.ClipEllipse({0, 0, 10, 10}, false), Flat.UnClipRectangle(); }},
        {"ClipPolygon", [&] { Flat.ClipPolygon(Points, 3, false), Flat.UnClipRectangle(); }},
        {"CreatePath", [&] { Flat.CreatePath()->Draw(Flat); }},
        {"Curve", [&] { Flat.Curve(Points, 0.5f, true, 0); }},
        {"DoHorizLine", [&] { Flat.DoHorizLine(0, 10, 5); }},
        {"DoVertLine", [&] { Flat.DoVertLine(5, 0, 10); }},
        {"DrawCheckBox", [&] { Flat.DrawCheckBox(0, 0, true, clWhite, true); }},
        {"EraseBackground", [&] { Flat.EraseBackground({0, 0, 5, 5}); }},
        {"GradientFill", [&] { Flat.GradientFill({0, 0, 20, 20}, clRed, clBlue, gdTopBottom, 50, 0, 0); }},
        {"Invalidate", [&] { Flat.Invalidate(); }},
        {"Line", [&] { Flat.Line(0, 0, 5, 5); }},
        {"Polyline", [&] { Flat.Polyline(Points); }},
        {"PolylineFloat", [&] { Flat.PolylineFloat(Floats); }},
        {"Polygon", [&] { Flat.Polygon(Points); }},
        {"PolygonConcave", [&] { Flat.PolygonConcave(Points); }},
        {"PolygonFloat", [&] { Flat.PolygonFloat(Floats); }},
        {"RotateLabel", [&] { Flat.RotateLabel(20, 20, "r", 45, false); }},
        {"GetCheckBoxSize", [&] { EXPECT_EQ(Flat.GetCheckBoxSize(), 12); }},
        {"SpareProcedures", [&] { Base.SpareProcedure1(), Base.SpareProcedure2(); }},
        {"DrawPieEdge", [&] { Base.DrawPieEdge(edFlat, 0, {}, {}, {}, 0, 90, {}, false); }},
        {"PrepareDCBrush", [&] { (void)Base.PrepareDCBrush(); }},
        {"GetPixel3D", [&] { (void)Base.GetPixel3D(1, 1, 0); }},
        {"GetSupports3DText", [&] { EXPECT_FALSE(Base.GetSupports3DText()); }},
        {"SetPixel3D", [&] { Base.SetPixel3D(1, 1, 0, clRed); }},
        {"DrawShadow", [&] { Base.DrawShadow(Shadow, {0, 0, 10, 10}, false, 0, {}, 0, 0, 360); }},
        {"Calculate2DPosition", [&] { int X = 5, Y = 5; Base.Calculate2DPosition(X, Y, 0); }},
        {"Calculate3DPosition", [&] {
             TPointFloat P{1, 1};
             (void)Base.Calculate3DPosition(1, 1, 1);
             Base.Calculate3DPosition(P, 1);
         }},
        {"Assign", [&] { Base.Assign(C); }},
        {"ReDrawBitmap", [&] { (void)Base.ReDrawBitmap(); }},
        {"RenderToBitmap", [&] { EXPECT_FALSE(Base.RenderToBitmap(Rendered, {0, 0, 1, 1})); }},
        {"Arrow", [&] { Base.Arrow(true, {0, 0}, {40, 0}, 10, 10, 0, 0, 50); }},
        {"ClipCube", [&] { Base.ClipCube({0, 0, 20, 20}, 0, 5), Flat.UnClipRectangle(); }},
        {"Cone", [&] { Base.Cone(true, 0, 0, 20, 20, 0, 5, false, 50); }},
        {"Cube", [&] { Base.Cube(0, 20, 0, 20, 0, 5, false, 0), Base.Cube(0, 20, 0, 20, 0, 5, 2, false, 0); }},
        {"Cylinder", [&] { Base.Cylinder(true, 0, 0, 20, 20, 0, 5, false); }},
        {"Diamond", [&] { Base.Diamond(0, 0, 20, 20, 0, 5); }},
        {"Rotation", [&] { Base.DisableRotation(), Base.EnableRotation(); }},
        {"EllipseWithZ", [&] { Base.EllipseWithZ(0, 0, 20, 20, 3); }},
        {"HorizLine3D", [&] { Base.HorizLine3D(0, 20, 5, 3); }},
        {"RoundRect 3D", [&] { Base.RoundRect(TRect{0, 0, 20, 20}, 4, 4, 0, 5); }},
        {"VertLine3D", [&] { Base.VertLine3D(5, 0, 20, 3); }},
        {"ZLine3D", [&] { Base.ZLine3D(5, 5, 0, 10); }},
        {"FrontPlane", [&] { Base.FrontPlaneBegin(), Base.FrontPlaneEnd(); }},
        {"LineWithZ", [&] { Base.LineWithZ(0, 0, 20, 20, 3); }},
        {"MoveTo3D", [&] { Base.MoveTo3D(1, 1, 1), Base.MoveTo3D(1.0f, 1.0f, 1.0f); }},
        {"LineTo3D", [&] { Base.LineTo3D(9, 9, 1), Base.LineTo3D(8.0f, 8.0f, 1.0f); }},
        {"Pie3D", [&] {
             Base.Pie3D(50, 50, 20, 10, 0, 5, 0, 1, true, true, 0, nullptr, 0, edNone, 0, 0, false, false);
         }},
        {"Plane3D", [&] { Base.Plane3D({0, 0}, {20, 20}, 0, 5); }},
        {"PlaneWithZ", [&] { Base.PlaneWithZ(Four[0], Four[1], Four[2], Four[3], 3); }},
        {"PlaneFour3D", [&] { Base.PlaneFour3D(Four, 0, 5); }},
        {"Polygon3D", [&] { Base.Polygon3D(Points3D); }},
        {"Polygon3DConcave", [&] { Base.Polygon3DConcave(Floats3D, false), Base.Polygon3DConcave(Points3D, false); }},
        {"PolygonWithZ", [&] { Base.PolygonWithZ(Points, 3); }},
        {"PolygonConcave with Z", [&] { Base.PolygonConcave(Points, 3); }},
        {"Polyline with Z", [&] { Base.Polyline(Points, 3); }},
        {"Pyramid", [&] { Base.Pyramid(true, 0, 0, 20, 20, 0, 5, true); }},
        {"PyramidTrunc", [&] { Base.PyramidTrunc({0, 0, 20, 20}, 0, 5, 3, 1, true, true); }},
        {"RectangleWithZ", [&] { Base.RectangleWithZ({0, 0, 20, 20}, 3); }},
        {"RectangleY", [&] { Base.RectangleY(0, 10, 20, 0, 5); }},
        {"RectangleZ", [&] { Base.RectangleZ(10, 0, 20, 0, 5); }},
        {"RotateLabel3D", [&] { Base.RotateLabel3D(20, 20, 3, "r", 30, false); }},
        {"RoundRectWithZ", [&] { Base.RoundRectWithZ({0, 0, 20, 20}, 4, 4, 3); }},
        {"Sphere", [&] { Base.Sphere(20, 20, 3, 5); }},
        {"StretchDraw in a plane", [&] { Base.StretchDraw({0, 0, 8, 8}, &Picture, 3, cpZ); }},
        {"Surface3D", [&] { Base.Surface3D(tcsSolid, true, false, false, 2, 2, {}, Cached); }},
        {"TextOut3D", [&] { Base.TextOut3D(20, 20, 3, "t", false), Base.TextOut3D(20, 20, 3, "<B>t</B>", true); }},
        {"Triangle3D", [&] { Base.Triangle3D({Points3D[0], Points3D[1], Points3D[2]}, {clRed, clRed, clRed}); }},
        {"Triangles", [&] { Base.Triangles(Points3D, false, Cached); }},
        {"TriangleWithZ", [&] { Base.TriangleWithZ(Points[0], Points[1], Points[2], 3); }},
        {"TriSurface", [&] {
             Base.TriSurface(1, false, false, nullptr, 0,
                 [&](int, TTrianglePoints3D& P, TTriangleColors3D& Colors, TTriangleIndexes&) {
                     P = {Points3D[0], Points3D[1], Points3D[2]};
                     Colors = {clRed, clRed, clRed};
                 },
                 Cached);
         }},
        {"Projection", [&] { Base.Projection(10, {0, 0, 100, 100}, {0, 0, 100, 100}); }},
        {"ShowImage", [&] { Base.ShowImage(&Scene.Dest, &Scene.Dest, {0, 0, 100, 100}); }},
        {"InitWindow", [&] { (void)Base.InitWindow(&Scene.Dest, &Options, clWhite, true, {0, 0, 100, 100}); }},
    };
    for (const TOperation& Operation : Operations) {
        EXPECT_NO_THROW(Operation.Call()) << Operation.Name;
    }
    EXPECT_EQ(Cached, nullptr);
    void* Asked = nullptr;
    EXPECT_EQ(Base.QueryInterface(IID_IInterface, &Asked), 0);
    EXPECT_EQ(Asked, &Base);
    TInterfaceId Other = IID_IInterface;
    Other[0] = 1;
    EXPECT_EQ(Base.QueryInterface(Other, &Asked), E_NOINTERFACE_RESULT);
    EXPECT_EQ(Asked, nullptr);
    EXPECT_EQ(Base.AddRef(), -1);
    EXPECT_EQ(Base.Release(), -1);
}

} // namespace
} // namespace qel
