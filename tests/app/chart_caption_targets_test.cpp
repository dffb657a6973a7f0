// The chart caption translation on a window of standard controls: every kind
// of control is reached through its adapter and translated as its kind says.
#include "tests/app/headless_app_fixture.h"

#include "app/chart_caption_targets.h"
#include "platform/controls/standard/button.h"
#include "platform/controls/standard/combo_box.h"
#include "platform/controls/standard/label.h"
#include "platform/controls/standard/list_box.h"
#include "platform/controls/standard/menu_item.h"
#include "platform/controls/standard/popup_menu.h"
#include "widgets/chart/caption_target.h"
#include "widgets/chart/caption_translation.h"
#include "widgets/chart/chart_language.h"

namespace qel::test {
namespace {

class TChartCaptionTargetsTest : public THeadlessAppTest {
protected:
    TChartCaptionTargetsTest()
    {
        InitChartTexts();
        ChartLanguageGerman();
        InitChartCaptionTranslation();
    }
    ~TChartCaptionTargetsTest() override
    {
        FinalizeChartCaptionTranslation();
        FinalizeChartTexts();
    }

    template <class T>
    T* Add(const std::string& Name)
    {
        auto* Control = new T(Main);
        Control->SetName(Name);
        Control->SetParent(Main);
        return Control;
    }
};

TEST_F(TChartCaptionTargetsTest, HooksAndFinderAreInstalledAndRemoved)
{
    EXPECT_EQ(ChartTranslateControlHook, &TranslateControlTexts);
    EXPECT_EQ(ChartTranslateTextHook, &TranslateText);
    EXPECT_EQ(CaptionTargetFinder, &StandardCaptionTarget);
    FinalizeChartCaptionTranslation();
    EXPECT_EQ(ChartTranslateControlHook, nullptr);
    EXPECT_EQ(CaptionTargetFinder, nullptr);
    InitChartCaptionTranslation();
}

TEST_F(TChartCaptionTargetsTest, EveryStandardControlIsTranslatedByItsKind)
{
    Main->SetCaption("&View");
    Main->SetHint("Stop");
    auto* Label = Add<plat::TLabel>("Label");
    Label->SetAutoSize(false);
    Label->SetCaption("&Visible");
    Label->SetHint("Left");
    auto* Combo = Add<plat::TComboBox>("Combo");
    Combo->Items().Add("Top");
    Combo->Items().Add("Bottom");
    Combo->SetItemIndex(1);
    auto* Sorted = Add<plat::TListBox>("Sorted");
    Sorted->SetSorted(true);
    Sorted->Items().Add("Bottom");
    Sorted->Items().Add("Left");
    Sorted->Items().Add("Top");
    Sorted->SetItemIndex(0);  // "Bottom" becomes "Unten", which sorts last
    auto* Button = Add<plat::TButton>("Button");
    Button->SetCaption("Stop");
    Button->SetHint("Hide");
    auto* Item = new plat::TMenuItem(Main);
    Item->SetCaption("&Left");
    auto* Popup = new plat::TPopupMenu(Main);
    auto* Top = new plat::TMenuItem(Popup);
    Top->SetCaption("&Right");
    Popup->Items().Add(Top);
    auto* Sub = new plat::TMenuItem(Popup);
    Sub->SetCaption("Top");
    Top->Add(Sub);

    TranslateControlTexts(Main, {});

    EXPECT_EQ(Main->Caption(), "&anzeigen");
    EXPECT_EQ(Main->Hint(), "Stop");
    EXPECT_EQ(Label->Caption(), "a&nzeigen");
    EXPECT_TRUE(Label->AutoSize());
    EXPECT_EQ(Label->Hint(), "Links");
    ASSERT_EQ(Combo->Items().Count(), 2);
    EXPECT_EQ(Combo->Items().Strings(0), "Oben");
    EXPECT_EQ(Combo->Items().Strings(1), "Unten");
    EXPECT_EQ(Combo->ItemIndex(), 1);
    ASSERT_EQ(Sorted->Items().Count(), 3);
    EXPECT_EQ(Sorted->Items().Strings(2), "Unten");
    EXPECT_EQ(Sorted->ItemIndex(), 2);
    EXPECT_EQ(Button->Caption(), "Stopp");
    EXPECT_EQ(Button->Hint(), "Ausblenden");
    EXPECT_EQ(Item->Caption(), "&Links");
    EXPECT_EQ(Top->Caption(), "&Rechts");
    EXPECT_EQ(Sub->Caption(), "Top") << "submenus stay";
}

TEST_F(TChartCaptionTargetsTest, OtherComponentsHaveNoTarget)
{
    plat::TComponent Plain(nullptr);
    EXPECT_EQ(StandardCaptionTarget(Plain), nullptr);
    auto* Label = Add<plat::TLabel>("Label");
    ASSERT_NE(StandardCaptionTarget(*Label), nullptr);
    EXPECT_EQ(StandardCaptionTarget(*Label)->Kind(), TCaptionKind::Label);
    EXPECT_EQ(StandardCaptionTarget(*Main)->Kind(), TCaptionKind::Control);
}

} // namespace
} // namespace qel::test
