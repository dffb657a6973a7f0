// Page decoder of the QEL621WD loggers: flex-channel entries, then the record loop.
#include "card/page_qel621wd.h"

#include "card/page_logger.h"
#include "card/page_reader.h"
#include "card/var_record_format.h"
#include "card/var_record_texts.h"
#include "loggers/qel621wd.h"

namespace qel {

namespace {
constexpr std::int32_t FLEX_ENTRY_SIZE = 16;
} // namespace

// Byte 0 bits 3-0 the flex channel, byte 1 the channel, bytes 2-3 the
// sensor's serial number (0: no sensor), 4-9 the name, 10-15 the unit.
void TPageQEL621WD::ApplyFlexEntry(TPageReader& in, TQEL621WD& logger)
{
    const std::uint8_t flexChannel = in.Byte() & 0x0F;
    const std::uint8_t channel = in.Byte();
    const std::uint16_t serial = in.Word();
    const auto name = var_record::ReadSensorTextBytes(in);
    const auto unit = var_record::ReadSensorTextBytes(in);
    if (serial > 0) {
        logger.updateFlexChannel(channel, flexChannel, serial, var_record::AnsiSensorText(name),
                                 var_record::AnsiSensorText(unit));
    }
}

void TPageQEL621WD::ReadData()
{
    TQEL621WD& logger = CurrentLoggerFor<TQEL621WD>(ClassName, "TQEL621WD");
    const std::int64_t time = GetTime(true);
    const int entries = IsStartPage() ? 2 * logger.getFlexChannels() : 1;
    FPosition = PAGE_HEADER_SIZE;
    TPageReader in(FMemory, FSize, FPosition);
    for (int i = 0; i < entries; ++i) {
        if (!in.Fits(FLEX_ENTRY_SIZE)) {
            return;   // a page cut off within its entries ends there
        }
        ApplyFlexEntry(in, logger);
    }
    var_record::ReadRecords(in, time, var_record::TStepSign::Signed, var_record::TToReadBuffer{},
                            var_record::TEndPage{});
}

namespace page_qel621wd {

const TPageClass& SelectPageClass(std::uint16_t)
{
    return PageClassOf<TPageQEL621WD>();
}

} // namespace page_qel621wd

} // namespace qel
