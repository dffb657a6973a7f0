// The date and time popup on the GTK host, for the X server test of the
// popup (scripts/date-time-input-xvfb drives it with xdotool). A main form
// with a time field stands for the main window; the popup opens twice under
// the field, and the program writes one line a fact into the log it is
// given:
//   main <x> <y>       the popup's expected screen point, before it opens
//   first <r> <time>   the first popup's result and time (1.5 before)
//   second <r> <time>  the second's
#include "app/date_time_input.h"
#include "app/validate_edit.h"
#include "platform/controls/application.h"
#include "platform/date_time.h"
#include "platform/hosts/gtk/gtk_host.h"

#include <exception>
#include <fstream>
#include <iostream>

namespace {

int Run(std::ofstream& log, int& argc, char**& argv)
{
    plat::TGtkHost host(argc, argv);
    plat::TApplication application(host);
    application.SetTitle("QEL date input");
    auto* main = application.CreateForm<plat::TForm>();
    main->SetCaption("QEL main");
    main->SetBounds(100, 100, 480, 300);
    auto* field = new qel::TValidateEdit(main);
    field->SetMode(qel::vmFloat);
    field->SetBounds(40, 60, 120, 21);
    field->SetParent(main);
    main->Show();
    application.ProcessMessages();

    const plat::TPoint under = main->ClientToScreen(plat::Point(field->Left(), field->Top() + field->Height()));
    log << "main " << under.X << " " << under.Y << std::endl;
    const double start = plat::EncodeDate(2024, 3, 10);
    for (const char* round : {"first", "second"}) {
        double time = 1.5;
        const int result = qel::ExecuteDateInput(under, start, time);
        log << round << " " << result << " " << time << std::endl;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << "usage: qel_date_time_input_xvfb <log>\n";
        return 2;
    }
    std::ofstream log(argv[1]);
    try {
        return Run(log, argc, argv);
    } catch (const std::exception& error) {
        std::cerr << "qel_date_time_input_xvfb: " << error.what() << "\n";
        return 1;
    }
}
