// The record page of the main window: its title, the record tree with its
// pop-up menu, and its buttons. A file of its own, since the tree's types
// and the meter's share names.
#include "app/main_window.h"

#include "app/wizard_page_layout.h"
#include "platform/controls/standard/button.h"
#include "platform/controls/standard/label.h"
#include "platform/controls/standard/menu_item.h"
#include "platform/controls/standard/panel.h"
#include "platform/controls/standard/popup_menu.h"
#include "widgets/pages/pgc_tab_page.h"
#include "widgets/tree/string_data_tree.h"

namespace qel {

void TfrmMain::CreateInfoPage()
{
    TWizardPageLayout page(*this, *pgInfo);
    Label6 = page.AddTitle("Label6");
    btnInfoOK = page.AddButton("btnInfoOK", 0);
    btnInfoCancel = page.AddButton("btnInfoCancel", 1);
    DT = new TDataStringTree(this);
    DT->SetName("DT");
    DT->SetParent(&page.Body());
    FillWithMargin(*DT);
    PopupMenu1 = new plat::TPopupMenu(this);
    PopupMenu1->SetName("PopupMenu1");
    popSaveDir = new plat::TMenuItem(this);
    popSaveDir->SetName("popSaveDir");
    popSaveDir->SetCaption("Save directory list!");   // the same in every language
    PopupMenu1->Items().Add(popSaveDir);
    DT->SetPopupMenu(PopupMenu1);
}

} // namespace qel
