// The two display fonts a chart may offer besides the system's: an
// LCD-style and an LED-style family carried by the program as raw font
// resources and registered for this process only. The program ships
// neither file, so nothing is registered unless a resource was given.
#pragma once

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

// Registers the resource Name as a private font of the process; its handle,
// 0 when there is no such resource or the bytes are no font.
int LoadFontResource(const std::string& Name);

// Registers both fonts; the hook offers their family names once at least
// one of them is registered.
void RegisterEmbeddedFonts();
// Removes the registered fonts and the hook.
void UnregisterEmbeddedFonts();
// Handles of the registered fonts, 0 for none.
int EmbeddedLcdFontHandle();
int EmbeddedLedFontHandle();

// Adds the families "Elektra" and "DS-Digital".
void AddEmbeddedFontNames(plat::TStrings& Strings);

} // namespace qel
