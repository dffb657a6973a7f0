// Page decoders of the QEL649 loggers (model codes 0x6606 and 0x6607): the
// tagged records, the version-1 burst placement and the version-2 hand-over to FastData.
#include "card/page_qel649.h"

#include "card/buffer_list.h"
#include "card/burst_data.h"
#include "card/page_logger.h"
#include "card/page_qel649_records.h"
#include "loggers/qel649.h"

#include <algorithm>
#include <bit>

namespace qel {

using namespace tagged_records;

namespace {

constexpr std::int64_t ACC_BASE_INTERVAL = 320;   // ticks
constexpr std::int64_t ADC_BASE_INTERVAL = 500;
constexpr std::int32_t V1_BURST_HEAD_SIZE = 7;    // count, step, link word, rate code, unused byte
constexpr std::uint16_t LINK_NEW_START = 0xFFF0;  // the block starts at its own time, after a gap
constexpr std::uint16_t LINK_NEXT = 0xFFF1;       // the block follows the last sample directly
constexpr std::int64_t MIN_BURST_ADVANCE = 10;    // ticks a block starts at least after the last sample

// Buffer channels of the four line positions.
constexpr std::array<std::uint8_t, 4> ACC_CHANNELS{2, 3, 4, 13};
constexpr std::array<std::uint8_t, 4> ADC_CHANNELS{9, 10, 11, 12};
constexpr std::uint32_t MARKER_CHANNEL = 16;
constexpr std::uint32_t VALUE_CHANNEL = 17;

const std::array<std::uint8_t, 4>& BurstChannels(std::uint8_t kind)
{
    return kind == tagAdcBurst ? ADC_CHANNELS : ACC_CHANNELS;
}

// Bytes of a burst line: a word per present position.
std::int32_t LineSize(std::uint8_t mask)
{
    return 2 * std::popcount(static_cast<unsigned>(mask & 0x0F));
}

// What the version-2 pages of the QEL649 give the tagged page loop.
struct TQel649Format {
    using TLogger = TQEL649;
    static constexpr const char* Decoder = TPageQEL649_V2::ClassName;
    static constexpr const char* LoggerClass = "TQEL649";
    static constexpr std::size_t Positions = 4;
    static constexpr std::array<std::uint8_t, 4> AccChannels = ACC_CHANNELS;
    static constexpr std::array<std::uint8_t, 4> AdcChannels = ADC_CHANNELS;
    static constexpr std::uint32_t MarkerChannel = MARKER_CHANNEL;
    static constexpr std::uint32_t ValueChannel = VALUE_CHANNEL;
    static std::int64_t Interval(std::uint8_t rate, bool analog) { return BurstIntervalQEL649(rate, analog); }
    static TFastData& Engine() { return FastData; }
};

} // namespace

std::int64_t BurstIntervalQEL649(std::uint8_t rate, bool analog)
{
    const std::int64_t base = analog ? ADC_BASE_INTERVAL : ACC_BASE_INTERVAL;
    if ((rate >= 1 && rate <= 7) || (analog && rate >= 8 && rate <= 10)) {
        return base << rate;
    }
    return base;
}

void TPageQEL649_V1::BeginRead()
{
    CurrentLoggerFor<TQEL649>(ClassName, "TQEL649").ClearLimits();
    FFastTime = 0;
    FQueueLength = 0;
    FLastLink = 0;
}

void TPageQEL649_V1::ReadData()
{
    TQEL649& logger = CurrentLoggerFor<TQEL649>(ClassName, "TQEL649");
    std::int64_t time = GetTime(true);
    bool firstBlock = FFastTime == 0;
    FPosition = PAGE_HEADER_SIZE;
    TPageReader in(FMemory, FSize, FPosition);
    while (in.Fits(2)) {
        const std::uint8_t tag = in.Byte();
        const std::uint8_t n = tag & 0x0F;
        bool fits = true;
        switch (tag >> 4) {
        case tagTime: fits = ReadTaggedTime(*this, in, time); break;
        case tagAccBurst:
        case tagAdcBurst: fits = ReadBurstBlock(in, tag >> 4, n, time, firstBlock); break;
        case tagMultiValue: fits = ReadMultiValue(in, time, true); break;
        case tagNothing: break;
        case tagLimit: fits = ReadLimit(in, n, logger); break;
        case tagMarker: fits = ReadMarker(in, time, MARKER_CHANNEL); break;
        case tagValue: fits = ReadValue(in, time, VALUE_CHANNEL); break;
        default: return;   // kinds 8 to 15: end of the page's data
        }
        if (!fits) {
            return;
        }
    }
}

TPageQEL649_V1::TBurstLine TPageQEL649_V1::ReadBurstLine(TPageReader& in, std::uint8_t mask)
{
    TBurstLine line;
    for (std::size_t i = 0; i < 4; ++i) {
        if ((mask >> i & 1) != 0) {
            const std::uint16_t word = in.Word();
            line.values[i] = static_cast<std::int16_t>(word & 0x7FFF);   // 0 ... 32767, no sign
            line.pretrigger = line.pretrigger || (word & 0x8000) != 0;
        }
    }
    return line;
}

void TPageQEL649_V1::Enqueue(std::uint8_t kind, std::uint8_t mask, const TBurstLine& line)
{
    if (FQueueLength == PRETRIGGER_QUEUE_SIZE) {
        // Full: the oldest line gives way; the lines nearest the trigger stay.
        std::move(FQueue.begin() + 1, FQueue.end(), FQueue.begin());
        --FQueueLength;
    }
    FQueue[static_cast<std::size_t>(FQueueLength++)] = TQueuedLine{kind, mask, line.values};
}

void TPageQEL649_V1::WriteBurstLine(std::uint8_t kind, std::uint8_t mask, const std::array<std::int16_t, 4>& values,
                                    std::int64_t time)
{
    const std::array<std::uint8_t, 4>& channels = BurstChannels(kind);
    for (std::size_t i = 0; i < 4; ++i) {
        if ((mask >> i & 1) != 0) {
            ReadBufferList.AddIntData(channels[i], time, values[i]);
        }
    }
}

bool TPageQEL649_V1::ReadBurstBlock(TPageReader& in, std::uint8_t kind, std::uint8_t mask, std::int64_t& time,
                                    bool& firstBlock)
{
    if (!in.Fits(V1_BURST_HEAD_SIZE)) {
        return false;
    }
    TBurstBlock block{kind, mask, in.Byte(), 0, 0};
    const std::int16_t step = in.SmallInt();
    block.link = in.Word();
    block.interval = BurstIntervalQEL649(in.Byte(), kind == tagAdcBurst);
    in.Byte();
    if (!in.Fits(block.count * LineSize(mask))) {
        return false;
    }
    if (block.link != LINK_NEXT) {
        time += step * TIME_UNIT;
    }
    if (firstBlock) {
        FFastTime = time;
    }
    if (block.count == 0) {
        return true;
    }
    // Pretrigger lines wait in the queue; the first line without one is the current line.
    TBurstLine current;
    while (block.count > 0) {
        current = ReadBurstLine(in, mask);
        if (!current.pretrigger) {
            break;
        }
        Enqueue(kind, mask, current);
        --block.count;
    }
    if (block.count == 0) {
        FLastLink = block.link;   // every line was pretrigger: they wait for the block with the trigger
        return true;
    }
    if (block.link == LINK_NEXT && FQueueLength > 0 && FLastLink != LINK_NEXT) {
        block.link = FLastLink;
    }
    std::int64_t start = 0;
    bool gap = false;
    if (!BurstStart(block, time, firstBlock, start, gap)) {
        in.Skip((block.count - 1) * LineSize(mask));   // the lines have no place in time
        return true;
    }
    start -= FQueueLength * block.interval;
    if (firstBlock) {
        firstBlock = false;
    } else if (start > FFastTime + MIN_BURST_ADVANCE) {
        FFastTime = start;
    } else {
        FFastTime += MIN_BURST_ADVANCE;
        gap = true;
    }
    WriteBurst(in, block, current, gap);
    return true;
}

bool TPageQEL649_V1::BurstStart(const TBurstBlock& block, std::int64_t time, bool firstBlock, std::int64_t& start,
                                bool& gap) const
{
    gap = false;
    if (firstBlock) {
        start = FFastTime;
    } else if (block.link >= 1 && block.link < LINK_NEW_START) {
        start = FFastTime + block.link * block.interval;
        gap = block.link != 1;
    } else if (block.link == LINK_NEW_START) {
        start = time;
        gap = true;
    } else if (block.link == LINK_NEXT) {
        start = FFastTime + block.interval;
    } else {
        return false;   // link 0, or a link word without a meaning
    }
    return true;
}

void TPageQEL649_V1::WriteBurst(TPageReader& in, const TBurstBlock& block, const TBurstLine& current, bool gap)
{
    if (gap) {
        const std::array<std::uint8_t, 4>& channels = BurstChannels(block.kind);
        for (std::size_t i = 0; i < 4; ++i) {
            if ((block.mask >> i & 1) != 0) {
                ReadBufferList.AddIntData(channels[i], FFastTime - 1, BURST_GAP_VALUE);
            }
        }
    }
    for (std::int32_t i = 0; i < FQueueLength; ++i) {
        const TQueuedLine& queued = FQueue[static_cast<std::size_t>(i)];
        WriteBurstLine(queued.kind, queued.mask, queued.values, FFastTime);
        FFastTime += block.interval;
    }
    FQueueLength = 0;
    WriteBurstLine(block.kind, block.mask, current.values, FFastTime);
    for (std::int32_t i = 1; i < block.count; ++i) {
        const TBurstLine line = ReadBurstLine(in, block.mask);
        FFastTime += block.interval;
        WriteBurstLine(block.kind, block.mask, line.values, FFastTime);
    }
}

void TPageQEL649_V2::BeginRead()
{
    FastData.Start();
}

void TPageQEL649_V2::FinishRead()
{
    FastData.Finish();
}

void TPageQEL649_V2::ReadData()
{
    TTaggedPage<TQel649Format> page(*this, {FMemory, static_cast<std::size_t>(FSize)}, FPosition);
    page.ReadData();
}

namespace page_qel649 {

const TPageClass& SelectPageClass(std::uint16_t Version)
{
    return Version < 0x011F ? PageClassOf<TPageQEL649_V1>() : PageClassOf<TPageQEL649_V2>();
}

} // namespace page_qel649
} // namespace qel
