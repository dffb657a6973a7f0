// The end of the wizard: the save's settings (page 9's controls, set by the
// time page's Next), the buffers and the time window or the whole read of a
// shock file, the output file proposed and confirmed, the save thread
// started, and what follows its end.
#include "app/main_window.h"

#include "app/cut_time_window.h"
#include "app/step_button_guard.h"
#include "app/validate_edit.h"
#include "app/wizard_texts.h"
#include "card/buffer_list.h"
#include "card/card_records.h"
#include "export/matlab_file.h"
#include "export/matlab_save_file_thread.h"
#include "export/save_bin2_file_thread.h"
#include "export/save_bin_file_thread.h"
#include "export/save_file_thread.h"
#include "export/save_qrec_file_thread.h"
#include "export/saver_selection.h"
#include "foundations/file_names.h"
#include "foundations/qel_dialogs.h"
#include "foundations/qel_error.h"
#include "foundations/settings.h"
#include "foundations/suite_services.h"
#include "foundations/tick_time.h"
#include "loggers/qel_base.h"
#include "platform/controls/application.h"
#include "platform/controls/standard/button.h"
#include "platform/controls/standard/combo_box.h"
#include "platform/controls/standard/radio_button.h"
#include "widgets/pages/pgc_editor.h"

#include <algorithm>

namespace qel {
namespace {

// Values per output file without a user limit, and the least user limit.
constexpr std::uint32_t NO_SIZE_LIMIT = 4294967280u;
constexpr std::int64_t LEAST_USER_LIMIT = 10000;
// The format list's entry of the container.
constexpr int FORMAT_ENTRY_QREC = 4;

// What each output type is saved as: the extension, the save dialog and the
// saver (nullptr: the logger model's own, as GetSaveFileThreadClass gives).
struct TOutputType {
    std::int32_t Type;
    std::string (*Extension)();
    bool (TQelDlg::*Dialog)(const std::string& sInFile, bool bOnlyDir, std::string& sOutFile);
    TSaveFileThreadClass Saver;
};

const TOutputType& OutputType(std::int32_t Type)
{
    static const TOutputType types[] = {
        {CUT_FILE_QEL, [] { return RegSettings.sRegFileExt; }, &TQelDlg::SaveQelFile, nullptr},
        {CUT_FILE_MATLAB, [] { return std::string(".mat"); }, &TQelDlg::SaveMatlabFile,
         &TSaveMatlabFileThread::ClassInfo},
        {CUT_FILE_BINARY, [] { return std::string(".bin"); }, &TQelDlg::SaveBinaryFile, &TSaveBinFileThread::ClassInfo},
        {CUT_FILE_QSHOCK, [] { return std::string(".qshock"); }, &TQelDlg::SaveQShockFile, nullptr},
        {CUT_FILE_BINARY_TIME, [] { return std::string(".bin2"); }, &TQelDlg::SaveBinaryTimeFile,
         &TSaveBin2FileThread::ClassInfo},
        {CUT_FILE_QREC, [] { return std::string(".qrec"); }, &TQelDlg::SaveQRecFile, &TSaveQRecFileThread::ClassInfo},
    };
    for (const TOutputType& type : types) {
        if (type.Type == Type) {
            return type;
        }
    }
    return types[CUT_FILE_QREC];
}

// The format list's entries in the order of the output types they select.
std::int32_t OutputTypeOfFormatEntry(int Entry)
{
    constexpr std::int32_t types[] = {CUT_FILE_QEL, CUT_FILE_MATLAB, CUT_FILE_BINARY, CUT_FILE_BINARY_TIME,
                                      CUT_FILE_QREC};
    return Entry >= 0 && Entry < static_cast<int>(std::size(types)) ? types[Entry] : CUT_FILE_QREC;
}

TCardRecord* ActiveRecord()
{
    return RecInfoList.Start() ? dynamic_cast<TCardRecord*>(RecInfoList.GetCurrent()) : nullptr;
}

} // namespace

void TfrmMain::btnCutTimeNextClick(plat::TObject*)
{
    const TStepButtonGuard guard(*this, *btnCutTimeNext);
    for (TValidateEdit* field : {vedCutTimeBegin, vedCutTimeEnd}) {
        if (!field->IsValid()) {
            field->SetFocus();
            return;
        }
    }
    rbnCutFileMax->SetChecked(true);
    cbxCutFileFormat->SetItemIndex(FORMAT_ENTRY_QREC);
    btnCutFileNextClick(btnCutFileNext);
}

void TfrmMain::btnCutFileNextClick(plat::TObject*)
{
    const std::uint32_t limit =
        rbnCutFileMax->Checked()
            ? NO_SIZE_LIMIT
            : static_cast<std::uint32_t>(std::max<std::int64_t>(LEAST_USER_LIMIT, vedCutFileUser->IntValue()));
    RecInfoList.SetMaxSize(limit);
    Mat2SetMaxValues(limit);
    FCutFileType = OutputTypeOfFormatEntry(cbxCutFileFormat->ItemIndex());
    StartSave();
}

void TfrmMain::btnOptionFileNextClick(plat::TObject*)
{
    const TStepButtonGuard guard(*this, *btnOptionFileNext);
    StartSave();
}

void TfrmMain::StartSave()
{
    TCutTimeWindow window;
    if (FCutFileType == CUT_FILE_QSHOCK) {
        SaveBufferList.ClearAll();
        for (TBufferBaseData* buffer : ReadBufferList) {
            SaveBufferList.Add(buffer);
        }
        SaveBufferList.CopyFrom(ReadBufferList);
        SaveBufferList.SaveCardShockID = true;
    } else {
        SaveBufferList.SaveCardShockID = false;
        // Only this save goes without the mission block; the read keeps it
        // for a later shock file.
        SaveBufferList.MissionData.bValid = false;
        std::int64_t tmin = 0;
        std::int64_t tmax = 0;
        ReadBufferList.GetTMinTMax(tmin, tmax);
        window = CutTimeWindow(vedCutTimeBegin->FloatValue(), vedCutTimeEnd->FloatValue(), tmin, tmax);
    }
    if (!ChooseOutputFile(FCutFileType, window.Start)) {
        return;
    }
    StartSaveThread(window.On ? 1 : 0, window.Start, window.End);
}

bool TfrmMain::ChooseOutputFile(std::int32_t FileType, std::int64_t StartTime)
{
    const TOutputType& type = OutputType(FileType);
    TCardRecord* record = ActiveRecord();
    if (record == nullptr) {
        QelDlg.ShowErrMsg(WizardText(TWizardText::NoFileWritten));
        return false;
    }
    plat::Application->ProcessMessages();
    const std::int64_t nameTime = StartTime != 0 ? StartTime : record->Info.Time;
    TFileNameEx& name = record->FileNameEx;
    name.path = AddBackslash(RegSettings.sRegFileDir);
    name.name = MakeDataFileName(RegSettings.sQEL, record->Info.QEL_SN, "", TicksToDays(nameTime));
    name.cnt.clear();
    name.ext = type.Extension();
    MakeUniqueFileName(name);
    std::string chosen;
    if (!(QelDlg.*type.Dialog)(GetFullFileName(name), false, chosen)) {
        throw EQel(EXC_DIALOG_ABORT);
    }
    TFileNameEx confirmed;
    SplitFileName(confirmed, chosen);
    // Nothing is created or emptied here: an existing file keeps its
    // content until the saver puts the new one in its place.
    bool writable = false;
    try {
        writable = TestCreateFile(confirmed);
    } catch (const std::exception&) {
        writable = false;
    }
    if (!writable) {
        QelDlg.ShowErrMsg(chosen + ":\r\n" + WizardText(TWizardText::FolderNotWritable));
        return false;
    }
    name = confirmed;
    return true;
}

void TfrmMain::StartSaveThread(std::int32_t TimeMode, std::int64_t TimeStart, std::int64_t TimeEnd)
{
    const TCardRecord* record = ActiveRecord();
    ShowPage(PAGE_SAVE);
    oedResult->Clear();
    FFilesListed = 0;
    SaveBufferList.FileNameEx = record->FileNameEx;
    TSaveFileThreadClass saver = OutputType(FCutFileType).Saver;
    if (saver == nullptr) {
        const TQEL* logger = QelList.GetCurrent();
        saver = GetSaveFileThreadClass(logger->ID_CLASS, logger->ID_VER_PC);
    }
    const plat::HWND window = Handle();
    RunSaveWorker([&] {
        std::shared_ptr<TSaveFileThread> thread =
            TSaveFileThread::Create(saver, window, ReportCallback(), SaveInfoCallback());
        thread->TimeMode = TimeMode;
        thread->TimeStart = TimeStart;
        thread->TimeEnd = TimeEnd;
        thread->Start();
        return thread;
    });
}

void TfrmMain::SaveFinished()
{
    ReadBufferList.EndSave();
    if (FFilesListed == 0) {
        // A save that names no file has saved nothing: no finish page, and
        // nothing for the suite's programs to pick up.
        QelDlg.ShowErrMsg(WizardText(TWizardText::NoFileWritten));
        ShowPage(PAGE_START);
        return;
    }
    plat::PostMessage(plat::HWND_BROADCAST, WM_SUITE_NOTIFY, static_cast<plat::WPARAM>(plat::Application->Handle()), 0);
    ShowPage(PAGE_FINISH);
}

} // namespace qel
