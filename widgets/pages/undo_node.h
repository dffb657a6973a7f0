// One record of the editor's undo history as it lies in the undo block: a
// packed 14-byte header followed by its data, read and written in place.
#pragma once

#include <cstdint>

namespace qel {

class TParaNode;

// Kinds of undo records and what their data hold.
enum TUndoType : std::uint8_t {
    utSavePos = 0,     // nothing: only the position, to restore the caret
    utInsert = 1,      // the inserted units
    utInsPara = 2,     // the inserted paragraph node
    utPlacePara = 3,   // the paragraph node placed after paragraph PNum
    utDelete = 4,      // the deleted units
    utDelPara = 5,     // the deleted paragraph node
    utReplace = 6,     // the old units, a zero, the new units, a zero
};

// A record read out of the block. Data stays valid until the next push.
struct TUndoRecView {
    TUndoType UndoType = utSavePos;
    std::uint8_t LinkNum = 0;
    bool ModFlag = false;           // the list's Modified flag before the change
    std::int32_t PNum = 0;          // paragraph of the change
    std::int32_t PPos = 0;          // 1-based position in the paragraph
    const char16_t* Data = nullptr;
    std::uint16_t DSize = 0;        // 16-bit units of Data
};

// Record layout, little endian, no padding:
//   0 PNum (int32), 4 PPos (int32), 8 DSize (uint16, data units),
//   10 PrevSize (uint16, bytes of the record before it; 0 for the first),
//   12 Flags (bits 0-6 kind, bit 7 modified flag), 13 LinkNum, 14 Data.
// A node reference takes DSize 8: the node pointer in the first 8 of 16 bytes.
// Records start at even offsets of the block, so Data is aligned for char16_t.
class TUndoNode {
public:
    static constexpr std::uint32_t HeaderSize = 14;
    static constexpr std::uint16_t NodeRefUnits = 8;

    static void Init(unsigned char* PUR, TUndoType UT, std::uint8_t Link, bool MF, std::uint16_t PSize,
        std::int32_t P, std::int32_t Pos, const char16_t* D, std::uint16_t DLen);
    static void InitReplace(unsigned char* PUR, std::uint8_t Link, bool MF, std::uint16_t PSize, std::int32_t P,
        std::int32_t Pos, const char16_t* D, std::uint16_t DLen, const char16_t* R, std::uint16_t RLen);

    // A record owns the paragraph node it holds while that node is out of the
    // list: a deleted paragraph's record while it can be undone, an inserted or
    // placed paragraph's record while it can be redone. Done frees it then.
    static void Done(unsigned char* PUR, bool IsRedo);

    static TUndoType GetUndoType(const unsigned char* PUR);
    static bool ModFlag(const unsigned char* PUR);
    static void SetModFlag(unsigned char* PUR, bool Value);
    static std::uint8_t LinkNum(const unsigned char* PUR);
    static std::int32_t PNum(const unsigned char* PUR);
    static std::int32_t PPos(const unsigned char* PUR);
    static void SetPPos(unsigned char* PUR, std::int32_t Value);
    static std::uint16_t DSize(const unsigned char* PUR);
    static void SetDSize(unsigned char* PUR, std::uint16_t Value);
    static std::uint16_t PrevSize(const unsigned char* PUR);
    static void SetPrevSize(unsigned char* PUR, std::uint16_t Value);
    static char16_t* Data(unsigned char* PUR);
    static const char16_t* Data(const unsigned char* PUR);
    // Bytes the record occupies.
    static std::uint32_t RecSize(const unsigned char* PUR) { return HeaderSize + 2u * DSize(PUR); }
    static TUndoRecView View(const unsigned char* PUR);

    // The data of a node record, and the node a record's data hold.
    static void NodeRef(const TParaNode* Node, char16_t (&Units)[NodeRefUnits]);
    static TParaNode* NodeOf(const char16_t* Data);
};

} // namespace qel
