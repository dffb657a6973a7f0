// The wizard's steps between the data read and the save: the channel list's
// note and Next, the time fields and their popups, the output file's
// choice, one step per double click, and a save onto a full disk.
#include "tests/app/wizard_card_fixture.h"

#include "app/date_time_input.h"
#include "app/validate_edit.h"
#include "card/buffer_list.h"
#include "card/thread_status.h"
#include "foundations/suite_services.h"
#include "loggers/qel_base.h"
#include "foundations/settings.h"
#include "platform/controls/standard/button.h"
#include "platform/controls/standard/list_view.h"
#include "platform/controls/standard/memo.h"
#include "platform/controls/standard/speed_button.h"
#include "tests/support/small_file_system.h"
#include "tests/support/temp_dir.h"

#include <filesystem>

namespace qel::test {
namespace {

namespace fs = std::filesystem;

class WizardStepsTest : public TWizardCardTest {};

// A dialog service that serves the messages waiting, as a real dialog's
// modal loop does, before it answers from the script.
class TModalDialogs : public plat::TScriptedDialogs {
public:
    explicit TModalDialogs(plat::THeadlessHost& Host) : FHost(Host) {}
    plat::TFileDialogResult SaveFileDialog(const plat::TFileDialogOptions& Options) override
    {
        FHost.PumpUntilIdle();
        return TScriptedDialogs::SaveFileDialog(Options);
    }

private:
    plat::THeadlessHost& FHost;
};

TEST_F(WizardStepsTest, BigDataNoteShowsAboveTenMillionSamplesInAll)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "ten million samples take minutes under the sanitizers; the release run covers it";
#endif
    Start();
    ReadBufferList.SetUseFileStream(false);
    QelList.Add(new TQEL);
    ReadBufferList.SetActiveQEL(QelList.GetCurrent());
    for (std::int64_t i = 0; i < 10'000'000; ++i) {
        ReadBufferList.AddIntData(1, i, 1);
    }
    Main->FillChannelList();
    EXPECT_FALSE(Main->memHintBig->Visible()) << "10,000,000 in all";
    ReadBufferList.AddIntData(2, 0, 1);
    Main->FillChannelList();
    EXPECT_TRUE(Main->memHintBig->Visible()) << "one more, in another channel";
}

TEST_F(WizardStepsTest, TimeFieldsStartAtZeroAndEndAMillisecondAfterTheData)
{
    Start();
    AddReadSample(5'000);
    AddReadSample(5'000 + 3'686'400'007);
    Main->FillChannelList();
    EXPECT_EQ(Main->vedCutTimeBegin->Text(), "0");
    EXPECT_EQ(Main->vedCutTimeEnd->Text(), "3600.00100683594");
}

TEST_F(WizardStepsTest, ChannelsNextNeedsACheckedChannel)
{
    Start();
    ReadCardToChannels();
    ASSERT_EQ(Main->PageIndex(), PAGE_CUT_CHANNELS);
    plat::TListItems& rows = Main->lvwCutChannels->Items();
    for (int i = 0; i < rows.Count(); ++i) {
        EXPECT_TRUE(Main->btnCutChannelsNext->Enabled()) << i;
        rows.Item(i)->SetChecked(false);
    }
    EXPECT_FALSE(Main->btnCutChannelsNext->Enabled());
    ClickOn(Main->btnCutChannelsNext);
    EXPECT_EQ(Main->PageIndex(), PAGE_CUT_CHANNELS);
    rows.Item(2)->SetChecked(true);
    EXPECT_TRUE(Main->btnCutChannelsNext->Enabled());
}

TEST_F(WizardStepsTest, AnInvalidTimeFieldKeepsThePage)
{
    Start();
    ReadCardToChannels();
    ClickOn(Main->btnCutChannelsNext);
    for (TValidateEdit* field : {Main->vedCutTimeBegin, Main->vedCutTimeEnd}) {
        const std::string former = field->Text();
        field->SetText("12x");
        ClickOn(Main->btnCutTimeNext);
        EXPECT_EQ(Main->PageIndex(), PAGE_CUT_TIME) << field->Name();
        EXPECT_TRUE(field->Focused()) << field->Name();
        EXPECT_EQ(field->Color(), field->ColorError()) << field->Name();
        EXPECT_TRUE(Main->btnCutTimeNext->Enabled()) << field->Name();
        field->SetText(former);
    }
    EXPECT_TRUE(Dialogs.Shown().size() == 2u) << "no save dialog opened";
}

TEST_F(WizardStepsTest, DotsOpenThePopupUnderTheirField)
{
    Start();
    ReadCardToChannels();
    ClickOn(Main->btnCutChannelsNext);
    Main->vedCutTimeEnd->SetText("20");
    struct TCase {
        plat::TControl* Button;
        TValidateEdit* Field;
    };
    for (const TCase& c : {TCase{Main->SpeedButton1, Main->vedCutTimeBegin}, TCase{Main->SpeedButton2, Main->vedCutTimeEnd}}) {
        const std::string former = c.Field->Text();
        // The field's bottom-left corner on the screen.
        const plat::TPoint corner =
            c.Field->Parent()->ClientToScreen(plat::Point(c.Field->Left(), c.Field->Top() + c.Field->Height()));
        bool shown = false;
        Host->Script([&] {
            for (plat::HWND window : Host->VisibleWindows()) {
                if (dynamic_cast<TDateTimeInput*>(plat::TWinControl::FindControl(window)) != nullptr) {
                    const plat::TRect bounds = Host->HostWindowBounds(window);
                    EXPECT_EQ(bounds.Left, corner.X) << c.Field->Name();
                    EXPECT_EQ(bounds.Top, corner.Y) << c.Field->Name();
                    shown = true;
                }
            }
            Host->Key(plat::VK_ESCAPE);
        });
        ClickOn(c.Button);
        EXPECT_TRUE(shown) << c.Field->Name();
        EXPECT_EQ(c.Field->Text(), former) << "Cancel keeps the value";
    }
}

TEST_F(WizardStepsTest, TheChosenFileKeepsItsContentUntilTheSaveReplacesIt)
{
    Start();
    ReadCardToChannels();
    const std::string target = DataFolder() + "QEL123456_000101_000140.qrec";
    qeltest::WriteWholeFile(target, "old");
    Dialogs.ExpectSaveFile(target, true);
    ASSERT_TRUE(Main->ChooseOutputFile(CUT_FILE_QREC, 0));
    EXPECT_EQ(qeltest::ReadWholeFile(target), "old") << "nothing is emptied before the save";
    ASSERT_EQ(Dialogs.Shown().size(), 3u);
    EXPECT_TRUE(Dialogs.Shown()[2].OverwriteAsked);
}

TEST_F(WizardStepsTest, AFolderThatCannotTakeTheFileKeepsThePageWithABoxNamingIt)
{
    Start();
    ReadCardToChannels();
    ClickOn(Main->btnCutChannelsNext);
    // A folder of the chosen name stands where the file would go.
    const std::string chosen = DataFolder() + "taken.qrec";
    fs::create_directories(chosen);
    Dialogs.ExpectSaveFile(chosen, true);
    Dialogs.ExpectMessageBox(plat::mbOK, chosen);
    ClickOn(Main->btnCutTimeNext);
    EXPECT_EQ(Main->PageIndex(), PAGE_CUT_TIME);
    EXPECT_FALSE(Main->WorkerRunning());
    EXPECT_TRUE(Main->btnCutTimeNext->Enabled());
    EXPECT_EQ(Dialogs.Verify(), "");
}

TEST_F(WizardStepsTest, ANormalSaveLeavesTheReadsMissionDataForALaterShockFile)
{
    Start();
    ReadCardToChannels();
    ReadBufferList.MissionData.bValid = true;
    ClickOn(Main->btnCutChannelsNext);
    Dialogs.ExpectSaveFileCancel();
    ClickOn(Main->btnCutTimeNext);
    EXPECT_FALSE(SaveBufferList.MissionData.bValid) << "this save goes without the mission block";
    EXPECT_TRUE(ReadBufferList.MissionData.bValid) << "the read keeps it";
}

TEST_F(WizardStepsTest, ADoubleClickStartsOneReadAndOpensOneDialog)
{
    Start();
    WriteCard();
    ReadDirectory();
    CheckFirstLoggersRecords();
    std::vector<int> pages;
    Main->OnPageShown = [&](int Page) { pages.push_back(Page); };
    const plat::TPoint next = Main->btnInfoOK->ClientToScreen(plat::Point(10, 10));
    Host->Click(next);
    Host->Click(next);
    ASSERT_TRUE(PumpUntil([&] { return !Main->WorkerRunning() && Main->PageIndex() != PAGE_PROGRESS; }));
    EXPECT_EQ(pages, (std::vector<int>{PAGE_PROGRESS, PAGE_CUT_CHANNELS}));
    EXPECT_EQ(QelList.Count(), 1);

    ClickOn(Main->btnCutChannelsNext);
    TModalDialogs modal(*Host);
    const plat::TScopedDialogs installed(modal);
    modal.ExpectSaveFileCancel();
    const plat::TPoint save = Main->btnCutTimeNext->ClientToScreen(plat::Point(10, 10));
    Host->Click(save);
    Host->Click(save);
    Pump();
    EXPECT_EQ(modal.Shown().size(), 1u) << "the second click met a disabled button";
    EXPECT_EQ(modal.Verify(), "");
    EXPECT_EQ(Main->PageIndex(), PAGE_CUT_TIME);
}

TEST_F(WizardStepsTest, AReadWithoutSamplesSaysSoAndReturnsToTheRecords)
{
    Start();
    Dialogs.ExpectMessageBox(plat::mbOK, "no measured values");
    Status(WM_CARD_DATA_STATUS, THREAD_FINISHED);
    EXPECT_EQ(Main->PageIndex(), PAGE_INFO);
    ASSERT_EQ(Dialogs.Shown().size(), 1u);
    EXPECT_EQ(Dialogs.Shown()[0].Type, plat::mtInformation);
}

TEST_F(WizardStepsTest, ASaveThatNamedNoFileIsAnError)
{
    Start();
    ListenForSuiteMessages();
    Dialogs.ExpectMessageBox(plat::mbOK);
    Main->ShowPage(PAGE_SAVE);
    Status(WM_SAVE_STATUS, THREAD_FINISHED);
    Pump();
    EXPECT_EQ(Main->PageIndex(), PAGE_START);
    EXPECT_EQ(ErrorTexts(), std::vector<std::string>{"No file has been written."});
    EXPECT_EQ(SuiteMessages(), 0);
}

TEST_F(WizardStepsTest, AFullDiskKeepsTheOldFileAndWritesNothingElse)
{
    const std::string record = Dir.File("saved.txt");
    Start({"f:" + record});
    ReadCardToChannels();
    ClickOn(Main->btnCutChannelsNext);
    const std::string target = DataFolder() + "QEL123456_000101_000140.qrec";
    qeltest::WriteWholeFile(target, "old");
    const qeltest::SmallFileSystemRun run = qeltest::RunWithFileSizeLimit(2048, [&] {
        Dialogs.ExpectSaveFile(target, true);
        Dialogs.ExpectMessageBox(plat::mbOK);
        int broadcasts = 0;
        const plat::HWND listener = plat::CreateWindowHandle(
            App->Queue(),
            [&](plat::UINT Message, plat::WPARAM, plat::LPARAM) -> plat::LRESULT {
                broadcasts += Message == WM_SUITE_NOTIFY;
                return 0;
            },
            true);
        ClickOn(Main->btnCutTimeNext);
        PumpUntil([&] { return !Main->WorkerRunning() && Main->PageIndex() != PAGE_SAVE; });
        Pump();
        plat::DestroyWindowHandle(listener);
        const std::vector<std::string> boxes = ErrorTexts();
        const bool systemsMessage = boxes.size() == 1 && boxes[0].starts_with("Fatal Exception 0 has occurred!\n\r") &&
                                    boxes[0].find("File too large") != std::string::npos;
        return "page " + std::to_string(Main->PageIndex()) + ", broadcasts " + std::to_string(broadcasts) +
               (systemsMessage ? ", the system's message" : ", boxes: " + ::testing::PrintToString(boxes));
    });
    ASSERT_TRUE(run.available) << run.why;
    EXPECT_EQ(run.result, "page 0, broadcasts 0, the system's message");
    EXPECT_EQ(qeltest::ReadWholeFile(target), "old");
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(DataFolder())) {
        left.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(left, std::vector<std::string>{"QEL123456_000101_000140.qrec"}) << "no partial or temporary file";
    const std::string lines = qeltest::ReadWholeFile(record);
    EXPECT_EQ(lines.find("\r\n"), lines.size() - 2) << "only the record's first line: " << lines;
}

} // namespace
} // namespace qel::test
