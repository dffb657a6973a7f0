// Logger class of model code 0x6601 up to generation 5: identity, feature
// tests, channel names and units, limits, demonstration data and INI dump.
#include "loggers/qel629.h"

#include "foundations/model_identity.h"
#include "loggers/model_ini_writer.h"
#include "loggers/value_format.h"
#include "loggers/version_ranges.h"

namespace qel {

const TQelClassInfo TQEL629::ClassInfo = MakeQelClass<TQEL629>("TQEL629");

namespace qel629 {

TQelClass SelectQelClass(std::uint16_t ModulClass, std::uint16_t ModulVersion)
{
    return SelectWhenAccepted(&TQEL629::ClassInfo, ModulClass == 0x6601, ModulVersion,
                              {{1, 0, 8}, {2, 0, 0}, {3, 0, 14}, {4, 0, 4}, {5, 0, 136}});
}

} // namespace qel629

TQEL629::TQEL629() : Container(std::make_unique<TQelContainer>())
{
    Container->Init(0);
}

TQEL629::~TQEL629() = default;

TQEL629::TModelGroup TQEL629::ModelGroup() const
{
    if (ID_CLASS == 0x6601) {
        return cModel6601;
    }
    if (ID_CLASS == 0x6603 || ID_CLASS == 0x6604) {
        return cModel6603_4;
    }
    return cModelOther;
}

bool TQEL629::VersionAtLeast(std::uint8_t major, std::uint8_t minor) const
{
    return ID_VER >= MakeVersion(major, minor);
}

std::string TQEL629::GetName() const
{
    switch (ID_CLASS) {
    case 0x6601: return "QEL629B";
    case 0x6603: return "QEL699A";
    case 0x6604: return "QEL699B";
    default: return "?";
    }
}

bool TQEL629::IsKnownVersion(std::uint16_t ModulClass, std::uint16_t ModulVersion) const
{
    return qel629::SelectQelClass(ModulClass, ModulVersion) == &ClassInfo;
}

// Feature tests by model group: 0x6601 by version, 0x6603/4 fixed, others fixed.

bool TQEL629::IsQEL_1S() const
{
    switch (ModelGroup()) {
    case cModel6601: return ID_VER > MakeVersion(1, 6);
    case cModel6603_4: return true;
    default: return false;
    }
}

bool TQEL629::LimitExists() const
{
    switch (ModelGroup()) {
    case cModel6601: return VersionAtLeast(1, 3);
    case cModel6603_4: return true;
    default: return false;
    }
}

bool TQEL629::MarkerExists() const
{
    switch (ModelGroup()) {
    case cModel6601: return ID_VER > MakeVersion(1, 0);
    case cModel6603_4: return true;
    default: return false;
    }
}

bool TQEL629::RecInputExists() const
{
    switch (ModelGroup()) {
    case cModel6601:
        if (VersionAtLeast(4, 2)) {
            return INT_CFG.Contains(cINT_REC_INP);
        }
        return ID_VER > MakeVersion(1, 8) && CH_EN[9];
    case cModel6603_4: return CH_EN[9];
    default: return false;
    }
}

bool TQEL629::FastADCExists() const
{
    switch (ModelGroup()) {
    case cModel6601: return VersionAtLeast(2, 0) && CH_EN[9];
    case cModel6603_4: return CH_EN[9];
    default: return false;
    }
}

bool TQEL629::T2Exists() const
{
    switch (ModelGroup()) {
    case cModel6601: return VersionAtLeast(2, 0);
    case cModel6603_4: return true;
    default: return false;
    }
}

bool TQEL629::IsExtended() const
{
    switch (ModelGroup()) {
    case cModel6601: return VersionAtLeast(3, 6);
    case cModel6603_4: return true;
    default: return false;
    }
}

bool TQEL629::MarkerOptionExists() const
{
    switch (ModelGroup()) {
    case cModel6601: return VersionAtLeast(4, 0) || (VersionAtLeast(3, 6) && !VersionAtLeast(3, 240));
    case cModel6603_4: return true;
    default: return false;
    }
}

bool TQEL629::IsAnalogExtended() const
{
    return MarkerOptionExists();
}

TQEL629::TA4_MODE TQEL629::IsAnalog4(bool bInternSetup) const
{
    switch (ModelGroup()) {
    case cModel6601:
        if (VersionAtLeast(4, 2)) {
            return cA4_MODE_X;
        }
        if (ID_VER == MakeVersion(4, 0)) {
            return cA4_MODE_4;
        }
        if (!VersionAtLeast(3, 10)) {
            return cA4_MODE_NONE;
        }
        return !VersionAtLeast(3, 240) && (bInternSetup || CH_EN[11]) ? cA4_MODE_4 : cA4_MODE_NONE;
    case cModel6603_4: return cA4_MODE_4;
    default: return cA4_MODE_NONE;
    }
}

TQEL629::TACC_MODE TQEL629::IsAcc() const
{
    switch (ModelGroup()) {
    case cModel6601:
        if (VersionAtLeast(5, 0)) {
            return cACC_ADXL345;
        }
        return VersionAtLeast(4, 0) ? cACC_SMB380 : cACC_SMB365;
    case cModel6603_4: return cACC_SMB380;
    default: return cACC_SMB365;
    }
}

bool TQEL629::Is2ChannelMasks() const
{
    return ModelGroup() == cModel6601 && VersionAtLeast(4, 2);
}

TQEL629::TAPRE_MODE TQEL629::IsAnalogPreTimeMode() const
{
    switch (ModelGroup()) {
    case cModel6601: return VersionAtLeast(4, 2) ? cAPRE_16 : cAPRE_NONE;
    case cModel6603_4: return cAPRE_8;
    default: return cAPRE_NONE;
    }
}

bool TQEL629::IsAccuCapacity() const
{
    return ModelGroup() == cModel6601 &&
           (VersionAtLeast(4, 4) || (ID_VER > MakeVersion(3, 12) && !VersionAtLeast(4, 0)));
}

bool TQEL629::IsLightSensor() const
{
    return IsAccuCapacity();
}

TQEL629::TAREF_MODE TQEL629::GetARefMode() const
{
    if (ModelGroup() != cModel6601 || !VersionAtLeast(5, 12)) {
        return cAREF_FIX;
    }
    return INT_CFG.Contains(cINT_EXTREF) ? cAREF_EXT : cAREF_INT;
}

TQEL629::TT_MODE TQEL629::GetTMode() const
{
    if (ModelGroup() != cModel6601 || !VersionAtLeast(5, 14)) {
        return cT_NONE;
    }
    const bool ext0 = INT_CFG.Contains(cINT_T_EXT0);
    const bool ext1 = INT_CFG.Contains(cINT_T_EXT1);
    if (ext0 && ext1) {
        return cT_THERMO4;
    }
    if (ext0) {
        return cT_LIGHT;
    }
    return ext1 ? cT_THERMO1 : cT_STD;
}

bool TQEL629::IsCfg2() const { return ModelGroup() == cModel6601 && VersionAtLeast(5, 150); }
bool TQEL629::IsCfg3() const { return ModelGroup() == cModel6601 && VersionAtLeast(5, 100); }
bool TQEL629::POfsExists() const { return ModelGroup() == cModel6601 && VersionAtLeast(5, 26); }

bool TQEL629::isExtendedName() const
{
    return ModelGroup() == cModel6601 && ID_VER_PC >= MakeVersion(5, 126);
}

// Tests that do not look at the model code.

bool TQEL629::isContainerExists() const { return VersionAtLeast(5, 101); }
bool TQEL629::isExtendedCalInfo() const { return VersionAtLeast(5, 128); }
bool TQEL629::existsExtendedPSensor() const { return VersionAtLeast(5, 120); }
bool TQEL629::isExtendedPSensor() const { return existsExtendedPSensor() && EXT_PSENSOR.bValid; }
bool TQEL629::ExtentedChannelModeExists() const { return VersionAtLeast(5, 0); }
bool TQEL629::AreLimitsForAllChannel() const { return ID_VER > MakeVersion(5, 104); }
bool TQEL629::IsFastPressure() const { return VersionAtLeast(5, 24); }
bool TQEL629::IsGlobalLimit() const { return VersionAtLeast(5, 68); }
bool TQEL629::IsSDCard() const { return VersionAtLeast(5, 24) && INT_CFG.Contains(cINT_SDCARD); }
bool TQEL629::IsT4Hz() const { return ID_VER > MakeVersion(5, 16) && INT_CFG.Contains(cINT_T_EXT1); }
bool TQEL629::IsT8Hz() const { return IsT4Hz() && INT_CFG.Contains(cINT_MAX31855); }
bool TQEL629::IsT4Hz_5MAX31855() const { return false; }
bool TQEL629::isPosttrigger() const { return INT_CFG.Contains(cINT_POSTTRIGGER); }
bool TQEL629::IsExtendedRTC() const { return RTC != 0; }

TQEL629::TCHX_MODE TQEL629::GetExtentedChannelMode() const
{
    if (!ExtentedChannelModeExists() || !INT_CFG.Contains(cINT_CHX)) {
        return cCHX_STD;
    }
    switch ((INT_CH_EXT >> 4) & 3) {
    case 0: return cCHX_P;
    case 1: return cCHX_RH;
    case 2: return cCHX_T;
    default: return cCHX_STD;
    }
}

std::int32_t TQEL629::GetExtendedSensors() const
{
    switch (GetExtentedChannelMode()) {
    case cCHX_P:
    case cCHX_RH: return (INT_CH_EXT >> 1) & 7;
    case cCHX_T: return INT_CH_EXT & 0x0F;
    default: return 0;
    }
}

std::int32_t TQEL629::ExpandExtendedChannels(std::uint8_t int_ch)
{
    if (int_ch == 0 || int_ch > 8) {
        return 0;
    }
    for (int i = 0; i < ChannelCount; ++i) {
        CH_DEVICE[i] = static_cast<std::uint8_t>(i);
    }
    std::int32_t given = 0;
    int external = 16;
    for (int standard = 0; standard <= 14 && given < int_ch; ++standard) {
        if (CH_EN[standard]) {
            continue;
        }
        CH_EN[external] = true;
        CH_DEVICE[external] = static_cast<std::uint8_t>(standard);
        CH_DEVICE[standard] = static_cast<std::uint8_t>(external);
        ++external;
        ++given;
    }
    return given;
}

std::int32_t TQEL629::getThermoChannelCount() const
{
    switch (GetTMode()) {
    case cT_THERMO1: return 1;
    case cT_THERMO4:
        if (!INT_CFG.Contains(cINT_THERMO4_EXT)) {
            return 4;
        }
        return INT_CFG.Contains(cINT_THERMO4_T3) ? 3 : 2;
    default: return 0;
    }
}

bool TQEL629::isThermoChannel(std::uint32_t ch) const
{
    const std::int32_t count = getThermoChannelCount();
    switch (ch) {
    case 7: return count >= 1;
    case 12: return count >= 2;
    case 11: return count >= 3;
    case 10: return count >= 4;
    default: return false;
    }
}

std::string TQEL629::getThermoChannelName(std::uint32_t ch) const
{
    switch (getThermoChannelCount()) {
    case 1: return "T1";
    case 2:
        return ch == 7 ? "T1" : ch == 12 ? "T2" : "";
    case 3:
        return ch == 7 ? "T1" : ch == 11 ? "T2" : ch == 12 ? "T3" : "";
    case 4:
        return ch == 7 ? "T1" : ch == 10 ? "T2" : ch == 11 ? "T3" : ch == 12 ? "T4" : "";
    default: return "";
    }
}

std::string TQEL629::PressureUnit(std::uint8_t code) const
{
    return isExtendedPSensor() && (code == 0x22 || code == 0x24) ? "bar" : "mbar";
}

std::string TQEL629::GetChName(std::uint32_t ch) const
{
    const bool userNames = ModelGroup() == cModel6601 && VersionAtLeast(4, 2);
    switch (ch) {
    case 0: return "p";
    case 1: return "T_p";
    case 2: return "ACC x";
    case 3: return "ACC y";
    case 4: return "ACC z";
    case 5: return "RH";
    case 6: return "T_RH";
    case 7: {
        const TT_MODE mode = GetTMode();
        return mode == cT_LIGHT ? "L1" : mode == cT_THERMO4 ? "T1" : "T";
    }
    case 8: return "Marker";
    case 9:
        if (IsLightSensor() && INT_CFG.Contains(cINT_LIGHT)) {
            return "L1";
        }
        return userNames ? A1_NAME_USR : "A1";
    case 10:
    case 11:
    case 12: {
        if (isThermoChannel(ch)) {
            return getThermoChannelName(ch);
        }
        const int input = static_cast<int>(ch) - 8;
        return userNames ? InputName(input) : TextWithNumber("A", input);
    }
    case 13: return "FSC";
    case 14: return "BAT";
    default: break;
    }
    if (ch < 16 || ch > 23) {
        return "";
    }
    static const char* const pressureNames[8] = {"p2", "T_p2", "p3", "T_p3", "p4", "T_p4", "p5", "T_p5"};
    static const char* const humidityNames[8] = {"RH2", "T_RH2", "RH3", "T_RH3", "RH4", "T_RH4", "RH5", "T_RH5"};
    static const char* const thermoNames[4] = {"T2", "T3", "T4", "T5"};
    switch (GetExtentedChannelMode()) {
    case cCHX_P: return pressureNames[ch - 16];
    case cCHX_RH: return humidityNames[ch - 16];
    case cCHX_T: return ch <= 19 ? thermoNames[ch - 16] : "";
    default: return "";
    }
}

std::string TQEL629::GetChUnit(std::uint32_t ch) const
{
    switch (ch) {
    case 0: return PressureUnit(EXT_PSENSOR.INT_PINT);
    case 1: return TemperatureUnit();
    case 2:
    case 3:
    case 4: return "G";
    case 5: return "%";
    case 6: return TemperatureUnit();
    case 7: return GetTMode() == cT_LIGHT ? "lux" : TemperatureUnit();
    case 8: return "";
    case 9: return A1_UNIT_USR;
    case 10:
    case 11:
    case 12: return isThermoChannel(ch) ? TemperatureUnit() : InputUnit(static_cast<int>(ch) - 8);
    case 13: return "";
    case 14: return "V";
    default: break;
    }
    if (ch < 16 || ch > 23) {
        return "";
    }
    const bool even = ch % 2 == 0;
    switch (GetExtentedChannelMode()) {
    case cCHX_P: return even ? PressureUnit(EXT_PSENSOR.INT_PEXT) : TemperatureUnit();
    case cCHX_RH: return even ? "%" : TemperatureUnit();
    case cCHX_T: return ch <= 19 ? TemperatureUnit() : "";
    default: return "";
    }
}

float TQEL629::GetChValue(std::uint32_t chn) const
{
    if (chn <= 14) {
        return CalcChValue(chn, CH[chn]);
    }
    if (chn < ChannelCount && GetExtentedChannelMode() != cCHX_STD) {
        // The map may name any byte: only a device channel of the table has a reading.
        const std::uint8_t device = CH_DEVICE[chn];
        return device < ChannelCount ? CalcChValue(chn, CH[device]) : 0.0f;
    }
    return 0.0f;
}

void TQEL629::FillDemoMode()
{
    ID_CLASS = 0x6601;
    ID_VER = MakeVersion(3, 6);
    ID_VER_PC = MakeVersion(3, 6);
    ID_TYPE = 2;
    SN = 200013;
    STATE = 1;
    CH_EN.fill(false);
    for (int ch = 0; ch <= 10; ++ch) {
        CH_EN[ch] = true;
    }
    CH_EN[14] = true;
    // Raw readings of a logger at rest on a desk.
    CH = {10132, 215, 0, 0, 256, 4500, 2150, 1200, 0, 1000, 2000, 0, 0, 0, 2900};
    X2G_OFS_INT = X2G_OFS_USR = Y2G_OFS_INT = Y2G_OFS_USR = Z2G_OFS_INT = Z2G_OFS_USR = 0.0f;
    X2G_GAIN_INT = X2G_GAIN_USR = Y2G_GAIN_INT = Y2G_GAIN_USR = Z2G_GAIN_INT = Z2G_GAIN_USR = 0.0039f;
    X10G_OFS_INT = X10G_OFS_USR = Y10G_OFS_INT = Y10G_OFS_USR = Z10G_OFS_INT = Z10G_OFS_USR = 0.0f;
    X10G_GAIN_INT = X10G_GAIN_USR = Y10G_GAIN_INT = Y10G_GAIN_USR = Z10G_GAIN_INT = Z10G_GAIN_USR = 0.0195f;
    for (int input = 1; input <= 4; ++input) {
        SetUserInput(input, TextWithNumber("A", input), "mV", 0.0f, 1.0f);
    }
    NAME = "logger";
    CAL_INFO = "cal";
    CAL_DATE = 36526.0; // 2000-01-01
    CAL_RH = CAL_T = CAL_T_RH = false;
    ClearLimits();
}

void TQEL629::SaveToFile()
{
    TModelIniWriter ini;
    ini.WriteIdentity(*this);
    ini.Write("B", "STATE", STATE);
    ini.Write("B", "VALID_DIFFTIME", VALID_DIFFTIME);
    ini.Write("B", "DIFFTIME", DIFFTIME);
    ini.Write("B", "REC_STARTTIME", REC_STARTTIME);
    ini.Write("B", "REC_STOPTIME", REC_STOPTIME);
    ini.Write("B", "REC_STARTMODE", REC_STARTMODE);
    ini.Write("B", "REC_STOPMODE", REC_STOPMODE);
    ini.Write("B", "REC_CTRL", REC_CTRL);
    ini.Write("B", "REC_OPT", REC_OPT);
    ini.Write("B", "REC_PAGE", REC_PAGE);
    ini.Write("B", "START_PAGE", START_PAGE);
    ini.Write("B", "STOP_PAGE", STOP_PAGE);
    ini.Write("C", "MARKER_CFG", MARKER_CFG);
    ini.Write("C", "MARKER_OPT", MARKER_OPT);
    ini.WriteArray("D", "TASK", TASK);
    ini.WriteArray("D", "TMR", TMR);
    ini.Write("E", "FASTADC", FASTADC);
    ini.Write("F", "CH_MASK", CH_MASK);
    ini.Write("F", "CH_MASK2", CH_MASK2);
    ini.WriteArray("F", "CH", CH);
    ini.WriteArray("F", "CH_EN", CH_EN);
    ini.WriteArray("F", "CH_ONL", CH_ONL);
    ini.WriteArray("G", "CH_DEVICE", CH_DEVICE);
    ini.Write("G", "INT_CH_EXT", INT_CH_EXT);
    ini.WriteSetBits("H", "INT_CFG", INT_CFG.Bits(), 5);
    ini.Write("I", "SMB_CFG", static_cast<std::uint32_t>(SMB_CFG.Bits()));
    ini.Write("I", "SMB_CAL_STEP", SMB_CAL_STEP);
    ini.WriteAcc2G(*this);
    ini.Write("I", "X10G_OFS_INT", X10G_OFS_INT);
    ini.Write("I", "X10G_GAIN_INT", X10G_GAIN_INT);
    ini.Write("I", "Y10G_OFS_INT", Y10G_OFS_INT);
    ini.Write("I", "Y10G_GAIN_INT", Y10G_GAIN_INT);
    ini.Write("I", "Z10G_OFS_INT", Z10G_OFS_INT);
    ini.Write("I", "Z10G_GAIN_INT", Z10G_GAIN_INT);
    ini.Write("I", "X10G_OFS_USR", X10G_OFS_USR);
    ini.Write("I", "X10G_GAIN_USR", X10G_GAIN_USR);
    ini.Write("I", "Y10G_OFS_USR", Y10G_OFS_USR);
    ini.Write("I", "Y10G_GAIN_USR", Y10G_GAIN_USR);
    ini.Write("I", "Z10G_OFS_USR", Z10G_OFS_USR);
    ini.Write("I", "Z10G_GAIN_USR", Z10G_GAIN_USR);
    ini.WriteUserInputs(*this);
    ini.Write("K", "NAME", NAME);
    ini.Write("K", "CAL_INFO", CAL_INFO);
    ini.Write("K", "CAL_DATE", CAL_DATE);
    ini.WriteTwoPointCal(*this);
    ini.Write("K", "VALIDATE", VALIDATE);
    ini.Write("K", "LIMITS_MODE", LIMITS_MODE);
    ini.WriteLimits(LIMITS);
}

} // namespace qel
