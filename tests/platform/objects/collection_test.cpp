// Collections: index checks, moving items, nested updates, the
// notifications a header's columns rely on, assignment, and moves between
// collections of different item classes.
#include "platform/objects/collection.h"

#include "platform/object_list.h"
#include "tests/platform/objects/stream_test_classes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using stream_test::TTestItem;

// Records what the collection is told: updates and notifications, with
// the item's index at the time.
class TJournalCollection : public plat::TCollection {
public:
    explicit TJournalCollection(plat::TClass itemClass = TTestItem::StaticClass()) : TCollection(itemClass) {}

    std::vector<std::string> Journal;

protected:
    void Update(plat::TCollectionItem* item) override
    {
        Journal.push_back(item == nullptr ? "update all" : "update " + std::to_string(item->Index()));
    }
    void Notify(plat::TCollectionItem* item, plat::TCollectionNotification action) override
    {
        static const char* const kActions[] = {"added", "extracting", "deleting"};
        const auto* testItem = dynamic_cast<TTestItem*>(item);
        Journal.push_back(std::string(kActions[action]) + " " + std::to_string(item->Index()) + " " +
                          (testItem != nullptr ? testItem->Caption() : "?"));
    }
};

TTestItem* AddItem(plat::TCollection& collection, const std::string& caption)
{
    auto* item = static_cast<TTestItem*>(collection.Add());
    item->SetCaption(caption);
    return item;
}

std::string Captions(const plat::TCollection& collection)
{
    std::string text;
    for (int index = 0; index < collection.Count(); ++index) {
        text += static_cast<const TTestItem*>(collection.Items(index))->Caption();
    }
    return text;
}

TEST(Collection, ItemsOutsideTheRangeRaiseTheIndexError)
{
    TJournalCollection collection;
    AddItem(collection, "a");
    for (const int index : {-1, 1, 99}) {
        EXPECT_THROW(collection.Items(index), plat::EListError) << index;
        EXPECT_THROW(collection.Delete(index), plat::EListError) << index;
    }
    try {
        collection.Items(3);
    } catch (const plat::EListError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (3)");
    }
    EXPECT_THROW(collection.Items(0)->SetIndex(1), plat::EListError);
}

TEST(Collection, IndexMovesAnItemAndInsertPlacesIt)
{
    TJournalCollection collection;
    for (const char* caption : {"a", "b", "c", "d"}) {
        AddItem(collection, caption);
    }
    collection.Items(0)->SetIndex(2);
    EXPECT_EQ(Captions(collection), "bcad");
    collection.Items(3)->SetIndex(0);
    EXPECT_EQ(Captions(collection), "dbca");
    collection.Journal.clear();
    collection.Items(1)->SetIndex(1);   // where it is: nothing happens
    EXPECT_TRUE(collection.Journal.empty());

    static_cast<TTestItem*>(collection.Insert(1))->SetCaption("x");
    EXPECT_EQ(Captions(collection), "dxbca");
    static_cast<TTestItem*>(collection.Insert(5))->SetCaption("y");
    EXPECT_EQ(Captions(collection), "dxbcay");
    EXPECT_THROW(collection.Insert(7), plat::EListError);
    EXPECT_EQ(collection.Count(), 6);

    const int id = collection.Items(2)->ID();
    EXPECT_EQ(collection.FindItemID(id), collection.Items(2));
    EXPECT_EQ(collection.FindItemID(999), nullptr);
}

TEST(Collection, UpdatesNestAndTheWholeCollectionUpdatesOnceAtTheEnd)
{
    TJournalCollection collection;
    AddItem(collection, "a");
    collection.Journal.clear();
    collection.BeginUpdate();
    collection.BeginUpdate();
    AddItem(collection, "b");
    collection.Items(0)->SetIndex(1);
    collection.Delete(0);
    collection.EndUpdate();
    EXPECT_EQ(collection.UpdateCount(), 1);
    collection.EndUpdate();
    EXPECT_EQ(collection.Journal, (std::vector<std::string>{"added 1 ", "deleting 0 b", "update all"}));
}

TEST(Collection, NotifyTellsOfAddedAndLeavingItemsWhileTheyStand)
{
    TJournalCollection collection;
    TJournalCollection other;
    AddItem(collection, "a");
    AddItem(collection, "b");
    AddItem(collection, "c");
    collection.Delete(1);
    collection.Items(1)->SetCollection(&other);   // moved: extracting here, added there
    delete collection.Items(0);                   // freed directly
    EXPECT_EQ(collection.Journal,
              (std::vector<std::string>{"added 0 ", "update all", "added 1 ", "update all", "added 2 ", "update all",
                                        "deleting 1 b", "update all", "extracting 1 c", "update all", "deleting 0 ?",
                                        "update all"}));
    EXPECT_EQ(other.Journal, (std::vector<std::string>{"added 0 c", "update all"}));
    EXPECT_EQ(collection.Count(), 0);
    EXPECT_EQ(Captions(other), "c");

    other.Journal.clear();
    other.Clear();
    EXPECT_EQ(other.Journal, (std::vector<std::string>{"deleting 0 c", "update all"}));
}

TEST(Collection, AssignCopiesItemByItem)
{
    TJournalCollection source;
    AddItem(source, "a")->SetWidth(7);
    AddItem(source, "b")->Font()->SetSize(30);
    TJournalCollection target;
    AddItem(target, "old");
    target.Journal.clear();
    target.Assign(&source);
    EXPECT_EQ(Captions(target), "ab");
    EXPECT_EQ(static_cast<TTestItem*>(target.Items(0))->Width(), 7);
    EXPECT_EQ(static_cast<TTestItem*>(target.Items(1))->Font()->Size(), 30);
    EXPECT_NE(target.Items(0), source.Items(0));
    EXPECT_EQ(std::count(target.Journal.begin(), target.Journal.end(), "update all"), 1);

    stream_test::TTestFont font;
    EXPECT_THROW(target.Assign(&font), plat::EAssignError);
}

// An item class of its own, for collections that take no other.
class TOtherItem : public plat::TCollectionItem {
    PLAT_CLASS(TOtherItem, plat::TCollectionItem)
public:
    using TCollectionItem::TCollectionItem;
};

PLAT_DEFINE_CLASS(TOtherItem, plat::TCollectionItem)

TEST(Collection, MovingAnItemToAnIncompatibleCollectionChangesNothing)
{
    TJournalCollection tests;
    TJournalCollection others(TOtherItem::StaticClass());
    TTestItem* item = AddItem(tests, "a");
    tests.Journal.clear();
    EXPECT_THROW(item->SetCollection(&others), plat::EInvalidCast);
    EXPECT_EQ(item->Collection(), &tests);
    EXPECT_EQ(item->Index(), 0);
    EXPECT_EQ(others.Count(), 0);
    EXPECT_TRUE(tests.Journal.empty());
    EXPECT_THROW(others.Add(TTestItem::StaticClass()), plat::EInvalidCast);
    EXPECT_EQ(others.Count(), 0);

    item->SetCollection(nullptr);   // leaves; the caller owns it now
    EXPECT_EQ(tests.Count(), 0);
    EXPECT_EQ(item->Index(), -1);
    delete item;
}

TEST(Collection, NamePathsFollowTheOwner)
{
    stream_test::TTestWidget widget(nullptr);
    widget.SetName("Grid1");
    widget.Items()->Add();
    widget.Items()->Add();
    EXPECT_EQ(widget.Items()->GetNamePath(), "Grid1.Items");
    EXPECT_EQ(widget.Items()->Items(1)->GetNamePath(), "Grid1.Items[1]");
    EXPECT_EQ(widget.Items()->Items(1)->DisplayName(), "TTestItem");
}

} // namespace
