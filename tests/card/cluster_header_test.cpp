// Tests of the cluster header parse on clusters laid out by the card generator.
#include "card/cluster_header.h"
#include "card_fixture.h"
#include "tests/support/scoped_time_zone.h"
#include "tools/cardgen/card_description.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace qel {
namespace {

using cardgen::TRecordingDescription;

TCardCluster ToCluster(const cardgen::TClusterBytes& bytes)
{
    TCardCluster cluster;
    std::copy(bytes.begin(), bytes.end(), cluster.begin());
    return cluster;
}

TRecordingDescription Recording(std::uint16_t model, std::uint16_t pcVersion, std::uint64_t timeUnits)
{
    TRecordingDescription recording;
    recording.Logger = {model, 0x0102, pcVersion, 0xA1B2C3D4, {}};
    recording.FirstPageNo = 77;
    recording.StartPageNo = 70;
    recording.StartTimeUnits = timeUnits;
    return recording;
}

TEST(ClusterHeader, ParseOutcomeCodes)
{
    const TCardCluster valid = ToCluster(cardgen::BuildRecordingCluster(Recording(0x6606, 0x0200, 5), 0));
    const struct {
        const char* name;
        std::size_t at;
        std::uint8_t value;
        std::int32_t code;
    } cases[] = {
        {"valid", 0, 0x01, CLUSTER_OK},
        {"start mark", 0, 0x02, CLUSTER_BAD_START_MARK},
        {"start mark high byte", 1, 0xE3, CLUSTER_BAD_START_MARK},
        {"kind 0x83", 474, 0x83, CLUSTER_BAD_KIND},
        {"kind 0x00", 474, 0x00, CLUSTER_BAD_KIND},
        {"kind 0x02", 474, 0x02, CLUSTER_OK},
        {"kind 0x84", 474, 0x84, CLUSTER_OK},
        {"end mark", 1534, 0x01, CLUSTER_BAD_END_MARK},
        {"end mark high byte", 1535, 0xE1, CLUSTER_BAD_END_MARK},
    };
    for (const auto& c : cases) {
        TCardCluster cluster = valid;
        cluster[c.at] = c.value;
        TCardClusterInfo info;
        EXPECT_EQ(ParseClusterHeader(cluster, info), c.code == CLUSTER_OK) << c.name;
        EXPECT_EQ(info.Code, c.code) << c.name;
    }
    // The first failing test decides: a wrong start mark hides a wrong kind.
    TCardCluster both = valid;
    both[0] = 0;
    both[474] = 0x83;
    TCardClusterInfo info;
    EXPECT_FALSE(ParseClusterHeader(both, info));
    EXPECT_EQ(info.Code, CLUSTER_BAD_START_MARK);
}

TEST(ClusterHeader, PageTimeZeroIsInvalid)
{
    TCardClusterInfo info;
    EXPECT_FALSE(ParseClusterHeader(ToCluster(cardgen::BuildRecordingCluster(Recording(0x6606, 0x0200, 0), 0)), info));
    EXPECT_EQ(info.Code, CLUSTER_NO_TIME);
    EXPECT_EQ(info.Page, 77);   // the header was read all the same
}

TEST(ClusterHeader, IdentityFlagsAndPagesAreCopied)
{
    TRecordingDescription recording = Recording(0x6606, 0x0131, 9);
    recording.ShockPages = true;
    TCardClusterInfo info;
    info.ErrLastPage = 123;
    info.ErrLastTime = 456;
    ASSERT_TRUE(ParseClusterHeader(ToCluster(cardgen::BuildRecordingCluster(recording, 0)), info));
    EXPECT_EQ(info.QEL_CLASS, 0x6606);
    EXPECT_EQ(info.QEL_VER, 0x0102);
    EXPECT_EQ(info.QEL_VER_PC, 0x0131);
    EXPECT_EQ(info.QEL_SN, 0xA1B2C3D4u);
    EXPECT_TRUE(info.bStart);
    EXPECT_TRUE(info.bShock);
    EXPECT_EQ(info.Time, 9000);
    EXPECT_EQ(info.StartPage, 70);
    EXPECT_EQ(info.Page, 77);
    EXPECT_EQ(info.ErrLastPage, 123);   // left to the repeated-cluster test
    EXPECT_EQ(info.ErrLastTime, 456);

    ASSERT_TRUE(ParseClusterHeader(ToCluster(cardgen::BuildRecordingCluster(Recording(0x6606, 0x0131, 9), 1)), info));
    EXPECT_FALSE(info.bStart);
    EXPECT_FALSE(info.bShock);
    EXPECT_EQ(info.Page, 78);
}

TEST(ClusterHeader, PageNumberIsTheUpperThirteenBitsOfTheWord)
{
    const TCardCluster base = ToCluster(cardgen::BuildRecordingCluster(Recording(0x6606, 0x0200, 1), 0));
    const struct {
        std::uint8_t high, low;
        std::uint16_t page;
    } cases[] = {{0xFF, 0xF8, 8191}, {0xFF, 0xFF, 8191}, {0x00, 0x08, 1}, {0x00, 0x07, 0}, {0x80, 0x00, 4096}};
    for (const auto& c : cases) {
        TCardCluster cluster = base;
        cluster[475] = c.high;
        cluster[476] = c.low;
        TCardClusterInfo info;
        ASSERT_TRUE(ParseClusterHeader(cluster, info));
        EXPECT_EQ(info.Page, c.page) << int(c.high) << " " << int(c.low);
    }
}

TEST(ClusterHeader, TimeUnitFollowsTheModel)
{
    // The same page header bytes under different model codes.
    const struct {
        std::uint16_t model, pcVersion;
        std::int64_t ticks;
    } cases[] = {
        {0x6606, 0x0200, 10000000},
        {0x6607, 0x0100, 10000000},
        {0x6601, 0x0305, 20000000},
        {0x6601, 0x0500, 20000000},
        {0x1234, 0x0100, 10000000},
    };
    for (const auto& c : cases) {
        TCardClusterInfo info;
        ASSERT_TRUE(ParseClusterHeader(ToCluster(cardgen::BuildRecordingCluster(Recording(c.model, c.pcVersion, 10000), 0)), info));
        EXPECT_EQ(info.Time, c.ticks) << std::hex << c.model;
    }
}

TEST(ClusterHeader, Qel629cRecordTimesAreLocal)
{
    const qeltest::ScopedTimeZone zone("XXX-1");   // one hour east of UTC, no daylight saving
    TCardClusterInfo info;
    ASSERT_TRUE(ParseClusterHeader(ToCluster(cardgen::BuildRecordingCluster(Recording(0x6601, 0x0600, 10000), 0)), info));
    EXPECT_EQ(info.Time, 20000000 + 3686400000);
    // The QEL629 below 6.00 keeps local time in the logger.
    ASSERT_TRUE(ParseClusterHeader(ToCluster(cardgen::BuildRecordingCluster(Recording(0x6601, 0x0305, 10000), 0)), info));
    EXPECT_EQ(info.Time, 20000000);
}

} // namespace
} // namespace qel
