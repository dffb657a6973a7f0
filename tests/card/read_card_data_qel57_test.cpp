// End-to-end reads of generated QEL57-family cards: directory scan, then a
// data read of two recordings of one logger (one wrapped in two ranges, with
// a junk cluster and a repeated cluster) into the read list and the D-Bus list.
#include "card/card_dir_scan.h"
#include "card/card_records.h"
#include "card/dbus_data.h"
#include "card/ext_card.h"
#include "card/read_card_data_thread.h"
#include "tests/card/buffer_folder_fixture.h"
#include "tests/card/card_fixture.h"
#include "tests/card/page_qel57_fixture.h"
#include "tools/cardgen/page_qel57_body.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace qel {
namespace {

using namespace qeltest;
using cardgen::TQel57Generation;

constexpr std::uint32_t SN = 5700;
constexpr std::int64_t UNIT = 2000;          // ticks of a time unit of this family
constexpr std::uint64_t PAGE_STEP = 100;     // units between page header times
constexpr std::int16_t ROW_STEP = 10;        // units between the rows of a page
constexpr std::uint32_t ROWS = 3;

struct TGenCase {
    TQel57Gen Gen;
    TQel57Generation Pages;
};

// The values of the generated pages: recording r, page p, row i, series s.
std::int16_t ValueOf(std::uint32_t recording, std::uint32_t page, std::uint32_t row, std::uint32_t series)
{
    return static_cast<std::int16_t>(recording * 10000 + page * 1000 + row * 100 + series);
}

// Every page: per row a value of channels 0 and 3 (the row's step on the
// first), from QEL57b a humidity sensor's pair (kind 1, sensor 1), and in
// QEL57c on the first row a D-Bus block of order page mod 3.
std::shared_ptr<cardgen::IPageBody> Body(TQel57Generation generation, std::uint32_t recording)
{
    std::vector<cardgen::TQel57SensorPacket> sensors = {{17, 4711}, {33, 815}};
    if (generation == TQel57Generation::QEL57c) {
        sensors.push_back({41, 99});
    }
    auto fill = [generation, recording](std::uint32_t page, cardgen::TQel57PageWriter& writer) {
        for (std::uint32_t row = 0; row < ROWS; ++row) {
            ASSERT_TRUE(writer.AddValue(0, row == 0 ? 0 : ROW_STEP, ValueOf(recording, page, row, 0)));
            ASSERT_TRUE(writer.AddValue(3, 0, ValueOf(recording, page, row, 3)));
            if (generation != TQel57Generation::QEL57) {
                const std::int16_t pair[2] = {ValueOf(recording, page, row, 17), ValueOf(recording, page, row, 25)};
                ASSERT_TRUE(writer.AddExtended(1, 0x02, 0, pair));
            }
            if (generation == TQel57Generation::QEL57c && row == 0) {
                const std::uint8_t data[3] = {static_cast<std::uint8_t>(recording), static_cast<std::uint8_t>(page), 0xEE};
                ASSERT_TRUE(writer.AddDBus(static_cast<std::uint8_t>(page % 3), 0, 0x1000 + page, data));
            }
        }
    };
    return std::make_shared<cardgen::TQel57PageBody>(generation, fill,
                                                     std::vector<cardgen::TQel57LimitPacket>{{14, 1, 2, 100, 200}},
                                                     generation == TQel57Generation::QEL57 ? decltype(sensors){} : sensors);
}

cardgen::TRecordingDescription Recording(const TGenCase& gen, std::uint32_t recording, std::uint32_t pages,
                                  std::uint64_t startUnits, std::uint16_t firstPageNo)
{
    cardgen::TRecordingDescription desc;
    desc.Logger = {0x661D, gen.Gen.PcVersion, gen.Gen.PcVersion, SN, {}};
    desc.PageCount = pages;
    desc.FirstPageNo = firstPageNo;
    desc.StartTimeUnits = startUnits;
    desc.TimeStepUnits = PAGE_STEP;
    desc.Body = Body(gen.Pages, recording);
    return desc;
}

// What the pages of a recording hold, computed from the page plan.
void AddExpected(const TGenCase& gen, std::uint32_t recording, std::uint32_t pages, std::uint64_t startUnits,
                 TSeriesMap& series, std::vector<TBlock>& blocks)
{
    for (std::uint32_t page = 0; page < pages; ++page) {
        const std::int64_t pageUnits = static_cast<std::int64_t>(startUnits + page * PAGE_STEP);
        for (std::uint32_t row = 0; row < ROWS; ++row) {
            const std::int64_t time = (pageUnits + row * ROW_STEP) * UNIT;
            series[{SN, 0}].push_back({time, ValueOf(recording, page, row, 0)});
            series[{SN, 3}].push_back({time, ValueOf(recording, page, row, 3)});
            if (gen.Pages != TQel57Generation::QEL57) {
                series[{SN, 17}].push_back({time, ValueOf(recording, page, row, 17)});
                series[{SN, 25}].push_back({time, ValueOf(recording, page, row, 25)});
            }
            if (gen.Pages == TQel57Generation::QEL57c && row == 0) {
                const auto order = static_cast<std::uint8_t>(page % 3);
                series[{SN, 13}].push_back({time, order});
                blocks.push_back({time, order, 0x1000 + page,
                                  {static_cast<std::uint8_t>(recording), static_cast<std::uint8_t>(page), 0xEE}});
            }
        }
    }
}

class Qel57CardRead : public BufferFolderTest {
protected:
    void SetUp() override
    {
        BufferFolderTest::SetUp();
        Reset();
        InitDBusData();
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
        ResetQel57ReadState();
    }

    TCardRecord& Record(int index) { return dynamic_cast<TCardRecord&>(*RecInfoList.GetItem(index)); }

    // As the application does: selects the records, makes the logger of the
    // first one current, then reads.
    void ReadRecords(std::initializer_list<int> indexes)
    {
        ReadBufferList.ClearAll();
        QelList.Clear();
        for (int i = 0; i < RecInfoList.Count(); ++i) {
            Record(i).Selected = false;
        }
        for (int index : indexes) {
            Record(index).Selected = true;
        }
        BindLoggerOfFirstSelected(RecInfoList);
        ReadBufferList.SetUseFileStream(true);
        ReadCardData(ExtCard, RecInfoList, {});
    }

    TGeneratedCard FCard;
};

TEST_F(Qel57CardRead, SelectedRecordingsDecodeIntoSeriesAndDBusBlocks)
{
    const TGenCase cases[] = {
        {GEN_57, TQel57Generation::QEL57},
        {GEN_57B, TQel57Generation::QEL57b},
        {GEN_57C, TQel57Generation::QEL57c},
    };
    for (const TGenCase& gen : cases) {
        SCOPED_TRACE(gen.Gen.Name);
        Reset();
        // The card: recording 0's continuation (pages 3-5) at its start, the
        // logger's later recording 1, another logger, then recording 0's
        // beginning (pages 0-2) with a junk cluster and page 1 written twice.
        cardgen::TCardDescription desc;
        desc.Recordings = {Recording(gen, 0, 6, 1000, 0), Recording(gen, 1, 2, 5000, 100),
                           Recording(gen, 2, 1, 3000, 200)};
        desc.Recordings[2].Logger.Serial = SN + 1;
        desc.Layout = {cardgen::TPlaceRecording{0, 3, 3}, cardgen::TPlaceRecording{1, 0, {}},
                       cardgen::TPlaceRecording{2, 0, {}}, cardgen::TPlaceRecording{0, 0, 2},
                       cardgen::TJunkClusters{1},          cardgen::TRepeatPage{0, 1},
                       cardgen::TPlaceRecording{0, 2, 1}};
        Generate(FCard, desc);
        FillImage(ExtCard, FCard.Manifest.Files);
        ScanCardDirectory(ExtCard, RecInfoList, {});
        ASSERT_EQ(RecInfoList.Count(), 3);   // sorted: SN 5700 at 1000 (wrapped), at 5000; SN 5701
        ASSERT_TRUE(Record(0).bMemoryCirculation);

        ReadRecords({0, 1});
        TSeriesMap series;
        std::vector<TBlock> firstBlocks;
        std::vector<TBlock> blocks;
        AddExpected(gen, 0, 6, 1000, series, firstBlocks);
        AddExpected(gen, 1, 2, 5000, series, blocks);
        EXPECT_EQ(ReadAllSeries(), series);
        EXPECT_EQ(DBusBlocks(), blocks);   // each record begins anew: the last one's blocks stay

        const auto& logger = dynamic_cast<const TQEL57&>(*QelList.GetCurrent());
        EXPECT_TRUE(logger.LIMITS[14].READ);
        EXPECT_EQ(logger.LIMITS[14].AL, 1);
        EXPECT_EQ(logger.LIMITS[14].RL, 2);
        if (gen.Pages != TQel57Generation::QEL57) {
            EXPECT_EQ(logger.GetChName(17), "RH4711");
            EXPECT_EQ(logger.GetChName(25), "T_RH4711");
            EXPECT_EQ(logger.GetChName(33), "T815");
        }
        if (gen.Pages == TQel57Generation::QEL57c) {
            EXPECT_EQ(logger.GetChName(41), "P99");
        }

        // The next read begins without the blocks of this one.
        ReadRecords({1});
        series.clear();
        blocks.clear();
        AddExpected(gen, 1, 2, 5000, series, blocks);
        EXPECT_EQ(ReadAllSeries(), series);
        EXPECT_EQ(DBusBlocks(), blocks);
    }
}

} // namespace
} // namespace qel
