// The solids of the 3D canvas interface: a drawing canvas implements them;
// the pie edge hook draws nothing unless a canvas draws rim edges.
#include "widgets/chart/canvas3d.h"

namespace qel {

namespace {

[[noreturn]] void NotImplemented()
{
    throw EAbstractError();
}

} // namespace

void TCanvas3D::Cube(int, int, int, int, int, int, bool, int) { NotImplemented(); }
void TCanvas3D::Cube(int, int, int, int, int, int, int, bool, int) { NotImplemented(); }
void TCanvas3D::Cylinder(bool, int, int, int, int, int, int, bool) { NotImplemented(); }
void TCanvas3D::Cone(bool, int, int, int, int, int, int, bool, int) { NotImplemented(); }
void TCanvas3D::Pyramid(bool, int, int, int, int, int, int, bool) { NotImplemented(); }
void TCanvas3D::Sphere(int, int, int, double) { NotImplemented(); }
void TCanvas3D::Surface3D(TChtCanvasSurfaceStyle, bool, bool, bool, int, int, const TChtCanvasCalcPoints&,
    TChtCachedObject*&)
{
    NotImplemented();
}
void TCanvas3D::Pie3D(int, int, int, int, int, int, double, double, bool, bool, int, const TCustomChtGradient*, int,
    TEdgeStyle, TChtTransparency, int, bool, bool)
{
    NotImplemented();
}
void TCanvas3D::DrawPieEdge(TEdgeStyle, int, const TRect&, const TRect&, const TRect&, int, int, const TPoint&, bool)
{
}

} // namespace qel
