// TChtCanvas3D: the 3D chart canvas on the platform's device contexts. It
// sets up a drawing pass (optionally into an off-screen bitmap shown at
// the end), projects chart coordinates (rotation, elevation, tilt,
// perspective or the orthogonal depth shift, zoom and offsets) and back,
// clips to projected boxes, passes lines and device state through, and
// fills rectangles with colours, gradients and pictures.
#pragma once

#include "widgets/chart/canvas3d.h"

#include <memory>

namespace qel {

class TChtCanvas3D : public TCanvas3D {
    PLAT_CLASS(TChtCanvas3D, TCanvas3D)
public:
    // Zooms 100 and applied, buffered and dirty.
    TChtCanvas3D();
    ~TChtCanvas3D() override;

    static std::string Description() { return "GDI"; }

    // --- Drawing pass and buffered display ------------------------------------

    // Takes the view's zooms and projection mode; with the buffer on the
    // off-screen bitmap (sized to UserRect) becomes the reference canvas and
    // (0, 0, width, height) is the rectangle to draw into, else DestCanvas
    // and UserRect.
    TRect InitWindow(plat::TCanvas* DestCanvas, TView3DOptions* A3DOptions, TColor ABackColor, bool Is3D,
        const TRect& UserRect) override;
    // Centre, offsets, zoom and perspective for a chart area Rect of depth
    // 0 .. MaxDepth.
    void Projection(int MaxDepth, const TRect& ABounds, const TRect& Rect) override;
    // Copies the buffer to DestCanvas at UserRect's corner; DefaultCanvas
    // becomes the reference canvas.
    void ShowImage(plat::TCanvas* DestCanvas, plat::TCanvas* DefaultCanvas, const TRect& UserRect) override;
    // Repaints the reference canvas from a clean buffer; false when dirty.
    bool ReDrawBitmap() override;
    // ABitmap copies a clean buffer of exactly R's size.
    bool RenderToBitmap(plat::TBitmap& ABitmap, const TRect& R) override;
    void Invalidate() override { FDirty = true; }
    void BlitBitmap(int X, int Y, plat::TCanvas* ACanvas);
    // Frees the canvas's own off-screen bitmap and forgets the one in use.
    void DeleteBitmap();
    plat::TBitmap* Bitmap() const { return FBitmap; }
    // The canvas draws its buffered passes into Value (not owned); the
    // bitmap in use before is not freed.
    virtual void SetBitmap(plat::TBitmap* Value) { FBitmap = Value; }
    plat::TBitmap* OffscreenBitmap() const override { return FBufferedDisplay ? FBitmap : nullptr; }
    bool Dirty() const { return FDirty; }
    bool GetUseBuffer() const override { return FBufferedDisplay; }
    // Switching off frees the buffer (unless kept) and the reference
    // canvas; switching on draws into an existing buffer again.
    void SetUseBuffer(bool Value) override;
    bool IKeepBitmap = false;   // switching the buffer off keeps it

    // --- Projection -------------------------------------------------------------

    // X and Y of the point at depth Z replaced by its screen position.
    void Project3D(int& X, int& Y, int Z) const;
    TPoint Calculate3DPosition(int X, int Y, int Z) const override;
    // Single precision, unrounded; a flat canvas still zooms and offsets.
    void Calculate3DPosition(TPointFloat& P, float ZPos) const override;
    using TCanvas3D::Calculate3DPosition;
    // The inverse at depth Z, perspective not undone; unchanged without
    // zoom or in an edge-on view.
    void Calculate2DPosition(int& X, int& Y, int Z) const override;
    void DisableRotation() override;
    void EnableRotation() override;
    bool Is3D() const { return FIs3D; }

    // --- Clipping ---------------------------------------------------------------

    void ClipRectangle(const TRect& Rect) override { Clip(Rect); }
    using TCanvas3D::ClipRectangle;
    void UnClipRectangle() override { UnClip(); }
    // The projected box's hull in 3D, else Rect one pixel in from its left,
    // top and bottom.
    void ClipCube(const TRect& Rect, int MinZ, int MaxZ) override;

    // --- Device state and lines -------------------------------------------------

    plat::TDeviceContext* GetHandle() const override;
    TColor GetBackColor() const override;
    void SetBackColor(TColor Value) override;
    TCanvasBackMode GetBackMode() const override;
    void SetBackMode(TCanvasBackMode Value) override;
    int GetTextAlign() const override;
    void SetTextAlign(int Value) override;
    bool GetIsNoBMPGrid() const override { return false; }
    int GetSpareValue() const override { return 0; }
    bool GetMonochrome() const override { return FMonochrome; }
    // A change makes the picture dirty and asks the view to repaint.
    void SetMonochrome(bool Value) override;
    bool GetSupportsFullRotation() const override { return false; }
    bool GetSupportsXORMode() const override { return true; }
    // Text is projected by the chart, not drawn in 3D by the canvas.
    bool GetSupports3DText() const override { return false; }
    void MoveTo(int X, int Y) override;
    void LineTo(int X, int Y) override;
    using TCanvas3D::LineTo;
    using TCanvas3D::MoveTo;
    void Polyline(std::span<const TPoint> Points) override;
    using TCanvas3D::Polyline;
    // Lines on the device context of the fast-line mode; none while off.
    void SetFastLine(bool Value) override;
    void FastLineTo(int X, int Y) override;

    // --- Text -------------------------------------------------------------------

    // Text at (X, Y) with the canvas font at its point size and its effects.
    void TextOut(int X, int Y, const std::string& Text) override;
    using TCanvas3D::TextOut;
    // At the projection of (X, Y, Z): the HTML-like text, or the painter
    // with the font the device holds.
    void TextOut3D(int X, int Y, int Z, const std::string& Text, bool AllowHTML) override;
    using TCanvas3D::TextOut3D;
    // St turned by RotDegree counter-clockwise; AllowHTML is not used.
    void RotateLabel(int X, int Y, const std::string& St, double RotDegree, bool AllowHTML) override;
    void RotateLabel3D(int X, int Y, int Z, const std::string& St, double RotDegree, bool AllowHTML) override;

    // --- Shadows ----------------------------------------------------------------

    // Smooth shadows blurred into the off-screen bitmap (not while
    // recording a metafile), else the flat shadow.
    void DrawShadow(const TChtShadow& Shadow, const TRect& Rect, bool IsEllipse, int RoundSize,
        std::span<const TPoint> Points, int HolePercent, double StartAngle, double EndAngle) override;

    // --- Fills, gradients and pictures --------------------------------------------

    void Rectangle(int X0, int Y0, int X1, int Y1) override;
    using TCanvas3D::Rectangle;
    void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) override;
    using TCanvas3D::RoundRect;
    // The brush's gradient when one is wanted, else the plain brush.
    void FillRect(const TRect& Rect) override;
    void EraseBackground(const TRect& Rect) override { FillRect(Rect); }
    // Bands, rings, corner fills or diagonal lines from StartColor to
    // EndColor; radial fills through a gradient.
    void GradientFill(const TRect& Rect, TColor StartColor, TColor EndColor, TGradientDirection Direction,
        int Balance, int RadialX, int RadialY) override;
    // Rect filled by a gradient's settings: angle, grey on a monochrome
    // canvas, and a middle colour splitting the fill in two halves.
    void GradientFill(const TCustomChtGradient& Gradient, const TRect& Rect);
    void StretchDraw(const TRect& ARect, plat::TGraphic* Graphic) override;
    using TCanvas3D::StretchDraw;
    void StretchRotate(const TRect& Rect, plat::TGraphic* Graphic, float Angle) override
    {
        (void)Angle;
        StretchDraw(Rect, Graphic);
    }
    void Draw(int X, int Y, plat::TGraphic* Graphic) override;

    // --- Polygons, ellipses, pixels and planes ----------------------------------

    // A picture or gradient brush painted through the polygon's clip, then
    // the platform polygon.
    void Polygon(std::span<const TPoint> Points) override;
    using TCanvas3D::Polygon;
    void PolygonFloat(std::span<const TPointFloat> Points) override;
    void PolylineFloat(std::span<const TPointFloat> Points) override;
    // Each point projected at its own depth.
    void PolylineFloat(std::span<const TPoint3DFloat> Points);
    void Polygon3D(std::span<const TPoint3D> Points) override;
    // A gradient brush painted through the ellipse's clip first.
    void Ellipse(int X1, int Y1, int X2, int Y2) override;
    using TCanvas3D::Ellipse;
    // The outline of the ellipse in the box, CirclePointCount points from
    // the bottom centre; P must hold that many points.
    void CalcCirclePoints(TCirclePoints& P, int X1, int Y1, int X2, int Y2) const;
    // The same outline projected at depth Z.
    void GetCirclePoints(TCirclePoints& P, int X1, int Y1, int X2, int Y2, int Z) const;
    void EllipseWithZ(int X1, int Y1, int X2, int Y2, int Z) override;
    using TCanvas3D::EllipseWithZ;
    void Arc(int Left, int Top, int Right, int Bottom, int StartX, int StartY, int EndX, int EndY) override;
    using TCanvas3D::Arc;
    TColor GetPixel(int X, int Y) const override;
    void SetPixel(int X, int Y, TColor Value) override;
    TColor GetPixel3D(int X, int Y, int Z) const override;
    // A wide pen marks the point with a zero-length line instead.
    void SetPixel3D(int X, int Y, int Z, TColor Value) override;
    // The device-context brush selected, when the platform has one.
    bool PrepareDCBrush() override;
    void Plane3D(const TPoint& A, const TPoint& B, int Z0, int Z1) override;
    void PlaneFour3D(TFourPoints& Points, int Z0, int Z1) override;
    void PlaneWithZ(const TPoint& P1, const TPoint& P2, const TPoint& P3, const TPoint& P4, int Z) override;
    using TCanvas3D::PlaneWithZ;
    void RectangleWithZ(const TRect& Rect, int Z) override;
    void RectangleY(int Left, int Top, int Right, int Z0, int Z1) override;
    void RectangleZ(int Left, int Top, int Bottom, int Z0, int Z1) override;
    // The brush takes Colors[0] unless clear.
    void Triangle3D(const TTrianglePoints3D& Points, const TTriangleColors3D& Colors) override;
    void TriangleWithZ(const TPoint& P1, const TPoint& P2, const TPoint& P3, int Z) override;
    void Arrow(bool Filled, const TPoint& FromPoint, const TPoint& ToPoint, int ArrowWidth, int ArrowHeight, int Z0,
        int Z1, double ArrowPercent) override;
    using TCanvas3D::Arrow;
    // The four corners in IPoints filled with the pen and brush.
    virtual void PolygonFourPoints();

    // --- Solids -----------------------------------------------------------------

    // Only the faces turned to the viewer (all with a clear brush); dark
    // sides run from the face colour to a darker one.
    void Cube(int Left, int Right, int Top, int Bottom, int Z0, int Z1, bool DarkSides, int RoundSize) override;
    void Cube(int Left, int Right, int Top, int Bottom, int Z0, int Z1, int BevelSize, bool DarkSides,
        int RoundSize) override;
    void Cylinder(bool Vertical, int Left, int Top, int Right, int Bottom, int Z0, int Z1, bool Dark3D) override;
    void Cone(bool Vertical, int Left, int Top, int Right, int Bottom, int Z0, int Z1, bool Dark3D,
        int ConePercent) override;
    void Pyramid(bool Vertical, int Left, int Top, int Right, int Bottom, int Z0, int Z1, bool DarkSides) override;
    // A flat circle of the rounded radius at depth Z.
    void Sphere(int X, int Y, int Z, double Radius) override;
    // Draws nothing.
    void Surface3D(TChtCanvasSurfaceStyle Style, bool SameBrush, bool CreateCached, bool AddNormals, int NumXValues,
        int NumZValues, const TChtCanvasCalcPoints& CalcPoints, TChtCachedObject*& Cached) override;

    // --- Pies -----------------------------------------------------------------------

    // Degrees; a sweep of a whole turn is the ellipse.
    void Pie(const TRect& R, double StartAngle, double EndAngle) override;
    // Nothing for equal radial points.
    void Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) override;
    using TCanvas3D::Pie;
    // Radians; HolePercent of the radii left open.
    void Donut(int XCenter, int YCenter, int XRadius, int YRadius, double StartAngle, double EndAngle,
        double HolePercent) override;
    void Pie3D(int XCenter, int YCenter, int XRadius, int YRadius, int Z0, int Z1, double StartAngle,
        double EndAngle, bool DarkSides, bool DrawSides, int DonutPercent, const TCustomChtGradient* Gradient,
        int BevelPercent, TEdgeStyle EdgeStyle, TChtTransparency Transparency, int BevelBright, bool BevelBorder,
        bool HideSides) override;
    // The corners of the last plane or flat pie side.
    const TFourPoints& PlanePoints() const { return IPoints; }

    double CharacterAngle = 0;          // extra turn of each character, degrees
    TFontQuality FontQuality = fqBest;  // for fonts asking for the default
    bool Pie3DUsingArcs = false;
    void* Tag = nullptr;                // for the canvas's owner

protected:
    friend class TPieDrawer;   // fills the flat sides through IPoints

    // A picture or gradient brush painted inside the (rounded) rectangle,
    // then the platform shape with the border (and the plain fill when
    // neither painted).
    void FillShape(const TRect& Rect, int RoundX, int RoundY, bool Rounded);
    // A 32-bit copy of Graphic stretched over Rect, on what the buffer
    // already holds there.
    std::unique_ptr<plat::TBitmap> TransparentCopy(plat::TGraphic& Graphic, const TRect& Rect);

    TFourPoints IPoints{};   // screen corners of the last plane

private:
    void SetUpRotation();
    // The side (and caps) of a cylinder, or of a cone whose top ring has
    // ConePercent of the base's radii (a point at 0).
    void DrawConeOrCylinder(
        bool Vertical, int Left, int Top, int Right, int Bottom, int Z0, int Z1, bool Dark3D, int ConePercent);

    double s1 = 0, s2 = 0, s3 = 0;   // sines of -elevation, -rotation, tilt
    double c1 = 0, c2 = 0, c3 = 0;   // their cosines
    double c2s3 = 0;                 // c2 * s3
    double c2c3 = 0;                 // c2 * c3, at least LeastDivisor: divisor of the inverse
    double tempXX = 0;               // s1 s2 s3 + c1 c3, at least LeastDivisor: divisor of the inverse
    double tempYX = 0;               // c3 s1 s2 - c1 s3
    double tempXZ = 0;               // c1 s2 s3 - c3 s1
    double tempYZ = 0;               // c1 c3 s2 + s1 s3
    bool FWas3D = false;             // FIs3D before DisableRotation
    plat::TBitmap* FBitmap = nullptr;   // off-screen picture in use
    std::unique_ptr<plat::TBitmap> FOwnBitmap;   // the one the canvas made
    bool FMonochrome = false;
    plat::TDeviceContext* IFastLine = nullptr;
    bool IHasPerspec = false;
    bool IHasTilt = false;
    double IOrthoX = 1;              // sign of the horizontal depth shift
    double IOrthoY = 1;              // vertical shift per depth unit
    double IZoomPerspec = 0;         // perspective strength per depth unit
    bool FBufferedDisplay = true;
    bool FDirty = true;              // the buffer holds a picture not shown yet
    bool FIs3D = false;
    double IZoomFactor = 1;
    int XCenterOffset = 0;           // screen point of the projection centre
    int YCenterOffset = 0;
};

} // namespace qel
