// Layout of designed controls beyond plain alignment: margins kept around
// aligned controls, anchors that keep a control's distance to its parent's
// edges as the parent is resized, and size constraints. The standard
// controls and designed forms carry these settings (TLayoutItem); their
// containers arrange their children with ArrangeControls, which treats
// children without settings as plainly aligned, left and top anchored.
#pragma once

#include "platform/controls/control.h"
#include "platform/objects/set.h"

namespace plat {

class TWinControl;

// Space kept around a control aligned with margins.
struct TMargins {
    int Left = 3;
    int Top = 3;
    int Right = 3;
    int Bottom = 3;
    bool operator==(const TMargins&) const = default;
};

enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;

// Limits of a control's size; 0 means no limit.
struct TSizeConstraints {
    int MinWidth = 0;
    int MinHeight = 0;
    int MaxWidth = 0;
    int MaxHeight = 0;
    bool operator==(const TSizeConstraints&) const = default;

    int ClampWidth(int width) const { return Clamp(width, MinWidth, MaxWidth); }
    int ClampHeight(int height) const { return Clamp(height, MinHeight, MaxHeight); }

private:
    static int Clamp(int value, int low, int high);
};

// The layout settings of one control, and what anchoring remembers of it:
// its bounds and its parent's client size when it was last placed by
// anything but the layout itself.
class TLayoutItem {
public:
    explicit TLayoutItem(TControl& control) : FControl(control) {}
    virtual ~TLayoutItem() = default;
    TLayoutItem(const TLayoutItem&) = delete;
    TLayoutItem& operator=(const TLayoutItem&) = delete;

    const TMargins& Margins() const { return FMargins; }
    void SetMargins(const TMargins& value);
    // Margins count only while this is set.
    bool AlignWithMargins() const { return FAlignWithMargins; }
    void SetAlignWithMargins(bool value);
    TAnchors Anchors() const { return FAnchors; }
    void SetAnchors(TAnchors value);
    const TSizeConstraints& Constraints() const { return FConstraints; }
    // Applies the limits to the control's size at once.
    void SetConstraints(const TSizeConstraints& value);

    // The margins in force (all 0 without AlignWithMargins).
    TMargins EffectiveMargins() const;
    // Width and height within the constraints.
    void Constrain(int& width, int& height) const;

protected:
    // For SetBounds overrides, before the move: anchoring keeps the new
    // place, unless the layout itself is moving the control.
    void PlaceRequested(const TRect& bounds);

private:
    friend class TLayoutPlacement;
    void RememberPlace(const TRect& bounds);

    TControl& FControl;
    TMargins FMargins;
    bool FAlignWithMargins = false;
    TAnchors FAnchors{akLeft, akTop};
    TSizeConstraints FConstraints;
    bool FPlacing = false;          // the layout itself is moving the control
    bool FPlaceKnown = false;       // FPlace and FParentSize hold a remembered place
    TRect FPlace;                   // bounds when last placed from outside
    TSize FParentSize;              // the parent's client size at that time
};

// A control class with layout settings: TLayoutControl<TCustomControl>.
// Its size keeps within its constraints however it is set.
template <class TBase>
class TLayoutControl : public TBase, public TLayoutItem {
public:
    explicit TLayoutControl(TComponent* owner) : TBase(owner), TLayoutItem(static_cast<TControl&>(*this)) {}

    void SetBounds(int left, int top, int width, int height) override
    {
        Constrain(width, height);
        PlaceRequested(Bounds(left, top, width, height));
        TBase::SetBounds(left, top, width, height);
    }
};

// The layout settings of a control, or nullptr for a control without them.
TLayoutItem* LayoutItemOf(TControl* control);

// Places parent's visible children inside rect (its client area, already
// adjusted): aligned ones edge by edge with their margins, the others by
// their anchors. moved, when given, is the child whose change asked for
// the arrangement; among controls of its alignment it keeps its place.
void ArrangeControls(TWinControl& parent, TControl* moved, TRect& rect);

} // namespace plat
