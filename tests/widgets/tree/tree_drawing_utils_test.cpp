// The data tree's drawing helpers and colour set: alpha blending in its
// four modes, shortening and wrapping with a fixed-advance measure,
// rectangle ordering, image-list colours, the drag strips and the default
// colours.
#include "widgets/tree/dt_colors.h"
#include "widgets/tree/tree_drawing_utils.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/canvas.h"
#include "widgets/tree/data_tree_errors.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace qel {
namespace {

using TPixel = std::array<int, 4>; // blue, green, red, alpha

TPixel PixelAt(plat::TBitmap& bitmap, int x, int y)
{
    const std::uint8_t* p = bitmap.ScanLine(y) + 4 * x;
    return {p[0], p[1], p[2], p[3]};
}

void SetPixel(plat::TBitmap& bitmap, int x, int y, TPixel value)
{
    std::uint8_t* p = bitmap.ScanLine(y) + 4 * x;
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<std::uint8_t>(value[static_cast<std::size_t>(i)]);
    }
}

TEST(TreeDrawing, AlphaBlendModes)
{
    struct TCase {
        const char* name;
        TBlendMode mode;
        TPixel source;
        TPixel destination;
        int alpha;
        int bias;
        TPixel expected;
    };
    const std::vector<TCase> cases = {
        {"constant 0, no bias: unchanged", bmConstantAlpha, {0, 0, 0, 0}, {10, 100, 250, 7}, 0, 0, {10, 100, 250, 7}},
        {"constant 0, bias 20 brightens, clamped", bmConstantAlpha, {0, 0, 0, 0}, {10, 100, 250, 7}, 0, 20,
         {30, 120, 255, 27}},
        {"constant 128: even mix", bmConstantAlpha, {200, 0, 100, 0}, {0, 200, 100, 0}, 128, 0, {100, 100, 100, 0}},
        {"constant, negative bias clamps at 0", bmConstantAlpha, {0, 0, 0, 0}, {10, 30, 50, 0}, 0, -40,
         {0, 0, 10, 0}},
        {"per pixel alpha 255", bmPerPixelAlpha, {40, 80, 120, 255}, {0, 0, 0, 0}, 0, 0, {39, 79, 119, 254}},
        {"per pixel alpha 0", bmPerPixelAlpha, {40, 80, 120, 0}, {9, 9, 9, 9}, 0, 0, {9, 9, 9, 9}},
        {"master alpha 128 of source alpha 128", bmMasterAlpha, {255, 255, 255, 128}, {0, 0, 0, 0}, 128, 0,
         {63, 63, 63, 32}},
    };
    for (const TCase& each : cases) {
        SCOPED_TRACE(each.name);
        plat::TBitmap source(4, 4, plat::pf32bit);
        plat::TBitmap destination(4, 4, plat::pf32bit);
        SetPixel(source, 1, 2, each.source);
        SetPixel(destination, 2, 3, each.destination);
        source.Canvas()->RequireState();
        destination.Canvas()->RequireState();
        AlphaBlend(source.Canvas()->Handle(), destination.Canvas()->Handle(), plat::Rect(1, 2, 2, 3),
                   plat::Point(2, 3), each.mode, each.alpha, each.bias);
        EXPECT_EQ(PixelAt(destination, 2, 3), each.expected);
    }
}

TEST(TreeDrawing, ConstantAlphaAndColourMixesTheColourIntoTheDestination)
{
    plat::TBitmap destination(3, 2, plat::pf32bit);
    for (int x = 0; x < 3; ++x) {
        SetPixel(destination, x, 0, {255, 255, 255, 0});
        SetPixel(destination, x, 1, {255, 255, 255, 0});
    }
    destination.Canvas()->RequireState();
    // Red as an RGB value: its red byte is the low byte.
    AlphaBlend(nullptr, destination.Canvas()->Handle(), plat::Rect(0, 0, 2, 1), {}, bmConstantAlphaAndColor, 128,
               0x0000FF);
    EXPECT_EQ(PixelAt(destination, 0, 0), (TPixel{127, 127, 255, 0}));
    EXPECT_EQ(PixelAt(destination, 1, 0), (TPixel{127, 127, 255, 0}));
    EXPECT_EQ(PixelAt(destination, 2, 0), (TPixel{255, 255, 255, 0})) << "outside the rectangle";
    EXPECT_EQ(PixelAt(destination, 0, 1), (TPixel{255, 255, 255, 0}));

    // Parts outside the bitmap are left alone rather than written past its end.
    AlphaBlend(nullptr, destination.Canvas()->Handle(), plat::Rect(-5, -5, 50, 50), {}, bmConstantAlphaAndColor, 256,
               0);
    EXPECT_EQ(PixelAt(destination, 2, 1), (TPixel{0, 0, 0, 0}));
}

TEST(TreeDrawing, AlphaBlendNeedsThirtyTwoBitBitmaps)
{
    plat::TBitmap deep(2, 2, plat::pf32bit);
    plat::TBitmap shallow(2, 2, plat::pf24bit);
    deep.Canvas()->RequireState();
    shallow.Canvas()->RequireState();
    try {
        AlphaBlend(shallow.Canvas()->Handle(), deep.Canvas()->Handle(), plat::Rect(0, 0, 1, 1), {}, bmConstantAlpha,
                   10, 0);
        FAIL() << "no assertion";
    } catch (const EAssertionFailed& error) {
        EXPECT_STREQ(error.what(), "Alpha blending error: bitmap must use 32 bpp.");
    }
    EXPECT_THROW(AlphaBlend(nullptr, nullptr, plat::Rect(0, 0, 1, 1), {}, bmConstantAlpha, 10, 0), EAssertionFailed);
    EXPECT_NO_THROW(AlphaBlend(nullptr, nullptr, plat::TRect{}, {}, bmConstantAlpha, 10, 0)) << "empty: nothing";
}

TEST(TreeDrawing, ShortenStringFindsTheLongestFittingPrefix)
{
    int measured = 0;
    // Seven pixels a character, so "..." is 21 wide.
    const TTextMeasure measure = [&measured](std::string_view text) {
        ++measured;
        return 7 * static_cast<int>(text.size());
    };
    struct TCase {
        std::string text;
        int width;
        int ellipsis;
        std::string expected;
    };
    const std::vector<TCase> cases = {
        {"abcdef", 42, 0, "abc..."},   {"abcdef", 41, 0, "ab..."},     {"abcdef", 63, 0, "abcdef"},
        {"abcdef", 62, 0, "abcde..."}, {"abcdef", 22, 0, "..."},       {"abcdef", 21, 0, ""},
        {"abcdef", 0, 0, ""},          {"", 100, 0, ""},               {"abcdef", 30, 9, "abc..."},
        {"abcdef", -5, 0, ""},
    };
    for (const TCase& each : cases) {
        EXPECT_EQ(ShortenString(measure, each.text, each.width, each.ellipsis), each.expected)
            << each.text << " in " << each.width;
    }
    // The search measures about log2(length) prefixes.
    measured = 0;
    const std::string longText(1000, 'x');
    EXPECT_EQ(ShortenString(measure, longText, 700, 21), std::string(97, 'x') + "...");
    EXPECT_LE(measured, 11);
    // Characters, not bytes: a two-byte letter is never cut in half.
    EXPECT_EQ(ShortenString([](std::string_view t) { return static_cast<int>(t.size()) * 5; }, "\xC3\xA4\xC3\xA4\xC3\xA4", 35, 15),
              "\xC3\xA4\xC3\xA4...");
}

TEST(TreeDrawing, WrapStringBreaksAtSpacesAndSplitsLongWords)
{
    const TTextMeasure measure = [](std::string_view text) { return 10 * static_cast<int>(text.size()); };
    struct TCase {
        std::string text;
        int width;
        bool rtl;
        std::string expected;
    };
    const std::vector<TCase> cases = {
        {"  one two three  ", 70, false, "one two\nthree"},
        {"one two three", 70, true, "three\none two"},
        {"abcdefghij", 40, false, "abcd\nefgh\nij"},
        {"   ", 40, false, ""},
        {"a b", 1, false, "a\nb"},
    };
    for (const TCase& each : cases) {
        EXPECT_EQ(WrapString(measure, each.text, plat::Rect(0, 0, each.width, 10), each.rtl), each.expected)
            << each.text;
    }
}

TEST(TreeDrawing, OrderRectAndImageListColours)
{
    EXPECT_EQ(OrderRect(plat::Rect(10, 10, 0, 0)), plat::Rect(0, 0, 10, 10));
    EXPECT_EQ(OrderRect(plat::Rect(0, 10, 5, 0)), plat::Rect(0, 0, 5, 10));
    EXPECT_EQ(OrderRect(plat::Rect(1, 2, 3, 4)), plat::Rect(1, 2, 3, 4));
    EXPECT_EQ(GetRGBColor(plat::clNone), 0xFFFFFFFFu);
    EXPECT_EQ(GetRGBColor(plat::clDefault), 0xFF000000u);
    EXPECT_EQ(GetRGBColor(0x00123456), 0x00123456u);
    EXPECT_EQ(GetRGBColor(plat::clHighlight), static_cast<std::uint32_t>(plat::ColorToRGB(plat::clHighlight)));
}

TEST(TreeDrawing, DragRectanglesForEachDirection)
{
    constexpr int w = 100;
    constexpr int h = 60;
    const plat::TRect untouched = plat::Rect(-9, -9, -9, -9);
    struct TCase {
        int dx;
        int dy;
        plat::TRect scroll, sample1, sample2, draw1, draw2;
    };
    const plat::TRect u = untouched;
    const std::vector<TCase> cases = {
        {5, 0, {0, 0, 95, 60}, {0, 0, 5, 60}, u, {95, 0, 5, 60}, u},
        {5, -3, {0, 3, 95, 60}, {0, 0, 5, 60}, {5, 57, 95, 3}, {0, 0, 95, 3}, {95, 0, 5, 60}},
        {5, 3, {0, 0, 95, 57}, {0, 0, 5, 60}, {5, 0, 95, 3}, {0, 57, 95, 3}, {95, 0, 5, 60}},
        {0, -3, {0, 3, 100, 60}, u, {0, 57, 100, 3}, u, {0, 0, 100, 3}},
        {0, 3, {0, 0, 100, 57}, u, {0, 0, 100, 3}, u, {0, 57, 100, 3}},
        {0, 0, {0, 0, 100, 60}, u, {0, 0, 100, 0}, u, {0, 60, 100, 0}},
        {-5, 3, {5, 0, 100, 60}, {0, 0, 95, 3}, {95, 0, 5, 60}, {0, 0, 5, 60}, {5, 57, 95, 3}},
        {-5, 0, {5, 0, 100, 60}, {95, 0, 5, 60}, u, {0, 0, 5, 60}, u},
        {-5, -3, {5, 3, 100, 60}, {0, 57, 95, 3}, {95, 0, 5, 60}, {0, 0, 5, 60}, {5, 0, 95, 3}},
    };
    for (const TCase& each : cases) {
        TDragRectangles rects{untouched, untouched, untouched, untouched, untouched, untouched};
        FillDragRectangles(w, h, each.dx, each.dy, rects);
        SCOPED_TRACE(std::to_string(each.dx) + "," + std::to_string(each.dy));
        EXPECT_EQ(rects.Clip, plat::Rect(0, 0, w, h));
        EXPECT_EQ(rects.Scroll, each.scroll);
        EXPECT_EQ(rects.Sample1, each.sample1);
        EXPECT_EQ(rects.Sample2, each.sample2);
        EXPECT_EQ(rects.Draw1, each.draw1);
        EXPECT_EQ(rects.Draw2, each.draw2);
    }
}

TEST(TreeDrawing, ColourSetDefaults)
{
    const plat::TColor expected[] = {
        plat::clBtnShadow,  plat::clHighlight, plat::clHighlight,       plat::clHighlight,
        plat::clBtnFace,    plat::clBtnShadow, plat::clInactiveCaption, plat::clBtnFace,
        plat::clWindowText, plat::clHighlight, plat::clInactiveCaption, plat::clHighlight,
        plat::clHighlight,  plat::clHighlight, plat::clBtnShadow,       plat::clHighlightText,
        plat::clInactiveCaptionText,
    };
    ASSERT_EQ(std::size(expected), static_cast<std::size_t>(ciColorCount));
    for (std::size_t i = 0; i < ciColorCount; ++i) {
        EXPECT_EQ(TDTColors::Defaults[i], expected[i]) << "colour " << i;
    }
}

} // namespace
} // namespace qel
