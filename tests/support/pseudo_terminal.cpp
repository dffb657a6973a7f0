// Pseudo-terminal pairs for the serial-port tests.
#include "tests/support/pseudo_terminal.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <unistd.h>

namespace qeltest {

TPseudoTerminal::TPseudoTerminal()
{
    FMaster = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    const char* name = FMaster >= 0 && grantpt(FMaster) == 0 && unlockpt(FMaster) == 0 ? ptsname(FMaster) : nullptr;
    if (name == nullptr) {
        HangUp();
        throw std::runtime_error("no pseudo-terminal");
    }
    FLineName = name;
    FLineKeeper = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
}

TPseudoTerminal::~TPseudoTerminal()
{
    HangUp();
    if (FLineKeeper >= 0) {
        close(FLineKeeper);
    }
}

void TPseudoTerminal::HangUp()
{
    if (FMaster >= 0) {
        close(FMaster);
        FMaster = -1;
    }
}

void TPseudoTerminal::Send(const std::vector<std::uint8_t>& bytes) const
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = write(FMaster, bytes.data() + done, bytes.size() - done);
        if (written > 0) {
            done += static_cast<std::size_t>(written);
        } else if (written < 0 && errno == EAGAIN) {
            pollfd wait{FMaster, POLLOUT, 0};
            poll(&wait, 1, -1);
        } else if (written < 0 && errno != EINTR) {
            return;
        }
    }
}

std::vector<std::uint8_t> TPseudoTerminal::Receive(int count) const
{
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count));
    int done = 0;
    while (done < count) {
        const ssize_t got = read(FMaster, bytes.data() + done, static_cast<std::size_t>(count - done));
        if (got > 0) {
            done += static_cast<int>(got);
        } else if (got < 0 && errno == EAGAIN) {
            pollfd wait{FMaster, POLLIN, 0};
            poll(&wait, 1, -1);
        } else if (got == 0 || errno != EINTR) {
            break;
        }
    }
    bytes.resize(static_cast<std::size_t>(done));
    return bytes;
}

} // namespace qeltest
