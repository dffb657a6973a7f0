// Tests of the record classes and the record list: selection walk, value
// budget and the sort by serial number and start time.
#include "card/card_records.h"
#include "card_fixture.h"
#include "tests/support/scoped_time_zone.h"

#include <gtest/gtest.h>


namespace qel {
namespace {

TCardRecord* AddRecord(TRecInfoList& list, std::uint32_t serial, std::int64_t firstTime, bool selected = false)
{
    auto* record = new TCardRecord;
    record->SN_CARD = serial;
    record->FFirstTime = firstTime;
    record->Selected = selected;
    list.Add(record);
    return record;
}

TEST(RecInfoList, MaximumIsAtLeastThousandAndTheBudgetStopsAtZero)
{
    const struct {
        std::uint32_t max, expected;
    } cases[] = {{0, 1000}, {999, 1000}, {1000, 1000}, {1001, 1001}};
    for (const auto& c : cases) {
        TRecInfoList list;
        list.SetMaxSize(c.max);
        list.InitSize();
        for (std::uint32_t i = 1; i < c.expected; ++i) {
            list.DecSize();
        }
        EXPECT_FALSE(list.IsFullSize()) << c.max;
        list.DecSize();
        EXPECT_TRUE(list.IsFullSize()) << c.max;
        list.DecSize();   // never wraps below 0
        EXPECT_TRUE(list.IsFullSize()) << c.max;
        list.InitSize();
        EXPECT_FALSE(list.IsFullSize()) << c.max;
    }
}

TEST(RecInfoList, SelectionWalkVisitsSelectedRecordsInListOrder)
{
    TRecInfoList list;
    EXPECT_FALSE(list.Start());
    for (int i = 0; i < 5; ++i) {
        AddRecord(list, 1, i);
    }
    EXPECT_FALSE(list.Start());
    list.GetItem(4)->Selected = true;
    ASSERT_TRUE(list.Start());
    EXPECT_EQ(list.GetCurrent(), list.GetItem(4));
    EXPECT_FALSE(list.Next());
    EXPECT_FALSE(list.Next());   // stays over

    list.GetItem(1)->Selected = true;
    list.GetItem(3)->Selected = true;
    std::vector<TRecInfo*> visited;
    for (bool more = list.Start(); more; more = list.Next()) {
        visited.push_back(list.GetCurrent());
    }
    EXPECT_EQ(visited, (std::vector<TRecInfo*>{list.GetItem(1), list.GetItem(3), list.GetItem(4)}));
    EXPECT_EQ(list.FindSelected(2), 3);
    EXPECT_EQ(list.FindSelected(5), -1);
    EXPECT_EQ(list.FindSelected(99), -1);
}

TEST(RecInfoList, SortBySerialThenStartTimeAfterNumbering)
{
    TRecInfoList list;
    TCardRecord* seven = AddRecord(list, 7, 100);
    TCardRecord* fiveLate = AddRecord(list, 5, 300);
    TCardRecord* fiveEarly = AddRecord(list, 5, -50);   // signed comparison
    TCardRecord* highSerial = AddRecord(list, 0xFFFFFFFF, 0);   // unsigned comparison
    list.sortByTime();
    EXPECT_EQ(list.GetItem(0), fiveEarly);
    EXPECT_EQ(list.GetItem(1), fiveLate);
    EXPECT_EQ(list.GetItem(2), seven);
    EXPECT_EQ(list.GetItem(3), highSerial);
    EXPECT_EQ(seven->Pos, 0);
    EXPECT_EQ(fiveLate->Pos, 1);
    EXPECT_EQ(fiveEarly->Pos, 2);
    EXPECT_EQ(highSerial->Pos, 3);
}

TEST(RecInfoQEL, PageCountStartTimeAndUtc)
{
    TRecInfoQEL record;
    record.SetInfo(10, 19, 3, TICKS_PER_DAY, 5, true);
    EXPECT_EQ(record.GetPageCount(), 10u);
    EXPECT_EQ(record.FStartPage, 3u);
    EXPECT_EQ(record.FLastPageTime, 5);
    EXPECT_TRUE(record.QShockExt);
    EXPECT_DOUBLE_EQ(record.GetStartTime(), 1.0);

    const qeltest::ScopedTimeZone zone("XXX-1");
    record.calcUtc(true);
    EXPECT_TRUE(record.getUtc().bEnabled);
    EXPECT_EQ(record.getUtc().Offset, 3686400000);
    EXPECT_DOUBLE_EQ(record.GetStartTime(), 1.0 + 1.0 / 24);
    record.calcUtc(false);
    EXPECT_FALSE(record.getUtc().bEnabled);
    EXPECT_EQ(record.getUtc().Offset, 0);
}

} // namespace
} // namespace qel
