// End-to-end reads of generated QEL629, QEL629c and QEL649 cards: directory
// scan, then a data read of two recordings of one logger (one wrapped in two
// ranges, with a junk cluster and a repeated cluster) through the real
// decoders into the read list, with spill files.
#include "card/burst_data.h"
#include "card/card_dir_scan.h"
#include "card/card_records.h"
#include "card/ext_card.h"
#include "card/read_card_data_thread.h"
#include "loggers/qel629c.h"
#include "tests/card/buffer_folder_fixture.h"
#include "tests/card/card_fixture.h"
#include "tests/card/decoder_fixture.h"
#include "tests/support/scoped_time_zone.h"
#include "tools/cardgen/qel629_records.h"
#include "tools/cardgen/tagged_records.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace qel {
namespace {

using namespace qeltest;

constexpr std::uint32_t SN = 4200;
constexpr std::uint32_t ROWS = 4;
constexpr std::int16_t ROW_STEP = 10;           // units between the rows of a page
constexpr std::uint32_t BURST_LINES = 25;
constexpr std::int64_t BURST_INTERVAL = 2560;   // rate code 3
constexpr std::uint64_t PAGE_STEP = 64;         // units between page times: 25 lines x 2560 ticks
constexpr std::int64_t ONE_HOUR = 3686400000;   // ticks

enum class TBody { FourByteV1, FourByteV3, Qel629c, Tagged, TaggedWithBursts };

struct TModelCase {
    const char* name;
    std::uint16_t model;
    std::uint16_t version;        // firmware and PC version word
    TBody body;
    std::int64_t unit;            // ticks of a page time unit
    std::vector<std::uint8_t> channels;
};

// The values of the generated pages: recording r, page p, row (or burst line) i, channel c.
std::int16_t ValueOf(std::uint32_t recording, std::uint32_t page, std::uint32_t row, std::uint32_t channel)
{
    return static_cast<std::int16_t>(recording * 10000 + page * 1000 + row * 10 + channel);
}

std::uint16_t MaskOf(const std::vector<std::uint8_t>& channels)
{
    std::uint16_t mask = 0;
    for (std::uint8_t channel : channels) {
        mask = static_cast<std::uint16_t>(mask | 1u << channel);
    }
    return mask;
}

std::shared_ptr<cardgen::IPageBody> Body(const TModelCase& model, std::uint32_t recording)
{
    const auto valueOf = [recording](std::uint32_t page, std::uint32_t row, std::uint32_t channel) {
        return ValueOf(recording, page, row, channel);
    };
    switch (model.body) {
    case TBody::FourByteV1:
    case TBody::FourByteV3:
        return std::make_shared<cardgen::TFourByteRecordBody>(
            model.body == TBody::FourByteV1 ? cardgen::TFourByteRecordBody::TLayout::RecordsAt8
                                            : cardgen::TFourByteRecordBody::TLayout::SkipTwoBytes,
            model.channels, ROWS, ROW_STEP, valueOf);
    case TBody::Qel629c:
        return std::make_shared<cardgen::TQel629cRecordBody>(
            cardgen::TQel629cBodyDescription{model.channels, ROWS, ROW_STEP, valueOf, {{3, 2, 5, 1.5f, 2.5f}}});
    case TBody::Tagged:
    case TBody::TaggedWithBursts: {
        cardgen::TTaggedBodyDescription desc;
        desc.Rows = ROWS;
        desc.RowStepUnits = ROW_STEP;
        desc.Mask = MaskOf(model.channels);
        desc.ValueOf = valueOf;
        desc.ValueChannel = 17;
        desc.Markers = true;
        if (model.body == TBody::TaggedWithBursts) {
            desc.BurstLines = BURST_LINES;
            desc.BurstRate = 3;
            desc.BurstValueOf = valueOf;
        }
        return std::make_shared<cardgen::TTaggedRecordBody>(desc);
    }
    }
    return nullptr;
}

cardgen::TRecordingDescription Recording(const TModelCase& model, std::uint32_t recording, std::uint32_t pages,
                                  std::uint64_t startUnits, std::uint16_t firstPageNo)
{
    cardgen::TRecordingDescription desc;
    desc.Logger = {model.model, model.version, model.version, SN, {}};
    desc.PageCount = pages;
    desc.FirstPageNo = firstPageNo;
    desc.StartTimeUnits = startUnits;
    desc.TimeStepUnits = PAGE_STEP;
    desc.Body = Body(model, recording);
    return desc;
}

// What the pages of a recording hold, computed from the page plan.
void AddExpected(const TModelCase& model, std::uint32_t recording, std::uint32_t pages, std::uint64_t startUnits,
                 std::int64_t offset, TSeriesByChannel& series)
{
    const bool tagged = model.body == TBody::Tagged || model.body == TBody::TaggedWithBursts;
    for (std::uint32_t page = 0; page < pages; ++page) {
        const auto pageUnits = static_cast<std::int64_t>(startUnits + page * PAGE_STEP);
        for (std::uint32_t row = 0; row < ROWS; ++row) {
            const std::int64_t time = (pageUnits + row * ROW_STEP) * model.unit + offset;
            for (std::uint8_t channel : model.channels) {
                series[channel].emplace_back(time, ValueOf(recording, page, row, channel));
            }
            if (tagged) {
                series[17].emplace_back(time, ValueOf(recording, page, row, 17));
            }
        }
        if (tagged) {
            const std::int64_t marker = (pageUnits + (ROWS - 1) * ROW_STEP) * model.unit;
            series[16].insert(series[16].end(), {{marker - 1, 0}, {marker, 1}, {marker + 1, 0}});
        }
        if (model.body == TBody::TaggedWithBursts) {
            const std::uint32_t channels[4] = {2, 3, 4, 13};
            for (std::uint32_t line = 0; line < BURST_LINES; ++line) {
                for (std::uint32_t position = 0; position < 4; ++position) {
                    series[channels[position]].emplace_back(pageUnits * model.unit + line * BURST_INTERVAL,
                                                            ValueOf(recording, page, line, position));
                }
            }
        }
    }
}

class DecodedCardRead : public BufferFolderTest {
protected:
    void SetUp() override
    {
        BufferFolderTest::SetUp();
        Reset();
        InitBurstData();
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
        ReadBufferList.MissionData = {};
        QelList.Clear();
    }

    TCardRecord& Record(int index) { return dynamic_cast<TCardRecord&>(*RecInfoList.GetItem(index)); }

    // Writes the card: recording 0's continuation (pages 3-5) at its start,
    // the logger's later recording 1, another logger, then recording 0's
    // beginning (pages 0-2) with a junk cluster and page 1 written twice.
    void ScanCard(const TModelCase& model)
    {
        cardgen::TCardDescription desc;
        desc.Recordings = {Recording(model, 0, 6, 1000, 0), Recording(model, 1, 2, 5000, 100),
                           Recording(model, 2, 1, 3000, 200)};
        desc.Recordings[2].Logger.Serial = SN + 1;
        desc.Layout = {cardgen::TPlaceRecording{0, 3, 3}, cardgen::TPlaceRecording{1, 0, {}},
                       cardgen::TPlaceRecording{2, 0, {}}, cardgen::TPlaceRecording{0, 0, 2},
                       cardgen::TJunkClusters{1},          cardgen::TRepeatPage{0, 1},
                       cardgen::TPlaceRecording{0, 2, 1}};
        Generate(FCard, desc);
        FillImage(ExtCard, FCard.Manifest.Files);
        ScanCardDirectory(ExtCard, RecInfoList, {});
    }

    // As the application does: selects the records, makes the logger of the
    // first one current, then reads with spill files.
    void ReadRecords(std::initializer_list<int> indexes)
    {
        for (int index : indexes) {
            Record(index).Selected = true;
        }
        const TQEL& logger = BindLoggerOfFirstSelected(RecInfoList);
        ASSERT_TRUE(logger.IsKnownVersion(logger.ID_CLASS, logger.ID_VER_PC));
        ReadBufferList.SetUseFileStream(true);
        ReadCardData(ExtCard, RecInfoList, {});
    }

    TGeneratedCard FCard;
};

TEST_F(DecodedCardRead, SelectedRecordingsDecodeIntoTheExpectedSeries)
{
    const ScopedTimeZone zone("XYZ-1");   // one hour east of UTC: QEL629c times are local
    const TModelCase cases[] = {
        {"QEL629 below 3.06", 0x6601, 0x0305, TBody::FourByteV1, 2000, {0, 5, 14}},
        {"QEL629 3.06 to 5.xx", 0x6601, 0x0500, TBody::FourByteV3, 2000, {1, 7}},
        {"QEL629c", 0x6601, 0x0600, TBody::Qel629c, 2000, {0, 20, 30}},
        {"QEL649 below 1.31", 0x6606, 0x0110, TBody::Tagged, 1000, {0, 1, 7}},
        {"QEL649 from 1.31", 0x6606, 0x0120, TBody::TaggedWithBursts, 1000, {0, 7}},
        {"QEL649 of model code 0x6607", 0x6607, 0x0224, TBody::TaggedWithBursts, 1000, {1, 5, 11}},
    };
    for (const TModelCase& model : cases) {
        SCOPED_TRACE(model.name);
        Reset();
        ScanCard(model);
        ASSERT_EQ(RecInfoList.Count(), 3);   // sorted: SN 4200 at 1000 (wrapped), at 5000; SN 4201
        ASSERT_TRUE(Record(0).bMemoryCirculation);

        ReadRecords({0, 1});
        const std::int64_t offset = model.body == TBody::Qel629c ? ONE_HOUR : 0;
        TSeriesByChannel expected;
        AddExpected(model, 0, 6, 1000, offset, expected);
        AddExpected(model, 1, 2, 5000, offset, expected);
        EXPECT_EQ(ReadListSeries(), expected);
        for (TBufferBaseData* buffer : ReadBufferList) {
            EXPECT_EQ(buffer->GetLinkQEL()->SN, SN);
            EXPECT_FALSE(buffer->GetExtFileName().empty()) << "the buffers spill to files";
        }
        if (model.body == TBody::Qel629c) {
            const auto& logger = dynamic_cast<const TQEL629C&>(*QelList.GetCurrent());
            EXPECT_TRUE(logger.Channels.GetItem(3).Limit->bReaderRead);
            EXPECT_EQ(logger.Channels.GetItem(3).Limit->alarm_condition, 5);
        }
        if (model.body == TBody::TaggedWithBursts) {
            EXPECT_DOUBLE_EQ(ReadBufferList.MissionData.StartTime, DATE_TIME_2000 + TicksToDays(1000 * 1000));
        }
    }
}

TEST_F(DecodedCardRead, QEL25RecordingsEndTheReadWithoutData)
{
    const TModelCase model{"QEL25", 0x6628, 0x0100, TBody::TaggedWithBursts, 1000, {0, 1}};
    ScanCard(model);
    ASSERT_EQ(RecInfoList.Count(), 3);
    ReadRecords({0});
    EXPECT_EQ(ReadBufferList.Count(), 0);
    EXPECT_FALSE(ReadBufferList.MissionData.bValidStartTime);
}

} // namespace
} // namespace qel
