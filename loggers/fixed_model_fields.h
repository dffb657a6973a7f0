// Field groups that the fixed-channel models (QEL629, QEL649, QEL25, QEL57)
// share, with the logic that is the same in each of them.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace qel {

class TQEL;

// Limit of one device channel as the page decoder found it.
struct TQelLimit {
    bool READ = false;      // the entry was read from the card
    std::uint8_t RL = 0;    // recording-limit condition
    std::uint8_t AL = 0;    // alarm-limit condition
    float VALUE1 = 0.0f;    // the two limit values
    float VALUE2 = 0.0f;
};

template <std::size_t N>
using TQelLimits = std::array<TQelLimit, N>;

// Limits of the device channels 0 ... N-1 as the page decoders found them.
template <std::size_t N>
struct TQelLimitTable {
    TQelLimits<N> LIMITS{};

    // Sets the entry of ch; a channel beyond the table is ignored.
    void SetLimit(std::uint32_t ch, std::uint8_t AL, std::uint8_t RL, float Limit1, float Limit2)
    {
        if (ch < N) {
            LIMITS[ch] = TQelLimit{true, RL, AL, Limit1, Limit2};
        }
    }

    // Marks every entry unread; the other fields stay.
    void ClearLimits()
    {
        for (TQelLimit& limit : LIMITS) {
            limit.READ = false;
        }
    }
};

// Two-point calibrations of humidity and temperature: reference ("set") and
// measured ("actual") values at a low and a high point. The temperature
// points serve both CAL_T and CAL_T_RH.
struct TQelTwoPointCal {
    bool CAL_RH = false;
    bool CAL_T_RH = false;
    bool CAL_T = false;
    float CAL_RH_SET_LO = 0.0f;
    float CAL_RH_ACT_LO = 0.0f;
    float CAL_RH_SET_HI = 0.0f;
    float CAL_RH_ACT_HI = 0.0f;
    float CAL_T_SET_LO = 0.0f;
    float CAL_T_ACT_LO = 0.0f;
    float CAL_T_SET_HI = 0.0f;
    float CAL_T_ACT_HI = 0.0f;

    // Switches off a calibration whose two points coincide (it would divide by zero).
    void CheckCalMode();

    // The calibration applied to a value, or its inverse; on is the switch
    // that governs it for the channel at hand.
    float CalRH(bool on, float value) const;
    float CalT(bool on, float value) const;
    float InvCalRH(bool on, float value) const;
    float InvCalT(bool on, float value) const;
    // Slope and intercept of a calibration: 1 and 0 when it is off.
    float GainRH(bool on) const;
    float OffsetRH(bool on) const;
    float GainT(bool on) const;
    float OffsetT(bool on) const;
};

// User scaling of the four analog inputs (input n = 1 ... 4).
struct TQelUserInputs {
    std::string A1_NAME_USR, A2_NAME_USR;
    float A1_OFS_USR = 0.0f, A1_GAIN_USR = 0.0f, A2_OFS_USR = 0.0f, A2_GAIN_USR = 0.0f;
    std::string A1_UNIT_USR, A2_UNIT_USR;
    std::uint8_t A1_FMT = 0, A2_FMT = 0;
    std::string A3_NAME_USR, A4_NAME_USR;
    float A3_OFS_USR = 0.0f, A3_GAIN_USR = 0.0f, A4_OFS_USR = 0.0f, A4_GAIN_USR = 0.0f;
    std::string A3_UNIT_USR, A4_UNIT_USR;
    std::uint8_t A3_FMT = 0, A4_FMT = 0;
    std::uint16_t AIN_PRETIME = 0;

    void SetUserInput(int n, const std::string& name, const std::string& unit, float offset, float gain);
    const std::string& InputName(int n) const;
    const std::string& InputUnit(int n) const;
    float InputOffset(int n) const;
    float InputGain(int n) const;
    std::uint8_t InputFormat(int n) const;
};

// Factory and user calibration of the accelerometer's ±2 g range, offset and
// gain per axis (axis 0 = X, 1 = Y, 2 = Z); the conversions use the user pair.
struct TQelAcc2GCal {
    float X2G_OFS_INT = 0.0f, X2G_GAIN_INT = 0.0f, Y2G_OFS_INT = 0.0f, Y2G_GAIN_INT = 0.0f;
    float Z2G_OFS_INT = 0.0f, Z2G_GAIN_INT = 0.0f;
    float X2G_OFS_USR = 0.0f, X2G_GAIN_USR = 0.0f, Y2G_OFS_USR = 0.0f, Y2G_GAIN_USR = 0.0f;
    float Z2G_OFS_USR = 0.0f, Z2G_GAIN_USR = 0.0f;

    float UserOffset2G(int axis) const;
    float UserGain2G(int axis) const;
};

// Raw gap value of the burst-recording models (QEL649, QEL25) on their gap channels.
inline constexpr std::int16_t BurstGapValue = 0x7FF0;

// Reading of an accelerometer axis of the burst-recording models that records bursts.
inline constexpr std::int16_t ShockModeReading = 32002;

// A recording-timer word holds a time: neither 0 nor 0xFFFF.
constexpr bool IsTimerWordSet(std::uint16_t word)
{
    return word != 0 && word != 0xFFFF;
}

// The current value of channel chn of a burst-recording model and its text:
// the value, a blank and the unit. False, with the text "?", for a channel
// without a name or a stored reading and for a value out of its range; an
// axis (isAxis) whose reading is ShockModeReading has the text "shock mode".
bool BurstChannelValue(const TQEL& logger, std::uint32_t chn, std::span<const std::int16_t> readings, bool isAxis,
                       float& value, std::string& text);

// Pressure sensor block of the configuration.
struct TQelExtPSensor {
    bool bValid = false;
    std::uint8_t INT_PINT = 0; // code of the internal pressure sensor
    std::uint8_t INT_PEXT = 0; // code of the external pressure sensors
};

} // namespace qel
