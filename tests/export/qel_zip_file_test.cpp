// The container writer's archives read back with the test-side zip reader and
// entry decoders: check values and trailers, pair texts, channel folders,
// data blocks and their index records, entry order, and the standard tools.
#include "export/qel_zip_date_time.h"
#include "export/qel_zip_file.h"

#include "foundations/tick_time.h"
#include "platform/float_checks.h"
#include "platform/known_folders.h"
#include "platform/random.h"
#include "tests/support/qel_zip_entries.h"
#include "tests/support/temp_dir.h"
#include "tests/support/zip_test_reader.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <filesystem>
#include <limits>

namespace {

using qeltest::DecodeIndex;
using qeltest::DecodePairs;
using qeltest::DecodeValues;
using qeltest::ExpectedCheckValue;
using qeltest::PairValue;
using qeltest::TempDir;
using qeltest::TPairs;
using qeltest::TrailerVerifies;
using qeltest::TZipTestReader;

constexpr std::uint8_t kTypes[] = {0x10, 0x20, 0x40, 0x88};

const char* const kProgram = "/opt/qel/reader";

// Every test writes with a known program path and random numbers.
class QelZipFile : public ::testing::Test {
protected:
    QelZipFile() : FRandom({0xFFFFFFFFu, 0x80000000u, 0}), FScopedRandom(FRandom) { plat::SetProgramPath(kProgram); }
    ~QelZipFile() override { plat::SetProgramPath(""); }

    std::string Path(const std::string& name) const { return FDir.File(name); }

    TempDir FDir;

private:
    plat::TScriptedRandomSource FRandom;
    plat::TScopedRandomSource FScopedRandom;
};

std::string Str(const std::string& text)
{
    std::string out;
    out += static_cast<char>(text.size() & 0xFF);
    out += static_cast<char>(text.size() >> 8);
    return out + text;
}

std::string Folder(int n)
{
    return "CHANNELS\\CHANNEL_" + std::to_string(n) + "\\";
}

// The type each entry's trailer must verify with; data blocks carry none.
void ExpectTrailersVerifyOnlyWithTheirType(const TZipTestReader& reader)
{
    for (const auto& entry : reader.Entries()) {
        std::uint8_t own = 0;
        if (entry.Name == "File") {
            own = 0x10;
        } else if (entry.Name.ends_with("ChDesc_0")) {
            own = 0x20;
        } else if (entry.Name.ends_with("ChInfo_0")) {
            own = 0x40;
        } else {
            continue;
        }
        for (std::uint8_t type : kTypes) {
            EXPECT_EQ(TrailerVerifies(entry.Data, type), type == own) << entry.Name << " type " << int(type);
        }
        const std::int32_t random = qeltest::TrailerRandom(entry.Data);
        EXPECT_TRUE(random >= 0 && random <= 999999) << entry.Name;
    }
}

TEST(QelZipCheckValue, MatchesTheSaltedRegisterByteByByte)
{
    // The register after the salt alone (empty content), computed elsewhere.
    const std::pair<std::uint8_t, std::uint32_t> empty[] = {
        {0x10, 0x1DA6A8E1}, {0x20, 0x9A5E20CB}, {0x40, 0x4EDE36DE}, {0x88, 0x0204DF46}};
    for (const auto& [type, expected] : empty) {
        EXPECT_EQ(qel::QelZipCheckValue("", 0, type), expected) << "type " << int(type);
        EXPECT_EQ(ExpectedCheckValue("", type), expected) << "test-side table, type " << int(type);
    }
    const std::string contents[] = {"a", "123456789", std::string(1000, '\xA5'), std::string("\0\x01\x02", 3)};
    for (const std::string& content : contents) {
        for (std::uint8_t type : kTypes) {
            EXPECT_EQ(qel::QelZipCheckValue(content.data(), content.size(), type), ExpectedCheckValue(content, type))
                << content.size() << " bytes, type " << int(type);
        }
    }
    // No final inversion: the register is the complement of the standard CRC of content + salt.
    EXPECT_EQ(qel::QelZipCheckValue("123456789", 9, 0x10),
              ~qeltest::StandardCrc32(std::string("123456789") + "\x10QEL\x10"));
}

TEST_F(QelZipFile, FileEntryIsTheThreePairsAndTrailerByteForByte)
{
    qel::TQelZipWriteFile file;
    ASSERT_TRUE(file.OpenFile(Path("empty.qrec")));
    file.CloseFile();

    const TZipTestReader reader(Path("empty.qrec"));
    ASSERT_EQ(reader.Names(), std::vector<std::string>{"File"});
    const std::string content =
        Str("FileType") + Str("QELZip") + Str("FileRevision") + Str("0") + Str("FileCreator") + Str(kProgram);
    const std::uint32_t check = ExpectedCheckValue(content, 0x10);
    std::string expected = content;
    for (int shift = 0; shift < 32; shift += 8) {
        expected += static_cast<char>(check >> shift);
    }
    expected += std::string("\x3F\x42\x0F\x00", 4);   // 999,999 from the first random number
    EXPECT_EQ(reader.Read("File"), expected);
    ExpectTrailersVerifyOnlyWithTheirType(reader);
}

TEST_F(QelZipFile, ThreeSampleChannelGivesItsBlockIndexAndDescription)
{
    qel::TQelZipWriteFile file;
    file.OpenFile(Path("three.qrec"));
    qel::TQelZipChannel* channel = file.AddChannel(7);
    channel->SetName("Temp=1");
    channel->SetName("ignored");
    channel->SetUnit("");
    channel->SetQelName("Room");
    channel->SetQelModel("QEL629");
    channel->SetQelSN("1234");
    EXPECT_TRUE(file.AddChannelValue(7, 1000, 21.5f));
    EXPECT_TRUE(file.AddChannelValue(7, 2000, -3.25f));
    EXPECT_TRUE(file.AddChannelValue(7, 3000, 40.0f));
    EXPECT_FALSE(file.AddChannelValue(8, 4000, 1.0f)) << "no channel 8";
    file.CloseFile();

    const TZipTestReader reader(Path("three.qrec"));
    const std::string folder = Folder(0);
    ASSERT_EQ(reader.Names(),
              (std::vector<std::string>{"File", folder + "ChData_0", folder + "ChInfo_0", folder + "ChDesc_0"}));

    std::string block;
    for (auto [time, value] : {std::pair{1000LL, 21.5f}, {2000LL, -3.25f}, {3000LL, 40.0f}}) {
        for (int shift = 0; shift < 64; shift += 8) {
            block += static_cast<char>(static_cast<std::uint64_t>(time) >> shift);
        }
        const auto bits = std::bit_cast<std::uint32_t>(value);
        for (int shift = 0; shift < 32; shift += 8) {
            block += static_cast<char>(bits >> shift);
        }
    }
    EXPECT_EQ(reader.Read(folder + "ChData_0"), block) << "raw records, no trailer";

    const std::string index = reader.Read(folder + "ChInfo_0");
    ASSERT_EQ(index.size(), 56u + 8u);
    const auto records = DecodeIndex(index);
    EXPECT_EQ(records[0].ValueNo, 0);
    EXPECT_EQ(records[0].Values, 3);
    EXPECT_EQ(records[0].BlockNo, 0u);
    EXPECT_EQ(records[0].BlockSize, 36u);
    EXPECT_EQ(records[0].Tmin, 1000);
    EXPECT_EQ(records[0].Tmax, 3000);
    EXPECT_EQ(records[0].Ymin, -3.25f);
    EXPECT_EQ(records[0].Ymax, 40.0f);
    EXPECT_EQ(records[0].cs, ExpectedCheckValue(block, 0x88));
    EXPECT_EQ(records[0].reserve, 0u);

    const TPairs expectedPairs = {{"ChDescName", "Temp?1"}, {"ChDescUnit", "-"},
                                  {"ChDescQelName", "Room"}, {"ChDescQelModel", "QEL629"},
                                  {"ChDescQelSN", "1234"},   {"ChDescAmount", "3"},
                                  {"ChDescTmin", "1000"},    {"ChDescTmax", "3000"},
                                  {"ChDescBlocks", "1"}};
    EXPECT_EQ(DecodePairs(reader.Read(folder + "ChDesc_0")), expectedPairs);
    ExpectTrailersVerifyOnlyWithTheirType(reader);
}

TEST_F(QelZipFile, BlocksHoldTenThousandValues)
{
    struct Case {
        int values;
        std::vector<std::int64_t> blockValues;
    };
    const Case cases[] = {{1, {1}}, {10000, {10000}}, {10001, {10000, 1}}, {25000, {10000, 10000, 5000}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.values);
        const std::string path = Path("n" + std::to_string(c.values) + ".qrec");
        qel::TQelZipWriteFile file;
        file.OpenFile(path);
        file.AddChannel(0);
        for (int i = 0; i < c.values; ++i) {
            file.AddChannelValue(0, 5000 + 10LL * i, static_cast<float>(i % 100));
        }
        file.CloseFile();

        const TZipTestReader reader(path);
        const auto records = DecodeIndex(reader.Read(Folder(0) + "ChInfo_0"));
        ASSERT_EQ(records.size(), c.blockValues.size());
        std::int64_t first = 0;
        for (std::size_t k = 0; k < records.size(); ++k) {
            const std::string block = reader.Read(Folder(0) + "ChData_" + std::to_string(k));
            const auto values = DecodeValues(block);
            ASSERT_EQ(static_cast<std::int64_t>(values.size()), c.blockValues[k]) << "block " << k;
            EXPECT_EQ(records[k].ValueNo, first);
            EXPECT_EQ(records[k].Values, c.blockValues[k]);
            EXPECT_EQ(records[k].BlockNo, k);
            EXPECT_EQ(records[k].BlockSize, 12 * c.blockValues[k]);
            EXPECT_EQ(records[k].Tmin, values.front().Time);
            EXPECT_EQ(records[k].Tmax, values.back().Time);
            EXPECT_EQ(records[k].Tmin, 5000 + 10 * first);
            EXPECT_EQ(records[k].Ymin, c.blockValues[k] == 1 ? values[0].Value : 0.0f);
            EXPECT_EQ(records[k].Ymax, c.blockValues[k] == 1 ? values[0].Value : 99.0f);
            EXPECT_EQ(records[k].cs, ExpectedCheckValue(block, 0x88));
            first += c.blockValues[k];
        }
        EXPECT_FALSE(reader.Has(Folder(0) + "ChData_" + std::to_string(records.size())));
        const TPairs pairs = DecodePairs(reader.Read(Folder(0) + "ChDesc_0"));
        EXPECT_EQ(PairValue(pairs, "ChDescAmount"), std::to_string(c.values));
        EXPECT_EQ(PairValue(pairs, "ChDescBlocks"), std::to_string(c.blockValues.size()));
        EXPECT_EQ(PairValue(pairs, "ChDescTmin"), "5000");
        EXPECT_EQ(PairValue(pairs, "ChDescTmax"), std::to_string(5000 + 10LL * (c.values - 1)));
    }
}

TEST_F(QelZipFile, EntriesFollowTheOrderInWhichBlocksFill)
{
    const std::string path = Path("order.qrec");
    qel::TQelZipWriteFile file;
    file.OpenFile(path);
    file.AddChannel(30);
    file.AddChannel(10);
    const auto add = [&](int id, int count) {
        for (int i = 0; i < count; ++i) {
            file.AddChannelValue(id, i, 1.0f);
        }
    };
    add(30, 10000);   // fills block 0 of folder 0
    add(10, 10000);   // fills block 0 of folder 1
    add(30, 5);
    add(10, 3);
    EXPECT_EQ(file.GetChannel(10), file.Channel(1));
    EXPECT_EQ(file.GetChannel(99), nullptr);
    file.CloseFile();

    const std::vector<std::string> expected = {
        "File",
        Folder(0) + "ChData_0", Folder(1) + "ChData_0",
        Folder(0) + "ChData_1", Folder(0) + "ChInfo_0", Folder(0) + "ChDesc_0",
        Folder(1) + "ChData_1", Folder(1) + "ChInfo_0", Folder(1) + "ChDesc_0",
    };
    const TZipTestReader reader(path);
    EXPECT_EQ(reader.Names(), expected);
    ExpectTrailersVerifyOnlyWithTheirType(reader);

    const qeltest::TToolResult unzip = qeltest::RunUnzipTest(path);
    EXPECT_EQ(unzip.ExitCode, 0) << unzip.Output;
    const qeltest::TToolResult python = qeltest::RunPythonZipCheck(path);
    std::string names;
    for (const std::string& name : expected) {
        names += name + "\n";
    }
    EXPECT_EQ(python.Output, names + "OK\n");
}

TEST_F(QelZipFile, NanValuesLeaveTheRangeAlone)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::string path = Path("nan.qrec");
    qel::TQelZipWriteFile file;
    file.OpenFile(path);
    file.AddChannel(0);
    file.AddChannel(1);
    for (float v : {5.0f, nan, 2.0f, 9.0f}) {
        file.AddChannelValue(0, 1, v);
    }
    for (float v : {nan, 3.0f}) {
        file.AddChannelValue(1, 1, v);
    }
    file.CloseFile();
    const TZipTestReader reader(path);
    const auto first = DecodeIndex(reader.Read(Folder(0) + "ChInfo_0"));
    EXPECT_EQ(first[0].Ymin, 2.0f);
    EXPECT_EQ(first[0].Ymax, 9.0f);
    const auto second = DecodeIndex(reader.Read(Folder(1) + "ChInfo_0"));
    EXPECT_TRUE(std::isnan(second[0].Ymin) && std::isnan(second[0].Ymax)) << "a NaN first value stays the range";
}

TEST_F(QelZipFile, AbandonedArchiveLeavesTheOldFile)
{
    const std::string path = Path("keep.qrec");
    qeltest::WriteWholeFile(path, "saved before");
    qel::TQelZipWriteFile file;
    file.OpenFile(path);
    file.AddChannel(0);
    for (int i = 0; i < 20000; ++i) {
        file.AddChannelValue(0, i, 1.0f);
    }
    file.AbandonFile();
    EXPECT_FALSE(file.Opened());
    EXPECT_EQ(file.ChannelCount(), 0);
    EXPECT_EQ(qeltest::ReadWholeFile(path), "saved before");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(FDir.Path()), {}), 1);
}

TEST(QelZipPairs, StoredTextsAndLongTexts)
{
    qel::TQelZipChannelDescriptionStream pairs;
    EXPECT_TRUE(pairs.AddPair("a=b", "x=y=z"));
    EXPECT_TRUE(pairs.AddPair("", ""));
    EXPECT_FALSE(pairs.AddPair("A?B", "other")) << "the stored name a?b exists without regard to case";
    EXPECT_FALSE(pairs.AddPair("-", "other")) << "an empty name is stored as -";
    EXPECT_TRUE(pairs.AddPair("long", std::string(65536, 'x')));
    EXPECT_TRUE(pairs.AddPair("edge", std::string(65535, 'y')));
    ASSERT_TRUE(pairs.BeforeSave());
    const std::string content(reinterpret_cast<const char*>(pairs.Memory()), static_cast<std::size_t>(pairs.Size()));
    const std::string expected = Str("a?b") + Str("x?y?z") + Str("-") + Str("-") + Str("long") + Str("") +
                                 Str("edge") + Str(std::string(65535, 'y'));
    EXPECT_TRUE(content == expected) << "a text beyond 65,535 bytes is stored as count 0";
}

TEST(QelZipDateTime, NanosecondsSince2000)
{
    struct Case {
        const char* what;
        double t;
        std::int64_t ns;
    };
    const double half = std::ldexp(1.0, -17);   // 659,179,687.5 ns in this arithmetic
    const Case cases[] = {
        {"tick 0", 36526.0 + qel::TicksToDays(0), 0},
        {"tick 1,024", 36526.0 + qel::TicksToDays(1024), 1000171},
        {"one day", 36526.0 + qel::TicksToDays(88473600000), 86400000000000},
        {"half rounds up to even", 36526.0 + half, 659179688},
        {"half rounds down to even", 36526.0 + 3 * half, 1977539062},
        {"negative half", 36526.0 - half, -659179688},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(qel::DateTimeToNs2000(c.t), c.ns) << c.what;
    }
    EXPECT_THROW(qel::DateTimeToNs2000(1e300), plat::EInvalidOp);
}

} // namespace
