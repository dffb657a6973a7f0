// The editor's undo history in one packed block (see undo_buffer.h).
#include "widgets/pages/undo_buffer.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <new>

namespace qel {

namespace {

std::uint16_t ReplaceOldLength(const char16_t* Data)
{
    std::uint16_t length = 0;
    while (Data[length] != 0) {
        ++length;
    }
    return length;
}

} // namespace

TPgcUndoBuffer::TPgcUndoBuffer(std::uint16_t Size)
{
    std::uint32_t size = Size;
    while (size > 0) {
        FBuffer.reset(new (std::nothrow) unsigned char[size]());
        if (FBuffer) {
            break;
        }
        size = size > TUndoNode::HeaderSize ? size - size / 2 : 0;
    }
    FBufSize = static_cast<std::uint16_t>(size);
    FBufAvail = FBufSize;
}

TPgcUndoBuffer::~TPgcUndoBuffer()
{
    if (FBufSize != 0) {
        Flush();
    }
}

std::uint32_t TPgcUndoBuffer::RedoStart() const
{
    return FUndos == 0 ? 0 : FLast + TUndoNode::RecSize(Rec(FLast));
}

std::uint8_t TPgcUndoBuffer::LastLink() const
{
    return FBufSize == 0 ? 0 : TUndoNode::LinkNum(Rec(FLast));
}

// A new operation's link number; it must differ from the newest undo
// record's, which after undos need not be the number used last.
void TPgcUndoBuffer::NextLink()
{
    ++FCurLink;
    if (FUndos > 0 && FCurLink == LastLink()) {
        ++FCurLink;
    }
}

// Redo records are replaced by the next record, so a node that only a redo
// record holds is freed with it.
void TPgcUndoBuffer::DropRedos()
{
    std::uint32_t offset = RedoStart();
    for (std::uint16_t i = 0; i < FRedos; ++i) {
        unsigned char* rec = Rec(offset);
        offset += TUndoNode::RecSize(rec);
        TUndoNode::Done(rec, true);
    }
    FRedos = 0;
}

bool TPgcUndoBuffer::Push(TUndoType UT, bool MF, std::int32_t P, std::int32_t Pos, const char16_t* D,
    std::uint16_t DLen)
{
    bool before = false;
    if (MergesIntoLast(UT, before, P, Pos, DLen)) {
        return before ? Prepend(D, DLen) : Append(D, DLen);
    }
    const std::uint32_t bytes = TUndoNode::HeaderSize + 2u * DLen;
    if (!CheckSize(bytes)) {
        return false;
    }
    TUndoNode::Init(Rec(RedoStart()), UT, FCurLink, MF, LastSize(), P, Pos, D, DLen);
    AddRecord(bytes);
    return true;
}

bool TPgcUndoBuffer::PushReplace(bool MF, std::int32_t P, std::int32_t Pos, const char16_t* D, std::uint16_t DLen,
    const char16_t* R, std::uint16_t RLen)
{
    bool before = false;
    if (MergesIntoLast(utReplace, before, P, Pos, DLen)) {
        return AppendReplace(D, DLen, R, RLen);
    }
    const std::uint32_t bytes = TUndoNode::HeaderSize + 2u * (DLen + RLen + 2u);
    if (!CheckSize(bytes)) {
        return false;
    }
    TUndoNode::InitReplace(Rec(RedoStart()), FCurLink, MF, LastSize(), P, Pos, D, DLen, R, RLen);
    AddRecord(bytes);
    return true;
}

// Drops the redo records. Outside a compound operation the change either
// merges into the newest record (True) or starts a new link number.
bool TPgcUndoBuffer::MergesIntoLast(TUndoType UT, bool& Before, std::int32_t P, std::int32_t Pos,
    std::uint16_t DLen)
{
    DropRedos();
    if (FLinking) {
        return false;
    }
    if (SameOperation(UT, Before, P, Pos, DLen)) {
        return true;
    }
    NextLink();
    return false;
}

std::uint16_t TPgcUndoBuffer::LastSize() const
{
    return static_cast<std::uint16_t>(FUndos == 0 ? 0 : TUndoNode::RecSize(Rec(FLast)));
}

// The record just written after Last becomes the newest undo record.
void TPgcUndoBuffer::AddRecord(std::uint32_t Bytes)
{
    FLast = RedoStart();
    ++FUndos;
    FBufAvail = static_cast<std::uint16_t>(FBufAvail - Bytes);
}

// A change continues the newest record when it types on after its insertion,
// deletes on at its position or backwards into it, or overwrites on right
// after its new text. (The new text's length counts there, not the old one's:
// a replacement that changed the length leaves the next position after the
// new text, and only then does the merged record undo to the old text.)
bool TPgcUndoBuffer::SameOperation(TUndoType UT, bool& Before, std::int32_t P, std::int32_t Pos,
    std::uint16_t DLen) const
{
    Before = false;
    if (FUndos == 0) {
        return false;
    }
    const unsigned char* last = Rec(FLast);
    if (TUndoNode::GetUndoType(last) != UT || TUndoNode::PNum(last) != P) {
        return false;
    }
    const std::int32_t pos = TUndoNode::PPos(last);
    const std::int32_t size = TUndoNode::DSize(last);
    switch (UT) {
    case utInsert:
        return Pos == pos + size;
    case utDelete:
        if (Pos == pos) {
            return true;
        }
        Before = Pos + DLen == pos;
        return Before;
    case utReplace:
        return Pos == pos + size - ReplaceOldLength(TUndoNode::Data(last)) - 2;
    default:
        return false;
    }
}

// Room for Units more units in the newest record, taken from BufAvail; the
// record, or none when refused or when no undo record remains.
unsigned char* TPgcUndoBuffer::GrowLast(std::uint32_t Units)
{
    if (!CheckSize(2u * Units) || FUndos == 0) {
        return nullptr;
    }
    FBufAvail = static_cast<std::uint16_t>(FBufAvail - 2u * Units);
    return Rec(FLast);
}

bool TPgcUndoBuffer::Append(const char16_t* D, std::uint16_t DLen)
{
    unsigned char* last = GrowLast(DLen);
    if (last == nullptr) {
        return false;
    }
    const std::uint16_t size = TUndoNode::DSize(last);
    std::copy_n(D, DLen, TUndoNode::Data(last) + size);
    TUndoNode::SetDSize(last, static_cast<std::uint16_t>(size + DLen));
    return true;
}

bool TPgcUndoBuffer::Prepend(const char16_t* D, std::uint16_t DLen)
{
    unsigned char* last = GrowLast(DLen);
    if (last == nullptr) {
        return false;
    }
    const std::uint16_t size = TUndoNode::DSize(last);
    char16_t* data = TUndoNode::Data(last);
    std::copy_backward(data, data + size, data + size + DLen);
    std::copy_n(D, DLen, data);
    TUndoNode::SetPPos(last, TUndoNode::PPos(last) - DLen);
    TUndoNode::SetDSize(last, static_cast<std::uint16_t>(size + DLen));
    return true;
}

bool TPgcUndoBuffer::AppendReplace(const char16_t* D, std::uint16_t DLen, const char16_t* R, std::uint16_t RLen)
{
    unsigned char* last = GrowLast(static_cast<std::uint32_t>(DLen) + RLen);
    if (last == nullptr) {
        return false;
    }
    const std::uint16_t size = TUndoNode::DSize(last);
    char16_t* data = TUndoNode::Data(last);
    const std::uint16_t oldLength = ReplaceOldLength(data);
    const auto newLength = static_cast<std::uint16_t>(size - oldLength - 2);
    // old + D, zero, new + R, zero
    char16_t* newText = data + oldLength + 1;
    std::copy_backward(newText, newText + newLength, newText + newLength + DLen);
    std::copy_n(D, DLen, data + oldLength);
    data[oldLength + DLen] = 0;
    char16_t* newEnd = newText + DLen + newLength;
    std::copy_n(R, RLen, newEnd);
    newEnd[RLen] = 0;
    TUndoNode::SetDSize(last, static_cast<std::uint16_t>(size + DLen + RLen));
    return true;
}

// Room is made by discarding the oldest operations, a whole link group at a
// time, until at least a sixteenth of the block (or Bytes) is free, so that a
// run of small pushes into a full block does not compact it every time.
bool TPgcUndoBuffer::CheckSize(std::uint32_t Bytes)
{
    if (FError) {
        return false;
    }
    if (Bytes > FBufSize) {
        Flush();
        FError = FLinking;
        return false;
    }
    if (Bytes <= FBufAvail) {
        return true;
    }
    assert(FRedos == 0);
    const std::uint32_t target = std::max<std::uint32_t>(FBufSize / 16u, Bytes);
    std::uint32_t offset = 0;
    std::uint16_t discarded = 0;
    while (discarded < FUndos && FBufAvail < target) {
        const std::uint8_t link = TUndoNode::LinkNum(Rec(offset));
        while (discarded < FUndos && TUndoNode::LinkNum(Rec(offset)) == link) {
            unsigned char* rec = Rec(offset);
            const std::uint32_t size = TUndoNode::RecSize(rec);
            TUndoNode::Done(rec, false);
            FBufAvail = static_cast<std::uint16_t>(FBufAvail + size);
            offset += size;
            ++discarded;
        }
    }
    if (discarded == FUndos) {
        FUndos = 0;
        Flush();
        FError = FLinking;
        return !FLinking;
    }
    std::memmove(Rec(0), Rec(offset), static_cast<std::size_t>(FBufSize - FBufAvail));
    TUndoNode::SetPrevSize(Rec(0), 0);
    FUndos = static_cast<std::uint16_t>(FUndos - discarded);
    FLast = 0;
    for (std::uint16_t i = 1; i < FUndos; ++i) {
        FLast += TUndoNode::RecSize(Rec(FLast));
    }
    return true;
}

TUndoRecView TPgcUndoBuffer::GetUndo()
{
    assert(FUndos > 0);
    const unsigned char* rec = Rec(FLast);
    const TUndoRecView view = TUndoNode::View(rec);
    --FUndos;
    ++FRedos;
    FBufAvail = static_cast<std::uint16_t>(FBufAvail + TUndoNode::RecSize(rec));
    FLast -= TUndoNode::PrevSize(rec);
    return view;
}

TUndoRecView TPgcUndoBuffer::GetRedo(bool MF)
{
    assert(FRedos > 0);
    const std::uint32_t at = RedoStart();
    unsigned char* rec = Rec(at);
    TUndoNode::SetModFlag(rec, MF);
    --FRedos;
    ++FUndos;
    FBufAvail = static_cast<std::uint16_t>(FBufAvail - TUndoNode::RecSize(rec));
    FLast = at;
    return TUndoNode::View(rec);
}

std::uint8_t TPgcUndoBuffer::PeekUndoLink() const
{
    return FUndos > 0 ? LastLink() : static_cast<std::uint8_t>(~LastLink());
}

std::uint8_t TPgcUndoBuffer::PeekRedoLink() const
{
    return FRedos > 0 ? TUndoNode::LinkNum(Rec(RedoStart())) : static_cast<std::uint8_t>(~LastLink());
}

bool TPgcUndoBuffer::BeginComplexOp()
{
    const bool saveLinking = FLinking;
    if (!FLinking) {
        FLinking = true;
        NextLink();
    }
    return saveLinking;
}

void TPgcUndoBuffer::EndComplexOp(bool SaveLinking)
{
    FLinking = SaveLinking;
    if (!SaveLinking) {
        FError = false;
    }
}

void TPgcUndoBuffer::Flush()
{
    DropRedos();
    std::uint32_t offset = 0;
    for (std::uint16_t i = 0; i < FUndos; ++i) {
        unsigned char* rec = Rec(offset);
        offset += TUndoNode::RecSize(rec);
        TUndoNode::Done(rec, false);
    }
    FBufAvail = FBufSize;
    FUndos = 0;
    FLast = 0;
    FCurLink = 0;
}

void TPgcUndoBuffer::SetModified()
{
    std::uint32_t offset = 0;
    for (std::uint32_t i = 0; i < static_cast<std::uint32_t>(FUndos) + FRedos; ++i) {
        unsigned char* rec = Rec(offset);
        TUndoNode::SetModFlag(rec, true);
        offset += TUndoNode::RecSize(rec);
    }
}

TUndoRecView TPgcUndoBuffer::NthRec(std::uint16_t N) const
{
    assert(N >= 1 && N <= FUndos + FRedos);
    std::uint32_t offset = 0;
    for (std::uint16_t i = 1; i < N; ++i) {
        offset += TUndoNode::RecSize(Rec(offset));
    }
    return TUndoNode::View(Rec(offset));
}

} // namespace qel
