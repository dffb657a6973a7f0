// Page decoder of the QEL62xW generation: the extended header's limit and
// flex-channel entries, then the record loop of the variable-length format.
#include "card/page_qel62xw.h"

#include "card/extended_page_header.h"
#include "card/page_logger.h"
#include "card/page_reader.h"
#include "card/var_record_format.h"
#include "card/var_record_texts.h"
#include "loggers/qel62xw.h"

namespace qel {

namespace {

constexpr std::int32_t FLEX_ENTRY_SIZE = 18;

bool IsFlexChannelSection(std::uint16_t type)
{
    return type == 3 || type == 4;
}

} // namespace

// Byte 0 channel index, byte 1 unused, bytes 2-5 the sensor's serial number,
// 6-11 the channel name, 12-17 the unit.
void TPageQEL62xW::ApplyFlexChannelEntry(TPageReader& in, TQEL62xW& logger)
{
    const std::uint8_t index = in.Byte();
    in.Byte();
    const std::uint32_t serial = in.LongWord();
    const auto name = var_record::ReadSensorTextBytes(in);
    const auto unit = var_record::ReadSensorTextBytes(in);
    if (index >= logger.Channels.Count()) {
        return;
    }
    auto& channel = logger.Channels.GetItem(index);
    channel.Info.sName = var_record::FilteredSensorText(name);
    channel.Info.sUnit = var_record::FilteredSensorText(unit);
    channel.FlexChannelType = 1;
    channel.FlexChannelSN = serial;
}

// Sections of types 1 and 2 hold limit entries, of types 3 and 4
// flex-channel entries; others are passed over.
bool TPageQEL62xW::ReadExtendedHeader(TPageReader& in, TQEL62xW& logger)
{
    return extended_header::Read(in, [&logger](std::uint16_t type, TPageReader& section, std::int32_t end) {
        if (extended_header::IsLimitSection(type)) {
            extended_header::ForEachEntry(section, end, extended_header::LIMIT_ENTRY_SIZE, [&logger](TPageReader& entry) {
                extended_header::ApplyLimitEntry(extended_header::ReadLimitEntry(entry), logger.Channels);
            });
        } else if (IsFlexChannelSection(type)) {
            extended_header::ForEachEntry(section, end, FLEX_ENTRY_SIZE,
                                          [&logger](TPageReader& entry) { ApplyFlexChannelEntry(entry, logger); });
        }
    });
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
