// A pseudo-terminal pair for the serial-port tests: the line's far end (the
// master) stays with the test, the near end is opened by name like a device.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qeltest {

class TPseudoTerminal {
public:
    // Raises std::runtime_error when the system offers no pseudo-terminal.
    TPseudoTerminal();
    ~TPseudoTerminal();
    TPseudoTerminal(const TPseudoTerminal&) = delete;
    TPseudoTerminal& operator=(const TPseudoTerminal&) = delete;

    // Device name of the line's near end, e.g. /dev/pts/3.
    const std::string& LineName() const { return FLineName; }
    // The far end (non-blocking); -1 once hung up.
    int MasterFd() const { return FMaster; }
    // Closes the far end: the line hangs up.
    void HangUp();

    // Writes every byte to the line (waiting while the line's buffer is full).
    void Send(const std::vector<std::uint8_t>& bytes) const;
    // Exactly count bytes from the line, waiting for them without limit;
    // fewer only when the line hung up.
    std::vector<std::uint8_t> Receive(int count) const;

private:
    int FMaster = -1;
    int FLineKeeper = -1;   // the near end held open, so that the far end sees no hang-up between the opens of a test
    std::string FLineName;
};

} // namespace qeltest
