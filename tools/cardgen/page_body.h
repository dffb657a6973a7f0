// Page contents for generated cards: a page body fills the bytes after the page
// header; one builder per record format (more families add their own).
#pragma once

#include "tools/cardgen/cluster_writer.h"

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace qel::cardgen {

// Fills page `pageIndex` (0 = first page of the recording) of a recording.
// `page` is the whole 1056-byte page, already zeroed and with its header
// written; a body writes from byte 8 on and may set header flags it needs
// (limit packets, extended header), rewriting the header through `header`.
class IPageBody {
public:
    virtual ~IPageBody() = default;
    virtual void Fill(std::uint32_t pageIndex, TPageHeaderFields& header, std::span<std::uint8_t, kPageSize> page) = 0;
};

// The same bytes after the header of every page (a test's hand-made records).
class TRawPageBody final : public IPageBody {
public:
    explicit TRawPageBody(std::vector<std::uint8_t> records) : FRecords(std::move(records)) {}
    void Fill(std::uint32_t pageIndex, TPageHeaderFields& header, std::span<std::uint8_t, kPageSize> page) override;

private:
    std::vector<std::uint8_t> FRecords;
};

// Appends four-byte records (QEL629 below 6.00 and the QEL57 family): value
// records with an 11-bit time step, control records with a long time step,
// and the end-of-data record.
class TFourByteRecordWriter {
public:
    TFourByteRecordWriter(std::span<std::uint8_t> page, std::size_t firstRecordAt) : FPage(page), FAt(firstRecordAt) {}

    // delta: -1024..1023 units; longStep sets bit 3 (the decoder shifts the delta).
    bool AddValue(std::uint8_t channel, std::int16_t delta, std::int16_t value, bool longStep = false);
    // step: a multiple of 256 units (the record carries its upper 24 bits).
    bool AddTimeStep(std::int32_t step) { return AddControlStep(0xF0, step); }
    bool AddEnd(std::uint8_t kind = 1);
    // Longer records of other formats, written as they are.
    bool AddBytes(std::span<const std::uint8_t> bytes);
    // Any four bytes as one record.
    bool AddRecord(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3);
    // A time-step record whose byte 1 is b1 (its channel and kind bits); step
    // a multiple of 256 units.
    bool AddControlStep(std::uint8_t b1, std::int32_t step);
    std::size_t Position() const { return FAt; }
    std::size_t Room() const { return (FPage.size() - FAt) / 4; }

private:
    std::span<std::uint8_t> FPage;
    std::size_t FAt;
};

// Pages of four-byte records: per page `RowsPerPage` rows, each a sample of
// every channel of `Channels`; the first value of a row advances the time by
// `RowStepUnits`, the others by 0. Values follow `ValueOf(pageIndex, row, channel)`.
class TFourByteRecordBody final : public IPageBody {
public:
    // Records from byte 8 (QEL629 below 3.06), or after two skipped bytes and
    // no limit packet (QEL629 from 3.06, first QEL57 generation). The later
    // QEL57 generations carry sensor packets there: see TQel57PageBody.
    enum class TLayout { RecordsAt8, SkipTwoBytes };
    TFourByteRecordBody(TLayout layout, std::vector<std::uint8_t> channels, std::uint32_t rowsPerPage,
                        std::int16_t rowStepUnits,
                        std::function<std::int16_t(std::uint32_t, std::uint32_t, std::uint8_t)> valueOf);
    void Fill(std::uint32_t pageIndex, TPageHeaderFields& header, std::span<std::uint8_t, kPageSize> page) override;

private:
    TLayout FLayout;
    std::vector<std::uint8_t> FChannels;
    std::uint32_t FRowsPerPage;
    std::int16_t FRowStepUnits;
    std::function<std::int16_t(std::uint32_t, std::uint32_t, std::uint8_t)> FValueOf;
};

} // namespace qel::cardgen
