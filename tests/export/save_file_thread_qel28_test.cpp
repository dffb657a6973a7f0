// QEL28 saver: header-block sequence, stored name and channel identities, and
// the SE page file beside each part with its exact lines.
#include "card/se_pages.h"
#include "export/data_file.h"
#include "export/save_file_thread_qel28.h"
#include "export/saver_selection.h"
#include "foundations/qel_error.h"
#include "loggers/qel28.h"
#include "loggers/qel539c.h"
#include "tests/export/save_fixture.h"
#include "tests/export/single_block.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using qeltest::PayloadCursor;
using qeltest::SingleBlock;

class Qel28SaverTest : public qeltest::SaveFixture {
protected:
    Qel28SaverTest() { qel::SEPageList.Clear(); }
    ~Qel28SaverTest() override { qel::SEPageList.Clear(); }

    void ExpectSaved() const
    {
        EXPECT_EQ(States(), (std::vector<plat::WPARAM>{qel::THREAD_STARTED, qel::THREAD_SAVED, qel::THREAD_FINISHED}))
            << qel::LastErrorMsg();
    }

    static void AddChannel(qel::TQEL28& logger, const char* name, std::uint16_t chID)
    {
        auto* channel = new qel::qel28::TQelChannel;
        channel->Info.sName = name;
        channel->Info.chID = chID;
        logger.Channels.Add(channel);
    }
};

// The SE page file's head line, built apart from the saver.
std::string HeadLine()
{
    std::string line = ";job;order;index;page;size";
    for (int i = 0; i < 1024; ++i) {
        line += ";+" + std::to_string(i);
    }
    return line + "\r\n";
}

// A line of the SE page file: the fields, then 1024 cells of which the first
// hold the bytes.
std::string PageLine(const std::string& fields, const std::vector<std::uint8_t>& bytes)
{
    std::string line = fields;
    for (std::size_t i = 0; i < 1024; ++i) {
        line += ';';
        if (i < bytes.size()) {
            line += std::to_string(bytes[i]);
        }
    }
    return line + "\r\n";
}

TEST_F(Qel28SaverTest, SelectedForModelCode6626WithItsHeaderBlocksAndAnSEPageFilePerPart)
{
    EXPECT_EQ(qel::GetSaveFileThreadClass(0x6626, 0x0000), &qel::TSaveFileThreadQEL28::ClassInfo);
    EXPECT_EQ(qel::GetSaveFileThreadClass(0x6626, 0xFFFF), &qel::TSaveFileThreadQEL28::ClassInfo);

    std::vector<std::uint8_t> full(1024);
    for (std::size_t i = 0; i < full.size(); ++i) {
        full[i] = static_cast<std::uint8_t>(255 - i % 256);
    }
    const std::vector<std::uint8_t> ten = {0, 1, 2, 3, 4, 5, 6, 7, 8, 255};
    qel::SEPageList.Add(0xFFFFFFFF, 2, 3, 4)->SetData(full);
    qel::SEPageList.Add(1, 255, 0, 70000)->SetData(ten);
    qel::SEPageList.Add(7, 0, 1, 0);   // cut off: no data bytes
    qeltest::WriteWholeFile(dir.File("out.csv"), "an older file of the same name");

    qel::RecInfoList.SetMaxSize(1000);
    auto& logger = AddLogger<qel::TQEL28>(28, 0x6626, 0x0120);
    for (int i = 0; i < 1500; ++i) {
        AddSingle(logger, 0, i * 1000, static_cast<float>(i));
    }
    RunSave(&qel::TSaveFileThreadQEL28::ClassInfo);
    ExpectSaved();

    const std::string expected = HeadLine() + PageLine("0;4294967295;2;4;3;1024", full) +
                                 PageLine("1;1;255;70000;0;10", ten) + PageLine("2;7;0;0;1;0", {});
    const std::vector<std::uint16_t> header = {0, 20, 1, 2, 3, 13, 5, 25, 15, 6, 7, 26};
    for (const int part : {0, 1}) {
        const std::string csv = part == 0 ? "out.csv" : "out_E1.csv";
        EXPECT_EQ(qeltest::ReadWholeFile(dir.File(csv)), expected) << csv;
        std::vector<std::uint16_t> types = qeltest::BlockTypes(ReadPart(part));
        ASSERT_GT(types.size(), header.size()) << part;
        EXPECT_EQ(std::vector<std::uint16_t>(types.begin(), types.begin() + header.size()), header) << part;
        EXPECT_TRUE(std::all_of(types.begin() + header.size(), types.end(), [](auto t) { return t == 8; })) << part;
    }
    EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"out.csv", "out.qel", "out_E1.csv", "out_E1.qel"}));
}

TEST_F(Qel28SaverTest, WithoutSEPagesTheFileHoldsTheHeadLineOnly)
{
    AddSingle(AddLogger<qel::TQEL28>(28, 0x6626, 0x0120), 0, 0, 1.0f);
    RunSave(&qel::TSaveFileThreadQEL28::ClassInfo);
    ExpectSaved();
    EXPECT_EQ(qeltest::ReadWholeFile(dir.File("out.csv")), HeadLine());
}

TEST_F(Qel28SaverTest, StoredNameNeedsVersionAbove101AndChannelIdentityIsLayout1)
{
    for (const auto& [version, stored] : {std::pair{0x0101, ""}, std::pair{0x0102, "Kessel"}}) {
        ResetSave();
        auto& logger = AddLogger<qel::TQEL28>(28, 0x6626, static_cast<std::uint16_t>(version));
        logger.QELNAME = "Kessel";
        AddChannel(logger, "T", 0x0011);
        AddChannel(logger, "RH", 0x0022);
        AddSingle(logger, 5, 0, 1.0f);    // channel 1, minimum
        AddSingle(logger, 12, 0, 2.0f);   // beyond the channels
        qel::ReadBufferList[0]->channel_sn = 555;
        RunSave(&qel::TSaveFileThreadQEL28::ClassInfo);
        ExpectSaved();
        const qeltest::BlockFileContent content = ReadPart(0);
        PayloadCursor names(SingleBlock(content, qel::BLOCK_STORED_NAMES));
        PayloadCursor channels(SingleBlock(content, qel::BLOCK_CHANNEL_IDENTITY));
        EXPECT_EQ(channels.Word(), 1) << "layout 1";
        for (const std::uint32_t ch : {5u, 12u}) {
            EXPECT_EQ(names.String(), stored) << version;
            EXPECT_EQ(channels.Longint(), ch == 5 ? 555 : 0);
            EXPECT_EQ(channels.Word(), 0x6626);
            EXPECT_EQ(channels.Word(), version);
            EXPECT_EQ(channels.Word(), logger.getChID(ch));
        }
        EXPECT_TRUE(names.AtEnd());
        EXPECT_TRUE(channels.AtEnd());
        EXPECT_EQ(PayloadCursor(SingleBlock(content, qel::BLOCK_CHANNEL_NAMES)).String(), "RH min");
    }
}

TEST_F(Qel28SaverTest, RowsHoldTheSinglesAsStored)
{
    auto& logger = AddLogger<qel::TQEL28>(28, 0x6626, 0x0120);
    AddSingle(logger, 0, 0, 20.5f);
    AddSingle(logger, 1, 2048, -7.25f);
    RunSave(&qel::TSaveFileThreadQEL28::ClassInfo);
    ExpectSaved();
    PayloadCursor rows(SingleBlock(ReadPart(0), qel::BLOCK_ROWS));
    EXPECT_EQ(rows.Double(), 0.0);
    EXPECT_EQ(rows.Single(), 20.5f);
    EXPECT_EQ(rows.SingleBits(), 0xFFFFFFFFu);
    EXPECT_EQ(rows.Double(), 2048.0 / 1024000.0 / 86400.0);
    EXPECT_EQ(rows.SingleBits(), 0xFFFFFFFFu);
    EXPECT_EQ(rows.Single(), -7.25f);
    EXPECT_TRUE(rows.AtEnd());
}

TEST_F(Qel28SaverTest, CurrentLoggerOfAnotherClassFailsTheSaveWithoutFiles)
{
    qel::SEPageList.Add(1, 2, 3, 4);
    AddSingle(AddLogger<qel::TQEL28>(28, 0x6626, 0x0120), 0, 0, 1.0f);
    AddLogger<qel::TQEL539C>(1, 0x6615, 0x0300);   // now the current logger
    RunSave(&qel::TSaveFileThreadQEL28::ClassInfo);
    EXPECT_EQ(FailureCode(), 0);
    EXPECT_EQ(qel::LastErrorMsg(), "Invalid class typecast");
    EXPECT_TRUE(FolderEntries().empty()) << "the SE page file of the failed part is dropped too";
}

} // namespace
