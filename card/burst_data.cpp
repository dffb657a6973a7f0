// Burst (fast) data engine: block bookkeeping, interval estimation, gap markers
// and the shock cut-off, writing the lines into the read buffer list.
#include "card/burst_data.h"

#include "card/buffer_list.h"
#include "card/read_card_data_thread.h"

#include <algorithm>

namespace qel {

namespace {

constexpr std::int64_t TEN_MINUTES = 614400000;   // ticks: a longer pause between blocks starts anew
constexpr std::int64_t HALF_SECOND = 512000;      // ticks: a longer pause between shock blocks is a gap
constexpr std::int32_t MAX_WAITING_BLOCKS = 100;  // more waiting blocks: write the older half
constexpr std::uint32_t MAX_MISSING = 10;         // more missing samples: a gap

// Time arithmetic on intervals measured from corrupt blocks may leave the
// signed range; it wraps instead (the times are then garbage, never undefined).
std::int64_t Add(std::int64_t a, std::int64_t b)
{
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(a) + static_cast<std::uint64_t>(b));
}

std::int64_t Sub(std::int64_t a, std::int64_t b)
{
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(a) - static_cast<std::uint64_t>(b));
}

std::int64_t Mul(std::int64_t a, std::int64_t b)
{
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(a) * static_cast<std::uint64_t>(b));
}

} // namespace

template <std::size_t Positions>
void TFastDataT<Positions>::Start()
{
    ClearState();
    AllocateRings();
    FStarted = true;
}

template <std::size_t Positions>
void TFastDataT<Positions>::AllocateRings()
{
    if (FTime.empty()) {
        FTime.resize(TIME_RING_SIZE);
        FData.resize(DATA_RING_SIZE);
        FMedian.resize(TIME_RING_SIZE);
    }
}

template <std::size_t Positions>
void TFastDataT<Positions>::Reset()
{
    ClearState();
    FStarted = false;
    FTime = {};
    FData = {};
    FMedian = {};
}

template <std::size_t Positions>
void TFastDataT<Positions>::ClearState()
{
    FLastTime = -1;
    FLastNo = 0;
    FMode = mdfNEW;
    FTimeState = ttsEMPTY;
    FTimeFirstPtr = 0;
    FTimeLastPtr = 0;
    FTimeNextPtr = 0;
    FDataNewPtr = 0;
    FLink = false;
    FLinkNo = 0;
    FCanCalcDT = false;
    FFirstGAP = true;
    FTimeNextShock = 0;
    FTimeLastShock = -1;
}

template <std::size_t Positions>
bool TFastDataT<Positions>::SetMode(TFastDataMode mode)
{
    if (FMode != mdfNEW) {
        return false;
    }
    FMode = mode;
    return true;
}

template <std::size_t Positions>
void TFastDataT<Positions>::FillEntry(const TFastDataHeader& header)
{
    FTimeNextPtr = NextTime(FTimeLastPtr);
    TFastTimeRec& entry = FTime[FTimeNextPtr];
    entry.ctrl = header.ctrl;
    entry.No = header.no;
    entry.time = header.time;
    entry.dt = header.dt;
    entry.dt2 = header.dt2;
    entry.cntAll = 0;
    entry.cntPre = 0;
    entry.link = 0;
    FLinkNo = header.no;
    FLink = false;
}

template <std::size_t Positions>
bool TFastDataT<Positions>::NewBlock(const TFastDataHeader& header)
{
    if (!FStarted) {
        return false;   // no Start: the lines are skipped
    }
    switch (FTimeState) {
    case ttsEMPTY:
        FTimeState = ttsFIRST;
        FillEntry(header);
        return true;
    case ttsFIRST:
        FTimeState = ttsREADY;
        FTimeLastPtr = NextTime(FTimeLastPtr);
        FTimeFirstPtr = FTimeLastPtr;
        break;
    case ttsREADY:
        FTimeLastPtr = NextTime(FTimeLastPtr);
        break;
    }
    FillEntry(header);

    if (FMode == mdfADC) {
        EmitAdcBlock();
        return true;
    }
    const TBlockDecision decision = FMode == mdfSHOCK ? CheckShockBlocks() : CheckBlocks();
    if (decision == TBlockDecision::WriteOlderHalf) {
        ProcessBlocks(false);
    } else if (decision == TBlockDecision::WriteAll) {
        ProcessBlocks(true);
        // Every block of the earlier event is written now; the cut-off served
        // it and must not cut the new event's own samples.
        FTimeNextShock = 0;
    }
    return true;
}

template <std::size_t Positions>
bool TFastDataT<Positions>::LinkBlock(const TFastDataHeader& header)
{
    if (FLink || header.no != FLinkNo || !FStarted) {
        return false;
    }
    FLink = true;
    return true;
}

template <std::size_t Positions>
void TFastDataT<Positions>::AddData(const TLine& data)
{
    if (!FStarted) {
        return;
    }
    TFastTimeRec& entry = FTime[NextTime(FTimeLastPtr)];
    FDataNewPtr = NextData(FDataNewPtr);
    TDataRec& line = FData[FDataNewPtr];
    for (std::size_t i = 0; i < Positions; ++i) {
        if (FChValid[i]) {
            line.value[i] = data.ch[i];
        }
    }
    if (entry.cntAll == 0) {
        entry.link = FDataNewPtr;
    }
    ++entry.cntAll;
    if (data.pretrigger) {
        ++entry.cntPre;
    }
}

template <std::size_t Positions>
std::int32_t TFastDataT<Positions>::BlockCount() const
{
    if (FTimeState != ttsREADY) {
        return 0;
    }
    return (FTimeLastPtr - FTimeFirstPtr + 1 + TIME_RING_SIZE) % TIME_RING_SIZE;
}

template <std::size_t Positions>
typename TFastDataT<Positions>::TBlockDecision TFastDataT<Positions>::CheckBlocks()
{
    const std::int32_t waiting = BlockCount();
    if (waiting == 0) {
        return TBlockDecision::Wait;
    }
    const TFastTimeRec& last = FTime[FTimeLastPtr];
    const TFastTimeRec& next = FTime[FTimeNextPtr];
    // A shock block that does not count on from the last one (which gave no
    // trigger line) starts anew, as does any block after a long pause.
    if ((FMode == mdfSHOCK && next.No <= last.No) || Sub(next.time, last.time) > TEN_MINUTES) {
        return TBlockDecision::WriteAll;
    }
    return waiting > MAX_WAITING_BLOCKS ? TBlockDecision::WriteOlderHalf : TBlockDecision::Wait;
}

template <std::size_t Positions>
typename TFastDataT<Positions>::TBlockDecision TFastDataT<Positions>::CheckShockBlocks()
{
    const std::int32_t waiting = BlockCount();
    if (waiting == 0) {
        return TBlockDecision::Wait;
    }
    const TFastTimeRec& last = FTime[FTimeLastPtr];
    const TFastTimeRec& next = FTime[FTimeNextPtr];
    const std::uint32_t continued = last.No + last.cntAll - last.cntPre;
    if ((next.ctrl & 2) == 0 && continued == next.No) {
        return CheckBlocks();
    }
    // A new shock event: the waiting samples end where its samples begin. Its
    // lines have not arrived yet, so that is the block's time stamp.
    FTimeNextShock = std::max<std::int64_t>(0, next.time);
    return TBlockDecision::WriteAll;
}

template <std::size_t Positions>
typename TFastDataT<Positions>::TCalcDT TFastDataT<Positions>::CalcDT(std::int64_t timeA, std::uint32_t numberA,
                                                                      std::int64_t timeB, std::uint32_t numberB)
{
    if (numberA == numberB) {
        return {};
    }
    const auto samples = static_cast<std::int64_t>(static_cast<std::uint32_t>(numberB - numberA));
    std::int64_t d = Sub(timeB, timeA) / samples;
    if (numberB < numberA) {
        d = Sub(0, d);
    }
    return {d, d >= 0};
}

template <std::size_t Positions>
void TFastDataT<Positions>::CalcBlockDT(std::int32_t m)
{
    if (m == 1) {
        FTime[FTimeFirstPtr].dt_ok = false;
        FTime[FTimeFirstPtr].calc_dt = 0;
        return;
    }
    for (std::int32_t i = 0, at = FTimeFirstPtr; i < m; ++i, at = NextTime(at)) {
        TFastTimeRec& block = FTime[at];
        const TFastTimeRec& next = FTime[NextTime(at)];
        const TCalcDT measured = CalcDT(block.time, block.No, next.time, next.No);
        block.calc_dt = measured.dt;
        block.dt_ok = measured.ok;
    }
}

template <std::size_t Positions>
void TFastDataT<Positions>::ValidateDT(std::int64_t nominal, std::int32_t m)
{
    const std::int64_t band = nominal / 10;
    for (std::int32_t i = 0, at = FTimeFirstPtr; i < m; ++i, at = NextTime(at)) {
        TFastTimeRec& block = FTime[at];
        if (block.calc_dt < nominal - band || block.calc_dt > nominal + band) {
            block.dt_ok = false;
        }
    }
}

template <std::size_t Positions>
std::int64_t TFastDataT<Positions>::MedianDT(std::int32_t m)
{
    std::size_t trusted = 0;
    for (std::int32_t i = 0, at = FTimeFirstPtr; i < m; ++i, at = NextTime(at)) {
        if (FTime[at].dt_ok) {
            FMedian[trusted++] = FTime[at].calc_dt;
        }
    }
    if (trusted == 0) {
        return 0;
    }
    const auto middle = FMedian.begin() + static_cast<std::ptrdiff_t>(trusted / 2);
    std::nth_element(FMedian.begin(), middle, FMedian.begin() + static_cast<std::ptrdiff_t>(trusted));
    return *middle;
}

template <std::size_t Positions>
std::int64_t TFastDataT<Positions>::GetDT(std::int64_t time, std::uint32_t no)
{
    if (time >= FRefTime) {
        FCanCalcDT = false;
    }
    if (FCanCalcDT) {
        const TCalcDT measured = CalcDT(time, no, FRefTime, FRefNo);
        if (measured.ok) {
            return measured.dt;
        }
    }
    return FLastDT;
}

template <std::size_t Positions>
void TFastDataT<Positions>::ProcessBlocks(bool flush)
{
    std::int32_t n = BlockCount();
    if (n == 0) {
        return;
    }
    if (n == 1) {
        FCanCalcDT = false;
        if (FLastTime < 0) {
            // Only one block: its own trigger part gives the interval.
            TFastTimeRec& block = FTime[FTimeFirstPtr];
            const int triggerLines = block.cntAll - block.cntPre;
            block.dt_ok = triggerLines != 0;
            block.calc_dt = block.dt_ok ? std::int64_t{block.dt2} * 1000 / triggerLines : 0;
            ValidateDT(FNomDT, 1);
            if (block.dt_ok) {
                FLastDT = block.calc_dt;
            }
        }
    } else {
        CalcBlockDT(n - 1);
        ValidateDT(MedianDT(n - 1), n - 1);
    }
    if (n > 1 && !flush) {
        n /= 2;   // the newer half waits, to be measured against the blocks after it
    }
    if (n > 1) {
        FCanCalcDT = false;
        for (std::int32_t i = 0, at = PrevTime(FTimeLastPtr); i < n - 1; ++i, at = PrevTime(at)) {
            if (FTime[at].dt_ok) {
                FCanCalcDT = true;
                FRefTime = FTime[at].time;
                FRefNo = FTime[at].No;
                break;
            }
        }
    }
    for (std::int32_t i = 0; i < n; ++i) {
        const TFastTimeRec& block = FTime[FTimeFirstPtr];
        bool first = false;
        if (FLastTime < 0) {
            FLastTime = block.time;
            FLastNo = block.No;
            FLastDT = GetDT(block.time, block.No);
            FLastTime = Sub(FLastTime, Mul(block.cntPre + 1, FLastDT));
            first = true;
        } else {
            FLastDT = GetDT(block.time, block.No);
        }
        EmitBlock(block, FLastTime, FLastNo, FLastDT, first);
        if (flush) {
            FCanCalcDT = false;
        }
        FTimeFirstPtr = NextTime(FTimeFirstPtr);
    }
    if (flush) {
        FLastTime = -1;
        FTimeState = ttsFIRST;
    }
}

template <std::size_t Positions>
void TFastDataT<Positions>::WriteLine(const TDataRec& line, std::int64_t time)
{
    for (std::size_t i = 0; i < Positions; ++i) {
        if (FChValid[i]) {
            ReadBufferList.AddIntData(FChID[i], time, line.value[i]);
        }
    }
}

template <std::size_t Positions>
void TFastDataT<Positions>::WriteGap(std::int64_t time)
{
    for (std::size_t i = 0; i < Positions; ++i) {
        if (FChValid[i]) {
            ReadBufferList.AddIntData(FChID[i], time, BURST_GAP_VALUE);
        }
    }
}

template <std::size_t Positions>
void TFastDataT<Positions>::EmitBlock(const TFastTimeRec& block, std::int64_t& time, std::uint32_t& no,
                                      std::int64_t dt, bool first)
{
    const std::uint32_t start = block.No - block.cntPre;   // number of the block's first line
    const std::uint32_t missing = start - no;
    no = start - 1;
    if (!first && (FMode == mdfACC || FMode == mdfADC) && missing > 1) {
        time = Add(time, Mul(missing - 1, dt));   // the samples that are not on the card
    }
    const bool newEvent = (block.ctrl & 2) != 0;
    bool gap = missing > MAX_MISSING || (FMode == mdfSHOCK && newEvent);
    if (FMode == mdfSHOCK && FTimeLastShock > 0) {
        gap = missing > MAX_MISSING || Sub(time, FTimeLastShock) > HALF_SECOND || newEvent;
    }
    if (gap) {
        if (FFirstGAP) {
            FFirstGAP = false;
        } else {
            WriteGap(Sub(Add(time, dt), 1));
        }
    }
    const bool cut = FMode == mdfSHOCK && FTimeNextShock > 0;
    // The line loop works on copies of what it reads, so that the sample
    // stores do not make the fields be read again for every line (as
    // WriteLine does).
    const std::int64_t nextShock = FTimeNextShock;
    const std::array<std::uint8_t, Positions> ids = FChID;
    const std::array<bool, Positions> valid = FChValid;
    const TDataRec* const lines = FData.data();
    const std::int32_t count = block.cntAll;
    std::int64_t lineTime = time;
    for (std::int32_t i = 0, at = block.link; i < count; ++i, at = NextData(at)) {
        lineTime = Add(lineTime, dt);
        if (cut && lineTime >= nextShock) {
            continue;
        }
        for (std::size_t p = 0; p < Positions; ++p) {
            if (valid[p]) {
                ReadBufferList.AddIntData(ids[p], lineTime, lines[at].value[p]);
            }
        }
    }
    if (count > 0) {
        no += static_cast<std::uint32_t>(count);
    }
    time = lineTime;
    FTimeLastShock = time;
}

template <std::size_t Positions>
void TFastDataT<Positions>::EmitAdcBlock()
{
    if (BlockCount() == 0) {
        return;
    }
    const TFastTimeRec& block = FTime[FTimeFirstPtr];
    const std::uint32_t start = block.No - block.cntPre;
    if (start - FLastNo > MAX_MISSING) {
        if (FFirstGAP) {
            FFirstGAP = false;
        } else {
            WriteGap(Sub(FLastTime, 1));
        }
    }
    // Analog samples keep the nominal interval.
    FLastTime = Sub(block.time, Mul(block.cntPre, FNomDT));
    FLastNo = start;
    for (std::int32_t i = 0, at = block.link; i < block.cntAll; ++i, at = NextData(at)) {
        WriteLine(FData[at], FLastTime);
        FLastTime = Add(FLastTime, FNomDT);
        ++FLastNo;
    }
    FTimeFirstPtr = NextTime(FTimeFirstPtr);
}

template <std::size_t Positions>
void TFastDataT<Positions>::Finish()
{
    if (FStarted && FTimeState != ttsEMPTY) {
        if (FTimeState == ttsFIRST) {
            FTimeLastPtr = NextTime(FTimeLastPtr);
            FTimeFirstPtr = FTimeLastPtr;
            FTimeState = ttsREADY;
        } else {
            FTimeLastPtr = NextTime(FTimeLastPtr);   // the block being received is complete
        }
        FTimeNextShock = 0;
        if (FMode == mdfADC) {
            EmitAdcBlock();
        } else {
            ProcessBlocks(true);
        }
    }
    ClearState();
    FStarted = false;
}

template class TFastDataT<4>;
template class TFastDataT<8>;

TFastData FastData;
TFastDataQEL25 FastDataQEL25;

void ResetBurstData()
{
    FastData.Reset();
    FastDataQEL25.Reset();
}

void InitBurstData()
{
    ResetBurstData();
    AddSideDataReset(&ResetBurstData);
}

void FinalizeBurstData()
{
    ResetBurstData();
}

} // namespace qel
