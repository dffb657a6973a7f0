// Tests of the logger base class: neutral answers, calibration routines,
// version text and the logger list.
#include "loggers/qel_base.h"

#include "foundations/byte_helpers.h"
#include "platform/object_list.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qel {
namespace {

TEST(QelBase, BaseClassAnswersNeutrally)
{
    TQEL logger;
    float value = 5.0f;
    std::string text = "x";
    EXPECT_EQ(logger.getChID(0), 0x3FFF);
    EXPECT_EQ(logger.GetChName(3), "?");
    EXPECT_EQ(logger.GetChUnit(3), "?");
    EXPECT_EQ(logger.GetChValue(3), 0.0f);
    EXPECT_EQ(logger.CalcChValue(3, -1234), -1234.0f);
    EXPECT_FALSE(logger.GetChValue(3, value, text));
    EXPECT_EQ(value, 0.0f);
    EXPECT_EQ(text, "?");
    EXPECT_FALSE(logger.IsValidValue(0, 1.0f));
    EXPECT_EQ(logger.GetValueStr(0, 1.0f), "?");
    EXPECT_EQ(logger.GetInvLimitValue(0, 1.0f), 0);
    EXPECT_EQ(logger.GetLimitValue(0, 100), 0.0f);
    EXPECT_EQ(logger.GetName(), "?");
    EXPECT_FALSE(logger.IsGAPValue(0, 0x7FF0));
    EXPECT_FALSE(logger.hasUTC());
    EXPECT_EQ(logger.getChGain(0), 1.0f);
    EXPECT_EQ(logger.getChOffset(0), 0.0f);
    EXPECT_EQ(logger.MEMORY, nullptr);
}

TEST(QelBase, BaseClassKnowsNoVersion)
{
    TQEL logger;
    for (std::uint16_t code : {0x0000, 0x6601, 0x6606, 0x661D, 0x6628, 0xFFFF}) {
        for (std::uint16_t version : {0x0000, 0x0100, 0x0500, 0x0600, 0xFFFF}) {
            EXPECT_FALSE(logger.IsKnownVersion(code, version)) << std::hex << code << " " << version;
        }
    }
}

TEST(QelBase, VersionText)
{
    const std::pair<std::uint16_t, const char*> cases[] = {
        {0x0000, "0.00"}, {0x0106, "1.06"}, {0x0200, "2.00"}, {0x0588, "5.136"},
        {0x0A0A, "10.10"}, {0x01FF, "1.255"}, {0xFF09, "255.09"},
    };
    for (const auto& [version, text] : cases) {
        EXPECT_EQ(VersionToStr(version), text) << std::hex << version;
    }
}

TEST(QelBase, LineThroughTwoPoints)
{
    EXPECT_EQ(TQEL::getGain(0, 0, 0, 0), 1.0f);
    EXPECT_EQ(TQEL::getOfs(0, 0, 0, 0), 0.0f);
    EXPECT_EQ(TQEL::getGain(1, 3, 2, 5), 2.0f);
    EXPECT_EQ(TQEL::getOfs(1, 3, 2, 5), 1.0f);
    EXPECT_EQ(TQEL::getGain(10, 20, 20, 40), 2.0f);
    EXPECT_EQ(TQEL::getOfs(10, 20, 20, 40), 0.0f);
}

TEST(QelBase, TwoPointCalibrationAndInverse)
{
    EXPECT_EQ(TQEL::CalcY(5.0f, 0, 0, 0, 0), 5.0f);
    EXPECT_EQ(TQEL::CalcX(5.0f, 0, 0, 0, 0), 5.0f);
    EXPECT_EQ(TQEL::CalcY(5.0f, 10, 20, 20, 40), 10.0f);
    EXPECT_EQ(TQEL::CalcX(10.0f, 10, 20, 20, 40), 5.0f);
    // Measured 1 and 3 are the references 0 and 4: gain 2, offset -2.
    EXPECT_EQ(TQEL::CalcY(2.0f, 1, 0, 3, 4), 2.0f);
    EXPECT_EQ(TQEL::CalcX(TQEL::CalcY(2.5f, 1, 0, 3, 4), 1, 0, 3, 4), 2.5f);
}

TEST(QelBase, LinearScaling)
{
    EXPECT_EQ(TQEL::CalcY(std::int16_t{-100}, 1.5f, 0.5f), -48.5f);
    EXPECT_EQ(TQEL::CalcY(3.0f, 1.0f, 2.0f), 7.0f);
    EXPECT_EQ(TQEL::CalcX(7.0f, 1.0f, 2.0f), 3.0f);
}

TEST(QelBase, CoincidingPointsLeaveNoNumber)
{
    // A zero denominator is not guarded here; the models turn it into their neutral answers.
    EXPECT_FALSE(std::isfinite(TQEL::getGain(5, 1, 5, 2)));
    EXPECT_FALSE(std::isfinite(TQEL::CalcY(1.0f, 5, 1, 5, 2)));
}

TEST(QelBase, ConvertADXLReadsFourteenBits)
{
    const std::pair<std::uint16_t, std::int16_t> cases[] = {
        {0x2001, -8191}, {0x1FFF, 8191}, {0xFFFF, -1}, {0x2000, -8192}, {0x0000, 0}, {0xC005, 5},
    };
    for (const auto& [raw, expected] : cases) {
        std::int16_t ret = 99;
        EXPECT_TRUE(TQEL::ConvertADXL(ret, static_cast<std::int16_t>(raw)));
        EXPECT_EQ(ret, expected) << std::hex << raw;
    }
}

TEST(QelList, CurrentIsTheLastLogger)
{
    TQELList list;
    EXPECT_EQ(list.GetCurrent(), nullptr);
    EXPECT_EQ(list.GetCurrentNo(), -1);
    TQEL* loggers[3] = {new TQEL, new TQEL, new TQEL};
    for (TQEL* logger : loggers) {
        list.Add(logger);
    }
    EXPECT_EQ(list.GetCurrent(), loggers[2]);
    EXPECT_EQ(list.GetCurrentNo(), 2);
    EXPECT_EQ(list.GetItem(1), loggers[1]);
    EXPECT_THROW(list.GetItem(3), plat::EListError);
    list.Clear();
    EXPECT_EQ(list.GetCurrent(), nullptr);
}

} // namespace
} // namespace qel
