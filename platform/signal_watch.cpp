// Ending signals handed to a thread of their own through a signal fd.
#include "platform/signal_watch.h"

#include <cerrno>
#include <cstdint>
#include <poll.h>
#include <system_error>
#include <sys/eventfd.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace plat {

TSignalWatch::TSignalWatch(std::initializer_list<int> Signals, std::function<void(int Signal)> OnSignal)
    : FOnSignal(std::move(OnSignal))
{
    sigemptyset(&FSignals);
    for (const int each : Signals) {
        sigaddset(&FSignals, each);
    }
    pthread_sigmask(SIG_BLOCK, &FSignals, &FFormerMask);
    FSignalFd = signalfd(-1, &FSignals, SFD_CLOEXEC);
    FStopFd = eventfd(0, EFD_CLOEXEC);
    if (FSignalFd < 0 || FStopFd < 0) {
        const int error = errno;
        Release();
        throw std::system_error(error, std::generic_category(), "cannot watch the ending signals");
    }
    FThread = std::thread([this] { Run(); });
}

TSignalWatch::~TSignalWatch()
{
    if (FThread.joinable()) {
        const std::uint64_t one = 1;
        (void)!write(FStopFd, &one, sizeof one);
        FThread.join();
    }
    Release();
}

void TSignalWatch::Release()
{
    for (const int fd : {FSignalFd, FStopFd}) {
        if (fd >= 0) {
            close(fd);
        }
    }
    FSignalFd = FStopFd = -1;
    pthread_sigmask(SIG_SETMASK, &FFormerMask, nullptr);
}

void TSignalWatch::Run()
{
    for (;;) {
        pollfd watched[2] = {{FSignalFd, POLLIN, 0}, {FStopFd, POLLIN, 0}};
        if (poll(watched, 2, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        if (watched[1].revents != 0) {
            return;
        }
        signalfd_siginfo info{};
        if (read(FSignalFd, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
            FOnSignal(static_cast<int>(info.ssi_signo));
        }
    }
}

} // namespace plat
