// The container's read side: containers of the program's writer read back
// value for value, and containers built here entry by entry (independently
// of the writer) read as stored, or refused with a clear error when an entry
// is missing, damaged or does not fit its index.
#include "export/qel_zip_file.h"

#include "platform/known_folders.h"
#include "platform/zip_reader.h"
#include "tests/support/qel_zip_entries.h"
#include "tests/support/temp_dir.h"
#include "tests/support/zip_test_reader.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <functional>
#include <limits>
#include <map>

namespace {

using qeltest::ExpectedCheckValue;
using qeltest::IndexRecords;
using qeltest::PairEntry;
using qeltest::TempDir;
using qeltest::TIndexRecord;
using qeltest::TPairs;
using qeltest::Trailed;
using qeltest::TValueRecord;
using qeltest::ValueRecords;

const char* const kProgram = "/opt/qel/reader";

std::string Folder(int n)
{
    return "CHANNELS\\CHANNEL_" + std::to_string(n) + "\\";
}

class QelZipReadFile : public ::testing::Test {
protected:
    QelZipReadFile() { plat::SetProgramPath(kProgram); }
    ~QelZipReadFile() override { plat::SetProgramPath(""); }

    std::string Path(const std::string& name) const { return FDir.File(name); }

    TempDir FDir;
};

// Every value of a channel, read from the start, with the values at which a
// new block was loaded.
struct TReadout {
    std::vector<TValueRecord> Values;
    std::vector<std::size_t> NewBlocks;
};

TReadout ReadAll(qel::TQelZipChannel& channel)
{
    TReadout readout;
    EXPECT_TRUE(channel.BeginReadout());
    std::int64_t time = 0;
    float value = 0;
    bool newblock = false;
    while (channel.GetNextValue(time, value, newblock)) {
        if (newblock) {
            readout.NewBlocks.push_back(readout.Values.size());
        }
        readout.Values.push_back({time, value});
    }
    EXPECT_FALSE(newblock);
    EXPECT_FALSE(channel.GetNextValue(time, value, newblock)) << "the end stays the end";
    return readout;
}

void ExpectSameValues(const std::vector<TValueRecord>& read, const std::vector<TValueRecord>& expected)
{
    ASSERT_EQ(read.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(read[i].Time, expected[i].Time) << "value " << i;
        ASSERT_EQ(std::bit_cast<std::uint32_t>(read[i].Value), std::bit_cast<std::uint32_t>(expected[i].Value))
            << "value " << i;
    }
}

// Channel ID 7: 10,001 values over two blocks, every 97th a NaN; channel
// ID 3: three values; written with the program's writer.
class WrittenContainer : public QelZipReadFile {
protected:
    WrittenContainer()
    {
        qel::TQelZipWriteFile file;
        file.OpenFile(Path("two.qrec"));
        qel::TQelZipChannel* first = file.AddChannel(7);
        file.AddChannel(3);
        for (int i = 0; i < 10001; ++i) {
            const float value = i % 97 == 5 ? std::numeric_limits<float>::quiet_NaN() : 0.25f * static_cast<float>(i);
            FFirst.push_back({1'000'000 + 1000LL * i, value});
            file.AddChannelValue(7, FFirst.back().Time, value);
        }
        for (int i = 0; i < 3; ++i) {
            FSecond.push_back({-5 + i, -1.0f * static_cast<float>(i)});
            file.AddChannelValue(3, FSecond.back().Time, FSecond.back().Value);
        }
        first->SetName("T=room");
        first->SetUnit("°C");
        first->SetQelName("");
        first->SetQelModel("QEL629");
        first->SetQelSN("4294967295");
        file.CloseFile();
    }

    std::vector<TValueRecord> FFirst;
    std::vector<TValueRecord> FSecond;
};

TEST_F(WrittenContainer, ReadsBackFileChannelsValuesAndIndex)
{
    qel::TQelZipReadFile file;
    ASSERT_TRUE(file.OpenFile(Path("two.qrec")));
    EXPECT_EQ(file.FileInfo().GetValue("FileType"), "QELZip");
    EXPECT_EQ(file.FileInfo().GetValue("FileRevision"), "0");
    EXPECT_EQ(file.FileInfo().GetValue("FileCreator"), kProgram);
    ASSERT_EQ(file.ChannelCount(), 2);

    qel::TQelZipChannel& first = *file.Channel(0);
    EXPECT_EQ(first.ID, 0) << "read channels take their folder number";
    EXPECT_EQ(file.GetChannel(1), file.Channel(1));
    EXPECT_EQ(first.GetName(), "T?room");
    EXPECT_EQ(first.GetUnit(), "°C");
    EXPECT_EQ(first.GetQelName(), "-");
    EXPECT_EQ(first.GetQelModel(), "QEL629");
    EXPECT_EQ(first.GetQelSN(), "4294967295");
    std::int64_t amount = 0, tmin = 0, tmax = 0;
    EXPECT_TRUE(first.GetRangeInfo(amount, tmin, tmax));
    EXPECT_EQ(amount, 10001);
    EXPECT_EQ(tmin, FFirst.front().Time);
    EXPECT_EQ(tmax, FFirst.back().Time);
    EXPECT_EQ(first.GetBlockCount(), 2);

    const TReadout readout = ReadAll(first);
    ExpectSameValues(readout.Values, FFirst);
    EXPECT_EQ(readout.NewBlocks, (std::vector<std::size_t>{0, 10000}));
    ExpectSameValues(ReadAll(*file.Channel(1)).Values, FSecond);
    EXPECT_EQ(file.Channel(1)->GetName(), "") << "a description without the name pair";

    // The index as the independent reader decodes it.
    const auto expected = qeltest::DecodeIndex(qeltest::TZipTestReader(Path("two.qrec")).Read(Folder(0) + "ChInfo_0"));
    ASSERT_TRUE(first.BeginReadoutDataInfo());
    for (const TIndexRecord& record : expected) {
        qel::TQelZipChannelDataInfo info;
        ASSERT_TRUE(first.GetNextDataInfo(info));
        EXPECT_EQ(info.ValueNo, record.ValueNo);
        EXPECT_EQ(info.Values, record.Values);
        EXPECT_EQ(info.BlockNo, record.BlockNo);
        EXPECT_EQ(info.BlockSize, record.BlockSize);
        EXPECT_EQ(info.Tmin, record.Tmin);
        EXPECT_EQ(info.Tmax, record.Tmax);
        EXPECT_EQ(info.Ymin, record.Ymin);
        EXPECT_EQ(info.Ymax, record.Ymax);
        EXPECT_EQ(info.cs, record.cs);
    }
    qel::TQelZipChannelDataInfo info;
    EXPECT_FALSE(first.GetNextDataInfo(info)) << "the trailer is no record";
    ASSERT_TRUE(first.BeginReadoutDataInfo()) << "rewinds";
    ASSERT_TRUE(first.GetNextDataInfo(info));
    EXPECT_EQ(info.BlockNo, 0u);

    file.CloseFile();
    EXPECT_EQ(file.ChannelCount(), 0);
}

TEST_F(WrittenContainer, SetReadoutTimeLoadsTheBlockThatHoldsTheTime)
{
    qel::TQelZipReadFile file;
    file.OpenFile(Path("two.qrec"));
    qel::TQelZipChannel& channel = *file.Channel(0);
    const struct {
        const char* Name;
        std::int64_t Time;
        std::uint32_t Walked;
        std::size_t Next;   // the value GetNextValue gives next; npos: none loaded
    } cases[] = {
        {"first time", FFirst[0].Time, 1, 0},
        {"inside block 0", FFirst[4321].Time + 1, 1, 0},
        {"last of block 0", FFirst[9999].Time, 1, 0},
        {"between the blocks", FFirst[9999].Time + 1, 2, std::string::npos},
        {"the one value of block 1", FFirst[10000].Time, 2, 10000},
        {"before every value", 0, 2, std::string::npos},
        {"after every value", FFirst.back().Time + 1, 2, std::string::npos},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        channel.BeginReadout();
        EXPECT_EQ(channel.SetReadoutTime(c.Time), c.Walked);
        std::int64_t time = 0;
        float value = 0;
        bool newblock = true;
        ASSERT_TRUE(channel.GetNextValue(time, value, newblock));
        if (c.Next == std::string::npos) {
            EXPECT_TRUE(newblock) << "nothing was loaded: the readout starts at block 0";
            EXPECT_EQ(time, FFirst[0].Time);
            continue;
        }
        EXPECT_FALSE(newblock) << "the block is in hand";
        EXPECT_EQ(time, FFirst[c.Next].Time);
        std::size_t count = 1;
        while (channel.GetNextValue(time, value, newblock)) {
            ++count;
        }
        EXPECT_EQ(count, FFirst.size() - c.Next) << "the readout goes on to the end";
    }
}

// A container built here: "File", then folder 0 with blocks of 2 and 1
// values, their index and the description.
struct TBuiltContainer {
    std::map<std::string, std::string> Entries;

    static TBuiltContainer Valid()
    {
        TBuiltContainer c;
        const std::string block0 = ValueRecords({{100, 1.5f}, {200, 2.5f}});
        const std::string block1 = ValueRecords({{300, -3.5f}});
        c.Entries["File"] =
            PairEntry({{"FileType", "QELZip"}, {"FileRevision", "0"}, {"FileCreator", "maker"}}, 0x10);
        c.Entries[Folder(0) + "ChData_0"] = block0;
        c.Entries[Folder(0) + "ChData_1"] = block1;
        c.Entries[Folder(0) + "ChInfo_0"] =
            Trailed(IndexRecords({{0, 2, 0, 24, 100, 200, 1.5f, 2.5f, ExpectedCheckValue(block0, 0x88), 0},
                                  {2, 1, 1, 12, 300, 300, -3.5f, -3.5f, ExpectedCheckValue(block1, 0x88), 0}}),
                    0x40);
        c.Entries[Folder(0) + "ChDesc_0"] =
            PairEntry({{"ChDescName", "p"}, {"ChDescUnit", "mbar"}, {"ChDescAmount", "3"}, {"ChDescTmin", "100"},
                       {"ChDescTmax", "300"}, {"ChDescBlocks", "2"}},
                      0x20);
        return c;
    }

    void Write(const std::string& path) const
    {
        plat::TZipFile zip;
        zip.Open(path, plat::zmWrite);
        for (const auto& [name, bytes] : Entries) {
            zip.Add(bytes.data(), bytes.size(), name);
        }
        zip.Close();
    }
};

TEST_F(QelZipReadFile, ABuiltContainerReadsAsStored)
{
    TBuiltContainer::Valid().Write(Path("built.qrec"));
    qel::TQelZipReadFile file;
    ASSERT_TRUE(file.OpenFile(Path("built.qrec")));
    ASSERT_EQ(file.ChannelCount(), 1);
    EXPECT_EQ(file.FileInfo().GetValue("FileCreator"), "maker");
    EXPECT_EQ(file.Channel(0)->GetUnit(), "mbar");
    const TReadout readout = ReadAll(*file.Channel(0));
    ExpectSameValues(readout.Values, {{100, 1.5f}, {200, 2.5f}, {300, -3.5f}});
    EXPECT_EQ(readout.NewBlocks, (std::vector<std::size_t>{0, 2}));
}

// Pair texts load in order, duplicates included; names are found without
// regard to letter case; a text cut short ends the pairs.
TEST_F(QelZipReadFile, PairEntriesLoadAsStored)
{
    TBuiltContainer container = TBuiltContainer::Valid();
    const std::string content = qeltest::PairText("FileType") + qeltest::PairText("QELZip") +
                                qeltest::PairText("Dup") + qeltest::PairText("first") + qeltest::PairText("dUP") +
                                qeltest::PairText("second") + qeltest::PairText("a=b") + qeltest::PairText("") +
                                qeltest::PairText("lonely name") + std::string("\x05\x00" "abc", 5);
    container.Entries["File"] = Trailed(content, 0x10);
    container.Write(Path("pairs.qrec"));
    qel::TQelZipReadFile file;
    ASSERT_TRUE(file.OpenFile(Path("pairs.qrec")));
    const qel::TQelZipFileInfoStream& info = file.FileInfo();
    ASSERT_EQ(info.PairCount(), 4);
    EXPECT_EQ(info.Pair(2), (std::pair<std::string, std::string>{"dUP", "second"}));
    EXPECT_EQ(info.Pair(3), (std::pair<std::string, std::string>{"a=b", ""}));
    EXPECT_EQ(info.GetValue("DUP"), "first");
    std::string value = "kept";
    EXPECT_FALSE(info.GetPair("lonely name", value)) << "a name without its value is no pair";
    EXPECT_EQ(value, "kept");
    EXPECT_EQ(info.GetValue("absent"), "");
    EXPECT_EQ(info.Size(), 0) << "the loaded stream is emptied";
}

TEST_F(QelZipReadFile, LoadFromZipFileTakesOnlyVerifiedEntriesOfItsOwnType)
{
    const std::string pairs = qeltest::PairText("k") + qeltest::PairText("v");
    const struct {
        const char* Name;
        std::string Entry;   // stored under "E"; none when empty
        bool Loads;
    } cases[] = {
        {"verified", Trailed(pairs, 0x20), true},
        {"trailer of another type", Trailed(pairs, 0x10), false},
        {"content changed", "x" + Trailed(pairs, 0x20).substr(1), false},
        {"shorter than a trailer", "1234567", false},
        {"empty content", Trailed("", 0x20), true},
        {"missing", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TBuiltContainer container = TBuiltContainer::Valid();
        if (!c.Entry.empty()) {
            container.Entries["E"] = c.Entry;
        }
        container.Write(Path("load.qrec"));
        plat::TZipFile zip;
        zip.Open(Path("load.qrec"), plat::zmRead);
        qel::TQelZipChannelDescriptionStream stream;
        stream.AddPair("before", "load");
        EXPECT_EQ(stream.LoadFromZipFile("E", zip), c.Loads);
        if (!c.Loads) {
            EXPECT_EQ(stream.GetValue("before"), "load") << "a refused load leaves the pairs";
        } else {
            EXPECT_EQ(stream.GetValue("before"), "");
        }
    }
}

TEST(QelZipStrings, ReadStrNeedsTheWholeText)
{
    const struct {
        std::string Bytes;
        bool Reads;
        std::string Text;
    } cases[] = {
        {std::string("\x03\x00" "abc", 5), true, "abc"},
        {std::string("\x00\x00", 2), true, ""},
        {std::string("\x04\x00" "abc", 5), false, ""},
        {std::string("\x03", 1), false, ""},
        {"", false, ""},
    };
    for (const auto& c : cases) {
        qel::TQelZipFileInfoStream stream;
        stream.WriteBuffer(c.Bytes.data(), static_cast<std::int64_t>(c.Bytes.size()));
        stream.SetPosition(0);
        std::string text = "old";
        EXPECT_EQ(stream.ReadStr(text), c.Reads) << c.Bytes.size();
        EXPECT_EQ(text, c.Text) << c.Bytes.size();
    }
}

TEST_F(QelZipReadFile, RangeKeysParseEachOnItsOwn)
{
    const std::int64_t unset = -77;
    const struct {
        std::string Amount, Tmin, Tmax, Blocks;
        bool All;
        std::int64_t WantAmount, WantTmin, WantTmax, WantBlocks;
    } cases[] = {
        {"12", "-5", "+7", "3", true, 12, -5, 7, 3},
        {"12", "x", "-5", "two", false, 12, unset, -5, 0},
        {" 1", "", "9223372036854775807", "1e3", false, unset, unset, 9223372036854775807, 0},
        {"9223372036854775808", "0x10", "-0", "-2", false, unset, unset, 0, -2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Amount + " / " + c.Tmin + " / " + c.Tmax);
        TBuiltContainer container = TBuiltContainer::Valid();
        container.Entries[Folder(0) + "ChDesc_0"] = PairEntry(
            {{"ChDescAmount", c.Amount}, {"ChDescTmin", c.Tmin}, {"ChDescTmax", c.Tmax}, {"ChDescBlocks", c.Blocks}},
            0x20);
        container.Write(Path("range.qrec"));
        qel::TQelZipReadFile file;
        file.OpenFile(Path("range.qrec"));
        std::int64_t amount = unset, tmin = unset, tmax = unset;
        EXPECT_EQ(file.Channel(0)->GetRangeInfo(amount, tmin, tmax), c.All);
        EXPECT_EQ(amount, c.WantAmount);
        EXPECT_EQ(tmin, c.WantTmin);
        EXPECT_EQ(tmax, c.WantTmax);
        EXPECT_EQ(file.Channel(0)->GetBlockCount(), c.WantBlocks);
    }
}

// Damage of one entry at a time, and the step at which the reader meets it.
TEST_F(QelZipReadFile, DamagedContainersGiveAClearError)
{
    enum TStep { Open, Values, Index, SeekTime };
    const auto replace = [](const std::string& name, std::string bytes) {
        return [name, bytes](TBuiltContainer& c) { c.Entries[Folder(0) + name] = bytes; };
    };
    const std::string block0 = ValueRecords({{100, 1.5f}, {200, 2.5f}});
    const struct {
        const char* Name;
        std::function<void(TBuiltContainer&)> Damage;
        TStep Step;
        const char* Fault;
    } cases[] = {
        {"no File entry", [](TBuiltContainer& c) { c.Entries.erase("File"); }, Open, "no \"File\" entry"},
        {"File check value", [](TBuiltContainer& c) { c.Entries["File"][c.Entries["File"].size() - 8] ^= 1; }, Open,
         "\"File\" entry fails"},
        {"File trailer of another type",
         [](TBuiltContainer& c) { c.Entries["File"] = PairEntry({{"FileType", "QELZip"}}, 0x20); }, Open,
         "\"File\" entry fails"},
        {"other file type",
         [](TBuiltContainer& c) { c.Entries["File"] = PairEntry({{"FileType", "QELShock"}}, 0x10); }, Open,
         "file type is \"QELShock\""},
        {"description trailer", [](TBuiltContainer& c) { c.Entries[Folder(0) + "ChDesc_0"][3] ^= 0x40; }, Open,
         "ChDesc_0\" fails its check value"},
        {"index trailer", [](TBuiltContainer& c) { c.Entries[Folder(0) + "ChInfo_0"][0] ^= 1; }, Index,
         "ChInfo_0\" fails its check value"},
        {"index trailer met by the values", [](TBuiltContainer& c) { c.Entries[Folder(0) + "ChInfo_0"][0] ^= 1; },
         Values, "fails its check value"},
        {"truncated block", replace("ChData_0", block0.substr(0, 13)), Values, "13 bytes, no whole number"},
        {"empty block", replace("ChData_0", ""), Values, "0 bytes, no whole number"},
        {"block changed after its index", replace("ChData_0", ValueRecords({{100, 1.5f}, {200, 2.25f}})), Values,
         "does not match its record"},
        {"block without a record",
         replace("ChInfo_0", Trailed(IndexRecords({{0, 2, 0, 24, 100, 200, 1.5f, 2.5f,
                                                     ExpectedCheckValue(block0, 0x88), 0}}),
                                     0x40)),
         Values, "data block 1 has no record"},
        {"index naming a missing block",
         replace("ChInfo_0", Trailed(IndexRecords({{0, 2, 4, 24, 100, 200, 1.5f, 2.5f, 0, 0}}), 0x40)), SeekTime,
         "names data block 4, which the file lacks"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TBuiltContainer container = TBuiltContainer::Valid();
        c.Damage(container);
        const std::string path = Path("damaged.qrec");
        container.Write(path);
        qel::TQelZipReadFile file;
        try {
            file.OpenFile(path);
            ASSERT_NE(c.Step, Open) << "opened";
            qel::TQelZipChannel& channel = *file.Channel(0);
            if (c.Step == Index) {
                channel.BeginReadoutDataInfo();
            } else if (c.Step == SeekTime) {
                channel.SetReadoutTime(150);
            } else {
                ReadAll(channel);
            }
            ADD_FAILURE() << "no error";
        } catch (const qel::EQelZipFileError& error) {
            const std::string message = error.what();
            EXPECT_NE(message.find(c.Fault), std::string::npos) << message;
            EXPECT_NE(message.find(path), std::string::npos) << message;
        }
        if (c.Step == Open) {
            EXPECT_EQ(file.ChannelCount(), 0) << "a refused file leaves nothing open";
        }
    }
}

TEST_F(WrittenContainer, ArchiveDamageReachesTheReaderAsTheArchiveError)
{
    // A byte of block 0's compressed data flipped: the zip entry no longer
    // inflates to its CRC.
    const qeltest::TZipTestReader reader(Path("two.qrec"));
    const std::string name = Folder(0) + "ChData_0";
    std::string bytes = qeltest::ReadWholeFile(Path("two.qrec"));
    for (const auto& entry : reader.Entries()) {
        if (entry.Name == name) {
            bytes[entry.LocalOffset + 30 + name.size() + entry.CompressedSize / 2] ^= 0x10;
        }
    }
    qeltest::WriteWholeFile(Path("two.qrec"), bytes);
    qel::TQelZipReadFile file;
    ASSERT_TRUE(file.OpenFile(Path("two.qrec")));
    try {
        ReadAll(*file.Channel(0));
        ADD_FAILURE() << "no error";
    } catch (const plat::EZipFormatError& error) {
        EXPECT_NE(std::string(error.what()).find(name), std::string::npos) << error.what();
    }
    ExpectSameValues(ReadAll(*file.Channel(1)).Values, FSecond);
}

TEST_F(QelZipReadFile, FilesThatAreNoContainersAreRefused)
{
    qeltest::WriteWholeFile(Path("text.qrec"), "time;value\r\n");
    qel::TQelZipReadFile file;
    EXPECT_THROW(file.OpenFile(Path("text.qrec")), plat::EZipFormatError);
    EXPECT_THROW(file.OpenFile(Path("missing.qrec")), plat::EFOpenError);
    EXPECT_THROW(file.OpenFile(FDir.Path().string()), plat::EFOpenError);
}

TEST(QelZipShocks, NoShockRecordIsMade)
{
    qel::TQelZipWriteFile file;
    EXPECT_EQ(file.AddShock(4), nullptr);
    EXPECT_EQ(file.ShockCount(), 0);
    const qel::TQelZipShock shock(4);
    EXPECT_EQ(shock.ID, 4);
    EXPECT_EQ(shock.Size(), 0);
}

} // namespace
