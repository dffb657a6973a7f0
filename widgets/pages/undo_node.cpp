// Reading and writing single undo records in place (see undo_node.h).
#include "widgets/pages/undo_node.h"

#include "widgets/pages/para_node.h"

#include <cstring>

namespace qel {

namespace {

constexpr std::uint32_t OffPNum = 0;
constexpr std::uint32_t OffPPos = 4;
constexpr std::uint32_t OffDSize = 8;
constexpr std::uint32_t OffPrevSize = 10;
constexpr std::uint32_t OffFlags = 12;
constexpr std::uint32_t OffLinkNum = 13;
constexpr std::uint8_t ModifiedBit = 0x80;

template <class T>
T Load(const unsigned char* at)
{
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

template <class T>
void Store(unsigned char* at, T value)
{
    std::memcpy(at, &value, sizeof value);
}

void InitHeader(unsigned char* PUR, TUndoType UT, std::uint8_t Link, bool MF, std::uint16_t PSize, std::int32_t P,
    std::int32_t Pos, std::uint16_t DSize)
{
    Store(PUR + OffPNum, P);
    Store(PUR + OffPPos, Pos);
    Store(PUR + OffDSize, DSize);
    Store(PUR + OffPrevSize, PSize);
    PUR[OffFlags] = static_cast<std::uint8_t>(UT | (MF ? ModifiedBit : 0));
    PUR[OffLinkNum] = Link;
}

void CopyUnits(unsigned char* at, const char16_t* units, std::uint16_t count)
{
    if (count > 0) {
        std::memcpy(at, units, count * sizeof(char16_t));
    }
}

} // namespace

void TUndoNode::Init(unsigned char* PUR, TUndoType UT, std::uint8_t Link, bool MF, std::uint16_t PSize, std::int32_t P,
    std::int32_t Pos, const char16_t* D, std::uint16_t DLen)
{
    InitHeader(PUR, UT, Link, MF, PSize, P, Pos, DLen);
    CopyUnits(PUR + HeaderSize, D, DLen);
}

void TUndoNode::InitReplace(unsigned char* PUR, std::uint8_t Link, bool MF, std::uint16_t PSize, std::int32_t P,
    std::int32_t Pos, const char16_t* D, std::uint16_t DLen, const char16_t* R, std::uint16_t RLen)
{
    InitHeader(PUR, utReplace, Link, MF, PSize, P, Pos, static_cast<std::uint16_t>(DLen + RLen + 2));
    char16_t* data = Data(PUR);
    CopyUnits(PUR + HeaderSize, D, DLen);
    data[DLen] = 0;
    CopyUnits(PUR + HeaderSize + 2u * (DLen + 1u), R, RLen);
    data[DLen + 1 + RLen] = 0;
}

void TUndoNode::Done(unsigned char* PUR, bool IsRedo)
{
    const TUndoType kind = GetUndoType(PUR);
    const bool ownsNode = IsRedo ? kind == utInsPara || kind == utPlacePara : kind == utDelPara;
    if (ownsNode) {
        delete NodeOf(Data(PUR));
    }
}

TUndoType TUndoNode::GetUndoType(const unsigned char* PUR)
{
    return static_cast<TUndoType>(PUR[OffFlags] & ~ModifiedBit);
}

bool TUndoNode::ModFlag(const unsigned char* PUR)
{
    return (PUR[OffFlags] & ModifiedBit) != 0;
}

void TUndoNode::SetModFlag(unsigned char* PUR, bool Value)
{
    PUR[OffFlags] = static_cast<std::uint8_t>((PUR[OffFlags] & ~ModifiedBit) | (Value ? ModifiedBit : 0));
}

std::uint8_t TUndoNode::LinkNum(const unsigned char* PUR)
{
    return PUR[OffLinkNum];
}

std::int32_t TUndoNode::PNum(const unsigned char* PUR)
{
    return Load<std::int32_t>(PUR + OffPNum);
}

std::int32_t TUndoNode::PPos(const unsigned char* PUR)
{
    return Load<std::int32_t>(PUR + OffPPos);
}

void TUndoNode::SetPPos(unsigned char* PUR, std::int32_t Value)
{
    Store(PUR + OffPPos, Value);
}

std::uint16_t TUndoNode::DSize(const unsigned char* PUR)
{
    return Load<std::uint16_t>(PUR + OffDSize);
}

void TUndoNode::SetDSize(unsigned char* PUR, std::uint16_t Value)
{
    Store(PUR + OffDSize, Value);
}

std::uint16_t TUndoNode::PrevSize(const unsigned char* PUR)
{
    return Load<std::uint16_t>(PUR + OffPrevSize);
}

void TUndoNode::SetPrevSize(unsigned char* PUR, std::uint16_t Value)
{
    Store(PUR + OffPrevSize, Value);
}

char16_t* TUndoNode::Data(unsigned char* PUR)
{
    return reinterpret_cast<char16_t*>(PUR + HeaderSize);
}

const char16_t* TUndoNode::Data(const unsigned char* PUR)
{
    return reinterpret_cast<const char16_t*>(PUR + HeaderSize);
}

TUndoRecView TUndoNode::View(const unsigned char* PUR)
{
    return {GetUndoType(PUR), LinkNum(PUR), ModFlag(PUR), PNum(PUR), PPos(PUR), Data(PUR), DSize(PUR)};
}

void TUndoNode::NodeRef(const TParaNode* Node, char16_t (&Units)[NodeRefUnits])
{
    static_assert(sizeof Node <= sizeof Units, "a node pointer fits the record's data");
    std::memset(Units, 0, sizeof Units);
    std::memcpy(Units, &Node, sizeof Node);
}

TParaNode* TUndoNode::NodeOf(const char16_t* Data)
{
    TParaNode* node = nullptr;
    std::memcpy(&node, Data, sizeof node);
    return node;
}

} // namespace qel
