// The main window's creation, caption, application titles and page change.
#include "app/main_window.h"

#include "app/common_design.h"
#include "app/qel_port_search.h"
#include "app/try_str_to_int.h"
#include "card/card_records.h"
#include "card/thread_status.h"
#include "foundations/debug_modes.h"
#include "foundations/language_switch.h"
#include "foundations/language_table.h"
#include "foundations/settings.h"
#include "foundations/win_tools.h"
#include "platform/controls/application.h"
#include "platform/controls/screen.h"
#include "platform/controls/standard/button.h"
#include "platform/controls/standard/check_box.h"
#include "platform/controls/standard/combo_box.h"
#include "platform/controls/standard/label.h"
#include "platform/controls/standard/radio_button.h"
#include "platform/date_time.h"
#include "platform/known_folders.h"
#include "widgets/pages/pgc_meter.h"
#include "widgets/pages/pgc_notebook.h"

namespace qel {

PLAT_DEFINE_CLASS(TfrmMain, plat::TForm)

PLAT_BEGIN_MESSAGES(TfrmMain, plat::TForm)
    PLAT_MESSAGE(WM_SAVE_STATUS, WMSaveStatus)
    PLAT_MESSAGE(WM_CARD_DIR_STATUS, WMCardDirStatus)
    PLAT_MESSAGE(WM_CARD_DATA_STATUS, WMCardDataStatus)
    PLAT_MESSAGE(WM_FILL_RECORD_TREE, WMFillRecordTree)
    PLAT_MESSAGE(plat::WM_TIMER, WMTimer)
PLAT_END_MESSAGES

namespace {

// The words of the title before the version text.
const std::string TITLE_WORDS = std::string("KORVEL ") + "X2 ";
// The value of "t:" that selects and locks the MATLAB entry (exact case).
const std::string MATLAB_SWITCH_VALUE = "matlab";
constexpr int FORMAT_ENTRY_MATLAB = 1;

} // namespace

TfrmMain::TfrmMain(plat::TComponent* AOwner) : plat::TForm(AOwner)
{
    SetName("frmMain");
    CreatePages();
    ConnectEvents();
    OnCreate = plat::TNotifyEvent(this, &TfrmMain::FormCreate);
    OnCloseQuery = plat::TCloseQueryEvent(this, &TfrmMain::FormCloseQuery);
}

TfrmMain::~TfrmMain()
{
    SaveSettings(READER_APP_NAME);
    CloseLogFile();
    if (plat::Application != nullptr) {
        plat::Application->OnException = nullptr;
    }
}

void TfrmMain::FormCreate(plat::TObject*)
{
    SetFormDesign(*this, true);
    lblBaudrate->SetCaption("");
    lblInfo->SetCaption("");
    for (const char* format : {"QEL", "MATLAB", "Binary file", "Binary file with time mark", "QREC"}) {
        cbxCutFileFormat->Items().Add(format);
    }
    cbxCutFileFormat->SetItemIndex(0);
    cbxCutFileFormatChange(cbxCutFileFormat);
    rbnCutFileMax->SetChecked(true);
    chkOptionCsv->SetChecked(RegReader.OutputMode == 1 || RegReader.OutputMode == 3);
    chkOptionViewer->SetChecked(RegReader.OutputMode == 2 || RegReader.OutputMode == 3);
    ApplySwitches();
    LoadLanguageRes();
    plat::Application->OnException = plat::TExceptionEvent(this, &TfrmMain::AppException);
    InitInfoTree();
    InitChannelList();
    PgcNotebook1->SetTabStop(false);
    FTitle = LoadLanguageStr(&SQelTitle) + " " + TITLE_WORDS + GetFileVersionStr(plat::ProgramPath());
    SetCaption("");
    plat::Application->SetTitle(APPLICATION_TITLE);
    FFileDir = plat::ProgramFolder() + "/";
    btnStartReport->SetVisible(RegReader.Report);
    ShowPage(PAGE_START);
}

void TfrmMain::ApplySwitches()
{
    std::int32_t mode = 0;
    if (TryStrToInt(GetParamValue("d:", ""), mode)) {
        SetDebugMode(mode);
    }
    if (GetParamValue("t:", "") == MATLAB_SWITCH_VALUE) {
        cbxCutFileFormat->SetItemIndex(FORMAT_ENTRY_MATLAB);
        cbxCutFileFormat->SetEnabled(false);
    }
    const std::string recordName = GetParamValue("f:", "");
    if (!recordName.empty()) {
        OpenLogFile(recordName);
        WriteLogLine("QEL " + FormatDateTimeKind(0, plat::Now()));
    }
}

void TfrmMain::SetCaption(const std::string& Text)
{
    std::string caption = FTitle + " [64]" + "  " + Text;
    if (GetDebugMode() != DEBUG_MODE_OFF) {
        caption += " [" + GetDebugModeName(GetDebugMode()) + "]";
    }
    plat::TForm::SetCaption(caption);
}

void TfrmMain::ShowProgressTitle(int Percent)
{
    if (Percent >= 0 && Percent <= 100) {
        plat::Application->SetTitle(std::to_string(Percent) + " %");
    }
}

void TfrmMain::RestoreTitle()
{
    plat::TApplication& app = *plat::Application;
    app.SetTitle(APPLICATION_TITLE);
    if (app.Minimized()) {
        app.Restore();
    }
    if (!app.Active()) {
        app.BringToFront();
    }
}

int TfrmMain::PageIndex() const
{
    return PgcNotebook1->PageIndex();
}

void TfrmMain::ShowPage(int Page)
{
    PreparePage(Page);
    PgcNotebook1->SetPageIndex(Page);
    FocusPage(Page);
    if (OnPageShown) {
        OnPageShown(Page);
    }
}

void TfrmMain::PreparePage(int Page)
{
    switch (Page) {
    case PAGE_START:
        plat::Screen->SetCursor(plat::crDefault);
        btnStart->SetEnabled(true);
        btnStartReport->SetEnabled(true);
        StartPortSearch(Handle());
        SetCaption("");
        break;
    case PAGE_INFO:
        plat::Screen->SetCursor(plat::crDefault);
        EnableInfoNext();
        break;
    case PAGE_NEXT:
    case PAGE_SHOCK:
        plat::Screen->SetCursor(plat::crDefault);
        break;
    case PAGE_FINISH:
        plat::Screen->SetCursor(plat::crDefault);
        btnFinishDir->SetEnabled(true);
        break;
    case PAGE_PROGRESS:
        plat::Screen->SetCursor(plat::crHourGlass);
        btnProgressCancel->SetEnabled(true);
        omeProgress->SetPercent(0);
        break;
    case PAGE_SAVE:
        plat::Screen->SetCursor(plat::crHourGlass);
        btnSaveCancel->SetEnabled(true);
        omeSave->SetPercent(0);
        break;
    case PAGE_CUT_CHANNELS: {
        plat::Screen->SetCursor(plat::crDefault);
        const bool shock = ActiveRecordIsShock();
        btnCutChannelsBackShock->SetVisible(shock);
        btnCutChannelsBack->SetVisible(!shock);
        break;
    }
    case PAGE_CUT_TIME:
        btnCutTimeNext->SetEnabled(true);
        break;
    case PAGE_OPTION_FILE:
        btnOptionFileNext->SetEnabled(true);
        chkOptionViewer->SetCaption(LoadLanguageStr(FCutFileType == CUT_FILE_QSHOCK ? &SStartJartoscope : &SStartViewer));
        break;
    default:
        break;
    }
}

void TfrmMain::FocusPage(int Page)
{
    plat::TWinControl* target = nullptr;
    switch (Page) {
    case PAGE_START:
        target = btnStart;
        break;
    case PAGE_INFO:
        target = btnInfoOK->Enabled() ? btnInfoOK : btnInfoCancel;
        break;
    case PAGE_FINISH:
        target = btnFinishRepeat;
        break;
    case PAGE_PROGRESS:
        target = btnProgressCancel;
        break;
    case PAGE_REPORT:
        target = btnReportOK;
        break;
    case PAGE_SAVE:
        target = btnSaveCancel;
        break;
    default:
        return;
    }
    try {
        target->SetFocus();
    } catch (const plat::EInvalidOperation&) {
        // a page whose button cannot take the focus keeps the focus it has
    }
}

bool TfrmMain::ActiveRecordIsShock() const
{
    if (!RecInfoList.Start()) {
        return false;
    }
    const auto* record = dynamic_cast<const TCardRecord*>(RecInfoList.GetCurrent());
    return record != nullptr && record->Info.bShock;
}

} // namespace qel
