// Logger class of model code 0x6621 from version 2.00: its name by radio
// module, accepted versions and fixed feature answers.
#include "loggers/qel621wxd.h"

#include "loggers/version_ranges.h"

namespace qel {

const TQelClassInfo TQEL621WxD::ClassInfo = MakeQelClass<TQEL621WxD>("TQEL621WxD");

namespace qel621wxd {

TQelClass SelectQelClass(std::uint16_t ModulClass, std::uint16_t ModulVersion)
{
    return SelectWhenAccepted(&TQEL621WxD::ClassInfo, ModulClass == 0x6621, ModulVersion, {{2, 0, 0}});
}

} // namespace qel621wxd

std::string TQEL621WxD::GetName() const
{
    if (hasWLAN()) {
        return "QEL621W2D";
    }
    return hasBLE() ? "QEL621WD" : "QEL621WxD";
}

bool TQEL621WxD::IsKnownVersion(std::uint16_t ModulClass, std::uint16_t ModulVersion) const
{
    return qel621wxd::SelectQelClass(ModulClass, ModulVersion) == &ClassInfo;
}

bool TQEL621WxD::hasUTC() const { return true; }

bool TQEL621WxD::isVersion2() const { return true; }
bool TQEL621WxD::IsQelNameAvaliable() const { return true; }
bool TQEL621WxD::IsBatTaskAvailable() const { return true; }
bool TQEL621WxD::areChannelsConfigurable() const { return true; }
bool TQEL621WxD::isBLEConfigurable() const { return true; }
bool TQEL621WxD::hasLocalStart() const { return true; }
bool TQEL621WxD::hasSyncTime() const { return true; }
bool TQEL621WxD::arePSensorConfigurable() const { return true; }
bool TQEL621WxD::isFastpeakAvailable() const { return false; }
bool TQEL621WxD::isTaskConfigurationAvailable() const { return true; }
bool TQEL621WxD::isTaskOptionsAvailable() const { return true; }
bool TQEL621WxD::isBLEBaseStationAvailable() const { return true; }
bool TQEL621WxD::hasAppID() const { return true; }
bool TQEL621WxD::hasKE() const { return true; }
bool TQEL621WxD::hasExtendedInternalTaskInfo() const { return true; }
bool TQEL621WxD::hasCfgTime() const { return true; }
bool TQEL621WxD::hasKEState() const { return hasKE(); }
bool TQEL621WxD::hasHiddenChannels() const { return true; }
bool TQEL621WxD::hasWLANTimeHourly() const { return hasWLAN(); }
bool TQEL621WxD::hasLimits() const { return false; }
bool TQEL621WxD::hasRecordInfo() const { return true; }
bool TQEL621WxD::hasExternalControl() const { return (MODUL_CFG & ExternalControlBit) != 0; }
bool TQEL621WxD::hasBleLimits() const { return hasBLE() && hasLimits(); }
bool TQEL621WxD::hasFastFlexRate() const { return true; }
bool TQEL621WxD::has8DisplayLines() const { return true; }
bool TQEL621WxD::IsFX2orFX3Available() const { return true; }

} // namespace qel
