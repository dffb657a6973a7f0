// File, buffered and memory streams: error reports that name the file and the
// reason, short reads and full disks, buffering across seeks, memory growth.
#include "platform/streams.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <numeric>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using qeltest::ReadWholeFile;
using qeltest::TempDir;
using qeltest::WriteWholeFile;

std::string Pattern(std::size_t size)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    }
    return bytes;
}

template <class TError, class TAction>
std::string MessageOf(TAction action)
{
    try {
        action();
    } catch (const TError& error) {
        return error.what();
    }
    ADD_FAILURE() << "no error raised";
    return {};
}

TEST(FileStream, OpenAndCreateFailuresNameTheFileAndTheReason)
{
    TempDir dir;
    const std::string missing = dir.File("no-such.dat");
    const std::string open = MessageOf<plat::EFOpenError>([&] { plat::TFileStream stream(missing, plat::fmOpenRead); });
    EXPECT_NE(open.find(missing), std::string::npos) << open;
    EXPECT_NE(open.find("No such file"), std::string::npos) << open;

    const std::string inMissingFolder = dir.File("none/out.bin");
    const std::string create =
        MessageOf<plat::EFCreateError>([&] { plat::TFileStream stream(inMissingFolder, plat::fmCreate); });
    EXPECT_NE(create.find(inMissingFolder), std::string::npos) << create;

    const std::string folder =
        MessageOf<plat::EFOpenError>([&] { plat::TFileStream stream(dir.Path().string(), plat::fmOpenRead); });
    EXPECT_NE(folder.find("directory"), std::string::npos) << folder;

    // Both are stream errors, so one handler catches every file failure.
    EXPECT_THROW(plat::TFileStream(missing, plat::fmOpenReadWrite | plat::fmShareDenyNone), plat::EStreamError);
}

TEST(FileStream, ReadWriteSeekAndSize)
{
    TempDir dir;
    const std::string name = dir.File("a.bin");
    {
        plat::TFileStream out(name, plat::fmCreate | plat::fmShareExclusive);
        out.WriteBuffer("0123456789", 10);
        EXPECT_EQ(out.Position(), 10);
        out.Seek(2, plat::soBeginning);
        out.WriteBuffer("ab", 2);
        out.Seek(3, plat::soEnd);   // beyond the end: the gap reads as zeros
        out.WriteBuffer("Z", 1);
        EXPECT_EQ(out.Size(), 14);
    }
    EXPECT_EQ(ReadWholeFile(name), std::string("01ab456789\0\0\0Z", 14));

    plat::TFileStream in(name, plat::fmOpenRead);
    char buffer[8] = {};
    in.Seek(-4, plat::soEnd);
    EXPECT_EQ(in.Read(buffer, 8), 4);   // a plain read may come back short at the end
    EXPECT_EQ(in.Read(buffer, 8), 0);
    EXPECT_THROW(in.Seek(-1, plat::soBeginning), plat::EStreamError);
}

TEST(FileStream, ShortReadBufferRaisesReadError)
{
    TempDir dir;
    const std::string name = dir.File("short.bin");
    WriteWholeFile(name, "abc");
    plat::TFileStream in(name, plat::fmOpenRead);
    char buffer[4];
    const std::string message = MessageOf<plat::EReadError>([&] { in.ReadBuffer(buffer, 4); });
    EXPECT_NE(message.find(name), std::string::npos) << message;

    plat::TMemoryStream memory;
    EXPECT_THROW(memory.ReadBuffer(buffer, 1), plat::EReadError);
}

TEST(FileStream, WritingToAReadOnlyFileRaisesWriteError)
{
    TempDir dir;
    const std::string name = dir.File("ro.bin");
    WriteWholeFile(name, "abc");
    plat::TFileStream in(name, plat::fmOpenRead);
    EXPECT_THROW(in.WriteBuffer("x", 1), plat::EWriteError);
}

TEST(FileStream, FullDiskRaisesWriteErrorForEveryStreamKind)
{
    if (!std::filesystem::exists("/dev/full")) {
        GTEST_SKIP() << "/dev/full is missing";
    }
    const std::string block(4096, 'x');
    plat::TFileStream plain("/dev/full", plat::fmOpenWrite);
    const std::string message = MessageOf<plat::EWriteError>([&] { plain.Write(block.data(), 4096); });
    EXPECT_NE(message.find("/dev/full"), std::string::npos) << message;
    EXPECT_NE(message.find("No space left"), std::string::npos) << message;

    // A buffered stream reports it when the buffer goes out, never silently.
    plat::TBufferedFileStream buffered("/dev/full", plat::fmOpenWrite, 8192);
    buffered.WriteBuffer(block.data(), 4096);
    EXPECT_THROW(buffered.Flush(), plat::EWriteError);
    EXPECT_THROW(buffered.WriteBuffer(Pattern(20000).data(), 20000), plat::EWriteError);
}

TEST(BufferedFileStream, SequentialReadsMatchTheFileAcrossBlockEdges)
{
    TempDir dir;
    const std::string name = dir.File("card.dat");
    const std::string content = Pattern(3 * 1536 * 1000 + 700);
    WriteWholeFile(name, content);

    plat::TBufferedFileStream in(name, plat::fmOpenRead);
    std::string read;
    char cluster[1536];
    std::int64_t got = 0;
    while ((got = in.Read(cluster, sizeof cluster)) == static_cast<std::int64_t>(sizeof cluster)) {
        read.append(cluster, sizeof cluster);
    }
    read.append(cluster, static_cast<std::size_t>(got));
    EXPECT_EQ(got, 700);
    EXPECT_EQ(read, content);
    EXPECT_EQ(in.Position(), static_cast<std::int64_t>(content.size()));
}

TEST(BufferedFileStream, ReadsAheadInBlocksOfOneMebibyte)
{
    // The first cluster read fetches a whole block: a change made to the file
    // afterwards shows only beyond the block's end.
    TempDir dir;
    const std::string name = dir.File("card.dat");
    constexpr std::int64_t kBlock = 1 << 20;
    WriteWholeFile(name, std::string(3 * kBlock, 'a'));
    plat::TBufferedFileStream in(name, plat::fmOpenRead);
    char cluster[1536];
    in.ReadBuffer(cluster, sizeof cluster);
    {
        plat::TFileStream change(name, plat::fmOpenReadWrite);
        change.Seek(kBlock - 1, plat::soBeginning);
        change.WriteBuffer("bb", 2);
    }
    std::string seen;
    while (in.Position() < kBlock + 1536) {
        in.ReadBuffer(cluster, sizeof cluster);
        seen.append(cluster, sizeof cluster);
    }
    EXPECT_EQ(seen[kBlock - 1 - 1536], 'a');   // still the bytes of the first block
    EXPECT_EQ(seen[kBlock - 1536], 'b');       // read with the second block
}

TEST(BufferedFileStream, SeeksLargeReadsAndSizeStayConsistent)
{
    TempDir dir;
    const std::string name = dir.File("mixed.bin");
    const std::string content = Pattern(100000);
    WriteWholeFile(name, content);

    plat::TBufferedFileStream in(name, plat::fmOpenRead, 4096);
    std::string part(10, '\0');
    in.Seek(50000, plat::soBeginning);
    in.ReadBuffer(part.data(), 10);
    EXPECT_EQ(part, content.substr(50000, 10));
    in.Seek(-5, plat::soCurrent);   // back inside the buffer
    in.ReadBuffer(part.data(), 10);
    EXPECT_EQ(part, content.substr(50005, 10));

    std::string large(30000, '\0');   // larger than the buffer: read directly
    in.ReadBuffer(large.data(), 30000);
    EXPECT_EQ(large, content.substr(50015, 30000));
    EXPECT_EQ(in.Size(), 100000);
    EXPECT_EQ(in.Position(), 80015);
}

TEST(BufferedFileStream, WritesAndReadsInterleaveAndPatchesLand)
{
    TempDir dir;
    const std::string name = dir.File("out.bin");
    {
        plat::TBufferedFileStream out(name, plat::fmCreate, 4096);
        const std::string body = Pattern(10000);
        out.WriteBuffer("HEAD", 4);
        out.WriteBuffer(body.data(), 10000);
        EXPECT_EQ(out.Size(), 10004);   // pending bytes count towards the size
        out.Seek(0, plat::soBeginning);  // go back and patch the header
        out.WriteBuffer("head", 4);
        char check[4];
        out.ReadBuffer(check, 4);       // reading after a write sees the written bytes
        EXPECT_EQ(std::string(check, 4), body.substr(0, 4));
        out.Seek(0, plat::soEnd);
        out.WriteBuffer("TAIL", 4);
        out.Flush();
    }
    const std::string written = ReadWholeFile(name);
    EXPECT_EQ(written, "head" + Pattern(10000) + "TAIL");
}

TEST(BufferedFileStream, DestructorWritesWhatIsPendingAndSetSizeCuts)
{
    TempDir dir;
    const std::string name = dir.File("pending.bin");
    {
        plat::TBufferedFileStream out(name, plat::fmCreate);
        out.WriteBuffer("abcdef", 6);
    }
    EXPECT_EQ(ReadWholeFile(name), "abcdef");

    plat::TBufferedFileStream stream(name, plat::fmOpenReadWrite);
    stream.Seek(0, plat::soEnd);
    stream.WriteBuffer("gh", 2);
    stream.SetSize(3);
    EXPECT_EQ(stream.Size(), 3);
    EXPECT_EQ(stream.Position(), 3);
    stream.Flush();
    EXPECT_EQ(ReadWholeFile(name), "abc");
}

TEST(MemoryStream, GrowsInAllocationStepsAndKeepsContent)
{
    plat::TMemoryStream memory;
    memory.SetSize(1000);
    EXPECT_EQ(memory.Capacity(), 8192);
    EXPECT_EQ(memory.Size(), 1000);
    memory.SetPosition(0);
    const std::string bytes = Pattern(8190);
    memory.WriteBuffer(bytes.data(), 8190);
    EXPECT_EQ(memory.Capacity(), 8192);
    memory.WriteBuffer("0123", 4);   // runs past: the next multiple of the step
    EXPECT_EQ(memory.Capacity(), 16384);
    EXPECT_EQ(memory.Size(), 8194);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(memory.Memory()), 8194), bytes + "0123");

    memory.Seek(10, plat::soEnd);   // a write beyond the end fills the gap with zeros
    memory.WriteBuffer("x", 1);
    EXPECT_EQ(memory.Size(), 8205);
    EXPECT_EQ(memory.Memory()[8194], 0);
    EXPECT_EQ(memory.Memory()[8203], 0);

    memory.SetSize(5);
    EXPECT_EQ(memory.Position(), 5);
    memory.Clear();
    EXPECT_EQ(memory.Size(), 0);
    EXPECT_EQ(memory.Capacity(), 0);
    EXPECT_EQ(memory.Memory(), nullptr);
}

TEST(MemoryStream, CopyFromLoadAndSave)
{
    TempDir dir;
    const std::string content = Pattern(3000000);
    WriteWholeFile(dir.File("in.bin"), content);

    plat::TMemoryStream loaded;
    loaded.LoadFromFile(dir.File("in.bin"));
    EXPECT_EQ(loaded.Position(), 0);
    EXPECT_EQ(loaded.Size(), 3000000);

    // Copy a middle stretch into a memory stream, then a whole stream out to a file.
    plat::TMemoryStream part;
    loaded.SetPosition(1000);
    EXPECT_EQ(part.CopyFrom(loaded, 2500000), 2500000);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(part.Memory()), 2500000), content.substr(1000, 2500000));
    EXPECT_THROW(part.CopyFrom(loaded, 600000), plat::EReadError);   // only 499000 bytes are left

    {
        plat::TFileStream out(dir.File("copy.bin"), plat::fmCreate);
        EXPECT_EQ(out.CopyFrom(loaded, 0), 3000000);   // 0: the whole source from its start
    }
    EXPECT_EQ(ReadWholeFile(dir.File("copy.bin")), content);

    part.SaveToFile(dir.File("part.bin"));
    EXPECT_EQ(ReadWholeFile(dir.File("part.bin")), content.substr(1000, 2500000));
}

} // namespace
