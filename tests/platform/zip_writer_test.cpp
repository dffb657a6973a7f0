// The zip writer's archives as an independent reader, unzip and Python's
// zipfile see them: names and order, contents, Zip64 records, safe replacing.
#include "platform/zip_writer.h"

#include "tests/support/temp_dir.h"
#include "tests/support/zip_test_archives.h"
#include "tests/support/zip_test_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <random>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using qeltest::MixedEntries;
using qeltest::RandomBytes;
using qeltest::ReadWholeFile;
using qeltest::Repetitive;
using qeltest::TZipEntryData;
using qeltest::WriteArchive;
using qeltest::TempDir;
using qeltest::TZipTestReader;
using qeltest::WriteWholeFile;

// The standard tools accept the archive and list exactly these names in this order.
void ExpectToolsAccept(const std::string& path, const std::vector<std::string>& names)
{
    const qeltest::TToolResult unzip = qeltest::RunUnzipTest(path);
    EXPECT_EQ(unzip.ExitCode, 0) << "unzip -t (install it with scripts/install-deps):\n" << unzip.Output;
    const qeltest::TToolResult python = qeltest::RunPythonZipCheck(path);
    ASSERT_EQ(python.ExitCode, 0) << python.Output;
    std::string expected;
    for (const std::string& name : names) {
        expected += name + "\n";
    }
    EXPECT_EQ(python.Output, expected + "OK\n");
}

void ExpectEntries(const TZipTestReader& reader, const std::vector<TZipEntryData>& entries)
{
    ASSERT_EQ(reader.Entries().size(), entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(reader.Entries()[i].Name, entries[i].Name) << "entry " << i;
        EXPECT_EQ(reader.Entries()[i].Method, 8) << entries[i].Name;
        EXPECT_TRUE(reader.Entries()[i].Data == entries[i].Data) << entries[i].Name;
    }
}

TEST(ZipWriter, EntriesKeepNamesOrderAndContentOnEveryThreadCount)
{
    const std::vector<TZipEntryData> entries = MixedEntries();
    for (unsigned threads : {0u, 1u, 4u}) {
        SCOPED_TRACE("threads " + std::to_string(threads));
        TempDir dir;
        const std::string path = dir.File("mixed.qrec");
        WriteArchive(path, entries, threads);
        const TZipTestReader reader(path);
        ExpectEntries(reader, entries);
        EXPECT_FALSE(reader.HasZip64End());
        EXPECT_EQ(reader.Entries()[5].Flags & 0x0800, 0x0800) << "UTF-8 name flag";
        EXPECT_EQ(reader.Entries()[1].Flags & 0x0800, 0) << "ASCII name without the flag";
        std::vector<std::string> names;
        for (const TZipEntryData& entry : entries) {
            names.push_back(entry.Name);
        }
        ExpectToolsAccept(path, names);
    }
}

TEST(ZipWriter, ParallelCompressionWritesManyEntriesInTheOrderAdded)
{
    std::vector<TZipEntryData> entries;
    for (int i = 0; i < 300; ++i) {
        // Sizes vary so that later entries often finish compressing first.
        const std::size_t size = (i % 7 == 0) ? 200000 : static_cast<std::size_t>(i * 37 % 5000);
        entries.push_back({"block_" + std::to_string(i), i % 2 ? Repetitive(size) : RandomBytes(size, i)});
    }
    TempDir dir;
    const std::string path = dir.File("many.zip");
    WriteArchive(path, entries, 3);
    ExpectEntries(TZipTestReader(path), entries);
}

TEST(ZipWriter, Zip64FieldsWhereSizesAndOffsetsReachTheThreshold)
{
    // A threshold of 1000 puts every larger size and every later offset into
    // Zip64 fields, the layout a multi-gigabyte save takes.
    std::vector<TZipEntryData> entries = MixedEntries();
    entries.push_back({"constant", std::string(5000, '\0')});   // only its size reaches the threshold
    TempDir dir;
    const std::string path = dir.File("zip64.zip");
    WriteArchive(path, entries, 2, 1000);
    const TZipTestReader reader(path);
    ExpectEntries(reader, entries);
    EXPECT_TRUE(reader.HasZip64End()) << "the directory lies beyond the threshold";
    EXPECT_FALSE(reader.Entries()[0].Zip64Fields) << "small entry at offset 0";
    EXPECT_TRUE(reader.Entries()[1].Zip64Fields) << "size 120000";
    EXPECT_TRUE(reader.Entries()[2].Zip64Fields) << "empty entry at a large offset";
    EXPECT_LT(reader.Entries()[7].CompressedSize, 1000u);
    std::vector<std::string> names;
    for (const TZipEntryData& entry : entries) {
        names.push_back(entry.Name);
    }
    ExpectToolsAccept(path, names);
}

TEST(ZipWriter, EntryCountFrom65535TakesTheZip64EndRecord)
{
    for (std::size_t count : {std::size_t{65534}, std::size_t{65535}}) {
        SCOPED_TRACE(count);
        TempDir dir;
        const std::string path = dir.File("count.zip");
        plat::TZipFile zip;
        zip.Open(path, plat::zmWrite);
        for (std::size_t i = 0; i < count; ++i) {
            const std::string name = std::to_string(i);
            zip.Add(name.data(), name.size(), name);
        }
        zip.Close();
        const TZipTestReader reader(path);
        ASSERT_EQ(reader.Entries().size(), count);
        EXPECT_EQ(reader.HasZip64End(), count >= 65535);
        EXPECT_EQ(reader.Entries().back().Data, std::to_string(count - 1));
        if (count < 65535) {
            continue;
        }
        const qeltest::TToolResult python = qeltest::RunPythonZipCheck(path);
        ASSERT_EQ(python.ExitCode, 0) << python.Output.substr(0, 2000);
        EXPECT_EQ(std::count(python.Output.begin(), python.Output.end(), '\n'), static_cast<long>(count) + 1);
        EXPECT_TRUE(python.Output.ends_with("\n" + std::to_string(count - 1) + "\nOK\n"));
        const qeltest::TToolResult unzip = qeltest::RunUnzipTest(path);
        EXPECT_EQ(unzip.ExitCode, 0) << unzip.Output;
    }
}

TEST(ZipWriter, TargetChangesOnlyWhenTheArchiveIsClosed)
{
    TempDir dir;
    const std::string path = dir.File("data.qrec");
    WriteWholeFile(path, "previous save");
    {
        plat::TZipFile zip;
        zip.SetCompressionThreads(2);
        zip.Open(path, plat::zmWrite);
        const std::string data = Repetitive(500000);
        zip.Add(data.data(), data.size(), "a");
        zip.Add(data.data(), data.size(), "b");
        EXPECT_EQ(ReadWholeFile(path), "previous save");
        zip.Discard();
        EXPECT_FALSE(zip.Active());
        EXPECT_THROW(zip.Close(), plat::EWriteError);
        zip.Open(path, plat::zmWrite);
        zip.Add(data.data(), data.size(), "c");
    }   // destroyed while open
    EXPECT_EQ(ReadWholeFile(path), "previous save");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1) << "no temporary file left";

    WriteArchive(path, {{"new", "content"}}, 2);
    EXPECT_EQ(TZipTestReader(path).Read("new"), "content");
}

TEST(ZipWriter, ErrorsAreRaisedAndLeaveNoArchive)
{
    TempDir dir;
    plat::TZipFile zip;
    EXPECT_THROW(zip.Add("x", 1, "x"), plat::EWriteError) << "no archive open";
    EXPECT_THROW(zip.Open(dir.File("missing/folder/a.zip"), plat::zmWrite), plat::EFCreateError);
    EXPECT_FALSE(zip.Active());
    zip.Open(dir.File("a.zip"), plat::zmWrite);
    EXPECT_THROW(zip.Add("x", 1, std::string(70000, 'n')), plat::EWriteError) << "name beyond 16 bits";
    EXPECT_FALSE(zip.Active()) << "a failed archive is discarded";
    EXPECT_FALSE(std::filesystem::exists(dir.File("a.zip")));
}

TEST(ZipWriter, FullDiskFailsTheSaveAndKeepsTheOldFile)
{
    TempDir dir;
    const std::string path = dir.File("full.zip");
    WriteWholeFile(path, "old");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{65536, 65536};
        setrlimit(RLIMIT_FSIZE, &limit);
        int outcome = 1;
        try {
            plat::TZipFile zip;
            zip.SetCompressionThreads(0);
            zip.Open(path, plat::zmWrite);
            const std::string noise = RandomBytes(100000, 3);
            for (int i = 0; i < 4; ++i) {
                zip.Add(noise.data(), noise.size(), "n" + std::to_string(i));
            }
            zip.Close();
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
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the save reported success, 2: another error";
    EXPECT_EQ(ReadWholeFile(path), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

} // namespace
