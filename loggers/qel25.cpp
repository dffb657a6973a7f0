// Logger class of model code 0x6628: identity, feature tests, channel table
// with its conversions, gap values and limits.
#include "loggers/qel25.h"

#include "foundations/byte_helpers.h"
#include "foundations/model_identity.h"
#include "foundations/settings.h"
#include "loggers/model_ini_writer.h"
#include "loggers/value_format.h"
#include "loggers/value_math.h"
#include "loggers/version_ranges.h"

namespace qel {

const TQelClassInfo TQEL25::ClassInfo = MakeQelClass<TQEL25>("TQEL25");

namespace qel25 {

TQelClass SelectQelClass(std::uint16_t ModulClass, std::uint16_t ModulVersion)
{
    return SelectWhenAccepted(&TQEL25::ClassInfo, ModulClass == 0x6628 || ModulClass == 0x6607, ModulVersion,
                              {{0, 0, 1}, {1, 0, 88}, {2, 0, 0}});
}

} // namespace qel25

namespace {

bool IsInput(std::uint32_t ch) { return ch < static_cast<std::uint32_t>(TQEL25::InputCount); }
bool IsAxis(std::uint32_t ch) { return ch >= 8 && ch <= 10; }

} // namespace

bool TQEL25::VersionAtLeast(std::uint8_t major, std::uint8_t minor) const
{
    return ID_VER >= MakeVersion(major, minor);
}

std::string TQEL25::GetName() const
{
    return ID_CLASS == 0x6628 ? "QEL25" : "?";
}

bool TQEL25::IsKnownVersion(std::uint16_t ModulClass, std::uint16_t ModulVersion) const
{
    return qel25::SelectQelClass(ModulClass, ModulVersion) == &ClassInfo;
}

bool TQEL25::RecInputExists() const { return CH_EN[0] && CH_EN[1] && CH_EN[2] && CH_EN[3]; }
bool TQEL25::IsMissionData() const { return VersionAtLeast(2, 0); }
bool TQEL25::IsSDCard() const { return ID_VER_PC >= MakeVersion(1, 2) && INT_CFG.Contains(cINT_SDCARD); }
bool TQEL25::IsExtendedRTC() const { return RTC != 0; }
bool TQEL25::IsExtendedState() const { return VersionAtLeast(1, 34); }
bool TQEL25::IsPeakACC() const { return VersionAtLeast(1, 29); }
bool TQEL25::IsRuntime() const { return VersionAtLeast(1, 64); }
bool TQEL25::isPosttrigger() const { return INT_CFG.Contains(cINT_POSTRIG); }
bool TQEL25::hasRecTimer() const { return VersionAtLeast(1, 79) && INT_CFG.Contains(cINT_RECTIMER); }

bool TQEL25::isRecTimerActive() const
{
    return hasRecTimer() && IsTimerWordSet(RECTIMER_L) && IsTimerWordSet(RECTIMER_H);
}

TLIMIT TQEL25::IsLimit(std::uint8_t ch) const
{
    switch (REC_FAST) {
    case cFAST_SHOCK:
    case cFAST_ACC: return IsAxis(ch) ? cLT_ACC : cLT_STD;
    case cFAST_ADC: return ch <= 3 ? cLT_ADC : cLT_STD;
    default: return cLT_STD;
    }
}

std::string TQEL25::GetChName(std::uint32_t ch) const
{
    static const char* const names[23] = {"",      "",  "",  "",       "",    "",    "",          "",
                                          "ACC x", "ACC y", "ACC z", "T", "p", "RH", "L", "Marker",
                                          "BAT",   "FSC",   "qel time", "link", "pretrigger", "page time",
                                          "block dt"};
    if (IsInput(ch)) {
        const std::string& name = AIN[ch].chNAME;
        return name.empty() ? TextWithNumber("A", ch + 1) : name;
    }
    return ch < 23 ? names[ch] : "";
}

std::string TQEL25::GetChUnit(std::uint32_t ch) const
{
    if (IsInput(ch)) {
        return AIN[ch].chUNIT;
    }
    switch (ch) {
    case 8:
    case 9:
    case 10: return "G";
    case 11: return TemperatureUnit();
    case 12: return "mbar";
    case 13: return "%";
    case 14: return "lux";
    case 16: return "V";
    default: return "";
    }
}

float TQEL25::CalcChValue(std::uint32_t chn, std::int16_t x) const
{
    const double r = x;
    if (IsInput(chn)) {
        return ValueOrNoValue(r * AIN[chn].chGAIN + AIN[chn].chOFS);
    }
    switch (chn) {
    case 8:
    case 9:
    case 10: {
        const int axis = static_cast<int>(chn) - 8;
        std::int16_t converted = 0;
        ConvertADXL(converted, x);
        return ValueOrNoValue(converted * static_cast<double>(UserGain2G(axis)) + UserOffset2G(axis));
    }
    case 11: return ValueOrNoValue(CalT(CAL_T, RoundToSingle(SignedLowBits(RawBits(x), 13) * 0.0625)));
    case 12: return ValueOrNoValue(INT_CFG.Contains(cINT_MS_14BAR) ? r : r / 10.0);
    case 13: return ValueOrNoValue(CalRH(CAL_RH, RoundToSingle(r / 100.0)));
    case 14: return ValueOrNoValue(r * 4.0);
    case 16: return ValueOrNoValue(r * 2.0 / 4095.0 * 3.0);
    default: return static_cast<float>(x);
    }
}

float TQEL25::GetLimitValue(std::uint32_t ch, std::int16_t x) const
{
    const double r = x;
    switch (ch) {
    case 8:
    case 9:
    case 10: {
        const int axis = static_cast<int>(ch) - 8;
        return ValueOrNoValue(r * UserGain2G(axis) + UserOffset2G(axis));
    }
    case 11: return ValueOrNoValue(CalT(CAL_T, RoundToSingle(r * 0.0625)));
    default: return CalcChValue(ch, x);
    }
}

std::int16_t TQEL25::GetInvLimitValue(std::uint32_t ch, float y) const
{
    if (IsInput(ch)) {
        return RawLimitOrZero((static_cast<double>(y) - AIN[ch].chOFS) / AIN[ch].chGAIN);
    }
    switch (ch) {
    case 8:
    case 9:
    case 10: {
        const int axis = static_cast<int>(ch) - 8;
        return RawLimitOrZero(CalcX(y, UserOffset2G(axis), UserGain2G(axis)));
    }
    case 11: return RawLimitOrZero(InvCalT(CAL_T, y) / 0.0625);
    case 12: return RawLimitOrZero(INT_CFG.Contains(cINT_MS_14BAR) ? y : y * 10.0);
    case 13: return RawLimitOrZero(InvCalRH(CAL_RH, y) * 100.0);
    case 14: return RawLimitOrZero(y / 4.0);
    case 16: return RawLimitOrZero(y * 4095.0 / 6.0);
    default: return 0;
    }
}

float TQEL25::getChGain(std::uint32_t ch) const
{
    if (IsInput(ch)) {
        return AIN[ch].chGAIN;
    }
    switch (ch) {
    case 8:
    case 9:
    case 10: return UserGain2G(static_cast<int>(ch) - 8);
    case 11: return GainOrOne(0.0625 * GainT(CAL_T));
    case 12: return INT_CFG.Contains(cINT_MS_14BAR) ? 1.0f : 0.1f;
    case 13: return GainOrOne(0.01 * GainRH(CAL_RH));
    case 14: return 4.0f;
    case 16: return RoundToSingle(6.0 / 4095.0);
    default: return 1.0f;
    }
}

float TQEL25::getChOffset(std::uint32_t ch) const
{
    if (IsInput(ch)) {
        return AIN[ch].chOFS;
    }
    switch (ch) {
    case 8:
    case 9:
    case 10: return UserOffset2G(static_cast<int>(ch) - 8);
    case 11: return OffsetOrZero(OffsetT(CAL_T));
    case 13: return OffsetOrZero(OffsetRH(CAL_RH));
    default: return 0.0f;
    }
}

bool TQEL25::IsGAPValue(std::uint32_t ch, std::int16_t value) const
{
    return (ch <= 3 || IsAxis(ch)) && value == BurstGapValue;
}

bool TQEL25::IsValidValue(std::uint32_t ch, float value) const
{
    if (IsNaNSingle(value)) {
        return false;
    }
    if (!RegSettings.bRegCheckRange) {
        return true;
    }
    const auto within = [value](float low, float high) { return value >= low && value <= high; };
    switch (ch) {
    case 8:
    case 9:
    case 10: return INT_CFG.Contains(cINT_200G) ? within(-20.0f, 20.0f) : within(-250.0f, 250.0f);
    case 11: return within(-55.0f, 125.0f);
    case 12: return within(0.0f, 30000.0f);
    case 13: return within(0.0f, 100.0f);
    case 16: return within(0.0f, 10.0f);
    default: return true;
    }
}

std::string TQEL25::GetValueStr(std::uint32_t ch, float value) const
{
    const auto pattern = [value](const char* text) { return FormatWithPattern(text, value); };
    if (IsInput(ch)) {
        return pattern(AnalogFormatPattern(AIN[ch].chFMT));
    }
    switch (ch) {
    case 8:
    case 9:
    case 10: return pattern(INT_CFG.Contains(cINT_200G) ? "0.0" : "0.000");
    case 11:
    case 13: return pattern("0.0");
    case 12: return pattern(INT_CFG.Contains(cINT_MS_14BAR) ? "0" : "0.0");
    case 14:
    case 15: return pattern("0");
    case 16: return pattern("0.00");
    default: return FormatGeneral(value);
    }
}

float TQEL25::GetChValue(std::uint32_t chn) const
{
    return chn < ChannelCount ? CalcChValue(chn, CH[chn]) : 0.0f;
}

bool TQEL25::GetChValue(std::uint32_t chn, float& value, std::string& text) const
{
    return BurstChannelValue(*this, chn, CH, IsAxis(chn), value, text);
}

void TQEL25::FillDemoMode()
{
    ID_CLASS = 0x6628;
    ID_VER = MakeVersion(1, 0);
    ID_VER_PC = MakeVersion(1, 0);
    SN = 200013;
    // Raw readings of a logger at rest on a desk.
    CH = {1000, 2000, 0, 0, 0, 0, 0, 0, 0, 0, 256, 0x0190, 10132, 4500, 50, 0, 2900, 0};
    NAME = "logger";
    CAL_INFO = "cal";
}

void TQEL25::SaveToFile()
{
    TModelIniWriter ini;
    ini.WriteIdentity(*this);
    ini.WriteBurstRecording(*this);
    ini.Write("F", "CH_MASK", CH_MASK);
    ini.Write("F", "CH_MASK2", CH_MASK2);
    ini.WriteArray("F", "CH", CH);
    ini.WriteArray("F", "CH_EN", CH_EN);
    ini.WriteArray("F", "CH_ONL", CH_ONL);
    ini.WriteSetBits("H", "INT_CFG", INT_CFG.Bits(), 3);
    ini.Write("I", "SMB_CAL_STEP", SMB_CAL_STEP);
    ini.WriteAcc2G(*this);
    ini.Write("K", "NAME", NAME);
    ini.Write("K", "CAL_INFO", CAL_INFO);
    ini.Write("K", "CAL_DATE", CAL_DATE);
    ini.WriteTwoPointCal(*this);
    ini.Write("K", "VALIDATE", VALIDATE);
    ini.Write("L", "ACCU", ACCU);
    ini.Write("L", "RTC", RTC);
    ini.WriteLimits(LIMITS);
}

} // namespace qel
