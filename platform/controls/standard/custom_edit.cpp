// TCustomEdit: the text buffer with its selection, typing, keys, mouse,
// clipboard and edit messages, and the one-line layout and painting.
#include "platform/controls/standard/custom_edit.h"

#include "platform/canvas/gdi_constants.h"
#include "platform/controls/caret.h"
#include "platform/controls/clipboard.h"
#include "platform/controls/standard/edit_messages.h"
#include "platform/controls/standard/mouse_actions.h"
#include "platform/controls/standard/standard_drawing.h"
#include "platform/controls/virtual_keys.h"
#include "platform/controls/window_input.h"
#include "platform/text_encoding.h"

#include <cstdint>
#include <utility>

namespace plat {

PLAT_DEFINE_CLASS(TCustomEdit, TCustomControl,
    Published("AutoSelect", &TCustomEdit::AutoSelect, &TCustomEdit::SetAutoSelect).Default(true),
    Published("AutoSize", &TCustomEdit::AutoSize, &TCustomEdit::SetAutoSize).Default(true),
    Published("BorderStyle", &TCustomEdit::BorderStyle, &TCustomEdit::SetBorderStyle, {"bsNone", "bsSingle"})
        .Default(bsSingle),
    Published("HideSelection", &TCustomEdit::HideSelection, &TCustomEdit::SetHideSelection).Default(true),
    Published("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength).Default(0),
    Published("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly).Default(false),
    Published("TabStop", &TCustomEdit::TabStop, &TCustomEdit::SetTabStop).Default(true))
PLAT_DEFINE_CLASS(TEdit, TCustomEdit)

PLAT_BEGIN_MESSAGES(TCustomEdit, TCustomControl)
    PLAT_MESSAGE(WM_SETTEXT, WMSetText)
    PLAT_MESSAGE(WM_GETDLGCODE, WMGetDlgCode)
    PLAT_MESSAGE(WM_KEYDOWN, WMKeyDown)
    PLAT_MESSAGE(WM_CHAR, WMChar)
    PLAT_MESSAGE(WM_SETFOCUS, WMSetFocus)
    PLAT_MESSAGE(WM_KILLFOCUS, WMKillFocus)
    PLAT_MESSAGE(WM_SIZE, WMSize)
    PLAT_MESSAGE(WM_CUT, WMCut)
    PLAT_MESSAGE(WM_COPY, WMCopy)
    PLAT_MESSAGE(WM_PASTE, WMPaste)
    PLAT_MESSAGE(WM_CLEAR, WMClear)
    PLAT_MESSAGE(EM_GETSEL, EMGetSel)
    PLAT_MESSAGE(EM_SETSEL, EMSetSel)
    PLAT_MESSAGE(EM_REPLACESEL, EMReplaceSel)
    PLAT_MESSAGE(EM_GETRECT, EMGetRect)
    PLAT_MESSAGE(EM_SETRECT, EMSetRect)
    PLAT_MESSAGE(EM_SETRECTNP, EMSetRect)
    PLAT_MESSAGE(EM_GETMODIFY, EMGetModify)
    PLAT_MESSAGE(EM_SETMODIFY, EMSetModify)
    PLAT_MESSAGE(EM_LIMITTEXT, EMLimitText)
    PLAT_MESSAGE(EM_GETLIMITTEXT, EMGetLimitText)
    PLAT_MESSAGE(EM_SETREADONLY, EMSetReadOnly)
    PLAT_MESSAGE(EM_SCROLLCARET, EMScrollCaret)
    PLAT_MESSAGE(CM_FONTCHANGED, CMFontChanged)
    PLAT_MESSAGE(CM_ENABLEDCHANGED, CMEnabledChanged)
    PLAT_MESSAGE(CM_COLORCHANGED, CMColorChanged)
PLAT_END_MESSAGES

namespace {

constexpr int TextMarginX = 2;   // between the border and the text
constexpr int TextMarginY = 1;
// Height an auto-sized edit adds to a line: the sunken edge and a margin.
constexpr int BorderHeight = 8;
constexpr int PlainHeight = 2;
// What a character code means to the edit (what Ctrl with a letter gives).
constexpr char16_t CtrlA = 1;
constexpr char16_t CtrlC = 3;
constexpr char16_t CtrlV = 22;
constexpr char16_t CtrlX = 24;

bool IsHighSurrogate(char16_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(char16_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

bool IsBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

} // namespace

TCustomEdit::TCustomEdit(TComponent* owner) : TCustomControl(owner)
{
    FControlStyle -= TControlStyle{csAcceptsControls, csSetCaption};
    FTabStop = true;
    FColor = clWindow;
    FBrush->SetColor(FColor);
    FCursor = crIBeam;
    FWidth = 121;
    FHeight = 21;
}

void TCustomEdit::CreateParams(TCreateParams& params)
{
    TCustomControl::CreateParams(params);
    if (FBorderStyle == bsSingle) {
        params.ExStyle |= WS_EX_CLIENTEDGE;
    }
}

void TCustomEdit::CreateWnd()
{
    TCustomControl::CreateWnd();
    AdjustHeight();
    TextLaidOut();
}

void TCustomEdit::Loaded()
{
    TCustomControl::Loaded();
    AdjustHeight();
}

void TCustomEdit::SetMaxLength(int value)
{
    FMaxLength = std::max(value, 0);
}

void TCustomEdit::SetReadOnly(bool value)
{
    if (value != FReadOnly) {
        FReadOnly = value;
        Invalidate();
    }
}

void TCustomEdit::SetHideSelection(bool value)
{
    if (value != FHideSelection) {
        FHideSelection = value;
        Invalidate();
    }
}

void TCustomEdit::SetAutoSize(bool value)
{
    if (value != FAutoSize) {
        FAutoSize = value;
        AdjustHeight();
    }
}

void TCustomEdit::SetBorderStyle(TFormBorderStyle value)
{
    if (value == FBorderStyle) {
        return;
    }
    FBorderStyle = value;
    if (HandleAllocated()) {
        RecreateWnd();
    }
    AdjustHeight();
}

void TCustomEdit::AdjustHeight()
{
    if (!FAutoSize || ComponentState().Contains(csLoading) || MultiLine()) {
        return;
    }
    SetHeight(LineHeight() + (FBorderStyle == bsSingle ? BorderHeight : PlainHeight));
}

int TCustomEdit::SelStart() const
{
    return SelectionStart();
}

void TCustomEdit::SetSelStart(int value)
{
    value = std::clamp(value, 0, TextLength());
    FAnchor = value;
    MoveCaretTo(value, true);
}

int TCustomEdit::SelLength() const
{
    return SelectionEnd() - SelectionStart();
}

void TCustomEdit::SetSelLength(int value)
{
    const int start = SelectionStart();
    FAnchor = start;
    MoveCaretTo(std::clamp(start + std::max(value, 0), start, TextLength()), true);
}

std::string TCustomEdit::SelText() const
{
    return Utf16ToUtf8(std::u16string_view(FBuffer).substr(SelectionStart(), SelLength()));
}

void TCustomEdit::SetSelText(const std::string& value)
{
    ReplaceSelection(Utf8ToUtf16(value));
}

void TCustomEdit::SelectAll()
{
    FAnchor = 0;
    MoveCaretTo(TextLength(), true);
}

void TCustomEdit::ClearSelection()
{
    if (SelLength() > 0 && !RefusedReadOnly()) {
        ReplaceSelection(u"");
    }
}

void TCustomEdit::CopyToClipboard()
{
    if (SelLength() > 0) {
        SetClipboardText(SelText());
    }
}

void TCustomEdit::CutToClipboard()
{
    if (SelLength() == 0 || RefusedReadOnly()) {
        return;
    }
    CopyToClipboard();
    ReplaceSelection(u"");
}

void TCustomEdit::PasteFromClipboard()
{
    if (!HasClipboardText() || RefusedReadOnly()) {
        return;
    }
    ReplaceSelection(Utf8ToUtf16(GetClipboardText()));
}

void TCustomEdit::Change()
{
    OnChange(this);
}

bool TCustomEdit::RefusedReadOnly()
{
    if (FReadOnly) {
        MessageBeep(0);
    }
    return FReadOnly;
}

bool TCustomEdit::ReplaceSelection(std::u16string_view text)
{
    if (!MultiLine()) {
        text = text.substr(0, text.find_first_of(u"\r\n"));
    }
    const int start = SelectionStart();
    const int removed = SelLength();
    if (FMaxLength > 0) {
        const auto room = static_cast<std::size_t>(std::max(FMaxLength - (TextLength() - removed), 0));
        if (text.size() > room) {
            text = text.substr(0, room);
            if (!text.empty() && IsHighSurrogate(text.back())) {
                text.remove_suffix(1);
            }
            MessageBeep(0);
        }
    }
    if (text.empty() && removed == 0) {
        return false;
    }
    FBuffer.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(removed), text);
    FCaret = FAnchor = start + static_cast<int>(text.size());
    TextReplaced();
    return true;
}

void TCustomEdit::TextReplaced()
{
    FText = Utf16ToUtf8(FBuffer);
    FModified = true;
    TextLaidOut();
    ScrollIntoView(FCaret);
    UpdateCaret();
    Invalidate();
    Change();
}

void TCustomEdit::MoveCaretTo(int index, bool extend)
{
    index = std::clamp(index, 0, TextLength());
    if (index > 0 && index < TextLength() && IsLowSurrogate(FBuffer[static_cast<std::size_t>(index)]) &&
        IsHighSurrogate(FBuffer[static_cast<std::size_t>(index - 1)])) {
        index += index >= FCaret ? 1 : -1;
    }
    FCaret = index;
    if (!extend) {
        FAnchor = index;
    }
    ScrollIntoView(FCaret);
    UpdateCaret();
    Invalidate();
}

void TCustomEdit::UpdateCaret()
{
    if (Focused()) {
        const TPoint point = CaretPointOf(FCaret);
        SetCaretPos(point.X, point.Y);
    }
}

bool TCustomEdit::SelectionShows() const
{
    return SelLength() > 0 && (Focused() || !FHideSelection);
}

TRect TCustomEdit::TextArea() const
{
    if (FHasFormatRect) {
        return FFormatRect;
    }
    const TRect client = ClientRect();
    TRect area = InflateRect(client, -TextMarginX, -TextMarginY);
    area.Right = std::max(area.Right, area.Left);
    area.Bottom = std::max(area.Bottom, area.Top);
    return area;
}

int TCustomEdit::LineHeight()
{
    TCanvas& canvas = *Canvas();
    canvas.Font()->Assign(Font());
    return plat::LineHeight(canvas);
}

int TCustomEdit::TextWidthOf(std::u16string_view text)
{
    if (text.empty()) {
        return 0;
    }
    TCanvas& canvas = *Canvas();
    canvas.Font()->Assign(Font());
    return canvas.TextWidth(Utf16ToUtf8(text));
}

TPoint TCustomEdit::CaretPointOf(int index)
{
    const TRect area = TextArea();
    const std::u16string_view text = FBuffer;
    const int x = index >= FFirstVisible
                      ? TextWidthOf(text.substr(FFirstVisible, index - FFirstVisible))
                      : -TextWidthOf(text.substr(index, FFirstVisible - index));
    const int top = static_cast<int>(area.Top + (area.Height() - LineHeight()) / 2);
    return Point(Plus(area.Left, x), top);
}

int TCustomEdit::IndexAtPoint(TPoint point)
{
    const TRect area = TextArea();
    const int x = Minus(point.X, area.Left);
    if (x < 0) {
        return std::max(FFirstVisible - 1, 0);
    }
    const std::u16string_view text = FBuffer;
    // Every unit is at least a pixel wide: no index beyond this one can be nearer.
    int low = FFirstVisible;
    int high = static_cast<int>(std::min<std::int64_t>(TextLength(), std::int64_t{FFirstVisible} + x + 1));
    while (low < high) {
        const int middle = low + (high - low + 1) / 2;
        if (TextWidthOf(text.substr(FFirstVisible, middle - FFirstVisible)) <= x) {
            low = middle;
        } else {
            high = middle - 1;
        }
    }
    // low ends at or before x; the next boundary may be nearer.
    if (low < TextLength()) {
        const int before = TextWidthOf(text.substr(FFirstVisible, low - FFirstVisible));
        const int after = TextWidthOf(text.substr(FFirstVisible, low + 1 - FFirstVisible));
        if (after - x < x - before) {
            ++low;
        }
    }
    return low;
}

void TCustomEdit::ScrollIntoView(int index)
{
    const int available = std::max(static_cast<int>(TextArea().Width()) - 1, 1);
    const std::u16string_view text = FBuffer;
    FFirstVisible = std::min(FFirstVisible, TextLength());
    if (index < FFirstVisible) {
        FFirstVisible = index;
        return;
    }
    // More units than pixels never fit; only then is the width not measured.
    if (index - FFirstVisible <= available && TextWidthOf(text.substr(FFirstVisible, index - FFirstVisible)) <= available) {
        return;
    }
    FFirstVisible = index;
    while (FFirstVisible > 0 && TextWidthOf(text.substr(FFirstVisible - 1, index - FFirstVisible + 1)) <= available) {
        --FFirstVisible;
    }
}

int TCustomEdit::IndexByLines(int index, int lines)
{
    return index + lines;
}

int TCustomEdit::WordLeft(int index) const
{
    while (index > 0 && IsBlank(FBuffer[static_cast<std::size_t>(index - 1)])) {
        --index;
    }
    while (index > 0 && !IsBlank(FBuffer[static_cast<std::size_t>(index - 1)])) {
        --index;
    }
    return index;
}

int TCustomEdit::WordRight(int index) const
{
    while (index < TextLength() && !IsBlank(FBuffer[static_cast<std::size_t>(index)])) {
        ++index;
    }
    while (index < TextLength() && IsBlank(FBuffer[static_cast<std::size_t>(index)])) {
        ++index;
    }
    return index;
}

void TCustomEdit::DeleteBackward()
{
    if (RefusedReadOnly()) {
        return;
    }
    if (SelLength() == 0) {
        if (FCaret == 0) {
            return;
        }
        FAnchor = FCaret - 1;
        if (FAnchor > 0 && IsLowSurrogate(FBuffer[static_cast<std::size_t>(FAnchor)]) &&
            IsHighSurrogate(FBuffer[static_cast<std::size_t>(FAnchor - 1)])) {
            --FAnchor;
        }
    }
    ReplaceSelection(u"");
}

void TCustomEdit::DeleteForward()
{
    if (RefusedReadOnly()) {
        return;
    }
    if (SelLength() == 0) {
        if (FCaret >= TextLength()) {
            return;
        }
        FAnchor = FCaret + 1;
        if (FAnchor < TextLength() && IsLowSurrogate(FBuffer[static_cast<std::size_t>(FAnchor)]) &&
            IsHighSurrogate(FBuffer[static_cast<std::size_t>(FAnchor - 1)])) {
            ++FAnchor;
        }
    }
    ReplaceSelection(u"");
}

void TCustomEdit::EditKey(std::uint16_t key, bool shift, bool control)
{
    switch (key) {
    case VK_LEFT:
        MoveCaretTo(control ? WordLeft(FCaret) : (!shift && SelLength() > 0 ? SelectionStart() : FCaret - 1), shift);
        break;
    case VK_RIGHT:
        MoveCaretTo(control ? WordRight(FCaret) : (!shift && SelLength() > 0 ? SelectionEnd() : FCaret + 1), shift);
        break;
    case VK_UP:
    case VK_DOWN:
        MoveCaretTo(IndexByLines(FCaret, key == VK_UP ? -1 : 1), shift);
        break;
    case VK_PRIOR:
    case VK_NEXT:
        if (const int lines = PageLines(); lines > 0) {
            MoveCaretTo(IndexByLines(FCaret, key == VK_PRIOR ? -lines : lines), shift);
        }
        break;
    case VK_HOME:
        MoveCaretTo(control ? 0 : LineStartOf(FCaret), shift);
        break;
    case VK_END:
        MoveCaretTo(control ? TextLength() : LineEndOf(FCaret), shift);
        break;
    case VK_DELETE:
        if (shift) {
            CutToClipboard();
        } else {
            DeleteForward();
        }
        break;
    case VK_INSERT:
        if (shift) {
            PasteFromClipboard();
        } else if (control) {
            CopyToClipboard();
        }
        break;
    default:
        break;
    }
}

void TCustomEdit::TypedChar(char16_t c)
{
    switch (c) {
    case 8:
        DeleteBackward();
        return;
    case CtrlA:
        SelectAll();
        return;
    case CtrlC:
        CopyToClipboard();
        return;
    case CtrlV:
        PasteFromClipboard();
        return;
    case CtrlX:
        CutToClipboard();
        return;
    case u'\r':
        if (WantsReturns() && !RefusedReadOnly()) {
            ReplaceSelection(u"\r\n");
        }
        return;
    case u'\t':
        if (WantsTabs() && !RefusedReadOnly()) {
            ReplaceSelection(u"\t");
        }
        return;
    default:
        break;
    }
    // A character beyond the basic plane comes in two halves; it goes in whole.
    const char16_t high = std::exchange(FHighSurrogate, 0);
    if (IsHighSurrogate(c)) {
        FHighSurrogate = c;
        return;
    }
    if (c < 32 || c == 127 || (IsLowSurrogate(c) && high == 0) || RefusedReadOnly()) {
        return;
    }
    const char16_t pair[] = {high, c};
    ReplaceSelection(high != 0 ? std::u16string_view(pair, 2) : std::u16string_view(&c, 1));
}

void TCustomEdit::PaintText(TCanvas& canvas)
{
    // No more units than pixels can show.
    const int end = static_cast<int>(
        std::min<std::int64_t>(TextLength(), std::int64_t{FFirstVisible} + TextArea().Width() + 1));
    PaintRun(canvas, FFirstVisible, end, TextArea().Left, CaretPointOf(FFirstVisible).Y);
}

void TCustomEdit::PaintRun(TCanvas& canvas, int start, int end, int x, int y)
{
    const TRect area = TextArea();
    const std::u16string_view text = std::u16string_view(FBuffer).substr(start, end - start);
    const bool selection = SelectionShows();
    const int selStart = std::clamp(SelectionStart() - start, 0, static_cast<int>(text.size()));
    const int selEnd = selection ? std::clamp(SelectionEnd() - start, 0, static_cast<int>(text.size())) : selStart;
    const TColor textColor = Enabled() ? Font()->Color() : clGrayText;
    const int height = LineHeight();
    const auto part = [&](std::u16string_view piece, TColor color, bool highlighted) {
        if (piece.empty()) {
            return;
        }
        const int width = TextWidthOf(piece);
        if (highlighted) {
            canvas.Brush()->SetStyle(bsSolid);
            canvas.Brush()->SetColor(clHighlight);
            canvas.FillRect(Rect(std::max(x, area.Left), std::max(y, area.Top), std::min(Plus(x, width), area.Right),
                                 std::min(Plus(y, height), area.Bottom)));
        }
        canvas.Brush()->SetStyle(bsClear);
        canvas.Font()->SetColor(color);
        canvas.TextRect(area, x, y, Utf16ToUtf8(piece));
        x = Plus(x, width);
    };
    canvas.Font()->Assign(Font());
    part(text.substr(0, selStart), textColor, false);
    part(text.substr(selStart, selEnd - selStart), clHighlightText, true);
    part(text.substr(selEnd), textColor, false);
}

void TCustomEdit::Paint()
{
    TCanvas& canvas = *Canvas();
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(FColor);
    canvas.FillRect(ClientRect());
    if (canvas.Handle() != nullptr) {
        PaintText(canvas);
    }
}

void TCustomEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft && !shift.Contains(ssDouble)) {
        FFocusByMouse = true;
        if (!TakeFocusForPress(*this)) {
            return;
        }
        FFocusByMouse = false;
        if (Focused()) {
            MoveCaretTo(IndexAtPoint(Point(x, y)), shift.Contains(ssShift));
            FMouseSelecting = true;
        }
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomEdit::MouseMove(TShiftState shift, int x, int y)
{
    if (FMouseSelecting) {
        MoveCaretTo(IndexAtPoint(Point(x, y)), true);
    }
    TCustomControl::MouseMove(shift, x, y);
}

void TCustomEdit::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft) {
        FMouseSelecting = false;
    }
    TCustomControl::MouseUp(button, shift, x, y);
}

void TCustomEdit::DblClick()
{
    FMouseSelecting = false;
    int start = FCaret;
    while (start > 0 && !IsBlank(FBuffer[static_cast<std::size_t>(start - 1)])) {
        --start;
    }
    int end = FCaret;
    while (end < TextLength() && !IsBlank(FBuffer[static_cast<std::size_t>(end)])) {
        ++end;
    }
    FAnchor = start;
    MoveCaretTo(end, true);
    TCustomControl::DblClick();
}

void TCustomEdit::WMSetText(TMessage& message)
{
    Inherited(message);
    FBuffer = Utf8ToUtf16(FText);
    FAnchor = FCaret = 0;
    FFirstVisible = 0;
    FModified = false;
    TextLaidOut();
    UpdateCaret();
    Invalidate();
    Change();
}

void TCustomEdit::WMGetDlgCode(TMessage& message)
{
    message.Result = DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL;
    if (WantsReturns()) {
        message.Result |= DLGC_WANTALLKEYS;
    }
    if (WantsTabs()) {
        message.Result |= DLGC_WANTTAB;
    }
}

void TCustomEdit::WMKeyDown(TMessage& message)
{
    if (DoKeyDown(message)) {
        return;
    }
    const TShiftState shift = KeyDataToShiftState(message.LParam);
    EditKey(static_cast<std::uint16_t>(message.WParam), shift.Contains(ssShift), shift.Contains(ssCtrl));
}

void TCustomEdit::WMChar(TMessage& message)
{
    if (DoKeyPress(message)) {
        return;
    }
    TypedChar(static_cast<char16_t>(message.WParam));
}

void TCustomEdit::WMSetFocus(TMessage& message)
{
    Inherited(message);
    CreateCaret(Handle(), 1, LineHeight());
    if (FAutoSelect && !FFocusByMouse && !MultiLine()) {
        FAnchor = 0;
        FCaret = TextLength();
    }
    ScrollIntoView(FCaret);
    UpdateCaret();
    ShowCaret(Handle());
    Invalidate();
}

void TCustomEdit::WMKillFocus(TMessage& message)
{
    FMouseSelecting = false;
    DestroyCaret();
    Invalidate();
    Inherited(message);
}

void TCustomEdit::WMSize(TMessage& message)
{
    Inherited(message);
    TextLaidOut();
    ScrollIntoView(FCaret);
    UpdateCaret();
    Invalidate();
}

void TCustomEdit::WMCut(TMessage&)
{
    CutToClipboard();
}

void TCustomEdit::WMCopy(TMessage&)
{
    CopyToClipboard();
}

void TCustomEdit::WMPaste(TMessage&)
{
    PasteFromClipboard();
}

void TCustomEdit::WMClear(TMessage&)
{
    ClearSelection();
}

void TCustomEdit::EMGetSel(TMessage& message)
{
    const auto start = static_cast<std::uint32_t>(SelectionStart());
    const auto end = static_cast<std::uint32_t>(SelectionEnd());
    if (auto* startOut = reinterpret_cast<std::uint32_t*>(message.WParam)) {
        *startOut = start;
    }
    if (auto* endOut = reinterpret_cast<std::uint32_t*>(message.LParam)) {
        *endOut = end;
    }
    message.Result = static_cast<LRESULT>(MAKELONG(static_cast<std::uint16_t>(std::min<std::uint32_t>(start, 0xFFFF)),
                                                   static_cast<std::uint16_t>(std::min<std::uint32_t>(end, 0xFFFF))));
}

void TCustomEdit::EMSetSel(TMessage& message)
{
    const auto start = static_cast<std::int64_t>(static_cast<std::intptr_t>(message.WParam));
    const auto end = static_cast<std::int64_t>(message.LParam);
    const auto clamped = [this](std::int64_t value) {
        return value < 0 ? TextLength() : static_cast<int>(std::min<std::int64_t>(value, TextLength()));
    };
    if (start == -1) {
        MoveCaretTo(FCaret, false);
        return;
    }
    FAnchor = clamped(start);
    MoveCaretTo(clamped(end), true);
}

void TCustomEdit::EMReplaceSel(TMessage& message)
{
    const char* text = reinterpret_cast<const char*>(message.LParam);
    ReplaceSelection(Utf8ToUtf16(text != nullptr ? text : ""));
}

void TCustomEdit::EMGetModify(TMessage& message)
{
    message.Result = FModified ? 1 : 0;
}

void TCustomEdit::EMSetModify(TMessage& message)
{
    FModified = message.WParam != 0;
}

void TCustomEdit::EMLimitText(TMessage& message)
{
    SetMaxLength(static_cast<int>(std::min<WPARAM>(message.WParam, 0x7FFFFFFF)));
}

void TCustomEdit::EMGetLimitText(TMessage& message)
{
    message.Result = FMaxLength;
}

void TCustomEdit::EMSetReadOnly(TMessage& message)
{
    SetReadOnly(message.WParam != 0);
    message.Result = 1;
}

void TCustomEdit::EMScrollCaret(TMessage& message)
{
    ScrollIntoView(FCaret);
    UpdateCaret();
    Invalidate();
    message.Result = 1;
}

void TCustomEdit::EMGetRect(TMessage& message)
{
    if (auto* rect = reinterpret_cast<TRect*>(message.LParam)) {
        *rect = TextArea();
    }
}

void TCustomEdit::EMSetRect(TMessage& message)
{
    const auto* rect = reinterpret_cast<const TRect*>(message.LParam);
    FHasFormatRect = rect != nullptr;
    if (rect != nullptr) {
        FFormatRect = *rect;
        FFormatRect.Right = std::max(FFormatRect.Right, FFormatRect.Left);
        FFormatRect.Bottom = std::max(FFormatRect.Bottom, FFormatRect.Top);
    }
    TextLaidOut();
    ScrollIntoView(FCaret);
    UpdateCaret();
    if (message.Msg == EM_SETRECT) {
        Invalidate();
    }
}

void TCustomEdit::CMFontChanged(TMessage& message)
{
    Inherited(message);
    AdjustHeight();
    TextLaidOut();
    Invalidate();
}

void TCustomEdit::CMEnabledChanged(TMessage& message)
{
    Inherited(message);
    Invalidate();
}

void TCustomEdit::CMColorChanged(TMessage& message)
{
    Inherited(message);
    Invalidate();
}

} // namespace plat
