// Page decoder of the QEL62xW generation: the extended header's limit and
// flex-channel entries, then the record loop of the variable-length format.
#include "card/page_qel62xw.h"

#include "card/page_logger.h"
#include "card/page_reader.h"
#include "card/var_record_format.h"
#include "card/var_record_texts.h"
#include "loggers/qel62xw.h"

#include <array>
#include <bit>

namespace qel {

namespace {

constexpr std::uint16_t EXTENDED_HEADER_MARK = 0x00E0;
constexpr std::int32_t SUB_BLOCK_AREA_START = 12;   // after the mark and the area length
constexpr std::int32_t LIMIT_ENTRY_SIZE = 10;
constexpr std::int32_t FLEX_ENTRY_SIZE = 18;

bool IsLimitBlock(std::uint16_t type)
{
    return type == 1 || type == 2;
}

bool IsFlexChannelBlock(std::uint16_t type)
{
    return type == 3 || type == 4;
}

std::array<std::uint8_t, var_record::SENSOR_TEXT_SIZE> ReadTextBytes(TPageReader& in)
{
    std::array<std::uint8_t, var_record::SENSOR_TEXT_SIZE> bytes{};
    for (std::uint8_t& b : bytes) {
        b = in.Byte();
    }
    return bytes;
}

} // namespace

// Byte 0 channel index, byte 1 bits 2-0 recording and bits 5-3 alarm
// condition, bytes 2-5 and 6-9 the two limits as singles.
void TPageQEL62xW::ApplyLimitEntry(TPageReader& in, TQEL62xW& logger)
{
    const std::uint8_t index = in.Byte();
    const std::uint8_t conditions = in.Byte();
    const float limit1 = std::bit_cast<float>(in.LongWord());
    const float limit2 = std::bit_cast<float>(in.LongWord());
    if (index >= logger.Channels.Count()) {
        return;
    }
    auto& limit = *logger.Channels.GetItem(index).Limit;
    limit.rec_condition = conditions & 0x07;
    limit.alarm_condition = (conditions >> 3) & 0x07;
    limit.limit_L1 = limit1;
    limit.limit_L2 = limit2;
    limit.bReaderRead = true;
}

// Byte 0 channel index, byte 1 unused, bytes 2-5 the sensor's serial number,
// 6-11 the channel name, 12-17 the unit.
void TPageQEL62xW::ApplyFlexChannelEntry(TPageReader& in, TQEL62xW& logger)
{
    const std::uint8_t index = in.Byte();
    in.Byte();
    const std::uint32_t serial = in.LongWord();
    const auto name = ReadTextBytes(in);
    const auto unit = ReadTextBytes(in);
    if (index >= logger.Channels.Count()) {
        return;
    }
    auto& channel = logger.Channels.GetItem(index);
    channel.Info.sName = var_record::FilteredSensorText(name);
    channel.Info.sUnit = var_record::FilteredSensorText(unit);
    channel.FlexChannelType = 1;
    channel.FlexChannelSN = serial;
}

// Mark 0x00E0, the area length L in words, then sub-blocks up to byte
// 12 + 2L: type word, length word N, 2N bytes of entries. Entries applied
// before a sub-block that runs past the page stay applied.
bool TPageQEL62xW::ReadExtendedHeader(TPageReader& in, TQEL62xW& logger)
{
    if (!in.Fits(4) || in.Word() != EXTENDED_HEADER_MARK) {
        return false;
    }
    const std::int32_t areaWords = in.Word();
    if (!in.Fits(2 * areaWords)) {
        return false;
    }
    const std::int32_t areaEnd = SUB_BLOCK_AREA_START + 2 * areaWords;
    while (in.Position() < areaEnd) {
        if (!in.Fits(4)) {
            return false;
        }
        const std::uint16_t type = in.Word();
        const std::int32_t size = 2 * in.Word();
        if (!in.Fits(size)) {
            return false;
        }
        const std::int32_t end = in.Position() + size;
        if (IsLimitBlock(type)) {
            while (in.Position() + LIMIT_ENTRY_SIZE <= end) {
                ApplyLimitEntry(in, logger);
            }
        } else if (IsFlexChannelBlock(type)) {
            while (in.Position() + FLEX_ENTRY_SIZE <= end) {
                ApplyFlexChannelEntry(in, logger);
            }
        }
        in.Seek(end);
    }
    return in.Seek(areaEnd);
}

void TPageQEL62xW::ReadData()
{
    TQEL62xW& logger = CurrentLoggerFor<TQEL62xW>(ClassName, "TQEL62xW");
    const std::int64_t time = GetTime(true);
    const bool extended = hasExtendedHeader();
    FPosition = PAGE_HEADER_SIZE;
    TPageReader in(FMemory, FSize, FPosition);
    if (extended && !ReadExtendedHeader(in, logger)) {
        return;
    }
    var_record::ReadRecords(in, time, var_record::TStepSign::Signed, var_record::TToReadBuffer{},
                            var_record::TEndPage{});
}

namespace page_qel62xw {

const TPageClass& SelectPageClass(std::uint16_t)
{
    return PageClassOf<TPageQEL62xW>();
}

} // namespace page_qel62xw

} // namespace qel
