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
#include "tests/card/buffer_folder_fixture.h"
#include "tests/card/status_window.h"

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
    }
    void TearDown() override
    {
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

    // Runs a thread that an earlier failure's message precedes, and returns
    // what its window saw up to its final state.
    template <class TThread>
    static std::vector<TSeen> RunAfterAnOldFailure(TStatusWindow& window, bool stopAtOnce = false)
    {
        SetLastErrorMsg(OLD_FAILURE);
        window.Clear();
        auto thread = std::make_shared<TThread>(window.Handle());
        if (stopAtOnce) {
            thread->Terminate();
        }
        thread->Start();
        window.WaitForFinalState();
        thread->WaitFor();
        std::vector<TSeen> seen;
        for (std::size_t i = 0; i < window.Status().size(); ++i) {
            seen.push_back({window.Status()[i].first, window.Status()[i].second, window.Messages()[i]});
        }
        return seen;
    }

    // A card with one recording of a QEL649, scanned and selected, with its
    // logger; FDirSeen holds what the scan posted.
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
        FDirSeen = RunAfterAnOldFailure<TReadCardDirThread>(FDirWindow);
        ASSERT_EQ(RecInfoList.Count(), 1);
        RecInfoList.GetItem(0)->Selected = true;
        BindLoggerOfFirstSelected(RecInfoList);
    }

    TStatusWindow FDirWindow{WM_CARD_DIR_STATUS};
    TStatusWindow FDataWindow{WM_CARD_DATA_STATUS};
    std::vector<TSeen> FDirSeen;
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
    const std::vector<TSeen> dir = FDirSeen;
    ASSERT_EQ(dir.back().State, THREAD_FINISHED);
    EXPECT_EQ(dir.front().State, THREAD_STARTED);
    ExpectNoOldMessage(dir, "directory reader");
    EXPECT_EQ(dir.back().Message, "");

    const std::vector<TSeen> data = RunAfterAnOldFailure<TReadCardDataThread>(FDataWindow);
    ASSERT_EQ(data.back().State, THREAD_FINISHED);
    ExpectNoOldMessage(data, "data reader");
    EXPECT_EQ(data.back().Message, "");
}

TEST_F(ReaderThreadsLastError, FailedReadsCarryOnlyTheirOwnMessage)
{
    PrepareDataRead();
    const std::vector<TSeen> stopped = RunAfterAnOldFailure<TReadCardDataThread>(FDataWindow, true);
    ASSERT_EQ(stopped.back().State, THREAD_FAILED);
    EXPECT_EQ(stopped.back().Value, EXC_USER_ABORT);
    ExpectNoOldMessage(stopped, "stopped data reader");

    // The data reader first: a failed directory scan leaves no record to read.
    std::filesystem::remove(FCard.Manifest.Files[0]);
    for (const bool dirReader : {false, true}) {
        const std::vector<TSeen> failed = dirReader ? RunAfterAnOldFailure<TReadCardDirThread>(FDirWindow)
                                                    : RunAfterAnOldFailure<TReadCardDataThread>(FDataWindow);
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
