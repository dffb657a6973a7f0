// A thread that waits for input on a descriptor and hands each arrival to a
// handler until its owner stops it.
#include "platform/input_watch.h"

#include <cerrno>
#include <cstdint>
#include <poll.h>
#include <sys/eventfd.h>
#include <system_error>
#include <unistd.h>

namespace plat {

std::unique_ptr<TInputWatch> TInputWatch::Start(int fd, std::function<void()> onInput)
{
    const int stopFd = eventfd(0, EFD_CLOEXEC);
    if (stopFd < 0) {
        return nullptr;
    }
    try {
        return std::unique_ptr<TInputWatch>(new TInputWatch(fd, stopFd, std::move(onInput)));
    } catch (const std::system_error&) {
        close(stopFd);
        return nullptr;
    }
}

TInputWatch::TInputWatch(int fd, int stopFd, std::function<void()> onInput)
    : FFd(fd), FStopFd(stopFd), FOnInput(std::move(onInput)), FThread([this] { Run(); })
{
}

TInputWatch::~TInputWatch()
{
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = write(FStopFd, &one, sizeof one);
    FThread.join();
    close(FStopFd);
}

void TInputWatch::Run()
{
    for (;;) {
        pollfd waits[2] = {{FFd, POLLIN, 0}, {FStopFd, POLLIN, 0}};
        if (poll(waits, 2, -1) < 0 && errno != EINTR) {
            return;
        }
        if (waits[1].revents != 0) {
            return;
        }
        if (waits[0].revents != 0) {
            FOnInput();
        }
    }
}

} // namespace plat
