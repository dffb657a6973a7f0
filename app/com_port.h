// Opening and closing a serial port with the line settings, time-outs and
// modem lines of the loggers' two serial protocols.
#pragma once

#include "platform/serial_port.h"

#include <cstdint>
#include <memory>
#include <string>

namespace qel {

// An open port, used by one probe alone; nullptr stands for no port.
using TComHandle = std::unique_ptr<plat::ISerialPort>;

// Modes 1 and 3: the 9600 Bd protocol (reads of n bytes end after n + 500 ms,
// RTS low, no pause). Modes 0 and 2: the 115200 Bd protocol (reads end after
// 1000 ms, RTS raised, then 500 ms pause). Writes end after 100 ms in all.
constexpr std::uint8_t COM_MODE_COUNT = 4;

// Port (a device such as /dev/ttyUSB0) opened for this process alone, raw
// 8N1 at Baud, with the time-outs of Mode, DTR raised and RTS as the mode
// says; nullptr when it cannot be opened, Mode is not 0 to 3, or any setting
// fails (the port is then closed again). Cancel ends the pause after opening
// (a failure too) and every later wait on the port.
TComHandle OpenComPort(const std::string& Port, int Baud, std::uint8_t Mode, const plat::TCancelHandle& Cancel);

// Closes the port and empties Handle; false when the system reported an
// error or there was no port.
bool CloseComPort(TComHandle& Handle);

} // namespace qel
