// What the data tree draws in front of a node's text and over its row: the
// six expand-button pictures and the tree lines' dotted brush, the
// tree-line steps of a row and their drawing, the expand button, check box
// and radio button pictures (the tree's own set or the application's),
// state and normal images with overlays, and the mouse selection rectangle.
#include "widgets/tree/base_data_tree.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/canvas.h"
#include "platform/canvas/control_drawing.h"
#include "platform/canvas/device_context.h"
#include "platform/canvas/gdi_constants.h"
#include "platform/canvas/graphics_objects.h"
#include "platform/canvas/image_list.h"
#include "widgets/tree/tree_drawing_utils.h"

#include <algorithm>

namespace qel {

namespace {

// Rows of the line patterns: a one-pixel checkerboard, and solid.
constexpr std::uint16_t DottedRows[9] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
constexpr std::uint16_t SolidRows[8] = {0, 0, 0, 0, 0, 0, 0, 0};

// The colour that stays transparent in the button pictures.
constexpr plat::TColor ButtonMaskColor = plat::clFuchsia;

void FillBitmap(plat::TBitmap& bitmap, int size)
{
    bitmap.SetSize(size, size);
    bitmap.SetTransparentColor(ButtonMaskColor);
    bitmap.SetTransparent(true);
    plat::TCanvas& canvas = *bitmap.Canvas();
    canvas.Brush()->SetStyle(plat::bsSolid);
    canvas.Brush()->SetColor(ButtonMaskColor);
    canvas.FillRect(plat::Rect(0, 0, size, size));
}

// The shaded button pictures: a framed box with a soft vertical gradient
// and a dark sign, drawn at 9 x 9 when first asked for.
void RegisterShadedButtons()
{
    static const bool registered = [] {
        for (const bool plus : {true, false}) {
            constexpr int size = 9;
            std::vector<std::uint8_t> pixels(size * size * 4);
            for (int y = 0; y < size; ++y) {
                for (int x = 0; x < size; ++x) {
                    std::uint8_t* p = &pixels[static_cast<std::size_t>((y * size + x) * 4)];
                    const bool frame = x == 0 || y == 0 || x == size - 1 || y == size - 1;
                    const bool sign = (y == size / 2 && x >= 2 && x <= size - 3) ||
                                      (plus && x == size / 2 && y >= 2 && y <= size - 3);
                    std::uint8_t value = static_cast<std::uint8_t>(255 - y * 8);
                    if (frame) {
                        value = 0x80;
                    }
                    if (sign) {
                        value = 0x20;
                    }
                    p[0] = value;
                    p[1] = value;
                    p[2] = frame ? static_cast<std::uint8_t>(0x70) : value;
                    p[3] = 255;
                }
            }
            plat::RegisterBitmapResource(plus ? "DT_XPBUTTONPLUS" : "DT_XPBUTTONMINUS", size, size, pixels.data());
        }
        return true;
    }();
    (void)registered;
}

// Gives the bitmap the size, keeping what it shows; new parts are transparent.
void FitBitmap(plat::TBitmap& bitmap, plat::TSize size)
{
    const int oldWidth = bitmap.Width();
    const int oldHeight = bitmap.Height();
    bitmap.SetSize(size.cx, size.cy);
    plat::TCanvas& canvas = *bitmap.Canvas();
    canvas.Brush()->SetStyle(plat::bsSolid);
    canvas.Brush()->SetColor(ButtonMaskColor);
    canvas.FillRect(plat::Rect(oldWidth, 0, size.cx, size.cy));
    canvas.FillRect(plat::Rect(0, oldHeight, size.cx, size.cy));
}

} // namespace

// ---- button pictures and the line brush ----

int TBaseDataTree::ButtonWidth() const
{
    return FPlusBM->Empty() ? ScaledPixels(9) : FPlusBM->Width();
}

int TBaseDataTree::ButtonHeight() const
{
    return FPlusBM->Empty() ? ScaledPixels(9) : FPlusBM->Height();
}

plat::TLogBrush TBaseDataTree::MakeLineBrush(const std::uint16_t* bits)
{
    return plat::CreateMonochromePatternBrush(bits);
}

void TBaseDataTree::PrepareBitmaps(bool needButtons, bool needLines)
{
    plat::TBitmap* const minus[] = {FMinusBM.get(), FHotMinusBM.get(), FSelectedHotMinusBM.get()};
    plat::TBitmap* const plus[] = {FPlusBM.get(), FHotPlusBM.get(), FSelectedHotPlusBM.get()};
    int size = ScaledPixels(9);
    if (needButtons && OnPrepareButtonBitmaps) {
        for (plat::TBitmap* each : {minus[0], minus[1], minus[2], plus[0], plus[1], plus[2]}) {
            FillBitmap(*each, size);
        }
        plat::TSize chosen{size, size};
        OnPrepareButtonBitmaps(this, plus[0], plus[1], plus[2], minus[0], minus[1], minus[2], chosen);
        // The size the handler answers is the buttons' size.
        if (chosen.cx > 0 && chosen.cy > 0 && (chosen.cx != size || chosen.cy != size)) {
            for (plat::TBitmap* each : {minus[0], minus[1], minus[2], plus[0], plus[1], plus[2]}) {
                FitBitmap(*each, chosen);
            }
        }
    } else if (needButtons) {
        const auto drawButton = [&](plat::TBitmap* const (&set)[3], bool isPlus) {
            for (plat::TBitmap* each : set) {
                FillBitmap(*each, size);
            }
            plat::TCanvas& canvas = *set[0]->Canvas();
            const int w = size;
            if (FButtonStyle == bsTriangle) {
                // Fixed pixel coordinates: the triangle keeps its 9-pixel shape.
                const plat::TPoint minusPoints[] = {plat::Point(0, 2), plat::Point(8, 2), plat::Point(4, 6)};
                const plat::TPoint plusPoints[] = {plat::Point(2, 0), plat::Point(6, 4), plat::Point(2, 8)};
                canvas.Brush()->SetColor(plat::clBlack);
                canvas.Pen()->SetColor(plat::clBlack);
                canvas.Polygon(isPlus ? plusPoints : minusPoints, 3);
            } else if (FButtonFillMode == fmShaded) {
                RegisterShadedButtons();
                set[0]->LoadFromResourceName(isPlus ? "DT_XPBUTTONPLUS" : "DT_XPBUTTONMINUS");
            } else {
                if (FButtonFillMode == fmTreeColor) {
                    canvas.Brush()->SetColor(FColors->BackGroundColor());
                } else if (FButtonFillMode == fmWindowColor) {
                    canvas.Brush()->SetColor(plat::clWindow);
                }
                canvas.Pen()->SetColor(FColors->TreeLineColor());
                canvas.Rectangle(0, 0, w, w);
                canvas.Pen()->SetColor(FColors->NodeFontColor());
                canvas.MoveTo(2, w / 2);
                canvas.LineTo(w - 2, w / 2);
                if (isPlus) {
                    canvas.MoveTo(w / 2, 2);
                    canvas.LineTo(w / 2, w - 2);
                }
            }
            set[1]->Assign(set[0]);
            set[2]->Assign(set[0]);
        };
        drawButton(minus, false);
        drawButton(plus, true);
    }
    if (needLines) {
        const std::uint16_t* bits = FLineStyle == lsSolid ? SolidRows : DottedRows;
        if (FLineStyle == lsCustomStyle && OnGetLineStyle) {
            OnGetLineStyle(this, bits);
        }
        FDottedBrushTreeLines = MakeLineBrush(bits != nullptr ? bits : DottedRows);
    }
}

void TBaseDataTree::SetOnPrepareButtonBitmaps(TDTPrepareButtonImagesEvent handler)
{
    OnPrepareButtonBitmaps = std::move(handler);
    PrepareBitmaps(true, false);
}

void TBaseDataTree::SetButtonStyle(TDTButtonStyle value)
{
    if (value == FButtonStyle) {
        return;
    }
    FButtonStyle = value;
    if (!Loading()) {
        PrepareBitmaps(true, false);
        if (HandleAllocated()) {
            Invalidate();
        }
    }
}

void TBaseDataTree::SetButtonFillMode(TDTButtonFillMode value)
{
    if (value == FButtonFillMode) {
        return;
    }
    FButtonFillMode = value;
    if (!Loading()) {
        PrepareBitmaps(true, false);
        if (HandleAllocated()) {
            Invalidate();
        }
    }
}

void TBaseDataTree::SetLineStyle(TDTLineStyle value)
{
    if (value == FLineStyle) {
        return;
    }
    FLineStyle = value;
    if (!Loading()) {
        PrepareBitmaps(false, true);
        if (HandleAllocated()) {
            Invalidate();
        }
    }
}

void TBaseDataTree::SetLineMode(TDTLineMode value)
{
    StoreAndRepaint(FLineMode, value, true);
}

// ---- check pictures ----

std::unique_ptr<plat::TCustomImageList> TBaseDataTree::CreateSystemCheckImages() const
{
    const int size = plat::MulDiv(plat::GlyphSize, FCurrentPPI, 96);
    auto images = std::make_unique<plat::TCustomImageList>(nullptr);
    images->SetSize(size, size);
    images->SetBkColor(plat::clWhite);
    plat::TBitmap picture(size, size);
    plat::TCanvas& canvas = *picture.Canvas();
    const auto clear = [&] {
        canvas.Brush()->SetStyle(plat::bsSolid);
        canvas.Brush()->SetColor(plat::clRed);
        canvas.FillRect(plat::Rect(0, 0, size, size));
    };
    clear();
    images->AddMasked(&picture, plat::clRed);
    images->BeginUpdate();
    for (std::uint32_t i = 0; i < 20; ++i) {
        clear();
        std::uint32_t state = i < 8 ? plat::DFCS_BUTTONRADIO : plat::DFCS_BUTTONCHECK;
        if (i >= 16) {
            state |= plat::DFCS_BUTTON3STATE;
        }
        if (((1u << i) & 0xFF0F0u) != 0) {
            state |= plat::DFCS_CHECKED;
        }
        static constexpr std::uint32_t looks[] = {0, plat::DFCS_HOT, plat::DFCS_PUSHED, plat::DFCS_INACTIVE};
        state |= looks[i % 4];
        canvas.RequireState();
        canvas.Handle()->DrawFrameControl(plat::Rect(0, 0, size, size), plat::DFC_BUTTON, state);
        images->AddMasked(&picture, plat::clRed);
    }
    images->EndUpdate();
    return images;
}

// ---- tree lines ----

int TBaseDataTree::DetermineLineImageAndSelectLevel(PDataNode node, TLineImage& lineImage)
{
    const TDTPaintOptions paint = FOptions->PaintOptions();
    const bool showRoot = paint.Contains(toShowRoot);
    int count = showRoot ? 1 : 0;
    int selectLevel = 0;
    for (PDataNode run = node->fParent; run != FRoot; run = run->fParent) {
        ++count;
        if (run->States.Contains(vsSelected)) {
            ++selectLevel;
        }
    }
    lineImage.assign(static_cast<std::size_t>(count), ltNone);
    if (count == 0 || !paint.Contains(toShowTreeLines)) {
        return selectLevel;
    }
    const auto visibleSibling = [this](PDataNode each, bool next) {
        for (PDataNode run = next ? each->fNextSibling : each->fPrevSibling; run != nullptr;
             run = next ? run->fNextSibling : run->fPrevSibling) {
            if (GetEffectivelyVisible(run)) {
                return true;
            }
        }
        return false;
    };
    int pos = count - 1;
    const bool topLevel = node->fParent == FRoot;
    if (paint.Contains(toChildrenAbove)) {
        const bool downward = !topLevel || visibleSibling(node, true);
        if (visibleSibling(node, false)) {
            lineImage[static_cast<std::size_t>(pos)] = downward ? ltTopDownRight : ltTopRight;
        } else {
            lineImage[static_cast<std::size_t>(pos)] = downward ? ltBottomRight : ltRight;
        }
        int slot = pos - 1;
        for (PDataNode run = node->fParent; run != FRoot && slot >= 0; run = run->fParent, --slot) {
            lineImage[static_cast<std::size_t>(slot)] = visibleSibling(run, false) ? ltTopDown : ltNone;
        }
        return selectLevel;
    }
    PDataNode top = node;
    if (!topLevel) {
        lineImage[static_cast<std::size_t>(pos)] = visibleSibling(node, true) ? ltTopDownRight : ltTopRight;
        int slot = pos - 1;
        PDataNode run = node->fParent;
        while (run->fParent != FRoot) {
            if (slot >= 0) {
                lineImage[static_cast<std::size_t>(slot)] = visibleSibling(run, true) ? ltTopDown : ltNone;
            }
            --slot;
            run = run->fParent;
        }
        top = run;
    }
    if (showRoot) {
        const bool hasNext = visibleSibling(top, true);
        if (top == node) {
            const bool hasPrevious = visibleSibling(top, false);
            lineImage[0] = hasPrevious ? (hasNext ? ltTopDownRight : ltTopRight) : (hasNext ? ltBottomRight : ltRight);
        } else {
            lineImage[0] = hasNext ? ltTopDown : ltNone;
        }
    }
    return selectLevel;
}

void TBaseDataTree::DoBeforeDrawLineImage(PDataNode node, int level, int& posX)
{
    if (OnBeforeDrawLineImage) {
        OnBeforeDrawLineImage(this, node, level, posX);
    }
}

void TBaseDataTree::PaintTreeLines(const TDTPaintInfo& paintInfo, int indentSize, const TLineImage& lineImage)
{
    const bool rtl = paintInfo.BidiMode != bdLeftToRight;
    plat::TCanvas& canvas = *paintInfo.Canvas;
    PDataNode node = paintInfo.Node;
    const int nodeHeight = static_cast<int>(std::min<std::int64_t>(node->fNodeHeight, INT32_MAX));
    TLineImage image(lineImage.begin(), lineImage.begin() + std::min<std::size_t>(lineImage.size(),
                                                                                   static_cast<std::size_t>(std::max(indentSize, 0))));
    int height = nodeHeight;
    if (FLineMode == lmBands) {
        if (!paintInfo.PaintOptions.Contains(poGridLines)) {
            return;
        }
        canvas.Font()->SetColor(FColors->GridLineColor());
        height = nodeHeight - 1;
        TLineImage bands(image.size(), ltNone);
        const bool open = node->States.Contains(vsExpanded) && node->FirstChild != nullptr &&
                          !node->States.Contains(vsAllChildrenHidden);
        for (std::size_t i = image.size(); i-- > 0;) {
            if (open) {
                bands[i] = ltLeft;
                continue;
            }
            const TDTLineType right = i + 1 < image.size() ? image[i + 1] : ltNone;
            switch (image[i]) {
            case ltNone:
            case ltTopDown:
                if (right == ltNone || right == ltTopRight) {
                    bands[i] = i + 1 < bands.size() ? bands[i + 1] : ltNone;
                } else {
                    bands[i] = ltLeft;
                }
                break;
            case ltLeft:
            case ltLeftBottom:
                bands[i] = ltNone;
                break;
            default:
                bands[i] = ltLeftBottom;
                break;
            }
        }
        image = std::move(bands);
    } else {
        canvas.Font()->SetColor(FColors->TreeLineColor());
    }
    const int step = rtl ? -FIndent : FIndent;
    int x = rtl ? paintInfo.CellRect.Right - FIndent - paintInfo.Offsets[ofsMargin]
                : paintInfo.CellRect.Left + paintInfo.Offsets[ofsMargin];
    const int levelShift = FOptions->PaintOptions().Contains(toShowRoot) ? 0 : 1;
    for (std::size_t i = 0; i < image.size(); ++i) {
        int posX = x;
        DoBeforeDrawLineImage(node, static_cast<int>(i) + levelShift, posX);
        DrawLineImage(paintInfo, posX, paintInfo.CellRect.Top, height, paintInfo.VAlign - 1, image[i], rtl);
        x += step;
    }
}

void TBaseDataTree::DrawLineImage(const TDTPaintInfo& paintInfo, int x, int y, int h, int vAlign, TDTLineType style,
                                  bool reverse)
{
    const int half = FIndent / 2;
    const int rightEnd = reverse ? x : x + FIndent - 1;
    const int middle = x + half;
    const auto across = [&] { DrawDottedHLine(paintInfo, middle, rightEnd, y + vAlign); };
    switch (style) {
    case ltBottomRight:
        DrawDottedVLine(paintInfo, y + vAlign, y + h, middle);
        across();
        break;
    case ltTopDown:
        DrawDottedVLine(paintInfo, y, y + h, middle);
        break;
    case ltTopDownRight:
        DrawDottedVLine(paintInfo, y, y + h, middle);
        across();
        break;
    case ltRight:
        across();
        break;
    case ltTopRight:
        DrawDottedVLine(paintInfo, y, y + vAlign, middle);
        across();
        break;
    case ltLeft:
        DrawDottedVLine(paintInfo, y, y + h, reverse ? x + FIndent : x);
        break;
    case ltLeftBottom:
        DrawDottedVLine(paintInfo, y, y + h, reverse ? x + FIndent : x);
        DrawDottedHLine(paintInfo, x, x + FIndent, y + h);
        break;
    case ltNone:
        break;
    }
}

namespace {

// Fills r with the tree-line brush: 0 bits in the canvas font's colour, 1
// bits in the background.
void FillWithLineBrush(const TDTPaintInfo& paintInfo, plat::TPoint rowOrigin, const plat::TLogBrush& brush,
                       plat::TColor background, const plat::TRect& r)
{
    plat::TCanvas& canvas = *paintInfo.Canvas;
    canvas.RequireState();
    plat::TDeviceContext* dc = canvas.Handle();
    const plat::COLORREF oldText = dc->SetTextColor(plat::ToColorRef(canvas.Font()->Color()));
    const plat::COLORREF oldBack = dc->SetBkColor(plat::ToColorRef(background));
    // The pattern keeps its phase to the row wherever the row is drawn.
    const plat::TPoint oldOrigin =
        dc->SetBrushOrg(paintInfo.BrushOrigin.X + rowOrigin.X, paintInfo.BrushOrigin.Y + rowOrigin.Y);
    dc->FillRect(r, brush);
    dc->SetBrushOrg(oldOrigin.X, oldOrigin.Y);
    dc->SetBkColor(oldBack);
    dc->SetTextColor(oldText);
}

} // namespace

void TBaseDataTree::DrawDottedHLine(const TDTPaintInfo& paintInfo, int left, int right, int top)
{
    if (FDottedBrushTreeLines.Style != plat::BS_PATTERN) {
        PrepareBitmaps(false, true);
    }
    FillWithLineBrush(paintInfo, FRowOrigin, FDottedBrushTreeLines, FColors->BackGroundColor(),
                      plat::Rect(std::min(left, right), top, std::max(left, right) + 1, top + 1));
}

void TBaseDataTree::DrawDottedVLine(const TDTPaintInfo& paintInfo, int top, int bottom, int left)
{
    if (FDottedBrushTreeLines.Style != plat::BS_PATTERN) {
        PrepareBitmaps(false, true);
    }
    FillWithLineBrush(paintInfo, FRowOrigin, FDottedBrushTreeLines, FColors->BackGroundColor(),
                      plat::Rect(left, std::min(top, bottom), left + 1, std::max(top, bottom) + 1));
}

// ---- button, check and images ----

void TBaseDataTree::PaintNodeButton(plat::TCanvas& canvas, PDataNode node, TColumnIndex, const plat::TRect& r,
                                    int buttonX, int buttonY, TBiDiMode bidiMode)
{
    if (FPlusBM->Empty()) {
        PrepareBitmaps(true, false);
    }
    const bool hot = node == FHotNode && FHotNodeButtonHit;
    const bool selected = node->States.Contains(vsSelected);
    plat::TBitmap* bitmap = nullptr;
    if (node->States.Contains(vsExpanded)) {
        bitmap = hot ? (selected ? FSelectedHotMinusBM.get() : FHotMinusBM.get()) : FMinusBM.get();
    } else {
        bitmap = hot ? (selected ? FSelectedHotPlusBM.get() : FHotPlusBM.get()) : FPlusBM.get();
    }
    const int x = bidiMode != bdLeftToRight ? r.Right - buttonX - bitmap->Width() : r.Left + buttonX;
    canvas.Draw(x, r.Top + buttonY, bitmap);
}

void TBaseDataTree::PaintCheckImage(plat::TCanvas& canvas, const TDTImageInfo& imageInfo, bool selected)
{
    plat::TCustomImageList* images = imageInfo.Images;
    if (images == nullptr || imageInfo.Index < 0 || imageInfo.Index >= images->Count()) {
        return;
    }
    const plat::TColor oldBlend = images->BlendColor();
    if (selected && !imageInfo.Ghosted) {
        const bool focused = Focused() || FOptions->PaintOptions().Contains(toPopupMode);
        images->SetBlendColor(focused ? FColors->FocusedSelectionColor() : FColors->UnfocusedSelectionColor());
    }
    images->Draw(&canvas, imageInfo.XPos, imageInfo.YPos, imageInfo.Index, plat::dsTransparent, plat::itImage, true);
    images->SetBlendColor(oldBlend);
}

void TBaseDataTree::GetImageIndex(TDTPaintInfo& paintInfo, TDTImageKind kind, TDTImageInfoIndex infoIndex)
{
    TDTImageInfo& info = paintInfo.ImageInfo[infoIndex];
    info.Index = -1;
    info.Ghosted = false;
    plat::TCustomImageList* images = DoGetImageIndex(paintInfo.Node, kind, paintInfo.Column, info.Ghosted, info.Index);
    if (images != nullptr) {
        info.Images = images;
    }
}

void TBaseDataTree::PaintImage(TDTPaintInfo& paintInfo, TDTImageInfoIndex imageInfoIndex, bool doOverlay)
{
    TDTImageInfo& image = paintInfo.ImageInfo[imageInfoIndex];
    if (image.Images == nullptr || image.Index < 0) {
        return;
    }
    PDataNode node = paintInfo.Node;
    const TDTPaintOptions paint = FOptions->PaintOptions();
    const TDTSelectionOptions selection = FOptions->SelectionOptions();
    const bool cutNode = node->States.Contains(vsCutOrCopy) && FStates.Contains(tsCutPending);
    const bool paintFocused = Focused() || paint.Contains(toGhostedIfUnfocused);
    TDTImageInfo& overlay = paintInfo.ImageInfo[iiOverlay];
    if (doOverlay) {
        GetImageIndex(paintInfo, ikOverlay, iiOverlay);
    } else {
        overlay.Index = -1;
    }
    const bool drawEnabled = !node->States.Contains(vsDisabled) && Enabled();
    const bool selected = node->States.Contains(vsSelected);
    // Ghosted, selected (outside full-row and grid looks) and cut images
    // are drawn half blended, in a focused tree that blends images.
    const bool blend = paintFocused && paint.Contains(toUseBlendedImages) &&
                       (image.Ghosted ||
                        (selected && !selection.Contains(toFullRowSelect) &&
                         !FOptions->MiscOptions().Contains(toGridExtensions)) ||
                        cutNode);
    const plat::TColor oldBlend = image.Images->BlendColor();
    // A selected image is blended with the list's default colour, the
    // highlight; the platform's list reads clDefault as black, so it is
    // named directly.
    image.Images->SetBlendColor(selected && !image.Ghosted ? plat::clHighlight : Color());
    const plat::TDrawingStyle style = blend ? plat::dsSelected : plat::dsTransparent;
    const bool sameListOverlay = overlay.Index >= 0 && overlay.Index < 15 && overlay.Images == image.Images;
    if (sameListOverlay) {
        image.Images->DrawOverlay(paintInfo.Canvas, image.XPos, image.YPos, image.Index, overlay.Index, style,
                                  drawEnabled);
    } else {
        image.Images->Draw(paintInfo.Canvas, image.XPos, image.YPos, image.Index, style, plat::itImage, drawEnabled);
        if (overlay.Index >= 0 && overlay.Images != nullptr) {
            overlay.Images->Draw(paintInfo.Canvas, image.XPos, image.YPos, overlay.Index, plat::dsTransparent,
                                 plat::itImage, drawEnabled);
        }
    }
    image.Images->SetBlendColor(oldBlend);
}

void TBaseDataTree::PaintSelectionRectangle(plat::TCanvas& canvas, int windowOrgX, const plat::TRect& selectionRect,
                                            plat::TRect targetRect)
{
    const plat::TRect ordered = OrderRect(selectionRect);
    if (FDrawSelectionMode == smBlendedRectangle) {
        targetRect = plat::OffsetRect(targetRect, windowOrgX, 0);
        const plat::TRect both = plat::IntersectRect(targetRect, ordered);
        if (both.IsEmpty()) {
            return;
        }
        const plat::TRect blended = plat::OffsetRect(both, -windowOrgX, 0);
        canvas.RequireState();
        AlphaBlend(nullptr, canvas.Handle(), blended, plat::Point(0, 0), bmConstantAlphaAndColor,
                   FSelectionBlendFactor, plat::ColorToRGB(FColors->SelectionRectangleBlendColor()));
        canvas.Brush()->SetStyle(plat::bsSolid);
        canvas.Brush()->SetColor(FColors->SelectionRectangleBorderColor());
        canvas.FrameRect(plat::OffsetRect(ordered, -windowOrgX, 0));
        return;
    }
    canvas.RequireState();
    plat::TDeviceContext* dc = canvas.Handle();
    const plat::COLORREF oldText = dc->SetTextColor(0xFFFFFF);
    const plat::COLORREF oldBack = dc->SetBkColor(0);
    canvas.DrawFocusRect(plat::OffsetRect(ordered, -windowOrgX, 0));
    dc->SetTextColor(oldText);
    dc->SetBkColor(oldBack);
}

} // namespace qel
