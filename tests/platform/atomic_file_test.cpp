// Saving through a temporary file: the target changes only on commit, and a
// failed or abandoned save leaves the old file and no temporary file.
#include "platform/atomic_file.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <memory>
#include <vector>
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


// Files of one save put in place together.

std::vector<std::string> NamesIn(const TempDir& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::unique_ptr<plat::TAtomicFileStream> NewFile(const std::string& target, const std::string& bytes)
{
    auto file = std::make_unique<plat::TAtomicFileStream>(target);
    file->WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    return file;
}

TEST(AtomicFileSet, CommitPutsEveryFileInPlaceOnlyAtTheEnd)
{
    TempDir dir;
    WriteWholeFile(dir.File("a.bin"), "old a");
    chmod(dir.File("a.bin").c_str(), 0640);
    plat::TAtomicFileSet set;
    set.Add(NewFile(dir.File("a.bin"), "new a"));
    set.Add(NewFile(dir.File("b.bin"), "new b"));
    EXPECT_EQ(ReadWholeFile(dir.File("a.bin")), "old a") << "nothing is replaced before the commit";
    EXPECT_FALSE(std::filesystem::exists(dir.File("b.bin")));

    set.Commit();
    EXPECT_TRUE(set.Empty());
    EXPECT_EQ(ReadWholeFile(dir.File("a.bin")), "new a");
    EXPECT_EQ(ReadWholeFile(dir.File("b.bin")), "new b");
    EXPECT_EQ(NamesIn(dir), (std::vector<std::string>{"a.bin", "b.bin"})) << "no temporary or former file left";
    struct stat info {};
    ASSERT_EQ(stat(dir.File("a.bin").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u) << "a replaced file keeps its permissions";
}

TEST(AtomicFileSet, DroppedSetLeavesEveryTargetAndNoTemporaryFile)
{
    TempDir dir;
    WriteWholeFile(dir.File("a.bin"), "old a");
    {
        plat::TAtomicFileSet set;
        set.Add(NewFile(dir.File("a.bin"), "new a"));
        set.Add(NewFile(dir.File("b.bin"), "new b"));
        set.Clear();
        EXPECT_TRUE(set.Empty());
        set.Add(NewFile(dir.File("c.bin"), "new c"));
    } // destroyed without a commit, as after a failed save
    EXPECT_EQ(NamesIn(dir), std::vector<std::string>{"a.bin"});
    EXPECT_EQ(ReadWholeFile(dir.File("a.bin")), "old a");
}

// The commit fails at the second of three files, before or after the first
// has replaced its target: every target is then as it was.
TEST(AtomicFileSet, FailedCommitLeavesEveryTargetAsItWas)
{
    enum class Break { TargetIsAFolder, TemporaryFileGone };
    struct Case {
        const char* what;
        bool firstExists;   // the first target has a former file
        Break fault;        // of the second file
    };
    const Case cases[] = {
        {"a folder in place of the second target", true, Break::TargetIsAFolder},
        {"a folder in place of the second target, first target new", false, Break::TargetIsAFolder},
        {"the second rename fails after the first", true, Break::TemporaryFileGone},
        {"the second rename fails after the first, first target new", false, Break::TemporaryFileGone},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        std::vector<std::string> before{"b.bin", "c.bin"};
        if (c.firstExists) {
            WriteWholeFile(dir.File("a.bin"), "old a");
            before.insert(before.begin(), "a.bin");
        }
        WriteWholeFile(dir.File("c.bin"), "old c");
        plat::TAtomicFileSet set;
        set.Add(NewFile(dir.File("a.bin"), "new a"));
        auto second = NewFile(dir.File("b.bin"), "new b");
        const std::string secondTemp = second->TempFileName();
        set.Add(std::move(second));
        set.Add(NewFile(dir.File("c.bin"), "new c"));
        if (c.fault == Break::TargetIsAFolder) {
            std::filesystem::create_directory(dir.File("b.bin"));
        } else {
            WriteWholeFile(dir.File("b.bin"), "old b");
            std::filesystem::remove(secondTemp);
        }

        try {
            set.Commit();
            ADD_FAILURE() << "the commit reported success";
        } catch (const plat::EWriteError& error) {
            EXPECT_NE(std::string(error.what()).find(dir.File("b.bin")), std::string::npos) << error.what();
        }
        EXPECT_TRUE(set.Empty());
        EXPECT_EQ(NamesIn(dir), before) << "no temporary or former file left";
        EXPECT_EQ(ReadWholeFile(dir.File("a.bin")), c.firstExists ? "old a" : "");
        EXPECT_EQ(ReadWholeFile(dir.File("c.bin")), "old c");
        if (c.fault == Break::TemporaryFileGone) {
            EXPECT_EQ(ReadWholeFile(dir.File("b.bin")), "old b");
        }
    }
}

TEST(AtomicFileSet, FullDiskFailsTheAddAndDropsThatFile)
{
    TempDir dir;
    const std::string target = dir.File("big.bin");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{65536, 65536};
        setrlimit(RLIMIT_FSIZE, &limit);
        int outcome = 1;
        try {
            plat::TAtomicFileSet set;
            set.Add(NewFile(target, std::string(100000, 'x')));   // written out by the add
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
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the add reported success, 2: another error";
    EXPECT_EQ(FilesIn(dir), 0);
}

// A save killed before its commit leaves its temporary file; a later start
// removes the temporary files of processes that no longer run, and nothing else.
TEST(AtomicFileStream, TemporaryFilesOfEndedProcessesAreRemovedLater)
{
    TempDir dir;
    const std::string target = dir.File("save.qrec");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        auto* killed = new plat::TAtomicFileStream(target);   // never destroyed: the process ends first
        killed->WriteBuffer("part", 4);
        killed->FlushToDisk();
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_EQ(FilesIn(dir), 1) << "the killed save left its temporary file";
    const std::string dead = std::to_string(child);
    const std::string running = std::to_string(getpid());
    const std::vector<std::string> kept = {
        "save.qrec",                                  // a target
        ".save.qrec." + running + "-0-1.tmp",         // a save of a running process
        ".save.qrec." + dead + "-0-1.old",            // a former file kept during a commit
        "save.qrec." + dead + "-0-1.tmp",             // not hidden
        ".save.qrec." + dead + "-x-1.tmp",            // not our numbering
    };
    for (const std::string& name : kept) {
        WriteWholeFile(dir.File(name), "x");
    }
    std::filesystem::create_directory(dir.File(".folder." + dead + "-0-1.tmp"));
    plat::TAtomicFileStream runningSave(dir.File("other.qrec"));

    EXPECT_EQ(plat::RemoveAbandonedTempFiles(dir.Path()), 1);
    for (const std::string& name : kept) {
        EXPECT_TRUE(std::filesystem::exists(dir.File(name))) << name;
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir.File(".folder." + dead + "-0-1.tmp")));
    EXPECT_TRUE(std::filesystem::exists(runningSave.TempFileName()));
    EXPECT_EQ(FilesIn(dir), static_cast<int>(kept.size()) + 2);
    EXPECT_EQ(plat::RemoveAbandonedTempFiles(dir.File("missing")), 0);
}

} // namespace
