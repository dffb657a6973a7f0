// Canvas benchmark: a 1920 x 1080 tree-like page (56 rows of 19 pixels,
// each a background fill, a dotted tree line, a 9 x 9 button, a check glyph,
// four clipped opaque text cells and a grid line) drawn through the canvas
// and by a plain Cairo and PangoCairo loop, frame by frame in turn in one
// run; then TextWidth of the cell texts against a PangoLayout loop, in turn
// likewise. Prints frames per second, the ratios and whether the widths agree.
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
using Clock = std::chrono::steady_clock;

constexpr int PageWidth = 1920;
constexpr int PageHeight = 1080;
constexpr int Rows = 56;
constexpr int RowHeight = 19;
constexpr int CellWidth = 300;
constexpr int CellLeft = 140;

std::vector<std::string> CellTexts()
{
    const char* words[] = {"Logger", "QEL629", "channel", "temperature", "humidity", "record", "2024-05-17",
        "12:30:45", "serial", "1041", "pressure", "card", "pages", "shock", "values", "window"};
    std::vector<std::string> texts;
    unsigned seed = 7;
    for (int i = 0; i < Rows * 4; ++i) {
        std::string text;
        const std::size_t length = 20 + (seed % 21);
        while (text.size() < length) {
            seed = seed * 1103515245u + 12345u;
            text += words[(seed >> 8) % 16];
            text += ' ';
        }
        text.resize(length);
        texts.push_back(text);
    }
    return texts;
}

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

void Rectangle(cairo_t* cr, double x, double y, double w, double h, double r, double g, double b)
{
    cairo_set_source_rgb(cr, r, g, b);
    cairo_rectangle(cr, x, y, w, h);
    cairo_fill(cr);
}

void PaintPlainPage(cairo_t* cr, PangoLayout* layout, cairo_pattern_t* dots, const std::vector<std::string>& texts)
{
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    for (int row = 0; row < Rows; ++row) {
        const double top = row * RowHeight;
        Rectangle(cr, 0, top, PageWidth, RowHeight, 1, 1, 1);
        cairo_set_source(cr, dots);
        cairo_rectangle(cr, 10, top + 9, 30, 1);
        cairo_fill(cr);
        // The button: frame, inside, minus.
        Rectangle(cr, 20, top + 5, 9, 9, 0.63, 0.63, 0.63);
        Rectangle(cr, 21, top + 6, 7, 7, 1, 1, 1);
        Rectangle(cr, 22, top + 9, 5, 1, 0, 0, 0);
        // The check glyph: two edge rings, the well and the mark.
        Rectangle(cr, 48, top + 3, 13, 13, 1, 1, 1);
        Rectangle(cr, 48, top + 3, 12, 1, 0.63, 0.63, 0.63);
        Rectangle(cr, 48, top + 3, 1, 12, 0.63, 0.63, 0.63);
        Rectangle(cr, 49, top + 4, 10, 1, 0.41, 0.41, 0.41);
        Rectangle(cr, 49, top + 4, 1, 10, 0.41, 0.41, 0.41);
        Rectangle(cr, 49, top + 14, 11, 1, 0.89, 0.89, 0.89);
        Rectangle(cr, 59, top + 4, 1, 11, 0.89, 0.89, 0.89);
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_move_to(cr, 51, top + 9);
        cairo_line_to(cr, 53, top + 12);
        cairo_line_to(cr, 58, top + 6);
        cairo_line_to(cr, 58, top + 8);
        cairo_line_to(cr, 53, top + 13);
        cairo_line_to(cr, 51, top + 11);
        cairo_close_path(cr);
        cairo_fill(cr);
        for (int cell = 0; cell < 4; ++cell) {
            const double left = CellLeft + cell * CellWidth;
            cairo_save(cr);
            cairo_rectangle(cr, left, top, CellWidth - 4, RowHeight - 1);
            cairo_clip(cr);
            Rectangle(cr, left, top, CellWidth - 4, RowHeight - 1, 1, 1, 1);
            const std::string& text = texts[static_cast<std::size_t>(row * 4 + cell)];
            pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
            cairo_set_source_rgb(cr, 0, 0, 0);
            cairo_move_to(cr, left + 2, top + 2);
            pango_cairo_show_layout(cr, layout);
            cairo_restore(cr);
        }
        Rectangle(cr, 0, top + RowHeight - 1, PageWidth, 1, 0.63, 0.63, 0.63);
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
    LoadCanvasFonts();
    const std::vector<std::string> texts = CellTexts();

    TPixelSurface canvasSurface(PageWidth, PageHeight, 32);
    TSurfaceDC dc(canvasSurface);

    cairo_surface_t* plainSurface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, PageWidth, PageHeight);
    cairo_t* cr = cairo_create(plainSurface);
    PangoContext* context = TFontMap::Instance().CreateContext();
    PangoLayout* layout = pango_layout_new(context);
    PangoFontDescription* description = pango_font_description_from_string("DejaVu Sans");
    pango_font_description_set_absolute_size(description, 12 * PANGO_SCALE);
    pango_layout_set_font_description(layout, description);
    cairo_surface_t* dotSurface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 2, 2);
    {
        cairo_t* d = cairo_create(dotSurface);
        cairo_set_source_rgb(d, 1, 1, 1);
        cairo_paint(d);
        cairo_set_source_rgb(d, 0.63, 0.63, 0.63);
        cairo_rectangle(d, 0, 0, 1, 1);
        cairo_rectangle(d, 1, 1, 1, 1);
        cairo_fill(d);
        cairo_destroy(d);
    }
    cairo_pattern_t* dots = cairo_pattern_create_for_surface(dotSurface);
    cairo_pattern_set_extend(dots, CAIRO_EXTEND_REPEAT);

    const TRates pages = InterleavedFramesPerSecond([&] { PaintCanvasPage(dc, texts); },
        [&] { PaintPlainPage(cr, layout, dots, texts); }, 6.0);
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
    PangoLayout* measure = pango_layout_new(context);
    TFontMap::Instance().PrepareLayout(measure, TFontMap::Instance().Realize(font, 1), "", false, false);
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
    cairo_pattern_destroy(dots);
    cairo_surface_destroy(dotSurface);
    pango_font_description_free(description);
    g_object_unref(layout);
    g_object_unref(context);
    cairo_destroy(cr);
    cairo_surface_destroy(plainSurface);
    return 0;
}
