// The container saver: folders for the channels with values inside the
// window, descriptions from the logger, calibrated values without gaps,
// nanosecond stamps, the save without values, cancellation and file errors.
#include "export/save_qrec_file_thread.h"

#include "foundations/qel_error.h"
#include "foundations/tick_time.h"
#include "loggers/qel649.h"
#include "tests/support/qel_zip_entries.h"
#include "tests/export/save_fixture.h"
#include "tests/support/zip_test_reader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

namespace {

using qeltest::DecodePairs;
using qeltest::DecodeValues;
using qeltest::PairValue;
using qeltest::TPairs;
using qeltest::TValueRecord;
using qeltest::TZipTestReader;

constexpr std::int16_t kGap649 = 0x7FF0;   // the QEL649 gap value of its gap channels
constexpr std::int64_t kSecond = qel::TICKS_PER_SECOND;

// A model without stored name: unit texts that may be empty, values raw × 2.
class TPlainLogger : public qel::TQEL {
public:
    std::string GetChName(std::uint32_t ch) const override { return "Ch" + std::to_string(ch); }
    std::string GetChUnit(std::uint32_t ch) const override { return ch == 0 ? "" : "V"; }
    std::string GetName() const override { return "Plain"; }
    float CalcChValue(std::uint32_t, std::int16_t x) const override { return x * 2.0f; }
};

std::string Folder(int n)
{
    return "CHANNELS\\CHANNEL_" + std::to_string(n) + "\\";
}

// Values of a folder over all its data blocks.
std::vector<TValueRecord> FolderValues(const TZipTestReader& reader, int n)
{
    std::vector<TValueRecord> values;
    for (int k = 0; reader.Has(Folder(n) + "ChData_" + std::to_string(k)); ++k) {
        const auto block = DecodeValues(reader.Read(Folder(n) + "ChData_" + std::to_string(k)));
        values.insert(values.end(), block.begin(), block.end());
    }
    return values;
}

int FolderCount(const TZipTestReader& reader)
{
    int n = 0;
    while (reader.Has(Folder(n) + "ChDesc_0")) {
        ++n;
    }
    return n;
}

class SaveQRecFileThread : public qeltest::SaveFixture {
protected:
    std::string Target() const { return dir.File("out.qrec"); }

    // Runs the saver over the read list with the window [start, end] (TimeMode 1).
    void Save(std::int64_t start, std::int64_t end, const std::function<void(qel::TSaveFileThread&)>& more = {})
    {
        RunSave(&qel::TSaveQRecFileThread::ClassInfo, [&](qel::TSaveFileThread& saver) {
            qel::SaveBufferList.FileNameEx = qel::TFileNameEx{dir.Path().string() + "/", "out", "", ".qrec"};
            saver.TimeMode = 1;
            saver.TimeStart = start;
            saver.TimeEnd = end;
            if (more) {
                more(saver);
            }
        });
    }

    std::vector<plat::WPARAM> Saved() const { return {qel::THREAD_STARTED, qel::THREAD_SAVED, qel::THREAD_FINISHED}; }
};

TEST_F(SaveQRecFileThread, FoldersOnlyForChannelsWithValuesInsideTheWindow)
{
    auto& first = AddLogger<qel::TQEL649>(2000, 0x6606, 0x0200);
    first.NAME = "Cellar";
    auto& second = AddLogger<qel::TQEL649>(1000, 0x6606, 0x0200);
    second.NAME = "Attic";
    // Sorted by serial number, then channel: (1000, 1), (1000, 2), (1000, 7), (2000, 1), (2000, 7).
    for (int i = 0; i < 5; ++i) {
        const std::int64_t t = (10 + i) * kSecond;
        AddInt(second, 1, t, static_cast<std::int16_t>(200 + i));              // values in the window
        AddInt(second, 2, t, i == 0 || i == 4 ? 5 : kGap649);                  // only gaps inside it
        AddInt(second, 7, 100 * kSecond + t, 1);                               // all after it
        AddInt(first, 1, t, static_cast<std::int16_t>(-i));
        AddInt(first, 7, t, i == 2 ? 0 : kGap649);                             // no gap channel: kept
    }
    Save(11 * kSecond, 13 * kSecond);
    EXPECT_EQ(States(), Saved());

    const TZipTestReader reader(Target());
    ASSERT_EQ(FolderCount(reader), 3) << "(1000, 1), (2000, 1), (2000, 7)";
    const TPairs atticT = DecodePairs(reader.Read(Folder(0) + "ChDesc_0"));
    const TPairs expectedAttic = {{"ChDescName", "T(p)"}, {"ChDescUnit", second.GetChUnit(1)},
                                  {"ChDescQelName", "Attic"}, {"ChDescQelModel", "QEL649"},
                                  {"ChDescQelSN", "1000"}};
    EXPECT_EQ(TPairs(atticT.begin(), atticT.begin() + 5), expectedAttic);
    EXPECT_EQ(PairValue(DecodePairs(reader.Read(Folder(1) + "ChDesc_0")), "ChDescQelSN"), "2000");
    EXPECT_EQ(PairValue(DecodePairs(reader.Read(Folder(1) + "ChDesc_0")), "ChDescQelName"), "Cellar");
    EXPECT_EQ(PairValue(DecodePairs(reader.Read(Folder(2) + "ChDesc_0")), "ChDescName"), "T");

    const auto attic = FolderValues(reader, 0);
    ASSERT_EQ(attic.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(attic[i].Value, static_cast<float>((201 + i) / 10.0)) << "raw / 10";
        // The day number's double keeps the stamp within a microsecond.
        EXPECT_NEAR(static_cast<double>(attic[i].Time), (11 + i) * 1e9, 1000.0);
    }
    const auto cellarT = FolderValues(reader, 2);
    ASSERT_EQ(cellarT.size(), 3u) << "a gap raw value on a channel without gaps is a value";
    EXPECT_EQ(cellarT[1].Value, first.CalcChValue(7, 0));
    EXPECT_EQ(cellarT[0].Value, first.CalcChValue(7, kGap649));
}

TEST_F(SaveQRecFileThread, StampsAreNanosecondsThroughTheDayNumber)
{
    TPlainLogger logger;
    for (std::int64_t tick : {std::int64_t{0}, std::int64_t{1024}, std::int64_t{88'473'600'000}}) {
        AddInt(logger, 3, tick, 7);
    }
    Save(0, 88'473'600'000);
    const auto values = FolderValues(TZipTestReader(Target()), 0);
    ASSERT_EQ(values.size(), 3u);
    EXPECT_EQ(values[0].Time, 0);
    EXPECT_EQ(values[1].Time, 1'000'171);
    EXPECT_EQ(values[2].Time, 86'400'000'000'000);
    EXPECT_EQ(values[2].Value, 14.0f);
}

TEST_F(SaveQRecFileThread, EmptyUnitAndModelsWithoutStoredName)
{
    TPlainLogger logger;
    logger.SN = 77;
    AddInt(logger, 0, 5, 1);
    Save(0, 10);
    const TZipTestReader reader(Target());
    const auto values = FolderValues(reader, 0);
    ASSERT_EQ(values.size(), 1u);
    EXPECT_NEAR(static_cast<double>(values[0].Time), 4883.0, 1000.0) << "tick 5";
    const std::string stamp = std::to_string(values[0].Time);
    const TPairs expected = {{"ChDescName", "Ch0"},        {"ChDescUnit", "-"},     {"ChDescQelName", "-"},
                             {"ChDescQelModel", "Plain"},  {"ChDescQelSN", "77"},   {"ChDescAmount", "1"},
                             {"ChDescTmin", stamp},        {"ChDescTmax", stamp},   {"ChDescBlocks", "1"}};
    EXPECT_EQ(DecodePairs(reader.Read(Folder(0) + "ChDesc_0")), expected);
}

TEST_F(SaveQRecFileThread, SaveWithoutValuesInTheWindowWritesTheFileEntryAndReportsIt)
{
    TPlainLogger logger;
    AddSeries(logger, 0, 50);
    qeltest::WriteWholeFile(Target(), "");   // a test file the application created
    Save(1'000'000'000, 2'000'000'000);
    EXPECT_EQ(States(), Saved());
    const TZipTestReader reader(Target());
    EXPECT_EQ(reader.Names(), std::vector<std::string>{"File"});
    EXPECT_EQ(directSaveInfo, std::vector<std::string>{Target()});
    EXPECT_EQ(qel::SaveBufferList.Count(), 0);
}

TEST_F(SaveQRecFileThread, EveryValueWithTimeModeOtherThanOneAndProgressToTheEnd)
{
    TPlainLogger logger;
    AddSeries(logger, 1, 25'001, 500);
    AddSeries(logger, 2, 999, 7);
    RunSave(&qel::TSaveQRecFileThread::ClassInfo, [&](qel::TSaveFileThread& saver) {
        qel::SaveBufferList.FileNameEx = qel::TFileNameEx{dir.Path().string() + "/", "out", "", ".qrec"};
        saver.TimeMode = 0;
        saver.TimeStart = 5;
        saver.TimeEnd = 6;
    });
    const TZipTestReader reader(Target());
    const auto values = FolderValues(reader, 0);
    ASSERT_EQ(values.size(), 25'001u);
    EXPECT_EQ(values.back().Value, 2.0f * 25'000);
    EXPECT_EQ(FolderValues(reader, 1).size(), 999u);
    EXPECT_EQ(PairValue(DecodePairs(reader.Read(Folder(0) + "ChDesc_0")), "ChDescBlocks"), "3");

    std::vector<plat::LPARAM> percents;
    for (const auto& entry : log) {
        if (entry.kind == qeltest::LogEntry::Status && entry.state == qel::THREAD_PROGRESS) {
            percents.push_back(entry.value);
        }
    }
    ASSERT_EQ(percents.size(), 100u) << "one message per percent";
    for (std::size_t i = 0; i < percents.size(); ++i) {
        EXPECT_EQ(percents[i], static_cast<plat::LPARAM>(i + 1));
    }
}

TEST_F(SaveQRecFileThread, SingleSamplesAreStoredAsTheyAreWithoutGapMarkers)
{
    TPlainLogger logger;
    AddSingle(logger, 4, 10, 1.5f);
    AddSingle(logger, 4, 20, qel::GapValueMarker());
    AddSingle(logger, 4, 30, -2.25f);
    Save(0, 100);
    const auto values = FolderValues(TZipTestReader(Target()), 0);
    ASSERT_EQ(values.size(), 2u);
    EXPECT_EQ(values[0].Value, 1.5f);
    EXPECT_EQ(values[1].Value, -2.25f);
}

TEST_F(SaveQRecFileThread, CancelledSaveLeavesTheExistingFile)
{
    TPlainLogger logger;
    AddSeries(logger, 0, 30'000);
    qeltest::WriteWholeFile(Target(), "earlier save");
    Save(0, 1LL << 40, [](qel::TSaveFileThread& saver) { saver.Terminate(); });
    EXPECT_EQ(FailureCode(), qel::EXC_USER_ABORT);
    EXPECT_EQ(qeltest::ReadWholeFile(Target()), "earlier save");
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"out.qrec"}) << "no temporary file left";
    EXPECT_TRUE(directSaveInfo.empty());
    EXPECT_EQ(qel::SaveBufferList.Count(), 0);
}

TEST_F(SaveQRecFileThread, UnwritableFolderFailsWithCodeZero)
{
    TPlainLogger logger;
    AddSeries(logger, 0, 10);
    RunSave(&qel::TSaveQRecFileThread::ClassInfo, [&](qel::TSaveFileThread&) {
        qel::SaveBufferList.FileNameEx = qel::TFileNameEx{dir.File("missing") + "/", "out", "", ".qrec"};
    });
    EXPECT_EQ(FailureCode(), 0);
    EXPECT_NE(qel::LastErrorMsg().find("missing"), std::string::npos) << qel::LastErrorMsg();
    EXPECT_TRUE(directSaveInfo.empty());
}

} // namespace
