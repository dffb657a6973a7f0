// Text of the drawing chart canvas: plain, rotated and projected labels,
// all written by one painter that adds the canvas font's shadow and emboss,
// outline pen, gradient and picture fills (through the glyph path), and the
// font sizing and quality rules of the device fonts it creates.
#pragma once

#include "widgets/chart/chart_font.h"
#include "widgets/chart/chart_points.h"

#include "platform/canvas/gdi_objects.h"

#include <cstdint>
#include <string>

namespace plat {
class TDeviceContext;
} // namespace plat

namespace qel {

class TChtCanvas;
class TChtShadow;

// What the drawing canvas holds for its text.
struct TChtTextSettings {
    TFontQuality FontQuality = fqDefault;   // for fonts that ask for the default
    double CharacterAngle = 0;              // extra turn of each glyph, degrees
    bool UseTextCenter = false;             // rotated labels turn about TextCenter
    TPoint TextCenter;
};

// The quality byte a font of FontQuality gets on a canvas whose own quality
// is CanvasQuality: 4 antialiased, 3 not, 0 the platform's default, 5 ClearType.
std::uint8_t FontQualityByte(TFontQuality FontQuality, TFontQuality CanvasQuality, std::uint8_t Current);

class TChtTextPainter {
public:
    TChtTextPainter(TChtCanvas& ACanvas, const TChtTextSettings& ASettings) : Canvas(ACanvas), Settings(ASettings) {}

    // Text at (X, Y) with the canvas font at its point size.
    void TextOut(int X, int Y, const std::string& Text);
    // At a projected point: HTML-like text, or the painter with the font the
    // device holds.
    void TextOut3D(const TPoint& Projected, const std::string& Text, bool AllowHtml);
    // Text turned by RotDegree counter-clockwise (angles above 360 wrap).
    void RotateLabel(int X, int Y, const std::string& St, double RotDegree);

    // Selects the canvas font at Size points into DC; the font it replaced.
    plat::TLogFont CreateSizedFont(plat::TDeviceContext& DC, int Size);
    // The canvas font at Size points with the quality rules applied.
    plat::TLogFont SizedFont(int Size) const;
    void ApplyFontQuality(plat::TLogFont& LogFont) const;

    // Writes Text at (X, Y) of DC with the canvas font's effects.
    void Paint(plat::TDeviceContext& DC, int X, int Y, const std::string& Text);

private:
    void ShadowPass(plat::TDeviceContext*& DC, const TChtShadow& Shadow, int Sign, int& X, int& Y,
        const std::string& Text);
    void BlurShadow(const TChtShadow& Shadow, int SX, int SY, const std::string& Text);
    TRect TextRect(int X, int Y, const std::string& Text);
    int HorizontalAlign() const;
    void RecordGlyphPath(plat::TDeviceContext& DC, int X, int Y, const std::string& Text);

    TChtCanvas& Canvas;
    const TChtTextSettings& Settings;
};

} // namespace qel
