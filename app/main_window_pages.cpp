// The main window as designed: client area 518 by 297 in "Segoe UI" of 12
// pixels, a page container without tabs filling it, and the twelve pages
// with their controls (the record page in main_window_info_page.cpp). Texts
// come later (LoadLanguageRes), events are connected at the end.
#include "app/main_window.h"

#include "app/validate_edit.h"
#include "app/wizard_page_layout.h"
#include "platform/controls/standard/button.h"
#include "platform/controls/standard/check_box.h"
#include "platform/controls/standard/combo_box.h"
#include "platform/controls/standard/custom_edit.h"
#include "platform/controls/standard/label.h"
#include "platform/controls/standard/list_view.h"
#include "platform/controls/standard/memo.h"
#include "platform/controls/standard/panel.h"
#include "platform/controls/standard/radio_button.h"
#include "platform/controls/standard/speed_button.h"
#include "widgets/pages/pgc_editor.h"
#include "widgets/pages/pgc_fixed_font.h"
#include "widgets/pages/pgc_meter.h"
#include "widgets/pages/pgc_notebook.h"
#include "widgets/pages/pgc_tab_page.h"

namespace qel {
namespace {

constexpr int CLIENT_WIDTH = 518;
constexpr int CLIENT_HEIGHT = 297;
constexpr int UI_FONT_HEIGHT = -12;           // 12 pixels
const char* const UI_FONT_NAME = "Segoe UI";

constexpr int FIELD_LEFT = 140;               // fields right of their labels
constexpr int ROW_HEIGHT = 32;                // one label-and-field row
constexpr int FIELD_HEIGHT = 22;
constexpr int SMALL_BUTTON_WIDTH = 24;        // the "..." buttons
constexpr int METER_HEIGHT = 24;
constexpr int NOTE_HEIGHT = 48;

TPgcTabPage* NewPage(TPgcNotebook& Notebook, const std::string& Name)
{
    auto* page = new TPgcTabPage(&Notebook);
    page->SetName(Name);
    // The notebook places its pages once it has a window; until then the
    // page has the client area's size, so the layout below can use it.
    page->SetBounds(0, 0, CLIENT_WIDTH, CLIENT_HEIGHT);
    page->SetCaption(Name.substr(2));
    return page;
}

// A read-only, borderless text on the page's face that wraps its lines.
plat::TMemo* NewNote(plat::TComponent& Owner, plat::TWinControl& Parent, const std::string& Name, int Left, int Top,
                     int Width, int Height)
{
    auto* note = NewControl<plat::TMemo>(Owner, Parent, Name, Left, Top, Width, Height);
    note->SetReadOnly(true);
    note->SetBorderStyle(plat::bsNone);
    note->SetParentColor(true);
    note->SetTabStop(false);
    note->SetWordWrap(true);
    return note;
}

// A label of fixed size whose text wraps at its width.
plat::TLabel* NewWrappedLabel(plat::TComponent& Owner, plat::TWinControl& Parent, const std::string& Name, int Left,
                              int Top, int Width, int Height)
{
    auto* label = NewControl<plat::TLabel>(Owner, Parent, Name, Left, Top, Width, Height);
    label->SetAutoSize(false);
    label->SetWordWrap(true);
    label->SetBounds(Left, Top, Width, Height);
    return label;
}

// A label at the start of a row of the body.
plat::TLabel* NewRowLabel(plat::TComponent& Owner, plat::TWinControl& Parent, const std::string& Name, int Row)
{
    return NewControl<plat::TLabel>(Owner, Parent, Name, BODY_MARGIN + 4, BODY_MARGIN + 4 + Row * ROW_HEIGHT, 120, 16);
}

int RowTop(int Row)
{
    return BODY_MARGIN + Row * ROW_HEIGHT;
}

// A meter across the body showing its percentage.
TPgcMeter* NewMeter(plat::TComponent& Owner, plat::TWinControl& Parent, const std::string& Name, int Top)
{
    auto* meter = NewControl<TPgcMeter>(Owner, Parent, Name, BODY_MARGIN + 4, Top,
                                        Parent.ClientWidth() - 2 * (BODY_MARGIN + 4), METER_HEIGHT);
    meter->SetShowPercent(true);
    meter->SetPercent(0);
    meter->SetAnchors(plat::TAnchors{plat::akLeft, plat::akTop, plat::akRight});
    return meter;
}

TPgcEditor* NewEditor(plat::TComponent& Owner, plat::TWinControl& Parent, const std::string& Name)
{
    auto* editor = new TPgcEditor(&Owner);
    editor->SetName(Name);
    editor->SetParent(&Parent);
    FillWithMargin(*editor);
    return editor;
}

} // namespace

void TfrmMain::CreatePages()
{
    Font()->SetName(UI_FONT_NAME);
    Font()->SetHeight(UI_FONT_HEIGHT);
    SetClientWidth(CLIENT_WIDTH);
    SetClientHeight(CLIENT_HEIGHT);
    PgcNotebook1 = new TPgcNotebook(this);
    PgcNotebook1->SetName("PgcNotebook1");
    PgcNotebook1->SetParent(this);
    PgcNotebook1->SetBounds(0, 0, CLIENT_WIDTH, CLIENT_HEIGHT);
    PgcNotebook1->SetAlign(plat::alClient);
    PgcNotebook1->SetTabAutoHeight(false);
    PgcNotebook1->SetTabHeight(0);
    pgStart = NewPage(*PgcNotebook1, "pgStart");
    pgInfo = NewPage(*PgcNotebook1, "pgInfo");
    pgFinish = NewPage(*PgcNotebook1, "pgFinish");
    pgProgress = NewPage(*PgcNotebook1, "pgProgress");
    pgReport = NewPage(*PgcNotebook1, "pgReport");
    pgSave = NewPage(*PgcNotebook1, "pgSave");
    pgNext = NewPage(*PgcNotebook1, "pgNext");
    pgCutterChannels = NewPage(*PgcNotebook1, "pgCutterChannels");
    pgCutterTime = NewPage(*PgcNotebook1, "pgCutterTime");
    pgCutterFile = NewPage(*PgcNotebook1, "pgCutterFile");
    pgOptionFile = NewPage(*PgcNotebook1, "pgOptionFile");
    pgShock = NewPage(*PgcNotebook1, "pgShock");
    CreateStartPage();
    CreateInfoPage();
    CreateFinishPage();
    CreateProgressPage();
    CreateReportPage();
    CreateSavePage();
    CreateNextPage();
    CreateCutChannelsPage();
    CreateCutTimePage();
    CreateCutFilePage();
    CreateOptionFilePage();
    CreateShockPage();
}

void TfrmMain::CreateStartPage()
{
    TWizardPageLayout page(*this, *pgStart);
    btnStart = page.AddButton("btnStart", 0);
    btnExit = page.AddButton("btnExit", 1);
    btnStartReport = page.AddRightButton("btnStartReport");
    plat::TPanel& body = page.Body();
    Label5 = NewWrappedLabel(*this, body, "Label5", 2 * BODY_MARGIN, 2 * BODY_MARGIN,
                             body.ClientWidth() - 4 * BODY_MARGIN, 40);
    Label5->SetAnchors(plat::TAnchors{plat::akLeft, plat::akTop, plat::akRight});
}

void TfrmMain::CreateFinishPage()
{
    TWizardPageLayout page(*this, *pgFinish);
    Label2 = page.AddTitle("Label2");
    btnFinishRepeat = page.AddButton("btnFinishRepeat", 0);
    btnFinishDir = page.AddButton("btnFinishDir", 1);
    btnFinishClose = page.AddButton("btnFinishClose", 2);
    plat::TPanel& body = page.Body();
    Label1 = NewWrappedLabel(*this, body, "Label1", 0, 0, body.ClientWidth(), 46);
    Label1->SetMargins(plat::TMargins{BODY_MARGIN, 0, BODY_MARGIN, BODY_MARGIN / 2});
    Label1->SetAlignWithMargins(true);
    Label1->SetAlign(plat::alBottom);
    oedResult = NewEditor(*this, body, "oedResult");
    oedResult->SetReadOnly(true);
    oedResult->FixedFont()->SetName("Fixedsys");
    oedResult->FixedFont()->SetSize(8);
    oedResult->SetLeftMargin(15);
    oedResult->SetRightMargin(5);
}

void TfrmMain::CreateProgressPage()
{
    TWizardPageLayout page(*this, *pgProgress);
    lblInfo = page.AddTitle("lblInfo");
    btnProgressCancel = page.AddButton("btnProgressCancel", 0);
    plat::TPanel& body = page.Body();
    omeProgress = NewMeter(*this, body, "omeProgress", RowTop(1));
    lblBaudrate = NewRowLabel(*this, body, "lblBaudrate", 2);
}

void TfrmMain::CreateReportPage()
{
    TWizardPageLayout page(*this, *pgReport);
    Label7 = page.AddTitle("Label7");
    btnReportOK = page.AddButton("btnReportOK", 0);
    oedReport = NewEditor(*this, page.Body(), "oedReport");
    oedReport->SetReadOnly(true);
}

void TfrmMain::CreateSavePage()
{
    TWizardPageLayout page(*this, *pgSave);
    Label8 = page.AddTitle("Label8");
    btnSaveCancel = page.AddButton("btnSaveCancel", 0);
    omeSave = NewMeter(*this, page.Body(), "omeSave", RowTop(1));
}

void TfrmMain::CreateNextPage()
{
    TWizardPageLayout page(*this, *pgNext);
    lblNextTitle = page.AddTitle("lblNextTitle");
    btnNextContinue = page.AddButton("btnNextContinue", 0);
    btnNextSave = page.AddButton("btnNextSave", 1);
    btnNextCancel = page.AddButton("btnNextCancel", 2);
    plat::TPanel& body = page.Body();
    auto* portRow = new plat::TPanel(this);
    portRow->SetName("pnlNextPort");
    portRow->SetBevelOuter(plat::bvNone);
    portRow->SetCaption("");
    portRow->SetHeight(ROW_HEIGHT);
    portRow->SetAlign(plat::alTop);
    portRow->SetParent(&body);
    cbxPort2 = NewControl<plat::TComboBox>(*this, *portRow, "cbxPort2", BODY_MARGIN, BODY_MARGIN, 160, FIELD_HEIGHT);
    cbxPort2->SetStyle(plat::csDropDownList);
    sbnInterfaceRefresh2 = NewControl<plat::TSpeedButton>(*this, *portRow, "sbnInterfaceRefresh2",
                                                          BODY_MARGIN + 164, BODY_MARGIN, SMALL_BUTTON_WIDTH,
                                                          FIELD_HEIGHT);
    oedNext = NewEditor(*this, body, "oedNext");
    oedNext->SetReadOnly(true);
    oedNext->FixedFont()->SetName("Courier New");
    oedNext->FixedFont()->SetSize(8);
    oedNext->FixedFont()->SetStyle(plat::TFontStyles{plat::fsBold});
}

void TfrmMain::CreateCutChannelsPage()
{
    TWizardPageLayout page(*this, *pgCutterChannels);
    lblTitleCutChannels = page.AddTitle("lblTitleCutChannels");
    btnCutChannelsNext = page.AddButton("btnCutChannelsNext", 0);
    btnCutChannelsBackShock = page.AddButton("btnCutChannelsBackShock", 1);
    btnCutChannelsBack = page.AddButton("btnCutChannelsBack", 1);
    plat::TPanel& body = page.Body();
    memHintBig = NewNote(*this, body, "memHintBig", 0, 0, body.ClientWidth(), 34);
    memHintBig->SetMargins(plat::TMargins{BODY_MARGIN, 0, BODY_MARGIN, 0});
    memHintBig->SetAlignWithMargins(true);
    memHintBig->SetAlign(plat::alBottom);
    memHintBig->SetVisible(false);
    lvwCutChannels = new plat::TListView(this);
    lvwCutChannels->SetName("lvwCutChannels");
    lvwCutChannels->SetParent(&body);
    FillWithMargin(*lvwCutChannels);
    lvwCutChannels->SetCheckboxes(true);
    lvwCutChannels->SetReadOnly(true);
    lvwCutChannels->SetTabStop(false);
    lvwCutChannels->SetColumnClick(false);
    plat::TListColumn* checks = lvwCutChannels->Columns().Add();
    checks->SetCaption("");
    checks->SetWidth(30);
}

void TfrmMain::CreateCutTimePage()
{
    TWizardPageLayout page(*this, *pgCutterTime);
    lblTitleCutTime = page.AddTitle("lblTitleCutTime");
    btnCutTimeNext = page.AddButton("btnCutTimeNext", 0);
    btnCutTimeBack = page.AddButton("btnCutTimeBack", 1);
    plat::TPanel& body = page.Body();
    lblCutTimeStart = NewRowLabel(*this, body, "lblCutTimeStart", 0);
    lblCutTimeBegin = NewRowLabel(*this, body, "lblCutTimeBegin", 1);
    lblCutTimeEnd = NewRowLabel(*this, body, "lblCutTimeEnd", 2);
    edtCutTimeStart = NewControl<plat::TEdit>(*this, body, "edtCutTimeStart", FIELD_LEFT, RowTop(0), 200, FIELD_HEIGHT);
    edtCutTimeStart->SetReadOnly(true);
    vedCutTimeBegin = NewControl<TValidateEdit>(*this, body, "vedCutTimeBegin", FIELD_LEFT, RowTop(1), 172, FIELD_HEIGHT);
    vedCutTimeBegin->SetMode(vmFloat);
    vedCutTimeEnd = NewControl<TValidateEdit>(*this, body, "vedCutTimeEnd", FIELD_LEFT, RowTop(2), 172, FIELD_HEIGHT);
    vedCutTimeEnd->SetMode(vmFloat);
    SpeedButton1 = NewControl<plat::TSpeedButton>(*this, body, "SpeedButton1", FIELD_LEFT + 176, RowTop(1),
                                                  SMALL_BUTTON_WIDTH, FIELD_HEIGHT);
    SpeedButton2 = NewControl<plat::TSpeedButton>(*this, body, "SpeedButton2", FIELD_LEFT + 176, RowTop(2),
                                                  SMALL_BUTTON_WIDTH, FIELD_HEIGHT);
}

void TfrmMain::CreateCutFilePage()
{
    TWizardPageLayout page(*this, *pgCutterFile);
    lblTitleCutFile = page.AddTitle("lblTitleCutFile");
    btnCutFileNext = page.AddButton("btnCutFileNext", 0);
    btnCutFileBack = page.AddButton("btnCutFileBack", 1);
    plat::TPanel& body = page.Body();
    lblCutFileFormat = NewRowLabel(*this, body, "lblCutFileFormat", 0);
    cbxCutFileFormat = NewControl<plat::TComboBox>(*this, body, "cbxCutFileFormat", FIELD_LEFT, RowTop(0), 200,
                                                   FIELD_HEIGHT);
    cbxCutFileFormat->SetStyle(plat::csDropDownList);
    lblCutFileLimit = NewRowLabel(*this, body, "lblCutFileLimit", 1);
    rbnCutFileMax = NewControl<plat::TRadioButton>(*this, body, "rbnCutFileMax", FIELD_LEFT, RowTop(1) + 2, 120, 18);
    rbnCutFileUser = NewControl<plat::TRadioButton>(*this, body, "rbnCutFileUser", FIELD_LEFT, RowTop(2) + 2, 18, 18);
    vedCutFileUser = NewControl<TValidateEdit>(*this, body, "vedCutFileUser", FIELD_LEFT + 22, RowTop(2), 100,
                                               FIELD_HEIGHT);
    vedCutFileUser->SetMode(vmUnsigned);
    vedCutFileUser->SetText("10000");
    lblCutFileValues = NewControl<plat::TLabel>(*this, body, "lblCutFileValues", FIELD_LEFT + 128, RowTop(2) + 4, 80, 16);
    const int noteTop = RowTop(3);
    const int noteWidth = body.ClientWidth() - 2 * BODY_MARGIN;
    memFileHint = NewNote(*this, body, "memFileHint", BODY_MARGIN, noteTop, noteWidth, NOTE_HEIGHT + 16);
    memFile2Hint = NewNote(*this, body, "memFile2Hint", BODY_MARGIN, noteTop, noteWidth, NOTE_HEIGHT + 16);
    menFileQRECHint = NewNote(*this, body, "menFileQRECHint", BODY_MARGIN, noteTop, noteWidth, NOTE_HEIGHT + 16);
}

void TfrmMain::CreateOptionFilePage()
{
    TWizardPageLayout page(*this, *pgOptionFile);
    lblTitleOptionFile = page.AddTitle("lblTitleOptionFile");
    btnOptionFileNext = page.AddButton("btnOptionFileNext", 0);
    btnOptionFileBack = page.AddButton("btnOptionFileBack", 1);
    plat::TPanel& body = page.Body();
    chkOptionCsv = NewControl<plat::TCheckBox>(*this, body, "chkOptionCsv", BODY_MARGIN + 4, RowTop(0) + 4, 300, 18);
    chkOptionViewer = NewControl<plat::TCheckBox>(*this, body, "chkOptionViewer", BODY_MARGIN + 4, RowTop(1), 300, 18);
}

void TfrmMain::CreateShockPage()
{
    TWizardPageLayout page(*this, *pgShock);
    lblShockTab = page.AddTitle("lblShockTab");
    btnShockNext = page.AddButton("btnShockNext", 0);
    btnShockDir = page.AddButton("btnShockDir", 1);
    plat::TPanel& body = page.Body();
    const int noteLeft = BODY_MARGIN + 22;
    const int noteWidth = body.ClientWidth() - noteLeft - BODY_MARGIN;
    rbnShockQSHOCK = NewControl<plat::TRadioButton>(*this, body, "rbnShockQSHOCK", BODY_MARGIN + 4, RowTop(0), 300, 18);
    memShockQSHOCKHint = NewNote(*this, body, "memShockQSHOCKHint", noteLeft, RowTop(0) + 22, noteWidth, 36);
    rbnShockQEL = NewControl<plat::TRadioButton>(*this, body, "rbnShockQEL", BODY_MARGIN + 4, RowTop(0) + 70, 300, 18);
    memShockQELHint = NewNote(*this, body, "memShockQELHint", noteLeft, RowTop(0) + 92, noteWidth, NOTE_HEIGHT);
}

void TfrmMain::ConnectEvents()
{
    using plat::TNotifyEvent;
    btnStart->OnClick = TNotifyEvent(this, &TfrmMain::btnStartClick);
    btnExit->OnClick = TNotifyEvent(this, &TfrmMain::btnExitClick);
    btnInfoOK->OnClick = TNotifyEvent(this, &TfrmMain::btnInfoOkClick);
    btnInfoCancel->OnClick = TNotifyEvent(this, &TfrmMain::btnInfoCancelClick);
    btnFinishRepeat->OnClick = TNotifyEvent(this, &TfrmMain::btnFinishRepeatClick);
    btnFinishDir->OnClick = TNotifyEvent(this, &TfrmMain::btnFinishDirClick);
    btnFinishClose->OnClick = TNotifyEvent(this, &TfrmMain::btnFinishCloseClick);
    btnProgressCancel->OnClick = TNotifyEvent(this, &TfrmMain::btnProgressCancelClick);
    btnReportOK->OnClick = TNotifyEvent(this, &TfrmMain::btnReportOKClick);
    btnSaveCancel->OnClick = TNotifyEvent(this, &TfrmMain::btnSaveCancelClick);
    btnCutChannelsNext->OnClick = TNotifyEvent(this, &TfrmMain::btnCutChannelsNextClick);
    btnCutChannelsBackShock->OnClick = TNotifyEvent(this, &TfrmMain::btnCutChannelsBackShockClick);
    btnCutChannelsBack->OnClick = TNotifyEvent(this, &TfrmMain::btnCutChannelsBackClick);
    lvwCutChannels->OnItemChecked = plat::TLVCheckedItemEvent(this, &TfrmMain::lvwCutChannelsItemChecked);
    btnCutTimeNext->OnClick = TNotifyEvent(this, &TfrmMain::btnCutTimeNextClick);
    btnCutTimeBack->OnClick = TNotifyEvent(this, &TfrmMain::btnCutTimeBackClick);
    SpeedButton1->OnClick = TNotifyEvent(this, &TfrmMain::SpeedButton1Click);
    SpeedButton2->OnClick = TNotifyEvent(this, &TfrmMain::SpeedButton2Click);
    btnCutFileNext->OnClick = TNotifyEvent(this, &TfrmMain::btnCutFileNextClick);
    btnOptionFileNext->OnClick = TNotifyEvent(this, &TfrmMain::btnOptionFileNextClick);
    btnOptionFileBack->OnClick = TNotifyEvent(this, &TfrmMain::btnOptionFileBackClick);
    btnShockNext->OnClick = TNotifyEvent(this, &TfrmMain::btnShockNextClick);
    btnShockDir->OnClick = TNotifyEvent(this, &TfrmMain::btnCutChannelsBackClick);
    cbxCutFileFormat->OnChange = TNotifyEvent(this, &TfrmMain::cbxCutFileFormatChange);
}

} // namespace qel
