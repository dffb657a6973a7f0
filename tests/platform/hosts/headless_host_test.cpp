// The headless host: pumping until idle, scripted steps and the idle
// error, the manual clock stopping at each timer, input by control name or
// path, the layout dump, PNG screenshots read back, beeps, the device scale,
// and the smoke form driven as the X server smoke test drives it.
#include "platform/canvas/gdi_objects.h"
#include "platform/canvas/pixel_surface.h"
#include "platform/controls/application.h"
#include "platform/controls/clipboard.h"
#include "platform/controls/window_paint.h"
#include "platform/dialogs.h"
#include "platform/hosts/headless/headless_host.h"
#include "platform/timers.h"
#include "tests/platform/hosts/smoke/smoke_form.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace plat::test {
namespace {

std::string OutputFile(const std::string& name)
{
    const char* dir = std::getenv("QEL_TEST_BINARY_DIR");
    const std::filesystem::path base = dir != nullptr ? std::filesystem::path(dir) / "test_output"
                                                      : std::filesystem::temp_directory_path();
    std::filesystem::create_directories(base);
    return (base / name).string();
}

COLORREF PixelAt(TPixelSurface& pixels, int x, int y)
{
    const std::uint8_t* pixel = pixels.ScanLine(y) + 4 * x;
    return RGB(pixel[2], pixel[1], pixel[0]);
}

class THostTest : public ::testing::Test {
protected:
    explicit THostTest(THeadlessOptions options = {}) : Host(options), App(Host) {}

    smoke::TSmokeForm* NewSmokeForm()
    {
        auto* form = new smoke::TSmokeForm(&App);
        form->Show();
        Host.PumpUntilIdle();
        return form;
    }

    THeadlessHost Host;
    TApplication App;
    TScriptedDialogs Dialogs;
    TScopedDialogs DialogScope{Dialogs};
};

// A window that counts its timer messages.
class TTimerCounter {
public:
    explicit TTimerCounter(TMessageQueue& queue)
        : FWindow(CreateWindowHandle(queue, [this](UINT msg, WPARAM, LPARAM) -> LRESULT {
              Ticks += msg == WM_TIMER ? 1 : 0;
              return 0;
          }, false))
    {
    }
    ~TTimerCounter() { DestroyWindowHandle(FWindow); }
    HWND Window() const { return FWindow; }
    int Ticks = 0;

private:
    HWND FWindow;
};

TEST_F(THostTest, TheClockStopsAtEachTimerOnItsWay)
{
    TTimerCounter counter(App.Queue());
    SetTimer(counter.Window(), 1, 100);
    Host.AdvanceClock(550);
    EXPECT_EQ(counter.Ticks, 5) << "a timer due five times fires five times";
    Host.AdvanceClock(49);
    EXPECT_EQ(counter.Ticks, 5);
    Host.AdvanceClock(1);
    EXPECT_EQ(counter.Ticks, 6);
}

TEST_F(THostTest, ScriptedStepsRunOnlyWhenTheProgramWaitsAndNoneLeftIsAnError)
{
    std::vector<int> order;
    Host.Script([&] { order.push_back(2); });
    Host.Script([&] {
        order.push_back(3);
        App.Terminate();
    });
    PostMessage(App.Handle(), WM_USER, 0, 0);
    order.push_back(1);
    App.Run();
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(Host.ScriptLeft(), 0u);
    Host.SetWorkerWaitMs(0);
    EXPECT_THROW(Host.WaitForWork(App.Queue()), EHeadlessIdle);
}

TEST_F(THostTest, InputFindsControlsByNameOrPathAndTheLayoutDumpListsThem)
{
    smoke::TSmokeForm* form = NewSmokeForm();
    EXPECT_EQ(Host.FindControl("SmokeButton"), form->Button);
    EXPECT_EQ(Host.FindControl("SmokeForm.SmokeEdit"), form->Edit);
    EXPECT_EQ(Host.FindControl("Other.SmokeEdit"), nullptr);
    EXPECT_THROW(Host.PointOf("Missing"), std::invalid_argument);
    EXPECT_EQ(Host.PointOf("SmokeButton"), Point(40 + 10 + 48, 40 + 10 + 14));
    const std::string dump = Host.LayoutDump();
    EXPECT_NE(dump.find("SmokeForm\tTSmokeForm\tbounds=40,40,360,160\tscreen=40,40,360,160\tvisible,enabled"),
              std::string::npos)
        << dump;
    EXPECT_NE(dump.find("  SmokeForm.SmokeButton\tTSmokeButton\tbounds=10,10,106,38\tscreen=50,50,146,78\t"
                        "visible,enabled,focused\ttext=\"&Copy\""),
              std::string::npos)
        << dump;
    EXPECT_NE(dump.find("SmokeForm.SmokeEdit\tTSmokeEdit\tbounds=120,10,300,34\tscreen=162,52,338,72"),
              std::string::npos)
        << "the edit's client area lies inside its edge\n"
        << dump;
}

TEST_F(THostTest, TheSmokeInputsReachTheFormAsOnTheXServer)
{
    smoke::TSmokeForm* form = NewSmokeForm();
    Host.Click("SmokeEdit");
    Host.TypeText("aä€");
    Host.Click("SmokeButton");
    Host.Key(VK_TAB);
    Host.TypeText(" ");
    Host.PumpUntilIdle();
    EXPECT_EQ(form->Report(), "clicks 1\nunits 61 E4 20AC\ntoggle on\n");
    EXPECT_EQ(GetClipboardText(), "smoke text: aä€");
    EXPECT_EQ(form->ActiveControl(), form->Toggle);
}

TEST_F(THostTest, ScreenshotsAreWrittenAsPngAndReadBackTheSame)
{
    smoke::TSmokeForm* form = NewSmokeForm();
    Host.Click("SmokeEdit");
    Host.TypeText("aä€");
    Host.PumpUntilIdle();
    const std::string file = OutputFile("headless_smoke_form.png");
    Host.SaveScreenshot(form->Handle(), file);
    auto capture = Host.Capture(form->Handle());
    cairo_surface_t* read = cairo_image_surface_create_from_png(file.c_str());
    ASSERT_EQ(cairo_surface_status(read), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(read), 320);
    EXPECT_EQ(cairo_image_surface_get_height(read), 120);
    const unsigned char* data = cairo_image_surface_get_data(read);
    const int stride = cairo_image_surface_get_stride(read);
    int differing = 0;
    for (int y = 0; y < 120; ++y) {
        for (int x = 0; x < 320; ++x) {
            const unsigned char* pixel = data + y * stride + 4 * x;
            differing += RGB(pixel[2], pixel[1], pixel[0]) != PixelAt(*capture, x, y) ? 1 : 0;
        }
    }
    cairo_surface_destroy(read);
    EXPECT_EQ(differing, 0);
    Host.SaveScreenshot(form->Handle(), OutputFile("headless_smoke_form_after.png"));
    EXPECT_THROW(THeadlessHost::SavePng(*capture, "/nonexistent-folder/x.png"), std::runtime_error);
}

TEST_F(THostTest, BeepsAreCounted)
{
    smoke::TSmokeForm* form = NewSmokeForm();
    form->Edit->SetFocus();
    const int before = Host.BeepCount();
    Host.Key('Q', ModAlt);
    Host.PumpUntilIdle();
    EXPECT_EQ(Host.BeepCount(), before + 1);
    MessageBeep(0);
    EXPECT_EQ(Host.BeepCount(), before + 2);
}

class TScaledHostTest : public THostTest {
protected:
    TScaledHostTest() : THostTest(THeadlessOptions{Rect(0, 0, 1280, 1024), 2, 10000}) {}
};

TEST_F(TScaledHostTest, TheDeviceScaleDoublesEveryPixel)
{
    smoke::TSmokeForm* form = NewSmokeForm();
    auto capture = Host.Capture(form->Handle());
    ASSERT_NE(capture, nullptr);
    EXPECT_EQ(capture->Width(), 640);
    EXPECT_EQ(capture->Height(), 240);
    EXPECT_EQ(form->Width(), 320) << "bounds stay logical";
    // A fill covers twice the pixels each way.
    HDC dc = GetDC(form->Handle());
    dc->FillRect(Rect(5, 90, 8, 92), CreateSolidBrush(RGB(1, 2, 3)));
    ReleaseDC(form->Handle(), dc);
    capture = Host.Capture(form->Handle());
    EXPECT_EQ(PixelAt(*capture, 10, 180), RGB(1, 2, 3));
    EXPECT_EQ(PixelAt(*capture, 15, 183), RGB(1, 2, 3));
    EXPECT_NE(PixelAt(*capture, 16, 180), RGB(1, 2, 3));
    EXPECT_NE(PixelAt(*capture, 10, 184), RGB(1, 2, 3));
    Host.SaveScreenshot(form->Handle(), OutputFile("headless_smoke_form_scale2.png"));
}

} // namespace
} // namespace plat::test
