// The paragraph editor's painting: the margins, marker glyphs and line
// numbers, every visible row in up to three runs (before, inside and after
// the selection) with each character in its cell, rules, margin lines and
// borders, and the scroll state an edit left pending.
#include "widgets/pages/pgc_editor.h"

#include "widgets/pages/para_list.h"
#include "widgets/pages/pgc_border.h"
#include "widgets/pages/pgc_colors.h"
#include "widgets/pages/pgc_editor_margins.h"
#include "widgets/pages/pgc_fixed_font.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/canvas.h"

#include <algorithm>
#include <charconv>

namespace qel {

namespace {

constexpr int MarginTextGap = 4;        // text right of an enabled left margin line
constexpr int MarkerCount = 10;
constexpr char16_t Replacement = u'\uFFFD';

bool IsHighSurrogate(char16_t Ch)
{
    return Ch >= 0xD800 && Ch <= 0xDBFF;
}

bool IsLowSurrogate(char16_t Ch)
{
    return Ch >= 0xDC00 && Ch <= 0xDFFF;
}

void AppendUtf8(std::string& Out, char32_t Code)
{
    if (Code < 0x80) {
        Out.push_back(static_cast<char>(Code));
    } else if (Code < 0x800) {
        Out.push_back(static_cast<char>(0xC0 | (Code >> 6)));
        Out.push_back(static_cast<char>(0x80 | (Code & 0x3F)));
    } else if (Code < 0x10000) {
        Out.push_back(static_cast<char>(0xE0 | (Code >> 12)));
        Out.push_back(static_cast<char>(0x80 | ((Code >> 6) & 0x3F)));
        Out.push_back(static_cast<char>(0x80 | (Code & 0x3F)));
    } else {
        Out.push_back(static_cast<char>(0xF0 | (Code >> 18)));
        Out.push_back(static_cast<char>(0x80 | ((Code >> 12) & 0x3F)));
        Out.push_back(static_cast<char>(0x80 | ((Code >> 6) & 0x3F)));
        Out.push_back(static_cast<char>(0x80 | (Code & 0x3F)));
    }
}

} // namespace

void TPgcCustomEditor::Paint()
{
    plat::TCanvas* canvas = Canvas();
    canvas->Font()->Assign(FFixedFont->Font());
    canvas->Brush()->SetColor(Color());
    canvas->RequireState();
    plat::TDeviceContext& dc = *canvas->Handle();

    const plat::TRect client = ClientRect();
    const int rowHeight = edRowHeight();
    const int textLeft = client.Left + LeftMargin();
    const int textRight = textLeft + edCols * edColWid;
    if (edRows * rowHeight < client.Bottom) {
        FillRect({client.Left, client.Top + edRows * rowHeight, client.Right, client.Bottom}, Color());
    }
    plat::TRect clip;
    dc.GetClipBox(clip);
    const int first = clip.Top / rowHeight + 1;
    int last = (clip.Bottom + rowHeight - 1) / rowHeight;
    if (last == edRows) {
        last = edRows + 1;
    }
    const TShownSelection selection = ShownSelection();

    FillRect({client.Left, clip.Top, textLeft, clip.Bottom}, Color());
    FillRect({textRight, clip.Top, client.Right, clip.Bottom}, Color());
    if (clip.Left < LeftMargin()) {
        for (int row = first; row <= last + 1; ++row) {
            FillRect({0, rowHeight * (row - 1), LeftMargin(), rowHeight * row}, FMarginColor);
        }
        if (FShowBookmarks) {
            PaintMarkerGlyphs();
        }
    }
    if (FShowLineNumbers) {
        PaintLineNumbers();
    }
    SetNormalColors();
    for (int row = 1; row <= edRows; ++row) {
        PaintRow(row, first, last, selection);
    }
    PaintMarginLines();
    InvalidateUnpaintedBlockRows(selection, first, last);

    edRedrawPending = false;
    if (edPendingVSR) {
        edSetVScrollRange();
    }
    if (edPendingVSP) {
        edSetVScrollPos();
    }
    if (edPendingHSP) {
        edSetHScrollPos();
    }
    edPositionCaret(0);
    PaintBorders();
}

TPgcCustomEditor::TShownSelection TPgcCustomEditor::ShownSelection() const
{
    TShownSelection shown;
    if (Enabled() && HasSelection() && (!FHideSelection || Focused())) {
        shown.HBLine = edHltBgnL.Line;
        shown.HBCol = ScreenColumn(edHltBgnL.Line, edHltBgnL.Col);
        shown.HELine = edHltEndL.Line;
        shown.HECol = ScreenColumn(edHltEndL.Line, edHltEndL.Col);
    }
    return shown;
}

void TPgcCustomEditor::InvalidateUnpaintedBlockRows(const TShownSelection& Selection, int First, int Last)
{
    if (!edRectSelect || Selection.HBLine == 0) {
        return;
    }
    const int diff = Selection.HBCol - Selection.HECol;
    if (diff == edRectSelectDiff) {
        return;
    }
    edRectSelectDiff = diff;
    if (Selection.HBLine < edTopLine + First - 1 && First > 1) {
        edInvalidateLines(Selection.HBLine, edTopLine + First - 2);
    } else if (Selection.HELine > edTopLine + Last - 1 && Last < edRows) {
        edInvalidateLines(edTopLine + Last, Selection.HELine);
    }
}

// ---- rows ----

void TPgcCustomEditor::PaintRow(int Row, int First, int Last, const TShownSelection& Selection)
{
    if (Row < First || Row > Last) {
        return;
    }
    const int line = edTopLine + Row - 1;
    const int rowHeight = edRowHeight();
    const int top = rowHeight * (Row - 1);
    const int bottom = std::min(top + rowHeight - (FShowRules ? 1 : 0), ClientHeight());
    const plat::TRect rowRect{LeftMargin(), top, LeftMargin() + edCols * edColWid, bottom};

    bool drawn = false;
    if (line > LineCount()) {
        if (OnDrawLine) {
            DoOnDrawLine(Canvas(), rowRect, u"", 0, line, Selection.HBLine, Selection.HBCol, Selection.HELine,
                Selection.HECol, drawn);
        }
        if (!drawn) {
            DrawRun(rowRect, {});
        }
    } else {
        const std::u16string_view text = RowText(line, Selection);
        std::u16string_view visible;
        if (static_cast<std::size_t>(edHDelta) < text.size()) {
            visible = text.substr(static_cast<std::size_t>(edHDelta), static_cast<std::size_t>(edCols));
        }
        if (OnDrawLine) {
            DoOnDrawLine(Canvas(), rowRect, text.data(), static_cast<int>(text.size()), line, Selection.HBLine,
                Selection.HBCol, Selection.HELine, Selection.HECol, drawn);
        }
        if (!drawn) {
            DrawRuns(rowRect, line, visible, Selection);
        }
    }
    if (FShowRules) {
        DrawLine(rowRect.Left - LeftMargin(), bottom, rowRect.Right + RightMargin(), bottom, FRuleColor, 1,
            plat::psSolid);
    }
}

// A line with tabs is expanded into the row buffer, padded with blanks to
// the selection's right end.
std::u16string_view TPgcCustomEditor::RowText(int Line, const TShownSelection& Selection)
{
    const char16_t* s = nullptr;
    std::uint16_t length = 0;
    edParas->NthLine(Line, s, length);
    const std::u16string_view line(s, length);
    if (line.find(u'\t') == std::u16string_view::npos) {
        // A column block shows past the end of short lines.
        const int widest = std::max(Selection.HBCol, Selection.HECol);
        if (!edRectSelect || Selection.HBLine == 0 || static_cast<int>(length) + 1 >= widest) {
            return line;
        }
        edRowBuffer.assign(line);
        edRowBuffer.append(static_cast<std::size_t>(widest - 1) - line.size(), u' ');
        return edRowBuffer;
    }
    const std::size_t tabSize = edParas->TabSize();
    edRowBuffer.clear();
    for (const char16_t ch : line) {
        if (ch == u'\t') {
            edRowBuffer.append(tabSize - edRowBuffer.size() % tabSize, u' ');
        } else {
            edRowBuffer.push_back(ch);
        }
    }
    const auto selectionEnd = static_cast<std::size_t>(std::max({Selection.HBCol, Selection.HECol, 0}));
    if (edRowBuffer.size() < selectionEnd) {
        edRowBuffer.append(selectionEnd - edRowBuffer.size(), u' ');
    }
    return edRowBuffer;
}

// Up to three runs: before the selection, inside it (in the highlight
// colours) and after it. A selected line is highlighted over its characters
// only; the rest of its row keeps the background.
void TPgcCustomEditor::DrawRuns(const plat::TRect& RowRect, int Line, std::u16string_view Visible,
    const TShownSelection& Selection)
{
    const int count = static_cast<int>(Visible.size());
    const int firstColumn = edHDelta + 1;
    int before = count;
    int selected = 0;
    int after = 0;
    if (Selection.HBLine != 0 && Line >= Selection.HBLine && Line <= Selection.HELine) {
        const int beginOffset = Selection.HBCol - firstColumn;
        const int endOffset = Selection.HECol - firstColumn;
        if (edRectSelect) {
            int first = beginOffset;
            int last = endOffset;
            if (last < first) {
                std::swap(first, last);
            }
            before = std::clamp(first, 0, count);
            selected = std::max(count < last ? count - before : last - before, 0);
            after = count - before - selected;
        } else if (Line > Selection.HBLine && Line < Selection.HELine) {
            before = 0;
            selected = count;
        } else if (Line == Selection.HBLine && Line == Selection.HELine) {
            before = std::clamp(beginOffset, 0, count);
            selected = count < endOffset ? count - before : endOffset - before;
            after = std::min(count - before - selected, count);
        } else if (Line == Selection.HBLine) {
            before = std::clamp(beginOffset, 0, count);
            selected = count - before;
        } else if (endOffset >= 0) {
            selected = std::min(endOffset, count);
            before = 0;
            after = count - selected;
        }
    }

    plat::TRect rect = RowRect;
    if (before > 0) {
        if (before != count) {
            rect.Right = rect.Left + before * edColWid;
        }
        DrawRun(rect, Visible.substr(0, static_cast<std::size_t>(before)));
        rect.Left = rect.Right;
        rect.Right = RowRect.Right;
    }
    if (selected > 0) {
        rect.Right = std::min(RowRect.Right, rect.Left + selected * edColWid);
        SetHighlightColors();
        DrawRun(rect, Visible.substr(static_cast<std::size_t>(before), static_cast<std::size_t>(selected)));
        SetNormalColors();
        rect.Left = rect.Right;
        rect.Right = RowRect.Right;
    }
    if (rect.Left < rect.Right) {
        const std::size_t start = static_cast<std::size_t>(std::max(before, 0) + std::max(selected, 0));
        DrawRun(rect, Visible.substr(std::min(start, Visible.size()), static_cast<std::size_t>(std::max(after, 0))));
    }
}

// Each character goes to its cell: the advances are one cell per unit, so
// a character of two units takes two cells.
void TPgcCustomEditor::DrawRun(plat::TRect Rect, std::u16string_view Chars)
{
    Chars = Chars.substr(0, std::min<std::size_t>(Chars.size(), MaxRunChars));
    edRunText.clear();
    std::size_t advances = 0;
    for (std::size_t i = 0; i < Chars.size(); ++i) {
        char32_t code = Chars[i];
        int cells = 1;
        if (IsHighSurrogate(Chars[i]) && i + 1 < Chars.size() && IsLowSurrogate(Chars[i + 1])) {
            code = 0x10000 + ((char32_t{Chars[i]} - 0xD800) << 10) + (char32_t{Chars[i + 1]} - 0xDC00);
            cells = 2;
            ++i;
        } else if (IsHighSurrogate(Chars[i]) || IsLowSurrogate(Chars[i])) {
            code = Replacement;
        }
        AppendUtf8(edRunText, code);
        edColWidthArray[advances++] = cells * edColWid;
    }

    plat::TDeviceContext& dc = *Canvas()->Handle();
    const auto fill = [&] { dc.FillRect(Rect, plat::CreateSolidBrush(dc.GetBkColor())); };
    if (FMargins->Left()->Enabled()) {
        Rect.Right += MarginTextGap;
        if (Rect.Left == LeftMargin()) {
            fill();
            Rect.Left += MarginTextGap;
        } else {
            Rect.Left += MarginTextGap;
            fill();
        }
    } else {
        fill();
    }
    dc.ExtTextOut(Rect.Left, Rect.Top + 1, plat::ETO_CLIPPED | plat::ETO_OPAQUE, &Rect, edRunText,
        edColWidthArray.data());
}

void TPgcCustomEditor::SetNormalColors()
{
    plat::TDeviceContext& dc = *Canvas()->Handle();
    dc.SetTextColor(plat::ToColorRef(Enabled() ? FFixedFont->Color() : plat::clGrayText));
    dc.SetBkColor(plat::ToColorRef(Color()));
}

void TPgcCustomEditor::SetHighlightColors()
{
    plat::TDeviceContext& dc = *Canvas()->Handle();
    dc.SetTextColor(plat::ToColorRef(FHighlightColors->TextColor()));
    dc.SetBkColor(plat::ToColorRef(FHighlightColors->BackColor()));
}

void TPgcCustomEditor::DoOnDrawLine(plat::TCanvas* EditorCanvas, const plat::TRect& Rect, const char16_t* S, int Len,
    int Line, int HBLine, int HBCol, int HELine, int HECol, bool& WasDrawn)
{
    WasDrawn = false;
    OnDrawLine(this, EditorCanvas, Rect, S, Len, Line, edHDelta, edCols, HBLine, HBCol, HELine, HECol, WasDrawn);
}

// ---- the left margin ----

// The glyph of the first set marker on each row's line.
void TPgcCustomEditor::PaintMarkerGlyphs()
{
    if (edBMGlyphs == nullptr || edBMGlyphs->Empty()) {
        return;
    }
    const int glyphWidth = edBMGlyphs->Width() / MarkerCount;
    const int glyphHeight = edBMGlyphs->Height();
    if (glyphWidth <= 0 || LeftMargin() < glyphWidth) {
        return;
    }
    std::array<int, MarkerCount> markerLines{};
    for (int marker = 0; marker < MarkerCount; ++marker) {
        const TMarker& at = edParas->Markers()[static_cast<std::size_t>(marker)];
        markerLines[static_cast<std::size_t>(marker)] = at.Para != 0 && at.Pos != 0 ? LinePosOf(at).Line : 0;
    }
    const int rowHeight = edRowHeight();
    plat::TDeviceContext& dc = *Canvas()->Handle();
    for (int row = 1; row <= edRows; ++row) {
        const int line = edTopLine + row - 1;
        const auto found = std::find(markerLines.begin(), markerLines.end(), line);
        if (found == markerLines.end()) {
            continue;
        }
        const int marker = static_cast<int>(found - markerLines.begin());
        int y = rowHeight * (row - 1);
        if (rowHeight >= glyphHeight + 2) {
            y += (rowHeight - glyphHeight) / 2;
        }
        dc.BitBlt(1, y, glyphWidth, glyphHeight, edBMGlyphs->DeviceContext(), marker * glyphWidth, 0,
            plat::SRCCOPY);
    }
}

void TPgcCustomEditor::PaintLineNumbers()
{
    plat::TDeviceContext& dc = *Canvas()->Handle();
    dc.SetTextColor(plat::ToColorRef(FFixedFont->Color()));
    dc.SetBkColor(plat::ToColorRef(FMarginColor));
    const int rowHeight = edRowHeight();
    const int x = LeftMargin() - edLineNumW - LineNumberGap;
    for (int row = 1; row <= edRows; ++row) {
        char digits[16];
        const auto result = std::to_chars(digits, digits + sizeof digits, edTopLine + row - 1);
        dc.TextOut(x, rowHeight * (row - 1), std::string_view(digits, static_cast<std::size_t>(result.ptr - digits)));
    }
}

// ---- lines and borders ----

void TPgcCustomEditor::FillRect(const plat::TRect& Rect, plat::TColor Color)
{
    Canvas()->Handle()->FillRect(Rect, plat::CreateSolidBrush(plat::ToColorRef(Color)));
}

// A line from (X1, Y1) up to, not including, (X2, Y2); the pen is restored.
void TPgcCustomEditor::DrawLine(int X1, int Y1, int X2, int Y2, plat::TColor Color, int Width, plat::TPenStyle Style)
{
    plat::TPen pen;
    pen.SetColor(Color);
    pen.SetWidth(Width);
    pen.SetStyle(Style);
    plat::TDeviceContext& dc = *Canvas()->Handle();
    const plat::TLogPen saved = dc.SelectPen(pen.Handle());
    dc.MoveTo(X1, Y1);
    dc.LineTo(X2, Y2);
    dc.SelectPen(saved);
}

void TPgcCustomEditor::PaintMarginLines()
{
    const plat::TRect client = ClientRect();
    const TPgcEditorMargin& left = *FMargins->Left();
    const TPgcEditorMargin& right = *FMargins->Right();
    if (left.Enabled()) {
        DrawLine(LeftMargin(), client.Top, LeftMargin(), client.Bottom, left.LineColor(), left.LineWeight(),
            left.LineStyle());
    }
    if (right.Enabled()) {
        const int x = client.Right - RightMargin();
        DrawLine(x, client.Top, x, client.Bottom, right.LineColor(), right.LineWeight(), right.LineStyle());
    }
    if (FShowWrapColumn) {
        const int x = edColWid * FWrapColumn + client.Left + LeftMargin() + (left.Enabled() ? MarginTextGap : 0);
        if (x < client.Right) {
            DrawLine(x, client.Top, x, client.Bottom, right.LineColor(), right.LineWeight(), right.LineStyle());
        }
    }
}

void TPgcCustomEditor::PaintBorders()
{
    const plat::TRect client = ClientRect();
    const TPgcBorder& left = *FBorders->LeftBorder();
    const TPgcBorder& right = *FBorders->RightBorder();
    const TPgcBorder& top = *FBorders->TopBorder();
    const TPgcBorder& bottom = *FBorders->BottomBorder();
    const int leftX = client.Left + left.PenWidth() / 2;
    const int rightX = client.Right - right.PenWidth() / 2;
    PaintBorder(left, leftX, client.Top, leftX, client.Bottom - left.PenWidth());
    PaintBorder(right, rightX, client.Top, rightX, client.Bottom - right.PenWidth());
    const int topY = client.Top + top.PenWidth() / 2;
    const int bottomY = client.Bottom - bottom.PenWidth() / 2;
    PaintBorder(top, client.Left, topY, client.Right, topY);
    PaintBorder(bottom, client.Left, bottomY, client.Right, bottomY);
}

void TPgcCustomEditor::PaintBorder(const TPgcBorder& Border, int X1, int Y1, int X2, int Y2)
{
    if (Border.Enabled()) {
        DrawLine(X1, Y1, X2, Y2, Border.PenColor(), Border.PenWidth(), Border.PenStyle());
    }
}

} // namespace qel
