// The wizard's road through the notebook on the headless back end: a main
// window built as its loader builds it (properties stored while loading,
// twelve pages, tabs off, then Loaded), the same window through the
// component stream, and page switching by PageIndex alone.
#include "tests/widgets/pages/pgc_notebook_fixture.h"

#include "widgets/pages/pgc_exceptions.h"
#include "widgets/pages/pgc_meter.h"

#include "platform/controls/standard/button.h"
#include "platform/objects/class_registry.h"
#include "platform/objects/reader.h"
#include "platform/objects/writer.h"
#include "platform/streams.h"

#include <memory>

namespace qel {
namespace {

using test::TNotebookTest;

const std::vector<std::string> kPageNames = {
    "pgStart", "pgInfo", "pgFinish", "pgProgress", "pgReport", "pgSave",
    "pgNext", "pgCutterChannels", "pgCutterTime", "pgCutterFile", "pgOptionFile", "pgShock",
};

class PgcNotebookWizard : public TNotebookTest {
protected:
    PgcNotebookWizard()
    {
        plat::RegisterClasses({TPgcNotebook::StaticClass(), TPgcMeter::StaticClass(), plat::TButton::StaticClass(),
                               plat::TForm::StaticClass()});
    }

    // The main window as its loader makes it: every property set while
    // loading, Loaded at the end of the session.
    plat::TForm* LoadMainWindow(int DefaultPage)
    {
        plat::BeginLoading();
        auto* window = new plat::TForm(&App);
        window->SetName("frmMain");
        window->SetBounds(50, 50, 530, 330);
        Notebook = new TPgcNotebook(window);
        Notebook->SetName("PgcNotebook1");
        Notebook->SetParent(window);
        Notebook->SetAlign(plat::alClient);
        Notebook->SetTabAutoHeight(false);
        Notebook->SetTabHeight(0);
        Notebook->SetDefaultPageIndex(DefaultPage);
        Notebook->SetPageIndex(7);   // stored; the default page decides
        for (const std::string& name : kPageNames) {
            auto* page = new TPgcTabPage(Notebook);
            page->SetName(name);
            page->SetCaption(name.substr(2));
            auto* button = new plat::TButton(window);
            button->SetName("btn" + name.substr(2));
            button->SetBounds(8, 8, 96, 28);
            button->SetCaption(name.substr(2));
            button->SetParent(page);
        }
        auto* meter = new TPgcMeter(window);
        meter->SetName("omeProgress");
        meter->SetBounds(8, 44, 200, 24);
        meter->SetParent(Notebook->GetPage(3));
        meter->SetShowPercent(true);
        Log(Notebook);
        plat::EndLoading();
        return window;
    }

    void ExpectOnlyPageShows(int Index)
    {
        EXPECT_EQ(Notebook->PageIndex(), Index);
        for (int page = 0; page < Notebook->PageCount(); ++page) {
            EXPECT_EQ(Notebook->GetPage(page)->Visible(), page == Index) << "page " << page;
        }
    }

    void ExpectPagesCoverTheNotebook()
    {
        const plat::TRect whole = plat::Rect(0, 0, Notebook->Width(), Notebook->Height());
        for (int page = 0; page < Notebook->PageCount(); ++page) {
            EXPECT_EQ(Notebook->GetPage(page)->BoundsRect(), whole) << "page " << page;
        }
    }

    TPgcNotebook* Notebook = nullptr;
};

TEST_F(PgcNotebookWizard, TheLoadedWindowShowsItsDefaultPageWithoutEvents)
{
    std::unique_ptr<plat::TForm> window(LoadMainWindow(0));
    window->SetClientWidth(518);
    window->SetClientHeight(297);
    window->Show();
    Pump();
    EXPECT_TRUE(Events.empty());
    ASSERT_EQ(Notebook->PageCount(), 12);
    ExpectOnlyPageShows(0);
    EXPECT_EQ(Notebook->TabHeight(), 0);
    EXPECT_FALSE(Notebook->TabAutoHeight());
    EXPECT_EQ(Notebook->BoundsRect(), plat::Rect(0, 0, 518, 297));
    ExpectPagesCoverTheNotebook();
    Shot(window.get(), "notebook_wizard_start");

    // No tab band and no frame: the corners show the page and its button
    // stands where it was placed on the page.
    const plat::TColor face = test::Rgb(plat::clBtnFace);
    for (const plat::TPoint point : {plat::Point(0, 0), plat::Point(1, 1), plat::Point(517, 0),
                                     plat::Point(0, 296), plat::Point(517, 296), plat::Point(200, 3)}) {
        EXPECT_EQ(PixelOf(Notebook, point.X, point.Y), face) << point.X << "," << point.Y;
    }
    plat::TControl* button = window->FindComponent("btnStart") != nullptr
        ? static_cast<plat::TControl*>(window->FindComponent("btnStart"))
        : nullptr;
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->ClientToScreen(plat::Point(0, 0)), Notebook->ClientToScreen(plat::Point(8, 8)));

    window->SetClientWidth(640);
    window->SetClientHeight(400);
    Pump();
    EXPECT_EQ(Notebook->BoundsRect(), plat::Rect(0, 0, 640, 400));
    ExpectPagesCoverTheNotebook();

    for (int page : {3, 5, 1, 2, 0}) {
        Notebook->SetPageIndex(page);
        Pump();
        ExpectOnlyPageShows(page);
    }
    EXPECT_EQ(Events, (std::vector<std::string>{"change:3", "changed:3", "change:5", "changed:5", "change:1",
                                                "changed:1", "change:2", "changed:2", "change:0", "changed:0"}));
    Notebook->SetPageIndex(3);
    Shot(window.get(), "notebook_wizard_progress");
}

TEST_F(PgcNotebookWizard, ADefaultPageThatIsNoPageFailsTheLoad)
{
    std::unique_ptr<plat::TForm> window;
    EXPECT_THROW(window.reset(LoadMainWindow(12)), EInvalidPageIndex);
    // The window was built; only its loaded step failed.
    window.reset(static_cast<plat::TForm*>(App.FindComponent("frmMain")));
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(Events.empty());
}

TEST_F(PgcNotebookWizard, TheWindowComesBackThroughTheComponentStream)
{
    std::unique_ptr<plat::TForm> window(LoadMainWindow(2));
    Notebook->SetPageIndex(4);
    plat::TMemoryStream stream;
    plat::TWriter writer(stream);
    writer.WriteRootComponent(window.get());
    window.reset();
    stream.SetPosition(0);

    auto copy = std::make_unique<plat::TForm>(&App);
    plat::TReader reader(stream);
    reader.ReadRootComponent(copy.get());
    auto* notebook = static_cast<TPgcNotebook*>(copy->FindComponent("PgcNotebook1"));
    ASSERT_NE(notebook, nullptr);
    Notebook = notebook;
    ASSERT_EQ(notebook->PageCount(), 12);
    EXPECT_EQ(notebook->TabHeight(), 0);
    EXPECT_FALSE(notebook->TabAutoHeight());
    EXPECT_EQ(notebook->Align(), plat::alClient);
    EXPECT_EQ(notebook->DefaultPageIndex(), 2);
    for (int page = 0; page < 12; ++page) {
        EXPECT_EQ(notebook->GetPage(page)->Name(), kPageNames[static_cast<std::size_t>(page)]);
        EXPECT_EQ(notebook->GetPage(page)->Owner(), notebook);
        EXPECT_EQ(notebook->GetPage(page)->Parent(), notebook);
    }
    ExpectOnlyPageShows(2);
    auto* meter = dynamic_cast<TPgcMeter*>(copy->FindComponent("omeProgress"));
    ASSERT_NE(meter, nullptr);
    EXPECT_TRUE(meter->ShowPercent());
    EXPECT_EQ(meter->Parent(), notebook->GetPage(3));
    copy->Show();
    Pump();
    ExpectPagesCoverTheNotebook();
}

} // namespace
} // namespace qel
