// Tagged records of the QEL649 and QEL25 pages for generated cards: a writer
// that appends records to a page, and a page body of regular rows and bursts.
#pragma once

#include "tools/cardgen/page_body.h"

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace qel::cardgen {

// A burst word: bit 15 marks a pretrigger sample; bits 0 to 14 hold the value
// (a 15-bit two's-complement number in version-2 and QEL25 pages, 0 to 32767
// in version-1 pages).
std::uint16_t BurstWord(std::int16_t value, bool pretrigger = false);

// A burst block of version-2 and QEL25 pages (tag kinds 1, 2 and 8).
struct TBurstBlockDescription {
    std::uint8_t Kind = 1;        // 1 acceleration, 2 analog, 8 shock
    std::uint8_t Ctrl = 0;        // tag's low nibble: bit 0 continuation, bit 1 new shock event
    std::uint8_t Rate = 0;
    std::uint8_t Mask = 0x0F;     // positions present
    std::int16_t Dt = 0;          // step to the block's time, units of 1000 ticks
    std::int16_t Dt2 = 0;
    std::uint32_t No = 0;         // number of the block's first sample
    std::vector<std::vector<std::uint16_t>> Lines;   // words of the present positions, in position order
};

// A burst block of version-1 pages (tag kinds 1 and 2).
struct TBurstBlockV1Description {
    std::uint8_t Kind = 1;        // 1 acceleration, 2 analog
    std::uint8_t Mask = 0x0F;     // tag's low nibble: positions present
    std::int16_t Step = 0;
    std::uint16_t Link = 1;       // link word
    std::uint8_t Rate = 0;
    std::vector<std::vector<std::uint16_t>> Lines;
};

// Appends tagged records from a position of a page. Each call answers False,
// writing nothing, when the record does not fit.
class TTaggedRecordWriter {
public:
    explicit TTaggedRecordWriter(std::span<std::uint8_t> page, std::size_t at = kPageHeaderSize) : FPage(page), FAt(at) {}

    bool Time(std::uint64_t units);                                     // kind 0 (40-bit)
    bool Burst(const TBurstBlockDescription& block);                           // kinds 1, 2, 8
    bool BurstV1(const TBurstBlockV1Description& block);                       // kinds 1, 2 of version 1
    // Kind 3: rows x (set bits of mask) values, row after row.
    bool MultiValue(std::int16_t step, std::uint16_t mask, const std::vector<std::int16_t>& values, std::uint8_t rows = 1);
    bool MultiValueStepWord(std::uint16_t stepWord, std::uint16_t mask, const std::vector<std::int16_t>& values);
    bool Nothing();                                                     // kind 4
    bool Limit(std::uint8_t channel, std::uint8_t alarm, std::uint8_t record, std::int16_t raw1, std::int16_t raw2);
    bool Marker(std::int16_t step);                                     // kind 6
    bool Value(std::int16_t step, std::int16_t value);                  // kind 7
    bool MissionData(std::uint8_t version, const std::vector<std::uint8_t>& section);   // kind 9, padded to words
    bool EndTime(std::uint64_t units);                                  // kind 10
    bool End(std::uint8_t tag = 0xB0);
    bool Bytes(const std::vector<std::uint8_t>& bytes);
    std::size_t Position() const { return FAt; }

private:
    std::span<std::uint8_t> FPage;
    std::size_t FAt;
};

// Pages of tagged records, for QEL649 and QEL25 loggers: per page `Rows`
// rows, each a multi-value record of the channels in `Mask` stepping
// `RowStepUnits` (0 for the page's first row) with the values ValueOf
// (pageIndex, row, channel), then a single-value record without step whose
// value is ValueOf (pageIndex, row, ValueChannel); after the rows a marker
// without step when Markers is set. When BurstLines is above 0, every page
// starts with one acceleration block (version-2 format) of that many lines of
// the four positions, sample numbers continuing from page to page, at the
// page time; line j of page p holds BurstValueOf (p, j, position).
struct TTaggedBodyDescription {
    using TValueOf = std::function<std::int16_t(std::uint32_t page, std::uint32_t row, std::uint32_t channel)>;
    std::uint32_t Rows = 10;
    std::int16_t RowStepUnits = 1;
    std::uint16_t Mask = 0x0003;
    TValueOf ValueOf;
    std::uint32_t ValueChannel = 17;
    bool Markers = false;
    std::uint8_t BurstLines = 0;
    std::uint8_t BurstRate = 3;
    TValueOf BurstValueOf;
};

class TTaggedRecordBody final : public IPageBody {
public:
    explicit TTaggedRecordBody(const TTaggedBodyDescription& desc) : FDescription(desc) {}
    void Fill(std::uint32_t pageIndex, TPageHeaderFields& header, std::span<std::uint8_t, kPageSize> page) override;

private:
    TTaggedBodyDescription FDescription;
};

} // namespace qel::cardgen
