// Tests of the editor's fixed-pitch font: the family list, names taken only
// when listed exactly, notifications on every write, assignment from fixed
// fonts and platform fonts, and the fallback family of an empty list.
#include "widgets/pages/pgc_exceptions.h"
#include "widgets/pages/pgc_fixed_font.h"

#include <gtest/gtest.h>

namespace qel {
namespace {

class PgcFixedFont : public ::testing::Test {
protected:
    PgcFixedFont() { Font.OnChange = [this](plat::TObject*) { ++Changes; }; }
    ~PgcFixedFont() override { LoadFixedPitchFontNames(); }

    TPgcFixedFont Font;
    int Changes = 0;
};

TEST_F(PgcFixedFont, ListHoldsTheFixedPitchFamiliesDejaVuSansMonoFirst)
{
    const plat::TStringList& names = FixedPitchFontNames();
    ASSERT_GT(names.Count(), 0);
    EXPECT_EQ(names.Get(0), "DejaVu Sans Mono");
    EXPECT_EQ(names.IndexOf("DejaVu Sans"), -1) << "proportional";
    EXPECT_EQ(Font.Name(), "DejaVu Sans Mono") << "the first entry is the default";
}

TEST_F(PgcFixedFont, ListedFamilyIsTakenAndFiresOnce)
{
    const std::string other = FixedPitchFontNames().Get(FixedPitchFontNames().Count() - 1);
    Font.SetName(other);
    EXPECT_EQ(Font.Name(), other);
    EXPECT_EQ(Changes, 1);
}

TEST_F(PgcFixedFont, OtherNamesAreIgnoredSilently)
{
    for (const char* name : {"DejaVu Sans", "dejavu sans mono", "DejaVu Sans Mono ", "", "No Such Family"}) {
        Font.SetName(name);
        EXPECT_EQ(Font.Name(), "DejaVu Sans Mono") << name;
    }
    EXPECT_EQ(Changes, 0);
}

TEST_F(PgcFixedFont, EveryOtherWriteNotifiesEvenWhenUnchanged)
{
    Font.SetSize(Font.Size());
    Font.SetColor(plat::clRed);
    Font.SetStyle({plat::fsBold});
    Font.SetName(Font.Name());
    EXPECT_EQ(Changes, 4);
    EXPECT_EQ(Font.Font()->Color(), plat::clRed);
    EXPECT_TRUE(Font.Style().Contains(plat::fsBold));
}

TEST_F(PgcFixedFont, AssignFromAFixedFontKeepsOwnFamilyWhenTheSourceIsProportional)
{
    TPgcFixedFont source;
    source.Font()->SetName("DejaVu Sans");
    source.SetSize(14);
    source.SetStyle({plat::fsItalic});
    source.SetColor(plat::clBlue);
    Font.Assign(&source);
    EXPECT_EQ(Font.Name(), "DejaVu Sans Mono");
    EXPECT_EQ(Font.Size(), 14);
    EXPECT_TRUE(Font.Style().Contains(plat::fsItalic));
    EXPECT_EQ(Font.Color(), plat::clBlue);
    EXPECT_EQ(Changes, 1);
}

TEST_F(PgcFixedFont, AssignFromAPlatformFontNeedsAFixedPitchFamily)
{
    plat::TFont proportional;
    proportional.SetName("DejaVu Sans");
    proportional.SetSize(20);
    EXPECT_THROW(Font.Assign(&proportional), EInvalidFixedFont);
    EXPECT_NE(Font.Size(), 20) << "nothing changed";
    EXPECT_EQ(Changes, 0);

    plat::TFont fixed;
    fixed.SetName("Courier New");
    fixed.SetSize(20);
    Font.Assign(&fixed);
    EXPECT_EQ(Font.Name(), "Courier New") << "a configured name for the fixed-pitch family";
    EXPECT_EQ(Font.Size(), 20);
    EXPECT_EQ(Changes, 1);

    plat::TPersistent unrelated;
    EXPECT_THROW(Font.Assign(&unrelated), plat::EAssignError);
}

TEST_F(PgcFixedFont, EmptyFamilyListFallsBackToDejaVuSansMono)
{
    FixedPitchFontNames().Clear();
    TPgcFixedFont font;
    EXPECT_EQ(font.Name(), "DejaVu Sans Mono");
    font.SetName("DejaVu Sans Mono");
    EXPECT_EQ(font.Name(), "DejaVu Sans Mono");
}

} // namespace
} // namespace qel
