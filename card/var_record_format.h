// The variable-length record format of the configurable logger generations:
// record kinds, the value and time-step fields, and the record loop their decoders share.
#pragma once

#include "card/buffer_list.h"
#include "card/page_reader.h"

#include <bit>
#include <cstdint>

namespace qel::var_record {

// A record begins with a tag byte; its top bits give the kind:
//
//   0xxxxxxx  value       4 bytes: channel = tag bits 6-0; bytes 1, 2, 3 are
//                         bits 8-15, 16-23, 24-31 of an IEEE single (bits 0-7 zero)
//   100sxxxx  short step  2 bytes: 13-bit step = (tag bits 4-0) × 256 + byte 1
//   101sxxxx  long step   4 bytes: 29-bit step = (tag bits 4-0) × 2^24 +
//                         byte 1 × 2^16 + byte 3 × 2^8 + byte 2 (note the order)
//   110xxxxx  model block layout of the family (FIFO, radio or SE page record)
//   111xxxxx  end of data 1 byte
//
// s, tag bit 4, is the sign of a two's-complement step, except in the QEL51
// pages, whose steps are unsigned. A step counts units of 1000 ticks.
enum class TRecordKind : std::uint8_t { Value, ShortStep, LongStep, ModelBlock, EndOfData };

inline constexpr std::int64_t TICKS_PER_UNIT = 1000;
// A record is begun only when this many bytes remain, whatever its length;
// a longer model block must test its own length.
inline constexpr std::int32_t RECORD_ROOM = 4;

enum class TStepSign : std::uint8_t { Signed, Unsigned };

constexpr TRecordKind KindOf(std::uint8_t tag)
{
    switch (tag >> 5) {
    case 4:
        return TRecordKind::ShortStep;
    case 5:
        return TRecordKind::LongStep;
    case 6:
        return TRecordKind::ModelBlock;
    case 7:
        return TRecordKind::EndOfData;
    default:
        return TRecordKind::Value;
    }
}

// The channel of a value record.
constexpr std::uint8_t ValueChannel(std::uint8_t tag)
{
    return tag & 0x7F;
}

constexpr std::int32_t ShortStep(std::uint8_t tag, std::uint8_t b1, TStepSign sign)
{
    const std::int32_t bits = (tag & 0x1F) << 8 | b1;
    return sign == TStepSign::Signed && (tag & 0x10) != 0 ? bits - (1 << 13) : bits;
}

constexpr std::int32_t LongStep(std::uint8_t tag, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3, TStepSign sign)
{
    const std::int32_t bits = (tag & 0x1F) << 24 | b1 << 16 | b3 << 8 | b2;
    return sign == TStepSign::Signed && (tag & 0x10) != 0 ? bits - (1 << 29) : bits;
}

// The single whose bits 8-31 are the three bytes (lowest first).
inline float ThreeByteSingle(std::uint8_t b1, std::uint8_t b2, std::uint8_t b3)
{
    return std::bit_cast<float>(std::uint32_t{b3} << 24 | std::uint32_t{b2} << 16 | std::uint32_t{b1} << 8);
}

// Reads such a single at the position (three bytes; the caller tested that they fit).
inline float ReadThreeByteSingle(TPageReader& in)
{
    const std::uint8_t b1 = in.Byte();
    const std::uint8_t b2 = in.Byte();
    return ThreeByteSingle(b1, b2, in.Byte());
}

// Value handler of the families that record value records as samples:
// ReadBufferList.addSingleData (channel, time, value).
struct TToReadBuffer {
    void operator()(std::uint8_t channel, std::int64_t time, float value) const
    {
        ReadBufferList.addSingleData(channel, time, value);
    }
};

// Value handler of the families whose value records give no sample.
struct TDropValue {
    void operator()(std::uint8_t, std::int64_t, float) const {}
};

// Model-block handler of the families without a model block: it ends the page.
struct TEndPage {
    bool operator()(std::uint8_t, TPageReader&, std::int64_t) const { return false; }
};

// The record loop. From the reader's position, while at least RECORD_ROOM
// bytes remain: a value record calls onValue (channel, time, value); a step
// adds step × 1000 ticks to the running time (64-bit); a model block calls
// onModelBlock (tag, in, time) with the reader after the tag, which reads the
// rest of its block and answers whether the page goes on (a block that does
// not fit must answer False, leaving the page's bytes unread); end of data
// ends the page. time is the page's running time; it starts at the header time.
//
// The handlers are called directly (no virtual call per record).
template <class TOnValue, class TOnModelBlock>
void ReadRecords(TPageReader& in, std::int64_t time, TStepSign sign, TOnValue&& onValue, TOnModelBlock&& onModelBlock)
{
    while (in.Fits(RECORD_ROOM)) {
        const std::uint8_t tag = in.Byte();
        switch (KindOf(tag)) {
        case TRecordKind::Value: {
            const float value = ReadThreeByteSingle(in);
            onValue(ValueChannel(tag), time, value);
            break;
        }
        case TRecordKind::ShortStep:
            time += std::int64_t{ShortStep(tag, in.Byte(), sign)} * TICKS_PER_UNIT;
            break;
        case TRecordKind::LongStep: {
            const std::uint8_t b1 = in.Byte();
            const std::uint8_t b2 = in.Byte();
            const std::uint8_t b3 = in.Byte();
            time += std::int64_t{LongStep(tag, b1, b2, b3, sign)} * TICKS_PER_UNIT;
            break;
        }
        case TRecordKind::ModelBlock:
            if (!onModelBlock(tag, in, time)) {
                return;
            }
            break;
        case TRecordKind::EndOfData:
            return;
        }
    }
}

} // namespace qel::var_record
