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
    const bool accepted = ModulClass == 0x6626 && IsAcceptedVersion(ModulVersion, {{1, 0, 80}});
    return accepted ? &TQEL28::ClassInfo : &TQEL::ClassInfo;
}

} // namespace qel28

std::uint16_t TQEL28::getChID(std::uint32_t ch) const
{
    return VersionedChannelID(SeriesIndex(ch), ch);
}

std::string TQEL28::GetChName(std::uint32_t ch) const
{
    return ChannelNameOr(SeriesIndex(ch), ch, MinMaxAvgSuffix(SeriesKind(ch)));
}

std::string TQEL28::GetChUnit(std::uint32_t ch) const
{
    return ChannelUnitOr(SeriesIndex(ch), ch);
}

std::string TQEL28::GetName() const
{
    return ID_CLASS == 0x6626 ? "QEL28" : "?";
}

bool TQEL28::IsKnownVersion(std::uint16_t ModulClass, std::uint16_t ModulVersion) const
{
    return ModulClass == 0x6626 && qel28::SelectQelClass(ModulClass, ModulVersion) == &TQEL28::ClassInfo;
}

bool TQEL28::hasUTC() const { return ID_VER > 0x108; }

void TQEL28::CopyFrom(const TQEL28& Source)
{
    ID_CLASS = Source.ID_CLASS;
    ID_VER = Source.ID_VER;
    ID_VER_PC = Source.ID_VER_PC;
    SN = Source.SN;
    APP_ID = Source.APP_ID;
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
    VORN5 = Source.VORN5;
    KE_TYPE = Source.KE_TYPE;
    WLAN_CLASS = Source.WLAN_CLASS;
    WLAN_VER = Source.WLAN_VER;
    WLAN_PRINT = Source.WLAN_PRINT;
    WLAN_CFG = Source.WLAN_CFG;
    WLAN_TIME_CFG = Source.WLAN_TIME_CFG;
    WLAN_TIME_FROM = Source.WLAN_TIME_FROM;
    WLAN_TIME_TO = Source.WLAN_TIME_TO;
    WLAN_TIME_FROM2 = Source.WLAN_TIME_FROM2;
    WLAN_TIME_TO2 = Source.WLAN_TIME_TO2;
}

std::unique_ptr<TQEL28> TQEL28::CreateCopy() const
{
    auto copy = std::make_unique<TQEL28>();
    copy->CopyFrom(*this);
    return copy;
}

} // namespace qel
