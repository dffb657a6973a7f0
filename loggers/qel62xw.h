// Base class of the configurable logger generation with a WLAN or BLE radio
// module: configuration, channels, tasks, views and the feature tests.
#pragma once

#include "loggers/config_model_fields.h"
#include "loggers/qel62xw_module_state.h"
#include "loggers/qel_config_model.h"

#include <cstdint>
#include <memory>
#include <string>

namespace qel {

// This unit's copies of the configurable channel, task and view classes.
namespace qel62xw {
using TQelChannelLimit = TQelChannelLimitT<Qel62xWCopy>;
using TQelChannel = TQelChannelT<Qel62xWCopy>;
using TQelChannelList = TQelChannelListT<Qel62xWCopy>;
using TQelTask = TQelTaskT<Qel62xWCopy>;
using TQelTaskList = TQelTaskListT<Qel62xWCopy>;
using TQelViewGraphic = TQelViewGraphicT<Qel62xWCopy>;
using TQelViewGraphicList = TQelViewGraphicListT<Qel62xWCopy>;
using TQelViewTable = TQelViewTableT<Qel62xWCopy>;
using TQelViewTableList = TQelViewTableListT<Qel62xWCopy>;
using TIntQelTask = TIntQelTaskT<Qel62xWCopy>;
using TIntQelTaskList = TIntQelTaskListT<Qel62xWCopy>;

// The unit's tables of internal tasks and channels; nothing fills them.
extern TIntAllTaskList IntAllTasks;
extern TIntQelTaskList IntTasks1, IntTasks2;
extern TQelChannelList IntChannels;
} // namespace qel62xw

// Channel numbers: from version 2.00 the channel index; before, four series
// per channel (4 × index + kind: current, minimum, maximum, average).
// The factory never creates this class itself, only its children.
class TQEL62xW : public TQelConfigModelT<Qel62xWCopy>,
                 public TQelRecordState,
                 public TQelViewsT<Qel62xWCopy>,
                 public TQelBleConfig,
                 public TQelWlanConfig,
                 public TQelWlanAccess {
public:
    std::uint16_t APP_ID = 0;
    std::uint8_t REC_CAP = 0;
    std::string QELNAME;                 // the logger's name
    double CFG_TIME = 0.0;
    bool CFG_TIME_NOTEQUAL = false;
    std::uint16_t MODUL_CFG = 0;         // bit 5 external control
    std::uint16_t ACCU_CAPACITY = 0;
    bool bReadChannelInfo = false, bReadChannelLimit = false;
    std::int16_t RTC_OFFSET = 0;
    std::uint8_t RTC_RULE = 0;
    bool WLAN_CFG_PWD63 = false, WLAN_CFG_PWD_WRITE = false;
    TKEWLANstate KEWLANstate;
    TKEBLEstate KEBLEstate;
    std::uint16_t LIMIT_CFG0 = 0;

    std::uint16_t getChID(std::uint32_t ch) const override;
    std::string GetChName(std::uint32_t ch) const override;
    std::string GetChUnit(std::uint32_t ch) const override;
    std::string GetName() const override;
    bool hasUTC() const override;

    // Copies identity, lists, module states and the radio configuration;
    // the recording fields, ViewCfg and the WLAN access texts stay.
    virtual void CopyFrom(const TQEL62xW& Source);
    // A new TQEL62xW, also when called on a child.
    virtual std::unique_ptr<TQEL62xW> CreateCopy() const;

    // Feature tests from the version words; hasBLE and hasWLAN follow hasKE
    // and hasLimits through the virtual calls.
    virtual bool isVersion2() const;
    virtual bool IsQelNameAvaliable() const;
    virtual bool IsBatTaskAvailable() const;
    virtual bool areChannelsConfigurable() const;
    virtual bool isBLEConfigurable() const;
    virtual bool hasLocalStart() const;
    virtual bool hasSyncTime() const;
    virtual bool arePSensorConfigurable() const;
    virtual bool isFastpeakAvailable() const;
    virtual bool isTaskConfigurationAvailable() const;
    virtual bool isTaskOptionsAvailable() const;
    virtual bool isBLEBaseStationAvailable() const;
    virtual bool hasAppID() const;
    virtual bool hasKE() const;
    virtual bool hasExtendedInternalTaskInfo() const;
    virtual bool hasCfgTime() const;
    virtual bool hasCfgTime2() const;
    virtual bool hasKEState() const;
    virtual bool hasHiddenChannels() const;
    virtual bool hasWLANTimeHourly() const;
    virtual bool hasLimits() const;
    virtual bool hasRecordInfo() const;
    virtual bool hasExternalControl() const;
    virtual bool hasBleLimits() const;
    virtual bool hasFastFlexRate() const;
    virtual bool has8DisplayLines() const;
    virtual bool hasWifiAutostartPOR() const;
    virtual bool IsFX2orFX3Available() const;

    // Without a radio module generation (no hasKE) the module is BLE.
    bool hasBLE() const { return !hasKE() || KE_TYPE == 1; }
    bool hasWLAN() const { return hasKE() && KE_TYPE == 2; }
    std::string getBLEVersionStr() const { return BleVersionStr(BLE_IF, BLE_VER); }
    std::string getWLANVersionStr() const { return VersionToStr(WLAN_VER); }

protected:
    static constexpr std::uint16_t ExternalControlBit = 0x0020;

    // Index in Channels of a channel number.
    std::uint32_t ChannelIndex(std::uint32_t ch) const { return isVersion2() ? ch : SeriesIndex(ch); }
};

} // namespace qel
