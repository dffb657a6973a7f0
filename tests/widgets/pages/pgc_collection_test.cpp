// Tests of component collections: items that join their owner's collection
// as they are built, index order, insertion, deletion, names, the change
// notification (only under a form), moving items between collections, and
// the items streamed as the owner's children.
#include "tests/widgets/pages/pgc_form_fixture.h"

#include "widgets/pages/pgc_collectible.h"
#include "widgets/pages/pgc_collection.h"
#include "widgets/pages/pgc_collection_streamer.h"

#include "platform/objects/class_registry.h"
#include "platform/objects/reader.h"
#include "platform/objects/writer.h"
#include "platform/object_list.h"
#include "platform/streams.h"

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace qel {
namespace {

class TTestItem : public TPgcCollectible {
    PLAT_CLASS(TTestItem, TPgcCollectible)
public:
    explicit TTestItem(plat::TComponent* owner) : TPgcCollectible(owner, StaticClass()) {}
};

class TSpecialItem : public TTestItem {
    PLAT_CLASS(TSpecialItem, TTestItem)
public:
    explicit TSpecialItem(plat::TComponent* owner) : TTestItem(owner) {}
};

class TOtherItem : public TPgcCollectible {
    PLAT_CLASS(TOtherItem, TPgcCollectible)
public:
    explicit TOtherItem(plat::TComponent* owner) : TPgcCollectible(owner, StaticClass()) {}
};

class TStrayItem : public TPgcCollectible {
    PLAT_CLASS(TStrayItem, TPgcCollectible)
public:
    explicit TStrayItem(plat::TComponent* owner) : TPgcCollectible(owner, StaticClass()) {}
};

// A component with two collections, counting their change notifications.
class TTwoCollections : public TPgcComponent {
    PLAT_CLASS(TTwoCollections, TPgcComponent)
public:
    explicit TTwoCollections(plat::TComponent* owner) : TPgcComponent(owner)
    {
        Items->OnChanged = plat::TNotifyEvent([this](plat::TObject*) { ++ItemChanges; });
        Others->OnChanged = plat::TNotifyEvent([this](plat::TObject*) { ++OtherChanges; });
    }
    ~TTwoCollections() override
    {
        Others.reset();
        Items.reset();
    }

    std::unique_ptr<TPgcCollection> Items = std::make_unique<TPgcCollection>(this, TTestItem::StaticClass());
    std::unique_ptr<TPgcCollection> Others = std::make_unique<TPgcCollection>(this, TOtherItem::StaticClass());
    int ItemChanges = 0;
    int OtherChanges = 0;
};

class TTestPage : public TPgcCollectibleControl {
    PLAT_CLASS(TTestPage, TPgcCollectibleControl)
public:
    explicit TTestPage(plat::TComponent* owner) : TPgcCollectibleControl(owner, StaticClass()) {}
};

// A windowed owner of pages, as the notebook is.
class TPageOwner : public TPgcCustomControl {
    PLAT_CLASS(TPageOwner, TPgcCustomControl)
public:
    explicit TPageOwner(plat::TComponent* owner) : TPgcCustomControl(owner)
    {
        Pages->OnChanged = plat::TNotifyEvent([this](plat::TObject*) { ++Changes; });
    }
    ~TPageOwner() override { Pages.reset(); }

    std::unique_ptr<TPgcCollection> Pages = std::make_unique<TPgcCollection>(this, TTestPage::StaticClass());
    int Changes = 0;
};

PLAT_DEFINE_CLASS(TTestItem, TPgcCollectible)
PLAT_DEFINE_CLASS(TSpecialItem, TTestItem)
PLAT_DEFINE_CLASS(TOtherItem, TPgcCollectible)
PLAT_DEFINE_CLASS(TStrayItem, TPgcCollectible)
PLAT_DEFINE_CLASS(TTwoCollections, TPgcComponent)
PLAT_DEFINE_CLASS(TTestPage, TPgcCollectibleControl)
PLAT_DEFINE_CLASS(TPageOwner, TPgcCustomControl)

std::vector<std::string> NamesOf(const TPgcCollection& collection)
{
    std::vector<std::string> names;
    for (int index = 0; index < collection.Count(); ++index) {
        names.push_back(collection.GetItem(index)->Name());
    }
    return names;
}

void NameItems(const TPgcCollection& collection, const std::string& stem)
{
    for (int index = 0; index < collection.Count(); ++index) {
        collection.GetItem(index)->SetName(stem + std::to_string(index));
    }
}

// The message of the error step raises; empty when it raises none.
template <class TStep>
std::string ErrorOf(TStep step)
{
    try {
        step();
    } catch (const std::exception& error) {
        return error.what();
    }
    return "";
}

class PgcCollection : public test::TPgcFormTest {
protected:
    PgcCollection()
    {
        plat::RegisterClasses({TTestItem::StaticClass(), TSpecialItem::StaticClass(), TOtherItem::StaticClass(),
                               TTestPage::StaticClass()});
        OnForm = new TTwoCollections(Form);
        OnForm->SetName("Owner1");
    }

    TTwoCollections* OnForm = nullptr;
};

TEST_F(PgcCollection, ItemsJoinTheCollectionOfTheirClass)
{
    TTestItem direct(OnForm);
    auto* special = new TSpecialItem(OnForm);
    auto* other = new TOtherItem(OnForm);
    EXPECT_EQ(direct.Collection(), OnForm->Items.get());
    EXPECT_EQ(special->Collection(), OnForm->Items.get()) << "a descendant of the item class";
    EXPECT_EQ(other->Collection(), OnForm->Others.get());
    EXPECT_EQ(OnForm->Items->Count(), 2);
    EXPECT_EQ(special->Index(), 1);
    EXPECT_EQ(special->DisplayText(), "TSpecialItem");
    EXPECT_EQ(OnForm->ItemChanges, 0) << "joining is no change";
    delete special;
    EXPECT_EQ(OnForm->Items->Count(), 1) << "a freed item leaves";
    EXPECT_EQ(OnForm->Items->Owner(), OnForm);
    EXPECT_EQ(OnForm->Items->ItemClass(), TTestItem::StaticClass());
    EXPECT_EQ(other->Owner(), OnForm) << "items are the owner's components";
}

TEST_F(PgcCollection, ItemsOfOwnersThatCannotTakeThemRaise)
{
    TPgcComponent noCollections(nullptr);
    plat::TComponent plain(nullptr);
    const struct {
        const char* What;
        std::function<void()> Step;
        const char* Message;
    } cases[] = {
        {"no collection takes the class", [this] { TStrayItem item(OnForm); },
         "No collection found for this type"},
        {"an owner without collections", [&] { TTestItem item(&noCollections); },
         "No collection exists in the owner component"},
        {"an owner of another kind", [&] { TTestItem item(&plain); },
         "Owner must be a TPgcComponent or TPgcCustomComponent descendant"},
        {"no owner", [] { TTestItem item(nullptr); },
         "Owner must be a TPgcComponent or TPgcCustomComponent descendant"},
        {"a collection of another kind of owner", [&] { TPgcCollection collection(&plain, TTestItem::StaticClass()); },
         "Owner must be a TPgcComponent or TPgcCustomComponent descendant"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorOf(c.Step), c.Message) << c.What;
    }
    EXPECT_EQ(OnForm->ComponentCount(), 0) << "a refused item leaves its owner";
    TPgcCollection unset(&noCollections, nullptr);
    EXPECT_EQ(ErrorOf([&] { unset.Add(); }), "Item class not set");
}

TEST_F(PgcCollection, OnChangedFiresOnlyUnderAForm)
{
    TTwoCollections loose(nullptr);
    loose.Items->Add();
    loose.Items->Insert(0);
    loose.Items->Delete(0);
    loose.Items->Delete(-1);
    EXPECT_EQ(loose.Items->Count(), 1);
    EXPECT_EQ(loose.ItemChanges, 0);
    EXPECT_EQ(loose.Items->ParentForm(), nullptr);

    TTwoCollections nested(OnForm);
    nested.Items->Add();
    EXPECT_EQ(nested.Items->ParentForm(), Form) << "a form among the owner's owners";
    EXPECT_EQ(nested.ItemChanges, 1);

    OnForm->Items->Add();
    EXPECT_EQ(OnForm->ItemChanges, 1);
    OnForm->Items->Delete(-1);
    OnForm->Items->Delete(5);
    EXPECT_EQ(OnForm->Items->Count(), 1) << "nothing freed";
    EXPECT_EQ(OnForm->ItemChanges, 3) << "but notified";
    EXPECT_EQ(OnForm->OtherChanges, 0);
}

TEST_F(PgcCollection, InsertPutsTheNewItemAtItsIndex)
{
    for (int i = 0; i < 3; ++i) {
        OnForm->Items->Add();
    }
    NameItems(*OnForm->Items, "Old");
    OnForm->Items->Insert(99)->SetName("Far");
    EXPECT_EQ(NamesOf(*OnForm->Items), (std::vector<std::string>{"Old0", "Old1", "Old2", "Far"}));
    OnForm->Items->Insert(1)->SetName("Second");
    EXPECT_EQ(NamesOf(*OnForm->Items), (std::vector<std::string>{"Old0", "Second", "Old1", "Old2", "Far"}));
    OnForm->Items->Insert(-3)->SetName("Last");
    EXPECT_EQ(OnForm->Items->GetItem(5)->Name(), "Last");
}

TEST_F(PgcCollection, IndexMovesAnItemAndNotifiesOnlyOnAChange)
{
    for (int i = 0; i < 3; ++i) {
        OnForm->Items->Add();
    }
    NameItems(*OnForm->Items, "I");
    auto* item = dynamic_cast<TTestItem*>(OnForm->Items->GetItem(2));
    const int before = OnForm->ItemChanges;
    item->SetIndex(2);
    EXPECT_EQ(OnForm->ItemChanges, before);
    item->SetIndex(0);
    EXPECT_EQ(NamesOf(*OnForm->Items), (std::vector<std::string>{"I2", "I0", "I1"}));
    EXPECT_EQ(OnForm->ItemChanges, before + 1);
    EXPECT_THROW(item->SetIndex(3), plat::EListError);
    EXPECT_THROW(item->SetIndex(-1), plat::EListError);
    EXPECT_THROW(OnForm->Items->GetItem(3), plat::EListError);
}

TEST_F(PgcCollection, ItemByNameComparesCase)
{
    OnForm->Items->Add()->SetName("Page1");
    EXPECT_EQ(OnForm->Items->ItemByName("Page1"), OnForm->Items->GetItem(0));
    EXPECT_EQ(OnForm->Items->ItemByName("page1"), nullptr);
    EXPECT_EQ(OnForm->Items->ItemByName(""), nullptr);
}

TEST_F(PgcCollection, ClearAndDestructionFreeTheItems)
{
    for (int i = 0; i < 3; ++i) {
        OnForm->Items->Add();
    }
    NameItems(*OnForm->Items, "I");
    OnForm->Items->Clear();
    EXPECT_EQ(OnForm->Items->Count(), 0);
    EXPECT_EQ(OnForm->ComponentCount(), 0);
    OnForm->Others->Add();
    delete OnForm;
    OnForm = nullptr;
    EXPECT_EQ(Form->FindComponent("Owner1"), nullptr);
}

TEST_F(PgcCollection, AnItemMovesOnlyIntoACollectionItFits)
{
    auto* item = dynamic_cast<TTestItem*>(OnForm->Items->Add());
    OnForm->Items->Add();
    TTwoCollections second(OnForm);
    second.Items->Add();
    const std::string error = ErrorOf([&] { item->SetCollection(second.Others.get()); });
    EXPECT_EQ(error, "Item incompatible with collection");
    EXPECT_EQ(item->Collection(), OnForm->Items.get()) << "nothing changed";
    EXPECT_EQ(item->Index(), 0);
    EXPECT_EQ(OnForm->Items->Count(), 2);
    EXPECT_EQ(second.Others->Count(), 0);

    item->SetCollection(second.Items.get());
    EXPECT_EQ(OnForm->Items->Count(), 1);
    EXPECT_EQ(item->Collection(), second.Items.get());
    EXPECT_EQ(item->Index(), 1);
    item->SetCollection(nullptr);
    EXPECT_EQ(item->Index(), -1);
    EXPECT_EQ(second.Items->Count(), 1);
    delete item;   // in no collection: nothing to leave
}

TEST_F(PgcCollection, ANotificationDuringOnChangedIsDropped)
{
    int calls = 0;
    OnForm->Items->OnChanged = plat::TNotifyEvent([&](plat::TObject* sender) {
        ++calls;
        static_cast<TPgcCollection*>(sender)->Delete(-1);
    });
    OnForm->Items->Add();
    EXPECT_EQ(calls, 1);
}

TEST_F(PgcCollection, RenamingAWindowedItemIsAChange)
{
    auto* owner = new TPageOwner(Form);
    owner->SetParent(Form);
    auto* page = dynamic_cast<TTestPage*>(owner->Pages->Add());
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(owner->Changes, 1);
    page->SetName("PageA");
    EXPECT_EQ(owner->Changes, 2);
    EXPECT_EQ(page->DisplayText(), "TTestPage");
    owner->Pages->Insert(0);
    EXPECT_EQ(page->Index(), 1);
}

TEST_F(PgcCollection, EditorCaptionAndItemSelection)
{
    EXPECT_EQ(OnForm->Items->GetEditorCaption(), "Editing TPgcCollection");
    OnForm->Items->OnGetEditorCaption = TPgcGetEditorCaption([](std::string& caption) { caption += "!"; });
    EXPECT_EQ(OnForm->Items->GetEditorCaption(), "Editing TPgcCollection!");
    int selected = -1;
    OnForm->Items->OnItemSelected = TPgcItemSelectedEvent([&selected](plat::TObject*, int index) { selected = index; });
    OnForm->Items->DoOnItemSelected(4);
    EXPECT_EQ(selected, 4);
}

// Children as the filer sees them.
std::vector<std::string> ChildrenOf(plat::TComponent& owner)
{
    std::vector<std::string> names;
    owner.GetChildren([&names](plat::TComponent* child) { names.push_back(child->Name()); }, &owner);
    return names;
}

TEST_F(PgcCollection, StoredCollectionsGiveTheOwnersChildren)
{
    OnForm->Items->Add()->SetName("I0");
    OnForm->Others->Add()->SetName("O0");
    OnForm->Items->Add()->SetName("I1");
    EXPECT_EQ(ChildrenOf(*OnForm), (std::vector<std::string>{"I0", "I1", "O0"}));
    EXPECT_EQ(OnForm->GetChildOwner(), OnForm);
    OnForm->Items->SetStored(false);
    EXPECT_EQ(ChildrenOf(*OnForm), (std::vector<std::string>{"O0"}));
    OnForm->Others->SetStored(false);
    EXPECT_TRUE(ChildrenOf(*OnForm).empty());
}

TEST_F(PgcCollection, ItemsComeBackThroughTheFilerInOrder)
{
    for (int i = 0; i < 3; ++i) {
        OnForm->Items->Add();
    }
    NameItems(*OnForm->Items, "I");
    dynamic_cast<TTestItem*>(OnForm->Items->GetItem(2))->SetIndex(0);
    OnForm->Others->Add()->SetName("O0");
    plat::TMemoryStream stream;
    plat::TWriter writer(stream);
    writer.WriteRootComponent(OnForm);
    stream.SetPosition(0);
    OnForm->SetName("Original");   // the copy takes the name

    auto* copy = new TTwoCollections(Form);
    plat::TReader reader(stream);
    reader.ReadRootComponent(copy);
    EXPECT_EQ(NamesOf(*copy->Items), (std::vector<std::string>{"I2", "I0", "I1"}));
    EXPECT_EQ(NamesOf(*copy->Others), (std::vector<std::string>{"O0"}));
    for (int index = 0; index < copy->Items->Count(); ++index) {
        EXPECT_EQ(copy->Items->GetItem(index)->Owner(), copy) << index;
    }
    EXPECT_EQ(copy->ItemChanges, 1) << "the loaded step, once per collection";
    EXPECT_EQ(copy->OtherChanges, 1);
    EXPECT_TRUE(copy->Items->IsLoaded());
    EXPECT_FALSE(copy->Items->InLoaded());
}

TEST_F(PgcCollection, WindowedItemsComeBackAsChildControls)
{
    auto* owner = new TPageOwner(Form);
    owner->SetName("Book1");
    owner->SetParent(Form);
    owner->Pages->Add()->SetName("PageA");
    owner->Pages->Add()->SetName("PageB");
    plat::TMemoryStream stream;
    plat::TWriter writer(stream);
    writer.WriteRootComponent(owner);
    stream.SetPosition(0);
    owner->SetName("Original");

    auto* copy = new TPageOwner(Form);
    copy->SetParent(Form);
    plat::TReader reader(stream);
    reader.ReadRootComponent(copy);
    ASSERT_EQ(NamesOf(*copy->Pages), (std::vector<std::string>{"PageA", "PageB"}));
    EXPECT_EQ(copy->Pages->GetItem(1)->Owner(), copy);
    EXPECT_EQ(copy->Changes, 1) << "renaming while loading is no change; the loaded step is";
}

TEST_F(PgcCollection, AnUnstoredCollectionStreamsNoItems)
{
    OnForm->Items->Add()->SetName("I0");
    OnForm->Items->SetStored(false);
    plat::TMemoryStream stream;
    plat::TWriter writer(stream);
    writer.WriteRootComponent(OnForm);
    stream.SetPosition(0);
    OnForm->SetName("Original");
    auto* copy = new TTwoCollections(Form);
    plat::TReader reader(stream);
    reader.ReadRootComponent(copy);
    EXPECT_EQ(copy->Items->Count(), 0);
}

} // namespace
} // namespace qel
