// Tests of the burst-data engine: placement of the lines at rebuilt times,
// the trust band of measured intervals, gap markers, block continuation, the
// shock cut-off and analog blocks.
#include "card/burst_data.h"
#include "card/read_card_data_thread.h"
#include "tests/card/decoder_fixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace qel {
namespace {

using namespace qeltest;

constexpr std::int64_t T = 1000000;   // a block time, ticks
constexpr std::uint32_t CH = 2;       // buffer channel of the one position in use

class BurstEngine : public DecoderTest {
protected:
    void SetUp() override
    {
        DecoderTest::SetUp();
        UseLogger<TQEL>(0x6606, 0x0120);
    }
    void TearDown() override
    {
        FastData.Reset();
        DecoderTest::TearDown();
    }

    // Starts a recording whose bursts use position 0 only.
    void Start(TFastDataMode mode, std::int64_t interval)
    {
        FastData.Start();
        ASSERT_TRUE(FastData.SetMode(mode));
        TFastDataLine line;
        line.valid[0] = true;
        FastData.SetChData(line);
        FastData.SetInterval(interval);
        FastData.SetChID({CH, 0, 0, 0});
    }

    // A block of `lines` lines, the first `pre` of them pretrigger; line k
    // holds value + k.
    void Block(std::int64_t time, std::uint32_t no, int lines, int pre, std::int16_t value, std::uint8_t ctrl = 0,
               std::int16_t dt2 = 0)
    {
        TFastDataHeader header;
        header.time = time;
        header.no = no;
        header.ctrl = ctrl;
        header.dt2 = dt2;
        ASSERT_TRUE(FastData.NewBlock(header));
        Lines(lines, pre, value);
    }

    void Lines(int lines, int pre, std::int16_t value)
    {
        for (int k = 0; k < lines; ++k) {
            TFastDataLine line;
            line.valid[0] = true;
            line.ch[0] = static_cast<std::int16_t>(value + k);
            line.pretrigger = k < pre;
            FastData.AddData(line);
        }
    }

    // Samples of a block's lines from time on, dt apart, values value + k.
    static void Expect(std::vector<TRawSample>& samples, std::int64_t time, std::int64_t dt, int lines, std::int16_t value)
    {
        for (int k = 0; k < lines; ++k) {
            samples.emplace_back(time + k * dt, static_cast<std::int16_t>(value + k));
        }
    }

    std::vector<TRawSample> Written() { return ReadListSeries()[CH]; }
};

TEST_F(BurstEngine, SingleBlockTakesTheIntervalOfItsTriggerPartWhenTrusted)
{
    const struct {
        std::int16_t dt2;
        int pretrigger;
        std::int64_t interval;   // the one the lines are written with
    } cases[] = {
        {16, 2, 2000},   // 16,000 / 8: the first trigger line at T
        {17, 2, 2125},   // 6 % above the nominal interval: trusted
        {18, 2, 2000},   // 12.5 % above: the nominal interval
        {16, 10, 2000},  // no trigger line to measure
    };
    for (const auto& c : cases) {
        ReadBufferList.ClearAll();
        Start(mdfACC, 2000);
        Block(T, 100, 10, c.pretrigger, 0, 0, c.dt2);
        FastData.Finish();
        std::vector<TRawSample> expected;
        Expect(expected, T - c.pretrigger * c.interval, c.interval, 10, 0);
        EXPECT_EQ(Written(), expected) << "dt2 " << c.dt2 << ", pretrigger " << c.pretrigger;
    }
}

TEST_F(BurstEngine, MeasuredIntervalsOutsideTenPercentOfTheMedianLoseTheirTrust)
{
    // Four blocks of ten lines. The intervals measured between them are 1000,
    // 1040 and x ticks; the median is 1040. When x keeps its trust, the
    // interval comes from the latest trusted block, the third: 20,400 / 20 =
    // 1020; otherwise from the second: 10,000 / 10 = 1000.
    const struct {
        std::int64_t x;
        std::int64_t interval;
    } cases[] = {{1144, 1020}, {1155, 1000}};
    for (const auto& c : cases) {
        ReadBufferList.ClearAll();
        Start(mdfACC, 1000);
        Block(T, 0, 10, 0, 0);
        Block(T + 10000, 10, 10, 0, 100);
        Block(T + 20400, 20, 10, 0, 200);
        Block(T + 20400 + 10 * c.x, 30, 10, 0, 300);
        FastData.Finish();
        std::vector<TRawSample> expected;
        for (int b = 0; b < 4; ++b) {
            Expect(expected, T + 10 * b * c.interval, c.interval, 10, static_cast<std::int16_t>(100 * b));
        }
        EXPECT_EQ(Written(), expected) << "x = " << c.x;
    }
}

TEST_F(BurstEngine, RegularStreamOfManyBlocksKeepsItsInterval)
{
    // 150 blocks of 10 lines, 2560 ticks per sample: more than 100 blocks
    // wait, so the older half is written while the rest waits for Finish.
    Start(mdfACC, 2560);
    std::vector<TRawSample> expected;
    for (int b = 0; b < 150; ++b) {
        Block(T + b * 25600, static_cast<std::uint32_t>(5000 + 10 * b), 10, 0, static_cast<std::int16_t>(b));
        Expect(expected, T + b * 25600, 2560, 10, static_cast<std::int16_t>(b));
        if (b == 101) {
            EXPECT_EQ(ReadBufferList[0]->GetCnt(), 500) << "the older half of 101 waiting blocks";
        }
    }
    FastData.Finish();
    EXPECT_EQ(Written(), expected);
}

TEST_F(BurstEngine, MissingSamplesShiftTheNextBlockAndMarkAGapAfterTheFirst)
{
    for (const std::uint32_t missing : {10u, 11u, 12u}) {
        ReadBufferList.ClearAll();
        Start(mdfACC, 2000);
        Block(T, 1, 10, 1, 0);                           // samples 0 to 9; the record's first gap: no marker
        Block(T + 50000, 9 + missing, 10, 0, 100);       // follows sample 9 by `missing`
        FastData.Finish();
        std::vector<TRawSample> expected;
        Expect(expected, T - 2000, 2000, 10, 0);
        const std::int64_t first = T - 2000 + (9 + missing) * 2000;   // sample 9 + missing
        if (missing > 10) {
            expected.emplace_back(first - 1, BURST_GAP_VALUE);
        }
        Expect(expected, first, 2000, 10, 100);
        EXPECT_EQ(Written(), expected) << missing << " samples missing";
    }
}

TEST_F(BurstEngine, ContinuationExtendsTheCurrentBlockOnce)
{
    Start(mdfACC, 2000);
    Block(T, 0, 3, 0, 0);
    TFastDataHeader continuation;
    continuation.no = 0;
    continuation.ctrl = 1;
    ASSERT_TRUE(FastData.LinkBlock(continuation));
    Lines(2, 0, 3);
    EXPECT_FALSE(FastData.LinkBlock(continuation));   // a second continuation
    continuation.no = 7;
    EXPECT_FALSE(FastData.LinkBlock(continuation));   // another block's number
    FastData.Finish();
    std::vector<TRawSample> expected;
    Expect(expected, T, 2000, 5, 0);
    EXPECT_EQ(Written(), expected);
}

TEST_F(BurstEngine, NewShockEventCutsTheWaitingSamplesAndKeepsItsOwn)
{
    const std::int64_t jump = 11 * 60 * 1024000;   // 11 minutes
    Start(mdfSHOCK, 1000);
    Block(T, 0, 10, 0, 0);                          // event 1; the record's first gap is event 2's start
    Block(T + 10000, 10, 10, 0, 100);               // continues it; its samples run to T + 19,000
    Block(T + 15000, 1000, 10, 0, 200, 2);          // event 2 starts at T + 15,000
    Block(T + 25000, 1010, 10, 0, 300);             // continues event 2
    Block(T + 25000 + jump, 1020, 10, 0, 400);      // continues it after a long pause
    FastData.Finish();
    std::vector<TRawSample> expected;
    Expect(expected, T, 1000, 10, 0);
    Expect(expected, T + 10000, 1000, 5, 100);      // cut where event 2 begins
    Expect(expected, T + 15000, 1000, 10, 200);     // event 2 in full
    Expect(expected, T + 25000, 1000, 10, 300);
    expected.emplace_back(T + 25000 + jump - 1, BURST_GAP_VALUE);
    Expect(expected, T + 25000 + jump, 1000, 10, 400);
    EXPECT_EQ(Written(), expected);
}

TEST_F(BurstEngine, ShockBlockAfterABlockWithoutTriggerLinesStartsAtItsOwnTime)
{
    // The first block holds three pretrigger lines only, so the next block
    // "continues" it with the same sample number. It does not count on from
    // it: the waiting block is written, and the next one is placed from its
    // own time stamp (50 samples later), not right after the first.
    Start(mdfSHOCK, 1000);
    Block(T, 100, 3, 3, 0);
    Block(T + 50000, 100, 5, 0, 100);
    FastData.Finish();
    std::vector<TRawSample> expected;
    Expect(expected, T - 3000, 1000, 3, 0);
    Expect(expected, T + 50000, 1000, 5, 100);
    EXPECT_EQ(Written(), expected);
}

TEST_F(BurstEngine, AnalogBlocksUseTheNominalIntervalFromTheirOwnTime)
{
    Start(mdfADC, 500);
    Block(T, 1000, 4, 1, 0);            // one pretrigger line: starts at T - 500
    EXPECT_EQ(ReadBufferList.Count(), 0) << "a block is written when the next one arrives";
    Block(T + 3000, 1003, 4, 0, 100);   // follows directly
    Block(T + 9000, 1020, 2, 0, 200);   // 13 samples later: a gap
    FastData.Finish();
    std::vector<TRawSample> expected;
    Expect(expected, T - 500, 500, 4, 0);
    Expect(expected, T + 3000, 500, 4, 100);
    expected.emplace_back(T + 3000 + 4 * 500 - 1, BURST_GAP_VALUE);
    Expect(expected, T + 9000, 500, 2, 200);
    EXPECT_EQ(Written(), expected);
}

TEST_F(BurstEngine, RecordingDecodesAsAloneWhateverTheRecordingBeforeIt)
{
    // The rings stay from recording to recording; nothing of the recording
    // before, finished or ended early, may show in the next one.
    struct TRecording {
        const char* name;
        std::function<void()> run;   // Start and the blocks, without Finish
    };
    const TRecording before[] = {
        {"many acceleration blocks",
         [&] {
             Start(mdfACC, 1000);
             for (int b = 0; b < 250; ++b) {
                 Block(T + b * 40000, static_cast<std::uint32_t>(40 * b), 40, b % 3, static_cast<std::int16_t>(b));
             }
         }},
        {"a shock event cut by the next",
         [&] {
             Start(mdfSHOCK, 1000);
             Block(T, 0, 10, 4, 0);
             Block(T + 5000, 500, 10, 2, 100, 2);
         }},
        {"analog blocks", [&] {
             Start(mdfADC, 500);
             Block(T, 1000, 30, 5, 0);
             Block(T + 90000, 1100, 30, 0, 300);
         }},
    };
    const TRecording recordings[] = {
        {"acceleration with a gap and a continuation",
         [&] {
             Start(mdfACC, 2000);
             Block(T + 1000000, 7, 10, 3, 10, 0, 14);
             Block(T + 1030000, 40, 6, 0, 20);
             TFastDataHeader continuation;
             continuation.no = 40;
             continuation.ctrl = 1;
             ASSERT_TRUE(FastData.LinkBlock(continuation));
             Lines(4, 0, 26);
         }},
        {"shock events", [&] {
             Start(mdfSHOCK, 1000);
             Block(T + 2000000, 50, 8, 2, 30, 2);
             Block(T + 2008000, 56, 8, 0, 40);
             Block(T + 2012000, 900, 5, 1, 50, 2);
         }},
    };
    for (const TRecording& recording : recordings) {
        ReadBufferList.ClearAll();
        FastData.Reset();
        recording.run();
        FastData.Finish();
        const std::vector<TRawSample> alone = Written();
        ASSERT_FALSE(alone.empty()) << recording.name;
        for (const TRecording& earlier : before) {
            for (const bool finished : {true, false}) {
                earlier.run();
                if (finished) {
                    FastData.Finish();
                }
                ReadBufferList.ClearAll();
                recording.run();
                FastData.Finish();
                EXPECT_EQ(Written(), alone) << recording.name << " after " << earlier.name
                                            << (finished ? "" : " (ended early)");
            }
        }
    }
}

TEST_F(BurstEngine, FirstBurstBlockFixesTheMode)
{
    FastData.Start();
    EXPECT_EQ(FastData.GetMode(), mdfNEW);
    EXPECT_TRUE(FastData.SetMode(mdfSHOCK));
    EXPECT_FALSE(FastData.SetMode(mdfACC));
    EXPECT_EQ(FastData.GetMode(), mdfSHOCK);
    FastData.Start();
    EXPECT_TRUE(FastData.SetMode(mdfADC));
}

TEST_F(BurstEngine, ADataReadBeginsWithEmptyEngines)
{
    InitBurstData();
    Start(mdfACC, 2000);
    Block(T, 0, 10, 0, 0);   // a read that ended before Finish
    FastDataQEL25.Start();
    FastDataQEL25.SetMode(mdfADC);

    TRecInfoList noRecords;
    TExtCard noCard;
    ReadCardData(noCard, noRecords, {});
    EXPECT_EQ(FastData.GetMode(), mdfNEW);
    EXPECT_EQ(FastDataQEL25.GetMode(), mdfNEW);
    TFastDataHeader header;
    EXPECT_FALSE(FastData.NewBlock(header)) << "without Start the engine takes no block";
    FastData.Finish();
    EXPECT_EQ(ReadBufferList.Count(), 0);
}

} // namespace
} // namespace qel
