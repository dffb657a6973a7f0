// Logger class of model code 0x6626: configurable channels with four series
// each, a BLE or WLAN radio module and the VORN option record.
#pragma once

#include "loggers/qel621wd.h"
#include "loggers/qel_config_model.h"

#include <cstdint>
#include <memory>
#include <string>

namespace qel {

// This unit's copies of the configurable channel, task and view classes.
namespace qel28 {
using TQelChannel = TQelChannelT<Qel28Copy>;
using TQelChannelList = TQelChannelListT<Qel28Copy>;
using TQelTask = TQelTaskT<Qel28Copy>;
using TQelTaskList = TQelTaskListT<Qel28Copy>;
using TQelViewGraphic = TQelViewGraphicT<Qel28Copy>;
using TQelViewGraphicList = TQelViewGraphicListT<Qel28Copy>;
using TQelViewTable = TQelViewTableT<Qel28Copy>;
using TQelViewTableList = TQelViewTableListT<Qel28Copy>;
using TIntQelTask = TIntQelTaskT<Qel28Copy>;
using TIntQelTaskList = TIntQelTaskListT<Qel28Copy>;

// The unit's tables of internal tasks and channels; nothing fills them.
extern TIntQelTaskList IntTasks1, IntTasks2;
extern TQelChannelList IntChannels;

// TQEL28 for model code 0x6626 with an accepted PC version word, else TQEL.
TQelClass SelectQelClass(std::uint16_t ModulClass, std::uint16_t ModulVersion);
} // namespace qel28

// Channel numbers: 4 × channel index + kind (current, minimum, maximum,
// average). The feature tests are those of the QEL62xW generation.
class TQEL28 : public TQelConfigModelT<Qel28Copy> {
public:
    static const TQelClassInfo ClassInfo;

    std::uint16_t APP_ID = 0;            // 1 the VORN variant
    std::uint16_t STATE = 0;
    bool VALID_DIFFTIME = false;
    std::int32_t DIFFTIME = 0;
    double REC_STARTTIME = 0.0, REC_STOPTIME = 0.0;
    std::uint8_t REC_STARTMODE = 0, REC_STOPMODE = 0, REC_CTRL = 0, REC_OPT = 0;
    std::uint16_t REC_PAGE = 0, START_PAGE = 0, STOP_PAGE = 0;
    std::uint8_t ViewTimeOff = 0, ViewTimeLogo = 0;
    std::uint16_t ViewCfg = 0;
    qel28::TQelViewGraphicList ViewGraphicList1, ViewGraphicList2;
    qel28::TQelViewTableList ViewTableList;
    std::string QELNAME;                 // the logger's name
    std::uint16_t CFG_MODULE = 0;
    std::uint16_t BLE_QEL = 0, BLE_VER = 0, BLE_IF = 0, BLE_CFG = 0; // BLE_VER version word, BLE_IF interface code
    std::uint16_t BLE_TIME_CFG = 0, BLE_TIME_FROM = 0, BLE_TIME_TO = 0;
    std::string BLE_PWD;
    bool bReadChannelInfo = false;
    std::int16_t RTC_OFFSET = 0;
    std::uint8_t RTC_RULE = 0;
    TQelVorn5 VORN5;
    std::uint16_t KE_TYPE = 0;           // radio module: 1 BLE, 2 WLAN
    std::uint16_t WLAN_CLASS = 0, WLAN_VER = 0, WLAN_PRINT = 0, WLAN_CFG = 0, WLAN_TIME_CFG = 0;
    std::uint16_t WLAN_TIME_FROM = 0, WLAN_TIME_TO = 0, WLAN_TIME_FROM2 = 0, WLAN_TIME_TO2 = 0;
    std::string WLAN_CFG_POR, WLAN_CFG_MAC, WLAN_CFG_SSID, WLAN_CFG_PWD, WLAN_CFG_HOST;

    std::uint16_t getChID(std::uint32_t ch) const override;
    std::string GetChName(std::uint32_t ch) const override;
    std::string GetChUnit(std::uint32_t ch) const override;
    std::string GetName() const override;
    bool IsKnownVersion(std::uint16_t ModulClass, std::uint16_t ModulVersion) const override;
    bool hasUTC() const override;

    // Copies identity, lists, radio configuration and VORN5; the WLAN access
    // texts stay.
    virtual void CopyFrom(const TQEL28& Source);
    virtual std::unique_ptr<TQEL28> CreateCopy() const;

    bool IsQelNameAvaliable() const { return ID_VER > 0x101; }
    bool IsBatTaskAvailable() const { return ID_VER > 0x105; }
    bool areChannelsConfigurable() const { return ID_VER >= 0x108; }
    bool isBLEConfigurable() const { return ID_VER > 0x108; }
    bool hasLocalStart() const { return ID_VER > 0x10A; }
    bool hasSyncTime() const { return ID_VER > 0x10C; }
    bool arePSensorConfigurable() const { return ID_VER >= 0x10F; }
    bool isFastpeakAvailable() const { return true; }
    bool isTaskConfigurationAvailable() const { return ID_VER > 0x11A; }
    bool isTaskOptionsAvailable() const { return ID_VER > 0x11A; }
    bool isBLEBaseStationAvailable() const { return ID_VER > 0x110; }
    bool hasAppID() const { return ID_VER > 0x112; }
    bool hasKE() const { return ID_VER >= 0x150; }
    // Without a radio module generation (no hasKE) the module is BLE.
    bool hasBLE() const { return !hasKE() || KE_TYPE == 1; }
    bool hasWLAN() const { return hasKE() && KE_TYPE == 2; }
    bool isVorn5() const { return hasAppID() && APP_ID == 1; }

    std::string getBLEVersionStr() const { return BleVersionStr(BLE_IF, BLE_VER); }
    std::string getWLANVersionStr() const { return VersionToStr(WLAN_VER); }
};

} // namespace qel
