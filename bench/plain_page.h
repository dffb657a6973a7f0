// The plain Cairo and PangoCairo page of the canvas benchmark: a 1920 x 1080
// tree-like page (56 rows of 19 pixels, each a background fill, a dotted tree
// line, a 9 x 9 button, a check glyph, four clipped opaque text cells and a
// grid line) drawn without the canvas; the anchor of the canvas and tree
// painting benchmarks.
#pragma once

#include "platform/canvas/font_map.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <string>
#include <vector>

namespace benchpage {

constexpr int PageWidth = 1920;
constexpr int PageHeight = 1080;
constexpr int Rows = 56;
constexpr int RowHeight = 19;
constexpr int CellWidth = 300;
constexpr int CellLeft = 140;

inline std::vector<std::string> CellTexts()
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

inline void Rectangle(cairo_t* cr, double x, double y, double w, double h, double r, double g, double b)
{
    cairo_set_source_rgb(cr, r, g, b);
    cairo_rectangle(cr, x, y, w, h);
    cairo_fill(cr);
}

inline void PaintPlainPage(cairo_t* cr, PangoLayout* layout, cairo_pattern_t* dots, const std::vector<std::string>& texts)
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

// The plain page's surface, layout and dot pattern, made once.
class TPlainPage {
public:
    TPlainPage() : FTexts(CellTexts())
    {
        plat::LoadCanvasFonts();
        FSurface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, PageWidth, PageHeight);
        FCairo = cairo_create(FSurface);
        FContext = plat::TFontMap::Instance().CreateContext();
        FLayout = pango_layout_new(FContext);
        FDescription = pango_font_description_from_string("DejaVu Sans");
        pango_font_description_set_absolute_size(FDescription, 12 * PANGO_SCALE);
        pango_layout_set_font_description(FLayout, FDescription);
        FDotSurface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 2, 2);
        cairo_t* d = cairo_create(FDotSurface);
        cairo_set_source_rgb(d, 1, 1, 1);
        cairo_paint(d);
        cairo_set_source_rgb(d, 0.63, 0.63, 0.63);
        cairo_rectangle(d, 0, 0, 1, 1);
        cairo_rectangle(d, 1, 1, 1, 1);
        cairo_fill(d);
        cairo_destroy(d);
        FDots = cairo_pattern_create_for_surface(FDotSurface);
        cairo_pattern_set_extend(FDots, CAIRO_EXTEND_REPEAT);
    }
    ~TPlainPage()
    {
        cairo_pattern_destroy(FDots);
        cairo_surface_destroy(FDotSurface);
        pango_font_description_free(FDescription);
        g_object_unref(FLayout);
        g_object_unref(FContext);
        cairo_destroy(FCairo);
        cairo_surface_destroy(FSurface);
    }
    TPlainPage(const TPlainPage&) = delete;
    TPlainPage& operator=(const TPlainPage&) = delete;

    void Paint() { PaintPlainPage(FCairo, FLayout, FDots, FTexts); }
    const std::vector<std::string>& Texts() const { return FTexts; }
    PangoContext* Context() const { return FContext; }

private:
    std::vector<std::string> FTexts;
    cairo_surface_t* FSurface = nullptr;
    cairo_t* FCairo = nullptr;
    PangoContext* FContext = nullptr;
    PangoLayout* FLayout = nullptr;
    PangoFontDescription* FDescription = nullptr;
    cairo_surface_t* FDotSurface = nullptr;
    cairo_pattern_t* FDots = nullptr;
};

} // namespace benchpage
