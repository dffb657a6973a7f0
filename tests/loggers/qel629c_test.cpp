// Tests of the QEL629c logger class: its 32 configured channels, the
// conversions with their clamps, the ID table, copies and recording tasks.
#include "loggers/qel629c.h"

#include "foundations/byte_helpers.h"
#include "logger_test_env.h"

namespace qel {
namespace {

class Qel629cTest : public LoggerTest {
protected:
    void SetUp() override
    {
        LoggerTest::SetUp();
        logger.NewConfigChannels();
    }

    qel629c::TQelChannel& Configure(int index, std::uint16_t id, float gain, float offset, const char* name,
                                    const char* unit)
    {
        qel629c::TQelChannel& channel = logger.Channels.GetItem(index);
        channel.Info.chID = id;
        channel.Info.dGain = gain;
        channel.Info.dOfs = offset;
        channel.Info.sName = name;
        channel.Info.sUnit = unit;
        return channel;
    }

    TQEL629C logger;
};

TEST_F(Qel629cTest, ConfigurationReadStartsWith32UnconfiguredChannels)
{
    Configure(3, 5, 0.5f, 1.0f, "RH", "%rH");
    logger.NewConfigChannels();
    ASSERT_EQ(logger.Channels.Count(), TQEL629C::ConfigChannelCount);
    for (std::uint32_t ch = 0; ch < 32; ++ch) {
        const qel629c::TQelChannel& channel = logger.Channels.GetItem(static_cast<int>(ch));
        EXPECT_EQ(channel.Info.dGain, 1.0f);
        EXPECT_EQ(channel.Info.dOfs, 0.0f);
        EXPECT_EQ(logger.GetChName(ch), "");
        EXPECT_EQ(logger.GetChUnit(ch), "");
        EXPECT_EQ(logger.getChID(ch), 0);
        EXPECT_EQ(logger.CalcChValue(ch, -1234), -1234.0f);
    }
}

TEST_F(Qel629cTest, ChannelNumbersBeyondTheList)
{
    EXPECT_EQ(logger.GetChName(32), "32?");
    EXPECT_EQ(logger.GetChUnit(40), "40?");
    EXPECT_EQ(logger.getChID(32), 0x3FFF);
    EXPECT_EQ(logger.CalcChValue(40, 7), 7.0f);
    TQEL629C empty;
    EXPECT_EQ(empty.GetChName(0), "0?");
    EXPECT_EQ(empty.CalcChValue(0, -3), -3.0f);
}

TEST_F(Qel629cTest, HumidityChannelsAreHeldToTheirRange)
{
    Configure(0, 5, 0.01f, 0.0f, "RH", "%rH");
    Configure(1, 12, 0.01f, 0.0f, "RH2", "%rH");
    Configure(2, 1, 0.01f, 0.0f, "T", "°C");
    struct Case {
        std::uint32_t ch;
        std::int16_t raw;
        float value;
    };
    const Case cases[] = {
        {0, 12000, 100.0f}, {0, -500, 0.0f}, {0, 5000, 50.0f},   {1, 10001, 100.0f}, {1, -1, 0.0f},
        {2, 12000, 120.0f}, {2, -500, -5.0f}, {2, 5000, 50.0f},
    };
    for (const Case& c : cases) {
        EXPECT_FLOAT_EQ(logger.CalcChValue(c.ch, c.raw), c.value) << c.ch << " " << c.raw;
    }
    EXPECT_EQ(logger.GetChName(2), "T");
    EXPECT_EQ(logger.GetChUnit(2), "°C");
    EXPECT_EQ(logger.getChID(1), 12);
}

TEST_F(Qel629cTest, CheckInRange)
{
    qel629c::TQelChannel& rh = Configure(0, 5, 1.0f, 0.0f, "RH", "");
    float value = 120.0f;
    EXPECT_FALSE(rh.CheckInRange(value));
    EXPECT_EQ(value, 100.0f);
    value = -0.5f;
    EXPECT_FALSE(rh.CheckInRange(value));
    EXPECT_EQ(value, 0.0f);
    value = 55.0f;
    EXPECT_TRUE(rh.CheckInRange(value));
    value = NoValueMarker();
    EXPECT_TRUE(rh.CheckInRange(value));
    EXPECT_EQ(SingleBits(value), NO_VALUE_BITS);
    // The current reading is clamped on the way out, the field stays.
    rh.fRTMValue = 130.0f;
    EXPECT_EQ(rh.GetValue(), 100.0f);
    EXPECT_EQ(rh.fRTMValue, 130.0f);
    float shown = 0.0f;
    std::string text;
    rh.Info.nDispFmt = 1;
    EXPECT_TRUE(rh.GetValue(shown, text));
    EXPECT_EQ(text, "100.0");
    qel629c::TQelChannel& t = Configure(1, 6, 1.0f, 0.0f, "T", "");
    t.fRTMValue = 130.0f;
    EXPECT_EQ(t.GetValue(), 130.0f);
}

TEST_F(Qel629cTest, FaultingScalingGivesNoValue)
{
    Configure(0, 1, 3e38f, 0.0f, "T", "");
    Configure(1, 5, std::numeric_limits<float>::quiet_NaN(), 0.0f, "RH", "");
    EXPECT_EQ(SingleBits(logger.CalcChValue(0, 100)), NO_VALUE_BITS);
    EXPECT_EQ(SingleBits(logger.CalcChValue(1, 100)), NO_VALUE_BITS);
    EXPECT_FLOAT_EQ(logger.CalcChValue(0, 0), 0.0f);
}

TEST_F(Qel629cTest, IdNamesAndUnits)
{
    const struct {
        std::uint16_t id;
        const char* name;
        const char* unit;
    } cases[] = {
        {0, "", ""},        {1, "T", "°C"},   {2, "Ax", "g"},      {3, "BAT", "V"},    {4, "AIN", ""},
        {5, "RH", "%rH"},   {6, "T", "°C"},   {7, "L", "lux"},     {8, "P", "mbar"},   {9, "T", "°C"},
        {10, "P", "mbar"},  {11, "T", "°C"},  {12, "RH", "%rH"},   {13, "T", "°C"},    {14, "Marker", ""},
        {15, "T", ""},      {16, "T", "°C"},  {17, "Ay", "g"},     {18, "Az", "g"},    {19, "", ""},
        {0x3FFF, "", ""},   {0xFFFF, "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TQEL629C::getChNameFromID(c.id), c.name) << c.id;
        EXPECT_EQ(TQEL629C::getChUnitFromID(c.id), c.unit) << c.id;
    }
}

TEST_F(Qel629cTest, IdentityAndFeatures)
{
    EXPECT_EQ(logger.GetName(), "QEL629C");
    EXPECT_TRUE(logger.hasUTC());
    EXPECT_TRUE(logger.IsKnownVersion(0x6601, 0x0600));
    EXPECT_TRUE(logger.IsKnownVersion(0x6601, 0x0606));
    EXPECT_FALSE(logger.IsKnownVersion(0x6601, 0x0607));
    EXPECT_FALSE(logger.IsKnownVersion(0x6601, 0x0588));
    EXPECT_FALSE(logger.IsKnownVersion(0x6606, 0x0600));
    logger.INT_CFG = 0x1020;
    EXPECT_TRUE(logger.hasExternalControl());
    EXPECT_TRUE(logger.hasSDCard());
    logger.INT_CFG = 0x0020;
    EXPECT_TRUE(logger.hasExternalControl());
    EXPECT_FALSE(logger.hasSDCard());
    logger.INT_CFG = 0x1000;
    EXPECT_FALSE(logger.hasExternalControl());
    logger.ID_VER = 0x604;
    EXPECT_FALSE(logger.hasNewMemorySections());
    logger.ID_VER = 0x605;
    EXPECT_TRUE(logger.hasNewMemorySections());
}

TEST_F(Qel629cTest, ValuesAndTheirTexts)
{
    EXPECT_TRUE(logger.IsValidValue(0, -1e9f));
    EXPECT_FALSE(logger.IsValidValue(0, NoValueMarker()));
    EXPECT_EQ(logger.GetValueStr(0, 0.1f), "0.100000001490116");
    EXPECT_EQ(logger.GetValueStr(0, 25.0f), "25");
    plat::FormatSettings().DecimalSeparator = ',';
    EXPECT_EQ(logger.GetValueStr(0, -1.5f), "-1,5");
    // Kept from the base class.
    EXPECT_EQ(logger.GetChValue(0), 0.0f);
    EXPECT_EQ(logger.GetLimitValue(0, 100), 0.0f);
    EXPECT_EQ(logger.GetInvLimitValue(0, 1.0f), 0);
    EXPECT_FALSE(logger.IsGAPValue(0, 0x7FF0));
    EXPECT_EQ(logger.getChGain(0), 1.0f);
    EXPECT_EQ(logger.getChOffset(0), 0.0f);
}

void AddTask(TQEL629C& logger, std::initializer_list<std::int32_t> channels)
{
    auto task = std::make_unique<qel629c::TQelTask>();
    for (std::int32_t channel : channels) {
        task->AddChannel(channel);
    }
    logger.Tasks.Add(task.release());
}

TEST_F(Qel629cTest, RecordingTasks)
{
    AddTask(logger, {4, 7});
    AddTask(logger, {});
    EXPECT_FALSE(logger.isRecActive(0));
    logger.Channels.GetItem(7).RecActive = true;
    EXPECT_TRUE(logger.isRecActive(0));
    EXPECT_FALSE(logger.isRecActive(1));
    EXPECT_FALSE(logger.isRecActive(2));
    EXPECT_FALSE(logger.isRecActive(-1));
    logger.setRecActive(0, true);
    EXPECT_TRUE(logger.Channels.GetItem(4).RecActive);
    logger.setRecActive(0, false);
    EXPECT_FALSE(logger.Channels.GetItem(4).RecActive);
    EXPECT_FALSE(logger.Channels.GetItem(7).RecActive);
    logger.setRecActive(5, true); // no such task: nothing changes
    EXPECT_FALSE(logger.isRecActive(0));
}

TEST_F(Qel629cTest, TaskChannelsAreWalkedUpToTheChannelCount)
{
    TQEL629C small;
    auto channel = std::make_unique<qel629c::TQelChannel>();
    small.Channels.Add(channel.release());
    AddTask(small, {0, 5, 9});
    // Only as many channel numbers as there are channels: 0 alone here.
    EXPECT_FALSE(small.isRecActive(0));
    small.setRecActive(0, true);
    EXPECT_TRUE(small.Channels.GetItem(0).RecActive);
    // A channel number beyond the list raises the list's index error.
    AddTask(small, {3});
    EXPECT_THROW(small.isRecActive(1), plat::EListError);
}

TEST_F(Qel629cTest, CopyFrom)
{
    logger.ID_CLASS = 0x6601;
    logger.ID_VER = 0x0605;
    logger.ID_VER_PC = 0x0606;
    logger.SN = 123456;
    logger.APP_ID = 3;
    logger.ViewTimeOff = 4;
    logger.ViewTimeLogo = 5;
    logger.QELNAME = "Tank 2";
    logger.CFG_TIME = 45000.5;
    logger.bReadChannelInfo = false;
    logger.bReadChannelLimit = true;
    logger.bReadMTaskInfo = true;
    logger.LIMIT_CFG = 6;
    logger.SDCARD = 7;
    logger.SDCARD_LOGGER_SN = 8;
    logger.SDCARD_STATE = 9;
    logger.SN_NEW = 10;
    logger.INT_CFG = 0x1020;
    logger.ACCU_CAPACITY = 11;
    logger.ORDER_CODE = "X";
    logger.ID_TYPE = 12;
    Configure(2, 5, 0.01f, 0.0f, "RH", "%rH").Limit->limit_L1 = 80.0;
    logger.Channels.GetItem(2).Limit->bReaderRead = true;
    AddTask(logger, {2});

    TQEL629C target;
    target.ORDER_CODE = "kept";
    target.NewConfigChannels();
    target.Channels.Add(new qel629c::TQelChannel);
    target.CopyFrom(logger);
    EXPECT_EQ(target.ID_CLASS, 0x6601);
    EXPECT_EQ(target.ID_VER, 0x0605);
    EXPECT_EQ(target.ID_VER_PC, 0x0606);
    EXPECT_EQ(target.SN, 123456u);
    EXPECT_EQ(target.APP_ID, 3);
    EXPECT_EQ(target.ViewTimeOff, 4);
    EXPECT_EQ(target.ViewTimeLogo, 5);
    EXPECT_EQ(target.QELNAME, "Tank 2");
    EXPECT_EQ(target.CFG_TIME, 45000.5);
    EXPECT_FALSE(target.bReadChannelInfo);
    EXPECT_TRUE(target.bReadChannelLimit);
    EXPECT_TRUE(target.bReadMTaskInfo);
    EXPECT_EQ(target.LIMIT_CFG, 6);
    EXPECT_EQ(target.SDCARD, 7);
    EXPECT_EQ(target.SDCARD_LOGGER_SN, 8u);
    EXPECT_EQ(target.SDCARD_STATE, 9);
    EXPECT_EQ(target.SN_NEW, 10u);
    // Not copied.
    EXPECT_EQ(target.INT_CFG, 0);
    EXPECT_EQ(target.ACCU_CAPACITY, 0);
    EXPECT_EQ(target.ORDER_CODE, "kept");
    EXPECT_EQ(target.ID_TYPE, 0);
    // The lists are replaced by independent copies.
    ASSERT_EQ(target.Channels.Count(), 32);
    EXPECT_EQ(target.GetChName(2), "RH");
    EXPECT_FLOAT_EQ(target.CalcChValue(2, 12000), 100.0f);
    EXPECT_EQ(target.Channels.GetItem(2).Limit->limit_L1, 80.0);
    EXPECT_FALSE(target.Channels.GetItem(2).Limit->bReaderRead);
    EXPECT_NE(&target.Channels.GetItem(2), &logger.Channels.GetItem(2));
    ASSERT_EQ(target.Tasks.Count(), 1);
    EXPECT_EQ(target.Tasks.GetItem(0).GetChannel(0), 2);

    const std::unique_ptr<TQEL629C> copy = logger.CreateCopy();
    EXPECT_EQ(copy->QELNAME, "Tank 2");
    EXPECT_TRUE(copy->bReadMTaskInfo);
    EXPECT_EQ(copy->Channels.Count(), 32);
}

} // namespace
} // namespace qel
