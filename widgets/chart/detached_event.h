// Rewriting a settings object without hearing of each change: the change
// event is cleared while the guard lives and a handler is attached at its
// end, so that the owner reacts once, afterwards.
#pragma once

#include "platform/objects/events.h"

#include <utility>

namespace qel {

class TDetachedEvent {
public:
    // Event is cleared now; Handler takes its place at the end.
    TDetachedEvent(plat::TNotifyEvent& Event, plat::TNotifyEvent Handler) : FEvent(Event), FHandler(std::move(Handler))
    {
        FEvent = {};
    }
    ~TDetachedEvent() { FEvent = std::move(FHandler); }
    TDetachedEvent(const TDetachedEvent&) = delete;
    TDetachedEvent& operator=(const TDetachedEvent&) = delete;

private:
    plat::TNotifyEvent& FEvent;
    plat::TNotifyEvent FHandler;
};

} // namespace qel
