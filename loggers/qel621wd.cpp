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
    const bool accepted = ModulClass == 0x6621 && IsAcceptedVersion(ModulVersion, {{1, 0, 12}});
    return accepted ? &TQEL621WD::ClassInfo : &TQEL::ClassInfo;
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
    return ChannelNameOr(SeriesIndex(ch), ch, MinMaxAvgSuffix(SeriesKind(ch)));
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
    return ModulClass == 0x6621 && qel621wd::SelectQelClass(ModulClass, ModulVersion) == &TQEL621WD::ClassInfo;
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
}

std::unique_ptr<TQEL621WD> TQEL621WD::CreateCopy() const
{
    auto copy = std::make_unique<TQEL621WD>();
    copy->CopyFrom(*this);
    return copy;
}

} // namespace qel
