// Logger classes of the QEL57 family: one channel scheme for the built-in
// channels, external sensor channels by kind, and the third generation's tasks.
#include "loggers/qel57.h"

#include "foundations/byte_helpers.h"
#include "foundations/model_identity.h"
#include "loggers/value_format.h"
#include "loggers/value_math.h"
#include "loggers/version_ranges.h"

#include <algorithm>

namespace qel {

const TQelClassInfo TQEL57::ClassInfo = MakeQelClass<TQEL57>("TQEL57");
const TQelClassInfo TQEL57b::ClassInfo = MakeQelClass<TQEL57b>("TQEL57b");
const TQelClassInfo TQEL57c::ClassInfo = MakeQelClass<TQEL57c>("TQEL57c");

namespace {

constexpr std::uint16_t ModelCode57 = 0x661D;

} // namespace

namespace qel57 {
TQelClass SelectQelClass(std::uint16_t ModulClass, std::uint16_t ModulVersion)
{
    return SelectWhenAccepted(&TQEL57::ClassInfo, ModulClass == ModelCode57, ModulVersion, {{1, 0, 6}});
}
} // namespace qel57

namespace qel57b {
TQelClass SelectQelClass(std::uint16_t ModulClass, std::uint16_t ModulVersion)
{
    return SelectWhenAccepted(&TQEL57b::ClassInfo, ModulClass == ModelCode57, ModulVersion, {{2, 0, 0}});
}
} // namespace qel57b

namespace qel57c {
TQelClass SelectQelClass(std::uint16_t ModulClass, std::uint16_t ModulVersion)
{
    return SelectWhenAccepted(&TQEL57c::ClassInfo, ModulClass == ModelCode57, ModulVersion, {{3, 0, 4}});
}
} // namespace qel57c

// ---- TQEL57: the built-in channels

std::string TQEL57::BuiltInName(std::uint32_t ch, const std::string& fscName)
{
    static const char* const names[15] = {"ACC x", "ACC y", "ACC z", "Angle", "RH1", "T_RH1", "RH2", "T_RH2",
                                          "RH3",   "T_RH3", "RH4",   "T_RH4", "?",   "",      "BAT"};
    if (ch == 13) {
        return fscName;
    }
    return ch < 15 ? names[ch] : "?";
}

std::string TQEL57::BuiltInUnit(std::uint32_t ch)
{
    if (ch <= 2) {
        return "g";
    }
    if (ch == 3) {
        return "°";
    }
    if (ch >= 4 && ch <= 11) {
        return ch % 2 == 0 ? "%" : "°C";
    }
    if (ch == 13) {
        return "";
    }
    return ch == 14 ? "V" : "?";
}

float TQEL57::BuiltInValue(std::uint32_t ch, std::int16_t x)
{
    const double r = x;
    if (ch <= 2) {
        return ValueOrNoValue(r * 0.0039);
    }
    if (ch == 3) {
        return ValueOrNoValue(r * 0.1);
    }
    if (ch >= 4 && ch <= 11) {
        return ValueOrNoValue(r / 100.0);
    }
    if (ch == 14) {
        return ValueOrNoValue(r * 2.0 / 4095.0 * 3.0);
    }
    return static_cast<float>(x);
}

const char* TQEL57::BuiltInPattern(std::uint32_t ch)
{
    if (ch <= 2) {
        return "0.000";
    }
    if (ch >= 3 && ch <= 11) {
        return "0.0";
    }
    return ch == 14 ? "0.00" : nullptr;
}

std::string TQEL57::FscName() const { return "FSC"; }

std::string TQEL57::GetName() const
{
    return ID_CLASS == ModelCode57 ? "QEL57" : "?";
}

bool TQEL57::IsKnownVersion(std::uint16_t ModulClass, std::uint16_t ModulVersion) const
{
    return qel57::SelectQelClass(ModulClass, ModulVersion) == &ClassInfo;
}

std::string TQEL57::GetChName(std::uint32_t ch) const { return BuiltInName(ch, FscName()); }
std::string TQEL57::GetChUnit(std::uint32_t ch) const { return BuiltInUnit(ch); }
float TQEL57::CalcChValue(std::uint32_t chn, std::int16_t x) const { return BuiltInValue(chn, x); }

std::string TQEL57::GetValueStr(std::uint32_t ch, float value) const
{
    const char* pattern = BuiltInPattern(ch);
    return pattern != nullptr ? FormatWithPattern(pattern, value) : FormatGeneral(value);
}

float TQEL57::GetChValue(std::uint32_t chn) const
{
    return chn < ChannelCount ? CalcChValue(chn, CH[chn]) : 0.0f;
}

bool TQEL57::IsValidValue(std::uint32_t, float value) const { return !IsNaNSingle(value); }

// The limits of this family are stored as 0.
std::int16_t TQEL57::GetInvLimitValue(std::uint32_t, float) const { return 0; }
float TQEL57::GetLimitValue(std::uint32_t, std::int16_t) const { return 0.0f; }

void TQEL57::FillDemoMode() {}
void TQEL57::SaveToFile() {}

bool TQEL57::MarkerOptionExists() const
{
    const bool versions = ID_VER >= MakeVersion(4, 0) || (ID_VER >= MakeVersion(3, 6) && ID_VER < MakeVersion(3, 240));
    return ID_CLASS == ModelCode57 && versions;
}

bool TQEL57::isAngleLimits() const { return ID_VER_PC >= MakeVersion(1, 6); }
bool TQEL57::IsSDCard() const { return ID_VER >= MakeVersion(5, 24) && INT_CFG.Contains(cINT_SDCARD); }
bool TQEL57::IsGlobalLimit() const { return ID_VER >= MakeVersion(5, 68); }
bool TQEL57::AreLimitsForAllChannel() const { return ID_VER > MakeVersion(5, 104); }

// ---- TQEL57b: external channels

bool TQEL57b::IsKnownVersion(std::uint16_t ModulClass, std::uint16_t ModulVersion) const
{
    return qel57b::SelectQelClass(ModulClass, ModulVersion) == &ClassInfo;
}

bool TQEL57b::IsSDCard() const { return INT_CFG.Contains(cINT_SDCARD); }

bool TQEL57b::isValidExtChannel(std::uint32_t ch) const
{
    if (!IsExtChannel(ch)) {
        return false;
    }
    const TQel57SensorKind kind = ExtEntry(ch).kind;
    return kind >= cSENS_RH && kind <= LastKind();
}

std::string TQEL57b::GetChName(std::uint32_t ch) const
{
    if (!IsExtChannel(ch)) {
        return TQEL57::GetChName(ch);
    }
    static const char* const prefixes[6] = {"", "RH", "T_RH", "T", "P", "T_P"};
    if (!isValidExtChannel(ch)) {
        return "?";
    }
    const TQel57ExtChannel& entry = ExtEntry(ch);
    return TextWithNumber(prefixes[entry.kind], entry.sn);
}

std::string TQEL57b::GetChUnit(std::uint32_t ch) const
{
    if (!IsExtChannel(ch)) {
        return TQEL57::GetChUnit(ch);
    }
    static const char* const units[6] = {"", "%", "°C", "°C", "mbar", "°C"};
    return isValidExtChannel(ch) ? units[ExtEntry(ch).kind] : "";
}

// External values go by channel number, not by the sensor kind.
float TQEL57b::CalcChValue(std::uint32_t chn, std::int16_t x) const
{
    if (!IsExtChannel(chn)) {
        return TQEL57::CalcChValue(chn, x);
    }
    return IsWholeUnitChannel(chn) ? static_cast<float>(x) : ValueOrNoValue(x / 100.0);
}

std::string TQEL57b::GetValueStr(std::uint32_t ch, float value) const
{
    if (!IsExtChannel(ch)) {
        return TQEL57::GetValueStr(ch, value);
    }
    return FormatWithPattern(IsWholeUnitChannel(ch) ? "0" : "0.00", value);
}

float TQEL57b::GetChValue(std::uint32_t chn) const
{
    if (IsExtChannel(chn)) {
        return CalcChValue(chn, ExtEntry(chn).value);
    }
    return TQEL57::GetChValue(chn);
}

void TQEL57b::setExtSensSN(std::uint32_t ch, std::uint16_t sn)
{
    if (ch >= 16 && ch <= 23) {
        ExtEntry(ch).kind = cSENS_RH;
        ExtEntry(ch).sn = sn;
        ExtEntry(ch + 8).kind = cSENS_T_RH;
        ExtEntry(ch + 8).sn = sn;
    } else if (ch >= 32 && ch <= 39) {
        ExtEntry(ch).kind = cSENS_T;
        ExtEntry(ch).sn = sn;
    }
}

// ---- TQEL57c: pressure sensors and tasks

bool TQEL57c::IsKnownVersion(std::uint16_t ModulClass, std::uint16_t ModulVersion) const
{
    return qel57c::SelectQelClass(ModulClass, ModulVersion) == &ClassInfo;
}

std::string TQEL57c::FscName() const { return "D-Bus-2"; }

void TQEL57c::setExtSensSN(std::uint32_t ch, std::uint16_t sn)
{
    if (ch >= 40 && ch <= 47) {
        ExtEntry(ch).kind = cSENS_P;
        ExtEntry(ch).sn = sn;
        ExtEntry(ch + 8).kind = cSENS_T_P;
        ExtEntry(ch + 8).sn = sn;
        return;
    }
    TQEL57b::setExtSensSN(ch, sn);
}

namespace {

constexpr std::uint32_t TicksPerHour = 1843200;  // timer units (1/512 s) per hour
constexpr std::uint32_t TicksPerMinute = 30720;
constexpr std::uint32_t MinBatteryTimer = 153600; // 300 s

// A task code of 1 or 2 counts; anything else reads as 0.
std::uint8_t RateCode(std::uint8_t task) { return task == 1 || task == 2 ? task : 0; }

} // namespace

void TQEL57c::getMainTimerRate(std::uint8_t idx, std::uint8_t& h, std::uint8_t& m, std::uint8_t& s) const
{
    const std::uint32_t t = idx == 1 ? TMR[1] : TMR[0];
    h = static_cast<std::uint8_t>(t / TicksPerHour);
    m = static_cast<std::uint8_t>(t / TicksPerMinute % 60);
    s = static_cast<std::uint8_t>((t >> 9) % 60);
    if (h == 0 && m == 0 && s == 0) {
        s = 1;
    }
}

void TQEL57c::setMainTimerRate(std::uint8_t idx, std::uint8_t h, std::uint8_t m, std::uint8_t s)
{
    if (h == 0 && m == 0 && s == 0) {
        s = 1;
    }
    TMR[idx == 1 ? 1 : 0] = (static_cast<std::uint32_t>(h) * 3600 + m * 60u + s) << 9;
}

std::uint8_t TQEL57c::getMTaskAcc() const
{
    return CH_EN[0] && TASK[1] == 3 && TMR[2] == 10 ? 1 : 0;
}

void TQEL57c::setMTaskAcc(std::uint8_t rate)
{
    TASK[1] = 0;
    if (rate == 1) {
        TASK[1] = 3;
        TMR[2] = 10;
    }
}

std::uint8_t TQEL57c::getMTaskRH() const
{
    if (!CH_EN[4] && !CH_EN[6] && !CH_EN[8] && !CH_EN[10]) {
        return 0;
    }
    return RateCode(TASK[2]);
}

void TQEL57c::setMTaskRH(std::uint8_t rate) { TASK[2] = RateCode(rate); }

std::uint8_t TQEL57c::getMTaskAngle() const
{
    return CH_EN[3] ? RateCode(TASK[3]) : 0;
}

void TQEL57c::setMTaskAngle(std::uint8_t rate) { TASK[3] = RateCode(rate); }
std::uint8_t TQEL57c::getMTaskDBus() const { return RateCode(TASK[8]); }
void TQEL57c::setMTaskDBus(std::uint8_t rate) { TASK[8] = RateCode(rate); }

namespace {
// Pressure timer per rate 1 ... 5.
constexpr std::uint32_t PressureTimers[5] = {51, 26, 17, 13, 10};
constexpr std::uint8_t PressureTask = 5;
} // namespace

std::uint8_t TQEL57c::getMTaskP() const
{
    if (TASK[9] != PressureTask) {
        return 0;
    }
    for (std::uint8_t rate = 1; rate <= 5; ++rate) {
        if (TMR[4] == PressureTimers[rate - 1]) {
            return rate;
        }
    }
    return 0;
}

void TQEL57c::setMTaskP(std::uint8_t rate)
{
    TASK[9] = 0;
    if (rate >= 1 && rate <= 5) {
        TASK[9] = PressureTask;
        TMR[4] = PressureTimers[rate - 1];
    }
}

bool TQEL57c::getMTaskLED() const { return TASK[15] == 8; }

void TQEL57c::setMTaskLED(std::uint8_t idx)
{
    TASK[15] = 0;
    TMR[7] = TMR[0];
    if (idx == 1) {
        TASK[15] = 8;
    }
}

void TQEL57c::setMTaskBat()
{
    TASK[4] = 0;
    if (CH_EN[14]) {
        TASK[4] = 4;
        TMR[3] = std::max(TMR[0], MinBatteryTimer);
    }
}

void TQEL57c::startConfiguration()
{
    TASK[0] = 0;
    TASK[5] = 0;
}

} // namespace qel
