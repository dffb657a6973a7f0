// Tests of the notebook's tabs as drawn: the classic top tabs pixel by
// pixel (outline, 3D lines, corner triangles, body frame under the active
// tab), captions (engraved when disabled, left out when taller than the
// tab allows, turned on the side edges), the focus frame drawn and taken
// away by exclusive or, and screenshots of the four edges.
#include "tests/widgets/pages/pgc_notebook_fixture.h"

#include "platform/controls/control_canvas.h"
#include "platform/controls/standard/custom_edit.h"

#include <algorithm>

namespace qel {
namespace {

using test::Rgb;
using test::TNotebookTest;

class PgcNotebookPaint : public TNotebookTest {
protected:
    PgcNotebookPaint()
    {
        Outside = new plat::TEdit(Form);
        Outside->SetBounds(250, 250, 80, 21);
        Outside->SetParent(Form);
    }

    // Three tabs in one row, 20 high; the active first one is drawn larger.
    TPgcNotebook* TopTabs()
    {
        TPgcNotebook* notebook = NewNotebook({"One", "Two", "Three"});
        notebook->SetTabHeight(20);
        notebook->GetPage(2)->SetTabColor(plat::clYellow);
        Outside->SetFocus();
        Pump();
        return notebook;
    }

    // The colours of a rectangle of the notebook.
    std::vector<plat::TColor> Area(TPgcNotebook* Notebook, const plat::TRect& Rect)
    {
        const std::vector<plat::TColor> all = PixelsOf(Notebook);
        std::vector<plat::TColor> part;
        for (int y = Rect.Top; y < Rect.Bottom; ++y) {
            for (int x = Rect.Left; x < Rect.Right; ++x) {
                part.push_back(all[static_cast<std::size_t>(y * Notebook->Width() + x)]);
            }
        }
        return part;
    }

    plat::TEdit* Outside;
};

struct TPixelCase {
    const char* What;
    int X;
    int Y;
    plat::TColor Color;
};

TEST_F(PgcNotebookPaint, ClassicTopTabsPixelByPixel)
{
    TPgcNotebook* notebook = TopTabs();
    ASSERT_FALSE(notebook->Focused());
    const plat::TRect last = notebook->GetTabRect(2);
    const plat::TRect active = notebook->GetTabRect(0);
    ASSERT_EQ(last.Top, 2);
    ASSERT_EQ(last.Bottom, 22);
    ASSERT_EQ(active.Left, 2);
    const int L = last.Left;
    const int Rt = last.Right;
    const int Ra = active.Right + 2;   // the active tab drawn 2 pixels wider on each side
    const plat::TColor face = Rgb(plat::clBtnFace);
    const plat::TColor light = Rgb(plat::clBtnHighlight);
    const plat::TColor shade = Rgb(plat::clBtnShadow);
    const plat::TColor black = Rgb(plat::clBlack);
    const plat::TColor yellow = Rgb(plat::clYellow);
    const std::vector<TPixelCase> cases = {
        {"top strip", 100, 0, face},
        {"top strip", 100, 1, face},
        {"band beyond the last tab", 215, 10, face},
        {"tab colour inside", L + 1, 20, yellow},
        {"tab colour under the caption", L + 3, 12, yellow},
        {"left side lit", L, 21, light},
        {"left side lit", L, 4, light},
        {"left chamfer lit", L + 1, 3, light},
        {"top edge lit", L + 2, 2, light},
        {"top edge lit", Rt - 3, 2, light},
        {"right chamfer black", Rt - 2, 3, black},
        {"right side black", Rt - 1, 4, black},
        {"right side black", Rt - 1, 21, black},
        {"right side shadow", Rt - 2, 4, shade},
        {"right side shadow", Rt - 2, 21, shade},
        {"left corner triangle", L, 2, face},
        {"left corner triangle", L + 1, 2, face},
        {"left corner triangle", L, 3, face},
        {"right corner triangle", Rt - 2, 2, face},
        {"right corner triangle", Rt - 1, 2, face},
        {"right corner triangle", Rt - 1, 3, face},
        {"active tab: outer edge at the top", 2, 0, light},
        {"active tab: chamfer", 1, 1, light},
        {"active tab: corner left bare", 0, 0, face},
        {"active tab: left side", 0, 10, light},
        {"active tab: right side black", Ra - 1, 10, black},
        {"active tab: right side shadow", Ra - 2, 10, shade},
        {"body open under the active tab", 1, 22, face},
        {"body open under the active tab", Ra - 2, 22, face},
        {"body edge lit beside it", Ra, 22, light},
        {"body edge lit", 200, 22, light},
        {"body left lit", 0, 100, light},
        {"body right black", 219, 100, black},
        {"body right shadow", 218, 100, shade},
        {"body bottom black", 100, 184, black},
        {"body bottom shadow", 100, 183, shade},
        {"body corner", 219, 184, black},
        {"the page inside", 100, 100, face},
    };
    for (const TPixelCase& c : cases) {
        EXPECT_EQ(PixelOf(notebook, c.X, c.Y), c.Color) << c.What << " at " << c.X << "," << c.Y;
    }
}

TEST_F(PgcNotebookPaint, ADisabledCaptionIsEngraved)
{
    TPgcNotebook* notebook = TopTabs();
    notebook->GetPage(1)->SetEnabled(false);
    Pump();
    const auto darkCount = [](const std::vector<plat::TColor>& pixels) {
        return std::count_if(pixels.begin(), pixels.end(), [](plat::TColor c) { return (c & 0xFF) < 0x60; });
    };
    const auto countOf = [](const std::vector<plat::TColor>& pixels, plat::TColor color) {
        return std::count(pixels.begin(), pixels.end(), color);
    };
    const std::vector<plat::TColor> disabled = Area(notebook, notebook->GetTabTextRect(1));
    const std::vector<plat::TColor> enabled = Area(notebook, notebook->GetTabTextRect(2));
    EXPECT_GT(darkCount(enabled), 0) << "an enabled caption is written in black";
    EXPECT_EQ(darkCount(disabled), 0);
    EXPECT_GT(countOf(disabled, Rgb(plat::clBtnShadow)), 0);
    EXPECT_GT(countOf(disabled, Rgb(plat::clBtnHighlight)), 0);
}

TEST_F(PgcNotebookPaint, ShadowedCaptionsAndCaptionsDrawnByTheirOwner)
{
    TPgcNotebook* notebook = TopTabs();
    const auto count = [](const std::vector<plat::TColor>& pixels, plat::TColor color) {
        return std::count(pixels.begin(), pixels.end(), color);
    };
    notebook->SetTextShadowColor(plat::clRed);
    EXPECT_EQ(count(Area(notebook, notebook->GetTabTextRect(2)), Rgb(plat::clRed)), 0);
    notebook->SetShadowedText(true);
    EXPECT_GT(count(Area(notebook, notebook->GetTabTextRect(2)), Rgb(plat::clRed)), 0);

    std::vector<std::string> drawn;
    notebook->OnDrawTab = [&](plat::TObject*, int Index, const std::string& Title, plat::TRect& R, bool Enabled,
                              bool Active) {
        EXPECT_EQ(R, notebook->GetTabTextRect(Index));
        drawn.push_back(Title + (Enabled ? " enabled" : " disabled") + (Active ? " active" : ""));
    };
    notebook->GetPage(1)->SetEnabled(false);
    Pump();
    EXPECT_EQ(drawn, (std::vector<std::string>{"One enabled active", "Two disabled", "Three enabled",
                                               "One enabled active"}))
        << "every tab in page order, then the active one again";
    const plat::TRect tab = notebook->GetTabRect(2);
    const std::vector<plat::TColor> inside =
        Area(notebook, plat::Rect(tab.Left + 2, tab.Top + 1, tab.Right - 3, tab.Bottom));
    EXPECT_EQ(count(inside, Rgb(plat::clYellow)), static_cast<long>(inside.size())) << "the owner drew no caption";
}

TEST_F(PgcNotebookPaint, ANotebookWithoutPagesShowsItsColour)
{
    TPgcNotebook* notebook = NewNotebook({});
    notebook->SetColor(plat::clTeal);
    const std::vector<plat::TColor> pixels = PixelsOf(notebook);
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), Rgb(plat::clTeal)), static_cast<long>(pixels.size()));
}

TEST_F(PgcNotebookPaint, NoCaptionTallerThanTheTabAllows)
{
    TPgcNotebook* notebook = TopTabs();
    notebook->SetTabHeight(12);   // room for 8 pixels of text; the font needs more
    Pump();
    const plat::TRect tab = notebook->GetTabRect(2);
    ASSERT_EQ(tab.Bottom - tab.Top, 12);
    const std::vector<plat::TColor> inside =
        Area(notebook, plat::Rect(tab.Left + 2, tab.Top + 1, tab.Right - 3, tab.Bottom));
    EXPECT_EQ(std::count(inside.begin(), inside.end(), Rgb(plat::clYellow)), static_cast<long>(inside.size()))
        << "only the tab colour inside the outline";
    notebook->SetTabHeight(20);
    Pump();
    const std::vector<plat::TColor> captioned =
        Area(notebook, plat::Rect(tab.Left + 2, tab.Top + 1, tab.Right - 3, tab.Top + 20));
    EXPECT_LT(std::count(captioned.begin(), captioned.end(), Rgb(plat::clYellow)), static_cast<long>(captioned.size()))
        << "with room the caption shows";
}

TEST_F(PgcNotebookPaint, TheFocusFrameIsDrawnByExclusiveOr)
{
    TPgcNotebook* notebook = TopTabs();
    const std::vector<plat::TColor> unfocused = PixelsOf(notebook);
    notebook->SetFocus();
    const std::vector<plat::TColor> focused = PixelsOf(notebook);
    EXPECT_NE(focused, unfocused);
    Outside->SetFocus();
    EXPECT_EQ(PixelsOf(notebook), unfocused) << "losing the focus repaints the tab";

    notebook->DrawTabFocusRect(notebook->PageIndex());
    plat::TControlCanvas::FreeDeviceContexts();
    EXPECT_EQ(PixelsOf(notebook), focused) << "the frame alone makes the focused picture";
    notebook->DrawTabFocusRect(notebook->PageIndex());
    plat::TControlCanvas::FreeDeviceContexts();
    EXPECT_EQ(PixelsOf(notebook), unfocused) << "a second frame takes it away";
}

// The dark pixels of a tab's caption span more rows than columns when the
// caption is turned.
TEST_F(PgcNotebookPaint, CaptionsOnTheSideEdgesAreTurned)
{
    for (TPgcTabOrientation orientation : {toLeft, toRight, toTop}) {
        TPgcNotebook* notebook = NewNotebook({"One", "Wizard"});
        notebook->SetTabOrientation(orientation);
        Pump();
        const plat::TRect tab = notebook->GetTabRect(1);
        const std::vector<plat::TColor> all = PixelsOf(notebook);
        plat::TRect ink{tab.Right, tab.Bottom, tab.Left, tab.Top};
        for (int y = tab.Top + 3; y < tab.Bottom - 3; ++y) {
            for (int x = tab.Left + 3; x < tab.Right - 3; ++x) {
                if ((all[static_cast<std::size_t>(y * notebook->Width() + x)] & 0xFF) < 0x60) {
                    ink = plat::Rect(std::min(ink.Left, x), std::min(ink.Top, y), std::max(ink.Right, x + 1),
                                     std::max(ink.Bottom, y + 1));
                }
            }
        }
        ASSERT_FALSE(ink.IsEmpty()) << int(orientation);
        EXPECT_EQ(IsSideways(orientation), ink.Height() > ink.Width()) << int(orientation);
        delete notebook;
    }
}

// Pictures to look at: the four edges with two rows of tabs, a disabled
// page and the focus frame, and a single row on each edge.
TEST_F(PgcNotebookPaint, Gallery)
{
    auto* gallery = App.CreateForm<plat::TForm>();
    gallery->SetBounds(20, 20, 600, 470);
    gallery->Show();
    const plat::TPoint places[] = {{10, 10}, {300, 10}, {10, 230}, {300, 230}};
    const std::vector<std::string> captions = {"&Start", "Info", "Finish", "&Progress", "Report", "Save"};
    std::vector<TPgcNotebook*> notebooks;
    for (TPgcTabOrientation orientation : {toTop, toRight, toBottom, toLeft}) {
        auto* notebook = new TPgcNotebook(gallery);
        notebook->SetBounds(places[orientation].X, places[orientation].Y, 280, 210);
        notebook->SetParent(gallery);
        for (std::size_t index = 0; index < captions.size(); ++index) {
            notebook->InsertPage(captions[index], static_cast<int>(index));
        }
        notebook->GetPage(4)->SetEnabled(false);
        notebook->GetPage(1)->SetTabColor(plat::clInfoBk);
        notebook->SetTabOrientation(orientation);
        notebook->SetTabRowCount(3);
        notebook->SetPageIndex(1);
        notebooks.push_back(notebook);
    }
    notebooks[0]->SetFocus();
    Pump();
    Shot(gallery, "notebook_tabs_rows");
    for (TPgcNotebook* notebook : notebooks) {
        EXPECT_EQ(notebook->TabTotalRows(), 3);
        notebook->SetTabRowCount(0);
        while (notebook->PageCount() > 3) {
            notebook->DeletePage(notebook->PageCount() - 1);
        }
    }
    notebooks[3]->SetFocus();
    Pump();
    Shot(gallery, "notebook_tabs_one_row");
    for (TPgcNotebook* notebook : notebooks) {
        EXPECT_EQ(notebook->TabTotalRows(), 1);
        notebook->SetOldStyle(true);
    }
    Pump();
    Shot(gallery, "notebook_tabs_old_style");
}

} // namespace
} // namespace qel
