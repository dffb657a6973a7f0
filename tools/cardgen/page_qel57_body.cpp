// Page contents of the QEL57 family for generated cards.
#include "tools/cardgen/page_qel57_body.h"

#include <bit>
#include <stdexcept>

namespace qel::cardgen {

namespace {

constexpr std::size_t kLimitPacketSize = 6;
constexpr std::size_t kSensorPacketSize = 4;
constexpr std::uint8_t kSkippedLimitChannel = 15;

std::size_t LimitSlots(bool startPage, bool anyLimits)
{
    return anyLimits ? (startPage ? 15 : 1) : 0;
}

std::size_t SensorSlots(TQel57Generation generation, bool startPage)
{
    switch (generation) {
    case TQel57Generation::QEL57b: return startPage ? 16 : 1;
    case TQel57Generation::QEL57c: return startPage ? 24 : 1;
    default: return 0;
    }
}

// Marks the limit packets in the header and answers where the records begin.
std::size_t PrepareHeader(TQel57Generation generation, TPageHeaderFields& header, bool anyLimits)
{
    header.LimitPackets = anyLimits;
    return kPageHeaderSize + LimitSlots(header.StartPage, anyLimits) * kLimitPacketSize + 2
         + SensorSlots(generation, header.StartPage) * kSensorPacketSize;
}

} // namespace

TQel57PageWriter::TQel57PageWriter(TQel57Generation generation, std::span<std::uint8_t, kPageSize> page,
                                   TPageHeaderFields& header, std::span<const TQel57LimitPacket> limits,
                                   std::span<const TQel57SensorPacket> sensors)
    : FRecordsStart(PrepareHeader(generation, header, !limits.empty())), FRecords(page, FRecordsStart)
{
    const std::size_t limitSlots = LimitSlots(header.StartPage, !limits.empty());
    const std::size_t sensorSlots = SensorSlots(generation, header.StartPage);
    if (limits.size() > limitSlots || sensors.size() > sensorSlots) {
        throw std::invalid_argument("more QEL57 packets than the page has slots for");
    }
    std::size_t at = kPageHeaderSize;
    for (std::size_t i = 0; i < limitSlots; ++i, at += kLimitPacketSize) {
        const TQel57LimitPacket packet = i < limits.size() ? limits[i] : TQel57LimitPacket{kSkippedLimitChannel};
        if (packet.Channel > 15 || packet.AL > 7 || packet.RL > 7) {
            throw std::invalid_argument("QEL57 limit packet out of range");
        }
        page[at] = packet.Channel;
        page[at + 1] = static_cast<std::uint8_t>(packet.AL << 3 | packet.RL);
        PutWordLE(page, at + 2, static_cast<std::uint16_t>(packet.Limit1));
        PutWordLE(page, at + 4, static_cast<std::uint16_t>(packet.Limit2));
    }
    at += 2;   // two bytes the decoder skips
    for (std::size_t i = 0; i < sensorSlots; ++i, at += kSensorPacketSize) {
        const TQel57SensorPacket packet = i < sensors.size() ? sensors[i] : TQel57SensorPacket{};
        PutWordLE(page, at, packet.Channel);
        PutWordLE(page, at + 2, packet.Serial);
    }
}

bool TQel57PageWriter::AddExtended(std::uint8_t kind, std::uint8_t mask, std::int32_t step,
                                   std::span<const std::int16_t> values)
{
    const std::size_t perSensor = kind == 2 ? 1 : 2;
    if (kind > 15 || values.size() != static_cast<std::size_t>(std::popcount(mask)) * perSensor) {
        throw std::invalid_argument("extended record: kind out of range or values not matching the mask");
    }
    const auto bits = static_cast<std::uint32_t>(step);
    std::vector<std::uint8_t> bytes{mask,
                                    static_cast<std::uint8_t>(0xC0 | kind),
                                    static_cast<std::uint8_t>(bits),
                                    static_cast<std::uint8_t>(bits >> 8),
                                    static_cast<std::uint8_t>(bits >> 16),
                                    static_cast<std::uint8_t>(bits >> 24)};
    for (const std::int16_t value : values) {
        bytes.push_back(static_cast<std::uint8_t>(value));
        bytes.push_back(static_cast<std::uint8_t>(static_cast<std::uint16_t>(value) >> 8));
    }
    return FRecords.AddBytes(bytes);
}

bool TQel57PageWriter::AddDBus(std::uint8_t order, std::int32_t step, std::uint32_t address,
                               std::span<const std::uint8_t> data)
{
    if (order > 15 || data.size() > 127) {
        throw std::invalid_argument("D-Bus record: order above 15 or more than 127 data bytes");
    }
    const auto bits = static_cast<std::uint32_t>(step);
    std::vector<std::uint8_t> bytes{static_cast<std::uint8_t>((order & 1) << 7 | data.size()),
                                    static_cast<std::uint8_t>(0xD0 | order >> 1),
                                    static_cast<std::uint8_t>(bits),
                                    static_cast<std::uint8_t>(bits >> 8),
                                    static_cast<std::uint8_t>(bits >> 16),
                                    static_cast<std::uint8_t>(bits >> 24),
                                    static_cast<std::uint8_t>(address),
                                    static_cast<std::uint8_t>(address >> 8),
                                    static_cast<std::uint8_t>(address >> 16),
                                    static_cast<std::uint8_t>(address >> 24)};
    bytes.insert(bytes.end(), data.begin(), data.end());
    if (data.size() % 2 != 0) {
        bytes.push_back(0);
    }
    return FRecords.AddBytes(bytes);
}

TQel57PageBody::TQel57PageBody(TQel57Generation generation, TFill fill, std::vector<TQel57LimitPacket> limits,
                               std::vector<TQel57SensorPacket> sensors)
    : FGeneration(generation), FFill(std::move(fill)), FLimits(std::move(limits)), FSensors(std::move(sensors))
{
}

void TQel57PageBody::Fill(std::uint32_t pageIndex, TPageHeaderFields& header, std::span<std::uint8_t, kPageSize> page)
{
    std::span<const TQel57LimitPacket> limits;
    std::span<const TQel57SensorPacket> sensors;
    if (header.StartPage) {
        limits = FLimits;
        sensors = FSensors;
    } else if (!FSensors.empty() && FGeneration != TQel57Generation::QEL57) {
        sensors = std::span(FSensors).subspan(pageIndex % FSensors.size(), 1);
    }
    TQel57PageWriter writer(FGeneration, page, header, limits, sensors);
    if (FFill) {
        FFill(pageIndex, writer);
    }
    writer.AddEnd();
}

} // namespace qel::cardgen
