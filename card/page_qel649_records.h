// The tagged record format of the QEL649 pages, which the QEL25 pages share:
// the records both decoder versions read, and the page loop of the burst-engine decoders.
#pragma once

#include "card/buffer_list.h"
#include "card/burst_data.h"
#include "card/page_base.h"
#include "card/page_logger.h"
#include "card/page_reader.h"
#include "foundations/tick_time.h"
#include "loggers/mission_data.h"

#include <array>
#include <bit>
#include <cstdint>
#include <span>

namespace qel::tagged_records {

// A record is a tag byte, high nibble the kind, low nibble an argument N,
// then the kind's bytes (little endian). Steps count units of 1000 ticks.
enum TTagKind : std::uint8_t {
    tagTime = 0,          // 5 bytes: absolute time
    tagAccBurst = 1,      // burst header + lines
    tagAdcBurst = 2,
    tagMultiValue = 3,    // count, step, mask, values
    tagNothing = 4,
    tagLimit = 5,         // conditions, raw limit 1, raw limit 2 of channel N
    tagMarker = 6,        // unused byte, step
    tagValue = 7,         // unused byte, step, value
    tagShockBurst = 8,
    tagMissionData = 9,   // length in words, mission-data section N
    tagEndTime = 10,      // 5 bytes: end time of the mission
};

constexpr std::int64_t TIME_UNIT = 1000;             // ticks of a step
constexpr std::uint32_t MAX_LIMIT_CHANNEL = 17;      // limit records of higher channels are skipped
constexpr std::int32_t TAGGED_TIME_SIZE = 5;
constexpr std::int32_t MULTI_VALUE_HEAD_SIZE = 5;    // count, step, mask
constexpr std::int32_t LIMIT_SIZE = 5;
constexpr std::int32_t MARKER_SIZE = 3;
constexpr std::int32_t VALUE_SIZE = 5;
constexpr std::int32_t BURST_HEADER_SIZE = 11;       // count, rate, mask, dt, dt2, no

// The set bits of a channel mask: a branch-free count, as the build targets
// processors without a bit-count instruction.
constexpr std::int32_t MaskWidth(std::uint16_t mask)
{
    std::uint32_t bits = mask - ((mask >> 1) & 0x5555u);
    bits = (bits & 0x3333u) + ((bits >> 2) & 0x3333u);
    bits = (bits + (bits >> 4)) & 0x0F0Fu;
    return static_cast<std::int32_t>((bits + (bits >> 8)) & 0x1Fu);
}
static_assert(MaskWidth(0) == 0 && MaskWidth(0x00A3) == 4 && MaskWidth(0xFFFF) == 16 && MaskWidth(0x8001) == 2);

// Each reader below stands after the tag and answers False when its record
// does not fit: the page ends there.

// Absolute time: the page's GetTime at the position (with its UTC offset).
inline bool ReadTaggedTime(TPage& page, TPageReader& in, std::int64_t& time)
{
    if (!in.Fits(TAGGED_TIME_SIZE)) {
        return false;
    }
    time = page.GetTime(false);
    return true;
}

// The head of a multi-value record: count n, step, channel mask. With
// stepRuleV1 a step of 0x7000 means 1,536,000 units.
struct TMultiValueHead {
    std::int32_t Rows;
    std::int64_t Step;       // units of TIME_UNIT ticks
    std::uint16_t Mask;
    std::int32_t RowBytes;   // bytes of the rows that follow the head
};

inline TMultiValueHead MultiValueHead(const std::uint8_t* head, bool stepRuleV1)
{
    const std::int32_t rows = head[0];
    const std::uint16_t stepWord = WordAt(head + 1);
    const std::uint16_t mask = WordAt(head + 3);
    const std::int64_t step = stepRuleV1 && stepWord == 0x7000 ? 1536000 : static_cast<std::int16_t>(stepWord);
    return {rows, step, mask, 2 * rows * MaskWidth(mask)};
}

// The first row of a multi-value record goes to the channels of the set
// bits in ascending order; the further rows are skipped.
inline void AddMultiValueRow(const std::uint8_t* values, std::uint16_t mask, std::int64_t time)
{
    for (std::uint32_t bits = mask; bits != 0; bits &= bits - 1, values += 2) {
        ReadBufferList.AddIntData(static_cast<std::uint32_t>(std::countr_zero(bits)), time, SmallIntAt(values));
    }
}

// Values of several channels at one time: the head, then n rows of one
// value per set mask bit.
inline bool ReadMultiValue(TPageReader& in, std::int64_t& time, bool stepRuleV1)
{
    if (!in.Fits(MULTI_VALUE_HEAD_SIZE)) {
        return false;
    }
    const TMultiValueHead head = MultiValueHead(in.Take(MULTI_VALUE_HEAD_SIZE), stepRuleV1);
    time += head.Step * TIME_UNIT;
    if (head.RowBytes == 0) {
        return true;
    }
    if (!in.Fits(head.RowBytes)) {
        return false;
    }
    AddMultiValueRow(in.Take(head.RowBytes), head.Mask, time);
    return true;
}

// Limit setting of channel: bits 5-3 of the conditions are the alarm
// condition, bits 2-0 the record condition.
template <class TLogger>
bool ReadLimit(TPageReader& in, std::uint32_t channel, TLogger& logger)
{
    if (!in.Fits(LIMIT_SIZE)) {
        return false;
    }
    const std::uint8_t conditions = in.Byte();
    const std::int16_t raw1 = in.SmallInt();
    const std::int16_t raw2 = in.SmallInt();
    if (channel <= MAX_LIMIT_CHANNEL) {
        logger.SetLimit(channel, (conditions >> 3) & 0x07, conditions & 0x07, logger.GetLimitValue(channel, raw1),
                        logger.GetLimitValue(channel, raw2));
    }
    return true;
}

// A marker: the channel gets 0, 1, 0 one tick before, at and after the time.
inline bool ReadMarker(TPageReader& in, std::int64_t& time, std::uint32_t channel)
{
    const std::uint8_t* record = in.Take(MARKER_SIZE);
    if (record == nullptr) {
        return false;
    }
    time += SmallIntAt(record + 1) * TIME_UNIT;
    ReadBufferList.AddIntData(channel, time - 1, 0);
    ReadBufferList.AddIntData(channel, time, 1);
    ReadBufferList.AddIntData(channel, time + 1, 0);
    return true;
}

// One value of the channel after a step; record: the bytes after the tag.
inline void AddValue(const std::uint8_t* record, std::int64_t& time, std::uint32_t channel)
{
    time += SmallIntAt(record + 1) * TIME_UNIT;
    ReadBufferList.AddIntData(channel, time, SmallIntAt(record + 3));
}

inline bool ReadValue(TPageReader& in, std::int64_t& time, std::uint32_t channel)
{
    const std::uint8_t* record = in.Take(VALUE_SIZE);
    if (record == nullptr) {
        return false;
    }
    AddValue(record, time, channel);
    return true;
}

// A burst word of the engine's pages: bit 15 marks a pretrigger sample, bits
// 0 to 14 are a 15-bit two's-complement value.
constexpr std::int16_t BurstValue(std::uint16_t word)
{
    const std::int32_t bits = word & 0x7FFF;
    return static_cast<std::int16_t>(bits >= 0x4000 ? bits - 0x8000 : bits);
}

// The page loop of the decoders whose bursts go to a burst engine. TFormat
// names what differs between the families:
//   TLogger, Decoder, LoggerClass   the logger class the decoder needs, for messages
//   Positions                       line positions of a burst line
//   AccChannels, AdcChannels        buffer channels of the positions (acceleration and shock, analog)
//   MarkerChannel, ValueChannel     channels of the marker and single-value records
//   Interval (rate, analog)         nominal burst interval in ticks
//   Engine ()                       the family's burst engine
template <class TFormat>
class TTaggedPage {
public:
    using TLine = TFastDataLineT<TFormat::Positions>;

    // The view of the page and the decoder's read position, shared with page.
    TTaggedPage(TPage& page, std::span<const std::uint8_t> bytes, std::int32_t& position)
        : FPage(page), FBytes(bytes), FPosition(position), FIn(bytes.data(), static_cast<std::int32_t>(bytes.size()), position)
    {
    }

    void ReadData()
    {
        auto& logger = CurrentLoggerFor<typename TFormat::TLogger>(TFormat::Decoder, TFormat::LoggerClass);
        std::int64_t time = FPage.GetTime(true);
        TMissionData& mission = ReadBufferList.MissionData;
        if (!mission.bValidStartTime) {
            mission.StartTime = DATE_TIME_2000 + TicksToDays(time);
            mission.bValidStartTime = true;
        }
        FPosition = PAGE_HEADER_SIZE;
        ReadRecords(logger, time);
    }

private:
    // Whole multi-value and value records, the bulk of a page, are read with
    // the position held here; the decoder's position is stored after each
    // record, where the reader would leave it. Every other record, and one
    // that does not fit, goes through the reader.
    void ReadRecords(typename TFormat::TLogger& logger, std::int64_t& time)
    {
        const std::uint8_t* const bytes = FBytes.data();
        const std::int32_t size = FIn.Size();
        std::int32_t position = FPosition;
        while (position >= 0 && position <= size - 2) {   // two bytes fit
            const std::uint8_t* record = bytes + position + 1;
            const std::int32_t rest = size - position - 1;  // bytes after the tag
            switch (bytes[position] >> 4) {
            case tagMultiValue:
                if (rest >= MULTI_VALUE_HEAD_SIZE) {
                    const TMultiValueHead head = MultiValueHead(record, false);
                    if (head.RowBytes <= rest - MULTI_VALUE_HEAD_SIZE) {
                        time += head.Step * TIME_UNIT;
                        position += 1 + MULTI_VALUE_HEAD_SIZE + head.RowBytes;
                        FPosition = position;
                        if (head.RowBytes != 0) {
                            AddMultiValueRow(record + MULTI_VALUE_HEAD_SIZE, head.Mask, time);
                        }
                        continue;
                    }
                }
                break;
            case tagValue:
                if (rest >= VALUE_SIZE) {
                    position += 1 + VALUE_SIZE;
                    FPosition = position;
                    AddValue(record, time, TFormat::ValueChannel);
                    continue;
                }
                break;
            default:
                break;
            }
            FPosition = position;
            if (!ReadRecord(logger, time)) {
                return;
            }
            position = FPosition;
        }
    }

    // False when the page ends.
    bool ReadRecord(typename TFormat::TLogger& logger, std::int64_t& time)
    {
        const std::uint8_t tag = FIn.Byte();
        const std::uint8_t n = tag & 0x0F;
        switch (tag >> 4) {
        case tagTime: return ReadTaggedTime(FPage, FIn, time);
        case tagAccBurst:
        case tagAdcBurst:
        case tagShockBurst: return ReadBurst(tag >> 4, n, time);
        case tagMultiValue: return ReadMultiValue(FIn, time, false);
        case tagNothing: return true;
        case tagLimit: return ReadLimit(FIn, n, logger);
        case tagMarker: return ReadMarker(FIn, time, TFormat::MarkerChannel);
        case tagValue: return ReadValue(FIn, time, TFormat::ValueChannel);
        case tagMissionData: return ReadMission(n, logger);
        case tagEndTime: return ReadEndTime();
        default: return false;   // end of the page's data
        }
    }

    bool ReadMission(std::uint8_t version, const TQEL& logger)
    {
        if (!FIn.Fits(1)) {
            return false;
        }
        const std::int32_t size = 2 * FIn.Byte();
        const std::int32_t end = FIn.Position() + size;
        if (!FIn.Fits(size)) {
            return false;
        }
        ReadMissionData(version, static_cast<std::uint16_t>(size), FBytes, FPosition, logger, ReadBufferList.MissionData);
        return FIn.Position() <= end && FIn.Seek(end);
    }

    bool ReadEndTime()
    {
        if (!FIn.Fits(TAGGED_TIME_SIZE)) {
            return false;
        }
        ReadBufferList.MissionData.rec_endtime = DATE_TIME_2000 + TicksToDays(FPage.GetTime(false));
        return true;
    }

    bool ReadBurst(std::uint8_t kind, std::uint8_t ctrl, std::int64_t& time)
    {
        if (!FIn.Fits(BURST_HEADER_SIZE)) {
            return false;
        }
        TFastDataHeader header;
        const std::int32_t lines = FIn.Byte();
        header.rate = FIn.Byte();
        header.mask = FIn.Byte();
        header.dt = FIn.SmallInt();
        header.dt2 = FIn.SmallInt();
        header.no = FIn.LongWord();
        header.ctrl = ctrl;
        header.time = time + header.dt * TIME_UNIT;
        TLine line;
        std::int32_t width = 0;
        for (std::size_t i = 0; i < TFormat::Positions; ++i) {
            line.valid[i] = (header.mask >> i & 1) != 0;
            width += line.valid[i] ? 1 : 0;
        }
        if (!FIn.Fits(2 * lines * width)) {
            return false;
        }
        auto& engine = TFormat::Engine();
        const bool analog = kind == tagAdcBurst;
        if (engine.SetMode(kind == tagAccBurst ? mdfACC : analog ? mdfADC : mdfSHOCK)) {
            engine.SetChData(line);
            engine.SetInterval(TFormat::Interval(header.rate, analog));
            engine.SetChID(analog ? TFormat::AdcChannels : TFormat::AccChannels);
        }
        bool accepted;
        if ((ctrl & 1) != 0) {
            accepted = engine.LinkBlock(header);
        } else {
            time = header.time;
            accepted = engine.NewBlock(header);
        }
        const std::uint8_t* words = FIn.Take(2 * lines * width);
        if (!accepted) {
            return true;
        }
        for (std::int32_t row = 0; row < lines; ++row) {
            line.pretrigger = false;
            for (std::size_t i = 0; i < TFormat::Positions; ++i) {
                if (line.valid[i]) {
                    const std::uint16_t word = WordAt(words);
                    words += 2;
                    line.ch[i] = BurstValue(word);
                    line.pretrigger = line.pretrigger || (word & 0x8000) != 0;
                }
            }
            engine.AddData(line);
        }
        return true;
    }

    TPage& FPage;
    std::span<const std::uint8_t> FBytes;   // the page view
    std::int32_t& FPosition;                // the decoder's read position
    TPageReader FIn;
};

} // namespace qel::tagged_records
