// The data tree's drawing helpers.
#include "widgets/tree/tree_drawing_utils.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/canvas.h"
#include "platform/canvas/device_context.h"
#include "platform/canvas/gdi_constants.h"
#include "platform/canvas/pixel_surface.h"
#include "platform/canvas/region.h"
#include "platform/controls/cursors.h"
#include "platform/controls/system_metrics.h"
#include "widgets/tree/data_tree_errors.h"

#include <algorithm>
#include <vector>

namespace qel {

namespace {

plat::TPixelSurface& BlendSurface(plat::TDeviceContext* dc)
{
    plat::TPixelSurface* surface = dc != nullptr ? dc->Surface() : nullptr;
    TreeAssert(surface != nullptr, "Alpha blending DC error: no bitmap available.");
    TreeAssert(surface->BitsPerPixel() == 32, "Alpha blending error: bitmap must use 32 bpp.");
    return *surface;
}

std::uint8_t Mix(int alpha, int destination, int source, int bias)
{
    return static_cast<std::uint8_t>(std::clamp(((256 - alpha) * destination + alpha * source) / 256 + bias, 0, 255));
}

// Byte offsets where each UTF-8 character starts, and the end.
std::vector<std::size_t> CharacterBounds(std::string_view s)
{
    std::vector<std::size_t> bounds;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
            bounds.push_back(i);
        }
    }
    bounds.push_back(s.size());
    return bounds;
}

TTextMeasure MeasureOn(plat::TDeviceContext& dc)
{
    return [&dc](std::string_view text) { return dc.GetTextExtent(text).cx; };
}

std::vector<std::string> SplitWords(std::string_view s)
{
    std::vector<std::string> words;
    std::size_t start = 0;
    for (;;) {
        const std::size_t space = s.find(' ', start);
        words.emplace_back(s.substr(start, space == std::string_view::npos ? std::string_view::npos : space - start));
        if (space == std::string_view::npos) {
            return words;
        }
        start = space + 1;
    }
}

std::string_view Trimmed(std::string_view s)
{
    const std::size_t first = s.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = s.find_last_not_of(" \t\r\n");
    return s.substr(first, last - first + 1);
}

} // namespace

void AlphaBlend(plat::TDeviceContext* source, plat::TDeviceContext* destination, const plat::TRect& r,
                plat::TPoint target, TBlendMode mode, int constantAlpha, int bias)
{
    if (r.IsEmpty()) {
        return;
    }
    plat::TPixelSurface& to = BlendSurface(destination);
    if (mode == bmConstantAlphaAndColor) {
        const std::uint8_t colour[4] = {static_cast<std::uint8_t>(bias >> 16), static_cast<std::uint8_t>(bias >> 8),
                                        static_cast<std::uint8_t>(bias), 0};
        const plat::TRect area = plat::IntersectRect(r, plat::Rect(0, 0, to.Width(), to.Height()));
        for (int y = area.Top; y < area.Bottom; ++y) {
            std::uint8_t* pixel = to.ScanLine(y) + std::size_t{4} * static_cast<std::size_t>(area.Left);
            for (int x = area.Left; x < area.Right; ++x, pixel += 4) {
                for (int byte = 0; byte < 4; ++byte) {
                    pixel[byte] = Mix(constantAlpha, pixel[byte], colour[byte], 0);
                }
            }
        }
        return;
    }
    plat::TPixelSurface& from = BlendSurface(source);
    for (int row = 0; row < r.Height(); ++row) {
        const int sourceY = r.Top + row;
        const int targetY = target.Y + row;
        if (sourceY < 0 || sourceY >= from.Height() || targetY < 0 || targetY >= to.Height()) {
            continue;
        }
        const std::uint8_t* sourceRow = from.ScanLine(sourceY);
        std::uint8_t* targetRow = to.ScanLine(targetY);
        for (int column = 0; column < r.Width(); ++column) {
            const int sourceX = r.Left + column;
            const int targetX = target.X + column;
            if (sourceX < 0 || sourceX >= from.Width() || targetX < 0 || targetX >= to.Width()) {
                continue;
            }
            const std::uint8_t* s = sourceRow + std::size_t{4} * static_cast<std::size_t>(sourceX);
            std::uint8_t* d = targetRow + std::size_t{4} * static_cast<std::size_t>(targetX);
            const int alpha = mode == bmConstantAlpha ? constantAlpha
                              : mode == bmPerPixelAlpha ? s[3]
                                                        : s[3] * constantAlpha / 256;
            for (int byte = 0; byte < 4; ++byte) {
                d[byte] = Mix(alpha, d[byte], s[byte], bias);
            }
        }
    }
}

plat::TRect OrderRect(const plat::TRect& r)
{
    return plat::Rect(std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right),
                      std::max(r.Top, r.Bottom));
}

void ClipCanvas(plat::TCanvas& canvas, const plat::TRect& clipRect, const plat::TRegion* visibleRegion)
{
    // The tree's canvases map logical to device coordinates one to one.
    plat::TDeviceContext* dc = canvas.Handle();
    plat::TRegion region(clipRect);
    if (visibleRegion != nullptr) {
        region.Combine(region, *visibleRegion, plat::RGN_AND);
    }
    dc->SelectClipRgn(&region);
}

std::string ShortenString(const TTextMeasure& measure, std::string_view s, int width, int ellipsisWidth)
{
    if (s.empty() || width <= 0) {
        return {};
    }
    if (ellipsisWidth == 0) {
        ellipsisWidth = measure("...");
    }
    const std::vector<std::size_t> bounds = CharacterBounds(s);
    const std::size_t length = bounds.size() - 1;
    std::size_t low = 0;
    std::size_t high = length;
    while (low < high) {
        const std::size_t middle = (low + high + 1) / 2;
        if (measure(s.substr(0, bounds[middle])) + ellipsisWidth <= width) {
            low = middle;
        } else {
            high = middle - 1;
        }
    }
    if (low == length) {
        return std::string(s);
    }
    if (ellipsisWidth < width) {
        return std::string(s.substr(0, bounds[low])) + "...";
    }
    return {};
}

std::string ShortenString(plat::TDeviceContext& dc, std::string_view s, int width, int ellipsisWidth)
{
    return ShortenString(MeasureOn(dc), s, width, ellipsisWidth);
}

std::string WrapString(const TTextMeasure& measure, std::string_view s, const plat::TRect& bounds, bool rtl)
{
    s = Trimmed(s);
    if (s.empty()) {
        return {};
    }
    const auto maxWidth = bounds.Width();
    std::vector<std::string> words = SplitWords(s);
    if (rtl) {
        std::reverse(words.begin(), words.end());
    }
    const auto join = [rtl](const std::string& line, const std::string& word) {
        if (line.empty()) {
            return word;
        }
        return rtl ? word + " " + line : line + " " + word;
    };
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < words.size();) {
        std::string& word = words[i];
        const std::string candidate = join(line, word);
        if (measure(candidate) <= maxWidth) {
            line = candidate;
            ++i;
            continue;
        }
        if (!line.empty()) {
            lines.push_back(line);
            line.clear();
            continue;
        }
        // One word wider than the bounds: the longest part that fits (at
        // least one character) makes a line, the rest waits for the next.
        const std::vector<std::size_t> cuts = CharacterBounds(word);
        std::size_t count = cuts.size() - 1;
        while (count > 1) {
            --count;
            const std::string part =
                rtl ? word.substr(cuts[cuts.size() - 1 - count]) : word.substr(0, cuts[count]);
            if (measure(part) <= maxWidth) {
                break;
            }
        }
        const std::size_t split = rtl ? cuts[cuts.size() - 1 - count] : cuts[count];
        lines.push_back(rtl ? word.substr(split) : word.substr(0, split));
        word = rtl ? word.substr(0, split) : word.substr(split);
        if (word.empty()) {
            ++i;
        }
    }
    if (!line.empty()) {
        lines.push_back(line);
    }
    std::string result;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            result += '\n';
        }
        result += lines[i];
    }
    return result;
}

std::string WrapString(plat::TDeviceContext& dc, std::string_view s, const plat::TRect& bounds, bool rtl,
                       std::uint32_t drawFormat)
{
    return WrapString(
        [&dc, drawFormat](std::string_view text) {
            plat::TRect r = plat::Rect(0, 0, 1, 1);
            DrawTextAtPoint(dc, text, r, drawFormat);
            return static_cast<int>(r.Width());
        },
        s, bounds, rtl);
}

void TakeFont(plat::TFont& to, const plat::TFont& from)
{
    if (to.Height() == from.Height() && to.Color() == from.Color() && to.Style() == from.Style() &&
        to.Pitch() == from.Pitch() && to.Charset() == from.Charset() && to.Orientation() == from.Orientation() &&
        to.Name() == from.Name()) {
        return;
    }
    to.Assign(&from);
}

void DrawTextAtPoint(plat::TDeviceContext& dc, std::string_view s, plat::TRect& r, std::uint32_t drawFormat)
{
    r.Right = r.Left + 1;
    r.Bottom = r.Top + 1;
    dc.DrawText(s, r, drawFormat | plat::DT_CALCRECT);
}

std::uint32_t GetRGBColor(plat::TColor value)
{
    if (value == plat::clNone) {
        return 0xFFFFFFFFu;
    }
    if (value == plat::clDefault) {
        return 0xFF000000u;
    }
    return static_cast<std::uint32_t>(plat::ColorToRGB(value));
}

void PrtStretchDrawDIB(plat::TCanvas& canvas, const plat::TRect& destRect, const plat::TBitmap& bitmap)
{
    const int w = bitmap.Width();
    const int h = bitmap.Height();
    if (w <= 0 || h <= 0 || canvas.Handle() == nullptr) {
        return;
    }
    // The picture's bits go aside first, as a 32-bit picture of its own
    // that lives for this copy only.
    plat::TBitmap bits(w, h, plat::pf32bit);
    bits.DeviceContext()->BitBlt(0, 0, w, h, bitmap.DeviceContext(), 0, 0, plat::SRCCOPY);
    canvas.Handle()->StretchBlt(static_cast<int>(destRect.Left), static_cast<int>(destRect.Top),
                                static_cast<int>(destRect.Width()), static_cast<int>(destRect.Height()),
                                bits.DeviceContext(), 0, 0, w, h, plat::SRCCOPY);
}

bool IsMouseCursorVisible()
{
    plat::TCursorInfo info;
    return plat::GetCursorInfo(info) && (info.flags & plat::CURSOR_SHOWING) != 0;
}

bool IsHighContrastEnabled()
{
    plat::THighContrast setting;
    return plat::SystemParametersInfo(plat::SPI_GETHIGHCONTRAST, sizeof(setting), &setting, 0) &&
           (setting.dwFlags & plat::HCF_HIGHCONTRASTON) != 0;
}

void FillDragRectangles(int w, int h, int dx, int dy, TDragRectangles& rects)
{
    // Scroll is left, top, right, bottom; the strips are x, y, width, height.
    const auto strip = [](int x, int y, int width, int height) { return plat::Rect(x, y, width, height); };
    rects.Clip = plat::Rect(0, 0, w, h);
    if (dx > 0) {
        rects.Sample1 = strip(0, 0, dx, h);
        if (dy == 0) {
            rects.Scroll = plat::Rect(0, 0, w - dx, h);
            rects.Draw1 = strip(w - dx, 0, dx, h);
            return;
        }
        if (dy < 0) {
            rects.Scroll = plat::Rect(0, -dy, w - dx, h);
            rects.Sample2 = strip(dx, h + dy, w - dx, -dy);
            rects.Draw1 = strip(0, 0, w - dx, -dy);
        } else {
            rects.Scroll = plat::Rect(0, 0, w - dx, h - dy);
            rects.Sample2 = strip(dx, 0, w - dx, dy);
            rects.Draw1 = strip(0, h - dy, w - dx, dy);
        }
        rects.Draw2 = strip(w - dx, 0, dx, h);
        return;
    }
    if (dx == 0) {
        if (dy < 0) {
            rects.Scroll = plat::Rect(0, -dy, w, h);
            rects.Sample2 = strip(0, h + dy, w, -dy);
            rects.Draw2 = strip(0, 0, w, -dy);
        } else {
            rects.Scroll = plat::Rect(0, 0, w, h - dy);
            rects.Sample2 = strip(0, 0, w, dy);
            rects.Draw2 = strip(0, h - dy, w, dy);
        }
        return;
    }
    rects.Draw1 = strip(0, 0, -dx, h);
    if (dy > 0) {
        rects.Scroll = plat::Rect(-dx, 0, w, h);
        rects.Sample1 = strip(0, 0, w + dx, dy);
        rects.Sample2 = strip(w + dx, 0, -dx, h);
        rects.Draw2 = strip(-dx, h - dy, w + dx, dy);
    } else if (dy == 0) {
        rects.Scroll = plat::Rect(-dx, 0, w, h);
        rects.Sample1 = strip(w + dx, 0, -dx, h);
    } else {
        rects.Scroll = plat::Rect(-dx, -dy, w, h);
        rects.Sample1 = strip(0, h + dy, w + dx, -dy);
        rects.Sample2 = strip(w + dx, 0, -dx, h);
        rects.Draw2 = strip(-dx, 0, w + dx, -dy);
    }
}

} // namespace qel
