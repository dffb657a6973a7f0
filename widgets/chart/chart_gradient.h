// The settings of a chart gradient: direction, colour stops with the start,
// middle and end colours read from them, balance, radial centre offset,
// rotation and an optional second gradient drawn over the first with its
// own transparency. Brushes and fonts carry one each; every effective
// change reaches the owner through one change notification.
#pragma once

#include "widgets/chart/gradient_colors.h"

#include "platform/canvas/graphics_types.h"
#include "platform/objects/events.h"
#include "platform/objects/persistent.h"

#include <array>
#include <memory>
#include <span>

namespace plat {
class TBitmap;
} // namespace plat

namespace qel {

enum TGradientDirection {
    gdTopBottom,
    gdBottomTop,
    gdLeftRight,
    gdRightLeft,
    gdFromCenter,
    gdFromTopLeft,
    gdFromBottomLeft,
    gdRadial,
    gdDiagonalUp,
    gdDiagonalDown,
};

class TCanvas3D;
class TChtCanvas;
class TChtCanvas3D;
class TSubGradient;

class TCustomChtGradient : public plat::TPersistent {
    PLAT_CLASS(TCustomChtGradient, plat::TPersistent)
public:
    // Sets the defaults without notifying; ChangedEvent then hears of
    // every effective change.
    explicit TCustomChtGradient(plat::TNotifyEvent ChangedEvent = {});
    ~TCustomChtGradient() override;

    int Angle() const { return FAngle; }
    void SetAngle(int Value);
    int Balance() const { return FBalance; }
    void SetBalance(int Value);
    TGradientDirection Direction() const { return FDirection; }
    void SetDirection(TGradientDirection Value);
    int RadialX() const { return FRadialX; }
    void SetRadialX(int Value);
    int RadialY() const { return FRadialY; }
    void SetRadialY(int Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    // Setting EndColor also sets the first stop.
    bool StartIsEnd() const { return FStartIsEnd; }
    void SetStartIsEnd(bool Value) { FStartIsEnd = Value; }

    // Made on first read with a start and an end stop. nullptr frees the
    // list (the default colours answer again); any other list is copied.
    TChtGradientColors* Colors() const;
    void SetColors(const TChtGradientColors* Value);
    // Puts the two default end stops back into an existing list, quietly.
    void ResetColors();

    // Without a stop list the defaults; StartColor and EndColor of an
    // empty list, and MidColor of fewer than three stops, are clNone.
    TColor StartColor() const;
    void SetStartColor(TColor Value);
    TColor EndColor() const;
    void SetEndColor(TColor Value);
    TColor MidColor() const;
    // clNone removes the middle stop; another colour inserts one at 0.5
    // when there are no more than two stops, else recolours the second.
    void SetMidColor(TColor Value);
    // MidColor := the last middle colour set.
    void UseMiddleColor();

    // Made on first read, at transparency 50. nullptr frees it; another
    // gradient is copied together with its transparency.
    TSubGradient* SubGradient() const;
    void SetSubGradient(const TSubGradient* Value);
    bool HasSubGradient() const { return FSub != nullptr; }

    const plat::TNotifyEvent& Changed() const { return IChanged; }
    void SetChanged(const plat::TNotifyEvent& Value) { IChanged = Value; }
    // Tells the listener of a change, unless changes are held back.
    void DoChanged();

    // Copies another gradient's settings, stops and second gradient (a
    // source without them frees this one's); one notification.
    void Assign(const plat::TPersistent* Source) override;

    // The settings of a new gradient again, quietly: invisible, top to
    // bottom, default stops (when there is a list), balance 50, unturned,
    // centred.
    void Reset();

    // Fills Rect of Canvas (rounded by RoundRectSize when above 0) through
    // the canvas's own gradient, which takes this one's settings; then a
    // visible second gradient is drawn over it, blended by its
    // transparency.
    void Draw(TChtCanvas& Canvas, const plat::TRect& Rect, int RoundRectSize) const;
    // The quadrilateral P filled through the canvas's gradient, without
    // outline.
    void Draw(TChtCanvas& Canvas, const std::array<plat::TPoint, 4>& P) const;
    // The same with P's corners projected at depth Z.
    void Draw(TCanvas3D& Canvas, const std::array<plat::TPoint, 4>& P, int Z) const;
    // The polygon P, projected at depth Z when Is3D, filled through the
    // canvas's gradient with the canvas's pen.
    void Draw(TCanvas3D& Canvas, std::span<const plat::TPoint> P, int Z, bool Is3D) const;
    // Concentric ellipses from the end colour at the edge of Rect to the
    // start colour at its centre (moved by RadialX, RadialY), clipped to
    // Rect. A rectangle without width and height paints nothing.
    void DrawRadial(TChtCanvas& Canvas, const plat::TRect& Rect) const;
    // The fill unturned on a bitmap large enough for the turn, turned by
    // Angle through GradientRotateHook and drawn centred on Rect, clipped
    // to it.
    void DrawRotated(TChtCanvas3D& Canvas, const plat::TRect& Rect) const;

    // Defaults of the stored rules; an owner with other defaults sets them
    // right after construction.
    TGradientDirection IDefDirection = gdTopBottom;
    TColor IDefStart = clWhite;
    TColor IDefEnd = clYellow;
    TColor IDefMid = clNone;
    bool IDefVisible = false;

protected:
    // The second gradient drawn over Rect, blended by its transparency.
    void DrawSubGradient(TChtCanvas& Canvas, const plat::TRect& Rect, int RoundRectSize) const;

    // Holds change notifications back while it lives.
    class TQuietChanges {
    public:
        explicit TQuietChanges(const TCustomChtGradient& Gradient) : FGradient(Gradient) { ++FGradient.FQuiet; }
        ~TQuietChanges() { --FGradient.FQuiet; }
        TQuietChanges(const TQuietChanges&) = delete;
        TQuietChanges& operator=(const TQuietChanges&) = delete;

    private:
        const TCustomChtGradient& FGradient;
    };

    // Stores Value and notifies when it differs.
    template <class T>
    void Store(T& Field, T Value);

private:
    bool IsColorsStored() const;
    bool IsStartColorStored() const { return FColors && StartColor() != IDefStart; }
    bool IsEndColorStored() const { return FColors && EndColor() != IDefEnd; }
    bool IsMidColorStored() const { return FColors && MidColor() != IDefMid; }
    bool IsDirectionStored() const { return FDirection != IDefDirection; }
    bool IsVisibleStored() const { return FVisible != IDefVisible; }
    TChtGradientColor* Stop(int Index) const;
    // Gives an empty list one stop; true when it did.
    bool EnsureOneStop();

    int FAngle = 0;                                    // rotation in degrees, 0 unturned
    int FBalance = 50;                                 // colour midpoint in percent
    mutable std::unique_ptr<TChtGradientColors> FColors;
    TGradientDirection FDirection = gdTopBottom;
    int FRadialX = 0;                                  // radial centre offset from the middle
    int FRadialY = 0;
    bool FStartIsEnd = false;
    mutable std::unique_ptr<TSubGradient> FSub;
    bool FVisible = false;
    plat::TNotifyEvent IChanged;
    TColor IMidColor = clWhite;                        // restored by UseMiddleColor
    mutable int FQuiet = 0;                            // live TQuietChanges
};

// A gradient as brushes and fonts carry it: it may have a second gradient.
class TChtGradient : public TCustomChtGradient {
    PLAT_CLASS(TChtGradient, TCustomChtGradient)
public:
    using TCustomChtGradient::TCustomChtGradient;
};

// The gradient drawn over another, with its own transparency.
class TSubGradient : public TCustomChtGradient {
    PLAT_CLASS(TSubGradient, TCustomChtGradient)
public:
    using TCustomChtGradient::TCustomChtGradient;

    TChtTransparency Transparency() const { return FTransparency; }
    void SetTransparency(TChtTransparency Value);

private:
    TChtTransparency FTransparency = 50;
};

// Where colour step A of N lies between the start and the end colour
// under a balance in percent: ((A + 1) / (N + 1)) ^ (Balance / 100 + 0.5).
double BalanceCurve(double A, double Balance, double N);

// Turns a bitmap holding a gradient fill by the gradient's Angle; installed
// by the filter unit's set-up, none before it.
using TGradientRotateHook = void (*)(const TCustomChtGradient& Gradient, plat::TBitmap& Bitmap);
extern TGradientRotateHook GradientRotateHook;

} // namespace qel
