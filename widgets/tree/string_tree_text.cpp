// The string tree's texts: cell texts on demand through its events, their
// measurement, the per-node cache of the main column's text width and
// when it is cleared, paths, text heights, and the selection kept across a
// refill by the selected nodes' texts.
#include "widgets/tree/string_data_tree.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/canvas.h"
#include "platform/canvas/device_context.h"
#include "widgets/tree/tree_drawing_utils.h"
#include "platform/canvas/gdi_constants.h"
#include "platform/canvas/graphics_objects.h"
#include "platform/canvas/utf8_text.h"
#include "widgets/tree/try_finally.h"

#include <algorithm>

namespace qel {

bool TCustomDataStringTree::TNoCaseLess::operator()(const std::string& a, const std::string& b) const
{
    return plat::FoldCaseUtf8(a) < plat::FoldCaseUtf8(b);
}

TCustomDataStringTree::~TCustomDataStringTree() = default;

void TCustomDataStringTree::SetDefaultText(const std::string& value)
{
    if (value != FDefaultText) {
        FDefaultText = value;
        if (!Loading() && HandleAllocated()) {
            Invalidate();
        }
    }
}

// ---- texts ----

TDTStringOptions TCustomDataStringTree::StringOptions() const
{
    return TBaseDataTree::TreeOptions()->StringOptions();
}

void TCustomDataStringTree::DoGetText(TDSTGetCellTextEventArgs& e)
{
    if (e.Node != RootNode() && !e.Node->States.Contains(vsInitialized)) {
        ValidateNode(e.Node, false);
    }
    if (OnGetCellText) {
        OnGetCellText(this, e);
        return;
    }
    if (OnGetText) {
        OnGetText(this, e.Node, e.Column, ttNormal, e.CellText);
        if (StringOptions().Contains(toShowStaticText)) {
            OnGetText(this, e.Node, e.Column, ttStatic, e.StaticText);
        }
    }
}

std::string TCustomDataStringTree::GetText(PDataNode node, TColumnIndex column)
{
    TreeAssert(node != nullptr, "Node must not be nil.");
    TDSTGetCellTextEventArgs e(node, column);
    e.CellText = FDefaultText;
    DoGetText(e);
    return e.CellText;
}

std::string TCustomDataStringTree::GetStaticText(PDataNode node, TColumnIndex column)
{
    TreeAssert(node != nullptr, "Node must not be nil.");
    TDSTGetCellTextEventArgs e(node, column);
    DoGetText(e);
    return e.StaticText;
}

std::string TCustomDataStringTree::GetImageText(PDataNode node, TDTImageKind kind, TColumnIndex column)
{
    TreeAssert(node != nullptr, "Node must not be nil.");
    if (node != RootNode() && !node->States.Contains(vsInitialized)) {
        InitNode(node);
    }
    std::string text;
    DoGetImageText(node, kind, column, text);
    return text;
}

void TCustomDataStringTree::SetText(PDataNode node, TColumnIndex column, const std::string& value)
{
    DoNewText(node, column, value);
    InvalidateNode(node);
}

void TCustomDataStringTree::DoNewText(PDataNode node, TColumnIndex column, const std::string& text)
{
    if (OnNewText) {
        OnNewText(this, node, column, text);
    }
    if (!IsUpdating()) {
        UpdateHorizontalScrollBar(true);
    }
}

std::string TCustomDataStringTree::Path(PDataNode node, TColumnIndex column, char delimiter)
{
    std::string result(1, delimiter);
    if (node == nullptr || node == RootNode()) {
        return result;
    }
    result.clear();
    for (PDataNode run = node; run != nullptr && run != RootNode(); run = run->fParent) {
        result = GetText(run, column) + delimiter + result;
    }
    return result;
}

bool TCustomDataStringTree::DoGetCellIsEmpty(PDataNode node, TColumnIndex column)
{
    if (!GetText(node, column).empty()) {
        return false;
    }
    return TBaseDataTree::DoGetCellIsEmpty(node, column);
}

// ---- measuring ----

plat::TCanvas* TCustomDataStringTree::MeasureCanvas()
{
    if (!FMeasureBitmap) {
        FMeasureBitmap = std::make_unique<plat::TBitmap>(1, 1, plat::pf32bit);
    }
    plat::TCanvas* canvas = FMeasureBitmap->Canvas();
    TakeFont(*canvas->Font(), *Font());
    return canvas;
}

plat::TSize TCustomDataStringTree::DoMeasureText(plat::TCanvas* canvas, PDataNode node, TColumnIndex column,
                                                 const std::string& text)
{
    plat::TSize size = canvas->TextExtent(text);
    if (node->States.Contains(vsMultiline)) {
        plat::TRect r = plat::Rect(0, 0, size.cx, 0x7FFFFFFF);
        std::uint32_t format = plat::DT_CALCRECT | plat::DT_WORDBREAK | plat::DT_NOPREFIX | plat::DT_EDITCONTROL |
                               plat::DT_END_ELLIPSIS;
        if (Alignment() == taRightJustify) {
            format |= plat::DT_RIGHT;
        } else if (Alignment() == taCenter) {
            format |= plat::DT_CENTER;
        }
        if (UseRightToLeftReading()) {
            format |= plat::DT_RTLREADING;
        }
        canvas->RequireState();
        canvas->Handle()->DrawText(text, r, format);
        size.cx = static_cast<int>(r.Width());
    }
    if (OnMeasureTextWidth) {
        OnMeasureTextWidth(this, canvas, node, column, text, size.cx);
    }
    if (OnMeasureTextHeight) {
        OnMeasureTextHeight(this, canvas, node, column, text, size.cy);
    }
    return size;
}

int TCustomDataStringTree::CalculateTextWidth(plat::TCanvas* canvas, PDataNode node, TColumnIndex column,
                                              const std::string& text)
{
    if (text.empty()) {
        return 2 * TextMargin();
    }
    TakeFont(*canvas->Font(), *Font());
    DoPaintText(node, canvas, column, ttNormal);
    return 2 * TextMargin() + DoMeasureText(canvas, node, column, text).cx;
}

int TCustomDataStringTree::CalculateStaticTextWidth(plat::TCanvas* canvas, PDataNode node, TColumnIndex column,
                                                    const std::string& text)
{
    if (text.empty() || Alignment() == taCenter || node->States.Contains(vsMultiline)) {
        return 0;
    }
    DoPaintText(node, canvas, column, ttStatic);
    return DoMeasureText(canvas, node, column, text).cx + TextMargin();
}

int TCustomDataStringTree::DoGetNodeWidth(PDataNode node, TColumnIndex column, plat::TCanvas* canvas)
{
    if (column >= 0 && node->States.Contains(vsMultiline) && Header()->Columns().IsValidColumn(column)) {
        return Header()->Columns()[column]->Width();
    }
    if (canvas == nullptr) {
        // CalculateTextWidth gives the canvas the tree's font.
        if (!FMeasureBitmap) {
            FMeasureBitmap = std::make_unique<plat::TBitmap>(1, 1, plat::pf32bit);
        }
        canvas = FMeasureBitmap->Canvas();
    }
    if (column != NoColumn && column != HeaderMainColumn()) {
        return CalculateTextWidth(canvas, node, column, MeasuredText(node, column));
    }
    std::int32_t* cache = WidthCache(node);
    if (cache == nullptr) {
        return 0;
    }
    if (*cache == 0 || Header()->DoingAutoFitColumns()) {
        *cache = CalculateTextWidth(canvas, node, column, MeasuredText(node, column));
    }
    return *cache;
}

std::string TCustomDataStringTree::MeasuredText(PDataNode node, TColumnIndex column)
{
    std::string text = GetText(node, column);
    if (TreeStates().Contains(tsPainting)) {
        FMeasuredCell = {node, column, text};
    }
    return text;
}

int TCustomDataStringTree::DoGetNodeExtraWidth(PDataNode node, TColumnIndex column, plat::TCanvas* canvas)
{
    if (!StringOptions().Contains(toShowStaticText)) {
        return 0;
    }
    return CalculateStaticTextWidth(canvas != nullptr ? canvas : MeasureCanvas(), node, column,
                                    GetStaticText(node, column));
}

int TCustomDataStringTree::ComputeNodeHeight(plat::TCanvas* canvas, PDataNode node, TColumnIndex column,
                                             const std::string& s)
{
    const std::string text = s.empty() ? GetText(node, column) : s;
    const TDataTreeColumns& columns = Header()->Columns();
    const bool inColumn = column >= 0 && columns.IsValidColumn(column);
    const TBiDiMode bidi = inColumn ? columns[column]->BiDiMode() : BiDiMode();
    std::uint32_t format = node->States.Contains(vsMultiline)
                               ? plat::DT_WORDBREAK | plat::DT_NOPREFIX | plat::DT_EDITCONTROL
                               : plat::DT_VCENTER | plat::DT_SINGLELINE | plat::DT_NOPREFIX;
    format |= plat::DT_CALCRECT;
    if (bidi != bdLeftToRight) {
        format |= plat::DT_RIGHT | plat::DT_RTLREADING;
    }
    TDTPaintInfo paintInfo;
    paintInfo.Node = node;
    paintInfo.Column = column;
    paintInfo.BidiMode = bidi;
    GetOffsets(node, paintInfo.Offsets, ofsEndOfClientArea, column);
    if (!inColumn) {
        paintInfo.CellRect.Right = ClientWidth();
    } else {
        paintInfo.CellRect.Left = paintInfo.Offsets[ofsLabel];
        paintInfo.CellRect.Right = columns[column]->Width() - 2 * TextMargin();
    }
    TColumnIndex nextNonEmpty = InvalidColumn;
    AdjustPaintCellRect(paintInfo, nextNonEmpty);
    if (canvas == nullptr) {
        canvas = MeasureCanvas();
    }
    plat::TRect cell = paintInfo.CellRect;
    canvas->RequireState();
    canvas->Handle()->DrawText(text, cell, format);
    return static_cast<int>(cell.Height());
}

void TCustomDataStringTree::GetTextInfo(PDataNode node, TColumnIndex column, plat::TFont* font, plat::TRect& r,
                                        std::string& text)
{
    plat::TCanvas* canvas = MeasureCanvas();
    if (font != nullptr) {
        canvas->Font()->Assign(font);
    }
    FFontChanged = false;
    int height = FTextHeight;
    RedirectFontChangeEvent(canvas);
    TryFinally(
        [&] {
            DoPaintText(node, canvas, column, ttNormal);
            if (FFontChanged) {
                if (font != nullptr) {
                    font->Assign(canvas->Font());
                }
                canvas->RequireState();
                height = canvas->Handle()->GetTextMetrics().Height;
            }
        },
        [&] { RestoreFontChangeEvent(canvas); });
    text = GetText(node, column);
    r = GetDisplayRect(node, column, true, !node->States.Contains(vsMultiline));
    if (TBaseDataTree::TreeOptions()->PaintOptions().Contains(toShowHorzGridLines)) {
        --r.Bottom;
    }
    const int shift = static_cast<int>((r.Height() - height) / 2);
    r.Top += shift;
    r.Bottom -= shift;
}

// ---- the width cache ----

std::int32_t* TCustomDataStringTree::WidthCache(PDataNode node) const
{
    if (node == nullptr || FInternalDataOffset == 0) {
        return nullptr;
    }
    std::byte* base = reinterpret_cast<std::byte*>(node);
    if (node != RootNode()) {
        base += std::max(NodeDataSize(), 0);
    }
    return reinterpret_cast<std::int32_t*>(base + FInternalDataOffset);
}

std::int32_t TCustomDataStringTree::CachedTextWidth(PDataNode node) const
{
    const std::int32_t* cache = WidthCache(node);
    return cache != nullptr ? *cache : 0;
}

void TCustomDataStringTree::ClearWidthCaches()
{
    for (PDataNode node = GetFirstNoInit(); node != nullptr; node = GetNextNoInit(node)) {
        *WidthCache(node) = 0;
    }
}

plat::TRect TCustomDataStringTree::InvalidateNode(PDataNode node)
{
    const plat::TRect result = TBaseDataTree::InvalidateNode(node);
    if (std::int32_t* cache = WidthCache(node)) {
        *cache = 0;
    }
    return result;
}

void TCustomDataStringTree::ReinitNode(PDataNode node, bool recursive, bool forceReinit)
{
    TBaseDataTree::ReinitNode(node, recursive, forceReinit);
    if (std::int32_t* cache = WidthCache(node != nullptr ? node : RootNode())) {
        *cache = 0;
    }
}

void TCustomDataStringTree::SetChildCount(PDataNode node, std::uint32_t newChildCount)
{
    TBaseDataTree::SetChildCount(node, newChildCount);
    if (std::int32_t* cache = WidthCache(node != nullptr ? node : RootNode())) {
        *cache = 0;
    }
}

void TCustomDataStringTree::MainColumnChanged()
{
    TBaseDataTree::MainColumnChanged();
    ClearWidthCaches();
}

void TCustomDataStringTree::FontSet()
{
    plat::TCanvas* canvas = MeasureCanvas();
    canvas->RequireState();
    FTextHeight = canvas->Handle()->GetTextMetrics().Height;
    FEllipsisWidth = canvas->TextWidth("...");
    ClearWidthCaches();
}

// ---- selection kept by text ----

bool TCustomDataStringTree::RestoresSelection() const
{
    return TBaseDataTree::TreeOptions()->SelectionOptions().Contains(toRestoreSelection) && static_cast<bool>(OnGetText);
}

std::string TCustomDataStringTree::SelectionKey(PDataNode node)
{
    std::string key;
    OnGetText(this, node, Header()->RestoreSelectionColumnIndex(), ttNormal, key);
    return key;
}

void TCustomDataStringTree::DoAddToSelection(PDataNode node)
{
    TBaseDataTree::DoAddToSelection(node);
    if (!RestoresSelection() || TreeStates().Contains(tsPreviouslySelectedLocked)) {
        return;
    }
    if (!FPreviouslySelected) {
        FPreviouslySelected = std::make_unique<std::set<std::string, TNoCaseLess>>();
    }
    if (SelectedCount() == 1) {
        FPreviouslySelected->clear();
    }
    FPreviouslySelected->insert(SelectionKey(node));
}

void TCustomDataStringTree::RemoveFromSelection(PDataNode node)
{
    TBaseDataTree::RemoveFromSelection(node);
    if (!FPreviouslySelected || !RestoresSelection() || GetSelected(node)) {
        return;
    }
    if (SelectedCount() > 0) {
        FPreviouslySelected->erase(SelectionKey(node));
    } else {
        FPreviouslySelected->clear();
    }
}

PDataNode TCustomDataStringTree::AddChild(PDataNode parent, void* userData)
{
    const PDataNode node = TBaseDataTree::AddChild(parent, userData);
    if (node == nullptr || !FPreviouslySelected || !RestoresSelection() ||
        FPreviouslySelected->count(SelectionKey(node)) == 0) {
        return node;
    }
    DoStateChange({tsPreviouslySelectedLocked});
    TryFinally([&] { AddToSelection(node, true); }, [&] { DoStateChange({}, {tsPreviouslySelectedLocked}); });
    if (PDataNode first = GetFirstSelected()) {
        SetFullyVisible(first, true);
    }
    return node;
}

// ---- search and hints ----

int TCustomDataStringTree::DoIncrementalSearch(PDataNode node, const std::string& text)
{
    if (OnIncrementalSearch) {
        return TBaseDataTree::DoIncrementalSearch(node, text);
    }
    return plat::StartsWithNoCase(GetText(node, FocusedColumn()), text) ? 0 : 1;
}

std::string TCustomDataStringTree::DoGetNodeHint(PDataNode node, TColumnIndex column,
                                                 TDTTooltipLineBreakStyle& lineBreakStyle)
{
    std::string hint = TBaseDataTree::DoGetNodeHint(node, column, lineBreakStyle);
    if (OnGetHint) {
        OnGetHint(this, node, column, lineBreakStyle, hint);
    }
    return hint;
}

std::string TCustomDataStringTree::DoGetNodeTooltip(PDataNode node, TColumnIndex column,
                                                    TDTTooltipLineBreakStyle& lineBreakStyle)
{
    if (OnGetHint) {
        std::string hint = TBaseDataTree::DoGetNodeTooltip(node, column, lineBreakStyle);
        OnGetHint(this, node, column, lineBreakStyle, hint);
        return hint;
    }
    return GetText(node, column);
}

} // namespace qel
