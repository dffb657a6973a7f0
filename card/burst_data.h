// Burst (fast) data engine: collects the burst blocks of a recording, rebuilds
// the real sample interval from neighbouring blocks and writes each line's values at the rebuilt times.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qel {

enum TFastDataMode : std::uint8_t {
    mdfNEW,     // no burst seen yet in this recording
    mdfACC,     // acceleration
    mdfSHOCK,   // shock events
    mdfADC,     // analog inputs
};

enum TTimeState : std::uint8_t {
    ttsEMPTY,   // no block yet
    ttsFIRST,   // one block being received, none complete
    ttsREADY,   // complete blocks can be processed
};

// Raw value written to every channel in use where samples are missing.
constexpr std::int16_t BURST_GAP_VALUE = 0x7FF0;

// What the page decoder read in a burst block's header.
struct TFastDataHeader {
    std::uint8_t ctrl = 0;      // bit 0: continues the previous block; bit 1: starts a new shock event
    std::int16_t dt = 0;        // step to the block's time, units of 1000 ticks
    std::int16_t dt2 = 0;       // duration of the block's trigger part, units of 1000 ticks
    std::uint8_t rate = 0;      // rate code
    std::uint8_t mask = 0;      // line positions present
    std::uint32_t no = 0;       // number of the block's first sample in the logger's sample count
    std::int64_t time = 0;      // the block's time stamp, ticks
};

// One line of a burst block: a value per present position.
template <std::size_t Positions>
struct TFastDataLineT {
    std::array<bool, Positions> valid{};         // positions present
    std::array<std::int16_t, Positions> ch{};    // raw values
    bool pretrigger = false;                     // recorded before the trigger
};

// Bookkeeping of one block on the block ring.
struct TFastTimeRec {
    std::uint16_t ctrl = 0;
    std::int32_t link = 0;        // index of the block's first line on the line ring
    std::uint16_t cntAll = 0;     // lines received
    std::uint16_t cntPre = 0;     // of them pretrigger lines
    std::uint32_t No = 0;         // number of the block's first sample
    std::int64_t time = 0;        // time stamp, ticks
    std::int16_t dt = 0;
    std::int16_t dt2 = 0;
    std::int64_t calc_dt = 0;     // interval measured to the next block, ticks
    bool dt_ok = false;           // calc_dt is trusted
};

// The engine, for lines of Positions values. Per recording: Start, then the
// blocks and their lines in page order, then Finish. Samples go to
// ReadBufferList (the active logger's buffers) under the channel numbers set
// with SetChID. Blocks wait on the block ring until intervals can be measured
// against their successors; at most about 100 wait, so neither ring wraps
// over unwritten data. The rings are allocated by the first Start after a
// Reset and kept from recording to recording: a ring entry is always written
// within a recording before it is read, so what an earlier recording left in
// them never shows. Nothing is allocated between Start and Finish.
template <std::size_t Positions>
class TFastDataT {
public:
    using TLine = TFastDataLineT<Positions>;
    static constexpr std::int32_t TIME_RING_SIZE = 1000;     // block entries
    static constexpr std::int32_t DATA_RING_SIZE = 200000;   // lines

    // Forgets everything of an earlier recording; allocates the rings when
    // they are not there yet.
    void Start();
    // Writes the blocks still waiting and ends the recording; the rings stay
    // for the next Start.
    void Finish();
    // Frees the rings and returns to the state before Start, writing nothing:
    // a data read begins with this, so nothing of a read that ended early remains.
    void Reset();

    // Sets the mode and answers True only while it is still mdfNEW: the first
    // burst block of a recording fixes mode, positions, interval and channels.
    bool SetMode(TFastDataMode mode);
    TFastDataMode GetMode() const { return FMode; }
    // The positions in use: the valid flags of data.
    void SetChData(const TLine& data) { FChValid = data.valid; }
    // The nominal sample interval, ticks.
    void SetInterval(std::int64_t interval) { FNomDT = interval; FLastDT = interval; }
    // The buffer channel of each line position.
    void SetChID(const std::array<std::uint8_t, Positions>& ids) { FChID = ids; }

    // Registers a new block and writes what can be written; True, or False
    // (the lines are skipped) outside Start ... Finish.
    bool NewBlock(const TFastDataHeader& header);
    // True, once per block, for a continuation of the current block (same
    // no): its lines extend that block. False otherwise: the caller skips the lines.
    bool LinkBlock(const TFastDataHeader& header);
    // Appends a line to the block being received.
    void AddData(const TLine& data);

private:
    struct TDataRec {
        std::array<std::int16_t, Positions> value{};
    };
    struct TCalcDT {
        std::int64_t dt = 0;
        bool ok = false;
    };
    // What a new block means for the waiting blocks.
    enum class TBlockDecision {
        Wait,             // wait for more blocks to measure against
        WriteOlderHalf,   // too many wait: write the older half
        WriteAll,         // a long pause or a new shock event: write every waiting block and start anew
    };

    static std::int32_t NextTime(std::int32_t i) { return i + 1 == TIME_RING_SIZE ? 0 : i + 1; }
    static std::int32_t PrevTime(std::int32_t i) { return i == 0 ? TIME_RING_SIZE - 1 : i - 1; }
    static std::int32_t NextData(std::int32_t i) { return i + 1 == DATA_RING_SIZE ? 0 : i + 1; }
    static TCalcDT CalcDT(std::int64_t timeA, std::uint32_t numberA, std::int64_t timeB, std::uint32_t numberB);

    void ClearState();
    void AllocateRings();
    void FillEntry(const TFastDataHeader& header);
    std::int32_t BlockCount() const;
    TBlockDecision CheckBlocks();
    TBlockDecision CheckShockBlocks();
    void ProcessBlocks(bool flush);
    void CalcBlockDT(std::int32_t m);
    void ValidateDT(std::int64_t nominal, std::int32_t m);
    std::int64_t MedianDT(std::int32_t m);
    std::int64_t GetDT(std::int64_t time, std::uint32_t no);
    void EmitBlock(const TFastTimeRec& block, std::int64_t& time, std::uint32_t& no, std::int64_t dt, bool first);
    void EmitAdcBlock();
    void WriteLine(const TDataRec& line, std::int64_t time);
    void WriteGap(std::int64_t time);

    bool FStarted = false;               // between Start and Finish: blocks are taken
    TFastDataMode FMode = mdfNEW;
    std::array<std::uint8_t, Positions> FChID{};   // buffer channel of each line position
    std::array<bool, Positions> FChValid{};        // positions in use

    std::vector<TFastTimeRec> FTime;     // block ring
    std::int32_t FTimeFirstPtr = 0;      // oldest block not yet written
    std::int32_t FTimeLastPtr = 0;       // newest complete block; the one after it is being received
    std::int32_t FTimeNextPtr = 0;       // the block being received
    TTimeState FTimeState = ttsEMPTY;

    std::vector<TDataRec> FData;         // line ring
    std::int32_t FDataNewPtr = 0;        // line stored last

    bool FLink = false;                  // the current block was continued once
    std::uint32_t FLinkNo = 0;           // no of the current block

    std::int64_t FNomDT = 0;             // nominal sample interval, ticks
    std::int64_t FLastDT = 0;            // interval used last
    bool FCanCalcDT = false;             // a reference block for measuring the interval is known
    std::int64_t FRefTime = 0;           // the reference block's time and sample number
    std::uint32_t FRefNo = 0;

    std::int64_t FLastTime = -1;         // time of the sample written last; -1: none since Start or a flush
    std::uint32_t FLastNo = 0;           // its sample number
    bool FFirstGAP = true;               // the next gap gets no marker

    std::int64_t FTimeNextShock = 0;     // while > 0, samples at or after it are not written
    std::int64_t FTimeLastShock = -1;    // time after the last line written; -1: none

    std::vector<std::int64_t> FMedian;   // scratch of MedianDT, allocated with the rings
};

using TFastData = TFastDataT<4>;          // QEL649: four line positions
using TFastDataQEL25 = TFastDataT<8>;     // QEL25: eight line positions
using TFastDataLine = TFastDataLineT<4>;
using TFastDataLineQEL25 = TFastDataLineT<8>;

extern template class TFastDataT<4>;
extern template class TFastDataT<8>;

// The engines of the QEL649 and QEL25 decoders, used by one read at a time.
extern TFastData FastData;
extern TFastDataQEL25 FastDataQEL25;

// Resets both engines (see Reset).
void ResetBurstData();
// Resets both engines and makes every data read reset them as it begins; the
// program's unit start calls it once.
void InitBurstData();
// Frees what the engines hold; the program's unit end calls it.
void FinalizeBurstData();

} // namespace qel
