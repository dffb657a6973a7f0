// Logger class of model code 0x6616, the smallest configurable model:
// channels, tasks, one graphic and one table view, two alarm-time records.
#pragma once

#include "loggers/config_model_fields.h"
#include "loggers/qel_config_model.h"

#include <cstdint>
#include <memory>
#include <string>

namespace qel {

// This unit's copies of the configurable channel, task and view classes.
namespace qel51 {
using TQelChannel = TQelChannelT<Qel51Copy>;
using TQelChannelList = TQelChannelListT<Qel51Copy>;
using TQelTask = TQelTaskT<Qel51Copy>;
using TQelTaskList = TQelTaskListT<Qel51Copy>;
using TQelViewGraphic = TQelViewGraphicT<Qel51Copy>;
using TQelViewGraphicList = TQelViewGraphicListT<Qel51Copy>;
using TQelViewTable = TQelViewTableT<Qel51Copy>;
using TQelViewTableList = TQelViewTableListT<Qel51Copy>;
using TIntQelTask = TIntQelTaskT<Qel51Copy>;
using TIntQelTaskList = TIntQelTaskListT<Qel51Copy>;

// The unit's tables of internal tasks and channels; nothing fills them.
extern TIntQelTaskList IntTasks1, IntTasks2;
extern TQelChannelList IntChannels;

// TQEL51 for model code 0x6616 with an accepted PC version word, else TQEL.
TQelClass SelectQelClass(std::uint16_t ModulClass, std::uint16_t ModulVersion);
} // namespace qel51

// A user alarm time of the logger.
struct TQEL51CfgT {
    double USR1_ALARM_PRE = 0.0;
    double USR1_ALARM_MAIN = 0.0;
    std::uint32_t USR1_TIME = 0;
    std::uint8_t USR1_DATE = 0;
};

// Channel numbers: 4 × channel index + kind (current, minimum, maximum,
// average). No channel IDs (getChID answers $3FFF) and no UTC setting.
class TQEL51 : public TQelConfigModelT<Qel51Copy>, public TQelRecordState {
public:
    static const TQelClassInfo ClassInfo;

    std::uint8_t ViewTimeOff = 0, ViewTimeLogo = 0;
    std::uint16_t ViewCfg = 0;
    qel51::TQelViewGraphicList ViewGraphicList;
    qel51::TQelViewTableList ViewTableList;
    TQEL51CfgT T1, T2;

    std::string GetChName(std::uint32_t ch) const override;
    std::string GetChUnit(std::uint32_t ch) const override;
    std::string GetName() const override;
    bool IsKnownVersion(std::uint16_t ModulClass, std::uint16_t ModulVersion) const override;

    // Copies identity and lists; T1, T2 and the other fields stay.
    virtual void CopyFrom(const TQEL51& Source);
    virtual std::unique_ptr<TQEL51> CreateCopy() const;

    bool IsBatTaskAvailable() const { return ID_VER > 0x104; }
    bool isSection2B() const { return ID_VER > 0x104; }
};

} // namespace qel
