// Tests that the models' value conversions never fail: over every channel and
// raw extremes, with calibrations that divide by zero, overflow or hold no
// number, a value is a number or NoValueMarker and a raw limit stays in range.
#include "loggers/qel25.h"
#include "loggers/qel57.h"
#include "loggers/qel629.h"
#include "loggers/qel629c.h"
#include "loggers/qel649.h"

#include "foundations/byte_helpers.h"
#include "foundations/model_identity.h"
#include "logger_test_env.h"

#include <cfloat>
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace qel {
namespace {

constexpr float Inf = std::numeric_limits<float>::infinity();
constexpr float NaN = std::numeric_limits<float>::quiet_NaN();

const std::int16_t Raws[] = {-32768, -1, 0, 1, 0x1FFF, 0x2000, 0x4000, 0x7FF0, 32767};

bool IsNumberOrNoValue(float value)
{
    return std::isfinite(value) || SingleBits(value) == NO_VALUE_BITS;
}

// Every channel of the logger answers within its contract; with
// finiteSettings the scaling of the channel is a number as well.
void ExpectSafeConversions(const TQEL& logger, bool finiteSettings, const std::string& setting)
{
    for (std::uint32_t ch = 0; ch < 72; ++ch) {
        for (std::int16_t raw : Raws) {
            EXPECT_TRUE(IsNumberOrNoValue(logger.CalcChValue(ch, raw))) << setting << " ch " << ch << " raw " << raw;
            EXPECT_TRUE(IsNumberOrNoValue(logger.GetLimitValue(ch, raw))) << setting << " ch " << ch << " raw " << raw;
        }
        for (float value : {0.0f, 1.0f, -1e30f, 1e30f, FLT_MAX, NaN, Inf, -Inf}) {
            const std::int16_t limit = logger.GetInvLimitValue(ch, value);
            EXPECT_TRUE(limit >= -32000 && limit <= 32000) << setting << " ch " << ch << " value " << value;
        }
        if (finiteSettings) {
            EXPECT_TRUE(std::isfinite(logger.getChGain(ch))) << setting << " ch " << ch;
            EXPECT_TRUE(std::isfinite(logger.getChOffset(ch))) << setting << " ch " << ch;
        }
    }
}

// Calibrations of every kind set to value, switched on; with coincide the
// measured points of each two-point calibration coincide.
void HostileCalibration(TQelTwoPointCal& cal, float value, bool coincide)
{
    cal.CAL_RH = cal.CAL_T = cal.CAL_T_RH = true;
    cal.CAL_RH_SET_LO = cal.CAL_T_SET_LO = 0.0f;
    cal.CAL_RH_SET_HI = cal.CAL_T_SET_HI = value;
    cal.CAL_RH_ACT_LO = cal.CAL_T_ACT_LO = 10.0f;
    cal.CAL_RH_ACT_HI = cal.CAL_T_ACT_HI = coincide ? 10.0f : value;
}

void HostileScaling(TQelAcc2GCal& acc, TQelUserInputs& inputs, float gain, float offset)
{
    acc.X2G_GAIN_USR = acc.Y2G_GAIN_USR = acc.Z2G_GAIN_USR = gain;
    acc.X2G_OFS_USR = acc.Y2G_OFS_USR = acc.Z2G_OFS_USR = offset;
    for (int input = 1; input <= 4; ++input) {
        inputs.SetUserInput(input, "", "", offset, gain);
    }
}

struct Scaling {
    float gain, offset;
    bool coincide;
    bool finite;
};

const Scaling Scalings[] = {
    {0.0f, 0.0f, true, true},           {FLT_MAX, FLT_MAX, false, true}, {-FLT_MAX, 1.0f, true, true},
    {1e-30f, -FLT_MAX, false, true},    {NaN, 0.0f, false, false},      {Inf, -Inf, true, false},
};

class ConversionFaultsTest : public LoggerTest {};

TEST_F(ConversionFaultsTest, Qel629InEveryMode)
{
    using T = TQEL629;
    const TEnumSet<T::TIntCfg> configs[] = {
        {},
        {T::cINT_MS_14BAR, T::cINT_T_DS620},
        {T::cINT_T_EXT0},
        {T::cINT_T_EXT1, T::cINT_MAX31855},
        {T::cINT_T_EXT0, T::cINT_T_EXT1},
        {T::cINT_MAX31855, T::cINT_CHX},
        {T::cINT_CHX},
    };
    for (const Scaling& s : Scalings) {
        for (const auto& config : configs) {
            for (std::uint8_t external : {0x00, 0x10, 0x20}) {
                T logger;
                logger.ID_CLASS = 0x6601;
                logger.ID_VER = MakeVersion(5, 120);
                logger.INT_CFG = config;
                logger.INT_CH_EXT = external;
                logger.EXT_PSENSOR = {true, 5, 34};
                logger.SMB_CFG.Include(T::cSMB_HIGH_G);
                HostileCalibration(logger, s.gain, s.coincide);
                HostileScaling(logger, logger, s.gain, s.offset);
                logger.X10G_GAIN_USR = logger.Y10G_GAIN_USR = logger.Z10G_GAIN_USR = s.gain;
                logger.X10G_OFS_USR = logger.Y10G_OFS_USR = logger.Z10G_OFS_USR = s.offset;
                ExpectSafeConversions(logger, s.finite,
                                      "629 gain " + std::to_string(s.gain) + " cfg " + std::to_string(config.Bits()) +
                                          " ext " + std::to_string(external));
            }
        }
    }
}

TEST_F(ConversionFaultsTest, Qel649AndQel25)
{
    for (const Scaling& s : Scalings) {
        for (bool bar14 : {false, true}) {
            TQEL649 qel649;
            qel649.ID_VER = MakeVersion(2, 36);
            qel649.EXT_PSENSOR = {bar14, 7, 0};
            if (bar14) {
                qel649.INT_CFG.Include(TQEL649::cINT_MS_14BAR);
            }
            HostileCalibration(qel649, s.gain, s.coincide);
            HostileScaling(qel649, qel649, s.gain, s.offset);
            ExpectSafeConversions(qel649, s.finite, "649 gain " + std::to_string(s.gain));

            TQEL25 qel25;
            if (bar14) {
                qel25.INT_CFG.Include(TQEL25::cINT_MS_14BAR);
            }
            HostileCalibration(qel25, s.gain, s.coincide);
            qel25.X2G_GAIN_USR = qel25.Y2G_GAIN_USR = qel25.Z2G_GAIN_USR = s.gain;
            qel25.X2G_OFS_USR = qel25.Y2G_OFS_USR = qel25.Z2G_OFS_USR = s.offset;
            for (TQELAnalogInput& input : qel25.AIN) {
                input.chGAIN = s.gain;
                input.chOFS = s.offset;
            }
            ExpectSafeConversions(qel25, s.finite, "25 gain " + std::to_string(s.gain));
        }
    }
}

TEST_F(ConversionFaultsTest, Qel57cAndQel629c)
{
    TQEL57c qel57c;
    for (std::uint32_t ch = 16; ch <= 47; ch += 8) {
        qel57c.setExtSensSN(ch, 1);
    }
    ExpectSafeConversions(qel57c, true, "57c");

    for (const Scaling& s : Scalings) {
        TQEL629C qel629c;
        qel629c.NewConfigChannels();
        for (int ch = 0; ch < TQEL629C::ConfigChannelCount; ++ch) {
            qel629c.Channels.GetItem(ch).Info.chID = static_cast<std::uint16_t>(ch % 19);
            qel629c.Channels.GetItem(ch).Info.dGain = s.gain;
            qel629c.Channels.GetItem(ch).Info.dOfs = s.offset;
        }
        ExpectSafeConversions(qel629c, true, "629c gain " + std::to_string(s.gain));
    }
}

} // namespace
} // namespace qel
