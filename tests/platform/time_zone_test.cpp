// UTC offsets and conversions with the C library's zone rules.
#include "platform/time_zone.h"
#include "tests/support/scoped_time_zone.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace plat;

constexpr const char* BerlinRule = "CET-1CEST,M3.5.0,M10.5.0/3";

struct TOffsetCase {
    const char* Zone;
    TDateTimeParts Utc;
    std::int64_t Offset;
};

const TOffsetCase OffsetCases[] = {
    {"UTC", {2024, 7, 1, 12, 0, 0, 0}, 0},
    {"CET-1", {2024, 7, 1, 12, 0, 0, 0}, 3600},                 // one hour east, no daylight saving
    {"CET-1", {1950, 1, 1, 0, 0, 0, 0}, 3600},                  // before 1970
    {BerlinRule, {2024, 1, 15, 12, 0, 0, 0}, 3600},
    {BerlinRule, {2024, 7, 1, 12, 0, 0, 0}, 7200},
    {BerlinRule, {2024, 3, 31, 0, 59, 59, 999}, 3600},          // last moment before the change
    {BerlinRule, {2024, 3, 31, 1, 0, 0, 0}, 7200},
    {BerlinRule, {2024, 10, 27, 0, 59, 59, 0}, 7200},
    {BerlinRule, {2024, 10, 27, 1, 0, 0, 0}, 3600},
    {"EST5EDT,M3.2.0,M11.1.0", {2024, 1, 15, 12, 0, 0, 0}, -18000},
    {"EST5EDT,M3.2.0,M11.1.0", {2024, 7, 1, 12, 0, 0, 0}, -14400},
    {"IST-5:30", {2024, 7, 1, 12, 0, 0, 0}, 19800},
};

TEST(TimeZone, OffsetsFollowTheZoneRules)
{
    for (const auto& c : OffsetCases) {
        SCOPED_TRACE(testing::Message() << c.Zone << " " << c.Utc.Year << "-" << c.Utc.Month << "-" << c.Utc.Day
                                        << " " << c.Utc.Hour << ":" << c.Utc.Minute);
        qeltest::ScopedTimeZone zone(c.Zone);
        const TDateTime utc = EncodeDateTime(c.Utc);
        EXPECT_EQ(UtcOffsetSeconds(utc), c.Offset);
        EXPECT_EQ(DateTimeToUnixMs(UtcToLocal(utc)) - DateTimeToUnixMs(utc), c.Offset * 1000);
    }
}

TEST(TimeZone, SystemZoneDataIsUsed)
{
    if (!std::filesystem::exists("/usr/share/zoneinfo/Europe/Berlin"))
        GTEST_SKIP() << "no zone data installed";
    qeltest::ScopedTimeZone zone("Europe/Berlin");
    EXPECT_EQ(UtcOffsetSeconds(EncodeDateTime({2024, 1, 15, 12, 0, 0, 0})), 3600);
    EXPECT_EQ(UtcOffsetSeconds(EncodeDateTime({2024, 7, 1, 12, 0, 0, 0})), 7200);
    // The zone history, not only today's rule: no summer time from 1950 to 1979.
    EXPECT_EQ(UtcOffsetSeconds(EncodeDateTime({1975, 7, 1, 12, 0, 0, 0})), 3600);
}

TEST(TimeZone, LocalTimeKeepsTheMilliseconds)
{
    qeltest::ScopedTimeZone zone(BerlinRule);
    const TDateTimeParts local = DecodeDateTime(UtcToLocal(EncodeDateTime({2024, 7, 1, 23, 34, 56, 789})));
    EXPECT_EQ(local.Day, 2);
    EXPECT_EQ(local.Hour, 1);
    EXPECT_EQ(local.Minute, 34);
    EXPECT_EQ(local.Second, 56);
    EXPECT_EQ(local.MilliSecond, 789);
}

TEST(TimeZone, LocalToUtcInvertsAndResolvesTheChanges)
{
    qeltest::ScopedTimeZone zone(BerlinRule);
    const struct {
        TDateTimeParts Local;
        TDateTimeParts Utc;
    } cases[] = {
        {{2024, 1, 15, 13, 0, 0, 5}, {2024, 1, 15, 12, 0, 0, 5}},
        {{2024, 7, 1, 14, 0, 0, 0}, {2024, 7, 1, 12, 0, 0, 0}},
        {{2024, 10, 27, 2, 30, 0, 0}, {2024, 10, 27, 0, 30, 0, 0}},  // occurs twice: the earlier moment
        {{2024, 10, 27, 3, 30, 0, 0}, {2024, 10, 27, 2, 30, 0, 0}},
        {{2024, 3, 31, 2, 30, 0, 0}, {2024, 3, 31, 1, 30, 0, 0}},    // skipped: read with winter time
        {{2024, 3, 31, 3, 30, 0, 0}, {2024, 3, 31, 1, 30, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Local.Month << "-" << c.Local.Day << " " << c.Local.Hour << ":"
                                        << c.Local.Minute);
        EXPECT_EQ(DateTimeToUnixMs(LocalToUtc(EncodeDateTime(c.Local))), DateTimeToUnixMs(EncodeDateTime(c.Utc)));
    }
}

} // namespace
