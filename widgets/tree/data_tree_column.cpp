// One header column: its setters with their width limits, the fixed-column
// rules, and its place in the header and client area.
#include "widgets/tree/data_tree_column.h"

#include "widgets/tree/base_data_tree.h"
#include "widgets/tree/data_tree_columns.h"
#include "widgets/tree/dt_header.h"

#include <algorithm>

namespace qel {

TDataTreeColumn::TDataTreeColumn(plat::TCollection* collection) : plat::TCollectionItem(nullptr)
{
    // A column of a derived class is not yet of the collection's item class
    // here: the collection's Add takes it in once it is built.
    if (collection != nullptr && InheritsFrom(collection->ItemClass())) {
        SetCollection(collection);
    }
}

TDataTreeColumn::~TDataTreeColumn()
{
    LeaveCollectionForFree();
}

void TDataTreeColumn::SetCollection(plat::TCollection* collection)
{
    plat::TCollectionItem::SetCollection(collection);
    if (collection == nullptr) {
        FOwner = nullptr;
        FIndex = NoColumn;
    }
}

void TDataTreeColumn::JoinedCollection(TDataTreeColumns* owner)
{
    FOwner = owner;
    FIndex = owner->Count() - 1;
    FWidth = owner->DefaultWidth();
    FLastWidth = FWidth;
    FPosition = static_cast<TColumnPosition>(FIndex);
    FColor = Tree()->Color();
    ParentBiDiModeChanged();
    ParentColorChanged();
}

TDTHeader* TDataTreeColumn::Header() const
{
    return FOwner->Header();
}

TBaseDataTree* TDataTreeColumn::Tree() const
{
    return FOwner->TreeView();
}

void TDataTreeColumn::Changed()
{
    plat::TCollectionItem::Changed(false);
}

int TDataTreeColumn::Left() const
{
    if (IsVisible() && IsFixed()) {
        return FLeft;
    }
    return FLeft - Tree()->EffectiveOffsetX();
}

void TDataTreeColumn::GetAbsoluteBounds(int& left, int& right) const
{
    left = FLeft;
    right = FLeft + FWidth;
}

plat::TRect TDataTreeColumn::GetRect() const
{
    plat::TRect r = Tree()->HeaderRect();
    r.Left += FLeft;
    r.Right = r.Left + FWidth;
    return r;
}

plat::TColor TDataTreeColumn::GetEffectiveColor() const
{
    // Visual styles are never active, so coStyleColor alone does not count.
    if (FOptions.Contains(coParentColor)) {
        return Tree()->Color();
    }
    return FColor;
}

void TDataTreeColumn::ParentBiDiModeChanged()
{
    if (FOptions.Contains(coParentBidiMode) && Tree()->BiDiMode() != FBiDiMode) {
        FBiDiMode = Tree()->BiDiMode();
        Changed();
    }
}

void TDataTreeColumn::ParentColorChanged()
{
    if (FOptions.Contains(coParentColor) && Tree()->Color() != FColor) {
        FColor = Tree()->Color();
        Changed();
    }
}

void TDataTreeColumn::RestoreLastWidth()
{
    FOwner->AnimatedResize(FIndex, FLastWidth);
}

void TDataTreeColumn::ChangeScale(int m, int d)
{
    FMinWidth = plat::MulDiv(FMinWidth, m, d);
    FMaxWidth = std::max(plat::MulDiv(FMaxWidth, m, d), FMinWidth);
    FSpacing = plat::MulDiv(FSpacing, m, d);
    SetWidth(plat::MulDiv(FWidth, m, d));
}

int TDataTreeColumn::LimitFixedWidth(int value) const
{
    const TBaseDataTree* tree = Tree();
    const TDTFixedAreaConstraints& limits = Header()->FixedAreaConstraints();
    long long sumMax = 0;
    long long sumMin = 0;
    for (TDataTreeColumn* column : FOwner->GetVisibleColumns()) {
        if (column->IsFixed()) {
            sumMax += column->FMaxWidth;
            sumMin += column->FMinWidth;
        }
    }
    const long long fixedWidth = FOwner->GetVisibleFixedWidth();
    const long long clientWidth = tree->ClientWidth();
    const long long own = FWidth - fixedWidth;
    if (limits.MaxWidthPercent() > 0) {
        sumMin = std::min(sumMin, clientWidth * limits.MaxWidthPercent() / 100);
    }
    if (limits.MinWidthPercent() > 0) {
        sumMax = std::max(sumMax, clientWidth * limits.MinWidthPercent() / 100);
    }
    const long long hi = std::min<long long>(FMaxWidth, sumMax + own);
    const long long lo = std::max<long long>(FMinWidth, sumMin + own);
    long long v = std::min(std::max(lo, static_cast<long long>(value)), hi);
    if (limits.MinWidthPercent() > 0) {
        v = std::max(v, clientWidth * limits.MinWidthPercent() / 100 + own);
    }
    if (limits.MaxWidthPercent() > 0) {
        v = std::min(v, clientWidth * limits.MaxWidthPercent() / 100 + own);
    }
    // Whatever the percentages say, the column's own limits hold.
    return static_cast<int>(std::clamp<long long>(v, FMinWidth, FMaxWidth));
}

void TDataTreeColumn::SetWidth(int value)
{
    TDTHeader* header = Header();
    TBaseDataTree* tree = Tree();
    if (!header->States().Contains(hsScaling)) {
        if (IsVisible() && IsFixed() && tree->HandleAllocated()) {
            value = LimitFixedWidth(value);
        } else {
            value = std::clamp(value, FMinWidth, FMaxWidth);
        }
    }
    if (value == FWidth) {
        return;
    }
    FLastWidth = FWidth;
    if (!header->States().Contains(hsResizing)) {
        FBonusPixel = false;
    }
    const bool autoSized = header->Options().Contains(hoAutoResize) && FIndex == header->AutoSizeIndex();
    if (!autoSized) {
        FWidth = value;
        FOwner->UpdatePositions(false);
    }
    if (tree->Loading() || tree->IsUpdating()) {
        return;
    }
    if (header->Options().Contains(hoAutoResize)) {
        FOwner->AdjustAutoSize(FIndex, false);
    }
    tree->DoColumnResize(FIndex);
}

void TDataTreeColumn::SetMinWidth(int value)
{
    value = std::min(std::max(value, 0), FMaxWidth);
    if (value == FMinWidth) {
        return;
    }
    FMinWidth = value;
    SetWidth(FWidth);
}

void TDataTreeColumn::SetMaxWidth(int value)
{
    value = std::max(std::min(value, MaxColumnExtent), FMinWidth);
    if (value == FMaxWidth) {
        return;
    }
    FMaxWidth = value;
    SetWidth(FWidth);
}

void TDataTreeColumn::SetPosition(TColumnPosition value)
{
    TBaseDataTree* tree = Tree();
    if (tree->Loading() || FOwner->UpdateCount() > 0) {
        FPosition = value;
        return;
    }
    const auto count = static_cast<TColumnPosition>(FOwner->Count());
    if (value >= count) {
        value = count - 1;
    }
    if (value == FPosition) {
        return;
    }
    FOwner->InitializePositionArray();
    tree->CancelEditNode();
    FOwner->MovePosition(this, value);
    Changed();
    if (FOwner->UpdateCount() == 0 && tree->HandleAllocated()) {
        Header()->Invalidate(FIndex);
        tree->Invalidate();
    }
    // Fixed columns stay together at the start: a fixed column looks left,
    // any other right, and takes its deciding neighbour's coFixed.
    const TColumnIndex neighbour = IsFixed() && FPosition > 0 ? FOwner->ColumnFromPosition(FPosition - 1)
                                                               : FOwner->ColumnFromPosition(FPosition + 1);
    if (FOwner->IsValidColumn(neighbour)) {
        TDTColumnOptions options = FOptions;
        if (FOwner->Items(neighbour)->IsFixed()) {
            options.Include(coFixed);
        } else {
            options.Exclude(coFixed);
        }
        SetOptions(options);
    }
}

void TDataTreeColumn::SetOptions(TDTColumnOptions value)
{
    if (value == FOptions) {
        return;
    }
    const TDTColumnOptions old = FOptions;
    const TDTColumnOptions added = value - old;
    const TDTColumnOptions removed = old - value;
    FOptions = value;
    if (added.Contains(coParentBidiMode)) {
        ParentBiDiModeChanged();
    }
    if (added.Contains(coParentColor)) {
        FOptions.Include(coStyleColor);
        ParentColorChanged();
    }
    if (added.Contains(coAutoSpring)) {
        FSpringRest = 0;
    }
    TDTHeader* header = Header();
    if (removed.Contains(coVisible)) {
        header->UpdateMainColumn();
    }
    if ((added.Contains(coFixed) || removed.Contains(coFixed)) && IsVisible()) {
        header->RecalculateHeader();
    }
    Changed();
    TBaseDataTree* tree = Tree();
    if (tree->Loading()) {
        return;
    }
    const bool visibilityChanged = added.Contains(coVisible) || removed.Contains(coVisible);
    if ((visibilityChanged || added.Contains(coParentColor)) && FOwner->UpdateCount() == 0 && tree->HandleAllocated()) {
        tree->Invalidate();
        if (visibilityChanged) {
            tree->DoColumnVisibilityChanged(FIndex, added.Contains(coVisible));
            tree->UpdateHorizontalScrollBar(false);
        }
    }
}

void TDataTreeColumn::SetText(const std::string& value)
{
    if (value == FText) {
        return;
    }
    FText = value;
    FCaptionText.clear();
    Changed();
}

void TDataTreeColumn::SetStyle(TDataTreeColumnStyle value)
{
    if (value != FStyle) {
        FStyle = value;
        Changed();
    }
}

void TDataTreeColumn::SetImageIndex(int value)
{
    if (value != FImageIndex) {
        FImageIndex = value;
        Changed();
    }
}

void TDataTreeColumn::SetBiDiMode(TBiDiMode value)
{
    if (value == FBiDiMode) {
        return;
    }
    FBiDiMode = value;
    FOptions.Exclude(coParentBidiMode);
    Changed();
    Tree()->Invalidate();
}

void TDataTreeColumn::SetLayout(TDTHeaderColumnLayout value)
{
    if (value != FLayout) {
        FLayout = value;
        Changed();
    }
}

void TDataTreeColumn::SetMargin(int value)
{
    if (value < 0) {
        value = 4;
    }
    value = std::min(value, MaxColumnExtent);
    if (value != FMargin) {
        FMargin = value;
        Changed();
    }
}

void TDataTreeColumn::SetSpacing(int value)
{
    value = std::clamp(value, -MaxColumnExtent, MaxColumnExtent);
    if (value != FSpacing) {
        FSpacing = value;
        Changed();
    }
}

void TDataTreeColumn::SetAlignment(TAlignment value)
{
    if (value == FAlignment) {
        return;
    }
    FAlignment = value;
    Changed();
    Tree()->Invalidate();
}

TAlignment TDataTreeColumn::CaptionAlignment() const
{
    return FOptions.Contains(coUseCaptionAlignment) ? FCaptionAlignment : FAlignment;
}

void TDataTreeColumn::SetCaptionAlignment(TAlignment value)
{
    if (FOptions.Contains(coUseCaptionAlignment) && value == FCaptionAlignment) {
        return;
    }
    FCaptionAlignment = value;
    FOptions.Include(coUseCaptionAlignment);
    Header()->Invalidate(FIndex);
}

void TDataTreeColumn::SetColor(plat::TColor value)
{
    if (value == FColor) {
        return;
    }
    FColor = value;
    FOptions.Exclude(coParentColor);
    FOptions.Exclude(coStyleColor);
    Changed();
    Tree()->Invalidate();
}

void TDataTreeColumn::SetCheckBox(bool value)
{
    if (value != FCheckBox) {
        FCheckBox = value;
        Changed();
    }
}

void TDataTreeColumn::SetCheckType(TCheckType value)
{
    if (value != FCheckType) {
        FCheckType = value;
        Changed();
    }
}

void TDataTreeColumn::SetCheckState(TCheckState value)
{
    if (value != FCheckState) {
        FCheckState = value;
        Changed();
    }
}

void TDataTreeColumn::Assign(const TDataTreeColumn& source)
{
    const TDTColumnOptions own = FOptions;
    FOptions = {};
    SetBiDiMode(source.FBiDiMode);
    SetImageIndex(source.FImageIndex);
    SetLayout(source.FLayout);
    SetMargin(source.FMargin);
    SetMaxWidth(source.FMaxWidth);
    SetMinWidth(source.FMinWidth);
    SetPosition(source.FPosition);
    SetSpacing(source.FSpacing);
    SetStyle(source.FStyle);
    SetText(source.FText);
    FHint = source.FHint;
    SetWidth(source.FWidth);
    SetAlignment(source.FAlignment);
    SetCaptionAlignment(source.CaptionAlignment());
    SetColor(source.FColor);
    FTag = source.FTag;
    FEditNextColumn = source.FEditNextColumn;
    FEditOptions = source.FEditOptions;
    FOptions = own;
    SetOptions(source.FOptions);
    Changed();
}

void TDataTreeColumn::Assign(const plat::TPersistent* source)
{
    if (const auto* column = dynamic_cast<const TDataTreeColumn*>(source)) {
        Assign(*column);
        return;
    }
    plat::TCollectionItem::Assign(source);
}

bool TDataTreeColumn::Equals(const TDataTreeColumn& other) const
{
    return FBiDiMode == other.FBiDiMode && FImageIndex == other.FImageIndex && FLayout == other.FLayout &&
           FMargin == other.FMargin && FMaxWidth == other.FMaxWidth && FMinWidth == other.FMinWidth &&
           FPosition == other.FPosition && FSpacing == other.FSpacing && FStyle == other.FStyle &&
           FText == other.FText && FHint == other.FHint && FWidth == other.FWidth &&
           FAlignment == other.FAlignment && CaptionAlignment() == other.CaptionAlignment() &&
           FColor == other.FColor && FTag == other.FTag && FOptions == other.FOptions;
}

} // namespace qel
