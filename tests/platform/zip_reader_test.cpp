// The zip reader on archives of our writer (plain and Zip64), on a stored
// archive built here byte by byte, and on archives damaged one field at a
// time: every fault is refused with a message that names it.
#include "platform/zip_reader.h"
#include "platform/zip_writer.h"

#include "tests/support/temp_dir.h"
#include "tests/support/zip_test_archives.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <zlib.h>

namespace {

using qeltest::MixedEntries;
using qeltest::ReadWholeFile;
using qeltest::Repetitive;
using qeltest::TZipEntryData;
using qeltest::TempDir;
using qeltest::WriteWholeFile;

// The mixed entries and a second entry of an earlier name.
std::vector<TZipEntryData> EntriesWithARepeatedName()
{
    std::vector<TZipEntryData> entries = MixedEntries();
    entries.push_back({"File", "a second entry of the same name"});
    return entries;
}

std::string ReadEntry(plat::TZipReader& reader, int index)
{
    plat::TMemoryStream stream;
    stream.WriteBuffer("old", 3);
    reader.Read(index, stream);
    EXPECT_EQ(stream.Position(), 0);
    return std::string(reinterpret_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
}

TEST(ZipReader, ReadsBackWhatTheWriterWroteWithAndWithoutZip64)
{
    const std::vector<TZipEntryData> entries = EntriesWithARepeatedName();
    for (const std::uint64_t threshold : {std::uint64_t{0xFFFFFFFF}, std::uint64_t{1}}) {
        SCOPED_TRACE("Zip64 threshold " + std::to_string(threshold));
        TempDir dir;
        const std::string path = dir.File("mixed.qrec");
        qeltest::WriteArchive(path, entries, 2, threshold);
        plat::TZipReader reader(path);
        ASSERT_EQ(reader.Count(), static_cast<int>(entries.size()));
        for (int i = 0; i < reader.Count(); ++i) {
            EXPECT_EQ(reader.Entry(i).Name, entries[static_cast<std::size_t>(i)].Name);
            EXPECT_EQ(reader.Entry(i).Method, 8);
            EXPECT_TRUE(ReadEntry(reader, i) == entries[static_cast<std::size_t>(i)].Data) << entries[i].Name;
        }
        EXPECT_EQ(reader.IndexOf("File"), 0) << "the first entry of a name";
        EXPECT_EQ(reader.IndexOf("noise"), 4);
        EXPECT_EQ(reader.IndexOf("file"), -1) << "names match byte for byte";
        EXPECT_EQ(reader.IndexOf("CHANNELS/CHANNEL_0/ChData_0"), -1);
        EXPECT_THROW(reader.Entry(8), std::out_of_range);
    }
}

// Little-endian fields for the archive built by hand.
std::string Le(std::uint64_t value, int bytes)
{
    std::string out;
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>(i < 8 ? value >> (8 * i) : 0);
    }
    return out;
}

// Stored entries, a data descriptor flag and an archive comment: the reader
// takes sizes from the directory and finds the end record before the comment.
TEST(ZipReader, ReadsAStoredArchiveWithACommentBuiltByHand)
{
    const std::vector<TZipEntryData> entries = {{"a.txt", "stored text"}, {"b", ""}};
    std::string body;
    std::string directory;
    for (const TZipEntryData& entry : entries) {
        const auto crc = static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(entry.Data.data()),
                                                          static_cast<uInt>(entry.Data.size())));
        const std::string sizes = Le(crc, 4) + Le(entry.Data.size(), 4) + Le(entry.Data.size(), 4);
        directory += Le(0x02014B50, 4) + Le(20, 2) + Le(20, 2) + Le(0, 2) + Le(0, 2) + Le(0, 4) + sizes +
                     Le(entry.Name.size(), 2) + Le(0, 2) + Le(0, 2) + Le(0, 2) + Le(0, 2) + Le(0, 4) +
                     Le(body.size(), 4) + entry.Name;
        // The local header leaves sizes and CRC to a descriptor, as streaming writers do.
        body += Le(0x04034B50, 4) + Le(20, 2) + Le(8, 2) + Le(0, 2) + Le(0, 4) + Le(0, 12) +
                Le(entry.Name.size(), 2) + Le(0, 2) + entry.Name + entry.Data + Le(0x08074B50, 4) + sizes;
    }
    const std::string comment = "made by hand";
    const std::string archive = body + directory + Le(0x06054B50, 4) + Le(0, 4) + Le(2, 2) + Le(2, 2) +
                                Le(directory.size(), 4) + Le(body.size(), 4) + Le(comment.size(), 2) + comment;
    TempDir dir;
    WriteWholeFile(dir.File("stored.zip"), archive);
    plat::TZipReader reader(dir.File("stored.zip"));
    ASSERT_EQ(reader.Count(), 2);
    EXPECT_EQ(reader.Entry(0).Method, 0);
    EXPECT_EQ(ReadEntry(reader, 0), "stored text");
    EXPECT_EQ(ReadEntry(reader, 1), "");
}

// A valid archive's bytes and where its records are, to damage one field.
struct TArchiveImage {
    std::string Bytes;
    std::size_t End = 0;         // end record
    std::size_t Directory = 0;   // first central header
};

TArchiveImage ValidImage(const TempDir& dir)
{
    const std::string path = dir.File("valid.zip");
    qeltest::WriteArchive(path, {{"A", Repetitive(5000)}, {"B", "second"}}, 2);
    TArchiveImage image;
    image.Bytes = ReadWholeFile(path);
    image.End = image.Bytes.size() - 22;
    image.Directory = static_cast<unsigned char>(image.Bytes[image.End + 16]) |
                      static_cast<unsigned char>(image.Bytes[image.End + 17]) << 8 |
                      static_cast<unsigned char>(image.Bytes[image.End + 18]) << 16;
    return image;
}

void Put(std::string& bytes, std::size_t at, std::uint64_t value, int size)
{
    bytes.replace(at, static_cast<std::size_t>(size), Le(value, size));
}

TEST(ZipReader, DamagedArchivesAreRefusedWithTheirFault)
{
    enum TWhen { AtOpen, AtRead };
    const struct {
        const char* Name;
        TWhen When;
        std::function<void(TArchiveImage&)> Damage;
        const char* Fault;
    } cases[] = {
        {"cut to 10 bytes", AtOpen, [](TArchiveImage& a) { a.Bytes.resize(10); }, "too short"},
        {"end record gone", AtOpen, [](TArchiveImage& a) { a.Bytes.resize(a.End); }, "end of central directory"},
        {"several disks", AtOpen, [](TArchiveImage& a) { Put(a.Bytes, a.End + 4, 1, 2); }, "several disks"},
        {"directory beyond the file", AtOpen, [](TArchiveImage& a) { Put(a.Bytes, a.End + 16, 0x7FFFFF00, 4); },
         "central directory lies outside"},
        {"more entries than the directory holds", AtOpen, [](TArchiveImage& a) { Put(a.Bytes, a.End + 10, 9, 2); },
         "shorter than its entry count"},
        {"central header signature", AtOpen, [](TArchiveImage& a) { a.Bytes[a.Directory] = 'X'; },
         "no header signature"},
        {"name running past the directory", AtOpen,
         [](TArchiveImage& a) { Put(a.Bytes, a.Directory + 28, 0xFFFF, 2); }, "ends inside an entry"},
        {"local header beyond the entries", AtOpen,
         [](TArchiveImage& a) { Put(a.Bytes, a.Directory + 42, a.Directory, 4); }, "points outside"},
        {"Zip64 field missing", AtOpen, [](TArchiveImage& a) { Put(a.Bytes, a.Directory + 24, 0xFFFFFFFF, 4); },
         "Zip64 field"},
        {"local header signature", AtRead, [](TArchiveImage& a) { a.Bytes[0] = 'X'; }, "local header is missing"},
        {"compressed bytes", AtRead, [](TArchiveImage& a) { a.Bytes[35] = static_cast<char>(~a.Bytes[35]); },
         "is damaged"},
        {"CRC-32", AtRead, [](TArchiveImage& a) { a.Bytes[a.Directory + 16] ^= 1; }, "CRC-32 does not match"},
        {"size too large", AtRead, [](TArchiveImage& a) { Put(a.Bytes, a.Directory + 24, 5001, 4); },
         "fewer bytes than the directory says"},
        {"size too small", AtRead, [](TArchiveImage& a) { Put(a.Bytes, a.Directory + 24, 4999, 4); },
         "more bytes than the directory says"},
        {"size beyond any compression", AtRead, [](TArchiveImage& a) { Put(a.Bytes, a.Directory + 24, 0x7FFFFFFF, 4); },
         "sizes do not fit"},
        {"compressed size into the directory", AtRead,
         [](TArchiveImage& a) { Put(a.Bytes, a.Directory + 20, a.Directory, 4); }, "runs past"},
        {"compressed data cut short", AtRead,
         [](TArchiveImage& a) {
             const auto packed = static_cast<unsigned char>(a.Bytes[a.Directory + 20]) |
                                 static_cast<unsigned char>(a.Bytes[a.Directory + 21]) << 8;
             Put(a.Bytes, a.Directory + 20, static_cast<std::uint64_t>(packed) / 2, 4);
         },
         "end too early"},
        {"method", AtRead, [](TArchiveImage& a) { Put(a.Bytes, a.Directory + 10, 12, 2); }, "method 12"},
        {"encrypted", AtRead, [](TArchiveImage& a) { Put(a.Bytes, a.Directory + 8, 1, 2); }, "encrypted"},
    };
    TempDir dir;
    const TArchiveImage valid = ValidImage(dir);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TArchiveImage image = valid;
        c.Damage(image);
        const std::string path = dir.File("damaged.zip");
        WriteWholeFile(path, image.Bytes);
        try {
            plat::TZipReader reader(path);
            ASSERT_EQ(c.When, AtRead) << "opened";
            EXPECT_EQ(ReadEntry(reader, 1), "second") << "the other entry still reads";
            ReadEntry(reader, 0);
            ADD_FAILURE() << "read";
        } catch (const plat::EZipFormatError& error) {
            const std::string message = error.what();
            EXPECT_NE(message.find(c.Fault), std::string::npos) << message;
            EXPECT_NE(message.find(path), std::string::npos) << message;
            if (c.When == AtRead) {
                EXPECT_NE(message.find("entry \"A\""), std::string::npos) << message;
            }
        }
    }
}

TEST(ZipReader, OnlyRegularFilesOpen)
{
    TempDir dir;
    EXPECT_THROW(plat::TZipReader(dir.File("missing.zip")), plat::EFOpenError);
    EXPECT_THROW(plat::TZipReader(dir.Path().string()), plat::EFOpenError);
}

TEST(ZipFile, ReadModeOpensFindsAndReadsEntries)
{
    TempDir dir;
    const std::string path = dir.File("mixed.qrec");
    const std::vector<TZipEntryData> entries = MixedEntries();
    qeltest::WriteArchive(path, entries, 2);
    plat::TZipFile zip;
    zip.Open(path, plat::zmRead);
    EXPECT_TRUE(zip.Active());
    EXPECT_EQ(zip.FileName(), path);
    EXPECT_EQ(zip.EntryCount(), static_cast<std::int64_t>(entries.size()));
    const int index = zip.IndexOf("CHANNELS\\CHANNEL_0\\ChData_0");
    ASSERT_EQ(index, 1);
    EXPECT_EQ(zip.EntryName(index), entries[1].Name);
    plat::TMemoryStream stream;
    zip.Read(index, stream);
    EXPECT_EQ(stream.Size(), 120000);
    EXPECT_THROW(zip.Add("x", 1, "x"), plat::EWriteError) << "an archive read is not written";
    zip.Close();
    EXPECT_FALSE(zip.Active());
    EXPECT_THROW(zip.IndexOf("File"), plat::EReadError);
    EXPECT_EQ(ReadWholeFile(path).size(), std::filesystem::file_size(path)) << "reading leaves the file alone";
}

} // namespace
