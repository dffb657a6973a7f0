// The notebook's input: tab clicks, mouse activation, the focus, the keys
// that walk the tabs and Alt with a page's accelerator letter.
#include "widgets/pages/pgc_notebook.h"

#include "widgets/pages/pgc_command_codes.h"
#include "widgets/pages/pgc_command_processor.h"
#include "widgets/pages/pgc_controller.h"

#include "platform/controls/form.h"
#include "platform/controls/standard/standard_drawing.h"
#include "platform/controls/window_input.h"

namespace qel {

// ---- mouse ----

void TPgcNotebook::MouseMove(plat::TShiftState Shift, int X, int Y)
{
    for (int index = 0; index < PageCount(); ++index) {
        if (GetPage(index)->Area().Contains(X, Y)) {
            DoOnMouseOverTab(index);
            break;
        }
    }
    TPgcCustomControlEx::MouseMove(Shift, X, Y);
}

void TPgcNotebook::WMLButtonDown(plat::TMessage& Msg)
{
    const auto life = Life();
    if (!SelectTabAt(plat::Point(plat::GET_X_LPARAM(Msg.LParam), plat::GET_Y_LPARAM(Msg.LParam)))) {
        return;
    }
    if (life->Alive()) {
        Inherited(Msg);
    }
}

bool TPgcNotebook::SelectTabAt(plat::TPoint Point)
{
    const auto life = Life();
    tabTabSelecting = Focused();
    for (int index = 0; index < PageCount() && life->Alive(); ++index) {
        TPgcTabPage* page = GetPage(index);
        if (!page->Area().Contains(Point.X, Point.Y)) {
            continue;
        }
        if (index == FPageIndex) {
            SetFocus();
            DoOnTabClick(index);
            return true;
        }
        if (!(HasTab(page) && page->Enabled()) && !Designing()) {
            DoOnTabClick(index);   // a disabled or hidden page only hears of it
            continue;
        }
        if (!Focused() && !Designing()) {
            Perform(plat::WM_CANCELMODE, 0, 0);
            return false;
        }
        SetPageIndex(index);
        if (!life->Alive() || FPageIndex != index) {
            return true;
        }
        if (!Designing()) {
            FocusFirstControlIn(this, page, true);
        }
        DoOnTabClick(index);
        return true;
    }
    return true;
}

void TPgcNotebook::FocusFirstControlIn(plat::TWinControl* Container, plat::TWinControl* Skip, bool AnyFocusable)
{
    plat::TWinControl* target = Container->FindNextControl(nullptr, true, true, false);
    if (target == nullptr && AnyFocusable) {
        target = Container->FindNextControl(nullptr, true, false, false);
    }
    plat::TCustomForm* form = plat::GetParentForm(this);
    if (target != nullptr && target != Skip && form != nullptr) {
        form->SetActiveControl(target);
    } else {
        SetFocus();
    }
}

// Our platform asks every press whether it activates; only a press that
// brings the window to the front gives the focus to the notebook here (an
// unfocused notebook in an active window cancels a tab press instead).
void TPgcNotebook::WMMouseActivate(plat::TMessage& Msg)
{
    Inherited(Msg);
    if (Designing() || plat::HIWORD(static_cast<std::uintptr_t>(Msg.LParam)) != plat::WM_LBUTTONDOWN) {
        return;
    }
    if (plat::GetActiveWindow() == static_cast<plat::HWND>(Msg.WParam)) {
        return;
    }
    plat::TPoint cursor;
    plat::GetCursorPos(cursor);
    cursor = ScreenToClient(cursor);
    for (int index = 0; index < PageCount(); ++index) {
        const TPgcTabPage* page = GetPage(index);
        if (page->Enabled() && page->Area().Contains(cursor.X, cursor.Y)) {
            SetFocus();
            return;
        }
    }
}

// ---- focus ----

void TPgcNotebook::WMSetFocus(plat::TMessage& Msg)
{
    Inherited(Msg);
    InvalidateTab(FPageIndex);
}

void TPgcNotebook::WMKillFocus(plat::TMessage& Msg)
{
    InvalidateTab(FPageIndex);
    if (HandleAllocated() && plat::GetCapture() == Handle()) {
        plat::ReleaseCapture();
    }
    Inherited(Msg);
}

// ---- keys ----

namespace {

bool IsTabWalkCommand(std::uint16_t Command)
{
    switch (Command) {
    case ccDown:
    case ccEnd:
    case ccHome:
    case ccLeft:
    case ccRight:
    case ccUp:
        return true;
    default:
        return false;
    }
}

enum class TTabStep { None, Previous, Next, RowChange };

// What a direction key does for each edge the tabs stand on: walk along
// the row, or change rows (the key pointing away from the body).
TTabStep StepOf(std::uint16_t Command, TPgcTabOrientation Orientation)
{
    static constexpr TTabStep table[4][4] = {
        //                 toTop               toRight             toBottom            toLeft
        /* Left  */ {TTabStep::Previous, TTabStep::None, TTabStep::Previous, TTabStep::RowChange},
        /* Right */ {TTabStep::Next, TTabStep::RowChange, TTabStep::Next, TTabStep::None},
        /* Up    */ {TTabStep::RowChange, TTabStep::Previous, TTabStep::None, TTabStep::Next},
        /* Down  */ {TTabStep::None, TTabStep::Next, TTabStep::RowChange, TTabStep::Previous},
    };
    const int key = Command == ccLeft ? 0 : Command == ccRight ? 1 : Command == ccUp ? 2 : 3;
    return table[key][Orientation];
}

} // namespace

int TPgcNotebook::KeyTarget(std::uint16_t Command)
{
    switch (Command) {
    case ccHome:
        return NextValidIndex(PageCount() - 1);
    case ccEnd:
        return PrevValidIndex(0);
    default:
        break;
    }
    switch (StepOf(Command, FTabOrientation)) {
    case TTabStep::Previous:
        return PrevValidIndex(FPageIndex);
    case TTabStep::Next:
        return NextValidIndex(FPageIndex);
    case TTabStep::RowChange:
        if (tabTotalRows > 1) {
            if (const TPgcTabPage* page = GetPage(FPageIndex)) {
                SelectTabAt(RowChangePoint(FTabOrientation, FTabHeight, page->TabWidth(), page->Area()));
            }
        }
        return -1;
    case TTabStep::None:
        return -1;
    }
    return -1;
}

void TPgcNotebook::WMKeyDown(plat::TMessage& Msg)
{
    const auto life = Life();
    const std::uint16_t command = Controller()->EntryCommands()->Translate(Msg);
    if (IsTabWalkCommand(command)) {
        tabTabSelecting = true;
        const int target = KeyTarget(command);
        if (life->Alive() && target >= 0) {
            SetPageIndex(target);
            if (life->Alive() && CanFocus()) {
                SetFocus();
            }
        }
    } else if (command >= 256) {
        DoOnUserCommand(command);
    }
    Msg.Result = 0;
    if (life->Alive()) {
        Inherited(Msg);
    }
}

void TPgcNotebook::WMGetDlgCode(plat::TMessage& Msg)
{
    if (Designing()) {
        Msg.Result = plat::DLGC_STATIC;
        return;
    }
    Inherited(Msg);
    Msg.Result |= plat::DLGC_WANTARROWS;
}

// ---- accelerators ----

bool TPgcNotebook::SelectByAccelerator(char16_t Key)
{
    const int count = PageCount();
    const int start = FPageIndex >= 0 && FPageIndex < count ? FPageIndex : -1;
    for (int step = 1; step <= count; ++step) {
        const int index = (start + step + count) % count;
        TPgcTabPage* page = GetPage(index);
        if (!plat::IsAccelerator(Key, page->Caption())) {
            continue;
        }
        if (!IsValid(index) || !CanFocus()) {
            return false;
        }
        if (index == FPageIndex) {
            SetFocus();
            return true;
        }
        const auto life = Life();
        SetPageIndex(index);
        if (!life->Alive()) {
            return true;
        }
        plat::TWinControl* active = GetPage(FPageIndex);
        FocusFirstControlIn(active != nullptr ? active : this, nullptr, false);
        if (FPageIndex == index) {
            DoOnTabClick(index);
        }
        return true;
    }
    return false;
}

void TPgcNotebook::CMDialogChar(plat::TMessage& Msg)
{
    if (Enabled() && SelectByAccelerator(static_cast<char16_t>(Msg.WParam))) {
        Msg.Result = 1;
        return;
    }
    Inherited(Msg);
}

} // namespace qel
