// The recording twin (calls, arguments, the state in force, passing calls on)
// and the printer's PDF output.
#include "platform/canvas/graphics_errors.h"
#include "platform/canvas/printer.h"
#include "platform/canvas/recording_dc.h"
#include "tests/platform/canvas/canvas_fixture.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <regex>

namespace plat::test {
namespace {

TEST(RecordingDC, KeepsEveryCallWithItsArgumentsAndTheStateInForce)
{
    TRecordingDC dc(nullptr, 100, 50);
    dc.SelectPen(CreatePen(PS_DASH, 2, RGB(1, 2, 3)));
    dc.SelectBrush(CreateHatchBrush(HS_CROSS, RGB(4, 5, 6)));
    TLogFont font;
    font.FaceName = "Segoe UI";
    font.Height = -12;
    dc.SelectFont(font);
    dc.SetROP2(R2_XORPEN);
    dc.SetBkMode(TRANSPARENT);
    dc.SetBkColor(RGB(7, 8, 9));
    dc.SetTextColor(RGB(10, 11, 12));
    dc.SetTextAlign(TA_BASELINE | TA_CENTER);
    dc.IntersectClipRect(10, 5, 60, 40);
    dc.FillRect({2, 2, 99, 22}, CreateSolidBrush(RGB(0, 255, 0)));
    dc.TextOut(30, 20, "Hello");
    dc.MoveTo(0, 0);
    dc.LineTo(5, 0);

    const auto fills = dc.CallsNamed("FillRect");
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0]->Args, (std::vector<std::int64_t>{2, 2, 99, 22, BS_SOLID, RGB(0, 255, 0)}));
    const auto texts = dc.CallsNamed("TextOut");
    ASSERT_EQ(texts.size(), 1u);
    const TRecordedCall& text = *texts[0];
    EXPECT_EQ(text.Text, "Hello");
    EXPECT_EQ(text.Args, (std::vector<std::int64_t>{30, 20}));
    EXPECT_EQ(text.State.Pen.Kind(), static_cast<std::uint32_t>(PS_DASH));
    EXPECT_EQ(text.State.Pen.Width, 2);
    EXPECT_EQ(text.State.Brush.Hatch, HS_CROSS);
    EXPECT_EQ(text.State.Font.FaceName, "Segoe UI");
    EXPECT_EQ(text.State.Rop2, R2_XORPEN);
    EXPECT_EQ(text.State.BkMode, TRANSPARENT);
    EXPECT_EQ(text.State.BkColor, RGB(7, 8, 9));
    EXPECT_EQ(text.State.TextColor, RGB(10, 11, 12));
    EXPECT_EQ(text.State.TextAlign, static_cast<std::uint32_t>(TA_BASELINE | TA_CENTER));
    EXPECT_EQ(text.ClipBox, (TRect{10, 5, 60, 40}));
    const auto lines = dc.CallsNamed("LineTo");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(dc.CurrentPosition(), (TPoint{5, 0}));
    // Without a target, text is still measured with the canvas's fonts.
    TCanvasSurface real(10, 10);
    real.DC.SelectFont(font);
    EXPECT_EQ(dc.GetTextExtent("Hello"), real.DC.GetTextExtent("Hello"));
    EXPECT_EQ(dc.GetPixel(1, 1), CLR_INVALID);
}

TEST(RecordingDC, PassesCallsOnSoThatTheTargetDrawsTheSame)
{
    auto paint = [](TDeviceContext& dc) {
        dc.SelectBrush(CreateSolidBrush(RGB(200, 100, 0)));
        dc.Rectangle(3, 3, 40, 30);
        dc.SetROP2(R2_XORPEN);
        dc.SelectPen(CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
        dc.MoveTo(0, 0);
        dc.LineTo(50, 40);
        dc.SetBkMode(TRANSPARENT);
        dc.TextOut(5, 10, "Twin");
        TRect edge{42, 2, 58, 18};
        dc.DrawEdge(edge, EDGE_RAISED, BF_RECT);
        dc.DrawFocusRect({1, 32, 30, 39});
    };
    TCanvasSurface direct(60, 40);
    paint(direct.DC);
    TCanvasSurface throughTwin(60, 40);
    TRecordingDC twin(&throughTwin.DC);
    paint(twin);
    EXPECT_EQ(throughTwin.Bytes(), direct.Bytes());
    EXPECT_EQ(twin.CallsNamed("DrawEdge").size(), 1u);
    EXPECT_EQ(twin.Calls().front().Name, "SelectBrush");
    EXPECT_EQ(twin.GetPixel(4, 4), direct.DC.GetPixel(4, 4));
}

int CountMatches(const std::string& text, const std::regex& pattern)
{
    return static_cast<int>(std::distance(std::sregex_iterator(text.begin(), text.end(), pattern), std::sregex_iterator()));
}

TEST(Printer, WritesATwoPagePdf)
{
    qeltest::TempDir dir;
    const std::string path = dir.File("report.pdf");
    TPrinter printer(200, 100, 1);
    printer.BeginDoc(path);
    EXPECT_TRUE(printer.Printing());
    printer.Canvas()->TextOut(10, 10, "First page");
    printer.NewPage();
    EXPECT_EQ(printer.PageNumber(), 2);
    printer.Canvas()->Rectangle(10, 10, 100, 50);
    printer.EndDoc();
    EXPECT_FALSE(printer.Printing());

    const std::string pdf = qeltest::ReadWholeFile(path);
    ASSERT_GT(pdf.size(), 100u);
    EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
    EXPECT_EQ(CountMatches(pdf, std::regex(R"(/Type\s*/Page[^s])")), 2);
    EXPECT_NE(pdf.find("/Count 2"), std::string::npos);
    // 200 x 100 pixels at 96 per inch: 150 x 75 points.
    EXPECT_NE(pdf.find("/MediaBox [ 0 0 150 75 ]"), std::string::npos);
}

TEST(Printer, AbortLeavesNoFileAndABadPathIsAnError)
{
    qeltest::TempDir dir;
    const std::string path = dir.File("dropped.pdf");
    TPrinter printer(100, 100, 1);
    printer.BeginDoc(path);
    printer.Abort();
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_THROW(printer.BeginDoc(dir.File("missing/folder/x.pdf")), EOutOfResources);
}

} // namespace
} // namespace plat::test
