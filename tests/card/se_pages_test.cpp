// SE pages of the QEL28 loggers: SE page blocks into the read's list (with
// their data, without it when cut off, nothing for a cut head), and the list
// emptied as a data read begins.
#include "card/buffer_list.h"
#include "card/card_dir_scan.h"
#include "card/page_reader.h"
#include "card/read_card_data_thread.h"
#include "card/se_page_block.h"
#include "card/se_pages.h"
#include "loggers/qel_factory.h"
#include "tests/card/buffer_folder_fixture.h"
#include "tests/card/card_fixture.h"
#include "tools/cardgen/model_block_bytes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace qel {
namespace {

using namespace qeltest;
using TBytes = std::vector<std::uint8_t>;

struct TEntry {
    std::uint32_t Job;
    std::uint8_t Order, Page;
    std::uint32_t Index;
    TBytes Data;
    bool operator==(const TEntry&) const = default;
};

void PrintTo(const TEntry& entry, std::ostream* out)
{
    *out << "{job " << entry.Job << ", order " << int{entry.Order} << ", page " << int{entry.Page} << ", index "
         << entry.Index << ", " << entry.Data.size() << " bytes}";
}

std::vector<TEntry> Entries()
{
    std::vector<TEntry> entries;
    for (const TSEPage* page : SEPageList) {
        entries.push_back({page->job, page->order, page->page, page->index, {page->Data().begin(), page->Data().end()}});
    }
    return entries;
}

class SEPageBlockTest : public ::testing::Test {
protected:
    void SetUp() override { SEPageList.Clear(); }
    void TearDown() override { SEPageList.Clear(); }
};

TEST_F(SEPageBlockTest, BlockGivesAnEntryWithDataOnlyWhenAllOfItLiesInThePage)
{
    TBytes data(1024);
    for (std::size_t i = 0; i < data.size(); ++i) {
        data[i] = static_cast<std::uint8_t>(i * 7);
    }
    const TBytes block = cardgen::SEPageBlockBytes({1, 2, 3, 4, data});
    ASSERT_EQ(TBytes(block.begin(), block.begin() + 12),
              (TBytes{0xC0, 0x00, 0x01, 0x00, 0x00, 0x00, 0x02, 0x03, 0x04, 0x00, 0x00, 0x00}));
    const struct {
        std::size_t cut;   // bytes of the block beyond the page
        std::vector<TEntry> entries;
    } cases[] = {
        {0, {{1, 2, 3, 4, data}}},
        {1, {{1, 2, 3, 4, {}}}},
        {1024, {{1, 2, 3, 4, {}}}},   // the head ends the page
        {1025, {}},                    // the head is cut off
        {1033, {}},
    };
    for (const auto& c : cases) {
        SEPageList.Clear();
        const TBytes page(block.begin(), block.end() - static_cast<std::ptrdiff_t>(c.cut));
        std::int32_t position = 1;   // after the tag
        TPageReader in(page.data(), static_cast<std::int32_t>(page.size()), position);
        ReadSEPageBlock(in);
        EXPECT_EQ(Entries(), c.entries) << c.cut << " bytes cut";
        EXPECT_LE(position, static_cast<std::int32_t>(page.size()));
    }
}

TEST_F(SEPageBlockTest, EveryBlockAppendsAnEntryInTheOrderRead)
{
    for (std::uint32_t job : {9u, 3u, 9u}) {
        const TBytes block = cardgen::SEPageBlockBytes({job, 0, 0, job + 1, {0xAB}});
        std::int32_t position = 1;
        TPageReader in(block.data(), static_cast<std::int32_t>(block.size()), position);
        ReadSEPageBlock(in);
    }
    TBytes data(1024);
    data[0] = 0xAB;
    EXPECT_EQ(Entries(), (std::vector<TEntry>{{9, 0, 0, 10, data}, {3, 0, 0, 4, data}, {9, 0, 0, 10, data}}));
}

class SEPageListRead : public BufferFolderTest {
protected:
    void TearDown() override
    {
        SEPageList.Clear();
        ExtCard.Clear();
        RecInfoList.Clear();
        ReadBufferList.ClearAll();
        ReadBufferList.SetActiveQEL(nullptr);
        QelList.Clear();
        BufferFolderTest::TearDown();
    }
    TGeneratedCard FCard;
};

TEST_F(SEPageListRead, DataReadBeginsWithAnEmptyList)
{
    cardgen::TRecordingDescription recording;
    recording.Logger = Logger(28, 0x6626);
    Generate(FCard, PagesInOrder({recording}));
    FillImage(ExtCard, FCard.Manifest.Files);
    ScanCardDirectory(ExtCard, RecInfoList, {});
    ASSERT_EQ(RecInfoList.Count(), 1);
    RecInfoList.GetItem(0)->Selected = true;
    QelList.Add(GetQelClass(0x6626, 0x0120)->Create().release());

    InitSEPageList();
    SEPageList.Add(1, 2, 3, 4);
    ReadCardData(ExtCard, RecInfoList, {});
    EXPECT_EQ(SEPageList.Count(), 0) << "nothing of the last read remains";
}

} // namespace
} // namespace qel
