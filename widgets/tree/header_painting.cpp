// Painting the data tree's header: the band is drawn into the columns'
// header bitmap (fixed columns, then the scrolled ones) and copied to the
// window in one block; each button gets its edge by header style, its
// check box or image, caption, sort arrow and drop mark, laid out by the
// column; the application may draw whole buttons or single parts.
#include "widgets/tree/base_data_tree.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/canvas.h"
#include "platform/canvas/device_context.h"
#include "platform/canvas/gdi_constants.h"
#include "platform/canvas/graphics_objects.h"
#include "platform/canvas/image_list.h"
#include "widgets/tree/tree_drawing_utils.h"

#include <algorithm>

namespace qel {

namespace {

// Button edges: (edge kind, flags) per header style; the normal and hot
// edges draw their right side only when the button shows its right border.
struct TButtonEdges {
    std::uint32_t NormalEdge;
    std::uint32_t NormalFlags;
    std::uint32_t PressedEdge;
    std::uint32_t PressedFlags;
    std::uint32_t HotEdge;
    std::uint32_t HotFlags;
};

constexpr std::uint32_t RightSide = plat::BF_RIGHT;

TButtonEdges EdgesOf(TDTHeaderStyle style)
{
    switch (style) {
    case hsThickButtons:
        return {plat::EDGE_RAISED, 0x380B, plat::EDGE_RAISED, 0x780F, 0, 0};
    case hsFlatButtons:
        return {plat::BDR_RAISEDINNER, 0x280B, plat::BDR_SUNKENOUTER, 0x280F, 0, 0};
    case hsPlates:
    default:
        return {plat::BDR_RAISEDINNER, 0x380B, plat::BDR_SUNKENOUTER, 0x280F, plat::BDR_RAISEDINNER, 0x280B};
    }
}

enum TArrowDirection { adUp, adDown, adLeft, adRight };

// A triangle filled and outlined in the pen colour, corners at location +
// size times the direction's offsets.
void DrawArrow(plat::TCanvas& canvas, TArrowDirection direction, plat::TPoint location, int size)
{
    static constexpr int offsets[4][3][2] = {
        {{0, 1}, {1, 0}, {2, 1}},
        {{0, 0}, {1, 1}, {2, 0}},
        {{1, 0}, {0, 1}, {1, 2}},
        {{0, 0}, {1, 1}, {0, 2}},
    };
    plat::TPoint points[3];
    for (int i = 0; i < 3; ++i) {
        points[i] = plat::Point(location.X + size * offsets[direction][i][0],
                                location.Y + size * offsets[direction][i][1]);
    }
    const plat::TColor oldBrush = canvas.Brush()->Color();
    const int oldWidth = canvas.Pen()->Width();
    canvas.Brush()->SetStyle(plat::bsSolid);
    canvas.Brush()->SetColor(canvas.Pen()->Color());
    canvas.Pen()->SetWidth(1);
    canvas.Polygon(points, 3);
    canvas.Brush()->SetColor(oldBrush);
    canvas.Pen()->SetWidth(oldWidth);
}

std::uint32_t CaptionFormat(const TDataTreeColumn& column)
{
    TAlignment alignment = column.CaptionAlignment();
    if (column.BiDiMode() != bdLeftToRight) {
        alignment = alignment == taLeftJustify ? taRightJustify
                                               : alignment == taRightJustify ? taLeftJustify : alignment;
    }
    std::uint32_t format = plat::DT_NOPREFIX;
    format |= alignment == taRightJustify ? plat::DT_RIGHT : alignment == taCenter ? plat::DT_CENTER : plat::DT_LEFT;
    if (column.UseRightToLeftReading()) {
        format |= plat::DT_RTLREADING;
    }
    return format;
}

} // namespace

// ---- the tree's owner-draw hooks ----

bool TBaseDataTree::AdvancedHeaderOwnerDraw() const
{
    return FHeader->Options().Contains(hoOwnerDraw) && OnAdvancedHeaderDraw && OnHeaderDrawQueryElements &&
           !Designing();
}

bool TBaseDataTree::HeaderOwnerDraw() const
{
    return FHeader->Options().Contains(hoOwnerDraw) && OnHeaderDraw && !Designing() && !AdvancedHeaderOwnerDraw();
}

void TBaseDataTree::DoHeaderDraw(plat::TCanvas* canvas, TDataTreeColumn* column, const plat::TRect& r, bool hover,
                                 bool pressed, TDTDropMarkMode dropMark)
{
    if (OnHeaderDraw) {
        OnHeaderDraw(FHeader.get(), canvas, column, r, hover, pressed, dropMark);
    }
}

void TBaseDataTree::DoHeaderDrawQueryElements(THeaderPaintInfo& paintInfo, THeaderPaintElements& elements)
{
    if (OnHeaderDrawQueryElements) {
        OnHeaderDrawQueryElements(FHeader.get(), paintInfo, elements);
    }
}

void TBaseDataTree::DoAdvancedHeaderDraw(THeaderPaintInfo& paintInfo, const THeaderPaintElements& elements)
{
    if (OnAdvancedHeaderDraw) {
        OnAdvancedHeaderDraw(FHeader.get(), paintInfo, elements);
    }
}

// ---- the band ----

void TDataTreeColumns::PaintHeader(plat::HDC dc, const plat::TRect& r, int hOffset)
{
    TBaseDataTree* tree = TreeView();
    const plat::TRect& headerRect = tree->HeaderRect();
    FHeaderBitmap->SetSize(std::max(static_cast<int>(r.Width()), static_cast<int>(headerRect.Right)),
                           static_cast<int>(headerRect.Bottom));
    plat::TCanvas& canvas = *FHeaderBitmap->Canvas();
    const int fixedWidth = GetVisibleFixedWidth();
    const int rtlOffset = tree->UseRightToLeftAlignment() ? tree->ComputeRTLOffset(false) : 0;
    const int height = static_cast<int>(r.Height());
    const auto paintFixed = [&] {
        if (fixedWidth > 0) {
            PaintHeader(canvas, plat::Rect(0, 0, std::min(static_cast<int>(r.Right), fixedWidth), height),
                        plat::Point(r.Left, r.Top), rtlOffset);
        }
    };
    if (rtlOffset == 0) {
        paintFixed();
    }
    PaintHeader(canvas, plat::Rect(fixedWidth - hOffset, 0, r.Right + fixedWidth - hOffset, height),
                plat::Point(r.Left + fixedWidth, r.Top), rtlOffset);
    if (rtlOffset != 0) {
        paintFixed();
    }
    dc->BitBlt(r.Left, r.Top, static_cast<int>(r.Width()), height, FHeaderBitmap->DeviceContext(), r.Left, r.Top,
               plat::SRCCOPY);
}

void TDataTreeColumns::PaintHeader(plat::TCanvas& targetCanvas, plat::TRect r, plat::TPoint target, int rtlOffset)
{
    if (r.IsEmpty()) {
        return;
    }
    TBaseDataTree* tree = TreeView();
    const bool advancedOwnerDraw = tree->AdvancedHeaderOwnerDraw();
    THeaderPaintInfo paintInfo;
    paintInfo.TargetCanvas = &targetCanvas;
    targetCanvas.Font()->Assign(FHeader->Font());
    const int headerHeight = FHeader->Height();

    THeaderPaintElements elements;
    if (advancedOwnerDraw) {
        paintInfo.PaintRectangle = r;
        tree->DoHeaderDrawQueryElements(paintInfo, elements);
    }
    const plat::TRect background =
        plat::Rect(target.X, target.Y, target.X + static_cast<int>(r.Width()), target.Y + headerHeight);
    if (elements.Contains(hpeBackground)) {
        paintInfo.PaintRectangle = background;
        tree->DoAdvancedHeaderDraw(paintInfo, {hpeBackground});
    } else {
        targetCanvas.Brush()->SetStyle(plat::bsSolid);
        targetCanvas.Brush()->SetColor(FHeader->Background());
        targetCanvas.FillRect(background);
    }

    r.Left = std::max(r.Left, 0);
    r.Top = std::max(r.Top, 0);
    r.Right = std::min(r.Right, TotalWidth());
    r.Bottom = std::min(r.Bottom, headerHeight);
    TColumnIndex column = ColumnFromPosition(plat::Point(rtlOffset + r.Left, 0), false);
    if (column == InvalidColumn || column == NoColumn) {
        return;
    }
    int x = target.X + Items(column)->FLeft + rtlOffset - r.Left;
    const bool showRightBorder =
        FHeader->Style() == hsThickButtons || !FHeader->Options().Contains(hoAutoResize) || !tree->HasBevel();
    const int areaRight = target.X + r.Right + rtlOffset - r.Left;
    while (column != InvalidColumn && column != NoColumn && x < areaRight) {
        TDataTreeColumn* item = Items(column);
        const plat::TRect button = plat::Rect(x, target.Y, x + item->FWidth, target.Y + r.Bottom - r.Top);
        plat::TRect clip = button;
        clip.Left = std::max(clip.Left, target.X);
        clip.Top = target.Y + r.Top;
        clip.Right = std::min(clip.Right, areaRight);
        targetCanvas.RequireState();
        ClipCanvas(targetCanvas, clip);
        paintInfo.ShowRightBorder = showRightBorder;
        PaintColumn(paintInfo, column, button, advancedOwnerDraw);
        targetCanvas.RequireState();
        targetCanvas.Handle()->SelectClipRgn(nullptr);
        x += item->FWidth;
        column = GetNextVisibleColumn(column);
    }
}

void TDataTreeColumns::PaintColumn(THeaderPaintInfo& paintInfo, TColumnIndex index, const plat::TRect& button,
                                   bool advancedOwnerDraw)
{
    TBaseDataTree* tree = TreeView();
    TDataTreeColumn* column = Items(index);
    plat::TCanvas& canvas = *paintInfo.TargetCanvas;
    const TDTHeaderOptions options = FHeader->Options();
    const TDTColumnOptions columnOptions = column->Options();
    paintInfo.Column = column;
    paintInfo.IsHoverIndex = index == FHoverIndex && options.Contains(hoHotTrack) && columnOptions.Contains(coEnabled);
    paintInfo.IsDownIndex = index == FDownIndex && !FCheckBoxHit;
    paintInfo.DropMark = dmmNone;
    if (columnOptions.Contains(coShowDropMark) && index == FDropTarget && index != FDragIndex) {
        const TColumnPosition targetPosition = column->Position();
        const TColumnPosition dragPosition = IsValidColumn(FDragIndex) ? Items(FDragIndex)->Position() : 0;
        if (FDropBefore) {
            if (!(IsValidColumn(FDragIndex) && dragPosition + 1 == targetPosition)) {
                paintInfo.DropMark = dmmLeft;
            }
        } else if (!(IsValidColumn(FDragIndex) && dragPosition == targetPosition + 1)) {
            paintInfo.DropMark = dmmRight;
        }
    }
    paintInfo.IsEnabled = columnOptions.Contains(coEnabled) && tree->Enabled();
    paintInfo.ShowHeaderGlyph = options.Contains(hoShowImages) &&
                                ((FHeader->Images() != nullptr && column->ImageIndex() >= 0) || column->CheckBox());
    paintInfo.ShowSortGlyph = index == FHeader->SortColumn() && options.Contains(hoShowSortGlyphs);
    paintInfo.PaintRectangle = button;

    if (column->Style() == vsOwnerDraw && tree->HeaderOwnerDraw()) {
        tree->DoHeaderDraw(&canvas, column, paintInfo.PaintRectangle, paintInfo.IsHoverIndex, paintInfo.IsDownIndex,
                           paintInfo.DropMark);
        return;
    }
    THeaderPaintElements elements;
    if (advancedOwnerDraw) {
        tree->DoHeaderDrawQueryElements(paintInfo, elements);
    }
    // Decided by position: a column the user moved into the middle keeps
    // its right edge.
    const bool rightBorder = paintInfo.ShowRightBorder || index != GetLastVisibleColumn();

    if (elements.Contains(hpeBackground)) {
        tree->DoAdvancedHeaderDraw(paintInfo, {hpeBackground});
    } else {
        const TButtonEdges edges = EdgesOf(FHeader->Style());
        std::uint32_t edge = edges.NormalEdge;
        std::uint32_t flags = edges.NormalFlags | (rightBorder ? RightSide : 0u);
        if (paintInfo.IsDownIndex) {
            edge = edges.PressedEdge;
            flags = edges.PressedFlags;
        } else if (FHeader->Style() == hsPlates && paintInfo.IsHoverIndex && columnOptions.Contains(coAllowClick) &&
                   columnOptions.Contains(coEnabled)) {
            edge = edges.HotEdge;
            flags = edges.HotFlags | (rightBorder ? RightSide : 0u);
        }
        plat::TRect r = paintInfo.PaintRectangle;
        canvas.RequireState();
        canvas.Handle()->DrawEdge(r, edge, flags);
    }

    paintInfo.PaintRectangle = plat::InflateRect(button, -2, -2);
    const std::uint32_t drawFormat = CaptionFormat(*column);
    column->ComputeHeaderLayout(paintInfo, drawFormat);
    if (paintInfo.IsDownIndex) {
        paintInfo.TextRectangle = plat::OffsetRect(paintInfo.TextRectangle, 1, 1);
        paintInfo.GlyphPos = plat::Point(paintInfo.GlyphPos.X + 1, paintInfo.GlyphPos.Y + 1);
        paintInfo.SortGlyphPos = plat::Point(paintInfo.SortGlyphPos.X + 1, paintInfo.SortGlyphPos.Y + 1);
    }
    elements.Exclude(hpeBackground);
    column->FHasImage = false;

    if (!elements.Contains(hpeHeaderGlyph) && paintInfo.ShowHeaderGlyph) {
        plat::TCustomImageList* images = column->CheckBox() ? tree->CheckImages() : FHeader->Images();
        const int imageWidth = images != nullptr ? images->Width() : 0;
        if (images != nullptr && (!paintInfo.ShowSortGlyph || column->UseRightToLeftReading() ||
                                  paintInfo.SortGlyphPos.X >= paintInfo.GlyphPos.X + imageWidth)) {
            if (column->CheckBox()) {
                TDTImageInfo check;
                check.Images = images;
                check.Index = tree->GetCheckImage(nullptr, column->CheckType(), column->CheckState(),
                                                  paintInfo.IsEnabled);
                check.XPos = paintInfo.GlyphPos.X;
                check.YPos = paintInfo.GlyphPos.Y;
                tree->PaintCheckImage(canvas, check, false);
            } else {
                images->Draw(&canvas, paintInfo.GlyphPos.X, paintInfo.GlyphPos.Y, column->ImageIndex(),
                             paintInfo.IsEnabled);
            }
            column->FHasImage = true;
            column->FImageRect = plat::Rect(paintInfo.GlyphPos.X, paintInfo.GlyphPos.Y,
                                            paintInfo.GlyphPos.X + images->Width(),
                                            paintInfo.GlyphPos.Y + images->Height());
        }
    }

    const std::string& text = columnOptions.Contains(coWrapCaption) ? column->FCaptionText : column->FText;
    const bool hot = paintInfo.IsHoverIndex && options.Contains(hoHotTrack);
    if (!elements.Contains(hpeText) && !text.empty()) {
        DrawButtonText(canvas.Handle(), text, paintInfo.TextRectangle, paintInfo.IsEnabled, hot, drawFormat,
                       columnOptions.Contains(coWrapCaption));
    }

    if (!elements.Contains(hpeSortGlyph) && paintInfo.ShowSortGlyph) {
        const plat::TColor oldPen = canvas.Pen()->Color();
        canvas.Pen()->SetColor(static_cast<plat::TColor>(0x808080));
        DrawArrow(canvas, FHeader->SortDirection() == sdAscending ? adUp : adDown, paintInfo.SortGlyphPos,
                  paintInfo.SortGlyphSize.cy);
        canvas.Pen()->SetColor(oldPen);
    }

    if (!elements.Contains(hpeDropMark) && paintInfo.DropMark != dmmNone) {
        const int s = tree->ScaledPixels(5);
        const int y = (paintInfo.PaintRectangle.Top + paintInfo.PaintRectangle.Bottom - 3 * s) / 2;
        if (paintInfo.DropMark == dmmLeft) {
            DrawArrow(canvas, adLeft, plat::Point(paintInfo.PaintRectangle.Left, y), s);
        } else {
            DrawArrow(canvas, adRight, plat::Point(paintInfo.PaintRectangle.Right - s - s / 2, y), s);
        }
    }

    if (!elements.Empty()) {
        canvas.RequireState();
        const int saved = canvas.Handle()->SaveDC();
        tree->DoAdvancedHeaderDraw(paintInfo, elements);
        canvas.Handle()->RestoreDC(saved);
    }
}

void TDataTreeColumns::DrawButtonText(plat::HDC dc, const std::string& caption, const plat::TRect& bounds,
                                      bool enabled, bool hot, std::uint32_t drawFormat, bool wrapCaption)
{
    TBaseDataTree* tree = TreeView();
    std::string text = caption;
    if (!wrapCaption && dc->GetTextExtent(text).cx > bounds.Width()) {
        text = ShortenString(*dc, text, static_cast<int>(bounds.Width()));
    }
    const int oldMode = dc->SetBkMode(plat::TRANSPARENT);
    plat::TRect r = bounds;
    if (enabled) {
        const plat::TColor color = hot ? tree->Colors()->HeaderHotColor() : tree->Colors()->HeaderFontColor();
        const plat::COLORREF old = dc->SetTextColor(plat::ToColorRef(color));
        dc->DrawText(text, r, drawFormat);
        dc->SetTextColor(old);
    } else {
        const plat::COLORREF old = dc->SetTextColor(plat::ToColorRef(plat::clBtnHighlight));
        plat::TRect moved = plat::OffsetRect(bounds, 1, 1);
        dc->DrawText(text, moved, drawFormat);
        dc->SetTextColor(plat::ToColorRef(plat::clBtnShadow));
        dc->DrawText(text, r, drawFormat);
        dc->SetTextColor(old);
    }
    dc->SetBkMode(oldMode);
}

// ---- a column's layout ----

plat::TSize TDataTreeColumn::HeaderGlyphSize(bool showGlyph) const
{
    if (!showGlyph) {
        return plat::TSize{0, 0};
    }
    const plat::TCustomImageList* images = FCheckBox ? Tree()->CheckImages() : Header()->Images();
    return images != nullptr ? plat::TSize{images->Width(), images->Height()} : plat::TSize{0, 0};
}

plat::TSize TDataTreeColumn::SortGlyphSize(bool showSortGlyph) const
{
    if (!showSortGlyph) {
        return plat::TSize{0, 0};
    }
    return plat::TSize{Tree()->ScaledPixels(16), Tree()->ScaledPixels(4)};
}

void TDataTreeColumn::ComputeHeaderLayout(THeaderPaintInfo& paintInfo, std::uint32_t drawFormat)
{
    plat::TCanvas& canvas = *paintInfo.TargetCanvas;
    const plat::TRect client = paintInfo.PaintRectangle;
    const int w = static_cast<int>(client.Width());
    const int h = static_cast<int>(client.Height());
    const bool noText = FText.empty();
    const bool glyph = paintInfo.ShowHeaderGlyph;
    const bool sort = paintInfo.ShowSortGlyph;
    if (noText && !glyph && !sort) {
        return;
    }
    const bool ltr = !UseRightToLeftReading();
    TAlignment alignment = CaptionAlignment();
    if (!ltr) {
        alignment = alignment == taLeftJustify ? taRightJustify
                                               : alignment == taRightJustify ? taLeftJustify : alignment;
    }
    const plat::TSize glyphSize = HeaderGlyphSize(glyph);
    paintInfo.SortGlyphSize = SortGlyphSize(sort);
    paintInfo.SortGlyphPos.Y = (h - paintInfo.SortGlyphSize.cy) / 2;

    plat::TSize textSize{0, 0};
    int textSpacing = 0;
    const bool wrap = FOptions.Contains(coWrapCaption);
    canvas.RequireState();
    plat::TDeviceContext* dc = canvas.Handle();
    if (!noText) {
        textSpacing = FSpacing;
        if (wrap) {
            if (FCaptionText.empty()) {
                FCaptionText = WrapString(*dc, FText, client, !ltr, drawFormat);
            }
            plat::TRect measured = client;
            DrawTextAtPoint(*dc, FCaptionText, measured, drawFormat);
            textSize = plat::TSize{w, static_cast<int>(measured.Height())};
        } else {
            FCaptionText = FText;
            const plat::TSize extent = dc->GetTextExtent(FText);
            textSize = plat::TSize{extent.cx + 2, extent.cy};
        }
    }
    plat::TRect textRect = plat::Rect(0, 0, textSize.cx, textSize.cy);
    int textX = 0;
    int textY = 0;
    plat::TPoint glyphPos{0, 0};
    if (sort && noText && !glyph) {
        paintInfo.SortGlyphPos = plat::Point((w - paintInfo.SortGlyphSize.cx) / 2, (h - paintInfo.SortGlyphSize.cy) / 2);
    } else {
        const bool vertical = FLayout == blGlyphTop || FLayout == blGlyphBottom;
        if (!vertical || !glyph) {
            glyphPos.Y = (h - glyphSize.cy) / 2;
            textY = std::max((h - textSize.cy) / 2, -5);
        } else if (FLayout == blGlyphTop) {
            glyphPos.Y = (h - glyphSize.cy - textSize.cy - textSpacing) / 2;
            textY = glyphPos.Y + glyphSize.cy + textSpacing;
        } else {
            textY = (h - glyphSize.cy - textSize.cy - textSpacing) / 2;
            glyphPos.Y = textY + textSize.cy + textSpacing;
        }
        switch (alignment) {
        case taLeftJustify: {
            int e = FMargin;
            if (sort && !ltr) {
                paintInfo.SortGlyphPos.X = e;
                e += paintInfo.SortGlyphSize.cx + FSpacing;
            }
            if (vertical) {
                textX = e;
                if (glyph) {
                    glyphPos.X = std::max((w - glyphSize.cx) / 2, e);
                    e = std::max(glyphPos.X + glyphSize.cx + FSpacing, textX + textSize.cx + textSpacing);
                } else {
                    e += textSize.cx + textSpacing;
                }
            } else {
                if (glyph && FLayout == blGlyphLeft) {
                    glyphPos.X = e;
                    e += glyphSize.cx + FSpacing;
                }
                textX = e;
                e += textSize.cx + textSpacing;
                if (glyph && FLayout == blGlyphRight) {
                    glyphPos.X = e;
                    e += glyphSize.cx + FSpacing;
                }
            }
            if (ltr) {
                paintInfo.SortGlyphPos.X = e;
            }
            break;
        }
        case taRightJustify: {
            int m = w - FMargin;
            if (sort && ltr) {
                m -= paintInfo.SortGlyphSize.cx;
                paintInfo.SortGlyphPos.X = m;
                m -= FSpacing;
            }
            int a = 0;
            if (vertical) {
                textX = m - textSize.cx;
                if (glyph) {
                    glyphPos.X = (w - glyphSize.cx) / 2;
                    if (glyphPos.X + glyphSize.cx > m - FSpacing) {
                        glyphPos.X = m - glyphSize.cx - FSpacing;
                    }
                    a = std::min(textX - textSpacing, glyphPos.X - FSpacing);
                } else {
                    a = textX - textSpacing;
                }
            } else {
                if (glyph && FLayout == blGlyphRight) {
                    glyphPos.X = m - glyphSize.cx;
                    m -= glyphSize.cx + FSpacing;
                }
                textX = m - textSize.cx;
                a = textX - textSpacing;
                if (glyph && FLayout == blGlyphLeft) {
                    glyphPos.X = a - glyphSize.cx;
                    a -= glyphSize.cx + FSpacing;
                }
            }
            if (!ltr) {
                paintInfo.SortGlyphPos.X = a - paintInfo.SortGlyphSize.cx;
            }
            break;
        }
        default: {
            int b = 0;
            int e = 0;
            if (vertical) {
                glyphPos.X = (w - glyphSize.cx) / 2;
                textX = (w - textSize.cx) / 2;
                if (sort) {
                    textX -= paintInfo.SortGlyphSize.cx / 2;
                }
            } else {
                int l = (w - glyphSize.cx - textSpacing - textSize.cx) / 2;
                if (glyph && FLayout == blGlyphLeft) {
                    glyphPos.X = l;
                    l += textSpacing + glyphSize.cx;
                }
                textX = l;
                if (glyph && FLayout == blGlyphRight) {
                    glyphPos.X = l + textSpacing + textSize.cx;
                }
            }
            b = textX;
            e = textX + textSize.cx;
            if (glyph) {
                b = std::min(b, glyphPos.X);
                e = std::max(e, glyphPos.X + glyphSize.cx);
            }
            if (sort) {
                paintInfo.SortGlyphPos.X = ltr ? e + FSpacing : b - FSpacing - paintInfo.SortGlyphSize.cx;
            }
            break;
        }
        }
    }
    int minLeft = FMargin;
    int maxRight = w - FMargin;
    if (sort) {
        if (ltr) {
            if (paintInfo.SortGlyphPos.X + paintInfo.SortGlyphSize.cx > maxRight) {
                paintInfo.SortGlyphPos.X = maxRight - paintInfo.SortGlyphSize.cx;
            }
            maxRight = paintInfo.SortGlyphPos.X - FSpacing;
        }
        paintInfo.SortGlyphPos.X = std::max(paintInfo.SortGlyphPos.X, FMargin);
        if (!ltr) {
            minLeft = paintInfo.SortGlyphPos.X + paintInfo.SortGlyphSize.cx + FSpacing;
        }
    }
    paintInfo.SortGlyphPos = plat::Point(paintInfo.SortGlyphPos.X + client.Left, paintInfo.SortGlyphPos.Y + client.Top);
    if (glyph) {
        if (glyphPos.X + glyphSize.cx > maxRight) {
            glyphPos.X = maxRight - glyphSize.cx;
        }
        if (FLayout == blGlyphRight) {
            maxRight = glyphPos.X - FSpacing;
        }
        glyphPos.X = std::max(glyphPos.X, minLeft);
        if (FLayout == blGlyphLeft) {
            minLeft = glyphPos.X + glyphSize.cx + FSpacing;
        }
        const bool mainWithoutCheckBox = FIndex == Header()->MainColumn() && !FCheckBox;
        if (!mainWithoutCheckBox) {
            glyphPos.X -= 2;
        }
    }
    paintInfo.GlyphPos = plat::Point(glyphPos.X + client.Left, glyphPos.Y + client.Top);
    if (!noText) {
        textX = std::max(textX, minLeft);
        textRect = plat::OffsetRect(textRect, textX, textY);
        textRect.Right = std::min(textRect.Right, maxRight);
        textRect = plat::OffsetRect(textRect, client.Left, client.Top);
        if (wrap) {
            FCaptionText = WrapString(*dc, FText, textRect, !ltr, drawFormat);
            plat::TRect measured = textRect;
            DrawTextAtPoint(*dc, FCaptionText, measured, drawFormat);
            textRect.Bottom = textRect.Top + measured.Height();
        }
    }
    paintInfo.TextRectangle = textRect;
}

int TDataTreeColumn::CaptionWidth() const
{
    TBaseDataTree* tree = Tree();
    TDTHeader* header = Header();
    const TDTHeaderOptions options = header->Options();
    if (tree->AdvancedHeaderOwnerDraw()) {
        THeaderPaintInfo paintInfo;
        paintInfo.Column = const_cast<TDataTreeColumn*>(this);
        THeaderPaintElements elements;
        tree->DoHeaderDrawQueryElements(paintInfo, elements);
    }
    const bool glyph = options.Contains(hoShowImages) &&
                       ((header->Images() != nullptr && FImageIndex >= 0) || FCheckBox);
    const bool sort = header->SortColumn() >= 0 && header->SortColumn() == FIndex && options.Contains(hoShowSortGlyphs);
    if (FText.empty() && !glyph && !sort) {
        return 0;
    }
    const plat::TSize glyphSize = HeaderGlyphSize(glyph);
    const plat::TSize sortSize = SortGlyphSize(sort);
    plat::TBitmap measure(1, 1);
    measure.Canvas()->Font()->Assign(header->Font());
    int result = FText.empty() ? 0 : measure.Canvas()->TextWidth(FText) + 2;
    if (glyph) {
        if (FLayout == blGlyphLeft || FLayout == blGlyphRight) {
            result += glyphSize.cx + FSpacing;
        } else {
            result = std::max(result, glyphSize.cx);
        }
    }
    if (sort) {
        result += sortSize.cx + FSpacing + 2;
    }
    return result;
}

} // namespace qel
