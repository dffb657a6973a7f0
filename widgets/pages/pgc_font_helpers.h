// Font helpers of the component library's controls: a rotated copy of a
// font for sideways tab captions and the top margin of a one-line field.
#pragma once

#include "platform/canvas/gdi_objects.h"

namespace plat {
class TFont;
}

namespace qel {

enum class TTextFieldBorder { None, Single };

// A logical font like Font (height, bold weight 700 or 400, italic,
// underline, strike-out, pitch, face name cut to 31 UTF-16 units) in the
// default character set, its baseline turned by Angle degrees.
plat::TLogFont CreateRotatedFontHandle(const plat::TFont& Font, int Angle);
inline plat::TLogFont CreateRotatedFont(const plat::TFont& Font, int Angle)
{
    return CreateRotatedFontHandle(Font, Angle);
}

// The font the library measures as the screen's default ("system") font.
plat::TLogFont LibrarySystemFont();

// The top margin in pixels of the text in a one-line field Height pixels
// high, for the smaller of the system font's and the field font's text
// heights. May be negative when the text does not fit.
int TopMarginForTextHeight(int TextHeight, TTextFieldBorder Border, int Height, bool Ctl3D);
// The same, measuring both fonts on the canvas.
int GetTopTextMargin(const plat::TFont& Font, TTextFieldBorder Border, int Height, bool Ctl3D);

} // namespace qel
