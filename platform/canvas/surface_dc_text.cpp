// Text of the surface device context. Text is measured in logical pixels
// with the font realised at scale 1 and drawn with the font realised at the
// device scale, every glyph placed at its measured advance times the scale,
// so that a line has the same logical width at any scale.
#include "platform/canvas/surface_dc.h"

#include "platform/canvas/draw_text.h"
#include "platform/canvas/font_map.h"
#include "platform/canvas/pixel_surface.h"
#include "platform/canvas/utf8_text.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cstdlib>
#include <cmath>
#include <numbers>

namespace plat {

namespace {

// Pango positions are 32-bit in 1/1024 pixel: advances stay well inside.
constexpr long MaxGlyphAdvance = 1 << 16;
// Text whose reference point lies this far off the surface is not drawn
// (Cairo's fixed-point coordinates end near 2^23).
constexpr long long FarAway = 1 << 21;

// Sets each glyph's width to the advance of its characters (in Pango units),
// the first glyph of a cluster taking the cluster's whole advance.
void PlaceGlyphs(PangoLayoutLine* line, const std::vector<TDecodedChar>& chars, const std::vector<int>& advances,
    int scale)
{
    auto advanceOfBytes = [&](std::size_t from, std::size_t to) {
        long total = 0;
        auto it = std::lower_bound(chars.begin(), chars.end(), from,
            [](const TDecodedChar& c, std::size_t offset) { return c.Offset < offset; });
        for (; it != chars.end() && it->Offset < to; ++it) {
            const auto index = static_cast<std::size_t>(it - chars.begin());
            if (index < advances.size())
                total += advances[index];
        }
        return total;
    };
    for (GSList* node = line->runs; node != nullptr; node = node->next) {
        auto* run = static_cast<PangoGlyphItem*>(node->data);
        PangoGlyphString* glyphs = run->glyphs;
        const std::size_t itemStart = static_cast<std::size_t>(run->item->offset);
        const std::size_t itemEnd = itemStart + static_cast<std::size_t>(run->item->length);
        std::vector<int> starts(glyphs->log_clusters, glyphs->log_clusters + glyphs->num_glyphs);
        std::sort(starts.begin(), starts.end());
        starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
        int previousCluster = -1;
        for (int i = 0; i < glyphs->num_glyphs; ++i) {
            const int cluster = glyphs->log_clusters[i];
            if (cluster == previousCluster) {
                glyphs->glyphs[i].geometry.width = 0;
                continue;
            }
            previousCluster = cluster;
            const auto next = std::upper_bound(starts.begin(), starts.end(), cluster);
            const std::size_t from = itemStart + static_cast<std::size_t>(cluster);
            const std::size_t to = next == starts.end() ? itemEnd : itemStart + static_cast<std::size_t>(*next);
            const long advance = std::clamp(advanceOfBytes(from, to), -MaxGlyphAdvance, MaxGlyphAdvance);
            glyphs->glyphs[i].geometry.width = static_cast<int>(advance * scale * PANGO_SCALE);
        }
    }
}

} // namespace

const TRealizedFont& TSurfaceDC::LogicalFont()
{
    TFontMap& map = TFontMap::Instance();
    if (FLogicalFont == nullptr || FFontGeneration != map.Generation()) {
        FFontGeneration = map.Generation();
        FLogicalFont = map.Realize(FState.Font, 1);
        FDeviceFont = nullptr;
    }
    return *FLogicalFont;
}

const TRealizedFont& TSurfaceDC::DeviceFont()
{
    LogicalFont();
    if (FDeviceFont == nullptr)
        FDeviceFont = FScale == 1 ? FLogicalFont : TFontMap::Instance().Realize(FState.Font, FScale);
    return *FDeviceFont;
}

TTextMetric TSurfaceDC::GetTextMetrics()
{
    return LogicalFont().Metric();
}

TSize TSurfaceDC::GetTextExtent(std::string_view text)
{
    const TRealizedFont& font = LogicalFont();
    return {TFontMap::Instance().TextWidth(font, text, FState.CharExtra), font.Metric().Height};
}

void TSurfaceDC::TextOut(int x, int y, std::string_view text)
{
    ExtTextOut(x, y, 0, nullptr, text, nullptr);
}

void TSurfaceDC::ExtTextOut(int x, int y, std::uint32_t options, const TRect* rect, std::string_view text,
    const int* dx)
{
    DrawTextRun(x, y, options, rect, text, dx);
}

int TSurfaceDC::DrawText(std::string_view text, TRect& rect, std::uint32_t format)
{
    return DrawTextOn(*this, text, rect, format);
}

void TSurfaceDC::DrawTextRun(int x, int y, std::uint32_t options, const TRect* rect, std::string_view text,
    const int* dx)
{
    TFontMap& map = TFontMap::Instance();
    const TRealizedFont& logical = LogicalFont();
    const TRealizedFont& device = DeviceFont();
    const TTextMetric& metric = logical.Metric();
    const std::string repaired = RepairUtf8(text);
    const std::vector<TDecodedChar> chars = DecodeUtf8(repaired);

    std::vector<int> advances;
    bool placed = true;
    if (dx != nullptr)
        advances.assign(dx, dx + chars.size());
    else
        placed = map.CharacterAdvances(logical, repaired, FState.CharExtra, advances);
    long long width = 0;
    if (placed)
        for (int a : advances)
            width += a;
    else
        width = map.TextWidth(logical, repaired, FState.CharExtra);

    const bool updateCP = FState.TextAlign & TA_UPDATECP;
    const TPoint reference = updateCP ? FState.Position : TPoint{x, y};
    const std::uint32_t horizontal = FState.TextAlign & TA_CENTER;
    const std::uint32_t vertical = FState.TextAlign & TA_BASELINE;
    const double startX = horizontal == TA_CENTER ? -static_cast<double>(width / 2)
        : horizontal == TA_RIGHT                   ? -static_cast<double>(width)
                                                   : 0.0;
    const double baselineY = vertical == TA_BASELINE ? 0.0 : vertical == TA_BOTTOM ? -metric.Descent : metric.Ascent;
    if (updateCP)
        FState.Position.X = SaturateInt(reference.X + (horizontal == TA_RIGHT ? -width : width));

    if (FPathOpen) {
        AddTextToPath(reference, startX, baselineY, repaired, chars, placed ? &advances : nullptr);
        return;
    }
    if ((options & ETO_OPAQUE) && rect != nullptr)
        FillRect(*rect, CreateSolidBrush(FState.BkColor));
    if (std::llabs(static_cast<long long>(reference.X) * FScale) > FarAway
        || std::llabs(static_cast<long long>(reference.Y) * FScale) > FarAway || std::llabs(width) > FarAway)
        return;

    FSurface.BeginDrawing();
    cairo_surface_mark_dirty(cairo_get_target(FCairo));
    cairo_save(FCairo);
    cairo_reset_clip(FCairo);
    if (FState.Clip.Active()) {
        for (const TRect& r : FDeviceClip)
            cairo_rectangle(FCairo, r.Left, r.Top, static_cast<double>(r.Width()), static_cast<double>(r.Height()));
        cairo_clip(FCairo);
    }
    if ((options & ETO_CLIPPED) && rect != nullptr) {
        const TRect r = DeviceRect(NormalizedRect(*rect));
        cairo_rectangle(FCairo, r.Left, r.Top, static_cast<double>(r.Width()), static_cast<double>(r.Height()));
        cairo_clip(FCairo);
    }
    cairo_translate(FCairo, static_cast<double>(reference.X) * FScale, static_cast<double>(reference.Y) * FScale);
    cairo_rotate(FCairo, -(FState.Font.Escapement / 10.0) * std::numbers::pi / 180.0);
    cairo_scale(FCairo, FScale, FScale);
    if (FState.BkMode == OPAQUE && !(options & ETO_OPAQUE)) {
        const COLORREF bk = FState.BkColor;
        cairo_set_source_rgb(FCairo, GetRValue(bk) / 255.0, GetGValue(bk) / 255.0, GetBValue(bk) / 255.0);
        cairo_set_antialias(FCairo, CAIRO_ANTIALIAS_NONE);
        cairo_rectangle(FCairo, startX, baselineY - metric.Ascent, static_cast<double>(width), metric.Height);
        cairo_fill(FCairo);
    }
    if (FPangoContext == nullptr) {
        FPangoContext = map.CreateContext();
        FLayout = pango_layout_new(FPangoContext);
    }
    cairo_identity_matrix(FCairo);
    cairo_translate(FCairo, static_cast<double>(reference.X) * FScale, static_cast<double>(reference.Y) * FScale);
    cairo_rotate(FCairo, -(FState.Font.Escapement / 10.0) * std::numbers::pi / 180.0);
    pango_cairo_update_context(FCairo, FPangoContext);
    if (FLayoutFont != &device || FLayoutDecorated[0] != FState.Font.Underline
        || FLayoutDecorated[1] != FState.Font.StrikeOut) {
        map.PrepareLayoutFont(FLayout, device, FState.Font.Underline, FState.Font.StrikeOut);
        FLayoutFont = &device;
        FLayoutDecorated[0] = FState.Font.Underline;
        FLayoutDecorated[1] = FState.Font.StrikeOut;
    }
    pango_layout_set_text(FLayout, repaired.data(), static_cast<int>(repaired.size()));
    PangoLayoutLine* line = pango_layout_get_line_readonly(FLayout, 0);
    if (line != nullptr) {
        if (placed && (FScale != 1 || dx != nullptr || FState.CharExtra != 0))
            PlaceGlyphs(line, chars, advances, FScale);
        const COLORREF color = FState.TextColor;
        cairo_set_source_rgb(FCairo, GetRValue(color) / 255.0, GetGValue(color) / 255.0, GetBValue(color) / 255.0);
        cairo_move_to(FCairo, startX * FScale, baselineY * FScale);
        pango_cairo_show_layout_line(FCairo, line);
    }
    cairo_restore(FCairo);
    FSurface.EndDrawing();
    if (cairo_status(FCairo) != CAIRO_STATUS_SUCCESS) {
        // A Cairo context stays broken after an error: start a fresh one.
        cairo_destroy(FCairo);
        FCairo = cairo_create(FSurface.BeginDrawing());
        FSurface.EndDrawing();
    }
}

void TSurfaceDC::AddTextToPath(TPoint reference, double startX, double baselineY, const std::string& text,
    const std::vector<TDecodedChar>& chars, const std::vector<int>* advances)
{
    TFontMap& map = TFontMap::Instance();
    const TRealizedFont& logical = LogicalFont();
    // An unbounded surface: glyphs are outlined wherever they lie, not only
    // those near a small surface's area.
    cairo_surface_t* scratch = cairo_recording_surface_create(CAIRO_CONTENT_ALPHA, nullptr);
    cairo_t* cr = cairo_create(scratch);
    if (FPangoContext == nullptr) {
        FPangoContext = map.CreateContext();
        FLayout = pango_layout_new(FPangoContext);
    }
    cairo_translate(cr, reference.X, reference.Y);
    cairo_rotate(cr, -(FState.Font.Escapement / 10.0) * std::numbers::pi / 180.0);
    pango_cairo_update_context(cr, FPangoContext);
    map.PrepareLayout(FLayout, logical, text, FState.Font.Underline, FState.Font.StrikeOut);
    FLayoutFont = nullptr;
    PangoLayoutLine* line = pango_layout_get_line_readonly(FLayout, 0);
    if (line != nullptr) {
        if (advances != nullptr)
            PlaceGlyphs(line, chars, *advances, 1);
        cairo_move_to(cr, startX, baselineY);
        pango_cairo_layout_line_path(cr, line);
    }
    // The path is kept in the points of the placed, turned text: copied
    // through the identity, not the placement it was built under.
    cairo_identity_matrix(cr);
    cairo_path_t* path = cairo_copy_path_flat(cr);
    for (int i = 0; i < path->num_data; i += path->data[i].header.length) {
        const cairo_path_data_t& d = path->data[i];
        switch (d.header.type) {
        case CAIRO_PATH_MOVE_TO: FPath.push_back({{{path->data[i + 1].point.x, path->data[i + 1].point.y}}, false}); break;
        case CAIRO_PATH_LINE_TO:
            if (!FPath.empty())
                FPath.back().Points.push_back({path->data[i + 1].point.x, path->data[i + 1].point.y});
            break;
        case CAIRO_PATH_CLOSE_PATH:
            if (!FPath.empty())
                FPath.back().Closed = true;
            break;
        default: break;
        }
    }
    cairo_path_destroy(path);
    cairo_destroy(cr);
    cairo_surface_destroy(scratch);
}

} // namespace plat
