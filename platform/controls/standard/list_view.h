// TListView: rows of cells under a header of columns (the report view),
// each row with a check box in its first column when Checkboxes is on. A
// click on a box or Space on the focused row toggles its check; the arrow,
// page, Home and End keys move the focused row; the header's sections are
// pressed and clicked only with ColumnClick; the rows scroll vertically by
// whole rows and the columns horizontally by pixels, with scroll bars that
// show only when the content overflows.
#pragma once

#include "platform/controls/custom_control.h"
#include "platform/controls/standard/list_view_items.h"

#include <memory>

namespace plat {

using TLVCheckedItemEvent = TEvent<void(TObject* sender, TListItem* item)>;
using TLVColumnClickEvent = TEvent<void(TObject* sender, TListColumn* column)>;

class TListView : public TCustomControl {
    PLAT_CLASS(TListView, TCustomControl)
    PLAT_MESSAGES(TListView, TCustomControl)
public:
    explicit TListView(TComponent* owner);
    ~TListView() override;

    TListColumns& Columns() { return *FColumns; }
    TListItems& Items() { return *FItems; }
    bool Checkboxes() const { return FCheckboxes; }
    void SetCheckboxes(bool value);
    bool ColumnClick() const { return FColumnClick; }
    void SetColumnClick(bool value) { FColumnClick = value; }
    bool ShowColumnHeaders() const { return FShowColumnHeaders; }
    void SetShowColumnHeaders(bool value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value) { FReadOnly = value; }
    // The focused (and selected) row, -1 for none.
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int value);
    // The first row shown.
    int TopIndex() const { return FTopIndex; }
    int RowHeight();
    int HeaderHeight();
    // Rows that fit below the header entirely (at least one).
    int VisibleRows();
    // The row and column at a client point; -1 when there is none.
    int RowAt(TPoint point);
    int ColumnAt(TPoint point);
    // Where the check box of a row is drawn, in client coordinates.
    TRect CheckBoxRect(int row);

    TLVCheckedItemEvent OnItemChecked;
    TLVColumnClickEvent OnColumnClick;

    // ---- for the columns and rows ----
    // The width that fits a column's cells (and caption).
    int FittingWidth(int column, bool withCaption);
    void ColumnsChanged();
    void ItemsChanged();
    void ItemChecked(TListItem* item);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;

    void WMGetDlgCode(TMessage& message);
    void WMKeyDown(TMessage& message);
    void WMVScroll(TMessage& message);
    void WMHScroll(TMessage& message);
    void WMSize(TMessage& message);
    void WMSetFocus(TMessage& message);
    void WMKillFocus(TMessage& message);

private:
    void PaintHeader(TCanvas& canvas);
    void PaintRow(TCanvas& canvas, int row, const TRect& bounds);
    int ContentWidth() const;
    void SetTopIndex(int value);
    void SetScrollX(int value);
    void UpdateScrollBars();
    void ToggleCheck(int row);

    std::unique_ptr<TListColumns> FColumns;
    std::unique_ptr<TListItems> FItems;
    bool FCheckboxes = false;
    bool FColumnClick = true;
    bool FShowColumnHeaders = true;
    bool FReadOnly = false;
    int FItemIndex = -1;
    int FTopIndex = 0;
    int FScrollX = 0;             // pixels of the columns scrolled off to the left
    int FPressedColumn = -1;      // the header section held down
};

} // namespace plat
