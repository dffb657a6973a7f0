// QEL539c saver: header-block sequence, logger names by radio module with the
// optional logger-name file, channel identities of the radio-module buffers
// and rows of the singles as stored.
#include "export/data_file.h"
#include "export/save_file_thread_qel539c.h"
#include "export/saver_selection.h"
#include "foundations/qel_error.h"
#include "foundations/settings.h"
#include "foundations/tick_time.h"
#include "loggers/qel539c.h"
#include "loggers/qel629c.h"
#include "platform/known_folders.h"
#include "tests/export/save_fixture.h"
#include "tests/export/single_block.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <filesystem>
#include <cmath>
#include <string>
#include <vector>

namespace {

using qeltest::BlockFileContent;
using qeltest::PayloadCursor;
using qeltest::SingleBlock;

class Qel539cSaverTest : public qeltest::SaveFixture {
protected:
    Qel539cSaverTest() { plat::SetProgramPath(programDir.File("QelReader.exe")); }

    qel::TQEL539C& AddQel539c(std::uint32_t sn = 77, std::uint16_t version = 0x0301)
    {
        return AddLogger<qel::TQEL539C>(sn, 0x6615, version);
    }

    // A module of the logger's list with the channels RH, T_RH, DP and the counter.
    static void AddModul(qel::TQEL539C& logger, std::uint16_t sn)
    {
        auto* modul = new qel::TRFSModul;
        modul->sn = sn;
        modul->cfg = 0x04;
        modul->Initialize();
        logger.FRFSModulList.Add(modul);
    }

    void ExpectSaved() const
    {
        EXPECT_EQ(States(), (std::vector<plat::WPARAM>{qel::THREAD_STARTED, qel::THREAD_SAVED, qel::THREAD_FINISHED}))
            << qel::LastErrorMsg();
    }

    std::vector<std::string> LoggerNames(int channels)
    {
        PayloadCursor cursor(SingleBlock(ReadPart(0), qel::BLOCK_LOGGER_NAMES));
        std::vector<std::string> names;
        for (int i = 0; i < channels; ++i) {
            names.push_back(cursor.String());
        }
        EXPECT_TRUE(cursor.AtEnd());
        return names;
    }

    qeltest::TempDir programDir;   // the program's folder, with or without its logger-name file
};

TEST_F(Qel539cSaverTest, SelectedForModelCode6615WithItsHeaderBlocksInEveryPart)
{
    EXPECT_EQ(qel::GetSaveFileThreadClass(0x6615, 0x0000), &qel::TSaveFileThreadQEL539c::ClassInfo);
    EXPECT_EQ(qel::GetSaveFileThreadClass(0x6615, 0xFFFF), &qel::TSaveFileThreadQEL539c::ClassInfo);

    qel::RecInfoList.SetMaxSize(1000);
    auto& logger = AddQel539c();
    for (int i = 0; i < 1500; ++i) {
        AddSingle(logger, 1, i * 1000, static_cast<float>(i));
    }
    RunSave(&qel::TSaveFileThreadQEL539c::ClassInfo);
    ExpectSaved();
    const std::vector<std::uint16_t> header = {0, 20, 1, 2, 3, 13, 5, 25, 15, 6, 7, 26};
    for (const int part : {0, 1}) {
        std::vector<std::uint16_t> types = qeltest::BlockTypes(ReadPart(part));
        ASSERT_GT(types.size(), header.size()) << part;
        EXPECT_EQ(std::vector<std::uint16_t>(types.begin(), types.begin() + header.size()), header) << part;
        EXPECT_TRUE(std::all_of(types.begin() + header.size(), types.end(), [](auto t) { return t == 8; })) << part;
    }
    EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"out.qel", "out_E1.qel"})) << "no side file";
}

TEST_F(Qel539cSaverTest, LoggerNamesComeFromTheModuleAndTheLoggerNameFile)
{
    const std::string nameFile = "[other]\r\nSM-4660=Wrong section\r\n"
                                 "[loggers]\r\nsm-4660=K\xC3\xBChlraum\r\nQEL77=Halle\r\nSM-4660=Second entry\r\n";
    struct Case {
        const char* what;
        const char* file;   // nullptr: no logger-name file
        const char* prefix;
        std::vector<std::string> names;   // channels 1, 64, 80 (modules SM-4660, SM-4661)
    };
    const std::vector<Case> cases = {
        {"no file", nullptr, "QEL", {"QEL77", "SM-4660", "SM-4661"}},
        {"keys in any case, first entry counts", nameFile.c_str(), "QEL",
         {"Halle [QEL77]", "K\xFChlraum [SM-4660]", "SM-4661"}},
        {"another prefix is no key", nameFile.c_str(), "LOG", {"LOG77", "K\xFChlraum [SM-4660]", "SM-4661"}},
    };
    for (const Case& c : cases) {
        ResetSave();
        std::filesystem::remove(qel::LoggerNameFileName());
        if (c.file != nullptr) {
            qeltest::WriteWholeFile(programDir.File("QelReader.txt"), c.file);
        }
        qel::RegSettings.sQEL = c.prefix;
        auto& logger = AddQel539c();
        AddModul(logger, 4660);
        AddModul(logger, 4661);
        AddSingle(logger, 80, 0, 1.0f);
        AddSingle(logger, 64, 0, 2.0f);
        AddSingle(logger, 1, 0, 3.0f);
        RunSave(&qel::TSaveFileThreadQEL539c::ClassInfo);
        ExpectSaved();
        EXPECT_EQ(LoggerNames(3), c.names) << c.what;
    }
    EXPECT_EQ(qel::LoggerNameFileName(), programDir.File("QelReader.txt"));
}

TEST_F(Qel539cSaverTest, ChannelBlocksCarryTheLoggerAndTheRadioModuleBuffers)
{
    auto& logger = AddQel539c(77, 0x0302);
    logger.QELNAME = "Station °2";
    logger.DIFFTIME = -3;
    AddModul(logger, 4660);
    AddSingle(logger, 65, 0, 1.0f);   // module 0, T_RH
    AddSingle(logger, 1, 0, 2.0f);
    qel::ReadBufferList[0]->channel_sn = 4660;
    qel::ReadBufferList[0]->channel_id = 2;
    qel::SaveBufferList.Utc = qel::TQelUtc{true, 7200 * qel::TICKS_PER_SECOND};
    RunSave(&qel::TSaveFileThreadQEL539c::ClassInfo);
    ExpectSaved();
    const BlockFileContent content = ReadPart(0);

    PayloadCursor stored(SingleBlock(content, qel::BLOCK_STORED_NAMES));
    PayloadCursor identity(SingleBlock(content, qel::BLOCK_LOGGER_IDENTITY));
    PayloadCursor utc(SingleBlock(content, qel::BLOCK_UTC));
    PayloadCursor difftime(SingleBlock(content, qel::BLOCK_TIME_DIFFERENCE));
    PayloadCursor names(SingleBlock(content, qel::BLOCK_CHANNEL_NAMES));
    PayloadCursor units(SingleBlock(content, qel::BLOCK_CHANNEL_UNITS));
    PayloadCursor channels(SingleBlock(content, qel::BLOCK_CHANNEL_IDENTITY));
    EXPECT_EQ(channels.Word(), 3) << "layout 3";
    struct Expected {
        const char* name;
        const char* unit;
        std::int32_t sn;
        std::uint16_t id;
    };
    // Sorted by channel: the logger's channel 1 (no channel configured), then module channel 65.
    for (const Expected& e : {Expected{"1?", "1?", 0, 0}, Expected{"T_RH", "\xB0" "C", 4660, 2}}) {
        EXPECT_EQ(stored.String(), "Station \xB0" "2");
        EXPECT_EQ(identity.Word(), 0x6615);
        EXPECT_EQ(identity.Word(), 0x0302);
        EXPECT_EQ(utc.Word(), 1);
        EXPECT_EQ(utc.Double(), 7200.0 / 86400.0);
        EXPECT_EQ(difftime.Double(), -3.0);
        EXPECT_EQ(names.String(), e.name);
        EXPECT_EQ(units.String(), e.unit);
        EXPECT_EQ(channels.Longint(), e.sn) << e.name;
        EXPECT_EQ(channels.Word(), 0x6615);
        EXPECT_EQ(channels.Word(), 0x0302);
        EXPECT_EQ(channels.Word(), e.id) << e.name;
    }
    for (PayloadCursor* cursor : {&stored, &identity, &utc, &difftime, &names, &units, &channels}) {
        EXPECT_TRUE(cursor->AtEnd());
    }
}

TEST_F(Qel539cSaverTest, RowsHoldTheSinglesAsStored)
{
    auto& logger = AddQel539c();
    const float quietNaN = std::bit_cast<float>(0x7FC00001u);
    AddSingle(logger, 1, 0, -2.5f);
    AddSingle(logger, 64, 0, 20.5f);
    AddSingle(logger, 1, qel::TICKS_PER_SECOND, quietNaN);
    RunSave(&qel::TSaveFileThreadQEL539c::ClassInfo);
    ExpectSaved();
    PayloadCursor rows(SingleBlock(ReadPart(0), qel::BLOCK_ROWS));
    EXPECT_EQ(rows.Double(), 0.0);
    EXPECT_EQ(rows.Single(), -2.5f);
    EXPECT_EQ(rows.Single(), 20.5f);
    EXPECT_EQ(rows.Double(), 1.0 / 86400.0);
    EXPECT_EQ(rows.SingleBits(), 0x7FC00001u) << "no conversion, no gap test";
    EXPECT_EQ(rows.SingleBits(), 0xFFFFFFFFu) << "no sample: NoValueMarker";
    EXPECT_TRUE(rows.AtEnd());
}

TEST_F(Qel539cSaverTest, ChannelOfAnotherLoggerClassFailsTheSave)
{
    auto& other = AddLogger<qel::TQEL629C>(1, 0x6601, 0x0600);
    AddSingle(other, 1, 0, 1.0f);
    RunSave(&qel::TSaveFileThreadQEL539c::ClassInfo);
    EXPECT_EQ(FailureCode(), 0);
    EXPECT_EQ(qel::LastErrorMsg(), "Invalid class typecast");
    EXPECT_TRUE(FolderEntries().empty());
}

} // namespace
