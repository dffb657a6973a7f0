// The main window and its workers: their status messages as a table, the
// error display, the exception handler, one worker at a time, and the
// order of a save's lines against its final message.
#include "tests/app/main_window_fixture.h"

#include "app/validate_edit.h"
#include "card/thread_status.h"
#include "foundations/qel_error.h"
#include "platform/controls/standard/button.h"
#include "platform/controls/standard/label.h"
#include "platform/controls/standard/speed_button.h"
#include "platform/worker_thread.h"
#include "widgets/pages/pgc_editor.h"
#include "widgets/pages/pgc_meter.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace qel::test {
namespace {

constexpr plat::UINT DIR = WM_CARD_DIR_STATUS;
constexpr plat::UINT DATA = WM_CARD_DATA_STATUS;
constexpr plat::UINT SAVE = WM_SAVE_STATUS;
const std::string ENGLISH_TITLE = "KORVEL ";

struct TPosted {
    plat::UINT Message;
    plat::WPARAM State;
    plat::LPARAM Value;
};

struct TStatusCase {
    const char* Name;
    std::vector<TPosted> Posted;
    int Page;
    std::string Info;          // lblInfo
    int ProgressBar;           // omeProgress
    int SaveBar;               // omeSave
    std::string Title;
    std::vector<std::string> Boxes;
};

class MainWindowWorkersTest : public TMainWindowTest {};

TEST_F(MainWindowWorkersTest, StatusMessagesMovePagesBarsTitlesAndBoxes)
{
    const std::string dirInfo = "Read SD card directory..";
    const std::string dataInfo = "Read SD card memory..";
    const std::string fatal0 = "Fatal Exception 0 has occurred!\n\rthe card went away";
    const std::string dialogAbort = "Abort by user";   // code 21 has a text of its own
    const TStatusCase cases[] = {
        {"dir started", {{DIR, THREAD_STARTED, 0}}, PAGE_PROGRESS, dirInfo, 0, 0, ENGLISH_TITLE, {}},
        {"data started", {{DATA, THREAD_STARTED, 0}}, PAGE_PROGRESS, dataInfo, 0, 0, ENGLISH_TITLE, {}},
        {"dir progress", {{DIR, THREAD_STARTED, 0}, {DIR, THREAD_PROGRESS, 37}}, PAGE_PROGRESS, dirInfo, 37, 0, "37 %", {}},
        {"data progress", {{DATA, THREAD_STARTED, 0}, {DATA, THREAD_PROGRESS, 100}}, PAGE_PROGRESS, dataInfo, 100, 0, "100 %", {}},
        {"progress out of range", {{DIR, THREAD_STARTED, 0}, {DIR, THREAD_PROGRESS, 37}, {DIR, THREAD_PROGRESS, 101}},
         PAGE_PROGRESS, dirInfo, 101, 0, "37 %", {}},
        {"dir finished", {{DIR, THREAD_STARTED, 0}, {DIR, THREAD_PROGRESS, 50}, {DIR, THREAD_FINISHED, 0}}, PAGE_INFO,
         dirInfo, 50, 0, ENGLISH_TITLE, {}},
        {"data finished", {{DATA, THREAD_STARTED, 0}, {DATA, THREAD_FINISHED, 0}}, PAGE_CUT_CHANNELS, dataInfo, 0, 0,
         ENGLISH_TITLE, {}},
        {"dir failed 0", {{DIR, THREAD_STARTED, 0}, {DIR, THREAD_PROGRESS, 5}, {DIR, THREAD_FAILED, 0}}, PAGE_START,
         dirInfo, 5, 0, ENGLISH_TITLE, {fatal0}},
        {"dir failed 3", {{DIR, THREAD_STARTED, 0}, {DIR, THREAD_FAILED, 3}}, PAGE_START, dirInfo, 0, 0, ENGLISH_TITLE, {}},
        {"data failed 21", {{DATA, THREAD_STARTED, 0}, {DATA, THREAD_FAILED, 21}}, PAGE_START, dataInfo, 0, 0,
         ENGLISH_TITLE, {dialogAbort}},
        {"dir other state", {{DIR, THREAD_SAVED, 0}, {DIR, 7, 0}}, PAGE_START, "", 0, 0, ENGLISH_TITLE, {}},
        {"save started and saved", {{SAVE, THREAD_STARTED, 0}, {SAVE, THREAD_SAVED, 0}}, PAGE_START, "", 0, 0,
         ENGLISH_TITLE, {}},
        {"save progress", {{SAVE, THREAD_PROGRESS, 37}}, PAGE_START, "", 0, 37, "37 %", {}},
        {"save finished", {{SAVE, THREAD_PROGRESS, 80}, {SAVE, THREAD_FINISHED, 0}}, PAGE_FINISH, "", 0, 80,
         ENGLISH_TITLE, {}},
        {"save failed 0", {{SAVE, THREAD_PROGRESS, 80}, {SAVE, THREAD_FAILED, 0}}, PAGE_START, "", 0, 80, ENGLISH_TITLE,
         {fatal0}},
        {"save failed 3", {{SAVE, THREAD_FAILED, 3}}, PAGE_START, "", 0, 0, ENGLISH_TITLE, {}},
        {"save failed 21", {{SAVE, THREAD_FAILED, 21}}, PAGE_START, "", 0, 0, ENGLISH_TITLE, {}},
        {"save other state", {{SAVE, 12, 40}}, PAGE_START, "", 0, 0, ENGLISH_TITLE, {}},
    };
    for (const TStatusCase& c : cases) {
        Start();
        AddReadSample();
        Main->AddSaveInfo(Dir.File("out.qrec"));
        SetLastErrorMsg("the card went away");
        for (std::size_t box = 0; box < c.Boxes.size(); ++box) {
            Dialogs.ExpectMessageBox(plat::mbOK);
        }
        for (const TPosted& posted : c.Posted) {
            Status(posted.Message, posted.State, posted.Value);
        }
        EXPECT_EQ(Main->PageIndex(), c.Page) << c.Name;
        EXPECT_EQ(Main->lblInfo->Caption(), c.Info) << c.Name;
        EXPECT_EQ(Main->omeProgress->Percent(), c.ProgressBar) << c.Name;
        EXPECT_EQ(Main->omeSave->Percent(), c.SaveBar) << c.Name;
        EXPECT_EQ(App->Title(), c.Title) << c.Name;
        EXPECT_EQ(ErrorTexts(), c.Boxes) << c.Name;
        Stop();
        Dialogs = plat::TScriptedDialogs();
    }
}

TEST_F(MainWindowWorkersTest, GermanFailureTextHasTheWorkersMessageBelow)
{
    StoreSuiteInteger("Language", 1);
    Start();
    SetLastErrorMsg("Gerät fehlt");
    Dialogs.ExpectMessageBox(plat::mbOK);
    Status(DIR, THREAD_STARTED);
    EXPECT_EQ(Main->lblInfo->Caption(), "Lesen des SD-Kartenverzeichnisses..");
    Status(DIR, THREAD_FAILED, 0);
    EXPECT_EQ(ErrorTexts(), std::vector<std::string>{"Es ist die Exception 0 aufgetreten !\n\rGerät fehlt"});
}

TEST_F(MainWindowWorkersTest, ExceptionHandlerTexts)
{
    struct TCase {
        const char* Name;
        std::exception_ptr Error;
        std::vector<std::string> Boxes;
    };
    const TCase cases[] = {
        {"user abort", std::make_exception_ptr(EQel(EXC_USER_ABORT)), {}},
        {"dialog abort", std::make_exception_ptr(EQel(EXC_DIALOG_ABORT)), {}},
        {"unknown version", std::make_exception_ptr(EQel(EXC_UNKNOWN_VERSION)),
         {"Unknown module version!\r\nPlease install updated QEL software."}},
        {"code without text", std::make_exception_ptr(EQel(4711, "bad header")),
         {"Fatal Exception 4711 has occurred!\n\rbad header"}},
        {"foreign", std::make_exception_ptr(std::runtime_error("out of range")),
         {"Fatal Exception 0 has occurred!\n\r\n\rout of range"}},
    };
    Start();
    SetLastErrorMsg("an old worker's message");
    for (const TCase& c : cases) {
        Dialogs = plat::TScriptedDialogs();
        for (std::size_t box = 0; box < c.Boxes.size(); ++box) {
            Dialogs.ExpectMessageBox(plat::mbOK);
        }
        // Raised in an event handler: the application hands it to the window.
        try {
            std::rethrow_exception(c.Error);
        } catch (...) {
            App->HandleException(Main);
        }
        EXPECT_EQ(ErrorTexts(), c.Boxes) << c.Name;
        EXPECT_EQ(Main->PageIndex(), PAGE_START) << c.Name;
    }
}

// A time whose date lies beyond the year 9999: the popup raises before it
// shows, and the error reaches the window's error display from the click.
TEST_F(MainWindowWorkersTest, ATimeBeyondTheYear9999ReachesTheErrorDisplay)
{
    Start();
    Main->ShowPage(PAGE_CUT_TIME);
    Main->vedCutTimeBegin->SetText("1e15");
    const std::size_t windows = Host->VisibleWindows().size();
    Dialogs.ExpectMessageBox(plat::mbOK);
    ClickOn(Main->SpeedButton1);
    ASSERT_EQ(ErrorTexts().size(), 1u);
    EXPECT_TRUE(ErrorTexts()[0].starts_with("Fatal Exception 0 has occurred!\n\r\n\r")) << ErrorTexts()[0];
    EXPECT_GT(ErrorTexts()[0].size(), std::string("Fatal Exception 0 has occurred!\n\r\n\r").size()) << "with its message";
    EXPECT_EQ(Main->PageIndex(), PAGE_CUT_TIME);
    EXPECT_EQ(Main->vedCutTimeBegin->Text(), "1e15");
    EXPECT_EQ(Host->VisibleWindows().size(), windows) << "no popup is left behind";
}

// A worker that runs until it is told to stop, then fails with the code of
// a user abort, as the card readers and savers do.
class TStoppableWorker : public plat::TThread {
public:
    explicit TStoppableWorker(plat::HWND Window, plat::UINT Message) : FWindow(Window), FMessage(Message) {}

protected:
    void Execute() override
    {
        plat::PostMessage(FWindow, FMessage, THREAD_STARTED, 0);
        while (!Terminated()) {
            std::this_thread::yield();
        }
        plat::PostMessage(FWindow, FMessage, THREAD_FAILED, EXC_USER_ABORT);
    }

private:
    plat::HWND FWindow;
    plat::UINT FMessage;
};

TEST_F(MainWindowWorkersTest, OneWorkerAtATimeAndCancelEndsOnTheStartPage)
{
    Start();
    auto first = std::make_shared<TStoppableWorker>(Main->Handle(), DIR);
    int created = 0;
    const auto create = [&] {
        ++created;
        first->Start();
        return first;
    };
    ASSERT_TRUE(Main->RunCardWorker(create));
    EXPECT_FALSE(Main->RunCardWorker(create));
    EXPECT_FALSE(Main->RunSaveWorker([&]() -> std::shared_ptr<TSaveFileThread> {
        ++created;
        return nullptr;
    }));
    EXPECT_EQ(created, 1);
    ASSERT_TRUE(PumpUntil([&] { return Main->PageIndex() == PAGE_PROGRESS; }));
    ClickOn(Main->btnProgressCancel);
    ASSERT_FALSE(Main->btnProgressCancel->Enabled());
    first->WaitFor();
    Pump();
    EXPECT_EQ(Main->PageIndex(), PAGE_START);
    EXPECT_TRUE(Main->btnStart->Enabled());
    EXPECT_FALSE(Main->WorkerRunning());
    EXPECT_TRUE(ErrorTexts().empty());
    // The slot is free again.
    auto second = std::make_shared<TStoppableWorker>(Main->Handle(), DATA);
    EXPECT_TRUE(Main->RunCardWorker([&] {
        second->Start();
        return second;
    }));
}

TEST_F(MainWindowWorkersTest, AtTheEndEveryHeldWorkerIsStoppedAndJoined)
{
    Start();
    auto worker = std::make_shared<TStoppableWorker>(Main->Handle(), SAVE);
    ASSERT_TRUE(Main->RunCardWorker([&] {
        worker->Start();
        return worker;
    }));
    Main->StopWorkers();
    EXPECT_TRUE(worker->Finished()) << "its work has ended when the window lets it go";
    EXPECT_FALSE(Main->WorkerRunning());
    // The window holds it no more: once the worker's thread has dropped its
    // own reference, only this test's is left.
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (worker.use_count() > 1 && std::chrono::steady_clock::now() < limit) {
        std::this_thread::yield();
    }
    EXPECT_EQ(worker.use_count(), 1);
}

TEST_F(MainWindowWorkersTest, SaveLinesArriveInOrderBeforeTheFinishedMessage)
{
    constexpr int LINES = 1000;
    const std::string record = Dir.File("record.txt");
    Start({"f:" + record});
    std::vector<int> listedWhenFinishShowed;
    int listed = 0;
    Main->OnFileListed = [&](const std::string&) { ++listed; };
    Main->OnPageShown = [&](int Page) {
        if (Page == PAGE_FINISH) {
            listedWhenFinishShowed.push_back(listed);
        }
    };
    TAddReport saveInfo = Main->SaveInfoCallback();
    const plat::HWND window = Main->Handle();
    std::thread saver([&] {
        for (int i = 0; i < LINES; ++i) {
            saveInfo("/data/file " + std::to_string(i) + ".qel");
        }
        plat::PostMessage(window, WM_SAVE_STATUS, THREAD_FINISHED, 0);
    });
    saver.join();
    Pump();
    ASSERT_EQ(listedWhenFinishShowed, std::vector<int>{LINES});
    const std::string shown = Main->oedResult->Text();
    Stop();
    const std::string text = qeltest::ReadWholeFile(record);
    std::size_t at = text.find("\r\n") + 2;
    std::size_t shownAt = 0;
    for (int i = 0; i < LINES; ++i) {
        const std::string line = "/data/file " + std::to_string(i) + ".qel";
        ASSERT_EQ(text.compare(at, line.size() + 2, line + "\r\n"), 0) << "record line " << i;
        at += line.size() + 2;
        shownAt = shown.find(line, shownAt);
        ASSERT_NE(shownAt, std::string::npos) << "listed line " << i;
    }
    EXPECT_EQ(at, text.size());
}

TEST_F(MainWindowWorkersTest, ReportLinesAreDroppedWhileTheReportIsOff)
{
    Start();
    TAddReport report = Main->ReportCallback();
    std::thread saver([&] { report("a report line"); });
    saver.join();
    Pump();
    EXPECT_EQ(Main->oedReport->Text(), "");
}

} // namespace
} // namespace qel::test
