// Logger class of model code 0x6626: names of the four series per channel,
// channel IDs by version, accepted versions and copies.
#include "loggers/qel28.h"

#include "loggers/version_ranges.h"

namespace qel {

const TQelClassInfo TQEL28::ClassInfo = MakeQelClass<TQEL28>("TQEL28");

namespace qel28 {

TIntQelTaskList IntTasks1, IntTasks2;
TQelChannelList IntChannels;

TQelClass SelectQelClass(std::uint16_t ModulClass, std::uint16_t ModulVersion)
{
    return SelectWhenAccepted(&TQEL28::ClassInfo, ModulClass == 0x6626, ModulVersion, {{1, 0, 80}});
}

} // namespace qel28

std::uint16_t TQEL28::getChID(std::uint32_t ch) const
{
    return VersionedChannelID(SeriesIndex(ch), ch);
}

std::string TQEL28::GetChName(std::uint32_t ch) const
{
    return MinMaxAvgName(ch);
}

std::string TQEL28::GetChUnit(std::uint32_t ch) const
{
    return SeriesUnit(ch);
}

std::string TQEL28::GetName() const
{
    return ID_CLASS == 0x6626 ? "QEL28" : "?";
}

bool TQEL28::IsKnownVersion(std::uint16_t ModulClass, std::uint16_t ModulVersion) const
{
    return qel28::SelectQelClass(ModulClass, ModulVersion) == &ClassInfo;
}

bool TQEL28::hasUTC() const { return config_feature::UTC(ID_VER); }

void TQEL28::CopyFrom(const TQEL28& Source)
{
    CopyModelFrom(Source);
    APP_ID = Source.APP_ID;
    CopyViewsFrom(Source);
    QELNAME = Source.QELNAME;
    CFG_MODULE = Source.CFG_MODULE;
    CopyBleConfig(Source);
    bReadChannelInfo = Source.bReadChannelInfo;
    RTC_OFFSET = Source.RTC_OFFSET;
    RTC_RULE = Source.RTC_RULE;
    VORN5 = Source.VORN5;
    CopyWlanConfig(Source);
}

std::unique_ptr<TQEL28> TQEL28::CreateCopy() const
{
    return CopiedFrom(*this);
}

} // namespace qel
