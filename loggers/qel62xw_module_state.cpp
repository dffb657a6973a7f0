// Display texts of the WLAN and BLE module states of the QEL62xW generation:
// connection stages, result codes and BLE states.
#include "loggers/qel62xw_module_state.h"

#include "loggers/value_format.h"

#include <cstdio>

namespace qel {

namespace {

// Result texts of the WLAN module's codes 0 ... 28.
constexpr const char* WlanResultTexts[] = {
    "?",             "unused",         "Start",          "Startup stop",  "Startup error", "Startup no rx",
    "Startup no tx", "WiFi on",        "No network",     "Startup timeout", "Ready stop",  "Ready error",
    "No server",     "No transfer",    "Nothing to do",  "Error stop",    "Error start",   "Error restart",
    "Error off",     "Error ?",        "ersion",         "Version error", "Version ok",    "Version stop",
    "WiFi error",    "Wrong SSID",     "Wrong key",      "Unknown URL",   "No IP assigned",
};

constexpr std::size_t WlanResultCount = sizeof WlanResultTexts / sizeof WlanResultTexts[0];
static_assert(WlanResultCount == 29);

} // namespace

std::string TKEWLANstate::getModulStateCodeStr() const
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(state));
    return text;
}

std::string TKEWLANstate::getModulStateStr() const
{
    switch (modul_state) {
    case 1: return "scanning  ";
    case 2: {
        const char* stage = nullptr;
        if ((state & 0x80) != 0) {
            stage = "ready      ";
        } else if ((state & 0x40) != 0) {
            stage = "connected  ";
        } else if ((state & 0x20) != 0) {
            stage = "joined     ";
        } else {
            return "scanning  ";
        }
        std::string text = stage;
        text += std::to_string(rssi);
        return text;
    }
    case 3: return "retry";
    case 4: return "get version";
    default: return "inactive";
    }
}

std::string TKEWLANstate::getModulResultStr() const
{
    std::string text = TextWithNumber("[", modul_error_code);
    text += "] ";
    if (modul_error_code < WlanResultCount) {
        text += WlanResultTexts[modul_error_code];
    }
    return text;
}

std::string TKEBLEstate::getStateStr() const
{
    switch (state) {
    case 2: return "advertising";
    case 3: return "connected  ";
    case 5: return "closing    ";
    default: return "inactive   ";
    }
}

std::string TKEBLEstate::getStateCodeStr() const
{
    return std::to_string(state) + " : " + std::to_string(state2);
}

std::string TKEBLEstate::getModulStateStr() const
{
    return std::to_string(modul_state);
}

} // namespace qel
