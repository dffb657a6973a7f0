// Logger class of model code 0x6621 below version 2.00: names by channel
// number, flex-sensor channels, accepted versions and copies.
#include "loggers/qel621wd.h"

#include "loggers/version_ranges.h"

namespace qel {

const TQelClassInfo TQEL621WD::ClassInfo = MakeQelClass<TQEL621WD>("TQEL621WD");

namespace qel621wd {

TIntQelTaskList IntTasks1, IntTasks2;
TQelChannelList IntChannels1, IntChannels2;

TQelClass SelectQelClass(std::uint16_t ModulClass, std::uint16_t ModulVersion)
{
    return SelectWhenAccepted(&TQEL621WD::ClassInfo, ModulClass == 0x6621, ModulVersion, {{1, 0, 12}});
}

} // namespace qel621wd

std::uint16_t TQEL621WD::getChID(std::uint32_t ch) const
{
    return ChannelIDOr(ChannelIndex(ch));
}

std::string TQEL621WD::GetChName(std::uint32_t ch) const
{
    if (isVersionType2()) {
        return ChannelNameOr(ch, ch);
    }
    return MinMaxAvgName(ch);
}

std::string TQEL621WD::GetChUnit(std::uint32_t ch) const
{
    return ChannelUnitOr(ChannelIndex(ch), ch);
}

std::string TQEL621WD::GetName() const
{
    switch (ID_CLASS) {
    case 0x6621: return "QEL621WD";
    case 0x6624: return "palVEX3";
    default: return "?";
    }
}

bool TQEL621WD::IsKnownVersion(std::uint16_t ModulClass, std::uint16_t ModulVersion) const
{
    return qel621wd::SelectQelClass(ModulClass, ModulVersion) == &ClassInfo;
}

bool TQEL621WD::hasUTC() const { return true; }

void TQEL621WD::updateFlexChannel(std::uint16_t channel, std::uint16_t flexchannel, std::uint16_t sn,
                                  const std::string& sName, const std::string& sUnit)
{
    if (!IsChannelIndex(channel)) {
        return;
    }
    TQelChannelInfo& info = Channels.GetItem(channel).Info;
    info.sName = sName;
    info.sUnit = sUnit;
    info.chID = static_cast<std::uint16_t>(sn * 2u + (flexchannel & 1u));
}

void TQEL621WD::CopyFrom(const TQEL621WD& Source)
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
}

std::unique_ptr<TQEL621WD> TQEL621WD::CreateCopy() const
{
    return CopiedFrom(*this);
}

} // namespace qel
