// The chart palette and default canvas class name with their start-up and shutdown.
// The hand cursor's image is in chart_hand_cursor.cpp.
#include "widgets/chart/chart_defaults.h"

namespace qel {

TColorArray ChartColorPalette;
std::string ChartDefaultCanvasClassName;

void SetChartPalette(std::span<const TColor> Colors)
{
    if (Colors.empty()) {
        SetDefaultChartPalette();
        return;
    }
    ChartColorPalette.assign(Colors.begin(), Colors.end());
}

void SetDefaultChartPalette()
{
    SetChartPalette(ChartDefaultPalette);
}

void InitChartDefaults()
{
    ChartDefaultCanvasClassName = "TSmoothCanvas";
    SetDefaultChartPalette();
}

void FinalizeChartDefaults()
{
    ChartColorPalette.clear();
    ChartDefaultCanvasClassName.clear();
}

} // namespace qel
