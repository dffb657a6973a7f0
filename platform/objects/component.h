// TComponent: a named object in an owner tree. An owner frees the
// components it owns; components learn of each other's insertion and
// removal (Notification), may ask to hear of a component's end wherever it
// lives (FreeNotification), and finish their set-up once a whole tree has
// been built or read (Loaded).
#pragma once

#include "platform/objects/persistent.h"
#include "platform/objects/set.h"

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

class TComponent;
class TReader;
class TWriter;

// Raised for an invalid or duplicate component name.
class EComponentError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum TComponentStateFlag {
    csLoading,            // built in a loading session or read; Loaded has not run yet
    csReading,            // its properties are being read from a stream
    csWriting,            // it is being written to a stream
    csDestroying,         // it (or its owner) is being freed
    csDesigning,          // shown in a designer (never in this program)
    csAncestor,           // written or read as part of an inherited form
    csUpdating,           // its owner is updating it
    csFixups,             // references to other roots wait to be resolved
    csFreeNotification,   // some component asked to hear of its end
};
using TComponentState = TSet<TComponentStateFlag>;

enum TOperation { opInsert, opRemove };

using TGetChildProc = std::function<void(TComponent* child)>;

// True for a letter or "_" followed by letters, digits and "_" (ASCII).
bool IsValidIdent(std::string_view name);

class TComponent : public TPersistent {
    PLAT_CLASS(TComponent, TPersistent)
public:
    using TOwnerType = TComponent;

    // Joins owner's components (the owner frees it) when owner is not nullptr.
    explicit TComponent(TComponent* owner);
    // Tells the components that asked of its end, frees its own components
    // (the last first), then leaves its owner.
    ~TComponent() override;

    TComponent* Owner() const { return FOwner; }
    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    // Raises EListError outside 0 .. ComponentCount() - 1.
    TComponent* Components(int index) const;
    // The position among the owner's components; -1 without owner.
    int ComponentIndex() const;
    // Moves it among the owner's components; index is kept in range.
    void SetComponentIndex(int index);

    const std::string& Name() const { return FName; }
    // Raises EComponentError for a name that is not empty and not an
    // identifier, and for a name another component of the owner has
    // (compared without case).
    virtual void SetName(const std::string& newName);
    // The owned component of that name (compared without case), or nullptr.
    TComponent* FindComponent(std::string_view name) const;

    std::int64_t Tag() const { return FTag; }
    void SetTag(std::int64_t tag) { FTag = tag; }

    TComponentState ComponentState() const { return FComponentState; }

    // Takes component over from its former owner, if any.
    void InsertComponent(TComponent* component);
    // Lets go of component without freeing it.
    void RemoveComponent(TComponent* component);
    // Frees every owned component, the last first.
    void DestroyComponents();
    // Marks it and its components as being freed.
    void Destroying();

    // Asks this component to call component->Notification(this, opRemove)
    // when it is freed (and the other way round); each hears of it once.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    // The visual parent, for components that have one (controls).
    virtual bool HasParent() const { return false; }
    virtual TComponent* GetParentComponent() const { return nullptr; }
    virtual void SetParentComponent(TComponent*) {}

    // The components the filer writes after this one's properties, as
    // children; the base gives none.
    virtual void GetChildren(const TGetChildProc& proc, TComponent* root);
    // The owner the filer gives to children read below this one; nullptr
    // means the root being read.
    virtual TComponent* GetChildOwner() { return nullptr; }
    // The parent the filer gives to children read below this one.
    virtual TComponent* GetChildParent() { return this; }
    // Puts a child read from a stream at position order among its kind.
    virtual void SetChildOrder(TComponent*, int) {}
    // Read or write this component's part of a stream: its properties and
    // children (TReader::ReadData, TWriter::WriteData).
    virtual void ReadState(TReader& reader);
    virtual void WriteState(TWriter& writer);

    TPersistent* GetOwner() const override { return FOwner; }
    std::string GetNamePath() const override { return FName; }

protected:
    // Called on insertion and removal of component in the owner tree and
    // for the components this one asked to hear of. The base drops a free
    // notification link to a removed component and passes the news on to
    // its own components; overrides call it.
    virtual void Notification(TComponent* component, TOperation operation);
    // Runs once after the tree this component belongs to has been built or
    // read, in creation order; the base clears csLoading.
    virtual void Loaded();
    // Raises EComponentError when component (one of ours) may not take newName.
    virtual void ValidateRename(TComponent* component, const std::string& currentName,
                                const std::string& newName);
    // Raises when component may not be inserted; the base accepts all.
    virtual void ValidateInsert(TComponent*) {}

    void SetDesigning(bool value, bool setChildren = true);
    void Updating() { FComponentState.Include(csUpdating); }
    void Updated() { FComponentState.Exclude(csUpdating); }
    // Sets the name without checks.
    void ChangeName(const std::string& newName) { FName = newName; }

private:
    friend class TReader;
    friend class TWriter;
    friend void BeginLoading();
    friend void EndLoading();

    // Joins or leaves this thread's loading session (a root that the
    // filer reads into).
    void EnterLoadingSession();
    void LeaveLoadingSession();
    // Delivers a notification unless receiver has heard of component's end already.
    static void Deliver(TComponent* receiver, TComponent* component, TOperation operation);
    void DetachFromOwner();

    TComponent* FOwner = nullptr;
    std::string FName;
    std::int64_t FTag = 0;
    TComponentState FComponentState;
    std::vector<TComponent*> FComponents;    // owned, in insertion order
    std::vector<TComponent*> FFreeNotifies;  // linked both ways
    // While it is being freed: the components told of its end, so that
    // each hears of it once (by free notification or through the owner tree).
    std::vector<TComponent*>* FToldOfEnd = nullptr;
};

// A loading session: every component created on this thread between
// BeginLoading and the matching EndLoading gets csLoading; the outermost
// EndLoading then calls Loaded on each, in creation order. Sessions nest.
// When a Loaded raises, the others still run and the first error is raised
// at the end.
void BeginLoading();
void EndLoading();

} // namespace plat
