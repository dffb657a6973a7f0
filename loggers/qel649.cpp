// Logger class of model codes 0x6606 and 0x6607: identity, feature tests,
// channel table with its conversions, gap values and limits.
#include "loggers/qel649.h"

#include "foundations/byte_helpers.h"
#include "foundations/model_identity.h"
#include "foundations/settings.h"
#include "loggers/model_ini_writer.h"
#include "loggers/value_format.h"
#include "loggers/value_math.h"
#include "loggers/version_ranges.h"

namespace qel {

const TQelClassInfo TQEL649::ClassInfo = MakeQelClass<TQEL649>("TQEL649");

namespace qel649 {

TQelClass SelectQelClass(std::uint16_t ModulClass, std::uint16_t ModulVersion)
{
    return SelectWhenAccepted(&TQEL649::ClassInfo, ModulClass == 0x6606 || ModulClass == 0x6607, ModulVersion,
                              {{0, 0, 1}, {1, 0, 88}, {2, 0, 36}});
}

} // namespace qel649

bool TQEL649::VersionAtLeast(std::uint8_t major, std::uint8_t minor) const
{
    return ID_VER >= MakeVersion(major, minor);
}

std::string TQEL649::GetName() const
{
    switch (ID_CLASS) {
    case 0x6606: return "QEL649";
    case 0x6607: return "QEL640";
    default: return "?";
    }
}

bool TQEL649::IsKnownVersion(std::uint16_t ModulClass, std::uint16_t ModulVersion) const
{
    return qel649::SelectQelClass(ModulClass, ModulVersion) == &ClassInfo;
}

bool TQEL649::RecInputExists() const { return CH_EN[9] && CH_EN[10] && CH_EN[11] && CH_EN[12]; }
bool TQEL649::IsMissionData() const { return VersionAtLeast(2, 0); }
bool TQEL649::IsSDCard() const { return ID_VER_PC >= MakeVersion(1, 2) && INT_CFG.Contains(cINT_SDCARD); }
bool TQEL649::IsLightSFH() const { return VersionAtLeast(1, 14); }
bool TQEL649::IsExtendedRTC() const { return RTC != 0; }
bool TQEL649::IsExtendedState() const { return VersionAtLeast(1, 34); }
bool TQEL649::IsPeakACC() const { return VersionAtLeast(1, 29); }
bool TQEL649::IsRuntime() const { return VersionAtLeast(1, 64); }
bool TQEL649::HasADC_2_4_8Hz() const { return VersionAtLeast(2, 36); }
bool TQEL649::isPosttrigger() const { return INT_CFG.Contains(cINT_POSTRIG); }
bool TQEL649::hasRecTimer() const { return VersionAtLeast(1, 79) && INT_CFG.Contains(cINT_RECTIMER); }

bool TQEL649::isRecTimerActive() const
{
    return hasRecTimer() && IsTimerWordSet(RECTIMER_L) && IsTimerWordSet(RECTIMER_H);
}

bool TQEL649::existsExtendedPSensor() const { return VersionAtLeast(2, 2); }
bool TQEL649::isExtendedPSensor() const { return existsExtendedPSensor() && EXT_PSENSOR.bValid; }

TQEL649::TADC_MODE TQEL649::GetAdcMode() const
{
    if (INT_CFG.Contains(cINT_LIGHT)) {
        return cADC_LIGHT;
    }
    if (CH_EN[9] && CH_EN[10] && (isPosttrigger() || CH_EN[11])) {
        return cADC_A4;
    }
    return cADC_NONE;
}

TLIMIT TQEL649::IsLimit(std::uint8_t ch) const
{
    switch (REC_FAST) {
    case cFAST_SHOCK:
    case cFAST_ACC: return ch >= 2 && ch <= 4 ? cLT_ACC : cLT_STD;
    case cFAST_ADC: return ch >= 9 && ch <= 12 ? cLT_ADC : cLT_STD;
    default: return cLT_STD;
    }
}

void TQEL649::SetInternAdcMode(TADC_MODE mode)
{
    constexpr std::uint16_t inputBits = 0x1E00; // bits 9 to 12
    std::uint16_t setBits = 0;
    switch (mode) {
    case cADC_LIGHT:
        INT_CFG.Include(cINT_LIGHT);
        setBits = 0x0200;
        break;
    case cADC_A4:
        INT_CFG.Exclude(cINT_LIGHT);
        setBits = isPosttrigger() ? 0x0600 : inputBits;
        break;
    case cADC_NONE:
        INT_CFG.Exclude(cINT_LIGHT);
        CH_MASK &= static_cast<std::uint16_t>(~inputBits);
        CH_MASK2 &= static_cast<std::uint16_t>(~inputBits);
        return;
    }
    CH_MASK |= setBits;
    CH_MASK2 |= setBits;
}

// 1: the pressure is read in whole units, 10: in tenths; 0: a sensor code
// without a defined scaling, whose value is then the raw number.
int TQEL649::PressureScale() const
{
    if (!isExtendedPSensor()) {
        return INT_CFG.Contains(cINT_MS_14BAR) ? 1 : 10;
    }
    switch (EXT_PSENSOR.INT_PINT) {
    case 1:
    case 3:
    case 33: return 1;
    case 0:
    case 2:
    case 4:
    case 32:
    case 34:
    case 35: return 10;
    default: return 0;
    }
}

std::string TQEL649::GetChName(std::uint32_t ch) const
{
    static const char* const bookkeeping[5] = {"qel time", "link", "pretrigger", "page time", "block dt"};
    switch (ch) {
    case 0: return "p";
    case 1: return "T(p)";
    case 2: return "ACC x";
    case 3: return "ACC y";
    case 4: return "ACC z";
    case 5: return "RH";
    case 6: return "T(RH)";
    case 7: return "T";
    case 8: return "L";
    case 9:
        if (INT_CFG.Contains(cINT_LIGHT)) {
            return "L1";
        }
        [[fallthrough]];
    case 10:
    case 11:
    case 12: {
        const int input = static_cast<int>(ch) - 8;
        const std::string& name = InputName(input);
        return name.empty() ? TextWithNumber("A", input) : name;
    }
    case 13: return "FSC";
    case 16: return "Marker";
    case 17: return "BAT";
    case 18:
    case 19:
    case 20:
    case 21:
    case 22: return bookkeeping[ch - 18];
    default: return "";
    }
}

std::string TQEL649::GetChUnit(std::uint32_t ch) const
{
    switch (ch) {
    case 0: return isExtendedPSensor() && EXT_PSENSOR.INT_PINT == 0x22 ? "bar" : "mbar";
    case 1:
    case 6:
    case 7: return TemperatureUnit();
    case 2:
    case 3:
    case 4: return "G";
    case 5: return "%";
    case 8: return "lux";
    case 9:
    case 10:
    case 11:
    case 12: return InputUnit(static_cast<int>(ch) - 8);
    case 17: return "V";
    default: return "";
    }
}

float TQEL649::CalcChValue(std::uint32_t chn, std::int16_t x) const
{
    const double r = x;
    switch (chn) {
    case 0: return ValueOrNoValue(PressureScale() == 10 ? r * 0.1 : r);
    case 1: return ValueOrNoValue(r / 10.0);
    case 2:
    case 3:
    case 4: {
        const int axis = static_cast<int>(chn) - 2;
        std::int16_t converted = 0;
        ConvertADXL(converted, x);
        return ValueOrNoValue(converted * static_cast<double>(UserGain2G(axis)) + UserOffset2G(axis));
    }
    case 5: return ValueOrNoValue(CalRH(CAL_RH, RoundToSingle(r / 100.0)));
    case 6: return ValueOrNoValue(CalT(CAL_T_RH, RoundToSingle(r / 100.0)));
    case 7: return ValueOrNoValue(CalT(CAL_T, RoundToSingle(SignedLowBits(RawBits(x), 13) * 0.0625)));
    case 8: return ValueOrNoValue(r * 4.0);
    case 9:
    case 10:
    case 11:
    case 12: {
        const int input = static_cast<int>(chn) - 8;
        return ValueOrNoValue(r * InputGain(input) + InputOffset(input));
    }
    case 17: return ValueOrNoValue(r * 2.0 / 4095.0 * 3.0);
    default: return static_cast<float>(x);
    }
}

float TQEL649::GetLimitValue(std::uint32_t ch, std::int16_t x) const
{
    const double r = x;
    switch (ch) {
    case 0: return ValueOrNoValue(PressureScale() == 10 ? r / 10.0 : r);
    case 2:
    case 3:
    case 4: {
        const int axis = static_cast<int>(ch) - 2;
        return ValueOrNoValue(r * UserGain2G(axis) + UserOffset2G(axis));
    }
    case 7: return ValueOrNoValue(CalT(CAL_T, RoundToSingle(r * 0.0625)));
    default: return CalcChValue(ch, x);
    }
}

std::int16_t TQEL649::GetInvLimitValue(std::uint32_t ch, float y) const
{
    switch (ch) {
    case 0: return RawLimitOrZero(static_cast<double>(y) * PressureScale());
    case 1: return RawLimitOrZero(y * 10.0);
    case 2:
    case 3:
    case 4: {
        const int axis = static_cast<int>(ch) - 2;
        return RawLimitOrZero(CalcX(y, UserOffset2G(axis), UserGain2G(axis)));
    }
    case 5: return RawLimitOrZero(InvCalRH(CAL_RH, y) * 100.0);
    case 6: return RawLimitOrZero(InvCalT(CAL_T_RH, y) * 100.0);
    case 7: return RawLimitOrZero(InvCalT(CAL_T, y) / 0.0625);
    case 8: return RawLimitOrZero(y / 4.0);
    case 9:
    case 10:
    case 11:
    case 12: {
        const int input = static_cast<int>(ch) - 8;
        return RawLimitOrZero((static_cast<double>(y) - InputOffset(input)) / InputGain(input));
    }
    case 17: return RawLimitOrZero(y * 4095.0 / 6.0);
    default: return 0;
    }
}

float TQEL649::getChGain(std::uint32_t ch) const
{
    switch (ch) {
    case 0: return PressureScale() == 10 ? 0.1f : 1.0f;
    case 1: return 0.1f;
    case 2:
    case 3:
    case 4: return UserGain2G(static_cast<int>(ch) - 2);
    case 5: return GainOrOne(0.01 * GainRH(CAL_RH));
    case 6: return GainOrOne(0.01 * GainT(CAL_T_RH));
    case 7: return GainOrOne(0.0625 * GainT(CAL_T));
    case 8: return 4.0f;
    case 9:
    case 10:
    case 11:
    case 12: return InputGain(static_cast<int>(ch) - 8);
    case 17: return RoundToSingle(6.0 / 4095.0);
    default: return 1.0f;
    }
}

float TQEL649::getChOffset(std::uint32_t ch) const
{
    switch (ch) {
    case 2:
    case 3:
    case 4: return UserOffset2G(static_cast<int>(ch) - 2);
    case 5: return OffsetOrZero(OffsetRH(CAL_RH));
    case 6: return OffsetOrZero(OffsetT(CAL_T_RH));
    case 7: return OffsetOrZero(OffsetT(CAL_T));
    case 9:
    case 10:
    case 11:
    case 12: return InputOffset(static_cast<int>(ch) - 8);
    default: return 0.0f;
    }
}

bool TQEL649::IsGAPValue(std::uint32_t ch, std::int16_t value) const
{
    const bool gapChannel = (ch >= 2 && ch <= 4) || (ch >= 9 && ch <= 12);
    return gapChannel && value == BurstGapValue;
}

bool TQEL649::IsValidValue(std::uint32_t ch, float value) const
{
    if (IsNaNSingle(value)) {
        return false;
    }
    if (!RegSettings.bRegCheckRange) {
        return true;
    }
    const auto within = [value](float low, float high) { return value >= low && value <= high; };
    switch (ch) {
    case 0: return isExtendedPSensor() || within(0.0f, 30000.0f);
    case 1: return within(-40.0f, 125.0f);
    case 2:
    case 3:
    case 4: return INT_CFG.Contains(cINT_200G) ? within(-20.0f, 20.0f) : within(-250.0f, 250.0f);
    case 5: return within(0.0f, 100.0f);
    case 6: return within(-40.0f, 123.8f);
    case 7: return within(-55.0f, 125.0f);
    case 17: return within(0.0f, 10.0f);
    default: return true;
    }
}

std::string TQEL649::GetValueStr(std::uint32_t ch, float value) const
{
    const auto pattern = [value](const char* text) { return FormatWithPattern(text, value); };
    switch (ch) {
    case 0:
        switch (PressureScale()) {
        case 1: return pattern("0");
        case 10: return pattern("0.0");
        default: return "";
        }
    case 1:
    case 5:
    case 6:
    case 7: return pattern("0.0");
    case 2:
    case 3:
    case 4: return pattern(INT_CFG.Contains(cINT_200G) ? "0.0" : "0.000");
    case 8:
    case 16: return pattern("0");
    case 9:
    case 10:
    case 11:
    case 12: return pattern(AnalogFormatPattern(InputFormat(static_cast<int>(ch) - 8)));
    case 17: return pattern("0.00");
    default: return FormatGeneral(value);
    }
}

float TQEL649::GetChValue(std::uint32_t chn) const
{
    return chn < ChannelCount ? CalcChValue(chn, CH[chn]) : 0.0f;
}

bool TQEL649::GetChValue(std::uint32_t chn, float& value, std::string& text) const
{
    return BurstChannelValue(*this, chn, CH, chn >= 2 && chn <= 4, value, text);
}

void TQEL649::FillDemoMode()
{
    ID_CLASS = 0x6606;
    ID_VER = MakeVersion(1, 0);
    ID_VER_PC = MakeVersion(1, 0);
    SN = 200013;
    CH_EN.fill(false);
    for (int ch : {0, 1, 2, 3, 4, 5, 6, 7, 9, 10, 17}) {
        CH_EN[ch] = true;
    }
    // Raw readings of a logger at rest on a desk.
    CH = {10132, 215, 0, 0, 256, 4500, 2150, 0x0190, 0, 1000, 2000, 0, 0, 0, 0, 0, 0, 2900};
    X2G_GAIN_INT = X2G_GAIN_USR = Y2G_GAIN_INT = Y2G_GAIN_USR = Z2G_GAIN_INT = Z2G_GAIN_USR = 0.0039f;
    for (int input = 1; input <= 4; ++input) {
        SetUserInput(input, TextWithNumber("A", input), "mV", 0.0f, 1.0f);
    }
    NAME = "logger";
    CAL_INFO = "cal";
    CAL_DATE = 36526.0; // 2000-01-01
    CAL_RH = CAL_T = CAL_T_RH = false;
    ClearLimits();
}

void TQEL649::SaveToFile()
{
    TModelIniWriter ini;
    ini.WriteIdentity(*this);
    ini.WriteBurstRecording(*this);
    ini.Write("F", "CH_MASK", CH_MASK);
    ini.Write("F", "CH_MASK2", CH_MASK2);
    ini.WriteArray("F", "CH", CH);
    ini.WriteArray("F", "CH_EN", CH_EN);
    ini.WriteArray("F", "CH_ONL", CH_ONL);
    ini.WriteSetBits("H", "INT_CFG", INT_CFG.Bits(), static_cast<int>(cINT_SPECIAL) + 1);
    ini.Write("I", "SMB_CAL_STEP", SMB_CAL_STEP);
    ini.WriteAcc2G(*this);
    ini.WriteUserInputs(*this);
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
