// The record page's tree: loggers, "Select all" and record nodes from the
// record list, their texts and columns in both languages, showing one
// logger at a time, the selection rule of Next and the directory list.
#include "tests/app/main_window_fixture.h"

#include "app/record_tree.h"
#include "card/card_records.h"
#include "card/ext_card.h"
#include "card/thread_status.h"
#include "foundations/settings.h"
#include "platform/canvas/bitmap.h"
#include "platform/canvas/canvas.h"
#include "platform/controls/standard/button.h"
#include "platform/controls/standard/menu_item.h"
#include "platform/controls/standard/popup_menu.h"
#include "platform/canvas/pixel_surface.h"
#include "widgets/tree/dt_header.h"
#include "widgets/tree/tree_geometry_types.h"

#include <filesystem>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

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
    // The width a cell needs for Text in a column beside the main one: the
    // tree's margin, the text and its margins on both sides.
    int CellWidthFor(const std::string& Text)
    {
        plat::TBitmap bitmap(1, 1, plat::pf32bit);
        bitmap.Canvas()->Font()->Assign(Main->DT->Font());
        return Main->DT->Margin() + 2 * Main->DT->TextMargin() + bitmap.Canvas()->TextWidth(Text);
    }
    std::string DirectoryListFile() const { return RegSettings.sRegFileDir + "directory list.txt"; }

    // The x offsets of a node's row elements in the record column.
    TDTOffsets Offsets(PDataNode Node)
    {
        TDTOffsets offsets{};
        Main->DT->GetOffsets(Node, offsets, ofsText, RECORD_COLUMN);
        return offsets;
    }
    // The part of Node's row from Left to Right (tree client coordinates).
    plat::TRect RowPart(PDataNode Node, int Left, int Right)
    {
        const plat::TRect row = Main->DT->GetDisplayRect(Node, RECORD_COLUMN, false);
        return plat::Rect(Left, row.Top, Right, row.Bottom);
    }
    // How many pixels of Area (tree client coordinates) differ from the
    // tree's background in the window's picture.
    int DrawnPixels(plat::TPixelSurface& Picture, const plat::TRect& Area)
    {
        const plat::TPoint origin = Main->ClientToScreen(plat::Point(0, 0));
        const auto at = [&](int X, int Y) {
            const plat::TPoint p = Main->DT->ClientToScreen(plat::Point(X, Y));
            const std::uint8_t* pixel = Picture.ScanLine(p.Y - origin.Y) + 4 * (p.X - origin.X);
            return static_cast<plat::TColor>(pixel[2] | (pixel[1] << 8) | (pixel[0] << 16));
        };
        const plat::TColor background = plat::ColorToRGB(Main->DT->Color());
        int drawn = 0;
        for (int y = Area.Top; y < Area.Bottom; ++y) {
            for (int x = Area.Left; x < Area.Right; ++x) {
                drawn += at(x, y) != background ? 1 : 0;
            }
        }
        return drawn;
    }
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

// The columns fit the widest text of the rows the page shows, never
// narrower than their minimum, and the last takes the width the others leave.
TEST_F(RecordTreeTest, ColumnsFitTheWidestTextAndTheLastTakesTheRest)
{
    Start();
    AddRecord(1, 3);
    AddRecord(1, 1000000000000);   // a cluster count wider than the column's 80 pixels
    AddRecord(2, 1);
    DirectoryReadFinished();
    TRecordTree& tree = *Main->DT;
    TDataTreeColumns& columns = tree.Header()->Columns();
    EXPECT_EQ(columns[RECORD_COLUMN]->Width(), 200);
    EXPECT_EQ(columns[START_TIME_COLUMN]->Width(), 150);
    const int pagesWidth = CellWidthFor("1000000000000");
    ASSERT_GT(pagesWidth, 80);
    EXPECT_EQ(columns[PAGES_COLUMN]->Width(), pagesWidth);
    EXPECT_EQ(columns[POSITION_COLUMN]->Width(), std::max(80, tree.ClientWidth() - 350 - pagesWidth));
    Shot("record_tree_wide_pages");

    // A new fill with short texts only: back to the minimum widths, the
    // last column filling the client width.
    RecInfoList.Clear();
    AddRecord(1, 3);
    Main->FillRecordTree();
    EXPECT_EQ(columns[PAGES_COLUMN]->Width(), 80);
    EXPECT_EQ(columns[POSITION_COLUMN]->Width(), std::max(80, tree.ClientWidth() - 430));
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

TEST_F(RecordTreeTest, NextWithoutACheckedRecordOfTheCheckedLoggerDoesNothing)
{
    Start();
    for (std::uint32_t serial : {1u, 2u}) {
        AddRecord(serial);
    }
    DirectoryReadFinished();
    TRecordTree& tree = *Main->DT;
    // A checked record of the logger that is not chosen does not count.
    tree.SetCheckState(RecordsOf(Loggers()[1])[0], csCheckedNormal);
    ASSERT_EQ(Loggers()[0]->CheckState, csCheckedNormal);
    ASSERT_TRUE(Main->btnInfoOK->Enabled());
    std::vector<int> pages;
    Main->OnPageShown = [&](int Page) { pages.push_back(Page); };
    ClickOn(Main->btnInfoOK);
    EXPECT_EQ(Main->PageIndex(), PAGE_INFO);
    EXPECT_TRUE(pages.empty());
    EXPECT_FALSE(Main->WorkerRunning());
    EXPECT_TRUE(Dialogs.Shown().empty()) << "no box shows";
    for (int i = 0; i < RecInfoList.Count(); ++i) {
        EXPECT_FALSE(RecInfoList.GetItem(i)->Selected) << i;
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

// The record page as the user sees it: a radio button before each logger,
// a check box before "Select all" and each record, tree lines in the
// indentation and an expand button on the shown logger only (the others'
// children are hidden).
TEST_F(RecordTreeTest, RecordPageDrawsRadioButtonsCheckBoxesLinesAndButtons)
{
    Start();
    for (std::uint32_t serial : {1u, 1u, 2u, 3u}) {
        AddRecord(serial);
    }
    DirectoryReadFinished();
    Shot("record_tree_marks");
    const auto picture = Host->Capture(Main->Handle());
    const std::vector<PDataNode> loggers = Loggers();
    const PDataNode selectAll = loggers[0]->FirstChild;
    const PDataNode record = RecordsOf(loggers[0])[1];
    // The caption stands where the geometry says: the picture is read right.
    const TDTOffsets caption = Offsets(loggers[0]);
    ASSERT_GT(DrawnPixels(*picture, RowPart(loggers[0], caption[ofsText], caption[ofsText] + 20)), 0);
    for (PDataNode node : {loggers[0], loggers[1], selectAll, record}) {
        const TDTOffsets o = Offsets(node);
        EXPECT_GE(o[ofsStateImage] - o[ofsCheckBox], 10) << "room for the check mark of level " << Main->DT->GetNodeLevel(node);
        EXPECT_GT(DrawnPixels(*picture, RowPart(node, o[ofsCheckBox], o[ofsStateImage])), 10)
            << "a check mark drawn at level " << Main->DT->GetNodeLevel(node);
    }
    // The tree lines cross the button's place; a button's frame adds far more.
    const TDTOffsets shown = Offsets(loggers[0]);
    const int button = DrawnPixels(*picture, RowPart(loggers[0], shown[ofsToggleButton], shown[ofsToggleButton] + 9));
    EXPECT_GT(button, 24) << "the shown logger's expand button";
    const TDTOffsets hidden = Offsets(loggers[1]);
    EXPECT_LT(DrawnPixels(*picture, RowPart(loggers[1], hidden[ofsToggleButton], hidden[ofsToggleButton] + 9)),
              button / 2)
        << "no button on a logger whose children are hidden";
    const TDTOffsets indent = Offsets(record);
    EXPECT_GT(DrawnPixels(*picture, RowPart(record, indent[ofsMargin], indent[ofsCheckBox])), 0)
        << "tree lines in a record's indentation";
}

// Choosing by the mouse: a click on a logger's radio button checks it and
// shows its records, a click on a record's check box checks the record,
// and the tree takes the keyboard.
TEST_F(RecordTreeTest, ClicksOnTheMarksCheckAndFocusTheTree)
{
    Start();
    for (std::uint32_t serial : {1u, 2u, 2u}) {
        AddRecord(serial);
    }
    DirectoryReadFinished();
    TRecordTree& tree = *Main->DT;
    const auto clickMark = [&](PDataNode Node) {
        const TDTOffsets o = Offsets(Node);
        const plat::TRect row = tree.GetDisplayRect(Node, RECORD_COLUMN, false);
        const plat::TPoint at = tree.ClientToScreen(plat::Point((o[ofsCheckBox] + o[ofsStateImage]) / 2,
                                                                (row.Top + row.Bottom) / 2));
        Host->MouseMove(at);
        Host->Click(at);
        Pump();
    };
    clickMark(Loggers()[1]);
    EXPECT_EQ(Loggers()[1]->CheckState, csCheckedNormal);
    EXPECT_EQ(Loggers()[0]->CheckState, csUncheckedNormal);
    EXPECT_TRUE(tree.GetVisible(Loggers()[1]->FirstChild));
    EXPECT_TRUE(tree.Focused()) << "a click gives the tree the keyboard";
    clickMark(RecordsOf(Loggers()[1])[1]);
    EXPECT_EQ(RecordsOf(Loggers()[1])[1]->CheckState, csCheckedNormal);
    EXPECT_EQ(Loggers()[1]->FirstChild->CheckState, csMixedNormal);
    EXPECT_EQ(tree.SelectCheckedRecords(RecInfoList), 1);
}

// What a filled tree shows of itself: every node (hidden ones too) with its
// level, caption, check, visibility and expansion, the selection, the top
// node and the column widths.
std::string TreeState(TRecordTree& Tree)
{
    std::string state;
    for (PDataNode node = Tree.GetFirst(); node != nullptr; node = Tree.GetNext(node)) {
        state += std::to_string(Tree.GetNodeLevel(node)) + " " + Tree.NodeData(node)->Caption + " check " +
                 std::to_string(static_cast<int>(node->CheckState)) + (node->States.Contains(vsVisible) ? " shown" : " hidden") +
                 (node->States.Contains(vsExpanded) ? " expanded" : "") + (Tree.GetSelected(node) ? " selected" : "") +
                 (node == Tree.TopNode() ? " top" : "") + "\n";
    }
    for (int column = 0; column < Tree.Header()->Columns().Count(); ++column) {
        state += "width " + std::to_string(Tree.Header()->Columns()[column]->Width()) + "\n";
    }
    return state;
}

TEST_F(RecordTreeTest, FillingInStepsGivesTheTreeOfOneFill)
{
    Start();
    // Loggers 7, 3, 7 again; the shown logger's widest cluster count comes
    // first, its widest position last, beyond the columns' minimum widths.
    AddRecord(7, 1000000000000, 0, MAY_17_0830);
    for (int i = 1; i < 5; ++i) {
        AddRecord(7, 1 + i, i == 4 ? 2000000000 : i, MAY_17_0830 + i * TICKS_PER_SECOND);
    }
    for (int i = 0; i < 4; ++i) {
        AddRecord(3, 900000 + i, 123456789 + i);
    }
    AddRecord(7, 2);
    AddRecord(7, 12345678, 987654321);
    TRecordTree& tree = *Main->DT;
    ASSERT_EQ(tree.FillRecordTree(RecInfoList, ExtCard), 11);
    const std::string whole = TreeState(tree);
    for (const int step : {1, 2, 4, 6, 11, 100}) {
        tree.BeginFill(RecInfoList, ExtCard);
        int steps = 1;
        while (!tree.FillStep(step)) {
            EXPECT_TRUE(tree.Filling()) << step;
            ++steps;
        }
        EXPECT_EQ(steps, (11 + step - 1) / step) << step;
        EXPECT_FALSE(tree.Filling()) << step;
        EXPECT_EQ(tree.FilledRecords(), 11) << step;
        EXPECT_EQ(TreeState(tree), whole) << "steps of " << step;
    }
}

TEST_F(RecordTreeTest, RecordPageShowsAfterTheFirstStepAndOkWaitsForTheLast)
{
    Start();
    constexpr int RECORDS = 2500;   // more than the window's first step
    for (int i = 0; i < RECORDS; ++i) {
        AddRecord(i < 2200 ? 5 : 6, 1, i, MAY_17_0830 + i * TICKS_PER_SECOND);
    }
    Main->Perform(WM_CARD_DIR_STATUS, THREAD_FINISHED, 0);
    EXPECT_EQ(Main->PageIndex(), PAGE_INFO);
    EXPECT_TRUE(Main->DT->Filling());
    EXPECT_LT(Main->DT->FilledRecords(), RECORDS);
    EXPECT_GT(Main->DT->FilledRecords(), 0);
    EXPECT_FALSE(Main->btnInfoOK->Enabled());
    Pump();
    EXPECT_FALSE(Main->DT->Filling());
    EXPECT_EQ(Main->DT->FilledRecords(), RECORDS);
    EXPECT_TRUE(Main->btnInfoOK->Enabled());
    const std::vector<PDataNode> loggers = Loggers();
    ASSERT_EQ(loggers.size(), 2u);
    EXPECT_EQ(RecordsOf(loggers[0]).size(), 2200u);
    EXPECT_EQ(RecordsOf(loggers[1]).size(), 300u);
    EXPECT_FALSE(Main->DT->GetVisible(loggers[1]->FirstChild));

    // A tree cleared while it fills (a new read begins) stays empty.
    Main->Perform(WM_CARD_DIR_STATUS, THREAD_FINISHED, 0);
    ASSERT_TRUE(Main->DT->Filling());
    Main->DT->Clear();
    Pump();
    EXPECT_FALSE(Main->DT->Filling());
    EXPECT_TRUE(Main->DT->IsEmpty());
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
    // Checks and hiding change nothing in the list.
    Main->DT->SetCheckState(RecordsOf(Loggers()[0])[1], csCheckedNormal);
    ASSERT_FALSE(Main->DT->GetVisible(Loggers()[1]->FirstChild));
    const std::string fileName = DirectoryListFile();
    qeltest::WriteWholeFile(fileName, std::string(500, 'x'));   // an older, longer list is replaced
    EXPECT_EQ(Main->DT->PopupMenu(), Main->PopupMenu1);
    EXPECT_EQ(Main->popSaveDir->Caption(), "Save directory list!");
    Dialogs.ExpectMessageBox(plat::mbOK);
    Main->popSaveDir->Click();
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
    const std::string fileName = DirectoryListFile();
    EXPECT_TRUE(std::filesystem::exists(fileName));
    EXPECT_EQ(qeltest::ReadWholeFile(fileName), "");
    ASSERT_EQ(Dialogs.Shown().size(), 1u);
    EXPECT_EQ(Dialogs.Shown()[0].Text, fileName + ": OK");
    RegSettings.sRegFileDir = Dir.File("gone");
    Dialogs.ExpectMessageBox(plat::mbOK);
    Main->popSaveDirClick(nullptr);
    EXPECT_EQ(ErrorTexts(), std::vector<std::string>{Dir.File("gone") + "/directory list.txt: ??"});
}

// Targets that cannot take the list: an error box naming the file, and
// whatever stood there stays.
TEST_F(RecordTreeTest, DirectoryListThatCannotBeWrittenSaysSo)
{
    Start();
    AddRecord(1);
    DirectoryReadFinished();
    struct TCase {
        const char* Name;
        std::string Folder;
        std::function<void(const std::string& Folder)> Prepare;
    };
    const TCase cases[] = {
        {"a folder in the file's place", Dir.File("taken/"),
         [](const std::string& Folder) { std::filesystem::create_directories(Folder + "directory list.txt"); }},
        {"a read-only folder", Dir.File("read-only/"),
         [](const std::string& Folder) {
             std::filesystem::create_directories(Folder);
             chmod(Folder.c_str(), 0555);
         }},
    };
    for (const TCase& c : cases) {
        if (std::string(c.Name) == "a read-only folder" && geteuid() == 0) {
            continue;   // the superuser writes into any folder
        }
        c.Prepare(c.Folder);
        RegSettings.sRegFileDir = c.Folder;
        Dialogs = plat::TScriptedDialogs();
        Dialogs.ExpectMessageBox(plat::mbOK);
        Main->popSaveDirClick(nullptr);
        EXPECT_EQ(ErrorTexts(), std::vector<std::string>{c.Folder + "directory list.txt: ??"}) << c.Name;
        EXPECT_FALSE(std::filesystem::is_regular_file(c.Folder + "directory list.txt")) << c.Name;
        chmod(c.Folder.c_str(), 0755);
    }
}

} // namespace
} // namespace qel::test
