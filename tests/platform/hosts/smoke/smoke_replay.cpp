// The check of the X server smoke test: replays the recorded input on the
// headless host with the smoke form and compares, pixel for pixel, the
// replay's picture with the form's own render on the X server and with the
// X server's capture of the window; the controls' reports must agree too.
// Exit code 0 when everything matches.
#include "platform/canvas/pixel_surface.h"
#include "platform/controls/application.h"
#include "platform/controls/window_paint.h"
#include "platform/dialogs.h"
#include "platform/hosts/headless/headless_host.h"
#include "tests/platform/hosts/smoke/smoke_events.h"
#include "tests/platform/hosts/smoke/smoke_form.h"

#include <cairo.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

namespace {

using namespace plat;

std::string ReadText(const std::string& file)
{
    std::ifstream in(file);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Compares a PNG with the pixels; prints what differs. True when equal.
bool SamePicture(const std::string& file, TPixelSurface& pixels)
{
    cairo_surface_t* png = cairo_image_surface_create_from_png(file.c_str());
    if (cairo_surface_status(png) != CAIRO_STATUS_SUCCESS) {
        std::cerr << file << ": cannot read\n";
        cairo_surface_destroy(png);
        return false;
    }
    const int width = cairo_image_surface_get_width(png);
    const int height = cairo_image_surface_get_height(png);
    if (width != pixels.Width() || height != pixels.Height()) {
        std::cerr << file << ": " << width << " x " << height << ", the replay " << pixels.Width() << " x "
                  << pixels.Height() << '\n';
        cairo_surface_destroy(png);
        return false;
    }
    const unsigned char* data = cairo_image_surface_get_data(png);
    const int stride = cairo_image_surface_get_stride(png);
    long differing = 0;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = pixels.ScanLine(y);
        for (int x = 0; x < width; ++x) {
            const unsigned char* theirs = data + y * stride + 4 * x;
            if (std::memcmp(theirs, row + 4 * x, 3) != 0) {
                if (differing == 0) {
                    std::cerr << file << ": first difference at " << x << ", " << y << '\n';
                }
                ++differing;
            }
        }
    }
    cairo_surface_destroy(png);
    if (differing != 0) {
        std::cerr << file << ": " << differing << " pixels differ\n";
    }
    return differing == 0;
}

bool IsPointerInput(THostInputKind kind)
{
    return kind == THostInputKind::MouseMove || kind == THostInputKind::ButtonDown ||
           kind == THostInputKind::ButtonUp || kind == THostInputKind::Wheel ||
           kind == THostInputKind::HorizontalWheel || kind == THostInputKind::PointerLeft;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::cerr << "usage: qel_smoke_replay <smoke output folder> <device scale>\n";
        return 2;
    }
    const std::string folder = argv[1];
    const int scale = std::atoi(argv[2]);
    THeadlessOptions options;
    options.DeviceScale = scale;
    THeadlessHost host(options);
    TApplication application(host);
    TScriptedDialogs dialogs;
    TScopedDialogs dialogScope(dialogs);
    auto* form = application.CreateForm<smoke::TSmokeForm>();
    form->Show();
    host.PumpUntilIdle();

    std::ifstream events(folder + "/events.txt");
    std::int64_t last = 0;
    while (const auto recorded = smoke::ReadRecordedInput(events)) {
        TQueuedInput input = recorded->Input;
        // Where the window sits and whether the X server focused it play no part here.
        if (input.Kind == THostInputKind::Moved || input.Kind == THostInputKind::Activated ||
            input.Kind == THostInputKind::Deactivated) {
            continue;
        }
        host.AdvanceClock(std::max<std::int64_t>(recorded->TimeMs - last, 0));
        last = std::max(last, recorded->TimeMs);
        if (IsPointerInput(input.Kind)) {
            const TPoint origin = form->ClientOrigin();
            input.X = Plus(input.X, origin.X);
            input.Y = Plus(input.Y, origin.Y);
        }
        PostHostInput(form->Handle(), input);
        host.PumpUntilIdle();
    }
    bool matches = true;
    const std::string report = form->Report();
    const std::string theirs = ReadText(folder + "/report.txt");
    if (report != theirs) {
        std::cerr << "reports differ:\n--- X server\n" << theirs << "--- replay\n" << report;
        matches = false;
    }
    std::cout << report;
    auto pixels = ComposeTopLevelWindow(form->Handle());
    pixels->SaveToPng(folder + "/replay.png");
    matches = SamePicture(folder + "/render.png", *pixels) && matches;
    matches = SamePicture(folder + "/capture.png", *pixels) && matches;
    return matches ? 0 : 1;
}
