// Logger class of model code 0x6619: configurable channels with a value and a
// state series, and an alarm pair of them, per channel; a BLE module.
#pragma once

#include "loggers/config_model_fields.h"
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
class TQEL624C : public TQelConfigModelT<Qel624cCopy>,
                 public TQelRecordState,
                 public TQelViewsT<Qel624cCopy>,
                 public TQelBleConfig {
public:
    static const TQelClassInfo ClassInfo;

    std::string QELNAME;                 // the logger's name
    std::uint16_t CFG_MODULE = 0;
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

    bool IsQelNameAvaliable() const { return config_feature::QelName(ID_VER); }
    bool IsBatTaskAvailable() const { return config_feature::BatTask(ID_VER); }
    bool areChannelsConfigurable() const { return config_feature::ChannelsConfigurable(ID_VER); }
    bool isBLEConfigurable() const { return config_feature::BLEConfigurable(ID_VER); }
    bool hasLocalStart() const { return config_feature::LocalStart(ID_VER); }
    bool hasSyncTime() const { return config_feature::SyncTime(ID_VER); }
    std::string getBLEVersionStr() const { return BleVersionStr(BLE_IF, BLE_VER); }
};

} // namespace qel
