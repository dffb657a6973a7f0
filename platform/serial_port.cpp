// Serial ports on terminal devices: raw termios lines, modem lines by ioctl,
// reads, writes and pauses as poll() waits that the cancel handle ends.
#include "platform/serial_port.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

namespace plat {

TCancelHandle::TCancelHandle() : FFd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
}

TCancelHandle::~TCancelHandle()
{
    if (FFd >= 0) {
        close(FFd);
    }
}

void TCancelHandle::Cancel()
{
    if (FCancelled.exchange(true) || FFd < 0) {
        return;
    }
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = write(FFd, &one, sizeof one);
}

namespace {

using TSteady = std::chrono::steady_clock;

// Major device numbers of the pseudo-terminal slaves (/dev/pts/N).
constexpr unsigned FIRST_PTY_SLAVE_MAJOR = 136;
constexpr unsigned LAST_PTY_SLAVE_MAJOR = 143;

bool IsPseudoTerminal(int fd)
{
    struct stat status {};
    if (fstat(fd, &status) != 0 || !S_ISCHR(status.st_mode)) {
        return false;
    }
    const unsigned deviceMajor = major(status.st_rdev);
    return deviceMajor >= FIRST_PTY_SLAVE_MAJOR && deviceMajor <= LAST_PTY_SLAVE_MAJOR;
}

bool BaudConstant(int baud, speed_t& speed)
{
    struct TRate {
        int Baud;
        speed_t Speed;
    };
    static constexpr TRate rates[] = {
        {1200, B1200},     {2400, B2400},     {4800, B4800},     {9600, B9600},   {19200, B19200},
        {38400, B38400},   {57600, B57600},   {115200, B115200}, {230400, B230400}, {460800, B460800},
        {921600, B921600},
    };
    for (const TRate& rate : rates) {
        if (rate.Baud == baud) {
            speed = rate.Speed;
            return true;
        }
    }
    return false;
}

TSteady::time_point DeadlineAfter(int perByteMs, int constantMs, int count)
{
    const std::int64_t ms = static_cast<std::int64_t>(perByteMs) * count + constantMs;
    return TSteady::now() + std::chrono::milliseconds(ms > 0 ? ms : 0);
}

// Milliseconds to the deadline, rounded up so that a wait never ends early.
int RemainingMs(TSteady::time_point deadline)
{
    const auto left = deadline - TSteady::now();
    if (left <= TSteady::duration::zero()) {
        return 0;
    }
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    return ms > 1000000 ? 1000000 : static_cast<int>(ms);
}

enum class TWaitResult { Ready, TimedOut, Cancelled };

// Waits until fd reports events (or a hang-up or error, which the next read
// or write then meets) or the deadline passes; fd -1 waits for time alone.
TWaitResult WaitFor(int fd, short events, const TCancelHandle& cancel, TSteady::time_point deadline)
{
    for (;;) {
        if (cancel.Cancelled()) {
            return TWaitResult::Cancelled;
        }
        const int timeoutMs = RemainingMs(deadline);
        pollfd waits[2] = {{cancel.Fd(), POLLIN, 0}, {fd, events, 0}};
        const int ready = poll(waits, fd >= 0 ? 2 : 1, timeoutMs);
        if (ready < 0 && errno != EINTR) {
            return TWaitResult::TimedOut;
        }
        if (waits[0].revents != 0 || cancel.Cancelled()) {
            return TWaitResult::Cancelled;
        }
        if (ready > 0 && waits[1].revents != 0) {
            return TWaitResult::Ready;
        }
        if (ready == 0 && RemainingMs(deadline) == 0) {
            return TWaitResult::TimedOut;
        }
    }
}

class TTermiosPort final : public ISerialPort {
public:
    TTermiosPort(int fd, const TCancelHandle& cancel) : FFd(fd), FCancel(cancel), FPseudo(IsPseudoTerminal(fd)) {}
    ~TTermiosPort() override { Close(); }
    TTermiosPort(const TTermiosPort&) = delete;
    TTermiosPort& operator=(const TTermiosPort&) = delete;

    bool SetLine(int baud) override
    {
        speed_t speed{};
        termios line{};
        if (!BaudConstant(baud, speed) || tcgetattr(FFd, &line) != 0) {
            return false;
        }
        cfmakeraw(&line);
        line.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK | IGNPAR);
        line.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
        line.c_cflag |= CS8 | CLOCAL | CREAD;
        // One byte is the least a read waits for; O_NONBLOCK turns that into
        // EAGAIN, so that 0 from read means the line has ended.
        line.c_cc[VMIN] = 1;
        line.c_cc[VTIME] = 0;
        if (cfsetispeed(&line, speed) != 0 || cfsetospeed(&line, speed) != 0 || tcsetattr(FFd, TCSANOW, &line) != 0) {
            return false;
        }
        // tcsetattr succeeds when any part was taken: check the rate.
        termios taken{};
        return tcgetattr(FFd, &taken) == 0 && cfgetospeed(&taken) == speed;
    }

    bool SetTimeouts(const TSerialTimeouts& timeouts) override
    {
        if (FFd < 0) {
            return false;
        }
        FTimeouts = timeouts;
        return true;
    }

    bool SetDtr(bool raised) override { return SetModemLine(TIOCM_DTR, raised); }
    bool SetRts(bool raised) override { return SetModemLine(TIOCM_RTS, raised); }

    bool Purge() override { return tcflush(FFd, TCIOFLUSH) == 0; }

    int Write(const std::uint8_t* data, int count) override
    {
        const auto deadline = DeadlineAfter(FTimeouts.WritePerByteMs, FTimeouts.WriteConstantMs, count);
        return Transfer(count, POLLOUT, deadline,
                        [&](int done) { return ::write(FFd, data + done, static_cast<std::size_t>(count - done)); });
    }

    int Read(std::uint8_t* data, int count) override
    {
        const auto deadline = DeadlineAfter(FTimeouts.ReadPerByteMs, FTimeouts.ReadConstantMs, count);
        return Transfer(count, POLLIN, deadline,
                        [&](int done) { return ::read(FFd, data + done, static_cast<std::size_t>(count - done)); });
    }

    bool Pause(int ms) override
    {
        return WaitFor(-1, 0, FCancel, DeadlineAfter(0, ms, 0)) != TWaitResult::Cancelled;
    }

    bool Close() override
    {
        if (FFd < 0) {
            return false;
        }
        ioctl(FFd, TIOCNXCL);
        const bool closed = close(FFd) == 0;
        FFd = -1;
        return closed;
    }

private:
    bool SetModemLine(int line, bool raised)
    {
        if (FFd < 0) {
            return false;
        }
        return ioctl(FFd, raised ? TIOCMBIS : TIOCMBIC, &line) == 0 || FPseudo;
    }

    // Moves bytes with step (read or write of the rest from done on) until
    // count are through, the deadline passes, the wait is cancelled or the
    // device fails; answers the bytes moved.
    template <class TStep>
    int Transfer(int count, short events, TSteady::time_point deadline, TStep step)
    {
        int done = 0;
        while (done < count) {
            const ssize_t moved = step(done);
            if (moved > 0) {
                done += static_cast<int>(moved);
                continue;
            }
            if (moved == 0 || (errno != EAGAIN && errno != EINTR)) {
                break;   // end of the line or a device error
            }
            if (errno == EAGAIN && WaitFor(FFd, events, FCancel, deadline) != TWaitResult::Ready) {
                break;
            }
        }
        return done;
    }

    int FFd;                        // -1 once closed
    const TCancelHandle& FCancel;
    const bool FPseudo;             // a pseudo-terminal: modem lines cannot be set
    TSerialTimeouts FTimeouts;
};

std::atomic<ISerialPortOpener*> CurrentOpener{nullptr};

} // namespace

std::unique_ptr<ISerialPort> OpenTermiosPort(const std::string& device, const TCancelHandle& cancel)
{
    const int fd = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return nullptr;
    }
    // flock keeps out the other openers of this program (root included);
    // TIOCEXCL the other programs of ordinary users.
    if (!isatty(fd) || flock(fd, LOCK_EX | LOCK_NB) != 0 || ioctl(fd, TIOCEXCL) != 0) {
        close(fd);
        return nullptr;
    }
    return std::make_unique<TTermiosPort>(fd, cancel);
}

std::unique_ptr<ISerialPort> OpenSerialPort(const std::string& device, const TCancelHandle& cancel)
{
    ISerialPortOpener* opener = CurrentOpener.load();
    return opener != nullptr ? opener->Open(device, cancel) : OpenTermiosPort(device, cancel);
}

void SetSerialPortOpener(ISerialPortOpener* opener)
{
    CurrentOpener.store(opener);
}

} // namespace plat
