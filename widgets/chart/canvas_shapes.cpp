// The chart canvas's shapes built on its own primitives: arcs by angle and
// with direction, bevelled 3D frames, arrows, and the convexity test and
// convex hull of point sets.
#include "widgets/chart/chart_canvas.h"

#include "widgets/chart/detached_event.h"
#include "widgets/chart/plane_geometry.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <utility>

namespace qel {

void TChtCanvas::Arc(int Left, int Top, int Right, int Bottom, float StartAngle, float EndAngle)
{
    TPoint First = EllipseAnglePoint(Left, Top, Right, Bottom, StartAngle);
    TPoint Second = EllipseAnglePoint(Left, Top, Right, Bottom, EndAngle);
    if (!(EndAngle > StartAngle)) {
        std::swap(First, Second);
    }
    Arc(Left, Top, Right, Bottom, First.X, First.Y, Second.X, Second.Y);
}

void TChtCanvas::ArcTo(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4, bool ClockWise)
{
    plat::TDeviceContext* DC = DeviceContext();
    if (DC == nullptr) {
        return;
    }
    if (ClockWise) {
        DC->SetArcDirection(plat::AD_CLOCKWISE);
    }
    DC->ArcTo(X1, Y1, X2, Y2, X3, Y3, X4, Y4);
    if (ClockWise) {
        DC->SetArcDirection(plat::AD_COUNTERCLOCKWISE);
    }
}

void TChtCanvas::Frame3D(TRect& Rect, TColor TopColor, TColor BottomColor, int Width)
{
    {
        const TDetachedEvent Detached(FPen->OnChange, plat::TNotifyEvent(this, &TChtCanvas::PenEvent));
        FPen->SetWidth(1);
        FPen->SetStyle(plat::psSolid);
        FPen->Fill()->Gradient()->SetVisible(false);
    }
    PenChanged();
    // One ring per unit of width, each one pixel inside the last (rings
    // past the middle cross over); the rectangle comes back shrunk by them.
    const auto Moved = [](int Value, std::int64_t By) { return plat::SaturateInt(std::int64_t{Value} + By); };
    TRect Inner{Rect.Left, Rect.Top, Moved(Rect.Right, -1), Moved(Rect.Bottom, -1)};
    for (int Ring = Width; Ring > 0; --Ring) {
        FPen->SetColor(TopColor);
        const std::array<TPoint, 3> TopLeft{{{Inner.Left, Inner.Bottom}, {Inner.Left, Inner.Top}, {Inner.Right, Inner.Top}}};
        Polyline(TopLeft);
        FPen->SetColor(BottomColor);
        const std::array<TPoint, 3> BottomRight{
            {{Inner.Right, Inner.Top}, {Inner.Right, Inner.Bottom}, {Moved(Inner.Left, -1), Inner.Bottom}}};
        Polyline(BottomRight);
        Inner = {Moved(Inner.Left, 1), Moved(Inner.Top, 1), Moved(Inner.Right, -1), Moved(Inner.Bottom, -1)};
    }
    Rect = {Inner.Left, Inner.Top, Moved(Inner.Right, 1), Moved(Inner.Bottom, 1)};
}

TPointArray TChtCanvas::GetArrowPoints(float ArrowPercent, const TPoint& FromPoint, const TPoint& ToPoint,
    int ArrowWidth, int ArrowHeight)
{
    const double Dx = static_cast<double>(ToPoint.X) - FromPoint.X;
    const double Dy = static_cast<double>(FromPoint.Y) - ToPoint.Y;
    const double Length = std::sqrt(Dx * Dx + Dy * Dy);
    if (!(Length > 0)) {
        return {};
    }
    const double HeadLength = std::min<double>(RoundToPixel(Length), ArrowHeight);
    const double Sine = Dy / Length;
    const double Cosine = Dx / Length;
    const auto Unturned = [&](double U, double V) {
        return TPoint{RoundToPixel(U * Cosine + V * Sine), RoundToPixel(-U * Sine + V * Cosine)};
    };
    const double TipU = ToPoint.X * Cosine - ToPoint.Y * Sine;
    const double TipV = ToPoint.X * Sine + ToPoint.Y * Cosine;
    const double TailU = FromPoint.X * Cosine - FromPoint.Y * Sine;
    const double BaseU = TipU - HeadLength;
    const double HalfHead = ArrowWidth * 0.5;
    const double HalfShaft = ArrowWidth * static_cast<double>(ArrowPercent) * 0.005;
    return {Unturned(TailU, TipV + HalfShaft), Unturned(TailU, TipV - HalfShaft), Unturned(BaseU, TipV - HalfShaft),
        Unturned(BaseU, TipV - HalfHead), ToPoint, Unturned(BaseU, TipV + HalfHead),
        Unturned(BaseU, TipV + HalfShaft)};
}

void TChtCanvas::Arrow(bool Filled, double ArrowPercent, const TPoint& FromPoint, const TPoint& ToPoint,
    int ArrowWidth, int ArrowHeight)
{
    const TPointArray Points
        = GetArrowPoints(static_cast<float>(ArrowPercent), FromPoint, ToPoint, ArrowWidth, ArrowHeight);
    if (Points.empty()) {
        return;
    }
    if (Filled) {
        Polygon(Points);
        return;
    }
    Line(FromPoint, ToPoint);
    LineTo(Points[5]);
    Line(ToPoint, Points[3]);
}

namespace {

// Flags of the turn directions seen so far.
constexpr int TurnsRight = 1;
constexpr int TurnsLeft = 2;

// False as soon as turns go both ways; else true when any turn was seen.
template <class TPointOf, class TTurn>
bool AllTurnsAlike(std::span<const TPointOf> P, TTurn&& Turn)
{
    const std::size_t Count = P.size();
    if (Count < 3) {
        return false;
    }
    int Seen = 0;
    for (std::size_t I = 0; I < Count; ++I) {
        const float Z = Turn(P[I], P[(I + 1) % Count], P[(I + 2) % Count]);
        if (Z < 0) {
            Seen |= TurnsRight;
        } else if (Z > 0) {
            Seen |= TurnsLeft;
        }
        if (Seen == (TurnsRight | TurnsLeft)) {
            return false;
        }
    }
    return Seen != 0;
}

} // namespace

bool TChtCanvas::IsConvexPolygon(std::span<const TPoint> P)
{
    return AllTurnsAlike(P, TurnAsSingle);
}

bool TChtCanvas::IsConvexPolygon(std::span<const TPointFloat> P)
{
    return AllTurnsAlike(P, [](const TPointFloat& I, const TPointFloat& J, const TPointFloat& K) {
        return (J.X - I.X) * (K.Y - J.Y) - (J.Y - I.Y) * (K.X - J.X);
    });
}

namespace {

// Sorts Points by Keys, ascending, keeping the two in step, with the
// partition that decides where equal keys end up.
void SortByKeys(TPointArray& Points, std::vector<float>& Keys, std::ptrdiff_t Lo, std::ptrdiff_t Hi)
{
    const float Middle = Keys[static_cast<std::size_t>((Lo + Hi) / 2)];
    std::ptrdiff_t I = Lo;
    std::ptrdiff_t J = Hi;
    do {
        while (Keys[static_cast<std::size_t>(I)] < Middle) {
            ++I;
        }
        while (Keys[static_cast<std::size_t>(J)] > Middle) {
            --J;
        }
        if (I <= J) {
            std::swap(Points[static_cast<std::size_t>(I)], Points[static_cast<std::size_t>(J)]);
            std::swap(Keys[static_cast<std::size_t>(I)], Keys[static_cast<std::size_t>(J)]);
            ++I;
            --J;
        }
    } while (I <= J);
    if (Lo < J) {
        SortByKeys(Points, Keys, Lo, J);
    }
    if (I < Hi) {
        SortByKeys(Points, Keys, I, Hi);
    }
}

// The lowest point, the rightmost of equally low ones; coordinates are
// expected below 10,000,000.
std::size_t PivotIndex(const TPointArray& Points)
{
    constexpr int SearchStart = 10'000'000;
    std::size_t Pivot = 0;
    int LowestY = SearchStart;
    int RightmostX = SearchStart;
    for (std::size_t I = 0; I < Points.size(); ++I) {
        const TPoint& P = Points[I];
        if (P.Y < LowestY || (P.Y == LowestY && P.X > RightmostX)) {
            Pivot = I;
            LowestY = P.Y;
            RightmostX = P.X;
        }
    }
    return Pivot;
}

} // namespace

bool TChtCanvas::ConvexHull(TPointArray& Points)
{
    if (Points.size() < 3) {
        return false;
    }
    if (Points.size() == 3) {
        return true;
    }
    const std::size_t PivotAt = PivotIndex(Points);
    const TPoint Pivot = Points[PivotAt];
    Points[PivotAt] = Points.back();
    Points.pop_back();

    std::vector<float> Keys(Points.size());
    for (std::size_t I = 0; I < Points.size(); ++I) {
        const auto Dx = static_cast<float>(Pivot.X - static_cast<double>(Points[I].X));
        const auto Dy = static_cast<float>(Pivot.Y - static_cast<double>(Points[I].Y));
        const float Distance = Hypotenuse(Dx, Dy);
        Keys[I] = Distance == 0 ? 0 : Dx / Distance;
    }
    SortByKeys(Points, Keys, 0, static_cast<std::ptrdiff_t>(Points.size()) - 1);

    std::size_t I = 1;
    while (I < Points.size()) {
        if (I == 0) {
            I = 1;
            continue;
        }
        const TPoint& Next = I + 1 < Points.size() ? Points[I + 1] : Pivot;
        if (NegativeCross(Points[I - 1], Points[I], Next)) {
            ++I;
        } else {
            Points.erase(Points.begin() + static_cast<std::ptrdiff_t>(I));
            --I;
        }
    }
    Points.push_back(Pivot);
    return true;
}

} // namespace qel
