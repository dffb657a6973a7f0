// The four-byte record format of the QEL629, QEL629c and QEL57 pages, and the
// six-byte limit packets that may precede the records of the QEL629 and QEL57 pages.
#pragma once

#include "card/page_reader.h"

#include <cstdint>

namespace qel {

// Ticks of one time unit of these pages (1/512 s).
constexpr std::int64_t FOUR_BYTE_TIME_UNIT = 2000;

// One four-byte record b0 b1 b2 b3 in page order: a value of a channel with a
// short time step, a longer time step (control kind 0), or the end of data.
// The accessors read the QEL629 and QEL57 layout (four-bit channel in b1
// bits 7-4); the QEL629c pages share the value and the control record's step.
struct TFourByteRecord {
    static constexpr std::int32_t Size = 4;

    std::uint8_t b0 = 0, b1 = 0, b2 = 0, b3 = 0;

    // The caller tested that four bytes fit; past the end the record is all 0.
    static TFourByteRecord Read(TPageReader& in)
    {
        const std::uint8_t* at = in.Take(Size);
        return at != nullptr ? At(at) : TFourByteRecord{};
    }
    // The record of four bytes at at.
    static TFourByteRecord At(const std::uint8_t* at) { return {at[0], at[1], at[2], at[3]}; }
    std::uint8_t Channel() const { return b1 >> 4; }           // 15: a control record
    bool IsControl() const { return Channel() == 15; }
    std::uint8_t ControlKind() const { return b1 & 0x0F; }    // 0: time step; else end of data
    bool LongStep() const { return (b1 & 0x08) != 0; }        // the delta is shifted left
    // The 11-bit two's-complement step of a value record, -1024 ... 1023 units.
    std::int32_t Delta() const
    {
        const std::int32_t bits = (b1 & 0x07) << 8 | b0;
        return bits >= 0x400 ? bits - 0x800 : bits;
    }
    std::int16_t Value() const { return static_cast<std::int16_t>(b3 << 8 | b2); }
    // The signed 32-bit step of a control record, units (its low 8 bits are 0).
    std::int32_t TimeStep() const
    {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(b0) << 24 | static_cast<std::uint32_t>(b3) << 16 |
                                         static_cast<std::uint32_t>(b2) << 8);
    }
};

// A limit packet p0 ... p5: p0 bits 3-0 the channel index, p1 bits 5-3 and
// 2-0 the two conditions (the AL and RL of SetLimit), p2-p3 and p4-p5 the
// two raw limits, signed 16-bit little endian.
struct TLimitPacket {
    static constexpr std::int32_t Size = 6;

    std::uint8_t Channel = 0;
    std::uint8_t AL = 0;
    std::uint8_t RL = 0;
    std::int16_t Raw1 = 0;
    std::int16_t Raw2 = 0;

    // The caller tested that the packet fits.
    static TLimitPacket Read(TPageReader& in)
    {
        TLimitPacket packet;
        packet.Channel = in.Byte() & 0x0F;
        const std::uint8_t conditions = in.Byte();
        packet.AL = (conditions >> 3) & 0x07;
        packet.RL = conditions & 0x07;
        packet.Raw1 = in.SmallInt();
        packet.Raw2 = in.SmallInt();
        return packet;
    }
};

// Limit packets after the page header: none without header bit 0, else 15
// on a start page (bit 5) and 1 on any other page.
constexpr int LimitPacketCount(std::uint8_t flags)
{
    if ((flags & 0x01) == 0) {
        return 0;
    }
    return (flags & 0x20) != 0 ? 15 : 1;
}

} // namespace qel
