// TCustomEdit: the single-line edit. It holds its text as UTF-16 units
// (positions and MaxLength count them), types at the caret, selects with
// Shift and the arrows or the mouse, cuts, copies and pastes through the
// clipboard (Ctrl+X/C/V, Shift+Del, Ctrl+Ins, Shift+Ins), refuses changes
// while read-only (copying still works), and answers the EM_ messages.
// Typed characters pass KeyPress first (a key set to 0 inserts nothing);
// the background is the control's Color. TCustomMemo builds its lines on
// the hooks below.
#pragma once

#include "platform/controls/custom_control.h"
#include "platform/controls/form.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace plat {

class TCustomEdit : public TCustomControl {
    PLAT_CLASS(TCustomEdit, TCustomControl)
    PLAT_MESSAGES(TCustomEdit, TCustomControl)
public:
    explicit TCustomEdit(TComponent* owner);

    // The most UTF-16 units the user may enter; 0 for no limit. Text the
    // program sets is not cut.
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    // The user changed the text since it was last set or cleared.
    bool Modified() const { return FModified; }
    void SetModified(bool value) { FModified = value; }
    // On: entering by the keyboard selects the whole text.
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool value) { FAutoSelect = value; }
    // On: the selection shows only while the edit has the focus.
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool value);
    // On: the height follows the font.
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);
    // bsSingle: a sunken edge; bsNone: none.
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle value);

    // The selection in UTF-16 units; the caret stands at one of its ends.
    int SelStart() const;
    void SetSelStart(int value);
    int SelLength() const;
    void SetSelLength(int value);
    std::string SelText() const;
    // Puts text in place of the selection (MaxLength applies, ReadOnly not).
    void SetSelText(const std::string& value);
    int CaretPosition() const { return FCaret; }
    void SelectAll();
    // Deletes the selected text (refused while read-only).
    void ClearSelection();
    void Clear() { SetText(""); }
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();

    TNotifyEvent OnChange;

protected:
    // Runs OnChange after every change of the text.
    virtual void Change();
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Loaded() override;
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void DblClick() override;

    // ---- what a multi-line descendant changes ----
    // Keeps line breaks in typed and pasted text; Enter and Tab insert.
    virtual bool MultiLine() const { return false; }
    virtual bool WantsReturns() const { return false; }
    virtual bool WantsTabs() const { return false; }
    // The text or the area changed: lay it out again.
    virtual void TextLaidOut() {}
    // The index nearest a point of the client area.
    virtual int IndexAtPoint(TPoint point);
    // The caret's top-left corner for an index, in client coordinates.
    virtual TPoint CaretPointOf(int index);
    // Scrolls so that the index shows.
    virtual void ScrollIntoView(int index);
    // The index reached from index by lines (negative: up); a single line
    // takes Up and Down as Left and Right.
    virtual int IndexByLines(int index, int lines);
    // Lines a page key moves; 0: page keys do nothing.
    virtual int PageLines() { return 0; }
    virtual int LineStartOf(int) { return 0; }
    virtual int LineEndOf(int) { return TextLength(); }
    // Paints the text and the selection into the text area.
    virtual void PaintText(TCanvas& canvas);
    // Paints units [start, end) of the text at (x, y), the selected part
    // highlighted, clipped to the text area.
    void PaintRun(TCanvas& canvas, int start, int end, int x, int y);

    // ---- for descendants ----
    const std::u16string& Buffer() const { return FBuffer; }
    int TextLength() const { return static_cast<int>(FBuffer.size()); }
    int SelectionStart() const { return std::min(FAnchor, FCaret); }
    int SelectionEnd() const { return std::max(FAnchor, FCaret); }
    // Whether the selection is drawn now.
    bool SelectionShows() const;
    // Where the text is laid out: the formatting rectangle when one was set
    // (EM_SETRECT), else the client area without the text margins.
    TRect TextArea() const;
    int LineHeight();
    // Width of part of the text in the control's font.
    int TextWidthOf(std::u16string_view text);
    // Moves the caret (extend: the anchor stays), shows it and repaints.
    void MoveCaretTo(int index, bool extend);
    // Places the system caret at the caret index while focused.
    void UpdateCaret();

    void WMSetText(TMessage& message);
    void WMGetDlgCode(TMessage& message);
    void WMKeyDown(TMessage& message);
    void WMChar(TMessage& message);
    void WMSetFocus(TMessage& message);
    void WMKillFocus(TMessage& message);
    void WMSize(TMessage& message);
    void WMCut(TMessage& message);
    void WMCopy(TMessage& message);
    void WMPaste(TMessage& message);
    void WMClear(TMessage& message);
    void EMGetSel(TMessage& message);
    void EMSetSel(TMessage& message);
    void EMReplaceSel(TMessage& message);
    void EMGetModify(TMessage& message);
    void EMSetModify(TMessage& message);
    void EMLimitText(TMessage& message);
    void EMGetLimitText(TMessage& message);
    void EMSetReadOnly(TMessage& message);
    void EMScrollCaret(TMessage& message);
    void EMGetRect(TMessage& message);
    void EMSetRect(TMessage& message);
    void CMFontChanged(TMessage& message);
    void CMEnabledChanged(TMessage& message);
    void CMColorChanged(TMessage& message);

private:
    // Replaces the selection by text, cut to MaxLength (and, on one line,
    // at the first line break); false when nothing could be inserted.
    bool ReplaceSelection(std::u16string_view text);
    // Refuses a change of a read-only edit with a beep.
    bool RefusedReadOnly();
    void EditKey(std::uint16_t key, bool shift, bool control);
    void TypedChar(char16_t c);
    void DeleteBackward();
    void DeleteForward();
    int WordLeft(int index) const;
    int WordRight(int index) const;
    void TextReplaced();
    void AdjustHeight();

    std::u16string FBuffer;
    int FAnchor = 0;            // the fixed end of the selection
    int FCaret = 0;             // the moving end, where the caret stands
    int FFirstVisible = 0;      // one line: the first unit drawn at the left margin
    int FMaxLength = 0;
    bool FReadOnly = false;
    bool FModified = false;
    bool FAutoSelect = true;
    bool FHideSelection = true;
    bool FAutoSize = true;
    TFormBorderStyle FBorderStyle = bsSingle;
    TRect FFormatRect;              // the formatting rectangle, client coordinates
    bool FHasFormatRect = false;    // one was set; else the text margins decide
    bool FMouseSelecting = false;   // the left button is held to select
    bool FFocusByMouse = false;     // the focus came with a click: no auto-select
    char16_t FHighSurrogate = 0;    // the first half of a typed pair, waiting for its second
};

class TEdit : public TCustomEdit {
    PLAT_CLASS(TEdit, TCustomEdit)
public:
    explicit TEdit(TComponent* owner) : TCustomEdit(owner) {}
};

} // namespace plat
