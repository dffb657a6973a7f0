// Tests of the grouping of generated cards into records: continuation rules,
// repeated clusters, wrap-around join, sort, progress and stop request.
#include "card/card_dir_scan.h"
#include "card_fixture.h"
#include "foundations/debug_modes.h"
#include "foundations/qel_error.h"
#include "platform/known_folders.h"

#include <gtest/gtest.h>

#include <memory>

namespace qel {
namespace {

using namespace qeltest;
using cardgen::TCardDescription;
using cardgen::TRecordingDescription;

class CardDirScanTest : public ::testing::Test {
protected:
    // Writes a fresh card of desc and fills the image with it; empties the records.
    void Prepare(const TCardDescription& desc)
    {
        FCard = std::make_unique<TGeneratedCard>();
        Generate(*FCard, desc);
        FillImage(FImage, FCard->Manifest.Files);
        FRecords.Clear();
    }
    // Scans a fresh card of desc into FRecords.
    void Scan(const TCardDescription& desc, const TCardDirScanHooks& hooks = {})
    {
        Prepare(desc);
        ScanCardDirectory(FImage, FRecords, hooks);
    }
    TCardRecord& Record(int index) { return dynamic_cast<TCardRecord&>(*FRecords.GetItem(index)); }
    TCardPosition Placed(std::size_t item, bool last = false) const
    {
        const auto& placed = FCard->Manifest.Items.at(item);
        return ToPosition(last ? placed.Last : placed.First);
    }

    std::unique_ptr<TGeneratedCard> FCard;
    TExtCard FImage;
    TRecInfoList FRecords;
};

TEST_F(CardDirScanTest, ConsecutiveClustersOfOneLoggerMakeOneRecord)
{
    TCardDescription desc;
    TRecordingDescription recording;
    recording.Logger = Logger(4711);
    recording.PageCount = 10;
    recording.FirstPageNo = 100;
    recording.StartTimeUnits = 5000;
    recording.TimeStepUnits = 50;
    desc.Recordings = {recording};
    desc.ClustersPerContainer = 6;   // the record runs into the second container
    desc.Layout = {cardgen::TPlaceRecording{0, 0, {}}};
    Scan(desc);

    ASSERT_EQ(FRecords.Count(), 1);
    const TCardRecord& record = Record(0);
    EXPECT_EQ(record.FirstPos, (TCardPosition{0, 0}));
    EXPECT_EQ(record.LastPos, (TCardPosition{1, 3}));
    EXPECT_EQ(record.LastPage, 109);
    EXPECT_EQ(record.FFirstTime, 5000 * 1000);
    EXPECT_EQ(record.LastTime, (5000 + 9 * 50) * 1000);
    EXPECT_EQ(record.SN_CARD, 4711u);
    EXPECT_EQ(record.Info.QEL_CLASS, 0x6606);
    EXPECT_EQ(record.Info.Page, 100);
    EXPECT_TRUE(record.Info.bStart);
    EXPECT_FALSE(record.bMemoryCirculation);
    EXPECT_EQ(record.Pos, 0);
}

TEST_F(CardDirScanTest, EveryClusterBadGivesNoRecord)
{
    TCardDescription desc;
    desc.Layout = {cardgen::TJunkClusters{20, cardgen::TJunk::Random, 3}, cardgen::TJunkClusters{3, cardgen::TJunk::Zero, 1}};
    Scan(desc);
    EXPECT_EQ(FRecords.Count(), 0);
}

TEST_F(CardDirScanTest, InterleavedLoggersGiveOneRecordPerCluster)
{
    const auto a = Logger(7);
    const auto b = Logger(5);
    Scan(PagesInOrder({Page(a, 1, 10), Page(b, 1, 10), Page(a, 2, 11), Page(b, 2, 11)}));
    ASSERT_EQ(FRecords.Count(), 4);
    const std::uint32_t serials[] = {5, 5, 7, 7};
    const std::int64_t times[] = {10000, 11000, 10000, 11000};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Record(i).SN_CARD, serials[i]) << i;
        EXPECT_EQ(Record(i).FFirstTime, times[i]) << i;
    }
    EXPECT_EQ(Record(0).Pos, 1);   // found second
    EXPECT_EQ(Record(0).FirstPos, (TCardPosition{0, 1}));
}

TEST_F(CardDirScanTest, ContinuationRules)
{
    const auto a = Logger(1);
    auto otherModel = Logger(1, 0x6607);
    auto otherFirmware = Logger(1);
    otherFirmware.FirmwareVersion = 0x0121;
    auto otherPc = Logger(1);
    otherPc.PcVersion = 0x0121;
    TRecordingDescription otherStartPage = Page(a, 11, 101);
    otherStartPage.StartPageNo = 3;
    const struct {
        const char* name;
        std::vector<TRecordingDescription> pages;
        int records;
    } cases[] = {
        {"next pages", {Page(a, 10, 100), Page(a, 11, 101), Page(a, 12, 102)}, 1},
        {"page numbers wrap at 8192", {Page(a, 8190, 100), Page(a, 8191, 101), Page(a, 0, 102), Page(a, 1, 103)}, 1},
        {"other model", {Page(a, 10, 100), Page(otherModel, 11, 101)}, 2},
        {"other firmware", {Page(a, 10, 100), Page(otherFirmware, 11, 101)}, 2},
        {"other PC version", {Page(a, 10, 100), Page(otherPc, 11, 101)}, 2},
        {"other serial", {Page(a, 10, 100), Page(Logger(2), 11, 101)}, 2},
        {"start page follows directly", {Page(a, 10, 100, true), Page(a, 11, 101, true)}, 2},
        {"other start page number", {Page(a, 10, 100), otherStartPage}, 2},
        {"time runs backwards", {Page(a, 10, 100), Page(a, 11, 99)}, 2},
        {"page gap within 5 s", {Page(a, 10, 100), Page(a, 20, 100 + 5120)}, 1},
        {"page gap beyond 5 s", {Page(a, 10, 100), Page(a, 20, 100 + 5121)}, 2},
        {"same time, next page", {Page(a, 10, 100), Page(a, 11, 100)}, 1},
    };
    for (const auto& c : cases) {
        // A last cluster of another logger keeps the wrap-around join out of the count.
        auto pages = c.pages;
        pages.push_back(Page(Logger(99), 0, 1));
        Scan(PagesInOrder(pages));
        EXPECT_EQ(FRecords.Count(), c.records + 1) << c.name;
    }
}

TEST_F(CardDirScanTest, RepeatedClusterContinuesAndMovesTheEnd)
{
    TRecordingDescription recording;
    recording.Logger = Logger(3);
    recording.PageCount = 3;
    recording.StartTimeUnits = 100;
    recording.TimeStepUnits = 10000;   // 10 s per page: only page numbers join them
    TCardDescription desc;
    desc.Recordings = {recording};
    desc.Layout = {cardgen::TPlaceRecording{0, 0, 2}, cardgen::TRepeatPage{0, 1}, cardgen::TPlaceRecording{0, 2, 1},
                   cardgen::TRepeatPage{0, 2}};
    Scan(desc);
    ASSERT_EQ(FRecords.Count(), 1);
    EXPECT_EQ(Record(0).LastPos, (TCardPosition{0, 4}));   // the second copy of page 2
    EXPECT_EQ(Record(0).LastPage, 2);
    EXPECT_EQ(Record(0).LastTime, (100 + 2 * 10000) * 1000);
}

TEST_F(CardDirScanTest, BadClustersInsideARecordAreSkipped)
{
    TRecordingDescription recording;
    recording.Logger = Logger(3);
    recording.PageCount = 6;
    TCardDescription desc;
    desc.Recordings = {recording};
    desc.Layout = {cardgen::TPlaceRecording{0, 0, 3}, cardgen::TJunkClusters{2, cardgen::TJunk::Random, 9},
                   cardgen::TPlaceRecording{0, 3, {}}};
    Scan(desc);
    ASSERT_EQ(FRecords.Count(), 1);
    EXPECT_EQ(Record(0).LastPos, (TCardPosition{0, 7}));
}

TEST_F(CardDirScanTest, WrappedRecordingIsJoinedWithItsBeginning)
{
    // Logger 9 wrote pages 0..4 at the card's end and went on with 5..7 at its beginning.
    TRecordingDescription wrapped;
    wrapped.Logger = Logger(9);
    wrapped.PageCount = 8;
    wrapped.FirstPageNo = 8189;
    wrapped.StartTimeUnits = 1000;
    TRecordingDescription other;
    other.Logger = Logger(2);
    other.PageCount = 3;
    TCardDescription desc;
    desc.Recordings = {wrapped, other};
    desc.Layout = {cardgen::TPlaceRecording{0, 5, {}}, cardgen::TPlaceRecording{1, 0, {}}, cardgen::TPlaceRecording{0, 0, 5}};
    Scan(desc);

    ASSERT_EQ(FRecords.Count(), 2);
    const TCardRecord& first = Record(0);
    EXPECT_EQ(first.SN_CARD, 2u);
    EXPECT_FALSE(first.bMemoryCirculation);
    const TCardRecord& joined = Record(1);
    EXPECT_EQ(joined.SN_CARD, 9u);
    EXPECT_TRUE(joined.bMemoryCirculation);
    EXPECT_EQ(joined.FirstPos, Placed(2));
    EXPECT_EQ(joined.LastPos, Placed(2, true));
    EXPECT_EQ(joined.FirstPos2, Placed(0));
    EXPECT_EQ(joined.LastPos2, Placed(0, true));
    EXPECT_EQ(joined.FFirstTime, 1000 * 1000);
    EXPECT_EQ(joined.Info.Page, 8189);
}

TEST_F(CardDirScanTest, SingleRecordIsNeverJoinedWithItself)
{
    TRecordingDescription recording;
    recording.Logger = Logger(9);
    recording.PageCount = 4;
    recording.BeginsWithStartPage = false;
    TCardDescription desc;
    desc.Recordings = {recording};
    desc.Layout = {cardgen::TPlaceRecording{0, 0, {}}};
    Scan(desc);
    ASSERT_EQ(FRecords.Count(), 1);
    EXPECT_FALSE(Record(0).bMemoryCirculation);
}

TEST_F(CardDirScanTest, ProgressIsPostedOnlyWhenThePercentChanges)
{
    const struct {
        std::uint32_t clusters;
        std::vector<std::int64_t> expected;
    } cases[] = {
        {3, {0, 33, 66}},
        {1, {0}},
    };
    for (const auto& c : cases) {
        TRecordingDescription recording;
        recording.PageCount = c.clusters;
        TCardDescription desc;
        desc.Recordings = {recording};
        desc.Layout = {cardgen::TPlaceRecording{0, 0, {}}};
        std::vector<std::int64_t> posted;
        Scan(desc, {nullptr, [&posted](std::int64_t percent) { posted.push_back(percent); }});
        EXPECT_EQ(posted, c.expected) << c.clusters;
    }

    TRecordingDescription recording;
    recording.PageCount = 250;
    TCardDescription desc;
    desc.Recordings = {recording};
    desc.Layout = {cardgen::TPlaceRecording{0, 0, {}}};
    std::vector<std::int64_t> posted;
    Scan(desc, {nullptr, [&posted](std::int64_t percent) { posted.push_back(percent); }});
    ASSERT_EQ(posted.size(), 100u);
    for (std::size_t i = 0; i < posted.size(); ++i) {
        EXPECT_EQ(posted[i], static_cast<std::int64_t>(i));
    }
}

TEST_F(CardDirScanTest, StopRequestEndsTheScanWithCodeThreeAndClosesTheCard)
{
    TRecordingDescription first;
    first.Logger = Logger(1);
    TRecordingDescription second;
    second.Logger = Logger(2);
    second.PageCount = 3;
    TCardDescription desc;
    desc.Recordings = {first, second};
    desc.Layout = {cardgen::TPlaceRecording{0, 0, {}}, cardgen::TPlaceRecording{1, 0, {}}};
    Prepare(desc);
    int asked = 0;
    try {
        ScanCardDirectory(FImage, FRecords, {[&asked] { return ++asked == 3; }, nullptr});
        FAIL() << "no stop";
    } catch (const EQel& error) {
        EXPECT_EQ(error.iException, EXC_USER_ABORT);
    }
    ASSERT_EQ(FRecords.Count(), 1);   // the finished record stays; the one being built does not
    EXPECT_EQ(dynamic_cast<TCardRecord&>(*FRecords.GetItem(0)).SN_CARD, 1u);
    TCardCluster cluster;
    EXPECT_FALSE(FImage.GetCluster(cluster));
}

// Debug mode 1 on, with its dump file in a temporary program folder.
class DebugModeDir {
public:
    DebugModeDir()
    {
        plat::SetProgramPath(FDir.File("reader"));
        EXPECT_TRUE(SetDebugMode(DEBUG_MODE_DIR));
    }
    ~DebugModeDir()
    {
        DebugFileClose();
        plat::SetProgramPath("");
    }
    std::vector<std::string> Lines() const
    {
        std::vector<std::string> lines;
        const std::string text = ReadWholeFile(FDir.File("dbm_dir_0.csv"));
        for (std::size_t at = 0; at < text.size();) {
            const std::size_t end = text.find("\r\n", at);
            lines.push_back(text.substr(at, end - at));
            at = end == std::string::npos ? text.size() : end + 2;
        }
        return lines;
    }

private:
    TempDir FDir;
};

TEST_F(CardDirScanTest, DebugModeOneBreaksRecordsAtEveryPageGap)
{
    const DebugModeDir debug;
    const auto a = Logger(1);
    const struct {
        const char* name;
        std::vector<cardgen::TRecordingDescription> pages;
        int records;
    } cases[] = {
        {"page gap within 5 s", {Page(a, 10, 100), Page(a, 20, 101)}, 2},
        {"next page", {Page(a, 10, 100), Page(a, 11, 20000)}, 1},
        {"repeated cluster", {Page(a, 10, 100), Page(a, 11, 101), Page(a, 11, 101)}, 1},
    };
    for (const auto& c : cases) {
        auto pages = c.pages;
        pages.push_back(Page(Logger(99), 0, 1));
        Scan(PagesInOrder(pages));
        EXPECT_EQ(FRecords.Count(), c.records + 1) << c.name;
    }
}

TEST_F(CardDirScanTest, DebugModeOneTracesNewRecordsAndRunsOfBadClusters)
{
    const DebugModeDir debug;
    cardgen::TClusterBytes first = cardgen::BuildRecordingCluster(Page(Logger(1), 10, 100), 0);
    for (std::size_t i = 6; i < 14; ++i) {
        first[i] = static_cast<std::uint8_t>(i);   // words 0x0706, 0x0908, 0x0B0A, 0x0D0C
    }
    TCardDescription desc;
    desc.Recordings = {Page(Logger(1), 11, 101), Page(Logger(2), 0, 5)};
    desc.Layout = {cardgen::TRawCluster{first}, cardgen::TPlaceRecording{0, 0, {}},
                   cardgen::TJunkClusters{3, cardgen::TJunk::Zero, 1}, cardgen::TPlaceRecording{1, 0, {}}};
    Scan(desc);
    const auto lines = debug.Lines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].substr(0, 2), "1;");
    EXPECT_EQ(lines[1], "0;new;10;1;1798;2312;2826;3340");
    EXPECT_EQ(lines[2], "2;error;11;-1");
    EXPECT_EQ(lines[3], "5;new;0;5;0;0;0;0");
}

} // namespace
} // namespace qel
