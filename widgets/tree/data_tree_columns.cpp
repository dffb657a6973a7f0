// The header's column collection: adding, removing and clearing columns,
// the position map and its renumbering, lookups by point and by position,
// navigation, widths and the animated resize.
#include "widgets/tree/data_tree_columns.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/device_context.h"
#include "platform/canvas/gdi_constants.h"
#include "platform/canvas/gdi_objects.h"
#include "platform/controls/window_paint.h"
#include "platform/controls/window_styles.h"
#include "platform/object_list.h"
#include "widgets/tree/base_data_tree.h"
#include "widgets/tree/dt_header.h"
#include "widgets/tree/try_finally.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>

namespace qel {

TDataTreeColumns::TDataTreeColumns(TDTHeader* header)
    : plat::TOwnedCollection(header, header->Treeview()->GetColumnClass()), FHeader(header),
      FHeaderBitmap(std::make_unique<plat::TBitmap>(0, 0, plat::pf32bit))
{
}

TDataTreeColumns::~TDataTreeColumns()
{
    // The collection frees the columns quietly.
    FClearing = true;
}

TBaseDataTree* TDataTreeColumns::TreeView() const
{
    return FHeader->Treeview();
}

bool TDataTreeColumns::TreeLoading() const
{
    return TreeView()->Loading();
}

bool TDataTreeColumns::TreeHasWindow() const
{
    return TreeView()->HandleAllocated();
}

TDataTreeColumn* TDataTreeColumns::Items(TColumnIndex index) const
{
    return static_cast<TDataTreeColumn*>(plat::TCollection::Items(index));
}

TDataTreeColumn* TDataTreeColumns::Add()
{
    TreeView()->CheckUIThread("UI controls may only be changed in UI thread.");
    return static_cast<TDataTreeColumn*>(plat::TCollection::Add());
}

void TDataTreeColumns::Notify(plat::TCollectionItem* item, plat::TCollectionNotification action)
{
    auto* column = static_cast<TDataTreeColumn*>(item);
    if (action == plat::cnAdded) {
        column->JoinedCollection(this);
        return;
    }
    // The column is about to leave: the ones after it move up an index.
    const TColumnIndex index = column->FIndex;
    for (TColumnIndex i = index + 1; i < Count(); ++i) {
        --Items(i)->FIndex;
    }
    column->FIndex = NoColumn;
    if (FClearing) {
        return;
    }
    TreeView()->CancelEditNode();
    RemoveColumnIndex(index);
    if (UpdateCount() > 0 || TreeLoading()) {
        // Positions set during the update stay what they were asked to be,
        // closed up over the gap; EndUpdate rebuilds the map from them.
        for (TColumnIndex i = 0; i < Count(); ++i) {
            TDataTreeColumn* other = Items(i);
            if (other != column && other->FPosition > column->FPosition) {
                --other->FPosition;
            }
        }
    }
    // Otherwise Update, once the column has left, renumbers the positions
    // from the map.
}
void TDataTreeColumns::RemoveColumnIndex(TColumnIndex index)
{
    // One pass: the removed index leaves the map, larger ones close up, so
    // the map stays a compact permutation of the remaining indices.
    std::erase(FPositionToIndex, index);
    for (TColumnIndex& entry : FPositionToIndex) {
        if (entry > index) {
            --entry;
        }
    }
    const auto renumber = [index](int& value) {
        if (value == index) {
            value = -1;
        } else if (value > index) {
            --value;
        }
    };
    renumber(FHoverIndex);
    renumber(FDownIndex);
    renumber(FTrackIndex);
    renumber(FClickIndex);
    renumber(FHeader->FAutoSizeIndex);
    renumber(FHeader->FSortColumn);
    if (FHeader->FMainColumn == index) {
        FHeader->FMainColumn = 0;
    } else if (FHeader->FMainColumn > index) {
        --FHeader->FMainColumn;
    }
    TBaseDataTree* tree = TreeView();
    if (!TreeLoading()) {
        TColumnIndex focused = tree->FFocusedColumn;
        renumber(focused);
        tree->FFocusedColumn = focused;
    }
}

void TDataTreeColumns::Clear()
{
    TBaseDataTree* tree = TreeView();
    FClearing = true;
    TryFinally(
        [&] {
            tree->CancelEditNode();
            FHoverIndex = FDownIndex = FTrackIndex = FClickIndex = -1;
            FCheckBoxHit = false;
            // A form names the header's indices before its columns.
            if (!FHeader->FStates.Contains(hsLoading) && !TreeLoading()) {
                FHeader->FAutoSizeIndex = -1;
                FHeader->SetMainColumn(-1);
                FHeader->FSortColumn = -1;
            }
            if (!TreeLoading()) {
                tree->FFocusedColumn = -1;
            }
            plat::TCollection::Clear();
            FPositionToIndex.clear();
        },
        [&] { FClearing = false; });
    if (UpdateCount() == 0) {
        Update(nullptr);
    }
}

void TDataTreeColumns::EndUpdate()
{
    if (UpdateCount() == 0) {
        return;
    }
    if (!FClearing) {
        InitializePositionArray();
        FixPositions();
    }
    plat::TCollection::EndUpdate();
}

void TDataTreeColumns::Assign(const TDataTreeColumns& source)
{
    BeginUpdate();
    TryFinally(
        [&] {
            FClearing = true;
            TryFinally([&] { plat::TCollection::Clear(); }, [&] { FClearing = false; });
            for (TColumnIndex i = 0; i < source.Count(); ++i) {
                Add()->Assign(*source.Items(i));
            }
            FPositionToIndex = source.FPositionToIndex;
            for (TColumnIndex i = 0; i < source.Count(); ++i) {
                Items(i)->FPosition = source.Items(i)->FPosition;
            }
        },
        [&] { EndUpdate(); });
    FNeedPositionsFix = false;
    UpdatePositions(true);
}

void TDataTreeColumns::Assign(const plat::TPersistent* source)
{
    if (const auto* columns = dynamic_cast<const TDataTreeColumns*>(source)) {
        Assign(*columns);
        return;
    }
    plat::TOwnedCollection::Assign(source);
}

bool TDataTreeColumns::Equals(const TDataTreeColumns& other) const
{
    if (other.Count() != Count() || other.FPositionToIndex != FPositionToIndex) {
        return false;
    }
    for (TColumnIndex i = 0; i < Count(); ++i) {
        if (!Items(i)->Equals(*other.Items(i))) {
            return false;
        }
    }
    return true;
}

void TDataTreeColumns::InitializePositionArray()
{
    const auto count = static_cast<std::size_t>(Count());
    if (FPositionToIndex.size() == count) {
        return;
    }
    if (FPositionToIndex.size() < count) {
        for (std::size_t slot = FPositionToIndex.size(); slot < count; ++slot) {
            FPositionToIndex.push_back(static_cast<TColumnIndex>(slot));
        }
        return;
    }
    // Shrinking: keep the surviving indices in their order, once each, and
    // append the ones that went missing.
    std::vector<bool> seen(count, false);
    std::vector<TColumnIndex> compact;
    compact.reserve(count);
    for (TColumnIndex entry : FPositionToIndex) {
        if (entry >= 0 && static_cast<std::size_t>(entry) < count && !seen[static_cast<std::size_t>(entry)]) {
            seen[static_cast<std::size_t>(entry)] = true;
            compact.push_back(entry);
        }
    }
    for (std::size_t index = 0; index < count; ++index) {
        if (!seen[index]) {
            compact.push_back(static_cast<TColumnIndex>(index));
        }
    }
    FPositionToIndex = std::move(compact);
}

void TDataTreeColumns::MovePosition(TDataTreeColumn* column, TColumnPosition position)
{
    const TColumnPosition old = column->FPosition;
    if (position == old || old >= FPositionToIndex.size() || position >= FPositionToIndex.size()) {
        return;
    }
    const auto first = FPositionToIndex.begin();
    if (old < position) {
        std::rotate(first + old, first + old + 1, first + position + 1);
    } else {
        std::rotate(first + position, first + old, first + old + 1);
    }
    FPositionToIndex[position] = column->FIndex;
}

void TDataTreeColumns::UpdatePositions(bool force)
{
    TBaseDataTree* tree = TreeView();
    if (tree->IsDestroying() || FNeedPositionsFix || (!force && UpdateCount() > 0)) {
        return;
    }
    // Lefts stop at the largest int rather than wrap past it.
    std::int64_t left = 0;
    for (std::size_t slot = 0; slot < FPositionToIndex.size(); ++slot) {
        const TColumnIndex index = FPositionToIndex[slot];
        if (!IsValidColumn(index)) {
            continue;
        }
        TDataTreeColumn* column = Items(index);
        column->FPosition = static_cast<TColumnPosition>(slot);
        column->FLeft = static_cast<int>(left);
        if (column->IsVisible()) {
            left = std::min<std::int64_t>(left + column->FWidth, std::numeric_limits<int>::max());
        }
    }
    tree->UpdateHorizontalScrollBar(false);
}

void TDataTreeColumns::FixPositions()
{
    std::vector<TDataTreeColumn*> sorted;
    sorted.reserve(static_cast<std::size_t>(Count()));
    for (TColumnIndex i = 0; i < Count(); ++i) {
        sorted.push_back(Items(i));
    }
    std::stable_sort(sorted.begin(), sorted.end(), [](const TDataTreeColumn* a, const TDataTreeColumn* b) {
        return a->FPosition != b->FPosition ? a->FPosition < b->FPosition : a->FIndex < b->FIndex;
    });
    FPositionToIndex.resize(sorted.size());
    for (std::size_t rank = 0; rank < sorted.size(); ++rank) {
        FPositionToIndex[rank] = sorted[rank]->FIndex;
        sorted[rank]->FPosition = static_cast<TColumnPosition>(rank);
    }
    FNeedPositionsFix = false;
    UpdatePositions(true);
}

void TDataTreeColumns::ReorderColumns(bool reverse)
{
    FPositionToIndex.resize(static_cast<std::size_t>(Count()));
    for (int i = 0; i < Count(); ++i) {
        FPositionToIndex[static_cast<std::size_t>(i)] = reverse ? Count() - i - 1 : i;
    }
    UpdatePositions(true);
}

void TDataTreeColumns::Update(plat::TCollectionItem* item)
{
    if (FClearing) {
        return;
    }
    InitializePositionArray();
    if (TreeLoading()) {
        FNeedPositionsFix = true;
    } else {
        UpdatePositions(false);
    }
    if (Count() > 0 && FHeader->FMainColumn < 0) {
        FHeader->SetMainColumn(0);
    }
    if (TreeLoading() || FHeader->FStates.Contains(hsLoading)) {
        return;
    }
    if (FHeader->FOptions.Contains(hoAutoResize)) {
        AdjustAutoSize(InvalidColumn, false);
    }
    if (item != nullptr) {
        FHeader->Invalidate(static_cast<TDataTreeColumn*>(item)->FIndex);
    } else if (TreeHasWindow()) {
        TBaseDataTree* tree = TreeView();
        tree->UpdateHorizontalScrollBar(false);
        FHeader->Invalidate();
        tree->Invalidate();
    }
}

int TDataTreeColumns::WalkStart(plat::TPoint point, bool relative) const
{
    const TBaseDataTree* tree = TreeView();
    int start = 0;
    if (relative && point.X >= GetVisibleFixedWidth()) {
        start = -tree->EffectiveOffsetX();
    }
    if (tree->UseRightToLeftAlignment()) {
        start += tree->ComputeRTLOffset(true);
    }
    return start;
}

TColumnIndex TDataTreeColumns::ColumnFromPosition(plat::TPoint point, bool relative) const
{
    if (point.X < 0 || point.Y < 0 || point.Y > TreeView()->Height()) {
        return InvalidColumn;
    }
    int right = WalkStart(point, relative);
    for (TColumnIndex index : FPositionToIndex) {
        const TDataTreeColumn* column = Items(index);
        if (!column->IsVisible()) {
            continue;
        }
        right += column->FWidth;
        if (point.X < right) {
            return index;
        }
    }
    return InvalidColumn;
}

TColumnIndex TDataTreeColumns::ColumnFromPosition(TColumnPosition positionIndex) const
{
    return positionIndex < FPositionToIndex.size() ? FPositionToIndex[positionIndex] : NoColumn;
}

TColumnIndex TDataTreeColumns::GetColumnAndBounds(plat::TPoint point, int& left, int& right, bool relative) const
{
    left = WalkStart(point, relative);
    right = left;
    bool first = true;
    for (TColumnIndex index : FPositionToIndex) {
        const TDataTreeColumn* column = Items(index);
        if (!column->IsVisible()) {
            continue;
        }
        right = left + column->FWidth;
        if (first && point.X < left) {
            return InvalidColumn;
        }
        first = false;
        if (point.X < right) {
            return index;
        }
        left = right;
    }
    return InvalidColumn;
}

void TDataTreeColumns::GetColumnBounds(TColumnIndex column, int& left, int& right) const
{
    const TBaseDataTree* tree = TreeView();
    if (column < 0) {
        left = 0;
        right = tree->ClientWidth();
        return;
    }
    const TDataTreeColumn* item = Items(column);
    left = item->Left();
    right = left + item->FWidth;
    if (tree->UseRightToLeftAlignment()) {
        const int offset = tree->ComputeRTLOffset(true);
        left += offset;
        right += offset;
    }
}

TColumnIndex TDataTreeColumns::GetFirstColumn() const
{
    return FPositionToIndex.empty() ? InvalidColumn : FPositionToIndex.front();
}

TColumnIndex TDataTreeColumns::GetFirstVisibleColumn(bool considerAllowFocus) const
{
    if (UpdateCount() > 0 || TreeLoading()) {
        return InvalidColumn;
    }
    for (TColumnIndex index : FPositionToIndex) {
        const TDataTreeColumn* column = Items(index);
        if (column->IsVisible() && (!considerAllowFocus || column->FOptions.Contains(coAllowFocus))) {
            return index;
        }
    }
    return InvalidColumn;
}

TColumnIndex TDataTreeColumns::GetLastVisibleColumn(bool considerAllowFocus) const
{
    if (UpdateCount() > 0 || TreeLoading()) {
        return InvalidColumn;
    }
    for (auto it = FPositionToIndex.rbegin(); it != FPositionToIndex.rend(); ++it) {
        const TDataTreeColumn* column = Items(*it);
        if (column->IsVisible() && (!considerAllowFocus || column->FOptions.Contains(coAllowFocus))) {
            return *it;
        }
    }
    return InvalidColumn;
}

TColumnIndex TDataTreeColumns::GetNextColumn(TColumnIndex column) const
{
    if (column < 0 || !IsValidColumn(column)) {
        return InvalidColumn;
    }
    const TColumnPosition position = Items(column)->FPosition;
    if (position + 1 >= FPositionToIndex.size()) {
        return InvalidColumn;
    }
    return FPositionToIndex[position + 1];
}

TColumnIndex TDataTreeColumns::GetPreviousColumn(TColumnIndex column) const
{
    if (column < 0 || !IsValidColumn(column)) {
        return InvalidColumn;
    }
    const TColumnPosition position = Items(column)->FPosition;
    if (position == 0 || position > FPositionToIndex.size()) {
        return InvalidColumn;
    }
    const TColumnIndex result = FPositionToIndex[position - 1];
    TreeAssert(result != column, "The previous column must not have the same position as the given column.");
    return result;
}

TColumnIndex TDataTreeColumns::GetNextVisibleColumn(TColumnIndex column, bool considerAllowFocus) const
{
    for (column = GetNextColumn(column); column != InvalidColumn; column = GetNextColumn(column)) {
        const TDataTreeColumn* item = Items(column);
        if (item->IsVisible() && (!considerAllowFocus || item->FOptions.Contains(coAllowFocus))) {
            break;
        }
    }
    return column;
}

TColumnIndex TDataTreeColumns::GetPreviousVisibleColumn(TColumnIndex column, bool considerAllowFocus) const
{
    for (column = GetPreviousColumn(column); column != InvalidColumn; column = GetPreviousColumn(column)) {
        const TDataTreeColumn* item = Items(column);
        if (item->IsVisible() && (!considerAllowFocus || item->FOptions.Contains(coAllowFocus))) {
            break;
        }
    }
    return column;
}

TColumnsArray TDataTreeColumns::GetVisibleColumns() const
{
    TColumnsArray visible;
    for (TColumnIndex index : FPositionToIndex) {
        if (IsValidColumn(index) && Items(index)->IsVisible()) {
            visible.push_back(Items(index));
        }
    }
    return visible;
}

int TDataTreeColumns::GetVisibleFixedWidth() const
{
    int width = 0;
    for (TColumnIndex i = 0; i < Count(); ++i) {
        const TDataTreeColumn* column = Items(i);
        if (column->IsVisible() && column->IsFixed()) {
            width += column->FWidth;
        }
    }
    return width;
}

int TDataTreeColumns::GetScrollWidth() const
{
    long long sum = 0;
    int count = 0;
    for (TColumnIndex i = 0; i < Count(); ++i) {
        const TDataTreeColumn* column = Items(i);
        if (column->IsVisible() && !column->IsFixed()) {
            sum += column->FWidth;
            ++count;
        }
    }
    if (count == 0) {
        return TreeView()->Indent();
    }
    // Halves round to even.
    return static_cast<int>(std::nearbyint(static_cast<double>(sum) / count));
}

int TDataTreeColumns::TotalWidth() const
{
    if (Count() == 0 || FPositionToIndex.empty()) {
        return 0;
    }
    TColumnIndex last = FPositionToIndex.back();
    if (!IsValidColumn(last)) {
        return 0;
    }
    if (!Items(last)->IsVisible()) {
        last = GetPreviousVisibleColumn(last);
        if (last == InvalidColumn) {
            return 0;
        }
    }
    const TDataTreeColumn* column = Items(last);
    return column->FLeft + column->FWidth;
}

namespace {

// Moves the pixels of strip (window coordinates) dx to the side, within strip.
void ScrollStrip(plat::TDeviceContext* dc, const plat::TRect& strip, int dx)
{
    const int width = static_cast<int>(strip.Width()) - std::abs(dx);
    if (width <= 0 || strip.IsEmpty()) {
        return;
    }
    const int from = dx > 0 ? static_cast<int>(strip.Left) : static_cast<int>(strip.Left) - dx;
    dc->BitBlt(from + dx, static_cast<int>(strip.Top), width, static_cast<int>(strip.Height()), dc, from,
               static_cast<int>(strip.Top), plat::SRCCOPY);
}

} // namespace

void TDataTreeColumns::AnimatedResize(TColumnIndex column, int newWidth)
{
    if (!IsValidColumn(column)) {
        return;
    }
    TDataTreeColumn* item = Items(column);
    newWidth = std::min(std::max(newWidth, item->FMinWidth), item->FMaxWidth);
    if (newWidth == item->FWidth) {
        return;
    }
    TBaseDataTree* tree = TreeView();
    const bool animated = !FHeader->FOptions.Contains(hoDisableAnimatedResize) &&
                          !item->FOptions.Contains(coDisableAnimatedResize) && tree->HandleAllocated();
    plat::HDC dc = animated ? plat::GetWindowDC(tree->Handle()) : nullptr;
    if (dc != nullptr) {
        TryFinally(
            [&] {
                // What lies right of the column's border, in the header band
                // and in the client area, follows the border in 32 steps.
                constexpr int steps = 32;
                const int stepSize = (newWidth - item->FWidth) / steps;
                const plat::TRect headerRect = tree->HeaderRect();
                const plat::TRect client = plat::GetClientAreaInWindow(tree->Handle());
                const int border = static_cast<int>(headerRect.Left) + item->Left() + item->FWidth;
                const int end = static_cast<int>(headerRect.Left) + tree->ClientWidth();
                plat::TRect headerStrip = plat::Rect(border, headerRect.Top, end, headerRect.Bottom);
                plat::TRect clientStrip = plat::Rect(border, client.Top, end, client.Top + tree->ClientHeight());
                if (stepSize > 0) {
                    plat::TLogBrush brush;
                    brush.Color = plat::ToColorRef(plat::ColorToRGB(tree->Color()));
                    dc->FillRect(plat::Rect(border, clientStrip.Top, border + stepSize, clientStrip.Bottom), brush);
                } else {
                    headerStrip.Left += stepSize;
                    clientStrip.Left += stepSize;
                }
                for (int step = 0; step < steps && stepSize != 0; ++step) {
                    ScrollStrip(dc, headerStrip, stepSize);
                    headerStrip.Left = std::min(headerStrip.Left + stepSize, headerStrip.Right);
                    ScrollStrip(dc, clientStrip, stepSize);
                    clientStrip.Left = std::min(clientStrip.Left + stepSize, clientStrip.Right);
                }
            },
            [&] { plat::ReleaseDC(tree->Handle(), dc); });
    }
    item->SetWidth(newWidth);
}

} // namespace qel
