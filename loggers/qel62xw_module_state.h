// States of the radio modules of the QEL62xW generation, WLAN and BLE, as the
// logger reports them, with their display texts.
#pragma once

#include <cstdint>
#include <string>

namespace qel {

class TKEWLANstate {
public:
    std::uint16_t state = 0;           // connection bits: 7 ready, 6 connected, 5 joined
    std::uint8_t modul_state = 0;      // 1 scanning, 2 connecting, 3 retry, 4 get version
    std::uint8_t modul_error_code = 0; // result code of the last module action
    std::int16_t rssi = 0;             // signal strength
    std::uint8_t error_code = 0;

    void CopyFrom(const TKEWLANstate& Source) { *this = Source; }

    // "0x" and state in four upper-case hexadecimal digits.
    std::string getModulStateCodeStr() const;
    // The stage texts keep their trailing blanks; a connection stage is
    // followed by the signal strength.
    std::string getModulStateStr() const;
    // "[code] " and, for a known code, its result text.
    std::string getModulResultStr() const;
};

class TKEBLEstate {
public:
    std::uint8_t state = 0;        // 2 advertising, 3 connected, 5 closing
    std::uint8_t state2 = 0;
    std::uint16_t modul_state = 0;

    void CopyFrom(const TKEBLEstate& Source) { *this = Source; }

    std::string getStateStr() const;
    // "state : state2" in decimal.
    std::string getStateCodeStr() const;
    std::string getModulStateStr() const;
};

} // namespace qel
