// The data tree's painting pipeline: the window paint, the row walk that
// paints each visible row into a row bitmap cell by cell and copies it to
// the target, the row erase, the cell preparation (column colour,
// selection, focus mark), grid lines, the drop mark, the strip below the
// last row and the empty-list message, with the paint events around them.
#include "widgets/tree/base_data_tree.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/canvas.h"
#include "platform/canvas/device_context.h"
#include "platform/canvas/gdi_constants.h"
#include "platform/canvas/graphics_objects.h"
#include "platform/canvas/image_list.h"
#include "platform/canvas/region.h"
#include "platform/controls/virtual_keys.h"
#include "platform/controls/window_input.h"
#include "platform/controls/window_paint.h"
#include "widgets/tree/tree_drawing_utils.h"
#include "widgets/tree/try_finally.h"

#include <algorithm>
#include <cmath>

namespace qel {

void TDTPaintInfo::AdjustImageCoordinates()
{
    ContentRect = CellRect;
    if (BidiMode == bdLeftToRight) {
        ContentRect.Left = CellRect.Left + Offsets[ofsLabel];
        ImageInfo[iiNormal].XPos = CellRect.Left + Offsets[ofsImage];
        ImageInfo[iiState].XPos = CellRect.Left + Offsets[ofsStateImage];
        ImageInfo[iiCheck].XPos = CellRect.Left + Offsets[ofsCheckBox];
    } else {
        ContentRect.Right = CellRect.Right - Offsets[ofsLabel];
        ImageInfo[iiNormal].XPos = CellRect.Right - Offsets[ofsLabel];
        ImageInfo[iiState].XPos = CellRect.Right - Offsets[ofsImage];
        ImageInfo[iiCheck].XPos = CellRect.Right - Offsets[ofsStateImage];
    }
    for (TDTImageInfoIndex index : {iiNormal, iiState, iiCheck}) {
        TDTImageInfo& image = ImageInfo[index];
        if (image.Index >= 0 && image.Images != nullptr) {
            image.YPos = CellRect.Top + VAlign - image.Images->Height() / 2;
        }
    }
}

namespace {

TAlignment Mirror(TAlignment alignment)
{
    return alignment == taLeftJustify ? taRightJustify : alignment == taRightJustify ? taLeftJustify : alignment;
}

void FillSolid(plat::TCanvas& canvas, const plat::TRect& r, plat::TColor color)
{
    canvas.Brush()->SetStyle(plat::bsSolid);
    canvas.Brush()->SetColor(color);
    canvas.FillRect(r);
}

} // namespace

// ---- settings ----

void TBaseDataTree::SetEmptyListMessage(const std::string& value)
{
    if (value != FEmptyListMessage) {
        FEmptyListMessage = value;
        if (HandleAllocated()) {
            Invalidate();
        }
    }
}

void TBaseDataTree::SetSelectionCurveRadius(int value)
{
    value = std::max(value, 0);
    if (value != FSelectionCurveRadius) {
        FSelectionCurveRadius = value;
        if (HandleAllocated() && !Loading()) {
            Invalidate();
        }
    }
}

// ---- the window paint ----

void TBaseDataTree::Paint()
{
    plat::TCanvas& canvas = *Canvas();
    const TDTInternalPaintOptions options{poBackground, poColumnColor, poDrawFocusRect,
                                          poDrawSelection, poDrawDropMark, poGridLines};
    FUpdateRect = canvas.ClipRect();
    if (FUpdateRect.IsEmpty()) {
        return;
    }
    const int rtlOffset = UseRightToLeftAlignment() && FHeader->UseColumns() ? ComputeRTLOffset(false) : 0;
    const int fixedWidth = FHeader->UseColumns() ? FHeader->Columns().GetVisibleFixedWidth() : 0;
    if (fixedWidth == 0) {
        const plat::TRect window = plat::OffsetRect(FUpdateRect, FEffectiveOffsetX - rtlOffset, -FOffsetY);
        PaintTree(canvas, window, plat::Point(FUpdateRect.Left, FUpdateRect.Top), options);
        return;
    }
    plat::TRect fixedPart = ClientRect();
    fixedPart.Right = fixedWidth;
    PaintTree(canvas, plat::OffsetRect(fixedPart, -rtlOffset, -FOffsetY), plat::Point(fixedPart.Left, fixedPart.Top),
              options);
    if (fixedWidth <= ClientWidth()) {
        plat::TRect scrolling = ClientRect();
        scrolling.Left = fixedWidth;
        PaintTree(canvas, plat::OffsetRect(scrolling, FEffectiveOffsetX - rtlOffset, -FOffsetY),
                  plat::Point(scrolling.Left, scrolling.Top), options);
    }
}

// ---- the row walk ----

bool TBaseDataTree::HasSelectedAncestorOrSelf(PDataNode node) const
{
    for (PDataNode run = node; run != nullptr && run != FRoot; run = run->fParent) {
        if (run->States.Contains(vsSelected)) {
            return true;
        }
    }
    return false;
}

void TBaseDataTree::PaintTree(plat::TCanvas& targetCanvas, const plat::TRect& window, plat::TPoint target,
                              TDTInternalPaintOptions paintOptions)
{
    if (FStates.Contains(tsPainting) || window.IsEmpty()) {
        return;
    }
    DoStateChange({tsPainting});
    const bool unbuffered = paintOptions.Contains(poUnbuffered);
    // Unbuffered rows stay inside what the target allowed to be drawn on.
    plat::TRegion targetClip;
    bool targetClipped = false;
    if (unbuffered) {
        targetCanvas.RequireState();
        targetClipped = targetCanvas.Handle()->GetClipRgn(targetClip) == 1;
    }
    plat::TBitmap rowBitmap(unbuffered ? 0 : static_cast<int>(window.Width()), unbuffered ? 0 : 1, plat::pf32bit);
    TryFinally(
        [&] {
            DoBeforePaint(&targetCanvas);
            const TDTPaintOptions treePaint = FOptions->PaintOptions();
            if (treePaint.Contains(toAlwaysHideSelection) || (!Focused() && treePaint.Contains(toHideSelection))) {
                paintOptions.Exclude(poDrawSelection);
            }
            if (treePaint.Contains(toHideFocusRect)) {
                paintOptions.Exclude(poDrawFocusRect);
            }
            targetCanvas.Font()->Assign(Font());
            int baseOffset = 0;
            PDataNode node = GetNodeAt(0, window.Top, false, baseOffset);
            if (node == nullptr) {
                baseOffset = window.Top;
            }
            int rowTop = target.Y - (window.Top - baseOffset);
            const int windowBottom = target.Y + static_cast<int>(window.Height());
            const int width = static_cast<int>(window.Width());
            TDTPaintInfo paintInfo;
            TLineImage lineImage;
            const bool selecting = IsMouseSelecting() && !OrderRect(FNewSelRect).IsEmpty() &&
                                   plat::GetKeyState(plat::VK_LBUTTON) < 0;
            plat::TRect selectionRect = OrderRect(FNewSelRect);
            selectionRect = plat::OffsetRect(selectionRect, 0, -(baseOffset));
            while (node != nullptr && rowTop < windowBottom) {
                int selectLevel = DetermineLineImageAndSelectLevel(node, lineImage);
                if (!node->States.Contains(vsInitialized)) {
                    ValidateNode(node, false);
                }
                if (node->States.Contains(vsSelected) && !treePaint.Contains(toChildrenAbove)) {
                    ++selectLevel;
                }
                MeasureItemHeight(rowBitmap.Canvas(), node);
                const int height = static_cast<int>(std::min<std::int64_t>(GetNodeHeight(node), INT32_MAX));
                const bool skipped = paintOptions.Contains(poSelectedOnly) &&
                                     (treePaint.Contains(toChildrenAbove) ? !HasSelectedAncestorOrSelf(node)
                                                                          : selectLevel == 0);
                if (!skipped && height > 0) {
                    // Buffered, the row is drawn at the top left of the row
                    // bitmap; unbuffered, where it lands on the target.
                    const plat::TPoint origin = unbuffered ? plat::Point(target.X, rowTop) : plat::Point(0, 0);
                    plat::TCanvas* canvas = &targetCanvas;
                    if (unbuffered) {
                        targetCanvas.RequireState();
                        targetCanvas.Handle()->SaveDC();
                        FRowOrigin = origin;
                        FRowClip = plat::Rect(target.X, std::max(rowTop, target.Y), target.X + width,
                                              std::min(rowTop + height, windowBottom));
                        FTargetClip = targetClipped ? &targetClip : nullptr;
                        ClipCanvas(targetCanvas, FRowClip, FTargetClip);
                    } else {
                        rowBitmap.SetSize(width, height);
                        canvas = rowBitmap.Canvas();
                        canvas->Font()->Assign(Font());
                    }
                    const plat::TRect itemRect = plat::Rect(origin.X, origin.Y, origin.X + width, origin.Y + height);
                    paintInfo = TDTPaintInfo{};
                    paintInfo.Canvas = canvas;
                    paintInfo.Node = node;
                    paintInfo.PaintOptions = paintOptions;
                    paintInfo.BrushOrigin = plat::Point(window.Left & 1, baseOffset & 1);
                    FLineImage = &lineImage;
                    TryFinally(
                        [&] {
                            if (!DoBeforeItemPaint(canvas, node, itemRect)) {
                                EraseNodeRow(paintInfo, itemRect, window, baseOffset, UsesBackground(paintOptions));
                                PaintRowCells(paintInfo, window, itemRect);
                                DoAfterItemPaint(canvas, node, itemRect);
                                if (node == FDropTargetNode && treePaint.Contains(toShowDropmark) &&
                                    paintOptions.Contains(poDrawDropMark)) {
                                    DoPaintDropMark(canvas, node, itemRect);
                                }
                            }
                            if (selecting) {
                                PaintSelectionRectangle(*canvas, window.Left - origin.X,
                                                        plat::OffsetRect(selectionRect, 0, origin.Y), itemRect);
                            }
                        },
                        [&] {
                            if (unbuffered) {
                                FRowOrigin = plat::Point(0, 0);
                                FRowClip = plat::TRect{};
                                FTargetClip = nullptr;
                                targetCanvas.Handle()->RestoreDC(-1);
                            }
                        });
                    if (!unbuffered) {
                        targetCanvas.CopyRect(plat::Rect(target.X, rowTop, target.X + width, rowTop + height), canvas,
                                              itemRect);
                    }
                }
                baseOffset += height;
                rowTop += height;
                selectionRect = plat::OffsetRect(selectionRect, 0, -height);
                node = GetNextVisible(node, true);
            }
            FLineImage = nullptr;
            if (rowTop < windowBottom) {
                const plat::TRect strip = plat::Rect(target.X, rowTop, target.X + width, windowBottom);
                PaintBelowRows(targetCanvas, strip, window, UsesBackground(paintOptions));
                if (selecting) {
                    PaintSelectionRectangle(targetCanvas, window.Left - target.X,
                                            plat::OffsetRect(selectionRect, 0, rowTop), strip);
                }
            }
            if (!FEmptyListMessage.empty() && (FRoot->FirstChild == nullptr || FVisibleCount == 0)) {
                PaintEmptyListMessage(targetCanvas);
            }
            DoAfterPaint(&targetCanvas);
        },
        [&] {
            FLineImage = nullptr;
            DoStateChange({}, {tsPainting});
        });
}

void TBaseDataTree::PaintRowCells(TDTPaintInfo& paintInfo, const plat::TRect& window, const plat::TRect& row)
{
    // x = window.Left of the virtual area lands on row.Left.
    const int shift = row.Left - window.Left;
    const TDataTreeColumns& columns = FHeader->Columns();
    if (!FHeader->UseColumns()) {
        const int maxRight = static_cast<int>(std::min<std::int64_t>(std::max<std::int64_t>(FRangeX, ClientWidth()),
                                                                     INT32_MAX));
        paintInfo.Column = NoColumn;
        paintInfo.CellRect = plat::Rect(shift, row.Top, maxRight + shift, row.Bottom);
        PaintCell(paintInfo, window, true);
        return;
    }
    const TColumnsArray visible = columns.GetVisibleColumns();
    for (std::size_t i = 0; i < visible.size(); ++i) {
        const TDataTreeColumn* column = visible[i];
        const int left = column->AbsoluteLeft() + shift;
        const int right = left + column->Width();
        if (left >= row.Right) {
            break;
        }
        if (right <= row.Left) {
            continue;
        }
        paintInfo.Column = column->Index();
        paintInfo.Position = column->Position();
        paintInfo.CellRect = plat::Rect(left, row.Top, right, row.Bottom);
        const TColumnIndex next = PaintCell(paintInfo, window, i + 1 == visible.size());
        if (next == InvalidColumn) {
            break;
        }
        // Cells a text ran on into are not painted again.
        while (i + 1 < visible.size() && visible[i + 1]->Index() != next) {
            ++i;
        }
    }
}

TColumnIndex TBaseDataTree::PaintCell(TDTPaintInfo& paintInfo, const plat::TRect& window, bool isLastColumn)
{
    plat::TCanvas& canvas = *paintInfo.Canvas;
    PDataNode node = paintInfo.Node;
    const TColumnIndex column = paintInfo.Column;
    const TDataTreeColumns& columns = FHeader->Columns();
    const bool useColumns = column >= 0;
    const TDataTreeColumn* item = useColumns ? columns.Items(column) : nullptr;
    const TDTPaintOptions treePaint = FOptions->PaintOptions();
    const TDTSelectionOptions selection = FOptions->SelectionOptions();
    const TDTInternalPaintOptions callOptions = paintInfo.PaintOptions;
    const plat::TRect cellBounds = paintInfo.CellRect;

    paintInfo.BidiMode = useColumns ? item->BiDiMode() : FBiDiMode;
    paintInfo.Alignment = useColumns ? item->Alignment() : FAlignment;
    GetOffsets(node, paintInfo.Offsets, ofsText, column);
    if (FStates.Contains(tsEditing) && node == FFocusedNode && (!useColumns || column == FEditColumn)) {
        paintInfo.PaintOptions.Exclude(poDrawSelection);
    }
    const bool selected = node->States.Contains(vsSelected);
    if (!useColumns ||
        (selected && selection.Contains(toFullRowSelect) && paintInfo.PaintOptions.Contains(poDrawSelection)) ||
        item->Options().Contains(coParentColor)) {
        paintInfo.PaintOptions.Exclude(poColumnColor);
    }
    const bool isMain = column == HeaderMainColumn();
    if (paintInfo.BidiMode != bdLeftToRight) {
        paintInfo.Alignment = Mirror(paintInfo.Alignment);
    }
    if (paintInfo.PaintOptions.Contains(poMainOnly) && !isMain) {
        paintInfo.PaintOptions = callOptions;
        return useColumns ? columns.GetNextVisibleColumn(column) : InvalidColumn;
    }
    TColumnIndex nextNonEmpty = InvalidColumn;
    AdjustPaintCellRect(paintInfo, nextNonEmpty);
    paintInfo.NodeWidth = DoGetNodeWidth(node, column, &canvas);
    paintInfo.ImageInfo = {};
    if (isMain && FCheckImages != nullptr && FOptions->MiscOptions().Contains(toCheckSupport)) {
        paintInfo.ImageInfo[iiCheck].Index = GetCheckImage(node);
        paintInfo.ImageInfo[iiCheck].Images = FCheckImages;
    }
    GetImageIndex(paintInfo, ikState, iiState);
    GetImageIndex(paintInfo, selected ? ikSelected : ikNormal, iiNormal);
    int buttonY = 0;
    paintInfo.VAlign =
        DetermineVAlign(node, paintInfo.ImageInfo[iiNormal], paintInfo.ImageInfo[iiState], buttonY);
    paintInfo.AdjustImageCoordinates();
    if (useColumns) {
        ClipCanvas(canvas, RowClipped(paintInfo.CellRect), FTargetClip);
    }
    const bool gridLines = paintInfo.PaintOptions.Contains(poGridLines);
    if (gridLines && treePaint.Contains(toShowHorzGridLines)) {
        const plat::TRect& cell = paintInfo.CellRect;
        int left = cell.Left;
        int right = cell.Right;
        // Bands leave the indentation to the tree lines.
        if (isMain && FLineMode == lmBands) {
            if (paintInfo.BidiMode == bdLeftToRight) {
                left = cell.Left + paintInfo.Offsets[ofsCheckBox] - FImagesMargin;
                right = cell.Right - 1;
            } else {
                const int indentSize =
                    treePaint.Contains(toFixedIndent) || FLineImage == nullptr ? 1 : static_cast<int>(FLineImage->size());
                right = cell.Right - indentSize * FIndent - 1;
            }
        }
        DrawGridHLine(canvas, left, right, cell.Bottom - 1);
        --paintInfo.CellRect.Bottom;
        --paintInfo.ContentRect.Bottom;
    }
    if (useColumns) {
        const bool fixed = item->IsFixed();
        const bool lastAutoSized = isLastColumn && FHeader->Options().Contains(hoAutoResize);
        const bool vertical = gridLines && treePaint.Contains(toShowVertGridLines);
        if ((vertical && !lastAutoSized) || (!vertical && fixed)) {
            const bool reachesRight = cellBounds.Right + window.Left - FRowOrigin.X >= ClientWidth() + FEffectiveOffsetX;
            const bool emptyRtl = paintInfo.BidiMode != bdLeftToRight && DoGetCellIsEmpty(node, column);
            if ((!reachesRight || fixed) && !emptyRtl) {
                DrawGridLine(canvas, plat::Rect(paintInfo.CellRect.Right - 1, paintInfo.CellRect.Top,
                                                paintInfo.CellRect.Right, paintInfo.CellRect.Bottom));
                --paintInfo.CellRect.Right;
            }
            --paintInfo.ContentRect.Right;
        }
    }
    PrepareCell(paintInfo, static_cast<int>(window.Width()));
    if (isMain) {
        PaintMainColumnElements(paintInfo, buttonY);
    }
    if (paintInfo.ImageInfo[iiState].Index >= 0) {
        PaintImage(paintInfo, iiState, false);
    }
    if (paintInfo.ImageInfo[iiNormal].Index >= 0) {
        PaintImage(paintInfo, iiNormal, true);
    }
    const bool editing = FStates.Contains(tsEditing) && node == FFocusedNode && column == FEditColumn;
    if (!editing) {
        DoPaintNode(paintInfo);
    }
    canvas.Brush()->SetColor(FColors->BackGroundColor());
    DoAfterCellPaint(&canvas, node, column, paintInfo.CellRect);
    if (useColumns) {
        canvas.RequireState();
        if (FRowClip.IsEmpty()) {
            canvas.Handle()->SelectClipRgn(nullptr);
        } else {
            ClipCanvas(canvas, FRowClip, FTargetClip);
        }
    }
    paintInfo.PaintOptions = callOptions;
    return nextNonEmpty;
}

plat::TRect TBaseDataTree::RowClipped(const plat::TRect& r) const
{
    return FRowClip.IsEmpty() ? r : plat::IntersectRect(r, FRowClip);
}

void TBaseDataTree::PaintMainColumnElements(TDTPaintInfo& paintInfo, int buttonY)
{
    PDataNode node = paintInfo.Node;
    const TDTPaintOptions treePaint = FOptions->PaintOptions();
    plat::TCanvas& canvas = *paintInfo.Canvas;
    if (treePaint.Contains(toShowTreeLines) && FLineImage != nullptr) {
        const int indentSize = treePaint.Contains(toFixedIndent) ? 1 : static_cast<int>(FLineImage->size());
        PaintTreeLines(paintInfo, indentSize, *FLineImage);
    }
    const bool buttonShown = treePaint.Contains(toShowButtons) && node->States.Contains(vsHasChildren) &&
                             (!node->States.Contains(vsAllChildrenHidden) ||
                              !FOptions->AutoOptions().Contains(toAutoHideButtons)) &&
                             (treePaint.Contains(toShowRoot) || node->fParent != FRoot);
    if (buttonShown) {
        PaintNodeButton(canvas, node, paintInfo.Column, paintInfo.CellRect, paintInfo.Offsets[ofsToggleButton],
                        buttonY, paintInfo.BidiMode);
    }
    if (paintInfo.ImageInfo[iiCheck].Index >= 0) {
        PaintCheckImage(canvas, paintInfo.ImageInfo[iiCheck], node->States.Contains(vsSelected));
    }
}

void TBaseDataTree::EraseNodeRow(TDTPaintInfo& paintInfo, const plat::TRect& r, const plat::TRect& window,
                                 int rowTop, bool useBackground)
{
    plat::TCanvas& canvas = *paintInfo.Canvas;
    plat::TColor itemColor = FColors->BackGroundColor();
    TItemEraseAction action = eaDefault;
    DoBeforeItemErase(&canvas, paintInfo.Node, r, itemColor, action);
    const TDTPaintOptions treePaint = FOptions->PaintOptions();
    plat::TRect area = r;
    switch (action) {
    case eaColor:
        FillSolid(canvas, area, itemColor);
        break;
    case eaNone:
        break;
    case eaDefault:
        if (useBackground) {
            // The picture keeps its place in the client horizontally and
            // scrolls with the rows vertically.
            const plat::TPoint offset = plat::Point(window.Left - FEffectiveOffsetX - r.Left, rowTop - r.Top);
            if (treePaint.Contains(toStaticBackground)) {
                StaticBackground(canvas, offset, area, itemColor);
            } else {
                TileBackground(canvas, offset, area, itemColor);
            }
        } else if (paintInfo.Node->States.Contains(vsSelected) && paintInfo.PaintOptions.Contains(poDrawSelection) &&
            FOptions->SelectionOptions().Contains(toFullRowSelect) && !treePaint.Contains(toUseBlendedSelection)) {
            if (treePaint.Contains(toShowHorzGridLines)) {
                FillSolid(canvas, plat::Rect(area.Left, area.Bottom - 1, area.Right, area.Bottom), itemColor);
                --area.Bottom;
            }
            const bool focused = Focused() || treePaint.Contains(toPopupMode);
            canvas.Brush()->SetStyle(plat::bsSolid);
            canvas.Brush()->SetColor(focused ? FColors->FocusedSelectionColor() : FColors->UnfocusedSelectionColor());
            canvas.Pen()->SetColor(focused ? FColors->FocusedSelectionBorderColor()
                                           : FColors->UnfocusedSelectionBorderColor());
            canvas.RoundRect(area.Left, area.Top, area.Right, area.Bottom, FSelectionCurveRadius,
                             FSelectionCurveRadius);
        } else {
            FillSolid(canvas, area, itemColor);
        }
        break;
    }
    DoAfterItemErase(&canvas, paintInfo.Node, r);
}

void TBaseDataTree::PrepareCell(TDTPaintInfo& paintInfo, int maxWidth)
{
    plat::TCanvas& canvas = *paintInfo.Canvas;
    PDataNode node = paintInfo.Node;
    const TDTPaintOptions treePaint = FOptions->PaintOptions();
    const TDTSelectionOptions selection = FOptions->SelectionOptions();
    const bool gridExtensions = FOptions->MiscOptions().Contains(toGridExtensions);
    if (paintInfo.PaintOptions.Contains(poColumnColor)) {
        FillSolid(canvas, paintInfo.CellRect, FHeader->Columns().Items(paintInfo.Column)->GetEffectiveColor());
    }
    DoBeforeCellPaint(&canvas, node, paintInfo.Column, cpmPaint, paintInfo.CellRect, paintInfo.ContentRect);
    plat::TRect inner = paintInfo.ContentRect;
    if (!gridExtensions && paintInfo.NodeWidth < inner.Width()) {
        switch (paintInfo.Alignment) {
        case taLeftJustify:
            inner.Right = inner.Left + paintInfo.NodeWidth;
            break;
        case taRightJustify:
            inner.Left = inner.Right - paintInfo.NodeWidth;
            break;
        default:
            inner.Left = (inner.Left + inner.Right - paintInfo.NodeWidth) / 2;
            inner.Right = inner.Left + paintInfo.NodeWidth;
            break;
        }
    }
    const bool cellTakesFocus = paintInfo.Column == FFocusedColumn || selection.Contains(toFullRowSelect);
    const bool focused = Focused() || treePaint.Contains(toPopupMode);
    if (cellTakesFocus && paintInfo.PaintOptions.Contains(poDrawSelection)) {
        const bool selected = node->States.Contains(vsSelected);
        const bool wholeCell = gridExtensions || selection.Contains(toFullRowSelect);
        plat::TColor fill = 0;
        plat::TColor border = 0;
        bool draw = false;
        if (node == FDropTargetNode) {
            draw = FLastDropMode == dmOnNode || selected;
            fill = FColors->DropTargetColor();
            border = FColors->DropTargetBorderColor();
        } else if (selected) {
            draw = true;
            fill = focused ? FColors->FocusedSelectionColor() : FColors->UnfocusedSelectionColor();
            border = focused ? FColors->FocusedSelectionBorderColor() : FColors->UnfocusedSelectionBorderColor();
        }
        const plat::TRect area = wholeCell ? paintInfo.CellRect : inner;
        if (node == FDropTargetNode && !draw) {
            canvas.Brush()->SetStyle(plat::bsClear);
        }
        if (draw && !area.IsEmpty()) {
            if (treePaint.Contains(toUseBlendedSelection)) {
                canvas.RequireState();
                const plat::TRect clipped = plat::IntersectRect(
                    area, plat::Rect(FRowOrigin.X, area.Top, FRowOrigin.X + maxWidth, area.Bottom));
                AlphaBlend(nullptr, canvas.Handle(), clipped, plat::Point(0, 0), bmConstantAlphaAndColor,
                           FSelectionBlendFactor, plat::ColorToRGB(fill));
            } else {
                canvas.Brush()->SetStyle(plat::bsSolid);
                canvas.Brush()->SetColor(fill);
                canvas.Pen()->SetColor(border);
                canvas.RoundRect(area.Left, area.Top, area.Right, area.Bottom, FSelectionCurveRadius,
                                 FSelectionCurveRadius);
            }
        }
    }
    // Across a full row, the focus mark stands in the focused column (the
    // explorer look that marks the whole row does not exist here).
    if (cellTakesFocus && paintInfo.PaintOptions.Contains(poDrawFocusRect) && focused && node == FFocusedNode &&
        paintInfo.Column == FFocusedColumn) {
        canvas.RequireState();
        plat::TDeviceContext* dc = canvas.Handle();
        const plat::COLORREF oldText = dc->SetTextColor(0xFFFFFF);
        const plat::COLORREF oldBack = dc->SetBkColor(0);
        canvas.DrawFocusRect(gridExtensions ? paintInfo.CellRect : inner);
        dc->SetTextColor(oldText);
        dc->SetBkColor(oldBack);
    }
}

void TBaseDataTree::DrawGridLine(plat::TCanvas& canvas, const plat::TRect& r)
{
    FillSolid(canvas, r, FColors->GridLineColor());
}

void TBaseDataTree::DrawGridHLine(plat::TCanvas& canvas, int left, int right, int top)
{
    DrawGridLine(canvas, plat::Rect(std::min(left, right), top, std::max(left, right) + 1, top + 1));
}

void TBaseDataTree::DoPaintDropMark(plat::TCanvas* canvas, PDataNode, const plat::TRect& r)
{
    if (FLastDropMode != dmAbove && FLastDropMode != dmBelow) {
        return;
    }
    const int l = r.Left;
    const int t = r.Top;
    const int rt = r.Right;
    const int b = r.Bottom;
    // A bar along the row's top (bottom) edge with its ends bent inwards.
    const plat::TPoint above[] = {plat::Point(l + 2, t),     plat::Point(rt - 2, t),    plat::Point(rt - 2, t + 6),
                                  plat::Point(rt - 6, t + 2), plat::Point(l + 6, t + 2), plat::Point(l + 2, t + 6)};
    const plat::TPoint below[] = {plat::Point(l + 2, b - 1), plat::Point(rt - 2, b - 1), plat::Point(rt - 2, b - 8),
                                  plat::Point(rt - 7, b - 3), plat::Point(l + 7, b - 3),  plat::Point(l + 2, b - 8)};
    const plat::TPenStyle oldPenStyle = canvas->Pen()->Style();
    const plat::TColor oldBrushColor = canvas->Brush()->Color();
    canvas->Pen()->SetStyle(plat::psClear);
    canvas->Brush()->SetStyle(plat::bsSolid);
    canvas->Brush()->SetColor(FColors->DropMarkColor());
    canvas->Polygon(FLastDropMode == dmAbove ? above : below, 6);
    canvas->Pen()->SetStyle(oldPenStyle);
    canvas->Brush()->SetColor(oldBrushColor);
}

void TBaseDataTree::PaintBelowRows(plat::TCanvas& canvas, const plat::TRect& strip, const plat::TRect& window,
                                   bool useBackground)
{
    if (DoPaintBackground(&canvas, strip)) {
        return;
    }
    const plat::TColor background = FColors->BackGroundColor();
    if (useBackground) {
        // The picture continues below the rows as it runs behind them.
        const plat::TPoint offset = plat::Point(window.Left - strip.Left - FEffectiveOffsetX,
                                                window.Bottom - static_cast<int>(strip.Height()) - strip.Top);
        if (FOptions->PaintOptions().Contains(toStaticBackground)) {
            StaticBackground(canvas, offset, strip, background);
        } else {
            TileBackground(canvas, offset, strip, background);
        }
        return;
    }
    if (!FHeader->UseColumns()) {
        FillSolid(canvas, strip, background);
        return;
    }
    const TDTPaintOptions treePaint = FOptions->PaintOptions();
    const bool fullGrid = treePaint.Contains(toFullVertGridLines) && treePaint.Contains(toShowVertGridLines);
    const bool autoResize = FHeader->Options().Contains(hoAutoResize);
    const TColumnsArray visible = FHeader->Columns().GetVisibleColumns();
    int right = strip.Left;
    for (std::size_t i = 0; i < visible.size(); ++i) {
        const TDataTreeColumn* column = visible[i];
        const int left = strip.Left + column->AbsoluteLeft() - window.Left;
        right = left + column->Width();
        if (right <= strip.Left || left >= strip.Right) {
            continue;
        }
        plat::TRect part = plat::Rect(std::max(left, strip.Left), strip.Top, std::min(right, strip.Right), strip.Bottom);
        const bool line = fullGrid && !(autoResize && i + 1 == visible.size());
        if (line) {
            DrawGridLine(canvas, plat::Rect(right - 1, strip.Top, right, strip.Bottom));
            part.Right = std::min(part.Right, right - 1);
        }
        FillSolid(canvas, part, column->Options().Contains(coParentColor) ? background : column->Color());
    }
    if (right < strip.Right) {
        FillSolid(canvas, plat::Rect(std::max(right, strip.Left), strip.Top, strip.Right, strip.Bottom), background);
    }
}

void TBaseDataTree::PaintEmptyListMessage(plat::TCanvas& canvas)
{
    canvas.Font()->Assign(Font());
    canvas.Font()->SetSize(static_cast<int>(std::lround(Font()->Size() * 1.25)));
    canvas.Font()->SetColor(plat::clGrayText);
    canvas.Brush()->SetStyle(plat::bsClear);
    canvas.RequireState();
    const int margin = ScaledPixels(2 * std::max(FTextMargin, 4));
    plat::TRect r = plat::Rect(FOffsetX + margin, margin, FOffsetX + Width(), Height() - margin);
    canvas.Handle()->SetBkMode(plat::TRANSPARENT);
    canvas.Handle()->DrawText(FEmptyListMessage, r,
                              plat::DT_EXPANDTABS | plat::DT_LEFT | plat::DT_NOCLIP | plat::DT_WORDBREAK);
}

// ---- paint events ----

void TBaseDataTree::DoPaintNode(TDTPaintInfo&)
{
}

void TBaseDataTree::DoBeforePaint(plat::TCanvas* canvas)
{
    if (OnBeforePaint) {
        OnBeforePaint(this, canvas);
    }
}

void TBaseDataTree::DoAfterPaint(plat::TCanvas* canvas)
{
    if (OnAfterPaint) {
        OnAfterPaint(this, canvas);
    }
}

void TBaseDataTree::DoBeforeItemErase(plat::TCanvas* canvas, PDataNode node, const plat::TRect& itemRect,
                                      plat::TColor& color, TItemEraseAction& eraseAction)
{
    if (OnBeforeItemErase) {
        OnBeforeItemErase(this, canvas, node, itemRect, color, eraseAction);
    }
}

void TBaseDataTree::DoAfterItemErase(plat::TCanvas* canvas, PDataNode node, const plat::TRect& itemRect)
{
    if (OnAfterItemErase) {
        OnAfterItemErase(this, canvas, node, itemRect);
    }
}

bool TBaseDataTree::DoBeforeItemPaint(plat::TCanvas* canvas, PDataNode node, const plat::TRect& itemRect)
{
    bool customDraw = false;
    if (OnBeforeItemPaint) {
        OnBeforeItemPaint(this, canvas, node, itemRect, customDraw);
    }
    return customDraw;
}

void TBaseDataTree::DoAfterItemPaint(plat::TCanvas* canvas, PDataNode node, const plat::TRect& itemRect)
{
    if (OnAfterItemPaint) {
        OnAfterItemPaint(this, canvas, node, itemRect);
    }
}

void TBaseDataTree::DoBeforeCellPaint(plat::TCanvas* canvas, PDataNode node, TColumnIndex column,
                                      TDTCellPaintMode mode, const plat::TRect& cellRect, plat::TRect& contentRect)
{
    if (!OnBeforeCellPaint) {
        return;
    }
    canvas->Font()->Assign(Font());
    // Asking for the margins draws nothing: the window does not redraw meanwhile.
    const bool suspend = mode == cpmGetContentMargin && HandleAllocated() && !plat::IsRedrawOff(Handle());
    if (suspend) {
        SetRedraw(false);
    }
    TryFinally([&] { OnBeforeCellPaint(this, canvas, node, column, mode, cellRect, contentRect); },
               [&] {
                   if (suspend) {
                       SetRedraw(true);
                   }
               });
}

void TBaseDataTree::DoAfterCellPaint(plat::TCanvas* canvas, PDataNode node, TColumnIndex column,
                                     const plat::TRect& cellRect)
{
    if (OnAfterCellPaint) {
        OnAfterCellPaint(this, canvas, node, column, cellRect);
    }
}

bool TBaseDataTree::DoPaintBackground(plat::TCanvas* canvas, const plat::TRect& r)
{
    bool handled = false;
    if (OnPaintBackground) {
        OnPaintBackground(this, canvas, r, handled);
    }
    return handled;
}

bool TBaseDataTree::DoGetCellIsEmpty(PDataNode node, TColumnIndex column)
{
    bool isEmpty = true;
    if (OnGetCellIsEmpty) {
        OnGetCellIsEmpty(this, node, column, isEmpty);
    }
    return isEmpty;
}

void TBaseDataTree::DoPaintText(PDataNode node, plat::TCanvas* canvas, TColumnIndex column, TDSTTextType textType)
{
    if (OnPaintText) {
        OnPaintText(this, canvas, node, column, textType);
    }
}

void TBaseDataTree::AdjustPaintCellRect(TDTPaintInfo& paintInfo, TColumnIndex& nextNonEmpty)
{
    nextNonEmpty = paintInfo.Column >= 0 ? FHeader->Columns().GetNextVisibleColumn(paintInfo.Column) : InvalidColumn;
}

void TBaseDataTree::RedirectFontChangeEvent(plat::TCanvas* canvas)
{
    if (FFontRedirected) {
        return;
    }
    FOldFontChange = canvas->Font()->OnChange;
    FFontRedirected = true;
    canvas->Font()->OnChange = [this](plat::TObject* sender) {
        FFontChanged = true;
        if (FOldFontChange) {
            FOldFontChange(sender);
        }
    };
}

void TBaseDataTree::RestoreFontChangeEvent(plat::TCanvas* canvas)
{
    if (!FFontRedirected) {
        return;
    }
    canvas->Font()->OnChange = FOldFontChange;
    FOldFontChange = nullptr;
    FFontRedirected = false;
}

} // namespace qel
