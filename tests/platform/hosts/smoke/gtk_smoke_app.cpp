// The smoke form on the GTK host, for the X server smoke test. It writes
// into the folder it is given: layout.txt (once it shows), print.pdf (one
// page printed through the canvas), events.txt (every input as it came),
// report.txt (what the controls received, whenever it has handled all its
// messages) and, when its window is closed, render.png (its own picture).
#include "platform/canvas/canvas.h"
#include "platform/canvas/pixel_surface.h"
#include "platform/clock.h"
#include "platform/controls/application.h"
#include "platform/controls/layout_dump.h"
#include "platform/controls/window_paint.h"
#include "platform/hosts/gtk/gtk_host.h"
#include "platform/timers.h"
#include "tests/platform/hosts/smoke/smoke_events.h"
#include "tests/platform/hosts/smoke/smoke_form.h"

#include <exception>
#include <fstream>
#include <iostream>

namespace {

constexpr plat::UINT_PTR ShownTimer = 1;
constexpr unsigned ShownDelayMs = 300;

void WriteText(const std::string& file, const std::string& text)
{
    std::ofstream out(file);
    out << text;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << "usage: qel_gtk_smoke <output folder>\n";
        return 2;
    }
    const std::string folder = argv[1];
    try {
        plat::TGtkHost host(argc, argv);
        plat::TApplication application(host);
        application.SetTitle("KORVEL smoke");
        auto* form = application.CreateForm<plat::smoke::TSmokeForm>();
        std::ofstream events(folder + "/events.txt");
        const std::int64_t start = plat::Clock().NowMs();
        host.SetInputRecorder([&](plat::HWND, const plat::TQueuedInput& input) {
            const plat::TPoint origin = form->ClientOrigin();
            plat::smoke::TRecordedInput recorded{plat::Clock().NowMs() - start, input};
            recorded.Input.X = plat::Minus(input.X, origin.X);
            recorded.Input.Y = plat::Minus(input.Y, origin.Y);
            plat::smoke::WriteRecordedInput(events, recorded);
        });
        form->OnClose = [&](plat::TObject*, plat::TCloseAction&) {
            if (auto pixels = plat::ComposeTopLevelWindow(form->Handle())) {
                pixels->SaveToPng(folder + "/render.png");
            }
            WriteText(folder + "/report.txt", form->Report());
        };
        std::string reported;
        application.OnIdle = [&](plat::TObject*, bool&) {
            if (form->Report() != reported) {
                reported = form->Report();
                WriteText(folder + "/report.txt", reported);
            }
        };
        // Once the form has shown: its layout, and one page printed.
        plat::HWND helper = 0;
        helper = plat::CreateWindowHandle(
            application.Queue(),
            [&](plat::UINT msg, plat::WPARAM, plat::LPARAM) -> plat::LRESULT {
                if (msg == plat::WM_TIMER) {
                    plat::KillTimer(helper, ShownTimer);
                    host.Print(form->Handle(), "QEL smoke", 1,
                               [](plat::TCanvas& canvas, int, const plat::TRect&) {
                                   canvas.TextOut(96, 96, "QEL smoke page");
                               },
                               folder + "/print.pdf");
                    WriteText(folder + "/layout.txt", plat::DumpLayout());
                }
                return 0;
            },
            false);
        form->Show();
        plat::SetTimer(helper, ShownTimer, ShownDelayMs);
        application.Run();
        plat::DestroyWindowHandle(helper);
    } catch (const std::exception& error) {
        std::cerr << "qel_gtk_smoke: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
