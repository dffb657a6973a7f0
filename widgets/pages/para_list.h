// The paragraph editor's text: a linked list of paragraphs with the totals the
// editor scrolls by, the mapping between wrapped lines and paragraph
// positions, the size limits, ten text markers and the undo history.
#pragma once

#include "widgets/pages/edit_base.h"
#include "widgets/pages/para_node.h"
#include "widgets/pages/undo_buffer.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

namespace qel {

// Invariants: at least one paragraph; LineCount is the sum of the paragraphs'
// line counts; CharCount is their units plus 2 per paragraph break (so an
// empty list counts 0); the position cache names a paragraph of the list, its
// number and the absolute number of one of its lines. The list owns its
// paragraphs and the undo buffer; a paragraph cut out of the list belongs to
// the undo record that holds it.
//
// Editing operations take the editor that makes the edit (or none); the list
// tells it about the change after adjusting the markers. Positions are 1-based.
// Texts handed in end at their first zero unit, if any: paragraphs never hold one.
class TPgcParaList {
public:
    static constexpr std::int32_t NoLimit = 2147483647;
    // Screen cursors shown while every paragraph of a large text is re-wrapped.
    static constexpr std::int32_t BusyCursor = -11;
    static constexpr std::int32_t DefaultCursor = 0;

    // Init: one empty paragraph, the given undo size and wrap setting, wrap
    // column 80, tab size 8, no limits but a paragraph length of 32,767.
    TPgcParaList(TPgcParaListObserver* AOwner, std::uint16_t UndoSize, bool Wrap);
    ~TPgcParaList();
    TPgcParaList(const TPgcParaList&) = delete;
    TPgcParaList& operator=(const TPgcParaList&) = delete;

    // Settings.
    void SetByteLimit(std::int32_t Value) { FMaxBytes = Value; }
    void SetParaLimit(std::int32_t Value) { FMaxParas = Value; }
    // Taken when within 1..32767.
    void SetMaxParaLen(std::int32_t Value);
    void SetWordWrap(bool Value);
    // Taken when at least 1.
    void SetWrapColumn(std::int32_t Value);
    // Taken when not 0.
    void SetTabSize(std::uint8_t Value);
    // A new, empty undo history of Size bytes.
    void SetUndoSize(std::uint16_t Size);
    void SetModified(bool Value) { FModified = Value; }
    // The wrap column when wrapping, else NoWrapColumn.
    std::int32_t GetWrapColumn() const { return FWordWrap ? FWrapColumn : NoWrapColumn; }
    // Re-wraps every paragraph. Called with BusyCursor first and DefaultCursor
    // after (also when the work fails) for a text of more than 10,000 units.
    std::function<void(std::int32_t Cursor)> SetScreenCursor;
    void Recalculate();
    // Tells the owner and every editor of its ring to recompute positions.
    void ResetPositionInfo();

    TPgcParaListObserver* Owner() const { return FOwner; }
    // The editor that owns the list leaves its ring: another editor of the
    // ring takes the list over.
    void SetOwner(TPgcParaListObserver* AOwner) { FOwner = AOwner; }
    TParaNode* Head() const { return FHead; }
    TParaNode* Tail() const { return FTail; }
    std::int32_t ParaCount() const { return FParaCount; }
    std::int32_t CharCount() const { return FCharCount; }
    std::int32_t LineCount() const { return FLineCount; }
    std::int32_t MaxParas() const { return FMaxParas; }
    std::int32_t MaxBytes() const { return FMaxBytes; }
    std::int32_t MaxParaLen() const { return FMaxParaLen; }
    bool WordWrap() const { return FWordWrap; }
    std::int32_t WrapColumn() const { return FWrapColumn; }
    std::uint8_t TabSize() const { return FTabSize; }
    bool Modified() const { return FModified; }
    bool InUndo() const { return FInUndo; }
    // First and last absolute line changed by the last edit; LLine NoLimit
    // means through the last line.
    std::int32_t FLine() const { return FFLine; }
    std::int32_t LLine() const { return FLLine; }
    TPgcUndoBuffer& UndoBuffer() { return *FUndoBuffer; }
    const TMarkerArray& Markers() const { return FMarkers; }
    // The position cache: paragraph, its number, an absolute line number of
    // it and that line's number within it.
    TParaNode* LastNode() const { return FLastNode; }
    std::int32_t LastP() const { return FLastP; }
    std::int32_t LastN() const { return FLastN; }
    std::int32_t LastO() const { return FLastO; }
    // Paragraphs between two entries of the walk index (at least 1; a new
    // stride drops the index). Tests use small strides to reach it with
    // short texts.
    static constexpr std::int32_t DefaultWalkIndexStride = 64;
    void SetWalkIndexStride(std::int32_t Stride);

    // Lookups; each moves the position cache.
    TParaNode* NthPara(std::int32_t P);
    // The paragraph holding absolute line N, the line's start and length; none
    // and an empty line outside 1..LineCount.
    TParaNode* NthLine(std::int32_t N, const char16_t*& S, std::uint16_t& Len);
    std::int32_t ParaLength(std::int32_t P);
    std::int32_t LineLength(std::int32_t N);
    // Absolute line of position Pos of paragraph P (P clamped to the list) and
    // Pos's column in that line.
    std::int32_t FindLineByPara(std::int32_t P, std::int32_t Pos, std::int32_t& Col);
    // Paragraph of line N and the 0-based offset of the line's start in it
    // (0 when N is not a line of the wrapped text); without wrap, N and 0.
    std::int32_t FindParaByLine(std::int32_t N, std::int32_t& LinePos);
    // Display width of Len units of S.
    std::int32_t EffStrLen(const char16_t* S, std::uint16_t Len) const;
    std::int32_t EffLen(std::int32_t N);
    // 1-based display column of character column Col of a line S of Len units.
    std::int32_t EffCol(const char16_t* S, std::uint16_t Len, std::int32_t Col) const;
    // Character column shown at display column Col of a line S of Len units.
    std::int32_t ActualCol(const char16_t* S, std::uint16_t Len, std::int32_t Col) const;

    // 0 when Paras paragraphs and Bytes units may be added (to paragraph P
    // when P is not 0), else the code of the limit that would be exceeded.
    std::uint16_t OkToInsert(std::int32_t P, std::int32_t Paras, std::int32_t Bytes);

    // Appends SLen units of S as a paragraph before the empty last paragraph
    // (after a last paragraph with text); Trim drops its trailing blanks. No
    // limit is tested, no undo record made, no marker moved. A text longer than
    // a paragraph can hold gives EditErrParaTooLong.
    std::uint16_t AppendParaEof(const char16_t* S, std::int32_t SLen, bool Trim);

    // Editing. Codes are 0 or those of OkToInsert and EditErrOutOfMemory;
    // a refused edit changes nothing.
    //
    // Inserts SLen units before Pos; a Pos past the end pads with spaces,
    // which count against the limits too.
    std::uint16_t InsertTextPrim(TPgcParaListObserver* Editor, std::int32_t P, std::int32_t Pos, const char16_t* S,
        std::int32_t SLen);
    // Deletes Count units from Pos (cut to the paragraph's end).
    void DeleteText(TPgcParaListObserver* Editor, std::int32_t P, std::int32_t Pos, std::int32_t Count);
    // Replaces Count units at Pos (cut to the paragraph's end) by StLen units
    // of St; a longer paragraph is checked against the limits.
    std::uint16_t ReplaceText(TPgcParaListObserver* Editor, std::int32_t P, std::int32_t Pos, std::int32_t Count,
        const char16_t* St, std::int32_t StLen);
    // A new paragraph of Len units of S before paragraph P.
    std::uint16_t InsertParaPrim(TPgcParaListObserver* Editor, std::int32_t P, const char16_t* S, std::int32_t Len);
    // A new paragraph of Len units of S after paragraph P, without limit checks.
    std::uint16_t PlaceParaPrim(TPgcParaListObserver* Editor, std::int32_t P, const char16_t* S, std::int32_t Len);
    // Deletes paragraph P; the only paragraph stays.
    void DeletePara(TPgcParaListObserver* Editor, std::int32_t P);
    // Appends paragraph P + 1 to paragraph P at Pos (Pos 1: paragraph P is
    // deleted instead).
    std::uint16_t JoinWithNext(TPgcParaListObserver* Editor, std::int32_t P, std::int32_t Pos);
    // Splits paragraph P before Pos; the new paragraph starts with Indent
    // display columns of indentation (tabs of TabSz and spaces; spaces only
    // with TabSz 0), and Indent becomes the number of units inserted for it.
    // Trim drops the blanks before Pos.
    std::uint16_t BreakPara(TPgcParaListObserver* Editor, std::int32_t P, std::int32_t Pos, std::uint8_t TabSz,
        std::int32_t& Indent, bool Trim);
    // Inserts a text that may hold line breaks (line feeds; carriage returns
    // are dropped) at (P, Pos), which move to its end.
    std::uint16_t InsertBlock(TPgcParaListObserver* Editor, std::int32_t& P, std::int32_t& Pos, std::u16string_view S);
    // Deletes from (Para1, Pos1) up to, not including, (Para2, Pos2).
    std::uint16_t DeleteBlock(TPgcParaListObserver* Editor, std::int32_t Para1, std::int32_t Pos1, std::int32_t Para2,
        std::int32_t Pos2);
    // Undoes or redoes the newest operation; P and Pos receive the position
    // the last record names. Nothing without undo or redo records.
    void Undo(TPgcParaListObserver* Editor, std::int32_t& P, std::int32_t& Pos);
    void Redo(TPgcParaListObserver* Editor, std::int32_t& P, std::int32_t& Pos);

    // Markers. SetMarker stores marker N when N < 10; SetMarkerAt stores it at
    // display line Line and column Col.
    void SetMarker(std::uint8_t N, std::int32_t Para, std::int32_t Pos);
    void SetMarkerAt(std::uint8_t N, std::int32_t Line, std::int32_t Col);

    // How one position follows an edit. The list's markers are unset when the
    // text they mark is deleted; FixMarkDeletedText and FixMarkDeletedPara are
    // the variants for an editor's own positions, which move to the start of a
    // deleted span or to position 1 of the paragraph number (at most ParaCount).
    static void FixMarkerInsertedText(TMarker& M, std::int32_t N, std::int32_t Pos, std::int32_t Count);
    static void FixMarkerDeletedText(TMarker& M, std::int32_t N, std::int32_t Pos, std::int32_t Count);
    static void FixMarkerInsertedPara(TMarker& M, std::int32_t N, std::int32_t Pos, std::int32_t Indent);
    static void FixMarkerDeletedPara(TMarker& M, std::int32_t N);
    static void FixMarkerJoinedParas(TMarker& M, std::int32_t N, std::int32_t Pos);
    static void FixMarkDeletedText(TMarker& M, std::int32_t N, std::int32_t Pos, std::int32_t Count);
    void FixMarkDeletedPara(TMarker& M, std::int32_t N) const;

private:
    // List primitives: link a paragraph (between two neighbours, at the
    // tail, after LPN or at the head when LPN is none, before LPN or at the
    // head), or unlink it, counting it in ParaCount only.
    void LinkBetween(TParaNode* PPN, TParaNode* Before, TParaNode* After);
    void Append(TParaNode* PPN);
    void Place(TParaNode* PPN, TParaNode* LPN);
    void PlaceBefore(TParaNode* PPN, TParaNode* LPN);
    void Unlink(TParaNode* PPN);
    void SetLastNode(TParaNode* PPN, std::int32_t P, std::int32_t N, std::int32_t O);

    // A paragraph, its number and its first absolute line.
    struct TWalkStart {
        TParaNode* Node;
        std::int32_t Number;
        std::int32_t FirstLine;
    };
    // Where a walk starts: the nearest of head, cache and tail, given the
    // distances (in paragraphs or lines) from each.
    TWalkStart NearestWalkStart(std::int32_t FromHead, std::int32_t FromCache, std::int32_t FromTail) const;
    // The walk index's entry at or before paragraph P, or before line N;
    // nothing (Node none) while the index does not reach that far.
    TWalkStart IndexedParaStart(std::int32_t P) const;
    TWalkStart IndexedLineStart(std::int32_t N) const;
    // A walk passing paragraph Number (first line FirstLine) adds it to the
    // index when it is the next paragraph the index is waiting for.
    void NoteWalkedPara(TParaNode* Node, std::int32_t Number, std::int32_t FirstLine)
    {
        if (Number == FWalkIndexNext) {
            FWalkIndex.push_back({Node, Number, FirstLine});
            FWalkIndexNext += FWalkIndexStride;
        }
    }
    // The paragraphs moved or a paragraph's line count changed.
    void DropWalkIndex()
    {
        FWalkIndex.clear();
        FWalkIndexNext = 1;
    }

    // A paragraph node put into the list: before paragraph P (appended when
    // there is none) or after paragraph P.
    void InsertParaNode(TPgcParaListObserver* Editor, std::int32_t P, TParaNode* NPN);
    void PlaceParaNode(TPgcParaListObserver* Editor, std::int32_t P, TParaNode* NPN);
    // Deletes Count paragraphs from P on, the markers adjusted once at the last.
    void DeleteParas(TPgcParaListObserver* Editor, std::int32_t P, std::int32_t Count);
    // Inserts Indent display columns of indentation at the start of paragraph
    // P; the number of units inserted (0 when refused).
    std::int32_t InsertIndent(TPgcParaListObserver* Editor, std::int32_t P, std::uint8_t TabSz, std::int32_t Indent);
    // Counts and changed lines after paragraph PPN (first absolute line First,
    // OldLines lines before) changed by Growth units.
    void NoteParaChange(const TParaNode* PPN, std::int32_t First, std::int32_t OldLines, std::int32_t Growth,
        std::int32_t FL, std::int32_t LL);

    // Undo records, made unless undo or redo runs; False when not recorded.
    bool MakeUndoRec(TUndoType UT, std::int32_t P, std::int32_t Pos, const char16_t* S, std::int32_t Len);
    bool MakeNodeUndoRec(TUndoType UT, std::int32_t P, const TParaNode* Node);
    bool MakeReplaceUndoRec(std::int32_t P, std::int32_t Pos, const char16_t* S, std::int32_t Len, const char16_t* R,
        std::int32_t RLen);
    void UndoRecord(TPgcParaListObserver* Editor, const TUndoRecView& Rec);
    void RedoRecord(TPgcParaListObserver* Editor, const TUndoRecView& Rec, std::int32_t& P, std::int32_t& Pos);

    // All ten markers, then the editor, unless marker adjustment is off.
    template <class FixOne, class Notify>
    void FixAllMarkers(TPgcParaListObserver* Editor, FixOne FixMarker, Notify NotifyEditor);
    void FixMarkersInsertedText(TPgcParaListObserver* Editor, std::int32_t N, std::int32_t Pos, std::int32_t Count);
    void FixMarkersDeletedText(TPgcParaListObserver* Editor, std::int32_t N, std::int32_t Pos, std::int32_t Count);
    void FixMarkersInsertedPara(TPgcParaListObserver* Editor, std::int32_t N, std::int32_t Pos, std::int32_t Indent);
    void FixMarkersDeletedPara(TPgcParaListObserver* Editor, std::int32_t N);
    void FixMarkersJoinedParas(TPgcParaListObserver* Editor, std::int32_t N, std::int32_t Pos);

    TPgcParaListObserver* FOwner;              // the editor that created the list; start of its ring
    TParaNode* FHead = nullptr;                // first paragraph
    TParaNode* FTail = nullptr;                // last paragraph
    TParaNode* FLastNode = nullptr;            // position cache: the paragraph found last,
    std::int32_t FLastP = 0;                   //   its number,
    std::int32_t FLastN = 0;                   //   the absolute number of one of its lines
    std::int32_t FLastO = 0;                   //   and that line's number within it
    std::int32_t FParaCount = 0;
    std::int32_t FCharCount = 0;               // units + 2 per paragraph break
    std::int32_t FLineCount = 1;               // wrapped lines of all paragraphs
    std::int32_t FMaxParas = NoLimit;
    std::int32_t FMaxBytes = NoLimit;          // limit of CharCount
    std::int32_t FMaxParaLen = 32767;          // units per paragraph, 1..32767
    bool FWordWrap;
    std::int32_t FWrapColumn = 80;             // display columns, at least 1
    std::uint8_t FTabSize = 8;                 // 1..255
    bool FModified = false;                    // text changed since the flag was cleared
    bool FFixMarkers = true;                   // marker adjustment; off inside compound operations
    TMarkerArray FMarkers{};                   // (0, 0): unset
    std::unique_ptr<TPgcUndoBuffer> FUndoBuffer;
    bool FInUndo = false;                      // undo or redo runs: no records are made
    std::int32_t FFLine = 0;                   // first absolute line changed by the last edit
    std::int32_t FLLine = 0;                   // last one; NoLimit: through the last line
    // Walk index: paragraphs 1, 1 + stride, 1 + 2 x stride, ... with their
    // first lines, from the head as far as walks have passed since the
    // paragraphs last moved or changed their line counts (then it is dropped).
    // A far lookup starts at the nearest entry, so it walks at most a stride.
    std::vector<TWalkStart> FWalkIndex;
    std::int32_t FWalkIndexStride = DefaultWalkIndexStride;
    std::int32_t FWalkIndexNext = 1;           // number of the paragraph the next entry holds
};

} // namespace qel
