// Data reads of many short records of one QEL649 logger, with bursts of every
// kind, lying out of time order on a card of several containers with junk
// between them: read together, the records decode exactly as each read alone.
#include "card/burst_data.h"
#include "card/card_dir_scan.h"
#include "card/card_records.h"
#include "card/ext_card.h"
#include "card/read_card_data_thread.h"
#include "tests/card/buffer_folder_fixture.h"
#include "tests/card/card_fixture.h"
#include "tests/card/decoder_fixture.h"
#include "tools/cardgen/tagged_records.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace qel {
namespace {

using namespace qeltest;
using cardgen::BurstWord;
using cardgen::TBurstBlockDescription;
using cardgen::TBurstBlockV1Description;
using cardgen::TTaggedRecordWriter;
using TWords = std::vector<std::vector<std::uint16_t>>;
using TWrite = std::function<void(TTaggedRecordWriter&)>;

constexpr std::uint32_t SN = 77;

// count lines of `positions` words, the first `pre` of them pretrigger; the
// values count up from base.
TWords Lines(int count, int pre, int positions, std::int16_t base)
{
    TWords lines;
    for (int k = 0; k < count; ++k) {
        std::vector<std::uint16_t> words;
        for (int p = 0; p < positions; ++p) {
            words.push_back(BurstWord(static_cast<std::int16_t>(base + 10 * k + p), k < pre));
        }
        lines.push_back(words);
    }
    return lines;
}

// The burst records of version-2 pages, one variant per recording number.
void WriteBurstsV2(TTaggedRecordWriter& out, std::uint32_t variant)
{
    const auto base = static_cast<std::int16_t>(100 * variant);
    switch (variant % 5) {
    case 0:   // acceleration, its interval from the trigger part
        out.Burst({1, 0, 3, 0x0F, 0, 20, 100, Lines(10, 2, 4, base)});
        break;
    case 1:   // shock: an event, its continuation, a new event that cuts it
        out.Burst({8, 2, 2, 0x03, 0, 5, 50, Lines(6, 3, 2, base)});
        out.Burst({8, 0, 2, 0x03, 3, 5, 53, Lines(6, 0, 2, base)});
        out.Burst({8, 2, 2, 0x03, 5, 5, 500, Lines(4, 1, 2, base)});
        break;
    case 2:   // analog, samples missing between the blocks
        out.Burst({2, 0, 1, 0x05, 0, 0, 1000, Lines(8, 1, 2, base)});
        out.Burst({2, 0, 1, 0x05, 10, 0, 1020, Lines(4, 0, 2, base)});
        break;
    case 3:   // acceleration continued once, then a later block
        out.Burst({1, 0, 0, 0x01, 0, 0, 7, Lines(5, 0, 1, base)});
        out.Burst({1, 1, 0, 0x01, 0, 0, 7, Lines(3, 0, 1, base)});
        out.Burst({1, 0, 0, 0x01, 2, 0, 20, Lines(5, 0, 1, base)});
        break;
    default:   // pretrigger lines only
        out.Burst({1, 0, 3, 0x0F, 0, 8, 300, Lines(4, 4, 4, base)});
        break;
    }
}

// The burst records of version-1 pages; variant 2 leaves its lines queued
// at the end of the recording.
void WriteBurstsV1(TTaggedRecordWriter& out, std::uint32_t variant)
{
    const auto base = static_cast<std::int16_t>(100 * variant);
    switch (variant % 4) {
    case 0:
        out.BurstV1({1, 0x0F, 0, 0xFFF0, 3, Lines(6, 1, 4, base)});
        out.BurstV1({1, 0x0F, 0, 0xFFF1, 3, Lines(4, 0, 4, base)});
        break;
    case 1:
        out.BurstV1({2, 0x03, 5, 1, 2, Lines(5, 0, 2, base)});
        out.BurstV1({2, 0x03, 0, 3, 2, Lines(3, 0, 2, base)});
        break;
    case 2:
        out.BurstV1({1, 0x01, 0, 0xFFF0, 0, Lines(3, 3, 1, base)});
        break;
    default:
        out.BurstV1({1, 0x01, 0, 0xFFF1, 0, Lines(4, 2, 1, base)});
        break;
    }
}

// The records after the page header: a value, a row of two channels, the bursts.
std::vector<std::uint8_t> PageRecords(bool version1, std::uint32_t variant)
{
    std::array<std::uint8_t, PAGE_SIZE> page{};
    TTaggedRecordWriter out(page);
    out.Value(1, static_cast<std::int16_t>(variant));
    out.MultiValue(2, 0x0003, {static_cast<std::int16_t>(variant), static_cast<std::int16_t>(-static_cast<int>(variant))});
    if (version1) {
        WriteBurstsV1(out, variant);
    } else {
        WriteBurstsV2(out, variant);
    }
    out.End();
    return {page.begin() + PAGE_HEADER_SIZE, page.begin() + static_cast<std::ptrdiff_t>(out.Position())};
}

class ManyRecordsRead : public BufferFolderTest {
protected:
    void SetUp() override
    {
        BufferFolderTest::SetUp();
        Reset();
        InitBurstData();
    }
    void TearDown() override
    {
        Reset();
        RecInfoList.Clear();
        ExtCard.Clear();
        BufferFolderTest::TearDown();
    }
    static void Reset()
    {
        ReadBufferList.ClearAll();
        ReadBufferList.SetActiveQEL(nullptr);
        ReadBufferList.MissionData = {};
        QelList.Clear();
    }

    // Ten recordings of one to three pages on 98 clusters, placed out of time
    // order with junk between them (once 70 clusters, more than the card
    // reads ahead), so the read jumps back and forth within the first
    // container; the container break after cluster 94 splits recording 6.
    void ScanCard(std::uint16_t version)
    {
        constexpr std::uint32_t pages[] = {1, 1, 2, 1, 1, 3, 1, 1, 1, 2};
        constexpr std::size_t cardOrder[] = {4, 0, 7, 1, 9, 2, 5, 3, 8, 6};
        cardgen::TCardDescription desc;
        for (std::uint32_t r = 0; r < std::size(pages); ++r) {
            cardgen::TRecordingDescription recording;
            recording.Logger = {0x6606, version, version, SN, {}};
            recording.PageCount = pages[r];
            recording.FirstPageNo = static_cast<std::uint16_t>(10 * r);
            recording.StartTimeUnits = 100000 + 1000 * r;
            recording.TimeStepUnits = 50;
            recording.Body = std::make_shared<cardgen::TRawPageBody>(PageRecords(version < 0x011F, r));
            desc.Recordings.push_back(recording);
        }
        for (std::size_t i = 0; i < std::size(cardOrder); ++i) {
            desc.Layout.emplace_back(cardgen::TPlaceRecording{cardOrder[i], 0, {}});
            desc.Layout.emplace_back(cardgen::TJunkClusters{i == 4 ? 70u : 1u + static_cast<std::uint32_t>(i % 2)});
        }
        desc.ClustersPerContainer = 95;
        Generate(FCard, desc);
        FillImage(ExtCard, FCard.Manifest.Files);
        ScanCardDirectory(ExtCard, RecInfoList, {});
    }

    // Reads the records for which select answers True, as the application does.
    TSeriesByChannel Read(const std::function<bool(int)>& select)
    {
        Reset();
        for (int i = 0; i < RecInfoList.Count(); ++i) {
            RecInfoList.GetItem(i)->Selected = select(i);
        }
        BindLoggerOfFirstSelected(RecInfoList);
        ReadBufferList.SetUseFileStream(true);
        ReadCardData(ExtCard, RecInfoList, {});
        return ReadListSeries();
    }

    TGeneratedCard FCard;
};

TEST_F(ManyRecordsRead, RecordsReadTogetherDecodeAsEachReadAlone)
{
    const struct {
        const char* name;
        std::uint16_t version;
        std::vector<std::uint32_t> burstChannels;
    } cases[] = {
        {"QEL649 below 1.31", 0x0110, {2, 3, 4, 13, 9, 10}},
        {"QEL649 from 1.31", 0x0120, {2, 3, 4, 13, 9, 11}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecInfoList.Clear();
        ScanCard(c.version);
        ASSERT_EQ(RecInfoList.Count(), 10);

        TSeriesByChannel eachAlone;
        for (int record = 0; record < RecInfoList.Count(); ++record) {
            for (auto& [channel, samples] : Read([record](int i) { return i == record; })) {
                auto& all = eachAlone[channel];
                all.insert(all.end(), samples.begin(), samples.end());
            }
        }
        for (const std::uint32_t channel : c.burstChannels) {
            EXPECT_FALSE(eachAlone[channel].empty()) << "burst channel " << channel;
        }
        EXPECT_EQ(Read([](int) { return true; }), eachAlone);
    }
}

} // namespace
} // namespace qel
