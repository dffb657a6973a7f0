// Entry fields and the input method: a composition typed into a field and
// committed, a running one completed when the focus leaves, the composition
// window at the caret in the field's font (East Asian input locale), the
// field's font for an input method that opens, and a picture of a field
// with a composition being typed.
#include "tests/widgets/pages/pgc_entry_field_fixture.h"

#include "widgets/pages/pgc_command_codes.h"

#include "platform/controls/caret.h"
#include "platform/controls/input_method.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace qel::test {
namespace {

class TEntryImeTest : public TEntryFieldTest {
protected:
    ~TEntryImeTest() override { plat::SetSysLocaleFarEast(std::nullopt); }

    plat::HIMC ContextOf(TTestEntryField* Field) { return plat::ImmGetContext(Field->Handle()); }

    // The field's caret in client pixels.
    plat::TPoint CaretPoint()
    {
        plat::TPoint point;
        plat::GetCaretPos(point);
        return point;
    }
};

TEST_F(TEntryImeTest, ACommittedCompositionIsTypedIntoTheField)
{
    TTestEntryField* field = AddField(EfString);
    Focus(field);
    Host.Compose("ni", 2);
    Pump();
    EXPECT_EQ(field->EditText(), u"") << "a composition is not yet text";
    EXPECT_EQ(plat::ImmGetCompositionString(ContextOf(field), plat::GCS_COMPSTR), u"ni");
    Host.CommitComposition("\xE4\xBD\xA0");   // one ideograph
    Pump();
    EXPECT_EQ(field->EditText(), u"\u4F60");
    EXPECT_TRUE(field->Modified());
}

// Leaving the field commits what the input method composed before the
// field validates, and the input method starts afresh.
TEST_F(TEntryImeTest, LeavingTheFieldCompletesTheComposition)
{
    TTestEntryField* field = AddField(EfString);
    TTestEntryField* next = AddField(EfString);
    std::u16string validated;
    field->OnUserValidation = [&](plat::TObject*, std::uint16_t&) { validated = field->EditText(); };
    Focus(field);
    Host.TypeText("a");
    Host.Compose("bc");
    Pump();
    Focus(next);
    EXPECT_EQ(field->EditText(), u"abc");
    EXPECT_EQ(Host.InputMethodResets(), 1);
    EXPECT_TRUE(plat::ImmGetCompositionString(ContextOf(field), plat::GCS_COMPSTR).empty());
    Focus(field);
    Focus(next);
    EXPECT_EQ(Host.InputMethodResets(), 1) << "nothing ran to complete";
}

// With an East Asian input locale the composition window follows the caret
// in the field's font; otherwise the field leaves it alone.
TEST_F(TEntryImeTest, TheCompositionWindowStandsAtTheCaret)
{
    for (const bool farEast : {true, false}) {
        plat::SetSysLocaleFarEast(farEast);
        TTestEntryField* field = AddField(EfString);
        field->Font()->SetName("DejaVu Sans Mono");
        field->Font()->SetSize(14);
        Focus(field);
        Host.TypeText("abc");
        Pump();
        plat::TCompositionForm form;
        ASSERT_TRUE(plat::ImmGetCompositionWindow(ContextOf(field), form));
        plat::TLogFont font;
        plat::ImmGetCompositionFont(ContextOf(field), font);
        if (!farEast) {
            EXPECT_EQ(form.dwStyle, plat::CFS_DEFAULT);
            EXPECT_NE(font, field->Font()->Handle());
            continue;
        }
        EXPECT_EQ(form.dwStyle, plat::CFS_POINT);
        EXPECT_EQ(form.ptCurrentPos, CaretPoint());
        EXPECT_EQ(font, field->Font()->Handle());
    }
}

// The input method opening for the field takes the field's font, unless
// the field is closed to input methods.
TEST_F(TEntryImeTest, AnOpeningInputMethodTakesTheFieldsFont)
{
    for (const plat::TImeMode mode : {plat::imDontCare, plat::imDisable}) {
        TTestEntryField* field = AddField(EfString);
        field->Font()->SetName("DejaVu Serif");
        field->SetImeMode(mode);
        Focus(field);
        const plat::HIMC context = ContextOf(field);
        ASSERT_TRUE(plat::ImmSetOpenStatus(context, true));
        plat::TLogFont font;
        plat::ImmGetCompositionFont(context, font);
        EXPECT_EQ(font == field->Font()->Handle(), mode != plat::imDisable) << mode;
        EXPECT_EQ(field->Perform(plat::WM_IME_NOTIFY, plat::IMN_SETOPENSTATUS, 0), 0);
    }
}

TEST_F(TEntryImeTest, SetFontGivesTheCanvasTheFieldsFont)
{
    TTestEntryField* field = AddField(EfString);
    field->Font()->SetName("DejaVu Serif");
    field->Canvas()->Font()->SetName("DejaVu Sans Mono");
    field->Perform(plat::WM_SETFONT, 0, 0);
    EXPECT_EQ(field->Canvas()->Font()->Name(), "DejaVu Serif");
}

// The picture: a field with text and a composition being typed at its
// caret, shown in the field's font over the text after the caret.
TEST_F(TEntryImeTest, AFieldWithACompositionBeingTyped)
{
    plat::SetSysLocaleFarEast(true);
    TTestEntryField* field = AddField(EfString);
    field->SetMaxLength(40);
    field->SetBounds(10, 10, 260, field->Height());
    Focus(field);
    Host.TypeText("Tokyo ");
    Pump();
    const auto before = Host.Capture(Form->Handle());
    Host.Compose("d\xC5\x8Dngj\xC4\xABng", 4);   // pinyin before its conversion
    Pump();
    const char* dir = std::getenv("QEL_TEST_BINARY_DIR");
    const std::filesystem::path folder = std::filesystem::path(dir != nullptr ? dir : "/tmp") / "test_output" / "entry";
    std::filesystem::create_directories(folder);
    const std::string file = (folder / "entry_field_composition.png").string();
    Host.SaveScreenshot(Form->Handle(), file);
    EXPECT_TRUE(std::filesystem::exists(file));
    const auto during = Host.Capture(Form->Handle());
    const plat::TRect window = Host.HostWindowBounds(Form->Handle());
    const plat::TPoint caret = field->ClientToScreen(CaretPoint());
    const int x0 = caret.X - window.Left;
    const int y0 = caret.Y - window.Top;
    int changed = 0;
    for (int y = y0; y < y0 + 14; ++y) {
        for (int x = x0; x < x0 + 60; ++x) {
            changed += std::memcmp(before->ScanLine(y) + 4 * x, during->ScanLine(y) + 4 * x, 3) != 0 ? 1 : 0;
        }
    }
    EXPECT_GT(changed, 50) << "the composition shows at the caret";
    EXPECT_EQ(field->EditText(), u"Tokyo ");
}

} // namespace
} // namespace qel::test
