// The chart library's resources entered in the program's resource tables.
#include "widgets/chart/chart_resources.h"

#include "widgets/chart/chart_hand_cursor.h"
#include "widgets/chart/embedded_fonts.h"

#include "platform/canvas/pixel_surface.h"
#include "platform/controls/cursors.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

namespace qel {

namespace {

// The hand cursor's picture: 32-bit pixels, transparent where the image
// is empty.
std::shared_ptr<const plat::TPixelSurface> HandCursorPixels()
{
    const TChartCursorImage& Image = ChartHandCursorImage();
    auto Pixels = std::make_shared<plat::TPixelSurface>(TChartCursorImage::Width, TChartCursorImage::Height, 32);
    for (int Y = 0; Y < TChartCursorImage::Height; ++Y) {
        std::uint8_t* Row = Pixels->ScanLine(Y);
        for (int X = 0; X < TChartCursorImage::Width; ++X) {
            std::uint8_t* Pixel = Row + static_cast<std::ptrdiff_t>(X) * 4;
            const TCursorPixel Kind = Image.PixelAt(X, Y);
            const std::uint8_t Value = Kind == TCursorPixel::White ? 255 : 0;
            Pixel[0] = Value;
            Pixel[1] = Value;
            Pixel[2] = Value;
            Pixel[3] = Kind == TCursorPixel::Transparent ? 0 : 255;
        }
    }
    return Pixels;
}

std::vector<std::uint8_t> FileBytes(const char* Path)
{
    std::ifstream File(Path, std::ios::binary);
    return {std::istreambuf_iterator<char>(File), std::istreambuf_iterator<char>()};
}

} // namespace

void RegisterChartResources()
{
    const TChartCursorImage& Image = ChartHandCursorImage();
    plat::RegisterCursorResource(ChartHandCursorResource, {HandCursorPixels(), {Image.HotSpotX, Image.HotSpotY}});
    SetFontResource(LcdFontResource, FileBytes(LcdFontFile));
    SetFontResource(LedFontResource, FileBytes(LedFontFile));
}

} // namespace qel
