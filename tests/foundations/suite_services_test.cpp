// Tests of the edition flag, the caption, the dormant log and the suite message.
#include "foundations/suite_services.h"

#include "foundations/settings.h"
#include "platform/messages.h"

#include <gtest/gtest.h>

namespace qel {
namespace {

TEST(SuiteServices, EditionFlagAndCaption)
{
    EXPECT_FALSE(IsValidatedEdition());
    for (const std::int32_t intern : {0, 1, INTERN_MODE_CODE}) {
        RegSettings.iRegIntern = intern;
        EXPECT_EQ(InternCaption("QEL KORVEL X2 r6.11.01"), "QEL KORVEL X2 r6.11.01");
        EXPECT_EQ(InternCaption(""), "");
    }
    RegSettings.iRegIntern = 0;
}

TEST(SuiteServices, SuiteMessageIsRegisteredByName)
{
    RegisterSuiteMessage();
    EXPECT_GE(WM_SUITE_NOTIFY, 0xC000u);
    EXPECT_EQ(plat::RegisterWindowMessage("qel.qel-pro.msg.v1"), WM_SUITE_NOTIFY);
    EXPECT_EQ(plat::RegisteredMessageName(WM_SUITE_NOTIFY), "QEL.QEL-PRO.MSG.V1");
}

TEST(SuiteServices, BroadcastReachesTopLevelWindows)
{
    RegisterSuiteMessage();
    plat::TMessageQueue queue;
    plat::WPARAM received = 0;
    const plat::HWND window = plat::CreateWindowHandle(
        queue,
        [&](plat::UINT message, plat::WPARAM wParam, plat::LPARAM) -> plat::LRESULT {
            if (message == WM_SUITE_NOTIFY) {
                received = wParam;
            }
            return 0;
        },
        true);
    ASSERT_TRUE(plat::PostMessage(plat::HWND_BROADCAST, WM_SUITE_NOTIFY, 1234, 0));
    queue.ProcessMessages();
    EXPECT_EQ(received, 1234u);
    plat::DestroyWindowHandle(window);
}

} // namespace
} // namespace qel
