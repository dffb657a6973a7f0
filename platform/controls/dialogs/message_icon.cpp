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
    // Each picture: a disc (or the warning's triangle), its colour, and
    // the glyph in it with the glyph's colour and height.
    struct TPicture {
        TColor Fill;
        const char* Glyph;
        TColor GlyphColor;
        int GlyphHeight;
    };
    TPicture picture{QuestionBlue, "?", clWhite, -20};
    switch (FType) {
    case mtWarning:
        picture = {WarningYellow, "!", clBlack, -20};
        break;
    case mtError:
        picture = {ErrorRed, "\u00D7", clWhite, -26};
        break;
    case mtInformation:
        picture = {QuestionBlue, "i", clWhite, -20};
        break;
    case mtConfirmation:
        break;
    case mtCustom:
        return;
    }
    TCanvas& canvas = *Canvas();
    canvas.Pen()->SetColor(clBlack);
    canvas.Pen()->SetWidth(1);
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(picture.Fill);
    TRect glyph = Rect(0, 0, Size, Size);
    if (FType == mtWarning) {
        const TPoint triangle[] = {Point(Size / 2, 1), Point(Size - 1, Size - 3), Point(0, Size - 3)};
        canvas.Polygon(triangle, 3);
        glyph = Rect(0, 6, Size, Size - 2);
    } else {
        canvas.Ellipse(1, 1, Size - 1, Size - 1);
    }
    canvas.Font()->SetName("DejaVu Sans");
    canvas.Font()->SetHeight(picture.GlyphHeight);
    canvas.Font()->SetStyle({fsBold});
    canvas.Font()->SetColor(picture.GlyphColor);
    canvas.Brush()->SetStyle(bsClear);
    canvas.RequireState();
    if (canvas.Handle() != nullptr) {
        canvas.Handle()->DrawText(picture.Glyph, glyph, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
}

} // namespace plat
