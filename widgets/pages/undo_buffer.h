// The editor's undo history: variable-length records packed one after the
// other in one fixed block, typing merged into the newest record, compound
// operations linked by a shared number, the oldest operations dropped when full.
#pragma once

#include "widgets/pages/undo_node.h"

#include <cstdint>
#include <memory>

namespace qel {

// Block layout: the undo records first (oldest at the block start, Last the
// newest), then the redo records, the ones most recently undone, in the order
// they were pushed. BufAvail counts the bytes not taken by undo records:
// undoing a record gives its bytes back, redoing takes them again. Records of
// one operation share a link number that differs from the one before.
class TPgcUndoBuffer {
public:
    // Init: a block of Size bytes, or of less when that much cannot be had
    // (halved while above 14 bytes, else none).
    explicit TPgcUndoBuffer(std::uint16_t Size);
    ~TPgcUndoBuffer();
    TPgcUndoBuffer(const TPgcUndoBuffer&) = delete;
    TPgcUndoBuffer& operator=(const TPgcUndoBuffer&) = delete;

    // Records a change (MF: the list's Modified flag before it). Every push
    // drops the redo records first. Outside a compound operation a change that
    // continues the newest record is merged into it. False when nothing was
    // recorded: the buffer refused the record.
    bool Push(TUndoType UT, bool MF, std::int32_t P, std::int32_t Pos, const char16_t* D, std::uint16_t DLen);
    // Records a replacement of the DLen units D by the RLen units R.
    bool PushReplace(bool MF, std::int32_t P, std::int32_t Pos, const char16_t* D, std::uint16_t DLen,
        const char16_t* R, std::uint16_t RLen);

    // Takes the newest undo record. IN: Undos() > 0.
    TUndoRecView GetUndo();
    // Takes the oldest redo record, first storing MF (the list's present
    // Modified flag) in it. IN: Redos() > 0.
    TUndoRecView GetRedo(bool MF);
    // Link number of the record GetUndo / GetRedo would take; when there is
    // none, a number that differs from the newest undo record's.
    std::uint8_t PeekUndoLink() const;
    std::uint8_t PeekRedoLink() const;

    // Bracket a compound operation; they nest. BeginComplexOp returns the
    // value to hand to the matching EndComplexOp.
    bool BeginComplexOp();
    void EndComplexOp(bool SaveLinking);

    // Discards all records.
    void Flush();
    // Marks every record as made while the text was modified, so that undoing
    // back to the present state reports it as not modified.
    void SetModified();

    // The N-th record from the block start (1-based), undo and redo records alike.
    TUndoRecView NthRec(std::uint16_t N) const;

    std::uint16_t BufSize() const { return FBufSize; }
    std::uint16_t BufAvail() const { return FBufAvail; }
    std::uint16_t Undos() const { return FUndos; }
    std::uint16_t Redos() const { return FRedos; }
    std::uint8_t CurLink() const { return FCurLink; }
    bool Linking() const { return FLinking; }
    bool Error() const { return FError; }

private:
    unsigned char* Rec(std::uint32_t Offset) const { return FBuffer.get() + Offset; }
    // Offset of the first redo record.
    std::uint32_t RedoStart() const;
    std::uint8_t LastLink() const;
    std::uint16_t LastSize() const;
    void NextLink();
    void DropRedos();
    bool MergesIntoLast(TUndoType UT, bool& Before, std::int32_t P, std::int32_t Pos, std::uint16_t DLen);
    void AddRecord(std::uint32_t Bytes);
    // Makes room for Bytes more bytes; True when they may be written.
    bool CheckSize(std::uint32_t Bytes);
    bool SameOperation(TUndoType UT, bool& Before, std::int32_t P, std::int32_t Pos, std::uint16_t DLen) const;
    unsigned char* GrowLast(std::uint32_t Units);
    bool Append(const char16_t* D, std::uint16_t DLen);
    bool Prepend(const char16_t* D, std::uint16_t DLen);
    bool AppendReplace(const char16_t* D, std::uint16_t DLen, const char16_t* R, std::uint16_t RLen);

    std::unique_ptr<unsigned char[]> FBuffer;   // the record block; none when FBufSize is 0
    std::uint16_t FBufSize = 0;                 // bytes of the block
    std::uint16_t FBufAvail = 0;                // bytes not taken by undo records
    std::uint32_t FLast = 0;                    // offset of the newest undo record (0 when none)
    std::uint16_t FUndos = 0;                   // records that can be undone
    std::uint16_t FRedos = 0;                   // records after FLast that can be redone
    std::uint8_t FCurLink = 0;                  // link number of the present operation (wraps)
    bool FLinking = false;                      // inside a compound operation
    bool FError = false;                        // a record was refused inside the present compound operation
};

} // namespace qel
