// One serial port of the machine with what a probe learned about the logger
// connected to it.
#pragma once

#include <cstdint>
#include <string>

namespace qel {

// Outcome of a port's probe; a probe moves it up from mpePORT as it goes.
enum TQelPortError : std::uint8_t {
    mpeUNKNOWN = 0,   // not probed
    mpePORT = 1,      // probe started; stays when the port cannot be opened
    mpeCOM = 2,       // port opened; stays when no logger answered correctly
    mpeCLASS = 3,     // a logger answered with a model code or version not accepted
    mpeOK = 4,        // identity read
};

struct TQelPort {
    std::string port;              // device file, the data of the serial-port key's value
    bool vcp = false;              // a virtual (USB serial) port
    bool search = false;           // a probe thread of its own was started for it
    std::uint16_t id_class = 0;    // model code
    std::uint16_t id_app = 0;      // application word (two model codes only)
    std::uint16_t id_version = 0;  // model version word; no probe fills it
    std::uint16_t id_ver_pc = 0;   // PC version word
    std::uint32_t id_sn = 0;       // serial number
    std::string id_name;           // logger name (UTF-8; each name byte is its Latin-1 character)
    TQelPortError error = mpeUNKNOWN;
};

} // namespace qel
