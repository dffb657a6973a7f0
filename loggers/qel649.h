// Logger class of model codes 0x6606 and 0x6607: pressure, temperatures,
// accelerometer with burst recording, humidity, light, four analog inputs.
#pragma once

#include "loggers/enum_set.h"
#include "loggers/fixed_model_fields.h"
#include "loggers/mission_data.h"
#include "loggers/qel_base.h"

#include <array>
#include <cstdint>
#include <string>

namespace qel {

class TQEL649;

namespace qel649 {
// TQEL649 for model code 0x6606 or 0x6607 with an accepted PC version word, else TQEL.
TQelClass SelectQelClass(std::uint16_t ModulClass, std::uint16_t ModulVersion);
} // namespace qel649

enum TFAST_MODE { cFAST_OFF, cFAST_SHOCK, cFAST_ACC, cFAST_ADC, cPEAK_ACC };
enum TLIMIT { cLT_STD, cLT_ADC, cLT_ACC };
enum TQelOption { cOPT_MARKER, cOPT_ACKALARM, cOPT_RECLED, cOPT_RECTIMER };

// State, recording settings, burst mode and options of the burst-recording
// loggers (QEL649 and QEL25 carry the same fields).
struct TQelBurstRecording {
    std::uint16_t STATE = 0;
    bool VALID_DIFFTIME = false;
    std::int32_t DIFFTIME = 0;
    double REC_STARTTIME = 0.0, REC_STOPTIME = 0.0;
    std::uint8_t REC_STARTMODE = 0, REC_STOPMODE = 0, REC_CTRL = 0, REC_OPT = 0;
    std::uint16_t REC_PAGE = 0, START_PAGE = 0, STOP_PAGE = 0;
    std::uint16_t REC_RUNTIME = 0;
    TFAST_MODE REC_FAST = cFAST_OFF;  // burst recording mode
    std::uint8_t REC_FAST_MASK = 0;   // burst channel mask
    std::uint16_t REC_STD_MASK = 0;   // standard channel mask
    std::uint8_t REC_FAST_RATE = 0;   // burst rate code
    std::uint16_t REC_STD_RATE = 0;
    TEnumSet<TQelOption> OPTIONS;
    std::uint8_t LIMIT_ON = 0, LIMIT_OFF = 0;
};

class TQEL649 : public TQEL,
                public TQelLimitTable<18>,
                public TQelBurstRecording,
                public TQelAcc2GCal,
                public TQelUserInputs,
                public TQelTwoPointCal {
public:
    static const TQelClassInfo ClassInfo;

    enum TIntCfg {
        cINT_MS_14BAR, cINT_MS_TC, cINT_MS_NEG, cINT_200G, cINT_EXT_SHOCK, cINT_LIGHT, cINT_SDCARD,
        cINT_LIGHT_MAXIM, cINT_POSTRIG, cINT_RECTIMER, cINT_AC1_H3, cINT_AC1_L2, cINT_H2, cINT_H3, cINT_T9,
        cINT_ACCU, cINT_MEM_VMCU, cINT_L3, cINT_AC1_L3, cINT_FT9, cINT_AC1_P7, cINT_SPECIAL
    };
    enum TADC_MODE { cADC_NONE, cADC_LIGHT, cADC_A4 };

    static constexpr int ChannelCount = 18; // device channels, one limit entry each

    std::uint16_t CH_MASK = 0, CH_MASK2 = 0;
    std::array<std::int16_t, ChannelCount> CH{};  // last raw reading per device channel
    std::array<bool, ChannelCount> CH_EN{};
    std::array<bool, ChannelCount> CH_ONL{};
    TEnumSet<TIntCfg> INT_CFG;
    std::uint8_t SMB_CAL_STEP = 0;
    std::string NAME;
    std::string CAL_INFO;
    double CAL_DATE = 0.0;
    std::uint8_t VALIDATE = 0;
    std::uint16_t ACCU = 0;
    std::uint8_t SDCARD = 0, SDCARD_CTRL = 0, SDCARD_STATE = 0;
    std::uint16_t SDCARD_CLASS = 0, SDCARD_VERSION = 0, SDCARD_LOGGER_CLASS = 0;
    std::uint32_t SDCARD_LOGGER_SN = 0;
    std::uint8_t RTC = 0; // non-zero: the extended clock
    TMissionData MissionData;
    std::uint16_t RECTIMER_H = 0, RECTIMER_L = 0;
    TQelExtPSensor EXT_PSENSOR;

    std::string GetChName(std::uint32_t ch) const override;
    std::string GetChUnit(std::uint32_t ch) const override;
    float GetChValue(std::uint32_t chn) const override;
    float CalcChValue(std::uint32_t chn, std::int16_t x) const override;
    bool GetChValue(std::uint32_t chn, float& value, std::string& text) const override;
    bool IsValidValue(std::uint32_t ch, float value) const override;
    std::string GetValueStr(std::uint32_t ch, float value) const override;
    std::int16_t GetInvLimitValue(std::uint32_t ch, float y) const override;
    float GetLimitValue(std::uint32_t ch, std::int16_t x) const override;
    void FillDemoMode() override;
    void SaveToFile() override;
    std::string GetName() const override;
    bool IsKnownVersion(std::uint16_t ModulClass, std::uint16_t ModulVersion) const override;
    bool IsGAPValue(std::uint32_t ch, std::int16_t value) const override;
    float getChGain(std::uint32_t ch) const override;
    float getChOffset(std::uint32_t ch) const override;

    // Feature tests; v is ID_VER unless ID_VER_PC is named.
    bool RecInputExists() const;
    bool IsMissionData() const;
    bool IsSDCard() const;
    bool IsLightSFH() const;
    bool IsExtendedRTC() const;
    bool IsExtendedState() const;
    bool IsPeakACC() const;
    bool IsRuntime() const;
    bool HasADC_2_4_8Hz() const;
    bool isPosttrigger() const;
    bool hasRecTimer() const;
    bool isRecTimerActive() const;
    bool existsExtendedPSensor() const;
    bool isExtendedPSensor() const;
    TADC_MODE GetAdcMode() const;
    TLIMIT IsLimit(std::uint8_t ch) const;
    void SetInternAdcMode(TADC_MODE mode);

    using TQelTwoPointCal::CheckCalMode;

private:
    bool VersionAtLeast(std::uint8_t major, std::uint8_t minor) const;
    int PressureScale() const; // 1: whole units, 10: tenths, 0: a sensor code without a scaling
};

} // namespace qel
