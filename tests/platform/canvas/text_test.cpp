// Text through the canvas's own fonts: widths that add up, metrics pinned by
// a golden file, the family list, DrawText formats, ExtTextOut options,
// alignment and escapement.
#include "platform/canvas/draw_text.h"
#include "platform/canvas/font_map.h"
#include "platform/canvas/recording_dc.h"
#include "tests/platform/canvas/canvas_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace plat::test {
namespace {

TLogFont Font(const std::string& face, int height, int weight = FW_NORMAL, bool italic = false)
{
    TLogFont font;
    font.FaceName = face;
    font.Height = height;
    font.Weight = weight;
    font.Italic = italic;
    return font;
}

// Fonts of ever new sizes (from outside data, say) do not pile up: the map
// lets go of the fonts nobody holds, and a font a canvas holds stays.
TEST(Text, TheFontMapKeepsABoundedCacheAndTheFontsInUse)
{
    TFontMap& map = TFontMap::Instance();
    const std::shared_ptr<const TRealizedFont> held = map.Realize(Font("DejaVu Sans", -13), 1);
    const std::weak_ptr<const TRealizedFont> dropped = map.Realize(Font("DejaVu Sans", -14), 1);
    for (int size = 0; size <= static_cast<int>(TFontMap::MaxCachedFonts); ++size) {
        map.Realize(Font("DejaVu Sans", -1000 - size), 1);
    }
    EXPECT_TRUE(dropped.expired());
    EXPECT_EQ(map.Realize(Font("DejaVu Sans", -13), 1), held);
    EXPECT_EQ(held->Metric().Height, map.Realize(Font("DejaVu Sans", -13), 1)->Metric().Height);
}

TEST(Text, WidthOfAPairIsTheSumOfItsCharactersWithoutKerning)
{
    TCanvasSurface s(10, 10);
    const TLogFont fonts[] = {Font("DejaVu Sans", -12), Font("Segoe UI", -16), Font("Arial", -12, FW_BOLD),
        Font("Courier New", -13), Font("Tahoma", -11, FW_NORMAL, true)};
    for (const TLogFont& font : fonts) {
        s.DC.SelectFont(font);
        for (const char* pair : {"AV", "To", "fi", "Wa", "LT"}) {
            const std::string a(pair, 1);
            const std::string b(pair + 1, 1);
            EXPECT_EQ(s.DC.GetTextExtent(pair).cx, s.DC.GetTextExtent(a).cx + s.DC.GetTextExtent(b).cx)
                << font.FaceName << " " << pair;
        }
        EXPECT_EQ(s.DC.GetTextExtent("").cx, 0);
    }
}

TEST(Text, CharacterExtraIsAddedAfterEveryCharacter)
{
    TCanvasSurface s(10, 10);
    const int plain = s.DC.GetTextExtent("abc").cx;
    s.DC.SetTextCharacterExtra(2);
    EXPECT_EQ(s.DC.GetTextExtent("abc").cx, plain + 6);
}

std::string MetricsReport()
{
    TCanvasSurface s(10, 10);
    struct TCase {
        TLogFont Font;
    } cases[] = {{Font("Segoe UI", -12)}, {Font("Segoe UI", -12, FW_BOLD)}, {Font("Arial", -11)},
        {Font("Arial", 16)}, {Font("Tahoma", -13, FW_NORMAL, true)}, {Font("Courier New", -11)},
        {Font("Fixedsys", -11)}, {Font("DejaVu Sans", -12)}, {Font("", 0)}};
    std::ostringstream out;
    for (const TCase& c : cases) {
        s.DC.SelectFont(c.Font);
        const TTextMetric m = s.DC.GetTextMetrics();
        out << (c.Font.FaceName.empty() ? "(default)" : c.Font.FaceName) << " " << c.Font.Height << " w"
            << c.Font.Weight << (c.Font.Italic ? " italic" : "") << ": height " << m.Height << " ascent " << m.Ascent
            << " descent " << m.Descent << " internal " << m.InternalLeading << " external " << m.ExternalLeading
            << " average " << m.AveCharWidth << " maximum " << m.MaxCharWidth << " pitch-family "
            << int{m.PitchAndFamily} << " truetype " << ((m.PitchAndFamily & TMPF_TRUETYPE) != 0) << "\n";
    }
    return out.str();
}

TEST(Text, MetricsMatchTheGoldenFile)
{
    const std::filesystem::path golden = std::filesystem::path(QEL_TEXT_GOLDEN_DIR) / "text_metrics.golden";
    std::ifstream in(golden);
    std::stringstream expected;
    expected << in.rdbuf();
    const std::string actual = MetricsReport();
    EXPECT_EQ(actual, expected.str()) << "golden file " << golden;
    EXPECT_EQ(MetricsReport(), actual);
}

TEST(Text, PositiveHeightIsTheCellAndNegativeTheEmHeight)
{
    TCanvasSurface s(10, 10);
    s.DC.SelectFont(Font("DejaVu Sans", 20));
    const TTextMetric cell = s.DC.GetTextMetrics();
    EXPECT_NEAR(cell.Height, 20, 1);
    s.DC.SelectFont(Font("DejaVu Sans", -20));
    const TTextMetric em = s.DC.GetTextMetrics();
    EXPECT_EQ(em.Height - em.InternalLeading, 20);
    EXPECT_GT(em.Height, cell.Height);
}

TEST(Text, FixedPitchFamiliesStartWithDejaVuSansMonoAndKnowTheMappedNames)
{
    std::vector<std::string> fixed;
    std::vector<std::string> all;
    for (const TFontFamily& family : EnumFontFamilies()) {
        all.push_back(family.Name);
        if (family.FixedPitch)
            fixed.push_back(family.Name);
    }
    ASSERT_FALSE(fixed.empty());
    EXPECT_EQ(fixed.front(), "DejaVu Sans Mono");
    for (const char* name : {"Courier New", "Fixedsys"})
        EXPECT_NE(std::find(fixed.begin(), fixed.end(), name), fixed.end()) << name;
    for (const char* name : {"DejaVu Sans", "Segoe UI", "Arial"}) {
        EXPECT_EQ(std::find(fixed.begin(), fixed.end(), name), fixed.end()) << name;
        EXPECT_NE(std::find(all.begin(), all.end(), name), all.end()) << name;
    }
}

// The recorded text calls of a DrawText on a real surface.
std::vector<const TRecordedCall*> DrawnLines(TRecordingDC& recorder)
{
    return recorder.CallsNamed("ExtTextOut");
}

TEST(Text, DrawTextHidesThePrefixAndUnderlinesItsCharacter)
{
    TCanvasSurface s(120, 30);
    s.DC.SelectFont(Font("Segoe UI", -12));
    TRect calc{0, 0, 0, 0};
    s.DC.DrawText("E&xit", calc, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(calc.Right, s.DC.GetTextExtent("Exit").cx);
    TRect noPrefix{0, 0, 0, 0};
    s.DC.DrawText("E&xit", noPrefix, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(noPrefix.Right, s.DC.GetTextExtent("E&xit").cx);

    TRecordingDC recorder(&s.DC);
    TRect r{10, 5, 110, 25};
    recorder.SetBkMode(TRANSPARENT);
    recorder.DrawText("E&xit", r, DT_SINGLELINE);
    ASSERT_EQ(recorder.CallsNamed("DrawText").size(), 1u);
    const TTextMetric m = s.DC.GetTextMetrics();
    const int underlineRow = 5 + m.Ascent + 1;
    const int xStart = 10 + s.DC.GetTextExtent("E").cx;
    const int xEnd = xStart + s.DC.GetTextExtent("x").cx;
    for (int x = xStart; x < xEnd; ++x)
        EXPECT_EQ(s.Device(x, underlineRow), Black) << x;
    for (int x = 10; x < xStart - 1; ++x)
        EXPECT_EQ(s.Device(x, underlineRow), White) << x;
}

TEST(Text, DrawTextFormats)
{
    // The formatting runs over the recorder, which keeps each line it writes.
    TCanvasSurface s(300, 100);
    s.DC.SelectFont(Font("Segoe UI", -12));
    const int lineHeight = s.DC.GetTextMetrics().Height;
    const int oneTwo = s.DC.GetTextExtent("one two").cx;

    {   // DT_WORDBREAK breaks at spaces within the width.
        TRecordingDC recorder(&s.DC);
        TRect r{0, 0, oneTwo + 2, 100};
        const int height = DrawTextOn(recorder, "one two three", r, DT_WORDBREAK);
        const auto lines = DrawnLines(recorder);
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0]->Text, "one two");
        EXPECT_EQ(lines[1]->Text, "three");
        EXPECT_EQ(lines[1]->Args[1] - lines[0]->Args[1], lineHeight);
        EXPECT_EQ(height, 2 * lineHeight);
    }
    {   // DT_END_ELLIPSIS cuts the line so that it fits with "...".
        TRecordingDC recorder(&s.DC);
        TRect r{0, 0, 60, 20};
        DrawTextOn(recorder, "A rather long caption for a cell", r, DT_SINGLELINE | DT_END_ELLIPSIS);
        const auto lines = DrawnLines(recorder);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0]->Text.substr(lines[0]->Text.size() - 3), "...");
        EXPECT_LE(s.DC.GetTextExtent(lines[0]->Text).cx, 60);
        EXPECT_GT(lines[0]->Text.size(), 3u);
    }
    {   // DT_CALCRECT measures lines without drawing.
        TRecordingDC recorder(&s.DC);
        TRect r{5, 7, 5, 7};
        const int height = DrawTextOn(recorder, "a\nlonger line", r, DT_CALCRECT);
        EXPECT_TRUE(DrawnLines(recorder).empty());
        EXPECT_EQ(height, 2 * lineHeight);
        EXPECT_EQ(r, (TRect{5, 7, 5 + s.DC.GetTextExtent("longer line").cx, 7 + 2 * lineHeight}));
    }
    {   // DT_EXPANDTABS turns a tab into blanks up to the next stop.
        TRecordingDC recorder(&s.DC);
        TRect r{0, 0, 300, 20};
        DrawTextOn(recorder, "a\tb", r, DT_SINGLELINE | DT_EXPANDTABS);
        const auto lines = DrawnLines(recorder);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0]->Text.find('\t'), std::string::npos);
        EXPECT_GE(s.DC.GetTextExtent(lines[0]->Text.substr(0, lines[0]->Text.size() - 1)).cx,
            8 * s.DC.GetTextMetrics().AveCharWidth);
    }
    {   // DT_VCENTER centres a single line; DT_RIGHT and DT_CENTER place it.
        TRecordingDC recorder(&s.DC);
        TRect r{0, 0, 200, 60};
        DrawTextOn(recorder, "mid", r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
        TRect right{0, 0, 200, 60};
        DrawTextOn(recorder, "end", right, DT_SINGLELINE | DT_BOTTOM | DT_RIGHT);
        const auto lines = DrawnLines(recorder);
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0]->Args[1], (60 - lineHeight) / 2);
        EXPECT_EQ(lines[0]->Args[0], (200 - s.DC.GetTextExtent("mid").cx) / 2);
        EXPECT_EQ(lines[1]->Args[1], 60 - lineHeight);
        EXPECT_EQ(lines[1]->Args[0], 200 - s.DC.GetTextExtent("end").cx);
    }
}

TEST(Text, ExtTextOutClipsFillsAndPlacesCharactersAtTheGivenAdvances)
{
    TCanvasSurface s(200, 40);
    s.DC.SelectFont(Font("Segoe UI", -20));
    s.DC.SetBkMode(TRANSPARENT);
    const TRect clip{20, 5, 40, 30};
    s.DC.ExtTextOut(10, 5, ETO_CLIPPED, &clip, "WWWW", nullptr);
    const TRect ink = s.InkBox();
    EXPECT_GE(ink.Left, 20);
    EXPECT_LE(ink.Right, 40);
    EXPECT_FALSE(ink.IsEmpty());

    TCanvasSurface opaque(100, 30);
    opaque.DC.SetBkColor(RGB(255, 255, 0));
    const TRect box{10, 5, 60, 25};
    opaque.DC.ExtTextOut(12, 6, ETO_OPAQUE | ETO_CLIPPED, &box, "", nullptr);
    EXPECT_EQ(opaque.CountAll(RGB(255, 255, 0)), 50 * 20);

    TCanvasSurface spaced(200, 40);
    spaced.DC.SelectFont(Font("DejaVu Sans Mono", -16));
    spaced.DC.SetBkMode(TRANSPARENT);
    const int advances[] = {40, 40, 40};
    spaced.DC.ExtTextOut(10, 5, 0, nullptr, "III", advances);
    // Each glyph's ink lies in its own 40-pixel cell, none in the gaps.
    for (int cell = 0; cell < 3; ++cell) {
        int inkColumns = 0;
        for (int x = 10 + cell * 40; x < 10 + cell * 40 + 40; ++x)
            inkColumns += spaced.CountInColumn(x, White) < 40;
        EXPECT_GT(inkColumns, 0) << cell;
        EXPECT_LT(inkColumns, 12) << cell;
    }
}

TEST(Text, AlignmentFlagsPlaceTheReferencePoint)
{
    const int x = 100;
    const int y = 40;
    struct TCase {
        std::uint32_t Align;
    } cases[] = {{TA_LEFT | TA_TOP}, {TA_RIGHT}, {TA_CENTER}, {TA_BOTTOM}, {TA_BASELINE}};
    for (const TCase& c : cases) {
        TCanvasSurface s(200, 80);
        s.DC.SelectFont(Font("DejaVu Sans", -16));
        s.DC.SetBkMode(TRANSPARENT);
        s.DC.SetTextAlign(c.Align);
        const TTextMetric m = s.DC.GetTextMetrics();
        const int width = s.DC.GetTextExtent("HH").cx;
        s.DC.TextOut(x, y, "HH");
        const TRect ink = s.InkBox();
        const std::uint32_t horizontal = c.Align & TA_CENTER;
        const std::uint32_t vertical = c.Align & TA_BASELINE;
        const int left = horizontal == TA_CENTER ? x - width / 2 : horizontal == TA_RIGHT ? x - width : x;
        EXPECT_GE(ink.Left, left) << c.Align;
        EXPECT_LE(ink.Right, left + width) << c.Align;
        const int baseline = vertical == TA_BASELINE ? y : vertical == TA_BOTTOM ? y - m.Descent : y + m.Ascent;
        // Capital H stands on the baseline.
        EXPECT_EQ(ink.Bottom, baseline) << c.Align;
    }
}

TEST(Text, EscapementNineHundredWritesUpward)
{
    TCanvasSurface s(80, 200);
    TLogFont font = Font("DejaVu Sans", -16);
    font.Escapement = 900;
    s.DC.SelectFont(font);
    s.DC.SetBkMode(TRANSPARENT);
    s.DC.TextOut(20, 150, "Upward");
    const TRect ink = s.InkBox();
    const int width = s.DC.GetTextExtent("Upward").cx;
    EXPECT_GT(ink.Height(), ink.Width());
    EXPECT_LE(ink.Bottom, 151);
    EXPECT_NEAR(static_cast<double>(ink.Top), 150.0 - width, 3.0);
    EXPECT_GE(ink.Left, 20);
}

TEST(Text, FontsAddedFromMemoryRegisterAndLeave)
{
    const std::string bytes = [] {
        std::ifstream in("/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf", std::ios::binary);
        std::stringstream data;
        data << in.rdbuf();
        return data.str();
    }();
    ASSERT_GT(bytes.size(), 1000u);
    int count = -1;
    const int handle = AddFontMemResourceEx(bytes.data(), bytes.size(), &count);
    EXPECT_GT(handle, 0);
    EXPECT_EQ(count, 1);
    const std::string junk(4096, 'x');
    EXPECT_EQ(AddFontMemResourceEx(junk.data(), junk.size(), &count), 0);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(AddFontMemResourceEx(nullptr, 100, nullptr), 0);
    // Text still measures the same after the font set changed.
    TCanvasSurface s(10, 10);
    s.DC.SelectFont(Font("Segoe UI", -12));
    const int before = s.DC.GetTextExtent("Width").cx;
    EXPECT_TRUE(RemoveFontMemResourceEx(handle));
    EXPECT_FALSE(RemoveFontMemResourceEx(handle));
    EXPECT_FALSE(RemoveFontMemResourceEx(0));
    EXPECT_EQ(s.DC.GetTextExtent("Width").cx, before);
}

TEST(Text, DeviceScaleKeepsLogicalWidthsAndDrawsTwiceAsLarge)
{
    TCanvasSurface one(100, 30);
    TCanvasSurface two(100, 30, 32, 2);
    for (TCanvasSurface* s : {&one, &two}) {
        s->DC.SelectFont(Font("Segoe UI", -12));
        s->DC.SetBkMode(TRANSPARENT);
        s->DC.TextOut(5, 5, "Scaled text");
    }
    EXPECT_EQ(one.DC.GetTextExtent("Scaled text").cx, two.DC.GetTextExtent("Scaled text").cx);
    const TRect a = one.InkBox();
    const TRect b = two.InkBox();
    EXPECT_NEAR(static_cast<double>(b.Width()), 2.0 * a.Width(), 3.0);
    EXPECT_NEAR(static_cast<double>(b.Left), 2.0 * a.Left, 2.0);
}

} // namespace
} // namespace plat::test
