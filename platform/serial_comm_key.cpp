// Serial-port discovery from /sys/class/tty for the synthesised registry key.
#include "platform/serial_comm_key.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace plat {

namespace fs = std::filesystem;

namespace {

// "ttyS10" splits into "ttyS" and 10, so that names sort by number.
std::pair<std::string, unsigned long> NaturalKey(const std::string& name)
{
    std::size_t digits = name.size();
    while (digits > 0 && name[digits - 1] >= '0' && name[digits - 1] <= '9' && name.size() - digits < 9) {
        --digits;
    }
    const unsigned long number = digits < name.size() ? std::stoul(name.substr(digits)) : 0;
    return {name.substr(0, digits), number};
}

bool IsUsbAdapter(const std::string& name)
{
    return name.starts_with("ttyUSB") || name.starts_with("ttyACM");
}

// A port exists when a device stands behind it; the serial driver also lists
// placeholder UARTs, which report the type 0.
bool IsPresentPort(const fs::path& entry)
{
    std::error_code error;
    if (!fs::exists(entry / "device", error)) {
        return false;
    }
    std::ifstream typeFile(entry / "type");
    std::string type;
    return !(typeFile >> type) || type != "0";
}

} // namespace

std::vector<TSerialCommEntry> ListSerialPorts(const std::string& sysfsRoot, const std::string& deviceFolder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(fs::path(sysfsRoot) / "class" / "tty", error), end; !error && it != end;
         it.increment(error)) {
        if (IsPresentPort(it->path())) {
            names.push_back(it->path().filename().string());
        }
    }
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return NaturalKey(a) < NaturalKey(b); });

    std::vector<TSerialCommEntry> ports;
    int virtualCount = 0;
    int serialCount = 0;
    for (const std::string& name : names) {
        const std::string valueName = IsUsbAdapter(name) ? "\\Device\\VCP" + std::to_string(virtualCount++)
                                                         : "\\Device\\Serial" + std::to_string(serialCount++);
        ports.push_back({valueName, deviceFolder + "/" + name});
    }
    return ports;
}

} // namespace plat
