// Tests of the card generator: cluster and page bytes written by hand-checked
// offsets, container splitting, the manifest and the description parser.
#include "tests/support/temp_dir.h"
#include "tools/cardgen/card_generator.h"
#include "tools/cardgen/description_parser.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace qel::cardgen {
namespace {

std::uint16_t Word(const TClusterBytes& c, std::size_t at)
{
    return static_cast<std::uint16_t>(c[at] | (c[at + 1] << 8));
}

TEST(CardGenCluster, FrameAndHeaderBytesLieAtTheirOffsets)
{
    TRecordingDescription recording;
    recording.Logger = {0x6606, 0x0120, 0x0131, 0x01020304, {0xAA, 0xBB}};
    recording.FirstPageNo = 8191;
    recording.StartTimeUnits = 0x12'3456'789A;
    recording.TimeStepUnits = 0x10;
    recording.StartPageNo = 0x1234;
    recording.ShockPages = true;
    const TClusterBytes first = BuildRecordingCluster(recording, 0);
    const TClusterBytes second = BuildRecordingCluster(recording, 1);

    EXPECT_EQ(first[0], 0x01);
    EXPECT_EQ(first[1], 0xE0);
    EXPECT_EQ(Word(first, 68), 0x6606);
    EXPECT_EQ(Word(first, 70), 0x0120);
    EXPECT_EQ(Word(first, 72), 0x0131);
    EXPECT_EQ(Word(first, 74), 0x0304);
    EXPECT_EQ(Word(first, 76), 0x0102);
    EXPECT_EQ(first[78], 0xAA);
    EXPECT_EQ(first[79], 0xBB);
    EXPECT_EQ(first[474], 0x82);
    EXPECT_EQ(first[475], 0xFF);   // page 8191 in the upper 13 bits, big endian
    EXPECT_EQ(first[476], 0xF8);
    EXPECT_EQ(first[1534], 0x03);
    EXPECT_EQ(first[1535], 0xE0);
    // Page header at 478: start flag and shock bit, time high byte, low word LE, start page.
    EXPECT_EQ(first[478], 0x30);
    EXPECT_EQ(first[479], 0x12);
    EXPECT_EQ(first[480], 0x9A);
    EXPECT_EQ(first[483], 0x34);
    EXPECT_EQ(Word(first, 484), 0x1234);
    // Second page: next page number modulo 8192, later time, no start flag.
    EXPECT_EQ(second[475], 0x00);
    EXPECT_EQ(second[476], 0x00);
    EXPECT_EQ(second[478], 0x10);
    EXPECT_EQ(second[480], 0xAA);
}

TEST(CardGenCluster, RefusesFieldsThatDoNotFit)
{
    TRecordingDescription recording;
    recording.Logger.Config.assign(kConfigSize + 1, 0);
    EXPECT_THROW(BuildRecordingCluster(recording, 0), std::invalid_argument);
    recording.Logger.Config.clear();
    recording.StartTimeUnits = std::uint64_t{1} << 40;
    EXPECT_THROW(BuildRecordingCluster(recording, 0), std::invalid_argument);
}

TEST(CardGenFourByteRecords, RecordsMatchTheirBitLayout)
{
    std::array<std::uint8_t, 16> page{};
    TFourByteRecordWriter writer(page, 0);
    EXPECT_TRUE(writer.AddValue(3, -1, 0x1234));
    EXPECT_TRUE(writer.AddValue(14, 5, -2, true));
    EXPECT_TRUE(writer.AddTimeStep(-256));
    EXPECT_TRUE(writer.AddEnd());
    EXPECT_FALSE(writer.AddEnd());   // the page is full
    const std::array<std::uint8_t, 16> expected{
        0xFF, 0x37, 0x34, 0x12,      // ch 3, delta 0x7FF (-1), value 0x1234
        0x05, 0xE8, 0xFE, 0xFF,      // ch 14, long step, delta 5, value -2
        0xFF, 0xF0, 0xFF, 0xFF,      // control kind 0: step -256 (b0, b3, b2 = FF FF FF)
        0x00, 0xF1, 0x00, 0x00};     // end of data
    EXPECT_EQ(page, expected);
    EXPECT_THROW(writer.AddTimeStep(100), std::invalid_argument);
    EXPECT_THROW(writer.AddValue(15, 0, 0), std::invalid_argument);
}

TEST(CardGenFile, ContainersSplitAndManifestTellsWhereItemsLie)
{
    qeltest::TempDir dir;
    TCardDescription desc;
    desc.ClustersPerContainer = 3;
    TRecordingDescription recording;
    recording.PageCount = 4;
    desc.Recordings = {recording};
    desc.Layout = {TJunkClusters{1, TJunk::Zero, 1}, TPlaceRecording{0, 0, {}}, TTrailingBytes{100}, TEndContainer{},
                   TRepeatPage{0, 2}};
    const TCardManifest manifest = GenerateCard(desc, dir.Path().string());

    ASSERT_EQ(manifest.Files.size(), 4u);
    EXPECT_EQ(std::filesystem::path(manifest.Files[0]).filename(), "qel.dat");
    EXPECT_EQ(std::filesystem::path(manifest.Files[1]).filename(), "qel1.dat");
    EXPECT_EQ(std::filesystem::file_size(manifest.Files[0]), 3 * kClusterSize);
    EXPECT_EQ(std::filesystem::file_size(manifest.Files[1]), 2 * kClusterSize + 100);
    EXPECT_EQ(std::filesystem::file_size(manifest.Files[2]), 0u);   // ended at once: an empty container
    EXPECT_EQ(std::filesystem::file_size(manifest.Files[3]), kClusterSize);
    EXPECT_EQ(manifest.Clusters, 6u);
    ASSERT_EQ(manifest.Items.size(), 5u);
    EXPECT_EQ(manifest.Items[1].First, (TClusterPos{0, 1}));
    EXPECT_EQ(manifest.Items[1].Last, (TClusterPos{1, 1}));
    EXPECT_EQ(manifest.Items[1].Count, 4u);
    EXPECT_EQ(manifest.Items[4].First, (TClusterPos{3, 0}));

    const std::string second = qeltest::ReadWholeFile(manifest.Files[1]);
    const TClusterBytes expected = BuildRecordingCluster(recording, 2);
    EXPECT_EQ(second.substr(0, kClusterSize), std::string(expected.begin(), expected.end()));
}

TEST(CardGenParser, DescriptionBuildsTheCard)
{
    std::istringstream text(R"(# two loggers
containers 10
logger a model=0x6601 fw=0x0305 sn=7 config=0102
logger b model=0x6606 fw=0x0120 pc=0x0131 sn=9
recording r1 logger=a pages=5 first-page=8190 time=1000 step=2 no-start kind=0x02
recording r2 logger=b pages=3 start-page=4 shock four-byte=v3:0,1:2:5
place r1 from=1 count=3
junk 2 zero seed=4
repeat r2 page=1
end-container
trailing 10
place r2
)");
    const TCardDescription desc = ParseCardDescription(text);
    EXPECT_EQ(desc.ClustersPerContainer, 10u);
    ASSERT_EQ(desc.Recordings.size(), 2u);
    const TRecordingDescription& r1 = desc.Recordings[0];
    EXPECT_EQ(r1.Logger.ModelCode, 0x6601);
    EXPECT_EQ(r1.Logger.PcVersion, 0x0305);   // defaults to the firmware word
    EXPECT_EQ(r1.Logger.Serial, 7u);
    EXPECT_EQ(r1.Logger.Config, (std::vector<std::uint8_t>{1, 2}));
    EXPECT_EQ(r1.FirstPageNo, 8190);
    EXPECT_EQ(r1.StartTimeUnits, 1000u);
    EXPECT_EQ(r1.TimeStepUnits, 2u);
    EXPECT_FALSE(r1.BeginsWithStartPage);
    EXPECT_EQ(r1.Kind, 0x02);
    const TRecordingDescription& r2 = desc.Recordings[1];
    EXPECT_EQ(r2.Logger.PcVersion, 0x0131);
    EXPECT_EQ(r2.StartPageNo, std::optional<std::uint16_t>(4));
    EXPECT_TRUE(r2.ShockPages);
    EXPECT_NE(r2.Body, nullptr);
    ASSERT_EQ(desc.Layout.size(), 6u);
    const auto& place = std::get<TPlaceRecording>(desc.Layout[0]);
    EXPECT_EQ(place.FromPage, 1u);
    EXPECT_EQ(place.Count, std::optional<std::uint32_t>(3));
    EXPECT_EQ(std::get<TJunkClusters>(desc.Layout[1]).Fill, TJunk::Zero);
    EXPECT_EQ(std::get<TRepeatPage>(desc.Layout[2]).Page, 1u);
    EXPECT_TRUE(std::holds_alternative<TEndContainer>(desc.Layout[3]));
    EXPECT_EQ(std::get<TTrailingBytes>(desc.Layout[4]).Count, 10u);
    EXPECT_FALSE(std::get<TPlaceRecording>(desc.Layout[5]).Count.has_value());
}

TEST(CardGenParser, FaultsNameTheirLine)
{
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"logger a model=0x6601 fw=1\n", "missing sn="},
        {"frobnicate\n", "unknown statement"},
        {"logger a model=1 fw=1 sn=1\nrecording r logger=b pages=1\n", "line 2: unknown logger"},
        {"logger a model=0x10000 fw=1 sn=1\n", "out of range"},
        {"logger a model=1 fw=1 sn=1 colour=red\n", "unknown option"},
        {"place nothing\n", "unknown recording"},
        {"trailing 1536\n", "out of range"},
        {"logger a model=1 fw=1 sn=1 config=123\n", "two digits"},
        {"junk x\n", "not a number"},
    };
    for (const auto& c : cases) {
        std::istringstream text(c.text);
        try {
            ParseCardDescription(text);
            ADD_FAILURE() << "no error for: " << c.text;
        } catch (const std::runtime_error& error) {
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << c.text << " gave " << error.what();
        }
    }
}

} // namespace
} // namespace qel::cardgen
