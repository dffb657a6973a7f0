// Corner styles and the outline path of a rectangle with styled corners.
#include "widgets/chart/chart_corners.h"

#include "widgets/chart/chart_canvas.h"
#include "widgets/chart/chart_path.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace qel {

PLAT_DEFINE_CLASS(TChtCorner, plat::TPersistent,
    plat::Published("Style", &TChtCorner::Style, &TChtCorner::SetStyle, {"cosRound", "cosBevel", "cosNone"})
        .Default(cosRound))

PLAT_DEFINE_CLASS(TChtCorners, plat::TPersistent,
    plat::Published("LeftBottom", &TChtCorners::LeftBottom, &TChtCorners::SetLeftBottom),
    plat::Published("LeftTop", &TChtCorners::LeftTop, &TChtCorners::SetLeftTop),
    plat::Published("RightBottom", &TChtCorners::RightBottom, &TChtCorners::SetRightBottom),
    plat::Published("RightTop", &TChtCorners::RightTop, &TChtCorners::SetRightTop))

TChtCorner::TChtCorner(plat::TNotifyEvent Changed) : IChanged(std::move(Changed))
{
}

void TChtCorner::SetStyle(TChtCornerStyle Value)
{
    if (Value == FStyle) {
        return;
    }
    FStyle = Value;
    IChanged(this);
}

void TChtCorner::Assign(const plat::TPersistent* Source)
{
    const auto* Other = dynamic_cast<const TChtCorner*>(Source);
    if (Other == nullptr) {
        plat::TPersistent::Assign(Source);
        return;
    }
    FStyle = Other->FStyle;
}

TChtCorners::TChtCorners(plat::TNotifyEvent Changed)
    : FLeftBottom(std::make_unique<TChtCorner>(Changed)),
      FLeftTop(std::make_unique<TChtCorner>(Changed)),
      FRightBottom(std::make_unique<TChtCorner>(Changed)),
      FRightTop(std::make_unique<TChtCorner>(Changed))
{
}

TChtCorners::~TChtCorners() = default;

void TChtCorners::Assign(const plat::TPersistent* Source)
{
    const auto* Other = dynamic_cast<const TChtCorners*>(Source);
    if (Other == nullptr) {
        plat::TPersistent::Assign(Source);
        return;
    }
    FLeftBottom->Assign(Other->FLeftBottom.get());
    FLeftTop->Assign(Other->FLeftTop.get());
    FRightBottom->Assign(Other->FRightBottom.get());
    FRightTop->Assign(Other->FRightTop.get());
}

namespace {

// The size of the rounding ellipse along one side: even, at least 1 and at
// most the side's length (truncating halves).
int CornerSize(int Requested, int SideFrom, int SideTo)
{
    const int Even = std::max(Requested / 2 * 2, 1);
    const std::int64_t Side = std::llabs(std::int64_t{SideTo} - SideFrom);
    return static_cast<int>(std::min<std::int64_t>(Even, Side));
}

// Drawing one corner into the figure: its corner point, the directions
// (+1 or -1) in which the sides run away from it along x and y, and the
// angle of the round corner's first point on its ellipse.
struct TCornerPlace {
    float X;
    float Y;
    float AwayX;
    float AwayY;
    float ArcStart;
};

} // namespace

std::unique_ptr<TChtBasePath> TChtCorners::CreateCornersPath(TChtCanvas& Canvas, const TRect& R, int X, int Y) const
{
    std::unique_ptr<TChtBasePath> Path = Canvas.CreatePath();
    const int CX = CornerSize(X, R.Left, R.Right);
    const int CY = CornerSize(Y, R.Top, R.Bottom);
    const auto HX = static_cast<float>(CX / 2);
    const auto HY = static_cast<float>(CY / 2);
    const auto L = static_cast<float>(R.Left);
    const auto T = static_cast<float>(R.Top);
    const auto Rt = static_cast<float>(R.Right);
    const auto B = static_cast<float>(R.Bottom);

    // Clockwise on the screen: right top, right bottom, left bottom, left
    // top. Each corner is entered along one side and left along the next.
    const TChtCorner* Corners[] = {FRightTop.get(), FRightBottom.get(), FLeftBottom.get(), FLeftTop.get()};
    const TCornerPlace Places[] = {
        {Rt, T, -1, +1, 90}, {Rt, B, -1, -1, 0}, {L, B, +1, -1, 270}, {L, T, +1, +1, 180}};
    // The right top and left bottom corners are entered along a horizontal
    // side and left along a vertical one; the other two the other way.
    const auto EntryPoint = [&](int Index, float Inset) {
        const TCornerPlace& P = Places[Index];
        return Index % 2 == 0 ? TPointFloat{P.X + P.AwayX * Inset, P.Y} : TPointFloat{P.X, P.Y + P.AwayY * Inset};
    };
    const auto ExitPoint = [&](int Index, float Inset) {
        const TCornerPlace& P = Places[Index];
        return Index % 2 == 0 ? TPointFloat{P.X, P.Y + P.AwayY * Inset} : TPointFloat{P.X + P.AwayX * Inset, P.Y};
    };

    const TChtCornerStyle FirstStyle = Corners[0]->Style();
    const float FirstInset = FirstStyle == cosRound ? static_cast<float>(CX) / 2 : FirstStyle == cosBevel ? HX : 0;
    const TPointFloat Start = EntryPoint(0, FirstInset);
    Path->MoveTo(Start.X, Start.Y);
    for (int Index = 0; Index < 4; ++Index) {
        const TCornerPlace& P = Places[Index];
        const float InsetIn = Index % 2 == 0 ? HX : HY;
        const float InsetOut = Index % 2 == 0 ? HY : HX;
        switch (Corners[Index]->Style()) {
        case cosRound: {
            const float BoxLeft = P.AwayX < 0 ? P.X - static_cast<float>(CX) : P.X;
            const float BoxTop = P.AwayY < 0 ? P.Y - static_cast<float>(CY) : P.Y;
            Path->ArcTo(BoxLeft, BoxTop, static_cast<float>(CX), static_cast<float>(CY), P.ArcStart, -90);
            break;
        }
        case cosBevel: {
            if (Index > 0) {
                const TPointFloat In = EntryPoint(Index, InsetIn);
                Path->LineTo(In.X, In.Y);
            }
            const TPointFloat Out = ExitPoint(Index, InsetOut);
            Path->LineTo(Out.X, Out.Y);
            break;
        }
        case cosNone:
            if (Index > 0) {
                Path->LineTo(P.X, P.Y);
            }
            break;
        }
    }
    Path->Close();
    return Path;
}

} // namespace qel
