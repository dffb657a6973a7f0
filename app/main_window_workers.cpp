// The main window and its workers: starting one at a time, their status
// messages, the error display, the application's exception handler and the
// text lines a save hands over.
#include "app/main_window.h"

#include "card/buffer_list.h"
#include "card/thread_status.h"
#include "export/save_file_thread.h"
#include "foundations/language_switch.h"
#include "foundations/language_table.h"
#include "foundations/qel_dialogs.h"
#include "foundations/qel_error.h"
#include "foundations/settings.h"
#include "foundations/suite_services.h"
#include "platform/controls/application.h"
#include "platform/controls/standard/label.h"
#include "platform/controls/standard/radio_button.h"
#include "platform/dialogs.h"
#include "widgets/pages/pgc_editor.h"
#include "widgets/pages/pgc_meter.h"

#include <algorithm>
#include <climits>

namespace qel {
namespace {

std::int32_t ErrorCodeOf(plat::LPARAM Value)
{
    return static_cast<std::int32_t>(std::clamp<plat::LPARAM>(Value, INT32_MIN, INT32_MAX));
}

} // namespace

bool TfrmMain::RunCardWorker(const std::function<std::shared_ptr<plat::TThread>()>& Create)
{
    if (WorkerRunning()) {
        return false;
    }
    FCardThread.Hold(Create());
    return true;
}

bool TfrmMain::RunSaveWorker(const std::function<std::shared_ptr<TSaveFileThread>()>& Create)
{
    if (WorkerRunning()) {
        return false;
    }
    FSaveFileThread.Hold(Create());
    return true;
}

void TfrmMain::StopWorkers()
{
    FCardThread.Terminate();
    FSaveFileThread.Terminate();
    FCardThread.Release();
    FSaveFileThread.Release();
}

void TfrmMain::WMCardDirStatus(plat::TMessage& Message)
{
    CardReaderStatus(Message, &SReadCardDirectory, &TfrmMain::DirectoryReadFinished);
}

void TfrmMain::WMCardDataStatus(plat::TMessage& Message)
{
    CardReaderStatus(Message, &SReadCardMemory, &TfrmMain::DataReadFinished);
}

void TfrmMain::CardReaderStatus(plat::TMessage& Message, plat::PResString Reading, void (TfrmMain::*Finished)())
{
    switch (Message.WParam) {
    case THREAD_STARTED:
        lblInfo->SetCaption(LoadLanguageStr(Reading));
        ShowPage(PAGE_PROGRESS);
        break;
    case THREAD_PROGRESS:
        ReportProgress(*omeProgress, Message.LParam);
        break;
    case THREAD_FINISHED:
        WorkerEnded(FCardThread);
        (this->*Finished)();
        break;
    case THREAD_FAILED:
        WorkerEnded(FCardThread);
        CardReadFailed(ErrorCodeOf(Message.LParam));
        break;
    default:
        break;
    }
}

void TfrmMain::WMSaveStatus(plat::TMessage& Message)
{
    switch (Message.WParam) {
    case THREAD_PROGRESS:
        ReportProgress(*omeSave, Message.LParam);
        break;
    case THREAD_FINISHED:
        WorkerEnded(FSaveFileThread);
        SaveFinished();
        break;
    case THREAD_FAILED: {
        WorkerEnded(FSaveFileThread);
        const std::int32_t code = ErrorCodeOf(Message.LParam);
        if (code != EXC_USER_ABORT && code != EXC_DIALOG_ABORT) {
            ShowErrorCode(code);
        }
        ShowPage(PAGE_START);
        break;
    }
    default:   // started and saved need nothing
        break;
    }
}

void TfrmMain::WorkerEnded(TWorkerSlot& Slot)
{
    Slot.Release();
    RestoreTitle();
}

void TfrmMain::ReportProgress(TPgcMeter& Meter, plat::LPARAM Percent)
{
    const int percent = static_cast<int>(std::clamp<plat::LPARAM>(Percent, INT_MIN, INT_MAX));
    Meter.SetPercent(percent);
    ShowProgressTitle(percent);
}

void TfrmMain::CardReadFailed(std::int32_t Code)
{
    if (Code != EXC_USER_ABORT) {
        ShowErrorCode(Code);
    }
    ShowPage(PAGE_START);
}

void TfrmMain::ShowErrorCode(std::int32_t Code)
{
    ShowErrorText(GetExceptionStr(Code));
}

void TfrmMain::ShowErrorText(const std::string& Text)
{
    QelDlg.ShowErrMsg(Text);
}

void TfrmMain::AppException(plat::TObject*, const std::exception& E)
{
    // A dialog no script expected has ended the scripted run already.
    if (dynamic_cast<const plat::EUnexpectedDialog*>(&E) != nullptr) {
        return;
    }
    const auto* error = dynamic_cast<const EQel*>(&E);
    if (error == nullptr) {
        ShowErrorText(GetOtherExceptionStr(E.what()));
        return;
    }
    if (error->iException == EXC_USER_ABORT || error->iException == EXC_DIALOG_ABORT) {
        return;
    }
    // Its own message, not the last worker's: the error happened here.
    ShowErrorText(GetExceptionStr(error->iException, error->what()));
}

void TfrmMain::AddReport(const std::string& sText)
{
    if (RegReader.Report) {
        oedReport->AppendPara(sText);
    }
}

void TfrmMain::AddSaveInfo(const std::string& sText)
{
    WriteLogLine(sText);
    oedResult->AppendPara(sText);
    ++FFilesListed;
    if (OnFileListed) {
        OnFileListed(sText);
    }
}

TAddReport TfrmMain::ReportCallback()
{
    return CallOnWindowThread(Handle(), [this](const std::string& sText) { AddReport(sText); });
}

TAddReport TfrmMain::SaveInfoCallback()
{
    return CallOnWindowThread(Handle(), [this](const std::string& sText) { AddSaveInfo(sText); });
}

} // namespace qel
