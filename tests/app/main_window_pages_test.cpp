// The main window's pages: their set-up on showing, every edge of the
// wizard's page graph that the window itself drives, and how the pages
// look in both languages.
#include "tests/app/main_window_fixture.h"

#include "card/card_records.h"
#include "card/thread_status.h"
#include "foundations/qel_error.h"
#include "platform/controls/screen.h"
#include "platform/controls/standard/button.h"
#include "platform/controls/standard/check_box.h"
#include "platform/controls/standard/radio_button.h"
#include "widgets/pages/pgc_meter.h"

#include <functional>

namespace qel::test {
namespace {

class MainWindowPagesTest : public TMainWindowTest {
protected:
    // The record list's first record, selected, as the data read leaves it.
    void SelectRecord(bool Shock)
    {
        auto* record = new TCardRecord;
        record->Info.bShock = Shock;
        record->Selected = true;
        RecInfoList.Add(record);
    }
};

TEST_F(MainWindowPagesTest, ShowingAPageSetsItUp)
{
    struct TCase {
        int Page;
        plat::TCursor Cursor;
        std::function<plat::TButton*(TfrmMain&)> Enabled;   // enabled again on showing
        std::function<TPgcMeter*(TfrmMain&)> Meter;         // back to 0 %
        std::function<plat::TWinControl*(TfrmMain&)> Focus;
    };
    const TCase cases[] = {
        {PAGE_START, plat::crDefault, [](TfrmMain& m) { return m.btnStart; }, nullptr,
         [](TfrmMain& m) { return m.btnStart; }},
        {PAGE_INFO, plat::crDefault, nullptr, nullptr, [](TfrmMain& m) { return m.btnInfoOK; }},
        {PAGE_FINISH, plat::crDefault, [](TfrmMain& m) { return m.btnFinishDir; }, nullptr,
         [](TfrmMain& m) { return m.btnFinishRepeat; }},
        {PAGE_PROGRESS, plat::crHourGlass, [](TfrmMain& m) { return m.btnProgressCancel; },
         [](TfrmMain& m) { return m.omeProgress; }, [](TfrmMain& m) { return m.btnProgressCancel; }},
        {PAGE_SAVE, plat::crHourGlass, [](TfrmMain& m) { return m.btnSaveCancel; },
         [](TfrmMain& m) { return m.omeSave; }, [](TfrmMain& m) { return m.btnSaveCancel; }},
        {PAGE_CUT_CHANNELS, plat::crDefault, nullptr, nullptr, nullptr},
        {PAGE_SHOCK, plat::crDefault, nullptr, nullptr, nullptr},
    };
    Start();
    SelectRecord(false);
    Main->FillRecordTree();   // a record to go on with: Next takes the focus
    for (const TCase& c : cases) {
        plat::Screen->SetCursor(c.Cursor == plat::crDefault ? plat::crHourGlass : plat::crDefault);
        if (c.Enabled) {
            c.Enabled(*Main)->SetEnabled(false);
        }
        if (c.Meter) {
            c.Meter(*Main)->SetPercent(55);
        }
        Main->ShowPage(c.Page);
        Pump();
        EXPECT_EQ(Main->PageIndex(), c.Page);
        EXPECT_EQ(plat::Screen->Cursor(), c.Cursor) << "page " << c.Page;
        if (c.Enabled) {
            EXPECT_TRUE(c.Enabled(*Main)->Enabled()) << "page " << c.Page;
        }
        if (c.Meter) {
            EXPECT_EQ(c.Meter(*Main)->Percent(), 0) << "page " << c.Page;
        }
        if (c.Focus) {
            EXPECT_TRUE(c.Focus(*Main)->Focused()) << "page " << c.Page;
        }
    }
}

TEST_F(MainWindowPagesTest, HourglassStaysUntilAPageResetsIt)
{
    Start();
    Main->ShowPage(PAGE_PROGRESS);
    for (int page : {PAGE_CUT_TIME, PAGE_OPTION_FILE, PAGE_REPORT}) {
        Main->ShowPage(page);
        EXPECT_EQ(plat::Screen->Cursor(), plat::crHourGlass) << "page " << page;
    }
    Main->ShowPage(PAGE_SHOCK);
    EXPECT_EQ(plat::Screen->Cursor(), plat::crDefault);
}

TEST_F(MainWindowPagesTest, RecordPageFocusesReadNewlyWhileNextIsDisabled)
{
    Start();
    Main->btnInfoOK->SetEnabled(false);
    Main->ShowPage(PAGE_INFO);
    EXPECT_TRUE(Main->btnInfoCancel->Focused());
}

TEST_F(MainWindowPagesTest, ChannelPageOffersBackForShockRecordingsAndDirectoryOtherwise)
{
    for (bool shock : {false, true}) {
        Start();
        SelectRecord(shock);
        Main->ShowPage(PAGE_CUT_CHANNELS);
        EXPECT_EQ(Main->btnCutChannelsBackShock->Visible(), shock);
        EXPECT_EQ(Main->btnCutChannelsBack->Visible(), !shock);
        Stop();
    }
}

TEST_F(MainWindowPagesTest, OptionPageNamesTheViewerOfTheChosenFile)
{
    StoreSuiteInteger("Language", 1);
    Start();
    SelectRecord(true);
    Main->ShowPage(PAGE_SHOCK);
    Main->rbnShockQSHOCK->SetChecked(true);
    ClickOn(Main->btnShockNext);
    EXPECT_EQ(Main->chkOptionViewer->Caption(), "Jartoscope starten");
    ClickOn(Main->btnOptionFileBack);
    Main->rbnShockQEL->SetChecked(true);
    ClickOn(Main->btnShockNext);
    Main->ShowPage(PAGE_OPTION_FILE);
    EXPECT_EQ(Main->chkOptionViewer->Caption(), "Viewer starten");
}

// Every edge of the page graph that does not wait for the card, read and
// save steps: the page it starts on, what happens, the page it ends on.
TEST_F(MainWindowPagesTest, PageGraph)
{
    struct TCase {
        const char* Name;
        bool Shock;                        // the data read is a shock recording
        int From;
        std::function<void(TfrmMain&)> Event;
        int To;
    };
    const auto click = [this](plat::TButton* TfrmMain::*Button) {
        return [this, Button](TfrmMain& m) { ClickOn(m.*Button); };
    };
    const auto status = [this](plat::UINT Message, plat::WPARAM State) {
        return [this, Message, State](TfrmMain&) { Status(Message, State, 0); };
    };
    const auto choose = [this](plat::TRadioButton* TfrmMain::*Radio) {
        return [this, Radio](TfrmMain& m) {
            (m.*Radio)->SetChecked(true);
            ClickOn(m.btnShockNext);
        };
    };
    const TCase cases[] = {
        {"directory read finished", false, PAGE_PROGRESS, status(WM_CARD_DIR_STATUS, THREAD_FINISHED), PAGE_INFO},
        {"directory read failed", false, PAGE_PROGRESS, status(WM_CARD_DIR_STATUS, THREAD_FAILED), PAGE_START},
        {"read newly", false, PAGE_INFO, click(&TfrmMain::btnInfoCancel), PAGE_START},
        {"data read finished", false, PAGE_PROGRESS, status(WM_CARD_DATA_STATUS, THREAD_FINISHED), PAGE_CUT_CHANNELS},
        {"shock data read finished", true, PAGE_PROGRESS, status(WM_CARD_DATA_STATUS, THREAD_FINISHED), PAGE_SHOCK},
        {"data read failed", false, PAGE_PROGRESS, status(WM_CARD_DATA_STATUS, THREAD_FAILED), PAGE_START},
        {"shock file chosen", true, PAGE_SHOCK, choose(&TfrmMain::rbnShockQSHOCK), PAGE_OPTION_FILE},
        {"standard chosen", true, PAGE_SHOCK, choose(&TfrmMain::rbnShockQEL), PAGE_CUT_CHANNELS},
        {"shock page directory", true, PAGE_SHOCK, click(&TfrmMain::btnShockDir), PAGE_INFO},
        {"options back", true, PAGE_OPTION_FILE, click(&TfrmMain::btnOptionFileBack), PAGE_SHOCK},
        {"channels next", false, PAGE_CUT_CHANNELS, click(&TfrmMain::btnCutChannelsNext), PAGE_CUT_TIME},
        {"channels back", true, PAGE_CUT_CHANNELS, click(&TfrmMain::btnCutChannelsBackShock), PAGE_SHOCK},
        {"channels directory", false, PAGE_CUT_CHANNELS, click(&TfrmMain::btnCutChannelsBack), PAGE_INFO},
        {"time back", false, PAGE_CUT_TIME, click(&TfrmMain::btnCutTimeBack), PAGE_CUT_CHANNELS},
        {"save finished", false, PAGE_SAVE,
         [this](TfrmMain& m) {
             m.AddSaveInfo(Dir.File("out.qrec"));
             Status(WM_SAVE_STATUS, THREAD_FINISHED, 0);
         },
         PAGE_FINISH},
        {"save failed", false, PAGE_SAVE, status(WM_SAVE_STATUS, THREAD_FAILED), PAGE_START},
        {"repeat", false, PAGE_FINISH, click(&TfrmMain::btnFinishRepeat), PAGE_CUT_CHANNELS},
        {"directory after the save", false, PAGE_FINISH, click(&TfrmMain::btnFinishDir), PAGE_INFO},
        {"report OK", false, PAGE_REPORT, click(&TfrmMain::btnReportOK), PAGE_START},
    };
    for (const TCase& c : cases) {
        Start();
        SetLastErrorMsg("");
        Dialogs.ExpectMessageBox(plat::mbOK);   // a failure's box, where one shows
        SelectRecord(c.Shock);
        AddReadSample();
        Main->ShowPage(c.From);
        c.Event(*Main);
        EXPECT_EQ(Main->PageIndex(), c.To) << c.Name;
        Stop();
        Dialogs = plat::TScriptedDialogs();
    }
}

TEST_F(MainWindowPagesTest, RepeatAfterAShockReadReturnsToTheShockPage)
{
    Start();
    SelectRecord(true);
    AddReadSample();
    Status(WM_CARD_DATA_STATUS, THREAD_FINISHED);
    ASSERT_EQ(Main->PageIndex(), PAGE_SHOCK);
    Main->ShowPage(PAGE_FINISH);
    ClickOn(Main->btnFinishRepeat);
    EXPECT_EQ(Main->PageIndex(), PAGE_SHOCK);
}

TEST_F(MainWindowPagesTest, ExitClosesTheWindowAtOnceWhenNoWorkerRuns)
{
    Start();
    ClickOn(Main->btnExit);
    EXPECT_TRUE(App->Terminated());
}

// Pictures of every page in English and German, for review.
TEST_F(MainWindowPagesTest, PagesInBothLanguages)
{
    for (int language : {0, 1}) {
        StoreSuiteInteger("Language", language);
        Start();
        SelectRecord(false);
        Main->AddSaveInfo("/home/user/Documents/QEL-Pro/data/QEL123456_2024-05-17.qel");
        for (int page = 0; page < WIZARD_PAGE_COUNT; ++page) {
            Main->ShowPage(page);
            Shot(std::string("main_window_") + (language == 1 ? "de" : "en") + "_page" + std::to_string(page));
            EXPECT_EQ(Main->PageIndex(), page);
            EXPECT_EQ(Main->ClientWidth(), 518);
            EXPECT_EQ(Main->ClientHeight(), 297);
        }
        Stop();
    }
}

} // namespace
} // namespace qel::test
