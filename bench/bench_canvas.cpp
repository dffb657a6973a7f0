// Canvas benchmark: a 1920 x 1080 tree-like page (56 rows of 19 pixels,
// each a background fill, a dotted tree line, a 9 x 9 button, a check glyph,
// four clipped opaque text cells and a grid line) drawn through the canvas
// and by a plain Cairo and PangoCairo loop, frame by frame in turn in one
// run; then TextWidth of the cell texts against a PangoLayout loop, in turn
// likewise. Prints frames per second, the ratios and whether the widths agree.
#include "bench/plain_page.h"
#include "platform/canvas/font_map.h"
#include "platform/canvas/pixel_surface.h"
#include "platform/canvas/surface_dc.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace plat;
using namespace benchpage;
using Clock = std::chrono::steady_clock;

void PaintCanvasPage(TSurfaceDC& dc, const std::vector<std::string>& texts)
{
    static const std::uint16_t dots[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    static const TLogBrush lineBrush = CreateMonochromePatternBrush(dots);
    TLogFont font;
    font.FaceName = "DejaVu Sans";
    font.Height = -12;
    dc.SelectFont(font);
    dc.SetBkColor(RGB(255, 255, 255));
    dc.SetTextColor(RGB(0, 0, 0));
    dc.SelectPen(CreatePen(PS_SOLID, 1, RGB(160, 160, 160)));
    dc.SelectBrush(CreateSolidBrush(RGB(255, 255, 255)));
    const TLogBrush background = CreateSolidBrush(RGB(255, 255, 255));
    const TLogBrush minus = CreateSolidBrush(RGB(0, 0, 0));
    for (int row = 0; row < Rows; ++row) {
        const int top = row * RowHeight;
        dc.FillRect({0, top, PageWidth, top + RowHeight}, background);
        dc.FillRect({10, top + 9, 40, top + 10}, lineBrush);
        dc.Rectangle(20, top + 5, 29, top + 14);
        dc.FillRect({22, top + 9, 27, top + 10}, minus);
        dc.DrawFrameControl({48, top + 3, 61, top + 16}, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
        for (int cell = 0; cell < 4; ++cell) {
            const int left = CellLeft + cell * CellWidth;
            const TRect r{left, top, left + CellWidth - 4, top + RowHeight - 1};
            dc.ExtTextOut(left + 2, top + 2, ETO_CLIPPED | ETO_OPAQUE, &r, texts[static_cast<std::size_t>(row * 4 + cell)],
                nullptr);
        }
        dc.MoveTo(0, top + RowHeight - 1);
        dc.LineTo(PageWidth, top + RowHeight - 1);
    }
}

struct TRates {
    double First = 0;    // frames per second
    double Second = 0;
};

// Frames per second of two painters taking turns frame by frame, so that
// both see the same load of a shared machine.
template <typename PaintFirst, typename PaintSecond>
TRates InterleavedFramesPerSecond(PaintFirst&& first, PaintSecond&& second, double seconds)
{
    first();
    second();
    int frames = 0;
    double firstTime = 0;
    double secondTime = 0;
    while (firstTime + secondTime < seconds) {
        const auto a = Clock::now();
        first();
        const auto b = Clock::now();
        second();
        const auto c = Clock::now();
        firstTime += std::chrono::duration<double>(b - a).count();
        secondTime += std::chrono::duration<double>(c - b).count();
        ++frames;
    }
    return {frames / firstTime, frames / secondTime};
}

} // namespace

int main()
{
    TPlainPage plain;
    const std::vector<std::string>& texts = plain.Texts();

    TPixelSurface canvasSurface(PageWidth, PageHeight, 32);
    TSurfaceDC dc(canvasSurface);

    const TRates pages = InterleavedFramesPerSecond([&] { PaintCanvasPage(dc, texts); },
        [&] { plain.Paint(); }, 6.0);
    const double canvasFps = pages.First;
    const double plainFps = pages.Second;
    std::printf("page of %d rows, %d x %d pixels\n", Rows, PageWidth, PageHeight);
    std::printf("canvas:              %8.1f frames/s\n", canvasFps);
    std::printf("plain Cairo + Pango: %8.1f frames/s\n", plainFps);
    std::printf("ratio canvas/plain:  %8.2f (target at least 0.80)\n", canvasFps / plainFps);

    // Text widths: the canvas's measuring against a PangoLayout loop.
    TLogFont font;
    font.FaceName = "DejaVu Sans";
    font.Height = -12;
    dc.SelectFont(font);
    PangoLayout* measure = pango_layout_new(plain.Context());
    TFontMap::Instance().PrepareLayout(measure, *TFontMap::Instance().Realize(font, 1), "", false, false);
    int mismatches = 0;
    for (const std::string& text : texts) {
        pango_layout_set_text(measure, text.data(), static_cast<int>(text.size()));
        PangoRectangle logical;
        pango_layout_get_pixel_extents(measure, nullptr, &logical);
        mismatches += logical.width != dc.GetTextExtent(text).cx;
    }
    volatile long sink = 0;
    const TRates widths = InterleavedFramesPerSecond(
        [&] {
            for (const std::string& text : texts)
                sink = sink + dc.GetTextExtent(text).cx;
        },
        [&] {
            for (const std::string& text : texts) {
                pango_layout_set_text(measure, text.data(), static_cast<int>(text.size()));
                PangoRectangle logical;
                pango_layout_get_pixel_extents(measure, nullptr, &logical);
                sink = sink + logical.width;
            }
        },
        4.0);
    const double canvasWidths = widths.First * static_cast<double>(texts.size());
    const double layoutWidths = widths.Second * static_cast<double>(texts.size());
    std::printf("widths equal:        %s (%d of %zu differ)\n", mismatches == 0 ? "yes" : "NO", mismatches, texts.size());
    std::printf("TextWidth:           %10.0f texts/s\n", canvasWidths);
    std::printf("PangoLayout loop:    %10.0f texts/s\n", layoutWidths);
    std::printf("ratio:               %8.1f (target at least 10)\n", canvasWidths / layoutWidths);

    g_object_unref(measure);
    return 0;
}
