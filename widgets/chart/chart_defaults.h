// Library-wide chart defaults: the default and current colour palette, the
// name of the default canvas class and the hand cursor in the screen's
// cursor table, set up at start-up and cleared at shutdown.
#pragma once

#include "widgets/chart/chart_colors.h"

#include <array>
#include <span>
#include <string>

namespace qel {

constexpr std::array<TColor, 20> ChartDefaultPalette = {
    clRed,    clGreen,  clYellow, clBlue,   clWhite,  clGray,   clFuchsia,
    clTeal,   clNavy,   clMaroon, clLime,   clOlive,  clPurple, clSilver,
    clAqua,   clBlack,  clMoneyGreen, clSkyBlue, clCream, clMedGray,
};

// The current palette; empty before InitChartDefaults and after FinalizeChartDefaults.
extern TColorArray ChartColorPalette;

// "TSmoothCanvas" after start-up; names no class of this program.
extern std::string ChartDefaultCanvasClassName;

// The palette becomes a copy of Colors; no colours restores the default palette.
void SetChartPalette(std::span<const TColor> Colors);

void SetDefaultChartPalette();

// The class name, the palette, and the hand cursor resource entered in the
// screen's cursor table under ChartHandCursor.
void InitChartDefaults();
// The palette emptied, the hand cursor taken out, the class name cleared.
void FinalizeChartDefaults();

} // namespace qel
