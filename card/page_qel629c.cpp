// Page decoder of the QEL629c loggers (model code 0x6601 from PC version 6.00):
// the extended header's channel limits and the five-bit-channel records.
#include "card/page_qel629c.h"

#include "card/buffer_list.h"
#include "card/extended_page_header.h"
#include "card/four_byte_record.h"
#include "card/page_logger.h"
#include "loggers/qel629c.h"

namespace qel {

// Sections of types 1 and 2 hold channel limit entries; others are passed over.
bool TPageQEL629c::ReadExtendedHeader(TPageReader& in, TQEL629C& logger)
{
    return extended_header::Read(in, [&logger](std::uint16_t type, TPageReader& section, std::int32_t end) {
        if (extended_header::IsLimitSection(type)) {
            extended_header::ForEachEntry(section, end, extended_header::LIMIT_ENTRY_SIZE, [&logger](TPageReader& entry) {
                extended_header::ApplyLimitEntry(extended_header::ReadLimitEntry(entry), logger.Channels);
            });
        }
    });
}

void TPageQEL629c::ReadData()
{
    std::int64_t time = GetTime(true);
    const bool extended = hasExtendedHeader();
    FPosition = PAGE_HEADER_SIZE;
    TPageReader in(FMemory, FSize, FPosition);
    if (extended && !ReadExtendedHeader(in, CurrentLoggerFor<TQEL629C>(ClassName, "TQEL629C"))) {
        return;
    }
    in.ForEachRecord(TFourByteRecord::Size, [&time](const std::uint8_t* at) {
        // The QEL629 record with a five-bit channel: b1 bits 7-3 (31: a
        // control record of kind b1 bits 2-0), bit 2 the long step, bits 1-0
        // and b0 a 10-bit two's-complement step.
        const TFourByteRecord record = TFourByteRecord::At(at);
        const std::uint32_t channel = record.b1 >> 3;
        if (channel == 31) {
            if ((record.b1 & 0x07) != 0) {
                return false;   // end of data
            }
            time += std::int64_t{record.TimeStep()} * FOUR_BYTE_TIME_UNIT;
            return true;
        }
        const std::int32_t bits = (record.b1 & 0x03) << 8 | record.b0;
        std::int64_t delta = bits >= 0x200 ? bits - 0x400 : bits;
        if ((record.b1 & 0x04) != 0) {
            delta *= 1 << 9;
        }
        time += delta * FOUR_BYTE_TIME_UNIT;
        ReadBufferList.AddIntData(channel, time, record.Value());
        return true;
    });
}

namespace page_qel629c {

const TPageClass& SelectPageClass(std::uint16_t)
{
    return PageClassOf<TPageQEL629c>();
}

} // namespace page_qel629c
} // namespace qel
