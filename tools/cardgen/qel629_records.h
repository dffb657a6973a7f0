// Page parts of the QEL629 and QEL629c loggers for generated cards: limit
// packets, the QEL629c extended header and records, and a QEL629c page body.
#pragma once

#include "tools/cardgen/page_body.h"

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace qel::cardgen {

// A limit packet of QEL629 pages from PC version 3.06.
struct TLimitPacketDescription {
    std::uint8_t Channel = 0;     // channel index, 0 to 15
    std::uint8_t Alarm = 0;       // first condition, 0 to 7
    std::uint8_t Record = 0;      // second condition, 0 to 7
    std::int16_t Limit1 = 0;      // raw limits
    std::int16_t Limit2 = 0;
};

// Writes the packets from byte 8 and sets the header's limit flag; a start
// page carries 15 packets, any other page 1. Answers where the records begin
// (after the two skipped bytes).
std::size_t WriteLimitPackets(std::span<std::uint8_t> page, TPageHeaderFields& header,
                              const std::vector<TLimitPacketDescription>& packets);

// Records of QEL629c pages: five-bit channel numbers (31: control record).
class TQel629cRecordWriter {
public:
    TQel629cRecordWriter(std::span<std::uint8_t> page, std::size_t firstRecordAt) : FRecords(page, firstRecordAt) {}

    // channel 0 to 30; delta -512 ... 511 units; longStep sets bit 2 (the decoder shifts the delta by 9).
    bool AddValue(std::uint8_t channel, std::int16_t delta, std::int16_t value, bool longStep = false);
    // step: a multiple of 256 units.
    bool AddTimeStep(std::int32_t step) { return FRecords.AddControlStep(0xF8, step); }
    bool AddEnd(std::uint8_t kind = 1);
    std::size_t Position() const { return FRecords.Position(); }

private:
    TFourByteRecordWriter FRecords;
};

// A channel limit entry of the QEL629c extended header.
struct TChannelLimitDescription {
    std::uint8_t Index = 0;       // index in the logger's channel list
    std::uint8_t Record = 0;      // record condition, 0 to 7
    std::uint8_t Alarm = 0;       // alarm condition, 0 to 7
    float Limit1 = 0.0f;
    float Limit2 = 0.0f;
};

// A section of the extended header; its data is padded to whole words.
struct TExtendedSectionDescription {
    std::uint16_t Kind = 1;       // 1 and 2 hold channel limit entries
    std::vector<std::uint8_t> Data;
};

// The data of a section holding these entries, 10 bytes each.
std::vector<std::uint8_t> ChannelLimitData(const std::vector<TChannelLimitDescription>& entries);

// Writes the extended header (mark 0x00E0, the area length, the sections)
// from byte 8 and sets the header's extended flag; answers where the records begin.
std::size_t WriteExtendedHeader(std::span<std::uint8_t> page, TPageHeaderFields& header,
                                const std::vector<TExtendedSectionDescription>& sections);

// QEL629c pages: per page `Rows` rows, each a value of every channel of
// `Channels`; the first value of a row advances the time by RowStepUnits (not
// on the page's first row), the others by 0. Values follow ValueOf (pageIndex,
// row, channel). When FirstPageLimits is not empty, the first page carries
// them in an extended header.
struct TQel629cBodyDescription {
    std::vector<std::uint8_t> Channels;
    std::uint32_t Rows = 10;
    std::int16_t RowStepUnits = 1;
    std::function<std::int16_t(std::uint32_t page, std::uint32_t row, std::uint8_t channel)> ValueOf;
    std::vector<TChannelLimitDescription> FirstPageLimits;
};

class TQel629cRecordBody final : public IPageBody {
public:
    explicit TQel629cRecordBody(TQel629cBodyDescription desc) : FDescription(std::move(desc)) {}
    void Fill(std::uint32_t pageIndex, TPageHeaderFields& header, std::span<std::uint8_t, kPageSize> page) override;

private:
    TQel629cBodyDescription FDescription;
};

} // namespace qel::cardgen
