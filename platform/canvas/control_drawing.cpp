// 3D edges and frame-control glyphs.
#include "platform/canvas/control_drawing.h"

#include <array>
#include <string_view>

namespace plat {

namespace {

void Line(TDeviceContext& dc, int left, int top, int right, int bottom, COLORREF color)
{
    if (right > left && bottom > top)
        dc.FillRect({left, top, right, bottom}, CreateSolidBrush(color));
}

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
void EdgeRing(TDeviceContext& dc, TRect& r, TEdgeColors colors, std::uint32_t flags)
{
    if (flags & BF_TOP)
        Line(dc, r.Left, r.Top, r.Right, r.Top + 1, colors.TopLeft);
    if (flags & BF_LEFT)
        Line(dc, r.Left, r.Top, r.Left + 1, r.Bottom, colors.TopLeft);
    if (flags & BF_BOTTOM)
        Line(dc, r.Left, r.Bottom - 1, r.Right, r.Bottom, colors.BottomRight);
    if (flags & BF_RIGHT)
        Line(dc, r.Right - 1, r.Top, r.Right, r.Bottom, colors.BottomRight);
    if (flags & BF_TOP)
        ++r.Top;
    if (flags & BF_LEFT)
        ++r.Left;
    if (flags & BF_BOTTOM)
        --r.Bottom;
    if (flags & BF_RIGHT)
        --r.Right;
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
void Picture(TDeviceContext& dc, int left, int top, const std::array<std::string_view, N>& rows, COLORREF well,
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
            const int px = left + static_cast<int>(x);
            const int py = top + static_cast<int>(y);
            Line(dc, px, py, px + 1, py + 1, color);
        }
}

constexpr int GlyphSize = 13;

void CheckBoxGlyph(TDeviceContext& dc, int left, int top, std::uint32_t state)
{
    const bool inactive = state & DFCS_INACTIVE;
    const bool indeterminate = (state & DFCS_BUTTON3STATE) && (state & DFCS_CHECKED);
    TRect box{left, top, left + GlyphSize, top + GlyphSize};
    if (state & (DFCS_FLAT | DFCS_MONO)) {
        const COLORREF frame = GetSysColor((state & DFCS_MONO) ? COLOR_WINDOWFRAME : COLOR_BTNSHADOW);
        EdgeRing(dc, box, {frame, frame}, BF_RECT);
    } else {
        DrawEdgeOn(dc, box, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    }
    const COLORREF well = GetSysColor((inactive || (state & DFCS_PUSHED) || indeterminate) ? COLOR_BTNFACE : COLOR_WINDOW);
    Line(dc, box.Left, box.Top, box.Right, box.Bottom, well);
    if (!(state & DFCS_CHECKED))
        return;
    const COLORREF mark = GetSysColor(inactive ? COLOR_GRAYTEXT : indeterminate ? COLOR_BTNSHADOW : COLOR_WINDOWTEXT);
    Picture(dc, left + 3, top + 3, CheckMark, well, mark);
}

void RadioGlyph(TDeviceContext& dc, int left, int top, std::uint32_t state)
{
    const bool inactive = state & DFCS_INACTIVE;
    const COLORREF well = GetSysColor((inactive || (state & DFCS_PUSHED)) ? COLOR_BTNFACE : COLOR_WINDOW);
    Picture(dc, left, top, RadioButton, well, 0);
    if (state & DFCS_CHECKED)
        Picture(dc, left + 4, top + 4, RadioDot, well, GetSysColor(inactive ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
}

} // namespace

bool DrawEdgeOn(TDeviceContext& dc, TRect& rect, std::uint32_t edge, std::uint32_t flags)
{
    TRect r = rect;
    if (edge & (BDR_RAISEDOUTER | BDR_SUNKENOUTER))
        EdgeRing(dc, r, OuterColors(edge, flags), flags);
    if (edge & (BDR_RAISEDINNER | BDR_SUNKENINNER))
        EdgeRing(dc, r, InnerColors(edge, flags), flags);
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
    const int left = rect.Left + static_cast<int>(std::max<std::int64_t>(rect.Width() - GlyphSize, 0) / 2);
    const int top = rect.Top + static_cast<int>(std::max<std::int64_t>(rect.Height() - GlyphSize, 0) / 2);
    if (state & DFCS_BUTTONPUSH) {
        TRect r = rect;
        DrawEdgeOn(dc, r, (state & (DFCS_PUSHED | DFCS_CHECKED)) ? EDGE_SUNKEN : EDGE_RAISED,
            BF_RECT | BF_MIDDLE | ((state & DFCS_FLAT) ? std::uint32_t{BF_FLAT} : 0u)
                | ((state & DFCS_MONO) ? std::uint32_t{BF_MONO} : 0u));
        return true;
    }
    if (state & (DFCS_BUTTONRADIO | DFCS_BUTTONRADIOIMAGE))
        RadioGlyph(dc, left, top, state);
    else
        CheckBoxGlyph(dc, left, top, state);
    return true;
}

void Frame3D(TDeviceContext& dc, TRect& rect, COLORREF topColor, COLORREF bottomColor, int width)
{
    for (int i = 0; i < width && !rect.IsEmpty(); ++i)
        EdgeRing(dc, rect, {topColor, bottomColor}, BF_RECT);
}

} // namespace plat
