// The first step of the wizard: the card container chosen on the start page,
// the card image built from it and its numbered neighbours, what a former
// read left cleared, and the card-directory reader started; and the cancel
// of a running reader.
#include "app/main_window.h"

#include "app/record_tree.h"
#include "app/wizard_texts.h"

#include "card/buffer_list.h"
#include "card/card_records.h"
#include "card/ext_card.h"
#include "card/read_card_dir_thread.h"
#include "foundations/file_names.h"
#include "foundations/language_switch.h"
#include "foundations/language_table.h"
#include "foundations/qel_dialogs.h"
#include "foundations/settings.h"
#include "loggers/qel_base.h"
#include "platform/controls/standard/button.h"
#include "platform/controls/standard/list_view.h"
#include "platform/dialogs.h"
#include "widgets/pages/pgc_editor.h"

#include <filesystem>
#include <sys/stat.h>

namespace qel {
namespace {

const std::string CARD_FILE_FILTER = "QEL Card file (*.dat)|*.dat";
// The container whose numbered neighbours belong to the same card.
const std::string FIRST_CONTAINER_NAME = "qel.dat";
constexpr int MAX_NUMBERED_CONTAINERS = 7;

// A folder, a pipe or a device would hold the reader beyond the reach of
// Cancel and of the close protocol: such a container gets an error box
// naming it, and no reader starts. A file that does not exist passes (the
// reader reports it with the system's message).
bool RefusedAsContainer(const std::string& FileName)
{
    struct stat info {};
    if (stat(FileName.c_str(), &info) != 0 || S_ISREG(info.st_mode)) {
        return false;
    }
    QelDlg.ShowErrMsg(FileName + ":\r\n" + WizardText(TWizardText::NotACardFile));
    return true;
}

// "…/qel.dat" -> "…/qel<Number>.dat".
std::string NumberedContainer(const std::string& FirstName, int Number)
{
    return FirstName.substr(0, FirstName.size() - 4) + std::to_string(Number) + ".dat";
}

} // namespace

void TfrmMain::btnStartClick(plat::TObject*)
{
    plat::TFileDialogOptions options;
    options.Filter = CARD_FILE_FILTER;
    options.InitialDir = FFileDir;
    const plat::TFileDialogResult chosen = plat::CurrentDialogs().OpenFileDialog(options);
    if (!chosen.Confirmed) {
        return;
    }
    FFileDir = GetFileDir(chosen.FileName);
    if (RefusedAsContainer(chosen.FileName)) {
        return;
    }
    btnStart->SetEnabled(false);
    btnStartReport->SetEnabled(false);
    StartReadDir(chosen.FileName);
}

void TfrmMain::StartReadDir(const std::string& FileName)
{
    ClearFormerRead();
    ExtCard.Add(new TExtCardInfo(FileName));
    if (GetFileName(FileName) == FIRST_CONTAINER_NAME) {
        for (int number = 1; number <= MAX_NUMBERED_CONTAINERS; ++number) {
            const std::string candidate = NumberedContainer(FileName, number);
            if (!std::filesystem::exists(candidate)) {
                break;
            }
            ExtCard.Add(new TExtCardInfo(candidate));
        }
    }
    if (ExtCard.Count() > 1 &&
        QelDlg.ShowMsgBox(LoadLanguageStr(&SMoreContainers), plat::mtConfirmation,
                          plat::TMsgDlgButtons{plat::mbYes, plat::mbNo}, plat::mbYes) == plat::mrNo) {
        while (ExtCard.Count() > 1) {
            ExtCard.Delete(ExtCard.Count() - 1);
        }
    }
    for (int container = 1; container < ExtCard.Count(); ++container) {
        if (RefusedAsContainer(ExtCard.GetItem(container)->Filename)) {
            ShowPage(PAGE_START);
            return;
        }
    }
    const plat::HWND window = Handle();
    RunCardWorker([window] { return TReadCardDirThread::Create(window); });
}

void TfrmMain::ClearFormerRead()
{
    ClearReadData();
    RecInfoList.Clear();
    oedReport->Clear();
    oedNext->Clear();
    lvwCutChannels->Items().Clear();
    DT->Clear();
    ExtCard.Clear();
}

} // namespace qel
