// 3D edges and frame-control glyphs.
#include "platform/canvas/control_drawing.h"

#include <algorithm>
#include <array>
#include <functional>
#include <string_view>

namespace plat {

namespace {

void Line(TDeviceContext& dc, int left, int top, int right, int bottom, COLORREF color)
{
    if (right > left && bottom > top)
        dc.FillRect({left, top, right, bottom}, CreateSolidBrush(color));
}

// Fills a rectangle in one colour: on a device context or in a glyph.
using TFill = std::function<void(int left, int top, int right, int bottom, COLORREF color)>;

struct TEdgeColors {
    COLORREF TopLeft;
    COLORREF BottomRight;
};

TEdgeColors OuterColors(std::uint32_t edge, std::uint32_t flags)
{
    if (flags & BF_MONO)
        return {GetSysColor(COLOR_WINDOWFRAME), GetSysColor(COLOR_WINDOWFRAME)};
    if (flags & BF_FLAT)
        return {GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNSHADOW)};
    if (edge & BDR_SUNKENOUTER)
        return {GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT)};
    return {GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_3DDKSHADOW)};
}

TEdgeColors InnerColors(std::uint32_t edge, std::uint32_t flags)
{
    if (flags & BF_MONO)
        return {GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOW)};
    if (flags & BF_FLAT)
        return {GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNFACE)};
    if (edge & BDR_SUNKENINNER)
        return {GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_3DLIGHT)};
    return {GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW)};
}

// One ring of the edge; bottom and right lines are drawn last, over the corners.
void EdgeRing(const TFill& fill, TRect& r, TEdgeColors colors, std::uint32_t flags)
{
    // Edges one pixel inside the rectangle; rectangles at the ends of the
    // coordinate range saturate instead of wrapping.
    const int topEnd = SaturateInt(std::int64_t{r.Top} + 1);
    const int leftEnd = SaturateInt(std::int64_t{r.Left} + 1);
    const int bottomStart = SaturateInt(std::int64_t{r.Bottom} - 1);
    const int rightStart = SaturateInt(std::int64_t{r.Right} - 1);
    if (flags & BF_TOP)
        fill(r.Left, r.Top, r.Right, topEnd, colors.TopLeft);
    if (flags & BF_LEFT)
        fill(r.Left, r.Top, leftEnd, r.Bottom, colors.TopLeft);
    if (flags & BF_BOTTOM)
        fill(r.Left, bottomStart, r.Right, r.Bottom, colors.BottomRight);
    if (flags & BF_RIGHT)
        fill(rightStart, r.Top, r.Right, r.Bottom, colors.BottomRight);
    if (flags & BF_TOP)
        r.Top = topEnd;
    if (flags & BF_LEFT)
        r.Left = leftEnd;
    if (flags & BF_BOTTOM)
        r.Bottom = bottomStart;
    if (flags & BF_RIGHT)
        r.Right = rightStart;
}

// Glyph pictures, one letter a pixel: S button shadow, H button highlight,
// D dark shadow, L 3D light, W the well (window colour, or button face when
// inactive or pushed), X the mark, '.' untouched.
constexpr std::array<std::string_view, 7> CheckMark = {
    "......X",
    ".....XX",
    "X...XXX",
    "XX.XXX.",
    "XXXXX..",
    ".XXX...",
    "..X....",
};

constexpr std::array<std::string_view, 12> RadioButton = {
    "....SSSS....",
    "..SSDDDDSS..",
    ".SDDWWWWDDH.",
    ".SDWWWWWWLH.",
    "SDWWWWWWWWLH",
    "SDWWWWWWWWLH",
    "SDWWWWWWWWLH",
    "SDWWWWWWWWLH",
    ".SDWWWWWWLH.",
    ".HLLWWWWLLH.",
    "..HHLLLLHH..",
    "....HHHH....",
};

constexpr std::array<std::string_view, 4> RadioDot = {
    ".XX.",
    "XXXX",
    "XXXX",
    ".XX.",
};

template <std::size_t N>
void Picture(TGlyph& glyph, int left, int top, const std::array<std::string_view, N>& rows, COLORREF well,
    COLORREF mark)
{
    for (std::size_t y = 0; y < N; ++y)
        for (std::size_t x = 0; x < rows[y].size(); ++x) {
            COLORREF color = 0;
            switch (rows[y][x]) {
            case 'S': color = GetSysColor(COLOR_BTNSHADOW); break;
            case 'H': color = GetSysColor(COLOR_BTNHIGHLIGHT); break;
            case 'D': color = GetSysColor(COLOR_3DDKSHADOW); break;
            case 'L': color = GetSysColor(COLOR_3DLIGHT); break;
            case 'W': color = well; break;
            case 'X': color = mark; break;
            default: continue;
            }
            glyph.Set(left + static_cast<int>(x), top + static_cast<int>(y), color);
        }
}

void CheckBoxGlyph(TGlyph& glyph, std::uint32_t state)
{
    const bool inactive = state & DFCS_INACTIVE;
    const bool indeterminate = (state & DFCS_BUTTON3STATE) && (state & DFCS_CHECKED);
    TRect box{0, 0, GlyphSize, GlyphSize};
    const TFill fill = [&glyph](int l, int t, int r, int b, COLORREF c) { glyph.Fill(l, t, r, b, c); };
    if (state & (DFCS_FLAT | DFCS_MONO)) {
        const COLORREF frame = GetSysColor((state & DFCS_MONO) ? COLOR_WINDOWFRAME : COLOR_BTNSHADOW);
        EdgeRing(fill, box, {frame, frame}, BF_RECT);
    } else {
        EdgeRing(fill, box, OuterColors(EDGE_SUNKEN, 0), BF_RECT);
        EdgeRing(fill, box, InnerColors(EDGE_SUNKEN, 0), BF_RECT);
    }
    const COLORREF well = GetSysColor((inactive || (state & DFCS_PUSHED) || indeterminate) ? COLOR_BTNFACE : COLOR_WINDOW);
    glyph.Fill(box.Left, box.Top, box.Right, box.Bottom, well);
    if (!(state & DFCS_CHECKED))
        return;
    const COLORREF mark = GetSysColor(inactive ? COLOR_GRAYTEXT : indeterminate ? COLOR_BTNSHADOW : COLOR_WINDOWTEXT);
    Picture(glyph, 3, 3, CheckMark, well, mark);
}

void RadioGlyph(TGlyph& glyph, std::uint32_t state)
{
    const bool inactive = state & DFCS_INACTIVE;
    const COLORREF well = GetSysColor((inactive || (state & DFCS_PUSHED)) ? COLOR_BTNFACE : COLOR_WINDOW);
    Picture(glyph, 0, 0, RadioButton, well, 0);
    if (state & DFCS_CHECKED)
        Picture(glyph, 4, 4, RadioDot, well, GetSysColor(inactive ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
}

} // namespace

void TGlyph::Fill(int left, int top, int right, int bottom, COLORREF color)
{
    for (int y = std::max(top, 0); y < std::min(bottom, GlyphSize); ++y)
        for (int x = std::max(left, 0); x < std::min(right, GlyphSize); ++x)
            Set(x, y, color);
}

TGlyph FrameControlGlyph(std::uint32_t state)
{
    TGlyph glyph;
    if (state & (DFCS_BUTTONRADIO | DFCS_BUTTONRADIOIMAGE))
        RadioGlyph(glyph, state);
    else
        CheckBoxGlyph(glyph, state);
    return glyph;
}

TPoint GlyphPosition(const TRect& rect)
{
    return {rect.Left + static_cast<int>(std::max<std::int64_t>(rect.Width() - GlyphSize, 0) / 2),
        rect.Top + static_cast<int>(std::max<std::int64_t>(rect.Height() - GlyphSize, 0) / 2)};
}

bool DrawEdgeOn(TDeviceContext& dc, TRect& rect, std::uint32_t edge, std::uint32_t flags)
{
    TRect r = rect;
    const TFill fill = [&dc](int l, int t, int right, int b, COLORREF c) { Line(dc, l, t, right, b, c); };
    if (edge & (BDR_RAISEDOUTER | BDR_SUNKENOUTER))
        EdgeRing(fill, r, OuterColors(edge, flags), flags);
    if (edge & (BDR_RAISEDINNER | BDR_SUNKENINNER))
        EdgeRing(fill, r, InnerColors(edge, flags), flags);
    if (flags & BF_MIDDLE)
        Line(dc, r.Left, r.Top, r.Right, r.Bottom, GetSysColor((flags & BF_MONO) ? COLOR_WINDOW : COLOR_BTNFACE));
    if (flags & BF_ADJUST)
        rect = r;
    return true;
}

bool DrawFrameControlOn(TDeviceContext& dc, const TRect& rect, std::uint32_t kind, std::uint32_t state)
{
    if (kind != DFC_BUTTON || rect.IsEmpty())
        return false;
    if (state & DFCS_BUTTONPUSH) {
        TRect r = rect;
        DrawEdgeOn(dc, r, (state & (DFCS_PUSHED | DFCS_CHECKED)) ? EDGE_SUNKEN : EDGE_RAISED,
            BF_RECT | BF_MIDDLE | ((state & DFCS_FLAT) ? std::uint32_t{BF_FLAT} : 0u)
                | ((state & DFCS_MONO) ? std::uint32_t{BF_MONO} : 0u));
        return true;
    }
    // Each row of the glyph as runs of one colour.
    const TGlyph glyph = FrameControlGlyph(state);
    const TPoint at = GlyphPosition(rect);
    for (int y = 0; y < GlyphSize; ++y) {
        int x = 0;
        while (x < GlyphSize) {
            const std::optional<COLORREF> color = glyph.At(x, y);
            int end = x + 1;
            while (end < GlyphSize && glyph.At(end, y) == color)
                ++end;
            if (color)
                Line(dc, at.X + x, at.Y + y, at.X + end, at.Y + y + 1, *color);
            x = end;
        }
    }
    return true;
}

void Frame3D(TDeviceContext& dc, TRect& rect, COLORREF topColor, COLORREF bottomColor, int width)
{
    const TFill fill = [&dc](int l, int t, int r, int b, COLORREF c) { Line(dc, l, t, r, b, c); };
    for (int i = 0; i < width && !rect.IsEmpty(); ++i)
        EdgeRing(fill, rect, {topColor, bottomColor}, BF_RECT);
}

} // namespace plat
