// The chart library's hand cursor: its number in the screen's cursor table and its
// 32 by 32 two-colour image with the hot spot on the tip of the pointing finger.
#pragma once

#include <array>
#include <string_view>

namespace qel {

constexpr int ChartHandCursor = 2020;

enum class TCursorPixel { Transparent, Black, White };

struct TChartCursorImage {
    static constexpr int Width = 32;
    static constexpr int Height = 32;
    int HotSpotX;
    int HotSpotY;
    // One text per row from the top: '#' black, '.' white, ' ' transparent.
    std::array<std::string_view, Height> Rows;

    // The pixel at column X, row Y; outside the image everything is transparent.
    constexpr TCursorPixel PixelAt(int X, int Y) const
    {
        if (X < 0 || Y < 0 || X >= Width || Y >= Height) {
            return TCursorPixel::Transparent;
        }
        switch (Rows[static_cast<std::size_t>(Y)][static_cast<std::size_t>(X)]) {
        case '#':
            return TCursorPixel::Black;
        case '.':
            return TCursorPixel::White;
        default:
            return TCursorPixel::Transparent;
        }
    }
};

const TChartCursorImage& ChartHandCursorImage();

} // namespace qel
