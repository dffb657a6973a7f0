// The close protocol on the manual clock: a close while a worker runs is
// refused once, the worker told to stop, and the window closes one second
// after the first request; without a worker it closes at once. And the time
// limit on the program's end.
#include "tests/app/main_window_fixture.h"

#include "app/exit_guard.h"
#include "card/thread_status.h"
#include "export/save_file_thread.h"
#include "foundations/qel_error.h"
#include "foundations/qel_registry.h"
#include "foundations/settings.h"
#include "platform/controls/standard/button.h"
#include "platform/registry.h"
#include "platform/worker_thread.h"

#include <future>
#include <thread>

namespace qel::test {
namespace {

// A card reader that runs until it is told to stop and then fails with the
// user-abort code.
class TReaderUntilStopped : public plat::TThread {
public:
    explicit TReaderUntilStopped(plat::HWND Window) : FWindow(Window) {}

protected:
    void Execute() override
    {
        plat::PostMessage(FWindow, WM_CARD_DIR_STATUS, THREAD_STARTED, 0);
        while (!Terminated()) {
            std::this_thread::yield();
        }
        plat::PostMessage(FWindow, WM_CARD_DIR_STATUS, THREAD_FAILED, EXC_USER_ABORT);
    }

private:
    plat::HWND FWindow;
};

// A saver that runs until it is told to stop and then fails with the
// user-abort code.
class TSaverUntilStopped : public TSaveFileThread {
public:
    explicit TSaverUntilStopped(plat::HWND Window) : TSaveFileThread(Window, nullptr, nullptr), FWindow(Window) {}

protected:
    void Execute() override
    {
        plat::PostMessage(FWindow, WM_SAVE_STATUS, THREAD_STARTED, 0);
        while (!Terminated()) {
            std::this_thread::yield();
        }
        plat::PostMessage(FWindow, WM_SAVE_STATUS, THREAD_FAILED, EXC_USER_ABORT);
    }

private:
    plat::HWND FWindow;
};

class MainWindowCloseTest : public TMainWindowTest {
protected:
    std::shared_ptr<TReaderUntilStopped> StartReader()
    {
        auto reader = std::make_shared<TReaderUntilStopped>(Main->Handle());
        EXPECT_TRUE(Main->RunCardWorker([&] {
            reader->Start();
            return reader;
        }));
        return reader;
    }
};

TEST_F(MainWindowCloseTest, WithoutWorkerTheWindowClosesAtOnce)
{
    Start();
    Host->CloseWindow(Main->Handle());
    Pump();
    EXPECT_TRUE(App->Terminated());
    EXPECT_FALSE(Main->btnExit->Enabled());
}

TEST_F(MainWindowCloseTest, WhileAWorkerRunsTheCloseWaitsOneSecond)
{
    Start();
    auto reader = StartReader();
    ASSERT_TRUE(PumpUntil([&] { return Main->PageIndex() == PAGE_PROGRESS; }));

    Host->CloseWindow(Main->Handle());
    Pump();
    EXPECT_FALSE(App->Terminated());
    EXPECT_FALSE(Main->btnExit->Enabled());
    ASSERT_EQ(Main->CanCloseState(), CLOSE_PENDING);
    reader->WaitFor();   // it was told to stop
    Pump();
    EXPECT_EQ(Main->PageIndex(), PAGE_START);
    EXPECT_TRUE(ErrorTexts().empty());

    Host->AdvanceClock(500);
    Host->CloseWindow(Main->Handle());   // a second request does nothing
    Pump();
    EXPECT_FALSE(App->Terminated());
    EXPECT_EQ(Main->CanCloseState(), CLOSE_PENDING);

    Host->AdvanceClock(499);
    EXPECT_FALSE(App->Terminated());
    Host->AdvanceClock(1);
    Pump();
    EXPECT_TRUE(App->Terminated());
    EXPECT_EQ(Main->CanCloseState(), CLOSE_ALLOWED);
}

TEST_F(MainWindowCloseTest, ExitAndFinishCloseGoThroughTheProtocol)
{
    for (auto button : {&TfrmMain::btnExit, &TfrmMain::btnFinishClose}) {
        Start();
        auto reader = StartReader();
        ASSERT_TRUE(PumpUntil([&] { return Main->PageIndex() == PAGE_PROGRESS; }));
        Main->ShowPage(button == &TfrmMain::btnExit ? PAGE_START : PAGE_FINISH);
        ClickOn(Main->*button);
        EXPECT_FALSE(App->Terminated());
        ASSERT_FALSE(Main->btnExit->Enabled());
        reader->WaitFor();
        Host->AdvanceClock(CLOSE_DELAY_MS);
        Pump();
        EXPECT_TRUE(App->Terminated());
        Stop();
    }
}

TEST_F(MainWindowCloseTest, AClosingWhileASaveRunsStopsItAndTheReaderSectionIsWritten)
{
    Start();
    Main->ShowPage(PAGE_SAVE);
    auto saver = std::make_shared<TSaverUntilStopped>(Main->Handle());
    ASSERT_TRUE(Main->RunSaveWorker([&] {
        saver->Start();
        return saver;
    }));
    Host->CloseWindow(Main->Handle());
    Pump();
    EXPECT_FALSE(App->Terminated());
    EXPECT_FALSE(Main->btnExit->Enabled());
    saver->WaitFor();   // it was told to stop
    Pump();
    EXPECT_EQ(Main->PageIndex(), PAGE_START) << "a cancelled save returns to the start page";
    EXPECT_TRUE(ErrorTexts().empty());
    EXPECT_FALSE(Main->WorkerRunning());
    Host->AdvanceClock(CLOSE_DELAY_MS - 1);
    Pump();
    EXPECT_FALSE(App->Terminated());
    Host->AdvanceClock(1);
    Pump();
    EXPECT_TRUE(App->Terminated());
    Stop();
    plat::TRegistry registry;
    ASSERT_TRUE(registry.OpenKeyReadOnly(RegBaseKey + "\\reader"));
    EXPECT_FALSE(registry.ReadBool("MultipleQEL"));
}

TEST(ExitGuardTest, ActionRunsOnlyWhenTheLimitPasses)
{
    std::promise<void> ran;
    {
        TExitGuard guard(std::chrono::milliseconds(0), [&] { ran.set_value(); });
        EXPECT_EQ(ran.get_future().wait_for(std::chrono::seconds(30)), std::future_status::ready);
    }
    bool ranAfterDisarm = false;
    {
        TExitGuard guard(std::chrono::hours(1), [&] { ranAfterDisarm = true; });
        guard.Disarm();
    }
    EXPECT_FALSE(ranAfterDisarm);
}

} // namespace
} // namespace qel::test
