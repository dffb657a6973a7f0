// The chart canvas unit's variables and its colour and bitmap-size routines.
#include "widgets/chart/chart_canvas_unit.h"

#include "platform/canvas/bitmap.h"

namespace qel {

bool ThinPenWidthZero = false;
std::string DefaultFontName;
int DefaultFontSize = 0;
std::unique_ptr<std::vector<plat::TClass>> CanvasClassList;
TEmbeddedFontsHook EmbeddedFontsHook = nullptr;

std::uint8_t* ColorToRGBTriple(std::uint8_t* Buffer, TColor Color)
{
    Buffer[0] = static_cast<std::uint8_t>(Color >> 16);
    Buffer[1] = static_cast<std::uint8_t>(Color >> 8);
    Buffer[2] = static_cast<std::uint8_t>(Color);
    return Buffer;
}

void SetBitmapSize(plat::TBitmap& Bitmap, int Width, int Height)
{
    if (Bitmap.Width() != Width || Bitmap.Height() != Height) {
        Bitmap.SetSize(Width, Height);
    }
}

} // namespace qel
