// Tests of the card-directory reader thread: the status messages it posts to
// a window for a finished, stopped and failed scan.
#include "card/card_records.h"
#include "card/ext_card.h"
#include "card/read_card_dir_thread.h"
#include "card_fixture.h"
#include "foundations/qel_error.h"
#include "platform/messages.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <utility>

namespace qel {
namespace {

using namespace qeltest;
using TStatus = std::pair<plat::WPARAM, plat::LPARAM>;

class ReadCardDirThreadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FWindow = plat::CreateWindowHandle(
            FQueue,
            [this](plat::UINT message, plat::WPARAM wParam, plat::LPARAM lParam) -> plat::LRESULT {
                if (message == WM_CARD_DIR_STATUS) {
                    FStatus.emplace_back(wParam, lParam);
                }
                return 0;
            },
            true);
        ExtCard.Clear();
        RecInfoList.Clear();
    }
    void TearDown() override
    {
        plat::DestroyWindowHandle(FWindow);
        ExtCard.Clear();
        RecInfoList.Clear();
    }

    void UseCard(const cardgen::TCardDescription& desc)
    {
        Generate(FCard, desc);
        FillImage(ExtCard, FCard.Manifest.Files);
    }

    // Handles the window's messages until the reader's final state arrives.
    void WaitForFinalState()
    {
        const auto final = [this] {
            return !FStatus.empty() && (FStatus.back().first == THREAD_FINISHED || FStatus.back().first == THREAD_FAILED);
        };
        while (!final()) {
            ASSERT_TRUE(FQueue.WaitMessage(60000)) << "the reader posted no final state";
            FQueue.ProcessMessages();
        }
    }

    plat::TMessageQueue FQueue;
    plat::HWND FWindow = 0;
    std::vector<TStatus> FStatus;
    TGeneratedCard FCard;
};

cardgen::TCardDescription TwoLoggers(std::uint32_t pages)
{
    cardgen::TRecordingDescription first;
    first.Logger = Logger(8);
    first.PageCount = pages;
    cardgen::TRecordingDescription second = first;
    second.Logger = Logger(3);
    cardgen::TCardDescription desc;
    desc.Recordings = {first, second};
    desc.Layout = {cardgen::TPlaceRecording{0, 0, {}}, cardgen::TPlaceRecording{1, 0, {}}};
    return desc;
}

TEST_F(ReadCardDirThreadTest, StartedProgressFinished)
{
    UseCard(TwoLoggers(150));
    auto thread = TReadCardDirThread::Create(FWindow);
    WaitForFinalState();
    thread->WaitFor();

    ASSERT_GE(FStatus.size(), 3u);
    EXPECT_EQ(FStatus.front(), TStatus(THREAD_STARTED, 0));
    EXPECT_EQ(FStatus.back(), TStatus(THREAD_FINISHED, 0));
    std::vector<plat::LPARAM> percents;
    for (std::size_t i = 1; i + 1 < FStatus.size(); ++i) {
        EXPECT_EQ(FStatus[i].first, THREAD_PROGRESS);
        percents.push_back(FStatus[i].second);
    }
    ASSERT_EQ(percents.size(), 100u);   // 300 clusters: every percentage once
    for (std::size_t i = 0; i < percents.size(); ++i) {
        EXPECT_EQ(percents[i], static_cast<plat::LPARAM>(i));
    }
    ASSERT_EQ(RecInfoList.Count(), 2);
    EXPECT_EQ(dynamic_cast<TCardRecord&>(*RecInfoList.GetItem(0)).SN_CARD, 3u);
    thread->Terminate();   // harmless once it has ended
}

TEST_F(ReadCardDirThreadTest, StopRequestEndsAsFailedWithCodeThree)
{
    UseCard(TwoLoggers(5));
    auto thread = std::make_shared<TReadCardDirThread>(FWindow);
    thread->Terminate();
    thread->Start();
    WaitForFinalState();
    thread->WaitFor();
    EXPECT_EQ(FStatus, (std::vector<TStatus>{{THREAD_STARTED, 0}, {THREAD_FAILED, EXC_USER_ABORT}}));
}

TEST_F(ReadCardDirThreadTest, UnreadableContainerEndsAsFailedWithCodeZeroAndTheMessage)
{
    UseCard(TwoLoggers(2));
    const std::string missing = FCard.Dir.File("qel1.dat");
    ExtCard.Add(new TExtCardInfo(missing));
    auto thread = TReadCardDirThread::Create(FWindow);
    WaitForFinalState();
    thread->WaitFor();
    EXPECT_EQ(FStatus.back(), TStatus(THREAD_FAILED, 0));
    EXPECT_NE(LastErrorMsg().find("qel1.dat"), std::string::npos) << LastErrorMsg();

    // A folder in place of a container opens but cannot be read.
    FStatus.clear();
    ExtCard.Delete(1);
    std::filesystem::create_directory(missing);
    ExtCard.Insert(0, new TExtCardInfo(missing));
    thread = TReadCardDirThread::Create(FWindow);
    WaitForFinalState();
    thread->WaitFor();
    EXPECT_EQ(FStatus.back(), TStatus(THREAD_FAILED, 0));
    EXPECT_FALSE(LastErrorMsg().empty());
}

// A reader whose read meets an exception of no known class.
class TThrowingReader : public TReadCardDirThread {
public:
    using TReadCardDirThread::TReadCardDirThread;

protected:
    void Read(const TCardReadHooks&) override { throw 42; }
};

TEST_F(ReadCardDirThreadTest, AnyOtherExceptionStillPostsTheFailedState)
{
    auto thread = std::make_shared<TThrowingReader>(FWindow);
    thread->Start();
    WaitForFinalState();
    thread->WaitFor();
    EXPECT_EQ(FStatus, (std::vector<TStatus>{{THREAD_STARTED, 0}, {THREAD_FAILED, 0}}));
}

} // namespace
} // namespace qel
