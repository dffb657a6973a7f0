// The bench of the GTK host's window tests: a host on the X display, an
// application on it and a shown form whose window takes its input-method
// context from the maker the test gives; pumps GTK and the program.
#pragma once

#include "platform/controls/application.h"
#include "platform/controls/form.h"
#include "platform/hosts/gtk/gtk_host.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <functional>

namespace plat::test {

class TGtkFormTest : public ::testing::Test {
protected:
    explicit TGtkFormTest(std::function<GtkIMContext*()> makeIm);

    // Lets GTK and the program handle everything that waits.
    void Pump();
    // Pumps until done() holds; false after 5 s.
    bool WaitUntil(const std::function<bool()>& done);
    // The GDK window that shows the form.
    GdkWindow* FormWindow();

    TGtkHost Host;
    TApplication App{Host};
    TForm* Form = nullptr;
    GtkIMContext* Im = nullptr;   // the form window's; owned by the host
};

} // namespace plat::test
