// The record of a scripted run.
#include "app/scripted_run/run_record.h"

#include "platform/atomic_file.h"

#include <cstdio>
#include <stdexcept>

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

// The name of the button that gives Result ("" for none).
std::string ButtonOfResult(plat::TModalResult Result)
{
    for (int button = plat::mbYes; button <= plat::mbClose; ++button) {
        const auto each = static_cast<plat::TMsgDlgBtn>(button);
        if (plat::ModalResultOf(each) == Result) {
            return plat::ButtonName(each);
        }
    }
    return "";
}

std::string DialogJson(const plat::TShownDialog& Dialog)
{
    if (Dialog.Kind == plat::TDialogKind::MessageBox) {
        return std::string("{\"kind\": \"box\", \"type\": \"") + DialogTypeName(Dialog.Type) +
               "\", \"caption\": " + JsonString(Dialog.Caption) + ", \"text\": " + JsonString(Dialog.Text) +
               ", \"answer\": " + JsonString(ButtonOfResult(Dialog.Result)) + "}";
    }
    if (Dialog.Kind == plat::TDialogKind::SelectFolder) {
        return "{\"kind\": \"folder\", \"caption\": " + JsonString(Dialog.FolderOptions.Caption) +
               ", \"start\": " + JsonString(Dialog.FolderOptions.StartFolder) +
               ", \"answer\": " + JsonString(Dialog.FolderResult.Confirmed ? "confirmed" : "cancelled") +
               ", \"folder\": " + JsonString(Dialog.FolderResult.Folder) + "}";
    }
    if (Dialog.Kind == plat::TDialogKind::Color) {
        return "{\"kind\": \"colour\", \"start\": " + std::to_string(Dialog.ColorOptions.Color) +
               ", \"answer\": " + JsonString(Dialog.ColorResult.Confirmed ? "confirmed" : "cancelled") +
               ", \"colour\": " + std::to_string(Dialog.ColorResult.Color) + "}";
    }
    const char* kind = Dialog.Kind == plat::TDialogKind::SaveFile ? "save" : "open";
    return std::string("{\"kind\": \"") + kind + "\", \"folder\": " + JsonString(Dialog.Options.InitialDir) +
           ", \"proposed\": " + JsonString(Dialog.Options.FileName) +
           ", \"answer\": " + JsonString(Dialog.FileResult.Confirmed ? "confirmed" : "cancelled") +
           ", \"file\": " + JsonString(Dialog.FileResult.FileName) + "}";
}

template <class T, class F>
std::string JsonList(const std::vector<T>& Items, F ItemJson)
{
    std::string out = "[";
    for (std::size_t i = 0; i < Items.size(); ++i) {
        out += (i == 0 ? "" : ", ") + ItemJson(Items[i]);
    }
    return out + "]";
}

void KeepChanged(std::vector<std::string>& Seen, const std::string& Text)
{
    if (Seen.empty() || Seen.back() != Text) {
        Seen.push_back(Text);
    }
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

void TRunRecord::CaptionSeen(const std::string& Caption)
{
    KeepChanged(FCaptions, Caption);
}

void TRunRecord::TitleSeen(const std::string& Title)
{
    KeepChanged(FTitles, Title);
}

std::string TRunRecord::ToJson() const
{
    const auto text = [](const std::string& item) { return JsonString(item); };
    return std::string("{\n") + "  \"status\": " + std::to_string(FStatus) + ",\n" +
           "  \"passed\": " + (Passed() ? "true" : "false") + ",\n" +
           "  \"failures\": " + JsonList(FFailures, text) + ",\n" +
           "  \"window\": " + (FWindow ? "true" : "false") + ",\n" +
           "  \"pages\": " + JsonList(FPages, [](int page) { return std::to_string(page); }) + ",\n" +
           "  \"captions\": " + JsonList(FCaptions, text) + ",\n" +
           "  \"titles\": " + JsonList(FTitles, text) + ",\n" +
           "  \"dialogs\": " + JsonList(FDialogs, DialogJson) + ",\n" +
           "  \"files\": " + JsonList(FFiles, text) + ",\n" +
           "  \"activations\": " + std::to_string(FActivations) + "\n}\n";
}

void TRunRecord::Save(const std::string& FileName) const
{
    const std::string json = ToJson();
    plat::TAtomicFileStream file(FileName);
    file.WriteBuffer(json.data(), static_cast<std::int64_t>(json.size()));
    file.Commit();
}

} // namespace qel
