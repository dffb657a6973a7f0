// The message box pictures, drawn with the canvas's shapes and a bold glyph.
#include "platform/controls/dialogs/message_icon.h"

#include "platform/canvas/gdi_constants.h"

namespace plat {

PLAT_DEFINE_CLASS(TMessageIcon, TGraphicControl)

namespace {

constexpr TColor WarningYellow = 0x00D7FF;   // TColor holds blue in its high byte
constexpr TColor ErrorRed = 0x2020D0;
constexpr TColor QuestionBlue = 0xC06020;

} // namespace

TMessageIcon::TMessageIcon(TComponent* owner, TMsgDlgType type) : TGraphicControl(owner), FType(type)
{
    FWidth = Size;
    FHeight = Size;
}

void TMessageIcon::Paint()
{
    if (FType == mtCustom) {
        return;
    }
    TCanvas& canvas = *Canvas();
    canvas.Pen()->SetColor(clBlack);
    canvas.Pen()->SetWidth(1);
    canvas.Brush()->SetStyle(bsSolid);
    const char* glyph = "!";
    TColor glyphColor = clBlack;
    switch (FType) {
    case mtWarning: {
        canvas.Brush()->SetColor(WarningYellow);
        const TPoint triangle[] = {Point(Size / 2, 1), Point(Size - 1, Size - 3), Point(0, Size - 3)};
        canvas.Polygon(triangle, 3);
        break;
    }
    case mtError:
        canvas.Brush()->SetColor(ErrorRed);
        canvas.Ellipse(1, 1, Size - 1, Size - 1);
        glyph = "\u00D7";
        glyphColor = clWhite;
        break;
    case mtInformation:
        canvas.Brush()->SetColor(QuestionBlue);
        canvas.Ellipse(1, 1, Size - 1, Size - 1);
        glyph = "i";
        glyphColor = clWhite;
        break;
    default:
        canvas.Brush()->SetColor(QuestionBlue);
        canvas.Ellipse(1, 1, Size - 1, Size - 1);
        glyph = "?";
        glyphColor = clWhite;
        break;
    }
    canvas.Font()->SetName("DejaVu Sans");
    canvas.Font()->SetHeight(FType == mtError ? -26 : -20);
    canvas.Font()->SetStyle({fsBold});
    canvas.Font()->SetColor(glyphColor);
    canvas.Brush()->SetStyle(bsClear);
    canvas.RequireState();
    if (canvas.Handle() != nullptr) {
        TRect area = Rect(0, FType == mtWarning ? 6 : 0, Size, Size - (FType == mtWarning ? 2 : 0));
        canvas.Handle()->DrawText(glyph, area, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
}

} // namespace plat
