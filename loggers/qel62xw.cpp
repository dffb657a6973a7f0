// Base class of the configurable WLAN/BLE logger generation: channel names by
// channel number, feature tests by version, copies.
#include "loggers/qel62xw.h"

namespace qel {

namespace qel62xw {
TIntAllTaskList IntAllTasks;
TIntQelTaskList IntTasks1, IntTasks2;
TQelChannelList IntChannels;
} // namespace qel62xw

std::uint16_t TQEL62xW::getChID(std::uint32_t ch) const
{
    return VersionedChannelID(ChannelIndex(ch), ch);
}

std::string TQEL62xW::GetChName(std::uint32_t ch) const
{
    if (isVersion2()) {
        return ChannelNameOr(ch, ch);
    }
    return MinMaxAvgName(ch);
}

std::string TQEL62xW::GetChUnit(std::uint32_t ch) const
{
    return ChannelUnitOr(ChannelIndex(ch), ch);
}

std::string TQEL62xW::GetName() const
{
    if (ID_CLASS != 0x6617) {
        return "?";
    }
    if (hasWLAN()) {
        return "QEL629W2D";
    }
    return hasBLE() ? "QEL629WD" : "QEL629WxD";
}

bool TQEL62xW::hasUTC() const { return config_feature::UTC(ID_VER); }

bool TQEL62xW::isVersion2() const { return ID_VER >= 0x200; }
bool TQEL62xW::IsQelNameAvaliable() const { return config_feature::QelName(ID_VER); }
bool TQEL62xW::IsBatTaskAvailable() const { return config_feature::BatTask(ID_VER); }
bool TQEL62xW::areChannelsConfigurable() const { return config_feature::ChannelsConfigurable(ID_VER); }
bool TQEL62xW::isBLEConfigurable() const { return config_feature::BLEConfigurable(ID_VER); }
bool TQEL62xW::hasLocalStart() const { return config_feature::LocalStart(ID_VER); }
bool TQEL62xW::hasSyncTime() const { return config_feature::SyncTime(ID_VER); }
bool TQEL62xW::arePSensorConfigurable() const { return config_feature::PSensorConfigurable(ID_VER); }
bool TQEL62xW::isFastpeakAvailable() const { return true; }
bool TQEL62xW::isTaskConfigurationAvailable() const { return config_feature::TaskConfiguration(ID_VER); }
bool TQEL62xW::isTaskOptionsAvailable() const { return config_feature::TaskConfiguration(ID_VER); }
bool TQEL62xW::isBLEBaseStationAvailable() const { return config_feature::BLEBaseStation(ID_VER); }
bool TQEL62xW::hasAppID() const { return config_feature::AppID(ID_VER); }
bool TQEL62xW::hasKE() const { return config_feature::RadioModule(ID_VER); }
bool TQEL62xW::hasExtendedInternalTaskInfo() const { return ID_VER >= 0x154; }
bool TQEL62xW::hasCfgTime() const { return ID_VER > 0x204; }
bool TQEL62xW::hasCfgTime2() const { return ID_VER > 0x22D; }
bool TQEL62xW::hasKEState() const { return hasKE() && ID_VER > 0x20A; }
bool TQEL62xW::hasHiddenChannels() const { return ID_VER_PC > 0x110; }
bool TQEL62xW::hasWLANTimeHourly() const { return hasWLAN() && ID_VER >= 0x112; }
bool TQEL62xW::hasLimits() const { return ID_VER >= 0x218; }
bool TQEL62xW::hasRecordInfo() const { return ID_VER >= 0x218; }
bool TQEL62xW::hasExternalControl() const { return ID_VER >= 0x218 && (MODUL_CFG & ExternalControlBit) != 0; }
bool TQEL62xW::hasBleLimits() const { return hasBLE() && hasLimits() && ID_VER >= 0x218; }
bool TQEL62xW::hasFastFlexRate() const { return ID_VER_PC > 0x21A; }
bool TQEL62xW::has8DisplayLines() const { return ID_VER_PC <= 0x21A; }
bool TQEL62xW::hasWifiAutostartPOR() const { return false; }
bool TQEL62xW::IsFX2orFX3Available() const { return false; }

void TQEL62xW::CopyFrom(const TQEL62xW& Source)
{
    CopyModelFrom(Source);
    APP_ID = Source.APP_ID;
    CopyViewsFrom(Source);
    KEWLANstate.CopyFrom(Source.KEWLANstate);
    KEBLEstate.CopyFrom(Source.KEBLEstate);
    QELNAME = Source.QELNAME;
    CFG_TIME = Source.CFG_TIME;
    CFG_TIME_NOTEQUAL = Source.CFG_TIME_NOTEQUAL;
    MODUL_CFG = Source.MODUL_CFG;
    CopyBleConfig(Source);
    bReadChannelInfo = Source.bReadChannelInfo;
    RTC_OFFSET = Source.RTC_OFFSET;
    RTC_RULE = Source.RTC_RULE;
    CopyWlanConfig(Source);
    bReadChannelLimit = Source.bReadChannelLimit;
    LIMIT_CFG0 = Source.LIMIT_CFG0;
}

std::unique_ptr<TQEL62xW> TQEL62xW::CreateCopy() const
{
    return CopiedFrom(*this);
}

} // namespace qel
