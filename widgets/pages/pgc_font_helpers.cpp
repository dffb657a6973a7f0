// Rotated fonts and the top text margin of one-line fields, measured on the
// canvas's own fonts.
#include "widgets/pages/pgc_font_helpers.h"

#include "platform/canvas/graphics_objects.h"
#include "platform/canvas/pixel_surface.h"
#include "platform/canvas/surface_dc.h"
#include "platform/text_encoding.h"

#include <algorithm>

namespace qel {
namespace {

constexpr std::size_t FaceNameUnits = 31;

std::string CutFaceName(const std::string& name)
{
    std::u16string units = plat::Utf8ToUtf16(name);
    if (units.size() > FaceNameUnits) {
        units.resize(FaceNameUnits);
        if (units.back() >= 0xD800 && units.back() <= 0xDBFF) {
            units.pop_back(); // do not keep half of a pair
        }
    }
    return plat::Utf16ToUtf8(units);
}

// The cell height of a font as the canvas realises it.
int TextHeightOf(const plat::TLogFont& font)
{
    plat::TPixelSurface surface(1, 1, 24);
    plat::TSurfaceDC dc(surface);
    dc.SelectFont(font);
    return dc.GetTextMetrics().Height;
}

} // namespace

plat::TLogFont CreateRotatedFontHandle(const plat::TFont& Font, int Angle)
{
    plat::TLogFont font;
    font.Height = Font.Height();
    font.Width = 0;
    font.Escapement = Angle * 10;
    font.Orientation = 0;
    font.Weight = Font.Style().Contains(plat::fsBold) ? plat::FW_BOLD : plat::FW_NORMAL;
    font.Italic = Font.Style().Contains(plat::fsItalic);
    font.Underline = Font.Style().Contains(plat::fsUnderline);
    font.StrikeOut = Font.Style().Contains(plat::fsStrikeOut);
    font.CharSet = plat::DEFAULT_CHARSET;
    font.Quality = 0;
    font.PitchAndFamily = Font.Pitch() == plat::fpVariable ? plat::VARIABLE_PITCH
        : Font.Pitch() == plat::fpFixed                    ? plat::FIXED_PITCH
                                                           : plat::DEFAULT_PITCH;
    font.FaceName = CutFaceName(Font.Name());
    return font;
}

plat::TLogFont LibrarySystemFont()
{
    plat::TLogFont font;
    font.FaceName = "DejaVu Sans";
    font.Height = 16; // cell height, as the screen's default font has
    return font;
}

int TopMarginForTextHeight(int TextHeight, TTextFieldBorder Border, int Height, bool Ctl3D)
{
    const int lowBit = (Height - TextHeight) & 1;
    if (Border == TTextFieldBorder::None) {
        return TextHeight >= Height - 2 ? (Height - TextHeight - 2) / 2 - lowBit : 0;
    }
    if (TextHeight < Height - 4) {
        return 1;
    }
    return (Height - TextHeight - 4) / 2 - (Ctl3D ? 1 : lowBit);
}

int GetTopTextMargin(const plat::TFont& Font, TTextFieldBorder Border, int Height, bool Ctl3D)
{
    const int textHeight = std::min(TextHeightOf(LibrarySystemFont()), TextHeightOf(Font.Handle()));
    return TopMarginForTextHeight(textHeight, Border, Height, Ctl3D);
}

} // namespace qel
