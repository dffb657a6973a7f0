// The 3D chart canvas's drawing pass: window set-up with the off-screen
// bitmap, the projection and its inverse, box clipping, the buffered
// display, and device state and lines passed through to the device.
#include "widgets/chart/cht_canvas3d.h"

#include "widgets/chart/chart_canvas_unit.h"
#include "widgets/chart/chart_shadow.h"
#include "widgets/chart/shadow_blur.h"
#include "widgets/chart/view3d_options.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/canvas.h"

#include <algorithm>
#include <cmath>

namespace qel {

PLAT_DEFINE_CLASS(TChtCanvas3D, TCanvas3D)

namespace {

// Cosines below this make a view edge-on: the inverse leaves points alone.
constexpr double LeastDivisor = 0.00001;

} // namespace

TChtCanvas3D::TChtCanvas3D()
{
    SetFontZoom(100);
    SetPenZoom(100);
    SetCheckBoxZoom(100);
    IZoomText = true;
    IZoomPen = true;
}

TChtCanvas3D::~TChtCanvas3D()
{
    DeleteBitmap();
}

// --- Drawing pass ---------------------------------------------------------------------

TRect TChtCanvas3D::InitWindow(plat::TCanvas* DestCanvas, TView3DOptions* A3DOptions, TColor ABackColor, bool Is3D,
    const TRect& UserRect)
{
    (void)ABackColor;
    FBounds = UserRect;
    F3DOptions = A3DOptions;
    if (A3DOptions != nullptr) {
        SetFontZoom(A3DOptions->FontZoom());
        IZoomText = A3DOptions->ZoomText() != ztNo;
        SetPenZoom(A3DOptions->PenZoom());
        IZoomPen = A3DOptions->ZoomPen() != zpNo;
        SetCheckBoxZoom(A3DOptions->CheckBoxZoom());
    }
    FIs3D = Is3D;
    FIsOrthogonal = false;
    IZoomFactor = 1.0;
    if (Is3D) {
        if (A3DOptions != nullptr) {
            FIsOrthogonal = A3DOptions->Orthogonal();
        }
        if (FIsOrthogonal) {
            int Angle = A3DOptions->OrthoAngle();
            IOrthoX = 1;
            if (Angle > 90) {
                IOrthoX = -1;
                Angle = 180 - Angle;
            }
            const double Radians = Angle * DegToRad;
            IOrthoY = std::cos(Radians) < 0.01 ? 1 : std::sin(Radians) / std::cos(Radians);
        }
        SetUpRotation();
    }
    TRect Result = UserRect;
    if (GetUseBuffer()) {
        const int Width = plat::SaturateInt(std::int64_t{UserRect.Right} - UserRect.Left);
        const int Height = plat::SaturateInt(std::int64_t{UserRect.Bottom} - UserRect.Top);
        if (FBitmap == nullptr) {
            // 32 bits a pixel from the start: the blur of smooth text
            // shadows works on 32-bit rows, and converting the bitmap then
            // would give it a new device context in the middle of a text.
            FOwnBitmap = std::make_unique<plat::TBitmap>();
            FOwnBitmap->SetPixelFormat(plat::pf32bit);
            FBitmap = FOwnBitmap.get();
        }
        SetBitmapSize(*FBitmap, std::max(Width, 0), std::max(Height, 0));
        SetReferenceCanvas(FBitmap->Canvas());
        Result = {0, 0, FBitmap->Width(), FBitmap->Height()};
    } else {
        SetReferenceCanvas(DestCanvas);
    }
    SetBackMode(cbmOpaque);
    return Result;
}

void TChtCanvas3D::SetUpRotation()
{
    if (FIsOrthogonal) {
        return;
    }
    double Elevation = 0;
    double Rotation = 0;
    int Tilt = 0;
    if (F3DOptions != nullptr) {
        Elevation = -F3DOptions->ElevationFloat();
        Rotation = -F3DOptions->RotationFloat();
        Tilt = F3DOptions->Tilt();
    }
    IHasPerspec = false;
    IZoomPerspec = 0;
    s1 = std::sin(Elevation * DegToRad);
    c1 = std::cos(Elevation * DegToRad);
    s2 = std::sin(Rotation * DegToRad);
    c2 = std::cos(Rotation * DegToRad);
    IHasTilt = Tilt != 0;
    s3 = std::sin(Tilt * DegToRad);
    c3 = std::cos(Tilt * DegToRad);
    c2s3 = c2 * s3;
    c2c3 = std::max(LeastDivisor, c2 * c3);
    tempXX = std::max(LeastDivisor, s1 * s2 * s3 + c1 * c3);
    tempYX = c3 * s1 * s2 - c1 * s3;
    tempXZ = c1 * s2 * s3 - c3 * s1;
    tempYZ = c1 * c3 * s2 + s1 * s3;
}

void TChtCanvas3D::Projection(int MaxDepth, const TRect& ABounds, const TRect& Rect)
{
    (void)ABounds;
    FXCenter = static_cast<int>((std::int64_t{Rect.Left} + Rect.Right) / 2);
    FYCenter = static_cast<int>((std::int64_t{Rect.Top} + Rect.Bottom) / 2);
    FXCenter = plat::SaturateInt(std::int64_t{FXCenter} + RoundToPixel(RotationCenter.X));
    FYCenter = plat::SaturateInt(std::int64_t{FYCenter} + RoundToPixel(RotationCenter.Y));
    FZCenter = RoundToPixel(MaxDepth * 0.5 + RotationCenter.Z);
    XCenterOffset = FXCenter;
    YCenterOffset = FYCenter;
    if (F3DOptions == nullptr) {
        return;
    }
    XCenterOffset = plat::SaturateInt(std::int64_t{XCenterOffset} + F3DOptions->HorizOffset());
    YCenterOffset = plat::SaturateInt(std::int64_t{YCenterOffset} + F3DOptions->VertOffset());
    if (FIs3D) {
        IZoomFactor = F3DOptions->ZoomFloat() * 0.01;
    }
    IHasPerspec = F3DOptions->Perspective() > 0;
    if (IHasPerspec) {
        const double Width = std::max(1.0, static_cast<double>(Rect.Right) - Rect.Left);
        IZoomPerspec = IZoomFactor * F3DOptions->Perspective() * (1.0 / 120) / Width;
    }
}

// --- Projection -----------------------------------------------------------------------

void TChtCanvas3D::Project3D(int& X, int& Y, int Z) const
{
    if (!FIs3D) {
        return;
    }
    if (FIsOrthogonal) {
        const double Across = (static_cast<double>(X) - FXCenter) + IOrthoX * Z;
        const double Down = (static_cast<double>(Y) - FYCenter) - IOrthoY * Z;
        X = plat::SaturateInt(std::int64_t{RoundToPixel(IZoomFactor * Across)} + XCenterOffset);
        Y = plat::SaturateInt(std::int64_t{RoundToPixel(IZoomFactor * Down)} + YCenterOffset);
        return;
    }
    const double x = static_cast<double>(X) - FXCenter;
    const double y = static_cast<double>(Y) - FYCenter;
    const double z = static_cast<double>(Z) - FZCenter;
    const double d = z * c2 - x * s2;
    const double Zoom = IHasPerspec ? IZoomFactor / (IZoomPerspec * (d * c1 + y * s1) + 1) : IZoomFactor;
    const double u = x * c2 + z * s2;
    const double v = y * c1 - d * s1;
    double Across = u;
    double Down = v;
    if (IHasTilt) {
        Across = u * c3 - v * s3;
        Down = v * c3 + u * s3;
    }
    X = plat::SaturateInt(std::int64_t{RoundToPixel(Across * Zoom)} + XCenterOffset);
    Y = plat::SaturateInt(std::int64_t{RoundToPixel(Down * Zoom)} + YCenterOffset);
}

TPoint TChtCanvas3D::Calculate3DPosition(int X, int Y, int Z) const
{
    Project3D(X, Y, Z);
    return {X, Y};
}

void TChtCanvas3D::Calculate3DPosition(TPointFloat& P, float ZPos) const
{
    const auto Zoom = static_cast<float>(IZoomFactor);
    const auto XOffset = static_cast<float>(XCenterOffset);
    const auto YOffset = static_cast<float>(YCenterOffset);
    const float x = P.X - static_cast<float>(FXCenter);
    const float y = P.Y - static_cast<float>(FYCenter);
    if (!FIs3D) {
        P = {Zoom * x + XOffset, Zoom * y + YOffset};
        return;
    }
    if (FIsOrthogonal) {
        P = {Zoom * (x + static_cast<float>(IOrthoX) * ZPos) + XOffset,
            Zoom * (y - static_cast<float>(IOrthoY) * ZPos) + YOffset};
        return;
    }
    const float z = ZPos - static_cast<float>(FZCenter);
    const auto S1 = static_cast<float>(s1);
    const auto C1 = static_cast<float>(c1);
    const auto S2 = static_cast<float>(s2);
    const auto C2 = static_cast<float>(c2);
    const auto S3 = static_cast<float>(s3);
    const auto C3 = static_cast<float>(c3);
    const float d = z * C2 - x * S2;
    const float Scale = IHasPerspec ? Zoom / (static_cast<float>(IZoomPerspec) * (d * C1 + y * S1) + 1) : Zoom;
    const float u = x * C2 + z * S2;
    const float v = y * C1 - d * S1;
    P = {(u * C3 - v * S3) * Scale + XOffset, (v * C3 + u * S3) * Scale + YOffset};
}

void TChtCanvas3D::Calculate2DPosition(int& X, int& Y, int Z) const
{
    if (IZoomFactor == 0) {
        return;
    }
    const double k = 1 / IZoomFactor;
    if (FIsOrthogonal) {
        X = plat::SaturateInt(
            std::int64_t{RoundToPixel((static_cast<double>(X) - XCenterOffset) * k - IOrthoX * Z)} + FXCenter);
        Y = plat::SaturateInt(
            std::int64_t{RoundToPixel((static_cast<double>(Y) - YCenterOffset) * k + IOrthoY * Z)} + FYCenter);
        return;
    }
    if (!FIs3D || tempXX == 0 || c2c3 == 0) {
        return;
    }
    // Both coordinates solved from the given screen point at depth Z; the
    // perspective is not undone.
    const double X0 = X;
    const double Y0 = Y;
    const double z = static_cast<double>(Z) - FZCenter;
    const double x = ((X0 - XCenterOffset) * k - z * tempXZ - (Y0 - FYCenter) * c2s3) / tempXX;
    const double y = ((Y0 - YCenterOffset) * k - z * tempYZ - (X0 - FXCenter) * tempYX) / c2c3;
    X = plat::SaturateInt(std::int64_t{RoundToPixel(x)} + FXCenter);
    Y = plat::SaturateInt(std::int64_t{RoundToPixel(y)} + FYCenter);
}

void TChtCanvas3D::DisableRotation()
{
    FWas3D = FIs3D;
    FIs3D = false;
}

void TChtCanvas3D::EnableRotation()
{
    FIs3D = FWas3D;
}

void TChtCanvas3D::ClipCube(const TRect& Rect, int MinZ, int MaxZ)
{
    if (FIs3D) {
        const TPointArray Hull = CubeHull(Rect, MinZ, MaxZ);
        ClipPolygon(Hull, static_cast<int>(Hull.size()), false);
        return;
    }
    ClipRectangle({plat::SaturateInt(std::int64_t{Rect.Left} + 1), plat::SaturateInt(std::int64_t{Rect.Top} + 1),
        Rect.Right, plat::SaturateInt(std::int64_t{Rect.Bottom} - 1)});
}

// --- Buffered display -----------------------------------------------------------------

void TChtCanvas3D::ShowImage(plat::TCanvas* DestCanvas, plat::TCanvas* DefaultCanvas, const TRect& UserRect)
{
    if (GetUseBuffer() && FBitmap) {
        BlitBitmap(UserRect.Left, UserRect.Top, DestCanvas);
        FDirty = false;
    }
    SetReferenceCanvas(DefaultCanvas);
}

bool TChtCanvas3D::ReDrawBitmap()
{
    if (FDirty) {
        return false;
    }
    BlitBitmap(0, 0, ReferenceCanvas());
    return true;
}

bool TChtCanvas3D::RenderToBitmap(plat::TBitmap& ABitmap, const TRect& R)
{
    if (FDirty || !GetUseBuffer() || FBitmap == nullptr || R != TRect{0, 0, FBitmap->Width(), FBitmap->Height()}) {
        return false;
    }
    ABitmap.Assign(FBitmap);
    return true;
}

void TChtCanvas3D::BlitBitmap(int X, int Y, plat::TCanvas* ACanvas)
{
    if (FBitmap == nullptr || ACanvas == nullptr || ACanvas->Handle() == nullptr || FBitmap->Empty()) {
        return;
    }
    ACanvas->RequireState();
    ACanvas->Handle()->BitBlt(X, Y, FBitmap->Width(), FBitmap->Height(), FBitmap->Canvas()->Handle(), 0, 0,
        plat::SRCCOPY);
}

void TChtCanvas3D::DeleteBitmap()
{
    if (FBitmap != nullptr && ReferenceCanvas() == FBitmap->Canvas()) {
        SetReferenceCanvas(nullptr);
    }
    FBitmap = nullptr;
    FOwnBitmap.reset();
}

void TChtCanvas3D::SetUseBuffer(bool Value)
{
    if (Value == FBufferedDisplay) {
        return;
    }
    FBufferedDisplay = Value;
    if (FBitmap == nullptr) {
        return;
    }
    if (Value) {
        SetReferenceCanvas(FBitmap->Canvas());
        return;
    }
    if (IKeepBitmap) {
        return;
    }
    DeleteBitmap();
    SetReferenceCanvas(nullptr);
    FDirty = true;
}

void TChtCanvas3D::SetMonochrome(bool Value)
{
    if (Value == FMonochrome) {
        return;
    }
    FMonochrome = Value;
    FDirty = true;
    if (F3DOptions != nullptr) {
        F3DOptions->Repaint();
    }
}

// --- Shadows ------------------------------------------------------------------------

void TChtCanvas3D::DrawShadow(const TChtShadow& Shadow, const TRect& Rect, bool IsEllipse, int RoundSize,
    std::span<const TPoint> Points, int HolePercent, double StartAngle, double EndAngle)
{
    if (Shadow.Smooth() && !Metafiling() && OffscreenBitmap() != nullptr) {
        SmoothShadow(Shadow, *this, Rect, IsEllipse, RoundSize, Points, HolePercent);
        return;
    }
    TCanvas3D::DrawShadow(Shadow, Rect, IsEllipse, RoundSize, Points, HolePercent, StartAngle, EndAngle);
}

// --- Device state and lines -----------------------------------------------------------

plat::TDeviceContext* TChtCanvas3D::GetHandle() const
{
    return ReferenceCanvas() != nullptr ? ReferenceCanvas()->Handle() : nullptr;
}

TColor TChtCanvas3D::GetBackColor() const
{
    const plat::TDeviceContext* DC = GetHandle();
    return DC != nullptr ? static_cast<TColor>(DC->GetBkColor()) : clNone;
}

void TChtCanvas3D::SetBackColor(TColor Value)
{
    if (plat::TDeviceContext* DC = GetHandle(); DC != nullptr) {
        DC->SetBkColor(plat::ToColorRef(Value));
    }
}

TCanvasBackMode TChtCanvas3D::GetBackMode() const
{
    const plat::TDeviceContext* DC = GetHandle();
    if (DC == nullptr) {
        return cbmNone;
    }
    switch (DC->GetBkMode()) {
    case plat::TRANSPARENT: return cbmTransparent;
    case plat::OPAQUE: return cbmOpaque;
    default: return cbmNone;
    }
}

void TChtCanvas3D::SetBackMode(TCanvasBackMode Value)
{
    plat::TDeviceContext* DC = GetHandle();
    if (DC == nullptr || Value == cbmNone) {
        return;
    }
    DC->SetBkMode(Value == cbmOpaque ? plat::OPAQUE : plat::TRANSPARENT);
}

int TChtCanvas3D::GetTextAlign() const
{
    const plat::TDeviceContext* DC = GetHandle();
    return DC != nullptr ? static_cast<int>(DC->GetTextAlign()) : 0;
}

void TChtCanvas3D::SetTextAlign(int Value)
{
    if (plat::TDeviceContext* DC = GetHandle(); DC != nullptr) {
        DC->SetTextAlign(static_cast<std::uint32_t>(Value));
    }
}

void TChtCanvas3D::MoveTo(int X, int Y)
{
    if (plat::TDeviceContext* DC = DeviceContext(); DC != nullptr) {
        DC->MoveTo(X, Y);
    }
}

void TChtCanvas3D::LineTo(int X, int Y)
{
    if (plat::TDeviceContext* DC = DeviceContext(); DC != nullptr) {
        DC->LineTo(X, Y);
    }
}

void TChtCanvas3D::Polyline(std::span<const TPoint> Points)
{
    if (plat::TDeviceContext* DC = DeviceContext(); DC != nullptr && !Points.empty()) {
        DC->Polyline(Points.data(), static_cast<int>(std::min<std::size_t>(Points.size(), 0x7FFFFFFF)));
    }
}

void TChtCanvas3D::SetFastLine(bool Value)
{
    IFastLine = Value ? DeviceContext() : nullptr;
}

void TChtCanvas3D::FastLineTo(int X, int Y)
{
    if (IFastLine != nullptr) {
        IFastLine->LineTo(X, Y);
    }
}

} // namespace qel
