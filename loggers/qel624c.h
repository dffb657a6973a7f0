// Logger class of model code 0x6619: configurable channels with a value and a
// state series, and an alarm pair of them, per channel; a BLE module.
#pragma once

#include "loggers/qel_config_model.h"

#include <cstdint>
#include <memory>
#include <string>

namespace qel {

// This unit's copies of the configurable channel, task and view classes.
namespace qel624c {
using TQelChannel = TQelChannelT<Qel624cCopy>;
using TQelChannelList = TQelChannelListT<Qel624cCopy>;
using TQelTask = TQelTaskT<Qel624cCopy>;
using TQelTaskList = TQelTaskListT<Qel624cCopy>;
using TQelViewGraphic = TQelViewGraphicT<Qel624cCopy>;
using TQelViewGraphicList = TQelViewGraphicListT<Qel624cCopy>;
using TQelViewTable = TQelViewTableT<Qel624cCopy>;
using TQelViewTableList = TQelViewTableListT<Qel624cCopy>;
using TIntQelTask = TIntQelTaskT<Qel624cCopy>;
using TIntQelTaskList = TIntQelTaskListT<Qel624cCopy>;

// The unit's tables of internal tasks and channels; nothing fills them.
extern TIntQelTaskList IntTasks1, IntTasks2;
extern TQelChannelList IntChannels;

// TQEL624C for model code 0x6619 with an accepted PC version word, else TQEL.
TQelClass SelectQelClass(std::uint16_t ModulClass, std::uint16_t ModulVersion);
} // namespace qel624c

// Channel numbers: 4 × channel index + kind, the kinds value, state, alarm
// value and alarm state.
class TQEL624C : public TQelConfigModelT<Qel624cCopy> {
public:
    static const TQelClassInfo ClassInfo;

    std::uint16_t STATE = 0;
    bool VALID_DIFFTIME = false;
    std::int32_t DIFFTIME = 0;
    double REC_STARTTIME = 0.0, REC_STOPTIME = 0.0;
    std::uint8_t REC_STARTMODE = 0, REC_STOPMODE = 0, REC_CTRL = 0, REC_OPT = 0;
    std::uint16_t REC_PAGE = 0, START_PAGE = 0, STOP_PAGE = 0;
    std::uint8_t ViewTimeOff = 0, ViewTimeLogo = 0;
    std::uint16_t ViewCfg = 0;
    qel624c::TQelViewGraphicList ViewGraphicList1, ViewGraphicList2;
    qel624c::TQelViewTableList ViewTableList;
    std::string QELNAME;                 // the logger's name
    std::uint16_t CFG_MODULE = 0;
    std::uint16_t BLE_QEL = 0, BLE_VER = 0, BLE_IF = 0, BLE_CFG = 0; // BLE_VER version word, BLE_IF interface code
    std::uint16_t BLE_TIME_CFG = 0, BLE_TIME_FROM = 0, BLE_TIME_TO = 0;
    std::string BLE_PWD;
    bool bReadChannelInfo = false;
    std::int16_t RTC_OFFSET = 0;
    std::uint8_t RTC_RULE = 0;

    std::uint16_t getChID(std::uint32_t ch) const override;
    std::string GetChName(std::uint32_t ch) const override;
    // The state series have no unit.
    std::string GetChUnit(std::uint32_t ch) const override;
    std::string GetName() const override;
    bool IsKnownVersion(std::uint16_t ModulClass, std::uint16_t ModulVersion) const override;
    bool hasUTC() const override;

    virtual void CopyFrom(const TQEL624C& Source);
    virtual std::unique_ptr<TQEL624C> CreateCopy() const;

    bool IsQelNameAvaliable() const { return ID_VER > 0x101; }
    bool IsBatTaskAvailable() const { return ID_VER > 0x105; }
    bool areChannelsConfigurable() const { return ID_VER >= 0x108; }
    bool isBLEConfigurable() const { return ID_VER > 0x108; }
    bool hasLocalStart() const { return ID_VER > 0x10A; }
    bool hasSyncTime() const { return ID_VER > 0x10C; }
    std::string getBLEVersionStr() const { return BleVersionStr(BLE_IF, BLE_VER); }
};

} // namespace qel
