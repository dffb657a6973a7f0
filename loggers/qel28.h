// Logger class of model code 0x6626: configurable channels with four series
// each, a BLE or WLAN radio module and the VORN option record.
#pragma once

#include "loggers/config_model_fields.h"
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
class TQEL28 : public TQelConfigModelT<Qel28Copy>,
               public TQelRecordState,
               public TQelViewsT<Qel28Copy>,
               public TQelBleConfig,
               public TQelWlanConfig,
               public TQelWlanAccess {
public:
    static const TQelClassInfo ClassInfo;

    std::uint16_t APP_ID = 0;            // 1 the VORN variant
    std::string QELNAME;                 // the logger's name
    std::uint16_t CFG_MODULE = 0;
    bool bReadChannelInfo = false;
    std::int16_t RTC_OFFSET = 0;
    std::uint8_t RTC_RULE = 0;
    TQelVorn5 VORN5;

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

    bool IsQelNameAvaliable() const { return config_feature::QelName(ID_VER); }
    bool IsBatTaskAvailable() const { return config_feature::BatTask(ID_VER); }
    bool areChannelsConfigurable() const { return config_feature::ChannelsConfigurable(ID_VER); }
    bool isBLEConfigurable() const { return config_feature::BLEConfigurable(ID_VER); }
    bool hasLocalStart() const { return config_feature::LocalStart(ID_VER); }
    bool hasSyncTime() const { return config_feature::SyncTime(ID_VER); }
    bool arePSensorConfigurable() const { return config_feature::PSensorConfigurable(ID_VER); }
    bool isFastpeakAvailable() const { return true; }
    bool isTaskConfigurationAvailable() const { return config_feature::TaskConfiguration(ID_VER); }
    bool isTaskOptionsAvailable() const { return config_feature::TaskConfiguration(ID_VER); }
    bool isBLEBaseStationAvailable() const { return config_feature::BLEBaseStation(ID_VER); }
    bool hasAppID() const { return config_feature::AppID(ID_VER); }
    bool hasKE() const { return config_feature::RadioModule(ID_VER); }
    // Without a radio module generation (no hasKE) the module is BLE.
    bool hasBLE() const { return !hasKE() || KE_TYPE == 1; }
    bool hasWLAN() const { return hasKE() && KE_TYPE == 2; }
    bool isVorn5() const { return hasAppID() && APP_ID == 1; }

    std::string getBLEVersionStr() const { return BleVersionStr(BLE_IF, BLE_VER); }
    std::string getWLANVersionStr() const { return VersionToStr(WLAN_VER); }
};

} // namespace qel
