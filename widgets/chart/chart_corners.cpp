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
// most the side's length.
int CornerSize(int Requested, int SideFrom, int SideTo)
{
    const int Even = std::max(Requested / 2 * 2, 1);
    const std::int64_t Side = std::llabs(std::int64_t{SideTo} - SideFrom);
    return static_cast<int>(std::min<std::int64_t>(Even, Side));
}

} // namespace

// Clockwise round the rectangle from the right top corner, each corner
// round, bevelled or square; a corner after a round one starts at the side
// of that corner's box.
std::unique_ptr<TChtBasePath> TChtCorners::CreateCornersPath(TChtCanvas& Canvas, const TRect& R, int X, int Y) const
{
    std::unique_ptr<TChtBasePath> Path = Canvas.CreatePath();
    const int CornerX = CornerSize(X, R.Left, R.Right);
    const int CornerY = CornerSize(Y, R.Top, R.Bottom);
    const auto CX = static_cast<float>(CornerX);
    const auto CY = static_cast<float>(CornerY);
    const auto HX = static_cast<float>(CornerX / 2);
    const auto HY = static_cast<float>(CornerY / 2);
    const auto L = static_cast<float>(R.Left);
    const auto T = static_cast<float>(R.Top);
    const auto Rt = static_cast<float>(R.Right);
    const auto B = static_cast<float>(R.Bottom);
    const TChtCornerStyle RightTop = FRightTop->Style();
    const TChtCornerStyle RightBottom = FRightBottom->Style();
    const TChtCornerStyle LeftBottom = FLeftBottom->Style();
    const TChtCornerStyle LeftTop = FLeftTop->Style();

    switch (RightTop) {
    case cosRound:
        if (LeftTop == cosNone) {
            Path->MoveTo(L, T);
            Path->LineTo(Rt - CX, T);
        }
        Path->ArcTo(Rt - CX, T, CX, CY, 270, 90);
        break;
    case cosBevel:
        Path->MoveTo(Rt - HX, T);
        Path->LineTo(Rt, T + HY);
        break;
    case cosNone:
        Path->MoveTo(Rt, T);
        break;
    }

    if (RightBottom == cosRound) {
        if (RightTop != cosRound) {
            Path->LineTo(Rt, B - CY);
        }
        Path->ArcTo(Rt - CX, B - CY, CX, CY, 0, 90);
    } else {
        if (RightTop == cosRound) {
            Path->MoveTo(Rt, T + CY);
        }
        if (RightBottom == cosBevel) {
            Path->LineTo(Rt, B - HY);
            Path->LineTo(Rt - HX, B);
        } else {
            Path->LineTo(Rt, B);
        }
    }

    if (LeftBottom == cosRound) {
        if (RightBottom != cosRound) {
            Path->LineTo(L + CX, B);
        }
        Path->ArcTo(L, B - CY, CX, CY, 90, 90);
    } else {
        if (RightBottom == cosRound) {
            Path->MoveTo(Rt - CX, B);
        }
        if (LeftBottom == cosBevel) {
            Path->LineTo(L + HX, B);
            Path->LineTo(L, B - HY);
        } else {
            Path->LineTo(L, B);
        }
    }

    if (LeftTop == cosRound) {
        if (LeftBottom != cosRound) {
            Path->LineTo(L, T + CY);
        }
        Path->ArcTo(L, T, CX, CY, 180, 90);
    } else {
        if (LeftBottom == cosRound) {
            Path->MoveTo(L, B - CY);
        }
        if (LeftTop == cosBevel) {
            Path->LineTo(L, T + HY);
            Path->LineTo(L + HX, T);
        } else if (RightTop != cosRound) {
            Path->LineTo(L, T);
        }
    }
    Path->Close();
    return Path;
}

} // namespace qel
