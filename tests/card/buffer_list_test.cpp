// Tests of the buffer lists: buffers keyed by (logger, channel), spill files
// per buffer, the list-wide counts, times and order, and the read and save
// bookkeeping.
#include "card/buffer_list.h"
#include "card/spill_file_reaper.h"
#include "loggers/qel_base.h"
#include "tests/card/buffer_folder_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <filesystem>
#include <stdexcept>
#include <utility>
#include <vector>

namespace qel {
namespace {

struct TLogger : TQEL {
    explicit TLogger(std::uint32_t serial) { SN = serial; }
};

std::vector<std::pair<std::int64_t, std::int16_t>> ReadInts(TBufferBaseData& buffer)
{
    std::vector<std::pair<std::int64_t, std::int16_t>> samples;
    buffer.BeginSave();
    while (!buffer.GetSaveComplete()) {
        std::int16_t value = 0;
        const std::int64_t time = buffer.GetSaveTime();
        EXPECT_TRUE(buffer.GetSaveIntValue(time, value));
        samples.emplace_back(time, value);
    }
    return samples;
}

TEST(BufferList, SamplesGoToTheBufferOfTheActiveLoggerAndChannel)
{
    TBufferDataList list(true);
    TQEL first;
    TQEL second;
    list.SetActiveQEL(&first);
    EXPECT_EQ(list.AddIntData(2, 100, 1), 0);
    EXPECT_EQ(list.AddIntData(5000, 100, 2), 1);   // beyond the channel table
    EXPECT_EQ(list.AddIntData(2, 110, 3), -1);
    EXPECT_EQ(list.AddIntData(5000, 110, 4), -1);
    list.SetActiveQEL(&second);
    EXPECT_EQ(list.FindBuffer(2), -1);
    EXPECT_EQ(list.AddIntData(2, 120, 5), 2);
    list.SetActiveQEL(&first);
    EXPECT_EQ(list.FindBuffer(2), 0);
    EXPECT_EQ(list.AddIntData(2, 130, 6), -1);
    list.EndRead();

    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list[0]->GetLinkQEL(), &first);
    EXPECT_EQ(list[2]->GetLinkQEL(), &second);
    EXPECT_EQ(ReadInts(*list[0]), (std::vector<std::pair<std::int64_t, std::int16_t>>{{100, 1}, {110, 3}, {130, 6}}));
    EXPECT_EQ(ReadInts(*list[1]), (std::vector<std::pair<std::int64_t, std::int16_t>>{{100, 2}, {110, 4}}));
    EXPECT_EQ(ReadInts(*list[2]), (std::vector<std::pair<std::int64_t, std::int16_t>>{{120, 5}}));
}

TEST(BufferList, ChannelKeepsTheKindOfItsFirstSample)
{
    TBufferDataList list(true);
    EXPECT_EQ(list.addSingleData(1, 10, 2.5f), 0);
    EXPECT_EQ(list.addSingleData(1, 20, 3.5f), -1);
    EXPECT_TRUE(list[0]->HoldsSingleValues());
    EXPECT_THROW(list.AddIntData(1, 30, 7), std::logic_error);
    EXPECT_EQ(list.AddIntData(2, 30, 7), 1);
    EXPECT_THROW(list.addSingleData(2, 40, 1.0f), std::logic_error);
    EXPECT_EQ(list[0]->GetCnt(), 2);
    EXPECT_EQ(list[1]->GetCnt(), 1);
}

TEST(BufferList, NewBuffersTakeTheListsUtc)
{
    TBufferDataList list(true);
    list.Utc = {true, 3686400000};
    list.AddIntData(0, 1, 1);
    list.Utc = {};
    list.AddIntData(1, 1, 1);
    EXPECT_TRUE(list[0]->Utc.bEnabled);
    EXPECT_EQ(list[0]->Utc.Offset, 3686400000);
    EXPECT_FALSE(list[1]->Utc.bEnabled);
}

TEST(BufferList, CountsAndTimeSpan)
{
    TBufferDataList list(true);
    std::int64_t min = 11;
    std::int64_t max = 22;
    EXPECT_EQ(list.GetAllCnts(), 1);
    EXPECT_FALSE(list.GetTMinTMax(min, max));
    EXPECT_EQ(min, 11);
    EXPECT_EQ(max, 22);

    list.AddIntData(0, 500, 1);
    list.AddIntData(0, 900, 1);
    list.AddIntData(1, -300, 1);   // the earliest first time
    list.AddIntData(1, -200, 1);
    list.AddIntData(2, 700, 1);    // the latest last time lies in another buffer
    list.AddIntData(2, 1200, 1);
    list.AddIntData(2, 400, 1);
    EXPECT_EQ(list.GetAllCnts(), 7);
    ASSERT_TRUE(list.GetTMinTMax(min, max));
    EXPECT_EQ(min, -300);
    EXPECT_EQ(max, 900);   // the last sample appended of each buffer: 900, -200, 400
}

TEST(BufferList, SortsBySerialThenChannelUnsigned)
{
    TLogger high(0x80000000u);
    TLogger low(7);
    TBufferDataList list(true);
    list.SetActiveQEL(&high);
    list.AddIntData(1, 0, 0);
    list.SetActiveQEL(&low);
    list.AddIntData(0x80000000u, 0, 0);
    list.AddIntData(3, 0, 0);
    list.SetActiveQEL(&high);
    list.AddIntData(0, 0, 0);
    list.SortNow();
    const std::vector<std::pair<const TQEL*, std::uint32_t>> expected = {
        {&low, 3}, {&low, 0x80000000u}, {&high, 0}, {&high, 1}};
    ASSERT_EQ(list.Count(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(list[i]->GetLinkQEL(), expected[i].first) << i;
        EXPECT_EQ(list[i]->GetChannel(), expected[i].second) << i;
    }
    // Samples still reach the right buffers after the sort.
    EXPECT_EQ(list.AddIntData(1, 5, 9), -1);
    EXPECT_EQ(list[3]->GetCnt(), 2);
}

TEST(BufferList, SaveWalksTheBuffersInTimeOrder)
{
    TBufferDataList list(true);
    list.AddIntData(1, 30, 1);
    list.AddIntData(0, 10, 2);
    list.AddIntData(1, -5, 3);
    list.EndRead();
    list.BeginSave();
    std::vector<std::int64_t> times;
    std::int64_t time = 0;
    while (list.GetMinSaveTime(time)) {
        times.push_back(time);
        for (TBufferBaseData* buffer : list) {
            std::int16_t value = 0;
            buffer->GetSaveIntValue(time, value);
        }
    }
    EXPECT_EQ(times, (std::vector<std::int64_t>{10, 30, -5}));   // each buffer in its own order
    EXPECT_EQ(list[0]->GetChannel(), 0u);                         // BeginSave sorted the list
}

TEST(BufferList, CopyFromTakesTheSettingsButNotTheBuffers)
{
    TLogger logger(1);
    TBufferDataList from(true);
    from.SetActiveQEL(&logger);
    from.SetUseFileStream(true);
    from.FileNameEx = {"/out/", "run", "_E1", ".qel"};
    from.MultipleQEL = {true, 2.5};
    from.MissionData.sTitle = "mission";
    from.Utc = {true, 10};
    from.FileList = {"a"};
    from.SaveCardShockID = true;
    from.SetUseFileStream(false);
    from.AddIntData(0, 1, 1);
    from.SetUseFileStream(true);

    TBufferDataList to(false);
    to.CopyFrom(from);
    EXPECT_EQ(to.GetActiveQEL(), &logger);
    EXPECT_TRUE(to.GetUseFileStream());
    EXPECT_EQ(to.FileNameEx.name, "run");
    EXPECT_EQ(to.FileNameEx.cnt, "_E1");
    EXPECT_TRUE(to.MultipleQEL.bActive);
    EXPECT_EQ(to.MissionData.sTitle, "mission");
    EXPECT_EQ(to.Utc.Offset, 10);
    EXPECT_TRUE(to.FileList.empty());
    EXPECT_FALSE(to.SaveCardShockID);
    EXPECT_EQ(to.Count(), 0);
}

TEST(BufferList, StartReadForgetsTheMissionDataOfTheLastRead)
{
    TBufferDataList list(true);
    list.MissionData.bValid = true;
    list.MissionData.bValidStartTime = true;
    list.startRead();
    EXPECT_TRUE(list.MissionData.bFirstReadQEL);
    EXPECT_FALSE(list.MissionData.bValid);
    EXPECT_FALSE(list.MissionData.bValidStartTime);
    list.nextRead();
    EXPECT_FALSE(list.MissionData.bFirstReadQEL);
}

class BufferListFiles : public qeltest::BufferFolderTest {};

TEST_F(BufferListFiles, EveryBufferHasItsOwnSpillFileUntilTheListIsCleared)
{
    // More buffers than one byte can number: each keeps its own file.
    TBufferDataList list(true);
    list.SetUseFileStream(true);
    for (std::uint32_t channel = 0; channel < 300; ++channel) {
        list.AddIntData(channel, channel, static_cast<std::int16_t>(channel));
    }
    list.EndRead();
    for (int i = 0; i < 300; ++i) {
        EXPECT_EQ(list[i]->GetExtFileName(), SpillFileName(static_cast<std::uint32_t>(i)));
        ASSERT_TRUE(std::filesystem::exists(SpillFileName(static_cast<std::uint32_t>(i)))) << i;
    }
    const std::uint32_t checked[] = {0, 1, 255, 256, 257, 299};
    for (std::uint32_t channel : checked) {
        EXPECT_EQ(ReadInts(*list[static_cast<int>(channel)]),
                  (std::vector<std::pair<std::int64_t, std::int16_t>>{
                      {channel, static_cast<std::int16_t>(channel)}}))
            << channel;
    }

    TBufferDataList save(false);
    save.Add(list[0]);
    save.ClearAll();   // the save list only drops its references
    EXPECT_TRUE(std::filesystem::exists(SpillFileName(0)));

    list.ClearAll();
    EXPECT_EQ(list.Count(), 0);
    for (std::uint32_t i = 0; i < 300; ++i) {
        EXPECT_FALSE(std::filesystem::exists(SpillFileName(i))) << i;
    }
}

TEST_F(BufferListFiles, FreedFilesLeaveTheirNamesAtOnceAndTheFolderSoonAfter)
{
    TBufferDataList list(true);
    list.SetUseFileStream(true);
    for (int round = 0; round < 3; ++round) {
        for (std::uint32_t channel = 0; channel < 4; ++channel) {
            list.AddIntData(channel, round, static_cast<std::int16_t>(round));
        }
        list.EndRead();
        list.ClearAll();
        for (std::uint32_t i = 0; i < 4; ++i) {
            EXPECT_FALSE(std::filesystem::exists(SpillFileName(i))) << "the name is free for the next read";
        }
    }
    // The next read's files are its own, whatever the removals still pending.
    list.AddIntData(0, 7, 7);
    list.EndRead();
    FlushSpillFileDisposal();
    EXPECT_EQ(ReadInts(*list[0]), (std::vector<std::pair<std::int64_t, std::int16_t>>{{7, 7}}));
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(BufferFolder())) {
        left.push_back(entry.path().filename().string());
    }
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"F0.mst"})) << "the probe, now the new buffer's file";
}

TEST_F(BufferListFiles, SpillFileThatCannotBeCreatedFailsTheSampleAndAddsNoBuffer)
{
    std::filesystem::remove_all(BufferFolder());
    TBufferDataList list(true);
    list.SetUseFileStream(true);
    EXPECT_THROW(list.AddIntData(0, 1, 1), plat::EFCreateError);
    EXPECT_EQ(list.Count(), 0);
}

} // namespace
} // namespace qel
