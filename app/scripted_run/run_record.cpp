// The record of a scripted run.
#include "app/scripted_run/run_record.h"

#include "platform/atomic_file.h"
#include "platform/controls/dialogs/message_dialog.h"

#include <cstdio>

namespace qel {
namespace {

const char* DialogTypeName(plat::TMsgDlgType Type)
{
    switch (Type) {
    case plat::mtWarning:
        return "warning";
    case plat::mtError:
        return "error";
    case plat::mtInformation:
        return "information";
    case plat::mtConfirmation:
        return "confirmation";
    default:
        return "custom";
    }
}

constexpr plat::TMsgDlgBtn FIRST_BUTTON = plat::mbYes;
constexpr plat::TMsgDlgBtn LAST_BUTTON = plat::mbClose;

// The name of the button that gives Result ("" for none).
std::string ButtonOfResult(plat::TModalResult Result)
{
    for (int button = FIRST_BUTTON; button <= LAST_BUTTON; ++button) {
        const auto each = static_cast<plat::TMsgDlgBtn>(button);
        if (plat::ModalResultOf(each) == Result) {
            return plat::ButtonName(each);
        }
    }
    return "";
}

template <class T, class F>
std::string JsonList(const std::vector<T>& Items, F ItemJson)
{
    std::string out = "[";
    for (std::size_t i = 0; i < Items.size(); ++i) {
        if (i > 0) {
            out += ", ";
        }
        out += ItemJson(Items[i]);
    }
    return out + "]";
}

std::string StepJson(int Step)
{
    return "{\"step\": " + std::to_string(Step);
}

std::string BoxJson(const plat::TShownDialog& Dialog)
{
    const std::vector<plat::TMsgDlgBtn> buttons = plat::MessageBoxButtons(Dialog.Buttons);
    const plat::TMsgDlgBtn preset = plat::MessageBoxDefault(Dialog.Buttons, Dialog.DefaultButton);
    return std::string(", \"kind\": \"box\", \"type\": \"") + DialogTypeName(Dialog.Type) +
           "\", \"text\": " + JsonString(Dialog.Text) +
           ", \"buttons\": " + JsonList(buttons, [](plat::TMsgDlgBtn b) { return JsonString(plat::ButtonName(b)); }) +
           ", \"default\": " + JsonString(plat::ButtonName(preset)) +
           ", \"answer\": " + JsonString(ButtonOfResult(Dialog.Result));
}

std::string FolderDialogJson(const plat::TShownDialog& Dialog)
{
    return ", \"kind\": \"folder\", \"caption\": " + JsonString(Dialog.FolderOptions.Caption) +
           ", \"start\": " + JsonString(Dialog.FolderOptions.StartFolder) +
           ", \"answer\": " + JsonString(Dialog.FolderResult.Confirmed ? "confirmed" : "cancelled") +
           ", \"folder\": " + JsonString(Dialog.FolderResult.Folder);
}

std::string ColourDialogJson(const plat::TShownDialog& Dialog)
{
    return ", \"kind\": \"colour\", \"start\": " + std::to_string(Dialog.ColorOptions.Color) +
           ", \"answer\": " + JsonString(Dialog.ColorResult.Confirmed ? "confirmed" : "cancelled") +
           ", \"colour\": " + std::to_string(Dialog.ColorResult.Color);
}

std::string FileDialogJson(const plat::TShownDialog& Dialog)
{
    const plat::TFileDialogOptions& options = Dialog.Options;
    const bool save = Dialog.Kind == plat::TDialogKind::SaveFile;
    return std::string(", \"kind\": \"") + (save ? "save" : "open") + "\", \"filter\": " + JsonString(options.Filter) +
           ", \"filter_index\": " + std::to_string(options.FilterIndex) +
           ", \"default_ext\": " + JsonString(options.DefaultExt) + ", \"folder\": " + JsonString(options.InitialDir) +
           ", \"proposed\": " + JsonString(options.FileName) +
           ", \"overwrite_prompt\": " + (options.OverwritePrompt ? "true" : "false") +
           ", \"file_must_exist\": " + (options.FileMustExist ? "true" : "false") +
           ", \"answer\": " + JsonString(Dialog.FileResult.Confirmed ? "confirmed" : "cancelled") +
           ", \"file\": " + JsonString(Dialog.FileResult.FileName);
}


} // namespace

std::string JsonString(const std::string& Text)
{
    std::string out = "\"";
    for (const char c : Text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

std::vector<std::string> TRunRecord::Failures() const
{
    std::vector<std::string> whys;
    for (const auto& failure : FFailures) {
        whys.push_back(failure.Value);
    }
    return whys;
}

void TRunRecord::CaptionSeen(const std::string& Caption)
{
    if (FCaptions.empty() || FCaptions.back().Value != Caption) {
        FCaptions.push_back({FStep, Caption});
    }
}

void TRunRecord::TitleSeen(const std::string& Title)
{
    if (FTitles.empty() || FTitles.back().Value != Title) {
        FTitles.push_back({FStep, Title});
    }
}

void TRunRecord::SetDialogs(const std::vector<plat::TShownDialog>& Dialogs, const std::vector<TDialogNote>& Notes)
{
    FDialogs = Dialogs;
    FDialogNotes = Notes;
    FDialogNotes.resize(FDialogs.size());
}

std::string TRunRecord::ToJson() const
{
    const auto texts = [](const std::vector<TAt<std::string>>& items, const char* name) {
        return JsonList(items, [name](const TAt<std::string>& item) {
            return StepJson(item.Step) + ", \"" + name + "\": " + JsonString(item.Value) + "}";
        });
    };
    std::vector<std::size_t> dialogs(FDialogs.size());
    for (std::size_t i = 0; i < dialogs.size(); ++i) {
        dialogs[i] = i;
    }
    const auto dialogJson = [this](std::size_t i) {
        const plat::TShownDialog& dialog = FDialogs[i];
        const TDialogNote& note = FDialogNotes[i];
        switch (dialog.Kind) {
        case plat::TDialogKind::MessageBox:
            return StepJson(note.Step) + BoxJson(dialog) + ", \"caption\": " + JsonString(note.Caption) +
                   ", \"button_captions\": " + JsonList(note.ButtonCaptions, JsonString) + "}";
        case plat::TDialogKind::SelectFolder:
            return StepJson(note.Step) + FolderDialogJson(dialog) + "}";
        case plat::TDialogKind::Color:
            return StepJson(note.Step) + ColourDialogJson(dialog) + "}";
        default:
            return StepJson(note.Step) + FileDialogJson(dialog) + ", \"title\": " + JsonString(note.Caption) + "}";
        }
    };
    return std::string("{\n") + "  \"status\": " + std::to_string(FStatus) + ",\n" +
           "  \"passed\": " + (Passed() ? "true" : "false") + ",\n" +
           "  \"failures\": " + texts(FFailures, "why") + ",\n" +
           "  \"window\": " + (FWindow ? "true" : "false") + ",\n" +
           "  \"pages\": " +
           JsonList(FPages, [](const TAt<int>& page) {
               return StepJson(page.Step) + ", \"page\": " + std::to_string(page.Value) + "}";
           }) +
           ",\n" + "  \"captions\": " + texts(FCaptions, "caption") + ",\n" +
           "  \"titles\": " + texts(FTitles, "title") + ",\n" +
           "  \"dialogs\": " + JsonList(dialogs, dialogJson) + ",\n" +
           "  \"files\": " + texts(FFiles, "file") + ",\n" +
           "  \"closes\": " +
           JsonList(FCloses, [](const TClose& close) {
               return StepJson(close.Step) + ", \"time\": " + std::to_string(close.TimeMs) +
                      ", \"granted\": " + (close.Granted ? "true" : "false") + "}";
           }) +
           ",\n" + "  \"activations\": " + std::to_string(FActivations) + "\n}\n";
}

void TRunRecord::Save(const std::string& FileName) const
{
    const std::string json = ToJson();
    plat::TAtomicFileStream file(FileName);
    file.WriteBuffer(json.data(), static_cast<std::int64_t>(json.size()));
    file.Commit();
}

} // namespace qel
