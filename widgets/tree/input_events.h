// The events of the data tree's mouse, keyboard and header input: node
// clicks and hot tracking, cursors, key actions and incremental search,
// help, pop-up menus, hints, node-height dragging, and the header's clicks,
// mouse messages, column and height tracking and column dragging.
#pragma once

#include "platform/controls/control_types.h"
#include "platform/objects/events.h"
#include "platform/objects/set.h"
#include "widgets/tree/check_state.h"
#include "widgets/tree/data_node.h"
#include "widgets/tree/tree_geometry_types.h"

#include <cstdint>
#include <string>

namespace plat {
class TComponent;
}

namespace qel {

class TDTHeader;

using TDTNodeClickEvent = plat::TEvent<void(plat::TObject* sender, const THitInfo& hitInfo)>;
using TDTHotNodeChangeEvent = plat::TEvent<void(plat::TObject* sender, PDataNode oldNode, PDataNode newNode)>;
using TDTGetCursorEvent = plat::TEvent<void(plat::TObject* sender, plat::TCursor& cursor)>;
// May change the key and the modifiers, or clear doDefault to keep the tree
// from handling the key.
using TDTKeyActionEvent =
    plat::TEvent<void(plat::TObject* sender, std::uint16_t& charCode, plat::TShiftState& shift, bool& doDefault)>;
// 0 when the node matches the text typed so far.
using TDTIncrementalSearchEvent =
    plat::TEvent<void(plat::TObject* sender, PDataNode node, const std::string& searchText, int& result)>;
using TDTHelpEvent = plat::TEvent<void(plat::TObject* sender, int helpContext)>;
using TDTHelpContextEvent =
    plat::TEvent<void(plat::TObject* sender, PDataNode node, TColumnIndex column, int& helpContext)>;
// A menu for the node (nullptr: none); clearing askParent stops the walk to
// its ancestors.
using TDTPopupEvent = plat::TEvent<void(plat::TObject* sender, PDataNode node, TColumnIndex column,
                                        const plat::TPoint& p, bool& askParent, plat::TComponent*& popupMenu)>;
using TDTNodeHeightTrackingEvent =
    plat::TEvent<void(plat::TObject* sender, PDataNode node, TColumnIndex column, plat::TShiftState shift,
                      plat::TPoint& trackPoint, plat::TPoint p, bool& allowed)>;
using TDTNodeHeightDblClickResizeEvent = plat::TEvent<void(
    plat::TObject* sender, PDataNode node, TColumnIndex column, plat::TShiftState shift, plat::TPoint p, bool& allowed)>;
using TDTCanSplitterResizeNodeEvent =
    plat::TEvent<void(plat::TObject* sender, plat::TPoint p, PDataNode node, TColumnIndex column, bool& allowed)>;
// Whether the node may be dragged (a drag starts only when allowed).
using TDTDragAllowedEvent =
    plat::TEvent<void(plat::TObject* sender, PDataNode node, TColumnIndex column, bool& allowed)>;

// ---- the header ----

enum TDTHeaderHitPosition { hhiNoWhere, hhiOnColumn, hhiOnIcon, hhiOnCheckbox };
using TDTHeaderHitPositions = plat::TSet<TDTHeaderHitPosition>;

// Where a header click landed, in header coordinates.
struct TDTHeaderHitInfo {
    int X = 0;
    int Y = 0;
    plat::TMouseButton Button = plat::mbLeft;
    plat::TShiftState Shift;
    TColumnIndex Column = NoColumn;
    TDTHeaderHitPositions HitPosition;
};

using TDTHeaderClickEvent = plat::TEvent<void(TDTHeader* header, const TDTHeaderHitInfo& hitInfo)>;
using TDTColumnClickEvent = plat::TEvent<void(plat::TObject* sender, TColumnIndex column, plat::TShiftState shift)>;
using TDTHeaderMouseEvent =
    plat::TEvent<void(TDTHeader* header, plat::TMouseButton button, plat::TShiftState shift, int x, int y)>;
using TDTHeaderMouseMoveEvent = plat::TEvent<void(TDTHeader* header, plat::TShiftState shift, int x, int y)>;
using TDTHeaderDraggingEvent = plat::TEvent<void(TDTHeader* header, TColumnIndex column, bool& allowed)>;
using TDTHeaderDraggedEvent = plat::TEvent<void(TDTHeader* header, TColumnIndex column, int oldPosition)>;
using TDTHeaderDraggedOutEvent = plat::TEvent<void(TDTHeader* header, TColumnIndex column, plat::TPoint dropPosition)>;
using TDTGetHeaderCursorEvent = plat::TEvent<void(TDTHeader* header, plat::TCursor& cursor)>;
using TDTColumnWidthTrackingEvent =
    plat::TEvent<void(TDTHeader* header, TColumnIndex column, plat::TShiftState shift, plat::TPoint& trackPoint,
                      plat::TPoint p, bool& allowed)>;
using TDTBeforeColumnWidthTrackingEvent =
    plat::TEvent<void(TDTHeader* header, TColumnIndex column, plat::TShiftState shift)>;
using TDTHeaderHeightTrackingEvent =
    plat::TEvent<void(TDTHeader* header, plat::TPoint& p, plat::TShiftState shift, bool& allowed)>;
using TDTBeforeHeaderHeightTrackingEvent = plat::TEvent<void(TDTHeader* header, plat::TShiftState shift)>;
using TDTAfterHeaderHeightTrackingEvent = plat::TEvent<void(TDTHeader* header)>;
using TDTColumnWidthDblClickResizeEvent = plat::TEvent<void(TDTHeader* header, TColumnIndex column,
                                                            plat::TShiftState shift, plat::TPoint p, bool& allowed)>;
using TDTHeaderHeightDblClickResizeEvent =
    plat::TEvent<void(TDTHeader* header, plat::TPoint& p, plat::TShiftState shift, bool& allowed)>;
using TDTCanSplitterResizeHeaderEvent = plat::TEvent<void(TDTHeader* header, plat::TPoint p, bool& allowed)>;
using TDTCanSplitterResizeColumnEvent =
    plat::TEvent<void(TDTHeader* header, plat::TPoint p, TColumnIndex column, bool& allowed)>;

} // namespace qel
