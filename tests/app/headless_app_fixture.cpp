// The bench of the application's window tests.
#include "tests/app/headless_app_fixture.h"

#include "platform/canvas/pixel_surface.h"
#include "platform/resource_strings.h"

#include <cstdlib>

namespace qel::test {

THeadlessAppTest::THeadlessAppTest()
{
    plat::FormatSettings() = plat::TFormatSettings{};
    App.SetTitle("QEL test");
    Main = App.CreateForm<plat::TForm>();
    Main->SetName("Main");
    Main->SetBounds(100, 100, 600, 400);
    Main->Show();
    Pump();
}

THeadlessAppTest::~THeadlessAppTest()
{
    plat::RestoreResStrings();
}

void THeadlessAppTest::Shot(plat::HWND TopLevel, const std::string& Name)
{
    const char* folder = std::getenv("QEL_SCREENSHOT_DIR");
    if (folder == nullptr || *folder == '\0') {
        return;
    }
    Pump();
    Host.SaveScreenshot(TopLevel, std::string(folder) + "/" + Name + ".png");
}

plat::TColor THeadlessAppTest::WindowPixel(plat::HWND TopLevel, plat::TPoint Point)
{
    Pump();
    const auto pixels = Host.Capture(TopLevel);
    const std::uint8_t* pixel = pixels->ScanLine(Point.Y) + 4 * Point.X;
    return static_cast<plat::TColor>(pixel[2] | (pixel[1] << 8) | (pixel[0] << 16));
}

void THeadlessAppTest::ClickOn(plat::TControl* Control)
{
    const plat::TPoint centre = Control->ClientToScreen(plat::Point(Control->ClientWidth() / 2, Control->ClientHeight() / 2));
    Host.MouseMove(centre);
    Host.Click(centre);
}

} // namespace qel::test
