// The paragraph editor: a windowed viewer and editor of multi-paragraph text
// in one fixed-pitch font, its text a paragraph list that wraps paragraphs
// into display lines. Several editors can show one list (a ring of attached
// editors); each keeps its own caret, selection and view of it.
//
// The implementation is split by concern: construction, properties and
// window messages (pgc_editor.cpp); text access (pgc_editor_text.cpp); the
// ring and the bookkeeping after each edit (pgc_editor_ring.cpp); caret,
// selection and markers (pgc_editor_caret.cpp); measuring, scrolling and
// scroll bars (pgc_editor_scroll.cpp); painting (pgc_editor_paint.cpp); keys
// and commands (pgc_editor_commands.cpp); caret moves by name
// (pgc_editor_moves.cpp); editing (pgc_editor_editing.cpp); selected text
// and inserting text (pgc_editor_selection.cpp); the clipboard
// (pgc_editor_clipboard.cpp); search and replace (pgc_editor_search.cpp);
// the mouse (pgc_editor_mouse.cpp).
#pragma once

#include "widgets/pages/edit_base.h"
#include "widgets/pages/pgc_command_codes.h"
#include "widgets/pages/pgc_data.h"

#include "platform/canvas/graphics_objects.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace plat {
class TBitmap;
class TCanvas;
class TReader;
}

namespace qel {

class TPgcBorder;
class TPgcBorders;
class TPgcCaret;
class TPgcCaretPair;
class TPgcColors;
class TPgcEditorMargin;
class TPgcEditorMargins;
class TPgcFixedFont;
class TPgcParaList;

// Posted by the editor to itself after each caret placement: wParam the
// caret's screen column, lParam its display line. Its arrival fires OnShowStatus.
constexpr plat::UINT PGCM_SHOWSTATUS = 0x7F02;

// Lets the owner paint a row: S is the whole display line (tabs expanded)
// of Len units, Pos the columns scrolled off to the left, Count the visible
// columns, and the selection's ends as display line and screen column (0
// when none shows). Setting WasDrawn leaves the row's text to the handler.
using TEditorDrawLineEvent = plat::TEvent<void(plat::TObject* Sender, plat::TCanvas* EditorCanvas, plat::TRect Rect,
    const char16_t* S, int Len, int Line, int Pos, int Count, int HBLine, int HBCol, int HELine, int HECol,
    bool& WasDrawn)>;
// An editor error code (263 .. 268); what the handler leaves in it is not used.
using TEditorErrorEvent = plat::TEvent<void(plat::TObject* Sender, std::uint16_t& ErrorCode)>;
// A command code of 256 or more reached the editor's command processing.
using TUserCommandEvent = plat::TEvent<void(plat::TObject* Sender, std::uint16_t Command)>;

// Positions count from 1: paragraphs and positions in a paragraph, display
// lines and character columns in a line; a screen column is a column after
// tab expansion. Texts cross the interface as UTF-8 (Text, InsertString,
// GetStringLine) or as UTF-16 units, the editor's own measure.
//
// Invariants: the caret is (edCurLine, edCurCol) and, as paragraph position,
// (edCurPara, edLinePos + edCurCol); the selection runs from edHltBgn to
// edHltEnd (never after it), equal when nothing is selected, with edAnchor
// the end the caret stands at; edTopLine is the first visible display line
// and (edTopPara, edTopPos + 1) its first character.
class TPgcCustomEditor : public TPgcEditBase {
    PLAT_CLASS(TPgcCustomEditor, TPgcEditBase)
    PLAT_MESSAGES(TPgcCustomEditor, TPgcEditBase)
public:
    enum TBorderStyle { bsNone, bsSingle };
    enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

    static constexpr std::int32_t NoLimit = 2147483647;
    static constexpr std::int32_t MaxParaLengthLimit = 32767;
    // The command code of a typed character.
    static constexpr std::uint16_t CharCommand = 249;

    explicit TPgcCustomEditor(plat::TComponent* AOwner);
    // The last editor of a ring frees the paragraph list.
    ~TPgcCustomEditor() override;

    // ---- the ring of editors sharing one text ----
    // Makes this editor show Editor's text: it leaves its own ring (freeing
    // its list when it was alone there) and joins Editor's at its end.
    virtual void Attach(TPgcCustomEditor* Editor);
    // The editor that owns the list; the ring's neighbours (itself when alone).
    TPgcCustomEditor* FirstEditor() const;
    TPgcCustomEditor* NextEditor() const override { return edNext; }
    TPgcCustomEditor* PrevEditor() const { return edPrev; }
    // Painting off (WM_SETREDRAW 0) and on again with a full repaint; not nested.
    void BeginUpdate();
    void EndUpdate();

    // ---- text ----
    // Appends the text up to its first zero unit as paragraphs at the end,
    // each cut after its last blank within ParaLengthLimit. Answers 0, or
    // 265 (too many paragraphs) or 267 (text too long) with what fitted
    // appended, without reporting it. No undo record, no event; the caret,
    // selection and view stay; the window is repainted at once only when the
    // text first grows longer than the window.
    std::uint16_t AppendPara(std::u16string_view Para);
    std::uint16_t AppendPara(std::string_view Utf8);
    // DeleteAll(true).
    void Clear();
    // A new, empty text (one paragraph, not modified) in a list of this
    // editor's own; the others of its ring keep the old text.
    void DeleteAll(bool UpdateScreen);
    // The paragraphs joined by CR LF; a text ending in the empty last
    // paragraph ends with one CR LF.
    std::string Text() const;
    // Replaces the whole text (also while read-only); line breaks (LF, CR LF)
    // separate paragraphs.
    void SetText(std::string_view Utf8);
    // At most Size - 1 units of the text and a terminating zero: each
    // paragraph followed by CR LF while it fits. Answers the units written.
    int GetText(char16_t* P, int Size) const;
    int GetTextBuf(char16_t* Buffer, int BufSize) const { return GetText(Buffer, BufSize); }
    void SetTextBuf(const char16_t* Buffer);
    // Units plus 2 per paragraph break.
    int TextLength() const;
    int GetTextLen() const { return TextLength(); }
    // Replaces the selection, or inserts at the caret (nothing while read-only).
    void Insert(std::u16string_view S);
    void InsertString(std::string_view Utf8);

    int ParaCount() const;
    int LineCount() const;
    // EInvalidLineOrPara outside 1 .. ParaCount: the paragraph's units (not
    // zero-terminated) and their count.
    const char16_t* GetPara(int ParaNum, int& Len) const;
    const char16_t* GetParaPointer(int ParaNum) const;
    int GetParaLength(int ParaNum) const;
    // EInvalidLineOrPara outside 1 .. LineCount. GetLine copies at most
    // DestLen units of the display line (tabs kept) and a zero into Dest;
    // GetPrintableLine the same with tabs expanded, answering the length;
    // GetStringLine the whole line with tabs expanded.
    char16_t* GetLine(int LineNum, char16_t* Dest, int DestLen) const;
    int GetPrintableLine(int LineNum, char16_t* Dest, int DestLen) const;
    std::string GetStringLine(int LineNum) const;
    int GetLineLength(int LineNum) const;
    // The screen column of character Col of the zero-terminated S.
    int EffectiveColumn(const char16_t* S, int Col) const;
    // Display line and column to paragraph and position (EInvalidLineOrPara
    // for a line outside 1 .. LineCount), and back (for a paragraph outside
    // 1 .. ParaCount).
    void LineToPara(int& L, int& C) const;
    void ParaToLine(int& L, int& C) const;
    // The caret's display line; Col its column.
    int GetCaretPosition(int& Col) const;
    // Moves the caret without extending the selection; EInvalidLineOrPara
    // for a line outside 1 .. LineCount or a column below 1.
    void SetCaretPosition(int Line, int Col);
    // The run of non-delimiters around the caret; empty at or past the end
    // of its paragraph and on a delimiter.
    std::string GetCurrentWord() const;
    bool Modified() const;
    // Repaints every editor of the ring; false also marks the undo history's
    // present state as unmodified.
    void SetModified(bool Value);
    // False while read-only.
    bool CanUndo() const;
    bool CanRedo() const;
    void FlushUndoBuffer();

    // ---- selection ----
    bool HasSelection() const;
    // The ends as display line and column; false (and nothing set) without
    // a selection.
    bool GetSelection(int& Line1, int& Col1, int& Line2, int& Col2) const;
    // Lines cut to 1 .. LineCount and columns to 1 .. line length + 1; the
    // caret ends at (Line2, Col2) with CaretAtEnd, else at (Line1, Col1).
    // Nothing on an empty text.
    void SetSelection(int Line1, int Col1, int Line2, int Col2, bool CaretAtEnd);
    void SelectAll(bool CaretAtEnd) { SetSelection(1, 1, NoLimit, MaxParaLengthLimit, CaretAtEnd); }
    // Collapses a selection at its end (CaretAtEnd) or start, the caret there.
    void Deselect(bool CaretAtEnd);
    // Deletes a selection (nothing while read-only).
    void ClearSelection();
    // Units of the selected text, CR LF counted between paragraphs.
    int GetSelTextLen() const;
    // At most BufSize - 1 units of the selected text and a zero; answers
    // the units written. IN: BufSize >= 1.
    int GetSelTextBuf(char16_t* Buffer, int BufSize) const;
    // Replaces the selection with the text (nothing while read-only).
    void SetSelTextBuf(const char16_t* Buffer);
    // The selection is a column block (chosen by an Alt drag).
    bool ColumnBlockSelected() const { return edRectSelect; }

    // ---- commands (keys reach them through the controller's processor) ----
    // Carries out one command; CharCode is the key's virtual-key code, or
    // the character for CharCommand. False for the codes below 256 the
    // editor does not act on.
    virtual bool ProcessCommand(std::uint16_t Cmd, std::uint16_t CharCode);
    // Beep when there is nothing to undo or redo.
    virtual void Undo();
    virtual void Redo();

    // ---- clipboard (UTF-16 text) ----
    // A stream selection as paragraphs joined by CR LF; a column block as
    // rows of equal length joined by a lone CR.
    virtual void CopyToClipboard();
    virtual void CutToClipboard();
    virtual void PasteFromClipboard();

    // ---- search and replace (texts cut to 255 units) ----
    // True when a match was found and selected.
    bool Search(std::u16string_view S, TSearchOptionSet Options);
    // Null R (or an empty S) answers 0 at once. Otherwise -1: nothing found;
    // 0: the next match selected; n >= 1: replacements made; or the list's
    // error code, also reported through DoOnError.
    virtual int Replace(std::u16string_view S, const char16_t* R, TSearchOptionSet Options);

    // The text position under the pointer; with Existing, (-1, -1) while
    // the pointer is outside the client area.
    void GetMousePos(int& L, int& C, bool Existing);

    // ---- markers 0 .. 9 (shown as glyphs in the left margin) ----
    // At the caret; at a display line and column (EInvalidLineOrCol for a
    // line outside 1 .. LineCount or a column below 1). Numbers above 9 do
    // nothing.
    virtual void SetMarker(std::uint8_t N);
    virtual void SetMarkerAt(std::uint8_t N, int Line, int Col);
    virtual void ClearMarker(std::uint8_t N);
    void GotoMarker(std::uint8_t N);
    // The marker's display line (Col its column); -1 for an unset marker or
    // a number above 9.
    int GetMarkerPosition(std::uint8_t N, int& Col) const;

    // ---- view ----
    int TopLine() const { return edTopLine; }
    // EInvalidLineOrPara outside 1 .. LineCount; otherwise scrolls there.
    void SetTopLine(int Value);
    int LeftColumn() const { return edHDelta + 1; }
    // Ignored below 1, above the horizontal range or when unchanged.
    void SetLeftColumn(int Value);
    // Whole and partly visible rows (a last row more than half visible
    // counts) and whole columns; the window is made first.
    int VisibleRows();
    int VisibleColumns();
    int ColumnWidth() const { return edColWid; }
    void ResetScrollBars(bool UpdateScreen);
    // Client pixels to display line and character column.
    void XYToLineCol(int X, int Y, int& Line, int& Col);

    // ---- settings ----
    bool AutoIndent() const { return FAutoIndent; }
    void SetAutoIndent(bool Value) { FAutoIndent = Value; }
    bool NewStyleIndent() const { return FNewStyleIndent; }
    // True also turns AutoIndent on.
    void SetNewStyleIndent(bool Value);
    TPgcBorders* Borders() const { return FBorders.get(); }
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool Value);
    // The list's text size limit; negative values are ignored.
    std::int32_t ByteLimit() const { return FByteLimit; }
    virtual void SetByteLimit(std::int32_t Value);
    std::int32_t MaxLength() const { return FByteLimit; }
    void SetMaxLength(std::int32_t Value) { SetByteLimit(Value); }
    TPgcCaret* CaretIns() const;
    TPgcCaret* CaretOvr() const;
    void SetCaretIns(TPgcCaret* Value);
    void SetCaretOvr(TPgcCaret* Value);
    const TCharSet& ClipboardChars() const { return FClipboardChars; }
    void SetClipboardChars(const TCharSet& Value) { FClipboardChars = Value; }
    TPgcFixedFont* FixedFont() const { return FFixedFont.get(); }
    // Copies the given font (a fixed font, or a platform font of a
    // fixed-pitch family).
    void SetFixedFont(const plat::TPersistent* Value);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool Value);
    TPgcColors* HighlightColors() const { return FHighlightColors.get(); }
    bool InsertMode() const { return FInsertMode; }
    void SetInsertMode(bool Value);
    bool KeepClipboardChars() const { return FKeepClipboardChars; }
    void SetKeepClipboardChars(bool Value) { FKeepClipboardChars = Value; }
    int LeftMargin() const;
    void SetLeftMargin(int Value);
    int RightMargin() const;
    void SetRightMargin(int Value);
    plat::TColor MarginColor() const { return FMarginColor; }
    void SetMarginColor(plat::TColor Value);
    TPgcEditorMargins* MarginOptions() const { return FMargins.get(); }
    // 1 .. 32767; other values are ignored.
    std::int32_t ParaLengthLimit() const { return FParaLengthLimit; }
    void SetParaLengthLimit(std::int32_t Value);
    // Values below 1 are ignored.
    std::int32_t ParaLimit() const { return FParaLimit; }
    void SetParaLimit(std::int32_t Value);
    virtual bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    plat::TColor RuleColor() const { return FRuleColor; }
    void SetRuleColor(plat::TColor Value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    bool ScrollBarsAlways() const { return FScrollBarsAlways; }
    void SetScrollBarsAlways(bool Value);
    bool ScrollPastEnd() const { return FScrollPastEnd; }
    // True also turns WordWrap off.
    void SetScrollPastEnd(bool Value);
    bool ShowBookmarks() const { return FShowBookmarks; }
    void SetShowBookmarks(bool Value);
    bool ShowLineNumbers() const { return FShowLineNumbers; }
    void SetShowLineNumbers(bool Value);
    bool ShowRules() const { return FShowRules; }
    void SetShowRules(bool Value);
    bool ShowWrapColumn() const { return FShowWrapColumn; }
    void SetShowWrapColumn(bool Value);
    // 0 is ignored.
    std::uint8_t TabSize() const { return FTabSize; }
    void SetTabSize(std::uint8_t Value);
    TTabType TabType() const { return FTabType; }
    void SetTabType(TTabType Value);
    bool TrimWhiteSpace() const { return FTrimWhiteSpace; }
    void SetTrimWhiteSpace(bool Value) { FTrimWhiteSpace = Value; }
    std::uint16_t UndoBufferSize() const { return FUndoBufferSize; }
    void SetUndoBufferSize(std::uint16_t Value);
    bool WantEnter() const { return FWantEnter; }
    void SetWantEnter(bool Value) { FWantEnter = Value; }
    bool WantTab() const { return FWantTab; }
    void SetWantTab(bool Value) { FWantTab = Value; }
    const std::string& WordDelimiters() const { return FWordDelimiters; }
    // An empty text is ignored.
    void SetWordDelimiters(const std::string& Value);
    bool WordWrap() const { return FWordWrap; }
    // True also turns WrapAtLeft on and ScrollPastEnd off.
    void SetWordWrap(bool Value);
    bool WrapAtLeft() const { return FWrapAtLeft; }
    // Stays true while the text wraps.
    void SetWrapAtLeft(bool Value);
    // Values below 1 are ignored.
    std::int32_t WrapColumn() const { return FWrapColumn; }
    void SetWrapColumn(std::int32_t Value);
    bool WrapToWindow() const { return FWrapToWindow; }
    void SetWrapToWindow(bool Value);
    int WheelDelta() const { return FWheelDelta; }
    void SetWheelDelta(int Value) { FWheelDelta = Value; }

    plat::TNotifyEvent OnChange;
    TEditorDrawLineEvent OnDrawLine;
    TEditorErrorEvent OnError;
    TShowStatusEvent OnShowStatus;
    TTopLineChangedEvent OnTopLineChanged;
    TUserCommandEvent OnUserCommand;

    // ---- what the paragraph list tells the editor that made an edit ----
    void edUpdateOnInsertedText(std::int32_t N, std::int32_t Pos, std::int32_t Count) override;
    void edUpdateOnInsertedPara(std::int32_t N, std::int32_t Pos, std::int32_t Indent) override;
    void edUpdateOnDeletedText(std::int32_t N, std::int32_t Pos, std::int32_t Count) override;
    void edUpdateOnDeletedPara(std::int32_t N) override;
    void edUpdateOnJoinedParas(std::int32_t N, std::int32_t Pos) override;
    void edResetPositionInfo() override;

    // For the margins: measure and repaint after a margin's width changed.
    void edAdjustMargins();

protected:
    void DefineProperties(plat::TFiler& Filer) override;
    void CreateParams(plat::TCreateParams& Params) override;
    void CreateWnd() override;
    void Paint() override;
    // The base's OnMouseWheel, then WheelDelta lines down or up.
    void DoOnMouseWheel(plat::TShiftState Shift, std::uint16_t Delta, std::uint16_t XPos,
        std::uint16_t YPos) override;

    // How each editor of the ring follows an edit; IsSender for the one
    // that made it, which moves its own caret and selection.
    virtual void edFixInsertedText(std::int32_t N, std::int32_t Pos, std::int32_t Count, bool IsSender);
    virtual void edFixInsertedPara(std::int32_t N, std::int32_t Pos, std::int32_t Indent, bool IsSender);
    virtual void edFixDeletedText(std::int32_t N, std::int32_t Pos, std::int32_t Count, bool IsSender);
    virtual void edFixDeletedPara(std::int32_t N, bool IsSender);
    virtual void edFixJoinedParas(std::int32_t N, std::int32_t Pos, bool IsSender);

    virtual void DoOnDrawLine(plat::TCanvas* EditorCanvas, const plat::TRect& Rect, const char16_t* S, int Len,
        int Line, int HBLine, int HBCol, int HELine, int HECol, bool& WasDrawn);
    virtual void DoOnChange();
    // Nothing for 0; OnError when assigned, else EEditorError with the
    // code's library message.
    virtual void DoOnError(std::uint16_t Code);
    virtual void DoOnShowStatus(int LineNum, int ColNum);
    virtual void DoOnTopLineChanged(int Line);
    virtual void DoOnUserCommand(std::uint16_t Command);

    // ---- measuring, scrolling and invalidation (pgc_editor_scroll.cpp) ----
    void edCalcRowColInfo();
    void edWrapToWindow();
    // Scrolls by DX columns and DY lines.
    virtual void edScrollPrim(int DX, int DY);
    void edHScrollBy(int N) { edScrollPrim(N, 0); }
    void edVScrollBy(int N) { edScrollPrim(0, N); }
    // Invalidates the whole window (DoUpdate: and paints at once).
    void edRedraw(bool DoUpdate);
    void edInvalidateLines(int L1, int L2);
    void edSetHScrollRange();
    void edSetHScrollPos();
    void edSetVScrollRange();
    void edSetVScrollPos();
    void edCalcLineNumWidth();
    void edSetTopLine(int Line);

    // ---- caret and selection (pgc_editor_caret.cpp) ----
    void edSetCaretMetrics();
    // The caret lies on a whole visible row and, at screen column EffCol (0:
    // the caret's, computed), within the visible columns.
    bool edCaretInView(int& EffCol);
    void edPositionCaret(int EffCol);
    void edMoveCaretPrim(int DCol, int DLine, bool KeepRow, bool Extend, bool Absolute);
    void edMoveCaretTo(int Line, int Col, bool Extend);
    void edMoveCaretToPos(int Para, int Pos, bool Extend);
    void edMoveCaret(int DCol, int DLine, bool KeepRow, bool Extend)
    {
        edMoveCaretPrim(DCol, DLine, KeepRow, Extend, false);
    }
    void edCollapseSelection(bool Redraw);
    void edExtendSelection(bool Redraw);
    // Both ends by paragraph position, the caret at the second with CaretAtEnd.
    void edSetSelectionPos(int Para1, int Pos1, int Para2, int Pos2, bool CaretAtEnd);
    // Stores the two ends only (ordered), the anchor at the second.
    void edSetHighlight(int Para1, int Pos1, int Para2, int Pos2);

    // ---- caret moves by name (pgc_editor_moves.cpp) ----
    void edMoveLeft(bool Extend);
    void edMoveRight(bool Extend);
    void edMoveWordLeft(bool Extend);
    void edMoveWordRight(bool Extend);
    void edMoveHome(bool Extend);
    void edMoveEnd(bool Extend);
    // P lines down (Pages > 0) or up, the caret keeping its screen row.
    void edMovePage(int Pages, bool Extend);
    // The caret to the last or the first row of the window.
    void edMoveBotOfPage(bool Extend);
    void edMoveTopOfPage(bool Extend);

    // ---- editing (pgc_editor_editing.cpp; nothing while read-only) ----
    // Deletes the selection, or the unit at the caret, or joins the next
    // paragraph at a paragraph's end.
    void edDeleteChar();
    void edDeleteBack();
    void edDeleteToBol();
    void edDeleteToEol();
    void edDeleteLine();
    void edDeleteWord();
    void edInsertChar(char16_t Ch);
    void edInsertTab();
    // Break: split the paragraph at the caret; Move: the caret to the next
    // paragraph. OnChange fires when anything was deleted or broken.
    void edNewLine(bool Break, bool Move);
    // N blanks at (Para, Pos); the list's code.
    std::uint16_t edInsertSpaces(int Para, int Pos, int N);

    // ---- inserting text (pgc_editor_selection.cpp) ----
    // A text whose first line break is a lone CR goes in as a column block
    // (unless the text wraps); any other as paragraphs at the caret, which
    // moves after it.
    std::uint16_t edInsertTextPrim(std::u16string_view Text);
    std::uint16_t edReplaceSelection(std::u16string_view Text);

    // ---- search (pgc_editor_search.cpp) ----
    int edSearchReplace(std::u16string_view S, const char16_t* R, TSearchOptionSet Options);
    bool edSelectionMatches(std::u16string_view S, bool MatchCase);

    int edRowHeight() const { return edRowHt + (FShowRules ? RuleSpace : 0); }
    // The text, for descendants that check or extend it.
    TPgcParaList& edParaList() const { return *edParas; }

private:
    static constexpr int RuleSpace = 2;            // pixels a rule adds to a row
    static constexpr int MaxRunChars = 1024;       // units one text output takes
    static constexpr int LineNumberGap = 5;        // between the line numbers and the text

    // The selection as it shows in one paint.
    struct TShownSelection {
        int HBLine = 0;
        int HBCol = 0;     // screen columns
        int HELine = 0;
        int HECol = 0;
    };
    // A column block whose width changed since its last paint: the rows of
    // it that this paint (rows First to Last) does not reach are invalidated.
    void InvalidateUnpaintedBlockRows(const TShownSelection& Selection, int First, int Last);

    // ---- construction and messages (pgc_editor.cpp) ----
    void CreateCaretAndParts();
    void NewParaList(std::uint16_t UndoSize, bool Wrap);
    void edRecreateWnd();
    void edBordersChanged(plat::TObject* Sender);
    void edHighlightColorsChanged(plat::TObject* Sender);
    void edFixedFontChanged(plat::TObject* Sender);
    void edLoadBookmarkGlyphs();
    void ReadLegacyMargin(plat::TReader& Reader);
    void CMFontChanged(plat::TMessage& Msg);
    void CMCtl3DChanged(plat::TMessage& Msg);
    void CMDialogChar(plat::TMessage& Msg);
    void WMEraseBkgnd(plat::TMessage& Msg);
    void WMMouseActivate(plat::TMessage& Msg);
    void WMSetFocus(plat::TMessage& Msg);
    void WMKillFocus(plat::TMessage& Msg);
    void WMSize(plat::TMessage& Msg);
    void WMHScroll(plat::TMessage& Msg);
    void WMVScroll(plat::TMessage& Msg);
    void edShowStatusMessage(plat::TMessage& Msg);
    // Keys (pgc_editor_commands.cpp).
    void WMKeyDown(plat::TMessage& Msg);
    void WMSysKeyDown(plat::TMessage& Msg);
    void WMChar(plat::TMessage& Msg);
    void WMGetDlgCode(plat::TMessage& Msg);
    // The mouse (pgc_editor_mouse.cpp).
    void WMSetCursor(plat::TMessage& Msg);
    void WMLButtonDown(plat::TMessage& Msg);
    void WMMouseMove(plat::TMessage& Msg);
    void WMLButtonUp(plat::TMessage& Msg);
    void WMLButtonDblClk(plat::TMessage& Msg);
    void WMTimer(plat::TMessage& Msg);
    void WMCaptureChanged(plat::TMessage& Msg);

    // ---- the ring (pgc_editor_ring.cpp) ----
    // Leaves the ring; an editor alone frees the list.
    void edDetach();
    template <class Fix>
    void NotifyRing(Fix FixOne);
    // The top of the view after an edit: TopMarker is (edTopPara, edTopPos
    // + 1) moved by the edit; EditInTopPara when the edit touched its paragraph.
    void SetTopFromMarker(const TMarker& TopMarker, bool TakePara, bool EditInTopPara);
    // The caret at a new paragraph position: line, column and line start.
    void PlaceCaretAt(const TMarker& Caret);
    // Moves the selection's ends and anchor by an edit and recomputes their
    // display lines and columns.
    template <class FixMarker>
    void FixSelection(FixMarker Fix);
    // What every editor of the ring does last after an edit.
    void MarkScrollStatePending();

    // ---- text (pgc_editor_text.cpp) ----
    void CheckLine(int LineNum) const;
    void CheckPara(int ParaNum) const;
    // The display line's characters (EInvalidLineOrPara outside 1 .. LineCount).
    std::u16string_view LineText(int LineNum) const;
    std::u16string ExpandedLine(int LineNum) const;
    bool IsWordDelimiter(char16_t Ch) const;

    // ---- caret and selection (pgc_editor_caret.cpp) ----
    // The display line and column of a paragraph position.
    TPgcTextPos LinePosOf(const TMarker& M) const;
    TMarker CaretMarker() const { return {edCurPara, edLinePos + edCurCol}; }
    // The caret, the first visible line and column and the selection back
    // at the start of the text.
    void ResetView();
    // The screen column of character column Col of display line Line.
    int ScreenColumn(int Line, int Col) const;

    bool Designing() const { return ComponentState().Contains(plat::csDesigning); }

    // ---- commands and editing ----
    // After an undo or redo put the caret: the selection collapses onto it
    // and it is scrolled into view.
    void ShowUndoneCaret();
    // Runs an editing command inside one undo group, closed also on failure.
    void InUndoGroup(const std::function<void()>& Body);
    bool IsBlankUnit(char16_t Ch) const { return Ch == u' ' || Ch == u'\t'; }
    // The paragraph's units.
    std::u16string_view ParaText(int Para) const;
    // Deletes a column block: the columns between the ends' screen columns
    // on every paragraph from the first end's to the second's.
    void DeleteColumnBlock();
    void DeleteStream();
    // Inserts N blanks at the caret (Overwrite: in place of the N units
    // there) and moves the caret after them.
    void InsertBlanks(int N, bool Overwrite);
    // The next word start right of the caret column on the line above (or
    // below): the smart tab's stop; 0 when there is none.
    int SmartTabStop();
    // The screen width of the caret line's leading blanks (Enter's indent).
    int edGetIndent();
    std::uint16_t InsertColumnBlock(std::u16string_view Text);
    std::uint16_t InsertStream(std::u16string_view Text);
    // The selected text as it goes to the clipboard.
    std::u16string StreamClipboardText();
    std::u16string ColumnBlockClipboardText();
    void FilterClipboardChars(std::u16string& Text) const;
    int SearchForward(std::u16string_view S, const char16_t* R, TSearchOptionSet Options, TMarker Start,
        TMarker& Begin, TMarker& End, int& Count);
    int SearchBackward(std::u16string_view S, const char16_t* R, TSearchOptionSet Options, TMarker Start,
        TMarker& Begin, TMarker& End, int& Count);
    bool IsWholeWord(std::u16string_view Para, int Offset, int Length) const;

    // ---- mouse tracking ----
    // One step of a drag: selects to the pointer when its text position
    // changed and D - G ms passed since the last step.
    void TrackMouse(bool FromTimer);
    void EndMouseTracking();
    // The milliseconds between two steps at a window edge (D), less how far
    // the pointer is outside the window (G).
    int TrackingInterval(int Y) const;
    void SelectLinesTo(int L);
    void SelectWordAt(int L, int C, bool Shift);
    void SelectParagraphAt(int L, bool Shift);

    // ---- geometry (pgc_editor_scroll.cpp) ----
    // Pixels of the widest line number of the visible rows.
    int LineNumberWidth();

    // ---- painting (pgc_editor_paint.cpp) ----
    TShownSelection ShownSelection() const;
    void PaintRow(int Row, int First, int Last, const TShownSelection& Selection);
    // The row's text (tabs expanded when it has any) and its length.
    std::u16string_view RowText(int Line, const TShownSelection& Selection);
    void DrawRuns(const plat::TRect& RowRect, int Line, std::u16string_view Visible,
        const TShownSelection& Selection);
    void DrawRun(plat::TRect Rect, std::u16string_view Chars);
    void SetNormalColors();
    void SetHighlightColors();
    void PaintMarkerGlyphs();
    void PaintLineNumbers();
    void PaintMarginLines();
    void PaintBorders();
    void PaintBorder(const TPgcBorder& Border, int X1, int Y1, int X2, int Y2);
    void FillRect(const plat::TRect& Rect, plat::TColor Color);
    void DrawLine(int X1, int Y1, int X2, int Y2, plat::TColor Color, int Width, plat::TPenStyle Style);

    bool FAutoIndent = false;           // Enter indents like the line above (command processing)
    bool FNewStyleIndent = false;       // ... like the paragraph's earlier line
    std::unique_ptr<TPgcEditorMargins> FMargins;
    std::unique_ptr<TPgcBorders> FBorders;
    TBorderStyle FBorderStyle = bsSingle;
    bool FCtl3D = true;                 // a sunken edge in place of the plain border
    std::int32_t FByteLimit = NoLimit;  // mirrors the list's MaxBytes
    TCharSet FClipboardChars;           // control characters a copy keeps
    std::unique_ptr<TPgcFixedFont> FFixedFont;
    bool FHideSelection = true;
    std::unique_ptr<TPgcColors> FHighlightColors;
    bool FInsertMode = true;
    bool FKeepClipboardChars = false;
    plat::TColor FMarginColor = plat::clWindow;
    std::int32_t FParaLengthLimit = MaxParaLengthLimit;   // mirrors the list's MaxParaLen
    std::int32_t FParaLimit = NoLimit;                    // mirrors the list's MaxParas
    bool FReadOnly = false;
    TScrollStyle FScrollBars = ssBoth;
    bool FScrollBarsAlways = false;     // bars stay when nothing scrolls
    bool FScrollPastEnd = false;        // the caret may stand right of a line's end
    bool FShowBookmarks = true;         // marker glyphs in the left margin
    bool FShowLineNumbers = false;
    bool FShowRules = false;            // a rule under every row
    bool FShowWrapColumn = false;
    plat::TColor FRuleColor = plat::clNavy;
    std::uint8_t FTabSize = 8;          // mirrors the list's tab size
    TTabType FTabType = ttReal;
    bool FTrimWhiteSpace = true;        // AppendPara drops trailing blanks
    std::uint16_t FUndoBufferSize = 8192;
    bool FWantEnter = true;
    bool FWantTab = false;
    std::string FWordDelimiters;
    bool FWordWrap = false;             // mirrors the list's WordWrap
    bool FWrapAtLeft = true;            // Left at a line's start goes to the line above
    std::int32_t FWrapColumn = 80;      // mirrors the list's WrapColumn
    bool FWrapToWindow = false;         // the wrap column follows the window width
    int FWheelDelta = 1;                // lines per wheel notch

    TMarker edAnchor;                   // the selection end the caret stands at
    std::unique_ptr<plat::TBitmap> edBMGlyphs;   // marker glyphs side by side; none while hidden
    std::unique_ptr<TPgcCaretPair> edCaret;
    int edCols = 0;                     // whole columns of the text area, at least 1 once measured
    int edColWid = 1;                   // cell width in pixels
    int edCurCol = 1;
    int edCurLine = 1;
    int edCurPara = 1;
    int edLinePos = 0;                  // paragraph position of the caret line's start - 1
    int edDivisor = 1;                  // lines per vertical scroll-bar unit
    int edHDelta = 0;                   // columns scrolled off to the left
    TMarker edHltBgn;
    TMarker edHltEnd;
    TPgcTextPos edHltBgnL;
    TPgcTextPos edHltEndL;
    bool edHScroll = false;             // the horizontal bar is in use
    int edHSMax = 0;                    // horizontal range
    int edLineNumW = 0;                 // widest visible line number in pixels
    TPgcParaList* edParas = nullptr;    // the text, owned by the ring
    bool edPendingHSP = false;          // applied at the end of the next paint
    bool edPendingVSP = false;
    bool edPendingVSR = false;
    TPgcCustomEditor* edPrev;           // ring neighbours; itself when alone
    TPgcCustomEditor* edNext;
    bool edRedrawPending = false;       // a whole-window invalidation is outstanding
    int edRowHt = 1;                    // text row height without rules
    int edRows = 0;                     // rows, a last one more than half visible counted
    int edeRows = 0;                    // whole rows
    int edTopLine = 1;
    int edTopPara = 1;
    int edTopPos = 0;
    bool edVScroll = false;             // the vertical bar is in use
    int edVSMax = 0;                    // vertical range in scroll units
    bool edResettingScrollbars = false; // ResetScrollBars re-entry guard
    bool edSuppressChar = false;        // swallow the next character message
    bool edRectSelect = false;          // the selection is a column block
    int edRectSelectDiff = 0;           // begin minus end screen column of the column block last painted
    bool edCapture = false;             // the editor holds the mouse capture
    plat::HCURSOR edSelCursor = 0;      // the line-selection cursor
    bool edSelCursorOn = false;         // ... is showing (the pointer is in the left margin)

    // A drag in progress: the fixed end of a line selection, the text
    // position of the last step and its time.
    struct TMouseTrack {
        bool LineMode = false;          // began in the left margin
        bool Extend = false;            // Shift held, then true after the first step
        int AnchorLine = 0;             // line selection's fixed end
        int AnchorCol = 0;
        int LastLine = -1;
        int LastCol = -1;
        std::int64_t LastTimeMs = 0;
        int EdgeMs = 0;                 // D: three scroll-bar heights
        plat::TPoint Pointer;           // client point of the last pointer message
    };
    TMouseTrack edTrack;

    // Paint state: the row's text buffer (tabs expanded), the UTF-8 form of
    // a run and its per-character advances; kept between paints so that a
    // paint allocates nothing per row.
    std::u16string edRowBuffer;
    std::string edRunText;
    std::array<int, MaxRunChars> edColWidthArray{};
};

// The editor with its settings published for forms.
class TPgcEditor : public TPgcCustomEditor {
    PLAT_CLASS(TPgcEditor, TPgcCustomEditor)
public:
    explicit TPgcEditor(plat::TComponent* AOwner) : TPgcCustomEditor(AOwner) {}
};

} // namespace qel
