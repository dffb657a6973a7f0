// The library's embedded pictures. Each is generated from a small drawing
// rule: plain stand-ins until drawn artwork replaces them. The brush
// "PGOLBRUSH" takes its colours from the 16 of a 4-bit picture.
#include "widgets/pages/pgc_resources.h"

#include "platform/ascii_case.h"
#include "platform/canvas/bitmap.h"
#include "platform/canvas/pixel_surface.h"

#include <cstdint>
#include <cstdlib>
#include <span>

namespace qel {
namespace {

struct TBgra {
    std::uint8_t B, G, R, A;
};

constexpr TBgra Clear = {0, 0, 0, 0};
constexpr TBgra Black = {0, 0, 0, 0xFF};
constexpr TBgra White = {0xFF, 0xFF, 0xFF, 0xFF};

// One embedded picture: its name, size, the point a cursor aims with and
// the colour of each pixel.
struct TLibraryPicture {
    const char* Name;
    int Width;
    int Height;
    plat::TPoint HotSpot;
    TBgra (*PixelAt)(int x, int y);
};

constexpr int MarkerSide = 10;
constexpr int MarkerCount = 10;
constexpr int CursorSide = 16;

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

// An arrow pointing up and to the right, for selecting whole lines from the
// left margin: a white shaft with a black edge and a black head.
TBgra LineCursorPixel(int x, int y)
{
    const int diagonal = x + y - (CursorSide - 1);
    if (y <= 4 && x >= CursorSide - 5) {
        return Black;
    }
    if (diagonal == 0) {
        return White;
    }
    return std::abs(diagonal) == 1 ? Black : Clear;
}

// A vertical bar with a head at its top, for moving tabs.
TBgra TabCursorPixel(int x, int y)
{
    const int fromMiddle = std::abs(2 * x - (CursorSide - 1));
    if (y < 5 && fromMiddle <= 2 * y + 1) {
        return Black;
    }
    return fromMiddle <= 1 ? Black : fromMiddle <= 3 ? White : Clear;
}

constexpr int BrushSide = 8;

// The 16 colours of a 4-bit picture, by index.
constexpr TBgra SixteenColours[16] = {
    {0x00, 0x00, 0x00, 0xFF}, {0x00, 0x00, 0x80, 0xFF}, {0x00, 0x80, 0x00, 0xFF}, {0x00, 0x80, 0x80, 0xFF},
    {0x80, 0x00, 0x00, 0xFF}, {0x80, 0x00, 0x80, 0xFF}, {0x80, 0x80, 0x00, 0xFF}, {0xC0, 0xC0, 0xC0, 0xFF},
    {0x80, 0x80, 0x80, 0xFF}, {0x00, 0x00, 0xFF, 0xFF}, {0x00, 0xFF, 0x00, 0xFF}, {0x00, 0xFF, 0xFF, 0xFF},
    {0xFF, 0x00, 0x00, 0xFF}, {0xFF, 0x00, 0xFF, 0xFF}, {0xFF, 0xFF, 0x00, 0xFF}, {0xFF, 0xFF, 0xFF, 0xFF},
};

// An 8 x 8 brush of 4-bit colours: grey and white in a checkerboard of
// 2 x 2 squares.
TBgra BrushPixel(int x, int y)
{
    constexpr int GreyIndex = 7;
    constexpr int WhiteIndex = 15;
    return SixteenColours[((x / 2 + y / 2) % 2 == 0) ? GreyIndex : WhiteIndex];
}

constexpr TLibraryPicture Bitmaps[] = {
    {"PGMARKERS", MarkerSide * MarkerCount, MarkerSide, {0, 0}, MarkerPixel},
    {"PGOLBRUSH", BrushSide, BrushSide, {0, 0}, BrushPixel},
};

constexpr TLibraryPicture Cursors[] = {
    {"PGLINECURSOR", CursorSide, CursorSide, {CursorSide - 1, 0}, LineCursorPixel},
    {"PGTABCURSOR", CursorSide, CursorSide, {CursorSide / 2, 0}, TabCursorPixel},
};

const TLibraryPicture* FindPicture(std::span<const TLibraryPicture> pictures, std::string_view name)
{
    for (const TLibraryPicture& picture : pictures) {
        if (plat::SameText(picture.Name, name)) {
            return &picture;
        }
    }
    return nullptr;
}

// Fills 32-bit B, G, R, A rows, fetched by rowAt.
template <class TRowAt>
void Paint(const TLibraryPicture& picture, TRowAt rowAt)
{
    for (int y = 0; y < picture.Height; ++y) {
        std::uint8_t* row = rowAt(y);
        for (int x = 0; x < picture.Width; ++x) {
            const TBgra pixel = picture.PixelAt(x, y);
            row[4 * x] = pixel.B;
            row[4 * x + 1] = pixel.G;
            row[4 * x + 2] = pixel.R;
            row[4 * x + 3] = pixel.A;
        }
    }
}

} // namespace

std::unique_ptr<plat::TBitmap> LoadLibraryBitmap(std::string_view Name)
{
    const TLibraryPicture* picture = FindPicture(Bitmaps, Name);
    if (picture == nullptr) {
        return nullptr;
    }
    auto bitmap = std::make_unique<plat::TBitmap>(picture->Width, picture->Height, plat::pf32bit);
    Paint(*picture, [&bitmap](int y) { return bitmap->ScanLine(y); });
    return bitmap;
}

plat::HCURSOR LoadLibraryCursor(std::string_view Name)
{
    const TLibraryPicture* picture = FindPicture(Cursors, Name);
    if (picture == nullptr) {
        return 0;
    }
    auto pixels = std::make_shared<plat::TPixelSurface>(picture->Width, picture->Height, 32);
    Paint(*picture, [&pixels](int y) { return pixels->ScanLine(y); });
    return plat::CreateCursorFromImage({pixels, picture->HotSpot});
}

} // namespace qel
