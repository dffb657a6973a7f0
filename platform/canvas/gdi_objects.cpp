// Constructors of pens and brushes.
#include "platform/canvas/gdi_objects.h"

#include "platform/canvas/pixel_surface.h"

#include <algorithm>

namespace plat {

TLogPen CreatePen(std::uint32_t style, int width, COLORREF color)
{
    TLogPen pen;
    pen.Style = style & PS_STYLE_MASK;
    pen.Width = std::max(width, 0);
    pen.Color = color & 0xFFFFFF;
    return pen;
}

TLogPen ExtCreatePen(std::uint32_t style, int width, const TLogBrush& brush, std::uint32_t styleCount,
    const std::uint32_t* styles)
{
    TLogPen pen;
    pen.Style = style;
    pen.Width = std::max(width, 0);
    pen.Color = brush.Color & 0xFFFFFF;
    if ((style & PS_STYLE_MASK) == PS_USERSTYLE && styles != nullptr)
        pen.UserStyle.assign(styles, styles + std::min<std::uint32_t>(styleCount, 16));
    return pen;
}

TLogBrush CreateSolidBrush(COLORREF color)
{
    TLogBrush brush;
    brush.Color = color & 0xFFFFFF;
    return brush;
}

TLogBrush CreateHatchBrush(int hatch, COLORREF color)
{
    TLogBrush brush;
    brush.Style = BS_HATCHED;
    brush.Hatch = std::clamp(hatch, static_cast<int>(HS_HORIZONTAL), static_cast<int>(HS_DIAGCROSS));
    brush.Color = color & 0xFFFFFF;
    return brush;
}

TLogBrush CreatePatternBrush(TPixelSurface& surface)
{
    auto pattern = std::make_shared<TBrushPattern>();
    pattern->Width = surface.Width();
    pattern->Height = surface.Height();
    pattern->Pixels.reserve(static_cast<std::size_t>(surface.Width()) * static_cast<std::size_t>(surface.Height()));
    const int bytesPerPixel = surface.BitsPerPixel() / 8;
    for (int y = 0; y < surface.Height(); ++y) {
        const std::uint8_t* row = surface.ScanLine(y);
        for (int x = 0; x < surface.Width(); ++x) {
            const std::uint8_t* p = row + x * bytesPerPixel;
            pattern->Pixels.push_back(RGB(p[2], p[1], p[0]));
        }
    }
    TLogBrush brush;
    brush.Style = BS_PATTERN;
    brush.Pattern = std::move(pattern);
    return brush;
}

TLogBrush CreateMonochromePatternBrush(const std::uint16_t rows[8])
{
    auto pattern = std::make_shared<TBrushPattern>();
    pattern->Width = 8;
    pattern->Height = 8;
    pattern->Monochrome = true;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            pattern->Pixels.push_back((rows[y] >> (7 - x)) & 1u);
    TLogBrush brush;
    brush.Style = BS_PATTERN;
    brush.Pattern = std::move(pattern);
    return brush;
}

TLogBrush NullBrush()
{
    TLogBrush brush;
    brush.Style = BS_NULL;
    return brush;
}

TLogPen NullPen()
{
    TLogPen pen;
    pen.Style = PS_NULL;
    return pen;
}

} // namespace plat
