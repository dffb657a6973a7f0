// The layout settings of TControl and the arrangement of a container's
// children: alignment with margins, then anchors.
#include "platform/controls/control_layout.h"

#include "platform/controls/control.h"
#include "platform/controls/win_control.h"
#include "platform/controls/window.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

namespace plat {

int TSizeConstraints::Clamp(int value, int low, int high)
{
    if (high > 0 && value > high) {
        value = high;
    }
    if (low > 0 && value < low) {
        value = low;
    }
    return value;
}

namespace {

TSize ClientSizeOf(const TControl& control)
{
    const TRect client = control.ClientRect();
    return TSize{SaturateInt(client.Width()), SaturateInt(client.Height())};
}

} // namespace

void TControl::SetMargins(const TMargins& value)
{
    if (value == FLayoutSettings.Margins) {
        return;
    }
    FLayoutSettings.Margins = value;
    if (FLayoutSettings.AlignWithMargins) {
        RequestAlign();
    }
}

void TControl::SetAlignWithMargins(bool value)
{
    if (value == FLayoutSettings.AlignWithMargins) {
        return;
    }
    FLayoutSettings.AlignWithMargins = value;
    RequestAlign();
}

TMargins TControl::EffectiveMargins() const
{
    return FLayoutSettings.AlignWithMargins ? FLayoutSettings.Margins : TMargins{0, 0, 0, 0};
}

void TControl::SetAnchors(TAnchors value)
{
    if (value == FLayoutSettings.Anchors) {
        return;
    }
    FLayoutSettings.Anchors = value;
    // Remembered now, or at the first arrangement.
    FAnchorPlace.Known = FParent != nullptr && !ComponentState().Contains(csLoading);
    if (FAnchorPlace.Known) {
        FAnchorPlace.Bounds = BoundsRect();
        FAnchorPlace.ParentSize = ClientSizeOf(*FParent);
    }
}

void TControl::SetConstraints(const TSizeConstraints& value)
{
    if (value == FLayoutSettings.Constraints) {
        return;
    }
    FLayoutSettings.Constraints = value;
    ConstraintsChanged();
}

void TControl::ConstraintsChanged()
{
    const int width = FLayoutSettings.Constraints.ClampWidth(FWidth);
    const int height = FLayoutSettings.Constraints.ClampHeight(FHeight);
    if (width != FWidth || height != FHeight) {
        SetBounds(FLeft, FTop, width, height);
    }
}

void TControl::SetAutoSize(bool value)
{
    if (value == FLayoutSettings.AutoSize) {
        return;
    }
    FLayoutSettings.AutoSize = value;
    if (value) {
        AdjustSize();
    }
}

void TControl::AdjustSize()
{
    // Sizing may realign the control's children, which asks again: the
    // first answer stands.
    if (!FLayoutSettings.AutoSize || FAutoSizing || ComponentState().Contains(csLoading)) {
        return;
    }
    int width = FWidth;
    int height = FHeight;
    if (!CanAutoSize(width, height) || (width == FWidth && height == FHeight)) {
        return;
    }
    FAutoSizing = true;
    const auto life = FLife;
    try {
        SetBounds(FLeft, FTop, width, height);
    } catch (...) {
        if (life->Alive()) {
            FAutoSizing = false;
        }
        throw;
    }
    if (life->Alive()) {
        FAutoSizing = false;
    }
}

bool TControl::CanAutoSize(int&, int&)
{
    return false;
}

void TControl::BoundsRequested(int left, int top, int& width, int& height)
{
    width = FLayoutSettings.Constraints.ClampWidth(std::max(width, 0));
    height = FLayoutSettings.Constraints.ClampHeight(std::max(height, 0));
    if (FArranged || ComponentState().Contains(csLoading)) {
        return;
    }
    FAnchorPlace.Known = FParent != nullptr;
    if (FAnchorPlace.Known) {
        FAnchorPlace.Bounds = Bounds(left, top, width, height);
        FAnchorPlace.ParentSize = ClientSizeOf(*FParent);
    }
}

// Moves children for the arrangement without disturbing what their anchors
// remember.
class TLayoutPlacement {
public:
    static void Place(TControl& control, int left, int top, int width, int height)
    {
        const auto life = control.Life();
        control.FArranged = true;
        try {
            control.SetBounds(left, top, width, height);
        } catch (...) {
            if (life->Alive()) {
                control.FArranged = false;
            }
            throw;
        }
        if (life->Alive()) {
            control.FArranged = false;
        }
    }

    // The place an anchored child takes in a parent of the given client size.
    static void Anchor(TControl& control, TSize parentSize)
    {
        TAnchorPlace& place = control.FAnchorPlace;
        if (!place.Known) {
            place = TAnchorPlace{true, control.BoundsRect(), parentSize};
            return;
        }
        const TAnchors anchors = control.Anchors();
        int left = place.Bounds.Left;
        int top = place.Bounds.Top;
        int width = SaturateInt(place.Bounds.Width());
        int height = SaturateInt(place.Bounds.Height());
        const std::int64_t dx = std::int64_t{parentSize.cx} - place.ParentSize.cx;
        const std::int64_t dy = std::int64_t{parentSize.cy} - place.ParentSize.cy;
        Stretch(anchors.Contains(akLeft), anchors.Contains(akRight), dx, left, width);
        Stretch(anchors.Contains(akTop), anchors.Contains(akBottom), dy, top, height);
        if (Bounds(left, top, width, height) != control.BoundsRect()) {
            Place(control, left, top, width, height);
        }
    }

private:
    // One axis: both edges anchored stretch, the far edge alone moves, no
    // edge keeps the centre where it was in proportion.
    static void Stretch(bool nearEdge, bool farEdge, std::int64_t delta, int& position, int& extent)
    {
        if (nearEdge && farEdge) {
            extent = SaturateInt(std::max<std::int64_t>(0, extent + delta));
        } else if (farEdge) {
            position = SaturateInt(position + delta);
        } else if (!nearEdge) {
            position = SaturateInt(position + delta / 2);
        }
    }
};

namespace {

// Whether a goes before b among controls of the same alignment.
bool AlignsBefore(const TControl* a, const TControl* b, TAlign align)
{
    switch (align) {
    case alTop:
        return a->Top() < b->Top();
    case alBottom:
        return std::int64_t{a->Top()} + a->Height() >= std::int64_t{b->Top()} + b->Height();
    case alLeft:
        return a->Left() < b->Left();
    case alRight:
        return std::int64_t{a->Left()} + a->Width() >= std::int64_t{b->Left()} + b->Width();
    default:
        return false;
    }
}

// The visible children of one alignment, in the order they stack.
std::vector<TControl*> AlignedChildren(const TWinControl& parent, TControl* moved, TAlign align)
{
    std::vector<TControl*> list;
    for (int i = 0; i < parent.ControlCount(); ++i) {
        TControl* child = parent.Controls(i);
        if (child != moved && child->Align() == align && child->Visible()) {
            list.push_back(child);
        }
    }
    std::stable_sort(list.begin(), list.end(), [align](TControl* a, TControl* b) {
        return AlignsBefore(a, b, align) && !AlignsBefore(b, a, align);
    });
    if (moved != nullptr && moved->Align() == align && moved->Visible()) {
        auto at = list.begin();
        while (at != list.end() && !AlignsBefore(moved, *at, align)) {
            ++at;
        }
        list.insert(at, moved);
    }
    return list;
}

// A child with its life token: handlers run while children are placed
// (OnResize) may free or move siblings.
struct TChildRef {
    TControl* Control;
    std::shared_ptr<const TControlLife> Life;

    bool Present(const TWinControl& parent) const { return Life->Alive() && Control->Parent() == &parent; }
};

std::vector<TChildRef> WithLives(const std::vector<TControl*>& children)
{
    std::vector<TChildRef> refs;
    refs.reserve(children.size());
    for (TControl* child : children) {
        refs.push_back(TChildRef{child, child->Life()});
    }
    return refs;
}

int Extent(std::int64_t value)
{
    return SaturateInt(std::max<std::int64_t>(value, 0));
}

// Places one aligned child at its edge of rect and takes its room off rect.
void PlaceAligned(TControl& child, TAlign align, TRect& rect)
{
    const TMargins m = child.EffectiveMargins();
    const int left = SaturateInt(std::int64_t{rect.Left} + m.Left);
    const int top = SaturateInt(std::int64_t{rect.Top} + m.Top);
    const int width = Extent(rect.Width() - m.Left - m.Right);
    const int height = Extent(rect.Height() - m.Top - m.Bottom);
    switch (align) {
    case alTop:
        TLayoutPlacement::Place(child, left, top, width, child.Height());
        rect.Top = SaturateInt(std::int64_t{rect.Top} + m.Top + child.Height() + m.Bottom);
        break;
    case alBottom:
        TLayoutPlacement::Place(child, left, SaturateInt(std::int64_t{rect.Bottom} - m.Bottom - child.Height()), width,
                                child.Height());
        rect.Bottom = SaturateInt(std::int64_t{rect.Bottom} - m.Top - child.Height() - m.Bottom);
        break;
    case alLeft:
        TLayoutPlacement::Place(child, left, top, child.Width(), height);
        rect.Left = SaturateInt(std::int64_t{rect.Left} + m.Left + child.Width() + m.Right);
        break;
    case alRight:
        TLayoutPlacement::Place(child, SaturateInt(std::int64_t{rect.Right} - m.Right - child.Width()), top,
                                child.Width(), height);
        rect.Right = SaturateInt(std::int64_t{rect.Right} - m.Left - child.Width() - m.Right);
        break;
    case alClient:
        TLayoutPlacement::Place(child, left, top, width, height);
        break;
    default:
        break;
    }
}

} // namespace

void ArrangeControls(TWinControl& parent, TControl* moved, TRect& rect)
{
    const auto parentLife = parent.Life();
    for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
        for (const TChildRef& child : WithLives(AlignedChildren(parent, moved, align))) {
            if (!parentLife->Alive()) {
                return;
            }
            if (child.Present(parent)) {
                PlaceAligned(*child.Control, align, rect);
            }
        }
    }
    // A parent that sizes itself to its children leaves them where they are.
    if (!parentLife->Alive() || parent.AutoSize()) {
        return;
    }
    const TSize size = ClientSizeOf(parent);
    // Controls anchored left and top never move: they are left alone.
    std::vector<TControl*> anchored;
    for (int i = 0; i < parent.ControlCount(); ++i) {
        TControl* child = parent.Controls(i);
        if (child->Align() == alNone && child->Visible() && child->Anchors() != TAnchors{akLeft, akTop}) {
            anchored.push_back(child);
        }
    }
    for (const TChildRef& child : WithLives(anchored)) {
        if (!parentLife->Alive()) {
            return;
        }
        if (child.Present(parent)) {
            TLayoutPlacement::Anchor(*child.Control, size);
        }
    }
}

} // namespace plat
