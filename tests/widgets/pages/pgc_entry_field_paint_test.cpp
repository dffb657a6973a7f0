// Entry-field painting through the recording canvas and pixel probes:
// control characters, the selection, error and disabled colours, zero
// hiding, alignment, border lines, the design-time sample and the height
// that follows the font; a screenshot shows the field in its states.
#include "tests/widgets/pages/pgc_entry_field_fixture.h"

#include "widgets/pages/pgc_exceptions.h"

#include "platform/canvas/gdi_constants.h"
#include "platform/hosts/headless/headless_host.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace qel::test {
namespace {

using Opts = TPgcEntryFieldOptions;

struct TDrawnText {
    std::string Text;
    int X;
    plat::COLORREF Color;
    plat::COLORREF Back;
};

class TEntryPaintTest : public TEntryFieldTest {
protected:
    // The texts the field draws of itself, with their places and colours.
    std::vector<TDrawnText> DrawnTexts(TTestEntryField& Field)
    {
        TFieldPaint paint(Field.Width(), Field.Height());
        Field.PaintText(paint.Dc(), plat::TRect{0, 0, Field.Width(), Field.Height()}, Field.HOffset());
        std::vector<TDrawnText> texts;
        for (const plat::TRecordedCall* call : paint.Calls("ExtTextOut")) {
            texts.push_back({call->Text, static_cast<int>(call->Args.at(0)), call->State.TextColor,
                             call->State.BkColor});
        }
        const auto fills = paint.Calls("FillRect");
        FilledWith = fills.empty() ? 0 : static_cast<plat::COLORREF>(fills.front()->Args.at(5));
        return texts;
    }

    // The whole paint of the field (off-screen text, then borders).
    std::unique_ptr<TFieldPaint> PaintAll(TTestEntryField& Field)
    {
        auto paint = std::make_unique<TFieldPaint>(Field.Width(), Field.Height());
        Field.Perform(plat::WM_PAINT, reinterpret_cast<plat::WPARAM>(&paint->Dc()));
        return paint;
    }

    static int WidthOf(TTestEntryField& Field, const std::string& Text)
    {
        plat::TPixelSurface surface(1, 1, 24);
        plat::TSurfaceDC dc(surface);
        dc.SelectFont(Field.Font()->Handle());
        return dc.GetTextExtent(Text).cx;
    }

    plat::COLORREF FilledWith = 0;
};

const plat::COLORREF Black = plat::ToColorRef(plat::clBlack);
const plat::COLORREF Red = plat::ToColorRef(plat::clRed);
const plat::COLORREF Window = plat::ToColorRef(plat::clWindow);

TEST_F(TEntryPaintTest, AControlCharacterIsDrawnAsALetterInTheControlColour)
{
    TTestEntryField* field = AddField(EfString);
    field->TypeIn(u"12\x01" u"3");
    const auto texts = DrawnTexts(*field);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].Text, "12");
    EXPECT_EQ(texts[0].Color, Black);
    EXPECT_EQ(texts[1].Text, "A");
    EXPECT_EQ(texts[1].Color, Red);
    EXPECT_EQ(texts[1].X, texts[0].X + WidthOf(*field, "12"));
    EXPECT_EQ(texts[2].Text, "3");
    EXPECT_EQ(texts[2].Color, Black);
    EXPECT_EQ(field->DisplayString(), "12A3");
}

TEST_F(TEntryPaintTest, TheSelectionIsDrawnInTheHighlightPair)
{
    TTestEntryField* field = AddField(EfString);
    field->SetAsString("abcd");
    Focus(field);
    field->SetSelection(1, 3);
    const auto texts = DrawnTexts(*field);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[1].Text, "bc");
    EXPECT_EQ(texts[1].Color, plat::ToColorRef(plat::clHighlightText));
    EXPECT_EQ(texts[1].Back, plat::ToColorRef(plat::clHighlight));
    EXPECT_EQ(texts[2].Color, Black);
    EXPECT_EQ(texts[2].Back, Window);
}

TEST_F(TEntryPaintTest, DisabledAndInvalidFieldsUseTheirColourPairs)
{
    TTestEntryField* disabled = AddField(EfString);
    disabled->SetAsString("off");
    disabled->SetEnabled(false);
    auto texts = DrawnTexts(*disabled);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].Color, plat::ToColorRef(plat::clGrayText));
    EXPECT_EQ(texts[0].Back, Window);
    EXPECT_EQ(FilledWith, Window);

    TTestEntryField* invalid = AddField(EfString);
    invalid->SetOptions(Opts{efoInputRequired, efoSoftValidation});
    invalid->ValidateContents(false);
    ASSERT_FALSE(invalid->IsValid());
    invalid->TypeIn(u"bad");
    texts = DrawnTexts(*invalid);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].Color, Black);
    EXPECT_EQ(texts[0].Back, Red);
    EXPECT_EQ(FilledWith, Red);
    const auto paint = PaintAll(*invalid);
    EXPECT_EQ(paint->Pixel(invalid->ClientWidth() - 3, 2), Red) << "the whole field turns red";
    invalid->ValidateContents(false);
    EXPECT_TRUE(invalid->IsValid()) << "until a later validation succeeds";
}

TEST_F(TEntryPaintTest, ZeroValuesAreHiddenAsZeroDisplaySays)
{
    TTestEntryField* field = AddField(EfLongInt, EfClassNumeric);
    field->SetAsInteger(0);
    struct TCase {
        TZeroDisplay Display;
        bool Focused;
        bool Modified;
        bool Hidden;
    };
    const TCase cases[] = {
        {zdShow, false, false, false},          {zdHide, false, false, true},
        {zdHide, true, false, false},           {zdHideUntilModified, false, false, true},
        {zdHideUntilModified, false, true, false},
    };
    for (const TCase& c : cases) {
        field->SetZeroDisplay(c.Display);
        field->SetEverModified(c.Modified);
        if (c.Focused) {
            Focus(field);
        } else {
            Form->ActiveControl() == field ? Focus(AddField(EfString)) : void();
        }
        const std::u16string shown = field->BuildDisplayText(255);
        EXPECT_EQ(shown == u" ", c.Hidden) << int(c.Display) << c.Focused << c.Modified;
        EXPECT_EQ(DrawnTexts(*field).empty(), c.Hidden) << "a numeric field draws its trimmed text";
    }
    field->SetZeroDisplayValue(5);
    field->SetZeroDisplay(zdHide);
    field->SetAsInteger(5);
    EXPECT_EQ(field->BuildDisplayText(255), u" ") << "the value that counts as zero";
}

TEST_F(TEntryPaintTest, TextIsAlignedAsTheOptionsAndFieldClassSay)
{
    TTestEntryField* right = AddField(EfString);
    right->SetOptions(Opts{efoRightAlign});
    right->SetAsString("ab");
    auto texts = DrawnTexts(*right);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].X + WidthOf(*right, "ab"), right->ClientWidth() - right->TextMargin() - 1);

    right->SetAsString(std::string(15, 'W'));
    texts = DrawnTexts(*right);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].X, right->TextMargin() - 1) << "too wide: drawn from the left";

    TTestEntryField* left = AddField(EfString);
    left->SetAsString("ab");
    texts = DrawnTexts(*left);
    EXPECT_EQ(texts.at(0).X, left->TextMargin() - 1);

    TTestEntryField* numeric = AddField(EfLongInt, EfClassNumeric);
    numeric->SetAsInteger(42);
    TFieldPaint paint(numeric->Width(), numeric->Height());
    numeric->PaintText(paint.Dc(), {0, 0, numeric->Width(), numeric->Height()}, 0);
    const auto calls = paint.Calls("ExtTextOut");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0]->Args.at(0), numeric->ClientWidth() - numeric->TextMargin() - 1);
    EXPECT_EQ(calls[0]->State.TextAlign & plat::TA_RIGHT, static_cast<std::uint32_t>(plat::TA_RIGHT));
    EXPECT_EQ(calls[0]->Text, "42");
}

TEST_F(TEntryPaintTest, ANumericFieldWithAControlCharacterPaintsOnce)
{
    TTestEntryField* numeric = AddField(EfLongInt, EfClassNumeric);
    numeric->TypeIn(u"4\x02" u"2");
    const auto texts = DrawnTexts(*numeric);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].Text, "4B2");
}

TEST_F(TEntryPaintTest, TheRightBorderSitsByItsPenWidth)
{
    for (const int pen : {2, 3}) {
        TTestEntryField* field = AddField(EfString);
        field->Borders()->RightBorder()->SetPenWidth(pen);
        field->Borders()->RightBorder()->SetPenColor(plat::clBlue);
        field->Borders()->RightBorder()->SetEnabled(true);
        Pump();
        EXPECT_EQ(field->BorderStyle(), TPgcBaseEntryField::bsNone) << "drawn borders replace the frame";
        const auto paint = PaintAll(*field);
        const auto moves = paint->Calls("MoveTo");
        ASSERT_EQ(moves.size(), 1u);
        EXPECT_EQ(moves[0]->Args.at(0), pen == 3 ? field->Width() - 2 : field->Width() - 1);
        EXPECT_EQ(paint->Pixel(field->Width() - 1, field->Height() / 2), plat::ToColorRef(plat::clBlue)) << pen;
        EXPECT_NE(paint->Pixel(field->Width() - pen - 1, field->Height() / 2), plat::ToColorRef(plat::clBlue))
            << pen;
        field->Borders()->RightBorder()->SetEnabled(false);
        EXPECT_EQ(field->BorderStyle(), TPgcBaseEntryField::bsSingle);
    }
}

TEST_F(TEntryPaintTest, AtDesignTimeTheSampleTextIsDrawn)
{
    TTestEntryField* simple = AddField(EfString);
    simple->SetMaxLength(6);
    simple->SetDesigning(true);
    auto texts = DrawnTexts(*simple);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].Text, "XXXXXX");
    TTestEntryField* picture = AddField(EfString, EfClassPicture);
    picture->ChangePictureMask(u"99-99");
    picture->SetMaxLength(6);
    picture->SetDesigning(true);
    texts = DrawnTexts(*picture);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].Text, "99-99") << "a picture field shows its mask";
}

TEST_F(TEntryPaintTest, TheHeightFollowsTheFontUntilSetByTheProgram)
{
    TTestEntryField* field = AddField(EfString);
    const int small = field->Height();
    field->Font()->SetSize(20);
    Pump();
    const int large = field->Height();
    EXPECT_GT(large, small);
    field->SetBounds(field->Left(), field->Top(), field->Width(), 60);
    EXPECT_FALSE(field->AutoSize());
    field->Font()->SetSize(8);
    Pump();
    EXPECT_EQ(field->Height(), 60);
    field->SetAutoSize(true);
    EXPECT_LT(field->Height(), large);
    EXPECT_GE(field->TopMargin(), 0);
}

TEST_F(TEntryPaintTest, ScreenshotOfTheFieldStates)
{
    const char* names[] = {"normal", "selected", "error", "disabled", "zero hidden", "right aligned"};
    std::vector<TTestEntryField*> fields;
    for (std::size_t i = 0; i < std::size(names); ++i) {
        fields.push_back(AddField(i == 4 ? EfLongInt : EfString, i == 4 ? EfClassNumeric : EfClassSimple));
    }
    fields[0]->SetAsString("Normal text");
    fields[2]->SetOptions(Opts{efoSoftValidation});
    fields[2]->SetAsString("Error colour");
    fields[2]->OnUserValidation = [&](plat::TObject*, std::uint16_t& Error) { Error = epeInvalidValue; };
    fields[2]->ValidateContents(false);
    fields[3]->SetAsString("Disabled");
    fields[3]->SetEnabled(false);
    fields[4]->SetAsInteger(0);
    fields[4]->SetZeroDisplay(zdHide);
    fields[5]->SetOptions(Opts{efoRightAlign});
    fields[5]->SetAsString("Right");
    fields[1]->SetAsString("Selected text");
    Focus(fields[1]);
    fields[1]->SetSelection(0, 8);
    fields[1]->Invalidate();
    Pump();
    const char* dir = std::getenv("QEL_TEST_BINARY_DIR");
    const std::filesystem::path folder = std::filesystem::path(dir != nullptr ? dir : "/tmp") / "test_output" / "entry";
    std::filesystem::create_directories(folder);
    const std::string file = (folder / "entry_field_states.png").string();
    Host.SaveScreenshot(Form->Handle(), file);
    EXPECT_TRUE(std::filesystem::exists(file));
    const auto screen = Host.CaptureScreen();
    const auto pixelAt = [&](TTestEntryField* Field, int X, int Y) {
        const plat::TPoint at = Field->ClientToScreen({X, Y});
        const std::uint8_t* pixel = screen->ScanLine(at.Y) + 4 * at.X;
        return plat::RGB(pixel[2], pixel[1], pixel[0]);
    };
    EXPECT_EQ(pixelAt(fields[2], fields[2]->ClientWidth() - 4, 3), Red);
    EXPECT_EQ(pixelAt(fields[0], fields[0]->ClientWidth() - 4, 3), Window);
}

} // namespace
} // namespace qel::test
