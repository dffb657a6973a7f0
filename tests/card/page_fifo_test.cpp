// Tests of the FIFO-record decoders of QEL624c and QEL51: FIFO records as
// sample series and in FifoDataList, value records and unsigned steps, FIFO
// records cut off by the page's end, the list's reset at a read's start,
// and a generated recording decoded page by page.
#include "card/ext_card.h"
#include "card/card_records.h"
#include "card/fifo_data.h"
#include "card/qel51_fifo_log.h"
#include "card/read_card_data_thread.h"
#include "foundations/debug_modes.h"
#include "foundations/settings.h"
#include "loggers/qel51.h"
#include "loggers/qel624c.h"
#include "loggers/qel629wxd.h"
#include "tests/card/var_record_page_fixture.h"
#include "tools/cardgen/card_description.h"
#include "platform/format_settings.h"
#include "platform/known_folders.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

namespace qel {
namespace {

using namespace qeltest;
using TBytes = std::vector<std::uint8_t>;

constexpr std::uint16_t QEL624C = 0x6619;
constexpr std::uint16_t QEL51 = 0x6616;
constexpr std::uint16_t VERSION = 0x0110;

// FIFO record of the examples: state, FIFO time 10000, FIFO channel 2, 20.5.
TBytes FifoRecord(std::uint8_t state, std::uint8_t fifoChannel = 0x02)
{
    return {0xC0, state, 0x10, 0x27, 0x00, 0x00, fifoChannel, 0x00, 0xA4, 0x41};
}

TBytes Join(std::initializer_list<TBytes> parts)
{
    TBytes bytes;
    for (const TBytes& part : parts) {
        bytes.insert(bytes.end(), part.begin(), part.end());
    }
    return bytes;
}

const TBytes END = {0xE0};

class FifoPage : public VarRecordPageTest {
protected:
    void SetUp() override
    {
        VarRecordPageTest::SetUp();
        InitFifoData();
    }

    // A logger of the model with five channels named "C0" ... "C4".
    static TQEL& Logger(std::uint16_t model)
    {
        if (model == QEL624C) {
            auto& logger = UseLogger<TQEL624C>(model, VERSION);
            AddChannels(logger, 5);
            return logger;
        }
        auto& logger = UseLogger<TQEL51>(model, VERSION);
        AddChannels(logger, 5);
        return logger;
    }

    static TSingleSeries DecodeRecords(std::uint16_t model, const TBytes& records, bool fresh = true)
    {
        if (fresh) {
            Logger(model);
        }
        Decode(model, VERSION, RawPage(records));
        return ReadSingleSeries();
    }
};

TEST_F(FifoPage, FifoRecordGivesValueAndStateToTheChannelBase)
{
    const struct {
        std::uint8_t state;
        TSingleSeries expected;
    } cases[] = {
        {0x00, {{8, {{HEADER_TICKS, 20.5f}}}, {9, {{HEADER_TICKS, 0.0f}}}}},
        {0x11, {{10, {{HEADER_TICKS, 20.5f}}}, {11, {{HEADER_TICKS, 17.0f}}}}},
        {0xF0, {{8, {{HEADER_TICKS, 20.5f}}}, {9, {{HEADER_TICKS, 240.0f}}}}},   // only bits 3-0 choose
    };
    for (const std::uint16_t model : {QEL624C, QEL51}) {
        for (const auto& c : cases) {
            EXPECT_EQ(DecodeRecords(model, Join({FifoRecord(c.state), END})), c.expected)
                << std::hex << model << " state " << int{c.state};
        }
    }
}

TEST_F(FifoPage, Qel624cCollectsTheRecordsPerFifoChannel)
{
    // Samples carry the page's running time, the list the FIFO time.
    Logger(QEL624C);
    const TBytes records = Join({FifoRecord(0x00), {0x81, 0x00}, FifoRecord(0x11),
                                 {0xC5, 0x03, 0x01, 0x00, 0x00, 0x00, 0x41, 0x00, 0x80, 0x3F}, END});
    const TSingleSeries series = DecodeRecords(QEL624C, records, false);
    const std::int64_t later = HEADER_TICKS + 256'000;
    EXPECT_EQ(series, (TSingleSeries{{6, {{later, 1.0f}}},   // base 4, state 3: the second pair
                                     {7, {{later, 3.0f}}},
                                     {8, {{HEADER_TICKS, 20.5f}}},
                                     {9, {{HEADER_TICKS, 0.0f}}},
                                     {10, {{later, 20.5f}}},
                                     {11, {{later, 17.0f}}}}));

    const TQEL& logger = *QelList.GetCurrent();
    EXPECT_EQ(FifoChannels(),
              (std::vector<TFifoChannelValues>{
                  {8, logger.getChID(8), 4711, logger.GetChName(8), logger.GetChUnit(8), {{10000, 0}, {10000, 0x11}},
                   {20.5f, 20.5f}},
                  {4, logger.getChID(4), 4711, logger.GetChName(4), logger.GetChUnit(4), {{1, 3}}, {1.0f}}}));
    EXPECT_EQ(logger.GetChName(8), "C2") << "the description comes from the logger's channel";
    EXPECT_EQ(logger.getChID(8), 102);
}

TEST_F(FifoPage, ChannelBaseOfTheFifoChannelByte)
{
    // 0x41: base 4 × 0x41 modulo 256 = 4 for QEL624c, 260 for QEL51.
    const TBytes records = Join({FifoRecord(0x00, 0x41), END});
    EXPECT_EQ(DecodeRecords(QEL624C, records), (TSingleSeries{{4, {{HEADER_TICKS, 20.5f}}}, {5, {{HEADER_TICKS, 0.0f}}}}));
    ASSERT_EQ(FifoDataList.Count(), 1);
    EXPECT_EQ(FifoDataList.getItem(0).channel, 4);

    FifoDataList.clearAll();
    EXPECT_EQ(DecodeRecords(QEL51, records),
              (TSingleSeries{{260, {{HEADER_TICKS, 20.5f}}}, {261, {{HEADER_TICKS, 0.0f}}}}));
    EXPECT_EQ(FifoDataList.Count(), 0) << "QEL51 keeps no FIFO list";

    EXPECT_EQ(DecodeRecords(QEL51, Join({FifoRecord(0x01, 0xFF), END})),
              (TSingleSeries{{1022, {{HEADER_TICKS, 20.5f}}}, {1023, {{HEADER_TICKS, 1.0f}}}}));
}

TEST_F(FifoPage, ValueRecordsAndStepsDifferBetweenTheFamilies)
{
    // A value record, then 9F FF (-1 signed, 8191 unsigned), then a FIFO record.
    const TBytes records = Join({{0x03, 0x00, 0x80, 0x3F, 0x9F, 0xFF}, FifoRecord(0x00), END});
    EXPECT_EQ(DecodeRecords(QEL624C, records),
              (TSingleSeries{{8, {{HEADER_TICKS - 1000, 20.5f}}}, {9, {{HEADER_TICKS - 1000, 0.0f}}}}))
        << "no sample of the value record; a signed step";
    EXPECT_EQ(DecodeRecords(QEL51, records), (TSingleSeries{{3, {{HEADER_TICKS, 1.0f}}},
                                                            {8, {{HEADER_TICKS + 8'191'000, 20.5f}}},
                                                            {9, {{HEADER_TICKS + 8'191'000, 0.0f}}}}));
    // Long steps: B0 00 00 00 is -2^28 units signed, +2^28 unsigned.
    const TBytes longStep = Join({{0xB0, 0x00, 0x00, 0x00}, FifoRecord(0x00), END});
    EXPECT_EQ(DecodeRecords(QEL624C, longStep).at(8).at(0).Time, HEADER_TICKS - 268'435'456'000);
    EXPECT_EQ(DecodeRecords(QEL51, longStep).at(8).at(0).Time, HEADER_TICKS + 268'435'456'000);
}

TEST_F(FifoPage, AFifoRecordCutOffByThePageEndEndsIt)
{
    // A value record (QEL51 sample), a FIFO record at byte 12 and one at
    // byte 22 ending at byte 32. Views ending inside the second FIFO record
    // (4 to 9 of its bytes present) decode the first record only.
    const TPageBytes page = RawPage(Join({{0x01, 0x00, 0x80, 0x3F}, FifoRecord(0x00, 1), FifoRecord(0x00, 2)}));
    const struct {
        std::uint16_t size;
        int fifoRecords;
    } cases[] = {{32, 2}, {31, 1}, {28, 1}, {26, 1}, {25, 1}, {22, 1}, {21, 0}, {16, 0}};
    for (const std::uint16_t model : {QEL624C, QEL51}) {
        for (const auto& c : cases) {
            Logger(model);
            FifoDataList.clearAll();
            Decode(model, VERSION, page, c.size);
            const TSingleSeries series = ReadSingleSeries();
            const int samples = static_cast<int>(series.count(4) + series.count(8));
            EXPECT_EQ(samples, c.fifoRecords) << std::hex << model << std::dec << " view of " << c.size;
            EXPECT_EQ(series.count(1), model == QEL51 ? 1u : 0u) << c.size;
            if (model == QEL624C) {
                EXPECT_EQ(FifoDataList.Count(), c.fifoRecords) << "view of " << c.size;
            }
        }
    }
}

TEST_F(FifoPage, RecordsOfAnotherLoggerJoinTheChannelOfTheirBase)
{
    Logger(QEL624C);
    Decode(QEL624C, VERSION, RawPage(Join({FifoRecord(0x00), END})));
    // A second logger, same base: no second channel; the first keeps its serial number.
    auto* second = new TQEL624C();
    second->SN = 99;
    QelList.Add(second);
    ReadBufferList.SetActiveQEL(second);
    Decode(QEL624C, VERSION, RawPage(Join({FifoRecord(0x01), END})));
    ASSERT_EQ(FifoDataList.Count(), 1);
    EXPECT_EQ(FifoDataList.getItem(0).SN, 4711u);
    EXPECT_EQ(FifoDataList.getItem(0).Count(), 2);
    EXPECT_EQ(FifoDataList.getItem(0).getItem(1).state, 1);
    EXPECT_THROW(FifoDataList.getItem(0).getItem(2), plat::EListError);
    EXPECT_THROW(FifoDataList.getItem(1), plat::EListError);
}

TEST_F(FifoPage, ADataReadBeginsWithAnEmptyFifoList)
{
    Logger(QEL624C);
    Decode(QEL624C, VERSION, RawPage(Join({FifoRecord(0x00), END})));
    ASSERT_EQ(FifoDataList.Count(), 1);
    // A read of nothing still resets the side data first.
    TExtCard card;
    TRecInfoList records;
    ReadCardData(card, records, {});
    EXPECT_EQ(FifoDataList.Count(), 0);

    // The list finds its channels anew after the reset.
    Decode(QEL624C, VERSION, RawPage(Join({FifoRecord(0x00), END})));
    ASSERT_EQ(FifoDataList.Count(), 1);
    EXPECT_EQ(FifoDataList.getItem(0).Count(), 1);
}

TEST_F(FifoPage, TheLoggerMustBeOfTheFamily)
{
    UseLogger<TQEL629WxD>(0x6617, 0x0200);
    EXPECT_THROW(Decode(QEL624C, VERSION, RawPage(END)), std::logic_error);
    EXPECT_THROW(Decode(QEL51, VERSION, RawPage(END)), std::logic_error);
    UseLogger<TQEL51>(QEL51, VERSION);
    EXPECT_THROW(Decode(QEL624C, VERSION, RawPage(END)), std::logic_error);
}

TEST_F(FifoPage, GeneratedRecordingDecodedPageByPage)
{
    // Three pages of a QEL624c recording: per page two rows of one plain
    // value record and FIFO records of channels 0 and 1, one row step apart.
    cardgen::TRecordingDescription recording;
    recording.Logger = {QEL624C, VERSION, VERSION, 4711, {}};
    recording.PageCount = 3;
    recording.StartTimeUnits = 1000;
    recording.TimeStepUnits = 100;
    recording.Body = std::make_shared<cardgen::TVarRecordBody>([](std::uint32_t page, cardgen::TVarRecordWriter& w) {
        for (std::uint32_t row = 0; row < 2; ++row) {
            if (row > 0) {
                w.AddStep(10);
            }
            w.AddValue(7, 99.0f);
            w.AddFifo(0x00, page * 10 + row, 0, static_cast<float>(page * 2 + row));
            w.AddFifo(row == 0 ? 0x00 : 0x02, page * 10 + row, 1, -static_cast<float>(page * 2 + row));
        }
    });
    Logger(QEL624C);
    TSingleSeries expected;
    for (std::uint32_t page = 0; page < 3; ++page) {
        const cardgen::TClusterBytes cluster = cardgen::BuildRecordingCluster(recording, page);
        const std::vector<std::uint8_t> view(cluster.begin() + cardgen::kPageOffset,
                                             cluster.begin() + cardgen::kPageOffset + cardgen::kPageSize);
        const std::unique_ptr<TPage> decoder = GetPageClass(QEL624C, VERSION).Create();
        decoder->New(static_cast<std::uint16_t>(page), view.data(), PAGE_SIZE);
        decoder->ReadData();
        for (std::int64_t row = 0; row < 2; ++row) {
            const std::int64_t time = (1000 + 100 * std::int64_t{page} + 10 * row) * 1000;
            const auto value = static_cast<float>(page * 2 + row);
            expected[0].push_back({time, value});
            expected[1].push_back({time, 0.0f});
            expected[row == 0 ? 4 : 6].push_back({time, -value});
            expected[row == 0 ? 5 : 7].push_back({time, row == 0 ? 0.0f : 2.0f});
        }
    }
    EXPECT_EQ(ReadSingleSeries(), expected);
    ASSERT_EQ(FifoDataList.Count(), 2);
    EXPECT_EQ(FifoDataList.getItem(0).Count(), 6);
    EXPECT_EQ(FifoDataList.getItem(1).getItem(5).time, 21u);
    EXPECT_EQ(FifoDataList.getItem(1).getItem(5).value, -5.0f);
}

// The QEL51 decoder's diagnostic lines in the page debug mode, written
// beside the debug dump file in the program's format settings.
class Qel51FifoLog : public FifoPage {
protected:
    void SetUp() override
    {
        FifoPage::SetUp();
        plat::SetProgramPath(FProgram.File("qelreader"));
        plat::TFormatSettings& settings = plat::FormatSettings();
        settings.ShortDateFormat = "dd.MM.yyyy";
        settings.DateSeparator = '.';
        settings.LongTimeFormat = "HH:mm:ss";
        settings.TimeSeparator = ':';
        settings.DecimalSeparator = ',';
    }
    void TearDown() override
    {
        DebugFileClose();
        plat::SetProgramPath("");
        FifoPage::TearDown();
    }

    std::string LogFile() const { return FProgram.File(QEL51_FIFO_LOG_NAME); }

    qeltest::TempDir FProgram;
    plat::TScopedFormatSettings FKeepFormats;
};

TEST_F(Qel51FifoLog, LineOfAFifoRecord)
{
    const struct {
        var_record::TFifoRecord record;
        std::int64_t pageTicks;
        const char* line;
    } cases[] = {
        {{0x00, 10000, 2, 20.5f}, 5'000'000, "5000000;10000;01.01.2000 02:46:40;2;00;20,5"},
        {{0x1A, 90061, 255, -1.04f}, 0, "0;90061;02.01.2000 01:01:01;255;1A;-1,0"},
        {{0xFF, 0, 0, 17.26f}, -1000, "-1000;0;01.01.2000 00:00:00;0;FF;17,3"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Qel51FifoLine(c.pageTicks, c.record), c.line);
    }
}

TEST_F(Qel51FifoLog, ThePageDebugModeAppendsALinePerFifoRecord)
{
    const TBytes records = Join({FifoRecord(0x00), {0x81, 0x00}, FifoRecord(0x11, 0x41), END});
    const std::string firstPage = "5000000;10000;01.01.2000 02:46:40;2;00;20,5\r\n"
                                  "5256000;10000;01.01.2000 02:46:40;65;11;20,5\r\n";
    ASSERT_TRUE(SetDebugMode(DEBUG_MODE_PAGE));
    const TSingleSeries series = DecodeRecords(QEL51, records);
    EXPECT_EQ(qeltest::ReadWholeFile(LogFile()), firstPage);
    DecodeRecords(QEL51, records);
    EXPECT_EQ(qeltest::ReadWholeFile(LogFile()), firstPage + firstPage) << "a second page appends";

    DebugFileClose();
    std::filesystem::remove(LogFile());
    EXPECT_EQ(DecodeRecords(QEL51, records), series) << "decoding does not depend on the lines";
    EXPECT_FALSE(std::filesystem::exists(LogFile())) << "no lines without the page debug mode";
    ASSERT_TRUE(SetDebugMode(DEBUG_MODE_DIR));
    DecodeRecords(QEL51, records);
    EXPECT_FALSE(std::filesystem::exists(LogFile())) << "nor in another debug mode";
}

TEST_F(Qel51FifoLog, AFileThatCannotBeOpenedLogsNothing)
{
    ASSERT_TRUE(SetDebugMode(DEBUG_MODE_PAGE));
    std::filesystem::create_directory(LogFile());
    const TBytes records = Join({FifoRecord(0x00), END});
    EXPECT_EQ(DecodeRecords(QEL51, records), (TSingleSeries{{8, {{HEADER_TICKS, 20.5f}}}, {9, {{HEADER_TICKS, 0.0f}}}}));
    EXPECT_TRUE(std::filesystem::is_directory(LogFile()));
}

} // namespace
} // namespace qel
