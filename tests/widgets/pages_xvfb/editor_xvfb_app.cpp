// An editable paragraph editor in a real window on the GTK host, for the X
// server smoke test of the editor (scripts/editor-xvfb drives it with
// xdotool and reads the clipboard with xclip). The form "QEL editor" holds
// one editor with the keyboard; closing the form ends the program. On every
// change the editor's text goes to the log it is given, one line each time:
//   text <the editor's text>
#include "widgets/pages/pgc_base_unit.h"
#include "widgets/pages/pgc_editor.h"

#include "platform/controls/application.h"
#include "platform/hosts/gtk/gtk_host.h"

#include <exception>
#include <fstream>
#include <iostream>

namespace {

int Run(std::ofstream& log, int& argc, char**& argv)
{
    plat::TGtkHost host(argc, argv);
    plat::TApplication application(host);
    qel::InitPgcBaseUnit();
    application.SetTitle("QEL editor");
    auto* main = application.CreateForm<plat::TForm>();
    main->SetCaption("QEL editor");
    main->SetBounds(100, 100, 480, 240);
    auto* editor = new qel::TPgcEditor(main);
    editor->SetParent(main);
    editor->SetBounds(10, 10, 440, 180);
    editor->OnChange = [&log, editor](plat::TObject*) { log << "text " << editor->Text() << std::endl; };
    main->Show();
    editor->SetFocus();
    log << "ready" << std::endl;
    application.Run();
    qel::FinalizePgcBaseUnit();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << "usage: qel_editor_xvfb <log>\n";
        return 2;
    }
    std::ofstream log(argv[1]);
    try {
        return Run(log, argc, argv);
    } catch (const std::exception& error) {
        std::cerr << "qel_editor_xvfb: " << error.what() << "\n";
        return 1;
    }
}
