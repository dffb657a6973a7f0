// TChtCanvas: the abstract drawing surface of the chart library. It owns
// the current chart pen, brush and font and realises them on the platform
// canvas it draws on, keeps zoom percentages for pens, fonts and check
// boxes, a history of clip regions and a stack of transparencies, declares
// every drawing primitive and implements those that rest on the others or
// on the device context. The 3D canvas derives from it and draws.
#pragma once

#include "widgets/chart/chart_brush.h"
#include "widgets/chart/chart_font.h"
#include "widgets/chart/chart_gradient.h"
#include "widgets/chart/chart_pen.h"
#include "widgets/chart/chart_points.h"

#include "platform/canvas/device_context.h"
#include "platform/canvas/region.h"
#include "platform/objects/object.h"

#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace plat {
class TBitmap;
class TCanvas;
class TGraphic;
} // namespace plat

namespace qel {

class TChtBasePath;
class TChtBlend;
class TChtCorners;

enum TCanvasBackMode { cbmNone, cbmTransparent, cbmOpaque };
enum TCanvasStretchQuality { sqHigh, sqLow };

// Raised by an operation that the canvas class at hand does not implement.
class EAbstractError : public std::logic_error {
public:
    EAbstractError() : std::logic_error("Abstract Error") {}
};

class TChtCanvas : public plat::TObject {
    PLAT_CLASS(TChtCanvas, plat::TObject)
public:
    // Pen, brush and font, each telling the canvas of its changes.
    TChtCanvas();
    ~TChtCanvas() override;

    // --- Attributes -----------------------------------------------------------

    TChtPen* Pen() const { return FPen.get(); }
    TChtBrush* Brush() const { return FBrush.get(); }
    TChtFont* Font() const { return FFont.get(); }
    // The brush's gradient, made on first use.
    TChtGradient* Gradient() const { return FBrush->Gradient(); }
    // The platform canvas drawn on; not owned.
    plat::TCanvas* ReferenceCanvas() const { return FCanvas; }
    virtual void SetReferenceCanvas(plat::TCanvas* Value);
    // The off-screen picture a buffered canvas draws on, else nullptr;
    // blends take their snapshots from it.
    virtual plat::TBitmap* OffscreenBitmap() const { return nullptr; }

    const TRect& Bounds() const { return FBounds; }
    double FontZoom() const { return FFontZoom; }
    void SetFontZoom(double Value) { FFontZoom = Value; }
    double PenZoom() const { return FPenZoom; }
    void SetPenZoom(double Value) { FPenZoom = Value; }
    double CheckBoxZoom() const { return FCheckBoxZoom; }
    void SetCheckBoxZoom(double Value) { FCheckBoxZoom = Value; }
    bool Metafiling() const { return FMetafiling; }
    void SetMetafiling(bool Value) { FMetafiling = Value; }
    TCanvasStretchQuality StretchDrawQuality() const { return FStretchQuality; }
    void SetStretchDrawQuality(TCanvasStretchQuality Value) { FStretchQuality = Value; }
    bool SupportsAlpha() const { return FSupportsAlpha; }
    bool SupportsConcave() const { return FSupportsConcave; }
    // Rotated labels turn about Center instead of their anchor while Use.
    void SetTextCenter(bool Use, const TPoint& Center)
    {
        IUseTextCenter = Use;
        ITextCenter = Center;
    }
    // TextHeight of "W".
    int FontHeight() { return TextHeight(std::string_view("W")); }

    // Pen, brush, font, gradient and device state back to their defaults.
    void ResetState();

    // --- Pens, brushes and fonts ----------------------------------------------

    // The canvas brush copies ABrush, filling with AColor over ABackColor;
    // a picture or pattern brush paints AColor over ABackColor.
    virtual void AssignBrush(const TChtBrush& ABrush, TColor AColor, TColor ABackColor);
    // Fill with the brush's back colour, its colour behind.
    void AssignBrush(const TChtBrush& ABrush);
    // Fill with ABackColor, the brush's colour behind.
    void AssignBrush(const TChtBrush& ABrush, TColor ABackColor);
    void AssignBrushColor(const TChtBrush& ABrush, TColor AColor, TColor ABackColor);
    // The canvas pen copies a visible APen in AColor (black when
    // monochrome), its width zoomed; an invisible one only clears it.
    virtual void AssignVisiblePenColor(const TChtPen& APen, TColor AColor);
    void AssignVisiblePen(const TChtPen& APen);
    // The canvas font copies AFont at Size, zoomed; one FontChanged.
    void AssignFont(const TChtFont& AFont);
    void AssignFontSize(const TChtFont& AFont, float Size);
    // AColor darkened by Quantity becomes the brush colour of a solid
    // brush, else the back colour.
    void ApplyDarkColor(TColor AColor, int Quantity);
    // The brush is not clear and its gradient is visible.
    bool BrushGradientVisible() const;

    // The platform brush follows ABrush; hatches get an opaque background.
    virtual void BrushChanged(TChtBrush& ABrush);
    // The device takes the font's character spacing, the platform font the
    // font.
    virtual void FontChanged();
    // The platform pen is realised from the canvas pen.
    virtual void PenChanged();
    // Wide pens without round ends draw in their pen mode.
    virtual void ApplyPenMode(const TChtPen& APen);
    // The device's extra character spacing, set only when it differs.
    virtual void SetInterCharSize(int Value);

    // --- Text -----------------------------------------------------------------

    // Extents of the text with the font's visible shadow and emboss added.
    virtual int TextWidth(std::string_view St);
    virtual int TextHeight(std::string_view St);
    virtual TPointFloat TextSize(std::string_view St);
    virtual int TextWidth(std::u16string_view St);
    virtual int TextHeight(std::u16string_view St);
    virtual TPointFloat TextSize(std::u16string_view St);
    // The text's extent on the device; (0, 0) without one.
    plat::TSize WideTextExtent(std::u16string_view St);

    // --- Check boxes ----------------------------------------------------------

    // 12 pixels at zoom 100, else 12 zoomed, at least 1.
    virtual int GetCheckBoxSize() const;
    // A check box (or a radio button) of GetCheckBoxSize + 2 pixels at x, y.
    virtual void DrawCheckBox(int X, int Y, bool Checked, TColor ABackColor, bool CheckBox);

    // --- Transparency ---------------------------------------------------------

    std::uint8_t Transparency = 0;   // percent, 0 .. 100
    void PushTransparency();
    // No-op on an empty stack.
    void PopTransparency();
    std::size_t TransparencyDepth() const { return ITranspStack.size(); }
    // Pushes the transparency and combines T into it (opacities multiply);
    // the blend to apply at EndBlending.
    virtual std::unique_ptr<TChtBlend> BeginBlending(const TRect& R, TChtTransparency T);
    // No blend and no push for T 0; otherwise blends the points' bounds.
    std::unique_ptr<TChtBlend> BeginBlending(const TPointArray& P, TChtTransparency T);
    // Applies and frees the blend, then pops the transparency.
    virtual void EndBlending(std::unique_ptr<TChtBlend> Blend);

    // --- Colours --------------------------------------------------------------

    // clNone gives black, system colours their current value.
    static TColor SystemColor(TColor AColor);
    static std::uint8_t ColorAlpha(TColor AColor);
    static TColor ColorFrom(TColor AColor, std::uint8_t Alpha);

    // --- Abstract operations: a drawing canvas implements them ---------------

    virtual TColor GetBackColor() const;
    virtual void SetBackColor(TColor Value);
    virtual TCanvasBackMode GetBackMode() const;
    virtual void SetBackMode(TCanvasBackMode Value);
    virtual plat::TDeviceContext* GetHandle() const;
    virtual bool GetIsNoBMPGrid() const;
    virtual bool GetMonochrome() const;
    virtual void SetMonochrome(bool Value);
    virtual TColor GetPixel(int X, int Y) const;
    virtual void SetPixel(int X, int Y, TColor Value);
    virtual bool GetSupportsFullRotation() const;
    virtual bool GetSupportsXORMode() const;
    virtual int GetTextAlign() const;
    virtual void SetTextAlign(int Value);
    virtual bool GetUseBuffer() const;
    virtual void SetUseBuffer(bool Value);
    virtual void SetFastLine(bool Value);
    // Spare slots a drawing canvas may use; nothing here calls them.
    virtual bool GetSpareFlag() const { return false; }
    virtual int GetSpareValue() const;
    virtual TPointFloatArray GetFloatPoints() const { return {}; }

    virtual void Arc(int Left, int Top, int Right, int Bottom, int StartX, int StartY, int EndX, int EndY);
    virtual void Donut(int XCenter, int YCenter, int XRadius, int YRadius, double StartAngle, double EndAngle,
        double HolePercent);
    virtual void Draw(int X, int Y, plat::TGraphic* Graphic);
    virtual void Ellipse(int X1, int Y1, int X2, int Y2);
    virtual void EraseBackground(const TRect& Rect);
    virtual void FillRect(const TRect& Rect);
    virtual void GradientFill(const TRect& Rect, TColor StartColor, TColor EndColor, TGradientDirection Direction,
        int Balance, int RadialX, int RadialY);
    virtual void Invalidate();
    virtual void LineTo(int X, int Y);
    virtual void MoveTo(int X, int Y);
    virtual void Pie(const TRect& R, double StartAngle, double EndAngle);
    virtual void Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
    virtual void Polygon(std::span<const TPoint> Points);
    virtual void PolygonFloat(std::span<const TPointFloat> Points);
    virtual void Polyline(std::span<const TPoint> Points);
    virtual void PolylineFloat(std::span<const TPointFloat> Points);
    virtual void Rectangle(int X0, int Y0, int X1, int Y1);
    virtual void RotateLabel(int X, int Y, const std::string& St, double RotDegree, bool AllowHTML);
    virtual void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
    virtual void StretchDraw(const TRect& Rect, plat::TGraphic* Graphic);
    virtual void StretchRotate(const TRect& Rect, plat::TGraphic* Graphic, float Angle);
    virtual void TextOut(int X, int Y, const std::string& Text);
    // With AllowHtml the text goes to the HTML-like text output.
    void TextOut(int X, int Y, const std::string& Text, bool AllowHtml);
    virtual void ClipRectangle(const TRect& Rect);
    virtual void UnClipRectangle();

    // --- Operations on the others ---------------------------------------------

    virtual void FastLineTo(int X, int Y) { LineTo(X, Y); }
    // Tells the canvas a batch of small polygons starts (false) or ends.
    virtual void NotifyBatch(bool Value) { (void)Value; }
    virtual void LineTo(const TPointFloat& P);
    virtual void MoveTo(const TPointFloat& P);
    void LineTo(const TPoint& P) { LineTo(P.X, P.Y); }
    void MoveTo(const TPoint& P) { MoveTo(P.X, P.Y); }
    virtual void Line(int X0, int Y0, int X1, int Y1);
    void Line(const TPoint& FromPoint, const TPoint& ToPoint) { Line(FromPoint.X, FromPoint.Y, ToPoint.X, ToPoint.Y); }
    virtual void DoHorizLine(int X0, int X1, int Y);
    virtual void DoVertLine(int X, int Y0, int Y1);
    void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
    void DoRectangle(const TRect& Rect) { Rectangle(Rect); }
    void Ellipse(const TRect& R) { Ellipse(R.Left, R.Top, R.Right, R.Bottom); }
    // With corners: the corners' outline path drawn on this canvas.
    void RoundRect(const TRect& R, int X, int Y, const TChtCorners* ACorners = nullptr);
    // Polygon when closed, else Polyline; tension and depth are not used.
    virtual void Curve(std::span<const TPoint> Points, float Tension, bool Closed, float Z);
    virtual void PolygonConcave(std::span<const TPoint> Points) { Polygon(Points); }
    // A path recording on this canvas's device; the arguments are not used.
    virtual std::unique_ptr<TChtBasePath> CreatePath(const TPointFloatArray& Points, const TPathPointTypes& Types);
    std::unique_ptr<TChtBasePath> CreatePath();

    // --- Shapes and geometry ----------------------------------------------------

    // The arc of the ellipse in the box from StartAngle to EndAngle (degrees,
    // counter-clockwise from three o'clock), the smaller angle first.
    virtual void Arc(int Left, int Top, int Right, int Bottom, float StartAngle, float EndAngle);
    void Arc(const TRect& R, float StartAngle, float EndAngle) { Arc(R.Left, R.Top, R.Right, R.Bottom, StartAngle, EndAngle); }
    // The device's arc-to in the given direction: a line from the current
    // position to the arc's start, the arc, the position at its end.
    virtual void ArcTo(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4, bool ClockWise);
    // Width bevelled frame lines, TopColor above and left, BottomColor
    // below and right; Rect becomes the area inside.
    virtual void Frame3D(TRect& Rect, TColor TopColor, TColor BottomColor, int Width);
    // The seven points of an arrow from FromPoint to ToPoint: the shaft
    // ArrowPercent of ArrowWidth wide, the head ArrowWidth wide and at most
    // ArrowHeight long; none when the points are equal.
    static TPointArray GetArrowPoints(float ArrowPercent, const TPoint& FromPoint, const TPoint& ToPoint,
        int ArrowWidth, int ArrowHeight);
    // A filled arrow polygon, or a shaft with an open head.
    void Arrow(bool Filled, double ArrowPercent, const TPoint& FromPoint, const TPoint& ToPoint, int ArrowWidth,
        int ArrowHeight);
    // Every turn goes the same way; collinear points are not convex.
    static bool IsConvexPolygon(std::span<const TPoint> P);
    static bool IsConvexPolygon(std::span<const TPointFloat> P);
    // Replaces Points by their convex hull, the pivot (lowest, then
    // rightmost point) last; false for fewer than 3 points.
    static bool ConvexHull(TPointArray& Points);

    // --- Clipping -------------------------------------------------------------

    // Rect as a region of the canvas's device.
    static plat::TRegion Clip(plat::TCanvas& ACanvas, const TRect& Rect);
    void Clip(const TRect& Rect);
    virtual void ClipRectangle(const TRect& Rect, int RoundX, int RoundY);
    // Inverted: only outside the ellipse stays drawable.
    virtual void ClipEllipse(const TRect& Rect, bool Inverted);
    // The first NumPoints points; DiffRegion cuts the polygon out.
    virtual void ClipPolygon(std::span<const TPoint> Points, int NumPoints, bool DiffRegion);
    // Back to the clip before the last clip; none left: no clip.
    void UnClip();
    void ClearClipHistory();
    // The clip areas in force before each clip made, the last on top.
    const std::vector<plat::TRegion>& ClipHistory() const { return FClipHistory; }

    // The device context with the platform canvas's pen, brush and font
    // selected into it, for calls made straight on the device.
    plat::TDeviceContext* DeviceContext() const;

protected:
    // Saves the clip area in force (if any), then combines Region into it.
    void ApplyClipRegion(plat::TDeviceContext* DC, const plat::TRegion* Region, int Mode);

    TRect FBounds;                           // drawing bounds, set by the implementation
    bool IChangingFont = false;              // the canvas rewrites its own font
    bool FSupportsAlpha = false;             // blends natively
    bool FSupportsConcave = true;            // fills concave polygons directly
    bool IZoomText = false;                  // apply FontZoom to assigned fonts
    bool IZoomPen = false;                   // apply PenZoom to assigned pens
    bool IUseTextCenter = false;             // rotated text turns around ITextCenter
    TPoint ITextCenter;

private:
    void PenEvent(plat::TObject* Sender);
    void BrushEvent(plat::TObject* Sender);
    void FontEvent(plat::TObject* Sender);
    plat::TSize MeasuredExtent(plat::TSize Extent) const;

    std::unique_ptr<TChtPen> FPen;
    std::unique_ptr<TChtBrush> FBrush;
    std::unique_ptr<TChtFont> FFont;
    plat::TCanvas* FCanvas = nullptr;        // not owned
    std::vector<plat::TRegion> FClipHistory;
    TCanvasStretchQuality FStretchQuality = sqHigh;
    bool FMetafiling = false;                // recording a metafile: no blending
    std::vector<std::uint8_t> ITranspStack;  // saved transparencies
    double FFontZoom = 0;                    // percent
    double FPenZoom = 0;                     // percent
    double FCheckBoxZoom = 0;                // percent
};

} // namespace qel
