// Tests of the QEL629WxD logger class: accepted versions, its two own feature
// tests and what it keeps of the generation's base.
#include "config_model_fixture.h"

#include "loggers/qel629wxd.h"

#include <typeinfo>

namespace qel {
namespace {

using namespace config_test;

class Qel629WxDTest : public LoggerTest {
protected:
    TQEL629WxD logger;
};

TEST_F(Qel629WxDTest, KnownVersions)
{
    const std::pair<std::uint16_t, bool> versions[] = {
        {V(0, 99), false}, {V(1, 0), true},  {V(1, 80), true}, {V(1, 81), false},
        {V(2, 0), true},   {V(2, 28), true}, {V(2, 29), false}, {V(3, 0), false},
    };
    for (const auto& [version, known] : versions) {
        EXPECT_EQ(logger.IsKnownVersion(0x6617, version), known) << std::hex << version;
    }
    EXPECT_FALSE(logger.IsKnownVersion(0x6621, V(2, 0)));
    EXPECT_FALSE(logger.IsKnownVersion(0x6601, V(1, 0)));
}

TEST_F(Qel629WxDTest, WifiAutostartNeedsTheWlanModule)
{
    const struct {
        std::uint16_t version;
        std::uint16_t keType;
        bool autostart;
    } cases[] = {
        {0x22A, 2, false}, {0x22B, 2, true}, {0xFFFF, 2, true}, {0x22B, 1, false}, {0x22B, 0, false}, {0xFFFF, 3, false},
    };
    for (const auto& c : cases) {
        logger.ID_VER = c.version;
        logger.KE_TYPE = c.keType;
        EXPECT_EQ(logger.hasWifiAutostartPOR(), c.autostart) << std::hex << c.version << " " << c.keType;
    }
}

TEST_F(Qel629WxDTest, FX2orFX3FromVersion281)
{
    logger.ID_VER = 0x250;
    EXPECT_FALSE(logger.IsFX2orFX3Available());
    logger.ID_VER = 0x251;
    EXPECT_TRUE(logger.IsFX2orFX3Available());
}

TEST_F(Qel629WxDTest, KeepsTheBaseNamesAndChannels)
{
    logger.ID_CLASS = 0x6617;
    logger.ID_VER = V(2, 0);
    logger.KE_TYPE = 2;
    EXPECT_EQ(logger.GetName(), "QEL629W2D");
    logger.KE_TYPE = 1;
    EXPECT_EQ(logger.GetName(), "QEL629WD");
    AddChannel(logger, "T", "°C", 16);
    EXPECT_EQ(logger.GetChName(0), "T");
    EXPECT_EQ(logger.getChID(0), 16);
    // A copy is of the generation's base class.
    const std::unique_ptr<TQEL62xW> copy = logger.CreateCopy();
    EXPECT_EQ(typeid(*copy), typeid(TQEL62xW));
    EXPECT_EQ(copy->GetChName(0), "T");
}

} // namespace
} // namespace qel
