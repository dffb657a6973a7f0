// Tests of what every configurable logger model shares: unscaled values, the
// fallback of channel numbers naming no channel, recording tasks, copies.
#include "config_model_fixture.h"

#include "foundations/byte_helpers.h"
#include "loggers/qel28.h"
#include "loggers/qel51.h"
#include "loggers/qel539c.h"
#include "loggers/qel621wd.h"
#include "loggers/qel621wxd.h"
#include "loggers/qel624c.h"
#include "loggers/qel629wxd.h"
#include "loggers/qel62xw.h"

#include <limits>

namespace qel {
namespace {

using namespace config_test;

template <class Model>
class ConfigModelTest : public LoggerTest {
protected:
    Model model;
};

using ConfigModels = ::testing::Types<TQEL62xW, TQEL629WxD, TQEL621WxD, TQEL624C, TQEL621WD, TQEL51, TQEL539C, TQEL28>;
TYPED_TEST_SUITE(ConfigModelTest, ConfigModels);

TYPED_TEST(ConfigModelTest, ChannelNumbersNamingNoChannel)
{
    TypeParam& logger = this->model;
    for (std::uint16_t version : {V(1, 0), V(1, 14), V(2, 0)}) {
        logger.ID_VER = version;
        for (std::uint32_t ch : {0u, 1u, 8u, 60u, 63u}) {
            EXPECT_EQ(logger.GetChName(ch), std::to_string(ch) + "?") << ch << " " << version;
            EXPECT_EQ(logger.getChID(ch), 0x3FFF) << ch << " " << version;
        }
        for (std::uint32_t ch : {0u, 8u, 60u}) {
            EXPECT_EQ(logger.GetChUnit(ch), std::to_string(ch) + "?") << ch << " " << version;
        }
        // One channel: the next channel's numbers name nothing in every scheme.
        AddChannel(logger, "T", "°C", 7);
        EXPECT_EQ(logger.GetChName(8), "8?");
        EXPECT_EQ(logger.getChID(8), 0x3FFF);
        logger.Channels.Clear();
    }
}

TYPED_TEST(ConfigModelTest, ValuesPassUnscaled)
{
    const TypeParam& logger = this->model;
    EXPECT_EQ(logger.CalcChValue(0, -1234), -1234.0f);
    EXPECT_EQ(logger.CalcChValue(70, 32767), 32767.0f);
    EXPECT_EQ(logger.GetChValue(0), 0.0f);
    EXPECT_TRUE(logger.IsValidValue(0, -1e30f));
    EXPECT_TRUE(logger.IsValidValue(0, std::numeric_limits<float>::infinity()));
    EXPECT_FALSE(logger.IsValidValue(0, NoValueMarker()));
    EXPECT_FALSE(logger.IsValidValue(0, GapValueMarker()));
    // Kept from the base class.
    float value = 1.0f;
    std::string text;
    EXPECT_FALSE(logger.GetChValue(0, value, text));
    EXPECT_EQ(logger.GetLimitValue(0, 100), 0.0f);
    EXPECT_EQ(logger.GetInvLimitValue(0, 1.0f), 0);
    EXPECT_FALSE(logger.IsGAPValue(0, -1));
    EXPECT_EQ(logger.getChGain(0), 1.0f);
    EXPECT_EQ(logger.getChOffset(0), 0.0f);
}

// QEL539c formats by the display format of its channels instead.
template <class Model>
class GeneralFormatModelTest : public ConfigModelTest<Model> {};

using GeneralFormatModels = ::testing::Types<TQEL62xW, TQEL629WxD, TQEL621WxD, TQEL624C, TQEL621WD, TQEL51, TQEL28>;
TYPED_TEST_SUITE(GeneralFormatModelTest, GeneralFormatModels);

TYPED_TEST(GeneralFormatModelTest, ValueTextsInTheGeneralFormat)
{
    const TypeParam& logger = this->model;
    EXPECT_EQ(logger.GetValueStr(0, 0.1f), "0.100000001490116");
    EXPECT_EQ(logger.GetValueStr(99, 25.0f), "25");
    plat::FormatSettings().DecimalSeparator = ',';
    EXPECT_EQ(logger.GetValueStr(0, -1.5f), "-1,5");
}

TYPED_TEST(ConfigModelTest, RecordingTasks)
{
    TypeParam& logger = this->model;
    for (const char* name : {"A", "B", "C", "D"}) {
        AddChannel(logger, name);
    }
    AddTask(logger, {1, 3});
    AddTask(logger, {});
    EXPECT_FALSE(logger.isRecActive(0));
    logger.Channels.GetItem(3).RecActive = true;
    EXPECT_TRUE(logger.isRecActive(0));
    EXPECT_FALSE(logger.isRecActive(1));
    EXPECT_FALSE(logger.isRecActive(2));
    EXPECT_FALSE(logger.isRecActive(-1));
    logger.setRecActive(0, true);
    EXPECT_TRUE(logger.Channels.GetItem(1).RecActive);
    EXPECT_FALSE(logger.Channels.GetItem(0).RecActive);
    logger.setRecActive(0, false);
    EXPECT_FALSE(logger.isRecActive(0));
    EXPECT_FALSE(logger.Channels.GetItem(3).RecActive);
    logger.setRecActive(7, true); // no such task
    EXPECT_FALSE(logger.isRecActive(0));
}

TYPED_TEST(ConfigModelTest, TaskChannelsAreWalkedUpToTheChannelCount)
{
    TypeParam& logger = this->model;
    AddChannel(logger, "A");
    AddTask(logger, {0, 9});
    logger.setRecActive(0, true); // only channel number 0 is walked
    EXPECT_TRUE(logger.isRecActive(0));
    AddTask(logger, {5});
    EXPECT_THROW(logger.isRecActive(1), plat::EListError);
    EXPECT_THROW(logger.setRecActive(1, true), plat::EListError);
}

TYPED_TEST(ConfigModelTest, CopiesHaveTheirOwnLists)
{
    TypeParam& logger = this->model;
    logger.ID_CLASS = 0x6600;
    logger.ID_VER = V(1, 20);
    logger.SN = 4711;
    AddChannel(logger, "T", "°C", 16).RecActive = true;
    AddChannel(logger, "RH", "%rH", 5);
    AddTask(logger, {1, 0}).ID = 3;

    const auto copy = logger.CreateCopy();
    EXPECT_EQ(copy->ID_CLASS, 0x6600);
    EXPECT_EQ(copy->ID_VER, V(1, 20));
    EXPECT_EQ(copy->SN, 4711u);
    ASSERT_EQ(copy->Channels.Count(), 2);
    EXPECT_EQ(copy->Channels.GetItem(1).Info.sName, "RH");
    EXPECT_EQ(copy->Channels.GetItem(1).Info.chID, 5);
    EXPECT_TRUE(copy->Channels.GetItem(0).RecActive);
    ASSERT_EQ(copy->Tasks.Count(), 1);
    EXPECT_EQ(copy->Tasks.GetItem(0).ID, 3);
    EXPECT_EQ(copy->Tasks.GetItem(0).GetChannel(0), 1);
    logger.Channels.GetItem(1).Info.sName = "changed";
    logger.Tasks.GetItem(0).AddChannel(1);
    EXPECT_EQ(copy->Channels.GetItem(1).Info.sName, "RH");
    EXPECT_EQ(copy->Tasks.GetItem(0).Count(), 2);

    // Copying over an object replaces its lists.
    TypeParam target;
    AddChannel(target, "old");
    AddChannel(target, "old");
    AddChannel(target, "old");
    target.CopyFrom(*copy);
    ASSERT_EQ(target.Channels.Count(), 2);
    EXPECT_EQ(target.Channels.GetItem(0).Info.sName, "T");
}

} // namespace
} // namespace qel
