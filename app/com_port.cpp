// Opening and closing a logger's serial port.
#include "app/com_port.h"

#include <array>

namespace qel {

namespace {

struct TComPortMode {
    plat::TSerialTimeouts Timeouts;
    bool RaiseRts;          // raised after DTR; otherwise RTS stays low
    int PauseAfterOpenMs;   // settle time after raising RTS
};

constexpr plat::TSerialTimeouts FAST_TIMEOUTS{0, 1000, 0, 100};   // 115200 Bd: whole frames
constexpr plat::TSerialTimeouts SLOW_TIMEOUTS{1, 500, 0, 100};    // 9600 Bd: 508 ms for 8 bytes

constexpr std::array<TComPortMode, COM_MODE_COUNT> MODES{{
    {FAST_TIMEOUTS, true, 500},
    {SLOW_TIMEOUTS, false, 0},
    {FAST_TIMEOUTS, true, 500},
    {SLOW_TIMEOUTS, false, 0},
}};

// The line without any control of the modem lines: RTS dropped. DTR is left
// as the open raised it, since dropping it would reset many boards for the
// moment before it is raised again.
bool SetUpPort(plat::ISerialPort& port, int baud, const TComPortMode& mode)
{
    if (!port.SetLine(baud) || !port.SetRts(false) || !port.SetTimeouts(mode.Timeouts) || !port.SetDtr(true)) {
        return false;
    }
    return !mode.RaiseRts || (port.SetRts(true) && port.Pause(mode.PauseAfterOpenMs));
}

} // namespace

TComHandle OpenComPort(const std::string& Port, int Baud, std::uint8_t Mode, const plat::TCancelHandle& Cancel)
{
    if (Mode >= COM_MODE_COUNT) {
        return nullptr;
    }
    TComHandle port = plat::OpenSerialPort(Port, Cancel);
    if (port && !SetUpPort(*port, Baud, MODES[Mode])) {
        CloseComPort(port);
    }
    return port;
}

bool CloseComPort(TComHandle& Handle)
{
    if (!Handle) {
        return false;
    }
    const bool closed = Handle->Close();
    Handle.reset();
    return closed;
}

} // namespace qel
