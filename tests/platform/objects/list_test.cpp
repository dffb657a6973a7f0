// The plain pointer list and the thread-shared list.
#include "platform/objects/list.h"
#include "platform/objects/thread_list.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

TEST(List, OwnsNothingAndChecksIndexes)
{
    int a = 1;
    int b = 2;
    int c = 3;
    {
        plat::TList<int> list;
        list.Add(&a);
        list.Add(&b);
        list.Add(nullptr);
        list.Add(&c);
        list.Pack();
        EXPECT_EQ(list.Count(), 3);
        list.Move(0, 2);
        EXPECT_EQ(list[2], &a);
        list.Exchange(0, 1);
        EXPECT_EQ(list[0], &c);
        EXPECT_TRUE(list.Contains(&b));
        list.Remove(&b);
        EXPECT_FALSE(list.Contains(&b));
        EXPECT_THROW(list[2], plat::EListError);
        EXPECT_THROW(list.Move(0, 5), plat::EListError);
        try {
            list.Delete(7);
            FAIL() << "no error";
        } catch (const plat::EListError& e) {
            EXPECT_STREQ(e.what(), "List index out of bounds (7)");
        }
    }
    EXPECT_EQ(a + b + c, 6);   // nothing was freed (freeing stack objects would crash)
}

TEST(ThreadList, AddsOnceFromManyThreads)
{
    plat::TThreadList<int> shared;
    std::vector<int> values(64);
    std::vector<std::jthread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&shared, &values] {
            for (int& value : values) {
                shared.Add(&value);   // every thread offers every item
            }
        });
    }
    threads.clear();
    plat::TList<int>& list = shared.LockList();
    EXPECT_EQ(list.Count(), 64);
    shared.UnlockList();

    shared.Duplicates = plat::dupError;
    EXPECT_THROW(shared.Add(&values[0]), plat::EListError);
    shared.Duplicates = plat::dupAccept;
    shared.Add(&values[0]);
    shared.Remove(&values[0]);
    EXPECT_EQ(shared.LockList().IndexOf(&values[0]), 63);
    shared.UnlockList();
}

} // namespace
