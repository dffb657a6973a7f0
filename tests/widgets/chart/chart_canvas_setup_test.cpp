// Tests of the chart canvas unit's start and end: the default font, the
// class list, and the embedded display fonts with and without their
// resources.
#include "widgets/chart/chart_canvas_unit.h"
#include "widgets/chart/chart_language.h"
#include "widgets/chart/chart_resources.h"
#include "widgets/chart/cht_canvas3d.h"
#include "widgets/chart/embedded_fonts.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/canvas.h"
#include "platform/canvas/font_map.h"
#include "platform/objects/string_list.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace qel {
namespace {

// A TrueType file the project's font configuration draws with.
std::vector<std::uint8_t> DejaVuSansFile()
{
    std::ifstream File("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", std::ios::binary);
    return {std::istreambuf_iterator<char>(File), std::istreambuf_iterator<char>()};
}

class ChartCanvasSetup : public ::testing::Test {
protected:
    void SetUp() override { InitChartTexts(); }
    void TearDown() override
    {
        FinalizeChartCanvas();
        FinalizeChartTexts();
        DefaultFontSize = 0;
        GraphicsFontCalls = TFontMemoryCalls{&plat::AddFontMemResourceEx, &plat::RemoveFontMemResourceEx};
        SetFontResource(LcdFontResource, {});
        SetFontResource(LedFontResource, {});
    }
};

TEST_F(ChartCanvasSetup, WithoutFontResourcesTheHookIsStillSet)
{
    InitChartCanvas();
    EXPECT_EQ(DefaultFontName, "Arial");
    EXPECT_EQ(DefaultFontSize, 8);
    ASSERT_NE(CanvasClassList, nullptr);
    ASSERT_EQ(CanvasClassList->size(), 1u);
    EXPECT_EQ(CanvasClassList->front(), TChtCanvas3D::StaticClass());
    EXPECT_EQ(EmbeddedLcdFontHandle(), 0);
    EXPECT_EQ(EmbeddedLedFontHandle(), 0);
    EXPECT_EQ(EmbeddedFontsHook, &AddEmbeddedFontNames) << "registering was possible";

    FinalizeChartCanvas();
    EXPECT_EQ(CanvasClassList, nullptr);
    EXPECT_TRUE(DefaultFontName.empty());
    EXPECT_EQ(EmbeddedFontsHook, nullptr);
}

TEST_F(ChartCanvasSetup, WithoutTheLibrarysPrivateFontCallNothingIsRegistered)
{
    RegisterChartResources();
    GraphicsFontCalls.Add = nullptr;
    InitChartCanvas();
    EXPECT_EQ(EmbeddedLcdFontHandle(), 0);
    EXPECT_EQ(EmbeddedLedFontHandle(), 0);
    EXPECT_EQ(EmbeddedFontsHook, nullptr);
}

TEST_F(ChartCanvasSetup, AFontResourceBecomesAPrivateFontAndOffersTheFamilies)
{
    const std::vector<std::uint8_t> Font = DejaVuSansFile();
    ASSERT_GT(Font.size(), 1000u);
    SetFontResource(LcdFontResource, Font);
    SetFontResource(LedFontResource, {'n', 'o', 't', ' ', 'a', ' ', 'f', 'o', 'n', 't'});
    InitChartCanvas();
    EXPECT_NE(EmbeddedLcdFontHandle(), 0);
    EXPECT_EQ(EmbeddedLedFontHandle(), 0) << "bytes that are no font";
    ASSERT_NE(EmbeddedFontsHook, nullptr);
    plat::TStringList Names;
    EmbeddedFontsHook(Names);
    ASSERT_EQ(Names.Count(), 2);
    EXPECT_EQ(Names.Get(0), "Elektra");
    EXPECT_EQ(Names.Get(1), "DS-Digital");

    FinalizeChartCanvas();
    EXPECT_EQ(EmbeddedLcdFontHandle(), 0);
    EXPECT_EQ(EmbeddedFontsHook, nullptr);
}

// The pixels of Text written in the family Name, 40 pixels high.
std::vector<std::uint8_t> Written(const std::string& Name, const std::string& Text)
{
    plat::TBitmap Bitmap(120, 50, plat::pf24bit);
    plat::TCanvas& Canvas = *Bitmap.Canvas();
    Canvas.Brush()->SetColor(clWhite);
    Canvas.FillRect({0, 0, 120, 50});
    Canvas.Font()->SetName(Name);
    Canvas.Font()->SetHeight(-40);
    Canvas.TextOut(2, 2, Text);
    std::vector<std::uint8_t> Pixels;
    for (int Y = 0; Y < Bitmap.Height(); ++Y) {
        const std::uint8_t* Row = Bitmap.ScanLine(Y);
        Pixels.insert(Pixels.end(), Row, Row + Bitmap.Width() * 3);
    }
    return Pixels;
}

TEST_F(ChartCanvasSetup, TheDisplayFontsStandInForTheLcdAndLedFamilies)
{
    RegisterChartResources();
    InitChartCanvas();
    ASSERT_NE(EmbeddedLcdFontHandle(), 0) << LcdFontFile;
    ASSERT_NE(EmbeddedLedFontHandle(), 0) << LedFontFile;
    const std::vector<std::uint8_t> Plain = Written("DejaVu Sans", "88");
    const std::vector<std::uint8_t> Lcd = Written("Elektra", "88");
    const std::vector<std::uint8_t> Led = Written("DS-Digital", "88");
    EXPECT_NE(Lcd, Plain);
    EXPECT_NE(Led, Plain);
    EXPECT_NE(Lcd, Led);
    EXPECT_EQ(Written("DSEG7 Classic", "88"), Led);

    FinalizeChartCanvas();
    EXPECT_EQ(Written("DS-Digital", "88"), Plain) << "removed: the family falls back again";
}

} // namespace
} // namespace qel
