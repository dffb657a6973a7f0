// Logger class of model code 0x6617: the QEL62xW generation with the
// Wi-Fi autostart and FX2/FX3 features of its later firmware.
#pragma once

#include "loggers/qel62xw.h"

namespace qel {

namespace qel629wxd {
// TQEL629WxD for model code 0x6617 with an accepted PC version word, else TQEL.
TQelClass SelectQelClass(std::uint16_t ModulClass, std::uint16_t ModulVersion);
} // namespace qel629wxd

class TQEL629WxD : public TQEL62xW {
public:
    static const TQelClassInfo ClassInfo;

    bool IsKnownVersion(std::uint16_t ModulClass, std::uint16_t ModulVersion) const override;
    bool hasWifiAutostartPOR() const override;
    bool IsFX2orFX3Available() const override;
};

} // namespace qel
