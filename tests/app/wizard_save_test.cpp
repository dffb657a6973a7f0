// The wizard end to end on the headless back end: a generated card from
// Start over the record tree, the data read, the channel list and the time
// window to the container on the finish page, read back with the tests'
// own zip reader; and the roads beside it (Repeat, Directory, a cancelled
// dialog, a cancelled read, an unknown version, a shock file, German).
#include "tests/app/wizard_card_fixture.h"

#include "app/record_tree.h"
#include "app/validate_edit.h"
#include "card/buffer_list.h"
#include "card/temp_folder.h"
#include "export/qel_zip_date_time.h"
#include "foundations/settings.h"
#include "foundations/tick_time.h"
#include "loggers/qel_base.h"
#include "platform/controls/standard/button.h"
#include "platform/controls/standard/list_view.h"
#include "platform/controls/standard/radio_button.h"
#include "tests/support/qel_zip_entries.h"
#include "tests/support/temp_dir.h"
#include "tests/support/zip_test_reader.h"
#include "widgets/pages/pgc_editor.h"

#include <algorithm>
#include <bit>
#include <filesystem>
#include <functional>

namespace qel::test {
namespace {

namespace fs = std::filesystem;

constexpr std::int64_t SECOND = 1'024'000;

class WizardSaveTest : public TWizardCardTest {
protected:
    // Page 7's rows by channel number.
    plat::TListItem* ChannelRow(std::uint8_t Channel)
    {
        const auto at = std::find(CHANNELS.begin(), CHANNELS.end(), Channel);
        return Main->lvwCutChannels->Items().Item(static_cast<int>(at - CHANNELS.begin()));
    }
    // Next on page 7, the fields set, Next on page 8 with the proposed name
    // kept; the save runs to its end.
    void SaveWindow(const std::string& Begin, const std::string& End)
    {
        ClickOn(Main->btnCutChannelsNext);
        ASSERT_EQ(Main->PageIndex(), PAGE_CUT_TIME);
        Main->vedCutTimeBegin->SetText(Begin);
        Main->vedCutTimeEnd->SetText(End);
        Dialogs.ExpectSaveFile("");
        ClickOn(Main->btnCutTimeNext);
        WaitForTheSave();
    }
    void WaitForTheSave()
    {
        ASSERT_TRUE(PumpUntil([&] { return !Main->WorkerRunning() && Main->PageIndex() != PAGE_SAVE; }));
    }
    // The name the last save dialog proposed.
    std::string Proposed() const
    {
        for (auto it = Dialogs.Shown().rbegin(); it != Dialogs.Shown().rend(); ++it) {
            if (it->Kind == plat::TDialogKind::SaveFile) {
                return it->Options.InitialDir + it->Options.FileName;
            }
        }
        return "";
    }
    std::vector<std::string> ListedFiles() const
    {
        std::vector<std::string> files;
        const std::string text = Main->oedResult->Text();
        for (std::size_t start = 0; start < text.size();) {
            const std::size_t end = std::min(text.find("\r\n", start), text.size());
            if (end > start) {
                files.push_back(text.substr(start, end - start));
            }
            start = end + 2;
        }
        return files;
    }
    // Spill files of the read data in the buffer folder (F0.mst, the
    // folder's probe, stays).
    static int SpillFiles()
    {
        int count = 0;
        for (const auto& entry : fs::directory_iterator(BufferFolder())) {
            count += entry.path().extension() == ".mst" && entry.path().filename() != "F0.mst";
        }
        return count;
    }

    // The container holds, for each saved channel, the card's samples in
    // [From, To], calibrated, without gap values.
    void ExpectContainer(const std::string& Archive, const std::vector<std::uint8_t>& Saved, std::int64_t From,
                         std::int64_t To)
    {
        const TQEL& logger = *QelList.GetCurrent();
        const qeltest::TZipTestReader reader(Archive);
        std::size_t gaps = 0;
        for (std::size_t folder = 0; folder < Saved.size(); ++folder) {
            const std::uint8_t channel = Saved[folder];
            SCOPED_TRACE("channel " + std::to_string(channel));
            std::vector<qeltest::TValueRecord> expected;
            for (const TCardSample& sample : Generated(channel)) {
                if (sample.Time < From || sample.Time > To) {
                    continue;
                }
                if (logger.IsGAPValue(channel, sample.Raw)) {
                    ++gaps;
                    continue;
                }
                expected.push_back(
                    {DateTimeToNs2000(TicksToDateTime(sample.Time)), logger.CalcChValue(channel, sample.Raw)});
            }
            const std::string path = "CHANNELS\\CHANNEL_" + std::to_string(folder) + "\\";
            const auto pairs = qeltest::DecodePairs(reader.Read(path + "ChDesc_0"));
            EXPECT_EQ(qeltest::PairValue(pairs, "ChDescName"), logger.GetChName(channel));
            EXPECT_EQ(qeltest::PairValue(pairs, "ChDescQelSN"), std::to_string(FIRST_SERIAL));
            std::vector<qeltest::TValueRecord> saved;
            for (int k = 0; reader.Has(path + "ChData_" + std::to_string(k)); ++k) {
                const auto block = qeltest::DecodeValues(reader.Read(path + "ChData_" + std::to_string(k)));
                saved.insert(saved.end(), block.begin(), block.end());
            }
            ASSERT_EQ(saved.size(), expected.size());
            for (std::size_t i = 0; i < expected.size(); ++i) {
                ASSERT_EQ(saved[i].Time, expected[i].Time) << "value " << i;
                ASSERT_EQ(std::bit_cast<std::uint32_t>(saved[i].Value), std::bit_cast<std::uint32_t>(expected[i].Value))
                    << "value " << i;
            }
        }
        EXPECT_GT(gaps, 0u) << "the window holds gap values that are left out";
        EXPECT_FALSE(reader.Has("CHANNELS\\CHANNEL_" + std::to_string(Saved.size()) + "\\ChDesc_0"))
            << "an unchecked channel is not saved";
    }
};

TEST_F(WizardSaveTest, CardToContainerThroughEveryPage)
{
    Start();
    ListenForSuiteMessages();
    std::vector<int> pages;
    Main->OnPageShown = [&](int Page) { pages.push_back(Page); };
    ReadCardToChannels();
    ASSERT_EQ(Main->PageIndex(), PAGE_CUT_CHANNELS);
    Shot("wizard_page7_channels");

    // The read took qel.dat and qel1.dat, not qel3.dat: one logger's data.
    ASSERT_EQ(Main->lvwCutChannels->Items().Count(), static_cast<int>(CHANNELS.size()));
    const TQEL& logger = *QelList.GetCurrent();
    for (std::uint8_t channel : CHANNELS) {
        const plat::TListItem& row = *ChannelRow(channel);
        EXPECT_TRUE(row.Checked());
        EXPECT_EQ(row.CellText(1), std::to_string(FIRST_SERIAL));
        EXPECT_EQ(row.CellText(2), logger.GetChName(channel));
        EXPECT_EQ(row.CellText(3), logger.GetChUnit(channel));
        EXPECT_EQ(row.CellText(4), std::to_string(Generated(channel).size()));
    }
    EXPECT_TRUE(Main->btnCutChannelsBack->Visible()) << "Directory, not Back, for a standard recording";
    ChannelRow(7)->SetChecked(false);

    Dialogs.ExpectSaveFile("");
    ClickOn(Main->btnCutChannelsNext);
    ASSERT_EQ(Main->PageIndex(), PAGE_CUT_TIME);
    EXPECT_EQ(Main->edtCutTimeStart->Text(), "2000-01-01 00:01:40");
    EXPECT_EQ(Main->vedCutTimeBegin->Text(), "0");
    Main->vedCutTimeBegin->SetText("10");
    Main->vedCutTimeEnd->SetText("20");
    Shot("wizard_page8_time");
    ClickOn(Main->btnCutTimeNext);
    WaitForTheSave();
    ASSERT_EQ(Main->PageIndex(), PAGE_FINISH) << ::testing::PrintToString(ErrorTexts());
    Shot("wizard_page2_finish");

    const std::string archive = DataFolder() + "QEL123456_000101_000150.qrec";
    EXPECT_EQ(Proposed(), archive) << "the window's start names the file";
    ASSERT_EQ(Dialogs.Shown().size(), 3u);
    EXPECT_EQ(Dialogs.Shown()[2].Options.Filter, "QEL-Pro file (*.qrec)|*.qrec");
    EXPECT_EQ(ListedFiles(), std::vector<std::string>{archive});
    ExpectContainer(archive, {1, 2, 17}, FIRST_SAMPLE_TICKS + 10 * SECOND, FIRST_SAMPLE_TICKS + 20 * SECOND);
    EXPECT_EQ(qeltest::RunUnzipTest(archive).ExitCode, 0);
    Pump();
    EXPECT_EQ(SuiteMessages(), 1);
    EXPECT_EQ(pages, (std::vector<int>{PAGE_PROGRESS, PAGE_INFO, PAGE_PROGRESS, PAGE_CUT_CHANNELS, PAGE_CUT_TIME,
                                       PAGE_SAVE, PAGE_FINISH}));
    EXPECT_EQ(Dialogs.Verify(), "");
}

TEST_F(WizardSaveTest, UntouchedFieldsSaveEverythingUnderTheFirstClustersTime)
{
    Start();
    ReadCardToChannels();
    ASSERT_EQ(Main->PageIndex(), PAGE_CUT_CHANNELS);
    ClickOn(Main->btnCutChannelsNext);
    Dialogs.ExpectSaveFile("");
    ClickOn(Main->btnCutTimeNext);
    WaitForTheSave();
    ASSERT_EQ(Main->PageIndex(), PAGE_FINISH);
    const std::string archive = DataFolder() + "QEL123456_000101_000140.qrec";
    EXPECT_EQ(ListedFiles(), std::vector<std::string>{archive});
    ExpectContainer(archive, CHANNELS, INT64_MIN, INT64_MAX);
}

// The roads beside the main one, each from a fresh start.
TEST_F(WizardSaveTest, RoadsBesideTheMainOne)
{
    struct TCase {
        const char* Name;
        TWizardCard Card;
        bool German;
        std::function<void()> Road;            // from the page after the data read
        int Page;                              // where it ends
        std::vector<std::string> Files;        // names below the data folder on the finish page
        int SuiteMessages;
    };
    const auto saveTwice = [&] {
        ChannelRow(7)->SetChecked(false);
        SaveWindow("10", "20");
        ASSERT_EQ(Main->PageIndex(), PAGE_FINISH);
        ClickOn(Main->btnFinishRepeat);
        ASSERT_EQ(Main->PageIndex(), PAGE_CUT_CHANNELS);
        EXPECT_FALSE(ChannelRow(7)->Checked()) << "checks kept";
        EXPECT_TRUE(ChannelRow(1)->Checked());
        ClickOn(Main->btnCutChannelsNext);
        EXPECT_EQ(Main->vedCutTimeBegin->Text(), "10") << "fields kept";
        Dialogs.ExpectSaveFile("");
        ClickOn(Main->btnCutTimeNext);
        WaitForTheSave();
    };
    const auto directoryAndAgain = [&] {
        SaveWindow("10", "20");
        ASSERT_GT(SpillFiles(), 0);
        ClickOn(Main->btnFinishDir);
        EXPECT_EQ(Main->PageIndex(), PAGE_INFO);
        EXPECT_EQ(ReadBufferList.Count(), 0);
        EXPECT_EQ(SpillFiles(), 0) << "the read data's spill files are gone";
        ReadData();   // the same records read again
    };
    const auto dialogCancelled = [&] {
        ClickOn(Main->btnCutChannelsNext);
        Dialogs.ExpectSaveFileCancel();
        ClickOn(Main->btnCutTimeNext);
        EXPECT_TRUE(Main->btnCutTimeNext->Enabled()) << "Next can be pressed again";
    };
    const auto shockFile = [&] {
        EXPECT_TRUE(Main->rbnShockQSHOCK->Checked());
        ClickOn(Main->btnShockNext);
        ASSERT_EQ(Main->PageIndex(), PAGE_OPTION_FILE);
        Dialogs.ExpectSaveFile("");
        ClickOn(Main->btnOptionFileNext);
        WaitForTheSave();
    };
    const auto standardOfAShock = [&] {
        Main->rbnShockQEL->SetChecked(true);
        ClickOn(Main->btnShockNext);
        ASSERT_EQ(Main->PageIndex(), PAGE_CUT_CHANNELS);
        EXPECT_TRUE(Main->btnCutChannelsBackShock->Visible());
        ClickOn(Main->btnCutChannelsBackShock);
        ASSERT_EQ(Main->PageIndex(), PAGE_SHOCK);
        ClickOn(Main->btnShockNext);
        SaveWindow("10", "20");
        ClickOn(Main->btnFinishRepeat);
    };
    const TCase cases[] = {
        {"repeat", {}, false, saveTwice, PAGE_FINISH, {"QEL123456_000101_000150_1.qrec"}, 2},
        {"directory, then the same records again", {}, false, directoryAndAgain, PAGE_CUT_CHANNELS, {}, 1},
        {"dialog cancelled", {}, false, dialogCancelled, PAGE_CUT_TIME, {}, 0},
        {"shock file", {true}, false, shockFile, PAGE_FINISH, {"QEL123456_000101_000140.qshock"}, 1},
        {"standard save of a shock recording, then Repeat", {true}, false, standardOfAShock, PAGE_SHOCK,
         {"QEL123456_000101_000150.qrec"}, 1},
        {"German", {}, true, [&] { SaveWindow("10", "20"); }, PAGE_FINISH, {"QEL123456_000101_000150.qrec"}, 1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        if (c.German) {
            StoreSuiteInteger("Language", 1);
        }
        Start();
        ListenForSuiteMessages();
        ReadCardToChannels(c.Card);
        ASSERT_EQ(Main->PageIndex(), c.Card.Shock ? PAGE_SHOCK : PAGE_CUT_CHANNELS);
        c.Road();
        EXPECT_EQ(Main->PageIndex(), c.Page);
        std::vector<std::string> files;
        for (const std::string& name : c.Files) {
            files.push_back(DataFolder() + name);
            EXPECT_TRUE(fs::is_regular_file(files.back())) << name;
        }
        if (c.Page == PAGE_FINISH) {
            EXPECT_EQ(ListedFiles(), files);
        }
        Pump();
        EXPECT_EQ(SuiteMessages(), c.SuiteMessages);
        EXPECT_EQ(ErrorTexts(), std::vector<std::string>{});
        EXPECT_EQ(Dialogs.Verify(), "");
        Stop();
        Dialogs = plat::TScriptedDialogs();
        StoreSuiteInteger("Language", 0);
        fs::remove_all(DataFolder());
    }
}

TEST_F(WizardSaveTest, GermanPagesNameTheirChannelColumns)
{
    StoreSuiteInteger("Language", 1);
    Start();
    ReadCardToChannels();
    ASSERT_EQ(Main->PageIndex(), PAGE_CUT_CHANNELS);
    plat::TListColumns& columns = Main->lvwCutChannels->Columns();
    ASSERT_EQ(columns.Count(), 5);
    EXPECT_EQ(columns.Items(0)->Width(), Main->lvwCutChannels->FittingWidth(0, true));
    EXPECT_EQ(columns.Items(1)->Caption(), "SN");
    EXPECT_EQ(columns.Items(2)->Caption(), "Kanal");
    EXPECT_EQ(columns.Items(3)->Caption(), "Einheit");
    EXPECT_EQ(columns.Items(4)->Caption(), "Messwerte");
    Shot("wizard_page7_german");
}

TEST_F(WizardSaveTest, UnknownVersionStartsNoReadAndEndsOnTheStartPage)
{
    Start();
    WriteCard({false, 0x0900});
    ReadDirectory();
    CheckFirstLoggersRecords();
    std::vector<int> pages;
    Main->OnPageShown = [&](int Page) { pages.push_back(Page); };
    Dialogs.ExpectMessageBox(plat::mbOK, "Unknown module version!");
    ClickOn(Main->btnInfoOK);
    EXPECT_FALSE(Main->WorkerRunning());
    EXPECT_EQ(pages, std::vector<int>{PAGE_START}) << "no read page was shown";
    EXPECT_EQ(ErrorTexts(), std::vector<std::string>{"Unknown module version!\r\nPlease install updated QEL software."});
    EXPECT_EQ(ReadBufferList.Count(), 0);
}

TEST_F(WizardSaveTest, CancelDuringTheReadEndsOnTheStartPageWithoutABox)
{
    Start();
    WriteCard({false, 0x0120, 3000});
    ReadDirectory();
    CheckFirstLoggersRecords();
    // Cancel follows the click at once, long before 3,000 pages are read.
    Main->btnInfoOkClick(Main->btnInfoOK);
    Main->btnProgressCancelClick(Main->btnProgressCancel);
    ASSERT_TRUE(PumpUntil([&] { return !Main->WorkerRunning(); }));
    Pump();
    EXPECT_EQ(Main->PageIndex(), PAGE_START);
    EXPECT_EQ(ErrorTexts(), std::vector<std::string>{});
    EXPECT_TRUE(Main->btnStart->Enabled());
}

TEST_F(WizardSaveTest, CancelDuringTheSaveKeepsTheOldFileAndTellsNoOne)
{
    Start();
    ListenForSuiteMessages();
    ReadCardToChannels({false, 0x0120, 3000});
    ASSERT_EQ(Main->PageIndex(), PAGE_CUT_CHANNELS);
    ClickOn(Main->btnCutChannelsNext);
    const std::string target = DataFolder() + "QEL123456_000101_000140.qrec";
    qeltest::WriteWholeFile(target, "old");
    Dialogs.ExpectSaveFile(target, true);
    // Cancel follows the click at once, long before 480,000 samples are saved.
    Main->btnCutTimeNextClick(Main->btnCutTimeNext);
    Main->btnSaveCancelClick(Main->btnSaveCancel);
    WaitForTheSave();
    Pump();
    EXPECT_EQ(Main->PageIndex(), PAGE_START);
    EXPECT_EQ(ErrorTexts(), std::vector<std::string>{});
    EXPECT_EQ(SuiteMessages(), 0);
    EXPECT_EQ(qeltest::ReadWholeFile(target), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(DataFolder()), fs::directory_iterator()), 1)
        << "no partial or temporary file";
}

TEST_F(WizardSaveTest, ACardTakenAwayBetweenTheReadsEndsOnTheStartPage)
{
    Start();
    WriteCard();
    ReadDirectory();
    CheckFirstLoggersRecords();
    fs::remove_all(Dir.File("card"));
    Dialogs.ExpectMessageBox(plat::mbOK);
    ReadData();
    EXPECT_EQ(Main->PageIndex(), PAGE_START);
    ASSERT_EQ(ErrorTexts().size(), 1u);
    EXPECT_NE(ErrorTexts()[0].find("Fatal Exception 0 has occurred!\n\r"), std::string::npos) << ErrorTexts()[0];
    EXPECT_NE(ErrorTexts()[0].find("qel"), std::string::npos) << "the system's message names the container";
}

TEST_F(WizardSaveTest, TwoLoggersReadOnlyTheCheckedOnesRecords)
{
    Start();
    WriteCard();
    ReadDirectory();
    TRecordTree& tree = *Main->DT;
    PDataNode first = tree.GetFirst();
    PDataNode second = tree.GetNextSibling(first);
    ASSERT_NE(second, nullptr);
    tree.SetCheckState(first->FirstChild, csCheckedNormal);   // stays checked, but hidden
    tree.SetCheckState(second, csCheckedNormal);
    tree.SetCheckState(second->FirstChild, csCheckedNormal);
    ReadData();
    ASSERT_EQ(Main->PageIndex(), PAGE_CUT_CHANNELS);
    EXPECT_EQ(QelList.GetCurrent()->SN, SECOND_SERIAL);
    for (int i = 0; i < Main->lvwCutChannels->Items().Count(); ++i) {
        EXPECT_EQ(Main->lvwCutChannels->Items().Item(i)->CellText(1), std::to_string(SECOND_SERIAL));
    }
}

} // namespace
} // namespace qel::test
