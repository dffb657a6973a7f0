// Tests of the card image: windows, container order, positions and counts.
#include "card/ext_card.h"
#include "card_fixture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

namespace qel {
namespace {

using namespace qeltest;
using cardgen::TCardDescription;

// Containers of the given cluster counts; cluster i of the card carries page number i.
TCardDescription Containers(const std::vector<int>& clusters, const std::vector<int>& trailing = {})
{
    TCardDescription desc;
    std::uint16_t page = 0;
    for (std::size_t c = 0; c < clusters.size(); ++c) {
        for (int i = 0; i < clusters[c]; ++i) {
            desc.Recordings.push_back(Page(Logger(1), page, page + 1u));
            desc.Layout.emplace_back(cardgen::TPlaceRecording{page, 0, {}});
            ++page;
        }
        if (c < trailing.size() && trailing[c] > 0) {
            desc.Layout.emplace_back(cardgen::TTrailingBytes{static_cast<std::uint32_t>(trailing[c])});
        } else {
            desc.Layout.emplace_back(cardgen::TEndContainer{});
        }
    }
    return desc;
}

struct TReadCluster {
    TCardPosition Position;
    std::uint16_t PageNo;
};

std::vector<TReadCluster> ReadAll(TExtCard& image)
{
    std::vector<TReadCluster> read;
    TCardCluster cluster;
    while (image.GetCluster(cluster)) {
        read.push_back({image.GetClusterPosition(), static_cast<std::uint16_t>(((cluster[475] << 8) | cluster[476]) >> 3)});
    }
    return read;
}

std::vector<TCardPosition> Positions(const std::vector<TReadCluster>& read)
{
    std::vector<TCardPosition> positions;
    for (const auto& r : read) {
        positions.push_back(r.Position);
    }
    return positions;
}

class ExtCardTest : public ::testing::Test {
protected:
    void Make(const TCardDescription& desc)
    {
        Generate(FCard, desc);
        FillImage(FImage, FCard.Manifest.Files);
    }
    TGeneratedCard FCard;
    TExtCard FImage;
};

TEST_F(ExtCardTest, TwoContainersOfThreeClustersReadInOrder)
{
    Make(Containers({3, 3}));
    FImage.StartAll();
    EXPECT_EQ(FImage.GetClusterPosition(), (TCardPosition{0, 0}));
    EXPECT_EQ(FImage.GetClusterSize(), 6);
    const auto read = ReadAll(FImage);
    const std::vector<TCardPosition> expected{{0, 0}, {0, 1}, {0, 2}, {1, 0}, {1, 1}, {1, 2}};
    EXPECT_EQ(Positions(read), expected);
    for (std::size_t i = 0; i < read.size(); ++i) {
        EXPECT_EQ(read[i].PageNo, i);
    }
    EXPECT_EQ(FImage.CalcClusterSize({0, 1}, {1, 0}), 3);
    EXPECT_EQ(FImage.CalcClusterSize({0, 2}, {0, 2}), 1);
    EXPECT_EQ(FImage.CalcClusterSize({0, 0}, {1, 2}), 6);
    EXPECT_EQ(FImage.GetItem(1)->Size, 3 * 1536);
}

TEST_F(ExtCardTest, StartFromToReadsTheStretchAcrossContainers)
{
    Make(Containers({3, 3}));
    FImage.StartAll();
    const struct {
        TCardPosition from, to;
        std::vector<TCardPosition> expected;
    } cases[] = {
        {{0, 1}, {1, 0}, {{0, 1}, {0, 2}, {1, 0}}},
        {{0, 2}, {0, 2}, {{0, 2}}},
        {{1, 1}, {1, 2}, {{1, 1}, {1, 2}}},
        {{0, 0}, {1, 2}, {{0, 0}, {0, 1}, {0, 2}, {1, 0}, {1, 1}, {1, 2}}},
        {{0, 1}, {0, 7}, {{0, 1}, {0, 2}}},   // the window ends with the file
        {{2, 0}, {2, 1}, {}},                 // no such container
        {{1, 0}, {0, 2}, {}},                 // backwards
        {{0, -1}, {0, 2}, {}},                // no such cluster
        {{0, 2}, {1, INT64_MAX}, {{0, 2}, {1, 0}, {1, 1}, {1, 2}}},   // huge numbers end with the file
        {{0, INT64_MAX}, {1, 0}, {{1, 0}}},
    };
    for (const auto& c : cases) {
        FImage.StartFromTo(c.from, c.to);
        EXPECT_EQ(Positions(ReadAll(FImage)), c.expected) << c.from.Container << "," << c.from.Cluster;
    }
    FImage.Finish();
}

TEST_F(ExtCardTest, WindowsOneAfterAnotherReadTheirOwnClusters)
{
    // Two containers of 150 clusters: windows within what the last window read
    // ahead, behind it, far beyond it and across the container break.
    Make(Containers({150, 150}));
    FImage.StartAll();
    const struct {
        TCardPosition from, to;
    } windows[] = {
        {{0, 0}, {0, 0}},   {{0, 1}, {0, 1}},     {{0, 2}, {0, 4}},     {{0, 1}, {0, 1}},
        {{0, 63}, {0, 65}}, {{0, 120}, {0, 120}}, {{0, 30}, {0, 31}},   {{0, 148}, {1, 1}},
        {{1, 2}, {1, 2}},   {{0, 149}, {0, 149}}, {{1, 149}, {1, 149}}, {{0, 0}, {1, 149}},
    };
    for (const auto& w : windows) {
        FImage.StartFromTo(w.from, w.to);
        const std::vector<TReadCluster> read = ReadAll(FImage);
        std::vector<std::uint16_t> pages;
        for (const TReadCluster& r : read) {
            pages.push_back(r.PageNo);
        }
        std::vector<std::uint16_t> expected;
        for (std::int64_t i = w.from.Container * 150 + w.from.Cluster; i <= w.to.Container * 150 + w.to.Cluster; ++i) {
            expected.push_back(static_cast<std::uint16_t>(i));
        }
        EXPECT_EQ(pages, expected) << "window from " << w.from.Container << "," << w.from.Cluster;
    }
    FImage.Finish();
}

TEST_F(ExtCardTest, NewReadAfterFinishOrOfOtherContainersReadsTheFilesAsTheyAreNow)
{
    // Cards of three clusters whose page numbers begin at 0, 500 and 1000.
    const auto shifted = [](std::uint16_t by) {
        TCardDescription desc = Containers({3});
        for (auto& recording : desc.Recordings) {
            recording.FirstPageNo = static_cast<std::uint16_t>(recording.FirstPageNo + by);
        }
        return desc;
    };
    Make(shifted(0));
    FImage.StartAll();
    FImage.StartFromTo({0, 0}, {0, 0});
    ASSERT_EQ(ReadAll(FImage).size(), 1u);
    FImage.Finish();

    TGeneratedCard rewritten;
    Generate(rewritten, shifted(500));
    std::filesystem::copy_file(rewritten.Manifest.Files[0], FCard.Manifest.Files[0],
                               std::filesystem::copy_options::overwrite_existing);
    FImage.StartFromTo({0, 1}, {0, 1});
    EXPECT_EQ(ReadAll(FImage).at(0).PageNo, 501) << "the container written anew after Finish";

    TGeneratedCard other;
    Generate(other, shifted(1000));
    FillImage(FImage, other.Manifest.Files);   // no Finish before
    FImage.StartAll();
    FImage.StartFromTo({0, 1}, {0, 1});
    EXPECT_EQ(ReadAll(FImage).at(0).PageNo, 1001) << "the container of another card";
    FImage.Finish();
}

TEST_F(ExtCardTest, TrailingPartialClusterIsNeverRead)
{
    Make(Containers({2, 1}, {700, 1535}));
    FImage.StartAll();
    EXPECT_EQ(FImage.GetItem(0)->Size, 2 * 1536 + 700);
    EXPECT_EQ(FImage.GetClusterSize(), (3 * 1536 + 700 + 1535) / 1536);   // 4: of the sum, not per file
    const std::vector<TCardPosition> expected{{0, 0}, {0, 1}, {1, 0}};
    EXPECT_EQ(Positions(ReadAll(FImage)), expected);
    EXPECT_EQ(FImage.CalcClusterSize({0, 1}, {1, 0}), 2);
}

TEST_F(ExtCardTest, EmptyCardAndEmptyContainer)
{
    FImage.StartAll();   // no entries
    TCardCluster cluster;
    EXPECT_FALSE(FImage.GetCluster(cluster));

    Make(Containers({0}));
    FImage.StartAll();
    EXPECT_EQ(FImage.GetClusterSize(), 0);
    EXPECT_FALSE(FImage.GetCluster(cluster));
}

TEST_F(ExtCardTest, EmptyOrShortContainerInTheMiddleDoesNotEndTheRead)
{
    // Containers: 2 clusters, empty, 700 bytes, 2 clusters.
    TCardDescription desc = Containers({2, 0, 0, 2}, {0, 0, 700});
    Make(desc);
    FImage.StartAll();
    const std::vector<TCardPosition> expected{{0, 0}, {0, 1}, {3, 0}, {3, 1}};
    EXPECT_EQ(Positions(ReadAll(FImage)), expected);
    FImage.StartFromTo({0, 1}, {3, 0});
    const std::vector<TCardPosition> stretch{{0, 1}, {3, 0}};
    EXPECT_EQ(Positions(ReadAll(FImage)), stretch);
    EXPECT_EQ(FImage.CalcClusterSize({0, 1}, {3, 0}), 2);
}

TEST_F(ExtCardTest, ContainerThatCannotBeOpenedRaisesTheFileError)
{
    Make(Containers({1, 1}));
    FImage.Add(new TExtCardInfo(FCard.Dir.File("qel5.dat")));
    try {
        FImage.StartAll();
        FAIL() << "no error";
    } catch (const plat::EFOpenError& error) {
        EXPECT_NE(std::string(error.what()).find("qel5.dat"), std::string::npos) << error.what();
    }
    TCardCluster cluster;
    EXPECT_FALSE(FImage.GetCluster(cluster));   // the image stays finished

    // A container that disappears after the sizes were taken fails when it is reached.
    FImage.Delete(2);
    FImage.StartAll();
    std::filesystem::remove(FCard.Manifest.Files[1]);
    EXPECT_TRUE(FImage.GetCluster(cluster));
    EXPECT_THROW(FImage.GetCluster(cluster), plat::EFOpenError);
    FImage.Finish();
    EXPECT_FALSE(FImage.GetCluster(cluster));
}

TEST_F(ExtCardTest, ContainerCutShortAfterTheSizesWereTakenRaisesAReadError)
{
    Make(Containers({3}));
    FImage.StartAll();
    std::filesystem::resize_file(FCard.Manifest.Files[0], 1536 + 10);
    TCardCluster cluster;
    EXPECT_THROW(
        {
            while (FImage.GetCluster(cluster)) {
            }
        },
        plat::EReadError);
    FImage.Finish();
}

// A container that is a pipe, a device or a folder (put there after it was
// chosen) fails at once with the open error naming it, whether it is met
// while the sizes are taken or later in the read; opening it never waits.
TEST_F(ExtCardTest, ContainerThatIsNoRegularFileRaisesTheFileErrorAtOnce)
{
    struct TCase {
        const char* name;
        void (*make)(const std::string& path);
    };
    const TCase cases[] = {
        {"a pipe", [](const std::string& path) { ASSERT_EQ(mkfifo(path.c_str(), 0600), 0); }},
        {"a device", [](const std::string& path) { std::filesystem::create_symlink("/dev/zero", path); }},
        {"a folder", [](const std::string& path) { std::filesystem::create_directory(path); }},
    };
    Make(Containers({1, 1}));
    const std::string second = FCard.Manifest.Files[1];
    const auto replace = [&](const TCase& each) {
        std::filesystem::remove(second);
        each.make(second);
    };
    // The read runs on a thread of its own, so that an open that waits
    // fails the test instead of holding it.
    const auto failsAtOnce = [&](auto read) {
        auto running = std::async(std::launch::async, [&] {
            try {
                read();
            } catch (const plat::EFOpenError& error) {
                return std::string(error.what());
            }
            return std::string("no error");
        });
        if (running.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
            close(open(second.c_str(), O_WRONLY | O_NONBLOCK));   // lets a waiting open of a pipe go on
            return std::string("the open waited");
        }
        return running.get();
    };
    for (const TCase& each : cases) {
        SCOPED_TRACE(each.name);
        FImage.Finish();
        std::filesystem::remove_all(second);
        Make(Containers({1, 1}));
        replace(each);
        std::string outcome = failsAtOnce([&] { FImage.StartAll(); });
        EXPECT_NE(outcome.find("qel1.dat"), std::string::npos) << outcome;

        std::filesystem::remove_all(second);
        Make(Containers({1, 1}));
        FImage.StartAll();
        replace(each);
        TCardCluster cluster;
        outcome = failsAtOnce([&] {
            while (FImage.GetCluster(cluster)) {
            }
        });
        EXPECT_NE(outcome.find("qel1.dat"), std::string::npos) << outcome;
    }
    FImage.Finish();
}

} // namespace
} // namespace qel
