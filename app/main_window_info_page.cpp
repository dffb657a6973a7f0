// The record page of the main window: its title, the record tree with its
// pop-up menu and its buttons; the tree's set-up, filling and export. A
// file of its own, since the tree's types and the meter's share names.
#include "app/main_window.h"

#include "app/record_tree.h"
#include "app/wizard_page_layout.h"
#include "card/card_records.h"
#include "card/ext_card.h"
#include "foundations/file_names.h"
#include "foundations/qel_dialogs.h"
#include "foundations/settings.h"
#include "platform/atomic_file.h"
#include "platform/controls/standard/button.h"
#include "platform/controls/standard/label.h"
#include "platform/controls/standard/menu_item.h"
#include "platform/controls/standard/panel.h"
#include "platform/controls/standard/popup_menu.h"
#include "platform/text_encoding.h"
#include "widgets/pages/pgc_tab_page.h"

namespace qel {
namespace {

const std::string DIRECTORY_LIST_NAME = "directory list.txt";

// Records of the first step of the record tree's fill, before the page is
// shown, and of each later step: steps that take some tens of milliseconds,
// so that the window paints soon and answers between them.
constexpr int FIRST_FILL_STEP = 2000;
constexpr int NEXT_FILL_STEP = 5000;
} // namespace

void TfrmMain::CreateInfoPage()
{
    TWizardPageLayout page(*this, *pgInfo);
    Label6 = page.AddTitle("Label6");
    btnInfoOK = page.AddButton("btnInfoOK", 0);
    btnInfoCancel = page.AddButton("btnInfoCancel", 1);
    DT = new TRecordTree(this);
    DT->SetName("DT");
    DT->SetParent(&page.Body());
    FillWithMargin(*DT);
    PopupMenu1 = new plat::TPopupMenu(this);
    PopupMenu1->SetName("PopupMenu1");
    popSaveDir = new plat::TMenuItem(this);
    popSaveDir->SetName("popSaveDir");
    popSaveDir->SetCaption("Save directory list!");   // the same in every language
    popSaveDir->OnClick = plat::TNotifyEvent(this, &TfrmMain::popSaveDirClick);
    PopupMenu1->Items().Add(popSaveDir);
    DT->SetPopupMenu(PopupMenu1);
}

void TfrmMain::InitInfoTree()
{
    DT->InitInfoTree();
}

void TfrmMain::FillRecordTree()
{
    DT->FillRecordTree(RecInfoList, ExtCard);
    EnableInfoNext();
}

void TfrmMain::DirectoryReadFinished()
{
    DT->BeginFill(RecInfoList, ExtCard);
    FillRecordTreeStep(FIRST_FILL_STEP);
    ShowPage(PAGE_INFO);
    if (DT->Filling()) {
        Update();   // the page painted now, not after the whole fill
    }
}

void TfrmMain::FillRecordTreeStep(int Count)
{
    const bool full = DT->FillStep(Count);
    EnableInfoNext();
    if (!full) {
        plat::PostMessage(Handle(), WM_FILL_RECORD_TREE, 0, 0);
    }
}

void TfrmMain::WMFillRecordTree(plat::TMessage&)
{
    if (DT->Filling()) {
        FillRecordTreeStep(NEXT_FILL_STEP);
        DT->Update();   // what the step changed on screen, before the next step
    }
}

void TfrmMain::EnableInfoNext()
{
    btnInfoOK->SetEnabled(!DT->IsEmpty() && !DT->Filling());
}

void TfrmMain::popSaveDirClick(plat::TObject*)
{
    const std::string fileName = AddBackslash(RegSettings.sRegFileDir) + DIRECTORY_LIST_NAME;
    try {
        const std::string text = plat::Utf8ToAnsi(DT->DirectoryList());
        plat::TAtomicFileStream file(fileName);
        file.WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
        file.Commit();
    } catch (const std::exception&) {
        QelDlg.ShowErrMsg(fileName + ": ??");
        return;
    }
    QelDlg.ShowMsg(fileName + ": OK", plat::mtInformation);
}

} // namespace qel
