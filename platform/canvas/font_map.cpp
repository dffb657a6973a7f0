// Fonts through fontconfig and Pango, configured once from fonts.conf.
#include "platform/canvas/font_map.h"

#include "platform/canvas/graphics_errors.h"
#include "platform/canvas/graphics_types.h"
#include "platform/canvas/utf8_text.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#ifndef QEL_CANVAS_FONTS_CONF
#define QEL_CANVAS_FONTS_CONF "fonts.conf"
#endif

namespace plat {

namespace {

constexpr char32_t CachedRange = 0x3000;
constexpr const char* DefaultFamily = "DejaVu Sans";
constexpr int DefaultEm = 12;
constexpr int MaxEm = 2000;
constexpr const char* FontFeatures = "kern 0, liga 0, clig 0, dlig 0, calt 0";

std::string ProgramDirectory()
{
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : exe.parent_path().string();
}

std::string FindConfigPath()
{
    if (const char* env = std::getenv("QEL_FONTS_CONF"); env != nullptr && *env != '\0')
        return env;
    const std::string beside = ProgramDirectory() + "/fonts.conf";
    if (std::filesystem::exists(beside))
        return beside;
    return QEL_CANVAS_FONTS_CONF;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The text between the next open and close tags from position at; empty
// when there is none (at then points past the close tag).
std::string NextElementText(const std::string& text, const std::string& tag, std::size_t& at)
{
    const std::string open = "<" + tag + ">";
    const std::string close = "</" + tag + ">";
    const std::size_t start = text.find(open, at);
    if (start == std::string::npos)
        return at = std::string::npos, std::string();
    const std::size_t end = text.find(close, start);
    if (end == std::string::npos)
        return at = std::string::npos, std::string();
    at = end + close.size();
    return text.substr(start + open.size(), end - start - open.size());
}

// The alias families of the configuration and the family each prefers:
// <alias><family>A</family><prefer><family>B</family></prefer></alias>.
std::vector<std::pair<std::string, std::string>> ConfiguredAliases(const std::string& text)
{
    std::vector<std::pair<std::string, std::string>> aliases;
    std::size_t at = 0;
    while ((at = text.find("<alias", at)) != std::string::npos) {
        const std::size_t end = text.find("</alias>", at);
        if (end == std::string::npos)
            break;
        const std::string element = text.substr(at, end - at);
        std::size_t inner = 0;
        std::string alias = NextElementText(element, "family", inner);
        const std::string target = inner == std::string::npos ? std::string() : NextElementText(element, "family", inner);
        if (!alias.empty() && !target.empty())
            aliases.emplace_back(std::move(alias), target);
        at = end;
    }
    return aliases;
}

cairo_font_options_t* FixedFontOptions()
{
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    cairo_font_options_set_subpixel_order(options, CAIRO_SUBPIXEL_ORDER_DEFAULT);
    return options;
}

std::string FontKey(const TLogFont& f, int scale)
{
    std::ostringstream key;
    key << f.Height << '|' << f.Weight << '|' << f.Italic << f.Underline << f.StrikeOut << '|' << scale << '|'
        << f.FaceName;
    return key.str();
}

bool MeasuresOneByOne(char32_t c)
{
    // Scripts whose characters keep their own advance in any neighbourhood;
    // everything else is measured as a whole line.
    if (c < 0x20)
        return false;
    if (c < 0x0300)
        return true;
    if (c >= 0x0370 && c < 0x0530)
        return true;
    if ((c >= 0x2010 && c < 0x2028) || (c >= 0x2030 && c < 0x205F))
        return true;
    return (c >= 0x20A0 && c < 0x20C0) || (c >= 0x2100 && c < 0x2300) || (c >= 0x2500 && c < 0x25A0);
}

} // namespace

TRealizedFont::TRealizedFont(PangoFontDescription* description, const TTextMetric& metric)
    : FDescription(description), FMetric(metric), FAsciiAdvances(CachedRange, -1)
{
}

TRealizedFont::~TRealizedFont()
{
    pango_font_description_free(FDescription);
}

int TRealizedFont::CachedAdvance(char32_t c) const
{
    if (c < CachedRange)
        return FAsciiAdvances[c];
    const auto found = FOtherAdvances.find(c);
    return found == FOtherAdvances.end() ? -1 : found->second;
}

void TRealizedFont::SetCharacterWidths(int average, std::uint8_t pitchAndFamily)
{
    FMetric.AveCharWidth = average;
    FMetric.PitchAndFamily = pitchAndFamily;
}

void TRealizedFont::CacheAdvance(char32_t c, int advance) const
{
    if (c < CachedRange)
        FAsciiAdvances[c] = advance;
    else
        FOtherAdvances[c] = advance;
}

TFontMap& TFontMap::Instance()
{
    static TFontMap map;
    return map;
}

TFontMap::TFontMap()
{
    LoadConfiguration();
}

TFontMap::~TFontMap()
{
    FFonts.clear();
    if (FMeasureLayout != nullptr)
        g_object_unref(FMeasureLayout);
    if (FMeasureContext != nullptr)
        g_object_unref(FMeasureContext);
    if (FPangoMap != nullptr)
        g_object_unref(FPangoMap);
    if (!FMemoryFontDir.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(FMemoryFontDir, ignored);
    }
}

void TFontMap::LoadConfiguration()
{
    FConfigPath = FindConfigPath();
    FConfig = FcConfigCreate();
    if (FConfig == nullptr
        || !FcConfigParseAndLoad(FConfig, reinterpret_cast<const FcChar8*>(FConfigPath.c_str()), FcTrue)
        || !FcConfigBuildFonts(FConfig))
        throw EOutOfResources("Cannot load the font configuration " + FConfigPath);
    FcFontSet* fonts = FcConfigGetFonts(FConfig, FcSetSystem);
    if (fonts == nullptr || fonts->nfont == 0)
        throw EOutOfResources("The font configuration " + FConfigPath + " finds no font");
    // Our configuration becomes the process's, so that no lookup reaches the
    // desktop's settings; the map keeps its own reference.
    FcConfigSetCurrent(FConfig);

    FAliases = ConfiguredAliases(ReadFile(FConfigPath));

    FPangoMap = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
    if (FPangoMap == nullptr)
        throw EOutOfResources("Cannot create the font map");
    pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(FPangoMap), FConfig);
    pango_cairo_font_map_set_resolution(PANGO_CAIRO_FONT_MAP(FPangoMap), 96.0);
    FMeasureContext = CreateContext();
    FMeasureLayout = pango_layout_new(FMeasureContext);
}

PangoContext* TFontMap::CreateContext()
{
    PangoContext* context = pango_font_map_create_context(FPangoMap);
    cairo_font_options_t* options = FixedFontOptions();
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
    pango_cairo_context_set_resolution(context, 96.0);
    pango_context_set_round_glyph_positions(context, TRUE);
    return context;
}

void TFontMap::PrepareLayout(PangoLayout* layout, const TRealizedFont& font, std::string_view text, bool underline,
    bool strikeOut)
{
    PrepareLayoutFont(layout, font, underline, strikeOut);
    pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
}

void TFontMap::PrepareLayoutFont(PangoLayout* layout, const TRealizedFont& font, bool underline, bool strikeOut)
{
    pango_layout_set_font_description(layout, font.Description());
    PangoAttrList* attributes = pango_attr_list_new();
    pango_attr_list_insert(attributes, pango_attr_font_features_new(FontFeatures));
    if (underline)
        pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    if (strikeOut)
        pango_attr_list_insert(attributes, pango_attr_strikethrough_new(TRUE));
    pango_layout_set_attributes(layout, attributes);
    pango_attr_list_unref(attributes);
    pango_layout_set_single_paragraph_mode(layout, TRUE);
}

std::unique_ptr<TRealizedFont> TFontMap::Create(const TLogFont& font, int scale)
{
    PangoFontDescription* description = pango_font_description_new();
    pango_font_description_set_family(description, font.FaceName.empty() ? DefaultFamily : font.FaceName.c_str());
    pango_font_description_set_weight(description,
        static_cast<PangoWeight>(font.Weight <= 0 ? FW_NORMAL : std::clamp(font.Weight, 100, 1000)));
    pango_font_description_set_style(description, font.Italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);

    auto extentsAt = [&](int emPixels) {
        pango_font_description_set_absolute_size(description, static_cast<double>(emPixels) * PANGO_SCALE);
        PangoFont* loaded = pango_context_load_font(FMeasureContext, description);
        cairo_font_extents_t extents{};
        if (loaded != nullptr) {
            cairo_scaled_font_extents(pango_cairo_font_get_scaled_font(PANGO_CAIRO_FONT(loaded)), &extents);
            g_object_unref(loaded);
        }
        return extents;
    };

    int em = DefaultEm;
    if (font.Height < 0) {
        em = static_cast<int>(std::min<std::int64_t>(-std::int64_t{font.Height}, MaxEm));
    } else if (font.Height > 0) {
        const cairo_font_extents_t reference = extentsAt(1000);
        const double cell = reference.ascent + reference.descent;
        em = cell > 0 ? static_cast<int>(std::lround(std::min<double>(font.Height, MaxEm) * 1000 / cell)) : DefaultEm;
    }
    em = std::clamp(em, 1, MaxEm);
    // A cell height is a limit: the em shrinks until the hinted cell fits.
    auto cellAt = [&](int emPixels) {
        const cairo_font_extents_t e = extentsAt(emPixels);
        return std::lround(e.ascent) + std::lround(e.descent);
    };
    while (font.Height > 0 && em > 1 && cellAt(em) > std::min(font.Height, MaxEm))
        --em;
    const int deviceEm = em * scale;
    const cairo_font_extents_t extents = extentsAt(deviceEm);

    TTextMetric metric;
    metric.Ascent = static_cast<int>(std::lround(extents.ascent));
    metric.Descent = static_cast<int>(std::lround(extents.descent));
    metric.Height = metric.Ascent + metric.Descent;
    metric.InternalLeading = std::max(0, metric.Height - deviceEm);
    metric.ExternalLeading = std::max(0, static_cast<int>(std::lround(extents.height)) - metric.Height);
    metric.MaxCharWidth = static_cast<int>(std::ceil(extents.max_x_advance));
    metric.Weight = font.Weight <= 0 ? FW_NORMAL : font.Weight;
    metric.Italic = font.Italic;
    metric.Underlined = font.Underline;
    metric.StruckOut = font.StrikeOut;
    metric.CharSet = font.CharSet;

    auto realized = std::make_unique<TRealizedFont>(description, metric);
    const int narrow = MeasureAdvance(*realized, U'i');
    const int wide = MeasureAdvance(*realized, U'W');
    const bool fixedPitch = narrow == wide;
    realized->SetCharacterWidths(MeasureAdvance(*realized, U'x'),
        static_cast<std::uint8_t>(TMPF_TRUETYPE | TMPF_VECTOR | (fixedPitch ? 0 : TMPF_FIXED_PITCH)
            | (fixedPitch ? FF_MODERN : FF_SWISS)));
    return realized;
}

std::shared_ptr<const TRealizedFont> TFontMap::Realize(const TLogFont& font, int scale)
{
    std::lock_guard guard(FLock);
    const std::string key = FontKey(font, scale);
    auto found = FFonts.find(key);
    if (found != FFonts.end())
        return found->second;
    if (FFonts.size() >= MaxCachedFonts)
        std::erase_if(FFonts, [](const auto& entry) { return entry.second.use_count() == 1; });
    return FFonts.emplace(key, Create(font, scale)).first->second;
}

int TFontMap::MeasureAdvance(const TRealizedFont& font, char32_t c)
{
    const int cached = font.CachedAdvance(c);
    if (cached >= 0)
        return cached;
    const std::string text = EncodeUtf8(c);
    PrepareLayout(FMeasureLayout, font, text, false, false);
    PangoRectangle logical;
    pango_layout_get_extents(FMeasureLayout, nullptr, &logical);
    const int advance = PANGO_PIXELS(logical.width);
    font.CacheAdvance(c, advance);
    return advance;
}

int TFontMap::TextWidth(const TRealizedFont& font, std::string_view text, int extra)
{
    std::lock_guard guard(FLock);
    const std::vector<TDecodedChar> chars = DecodeUtf8(text);
    std::int64_t width = 0;
    bool simple = true;
    for (const TDecodedChar& c : chars) {
        if (!MeasuresOneByOne(c.Code)) {
            simple = false;
            break;
        }
        width += MeasureAdvance(font, c.Code);
    }
    if (!simple) {
        const std::string repaired = RepairUtf8(text);
        PrepareLayout(FMeasureLayout, font, repaired, false, false);
        PangoRectangle logical;
        pango_layout_get_extents(FMeasureLayout, nullptr, &logical);
        width = PANGO_PIXELS(logical.width);
    }
    return SaturateInt(width + std::int64_t{extra} * static_cast<std::int64_t>(chars.size()));
}

bool TFontMap::CharacterAdvances(const TRealizedFont& font, std::string_view text, int extra,
    std::vector<int>& advances)
{
    std::lock_guard guard(FLock);
    advances.clear();
    for (const TDecodedChar& c : DecodeUtf8(text)) {
        if (!MeasuresOneByOne(c.Code))
            return false;
        advances.push_back(MeasureAdvance(font, c.Code) + extra);
    }
    return true;
}

std::vector<TFontFamily> TFontMap::Families()
{
    std::lock_guard guard(FLock);
    PangoFontFamily** families = nullptr;
    int count = 0;
    pango_font_map_list_families(FPangoMap, &families, &count);
    std::vector<TFontFamily> result;
    for (int i = 0; i < count; ++i)
        result.push_back({pango_font_family_get_name(families[i]), pango_font_family_is_monospace(families[i]) != 0});
    g_free(families);
    std::sort(result.begin(), result.end(), [](const TFontFamily& a, const TFontFamily& b) {
        return a.FixedPitch != b.FixedPitch ? a.FixedPitch : a.Name < b.Name;
    });
    std::vector<TFontFamily> aliases;
    for (const auto& entry : FAliases) {
        const std::string& target = entry.second;
        const auto real = std::find_if(result.begin(), result.end(), [&](const TFontFamily& f) { return f.Name == target; });
        if (real != result.end())
            aliases.push_back({entry.first, real->FixedPitch});
    }
    result.insert(result.end(), aliases.begin(), aliases.end());
    return result;
}

void TFontMap::ResetFonts()
{
    FFonts.clear();   // holders keep theirs until they realise again
    ++FGeneration;
    pango_fc_font_map_config_changed(PANGO_FC_FONT_MAP(FPangoMap));
}

int TFontMap::AddFontMemResource(const void* data, std::size_t size, int* fontCount)
{
    std::lock_guard guard(FLock);
    if (fontCount != nullptr)
        *fontCount = 0;
    if (data == nullptr || size < 12)
        return 0;
    if (FMemoryFontDir.empty()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "qel-fonts-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            return 0;
        FMemoryFontDir = pattern;
    }
    const std::string path = FMemoryFontDir + "/font" + std::to_string(FMemoryFonts.size() + 1) + ".ttf";
    {
        std::ofstream out(path, std::ios::binary);
        out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
        if (!out)
            return 0;
    }
    FcFontSet* before = FcConfigGetFonts(FConfig, FcSetApplication);
    const int countBefore = before == nullptr ? 0 : before->nfont;
    if (!FcConfigAppFontAddFile(FConfig, reinterpret_cast<const FcChar8*>(path.c_str()))) {
        std::filesystem::remove(path);
        return 0;
    }
    FcFontSet* after = FcConfigGetFonts(FConfig, FcSetApplication);
    const int added = (after == nullptr ? 0 : after->nfont) - countBefore;
    if (added <= 0) {
        std::filesystem::remove(path);
        return 0;
    }
    FMemoryFonts.push_back(path);
    ResetFonts();
    if (fontCount != nullptr)
        *fontCount = added;
    return static_cast<int>(FMemoryFonts.size());
}

bool TFontMap::RemoveFontMemResource(int handle)
{
    std::lock_guard guard(FLock);
    if (handle <= 0 || handle > static_cast<int>(FMemoryFonts.size()) || FMemoryFonts[handle - 1].empty())
        return false;
    std::filesystem::remove(FMemoryFonts[handle - 1]);
    FMemoryFonts[handle - 1].clear();
    // Fontconfig forgets application fonts only all at once.
    FcConfigAppFontClear(FConfig);
    for (const std::string& path : FMemoryFonts)
        if (!path.empty())
            FcConfigAppFontAddFile(FConfig, reinterpret_cast<const FcChar8*>(path.c_str()));
    ResetFonts();
    return true;
}

int AddFontMemResourceEx(const void* data, std::size_t size, int* fontCount)
{
    return TFontMap::Instance().AddFontMemResource(data, size, fontCount);
}

bool RemoveFontMemResourceEx(int handle)
{
    return TFontMap::Instance().RemoveFontMemResource(handle);
}

std::vector<TFontFamily> EnumFontFamilies()
{
    return TFontMap::Instance().Families();
}

void LoadCanvasFonts()
{
    TFontMap::Instance();
}

} // namespace plat
