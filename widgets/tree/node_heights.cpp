// Heights of data tree nodes (fixed, measured once on demand, or scaled)
// and the small per-node settings: multi-line, disabled and the vertical
// alignment of images and button.
#include "widgets/tree/base_data_tree.h"

#include "platform/canvas/graphics_types.h"

#include <algorithm>

namespace qel {

std::int64_t TBaseDataTree::GetNodeHeight(PDataNode node)
{
    if (node == nullptr || node == FRoot) {
        return 0;
    }
    if (FOptions->MiscOptions().Contains(toVariableNodeHeight) && !node->States.Contains(vsDeleting)) {
        if (!InUIThread()) {
            return MeasureForWorker(node);
        }
        Initialized(node);
        MeasureItemHeight(Canvas(), node);
    }
    return node->fNodeHeight;
}

std::int64_t TBaseDataTree::MeasureForWorker(PDataNode node)
{
    if (node->States.Contains(vsHeightMeasured)) {
        return node->fNodeHeight;
    }
    // The node may be gone once the call returns: its height comes back
    // with the call.
    std::int64_t height = 0;
    CallInUIThread([&] {
        // A tree being freed asks the application nothing more.
        if (IsDestroying()) {
            height = node->fNodeHeight;
            return;
        }
        Initialized(node);
        MeasureItemHeight(Canvas(), node);
        height = node->fNodeHeight;
    });
    return height;
}

void TBaseDataTree::MeasureItemHeight(plat::TCanvas* canvas, PDataNode node)
{
    if (!InUIThread()) {
        CallInUIThread([&] { MeasureItemHeight(canvas, node); });
        return;
    }
    if (node->States.Contains(vsHeightMeasured)) {
        return;
    }
    node->States.Include(vsHeightMeasured);
    if (!FOptions->MiscOptions().Contains(toVariableNodeHeight)) {
        return;
    }
    auto height = static_cast<TDimension>(node->fNodeHeight);
    DoMeasureItem(canvas, node, height);
    SetNodeHeight(node, height);
}

void TBaseDataTree::DoMeasureItem(plat::TCanvas* canvas, PDataNode node, TDimension& nodeHeight)
{
    Initialized(node);
    if (OnMeasureItem) {
        OnMeasureItem(this, canvas, node, nodeHeight);
    }
}

void TBaseDataTree::SetNodeHeight(PDataNode node, std::int64_t value)
{
    TreeAssert(node != nullptr, "SetNodeHeight() cannot be called with Node = nil");
    TreeAssert(node != FRoot, "SetNodeHeight() cannot be called for the root node FRoot");
    if (value == node->fNodeHeight) {
        return;
    }
    // A worker that asked for this height waits meanwhile; any other
    // validation stops first.
    if (!FRunningWorkerCall) {
        InterruptValidation();
    }
    const std::int64_t old = node->fNodeHeight;
    node->fNodeHeight = value;
    if (GetEffectivelyFiltered(node)) {
        return;
    }
    AdjustTotalHeight(node, static_cast<std::int32_t>(value - old), true);
    UpdateEditBounds();
    InvalidateCache();
    if (FStates.Contains(tsValidating) || !GetFullyVisible(node) || IsUpdating() || FStates.Contains(tsPainting) ||
        FStates.Contains(tsSizing)) {
        return;
    }
    ValidateCache();
    InvalidateToBottom(node);
    UpdateScrollBars(true);
}

void TBaseDataTree::ScaleNodeHeights(int m, int d)
{
    if (d == 0 || m == d) {
        return;
    }
    InterruptValidation();
    BeginUpdate();
    // Every own height first, then the totals once, bottom-up.
    ForEachPostOrder(FRoot, [this, m, d](PDataNode each) {
        if (each != FRoot) {
            const int scaled = plat::MulDiv(static_cast<int>(each->fNodeHeight), m, d);
            if (scaled >= 0) {
                each->fNodeHeight = scaled;
            }
        }
    });
    FixupTotalHeight(FRoot);
    InvalidateCache();
    EndUpdate();
}

bool TBaseDataTree::GetMultiline(PDataNode node) const
{
    return node != nullptr && node != FRoot && node->States.Contains(vsMultiline);
}

void TBaseDataTree::SetMultiline(PDataNode node, bool value)
{
    if (node == nullptr || node == FRoot || value == node->States.Contains(vsMultiline)) {
        return;
    }
    if (value) {
        node->States.Include(vsMultiline);
        FMultilineSeen = true;
    } else {
        node->States.Exclude(vsMultiline);
    }
    if (FUpdateCount == 0) {
        InvalidateNode(node);
    }
}

bool TBaseDataTree::GetDisabled(PDataNode node) const
{
    return node != nullptr && node->States.Contains(vsDisabled);
}

void TBaseDataTree::SetDisabled(PDataNode node, bool value)
{
    if (node == nullptr || value == node->States.Contains(vsDisabled)) {
        return;
    }
    if (value) {
        node->States.Include(vsDisabled);
    } else {
        node->States.Exclude(vsDisabled);
    }
    if (FUpdateCount == 0) {
        InvalidateNode(node);
    }
}

std::uint8_t TBaseDataTree::GetVerticalAlignment(PDataNode node) const
{
    return node->Align;
}

void TBaseDataTree::SetVerticalAlignment(PDataNode node, std::uint8_t value)
{
    value = std::min<std::uint8_t>(value, 100);
    if (node->Align == value) {
        return;
    }
    node->Align = value;
    if (GetFullyVisible(node) && !GetEffectivelyFiltered(node)) {
        InvalidateNode(node);
    }
}

} // namespace qel
