// Tests of the shadow and emboss settings and of the chart font: its
// fractional size, stored rules, sub-objects made on read, assignment, and
// the library's default font in an ordinary and a Japanese locale.
#include "settings_probes.h"

#include "widgets/chart/chart_brush.h"
#include "widgets/chart/chart_canvas_unit.h"
#include "widgets/chart/chart_font.h"
#include "widgets/chart/chart_language.h"
#include "widgets/chart/chart_pen.h"
#include "widgets/chart/chart_shadow.h"

#include "platform/locale.h"

#include "platform/text_encoding.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>

namespace qel {
namespace {

using test::IsStored;
using test::TNotifications;

TEST(ChtShadow, NewShadowAndEmbossDefaults)
{
    const TChtShadow Shadow;
    EXPECT_TRUE(Shadow.Visible());
    EXPECT_EQ(Shadow.Size(), 0);
    EXPECT_FALSE(Shadow.ShouldDraw());
    EXPECT_EQ(Shadow.Color(), clSilver);
    EXPECT_EQ(Shadow.Direction(), sdRightBottom);
    EXPECT_EQ(Shadow.Transparency(), 50);
    EXPECT_TRUE(Shadow.Smooth());
    EXPECT_FALSE(IsStored(Shadow, "Visible"));
    EXPECT_FALSE(IsStored(Shadow, "Color"));

    const TChtEmboss Emboss;
    EXPECT_FALSE(Emboss.Visible());
    EXPECT_EQ(Emboss.Direction(), sdLeftTop);
    EXPECT_FALSE(IsStored(Emboss, "Visible")) << "hidden is the emboss's default";
    EXPECT_FALSE(IsStored(Emboss, "Direction"));
}

TEST(ChtShadow, SizeSetsBothOffsetsAndReadsTheLargerMagnitude)
{
    TNotifications Changes;
    TChtShadow Shadow(Changes.Event());
    Shadow.SetSize(5);
    EXPECT_EQ(Changes.Count, 2) << "each offset announces its change";
    EXPECT_EQ(Shadow.HorizSize(), 5);
    EXPECT_EQ(Shadow.VertSize(), 5);
    EXPECT_TRUE(Shadow.ShouldDraw());
    EXPECT_TRUE(IsStored(Shadow, "HorizSize"));
    struct TCase {
        int Horiz;
        int Vert;
        int Size;
    };
    const TCase Cases[] = {{-3, 2, 3}, {2, -7, 7}, {0, 0, 0}, {std::numeric_limits<int>::min(), 0, 0x7FFFFFFF}};
    for (const TCase& Case : Cases) {
        Shadow.SetHorizSize(Case.Horiz);
        Shadow.SetVertSize(Case.Vert);
        EXPECT_EQ(Shadow.Size(), Case.Size) << Case.Horiz << ", " << Case.Vert;
    }
    Shadow.SetSize(4);
    Shadow.Hide();
    EXPECT_FALSE(Shadow.ShouldDraw()) << "hidden";
}

TEST(ChtShadow, AssignCopiesThePublishedSettingsSilently)
{
    TChtEmboss Source;
    Source.SetClip(true);
    Source.SetColor(clRed);
    Source.SetHorizSize(-2);
    Source.SetVertSize(6);
    Source.SetSmooth(false);
    Source.SetSmoothBlur(3);
    Source.SetTransparency(20);
    Source.Show();
    Source.BlurSize = 9;
    TNotifications Changes;
    TChtShadow Target(Changes.Event());
    Target.Assign(&Source);
    EXPECT_EQ(Changes.Count, 0);
    EXPECT_TRUE(Target.Clip());
    EXPECT_EQ(Target.Color(), clRed);
    EXPECT_EQ(Target.Direction(), sdLeftTop);
    EXPECT_EQ(Target.HorizSize(), -2);
    EXPECT_EQ(Target.VertSize(), 6);
    EXPECT_FALSE(Target.Smooth());
    EXPECT_EQ(Target.SmoothBlur(), 3);
    EXPECT_EQ(Target.Transparency(), 20);
    EXPECT_TRUE(Target.Visible());
    EXPECT_EQ(Target.BlurSize, 4) << "the blur radius stays";
    EXPECT_TRUE(IsStored(Target, "Color"));
}

// The chart texts and the default font the library starts with; put back
// as they were afterwards.
class ChtFontTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SavedName = DefaultFontName;
        SavedSize = DefaultFontSize;
        InitChartTexts();
        InitDefaultFont();
    }
    void TearDown() override
    {
        plat::SetLocaleProvider(nullptr);
        FinalizeChartTexts();
        DefaultFontName = SavedName;
        DefaultFontSize = SavedSize;
    }

    std::string SavedName;
    int SavedSize = 0;
};

TEST_F(ChtFontTest, TheDefaultFontFollowsTheLocale)
{
    const plat::TFixedLocaleProvider English("en_GB.UTF-8");
    plat::SetLocaleProvider(&English);
    InitDefaultFont();
    EXPECT_EQ(DefaultFontName, "Arial");
    EXPECT_EQ(DefaultFontSize, 8);
    EXPECT_FALSE(JapaneseLocale());

    const plat::TFixedLocaleProvider Japanese("ja_JP.UTF-8");
    plat::SetLocaleProvider(&Japanese);
    InitDefaultFont();
    EXPECT_TRUE(JapaneseLocale());
    EXPECT_EQ(DefaultFontSize, 9);
    const std::u16string Name = plat::Utf8ToUtf16(DefaultFontName);
    EXPECT_EQ(Name, u"\u201Al\u201Ar \u201Ao\u0192S\u0192V\u0192b\u0192N");
    EXPECT_EQ(Name.size(), 15u);
}

TEST_F(ChtFontTest, ANewFontHasTheDefaultsAndConstructionNotifiesNothing)
{
    TNotifications Changes;
    const TChtFont Font(Changes.Event());
    EXPECT_EQ(Changes.Count, 0);
    EXPECT_EQ(Font.Name(), DefaultFontName);
    EXPECT_EQ(Font.Size(), DefaultFontSize);
    EXPECT_EQ(Font.Color(), clBlack);
    EXPECT_EQ(Font.Brush()->Color(), clBlack);
    EXPECT_EQ(Font.Charset(), 1);
    EXPECT_EQ(Font.Quality(), fqDefault);
    EXPECT_FALSE(IsStored(Font, "Name"));
    EXPECT_FALSE(IsStored(Font, "Height"));
    EXPECT_FALSE(IsStored(Font, "Color"));
    EXPECT_FALSE(IsStored(Font, "SizeFloat"));
}

TEST_F(ChtFontTest, SizeFloatKeepsTheFractionBesideTheWholeSize)
{
    struct TCase {
        float Value;
        int Size;
        float Decimals;
        bool Stored;
    };
    const TCase Cases[] = {{10.5f, 10, 0.5f, true}, {12, 12, 0, false}, {-2.25f, -3, 0.75f, true}};
    TChtFont Font;
    for (const TCase& Case : Cases) {
        Font.SetSizeFloat(Case.Value);
        EXPECT_EQ(Font.Size(), Case.Size) << Case.Value;
        EXPECT_EQ(Font.SizeFloat() - static_cast<float>(Font.Size()), Case.Decimals) << Case.Value;
        EXPECT_EQ(Font.SizeFloat(), Case.Value);
        EXPECT_EQ(IsStored(Font, "SizeFloat"), Case.Stored) << Case.Value;
    }
    TNotifications Changes;
    TChtFont Notified(Changes.Event());
    Notified.SetSizeFloat(static_cast<float>(DefaultFontSize) + 0.5f);
    EXPECT_EQ(Changes.Count, 0) << "a fraction alone does not notify";
    EXPECT_EQ(Notified.SizeFloat(), static_cast<float>(DefaultFontSize) + 0.5f);
    Notified.SetSizeFloat(static_cast<float>(DefaultFontSize) + 1.25f);
    EXPECT_EQ(Changes.Count, 1) << "a new whole size does";
    Notified.SetSizeFloat(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(Notified.SizeFloat(), static_cast<float>(DefaultFontSize) + 1.25f) << "not a size";
}

TEST_F(ChtFontTest, ANameDifferingInCaseOnlyIsStored)
{
    TChtFont Font;
    Font.SetName("arial");
    EXPECT_TRUE(IsStored(Font, "Name"));
    Font.SetName(DefaultFontName);
    EXPECT_FALSE(IsStored(Font, "Name"));
}

TEST_F(ChtFontTest, SubObjectsAreMadeOnReadAndFreedSilently)
{
    TNotifications Changes;
    TChtFont Font(Changes.Event());
    EXPECT_EQ(Font.ShadowIfAny(), nullptr);
    Font.Shadow()->SetSize(2);
    EXPECT_EQ(Changes.Count, 2) << "the shadow tells the font's owner";
    Font.Emboss();
    Font.OutLine();
    const int Before = Changes.Count;
    Font.SetShadow(nullptr);
    Font.SetEmboss(nullptr);
    Font.SetOutLine(nullptr);
    EXPECT_EQ(Changes.Count, Before);
    EXPECT_EQ(Font.ShadowIfAny(), nullptr);
    EXPECT_EQ(Font.EmbossIfAny(), nullptr);
    EXPECT_EQ(Font.OutLineIfAny(), nullptr);

    TChtFont Source;
    Source.Shadow()->SetColor(clRed);
    Font.Assign(&Source);
    ASSERT_NE(Font.ShadowIfAny(), nullptr);
    EXPECT_EQ(Font.ShadowIfAny()->Color(), clRed);
    const TChtFont Plain;
    Font.Assign(&Plain);
    EXPECT_EQ(Font.ShadowIfAny(), nullptr) << "the source never made one";
}

TEST_F(ChtFontTest, AssignCopiesTheChartSettings)
{
    TChtFont Source;
    Source.SetSizeFloat(11.25f);
    Source.SetColor(clNavy);
    Source.SetInterCharSize(2);
    Source.SetQuality(fqClearType);
    Source.SetDepth(3.5);
    Source.Brush()->SetColor(clRed);
    Source.OutLine()->Show();
    TNotifications Changes;
    TChtFont Target(Changes.Event());
    Target.Assign(&Source);
    EXPECT_EQ(Target.SizeFloat(), 11.25f);
    EXPECT_EQ(Target.Color(), clNavy);
    EXPECT_EQ(Target.InterCharSize(), 2);
    EXPECT_EQ(Target.Quality(), fqClearType);
    EXPECT_EQ(Target.Depth(), 3.5);
    EXPECT_EQ(Target.Brush()->Color(), clRed);
    ASSERT_NE(Target.OutLineIfAny(), nullptr);
    EXPECT_TRUE(Target.OutLineIfAny()->Visible());
    EXPECT_GE(Changes.Count, 1);
}

} // namespace
} // namespace qel
