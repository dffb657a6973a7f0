// TDataTreeColumns: the header's ordered columns with the map from display
// position to column index, the navigation among columns by position, the
// columns' places in the client area, and the animated width change.
//
// Invariant outside updates: FPositionToIndex holds each index
// 0 .. Count - 1 once, the column at slot p has Position p, and each
// column's left border is the sum of the visible widths before it.
#pragma once

#include "platform/canvas/graphics_types.h"
#include "platform/controls/control_types.h"
#include "widgets/tree/data_tree_column.h"
#include "widgets/tree/header_paint_info.h"

#include <memory>
#include <vector>

namespace plat {
class TStream;
class TBitmap;
class TCanvas;
class TDeviceContext;
class TPopupMenu;
}

namespace qel {

class TDTHeader;
class TBaseDataTree;

using TColumnsArray = std::vector<TDataTreeColumn*>;

class TDataTreeColumns : public plat::TOwnedCollection {
    PLAT_CLASS(TDataTreeColumns, plat::TOwnedCollection)
public:
    using TOwnerType = TDTHeader;

    // A collection of the tree's column class (its GetColumnClass).
    explicit TDataTreeColumns(TDTHeader* header);
    ~TDataTreeColumns() override;

    TDTHeader* Header() const { return FHeader; }
    TBaseDataTree* TreeView() const;
    // Raises EListError outside 0 .. Count - 1.
    TDataTreeColumn* Items(TColumnIndex index) const;
    TDataTreeColumn* operator[](TColumnIndex index) const { return Items(index); }
    bool IsValidColumn(TColumnIndex column) const { return column >= 0 && column < Count(); }

    // A new last column; only on the user-interface thread.
    virtual TDataTreeColumn* Add();
    // Delete (the collection's) frees a column; Notify renumbers indices
    // and positions.
    void Clear() override;
    // Rebuilds the positions, then reports the change once the count is 0.
    void EndUpdate() override;
    void Assign(const TDataTreeColumns& source);
    void Assign(const plat::TPersistent* source) override;
    bool Equals(const TDataTreeColumns& other) const;

    int DefaultWidth() const { return FDefaultWidth; }
    void SetDefaultWidth(int value) { FDefaultWidth = value; }
    int HoverIndex() const { return FHoverIndex; }
    int DownIndex() const { return FDownIndex; }
    int TrackIndex() const { return FTrackIndex; }
    int ClickIndex() const { return FClickIndex; }
    const std::vector<TColumnIndex>& PositionToIndex() const { return FPositionToIndex; }

    // The column under a point in header coordinates; InvalidColumn outside
    // every column. relative counts the horizontal scroll offset for points
    // right of the fixed columns.
    virtual TColumnIndex ColumnFromPosition(plat::TPoint point, bool relative = true) const;
    // The column at a display position; NoColumn past the last one.
    virtual TColumnIndex ColumnFromPosition(TColumnPosition positionIndex) const;
    void GetColumnBounds(TColumnIndex column, int& left, int& right) const;
    TColumnIndex GetColumnAndBounds(plat::TPoint point, int& left, int& right, bool relative = true) const;
    TColumnIndex GetFirstColumn() const;
    TColumnIndex GetFirstVisibleColumn(bool considerAllowFocus = false) const;
    TColumnIndex GetLastVisibleColumn(bool considerAllowFocus = false) const;
    TColumnIndex GetNextColumn(TColumnIndex column) const;
    TColumnIndex GetNextVisibleColumn(TColumnIndex column, bool considerAllowFocus = false) const;
    TColumnIndex GetPreviousColumn(TColumnIndex column) const;
    TColumnIndex GetPreviousVisibleColumn(TColumnIndex column, bool considerAllowFocus = false) const;
    TColumnsArray GetVisibleColumns() const;
    int GetVisibleFixedWidth() const;
    // The average width of the visible scrolling columns (the horizontal
    // scroll step); the tree's Indent when there is none.
    int GetScrollWidth() const;
    // The right border of the last visible column, unscrolled.
    int TotalWidth() const;
    // Changes a column's width in 32 steps that move the window contents,
    // then sets it.
    void AnimatedResize(TColumnIndex column, int newWidth);
    // Gives the auto-size column the client width the others leave.
    virtual void AdjustAutoSize(TColumnIndex currentIndex, bool force = false);

    // Paints the header band r (window coordinates) onto dc: through the
    // header bitmap, fixed columns in place, the others moved by hOffset
    // (minus the effective horizontal offset).
    virtual void PaintHeader(plat::TDeviceContext* dc, const plat::TRect& r, int hOffset);
    // Paints the part r of the header (x from the first column's start)
    // with its top left at target.
    virtual void PaintHeader(plat::TCanvas& targetCanvas, plat::TRect r, plat::TPoint target, int rtlOffset = 0);
    // The off-screen surface of header painting (32 bits per pixel), kept
    // between paints.
    plat::TBitmap* HeaderBitmap() const { return FHeaderBitmap.get(); }
    // A caption in bounds: shortened with "..." unless wrapped, in the
    // header (hot) colour, or embossed when disabled.
    void DrawButtonText(plat::TDeviceContext* dc, const std::string& caption, const plat::TRect& bounds, bool enabled,
                        bool hot, std::uint32_t drawFormat, bool wrapCaption);
    // The hot and the pressed column (-1 for none), as the header's mouse
    // handling sets them; the button looks follow at the next paint.
    void SetHoverIndex(int value) { FHoverIndex = value; }
    void SetDownIndex(int value) { FDownIndex = value; }
    // The column of the last press (in the header or the tree's client).
    void SetClickIndex(int value) { FClickIndex = value; }
    bool CheckBoxHit() const { return FCheckBoxHit; }
    void SetCheckBoxHit(bool value) { FCheckBoxHit = value; }
    void SetDragState(int dragIndex, int dropTarget, bool dropBefore)
    {
        FDragIndex = dragIndex;
        FDropTarget = dropTarget;
        FDropBefore = dropBefore;
    }
    // Header mouse: resizability of a column border (OnCanSplitterResizeColumn),
    // the hot column under p (client coordinates; true when it changed), the
    // column pressed at p, and a click's handling (true when it sorted or
    // opened a menu).
    bool CanSplitterResize(plat::TPoint p, TColumnIndex column);
    bool UpdateHoverIndex(plat::TPoint p);
    TColumnIndex AdjustDownColumn(plat::TPoint p);
    virtual bool HandleClick(plat::TPoint p, plat::TMouseButton button, bool force, bool dblClick);
    // Whether q (header coordinates) lies on the image or check box the
    // column showed in the last paint of the header band.
    bool ImageHit(const TDataTreeColumn& column, plat::TPoint q) const;
    // Where the dragged column lands (drop marks): set by header dragging.
    int DragIndex() const { return FDragIndex; }
    int DropTarget() const { return FDropTarget; }
    bool DropBefore() const { return FDropBefore; }

    // The columns, the position map and the default width.
    void SaveToStream(plat::TStream& stream);
    void LoadFromStream(plat::TStream& stream, int version);

    // Rebuilds the position array from the columns' Position values.
    void FixPositions();
    // Slot i shows column Count - 1 - i (reverse) or column i.
    void ReorderColumns(bool reverse);

private:
    friend class TDataTreeColumn;
    friend class TDTHeader;

    bool TreeLoading() const;
    bool TreeHasWindow() const;
    // Position array of length Count: grown with new slots numbered after
    // themselves, shrunk to a compact permutation that keeps the surviving
    // order and appends the missing indices.
    void InitializePositionArray();
    void MovePosition(TDataTreeColumn* column, TColumnPosition position);
    // Positions and left borders from the array, then the scroll bar.
    void UpdatePositions(bool force = false);
    // The change hook: one column changed, or all of them (nullptr).
    void Update(plat::TCollectionItem* item) override;
    // A column joins (its index) or leaves (indices and positions close up).
    void Notify(plat::TCollectionItem* item, plat::TCollectionNotification action) override;
    // Removes a column's index from the array and every index kept
    // elsewhere, in one step.
    void RemoveColumnIndex(TColumnIndex index);
    void PaintColumn(THeaderPaintInfo& paintInfo, TColumnIndex index, const plat::TRect& button,
                     bool advancedOwnerDraw);
    // The x where position walks start (scroll and right-to-left shifts).
    int WalkStart(plat::TPoint point, bool relative) const;

    TDTHeader* FHeader;
    std::vector<TColumnIndex> FPositionToIndex;             // column index for each position
    int FHoverIndex = -1;
    int FDownIndex = -1;
    int FTrackIndex = -1;
    int FClickIndex = -1;
    bool FCheckBoxHit = false;
    int FDefaultWidth = 50;
    bool FNeedPositionsFix = false;   // positions are rebuilt after loading
    bool FClearing = false;
    std::unique_ptr<plat::TBitmap> FHeaderBitmap;   // kept between paints
    int FDragIndex = 0;
    int FDropTarget = -1;
    bool FDropBefore = false;
    // The automatic column menu of the last right click (owned by the tree).
    plat::TPopupMenu* FColumnPopupMenu = nullptr;
};

} // namespace qel
