// Tests of the card-data reader on generated cards: the walk over the
// selected records' clusters (both ranges of a wrapped recording, skipped
// junk and repeated clusters), the configuration and UTC of the logger, the
// early end for a model without a reader, and the thread's messages.
#include "card/buffer_list.h"
#include "card/card_dir_scan.h"
#include "card/card_records.h"
#include "card/ext_card.h"
#include "card/read_card_data_thread.h"
#include "card_fixture.h"
#include "foundations/qel_error.h"
#include "loggers/qel649.h"
#include "loggers/qel_base.h"
#include "tests/card/buffer_folder_fixture.h"
#include "tests/card/status_window.h"
#include "tests/support/scoped_time_zone.h"
#include "tools/cardgen/config_area.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace qel {
namespace {

using namespace qeltest;

std::vector<std::string>& DecoderLog()
{
    static std::vector<std::string> log;
    return log;
}

// A decoder for the tests: one sample per page, on the channel in the page's
// first record byte, at the page time (units of 1000 ticks plus the UTC
// offset), with the time in units as its value.
class TTracingPage : public TPage {
public:
    static constexpr const char* ClassName = "TTracingPage";

    void BeginRead() override { DecoderLog().push_back("begin"); }
    void FinishRead() override { DecoderLog().push_back("finish"); }
    void ReadData() override
    {
        const std::int64_t time = GetTime(true);
        FPosition = 8;
        const std::uint8_t channel = ReadByte();
        const std::int64_t units = (time - FUtc.Offset) / 1000;
        ReadBufferList.AddIntData(channel, time, static_cast<std::int16_t>(units));
        DecoderLog().push_back("page " + std::to_string(units));
    }
};

struct TSeries {
    std::uint32_t serial;
    std::uint32_t channel;
    std::vector<std::pair<std::int64_t, std::int16_t>> samples;
    bool operator==(const TSeries&) const = default;
};

void PrintTo(const TSeries& series, std::ostream* out)
{
    *out << "{SN " << series.serial << ", ch " << series.channel << ":";
    for (const auto& [time, value] : series.samples) {
        *out << " (" << time << ", " << value << ")";
    }
    *out << "}";
}

std::vector<TSeries> ReadSeries()
{
    std::vector<TSeries> result;
    for (TBufferBaseData* buffer : ReadBufferList) {
        TSeries series{buffer->GetLinkQEL()->SN, buffer->GetChannel(), {}};
        buffer->BeginSave();
        while (!buffer->GetSaveComplete()) {
            std::int16_t value = 0;
            const std::int64_t time = buffer->GetSaveTime();
            EXPECT_TRUE(buffer->GetSaveIntValue(time, value));
            series.samples.emplace_back(time, value);
        }
        buffer->EndSave();
        result.push_back(series);
    }
    return result;
}

// The samples the tracing decoder gives pages with these times (units of 1000 ticks).
std::vector<std::pair<std::int64_t, std::int16_t>> PagesAt(const std::vector<std::int64_t>& units,
                                                           std::int64_t offset = 0)
{
    std::vector<std::pair<std::int64_t, std::int16_t>> samples;
    for (std::int64_t unit : units) {
        samples.emplace_back(unit * 1000 + offset, static_cast<std::int16_t>(unit));
    }
    return samples;
}

std::vector<std::string> Events(const std::vector<std::int64_t>& pages)
{
    std::vector<std::string> events;
    for (std::int64_t unit : pages) {
        events.push_back("page " + std::to_string(unit));
    }
    return events;
}

std::vector<std::string> Joined(std::initializer_list<std::vector<std::string>> parts)
{
    std::vector<std::string> all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

cardgen::TRecordingDescription Recording(const cardgen::TLoggerDescription& logger, std::uint32_t pages, std::uint64_t startUnits,
                                  std::uint8_t channel = 0)
{
    cardgen::TRecordingDescription recording;
    recording.Logger = logger;
    recording.PageCount = pages;
    recording.StartTimeUnits = startUnits;
    recording.TimeStepUnits = 10;
    recording.Body = std::make_shared<cardgen::TRawPageBody>(std::vector<std::uint8_t>{channel});
    return recording;
}

class CardDataRead : public BufferFolderTest {
protected:
    void SetUp() override
    {
        BufferFolderTest::SetUp();
        Reset();
    }
    void TearDown() override
    {
        Reset();
        BufferFolderTest::TearDown();
    }
    static void Reset()
    {
        ExtCard.Clear();
        RecInfoList.Clear();
        ReadBufferList.ClearAll();
        ReadBufferList.SetActiveQEL(nullptr);
        ReadBufferList.SetUseFileStream(false);
        QelList.Clear();
        DecoderLog().clear();
    }

    // Writes the card, scans its directory into RecInfoList.
    void ScanCard(const cardgen::TCardDescription& desc)
    {
        Generate(FCard, desc);
        FillImage(ExtCard, FCard.Manifest.Files);
        ScanCardDirectory(ExtCard, RecInfoList, {});
    }

    TCardRecord& Record(int index) { return dynamic_cast<TCardRecord&>(*RecInfoList.GetItem(index)); }

    // Selects the records and binds a logger to the first of them, as the
    // application does before it starts the data read.
    void Select(std::initializer_list<int> indexes)
    {
        for (int index : indexes) {
            Record(index).Selected = true;
        }
        BindLoggerOfFirstSelected(RecInfoList);
    }

    void Read(TCardDataReadHooks hooks = {})
    {
        hooks.PageClass = &PageClassOf<TTracingPage>();
        hooks.Percent = [this](std::int64_t percent) { FPercents.push_back(percent); };
        ReadCardData(ExtCard, RecInfoList, hooks);
    }

    TGeneratedCard FCard;
    std::vector<std::int64_t> FPercents;
};

TEST_F(CardDataRead, WrappedRecordIsReadEndRangeFirstSkippingJunkAndRepeatedClusters)
{
    // The card: the recording's continuation (pages 3-5) at its start, another
    // logger's recording, then the recording's beginning (pages 0-2) with a
    // junk cluster and a page written twice inside it.
    cardgen::TCardDescription desc;
    desc.Recordings = {Recording(Logger(5), 6, 1000, 3), Recording(Logger(9), 2, 5000)};
    desc.Layout = {cardgen::TPlaceRecording{0, 3, 3}, cardgen::TPlaceRecording{1, 0, {}},
                   cardgen::TPlaceRecording{0, 0, 2},  cardgen::TJunkClusters{1},
                   cardgen::TRepeatPage{0, 1},         cardgen::TPlaceRecording{0, 2, 1}};
    ScanCard(desc);
    ASSERT_EQ(RecInfoList.Count(), 2);
    ASSERT_TRUE(Record(0).bMemoryCirculation);
    ReadBufferList.SetUseFileStream(true);
    Select({0});
    Read();

    EXPECT_EQ(DecoderLog(), Joined({{"begin"}, Events({1000, 1010, 1020, 1030, 1040, 1050}), {"finish"}}));
    EXPECT_EQ(ReadSeries(), (std::vector<TSeries>{{5, 3, PagesAt({1000, 1010, 1020, 1030, 1040, 1050})}}));
    EXPECT_EQ(ReadBufferList[0]->GetExtFileName(), SpillFileName(0));
    // Five clusters in the first range, three in the second.
    EXPECT_EQ(FPercents, (std::vector<std::int64_t>{12, 25, 37, 50, 62, 75, 87, 100}));
    const TQEL& logger = *QelList.GetCurrent();
    EXPECT_EQ(logger.SN, 5u);
    EXPECT_EQ(logger.ID_CLASS, 0x6606);
    EXPECT_EQ(ReadBufferList.GetActiveQEL(), &logger);
}

TEST_F(CardDataRead, TwoRecordsOfOneLoggerTakeTheConfigurationOfTheFirstValidCluster)
{
    cardgen::TQel649ConfigDescription first;
    first.Name = "FIRST";
    cardgen::TQel649ConfigDescription later = first;
    later.Name = "LATER";
    cardgen::TCardDescription desc;
    desc.Recordings = {Recording(Logger(5), 2, 3000, 1), Recording(Logger(5), 3, 1000, 1),
                       Recording(Logger(6), 1, 2000, 1)};
    desc.Recordings[0].Logger.Config = cardgen::BuildQel649Config(later);
    desc.Recordings[1].Logger.Config = cardgen::BuildQel649Config(first);
    desc.Layout = {cardgen::TJunkClusters{2}, cardgen::TPlaceRecording{0, 0, {}}, cardgen::TPlaceRecording{2, 0, {}},
                   cardgen::TPlaceRecording{1, 0, {}}};
    ScanCard(desc);
    ASSERT_EQ(RecInfoList.Count(), 3);   // sorted: SN 5 at 1000, SN 5 at 3000, SN 6
    Select({0, 1});
    Read();

    const auto& logger = dynamic_cast<const TQEL649&>(*QelList.GetCurrent());
    EXPECT_EQ(logger.NAME, "FIRST");
    EXPECT_EQ(logger.SN, 5u);
    EXPECT_EQ(DecoderLog(), Joined({{"begin"}, Events({1000, 1010, 1020}), {"finish", "begin"}, Events({3000, 3010}),
                                    {"finish"}}));
    EXPECT_EQ(ReadSeries(), (std::vector<TSeries>{{5, 1, PagesAt({1000, 1010, 1020, 3000, 3010})}}));
}

TEST_F(CardDataRead, ModelWithoutConfigurationReaderEndsTheReadWithoutData)
{
    ScanCard(PagesInOrder({Recording(Logger(5, 0x6617), 3, 1000)}));
    Select({0});
    Read();
    EXPECT_EQ(DecoderLog(), (std::vector<std::string>{"begin"}));
    EXPECT_EQ(ReadBufferList.Count(), 0);
    EXPECT_EQ(QelList.GetCurrent()->SN, 0u);   // nothing of the cluster reached the logger
}

TEST_F(CardDataRead, NoSelectedRecordReadsNothing)
{
    ScanCard(PagesInOrder({Recording(Logger(5), 3, 1000)}));
    Select({0});
    Record(0).Selected = false;
    Read();
    EXPECT_TRUE(DecoderLog().empty());
    EXPECT_EQ(ReadBufferList.Count(), 0);
    EXPECT_TRUE(FPercents.empty());
}

TEST_F(CardDataRead, StopRequestRaisesCodeThreeBeforeTheNextCluster)
{
    ScanCard(PagesInOrder({Recording(Logger(5), 3, 1000)}));
    Select({0});
    int asked = 0;
    TCardDataReadHooks hooks;
    hooks.Terminated = [&asked] { return ++asked > 2; };
    try {
        Read(hooks);
        FAIL() << "the read did not stop";
    } catch (const EQel& error) {
        EXPECT_EQ(error.iException, EXC_USER_ABORT);
    }
    EXPECT_EQ(DecoderLog(), Joined({{"begin"}, Events({1000, 1010})}));
}

int gSideDataResets = 0;
void CountSideDataReset()
{
    ++gSideDataResets;
}

TEST_F(CardDataRead, ReadBeginsWithoutTheMissionDataAndSideDataOfTheLastRead)
{
    ScanCard(PagesInOrder({Recording(Logger(5), 1, 1000)}));
    Select({0});
    AddSideDataReset(&CountSideDataReset);
    AddSideDataReset(&CountSideDataReset);
    gSideDataResets = 0;
    ReadBufferList.MissionData.bValid = true;
    ReadBufferList.MissionData.bValidStartTime = true;
    ReadBufferList.Utc = {true, 99};
    Read();
    EXPECT_FALSE(ReadBufferList.MissionData.bValid);
    EXPECT_FALSE(ReadBufferList.MissionData.bValidStartTime);
    EXPECT_FALSE(ReadBufferList.Utc.bEnabled);
    EXPECT_EQ(gSideDataResets, 1);
}

TEST_F(CardDataRead, UtcLoggersShiftTheirTimesToLocalTime)
{
    const ScopedTimeZone zone("XYZ-1");   // one hour east of UTC, no daylight saving
    constexpr std::int64_t oneHour = 3686400000;
    const std::tuple<std::uint16_t, bool> cases[] = {{0x0600, true}, {0x0500, false}};
    for (const auto& [version, utc] : cases) {
        SCOPED_TRACE(version);
        Reset();
        ScanCard(PagesInOrder({Recording({0x6601, version, version, 7, {}}, 2, 1000, 2)}));
        Select({0});
        Read();
        const std::int64_t offset = utc ? oneHour : 0;
        EXPECT_EQ(ReadBufferList.Utc.bEnabled, utc);
        EXPECT_EQ(ReadBufferList.Utc.Offset, offset);
        ASSERT_EQ(ReadBufferList.Count(), 1);
        EXPECT_EQ(ReadBufferList[0]->Utc.Offset, offset);
        EXPECT_EQ(ReadSeries(), (std::vector<TSeries>{{7, 2, PagesAt({1000, 1010}, offset)}}));
    }
}

class ReadCardDataThreadTest : public CardDataRead {
protected:
    TStatusWindow FWindow{WM_CARD_DATA_STATUS};
};

TEST_F(ReadCardDataThreadTest, StartedProgressFinished)
{
    ScanCard(PagesInOrder({Recording(Logger(5), 4, 1000)}));
    Select({0});
    auto thread = TReadCardDataThread::Create(FWindow.Handle());
    FWindow.WaitForFinalState();
    thread->WaitFor();
    EXPECT_EQ(FWindow.Status(), (std::vector<TStatus>{{THREAD_STARTED, 0},
                                             {THREAD_PROGRESS, 25},
                                             {THREAD_PROGRESS, 50},
                                             {THREAD_PROGRESS, 75},
                                             {THREAD_PROGRESS, 100},
                                             {THREAD_FINISHED, 0}}));
}

TEST_F(ReadCardDataThreadTest, StopAndFileErrorsEndAsFailed)
{
    ScanCard(PagesInOrder({Recording(Logger(5), 4, 1000)}));
    Select({0});
    auto stopped = std::make_shared<TReadCardDataThread>(FWindow.Handle());
    stopped->Terminate();
    stopped->Start();
    FWindow.WaitForFinalState();
    stopped->WaitFor();
    EXPECT_EQ(FWindow.Status(), (std::vector<TStatus>{{THREAD_STARTED, 0}, {THREAD_FAILED, EXC_USER_ABORT}}));

    FWindow.Clear();
    std::filesystem::remove(FCard.Manifest.Files[0]);
    auto failed = TReadCardDataThread::Create(FWindow.Handle());
    FWindow.WaitForFinalState();
    failed->WaitFor();
    EXPECT_EQ(FWindow.Status().back(), TStatus(THREAD_FAILED, 0));
    EXPECT_NE(LastErrorMsg().find(FCard.Manifest.Files[0]), std::string::npos) << LastErrorMsg();
}

} // namespace
} // namespace qel
