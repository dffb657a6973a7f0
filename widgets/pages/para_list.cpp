// The paragraph editor's text: paragraph list, lookups, limits, editing with
// undo records and marker adjustment, undo and redo (see para_list.h).
#include "widgets/pages/para_list.h"

#include "widgets/pages/edit_text_routines.h"

#include <algorithm>
#include <cassert>
#include <cstdlib>
#include <string>

namespace qel {

namespace {

constexpr std::int32_t RecalculateBusyChars = 10000;   // larger texts show the busy cursor while re-wrapped

// Units of S before its first zero unit, within Len.
std::int32_t TextLength(const char16_t* S, std::int32_t Len)
{
    if (S == nullptr || Len <= 0) {
        return 0;
    }
    return static_cast<std::int32_t>(std::find(S, S + Len, u'\0') - S);
}

// A flag set for a scope (marker adjustment off while an operation adjusts
// the markers once at its end; no undo records while undo or redo runs).
class TScopedFlag {
public:
    TScopedFlag(bool& Flag, bool Value) : FFlag(Flag), FSaved(Flag) { Flag = Value; }
    ~TScopedFlag() { FFlag = FSaved; }
    TScopedFlag(const TScopedFlag&) = delete;
    TScopedFlag& operator=(const TScopedFlag&) = delete;

private:
    bool& FFlag;
    bool FSaved;
};

// One compound undo operation for a scope: its records are undone together.
class TComplexOp {
public:
    explicit TComplexOp(TPgcUndoBuffer& Buffer) : FBuffer(Buffer), FSaveLinking(Buffer.BeginComplexOp()) {}
    ~TComplexOp() { FBuffer.EndComplexOp(FSaveLinking); }
    TComplexOp(const TComplexOp&) = delete;
    TComplexOp& operator=(const TComplexOp&) = delete;

private:
    TPgcUndoBuffer& FBuffer;
    bool FSaveLinking;
};

// The old and the new text of a replace record.
struct TReplaceTexts {
    const char16_t* Old;
    std::uint16_t OldLen;
    const char16_t* New;
    std::uint16_t NewLen;
};

TReplaceTexts SplitReplaceRec(const TUndoRecView& Rec)
{
    std::uint16_t oldLen = 0;
    while (Rec.Data[oldLen] != 0) {
        ++oldLen;
    }
    return {Rec.Data, oldLen, Rec.Data + oldLen + 1, static_cast<std::uint16_t>(Rec.DSize - oldLen - 2)};
}

} // namespace

TPgcParaList::TPgcParaList(TPgcParaListObserver* AOwner, std::uint16_t UndoSize, bool Wrap)
    : FOwner(AOwner), FWordWrap(Wrap), FUndoBuffer(std::make_unique<TPgcUndoBuffer>(UndoSize))
{
    auto* node = new TParaNode(u"", 0, NoWrapColumn, FTabSize);
    Append(node);
    SetLastNode(node, 1, 1, 1);
}

TPgcParaList::~TPgcParaList()
{
    FUndoBuffer.reset();
    while (FTail != nullptr) {
        TParaNode* prev = FTail->Prev;
        delete FTail;
        FTail = prev;
    }
}

// ---- settings ----

void TPgcParaList::SetMaxParaLen(std::int32_t Value)
{
    if (Value >= 1 && Value <= 32767) {
        FMaxParaLen = Value;
    }
}

void TPgcParaList::SetWordWrap(bool Value)
{
    if (Value == FWordWrap) {
        return;
    }
    FWordWrap = Value;
    Recalculate();
    ResetPositionInfo();
}

void TPgcParaList::SetWrapColumn(std::int32_t Value)
{
    if (Value < 1 || Value == FWrapColumn) {
        return;
    }
    FWrapColumn = Value;
    if (FWordWrap) {
        Recalculate();
        ResetPositionInfo();
    }
}

void TPgcParaList::SetTabSize(std::uint8_t Value)
{
    if (Value == 0 || Value == FTabSize) {
        return;
    }
    FTabSize = Value;
    if (FWordWrap) {
        Recalculate();
        ResetPositionInfo();
    }
}

void TPgcParaList::SetUndoSize(std::uint16_t Size)
{
    FUndoBuffer = std::make_unique<TPgcUndoBuffer>(Size);
}

void TPgcParaList::Recalculate()
{
    const auto rewrap = [this] {
        std::int32_t lines = 0;
        for (TParaNode* node = FHead; node != nullptr; node = node->Next) {
            node->Recalc(GetWrapColumn(), FTabSize);
            lines += node->LineCount();
        }
        FLineCount = lines;
        SetLastNode(FHead, 1, 1, 1);
        DropWalkIndex();
    };
    if (FCharCount <= RecalculateBusyChars || !SetScreenCursor) {
        rewrap();
        return;
    }
    SetScreenCursor(BusyCursor);
    try {
        rewrap();
    } catch (...) {
        SetScreenCursor(DefaultCursor);
        throw;
    }
    SetScreenCursor(DefaultCursor);
}

void TPgcParaList::ResetPositionInfo()
{
    if (FOwner == nullptr) {
        return;
    }
    FOwner->edResetPositionInfo();
    for (TPgcParaListObserver* editor = FOwner->NextEditor(); editor != nullptr && editor != FOwner;
         editor = editor->NextEditor()) {
        editor->edResetPositionInfo();
    }
}

// ---- list primitives ----

void TPgcParaList::LinkBetween(TParaNode* PPN, TParaNode* Before, TParaNode* After)
{
    PPN->Prev = Before;
    PPN->Next = After;
    (Before != nullptr ? Before->Next : FHead) = PPN;
    (After != nullptr ? After->Prev : FTail) = PPN;
    ++FParaCount;
    DropWalkIndex();
}

void TPgcParaList::Append(TParaNode* PPN)
{
    LinkBetween(PPN, FTail, nullptr);
}

void TPgcParaList::Place(TParaNode* PPN, TParaNode* LPN)
{
    if (PPN != nullptr && PPN != LPN) {
        LinkBetween(PPN, LPN, LPN != nullptr ? LPN->Next : FHead);
    }
}

void TPgcParaList::PlaceBefore(TParaNode* PPN, TParaNode* LPN)
{
    LinkBetween(PPN, LPN != nullptr ? LPN->Prev : nullptr, LPN != nullptr ? LPN : FHead);
}

void TPgcParaList::Unlink(TParaNode* PPN)
{
    (PPN->Prev != nullptr ? PPN->Prev->Next : FHead) = PPN->Next;
    (PPN->Next != nullptr ? PPN->Next->Prev : FTail) = PPN->Prev;
    PPN->Next = PPN->Prev = nullptr;
    --FParaCount;
    DropWalkIndex();
}

void TPgcParaList::SetWalkIndexStride(std::int32_t Stride)
{
    FWalkIndexStride = std::max(1, Stride);
    DropWalkIndex();
}

void TPgcParaList::SetLastNode(TParaNode* PPN, std::int32_t P, std::int32_t N, std::int32_t O)
{
    FLastNode = PPN;
    FLastP = P;
    FLastN = N;
    FLastO = O;
}

// ---- lookups ----

TPgcParaList::TWalkStart TPgcParaList::NearestWalkStart(std::int32_t FromHead, std::int32_t FromCache,
    std::int32_t FromTail) const
{
    if (FromHead <= FromCache && FromHead <= FromTail) {
        return {FHead, 1, 1};
    }
    if (FromTail <= FromCache) {
        return {FTail, FParaCount, FLineCount - FTail->LineCount() + 1};
    }
    return {FLastNode, FLastP, FLastN - FLastO + 1};
}

TPgcParaList::TWalkStart TPgcParaList::IndexedParaStart(std::int32_t P) const
{
    if (FWalkIndex.empty()) {
        return {nullptr, 0, 0};
    }
    const auto entry = std::min(static_cast<std::size_t>((P - 1) / FWalkIndexStride), FWalkIndex.size() - 1);
    return FWalkIndex[entry];
}

TPgcParaList::TWalkStart TPgcParaList::IndexedLineStart(std::int32_t N) const
{
    const auto after = std::upper_bound(FWalkIndex.begin(), FWalkIndex.end(), N,
        [](std::int32_t Line, const TWalkStart& Entry) { return Line < Entry.FirstLine; });
    return after == FWalkIndex.begin() ? TWalkStart{nullptr, 0, 0} : *(after - 1);
}

TParaNode* TPgcParaList::NthPara(std::int32_t P)
{
    if (P < 1 || P > FParaCount) {
        return nullptr;
    }
    FLastN = FLastN - FLastO + 1;
    FLastO = 1;
    if (P == FLastP) {
        return FLastNode;
    }
    if (P == 1) {
        SetLastNode(FHead, 1, 1, 1);
        return FHead;
    }
    if (P == FParaCount) {
        SetLastNode(FTail, P, FLineCount - FTail->LineCount() + 1, 1);
        return FTail;
    }
    if (P == FLastP + 1) {
        SetLastNode(FLastNode->Next, P, FLastN + FLastNode->LineCount(), 1);
        return FLastNode;
    }
    if (P == FLastP - 1) {
        TParaNode* prev = FLastNode->Prev;
        SetLastNode(prev, P, FLastN - prev->LineCount(), 1);
        return prev;
    }
    TWalkStart start = NearestWalkStart(P - 1, std::abs(P - FLastP), FParaCount - P);
    const TWalkStart indexed = IndexedParaStart(P);
    if (indexed.Node != nullptr && P - indexed.Number < std::abs(P - start.Number)) {
        start = indexed;
    }
    auto [node, number, first] = start;
    NoteWalkedPara(node, number, first);
    while (number < P) {
        first += node->LineCount();
        node = node->Next;
        NoteWalkedPara(node, ++number, first);
    }
    while (number > P) {
        node = node->Prev;
        first -= node->LineCount();
        NoteWalkedPara(node, --number, first);
    }
    SetLastNode(node, P, first, 1);
    return node;
}

TParaNode* TPgcParaList::NthLine(std::int32_t N, const char16_t*& S, std::uint16_t& Len)
{
    S = u"";
    Len = 0;
    if (!FWordWrap) {
        TParaNode* node = NthPara(N);
        if (node != nullptr) {
            S = node->GetS();
            Len = node->SLen();
        }
        return node;
    }
    if (N < 1 || N > FLineCount) {
        return nullptr;
    }
    if (N == FLastN) {
        // the cache holds it
    } else if (N == 1) {
        SetLastNode(FHead, 1, 1, 1);
    } else if (N == FLineCount) {
        SetLastNode(FTail, FParaCount, N, FTail->LineCount());
    } else if (N == FLastN + 1) {
        if (FLastO < FLastNode->LineCount()) {
            SetLastNode(FLastNode, FLastP, N, FLastO + 1);
        } else {
            SetLastNode(FLastNode->Next, FLastP + 1, N, 1);
        }
    } else if (N == FLastN - 1) {
        if (FLastO > 1) {
            SetLastNode(FLastNode, FLastP, N, FLastO - 1);
        } else {
            SetLastNode(FLastNode->Prev, FLastP - 1, N, FLastNode->Prev->LineCount());
        }
    } else {
        const std::int32_t fromCache = std::abs(N - FLastN);
        TWalkStart start = NearestWalkStart(N - 1, fromCache, FLineCount - N);
        const TWalkStart indexed = IndexedLineStart(N);
        if (indexed.Node != nullptr && N - indexed.FirstLine < std::min({N - 1, fromCache, FLineCount - N})) {
            start = indexed;
        }
        auto [node, number, first] = start;
        NoteWalkedPara(node, number, first);
        while (N >= first + node->LineCount()) {
            first += node->LineCount();
            node = node->Next;
            NoteWalkedPara(node, ++number, first);
        }
        while (N < first) {
            node = node->Prev;
            first -= node->LineCount();
            NoteWalkedPara(node, --number, first);
        }
        SetLastNode(node, number, N, N - first + 1);
    }
    S = FLastNode->NthLine(FLastO, Len);
    return FLastNode;
}

std::int32_t TPgcParaList::ParaLength(std::int32_t P)
{
    const TParaNode* node = NthPara(P);
    return node != nullptr ? node->SLen() : 0;
}

std::int32_t TPgcParaList::LineLength(std::int32_t N)
{
    const char16_t* s = nullptr;
    std::uint16_t len = 0;
    NthLine(N, s, len);
    return len;
}

std::int32_t TPgcParaList::FindLineByPara(std::int32_t P, std::int32_t Pos, std::int32_t& Col)
{
    const TParaNode* node = NthPara(std::clamp(P, 1, FParaCount));
    return node->PosToLine(Pos, Col) + FLastN - 1;
}

std::int32_t TPgcParaList::FindParaByLine(std::int32_t N, std::int32_t& LinePos)
{
    LinePos = 0;
    if (!FWordWrap) {
        return N;
    }
    const char16_t* s = nullptr;
    std::uint16_t len = 0;
    const TParaNode* node = NthLine(N, s, len);
    if (node == nullptr) {
        return 0;
    }
    LinePos = node->LineStart(FLastO);
    return FLastP;
}

std::int32_t TPgcParaList::EffStrLen(const char16_t* S, std::uint16_t Len) const
{
    return Len > 0 && HasTabs(S, Len) ? TabbedWidth(S, Len, FTabSize) : Len;
}

std::int32_t TPgcParaList::EffLen(std::int32_t N)
{
    const char16_t* s = nullptr;
    std::uint16_t len = 0;
    NthLine(N, s, len);
    return EffStrLen(s, len);
}

std::int32_t TPgcParaList::EffCol(const char16_t* S, std::uint16_t Len, std::int32_t Col) const
{
    if (Col <= 1 || Len == 0) {
        return Col == 0 ? 1 : Col;
    }
    if (Col > Len) {
        return EffStrLen(S, Len) + Col - Len;
    }
    return EffStrLen(S, static_cast<std::uint16_t>(Col - 1)) + 1;
}

std::int32_t TPgcParaList::ActualCol(const char16_t* S, std::uint16_t Len, std::int32_t Col) const
{
    if (Col <= 1 || Len == 0) {
        return Col;
    }
    const bool tabs = HasTabs(S, Len);
    const std::int32_t width = tabs ? EffCol(S, Len, Len) : Len;
    if (Col > width) {
        return Len + Col - width;
    }
    return tabs ? CharsInWidth(S, static_cast<std::uint16_t>(Col), FTabSize) : Col;
}

// ---- limits and appending ----

std::uint16_t TPgcParaList::OkToInsert(std::int32_t P, std::int32_t Paras, std::int32_t Bytes)
{
    if (Paras != 0 || P > FMaxParas) {
        std::int64_t allowed = FMaxParas;
        if (FMaxParas != NoLimit && P <= FMaxParas && FTail->SLen() == 0) {
            ++allowed;   // the empty last paragraph does not count
        }
        if (static_cast<std::int64_t>(FParaCount) + Paras > allowed) {
            return EditErrTooManyParas;
        }
    }
    if (static_cast<std::int64_t>(FCharCount) + Bytes > FMaxBytes) {
        return EditErrTextTooLong;
    }
    if (P == 0 || Paras != 0) {
        return 0;
    }
    const TParaNode* node = NthPara(P);
    if (node != nullptr && static_cast<std::int64_t>(node->SLen()) + Bytes > FMaxParaLen) {
        return EditErrParaTooLong;
    }
    return 0;
}

std::uint16_t TPgcParaList::AppendParaEof(const char16_t* S, std::int32_t SLen, bool Trim)
{
    SLen = TextLength(S, SLen);
    if (SLen > MaxParaNodeLength) {
        return EditErrParaTooLong;
    }
    auto* node = new TParaNode(S, static_cast<std::uint16_t>(SLen), GetWrapColumn(), FTabSize);
    if (FTail->SLen() > 0) {
        Append(node);
    } else {
        // The empty last paragraph moves down one number, so undo records,
        // which address paragraphs by number, would no longer match the text.
        if (FUndoBuffer->Undos() > 0 || FUndoBuffer->Redos() > 0) {
            FUndoBuffer->Flush();
        }
        PlaceBefore(node, FTail);
    }
    SetLastNode(FHead, 1, 1, 1);
    FCharCount += SLen + 2;
    if (Trim) {
        FCharCount -= node->TrimWhiteSpace();
    }
    FLineCount += node->LineCount();
    return 0;
}

// ---- editing ----

void TPgcParaList::NoteParaChange(const TParaNode* PPN, std::int32_t First, std::int32_t OldLines,
    std::int32_t Growth, std::int32_t FL, std::int32_t LL)
{
    FCharCount += Growth;
    FLineCount += PPN->LineCount() - OldLines;
    if (PPN->LineCount() != OldLines) {
        DropWalkIndex();
    }
    FFLine = First + FL - 1;
    FLLine = PPN->LineCount() == OldLines ? First + LL - 1 : NoLimit;
}

std::uint16_t TPgcParaList::InsertTextPrim(TPgcParaListObserver* Editor, std::int32_t P, std::int32_t Pos,
    const char16_t* S, std::int32_t SLen)
{
    SLen = TextLength(S, SLen);
    TParaNode* node = NthPara(P);
    if (node == nullptr || Pos < 1) {
        return 0;
    }
    // Spaces pad a position past the end; they count against the limits too.
    const std::int32_t padding = std::max(0, Pos - 1 - node->SLen());
    const std::int32_t growth = padding + SLen;
    if (growth == 0) {
        return 0;
    }
    if (!FInUndo) {
        const std::uint16_t code = OkToInsert(P, 0, growth);
        if (code != 0) {
            return code;
        }
    }
    if (node->SLen() + growth > MaxParaNodeLength) {
        return EditErrOutOfMemory;
    }
    const std::int32_t first = FLastN;
    const std::int32_t oldLines = node->LineCount();
    std::int32_t fl = 0;
    std::int32_t ll = 0;
    const std::uint16_t code = node->InsertTextPrim(S, static_cast<std::uint16_t>(SLen), Pos, GetWrapColumn(),
        FTabSize, fl, ll);
    if (code != 0) {
        return code;
    }
    if (padding > 0) {
        MakeUndoRec(utInsert, P, Pos - padding, node->GetS() + Pos - 1 - padding, growth);
    } else {
        MakeUndoRec(utInsert, P, Pos, S, SLen);
    }
    NoteParaChange(node, first, oldLines, growth, fl, ll);
    FixMarkersInsertedText(Editor, P, Pos, SLen);
    FModified = true;
    return 0;
}

void TPgcParaList::DeleteText(TPgcParaListObserver* Editor, std::int32_t P, std::int32_t Pos, std::int32_t Count)
{
    TParaNode* node = NthPara(P);
    if (node == nullptr || Pos < 1) {
        return;
    }
    // A count of 0 still records, notifies and marks the text modified.
    Count = std::min(Count, node->SLen() - Pos + 1);
    if (Count < 0 || node->BufSize() == 0) {
        Count = 0;
    }
    MakeUndoRec(utDelete, P, Pos, node->GetS() + std::min<std::int32_t>(Pos - 1, node->SLen()), Count);
    const std::int32_t first = FLastN;
    const std::int32_t oldLines = node->LineCount();
    std::int32_t fl = 1;   // kept by a paragraph that has nothing at Pos
    std::int32_t ll = 1;
    node->DeleteText(Pos, Count, GetWrapColumn(), FTabSize, fl, ll);
    NoteParaChange(node, first, oldLines, -Count, fl, ll);
    FixMarkersDeletedText(Editor, P, Pos, Count);
    FModified = true;
}

// No limit is checked: a replacement may take a paragraph past MaxParaLen
// and the text past MaxBytes. The record is made after the paragraph took
// the change, so that a refused replacement leaves no record of a change
// that did not happen.
std::uint16_t TPgcParaList::ReplaceText(TPgcParaListObserver* Editor, std::int32_t P, std::int32_t Pos,
    std::int32_t Count, const char16_t* St, std::int32_t StLen)
{
    StLen = TextLength(St, StLen);
    TParaNode* node = NthPara(P);
    if (node == nullptr || Pos < 1 || Pos > node->SLen() + 1) {
        return 0;
    }
    Count = std::clamp(Count, 0, node->SLen() - Pos + 1);
    const std::int32_t diff = StLen - Count;
    if (node->SLen() + diff > MaxParaNodeLength) {
        return EditErrOutOfMemory;
    }
    const std::u16string old(node->GetS() + Pos - 1, static_cast<std::size_t>(Count));
    const std::int32_t first = FLastN;
    const std::int32_t oldLines = node->LineCount();
    std::int32_t fl = 0;
    std::int32_t ll = 0;
    const std::uint16_t code = node->ReplaceText(Pos, Count, GetWrapColumn(), FTabSize, St,
        static_cast<std::uint16_t>(StLen), fl, ll);
    if (code != 0) {
        return code;
    }
    MakeReplaceUndoRec(P, Pos, old.data(), Count, St, StLen);
    NoteParaChange(node, first, oldLines, diff, fl, ll);
    FModified = true;
    if (diff == 0) {
        FixMarkersInsertedText(Editor, P, Pos, 0);
    } else if (diff < 0) {
        FixMarkersDeletedText(Editor, P, Pos + StLen, -diff);
    } else {
        FixMarkersInsertedText(Editor, P, Pos + Count, diff);
    }
    return 0;
}

std::uint16_t TPgcParaList::InsertParaPrim(TPgcParaListObserver* Editor, std::int32_t P, const char16_t* S,
    std::int32_t Len)
{
    Len = TextLength(S, Len);
    if (P < 1 || P > FParaCount) {
        return 0;
    }
    const std::uint16_t code = OkToInsert(0, 1, Len + 2);
    if (code != 0) {
        return code;
    }
    if (Len > FMaxParaLen) {
        return EditErrParaTooLong;
    }
    auto* node = new TParaNode(S, static_cast<std::uint16_t>(Len), GetWrapColumn(), FTabSize);
    MakeNodeUndoRec(utInsPara, P, node);
    InsertParaNode(Editor, P, node);
    return 0;
}

std::uint16_t TPgcParaList::PlaceParaPrim(TPgcParaListObserver* Editor, std::int32_t P, const char16_t* S,
    std::int32_t Len)
{
    Len = TextLength(S, Len);
    if (P < 1 || P > FParaCount) {
        return 0;
    }
    if (Len > MaxParaNodeLength) {
        return EditErrParaTooLong;
    }
    auto* node = new TParaNode(S, static_cast<std::uint16_t>(Len), GetWrapColumn(), FTabSize);
    MakeNodeUndoRec(utPlacePara, P, node);
    PlaceParaNode(Editor, P, node);
    return 0;
}

void TPgcParaList::InsertParaNode(TPgcParaListObserver* Editor, std::int32_t P, TParaNode* NPN)
{
    TParaNode* at = NthPara(P);
    const std::int32_t first = FLastN;
    NPN->Recalc(GetWrapColumn(), FTabSize);
    FCharCount += NPN->SLen() + 2;
    FLineCount += NPN->LineCount();
    if (at != nullptr) {
        PlaceBefore(NPN, at);
        SetLastNode(NPN, P, first, 1);
    } else {
        Append(NPN);
        P = FParaCount;
        SetLastNode(NPN, P, FLineCount - NPN->LineCount() + 1, 1);
    }
    FixMarkersInsertedPara(Editor, P, 1, 0);
    FModified = true;
}

void TPgcParaList::PlaceParaNode(TPgcParaListObserver* Editor, std::int32_t P, TParaNode* NPN)
{
    TParaNode* at = NthPara(P);
    assert(at != nullptr);
    const std::int32_t first = FLastN + at->LineCount();
    NPN->Recalc(GetWrapColumn(), FTabSize);
    FCharCount += NPN->SLen() + 2;
    FLineCount += NPN->LineCount();
    Place(NPN, at);
    SetLastNode(NPN, P + 1, first, 1);
    FixMarkersInsertedPara(Editor, P + 1, 1, 0);
    FModified = true;
}

void TPgcParaList::DeletePara(TPgcParaListObserver* Editor, std::int32_t P)
{
    TParaNode* node = NthPara(P);
    if (node == nullptr || FParaCount == 1) {
        return;
    }
    // While undo runs, the record being taken holds the node.
    const bool held = FInUndo || MakeNodeUndoRec(utDelPara, P, node);
    if (P == 1) {
        SetLastNode(node->Next, 1, 1, 1);
    } else {
        NthPara(P - 1);
    }
    Unlink(node);
    FLineCount -= node->LineCount();
    FCharCount -= node->SLen() + 2;
    if (!held) {
        delete node;
    }
    FixMarkersDeletedPara(Editor, P);
    FModified = true;
}

void TPgcParaList::DeleteParas(TPgcParaListObserver* Editor, std::int32_t P, std::int32_t Count)
{
    for (std::int32_t i = 0; i < Count; ++i) {
        if (i + 1 < Count) {
            TScopedFlag markersOff(FFixMarkers, false);
            DeletePara(Editor, P);
        } else {
            DeletePara(Editor, P);
        }
    }
}

std::uint16_t TPgcParaList::JoinWithNext(TPgcParaListObserver* Editor, std::int32_t P, std::int32_t Pos)
{
    TParaNode* node = NthPara(P);
    if (node == nullptr || node->Next == nullptr || Pos < 1) {
        return 0;
    }
    TComplexOp op(*FUndoBuffer);
    if (Pos == 1) {
        {
            TScopedFlag markersOff(FFixMarkers, false);
            DeletePara(Editor, P);
        }
        FixMarkersJoinedParas(Editor, P, 1);
        return 0;
    }
    const TParaNode* next = node->Next;
    if (OkToInsert(P, 0, next->SLen() + Pos - node->SLen() - 1) != 0) {
        return EditErrJoinTooLong;
    }
    std::uint16_t code = 0;
    {
        TScopedFlag markersOff(FFixMarkers, false);
        if (next->SLen() > 0) {
            code = InsertTextPrim(Editor, P, Pos, next->GetS(), next->SLen());
        }
        if (code == 0) {
            DeletePara(Editor, P + 1);
        } else if (code != EditErrOutOfMemory) {
            code = EditErrJoinTooLong;
        }
        MakeUndoRec(utSavePos, P, Pos, nullptr, 0);
    }
    if (code == 0) {
        FixMarkersJoinedParas(Editor, P, Pos);
    }
    return code;
}

std::uint16_t TPgcParaList::BreakPara(TPgcParaListObserver* Editor, std::int32_t P, std::int32_t Pos,
    std::uint8_t TabSz, std::int32_t& Indent, bool Trim)
{
    TParaNode* node = NthPara(P);
    if (node == nullptr) {
        return 0;
    }
    Pos = std::clamp(Pos, 1, node->SLen() + 1);
    if (Pos == 1) {
        return InsertParaPrim(Editor, P, u"", 0);
    }
    TComplexOp op(*FUndoBuffer);
    {
        TScopedFlag markersOff(FFixMarkers, false);
        MakeUndoRec(utSavePos, P, Pos, nullptr, 0);
        const std::int32_t tailLen = node->SLen() - Pos + 1;
        const std::uint16_t code = PlaceParaPrim(Editor, P, node->GetS() + Pos - 1, tailLen);
        if (code != 0) {
            return code;
        }
        if (tailLen > 0) {
            const std::int32_t blanks = Trim ? node->CountWhiteSpace(Pos) : 0;
            DeleteText(Editor, P, Pos - blanks, tailLen + blanks);
        }
        Indent = InsertIndent(Editor, P + 1, TabSz, Indent);
        MakeUndoRec(utSavePos, P + 1, Indent + 1, nullptr, 0);
    }
    FixMarkersInsertedPara(Editor, P, Pos, Indent);
    return 0;
}

std::int32_t TPgcParaList::InsertIndent(TPgcParaListObserver* Editor, std::int32_t P, std::uint8_t TabSz,
    std::int32_t Indent)
{
    if (Indent <= 0 || Indent > FMaxParaLen) {
        return 0;
    }
    std::u16string units;
    if (TabSz == 0) {
        units.assign(static_cast<std::size_t>(Indent), u' ');
    } else {
        units.assign(static_cast<std::size_t>(Indent / TabSz), u'\t');
        units.append(static_cast<std::size_t>(Indent % TabSz), u' ');
    }
    const auto count = static_cast<std::int32_t>(units.size());
    return InsertTextPrim(Editor, P, 1, units.data(), count) == 0 ? count : 0;
}

std::uint16_t TPgcParaList::InsertBlock(TPgcParaListObserver* Editor, std::int32_t& P, std::int32_t& Pos,
    std::u16string_view S)
{
    std::u16string text;
    text.reserve(S.size());
    for (const char16_t ch : S.substr(0, S.find(u'\0'))) {
        if (ch != u'\r') {
            text.push_back(ch);
        }
    }
    if (text.empty() || NthPara(P) == nullptr || Pos < 1) {
        return 0;
    }
    if (text.find(u'\n') == std::u16string::npos) {
        const auto length = static_cast<std::int32_t>(text.size());
        const std::uint16_t code = InsertTextPrim(Editor, P, Pos, text.data(), length);
        if (code == 0) {
            Pos += length;
        }
        return code;
    }
    const std::int32_t startP = P;
    const std::int32_t startPos = Pos;
    std::uint16_t code = 0;
    {
        TComplexOp op(*FUndoBuffer);
        std::u16string_view rest = text;
        while (!rest.empty() && code == 0) {
            const std::size_t lineLength =
                FirstLineLength(rest.data(), static_cast<std::uint16_t>(std::min<std::size_t>(rest.size(), 65535)));
            const bool breaks = rest[lineLength - 1] == u'\n';
            const std::u16string_view content = rest.substr(0, breaks ? lineLength - 1 : lineLength);
            const auto contentLength = static_cast<std::int32_t>(content.size());
            if (breaks && Pos == 1) {
                code = InsertParaPrim(Editor, P, content.data(), contentLength);
            } else {
                if (contentLength > 0) {
                    code = InsertTextPrim(Editor, P, Pos, content.data(), contentLength);
                    if (code == 0) {
                        Pos += contentLength;
                    }
                }
                if (code == 0 && breaks) {
                    std::int32_t indent = 0;
                    code = BreakPara(Editor, P, Pos, 0, indent, true);
                }
            }
            if (code == 0 && breaks) {
                ++P;
                Pos = 1;
            }
            rest.remove_prefix(lineLength);
        }
    }
    std::int32_t column = 0;
    const std::int32_t line = FindLineByPara(startP, startPos, column);
    FFLine = line > 1 ? line - 1 : line;
    FLLine = NoLimit;
    return code;
}

std::uint16_t TPgcParaList::DeleteBlock(TPgcParaListObserver* Editor, std::int32_t Para1, std::int32_t Pos1,
    std::int32_t Para2, std::int32_t Pos2)
{
    if (Para1 < 1 || Para2 > FParaCount || Para1 > Para2) {
        return 0;
    }
    if (Para1 == Para2) {
        if (Pos2 > Pos1) {
            DeleteText(Editor, Para1, Pos1, Pos2 - Pos1);
        }
        return 0;
    }
    TComplexOp op(*FUndoBuffer);
    if (Pos1 == 1 && Pos2 == 1) {
        DeleteParas(Editor, Para1, Para2 - Para1);
        return 0;
    }
    const std::int32_t length1 = ParaLength(Para1);
    if (Pos1 >= 1 && Pos1 <= length1) {
        DeleteText(Editor, Para1, Pos1, length1 - Pos1 + 1);
    }
    if (Pos2 > 1) {
        DeleteText(Editor, Para2, 1, Pos2 - 1);
    }
    DeleteParas(Editor, Para1 + 1, Para2 - Para1 - 1);
    return JoinWithNext(Editor, Para1, ParaLength(Para1) + 1);
}

// ---- undo and redo ----

bool TPgcParaList::MakeUndoRec(TUndoType UT, std::int32_t P, std::int32_t Pos, const char16_t* S, std::int32_t Len)
{
    return !FInUndo && FUndoBuffer->Push(UT, FModified, P, Pos, S, static_cast<std::uint16_t>(Len));
}

bool TPgcParaList::MakeNodeUndoRec(TUndoType UT, std::int32_t P, const TParaNode* Node)
{
    char16_t units[TUndoNode::NodeRefUnits];
    TUndoNode::NodeRef(Node, units);
    return MakeUndoRec(UT, P, 1, units, TUndoNode::NodeRefUnits);
}

bool TPgcParaList::MakeReplaceUndoRec(std::int32_t P, std::int32_t Pos, const char16_t* S, std::int32_t Len,
    const char16_t* R, std::int32_t RLen)
{
    return !FInUndo
        && FUndoBuffer->PushReplace(FModified, P, Pos, S, static_cast<std::uint16_t>(Len), R,
            static_cast<std::uint16_t>(RLen));
}

void TPgcParaList::Undo(TPgcParaListObserver* Editor, std::int32_t& P, std::int32_t& Pos)
{
    TPgcUndoBuffer& buffer = *FUndoBuffer;
    if (buffer.Undos() == 0) {
        return;
    }
    TScopedFlag undoRuns(FInUndo, true);
    const std::uint8_t link = buffer.PeekUndoLink();
    bool modified = FModified;
    while (buffer.Undos() > 0 && buffer.PeekUndoLink() == link) {
        const TUndoRecView rec = buffer.GetUndo();
        UndoRecord(Editor, rec);
        P = rec.PNum;
        Pos = rec.PPos;
        modified = rec.ModFlag;
    }
    FModified = modified;
}

void TPgcParaList::UndoRecord(TPgcParaListObserver* Editor, const TUndoRecView& Rec)
{
    switch (Rec.UndoType) {
    case utInsert:
        DeleteText(Editor, Rec.PNum, Rec.PPos, Rec.DSize);
        break;
    case utInsPara:
        assert(NthPara(Rec.PNum) == TUndoNode::NodeOf(Rec.Data));
        DeletePara(Editor, Rec.PNum);
        break;
    case utPlacePara:
        assert(NthPara(Rec.PNum + 1) == TUndoNode::NodeOf(Rec.Data));
        DeletePara(Editor, Rec.PNum + 1);
        break;
    case utDelete:
        // An empty deletion gives nothing back; inserting nothing past the
        // end would pad the paragraph with blanks it never had.
        if (Rec.DSize > 0) {
            InsertTextPrim(Editor, Rec.PNum, Rec.PPos, Rec.Data, Rec.DSize);
        }
        break;
    case utDelPara:
        InsertParaNode(Editor, Rec.PNum, TUndoNode::NodeOf(Rec.Data));
        break;
    case utReplace: {
        const TReplaceTexts texts = SplitReplaceRec(Rec);
        ReplaceText(Editor, Rec.PNum, Rec.PPos, texts.NewLen, texts.Old, texts.OldLen);
        break;
    }
    case utSavePos:
        break;
    }
}

void TPgcParaList::Redo(TPgcParaListObserver* Editor, std::int32_t& P, std::int32_t& Pos)
{
    TPgcUndoBuffer& buffer = *FUndoBuffer;
    if (buffer.Redos() == 0) {
        return;
    }
    TScopedFlag undoRuns(FInUndo, true);
    const std::uint8_t link = buffer.PeekRedoLink();
    while (buffer.Redos() > 0 && buffer.PeekRedoLink() == link) {
        const TUndoRecView rec = buffer.GetRedo(FModified);
        P = rec.PNum;
        Pos = rec.PPos;
        RedoRecord(Editor, rec, P, Pos);
    }
}

void TPgcParaList::RedoRecord(TPgcParaListObserver* Editor, const TUndoRecView& Rec, std::int32_t& P,
    std::int32_t& Pos)
{
    switch (Rec.UndoType) {
    case utInsert:
        InsertTextPrim(Editor, P, Pos, Rec.Data, Rec.DSize);
        Pos += Rec.DSize;
        break;
    case utInsPara:
        InsertParaNode(Editor, P, TUndoNode::NodeOf(Rec.Data));
        ++P;
        Pos = 1;
        break;
    case utPlacePara:
        PlaceParaNode(Editor, P, TUndoNode::NodeOf(Rec.Data));
        ++P;
        Pos = 1;
        break;
    case utDelete:
        DeleteText(Editor, P, Pos, Rec.DSize);
        break;
    case utDelPara:
        DeletePara(Editor, P);
        break;
    case utReplace: {
        const TReplaceTexts texts = SplitReplaceRec(Rec);
        ReplaceText(Editor, P, Pos, texts.OldLen, texts.New, texts.NewLen);
        Pos += texts.NewLen;
        break;
    }
    case utSavePos:
        break;
    }
}

// ---- markers ----

void TPgcParaList::SetMarker(std::uint8_t N, std::int32_t Para, std::int32_t Pos)
{
    if (N < FMarkers.size()) {
        FMarkers[N] = {Para, Pos};
    }
}

void TPgcParaList::SetMarkerAt(std::uint8_t N, std::int32_t Line, std::int32_t Col)
{
    if (N < FMarkers.size()) {
        std::int32_t linePos = 0;
        const std::int32_t para = FindParaByLine(Line, linePos);
        FMarkers[N] = {para, Col + linePos};
    }
}

void TPgcParaList::FixMarkerInsertedText(TMarker& M, std::int32_t N, std::int32_t Pos, std::int32_t Count)
{
    if (M.Para == N && M.Pos >= Pos) {
        M.Pos += Count;
    }
}

void TPgcParaList::FixMarkerDeletedText(TMarker& M, std::int32_t N, std::int32_t Pos, std::int32_t Count)
{
    if (M.Para != N || M.Pos < Pos) {
        return;
    }
    if (M.Pos < Pos + Count) {
        M = {};
    } else {
        M.Pos -= Count;
    }
}

void TPgcParaList::FixMarkerInsertedPara(TMarker& M, std::int32_t N, std::int32_t Pos, std::int32_t Indent)
{
    if (M.Para > N) {
        ++M.Para;
    } else if (M.Para == N && M.Pos >= Pos) {
        M = {N + 1, Indent + M.Pos - Pos + 1};
    }
}

void TPgcParaList::FixMarkerDeletedPara(TMarker& M, std::int32_t N)
{
    if (M.Para == N) {
        M = {};
    } else if (M.Para > N) {
        --M.Para;
    }
}

void TPgcParaList::FixMarkerJoinedParas(TMarker& M, std::int32_t N, std::int32_t Pos)
{
    if (M.Para == N + 1) {
        M = {N, M.Pos + Pos - 1};
    } else if (M.Para > N + 1) {
        --M.Para;
    }
}

void TPgcParaList::FixMarkDeletedText(TMarker& M, std::int32_t N, std::int32_t Pos, std::int32_t Count)
{
    if (M.Para != N || M.Pos < Pos) {
        return;
    }
    M.Pos = M.Pos < Pos + Count ? Pos : M.Pos - Count;
}

void TPgcParaList::FixMarkDeletedPara(TMarker& M, std::int32_t N) const
{
    if (M.Para == N) {
        M = {std::min(N, FParaCount), 1};
    } else if (M.Para > N) {
        --M.Para;
    }
}

template <class FixOne, class Notify>
void TPgcParaList::FixAllMarkers(TPgcParaListObserver* Editor, FixOne FixMarker, Notify NotifyEditor)
{
    if (!FFixMarkers) {
        return;
    }
    for (TMarker& marker : FMarkers) {
        FixMarker(marker);
    }
    if (Editor != nullptr) {
        NotifyEditor(*Editor);
    }
}

void TPgcParaList::FixMarkersInsertedText(TPgcParaListObserver* Editor, std::int32_t N, std::int32_t Pos,
    std::int32_t Count)
{
    FixAllMarkers(
        Editor, [&](TMarker& M) { FixMarkerInsertedText(M, N, Pos, Count); },
        [&](TPgcParaListObserver& E) { E.edUpdateOnInsertedText(N, Pos, Count); });
}

void TPgcParaList::FixMarkersDeletedText(TPgcParaListObserver* Editor, std::int32_t N, std::int32_t Pos,
    std::int32_t Count)
{
    FixAllMarkers(
        Editor, [&](TMarker& M) { FixMarkerDeletedText(M, N, Pos, Count); },
        [&](TPgcParaListObserver& E) { E.edUpdateOnDeletedText(N, Pos, Count); });
}

void TPgcParaList::FixMarkersInsertedPara(TPgcParaListObserver* Editor, std::int32_t N, std::int32_t Pos,
    std::int32_t Indent)
{
    FixAllMarkers(
        Editor, [&](TMarker& M) { FixMarkerInsertedPara(M, N, Pos, Indent); },
        [&](TPgcParaListObserver& E) { E.edUpdateOnInsertedPara(N, Pos, Indent); });
}

void TPgcParaList::FixMarkersDeletedPara(TPgcParaListObserver* Editor, std::int32_t N)
{
    FixAllMarkers(
        Editor, [&](TMarker& M) { FixMarkerDeletedPara(M, N); },
        [&](TPgcParaListObserver& E) { E.edUpdateOnDeletedPara(N); });
}

void TPgcParaList::FixMarkersJoinedParas(TPgcParaListObserver* Editor, std::int32_t N, std::int32_t Pos)
{
    FixAllMarkers(
        Editor, [&](TMarker& M) { FixMarkerJoinedParas(M, N, Pos); },
        [&](TPgcParaListObserver& E) { E.edUpdateOnJoinedParas(N, Pos); });
}

} // namespace qel
