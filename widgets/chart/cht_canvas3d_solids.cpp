// Cylinders, cones and pyramids of the 3D chart canvas: rings of points
// projected and outlined by their extremes, sides filled with a shading
// gradient, and pyramid faces drawn when they turn to the viewer.
#include "widgets/chart/cht_canvas3d.h"

#include "widgets/chart/color_shades.h"
#include "widgets/chart/plane_geometry.h"
#include "widgets/chart/solid_settings.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <numbers>

namespace qel {

namespace {

bool WithinSolidExtent(std::initializer_list<int> Values)
{
    return std::all_of(Values.begin(), Values.end(), [](int V) { return V >= -MaxSolidExtent && V <= MaxSolidExtent; });
}

// Index of the first smallest and the first largest value of Key over S.
template <typename TKey>
std::pair<std::size_t, std::size_t> Extremes(const TPointFloatArray& S, TKey&& Key)
{
    std::size_t Min = 0;
    std::size_t Max = 0;
    for (std::size_t i = 1; i < S.size(); ++i) {
        if (Key(S[i]) < Key(S[Min])) {
            Min = i;
        }
        if (Key(S[i]) > Key(S[Max])) {
            Max = i;
        }
    }
    return {Min, Max};
}

} // namespace

void TChtCanvas3D::Cylinder(bool Vertical, int Left, int Top, int Right, int Bottom, int Z0, int Z1, bool Dark3D)
{
    DrawConeOrCylinder(Vertical, Left, Top, Right, Bottom, Z0, Z1, Dark3D, 100);
}

void TChtCanvas3D::Cone(
    bool Vertical, int Left, int Top, int Right, int Bottom, int Z0, int Z1, bool Dark3D, int ConePercent)
{
    DrawConeOrCylinder(Vertical, Left, Top, Right, Bottom, Z0, Z1, Dark3D, ConePercent);
}

void TChtCanvas3D::DrawConeOrCylinder(
    bool Vertical, int Left, int Top, int Right, int Bottom, int Z0, int Z1, bool Dark3D, int ConePercent)
{
    const int N = CylinderSideCount;
    if (N < 1 || N > 0x10000 || !WithinSolidExtent({Left, Top, Right, Bottom, Z0, Z1})) {
        return;
    }
    if (ConePercent == 0) {
        ConePercent = DefaultConePercent;
    }
    int rz = (Z1 - Z0) / 2;
    const int cz = (Z1 + Z0) / 2;
    const double Step = 2 * std::numbers::pi / N;
    int r = Vertical ? (Right - Left) / 2 : (Bottom - Top) / 2;
    const int c = Vertical ? (Right + Left) / 2 : (Bottom + Top) / 2;
    const auto Ring = [&](int Level) {
        std::vector<TPoint3D> Points(static_cast<std::size_t>(N));
        for (int i = 0; i < N; ++i) {
            const int s = c + RoundToPixel(r * std::sin(i * Step));
            const int d = cz - RoundToPixel(rz * std::cos(i * Step));
            Points[static_cast<std::size_t>(i)] = Vertical ? TPoint3D{s, Level, d} : TPoint3D{Level, s, d};
        }
        return Points;
    };
    const auto Projected = [this](const TPoint3D& P) {
        TPointFloat Screen{static_cast<float>(P.x), static_cast<float>(P.y)};
        Calculate3DPosition(Screen, static_cast<float>(P.z));
        return Screen;
    };
    const auto ProjectedRing = [&](const std::vector<TPoint3D>& Points) {
        TPointFloatArray Screen(Points.size());
        std::transform(Points.begin(), Points.end(), Screen.begin(), Projected);
        return Screen;
    };

    const std::vector<TPoint3D> Base = Ring(Vertical ? Bottom : Left);
    const bool HasTop = ConePercent != 0;
    bool TopHidden = Bottom < Top;
    if (!Vertical) {
        const bool t = NegativeCross(Calculate3DPosition(0, 0, 0), Calculate3DPosition(0, 10, 0),
            Calculate3DPosition(0, 10, 10));
        TopHidden = Right >= Left ? t : !t;
    }
    TPointFloatArray S;
    if (HasTop) {
        if (ConePercent != 100) {
            r = RoundToPixel(r * static_cast<double>(ConePercent) * 0.01);
            rz = RoundToPixel(rz * static_cast<double>(ConePercent) * 0.01);
        }
        S = ProjectedRing(Ring(Vertical ? Top : Right));
        if (!TopHidden) {
            PolygonFloat(S);
        }
    } else {
        S = ProjectedRing(Base);
    }

    const auto [iMin, iMax] = Vertical ? Extremes(S, [](const TPointFloat& P) { return P.X; })
                                       : Extremes(S, [](const TPointFloat& P) { return P.Y; });
    const std::size_t Count = S.size();
    TPointFloatArray Side;
    for (std::size_t i = iMin;; i = (i + 1) % Count) {
        Side.push_back(S[i]);
        if (i == iMax) {
            break;
        }
    }
    if (HasTop) {
        for (std::size_t i = iMax;; i = (i + Count - 1) % Count) {
            Side.push_back(Projected(Base[i]));
            if (i == iMin) {
                break;
            }
        }
    } else {
        Side.push_back(Projected(Vertical ? TPoint3D{c, Top, cz} : TPoint3D{Right, c, cz}));
    }

    const TColor Face = Brush()->Color();
    TChtGradient* Shade = Gradient();
    Shade->SetVisible(true);
    Shade->SetMidColor(clNone);
    Shade->SetStartColor(Dark3D ? LightenColorBy(Face, DarkAmountLow) : Face);
    Shade->SetEndColor(DarkenColorBy(Face, Dark3D ? DarkAmountHigh : DarkAmountLow));
    Shade->SetDirection(Vertical ? gdLeftRight : gdTopBottom);
    PolygonFloat(Side);
    if (TopHidden) {
        PolygonFloat(ProjectedRing(Base));
    }
}

void TChtCanvas3D::Pyramid(bool Vertical, int Left, int Top, int Right, int Bottom, int Z0, int Z1, bool DarkSides)
{
    const auto P = [this](std::int64_t X, std::int64_t Y, std::int64_t Z) {
        return Calculate3DPosition(plat::SaturateInt(X), plat::SaturateInt(Y), plat::SaturateInt(Z));
    };
    const TColor Face = Brush()->Style() == plat::bsSolid ? Brush()->Color() : GetBackColor();
    const auto Darken = [&](std::uint8_t Amount) {
        if (DarkSides) {
            ApplyDarkColor(Face, Amount);
        }
    };
    const auto Triangle = [this](const TPoint& A, const TPoint& B, const TPoint& C) {
        const TTrianglePoints Corners{A, B, C};
        Polygon(Corners);
    };
    const std::int64_t MidZ = (std::int64_t{Z0} + Z1) / 2;
    if (Vertical) {
        const bool Up = Top < Bottom;
        if (Top != Bottom) {
            const TPoint F0 = P(Left, Bottom, Z0);
            const TPoint F1 = P(Right, Bottom, Z0);
            const TPoint A = P((std::int64_t{Left} + Right) / 2, Top, MidZ);
            const TPoint B0 = P(Left, Bottom, Z1);
            const TPoint B1 = P(Right, Bottom, Z1);
            Triangle(F0, A, F1);
            if (Up != NegativeCross(F0, A, B0)) {
                Triangle(F0, A, B0);
            }
            Darken(DarkAmountHigh);
            if (Up == NegativeCross(F1, A, B1)) {
                Triangle(F1, A, B1);
            }
            if (Up && NegativeCross(A, B0, B1)) {
                Triangle(A, B0, B1);
            }
        }
        if (Up == NegativeCross(P(Left, Bottom, Z0), P(Right, Bottom, Z0), P(Left, Bottom, Z1))) {
            Darken(DarkAmountLow);
            RectangleY(Left, Bottom, Right, Z0, Z1);
        }
        return;
    }
    const bool ToRight = Left < Right;
    if (Left != Right) {
        const TPoint A0 = P(Left, Top, Z0);
        const TPoint B0 = P(Left, Bottom, Z0);
        const TPoint X = P(Right, (std::int64_t{Top} + Bottom) / 2, MidZ);
        const TPoint A1 = P(Left, Top, Z1);
        const TPoint B1 = P(Left, Bottom, Z1);
        Triangle(A0, X, B0);
        if (ToRight != NegativeCross(A1, X, B1)) {
            Triangle(A1, X, B1);
        }
        Darken(DarkAmountLow);
        if (ToRight != NegativeCross(A0, X, A1)) {
            Triangle(A0, X, A1);
        }
        if (ToRight != NegativeCross(B1, X, B0)) {
            Triangle(B1, X, B0);
        }
    }
    if (ToRight == NegativeCross(P(Left, Top, Z0), P(Left, Bottom, Z0), P(Left, Top, Z1))) {
        Darken(DarkAmountHigh);
        RectangleZ(Left, Top, Bottom, Z0, Z1);
    }
}

} // namespace qel
