// The channel list of a container save: folders in the order channels get
// their first value, descriptions by channel ID, the archive without values,
// and dropping a save.
#include "export/x2_write_channel_list.h"

#include "platform/known_folders.h"
#include "tests/support/qel_zip_entries.h"
#include "tests/support/temp_dir.h"
#include "tests/support/zip_test_reader.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using qeltest::DecodePairs;
using qeltest::DecodeValues;
using qeltest::TPairs;
using qeltest::TZipTestReader;

class X2WriteChannelList : public ::testing::Test {
protected:
    X2WriteChannelList() { plat::SetProgramPath("/opt/qel/reader"); }
    ~X2WriteChannelList() override { plat::SetProgramPath(""); }

    qeltest::TempDir FDir;
};

TEST_F(X2WriteChannelList, FoldersFollowFirstValuesAndCarryTheirDescriptions)
{
    const std::string path = FDir.File("list.qrec");
    qel::TX2WriteChannelList list;
    list.StartSave(path);
    list.AddChannel(2, "Humidity", "%rH");
    list.AddChannel(2, "Second", "ignored");
    list.AddChannel(0, "Temperature", "\xC2\xB0" "C");
    list.AddChannel(5, "No values", "V");
    list.FindChannel(0)->sQelName = "Cellar";
    list.FindChannel(0)->sQelModel = "QEL629";
    list.FindChannel(0)->sQelSN = "4711";
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.FindChannel(9), nullptr);

    EXPECT_FALSE(list.Opened());
    list.SaveValue(2, 100, 55.0f);   // first value: the archive opens, folder 0
    EXPECT_TRUE(list.Opened());
    list.SaveValue(2, 200, 56.0f);
    list.SaveValue(0, 100, 20.5f);   // folder 1
    list.SaveValue(7, 300, 1.0f);    // folder 2, no description
    list.SaveValue(0, 200, 21.0f);   // back to folder 1
    list.FinishSave();
    EXPECT_FALSE(list.Opened());

    const TZipTestReader reader(path);
    const std::string f0 = "CHANNELS\\CHANNEL_0\\", f1 = "CHANNELS\\CHANNEL_1\\", f2 = "CHANNELS\\CHANNEL_2\\";
    EXPECT_EQ(reader.Names(), (std::vector<std::string>{"File", f0 + "ChData_0", f0 + "ChInfo_0", f0 + "ChDesc_0",
                                                        f1 + "ChData_0", f1 + "ChInfo_0", f1 + "ChDesc_0",
                                                        f2 + "ChData_0", f2 + "ChInfo_0", f2 + "ChDesc_0"}));
    const auto humidity = DecodeValues(reader.Read(f0 + "ChData_0"));
    ASSERT_EQ(humidity.size(), 2u);
    EXPECT_EQ(humidity[1].Value, 56.0f);
    const auto temperature = DecodeValues(reader.Read(f1 + "ChData_0"));
    ASSERT_EQ(temperature.size(), 2u);
    EXPECT_EQ(temperature[1].Time, 200);

    const TPairs range = {{"ChDescAmount", "2"}, {"ChDescTmin", "100"}, {"ChDescTmax", "200"}, {"ChDescBlocks", "1"}};
    TPairs expected0 = {{"ChDescName", "Humidity"}, {"ChDescUnit", "%rH"}, {"ChDescQelName", "-"},
                        {"ChDescQelModel", "-"}, {"ChDescQelSN", "-"}};
    expected0.insert(expected0.end(), range.begin(), range.end());
    EXPECT_EQ(DecodePairs(reader.Read(f0 + "ChDesc_0")), expected0);
    TPairs expected1 = {{"ChDescName", "Temperature"}, {"ChDescUnit", "\xC2\xB0" "C"}, {"ChDescQelName", "Cellar"},
                        {"ChDescQelModel", "QEL629"}, {"ChDescQelSN", "4711"}};
    expected1.insert(expected1.end(), range.begin(), range.end());
    EXPECT_EQ(DecodePairs(reader.Read(f1 + "ChDesc_0")), expected1);
    const TPairs expected2 = {{"ChDescName", "CH2"}, {"ChDescAmount", "1"}, {"ChDescTmin", "300"},
                              {"ChDescTmax", "300"}, {"ChDescBlocks", "1"}};
    EXPECT_EQ(DecodePairs(reader.Read(f2 + "ChDesc_0")), expected2);
}

TEST_F(X2WriteChannelList, SaveWithoutValuesWritesTheFileEntryOverAnEmptyFile)
{
    const std::string path = FDir.File("none.qrec");
    qeltest::WriteWholeFile(path, "");   // the test file the application may create first
    qel::TX2WriteChannelList list;
    list.StartSave(path);
    list.AddChannel(0, "Temperature", "C");
    list.FinishSave();

    const TZipTestReader reader(path);
    EXPECT_EQ(reader.Names(), std::vector<std::string>{"File"});
    EXPECT_EQ(DecodePairs(reader.Read("File")),
              (TPairs{{"FileType", "QELZip"}, {"FileRevision", "0"}, {"FileCreator", "/opt/qel/reader"}}));
    EXPECT_EQ(qeltest::RunUnzipTest(path).ExitCode, 0);
}

TEST_F(X2WriteChannelList, AbandonedSaveLeavesTheOldFileAndTheListIsReusable)
{
    const std::string path = FDir.File("old.qrec");
    qeltest::WriteWholeFile(path, "the previous save");
    qel::TX2WriteChannelList list;
    list.StartSave(path);
    list.AddChannel(0, "A", "V");
    for (int i = 0; i < 15000; ++i) {
        list.SaveValue(0, i, 1.0f);
    }
    list.AbandonSave();
    EXPECT_FALSE(list.Opened());
    EXPECT_EQ(qeltest::ReadWholeFile(path), "the previous save");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(FDir.Path()), {}), 1);

    list.StartSave(path);
    EXPECT_EQ(list.Count(), 0);
    list.SaveValue(4, 1, 2.0f);
    list.FinishSave();
    const TZipTestReader reader(path);
    const TPairs pairs = DecodePairs(reader.Read("CHANNELS\\CHANNEL_0\\ChDesc_0"));
    ASSERT_FALSE(pairs.empty());
    EXPECT_EQ(pairs[0], (std::pair<std::string, std::string>{"ChDescName", "CH0"}));
}

// StartWriting hands the save to the caller's writer: the list opens it on
// the first value and completes it; the caller's writer outlives the list.
TEST_F(X2WriteChannelList, StartWritingSendsTheValuesToTheCallersWriter)
{
    qel::TQelZipWriteFile writer;
    {
        qel::TX2WriteChannelList list;
        list.StartWriting(writer);
        list.StartSave(FDir.File("given.qrec"));
        list.AddChannel(0, "B", "mV");
        list.SaveValue(0, 20, 2.0f);
        list.SaveValue(0, 30, 3.0f);
        EXPECT_TRUE(writer.Opened()) << "the first value opened the given writer";
        list.FinishSave();
        EXPECT_FALSE(writer.Opened());
    }
    qel::TQelZipReadFile file;
    ASSERT_TRUE(file.OpenFile(FDir.File("given.qrec")));
    ASSERT_EQ(file.ChannelCount(), 1);
    EXPECT_EQ(file.Channel(0)->GetName(), "B");
    EXPECT_EQ(file.Channel(0)->GetUnit(), "mV");
    std::int64_t amount = 0, tmin = 0, tmax = 0;
    ASSERT_TRUE(file.Channel(0)->GetRangeInfo(amount, tmin, tmax));
    EXPECT_EQ(amount, 2);
    EXPECT_EQ(tmin, 20);
    EXPECT_EQ(tmax, 30);
}

} // namespace
