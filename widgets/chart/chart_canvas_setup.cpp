// Start and end of the chart canvas unit: the default font, the embedded
// display fonts and the list of canvas classes.
#include "widgets/chart/chart_canvas_unit.h"

#include "widgets/chart/chart_font.h"
#include "widgets/chart/cht_canvas3d.h"
#include "widgets/chart/embedded_fonts.h"

namespace qel {

void InitChartCanvas()
{
    InitDefaultFont();
    RegisterEmbeddedFonts();
    CanvasClassList = std::make_unique<std::vector<plat::TClass>>(1, TChtCanvas3D::StaticClass());
}

void FinalizeChartCanvas()
{
    UnregisterEmbeddedFonts();
    CanvasClassList.reset();
    DefaultFontName.clear();
}

} // namespace qel
