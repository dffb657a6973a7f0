// Logger class of model code 0x6628: the eight-input sibling of the QEL649
// with accelerometer, temperature, pressure, humidity, light and mission data.
#pragma once

#include "loggers/enum_set.h"
#include "loggers/fixed_model_fields.h"
#include "loggers/mission_data.h"
#include "loggers/qel649.h"
#include "loggers/qel_base.h"

#include <array>
#include <cstdint>
#include <string>

namespace qel {

namespace qel25 {
// TQEL25 for model code 0x6628 (or 0x6607) with an accepted PC version word, else TQEL.
TQelClass SelectQelClass(std::uint16_t ModulClass, std::uint16_t ModulVersion);
} // namespace qel25

// One configurable analog input.
struct TQELAnalogInput {
    std::string chNAME;      // user name
    std::string chUNIT;      // user unit
    float chOFS = 0.0f;      // offset
    float chGAIN = 0.0f;     // gain
    std::uint8_t chFMT = 0;  // display format code
};

class TQEL25 : public TQEL,
               public TQelLimitTable<18>,
               public TQelBurstRecording,
               public TQelAcc2GCal,
               public TQelTwoPointCal {
public:
    static const TQelClassInfo ClassInfo;

    enum TIntCfg {
        cINT_MS_14BAR, cINT_MS_TC, cINT_MS_NEG, cINT_200G, cINT_EXT_SHOCK, cINT_LIGHT, cINT_SDCARD,
        cINT_LIGHT_MAXIM, cINT_POSTRIG, cINT_RECTIMER
    };

    static constexpr int ChannelCount = 18; // device channels, one limit entry each
    static constexpr int InputCount = 8; // inputs 1 ... 8 are device channels 0 ... 7

    std::uint16_t CH_MASK = 0, CH_MASK2 = 0;
    std::array<std::int16_t, ChannelCount> CH{};
    std::array<bool, ChannelCount> CH_EN{};
    std::array<bool, ChannelCount> CH_ONL{};
    TEnumSet<TIntCfg> INT_CFG;
    std::uint8_t SMB_CAL_STEP = 0;
    std::uint16_t AIN_PRETIME = 0;
    std::array<TQELAnalogInput, InputCount> AIN{};
    std::string NAME;
    std::string CAL_INFO;
    double CAL_DATE = 0.0;
    std::uint8_t VALIDATE = 0;
    std::uint16_t ACCU = 0;
    std::uint8_t SDCARD = 0;
    std::uint8_t RTC = 0; // non-zero: the extended clock
    TMissionData MissionData;
    std::uint16_t RECTIMER_H = 0, RECTIMER_L = 0;

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
    bool IsExtendedRTC() const;
    bool IsExtendedState() const;
    bool IsPeakACC() const;
    bool IsRuntime() const;
    bool isPosttrigger() const;
    bool hasRecTimer() const;
    bool isRecTimerActive() const;
    TLIMIT IsLimit(std::uint8_t ch) const;

    using TQelTwoPointCal::CheckCalMode;

private:
    bool VersionAtLeast(std::uint8_t major, std::uint8_t minor) const;
};

} // namespace qel
