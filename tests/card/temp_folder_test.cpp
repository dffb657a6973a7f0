// Tests of the buffer folder: where it lies, its first spill file, and the
// fall-backs when the documents folder or the file cannot be made.
#include "card/temp_folder.h"
#include "platform/known_folders.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace qel {
namespace {

class TempFolder : public ::testing::Test {
protected:
    void SetUp() override { plat::SetProgramPath("/opt/qel/bin/reader.exe"); }
    void TearDown() override
    {
        ClearTempFolder();
        plat::SetDocumentsFolder("");
        plat::SetProgramPath("");
    }

    qeltest::TempDir FRoot;
};

TEST_F(TempFolder, LiesBelowTheDocumentsFolderAndHoldsTheFirstSpillFile)
{
    plat::SetDocumentsFolder(FRoot.File("docs"));
    const std::string expected = FRoot.File("docs") + "/QEL/temp/reader.exe/";
    EXPECT_EQ(BufferFolder(), "");
    ASSERT_TRUE(InitTempFolder());
    EXPECT_EQ(BufferFolder(), expected);
    EXPECT_EQ(SpillFileName(0), expected + "F0.mst");
    EXPECT_EQ(SpillFileName(4096), expected + "F4096.mst");
    EXPECT_TRUE(std::filesystem::is_regular_file(expected + "F0.mst"));
    EXPECT_EQ(std::filesystem::file_size(expected + "F0.mst"), 0u);
    ClearTempFolder();
    EXPECT_EQ(SpillFileName(1), "F1.mst");
}

TEST_F(TempFolder, FirstSpillFileThatCannotBeCreatedFailsTheStart)
{
    plat::SetDocumentsFolder(FRoot.File("docs"));
    std::filesystem::create_directories(FRoot.File("docs") + "/QEL/temp/reader.exe/F0.mst");
    EXPECT_FALSE(InitTempFolder());
}

TEST_F(TempFolder, UnusableDocumentsFolderLeavesTheCurrentFolder)
{
    qeltest::WriteWholeFile(FRoot.File("plain-file"), "x");
    plat::SetDocumentsFolder(FRoot.File("plain-file") + "/docs");   // below a file: cannot be made
    EXPECT_EQ(GetTempFolder(), "");

    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(FRoot.Path());
    const bool started = InitTempFolder();
    std::filesystem::current_path(before);
    EXPECT_TRUE(started);
    EXPECT_EQ(BufferFolder(), "");
    EXPECT_TRUE(std::filesystem::exists(FRoot.File("F0.mst")));
}

TEST_F(TempFolder, SpillFilesOfAnEarlierRunGoAndNothingElse)
{
    struct TCase {
        const char* name;
        bool goes;
    };
    const TCase cases[] = {
        {"F0.mst", true},        {"F4096.mst", true},  {"F12.mst.3.gone", true}, {"F.mst", false},
        {"Fx.mst", false},       {"f1.mst", false},    {"F1.mst.bak", false},    {"F1.mstx", false},
        {"F1.mst.gone", false},  {"notes.txt", false}, {"G1.mst", false},
    };
    const std::string folder = FRoot.File("buffers");
    std::filesystem::create_directory(folder);
    for (const TCase& each : cases) {
        qeltest::WriteWholeFile(folder + "/" + each.name, "x");
    }
    std::filesystem::create_directory(folder + "/F9.mst");   // a folder of that name stays
    EXPECT_EQ(RemoveLeftSpillFiles(folder), 3);
    for (const TCase& each : cases) {
        EXPECT_EQ(std::filesystem::exists(folder + "/" + each.name), !each.goes) << each.name;
    }
    EXPECT_TRUE(std::filesystem::is_directory(folder + "/F9.mst"));
}

} // namespace
} // namespace qel
