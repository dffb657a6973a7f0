// Where things are in a data tree row: the offsets of a row's elements,
// image sizes and the vertical placement of images and button, the
// rectangles of rows, cells and texts, what a point over a row hits, drop
// modes, and the scaling of every metric with the resolution and the font.
#include "widgets/tree/base_data_tree.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/canvas.h"
#include "platform/canvas/image_list.h"
#include "widgets/tree/try_finally.h"

#include <algorithm>

namespace qel {

// ---- offsets ----

void TBaseDataTree::GetOffsets(PDataNode node, TDTOffsets& offsets, TDTElement element, TColumnIndex column)
{
    const TColumnIndex mainColumn = HeaderMainColumn();
    if (column < 0) {
        column = mainColumn;
    }
    const bool isMain = column == mainColumn;
    offsets[ofsMargin] = FMargin;
    if (element == ofsMargin) {
        return;
    }
    offsets[ofsToggleButton] = FMargin;
    offsets[ofsCheckBox] = FMargin;
    if (isMain) {
        const TDTPaintOptions paint = FOptions->PaintOptions();
        int level = paint.Contains(toFixedIndent) ? 1 : static_cast<int>(GetNodeLevel(node));
        if (paint.Contains(toShowRoot)) {
            ++level;
        }
        const int w = ButtonWidth();
        offsets[ofsToggleButton] = FMargin + level * FIndent - (FIndent - w) / 2 - w + 1;
        offsets[ofsCheckBox] = FMargin + level * FIndent;
    }
    if (element <= ofsToggleButton) {
        return;
    }
    if (FOptions->MiscOptions().Contains(toCheckSupport) && FCheckImages != nullptr && node->CheckType != ctNone &&
        isMain) {
        offsets[ofsCheckBox] += FImagesMargin;
        offsets[ofsStateImage] = offsets[ofsCheckBox] + FCheckImages->Width() + FImagesMargin;
    } else {
        offsets[ofsStateImage] = offsets[ofsCheckBox];
    }
    if (element <= ofsStateImage) {
        return;
    }
    offsets[ofsImage] = offsets[ofsStateImage] + GetImageSize(node, ikState, column, true).cx;
    if (element == ofsImage) {
        return;
    }
    offsets[ofsLabel] = offsets[ofsImage] + GetImageSize(node, ikNormal, column, true).cx;
    offsets[ofsText] = offsets[ofsLabel] + FTextMargin - 1;
    if (element <= ofsText) {
        return;
    }
    offsets[ofsRightOfText] =
        offsets[ofsText] + DoGetNodeWidth(node, column, nullptr) + DoGetNodeExtraWidth(node, column, nullptr);
    if (element == ofsRightOfText) {
        return;
    }
    offsets[ofsEndOfClientArea] =
        static_cast<int>(std::min<std::int64_t>(std::max<std::int64_t>(FRangeX, ClientWidth()), INT32_MAX)) -
        FTextMargin;
}

int TBaseDataTree::GetOffset(TDTElement element, PDataNode node)
{
    TDTOffsets offsets{};
    GetOffsets(node, offsets, element, NoColumn);
    return offsets[element];
}

int TBaseDataTree::DoGetNodeWidth(PDataNode, TColumnIndex, plat::TCanvas*)
{
    return 0;
}

int TBaseDataTree::DoGetNodeExtraWidth(PDataNode, TColumnIndex, plat::TCanvas*)
{
    return 0;
}

// ---- images ----

plat::TCustomImageList* TBaseDataTree::DoGetImageIndex(PDataNode node, TDTImageKind kind, TColumnIndex column,
                                                       bool& ghosted, int& index)
{
    // State images come from their own list when there is one.
    plat::TCustomImageList* images = kind == ikState && FStateImages != nullptr ? FStateImages : FImages;
    if (OnGetImageEx) {
        OnGetImageEx(this, node, kind, column, ghosted, index, images);
    } else if (OnGetImage) {
        OnGetImage(this, node, kind, column, ghosted, index);
    }
    if (images == nullptr) {
        if (index >= 0) {
            static constexpr const char* kindNames[] = {"ikNormal", "ikSelected", "ikState", "ikOverlay"};
            throw EAssertionFailed(std::string("An image index was supplied for TDTImageKind.") +
                                   (kind <= ikOverlay ? kindNames[kind] : "") + " but no image list was supplied.");
        }
        index = -1;
    }
    return images;
}

void TBaseDataTree::DoGetImageText(PDataNode node, TDTImageKind kind, TColumnIndex column, std::string& imageText)
{
    if (OnGetImageText) {
        OnGetImageText(this, node, kind, column, imageText);
    }
}

plat::TSize TBaseDataTree::GetImageSize(PDataNode node, TDTImageKind kind, TColumnIndex column, bool withSpacing)
{
    if (!node->States.Contains(vsInitialized)) {
        ValidateNode(node, false);
    }
    bool ghosted = false;
    int index = -1;
    const plat::TCustomImageList* images = DoGetImageIndex(node, kind, column, ghosted, index);
    if (index < 0 || images == nullptr) {
        return plat::TSize{0, 0};
    }
    return plat::TSize{images->Width() + (withSpacing ? ScaledPixels(2) : 0), images->Height()};
}

int TBaseDataTree::DetermineVAlign(PDataNode node, const TDTImageInfo& normal, const TDTImageInfo& state,
                                   int& buttonY) const
{
    const int height = static_cast<int>(std::min<std::int64_t>(node->fNodeHeight, INT32_MAX));
    const int align = node->Align;
    int vAlign = 0;
    switch (FNodeAlignment) {
    case naFromBottom:
        vAlign = height - align;
        break;
    case naFromTop:
        vAlign = align;
        break;
    case naProportional:
        if ((normal.Index >= 0 && normal.Images != nullptr) || (state.Index >= 0 && state.Images != nullptr)) {
            const int imageHeight = normal.Index >= 0 && normal.Images != nullptr ? normal.Images->Height()
                                                                                   : state.Images->Height();
            vAlign = plat::MulDiv(height - imageHeight, align, 100) + imageHeight / 2;
        } else if (FOptions->PaintOptions().Contains(toShowButtons)) {
            vAlign = plat::MulDiv(height - ButtonHeight(), align, 100) + ButtonHeight() / 2;
        } else {
            vAlign = plat::MulDiv(height, align, 100);
        }
        break;
    }
    const int b = ButtonHeight();
    buttonY = vAlign - b / 2 - (b & 1);
    return vAlign;
}

// ---- rectangles ----

plat::TRect TBaseDataTree::GetDisplayRect(PDataNode node, TColumnIndex column, bool textOnly, bool unclipped,
                                          bool applyCellContentMargin)
{
    TreeAssert(node != nullptr, "Node must not be nil.");
    TreeAssert(node != FRoot, "Node must not be the hidden root node.");
    if (!node->States.Contains(vsInitialized)) {
        ValidateNode(node, false);
    }
    if (!GetEffectivelyVisible(node) || !GetVisiblePath(node)) {
        return plat::TRect{};
    }
    const std::int64_t top = GetNodeTop(node);
    const std::int64_t height = GetNodeHeight(node);
    const int width = static_cast<int>(std::min<std::int64_t>(std::max<std::int64_t>(FRangeX, ClientWidth()), INT32_MAX));
    plat::TRect r = plat::Rect(0, plat::SaturateInt(top), width, plat::SaturateInt(top + height));
    const TDataTreeColumns& columns = FHeader->Columns();
    const bool inColumn = column >= 0 && columns.IsValidColumn(column);
    if (inColumn) {
        columns.GetColumnBounds(column, r.Left, r.Right);
        --r.Right;
        r = plat::OffsetRect(r, 0, FOffsetY);
    } else {
        r = plat::OffsetRect(r, -FEffectiveOffsetX, FOffsetY);
    }
    if (!textOnly) {
        return r;
    }
    const bool rightToLeft = inColumn ? columns.Items(column)->UseRightToLeftReading() : UseRightToLeftReading();
    TAlignment alignment = inColumn ? columns.Items(column)->Alignment() : FAlignment;
    TDTOffsets offsets{};
    GetOffsets(node, offsets, ofsLabel, inColumn ? column : NoColumn);
    if (rightToLeft) {
        r.Right -= offsets[ofsLabel];
        alignment = MirroredAlignment(alignment);
    } else {
        r.Left += offsets[ofsLabel];
    }
    const int textWidth = DoGetNodeWidth(node, inColumn ? column : NoColumn, nullptr);
    const int cellHeight = static_cast<int>(r.Height());
    if (applyCellContentMargin) {
        // The application's content margins shrink the rectangle.
        const plat::TRect cell = r;
        DoBeforeCellPaint(Canvas(), node, inColumn ? column : NoColumn, cpmGetContentMargin, cell, r);
    }
    if (unclipped) {
        if (r.Width() < textWidth - 1) {
            alignment = rightToLeft ? taRightJustify : taLeftJustify;
        }
        plat::TBitmap measure(1, 1);
        measure.Canvas()->Font()->Assign(Font());
        const int fontHeight = measure.Canvas()->Handle()->GetTextMetrics().Height;
        const int grow = std::min(fontHeight, cellHeight) - static_cast<int>(r.Height());
        if (grow > 0) {
            r.Top -= (grow + 1) / 2;
            r.Bottom += (grow + 1) / 2;
        }
        switch (alignment) {
        case taRightJustify:
            r.Left = r.Right - textWidth;
            break;
        case taCenter:
            r.Left = (r.Left + r.Right - textWidth) / 2;
            r.Right = r.Left + textWidth;
            break;
        default:
            r.Right = r.Left + textWidth - 1;
            break;
        }
    } else if (r.Width() > textWidth) {
        switch (alignment) {
        case taRightJustify:
            r.Left = r.Right - textWidth;
            break;
        case taCenter:
            r.Left = (r.Left + r.Right - textWidth) / 2;
            r.Right = r.Left + textWidth;
            break;
        default:
            r.Right = r.Left + textWidth;
            break;
        }
    }
    return r;
}

plat::TRect TBaseDataTree::GetTreeRect() const
{
    const auto width = std::max<std::int64_t>(FRangeX, ClientWidth());
    const auto height = std::max<std::int64_t>(FRangeY, ClientHeight());
    return plat::Rect(0, 0, plat::SaturateInt(width), plat::SaturateInt(height));
}

// ---- hit positions ----

void TBaseDataTree::DetermineHitPositionLTR(THitInfo& hitInfo, int offset, int right, TAlignment alignment)
{
    PDataNode node = hitInfo.HitNode;
    TDTOffsets offsets{};
    GetOffsets(node, offsets, ofsRightOfText, hitInfo.HitColumn);
    const bool isMain = hitInfo.HitColumn < 0 || hitInfo.HitColumn == HeaderMainColumn();
    const TDTPaintOptions paint = FOptions->PaintOptions();
    if (isMain && offset < offsets[ofsCheckBox]) {
        if (paint.Contains(toShowButtons) && node->States.Contains(vsHasChildren)) {
            if (offset >= offsets[ofsCheckBox] - FIndent) {
                hitInfo.HitPositions.Include(hiOnItemButton);
            }
            if (offset > offsets[ofsToggleButton]) {
                hitInfo.HitPositions.Include(hiOnItemButtonExact);
            }
        }
        if (hitInfo.HitPositions.Empty()) {
            hitInfo.HitPositions.Include(hiOnItemIndent);
        }
        return;
    }
    if (!isMain && FOptions->MiscOptions().Contains(toGridExtensions)) {
        return;
    }
    if (isMain && offset < offsets[ofsStateImage]) {
        hitInfo.HitPositions = THitPositions{hiOnItem};
        if (node->CheckType != ctNone) {
            hitInfo.HitPositions.Include(hiOnItemCheckbox);
        }
        return;
    }
    if (offset < offsets[ofsImage]) {
        hitInfo.HitPositions.Include(hiOnStateIcon);
        return;
    }
    if (offset < offsets[ofsLabel]) {
        hitInfo.HitPositions.Include(hiOnNormalIcon);
        return;
    }
    const int textWidth = offsets[ofsRightOfText] - offsets[ofsText];
    if (textWidth > right - offsets[ofsLabel]) {
        hitInfo.HitPositions.Include(hiOnItemLabel);
        return;
    }
    switch (alignment) {
    case taRightJustify:
        hitInfo.HitPositions.Include(offset < right - textWidth ? hiOnItemLeft : hiOnItemLabel);
        break;
    case taCenter: {
        const int x = (offsets[ofsLabel] + right - textWidth) / 2;
        hitInfo.HitPositions.Include(offset < x ? hiOnItemLeft : offset < x + textWidth ? hiOnItemLabel : hiOnItemRight);
        break;
    }
    default:
        hitInfo.HitPositions.Include(offset < offsets[ofsLabel] + textWidth ? hiOnItemLabel : hiOnItemRight);
        break;
    }
}

void TBaseDataTree::DetermineHitPositionRTL(THitInfo& hitInfo, int offset, int right, TAlignment alignment)
{
    PDataNode node = hitInfo.HitNode;
    const bool isMain = hitInfo.HitColumn < 0 || hitInfo.HitColumn == HeaderMainColumn();
    const TDTPaintOptions paint = FOptions->PaintOptions();
    if (isMain) {
        if (paint.Contains(toFixedIndent)) {
            right -= FIndent;
        } else {
            for (PDataNode run = node->fParent; run != nullptr && run != FRoot; run = run->fParent) {
                right -= FIndent;
            }
            if (paint.Contains(toShowRoot)) {
                right -= FIndent;
            }
        }
    }
    if (offset >= right) {
        if (paint.Contains(toShowButtons) && node->States.Contains(vsHasChildren)) {
            if (offset <= right + FIndent) {
                hitInfo.HitPositions.Include(hiOnItemButton);
            }
            if (offset <= right + ButtonWidth()) {
                hitInfo.HitPositions.Include(hiOnItemButtonExact);
            }
        }
        if (hitInfo.HitPositions.Empty()) {
            hitInfo.HitPositions.Include(hiOnItemIndent);
        }
        return;
    }
    if (!isMain && FOptions->MiscOptions().Contains(toGridExtensions)) {
        return;
    }
    right -= FMargin;
    if (isMain && FOptions->MiscOptions().Contains(toCheckSupport) && FCheckImages != nullptr &&
        node->CheckType != ctNone) {
        right -= FCheckImages->Width() + FImagesMargin;
    }
    if (isMain && offset > right) {
        hitInfo.HitPositions = THitPositions{hiOnItem};
        if (node->CheckType != ctNone) {
            hitInfo.HitPositions.Include(hiOnItemCheckbox);
        }
        return;
    }
    right -= GetImageSize(node, ikState, hitInfo.HitColumn, true).cx;
    if (offset > right) {
        hitInfo.HitPositions.Include(hiOnStateIcon);
        return;
    }
    right -= GetImageSize(node, ikNormal, hitInfo.HitColumn, true).cx;
    if (offset > right) {
        hitInfo.HitPositions.Include(hiOnNormalIcon);
        return;
    }
    const int textWidth = DoGetNodeWidth(node, hitInfo.HitColumn, nullptr);
    if (textWidth > right) {
        hitInfo.HitPositions.Include(hiOnItemLabel);
        return;
    }
    switch (MirroredAlignment(alignment)) {
    case taRightJustify:
        hitInfo.HitPositions.Include(offset < right - textWidth ? hiOnItemLeft : hiOnItemLabel);
        break;
    case taCenter: {
        const int x = (right - textWidth) / 2;
        hitInfo.HitPositions.Include(offset < x ? hiOnItemLeft : offset < x + textWidth ? hiOnItemLabel : hiOnItemRight);
        break;
    }
    default:
        hitInfo.HitPositions.Include(offset > textWidth ? hiOnItemRight : hiOnItemLabel);
        break;
    }
}

TDropMode TBaseDataTree::DetermineDropMode(plat::TPoint point, THitInfo& hitInfo, const plat::TRect& nodeRect)
{
    const bool imageHit =
        hitInfo.HitPositions.Contains(hiOnNormalIcon) || hitInfo.HitPositions.Contains(hiOnStateIcon);
    const bool labelHit = hitInfo.HitPositions.Contains(hiOnItemLabel);
    if (FOptions->MiscOptions().Contains(toReportMode) && !hitInfo.HitPositions.Contains(hiOnItem) &&
        !((imageHit || labelHit) && hitInfo.HitColumn == HeaderMainColumn())) {
        hitInfo.HitNode = nullptr;
    }
    if (hitInfo.HitNode == nullptr) {
        return dmNowhere;
    }
    if (imageHit || labelHit || !FOptions->PaintOptions().Contains(toShowDropmark)) {
        return dmOnNode;
    }
    return (nodeRect.Top + nodeRect.Bottom) / 2 > point.Y ? dmAbove : dmBelow;
}

// ---- scaling ----

void TBaseDataTree::ChangeScale(int m, int d, bool isDpiChange)
{
    if (m == d || d == 0 || m <= 0) {
        return;
    }
    BeginUpdate();
    TryFinally(
        [&] {
            ScaleNodeHeights(m, d);
            SetDefaultNodeHeight(plat::MulDiv(FDefaultNodeHeight, m, d));
            SetIndent(plat::MulDiv(FIndent, m, d));
            FTextMargin = plat::MulDiv(FTextMargin, m, d);
            FMargin = plat::MulDiv(FMargin, m, d);
            FImagesMargin = plat::MulDiv(FImagesMargin, m, d);
        },
        [&] { EndUpdate(); });
    if (isDpiChange) {
        FCurrentPPI = plat::MulDiv(FCurrentPPI, m, d);
    }
    FHeader->ChangeScale(m, d);
    UpdateHeaderRect();
    PrepareBitmaps(true, false);
    if (FCheckImageKind == ckSystemDefault && FSystemCheckImages && FCheckImages == FSystemCheckImages.get()) {
        FSystemCheckImages = CreateSystemCheckImages();
        FCheckImages = FSystemCheckImages.get();
        Invalidate();
    }
}

void TBaseDataTree::AutoScale()
{
    if (!HandleAllocated() || !FOptions->AutoOptions().Contains(toAutoChangeScale)) {
        return;
    }
    plat::TBitmap measure(1, 1);
    measure.Canvas()->Font()->Assign(Font());
    int height = measure.Canvas()->TextHeight("Tg") + FTextMargin;
    if (FImages != nullptr) {
        const int images = FImages->Height() + (FImagesMargin > 1 ? FImagesMargin / 2 : FImagesMargin);
        height = std::max(height, images);
    }
    if (height != FDefaultNodeHeight) {
        ScaleNodeHeights(height, FDefaultNodeHeight);
        SetDefaultNodeHeight(height);
    }
}

// ---- settings ----

void TBaseDataTree::SetIndent(int value)
{
    if (value == FIndent) {
        return;
    }
    FIndent = value;
    if (!Loading() && !IsUpdating() && HandleAllocated()) {
        UpdateScrollBars(true);
        Invalidate();
    }
}

void TBaseDataTree::SetMargin(int value)
{
    StoreAndRepaint(FMargin, value, true);
}

void TBaseDataTree::SetTextMargin(int value)
{
    StoreAndRepaint(FTextMargin, value, false);
}

void TBaseDataTree::SetNodeAlignment(TDTNodeAlignment value)
{
    StoreAndRepaint(FNodeAlignment, value, true);
}

void TBaseDataTree::SetAlignment(TAlignment value)
{
    StoreAndRepaint(FAlignment, value, false);
}

} // namespace qel
