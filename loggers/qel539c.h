// Logger class of model code 0x6615: its own configurable channels, modem,
// URL, WLAN and BLE data, and the radio sensor modules whose values it records.
#pragma once

#include "loggers/config_model_fields.h"
#include "loggers/qel_config_model.h"
#include "loggers/rfs_modul.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace qel {

// This unit's copies of the configurable channel, task and view classes.
namespace qel539c {
using TQelChannel = TQelChannelT<Qel539cCopy>;
using TQelChannelList = TQelChannelListT<Qel539cCopy>;
using TQelTask = TQelTaskT<Qel539cCopy>;
using TQelTaskList = TQelTaskListT<Qel539cCopy>;
using TQelViewGraphic = TQelViewGraphicT<Qel539cCopy>;
using TQelViewGraphicList = TQelViewGraphicListT<Qel539cCopy>;
using TQelViewTable = TQelViewTableT<Qel539cCopy>;
using TQelViewTableList = TQelViewTableListT<Qel539cCopy>;
using TIntQelTask = TIntQelTaskT<Qel539cCopy>;
using TIntQelTaskList = TIntQelTaskListT<Qel539cCopy>;

// The unit's tables of internal tasks and channels; nothing fills them.
extern TIntQelTaskList IntTasks1, IntTasks2;
extern TQelChannelList IntChannels;

// TQEL539C for model code 0x6615 with an accepted PC version word, else TQEL.
TQelClass SelectQelClass(std::uint16_t ModulClass, std::uint16_t ModulVersion);
} // namespace qel539c

// Channel numbers: below 64 the logger's own channels, four series each
// (4 × index + kind: current, minimum, maximum, average); from 64 on radio
// channels, 16 per module: 64 + 16 × module index + channel index.
class TQEL539C : public TQelConfigModelT<Qel539cCopy>,
                 public TQelRecordState,
                 public TQelViewsT<Qel539cCopy>,
                 public TQelBleConfig,
                 public TQelWlanConfig,
                 public TQelWlanAccess {
public:
    static const TQelClassInfo ClassInfo;

    static constexpr std::uint32_t FirstRadioChannel = 64;
    static constexpr std::uint32_t RadioChannelsPerModul = 16;
    static constexpr std::size_t ModemLimitsSize = 48;

    std::uint16_t APP_ID = 0;            // 1 keeps the modem on new versions, 2 Modbus
    std::uint16_t CURRENT_PAGE = 0;
    std::string QELNAME;                 // the logger's name
    std::uint16_t CFG_MODULE = 0, CFG_BLE = 0;
    bool bReadChannelInfo = false;
    std::uint8_t RFS_CTRL = 0;
    std::uint16_t RFS_SN1 = 0, RFS_SN2 = 0, RFS_SN3 = 0, RFS_SN4 = 0, RFS_SN5 = 0;
    std::uint16_t RFS_SN6 = 0, RFS_SN7 = 0, RFS_SN8 = 0, RFS_SN9 = 0, RFS_SN10 = 0;
    TRFSModulList FRFSModulList;         // the radio modules met so far; the page decoder fills it
    std::int16_t RTC_OFFSET = 0;
    std::uint8_t RTC_RULE = 0;
    std::uint8_t MEM_TYPE0 = 0, MEM_TYPE1 = 0;
    std::uint16_t MEM_PAGES = 0, MEM_PAGESIZE = 0;
    std::uint16_t MODEM_STD_CNT = 0, MODEM_ALARM_CNT = 0;
    std::array<std::uint8_t, ModemLimitsSize> MODEM_LIMITS{};
    std::string URL;
    bool WLAN_CFG_PWD63 = false, WLAN_CFG_PWD_WRITE = false, WLAN_CFG_WRITE = false;
    std::uint8_t MODBUS_ADDR = 0;

    std::string GetChName(std::uint32_t ch) const override;
    std::string GetChUnit(std::uint32_t ch) const override;
    // The current value of the own channel with index chn; 0 when none.
    float GetChValue(std::uint32_t chn) const override;
    // The value in the display format of the own channel with index ch;
    // another number raises the list's index error.
    std::string GetValueStr(std::uint32_t ch, float value) const override;
    std::string GetName() const override;
    bool IsKnownVersion(std::uint16_t ModulClass, std::uint16_t ModulVersion) const override;
    bool hasUTC() const override;
    using TQEL::GetChValue;

    // Copies identity, radio configuration and lists; the radio modules stay.
    virtual void CopyFrom(const TQEL539C& Source);
    virtual std::unique_ptr<TQEL539C> CreateCopy() const;

    // The radio module's name for a radio channel number; empty below 64.
    std::string GetModulName(std::uint32_t ch) const;

    bool IsQelNameAvaliable() const { return config_feature::QelName(ID_VER); }
    bool IsBatTaskAvailable() const { return config_feature::BatTask(ID_VER); }
    bool areChannelsConfigurable() const { return config_feature::ChannelsConfigurable(ID_VER); }
    bool hasLocalStart() const { return ID_VER >= 0x300; }
    bool hasSyncTime() const { return ID_VER >= 0x300; }
    bool hasModem() const { return ID_VER >= 0x308 && (ID_VER < 0x356 || APP_ID == 1); }
    bool hasURL() const { return ID_VER >= 0x350; }
    bool hasKE() const { return ID_VER >= 0x356; }
    bool hasModbus() const { return ID_VER >= 0x356 && APP_ID == 2; }
    bool hasBLE() const { return hasKE() && KE_TYPE == 1; }
    bool hasWLAN() const { return hasKE() && KE_TYPE == 2; }

private:
    static int ModulIndex(std::uint32_t ch) { return static_cast<int>((ch - FirstRadioChannel) / RadioChannelsPerModul); }
    static int ModulChannel(std::uint32_t ch) { return static_cast<int>((ch - FirstRadioChannel) % RadioChannelsPerModul); }
};

} // namespace qel
