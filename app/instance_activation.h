// The first instance's answer to a second start. The single-instance guard
// posts its request to the top-level window whose caption is the guard's
// name, the application window while the application's title is "KORVEL "
// (not while it shows a percentage); that window then restores the
// application and brings it to the front.
#pragma once

#include "platform/controls/window.h"

#include <functional>

namespace plat {
class TApplication;
}

namespace qel {

class TInstanceActivation {
public:
    // Takes the request message into the application window's handling.
    explicit TInstanceActivation(plat::TApplication& App);
    // Gives the application window its own handling back.
    ~TInstanceActivation();
    TInstanceActivation(const TInstanceActivation&) = delete;
    TInstanceActivation& operator=(const TInstanceActivation&) = delete;

    // Requests answered so far.
    int Count() const { return FCount; }
    // Runs after each answered request.
    std::function<void()> OnActivated;

private:
    plat::TApplication& FApp;
    plat::TWindowProcedure FOwnProcedure;   // the application window's handling before
    bool FInstalled = false;                // the request is in the window's handling
    int FCount = 0;
};

} // namespace qel
