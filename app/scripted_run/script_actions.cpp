// What a script does as the user: clicks, typing, keys, check marks in
// boxes, trees and lists, pop-up menus, and the run's own actions (status
// messages, the clock, files, pictures and the layout dump).
#include "app/scripted_run/scripted_session.h"

#include "app/main_window.h"
#include "app/scripted_run/control_contents.h"
#include "card/thread_status.h"
#include "platform/controls/application.h"
#include "platform/controls/standard/check_box.h"
#include "platform/controls/standard/custom_edit.h"
#include "platform/controls/standard/list_view.h"
#include "platform/controls/standard/menu_window.h"
#include "platform/controls/standard/radio_button.h"
#include "platform/controls/standard/standard_drawing.h"
#include "platform/hosts/headless/headless_host.h"
#include "widgets/tree/dt_header.h"
#include "widgets/tree/string_data_tree.h"

#include <fstream>

namespace qel {
namespace {

// How often a check step presses Space before it gives up (a tri-state box
// takes two presses from mixed to unchecked).
constexpr int MAX_PRESSES = 3;

plat::UINT StatusMessageOf(const std::string& Kind)
{
    return Kind == "dir" ? WM_CARD_DIR_STATUS : Kind == "data" ? WM_CARD_DATA_STATUS : WM_SAVE_STATUS;
}

// The node whose path of captions (the main column's texts) from the top
// is Captions; nullptr when there is none.
PDataNode NodeByCaptions(TCustomDataStringTree& Tree, const std::vector<std::string>& Captions)
{
    const TColumnIndex column = Tree.Header()->Columns().Count() > 0 ? Tree.Header()->MainColumn() : NoColumn;
    PDataNode parent = nullptr;
    for (const std::string& caption : Captions) {
        PDataNode found = nullptr;
        for (PDataNode node = Tree.GetFirstChildNoInit(parent); node != nullptr && found == nullptr;
             node = Tree.GetNextSiblingNoInit(node)) {
            if (Tree.GetText(node, column) == caption) {
                found = node;
            }
        }
        if (found == nullptr) {
            return nullptr;
        }
        parent = found;
    }
    return parent;
}

// The first row with a cell of that text; -1 for none.
int RowWithCell(plat::TListView& List, const std::string& Text)
{
    for (int row = 0; row < List.Items().Count(); ++row) {
        plat::TListItem& item = *List.Items().Item(row);
        if (item.Caption() == Text || item.SubItems().IndexOf(Text) >= 0) {
            return row;
        }
    }
    return -1;
}

// The pop-up menu that shows now; nullptr when none does.
plat::TMenuWindow* OpenMenu(plat::THeadlessHost& Host)
{
    for (const plat::HWND window : Host.VisibleWindows()) {
        if (auto* menu = dynamic_cast<plat::TMenuWindow*>(plat::TWinControl::FindControl(window))) {
            return menu;
        }
    }
    return nullptr;
}

} // namespace

TScriptedSession::TOutcome TScriptedSession::Act(const TScriptStep& Step)
{
    switch (Step.Verb) {
    case TScriptVerb::Click:
        return ClickOn(Step, Step.Args[0]);
    case TScriptVerb::Set:
        return SetText(Step);
    case TScriptVerb::Check:
        return Check(Step);
    case TScriptVerb::CheckNode:
        return CheckNode(Step);
    case TScriptVerb::CheckRow:
        return CheckRow(Step);
    case TScriptVerb::Key:
        FHost->Key(static_cast<plat::TVirtualKey>(Step.Number), static_cast<std::uint8_t>(Step.Value));
        return TOutcome::Posted;
    case TScriptVerb::Popup:
        return OpenPopup(Step);
    case TScriptVerb::Choose:
        return ChooseMenuItem(Step);
    case TScriptVerb::Close:
        FHost->CloseWindow(FMain->Handle());
        return TOutcome::Posted;
    case TScriptVerb::Status:
        return PostStatus(Step);
    case TScriptVerb::Advance:
        FHost->AdvanceClock(Step.Number);
        return FApp->Terminated() ? TOutcome::Posted : TOutcome::Next;
    case TScriptVerb::Touch:
        if (!std::ofstream(Step.Args[0], std::ios::app)) {
            return Fail(Step, "the file " + Step.Args[0] + " cannot be made");
        }
        return TOutcome::Next;
    case TScriptVerb::Dump:
        return WriteFile(Step, FHost->LayoutDump(ControlContents));
    default:   // shot
        try {
            FHost->SaveScreenshot(FMain->Handle(), Step.Args[0]);
        } catch (const std::exception& error) {
            return Fail(Step, error.what());
        }
        return TOutcome::Next;
    }
}

TScriptedSession::TOutcome TScriptedSession::WriteFile(const TScriptStep& Step, const std::string& Text)
{
    if (!(std::ofstream(Step.Args[0]) << Text)) {
        return Fail(Step, "the file " + Step.Args[0] + " cannot be written");
    }
    return TOutcome::Next;
}

TScriptedSession::TOutcome TScriptedSession::ClickOn(const TScriptStep& Step, const std::string& Name)
{
    plat::TControl* control = FHost->FindControl(Name);
    if (control == nullptr) {
        return Fail(Step, "no control is named " + JsonString(Name));
    }
    if (!control->Showing()) {
        return Fail(Step, "the control " + JsonString(Name) + " does not show");
    }
    const plat::TPoint centre = FHost->PointOf(Name);
    FHost->MouseMove(centre);
    FHost->Click(centre);
    return TOutcome::Posted;
}

TScriptedSession::TOutcome TScriptedSession::SetText(const TScriptStep& Step)
{
    auto* edit = dynamic_cast<plat::TCustomEdit*>(FHost->FindControl(Step.Args[0]));
    if (edit == nullptr || !edit->Showing() || !edit->CanFocus()) {
        return Fail(Step, "no edit that takes text is named " + JsonString(Step.Args[0]));
    }
    edit->SetFocus();
    edit->SelectAll();
    FHost->TypeText(Step.Args[1]);
    return TOutcome::Posted;
}

TScriptedSession::TOutcome TScriptedSession::Check(const TScriptStep& Step)
{
    const bool on = Step.Args[1] == "on";
    plat::TControl* control = FHost->FindControl(Step.Args[0]);
    if (auto* box = dynamic_cast<plat::TCheckBox*>(control)) {
        return box->Checked() == on ? TOutcome::Next : ClickOn(Step, Step.Args[0]);
    }
    if (auto* radio = dynamic_cast<plat::TRadioButton*>(control)) {
        if (!on) {
            return Fail(Step, "a radio button goes off when another of its group is checked");
        }
        return radio->Checked() ? TOutcome::Next : ClickOn(Step, Step.Args[0]);
    }
    return Fail(Step, "no check box or radio button is named " + JsonString(Step.Args[0]));
}

TScriptedSession::TOutcome TScriptedSession::CheckNode(const TScriptStep& Step)
{
    auto* tree = dynamic_cast<TCustomDataStringTree*>(FHost->FindControl(Step.Args[0]));
    if (tree == nullptr || !tree->Showing()) {
        return Fail(Step, "no tree that shows is named " + JsonString(Step.Args[0]));
    }
    const std::vector<std::string> captions(Step.Args.begin() + 2, Step.Args.end());
    std::string path;
    for (const std::string& caption : captions) {
        path += (path.empty() ? "" : " / ") + caption;
    }
    const PDataNode node = NodeByCaptions(*tree, captions);
    if (node == nullptr) {
        return Fail(Step, "the tree has no node " + JsonString(path));
    }
    if (!tree->GetFullyVisible(node)) {
        return Fail(Step, "the node " + JsonString(path) + " does not show");
    }
    const bool on = Step.Args[1] == "on";
    if (!on && tree->GetCheckType(node) == ctRadioButton) {
        return Fail(Step, "a radio button goes off when another of its group is checked");
    }
    return PressSpaceUntil(
        Step, [tree, node, on] { return IsChecked(tree->GetCheckState(node)) == on; },
        [tree, node] {
            tree->SetFocus();
            tree->SetFocusedNode(node);
            tree->ScrollIntoView(node, false);
        },
        "the node " + JsonString(path));
}

TScriptedSession::TOutcome TScriptedSession::CheckRow(const TScriptStep& Step)
{
    auto* list = dynamic_cast<plat::TListView*>(FHost->FindControl(Step.Args[0]));
    if (list == nullptr || !list->Showing() || !list->Checkboxes()) {
        return Fail(Step, "no list with check boxes that shows is named " + JsonString(Step.Args[0]));
    }
    const int row = RowWithCell(*list, Step.Args[2]);
    if (row < 0) {
        return Fail(Step, "the list has no row with a cell " + JsonString(Step.Args[2]));
    }
    const bool on = Step.Args[1] == "on";
    return PressSpaceUntil(
        Step, [list, row, on] { return list->Items().Item(row)->Checked() == on; },
        [list, row] {
            list->SetFocus();
            list->SetItemIndex(row);
        },
        "the row " + JsonString(Step.Args[2]));
}

TScriptedSession::TOutcome TScriptedSession::PressSpaceUntil(const TScriptStep& Step,
                                                             const std::function<bool()>& Checked,
                                                             const std::function<void()>& Focus,
                                                             const std::string& What)
{
    if (Checked()) {
        return TOutcome::Next;
    }
    if (FPresses >= MAX_PRESSES) {
        return Fail(Step, What + " did not take the check state after " + std::to_string(FPresses) + " presses");
    }
    ++FPresses;
    Focus();
    FHost->Key(plat::VK_SPACE);
    return TOutcome::Waiting;
}

TScriptedSession::TOutcome TScriptedSession::OpenPopup(const TScriptStep& Step)
{
    plat::TControl* control = FHost->FindControl(Step.Args[0]);
    if (control == nullptr || !control->Showing()) {
        return Fail(Step, "no control that shows is named " + JsonString(Step.Args[0]));
    }
    if (Step.Args.size() > 1 && Step.Args[1] == "key") {
        auto* windowed = dynamic_cast<plat::TWinControl*>(control);
        if (windowed == nullptr || !windowed->CanFocus()) {
            return Fail(Step, "the control " + JsonString(Step.Args[0]) + " cannot take the keyboard");
        }
        windowed->SetFocus();
        FHost->Key(plat::VK_APPS);
        return TOutcome::Posted;
    }
    const plat::TPoint centre = FHost->PointOf(Step.Args[0]);
    FHost->MouseMove(centre);
    FHost->Click(centre, plat::THostButton::Right);
    return TOutcome::Posted;
}

TScriptedSession::TOutcome TScriptedSession::ChooseMenuItem(const TScriptStep& Step)
{
    plat::TMenuWindow* menu = OpenMenu(*FHost);
    if (menu == nullptr) {
        return Fail(Step, "no pop-up menu is open");
    }
    std::string shown;
    for (plat::TMenuItem* item : menu->ShownItems()) {
        const std::string caption = plat::StripAccelerators(item->Caption());
        if (caption == Step.Args[0] || item->Caption() == Step.Args[0]) {
            const plat::TRect rect = menu->ItemRect(item);
            const plat::TPoint point = menu->ClientToScreen(
                plat::Point((rect.Left + rect.Right) / 2, (rect.Top + rect.Bottom) / 2));
            FHost->MouseMove(point);
            FHost->Click(point);
            return TOutcome::Posted;
        }
        shown += (shown.empty() ? "" : ", ") + JsonString(caption);
    }
    return Fail(Step, "the menu has no item " + JsonString(Step.Args[0]) + " (it shows " + shown + ")");
}

TScriptedSession::TOutcome TScriptedSession::PostStatus(const TScriptStep& Step)
{
    plat::PostMessage(FMain->Handle(), StatusMessageOf(Step.Args[0]), static_cast<plat::WPARAM>(Step.Number),
                      static_cast<plat::LPARAM>(Step.Value));
    return TOutcome::Posted;
}

} // namespace qel
