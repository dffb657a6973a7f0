// The record page's tree: loggers, "Select all" and record nodes from the
// record list, their texts and columns in both languages, showing one
// logger at a time, the selection rule of Next and the directory list.
#include "tests/app/main_window_fixture.h"

#include "app/record_tree.h"
#include "card/card_records.h"
#include "card/ext_card.h"
#include "card/thread_status.h"
#include "foundations/settings.h"
#include "platform/controls/standard/button.h"
#include "widgets/tree/dt_header.h"

#include <filesystem>

namespace qel::test {
namespace {

// 2024-05-17 08:30:00 in logger ticks (1,024,000 a second since 2000).
constexpr std::int64_t MAY_17_0830 = 787711795200000;
constexpr std::int64_t TICKS_PER_SECOND = 1024000;

class RecordTreeTest : public TMainWindowTest {
protected:
    // A record of logger Serial, Clusters long at card position Pos.
    static void AddRecord(std::uint32_t Serial, std::int64_t Clusters = 1, std::int32_t Pos = 0,
                          std::int64_t Time = MAY_17_0830)
    {
        auto* record = new TCardRecord;
        record->SN_CARD = Serial;
        record->Pos = Pos;
        record->Info.Time = Time;
        record->FirstPos = TCardPosition{0, 10};
        record->LastPos = TCardPosition{0, 10 + Clusters - 1};
        RecInfoList.Add(record);
    }
    // The directory read has finished: the tree is filled, page 1 shows.
    void DirectoryReadFinished() { Status(WM_CARD_DIR_STATUS, THREAD_FINISHED); }

    std::vector<PDataNode> Loggers()
    {
        std::vector<PDataNode> nodes;
        for (PDataNode node = Main->DT->GetFirst(); node != nullptr; node = Main->DT->GetNextSibling(node)) {
            nodes.push_back(node);
        }
        return nodes;
    }
    std::vector<PDataNode> RecordsOf(PDataNode Logger)
    {
        std::vector<PDataNode> nodes;
        for (PDataNode node = Logger->FirstChild->FirstChild; node != nullptr;
             node = Main->DT->GetNextSibling(node)) {
            nodes.push_back(node);
        }
        return nodes;
    }
    std::string Cell(PDataNode Node, TColumnIndex Column) { return Main->DT->GetText(Node, Column); }
};

TEST_F(RecordTreeTest, ColumnsInBothLanguages)
{
    struct TCase {
        int Language;
        std::vector<std::string> Headers;
        std::string SelectAll;
    };
    const TCase cases[] = {
        {0, {"Record", "Start time", "Pages", "Position"}, "Select all"},
        {1, {"Record", "Startzeit", "Seiten", "Position"}, "Alle auswählen"},
    };
    for (const TCase& c : cases) {
        StoreSuiteInteger("Language", c.Language);
        Start();
        AddRecord(7);
        DirectoryReadFinished();
        TDataTreeColumns& columns = Main->DT->Header()->Columns();
        ASSERT_EQ(columns.Count(), 4);
        const int minWidths[] = {200, 150, 80, 80};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(columns.Items(i)->Text(), c.Headers[static_cast<std::size_t>(i)]) << i;
            EXPECT_EQ(columns.Items(i)->MinWidth(), minWidths[i]) << i;
            EXPECT_FALSE(columns.Items(i)->Options().Contains(coAllowClick)) << i;
        }
        EXPECT_EQ(Main->DT->Header()->AutoSizeIndex(), 3);
        EXPECT_TRUE(Main->DT->Header()->Options().Contains(hoVisible));
        EXPECT_EQ(Cell(Loggers()[0]->FirstChild, RECORD_COLUMN), c.SelectAll);
        Shot(std::string("record_tree_") + (c.Language == 1 ? "de" : "en"));
        Stop();
    }
}

TEST_F(RecordTreeTest, ALoggerNodeStartsWheneverTheSerialChanges)
{
    Start();
    AddRecord(100);
    AddRecord(200);
    AddRecord(100);
    AddRecord(4294967295u);
    AddRecord(4294967295u);
    DirectoryReadFinished();
    EXPECT_EQ(Main->PageIndex(), PAGE_INFO);
    EXPECT_TRUE(Main->btnInfoOK->Enabled());
    const std::vector<PDataNode> loggers = Loggers();
    ASSERT_EQ(loggers.size(), 4u);
    const char* names[] = {"QEL100", "QEL200", "QEL100", "QEL4294967295"};
    const std::size_t counts[] = {1, 1, 1, 2};
    for (std::size_t i = 0; i < loggers.size(); ++i) {
        EXPECT_EQ(Cell(loggers[i], RECORD_COLUMN), names[i]) << i;
        EXPECT_EQ(loggers[i]->CheckType, ctRadioButton) << i;
        EXPECT_EQ(loggers[i]->CheckState, i == 0 ? csCheckedNormal : csUncheckedNormal) << i;
        EXPECT_EQ(RecordsOf(loggers[i]).size(), counts[i]) << i;
        EXPECT_EQ(loggers[i]->FirstChild->CheckType, ctTriStateCheckBox) << i;
    }
    // Record numbers count through the whole list.
    EXPECT_EQ(Cell(RecordsOf(loggers[3])[1], RECORD_COLUMN), "5");
}

TEST_F(RecordTreeTest, RecordTextsTimeClustersAndPosition)
{
    Start();
    AddRecord(123456, 42, 4, MAY_17_0830);
    AddRecord(123456, 3, 0, MAY_17_0830 + 5 * TICKS_PER_SECOND);
    auto* wrapped = static_cast<TCardRecord*>(RecInfoList.GetItem(1));
    wrapped->bMemoryCirculation = true;
    wrapped->FirstPos2 = TCardPosition{0, 0};
    wrapped->LastPos2 = TCardPosition{0, 6};
    DirectoryReadFinished();
    const std::vector<PDataNode> records = RecordsOf(Loggers()[0]);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_TRUE(Cell(records[0], START_TIME_COLUMN).ends_with(" 08:30:00")) << Cell(records[0], START_TIME_COLUMN);
    EXPECT_EQ(Cell(records[0], PAGES_COLUMN), "42");
    EXPECT_EQ(Cell(records[0], POSITION_COLUMN), "5");
    EXPECT_TRUE(Cell(records[1], START_TIME_COLUMN).ends_with(" 08:30:05"));
    EXPECT_EQ(Cell(records[1], PAGES_COLUMN), "10");   // 3 + the 7 after the card's end
    EXPECT_EQ(Cell(records[1], POSITION_COLUMN), "1");
}

TEST_F(RecordTreeTest, OneLoggerShowsAtATimeAndKeepsTheOthersChecks)
{
    Start();
    for (std::uint32_t serial : {1u, 1u, 2u, 2u, 3u}) {
        AddRecord(serial);
    }
    DirectoryReadFinished();
    TRecordTree& tree = *Main->DT;
    std::vector<PDataNode> loggers = Loggers();
    ASSERT_EQ(loggers.size(), 3u);
    EXPECT_TRUE(tree.GetExpanded(loggers[0]));
    EXPECT_TRUE(tree.GetVisible(loggers[0]->FirstChild));
    EXPECT_EQ(tree.TopNode(), loggers[0]);
    for (std::size_t i : {1u, 2u}) {
        EXPECT_FALSE(tree.GetExpanded(loggers[i])) << i;
        EXPECT_FALSE(tree.GetVisible(loggers[i]->FirstChild)) << i;
        EXPECT_EQ(tree.GetFirstVisibleChild(loggers[i]), nullptr) << i;
    }
    // Check a record of the first logger, then choose the second.
    tree.SetCheckState(RecordsOf(loggers[0])[0], csCheckedNormal);
    tree.SetCheckState(loggers[1], csCheckedNormal);
    EXPECT_EQ(loggers[0]->CheckState, csUncheckedNormal);
    EXPECT_TRUE(tree.GetSelected(loggers[1]));
    EXPECT_TRUE(tree.GetExpanded(loggers[1]));
    EXPECT_FALSE(tree.GetVisible(loggers[0]->FirstChild));
    EXPECT_EQ(RecordsOf(loggers[0])[0]->CheckState, csCheckedNormal);
    // No record of the second logger checked: Next selects nothing.
    EXPECT_EQ(tree.SelectCheckedRecords(RecInfoList), 0);
    tree.SetCheckState(RecordsOf(loggers[1])[1], csCheckedNormal);
    EXPECT_EQ(tree.SelectCheckedRecords(RecInfoList), 1);
    for (int i = 0; i < RecInfoList.Count(); ++i) {
        EXPECT_EQ(RecInfoList.GetItem(i)->Selected, i == 3) << i;
    }
}

TEST_F(RecordTreeTest, SelectAllChecksEveryRecordAndShowsMixed)
{
    Start();
    for (int i = 0; i < 3; ++i) {
        AddRecord(5);
    }
    DirectoryReadFinished();
    TRecordTree& tree = *Main->DT;
    PDataNode selectAll = Loggers()[0]->FirstChild;
    tree.SetCheckState(selectAll, csCheckedNormal);
    for (PDataNode record : RecordsOf(Loggers()[0])) {
        EXPECT_EQ(record->CheckState, csCheckedNormal);
    }
    EXPECT_EQ(tree.SelectCheckedRecords(RecInfoList), 3);
    tree.SetCheckState(RecordsOf(Loggers()[0])[1], csUncheckedNormal);
    EXPECT_EQ(selectAll->CheckState, csMixedNormal);
    EXPECT_EQ(Loggers()[0]->CheckState, csCheckedNormal);
    EXPECT_EQ(tree.SelectCheckedRecords(RecInfoList), 2);
}

TEST_F(RecordTreeTest, EmptyRecordListGivesAnEmptyTreeAndNoNext)
{
    Start();
    Main->btnInfoOK->SetEnabled(true);
    DirectoryReadFinished();
    EXPECT_EQ(Main->PageIndex(), PAGE_INFO);
    EXPECT_TRUE(Main->DT->IsEmpty());
    EXPECT_FALSE(Main->btnInfoOK->Enabled());
    EXPECT_TRUE(Main->btnInfoCancel->Focused());
}

TEST_F(RecordTreeTest, DirectoryListHasEveryRecordOfEveryLogger)
{
    StoreSuiteInteger("LocDate", 3);
    Start();
    AddRecord(123456, 1, 0);
    AddRecord(123456, 1, 1);
    AddRecord(123456, 42, 4);
    AddRecord(9, 2, 2);
    DirectoryReadFinished();
    Dialogs.ExpectMessageBox(plat::mbOK);
    Main->popSaveDirClick(nullptr);
    const std::string fileName = RegSettings.sRegFileDir + "directory list.txt";
    EXPECT_EQ(qeltest::ReadWholeFile(fileName), "QEL123456;17.05.2024 08:30:00;1;1\r\n"
                                                 "QEL123456;17.05.2024 08:30:00;1;2\r\n"
                                                 "QEL123456;17.05.2024 08:30:00;42;5\r\n"
                                                 "QEL9;17.05.2024 08:30:00;2;3\r\n");
    ASSERT_EQ(Dialogs.Shown().size(), 1u);
    EXPECT_EQ(Dialogs.Shown()[0].Text, fileName + ": OK");
    EXPECT_EQ(Dialogs.Shown()[0].Type, plat::mtInformation);
}

TEST_F(RecordTreeTest, DirectoryListOfNothingAndIntoAMissingFolder)
{
    Start();
    DirectoryReadFinished();
    Dialogs.ExpectMessageBox(plat::mbOK);
    Main->popSaveDirClick(nullptr);
    const std::string fileName = RegSettings.sRegFileDir + "directory list.txt";
    EXPECT_TRUE(std::filesystem::exists(fileName));
    EXPECT_EQ(qeltest::ReadWholeFile(fileName), "");
    RegSettings.sRegFileDir = Dir.File("gone");
    Dialogs.ExpectMessageBox(plat::mbOK);
    Main->popSaveDirClick(nullptr);
    EXPECT_EQ(ErrorTexts(), std::vector<std::string>{Dir.File("gone") + "/directory list.txt: ??"});
}

} // namespace
} // namespace qel::test
