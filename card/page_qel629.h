// Page decoders of the QEL629 loggers (model code 0x6601 below PC version
// 6.00): pages of four-byte records whose times count units of 2000 ticks.
#pragma once

#include "card/page_base.h"
#include "card/page_reader.h"

#include <cstdint>

namespace qel {

class TQEL629;

// Ticks of one time unit of these pages (1/512 s).
constexpr std::int64_t FOUR_BYTE_TIME_UNIT = 2000;

// One four-byte record b0 b1 b2 b3 in page order: a value of a channel with a
// short time step, a longer time step (control kind 0), or the end of data.
struct TFourByteRecord {
    std::uint8_t b0 = 0, b1 = 0, b2 = 0, b3 = 0;

    static TFourByteRecord Read(TPageReader& in)
    {
        TFourByteRecord record;
        record.b0 = in.Byte();
        record.b1 = in.Byte();
        record.b2 = in.Byte();
        record.b3 = in.Byte();
        return record;
    }
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

// PC versions below 3.06. Every time it reads is twice the base's. Records
// from byte 8; the page's first record is skipped when it is an end mark or
// carries a step.
class TPage_V1 : public TPage {
public:
    static constexpr const char* ClassName = "TPage_V1";
    std::int64_t GetTime(bool bPageTime) override;
    void ReadData() override;
};

// PC versions 3.06 to 5.xx: limit packets may follow the header, then two
// bytes are skipped before the records.
class TPage_V3 : public TPage_V1 {
public:
    static constexpr const char* ClassName = "TPage_V3";
    void ReadData() override;
    // 0 without header bit 0; otherwise 15 on a start page, else 1.
    int GetLimitPackets();

private:
    void ReadLimitPacket(TPageReader& in, TQEL629& logger);
};

namespace page_qel629 {
// TPage_V1 below 0x0306, TPage_V3 from 0x0306.
const TPageClass& SelectPageClass(std::uint16_t Version);
} // namespace page_qel629

} // namespace qel
