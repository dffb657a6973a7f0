// Logger class of model code 0x6615: names of its own and its radio modules'
// channels, feature tests, accepted versions and copies.
#include "loggers/qel539c.h"

#include "foundations/model_identity.h"
#include "loggers/version_ranges.h"

namespace qel {

const TQelClassInfo TQEL539C::ClassInfo = MakeQelClass<TQEL539C>("TQEL539C");

namespace qel539c {

TIntQelTaskList IntTasks1, IntTasks2;
TQelChannelList IntChannels;

TQelClass SelectQelClass(std::uint16_t ModulClass, std::uint16_t ModulVersion)
{
    return SelectWhenAccepted(&TQEL539C::ClassInfo, ModulClass == 0x6615, ModulVersion, {{3, 0, 86}});
}

} // namespace qel539c

std::string TQEL539C::GetChName(std::uint32_t ch) const
{
    if (ch >= FirstRadioChannel) {
        return FRFSModulList.getChannelName(ModulIndex(ch), ModulChannel(ch));
    }
    return MinMaxAvgName(ch);
}

std::string TQEL539C::GetChUnit(std::uint32_t ch) const
{
    if (ch >= FirstRadioChannel) {
        return FRFSModulList.getChannelUnit(ModulIndex(ch), ModulChannel(ch));
    }
    return SeriesUnit(ch);
}

std::string TQEL539C::GetModulName(std::uint32_t ch) const
{
    return ch >= FirstRadioChannel ? FRFSModulList.getModulName(ModulIndex(ch)) : "";
}

float TQEL539C::GetChValue(std::uint32_t chn) const
{
    return IsChannelIndex(chn) ? ChannelAt(chn).fValue : 0.0f;
}

std::string TQEL539C::GetValueStr(std::uint32_t ch, float value) const
{
    return FormatValue(Channels.GetItem(static_cast<int>(ch)).Info.nDispFmt, value);
}

std::string TQEL539C::GetName() const
{
    return GetModelName(ID_CLASS, 0);
}

bool TQEL539C::IsKnownVersion(std::uint16_t ModulClass, std::uint16_t ModulVersion) const
{
    return qel539c::SelectQelClass(ModulClass, ModulVersion) == &ClassInfo;
}

bool TQEL539C::hasUTC() const { return ID_VER >= 0x300; }

void TQEL539C::CopyFrom(const TQEL539C& Source)
{
    CopyModelFrom(Source);
    APP_ID = Source.APP_ID;
    CopyViewsFrom(Source);
    QELNAME = Source.QELNAME;
    STATE = Source.STATE;
    CopyBleConfig(Source);
    CopyWlanConfig(Source);
}

std::unique_ptr<TQEL539C> TQEL539C::CreateCopy() const
{
    return CopiedFrom(*this);
}

} // namespace qel
