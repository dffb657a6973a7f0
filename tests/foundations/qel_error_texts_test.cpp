// Tests of the error texts per code and language.
#include "foundations/qel_error.h"

#include "foundations/language_switch.h"
#include "foundations/language_table.h"
#include "platform/resource_strings.h"

#include <gtest/gtest.h>

namespace qel {
namespace {

// The texts in English, as a start with English chosen leaves them (the
// built-in texts are German).
class ErrorTexts : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const TLanguageRes& row : LanguageTexts) {
            PatchResString(row.PTR, row.ENG);
        }
        SetLastErrorMsg("Disk full");
    }
    void TearDown() override
    {
        ClearLastErrorMsg();
        plat::RestoreResStrings();
    }
};

TEST_F(ErrorTexts, CodesWithTheirOwnText)
{
    struct Case {
        std::int32_t code;
        const char* text;
    };
    const Case cases[] = {
        {2, "Cannot open serial port !"},
        {3, "Abort by user"},
        {4, "Unknown command"},
        {5, "Error when reading/writing to serial port!"},
        {6, "No modules available !"},
        {7, "Record is active!\r\nPlease close record first."},
        {8, "During readout a record has been started.\r\nThe read data is possibly not valid !"},
        {9, "The QEL is not initialised !"},
        {10, "The QEL doesn't know the requested function !"},
        {11, "The base module of the QEL is not available !"},
        {12, "The QEL could not answer yet !"},
        {13, "The QEL received wrong parameters !"},
        {14, "The QEL is reporting an unknown exception !"},
        {15, "The QEL is reporting an exception!"},
        {20, "No records available!"},
        {21, "Abort by user"},
        {22, "The QEL is in configuration mode.\r\nPlease turn off the QEL and turn it on again."},
        {30, "Unknown module version!\r\nPlease install updated QEL software."},
        {31, "Wrong password !\r\nPlease try it again."},
        {32, "No valve tester can be detected !"},
        {41, "Error during formatting !"},
        {42, "QEL has other serial number !\r\nPlease read QEL first !"},
        {43, "QEL has an other structure !\r\nPlease read QEL first !"},
        {105, "The WiFi or BLE module is still active !\r\nPlease deactivate this module first !"},
        {1001, "A change of the external sensors must be registered first in the logger!\r\n"
               "Please proceed according the brief instructions."},
        {1002, "The data recording cannot be started!"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetExceptionStr(c.code), c.text) << c.code;
    }
}

TEST_F(ErrorTexts, OtherCodesTakeTheFallBackWithTheFailuresMessage)
{
    for (const std::int32_t code : {0, 1, 16, 19, 23, 29, 33, 40, 44, 104, 106, 1000, 1003, -5, 2147483647}) {
        EXPECT_EQ(GetExceptionStr(code), "Fatal Exception " + std::to_string(code) + " has occurred!\n\rDisk full")
            << code;
    }
    EXPECT_EQ(GetExceptionStr(0, "own message"), "Fatal Exception 0 has occurred!\n\rown message");
    EXPECT_EQ(GetExceptionStr(30, "own message"), "Unknown module version!\r\nPlease install updated QEL software.");
}

TEST_F(ErrorTexts, OtherExceptionText)
{
    EXPECT_EQ(GetOtherExceptionStr(""), "Fatal Exception 0 has occurred!\n\r\n\r");
    EXPECT_EQ(GetOtherExceptionStr("bad cast"), "Fatal Exception 0 has occurred!\n\r\n\rbad cast");
}

TEST_F(ErrorTexts, AWorkerStartClearsTheOldMessage)
{
    ClearLastErrorMsg();
    EXPECT_EQ(GetExceptionStr(0), "Fatal Exception 0 has occurred!\n\r");
}

} // namespace
} // namespace qel
