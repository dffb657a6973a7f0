// Tests of the WLAN and BLE module states of the QEL62xW generation: their
// texts, with the trailing blanks of the stage texts, and their copies.
#include "loggers/qel62xw_module_state.h"

#include <gtest/gtest.h>

namespace qel {
namespace {

TEST(WlanModuleState, StateTexts)
{
    const struct {
        std::uint8_t modul_state;
        std::uint16_t state;
        std::int16_t rssi;
        const char* text;
    } cases[] = {
        {1, 0x80, -50, "scanning  "},        {2, 0x80, -50, "ready      -50"},   {2, 0xC0, -50, "ready      -50"},
        {2, 0x40, -61, "connected  -61"},    {2, 0x60, 7, "connected  7"},      {2, 0x20, 0, "joined     0"},
        {2, 0x1F, -61, "scanning  "},        {3, 0x80, -1, "retry"},            {4, 0, 0, "get version"},
        {0, 0x80, 0, "inactive"},            {5, 0x80, 0, "inactive"},          {9, 0, 0, "inactive"},
    };
    for (const auto& c : cases) {
        TKEWLANstate wlan;
        wlan.modul_state = c.modul_state;
        wlan.state = c.state;
        wlan.rssi = c.rssi;
        EXPECT_EQ(wlan.getModulStateStr(), c.text) << int(c.modul_state) << " " << c.state;
    }
}

TEST(WlanModuleState, StateCode)
{
    TKEWLANstate wlan;
    EXPECT_EQ(wlan.getModulStateCodeStr(), "0x0000");
    wlan.state = 0x40;
    EXPECT_EQ(wlan.getModulStateCodeStr(), "0x0040");
    wlan.state = 0xABCD;
    EXPECT_EQ(wlan.getModulStateCodeStr(), "0xABCD");
}

TEST(WlanModuleState, ResultTexts)
{
    const std::pair<std::uint8_t, const char*> cases[] = {
        {0, "[0] ?"},               {1, "[1] unused"},          {9, "[9] Startup timeout"}, {14, "[14] Nothing to do"},
        {19, "[19] Error ?"},       {20, "[20] ersion"},        {21, "[21] Version error"}, {24, "[24] WiFi error"},
        {28, "[28] No IP assigned"}, {29, "[29] "},             {255, "[255] "},
    };
    for (const auto& [code, text] : cases) {
        TKEWLANstate wlan;
        wlan.modul_error_code = code;
        EXPECT_EQ(wlan.getModulResultStr(), text) << int(code);
    }
}

TEST(BleModuleState, Texts)
{
    const std::pair<std::uint8_t, const char*> states[] = {
        {2, "advertising"}, {3, "connected  "}, {5, "closing    "}, {0, "inactive   "}, {4, "inactive   "}, {255, "inactive   "},
    };
    for (const auto& [state, text] : states) {
        TKEBLEstate ble;
        ble.state = state;
        EXPECT_EQ(ble.getStateStr(), text) << int(state);
    }
    TKEBLEstate ble;
    ble.state = 3;
    ble.state2 = 17;
    ble.modul_state = 65535;
    EXPECT_EQ(ble.getStateCodeStr(), "3 : 17");
    EXPECT_EQ(ble.getModulStateStr(), "65535");
}

TEST(ModuleStates, CopiesTakeEveryField)
{
    TKEWLANstate wlan;
    wlan.state = 1;
    wlan.modul_state = 2;
    wlan.modul_error_code = 3;
    wlan.rssi = -4;
    wlan.error_code = 5;
    TKEWLANstate wlanCopy;
    wlanCopy.CopyFrom(wlan);
    EXPECT_EQ(wlanCopy.state, 1);
    EXPECT_EQ(wlanCopy.modul_state, 2);
    EXPECT_EQ(wlanCopy.modul_error_code, 3);
    EXPECT_EQ(wlanCopy.rssi, -4);
    EXPECT_EQ(wlanCopy.error_code, 5);

    TKEBLEstate ble;
    ble.state = 6;
    ble.state2 = 7;
    ble.modul_state = 8;
    TKEBLEstate bleCopy;
    bleCopy.CopyFrom(ble);
    EXPECT_EQ(bleCopy.state, 6);
    EXPECT_EQ(bleCopy.state2, 7);
    EXPECT_EQ(bleCopy.modul_state, 8);
}

} // namespace
} // namespace qel
