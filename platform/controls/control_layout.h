// Layout settings every control carries beyond its alignment: margins kept
// around it when it is aligned with them, anchors that keep its distances
// to its parent's edges as the parent is resized, size constraints and
// sizing to its content; and the arrangement of a container's children by
// alignment, margins and anchors.
#pragma once

#include "platform/canvas/graphics_types.h"
#include "platform/objects/set.h"

namespace plat {

class TControl;
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

// Limits of a control's size; 0 (or less) means no limit. A minimum above
// the maximum wins.
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

// The layout settings of one control.
struct TLayoutSettings {
    TMargins Margins;
    bool AlignWithMargins = false;   // Margins count only while set
    TAnchors Anchors{akLeft, akTop};
    TSizeConstraints Constraints;
    bool AutoSize = false;           // the control sizes itself to its content
};

// What anchoring remembers of a control: its bounds and its parent's client
// size when it was last placed by anything but the arrangement itself.
struct TAnchorPlace {
    bool Known = false;
    TRect Bounds;
    TSize ParentSize;
};

// Places parent's visible children inside rect (its client area, already
// adjusted): aligned ones edge by edge with their margins, then the others
// by their anchors (not while the parent sizes itself to them). moved,
// when given, is the child whose change asked for the arrangement; among
// controls of its alignment it keeps its place.
void ArrangeControls(TWinControl& parent, TControl* moved, TRect& rect);

} // namespace plat
