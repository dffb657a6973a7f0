// Tests of the chart canvas unit's start and end: the default font, the
// class list, and the embedded display fonts with and without their
// resources.
#include "widgets/chart/chart_canvas_unit.h"
#include "widgets/chart/chart_language.h"
#include "widgets/chart/cht_canvas3d.h"
#include "widgets/chart/embedded_fonts.h"

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
        SetFontResource(LcdFontResource, {});
        SetFontResource(LedFontResource, {});
    }
};

TEST_F(ChartCanvasSetup, WithoutFontResourcesNothingIsRegistered)
{
    InitChartCanvas();
    EXPECT_EQ(DefaultFontName, "Arial");
    EXPECT_EQ(DefaultFontSize, 8);
    ASSERT_NE(CanvasClassList, nullptr);
    ASSERT_EQ(CanvasClassList->size(), 1u);
    EXPECT_EQ(CanvasClassList->front(), TChtCanvas3D::StaticClass());
    EXPECT_EQ(EmbeddedLcdFontHandle(), 0);
    EXPECT_EQ(EmbeddedLedFontHandle(), 0);
    EXPECT_EQ(EmbeddedFontsHook, nullptr);

    FinalizeChartCanvas();
    EXPECT_EQ(CanvasClassList, nullptr);
    EXPECT_TRUE(DefaultFontName.empty());
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

} // namespace
} // namespace qel
