// Components: ownership and the order of freeing, free notifications heard
// once while the freed component still stands, names, and loading sessions.
#include "platform/objects/component.h"

#include "platform/object_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using plat::TComponent;

// Writes what happens to it into a journal the test owns.
class TJournalComponent : public TComponent {
    PLAT_CLASS(TJournalComponent, TComponent)
public:
    TJournalComponent(TComponent* owner, std::string tag, std::vector<std::string>& journal)
        : TComponent(owner), FTag(std::move(tag)), FJournal(journal)
    {
    }
    ~TJournalComponent() override { FJournal.push_back("free " + FTag); }

    // Set by a sibling in its Loaded: tells whether the whole tree stood then.
    int ComponentsSeenAtLoad = -1;

protected:
    void Notification(TComponent* component, plat::TOperation operation) override
    {
        if (operation == plat::opRemove) {
            // The freed component must still be readable here.
            const bool destroying = component->ComponentState().Contains(plat::csDestroying);
            FJournal.push_back(FTag + " heard of " + component->Name() + (destroying ? " (destroying)" : ""));
        }
        TComponent::Notification(component, operation);
    }
    void Loaded() override
    {
        TComponent::Loaded();
        const bool stillLoading = ComponentState().Contains(plat::csLoading);
        FJournal.push_back("loaded " + FTag + (stillLoading ? " still loading" : ""));
        if (Owner() != nullptr) {
            ComponentsSeenAtLoad = Owner()->ComponentCount();
        }
    }

private:
    std::string FTag;
    std::vector<std::string>& FJournal;
};

PLAT_DEFINE_CLASS(TJournalComponent, TComponent)

TJournalComponent* Make(TComponent* owner, const std::string& name, std::vector<std::string>& journal)
{
    auto* component = new TJournalComponent(owner, name, journal);
    component->SetName(name);
    return component;
}

TEST(Component, FreeingAnOwnerFreesItsComponentsLastFirst)
{
    std::vector<std::string> journal;
    auto* form = Make(nullptr, "Form", journal);
    Make(form, "A", journal);
    auto* b = Make(form, "B", journal);
    Make(b, "B1", journal);
    Make(form, "C", journal);
    ASSERT_EQ(form->ComponentCount(), 3);
    EXPECT_EQ(b->Owner(), form);
    EXPECT_EQ(b->ComponentIndex(), 1);
    delete form;
    EXPECT_EQ(journal, (std::vector<std::string>{"free Form", "free C", "free B", "free B1", "free A"}));
}

TEST(Component, FreeNotificationIsHeardOnceWhileTheFreedOneStands)
{
    struct TCase {
        const char* Name;
        bool WatcherInSameOwner;
        bool FreeThroughOwner;
    };
    for (const TCase& c : {TCase{"other owner, freed alone", false, false},
                           TCase{"other owner, freed with its owner", false, true},
                           TCase{"same owner, freed alone", true, false}}) {
        SCOPED_TRACE(c.Name);
        std::vector<std::string> journal;
        auto* form = Make(nullptr, "Form", journal);
        auto* other = Make(nullptr, "Other", journal);
        auto* watched = Make(form, "Watched", journal);
        auto* watcher = Make(c.WatcherInSameOwner ? form : other, "Watcher", journal);
        watched->FreeNotification(watcher);
        journal.clear();
        if (c.FreeThroughOwner) {
            delete form;
        } else {
            delete watched;
        }
        const auto heard = std::count(journal.begin(), journal.end(), "Watcher heard of Watched (destroying)");
        EXPECT_EQ(heard, 1);
        if (!c.FreeThroughOwner) {
            delete form;
        }
        delete other;
    }
}

TEST(Component, RemovedLinkAndFreedWatcherAreNotCalled)
{
    std::vector<std::string> journal;
    auto* watched = Make(nullptr, "Watched", journal);
    auto* first = Make(nullptr, "First", journal);
    auto* second = Make(nullptr, "Second", journal);
    watched->FreeNotification(first);
    watched->FreeNotification(second);
    watched->RemoveFreeNotification(first);
    delete second;   // the link goes both ways: Watched hears of Second
    EXPECT_EQ(journal, (std::vector<std::string>{"free Second", "Watched heard of Second (destroying)"}));
    journal.clear();
    delete watched;   // nobody is left to hear of it
    EXPECT_EQ(journal, (std::vector<std::string>{"free Watched"}));
    delete first;
}

TEST(Component, NamesAreIdentifiersUniqueWithinTheOwnerWithoutCase)
{
    TComponent form(nullptr);
    auto* label = new TComponent(&form);
    label->SetName("Label1");
    auto* other = new TComponent(&form);

    struct TCase {
        const char* Name;
        bool Accepted;
    };
    for (const TCase& c : {TCase{"LABEL1", false}, TCase{"Label 2", false}, TCase{"1Label", false},
                           TCase{"Label-2", false}, TCase{"_Label2", true}, TCase{"", true}}) {
        SCOPED_TRACE(c.Name);
        if (c.Accepted) {
            EXPECT_NO_THROW(other->SetName(c.Name));
            EXPECT_EQ(other->Name(), c.Name);
        } else {
            EXPECT_THROW(other->SetName(c.Name), plat::EComponentError);
        }
    }
    try {
        other->SetName("Label 2");
    } catch (const plat::EComponentError& e) {
        EXPECT_STREQ(e.what(), "''Label 2'' is not a valid component name");
    }
    try {
        other->SetName("label1");
    } catch (const plat::EComponentError& e) {
        EXPECT_STREQ(e.what(), "A component named label1 already exists");
    }
    label->SetName("LABEL1");   // a component may change the case of its own name
    EXPECT_EQ(form.FindComponent("label1"), label);
    EXPECT_EQ(form.FindComponent(""), nullptr);

    // The first free name after a base, as a unique-name helper finds it.
    std::string unique;
    for (int number = 1; unique.empty(); ++number) {
        const std::string candidate = "Label" + std::to_string(number);
        if (form.FindComponent(candidate) == nullptr) {
            unique = candidate;
        }
    }
    EXPECT_EQ(unique, "Label2");
}

TEST(Component, InsertRemoveAndIndexKeepTheOwnerListRight)
{
    TComponent first(nullptr);
    TComponent second(nullptr);
    auto* a = new TComponent(&first);
    a->SetName("A");
    auto* b = new TComponent(&first);
    second.InsertComponent(a);   // moves it
    EXPECT_EQ(a->Owner(), &second);
    EXPECT_EQ(first.ComponentCount(), 1);
    EXPECT_THROW(first.Components(1), plat::EListError);

    auto* clash = new TComponent(&first);
    clash->SetName("A");
    EXPECT_THROW(second.InsertComponent(clash), plat::EComponentError);
    EXPECT_EQ(clash->Owner(), &first);

    auto* c = new TComponent(&first);
    c->SetComponentIndex(-5);
    EXPECT_EQ(first.Components(0), c);
    c->SetComponentIndex(99);
    EXPECT_EQ(first.Components(2), c);
    EXPECT_EQ(b->ComponentIndex(), 0);

    first.RemoveComponent(b);
    EXPECT_EQ(b->Owner(), nullptr);
    EXPECT_EQ(b->ComponentIndex(), -1);
    delete b;
}

TEST(Component, LoadingSessionRunsLoadedOnceInCreationOrderAfterTheTree)
{
    std::vector<std::string> journal;
    plat::BeginLoading();
    auto* form = Make(nullptr, "Form", journal);
    auto* panel = Make(form, "Panel", journal);
    plat::BeginLoading();   // nested: nothing runs at its end
    Make(panel, "Button", journal);
    plat::EndLoading();
    auto* doomed = Make(form, "Doomed", journal);
    EXPECT_TRUE(panel->ComponentState().Contains(plat::csLoading));
    EXPECT_TRUE(journal.empty());
    delete doomed;   // freed before loading ends: never loaded
    Make(form, "Edit", journal);
    journal.clear();
    plat::EndLoading();
    EXPECT_EQ(journal, (std::vector<std::string>{"loaded Form", "loaded Panel", "loaded Button", "loaded Edit"}));
    EXPECT_EQ(panel->ComponentsSeenAtLoad, 2);   // Edit existed when Panel loaded
    EXPECT_FALSE(form->ComponentState().Contains(plat::csLoading));

    journal.clear();
    Make(form, "Late", journal);   // outside a session: no Loaded
    EXPECT_TRUE(journal.empty());
    delete form;
}

// Frees a component named by the test while it is being loaded.
class TFreeingComponent : public TComponent {
public:
    TFreeingComponent(TComponent* owner, TComponent*& victim) : TComponent(owner), FVictim(victim) {}

protected:
    void Loaded() override
    {
        TComponent::Loaded();
        delete FVictim;
        FVictim = nullptr;
        throw std::runtime_error("loaded failed");
    }

private:
    TComponent*& FVictim;
};

TEST(Component, LoadedThatFreesOrRaisesLeavesTheOthersLoaded)
{
    std::vector<std::string> journal;
    TComponent* victim = nullptr;
    plat::BeginLoading();
    auto* form = Make(nullptr, "Form", journal);
    new TFreeingComponent(form, victim);
    victim = Make(form, "Victim", journal);
    auto* last = Make(form, "Last", journal);
    journal.clear();
    EXPECT_THROW(plat::EndLoading(), std::runtime_error);
    EXPECT_EQ(journal, (std::vector<std::string>{"loaded Form", "free Victim", "Form heard of Victim (destroying)",
                                                 "Last heard of Victim (destroying)", "loaded Last"}));
    EXPECT_FALSE(last->ComponentState().Contains(plat::csLoading));
    EXPECT_FALSE(form->Components(0)->ComponentState().Contains(plat::csLoading));
    delete form;
}

TEST(Component, ClassMetadataAndVirtualConstructor)
{
    const plat::TClass journalClass = TJournalComponent::StaticClass();
    EXPECT_EQ(journalClass->ClassName(), "TJournalComponent");
    EXPECT_EQ(journalClass->ClassParent(), TComponent::StaticClass());
    EXPECT_TRUE(journalClass->InheritsFrom(plat::TPersistent::StaticClass()));
    EXPECT_FALSE(TComponent::StaticClass()->InheritsFrom(journalClass));
    EXPECT_FALSE(journalClass->CanCreate());   // its constructor needs more than an owner

    TComponent owner(nullptr);
    TComponent* built = TComponent::StaticClass()->CreateAs<TComponent>(&owner);
    EXPECT_EQ(built->Owner(), &owner);
    EXPECT_EQ(built->ClassName(), "TComponent");
    plat::TPersistent persistent;
    EXPECT_THROW(TComponent::StaticClass()->Create(&persistent), plat::EInvalidCast);
    EXPECT_THROW(plat::TPersistent::StaticClass()->CreateAs<TComponent>(), plat::EInvalidCast);

    const plat::TPropInfo* tag = journalClass->FindProperty("TAG");
    ASSERT_NE(tag, nullptr);
    built->SetTag(7);
    EXPECT_EQ(tag->GetOrdinal(*built), 7);
    EXPECT_FALSE(tag->IsDefault(*built));
    tag->SetOrdinal(*built, 0);
    EXPECT_TRUE(tag->IsDefault(*built));
}

TEST(Persistent, AssignWithoutAKnownPairRaises)
{
    plat::TPersistent a;
    TComponent b(nullptr);
    try {
        a.Assign(&b);
        FAIL() << "no error";
    } catch (const plat::EAssignError& e) {
        EXPECT_STREQ(e.what(), "Cannot assign a TComponent to a TPersistent");
    }
    EXPECT_THROW(a.Assign(nullptr), plat::EAssignError);
}

} // namespace
