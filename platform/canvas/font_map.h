// The canvas's own fonts: a fontconfig configuration read from the project's
// fonts.conf (DejaVu only, deaf to desktop settings), a Pango font map on it
// at 96 dpi with fixed rendering options, realised fonts with their metrics
// and advance widths, the family list, and fonts added from memory.
#pragma once

#include "platform/canvas/gdi_objects.h"

#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

typedef struct _PangoContext PangoContext;
typedef struct _PangoFontDescription PangoFontDescription;
typedef struct _PangoFontMap PangoFontMap;
typedef struct _PangoLayout PangoLayout;
typedef struct _FcConfig FcConfig;

namespace plat {

// A logical font realised at one device scale. Metrics are in device pixels.
class TRealizedFont {
public:
    TRealizedFont(PangoFontDescription* description, const TTextMetric& metric);
    ~TRealizedFont();
    TRealizedFont(const TRealizedFont&) = delete;
    TRealizedFont& operator=(const TRealizedFont&) = delete;

    PangoFontDescription* Description() const { return FDescription; }
    const TTextMetric& Metric() const { return FMetric; }
    // Advance of one character, or -1 when it is not known yet.
    int CachedAdvance(char32_t c) const;
    void CacheAdvance(char32_t c, int advance) const;
    // Completes the metric once the advances can be measured.
    void SetCharacterWidths(int average, std::uint8_t pitchAndFamily);

private:
    PangoFontDescription* FDescription;
    TTextMetric FMetric;
    // Measured advances, filled as characters are met (under the map's lock).
    mutable std::vector<int> FAsciiAdvances; // first 0x3000 code points; -1 unknown
    mutable std::unordered_map<char32_t, int> FOtherAdvances;
};

struct TFontFamily {
    std::string Name;
    bool FixedPitch = false;
    bool TrueType = true;
};

class TFontMap {
public:
    // The one font map, loaded on first use. Raises EOutOfResources when the
    // configuration or the fonts cannot be loaded.
    static TFontMap& Instance();
    ~TFontMap();

    // Path of the configuration in use: $QEL_FONTS_CONF, else fonts.conf
    // beside the program, else the source tree's.
    const std::string& ConfigPath() const { return FConfigPath; }

    // A Pango context with the fixed options; the caller unrefs it.
    PangoContext* CreateContext();
    // The font for a logical font at a device scale, shared with the map's
    // cache. The cache keeps at most MaxCachedFonts fonts that nobody else
    // holds, so that fonts of ever new names or sizes do not pile up;
    // Generation changes when fonts are added or removed, after which
    // holders realise their fonts again.
    std::shared_ptr<const TRealizedFont> Realize(const TLogFont& font, int scale);
    static constexpr std::size_t MaxCachedFonts = 256;
    unsigned Generation() const { return FGeneration; }
    // Width of the text in device pixels at the font's own advances (extra
    // is added after every character).
    int TextWidth(const TRealizedFont& font, std::string_view text, int extra);
    // The advance of every character (plus extra) in logical order, when each
    // keeps its own advance in the line; false for text that must be shaped
    // as a whole (combining marks, complex scripts).
    bool CharacterAdvances(const TRealizedFont& font, std::string_view text, int extra, std::vector<int>& advances);
    // Text layout with the canvas's attributes (no kerning or ligatures).
    void PrepareLayout(PangoLayout* layout, const TRealizedFont& font, std::string_view text, bool underline,
        bool strikeOut);
    // The font and attributes alone, for a layout that then takes many texts.
    void PrepareLayoutFont(PangoLayout* layout, const TRealizedFont& font, bool underline, bool strikeOut);

    // Families: the real ones (sorted), then the configured alias names with
    // the pitch of the family they stand for.
    std::vector<TFontFamily> Families();
    // Registers a TrueType or OpenType font from memory for this process;
    // answers a handle (0 when the bytes are no font) and the face count.
    int AddFontMemResource(const void* data, std::size_t size, int* fontCount);
    bool RemoveFontMemResource(int handle);

private:
    TFontMap();
    void LoadConfiguration();
    void ResetFonts();
    int MeasureAdvance(const TRealizedFont& font, char32_t c);
    std::unique_ptr<TRealizedFont> Create(const TLogFont& font, int scale);

    std::recursive_mutex FLock;
    std::string FConfigPath;
    FcConfig* FConfig = nullptr;
    PangoFontMap* FPangoMap = nullptr;
    PangoContext* FMeasureContext = nullptr;
    PangoLayout* FMeasureLayout = nullptr;
    std::unordered_map<std::string, std::shared_ptr<TRealizedFont>> FFonts;
    unsigned FGeneration = 0;
    std::vector<std::pair<std::string, std::string>> FAliases; // alias, target family
    std::string FMemoryFontDir;
    std::vector<std::string> FMemoryFonts; // file per handle; empty when removed
};

// The customary font calls over the canvas's font map.
int AddFontMemResourceEx(const void* data, std::size_t size, int* fontCount);
bool RemoveFontMemResourceEx(int handle);
// Every family the canvas can draw with, real families first (fixed-pitch
// ones leading), then the configured alias names.
std::vector<TFontFamily> EnumFontFamilies();
// Loads the font configuration; the program calls it at start-up, before any
// window or bitmap draws text.
void LoadCanvasFonts();

} // namespace plat
