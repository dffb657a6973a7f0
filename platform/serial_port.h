// Serial ports: a small interface over one open port (line settings, modem
// lines, reads and writes with time-outs, pauses) and the termios device
// behind it. Tests put their own ports in place through the port opener.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

namespace plat {

// Ends every wait of the ports opened with it, at once and for good: a read
// or write returns what it has, a pause returns false. Any thread may cancel.
class TCancelHandle {
public:
    TCancelHandle();
    ~TCancelHandle();
    TCancelHandle(const TCancelHandle&) = delete;
    TCancelHandle& operator=(const TCancelHandle&) = delete;

    void Cancel();
    bool Cancelled() const { return FCancelled.load(); }
    // Readable once cancelled, for poll(); -1 when no descriptor could be made
    // (waits then end by their time-outs only).
    int Fd() const { return FFd; }

private:
    std::atomic<bool> FCancelled{false};
    int FFd;   // eventfd, written once by Cancel and never read
};

// How long a read or write may take: per-byte time × bytes + constant time.
struct TSerialTimeouts {
    int ReadPerByteMs = 0;
    int ReadConstantMs = 0;
    int WritePerByteMs = 0;
    int WriteConstantMs = 0;
};

// One open serial port; closed when destroyed. Used by one thread at a time.
class ISerialPort {
public:
    virtual ~ISerialPort() = default;

    // Raw line: baud, 8 data bits, no parity, one stop bit, no flow control of
    // any kind, no character translation. False for a rate the device or the
    // system does not offer.
    virtual bool SetLine(int baud) = 0;
    virtual bool SetTimeouts(const TSerialTimeouts& timeouts) = 0;
    // Raise or drop the DTR and RTS modem lines.
    virtual bool SetDtr(bool raised) = 0;
    virtual bool SetRts(bool raised) = 0;
    // Discards what is waiting in either direction.
    virtual bool Purge() = 0;
    // Writes up to count bytes within the write time-out; answers the number
    // written, fewer on a time-out, a cancel or a device error.
    virtual int Write(const std::uint8_t* data, int count) = 0;
    // Reads up to count bytes within the read time-out; answers the number
    // read, fewer on a time-out, a cancel, the end of the line or an error.
    virtual int Read(std::uint8_t* data, int count) = 0;
    // Waits ms milliseconds on the port's clock; false when cancelled.
    virtual bool Pause(int ms) = 0;
    // Closes the port; false when the system reported an error. Every later
    // call fails.
    virtual bool Close() = 0;
};

// Opens ports by their device name.
class ISerialPortOpener {
public:
    virtual ~ISerialPortOpener() = default;
    // nullptr when the device is missing, in use, or not a serial line.
    // cancel must outlive the port.
    virtual std::unique_ptr<ISerialPort> Open(const std::string& device, const TCancelHandle& cancel) = 0;
};

// Opens a terminal device (e.g. "/dev/ttyUSB0") for this process alone:
// nullptr when it cannot be opened, is not a terminal or is in use by another
// opener (flock) or locked exclusive (TIOCEXCL). Modem-line requests that a
// pseudo-terminal cannot serve are accepted on pseudo-terminals only.
std::unique_ptr<ISerialPort> OpenTermiosPort(const std::string& device, const TCancelHandle& cancel);

// Opens through the current opener: the terminal devices unless a test set another.
std::unique_ptr<ISerialPort> OpenSerialPort(const std::string& device, const TCancelHandle& cancel);
// nullptr restores the terminal devices. The caller keeps the opener alive
// while it is set and while ports it opened are in use.
void SetSerialPortOpener(ISerialPortOpener* opener);

} // namespace plat
