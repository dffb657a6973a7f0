// Selecting by drawing a rubber band in a multi-selection data tree: the
// band follows the mouse, and every row whose text box (or, simply, whose
// row) the band meets is selected, every row it leaves unselected again;
// with Ctrl held at the start the rows toggle instead.
#include "widgets/tree/base_data_tree.h"

#include "platform/canvas/image_list.h"
#include "widgets/tree/tree_drawing_utils.h"

#include <algorithm>

namespace qel {

namespace {

// Whether the box [left, right] x [top, bottom) meets r: touching edges count
// horizontally, not vertically.
bool Meets(int left, int right, std::int64_t top, std::int64_t bottom, const plat::TRect& r)
{
    return left <= r.Right && r.Left <= right && top < r.Bottom && r.Top < bottom;
}

} // namespace

bool TBaseDataTree::UpdateDrawSelectionRect(int x, int y)
{
    if (FStates.Contains(tsDrawSelecting)) {
        FLastSelRect = FNewSelRect;
    }
    const std::int64_t maxX = std::max<std::int64_t>(ClientWidth(), FRangeX);
    const std::int64_t maxY = std::max<std::int64_t>(ClientHeight(), RangeY());
    FNewSelRect.Right = static_cast<int>(std::clamp<std::int64_t>(std::int64_t{x} + FEffectiveOffsetX, 0, maxX));
    FNewSelRect.Bottom = static_cast<int>(std::clamp<std::int64_t>(std::int64_t{y} - FOffsetY, 0, maxY));
    return FNewSelRect != FLastSelRect;
}

bool TBaseDataTree::HandleDrawSelection()
{
    if (FRoot->TotalCount <= 2 || !FStates.Contains(tsDrawSelecting)) {
        return false;
    }
    const plat::TRect oldRect = OrderRect(FLastSelRect);
    const plat::TRect newRect = OrderRect(FNewSelRect);
    ClearTempCache();
    const TColumnIndex mainColumn = HeaderMainColumn();
    const TDataTreeColumns& columns = FHeader->Columns();
    TBiDiMode bidi = FBiDiMode;
    TAlignment alignment = FAlignment;
    int nodeLeft = FEffectiveOffsetX;
    int nodeRight = ClientWidth() + FEffectiveOffsetX;
    if (mainColumn >= 0 && columns.IsValidColumn(mainColumn)) {
        const TDataTreeColumn* column = columns.Items(mainColumn);
        bidi = column->BiDiMode();
        alignment = column->Alignment();
    }
    if (FHeader->UseColumns() && columns.IsValidColumn(mainColumn)) {
        const TDataTreeColumn* column = columns.Items(mainColumn);
        nodeLeft = column->Left() + FEffectiveOffsetX;
        nodeRight = nodeLeft + column->Width();
    }
    const bool result = bidi == bdLeftToRight
                            ? CollectSelectedNodesLTR(mainColumn, nodeLeft, nodeRight, alignment, oldRect, newRect)
                            : CollectSelectedNodesRTL(mainColumn, nodeLeft, nodeRight, alignment, oldRect, newRect);
    if (result) {
        PackSelection();
        if (FTempNodeCount > 0) {
            if (FStates.Contains(tsClearOnNewSelection)) {
                DoStateChange({}, {tsClearOnNewSelection});
                ClearSelection(false);
            }
            AddToSelection(FTempNodeCache, static_cast<int>(FTempNodeCount), false);
            ClearTempCache();
        }
        Change(nullptr);
    }
    return result;
}

bool TBaseDataTree::CollectSelectedNodesLTR(TColumnIndex mainColumn, int nodeLeft, int nodeRight,
                                            TAlignment alignment, const plat::TRect& oldRect,
                                            const plat::TRect& newRect)
{
    const bool withCtrl = FDrawSelShiftState.Contains(plat::ssCtrl);
    const TDataTreeColumns& columns = FHeader->Columns();
    const bool autoSpan = FHeader->UseColumns() && FOptions->AutoOptions().Contains(toAutoSpanColumns);
    const bool simple = FOptions->SelectionOptions().Contains(toSimpleDrawSelection) ||
                        FOptions->SelectionOptions().Contains(toFullRowSelect);
    int top = 0;
    PDataNode run = GetNodeAt(0, std::min(oldRect.Top, newRect.Top), false, top);
    if (run == nullptr) {
        return false;
    }
    TDTOffsets offsets{};
    GetOffsets(run, offsets, ofsLabel, mainColumn);
    const int labelOffset = offsets[ofsLabel];
    const std::int64_t bottomLimit = std::max(oldRect.Bottom, newRect.Bottom);
    std::int64_t currentTop = top;
    int labelLeft = labelOffset;
    bool result = false;
    while (run != nullptr) {
        const std::int64_t currentBottom = currentTop + run->fNodeHeight;
        int textLeft = nodeLeft + labelLeft;
        bool inOld = false;
        bool inNew = false;
        if (simple) {
            const int total = columns.TotalWidth();
            inOld = oldRect.Top < currentBottom && currentTop < oldRect.Bottom && textLeft < oldRect.Right &&
                    (!FHeader->UseColumns() || oldRect.Left < total);
            inNew = newRect.Top < currentBottom && currentTop < newRect.Bottom && textLeft < newRect.Right &&
                    (!FHeader->UseColumns() || newRect.Left < total);
        } else {
            int currentRight = nodeRight;
            if (autoSpan && columns.IsValidColumn(mainColumn)) {
                for (TColumnIndex next = columns.GetNextVisibleColumn(mainColumn);
                     next >= 0 && columns.Items(next)->BiDiMode() == bdLeftToRight && DoGetCellIsEmpty(run, next);
                     next = columns.GetNextVisibleColumn(next)) {
                    currentRight += columns.Items(next)->Width();
                }
            }
            if (textLeft < oldRect.Left || textLeft < newRect.Left || alignment != taLeftJustify) {
                const int nodeWidth = DoGetNodeWidth(run, mainColumn);
                if (nodeWidth < currentRight - textLeft) {
                    switch (alignment) {
                    case taLeftJustify:
                        currentRight = textLeft + nodeWidth;
                        break;
                    case taCenter:
                        textLeft = (textLeft + currentRight - nodeWidth) / 2;
                        currentRight = textLeft + nodeWidth;
                        break;
                    default:
                        textLeft = currentRight - nodeWidth;
                        break;
                    }
                }
            }
            inOld = Meets(textLeft, currentRight, currentTop, currentBottom, oldRect);
            inNew = Meets(textLeft, currentRight, currentTop, currentBottom, newRect);
        }
        if (inOld != inNew) {
            result = true;
            if (withCtrl) {
                if (run->States.Contains(vsSelected)) {
                    InternalRemoveFromSelection(run);
                } else {
                    AddToTempCache(run);
                }
            } else if (inNew) {
                AddToTempCache(run);
            } else {
                InternalRemoveFromSelection(run);
            }
        }
        currentTop = currentBottom;
        const PDataNode next = GetNextVisible(run, true);
        if (next == nullptr) {
            break;
        }
        labelLeft += GetLevelDifference(run, next) * FIndent;
        run = next;
        if (currentTop > bottomLimit) {
            break;
        }
    }
    return result;
}

bool TBaseDataTree::CollectSelectedNodesRTL(TColumnIndex mainColumn, int nodeLeft, int nodeRight,
                                            TAlignment alignment, const plat::TRect& oldRect,
                                            const plat::TRect& newRect)
{
    alignment = alignment == taLeftJustify ? taRightJustify : alignment == taRightJustify ? taLeftJustify : alignment;
    const bool withCtrl = FDrawSelShiftState.Contains(plat::ssCtrl);
    const TDataTreeColumns& columns = FHeader->Columns();
    const bool autoSpan = FHeader->UseColumns() && FOptions->AutoOptions().Contains(toAutoSpanColumns);
    const bool simple = FOptions->SelectionOptions().Contains(toSimpleDrawSelection);
    int top = 0;
    PDataNode run = GetNodeAt(0, std::min(oldRect.Top, newRect.Top), false, top);
    if (run == nullptr) {
        return false;
    }
    const std::int64_t bottomLimit = std::max(oldRect.Bottom, newRect.Bottom);
    std::int64_t currentTop = top;
    int level = static_cast<int>(GetNodeLevel(run)) + (FOptions->PaintOptions().Contains(toShowRoot) ? 1 : 0);
    int textRightBase = nodeRight - (FMargin + level * FIndent);
    bool result = false;
    while (run != nullptr) {
        const std::int64_t currentBottom = currentTop + run->fNodeHeight;
        bool inOld = false;
        bool inNew = false;
        if (simple) {
            inOld = oldRect.Top < currentBottom && currentTop < oldRect.Bottom;
            inNew = newRect.Top < currentBottom && currentTop < newRect.Bottom;
        } else {
            int textRight = textRightBase;
            if (FOptions->MiscOptions().Contains(toCheckSupport) && FCheckImages != nullptr &&
                run->CheckType != ctNone) {
                textRight -= FCheckImages->Width() + FImagesMargin;
            }
            textRight -= GetImageSize(run, ikNormal, mainColumn, true).cx;
            if (FStateImages != nullptr || OnGetImageEx) {
                textRight -= GetImageSize(run, ikState, mainColumn, true).cx;
            }
            int currentLeft = nodeLeft;
            if (autoSpan && columns.IsValidColumn(mainColumn)) {
                for (TColumnIndex previous = columns.GetPreviousVisibleColumn(mainColumn);
                     previous >= 0 && columns.Items(previous)->BiDiMode() != bdLeftToRight &&
                     DoGetCellIsEmpty(run, previous);
                     previous = columns.GetPreviousVisibleColumn(previous)) {
                    currentLeft -= columns.Items(previous)->Width();
                }
            }
            const bool bothReach = textRight <= oldRect.Right && textRight <= newRect.Right;
            if (!(bothReach && alignment == taRightJustify)) {
                const int nodeWidth = DoGetNodeWidth(run, mainColumn);
                if (nodeWidth < textRight - currentLeft) {
                    switch (alignment) {
                    case taRightJustify:
                        currentLeft = textRight - nodeWidth;
                        break;
                    case taCenter:
                        currentLeft = (currentLeft + textRight - nodeWidth) / 2;
                        textRight = currentLeft + nodeWidth;
                        break;
                    default:
                        textRight = currentLeft + nodeWidth;
                        break;
                    }
                }
            }
            inOld = Meets(currentLeft, textRight, currentTop, currentBottom, oldRect);
            inNew = Meets(currentLeft, textRight, currentTop, currentBottom, newRect);
        }
        if (inOld != inNew) {
            result = true;
            if (withCtrl) {
                if (run->States.Contains(vsSelected)) {
                    InternalRemoveFromSelection(run);
                } else {
                    AddToTempCache(run);
                }
            } else if (inNew) {
                AddToTempCache(run);
            } else {
                InternalRemoveFromSelection(run);
            }
        }
        currentTop = currentBottom;
        const PDataNode next = GetNextVisible(run, true);
        if (next == nullptr) {
            break;
        }
        textRightBase -= GetLevelDifference(run, next) * FIndent;
        run = next;
        if (currentTop > bottomLimit) {
            break;
        }
    }
    return result;
}

} // namespace qel
