// Tests of the library's embedded pictures: found by name without case, a
// new bitmap or cursor each time, nothing for an unknown name; the brush
// unit's picture from its start to its end.
#include "widgets/pages/pgc_brush_bitmap.h"
#include "widgets/pages/pgc_resources.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/pixel_surface.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <vector>

namespace qel {
namespace {

TEST(PgcResources, BookmarkGlyphsTenSideBySide)
{
    for (const char* name : {"PGMARKERS", "pgMarkers"}) {
        const auto bitmap = LoadLibraryBitmap(name);
        ASSERT_NE(bitmap, nullptr) << name;
        ASSERT_GT(bitmap->Height(), 0);
        EXPECT_EQ(bitmap->Width(), 10 * bitmap->Height()) << name;
    }
    // The ten glyphs differ from one another.
    const auto bitmap = LoadLibraryBitmap("PGMARKERS");
    const int side = bitmap->Height();
    std::set<std::vector<std::uint8_t>> glyphs;
    for (int marker = 0; marker < 10; ++marker) {
        std::vector<std::uint8_t> pixels;
        for (int y = 0; y < side; ++y) {
            const std::uint8_t* row = bitmap->ScanLine(y) + 4 * side * marker;
            pixels.insert(pixels.end(), row, row + 4 * side);
        }
        glyphs.insert(pixels);
    }
    EXPECT_EQ(glyphs.size(), 10u);
    EXPECT_NE(LoadLibraryBitmap("PGMARKERS").get(), bitmap.get());
}

// The brush: 8 x 8 pixels of 4-bit colours (each of the 16 colours of a
// 4-bit picture), loaded by the unit's start and freed by its end.
TEST(PgcResources, TheBrushUnitHoldsAnEightByEightFourBitPicture)
{
    const std::set<std::uint32_t> sixteen = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
        0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    EXPECT_EQ(PgcBrushBitmap(), nullptr);
    InitBrushBitmapUnit();
    plat::TBitmap* brush = PgcBrushBitmap();
    ASSERT_NE(brush, nullptr);
    EXPECT_EQ(brush->Width(), 8);
    EXPECT_EQ(brush->Height(), 8);
    std::set<std::uint32_t> used;
    for (int y = 0; y < 8; ++y) {
        const std::uint8_t* row = brush->ScanLine(y);
        for (int x = 0; x < 8; ++x) {
            const std::uint32_t rgb = row[4 * x + 2] << 16 | row[4 * x + 1] << 8 | row[4 * x];
            EXPECT_EQ(sixteen.count(rgb), 1u) << x << ", " << y;
            used.insert(rgb);
        }
    }
    EXPECT_GT(used.size(), 1u) << "a pattern, not a plain square";
    FinalizeBrushBitmapUnit();
    EXPECT_EQ(PgcBrushBitmap(), nullptr);
}

TEST(PgcResources, CursorsWithTheirAimingPoint)
{
    for (const char* name : {"PGLINECURSOR", "PGTABCURSOR", "pgTabCursor"}) {
        const plat::HCURSOR cursor = LoadLibraryCursor(name);
        ASSERT_NE(cursor, 0) << name;
        const plat::TCursorImage* picture = plat::CursorPicture(cursor);
        ASSERT_NE(picture, nullptr) << name;
        const plat::TPixelSurface& pixels = *picture->Pixels;
        EXPECT_EQ(pixels.BitsPerPixel(), 32) << name;
        ASSERT_TRUE(picture->HotSpot.X >= 0 && picture->HotSpot.X < pixels.Width()) << name;
        ASSERT_TRUE(picture->HotSpot.Y >= 0 && picture->HotSpot.Y < pixels.Height()) << name;
        // The aiming point is drawn, and so is not the whole square.
        auto& surface = const_cast<plat::TPixelSurface&>(pixels);
        EXPECT_EQ(surface.ScanLine(picture->HotSpot.Y)[4 * picture->HotSpot.X + 3], 0xFF) << name;
        int transparent = 0;
        for (int y = 0; y < pixels.Height(); ++y) {
            for (int x = 0; x < pixels.Width(); ++x) {
                transparent += surface.ScanLine(y)[4 * x + 3] == 0 ? 1 : 0;
            }
        }
        EXPECT_GT(transparent, 0) << name;
        const plat::HCURSOR again = LoadLibraryCursor(name);
        EXPECT_NE(again, cursor) << "a new cursor each time";
        EXPECT_TRUE(plat::DestroyCursor(cursor));
        EXPECT_TRUE(plat::DestroyCursor(again));
    }
}

TEST(PgcResources, UnknownNamesGiveNothing)
{
    for (const char* name : {"", "PGMARKER", "PGMARKERSX", "DT_MOVEALL", "PGOLBRUSHX"}) {
        EXPECT_EQ(LoadLibraryBitmap(name), nullptr) << name;
        EXPECT_EQ(LoadLibraryCursor(name), 0) << name;
    }
    EXPECT_EQ(LoadLibraryBitmap("PGLINECURSOR"), nullptr) << "a cursor is no bitmap";
    EXPECT_EQ(LoadLibraryCursor("PGMARKERS"), 0) << "a bitmap is no cursor";
}

} // namespace
} // namespace qel
