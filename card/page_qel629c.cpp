// Page decoder of the QEL629c loggers (model code 0x6601 from PC version 6.00):
// the extended header's channel limits and the five-bit-channel records.
#include "card/page_qel629c.h"

#include "card/buffer_list.h"
#include "card/page_logger.h"
#include "card/page_qel629.h"
#include "loggers/qel629c.h"

#include <bit>

namespace qel {

namespace {
constexpr std::uint16_t EXTENDED_HEADER_MARK = 0x00E0;
constexpr std::int32_t SECTION_AREA_START = 12;   // after the mark and the area length
constexpr std::int32_t CHANNEL_LIMIT_SIZE = 10;
constexpr std::uint16_t CHANNEL_LIMIT_SECTION_1 = 1;
constexpr std::uint16_t CHANNEL_LIMIT_SECTION_2 = 2;
} // namespace

void TPageQEL629c::ReadChannelLimit(TPageReader& in, TQEL629C& logger)
{
    const std::uint8_t index = in.Byte();
    const std::uint8_t conditions = in.Byte();
    const float limit1 = std::bit_cast<float>(in.LongWord());
    const float limit2 = std::bit_cast<float>(in.LongWord());
    if (index >= logger.Channels.Count()) {
        return;
    }
    auto& limit = *logger.Channels.GetItem(index).Limit;
    limit.bReaderRead = true;
    limit.rec_condition = conditions & 0x07;
    limit.alarm_condition = (conditions >> 3) & 0x07;
    limit.limit_L1 = limit1;
    limit.limit_L2 = limit2;
}

bool TPageQEL629c::ReadExtendedHeader(TPageReader& in)
{
    if (!in.Fits(4) || in.Word() != EXTENDED_HEADER_MARK) {
        return false;
    }
    const std::int32_t areaWords = in.Word();
    if (!in.Fits(2 * areaWords)) {
        return false;
    }
    const std::int32_t areaEnd = SECTION_AREA_START + 2 * areaWords;
    while (in.Position() < areaEnd) {
        if (!in.Fits(4)) {
            return false;
        }
        const std::uint16_t kind = in.Word();
        const std::int32_t dataSize = 2 * in.Word();
        if (!in.Fits(dataSize)) {
            return false;
        }
        const std::int32_t dataEnd = in.Position() + dataSize;
        if (kind == CHANNEL_LIMIT_SECTION_1 || kind == CHANNEL_LIMIT_SECTION_2) {
            while (in.Position() + CHANNEL_LIMIT_SIZE <= dataEnd) {
                ReadChannelLimit(in, CurrentLoggerFor<TQEL629C>(ClassName, "TQEL629C"));
            }
        }
        in.Seek(dataEnd);
    }
    return in.Seek(areaEnd);
}

void TPageQEL629c::ReadData()
{
    std::int64_t time = GetTime(true);
    const bool extended = hasExtendedHeader();
    FPosition = PAGE_HEADER_SIZE;
    TPageReader in(FMemory, FSize, FPosition);
    if (extended && !ReadExtendedHeader(in)) {
        return;
    }
    while (in.Fits(4)) {
        const std::uint8_t b0 = in.Byte();
        const std::uint8_t b1 = in.Byte();
        const std::uint8_t b2 = in.Byte();
        const std::uint8_t b3 = in.Byte();
        const std::uint32_t channel = b1 >> 3;
        if (channel == 31) {
            if ((b1 & 0x07) != 0) {
                return;   // end of data
            }
            const auto step = static_cast<std::int32_t>(static_cast<std::uint32_t>(b0) << 24 |
                                                        static_cast<std::uint32_t>(b3) << 16 |
                                                        static_cast<std::uint32_t>(b2) << 8);
            time += std::int64_t{step} * FOUR_BYTE_TIME_UNIT;
            continue;
        }
        const std::int32_t bits = (b1 & 0x03) << 8 | b0;   // 10-bit two's complement
        std::int64_t delta = bits >= 0x200 ? bits - 0x400 : bits;
        if ((b1 & 0x04) != 0) {
            delta *= 1 << 9;
        }
        time += delta * FOUR_BYTE_TIME_UNIT;
        ReadBufferList.AddIntData(channel, time, static_cast<std::int16_t>(b3 << 8 | b2));
    }
}

namespace page_qel629c {

const TPageClass& SelectPageClass(std::uint16_t)
{
    return PageClassOf<TPageQEL629c>();
}

} // namespace page_qel629c
} // namespace qel
