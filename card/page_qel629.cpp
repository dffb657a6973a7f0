// Page decoders of the QEL629 loggers (model code 0x6601 below PC version 6.00):
// four-byte records and limit packets into the read buffer list and the logger.
#include "card/page_qel629.h"

#include "card/buffer_list.h"
#include "card/page_logger.h"
#include "loggers/qel629.h"

#include <utility>

namespace qel {

namespace {
constexpr std::int32_t SKIPPED_BEFORE_RECORDS = 2;   // TPage_V3: between the limit packets and the records
} // namespace

std::int64_t TPage_V1::GetTime(bool bPageTime)
{
    return 2 * TPage::GetTime(bPageTime);
}

void TPage_V1::ReadData()
{
    const TQEL629& logger = CurrentLoggerFor<TQEL629>(ClassName, "TQEL629");
    const std::int32_t longStepFactor = logger.IsQEL_1S() ? 1 << 9 : 1 << 10;
    std::int64_t time = GetTime(true);
    FPosition = PAGE_HEADER_SIZE;
    TPageReader in(FMemory, FSize, FPosition);
    bool firstRecord = true;
    in.ForEachRecord(TFourByteRecord::Size, [&](const std::uint8_t* at) {
        const TFourByteRecord record = TFourByteRecord::At(at);
        const bool first = std::exchange(firstRecord, false);
        if (record.IsControl()) {
            if (record.ControlKind() == 0) {
                time += std::int64_t{record.TimeStep()} * FOUR_BYTE_TIME_UNIT;
            }
            return record.ControlKind() == 0 || first;   // end of data; as the first record it is ignored
        }
        std::int64_t delta = record.Delta();
        if (delta != 0 && first) {
            return true;   // the page time is the first record's time: a step there is not trusted
        }
        if (record.LongStep()) {
            delta *= longStepFactor;
        }
        time += delta * FOUR_BYTE_TIME_UNIT;
        ReadBufferList.AddIntData(record.Channel(), time, record.Value());
        return true;
    });
}

int TPage_V3::GetLimitPackets()
{
    return LimitPacketCount(FlagsByte());
}

void TPage_V3::ApplyLimitPacket(const TLimitPacket& packet, TQEL629& logger)
{
    std::uint32_t ch = packet.Channel;
    if (logger.AreLimitsForAllChannel() && logger.INT_CH_EXT > 0) {
        ch = logger.CH_DEVICE[ch];
    }
    if (ch <= 31) {
        logger.SetLimit(ch, packet.AL, packet.RL, logger.GetLimitValue(ch, packet.Raw1),
                        logger.GetLimitValue(ch, packet.Raw2));
    }
}

void TPage_V3::ReadData()
{
    TQEL629& logger = CurrentLoggerFor<TQEL629>(ClassName, "TQEL629");
    std::int64_t time = GetTime(true);
    const int packets = GetLimitPackets();
    FPosition = PAGE_HEADER_SIZE;
    TPageReader in(FMemory, FSize, FPosition);
    for (int i = 0; i < packets; ++i) {
        if (!in.Fits(TLimitPacket::Size)) {
            return;
        }
        ApplyLimitPacket(TLimitPacket::Read(in), logger);
    }
    if (!in.Skip(SKIPPED_BEFORE_RECORDS)) {
        return;
    }
    const bool deviceChannels = logger.INT_CFG.Contains(TQEL629::cINT_CHX);
    in.ForEachRecord(TFourByteRecord::Size, [&](const std::uint8_t* at) {
        const TFourByteRecord record = TFourByteRecord::At(at);
        if (record.IsControl()) {
            if (record.ControlKind() != 0) {
                return false;   // end of data
            }
            time += std::int64_t{record.TimeStep()} * FOUR_BYTE_TIME_UNIT;
            return true;
        }
        std::int64_t delta = record.Delta();
        if (record.LongStep()) {
            delta *= 1 << 9;
        }
        time += delta * FOUR_BYTE_TIME_UNIT;
        const std::uint32_t channel = deviceChannels ? logger.CH_DEVICE[record.Channel()] : record.Channel();
        ReadBufferList.AddIntData(channel, time, record.Value());
        return true;
    });
}

namespace page_qel629 {

const TPageClass& SelectPageClass(std::uint16_t Version)
{
    return Version < 0x0306 ? PageClassOf<TPage_V1>() : PageClassOf<TPage_V3>();
}

} // namespace page_qel629
} // namespace qel
