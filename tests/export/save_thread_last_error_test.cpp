// Tests that a save thread never lets an older failure's message show up
// with its own outcome: it is gone when the thread starts.
#include "export/save_file_thread.h"
#include "foundations/qel_error.h"
#include "tests/export/save_fixture.h"

#include <gtest/gtest.h>

namespace {

using qel::TSaveFileThread;

const std::string OLD_FAILURE = "message of an earlier failure";

class SaveThreadLastError : public qeltest::SaveFixture {
protected:
    SaveThreadLastError() { qel::SetLastErrorMsg(OLD_FAILURE); }
    ~SaveThreadLastError() override { qel::ClearLastErrorMsg(); }
};

TEST_F(SaveThreadLastError, FinishedSaveLeavesNoOldMessage)
{
    qel::TQEL& logger = AddLogger<qel::TQEL>(5, 0x1234, 0x0100);
    AddSeries(logger, 0, 3);
    std::string whileSaving = "not called";
    onSaveInfo = [&whileSaving](const std::string&) { whileSaving = qel::LastErrorMsg(); };
    RunSave(&TSaveFileThread::ClassInfo);

    ASSERT_EQ(States().back(), qel::THREAD_FINISHED);
    EXPECT_EQ(whileSaving, "");
    EXPECT_EQ(qel::LastErrorMsg(), "");
    EXPECT_EQ(qel::GetExceptionStr(0).find(OLD_FAILURE), std::string::npos) << qel::GetExceptionStr(0);
}

TEST_F(SaveThreadLastError, FailedSaveCarriesOnlyItsOwnMessage)
{
    qel::TQEL& logger = AddLogger<qel::TQEL>(5, 0x1234, 0x0100);
    AddSeries(logger, 0, 3);
    const std::string missing = dir.File("missing") + "/";
    RunSave(&TSaveFileThread::ClassInfo, [&missing](TSaveFileThread&) { qel::SaveBufferList.FileNameEx.path = missing; });

    EXPECT_EQ(FailureCode(), 0);
    EXPECT_NE(qel::LastErrorMsg().find(missing), std::string::npos) << qel::LastErrorMsg();
    EXPECT_EQ(qel::GetExceptionStr(0).find(OLD_FAILURE), std::string::npos) << qel::GetExceptionStr(0);
}

} // namespace
