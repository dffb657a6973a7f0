// Tests of the notebook's pages: the page-change protocol as a table of
// cases over one event log, inserting and deleting, the walks over valid
// pages (and their ends on a notebook without pages), lookup, the tab
// properties, the colour and font rules, and scaling.
#include "tests/widgets/pages/pgc_notebook_fixture.h"

#include "widgets/pages/pgc_collection.h"
#include "widgets/pages/pgc_exceptions.h"

#include "platform/canvas/pixel_surface.h"
#include "platform/canvas/surface_dc.h"
#include "platform/controls/standard/custom_edit.h"
#include "platform/controls/window_paint.h"

#include <functional>

namespace qel {
namespace {

using test::TNotebookTest;

class PgcNotebook : public TNotebookTest {
protected:
    // An edit on a page, named after it.
    plat::TEdit* EditOn(TPgcTabPage* Page, const std::string& Name)
    {
        auto* edit = new plat::TEdit(Form);
        edit->SetName(Name);
        edit->SetBounds(10, 10, 80, 21);
        edit->SetParent(Page);
        return edit;
    }

    std::vector<bool> Visibility(const TPgcNotebook* Notebook) const
    {
        std::vector<bool> shown;
        for (int index = 0; index < Notebook->PageCount(); ++index) {
            shown.push_back(Notebook->GetPage(index)->Visible());
        }
        return shown;
    }
};

struct TProtocolCase {
    std::string Name;
    std::function<void(TPgcNotebook*)> Act;
    std::vector<std::string> Events;
    std::string ActiveCaption;   // of the active page afterwards
};

TEST_F(PgcNotebook, PageChangeProtocol)
{
    const std::vector<TProtocolCase> cases = {
        {"a new page: both events", [](TPgcNotebook* nb) { nb->SetPageIndex(2); },
         {"change:2", "changed:2"}, "C"},
        {"the same page is silent", [](TPgcNotebook* nb) { nb->SetPageIndex(0); }, {}, "A"},
        {"a veto is silent",
         [this](TPgcNotebook* nb) {
             AllowChange = false;
             nb->SetPageIndex(1);
         },
         {"change:1"}, "A"},
        {"a write from inside a running change is ignored",
         [this](TPgcNotebook* nb) {
             DuringChange = [nb](int) { nb->SetPageIndex(3); };
             nb->SetPageIndex(1);
         },
         {"change:1", "changed:1"}, "B"},
        {"inserting before the active page", [](TPgcNotebook* nb) {
             nb->SetPageIndex(2);
             nb->InsertPage("N", 1);
         },
         {"change:2", "changed:2", "change:1", "changed:1"}, "N"},
        {"deleting the active page: its successor, silently", [](TPgcNotebook* nb) {
             nb->SetPageIndex(1);
             nb->DeletePage(1);
         },
         {"change:1", "changed:1"}, "C"},
        {"deleting the active last page: page 0 with events", [](TPgcNotebook* nb) {
             nb->SetPageIndex(3);
             nb->DeletePage(3);
         },
         {"change:3", "changed:3", "change:0", "changed:0"}, "A"},
        {"deleting a page before the active one shows the page moving into its number", [](TPgcNotebook* nb) {
             nb->SetPageIndex(2);
             nb->DeletePage(0);
         },
         {"change:2", "changed:2"}, "D"},
        {"deleting a page after the active one keeps it", [](TPgcNotebook* nb) {
             nb->SetPageIndex(1);
             nb->DeletePage(3);
         },
         {"change:1", "changed:1"}, "B"},
    };
    for (const TProtocolCase& c : cases) {
        AllowChange = true;
        DuringChange = nullptr;
        TPgcNotebook* notebook = NewNotebook({"A", "B", "C", "D"});
        c.Act(notebook);
        Pump();
        EXPECT_EQ(Events, c.Events) << c.Name;
        ASSERT_NE(notebook->GetPage(notebook->PageIndex()), nullptr) << c.Name;
        EXPECT_EQ(notebook->GetPage(notebook->PageIndex())->Caption(), c.ActiveCaption) << c.Name;
        for (int index = 0; index < notebook->PageCount(); ++index) {
            EXPECT_EQ(notebook->GetPage(index)->Visible(), index == notebook->PageIndex())
                << c.Name << ": only the active page shows, page " << index;
        }
        delete notebook;
    }
}

TEST_F(PgcNotebook, InvalidPagesRaiseAndChangeNothing)
{
    TPgcNotebook* notebook = NewNotebook({"A", "B", "C", "D"});
    notebook->GetPage(1)->SetEnabled(false);
    notebook->GetPage(2)->SetPageVisible(false);
    for (int index : {-1, 1, 2, 4, 99}) {
        EXPECT_THROW(notebook->SetPageIndex(index), EInvalidPageIndex) << index;
        EXPECT_EQ(notebook->PageIndex(), 0);
    }
    EXPECT_TRUE(Events.empty());
    try {
        notebook->SetPageIndex(7);
    } catch (const EInvalidPageIndex& error) {
        EXPECT_STREQ(error.what(), "Invalid page index value");
    }
    EXPECT_THROW(notebook->InsertPage("X", 5), EInvalidPageIndex);
    EXPECT_THROW(notebook->InsertPage("X", -1), EInvalidPageIndex);
    EXPECT_EQ(notebook->PageCount(), 4);
}

TEST_F(PgcNotebook, TheFocusLeavesTheHiddenPageBeforeItGoes)
{
    TPgcNotebook* notebook = NewNotebook({"A", "B"});
    plat::TEdit* edit = EditOn(notebook->GetPage(0), "Edit1");
    edit->SetFocus();
    Pump();
    edit->OnExit = [&](plat::TObject*) {
        Events.push_back(std::string("exit, page shown: ") + (notebook->GetPage(0)->Visible() ? "yes" : "no"));
    };
    notebook->SetPageIndex(1);
    EXPECT_EQ(Events, (std::vector<std::string>{"change:1", "exit, page shown: yes", "changed:1"}));
    EXPECT_FALSE(edit->Focused());
    EXPECT_NE(Form->ActiveControl(), edit);
}

TEST_F(PgcNotebook, AControlThatKeepsTheFocusKeepsItsPage)
{
    TPgcNotebook* notebook = NewNotebook({"A", "B"});
    plat::TEdit* edit = EditOn(notebook->GetPage(0), "Edit1");
    edit->SetFocus();
    Pump();
    edit->OnExit = [&](plat::TObject*) {
        Events.push_back("exit");
        edit->SetFocus();
    };
    EXPECT_NO_THROW(notebook->SetPageIndex(1));
    Pump();
    EXPECT_EQ(Events, (std::vector<std::string>{"change:1", "exit"}));
    EXPECT_EQ(notebook->PageIndex(), 0);
    EXPECT_EQ(Visibility(notebook), (std::vector<bool>{true, false}));
    EXPECT_EQ(Form->ActiveControl(), edit);
}

TEST_F(PgcNotebook, WalksOverValidPagesWrapAndEnd)
{
    TPgcNotebook* notebook = NewNotebook({"A", "B", "C", "D", "E"});
    notebook->GetPage(1)->SetEnabled(false);
    notebook->GetPage(3)->SetPageVisible(false);
    struct TCase {
        int From;
        int Next;
        int Previous;
    };
    for (const TCase& c : std::vector<TCase>{{0, 2, 4}, {2, 4, 0}, {4, 0, 2}, {1, 2, 0}, {-1, 0, 4}, {9, 0, 4}}) {
        EXPECT_EQ(notebook->NextValidIndex(c.From), c.Next) << c.From;
        EXPECT_EQ(notebook->PrevValidIndex(c.From), c.Previous) << c.From;
    }
    notebook->NextPage();
    EXPECT_EQ(notebook->PageIndex(), 2);
    notebook->PrevPage();
    notebook->PrevPage();
    EXPECT_EQ(notebook->PageIndex(), 4);

    // Only one valid page: no other to go to.
    TPgcNotebook* single = NewNotebook({"A", "B"});
    single->GetPage(1)->SetEnabled(false);
    EXPECT_EQ(single->NextValidIndex(0), -1);
    EXPECT_EQ(single->PrevValidIndex(0), -1);
}

// A notebook without pages ends every walk at once (it must not walk for
// ever), through the calls and through the keys of a focused notebook.
TEST_F(PgcNotebook, AnEmptyNotebookHasNoValidPageToWalkTo)
{
    TPgcNotebook* notebook = NewNotebook({});
    EXPECT_EQ(notebook->NextValidIndex(0), -1);
    EXPECT_EQ(notebook->PrevValidIndex(0), -1);
    EXPECT_EQ(notebook->NextValidIndex(-1), -1);
    notebook->NextPage();
    notebook->PrevPage();
    notebook->SetFocus();
    Pump();
    for (plat::TVirtualKey key : {plat::VK_HOME, plat::VK_END, plat::VK_LEFT, plat::VK_RIGHT, plat::VK_UP, plat::VK_DOWN}) {
        Host.Key(key);
        Pump();
    }
    EXPECT_TRUE(notebook->Focused());
    EXPECT_TRUE(Events.empty());
}

TEST_F(PgcNotebook, DeletingNeverTouchesAPageThatIsGone)
{
    TPgcNotebook* notebook = NewNotebook({"A", "B"});
    notebook->GetPage(0)->SetEnabled(false);
    notebook->SetPageIndex(1);
    notebook->DeletePage(1);   // no valid page is left to show
    EXPECT_EQ(notebook->PageCount(), 1);
    EXPECT_NO_THROW(notebook->DeletePage(0));
    EXPECT_EQ(notebook->PageCount(), 0);
    notebook->DeletePage(0);   // out of range: nothing
    notebook->DeletePage(-1);
    notebook->InsertPage("New", 0);
    EXPECT_EQ(notebook->PageIndex(), 0);
    EXPECT_TRUE(notebook->GetPage(0)->Visible()) << "the first page shows";
}

TEST_F(PgcNotebook, TheFirstPageShowsWithoutEvents)
{
    TPgcNotebook* notebook = NewNotebook({});
    notebook->InsertPage("First", 0);
    EXPECT_TRUE(Events.empty());
    EXPECT_TRUE(notebook->GetPage(0)->Visible());
    EXPECT_EQ(notebook->GetPage(0)->Parent(), notebook);
    EXPECT_EQ(notebook->GetPage(0)->NoteBook(), notebook);
    notebook->InsertPage("Second", 1);
    EXPECT_EQ(Events, (std::vector<std::string>{"change:1", "changed:1"}));
}

TEST_F(PgcNotebook, PagesAreFoundByCaptionOrName)
{
    TPgcNotebook* notebook = NewNotebook({"Start", "Info"});
    notebook->GetPage(1)->SetName("pgInfo");
    EXPECT_EQ(notebook->IndexOf("INFO", true), 1);
    EXPECT_EQ(notebook->IndexOf("PGINFO", false), 1);
    EXPECT_EQ(notebook->IndexOf("pgInfo", true), -1);
    EXPECT_EQ(notebook->PageNameToIndex("start"), 0);
    EXPECT_EQ(notebook->PageNameToIndex("Finish"), -1);
    EXPECT_EQ(notebook->GetPage(2), nullptr);
    EXPECT_EQ(notebook->GetTabRect(-1), plat::TRect{});
    EXPECT_EQ(notebook->GetPage(1)->DisplayText(), "Info: TPgcTabPage");
    notebook->GetPage(1)->SetCaption("");
    EXPECT_EQ(notebook->GetPage(1)->DisplayText(), "pgInfo: TPgcTabPage");
    EXPECT_EQ(notebook->PageCollection()->GetEditorCaption(), "Tab Pages Editor");
    EXPECT_EQ(notebook->ClientWidth(), notebook->GetPage(0)->Width());
}

TEST_F(PgcNotebook, ShowingAPageMakesItActive)
{
    TPgcNotebook* notebook = NewNotebook({"A", "B", "C"});
    notebook->ShowControl(notebook->GetPage(2));
    EXPECT_EQ(notebook->PageIndex(), 2);
    notebook->ShowControl(Form);   // no page: nothing
    EXPECT_EQ(notebook->PageIndex(), 2);
}

TEST_F(PgcNotebook, ConservingResourcesDropsTheHiddenPagesWindows)
{
    TPgcNotebook* notebook = NewNotebook({"A", "B", "C"});
    notebook->ForcePageHandles();
    for (int index = 0; index < 3; ++index) {
        EXPECT_TRUE(notebook->GetPage(index)->HandleAllocated()) << index;
    }
    notebook->SetConserveResources(true);
    EXPECT_EQ(std::vector<bool>({notebook->GetPage(0)->HandleAllocated(), notebook->GetPage(1)->HandleAllocated(),
                                 notebook->GetPage(2)->HandleAllocated()}),
              (std::vector<bool>{true, false, false}));
    notebook->SetPageIndex(1);
    Pump();
    EXPECT_TRUE(notebook->GetPage(1)->HandleAllocated());
    EXPECT_FALSE(notebook->GetPage(0)->HandleAllocated()) << "the page left loses its window";
}

TEST_F(PgcNotebook, TabPropertiesFollowTheirRules)
{
    TPgcNotebook* notebook = NewNotebook({"A", "B", "C"});
    plat::TPixelSurface surface(1, 1, 24);
    plat::TSurfaceDC dc(surface);
    dc.SelectFont(notebook->Font()->Handle());
    const int autoHeight = dc.GetTextExtent("Wy").cy + 4;
    EXPECT_TRUE(notebook->TabAutoHeight());
    EXPECT_EQ(notebook->TabHeight(), autoHeight) << "the \"Wy\" height of the font and 4";
    notebook->SetTabHeight(-3);
    EXPECT_EQ(notebook->TabHeight(), autoHeight);
    notebook->SetTabHeight(25);
    EXPECT_EQ(notebook->TabHeight(), 25);
    EXPECT_FALSE(notebook->TabAutoHeight()) << "a tab height of its own";
    notebook->ActiveTabFont()->SetHeight(-20);
    notebook->SetTabAutoHeight(true);
    Pump();
    dc.SelectFont(notebook->ActiveTabFont()->Handle());
    EXPECT_EQ(notebook->TabHeight(), dc.GetTextExtent("Wy").cy + 4) << "the larger active tab font";

    notebook->SetTabRowCount(4);   // more than the pages: refused
    EXPECT_EQ(notebook->TabRowCount(), 0);
    notebook->SetTabRowCount(3);
    EXPECT_EQ(notebook->TabRowCount(), 3);
    EXPECT_EQ(notebook->TabTotalRows(), 3);
    EXPECT_EQ(notebook->TabsInRow(1), 1);
    EXPECT_EQ(notebook->LastRow(), 2);

    notebook->SetBounds(10, 10, 5, 100);
    EXPECT_EQ(notebook->Width(), 20) << "at least 20 pixels along the tab edge";
    notebook->SetTabOrientation(toLeft);
    notebook->SetBounds(10, 10, 5, 3);
    EXPECT_EQ(notebook->Width(), 5);
    EXPECT_EQ(notebook->Height(), 20);
}

TEST_F(PgcNotebook, PagesCoverTheBodyInsideTheFrame)
{
    TPgcNotebook* notebook = NewNotebook({"A", "B", "C"});
    notebook->SetTabHeight(20);
    Pump();
    const plat::TRect expected = plat::Bounds(1, 23, 217, 160);
    for (int index = 0; index < 3; ++index) {
        EXPECT_EQ(notebook->GetPage(index)->BoundsRect(), expected) << index;
    }
    notebook->SetTabOrientation(toRight);
    Pump();
    EXPECT_EQ(notebook->GetPage(0)->BoundsRect(), plat::Bounds(1, 1, 196, 182));
}

TEST_F(PgcNotebook, ColourRules)
{
    TPgcNotebook* notebook = NewNotebook({"A", "B"});
    notebook->SetTabHeight(20);
    notebook->GetPage(0)->SetTabColor(plat::clYellow);
    Pump();
    EXPECT_EQ(notebook->Color(), plat::clYellow) << "the body takes the active tab's colour";
    EXPECT_EQ(notebook->GetPage(0)->Color(), plat::clYellow) << "and so do the pages";
    EXPECT_TRUE(notebook->PageUsesTabColor()) << "its own painting keeps the rule";

    notebook->SetColor(plat::clAqua);
    EXPECT_FALSE(notebook->PageUsesTabColor()) << "a colour of its own ends the rule";
    EXPECT_EQ(notebook->GetPage(0)->TabColor(), plat::clAqua);
    EXPECT_EQ(notebook->GetPage(1)->TabColor(), plat::clAqua);

    notebook->SetTabUseDefaultColor(false);
    notebook->SetColor(plat::clRed);
    EXPECT_EQ(notebook->GetPage(1)->TabColor(), plat::clAqua);
    notebook->SetTabUseDefaultColor(true);
    EXPECT_EQ(notebook->GetPage(1)->TabColor(), plat::clRed);
}

// The TrueType test goes through the canvas's fonts; a test that answers
// "no" for one family stands in for a bitmap font.
class PgcNotebookFonts : public PgcNotebook {
protected:
    TPgcNotebook* Sideways()
    {
        TPgcNotebook* notebook = NewNotebook({"A", "B"});
        notebook->SetTrueTypeTest([](const plat::TFont& font) { return font.Name() != "Bitmap Sans"; });
        return notebook;
    }
};

TEST_F(PgcNotebookFonts, TheCanvasFontsAreTrueTypeAndTheFallbackIsDejaVuSans)
{
    plat::TFont arial;
    arial.SetName("Arial");
    EXPECT_TRUE(IsTrueTypeFont(arial));
    plat::TFont dejaVu;
    dejaVu.SetName("DejaVu Sans");
    plat::TPixelSurface surface(1, 1, 24);
    plat::TSurfaceDC dc(surface);
    dc.SelectFont(arial.Handle());
    const plat::TSize arialExtent = dc.GetTextExtent("Notebook Wy");
    dc.SelectFont(dejaVu.Handle());
    EXPECT_EQ(dc.GetTextExtent("Notebook Wy"), arialExtent);
}

TEST_F(PgcNotebookFonts, SidewaysTabsRefuseANonTrueTypeFont)
{
    TPgcNotebook* notebook = Sideways();
    notebook->GetPage(1)->Font()->SetName("Bitmap Sans");
    EXPECT_THROW(notebook->SetTabOrientation(toLeft), EInvalidTabFont);
    EXPECT_EQ(notebook->TabOrientation(), toTop) << "the orientation stays";
    EXPECT_EQ(notebook->GetPage(1)->Font()->Name(), "Bitmap Sans") << "and the fonts too";
    try {
        notebook->SetTabOrientation(toRight);
    } catch (const EInvalidTabFont& error) {
        EXPECT_STREQ(error.what(), "Invalid font. Non toTop oriented tabs require a True-Type font");
    }
    notebook->GetPage(1)->Font()->SetName("Tahoma");
    notebook->SetTabOrientation(toBottom);   // not sideways: no test
    notebook->SetTabOrientation(toLeft);
    EXPECT_EQ(notebook->TabOrientation(), toLeft);
}

TEST_F(PgcNotebookFonts, AFontChangedOnSidewaysTabsFallsBackAndRaises)
{
    TPgcNotebook* notebook = Sideways();
    notebook->SetTabOrientation(toRight);
    struct TCase {
        std::string Name;
        std::function<plat::TFont*()> FontOf;
    };
    const std::vector<TCase> cases = {
        {"notebook", [&] { return notebook->Font(); }},
        {"active tab", [&] { return notebook->ActiveTabFont(); }},
        {"page", [&] { return notebook->GetPage(0)->Font(); }},
    };
    for (const TCase& c : cases) {
        EXPECT_THROW(c.FontOf()->SetName("Bitmap Sans"), EInvalidTabFont) << c.Name;
        EXPECT_EQ(c.FontOf()->Name(), "Arial") << c.Name;
    }
    notebook->SetTabOrientation(toTop);
    notebook->Font()->SetName("Bitmap Sans");   // upright tabs take any font
    EXPECT_EQ(notebook->Font()->Name(), "Bitmap Sans");
}

class TDesignedNotebook : public TPgcNotebook {
public:
    explicit TDesignedNotebook(plat::TComponent* Owner) : TPgcNotebook(Owner) {}
    void Design() { SetDesigning(true); }
};

TEST_F(PgcNotebookFonts, InADesignerTheFontsFallBackAndEveryPageCounts)
{
    auto* notebook = new TDesignedNotebook(Form);
    notebook->SetParent(Form);
    notebook->InsertPage("A", 0);
    notebook->InsertPage("B", 1);
    notebook->SetTrueTypeTest([](const plat::TFont& font) { return font.Name() != "Bitmap Sans"; });
    notebook->Design();
    notebook->GetPage(1)->SetEnabled(false);
    notebook->GetPage(0)->SetPageVisible(false);
    EXPECT_TRUE(notebook->IsValid(0));
    EXPECT_TRUE(notebook->IsValid(1));
    notebook->Font()->SetName("Bitmap Sans");
    notebook->SetTabOrientation(toLeft);
    EXPECT_EQ(notebook->TabOrientation(), toLeft);
    EXPECT_EQ(notebook->Font()->Name(), "Arial");
}

TEST_F(PgcNotebook, ScalingScalesTheTabHeightAndTheActiveTabFont)
{
    TPgcNotebook* notebook = NewNotebook({"A"});
    notebook->SetTabHeight(20);
    notebook->ActiveTabFont()->SetSize(8);
    notebook->ChangeScale(3, 2);
    EXPECT_EQ(notebook->TabHeight(), 30);
    EXPECT_EQ(notebook->ActiveTabFont()->Size(), 12);
    notebook->ChangeScale(2, 2);
    EXPECT_EQ(notebook->TabHeight(), 30);
}

TEST_F(PgcNotebook, UpdatesHoldPaintingUntilTheEnd)
{
    TPgcNotebook* notebook = NewNotebook({"A", "B"});
    notebook->BeginUpdate();
    EXPECT_TRUE(plat::IsRedrawOff(notebook->Handle()));
    notebook->EndUpdate();
    EXPECT_FALSE(plat::IsRedrawOff(notebook->Handle()));
}

} // namespace
} // namespace qel
