// Logger class of model code 0x6601 from PC version 6.00: 32 configurable
// channels named, scaled and limited by the configuration in the cluster.
#pragma once

#include "loggers/qel_config_model.h"

#include <cstdint>
#include <memory>
#include <string>

namespace qel {

// This unit's copies of the configurable channel and task classes.
namespace qel629c {
using TQelChannelLimit = TQelChannelLimitT<Qel629cCopy>;
using TQelChannel = TQelChannelT<Qel629cCopy>;
using TQelChannelList = TQelChannelListT<Qel629cCopy>;
using TQelTask = TQelTaskT<Qel629cCopy>;
using TQelTaskList = TQelTaskListT<Qel629cCopy>;

// TQEL629C for model code 0x6601 with an accepted PC version word, else TQEL.
TQelClass SelectQelClass(std::uint16_t ModulClass, std::uint16_t ModulVersion);
} // namespace qel629c

// Channel numbers: the index in Channels, one series per channel.
class TQEL629C : public TQelConfigModelT<Qel629cCopy> {
public:
    static const TQelClassInfo ClassInfo;

    // Channels a configuration read leaves in the list.
    static constexpr int ConfigChannelCount = 32;

    std::uint16_t APP_ID = 0;
    std::uint16_t STATE = 0;
    bool VALID_DIFFTIME = false;
    std::int32_t DIFFTIME = 0;
    double REC_STARTTIME = 0.0, REC_STOPTIME = 0.0;
    std::uint8_t REC_STARTMODE = 0, REC_STOPMODE = 0, REC_CTRL = 0;
    std::uint16_t REC_OPTIONS = 0, REC_PAGE = 0, REC_POS = 0, START_PAGE = 0, STOP_PAGE = 0;
    std::uint8_t REC_CAP = 0, REC_START_RESULT = 0;
    std::uint8_t ViewTimeOff = 0, ViewTimeLogo = 0;
    std::uint16_t ViewCfg = 0;
    std::string QELNAME;               // the logger's name
    double CFG_TIME = 0.0;
    std::uint16_t INT_CFG = 0;         // bit 5 external control, bit 12 SD card
    std::uint16_t INT_CFG1 = 0, INT_CFG2 = 0;
    std::uint16_t ACCU_CAPACITY = 0;
    bool bReadChannelInfo = false, bReadChannelLimit = false, bReadMTaskInfo = false;
    std::uint16_t LIMIT_CFG = 0;
    std::uint8_t SDCARD = 0, SDCARD_CTRL = 0;
    std::uint16_t SDCARD_CLASS = 0, SDCARD_VERSION = 0, SDCARD_LOGGER_CLASS = 0;
    std::uint32_t SDCARD_LOGGER_SN = 0;
    std::uint8_t SDCARD_STATE = 0;
    std::uint32_t SN_NEW = 0;          // this class's own second serial number; hides TQEL's
    std::string ORDER_CODE, ORDER_ANUMBER;

    std::uint16_t getChID(std::uint32_t ch) const override;
    std::string GetChName(std::uint32_t ch) const override;
    std::string GetChUnit(std::uint32_t ch) const override;
    float CalcChValue(std::uint32_t chn, std::int16_t x) const override;
    std::string GetName() const override;
    bool IsKnownVersion(std::uint16_t ModulClass, std::uint16_t ModulVersion) const override;
    bool hasUTC() const override;

    virtual void CopyFrom(const TQEL629C& Source);
    virtual std::unique_ptr<TQEL629C> CreateCopy() const;
    virtual bool hasExternalControl() const;

    bool hasSDCard() const;
    bool hasNewMemorySections() const;

    // Empties the channel list and fills it with ConfigChannelCount
    // unconfigured channels (gain 1, offset 0, name and unit empty), as a
    // configuration read begins.
    void NewConfigChannels();

    // Name and unit of a device channel ID, for configurations without texts;
    // an ID without a name gives empty texts.
    static std::string getChNameFromID(std::uint16_t id);
    static std::string getChUnitFromID(std::uint16_t id);
};

} // namespace qel
