// Logger class of model code 0x6621 below version 2.00 (and the name of the
// palVEX3, 0x6624): configurable channels, flex sensors and the VORN option.
#pragma once

#include "loggers/config_model_fields.h"
#include "loggers/qel_config_model.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace qel {

// This unit's copies of the configurable channel, task and view classes.
namespace qel621wd {
using TQelChannel = TQelChannelT<Qel621WDCopy>;
using TQelChannelList = TQelChannelListT<Qel621WDCopy>;
using TQelTask = TQelTaskT<Qel621WDCopy>;
using TQelTaskList = TQelTaskListT<Qel621WDCopy>;
using TQelViewGraphic = TQelViewGraphicT<Qel621WDCopy>;
using TQelViewGraphicList = TQelViewGraphicListT<Qel621WDCopy>;
using TQelViewTable = TQelViewTableT<Qel621WDCopy>;
using TQelViewTableList = TQelViewTableListT<Qel621WDCopy>;
using TIntQelTask = TIntQelTaskT<Qel621WDCopy>;
using TIntQelTaskList = TIntQelTaskListT<Qel621WDCopy>;

// The unit's tables of internal tasks and channels; nothing fills them.
extern TIntQelTaskList IntTasks1, IntTasks2;
extern TQelChannelList IntChannels1, IntChannels2;

// TQEL621WD for model code 0x6621 with an accepted PC version word, else TQEL.
TQelClass SelectQelClass(std::uint16_t ModulClass, std::uint16_t ModulVersion);
} // namespace qel621wd

// Settings of the VORN vibration option.
struct TQelVorn5 {
    std::uint16_t VIBRA_CTRL = 0, VIBRA_ID = 0, VIBRA_TIMING_ON = 0, VIBRA_TIMING_OFF = 0;
    double VIBRA_TIMING_DELAY = 0.0, VIBRA_ANGLE_FROM = 0.0, VIBRA_ANGLE_TO = 0.0;
};

// Channel numbers: from version 1.08 (isVersionType2) the channel index;
// before, four series per channel (4 × index + kind: current, minimum,
// maximum, average).
class TQEL621WD : public TQelConfigModelT<Qel621WDCopy>,
                  public TQelRecordState,
                  public TQelViewsT<Qel621WDCopy>,
                  public TQelBleConfig {
public:
    static const TQelClassInfo ClassInfo;

    static constexpr std::size_t FlexDataSize = 42;

    std::uint16_t APP_ID = 0;            // 1 the VORN variant
    std::uint8_t REC_CAP = 0;
    std::string QELNAME;                 // the logger's name
    std::uint16_t CFG_MODULE = 0;
    bool bReadChannelInfo = false;
    std::int16_t RTC_OFFSET = 0;
    std::uint8_t RTC_RULE = 0;
    TQelVorn5 VORN5;
    std::array<std::uint8_t, FlexDataSize> FLEX{}; // flex-sensor data block
    std::uint16_t FLEX_SN = 0;
    std::uint8_t FLEX_TYPE = 0, FLEX_IDX = 0;

    std::uint16_t getChID(std::uint32_t ch) const override;
    std::string GetChName(std::uint32_t ch) const override;
    std::string GetChUnit(std::uint32_t ch) const override;
    std::string GetName() const override;
    bool IsKnownVersion(std::uint16_t ModulClass, std::uint16_t ModulVersion) const override;
    bool hasUTC() const override;

    // Copies identity, lists, radio configuration and VORN5; the flex fields stay.
    virtual void CopyFrom(const TQEL621WD& Source);
    virtual std::unique_ptr<TQEL621WD> CreateCopy() const;

    bool IsQelNameAvaliable() const { return true; }
    bool IsBatTaskAvailable() const { return true; }
    bool areChannelsConfigurable() const { return true; }
    bool arePSensorConfigurable() const { return true; }
    bool isBLEConfigurable() const { return true; }
    bool isBLEBaseStationAvailable() const { return true; }
    bool isFastpeakAvailable() const { return true; }
    bool isTaskConfigurationAvailable() const { return true; }
    bool isTaskOptionsAvailable() const { return true; }
    bool hasAppID() const { return true; }
    bool hasLocalStart() const { return true; }
    bool hasSyncTime() const { return true; }
    bool isVersionType2() const { return ID_VER > 0x107; }
    bool hasRecordInfo() const { return ID_VER > 0x108; }
    bool hasFlexExtendedInterface() const { return ID_VER > 0x108; }
    bool isVorn5() const { return hasAppID() && APP_ID == 1; }
    bool isPalVEX() const { return ID_CLASS == 0x6624; }

    // Flex entries per series of a start page: 6 for the palVEX3, else 5.
    int getFlexChannels() const { return isPalVEX() ? 6 : 5; }
    // Names an existing channel after the flex sensor behind it; its ID is
    // the low 16 bits of sn × 2 + (flexchannel and 1). The list is not extended.
    void updateFlexChannel(std::uint16_t channel, std::uint16_t flexchannel, std::uint16_t sn,
                           const std::string& sName, const std::string& sUnit);

    std::string getBLEVersionStr() const { return BleVersionStr(BLE_IF, BLE_VER); }

private:
    // Index in Channels of a channel number; getChID uses the same rule as
    // the names, so that an ID always belongs to the channel so named.
    std::uint32_t ChannelIndex(std::uint32_t ch) const { return isVersionType2() ? ch : SeriesIndex(ch); }
};

} // namespace qel
