// Probes of the chart's settings objects: whether the filer writes a
// property, and a counter of change notifications.
#pragma once

#include "platform/objects/events.h"
#include "platform/objects/object.h"

namespace qel::test {

// The filer writes the property: it is stored and differs from its default.
inline bool IsStored(const plat::TObject& Object, const char* Property)
{
    const plat::TPropInfo* Info = Object.ClassType()->FindProperty(Property);
    return Info->IsStored(Object) && !Info->IsDefault(Object);
}

// Counts the change notifications of a settings object.
struct TNotifications {
    plat::TNotifyEvent Event() { return plat::TNotifyEvent([this](plat::TObject*) { ++Count; }); }
    int Count = 0;
};

} // namespace qel::test
