// Decode and save end to end for the QEL539c and QEL28 loggers: generated
// pages with radio records or SE page blocks, decoded by the model's decoder
// into the read list, then saved by the model's saver and read back.
#include "card/buffer_list.h"
#include "card/page_base.h"
#include "card/se_pages.h"
#include "export/data_file.h"
#include "export/saver_selection.h"
#include "foundations/byte_helpers.h"
#include "foundations/qel_error.h"
#include "foundations/tick_time.h"
#include "loggers/qel28.h"
#include "loggers/qel539c.h"
#include "tests/export/save_fixture.h"
#include "tests/export/single_block.h"
#include "tools/cardgen/card_description.h"
#include "tools/cardgen/model_block_bytes.h"
#include "tools/cardgen/var_records.h"

#include <gtest/gtest.h>

#include <bit>
#include <memory>
#include <string>
#include <vector>

namespace {

using qeltest::PayloadCursor;
using qeltest::SingleBlock;

constexpr std::int64_t UNIT = 1000;   // ticks of a time unit of these models

class ModelBlockDecodeSaveTest : public qeltest::SaveFixture {
protected:
    ModelBlockDecodeSaveTest() { qel::SEPageList.Clear(); }
    ~ModelBlockDecodeSaveTest() override { qel::SEPageList.Clear(); }

    // Decodes every page of the recording, as the card-data reader does with
    // the pages of one record, for the current logger.
    static void DecodeRecording(const qel::cardgen::TRecordingDescription& recording)
    {
        qel::ReadBufferList.SetActiveQEL(qel::QelList.GetCurrent());
        const std::unique_ptr<qel::TPage> decoder =
            qel::GetPageClass(recording.Logger.ModelCode, recording.Logger.PcVersion).Create();
        decoder->BeginRead();
        for (std::uint32_t i = 0; i < recording.PageCount; ++i) {
            const qel::cardgen::TClusterBytes cluster = qel::cardgen::BuildRecordingCluster(recording, i);
            decoder->New(0, cluster.data() + qel::cardgen::kPageOffset, qel::PAGE_SIZE);
            decoder->ReadData();
        }
        decoder->FinishRead();
    }

    static qel::cardgen::TRecordingDescription Recording(std::uint16_t model, std::uint16_t version, std::uint32_t sn,
                                                  qel::cardgen::TVarRecordBody::TFill fill)
    {
        qel::cardgen::TRecordingDescription recording;
        recording.Logger = {model, version, version, sn, {}};
        recording.PageCount = 2;
        recording.StartTimeUnits = 1000;
        recording.TimeStepUnits = 100;
        recording.Body = std::make_shared<qel::cardgen::TVarRecordBody>(std::move(fill));
        return recording;
    }

    void ExpectSaved() const
    {
        EXPECT_EQ(States(), (std::vector<plat::WPARAM>{qel::THREAD_STARTED, qel::THREAD_SAVED, qel::THREAD_FINISHED}))
            << qel::LastErrorMsg();
    }
};

TEST_F(ModelBlockDecodeSaveTest, Qel539cRadioModulesAreNamedAndIdentifiedInTheSavedFile)
{
    auto& logger = AddLogger<qel::TQEL539C>(539, 0x6615, 0x0301);
    logger.QELNAME = "Funk";
    // Per page: the logger's channel 0, one unit later the module's temperature and counter.
    DecodeRecording(Recording(0x6615, 0x0301, 539, [](std::uint32_t page, qel::cardgen::TVarRecordWriter& w) {
        w.AddValue(0, page == 0 ? 20.5f : -2.5f);
        w.AddShortStep(1);
        w.AddBytes(qel::cardgen::RadioRecordBytes({0x00, 1, 0, 0x1001, 40 + page, 0x02,
                                                   {static_cast<std::int16_t>(200 + 10 * page)}}));
    }));
    RunSave(qel::GetSaveFileThreadClass(0x6615, 0x0301));
    ExpectSaved();
    const qeltest::BlockFileContent content = ReadPart(0);

    PayloadCursor names(SingleBlock(content, qel::BLOCK_LOGGER_NAMES));
    PayloadCursor channelNames(SingleBlock(content, qel::BLOCK_CHANNEL_NAMES));
    PayloadCursor identity(SingleBlock(content, qel::BLOCK_CHANNEL_IDENTITY));
    EXPECT_EQ(identity.Word(), 3);
    struct Expected {
        const char* logger;
        const char* channel;
        std::int32_t sn;
        std::uint16_t id;
    };
    for (const Expected& e : {Expected{"QEL539", "0?", 0, 0}, Expected{"SM-4097", "T", 0x1001, 4},
                              Expected{"SM-4097", "cap", 0x1001, 20}}) {
        EXPECT_EQ(names.String(), e.logger);
        EXPECT_EQ(channelNames.String(), e.channel);
        EXPECT_EQ(identity.Longint(), e.sn) << e.channel;
        EXPECT_EQ(identity.Word(), 0x6615);
        EXPECT_EQ(identity.Word(), 0x0301);
        EXPECT_EQ(identity.Word(), e.id) << e.channel;
    }
    EXPECT_TRUE(identity.AtEnd());

    // Rows: page times 1000 and 1100 units, the module one unit later.
    PayloadCursor rows(SingleBlock(content, qel::BLOCK_ROWS));
    const float none = qel::NoValueMarker();
    const struct {
        std::int64_t units;
        float cells[3];
    } expected[] = {{0, {20.5f, none, none}}, {1, {none, 20.0f, 40.0f}},
                    {100, {-2.5f, none, none}}, {101, {none, 21.0f, 41.0f}}};
    for (const auto& row : expected) {
        EXPECT_EQ(rows.Double(), qel::TicksToDays(row.units * UNIT)) << row.units;
        for (const float cell : row.cells) {
            EXPECT_EQ(rows.SingleBits(), std::bit_cast<std::uint32_t>(cell)) << row.units;
        }
    }
    EXPECT_TRUE(rows.AtEnd());
}

TEST_F(ModelBlockDecodeSaveTest, Qel28SEPagesOfTheReadLieBesideTheSavedFile)
{
    AddLogger<qel::TQEL28>(28, 0x6626, 0x0120);
    DecodeRecording(Recording(0x6626, 0x0120, 28, [](std::uint32_t page, qel::cardgen::TVarRecordWriter& w) {
        w.AddValue(4, page == 0 ? 20.5f : 21.0f);
        w.AddBytes(qel::cardgen::SEPageBlockBytes({10 + page, static_cast<std::uint8_t>(page), 7, 100 + page,
                                                   {static_cast<std::uint8_t>(page + 1), 255}}));
        w.AddValue(5, 1.0f);   // after the block: never read
    }));
    RunSave(qel::GetSaveFileThreadClass(0x6626, 0x0120));
    ExpectSaved();

    const std::string csv = qeltest::ReadWholeFile(dir.File("out.csv"));
    const auto lines = [&csv] {
        std::vector<std::string> result;
        for (std::size_t at = 0; at < csv.size();) {
            const std::size_t end = csv.find("\r\n", at);
            result.push_back(csv.substr(at, end - at));
            at = end == std::string::npos ? csv.size() : end + 2;
        }
        return result;
    }();
    ASSERT_EQ(lines.size(), 3u);
    const std::string zeros = [] {
        std::string cells;
        for (int i = 2; i < 1024; ++i) {
            cells += ";0";
        }
        return cells;
    }();
    EXPECT_EQ(lines[1], "0;10;0;100;7;1024;1;255" + zeros);
    EXPECT_EQ(lines[2], "1;11;1;101;7;1024;2;255" + zeros);

    PayloadCursor rows(SingleBlock(ReadPart(0), qel::BLOCK_ROWS));
    EXPECT_EQ(rows.Double(), 0.0);
    EXPECT_EQ(rows.Single(), 20.5f);
    EXPECT_EQ(rows.Double(), qel::TicksToDays(100 * UNIT));
    EXPECT_EQ(rows.Single(), 21.0f);
    EXPECT_TRUE(rows.AtEnd()) << "one channel: nothing after the blocks was decoded";
}

} // namespace
