// Registered broadcasts between the suite programs of one user: every
// program binds a datagram socket in a private folder of the user's runtime
// folder, and a broadcast goes to each of them by message name.
#pragma once

#include "platform/input_watch.h"
#include "platform/messages.h"

#include <memory>
#include <string>

namespace plat {

// While it exists, registered messages posted to HWND_BROADCAST also reach the
// top-level windows of the other suite programs, and theirs reach ours (posted
// under our own number for the name; names never registered here are ignored).
// One link per process.
class TSuiteLink final : public IBroadcastRelay {
public:
    // Binds <folder>/<pid>.sock. A link that cannot bind stays inactive: the
    // program goes on, its broadcasts stay inside the process.
    explicit TSuiteLink(std::string folder = SuiteLinkFolder());
    ~TSuiteLink() override;
    TSuiteLink(const TSuiteLink&) = delete;
    TSuiteLink& operator=(const TSuiteLink&) = delete;

    bool Active() const { return FSocket >= 0; }
    void Relay(const std::string& name, WPARAM wParam, LPARAM lParam) override;

    // The sockets' folder: "qel-suite" in the runtime folder; empty when there is none.
    static std::string SuiteLinkFolder();

private:
    bool Bind();
    void Receive() const;

    std::string FFolder;
    std::string FSocketName; // own socket's file name in FFolder
    int FSocket = -1;        // bound datagram socket, -1 while inactive
    std::unique_ptr<TInputWatch> FReceiver;
};

} // namespace plat
