// The paragraph editor's keyboard: key messages become command codes through
// the controller's command processor, and ProcessCommand carries out each
// command (caret moves, editing, clipboard, undo and markers).
#include "widgets/pages/pgc_editor.h"

#include "widgets/pages/para_list.h"
#include "widgets/pages/pgc_command_processor.h"
#include "widgets/pages/pgc_controller.h"

#include "platform/controls/control_types.h"
#include "platform/controls/window_input.h"
#include "platform/controls/window_messages.h"

namespace qel {

namespace {

constexpr plat::WPARAM TabKey = 9;
constexpr plat::WPARAM EnterKey = 13;
constexpr plat::WPARAM BackspaceKey = 8;
constexpr plat::WPARAM AltKey = 18;
constexpr std::uint16_t FirstUserCommand = 256;
constexpr std::uint16_t FirstControlChar = 32;
constexpr int MarkerCount = 10;

// The marker a digit key names: 0 .. 9, or -1 for any other key.
int MarkerOfKey(std::uint16_t CharCode)
{
    const int marker = static_cast<int>(CharCode) - '0';
    return marker >= 0 && marker < MarkerCount ? marker : -1;
}

// The commands after which OnChange fires, whether or not the text changed.
bool FiresOnChange(std::uint16_t Cmd)
{
    switch (Cmd) {
    case ccBack:
    case ccCut:
    case ccDel:
    case ccDelBol:
    case ccDelEol:
    case ccDelLine:
    case ccDelWord:
    case ccPaste:
    case ccRedo:
    case ccTab:
    case ccUndo:
    case TPgcCustomEditor::CharCommand:
        return true;
    default:
        return false;
    }
}

} // namespace

// ---- key messages ----

void TPgcCustomEditor::WMKeyDown(plat::TMessage& Msg)
{
    const auto life = Life();
    Inherited(Msg);
    if (!life->Alive()) {
        return;
    }
    const std::uint16_t code = Controller()->EntryCommands()->Translate(Msg);
    const auto key = static_cast<std::uint16_t>(Msg.WParam);
    if (ProcessCommand(code, key)) {
        Msg.Result = 0;
        return;
    }
    if (!life->Alive()) {
        return;
    }
    if (Msg.WParam == TabKey && FWantTab) {
        edInsertTab();
        Msg.Result = 0;
    } else if (Msg.WParam == EnterKey && FWantEnter) {
        edNewLine(FInsertMode && !ReadOnly(), true);
        Msg.Result = 0;
    }
    edSuppressChar = code == ccPartialKey || Msg.WParam == BackspaceKey;
}

void TPgcCustomEditor::WMSysKeyDown(plat::TMessage& Msg)
{
    const auto life = Life();
    Inherited(Msg);
    if (!life->Alive() || Msg.WParam == TabKey || Msg.WParam == AltKey) {
        return;
    }
    plat::TShiftState shift = plat::KeyDataToShiftState(Msg.LParam);
    shift.Include(plat::ssAlt);
    const auto key = static_cast<std::uint16_t>(Msg.WParam);
    const std::uint16_t code = Controller()->EntryCommands()->TranslateKey(key, shift);
    if (code != 0) {
        ProcessCommand(code, key);
    }
}

void TPgcCustomEditor::WMChar(plat::TMessage& Msg)
{
    const auto life = Life();
    Inherited(Msg);
    if (!life->Alive() || edSuppressChar || Msg.WParam < FirstControlChar) {
        return;
    }
    ProcessCommand(CharCommand, static_cast<std::uint16_t>(Msg.WParam));
    Msg.Result = 0;
}

void TPgcCustomEditor::WMGetDlgCode(plat::TMessage& Msg)
{
    if (Designing()) {
        Msg.Result = plat::DLGC_STATIC;
        return;
    }
    Inherited(Msg);
    Msg.Result |= plat::DLGC_WANTARROWS | plat::DLGC_WANTALLKEYS | plat::DLGC_WANTCHARS;
    if (FWantTab) {
        Msg.Result |= plat::DLGC_WANTTAB;
    }
}

// ---- commands ----

bool TPgcCustomEditor::ProcessCommand(std::uint16_t Cmd, std::uint16_t CharCode)
{
    if (Cmd >= FirstUserCommand) {
        DoOnUserCommand(Cmd);
        return true;
    }
    const int marker = MarkerOfKey(CharCode);
    switch (Cmd) {
    case ccBack:
        if (ReadOnly()) {
            edMoveLeft(false);
        } else {
            edDeleteBack();
        }
        break;
    case ccBotOfPage:
        edMoveBotOfPage(false);
        break;
    case ccCopy:
        if (HasSelection()) {
            CopyToClipboard();
        }
        break;
    case ccCtrlChar:
        break;
    case ccCut:
        CutToClipboard();
        break;
    case ccDel:
        edDeleteChar();
        break;
    case ccDelBol:
        edDeleteToBol();
        break;
    case ccDelEol:
        edDeleteToEol();
        break;
    case ccDelLine:
        edDeleteLine();
        break;
    case ccDelWord:
        edDeleteWord();
        break;
    case ccDown:
    case ccExtendDown:
        edMoveCaret(0, 1, false, Cmd == ccExtendDown);
        break;
    case ccEnd:
    case ccExtendEnd:
        edMoveEnd(Cmd == ccExtendEnd);
        break;
    case ccHome:
    case ccExtendHome:
        edMoveHome(Cmd == ccExtendHome);
        break;
    case ccLeft:
    case ccExtendLeft:
        edMoveLeft(Cmd == ccExtendLeft);
        break;
    case ccRight:
    case ccExtendRight:
        edMoveRight(Cmd == ccExtendRight);
        break;
    case ccNextPage:
    case ccExtendPgDn:
        edMovePage(1, Cmd == ccExtendPgDn);
        break;
    case ccPrevPage:
    case ccExtendPgUp:
        edMovePage(-1, Cmd == ccExtendPgUp);
        break;
    case ccUp:
    case ccExtendUp:
        edMoveCaret(0, -1, false, Cmd == ccExtendUp);
        break;
    case ccExtBotOfPage:
        if (edCurLine >= edTopLine && edCurLine < edTopLine + edRows) {
            edMoveBotOfPage(true);
        }
        break;
    case ccExtTopOfPage:
        if (edCurLine >= edTopLine && edCurLine < edTopLine + edRows) {
            edMoveTopOfPage(true);
        }
        break;
    case ccFirstPage:
    case ccExtFirstPage:
        edMoveCaretTo(1, 1, Cmd == ccExtFirstPage);
        break;
    case ccLastPage:
    case ccExtLastPage:
        edMoveCaretTo(LineCount(), edParas->LineLength(LineCount()) + 1, Cmd == ccExtLastPage);
        break;
    case ccWordLeft:
    case ccExtWordLeft:
        edMoveWordLeft(Cmd == ccExtWordLeft);
        break;
    case ccWordRight:
    case ccExtWordRight:
        edMoveWordRight(Cmd == ccExtWordRight);
        break;
    case ccIns:
        SetInsertMode(!FInsertMode);
        break;
    case ccNewLine:
        edNewLine(FInsertMode && !ReadOnly(), true);
        break;
    case ccPaste:
        PasteFromClipboard();
        break;
    case ccRedo:
        Redo();
        break;
    case ccUndo:
        Undo();
        break;
    case ccScrollDown:
        edVScrollBy(FWheelDelta);
        break;
    case ccScrollUp:
        edVScrollBy(-FWheelDelta);
        break;
    case ccTab:
        edInsertTab();
        break;
    case ccTopOfPage:
        edMoveTopOfPage(false);
        break;
    case CharCommand:
        if (!ReadOnly()) {
            edInsertChar(static_cast<char16_t>(CharCode));
        }
        break;
    default:
        if (Cmd >= ccGotoMarker0 && Cmd < ccGotoMarker0 + MarkerCount && marker >= 0) {
            GotoMarker(static_cast<std::uint8_t>(marker));
            break;
        }
        if (Cmd >= ccSetMarker0 && Cmd < ccSetMarker0 + MarkerCount && marker >= 0) {
            SetMarker(static_cast<std::uint8_t>(marker));
            break;
        }
        return false;
    }
    if (FiresOnChange(Cmd)) {
        DoOnChange();
    }
    return true;
}

void TPgcCustomEditor::DoOnUserCommand(std::uint16_t Command)
{
    OnUserCommand(this, Command);
}

// ---- undo and redo ----

void TPgcCustomEditor::Undo()
{
    if (!CanUndo()) {
        plat::MessageBeep(0);
        return;
    }
    std::int32_t para = 0;
    std::int32_t pos = 0;
    edParas->Undo(this, para, pos);
    PlaceCaretAt({para, pos});
    edSetVScrollRange();
    edScrollPrim(0, 0);
    ShowUndoneCaret();
}

void TPgcCustomEditor::Redo()
{
    if (!CanRedo()) {
        plat::MessageBeep(0);
        return;
    }
    std::int32_t para = 0;
    std::int32_t pos = 0;
    edParas->Redo(this, para, pos);
    PlaceCaretAt({para, pos});
    ShowUndoneCaret();
}

void TPgcCustomEditor::ShowUndoneCaret()
{
    edCollapseSelection(false);
    edRedraw(false);
    int effCol = 0;
    if (!edCaretInView(effCol)) {
        edMoveCaretTo(edCurLine, edCurCol, false);
    }
}

} // namespace qel
