// TDTHeader: the data tree's header strip above the client area. It owns
// the columns, its font and the fixed-area limits, and decides its height
// (within MinHeight .. MaxHeight and the percent limits), the main column
// (the one that shows the tree structure) and the sort column and direction.
#pragma once

#include "platform/canvas/colors.h"
#include "platform/canvas/graphics_types.h"
#include "platform/objects/persistent.h"
#include "platform/objects/set.h"
#include "widgets/tree/data_tree_columns.h"
#include "widgets/tree/fixed_area_constraints.h"

#include <cstdint>
#include <memory>
#include <string>

namespace plat {
struct TMessage;
class TStream;
class TFont;
class TChangeLink;
class TReader;
class TWriter;
class TComponent;
class TCustomImageList;
class TPopupMenu;
}

namespace qel {

class TBaseDataTree;
class TDTDragImage;

enum TDTHeaderOption {
    hoAutoResize,
    hoColumnResize,
    hoDblClickResize,
    hoDrag,
    hoHotTrack,
    hoOwnerDraw,
    hoRestrictDrag,
    hoShowHint,
    hoShowImages,
    hoShowSortGlyphs,
    hoVisible,
    hoAutoSpring,
    hoFullRepaintOnResize,
    hoDisableAnimatedResize,
    hoHeightResize,
    hoHeightDblClickResize,
    hoHeaderClickAutoSort,
    hoAutoColumnPopupMenu,
    hoAutoResizeInclCaption,
};
using TDTHeaderOptions = plat::TSet<TDTHeaderOption>;
// hoColumnResize, hoDrag, hoShowSortGlyphs (522).
inline const TDTHeaderOptions DefaultHeaderOptions{hoColumnResize, hoDrag, hoShowSortGlyphs};

enum TDTHeaderStyle : std::uint8_t { hsThickButtons, hsFlatButtons, hsPlates };

enum THeaderState {
    hsAutoSizing,    // reserved: no operation sets it
    hsDragging,
    hsDragPending,
    hsLoading,
    hsColumnWidthTracking,
    hsColumnWidthTrackPending,
    hsHeightTracking,
    hsHeightTrackPending,
    hsResizing,
    hsScaling,       // limits are being applied; column width limits wait
    hsNeedScaling,   // the limits are applied once the tree has a window
};
using THeaderStates = plat::TSet<THeaderState>;

enum TSmartAutoFitType : std::uint8_t { smaAllColumns, smaNoColumn, smaUseColumnOption };

class TDTHeader : public plat::TPersistent {
    PLAT_CLASS(TDTHeader, plat::TPersistent)
public:
    using TOwnerType = TBaseDataTree;

    // Makes the columns through GetColumnsClass.
    explicit TDTHeader(TBaseDataTree* owner);
    ~TDTHeader() override;

    TBaseDataTree* Treeview() const { return FOwner; }
    TPersistent* GetOwner() const override;
    TDataTreeColumns& Columns() const { return *FColumns; }
    // Columns as the stored object; setting copies the given columns.
    TDataTreeColumns* ColumnsObject() const { return FColumns.get(); }
    void SetColumns(const TDataTreeColumns* value);
    bool UseColumns() const { return FColumns->Count() > 0; }
    bool AllowFocus(TColumnIndex column) const;

    int Height() const { return FHeight; }
    void SetHeight(int value);
    int MinHeight() const { return FMinHeight; }
    void SetMinHeight(int value);
    int MaxHeight() const { return FMaxHeight; }
    void SetMaxHeight(int value);
    int DefaultHeight() const { return FDefaultHeight; }
    void SetDefaultHeight(int value);
    TDTHeaderOptions Options() const { return FOptions; }
    void SetOptions(TDTHeaderOptions value);
    TDTHeaderStyle Style() const { return FStyle; }
    void SetStyle(TDTHeaderStyle value);
    plat::TColor Background() const { return FBackgroundColor; }
    void SetBackground(plat::TColor value);
    int AutoSizeIndex() const { return FAutoSizeIndex; }
    void SetAutoSizeIndex(int value);
    // -1 without columns.
    TColumnIndex MainColumn() const;
    void SetMainColumn(TColumnIndex value);
    TColumnIndex SortColumn() const { return FSortColumn; }
    void SetSortColumn(TColumnIndex value);
    TSortDirection SortDirection() const { return FSortDirection; }
    void SetSortDirection(TSortDirection value);
    void ToggleSortDirection();
    // Sets column and direction together; the same column keeps its direction.
    virtual void DoSetSortColumn(TColumnIndex value, TSortDirection direction);
    int SplitterHitTolerance() const { return FSplitterHitTolerance; }
    void SetSplitterHitTolerance(int value) { FSplitterHitTolerance = value; }
    plat::TFont* Font() const { return FFont.get(); }
    void SetFont(const plat::TFont* value);
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool value);
    plat::TCustomImageList* Images() const { return FImages; }
    void SetImages(plat::TCustomImageList* value);
    plat::TPopupMenu* PopupMenu() const { return FPopupMenu; }
    // The tree hears of the menu's end and drops it from the header.
    void SetPopupMenu(plat::TPopupMenu* value);
    // A component the header refers to is gone: its images or menu.
    void ComponentRemoved(const plat::TComponent* component);
    TDTFixedAreaConstraints& FixedAreaConstraints() { return FFixedAreaConstraints; }
    // The constraints as the stored object; setting copies the given values.
    TDTFixedAreaConstraints* FixedAreaConstraintsObject() const
    {
        return const_cast<TDTFixedAreaConstraints*>(&FFixedAreaConstraints);
    }
    void SetFixedAreaConstraints(const TDTFixedAreaConstraints* value) { FFixedAreaConstraints.Assign(value); }
    THeaderStates States() const { return FStates; }
    void SetStates(THeaderStates value) { FStates = value; }
    // Below 0 reads as the main column.
    int RestoreSelectionColumnIndex() const;
    void SetRestoreSelectionColumnIndex(int value) { FRestoreSelectionColumnIndex = value; }

    // P in tree client coordinates (the header has negative y).
    virtual bool InHeader(plat::TPoint point) const;
    virtual bool InHeaderSplitterArea(plat::TPoint point) const;
    // Invalidates a column's button (the whole header for NoColumn) down to
    // the client's bottom; nothing without hoVisible or a window.
    void Invalidate(TColumnIndex column = NoColumn, bool expandToBorder = false, bool updateNowFlag = false);
    // The new height of the header band reaches the window's frame.
    virtual void UpdateNonClientArea();
    // Height := the largest column spacing times 1.5 plus the height of "Q"
    // in the header font (with toAutoChangeScale).
    virtual void AutoScale();
    virtual void ChangeScale(int m, int d);
    virtual void FontChanged();
    virtual void StyleChanged() { AutoScale(); }
    // Applies the height limits again and brings the fixed columns within
    // their share of the client width.
    void RecalculateHeader();
    // Fits the columns at the positions rangeStartCol .. rangeEndCol
    // (negative: from the first, to the last) to their content; animated
    // unless the tree is updating for the first form.
    void AutoFitColumns();
    virtual void AutoFitColumns(bool animated, TSmartAutoFitType smartAutoFitType = smaUseColumnOption,
                                int rangeStartCol = -1, int rangeEndCol = -1);
    // AutoFitColumns is running (the string tree then measures texts afresh).
    bool DoingAutoFitColumns() const { return FDoingAutoFitColumns; }
    // Spreads changeBy pixels over the columns rangeStartCol ..
    // rangeEndCol (indices) that have all of options, within their limits;
    // answers the change applied.
    int ResizeColumns(int changeBy, TColumnIndex rangeStartCol, TColumnIndex rangeEndCol,
                      TDTColumnOptions options = {});
    // Spring columns share the change of the header's width since the
    // last call.
    void UpdateSpringColumns();
    // Main column back into range, and onto a visible column.
    void UpdateMainColumn();
    void RestoreColumns();
    void Assign(const TDTHeader& source);
    void Assign(const plat::TPersistent* source) override;

    // ---- form description ----
    // The class of the column collection Create makes.
    virtual plat::TClass GetColumnsClass() const;
    // Whether the tree stores the columns as its "Columns" (always).
    virtual bool CanWriteColumns() const { return true; }
    // The tree's "Columns": the stored collection read into the columns
    // (cleared first, under hsLoading), and written with no property path.
    void ReadColumns(plat::TReader& reader);
    void WriteColumns(plat::TWriter& writer) const;

    // ---- stream ----
    // The header with its columns, fonts, limits and positions: a marker
    // of -1, version 6 and the fields.
    void SaveToStream(plat::TStream& stream);
    // Versions 0 to 6 and the old layout without a marker. A stream that
    // is short or holds impossible counts, orders or kinds raises and
    // leaves the header as it was.
    void LoadFromStream(plat::TStream& stream);

    // ---- mouse ----
    // The tree's window messages reach the header first; true when the
    // header handled the message (the tree then leaves it alone).
    virtual bool HandleMessage(plat::TMessage& message);
    // Whether p (client coordinates) lies on a resizable column border;
    // the column becomes the track column.
    virtual bool DetermineSplitterIndex(plat::TPoint p);
    // Whether the header's bottom border may be dragged (hoHeightResize).
    bool CanSplitterResize(plat::TPoint p);
    // The header's menu for a right click on column at p: PopupMenu, or
    // what the tree's OnGetPopupMenu leaves (asked without a node).
    virtual plat::TComponent* DoGetPopupMenu(TColumnIndex column, plat::TPoint p);
    // A column or the header is tracked or a column dragged (or pending).
    bool Tracking() const;
    // The picture of a column being dragged: no transparency fade, darkened
    // by 50, 140 of 255 opaque.
    TDTDragImage* DragImage() const;
    // The window system's cursor the header set last ("col-resize",
    // "row-resize"), for the record.
    const std::string& CursorName() const { return FCursorName; }

private:
    friend class TDataTreeColumns;
    friend class TDataTreeColumn;

    // value within MinHeight .. MaxHeight and the percent limits.
    int LimitHeight(int value) const;
    void SortIfAutomatic();
    void FixedAreaConstraintsChanged();
    // The stream's header record, applied field by field.
    void ReadFromStream(plat::TStream& stream);
    // The header's image list changed: repaint the header.
    void ImageListChange();
    // One handler per message of HandleMessage; true when handled.
    bool HandleCancel(plat::TMessage& message);       // focus loss, Escape
    bool HandleSetCursor(plat::TMessage& message);
    void HandleNCMouseMove(const plat::TMessage& message);
    bool HandleLeftButtonDown(plat::TMessage& message);
    bool HandleLeftButtonUp(plat::TMessage& message);
    bool HandleDoubleClick(plat::TMessage& message);
    void HandleNCButtonDown(const plat::TMessage& message);
    bool HandleNCRightButtonUp(const plat::TMessage& message);
    void HandleNCMiddleButtonUp(const plat::TMessage& message);
    bool HandleHeaderTimer(plat::TMessage& message);
    bool HandleHeaderMouseMove(plat::TMessage& message);
    // A dragged column let go at drop (screen): moved before or after the
    // drop target, or reported as dragged out.
    void DropDraggedColumn(plat::TPoint drop);
    // The message's point in client coordinates (screen ones for non-client messages).
    plat::TPoint MessagePoint(const plat::TMessage& message, bool client) const;
    bool Designing() const;
    // The published Columns are stored while the tree is not being designed.
    bool ColumnsStored() const { return !Designing(); }
    bool FontStored() const { return !FParentFont; }
    // p (client coordinates) on a resizable column border / the bottom border.
    bool OnColumnBorder(plat::TPoint p);
    bool OnHeightBorder(plat::TPoint p);
    void CancelTreeHint() const;
    // Removes the tracking states; with fireAfterEvents the after-tracking
    // events of what was active fire.
    void EndTracking(bool fireAfterEvents);
    void PrepareDrag(plat::TPoint p, plat::TPoint start);
    bool DragTo(plat::TPoint p);
    bool TreeLoading() const;
    bool TreeHasWindow() const;

    TBaseDataTree* FOwner;
    std::unique_ptr<TDataTreeColumns> FColumns;
    int FHeight = 19;
    std::unique_ptr<plat::TFont> FFont;
    bool FParentFont = true;
    TDTHeaderOptions FOptions = DefaultHeaderOptions;
    TDTHeaderStyle FStyle = hsThickButtons;
    plat::TColor FBackgroundColor = plat::clBtnFace;
    int FAutoSizeIndex = 0;
    plat::TPopupMenu* FPopupMenu = nullptr;
    TColumnIndex FMainColumn = -1;
    int FMaxHeight = 10000;
    int FMinHeight = 10;            // never above FMaxHeight
    int FDefaultHeight = 19;
    TDTFixedAreaConstraints FFixedAreaConstraints;
    plat::TCustomImageList* FImages = nullptr;    // not owned; followed by the change link
    std::unique_ptr<plat::TChangeLink> FImageChangeLink;
    int FSplitterHitTolerance = 8;
    TColumnIndex FSortColumn = -1;
    TSortDirection FSortDirection = sdAscending;
    int FRestoreSelectionColumnIndex = 0;
    THeaderStates FStates;
    int FLastWidth = 0;   // the header's width at the last spring update
    plat::TPoint FDragStart;      // screen point of the press
    plat::TPoint FTrackStart;     // client point of the press on a border
    plat::TPoint FTrackPoint;     // where width tracking measures from
    bool FWasDoubleClick = false; // the next release is the end of a double click
    bool FDoingAutoFitColumns = false;
    std::unique_ptr<TDTDragImage> FDragImage;
    std::string FCursorName;
};

} // namespace qel
