// Page parts of the QEL629 and QEL629c loggers for generated cards.
#include "tools/cardgen/qel629_records.h"

#include <stdexcept>

namespace qel::cardgen {

namespace {
constexpr std::size_t kLimitPacketSize = 6;
constexpr std::size_t kChannelLimitSize = 10;
} // namespace

std::size_t WriteLimitPackets(std::span<std::uint8_t> page, TPageHeaderFields& header,
                              const std::vector<TLimitPacketDescription>& packets)
{
    if (packets.size() != (header.StartPage ? 15u : 1u)) {
        throw std::invalid_argument("a start page carries 15 limit packets, any other page 1");
    }
    std::size_t at = kPageHeaderSize;
    for (const TLimitPacketDescription& packet : packets) {
        page[at] = packet.Channel & 0x0F;
        page[at + 1] = static_cast<std::uint8_t>((packet.Alarm & 0x07) << 3 | (packet.Record & 0x07));
        PutWordLE(page, at + 2, static_cast<std::uint16_t>(packet.Limit1));
        PutWordLE(page, at + 4, static_cast<std::uint16_t>(packet.Limit2));
        at += kLimitPacketSize;
    }
    header.LimitPackets = true;
    return at + 2;
}

bool TQel629cRecordWriter::AddValue(std::uint8_t channel, std::int16_t delta, std::int16_t value, bool longStep)
{
    if (channel > 30 || delta < -512 || delta > 511) {
        throw std::invalid_argument("QEL629c value record out of range");
    }
    const auto bits = static_cast<std::uint16_t>(delta) & 0x3FF;
    const auto raw = static_cast<std::uint16_t>(value);
    const auto b1 = static_cast<std::uint8_t>(channel << 3 | (longStep ? 0x04 : 0) | bits >> 8);
    return FRecords.AddRecord(static_cast<std::uint8_t>(bits), b1, static_cast<std::uint8_t>(raw), static_cast<std::uint8_t>(raw >> 8));
}

bool TQel629cRecordWriter::AddEnd(std::uint8_t kind)
{
    if (kind == 0 || kind > 7) {
        throw std::invalid_argument("QEL629c end record kind must be 1 to 7");
    }
    return FRecords.AddRecord(0, static_cast<std::uint8_t>(0xF8 | kind), 0, 0);
}

std::vector<std::uint8_t> ChannelLimitData(const std::vector<TChannelLimitDescription>& entries)
{
    std::vector<std::uint8_t> data(entries.size() * kChannelLimitSize);
    std::size_t at = 0;
    for (const TChannelLimitDescription& entry : entries) {
        data[at] = entry.Index;
        data[at + 1] = static_cast<std::uint8_t>((entry.Alarm & 0x07) << 3 | (entry.Record & 0x07));
        PutSingleLE(data, at + 2, entry.Limit1);
        PutSingleLE(data, at + 6, entry.Limit2);
        at += kChannelLimitSize;
    }
    return data;
}

std::size_t WriteExtendedHeader(std::span<std::uint8_t> page, TPageHeaderFields& header,
                                const std::vector<TExtendedSectionDescription>& sections)
{
    std::vector<std::uint8_t> area;
    for (const TExtendedSectionDescription& section : sections) {
        const std::size_t words = (section.Data.size() + 1) / 2;
        area.push_back(static_cast<std::uint8_t>(section.Kind));
        area.push_back(static_cast<std::uint8_t>(section.Kind >> 8));
        area.push_back(static_cast<std::uint8_t>(words));
        area.push_back(static_cast<std::uint8_t>(words >> 8));
        area.insert(area.end(), section.Data.begin(), section.Data.end());
        area.resize(area.size() + section.Data.size() % 2);
    }
    const std::size_t first = 12 + area.size();
    if (first > page.size()) {
        throw std::invalid_argument("the extended header does not fit in the page");
    }
    PutWordLE(page, 8, 0x00E0);
    PutWordLE(page, 10, static_cast<std::uint16_t>(area.size() / 2));
    std::copy(area.begin(), area.end(), page.begin() + 12);
    header.ShockOrExtended = true;
    return first;
}

void TQel629cRecordBody::Fill(std::uint32_t pageIndex, TPageHeaderFields& header, std::span<std::uint8_t, kPageSize> page)
{
    std::size_t first = kPageHeaderSize;
    if (pageIndex == 0 && !FDescription.FirstPageLimits.empty()) {
        first = WriteExtendedHeader(page, header, {{1, ChannelLimitData(FDescription.FirstPageLimits)}});
    }
    TQel629cRecordWriter writer(page, first);
    for (std::uint32_t row = 0; row < FDescription.Rows; ++row) {
        for (std::size_t i = 0; i < FDescription.Channels.size(); ++i) {
            const bool stepHere = i == 0 && row != 0;
            const std::uint8_t channel = FDescription.Channels[i];
            if (!writer.AddValue(channel, stepHere ? FDescription.RowStepUnits : 0, FDescription.ValueOf(pageIndex, row, channel))) {
                throw std::invalid_argument("the rows do not fit in a page");
            }
        }
    }
    writer.AddEnd();
}

} // namespace qel::cardgen
