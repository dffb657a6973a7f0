// Logger class of model code 0x6601 up to firmware generation 5: built-in
// sensors, four analog inputs and up to eight external sensor channels.
#pragma once

#include "loggers/enum_set.h"
#include "loggers/fixed_model_fields.h"
#include "loggers/qel_base.h"
#include "loggers/qel_container.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace qel {

class TQEL629;

namespace qel629 {
// TQEL629 for model code 0x6601 with an accepted PC version word, else TQEL.
TQelClass SelectQelClass(std::uint16_t ModulClass, std::uint16_t ModulVersion);
} // namespace qel629

class TQEL629 : public TQEL,
                public TQelLimitTable<32>,
                public TQelTwoPointCal,
                public TQelUserInputs,
                public TQelAcc2GCal {
public:
    static const TQelClassInfo ClassInfo;

    enum TIntCfg {
        cINT_MS_14BAR, cINT_MS_TC, cINT_MS_NEG, cINT_T_DS620, cINT_SMB_PEAK, cINT_REC_INP, cINT_LIGHT,
        cINT_EXTREF, cINT_T_EXT0, cINT_T_EXT1, cINT_G1, cINT_LIGHT_SFH, cINT_SDCARD, cINT_P_OFS,
        cINT_MAX31855, cINT_CHX, cINT_MAX44009, cINT_POSTTRIGGER, cINT_THERMO4_EXT, cINT_THERMO4_T3,
        cINT_P, cINT_SHT25, cINT_H3_EXT, cINT_L2_EXT, cINT_ACCU, cINT_T_AS6221, cINT_MEM_ON_VMCU
    };
    enum TSmbCfg { cSMB_HIGH_G, cSMB_FAST, cSMB_PEAK };
    enum TACC_MODE { cACC_SMB365, cACC_SMB380, cACC_ADXL345 };
    enum TA4_MODE { cA4_MODE_NONE, cA4_MODE_4, cA4_MODE_X };
    enum TAPRE_MODE { cAPRE_NONE, cAPRE_8, cAPRE_16 };
    enum TAREF_MODE { cAREF_FIX, cAREF_INT, cAREF_EXT };
    enum TT_MODE { cT_NONE, cT_STD, cT_LIGHT, cT_THERMO1, cT_THERMO4 };
    enum TCHX_MODE { cCHX_STD, cCHX_P, cCHX_RH, cCHX_T };

    static constexpr int ChannelCount = 32; // device channels, one limit entry each

    TQEL629();
    ~TQEL629() override;

    std::uint8_t STATE = 0;
    bool VALID_DIFFTIME = false;
    std::int32_t DIFFTIME = 0;
    double REC_STARTTIME = 0.0, REC_STOPTIME = 0.0;
    std::uint8_t REC_STARTMODE = 0, REC_STOPMODE = 0, REC_CTRL = 0, REC_OPT = 0;
    std::uint16_t REC_PAGE = 0, START_PAGE = 0, STOP_PAGE = 0;
    std::uint8_t MARKER_CFG = 0, MARKER_OPT = 0;
    std::array<std::uint8_t, 16> TASK{};
    std::array<std::uint32_t, 8> TMR{};
    std::uint16_t FASTADC = 0;
    std::uint16_t CH_MASK = 0, CH_MASK2 = 0;
    std::array<std::int16_t, ChannelCount> CH{};       // last raw reading per device channel
    std::array<bool, ChannelCount> CH_EN{};
    std::array<bool, ChannelCount> CH_ONL{};
    std::array<std::uint8_t, ChannelCount> CH_DEVICE{}; // device-channel map of the external channels
    TEnumSet<TIntCfg> INT_CFG;
    std::uint8_t INT_CH_EXT = 0; // bits 4-5 external mode, bits 1-3 or 0-3 sensor count
    TEnumSet<TSmbCfg> SMB_CFG;   // cSMB_HIGH_G selects the 10 g range
    std::uint8_t SMB_CAL_STEP = 0;
    // The ±10 g pairs; the ±2 g pairs are in TQelAcc2GCal.
    float X10G_OFS_INT = 0.0f, X10G_GAIN_INT = 0.0f, Y10G_OFS_INT = 0.0f, Y10G_GAIN_INT = 0.0f;
    float Z10G_OFS_INT = 0.0f, Z10G_GAIN_INT = 0.0f;
    float X10G_OFS_USR = 0.0f, X10G_GAIN_USR = 0.0f, Y10G_OFS_USR = 0.0f, Y10G_GAIN_USR = 0.0f;
    float Z10G_OFS_USR = 0.0f, Z10G_GAIN_USR = 0.0f;
    std::string NAME;
    std::string CAL_INFO;
    double CAL_DATE = 0.0;
    std::uint8_t VALIDATE = 0;
    std::uint8_t LIMITS_MODE = 0;
    std::uint16_t ACCU = 0;
    bool FASTPRESSURE = false;
    std::int16_t INT_POFS = 0;
    std::uint8_t RTC = 0; // non-zero: the extended clock
    std::unique_ptr<TQelContainer> Container;
    std::uint16_t POSTTRIGGER = 0;
    TQelExtPSensor EXT_PSENSOR;

    // Operations of the base class.
    using TQEL::GetChValue;
    std::string GetChName(std::uint32_t ch) const override;
    std::string GetChUnit(std::uint32_t ch) const override;
    float GetChValue(std::uint32_t chn) const override;
    float CalcChValue(std::uint32_t chn, std::int16_t x) const override;
    bool IsValidValue(std::uint32_t ch, float value) const override;
    std::string GetValueStr(std::uint32_t ch, float value) const override;
    std::int16_t GetInvLimitValue(std::uint32_t ch, float y) const override;
    float GetLimitValue(std::uint32_t ch, std::int16_t x) const override;
    void FillDemoMode() override;
    void SaveToFile() override;
    std::string GetName() const override;
    bool IsKnownVersion(std::uint16_t ModulClass, std::uint16_t ModulVersion) const override;
    float getChGain(std::uint32_t ch) const override;
    float getChOffset(std::uint32_t ch) const override;

    // Feature tests; they compare ID_VER unless ID_VER_PC is named.
    bool IsQEL_1S() const;
    bool LimitExists() const;
    bool MarkerExists() const;
    bool RecInputExists() const;
    bool FastADCExists() const;
    bool T2Exists() const;
    bool IsExtended() const;
    bool MarkerOptionExists() const;
    bool IsAnalogExtended() const;
    TA4_MODE IsAnalog4(bool bInternSetup) const;
    TACC_MODE IsAcc() const;
    bool Is2ChannelMasks() const;
    TAPRE_MODE IsAnalogPreTimeMode() const;
    bool IsAccuCapacity() const;
    bool IsLightSensor() const;
    TAREF_MODE GetARefMode() const;
    TT_MODE GetTMode() const;
    bool IsCfg2() const;
    bool IsCfg3() const;
    bool POfsExists() const;
    bool isExtendedName() const;
    bool isContainerExists() const;
    bool isExtendedCalInfo() const;
    bool existsExtendedPSensor() const;
    bool isExtendedPSensor() const;
    bool ExtentedChannelModeExists() const;
    bool AreLimitsForAllChannel() const;
    bool IsFastPressure() const;
    bool IsGlobalLimit() const;
    bool IsSDCard() const;
    bool IsT4Hz() const;
    bool IsT8Hz() const;
    bool IsT4Hz_5MAX31855() const;
    bool isPosttrigger() const;
    bool IsExtendedRTC() const;

    // External sensor channels 16 ... 23.
    TCHX_MODE GetExtentedChannelMode() const;
    std::int32_t GetExtendedSensors() const;
    std::int32_t ExpandExtendedChannels(std::uint8_t int_ch);

    // Thermometer channels 7, 12, 11, 10 in the thermometer modes.
    std::int32_t getThermoChannelCount() const;
    bool isThermoChannel(std::uint32_t ch) const;
    std::string getThermoChannelName(std::uint32_t ch) const;

    // Raw sample decodings: the low 14 bits as a two's-complement number.
    // ConvertSMB answers whether the sample was taken in the 10 g range;
    // ConvertThermo answers False for a sensor fault (ret is then -8000).
    static bool ConvertSMB(std::int32_t& ret, std::int16_t inp);
    bool ConvertThermo(std::int32_t& ret, std::int16_t inp) const;

    // The measured points of a calibration must differ: a calibration whose
    // points coincide is switched off (CAL_T and CAL_T_RH together).
    using TQelTwoPointCal::CheckCalMode;

private:
    enum TModelGroup { cModel6601, cModel6603_4, cModelOther };
    TModelGroup ModelGroup() const;
    bool VersionAtLeast(std::uint8_t major, std::uint8_t minor) const;

    // Conversion pieces of the channel values.
    bool CalOnRH() const;
    bool CalOnT() const;
    bool CalOnTRH() const;
    float AccUserOffset(int axis, bool highG) const;
    float AccUserGain(int axis, bool highG) const;
    bool IsWholePressureCode(std::uint8_t code) const;
    bool IsTenthPressureCode(std::uint8_t code) const;
    double Channel0Value(std::int16_t x) const;
    double ExtPressureValue(std::int16_t x) const;
    double ExtThermoValue(std::int16_t x) const;
    float Channel7Value(std::int16_t x) const;
    float Channel7Limit(std::int16_t x) const;
    double Channel7Gain() const;
    double Channel7Offset() const;
    double Channel0Gain() const;
    double ExtPressureGain() const;
    std::string PressureUnit(std::uint8_t code) const;
    double InvPressure(std::uint8_t code, float y) const;
};

} // namespace qel
