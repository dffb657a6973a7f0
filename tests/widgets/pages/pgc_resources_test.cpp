// Tests of the library's embedded pictures: found by name without case, a
// new bitmap each time, nothing for an unknown name.
#include "widgets/pages/pgc_resources.h"

#include "platform/canvas/bitmap.h"

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

TEST(PgcResources, UnknownNamesGiveNothing)
{
    for (const char* name : {"", "PGMARKER", "PGMARKERSX", "DT_MOVEALL", "PGOLBRUSH"}) {
        EXPECT_EQ(LoadLibraryBitmap(name), nullptr) << name;
    }
}

} // namespace
} // namespace qel
