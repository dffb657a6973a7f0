// The library's embedded pictures. Each is generated from a small drawing
// rule: plain stand-ins until drawn artwork replaces them.
#include "widgets/pages/pgc_resources.h"

#include "platform/ascii_case.h"
#include "platform/canvas/bitmap.h"

#include <cstdint>

namespace qel {
namespace {

struct TBgra {
    std::uint8_t B, G, R, A;
};

// One embedded picture: its name, size and the colour of each pixel.
struct TLibraryPicture {
    const char* Name;
    int Width;
    int Height;
    TBgra (*PixelAt)(int x, int y);
};

constexpr int MarkerSide = 10;
constexpr int MarkerCount = 10;

// The ten bookmark glyphs side by side, one per marker 0 .. 9: a dark frame
// around a square whose shade tells the marker.
TBgra MarkerPixel(int x, int y)
{
    const int marker = x / MarkerSide;
    const int cx = x % MarkerSide;
    if (cx == 0 || cx == MarkerSide - 1 || y == 0 || y == MarkerSide - 1) {
        return {0x40, 0x40, 0x40, 0xFF};
    }
    const auto shade = static_cast<std::uint8_t>(0x30 + marker * 0x18);
    return {shade, 0x80, static_cast<std::uint8_t>(0xFF - shade), 0xFF};
}

constexpr TLibraryPicture Bitmaps[] = {
    {"PGMARKERS", MarkerSide * MarkerCount, MarkerSide, MarkerPixel},
};

const TLibraryPicture* FindPicture(std::string_view name)
{
    for (const TLibraryPicture& picture : Bitmaps) {
        if (plat::SameText(picture.Name, name)) {
            return &picture;
        }
    }
    return nullptr;
}

} // namespace

std::unique_ptr<plat::TBitmap> LoadLibraryBitmap(std::string_view Name)
{
    const TLibraryPicture* picture = FindPicture(Name);
    if (picture == nullptr) {
        return nullptr;
    }
    auto bitmap = std::make_unique<plat::TBitmap>(picture->Width, picture->Height, plat::pf32bit);
    for (int y = 0; y < picture->Height; ++y) {
        std::uint8_t* row = bitmap->ScanLine(y);
        for (int x = 0; x < picture->Width; ++x) {
            const TBgra pixel = picture->PixelAt(x, y);
            row[4 * x] = pixel.B;
            row[4 * x + 1] = pixel.G;
            row[4 * x + 2] = pixel.R;
            row[4 * x + 3] = pixel.A;
        }
    }
    return bitmap;
}

} // namespace qel
