// Expanding and collapsing data tree nodes: the events and their vetoes,
// heights and the visible count, the scrolling animation, where the view
// goes afterwards, and expanding or collapsing whole subtrees.
#include "widgets/tree/base_data_tree.h"

#include "platform/clock.h"
#include "platform/canvas/graphic.h"
#include "platform/canvas/graphics_objects.h"
#include "platform/controls/application.h"
#include "platform/controls/window_paint.h"
#include "widgets/tree/toggle_animation.h"
#include "widgets/tree/try_finally.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

namespace qel {

namespace {

// Asks a changing event; allowed unless its handler says otherwise.
bool Allowed(TBaseDataTree* tree, const TDTChangingEvent& event, PDataNode node)
{
    bool allowed = true;
    if (event) {
        event(tree, node, allowed);
    }
    return allowed;
}

bool ApplicationTerminating()
{
    return plat::Application != nullptr && plat::Application->Terminated();
}

// Waits on the platform's clock until targetMs. A clock that moves only
// when told (the tests' manual clock) is not waited for.
void SleepUntil(std::int64_t targetMs)
{
    const std::int64_t remaining = targetMs - plat::Clock().NowMs();
    if (remaining <= 0) {
        return;
    }
    const int realMs = plat::Clock().RealWaitMs(remaining);
    if (realMs > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(realMs));
    }
}

} // namespace

bool TBaseDataTree::DoExpanding(PDataNode node)
{
    return Allowed(this, OnExpanding, node);
}

void TBaseDataTree::DoExpanded(PDataNode node)
{
    OnExpanded(this, node);
    if (FUpdateCount == 0) {
        NotifyAccessibleEvent(EVENT_OBJECT_STATECHANGE);
    }
}

bool TBaseDataTree::DoCollapsing(PDataNode node)
{
    return Allowed(this, OnCollapsing, node);
}

void TBaseDataTree::DoCollapsed(PDataNode node)
{
    OnCollapsed(this, node);
    if (FUpdateCount == 0) {
        NotifyAccessibleEvent(EVENT_OBJECT_STATECHANGE);
    }
    if (!FOptions->SelectionOptions().Contains(toAlwaysSelectNode)) {
        return;
    }
    // A selection that went out of sight moves to what still shows of it.
    const PDataNode selected = GetFirstSelected();
    if (selected != nullptr && !GetFullyVisible(selected)) {
        const PDataNode shown = GetVisibleParent(selected, false);
        SetSelected(selected, false);
        if (shown != FRoot) {
            SetSelected(shown, true);
        }
    }
    if (FSelectionCount == 0) {
        EnsureNodeSelected(false);
    }
}

void TBaseDataTree::ToggleNode(PDataNode node)
{
    TreeAssert(node != nullptr, "Node must not be nil.");
    if (node->States.Contains(vsToggling) || node->States.Contains(vsDeleting)) {
        return;
    }
    const bool wasToggling = FStates.Contains(tsToggling);
    DoStateChange({tsToggling});
    node->States.Include(vsToggling);
    TryFinally(
        [&] {
            const bool collapsing = node->States.Contains(vsExpanded);
            const bool allowed = collapsing ? DoCollapsing(node) : DoExpanding(node);
            if (!allowed) {
                return;
            }
            const std::int64_t delta = collapsing ? Collapse(node) : Expand(node);
            InvalidateCache();
            if (IsUpdating()) {
                UpdateScrollBars(true);
                return;
            }
            ValidateCache();
            if (node->FirstChild == nullptr) {
                InvalidateNode(node);
                return;
            }
            UpdateScrollBars(true);
            // Without a window there is no view to move.
            if (HandleAllocated() && !FStates.Contains(tsPainting) && !FStates.Contains(tsExpanding)) {
                ScrollAfterToggle(node, !collapsing, delta);
            }
        },
        [&] {
            node->States.Exclude(vsToggling);
            if (!wasToggling) {
                DoStateChange({}, {tsToggling});
            }
        });
}

std::int64_t TBaseDataTree::Collapse(PDataNode node)
{
    const std::int64_t delta = EffectiveOwnHeight(node) - node->TotalHeight;
    if (!IsUpdating() && FOptions->AnimationOptions().Contains(toAnimatedToggle) &&
        !FStates.Contains(tsCollapsing)) {
        AnimateToggle(node, delta, false);
    }
    InterruptValidation();
    AdjustTotalHeight(node, EffectiveOwnHeight(node));
    if (GetFullyVisible(node)) {
        FVisibleCount -= CountVisibleChildren(node);
    }
    node->States.Exclude(vsExpanded);
    DoCollapsed(node);
    if (FOptions->AutoOptions().Contains(toAutoFreeOnCollapse) && node->FirstChild != nullptr) {
        DeleteChildren(node, false);
        node->States.Include(vsHasChildren);
    }
    return delta;
}

std::int64_t TBaseDataTree::Expand(PDataNode node)
{
    Initialized(node);
    EnsureChildren(node);
    if (node->FirstChild == nullptr) {
        return 0;
    }
    InterruptValidation();
    std::int64_t delta = 0;
    for (PDataNode child = node->FirstChild; child != nullptr; child = child->fNextSibling) {
        if (child->States.Contains(vsVisible)) {
            MeasureItemHeight(Canvas(), child);
            delta += child->TotalHeight;
        }
    }
    if (!IsUpdating() && !FStates.Contains(tsPainting) && !FStates.Contains(tsExpanding) &&
        FOptions->AnimationOptions().Contains(toAnimatedToggle)) {
        AnimateToggle(node, delta, true);
    }
    AutoSort(node, false);
    node->States.Include(vsExpanded);
    AdjustTotalHeight(node, delta, true);
    if (GetFullyVisible(node)) {
        FVisibleCount += CountVisibleChildren(node);
    }
    DoExpanded(node);
    return delta;
}

void TBaseDataTree::AnimateToggle(PDataNode node, std::int64_t delta, bool expanding)
{
    if (!HandleAllocated() || !GetEffectivelyVisible(node) || !GetFullyVisible(node)) {
        return;
    }
    const plat::TRect row = GetDisplayRect(node, NoColumn, false);
    TToggleGeometry geometry;
    geometry.RowLeft = row.Left;
    geometry.RowRight = row.Right;
    geometry.RowTop = row.Top;
    geometry.NodeHeight = static_cast<int>(node->fNodeHeight);
    geometry.RowBottom = geometry.RowTop + geometry.NodeHeight;
    geometry.ClientHeight = ClientHeight();
    geometry.OffsetY = FOffsetY;
    geometry.Range = RangeY();
    geometry.Delta = delta;
    geometry.ChildrenAbove = FOptions->PaintOptions().Contains(toChildrenAbove);
    geometry.Advanced = FOptions->AnimationOptions().Contains(toAdvancedAnimatedToggle);
    geometry.AutoScrollOnExpand = FOptions->AutoOptions().Contains(toAutoScrollOnExpand);
    if (expanding && geometry.RowTop >= geometry.ClientHeight) {
        return;
    }
    TToggleAnimation animation =
        expanding ? TToggleAnimation::ForExpand(geometry) : TToggleAnimation::ForCollapse(geometry);
    if (!animation.Runs()) {
        return;
    }
    if (FStates.Contains(tsHint) && plat::Application != nullptr) {
        plat::Application->CancelHint();
    }
    Update();
    Animate(static_cast<std::uint32_t>(std::max(animation.Steps(), 0)), FAnimationDuration,
            [&](int step, int stepSize) { return ToggleCallback(step, stepSize, animation); });
    if (animation.RepaintAfter()) {
        Invalidate();
    }
}

bool TBaseDataTree::ToggleCallback(int step, int stepSize, TToggleAnimation& animation)
{
    if (stepSize <= 0) {
        return true;
    }
    ScrollToggleBand(animation, animation.First, stepSize, step == 0);
    ScrollToggleBand(animation, animation.Second, animation.SecondStep(stepSize), step == 0);
    return true;
}

void TBaseDataTree::ScrollToggleBand(const TToggleAnimation& animation, const TToggleRegion& band, int amount,
                                     bool fillUncovered)
{
    if (band.Direction == tdNone || amount <= 0 || !HandleAllocated()) {
        return;
    }
    const plat::TRect area = plat::IntersectRect(plat::Rect(animation.Left, band.Top, animation.Right, band.Bottom),
                                                 ClientRect());
    if (area.IsEmpty()) {
        return;
    }
    const bool up = band.Direction == tdUp;
    plat::ScrollWindowEx(Handle(), 0, up ? -amount : amount, &area, &area, nullptr, nullptr, 0);
    // The strip the first step uncovers is filled; later steps of the same
    // size carry its colour along, as the scroll leaves uncovered pixels.
    if (fillUncovered) {
        plat::TRect strip = area;
        if (up) {
            strip.Top = std::max(strip.Top, strip.Bottom - amount);
        } else {
            strip.Bottom = std::min(strip.Bottom, strip.Top + amount);
        }
        FillToggleStrip(strip);
    }
}

void TBaseDataTree::FillToggleStrip(const plat::TRect& strip)
{
    // A background picture keeps the brush clear.
    const bool clearBrush = FOptions->PaintOptions().Contains(toShowBackground) && FBackground->Graphic() != nullptr;
    const plat::HDC dc = plat::GetDC(Handle());
    if (dc == nullptr) {
        return;
    }
    const auto fill = [&](const plat::TRect& r, plat::TColor colour) {
        if (!r.IsEmpty()) {
            dc->FillRect(r, plat::CreateSolidBrush(plat::ColorToRGB(colour)));
        }
    };
    if (FHeader->UseColumns()) {
        for (const TDataTreeColumn* column : FHeader->Columns().GetVisibleColumns()) {
            const int left = column->AbsoluteLeft() - FEffectiveOffsetX;
            const plat::TRect part = plat::Rect(std::max(left, strip.Left), strip.Top,
                                                std::min(left + column->Width(), strip.Right), strip.Bottom);
            if (!column->Options().Contains(coParentColor)) {
                fill(part, column->Color());
            } else if (!clearBrush) {
                fill(part, FColors->BackGroundColor());
            }
        }
    } else if (!clearBrush) {
        fill(strip, FColors->BackGroundColor());
    }
    plat::ReleaseDC(Handle(), dc);
}

void TBaseDataTree::ScrollAfterToggle(PDataNode node, bool expanded, std::int64_t delta)
{
    const bool childrenAbove = FOptions->PaintOptions().Contains(toChildrenAbove);
    const bool autoScroll = FOptions->AutoOptions().Contains(toAutoScrollOnExpand);
    const std::int64_t clientHeight = ClientHeight();
    const bool fits = node->fNodeHeight + delta <= clientHeight;
    if (expanded && !childrenAbove && autoScroll) {
        if (!fits) {
            SetTopNode(node);
            Invalidate();
        } else if (ScrollIntoView(GetLastVisible(node, true, false), false, false)) {
            Invalidate();
        } else {
            InvalidateToBottom(node);
        }
        return;
    }
    if (expanded && childrenAbove) {
        const std::int64_t rowTop = GetNodeTop(node) + FOffsetY;
        const bool room = rowTop - delta >= 0;
        const bool inside = rowTop + node->fNodeHeight <= clientHeight;
        if (!autoScroll || (fits && RangeY() >= clientHeight && room && inside)) {
            SetOffsetY(static_cast<int>(FOffsetY - delta));
        } else if (fits && inside) {
            const PDataNode first = GetFirstVisible(node, true, false);
            SetOffsetY(static_cast<int>(FOffsetY - (first != nullptr ? GetNodeTop(first) + FOffsetY : 0)));
        } else {
            SetBottomNode(node);
        }
    } else if (childrenAbove) {
        SetOffsetY(static_cast<int>(FOffsetY - delta));
    }
    Invalidate();
}

void TBaseDataTree::Animate(std::uint32_t steps, std::uint32_t duration, const TDTAnimationCallback& callback)
{
    if (FStates.Contains(tsInAnimation) || duration == 0) {
        return;
    }
    DoStateChange({tsInAnimation});
    TryFinally(
        [&] {
            // The step size grows when the machine cannot keep the step
            // rate, so that the whole animation keeps its duration.
            int stepSize = static_cast<int>(std::nearbyint(std::max(1.0, static_cast<double>(steps) / duration)));
            std::int64_t remainingSteps = steps / stepSize;
            std::int64_t remainingTime = duration;
            int step = 0;
            while (remainingSteps > 0 && remainingTime > 0 && !ApplicationTerminating()) {
                const std::int64_t start = plat::Clock().NowMs();
                const std::int64_t target = start + remainingTime / remainingSteps;
                if (!callback(step, stepSize)) {
                    break;
                }
                SleepUntil(target);
                const std::int64_t elapsed = plat::Clock().NowMs() - start;
                if (elapsed > remainingTime) {
                    remainingTime = 0;
                    remainingSteps = 0;
                } else {
                    remainingTime -= elapsed;
                    --remainingSteps;
                }
                while (remainingSteps > 0 && remainingTime / remainingSteps < 1) {
                    ++stepSize;
                    remainingSteps = remainingTime / stepSize;
                }
                step = static_cast<int>(steps - remainingSteps);
            }
            if (!ApplicationTerminating()) {
                callback(0, 0);
            }
        },
        [&] { DoStateChange({}, {tsInAnimation}); });
}

void TBaseDataTree::FullExpand(PDataNode node)
{
    if (FRoot->FirstChild == nullptr) {
        return;
    }
    if (node == FRoot) {
        node = nullptr;
    }
    DoStateChange({tsExpanding});
    BeginOperation(okExpand);
    BeginUpdate();
    TryFinally(
        [&] {
            PDataNode stop = nullptr;
            for (PDataNode up = node; up != nullptr && stop == nullptr && up != FRoot; up = up->fParent) {
                stop = up->fNextSibling;
            }
            PDataNode run = node != nullptr ? Initialized(node) : GetFirst();
            while (run != nullptr && run != stop && !OperationCanceled()) {
                if (!run->States.Contains(vsExpanded)) {
                    ToggleNode(run);
                }
                run = GetNext(run);
            }
        },
        [&] {
            EndOperation(okExpand);
            EndUpdate();
            DoStateChange({}, {tsExpanding});
        });
}

void TBaseDataTree::FullCollapse(PDataNode node)
{
    if (FRoot->FirstChild == nullptr) {
        return;
    }
    if (node == FRoot) {
        node = nullptr;
    }
    DoStateChange({tsCollapsing});
    BeginUpdate();
    TryFinally(
        [&] {
            const auto open = [](PDataNode each) {
                return each->States.Contains(vsExpanded) && each->States.Contains(vsHasChildren);
            };
            for (PDataNode run = GetLastVisibleNoInit(node, true, false); run != nullptr && run != node;
                 run = GetPreviousNoInit(run, true)) {
                if (open(run)) {
                    ToggleNode(run);
                }
            }
            if (node != nullptr && open(node)) {
                ToggleNode(node);
            }
        },
        [&] {
            EndUpdate();
            DoStateChange({}, {tsCollapsing});
        });
}

} // namespace qel
