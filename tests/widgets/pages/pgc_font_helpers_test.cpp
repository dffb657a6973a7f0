// Tests of the library's font helpers: the rotated font's description and
// how it draws, and the top text margin by formula and by measured fonts.
#include "widgets/pages/pgc_font_helpers.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/graphics_objects.h"
#include "platform/canvas/pixel_surface.h"
#include "platform/canvas/surface_dc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace qel {
namespace {

struct TRotationCase {
    const char* name;
    plat::TFontStyles style;
    plat::TFontPitch pitch;
    int weight;
    std::uint8_t pitchAndFamily;
};

TEST(PgcFontHelpers, RotatedFontTakesTheFontsLooks)
{
    const std::vector<TRotationCase> cases = {
        {"plain, default pitch", {}, plat::fpDefault, 400, 0},
        {"bold, variable pitch", {plat::fsBold}, plat::fpVariable, 700, 2},
        {"italic, underlined, struck out, fixed pitch", {plat::fsItalic, plat::fsUnderline, plat::fsStrikeOut},
            plat::fpFixed, 400, 1},
    };
    for (const TRotationCase& c : cases) {
        plat::TFont font;
        font.SetName("DejaVu Sans Mono");
        font.SetHeight(-17);
        font.SetStyle(c.style);
        font.SetPitch(c.pitch);
        font.SetCharset(0);
        font.SetOrientation(450);
        const plat::TLogFont rotated = CreateRotatedFontHandle(font, 90);
        EXPECT_EQ(rotated.Height, -17) << c.name;
        EXPECT_EQ(rotated.Width, 0) << c.name;
        EXPECT_EQ(rotated.Escapement, 900) << c.name;
        EXPECT_EQ(rotated.Orientation, 0) << c.name;
        EXPECT_EQ(rotated.Weight, c.weight) << c.name;
        EXPECT_EQ(rotated.Italic, c.style.Contains(plat::fsItalic)) << c.name;
        EXPECT_EQ(rotated.Underline, c.style.Contains(plat::fsUnderline)) << c.name;
        EXPECT_EQ(rotated.StrikeOut, c.style.Contains(plat::fsStrikeOut)) << c.name;
        EXPECT_EQ(rotated.CharSet, plat::DEFAULT_CHARSET) << c.name;
        EXPECT_EQ(rotated.Quality, 0) << c.name;
        EXPECT_EQ(rotated.PitchAndFamily, c.pitchAndFamily) << c.name;
        EXPECT_EQ(rotated.FaceName, "DejaVu Sans Mono") << c.name;
    }
    plat::TFont font;
    EXPECT_EQ(CreateRotatedFont(font, -45).Escapement, -450);
}

TEST(PgcFontHelpers, RotatedFontNameIsCutTo31Units)
{
    plat::TFont font;
    font.SetName(std::string(40, 'N'));
    EXPECT_EQ(CreateRotatedFontHandle(font, 0).FaceName, std::string(31, 'N'));
    // 30 units and then a pair of surrogates: the pair does not fit whole.
    font.SetName(std::string(30, 'N') + "\xF0\x9D\x84\x9E" "x");
    EXPECT_EQ(CreateRotatedFontHandle(font, 0).FaceName, std::string(30, 'N'));
    font.SetName("\xC3\x84rial");
    EXPECT_EQ(CreateRotatedFontHandle(font, 0).FaceName, "\xC3\x84rial");
}

// The extent of the pixels that are not white.
plat::TRect InkBox(plat::TBitmap& bitmap)
{
    plat::TRect box{bitmap.Width(), bitmap.Height(), 0, 0};
    for (int y = 0; y < bitmap.Height(); ++y) {
        const std::uint8_t* row = bitmap.ScanLine(y);
        for (int x = 0; x < bitmap.Width(); ++x) {
            if (row[4 * x] != 0xFF || row[4 * x + 1] != 0xFF || row[4 * x + 2] != 0xFF) {
                box.Left = std::min(box.Left, x);
                box.Top = std::min(box.Top, y);
                box.Right = std::max(box.Right, x + 1);
                box.Bottom = std::max(box.Bottom, y + 1);
            }
        }
    }
    return box;
}

TEST(PgcFontHelpers, TextInTheRotatedFontRunsUpward)
{
    plat::TFont font;
    font.SetName("DejaVu Sans");
    font.SetHeight(-16);
    for (int angle : {0, 90}) {
        plat::TBitmap bitmap(200, 200, plat::pf32bit);
        bitmap.Canvas()->FillRect({0, 0, 200, 200});
        plat::TDeviceContext* dc = bitmap.DeviceContext();
        dc->SelectFont(CreateRotatedFontHandle(font, angle));
        dc->SetBkMode(plat::TRANSPARENT);
        dc->TextOut(60, 180, "Rotated caption");
        const plat::TRect ink = InkBox(bitmap);
        ASSERT_LT(ink.Left, ink.Right) << angle << ": nothing drawn";
        if (angle == 90) {
            EXPECT_GT(ink.Height(), ink.Width() * 3) << "taller than wide";
            EXPECT_LE(ink.Bottom, 180) << "written upward from the start point";
        } else {
            EXPECT_GT(ink.Width(), ink.Height() * 3);
        }
    }
}

TEST(PgcFontHelpers, TopMarginFormula)
{
    using enum TTextFieldBorder;
    struct TCase {
        int textHeight;
        TTextFieldBorder border;
        int height;
        bool ctl3D;
        int margin;
    };
    const std::vector<TCase> cases = {
        {16, None, 20, false, 0},   // 16 < 18
        {19, None, 20, false, -1},  // (20 - 19 - 2) div 2 - 1
        {18, None, 20, true, 0},    // (20 - 18 - 2) div 2 - 0
        {21, None, 20, false, -2},  // (-3) div 2 - 1, truncated toward zero
        {16, Single, 20, true, -1}, // (20 - 16 - 4) div 2 - 1
        {15, Single, 20, true, 1},  // 15 < 16
        {19, Single, 20, true, -2}, // (-3) div 2 - 1
        {16, Single, 20, false, 0}, // (0) div 2 - 0
        {17, Single, 20, false, -1}, // (-1) div 2 - 1
        {10, Single, 20, false, 1},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(TopMarginForTextHeight(c.textHeight, c.border, c.height, c.ctl3D), c.margin)
            << c.textHeight << " " << (c.border == Single) << " " << c.height << " " << c.ctl3D;
    }
}

int MeasuredHeight(const plat::TLogFont& font)
{
    plat::TPixelSurface surface(1, 1, 24);
    plat::TSurfaceDC dc(surface);
    dc.SelectFont(font);
    return dc.GetTextMetrics().Height;
}

TEST(PgcFontHelpers, TopMarginTakesTheSmallerMeasuredFont)
{
    const int systemHeight = MeasuredHeight(LibrarySystemFont());
    ASSERT_GT(systemHeight, 0);
    EXPECT_EQ(LibrarySystemFont().FaceName, "DejaVu Sans");

    plat::TFont small;
    small.SetName("DejaVu Sans");
    small.SetHeight(-8);
    const int smallHeight = MeasuredHeight(small.Handle());
    ASSERT_LT(smallHeight, systemHeight);
    plat::TFont large;
    large.SetName("DejaVu Sans");
    large.SetHeight(-40);
    ASSERT_GT(MeasuredHeight(large.Handle()), systemHeight);

    using enum TTextFieldBorder;
    for (int height : {smallHeight, smallHeight + 3, systemHeight + 1, 40}) {
        for (TTextFieldBorder border : {None, Single}) {
            for (bool ctl3D : {false, true}) {
                EXPECT_EQ(GetTopTextMargin(small, border, height, ctl3D),
                    TopMarginForTextHeight(smallHeight, border, height, ctl3D)) << height;
                EXPECT_EQ(GetTopTextMargin(large, border, height, ctl3D),
                    TopMarginForTextHeight(systemHeight, border, height, ctl3D)) << height;
            }
        }
    }
}

} // namespace
} // namespace qel
