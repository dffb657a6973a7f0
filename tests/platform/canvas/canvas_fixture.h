// A white surface with its device context, and pixel helpers for the canvas tests.
#pragma once

#include "platform/canvas/pixel_surface.h"
#include "platform/canvas/surface_dc.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace plat::test {

class TCanvasSurface {
public:
    TCanvasSurface(int width, int height, int bitsPerPixel = 32, int scale = 1)
        : Surface(width * scale, height * scale, bitsPerPixel), DC(Surface, scale)
    {
        DC.FillRect({0, 0, width, height}, CreateSolidBrush(0xFFFFFF));
    }

    // The device pixel's colour (0x00BBGGRR).
    COLORREF Device(int x, int y)
    {
        const std::uint8_t* p = Surface.ScanLine(y) + x * (Surface.BitsPerPixel() / 8);
        return RGB(p[2], p[1], p[0]);
    }
    // Every byte of every row, for before-and-after comparisons.
    std::vector<std::uint8_t> Bytes()
    {
        std::vector<std::uint8_t> bytes;
        for (int y = 0; y < Surface.Height(); ++y) {
            const std::uint8_t* row = Surface.ScanLine(y);
            bytes.insert(bytes.end(), row, row + Surface.RowBytes());
        }
        return bytes;
    }
    // Number of device pixels of the colour in a row or a column.
    int CountInRow(int y, COLORREF color)
    {
        int n = 0;
        for (int x = 0; x < Surface.Width(); ++x)
            n += Device(x, y) == color;
        return n;
    }
    int CountInColumn(int x, COLORREF color)
    {
        int n = 0;
        for (int y = 0; y < Surface.Height(); ++y)
            n += Device(x, y) == color;
        return n;
    }
    // The box of the pixels that are not white; empty when all are.
    TRect InkBox()
    {
        TRect box{Surface.Width(), Surface.Height(), 0, 0};
        for (int y = 0; y < Surface.Height(); ++y)
            for (int x = 0; x < Surface.Width(); ++x)
                if (Device(x, y) != 0xFFFFFF) {
                    box.Left = std::min(box.Left, x);
                    box.Top = std::min(box.Top, y);
                    box.Right = std::max(box.Right, x + 1);
                    box.Bottom = std::max(box.Bottom, y + 1);
                }
        return box.IsEmpty() ? TRect{} : box;
    }
    int CountAll(COLORREF color)
    {
        int n = 0;
        for (int y = 0; y < Surface.Height(); ++y)
            n += CountInRow(y, color);
        return n;
    }

    TPixelSurface Surface;
    TSurfaceDC DC;
};

constexpr COLORREF White = 0xFFFFFF;
constexpr COLORREF Black = 0x000000;

} // namespace plat::test
