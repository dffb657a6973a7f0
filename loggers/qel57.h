// Logger classes of model code 0x661D, the inclination loggers: QEL57, and
// QEL57b and QEL57c with external sensors addressed by serial number.
#pragma once

#include "loggers/enum_set.h"
#include "loggers/fixed_model_fields.h"
#include "loggers/qel_base.h"

#include <array>
#include <cstdint>
#include <string>

namespace qel {

namespace qel57 {
// Each generation's class for model code 0x661D with an accepted PC version word, else TQEL.
TQelClass SelectQelClass(std::uint16_t ModulClass, std::uint16_t ModulVersion);
} // namespace qel57
namespace qel57b {
TQelClass SelectQelClass(std::uint16_t ModulClass, std::uint16_t ModulVersion);
} // namespace qel57b
namespace qel57c {
TQelClass SelectQelClass(std::uint16_t ModulClass, std::uint16_t ModulVersion);
} // namespace qel57c

// First generation; the later ones keep all of it and add external channels.
class TQEL57 : public TQEL, public TQelLimitTable<15> {
public:
    static const TQelClassInfo ClassInfo;

    enum TIntCfg {
        cINT_MS_14BAR, cINT_MS_TC, cINT_MS_NEG, cINT_T_DS620, cINT_SMB_PEAK, cINT_REC_INP, cINT_LIGHT,
        cINT_EXTREF, cINT_T_EXT0, cINT_T_EXT1, cINT_G1, cINT_LIGHT_SFH, cINT_SDCARD, cINT_P_OFS,
        cINT_MAX31855, cINT_CHX, cINT_MAX44009
    };

    static constexpr int ChannelCount = 15; // device channels 0 ... 14, one limit entry each

    std::uint8_t STATE = 0;
    bool VALID_DIFFTIME = false;
    std::int32_t DIFFTIME = 0;
    double REC_STARTTIME = 0.0, REC_STOPTIME = 0.0;
    std::uint8_t REC_STARTMODE = 0, REC_STOPMODE = 0, REC_CTRL = 0, REC_OPT = 0;
    std::uint16_t REC_PAGE = 0, START_PAGE = 0, STOP_PAGE = 0;
    std::uint8_t MARKER_CFG = 0, MARKER_OPT = 0;
    std::array<std::uint8_t, 16> TASK{};   // measuring task table
    std::array<std::uint32_t, 8> TMR{};    // task timers in units of 1/512 s
    std::uint16_t CH_MASK = 0, CH_MASK2 = 0;
    std::array<std::int16_t, ChannelCount> CH{};
    std::array<bool, ChannelCount> CH_EN{};
    std::array<bool, ChannelCount> CH_ONL{};
    std::array<std::uint8_t, ChannelCount> CH_DEVICE{};
    TEnumSet<TIntCfg> INT_CFG;
    std::string NAME;
    std::string CAL_INFO;
    double CAL_DATE = 0.0;
    std::uint8_t LIMITS_MODE = 0;
    std::uint16_t ACCU = 0;
    std::uint8_t RTC = 0; // non-zero: the extended clock
    // Angle calibration readings of the X and Z axes at 0° and 90°.
    std::int16_t X0S = 0, Z0S = 0, X90S = 0, Z90S = 0, X0N = 0, Z0N = 0, X90N = 0, Z90N = 0;
    float ANGLE_LIMIT1 = 0.0f, ANGLE_LIMIT2 = 0.0f;

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
    using TQEL::GetChValue;

    bool LimitExists() const { return false; }
    bool MarkerExists() const { return false; }
    bool RecInputExists() const { return false; }
    bool IsExtendedRTC() const { return RTC != 0; }
    bool MarkerOptionExists() const;
    bool isAngleLimits() const;
    virtual bool IsSDCard() const;
    bool IsGlobalLimit() const;
    bool AreLimitsForAllChannel() const;

protected:
    // The channel scheme of the built-in channels 0 ... 15; the external
    // channels of the later generations answer before it.
    virtual std::string FscName() const;
    static std::string BuiltInName(std::uint32_t ch, const std::string& fscName);
    static std::string BuiltInUnit(std::uint32_t ch);
    static float BuiltInValue(std::uint32_t ch, std::int16_t x);
    static const char* BuiltInPattern(std::uint32_t ch); // nullptr: general format
};

// Kind of sensor behind an external channel.
enum TQel57SensorKind : std::uint8_t {
    cSENS_NONE = 0,
    cSENS_RH = 1,        // humidity
    cSENS_T_RH = 2,      // temperature of a humidity sensor
    cSENS_T = 3,         // temperature
    cSENS_P = 4,         // pressure (QEL57c)
    cSENS_T_P = 5        // temperature of a pressure sensor (QEL57c)
};

struct TQel57ExtChannel {
    TQel57SensorKind kind = cSENS_NONE;
    std::uint16_t sn = 0;  // serial number of the sensor
    std::int16_t value = 0; // last raw reading
};

// Second generation: external channels 16 ... 39.
class TQEL57b : public TQEL57 {
public:
    static const TQelClassInfo ClassInfo;

    static constexpr std::uint32_t FirstExtChannel = 16;

    // Entry n is channel 16 + n; this generation uses channels up to LastExtChannel().
    std::array<TQel57ExtChannel, 40> CHANNEL_EXT{};

    std::string GetChName(std::uint32_t ch) const override;
    std::string GetChUnit(std::uint32_t ch) const override;
    float GetChValue(std::uint32_t chn) const override;
    float CalcChValue(std::uint32_t chn, std::int16_t x) const override;
    std::string GetValueStr(std::uint32_t ch, float value) const override;
    bool IsKnownVersion(std::uint16_t ModulClass, std::uint16_t ModulVersion) const override;
    using TQEL::GetChValue;

    bool IsSDCard() const override;
    bool isValidExtChannel(std::uint32_t ch) const;
    // Records the sensor the page decoder met on channel ch.
    virtual void setExtSensSN(std::uint32_t ch, std::uint16_t sn);

protected:
    virtual std::uint32_t LastExtChannel() const { return 39; }
    virtual TQel57SensorKind LastKind() const { return cSENS_T; }
    // Channels read in whole units: none in this generation.
    virtual bool IsWholeUnitChannel(std::uint32_t) const { return false; }
    bool IsExtChannel(std::uint32_t ch) const { return ch >= FirstExtChannel && ch <= LastExtChannel(); }
    const TQel57ExtChannel& ExtEntry(std::uint32_t ch) const { return CHANNEL_EXT[ch - FirstExtChannel]; }
    TQel57ExtChannel& ExtEntry(std::uint32_t ch) { return CHANNEL_EXT[ch - FirstExtChannel]; }
};

// Configuration records of the third generation; nothing in this program reads them.
struct TDBus {
    std::uint8_t node_dest = 0, node_source = 0, order_amount = 0;
    std::array<std::uint8_t, 32> orders{};
};

struct TRH {
    std::uint8_t ctrl = 0;
    std::uint16_t L_Rate = 0, CH_Mask = 0;
    float fGrad_Akt_Grad = 0.0f, fGrad_Akt_Deakt_Sch = 0.0f;
    std::uint16_t Grad_MAX_NB_Values = 0;
    float fTH_Act_TH = 0.0f, fTH_Deact_TH = 0.0f;
};

struct TPressure {
    std::uint8_t CTRL_ALL = 0, CTRL_1 = 0, CTRL_2 = 0;
    std::uint16_t REC_NB_VALUES_1 = 0, REC_NB_VALUES_2 = 0;
    std::int16_t ACT_TH_1 = 0, ACT_GRAD_1 = 0, ACT_TH_2 = 0, ACT_GRAD_2 = 0;
    std::uint32_t SLOW_R = 0;
};

// Third generation: external channels 16 ... 55 with pressure sensors, and
// the measuring-task settings.
class TQEL57c : public TQEL57b {
public:
    static const TQelClassInfo ClassInfo;

    std::uint16_t wINT_CFG = 0; // internal configuration word
    TDBus DBus;
    TRH RH;
    TPressure Pressure;

    bool IsKnownVersion(std::uint16_t ModulClass, std::uint16_t ModulVersion) const override;
    void setExtSensSN(std::uint32_t ch, std::uint16_t sn) override;

    // Task table: timer rates and the task codes per measurement.
    void getMainTimerRate(std::uint8_t idx, std::uint8_t& h, std::uint8_t& m, std::uint8_t& s) const;
    void setMainTimerRate(std::uint8_t idx, std::uint8_t h, std::uint8_t m, std::uint8_t s);
    std::uint8_t getMTaskAcc() const;
    void setMTaskAcc(std::uint8_t rate);
    std::uint8_t getMTaskRH() const;
    void setMTaskRH(std::uint8_t rate);
    std::uint8_t getMTaskAngle() const;
    void setMTaskAngle(std::uint8_t rate);
    std::uint8_t getMTaskDBus() const;
    void setMTaskDBus(std::uint8_t rate);
    std::uint8_t getMTaskP() const;
    void setMTaskP(std::uint8_t rate);
    bool getMTaskLED() const;
    void setMTaskLED(std::uint8_t idx);
    void setMTaskBat();
    void startConfiguration();

protected:
    std::string FscName() const override;
    std::uint32_t LastExtChannel() const override { return 55; }
    TQel57SensorKind LastKind() const override { return cSENS_T_P; }
    bool IsWholeUnitChannel(std::uint32_t ch) const override { return ch >= 40 && ch <= 47; }
};

} // namespace qel
