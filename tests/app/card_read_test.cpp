// Card selection on the start page: the containers the card image takes
// after the open dialog and the question, what a new read clears, the
// cancel of a running read, and choices the reader cannot read.
#include "tests/app/main_window_fixture.h"

#include "app/record_tree.h"
#include "card/buffer_list.h"
#include "card/card_records.h"
#include "card/ext_card.h"
#include "loggers/qel_base.h"
#include "platform/controls/standard/button.h"
#include "platform/controls/standard/list_view.h"
#include "platform/controls/standard/list_view_items.h"
#include "tools/cardgen/card_generator.h"
#include "tools/cardgen/description_parser.h"
#include "widgets/pages/pgc_editor.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace qel::test {
namespace {

namespace fs = std::filesystem;

class CardReadTest : public TMainWindowTest {
protected:
    std::string Card(const std::string& Name)
    {
        const std::string name = Dir.File("card/" + Name);
        fs::create_directories(Dir.File("card"));
        qeltest::WriteWholeFile(name, "");
        return name;
    }
    std::vector<std::string> Containers() const
    {
        std::vector<std::string> names;
        for (int i = 0; i < ExtCard.Count(); ++i) {
            names.push_back(fs::path(ExtCard.GetItem(i)->Filename).filename().string());
        }
        return names;
    }
    // Start clicked, the dialog answered with FileName and the message box
    // that follows, if any, with Answer; the read ends.
    void ReadCard(const std::string& FileName, std::optional<plat::TMsgDlgBtn> Answer = std::nullopt,
                  const std::string& BoxPart = "")
    {
        Dialogs.ExpectOpenFile(FileName);
        if (Answer) {
            Dialogs.ExpectMessageBox(*Answer, BoxPart);
        }
        ClickOn(Main->btnStart);
        ASSERT_TRUE(PumpUntil([&] { return !Main->WorkerRunning() && Main->PageIndex() != PAGE_PROGRESS; }));
    }
};

TEST_F(CardReadTest, NumberedContainersJoinTheFirstAfterTheQuestion)
{
    struct TCase {
        const char* Chosen;
        std::optional<plat::TMsgDlgBtn> Answer;   // nothing: no question
        std::vector<std::string> Containers;
    };
    const TCase cases[] = {
        {"qel.dat", plat::mbYes, {"qel.dat", "qel1.dat", "qel2.dat"}},
        {"qel.dat", plat::mbNo, {"qel.dat"}},
        {"QEL.DAT", std::nullopt, {"QEL.DAT"}},
        {"qel3.dat", std::nullopt, {"qel3.dat"}},
        {"card.dat", std::nullopt, {"card.dat"}},
    };
    for (const TCase& c : cases) {
        for (const char* name : {"qel.dat", "qel1.dat", "qel2.dat", "qel4.dat", c.Chosen}) {
            Card(name);
        }
        Start();
        ReadCard(Dir.File(std::string("card/") + c.Chosen), c.Answer, "Should all containers be read?");
        EXPECT_EQ(Containers(), c.Containers) << c.Chosen;
        EXPECT_EQ(Dialogs.PendingCount(), 0u) << c.Chosen;
        // Empty containers hold no record: an empty tree, Next disabled.
        EXPECT_EQ(Main->PageIndex(), PAGE_INFO) << c.Chosen;
        EXPECT_FALSE(Main->btnInfoOK->Enabled()) << c.Chosen;
        Stop();
        Dialogs = plat::TScriptedDialogs();
        fs::remove_all(Dir.File("card"));
    }
}

TEST_F(CardReadTest, NoQuestionWithoutNumberedNeighbour)
{
    const std::string first = Card("qel.dat");
    Card("qel2.dat");   // the search stops at the missing qel1.dat
    Start();
    ReadCard(first);
    EXPECT_EQ(Containers(), std::vector<std::string>{"qel.dat"});
}

TEST_F(CardReadTest, DialogFilterFolderAndCancel)
{
    Start();
    Dialogs.ExpectOpenFileCancel();
    ClickOn(Main->btnStart);
    EXPECT_EQ(Main->PageIndex(), PAGE_START);
    EXPECT_TRUE(Main->btnStart->Enabled());
    EXPECT_FALSE(Main->WorkerRunning());
    ASSERT_EQ(Dialogs.Shown().size(), 1u);
    EXPECT_EQ(Dialogs.Shown()[0].Options.Filter, "QEL Card file (*.dat)|*.dat");
    EXPECT_EQ(Dialogs.Shown()[0].Options.InitialDir, Dir.File("bin/"));

    ReadCard(Card("card.dat"));
    Main->ShowPage(PAGE_START);
    Dialogs.ExpectOpenFileCancel();
    ClickOn(Main->btnStart);
    EXPECT_EQ(Dialogs.Shown().back().Options.InitialDir, Dir.File("card/"));
}

TEST_F(CardReadTest, ANewReadClearsTheFormerOneButNotTheWrittenFiles)
{
    Start();
    auto* record = new TCardRecord;
    RecInfoList.Add(record);
    Main->FillRecordTree();
    ASSERT_FALSE(Main->DT->IsEmpty());
    AddReadSample();   // a logger and its read data
    Main->lvwCutChannels->Items().Add()->SetCaption("Temperature");
    Main->AddSaveInfo("/data/written.qel");
    Main->ShowPage(PAGE_START);
    // What the window holds when the new reader starts.
    struct TSeen {
        int Records = -1;
        int Loggers = -1;
        int ReadBuffers = -1;
        int Channels = -1;
        bool TreeEmpty = false;
    } seen;
    Main->OnPageShown = [&](int Page) {
        if (Page == PAGE_PROGRESS) {
            seen = {RecInfoList.Count(), QelList.Count(), ReadBufferList.Count(), Main->lvwCutChannels->Items().Count(),
                    Main->DT->IsEmpty()};
        }
    };
    ReadCard(Card("card.dat"));
    EXPECT_EQ(seen.Records, 0);
    EXPECT_EQ(seen.Loggers, 0);
    EXPECT_EQ(seen.ReadBuffers, 0);
    EXPECT_EQ(seen.Channels, 0);
    EXPECT_TRUE(seen.TreeEmpty);
    EXPECT_EQ(RecInfoList.Count(), 0);
    EXPECT_TRUE(Main->DT->IsEmpty());
    EXPECT_NE(Main->oedResult->Text().find("/data/written.qel"), std::string::npos);
}

// A card written from a description: three loggers, records of the first
// in two places.
TEST_F(CardReadTest, GeneratedCardFillsTheTree)
{
    std::istringstream description("containers 64\n"
                                   "logger a model=0x6601 fw=0x0305 sn=100\n"
                                   "logger b model=0x6601 fw=0x0305 sn=4294967295\n"
                                   "logger c model=0x6601 fw=0x0305 sn=7\n"
                                   "recording a1 logger=a pages=5 time=1000\n"
                                   "recording b1 logger=b pages=3 time=2000\n"
                                   "recording a2 logger=a pages=4 time=9000\n"
                                   "recording c1 logger=c pages=2 time=500\n"
                                   "place a1\nplace b1\nplace a2\nplace c1\n");
    fs::create_directories(Dir.File("card"));
    cardgen::GenerateCard(cardgen::ParseCardDescription(description), Dir.File("card"));
    Start();
    ReadCard(Dir.File("card/qel.dat"));
    ASSERT_EQ(Main->PageIndex(), PAGE_INFO);
    EXPECT_TRUE(Main->btnInfoOK->Enabled());
    TRecordTree& tree = *Main->DT;
    std::vector<std::string> lines;
    std::istringstream list(tree.DirectoryList());
    for (std::string line; std::getline(list, line);) {
        lines.push_back(line.substr(0, line.find(';')) + ";" + line.substr(line.rfind(';', line.rfind(';') - 1) + 1));
    }
    // Sorted by serial: logger, clusters and card position (from 1).
    EXPECT_EQ(lines, (std::vector<std::string>{"QEL7;2;4\r", "QEL100;5;1\r", "QEL100;4;3\r",
                                               "QEL4294967295;3;2\r"}));
    PDataNode first = tree.GetFirst();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->CheckState, csCheckedNormal);
    EXPECT_EQ(tree.GetNextSibling(first)->CheckState, csUncheckedNormal);
}

TEST_F(CardReadTest, ContainersOfZerosOrRandomBytesGiveAnEmptyTree)
{
    for (const char* junk : {"zero", "random seed=7"}) {
        std::istringstream description(std::string("containers 16\njunk 16 ") + junk + "\n");
        fs::create_directories(Dir.File("card"));
        cardgen::GenerateCard(cardgen::ParseCardDescription(description), Dir.File("card"));
        Start();
        ReadCard(Dir.File("card/qel.dat"));
        EXPECT_EQ(Main->PageIndex(), PAGE_INFO) << junk;
        EXPECT_TRUE(Main->DT->IsEmpty()) << junk;
        EXPECT_FALSE(Main->btnInfoOK->Enabled()) << junk;
        Stop();
        fs::remove_all(Dir.File("card"));
    }
}

// Choices the reader cannot read: a missing or unreadable file ends the
// read with the system's message; anything but a regular file (a folder, a
// pipe that would block the reader for ever, a device) is refused before
// any reader starts.
TEST_F(CardReadTest, UnreadableChoicesEndOnTheStartPage)
{
    fs::create_directories(Dir.File("card/folder.dat"));
    ASSERT_EQ(mkfifo(Dir.File("card/pipe.dat").c_str(), 0600), 0);
    const std::string unreadable = Card("unreadable.dat");
    chmod(unreadable.c_str(), 0);
    struct TCase {
        std::string Chosen;
        std::string BoxStart;   // the box's text begins with it
        std::string BoxEnd;     // and ends with this
        bool ReaderStarted;
    };
    std::vector<TCase> cases = {
        {Dir.File("card/missing.dat"), "Fatal Exception 0 has occurred!\n\r", "No such file or directory", true},
        {Dir.File("card/folder.dat"), Dir.File("card/folder.dat") + ":\r\n", "This is not a file that can be read.",
         false},
        {Dir.File("card/pipe.dat"), Dir.File("card/pipe.dat") + ":\r\n", "This is not a file that can be read.",
         false},
        {"/dev/zero", "/dev/zero:\r\n", "This is not a file that can be read.", false},
    };
    if (geteuid() != 0) {   // the superuser reads any file
        cases.push_back({unreadable, "Fatal Exception 0 has occurred!\n\r", "Permission denied", true});
    }
    for (const TCase& c : cases) {
        Start();
        std::vector<int> pages;
        Main->OnPageShown = [&](int Page) { pages.push_back(Page); };
        ReadCard(c.Chosen, plat::mbOK);
        EXPECT_EQ(Main->PageIndex(), PAGE_START) << c.Chosen;
        EXPECT_TRUE(Main->btnStart->Enabled()) << c.Chosen;
        ASSERT_EQ(ErrorTexts().size(), 1u) << c.Chosen;
        EXPECT_TRUE(ErrorTexts()[0].starts_with(c.BoxStart)) << ErrorTexts()[0];
        EXPECT_TRUE(ErrorTexts()[0].ends_with(c.BoxEnd)) << ErrorTexts()[0];
        const bool started = std::find(pages.begin(), pages.end(), PAGE_PROGRESS) != pages.end();
        EXPECT_EQ(started, c.ReaderStarted) << c.Chosen;
        Stop();
        Dialogs = plat::TScriptedDialogs();
    }
}

} // namespace
} // namespace qel::test
