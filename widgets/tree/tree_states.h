// The data tree's own state set (changed only through DoStateChange), the
// reasons a structure change names, the phases OnUpdating reports, the long
// operations a user can cancel, and the ids of the tree's window timers.
#pragma once

#include "platform/objects/set.h"
#include "platform/timers.h"

#include <cstdint>

namespace qel {

enum TDataTreeState {
    tsChangePending,               // an OnChange waits (update or change timer)
    tsCheckPropagation,
    tsCollapsing,
    tsToggleFocusedSelection,
    tsClearPending,
    tsClearOnNewSelection,
    tsClipboardFlushing,
    tsCopyPending,
    tsCutPending,
    tsDrawSelPending,
    tsDrawSelecting,
    tsEditing,
    tsEditPending,
    tsExpanding,
    tsNodeHeightTracking,
    tsNodeHeightTrackPending,
    tsHint,
    tsInAnimation,
    tsIncrementalSearching,
    tsIncrementalSearchPending,
    tsIterating,
    tsLeftButtonDown,
    tsLeftDblClick,
    tsMiddleButtonDown,
    tsMiddleDblClick,
    tsNeedRootCountUpdate,         // RootNodeCount was read while loading: Loaded makes the nodes
    tsOLEDragging,
    tsOLEDragPending,
    tsPainting,
    tsRightButtonDown,
    tsRightDblClick,
    tsPopupMenuShown,
    tsScrolling,
    tsScrollPending,
    tsSizing,
    tsStopValidation,
    tsStructureChangePending,      // an OnStructureChange waits
    tsSynchMode,                   // notifications are delivered at once
    tsThumbTracking,
    tsToggling,
    tsUpdateHiddenChildrenNeeded,  // EndUpdate recomputes vsAllChildrenHidden everywhere
    tsUseCache,
    tsUserDragObject,
    tsUseThemes,
    tsValidating,
    tsPreviouslySelectedLocked,
    tsValidationNeeded,
    tsVCLDragging,
    tsVCLDragPending,
    tsVCLDragFinished,
    tsWheelPanning,
    tsWheelScrolling,
    tsWindowCreating,
    tsUseExplorerTheme,
};
using TDataTreeStates = plat::TSet<TDataTreeState>;

enum TChangeReason : std::uint8_t {
    crIgnore,
    crAccumulated,                 // several reasons met inside one update
    crChildAdded,
    crChildDeleted,
    crNodeAdded,
    crNodeCopied,
    crNodeMoved,
};

enum TDTUpdateState { usBegin, usBeginSynch, usSynch, usUpdate, usEnd, usEndSynch };

enum TDTOperationKind { okAutoFitColumns, okGetMaxColumnWidth, okSortNode, okSortTree, okExport, okExpand };

// Window timers of the tree, by id.
constexpr plat::UINT_PTR ExpandTimer = 1;
constexpr plat::UINT_PTR EditTimer = 2;
constexpr plat::UINT_PTR HeaderTimer = 3;
constexpr plat::UINT_PTR ScrollTimer = 4;
constexpr plat::UINT_PTR ChangeTimer = 5;
constexpr plat::UINT_PTR StructureChangeTimer = 6;
constexpr plat::UINT_PTR SearchTimer = 7;
constexpr plat::UINT_PTR ThemeChangedTimer = 8;

} // namespace qel
