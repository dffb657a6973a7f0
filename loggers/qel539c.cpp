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
    const bool accepted = ModulClass == 0x6615 && IsAcceptedVersion(ModulVersion, {{3, 0, 86}});
    return accepted ? &TQEL539C::ClassInfo : &TQEL::ClassInfo;
}

} // namespace qel539c

std::string TQEL539C::GetChName(std::uint32_t ch) const
{
    if (ch >= FirstRadioChannel) {
        return FRFSModulList.getChannelName(ModulIndex(ch), ModulChannel(ch));
    }
    return ChannelNameOr(SeriesIndex(ch), ch, MinMaxAvgSuffix(SeriesKind(ch)));
}

std::string TQEL539C::GetChUnit(std::uint32_t ch) const
{
    if (ch >= FirstRadioChannel) {
        return FRFSModulList.getChannelUnit(ModulIndex(ch), ModulChannel(ch));
    }
    return ChannelUnitOr(SeriesIndex(ch), ch);
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
    return ModulClass == 0x6615 && qel539c::SelectQelClass(ModulClass, ModulVersion) == &TQEL539C::ClassInfo;
}

bool TQEL539C::hasUTC() const { return ID_VER >= 0x300; }

void TQEL539C::CopyFrom(const TQEL539C& Source)
{
    ID_CLASS = Source.ID_CLASS;
    ID_VER = Source.ID_VER;
    ID_VER_PC = Source.ID_VER_PC;
    SN = Source.SN;
    APP_ID = Source.APP_ID;
    ViewTimeOff = Source.ViewTimeOff;
    ViewTimeLogo = Source.ViewTimeLogo;
    QELNAME = Source.QELNAME;
    STATE = Source.STATE;
    KE_TYPE = Source.KE_TYPE;
    BLE_QEL = Source.BLE_QEL;
    BLE_VER = Source.BLE_VER;
    BLE_IF = Source.BLE_IF;
    BLE_CFG = Source.BLE_CFG;
    BLE_TIME_CFG = Source.BLE_TIME_CFG;
    BLE_TIME_FROM = Source.BLE_TIME_FROM;
    BLE_TIME_TO = Source.BLE_TIME_TO;
    BLE_PWD = Source.BLE_PWD;
    WLAN_CLASS = Source.WLAN_CLASS;
    WLAN_VER = Source.WLAN_VER;
    WLAN_PRINT = Source.WLAN_PRINT;
    WLAN_CFG = Source.WLAN_CFG;
    WLAN_TIME_CFG = Source.WLAN_TIME_CFG;
    WLAN_TIME_FROM = Source.WLAN_TIME_FROM;
    WLAN_TIME_TO = Source.WLAN_TIME_TO;
    WLAN_TIME_FROM2 = Source.WLAN_TIME_FROM2;
    WLAN_TIME_TO2 = Source.WLAN_TIME_TO2;
    Channels.CopyFrom(Source.Channels);
    Tasks.CopyFrom(Source.Tasks);
    ViewTableList.CopyFrom(Source.ViewTableList);
    ViewGraphicList1.CopyFrom(Source.ViewGraphicList1);
    ViewGraphicList2.CopyFrom(Source.ViewGraphicList2);
}

std::unique_ptr<TQEL539C> TQEL539C::CreateCopy() const
{
    auto copy = std::make_unique<TQEL539C>();
    copy->CopyFrom(*this);
    return copy;
}

} // namespace qel
