// The validating number field on the headless host: the key filter and the
// validity test as one table under both decimal separators, text from the
// input method, pasted and program-set text validated but not filtered,
// Enter and leaving the field, the number reads and writes with their
// colours, and the validity hook.
#include "tests/app/headless_app_fixture.h"

#include "app/validate_edit.h"
#include "platform/controls/clipboard.h"
#include "platform/controls/standard/custom_edit.h"
#include "platform/controls/virtual_keys.h"
#include "platform/controls/window_input.h"
#include "platform/text_encoding.h"

#include <string>

namespace qel::test {
namespace {

class TValidateEditTest : public THeadlessAppTest {
protected:
    TValidateEditTest()
    {
        Edit = new TValidateEdit(Main);
        Edit->SetName("vedCutTimeBegin");
        Edit->SetBounds(10, 10, 120, 21);
        Edit->SetParent(Main);
        Other = new plat::TEdit(Main);
        Other->SetName("Other");
        Other->SetBounds(10, 40, 120, 21);
        Other->SetParent(Main);
        Pump();
    }
    // Empties the field and gives it the focus.
    void Start(TValidateMode Mode)
    {
        Other->SetFocus();
        Edit->SetMode(Mode);
        Edit->SetText("");
        Edit->SetColor(plat::clWindow);
        Edit->SetFocus();
        Pump();
    }
    void Type(const std::string& Text)
    {
        Host.TypeText(Text);
        Pump();
    }
    // Text the input method hands over in one commit: characters without keys.
    void Commit(const std::string& Text)
    {
        for (char16_t unit : plat::Utf8ToUtf16(Text)) {
            plat::PostHostInput(Main->Handle(), plat::TQueuedInput{plat::THostInputKind::Char, plat::THostButton::Left,
                                                                   0, unit, 0, 0});
        }
        Pump();
    }
    // The text with "." standing for the program's decimal separator.
    static std::string WithSeparator(std::string Text, char Separator)
    {
        for (char& c : Text) {
            if (c == '.') {
                c = Separator;
            }
        }
        return Text;
    }

    TValidateEdit* Edit = nullptr;
    plat::TEdit* Other = nullptr;
};

TEST_F(TValidateEditTest, KeyFilterAndValidityUnderBothDecimalSeparators)
{
    const struct {
        TValidateMode Mode;
        const char* Typed;
        const char* Shown;    // "." stands for the program's separator
        bool Valid;
        double Number;        // FloatValue in vmFloat, IntValue otherwise
    } cases[] = {
        {vmFloat, "1.5", "1.5", true, 1.5},
        {vmFloat, "1,5", "1.5", true, 1.5},
        {vmFloat, "1e3", "1e3", true, 1000},
        {vmFloat, "-2.5E-1", "-2.5E-1", true, -0.25},
        {vmFloat, "1.2.3", "1.2.3", false, 0},
        {vmFloat, "1e999", "1e999", false, 0},
        {vmFloat, "+5", "5", true, 5},
        {vmFloat, "a1b€ 2", "12", true, 12},
        {vmFloat, "-", "-", false, 0},
        {vmSigned, "-", "-", false, 0},
        {vmSigned, "-12.5e1", "-1251", true, -1251},
        {vmSigned, "+7", "7", true, 7},
        {vmSigned, "-2147483648", "-2147483648", true, -2147483648.0},
        {vmSigned, "2147483648", "2147483648", false, 0},
        {vmUnsigned, "-1", "1", true, 1},
        {vmUnsigned, "0", "0", true, 0},
        {vmUnsigned, "2147483647", "2147483647", true, 2147483647},
        {vmUnsigned, "2147483648", "2147483648", false, 0},
        {vmUnsigned, "1.5+", "15", true, 15},
        {vmString, "a+€,.", "a+€,.", true, 0},
    };
    for (const char separator : {'.', ','}) {
        plat::FormatSettings().DecimalSeparator = separator;
        for (const auto& c : cases) {
            const std::string name = std::string(c.Typed) + " in mode " + std::to_string(c.Mode) + " with '" +
                                     separator + "'";
            Start(c.Mode);
            Type(c.Typed);
            // In vmString "." and "," stay as typed.
            const std::string shown = c.Mode == vmString ? std::string(c.Shown) : WithSeparator(c.Shown, separator);
            EXPECT_EQ(Edit->Text(), shown) << name;
            EXPECT_EQ(Edit->Color(), plat::clWindow) << name << ": typing does not validate";
            Host.Key(plat::VK_RETURN);
            Pump();
            EXPECT_EQ(Edit->Text(), shown) << name << ": Enter inserts nothing";
            EXPECT_EQ(Edit->Color(), c.Valid ? plat::clWhite : plat::clRed) << name;
            EXPECT_EQ(Edit->IsValid(), c.Valid) << name;
            if (c.Mode == vmFloat) {
                EXPECT_EQ(Edit->FloatValue(), c.Number) << name;
            } else if (c.Mode != vmString) {
                EXPECT_EQ(Edit->IntValue(), static_cast<std::int32_t>(c.Number)) << name;
            }
        }
    }
}

TEST_F(TValidateEditTest, InputMethodTextPassesTheFilterCharacterByCharacter)
{
    plat::FormatSettings().DecimalSeparator = ',';
    Start(vmFloat);
    Commit("1a€.5x");
    EXPECT_EQ(Edit->Text(), "1,5");
    EXPECT_DOUBLE_EQ(Edit->FloatValue(), 1.5);
    Start(vmUnsigned);
    Commit("−12 345");   // a typographic minus and a blank are no digits
    EXPECT_EQ(Edit->Text(), "12345");
    Start(vmString);
    Commit("Zeit €");
    EXPECT_EQ(Edit->Text(), "Zeit €");
}

TEST_F(TValidateEditTest, PastedAndProgramSetTextIsValidatedNotFiltered)
{
    Start(vmUnsigned);
    plat::SetClipboardText("-12a");
    Host.Key(plat::VK_INSERT, plat::ModShift);
    Pump();
    EXPECT_EQ(Edit->Text(), "-12a") << "pasting passes no filter";
    Other->SetFocus();
    Pump();
    EXPECT_EQ(Edit->Color(), plat::clRed) << "leaving the field validates";
    EXPECT_EQ(Edit->IntValue(), 0);
    Shot(Main->Handle(), "validate_edit_invalid");

    const struct {
        TValidateMode Mode;
        const char* Text;
        bool Valid;
    } cases[] = {
        {vmUnsigned, "-1", false}, {vmUnsigned, "0", true},   {vmSigned, "+", false}, {vmSigned, "", false},
        {vmFloat, "", false},      {vmFloat, " 2.5 ", true}, {vmFloat, "NAN", false}, {vmFloat, "1.5e", false},
        {vmString, "", true},
    };
    plat::FormatSettings().DecimalSeparator = '.';
    for (const auto& c : cases) {
        Edit->SetMode(c.Mode);
        Edit->SetText(c.Text);
        EXPECT_EQ(Edit->IsValid(), c.Valid) << c.Text;
        EXPECT_EQ(Edit->Text(), c.Text) << c.Text << ": never corrected";
        EXPECT_EQ(Edit->Color(), c.Valid ? Edit->ColorOk() : Edit->ColorError()) << c.Text;
    }
}

TEST_F(TValidateEditTest, WritingANumberSetsItsTextAndTheValidColour)
{
    EXPECT_EQ(Edit->ColorOk(), 16777215);
    EXPECT_EQ(Edit->ColorError(), 255);
    EXPECT_EQ(Edit->Mode(), vmString);
    Edit->SetMode(vmFloat);
    for (const char separator : {'.', ','}) {
        plat::FormatSettings().DecimalSeparator = separator;
        Edit->SetColor(plat::clRed);
        Edit->SetFloatValue(2.25);
        EXPECT_EQ(Edit->Text(), WithSeparator("2.25", separator));
        EXPECT_EQ(Edit->Color(), plat::clWhite);
        Shot(Main->Handle(), std::string("validate_edit_valid") + (separator == ',' ? "_comma" : ""));
        Edit->SetFloatValue(1.0 / 3);
        EXPECT_EQ(Edit->Text(), WithSeparator("0.333333333333333", separator)) << "15 significant digits";
        EXPECT_DOUBLE_EQ(Edit->FloatValue(), 0.333333333333333);
    }
    Edit->SetMode(vmSigned);
    Edit->SetIntValue(-7);
    EXPECT_EQ(Edit->Text(), "-7");
    EXPECT_EQ(Edit->IntValue(), -7);
    EXPECT_EQ(Edit->Color(), plat::clWhite);
    Edit->SetMode(vmUnsigned);
    Edit->SetColorError(plat::clYellow);
    Edit->SetIntValue(-7);
    EXPECT_EQ(Edit->Color(), plat::clYellow) << "an unsigned field takes -7 but shows it invalid";
}

TEST_F(TValidateEditTest, TheValidityHookMayRewriteTheTextAndTurnTheResult)
{
    Edit->SetMode(vmFloat);
    plat::FormatSettings().DecimalSeparator = '.';
    Edit->SetText(" 1.5 ");
    EXPECT_TRUE(Edit->IsValid());
    EXPECT_EQ(Edit->Text(), " 1.5 ") << "without a hook the text is never rewritten";

    std::string seen;
    bool seenValid = true;
    Edit->OnValidInput = [&](plat::TObject* Sender, std::string& sText, bool& bChange, bool& bValid) {
        EXPECT_EQ(Sender, Edit);
        seen = sText;
        seenValid = bValid;
        EXPECT_FALSE(bChange);
        if (!bValid) {
            sText = "0";
            bChange = true;
            bValid = true;
        } else {
            sText = "ignored without bChange";
        }
    };
    Edit->SetText("abc");
    EXPECT_TRUE(Edit->IsValid()) << "the hook turned the result";
    EXPECT_EQ(seen, "abc");
    EXPECT_FALSE(seenValid) << "the hook sees the mode's own result";
    EXPECT_EQ(Edit->Text(), "0");
    EXPECT_EQ(Edit->Color(), plat::clWhite);
    Edit->SetText("4.5");
    EXPECT_TRUE(Edit->IsValid());
    EXPECT_EQ(Edit->Text(), "4.5");
}

TEST_F(TValidateEditTest, TheKeyPressEventSeesTheKeyFirst)
{
    plat::FormatSettings().DecimalSeparator = ',';
    std::u16string seen;
    Edit->OnKeyPress = [&](plat::TObject*, char16_t& Key) {
        seen += Key;
        if (Key == u'7') {
            Key = 0;
        }
    };
    Start(vmFloat);
    Type("1.78");
    EXPECT_EQ(seen, u"1.78") << "before the separator is replaced";
    EXPECT_EQ(Edit->Text(), "1,8");
}

} // namespace
} // namespace qel::test
