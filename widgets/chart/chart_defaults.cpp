// The chart palette, the default canvas class name and the hand cursor with
// their start-up and shutdown. The hand cursor's image is in
// chart_hand_cursor.cpp.
#include "widgets/chart/chart_defaults.h"

#include "widgets/chart/chart_hand_cursor.h"
#include "widgets/chart/chart_resources.h"

#include "platform/controls/cursors.h"
#include "platform/controls/screen.h"

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

namespace {

plat::HCURSOR HandCursor = 0;   // the cursor entered under ChartHandCursor

} // namespace

void InitChartDefaults()
{
    ChartDefaultCanvasClassName = "TSmoothCanvas";
    SetDefaultChartPalette();
    // Without the resource the handle is 0, which only clears the number.
    HandCursor = plat::LoadCursorResource(ChartHandCursorResource);
    plat::SetScreenCursors(ChartHandCursor, HandCursor);
}

void FinalizeChartDefaults()
{
    ChartColorPalette.clear();
    plat::SetScreenCursors(ChartHandCursor, 0);
    if (HandCursor != 0) {
        plat::DestroyCursor(HandCursor);
        HandCursor = 0;
    }
    ChartDefaultCanvasClassName.clear();
}

} // namespace qel
