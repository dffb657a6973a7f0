// Pages of the variable-length record format for generated cards: the record
// writer, FIFO records, flex-channel entries and a page body of such records.
#pragma once

#include "tools/cardgen/page_body.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace qel::cardgen {

// Appends records of the variable-length format from a byte of the page.
// Each Add answers False, writing nothing, when the record does not fit in
// the page; values out of a record's range raise std::invalid_argument.
class TVarRecordWriter {
public:
    TVarRecordWriter(std::span<std::uint8_t> page, std::size_t firstRecordAt) : FPage(page), FAt(firstRecordAt) {}

    // Channel 0 to 127. The record keeps bits 8-31 of the single; the low
    // eight bits of value must be zero (values such as 20.5 or -2.5 are).
    bool AddValue(std::uint8_t channel, float value);
    // A step of -4096 ... 8191 units: the 13 bits of it (a signed reader sees
    // 4096 ... 8191 as negative, the QEL51 reader as they are).
    bool AddShortStep(std::int32_t units);
    // A step of -2^28 ... 2^29 - 1 units, as 29 bits.
    bool AddLongStep(std::int64_t units);
    // The shorter record that carries a signed step of this many units.
    bool AddStep(std::int64_t units);
    // End of data (tag 0xE0 + kind bits).
    bool AddEnd(std::uint8_t tag = 0xE0);
    // A model block or any other bytes, written as they are.
    bool AddBytes(std::span<const std::uint8_t> bytes);
    // FIFO record of the QEL624c and QEL51 pages (10 bytes): tag 0xC0, state,
    // FIFO time, FIFO channel, value (bits 8-31 of the single, as AddValue).
    bool AddFifo(std::uint8_t state, std::uint32_t fifoTime, std::uint8_t fifoChannel, float value);

    std::size_t Position() const { return FAt; }
    std::size_t Room() const { return FPage.size() - FAt; }

private:
    std::span<std::uint8_t> FPage;
    std::size_t FAt;
};

// The bytes of the single's bits 8-31 (lowest first); raises
// std::invalid_argument when its bits 0-7 are not zero.
std::vector<std::uint8_t> ThreeByteSingleBytes(float value);

// A flex-channel entry of the QEL62xW extended header (18 bytes); name and
// unit hold at most 6 bytes each (Windows-1252), padded with zero bytes.
struct TFlexChannelDescription {
    std::uint8_t Index = 0;   // index in the logger's channel list
    std::uint32_t Serial = 0;
    std::string Name;
    std::string Unit;
};

// The data of an extended-header section (kind 3 or 4) holding these entries.
std::vector<std::uint8_t> FlexChannelData(const std::vector<TFlexChannelDescription>& entries);

// A flex-channel entry of the QEL621WD pages (16 bytes); name and unit hold
// at most 6 bytes each, padded with blanks.
struct TFlexEntry621Description {
    std::uint8_t FlexChannel = 0;   // 0 to 15
    std::uint8_t Channel = 0;
    std::uint16_t Serial = 0;       // 0: no sensor
    std::string Name;
    std::string Unit;
};

// Writes the entries from byte 8; answers where the records begin.
std::size_t WriteFlexEntries621(std::span<std::uint8_t> page, const std::vector<TFlexEntry621Description>& entries);

// Pages of the variable-length format. `head` writes what precedes the
// records (an extended header, flex entries; it may set header flags) and
// answers where they begin; without it the records begin at byte 8. Then
// `fill` writes the page's records, and the body ends the data when room is left.
class TVarRecordBody final : public IPageBody {
public:
    using THead = std::function<std::size_t(std::uint32_t pageIndex, TPageHeaderFields& header,
                                            std::span<std::uint8_t, kPageSize> page)>;
    using TFill = std::function<void(std::uint32_t pageIndex, TVarRecordWriter& writer)>;

    explicit TVarRecordBody(TFill fill, THead head = {}) : FFill(std::move(fill)), FHead(std::move(head)) {}
    void Fill(std::uint32_t pageIndex, TPageHeaderFields& header, std::span<std::uint8_t, kPageSize> page) override;

private:
    TFill FFill;
    THead FHead;
};

} // namespace qel::cardgen
