// Two-process tests: this test program started again as a peer process that
// plays a named role instead of running tests.
#pragma once

#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

namespace qeltest {

// A role answers the peer's exit code (0 = what the parent expects happened).
using TPeerRole = int (*)();

// Makes a role known; call from a namespace-scope initialiser of the test file.
bool RegisterPeerRole(const std::string& name, TPeerRole role);

// In the peer: tells the parent that the role is set up and waiting.
void SignalPeerReady();

// The peer process, started with the role's name and extra environment
// variables on top of this process's environment. The waits end after a
// generous time-out that only guards against a hang.
class TPeerProcess {
public:
    TPeerProcess(const std::string& role, const std::vector<std::pair<std::string, std::string>>& environment = {});
    ~TPeerProcess(); // kills a peer that still runs
    TPeerProcess(const TPeerProcess&) = delete;
    TPeerProcess& operator=(const TPeerProcess&) = delete;

    // True once the peer called SignalPeerReady; false when it ended first.
    bool WaitReady();
    // The peer's exit code; -1 when it did not end normally in time.
    int WaitExit();

private:
    pid_t FPid = -1;
    int FPipe = -1; // read end: "ready" lines, end of file when the peer is gone
};

} // namespace qeltest
