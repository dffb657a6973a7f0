// Tests of the error class and of the last failure's message.
#include "foundations/qel_error.h"

#include <gtest/gtest.h>

namespace qel {
namespace {

TEST(QelError, Constructors)
{
    const EQel plain(EXC_USER_ABORT);
    EXPECT_EQ(plain.iException, 3);
    EXPECT_STREQ(plain.what(), "");

    const EQel withText(41, "card gone");
    EXPECT_EQ(withText.iException, 41);
    EXPECT_STREQ(withText.what(), "card gone");

    const EQel withInfo(5, 17);
    EXPECT_EQ(withInfo.iException, 5);
    EXPECT_STREQ(withInfo.what(), "17");
    EXPECT_STREQ(EQel(5, -42).what(), "-42");
}

TEST(QelError, CodesRaisedByTheProgram)
{
    EXPECT_EQ(EXC_USER_ABORT, 3);
    EXPECT_EQ(EXC_DIALOG_ABORT, 21);
    EXPECT_EQ(EXC_UNKNOWN_VERSION, 30);
}

TEST(QelError, RecordFailureStoresEachFailuresOwnMessage)
{
    SetLastErrorMsg("Disk full");
    // An abort carries no message: the old one must not survive it.
    EXPECT_EQ(RecordFailure(std::make_exception_ptr(EQel(EXC_USER_ABORT))), 3);
    EXPECT_EQ(LastErrorMsg(), "");

    EXPECT_EQ(RecordFailure(std::make_exception_ptr(std::runtime_error("write failed"))), 0);
    EXPECT_EQ(LastErrorMsg(), "write failed");

    EXPECT_EQ(RecordFailure(std::make_exception_ptr(EQel(30, "v9.99"))), 30);
    EXPECT_EQ(LastErrorMsg(), "v9.99");

    EXPECT_EQ(RecordFailure(std::make_exception_ptr(42)), 0);
    EXPECT_FALSE(LastErrorMsg().empty());

    EXPECT_EQ(RecordFailure(nullptr), 0);
    EXPECT_EQ(LastErrorMsg(), "");
}

TEST(QelError, ClearLastErrorMsg)
{
    SetLastErrorMsg("old failure");
    ClearLastErrorMsg();
    EXPECT_EQ(LastErrorMsg(), "");
}

} // namespace
} // namespace qel
