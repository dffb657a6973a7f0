// Saving through a temporary file: the target changes only on commit, and a
// failed or abandoned save leaves the old file and no temporary file.
#include "platform/atomic_file.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using qeltest::ReadWholeFile;
using qeltest::TempDir;
using qeltest::WriteWholeFile;

int FilesIn(const TempDir& dir)
{
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        ++count;
    }
    return count;
}

TEST(AtomicFileStream, CommitReplacesTheTargetAndKeepsItsPermissions)
{
    TempDir dir;
    const std::string target = dir.File("save.qrec");
    WriteWholeFile(target, "old content");
    chmod(target.c_str(), 0640);
    {
        plat::TAtomicFileStream out(target);
        out.WriteBuffer("new", 3);
        EXPECT_EQ(ReadWholeFile(target), "old content");   // nothing visible before the commit
        EXPECT_TRUE(std::filesystem::exists(out.TempFileName()));
        EXPECT_EQ(std::filesystem::path(out.TempFileName()).parent_path(), dir.Path());
        out.Commit();
        EXPECT_TRUE(out.Committed());
        out.Commit();   // a second commit does nothing
    }
    EXPECT_EQ(ReadWholeFile(target), "new");
    EXPECT_EQ(FilesIn(dir), 1);
    struct stat info {};
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(AtomicFileStream, AbandonedSaveLeavesTargetAndNoTemporaryFile)
{
    TempDir dir;
    const std::string target = dir.File("save.qel");
    WriteWholeFile(target, "keep me");
    {
        plat::TAtomicFileStream out(target, 16);
        out.WriteBuffer("partial data beyond the buffer", 30);
    }
    EXPECT_EQ(ReadWholeFile(target), "keep me");
    EXPECT_EQ(FilesIn(dir), 1);

    // A new file that is never committed does not appear at all.
    {
        plat::TAtomicFileStream out(dir.File("never.qel"));
        out.WriteBuffer("x", 1);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("never.qel")));
    EXPECT_EQ(FilesIn(dir), 1);
}

TEST(AtomicFileStream, FailedCommitLeavesTargetUntouched)
{
    TempDir dir;
    const std::string target = dir.File("busy");
    std::filesystem::create_directory(target);
    EXPECT_THROW(plat::TAtomicFileStream stream(target), plat::EFCreateError);

    // The target turns into a folder while the save runs: the rename fails.
    const std::string file = dir.File("swap.bin");
    {
        plat::TAtomicFileStream out(file);
        out.WriteBuffer("data", 4);
        std::filesystem::create_directory(file);
        std::filesystem::create_directory(file + "/inner");
        EXPECT_THROW(out.Commit(), plat::EWriteError);
        EXPECT_FALSE(out.Committed());
    }
    EXPECT_TRUE(std::filesystem::is_directory(file + "/inner"));
    EXPECT_EQ(FilesIn(dir), 2);   // the two folders, no temporary file
}

TEST(AtomicFileStream, MissingFolderRaisesCreateErrorNamingTheTarget)
{
    TempDir dir;
    const std::string target = dir.File("missing/out.mat");
    try {
        plat::TAtomicFileStream out(target);
        FAIL() << "no error raised";
    } catch (const plat::EFCreateError& error) {
        EXPECT_NE(std::string(error.what()).find(target), std::string::npos) << error.what();
    }
}

TEST(AtomicFileStream, WriteFailureDuringCommitRaisesAndKeepsTheOldFile)
{
    // A file-size limit makes the kernel refuse the write the way a full disk
    // does; it is set in a child process so that nothing else is limited.
    TempDir dir;
    const std::string target = dir.File("big.qrec");
    WriteWholeFile(target, "old");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{65536, 65536};
        setrlimit(RLIMIT_FSIZE, &limit);
        int outcome = 1;
        try {
            plat::TAtomicFileStream out(target);
            const std::string block(100000, 'x');
            out.WriteBuffer(block.data(), 100000);   // stays in the buffer
            out.Commit();
        } catch (const plat::EWriteError&) {
            outcome = 0;
        } catch (...) {
            outcome = 2;
        }
        _exit(outcome);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the commit reported success, 2: another error";
    EXPECT_EQ(ReadWholeFile(target), "old");
    EXPECT_EQ(FilesIn(dir), 1);
}

} // namespace
