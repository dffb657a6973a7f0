// The two display fonts a chart may offer besides the system's: an
// LCD-style and an LED-style family carried by the program as raw font
// resources and registered for this process only, when the graphics
// library has the calls for private fonts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace plat {
class TStrings;
} // namespace plat

namespace qel {

// Resource names of the two font files.
inline constexpr const char* LcdFontResource = "CHTLCDFONT";
inline constexpr const char* LedFontResource = "CHTLEDFONT";

// Gives the program a raw font resource under Name (replacing one of the
// same name); empty Bytes remove it.
void SetFontResource(const std::string& Name, std::vector<std::uint8_t> Bytes);

// The private-font calls the graphics library exports; either may be
// missing (nullptr).
struct TFontMemoryCalls {
    int (*Add)(const void* Data, std::size_t Size, int* FontCount) = nullptr;
    bool (*Remove)(int Handle) = nullptr;
};
// The canvas's own calls unless a test takes them away.
extern TFontMemoryCalls GraphicsFontCalls;

// Registers the resource Name as a private font of the process; its handle,
// 0 when there is no such resource or the bytes are no font.
int LoadFontResource(const std::string& Name);

// With the library's call for adding private fonts: registers both fonts
// (a missing resource or bytes that are no font leave a handle at 0) and
// sets the hook; without it the hook stays nullptr.
void RegisterEmbeddedFonts();
// Clears the hook; with the library's call for removing private fonts,
// removes the registered ones.
void UnregisterEmbeddedFonts();
// Handles of the registered fonts, 0 for none.
int EmbeddedLcdFontHandle();
int EmbeddedLedFontHandle();

// Adds the families "Elektra" and "DS-Digital".
void AddEmbeddedFontNames(plat::TStrings& Strings);

} // namespace qel
