// How a 3D chart view is seen: orthogonal or perspective projection,
// rotation, elevation and tilt, zoom, scroll offsets, and the zoom applied
// to fonts, pens and check boxes. It holds values and tells its owner of
// changes; the 3D canvas does the projecting.
#pragma once

#include "platform/objects/events.h"
#include "platform/objects/persistent.h"

#include <cstdint>

namespace plat {
class TComponent;
} // namespace plat

namespace qel {

// Byte-sized, so that any stored byte is a value of the type.
enum TCanvasZoomText : std::uint8_t { ztManual, ztNo, ztAuto };
enum TCanvasZoomPen : std::uint8_t { zpManual, zpNo, zpAuto };

// After an offset changed: which axis scrolled.
using TChtView3DScrolled = plat::TEvent<void(bool IsHoriz)>;
// Before the zoom changes: the new zoom, rounded.
using TChtView3DChangedZoom = plat::TEvent<void(int NewZoom)>;

class TView3DOptions : public plat::TPersistent {
    PLAT_CLASS(TView3DOptions, plat::TPersistent)
public:
    explicit TView3DOptions(plat::TComponent* AParent);

    // The float values; the integer forms read them rounded (halves to
    // even) and write them whole.
    double ElevationFloat() const { return FElevation; }
    void SetElevationFloat(double Value);
    double HorizOffsetFloat() const { return FHorizOffset; }
    void SetHorizOffsetFloat(double Value);
    double RotationFloat() const { return FRotation; }
    void SetRotationFloat(double Value);
    double TiltFloat() const { return FTilt; }
    void SetTiltFloat(double Value);
    double VertOffsetFloat() const { return FVertOffset; }
    void SetVertOffsetFloat(double Value);
    double ZOffset() const { return FZOffset; }
    void SetZOffset(double Value);
    double ZoomFloat() const { return FZoom; }
    // Announces the new zoom (rounded) before storing it.
    void SetZoomFloat(double Value);

    int Elevation() const;
    void SetElevation(int Value) { SetElevationFloat(Value); }
    int HorizOffset() const;
    void SetHorizOffset(int Value) { SetHorizOffsetFloat(Value); }
    int Rotation() const;
    void SetRotation(int Value) { SetRotationFloat(Value); }
    int Tilt() const;
    void SetTilt(int Value) { SetTiltFloat(Value); }
    int VertOffset() const;
    void SetVertOffset(int Value) { SetVertOffsetFloat(Value); }
    int Zoom() const;
    void SetZoom(int Value) { SetZoomFloat(Value); }

    int FontZoom() const { return FFontZoom; }
    void SetFontZoom(int Value);
    int PenZoom() const { return FPenZoom; }
    void SetPenZoom(int Value);
    int CheckBoxZoom() const { return FCheckBoxZoom; }
    void SetCheckBoxZoom(int Value);
    int OrthoAngle() const { return FOrthoAngle; }
    void SetOrthoAngle(int Value);
    // At most 100; no lower bound.
    int Perspective() const { return FPerspective; }
    void SetPerspective(int Value);
    bool Orthogonal() const { return FOrthogonal; }
    void SetOrthogonal(bool Value);
    // The byte 255 is ignored.
    TCanvasZoomText ZoomText() const { return FZoomText; }
    void SetZoomText(TCanvasZoomText Value);
    TCanvasZoomPen ZoomPen() const { return FZoomPen; }
    void SetZoomPen(TCanvasZoomPen Value);

    plat::TComponent* Parent() const { return FParent; }
    void SetParent(plat::TComponent* Value) { FParent = Value; }

    // Seen from behind: a perspective view turned by more than 90 and
    // less than 270 degrees.
    bool BackFaced() const;

    // Asks the owner to repaint.
    void Repaint();

    // From other view options every stored value except the depth offset,
    // straight into the fields: no repaint, no events. Other sources are
    // ignored.
    void Assign(const plat::TPersistent* Source) override;

    TChtView3DScrolled OnScrolled;
    TChtView3DChangedZoom OnChangedZoom;
    plat::TNotifyEvent OnInvalidate;

private:
    template <class T>
    void Store(T& Field, T Value);
    void StoreOffset(double& Field, double Value, bool IsHoriz);

    double FElevation = 345;      // degrees
    int FFontZoom = 100;          // percent
    int FPenZoom = 100;           // percent
    int FCheckBoxZoom = 100;      // percent
    double FHorizOffset = 0;
    bool FOrthogonal = true;
    int FOrthoAngle = 45;         // degrees of the orthogonal depth axis
    int FPerspective = 15;        // percent
    double FRotation = 345;       // degrees
    double FTilt = 0;             // degrees
    double FVertOffset = 0;
    double FZOffset = 0;
    double FZoom = 100;           // percent
    TCanvasZoomText FZoomText = ztAuto;
    TCanvasZoomPen FZoomPen = zpAuto;
    plat::TComponent* FParent;    // owner; not owned
};

} // namespace qel
