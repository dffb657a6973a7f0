// Margins, anchors and constraints, and the arrangement of a container's
// children by them.
#include "platform/controls/standard/control_layout.h"

#include "platform/controls/win_control.h"
#include "platform/controls/window.h"

#include <algorithm>
#include <cstdint>
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

void TLayoutItem::SetMargins(const TMargins& value)
{
    if (value == FMargins) {
        return;
    }
    FMargins = value;
    if (FAlignWithMargins && FControl.Parent() != nullptr) {
        FControl.Parent()->Realign();
    }
}

void TLayoutItem::SetAlignWithMargins(bool value)
{
    if (value == FAlignWithMargins) {
        return;
    }
    FAlignWithMargins = value;
    if (FControl.Parent() != nullptr) {
        FControl.Parent()->Realign();
    }
}

void TLayoutItem::SetAnchors(TAnchors value)
{
    if (value == FAnchors) {
        return;
    }
    FAnchors = value;
    RememberPlace(FControl.BoundsRect());
}

void TLayoutItem::SetConstraints(const TSizeConstraints& value)
{
    if (value == FConstraints) {
        return;
    }
    FConstraints = value;
    int width = FControl.Width();
    int height = FControl.Height();
    Constrain(width, height);
    if (width != FControl.Width() || height != FControl.Height()) {
        FControl.SetBounds(FControl.Left(), FControl.Top(), width, height);
    }
}

TMargins TLayoutItem::EffectiveMargins() const
{
    return FAlignWithMargins ? FMargins : TMargins{0, 0, 0, 0};
}

void TLayoutItem::Constrain(int& width, int& height) const
{
    width = FConstraints.ClampWidth(width);
    height = FConstraints.ClampHeight(height);
}

void TLayoutItem::PlaceRequested(const TRect& bounds)
{
    if (!FPlacing) {
        RememberPlace(bounds);
    }
}

void TLayoutItem::RememberPlace(const TRect& bounds)
{
    FPlace = bounds;
    FPlaceKnown = FControl.Parent() != nullptr;
    if (FPlaceKnown) {
        const TRect client = FControl.Parent()->ClientRect();
        FParentSize = TSize{SaturateInt(client.Width()), SaturateInt(client.Height())};
    }
}

// Moves children for the layout without disturbing what anchoring remembers.
class TLayoutPlacement {
public:
    static void Place(TControl& control, int left, int top, int width, int height)
    {
        TLayoutItem* item = LayoutItemOf(&control);
        if (item != nullptr) {
            item->FPlacing = true;
        }
        try {
            control.SetBounds(left, top, width, height);
        } catch (...) {
            if (item != nullptr) {
                item->FPlacing = false;
            }
            throw;
        }
        if (item != nullptr) {
            item->FPlacing = false;
        }
    }

    // The place an anchored child takes in a parent of the given client size.
    static void Anchor(TControl& control, TLayoutItem& item, TSize parentSize)
    {
        if (!item.FPlaceKnown) {
            item.RememberPlace(control.BoundsRect());
            return;
        }
        const TAnchors anchors = item.FAnchors;
        int left = item.FPlace.Left;
        int top = item.FPlace.Top;
        int width = SaturateInt(item.FPlace.Width());
        int height = SaturateInt(item.FPlace.Height());
        const std::int64_t dx = std::int64_t{parentSize.cx} - item.FParentSize.cx;
        const std::int64_t dy = std::int64_t{parentSize.cy} - item.FParentSize.cy;
        Stretch(anchors.Contains(akLeft), anchors.Contains(akRight), dx, left, width);
        Stretch(anchors.Contains(akTop), anchors.Contains(akBottom), dy, top, height);
        item.Constrain(width, height);
        Place(control, left, top, width, height);
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

TLayoutItem* LayoutItemOf(TControl* control)
{
    return dynamic_cast<TLayoutItem*>(control);
}

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

int Extent(std::int64_t value)
{
    return SaturateInt(std::max<std::int64_t>(value, 0));
}

// Places one aligned child at its edge of rect and takes its room off rect.
void PlaceAligned(TControl& child, TAlign align, TRect& rect)
{
    const TLayoutItem* item = LayoutItemOf(&child);
    const TMargins m = item != nullptr ? item->EffectiveMargins() : TMargins{0, 0, 0, 0};
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
    for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
        for (TControl* child : AlignedChildren(parent, moved, align)) {
            PlaceAligned(*child, align, rect);
        }
    }
    const TRect client = parent.ClientRect();
    const TSize size{SaturateInt(client.Width()), SaturateInt(client.Height())};
    for (int i = 0; i < parent.ControlCount(); ++i) {
        TControl* child = parent.Controls(i);
        TLayoutItem* item = LayoutItemOf(child);
        if (item != nullptr && child->Align() == alNone && child->Visible()) {
            TLayoutPlacement::Anchor(*child, *item, size);
        }
    }
}

} // namespace plat
