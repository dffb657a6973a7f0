// Tests of the library's colour pair, user picture characters and border
// sides: defaults, notifications only on real changes, the UseDefault rule,
// assignment and the older streams that still carry UseDefault.
#include "tests/widgets/pages/pgc_stream_bytes.h"

#include "widgets/pages/pgc_border.h"
#include "widgets/pages/pgc_colors.h"
#include "widgets/pages/pgc_user_data.h"

#include "platform/objects/component.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace qel {
namespace {

class PgcColors : public ::testing::Test {
protected:
    PgcColors() { Colors.OnColorChange = [this](plat::TObject*) { ++Changes; }; }
    TPgcColors Colors{plat::clBlack, plat::clWhite};
    int Changes = 0;
};

TEST_F(PgcColors, TextColourComesFirstAndBothStartAsDefaults)
{
    EXPECT_EQ(Colors.TextColor(), plat::clBlack);
    EXPECT_EQ(Colors.BackColor(), plat::clWhite);
    EXPECT_TRUE(Colors.UseDefault());
}

TEST_F(PgcColors, ChangesFireOnceAndLeaveTheDefaults)
{
    Colors.SetBackColor(plat::clWhite);
    EXPECT_EQ(Changes, 0) << "unchanged";
    Colors.SetBackColor(plat::clYellow);
    EXPECT_EQ(Changes, 1);
    EXPECT_FALSE(Colors.UseDefault());
    Colors.SetBackColor(plat::clWhite);
    EXPECT_EQ(Changes, 2) << "back to the default is a change too";
    EXPECT_FALSE(Colors.UseDefault()) << "and does not restore UseDefault";
    Colors.SetTextColor(plat::clRed);
    Colors.SetUseDefault(true);
    EXPECT_EQ(Changes, 4);
    EXPECT_EQ(Colors.BackColor(), plat::clWhite);
    EXPECT_EQ(Colors.TextColor(), plat::clBlack);
    EXPECT_TRUE(Colors.UseDefault());
}

TEST_F(PgcColors, AssignTakesBothColoursThroughTheSetters)
{
    TPgcColors source(plat::clNavy, plat::clAqua);
    Colors.Assign(&source);
    EXPECT_EQ(Colors.TextColor(), plat::clNavy);
    EXPECT_EQ(Colors.BackColor(), plat::clAqua);
    EXPECT_EQ(Changes, 2);
    TPgcBorder other;
    EXPECT_THROW(Colors.Assign(&other), plat::EAssignError);
}

// A component whose only property is a colour pair, as the editor's
// highlight colours stand in a form.
class THolder : public plat::TComponent {
    PLAT_CLASS(THolder, plat::TComponent)
public:
    explicit THolder(plat::TComponent* owner) : plat::TComponent(owner) {}
    TPgcColors* Colors() const { return FColors.get(); }

private:
    std::unique_ptr<TPgcColors> FColors = std::make_unique<TPgcColors>(plat::clBlack, plat::clWhite);
};

PLAT_DEFINE_CLASS(THolder, plat::TComponent, plat::Published("Colors", &THolder::Colors, nullptr))

TEST_F(PgcColors, OlderStreamsWithUseDefaultStillLoad)
{
    using test::StreamName;
    // UseDefault (False, then True: read and dropped either way), then a
    // back colour of yellow (0x00FFFF as a 32-bit integer).
    const std::string bytes = std::string("QCF1") + StreamName("THolder") + StreamName("H") +
                              StreamName("Colors.UseDefault") + '\x08' + StreamName("Colors.UseDefault") + '\x09' +
                              StreamName("Colors.BackColor") + '\x04' + std::string("\xFF\xFF\x00\x00", 4) + '\0' +
                              '\0';
    THolder holder(nullptr);
    test::ReadStreamBytes(holder, bytes);
    EXPECT_EQ(holder.Colors()->BackColor(), plat::clYellow);
    EXPECT_FALSE(holder.Colors()->UseDefault());
}

TEST(PgcUserData, DefaultsAndIndexRules)
{
    TPgcUserData data;
    for (char16_t index = u'1'; index <= u'8'; ++index) {
        const TCharSet set = data.GetUserCharSet(index);
        EXPECT_FALSE(set.Contains(0));
        EXPECT_TRUE(set.Contains(1) && set.Contains(255));
        EXPECT_EQ(data.GetForceCase(index), mcNoChange);
    }
    EXPECT_EQ(data.GetUserCharSet(u'9'), TCharSet{});
    EXPECT_EQ(data.GetUserCharSet(u'0'), TCharSet{});
    EXPECT_EQ(data.GetSubstChar(245), 245);
    EXPECT_EQ(data.GetSubstChar(240), 0);

    data.SetUserCharSet(u'3', TCharSet{}.Include(0).Include('A'));
    EXPECT_EQ(data.GetUserCharSet(u'3'), TCharSet{}.Include('A')) << "code 0 is never kept";
    data.SetForceCase(u'8', mcUpperCase);
    data.SetForceCase(u'9', mcLowerCase);
    EXPECT_EQ(data.GetForceCase(u'8'), mcUpperCase);
    EXPECT_EQ(data.GetForceCase(u'9'), mcNoChange);
    data.SetSubstChar(240, u'x');
    data.SetSubstChar(248, u'y');
    EXPECT_EQ(data.GetSubstChar(240), 0);
    EXPECT_EQ(data.GetSubstChar(248), u'y');
    EXPECT_EQ(&DefaultUserData(), &DefaultUserData());
}

class PgcBorder : public ::testing::Test {
protected:
    PgcBorder() { Border.OnChange = [this](plat::TObject*) { ++Changes; }; }
    TPgcBorder Border;
    int Changes = 0;
};

TEST_F(PgcBorder, DefaultsAndEffectiveChanges)
{
    EXPECT_FALSE(Border.Enabled());
    EXPECT_EQ(Border.PenColor(), plat::clBlack);
    EXPECT_EQ(Border.PenStyle(), plat::psSolid);
    EXPECT_EQ(Border.PenWidth(), 2);
    Border.SetPenWidth(0);
    Border.SetPenWidth(-1);
    Border.SetPenWidth(2);
    Border.SetEnabled(false);
    EXPECT_EQ(Changes, 0);
    EXPECT_EQ(Border.PenWidth(), 2);
    Border.SetPenWidth(3);
    Border.SetEnabled(true);
    Border.SetPenColor(plat::clRed);
    Border.SetPenStyle(plat::psDot);
    EXPECT_EQ(Changes, 4);
}

TEST_F(PgcBorder, AssigningEqualBordersFiresNothing)
{
    TPgcBorders target;
    TPgcBorders source;
    int changes = 0;
    for (TPgcBorder* side : {target.LeftBorder(), target.RightBorder(), target.TopBorder(), target.BottomBorder()}) {
        side->OnChange = [&](plat::TObject*) { ++changes; };
    }
    target.Assign(&source);
    EXPECT_EQ(changes, 0);
    source.TopBorder()->SetEnabled(true);
    source.TopBorder()->SetPenWidth(4);
    target.Assign(&source);
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(target.TopBorder()->Enabled());
    EXPECT_EQ(target.TopBorder()->PenWidth(), 4);
    EXPECT_FALSE(target.LeftBorder()->Enabled());
}

TEST_F(PgcBorder, PenSettingsAreStreamedOnlyWhileEnabled)
{
    const plat::TPropInfo* width = TPgcBorder::StaticClass()->FindProperty("PenWidth");
    const plat::TPropInfo* enabled = TPgcBorder::StaticClass()->FindProperty("Enabled");
    ASSERT_NE(width, nullptr);
    ASSERT_NE(enabled, nullptr);
    EXPECT_FALSE(width->IsStored(Border));
    EXPECT_TRUE(enabled->IsStored(Border));
    Border.SetEnabled(true);
    EXPECT_TRUE(width->IsStored(Border));
}

} // namespace
} // namespace qel
