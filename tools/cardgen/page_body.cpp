// Page contents for generated cards: raw bytes and four-byte records.
#include "tools/cardgen/page_body.h"

#include <algorithm>
#include <stdexcept>

namespace qel::cardgen {

void TRawPageBody::Fill(std::uint32_t, TPageHeaderFields&, std::span<std::uint8_t, kPageSize> page)
{
    const std::size_t count = std::min(FRecords.size(), kPageSize - kPageHeaderSize);
    std::copy_n(FRecords.begin(), count, page.begin() + kPageHeaderSize);
}

bool TFourByteRecordWriter::AddRecord(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3)
{
    if (FAt + 4 > FPage.size()) {
        return false;
    }
    FPage[FAt] = b0;
    FPage[FAt + 1] = b1;
    FPage[FAt + 2] = b2;
    FPage[FAt + 3] = b3;
    FAt += 4;
    return true;
}

bool TFourByteRecordWriter::AddValue(std::uint8_t channel, std::int16_t delta, std::int16_t value, bool longStep)
{
    if (channel > 14 || delta < -1024 || delta > 1023) {
        throw std::invalid_argument("four-byte value record out of range");
    }
    const auto bits = static_cast<std::uint16_t>(delta) & 0x7FF;
    const auto raw = static_cast<std::uint16_t>(value);
    const auto b1 = static_cast<std::uint8_t>((channel << 4) | (longStep ? 0x08 : 0) | (bits >> 8));
    return AddRecord(static_cast<std::uint8_t>(bits), b1, static_cast<std::uint8_t>(raw), static_cast<std::uint8_t>(raw >> 8));
}

bool TFourByteRecordWriter::AddControlStep(std::uint8_t b1, std::int32_t step)
{
    if (step % 256 != 0) {
        throw std::invalid_argument("four-byte time step must be a multiple of 256 units");
    }
    const auto bits = static_cast<std::uint32_t>(step);
    return AddRecord(static_cast<std::uint8_t>(bits >> 24), b1, static_cast<std::uint8_t>(bits >> 8), static_cast<std::uint8_t>(bits >> 16));
}

bool TFourByteRecordWriter::AddEnd(std::uint8_t kind)
{
    if (kind == 0 || kind > 15) {
        throw std::invalid_argument("end record kind must be 1 to 15");
    }
    return AddRecord(0, static_cast<std::uint8_t>(0xF0 | kind), 0, 0);
}

bool TFourByteRecordWriter::AddBytes(std::span<const std::uint8_t> bytes)
{
    if (FAt + bytes.size() > FPage.size()) {
        return false;
    }
    std::copy(bytes.begin(), bytes.end(), FPage.begin() + static_cast<std::ptrdiff_t>(FAt));
    FAt += bytes.size();
    return true;
}

TFourByteRecordBody::TFourByteRecordBody(TLayout layout, std::vector<std::uint8_t> channels, std::uint32_t rowsPerPage,
                                         std::int16_t rowStepUnits,
                                         std::function<std::int16_t(std::uint32_t, std::uint32_t, std::uint8_t)> valueOf)
    : FLayout(layout), FChannels(std::move(channels)), FRowsPerPage(rowsPerPage), FRowStepUnits(rowStepUnits),
      FValueOf(std::move(valueOf))
{
}

void TFourByteRecordBody::Fill(std::uint32_t pageIndex, TPageHeaderFields&, std::span<std::uint8_t, kPageSize> page)
{
    const std::size_t first = FLayout == TLayout::RecordsAt8 ? kPageHeaderSize : kPageHeaderSize + 2;
    TFourByteRecordWriter writer(page, first);
    for (std::uint32_t row = 0; row < FRowsPerPage; ++row) {
        for (std::size_t i = 0; i < FChannels.size(); ++i) {
            // The first record of a page carries no step (the page time is its time).
            const bool stepHere = i == 0 && row != 0;
            if (!writer.AddValue(FChannels[i], stepHere ? FRowStepUnits : 0, FValueOf(pageIndex, row, FChannels[i]))) {
                return;
            }
        }
    }
    writer.AddEnd();
}

} // namespace qel::cardgen
