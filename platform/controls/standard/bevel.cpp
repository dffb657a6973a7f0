// TBevel: two-colour lines and frames in the system's shadow and highlight.
#include "platform/controls/standard/bevel.h"

namespace plat {

PLAT_DEFINE_CLASS(TBevel, TGraphicControl,
    Published("Shape", &TBevel::Shape, &TBevel::SetShape,
              {"bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine", "bsSpacer"})
        .Default(bsBox),
    Published("Style", &TBevel::Style, &TBevel::SetStyle, {"bsLowered", "bsRaised"}).Default(bsLowered))

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner)
{
    FControlStyle.Include(csReplicatable);
    FWidth = 50;
    FHeight = 50;
}

void TBevel::SetShape(TBevelShape value)
{
    if (value != FShape) {
        FShape = value;
        Invalidate();
    }
}

void TBevel::SetStyle(TBevelStyle value)
{
    if (value != FStyle) {
        FStyle = value;
        Invalidate();
    }
}

void TBevel::Paint()
{
    TCanvas& canvas = *Canvas();
    const TColor first = FStyle == bsLowered ? clBtnShadow : clBtnHighlight;
    const TColor second = FStyle == bsLowered ? clBtnHighlight : clBtnShadow;
    const int w = Width();
    const int h = Height();
    canvas.Brush()->SetStyle(bsSolid);
    const auto line = [&](TColor color, int left, int top, int right, int bottom) {
        canvas.Brush()->SetColor(color);
        canvas.FillRect(Rect(left, top, right, bottom));
    };
    switch (FShape) {
    case bsBox:
        // Shadow top and left, highlight bottom and right (lowered).
        line(first, 0, 0, w, 1);
        line(first, 0, 0, 1, h);
        line(second, 0, h - 1, w, h);
        line(second, w - 1, 0, w, h);
        break;
    case bsFrame:
        // Two nested frames, one pixel apart.
        canvas.Brush()->SetColor(first);
        canvas.FrameRect(Rect(0, 0, w - 1, h - 1));
        canvas.Brush()->SetColor(second);
        canvas.FrameRect(Rect(1, 1, w, h));
        break;
    case bsTopLine:
        line(first, 0, 0, w, 1);
        line(second, 0, 1, w, 2);
        break;
    case bsBottomLine:
        line(first, 0, h - 2, w, h - 1);
        line(second, 0, h - 1, w, h);
        break;
    case bsLeftLine:
        line(first, 0, 0, 1, h);
        line(second, 1, 0, 2, h);
        break;
    case bsRightLine:
        line(first, w - 2, 0, w - 1, h);
        line(second, w - 1, 0, w, h);
        break;
    case bsSpacer:
        break;
    }
}

} // namespace plat
