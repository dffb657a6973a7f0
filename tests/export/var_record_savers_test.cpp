// Savers of the QEL62xW, QEL621WxD, QEL624c, QEL621WD and QEL51 loggers:
// header-block sequences, stored names, channel identities and limits,
// stored rows, and the QEL624c FIFO blocks (last part only, block sizes,
// cancellation, a decoded page saved, nothing of an earlier read).
#include "card/card_records.h"
#include "card/ext_card.h"
#include "card/fifo_data.h"
#include "card/page_base.h"
#include "card/read_card_data_thread.h"
#include "export/data_file.h"
#include "export/save_file_thread_qel51.h"
#include "export/save_file_thread_qel621wd.h"
#include "export/save_file_thread_qel624c.h"
#include "export/save_file_thread_qel62xw.h"
#include "foundations/qel_error.h"
#include "loggers/qel51.h"
#include "loggers/qel621wd.h"
#include "loggers/qel621wxd.h"
#include "loggers/qel624c.h"
#include "loggers/qel629wxd.h"
#include "platform/text_encoding.h"
#include "tests/export/save_fixture.h"
#include "tests/export/single_block.h"
#include "tools/cardgen/cluster_writer.h"
#include "tools/cardgen/var_records.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <filesystem>
#include <functional>
#include <limits>

namespace {

using qeltest::BlockFileContent;
using qeltest::PayloadCursor;
using qeltest::SingleBlock;
using Types = std::vector<std::uint16_t>;

constexpr std::uint32_t SN = 4711;

// Appends count channels of the logger's own copy: "C0" ..., IDs 100 ...
template <class T>
void AddChannels(T& logger, int count)
{
    using TChannel = std::remove_reference_t<decltype(logger.Channels.GetItem(0))>;
    for (int i = 0; i < count; ++i) {
        auto* channel = new TChannel();
        channel->Info.sName = std::string("C").append(std::to_string(i));
        channel->Info.sUnit = std::string("\xC2\xB0").append(std::to_string(i));
        channel->Info.chID = static_cast<std::uint16_t>(100 + i);
        logger.Channels.Add(channel);
    }
}

class VarRecordSaverTest : public qeltest::SaveFixture {
public:
    VarRecordSaverTest() { qel::FifoDataList.clearAll(); }
    ~VarRecordSaverTest() override { qel::FifoDataList.clearAll(); }

    void ExpectSaved() const
    {
        EXPECT_EQ(States(), (std::vector<plat::WPARAM>{qel::THREAD_STARTED, qel::THREAD_SAVED, qel::THREAD_FINISHED}))
            << qel::LastErrorMsg();
    }

    // A logger of the family with four channels.
    template <class T>
    T& Logger(std::uint16_t model, std::uint16_t version)
    {
        T& logger = AddLogger<T>(SN, model, version);
        AddChannels(logger, 4);
        return logger;
    }

protected:
    // The data rows of a part: time in days, then the cells' bits.
    static std::vector<std::pair<double, std::vector<std::uint32_t>>> Rows(const BlockFileContent& content, int cells)
    {
        std::vector<std::pair<double, std::vector<std::uint32_t>>> rows;
        for (const qeltest::BlockRecord& block : content.blocks) {
            if (block.type != qel::BLOCK_ROWS) {
                continue;
            }
            PayloadCursor cursor(block.payload);
            while (!cursor.AtEnd()) {
                auto& row = rows.emplace_back(cursor.Double(), std::vector<std::uint32_t>{});
                for (int i = 0; i < cells; ++i) {
                    row.second.push_back(cursor.SingleBits());
                }
            }
        }
        return rows;
    }

    // The FIFO blocks of a part: per block its records (time, channel, state, value).
    struct TFifoRecordValues {
        std::int32_t Time;
        std::uint16_t Channel;
        std::uint16_t State;
        float Value;
        bool operator==(const TFifoRecordValues&) const = default;
    };
    static std::vector<std::vector<TFifoRecordValues>> FifoBlocks(const BlockFileContent& content)
    {
        std::vector<std::vector<TFifoRecordValues>> blocks;
        for (const qeltest::BlockRecord& block : content.blocks) {
            if (block.type != qel::BLOCK_FIFO) {
                continue;
            }
            PayloadCursor cursor(block.payload);
            auto& records = blocks.emplace_back();
            while (!cursor.AtEnd()) {
                const std::int32_t time = cursor.Longint();
                const std::uint16_t channel = cursor.Word();
                const std::uint16_t state = cursor.Word();
                records.push_back({time, channel, state, cursor.Single()});
            }
        }
        return blocks;
    }
};

TEST_F(VarRecordSaverTest, HeaderBlockSequencePerFamily)
{
    struct Case {
        const char* what;
        qel::TSaveFileThreadClass saver;
        std::function<qel::TQEL&(VarRecordSaverTest&)> logger;
        Types types;
    };
    const Types configurable = {0, 20, 1, 2, 3, 13, 5, 25, 15, 6, 7, 26, 8};
    const std::vector<Case> cases = {
        {"QEL629WxD", &qel::TSaveFileThreadQEL62xW::ClassInfo,
         [](VarRecordSaverTest& f) -> qel::TQEL& { return f.Logger<qel::TQEL629WxD>(0x6617, 0x0200); },
         Types{0, 20, 1, 2, 3, 13, 5, 25, 15, 6, 7, 26, 11, 8}},
        {"QEL621WxD", &qel::TSaveFileThreadQEL621WxD::ClassInfo,
         [](VarRecordSaverTest& f) -> qel::TQEL& { return f.Logger<qel::TQEL621WxD>(0x6621, 0x0200); },
         Types{0, 20, 1, 2, 3, 13, 5, 25, 15, 6, 7, 26, 11, 8}},
        {"QEL624c", &qel::TSaveFileThreadQEL624c::ClassInfo,
         [](VarRecordSaverTest& f) -> qel::TQEL& { return f.Logger<qel::TQEL624C>(0x6619, 0x0110); }, configurable},
        {"QEL621WD", &qel::TSaveFileThreadQEL621WD::ClassInfo,
         [](VarRecordSaverTest& f) -> qel::TQEL& { return f.Logger<qel::TQEL621WD>(0x6621, 0x0109); }, configurable},
        {"QEL51", &qel::TSaveFileThreadQEL51::ClassInfo,
         [](VarRecordSaverTest& f) -> qel::TQEL& { return f.Logger<qel::TQEL51>(0x6616, 0x0105); },
         Types{0, 20, 1, 2, 3, 13, 5, 15, 6, 7, 8}},
    };
    for (const Case& c : cases) {
        ResetSave();
        qel::TQEL& logger = c.logger(*this);
        AddSingle(logger, 1, 0, 1.5f);
        AddSingle(logger, 2, 0, 2.5f);
        RunSave(c.saver);
        ExpectSaved();
        EXPECT_EQ(qeltest::BlockTypes(ReadPart(0)), c.types) << c.what;
    }
}

TEST_F(VarRecordSaverTest, StoredNamesPerFamily)
{
    struct Case {
        const char* what;
        qel::TSaveFileThreadClass saver;
        std::function<qel::TQEL&(VarRecordSaverTest&)> logger;
        std::string expected;   // Windows-1252
    };
    const auto named = [](auto& logger) -> qel::TQEL& {
        logger.QELNAME = "Kühlraum";
        return logger;
    };
    const std::vector<Case> cases = {
        {"QEL629WxD 1.02", &qel::TSaveFileThreadQEL62xW::ClassInfo,
         [&](VarRecordSaverTest& f) -> qel::TQEL& { return named(f.Logger<qel::TQEL629WxD>(0x6617, 0x0102)); },
         "K\xFChlraum"},
        {"QEL629WxD 1.01: no name yet", &qel::TSaveFileThreadQEL62xW::ClassInfo,
         [&](VarRecordSaverTest& f) -> qel::TQEL& { return named(f.Logger<qel::TQEL629WxD>(0x6617, 0x0101)); }, ""},
        {"QEL621WxD", &qel::TSaveFileThreadQEL621WxD::ClassInfo,
         [&](VarRecordSaverTest& f) -> qel::TQEL& { return named(f.Logger<qel::TQEL621WxD>(0x6621, 0x0200)); },
         "K\xFChlraum"},
        {"QEL624c 1.02", &qel::TSaveFileThreadQEL624c::ClassInfo,
         [&](VarRecordSaverTest& f) -> qel::TQEL& { return named(f.Logger<qel::TQEL624C>(0x6619, 0x0102)); },
         "K\xFChlraum"},
        {"QEL624c 1.01", &qel::TSaveFileThreadQEL624c::ClassInfo,
         [&](VarRecordSaverTest& f) -> qel::TQEL& { return named(f.Logger<qel::TQEL624C>(0x6619, 0x0101)); }, ""},
        {"QEL621WD", &qel::TSaveFileThreadQEL621WD::ClassInfo,
         [&](VarRecordSaverTest& f) -> qel::TQEL& { return named(f.Logger<qel::TQEL621WD>(0x6621, 0x0100)); },
         "K\xFChlraum"},
        {"QEL51", &qel::TSaveFileThreadQEL51::ClassInfo,
         [](VarRecordSaverTest& f) -> qel::TQEL& { return f.Logger<qel::TQEL51>(0x6616, 0x0105); }, ""},
    };
    for (const Case& c : cases) {
        ResetSave();
        qel::TQEL& logger = c.logger(*this);
        AddSingle(logger, 0, 0, 1.0f);
        AddSingle(logger, 1, 0, 1.0f);
        RunSave(c.saver);
        ExpectSaved();
        PayloadCursor names(SingleBlock(ReadPart(0), qel::BLOCK_STORED_NAMES));
        EXPECT_EQ(names.String(), c.expected) << c.what;
        EXPECT_EQ(names.String(), c.expected) << c.what;
        EXPECT_TRUE(names.AtEnd()) << c.what;
    }
}

TEST_F(VarRecordSaverTest, StoredRowsKeepTheSinglesAsTheyAre)
{
    // No conversion and no gap test: NaN patterns pass; a channel without a
    // sample at a row's time holds NoValueMarker.
    auto& logger = Logger<qel::TQEL629WxD>(0x6617, 0x0200);
    const float gapLike = std::bit_cast<float>(0xFFFFFFFEu);
    const float quietNaN = std::numeric_limits<float>::quiet_NaN();
    AddSingle(logger, 3, 1000, -2.5f);
    AddSingle(logger, 3, 2000, gapLike);
    AddSingle(logger, 1, 2000, quietNaN);
    AddSingle(logger, 1, 3000, 1e30f);
    RunSave(&qel::TSaveFileThreadQEL62xW::ClassInfo);
    ExpectSaved();
    const auto rows = Rows(ReadPart(0), 2);
    const std::uint32_t none = 0xFFFFFFFF;
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].second, (std::vector<std::uint32_t>{none, std::bit_cast<std::uint32_t>(-2.5f)}));
    EXPECT_EQ(rows[1].second, (std::vector<std::uint32_t>{std::bit_cast<std::uint32_t>(quietNaN), 0xFFFFFFFE}));
    EXPECT_EQ(rows[2].second, (std::vector<std::uint32_t>{std::bit_cast<std::uint32_t>(1e30f), none}));
    EXPECT_EQ(rows[2].first, qel::TicksToDays(2000));
}

TEST_F(VarRecordSaverTest, ChannelIdentityOfTheConfigurableFamilies)
{
    struct Case {
        const char* what;
        qel::TSaveFileThreadClass saver;
        std::function<qel::TQEL&(VarRecordSaverTest&)> logger;
    };
    const std::vector<Case> cases = {
        {"QEL629WxD", &qel::TSaveFileThreadQEL62xW::ClassInfo,
         [](VarRecordSaverTest& f) -> qel::TQEL& { return f.Logger<qel::TQEL629WxD>(0x6617, 0x0200); }},
        {"QEL621WD", &qel::TSaveFileThreadQEL621WD::ClassInfo,
         [](VarRecordSaverTest& f) -> qel::TQEL& { return f.Logger<qel::TQEL621WD>(0x6621, 0x0110); }},
    };
    for (const Case& c : cases) {
        ResetSave();
        qel::TQEL& logger = c.logger(*this);
        AddSingle(logger, 2, 0, 1.0f);
        AddSingle(logger, 9, 0, 1.0f);   // names no channel
        RunSave(c.saver);
        ExpectSaved();
        PayloadCursor identity(SingleBlock(ReadPart(0), qel::BLOCK_CHANNEL_IDENTITY));
        EXPECT_EQ(identity.Word(), 1) << c.what;
        for (const std::uint16_t id : {102, 0x3FFF}) {
            EXPECT_EQ(identity.Longint(), 0) << c.what;
            EXPECT_EQ(identity.Word(), logger.ID_CLASS) << c.what;
            EXPECT_EQ(identity.Word(), logger.ID_VER) << c.what;
            EXPECT_EQ(identity.Word(), id) << c.what;
        }
        EXPECT_TRUE(identity.AtEnd()) << c.what;
    }
}

TEST_F(VarRecordSaverTest, LimitsOfTheChannelsThePagesCarried)
{
    struct Case {
        const char* what;
        std::uint16_t version;        // 2.00 on: channel numbers are indexes; before, 4 series per channel
        std::uint32_t channel;        // the saved channel number
        int limitedIndex;             // the channel index whose limit is set
        bool read;
        std::uint8_t alarm, record;
        bool written;
    };
    const Case cases[] = {
        {"read, with conditions", 0x0200, 2, 2, true, 3, 5, true},
        {"alarm condition only", 0x0200, 2, 2, true, 1, 0, true},
        {"not read", 0x0200, 2, 2, false, 3, 5, false},
        {"no condition", 0x0200, 2, 2, true, 0, 0, false},
        {"another channel's limit", 0x0200, 2, 1, true, 3, 5, false},
        {"number at the channel count", 0x0200, 4, 3, true, 3, 5, false},
        {"series 4 x 2 + 3 of a 1.xx logger", 0x0150, 11, 2, true, 3, 5, true},
        {"series of a channel beyond the list", 0x0150, 17, 3, true, 3, 5, false},
    };
    for (const Case& c : cases) {
        ResetSave();
        auto& logger = Logger<qel::TQEL629WxD>(0x6617, c.version);
        auto& limit = *logger.Channels.GetItem(c.limitedIndex).Limit;
        limit.bReaderRead = c.read;
        limit.alarm_condition = c.alarm;
        limit.rec_condition = c.record;
        limit.limit_L1 = 12.5;
        limit.limit_L2 = -0.1;
        AddSingle(logger, c.channel, 0, 1.0f);
        RunSave(&qel::TSaveFileThreadQEL62xW::ClassInfo);
        ExpectSaved();
        PayloadCursor limits(SingleBlock(ReadPart(0), qel::BLOCK_LIMITS));
        EXPECT_EQ(limits.Word(), c.written ? c.alarm : 0) << c.what;
        EXPECT_EQ(limits.Word(), c.written ? c.record : 0) << c.what;
        EXPECT_EQ(limits.Single(), c.written ? 12.5f : 0.0f) << c.what;
        EXPECT_EQ(limits.Single(), c.written ? -0.1f : 0.0f) << c.what;
        EXPECT_TRUE(limits.AtEnd()) << c.what;
    }
}

TEST_F(VarRecordSaverTest, Qel624cListsEveryFifoChannelAndAppendsItsRecords)
{
    auto& logger = Logger<qel::TQEL624C>(0x6619, 0x0110);
    qel::FifoDataList.addFifoData(logger, 10000, 8, 0, 20.5f);
    qel::FifoDataList.addFifoData(logger, 0xFFFFFFFF, 4, 0x11, -1.0f);
    qel::FifoDataList.addFifoData(logger, 10001, 8, 3, 21.5f);
    AddSingle(logger, 8, 0, 20.5f);   // the save list holds channel 8 only
    RunSave(&qel::TSaveFileThreadQEL624c::ClassInfo);
    ExpectSaved();
    const BlockFileContent content = ReadPart(0);
    EXPECT_EQ(qeltest::BlockTypes(content), (Types{0, 20, 1, 2, 3, 13, 5, 25, 15, 6, 7, 26, 8, 28, 28}));

    PayloadCursor identity(SingleBlock(content, qel::BLOCK_CHANNEL_IDENTITY));
    EXPECT_EQ(identity.Word(), 2);
    for (const std::uint16_t channel : {8, 4}) {
        EXPECT_EQ(identity.Longint(), static_cast<std::int32_t>(SN));
        EXPECT_EQ(identity.Word(), channel);
        EXPECT_EQ(identity.Word(), logger.getChID(channel));
        EXPECT_EQ(identity.String(), plat::Utf8ToAnsi(logger.GetChName(channel)));
        EXPECT_EQ(identity.String(), plat::Utf8ToAnsi(logger.GetChUnit(channel)));
    }
    EXPECT_TRUE(identity.AtEnd());
    EXPECT_EQ(logger.GetChName(4), "C1");

    EXPECT_EQ(FifoBlocks(content), (std::vector<std::vector<TFifoRecordValues>>{
                                       {{10000, 8, 0, 20.5f}, {10001, 8, 3, 21.5f}}, {{-1, 4, 0x11, -1.0f}}}));
}

TEST_F(VarRecordSaverTest, FifoBlocksHoldWholeRecordsUpToTheTarget)
{
    // 12 bytes a record: a block closes after record 834 (10,008 bytes).
    auto& logger = Logger<qel::TQEL624C>(0x6619, 0x0110);
    for (std::uint32_t i = 0; i < 900; ++i) {
        qel::FifoDataList.addFifoData(logger, i, 0, static_cast<std::uint8_t>(i), static_cast<float>(i));
    }
    qel::FifoDataList.addFifoData(logger, 5, 12, 1, 1.0f);
    RunSave(&qel::TSaveFileThreadQEL624c::ClassInfo);   // no rows at all
    ExpectSaved();
    const auto blocks = FifoBlocks(ReadPart(0));
    ASSERT_EQ(blocks.size(), 3u);
    EXPECT_EQ(blocks[0].size(), 834u);
    EXPECT_EQ(blocks[1].size(), 66u);
    EXPECT_EQ(blocks[1].back(), (TFifoRecordValues{899, 0, 899 & 0xFF, 899.0f}));
    EXPECT_EQ(blocks[2], (std::vector<TFifoRecordValues>{{5, 12, 1, 1.0f}}));
}

TEST_F(VarRecordSaverTest, FifoBlocksOnlyInTheLastPart)
{
    struct Case {
        int rows;
        std::vector<std::size_t> rowsPerPart;   // budget 1000 rows
    };
    // A budget that ends at the very last row leaves no empty part: the FIFO
    // records go into that part.
    for (const Case& c : {Case{1500, {1000, 500}}, Case{1000, {1000}}}) {
        ResetSave();
        qel::FifoDataList.clearAll();
        qel::RecInfoList.SetMaxSize(1000);
        auto& logger = Logger<qel::TQEL624C>(0x6619, 0x0110);
        for (int i = 0; i < c.rows; ++i) {
            AddSingle(logger, 1, i * 1000, static_cast<float>(i));
        }
        qel::FifoDataList.addFifoData(logger, 77, 4, 0, 7.0f);
        RunSave(&qel::TSaveFileThreadQEL624c::ClassInfo);
        ExpectSaved();
        const int last = static_cast<int>(c.rowsPerPart.size()) - 1;
        EXPECT_FALSE(std::filesystem::exists(PartName(last + 1))) << c.rows;
        for (int part = 0; part <= last; ++part) {
            const BlockFileContent content = ReadPart(part);
            EXPECT_EQ(Rows(content, 1).size(), c.rowsPerPart[static_cast<std::size_t>(part)]) << c.rows;
            if (part == last) {
                EXPECT_EQ(FifoBlocks(content), (std::vector<std::vector<TFifoRecordValues>>{{{77, 4, 0, 7.0f}}}))
                    << c.rows;
            } else {
                EXPECT_TRUE(FifoBlocks(content).empty()) << c.rows << ", part " << part;
            }
            PayloadCursor identity(SingleBlock(content, qel::BLOCK_CHANNEL_IDENTITY));
            EXPECT_EQ(identity.Word(), 2);
            EXPECT_EQ(identity.Longint(), static_cast<std::int32_t>(SN));
            EXPECT_EQ(identity.Word(), 4) << "every part lists the FIFO channels";
        }
    }
}

TEST_F(VarRecordSaverTest, CancelWhileWritingFifoRecords)
{
    // No rows: the first test of the terminate request is after the first FIFO record.
    auto& logger = Logger<qel::TQEL624C>(0x6619, 0x0110);
    qel::FifoDataList.addFifoData(logger, 1, 0, 0, 1.0f);
    RunSave(&qel::TSaveFileThreadQEL624c::ClassInfo, [](qel::TSaveFileThread& t) { t.Terminate(); });
    EXPECT_EQ(FailureCode(), qel::EXC_USER_ABORT);
    EXPECT_EQ(States(), (std::vector<plat::WPARAM>{qel::THREAD_STARTED, qel::THREAD_FAILED}));
    EXPECT_TRUE(FolderEntries().empty()) << "the cancelled part is not left behind";
}

TEST_F(VarRecordSaverTest, ALoggerOfAnotherFamilyFailsTheSave)
{
    const struct {
        qel::TSaveFileThreadClass saver;
        std::uint16_t model;
    } cases[] = {{&qel::TSaveFileThreadQEL62xW::ClassInfo, 0x6617},
                 {&qel::TSaveFileThreadQEL621WxD::ClassInfo, 0x6621},
                 {&qel::TSaveFileThreadQEL624c::ClassInfo, 0x6619},
                 {&qel::TSaveFileThreadQEL621WD::ClassInfo, 0x6621},
                 {&qel::TSaveFileThreadQEL51::ClassInfo, 0x6616}};
    for (const auto& c : cases) {
        ResetSave();
        auto& logger = AddLogger<qel::TQEL>(SN, c.model, 0x0200);
        AddSingle(logger, 1, 0, 1.0f);
        RunSave(c.saver);
        EXPECT_EQ(FailureCode(), 0) << c.saver->ClassName;
        EXPECT_EQ(States(), (std::vector<plat::WPARAM>{qel::THREAD_STARTED, qel::THREAD_FAILED})) << c.saver->ClassName;
    }
}

TEST_F(VarRecordSaverTest, DecodedPagesSavedWithoutTheRecordsOfAnEarlierRead)
{
    qel::InitFifoData();
    // A QEL624c page with FIFO records of FIFO channels 1 and 0, built by cardgen.
    const auto decodePage = [](std::uint32_t fifoTime) {
        std::vector<std::uint8_t> page(qel::PAGE_SIZE, 0);
        qel::cardgen::TPageHeaderFields header;
        header.TimeUnits = 100;
        qel::cardgen::WritePageHeader(page, header);
        qel::cardgen::TVarRecordWriter writer(page, qel::cardgen::kPageHeaderSize);
        writer.AddFifo(0x00, fifoTime, 1, 2.5f);
        writer.AddStep(1);
        writer.AddFifo(0x01, fifoTime + 1, 0, -4.0f);
        writer.AddEnd();
        const std::unique_ptr<qel::TPage> decoder = qel::GetPageClass(0x6619, 0x0110).Create();
        decoder->New(0, page.data(), qel::PAGE_SIZE);
        decoder->ReadData();
    };
    auto& logger = Logger<qel::TQEL624C>(0x6619, 0x0110);
    qel::ReadBufferList.SetActiveQEL(&logger);
    decodePage(500);
    RunSave(&qel::TSaveFileThreadQEL624c::ClassInfo);
    ExpectSaved();
    const BlockFileContent first = ReadPart(0);
    EXPECT_EQ(Rows(first, 4).size(), 2u);
    EXPECT_EQ(FifoBlocks(first), (std::vector<std::vector<TFifoRecordValues>>{{{500, 4, 0, 2.5f}},
                                                                               {{501, 0, 1, -4.0f}}}));

    // The next read resets the side data before it decodes.
    qel::ReadBufferList.ClearAll();
    qel::TExtCard card;
    qel::TRecInfoList records;
    qel::ReadCardData(card, records, {});
    qel::ReadBufferList.SetActiveQEL(&logger);
    decodePage(900);
    RunSave(&qel::TSaveFileThreadQEL624c::ClassInfo);
    EXPECT_EQ(FifoBlocks(ReadPart(0)), (std::vector<std::vector<TFifoRecordValues>>{{{900, 4, 0, 2.5f}},
                                                                                     {{901, 0, 1, -4.0f}}}));
}

} // namespace
