// Field groups that several configurable logger models carry alike: recording
// state, display views and the settings of the BLE and WLAN radio modules.
#pragma once

#include "loggers/qel_config_channel.h"

#include <cstdint>
#include <string>

namespace qel {

// Recording state of the logger; no CopyFrom copies it.
struct TQelRecordState {
    std::uint16_t STATE = 0;
    bool VALID_DIFFTIME = false;
    std::int32_t DIFFTIME = 0;
    double REC_STARTTIME = 0.0, REC_STOPTIME = 0.0;
    std::uint8_t REC_STARTMODE = 0, REC_STOPMODE = 0, REC_CTRL = 0, REC_OPT = 0;
    std::uint16_t REC_PAGE = 0, START_PAGE = 0, STOP_PAGE = 0;
};

// The logger's display: its times, view configuration and view lists, in the
// unit's copy C of the view classes.
template <TQelCompanionCopy C>
struct TQelViewsT {
    std::uint8_t ViewTimeOff = 0, ViewTimeLogo = 0;
    std::uint16_t ViewCfg = 0;
    TQelViewGraphicListT<C> ViewGraphicList1, ViewGraphicList2;
    TQelViewTableListT<C> ViewTableList;

    // The two times and copies of the lists; ViewCfg stays.
    void CopyViewsFrom(const TQelViewsT& Source)
    {
        ViewTimeOff = Source.ViewTimeOff;
        ViewTimeLogo = Source.ViewTimeLogo;
        ViewTableList.CopyFrom(Source.ViewTableList);
        ViewGraphicList1.CopyFrom(Source.ViewGraphicList1);
        ViewGraphicList2.CopyFrom(Source.ViewGraphicList2);
    }
};

// Settings of the BLE module; the models that have them copy them whole.
struct TQelBleConfig {
    std::uint16_t BLE_QEL = 0;
    std::uint16_t BLE_VER = 0;  // the module's version word
    std::uint16_t BLE_IF = 0;   // its interface code
    std::uint16_t BLE_CFG = 0, BLE_TIME_CFG = 0, BLE_TIME_FROM = 0, BLE_TIME_TO = 0;
    std::string BLE_PWD;

    void CopyBleConfig(const TQelBleConfig& Source) { *this = Source; }
};

// Kind of radio module and the settings of the WLAN module; the models that
// have them copy them whole.
struct TQelWlanConfig {
    std::uint16_t KE_TYPE = 0;   // radio module: 1 BLE, 2 WLAN
    std::uint16_t WLAN_CLASS = 0;
    std::uint16_t WLAN_VER = 0;  // the WLAN module's version word
    std::uint16_t WLAN_PRINT = 0, WLAN_CFG = 0, WLAN_TIME_CFG = 0;
    std::uint16_t WLAN_TIME_FROM = 0, WLAN_TIME_TO = 0, WLAN_TIME_FROM2 = 0, WLAN_TIME_TO2 = 0;

    void CopyWlanConfig(const TQelWlanConfig& Source) { *this = Source; }
};

// Access data of the WLAN network; no CopyFrom copies them.
struct TQelWlanAccess {
    std::string WLAN_CFG_POR, WLAN_CFG_MAC, WLAN_CFG_SSID, WLAN_CFG_PWD, WLAN_CFG_HOST;
};

} // namespace qel
