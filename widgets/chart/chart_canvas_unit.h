// Shared state of the chart canvas unit and its two small bitmap routines:
// the colour-to-pixel byte order and a resize that keeps a bitmap of the
// right size untouched. The unit's set-up and its embedded fonts fill the
// variables declared here.
#pragma once

#include "widgets/chart/chart_colors.h"

#include "platform/objects/object.h"

#include <cstdint>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

namespace plat {
class TBitmap;
class TStrings;
} // namespace plat

namespace qel {

// Our canvas always has extended pens, as the platform family that this
// switch names did.
constexpr bool IsNTPlatform = true;

// Read by pen realisation; nothing in the program sets it.
extern bool ThinPenWidthZero;

constexpr double DegToRad = std::numbers::pi / 180.0;

// The default chart font; empty and 0 until the unit's set-up.
extern std::string DefaultFontName;
extern int DefaultFontSize;

// The canvas classes a chart may draw with; none until the unit's set-up.
extern std::unique_ptr<std::vector<plat::TClass>> CanvasClassList;

// Adds the embedded font families to a font list while they are registered.
using TEmbeddedFontsHook = void (*)(plat::TStrings& Strings);
extern TEmbeddedFontsHook EmbeddedFontsHook;

// Sets the default font from the chart texts (which must be set up),
// registers the embedded fonts and lists the canvas classes.
void InitChartCanvas();
// Unregisters the embedded fonts, frees the class list and forgets the
// default font name.
void FinalizeChartCanvas();

// Writes Color as a 24-bit pixel (blue, green, red) into Buffer[0..2] and
// answers Buffer.
std::uint8_t* ColorToRGBTriple(std::uint8_t* Buffer, TColor Color);

// Sizes Bitmap only when its width or height differs, so a bitmap that
// already has the size keeps its pixels.
void SetBitmapSize(plat::TBitmap& Bitmap, int Width, int Height);

} // namespace qel
