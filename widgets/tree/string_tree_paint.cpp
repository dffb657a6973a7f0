// How the string tree paints a cell's texts: the colours of the normal
// text, the single line shortened with an end ellipsis or the word-wrapped
// block of a multi-line node, and the static text beside it.
#include "widgets/tree/string_data_tree.h"

#include "platform/canvas/canvas.h"
#include "platform/canvas/device_context.h"
#include "platform/canvas/gdi_constants.h"
#include "platform/canvas/graphics_objects.h"
#include "widgets/tree/tree_drawing_utils.h"
#include "widgets/tree/try_finally.h"

namespace qel {

namespace {

// Text output flags of a cell: clipped, and read right to left.
constexpr std::uint32_t TextOutClipped = 0x4;
constexpr std::uint32_t TextOutRtlReading = 0x80;

std::uint32_t AlignmentFlag(TAlignment alignment)
{
    return alignment == taRightJustify ? plat::DT_RIGHT : alignment == taCenter ? plat::DT_CENTER : plat::DT_LEFT;
}

} // namespace

void TCustomDataStringTree::DoPaintNode(TDTPaintInfo& paintInfo)
{
    plat::TCanvas* canvas = paintInfo.Canvas;
    RedirectFontChangeEvent(canvas);
    TryFinally(
        [&] {
            const std::uint32_t flags =
                TextOutClipped | (paintInfo.BidiMode != bdLeftToRight ? TextOutRtlReading : 0u);
            TDSTGetCellTextEventArgs e(paintInfo.Node, paintInfo.Column);
            e.StaticTextAlignment = paintInfo.Alignment;
            const bool measured = FMeasuredCell.Node == paintInfo.Node && FMeasuredCell.Column == paintInfo.Column;
            if (measured && !StringOptions().Contains(toShowStaticText)) {
                e.CellText = std::move(FMeasuredCell.Text);
            } else {
                e.CellText = DefaultText();
                DoGetText(e);
            }
            FMeasuredCell = {};
            if (!e.CellText.empty()) {
                PaintNormalText(paintInfo, flags, e.CellText);
            }
            if (Alignment() != taCenter && !paintInfo.Node->States.Contains(vsMultiline) &&
                StringOptions().Contains(toShowStaticText) && !e.StaticText.empty()) {
                PaintStaticText(paintInfo, e.StaticTextAlignment, e.StaticText);
            }
        },
        [&] { RestoreFontChangeEvent(canvas); });
}

void TCustomDataStringTree::AdjustPaintCellRect(TDTPaintInfo& paintInfo, TColumnIndex& nextNonEmpty)
{
    if (!TBaseDataTree::TreeOptions()->AutoOptions().Contains(toAutoSpanColumns) || !Header()->UseColumns() ||
        paintInfo.BidiMode != bdLeftToRight) {
        TBaseDataTree::AdjustPaintCellRect(paintInfo, nextNonEmpty);
        return;
    }
    // The text runs on over the empty cells that follow (left to right only).
    const TDataTreeColumns& columns = Header()->Columns();
    nextNonEmpty = paintInfo.Column;
    for (;;) {
        nextNonEmpty = columns.GetNextVisibleColumn(nextNonEmpty);
        if (nextNonEmpty == InvalidColumn || !DoGetCellIsEmpty(paintInfo.Node, nextNonEmpty) ||
            columns[nextNonEmpty]->BiDiMode() != bdLeftToRight) {
            return;
        }
        paintInfo.CellRect.Right += columns[nextNonEmpty]->Width();
    }
}

void TCustomDataStringTree::ApplyTextColours(TDTPaintInfo& paintInfo)
{
    plat::TFont* font = paintInfo.Canvas->Font();
    font->Assign(Font());
    font->SetColor(Enabled() ? Colors()->NodeFontColor() : Colors()->DisabledColor());
    const TCustomDataTreeOptions* options = TBaseDataTree::TreeOptions();
    PDataNode node = paintInfo.Node;
    if (options->PaintOptions().Contains(toHotTrack) && node == FHotNode && !TreeStates().Contains(tsUseExplorerTheme)) {
        font->SetStyle(font->Style() + plat::TFontStyles{plat::fsUnderline});
        font->SetColor(Colors()->HotColor());
    }
    const bool fullRow = options->SelectionOptions().Contains(toFullRowSelect);
    if (paintInfo.PaintOptions.Contains(poDrawSelection) && (paintInfo.Column == FocusedColumn() || fullRow)) {
        const bool selected = node->States.Contains(vsSelected);
        if (node == FDropTargetNode) {
            if (LastDropMode() == dmOnNode || selected) {
                font->SetColor(Colors()->GetSelectedNodeFontColor(true));
            }
        } else if (selected) {
            font->SetColor(
                Colors()->GetSelectedNodeFontColor(Focused() || options->PaintOptions().Contains(toPopupMode)));
        }
    }
}

void TCustomDataStringTree::PaintNormalText(TDTPaintInfo& paintInfo, std::uint32_t, std::string text)
{
    plat::TCanvas* canvas = paintInfo.Canvas;
    PDataNode node = paintInfo.Node;
    ApplyTextColours(paintInfo);
    plat::TRect r = paintInfo.ContentRect;
    r.Left += TextMargin();
    r.Right -= TextMargin();
    if (node->States.Contains(vsDisabled) || !Enabled()) {
        canvas->Font()->SetColor(Colors()->DisabledColor());
    }
    std::uint32_t drawFormat = 0;
    if (node->States.Contains(vsMultiline)) {
        DoPaintText(node, canvas, paintInfo.Column, ttNormal);
        const int height = ComputeNodeHeight(canvas, node, paintInfo.Column);
        drawFormat = AlignmentFlag(paintInfo.Alignment) | plat::DT_WORDBREAK | plat::DT_NOPREFIX |
                     plat::DT_EDITCONTROL | plat::DT_END_ELLIPSIS;
        if (paintInfo.BidiMode != bdLeftToRight) {
            drawFormat |= plat::DT_RTLREADING;
        }
        if (height < r.Height()) {
            const int shrink = static_cast<int>((r.Height() - height) / 2);
            r.Top += shrink;
            r.Bottom -= shrink;
        }
    } else {
        FFontChanged = false;
        int ellipsisWidth = FEllipsisWidth;
        DoPaintText(node, canvas, paintInfo.Column, ttNormal);
        if (FFontChanged) {
            const int width = DoMeasureText(canvas, node, paintInfo.Column, text).cx + 2 * TextMargin();
            if (width != paintInfo.NodeWidth) {
                paintInfo.NodeWidth = width;
                InvalidateNode(node);
            }
            ellipsisWidth = 0;
        }
        drawFormat = plat::DT_NOPREFIX | plat::DT_VCENTER | plat::DT_SINGLELINE;
        if (paintInfo.BidiMode != bdLeftToRight) {
            drawFormat |= plat::DT_RTLREADING;
        }
        if (paintInfo.Column < 0) {
            drawFormat |= AlignmentFlag(paintInfo.Alignment);
        } else if (r.Width() < paintInfo.NodeWidth - 2 * TextMargin()) {
            text = DoShortenString(canvas, node, paintInfo.Column, text, static_cast<int>(r.Width()), ellipsisWidth);
            if (paintInfo.Alignment == taRightJustify) {
                drawFormat |= plat::DT_RIGHT;
            }
        } else {
            drawFormat |= AlignmentFlag(paintInfo.Alignment);
        }
    }
    canvas->Brush()->SetStyle(plat::bsClear);
    DoDrawText(paintInfo, text, r, drawFormat);
}

std::string TCustomDataStringTree::DoShortenString(plat::TCanvas* canvas, PDataNode node, TColumnIndex column,
                                                   const std::string& s, int width, int ellipsisWidth)
{
    bool done = false;
    std::string result;
    if (OnShortenString) {
        OnShortenString(this, canvas, node, column, s, width, result, done);
    }
    if (done) {
        return result;
    }
    const TTextMeasure measure = [this, canvas, node, column](std::string_view text) {
        return DoMeasureText(canvas, node, column, std::string(text)).cx;
    };
    return ShortenString(measure, s, width, ellipsisWidth);
}

void TCustomDataStringTree::DoDrawText(TDTPaintInfo& paintInfo, const std::string& text,
                                       const plat::TRect& cellRect, std::uint32_t drawFormat)
{
    bool defaultDraw = true;
    if (OnDrawText) {
        OnDrawText(this, paintInfo.Canvas, paintInfo.Node, paintInfo.Column, text, cellRect, defaultDraw);
    }
    if (!defaultDraw) {
        return;
    }
    std::string drawn = text;
    if ((drawFormat & plat::DT_RIGHT) != 0 && paintInfo.Canvas->Font()->Style().Contains(plat::fsItalic)) {
        drawn += ' ';
    }
    plat::TCanvas* canvas = paintInfo.Canvas;
    canvas->RequireState();
    canvas->Handle()->SetBkMode(plat::TRANSPARENT);
    plat::TRect r = cellRect;
    canvas->Handle()->DrawText(drawn, r, drawFormat);
}

void TCustomDataStringTree::PaintStaticText(TDTPaintInfo& paintInfo, TAlignment textAlignment,
                                            const std::string& text)
{
    plat::TCanvas* canvas = paintInfo.Canvas;
    PDataNode node = paintInfo.Node;
    canvas->Font()->Assign(Font());
    const TCustomDataTreeOptions* options = TBaseDataTree::TreeOptions();
    const bool focused = Focused() || options->PaintOptions().Contains(toPopupMode);
    const bool selected = node->States.Contains(vsSelected);
    if (options->SelectionOptions().Contains(toFullRowSelect)) {
        if (node == FDropTargetNode) {
            canvas->Font()->SetColor(LastDropMode() == dmOnNode || selected ? Colors()->GetSelectedNodeFontColor(focused)
                                                                            : Colors()->NodeFontColor());
        } else if (selected) {
            canvas->Font()->SetColor(focused ? Colors()->GetSelectedNodeFontColor(true) : Colors()->NodeFontColor());
        }
    }
    DoPaintText(node, canvas, paintInfo.Column, ttStatic);
    if (node->States.Contains(vsDisabled) || !Enabled()) {
        canvas->Font()->SetColor(Colors()->DisabledColor());
    }
    plat::TRect r = paintInfo.ContentRect;
    std::uint32_t drawFormat = plat::DT_VCENTER | plat::DT_SINGLELINE | plat::DT_NOPREFIX;
    if (textAlignment == taRightJustify) {
        r.Right -= TextMargin();
        if (paintInfo.Alignment == taRightJustify) {
            r.Right -= paintInfo.NodeWidth;
        }
        drawFormat |= plat::DT_RIGHT;
    } else {
        r.Left += TextMargin();
        if (paintInfo.Alignment == taLeftJustify) {
            r.Left += paintInfo.NodeWidth;
        }
        drawFormat |= plat::DT_LEFT;
    }
    canvas->RequireState();
    canvas->Handle()->SetBkMode(plat::TRANSPARENT);
    canvas->Handle()->DrawText(text, r, drawFormat);
}

} // namespace qel
