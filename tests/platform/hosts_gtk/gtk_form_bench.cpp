// The GTK form bench: the host made with the program's name as its only
// argument, the form shown and waited for until the X server shows it.
#include "tests/platform/hosts_gtk/gtk_form_bench.h"

#include <chrono>

namespace plat::test {

namespace {

char ProgramName[] = "test_gtk_host";
char* ProgramArgs[] = {ProgramName, nullptr};
int ArgCount = 1;
char** Args = ProgramArgs;

} // namespace

TGtkFormTest::TGtkFormTest(std::function<GtkIMContext*()> makeIm) : Host(ArgCount, Args)
{
    Host.SetInputMethodMaker([this, makeIm] {
        Im = makeIm();
        return Im;
    });
    Form = App.CreateForm<TForm>();
    Form->SetBounds(60, 40, 320, 200);
    Form->Show();
    EXPECT_TRUE(WaitUntil([this] {
        GdkWindow* window = FormWindow();
        return window != nullptr && gdk_window_is_viewable(window);
    })) << "the form shows";
}

void TGtkFormTest::Pump()
{
    for (int round = 0; round < 3; ++round) {
        while (g_main_context_iteration(nullptr, FALSE)) {
        }
        App.ProcessMessages();
    }
}

bool TGtkFormTest::WaitUntil(const std::function<bool()>& done)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done()) {
        if (std::chrono::steady_clock::now() > until) {
            return false;
        }
        Pump();
        g_usleep(2000);
    }
    return true;
}

GdkWindow* TGtkFormTest::FormWindow()
{
    GtkWindow* window = Host.NativeWindow(Form->Handle());
    return window != nullptr ? gtk_widget_get_window(GTK_WIDGET(window)) : nullptr;
}

} // namespace plat::test
