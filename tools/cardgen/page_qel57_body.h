// Page contents of the QEL57 family for generated cards: limit and
// external-sensor packets, four-byte records, extended records and D-Bus records.
#pragma once

#include "tools/cardgen/page_body.h"

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace qel::cardgen {

enum class TQel57Generation { QEL57, QEL57b, QEL57c };   // PC versions 1.xx, 2.xx, 3.xx

struct TQel57LimitPacket {
    std::uint8_t Channel = 0;   // 0 to 15; 15 is skipped by the decoder
    std::uint8_t AL = 0;        // first condition, 0 to 7
    std::uint8_t RL = 0;        // second condition, 0 to 7
    std::int16_t Limit1 = 0;
    std::int16_t Limit2 = 0;
};

struct TQel57SensorPacket {
    std::uint16_t Channel = 0;   // 16 to 23, 32 to 39, 40 to 47 (QEL57c); others are ignored
    std::uint16_t Serial = 0;
};

// Writes the packets of one page, then its records. The page carries as
// many packet slots as its header asks for: limit packets (header bit 0 set
// when there are any) 15 on a start page and 1 on another; from QEL57b on
// always extended-sensor packets, 16 (QEL57b) or 24 (QEL57c) on a start page
// and 1 on another. Free limit slots name channel 15, free sensor slots
// channel 0; both are ignored by the decoder. Too many packets for the slots
// raise std::invalid_argument. The header's start flag must be set before.
class TQel57PageWriter {
public:
    TQel57PageWriter(TQel57Generation generation, std::span<std::uint8_t, kPageSize> page, TPageHeaderFields& header,
                     std::span<const TQel57LimitPacket> limits = {}, std::span<const TQel57SensorPacket> sensors = {});

    // Byte of the first record.
    std::size_t RecordsStart() const { return FRecordsStart; }
    std::size_t Position() const { return FRecords.Position(); }

    // The records answer False, writing nothing, when they do not fit.
    bool AddValue(std::uint8_t channel, std::int16_t delta, std::int16_t value, bool longStep = false)
    {
        return FRecords.AddValue(channel, delta, value, longStep);
    }
    bool AddTimeStep(std::int32_t step) { return FRecords.AddTimeStep(step); }
    bool AddEnd(std::uint8_t kind = 1) { return FRecords.AddEnd(kind); }
    // Extended record (nibble 12): for each set bit of mask, in increasing
    // order, the sensor's values: two for kinds 1 and 3, one for kind 2 (and
    // two for any other kind); values holds them in that order.
    bool AddExtended(std::uint8_t kind, std::uint8_t mask, std::int32_t step, std::span<const std::int16_t> values);
    // D-Bus record (nibble 13): order 0 to 15, at most 127 data bytes; an
    // odd length gets a zero filler byte.
    bool AddDBus(std::uint8_t order, std::int32_t step, std::uint32_t address, std::span<const std::uint8_t> data);

private:
    std::size_t FRecordsStart;
    TFourByteRecordWriter FRecords;
};

// Pages of a QEL57-family recording: the start page carries the limit and
// sensor packets given; every other page repeats one sensor packet in turn
// (pageIndex modulo their number) and no limit packet. Then `fill` writes
// the page's records; the body adds the end-of-data record when room is left.
class TQel57PageBody final : public IPageBody {
public:
    using TFill = std::function<void(std::uint32_t pageIndex, TQel57PageWriter& writer)>;

    TQel57PageBody(TQel57Generation generation, TFill fill, std::vector<TQel57LimitPacket> limits = {},
                   std::vector<TQel57SensorPacket> sensors = {});
    void Fill(std::uint32_t pageIndex, TPageHeaderFields& header, std::span<std::uint8_t, kPageSize> page) override;

private:
    TQel57Generation FGeneration;
    TFill FFill;
    std::vector<TQel57LimitPacket> FLimits;
    std::vector<TQel57SensorPacket> FSensors;
};

} // namespace qel::cardgen
