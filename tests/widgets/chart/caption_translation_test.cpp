// Tests of the caption translation: single captions on the German list,
// accelerators shared across a window, and the walk over a window's
// components with test doubles of every kind of component.
#include "chart_text_fixture.h"

#include "widgets/chart/caption_target.h"
#include "widgets/chart/caption_translation.h"

#include "platform/locale.h"
#include "platform/objects/component.h"

#include <algorithm>
#include <vector>

namespace qel {
namespace {

class CaptionTranslationTest : public ChartTextTest {
protected:
    void SetUp() override
    {
        ChartTextTest::SetUp();
        ChartLanguageGerman();
    }
};

TEST_F(CaptionTranslationTest, LookupTakesTheFirstRowWhoseKeyMatchesExactly)
{
    const TChartLanguageList List = {"NOEQUALS", "VIEW=first", "VIEW=second", "view=lower", "EMPTY=", "A=B=C"};
    ChartLanguageList = &List;
    EXPECT_EQ(LookupLanguageText("VIEW"), "first");
    EXPECT_EQ(LookupLanguageText("view"), "lower");
    EXPECT_EQ(LookupLanguageText("VIE"), "");
    EXPECT_EQ(LookupLanguageText("EMPTY"), "");
    EXPECT_EQ(LookupLanguageText("A"), "B=C");
    EXPECT_EQ(LookupLanguageText("NOEQUALS"), "");
    ChartLanguageList = nullptr;
    EXPECT_EQ(LookupLanguageText("VIEW"), "");
}

// One window: captions in order share the used accelerators.
struct TCaptionCase {
    const char* Input;
    bool Parentheses;
    bool Translated;
    const char* Output;
    const char* UsedKeysAfter;
};

TEST_F(CaptionTranslationTest, CaptionsOfOneWindowInOrder)
{
    const TCaptionCase Cases[] = {
        {"&Visible", false, true, "&anzeigen", "a"},
        {"&View", false, true, "a&nzeigen", "an"},
        {"Direction:", false, true, "Richtung:", "an"},
        {"&Direction...", false, true, "&Richtung...", "anR"},
        {"&Direction", true, true, "Richtung(&D)", "anR"},
        {"&direction...:", true, true, "Richtung(&D)...:", "anR"},
        {"  Visible \t", false, true, "anzeigen", "anR"},
        {"?", false, false, "?", "anR"},
        {"%", false, false, "%", "anR"},
        {"0", false, false, "0", "anR"},
        {"", false, false, "", "anR"},
        {"   ", false, false, "", "anR"},
        {" No such caption ", false, false, "No such caption", "anR"},
        {"Vi&&sible", false, false, "Vi&&sible", "anR"},   // key "VI&SIBLE" has no row
        {"Left", false, true, "Links", "anR"},
    };
    std::string UsedKeys;
    for (const TCaptionCase& Case : Cases) {
        ChartHotkeyInParentheses = Case.Parentheses;
        std::string S = Case.Input;
        EXPECT_EQ(TranslateCaption(S, UsedKeys), Case.Translated) << Case.Input;
        EXPECT_EQ(S, Case.Output) << Case.Input;
        EXPECT_EQ(UsedKeys, Case.UsedKeysAfter) << Case.Input;
    }
    ChartHotkeyInParentheses = false;
}

TEST_F(CaptionTranslationTest, NoFreeLetterOrDigitGivesNoAccelerator)
{
    std::string UsedKeys = "anzeig";
    std::string S = "&Visible";
    EXPECT_TRUE(TranslateCaption(S, UsedKeys));
    EXPECT_EQ(S, "anzeigen");
    EXPECT_EQ(UsedKeys, "anzeig");
    // Case counts: "A" does not take "a".
    UsedKeys = "A";
    S = "&View";
    EXPECT_TRUE(TranslateCaption(S, UsedKeys));
    EXPECT_EQ(S, "&anzeigen");
}

TEST_F(CaptionTranslationTest, EmptyRowLeavesTheInput)
{
    const TChartLanguageList List = {"EMPTY=", "FULL=Voll"};
    ChartLanguageList = &List;
    EXPECT_EQ(TranslateText("  Empty "), "  Empty ");
    EXPECT_EQ(TranslateText(" Missing "), " Missing ");
    EXPECT_EQ(TranslateText(" full "), "Voll");
    // Doubled ampersands alone still count as an accelerator.
    const TChartLanguageList Doubled = {"R&D=F&E"};
    ChartLanguageList = &Doubled;
    EXPECT_EQ(TranslateText("R&&D"), "&F&E");
    std::string S = " Empty ";
    std::string UsedKeys;
    EXPECT_FALSE(TranslateCaption(S, UsedKeys));
    EXPECT_EQ(S, "Empty") << "the trimmed caption stays";
}

TEST_F(CaptionTranslationTest, TranslateTextKeepsAUsedKeysOfItsOwn)
{
    EXPECT_EQ(TranslateText("&Visible"), "&anzeigen");
    EXPECT_EQ(TranslateText("&View"), "&anzeigen");
    EXPECT_EQ(TranslateText("Direction..."), "Richtung...");
}

TEST_F(CaptionTranslationTest, EnglishChangesNothing)
{
    ChartLanguageEnglish();
    EXPECT_EQ(TranslateText(" &Visible "), " &Visible ");
    std::string S = "&Visible";
    std::string UsedKeys;
    EXPECT_FALSE(TranslateCaption(S, UsedKeys));
}

TEST_F(CaptionTranslationTest, FarEastLocaleRemovesTheParenthesisGroupWhole)
{
    const plat::TFixedLocaleProvider Japanese("ja_JP");
    const TChartLanguageList List = {"FILE=Datei", "FILE(X)=wrong"};
    ChartLanguageList = &List;
    {
        const plat::TScopedLocaleProvider Scope(Japanese);
        EXPECT_TRUE(FarEastLocale());
        EXPECT_EQ(TranslateText("File(&F)"), "&Datei");
        ChartHotkeyInParentheses = true;
        EXPECT_EQ(TranslateText("File(&f)"), "Datei(&F)");
        ChartHotkeyInParentheses = false;
    }
    const plat::TFixedLocaleProvider German("de_DE");
    const plat::TScopedLocaleProvider Scope(German);
    EXPECT_FALSE(FarEastLocale());
    EXPECT_EQ(TranslateText("File(&X)"), "&wrong") << "outside the Far East only the mark goes";
}

TEST_F(CaptionTranslationTest, HooksFollowSetUpAndShutdown)
{
    InitCaptionTranslation();
    EXPECT_EQ(ChartTranslateControlHook, &TranslateControlTexts);
    ASSERT_EQ(ChartTranslateTextHook, &TranslateText);
    EXPECT_EQ(ChartTranslateTextHook("Direction:"), "Richtung:");
    FinalizeCaptionTranslation();
    EXPECT_EQ(ChartTranslateControlHook, nullptr);
    EXPECT_EQ(ChartTranslateTextHook, nullptr);
}

// A component of any kind that is its own caption target.
class TFakeComponent : public plat::TComponent, public TCaptionTarget {
public:
    TFakeComponent(plat::TComponent* AOwner, TCaptionKind AKind, std::string AText = {},
        std::vector<std::string> AItems = {})
        : plat::TComponent(AOwner), FKind(AKind), FText(std::move(AText)), FItems(std::move(AItems))
    {
    }
    TCaptionKind Kind() const override { return FKind; }
    std::string Text() const override { return FText; }
    void SetText(const std::string& Value) override { FText = Value; }
    std::vector<std::string> Texts() const override { return FItems; }
    void SetTexts(const std::vector<std::string>& Value) override
    {
        FItems = Value;
        if (FSorted) {
            std::sort(FItems.begin(), FItems.end());
        }
        FItemIndex = -1;
    }
    bool Sorted() const override { return FSorted; }
    int ItemIndex() const override { return FItemIndex; }
    void SetItemIndex(int Value) override { FItemIndex = Value; }
    void SetAutoSize(bool Value) override { FAutoSize = Value; }
    bool HasHint() const override { return FKind != TCaptionKind::MenuItem && FKind != TCaptionKind::PopupMenu && FKind != TCaptionKind::Other; }
    std::string Hint() const override { return FHint; }
    void SetHint(const std::string& Value) override { FHint = Value; }

    TCaptionKind FKind;
    std::string FText;
    std::vector<std::string> FItems;
    std::string FHint;
    bool FSorted = false;
    int FItemIndex = -1;
    bool FAutoSize = false;
};

TEST_F(CaptionTranslationTest, WindowWithOneComponentOfEveryKind)
{
    TFakeComponent Window(nullptr, TCaptionKind::Control, "&View");
    Window.FHint = "Visible";
    auto* Label = new TFakeComponent(&Window, TCaptionKind::Label, "&Visible");
    Label->FHint = "Direction";
    auto* Combo = new TFakeComponent(&Window, TCaptionKind::ItemList, "Left", {"Left", "Right", "Nonesuch"});
    Combo->FItemIndex = 1;
    auto* List = new TFakeComponent(&Window, TCaptionKind::ItemList, "", {"Top", "Bottom"});
    List->FItemIndex = 0;
    auto* Radio = new TFakeComponent(&Window, TCaptionKind::RadioGroup, "Direction", {"Left", "Right"});
    auto* Pages = new TFakeComponent(&Window, TCaptionKind::PageControl, "Left", {"General", "Advanced"});
    auto* Tabs = new TFakeComponent(&Window, TCaptionKind::TabControl, "", {"Top", "?"});
    auto* Item = new TFakeComponent(&Window, TCaptionKind::MenuItem, "&Left");
    Item->FHint = "Left";
    auto* Popup = new TFakeComponent(&Window, TCaptionKind::PopupMenu, "Left", {"&Right", "Top"});
    Popup->FHint = "Left";
    auto* Tree = new TFakeComponent(&Window, TCaptionKind::TreeView, "", {"Color", "Colors", "Unknown"});
    auto* Button = new TFakeComponent(&Window, TCaptionKind::Control, "Stop");
    Button->FHint = "  Hide  ";
    auto* Plain = new TFakeComponent(&Window, TCaptionKind::Other, "Stop");
    Plain->FHint = "Stop";

    TranslateControlTexts(&Window, {});

    EXPECT_EQ(Window.FText, "&anzeigen");
    EXPECT_EQ(Window.FHint, "Visible") << "the window itself gets no hint step";
    EXPECT_EQ(Label->FText, "a&nzeigen") << "shares the window's accelerators";
    EXPECT_TRUE(Label->FAutoSize);
    EXPECT_EQ(Label->FHint, "Richtung");
    EXPECT_EQ(Combo->FText, "Left") << "only the items of a list";
    EXPECT_EQ(Combo->FItems, (std::vector<std::string>{"Links", "Rechts", "Nonesuch"}));
    EXPECT_EQ(Combo->FItemIndex, 1);
    EXPECT_EQ(List->FItems, (std::vector<std::string>{"Oben", "Unten"}));
    EXPECT_EQ(List->FItemIndex, 0);
    EXPECT_EQ(Radio->FText, "Richtung");
    EXPECT_EQ(Radio->FItems, (std::vector<std::string>{"Links", "Rechts"}));
    EXPECT_EQ(Pages->FText, "Left");
    EXPECT_EQ(Pages->FItems, (std::vector<std::string>{"Allgemein", "Erweitert"}));
    EXPECT_EQ(Tabs->FItems, (std::vector<std::string>{"Oben", "?"}));
    EXPECT_EQ(Item->FText, "&Links") << "L is free: a, n taken";
    EXPECT_EQ(Item->FHint, "Left") << "menu items have no hint step";
    EXPECT_EQ(Popup->FText, "Left");
    EXPECT_EQ(Popup->FItems, (std::vector<std::string>{"&Rechts", "Oben"}));
    EXPECT_EQ(Popup->FHint, "Left");
    EXPECT_EQ(Tree->FItems, (std::vector<std::string>{"Farbe", "Farben", "Unknown"}));
    EXPECT_EQ(Button->FText, "Stopp");
    EXPECT_EQ(Button->FHint, "Ausblenden");
    EXPECT_EQ(Plain->FText, "Stop");
    EXPECT_EQ(Plain->FHint, "Stop");
}

TEST_F(CaptionTranslationTest, SortedListKeepsItsSelectedItemUnderTheNewText)
{
    TFakeComponent Window(nullptr, TCaptionKind::Other);
    auto* Combo = new TFakeComponent(&Window, TCaptionKind::ItemList, "", {"Bottom", "Left", "Top"});
    Combo->FSorted = true;
    Combo->FItemIndex = 0;  // "Bottom" -> "Unten", which sorts last
    auto* Empty = new TFakeComponent(&Window, TCaptionKind::ItemList, "", {"Top", "Left"});
    Empty->FSorted = true;
    Empty->FItemIndex = -1;
    auto* Beyond = new TFakeComponent(&Window, TCaptionKind::ItemList, "", {"Top"});
    Beyond->FSorted = true;
    Beyond->FItemIndex = 5;

    TranslateControlTexts(&Window, {});

    EXPECT_EQ(Combo->FItems, (std::vector<std::string>{"Links", "Oben", "Unten"}));
    EXPECT_EQ(Combo->FItemIndex, 2);
    EXPECT_EQ(Empty->FItems, (std::vector<std::string>{"Links", "Oben"}));
    EXPECT_EQ(Empty->FItemIndex, -1);
    EXPECT_EQ(Beyond->FItemIndex, -1);
}

TEST_F(CaptionTranslationTest, ExcludedComponentsAndEnglishKeepTheirTexts)
{
    TFakeComponent Window(nullptr, TCaptionKind::Control, "Stop");
    auto* Kept = new TFakeComponent(&Window, TCaptionKind::Control, "Stop");
    Kept->FHint = "Stop";
    auto* Changed = new TFakeComponent(&Window, TCaptionKind::Control, "Stop");
    Changed->FHint = "Stop";
    plat::TComponent* const Exclude[] = {Kept};

    ChartLanguageEnglish();
    TranslateControlTexts(&Window, Exclude);
    EXPECT_EQ(Window.FText, "Stop");
    EXPECT_EQ(Changed->FText, "Stop");

    ChartLanguageGerman();
    TranslateControlTexts(&Window, Exclude);
    EXPECT_EQ(Window.FText, "Stopp");
    EXPECT_EQ(Kept->FText, "Stop");
    EXPECT_EQ(Kept->FHint, "Stop");
    EXPECT_EQ(Changed->FText, "Stopp");
    EXPECT_EQ(Changed->FHint, "Stopp");
}

// A finder supplies adapters for components that are no targets themselves.
class TPlainComponent : public plat::TComponent {
public:
    using plat::TComponent::TComponent;
    std::string Caption = "Stop";
};

class TPlainAdapter : public TCaptionTarget {
public:
    explicit TPlainAdapter(TPlainComponent& AComponent) : FComponent(AComponent) {}
    TCaptionKind Kind() const override { return TCaptionKind::MenuItem; }
    std::string Text() const override { return FComponent.Caption; }
    void SetText(const std::string& Value) override { FComponent.Caption = Value; }

private:
    TPlainComponent& FComponent;
};

std::unique_ptr<TCaptionTarget> FindPlainAdapter(plat::TComponent& Component)
{
    auto* Plain = dynamic_cast<TPlainComponent*>(&Component);
    return Plain ? std::make_unique<TPlainAdapter>(*Plain) : nullptr;
}

TEST_F(CaptionTranslationTest, FinderAdaptsComponentsThatAreNoTargets)
{
    TPlainComponent Window(nullptr);
    auto* Item = new TPlainComponent(&Window);
    auto* Stranger = new plat::TComponent(&Window);
    (void)Stranger;
    TranslateControlTexts(&Window, {});
    EXPECT_EQ(Item->Caption, "Stop") << "no finder installed";

    CaptionTargetFinder = FindPlainAdapter;
    TranslateControlTexts(&Window, {});
    CaptionTargetFinder = nullptr;
    EXPECT_EQ(Window.Caption, "Stopp");
    EXPECT_EQ(Item->Caption, "Stopp");
}

} // namespace
} // namespace qel
