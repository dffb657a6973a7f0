// The middle of the wizard: the checked records read into the read list
// (Next on the record page), the decoded channels listed for checking
// (page 7), the time fields of page 8 with their popups, and the shock page's
// choice (page 11).
#include "app/main_window.h"

#include "app/record_tree.h"
#include "app/validate_edit.h"
#include "app/date_time_input.h"
#include "app/step_button_guard.h"
#include "app/cut_time_window.h"
#include "app/wizard_texts.h"
#include "card/buffer_list.h"
#include "card/card_records.h"
#include "card/read_card_data_thread.h"
#include "foundations/language_switch.h"
#include "foundations/language_table.h"
#include "foundations/qel_dialogs.h"
#include "foundations/qel_error.h"
#include "foundations/tick_time.h"
#include "loggers/qel_base.h"
#include "loggers/qel_factory.h"
#include "platform/controls/standard/button.h"
#include "platform/controls/standard/custom_edit.h"
#include "platform/controls/standard/list_view.h"
#include "platform/controls/standard/memo.h"
#include "platform/controls/standard/radio_button.h"
#include "widgets/pages/pgc_editor.h"

#include <memory>

namespace qel {
namespace {

// Above this many samples in all, the note on big data shows.
constexpr std::int64_t BIG_DATA_SAMPLES = 10000000;
// Every column's width before the rows are in, then fitted to them.
constexpr int NARROW_COLUMN_WIDTH = 10;

const TCardRecord* ActiveCardRecord()
{
    return RecInfoList.Start() ? dynamic_cast<const TCardRecord*>(RecInfoList.GetCurrent()) : nullptr;
}

// The logger of Record's model code and PC version word, with its identity;
// EQel (30) when the model class does not know that version.
TQEL& AddRecordLogger(const TCardRecord& Record)
{
    const TCardClusterInfo& info = Record.Info;
    std::unique_ptr<TQEL> created = GetQelClass(info.QEL_CLASS, info.QEL_VER_PC)->Create();
    TQEL& logger = *created;
    QelList.Add(created.release());
    if (!logger.IsKnownVersion(info.QEL_CLASS, info.QEL_VER_PC)) {
        throw EQel(EXC_UNKNOWN_VERSION);
    }
    logger.ID_CLASS = info.QEL_CLASS;
    logger.ID_VER_PC = info.QEL_VER_PC;
    logger.ID_VER = info.QEL_VER;
    return logger;
}

} // namespace

void TfrmMain::btnInfoOkClick(plat::TObject*)
{
    const TStepButtonGuard guard(*this, *btnInfoOK);
    if (DT->SelectCheckedRecords(RecInfoList) > 0) {
        StartReadData();
    }
}

void TfrmMain::StartReadData()
{
    ClearReadData();
    oedResult->Clear();
    oedReport->Clear();
    oedNext->Clear();
    const TCardRecord* record = ActiveCardRecord();
    if (record == nullptr) {
        return;
    }
    TQEL* logger = nullptr;
    try {
        logger = &AddRecordLogger(*record);
    } catch (...) {
        ShowPage(PAGE_START);
        throw;
    }
    ReadBufferList.SetActiveQEL(logger);
    const plat::HWND window = Handle();
    RunCardWorker([window] { return TReadCardDataThread::Create(window); });
}

void TfrmMain::ClearReadData()
{
    // The save list refers to the read list's buffers, and both to the
    // logger: the lists go first.
    SaveBufferList.ClearAll();
    SaveBufferList.SetActiveQEL(nullptr);
    ReadBufferList.ClearAll();
    ReadBufferList.SetActiveQEL(nullptr);
    QelList.Clear();
}

void TfrmMain::DataReadFinished()
{
    FillChannelList();
    std::int64_t tmin = 0;
    std::int64_t tmax = 0;
    if (!ReadBufferList.GetTMinTMax(tmin, tmax)) {
        QelDlg.ShowMsg(WizardText(TWizardText::NoSamplesRead), plat::mtInformation);
        ShowPage(PAGE_INFO);
        return;
    }
    if (ActiveRecordIsShock()) {
        FQShock = true;
        rbnShockQSHOCK->SetChecked(true);
        ShowPage(PAGE_SHOCK);
        return;
    }
    FQShock = false;
    FCutFileType = CUT_FILE_QEL;
    ShowPage(PAGE_CUT_CHANNELS);
}

void TfrmMain::InitChannelList()
{
    lvwCutChannels->SetColumnClick(false);
    lvwCutChannels->Columns().Add()->SetCaption("SN");   // the same in every language
    for (const plat::PResString header : {&SChannelColumn, &SUnitColumn, &SMeasurementParameter}) {
        lvwCutChannels->Columns().Add()->SetCaption(LoadLanguageStr(header));
    }
}

void TfrmMain::FillChannelList()
{
    ActiveCardRecord();
    std::int64_t tmin = 0;
    std::int64_t tmax = 0;
    if (!ReadBufferList.GetTMinTMax(tmin, tmax)) {
        tmin = tmax = 0;   // no data: a span of 0
    }
    FCutStartTime = TicksToDateTime(tmin);
    edtCutTimeStart->SetText(FormatDateTimeKind(0, FCutStartTime));
    vedCutTimeBegin->SetFloatValue(0);
    vedCutTimeEnd->SetFloatValue(CutEndSeconds(tmax - tmin));

    plat::TListItems& rows = lvwCutChannels->Items();
    plat::TListColumns& columns = lvwCutChannels->Columns();
    std::int64_t samples = 0;
    rows.BeginUpdate();
    rows.Clear();
    for (int i = 0; i < columns.Count(); ++i) {
        columns.Items(i)->SetWidth(NARROW_COLUMN_WIDTH);
    }
    for (const TBufferBaseData* buffer : ReadBufferList) {
        const TQEL& logger = *buffer->GetLinkQEL();
        plat::TListItem* row = rows.Add();
        row->SetCaption("");
        row->SetChecked(true);
        row->SubItems().Add(std::to_string(logger.SN));
        row->SubItems().Add(logger.GetChName(buffer->GetChannel()));
        row->SubItems().Add(logger.GetChUnit(buffer->GetChannel()));
        row->SubItems().Add(std::to_string(buffer->GetCnt()));
        samples += buffer->GetCnt();
    }
    rows.EndUpdate();
    for (int i = 0; i < columns.Count(); ++i) {
        columns.Items(i)->SetWidth(plat::ColumnHeaderWidth);
    }
    memHintBig->SetVisible(samples > BIG_DATA_SAMPLES);
    UpdateChannelsNext();
}

void TfrmMain::UpdateChannelsNext()
{
    plat::TListItems& rows = lvwCutChannels->Items();
    bool anyChecked = false;
    for (int i = 0; i < rows.Count() && !anyChecked; ++i) {
        anyChecked = rows.Item(i)->Checked();
    }
    btnCutChannelsNext->SetEnabled(anyChecked);
}

void TfrmMain::lvwCutChannelsItemChecked(plat::TObject*, plat::TListItem*)
{
    UpdateChannelsNext();
}

void TfrmMain::SpeedButton1Click(plat::TObject*)
{
    EditTimeInPopup(*vedCutTimeBegin);
}

void TfrmMain::SpeedButton2Click(plat::TObject*)
{
    EditTimeInPopup(*vedCutTimeEnd);
}

void TfrmMain::EditTimeInPopup(TValidateEdit& Field)
{
    const plat::TPoint corner =
        Field.Parent()->ClientToScreen(plat::Point(Field.Left(), Field.Top() + Field.Height()));
    double seconds = Field.FloatValue();
    if (ExecuteDateInput(corner, FCutStartTime, seconds) == plat::mrOk) {
        Field.SetFloatValue(seconds);
    }
}

} // namespace qel
