// Logger class of model code 0x6619: names of the value, state and alarm
// series, accepted versions and copies.
#include "loggers/qel624c.h"

#include "loggers/version_ranges.h"

namespace qel {

const TQelClassInfo TQEL624C::ClassInfo = MakeQelClass<TQEL624C>("TQEL624C");

namespace qel624c {

TIntQelTaskList IntTasks1, IntTasks2;
TQelChannelList IntChannels;

TQelClass SelectQelClass(std::uint16_t ModulClass, std::uint16_t ModulVersion)
{
    return SelectWhenAccepted(&TQEL624C::ClassInfo, ModulClass == 0x6619, ModulVersion, {{1, 0, 12}});
}

} // namespace qel624c

namespace {

enum TSeries : std::uint32_t { sValue, sState, sAlarm, sAlarmState };

const char* SeriesSuffix(std::uint32_t kind)
{
    switch (kind) {
    case sState: return " state";
    case sAlarm: return " alarm";
    case sAlarmState: return " alarm state";
    default: return "";
    }
}

} // namespace

std::uint16_t TQEL624C::getChID(std::uint32_t ch) const
{
    return VersionedChannelID(SeriesIndex(ch), ch);
}

std::string TQEL624C::GetChName(std::uint32_t ch) const
{
    return ChannelNameOr(SeriesIndex(ch), ch, SeriesSuffix(SeriesKind(ch)));
}

std::string TQEL624C::GetChUnit(std::uint32_t ch) const
{
    const std::uint32_t kind = SeriesKind(ch);
    if (kind == sState || kind == sAlarmState) {
        return "";
    }
    return SeriesUnit(ch);
}

std::string TQEL624C::GetName() const
{
    return ID_CLASS == 0x6619 ? "QEL529WD" : "?";
}

bool TQEL624C::IsKnownVersion(std::uint16_t ModulClass, std::uint16_t ModulVersion) const
{
    return qel624c::SelectQelClass(ModulClass, ModulVersion) == &ClassInfo;
}

bool TQEL624C::hasUTC() const { return config_feature::UTC(ID_VER); }

void TQEL624C::CopyFrom(const TQEL624C& Source)
{
    CopyModelFrom(Source);
    CopyViewsFrom(Source);
    QELNAME = Source.QELNAME;
    CFG_MODULE = Source.CFG_MODULE;
    CopyBleConfig(Source);
    bReadChannelInfo = Source.bReadChannelInfo;
    RTC_OFFSET = Source.RTC_OFFSET;
    RTC_RULE = Source.RTC_RULE;
}

std::unique_ptr<TQEL624C> TQEL624C::CreateCopy() const
{
    return CopiedFrom(*this);
}

} // namespace qel
