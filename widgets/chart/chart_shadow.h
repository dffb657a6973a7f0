// The settings of a drop shadow (colour, direction, offsets, transparency,
// smoothing) and of an emboss, the same settings with other defaults. Fonts
// own one of each; the 3D canvas draws them.
#pragma once

#include "widgets/chart/chart_colors.h"
#include "widgets/chart/chart_points.h"
#include "widgets/chart/gradient_colors.h"

#include "platform/objects/events.h"
#include "platform/objects/persistent.h"

#include <array>
#include <span>

namespace qel {

class TCanvas3D;

enum TShadowDirection { sdLeftTop, sdLeftBottom, sdRightTop, sdRightBottom, sdCenter };

class TChtShadow : public plat::TPersistent {
    PLAT_CLASS(TChtShadow, plat::TPersistent)
public:
    // Silver, no offsets, visible, smooth, half transparent, towards the
    // bottom right; AOnChange hears of every later change.
    explicit TChtShadow(plat::TNotifyEvent AOnChange = {});

    bool Clip() const { return FClip; }
    void SetClip(bool Value);
    // clNone: no shadow.
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TShadowDirection Direction() const { return FDirection; }
    void SetDirection(TShadowDirection Value);
    int HorizSize() const { return FHorizSize; }
    void SetHorizSize(int Value);
    int VertSize() const { return FVertSize; }
    void SetVertSize(int Value);
    bool Smooth() const { return FSmooth; }
    void SetSmooth(bool Value);
    int SmoothBlur() const { return FSmoothBlur; }
    void SetSmoothBlur(int Value);
    TChtTransparency Transparency() const { return FTransparency; }
    void SetTransparency(TChtTransparency Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }

    // The larger offset, by absolute value; writing sets both offsets,
    // each announcing its own change.
    int Size() const;
    void SetSize(int Value);

    // Visible with an offset.
    bool ShouldDraw() const { return FVisible && (FHorizSize != 0 || FVertSize != 0); }

    // From another shadow or emboss every published setting, silently;
    // BlurSize, the defaults and ZPosition stay.
    void Assign(const plat::TPersistent* Source) override;

    // --- Drawing: callers test ShouldDraw first --------------------------------

    // The shadow of the polygon of the first Count points (all of P),
    // moved by the offsets whatever the direction.
    void Draw(TCanvas3D& ACanvas, std::span<const TPoint> P) const { Draw(ACanvas, P, static_cast<int>(P.size())); }
    void Draw(TCanvas3D& ACanvas, std::span<const TPoint> P, int Count) const;
    // The shadow of Rect, rounded by RoundSize, turned by Angle degrees
    // around its centre; the canvas pen comes back afterwards.
    void Draw(TCanvas3D& ACanvas, const TRect& Rect, int RoundSize, int Angle) const;
    // The shadow of the ellipse in Rect: a pie unless the angles span a
    // whole turn, a donut of DonutPercent on the smooth path.
    virtual void DrawEllipse(TCanvas3D& ACanvas, const TRect& Rect, int DonutPercent, double StartAngle,
        double EndAngle) const;

    // R moved by the offsets towards the direction; grown by them on every
    // side for sdCenter.
    TRect OffsetByDirection(const TRect& R) const;
    // The corners left-top, right-top, right-bottom, left-bottom of R turned
    // by Angle degrees around its centre.
    static std::array<TPoint, 4> TurnedCorners(const TRect& R, int Angle);

    int BlurSize = 4;          // radius of the smooth blur in pixels, at most 8191
    double ZPosition = 0;      // depth kept for owners

    // Values that are not stored.
    TColor DefaultColor = clSilver;
    int DefaultSize = 0;
    bool DefaultVisible = true;

protected:
    // Visibility and direction without notification, for the defaults of
    // a descendant.
    void InitDefaults(bool AVisible, TShadowDirection ADirection);

private:
    template <class T>
    void Store(T& Field, T Value);
    bool IsColorStored() const { return FColor != DefaultColor; }
    bool IsHorizSizeStored() const { return FHorizSize != DefaultSize; }
    bool IsVertSizeStored() const { return FVertSize != DefaultSize; }
    bool IsVisibleStored() const { return FVisible != DefaultVisible; }

    bool FClip = false;                        // darken only inside the canvas clip
    TColor FColor = clSilver;
    TShadowDirection FDirection = sdRightBottom;
    int FHorizSize = 0;                        // pixels, may be negative
    bool FSmooth = true;                       // blurred where the canvas can
    int FSmoothBlur = 0;                       // strength of the blur fall-off
    TChtTransparency FTransparency = 50;
    int FVertSize = 0;                         // pixels, may be negative
    bool FVisible = true;
    plat::TNotifyEvent IOnChange;
};

// An emboss: hidden, towards the top left.
class TChtEmboss : public TChtShadow {
    PLAT_CLASS(TChtEmboss, TChtShadow)
public:
    explicit TChtEmboss(plat::TNotifyEvent AOnChange = {});
};

} // namespace qel
