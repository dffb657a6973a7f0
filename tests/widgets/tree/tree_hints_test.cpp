// The data tree's timers, focus loss, hint decisions and pop-up menus:
// no change timer without a change delay, what losing the focus ends,
// tooltips for cut-off cells only, no new hint inside the current one's
// area, no hints while the mouse is held, the header's cut captions, and
// menus asked of a node and its ancestors.
#include "tests/widgets/tree/record_tree_fixture.h"

#include "platform/controls/clipboard.h"
#include "platform/controls/control_messages.h"
#include "platform/controls/hint_window.h"
#include "platform/controls/window.h"
#include "platform/controls/window_input.h"
#include "platform/timers.h"
#include "platform/canvas/canvas.h"
#include "platform/canvas/pixel_surface.h"
#include "platform/controls/virtual_keys.h"
#include "widgets/tree/data_tree_errors.h"
#include "widgets/tree/tree_hint_window.h"

#include <cstdlib>
#include <memory>

#include <vector>

namespace qel::tree_test {
namespace {

class TreeHints : public RecordTreeTest {
protected:
    TreeHints()
    {
        Form->SetBounds(0, 0, 700, 400);
        ShowForm();
        Tree->SetBounds(0, 0, 660, 330);
        SetUpAsRecordPage();
        Fill(SerialsABA);
        Tree->SetExpanded(Loggers[0], true);
        Tree->SetExpanded(SelectAll(0), true);
        Tree->SetShowHint(true);
        Tree->SetFocus();
        Host.PumpUntilIdle();
    }

    // Asks the tree for a hint at a client point; true when it shows one.
    bool AskHint(plat::TPoint client, plat::THintInfo& info)
    {
        info = plat::THintInfo{};
        info.HintControl = Tree;
        info.CursorPos = client;
        info.HintPos = Tree->ClientToScreen(client);
        return plat::SendMessage(Tree->Handle(), plat::CM_HINTSHOW, 0, reinterpret_cast<plat::LPARAM>(&info)) == 0;
    }
    plat::TPoint CellPoint(PDataNode node, TColumnIndex column)
    {
        const plat::TRect r = Tree->GetDisplayRect(node, column, true);
        return plat::Point(static_cast<int>(r.Left) + 3, static_cast<int>((r.Top + r.Bottom) / 2));
    }
};

// Tooltips of a tree that shows hints appear without the usual pause.
TEST_F(TreeHints, TooltipsAppearWithoutAPause)
{
    struct TCase {
        bool showHint;
        TDTHintMode mode;
        int pause;
    };
    const TCase cases[] = {
        {true, hmTooltip, 0}, {false, hmTooltip, 500}, {true, hmHint, 500}, {true, hmHintAndDefault, 500}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.mode);
        SCOPED_TRACE(c.showHint);
        Tree->SetShowHint(c.showHint);
        Tree->SetHintMode(c.mode);
        int pause = 500;
        Tree->Perform(plat::CM_HINTSHOWPAUSE, 0, reinterpret_cast<plat::LPARAM>(&pause));
        EXPECT_EQ(pause, c.pause);
    }
}

TEST_F(TreeHints, NoChangeTimerWithoutADelayAndFocusLossEndsWhatIsPending)
{
    int changes = 0;
    Tree->OnChange = [&changes](plat::TObject*, PDataNode) { ++changes; };
    Tree->SetSelected(Records(0)[0], true);
    EXPECT_GE(changes, 1) << "at once";
    EXPECT_FALSE(plat::KillTimer(Tree->Handle(), ChangeTimer)) << "timer 5 never ran";

    Tree->SetIncrementalSearch(isAll);
    Tree->SetFocusedNode(Loggers[0]);
    Host.TypeText("Q");
    Host.PumpUntilIdle();
    ASSERT_TRUE(Tree->TreeStates().Contains(tsIncrementalSearching));
    Tree->DoStateChange({tsEditPending, tsNodeHeightTracking});
    plat::SendMessage(Tree->Handle(), plat::WM_KILLFOCUS, 0, 0);
    EXPECT_FALSE(Tree->TreeStates().Contains(tsIncrementalSearching));
    EXPECT_FALSE(Tree->TreeStates().Contains(tsEditPending));
    EXPECT_FALSE(Tree->TreeStates().Contains(tsNodeHeightTracking));
    EXPECT_EQ(Tree->SearchBuffer(), "");
    EXPECT_FALSE(plat::KillTimer(Tree->Handle(), SearchTimer)) << "the search timer is stopped";
}

TEST_F(TreeHints, TooltipsShowOnlyForCutCellsAndNotAgainInsideTheirArea)
{
    Tree->SetHintMode(hmTooltip);
    plat::THintInfo info;
    EXPECT_FALSE(AskHint(CellPoint(Records(0)[0], 1), info)) << "the start time fits its column";
    TDataTreeColumn* time = Tree->Header()->Columns()[1];
    time->SetMinWidth(10);
    time->SetWidth(60);
    ASSERT_TRUE(AskHint(CellPoint(Records(0)[0], 1), info));
    EXPECT_EQ(info.HintStr, "17.05.2024 08:30:00") << "the whole text";
    const plat::TRect text = Tree->GetDisplayRect(Records(0)[0], 1, true, true, true);
    EXPECT_EQ(info.HintPos, Tree->ClientToScreen(plat::Point(text.Left, text.Top)));
    EXPECT_EQ(Tree->LastHintRect(), text);
    EXPECT_TRUE(Tree->TreeStates().Contains(tsHint));

    plat::THintInfo again;
    plat::TPoint inside = CellPoint(Records(0)[0], 1);
    ++inside.X;
    EXPECT_FALSE(AskHint(inside, again)) << "the current hint stays";
    EXPECT_TRUE(again.HintStr.empty()) << "and no new one is made";
}

// A left content margin the application gives pushes a text that fits out
// of its cell: the tooltip shows it whole.
TEST_F(TreeHints, ContentMarginsCountInWhetherATextIsCut)
{
    Tree->SetHintMode(hmTooltip);
    plat::THintInfo info;
    const PDataNode record = Records(0)[0];
    ASSERT_FALSE(AskHint(CellPoint(record, 1), info)) << "the start time fits its column";
    const int width = Tree->Header()->Columns()[1]->Width();
    Tree->OnBeforeCellPaint = [width](plat::TObject*, plat::TCanvas*, PDataNode, TColumnIndex column,
                                      TDTCellPaintMode mode, const plat::TRect&, plat::TRect& content) {
        if (mode == cpmGetContentMargin && column == 1) {
            content.Left += width / 2;
        }
    };
    const plat::TRect text = Tree->GetDisplayRect(record, 1, true, true, true);
    ASSERT_TRUE(AskHint(plat::Point(static_cast<int>(text.Left) + 2, static_cast<int>(text.Top) + 3), info));
    EXPECT_EQ(info.HintStr, "17.05.2024 08:30:00");
    EXPECT_EQ(Tree->LastHintRect(), text);
    Tree->OnBeforeCellPaint = nullptr;
}

TEST_F(TreeHints, NoHintWhileTheMouseIsHeldAndCutHeaderCaptionsShowWhole)
{
    Tree->SetHintMode(hmTooltip);
    TDataTreeColumn* time = Tree->Header()->Columns()[1];
    time->SetMinWidth(10);
    time->SetWidth(60);
    plat::SetCapture(Tree->Handle());
    plat::THintInfo info;
    EXPECT_FALSE(AskHint(CellPoint(Records(0)[0], 1), info));
    plat::ReleaseCapture();

    Tree->Header()->SetOptions(Tree->Header()->Options() + TDTHeaderOptions{hoShowHint});
    time->SetText("A start time caption far too long");
    const plat::TPoint header = plat::Point(time->Left() + 10, -Tree->Header()->Height() / 2);
    ASSERT_TRUE(AskHint(header, info));
    EXPECT_EQ(info.HintStr, "A start time caption far too long");
    time->SetHint("The time the recording began");
    EXPECT_FALSE(AskHint(plat::Point(header.X + 1, header.Y), info)) << "still inside the last hint's area";
    EXPECT_FALSE(AskHint(plat::Point(5, Tree->ClientHeight() - 2), info)) << "below the rows: none, area left";
    ASSERT_TRUE(AskHint(plat::Point(header.X + 1, header.Y), info));
    EXPECT_EQ(info.HintStr, "The time the recording began") << "a column's own hint first";
}

TEST_F(TreeHints, PopupMenusAreAskedOfTheNodeAndItsAncestors)
{
    std::vector<PDataNode> asked;
    PDataNode stopAt = nullptr;
    Tree->OnGetPopupMenu = [&](plat::TObject*, PDataNode node, TColumnIndex, const plat::TPoint&, bool& askParent,
                               plat::TComponent*&) {
        asked.push_back(node);
        askParent = node != stopAt;
    };
    const PDataNode record = Records(0)[1];
    Host.Click(LabelPoint(record), plat::THostButton::Right);
    Host.PumpUntilIdle();
    EXPECT_EQ(asked, (std::vector<PDataNode>{record, SelectAll(0), Loggers[0]}));
    asked.clear();
    stopAt = SelectAll(0);
    Host.AdvanceClock(1000);
    Host.Click(LabelPoint(record), plat::THostButton::Right);
    Host.PumpUntilIdle();
    EXPECT_EQ(asked, (std::vector<PDataNode>{record, SelectAll(0)})) << "cleared askParent stops the walk";
}

// ---- the tree's hint window ----

TEST_F(TreeHints, ACutCellsTooltipShowsInTheTreesWindowOverTheCellAndArrowKeysKeepIt)
{
    Tree->SetHintMode(hmTooltip);
    TDataTreeColumn* time = Tree->Header()->Columns()[1];
    time->SetMinWidth(10);
    time->SetWidth(60);
    const PDataNode record = Records(0)[0];
    const plat::TRect text = Tree->GetDisplayRect(record, 1, true, true, true);
    Host.MouseMove(Tree->ClientToScreen(CellPoint(record, 1)));
    Host.AdvanceClock(plat::USER_TIMER_MINIMUM);
    auto* window = dynamic_cast<TDataTreeHintWindow*>(App.HintWindow());
    ASSERT_NE(window, nullptr) << "the tree's own hint window shows";
    EXPECT_EQ(window->HintData().Node, record);
    EXPECT_EQ(window->HintData().Column, 1);
    EXPECT_EQ(window->HintData().LineBreakStyle, hlbForceSingleLine);
    const plat::TPoint topLeft = Tree->ClientToScreen(plat::Point(text.Left, text.Top));
    const plat::TRect bounds = Host.HostWindowBounds(window->Handle());
    EXPECT_EQ(bounds.Left, topLeft.X - 1) << "one pixel left of the text";
    EXPECT_EQ(bounds.Top, topLeft.Y - 1);
    EXPECT_EQ(bounds.Height(), text.Height() + 2);
    EXPECT_GT(bounds.Width(), time->Width()) << "wide enough for the whole text";
    if (const char* folder = std::getenv("QEL_TREE_SCREENSHOTS")) {
        Host.SaveScreenshot(Form->Handle(), std::string(folder) + "/tree_hint_form.png");
        Host.SaveScreenshot(window->Handle(), std::string(folder) + "/tree_hint.png");
    }

    for (const plat::TVirtualKey arrow : {plat::VK_LEFT, plat::VK_UP, plat::VK_RIGHT, plat::VK_DOWN}) {
        Host.Key(arrow);
        Host.PumpUntilIdle();
        EXPECT_NE(App.HintWindow(), nullptr) << "arrow " << arrow << " keeps the hint";
    }
    Host.Key(plat::VK_HOME);
    Host.PumpUntilIdle();
    EXPECT_EQ(App.HintWindow(), nullptr) << "another key closes it";
}

TEST_F(TreeHints, HintRectanglesOfTheTreesWindow)
{
    TDataTreeHintWindow window(nullptr);
    EXPECT_TRUE(window.CalcHintRect(300, "text", nullptr).IsEmpty()) << "no data";
    const PDataNode record = Records(0)[0];
    TDTHintData data;
    data.Tree = Tree;
    data.Node = record;
    data.Column = 0;
    data.HintRect = plat::Rect(3, 4, 50, 60);
    EXPECT_EQ(window.CalcHintRect(300, "text", &data), data.HintRect) << "a rectangle given is taken";
    data.HintRect = plat::TRect{};
    data.HintText = "";
    EXPECT_TRUE(window.CalcHintRect(300, "", &data).IsEmpty()) << "no text";

    // A plain hint: the wrapped text with the tree's margins.
    Tree->SetHintMode(hmHint);
    data.HintText = "A hint for the record";
    const plat::TRect hint = window.CalcHintRect(300, data.HintText, &data);
    plat::TCanvas* canvas = window.Canvas();
    canvas->Font()->Assign(window.Font());
    const int width = canvas->TextWidth(data.HintText);
    EXPECT_EQ(hint, plat::Rect(0, 0, width + Tree->TextMargin() + Tree->Margin() + 4, window.TextHeight() + 2));

    // Tooltips with a carriage return are laid out on several lines, and
    // need no window when they fit the cell.
    Tree->SetHintMode(hmTooltip);
    struct Case {
        const char* text;
        bool multilineNode;
        bool empty;
    };
    for (const Case& c : {Case{"ab", true, true}, Case{"a\rb\rc", false, false}}) {
        Tree->SetMultiline(record, c.multilineNode);
        data.HintText = c.text;
        const plat::TRect r = window.CalcHintRect(300, c.text, &data);
        EXPECT_EQ(window.HintData().LineBreakStyle, hlbForceMultiLine) << c.text;
        EXPECT_EQ(r.IsEmpty(), c.empty) << c.text;
        if (!c.empty) {
            EXPECT_EQ(r.Left, -1) << c.text;
            EXPECT_EQ(r.Top, -1) << c.text;
            EXPECT_GE(r.Height(), 3 * window.TextHeight()) << "three lines";
        }
    }
}

TEST_F(TreeHints, PastingIntoAReadOnlyTreeTakesNothing)
{
    const PDataNode record = Records(0)[0];
    Tree->SetSelected(record, true);
    Tree->CutToClipboard();
    ASSERT_TRUE(Tree->TreeStates().Contains(tsCutPending));
    const std::uint32_t before = Tree->TotalCount();
    Tree->TreeOptions()->SetMiscOptions(Tree->TreeOptions()->MiscOptions() + TDTMiscOptions{toReadOnly});
    EXPECT_FALSE(Tree->PasteFromClipboard());
    EXPECT_EQ(Tree->TotalCount(), before);
    EXPECT_TRUE(Tree->TreeStates().Contains(tsCutPending)) << "the cut waits on";
    Tree->TreeOptions()->SetMiscOptions(Tree->TreeOptions()->MiscOptions() - TDTMiscOptions{toReadOnly});
    Tree->CancelCutOrCopy();
    plat::OleSetClipboard(nullptr);
}

// The colour at a point of a top-level window's picture.
plat::COLORREF PixelOf(plat::THeadlessHost& host, plat::HWND window, int x, int y)
{
    auto capture = host.Capture(window);
    const std::uint8_t* p = capture->ScanLine(y) + 4 * x;
    return plat::RGB(p[2], p[1], p[0]);
}

TEST_F(TreeHints, AnOwnerDrawnHintTakesTheSizeTheTreeGivesAndOnlyTheEventPaintsIt)
{
    Tree->SetHintMode(hmHint);
    const PDataNode record = Records(0)[0];
    Tree->OnGetHint = +[](plat::TObject*, PDataNode, TColumnIndex, TDTTooltipLineBreakStyle&, std::string& text) {
        text = "drawn by the page";
    };
    Tree->OnGetHintKind = +[](plat::TObject*, PDataNode, TColumnIndex, TDTHintKind& kind) { kind = vhkOwnerDraw; };
    plat::TRect size;
    Tree->OnGetHintSize = [&size](plat::TObject*, PDataNode, TColumnIndex, plat::TRect& r) { r = size; };
    struct Drawn {
        plat::TCanvas* canvas;
        PDataNode node;
        plat::TRect r;
        TColumnIndex column;
    };
    std::vector<Drawn> drawn;
    Tree->OnDrawHint = [&drawn](plat::TObject*, plat::TCanvas* canvas, PDataNode node, const plat::TRect& r,
                                TColumnIndex column) {
        drawn.push_back({canvas, node, r, column});
        canvas->Brush()->SetColor(plat::clLime);
        canvas->FillRect(r);
    };

    plat::THintInfo info;
    EXPECT_FALSE(AskHint(CellPoint(record, 1), info)) << "no size, no owner-drawn hint";
    EXPECT_TRUE(Tree->LastHintRect().IsEmpty());

    size = plat::Rect(0, 0, 120, 40);
    Host.MouseMove(Tree->ClientToScreen(CellPoint(record, 1)));
    Host.AdvanceClock(App.HintPause());
    Host.PumpUntilIdle();
    auto* window = dynamic_cast<TDataTreeHintWindow*>(App.HintWindow());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->HintData().HintRect, size) << "the tree's size travels in the hint data";
    const plat::TRect bounds = Host.HostWindowBounds(window->Handle());
    EXPECT_EQ(bounds.Width(), 120);
    EXPECT_EQ(bounds.Height(), 40);
    ASSERT_FALSE(drawn.empty()) << "OnDrawHint paints the window";
    EXPECT_EQ(drawn.back().canvas, window->Canvas());
    EXPECT_EQ(drawn.back().node, record);
    EXPECT_EQ(drawn.back().column, 1);
    EXPECT_EQ(drawn.back().r, plat::Rect(0, 0, 120, 40));
    const plat::COLORREF lime = plat::ToColorRef(plat::clLime);
    EXPECT_EQ(PixelOf(Host, window->Handle(), 0, 0), lime) << "no frame drawn over the event's picture";
    EXPECT_EQ(PixelOf(Host, window->Handle(), 8, 20), lime) << "no text drawn over it";
    if (const char* folder = std::getenv("QEL_TREE_SCREENSHOTS")) {
        Host.SaveScreenshot(window->Handle(), std::string(folder) + "/tree_owner_drawn_hint.png");
    }
}

TEST_F(TreeHints, TheLineBreakStyleOnGetHintAnswersReachesTheHintWindow)
{
    std::vector<TDTTooltipLineBreakStyle> seen;
    TDTTooltipLineBreakStyle answer = hlbForceMultiLine;
    Tree->OnGetHint = [&](plat::TObject*, PDataNode, TColumnIndex, TDTTooltipLineBreakStyle& style,
                          std::string& text) {
        seen.push_back(style);
        style = answer;
        if (text.empty()) {
            text = "17.05.2024 08:30:00";
        }
    };
    // A tooltip the event forces onto several lines wraps inside its
    // narrow cell, where it would otherwise be one line.
    Tree->SetHintMode(hmTooltip);
    TDataTreeColumn* time = Tree->Header()->Columns()[1];
    time->SetMinWidth(10);
    time->SetWidth(60);
    const PDataNode record = Records(0)[0];
    Host.MouseMove(Tree->ClientToScreen(CellPoint(record, 1)));
    Host.AdvanceClock(plat::USER_TIMER_MINIMUM);
    auto* window = dynamic_cast<TDataTreeHintWindow*>(App.HintWindow());
    ASSERT_NE(window, nullptr);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), hlbDefault) << "the event starts from the default";
    EXPECT_EQ(window->HintData().LineBreakStyle, hlbForceMultiLine);
    EXPECT_GE(Host.HostWindowBounds(window->Handle()).Height(), 2 * window->TextHeight()) << "two lines or more";
    Host.Key(plat::VK_HOME);
    Host.PumpUntilIdle();

    // A plain hint keeps the style in the tree's hint data too.
    Tree->SetHintMode(hmHint);
    answer = hlbForceSingleLine;
    plat::THintInfo info;
    ASSERT_TRUE(AskHint(CellPoint(Records(0)[1], 0), info));
    EXPECT_EQ(Tree->HintData().LineBreakStyle, hlbForceSingleLine);
}

// A tree whose clipboard cannot be opened.
class TNoClipboardTree : public TTestTree {
public:
    using TTestTree::TTestTree;
    plat::HRESULT ReadClipboard(std::shared_ptr<plat::IDataObject>&) override { return plat::CLIPBRD_E_CANT_OPEN; }
};

TEST_F(TreeHints, PastingRaisesWhenTheClipboardCannotBeRead)
{
    TNoClipboardTree tree(nullptr);
    try {
        tree.PasteFromClipboard();
        ADD_FAILURE() << "no error raised";
    } catch (const EDataTreeError& e) {
        EXPECT_STREQ(e.what(), "Clipboard operation failed.");
        EXPECT_EQ(e.HelpContext(), 2007);
    }
}

TEST_F(TreeHints, APasteIntoTheCuttingTreeMovesTheNodesAndEndsTheCut)
{
    const PDataNode record = Records(0)[0];
    const PDataNode target = Loggers.back();
    Tree->ClipboardFormats()->Add("Data Tree Data");
    Tree->SetSelected(record, true);
    Tree->CutToClipboard();
    ASSERT_TRUE(Tree->TreeStates().Contains(tsCutPending));
    const std::uint32_t before = Tree->TotalCount();
    Tree->SetFocusedNode(target);
    EXPECT_TRUE(Tree->PasteFromClipboard());
    EXPECT_EQ(record->fParent, target) << "moved";
    EXPECT_EQ(Tree->TotalCount(), before) << "and neither copied nor deleted";
    EXPECT_FALSE(Tree->TreeStates().Contains(tsCutPending)) << "nothing is left to cut";
    plat::OleSetClipboard(nullptr);
}

} // namespace
} // namespace qel::tree_test
