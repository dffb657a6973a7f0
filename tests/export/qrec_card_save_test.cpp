// End to end: generated cards (two containers, two loggers, a recording
// wrapped around the card) through the directory scan, the data read and the
// container save; the archive read back with the test-side zip reader holds
// exactly the generated samples inside the window, calibrated, without gaps.
//
// Both cards go through the program's own page decoders: a QEL629 card of
// four-byte records (that model has no gap values) and a QEL649 card of
// tagged records whose gap channel holds gap values inside the window.
//
// Then every family the card-data reader decodes, saved with and without a
// window, is read back through the program's own container reader.
#include "card/buffer_list.h"
#include "card/card_dir_scan.h"
#include "card/card_records.h"
#include "card/ext_card.h"
#include "card/page_qel629.h"
#include "card/read_card_data_thread.h"
#include "card/temp_folder.h"
#include "export/qel_zip_date_time.h"
#include "export/qel_zip_file.h"
#include "export/save_qrec_file_thread.h"
#include "foundations/tick_time.h"
#include "loggers/qel_factory.h"
#include "platform/known_folders.h"
#include "tests/support/qel_zip_entries.h"
#include "tests/export/save_fixture.h"
#include "tests/support/zip_test_reader.h"
#include "tools/cardgen/card_generator.h"
#include "tools/cardgen/config_area.h"
#include "tools/cardgen/page_body.h"
#include "tools/cardgen/page_qel57_body.h"
#include "tools/cardgen/qel629_records.h"
#include "tools/cardgen/tagged_records.h"

#include <gtest/gtest.h>

#include <bit>
#include <functional>
#include <memory>

namespace {

using qeltest::DecodePairs;
using qeltest::DecodeValues;
using qeltest::PairValue;
using qeltest::TZipTestReader;

constexpr std::int16_t kGap = 0x7FF0;   // the QEL649 gap value of its gap channels

// Raw values of every generated card: a gap value now and then on each channel.
std::int16_t RawOf(std::uint32_t serial, std::uint32_t page, std::uint32_t row, std::uint8_t channel)
{
    if (row % 7 == 3 && channel % 2 == 0) {
        return kGap;
    }
    return static_cast<std::int16_t>(serial * 3 + page * 97 + row * 13 - channel * 500);
}

// One kind of generated card: the model, how its pages are written, and the
// page time unit.
struct TCardCase {
    const char* Name;
    std::uint16_t Model;
    std::uint16_t Version;
    std::string ModelName;
    std::vector<std::uint8_t> Channels;   // in ascending order, as the save list sorts them
    std::uint32_t Rows;                   // rows per page, a sample of every channel each
    std::uint16_t RowStepUnits;
    std::int64_t UnitTicks;               // ticks of a page time unit
    std::function<std::vector<std::uint8_t>(const std::string& name)> Config;
    std::function<std::shared_ptr<qel::cardgen::IPageBody>(std::uint32_t serial)> Body;

    std::uint64_t PageStepUnits() const { return std::uint64_t{Rows} * RowStepUnits; }
};

std::vector<TCardCase> CardCases()
{
    TCardCase qel629{"QEL629, four-byte records", 0x6601, 0x0306, "QEL629B", {1, 5, 6}, 80, 256,
                     qel::FOUR_BYTE_TIME_UNIT, {}, {}};
    qel629.Config = [](const std::string& name) {
        qel::cardgen::TQel629ConfigDescription config;
        config.Name = name;
        return qel::cardgen::BuildQel629Config(config);
    };
    qel629.Body = [channels = qel629.Channels, rows = qel629.Rows, step = qel629.RowStepUnits](std::uint32_t serial) {
        return std::make_shared<qel::cardgen::TFourByteRecordBody>(
            qel::cardgen::TFourByteRecordBody::TLayout::SkipTwoBytes, channels, rows, step,
            [serial](std::uint32_t page, std::uint32_t row, std::uint8_t channel) {
                return RawOf(serial, page, row, channel);
            });
    };
    // Channels 1, 2 and 7 in multi-value records, 17 in the single-value
    // record after each; channel 2 is a gap channel of the model.
    TCardCase qel649{"QEL649 with gap values, tagged records", 0x6606, 0x0120, "QEL649", {1, 2, 7, 17}, 40, 20, 1000,
                     {}, {}};
    qel649.Config = [](const std::string& name) {
        qel::cardgen::TQel649ConfigDescription config;
        config.Name = name;
        return qel::cardgen::BuildQel649Config(config);
    };
    qel649.Body = [rows = qel649.Rows, step = qel649.RowStepUnits](std::uint32_t serial) {
        qel::cardgen::TTaggedBodyDescription desc;
        desc.Rows = rows;
        desc.RowStepUnits = static_cast<std::int16_t>(step);
        desc.Mask = 1u << 1 | 1u << 2 | 1u << 7;
        desc.ValueChannel = 17;
        desc.ValueOf = [serial](std::uint32_t page, std::uint32_t row, std::uint32_t channel) {
            return RawOf(serial, page, row, static_cast<std::uint8_t>(channel));
        };
        return std::make_shared<qel::cardgen::TTaggedRecordBody>(desc);
    };
    return {qel629, qel649};
}

struct TSample {
    std::int64_t Time;   // ticks
    std::int16_t Raw;
};

qel::cardgen::TRecordingDescription Recording(const TCardCase& c, std::uint32_t serial, const std::string& name,
                                       std::uint32_t pages, std::uint64_t startUnits)
{
    qel::cardgen::TRecordingDescription recording;
    recording.Logger = {c.Model, c.Version, c.Version, serial, c.Config(name)};
    recording.PageCount = pages;
    recording.StartTimeUnits = startUnits;
    recording.TimeStepUnits = c.PageStepUnits();
    recording.Body = c.Body(serial);
    return recording;
}

// The samples the card holds for one channel of a recording, in page order.
std::vector<TSample> Generated(const TCardCase& c, const qel::cardgen::TRecordingDescription& recording,
                               std::uint8_t channel)
{
    std::vector<TSample> samples;
    for (std::uint32_t page = 0; page < recording.PageCount; ++page) {
        for (std::uint32_t row = 0; row < c.Rows; ++row) {
            const std::uint64_t units = recording.StartTimeUnits + page * c.PageStepUnits() + row * c.RowStepUnits;
            samples.push_back({static_cast<std::int64_t>(units) * c.UnitTicks,
                               RawOf(recording.Logger.Serial, page, row, channel)});
        }
    }
    return samples;
}

class QRecCardSave : public qeltest::SaveFixture {
protected:
    QRecCardSave()
    {
        plat::SetDocumentsFolder(FDocuments.File("Documents"));
        qel::InitTempFolder();
        qel::ReadBufferList.SetUseFileStream(true);
        ClearCard();
    }
    ~QRecCardSave() override
    {
        ClearCard();
        qel::ReadBufferList.SetUseFileStream(false);
        qel::ClearTempFolder();
        plat::SetDocumentsFolder("");
    }
    static void ClearCard()
    {
        qel::ExtCard.Clear();
        qel::RecInfoList.Clear();
    }

    // The records of serial selected, the logger of the first created by
    // the factory and made current, as the application starts a data read.
    qel::TQEL& StartReadData(std::uint32_t serial)
    {
        qel::QelList.Clear();
        qel::ReadBufferList.ClearAll();
        for (int i = 0; i < qel::RecInfoList.Count(); ++i) {
            auto& record = dynamic_cast<qel::TCardRecord&>(*qel::RecInfoList.GetItem(i));
            record.Selected = record.Info.QEL_SN == serial;
        }
        EXPECT_TRUE(qel::RecInfoList.Start());
        const auto& info = dynamic_cast<qel::TCardRecord&>(*qel::RecInfoList.GetCurrent()).Info;
        std::unique_ptr<qel::TQEL> logger = qel::GetQelClass(info.QEL_CLASS, info.QEL_VER_PC)->Create();
        EXPECT_TRUE(logger->IsKnownVersion(info.QEL_CLASS, info.QEL_VER_PC));
        logger->ID_CLASS = info.QEL_CLASS;
        logger->ID_VER_PC = info.QEL_VER_PC;
        logger->ID_VER = info.QEL_VER;
        qel::TQEL& ref = *logger;
        qel::QelList.Add(logger.release());
        qel::ReadBufferList.SetActiveQEL(&ref);
        return ref;
    }

    qeltest::TempDir FDocuments;
};

TEST_F(QRecCardSave, GeneratedSamplesInsideTheWindowComeBackCalibratedWithoutGaps)
{
    for (const TCardCase& c : CardCases()) {
        SCOPED_TRACE(c.Name);
        ResetSave();
        ClearCard();
        qel::cardgen::TCardDescription desc;
        desc.Recordings = {Recording(c, 101, "Cellar", 12, 50'000), Recording(c, 202, "Attic", 4, 900'000)};
        // Logger 101's pages 7 to 11 continue at the card's start; its pages 0
        // to 6 end the card, in the second container.
        desc.Layout = {qel::cardgen::TPlaceRecording{0, 7, {}}, qel::cardgen::TPlaceRecording{1, 0, {}},
                       qel::cardgen::TEndContainer{}, qel::cardgen::TPlaceRecording{0, 0, 7}};
        qeltest::TempDir cardDir;
        const auto manifest = qel::cardgen::GenerateCard(desc, cardDir.Path().string());
        ASSERT_EQ(manifest.Files.size(), 2u);
        for (const std::string& file : manifest.Files) {
            qel::ExtCard.Add(new qel::TExtCardInfo(file));
        }
        qel::ScanCardDirectory(qel::ExtCard, qel::RecInfoList, {});
        ASSERT_EQ(qel::RecInfoList.Count(), 2);
        EXPECT_TRUE(dynamic_cast<qel::TCardRecord&>(*qel::RecInfoList.GetItem(0)).bMemoryCirculation);

        qel::TQEL& logger = StartReadData(101);
        qel::ReadCardData(qel::ExtCard, qel::RecInfoList, {});
        ASSERT_EQ(qel::ReadBufferList.Count(), static_cast<int>(c.Channels.size()));

        // The window cuts into page 2 and page 9.
        const auto at = [&](std::uint32_t page, std::uint32_t row) {
            return static_cast<std::int64_t>(50'000 + page * c.PageStepUnits() + row * c.RowStepUnits) * c.UnitTicks;
        };
        const std::int64_t start = at(2, 10);
        const std::int64_t end = at(9, 30);
        RunSave(&qel::TSaveQRecFileThread::ClassInfo, [&](qel::TSaveFileThread& saver) {
            qel::SaveBufferList.FileNameEx = qel::TFileNameEx{dir.Path().string() + "/", "card", "", ".qrec"};
            saver.TimeMode = 1;
            saver.TimeStart = start;
            saver.TimeEnd = end;
        });
        ASSERT_EQ(States(), (std::vector<plat::WPARAM>{qel::THREAD_STARTED, qel::THREAD_SAVED, qel::THREAD_FINISHED}));

        const std::string archive = dir.File("card.qrec");
        const TZipTestReader reader(archive);
        std::size_t gaps = 0;
        for (std::size_t folder = 0; folder < c.Channels.size(); ++folder) {
            const std::uint8_t channel = c.Channels[folder];
            SCOPED_TRACE("channel " + std::to_string(channel));
            std::vector<qeltest::TValueRecord> expected;
            for (const TSample& sample : Generated(c, desc.Recordings[0], channel)) {
                if (sample.Time < start || sample.Time > end) {
                    continue;
                }
                if (logger.IsGAPValue(channel, sample.Raw)) {
                    ++gaps;
                    continue;
                }
                expected.push_back({qel::DateTimeToNs2000(36526.0 + qel::TicksToDays(sample.Time)),
                                    logger.CalcChValue(channel, sample.Raw)});
            }
            const std::string path = "CHANNELS\\CHANNEL_" + std::to_string(folder) + "\\";
            std::vector<qeltest::TValueRecord> saved;
            for (int k = 0; reader.Has(path + "ChData_" + std::to_string(k)); ++k) {
                const auto block = DecodeValues(reader.Read(path + "ChData_" + std::to_string(k)));
                saved.insert(saved.end(), block.begin(), block.end());
            }
            ASSERT_EQ(saved.size(), expected.size());
            for (std::size_t i = 0; i < expected.size(); ++i) {
                ASSERT_EQ(saved[i].Time, expected[i].Time) << "value " << i;
                ASSERT_EQ(std::bit_cast<std::uint32_t>(saved[i].Value),
                          std::bit_cast<std::uint32_t>(expected[i].Value))
                    << "value " << i;
            }
            const auto pairs = DecodePairs(reader.Read(path + "ChDesc_0"));
            EXPECT_EQ(PairValue(pairs, "ChDescName"), logger.GetChName(channel));
            EXPECT_EQ(PairValue(pairs, "ChDescQelName"), "Cellar") << "stored name from the card's configuration";
            EXPECT_EQ(PairValue(pairs, "ChDescQelModel"), c.ModelName);
            EXPECT_EQ(PairValue(pairs, "ChDescQelSN"), "101");
            EXPECT_EQ(PairValue(pairs, "ChDescAmount"), std::to_string(expected.size()));
            EXPECT_EQ(PairValue(pairs, "ChDescTmin"), std::to_string(expected.front().Time));
            EXPECT_EQ(PairValue(pairs, "ChDescTmax"), std::to_string(expected.back().Time));
        }
        if (c.Model == 0x6606) {
            EXPECT_GT(gaps, 0u) << "the card holds gap values inside the window";
        }
        EXPECT_FALSE(reader.Has("CHANNELS\\CHANNEL_" + std::to_string(c.Channels.size()) + "\\ChDesc_0"));
        EXPECT_EQ(qeltest::RunUnzipTest(archive).ExitCode, 0);
        EXPECT_EQ(qeltest::RunPythonZipCheck(archive).ExitCode, 0);
    }
}

// One family as the card-data reader decodes it: the logger and the pages of
// one recording (values from RawOf, so gap values where the model has them).
struct TFamilyCase {
    const char* Name;
    std::uint16_t Model;
    std::uint16_t Version;
    std::uint32_t Pages;
    std::vector<std::uint8_t> Config;
    std::shared_ptr<qel::cardgen::IPageBody> Body;
    std::string QelName;   // "ChDescQelName": the stored name of extended QEL629 and of QEL649 loggers
};

std::vector<TFamilyCase> FamilyCases()
{
    constexpr std::uint32_t serial = 77;
    const auto rawOf = [](std::uint32_t page, std::uint32_t row, std::uint32_t channel) {
        return RawOf(serial, page, row, static_cast<std::uint8_t>(channel));
    };
    const auto fourByte = [rawOf](qel::cardgen::TFourByteRecordBody::TLayout layout, std::uint32_t rows) {
        return std::make_shared<qel::cardgen::TFourByteRecordBody>(
            layout, std::vector<std::uint8_t>{1, 4}, rows, 16,
            [rawOf](std::uint32_t page, std::uint32_t row, std::uint8_t channel) { return rawOf(page, row, channel); });
    };
    const auto tagged = [rawOf](bool bursts) {
        qel::cardgen::TTaggedBodyDescription desc;
        desc.Rows = 30;
        desc.RowStepUnits = 20;
        desc.Mask = 1u << 2 | 1u << 7 | 1u << 9;   // 2 and 9 are gap channels
        desc.ValueOf = rawOf;
        desc.Markers = true;
        if (bursts) {
            desc.BurstLines = 10;
            desc.BurstValueOf = rawOf;
        }
        return std::make_shared<qel::cardgen::TTaggedRecordBody>(desc);
    };
    const auto qel57 = [](qel::cardgen::TQel57Generation generation) {
        auto fill = [generation](std::uint32_t page, qel::cardgen::TQel57PageWriter& writer) {
            for (std::uint32_t row = 0; row < 40; ++row) {
                ASSERT_TRUE(writer.AddValue(0, row == 0 ? 0 : 8, RawOf(serial, page, row, 0)));
                ASSERT_TRUE(writer.AddValue(3, 0, RawOf(serial, page, row, 3)));
                if (generation != qel::cardgen::TQel57Generation::QEL57) {
                    const std::int16_t pair[2] = {RawOf(serial, page, row, 17), RawOf(serial, page, row, 25)};
                    ASSERT_TRUE(writer.AddExtended(1, 0x02, 0, pair));
                }
                if (generation == qel::cardgen::TQel57Generation::QEL57c && row == 0) {
                    const std::uint8_t data[2] = {1, 2};
                    ASSERT_TRUE(writer.AddDBus(static_cast<std::uint8_t>(page % 4), 0, 0x200 + page, data));
                }
            }
        };
        const bool sensors = generation != qel::cardgen::TQel57Generation::QEL57;
        return std::make_shared<qel::cardgen::TQel57PageBody>(
            generation, fill, std::vector<qel::cardgen::TQel57LimitPacket>{},
            sensors ? std::vector<qel::cardgen::TQel57SensorPacket>{{17, 4711}} : std::vector<qel::cardgen::TQel57SensorPacket>{});
    };
    qel::cardgen::TQel629ConfigDescription qel629Config;
    qel629Config.Name = "Cellar";
    qel::cardgen::TQel649ConfigDescription qel649Config;
    qel649Config.Name = "Attic";
    using TLayout = qel::cardgen::TFourByteRecordBody::TLayout;
    return {
        {"QEL629 below 3.06", 0x6601, 0x0300, 6, qel::cardgen::BuildQel629Config(qel629Config),
         fourByte(TLayout::RecordsAt8, 60), "-"},
        {"QEL629 from 3.06, several blocks", 0x6601, 0x0306, 90, qel::cardgen::BuildQel629Config(qel629Config),
         fourByte(TLayout::SkipTwoBytes, 120), "Cellar"},
        {"QEL629c", 0x6601, 0x0603, 5, {},
         std::make_shared<qel::cardgen::TQel629cRecordBody>(qel::cardgen::TQel629cBodyDescription{
             {0, 2}, 30, 10, [rawOf](std::uint32_t page, std::uint32_t row, std::uint32_t channel) {
                 return rawOf(page, row, channel);
             }, {}}), "-"},
        {"QEL649 with gap values", 0x6606, 0x0120, 6, qel::cardgen::BuildQel649Config(qel649Config), tagged(false),
         "Attic"},
        {"QEL640 with bursts", 0x6607, 0x0200, 4, qel::cardgen::BuildQel649Config(qel649Config), tagged(true),
         "Attic"},
        {"QEL57", 0x661D, 0x0106, 4, {}, qel57(qel::cardgen::TQel57Generation::QEL57), "-"},
        {"QEL57b", 0x661D, 0x0200, 4, {}, qel57(qel::cardgen::TQel57Generation::QEL57b), "-"},
        {"QEL57c", 0x661D, 0x0304, 4, {}, qel57(qel::cardgen::TQel57Generation::QEL57c), "-"},
    };
}

// What a channel's folder must hold: the buffer's samples inside the
// window, calibrated, without gap values, stamped in nanoseconds.
struct TExpectedChannel {
    std::uint32_t Channel;
    std::vector<qeltest::TValueRecord> Values;
};

std::vector<TExpectedChannel> ExpectedFolders(bool windowed, std::int64_t start, std::int64_t end)
{
    std::vector<qel::TBufferBaseData*> buffers(qel::ReadBufferList.begin(), qel::ReadBufferList.end());
    std::sort(buffers.begin(), buffers.end(), [](const qel::TBufferBaseData* a, const qel::TBufferBaseData* b) {
        return std::pair(a->GetLinkQEL()->SN, a->GetChannel()) < std::pair(b->GetLinkQEL()->SN, b->GetChannel());
    });
    std::vector<TExpectedChannel> folders;
    for (qel::TBufferBaseData* buffer : buffers) {
        const qel::TQEL& logger = *buffer->GetLinkQEL();
        TExpectedChannel expected{buffer->GetChannel(), {}};
        buffer->BeginSave();
        while (!buffer->GetSaveComplete()) {
            const std::int64_t time = buffer->GetSaveTime();
            std::int16_t raw = 0;
            EXPECT_TRUE(buffer->GetSaveIntValue(time, raw));
            if ((!windowed || (start <= time && time <= end)) && !logger.IsGAPValue(expected.Channel, raw)) {
                expected.Values.push_back({qel::DateTimeToNs2000(36526.0 + qel::TicksToDays(time)),
                                           logger.CalcChValue(expected.Channel, raw)});
            }
        }
        buffer->EndSave();
        if (!expected.Values.empty()) {
            folders.push_back(std::move(expected));
        }
    }
    return folders;
}

// The folder read back through the program's reader: description, range,
// every value, the block index and a seek into the middle.
void ExpectFolder(qel::TQelZipChannel& channel, const qel::TQEL& logger, const TExpectedChannel& expected)
{
    const auto stored = [](const std::string& text) { return text.empty() ? std::string("-") : text; };
    EXPECT_EQ(channel.GetName(), stored(logger.GetChName(expected.Channel)));
    EXPECT_EQ(channel.GetUnit(), stored(logger.GetChUnit(expected.Channel)));
    EXPECT_EQ(channel.GetQelModel(), logger.GetName());
    EXPECT_EQ(channel.GetQelSN(), std::to_string(logger.SN));
    const std::vector<qeltest::TValueRecord>& values = expected.Values;
    std::int64_t amount = 0, tmin = 0, tmax = 0;
    ASSERT_TRUE(channel.GetRangeInfo(amount, tmin, tmax));
    EXPECT_EQ(amount, static_cast<std::int64_t>(values.size()));
    EXPECT_EQ(tmin, values.front().Time);
    EXPECT_EQ(tmax, values.back().Time);
    const std::int64_t blocks = (amount + 9999) / 10000;
    EXPECT_EQ(channel.GetBlockCount(), blocks);

    ASSERT_TRUE(channel.BeginReadout());
    std::int64_t time = 0;
    float value = 0;
    bool newblock = false;
    for (std::size_t i = 0; i < values.size(); ++i) {
        ASSERT_TRUE(channel.GetNextValue(time, value, newblock)) << "value " << i;
        ASSERT_EQ(time, values[i].Time) << "value " << i;
        ASSERT_EQ(std::bit_cast<std::uint32_t>(value), std::bit_cast<std::uint32_t>(values[i].Value)) << "value " << i;
        ASSERT_EQ(newblock, i % 10000 == 0) << "value " << i;
    }
    EXPECT_FALSE(channel.GetNextValue(time, value, newblock));

    ASSERT_TRUE(channel.BeginReadoutDataInfo());
    qel::TQelZipChannelDataInfo info;
    for (std::int64_t k = 0; k < blocks; ++k) {
        ASSERT_TRUE(channel.GetNextDataInfo(info));
        const std::size_t first = static_cast<std::size_t>(k) * 10000;
        const std::size_t last = std::min(first + 10000, values.size()) - 1;
        EXPECT_EQ(info.BlockNo, static_cast<std::uint32_t>(k));
        EXPECT_EQ(info.ValueNo, static_cast<std::int64_t>(first));
        EXPECT_EQ(info.Values, static_cast<std::int64_t>(last - first + 1));
        EXPECT_EQ(info.Tmin, values[first].Time);
        EXPECT_EQ(info.Tmax, values[last].Time);
    }
    EXPECT_FALSE(channel.GetNextDataInfo(info));

    const std::size_t middle = values.size() / 2;
    EXPECT_EQ(channel.SetReadoutTime(values[middle].Time), middle / 10000 + 1);
    ASSERT_TRUE(channel.GetNextValue(time, value, newblock));
    EXPECT_EQ(time, values[middle / 10000 * 10000].Time) << "the readout goes on at the block's first value";
}

TEST_F(QRecCardSave, EveryDecodedFamilyReadsBackThroughTheContainerReader)
{
    for (const TFamilyCase& family : FamilyCases()) {
        SCOPED_TRACE(family.Name);
        ResetSave();
        ClearCard();
        qel::cardgen::TCardDescription desc;
        qel::cardgen::TRecordingDescription recording;
        recording.Logger = {family.Model, family.Version, family.Version, 77, family.Config};
        recording.PageCount = family.Pages;
        recording.StartTimeUnits = 4'000'000;
        recording.TimeStepUnits = 4000;
        recording.Body = family.Body;
        desc.Recordings = {recording};
        desc.Layout = {qel::cardgen::TPlaceRecording{0, 0, {}}};
        qeltest::TempDir cardDir;
        for (const std::string& file : qel::cardgen::GenerateCard(desc, cardDir.Path().string()).Files) {
            qel::ExtCard.Add(new qel::TExtCardInfo(file));
        }
        qel::ScanCardDirectory(qel::ExtCard, qel::RecInfoList, {});
        ASSERT_EQ(qel::RecInfoList.Count(), 1);
        const qel::TQEL& logger = StartReadData(77);
        qel::ReadCardData(qel::ExtCard, qel::RecInfoList, {});
        ASSERT_GT(qel::ReadBufferList.Count(), 0);
        qel::ReadBufferList.EndRead();
        std::int64_t tmin = 0, tmax = 0;
        ASSERT_TRUE(qel::ReadBufferList.GetTMinTMax(tmin, tmax));
        const std::int64_t start = tmin + (tmax - tmin) / 3;
        const std::int64_t end = tmax - (tmax - tmin) / 3;

        for (const bool windowed : {false, true}) {
            SCOPED_TRACE(windowed ? "window" : "no window");
            const std::vector<TExpectedChannel> folders = ExpectedFolders(windowed, start, end);
            ASSERT_FALSE(folders.empty());
            RunSave(&qel::TSaveQRecFileThread::ClassInfo, [&](qel::TSaveFileThread& saver) {
                qel::SaveBufferList.FileNameEx = qel::TFileNameEx{dir.Path().string() + "/", "family", "", ".qrec"};
                saver.TimeMode = windowed ? 1 : 0;
                saver.TimeStart = start;
                saver.TimeEnd = end;
            });
            ASSERT_EQ(States(),
                      (std::vector<plat::WPARAM>{qel::THREAD_STARTED, qel::THREAD_SAVED, qel::THREAD_FINISHED}));
            log.clear();

            qel::TQelZipReadFile file;
            ASSERT_TRUE(file.OpenFile(dir.File("family.qrec")));
            ASSERT_EQ(file.ChannelCount(), static_cast<int>(folders.size()));
            for (std::size_t f = 0; f < folders.size(); ++f) {
                SCOPED_TRACE("folder " + std::to_string(f) + ", channel " + std::to_string(folders[f].Channel));
                ExpectFolder(*file.Channel(static_cast<int>(f)), logger, folders[f]);
            }
            EXPECT_EQ(file.Channel(0)->GetQelName(), family.QelName);
            file.CloseFile();
        }
    }
}

} // namespace
