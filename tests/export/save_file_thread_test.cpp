// Save thread base: messages and callback texts in order, data rows and
// markers, block size, time window, parts by the value budget, cancellation
// and file errors, and what a failed save leaves on disk.
#include "export/data_file.h"
#include "export/save_file_thread.h"
#include "foundations/file_names.h"
#include "foundations/qel_error.h"
#include "foundations/tick_time.h"
#include "loggers/qel649.h"
#include "tests/export/save_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using qel::TSaveFileThread;
using qeltest::BlockFileContent;
using qeltest::LogEntry;
using qeltest::PayloadCursor;

// A saver that records what the part loop hands to its steps.
struct PartCall {
    std::string fileName;
    std::int64_t firstTime;
};
std::vector<PartCall> RecordedParts;

class RecordingSaver : public TSaveFileThread {
public:
    static const qel::TSaveFileThreadClassInfo ClassInfo;
    using TSaveFileThread::TSaveFileThread;

protected:
    void WriteSideFiles(const std::string& FileName) override { RecordedParts.push_back({FileName, -2}); }
    void WriteHeader(std::int64_t FirstTime) override { RecordedParts.back().firstTime = FirstTime; }
};
const qel::TSaveFileThreadClassInfo RecordingSaver::ClassInfo =
    qel::MakeSaveFileThreadClass<RecordingSaver>("RecordingSaver");

class SaveFileThreadTest : public qeltest::SaveFixture {
protected:
    SaveFileThreadTest() { RecordedParts.clear(); }

    // The log as short texts: "R:" report, "I:" saved file, "S:state:value".
    std::vector<std::string> Trace() const
    {
        std::vector<std::string> trace;
        for (const LogEntry& entry : log) {
            switch (entry.kind) {
            case LogEntry::Report:
                trace.push_back("R:" + entry.text);
                break;
            case LogEntry::SaveInfo:
                trace.push_back("I:" + entry.text);
                break;
            case LogEntry::Status:
                trace.push_back("S:" + std::to_string(entry.state) + ":" + std::to_string(entry.value));
                break;
            }
        }
        return trace;
    }

    std::vector<plat::LPARAM> Progress() const
    {
        std::vector<plat::LPARAM> percents;
        for (const LogEntry& entry : log) {
            if (entry.kind == LogEntry::Status && entry.state == qel::THREAD_PROGRESS) {
                percents.push_back(entry.value);
            }
        }
        return percents;
    }

    // Rows of the block-8 blocks of a part, as (time, cell bits).
    struct Row {
        double time;
        std::vector<std::uint32_t> cells;
    };
    static std::vector<Row> Rows(const BlockFileContent& content, int channels)
    {
        std::vector<Row> rows;
        for (const qeltest::BlockRecord& block : content.blocks) {
            if (block.type != qel::BLOCK_ROWS) {
                continue;
            }
            EXPECT_EQ(block.payload.size() % static_cast<std::size_t>(8 + 4 * channels), 0u) << "whole rows only";
            PayloadCursor cursor(block.payload);
            while (cursor.Remaining() >= static_cast<std::size_t>(8 + 4 * channels)) {
                Row row{cursor.Double(), {}};
                for (int c = 0; c < channels; ++c) {
                    row.cells.push_back(cursor.SingleBits());
                }
                rows.push_back(row);
            }
        }
        return rows;
    }

    static std::vector<std::size_t> RowsPerBlock(const BlockFileContent& content, int channels)
    {
        std::vector<std::size_t> counts;
        for (const qeltest::BlockRecord& block : content.blocks) {
            if (block.type == qel::BLOCK_ROWS) {
                counts.push_back(block.payload.size() / static_cast<std::size_t>(8 + 4 * channels));
            }
        }
        return counts;
    }
};

std::uint32_t Bits(float value)
{
    return qel::SingleBits(value);
}

TEST_F(SaveFileThreadTest, MessagesAndCallbackTextsArriveInOrderBeforeTheFinish)
{
    qel::TQEL& logger = AddLogger<qel::TQEL>(5, 0x1234, 0x0100);
    AddSeries(logger, 0, 3);
    RunSave(&TSaveFileThread::ClassInfo);

    const std::vector<std::string> expected = {
        "R:**** SAVE DATA ****", "R:", "S:0:0", "R:values to save : 3", "S:11:33", "S:11:66", "S:11:100",
        "I:" + PartName(0), "S:30:0", "S:1:0"};
    EXPECT_EQ(Trace(), expected);
    EXPECT_EQ(qel::SaveBufferList.FileList, std::vector<std::string>{PartName(0)});
    EXPECT_EQ(qel::SaveBufferList.Count(), 0) << "the save list is emptied at the end";
}

TEST_F(SaveFileThreadTest, EmptySaveListWritesHeaderBlockOnlyAndReportsTheFileOnce)
{
    RunSave(&TSaveFileThread::ClassInfo);
    const std::vector<std::string> expected = {"R:**** SAVE DATA ****", "R:", "S:0:0", "R:values to save : 1",
                                               "I:" + PartName(0), "S:30:0", "S:1:0"};
    EXPECT_EQ(Trace(), expected);
    EXPECT_EQ(qeltest::BlockTypes(ReadPart(0)), std::vector<std::uint16_t>{qel::BLOCK_HEADER});
}

TEST_F(SaveFileThreadTest, RowsMergeChannelsByTimeWithNoValueAndGapMarkers)
{
    qel::TQEL649& logger = AddLogger<qel::TQEL649>(7, 0x6606, 0x0200);
    AddInt(logger, 5, 2000, 50);
    AddInt(logger, 5, 3000, 60);
    AddInt(logger, 2, 1000, 100);
    AddInt(logger, 2, 2000, 0x7FF0); // the gap value of channel 2
    RunSave(&TSaveFileThread::ClassInfo);

    const std::vector<Row> rows = Rows(ReadPart(0), 2);
    ASSERT_EQ(rows.size(), 3u);
    const std::uint32_t none = qel::NO_VALUE_BITS;
    const std::uint32_t gap = qel::GAP_VALUE_BITS;
    EXPECT_EQ(rows[0].time, 0.0);
    EXPECT_EQ(rows[0].cells, (std::vector<std::uint32_t>{Bits(logger.CalcChValue(2, 100)), none}));
    EXPECT_EQ(rows[1].time, qel::TicksToDays(1000));
    EXPECT_EQ(rows[1].cells, (std::vector<std::uint32_t>{gap, Bits(logger.CalcChValue(5, 50))}));
    EXPECT_EQ(rows[2].time, qel::TicksToDays(2000));
    EXPECT_EQ(rows[2].cells, (std::vector<std::uint32_t>{none, Bits(logger.CalcChValue(5, 60))}));
    EXPECT_NE(Bits(logger.CalcChValue(2, 100)), Bits(100.0f)) << "the fixture must show the conversion";
}

TEST_F(SaveFileThreadTest, RowBlocksCloseAfterTheRowThatPassesTheByteTarget)
{
    struct Case {
        int channels;
        int samples;
        std::vector<std::size_t> rowsPerBlock;
    };
    const std::vector<Case> cases = {
        {1, 2000, {834, 834, 332}}, // 12-byte rows: 834 rows are 10,008 bytes
        {2, 1000, {626, 374}},      // 16-byte rows: 625 rows are exactly 10,000 bytes, one more closes
        {1, 834, {834}},
    };
    for (const Case& c : cases) {
        ResetSave();
        qel::TQEL& logger = AddLogger<qel::TQEL>(5, 0x1234, 0x0100);
        for (int channel = 0; channel < c.channels; ++channel) {
            AddSeries(logger, static_cast<std::uint32_t>(channel), c.samples);
        }
        RunSave(&TSaveFileThread::ClassInfo);
        EXPECT_EQ(RowsPerBlock(ReadPart(0), c.channels), c.rowsPerBlock) << c.channels << " channels";
    }
}

TEST_F(SaveFileThreadTest, TimeWindowIsInclusiveAndAppliesOnlyInModeOne)
{
    struct Case {
        std::int32_t mode;
        std::int64_t start, end;
        std::vector<double> rowTimes; // in ticks after the part's first time
        std::int64_t firstTime;
    };
    const std::vector<Case> cases = {
        {1, 3000, 6000, {0, 1000, 2000, 3000}, 3000},
        {1, 2500, 6500, {0, 1000, 2000, 3000}, 3000},
        {1, 9000, 20000, {0}, 9000},
        {0, 3000, 6000, {0, 1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000}, 0},
        {2, 3000, 6000, {0, 1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000}, 0},
        {1, 20000, 30000, {}, -1}, // nothing inside: no row, first time -1
    };
    for (const Case& c : cases) {
        ResetSave();
        RecordedParts.clear();
        qel::TQEL& logger = AddLogger<qel::TQEL>(5, 0x1234, 0x0100);
        AddSeries(logger, 0, 10);
        RunSave(&RecordingSaver::ClassInfo, [&c](TSaveFileThread& t) {
            t.TimeMode = c.mode;
            t.TimeStart = c.start;
            t.TimeEnd = c.end;
        });
        const std::string what = "mode " + std::to_string(c.mode) + " [" + std::to_string(c.start) + ", " +
                                 std::to_string(c.end) + "]";
        std::vector<double> times;
        for (const Row& row : Rows(ReadPart(0), 1)) {
            times.push_back(row.time);
        }
        std::vector<double> expected;
        for (const double ticks : c.rowTimes) {
            expected.push_back(qel::TicksToDays(static_cast<std::int64_t>(ticks)));
        }
        EXPECT_EQ(times, expected) << what;
        ASSERT_EQ(RecordedParts.size(), 1u) << what;
        EXPECT_EQ(RecordedParts[0].firstTime, c.firstTime) << what;
        ASSERT_FALSE(Progress().empty()) << what;
        EXPECT_EQ(Progress().back(), 100) << what << ": every sample counts, inside the window or not";
        EXPECT_EQ(States().back(), qel::THREAD_FINISHED) << what;
    }
}

TEST_F(SaveFileThreadTest, ProgressIsPostedOnlyWhenThePercentChanges)
{
    qel::TQEL& logger = AddLogger<qel::TQEL>(5, 0x1234, 0x0100);
    AddSeries(logger, 0, 1000);
    AddSeries(logger, 1, 1000);
    RunSave(&TSaveFileThread::ClassInfo);
    std::vector<plat::LPARAM> expected;
    for (int percent = 1; percent <= 100; ++percent) {
        expected.push_back(percent);
    }
    EXPECT_EQ(Progress(), expected);
}

TEST_F(SaveFileThreadTest, ValueBudgetSplitsTheSaveIntoParts)
{
    struct Case {
        const char* what;
        int samples;
        std::int64_t windowEnd; // TimeMode 1 from 0
        std::vector<std::size_t> rowsPerPart;
    };
    const std::vector<Case> cases = {
        {"budget ends inside the data", 2500, 1000000000, {1000, 1000, 500}},
        {"budget ends exactly at the last row", 2000, 1000000000, {1000, 1000}},
        {"budget ends at the last row inside the window", 2010, 1999 * 1000, {1000, 1000}},
        {"less than one budget", 10, 1000000000, {10}},
    };
    for (const Case& c : cases) {
        ResetSave();
        RecordedParts.clear();
        qel::RecInfoList.SetMaxSize(1000);
        qel::TQEL& logger = AddLogger<qel::TQEL>(5, 0x1234, 0x0100);
        AddSeries(logger, 0, c.samples);
        RunSave(&RecordingSaver::ClassInfo, [&c](TSaveFileThread& t) {
            t.TimeMode = 1;
            t.TimeStart = 0;
            t.TimeEnd = c.windowEnd;
        });
        std::vector<std::string> names;
        for (std::size_t i = 0; i < c.rowsPerPart.size(); ++i) {
            names.push_back(PartName(static_cast<int>(i)));
            const std::vector<Row> rows = Rows(ReadPart(static_cast<int>(i)), 1);
            ASSERT_EQ(rows.size(), c.rowsPerPart[i]) << c.what << ", part " << i;
            EXPECT_EQ(rows.front().time, 0.0) << c.what << ": rows count from the part's first time";
            EXPECT_EQ(RecordedParts[i].firstTime, static_cast<std::int64_t>(i) * 1000 * 1000) << c.what;
        }
        EXPECT_FALSE(std::filesystem::exists(PartName(static_cast<int>(c.rowsPerPart.size())))) << c.what;
        EXPECT_EQ(directSaveInfo, names) << c.what;
        EXPECT_EQ(Texts(LogEntry::SaveInfo), names) << c.what;
        EXPECT_EQ(qel::SaveBufferList.FileList, names) << c.what;
        EXPECT_EQ(RecordedParts.size(), names.size()) << c.what;
        EXPECT_EQ(States(), (std::vector<plat::WPARAM>{qel::THREAD_STARTED, qel::THREAD_SAVED, qel::THREAD_FINISHED}))
            << c.what;
    }
}

TEST_F(SaveFileThreadTest, StopRequestFailsWithCodeThreeAndLeavesNoPartialFile)
{
    qeltest::WriteWholeFile(PartName(0), "earlier file");
    qel::TQEL& logger = AddLogger<qel::TQEL>(5, 0x1234, 0x0100);
    AddSeries(logger, 0, 50);
    RunSave(&TSaveFileThread::ClassInfo, [](TSaveFileThread& t) { t.Terminate(); });

    EXPECT_EQ(FailureCode(), qel::EXC_USER_ABORT);
    EXPECT_EQ(States(), (std::vector<plat::WPARAM>{qel::THREAD_STARTED, qel::THREAD_FAILED}));
    EXPECT_EQ(Texts(LogEntry::Report).back(), "Exception #3 : ");
    EXPECT_TRUE(Texts(LogEntry::SaveInfo).empty());
    EXPECT_EQ(qeltest::ReadWholeFile(PartName(0)), "earlier file");
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"out.qel"});
    EXPECT_EQ(qel::SaveBufferList.Count(), 0) << "emptied after a failure too";
}

TEST_F(SaveFileThreadTest, StopRequestWithoutSamplesLeftStillCompletes)
{
    qel::TQEL& logger = AddLogger<qel::TQEL>(5, 0x1234, 0x0100);
    AddSeries(logger, 0, 5);
    RunSave(&TSaveFileThread::ClassInfo, [](TSaveFileThread& t) {
        t.TimeMode = 1;
        t.TimeStart = 100000; // every sample is skipped before the first row step
        t.TimeEnd = 200000;
        t.Terminate();
    });
    EXPECT_EQ(States(), (std::vector<plat::WPARAM>{qel::THREAD_STARTED, qel::THREAD_SAVED, qel::THREAD_FINISHED}));
}

TEST_F(SaveFileThreadTest, FileErrorFailsWithCodeZeroAndItsMessage)
{
    qel::TQEL& logger = AddLogger<qel::TQEL>(5, 0x1234, 0x0100);
    AddSeries(logger, 0, 5);
    const std::string missing = dir.File("missing") + "/";
    RunSave(&TSaveFileThread::ClassInfo, [&missing](TSaveFileThread&) { qel::SaveBufferList.FileNameEx.path = missing; });

    EXPECT_EQ(FailureCode(), 0);
    EXPECT_EQ(States(), (std::vector<plat::WPARAM>{qel::THREAD_STARTED, qel::THREAD_FAILED}));
    EXPECT_NE(qel::LastErrorMsg().find(missing + "out.qel"), std::string::npos) << qel::LastErrorMsg();
    EXPECT_EQ(Texts(LogEntry::Report).back(), "Exception #0 : " + qel::LastErrorMsg());
}

// A saver whose data step fails after pulling the folder away from its open
// part, so that the part cannot be closed either.
class FailingSaver : public TSaveFileThread {
public:
    static const qel::TSaveFileThreadClassInfo ClassInfo;
    using TSaveFileThread::TSaveFileThread;

protected:
    void WriteSideFiles(const std::string& FileName) override
    {
        CreateSideFile(FileName + ".side").Write("x", 1);
    }
    bool WriteData(std::int64_t) override
    {
        std::filesystem::remove_all(std::filesystem::path(qel::SaveBufferList.FileNameEx.path));
        throw qel::EQel(42, "the first error");
    }
};
const qel::TSaveFileThreadClassInfo FailingSaver::ClassInfo = qel::MakeSaveFileThreadClass<FailingSaver>("FailingSaver");

TEST_F(SaveFileThreadTest, FirstErrorIsReportedWhenClosingFailsToo)
{
    const std::string folder = dir.File("sub") + "/";
    std::filesystem::create_directory(folder);
    RunSave(&FailingSaver::ClassInfo, [&folder](TSaveFileThread&) { qel::SaveBufferList.FileNameEx.path = folder; });
    EXPECT_EQ(FailureCode(), 42);
    EXPECT_EQ(qel::LastErrorMsg(), "the first error");
    EXPECT_EQ(Texts(LogEntry::Report).back(), "Exception #42 : the first error");
}

TEST_F(SaveFileThreadTest, FailedPartLeavesNeitherItsFileNorItsSideFiles)
{
    qeltest::WriteWholeFile(PartName(0) + ".side", "earlier side file");
    class Saver : public FailingSaver {
    public:
        using FailingSaver::FailingSaver;

    protected:
        bool WriteData(std::int64_t) override { throw qel::EQel(43, "late"); }
    };
    static const qel::TSaveFileThreadClassInfo info = qel::MakeSaveFileThreadClass<Saver>("Saver");
    RunSave(&info);
    EXPECT_EQ(FailureCode(), 43);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"out.qel.side"});
    EXPECT_EQ(qeltest::ReadWholeFile(PartName(0) + ".side"), "earlier side file");
}

TEST_F(SaveFileThreadTest, BlockFileThatCannotBePutInPlaceLeavesTheSideFilesAsTheyWere)
{
    qeltest::WriteWholeFile(PartName(0) + ".side", "earlier side file");
    // The part's data step puts a folder where the block file should go, so
    // the block file cannot replace it when the part completes.
    class Saver : public FailingSaver {
    public:
        using FailingSaver::FailingSaver;

    protected:
        bool WriteData(std::int64_t) override
        {
            const std::string target = qel::GetFullFileName(qel::SaveBufferList.FileNameEx);
            std::filesystem::create_directory(target);
            qeltest::WriteWholeFile(target + "/inside", "");
            return true;
        }
    };
    static const qel::TSaveFileThreadClassInfo info = qel::MakeSaveFileThreadClass<Saver>("Saver");
    RunSave(&info);
    EXPECT_EQ(FailureCode(), 0);
    EXPECT_NE(qel::LastErrorMsg().find(PartName(0)), std::string::npos) << qel::LastErrorMsg();
    EXPECT_EQ(qeltest::ReadWholeFile(PartName(0) + ".side"), "earlier side file");
    EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"out.qel", "out.qel.side"})) << "no temporary file";
    EXPECT_TRUE(Texts(LogEntry::SaveInfo).empty());
}

TEST(CallOnWindowThread, UnsetCallbackStaysUnset)
{
    EXPECT_FALSE(qel::CallOnWindowThread(1, nullptr));
}

} // namespace
