// The data tree's header: height and its limits, options, main and sort
// column, font and scaling, and the header band's place above the client
// area.
#include "widgets/tree/dt_header.h"

#include "widgets/tree/dt_drag_image.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/canvas.h"
#include "platform/canvas/graphics_objects.h"
#include "platform/canvas/image_list.h"
#include "platform/controls/standard/popup_menu.h"
#include "platform/controls/window.h"
#include "platform/controls/window_paint.h"
#include "platform/controls/window_styles.h"
#include "widgets/tree/base_data_tree.h"

#include <algorithm>

namespace qel {

TDTHeader::TDTHeader(TBaseDataTree* owner)
    : FOwner(owner), FFont(std::make_unique<plat::TFont>()), FImageChangeLink(std::make_unique<plat::TChangeLink>())
{
    FColumns.reset(GetColumnsClass()->CreateAs<TDataTreeColumns>(this));
    FFont->Assign(owner->Font());
    FFont->OnChange = [this](plat::TObject*) { FontChanged(); };
    FImageChangeLink->OnChange = [this](plat::TObject*) { ImageListChange(); };
    FDragImage = std::make_unique<TDTDragImage>(owner);
    FDragImage->SetFade(false);
    FDragImage->SetPreBlendBias(-50);
    FDragImage->SetTransparency(140);
    FFixedAreaConstraints.OnChange = [this] { FixedAreaConstraintsChanged(); };
}

TDTHeader::~TDTHeader()
{
    FFont->OnChange = nullptr;
    FFixedAreaConstraints.OnChange = nullptr;
}

plat::TPersistent* TDTHeader::GetOwner() const
{
    return FOwner;
}

bool TDTHeader::TreeLoading() const
{
    return FOwner->Loading();
}

bool TDTHeader::TreeHasWindow() const
{
    return FOwner->HandleAllocated();
}

bool TDTHeader::AllowFocus(TColumnIndex column) const
{
    return FColumns->IsValidColumn(column) && FColumns->Items(column)->Options().Contains(coAllowFocus);
}

int TDTHeader::LimitHeight(int value) const
{
    const long long total = static_cast<long long>(FOwner->ClientHeight()) + FHeight;
    const int maxPercent = FFixedAreaConstraints.MaxHeightPercent();
    const int minPercent = FFixedAreaConstraints.MinHeightPercent();
    const int heightMax = static_cast<int>(total * maxPercent / 100);
    const int heightMin = static_cast<int>(total * minPercent / 100);
    const int lower = maxPercent > 0 ? std::min(heightMax, FMinHeight) : FMinHeight;
    const int upper = minPercent > 0 ? std::max(heightMin, FMaxHeight) : FMaxHeight;
    int height = std::min(std::max(value, lower), upper);
    if (minPercent > 0) {
        height = std::max(height, heightMin);
    }
    if (maxPercent > 0) {
        height = std::min(height, heightMax);
    }
    return height;
}

void TDTHeader::SetHeight(int value)
{
    if (!TreeHasWindow()) {
        FHeight = value;
        FStates.Include(hsNeedScaling);
        return;
    }
    const int height = LimitHeight(value);
    if (height == FHeight) {
        return;
    }
    FHeight = height;
    if (!TreeLoading() && !FStates.Contains(hsScaling)) {
        UpdateNonClientArea();
    }
    FOwner->Invalidate();
}

void TDTHeader::SetMinHeight(int value)
{
    FMinHeight = std::min(std::max(value, 0), FMaxHeight);
    SetHeight(FHeight);
}

void TDTHeader::SetMaxHeight(int value)
{
    FMaxHeight = std::max(value, FMinHeight);
    SetHeight(FHeight);
}

void TDTHeader::SetDefaultHeight(int value)
{
    value = std::clamp(value, FMinHeight, FMaxHeight);
    if (FHeight == FDefaultHeight) {
        SetHeight(value);
    }
    FDefaultHeight = value;
}

void TDTHeader::UpdateNonClientArea()
{
    if (!TreeHasWindow()) {
        return;
    }
    FOwner->UpdateHeaderRect();
    plat::SetWindowPos(FOwner->Handle(), 0, 0, 0, 0, 0,
                       plat::SWP_NOSIZE | plat::SWP_NOMOVE | plat::SWP_NOZORDER | plat::SWP_NOACTIVATE |
                           plat::SWP_FRAMECHANGED | plat::SWP_NOOWNERZORDER | plat::SWP_NOSENDCHANGING);
}

void TDTHeader::SetOptions(TDTHeaderOptions value)
{
    if (value == FOptions) {
        return;
    }
    const TDTHeaderOptions old = FOptions;
    FOptions = value;
    const bool autoResizeChanged = old.Contains(hoAutoResize) != value.Contains(hoAutoResize);
    if (autoResizeChanged && FColumns->Count() > 0) {
        FColumns->AdjustAutoSize(InvalidColumn, false);
        if (TreeHasWindow()) {
            FOwner->UpdateHorizontalScrollBar(false);
            if (value.Contains(hoAutoResize)) {
                FOwner->Invalidate();
            }
        }
    }
    if (TreeLoading() || !TreeHasWindow()) {
        return;
    }
    if (old.Contains(hoVisible) != value.Contains(hoVisible)) {
        UpdateNonClientArea();
    }
    Invalidate();
    FOwner->Invalidate();
}

void TDTHeader::SetStyle(TDTHeaderStyle value)
{
    if (value == FStyle) {
        return;
    }
    FStyle = value;
    if (!TreeLoading()) {
        StyleChanged();
        Invalidate();
    }
}

void TDTHeader::SetBackground(plat::TColor value)
{
    if (value != FBackgroundColor) {
        FBackgroundColor = value;
        Invalidate();
    }
}

void TDTHeader::SetAutoSizeIndex(int value)
{
    if (value == FAutoSizeIndex) {
        return;
    }
    FAutoSizeIndex = value;
    if (FOptions.Contains(hoAutoResize)) {
        FColumns->AdjustAutoSize(InvalidColumn, false);
    }
}

TColumnIndex TDTHeader::MainColumn() const
{
    return FColumns->Count() == 0 ? NoColumn : FMainColumn;
}

void TDTHeader::SetMainColumn(TColumnIndex value)
{
    if (TreeLoading() || FOwner->IsDestroying()) {
        FMainColumn = value;
        return;
    }
    value = std::max(value, 0);
    value = std::min(value, FColumns->Count() - 1);
    if (value == FMainColumn) {
        return;
    }
    FMainColumn = value;
    FOwner->MainColumnChanged();
    if (!FOwner->TreeOptions()->SelectionOptions().Contains(toExtendedFocus)) {
        FOwner->SetFocusedColumn(FMainColumn);
    }
    FOwner->Invalidate();
}

void TDTHeader::UpdateMainColumn()
{
    if (FMainColumn < 0) {
        FMainColumn = 0;
    }
    if (FMainColumn > FColumns->Count() - 1) {
        FMainColumn = FColumns->Count() - 1;
    }
    if (FColumns->IsValidColumn(FMainColumn) && !FColumns->Items(FMainColumn)->IsVisible()) {
        const TColumnIndex first = FColumns->GetFirstVisibleColumn();
        SetMainColumn(first == InvalidColumn ? FMainColumn : first);
    }
}

void TDTHeader::SetSortColumn(TColumnIndex value)
{
    if (TreeLoading()) {
        FSortColumn = value;
        return;
    }
    DoSetSortColumn(value, FSortDirection);
}

void TDTHeader::DoSetSortColumn(TColumnIndex value, TSortDirection direction)
{
    value = std::max(value, -1);
    value = std::min(value, FColumns->Count() - 1);
    if (value == FSortColumn) {
        return;
    }
    if (FSortColumn >= 0) {
        Invalidate(FSortColumn);
    }
    FSortColumn = value;
    FSortDirection = direction;
    if (FSortColumn >= 0) {
        Invalidate(FSortColumn);
    }
    SortIfAutomatic();
}

void TDTHeader::SetSortDirection(TSortDirection value)
{
    if (value == FSortDirection) {
        return;
    }
    FSortDirection = value;
    Invalidate();
    SortIfAutomatic();
}

void TDTHeader::SortIfAutomatic()
{
    const bool automatic = FOwner->TreeOptions()->AutoOptions().Contains(toAutoSort) ||
                           FOptions.Contains(hoHeaderClickAutoSort);
    if (automatic && !FOwner->IsUpdating()) {
        FOwner->SortTree(FSortColumn, FSortDirection, true);
    }
}

void TDTHeader::ToggleSortDirection()
{
    SetSortDirection(FSortDirection == sdDescending ? sdAscending : sdDescending);
}

int TDTHeader::RestoreSelectionColumnIndex() const
{
    return FRestoreSelectionColumnIndex < 0 ? MainColumn() : FRestoreSelectionColumnIndex;
}

void TDTHeader::SetFont(const plat::TFont* value)
{
    FFont->Assign(value);
    FParentFont = false;
}

void TDTHeader::SetParentFont(bool value)
{
    if (value == FParentFont) {
        return;
    }
    FParentFont = value;
    if (value) {
        FFont->Assign(FOwner->Font());
    }
}

void TDTHeader::FontChanged()
{
    AutoScale();
}

void TDTHeader::AutoScale()
{
    if (!FOwner->TreeOptions()->AutoOptions().Contains(toAutoChangeScale)) {
        return;
    }
    int spacing = 0;
    for (int i = 0; i < FColumns->Count(); ++i) {
        spacing = std::max(spacing, FColumns->Items(i)->Spacing());
    }
    plat::TBitmap measure(1, 1);
    measure.Canvas()->Font()->Assign(FFont.get());
    const int textHeight = measure.Canvas()->TextHeight("Q");
    SetHeight(spacing + spacing / 2 + textHeight);
}

void TDTHeader::ChangeScale(int m, int d)
{
    FMinHeight = plat::MulDiv(FMinHeight, m, d);
    FMaxHeight = std::max(plat::MulDiv(FMaxHeight, m, d), FMinHeight);
    SetHeight(plat::MulDiv(FHeight, m, d));
    for (int i = 0; i < FColumns->Count(); ++i) {
        FColumns->Items(i)->ChangeScale(m, d);
    }
    if (!FParentFont) {
        FFont->SetHeight(plat::MulDiv(FFont->Height(), m, d));
    }
}

void TDTHeader::SetImages(plat::TCustomImageList* value)
{
    if (value == FImages) {
        return;
    }
    plat::TCustomImageList* const old = FImages;
    if (old != nullptr) {
        old->UnRegisterChanges(FImageChangeLink.get());
    }
    FImages = value;
    // The tree hears of the list's end (and drops it from the header); a
    // list the tree itself still shows stays followed.
    if (old != nullptr && !FOwner->HoldsImageList(old)) {
        old->RemoveFreeNotification(FOwner);
    }
    if (value != nullptr) {
        value->RegisterChanges(FImageChangeLink.get());
        value->FreeNotification(FOwner);
    }
    if (!TreeLoading()) {
        Invalidate();
    }
}

void TDTHeader::SetPopupMenu(plat::TPopupMenu* value)
{
    FPopupMenu = value;
    if (value != nullptr) {
        value->FreeNotification(FOwner);
    }
}

void TDTHeader::ImageListChange()
{
    if (!FOwner->IsDestroying()) {
        Invalidate();
    }
}

void TDTHeader::ComponentRemoved(const plat::TComponent* component)
{
    if (component == FImages) {
        FImages = nullptr;
    }
    if (component == FPopupMenu) {
        FPopupMenu = nullptr;
    }
}

void TDTHeader::FixedAreaConstraintsChanged()
{
    if (TreeHasWindow()) {
        RecalculateHeader();
    } else {
        FStates.Include(hsNeedScaling);
    }
}

void TDTHeader::RestoreColumns()
{
    const std::vector<TColumnIndex> order = FColumns->PositionToIndex();
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        TDataTreeColumn* column = FColumns->Items(*it);
        if (column->IsVisible() && column->Options().Contains(coResizable)) {
            column->RestoreLastWidth();
        }
    }
}

bool TDTHeader::InHeader(plat::TPoint point) const
{
    if (!TreeHasWindow()) {
        return false;
    }
    const plat::TRect client = plat::GetClientAreaInWindow(FOwner->Handle());
    const plat::TRect header = plat::OffsetRect(FOwner->HeaderRect(), -client.Left, -client.Top);
    return header.Contains(point.X, point.Y);
}

bool TDTHeader::InHeaderSplitterArea(plat::TPoint point) const
{
    if (!FOptions.Contains(hoVisible) || point.Y < -2 || point.Y > 2 || !TreeHasWindow()) {
        return false;
    }
    const plat::TRect client = plat::GetClientAreaInWindow(FOwner->Handle());
    plat::TRect header = plat::OffsetRect(FOwner->HeaderRect(), -client.Left, -client.Top);
    header.Bottom += 2;
    return header.Contains(point.X, point.Y);
}

void TDTHeader::Invalidate(TColumnIndex column, bool expandToBorder, bool updateNowFlag)
{
    if (!FOptions.Contains(hoVisible) || !TreeHasWindow()) {
        return;
    }
    const plat::TRect headerRect = FOwner->HeaderRect();
    plat::TRect r = headerRect;
    const bool rightToLeft = FOwner->UseRightToLeftAlignment();
    if (FColumns->IsValidColumn(column)) {
        const TDataTreeColumn* item = FColumns->Items(column);
        r = item->GetRect();
        if (!item->IsFixed()) {
            r = plat::OffsetRect(r, -FOwner->EffectiveOffsetX(), 0);
        }
        if (rightToLeft) {
            r = plat::OffsetRect(r, FOwner->ComputeRTLOffset(false), 0);
        }
        if (expandToBorder) {
            if (FOptions.Contains(hoFullRepaintOnResize)) {
                r.Left = headerRect.Left;
                r.Right = headerRect.Right;
            } else if (rightToLeft) {
                r.Left = headerRect.Left;
            } else {
                r.Right = headerRect.Right;
            }
        }
    }
    const plat::TRect client = plat::GetClientAreaInWindow(FOwner->Handle());
    r.Bottom = client.Top + FOwner->ClientHeight();
    r = plat::OffsetRect(r, -client.Left, -client.Top);
    // Validating as well would take back the client part just marked here.
    std::uint32_t flags = plat::RDW_INVALIDATE | plat::RDW_FRAME | plat::RDW_NOERASE | plat::RDW_NOCHILDREN |
                          plat::RDW_NOINTERNALPAINT;
    if (updateNowFlag) {
        flags |= plat::RDW_UPDATENOW;
    }
    plat::RedrawWindow(FOwner->Handle(), &r, nullptr, flags);
}

void TDTHeader::SetColumns(const TDataTreeColumns* value)
{
    FColumns->Assign(value);
}

void TDTHeader::Assign(const plat::TPersistent* source)
{
    if (const auto* header = dynamic_cast<const TDTHeader*>(source)) {
        Assign(*header);
        return;
    }
    plat::TPersistent::Assign(source);
}

void TDTHeader::Assign(const TDTHeader& source)
{
    SetAutoSizeIndex(source.FAutoSizeIndex);
    SetBackground(source.FBackgroundColor);
    FColumns->Assign(*source.FColumns);
    SetFont(source.FFont.get());
    FFixedAreaConstraints.Assign(source.FFixedAreaConstraints);
    SetHeight(source.FHeight);
    SetImages(source.FImages);
    SetMainColumn(source.FMainColumn);
    SetOptions(source.FOptions);
    SetParentFont(source.FParentFont);
    SetPopupMenu(source.FPopupMenu);
    SetSortColumn(source.FSortColumn);
    SetSortDirection(source.FSortDirection);
    SetStyle(source.FStyle);
    RecalculateHeader();
}

} // namespace qel
