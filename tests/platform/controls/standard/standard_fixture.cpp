// The bench of the standard-control tests.
#include "tests/platform/controls/standard/standard_fixture.h"

#include "platform/canvas/pixel_surface.h"

#include <cstdlib>
#include <sstream>

namespace plat::test {

void TStandardTest::Shot(HWND topLevel, const std::string& name)
{
    const char* folder = std::getenv("QEL_SCREENSHOT_DIR");
    if (folder == nullptr || *folder == '\0') {
        return;
    }
    Pump();
    Host.SaveScreenshot(topLevel, std::string(folder) + "/" + name + ".png");
}

namespace {

TColor ScreenPixelOf(TPixelSurface& pixels, TPoint point)
{
    const std::uint8_t* pixel = pixels.ScanLine(point.Y) + 4 * point.X;
    return static_cast<TColor>(pixel[2] | (pixel[1] << 8) | (pixel[0] << 16));
}

} // namespace

TColor TStandardTest::ScreenPixel(TPoint screen)
{
    Pump();
    const auto pixels = Host.CaptureScreen();
    return ScreenPixelOf(*pixels, screen);
}

TRect TStandardTest::DumpedBounds(const std::string& path)
{
    Pump();
    std::istringstream lines(Host.LayoutDump());
    std::string line;
    while (std::getline(lines, line)) {
        const std::size_t start = line.find_first_not_of(' ');
        const std::size_t tab = line.find('\t');
        if (start == std::string::npos || tab == std::string::npos || line.substr(start, tab - start) != path) {
            continue;
        }
        const std::size_t bounds = line.find("bounds=");
        TRect rect;
        char comma = 0;
        std::istringstream numbers(line.substr(bounds + 7));
        numbers >> rect.Left >> comma >> rect.Top >> comma >> rect.Right >> comma >> rect.Bottom;
        return rect;
    }
    ADD_FAILURE() << "no " << path << " in the layout dump";
    return TRect{};
}

void TStandardTest::ClickAt(TControl* control, TPoint client, THostButton button)
{
    const TPoint screen = control->ClientToScreen(client);
    Host.MouseMove(screen);
    Host.Click(screen, button);
    Pump();
}

} // namespace plat::test
