// Tests of the library's input helpers on the headless back end: the
// primary button follows the swapped-buttons setting, and the shift byte
// is the modifier state of the key message being handled.
#include "widgets/pages/pgc_input.h"

#include "platform/controls/application.h"
#include "platform/controls/custom_control.h"
#include "platform/controls/form.h"
#include "platform/controls/window_input.h"
#include "platform/controls/window_messages.h"
#include "platform/hosts/headless/headless_host.h"

#include <gtest/gtest.h>

#include <vector>

namespace qel {
namespace {

// Notes the shift byte while it handles each key-down.
class TKeyProbe : public plat::TCustomControl {
public:
    using plat::TCustomControl::TCustomControl;
    std::vector<std::uint8_t> ShiftBytes;

protected:
    void WndProc(plat::TMessage& message) override
    {
        if (message.Msg == plat::WM_KEYDOWN || message.Msg == plat::WM_SYSKEYDOWN) {
            ShiftBytes.push_back(CurrentShiftByte());
        }
        plat::TCustomControl::WndProc(message);
    }
};

class PgcInput : public ::testing::Test {
protected:
    PgcInput()
    {
        auto* form = App.CreateForm<plat::TForm>();
        form->SetBounds(100, 100, 300, 200);
        Probe = new TKeyProbe(form);
        Probe->SetBoundsRect({10, 10, 100, 50});
        Probe->SetParent(form);
        Probe->SetTabStop(true);
        form->Show();
        Host.PumpUntilIdle();
        Probe->SetFocus();
        Host.PumpUntilIdle();
    }

    plat::THeadlessHost Host;
    plat::TApplication App{Host};
    TKeyProbe* Probe = nullptr;
};

TEST_F(PgcInput, PrimaryButtonFollowsTheSwappedSetting)
{
    EXPECT_EQ(PrimaryMouseButtonKey(), 1);
    plat::SwapMouseButton(true);
    EXPECT_EQ(PrimaryMouseButtonKey(), 2);
    plat::SwapMouseButton(false);
    EXPECT_EQ(PrimaryMouseButtonKey(), 1);
}

TEST_F(PgcInput, ShiftByteOfTheKeyBeingHandled)
{
    struct TCase {
        std::uint8_t modifiers;
        std::uint8_t shiftByte;
    };
    const std::vector<TCase> cases = {
        {0, 0},
        {plat::ModShift, 2},
        {plat::ModControl, 4},
        {plat::ModControl | plat::ModShift, 6},
        {plat::ModAlt, 8},
        {plat::ModShift | plat::ModControl | plat::ModAlt, 14},
    };
    for (const TCase& c : cases) {
        Probe->ShiftBytes.clear();
        Host.Key('K', c.modifiers);
        Host.PumpUntilIdle();
        ASSERT_FALSE(Probe->ShiftBytes.empty()) << int(c.modifiers);
        EXPECT_EQ(Probe->ShiftBytes.back(), c.shiftByte) << int(c.modifiers);
        EXPECT_EQ(CurrentShiftByte(), 0) << "all keys are up again afterwards";
    }
}

TEST(PgcInputWithoutApplication, NothingIsHeld)
{
    EXPECT_EQ(PrimaryMouseButtonKey(), 1);
    EXPECT_EQ(CurrentShiftByte(), 0);
}

} // namespace
} // namespace qel
