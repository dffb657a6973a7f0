// What the data tree marks for painting when nodes change: a row, the
// children of a node, a column, and everything from a row downwards.
#include "widgets/tree/base_data_tree.h"

#include "platform/controls/window_paint.h"
#include "platform/controls/window_styles.h"

namespace qel {

plat::TRect TBaseDataTree::InvalidateNode(PDataNode node)
{
    TreeAssert(node != nullptr, "Node must not be nil.");
    CheckUIThread("UI controls may only be changed in UI thread.");
    const plat::TRect none = plat::Rect(-1, -1, -1, -1);
    node->States.Exclude(vsHeightMeasured);
    if (node == FRoot || IsUpdating() || !HandleAllocated()) {
        return none;
    }
    const plat::TRect row = GetDisplayRect(node, NoColumn, false);
    if (row.IsEmpty()) {
        return none;
    }
    plat::InvalidateRect(Handle(), &row, false);
    return row;
}

void TBaseDataTree::InvalidateChildren(PDataNode node, bool recursive)
{
    PDataNode run = nullptr;
    if (node != nullptr && node != FRoot) {
        if (!node->States.Contains(vsInitialized)) {
            ValidateNode(node, false);
        }
        InvalidateNode(node);
        run = GetFirstChild(node);
    } else {
        run = GetFirst();
    }
    for (; run != nullptr; run = run->fNextSibling) {
        InvalidateNode(run);
        if (recursive) {
            InvalidateChildren(run, true);
        }
    }
}

void TBaseDataTree::InvalidateColumn(TColumnIndex column)
{
    if (IsUpdating() || !HandleAllocated() || !FHeader->Columns().IsValidColumn(column)) {
        return;
    }
    plat::TRect r = ClientRect();
    FHeader->Columns().GetColumnBounds(column, r.Left, r.Right);
    plat::InvalidateRect(Handle(), &r, false);
}

void TBaseDataTree::InvalidateToBottom(PDataNode node)
{
    if (IsUpdating() || !HandleAllocated()) {
        return;
    }
    if (node == nullptr || node == FRoot) {
        Invalidate();
        return;
    }
    if (!node->States.Contains(vsInitialized) || !GetEffectivelyVisible(node) || !GetVisiblePath(node)) {
        return;
    }
    plat::TRect r = GetDisplayRect(node, NoColumn, false);
    if (r.Top >= ClientHeight()) {
        return;
    }
    r.Bottom = ClientHeight();
    if (FOptions->PaintOptions().Contains(toChildrenAbove) && node->States.Contains(vsExpanded)) {
        r.Top = plat::SaturateInt(std::int64_t{r.Top} - node->TotalHeight - node->fNodeHeight);
    }
    plat::InvalidateRect(Handle(), &r, false);
}

void TBaseDataTree::RepaintNode(PDataNode node)
{
    if (node == nullptr || node == FRoot || !HandleAllocated()) {
        return;
    }
    const plat::TRect row = GetDisplayRect(node, NoColumn, false);
    plat::RedrawWindow(Handle(), &row, nullptr,
                       plat::RDW_INVALIDATE | plat::RDW_NOERASE | plat::RDW_NOCHILDREN | plat::RDW_UPDATENOW);
}

} // namespace qel
