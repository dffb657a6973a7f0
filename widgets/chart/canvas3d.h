// TCanvas3D: the chart canvas in chart coordinates (x, y, depth). A drawing
// canvas projects points onto its device and implements the 3D primitives;
// this class builds the rest on them once for every canvas: lines and
// planes at a depth, points on circles and spirals, rotated ellipses,
// diamonds, cube outlines, arrows, truncated pyramids, pictures laid into a
// plane, flat shadows and triangle surfaces.
#pragma once

#include "widgets/chart/chart_canvas.h"

#include <array>
#include <cstdint>
#include <string>
#include <functional>
#include <span>

namespace qel {

class TChtShadow;
class TCustomChtGradient;
class TView3DOptions;

// A point in chart coordinates.
struct TPoint3D {
    int x = 0;
    int y = 0;
    int z = 0;
    friend bool operator==(const TPoint3D&, const TPoint3D&) = default;
};

// A point in chart coordinates, single precision.
struct TPoint3DFloat {
    float X = 0;
    float Y = 0;
    float Z = 0;
};

using TFourPoints = std::array<TPoint, 4>;
using TTrianglePoints = std::array<TPoint, 3>;
using TTrianglePoints3D = std::array<TPoint3D, 3>;
using TTriangleColors3D = std::array<TColor, 3>;
// One ellipse outline of CirclePointCount points.
using TCirclePoints = TPointFloatArray;

struct TTriangleIndexes {
    int Point0 = 0;
    int Point1 = 0;
    int Point2 = 0;
};

enum TCanvas3DPlane { cpX, cpY, cpZ };
enum TEdgeStyle { edFlat, edCurved, edNone };
enum TChtCanvasSurfaceStyle { tcsSolid, tcsWire, tcsDot };

// Asks for triangle Index (from 1) of a surface: its corners and colours.
using TChtCanvasTriPoints
    = std::function<void(int Index, TTrianglePoints3D& Points, TTriangleColors3D& Colors, TTriangleIndexes& Indexes)>;

// Points of the polygon that approximates an ellipse.
inline constexpr int CirclePointCount = 180;

// One step of a surface: two points, their normals and colours.
struct TSurfaceVertex {
    TPoint3D P0, P1, N0, N1;
    TColor C0 = 0;
    TColor C1 = 0;
    bool Flag = false;
};

// Asks for the surface vertex at cell (x, z).
using TChtCanvasCalcPoints = std::function<void(int X, int Z, bool CalcColors, TSurfaceVertex& V)>;

// A cache a canvas may build for repeated surfaces.
class TChtCachedObject;

// A transform an owner may attach to a canvas; the canvases here keep it
// for the owner and do not apply it.
class TChtTransform {
public:
    bool Enabled = false;
    TPoint3DFloat Origin;
    TPoint3DFloat Translate;
    float Rotate = 0;
    TPoint3DFloat Scale;
    bool Clip = false;
    TRect Bounds;
};

// Identifies an interface an object may be asked for.
using TInterfaceId = std::array<std::uint8_t, 16>;
// The basic interface every 3D canvas answers for.
inline constexpr TInterfaceId IID_IInterface{0, 0, 0, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46};
inline constexpr std::int32_t E_NOINTERFACE_RESULT = static_cast<std::int32_t>(0x80004002u);

class TCanvas3D : public TChtCanvas {
    PLAT_CLASS(TCanvas3D, TChtCanvas)
public:
    TCanvas3D() = default;

    // What a chart lists of a canvas class: no description or editor here,
    // and always available.
    static std::string Description() { return {}; }
    static std::string EditorClass() { return {}; }
    static bool IsAvailable() { return true; }

    // The basic interface contract: 0 and this object for the basic
    // interface, else the no-interface result and nullptr. Canvases are
    // owned and freed explicitly: counting references does nothing.
    std::int32_t QueryInterface(const TInterfaceId& IID, void** Obj);
    int AddRef() { return -1; }
    int Release() { return -1; }

    // Two spare slots; nothing in the library calls them.
    virtual void SpareProcedure1() {}
    virtual void SpareProcedure2() {}

    TView3DOptions* View3DOptions() const { return F3DOptions; }
    void SetView3DOptions(TView3DOptions* Value) { F3DOptions = Value; }
    int XCenter() const { return FXCenter; }
    int YCenter() const { return FYCenter; }
    int ZCenter() const { return FZCenter; }
    bool IsOrthogonal() const { return FIsOrthogonal; }
    TChtTransform* Transform() const { return FTransform; }
    void SetTransform(TChtTransform* Value) { FTransform = Value; }
    bool IsNoBMPGridFlag() const { return FIsNoBMPGrid; }
    void SetIsNoBMPGridFlag(bool Value) { FIsNoBMPGrid = Value; }

    TPoint3DFloat RotationCenter;   // added to the projection's centre
    int GradientZ = 0;              // kept for owners
    bool SupportsID = false;        // kept for owners
    bool INoFixAlign = false;       // kept for owners

    // Monochrome, the view options (shared) and the three zooms.
    virtual void Assign(const TCanvas3D& Source);

    // --- Projection: a drawing canvas implements the three first ------------

    virtual TPoint Calculate3DPosition(int X, int Y, int Z) const;
    // P projected in place at depth ZPos, unrounded.
    virtual void Calculate3DPosition(TPointFloat& P, float ZPos) const;
    // From a screen point at depth Z back to chart coordinates.
    virtual void Calculate2DPosition(int& X, int& Y, int Z) const;
    TPoint Calculate3DPosition(const TPoint3D& P) const { return Calculate3DPosition(P.x, P.y, P.z); }
    TPoint Calculate3DPosition(const TPoint& P, int Z) const { return Calculate3DPosition(P.X, P.Y, Z); }

    // Top-left and bottom-right corners projected.
    TRect CalcRect3D(const TRect& R, int Z) const;
    TPointArray Calc3DPoints(std::span<const TPoint> Points, int Z) const;
    // The corners left-top, right-top, right-bottom, left-bottom projected.
    TFourPoints FourPointsFromRect(const TRect& R, int Z) const;
    // The bounds of the four projected corners.
    TRect RectFromRectZ(const TRect& R, int Z) const;
    TTrianglePoints TrianglePointsTo2D(const TTrianglePoints3D& P) const;
    // The point at Degrees (counter-clockwise, or clockwise) of the ellipse
    // in Rect; projected at ZPos unless ZPos is 0.
    TPointFloat PointFromCircle(const TRect& Rect, double Degrees, int ZPos, bool ClockWise) const;
    // The point at Degrees of a spiral in Rect growing by e^(angle x Twist).
    static TPoint PointFromSpiral(const TRect& Rect, double Degrees, double Twist);
    // The seven arrow points, each projected at Z; none for equal points.
    TPointArray GetArrowPoints(float ArrowPercent, const TPoint& FromPoint, const TPoint& ToPoint, int ArrowWidth,
        int ArrowHeight, int Z) const;
    using TChtCanvas::GetArrowPoints;
    // The convex hull of the box's eight projected corners.
    TPointArray CubeHull(const TRect& Rect, int MinZ, int MaxZ) const;

    // --- Window and drawing pass: a drawing canvas implements them ----------

    virtual TRect InitWindow(plat::TCanvas* DestCanvas, TView3DOptions* A3DOptions, TColor ABackColor, bool Is3D,
        const TRect& UserRect);
    virtual void Projection(int MaxDepth, const TRect& ABounds, const TRect& Rect);
    virtual void ShowImage(plat::TCanvas* DestCanvas, plat::TCanvas* DefaultCanvas, const TRect& UserRect);
    virtual bool ReDrawBitmap();
    virtual bool RenderToBitmap(plat::TBitmap& ABitmap, const TRect& R);
    virtual void ClipCube(const TRect& Rect, int MinZ, int MaxZ);
    // Following operations draw flat, in screen coordinates, until
    // EnableRotation; the pair does not nest.
    virtual void DisableRotation() {}
    virtual void EnableRotation() {}
    // Nesting pairs around drawing in the screen plane.
    void FrontPlaneBegin();
    void FrontPlaneEnd();

    // --- 3D primitives: a drawing canvas implements them --------------------

    virtual bool PrepareDCBrush() { return false; }
    virtual TColor GetPixel3D(int X, int Y, int Z) const;
    virtual void SetPixel3D(int X, int Y, int Z, TColor Value);
    virtual bool GetSupports3DText() const;
    virtual void Arrow(bool Filled, const TPoint& FromPoint, const TPoint& ToPoint, int ArrowWidth, int ArrowHeight,
        int Z0, int Z1, double ArrowPercent);
    void Arrow(bool Filled, const TPoint& FromPoint, const TPoint& ToPoint, int ArrowWidth, int ArrowHeight, int Z)
    {
        Arrow(Filled, FromPoint, ToPoint, ArrowWidth, ArrowHeight, Z, Z, 50);
    }
    using TChtCanvas::Arrow;
    virtual void EllipseWithZ(int X1, int Y1, int X2, int Y2, int Z);
    void EllipseWithZ(const TRect& Rect, int Z) { EllipseWithZ(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom, Z); }
    virtual void Plane3D(const TPoint& A, const TPoint& B, int Z0, int Z1);
    virtual void PlaneWithZ(const TPoint& P1, const TPoint& P2, const TPoint& P3, const TPoint& P4, int Z);
    void PlaneWithZ(const TFourPoints& P, int Z) { PlaneWithZ(P[0], P[1], P[2], P[3], Z); }
    virtual void PlaneFour3D(TFourPoints& Points, int Z0, int Z1);
    virtual void Polygon3D(std::span<const TPoint3D> Points);
    virtual void RectangleWithZ(const TRect& Rect, int Z);
    void Rectangle(const TRect& R, int Z) { RectangleWithZ(R, Z); }
    void Rectangle(int X0, int Y0, int X1, int Y1, int Z) { RectangleWithZ({X0, Y0, X1, Y1}, Z); }
    using TChtCanvas::Rectangle;
    virtual void RectangleY(int Left, int Top, int Right, int Z0, int Z1);
    virtual void RectangleZ(int Left, int Top, int Bottom, int Z0, int Z1);
    virtual void TextOut3D(int X, int Y, int Z, const std::string& Text, bool AllowHTML);
    void TextOut3D(int X, int Y, int Z, const std::string& Text) { TextOut3D(X, Y, Z, Text, false); }
    // St turned by RotDegree at the projection of (X, Y, Z).
    virtual void RotateLabel3D(int X, int Y, int Z, const std::string& St, double RotDegree, bool AllowHTML);
    virtual void Triangle3D(const TTrianglePoints3D& Points, const TTriangleColors3D& Colors);
    // A list of triangles for canvases that draw them at once; nothing here.
    virtual void Triangles(std::span<const TPoint3D> P, bool CreateCached, TChtCachedObject*& Cached)
    {
        (void)P, (void)CreateCached, (void)Cached;
    }
    virtual void TriangleWithZ(const TPoint& P1, const TPoint& P2, const TPoint& P3, int Z);
    // Solids: a box, a cylinder, a cone of ConePercent top radius, a
    // pyramid, a flat circle, a surface and one 3D pie slice.
    virtual void Cube(int Left, int Right, int Top, int Bottom, int Z0, int Z1, bool DarkSides, int RoundSize);
    virtual void Cube(
        int Left, int Right, int Top, int Bottom, int Z0, int Z1, int BevelSize, bool DarkSides, int RoundSize);
    virtual void Cylinder(bool Vertical, int Left, int Top, int Right, int Bottom, int Z0, int Z1, bool Dark3D);
    virtual void Cone(
        bool Vertical, int Left, int Top, int Right, int Bottom, int Z0, int Z1, bool Dark3D, int ConePercent);
    virtual void Pyramid(bool Vertical, int Left, int Top, int Right, int Bottom, int Z0, int Z1, bool DarkSides);
    virtual void Sphere(int X, int Y, int Z, double Radius);
    virtual void Surface3D(TChtCanvasSurfaceStyle Style, bool SameBrush, bool CreateCached, bool AddNormals,
        int NumXValues, int NumZValues, const TChtCanvasCalcPoints& CalcPoints, TChtCachedObject*& Cached);
    // Angles in radians, counter-clockwise; the slice is Z1 - Z0 thick.
    virtual void Pie3D(int XCenter, int YCenter, int XRadius, int YRadius, int Z0, int Z1, double StartAngle,
        double EndAngle, bool DarkSides, bool DrawSides, int DonutPercent, const TCustomChtGradient* Gradient,
        int BevelPercent, TEdgeStyle EdgeStyle, TChtTransparency Transparency, int BevelBright, bool BevelBorder,
        bool HideSides);
    // The rim edges of a 3D pie slice; nothing here.
    virtual void DrawPieEdge(TEdgeStyle EdgeStyle, int Z, const TRect& Rect0, const TRect& Rect1,
        const TRect& DonutRect, int StartAngle, int EndAngle, const TPoint& Middle, bool IsDonut);

    // --- Built on the projection and the 2D operations ----------------------

    void Arc(int Left, int Top, int Right, int Bottom, int StartX, int StartY, int EndX, int EndY, int Z);
    using TChtCanvas::Arc;
    virtual void Diamond(int Left, int Top, int Right, int Bottom, int Z0, int Z1);
    void Diamond(const TRect& R, int Z0, int Z1) { Diamond(R.Left, R.Top, R.Right, R.Bottom, Z0, Z1); }
    virtual void HorizLine3D(int Left, int Right, int Y, int Z);
    virtual void VertLine3D(int X, int Top, int Bottom, int Z);
    virtual void ZLine3D(int X, int Y, int Z0, int Z1);
    virtual void LineWithZ(int X0, int Y0, int X1, int Y1, int Z);
    void LineWithZ(const TPoint& FromPoint, const TPoint& ToPoint, int Z)
    {
        LineWithZ(FromPoint.X, FromPoint.Y, ToPoint.X, ToPoint.Y, Z);
    }
    virtual void MoveTo3D(int X, int Y, int Z);
    virtual void MoveTo3D(float X, float Y, float Z);
    virtual void LineTo3D(int X, int Y, int Z);
    virtual void LineTo3D(float X, float Y, float Z);
    void MoveTo3D(const TPoint3D& P) { MoveTo3D(P.x, P.y, P.z); }
    void LineTo3D(const TPoint3D& P) { LineTo3D(P.x, P.y, P.z); }
    virtual void PolygonWithZ(std::span<const TPoint> Points, int Z);
    virtual void PolygonConcave(std::span<const TPoint> Points, int Z) { PolygonWithZ(Points, Z); }
    using TChtCanvas::PolygonConcave;
    virtual void Polyline(std::span<const TPoint> Points, int Z);
    using TChtCanvas::Polyline;
    virtual void Polygon3DConcave(std::span<const TPoint3DFloat> Points, bool Invert);
    virtual void Polygon3DConcave(std::span<const TPoint3D> Points, bool Invert);
    void PolygonFloatWithZ(std::span<const TPointFloat> Points, int Z);
    void PolylineWithZ(std::span<const TPointFloat> Points, int Z);
    // A rectangle when the canvas turns fully, else a rounded rectangle at
    // Z0; Z1 is not used.
    virtual void RoundRect(const TRect& R, int X, int Y, int Z0, int Z1);
    using TChtCanvas::RoundRect;
    // Square corners at Z.
    virtual void RoundRectWithZ(const TRect& R, int X, int Y, int Z) { (void)X, (void)Y, RectangleWithZ(R, Z); }
    // The ellipse in the box turned by Angle degrees: filled with a brush,
    // else outlined with a pen.
    void RotatedEllipse(int Left, int Top, int Right, int Bottom, int Z, double Angle);
    // A pyramid on the rectangle at R.Bottom cut at R.Top to a top of
    // half sizes TruncX and TruncZ; only the faces turned to the viewer.
    virtual void PyramidTrunc(const TRectF& R, double StartZ, double EndZ, double TruncX, double TruncZ,
        bool TopCover, bool BottomCover);
    // The picture laid into the plane at depth Pos of the given axis, one
    // filled cell per pixel.
    virtual void StretchDraw(const TRect& Rect, plat::TGraphic* Graphic, double Pos, TCanvas3DPlane Plane);
    using TChtCanvas::StretchDraw;
    // The shape of a shadow in its colour: the polygon, the ellipse (or
    // pie), or the (rounded) rectangle.
    virtual void DrawShadow(const TChtShadow& Shadow, const TRect& Rect, bool IsEllipse, int RoundSize,
        std::span<const TPoint> Points, int HolePercent, double StartAngle, double EndAngle);
    // Triangles 1 .. NumTriangles, each blended by TriangleTransparency
    // when a blend is given; the cache and normals are not used here.
    virtual void TriSurface(int NumTriangles, bool CreateCached, bool AddNormals, TChtBlend* Blend,
        TChtTransparency TriangleTransparency, const TChtCanvasTriPoints& CalcPoints, TChtCachedObject*& Cached);
    // AFont as the canvas font for text the canvas projects itself: zoomed
    // by the view's zoom unless the view keeps text unzoomed.
    void AssignFont3D(const TChtFont& AFont);

protected:
    TView3DOptions* F3DOptions = nullptr;   // not owned
    bool FIsOrthogonal = false;
    int FXCenter = 0;
    int FYCenter = 0;
    int FZCenter = 0;
    bool FIsNoBMPGrid = false;        // kept for owners
    TChtTransform* FTransform = nullptr;   // attached by an owner; not owned

private:
    int IDisabledRotation = 0;   // depth of front-plane pairs
};

} // namespace qel
