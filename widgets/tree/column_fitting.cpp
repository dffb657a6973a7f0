// Column widths the data tree works out itself: the auto-size column that
// takes the client width the others leave, fitting columns to their content,
// spring columns sharing a change of the header's width, and the
// proportional resize that keeps the fixed columns within their share.
#include "widgets/tree/base_data_tree.h"

#include "platform/canvas/canvas.h"
#include "widgets/tree/try_finally.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace qel {

// ---- the auto-size column ----

void TDataTreeColumns::AdjustAutoSize(TColumnIndex, bool force)
{
    if (Count() == 0) {
        return;
    }
    TColumnIndex index = FHeader->FAutoSizeIndex;
    if (index < 0 || index >= Count()) {
        index = Count() - 1;
    }
    TDataTreeColumn* column = Items(index);
    TBaseDataTree* tree = TreeView();
    long long width = tree->HandleAllocated() ? tree->ClientWidth() : tree->Width();
    for (TColumnIndex i = 0; i < Count(); ++i) {
        const TDataTreeColumn* each = Items(i);
        if (each != column && each->IsVisible()) {
            width -= each->FWidth;
        }
    }
    // MinWidth wins when the two limits conflict.
    width = std::max<long long>(std::min<long long>(width, column->FMaxWidth), column->FMinWidth);
    if (!force && width == column->FWidth) {
        return;
    }
    column->FLastWidth = column->FWidth;
    column->FWidth = static_cast<int>(width);
    UpdatePositions(false);
    const bool wasUpdating = tree->ComponentState().Contains(plat::csUpdating);
    if (!wasUpdating) {
        tree->Updating();
    }
    TryFinally([&] { tree->DoColumnResize(index); },
               [&] {
                   if (!wasUpdating) {
                       tree->Updated();
                   }
               });
}

// ---- fitting to the content ----

void TDTHeader::AutoFitColumns()
{
    AutoFitColumns(!FOwner->IsUpdating(), smaUseColumnOption, -1, -1);
}

void TDTHeader::AutoFitColumns(bool animated, TSmartAutoFitType smartAutoFitType, int rangeStartCol,
                               int rangeEndCol)
{
    const int count = FColumns->Count();
    rangeStartCol = std::max(rangeStartCol, 0);
    rangeEndCol = rangeEndCol < 0 ? count - 1 : std::min(rangeEndCol, count - 1);
    if (rangeEndCol < rangeStartCol) {
        return;
    }
    TBaseDataTree* tree = FOwner;
    tree->BeginOperation(okAutoFitColumns);
    FDoingAutoFitColumns = true;
    TryFinally(
        [&] {
            if (tree->OnBeforeAutoFitColumns) {
                tree->OnBeforeAutoFitColumns(this, smartAutoFitType);
            }
            for (int position = rangeStartCol; position <= rangeEndCol; ++position) {
                const TColumnIndex index = FColumns->ColumnFromPosition(static_cast<TColumnPosition>(position));
                if (!FColumns->IsValidColumn(index)) {
                    continue;
                }
                TDataTreeColumn* column = FColumns->Items(index);
                const TDTColumnOptions options = column->Options();
                if (!options.Contains(coVisible) || !options.Contains(coResizable)) {
                    continue;
                }
                bool allowed = true;
                TSmartAutoFitType columnType = smartAutoFitType;
                if (tree->OnBeforeAutoFitColumn) {
                    tree->OnBeforeAutoFitColumn(this, index, columnType, allowed);
                }
                if (!allowed || tree->OperationCanceled()) {
                    continue;
                }
                const bool smart = smartAutoFitType == smaAllColumns ||
                                   (smartAutoFitType == smaUseColumnOption && options.Contains(coSmartResize));
                const int width = tree->GetMaxColumnWidth(index, smart);
                if (animated) {
                    FColumns->AnimatedResize(index, width);
                } else {
                    column->SetWidth(width);
                }
                if (tree->OnAfterAutoFitColumn) {
                    tree->OnAfterAutoFitColumn(this, index);
                }
            }
            if (tree->OnAfterAutoFitColumns) {
                tree->OnAfterAutoFitColumns(this);
            }
        },
        [&] {
            tree->EndOperation(okAutoFitColumns);
            tree->Invalidate();
            FDoingAutoFitColumns = false;
        });
}

int TBaseDataTree::GetMaxColumnWidth(TColumnIndex column, bool useSmartColumnWidth)
{
    const TDataTreeColumns& columns = FHeader->Columns();
    if (OperationCanceled()) {
        return columns.IsValidColumn(column) ? columns.Items(column)->Width() : 0;
    }
    int result = 0;
    BeginOperation(okGetMaxColumnWidth);
    TryFinally(
        [&] {
            if (OnBeforeGetMaxColumnWidth) {
                OnBeforeGetMaxColumnWidth(FHeader.get(), column, useSmartColumnWidth);
            }
            PDataNode node = nullptr;
            PDataNode stop = nullptr;
            if (useSmartColumnWidth) {
                node = TopNode();
                const PDataNode bottom = BottomNode();
                stop = bottom != nullptr ? GetNextVisible(bottom) : nullptr;
            } else {
                node = GetFirstVisible();
            }
            if (FHeader->Options().Contains(hoAutoResizeInclCaption) && columns.IsValidColumn(column)) {
                const TDataTreeColumn* item = columns.Items(column);
                result = 2 * item->Margin() + item->CaptionWidth() + 2;
            }
            TDTOffsets offsets{};
            while (node != nullptr && node != stop && !OperationCanceled()) {
                GetOffsets(node, offsets, ofsLabel, column);
                const int textWidth = DoGetNodeWidth(node, column) + DoGetNodeExtraWidth(node, column) +
                                      DoGetCellContentMargin(node, column).X;
                // A multi-line node's width is the column's own width: it
                // replaces what was found so far.
                if (column >= 0 && node->States.Contains(vsMultiline)) {
                    result = textWidth;
                } else {
                    result = std::max(result, offsets[ofsLabel] + textWidth);
                }
                node = GetNextVisible(node);
            }
            if (FOptions->PaintOptions().Contains(toShowVertGridLines)) {
                ++result;
            }
            if (OnAfterGetMaxColumnWidth) {
                OnAfterGetMaxColumnWidth(FHeader.get(), column, result);
            }
        },
        [&] { EndOperation(okGetMaxColumnWidth); });
    return result;
}

plat::TPoint TBaseDataTree::DoGetCellContentMargin(PDataNode node, TColumnIndex column, int marginType,
                                                   plat::TCanvas* canvas)
{
    if (!OnBeforeCellPaint) {
        return plat::Point(0, 0);
    }
    if (canvas == nullptr) {
        canvas = Canvas();
    }
    const plat::TRect cell = GetDisplayRect(node, column, true);
    plat::TRect content = cell;
    DoBeforeCellPaint(canvas, node, column, cpmGetContentMargin, cell, content);
    const int left = content.Left - cell.Left;
    const int top = content.Top - cell.Top;
    const int right = cell.Right - content.Right;
    const int bottom = cell.Bottom - content.Bottom;
    switch (marginType) {
    case 1:
        return plat::Point(left, top);
    case 2:
        return plat::Point(right, bottom);
    default:
        return plat::Point(left + right, top + bottom);
    }
}

// ---- spreading a width change ----

int TDTHeader::ResizeColumns(int changeBy, TColumnIndex rangeStartCol, TColumnIndex rangeEndCol,
                             TDTColumnOptions options)
{
    if (changeBy == 0 || rangeEndCol < 0 || FColumns->Count() == 0) {
        return 0;
    }
    rangeStartCol = std::max(rangeStartCol, 0);
    rangeEndCol = std::min(rangeEndCol, FColumns->Count() - 1);
    if (rangeEndCol < rangeStartCol) {
        return 0;
    }
    const bool grow = changeBy > 0;
    const int sign = grow ? 1 : -1;
    const TColumnIndex startCol = grow ? rangeStartCol : rangeEndCol;
    const std::size_t count = static_cast<std::size_t>(rangeEndCol - rangeStartCol + 1);
    std::vector<int> widths(count);
    std::vector<int> limits(count);
    std::vector<TDataTreeColumn*> items(count);
    std::vector<bool> takesPart(count);
    for (std::size_t i = 0; i < count; ++i) {
        items[i] = FColumns->Items(rangeStartCol + static_cast<TColumnIndex>(i));
        widths[i] = items[i]->Width();
        limits[i] = grow ? items[i]->MaxWidth() : items[i]->MinWidth();
        takesPart[i] = (options * items[i]->Options()) == options;
    }
    const auto room = [&](std::size_t i) { return grow ? limits[i] - widths[i] : widths[i] - limits[i]; };
    const auto canChange = [&](std::size_t i) { return takesPart[i] && room(i) > 0; };
    int remaining = std::abs(changeBy);
    for (;;) {
        long long available = 0;
        int changeable = 0;
        for (std::size_t i = 0; i < count; ++i) {
            if (canChange(i)) {
                available += room(i);
                ++changeable;
            }
        }
        if (available < std::abs(changeBy) && !grow && FStates.Contains(hsScaling)) {
            // Lower the widest column's limit by a tenth and look again.
            std::size_t widest = count;
            for (std::size_t i = 0; i < count; ++i) {
                if (takesPart[i] && (widest == count || widths[i] > widths[widest])) {
                    widest = i;
                }
            }
            if (widest != count && limits[widest] > 10) {
                limits[widest] -= limits[widest] / 10;
                continue;
            }
        }
        if (changeable == 0) {
            break;
        }
        remaining = static_cast<int>(std::min<long long>(remaining, available));
        const int share = remaining / changeable;
        int rest = remaining % changeable;
        if (share > 0) {
            for (std::size_t i = 0; i < count; ++i) {
                if (canChange(i)) {
                    const int given = std::min(share, room(i));
                    widths[i] += sign * given;
                    remaining -= given;
                }
            }
        }
        // The odd pixels go one by one to columns that had no bonus pixel
        // the last time, so that repeated changes spread them.
        bool handedOut = true;
        while (rest > 0 && handedOut) {
            handedOut = false;
            for (int pass = 0; pass < 2 && rest > 0; ++pass) {
                for (TColumnIndex c = startCol; c >= rangeStartCol && c <= rangeEndCol && rest > 0; c += sign) {
                    const std::size_t i = static_cast<std::size_t>(c - rangeStartCol);
                    if (canChange(i) && items[i]->BonusPixel() != grow) {
                        widths[i] += sign;
                        items[i]->SetBonusPixel(grow);
                        --rest;
                        --remaining;
                        handedOut = true;
                    }
                }
                if (rest > 0) {
                    for (std::size_t i = 0; i < count; ++i) {
                        if (takesPart[i]) {
                            items[i]->SetBonusPixel(!items[i]->BonusPixel());
                        }
                    }
                }
            }
        }
        if (remaining <= 0) {
            break;
        }
        if (share == 0 && !handedOut) {
            break;
        }
    }
    int result = 0;
    FStates.Include(hsResizing);
    TryFinally(
        [&] {
            for (std::size_t i = 0; i < count; ++i) {
                if (takesPart[i]) {
                    result += widths[i] - items[i]->Width();
                    items[i]->SetWidth(widths[i]);
                }
            }
        },
        [&] { FStates.Exclude(hsResizing); });
    return result;
}

void TDTHeader::UpdateSpringColumns()
{
    const plat::TRect& headerRect = FOwner->HeaderRect();
    const int headerWidth = static_cast<int>(headerRect.Right - headerRect.Left);
    if (FOptions.Contains(hoAutoSpring) && FLastWidth != 0) {
        const float change = static_cast<float>(headerWidth - FLastWidth);
        if (change != 0) {
            float rest = std::fabs(change);
            int springs = 0;
            for (int i = 0; i < FColumns->Count(); ++i) {
                const TDTColumnOptions options = FColumns->Items(i)->Options();
                if (options.Contains(coVisible) && options.Contains(coAutoSpring)) {
                    ++springs;
                }
            }
            if (springs > 0) {
                const float part = rest / static_cast<float>(springs);
                for (int i = 0; i < FColumns->Count() && rest >= 0; ++i) {
                    TDataTreeColumn* column = FColumns->Items(i);
                    const TDTColumnOptions options = column->Options();
                    if (!options.Contains(coVisible) || !options.Contains(coAutoSpring)) {
                        continue;
                    }
                    const float value = column->SpringRest() + part;
                    if (value >= 1) {
                        const int whole = static_cast<int>(std::trunc(value));
                        column->SetWidth(column->Width() + (change > 0 ? whole : -whole));
                    }
                    column->SetSpringRest(value - std::trunc(value));
                    rest -= part;
                }
            }
        }
    }
    FLastWidth = headerWidth;
}

// ---- the header's limits ----

void TDTHeader::RecalculateHeader()
{
    if (TreeLoading() || FOwner->IsDestroying() || FStates.Contains(hsLoading)) {
        return;
    }
    if (!TreeHasWindow()) {
        FStates.Include(hsNeedScaling);
        return;
    }
    FStates.Include(hsScaling);
    TryFinally(
        [&] {
            const int height = LimitHeight(FHeight);
            if (height != FHeight) {
                FHeight = height;
                FOwner->Invalidate();
            }
            UpdateNonClientArea();
            const TDTFixedAreaConstraints& limits = FFixedAreaConstraints;
            if (limits.MinHeightPercent() == 0 && limits.MaxHeightPercent() == 0 &&
                limits.MinWidthPercent() == 0 && limits.MaxWidthPercent() == 0) {
                return;
            }
            for (TDataTreeColumn* column : FColumns->GetVisibleColumns()) {
                if (column->IsFixed() && column->FWidth < column->FMinWidth) {
                    column->FWidth = column->FMinWidth;
                }
            }
            const int fixedWidth = FColumns->GetVisibleFixedWidth();
            const int clientWidth = FOwner->ClientWidth();
            const int minFixed = clientWidth * limits.MinWidthPercent() / 100;
            const int maxFixed = clientWidth * limits.MaxWidthPercent() / 100;
            int target = -1;
            if (limits.MaxWidthPercent() > 0 && maxFixed < fixedWidth) {
                target = maxFixed;
            } else if (limits.MinWidthPercent() > 0 && fixedWidth < minFixed) {
                target = minFixed;
            }
            if (target >= 0) {
                ResizeColumns(target - fixedWidth, 0, FColumns->Count() - 1, {coVisible, coFixed});
            }
            FColumns->UpdatePositions(false);
        },
        [&] {
            FStates.Exclude(hsScaling);
            FStates.Exclude(hsNeedScaling);
        });
}

} // namespace qel
