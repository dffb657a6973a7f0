// Key translation as a control sees it: key presses injected on the headless
// back end reach a control that translates each key-down through a command
// processor, the shift byte coming from the keys held at that moment.
#include "tests/widgets/pages/pgc_form_fixture.h"

#include "widgets/pages/pgc_builtin_command_tables.h"
#include "widgets/pages/pgc_command_codes.h"
#include "widgets/pages/pgc_command_processor.h"

#include "platform/controls/custom_control.h"
#include "platform/controls/virtual_keys.h"
#include "platform/controls/window_input.h"
#include "platform/controls/window_messages.h"

#include <string>
#include <vector>

namespace qel {
namespace {

// Translates every key-down it receives and notes the key with the result.
class TTranslatingControl : public plat::TCustomControl {
public:
    using plat::TCustomControl::TCustomControl;

    struct TTranslated {
        std::uint16_t Key;
        std::uint16_t Code;
    };
    TPgcCommandProcessor Processor;
    std::vector<TTranslated> Seen;

protected:
    void WndProc(plat::TMessage& message) override
    {
        if (message.Msg == plat::WM_GETDLGCODE) {
            message.Result = plat::DLGC_WANTALLKEYS | plat::DLGC_WANTARROWS | plat::DLGC_WANTTAB;
            return;
        }
        if (message.Msg == plat::WM_KEYDOWN || message.Msg == plat::WM_SYSKEYDOWN) {
            Seen.push_back({static_cast<std::uint16_t>(message.WParam), Processor.Translate(message)});
        }
        plat::TCustomControl::WndProc(message);
    }
};

std::uint8_t ModifiersOf(std::uint8_t shiftByte)
{
    return static_cast<std::uint8_t>(((shiftByte & ssShiftByte) != 0 ? plat::ModShift : 0)
        | ((shiftByte & ssCtrlByte) != 0 ? plat::ModControl : 0) | ((shiftByte & ssAltByte) != 0 ? plat::ModAlt : 0));
}

std::string KeyName(std::uint16_t key, std::uint8_t shiftByte)
{
    return "key " + std::to_string(key) + " shift " + std::to_string(shiftByte);
}

class PgcKeyTranslation : public test::TPgcFormTest {
protected:
    PgcKeyTranslation()
    {
        Control = new TTranslatingControl(Form);
        Control->SetParent(Form);
        Control->SetBounds(10, 10, 100, 40);
        Control->SetTabStop(true);
        Pump();
        Control->SetFocus();
        Pump();
    }

    // Every key-down of one key press (modifiers included) and its result.
    std::vector<TTranslatingControl::TTranslated> PressAll(std::uint16_t key, std::uint8_t shiftByte = 0)
    {
        Control->Seen.clear();
        Host.Key(key, ModifiersOf(shiftByte));
        Pump();
        return Control->Seen;
    }
    // The result of the key itself (its modifiers' key-downs left out).
    std::uint16_t Press(std::uint16_t key, std::uint8_t shiftByte = 0)
    {
        const auto seen = PressAll(key, shiftByte);
        for (auto at = seen.rbegin(); at != seen.rend(); ++at) {
            if (at->Key == key) {
                return at->Code;
            }
        }
        ADD_FAILURE() << "no key-down of " << KeyName(key, shiftByte) << " reached the control";
        return 0xFFFF;
    }
    void OnlyActive(const std::string& tableName)
    {
        for (int index = 0; index < Control->Processor.Count(); ++index) {
            TPgcCommandTable* table = Control->Processor.Table(index);
            table->SetIsActive(SameTableName(table->TableName(), tableName));
        }
    }
    TPgcProcessorState State() const
    {
        std::uint8_t key = 0;
        std::uint8_t shift = 0;
        return Control->Processor.GetState(key, shift);
    }

    TTranslatingControl* Control = nullptr;
};

TEST_F(PgcKeyTranslation, EveryBuiltInBindingTranslatesToItsCommand)
{
    int checked = 0;
    for (const TPgcBuiltinCommandTable& builtin : BuiltinCommandTables()) {
        const std::string name = BuiltinTableName(builtin);
        OnlyActive(name);
        for (const TPgcCmdRec& rec : builtin.Records) {
            const std::string what = name + " " + KeyName(rec.Key1, rec.SS1) + " then " + KeyName(rec.Key2, 0);
            if (rec.Key2 == 0) {
                EXPECT_EQ(Press(rec.Key1, rec.SS1), rec.Cmd) << what;
            } else {
                EXPECT_EQ(Press(rec.Key1, rec.SS1), ccPartialKey) << what;
                EXPECT_EQ(Press(rec.Key2, 0), rec.Cmd) << what;
            }
            Control->Processor.ResetCommandProcessor();   // ccCtrlChar leaves the next key literal
            ++checked;
        }
    }
    EXPECT_EQ(checked, 64 + 40 + 38);
    OnlyActive("Default");
    EXPECT_EQ(Press('Z', ssCtrlByte | ssShiftByte), ccRedo);
    OnlyActive("Grid");
    EXPECT_EQ(Press(plat::VK_F2), ccTableEdit);
}

TEST_F(PgcKeyTranslation, DefaultTableAloneLeavesOrdinaryKeysPlain)
{
    struct TCase {
        std::uint16_t Key;
        std::uint8_t Shift;
        std::uint16_t Expected;
    };
    const TCase cases[] = {
        {plat::VK_LEFT, 0, ccLeft},
        {plat::VK_LEFT, ssShiftByte, ccExtendLeft},
        {'A', 0, ccPlainKey},
        {'Q', ssCtrlByte, ccPlainKey},
        {plat::VK_BACK, ssAltByte, ccRestore},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(Press(c.Key, c.Shift), c.Expected) << KeyName(c.Key, c.Shift);
    }
    // A modifier alone is ordinary input while nothing is pending.
    const auto seen = PressAll(plat::VK_CONTROL);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].Code, ccPlainKey);
}

// With "WordStar" made active: each step is one key press, answered in order.
TEST_F(PgcKeyTranslation, WordStarSequencesPartialBrokenAndLiteral)
{
    TPgcCommandProcessor& processor = Control->Processor;
    processor.Table(processor.GetCommandTableIndex("WordStar"))->SetIsActive(true);
    processor.SetScanPriority({"WordStar", "Default"});
    struct TStep {
        const char* What;
        std::uint16_t Key;
        std::uint8_t Shift;
        std::uint16_t Expected;
        TPgcProcessorState StateAfter;
    };
    const TStep steps[] = {
        {"prefix Ctrl+Q", 'Q', ssCtrlByte, ccPartialKey, stPartial},
        {"lone Ctrl while pending", plat::VK_CONTROL, 0, ccPartialKey, stPartial},
        {"S with Ctrl completes", 'S', ssCtrlByte, ccHome, stNone},
        {"prefix again", 'Q', ssCtrlByte, ccPartialKey, stPartial},
        {"S without modifiers completes", 'S', 0, ccHome, stNone},
        {"prefix for a broken sequence", 'Q', ssCtrlByte, ccPartialKey, stPartial},
        {"Shift+S breaks it", 'S', ssShiftByte, ccBrokenSequence, stNone},
        {"control-character prefix", 'P', ssCtrlByte, ccCtrlChar, stLiteral},
        {"the next key is literal", plat::VK_LEFT, 0, ccPlainKey, stNone},
        {"the key after it is a command again", plat::VK_LEFT, 0, ccLeft, stNone},
        {"WordStar first: Ctrl+Z scrolls", 'Z', ssCtrlByte, ccScrollDown, stNone},
    };
    for (const TStep& step : steps) {
        EXPECT_EQ(Press(step.Key, step.Shift), step.Expected) << step.What;
        EXPECT_EQ(State(), step.StateAfter) << step.What;
    }
    // The lone modifier's own key-down while pending: Ctrl's key-down before
    // S answers ccPartialKey, and the key press as a whole completes.
    Press('Q', ssCtrlByte);
    const auto seen = PressAll('D', ssCtrlByte);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].Code, ccPartialKey);
    EXPECT_EQ(seen[1].Code, ccEnd);

    processor.SetScanPriority({"Default", "WordStar"});
    EXPECT_EQ(Press('Z', ssCtrlByte), ccUndo) << "Default first: Ctrl+Z undoes";
}

} // namespace
} // namespace qel
