// TPgcTabPainter: draws a notebook's tabs in the classic look: the band in
// the parent's colour, the rows of chamfered tabs with their 3D edges and
// captions (engraved when disabled, shadowed on request, turned sideways on
// the left and right edges), the body frame opened under the active tab,
// the active tab once more, larger, and the focus frame.
//
// Shapes are worked out as for tabs on the top edge, in coordinates along
// the tab edge (u) and into the notebook from that edge (v), and mapped to
// the edge the tabs stand on. Edges facing up or left are lit (highlight),
// edges facing down or right are dark (black outside, shadow inside), so on
// the bottom and right edges the outer edge of a tab and the body's edge
// under the tabs are the dark ones.
#pragma once

#include "widgets/pages/pgc_tab_geometry.h"

#include "platform/canvas/canvas.h"

#include <initializer_list>
#include <string>

namespace qel {

class TPgcNotebook;
class TPgcTabPage;

// The text whose height sets the tab height and the caption offsets ("Wy").
std::string TabMeasureText();

class TPgcTabPainter {
public:
    TPgcTabPainter(TPgcNotebook& Notebook, plat::TCanvas& Canvas);

    // Paints the tabs of a notebook that has pages and a tab height.
    void Paint();

private:
    // A tab in tab-edge coordinates: left and right ends along the edge,
    // its outer row and the row of the body's edge.
    struct TTabShape {
        int L;
        int T0;
        int Rt;
        int B;
    };

    plat::TPoint Map(int U, int V) const;
    TTabShape ShapeOf(const plat::TRect& Area) const;
    void Lines(std::initializer_list<plat::TPoint> Points, plat::TColor Color);
    void UseBrushAndPen(plat::TColor Color);
    // The font, turned for captions on the left and right edges.
    void UseFont(const plat::TFont& Font);
    bool DarkOuterEdge() const;

    void FillBand();
    void DrawTab(const TTabPlacement& Tab, const plat::TRect& Area, bool Active, int TextOffset);
    void DrawOutline(const TTabShape& Shape, plat::TColor TabColor);
    void DrawBodyFrame(const TTabShape& Shape);
    void FillCorners(const TTabPlacement& Tab);
    void FillCorner(std::initializer_list<plat::TPoint> Triangle, plat::TPoint Outside, bool PickColor);

    void DrawCaption(const TPgcTabPage& Page, const plat::TRect& Area, bool Enabled, int TextOffset);
    // The caption once, at an offset, in a colour, opaque or transparent.
    void DrawCaptionText(const std::string& Caption, const plat::TRect& Area, int TextOffset, plat::TPoint Offset,
                         plat::TColor Color, bool Opaque);
    void DrawSidewaysText(const std::string& Caption, const plat::TRect& Area, int TextOffset, plat::TPoint Offset);
    int TextOffset(bool Active);

    TPgcNotebook& FNotebook;
    plat::TCanvas& FCanvas;
    TPgcTabOrientation FOrientation;
    int FWidth;        // of the notebook
    int FHeight;
    int FAlong;        // the notebook's extent along the tab edge
    int FDepth;        // and into it from the tab edge
    int FTabHeight;
    plat::TColor FParentColor;
};

} // namespace qel
