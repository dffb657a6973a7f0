// The main window's pages: their set-up on showing, every edge of the
// wizard's page graph that the window itself drives, and how the pages
// look in both languages.
#include "tests/app/main_window_fixture.h"

#include "app/validate_edit.h"

#include "card/card_records.h"
#include "card/thread_status.h"
#include "foundations/qel_error.h"
#include "platform/controls/screen.h"
#include "platform/controls/standard/button.h"
#include "platform/controls/standard/check_box.h"
#include "platform/controls/standard/combo_box.h"
#include "platform/controls/standard/label.h"
#include "platform/controls/standard/memo.h"
#include "platform/controls/standard/menu_item.h"
#include "platform/controls/standard/radio_button.h"
#include "platform/controls/standard/speed_button.h"
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

// Every text of the twelve pages, in English and in German, as one table.
TEST_F(MainWindowPagesTest, EveryControlShowsItsTextInBothLanguages)
{
    using TControlOf = plat::TControl* (*)(TfrmMain&);
    struct TText {
        const char* Name;
        TControlOf Control;
        const char* English;
        const char* German;   // nullptr: a German text of the table's own, not checked here
    };
#define QEL_CONTROL(Field) #Field, [](TfrmMain& m) -> plat::TControl* { return m.Field; }
    const TText texts[] = {
        {QEL_CONTROL(Label5), "This program can read the data of provided microSD card 4GB.",
         "Mit diesem Programm können die Daten der mitgelieferten microSD-Karte 4GB gelesen werden."},
        {QEL_CONTROL(btnStart), "&Start", "&Start"},
        {QEL_CONTROL(btnExit), "E&xit", "Be&enden"},
        {QEL_CONTROL(btnStartReport), "&Report", "&Report"},
        {QEL_CONTROL(Label6), "Select required records :", "Gewünschte Records auswählen :"},
        {QEL_CONTROL(btnInfoOK), "Next", "Weiter"},
        {QEL_CONTROL(btnInfoCancel), "Read newly", "Neu lesen"},
        {QEL_CONTROL(Label2), "Files generated :", "Erzeugte Dateien :"},
        {QEL_CONTROL(Label1),
         "Please note that the measurement rate of the acceleration sensor can vary about ±5%. This has particularly "
         "an effect during vibration measurements on the displayed measurement period.",
         "Bitte beachten Sie, dass die Messrate des Beschleunigungssensors um ±5% variieren kann. Dies wirkt sich "
         "insbesondere bei Vibrationsmessungen auf die angezeigte Messdauer aus."},
        {QEL_CONTROL(btnFinishRepeat), "Repeat", "Wiederholen"},
        {QEL_CONTROL(btnFinishDir), "Directory", "Verzeichnis"},
        {QEL_CONTROL(btnFinishClose), "E&xit", "Be&enden"},
        {QEL_CONTROL(btnProgressCancel), "Cancel", "Abbrechen"},
        {QEL_CONTROL(Label7), "Report :", "Report :"},
        {QEL_CONTROL(btnReportOK), "OK", "OK"},
        {QEL_CONTROL(Label8), "Creating file(s)..", "Erstelle Datei(en).."},
        {QEL_CONTROL(btnSaveCancel), "Cancel", "Abbrechen"},
        {QEL_CONTROL(lblNextTitle), "QELs read so far", "Bisher gelesene QEL"},
        {QEL_CONTROL(btnNextContinue), "Continue", "Weiter lesen"},
        {QEL_CONTROL(btnNextSave), "Save", "Speichern"},
        {QEL_CONTROL(btnNextCancel), "Cancel", "Abbrechen"},
        {QEL_CONTROL(lblTitleCutChannels), "1. Measurement channels", "1. Messkanäle"},
        {QEL_CONTROL(memHintBig),
         "Note: More than 10,000,000 measured values may not be displayed or processed in all software programmes.",
         "Hinweis: Mehr als 10 000 000 Messwerte können ggf. nicht in allen Softwaren angezeigt bzw. weiterverarbeitet "
         "werden."},
        {QEL_CONTROL(btnCutChannelsNext), "Next", "Weiter"},
        {QEL_CONTROL(btnCutChannelsBackShock), "Back", "Zurück"},
        {QEL_CONTROL(btnCutChannelsBack), "Directory", "Verzeichnis"},
        {QEL_CONTROL(lblTitleCutTime), "2. Measurement time", "2. Messzeit"},
        {QEL_CONTROL(lblCutTimeStart), "Start time", "Startzeit"},
        {QEL_CONTROL(lblCutTimeBegin), "Beginning [s]", "Beginn [s]"},
        {QEL_CONTROL(lblCutTimeEnd), "End [s]", "Ende [s]"},
        {QEL_CONTROL(SpeedButton1), "...", "..."},
        {QEL_CONTROL(SpeedButton2), "...", "..."},
        {QEL_CONTROL(btnCutTimeNext), "Next", "Weiter"},
        {QEL_CONTROL(btnCutTimeBack), "Back", "Zurück"},
        {QEL_CONTROL(lblTitleCutFile), "3. Destination file", "3. Ausgangsdatei"},
        {QEL_CONTROL(lblCutFileFormat), "File format", "Dateiformat"},
        {QEL_CONTROL(lblCutFileLimit), "Limitation parameter", "Grössenbegrenzung"},
        {QEL_CONTROL(rbnCutFileMax), "Maximum", "Maximum"},
        {QEL_CONTROL(lblCutFileValues), "Values", "Werte"},
        {QEL_CONTROL(memFileHint),
         "Note:\nThe average sampling rate is calculated from the start time, end time and number of "
         "measurements.\nThis is only useful for measuring data without time gaps!",
         nullptr},
        {QEL_CONTROL(menFileQRECHint), "Note:\n This file format is only used by the QEL Pro software",
         "Hinweis:\nDieses Dateiformat wird nur von der QEL-Pro-Software verwendet!"},
        {QEL_CONTROL(btnCutFileNext), "Next", "Weiter"},
        {QEL_CONTROL(btnCutFileBack), "Back", "Zurück"},
        {QEL_CONTROL(lblTitleOptionFile), "4. Options", "4. Optionen"},
        {QEL_CONTROL(chkOptionCsv), "Start CSV-converter", "CSV-Konverter starten"},
        {QEL_CONTROL(btnOptionFileNext), "Next", "Weiter"},
        {QEL_CONTROL(btnOptionFileBack), "Back", "Zurück"},
        {QEL_CONTROL(lblShockTab), "Acceleration measurement", "Schockmessung"},
        {QEL_CONTROL(rbnShockQSHOCK), "Jartoscope", "Jartoscope"},
        {QEL_CONTROL(memShockQSHOCKHint), "Note: A QSHOCK file will be created for the Jartoscope",
         "Hinweis: Es wird eine QSHOCK-Datei für den Jartoscope erstellt."},
        {QEL_CONTROL(rbnShockQEL), "standard", "Standard"},
        {QEL_CONTROL(memShockQELHint),
         "Note: Files with different formats can be created which however can not be opened with the Jartoscope",
         "Hinweis: Es können Dateien in verschiedenen Formaten erstellt werden, welche jedoch nicht mit dem "
         "Jartoscope geöffnet werden können."},
        {QEL_CONTROL(btnShockNext), "Next", "Weiter"},
        {QEL_CONTROL(btnShockDir), "Directory", "Verzeichnis"},
    };
#undef QEL_CONTROL
    // Line breaks as one LF, however a memo keeps them.
    const auto lines = [](std::string Text) {
        std::string out;
        for (std::size_t i = 0; i < Text.size(); ++i) {
            if (Text[i] == '\r' && i + 1 < Text.size() && Text[i + 1] == '\n') {
                continue;
            }
            out += Text[i];
        }
        return out;
    };
    for (int language : {0, 1}) {
        StoreSuiteInteger("Language", language);
        Start();
        for (const TText& t : texts) {
            const char* expected = language == 1 ? t.German : t.English;
            if (expected == nullptr) {
                continue;
            }
            EXPECT_EQ(lines(t.Control(*Main)->Caption()), expected) << t.Name << " in language " << language;
        }
        EXPECT_EQ(Main->popSaveDir->Caption(), "Save directory list!") << "the same in every language";
        EXPECT_EQ(Main->Caption(), "QEL KORVEL X2 r6.11.01 [64]  ") << "the same in every language";
        Main->ShowPage(PAGE_OPTION_FILE);
        EXPECT_EQ(Main->chkOptionViewer->Caption(), language == 1 ? "Viewer starten" : "Start Viewer");
        ASSERT_EQ(Main->cbxCutFileFormat->Items().Count(), 5);
        const char* formats[] = {"QEL", "MATLAB", "Binary file", "Binary file with time mark", "QREC"};
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(Main->cbxCutFileFormat->Items().Strings(i), formats[i]);
        }
        EXPECT_EQ(Main->vedCutFileUser->Text(), "10000");
        Stop();
    }
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
