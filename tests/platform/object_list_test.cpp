// The owning object list: which operations free their objects and which hand
// them back, index checks, and sorting.
#include "platform/object_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records the tags of destroyed items in a log the test owns.
struct TTracked {
    TTracked(int tag, std::vector<int>& log) : Tag(tag), Log(log) {}
    ~TTracked() { Log.push_back(Tag); }
    int Tag;
    std::vector<int>& Log;
};

TEST(ObjectList, OwningListFreesOnDeleteRemoveReplaceAndClear)
{
    std::vector<int> freed;
    {
        plat::TObjectList<TTracked> list;
        for (int tag = 0; tag < 5; ++tag) {
            EXPECT_EQ(list.Add(new TTracked(tag, freed)), tag);
        }
        list.Delete(1);
        EXPECT_EQ(freed, (std::vector<int>{1}));
        EXPECT_EQ(list.Remove(list[0]), 0);
        EXPECT_EQ(freed, (std::vector<int>{1, 0}));
        list.SetItem(0, new TTracked(7, freed));   // replaces tag 2
        EXPECT_EQ(freed, (std::vector<int>{1, 0, 2}));
        EXPECT_EQ(list.Count(), 3);
        EXPECT_EQ(list[0]->Tag, 7);
        EXPECT_EQ(list.Last()->Tag, 4);
        list.Clear();
        EXPECT_EQ(freed, (std::vector<int>{1, 0, 2, 4, 3, 7}));   // from the last to the first
        EXPECT_EQ(list.Count(), 0);
        list.Add(new TTracked(9, freed));
    }
    EXPECT_EQ(freed.back(), 9);   // the destructor frees what is left
}

TEST(ObjectList, ExtractAndNonOwningListFreeNothing)
{
    std::vector<int> freed;
    TTracked kept(1, freed);
    {
        plat::TObjectList<TTracked> refs(false);
        refs.Add(&kept);
        refs.Add(&kept);
        refs.Delete(0);
        refs.Clear();
    }
    EXPECT_TRUE(freed.empty());

    plat::TObjectList<TTracked> owning;
    auto* item = new TTracked(2, freed);
    owning.Add(item);
    EXPECT_EQ(owning.Extract(item), item);
    EXPECT_EQ(owning.Count(), 0);
    EXPECT_EQ(owning.Extract(item), nullptr);
    EXPECT_TRUE(freed.empty());
    delete item;
}

TEST(ObjectList, IndexErrorsRaiseAndFreeARejectedItem)
{
    std::vector<int> freed;
    plat::TObjectList<TTracked> list;
    list.Add(new TTracked(0, freed));
    EXPECT_THROW(list[1], plat::EListError);
    EXPECT_THROW(list[-1], plat::EListError);
    EXPECT_THROW(list.Delete(3), plat::EListError);
    EXPECT_THROW(list.Insert(5, new TTracked(5, freed)), plat::EListError);
    EXPECT_EQ(freed, (std::vector<int>{5}));   // an owning list never leaks what it refused
    list.Insert(0, new TTracked(6, freed));
    EXPECT_EQ(list.First()->Tag, 6);
    EXPECT_EQ(list.IndexOf(list[1]), 1);
    EXPECT_EQ(list.IndexOf(nullptr), -1);
}

TEST(ObjectList, SortIsStableWithAThreeWayComparer)
{
    struct TRow {
        int Key;
        std::string Name;
    };
    plat::TObjectList<TRow> list;
    for (const auto& [key, name] : std::vector<std::pair<int, std::string>>{
             {3, "a"}, {1, "b"}, {3, "c"}, {2, "d"}, {1, "e"}}) {
        list.Add(new TRow{key, name});
    }
    list.Sort([](const TRow* x, const TRow* y) { return x->Key - y->Key; });
    std::string order;
    for (const TRow* row : list) {
        order += row->Name;
    }
    EXPECT_EQ(order, "bedac");
}

} // namespace

namespace {

TEST(ObjectList, ExchangeMoveAndPackRearrangeWithoutFreeing)
{
    std::vector<int> freed;
    plat::TObjectList<TTracked> list;
    for (int tag = 0; tag < 4; ++tag) {
        list.Add(new TTracked(tag, freed));
    }
    list.Add(nullptr);
    list.Exchange(0, 3);
    list.Move(3, 1);   // tag 0 goes to index 1; tags 1 and 2 shift up
    list.Pack();
    std::vector<int> order;
    for (const TTracked* item : list) {
        order.push_back(item->Tag);
    }
    EXPECT_EQ(order, (std::vector<int>{3, 0, 1, 2}));
    EXPECT_TRUE(freed.empty());
    EXPECT_THROW(list.Move(0, 4), plat::EListError);
    EXPECT_THROW(list.Exchange(-1, 0), plat::EListError);
}

} // namespace
