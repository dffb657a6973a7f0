// Tests of the chart's HTML-like text: tokens, attributes, colours and
// entities as tables, then whole texts on a recording chart canvas, with the
// font in force at each written run, the calls that reach the device and the
// pixels of a few pictures.
#include "stream_sized_graphic.h"
#include "test_chart_canvas.h"

#include "widgets/chart/chart_font.h"
#include "widgets/chart/html_stacks.h"
#include "widgets/chart/html_text_out.h"
#include "widgets/chart/html_tokens.h"

#include "platform/canvas/bitmap.h"
#include "platform/date_time.h"
#include "platform/format_settings.h"
#include "platform/streams.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace qel {
namespace {

TEST(HtmlTokensTest, TokensSplitAtAngleBrackets)
{
    struct TCase {
        const char* Text;
        std::vector<std::string> Tokens;
    };
    const TCase Cases[] = {
        {"", {}},
        {"plain", {"plain"}},
        {"a<B>b</>c", {"a", "<B>", "b", "</>", "c"}},
        {"<BR><BR>", {"<BR>", "<BR>"}},
        {"x<open", {"x", "open"}},
        {"<", {}},
        {"a<<B>", {"a", "<<B>"}},
        {"a>b<", {"a>b"}},
    };
    for (const TCase& Case : Cases) {
        std::string Rest = Case.Text;
        std::vector<std::string> Tokens;
        for (std::string Token = NextHtmlToken(Rest); !Token.empty(); Token = NextHtmlToken(Rest)) {
            Tokens.push_back(Token);
        }
        EXPECT_EQ(Tokens, Case.Tokens) << Case.Text;
    }
}

TEST(HtmlTokensTest, AttributesEndAtTheLastSpaceBeforeTheNextName)
{
    struct TCase {
        const char* Text;
        std::vector<std::pair<std::string, std::string>> Attributes;
    };
    const TCase Cases[] = {
        {"SIZE=+4", {{"SIZE", "+4"}}},
        {" name=Courier New color=255 weight=BOLD, ITALIC",
            {{"name", "Courier New"}, {"color", "255"}, {"weight", "BOLD, ITALIC"}}},
        {"SIZE = 4  COLOR = RED", {{"SIZE", "4"}, {"COLOR", "RED"}}},
        {"SIZE=4COLOR=RED", {{"SIZE", "4COLOR"}, {"", "RED"}}},
        {"no attributes", {}},
        {"A==B", {{"A", ""}, {"", "B"}}},
    };
    for (const TCase& Case : Cases) {
        std::vector<std::pair<std::string, std::string>> Parsed;
        for (const THtmlAttribute& Attribute : ParseHtmlAttributes(Case.Text)) {
            Parsed.emplace_back(Attribute.Name, Attribute.Value);
        }
        EXPECT_EQ(Parsed, Case.Attributes) << Case.Text;
    }
}

TEST(HtmlTokensTest, EntitiesDecodeOnceInOrder)
{
    const std::pair<const char*, const char*> Cases[] = {
        {"&lt;b&gt;", "<b>"},
        {"&amp;lt;", "&lt;"},
        {"&quot;x&quot; &AMP;", "\"x\" &AMP;"},
        {"&amp;amp;", "&amp;"},
        {"&", "&"},
    };
    for (const auto& [Text, Decoded] : Cases) {
        EXPECT_EQ(DecodeHtmlEntities(Text), Decoded) << Text;
    }
}

TEST(HtmlTokensTest, ColourValues)
{
    const std::pair<const char*, TColor> Cases[] = {
        {"RED", 0x0000FF}, {"\"LIME\"", 0x00FF00}, {" blue ", 0xFF0000}, {"#FF0000", 0x0000FF},
        {"#00ff80", 0x80FF00}, {"\"#0000FF\"", 0xFF0000}, {"clBtnFace", plat::clBtnFace},
        {"12345", 12345}, {"-16777211", static_cast<TColor>(0xFF000005)}, {"nonsense", 0}, {"", 0},
    };
    for (const auto& [Text, Color] : Cases) {
        EXPECT_EQ(HtmlColorValue(Text), Color) << Text;
    }
    for (const char* Bad : {"#", "#FF00", "#GG0000", "#F-0000"}) {
        EXPECT_THROW(HtmlColorValue(Bad), plat::EConvertError) << Bad;
    }
}

TEST(HtmlTokensTest, NumbersReadInTheProgramsNumberFormat)
{
    struct TCase {
        char Separator;
        const char* Good;
        double Value;
        const char* Bad;
    };
    const TCase Cases[] = {{'.', "10.5", 10.5, "10,5"}, {',', "10,5", 10.5, "10.5"}};
    for (const TCase& Case : Cases) {
        const plat::TScopedFormatSettings Keep;
        plat::FormatSettings().DecimalSeparator = Case.Separator;
        EXPECT_DOUBLE_EQ(HtmlNumber(Case.Good), Case.Value) << Case.Separator;
        EXPECT_THROW(HtmlNumber(Case.Bad), plat::EConvertError) << Case.Separator;
    }
    EXPECT_DOUBLE_EQ(HtmlNumber(" '+4' "), 4);
    EXPECT_DOUBLE_EQ(HtmlNumber("\"-2\""), -2);
    for (const char* Bad : {"", "abc", "inf", "1e999", "4pt"}) {
        EXPECT_THROW(HtmlNumber(Bad), plat::EConvertError) << Bad;
    }
    EXPECT_EQ(HtmlInteger("\"40\""), 40);
    EXPECT_EQ(HtmlInteger("forty"), 0);
}

// One run written by the canvas, with the font in force.
struct TWrittenRun {
    int X;
    int Y;
    std::string Text;
    int Size;
    float SizeFloat;
    std::string Name;
    TColor Color;
    bool Bold;
    bool Italic;
    int Align;
};

class THtmlTestCanvas : public test::TTestChartCanvas {
public:
    THtmlTestCanvas() : TTestChartCanvas(400, 300) {}
    void TextOut(int X, int Y, const std::string& Text) override
    {
        const TChtFont& F = *Font();
        Runs.push_back({X, Y, Text, F.Size(), F.SizeFloat(), F.Name(), F.Color(), F.Style().Contains(plat::fsBold),
            F.Style().Contains(plat::fsItalic), GetTextAlign()});
        TTestChartCanvas::TextOut(X, Y, Text);
    }
    std::vector<TWrittenRun> Runs;
};

class HtmlTextTest : public ::testing::Test {
protected:
    HtmlTextTest()
    {
        InitChartHtml();
        ResetFont();
    }
    ~HtmlTextTest() override
    {
        HtmlFindGraphic = nullptr;
        HtmlLoadSource = nullptr;
        FinalizeChartHtml();
    }
    void ResetFont()
    {
        Canvas.Font()->SetName("Arial");
        Canvas.Font()->SetSize(10);
        Canvas.Font()->SetColor(plat::clBlack);
        Canvas.Font()->SetStyle({});
    }
    // The bounding rectangle of the green pixels (pictures of the test
    // hooks), exclusive; empty when there are none.
    TRect GreenArea()
    {
        TRect Area{};
        bool Any = false;
        for (int Y = 0; Y < 300; ++Y) {
            for (int X = 0; X < 400; ++X) {
                if (Canvas.PixelColor(X, Y) != plat::clGreen) {
                    continue;
                }
                Area = Any ? TRect{std::min(Area.Left, X), std::min(Area.Top, Y), std::max(Area.Right, X + 1),
                                 std::max(Area.Bottom, Y + 1)}
                           : TRect{X, Y, X + 1, Y + 1};
                Any = true;
            }
        }
        return Area;
    }
    int Count(std::string_view Name) const { return static_cast<int>(Canvas.Recorder.CallsNamed(Name).size()); }
    void Look(const std::string& Name)
    {
        if (const char* Dir = std::getenv("QEL_SCREENSHOT_DIR")) {
            Canvas.SavePng(std::string(Dir) + "/" + Name + ".png");
        }
    }

    THtmlTestCanvas Canvas;
};

TEST_F(HtmlTextTest, EntitiesAreWrittenDecodedOnce)
{
    HtmlTextOut(Canvas, 5, 5, "&amp;lt; &lt;b&gt;");
    ASSERT_EQ(Canvas.Runs.size(), 1u);
    EXPECT_EQ(Canvas.Runs[0].Text, "&lt; <b>");
    ASSERT_EQ(Count("TextOut"), 1);
    EXPECT_EQ(Canvas.Recorder.CallsNamed("TextOut")[0]->Text, "&lt; <b>");
}

TEST_F(HtmlTextTest, LineBreakGoesToTheLineStartOneFontHeightLower)
{
    const int FontHeight = Canvas.FontHeight();
    const TPoint One = HtmlDrawPass(Canvas, 10, 20, "one", false);
    const TPoint Two = HtmlDrawPass(Canvas, 10, 20, "one<BR>two", true);
    ASSERT_EQ(Canvas.Runs.size(), 2u);
    EXPECT_EQ(Canvas.Runs[1].X, 10);
    EXPECT_EQ(Canvas.Runs[1].Y, 20 + FontHeight);
    EXPECT_EQ(Two.Y, One.Y + FontHeight + 2);
    EXPECT_EQ(One.X, 10 + Canvas.TextWidth(std::string_view("one")));
    // A CR LF inside a run ends the line without moving Y; one at a token's
    // start moves down.
    Canvas.Runs.clear();
    HtmlDrawPass(Canvas, 10, 20, "one\r\n<B>\r\ntwo", true);
    ASSERT_EQ(Canvas.Runs.size(), 2u);
    EXPECT_EQ(Canvas.Runs[1].X, 10);
    EXPECT_EQ(Canvas.Runs[1].Y, 20 + FontHeight);
}

TEST_F(HtmlTextTest, StyleTagsAndFontTagsChangeTheRunsFont)
{
    HtmlTextOut(Canvas, 0, 0,
        "a<B>b</>c<FONT COLOR=RED SIZE=+4>d</>e<FONT SIZE=7 COLOR=\"#00FF00\" NAME=\"Verdana\">f</FONT>g"
        "<I>h</I>i<FONT COLOR=\"LIME\">j<STRONG>k</STRONG>l</>m");
    struct TExpected {
        const char* Text;
        int Size;
        TColor Color;
        bool Bold;
        bool Italic;
        const char* Name;
    };
    const TExpected Expected[] = {
        {"a", 10, plat::clBlack, false, false, "Arial"},
        {"b", 10, plat::clBlack, true, false, "Arial"},
        {"c", 10, plat::clBlack, false, false, "Arial"},
        {"d", 14, plat::clRed, false, false, "Arial"},
        {"e", 10, plat::clBlack, false, false, "Arial"},
        {"f", 7, plat::clLime, false, false, "VERDANA"},
        {"g", 10, plat::clBlack, false, false, "Arial"},
        {"h", 10, plat::clBlack, false, true, "Arial"},
        {"i", 10, plat::clBlack, false, false, "Arial"},
        {"j", 10, plat::clLime, false, false, "Arial"},
        {"k", 10, plat::clLime, true, false, "Arial"},
        {"l", 10, plat::clLime, false, false, "Arial"},
        // "</>" after text closes the last style tag ("<STRONG>", already
        // off), not the font: the colour stays.
        {"m", 10, plat::clLime, false, false, "Arial"},
    };
    ASSERT_EQ(Canvas.Runs.size(), std::size(Expected));
    for (std::size_t I = 0; I < std::size(Expected); ++I) {
        const TWrittenRun& Run = Canvas.Runs[I];
        const TExpected& E = Expected[I];
        EXPECT_EQ(Run.Text, E.Text);
        EXPECT_EQ(Run.Size, E.Size) << E.Text;
        EXPECT_EQ(Run.Color, E.Color) << E.Text;
        EXPECT_EQ(Run.Bold, E.Bold) << E.Text;
        EXPECT_EQ(Run.Italic, E.Italic) << E.Text;
        EXPECT_EQ(Run.Name, E.Name) << E.Text;
    }
    // The device saw the colours and weights.
    const auto Calls = Canvas.Recorder.CallsNamed("TextOut");
    ASSERT_EQ(Calls.size(), std::size(Expected));
    EXPECT_EQ(Calls[3]->State.TextColor, plat::ToColorRef(plat::clRed));
    EXPECT_GT(Calls[1]->State.Font.Weight, Calls[0]->State.Font.Weight);
}

TEST_F(HtmlTextTest, SizesOfHeadingsSubscriptsAndFractions)
{
    HtmlTextOut(Canvas, 0, 100,
        "<H1>a</H1><H6>b</H6><BIG>c</BIG><SMALL>d</SMALL><SUB>e</SUB><SUP>f</SUP><FONT SIZE=10.5>g</FONT>");
    const std::pair<const char*, float> Expected[] = {
        {"a", 48}, {"b", 8}, {"c", 12}, {"d", 8}, {"e", 5}, {"f", 5}, {"g", 10.5f}};
    ASSERT_EQ(Canvas.Runs.size(), std::size(Expected));
    for (std::size_t I = 0; I < std::size(Expected); ++I) {
        EXPECT_EQ(Canvas.Runs[I].Text, Expected[I].first);
        EXPECT_FLOAT_EQ(Canvas.Runs[I].SizeFloat, Expected[I].second) << Expected[I].first;
    }
}

TEST_F(HtmlTextTest, SuperscriptRisesByTheSmallFontHeightAndComesBack)
{
    Canvas.Font()->SetSize(20);
    HtmlTextOut(Canvas, 0, 100, "<SUP>x</SUP><SUB>y</SUB>");
    Canvas.Font()->SetSize(10);
    const int SmallHeight = Canvas.FontHeight();
    ASSERT_EQ(Canvas.Runs.size(), 2u);
    // The run is lowered toward the line's foot afterwards, so only the
    // rise and the return are exact.
    EXPECT_LT(Canvas.Runs[0].Y, 100);
    EXPECT_GE(Canvas.Runs[0].Y, 100 - SmallHeight);
    EXPECT_GE(Canvas.Runs[1].Y, 100);
}

TEST_F(HtmlTextTest, HeadingRestoresBoldItalicAndPreSelectsTheMonospaceFace)
{
    Canvas.Font()->SetStyle(plat::TFontStyles{plat::fsBold, plat::fsItalic});
    HtmlTextOut(Canvas, 0, 0, "<H1>big</H1>after<PRE>code</PRE>tail");
    ASSERT_EQ(Canvas.Runs.size(), 4u);
    EXPECT_EQ(Canvas.Runs[0].Size, 48);
    EXPECT_TRUE(Canvas.Runs[1].Bold);
    EXPECT_TRUE(Canvas.Runs[1].Italic);
    EXPECT_EQ(Canvas.Runs[1].Size, 10);
    EXPECT_EQ(Canvas.Runs[2].Name, "COURIER NEW");
    EXPECT_EQ(Canvas.Runs[3].Name, "Arial");
    // Monospace: "iii" is as wide as "WWW" in the face PRE picks.
    Canvas.Font()->SetName("COURIER NEW");
    EXPECT_EQ(Canvas.TextWidth(std::string_view("iii")), Canvas.TextWidth(std::string_view("WWW")));
}

TEST_F(HtmlTextTest, FontErrorsNameTheWordAndKeepTheFontReached)
{
    struct TCase {
        const char* Text;
        const char* Message;
        int Size;      // the canvas font's size after the error
        bool Bold;
    };
    const TCase Cases[] = {
        {"<FONT WEIGHT=HEAVY>x", "Unknown field in FONT WEIGHT=HEAVY", 10, false},
        {"<FONT SIZE=14 WEIGHT=BOLD, HEAVY>x", "Unknown field in FONT WEIGHT=HEAVY", 14, false},
        {"<B><FONT SIZE=+2 face=Arial>x", "Unknown field in FONT: FACE", 12, true},
        {"<FONT COLOR=REDSIZE=4>x", "Unknown field in FONT: ", 10, false},
    };
    for (const TCase& Case : Cases) {
        ResetFont();
        HtmlStacks->Fonts.clear();
        try {
            HtmlTextOut(Canvas, 0, 0, Case.Text);
            ADD_FAILURE() << Case.Text << " raised nothing";
        } catch (const EHtmlFontError& Error) {
            EXPECT_EQ(std::string(Error.what()), Case.Message) << Case.Text;
        }
        EXPECT_EQ(Canvas.Font()->Size(), Case.Size) << Case.Text;
        EXPECT_EQ(Canvas.Font()->Style().Contains(plat::fsBold), Case.Bold) << Case.Text;
        EXPECT_EQ(HtmlStacks->Fonts.size(), 1u) << "the font is pushed before its attributes: " << Case.Text;
    }
    ResetFont();
    EXPECT_THROW(HtmlTextOut(Canvas, 0, 0, "<FONT SIZE=big>x"), plat::EConvertError);
    EXPECT_THROW(HtmlTextOut(Canvas, 0, 0, "<FONT COLOR=#F>x"), plat::EConvertError);
    EXPECT_TRUE(Canvas.Runs.empty());
}

TEST_F(HtmlTextTest, CentredAndRightAlignmentMeasureFirst)
{
    Canvas.SetTextAlign(6);
    HtmlTextOut(Canvas, 200, 10, "<H1>Title</H1>");
    Canvas.Font()->SetSize(48);
    const int W = Canvas.TextWidth(std::string_view("Title"));
    Canvas.Font()->SetSize(10);
    ASSERT_EQ(Canvas.Runs.size(), 1u);
    EXPECT_EQ(Canvas.Runs[0].X, 200 - W / 2);
    EXPECT_EQ(Canvas.Runs[0].Align, 0);
    EXPECT_EQ(Canvas.GetTextAlign(), 6);
    EXPECT_EQ(Count("TextOut"), 1) << "the measuring pass writes nothing";

    Canvas.Runs.clear();
    Canvas.SetTextAlign(2);
    HtmlTextOut(Canvas, 200, 10, "ab<B>cd</B>");
    ASSERT_EQ(Canvas.Runs.size(), 2u);
    Canvas.Font()->SetStyle(plat::TFontStyles{plat::fsBold});
    const int BoldWidth = Canvas.TextWidth(std::string_view("cd"));
    Canvas.Font()->SetStyle({});
    EXPECT_FALSE(Canvas.Runs[0].Bold);
    EXPECT_EQ(Canvas.Runs[1].X + BoldWidth, 200) << "the bold run ends at X";
    EXPECT_EQ(Canvas.GetTextAlign(), 2);
    EXPECT_EQ(HtmlStacks->Tags, (std::vector<std::string>{"<B>", "<B>"})) << "one per pass; \"</B>\" leaves it";
}

TEST_F(HtmlTextTest, AStyleLeftOpenByTheMeasuringPassHoldsInTheDrawingPass)
{
    Canvas.SetTextAlign(2);
    HtmlTextOut(Canvas, 200, 10, "ab<B>cd");
    ASSERT_EQ(Canvas.Runs.size(), 2u);
    EXPECT_TRUE(Canvas.Runs[0].Bold) << "the measuring pass left the font bold";
    EXPECT_TRUE(Canvas.Runs[1].Bold);
    EXPECT_TRUE(Canvas.Font()->Style().Contains(plat::fsBold));
}

TEST_F(HtmlTextTest, CenterTagCentresEachRunOnTheBounds)
{
    HtmlTextOut(Canvas, 0, 0, "<CENTER>mid</CENTER>next");
    ASSERT_EQ(Canvas.Runs.size(), 2u);
    const int W = Canvas.TextWidth(std::string_view("mid"));
    EXPECT_EQ(Canvas.Runs[0].X, 200 - W / 2);
    EXPECT_EQ(Canvas.Runs[1].X, 200 - W / 2 + W);
}

TEST_F(HtmlTextTest, RuleAndUnknownTags)
{
    const int FontHeight = Canvas.FontHeight();
    HtmlTextOut(Canvas, 30, 40, "ab<HR>cd<FOO>ef</");
    ASSERT_EQ(Canvas.Runs.size(), 5u);
    EXPECT_EQ(Canvas.Runs[1].X, 30);
    EXPECT_EQ(Canvas.Runs[1].Y, 40 + FontHeight);
    EXPECT_EQ(Canvas.Runs[2].Text, "<FOO>");
    EXPECT_EQ(Canvas.Runs[3].Text, "ef");
    EXPECT_EQ(Canvas.Runs[4].Text, "/") << "a \"<\" without \">\" is dropped";
    const auto Lines = Canvas.Recorder.CallsNamed("LineTo");
    ASSERT_EQ(Lines.size(), 1u);
    EXPECT_EQ(Lines[0]->Args, (std::vector<std::int64_t>{130, 40}));
    EXPECT_EQ(Lines[0]->State.Pen.Color, plat::ToColorRef(0x808080));
    EXPECT_EQ(Canvas.PixelColor(80, 40), 0x808080);
}

TEST_F(HtmlTextTest, MeasuringPassWritesNoTextButDrawsRulesAndPlaceholders)
{
    const int FontHeight = Canvas.FontHeight();
    const TPoint Size = HtmlDrawPass(Canvas, 7, 9, "<HR><IMG SRC=a.bmp>word", false);
    EXPECT_TRUE(Canvas.Runs.empty());
    EXPECT_EQ(Count("TextOut"), 0);
    const auto Lines = Canvas.Recorder.CallsNamed("LineTo");
    ASSERT_EQ(Lines.size(), 3u) << "the rule and the placeholder's cross";
    EXPECT_EQ(Lines[0]->Args, (std::vector<std::int64_t>{107, 9}));
    const auto Boxes = Canvas.Recorder.CallsNamed("Rectangle");
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0]->Args, (std::vector<std::int64_t>{7, 9 + FontHeight, 47, 49 + FontHeight}));
    EXPECT_EQ(Size.X, 7 + Canvas.TextWidth(std::string_view("word")));
    EXPECT_EQ(Size.Y, FontHeight);
}

TEST_F(HtmlTextTest, ClosingWithNothingOpenWritesTheSlash)
{
    HtmlTextOut(Canvas, 0, 0, "x</>");
    ASSERT_EQ(Canvas.Runs.size(), 2u);
    EXPECT_EQ(Canvas.Runs[1].Text, "</");
}

TEST_F(HtmlTextTest, PictureWithoutHooksIsAPlaceholderThatKeepsThePosition)
{
    Canvas.Brush()->SetColor(plat::clBlue);
    HtmlTextOut(Canvas, 50, 60, "<IMG SRC=\"pic.bmp\">x<IMG WIDTH=20 SRC=a.png HEIGHT=\"10\">");
    ASSERT_EQ(Canvas.Runs.size(), 1u);
    EXPECT_EQ(Canvas.Runs[0].X, 50);
    const auto Boxes = Canvas.Recorder.CallsNamed("Rectangle");
    ASSERT_EQ(Boxes.size(), 2u);
    EXPECT_EQ(Boxes[0]->Args, (std::vector<std::int64_t>{50, 60, 90, 100}));
    EXPECT_EQ(Boxes[0]->State.Pen.Color, plat::ToColorRef(plat::clRed));
    EXPECT_EQ(Boxes[0]->State.Brush.Color, plat::ToColorRef(plat::clWhite));
    const int AfterX = 50 + Canvas.TextWidth(std::string_view("x"));
    EXPECT_EQ(Boxes[1]->Args, (std::vector<std::int64_t>{AfterX, 60, AfterX + 20, 70}));
    // Red frame and cross on white.
    EXPECT_EQ(Canvas.PixelColor(50, 80), plat::clRed);
    EXPECT_EQ(Canvas.PixelColor(70, 80), plat::clRed);
    EXPECT_EQ(Canvas.PixelColor(60, 65), plat::clWhite);
    EXPECT_EQ(Count("LineTo"), 4);
    Look("html_placeholder");
    // A picture tag without a source does nothing.
    Canvas.Recorder.Clear();
    HtmlTextOut(Canvas, 0, 0, "<IMG WIDTH=5>");
    EXPECT_EQ(Count("Rectangle"), 0);
}

std::unique_ptr<THtmlGraphic> FindFakeGraphic(const std::string& Ext)
{
    return Ext == ".FAKE" ? std::make_unique<test::TStreamSizedGraphic>() : nullptr;
}

// "WxH.fake" gives a W by H picture; "empty.fake" nothing; "bad.fake" a broken one.
int LoadFakeSource(const std::string& Src, plat::TStream& Stream)
{
    if (Src == "missing.fake") {
        return 1;
    }
    if (Src == "empty.fake") {
        return 0;
    }
    const std::uint8_t Bytes[2] = {static_cast<std::uint8_t>(Src == "bad.fake" ? 0 : std::atoi(Src.c_str())),
        static_cast<std::uint8_t>(std::atoi(Src.c_str() + Src.find('x') + 1))};
    Stream.Write(Bytes, 2);
    return 0;
}

TEST_F(HtmlTextTest, PicturesFromTheHooksAreDrawnInBothPassesAndAdvance)
{
    HtmlFindGraphic = FindFakeGraphic;
    HtmlLoadSource = LoadFakeSource;
    const TPoint Size = HtmlDrawPass(Canvas, 10, 50, "<IMG SRC=\"30x20.fake\">after", false);
    EXPECT_EQ(GreenArea(), (TRect{10, 50, 40, 70})) << "the measuring pass draws the picture too";
    Canvas.Brush()->SetColor(plat::clWhite);
    Canvas.FillRect({0, 0, 400, 300});
    HtmlTextOut(Canvas, 10, 50, "<IMG SRC=\"30x20.fake\">after");
    ASSERT_EQ(Canvas.Runs.size(), 1u);
    EXPECT_EQ(Canvas.Runs[0].X, 40);
    EXPECT_EQ(Size.X, 40 + Canvas.TextWidth(std::string_view("after")));
    EXPECT_GE(Size.Y, 20);
    EXPECT_EQ(Canvas.PixelColor(10, 50), plat::clGreen);
    EXPECT_EQ(Canvas.PixelColor(39, 69), plat::clGreen);
    EXPECT_NE(Canvas.PixelColor(40, 49), plat::clGreen);
    Look("html_picture");
}

TEST_F(HtmlTextTest, PictureOfAnotherSizeIsStretchedOnlyInsideTheCanvasCorner)
{
    HtmlFindGraphic = FindFakeGraphic;
    HtmlLoadSource = LoadFakeSource;
    struct TCase {
        int X;
        int Y;
        const char* Text;
        TRect Green;   // empty: nothing drawn
    };
    const TCase Cases[] = {
        {0, 0, "<IMG WIDTH=40 HEIGHT=30 SRC=10x10.fake>", {}},
        {5, 0, "<IMG WIDTH=40 HEIGHT=30 SRC=10x10.fake>", {}},
        {1, 1, "<IMG WIDTH=40 HEIGHT=30 SRC=10x10.fake>", {1, 1, 41, 31}},
        {100, 10, "<CENTER><IMG WIDTH=40 HEIGHT=30 SRC=10x10.fake>", {80, 10, 120, 40}},
        // A picture of its own size is drawn wherever it lies.
        {0, 0, "<IMG SRC=10x10.fake>", {0, 0, 10, 10}},
        {0, 0, "<IMG WIDTH=10 HEIGHT=10 SRC=10x10.fake>", {0, 0, 10, 10}},
    };
    for (const TCase& Case : Cases) {
        Canvas.Brush()->SetColor(plat::clWhite);
        Canvas.FillRect({0, 0, 400, 300});
        HtmlTextOut(Canvas, Case.X, Case.Y, Case.Text);
        EXPECT_EQ(GreenArea(), Case.Green) << Case.Text << " at " << Case.X << "," << Case.Y;
    }
}

TEST_F(HtmlTextTest, FailedPicturesBecomePlaceholders)
{
    HtmlFindGraphic = FindFakeGraphic;
    HtmlLoadSource = LoadFakeSource;
    for (const char* Source : {"missing.fake", "empty.fake", "bad.fake", "4x4.png"}) {
        Canvas.Recorder.Clear();
        HtmlTextOut(Canvas, 0, 0, std::string("<IMG SRC=") + Source + ">");
        EXPECT_EQ(Count("Rectangle"), 1) << Source;
    }
}

TEST_F(HtmlTextTest, TagsAndFontsLeftOpenAreSeenByLaterCalls)
{
    HtmlTextOut(Canvas, 0, 0, "<FONT SIZE=20 COLOR=RED><B><I>open");
    EXPECT_EQ(Canvas.Font()->Size(), 20) << "the canvas keeps the font the text left";
    EXPECT_EQ(Canvas.Font()->Color(), plat::clRed);
    EXPECT_EQ(HtmlStacks->Tags, (std::vector<std::string>{"<B>", "<I>"}));
    EXPECT_EQ(HtmlStacks->Fonts, (std::vector<std::string>{"<FONT size=10 name=Arial color=0 weight=NORMAL>"}));

    // A new call starts with no font pushed, so "</>" closes the last tag
    // the earlier call left open, and "</FONT>" pops the earlier call's font.
    Canvas.Runs.clear();
    HtmlTextOut(Canvas, 0, 0, "</>a</>b</FONT>c</>d</FONT>e");
    struct TExpected {
        const char* Text;
        int Size;
        TColor Color;
        bool Bold;
        bool Italic;
    };
    const TExpected Expected[] = {
        {"a", 20, plat::clRed, true, false},
        {"b", 20, plat::clRed, false, false},
        {"c", 10, plat::clBlack, false, false},
        {"</", 10, plat::clBlack, false, false},   // the tag stack is empty
        {"d", 10, plat::clBlack, false, false},
        {"e", 10, plat::clBlack, false, false},    // an empty font stack applies nothing
    };
    ASSERT_EQ(Canvas.Runs.size(), std::size(Expected));
    for (std::size_t I = 0; I < std::size(Expected); ++I) {
        const TWrittenRun& Run = Canvas.Runs[I];
        EXPECT_EQ(Run.Text, Expected[I].Text);
        EXPECT_EQ(Run.Size, Expected[I].Size) << Run.Text;
        EXPECT_EQ(Run.Color, Expected[I].Color) << Run.Text;
        EXPECT_EQ(Run.Bold, Expected[I].Bold) << Run.Text;
        EXPECT_EQ(Run.Italic, Expected[I].Italic) << Run.Text;
    }
    EXPECT_TRUE(HtmlStacks->Tags.empty());
    EXPECT_TRUE(HtmlStacks->Fonts.empty());
}

TEST_F(HtmlTextTest, PoppingAnEmptyFontStackKeepsTheFont)
{
    Canvas.Font()->SetSize(14);
    Canvas.Font()->SetColor(plat::clBlue);
    for (const char* Text : {"</FONT>x", "</H1>x", "</PRE>x", "</BIG>x", "</SUB>x"}) {
        Canvas.Runs.clear();
        HtmlTextOut(Canvas, 0, 0, Text);
        ASSERT_FALSE(Canvas.Runs.empty()) << Text;
        EXPECT_EQ(Canvas.Runs.back().Size, 14) << Text;
        EXPECT_EQ(Canvas.Runs.back().Color, plat::clBlue) << Text;
    }
}

TEST_F(HtmlTextTest, TheStacksAreSharedByEveryCanvas)
{
    THtmlTestCanvas Other;
    Other.Font()->SetName("Verdana");
    Other.Font()->SetSize(12);
    Other.Font()->SetColor(plat::clBtnFace);
    Other.Font()->SetStyle(plat::TFontStyles{plat::fsBold, plat::fsItalic, plat::fsStrikeOut});
    HtmlTextOut(Other, 0, 0, "<H2>pushed on one canvas");
    EXPECT_EQ(HtmlStacks->Fonts,
        (std::vector<std::string>{"<FONT size=12 name=Verdana color=-16777201 weight=BOLD, ITALIC, STRIKE>"}));
    HtmlTextOut(Canvas, 0, 0, "</H2>popped on another");
    ASSERT_EQ(Canvas.Runs.size(), 1u);
    EXPECT_EQ(Canvas.Runs[0].Name, "Verdana");
    EXPECT_EQ(Canvas.Runs[0].Size, 12);
    EXPECT_EQ(Canvas.Runs[0].Color, plat::clBtnFace);
    EXPECT_TRUE(Canvas.Runs[0].Bold);
    EXPECT_TRUE(Canvas.Runs[0].Italic);
    EXPECT_TRUE(Canvas.Font()->Style().Contains(plat::fsStrikeOut));
    EXPECT_FALSE(Canvas.Font()->Style().Contains(plat::fsUnderline));
}

TEST_F(HtmlTextTest, TheStacksLiveFromSetUpToShutdown)
{
    HtmlTextOut(Canvas, 0, 0, "<B><FONT SIZE=20>open");
    FinalizeChartHtml();
    EXPECT_EQ(HtmlStacks, nullptr);
    EXPECT_THROW(HtmlTextOut(Canvas, 0, 0, "x"), std::logic_error);
    InitChartHtml();
    ASSERT_NE(HtmlStacks, nullptr);
    EXPECT_TRUE(HtmlStacks->Tags.empty());
    EXPECT_TRUE(HtmlStacks->Fonts.empty());
}

TEST_F(HtmlTextTest, HugeSizesStopAtTheBound)
{
    HtmlTextOut(Canvas, 0, 0, "<FONT SIZE=1e300>a</FONT><FONT SIZE=-1e300>b");
    ASSERT_EQ(Canvas.Runs.size(), 2u);
    EXPECT_FLOAT_EQ(Canvas.Runs[0].SizeFloat, MaxHtmlFontSize);
    EXPECT_FLOAT_EQ(Canvas.Runs[1].SizeFloat, -MaxHtmlFontSize);
}

TEST_F(HtmlTextTest, AMixedBlockLooksRight)
{
    Canvas.Brush()->SetColor(plat::clWhite);
    Canvas.FillRect({0, 0, 400, 300});
    Canvas.SetBackMode(cbmTransparent);
    HtmlTextOut(Canvas, 10, 10,
        "<H3>Logger report</H3><BR>Temperature <B>21.5</> &deg;C, "
        "<FONT COLOR=RED>alarm</FONT><BR><I>italic</I> and <U>underlined</U> x<SUP>2</SUP> H<SUB>2</SUB>O"
        "<HR><PRE>fixed 0123</PRE><BR><IMG SRC=logo.bmp>");
    EXPECT_EQ(Canvas.Font()->Size(), 10);
    Look("html_block");
}

} // namespace
} // namespace qel
