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
    const bool accepted = ModulClass == 0x6619 && IsAcceptedVersion(ModulVersion, {{1, 0, 12}});
    return accepted ? &TQEL624C::ClassInfo : &TQEL::ClassInfo;
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
    return ChannelUnitOr(SeriesIndex(ch), ch);
}

std::string TQEL624C::GetName() const
{
    return ID_CLASS == 0x6619 ? "QEL529WD" : "?";
}

bool TQEL624C::IsKnownVersion(std::uint16_t ModulClass, std::uint16_t ModulVersion) const
{
    return ModulClass == 0x6619 && qel624c::SelectQelClass(ModulClass, ModulVersion) == &TQEL624C::ClassInfo;
}

bool TQEL624C::hasUTC() const { return ID_VER > 0x108; }

void TQEL624C::CopyFrom(const TQEL624C& Source)
{
    ID_CLASS = Source.ID_CLASS;
    ID_VER = Source.ID_VER;
    ID_VER_PC = Source.ID_VER_PC;
    SN = Source.SN;
    ViewTimeOff = Source.ViewTimeOff;
    ViewTimeLogo = Source.ViewTimeLogo;
    Channels.CopyFrom(Source.Channels);
    Tasks.CopyFrom(Source.Tasks);
    ViewTableList.CopyFrom(Source.ViewTableList);
    ViewGraphicList1.CopyFrom(Source.ViewGraphicList1);
    ViewGraphicList2.CopyFrom(Source.ViewGraphicList2);
    QELNAME = Source.QELNAME;
    CFG_MODULE = Source.CFG_MODULE;
    BLE_QEL = Source.BLE_QEL;
    BLE_VER = Source.BLE_VER;
    BLE_IF = Source.BLE_IF;
    BLE_CFG = Source.BLE_CFG;
    BLE_TIME_CFG = Source.BLE_TIME_CFG;
    BLE_TIME_FROM = Source.BLE_TIME_FROM;
    BLE_TIME_TO = Source.BLE_TIME_TO;
    BLE_PWD = Source.BLE_PWD;
    bReadChannelInfo = Source.bReadChannelInfo;
    RTC_OFFSET = Source.RTC_OFFSET;
    RTC_RULE = Source.RTC_RULE;
}

std::unique_ptr<TQEL624C> TQEL624C::CreateCopy() const
{
    auto copy = std::make_unique<TQEL624C>();
    copy->CopyFrom(*this);
    return copy;
}

} // namespace qel
