// End to end: a generated card (two containers, two loggers, a recording
// wrapped around the card, gap values) through the directory scan, the data
// read and the container save; the archive read back with the test-side zip
// reader holds exactly the generated samples inside the window, calibrated,
// without gaps.
//
// No page decoder of a model with gap values decodes records yet, so the
// card's pages carry a test record format read by the decoder below; scan,
// configuration, buffers, save and archive are the program's own.
#include "card/buffer_list.h"
#include "card/card_dir_scan.h"
#include "card/card_records.h"
#include "card/ext_card.h"
#include "card/page_base.h"
#include "card/read_card_data_thread.h"
#include "card/temp_folder.h"
#include "export/qel_zip_date_time.h"
#include "export/save_qrec_file_thread.h"
#include "foundations/tick_time.h"
#include "loggers/qel649.h"
#include "loggers/qel_factory.h"
#include "platform/known_folders.h"
#include "tests/export/qel_zip_entries.h"
#include "tests/export/save_fixture.h"
#include "tests/support/zip_test_reader.h"
#include "tools/cardgen/card_generator.h"
#include "tools/cardgen/config_area.h"

#include <gtest/gtest.h>

#include <bit>

namespace {

using qeltest::DecodePairs;
using qeltest::DecodeValues;
using qeltest::PairValue;
using qeltest::TZipTestReader;

constexpr std::uint32_t kChannels[] = {1, 2, 7};   // T(p), ACC x (gap channel), T
constexpr std::int16_t kGap = 0x7FF0;
constexpr std::uint32_t kRowsPerPage = 40;
constexpr std::uint16_t kRowStepUnits = 20;
constexpr std::uint64_t kPageStepUnits = kRowsPerPage * kRowStepUnits;
constexpr std::int64_t kUnitTicks = 1000;          // page times of model 0x6606

// Test records from byte 8 of a page: channel byte, UInt16 offset in time
// units from the page time, Int16 raw value; channel 0xFF ends the page.
std::int16_t RawOf(std::uint32_t serial, std::uint32_t page, std::uint32_t row, std::uint32_t channel)
{
    if (channel == 2 && row % 7 == 3) {
        return kGap;
    }
    if (channel == 7 && row % 11 == 5) {
        return kGap;   // the same raw value on a channel without gaps is a value
    }
    return static_cast<std::int16_t>(serial * 3 + page * 97 + row * 13 - channel * 500);
}

class TTestRecordBody : public qel::cardgen::IPageBody {
public:
    explicit TTestRecordBody(std::uint32_t serial) : FSerial(serial) {}
    void Fill(std::uint32_t pageIndex, qel::cardgen::TPageHeaderFields&,
              std::span<std::uint8_t, qel::cardgen::kPageSize> page) override
    {
        std::size_t at = 8;
        for (std::uint32_t row = 0; row < kRowsPerPage; ++row) {
            for (std::uint32_t channel : kChannels) {
                const auto offset = static_cast<std::uint16_t>(row * kRowStepUnits);
                const auto raw = static_cast<std::uint16_t>(RawOf(FSerial, pageIndex, row, channel));
                const std::uint8_t record[5] = {static_cast<std::uint8_t>(channel), static_cast<std::uint8_t>(offset),
                                                static_cast<std::uint8_t>(offset >> 8), static_cast<std::uint8_t>(raw),
                                                static_cast<std::uint8_t>(raw >> 8)};
                std::copy(std::begin(record), std::end(record), page.begin() + static_cast<std::ptrdiff_t>(at));
                at += 5;
            }
        }
        page[at] = 0xFF;
    }

private:
    std::uint32_t FSerial;
};

class TTestRecordPage : public qel::TPage {
public:
    static constexpr const char* ClassName = "TTestRecordPage";
    void ReadData() override
    {
        const std::int64_t pageTime = GetTime(true);
        FPosition = 8;
        for (;;) {
            const std::uint8_t channel = ReadByte();
            if (channel == 0xFF || FPosition >= FSize) {
                return;
            }
            const std::uint16_t offset = ReadByte() | ReadByte() << 8;
            const auto raw = static_cast<std::int16_t>(ReadByte() | ReadByte() << 8);
            qel::ReadBufferList.AddIntData(channel, pageTime + offset * kUnitTicks, raw);
        }
    }
};

struct TSample {
    std::int64_t Time;   // ticks
    std::int16_t Raw;
};

qel::cardgen::TRecordingSpec Recording(std::uint32_t serial, const std::string& name, std::uint32_t pages,
                                       std::uint64_t startUnits)
{
    qel::cardgen::TQel649ConfigSpec config;
    config.Name = name;
    qel::cardgen::TRecordingSpec recording;
    recording.Logger = {0x6606, 0x0120, 0x0120, serial, qel::cardgen::BuildQel649Config(config)};
    recording.PageCount = pages;
    recording.StartTimeUnits = startUnits;
    recording.TimeStepUnits = kPageStepUnits;
    recording.Body = std::make_shared<TTestRecordBody>(serial);
    return recording;
}

// The samples the card holds for one channel of a recording, in page order.
std::vector<TSample> Generated(const qel::cardgen::TRecordingSpec& recording, std::uint32_t channel)
{
    std::vector<TSample> samples;
    for (std::uint32_t page = 0; page < recording.PageCount; ++page) {
        for (std::uint32_t row = 0; row < kRowsPerPage; ++row) {
            const std::uint64_t units = recording.StartTimeUnits + page * kPageStepUnits + row * kRowStepUnits;
            samples.push_back({static_cast<std::int64_t>(units) * kUnitTicks,
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
    qel::cardgen::TCardSpec spec;
    spec.Recordings = {Recording(101, "Cellar", 12, 50'000), Recording(202, "Attic", 4, 90'000)};
    // Logger 101's pages 7 to 11 continue at the card's start; its pages 0 to 6
    // end the card, in the second container.
    spec.Layout = {qel::cardgen::TPlaceRecording{0, 7, {}}, qel::cardgen::TPlaceRecording{1, 0, {}},
                   qel::cardgen::TEndContainer{}, qel::cardgen::TPlaceRecording{0, 0, 7}};
    qeltest::TempDir cardDir;
    const auto manifest = qel::cardgen::GenerateCard(spec, cardDir.Path().string());
    ASSERT_EQ(manifest.Files.size(), 2u);
    for (const std::string& file : manifest.Files) {
        qel::ExtCard.Add(new qel::TExtCardInfo(file));
    }
    qel::ScanCardDirectory(qel::ExtCard, qel::RecInfoList, {});
    ASSERT_EQ(qel::RecInfoList.Count(), 2);
    EXPECT_TRUE(dynamic_cast<qel::TCardRecord&>(*qel::RecInfoList.GetItem(0)).bMemoryCirculation);

    qel::TQEL& logger = StartReadData(101);
    qel::TCardDataReadHooks hooks;
    hooks.PageClass = &qel::PageClassOf<TTestRecordPage>();
    qel::ReadCardData(qel::ExtCard, qel::RecInfoList, hooks);
    ASSERT_EQ(qel::ReadBufferList.Count(), 3);
    EXPECT_EQ(dynamic_cast<qel::TQEL649&>(logger).NAME, "Cellar") << "configuration read from the card";

    // The window cuts into page 2 and page 9.
    const std::int64_t start = static_cast<std::int64_t>(50'000 + 2 * kPageStepUnits + 10 * kRowStepUnits) * kUnitTicks;
    const std::int64_t end = static_cast<std::int64_t>(50'000 + 9 * kPageStepUnits + 30 * kRowStepUnits) * kUnitTicks;
    RunSave(&qel::TSaveQRecFileThread::ClassInfo, [&](qel::TSaveFileThread& saver) {
        qel::SaveBufferList.FileNameEx = qel::TFileNameEx{dir.Path().string() + "/", "card", "", ".qrec"};
        saver.TimeMode = 1;
        saver.TimeStart = start;
        saver.TimeEnd = end;
    });
    ASSERT_EQ(States(), (std::vector<plat::WPARAM>{qel::THREAD_STARTED, qel::THREAD_SAVED, qel::THREAD_FINISHED}));

    const std::string archive = dir.File("card.qrec");
    const TZipTestReader reader(archive);
    for (std::size_t folder = 0; folder < std::size(kChannels); ++folder) {
        const std::uint32_t channel = kChannels[folder];
        SCOPED_TRACE("channel " + std::to_string(channel));
        std::vector<qeltest::TValueRecord> expected;
        for (const TSample& sample : Generated(spec.Recordings[0], channel)) {
            if (sample.Time < start || sample.Time > end || logger.IsGAPValue(channel, sample.Raw)) {
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
            ASSERT_EQ(std::bit_cast<std::uint32_t>(saved[i].Value), std::bit_cast<std::uint32_t>(expected[i].Value))
                << "value " << i;
        }
        const auto pairs = DecodePairs(reader.Read(path + "ChDesc_0"));
        EXPECT_EQ(PairValue(pairs, "ChDescName"), logger.GetChName(channel));
        EXPECT_EQ(PairValue(pairs, "ChDescQelName"), "Cellar");
        EXPECT_EQ(PairValue(pairs, "ChDescQelModel"), "QEL649");
        EXPECT_EQ(PairValue(pairs, "ChDescQelSN"), "101");
        EXPECT_EQ(PairValue(pairs, "ChDescAmount"), std::to_string(expected.size()));
        EXPECT_EQ(PairValue(pairs, "ChDescTmin"), std::to_string(expected.front().Time));
        EXPECT_EQ(PairValue(pairs, "ChDescTmax"), std::to_string(expected.back().Time));
    }
    EXPECT_FALSE(reader.Has("CHANNELS\\CHANNEL_3\\ChDesc_0"));
    EXPECT_EQ(qeltest::RunUnzipTest(archive).ExitCode, 0);
    EXPECT_EQ(qeltest::RunPythonZipCheck(archive).ExitCode, 0);
}

} // namespace
