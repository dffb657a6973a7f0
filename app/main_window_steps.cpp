// The buttons that move the wizard between its pages, and the format
// list's notes.
#include "app/main_window.h"

#include "app/validate_edit.h"
#include "card/buffer_list.h"
#include "platform/controls/standard/button.h"
#include "platform/controls/standard/combo_box.h"
#include "platform/controls/standard/label.h"
#include "platform/controls/standard/list_view.h"
#include "platform/controls/standard/memo.h"
#include "platform/controls/standard/radio_button.h"

namespace qel {
namespace {

// Entries of the format list.
constexpr int FORMAT_QEL = 0;
constexpr int FORMAT_MATLAB = 1;
constexpr int FORMAT_BINARY = 2;
constexpr int FORMAT_BINARY_TIME = 3;
constexpr int FORMAT_QREC = 4;

} // namespace

void TfrmMain::btnExitClick(plat::TObject*)
{
    Close();
}

void TfrmMain::btnFinishCloseClick(plat::TObject*)
{
    Close();
}

void TfrmMain::btnInfoCancelClick(plat::TObject*)
{
    ShowPage(PAGE_START);
}

void TfrmMain::btnReportOKClick(plat::TObject*)
{
    ShowPage(PAGE_START);
}

void TfrmMain::btnProgressCancelClick(plat::TObject*)
{
    btnProgressCancel->SetEnabled(false);
    FCardThread.Terminate();
}

void TfrmMain::btnSaveCancelClick(plat::TObject*)
{
    btnSaveCancel->SetEnabled(false);
    FSaveFileThread.Terminate();
}

void TfrmMain::btnCutChannelsNextClick(plat::TObject*)
{
    SaveBufferList.ClearAll();
    plat::TListItems& rows = lvwCutChannels->Items();
    for (int i = 0; i < rows.Count(); ++i) {
        if (rows.Item(i)->Checked() && i < ReadBufferList.Count()) {
            SaveBufferList.Add(ReadBufferList.GetItem(i));
        }
    }
    SaveBufferList.CopyFrom(ReadBufferList);
    ShowPage(PAGE_CUT_TIME);
}

void TfrmMain::btnCutChannelsBackShockClick(plat::TObject*)
{
    ShowPage(PAGE_SHOCK);
}

void TfrmMain::btnCutChannelsBackClick(plat::TObject*)
{
    ShowPage(PAGE_INFO);
}

void TfrmMain::btnCutTimeBackClick(plat::TObject*)
{
    ShowPage(PAGE_CUT_CHANNELS);
}

void TfrmMain::btnOptionFileBackClick(plat::TObject*)
{
    ShowPage(PAGE_SHOCK);
}

void TfrmMain::btnShockNextClick(plat::TObject*)
{
    if (rbnShockQSHOCK->Checked()) {
        FCutFileType = CUT_FILE_QSHOCK;
        ShowPage(PAGE_OPTION_FILE);
        return;
    }
    FCutFileType = CUT_FILE_QEL;
    ShowPage(PAGE_CUT_CHANNELS);
}

void TfrmMain::btnFinishRepeatClick(plat::TObject*)
{
    ShowPage(FQShock ? PAGE_SHOCK : PAGE_CUT_CHANNELS);
}

void TfrmMain::btnFinishDirClick(plat::TObject*)
{
    // The save list refers to the read list's buffers: it goes first.
    SaveBufferList.ClearAll();
    ReadBufferList.ClearAll();
    btnFinishDir->SetEnabled(false);
    ShowPage(PAGE_INFO);
}

void TfrmMain::cbxCutFileFormatChange(plat::TObject*)
{
    const int format = cbxCutFileFormat->ItemIndex();
    const bool sizeLimit = format == FORMAT_QEL || format == FORMAT_MATLAB;
    for (plat::TControl* control : std::initializer_list<plat::TControl*>{
             lblCutFileLimit, rbnCutFileMax, rbnCutFileUser, vedCutFileUser, lblCutFileValues}) {
        control->SetVisible(sizeLimit);
    }
    memFileHint->SetVisible(format == FORMAT_BINARY);
    memFile2Hint->SetVisible(format == FORMAT_BINARY_TIME);
    menFileQRECHint->SetVisible(format == FORMAT_QREC);
}

} // namespace qel
