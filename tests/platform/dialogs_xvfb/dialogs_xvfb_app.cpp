// The message box and the file chooser on the GTK host, for the X server
// test of the dialogs (scripts/dialogs-xvfb drives it with xdotool). It
// shows one dialog over a 400 x 300 main form (300 x 200 at the least) and
// writes what happened, one line a fact, into the log it is given:
//   message <log>          the pointer to 123,145, then a Yes/No box with Yes
//                          the default: "result <button>"
//   save <log> <folder>    a save dialog for "*.qrec" files starting in the
//                          folder: "box <text>" for every box on the way, then
//                          "confirmed <name>" or "cancelled <name>"
//   folder <log> <folder>  a folder browser "Choose a folder" starting in the
//                          folder: "confirmed <folder>" or "cancelled", then
//                          "main enabled <0|1>"
//   colour <log>           the colour dialog starting at red: "confirmed
//                          <colour>" or "cancelled <colour>" (0xBBGGRR, decimal)
//   menu <log>             an edit with a context menu: "edit <x> <y>" (its
//                          centre on the screen) once it shows, "menu open"
//                          and "menu closed" around each time the menu shows,
//                          "chosen <item>" for an item run; after the second
//                          time "text <the edit's text>", and the program ends
#include "platform/controls/application.h"
#include "platform/controls/dialogs/standard_dialogs.h"
#include "platform/controls/standard/custom_edit.h"
#include "platform/controls/standard/menu_item.h"
#include "platform/controls/standard/popup_menu.h"
#include "platform/controls/window_input.h"
#include "platform/hosts/gtk/color_chooser.h"
#include "platform/hosts/gtk/file_chooser.h"
#include "platform/hosts/gtk/gtk_host.h"

#include <exception>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>

namespace {

// The standard dialogs, noting each message box in the log before it shows.
class TLoggedDialogs : public plat::TStandardDialogs {
public:
    TLoggedDialogs(plat::IFileChooser& chooser, plat::IColorChooser& colours, std::ofstream& log)
        : TStandardDialogs(&chooser, &colours), FLog(log)
    {
    }

    plat::TModalResult MessageBox(const std::string& text, const std::string& caption, plat::TMsgDlgType type,
                                  plat::TMsgDlgButtons buttons, plat::TMsgDlgBtn defaultButton) override
    {
        FLog << "box " << text.substr(0, text.find('\n')) << std::endl;
        return TStandardDialogs::MessageBox(text, caption, type, buttons, defaultButton);
    }

private:
    std::ofstream& FLog;
};

// A context menu that notes in the log when it opens and when it has closed.
class TLoggedMenu : public plat::TPopupMenu {
public:
    TLoggedMenu(plat::TComponent* owner, std::ofstream& log) : TPopupMenu(owner), FLog(log) {}
    int Shown = 0;
    std::function<void()> OnClosed;

    void PopupFor(plat::TComponent* popupComponent, plat::TPoint screenPoint) override
    {
        FLog << "menu open" << std::endl;
        TPopupMenu::PopupFor(popupComponent, screenPoint);
        FLog << "menu closed" << std::endl;
        ++Shown;
        if (OnClosed) {
            OnClosed();
        }
    }

private:
    std::ofstream& FLog;
};

// An edit whose context menu pastes what another program copied; the
// second time the menu closes, the program ends.
void BuildMenuForm(plat::TForm* main, std::ofstream& log)
{
    auto* edit = new plat::TEdit(main);
    edit->SetName("Edit");
    edit->SetBounds(20, 20, 200, 21);
    edit->SetParent(main);
    auto* menu = new TLoggedMenu(main, log);
    for (const char* caption : {"&Paste", "-", "&Disabled", "&Report"}) {
        auto* item = new plat::TMenuItem(menu);
        item->SetCaption(caption);
        item->OnClick = [&log, item, edit](plat::TObject*) {
            log << "chosen " << item->Caption() << std::endl;
            if (item->Caption() == "&Paste") {
                edit->PasteFromClipboard();
            }
        };
        menu->Items().Add(item);
    }
    menu->Items().Items(2)->SetEnabled(false);
    edit->SetPopupMenu(menu);
    menu->OnClosed = [&log, menu, edit, main] {
        if (menu->Shown == 2) {
            log << "text " << edit->Text() << std::endl;
            main->Close();
        }
    };
    const plat::TPoint centre = edit->ClientToScreen(plat::Point(edit->Width() / 2, edit->Height() / 2));
    log << "edit " << centre.X << " " << centre.Y << std::endl;
}

int Run(const std::string& mode, std::ofstream& log, const std::string& folder, int& argc, char**& argv)
{
    plat::TGtkHost host(argc, argv);
    plat::TApplication application(host);
    application.SetTitle("QEL dialogs");
    auto* main = application.CreateForm<plat::TForm>();
    main->SetCaption("QEL dialogs");
    main->SetBounds(100, 100, 400, 300);
    // The user may make it smaller, down to its limits: the window's size
    // hints say so.
    main->SetConstraints(plat::TSizeConstraints{300, 200, 0, 0});
    main->Show();
    application.ProcessMessages();
    plat::TGtkFileChooser chooser;
    plat::TGtkColorChooser colours;
    TLoggedDialogs dialogs(chooser, colours, log);
    if (mode == "message") {
        // The pointer goes where the program says, on the screen too.
        plat::SetCursorPos(123, 145);
        const plat::TModalResult result = dialogs.MessageBox("Should all containers be read?", "",
                                                             plat::mtConfirmation, {plat::mbYes, plat::mbNo},
                                                             plat::mbYes);
        log << "result " << (result == plat::mrYes ? "Yes" : result == plat::mrNo ? "No" : "other") << std::endl;
        return 0;
    }
    if (mode == "save") {
        plat::TFileDialogOptions options;
        options.Filter = "QEL-Pro file (*.qrec)|*.qrec";
        options.DefaultExt = "qrec";
        options.InitialDir = folder;
        options.OverwritePrompt = true;
        const plat::TFileDialogResult result = dialogs.SaveFileDialog(options);
        log << (result.Confirmed ? "confirmed " : "cancelled ") << result.FileName << std::endl;
        return 0;
    }
    if (mode == "folder") {
        plat::TFolderDialogOptions options;
        options.Caption = "Choose a folder";
        options.StartFolder = folder;
        const plat::TFolderDialogResult result = dialogs.SelectFolderDialog(options);
        log << (result.Confirmed ? "confirmed " + result.Folder : std::string("cancelled")) << std::endl;
        log << "main enabled " << plat::IsWindowEnabled(main->Handle()) << std::endl;
        return 0;
    }
    if (mode == "colour") {
        const plat::TColorDialogResult result = dialogs.ColorDialog({0x0000FF, {0x0000FF}});
        log << (result.Confirmed ? "confirmed " : "cancelled ") << result.Color << std::endl;
        return 0;
    }
    if (mode == "menu") {
        BuildMenuForm(main, log);
        application.Run();
        return 0;
    }
    std::cerr << "unknown mode " << mode << "\n";
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::cerr << "usage: qel_dialogs_xvfb message|save|folder|colour|menu <log> [folder]\n";
        return 2;
    }
    const std::string mode = argv[1];
    std::ofstream log(argv[2]);
    const std::string folder = argc > 3 ? argv[3] : "";
    try {
        return Run(mode, log, folder, argc, argv);
    } catch (const std::exception& error) {
        std::cerr << "qel_dialogs_xvfb: " << error.what() << "\n";
        return 1;
    }
}
