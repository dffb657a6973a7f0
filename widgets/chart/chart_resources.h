// The resources the program carries for the chart library, entered in the
// program's resource tables by name: the hand cursor's picture and the two
// display fonts. The fonts are free seven- and fourteen-segment families
// read from the system's font package, standing in for the LCD and LED
// fonts the library was made with.
#pragma once

namespace qel {

inline constexpr const char* ChartHandCursorResource = "CHT_CURSOR_HAND";

// The files that stand in for the LCD-style and the LED-style font.
inline constexpr const char* LcdFontFile = "/usr/share/fonts/truetype/dseg/DSEG14Classic-Regular.ttf";
inline constexpr const char* LedFontFile = "/usr/share/fonts/truetype/dseg/DSEG7Classic-Regular.ttf";

// Enters the hand cursor, and each display font whose file can be read.
void RegisterChartResources();

} // namespace qel
