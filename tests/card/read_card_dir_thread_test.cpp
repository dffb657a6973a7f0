// Tests of the card-directory reader thread: the status messages it posts to
// a window for a finished, stopped and failed scan.
#include "card/card_records.h"
#include "card/ext_card.h"
#include "card/read_card_dir_thread.h"
#include "card_fixture.h"
#include "foundations/qel_error.h"
#include "tests/card/status_window.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace qel {
namespace {

using namespace qeltest;

class ReadCardDirThreadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ExtCard.Clear();
        RecInfoList.Clear();
    }
    void TearDown() override
    {
        ExtCard.Clear();
        RecInfoList.Clear();
    }

    void UseCard(const cardgen::TCardDescription& desc)
    {
        Generate(FCard, desc);
        FillImage(ExtCard, FCard.Manifest.Files);
    }

    TStatusWindow FWindow{WM_CARD_DIR_STATUS};
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
    auto thread = TReadCardDirThread::Create(FWindow.Handle());
    FWindow.WaitForFinalState();
    thread->WaitFor();

    ASSERT_GE(FWindow.Status().size(), 3u);
    EXPECT_EQ(FWindow.Status().front(), TStatus(THREAD_STARTED, 0));
    EXPECT_EQ(FWindow.Status().back(), TStatus(THREAD_FINISHED, 0));
    std::vector<plat::LPARAM> percents;
    for (std::size_t i = 1; i + 1 < FWindow.Status().size(); ++i) {
        EXPECT_EQ(FWindow.Status()[i].first, THREAD_PROGRESS);
        percents.push_back(FWindow.Status()[i].second);
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
    auto thread = std::make_shared<TReadCardDirThread>(FWindow.Handle());
    thread->Terminate();
    thread->Start();
    FWindow.WaitForFinalState();
    thread->WaitFor();
    EXPECT_EQ(FWindow.Status(), (std::vector<TStatus>{{THREAD_STARTED, 0}, {THREAD_FAILED, EXC_USER_ABORT}}));
}

TEST_F(ReadCardDirThreadTest, UnreadableContainerEndsAsFailedWithCodeZeroAndTheMessage)
{
    UseCard(TwoLoggers(2));
    const std::string missing = FCard.Dir.File("qel1.dat");
    ExtCard.Add(new TExtCardInfo(missing));
    auto thread = TReadCardDirThread::Create(FWindow.Handle());
    FWindow.WaitForFinalState();
    thread->WaitFor();
    EXPECT_EQ(FWindow.Status().back(), TStatus(THREAD_FAILED, 0));
    EXPECT_NE(LastErrorMsg().find("qel1.dat"), std::string::npos) << LastErrorMsg();

    // A folder in place of a container opens but cannot be read.
    FWindow.Clear();
    ExtCard.Delete(1);
    std::filesystem::create_directory(missing);
    ExtCard.Insert(0, new TExtCardInfo(missing));
    thread = TReadCardDirThread::Create(FWindow.Handle());
    FWindow.WaitForFinalState();
    thread->WaitFor();
    EXPECT_EQ(FWindow.Status().back(), TStatus(THREAD_FAILED, 0));
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
    auto thread = std::make_shared<TThrowingReader>(FWindow.Handle());
    thread->Start();
    FWindow.WaitForFinalState();
    thread->WaitFor();
    EXPECT_EQ(FWindow.Status(), (std::vector<TStatus>{{THREAD_STARTED, 0}, {THREAD_FAILED, 0}}));
}

} // namespace
} // namespace qel
