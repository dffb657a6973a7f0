// The entry field's interactive side: keys turned into commands through the
// controller's command processor, the read-only refusals, focus entry and
// loss with pending validation, the caret and horizontal scrolling, the
// selection messages, the clipboard, the text messages and the pop-up menu.
#include "widgets/pages/pgc_base_entry_field.h"

#include "widgets/pages/pgc_command_codes.h"
#include "widgets/pages/pgc_control_messages.h"
#include "widgets/pages/pgc_input.h"
#include "widgets/pages/pgc_messages.h"

#include "platform/controls/application.h"
#include "platform/controls/clipboard.h"
#include "platform/controls/form.h"
#include "platform/controls/standard/edit_messages.h"
#include "platform/controls/standard/popup_menu.h"
#include "platform/controls/virtual_keys.h"
#include "platform/controls/window.h"
#include "platform/controls/window_input.h"
#include "platform/controls/window_messages.h"
#include "platform/text_encoding.h"

#include <algorithm>
#include <cstring>

namespace qel {

PLAT_BEGIN_MESSAGES(TPgcBaseEntryField, TPgcCustomControlEx)
    PLAT_MESSAGE(plat::WM_SETFOCUS, WMSetFocus)
    PLAT_MESSAGE(plat::WM_KILLFOCUS, WMKillFocus)
    PLAT_MESSAGE(plat::WM_KEYDOWN, WMKeyDown)
    PLAT_MESSAGE(plat::WM_SYSKEYDOWN, WMSysKeyDown)
    PLAT_MESSAGE(plat::WM_CHAR, WMChar)
    PLAT_MESSAGE(plat::WM_COPY, WMCopy)
    PLAT_MESSAGE(plat::WM_CUT, WMCut)
    PLAT_MESSAGE(plat::WM_CLEAR, WMClear)
    PLAT_MESSAGE(plat::WM_PASTE, WMPaste)
    PLAT_MESSAGE(plat::WM_SETTEXT, WMSetText)
    PLAT_MESSAGE(plat::WM_GETTEXT, WMGetText)
    PLAT_MESSAGE(plat::WM_GETTEXTLENGTH, WMGetTextLength)
    PLAT_MESSAGE(plat::WM_GETDLGCODE, WMGetDlgCode)
    PLAT_MESSAGE(plat::WM_LBUTTONDOWN, WMLButtonDown)
    PLAT_MESSAGE(plat::WM_LBUTTONDBLCLK, WMLButtonDblClk)
    PLAT_MESSAGE(plat::WM_MOUSEMOVE, WMMouseMove)
    PLAT_MESSAGE(plat::WM_RBUTTONUP, WMRButtonUp)
    PLAT_MESSAGE(plat::WM_MOUSEACTIVATE, WMMouseActivate)
    PLAT_MESSAGE(plat::EM_GETSEL, EMGetSel)
    PLAT_MESSAGE(plat::EM_SETSEL, EMSetSel)
    PLAT_MESSAGE(plat::EM_GETMODIFY, EMGetModify)
    PLAT_MESSAGE(plat::EM_SETMODIFY, EMSetModify)
    PLAT_MESSAGE(plat::CM_DIALOGCHAR, CMDialogChar)
    PLAT_MESSAGE(PGCM_DATASIZE, PgcmDataSize)
    PLAT_MESSAGE(PGCM_REPORTERROR, PgcmReportError)
    PLAT_MESSAGE(plat::WM_ERASEBKGND, WMEraseBkgnd)
    PLAT_MESSAGE(plat::WM_SIZE, WMSize)
    PLAT_MESSAGE(plat::CM_FONTCHANGED, CMFontChanged)
    PLAT_MESSAGE(plat::CM_CTL3DCHANGED, CMCtl3DChanged)
    PLAT_MESSAGE(plat::CM_ENABLEDCHANGED, CMEnabledChanged)
    PLAT_MESSAGE(plat::WM_SETFONT, WMSetFont)
    PLAT_MESSAGE(plat::WM_IME_NOTIFY, WMImeNotify)
PLAT_END_MESSAGES

namespace {

// Sets the edit control's formatting rectangle; nothing here answers it.
constexpr plat::UINT EM_SETRECTNP = 0x00B4;
// The selection index that stands for the end of the text.
constexpr std::uint16_t kEndOfText = 255;
// Bit 29 of a key message's data: Alt was held.
constexpr std::uint32_t kAltHeldBit = 1u << 29;

// Messages of the pop-up menu's captions.
constexpr std::uint16_t kMsgRestore = 30287;
constexpr std::uint16_t kMsgCut = 30288;
constexpr std::uint16_t kMsgCopy = 30289;
constexpr std::uint16_t kMsgPaste = 30290;
constexpr std::uint16_t kMsgDelete = 30291;
constexpr std::uint16_t kMsgSelectAll = 30292;

bool IsRefusedWhileReadOnly(std::uint16_t Cmd)
{
    return Cmd == ccBack || (Cmd >= ccCtrlChar && Cmd <= ccDelWord) || Cmd == ccInc || Cmd == ccPaste
        || Cmd == ccRestore || Cmd == ccTypedChar;
}

void SetFlag(TsefOptionSet& Set, TsefOption Flag, bool On)
{
    if (On) {
        Set.Include(Flag);
    } else {
        Set.Exclude(Flag);
    }
}

} // namespace

// ---- command routing ----

void TPgcBaseEntryField::PerformCommand(plat::TMessage& Msg, std::uint16_t Cmd)
{
    if (!HandleAllocated()) {
        if (Parent() == nullptr) {
            return;
        }
        HandleNeeded();
    }
    if (Cmd == ccTypedChar && Msg.WParam == 0) {
        return;
    }
    if (IsReadOnly() && IsRefusedWhileReadOnly(Cmd)) {
        SignalRefusal();
        return;
    }
    if (Cmd >= ccUserFirst) {
        DoOnUserCommand(Cmd);
        Cmd = ccBrokenSequence;
    }
    EditCommand(Msg, Cmd);
}

void TPgcBaseEntryField::SignalRefusal()
{
    if (Controller()->EntryOptions().Contains(efoBeepOnError)) {
        plat::MessageBeep(0);
    }
}

void TPgcBaseEntryField::ProcessCommand(std::uint16_t Cmd, std::uint16_t CharCode)
{
    plat::TMessage msg;
    msg.WParam = CharCode;
    PerformCommand(msg, Cmd);
}

void TPgcBaseEntryField::DoOnUserCommand(std::uint16_t Command)
{
    OnUserCommand(this, Command);
}

void TPgcBaseEntryField::RouteKeyCommand(plat::TMessage& Msg, std::uint16_t Cmd)
{
    switch (Cmd) {
    case ccCopy:
        WMCopy(Msg);
        break;
    case ccCut:
        WMCut(Msg);
        break;
    case ccPaste:
        WMPaste(Msg);
        break;
    default:
        PerformCommand(Msg, Cmd);
        break;
    }
}

void TPgcBaseEntryField::WMKeyDown(plat::TMessage& Msg)
{
    Inherited(Msg);
    const auto key = static_cast<std::uint16_t>(Msg.WParam);
    if (key == 0 || key == plat::VK_SHIFT) {
        return;
    }
    std::uint16_t cmd = Controller()->EntryCommands()->Translate(Msg);
    if (cmd == ccUndo) {
        cmd = ccRestore;
    }
    if (cmd == ccNone) {
        return;
    }
    if (cmd == ccIns && (FOptions.Contains(efoForceInsert) || FOptions.Contains(efoForceOvertype))) {
        return;
    }
    RouteKeyCommand(Msg, cmd);
}

void TPgcBaseEntryField::WMSysKeyDown(plat::TMessage& Msg)
{
    Inherited(Msg);
    const auto key = static_cast<std::uint16_t>(Msg.WParam);
    if (key == plat::VK_TAB || key == plat::VK_MENU) {
        return;
    }
    std::uint16_t cmd = Controller()->EntryCommands()->TranslateKey(key, plat::TShiftState{plat::ssAlt});
    if (cmd == ccUndo) {
        cmd = ccRestore;
    }
    if (cmd != ccNone) {
        RouteKeyCommand(Msg, cmd);
    }
    if (key >= plat::VK_NUMPAD0 && key <= plat::VK_NUMPAD9) {
        sefOptions.Include(sefCharOK);
        sefOptions.Include(sefAcceptChar);
    }
}

void TPgcBaseEntryField::WMChar(plat::TMessage& Msg)
{
    Inherited(Msg);
    if (sefOptions.Contains(sefCharOK)) {
        PerformCommand(Msg, ccTypedChar);
    }
}

// ---- focus ----

bool TPgcBaseEntryField::AnotherFieldErrorPending() const
{
    return Controller()->ErrorPending() && FLastError == 0;
}

void TPgcBaseEntryField::NotifyPreEdit(plat::HWND LosingWindow)
{
    Controller()->DoOnPreEdit(this, plat::TWinControl::FindControl(LosingWindow));
}

void TPgcBaseEntryField::NotifyPostEdit(plat::HWND GainingWindow)
{
    Controller()->DoOnPostEdit(this, plat::TWinControl::FindControl(GainingWindow));
}

void TPgcBaseEntryField::WMSetFocus(plat::TMessage& Msg)
{
    if (ComponentState().Contains(plat::csLoading) || Designing()) {
        return;
    }
    TPgcController* controller = Controller();
    sefOptions.Include(sefHaveFocus);
    controller->EntryCommands()->ResetCommandProcessor();
    const bool valPending = sefOptions.Contains(sefValPending);
    const auto losing = static_cast<plat::HWND>(Msg.WParam);
    if (valPending) {
        if (losing != 0 && plat::IsWindow(losing)) {
            plat::SendMessage(losing, plat::WM_CANCELMODE, 0, 0);
            plat::TPoint cursor;
            plat::GetCursorPos(cursor);
            plat::SendMessage(losing, plat::WM_LBUTTONUP, 0, plat::MAKELPARAM(cursor.X, cursor.Y));
        }
        Show();
        plat::TCustomForm* form = plat::GetParentForm(this);
        if (form != nullptr && !Focused() && CanFocus()) {
            form->FocusControl(this);
        }
    }
    if (!FOptions.Contains(efoForceInsert) && !FOptions.Contains(efoForceOvertype)) {
        SetFlag(sefOptions, sefInsert, controller->InsertMode());
    }
    const bool otherPending = AnotherFieldErrorPending();
    const bool placeCaret = !sefOptions.Contains(sefRetainPos) && !sefOptions.Contains(sefNoHighlight);
    if (!sefOptions.Contains(sefRetainPos)) {
        if (!otherPending) {
            if (!valPending) {
                sefOptions.Exclude(sefModified);
            }
            NotifyPreEdit(losing);
            SaveEditString();
        }
        if (!sefOptions.Contains(sefNoHighlight)) {
            PlaceCaretByOption();
            if (FOptions.Contains(efoCaretToEnd)) {
                SetSelection(kEndOfText, kEndOfText);
            } else {
                SetSelection(0, 0);
            }
        }
    }
    SetFlag(sefOptions, sefIgnoreFocus, otherPending && !FOptions.Contains(efoSoftValidation));
    sefOptions -= TsefOptionSet{sefErrorPending, sefRetainPos, sefNoHighlight, sefValPending};
    if (!otherPending) {
        controller->SetErrorPending(false);
    }
    Inherited(Msg);
    if (FOptions.Contains(efoForceInsert)) {
        sefOptions.Include(sefInsert);
    } else if (FOptions.Contains(efoForceOvertype)) {
        sefOptions.Exclude(sefInsert);
    }
    efCaret->SetLinked(true);
    efCaret->SetVisible(true);
    efCaret->SetInsertMode(sefOptions.Contains(sefInsert));
    UpdateCaretAndScroll(placeCaret);
    if (placeCaret && !otherPending && controller->EntryOptions().Contains(efoAutoSelect)) {
        SetSelection(0, kEndOfText);
    }
    Refresh();
}

bool TPgcBaseEntryField::IsWindowOnSameForm(plat::HWND Window) const
{
    plat::TWinControl* control = plat::TWinControl::FindControl(Window);
    if (control == nullptr) {
        control = plat::TWinControl::FindControl(plat::GetParent(Window));
    }
    if (control == nullptr) {
        return false;
    }
    return FindParentFormOrFrame(control) == FindParentFormOrFrame(this);
}

void TPgcBaseEntryField::WMKillFocus(plat::TMessage& Msg)
{
    CompleteImeComposition();
    plat::HWND target = static_cast<plat::HWND>(Msg.WParam);
    if (target == FHandle || (target != 0 && !IsWindowOnSameForm(target))) {
        target = 0;
    }
    SetFlag(sefOptions, sefRetainPos, target == 0);
    efCaret->SetLinked(false);
    if (MouseCapture()) {
        SetMouseCapture(false);
    }
    Inherited(Msg);
    TPgcController* controller = Controller();
    if (!FOptions.Contains(efoForceInsert) && !FOptions.Contains(efoForceOvertype)) {
        controller->SetInsertMode(sefOptions.Contains(sefInsert));
    }
    if (sefOptions.Contains(sefErrorPending) || sefOptions.Contains(sefIgnoreFocus)) {
        SetFlag(sefOptions, sefValPending, sefOptions.Contains(sefErrorPending));
    } else {
        sefOptions.Include(sefValPending);
        if (target != 0) {
            if (Modified()) {
                SetUninitialized(false);
            }
            if (controller->IsSpecialButton(target)) {
                const bool modified = Modified();
                sefOptions.Include(sefValidating);
                ValidateValue();
                sefOptions.Exclude(sefValidating);
                SetModified(modified);
            } else {
                CheckBeforeLeave(true);
                SetFlag(sefOptions, sefValPending, sefOptions.Contains(sefErrorPending));
            }
        }
    }
    sefOptions.Exclude(sefHaveFocus);
    if (target != 0 && !sefOptions.Contains(sefRetainPos) && !sefOptions.Contains(sefIgnoreFocus)) {
        NotifyPostEdit(target);
    }
    sefOptions.Exclude(sefIgnoreFocus);
    if (!sefOptions.Contains(sefRetainPos)) {
        PlaceCaretAtStart();
    }
    Refresh();
}

// ---- caret, scrolling and selection ----

void TPgcBaseEntryField::PlaceCaretAtEnd()
{
    efHPos = EditLength();
}

void TPgcBaseEntryField::PlaceCaretAtStart()
{
    efHPos = 0;
    efHOffset = 0;
}

void TPgcBaseEntryField::PlaceCaretByOption()
{
    if (FOptions.Contains(efoCaretToEnd)) {
        PlaceCaretAtEnd();
    } else {
        PlaceCaretAtStart();
    }
}

void TPgcBaseEntryField::MoveCaret(int Delta)
{
    if (!HaveFocus()) {
        return;
    }
    plat::TMessage msg;
    const std::uint16_t cmd = Delta >= 0 ? ccRight : ccLeft;
    for (int i = 0; i < std::abs(Delta); ++i) {
        msg = plat::TMessage{};
        PerformCommand(msg, cmd);
    }
}

int TPgcBaseEntryField::CurrentPos() const
{
    return HaveFocus() ? efHPos : -1;
}

void TPgcBaseEntryField::SetCurrentPos(int Value)
{
    if (!HaveFocus()) {
        return;
    }
    efHPos = std::clamp(Value, 0, EditLength());
    UpdateCaretAndScroll(true);
}

bool TPgcBaseEntryField::InsertMode() const
{
    return HasController() ? Controller()->InsertMode() : sefOptions.Contains(sefInsert);
}

void TPgcBaseEntryField::SetInsertMode(bool Value)
{
    if (Value == sefOptions.Contains(sefInsert)) {
        return;
    }
    SetFlag(sefOptions, sefInsert, Value);
    Controller()->SetInsertMode(Value);
    efCaret->SetInsertMode(Value);
}

bool TPgcBaseEntryField::UpdateCaretAndScroll(bool Scroll)
{
    if (!HaveFocus() || !HandleAllocated()) {
        return false;
    }
    const int oldOffset = efHOffset;
    const int first = FirstEditPosition();
    if (Scroll) {
        if ((efHPos == first || efHPos == first + 1) && efHOffset != 0) {
            efHOffset = 0;
        } else if (efHPos < efHOffset) {
            efHOffset = efHPos;
        }
    }
    const std::u16string text = BuildDisplayText(kMaxLength);
    const int length = static_cast<int>(text.size());
    const int caret = std::clamp(efHPos, 0, length);
    const int room = ClientWidth() - FTextMargin - 1;
    efRightAlignActive = FOptions.Contains(efoRightAlign);
    if (efRightAlignActive) {
        if (TextWidth(text) < room) {
            efHOffset = 0;
        } else {
            efRightAlignActive = false;
        }
    }
    const auto widthFrom = [&](int Offset) {
        const std::u16string_view view(text);
        if (efRightAlignActive) {
            return TextWidth(view.substr(static_cast<std::size_t>(caret)));
        }
        const int from = std::clamp(Offset, 0, length);
        return caret > from ? TextWidth(view.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(caret - from)))
                            : 0;
    };
    int width = widthFrom(efHOffset);
    if (width >= room && !sefOptions.Contains(sefNumeric) && Scroll && efHOffset < caret) {
        // The first offset from which the text up to the caret fits; the
        // width only shrinks as the offset moves right.
        int low = efHOffset + 1;
        int high = caret;
        while (low < high) {
            const int middle = low + (high - low) / 2;
            if (widthFrom(middle) < room) {
                high = middle;
            } else {
                low = middle + 1;
            }
        }
        efHOffset = low;
        width = widthFrom(low);
    }
    const plat::TTextMetric metrics = MeasuringDC().GetTextMetrics();
    efCaret->SetCellHeight(metrics.Height);
    const std::u16string_view under = caret < length ? std::u16string_view(text).substr(static_cast<std::size_t>(caret), 1)
                                                     : std::u16string_view(u" ");
    efCaret->SetCellWidth(TextWidth(under));
    if (const TPgcCaret* type = efCaret->CaretType();
        type != nullptr && (type->Shape() == csBlock || type->Shape() == csHalfBlock || type->Shape() == csHorzLine
                            || type->CaretWidth() > 4)) {
        width += efRightAlignActive ? -1 : 1;
    }
    const auto penOf = [](const TPgcBorder* side) { return side->Enabled() ? side->PenWidth() : 0; };
    int x;
    if (efFieldClass == EfClassNumeric) {
        x = ClientWidth() - (FTextMargin + penOf(FBorders->RightBorder())) - 1;
    } else if (efRightAlignActive) {
        x = ClientWidth() - width - (FTextMargin + penOf(FBorders->RightBorder())) - 2;
    } else {
        x = width + FTextMargin + penOf(FBorders->LeftBorder()) - 2;
    }
    efCaret->SetPosition({x, std::max(efTopMargin, 0)});
    PlaceCompositionWindow(x, std::max(efTopMargin, 0));
    plat::TRect rect = AlignWithMargins()
        ? plat::TRect{Margins().Left, Margins().Top, ClientWidth() - Margins().Right + 1,
                      ClientHeight() - Margins().Bottom}
        : plat::TRect{0, 0, ClientWidth() + 1, ClientHeight()};
    Perform(EM_SETRECTNP, 0, reinterpret_cast<plat::LPARAM>(&rect));
    Perform(plat::EM_SCROLLCARET);
    return efHOffset != oldOffset;
}

void TPgcBaseEntryField::SetSelection(std::uint16_t Start, std::uint16_t Stop)
{
    if (Start > Stop) {
        return;
    }
    const int length = EditLength();
    efSelStart = std::min<int>(Start, length);
    efSelEnd = std::min<int>(Stop, length);
    if (efFieldClass == EfClassNumeric && efSelEnd > efSelStart) {
        efSelStart = 0;
        efSelEnd = kEndOfText;
    }
}

void TPgcBaseEntryField::SetSelectionStart(int Value)
{
    const auto start = static_cast<std::uint16_t>(std::clamp(Value, 0, 0xFFFF));
    SetSelection(start, start);
    Refresh();
}

void TPgcBaseEntryField::SetSelectionLength(int Value)
{
    SetSelection(static_cast<std::uint16_t>(efSelStart),
                 static_cast<std::uint16_t>(std::clamp(efSelStart + Value, 0, 0xFFFF)));
    Refresh();
}

std::string TPgcBaseEntryField::SelectedText() const
{
    const int length = EditLength();
    const int start = std::min(efSelStart, length);
    const int end = std::min(efSelEnd, length);
    if (end <= start) {
        return {};
    }
    return plat::Utf16ToUtf8(std::u16string_view(efEditSt.data() + start, static_cast<std::size_t>(end - start)));
}

void TPgcBaseEntryField::SetSelectedText(const std::string& Value)
{
    std::u16string text = plat::Utf8ToUtf16(Value);
    text.resize(std::min<std::size_t>(text.size(), std::min<std::size_t>(kMaxLength, FMaxLength)));
    plat::TMessage msg;
    msg.LParam = reinterpret_cast<plat::LPARAM>(text.c_str());
    PerformCommand(msg, ccPaste);
}

void TPgcBaseEntryField::SelectAll()
{
    if (HandleAllocated()) {
        plat::SendMessage(FHandle, plat::EM_SETSEL, 1, plat::MAKELPARAM(0, 0xFFFF));
    }
}

void TPgcBaseEntryField::EMGetSel(plat::TMessage& Msg)
{
    if (auto* start = reinterpret_cast<std::uint32_t*>(Msg.WParam)) {
        *start = static_cast<std::uint32_t>(efSelStart);
    }
    if (auto* end = reinterpret_cast<std::uint32_t*>(Msg.LParam)) {
        *end = static_cast<std::uint32_t>(efSelEnd);
    }
    Msg.Result = plat::MAKELPARAM(efSelStart, efSelEnd);
}

void TPgcBaseEntryField::EMSetSel(plat::TMessage& Msg)
{
    const std::uint16_t start = plat::LOWORD(Msg.LParam);
    const std::uint16_t stop = plat::HIWORD(Msg.LParam);
    if (start == 0xFFFF) {
        SetSelection(0, 0);
    } else if (start == 0 && stop == 0xFFFF) {
        SetSelection(0, kEndOfText);
    } else if (stop >= start) {
        SetSelection(start, stop);
    }
    Invalidate();
}

void TPgcBaseEntryField::EMGetModify(plat::TMessage& Msg)
{
    Msg.Result = Modified() ? 1 : 0;
}

void TPgcBaseEntryField::EMSetModify(plat::TMessage& Msg)
{
    SetModified(Msg.WParam != 0);
}

// ---- clipboard and text ----

void TPgcBaseEntryField::ClearContents()
{
    if (!HandleAllocated()) {
        return;
    }
    const bool readOnly = FOptions.Contains(efoReadOnly);
    FOptions.Exclude(efoReadOnly);
    sefOptions.Include(sefUpdating);
    plat::SendMessage(FHandle, plat::WM_SETTEXT, 0, reinterpret_cast<plat::LPARAM>(""));
    sefOptions.Exclude(sefUpdating);
    if (readOnly) {
        FOptions.Include(efoReadOnly);
    }
}

void TPgcBaseEntryField::SendToSelf(plat::UINT Msg)
{
    if (HandleAllocated()) {
        plat::SendMessage(FHandle, Msg, 0, 0);
    }
}

void TPgcBaseEntryField::ClearSelection()
{
    SendToSelf(plat::WM_CLEAR);
}

void TPgcBaseEntryField::CopyToClipboard()
{
    SendToSelf(plat::WM_COPY);
}

void TPgcBaseEntryField::CutToClipboard()
{
    SendToSelf(plat::WM_CUT);
}

void TPgcBaseEntryField::PasteFromClipboard()
{
    SendToSelf(plat::WM_PASTE);
}

void TPgcBaseEntryField::CopySelectionToClipboard()
{
    const int n = efSelEnd - efSelStart;
    if (n <= 0) {
        return;
    }
    const std::u16string display = BuildDisplayText(kMaxLength);
    const int length = static_cast<int>(display.size());
    const int start = std::min(efSelStart, length);
    const int end = std::min(efSelEnd, length);
    plat::HGLOBAL block = plat::GlobalAlloc(plat::GHND, static_cast<std::size_t>(2 * n + 2));
    if (block == nullptr) {
        return;
    }
    auto* dest = static_cast<char16_t*>(plat::GlobalLock(block));
    for (int i = start; i < end; ++i) {
        const char16_t edit = efEditSt[static_cast<std::size_t>(i)];
        dest[i - start] = edit >= 1 && edit <= 31 ? edit : display[static_cast<std::size_t>(i)];
    }
    plat::GlobalUnlock(block);
    if (plat::OpenClipboard(HandleAllocated() ? FHandle : 0)) {
        plat::EmptyClipboard();
        if (plat::SetClipboardData(plat::CF_UNICODETEXT, block) == nullptr) {
            plat::GlobalFree(block);
        }
        plat::CloseClipboard();
    } else {
        plat::GlobalFree(block);
    }
}

void TPgcBaseEntryField::WMCopy(plat::TMessage& Msg)
{
    PerformCommand(Msg, ccCopy);
}

void TPgcBaseEntryField::WMCut(plat::TMessage& Msg)
{
    CopySelectionToClipboard();
    PerformCommand(Msg, ccCut);
}

void TPgcBaseEntryField::WMClear(plat::TMessage& Msg)
{
    PerformCommand(Msg, ccCut);
}

void TPgcBaseEntryField::WMPaste(plat::TMessage& Msg)
{
    if (!plat::IsClipboardFormatAvailable(plat::CF_UNICODETEXT)) {
        return;
    }
    plat::HGLOBAL block = plat::GetClipboardData(plat::CF_UNICODETEXT);
    if (block == nullptr) {
        return;
    }
    // At most MaxLength characters reach the edit buffer, whatever the clipboard holds.
    std::u16string text = plat::Utf8ToUtf16(plat::UnicodeBlockToText(block));
    plat::GlobalFree(block);
    text.resize(std::min<std::size_t>(text.size(), FMaxLength));
    Msg.LParam = reinterpret_cast<plat::LPARAM>(text.c_str());
    PerformCommand(Msg, ccPaste);
}

void TPgcBaseEntryField::WMSetText(plat::TMessage& Msg)
{
    if (!HandleAllocated()) {
        return;
    }
    const char* utf8 = reinterpret_cast<const char*>(Msg.LParam);
    std::u16string text = plat::Utf8ToUtf16(utf8 != nullptr ? utf8 : "");
    text.resize(std::min<std::size_t>(text.size(), FMaxLength));
    SetSelection(0, kEndOfText);
    Msg.LParam = reinterpret_cast<plat::LPARAM>(text.c_str());
    PerformCommand(Msg, ccPaste);
    Msg.Result = 1;
}

void TPgcBaseEntryField::WMGetText(plat::TMessage& Msg)
{
    auto* buffer = reinterpret_cast<char*>(Msg.LParam);
    if (buffer == nullptr || Msg.WParam == 0) {
        Msg.Result = 0;
        return;
    }
    const std::string text = AsString();
    std::size_t count = std::min<std::size_t>(text.size(), Msg.WParam - 1);
    while (count > 0 && count < text.size() && (static_cast<unsigned char>(text[count]) & 0xC0) == 0x80) {
        --count;   // never cut a character in two
    }
    std::memcpy(buffer, text.data(), count);
    buffer[count] = '\0';
    Msg.Result = static_cast<plat::LRESULT>(count);
}

void TPgcBaseEntryField::WMGetTextLength(plat::TMessage& Msg)
{
    Msg.Result = static_cast<plat::LRESULT>(AsString().size());
}

void TPgcBaseEntryField::WMGetDlgCode(plat::TMessage& Msg)
{
    Inherited(Msg);
    if (Designing()) {
        Msg.Result = plat::DLGC_STATIC;
    } else {
        Msg.Result |= plat::DLGC_WANTCHARS | plat::DLGC_WANTARROWS;
    }
}

void TPgcBaseEntryField::CMDialogChar(plat::TMessage& Msg)
{
    if (Msg.WParam == plat::VK_BACK && (static_cast<std::uint32_t>(Msg.LParam) & kAltHeldBit) != 0) {
        Msg.Result = 1;
    }
    Inherited(Msg);
}

void TPgcBaseEntryField::PgcmDataSize(plat::TMessage& Msg)
{
    Msg.Result = DataSize();
}

// ---- save and restore ----

void TPgcBaseEntryField::SaveEditString()
{
    efSaveEdit = EditText();
}

void TPgcBaseEntryField::Restore()
{
    if (!efSaveEdit) {
        return;
    }
    MergeWithPicture(*efSaveEdit);
    PlaceCaretByOption();
    SetSelection(0, kEndOfText);
    sefOptions.Exclude(sefModified);
    Invalidate();
    DoOnChange();
}

void TPgcBaseEntryField::TextChanged()
{
    SetModified(true);
    DoOnChange();
}

void TPgcBaseEntryField::DoOnChange()
{
    if (!sefOptions.Contains(sefUpdating)) {
        OnChange(this);
    }
}

// ---- mouse ----

void TPgcBaseEntryField::WMLButtonDown(plat::TMessage& Msg)
{
    Inherited(Msg);
    if (!HaveFocus()) {
        sefOptions.Include(sefNoHighlight);
        SetSelection(0, 0);
        if (!Focused() && CanFocus()) {
            SetFocus();
        }
    }
    if (HaveFocus()) {
        PerformCommand(Msg, ccMouseDown);
    }
}

void TPgcBaseEntryField::WMLButtonDblClk(plat::TMessage& Msg)
{
    if (HaveFocus()) {
        PerformCommand(Msg, ccDoubleClick);
    }
    Inherited(Msg);
}

void TPgcBaseEntryField::WMMouseMove(plat::TMessage& Msg)
{
    Inherited(Msg);
    if (MouseCapture() && (plat::GetAsyncKeyState(PrimaryMouseButtonKey()) & 0x8000) != 0) {
        PerformCommand(Msg, ccMouseDrag);
    }
}

void TPgcBaseEntryField::WMMouseActivate(plat::TMessage& Msg)
{
    if (!Designing()) {
        Inherited(Msg);
    }
}

// ---- pop-up menu ----

void TPgcBaseEntryField::WMRButtonUp(plat::TMessage& Msg)
{
    if (!HaveFocus() && !Focused() && CanFocus()) {
        SetFocus();
    }
    Inherited(Msg);
    if (PopupMenu() == nullptr) {
        ShowPopupMenu({static_cast<std::int16_t>(plat::LOWORD(Msg.LParam)),
                       static_cast<std::int16_t>(plat::HIWORD(Msg.LParam))});
    }
}

void TPgcBaseEntryField::ShowPopupMenu(plat::TPoint ClientPoint)
{
    const bool selected = efSelEnd > efSelStart;
    const bool readOnly = IsReadOnly();
    auto* menu = new plat::TPopupMenu(this);
    const auto add = [&](std::uint16_t Message, bool Enabled, void (TPgcBaseEntryField::*Handler)(plat::TObject*)) {
        auto* item = new plat::TMenuItem(menu);
        item->SetCaption(Message == 0 ? "-" : plat::Utf16ToUtf8(MessageTextByNumber(Message)));
        item->SetEnabled(Enabled);
        if (Handler != nullptr) {
            item->OnClick = plat::TNotifyEvent(this, Handler);
        }
        menu->Items().Add(item);
    };
    add(kMsgRestore, Modified(), &TPgcBaseEntryField::PopupRestoreClick);
    add(0, true, nullptr);
    add(kMsgCut, selected && !readOnly, &TPgcBaseEntryField::PopupCutClick);
    add(kMsgCopy, selected, &TPgcBaseEntryField::PopupCopyClick);
    add(kMsgPaste, !readOnly && plat::IsClipboardFormatAvailable(plat::CF_TEXT), &TPgcBaseEntryField::PopupPasteClick);
    add(kMsgDelete, selected && !readOnly, &TPgcBaseEntryField::PopupDeleteClick);
    add(0, true, nullptr);
    add(kMsgSelectAll, SelectionLength() < EditLength(), &TPgcBaseEntryField::PopupSelectAllClick);
    const plat::TPoint screen = ClientToScreen(ClientPoint);
    menu->SetPopupComponent(this);
    menu->Popup(screen.X, screen.Y);
    if (plat::Application != nullptr) {
        plat::Application->ProcessMessages();
    }
    delete menu;
}

void TPgcBaseEntryField::PopupRestoreClick(plat::TObject*)
{
    Restore();
    UpdateCaretAndScroll(true);
}

void TPgcBaseEntryField::PopupCutClick(plat::TObject*)
{
    CutToClipboard();
}

void TPgcBaseEntryField::PopupCopyClick(plat::TObject*)
{
    CopyToClipboard();
}

void TPgcBaseEntryField::PopupPasteClick(plat::TObject*)
{
    PasteFromClipboard();
}

void TPgcBaseEntryField::PopupDeleteClick(plat::TObject*)
{
    ClearSelection();
}

void TPgcBaseEntryField::PopupSelectAllClick(plat::TObject*)
{
    SelectAll();
}

void TPgcBaseEntryField::FocusNextControl()
{
    if (plat::TCustomForm* form = plat::GetParentForm(this)) {
        plat::PostMessage(form->Handle(), plat::WM_NEXTDLGCTL, 0, 0);
    }
}

void TPgcBaseEntryField::FocusPreviousControl()
{
    if (plat::TCustomForm* form = plat::GetParentForm(this)) {
        plat::PostMessage(form->Handle(), plat::WM_NEXTDLGCTL, 1, 0);
    }
}

} // namespace qel
