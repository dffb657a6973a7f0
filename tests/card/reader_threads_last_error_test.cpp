// Tests that the card reader threads never let an older failure's message
// show up with their own outcome: it is gone when they start.
#include "card/buffer_list.h"
#include "card/card_records.h"
#include "card/ext_card.h"
#include "card/read_card_data_thread.h"
#include "card/read_card_dir_thread.h"
#include "card_fixture.h"
#include "foundations/qel_error.h"
#include "loggers/qel_base.h"
#include "loggers/qel_factory.h"
#include "platform/messages.h"
#include "tests/card/buffer_folder_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace qel {
namespace {

using namespace qeltest;

const std::string OLD_FAILURE = "message of an earlier failure";

// What the window saw of one thread run: each state with the last failure's
// message as it read at that state.
struct TSeen {
    plat::WPARAM State;
    plat::LPARAM Value;
    std::string Message;
};

class ReaderThreadsLastError : public BufferFolderTest {
protected:
    void SetUp() override
    {
        BufferFolderTest::SetUp();
        Reset();
        for (const plat::UINT message : {WM_CARD_DIR_STATUS, WM_CARD_DATA_STATUS}) {
            FWindows.push_back(plat::CreateWindowHandle(
                FQueue,
                [this, message](plat::UINT received, plat::WPARAM wParam, plat::LPARAM lParam) -> plat::LRESULT {
                    if (received == message) {
                        FSeen.push_back({wParam, lParam, LastErrorMsg()});
                    }
                    return 0;
                },
                true));
        }
    }
    void TearDown() override
    {
        for (const plat::HWND window : FWindows) {
            plat::DestroyWindowHandle(window);
        }
        Reset();
        ClearLastErrorMsg();
        BufferFolderTest::TearDown();
    }
    static void Reset()
    {
        ExtCard.Clear();
        RecInfoList.Clear();
        ReadBufferList.ClearAll();
        ReadBufferList.SetActiveQEL(nullptr);
        ReadBufferList.SetUseFileStream(false);
        QelList.Clear();
    }

    plat::HWND DirWindow() const { return FWindows[0]; }
    plat::HWND DataWindow() const { return FWindows[1]; }

    // Runs a thread that an earlier failure's message precedes, and returns
    // what its window saw up to its final state.
    template <class TThread>
    std::vector<TSeen> RunAfterAnOldFailure(plat::HWND window, bool stopAtOnce = false)
    {
        SetLastErrorMsg(OLD_FAILURE);
        FSeen.clear();
        auto thread = std::make_shared<TThread>(window);
        if (stopAtOnce) {
            thread->Terminate();
        }
        thread->Start();
        const auto final = [this] {
            return !FSeen.empty() && (FSeen.back().State == THREAD_FINISHED || FSeen.back().State == THREAD_FAILED);
        };
        while (!final()) {
            if (!FQueue.WaitMessage(60000)) {
                ADD_FAILURE() << "the reader posted no final state";
                break;
            }
            FQueue.ProcessMessages();
        }
        thread->WaitFor();
        return FSeen;
    }

    // A card with one recording of a QEL649, scanned and selected, with its logger.
    void PrepareDataRead()
    {
        cardgen::TRecordingDescription recording;
        recording.Logger = Logger(5);
        recording.PageCount = 3;
        recording.StartTimeUnits = 1000;
        recording.TimeStepUnits = 10;
        recording.Body = std::make_shared<cardgen::TRawPageBody>(std::vector<std::uint8_t>{0});
        Generate(FCard, PagesInOrder({recording}));
        FillImage(ExtCard, FCard.Manifest.Files);
        RunAfterAnOldFailure<TReadCardDirThread>(DirWindow());
        ASSERT_EQ(RecInfoList.Count(), 1);
        auto& record = dynamic_cast<TCardRecord&>(*RecInfoList.GetItem(0));
        record.Selected = true;
        TQEL* logger = GetQelClass(record.Info.QEL_CLASS, record.Info.QEL_VER_PC)->Create().release();
        logger->ID_CLASS = record.Info.QEL_CLASS;
        logger->ID_VER_PC = record.Info.QEL_VER_PC;
        logger->ID_VER = record.Info.QEL_VER;
        QelList.Add(logger);
        ReadBufferList.SetActiveQEL(logger);
    }

    plat::TMessageQueue FQueue;
    std::vector<plat::HWND> FWindows;
    std::vector<TSeen> FSeen;
    TGeneratedCard FCard;
};

// Every state of the run reads no message but the run's own.
void ExpectNoOldMessage(const std::vector<TSeen>& seen, const char* reader)
{
    ASSERT_FALSE(seen.empty()) << reader;
    for (const TSeen& state : seen) {
        EXPECT_EQ(state.Message.find(OLD_FAILURE), std::string::npos)
            << reader << ", state " << state.State << ": " << state.Message;
    }
    EXPECT_EQ(GetExceptionStr(0).find(OLD_FAILURE), std::string::npos) << reader;
}

TEST_F(ReaderThreadsLastError, FinishedReadsLeaveNoOldMessage)
{
    PrepareDataRead();
    const std::vector<TSeen> dir = FSeen;
    ASSERT_EQ(dir.back().State, THREAD_FINISHED);
    EXPECT_EQ(dir.front().State, THREAD_STARTED);
    ExpectNoOldMessage(dir, "directory reader");
    EXPECT_EQ(dir.back().Message, "");

    const std::vector<TSeen> data = RunAfterAnOldFailure<TReadCardDataThread>(DataWindow());
    ASSERT_EQ(data.back().State, THREAD_FINISHED);
    ExpectNoOldMessage(data, "data reader");
    EXPECT_EQ(data.back().Message, "");
}

TEST_F(ReaderThreadsLastError, FailedReadsCarryOnlyTheirOwnMessage)
{
    PrepareDataRead();
    const std::vector<TSeen> stopped = RunAfterAnOldFailure<TReadCardDataThread>(DataWindow(), true);
    ASSERT_EQ(stopped.back().State, THREAD_FAILED);
    EXPECT_EQ(stopped.back().Value, EXC_USER_ABORT);
    ExpectNoOldMessage(stopped, "stopped data reader");

    // The data reader first: a failed directory scan leaves no record to read.
    std::filesystem::remove(FCard.Manifest.Files[0]);
    for (const bool dirReader : {false, true}) {
        const std::vector<TSeen> failed = dirReader ? RunAfterAnOldFailure<TReadCardDirThread>(DirWindow())
                                                    : RunAfterAnOldFailure<TReadCardDataThread>(DataWindow());
        const char* reader = dirReader ? "directory reader" : "data reader";
        ASSERT_EQ(failed.back().State, THREAD_FAILED) << reader;
        EXPECT_EQ(failed.back().Value, 0) << reader;
        ExpectNoOldMessage(failed, reader);
        EXPECT_NE(failed.back().Message.find(FCard.Manifest.Files[0]), std::string::npos)
            << reader << ": " << failed.back().Message;
    }
}

} // namespace
} // namespace qel
