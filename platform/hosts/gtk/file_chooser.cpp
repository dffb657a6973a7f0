// The GTK file chooser: request in, file or folder names out.
#include "platform/hosts/gtk/file_chooser.h"

#include "platform/controls/application.h"
#include "platform/controls/form.h"
#include "platform/controls/window_input.h"
#include "platform/hosts/gtk/gtk_host.h"

#include <gtk/gtk.h>

#include <filesystem>

namespace plat {

namespace {

// The chooser's parent: the program's active window, else its main form.
GtkWindow* ParentWindow()
{
    HWND parent = GetActiveWindow();
    if (parent == 0) {
        return MainGtkWindow();
    }
    return GtkWindowOf(parent);
}

// A folder browser in the middle of the screen, owned by the main form: the
// chosen folder, or an empty answer.
TFileChooserAnswer ChooseFolder(const TFileChooserRequest& request)
{
    namespace fs = std::filesystem;
    const char* title = !request.Title.empty() ? request.Title.c_str() : "Select Folder";
    GtkWidget* dialog =
        gtk_file_chooser_dialog_new(title, MainGtkWindow(), GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER, "_Cancel",
                                    GTK_RESPONSE_CANCEL, "_Select", GTK_RESPONSE_ACCEPT, nullptr);
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
    gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);
    gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_ACCEPT);
    gtk_file_chooser_set_create_folders(chooser, request.CreateFolders);
    if (!request.ShowFiles) {
        GtkFileFilter* folders = gtk_file_filter_new();
        gtk_file_filter_add_mime_type(folders, "inode/directory");
        gtk_file_chooser_set_filter(chooser, folders);
    }
    std::error_code error;
    if (!request.Folder.empty() && fs::is_directory(request.Folder, error)) {
        gtk_file_chooser_set_current_folder(chooser, request.Folder.c_str());
    }
    TFileChooserAnswer answer;
    if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT) {
        if (gchar* name = gtk_file_chooser_get_filename(chooser)) {
            answer.Names.emplace_back(name);
            g_free(name);
        }
        answer.Confirmed = !answer.Names.empty();
    }
    gtk_widget_destroy(dialog);
    return answer;
}

void AddFilters(GtkFileChooser* chooser, const TFileChooserRequest& request)
{
    for (std::size_t i = 0; i < request.Filters.size(); ++i) {
        GtkFileFilter* filter = gtk_file_filter_new();
        gtk_file_filter_set_name(filter, request.Filters[i].Name.c_str());
        for (const std::string& pattern : request.Filters[i].Patterns) {
            gtk_file_filter_add_pattern(filter, CaseInsensitivePattern(pattern).c_str());
        }
        gtk_file_chooser_add_filter(chooser, filter);
        if (i == request.Filter) {
            gtk_file_chooser_set_filter(chooser, filter);
        }
    }
}

} // namespace

std::string CaseInsensitivePattern(const std::string& pattern)
{
    if (pattern == "*.*") {
        return "*";
    }
    std::string result;
    for (char c : pattern) {
        const bool lower = c >= 'a' && c <= 'z';
        const bool upper = c >= 'A' && c <= 'Z';
        if (!lower && !upper) {
            result += c;
            continue;
        }
        const char small = lower ? c : static_cast<char>(c - 'A' + 'a');
        result += '[';
        result += small;
        result += static_cast<char>(small - 'a' + 'A');
        result += ']';
    }
    return result;
}

GtkWindow* MainGtkWindow()
{
    if (Application != nullptr && Application->MainForm() != nullptr && Application->MainForm()->HandleAllocated()) {
        return GtkWindowOf(Application->MainForm()->Handle());
    }
    return nullptr;
}

TFileChooserAnswer TGtkFileChooser::Choose(const TFileChooserRequest& request)
{
    namespace fs = std::filesystem;
    if (request.ChooseFolder) {
        return ChooseFolder(request);
    }
    const GtkFileChooserAction action = request.Save ? GTK_FILE_CHOOSER_ACTION_SAVE : GTK_FILE_CHOOSER_ACTION_OPEN;
    const std::string title = FileDialogTitle(request.Title, request.Save);
    GtkFileChooserNative* native =
        gtk_file_chooser_native_new(title.c_str(), ParentWindow(), action, nullptr, nullptr);
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(native);
    gtk_native_dialog_set_modal(GTK_NATIVE_DIALOG(native), TRUE);
    gtk_file_chooser_set_do_overwrite_confirmation(chooser, FALSE);
    gtk_file_chooser_set_select_multiple(chooser, request.MultiSelect && !request.Save);
    AddFilters(chooser, request);
    std::error_code error;
    if (!request.Folder.empty() && fs::is_directory(request.Folder, error)) {
        gtk_file_chooser_set_current_folder(chooser, request.Folder.c_str());
    }
    if (!request.Name.empty()) {
        if (request.Save) {
            gtk_file_chooser_set_current_name(chooser, request.Name.c_str());
        } else {
            gtk_file_chooser_select_filename(chooser, (fs::path(request.Folder) / request.Name).c_str());
        }
    }
    TFileChooserAnswer answer;
    if (gtk_native_dialog_run(GTK_NATIVE_DIALOG(native)) == GTK_RESPONSE_ACCEPT) {
        GSList* names = gtk_file_chooser_get_filenames(chooser);
        for (GSList* at = names; at != nullptr; at = at->next) {
            answer.Names.emplace_back(static_cast<const char*>(at->data));
            g_free(at->data);
        }
        g_slist_free(names);
        answer.Confirmed = !answer.Names.empty();
    }
    g_object_unref(native);
    return answer;
}

} // namespace plat
