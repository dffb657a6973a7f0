// TComponent: the owner tree, names, notifications and loading sessions.
#include "platform/objects/component.h"

#include "platform/ascii_case.h"
#include "platform/object_list.h"
#include "platform/objects/reader.h"
#include "platform/objects/writer.h"

#include <algorithm>
#include <cassert>
#include <exception>

namespace plat {

PLAT_DEFINE_CLASS(TComponent, TPersistent,
                  Published("Tag", &TComponent::Tag, &TComponent::SetTag).Default(0))

namespace {

// A list of components waiting for Loaded. While EndLoading runs through
// one, Next is the next to load; a component freed meanwhile leaves it.
struct TLoadingBatch {
    std::vector<TComponent*> Items;
    std::size_t Next = 0;
    TLoadingBatch* Outer = nullptr;   // a batch whose Loaded calls started this one

    bool Forget(TComponent* component)
    {
        const auto found = std::find(Items.begin(), Items.end(), component);
        if (found == Items.end()) {
            return false;
        }
        const auto index = static_cast<std::size_t>(found - Items.begin());
        Items.erase(found);
        if (index < Next) {
            --Next;
        }
        return true;
    }
};

// This thread's loading session: the components created in it so far, and
// the batches being loaded.
struct TLoadingSession {
    int Depth = 0;
    TLoadingBatch Collecting;
    TLoadingBatch* Running = nullptr;

    void Forget(TComponent* component)
    {
        if (Collecting.Forget(component)) {
            return;
        }
        for (TLoadingBatch* batch = Running; batch != nullptr; batch = batch->Outer) {
            if (batch->Forget(component)) {
                return;
            }
        }
    }
};

thread_local TLoadingSession LoadingSession;

void EraseValue(std::vector<TComponent*>& list, TComponent* value)
{
    list.erase(std::remove(list.begin(), list.end(), value), list.end());
}

bool Contains(const std::vector<TComponent*>& list, const TComponent* value)
{
    return std::find(list.begin(), list.end(), value) != list.end();
}

bool IsIdentStart(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

} // namespace

bool IsValidIdent(std::string_view name)
{
    if (name.empty() || !IsIdentStart(name.front())) {
        return false;
    }
    return std::all_of(name.begin() + 1, name.end(),
                       [](char c) { return IsIdentStart(c) || (c >= '0' && c <= '9'); });
}

TComponent::TComponent(TComponent* owner)
{
    if (LoadingSession.Depth > 0) {
        FComponentState.Include(csLoading);
        LoadingSession.Collecting.Items.push_back(this);
    }
    if (owner != nullptr) {
        owner->InsertComponent(this);
    }
}

TComponent::~TComponent()
{
    Destroying();
    LoadingSession.Forget(this);
    std::vector<TComponent*> toldOfEnd;
    FToldOfEnd = &toldOfEnd;
    while (!FFreeNotifies.empty()) {
        TComponent* partner = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        EraseValue(partner->FFreeNotifies, this);
        Deliver(partner, this, opRemove);
    }
    DestroyComponents();
    if (FOwner != nullptr) {
        FOwner->RemoveComponent(this);
    }
    FToldOfEnd = nullptr;
}

TComponent* TComponent::Components(int index) const
{
    if (index < 0 || index >= ComponentCount()) {
        throw EListError(index);
    }
    return FComponents[static_cast<std::size_t>(index)];
}

int TComponent::ComponentIndex() const
{
    if (FOwner == nullptr) {
        return -1;
    }
    const auto& siblings = FOwner->FComponents;
    return static_cast<int>(std::find(siblings.begin(), siblings.end(), this) - siblings.begin());
}

void TComponent::SetComponentIndex(int index)
{
    if (FOwner == nullptr) {
        return;
    }
    auto& siblings = FOwner->FComponents;
    const int current = ComponentIndex();
    index = std::clamp(index, 0, static_cast<int>(siblings.size()) - 1);
    if (index == current) {
        return;
    }
    siblings.erase(siblings.begin() + current);
    siblings.insert(siblings.begin() + index, this);
}

void TComponent::SetName(const std::string& newName)
{
    if (FName == newName) {
        return;
    }
    if (!newName.empty() && !IsValidIdent(newName)) {
        throw EComponentError("''" + newName + "'' is not a valid component name");
    }
    if (FOwner != nullptr) {
        FOwner->ValidateRename(this, FName, newName);
    } else {
        ValidateRename(nullptr, FName, newName);
    }
    ChangeName(newName);
}

void TComponent::ValidateRename(TComponent* component, const std::string& currentName,
                                const std::string& newName)
{
    if (component == nullptr || newName.empty() || SameText(currentName, newName) || component->FOwner != this) {
        return;
    }
    if (FindComponent(newName) != nullptr) {
        throw EComponentError("A component named " + newName + " already exists");
    }
}

TComponent* TComponent::FindComponent(std::string_view name) const
{
    if (name.empty()) {
        return nullptr;
    }
    for (TComponent* component : FComponents) {
        if (SameText(component->FName, name)) {
            return component;
        }
    }
    return nullptr;
}

void TComponent::InsertComponent(TComponent* component)
{
    assert(component != nullptr && component != this);
    ValidateInsert(component);
    if (component->FOwner == this) {
        return;
    }
    if (!component->FName.empty() && FindComponent(component->FName) != nullptr) {
        throw EComponentError("A component named " + component->FName + " already exists");
    }
    if (component->FOwner != nullptr) {
        component->FOwner->RemoveComponent(component);
    }
    FComponents.push_back(component);
    component->FOwner = this;
    if (FComponentState.Contains(csDesigning)) {
        component->SetDesigning(true);
    }
    Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component)
{
    if (component == nullptr || component->FOwner != this) {
        return;
    }
    Deliver(this, component, opRemove);
    component->DetachFromOwner();
}

void TComponent::DetachFromOwner()
{
    EraseValue(FOwner->FComponents, this);
    FOwner = nullptr;
}

void TComponent::DestroyComponents()
{
    while (!FComponents.empty()) {
        TComponent* component = FComponents.back();
        // Only a component that others watch announces its end through
        // the tree; the rest leave quietly, as their owner goes too.
        if (component->FComponentState.Contains(csFreeNotification)) {
            RemoveComponent(component);
        } else {
            component->DetachFromOwner();
        }
        delete component;
    }
}

void TComponent::Destroying()
{
    if (FComponentState.Contains(csDestroying)) {
        return;
    }
    FComponentState.Include(csDestroying);
    for (TComponent* component : FComponents) {
        component->Destroying();
    }
}

void TComponent::FreeNotification(TComponent* component)
{
    if (component == nullptr || component == this) {
        return;
    }
    if (!Contains(FFreeNotifies, component)) {
        FFreeNotifies.push_back(component);
        component->FFreeNotifies.push_back(this);
    }
    FComponentState.Include(csFreeNotification);
    component->FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* component)
{
    if (component == nullptr) {
        return;
    }
    EraseValue(FFreeNotifies, component);
    EraseValue(component->FFreeNotifies, this);
}

void TComponent::GetChildren(const TGetChildProc&, TComponent*)
{
}

void TComponent::Notification(TComponent* component, TOperation operation)
{
    if (operation == opRemove && component != nullptr) {
        RemoveFreeNotification(component);
    }
    // A receiver may free or move components; re-check the bounds each time.
    for (std::size_t index = 0; index < FComponents.size(); ++index) {
        Deliver(FComponents[index], component, operation);
    }
}

void TComponent::Deliver(TComponent* receiver, TComponent* component, TOperation operation)
{
    if (receiver == component) {
        return;
    }
    if (operation == opRemove && component != nullptr && component->FToldOfEnd != nullptr) {
        if (Contains(*component->FToldOfEnd, receiver)) {
            return;
        }
        component->FToldOfEnd->push_back(receiver);
    }
    receiver->Notification(component, operation);
}

void TComponent::Loaded()
{
    FComponentState.Exclude(csLoading);
}

void TComponent::ReadState(TReader& reader)
{
    reader.ReadData(this);
}

void TComponent::WriteState(TWriter& writer)
{
    writer.WriteData(this);
}

void TComponent::EnterLoadingSession()
{
    FComponentState.Include(csLoading);
    LoadingSession.Forget(this);
    LoadingSession.Collecting.Items.push_back(this);
}

void TComponent::LeaveLoadingSession()
{
    LoadingSession.Forget(this);
    FComponentState.Exclude(csLoading);
}

void TComponent::SetDesigning(bool value, bool setChildren)
{
    if (value) {
        FComponentState.Include(csDesigning);
    } else {
        FComponentState.Exclude(csDesigning);
    }
    if (setChildren) {
        for (TComponent* component : FComponents) {
            component->SetDesigning(value);
        }
    }
}

void BeginLoading()
{
    ++LoadingSession.Depth;
}

void EndLoading()
{
    assert(LoadingSession.Depth > 0);
    if (--LoadingSession.Depth > 0) {
        return;
    }
    TLoadingSession& session = LoadingSession;
    TLoadingBatch batch;
    batch.Items.swap(session.Collecting.Items);
    batch.Outer = session.Running;
    session.Running = &batch;
    std::exception_ptr firstError;
    while (batch.Next < batch.Items.size()) {
        TComponent* component = batch.Items[batch.Next++];
        try {
            component->Loaded();
        } catch (...) {
            if (!firstError) {
                firstError = std::current_exception();
            }
        }
        // Loaded may have freed the component; it has then left the batch.
        if (batch.Next > 0 && batch.Items[batch.Next - 1] == component) {
            component->FComponentState.Exclude(csLoading);
        }
    }
    session.Running = batch.Outer;
    if (firstError) {
        std::rethrow_exception(firstError);
    }
}

} // namespace plat
