// Channel values of the QEL629 logger class: raw samples and raw limits to
// values and back, value ranges, display formats and linear scaling.
#include "loggers/qel629.h"

#include "foundations/byte_helpers.h"
#include "foundations/settings.h"
#include "loggers/value_format.h"
#include "loggers/value_math.h"

#include <algorithm>

namespace qel {

namespace {

constexpr float ThermoFault = -8000.0f; // value of a thermometer sample the sensor marked faulty

constexpr bool IsEvenChannel(std::uint32_t ch) { return ch % 2 == 0; }

} // namespace

bool TQEL629::ConvertSMB(std::int32_t& ret, std::int16_t inp)
{
    ret = SignedLowBits(RawBits(inp), 14);
    return (RawBits(inp) & 0x4000) != 0;
}

bool TQEL629::ConvertThermo(std::int32_t& ret, std::int16_t inp) const
{
    ret = -8000;
    const std::uint16_t bits = RawBits(inp);
    if (INT_CFG.Contains(cINT_MAX31855)) {
        if ((bits & 0x4000) != 0) {
            return false;
        }
        ret = SignedLowBits(bits, 14);
        return true;
    }
    if (bits == 0x82FF) {
        return false;
    }
    ret = bits & 0x0FFF;
    return true;
}

// The calibrations apply only to extended loggers with the flag on.
bool TQEL629::CalOnRH() const { return IsExtended() && CAL_RH; }
bool TQEL629::CalOnT() const { return IsExtended() && CAL_T; }
bool TQEL629::CalOnTRH() const { return IsExtended() && CAL_T_RH; }

float TQEL629::AccUserOffset(int axis, bool highG) const
{
    if (!highG) {
        return UserOffset2G(axis);
    }
    return axis == 0 ? X10G_OFS_USR : axis == 1 ? Y10G_OFS_USR : Z10G_OFS_USR;
}

float TQEL629::AccUserGain(int axis, bool highG) const
{
    if (!highG) {
        return UserGain2G(axis);
    }
    return axis == 0 ? X10G_GAIN_USR : axis == 1 ? Y10G_GAIN_USR : Z10G_GAIN_USR;
}

// Pressure sensor codes read in whole units, and in tenths.
bool TQEL629::IsWholePressureCode(std::uint8_t code) const
{
    return code == 1 || code == 3 || code == 33;
}

bool TQEL629::IsTenthPressureCode(std::uint8_t code) const
{
    return code == 0 || code == 2 || code == 4 || (code >= 32 && code <= 36 && code != 33);
}

// A sensor code outside both lists has no defined scaling: its value is the raw number.
double TQEL629::Channel0Value(std::int16_t x) const
{
    if (isExtendedPSensor()) {
        return IsTenthPressureCode(EXT_PSENSOR.INT_PINT) ? x / 10.0 : static_cast<double>(x);
    }
    return INT_CFG.Contains(cINT_MS_14BAR) ? static_cast<double>(x) : x / 10.0;
}

double TQEL629::Channel0Gain() const
{
    if (isExtendedPSensor()) {
        return IsTenthPressureCode(EXT_PSENSOR.INT_PINT) ? 0.1 : 1.0;
    }
    return INT_CFG.Contains(cINT_MS_14BAR) ? 1.0 : 0.1;
}

double TQEL629::ExtPressureValue(std::int16_t x) const
{
    if (isExtendedPSensor() && IsTenthPressureCode(EXT_PSENSOR.INT_PEXT)) {
        return x / 10.0;
    }
    return x;
}

double TQEL629::ExtPressureGain() const
{
    return isExtendedPSensor() && IsTenthPressureCode(EXT_PSENSOR.INT_PEXT) ? 0.1 : 1.0;
}

double TQEL629::ExtThermoValue(std::int16_t x) const
{
    if (INT_CFG.Contains(cINT_MAX31855)) {
        std::int32_t converted = 0;
        return ConvertThermo(converted, x) ? converted / 4.0 : ThermoFault;
    }
    return SignedLowBits(RawBits(x), 13) * 0.0625;
}

float TQEL629::Channel7Value(std::int16_t x) const
{
    const std::uint16_t bits = RawBits(x);
    std::int32_t converted = 0;
    switch (GetTMode()) {
    case cT_LIGHT:
        return ValueOrNoValue(CalT(CalOnT(), RoundToSingle(x * 4.0)));
    case cT_THERMO1:
    case cT_THERMO4:
        if (!ConvertThermo(converted, x)) {
            return ThermoFault;
        }
        return ValueOrNoValue(CalT(CalOnT(), RoundToSingle(converted / 4.0)));
    default:
        break;
    }
    if (INT_CFG.Contains(cINT_MAX31855)) {
        return ConvertThermo(converted, x) ? RoundToSingle(converted / 4.0) : ThermoFault;
    }
    if ((bits & 0x4000) != 0) {
        return ValueOrNoValue(CalT(CalOnT(), RoundToSingle(SignedLowBits(bits, 13) * 0.0625)));
    }
    if ((bits & 0x2000) != 0) {
        return NoValueMarker();
    }
    return ValueOrNoValue(CalT(CalOnT(), RoundToSingle((bits & 0x7FF) / 2047.0 * 70.0 - 10.0)));
}

float TQEL629::Channel7Limit(std::int16_t x) const
{
    const TT_MODE mode = GetTMode();
    double value = 0.0;
    if (mode == cT_LIGHT) {
        value = x * 4.0;
    } else if (mode == cT_THERMO1 || mode == cT_THERMO4 || INT_CFG.Contains(cINT_MAX31855)) {
        value = x / 4.0;
    } else if (INT_CFG.Contains(cINT_T_DS620)) {
        value = x * 0.0625;
    } else {
        value = x / 2047.0 * 70.0 - 10.0;
    }
    return ValueOrNoValue(CalT(CalOnT(), RoundToSingle(value)));
}

double TQEL629::Channel7Gain() const
{
    const TT_MODE mode = GetTMode();
    double gain = 0.0;
    if (mode == cT_LIGHT) {
        gain = 4.0;
    } else if (mode == cT_THERMO1 || mode == cT_THERMO4) {
        gain = 0.25;
    } else if (INT_CFG.Contains(cINT_T_DS620)) {
        gain = 0.0625;
    } else {
        gain = RoundToSingle(70.0 / 2047.0);
    }
    return gain * GainT(CalOnT());
}

// The raw scaling's offset carried through the calibration: value =
// calGain × (raw × gain + offset) + calOffset.
double TQEL629::Channel7Offset() const
{
    const TT_MODE mode = GetTMode();
    const bool noOffset = mode == cT_LIGHT || mode == cT_THERMO1 || mode == cT_THERMO4 ||
                          INT_CFG.Contains(cINT_T_DS620);
    const double offset = noOffset ? 0.0 : -10.0;
    if (!CalOnT()) {
        return offset;
    }
    return offset * GainT(true) + OffsetT(true);
}

float TQEL629::CalcChValue(std::uint32_t chn, std::int16_t x) const
{
    const double r = x;
    std::int32_t converted = 0;
    switch (chn) {
    case 0: return ValueOrNoValue(Channel0Value(x));
    case 1: return ValueOrNoValue(r / 10.0);
    case 2:
    case 3:
    case 4: {
        const int axis = static_cast<int>(chn) - 2;
        const bool highG = ConvertSMB(converted, x);
        return ValueOrNoValue(converted * static_cast<double>(AccUserGain(axis, highG)) + AccUserOffset(axis, highG));
    }
    case 5: {
        const float value = CalRH(CalOnRH(), RoundToSingle(r / 100.0));
        if (!IsSingleRange(value)) {
            return NoValueMarker();
        }
        return std::clamp(value, 0.0f, 100.0f);
    }
    case 6: return ValueOrNoValue(CalT(CalOnTRH(), RoundToSingle(r / 100.0)));
    case 7: return Channel7Value(x);
    case 9: return ValueOrNoValue(r * A1_GAIN_USR + A1_OFS_USR);
    case 10:
    case 11:
    case 12: {
        if (isThermoChannel(chn)) {
            return ConvertThermo(converted, x) ? RoundToSingle(converted / 4.0) : ThermoFault;
        }
        const int input = static_cast<int>(chn) - 8;
        return ValueOrNoValue(r * InputGain(input) + InputOffset(input));
    }
    case 14: return ValueOrNoValue(r * 2.0 / 4095.0 * 3.0);
    default: break;
    }
    if (chn >= 16 && chn <= 23) {
        switch (GetExtentedChannelMode()) {
        case cCHX_P: return ValueOrNoValue(IsEvenChannel(chn) ? ExtPressureValue(x) : r / 10.0);
        case cCHX_RH: return ValueOrNoValue(r / 100.0);
        case cCHX_T:
            if (chn <= 19) {
                return ValueOrNoValue(ExtThermoValue(x));
            }
            break;
        default: break;
        }
    }
    return static_cast<float>(x);
}

float TQEL629::GetLimitValue(std::uint32_t ch, std::int16_t x) const
{
    const double r = x;
    switch (ch) {
    case 2:
    case 3:
    case 4: {
        const int axis = static_cast<int>(ch) - 2;
        const bool highG = SMB_CFG.Contains(cSMB_HIGH_G);
        return ValueOrNoValue(r * AccUserGain(axis, highG) + AccUserOffset(axis, highG));
    }
    case 5: return ValueOrNoValue(CalRH(CalOnRH(), RoundToSingle(r / 100.0)));
    case 7: return Channel7Limit(x);
    case 10:
    case 11:
    case 12:
        if (isThermoChannel(ch)) {
            return ValueOrNoValue(r / 4.0);
        }
        break;
    default: break;
    }
    if (ch >= 16 && ch <= 23 && GetExtentedChannelMode() == cCHX_T) {
        if (ch > 19) {
            return static_cast<float>(x);
        }
        return ValueOrNoValue(INT_CFG.Contains(cINT_MAX31855) ? r / 4.0 : r * 0.0625);
    }
    return CalcChValue(ch, x);
}

double TQEL629::InvPressure(std::uint8_t code, float y) const
{
    if (IsWholePressureCode(code)) {
        return y;
    }
    return IsTenthPressureCode(code) ? y * 10.0 : 0.0;
}

std::int16_t TQEL629::GetInvLimitValue(std::uint32_t ch, float y) const
{
    double raw = 0.0;
    switch (ch) {
    case 0:
        if (isExtendedPSensor()) {
            raw = InvPressure(EXT_PSENSOR.INT_PINT, y);
        } else {
            raw = INT_CFG.Contains(cINT_MS_14BAR) ? y : y * 10.0;
        }
        return RawLimitOrZero(raw);
    case 1: return RawLimitOrZero(y * 10.0);
    case 2:
    case 3:
    case 4: {
        const int axis = static_cast<int>(ch) - 2;
        const bool highG = SMB_CFG.Contains(cSMB_HIGH_G);
        return RawLimitOrZero(CalcX(y, AccUserOffset(axis, highG), AccUserGain(axis, highG)));
    }
    case 5: return RawLimitOrZero(InvCalRH(CalOnRH(), y) * 100.0);
    case 6: return RawLimitOrZero(InvCalT(CalOnTRH(), y) * 100.0);
    case 7: {
        const TT_MODE mode = GetTMode();
        if (mode == cT_LIGHT) {
            return RawLimitOrZero(y / 4.0);
        }
        if (mode == cT_THERMO1 || mode == cT_THERMO4 || INT_CFG.Contains(cINT_MAX31855)) {
            return RawLimitOrZero(y * 4.0);
        }
        const double value = InvCalT(CalOnT(), y);
        return RawLimitOrZero(INT_CFG.Contains(cINT_T_DS620) ? value / 0.0625 : (value + 10.0) * 2047.0 / 70.0);
    }
    case 9:
    case 10:
    case 11:
    case 12: {
        if (isThermoChannel(ch)) {
            return RawLimitOrZero(y * 4.0);
        }
        const int input = static_cast<int>(ch) - 8;
        return RawLimitOrZero((static_cast<double>(y) - InputOffset(input)) / InputGain(input));
    }
    case 14: return RawLimitOrZero(y * 4095.0 / 6.0);
    default: break;
    }
    if (ch >= 16 && ch <= 23) {
        switch (GetExtentedChannelMode()) {
        case cCHX_P:
            if (!IsEvenChannel(ch)) {
                return RawLimitOrZero(y * 10.0);
            }
            return RawLimitOrZero(isExtendedPSensor() ? InvPressure(EXT_PSENSOR.INT_PEXT, y) : y);
        case cCHX_RH: return RawLimitOrZero(y * 100.0);
        case cCHX_T:
            if (ch <= 19) {
                return RawLimitOrZero(INT_CFG.Contains(cINT_MAX31855) ? y * 4.0 : y / 0.0625);
            }
            break;
        default: break;
        }
    }
    return 0;
}

float TQEL629::getChGain(std::uint32_t ch) const
{
    switch (ch) {
    case 0: return GainOrOne(Channel0Gain());
    case 1: return 0.1f;
    case 2:
    case 3:
    case 4: return AccUserGain(static_cast<int>(ch) - 2, SMB_CFG.Contains(cSMB_HIGH_G));
    case 5: return GainOrOne(0.01 * GainRH(CalOnRH()));
    case 6: return GainOrOne(0.01 * GainT(CalOnTRH()));
    case 7: return GainOrOne(Channel7Gain());
    case 9:
    case 10:
    case 11:
    case 12: return isThermoChannel(ch) ? 0.25f : InputGain(static_cast<int>(ch) - 8);
    case 14: return RoundToSingle(6.0 / 4095.0);
    default: break;
    }
    if (ch >= 16 && ch <= 23) {
        switch (GetExtentedChannelMode()) {
        case cCHX_P: return IsEvenChannel(ch) ? static_cast<float>(ExtPressureGain()) : 0.1f;
        case cCHX_RH: return 0.01f;
        case cCHX_T: return ch <= 19 ? 0.0625f : 1.0f;
        default: break;
        }
    }
    return 1.0f;
}

float TQEL629::getChOffset(std::uint32_t ch) const
{
    switch (ch) {
    case 2:
    case 3:
    case 4: return AccUserOffset(static_cast<int>(ch) - 2, SMB_CFG.Contains(cSMB_HIGH_G));
    case 5: return OffsetOrZero(OffsetRH(CalOnRH()));
    case 6: return OffsetOrZero(OffsetT(CalOnTRH()));
    case 7: return OffsetOrZero(Channel7Offset());
    case 9:
    case 10:
    case 11:
    case 12: return isThermoChannel(ch) ? 0.0f : InputOffset(static_cast<int>(ch) - 8);
    default: return 0.0f;
    }
}

bool TQEL629::IsValidValue(std::uint32_t ch, float value) const
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
    case 4: return within(-20.0f, 20.0f);
    case 5: return within(-5.0f, 105.0f);
    case 6: return within(-40.0f, 123.8f);
    case 7: {
        const TT_MODE mode = GetTMode();
        if (mode == cT_LIGHT || mode == cT_THERMO1 || mode == cT_THERMO4) {
            return true;
        }
        return INT_CFG.Contains(cINT_T_DS620) ? within(-55.0f, 125.0f) : within(-15.0f, 60.0f);
    }
    case 14: return within(0.0f, 10.0f);
    default: return true;
    }
}

std::string TQEL629::GetValueStr(std::uint32_t ch, float value) const
{
    const auto pattern = [value](const char* text) { return FormatWithPattern(text, value); };
    switch (ch) {
    case 0:
        if (isExtendedPSensor()) {
            const std::uint8_t code = EXT_PSENSOR.INT_PINT;
            if (IsWholePressureCode(code)) {
                return pattern("0");
            }
            return IsTenthPressureCode(code) ? pattern("0.0") : "";
        }
        return pattern(INT_CFG.Contains(cINT_MS_14BAR) ? "0" : "0.0");
    case 1:
    case 5:
    case 6: return pattern("0.0");
    case 2:
    case 3:
    case 4: return pattern("0.000");
    case 7: {
        const TT_MODE mode = GetTMode();
        if (mode == cT_LIGHT) {
            return pattern("0");
        }
        return pattern(mode == cT_THERMO1 || mode == cT_THERMO4 ? "0.00" : "0.0");
    }
    case 8: return pattern("0");
    case 9:
    case 10:
    case 11:
    case 12:
        if (isThermoChannel(ch)) {
            return pattern("0.00");
        }
        return pattern(AnalogFormatPattern(InputFormat(static_cast<int>(ch) - 8)));
    case 14: return pattern("0.00");
    default: break;
    }
    if (ch >= 16 && ch <= 23) {
        switch (GetExtentedChannelMode()) {
        case cCHX_P: {
            if (!IsEvenChannel(ch)) {
                return pattern("0.0");
            }
            if (!isExtendedPSensor()) {
                return pattern("0");
            }
            const std::uint8_t code = EXT_PSENSOR.INT_PEXT;
            if (IsWholePressureCode(code)) {
                return pattern("0");
            }
            return IsTenthPressureCode(code) ? pattern("0.0") : FormatGeneral(value);
        }
        case cCHX_RH: return pattern("0.0");
        case cCHX_T:
            if (ch <= 19) {
                return pattern("0.0");
            }
            break;
        default: break;
        }
    }
    return FormatGeneral(value);
}

} // namespace qel
