// Page decoders of the QEL649 loggers (model codes 0x6606 and 0x6607): pages
// of tagged records with slow channels, markers, limits, mission data and bursts.
#pragma once

#include "card/page_base.h"
#include "card/page_reader.h"

#include <array>
#include <cstdint>

namespace qel {

// Nominal burst interval in ticks of a QEL649 rate code: base 320 for
// acceleration and shock blocks, 500 for analog blocks; codes 1 to 7 multiply
// the base by 2^code, codes 8 to 10 only for analog blocks; other codes give the base.
std::int64_t BurstIntervalQEL649(std::uint8_t rate, bool analog);

// PC versions below 1.31. Places its burst samples itself: the burst time and
// the queue of pretrigger lines carry over from page to page of a recording.
class TPageQEL649_V1 : public TPage {
public:
    static constexpr const char* ClassName = "TPageQEL649_V1";
    // Clears the logger's limits and the burst state.
    void BeginRead() override;
    void ReadData() override;

    static constexpr int PRETRIGGER_QUEUE_SIZE = 41;

private:
    // A line waiting for the first trigger line of its burst.
    struct TQueuedLine {
        std::uint8_t kind;                    // tag kind: 1 acceleration, 2 analog
        std::uint8_t mask;                    // positions present
        std::array<std::int16_t, 4> values;   // by position
    };
    struct TBurstLine {
        std::array<std::int16_t, 4> values{};
        bool pretrigger = false;
    };
    // What a burst record's head says.
    struct TBurstBlock {
        std::uint8_t kind;        // 1 acceleration, 2 analog
        std::uint8_t mask;        // positions present
        std::int32_t count;       // lines not yet placed
        std::uint16_t link;       // link word: how the block follows the last burst sample
        std::int64_t interval;    // ticks between its samples
    };

    // One burst record (tag kinds 1 and 2); False when it does not fit: the page ends.
    bool ReadBurstBlock(TPageReader& in, std::uint8_t kind, std::uint8_t mask, std::int64_t& time, bool& firstBlock);
    // Where the block's first line (before the queued lines) lies and whether
    // a gap precedes it; False when its link word gives it no place in time.
    bool BurstStart(const TBurstBlock& block, std::int64_t time, bool firstBlock, std::int64_t& start, bool& gap) const;
    // The gap marker, the queued lines, the current line and the block's
    // remaining lines, from FFastTime on.
    void WriteBurst(TPageReader& in, const TBurstBlock& block, const TBurstLine& current, bool gap);
    static TBurstLine ReadBurstLine(TPageReader& in, std::uint8_t mask);
    void Enqueue(std::uint8_t kind, std::uint8_t mask, const TBurstLine& line);
    static void WriteBurstLine(std::uint8_t kind, std::uint8_t mask, const std::array<std::int16_t, 4>& values,
                               std::int64_t time);

    std::int64_t FFastTime = 0;           // time of the burst sample written last; 0: none in this recording
    std::uint16_t FLastLink = 0;          // link word of the last block whose lines were all pretrigger
    std::int32_t FQueueLength = 0;
    std::array<TQueuedLine, PRETRIGGER_QUEUE_SIZE> FQueue;   // oldest first
};

// PC versions from 1.31: mission data, end time, and bursts placed by the
// burst engine FastData, which each recording starts and finishes.
class TPageQEL649_V2 : public TPageQEL649_V1 {
public:
    static constexpr const char* ClassName = "TPageQEL649_V2";
    void BeginRead() override;
    void FinishRead() override;
    void ReadData() override;
};

namespace page_qel649 {
// TPageQEL649_V1 below 0x011F, TPageQEL649_V2 from 0x011F.
const TPageClass& SelectPageClass(std::uint16_t Version);
} // namespace page_qel649

} // namespace qel
