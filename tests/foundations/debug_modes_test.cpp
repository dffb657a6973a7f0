// Tests of the debug modes and the dump file, byte for byte.
#include "foundations/debug_modes.h"

#include "foundations/settings.h"
#include "platform/date_time.h"
#include "platform/format_settings.h"
#include "platform/known_folders.h"
#include "tests/support/scoped_time_zone.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>

namespace qel {
namespace {

using qeltest::ReadWholeFile;

// 2024-03-05 14:07:09 UTC in milliseconds since 1970.
constexpr std::int64_t MOMENT_MS = 1709647629000;

class DebugModes : public ::testing::Test {
protected:
    DebugModes() : FZone("UTC0"), FClock(MOMENT_MS), FUseClock(FClock)
    {
        plat::SetProgramPath(FProgram.File("qelreader"));
        SetDefaultSettings();
        RegSettings.sRegFileDir = FData.Path().string() + "/";
        plat::TFormatSettings& settings = plat::FormatSettings();
        settings.ShortDateFormat = "dd.MM.yyyy";
        settings.DateSeparator = '.';
        settings.LongTimeFormat = "HH:mm:ss";
        settings.TimeSeparator = ':';
    }
    ~DebugModes() override
    {
        DebugFileClose();
        plat::SetProgramPath("");
        SetDefaultSettings();
    }

    std::string InProgram(const std::string& name) const { return FProgram.File(name); }

    static std::array<std::uint8_t, DEBUG_CLUSTER_SIZE> Cluster(std::uint16_t w6, std::uint16_t w8,
                                                                 std::uint16_t w10, std::uint16_t w12)
    {
        std::array<std::uint8_t, DEBUG_CLUSTER_SIZE> bytes{};
        const std::uint16_t words[] = {w6, w8, w10, w12};
        for (int i = 0; i < 4; ++i) {
            bytes[6 + 2 * i] = static_cast<std::uint8_t>(words[i] & 0xFF);
            bytes[7 + 2 * i] = static_cast<std::uint8_t>(words[i] >> 8);
        }
        return bytes;
    }

    qeltest::TempDir FProgram;
    qeltest::TempDir FData;

private:
    qeltest::ScopedTimeZone FZone;
    plat::TFixedWallClock FClock;
    plat::TScopedWallClock FUseClock;
    plat::TScopedFormatSettings FKeepFormats;
};

TEST_F(DebugModes, ModeNames)
{
    const char* names[] = {"", "dbm_dir", "dbm_page", "dbm_fastdata", "dbm_time", "dbm_dt", ""};
    for (int mode = 0; mode <= 6; ++mode) {
        EXPECT_EQ(GetDebugModeName(mode), names[mode]) << mode;
    }
    EXPECT_EQ(GetDebugModeName(-1), "");
}

TEST_F(DebugModes, ModeOffWritesNothing)
{
    EXPECT_TRUE(SetDebugMode(0));
    EXPECT_EQ(GetDebugMode(), 0);
    DebugDirCluster(0, DEBUG_CLUSTER_NEW, 1, 0, Cluster(1, 2, 3, 4));
    EXPECT_TRUE(std::filesystem::is_empty(FProgram.Path()));
    EXPECT_TRUE(std::filesystem::is_empty(FData.Path()));
}

TEST_F(DebugModes, HeaderOnlyModes)
{
    for (int mode = 2; mode <= 5; ++mode) {
        EXPECT_TRUE(SetDebugMode(mode));
        EXPECT_EQ(GetDebugMode(), mode);
        DebugDirCluster(0, DEBUG_CLUSTER_NEW, 1, 0, Cluster(1, 2, 3, 4));
        DebugFileClose();
        EXPECT_EQ(ReadWholeFile(InProgram(GetDebugModeName(mode) + "_0.csv")),
                  std::to_string(mode) + ";05.03.2024 14:07:09\r\n");
    }
}

TEST_F(DebugModes, UnknownModeWritesAFileWithoutName)
{
    EXPECT_TRUE(SetDebugMode(9));
    EXPECT_EQ(GetDebugMode(), 9);
    DebugDirCluster(0, DEBUG_CLUSTER_UNUSABLE, 0, -4, Cluster(0, 0, 0, 0));
    DebugFileClose();
    EXPECT_EQ(ReadWholeFile(InProgram("_0.csv")), "9;05.03.2024 14:07:09\r\n");
    EXPECT_EQ(GetDebugMode(), 0);
}

TEST_F(DebugModes, DirectoryTrace)
{
    ASSERT_TRUE(SetDebugMode(DEBUG_MODE_DIR));
    EXPECT_EQ(DebugFileName(), InProgram("dbm_dir_0.csv"));
    DebugDirCluster(0, DEBUG_CLUSTER_UNUSABLE, 77, -4, Cluster(0, 0, 0, 0));
    DebugDirCluster(1, DEBUG_CLUSTER_UNUSABLE, 77, -1, Cluster(0, 0, 0, 0));
    DebugDirCluster(17, DEBUG_CLUSTER_NEW, 0, 0, Cluster(1, 0, 29, 3));
    DebugDirCluster(18, DEBUG_CLUSTER_CONTINUE, 1, 0, Cluster(0, 0, 0, 0));
    DebugDirCluster(19, DEBUG_CLUSTER_CONTINUE, 2, 0, Cluster(0, 0, 0, 0));
    DebugDirCluster(20, DEBUG_CLUSTER_UNUSABLE, 5, -3, Cluster(0, 0, 0, 0));
    DebugDirCluster(21, DEBUG_CLUSTER_UNUSABLE, 6, -4, Cluster(0, 0, 0, 0));
    DebugDirCluster(22, DEBUG_CLUSTER_UNUSABLE, 7, -6, Cluster(0, 0, 0, 0));
    DebugDirCluster(23, DEBUG_CLUSTER_NEW, 8191, 0, Cluster(0xFFFF, 0x1234, 0x8000, 0x00FF));
    DebugDirCluster(24, DEBUG_CLUSTER_UNUSABLE, 0, -1, Cluster(0, 0, 0, 0));
    DebugFileClose();
    EXPECT_EQ(ReadWholeFile(InProgram("dbm_dir_0.csv")),
              "1;05.03.2024 14:07:09\r\n"
              "0;error;0;-4\r\n"
              "17;new;0;0;1;0;29;3\r\n"
              "20;error;2;-3\r\n"
              "23;new;8191;0;65535;4660;32768;255\r\n"
              "24;error;8191;-1\r\n");
}

TEST_F(DebugModes, SecondRunOverwritesTheFirst)
{
    ASSERT_TRUE(SetDebugMode(DEBUG_MODE_DIR));
    DebugDirCluster(3, DEBUG_CLUSTER_NEW, 4, 0, Cluster(1, 2, 3, 4));
    DebugDirCluster(4, DEBUG_CLUSTER_UNUSABLE, 4, -4, Cluster(0, 0, 0, 0));
    DebugFileClose();
    ASSERT_TRUE(SetDebugMode(DEBUG_MODE_DIR));
    // The trace starts afresh: last kind none, last page 0.
    DebugDirCluster(0, DEBUG_CLUSTER_UNUSABLE, 9, -4, Cluster(0, 0, 0, 0));
    DebugFileClose();
    EXPECT_EQ(ReadWholeFile(InProgram("dbm_dir_0.csv")), "1;05.03.2024 14:07:09\r\n0;error;0;-4\r\n");
}

TEST_F(DebugModes, UnwritableProgramFolderFallsBackToTheDataFolder)
{
    // A program "folder" that is a plain file cannot take the dump.
    qeltest::WriteWholeFile(FProgram.File("not-a-folder"), "x");
    plat::SetProgramPath(FProgram.File("not-a-folder/qelreader"));
    ASSERT_TRUE(SetDebugMode(DEBUG_MODE_DIR));
    EXPECT_EQ(DebugFileName(), FData.File("dbm_dir_0.csv"));
    DebugDirCluster(5, DEBUG_CLUSTER_NEW, 1, 0, Cluster(1, 2, 3, 4));
    DebugFileClose();
    EXPECT_EQ(ReadWholeFile(FData.File("dbm_dir_0.csv")), "1;05.03.2024 14:07:09\r\n5;new;1;0;1;2;3;4\r\n");
}

TEST_F(DebugModes, NoWritableFolderLeavesTheModeOff)
{
    qeltest::WriteWholeFile(FProgram.File("not-a-folder"), "x");
    plat::SetProgramPath(FProgram.File("not-a-folder/qelreader"));
    RegSettings.sRegFileDir = FProgram.File("not-a-folder/data/");
    EXPECT_FALSE(SetDebugMode(DEBUG_MODE_DIR));
    EXPECT_EQ(GetDebugMode(), 0);
    DebugDirCluster(5, DEBUG_CLUSTER_NEW, 1, 0, Cluster(1, 2, 3, 4));
    EXPECT_EQ(DebugFileName(), "");
}

TEST_F(DebugModes, HeaderIsWrittenInTheAnsiCodePage)
{
    plat::FormatSettings().ShortDateFormat = "dd-MMM-yyyy";
    plat::FormatSettings().ShortMonthNames[2] = "Mär";
    ASSERT_TRUE(SetDebugMode(2));
    DebugFileClose();
    EXPECT_EQ(ReadWholeFile(InProgram("dbm_page_0.csv")), "2;05-M\xE4r-2024 14:07:09\r\n");
}

} // namespace
} // namespace qel
