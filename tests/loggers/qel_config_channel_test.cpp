// Tests of the configurable channel, task and view classes: the common
// behaviour and what each unit's copy has, lacks or does differently.
#include "loggers/qel_config_channel.h"

#include "logger_test_env.h"

#include <type_traits>

namespace qel {
namespace {

using Channel62xW = TQelChannelT<Qel62xWCopy>;
using Channel624c = TQelChannelT<Qel624cCopy>;
using Channel51 = TQelChannelT<Qel51Copy>;
using Channel539c = TQelChannelT<Qel539cCopy>;
using Channel629c = TQelChannelT<Qel629cCopy>;
using Task62xW = TQelTaskT<Qel62xWCopy>;
using Task624c = TQelTaskT<Qel624cCopy>;
using Task51 = TQelTaskT<Qel51Copy>;
using Task629c = TQelTaskT<Qel629cCopy>;

class ConfigChannelTest : public LoggerTest {};

// Which fields and operations a copy carries.
template <class T>
concept HasFlex = requires(T t) { t.FlexChannelSN; };
template <class T>
concept HasLimit = requires(T t) { t.Limit; };
template <class T>
concept HasChID = requires(T t) { t.ChID; };
template <class T>
concept HasCal = requires(T t) { t.Cal; t.DeviceInfo; };
template <class T>
concept HasCalAllowed = requires(T t) { t.bCalAllowed; };
template <class T>
concept HasRTMValue = requires(T t) { t.fRTMValue; t.CalcValue(std::int16_t{1}); };
template <class T>
concept HasBle = requires(T t) { t.ble_condition; };
template <class T>
concept HasFastPeak = requires(T t) { t.setFastPeak(true); t.reg_config; };
template <class T>
concept HasCfg = requires(T t) { t.CFG; };
template <class T>
concept HasEnabled = requires(T t) { t.Enabled; };
template <class T>
concept HasHidden = requires(T t) { t.isHidden(); };

TEST_F(ConfigChannelTest, EachCopyHasItsOwnFields)
{
    static_assert(HasFlex<Channel62xW> && !HasFlex<Channel624c> && !HasFlex<Channel629c>);
    static_assert(HasLimit<Channel62xW> && HasLimit<Channel629c> && !HasLimit<Channel624c> && !HasLimit<Channel51>);
    static_assert(HasBle<TQelChannelLimitT<Qel62xWCopy>> && !HasBle<TQelChannelLimitT<Qel629cCopy>>);
    static_assert(HasChID<Channel51> && HasChID<Channel539c> && !HasChID<Channel62xW>);
    static_assert(HasCal<Channel539c> && !HasCal<Channel51> && HasCal<Channel629c>);
    static_assert(HasCalAllowed<Channel62xW> && !HasCalAllowed<Channel539c> && !HasCalAllowed<Channel51>);
    static_assert(HasRTMValue<Channel629c> && !HasRTMValue<Channel62xW>);
    static_assert(HasFastPeak<Task62xW> && HasFastPeak<TQelTaskT<Qel28Copy>> && !HasFastPeak<Task624c>);
    static_assert(HasCfg<Task624c> && HasCfg<Task51> && !HasCfg<Task62xW>);
    static_assert(HasEnabled<Task51> && HasEnabled<TQelTaskT<Qel539cCopy>> && !HasEnabled<Task624c>);
    static_assert(HasHidden<Task629c> && !HasHidden<Task62xW>);
    // Units with the same layout still have their own classes.
    static_assert(!std::is_same_v<Channel624c, TQelChannelT<Qel28Copy>>);
    static_assert(!std::is_same_v<Task62xW, TQelTaskT<Qel621WDCopy>>);
    SUCCEED();
}

TEST_F(ConfigChannelTest, ValueFormats)
{
    const std::pair<std::uint8_t, const char*> formats[] = {
        {0, "0"}, {1, "0.0"}, {2, "0.00"}, {3, "0.000"}, {4, "0.0000"}, {5, "0"}, {7, "0"}, {9, "0.0"}, {255, "0"},
    };
    for (const auto& [fmt, pattern] : formats) {
        EXPECT_EQ(GetValueFormat(fmt), pattern) << int(fmt);
    }
    EXPECT_EQ(FormatValue(2, 3.14159f), "3.14");
    EXPECT_EQ(FormatValue(0, 2.5f), "3");
    plat::FormatSettings().DecimalSeparator = ',';
    EXPECT_EQ(FormatValue(1, -0.25f), "-0,3");
}

TEST_F(ConfigChannelTest, FlexChannelNames)
{
    Channel62xW channel;
    channel.Info.sName = "P1";
    EXPECT_EQ(channel.GetName(), "P1");
    channel.FlexChannelSN = 12;
    EXPECT_EQ(channel.GetName(), "P1");
    channel.FlexChannelType = 1;
    EXPECT_EQ(channel.GetName(), "P1 Flex12");
    channel.FlexChannelType = 2;
    channel.Info.sName = "T12 near 12";
    EXPECT_EQ(channel.GetName(), "T near  Flex12");
    channel.FlexChannelType = 3;
    EXPECT_EQ(channel.GetName(), "T12 near 12");
}

TEST_F(ConfigChannelTest, ChannelTextsAndValues)
{
    Channel62xW channel;
    channel.Info.sUnit = "mbar";
    channel.Info.nDispFmt = 2;
    channel.fValue = 1013.257f;
    EXPECT_EQ(channel.GetUnit(), "mbar");
    EXPECT_EQ(channel.GetFmt(), 2);
    EXPECT_EQ(channel.GetValue(), 1013.257f);
    EXPECT_EQ(channel.GetValueStr(), "1013.26");
    EXPECT_EQ(channel.GetValueStr(1.0f), "1.00");
    float value = 0.0f;
    std::string text;
    EXPECT_TRUE(channel.GetValue(value, text));
    EXPECT_EQ(value, 1013.257f);
    EXPECT_EQ(text, "1013.26");
}

TEST_F(ConfigChannelTest, RecordingMasks)
{
    const TSetQelChannelMask currentAndAvg = 1 << tcmCurrent | 1 << tcmAvg;
    EXPECT_EQ(Channel62xW::MaskToByte(currentAndAvg), 9);
    EXPECT_EQ(Channel62xW::ByteToMask(0xFF), 0x0F);
    EXPECT_EQ(Channel51::ByteToMask(0x12), 0x02);
    EXPECT_EQ(Channel51::MaskToByte(0xF5), 0x05);
}

TEST_F(ConfigChannelTest, CopyOfTheFullChannelLayout)
{
    Channel62xW source;
    source.Enabled = true;
    source.Math = true;
    source.FlexChannelType = 2;
    source.FlexChannelSN = 77;
    source.RecActive = true;
    source.TaskNo = 4;
    source.ChNo = 9;
    source.fValue = 3.5f;
    source.Info.sName = "T";
    source.Info.chID = 16;
    source.Info.dGain = 2.0f;
    source.Calibrated = true;
    source.bCalAllowed = true;
    source.RecMask = 0x0F;
    source.RecRateL = 5;
    source.Limit->rec_condition = 1;
    source.Limit->alarm_condition = 2;
    source.Limit->global_trigger_enabled = true;
    source.Limit->ble_condition = 3;
    source.Limit->limit_L1 = -1.5;
    source.Limit->limit_L2 = 2.5;
    source.Limit->bReaderRead = true;

    const std::unique_ptr<Channel62xW> copy = source.CreateCopy();
    EXPECT_TRUE(copy->Enabled && copy->Math && copy->RecActive);
    EXPECT_EQ(copy->FlexChannelType, 2);
    EXPECT_EQ(copy->FlexChannelSN, 77u);
    EXPECT_EQ(copy->TaskNo, 4);
    EXPECT_EQ(copy->Info.sName, "T");
    EXPECT_EQ(copy->Info.chID, 16);
    EXPECT_EQ(copy->Info.dGain, 2.0f);
    EXPECT_EQ(copy->Limit->rec_condition, 1);
    EXPECT_EQ(copy->Limit->alarm_condition, 2);
    EXPECT_TRUE(copy->Limit->global_trigger_enabled);
    EXPECT_EQ(copy->Limit->ble_condition, 3);
    EXPECT_EQ(copy->Limit->limit_L1, -1.5);
    EXPECT_EQ(copy->Limit->limit_L2, 2.5);
    // Left as they were.
    EXPECT_EQ(copy->ChNo, 0);
    EXPECT_EQ(copy->fValue, 0.0f);
    EXPECT_FALSE(copy->Calibrated);
    EXPECT_FALSE(copy->bCalAllowed);
    EXPECT_EQ(copy->RecMask, 0);
    EXPECT_EQ(copy->RecRateL, 0);
    EXPECT_FALSE(copy->Limit->bReaderRead);
    EXPECT_NE(copy->Limit.get(), source.Limit.get());
    EXPECT_FALSE(copy->Limit->Enabled());
}

TEST_F(ConfigChannelTest, OnlyTheShortLayoutCopiesTheRecordingSettings)
{
    Channel51 source;
    source.ChID = 5;
    source.Enabled = true;
    source.RecMask = 0x06;
    source.RecRateL = 10;
    source.RecRateH = 20;
    source.Info.sName = "RH";
    Channel51 target;
    target.CopyFrom(source);
    EXPECT_EQ(target.RecMask, 0x06);
    EXPECT_EQ(target.RecRateL, 10);
    EXPECT_EQ(target.RecRateH, 20);
    EXPECT_EQ(target.Info.sName, "RH");
    EXPECT_EQ(target.ChID, 0);

    Channel624c other;
    other.RecMask = 0x06;
    other.RecRateL = 10;
    Channel624c otherTarget;
    otherTarget.CopyFrom(other);
    EXPECT_EQ(otherTarget.RecMask, 0);
    EXPECT_EQ(otherTarget.RecRateL, 0);
}

TEST_F(ConfigChannelTest, ChannelListCopiesAreIndependent)
{
    TQelChannelListT<Qel62xWCopy> source;
    for (const char* name : {"T", "RH", "P"}) {
        auto channel = std::make_unique<Channel62xW>();
        channel->Info.sName = name;
        source.Add(channel.release());
    }
    TQelChannelListT<Qel62xWCopy> target;
    target.Add(new Channel62xW);
    target.GetItem(0).Info.sName = "old";
    target.CopyFrom(source);
    ASSERT_EQ(target.Count(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(target.GetItem(i).Info.sName, source.GetItem(i).Info.sName);
        EXPECT_NE(&target.GetItem(i), &source.GetItem(i));
    }
    source.GetItem(0).Info.sName = "changed";
    EXPECT_EQ(target.GetItem(0).Info.sName, "T");
    EXPECT_THROW(target.GetItem(3), plat::EListError);
    EXPECT_THROW(target.GetItem(-1), plat::EListError);
}

TEST_F(ConfigChannelTest, TasksHoldChannelNumbers)
{
    Task62xW task;
    task.AddChannel(3);
    task.AddChannel(1);
    task.AddChannel(3);
    EXPECT_EQ(task.Count(), 3);
    EXPECT_EQ(task.GetChannel(0), 3);
    EXPECT_EQ(task.GetChannel(2), 3);
    EXPECT_THROW(task.GetChannel(3), plat::EListError);
    EXPECT_THROW(task.GetChannel(-1), plat::EListError);
}

TEST_F(ConfigChannelTest, FastPeak)
{
    Task62xW task;
    task.Options = 1;
    EXPECT_FALSE(task.isFastPeakAvailable());
    EXPECT_FALSE(task.isFastPeakActive());
    task.Options = 0;
    task.setFastPeak(true);
    EXPECT_EQ(task.Options, 0u);
    task.reg_config = 0x0100;
    task.Options = 0x10;
    task.setFastPeak(true);
    EXPECT_EQ(task.Options, 0x11u);
    EXPECT_TRUE(task.isFastPeakActive());
    task.setFastPeak(false);
    EXPECT_EQ(task.Options, 0x10u);
    EXPECT_FALSE(task.isFastPeakActive());
}

TEST_F(ConfigChannelTest, HiddenTasks)
{
    Task629c task;
    EXPECT_FALSE(task.isHidden());
    task.task_config = 0x0003;
    EXPECT_TRUE(task.isHidden());
}

TEST_F(ConfigChannelTest, TaskCopiesByLayout)
{
    Task62xW full;
    full.ID = 7;
    full.Name = "T2";
    full.task_config = 1;
    full.reg_config = 2;
    full.MeasRate = 3;
    full.MeasRateMin = 4;
    full.PreTime = 5;
    full.Options = 6;
    full.AddChannel(8);
    full.AddChannel(9);
    Task62xW fullCopy;
    fullCopy.AddChannel(1);
    fullCopy.CopyFrom(full);
    EXPECT_EQ(fullCopy.ID, 7);
    EXPECT_EQ(fullCopy.Name, "T2");
    EXPECT_EQ(fullCopy.task_config, 1);
    EXPECT_EQ(fullCopy.reg_config, 2);
    EXPECT_EQ(fullCopy.MeasRate, 3u);
    EXPECT_EQ(fullCopy.MeasRateMin, 4u);
    EXPECT_EQ(fullCopy.PreTime, 5u);
    EXPECT_EQ(fullCopy.Options, 6u);
    ASSERT_EQ(fullCopy.Count(), 2);
    EXPECT_EQ(fullCopy.GetChannel(1), 9);

    Task51 small;
    small.ID = 1;
    small.Enabled = true;
    small.CFG = 0x55;
    small.AddChannel(2);
    const std::unique_ptr<Task51> smallCopy = small.CreateCopy();
    EXPECT_TRUE(smallCopy->Enabled);
    EXPECT_EQ(smallCopy->CFG, 0x55);
    EXPECT_EQ(smallCopy->GetChannel(0), 2);
}

TEST_F(ConfigChannelTest, FindTaskID)
{
    TQelTaskListT<Qel62xWCopy> tasks;
    EXPECT_EQ(tasks.FindTaskID(1), -1);
    for (std::uint16_t id : {4, 2, 4}) {
        auto task = std::make_unique<Task62xW>();
        task->ID = id;
        tasks.Add(task.release());
    }
    EXPECT_EQ(tasks.FindTaskID(4), 0);
    EXPECT_EQ(tasks.FindTaskID(2), 1);
    EXPECT_EQ(tasks.FindTaskID(3), -1);
    TQelTaskListT<Qel62xWCopy> copy;
    copy.CopyFrom(tasks);
    EXPECT_EQ(copy.Count(), 3);
    EXPECT_EQ(copy.GetItem(2).ID, 4);
}

TEST_F(ConfigChannelTest, Views)
{
    TQelViewGraphicListT<Qel62xWCopy> graphics;
    graphics.ymin = -5.0f;
    graphics.ystep = 2.5f;
    graphics.yfmt = 2;
    graphics.penwidth = 3;
    auto view = std::make_unique<TQelViewGraphicT<Qel62xWCopy>>();
    view->channel = 4;
    view->color = 9;
    graphics.Add(view.release());
    TQelViewGraphicListT<Qel62xWCopy> graphicsCopy;
    graphicsCopy.penwidth = 1;
    graphicsCopy.CopyFrom(graphics);
    ASSERT_EQ(graphicsCopy.Count(), 1);
    EXPECT_EQ(graphicsCopy.GetItem(0).channel, 4);
    EXPECT_EQ(graphicsCopy.GetItem(0).color, 9);
    EXPECT_EQ(graphicsCopy.ymin, -5.0f);
    EXPECT_EQ(graphicsCopy.ystep, 2.5f);
    EXPECT_EQ(graphicsCopy.yfmt, 2);
    EXPECT_EQ(graphicsCopy.penwidth, 1); // not copied

    TQelViewTableListT<Qel62xWCopy> tables;
    auto row = std::make_unique<TQelViewTableT<Qel62xWCopy>>();
    row->channel = 6;
    tables.Add(row.release());
    TQelViewTableListT<Qel62xWCopy> tablesCopy;
    tablesCopy.CopyFrom(tables);
    ASSERT_EQ(tablesCopy.Count(), 1);
    EXPECT_EQ(tablesCopy.GetItem(0).channel, 6);
}

TEST_F(ConfigChannelTest, InternalTaskLists)
{
    TIntQelTaskListT<Qel62xWCopy> byNo;
    EXPECT_EQ(byNo.FindTaskNo(1), -1);
    for (std::uint8_t no : {5, 7, 5}) {
        auto entry = std::make_unique<TIntQelTaskT<Qel62xWCopy>>();
        entry->task_no = no;
        entry->name = "x";
        byNo.Add(entry.release());
    }
    EXPECT_EQ(byNo.FindTaskNo(5), 0);
    EXPECT_EQ(byNo.FindTaskNo(7), 1);

    TIntQelTaskListT<Qel624cCopy> byAllNo;
    auto entry = std::make_unique<TIntQelTaskT<Qel624cCopy>>();
    entry->all_task_no = 3;
    entry->options = 0x10;
    byAllNo.Add(entry.release());
    EXPECT_EQ(byAllNo.FindAllTaskNo(3), 0);
    EXPECT_EQ(byAllNo.FindAllTaskNo(4), -1);
}

TEST_F(ConfigChannelTest, AllTaskNames)
{
    const TIntAllTask task;
    const std::pair<std::uint16_t, const char*> cases[] = {
        {1, "T1 (1)"},          {2, "RH (2)"},         {3, "P (3)"},          {4, "ACC (4)"},
        {5, "L (5)"},           {6, " (6)"},           {7, "T2 (7)"},         {8, "DMS (8)"},
        {9, "P2 (9)"},          {29, "BAT (29)"},      {30, "AIN (30)"},      {31, "FLEX_T1 (31)"},
        {32, "FLEX_RH (32)"},   {33, "FLEX_P (33)"},   {34, "FLEX_TRACKING (34)"}, {40, "SE (40)"},
        {0, " (0)"},            {65535, " (65535)"},
    };
    for (const auto& [id, name] : cases) {
        EXPECT_EQ(task.getName(id), name) << id;
    }
    TIntAllTaskList list;
    list.Add(new TIntAllTask);
    EXPECT_EQ(list.GetItem(0).ID, 0);
}

} // namespace
} // namespace qel
