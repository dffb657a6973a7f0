// Message tables: each control class lists the messages it handles itself;
// a message goes to the handler of the most derived class that lists it,
// else to the control's default handling. A handler passes a message on to
// its ancestors' handling with Inherited(message).
//
//     class TGauge : public TCustomControl {
//         PLAT_MESSAGES(TGauge, TCustomControl)
//     ...
//     private:
//         void WMSize(TMessage& message);
//     };
//
//     PLAT_BEGIN_MESSAGES(TGauge, TCustomControl)
//         PLAT_MESSAGE(WM_SIZE, WMSize)
//     PLAT_END_MESSAGES
#pragma once

#include "platform/controls/control_messages.h"

#include <initializer_list>
#include <vector>

namespace plat {

class TControl;

using TMessageHandler = void (*)(TControl& control, TMessage& message);

struct TMessageEntry {
    UINT Msg;
    TMessageHandler Handler;
};

class TMessageTable {
public:
    TMessageTable(const TMessageTable* parent, std::initializer_list<TMessageEntry> entries);
    TMessageTable(const TMessageTable&) = delete;
    TMessageTable& operator=(const TMessageTable&) = delete;

    // The handler of msg in this class or its nearest ancestor that lists
    // it; nullptr when none does.
    TMessageHandler Find(UINT msg) const;
    const TMessageTable* Parent() const { return FParent; }

private:
    const TMessageTable* FParent;
    std::vector<TMessageEntry> FEntries; // sorted by Msg, one entry per message
};

} // namespace plat

// In the class declaration (after PLAT_CLASS when there is one): the table
// accessors and Inherited. Leaves the following declarations public.
#define PLAT_MESSAGES(Self, Parent)                                                                \
public:                                                                                            \
    static const ::plat::TMessageTable& StaticMessages();                                         \
    const ::plat::TMessageTable& Messages() const override { return Self::StaticMessages(); }     \
                                                                                                   \
protected:                                                                                         \
    /* The ancestors' handling of the message (their handler or the default). */                 \
    void Inherited(::plat::TMessage& message) { DispatchFrom(Parent::StaticMessages(), message); } \
                                                                                                   \
public:

// In the class's source file, inside its namespace.
#define PLAT_BEGIN_MESSAGES(Self, Parent)                                                          \
    const ::plat::TMessageTable& Self::StaticMessages()                                            \
    {                                                                                              \
        using TSelf [[maybe_unused]] = Self;                                                       \
        static const ::plat::TMessageTable table(&Parent::StaticMessages(), {
#define PLAT_MESSAGE(msg, method)                                                                  \
    ::plat::TMessageEntry{(msg), [](::plat::TControl& control, ::plat::TMessage& message) {        \
                              static_cast<TSelf&>(control).method(message);                        \
                          }},
#define PLAT_END_MESSAGES                                                                          \
        });                                                                                        \
        return table;                                                                              \
    }
