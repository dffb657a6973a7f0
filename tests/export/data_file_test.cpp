// Block file writer and reader: bytes of the stream checked with the separate
// test-side reader, write-beside-and-rename, payload limits, reading back.
#include "export/data_file.h"

#include "foundations/settings.h"
#include "platform/atomic_file.h"
#include "platform/streams.h"
#include "tests/export/block_file_reader.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cmath>
#include <filesystem>
#include <functional>
#include <limits>
#include <sys/resource.h>

namespace {

using qel::TDataFile;
using qeltest::BlockFileContent;
using qeltest::ReadBlockFile;
using Bytes = std::vector<std::uint8_t>;

Bytes HeaderBlockBytes()
{
    return {0x00, 0x00, 0x0F, 0x00, 0x09, 0x00, 'T', 'O', 'R', 'V', 'A', 'N', 'D', 'I', 'X', 0x01, 0x00, 0x00, 0x00};
}

std::vector<std::string> FolderEntries(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

TEST(DataFileWrite, NewFileHoldsOnlyTheHeaderBlockInOneLevelOneZlibStream)
{
    qeltest::TempDir dir;
    const std::string name = dir.File("a.qel");
    TDataFile::CreateSave(name)->Complete()->Commit();

    const BlockFileContent content = ReadBlockFile(name);
    ASSERT_GE(content.raw.size(), 2u);
    EXPECT_EQ(static_cast<std::uint8_t>(content.raw[0]), 0x78);
    EXPECT_EQ(static_cast<std::uint8_t>(content.raw[1]), 0x01) << "zlib header of compression level 1";
    EXPECT_TRUE(content.streamComplete);
    EXPECT_EQ(content.inflated, HeaderBlockBytes());
}

TEST(DataFileWrite, AppendOperationsGiveTheirLittleEndianBytes)
{
    struct Case {
        const char* what;
        std::function<void(TDataFile&)> write;
        Bytes expected;
    };
    const std::vector<Case> cases = {
        {"Longint -2", [](TDataFile& f) { f.WriteLongint(-2); }, {0xFE, 0xFF, 0xFF, 0xFF}},
        {"Longint 0x01020304", [](TDataFile& f) { f.WriteLongint(0x01020304); }, {0x04, 0x03, 0x02, 0x01}},
        {"Smallint -2", [](TDataFile& f) { f.WriteSmallint(-2); }, {0xFE, 0xFF}},
        {"Word 0x1234", [](TDataFile& f) { f.WriteWord(0x1234); }, {0x34, 0x12}},
        {"Single 1.0", [](TDataFile& f) { f.WriteSingle(1.0f); }, {0x00, 0x00, 0x80, 0x3F}},
        {"Double -2.0", [](TDataFile& f) { f.WriteDouble(-2.0); }, {0, 0, 0, 0, 0, 0, 0x00, 0xC0}},
        {"Extended 1.0", [](TDataFile& f) { f.WriteExtended(1.0); }, {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}},
        {"empty string", [](TDataFile& f) { f.WriteString(""); }, {0x00, 0x00}},
        {"degree Celsius", [](TDataFile& f) { f.WriteString("°C"); }, {0x02, 0x00, 0xB0, 0x43}},
        {"euro sign", [](TDataFile& f) { f.WriteString("€1"); }, {0x02, 0x00, 0x80, '1'}},
        {"character without a code-page byte", [](TDataFile& f) { f.WriteString("a日"); }, {0x02, 0x00, 'a', '?'}},
        {"bytes as they are", [](TDataFile& f) { f.WriteBytes(Bytes{0xC3, 0x00}); }, {0xC3, 0x00}},
    };
    qeltest::TempDir dir;
    const std::string name = dir.File("primitives.qel");
    {
        auto file = TDataFile::CreateSave(name);
        for (const Case& c : cases) {
            file->NewBlock(9);
            c.write(*file);
            file->WriteBlock();
        }
        file->Complete()->Commit();
    }
    const BlockFileContent content = ReadBlockFile(name);
    ASSERT_TRUE(content.walkComplete);
    ASSERT_EQ(content.blocks.size(), cases.size() + 1);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(content.blocks[i + 1].type, 9) << cases[i].what;
        EXPECT_EQ(content.blocks[i + 1].payload, cases[i].expected) << cases[i].what;
    }
}

TEST(DataFileWrite, EmptyAndDiscardedBlocksWriteNothing)
{
    qeltest::TempDir dir;
    const std::string name = dir.File("empty.qel");
    {
        auto file = TDataFile::CreateSave(name);
        file->NewBlock(8);
        file->WriteBlock(); // nothing appended
        file->NewBlock(11);
        file->WriteWord(7);
        EXPECT_EQ(file->BufferSize(), 2);
        file->NewBlock(12); // drops the unwritten payload of block 11
        EXPECT_EQ(file->BufferSize(), 0);
        file->WriteWord(5);
        file->WriteBlock();
        file->WriteBlock(); // the buffer is empty after a write
        file->Complete()->Commit();
    }
    const BlockFileContent content = ReadBlockFile(name);
    EXPECT_EQ(qeltest::BlockTypes(content), (std::vector<std::uint16_t>{0, 12}));
    EXPECT_EQ(content.blocks[1].payload, (Bytes{5, 0}));
}

TEST(DataFileWrite, PayloadLengthFieldHoldsTheWholeSize)
{
    qeltest::TempDir dir;
    const std::string name = dir.File("sizes.qel");
    {
        auto file = TDataFile::CreateSave(name);
        for (const std::int64_t size : {10004, 65535}) {
            file->NewBlock(8);
            for (std::int64_t i = 0; i < size; ++i) {
                file->WriteBytes(Bytes{static_cast<std::uint8_t>(i)});
            }
            file->WriteBlock();
        }
        file->Complete()->Commit();
    }
    const BlockFileContent content = ReadBlockFile(name);
    ASSERT_EQ(content.blocks.size(), 3u);
    EXPECT_EQ(content.inflated[19 + 2], 0x14);
    EXPECT_EQ(content.inflated[19 + 3], 0x27) << "10,004 is 0x2714";
    EXPECT_EQ(content.blocks[1].payload.size(), 10004u);
    EXPECT_EQ(content.blocks[2].payload.size(), 65535u);
    EXPECT_EQ(content.blocks[2].payload[65534], static_cast<std::uint8_t>(65534));
    EXPECT_TRUE(content.walkComplete);
}

TEST(DataFileWrite, OversizedPayloadOrStringIsAnErrorNotATruncation)
{
    qeltest::TempDir dir;
    const std::string name = dir.File("big.qel");
    auto file = TDataFile::CreateSave(name);
    file->NewBlock(8);
    file->WriteBytes(Bytes(65536, 1));
    EXPECT_THROW(file->WriteBlock(), plat::EWriteError);

    file->NewBlock(3);
    EXPECT_THROW(file->WriteString(std::string(65536, 'x')), plat::EWriteError);
    EXPECT_EQ(file->BufferSize(), 0) << "nothing of the refused string is appended";
    file->WriteString(std::string(65533, 'x')); // with its length word the largest payload
    file->WriteBlock();
    file->Complete()->Commit();

    const BlockFileContent content = ReadBlockFile(name);
    EXPECT_EQ(qeltest::BlockTypes(content), (std::vector<std::uint16_t>{0, 3}));
    EXPECT_EQ(content.blocks[1].payload.size(), 65535u) << "the refused block left no trace";
}

// Bytes that do not compress, from a small generator.
Bytes NoiseBytes(std::size_t count, std::uint32_t seed)
{
    Bytes bytes(count);
    for (std::uint8_t& byte : bytes) {
        seed = seed * 1664525u + 1013904223u;
        byte = static_cast<std::uint8_t>(seed >> 24);
    }
    return bytes;
}

TEST(DataFileWrite, ManyBlocksKeepTheirOrderAndBytes)
{
    qeltest::TempDir dir;
    const std::string name = dir.File("many.qel");
    Bytes expected = HeaderBlockBytes();
    {
        auto file = TDataFile::CreateSave(name);
        for (std::uint32_t i = 0; i < 300; ++i) { // several megabytes: many chunks for the compressor
            // Noise, and text that refers back across the compressor's chunks.
            Bytes payload = NoiseBytes(10000 + i, i);
            if (i % 2 == 0) {
                for (std::size_t j = 0; j < payload.size(); ++j) {
                    payload[j] = static_cast<std::uint8_t>('a' + (j * 7 + i / 64) % 26);
                }
            }
            file->NewBlock(static_cast<std::uint16_t>(i));
            file->WriteBytes(payload);
            file->WriteBlock();
            const std::uint16_t head[2] = {static_cast<std::uint16_t>(i), static_cast<std::uint16_t>(payload.size())};
            const auto* headBytes = reinterpret_cast<const std::uint8_t*>(head);
            expected.insert(expected.end(), headBytes, headBytes + sizeof head);
            expected.insert(expected.end(), payload.begin(), payload.end());
        }
        file->Complete()->Commit();
    }
    const BlockFileContent content = ReadBlockFile(name);
    EXPECT_TRUE(content.streamComplete);
    EXPECT_TRUE(content.inflated == expected) << "the uncompressed stream differs";
}

TEST(DataFileWrite, WriteErrorOfTheCompressorReachesTheWriter)
{
    qeltest::TempDir dir;
    const std::string name = dir.File("full.qel");
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved;
    limit.rlim_cur = 200000; // a disk that is full after 200 kB
    setrlimit(RLIMIT_FSIZE, &limit);
    const auto writeMegabytes = [&] {
        auto file = TDataFile::CreateSave(name);
        for (std::uint32_t i = 0; i < 400; ++i) {
            file->NewBlock(8);
            file->WriteBytes(NoiseBytes(10000, i));
            file->WriteBlock();
        }
        file->Complete()->Commit();
    };
    EXPECT_THROW(writeMegabytes(), plat::EWriteError);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_TRUE(FolderEntries(dir.Path()).empty()) << "nothing of the failed file stays";
}

TEST(DataFileWrite, UncommittedFileLeavesTheExistingTargetAndNoLitter)
{
    qeltest::TempDir dir;
    const std::string name = dir.File("keep.qel");
    qeltest::WriteWholeFile(name, "the user's earlier file");
    {
        auto file = TDataFile::CreateSave(name);
        file->NewBlock(8);
        file->WriteDouble(1.0);
        file->WriteBlock();
        EXPECT_EQ(qeltest::ReadWholeFile(name), "the user's earlier file") << "nothing replaces it before the commit";
    } // destroyed without Commit, as after an error or a cancelled save
    EXPECT_EQ(qeltest::ReadWholeFile(name), "the user's earlier file");
    EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"keep.qel"});

    TDataFile::CreateSave(name)->Complete()->Commit();
    EXPECT_EQ(ReadBlockFile(name).inflated, HeaderBlockBytes()) << "a commit replaces it";
    EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"keep.qel"});
}

TEST(DataFileWrite, UncreatableFileRaisesTheFileCreationError)
{
    qeltest::TempDir dir;
    EXPECT_THROW(TDataFile::CreateSave(dir.File("missing/a.qel")), plat::EFCreateError);
    EXPECT_THROW(TDataFile::CreateSave(dir.Path().string()), plat::EFCreateError);
}

TEST(DataFileWrite, NothingIsWrittenAfterTheCommit)
{
    qeltest::TempDir dir;
    auto file = TDataFile::CreateSave(dir.File("done.qel"));
    file->Complete()->Commit();
    file->NewBlock(8);
    file->WriteWord(1);
    EXPECT_THROW(file->WriteBlock(), plat::EWriteError);
    EXPECT_THROW(file->Complete(), plat::EWriteError);
}

// Read side.

std::string WriteSampleFile(const qeltest::TempDir& dir)
{
    const std::string name = dir.File("sample.qel");
    auto file = TDataFile::CreateSave(name);
    file->NewBlock(6);
    file->WriteString("Temp");
    file->WriteString("");
    file->WriteString("°C");
    file->WriteBlock();
    file->NewBlock(8);
    file->WriteDouble(0.5);
    file->WriteSingle(-1.5f);
    file->WriteLongint(-7);
    file->WriteSmallint(-3);
    file->WriteWord(65535);
    file->WriteExtended(-2.5);
    file->WriteBlock();
    file->Complete()->Commit();
    return name;
}

TEST(DataFileRead, ReadsBackWhatWasWritten)
{
    qeltest::TempDir dir;
    auto file = TDataFile::CreateLoad(WriteSampleFile(dir));
    ASSERT_TRUE(file->IsLoadOk());
    ASSERT_TRUE(file->ReadBlock());
    EXPECT_EQ(file->BlockType(), 6);
    EXPECT_EQ(file->ReadString(), "Temp");
    EXPECT_EQ(file->ReadString(), " ") << "a stored empty string reads as one blank";
    EXPECT_EQ(file->ReadString(), "°C");
    ASSERT_TRUE(file->ReadBlock());
    EXPECT_EQ(file->BlockType(), 8);
    EXPECT_EQ(file->ReadDouble(), 0.5);
    EXPECT_EQ(file->ReadSingle(), -1.5f);
    EXPECT_EQ(file->ReadLongint(), -7);
    EXPECT_EQ(file->ReadSmallint(), -3);
    EXPECT_EQ(file->ReadWord(), 65535);
    EXPECT_EQ(file->ReadExtended(), -2.5);
    EXPECT_EQ(file->BufferPosition(), file->BufferSize());
    EXPECT_THROW(file->ReadWord(), plat::EReadError) << "reading past the block is an error";
    EXPECT_FALSE(file->ReadBlock()) << "end of the stream";
    EXPECT_FALSE(file->ReadBlock());
}

TEST(DataFileRead, ExtendedValuesRoundTrip)
{
    const double values[] = {0.0, 1.0, -2.5, 1e300, -1e-300, 4.9e-324, 2.2250738585072014e-308 / 3,
                             std::numeric_limits<double>::infinity()};
    qeltest::TempDir dir;
    const std::string name = dir.File("ext.qel");
    {
        auto file = TDataFile::CreateSave(name);
        file->NewBlock(1);
        for (const double v : values) {
            file->WriteExtended(v);
        }
        file->WriteExtended(std::nan(""));
        file->WriteBlock();
        file->Complete()->Commit();
    }
    auto file = TDataFile::CreateLoad(name);
    ASSERT_TRUE(file->IsLoadOk());
    ASSERT_TRUE(file->ReadBlock());
    for (const double v : values) {
        EXPECT_EQ(file->ReadExtended(), v) << v;
    }
    EXPECT_TRUE(std::isnan(file->ReadExtended()));
}

TEST(DataFileRead, HeaderCheckAcceptsTheMagicOnly)
{
    struct Case {
        const char* what;
        std::uint16_t type;
        std::string magic;
        int intern;
        bool ok;
    };
    const std::vector<Case> cases = {
        {"the magic", 0, "TORVANDIX", 0, true},
        {"another type", 1, "TORVANDIX", 0, false},
        {"another text", 0, "TORVANDIY", 0, false},
        {"internal magic outside the internal mode", 0, "VELSTRADO", 0, false},
        {"internal magic in the internal mode", 0, "VELSTRADO", qel::INTERN_MODE_CODE, true},
        {"a shorter payload", 0, "TORVANDI", 0, false},
    };
    qeltest::TempDir dir;
    const std::string name = dir.File("h.qel");
    const qel::TRegSettings saved = qel::RegSettings;
    for (const Case& c : cases) {
        std::string text;
        text += static_cast<char>(c.type);
        text += '\0';
        text += static_cast<char>(2 + c.magic.size() + 4);
        text += '\0';
        text += static_cast<char>(c.magic.size());
        text += '\0';
        text += c.magic;
        text += std::string("\x01\0\0\0", 4);
        const Bytes stream(text.begin(), text.end());
        qeltest::WriteWholeFile(name, qeltest::ZlibCompress(stream));
        qel::RegSettings.iRegIntern = c.intern;
        EXPECT_EQ(TDataFile::CreateLoad(name)->IsLoadOk(), c.ok) << c.what;
    }
    qel::RegSettings = saved;
}

TEST(DataFileRead, DamagedFilesEndTheReadWithoutACrash)
{
    qeltest::TempDir dir;
    const std::string good = qeltest::ReadWholeFile(WriteSampleFile(dir));
    const std::string name = dir.File("damaged.qel");

    qeltest::WriteWholeFile(name, "not a zlib stream at all");
    EXPECT_FALSE(TDataFile::CreateLoad(name)->IsLoadOk());

    qeltest::WriteWholeFile(name, "");
    EXPECT_FALSE(TDataFile::CreateLoad(name)->IsLoadOk());

    for (std::size_t cut = 0; cut < good.size(); cut += 3) {
        qeltest::WriteWholeFile(name, good.substr(0, cut));
        auto file = TDataFile::CreateLoad(name);
        int blocks = 0;
        while (file->ReadBlock() && blocks < 10) {
            ++blocks;
        }
        EXPECT_LE(blocks, 3) << "cut at " << cut;
    }
    EXPECT_THROW(TDataFile::CreateLoad(dir.File("absent.qel")), plat::EFOpenError);
}

TEST(DataFileRead, BlocksCopyAndTravelThroughAStream)
{
    qeltest::TempDir dir;
    auto source = TDataFile::CreateLoad(WriteSampleFile(dir));
    ASSERT_TRUE(source->IsLoadOk());
    ASSERT_TRUE(source->ReadBlock());

    const std::string name = dir.File("copy.qel");
    auto target = TDataFile::CreateSave(name);
    target->CopyBlock(*source);
    EXPECT_EQ(target->BlockType(), 6);
    EXPECT_EQ(target->BufferSize(), source->BufferSize());

    plat::TMemoryStream stream;
    target->storeBufStream(stream);
    EXPECT_EQ(stream.Size(), 8 + source->BufferSize());
    EXPECT_EQ(stream.Memory()[0], 6);
    EXPECT_EQ(stream.Memory()[4], source->BufferSize());

    target->NewBlock(0);
    target->storeBufStream(stream); // an empty payload stores nothing
    EXPECT_EQ(stream.Size(), 8 + source->BufferSize());

    stream.SetPosition(0);
    ASSERT_TRUE(target->restoreBufStream(stream));
    EXPECT_EQ(target->BlockType(), 6);
    EXPECT_EQ(target->ReadString(), "Temp");
    EXPECT_FALSE(target->restoreBufStream(stream)) << "nothing left";

    plat::TMemoryStream cut;
    cut.Write(stream.Memory(), 10); // promises more bytes than follow
    cut.SetPosition(0);
    EXPECT_FALSE(target->restoreBufStream(cut));

    target->WriteBlock();
    target->Complete()->Commit();
    EXPECT_EQ(qeltest::BlockTypes(ReadBlockFile(name)), (std::vector<std::uint16_t>{0, 6}));
}

} // namespace
