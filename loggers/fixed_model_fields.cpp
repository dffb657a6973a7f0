// Field groups shared by the fixed-channel models: calibration switches,
// user inputs, the accelerometer's user pairs and current-value texts.
#include "loggers/fixed_model_fields.h"

#include "loggers/qel_base.h"
#include "loggers/value_math.h"

namespace qel {

void TQelTwoPointCal::CheckCalMode()
{
    if (CAL_RH && (CAL_RH_SET_LO == CAL_RH_SET_HI || CAL_RH_ACT_LO == CAL_RH_ACT_HI)) {
        CAL_RH = false;
    }
    if ((CAL_T || CAL_T_RH) && (CAL_T_SET_LO == CAL_T_SET_HI || CAL_T_ACT_LO == CAL_T_ACT_HI)) {
        CAL_T = false;
        CAL_T_RH = false;
    }
}

float TQelTwoPointCal::CalRH(bool on, float value) const
{
    return on ? TQEL::CalcY(value, CAL_RH_ACT_LO, CAL_RH_SET_LO, CAL_RH_ACT_HI, CAL_RH_SET_HI) : value;
}

float TQelTwoPointCal::CalT(bool on, float value) const
{
    return on ? TQEL::CalcY(value, CAL_T_ACT_LO, CAL_T_SET_LO, CAL_T_ACT_HI, CAL_T_SET_HI) : value;
}

float TQelTwoPointCal::InvCalRH(bool on, float value) const
{
    return on ? TQEL::CalcX(value, CAL_RH_ACT_LO, CAL_RH_SET_LO, CAL_RH_ACT_HI, CAL_RH_SET_HI) : value;
}

float TQelTwoPointCal::InvCalT(bool on, float value) const
{
    return on ? TQEL::CalcX(value, CAL_T_ACT_LO, CAL_T_SET_LO, CAL_T_ACT_HI, CAL_T_SET_HI) : value;
}

float TQelTwoPointCal::GainRH(bool on) const
{
    return on ? TQEL::getGain(CAL_RH_ACT_LO, CAL_RH_SET_LO, CAL_RH_ACT_HI, CAL_RH_SET_HI) : 1.0f;
}

float TQelTwoPointCal::OffsetRH(bool on) const
{
    return on ? TQEL::getOfs(CAL_RH_ACT_LO, CAL_RH_SET_LO, CAL_RH_ACT_HI, CAL_RH_SET_HI) : 0.0f;
}

float TQelTwoPointCal::GainT(bool on) const
{
    return on ? TQEL::getGain(CAL_T_ACT_LO, CAL_T_SET_LO, CAL_T_ACT_HI, CAL_T_SET_HI) : 1.0f;
}

float TQelTwoPointCal::OffsetT(bool on) const
{
    return on ? TQEL::getOfs(CAL_T_ACT_LO, CAL_T_SET_LO, CAL_T_ACT_HI, CAL_T_SET_HI) : 0.0f;
}

void TQelUserInputs::SetUserInput(int n, const std::string& name, const std::string& unit, float offset,
                                  float gain)
{
    std::string* names[4] = {&A1_NAME_USR, &A2_NAME_USR, &A3_NAME_USR, &A4_NAME_USR};
    std::string* units[4] = {&A1_UNIT_USR, &A2_UNIT_USR, &A3_UNIT_USR, &A4_UNIT_USR};
    float* offsets[4] = {&A1_OFS_USR, &A2_OFS_USR, &A3_OFS_USR, &A4_OFS_USR};
    float* gains[4] = {&A1_GAIN_USR, &A2_GAIN_USR, &A3_GAIN_USR, &A4_GAIN_USR};
    if (n < 1 || n > 4) {
        return;
    }
    const int i = n - 1;
    *names[i] = name;
    *units[i] = unit;
    *offsets[i] = offset;
    *gains[i] = gain;
}

const std::string& TQelUserInputs::InputName(int n) const
{
    switch (n) {
    case 1: return A1_NAME_USR;
    case 2: return A2_NAME_USR;
    case 3: return A3_NAME_USR;
    default: return A4_NAME_USR;
    }
}

const std::string& TQelUserInputs::InputUnit(int n) const
{
    switch (n) {
    case 1: return A1_UNIT_USR;
    case 2: return A2_UNIT_USR;
    case 3: return A3_UNIT_USR;
    default: return A4_UNIT_USR;
    }
}

float TQelUserInputs::InputOffset(int n) const
{
    switch (n) {
    case 1: return A1_OFS_USR;
    case 2: return A2_OFS_USR;
    case 3: return A3_OFS_USR;
    default: return A4_OFS_USR;
    }
}

float TQelUserInputs::InputGain(int n) const
{
    switch (n) {
    case 1: return A1_GAIN_USR;
    case 2: return A2_GAIN_USR;
    case 3: return A3_GAIN_USR;
    default: return A4_GAIN_USR;
    }
}

std::uint8_t TQelUserInputs::InputFormat(int n) const
{
    switch (n) {
    case 1: return A1_FMT;
    case 2: return A2_FMT;
    case 3: return A3_FMT;
    default: return A4_FMT;
    }
}

bool BurstChannelValue(const TQEL& logger, std::uint32_t chn, std::span<const std::int16_t> readings, bool isAxis,
                       float& value, std::string& text)
{
    value = 0.0f;
    text.assign(1, '?');
    if (chn >= readings.size() || logger.GetChName(chn).empty()) {
        return false;
    }
    if (readings[chn] == ShockModeReading) {
        if (isAxis) {
            text = "shock mode";
        }
        return false;
    }
    value = logger.GetChValue(chn);
    if (!logger.IsValidValue(chn, value)) {
        return false;
    }
    text = logger.GetValueStr(chn, value);
    text += ' ';
    text += logger.GetChUnit(chn);
    return true;
}

float TQelAcc2GCal::UserOffset2G(int axis) const
{
    return axis == 0 ? X2G_OFS_USR : axis == 1 ? Y2G_OFS_USR : Z2G_OFS_USR;
}

float TQelAcc2GCal::UserGain2G(int axis) const
{
    return axis == 0 ? X2G_GAIN_USR : axis == 1 ? Y2G_GAIN_USR : Z2G_GAIN_USR;
}

} // namespace qel
