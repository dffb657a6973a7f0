// Node drags between two trees of the process through the platform's drag
// loop, by injected mouse and key input on the manual clock: drop modes,
// suggested and allowed effects, refusal without OnDragOver, moves that
// answer "none" to their source, expansion of the node under the mouse,
// scrolling at the edges after AutoScrollDelay, cancelling by Escape or
// both buttons, the drop source's answers, and the drag picture.
#include "tests/widgets/tree/tree_fixture.h"

#include "platform/canvas/pixel_surface.h"
#include "platform/controls/drag_drop.h"
#include "platform/controls/window_manager.h"
#include "platform/streams.h"
#include "widgets/tree/data_tree_column.h"
#include "widgets/tree/data_tree_columns.h"
#include "widgets/tree/dt_header.h"
#include "widgets/tree/dt_data_object.h"

#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qel::tree_test {
namespace {

using plat::DROPEFFECT_COPY;
using plat::DROPEFFECT_LINK;
using plat::DROPEFFECT_MOVE;
using plat::DROPEFFECT_NONE;
using plat::DROPEFFECT_SCROLL;

class TDragTree : public TTestTree {
public:
    using TTestTree::TTestTree;
    using TBaseDataTree::DetermineScrollDirections;
    using TBaseDataTree::DoStateChange;
    using TBaseDataTree::SuggestDropEffect;
};

// One OnDragOver call as the application saw it.
struct TOverCall {
    TDragState State;
    TDropMode Mode;
    plat::DWORD Effect;  // the suggestion it was given
    plat::TShiftState Shift;
};

class TreeDragDrop : public ::testing::Test {
protected:
    TreeDragDrop()
    {
        Form = App.CreateForm<plat::TForm>();
        Form->SetBounds(50, 50, 420, 300);
        Source = NewTree(0);
        Target = NewTree(210);
        Form->Show();
        Host.PumpUntilIdle();
    }

    void TearDown() override
    {
        for (TDragTree* tree : {Source, Target}) {
            DropHandlers(*tree);
            tree->OnDragAllowed = nullptr;
            tree->OnDragOver = nullptr;
            tree->OnDragDrop = nullptr;
            tree->OnSaveNode = nullptr;
            tree->OnLoadNode = nullptr;
        }
    }

    TDragTree* NewTree(int left)
    {
        auto* tree = new TDragTree(Form);
        tree->SetParent(Form);
        tree->SetBounds(left, 0, 200, 260);
        tree->TreeOptions()->SetAutoOptions(tree->TreeOptions()->AutoOptions() - TDTAutoOptions{toAutoSort});
        tree->SetNodeDataSize(8);
        tree->ClipboardFormats()->Add("Data Tree Data");
        tree->NodeWidth = [](PDataNode, TColumnIndex) { return 60; };
        tree->OnSaveNode = +[](plat::TObject* sender, PDataNode node, plat::TStream& stream) {
            stream.WriteBuffer(static_cast<TBaseDataTree*>(sender)->GetNodeData(node), 8);
        };
        tree->OnLoadNode = +[](plat::TObject* sender, PDataNode node, plat::TStream& stream) {
            stream.ReadBuffer(static_cast<TBaseDataTree*>(sender)->GetNodeData(node), 8);
        };
        tree->OnDragAllowed = +[](plat::TObject*, PDataNode, TColumnIndex, bool& allowed) { allowed = true; };
        return tree;
    }

    static PDataNode Add(TDragTree* tree, PDataNode parent, std::int64_t key)
    {
        const PDataNode node = tree->AddChild(parent);
        *static_cast<std::int64_t*>(tree->GetNodeData(node)) = key;
        return node;
    }

    static std::vector<std::int64_t> Keys(TDragTree* tree, PDataNode parent = nullptr)
    {
        std::vector<std::int64_t> keys;
        for (PDataNode node : Children(*tree, parent)) {
            keys.push_back(*static_cast<std::int64_t*>(tree->GetNodeData(node)));
        }
        return keys;
    }

    // Screen points of a node's row: on its label, and right of the label
    // in the row's upper and lower half.
    static plat::TPoint OnLabel(TDragTree* tree, PDataNode node)
    {
        const plat::TRect text = tree->GetDisplayRect(node, NoColumn, true);
        return tree->ClientToScreen(plat::Point(text.Left + 5, (text.Top + text.Bottom) / 2));
    }
    static plat::TPoint UpperHalf(TDragTree* tree, PDataNode node)
    {
        const plat::TRect row = tree->GetDisplayRect(node, NoColumn, false);
        return tree->ClientToScreen(plat::Point(row.Right - 10, row.Top + 2));
    }
    static plat::TPoint LowerHalf(TDragTree* tree, PDataNode node)
    {
        const plat::TRect row = tree->GetDisplayRect(node, NoColumn, false);
        return tree->ClientToScreen(plat::Point(row.Right - 10, row.Bottom - 3));
    }

    // The target accepts what it is offered (its suggestion) and records
    // the calls; a drop inserts by the drop mode through ProcessDrop, or
    // answers Answer when set.
    void AcceptDrops(TDragTree* tree)
    {
        tree->OnDragOver = [this](plat::TObject*, plat::TObject*, plat::TShiftState shift, TDragState state,
                                  plat::TPoint, TDropMode mode, plat::DWORD& effect, bool& accept) {
            Overs.push_back({state, mode, effect, shift});
            accept = true;
        };
        tree->OnDragDrop = [this, tree](plat::TObject*, plat::TObject* source,
                                        const std::shared_ptr<plat::IDataObject>& data, const TFormatArray& formats,
                                        plat::TShiftState, plat::TPoint, plat::DWORD& effect, TDropMode mode) {
            DropSource = source;
            DropMode = mode;
            DropEffect = effect;
            DropFormats = formats;
            if (Answer) {
                effect = *Answer;
                return;
            }
            const TDTNodeAttachMode attach = mode == dmAbove    ? amInsertBefore
                                             : mode == dmBelow  ? amInsertAfter
                                             : mode == dmOnNode ? amAddChildLast
                                                                : amNoWhere;
            Processed = tree->ProcessDrop(data, tree->DropTargetNode(), effect, attach);
        };
    }

    // Presses the left button on start, moves past the drag threshold, and
    // runs steps while the drag loop waits for input (the last one ends it).
    void Drag(plat::TPoint start, const std::vector<std::function<void()>>& steps)
    {
        // Long enough after the last press not to make a double click.
        Host.AdvanceClock(1000);
        Host.MouseDown(start);
        Host.PumpUntilIdle();
        for (const auto& step : steps) {
            Host.Script(step);
        }
        Host.MouseMove(plat::Point(start.X + 10, start.Y));
        Host.PumpUntilIdle();
        EXPECT_EQ(Host.ScriptLeft(), 0u) << "the drag ended before its steps";
    }

    std::function<void()> MoveTo(plat::TPoint p)
    {
        return [this, p] { Host.MouseMove(p); };
    }
    std::function<void()> Release(plat::TPoint p)
    {
        return [this, p] { Host.MouseUp(p); };
    }

    plat::THeadlessHost Host{plat::THeadlessOptions{plat::Rect(0, 0, 640, 480)}};
    plat::TApplication App{Host};
    plat::TForm* Form = nullptr;
    TDragTree* Source = nullptr;
    TDragTree* Target = nullptr;

    std::vector<TOverCall> Overs;
    plat::TObject* DropSource = nullptr;
    TDropMode DropMode = dmNowhere;
    plat::DWORD DropEffect = 0xDEAD;
    TFormatArray DropFormats;
    std::optional<plat::DWORD> Answer;
    bool Processed = false;
};

TEST(TreeDragManager, QueryContinueDragCancelsOnEscapeOrBothButtonsAndDropsOnRelease)
{
    TDTDragManager manager(nullptr);
    struct TCase {
        bool escape;
        plat::DWORD keys;
        plat::HRESULT answer;
    };
    const TCase cases[] = {
        {false, plat::MK_LBUTTON, plat::S_OK},
        {false, plat::MK_RBUTTON, plat::S_OK},
        {false, plat::MK_LBUTTON | plat::MK_CONTROL, plat::S_OK},
        {false, 0, plat::DRAGDROP_S_DROP},
        {false, plat::MK_SHIFT, plat::DRAGDROP_S_DROP},
        {false, plat::MK_MBUTTON, plat::DRAGDROP_S_DROP},  // only the left and right buttons hold a drag
        {true, plat::MK_LBUTTON, plat::DRAGDROP_S_CANCEL},
        {true, 0, plat::DRAGDROP_S_CANCEL},
        {false, plat::MK_LBUTTON | plat::MK_RBUTTON, plat::DRAGDROP_S_CANCEL},
    };
    for (const TCase& each : cases) {
        EXPECT_EQ(manager.QueryContinueDrag(each.escape, each.keys), each.answer)
            << "escape " << each.escape << " keys " << each.keys;
    }
    EXPECT_EQ(manager.GiveFeedback(DROPEFFECT_MOVE), plat::DRAGDROP_S_USEDEFAULTCURSORS);
    // Without a tree the manager refuses and has nothing to give.
    plat::DWORD effect = DROPEFFECT_COPY;
    EXPECT_EQ(manager.DragOver(0, plat::Point(0, 0), effect), plat::E_UNEXPECTED);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    EXPECT_EQ(manager.GetDataObject(), nullptr);
}

TEST(TreeDragManager, AllowedEffectsFollowTheDragOperations)
{
    struct TCase {
        TDragOperations operations;
        plat::DWORD effects;
    };
    const TCase cases[] = {
        {{doCopy, doMove}, DROPEFFECT_COPY | DROPEFFECT_MOVE},
        {{doCopy}, DROPEFFECT_COPY},
        {{doMove}, DROPEFFECT_MOVE},
        {{doLink}, DROPEFFECT_LINK},
        {{doCopy, doMove, doLink}, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK},
        {{}, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK},  // none named: all three
    };
    for (const TCase& each : cases) {
        EXPECT_EQ(AllowedDropEffects(each.operations), each.effects);
    }
}

TEST_F(TreeDragDrop, SuggestedEffectsFollowTheSourceAndTheModifierKeys)
{
    const plat::DWORD all = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    const plat::DWORD copyMove = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    struct TCase {
        bool fromItself;
        plat::TShiftState shift;
        plat::DWORD allowed;
        plat::DWORD suggested;
    };
    const TCase cases[] = {
        {true, {}, copyMove, DROPEFFECT_MOVE},                             // own nodes move
        {false, {}, copyMove, DROPEFFECT_COPY},                            // others' are copied
        {true, {plat::ssCtrl}, copyMove, DROPEFFECT_COPY},
        {true, {plat::ssCtrl, plat::ssShift}, all, DROPEFFECT_LINK},
        {true, {plat::ssCtrl, plat::ssShift}, copyMove, DROPEFFECT_MOVE},  // link not allowed: the base
        {false, {plat::ssShift}, copyMove, DROPEFFECT_MOVE},
        {false, {plat::ssAlt}, all, DROPEFFECT_LINK},
        {false, {plat::ssAlt, plat::ssCtrl}, all, DROPEFFECT_COPY},
        {true, {}, DROPEFFECT_COPY, DROPEFFECT_COPY},                      // move not allowed
        {false, {}, DROPEFFECT_MOVE | DROPEFFECT_LINK, DROPEFFECT_MOVE | DROPEFFECT_LINK},
    };
    for (const TCase& each : cases) {
        EXPECT_EQ(Target->SuggestDropEffect(each.fromItself ? Target : Source, each.shift, plat::Point(0, 0),
                                            each.allowed),
                  each.suggested);
    }
}

TEST_F(TreeDragDrop, WithoutOnDragOverEveryDropIsRefused)
{
    const PDataNode a = Add(Source, nullptr, 1);
    Add(Source, nullptr, 2);
    const PDataNode c = Add(Target, nullptr, 3);
    bool dropped = false;
    const TDTDragDropEvent onDrop = [&](plat::TObject*, plat::TObject*, const std::shared_ptr<plat::IDataObject>&,
                                        const TFormatArray&, plat::TShiftState, plat::TPoint, plat::DWORD&,
                                        TDropMode) { dropped = true; };
    Source->OnDragDrop = onDrop;
    Target->OnDragDrop = onDrop;
    // Onto the other tree, and onto the source's own second node.
    Drag(OnLabel(Source, a), {MoveTo(OnLabel(Target, c)), MoveTo(OnLabel(Target, c)), Release(OnLabel(Target, c))});
    EXPECT_FALSE(dropped);
    EXPECT_EQ(Source->LastDragEffect(), 0);
    const PDataNode b = Children(*Source)[1];
    Drag(OnLabel(Source, a), {MoveTo(OnLabel(Source, b)), Release(OnLabel(Source, b))});
    EXPECT_FALSE(dropped);
    EXPECT_EQ(Source->LastDragEffect(), 0);
    EXPECT_EQ(Keys(Source), (std::vector<std::int64_t>{1, 2}));
    EXPECT_EQ(Keys(Target), (std::vector<std::int64_t>{3}));
    EXPECT_FALSE(Source->TreeStates().Contains(tsOLEDragging));
    EXPECT_FALSE(Source->TreeStates().Contains(tsLeftButtonDown)) << "the drag's end reached the mouse logic";
}

TEST_F(TreeDragDrop, DropModesFollowTheRowHalvesTheLabelAndTheDropMark)
{
    const PDataNode a = Add(Source, nullptr, 1);
    const PDataNode t = Add(Target, nullptr, 10);
    Add(Target, nullptr, 11);
    AcceptDrops(Target);
    Answer = DROPEFFECT_NONE;
    struct TCase {
        bool dropMark;
        std::vector<TDropMode> modes;  // on the label, upper half, lower half, outside every row
    };
    const TCase cases[] = {
        {true, {dmOnNode, dmAbove, dmBelow, dmNowhere}},
        {false, {dmOnNode, dmOnNode, dmOnNode, dmNowhere}},
    };
    const plat::TPoint below = Target->ClientToScreen(plat::Point(50, 200));
    for (const TCase& each : cases) {
        TDTPaintOptions paint = Target->TreeOptions()->PaintOptions();
        if (each.dropMark) {
            paint.Include(toShowDropmark);
        } else {
            paint.Exclude(toShowDropmark);
        }
        Target->TreeOptions()->SetPaintOptions(paint);
        std::vector<TDropMode> modes;
        const auto record = [&] { modes.push_back(Target->LastDropMode()); };
        Drag(OnLabel(Source, a),
             {MoveTo(OnLabel(Target, t)), MoveTo(OnLabel(Target, t)), record, MoveTo(UpperHalf(Target, t)), record,
              MoveTo(LowerHalf(Target, t)), record, MoveTo(below), record, MoveTo(LowerHalf(Target, t)),
              Release(LowerHalf(Target, t))});
        EXPECT_EQ(modes, each.modes) << "drop mark " << each.dropMark;
        EXPECT_EQ(DropMode, each.modes[2]) << "the drop gets the mode of its point";
        EXPECT_EQ(Overs.back().Mode, each.modes[2]);
        EXPECT_EQ(Target->DropTargetNode(), nullptr) << "cleared after the drop";
    }
}

TEST_F(TreeDragDrop, AtDragEnterFullRowDragMakesTheWholeRowOnNode)
{
    const PDataNode a = Add(Source, nullptr, 1);
    const PDataNode t = Add(Target, nullptr, 10);
    AcceptDrops(Target);
    for (const bool fullRow : {false, true}) {
        TDTMiscOptions misc = Target->TreeOptions()->MiscOptions();
        if (fullRow) {
            misc.Include(toFullRowDrag);
        } else {
            misc.Exclude(toFullRowDrag);
        }
        Target->TreeOptions()->SetMiscOptions(misc);
        TDropMode entered = dmNowhere;
        Drag(OnLabel(Source, a), {MoveTo(UpperHalf(Target, t)), [&] { entered = Target->LastDropMode(); },
                                  [this] { Host.Key(plat::VK_ESCAPE); }});
        EXPECT_EQ(entered, fullRow ? dmOnNode : dmAbove);
        EXPECT_EQ(Overs.front().State, dsDragEnter);
        Overs.clear();
        Host.MouseUp(UpperHalf(Target, t));
        Host.PumpUntilIdle();
    }
}

TEST_F(TreeDragDrop, CtrlCopiesAndCtrlShiftLinksWhereTheSourceAllowsIt)
{
    const PDataNode a = Add(Source, nullptr, 1);
    const PDataNode b = Add(Source, nullptr, 2);
    AcceptDrops(Source);
    Answer = DROPEFFECT_NONE;
    struct TCase {
        TDragOperations operations;
        std::uint8_t modifiers;
        plat::DWORD suggested;
    };
    const TCase cases[] = {
        {{doCopy, doMove}, 0, DROPEFFECT_MOVE},
        {{doCopy, doMove}, plat::ModControl, DROPEFFECT_COPY},
        {{doCopy, doMove, doLink}, plat::ModControl | plat::ModShift, DROPEFFECT_LINK},
        {{doCopy, doMove}, plat::ModControl | plat::ModShift, DROPEFFECT_MOVE},
        {{doCopy}, 0, DROPEFFECT_COPY},
    };
    for (const TCase& each : cases) {
        Source->SetDragOperations(each.operations);
        Overs.clear();
        DropEffect = 0xDEAD;
        const auto press = [this, modifiers = each.modifiers] {
            if (modifiers & plat::ModControl) {
                Host.KeyDown(plat::VK_CONTROL);
            }
            if (modifiers & plat::ModShift) {
                Host.KeyDown(plat::VK_SHIFT);
            }
        };
        const auto lift = [this, modifiers = each.modifiers] {
            if (modifiers & plat::ModControl) {
                Host.KeyUp(plat::VK_CONTROL);
            }
            if (modifiers & plat::ModShift) {
                Host.KeyUp(plat::VK_SHIFT);
            }
        };
        Drag(OnLabel(Source, a),
             {MoveTo(OnLabel(Source, b)), press, MoveTo(LowerHalf(Source, b)), Release(LowerHalf(Source, b))});
        lift();
        Host.PumpUntilIdle();
        ASSERT_FALSE(Overs.empty());
        EXPECT_EQ(Overs.back().Effect, each.suggested) << int{each.modifiers};
        EXPECT_EQ(DropEffect, each.suggested) << "the drop is offered the same effect";
        EXPECT_EQ(DropSource, Source) << "the source of an own drag is the tree";
    }
    EXPECT_EQ(Keys(Source), (std::vector<std::int64_t>{1, 2}));
}

TEST_F(TreeDragDrop, AMoveBetweenTreesAnswersNoneSoTheSourceDeletesNothing)
{
    const PDataNode a = Add(Source, nullptr, 1);
    Add(Source, nullptr, 2);
    const PDataNode t = Add(Target, nullptr, 10);
    ASSERT_TRUE(Source->TreeOptions()->AutoOptions().Contains(toAutoDeleteMovedNodes));
    AcceptDrops(Target);

    // Shift makes the copy a move: the target moves the node itself.
    Drag(OnLabel(Source, a), {MoveTo(OnLabel(Target, t)), [this] { Host.KeyDown(plat::VK_SHIFT); },
                              MoveTo(LowerHalf(Target, t)), Release(LowerHalf(Target, t))});
    Host.KeyUp(plat::VK_SHIFT);
    Host.PumpUntilIdle();
    EXPECT_TRUE(Processed);
    EXPECT_EQ(DropEffect, DROPEFFECT_MOVE);
    EXPECT_EQ(DropSource, Source);
    ASSERT_FALSE(DropFormats.empty());
    EXPECT_EQ(DropFormats.front(), TreeClipboardFormats().DTData) << "the tree's formats are offered";
    EXPECT_EQ(Source->LastDragEffect(), static_cast<int>(DROPEFFECT_NONE));
    EXPECT_EQ(Keys(Source), (std::vector<std::int64_t>{2})) << "moved once, not deleted again";
    EXPECT_EQ(Keys(Target), (std::vector<std::int64_t>{10, 1}));
    EXPECT_EQ(CheckInvariants(*Source), "");
    EXPECT_EQ(CheckInvariants(*Target), "");

    // A copy leaves the source node where it was.
    const PDataNode b = Children(*Source)[0];
    Drag(OnLabel(Source, b), {MoveTo(OnLabel(Target, t)), MoveTo(OnLabel(Target, t)), Release(OnLabel(Target, t))});
    EXPECT_EQ(Source->LastDragEffect(), static_cast<int>(DROPEFFECT_COPY));
    EXPECT_EQ(Keys(Source), (std::vector<std::int64_t>{2}));
    EXPECT_EQ(Keys(Target, Children(*Target)[0]), (std::vector<std::int64_t>{2}));

    // A handler that answers a move without moving: the source deletes
    // the dragged nodes itself.
    Answer = DROPEFFECT_MOVE;
    Drag(OnLabel(Source, b), {MoveTo(OnLabel(Target, t)), [this] { Host.KeyDown(plat::VK_SHIFT); },
                              MoveTo(OnLabel(Target, t)), Release(OnLabel(Target, t))});
    Host.KeyUp(plat::VK_SHIFT);
    Host.PumpUntilIdle();
    EXPECT_EQ(Source->LastDragEffect(), static_cast<int>(DROPEFFECT_MOVE));
    EXPECT_TRUE(Keys(Source).empty());
}

TEST_F(TreeDragDrop, OnlyATreeWithAcceptOLEDropIsADropTarget)
{
    const auto& targets = plat::TWindowManager::Current().DragDrop().Targets;
    ASSERT_TRUE(Target->TreeOptions()->MiscOptions().Contains(toAcceptOLEDrop));
    EXPECT_EQ(targets.count(Target->Handle()), 1u) << "registered with its window";
    Target->TreeOptions()->SetMiscOptions(Target->TreeOptions()->MiscOptions() - TDTMiscOptions{toAcceptOLEDrop});
    EXPECT_EQ(targets.count(Target->Handle()), 0u);

    const PDataNode a = Add(Source, nullptr, 1);
    const PDataNode t = Add(Target, nullptr, 10);
    AcceptDrops(Target);
    Drag(OnLabel(Source, a), {MoveTo(OnLabel(Target, t)), MoveTo(OnLabel(Target, t)), Release(OnLabel(Target, t))});
    EXPECT_TRUE(Overs.empty()) << "nothing reaches a tree that takes no drops";
    EXPECT_EQ(Source->LastDragEffect(), 0);

    Target->TreeOptions()->SetMiscOptions(Target->TreeOptions()->MiscOptions() + TDTMiscOptions{toAcceptOLEDrop});
    EXPECT_EQ(targets.count(Target->Handle()), 1u);
    Target->RecreateWnd();
    Host.PumpUntilIdle();
    EXPECT_EQ(targets.count(Target->Handle()), 1u) << "the new window is registered again";
}

TEST_F(TreeDragDrop, ProcessDropWithoutAPlaceOrEffectDoesNothing)
{
    const PDataNode a = Add(Source, nullptr, 1);
    Source->SetSelected(a, true);
    const auto data = std::make_shared<TDTDataObject>(Source, false);
    plat::DWORD effect = DROPEFFECT_COPY;
    EXPECT_FALSE(Target->ProcessDrop(data, nullptr, effect, amNoWhere));
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    effect = DROPEFFECT_LINK;
    EXPECT_FALSE(Target->ProcessDrop(data, nullptr, effect, amAddChildLast));
    EXPECT_TRUE(Keys(Target).empty());
    effect = DROPEFFECT_COPY;
    EXPECT_TRUE(Target->ProcessDrop(data, nullptr, effect, amAddChildLast));
    EXPECT_EQ(effect, DROPEFFECT_COPY);
    EXPECT_EQ(Keys(Target), (std::vector<std::int64_t>{1}));
    EXPECT_FALSE(Target->ProcessDrop(nullptr, nullptr, effect, amAddChildLast)) << "no data";
}

TEST_F(TreeDragDrop, EscapeOrBothButtonsCancelAndReleasingDrops)
{
    const PDataNode a = Add(Source, nullptr, 1);
    const PDataNode t = Add(Target, nullptr, 10);
    AcceptDrops(Target);
    struct TCase {
        const char* name;
        std::function<void()> end;
        bool drops;
    };
    const TCase cases[] = {
        {"escape", [this] { Host.Key(plat::VK_ESCAPE); }, false},
        {"both buttons", [this, &t] { Host.MouseDown(OnLabel(Target, t), plat::THostButton::Right); }, false},
        {"release", [this, &t] { Host.MouseUp(OnLabel(Target, t)); }, true},
    };
    for (const TCase& each : cases) {
        Overs.clear();
        Processed = false;
        Drag(OnLabel(Source, a), {MoveTo(OnLabel(Target, t)), MoveTo(OnLabel(Target, t)), each.end});
        EXPECT_EQ(Processed, each.drops) << each.name;
        ASSERT_FALSE(Overs.empty());
        EXPECT_EQ(Overs.back().State == dsDragLeave, !each.drops) << each.name << ": the target hears of the leave";
        EXPECT_EQ(Source->LastDragEffect(), each.drops ? static_cast<int>(DROPEFFECT_COPY) : 0) << each.name;
        EXPECT_FALSE(Source->Dragging());
        EXPECT_EQ(Target->DropTargetNode(), nullptr);
        Host.MouseUp(OnLabel(Target, t), plat::THostButton::Right);
        Host.MouseUp(OnLabel(Target, t));
        Host.PumpUntilIdle();
    }
    EXPECT_EQ(Keys(Source), (std::vector<std::int64_t>{1}));
    EXPECT_EQ(Keys(Target, Children(*Target)[0]), (std::vector<std::int64_t>{1}));
}

TEST_F(TreeDragDrop, HoveringOverACollapsedParentExpandsItAfterAutoExpandDelay)
{
    const PDataNode a = Add(Source, nullptr, 1);
    const PDataNode parent = Add(Target, nullptr, 10);
    Add(Target, parent, 11);
    const PDataNode other = Add(Target, nullptr, 20);
    ASSERT_TRUE(Target->TreeOptions()->AutoOptions().Contains(toAutoDropExpand));
    ASSERT_EQ(Target->AutoExpandDelay(), 1000u);
    AcceptDrops(Target);
    std::vector<bool> expanded;
    const auto look = [&] { expanded.push_back(parent->States.Contains(vsExpanded)); };
    Drag(OnLabel(Source, a),
         {MoveTo(OnLabel(Target, parent)), MoveTo(OnLabel(Target, parent)), [this] { Host.AdvanceClock(999); }, look,
          MoveTo(OnLabel(Target, other)), MoveTo(OnLabel(Target, parent)), [this] { Host.AdvanceClock(999); }, look,
          [this] { Host.AdvanceClock(1); }, look, [this] { Host.Key(plat::VK_ESCAPE); }});
    EXPECT_EQ(expanded, (std::vector<bool>{false, false, true})) << "moving to another node restarts the wait";
    Host.MouseUp(OnLabel(Target, parent));
    Host.PumpUntilIdle();

    // Without the option nothing opens.
    Target->FullCollapse();
    Target->TreeOptions()->SetAutoOptions(Target->TreeOptions()->AutoOptions() - TDTAutoOptions{toAutoDropExpand});
    expanded.clear();
    Drag(OnLabel(Source, a), {MoveTo(OnLabel(Target, parent)), MoveTo(OnLabel(Target, parent)),
                              [this] { Host.AdvanceClock(5000); }, look, [this] { Host.Key(plat::VK_ESCAPE); }});
    EXPECT_EQ(expanded, std::vector<bool>{false});
}

TEST_F(TreeDragDrop, EdgeScrollingWaitsAutoScrollDelayAfterTheFirstWish)
{
    const PDataNode a = Add(Source, nullptr, 1);
    for (int i = 0; i < 60; ++i) {
        Add(Target, nullptr, 100 + i);
    }
    Target->TreeOptions()->SetAutoOptions(Target->TreeOptions()->AutoOptions() + TDTAutoOptions{toAutoScroll});
    AcceptDrops(Target);
    const plat::TPoint middle = Target->ClientToScreen(plat::Point(40, Target->ClientHeight() / 2));
    const plat::TPoint edge = Target->ClientToScreen(plat::Point(40, Target->ClientHeight() - 3));
    const plat::TPoint edge2 = plat::Point(edge.X + 1, edge.Y);
    for (const unsigned delay : {0u, 300u}) {
        Target->SetOffsetY(0);
        Target->SetAutoScrollDelay(delay);
        std::vector<int> offsets;
        const auto look = [&] { offsets.push_back(Target->OffsetY()); };
        Drag(OnLabel(Source, a), {MoveTo(middle), MoveTo(edge), look, [this, delay] { Host.AdvanceClock(std::int64_t{delay} - 1); },
                                  MoveTo(edge2), look, [this] { Host.AdvanceClock(1); }, MoveTo(edge), look,
                                  [this] { Host.Key(plat::VK_ESCAPE); }});
        ASSERT_EQ(offsets.size(), 3u);
        if (delay == 0) {
            EXPECT_LT(offsets[0], 0) << "at once without a delay";
        } else {
            EXPECT_EQ(offsets[0], 0);
            EXPECT_EQ(offsets[1], 0) << "one millisecond before the delay";
            EXPECT_LT(offsets[2], 0) << "once the delay has passed";
        }
        Overs.clear();
        Host.MouseUp(edge);
        Host.PumpUntilIdle();
    }
}

TEST_F(TreeDragDrop, EdgeScrollingMovesTowardsTheEdgeInBothReadingDirections)
{
    const PDataNode a = Add(Source, nullptr, 1);
    Add(Target, nullptr, 100);
    for (int i = 0; i < 2; ++i) {
        Target->Header()->Columns().Add()->SetWidth(300);
    }
    Target->TreeOptions()->SetAutoOptions(Target->TreeOptions()->AutoOptions() + TDTAutoOptions{toAutoScroll});
    Target->SetAutoScrollDelay(0);
    AcceptDrops(Target);
    const int y = Target->ClientHeight() / 2;
    const plat::TPoint middle = Target->ClientToScreen(plat::Point(Target->ClientWidth() / 2, y));
    for (const TBiDiMode mode : {bdLeftToRight, bdRightToLeft}) {
        Target->SetBiDiMode(mode);
        Target->SetOffsetX(mode == bdLeftToRight ? -200 : 0);
        Host.PumpUntilIdle();
        const int before = Target->EffectiveOffsetX();
        ASSERT_GT(before, 0) << "scrolled away from the left end, mode " << int{mode};
        int after = before;
        const plat::TPoint left = Target->ClientToScreen(plat::Point(3, y));
        Drag(OnLabel(Source, a), {MoveTo(middle), MoveTo(left), [&] { after = Target->EffectiveOffsetX(); },
                                  [this] { Host.Key(plat::VK_ESCAPE); }});
        EXPECT_LT(after, before) << "the left edge shows more of the left, mode " << int{mode};
        Host.MouseUp(left);
        Host.PumpUntilIdle();
    }
}

TEST_F(TreeDragDrop, ScrollingDuringAnOwnDragAsksForTheControlUnderTheScreenPoint)
{
    for (int i = 0; i < 60; ++i) {
        Add(Source, nullptr, i);
    }
    Source->TreeOptions()->SetAutoOptions(Source->TreeOptions()->AutoOptions() + TDTAutoOptions{toAutoScroll});
    Source->SetOffsetY(-100);
    Source->SetAutoScrollDelay(500);
    // The tree's client point (5, 2) lies near the top edge; as a screen
    // point it would lie outside the form, where no delay would apply.
    Source->DoStateChange({tsOLEDragging});
    EXPECT_TRUE(Source->DetermineScrollDirections(5, 2).Empty()) << "the delay starts";
    Host.AdvanceClock(499);
    EXPECT_TRUE(Source->DetermineScrollDirections(5, 2).Empty());
    Host.AdvanceClock(1);
    EXPECT_EQ(Source->DetermineScrollDirections(5, 2), TScrollDirections{sdUp});
    Source->DoStateChange({}, {tsOLEDragging});
}

TEST_F(TreeDragDrop, TheNodeDragPictureGoesToThePlatformWithItsCentreAtThePointer)
{
    Form->SetBounds(50, 50, 420, 400);
    Source->SetHeight(380);
    Host.PumpUntilIdle();
    std::vector<PDataNode> nodes;
    for (int i = 0; i < 8; ++i) {
        nodes.push_back(Add(Source, nullptr, i));
    }
    Source->SetSelected(nodes[2], true);
    const auto data = std::make_shared<TDTDataObject>(Source, false);
    plat::TDragDropState& service = plat::TWindowManager::Current().DragDrop();
    const plat::TRect row = Source->GetDisplayRect(nodes[2], NoColumn, false);
    const plat::TPoint hotSpot = plat::Point(50, (row.Top + row.Bottom) / 2);

    Source->SetDragImageKind(diNoImage);
    Source->PrepareDragImage(hotSpot, data);
    EXPECT_EQ(service.Pictures.count(data.get()), 0u) << "no picture for diNoImage";

    Source->SetDragImageKind(diComplete);
    Source->PrepareDragImage(hotSpot, data);
    ASSERT_EQ(service.Pictures.count(data.get()), 1u);
    const plat::TDragImage picture = service.Pictures[data.get()];
    service.Pictures.clear();
    ASSERT_NE(picture.Bitmap, nullptr);
    const plat::TPixelSurface& pixels = *picture.Bitmap;
    EXPECT_EQ(pixels.Width(), 200);
    EXPECT_EQ(pixels.Height(), 350);
    EXPECT_EQ(picture.Offset, plat::Point(100, 175)) << "the pointer at the centre";
    const plat::TColor background = Source->Colors()->BackGroundColor();
    EXPECT_EQ(picture.ColorKey, plat::ToColorRef(plat::ColorToRGB(background)));
    auto& rows = const_cast<plat::TPixelSurface&>(pixels);
    const auto colour = [&](int x, int y) {
        const std::uint8_t* p = rows.ScanLine(y) + 4 * x;
        return plat::RGB(p[2], p[1], p[0]);
    };
    const auto alpha = [&](int x, int y) { return rows.ScanLine(y)[4 * x + 3]; };
    // Left of the tree (the hot spot is 50 pixels from its edge): the
    // background colour, fully transparent.
    for (int y = 0; y < 350; y += 7) {
        for (int x = 0; x < 50; x += 3) {
            ASSERT_EQ(colour(x, y), plat::ToColorRef(plat::ColorToRGB(background))) << x << ", " << y;
            ASSERT_EQ(alpha(x, y), 0) << x << ", " << y;
        }
    }
    // The selected row crosses the centre and shows there, mostly opaque;
    // an unselected row is not painted.
    const plat::COLORREF centre = colour(100, 175);
    EXPECT_NE(centre, plat::ToColorRef(plat::ColorToRGB(background)));
    EXPECT_GT(alpha(100, 175), 150);
    const int otherRow = 175 + (Source->GetDisplayRect(nodes[5], NoColumn, false).Top - hotSpot.Y) + 3;
    EXPECT_EQ(alpha(100, otherRow), 0);

    // In a drag the platform shows it under the pointer.
    Add(Target, nullptr, 10);
    AcceptDrops(Target);
    Answer = DROPEFFECT_NONE;
    bool shown = false;
    std::uint32_t underPointer = 0;
    const plat::TPoint over = Target->ClientToScreen(plat::Point(100, 200));  // below the rows
    Drag(Source->ClientToScreen(hotSpot), {MoveTo(over), [&] {
                                               shown = service.Active && service.Picture.Bitmap != nullptr;
                                               auto capture = Host.Capture(Form->Handle());
                                               const std::uint8_t* p = capture->ScanLine(over.Y - 50) + 4 * (over.X - 50);
                                               underPointer = plat::RGB(p[2], p[1], p[0]);
                                               if (const char* folder = std::getenv("QEL_TREE_SCREENSHOTS")) {
                                                   Host.SaveScreenshot(Form->Handle(),
                                                                       std::string(folder) + "/node_drag.png");
                                               }
                                           },
                                           [this] { Host.Key(plat::VK_ESCAPE); }});
    EXPECT_TRUE(shown);
    EXPECT_NE(underPointer, plat::ToColorRef(plat::ColorToRGB(Target->Colors()->BackGroundColor())))
        << "the picture covers the target under the pointer";
    EXPECT_TRUE(service.Pictures.empty());
}

} // namespace
} // namespace qel::tree_test
