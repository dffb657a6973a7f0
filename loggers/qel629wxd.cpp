// Logger class of model code 0x6617: accepted versions and the two feature
// tests that differ from the generation's base.
#include "loggers/qel629wxd.h"

#include "loggers/version_ranges.h"

namespace qel {

const TQelClassInfo TQEL629WxD::ClassInfo = MakeQelClass<TQEL629WxD>("TQEL629WxD");

namespace qel629wxd {

TQelClass SelectQelClass(std::uint16_t ModulClass, std::uint16_t ModulVersion)
{
    return SelectWhenAccepted(&TQEL629WxD::ClassInfo, ModulClass == 0x6617, ModulVersion, {{1, 0, 80}, {2, 0, 28}});
}

} // namespace qel629wxd

bool TQEL629WxD::IsKnownVersion(std::uint16_t ModulClass, std::uint16_t ModulVersion) const
{
    return qel629wxd::SelectQelClass(ModulClass, ModulVersion) == &ClassInfo;
}

bool TQEL629WxD::hasWifiAutostartPOR() const { return hasWLAN() && ID_VER > 0x22A; }

bool TQEL629WxD::IsFX2orFX3Available() const
{
    return ID_VER > 0x250 || TQEL62xW::IsFX2orFX3Available();
}

} // namespace qel
