// The extended page header of the QEL629c and QEL62xW pages: typed sections
// after the page header that carry channel limits (and, in QEL62xW pages, flex-channel names).
#pragma once

#include "card/page_reader.h"

#include <bit>
#include <cstdint>

namespace qel::extended_header {

// Layout from byte 8 (header flag bit 4), words little endian:
//   8-9       mark 0x00E0
//   10-11     L: length of the section area in words
//   12...     sections, up to byte 12 + 2L, where the records begin; each a
//             type word, a length word N (in words) and 2N bytes of entries.
constexpr std::uint16_t MARK = 0x00E0;
constexpr std::int32_t LIMIT_ENTRY_SIZE = 10;

// Section types 1 and 2 hold channel limit entries.
constexpr bool IsLimitSection(std::uint16_t type)
{
    return type == 1 || type == 2;
}

// Channel limit entry: byte 0 the index into the logger's channel list, byte
// 1 bits 2-0 the record condition and bits 5-3 the alarm condition, bytes
// 2-5 and 6-9 the two limits as singles.
struct TLimitEntry {
    std::uint8_t Index = 0;
    std::uint8_t Conditions = 0;
    float Limit1 = 0.0f;
    float Limit2 = 0.0f;
};

// Reads one entry at the position (the caller tested that it fits).
inline TLimitEntry ReadLimitEntry(TPageReader& in)
{
    TLimitEntry entry;
    entry.Index = in.Byte();
    entry.Conditions = in.Byte();
    entry.Limit1 = std::bit_cast<float>(in.LongWord());
    entry.Limit2 = std::bit_cast<float>(in.LongWord());
    return entry;
}

// The entry becomes the limit of the channel it names, read from the card;
// an index at or beyond the channel count changes nothing.
template <class TChannels>
void ApplyLimitEntry(const TLimitEntry& entry, TChannels& channels)
{
    if (entry.Index >= channels.Count()) {
        return;
    }
    auto& limit = *channels.GetItem(entry.Index).Limit;
    limit.rec_condition = entry.Conditions & 0x07;
    limit.alarm_condition = (entry.Conditions >> 3) & 0x07;
    limit.limit_L1 = entry.Limit1;
    limit.limit_L2 = entry.Limit2;
    limit.bReaderRead = true;
}

// Calls readEntry (in) for every whole entry of entrySize bytes that lies
// before end; readEntry reads exactly one entry.
template <class TReadEntry>
void ForEachEntry(TPageReader& in, std::int32_t end, std::int32_t entrySize, TReadEntry&& readEntry)
{
    while (in.Position() + entrySize <= end) {
        readEntry(in);
    }
}

// Reads the header at the reader's position (byte 8) and leaves the
// position on the first record. Each section goes to readSection (type, in,
// end), which reads the entries it knows before end; the rest of the section
// is passed over. False when the header is broken (wrong mark, area or
// section past the view): the page then gives no sample, and entries applied
// before the fault stay applied.
template <class TReadSection>
bool Read(TPageReader& in, TReadSection&& readSection)
{
    if (!in.Fits(4) || in.Word() != MARK) {
        return false;
    }
    const std::int32_t areaWords = in.Word();
    if (!in.Fits(2 * areaWords)) {
        return false;
    }
    const std::int32_t areaEnd = in.Position() + 2 * areaWords;
    while (in.Position() < areaEnd) {
        if (!in.Fits(4)) {
            return false;
        }
        const std::uint16_t type = in.Word();
        const std::int32_t size = 2 * in.Word();
        if (!in.Fits(size)) {
            return false;
        }
        const std::int32_t end = in.Position() + size;
        readSection(type, in, end);
        in.Seek(end);
    }
    return in.Seek(areaEnd);
}

} // namespace qel::extended_header
