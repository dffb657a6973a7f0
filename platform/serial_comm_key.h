// The machine's serial-port list in the shape of the registry key
// "HARDWARE\DEVICEMAP\SERIALCOMM", built from the kernel's tty devices.
#pragma once

#include <string>
#include <vector>

namespace plat {

struct TSerialCommEntry {
    std::string Name;   // "\Device\VCP0" for USB serial adapters, "\Device\Serial0" for others
    std::string Port;   // the device file, e.g. "/dev/ttyUSB0"
};

// The ports of <sysfsRoot>/class/tty that have a device behind them (a
// placeholder UART whose "type" reads 0 is left out), in natural name order
// (ttyS2 before ttyS10). USB adapters (ttyUSB*, ttyACM*) count as virtual
// ports and are numbered apart from the others.
std::vector<TSerialCommEntry> ListSerialPorts(const std::string& sysfsRoot, const std::string& deviceFolder);

} // namespace plat
