// Text of the 3D chart canvas: plain, projected and turned labels, all
// written by the text painter with the canvas font's effects.
#include "widgets/chart/cht_canvas3d.h"

#include "widgets/chart/chart_text_painter.h"

namespace qel {

namespace {

// What the painter needs of the canvas's own text switches.
TChtTextSettings TextSettings(const TChtCanvas3D& Canvas, bool UseTextCenter, const TPoint& TextCenter)
{
    TChtTextSettings Settings;
    Settings.FontQuality = Canvas.FontQuality;
    Settings.CharacterAngle = Canvas.CharacterAngle;
    Settings.UseTextCenter = UseTextCenter;
    Settings.TextCenter = TextCenter;
    return Settings;
}

} // namespace

void TChtCanvas3D::TextOut(int X, int Y, const std::string& Text)
{
    const TChtTextSettings Settings = TextSettings(*this, IUseTextCenter, ITextCenter);
    TChtTextPainter(*this, Settings).TextOut(X, Y, Text);
}

void TChtCanvas3D::TextOut3D(int X, int Y, int Z, const std::string& Text, bool AllowHTML)
{
    Project3D(X, Y, Z);
    const TChtTextSettings Settings = TextSettings(*this, IUseTextCenter, ITextCenter);
    TChtTextPainter(*this, Settings).TextOut3D({X, Y}, Text, AllowHTML);
}

void TChtCanvas3D::RotateLabel(int X, int Y, const std::string& St, double RotDegree, bool AllowHTML)
{
    (void)AllowHTML;
    const TChtTextSettings Settings = TextSettings(*this, IUseTextCenter, ITextCenter);
    TChtTextPainter(*this, Settings).RotateLabel(X, Y, St, RotDegree);
}

void TChtCanvas3D::RotateLabel3D(int X, int Y, int Z, const std::string& St, double RotDegree, bool AllowHTML)
{
    Project3D(X, Y, Z);
    RotateLabel(X, Y, St, RotDegree, AllowHTML);
}

} // namespace qel
