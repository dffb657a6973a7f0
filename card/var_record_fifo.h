// FIFO records of the QEL624c and QEL51 pages: the model block that carries a
// value taken from the logger's FIFO, and the sample series it feeds.
#pragma once

#include "card/buffer_list.h"
#include "card/page_reader.h"
#include "card/var_record_format.h"

#include <cstdint>

namespace qel::var_record {

// Layout (10 bytes): tag 0xC0-0xDF (bits 4-0 not used), state, FIFO time
// (unsigned 32-bit little endian), FIFO channel, value (bits 8-31 of a single).
inline constexpr std::int32_t FIFO_RECORD_SIZE = 10;

struct TFifoRecord {
    std::uint8_t state = 0;
    std::uint32_t fifoTime = 0;
    std::uint8_t channel = 0;   // the FIFO channel c
    float value = 0.0f;
};

// Reads the rest of a FIFO record whose tag was read; False, reading nothing,
// when it does not fit in the page (the page then ends).
inline bool ReadFifoRecord(TPageReader& in, TFifoRecord& record)
{
    if (!in.Fits(FIFO_RECORD_SIZE - 1)) {
        return false;
    }
    record.state = in.Byte();
    record.fifoTime = in.LongWord();
    record.channel = in.Byte();
    record.value = ReadThreeByteSingle(in);
    return true;
}

// The two samples of a FIFO record at the page's running time, from the
// channel base on: state bits 3-0 zero give the value to base and the state
// to base + 1; any other state gives them to base + 2 and base + 3.
inline void AddFifoSamples(std::uint32_t base, std::int64_t time, const TFifoRecord& record)
{
    const std::uint32_t first = (record.state & 0x0F) == 0 ? base : base + 2;
    ReadBufferList.addSingleData(first, time, record.value);
    ReadBufferList.addSingleData(first + 1, time, static_cast<float>(record.state));
}

} // namespace qel::var_record
