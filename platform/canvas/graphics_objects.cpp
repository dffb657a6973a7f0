// Pens, brushes and fonts.
#include "platform/canvas/graphics_objects.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/graphics_types.h"

#include <algorithm>
#include <array>

namespace plat {

PLAT_DEFINE_CLASS(TGraphicsObject, TPersistent)

PLAT_DEFINE_CLASS(TPen, TGraphicsObject,
    Published("Color", &TPen::Color, &TPen::SetColor).Default(clBlack),
    Published("Mode", &TPen::Mode, &TPen::SetMode,
        {"pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy", "pmMergePenNot", "pmMaskPenNot",
            "pmMergeNotPen", "pmMaskNotPen", "pmMerge", "pmNotMerge", "pmMask", "pmNotMask", "pmXor", "pmNotXor"})
        .Default(pmCopy),
    Published("Style", &TPen::Style, &TPen::SetStyle,
        {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame", "psUserStyle",
            "psAlternate"})
        .Default(psSolid),
    Published("Width", &TPen::Width, &TPen::SetWidth).Default(1))

PLAT_DEFINE_CLASS(TBrush, TGraphicsObject,
    Published("Color", &TBrush::Color, &TBrush::SetColor).Default(clWhite),
    Published("Style", &TBrush::Style, &TBrush::SetStyle,
        {"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal", "bsBDiagonal", "bsCross",
            "bsDiagCross"})
        .Default(bsSolid))

PLAT_DEFINE_CLASS(TFont, TGraphicsObject,
    Published("Charset", &TFont::Charset, &TFont::SetCharset).Default(DEFAULT_CHARSET),
    Published("Color", &TFont::Color, &TFont::SetColor).Default(clWindowText),
    Published("Height", &TFont::Height, &TFont::SetHeight),
    Published("Name", &TFont::Name, &TFont::SetName),
    Published("Orientation", &TFont::Orientation, &TFont::SetOrientation).Default(0),
    Published("Pitch", &TFont::Pitch, &TFont::SetPitch, {"fpDefault", "fpVariable", "fpFixed"}).Default(fpDefault),
    Published("Style", &TFont::Style, &TFont::SetStyle, {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}))

void TGraphicsObject::Changed()
{
    OnChange(this);
}

int PenModeToRop2(TPenMode mode)
{
    static constexpr std::array<int, 16> codes = {R2_BLACK, R2_WHITE, R2_NOP, R2_NOT, R2_COPYPEN, R2_NOTCOPYPEN,
        R2_MERGEPENNOT, R2_MASKPENNOT, R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN, R2_NOTMERGEPEN, R2_MASKPEN,
        R2_NOTMASKPEN, R2_XORPEN, R2_NOTXORPEN};
    const auto index = static_cast<std::size_t>(mode);
    return index < codes.size() ? codes[index] : R2_COPYPEN;
}

// --- TPen ---------------------------------------------------------------------

void TPen::SetColor(TColor value)
{
    if (value == FColor && !FHandle)
        return;
    FColor = value;
    FHandle.reset();
    Changed();
}

void TPen::SetWidth(int value)
{
    value = std::max(value, 0);
    if (value == FWidth && !FHandle)
        return;
    FWidth = value;
    FHandle.reset();
    Changed();
}

void TPen::SetStyle(TPenStyle value)
{
    if (value == FStyle && !FHandle)
        return;
    FStyle = value;
    FHandle.reset();
    Changed();
}

void TPen::SetMode(TPenMode value)
{
    if (value == FMode)
        return;
    FMode = value;
    Changed();
}

TLogPen TPen::Handle() const
{
    if (FHandle)
        return *FHandle;
    const std::uint32_t style = FStyle == psClear ? std::uint32_t{PS_NULL} : static_cast<std::uint32_t>(FStyle);
    return CreatePen(style, FWidth, ToColorRef(FColor));
}

void TPen::SetHandle(const TLogPen& pen)
{
    FHandle = pen;
    FColor = static_cast<TColor>(pen.Color);
    FWidth = pen.Width;
    FStyle = static_cast<TPenStyle>(std::min<std::uint32_t>(pen.Kind(), psAlternate));
    Changed();
}

void TPen::Assign(const TPersistent* source)
{
    const auto* pen = dynamic_cast<const TPen*>(source);
    if (pen == nullptr) {
        TGraphicsObject::Assign(source);
        return;
    }
    FColor = pen->FColor;
    FWidth = pen->FWidth;
    FStyle = pen->FStyle;
    FMode = pen->FMode;
    FHandle = pen->FHandle;
    Changed();
}

// --- TBrush -------------------------------------------------------------------

void TBrush::SetColor(TColor value)
{
    if (value == FColor)
        return;
    FColor = value;
    if (FStyle == bsClear)
        FStyle = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle value)
{
    if (value == FStyle)
        return;
    FStyle = value;
    if (value == bsClear)
        FBitmap = nullptr;
    Changed();
}

void TBrush::SetBitmap(TBitmap* value)
{
    FBitmap = value;
    FPattern = value != nullptr && !value->Empty() ? CreatePatternBrush(*value->PixelSurface()) : TLogBrush{};
    Changed();
}

TLogBrush TBrush::Handle() const
{
    if (FBitmap != nullptr && FPattern.Style == BS_PATTERN)
        return FPattern;
    switch (FStyle) {
    case bsSolid: return CreateSolidBrush(ToColorRef(FColor));
    case bsClear: return NullBrush();
    default: return CreateHatchBrush(static_cast<int>(FStyle) - bsHorizontal, ToColorRef(FColor));
    }
}

void TBrush::Assign(const TPersistent* source)
{
    const auto* brush = dynamic_cast<const TBrush*>(source);
    if (brush == nullptr) {
        TGraphicsObject::Assign(source);
        return;
    }
    FColor = brush->FColor;
    FStyle = brush->FStyle;
    FBitmap = brush->FBitmap;
    FPattern = brush->FPattern;
    Changed();
}

// --- TFont --------------------------------------------------------------------

void TFont::SetName(const std::string& value)
{
    if (value.empty() || value == FName)
        return;
    FName = value;
    Changed();
}

void TFont::SetHeight(int value)
{
    if (value == FHeight)
        return;
    FHeight = value;
    Changed();
}

int TFont::Size() const
{
    return -MulDiv(FHeight, 72, FPixelsPerInch);
}

void TFont::SetSize(int value)
{
    SetHeight(-MulDiv(value, FPixelsPerInch, 72));
}

void TFont::SetColor(TColor value)
{
    if (value == FColor)
        return;
    FColor = value;
    Changed();
}

void TFont::SetStyle(TFontStyles value)
{
    if (value == FStyle)
        return;
    FStyle = value;
    Changed();
}

void TFont::SetPitch(TFontPitch value)
{
    if (value == FPitch)
        return;
    FPitch = value;
    Changed();
}

void TFont::SetCharset(std::uint8_t value)
{
    if (value == FCharset)
        return;
    FCharset = value;
    Changed();
}

void TFont::SetOrientation(int value)
{
    if (value == FOrientation)
        return;
    FOrientation = value;
    Changed();
}

void TFont::SetPixelsPerInch(int value)
{
    if (value > 0)
        FPixelsPerInch = value;
}

TLogFont TFont::Handle() const
{
    TLogFont font;
    font.Height = FHeight;
    font.Escapement = FOrientation;
    font.Orientation = FOrientation;
    font.Weight = FStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    font.Italic = FStyle.Contains(fsItalic);
    font.Underline = FStyle.Contains(fsUnderline);
    font.StrikeOut = FStyle.Contains(fsStrikeOut);
    font.CharSet = FCharset;
    font.PitchAndFamily = FPitch == fpFixed ? FIXED_PITCH : FPitch == fpVariable ? VARIABLE_PITCH : DEFAULT_PITCH;
    font.FaceName = FName.substr(0, 31);
    return font;
}

void TFont::Assign(const TPersistent* source)
{
    const auto* font = dynamic_cast<const TFont*>(source);
    if (font == nullptr) {
        TGraphicsObject::Assign(source);
        return;
    }
    FName = font->FName;
    FHeight = font->FHeight;
    FColor = font->FColor;
    FStyle = font->FStyle;
    FPitch = font->FPitch;
    FCharset = font->FCharset;
    FOrientation = font->FOrientation;
    Changed();
}

} // namespace plat
