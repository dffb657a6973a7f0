// Logger class of model code 0x6621 from version 2.00: the QEL62xW generation
// with every feature of version 2 present from the start.
#pragma once

#include "loggers/qel62xw.h"

namespace qel {

namespace qel621wxd {
// TQEL621WxD for model code 0x6621 with an accepted PC version word, else TQEL.
TQelClass SelectQelClass(std::uint16_t ModulClass, std::uint16_t ModulVersion);
} // namespace qel621wxd

// Channel numbers are channel indexes (isVersion2 always holds). hasCfgTime2
// and hasWifiAutostartPOR keep the base tests.
class TQEL621WxD : public TQEL62xW {
public:
    static const TQelClassInfo ClassInfo;

    std::string GetName() const override;
    bool IsKnownVersion(std::uint16_t ModulClass, std::uint16_t ModulVersion) const override;
    bool hasUTC() const override;

    bool isVersion2() const override;
    bool IsQelNameAvaliable() const override;
    bool IsBatTaskAvailable() const override;
    bool areChannelsConfigurable() const override;
    bool isBLEConfigurable() const override;
    bool hasLocalStart() const override;
    bool hasSyncTime() const override;
    bool arePSensorConfigurable() const override;
    bool isFastpeakAvailable() const override;
    bool isTaskConfigurationAvailable() const override;
    bool isTaskOptionsAvailable() const override;
    bool isBLEBaseStationAvailable() const override;
    bool hasAppID() const override;
    bool hasKE() const override;
    bool hasExtendedInternalTaskInfo() const override;
    bool hasCfgTime() const override;
    bool hasKEState() const override;
    bool hasHiddenChannels() const override;
    bool hasWLANTimeHourly() const override;
    bool hasLimits() const override;
    bool hasRecordInfo() const override;
    bool hasExternalControl() const override;
    bool hasBleLimits() const override;
    bool hasFastFlexRate() const override;
    bool has8DisplayLines() const override;
    bool IsFX2orFX3Available() const override;
};

} // namespace qel
