// TPieDrawer: draws one slice of a 3D pie on a 3D chart canvas, with an
// optional hole, bevelled top edge, dark sides and hidden faces. It holds
// the slice's rims and corner points for one call and draws the faces
// farthest first, so nearer faces cover them.
#pragma once

#include "widgets/chart/canvas3d.h"

namespace qel {

class TChtCanvas3D;

// The slice as Pie3D is asked for it; angles in radians.
struct TPie3DSlice {
    int XCenter = 0;
    int YCenter = 0;
    int XRadius = 0;
    int YRadius = 0;
    int Z0 = 0;
    int Z1 = 0;
    double StartAngle = 0;
    double EndAngle = 0;
    bool DarkSides = false;
    bool DrawSides = false;
    int DonutPercent = 0;
    const TCustomChtGradient* Gradient = nullptr;
    int BevelPercent = 0;
    TEdgeStyle EdgeStyle = edNone;
    TChtTransparency Transparency = 0;
    int BevelBright = 0;
    bool BevelBorder = false;
    bool HideSides = false;
};

class TPieDrawer {
public:
    TPieDrawer(TChtCanvas3D& Canvas, const TPie3DSlice& Slice);

    // Bottom (when seen through), sides, top and edges.
    void Draw();

    // Whole turns taken off down to 360 (or up to -360), then one turn
    // added to a negative angle: 0 .. 360, 360 kept.
    static int NormalizeAngle(int a);

    int StartAngle() const { return iStartAngle; }
    int EndAngle() const { return iEndAngle; }
    bool FullCircle() const { return Full360; }
    int Thickness() const { return zPos; }
    const TRect& HoleRect() const { return z0DonutRect; }
    const TRect& BevelTopRect() const { return z0BevelRect; }
    const TRect& BevelBottomRect() const { return z1BevelRect; }

private:
    void SetDonutRect(const TRect& R);
    void SetBevelRect(const TRect& R, int dy);
    // The rim points at the start and end angles of a top and a bottom
    // rectangle.
    void SetEnds(const TRect& Top, const TRect& Bottom, TPoint& Start0, TPoint& End0, TPoint& Start1,
        TPoint& End1) const;
    TPoint RimPoint(const TRect& R, int Degree) const;
    TPoint PieStartPoint(const TRect& R) const { return RimPoint(R, iStartAngle); }
    TPoint PieEndPoint(const TRect& R) const { return RimPoint(R, iEndAngle); }
    void CalcPiePoints(const TPoint& P);
    void AddArcPoints(TPointFloatArray& Points, int a, int b, const TRect& R) const;
    void DrawBand(int a, int b, const TRect& Ra, const TRect& Rb);
    bool BeginArcPath();
    void FillArcPath();
    void ArcToRect(const TRect& R, const TPoint& From, const TPoint& To, bool ClockWise);
    void DrawFace(int a, int b, bool UseBevel, const TPoint& Centre, const TRect& Outer, const TRect& Inner);
    void DrawBottom();
    void DrawTop();
    void DrawBevel(int a, int b);
    void DrawInnerSide(int a, int b);
    void DrawFlatSide(const TPoint& D0, const TPoint& B0, const TPoint& B1, const TPoint& P0, const TPoint& P1,
        const TPoint& D1);
    void DrawStartSide();
    void DrawEndSide();
    void DrawOuterSide(int a, int b);
    void DrawSides(int a, int b);
    void DrawEdges();
    void DrawColouredSides();

    TChtCanvas3D& ICanvas;
    TPie3DSlice FSlice;
    TRect z0Rect, z1Rect;
    TRect z0DonutRect, z1DonutRect;
    TRect z0BevelRect, z1BevelRect;
    int zPos = 0;
    TPoint middle0, middle1;
    TPoint start0, end0, start1, end1;
    TPoint startD0, endD0, startD1, endD1;
    TPoint startB0, endB0, startB1, endB1;
    int sweepAngle = 0;
    bool isDonut = false;
    bool drawEntirePie = false;
    bool hasBevel = false;
    TColor OldColor = 0;
    int iStartAngle = 0;
    int iEndAngle = 0;
    bool Full360 = false;
};

} // namespace qel
