// Tests of the output file-name record and the path helpers.
#include "foundations/file_names.h"

#include "foundations/tick_time.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>

namespace qel {
namespace {

using qeltest::ReadWholeFile;
using qeltest::TempDir;
using qeltest::WriteWholeFile;

TEST(FileNames, PathHelpers)
{
    struct Case {
        const char* input;
        const char* addDelim;
        const char* removeDelim;
        const char* dir;
        const char* name;
        const char* ext;
    };
    const Case cases[] = {
        {"/data", "/data/", "/data", "/", "data", ""},
        {"/data/", "/data/", "/data", "/data/", "", ""},
        {"/data/x.qrec", "/data/x.qrec/", "/data/x.qrec", "/data/", "x.qrec", ".qrec"},
        {"x.qrec", "x.qrec/", "x.qrec", "", "x.qrec", ".qrec"},
        {"a.b.qrec", "a.b.qrec/", "a.b.qrec", "", "a.b.qrec", ".qrec"},
        {"/a.b/c", "/a.b/c/", "/a.b/c", "/a.b/", "c", ""},
        {".qrec", ".qrec/", ".qrec", "", ".qrec", ".qrec"},
        {"", "", "", "", "", ""},
        {"/", "/", "", "/", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(AddBackslash(c.input), c.addDelim);
        EXPECT_EQ(RemoveBackslash(c.input), c.removeDelim);
        EXPECT_EQ(GetFileDir(c.input), c.dir);
        EXPECT_EQ(GetFileName(c.input), c.name);
        EXPECT_EQ(GetFileExt(c.input), c.ext);
    }
    EXPECT_EQ(GetFileExtNoDot("a.b.qrec"), "qrec");
    EXPECT_EQ(GetFileExtNoDot("noext"), "");
    EXPECT_EQ(ReplaceFileExt("/p/prog.exe", ".qse"), "/p/prog.qse");
    EXPECT_EQ(ReplaceFileExt("/p.d/prog", ".txt"), "/p.d/prog.txt");
    EXPECT_EQ(ReplaceFileExt("/p/a.b.c", ""), "/p/a.b");
}

TEST(FileNames, BareNameNeverBecomesTheRootFolder)
{
    EXPECT_EQ(AddBackslash(""), "");
    EXPECT_EQ(GetFileDir("x.qrec"), "");
    TFileNameEx f;
    SplitFileName(f, "run.qrec");
    EXPECT_EQ(GetFullFileName(f), "run.qrec");
    EXPECT_FALSE(TestCreateFile(f));
}

TEST(FileNames, SplitAndJoinRoundTrip)
{
    TFileNameEx f;
    f.cnt = "_left";
    EXPECT_TRUE(SplitFileName(f, "/out/run.qrec"));
    EXPECT_EQ(f.path, "/out/");
    EXPECT_EQ(f.name, "run");
    EXPECT_EQ(f.cnt, "");
    EXPECT_EQ(f.ext, ".qrec");
    EXPECT_EQ(GetFullFileName(f), "/out/run.qrec");

    const TFileNameEx noDelim{"/out", "run", "_7", ".bin"};
    EXPECT_EQ(GetFullFileName(noDelim), "/out/run_7.bin");
}

TEST(FileNames, ExistenceTests)
{
    TempDir dir;
    WriteWholeFile(dir.File("f.txt"), "x");
    EXPECT_TRUE(FileExist(dir.File("f.txt")));
    EXPECT_FALSE(FileExist(dir.File("missing")));
    EXPECT_FALSE(FileExist(dir.Path().string()));
    EXPECT_TRUE(DirExist(dir.Path().string()));
    EXPECT_TRUE(DirExist(AddBackslash(dir.Path().string())));
    EXPECT_FALSE(DirExist(dir.File("f.txt")));
    EXPECT_FALSE(DirExist(""));
}

TEST(FileNames, ForceDir)
{
    TempDir dir;
    EXPECT_TRUE(ForceDir(dir.File("a/b/c/")));
    EXPECT_TRUE(DirExist(dir.File("a/b/c")));
    EXPECT_TRUE(ForceDir(dir.File("a/b/c")));
    WriteWholeFile(dir.File("file"), "x");
    EXPECT_FALSE(ForceDir(dir.File("file/sub")));
    EXPECT_THROW(ForceDir(""), std::system_error);
}

TEST(FileNames, MakeUniqueFileNameSkipsTakenNames)
{
    TempDir dir;
    const std::string path = AddBackslash(dir.Path().string());
    WriteWholeFile(path + "QEL1_240305_140709.qrec", "");
    WriteWholeFile(path + "QEL1_240305_140709_1.qrec", "");
    std::filesystem::create_directory(path + "QEL1_240305_140709_2.qrec");
    std::filesystem::create_symlink(path + "nowhere", path + "QEL1_240305_140709_3.qrec");

    TFileNameEx f{dir.Path().string(), "QEL1_240305_140709", "_x", ".qrec"};
    EXPECT_TRUE(MakeUniqueFileName(f));
    EXPECT_EQ(f.name, "QEL1_240305_140709_4");
    EXPECT_EQ(f.cnt, "");
    EXPECT_EQ(f.ext, ".qrec");

    TFileNameEx free{dir.Path().string(), "other", "", ".qrec"};
    EXPECT_TRUE(MakeUniqueFileName(free));
    EXPECT_EQ(free.name, "other");
}

TEST(FileNames, MakeUniqueFileNameExhausted)
{
    TempDir dir;
    const std::string path = AddBackslash(dir.Path().string());
    WriteWholeFile(path + "run.qel", "");
    for (int i = 1; i <= 99; ++i) {
        WriteWholeFile(path + "run_" + std::to_string(i) + ".qel", "");
    }
    TFileNameEx f{path, "run", "_c", ".qel"};
    EXPECT_FALSE(MakeUniqueFileName(f));
    EXPECT_EQ(f.name, "run");
    EXPECT_EQ(f.cnt, "");
    EXPECT_EQ(f.ext, ".qel");

    // "_100" is never tried: freeing it changes nothing, freeing "_99" does.
    std::filesystem::remove(path + "run_99.qel");
    EXPECT_TRUE(MakeUniqueFileName(f));
    EXPECT_EQ(f.name, "run_99");
}

TEST(FileNames, MakeDataFileName)
{
    // 2024-03-05 14:07:09 is 8830 days and 50829 seconds after 2000-01-01.
    const std::int64_t ticks = (std::int64_t{8830} * 86400 + 50829) * TICKS_PER_SECOND;
    EXPECT_EQ(MakeDataFileName("QEL", 12345, "", TicksToDays(ticks)), "QEL12345_240305_140709");
    EXPECT_EQ(MakeDataFileName("QEL", 12345, "x", TicksToDays(ticks)), "QEL12345x_240305_140709");
    EXPECT_EQ(MakeDataFileName("QEL", 4294967295u, "", 0.0), "QEL4294967295_000101_000000");
    EXPECT_EQ(MakeDataFileName("", 0, "", -0.5), "0_991231_120000");
}

TEST(FileNames, MakeDataFileNameOnWholeSeconds)
{
    // A tick time on a whole second never names the second before it.
    constexpr std::int64_t unixSeconds2000 = 946684800;
    for (std::int64_t seconds = 1; seconds < std::int64_t{99} * 366 * 86400; seconds += 86400 * 17 + 3541) {
        const std::time_t unixTime = static_cast<std::time_t>(seconds + unixSeconds2000);
        std::tm fields{};
        gmtime_r(&unixTime, &fields);
        char expected[32];
        std::strftime(expected, sizeof expected, "Q7_%y%m%d_%H%M%S", &fields);
        ASSERT_EQ(MakeDataFileName("Q", 7, "", TicksToDays(seconds * TICKS_PER_SECOND)), expected) << seconds;
    }
}

TEST(FileNames, TestCreateFileKeepsAnExistingFile)
{
    TempDir dir;
    const std::string content(1 << 20, 'q');
    WriteWholeFile(dir.File("big.qrec"), content);
    TFileNameEx f;
    SplitFileName(f, dir.File("big.qrec"));
    EXPECT_TRUE(TestCreateFile(f));
    EXPECT_EQ(ReadWholeFile(dir.File("big.qrec")), content);
}

TEST(FileNames, TestCreateFileLeavesNoProbeBehind)
{
    TempDir dir;
    TFileNameEx f;
    SplitFileName(f, dir.File("new/sub/out.qrec"));
    EXPECT_TRUE(TestCreateFile(f));
    EXPECT_TRUE(DirExist(dir.File("new/sub")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("new/sub/out.qrec")));
}

TEST(FileNames, TestCreateFileFailures)
{
    TempDir dir;
    std::filesystem::create_directory(dir.File("taken.qrec"));
    WriteWholeFile(dir.File("plain"), "x");
    TFileNameEx onFolder;
    SplitFileName(onFolder, dir.File("taken.qrec"));
    EXPECT_FALSE(TestCreateFile(onFolder));
    TFileNameEx underFile;
    SplitFileName(underFile, dir.File("plain/out.qrec"));
    EXPECT_FALSE(TestCreateFile(underFile));
    EXPECT_EQ(ReadWholeFile(dir.File("plain")), "x");
    // A pipe nobody reads: answered at once, never waited on.
    ASSERT_EQ(::mkfifo(dir.File("pipe.qrec").c_str(), 0600), 0);
    TFileNameEx onPipe;
    SplitFileName(onPipe, dir.File("pipe.qrec"));
    EXPECT_FALSE(TestCreateFile(onPipe));
}

} // namespace
} // namespace qel
