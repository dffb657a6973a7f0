// What a device context draws with: pens, brushes and logical fonts as plain
// values (selecting one copies it), and the blend description of AlphaBlend.
#pragma once

#include "platform/canvas/colors.h"
#include "platform/canvas/gdi_constants.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace plat {

class TPixelSurface;

struct TLogPen {
    std::uint32_t Style = PS_SOLID; // style, end cap, join and kind flags
    int Width = 1;                  // 0 and 1: one pixel
    COLORREF Color = 0;
    std::vector<std::uint32_t> UserStyle; // dash and gap lengths of PS_USERSTYLE
    friend bool operator==(const TLogPen&, const TLogPen&) = default;

    std::uint32_t Kind() const { return Style & PS_STYLE_MASK; }
    bool IsGeometric() const { return (Style & PS_TYPE_MASK) == PS_GEOMETRIC || Width > 1; }
};

// The pixels of a pattern brush. A monochrome pattern holds 0 or 1 per
// pixel: 0 paints the text colour, 1 the background colour.
struct TBrushPattern {
    int Width = 0;
    int Height = 0;
    bool Monochrome = false;
    std::vector<COLORREF> Pixels; // row by row
    friend bool operator==(const TBrushPattern&, const TBrushPattern&) = default;
};

struct TLogBrush {
    int Style = BS_SOLID;
    COLORREF Color = 0xFFFFFF;
    int Hatch = HS_HORIZONTAL;
    std::shared_ptr<const TBrushPattern> Pattern; // BS_PATTERN only
    // Paints with the device context's brush colour (SetDCBrushColor).
    bool UsesDCColor = false;
    friend bool operator==(const TLogBrush& a, const TLogBrush& b)
    {
        return a.Style == b.Style && a.Color == b.Color && a.Hatch == b.Hatch && a.UsesDCColor == b.UsesDCColor
            && (a.Pattern == b.Pattern || (a.Pattern && b.Pattern && *a.Pattern == *b.Pattern));
    }
};

enum : int { FW_DONTCARE = 0, FW_NORMAL = 400, FW_BOLD = 700 };
enum : std::uint8_t { DEFAULT_CHARSET = 1 };
enum : std::uint8_t { DEFAULT_PITCH = 0, FIXED_PITCH = 1, VARIABLE_PITCH = 2 };
enum : std::uint8_t { FF_DONTCARE = 0x00, FF_ROMAN = 0x10, FF_SWISS = 0x20, FF_MODERN = 0x30 };

struct TLogFont {
    int Height = 0;      // < 0: em height in pixels; > 0: cell height; 0: the default
    int Width = 0;       // average character width; 0: the font's own
    int Escapement = 0;  // tenths of a degree, counter-clockwise
    int Orientation = 0;
    int Weight = FW_NORMAL;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    std::uint8_t CharSet = DEFAULT_CHARSET;
    std::uint8_t Quality = 0;
    std::uint8_t PitchAndFamily = DEFAULT_PITCH;
    std::string FaceName; // empty: the default family
    friend bool operator==(const TLogFont&, const TLogFont&) = default;
};

// Text metrics of the selected font, in pixels.
enum : std::uint8_t { TMPF_FIXED_PITCH = 0x01, TMPF_VECTOR = 0x02, TMPF_TRUETYPE = 0x04 };
struct TTextMetric {
    int Height = 0;
    int Ascent = 0;
    int Descent = 0;
    int InternalLeading = 0;
    int ExternalLeading = 0;
    int AveCharWidth = 0;
    int MaxCharWidth = 0;
    int Weight = 0;
    bool Italic = false;
    bool Underlined = false;
    bool StruckOut = false;
    // TMPF_FIXED_PITCH set means a variable-pitch font (the customary
    // inverted sense); TMPF_TRUETYPE for outline fonts; the family in the
    // high nibble.
    std::uint8_t PitchAndFamily = 0;
    std::uint8_t CharSet = DEFAULT_CHARSET;
    friend bool operator==(const TTextMetric&, const TTextMetric&) = default;
};

struct TBlendFunction {
    std::uint8_t BlendOp = AC_SRC_OVER;
    std::uint8_t BlendFlags = 0;
    std::uint8_t SourceConstantAlpha = 255;
    std::uint8_t AlphaFormat = 0; // AC_SRC_ALPHA: the source's alpha bytes weigh each pixel
};

// The customary constructors.
TLogPen CreatePen(std::uint32_t style, int width, COLORREF color);
// style: kind, end cap, join and PS_GEOMETRIC flags; brush: its colour is the
// pen's; a PS_USERSTYLE pen takes the dash and gap lengths.
TLogPen ExtCreatePen(std::uint32_t style, int width, const TLogBrush& brush, std::uint32_t styleCount,
    const std::uint32_t* styles);
TLogBrush CreateSolidBrush(COLORREF color);
TLogBrush CreateHatchBrush(int hatch, COLORREF color);
// A pattern brush of the surface's pixels (the whole surface is copied).
TLogBrush CreatePatternBrush(TPixelSurface& surface);
// A monochrome 8 x 8 pattern from eight rows of bits, bit 7 of each row leftmost.
TLogBrush CreateMonochromePatternBrush(const std::uint16_t rows[8]);
TLogBrush NullBrush();
TLogPen NullPen();

} // namespace plat
