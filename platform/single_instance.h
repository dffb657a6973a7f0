// Single-instance guard: the first process of a user's login session (its
// runtime folder) to claim a name holds it while it runs; a later one learns
// it is second and asks the first to come to the front.
#pragma once

#include "platform/input_watch.h"
#include "platform/messages.h"

#include <memory>
#include <string>

namespace plat {

// The name is held through an abstract Unix socket (it vanishes with its
// process, so a crash leaves nothing behind). The holder answers each request
// of the same user by posting activateMessage to its top-level window whose
// caption is the name, when it has one at that moment.
class TSingleInstance {
public:
    // Raises std::invalid_argument for a name too long for a socket address
    // (about 60 bytes).
    TSingleInstance(const std::string& name, UINT activateMessage);
    ~TSingleInstance();
    TSingleInstance(const TSingleInstance&) = delete;
    TSingleInstance& operator=(const TSingleInstance&) = delete;

    // False when another process of this user holds the name; it has then
    // been asked to come to the front (and has acted on it), and this
    // process should end.
    bool IsFirst() const { return FFirst; }

private:
    void AnswerRequest() const;

    std::string FName;
    UINT FActivateMessage;
    bool FFirst = true;
    int FListener = -1; // the held name, -1 when not held
    std::unique_ptr<TInputWatch> FWatch; // answers the requests while the name is held
};

} // namespace plat
