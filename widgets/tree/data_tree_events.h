// The event types of the data tree's structure, lifecycle, check state,
// heights, selection and focus. Sender is always the tree.
#pragma once

#include "platform/objects/events.h"
#include "widgets/tree/data_node.h"
#include "widgets/tree/data_tree_types.h"
#include "widgets/tree/header_paint_info.h"
#include "widgets/tree/tree_geometry_types.h"
#include "widgets/tree/tree_paint_info.h"
#include "widgets/tree/tree_states.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace plat {
class TBitmap;
class TCanvas;
class TStream;
class THintWindow;
class TComponent;
class TCustomImageList;
}

namespace qel {

class TDTHeader;

using TDTGetNodeDataSizeEvent = plat::TEvent<void(plat::TObject* sender, int& nodeDataSize)>;
using TDTFreeNodeEvent = plat::TEvent<void(plat::TObject* sender, PDataNode node)>;
// parentNode is nullptr for a top-level node.
using TDTInitNodeEvent = plat::TEvent<void(plat::TObject* sender, PDataNode parentNode, PDataNode node,
                                           TDataNodeInitStates& initialStates)>;
using TDTInitChildrenEvent = plat::TEvent<void(plat::TObject* sender, PDataNode node, std::uint32_t& childCount)>;
using TDTChangeEvent = plat::TEvent<void(plat::TObject* sender, PDataNode node)>;
using TDTChangingEvent = plat::TEvent<void(plat::TObject* sender, PDataNode node, bool& allowed)>;
using TDTStructureChangeEvent = plat::TEvent<void(plat::TObject* sender, PDataNode node, TChangeReason reason)>;
using TDTStateChangeEvent =
    plat::TEvent<void(plat::TObject* sender, const TDataTreeStates& enter, const TDataTreeStates& leave)>;
using TDTUpdatingEvent = plat::TEvent<void(plat::TObject* sender, TDTUpdateState state)>;
using TDTOperationEvent = plat::TEvent<void(plat::TObject* sender, TDTOperationKind kind)>;
using TDTCheckChangingEvent =
    plat::TEvent<void(plat::TObject* sender, PDataNode node, TCheckState& newState, bool& allowed)>;
using TDTBeforeGetCheckStateEvent = plat::TEvent<void(plat::TObject* sender, PDataNode node)>;
// Pixel extents handed to events.
using TDimension = std::int32_t;
using TDTMeasureItemEvent =
    plat::TEvent<void(plat::TObject* sender, plat::TCanvas* targetCanvas, PDataNode node, TDimension& nodeHeight)>;
using TDTFocusChangingEvent = plat::TEvent<void(plat::TObject* sender, PDataNode oldNode, PDataNode newNode,
                                                TColumnIndex oldColumn, TColumnIndex newColumn, bool& allowed)>;
using TDTFocusChangeEvent = plat::TEvent<void(plat::TObject* sender, PDataNode node, TColumnIndex column)>;

// Header and column events.
using TDTHeaderNotifyEvent = plat::TEvent<void(TDTHeader* header, TColumnIndex column)>;
using TDTColumnCheckChangingEvent =
    plat::TEvent<void(TDTHeader* header, TColumnIndex column, TCheckState& newState, bool& allowed)>;
using TColumnChangeEvent = plat::TEvent<void(plat::TObject* sender, TColumnIndex column, bool visible)>;
// Scrolling: the offset change after every effective move, and every show
// or hide request of a bar (SB_HORZ, SB_VERT).
using TDTScrollEvent = plat::TEvent<void(plat::TObject* sender, int deltaX, int deltaY)>;
using TDTScrollBarShowEvent = plat::TEvent<void(plat::TObject* sender, int bar, bool show)>;
// The image of a node's cell; imageIndex starts at -1. The extended form
// may also name the list the image comes from.
using TDTGetImageEvent = plat::TEvent<void(plat::TObject* sender, PDataNode node, TDTImageKind kind,
                                           TColumnIndex column, bool& ghosted, int& imageIndex)>;
using TDTGetImageExEvent =
    plat::TEvent<void(plat::TObject* sender, PDataNode node, TDTImageKind kind, TColumnIndex column, bool& ghosted,
                      int& imageIndex, plat::TCustomImageList*& imageList)>;
// The text that stands for a node's image (for screen readers and the like).
using TDTGetImageTextEvent = plat::TEvent<void(plat::TObject* sender, PDataNode node, TDTImageKind kind,
                                               TColumnIndex column, std::string& imageText)>;

// Painting.
using TDTPaintEvent = plat::TEvent<void(plat::TObject* sender, plat::TCanvas* canvas)>;
using TDTBeforeItemEraseEvent =
    plat::TEvent<void(plat::TObject* sender, plat::TCanvas* canvas, PDataNode node, const plat::TRect& itemRect,
                      plat::TColor& itemColor, TItemEraseAction& eraseAction)>;
using TDTAfterItemEraseEvent =
    plat::TEvent<void(plat::TObject* sender, plat::TCanvas* canvas, PDataNode node, const plat::TRect& itemRect)>;
using TDTBeforeItemPaintEvent = plat::TEvent<void(plat::TObject* sender, plat::TCanvas* canvas, PDataNode node,
                                                  const plat::TRect& itemRect, bool& customDraw)>;
using TDTAfterItemPaintEvent = TDTAfterItemEraseEvent;
using TDTBeforeCellPaintEvent =
    plat::TEvent<void(plat::TObject* sender, plat::TCanvas* canvas, PDataNode node, TColumnIndex column,
                      TDTCellPaintMode mode, const plat::TRect& cellRect, plat::TRect& contentRect)>;
using TDTAfterCellPaintEvent = plat::TEvent<void(plat::TObject* sender, plat::TCanvas* canvas, PDataNode node,
                                                 TColumnIndex column, const plat::TRect& cellRect)>;
using TDTBackgroundPaintEvent =
    plat::TEvent<void(plat::TObject* sender, plat::TCanvas* canvas, const plat::TRect& r, bool& handled)>;
using TDTGetCellIsEmptyEvent =
    plat::TEvent<void(plat::TObject* sender, PDataNode node, TColumnIndex column, bool& isEmpty)>;
using TDTPaintText = plat::TEvent<void(plat::TObject* sender, plat::TCanvas* canvas, PDataNode node,
                                       TColumnIndex column, TDSTTextType textType)>;
// A column of style vsOwnerDraw painted by the application.
using TDTHeaderPaintEvent =
    plat::TEvent<void(TDTHeader* header, plat::TCanvas* canvas, TDataTreeColumn* column, const plat::TRect& r,
                      bool hover, bool pressed, TDTDropMarkMode dropMark)>;
// Which parts of a button (or of the background, Column nullptr) the
// application paints itself.
using TDTHeaderPaintQueryElementsEvent =
    plat::TEvent<void(TDTHeader* header, THeaderPaintInfo& paintInfo, THeaderPaintElements& elements)>;
using TDTAdvancedHeaderPaintEvent =
    plat::TEvent<void(TDTHeader* header, THeaderPaintInfo& paintInfo, const THeaderPaintElements& elements)>;
// The six button pictures (plus and minus: normal, hot, hot on a selected
// node) for the application to draw; size is their width and height.
using TDTPrepareButtonImagesEvent =
    plat::TEvent<void(plat::TObject* sender, plat::TBitmap* plus, plat::TBitmap* plusHot,
                      plat::TBitmap* plusSelectedHot, plat::TBitmap* minus, plat::TBitmap* minusHot,
                      plat::TBitmap* minusSelectedHot, plat::TSize& size)>;
// Eight rows of the tree lines' 8 x 8 pattern (bit 7 leftmost; 0 bits take
// the line colour); the handler points bits at its own rows.
using TDTGetLineStyleEvent = plat::TEvent<void(plat::TObject* sender, const std::uint16_t*& bits)>;
// Before a tree-line step is drawn: the handler may move it.
using TDTBeforeDrawLineImageEvent =
    plat::TEvent<void(plat::TObject* sender, PDataNode node, int level, int& posX)>;

// Streams, sorting, moving and copying. node is nullptr for the root.
using TDTSaveNodeEvent = plat::TEvent<void(plat::TObject* sender, PDataNode node, plat::TStream& stream)>;
using TDTSaveTreeEvent = plat::TEvent<void(plat::TObject* sender, plat::TStream& stream)>;
// result starts 0: below 0 puts node1 first, above 0 node2.
using TDTCompareEvent = plat::TEvent<void(plat::TObject* sender, PDataNode node1, PDataNode node2,
                                          TColumnIndex column, int& result)>;
using TDTNodeMovingEvent =
    plat::TEvent<void(plat::TObject* sender, PDataNode node, PDataNode target, bool& allowed)>;
using TDTNodeCopyingEvent = TDTNodeMovingEvent;
using TDTNodeMovedEvent = plat::TEvent<void(plat::TObject* sender, PDataNode node)>;
using TDTNodeCopiedEvent = TDTNodeMovedEvent;

// In-place editing: the link to the editor is shared by the tree and the
// editor it opened.
class IDTEditLink;
using PDTEditLink = std::shared_ptr<IDTEditLink>;
using TDTEditingEvent = plat::TEvent<void(plat::TObject* sender, PDataNode node, TColumnIndex column, bool& allowed)>;
using TDTEditChangeEvent = plat::TEvent<void(plat::TObject* sender, PDataNode node, TColumnIndex column)>;
using TDTEditCancelEvent = plat::TEvent<void(plat::TObject* sender, TColumnIndex column)>;
using TDTCreateEditorEvent =
    plat::TEvent<void(plat::TObject* sender, PDataNode node, TColumnIndex column, PDTEditLink& editLink)>;

// What the tree's hint window shows: filled when the tree decides on a
// node or header hint, copied by the window.
enum TDTTooltipLineBreakStyle : std::uint8_t { hlbDefault, hlbForceSingleLine, hlbForceMultiLine };
class TBaseDataTree;
struct TDTHintData {
    TBaseDataTree* Tree = nullptr;
    PDataNode Node = nullptr;      // nullptr for a plain control hint
    TColumnIndex Column = NoColumn;
    plat::TRect HintRect;          // not empty: taken as the window's rectangle
    std::string HintText;
    TBiDiMode BidiMode = bdLeftToRight;
    TAlignment Alignment = taLeftJustify;
    TDTTooltipLineBreakStyle LineBreakStyle = hlbDefault;
};
using TDTHintWindowClass = std::function<plat::THintWindow*(plat::TComponent* owner)>;
// Owner-drawn hints: the kind of a node's hint, its size and its painting
// come from the application.
enum TDTHintKind : std::uint8_t { vhkText, vhkOwnerDraw };
using TDTGetHintKindEvent =
    plat::TEvent<void(plat::TObject* sender, PDataNode node, TColumnIndex column, TDTHintKind& kind)>;
using TDTGetHintSizeEvent =
    plat::TEvent<void(plat::TObject* sender, PDataNode node, TColumnIndex column, plat::TRect& r)>;
using TDTDrawHintEvent = plat::TEvent<void(plat::TObject* sender, plat::TCanvas* canvas, PDataNode node,
                                           const plat::TRect& r, TColumnIndex column)>;

// The header's column menu: whether a column gets an entry.
enum TAddPopupItemType : std::uint8_t {
    apNormal,    // the entry is added
    apDisabled,  // added, but cannot be chosen
    apHidden,    // not added
};
using TDTHeaderAddPopupItemEvent =
    plat::TEvent<void(plat::TObject* sender, TColumnIndex column, TAddPopupItemType& cmd)>;

} // namespace qel
