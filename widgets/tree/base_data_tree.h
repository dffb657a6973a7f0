// TBaseDataTree, the data tree control: a tree whose nodes hold only
// structure, states and a block of caller data, created lazily and asked
// about through events. This header declares the control: node storage,
// structure operations, lazy initialisation, walking and enumerating nodes,
// expanding, hiding, filtering and node heights, the position cache kept by
// a background worker, check boxes and radio buttons, selection and focus,
// the tree's state set, update counting and the delayed change
// notifications, the options objects and the constructor's settings.
#pragma once

#include "platform/canvas/gdi_objects.h"
#include "platform/controls/custom_control.h"
#include "platform/controls/data_object.h"
#include "widgets/tree/clipboard_formats.h"
#include "widgets/tree/data_node.h"
#include "widgets/tree/data_tree_errors.h"
#include "widgets/tree/data_tree_events.h"
#include "widgets/tree/data_tree_types.h"
#include "widgets/tree/dt_colors.h"
#include "widgets/tree/dt_header.h"
#include "widgets/tree/input_events.h"
#include "widgets/tree/node_enumeration.h"
#include "widgets/tree/node_store.h"
#include "widgets/tree/tree_geometry_types.h"
#include "widgets/tree/tree_drag_manager.h"
#include "widgets/tree/tree_options.h"
#include "widgets/tree/tree_accessibility.h"
#include "widgets/tree/tree_states.h"
#include "widgets/tree/tree_sync_calls.h"

#include <array>
#include <atomic>
#include <climits>
#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <memory>
#include <new>
#include <thread>
#include <type_traits>
#include <vector>

namespace plat {
class TBitmap;
class TChangeLink;
class TCustomImageList;
class TCustomPrinter;
class TPicture;
class TStream;
}

namespace qel {

class TToggleAnimation;
struct TToggleRegion;
class TDTDragImage;
class TDTDataObject;

// The formats a tree offers, for the application to extend or cut.
using TDTGetUserClipboardFormatsEvent = plat::TEvent<void(plat::TObject* sender, TFormatEtcArray& formats)>;
// A format the tree does not render itself; result starts E_FAIL.
using TDTRenderOLEDataEvent =
    plat::TEvent<void(plat::TObject* sender, const plat::TFormatEtc& formatEtcIn, plat::TStgMedium& medium,
                      bool forClipboard, plat::HRESULT& result)>;

enum TDTSearchDirection : std::uint8_t { sdForward, sdBackward };
enum TDTHintMode : std::uint8_t { hmDefault, hmHint, hmHintAndDefault, hmTooltip };

// Accessibility events the tree announces.
constexpr std::uint32_t EVENT_OBJECT_FOCUS = 0x8005;
constexpr std::uint32_t EVENT_OBJECT_SELECTION = 0x8006;
constexpr std::uint32_t EVENT_OBJECT_STATECHANGE = 0x800A;
constexpr std::uint32_t EVENT_OBJECT_LOCATIONCHANGE = 0x800B;
constexpr std::uint32_t EVENT_OBJECT_NAMECHANGE = 0x800C;
constexpr std::uint32_t EVENT_OBJECT_VALUECHANGE = 0x800E;

// The callback of IterateSubtree; setting abort ends the walk at node.
using TDTGetNodeProc = std::function<void(TBaseDataTree* tree, PDataNode node, void* data, bool& abort)>;
// One step of an animation; false ends it. The last call is (0, 0).
using TDTAnimationCallback = std::function<bool(int step, int stepSize)>;

// Events of fitting columns to their content.
using TDTBeforeAutoFitColumnsEvent = plat::TEvent<void(TDTHeader* header, TSmartAutoFitType& smartAutoFitType)>;
using TDTBeforeAutoFitColumnEvent = plat::TEvent<void(TDTHeader* header, TColumnIndex column,
                                                      TSmartAutoFitType& smartAutoFitType, bool& allowed)>;
using TDTAfterAutoFitColumnsEvent = plat::TEvent<void(TDTHeader* header)>;
using TDTBeforeGetMaxColumnWidthEvent =
    plat::TEvent<void(TDTHeader* header, TColumnIndex column, bool& useSmartColumnWidth)>;
using TDTAfterGetMaxColumnWidthEvent = plat::TEvent<void(TDTHeader* header, TColumnIndex column, int& maxWidth)>;

// The tree-line steps of one row, leftmost first.
using TLineImage = std::vector<TDTLineType>;

// One entry of the position cache: a node and its top in the whole
// virtual area (0 for the first visible node).
struct TCacheEntry {
    PDataNode Node;
    std::int64_t AbsoluteTop;
};
using TCache = std::vector<TCacheEntry>;

// How a typed node record is made in and removed from a user data area.
struct TNodeRecordType {
    void (*Construct)(void* data);
    void (*Destroy)(void* data);
};

class TBaseDataTree : public plat::TCustomControl {
    PLAT_CLASS(TBaseDataTree, plat::TCustomControl)
    PLAT_MESSAGES(TBaseDataTree, plat::TCustomControl)
public:
    explicit TBaseDataTree(plat::TComponent* owner);
    // Frees every node (OnFreeNode for each), then the root.
    ~TBaseDataTree() override;

    // Copies the control's properties from another tree (the count of
    // top-level nodes, not the nodes).
    void Assign(const plat::TPersistent* source) override;

    // ---- node record and storage ----
    PDataNode RootNode() const { return FRoot; }
    // Bytes of user data per node; -1 until known (the first node asks
    // OnGetNodeDataSize, 8 without a handler). Changing it re-creates the
    // top-level nodes, uninitialised, with the new size.
    int NodeDataSize() const { return FNodeDataSize; }
    void SetNodeDataSize(int value);
    // Binds T as the record of every node: NodeDataSize becomes sizeof(T),
    // a node's T is made on its first data access and destroyed after its
    // OnFreeNode.
    template <class T>
    void NodeDataType();
    // The user data area of a node (nullptr for nullptr and the root); marks
    // the node for OnFreeNode. Asserts "NodeDataSize not initialized." while
    // NodeDataSize is 0 or less.
    void* GetNodeData(PDataNode node);
    // The node's record of the type bound with NodeDataType<T>.
    template <class T>
    T* GetNodeData(PDataNode node);
    // Stores a pointer in the first slot of the user data.
    void SetNodeData(PDataNode node, void* userData);
    // Stores a counted reference in the first slot of the user data; the
    // node holds it until it is freed (after OnFreeNode).
    template <class T>
    void SetNodeData(PDataNode node, std::shared_ptr<T> userData)
    {
        SetNodeInterface(node, std::static_pointer_cast<void>(std::move(userData)));
    }
    // A new reference to what the node holds that way; empty for nullptr
    // and for a node that holds none.
    template <class T>
    std::shared_ptr<T> GetInterfaceFromNodeData(PDataNode node) const
    {
        return std::static_pointer_cast<T>(NodeInterface(node));
    }
    // The tree that owns a node.
    static TBaseDataTree* TreeFromNode(PDataNode node);
    const TNodeStore& NodeStore() const { return FNodeStore; }
    // Bytes of internal data descendant classes reserved in every block.
    std::uint32_t TotalInternalDataSize() const { return FTotalInternalDataSize; }
    int DefaultNodeHeight() const { return FDefaultNodeHeight; }
    void SetDefaultNodeHeight(int value);

    TDTGetNodeDataSizeEvent OnGetNodeDataSize;
    TDTFreeNodeEvent OnFreeNode;

    // ---- structure ----
    // A new last child of parent (nullptr = the root); nullptr in a
    // read-only tree.
    virtual PDataNode AddChild(PDataNode parent, void* userData = nullptr);
    // A new last child that holds a counted reference as its user data;
    // nullptr (and no reference kept) in a read-only tree.
    template <class T>
    PDataNode AddChild(PDataNode parent, std::shared_ptr<T> userData)
    {
        return AddChildHolding(parent, std::static_pointer_cast<void>(std::move(userData)));
    }
    PDataNode InsertNode(PDataNode node, TDTNodeAttachMode mode, void* userData = nullptr);
    void DeleteNode(PDataNode node, bool reindex = true);
    // Deletes the nodes of an array in tree order.
    void DeleteNodes(const TNodeArray& nodes);
    void DeleteChildren(PDataNode node, bool resetHasChildren = false);
    virtual void Clear();
    virtual void SetChildCount(PDataNode node, std::uint32_t newChildCount);
    // Initialises the children first when they are not created yet.
    std::uint32_t GetChildCount(PDataNode node);
    std::uint32_t RootNodeCount() const { return FRoot->fChildCount; }
    void SetRootNodeCount(std::uint32_t value);
    bool GetHasChildren(PDataNode node) const;
    void SetHasChildren(PDataNode node, bool value);
    bool GetChildrenInitialized(PDataNode node) const;
    bool IsEmpty() const { return FRoot->FirstChild == nullptr; }
    // Every node, after initialising the whole tree.
    std::uint32_t TotalCount();

    // ---- lazy initialisation ----
    void InitRecursive(PDataNode node, std::uint32_t levels = UINT_MAX, bool visibleOnly = true);
    void ValidateNode(PDataNode node, bool recursive);
    void ValidateChildren(PDataNode node, bool recursive);
    virtual void ReinitNode(PDataNode node, bool recursive, bool forceReinit = false);
    virtual void ReinitChildren(PDataNode node, bool recursive, bool forceReinit = false);
    // Back to uninitialised and childless; nullptr or the root clears the tree.
    virtual void ResetNode(PDataNode node);

    TDTInitNodeEvent OnInitNode;
    TDTInitChildrenEvent OnInitChildren;
    TDTChangeEvent OnResetNode;

    // ---- walking: tree order, or with considerChildrenAbove and
    // toChildrenAbove a node after its children; the NoInit forms ask the
    // application nothing and enter no children that are not created ----
    PDataNode GetFirst(bool considerChildrenAbove = false);
    PDataNode GetFirstNoInit(bool considerChildrenAbove = false);
    // The last node below node (nullptr = the root).
    PDataNode GetLast(PDataNode node = nullptr, bool considerChildrenAbove = false);
    PDataNode GetLastNoInit(PDataNode node = nullptr, bool considerChildrenAbove = false);
    PDataNode GetNext(PDataNode node, bool considerChildrenAbove = false);
    PDataNode GetNextNoInit(PDataNode node, bool considerChildrenAbove = false);
    PDataNode GetPrevious(PDataNode node, bool considerChildrenAbove = false);
    PDataNode GetPreviousNoInit(PDataNode node, bool considerChildrenAbove = false);
    PDataNode GetFirstChild(PDataNode node);
    PDataNode GetFirstChildNoInit(PDataNode node) const;
    PDataNode GetLastChild(PDataNode node);
    PDataNode GetLastChildNoInit(PDataNode node) const;
    PDataNode GetNextSibling(PDataNode node);
    PDataNode GetNextSiblingNoInit(PDataNode node) const;
    PDataNode GetPreviousSibling(PDataNode node);
    PDataNode GetPreviousSiblingNoInit(PDataNode node) const;

    // Visible walks: only nodes that take a row (ancestors expanded and
    // visible, the node visible and not filtered out).
    PDataNode GetNextVisible(PDataNode node, bool considerChildrenAbove = true);
    PDataNode GetNextVisibleNoInit(PDataNode node, bool considerChildrenAbove = true);
    PDataNode GetPreviousVisible(PDataNode node, bool considerChildrenAbove = true);
    PDataNode GetPreviousVisibleNoInit(PDataNode node, bool considerChildrenAbove = true);
    PDataNode GetFirstVisible(PDataNode node = nullptr, bool considerChildrenAbove = true,
                              bool includeFiltered = false);
    PDataNode GetFirstVisibleNoInit(PDataNode node = nullptr, bool considerChildrenAbove = true,
                                    bool includeFiltered = false);
    PDataNode GetLastVisible(PDataNode node = nullptr, bool considerChildrenAbove = true,
                             bool includeFiltered = false);
    PDataNode GetLastVisibleNoInit(PDataNode node = nullptr, bool considerChildrenAbove = true,
                                   bool includeFiltered = false);
    PDataNode GetFirstVisibleChild(PDataNode node, bool includeFiltered = false);
    PDataNode GetFirstVisibleChildNoInit(PDataNode node, bool includeFiltered = false);
    PDataNode GetLastVisibleChild(PDataNode node, bool includeFiltered = false);
    PDataNode GetLastVisibleChildNoInit(PDataNode node, bool includeFiltered = false);
    PDataNode GetNextVisibleSibling(PDataNode node, bool includeFiltered = false);
    PDataNode GetNextVisibleSiblingNoInit(PDataNode node, bool includeFiltered = false);
    PDataNode GetPreviousVisibleSibling(PDataNode node, bool includeFiltered = false);
    PDataNode GetPreviousVisibleSiblingNoInit(PDataNode node, bool includeFiltered = false);

    // Walks to nodes with a property; nullptr starts at the first node.
    PDataNode GetFirstChecked(TCheckState state = csCheckedNormal, bool considerChildrenAbove = false);
    PDataNode GetNextChecked(PDataNode node, TCheckState state = csCheckedNormal,
                             bool considerChildrenAbove = false);
    PDataNode GetNextChecked(PDataNode node, bool considerChildrenAbove);
    PDataNode GetPreviousChecked(PDataNode node, TCheckState state = csCheckedNormal,
                                 bool considerChildrenAbove = false);
    PDataNode GetFirstCutCopy(bool considerChildrenAbove = false);
    PDataNode GetNextCutCopy(PDataNode node, bool considerChildrenAbove = false);
    PDataNode GetPreviousCutCopy(PDataNode node, bool considerChildrenAbove = false);
    PDataNode GetFirstSelected(bool considerChildrenAbove = false);
    PDataNode GetNextSelected(PDataNode node, bool considerChildrenAbove = false);
    PDataNode GetPreviousSelected(PDataNode node, bool considerChildrenAbove = false);
    PDataNode GetLastSelected(bool considerChildrenAbove = false);
    PDataNode GetFirstInitialized(bool considerChildrenAbove = false);
    PDataNode GetNextInitialized(PDataNode node, bool considerChildrenAbove = false);
    PDataNode GetPreviousInitialized(PDataNode node, bool considerChildrenAbove = false);
    PDataNode GetLastInitialized(PDataNode node = nullptr, bool considerChildrenAbove = false);
    PDataNode GetFirstLeaf();
    PDataNode GetNextLeaf(PDataNode node);
    PDataNode GetPreviousLeaf(PDataNode node);
    PDataNode GetFirstLevel(std::uint32_t nodeLevel);
    PDataNode GetNextLevel(PDataNode node, std::uint32_t nodeLevel);
    PDataNode GetPreviousLevel(PDataNode node, std::uint32_t nodeLevel);

    // Enumerations for range-for loops.
    TDTDataNodeEnumeration Nodes(bool considerChildrenAbove = false);
    TDTDataNodeEnumeration CheckedNodes(TCheckState state = csCheckedNormal, bool considerChildrenAbove = false);
    TDTDataNodeEnumeration ChildNodes(PDataNode node);
    TDTDataNodeEnumeration CutCopyNodes(bool considerChildrenAbove = false);
    TDTDataNodeEnumeration InitializedNodes(bool considerChildrenAbove = false);
    TDTDataNodeEnumeration LeafNodes();
    TDTDataNodeEnumeration LevelNodes(std::uint32_t nodeLevel);
    TDTDataNodeEnumeration NoInitNodes(bool considerChildrenAbove = false);
    TDTDataNodeEnumeration SelectedNodes(bool considerChildrenAbove = false);
    TDTDataNodeEnumeration VisibleNodes(PDataNode node = nullptr, bool considerChildrenAbove = true,
                                        bool includeFiltered = false);
    TDTDataNodeEnumeration VisibleChildNodes(PDataNode node, bool includeFiltered = false);
    TDTDataNodeEnumeration VisibleChildNoInitNodes(PDataNode node, bool includeFiltered = false);
    TDTDataNodeEnumeration VisibleNoInitNodes(PDataNode node = nullptr, bool considerChildrenAbove = true,
                                              bool includeFiltered = false);

    // Calls callback for every node of startNode's subtree (every node for
    // nullptr) in tree order whose states hold all of filter; answers the
    // node at which the callback set abort. Nodes cannot be deleted meanwhile.
    PDataNode IterateSubtree(PDataNode startNode, const TDTGetNodeProc& callback, void* data,
                             TDataNodeStates filter = {}, bool doInit = false, bool childNodesOnly = false);

    // ---- positions ----
    // 0 for a top-level node (and for nullptr and the root).
    std::uint32_t GetNodeLevel(PDataNode node) const;
    // Nodes before node in tree order.
    std::uint32_t AbsoluteIndex(PDataNode node);
    bool HasAsParent(PDataNode node, PDataNode potentialParent) const;
    // The nearest fully visible ancestor; the root when there is none.
    PDataNode GetVisibleParent(PDataNode node, bool includeFiltered = false);
    // nullptr for top-level nodes.
    PDataNode GetNodeParent(PDataNode node) const;

    // ---- visibility and expansion ----
    // Effectively visible nodes whose ancestors are all expanded and visible.
    std::uint32_t VisibleCount() const { return FVisibleCount; }
    // Initialises the node (nullptr = the root) when needed.
    bool GetVisible(PDataNode node);
    // Node visibility; the control's own stays reachable.
    using plat::TCustomControl::SetVisible;
    void SetVisible(PDataNode node, bool value);
    // Shows the node and opens and shows its ancestors, then scrolls to it.
    void SetFullyVisible(PDataNode node, bool value);
    // With value, expands every collapsed ancestor.
    void SetVisiblePath(PDataNode node, bool value);
    bool GetExpanded(PDataNode node) const;
    void SetExpanded(PDataNode node, bool value);
    bool GetFiltered(PDataNode node) const;
    // A filtered node gives up its own row; its children keep theirs.
    void SetFiltered(PDataNode node, bool value);
    // Filtered and filtered nodes not shown.
    bool GetEffectivelyFiltered(PDataNode node) const
    {
        return node != nullptr && node->States.Contains(vsFiltered) &&
               !FOptions->PaintOptions().Contains(toShowFilteredNodes);
    }
    bool GetEffectivelyVisible(PDataNode node) const;
    // Every ancestor below the root is expanded and visible.
    bool GetVisiblePath(PDataNode node) const
    {
        TreeAssert(node != nullptr && node != FRoot, "Invalid parameters.");
        for (PDataNode run = node->fParent; run != FRoot; run = run->fParent) {
            if (!run->States.Contains(vsExpanded) || !run->States.Contains(vsVisible)) {
                return false;
            }
        }
        return true;
    }
    bool GetFullyVisible(PDataNode node) const
    {
        TreeAssert(node != nullptr, "Invalid parameter.");
        if (node != FRoot && node->States.Contains(vsVisible)) {
            return GetVisiblePath(node);
        }
        return node->States.Contains(vsVisible);
    }
    virtual void ToggleNode(PDataNode node);
    // Expands every node of node's subtree (of the whole tree for nullptr).
    virtual void FullExpand(PDataNode node = nullptr);
    virtual void FullCollapse(PDataNode node = nullptr);

    TDTChangingEvent OnExpanding;
    TDTChangingEvent OnCollapsing;
    TDTChangeEvent OnExpanded;
    TDTChangeEvent OnCollapsed;

    // ---- node heights and per-node settings ----
    // 0 for nullptr and the root; measures the node first with
    // toVariableNodeHeight.
    std::int64_t GetNodeHeight(PDataNode node);
    void SetNodeHeight(PDataNode node, std::int64_t value);
    // Asks OnMeasureItem once per node (toVariableNodeHeight).
    virtual void MeasureItemHeight(plat::TCanvas* canvas, PDataNode node);
    // Every node height times m / d.
    void ScaleNodeHeights(int m, int d);
    bool GetMultiline(PDataNode node) const;
    void SetMultiline(PDataNode node, bool value);
    bool GetDisabled(PDataNode node) const;
    void SetDisabled(PDataNode node, bool value);
    std::uint8_t GetVerticalAlignment(PDataNode node) const;
    // 0 .. 100; larger values become 100.
    void SetVerticalAlignment(PDataNode node, std::uint8_t value);

    TDTMeasureItemEvent OnMeasureItem;

    // ---- position cache ----
    // The node at a vertical position: of the client area with relative,
    // of the whole virtual area without; x is not used. nodeTop gets the
    // node's top in the same coordinates. nullptr below the last node.
    PDataNode GetNodeAt(int x, int y, bool relative, int& nodeTop);
    PDataNode GetNodeAt(int x, int y);
    PDataNode GetNodeAt(plat::TPoint point);

    // ---- check state ----
    TCheckState GetCheckState(PDataNode node);
    void SetCheckState(PDataNode node, TCheckState value);
    TCheckType GetCheckType(PDataNode node) const { return node->CheckType; }
    void SetCheckType(PDataNode node, TCheckType value);
    // Every node (or every selected node) gets the state.
    void SetCheckStateForAll(TCheckState state, bool selectedOnly, bool excludeDisabled = true);
    // Every node that is not csUncheckedNormal becomes it.
    void ClearChecked();
    // Nodes in csCheckedNormal.
    std::uint32_t CheckedCount();

    TDTCheckChangingEvent OnChecking;
    TDTChangeEvent OnChecked;
    TDTBeforeGetCheckStateEvent OnBeforeGetCheckState;

    // ---- states, updates and notifications ----
    TDataTreeStates TreeStates() const { return FStates; }
    std::uint32_t UpdateCount() const { return FUpdateCount; }
    bool IsUpdating() const { return FUpdateCount > 0; }
    virtual void BeginUpdate();
    virtual void EndUpdate();
    void BeginSynch();
    void EndSynch();
    // Milliseconds OnChange and OnStructureChange wait for more changes;
    // 0 delivers them at once.
    unsigned ChangeDelay() const { return FChangeDelay; }
    void SetChangeDelay(unsigned value) { FChangeDelay = value; }

    void BeginOperation(TDTOperationKind kind);
    void EndOperation(TDTOperationKind kind);
    void CancelOperation();
    bool OperationCanceled() const { return FOperationCanceled && FOperationCount > 0; }
    std::uint32_t OperationCount() const { return FOperationCount; }

    TDTChangeEvent OnChange;
    TDTStructureChangeEvent OnStructureChange;
    TDTStateChangeEvent OnStateChange;
    TDTUpdatingEvent OnUpdating;
    TDTOperationEvent OnStartOperation;
    TDTOperationEvent OnEndOperation;

    // ---- options ----
    TCustomDataTreeOptions* TreeOptions() const { return FOptions.get(); }
    void SetTreeOptions(const TCustomDataTreeOptions* value) { FOptions->Assign(value); }
    TScrollBarOptions* ScrollBarOptions() const { return FScrollBarOptions.get(); }
    void SetScrollBarOptions(const TScrollBarOptions* value) { FScrollBarOptions->Assign(value); }

    // ---- sorting, moving and copying ----
    // A stable merge sort of node's children (the top-level nodes for
    // nullptr) by OnCompareNodes.
    virtual void Sort(PDataNode node, TColumnIndex column, TSortDirection direction, bool doInit = true);
    // Sorts every initialised node's children (column -2 sorts nothing).
    virtual void SortTree(TColumnIndex column, TSortDirection direction, bool doInit = true);
    // Moves source (or its children) to target, which may lie in another
    // tree (nullptr: this tree's top level). Within one tree the node
    // records stay; across trees they travel through the tree stream.
    void MoveTo(PDataNode source, PDataNode target, TDTNodeAttachMode mode, bool childrenOnly);
    void MoveTo(PDataNode node, TBaseDataTree* tree, TDTNodeAttachMode mode, bool childrenOnly);
    // Copies through the tree stream; answers target with childrenOnly,
    // else the last copy made (nullptr when it was refused).
    PDataNode CopyTo(PDataNode source, PDataNode target, TDTNodeAttachMode mode, bool childrenOnly);
    PDataNode CopyTo(PDataNode source, TBaseDataTree* tree, TDTNodeAttachMode mode, bool childrenOnly);

    TDTCompareEvent OnCompareNodes;
    TDTNodeMovingEvent OnNodeMoving;
    TDTNodeMovedEvent OnNodeMoved;
    TDTNodeCopyingEvent OnNodeCopying;
    TDTNodeCopiedEvent OnNodeCopied;

    // ---- clipboard ----
    // The format descriptions the tree offers (only those its class renders).
    TClipboardFormats* ClipboardFormats() const { return FClipboardFormats.get(); }
    void SetClipboardFormats(const plat::TStrings& value);
    // The selected nodes go to the clipboard, marked for copying (cutting).
    virtual void CopyToClipboard();
    virtual void CutToClipboard();
    // Inserts the clipboard's tree data at the focused node; true when it
    // was there and read to its end. Raises EDataTreeError "Clipboard
    // operation failed." (2007) when the clipboard cannot be read; a paste
    // into the tree that cut the nodes ends its cut.
    virtual bool PasteFromClipboard();
    // The clipboard's data object (the platform clipboard's answer).
    virtual plat::HRESULT ReadClipboard(std::shared_ptr<plat::IDataObject>& data);
    // Unmarks every node and leaves the copy or cut state.
    void CancelCutOrCopy();
    // Empties the clipboard when it holds this tree's data.
    void EmptyOwnClipboard();
    // After a paste of cut nodes: deletes the marked nodes.
    void FinishCutOrCopy();
    // Renders the tree's clipboard object into blocks, so that the
    // clipboard no longer refers to the tree.
    void FlushClipboard();
    // The marked nodes in tree order; with resolve none below another.
    virtual TNodeArray GetSortedCutCopySet(bool resolve);
    std::uint32_t CutCopyCount();
    // Inserts the "Data Tree Data" of dataObject at targetNode: moved from
    // source with optimized (a move within the process), else copied from
    // the data. False when the data is not there or could not be read,
    // and in a read-only tree.
    bool ProcessOLEData(TBaseDataTree* source, const std::shared_ptr<plat::IDataObject>& dataObject,
                        PDataNode targetNode, TDTNodeAttachMode mode, bool optimized);
    // The tree of this process that made dataObject; nullptr for another
    // process's or no tree's data.
    static TBaseDataTree* GetTreeFromDataObject(const std::shared_ptr<plat::IDataObject>& dataObject);
    // The formats a data object of this tree offers.
    virtual void GetNativeClipboardFormats(TFormatEtcArray& formats);
    // Renders "Data Tree Data" (the cut or copied nodes for the clipboard,
    // the selection for a drag); other formats through OnRenderOLEData.
    virtual plat::HRESULT RenderOLEData(const plat::TFormatEtc& formatEtcIn, plat::TStgMedium& medium,
                                        bool forClipboard);

    TDTGetUserClipboardFormatsEvent OnGetUserClipboardFormats;
    TDTRenderOLEDataEvent OnRenderOLEData;

    // ---- tree stream ----
    // Writes the whole tree, or node and its subtree, with the 12-byte
    // stream header.
    virtual void SaveToStream(plat::TStream& stream, PDataNode node = nullptr);
    void SaveToFile(const std::string& fileName);
    // Replaces the tree's nodes (nothing in a read-only tree); a bad
    // stream raises EDataTreeError with help contexts 2002 to 2006.
    virtual void LoadFromStream(plat::TStream& stream);
    virtual void LoadFromFile(const std::string& fileName);
    // Appends the stream's nodes as last children of targetNode (nullptr:
    // the top level).
    void AddFromStream(plat::TStream& stream, PDataNode targetNode);

    // A node's user data; node is never nullptr here.
    TDTSaveNodeEvent OnSaveNode;
    TDTSaveNodeEvent OnLoadNode;
    TDTSaveTreeEvent OnSaveTree;
    TDTSaveTreeEvent OnLoadTree;

    // ---- selection ----
    bool GetSelected(PDataNode node) const;
    // Without toMultiSelect a new selection replaces the old one and takes
    // the focus.
    void SetSelected(PDataNode node, bool value);
    virtual void AddToSelection(PDataNode node, bool notifySynced);
    virtual void RemoveFromSelection(PDataNode node);
    virtual void ClearSelection(bool fireChangeEvent = true);
    void SelectAll(bool visibleOnly);
    void InvertSelection(bool visibleOnly);
    // The selected nodes in tree order; with resolve only those below no
    // other selected node.
    virtual TNodeArray GetSortedSelection(bool resolve);
    // Selects a node when none is selected and the options ask for one.
    virtual void EnsureNodeSelected(bool afterDeletion);
    int SelectedCount() const { return GetSelectedCount(); }
    // -1 for nullptr and disabled nodes, else the node's level.
    int GetNodeLevelForSelectConstraint(PDataNode node) const;
    bool IsMouseSelecting() const;
    bool SelectionLocked() const { return FSelectionLocked; }
    void SetSelectionLocked(bool value) { FSelectionLocked = value; }

    TDTChangeEvent OnAddToSelection;
    TDTChangeEvent OnRemoveFromSelection;

    // ---- focus ----
    PDataNode FocusedNode() const { return FFocusedNode; }
    void SetFocusedNode(PDataNode value);
    TColumnIndex FocusedColumn() const { return FFocusedColumn; }
    void SetFocusedColumn(TColumnIndex value);

    TDTFocusChangingEvent OnFocusChanging;
    TDTFocusChangeEvent OnFocusChanged;

    // ---- mouse ----
    // What lies under (x, y): client coordinates with relative, else the
    // virtual area's. shift empty: the keyboard's state now.
    virtual void GetHitTestInfoAt(int x, int y, bool relative, THitInfo& hitInfo, plat::TShiftState shift = {});
    PDataNode HotNode() const { return FHotNode; }
    // Stores the hot node without repainting.
    void SetHotNode(PDataNode value) { FHotNode = value; }
    TColumnIndex HotColumn() const { return FCurrentHotColumn; }
    // The hit information of the last button press.
    const THitInfo& LastHitInfo() const { return FLastHitInfo; }
    int DragThreshold() const { return FDragThreshold; }
    void SetDragThreshold(int value) { FDragThreshold = value; }

    TDTNodeClickEvent OnNodeClick;
    TDTNodeClickEvent OnNodeDblClick;
    TDTHotNodeChangeEvent OnHotChange;
    TDTGetCursorEvent OnGetCursor;
    TDTNodeHeightTrackingEvent OnNodeHeightTracking;
    TDTNodeHeightDblClickResizeEvent OnNodeHeightDblClickResize;
    TDTCanSplitterResizeNodeEvent OnCanSplitterResizeNode;
    TDTDragAllowedEvent OnDragAllowed;

    // ---- keyboard and incremental search ----
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool value) { FWantTabs = value; }
    TDTSearchDirection IncrementalSearchDirection() const { return FSearchDirection; }
    void SetIncrementalSearchDirection(TDTSearchDirection value) { FSearchDirection = value; }
    // What was typed so far in an incremental search.
    const std::string& SearchBuffer() const { return FSearchBuffer; }

    TDTKeyActionEvent OnKeyAction;
    TDTIncrementalSearchEvent OnIncrementalSearch;
    TDTHelpContextEvent OnGetHelpContext;
    // F1 found a help context: the application shows its help.
    TDTHelpEvent OnHelp;

    // ---- in-place editing ----
    // Focuses node and opens an editor over its cell; true when editing.
    bool EditNode(PDataNode node, TColumnIndex column);
    // Ends the edit, storing the text; false when the editor refuses.
    virtual bool EndEditNode();
    // Ends the edit, dropping the text; false when the editor refuses.
    virtual bool CancelEditNode();
    bool IsEditing() const;
    // The link to the open editor, or none.
    const PDTEditLink& EditLink() const { return FEditLink; }
    TColumnIndex EditColumn() const { return FEditColumn; }
    // Whether a node's cell may be edited in place.
    virtual bool CanEdit(PDataNode node, TColumnIndex column);

    TDTEditingEvent OnEditing;
    TDTEditChangeEvent OnEdited;
    TDTEditCancelEvent OnEditCancelled;  // never fired by the tree
    TDTCreateEditorEvent OnCreateEditor;

    // ---- the header's column menu ----
    // Fires OnHeaderAddPopupItem for the automatic column menu.
    virtual void DoHeaderAddPopupItem(TColumnIndex column, TAddPopupItemType& cmd);
    TDTHeaderAddPopupItemEvent OnHeaderAddPopupItem;

    // ---- hints and pop-up menus ----
    TDTHintMode HintMode() const { return FHintMode; }
    void SetHintMode(TDTHintMode value) { FHintMode = value; }
    // The area for which the hint now shown stays valid (client coordinates).
    const plat::TRect& LastHintRect() const { return FLastHintRect; }
    // The hint window's class: a TDataTreeHintWindow; its data.
    virtual TDTHintWindowClass GetHintWindowClass();
    const TDTHintData& HintData() const { return FHintData; }
    // Owner-drawn hints: OnGetHintKind picks the kind (GetDefaultHintKind
    // without it); an owner-drawn hint takes its size from OnGetHintSize and
    // is painted by OnDrawHint alone.
    TDTGetHintKindEvent OnGetHintKind;
    TDTGetHintSizeEvent OnGetHintSize;
    TDTDrawHintEvent OnDrawHint;
    virtual TDTHintKind GetDefaultHintKind() { return vhkText; }
    TDTHintKind DoGetHintKind(PDataNode node, TColumnIndex column);
    virtual void DoGetHintSize(PDataNode node, TColumnIndex column, plat::TRect& r);
    virtual void DoDrawHint(plat::TCanvas* canvas, PDataNode node, const plat::TRect& r, TColumnIndex column);

    TDTPopupEvent OnGetPopupMenu;

    // ---- header input ----
    TDTHeaderClickEvent OnHeaderClick;
    TDTHeaderClickEvent OnHeaderDblClick;
    TDTColumnClickEvent OnColumnClick;
    TDTColumnClickEvent OnColumnDblClick;
    TDTHeaderMouseEvent OnHeaderMouseDown;
    TDTHeaderMouseMoveEvent OnHeaderMouseMove;
    TDTHeaderMouseEvent OnHeaderMouseUp;
    TDTHeaderDraggingEvent OnHeaderDragging;
    TDTHeaderDraggedEvent OnHeaderDragged;
    TDTHeaderDraggedOutEvent OnHeaderDraggedOut;
    TDTGetHeaderCursorEvent OnGetHeaderCursor;
    TDTBeforeColumnWidthTrackingEvent OnBeforeColumnWidthTracking;
    TDTColumnWidthTrackingEvent OnColumnWidthTracking;
    TDTHeaderNotifyEvent OnAfterColumnWidthTracking;
    TDTBeforeHeaderHeightTrackingEvent OnBeforeHeaderHeightTracking;
    TDTHeaderHeightTrackingEvent OnHeaderHeightTracking;
    TDTAfterHeaderHeightTrackingEvent OnAfterHeaderHeightTracking;
    TDTColumnWidthDblClickResizeEvent OnColumnWidthDblClickResize;
    TDTHeaderHeightDblClickResizeEvent OnHeaderHeightDblClickResize;
    TDTCanSplitterResizeHeaderEvent OnCanSplitterResizeHeader;
    TDTCanSplitterResizeColumnEvent OnCanSplitterResizeColumn;

    // ---- header and columns ----
    TDTHeader* Header() const { return FHeader.get(); }
    void SetHeader(const TDTHeader* value) { FHeader->Assign(value); }
    // The classes of the header and of its columns; a tree that answers
    // its own header class makes its header anew in its constructor
    // (CreateHeader).
    virtual plat::TClass GetHeaderClass() const;
    virtual plat::TClass GetColumnClass() const;
    // The header band in window coordinates: the window less its frame,
    // Height tall with hoVisible, else empty.
    const plat::TRect& HeaderRect() const { return FHeaderRect; }
    void UpdateHeaderRect();
    TBiDiMode BiDiMode() const { return FBiDiMode; }
    // Columns with coParentBidiMode follow.
    void SetBiDiMode(TBiDiMode value);
    bool UseRightToLeftAlignment() const { return FBiDiMode == bdRightToLeft; }
    bool UseRightToLeftReading() const { return FBiDiMode != bdLeftToRight; }

    // The width a column's content needs: the widest label offset plus
    // text over the visible nodes (with useSmartColumnWidth only those in
    // view).
    virtual int GetMaxColumnWidth(TColumnIndex column, bool useSmartColumnWidth = false);
    // The cell's content margins the application sets in OnBeforeCellPaint
    // (marginType 0: both sides added, 1: left and top, 2: right and bottom).
    virtual plat::TPoint DoGetCellContentMargin(PDataNode node, TColumnIndex column, int marginType = 0,
                                                plat::TCanvas* canvas = nullptr);

    TDTHeaderNotifyEvent OnColumnResize;
    TDTHeaderPaintEvent OnHeaderDraw;
    TDTHeaderPaintQueryElementsEvent OnHeaderDrawQueryElements;
    TDTAdvancedHeaderPaintEvent OnAdvancedHeaderDraw;
    TDTBeforeAutoFitColumnsEvent OnBeforeAutoFitColumns;
    TDTBeforeAutoFitColumnEvent OnBeforeAutoFitColumn;
    TDTHeaderNotifyEvent OnAfterAutoFitColumn;
    TDTAfterAutoFitColumnsEvent OnAfterAutoFitColumns;
    TDTBeforeGetMaxColumnWidthEvent OnBeforeGetMaxColumnWidth;
    TDTAfterGetMaxColumnWidthEvent OnAfterGetMaxColumnWidth;
    TDTHeaderNotifyEvent OnColumnChecked;
    TDTColumnCheckChangingEvent OnColumnChecking;
    TColumnChangeEvent OnColumnVisibilityChanged;

    // ---- scrolling ----
    virtual void UpdateScrollBars(bool doRepaint);
    void UpdateVerticalScrollBar(bool doRepaint);
    void UpdateHorizontalScrollBar(bool doRepaint);
    void UpdateRanges();
    virtual void UpdateVerticalRange();
    virtual void UpdateHorizontalRange();
    // The scroll offsets, 0 or negative, clamped to the virtual area.
    int OffsetX() const { return FOffsetX; }
    int OffsetY() const { return FOffsetY; }
    plat::TPoint OffsetXY() const { return plat::Point(FOffsetX, FOffsetY); }
    void SetOffsetX(int value);
    void SetOffsetY(int value);
    void SetOffsetXY(plat::TPoint value);
    // The horizontal offset as a distance from the virtual area's left edge.
    int EffectiveOffsetX() const { return FEffectiveOffsetX; }
    // FEffectiveOffsetX as FOffsetX and the reading direction give it.
    int ComputeEffectiveOffsetX() const;
    std::int64_t RangeX() const { return std::max<std::int64_t>(FRangeX, 0); }
    // The height of the virtual area, bottom space included.
    std::int64_t RangeY() const { return FRoot->TotalHeight - FRoot->fNodeHeight + FBottomSpace; }
    int BottomSpace() const { return FBottomSpace; }
    void SetBottomSpace(int value);
    // The node at the top (bottom) of the client area; setting one opens
    // its ancestors and scrolls it there.
    PDataNode TopNode();
    void SetTopNode(PDataNode node);
    PDataNode BottomNode();
    void SetBottomNode(PDataNode node);
    // True when the view moved.
    virtual bool ScrollIntoView(PDataNode node, bool center, bool horizontally = false);
    bool ScrollIntoView(TColumnIndex column, bool center, PDataNode node = nullptr);
    // Extra room for right-aligned columns in right-to-left layout.
    virtual int ComputeRTLOffset(bool excludeScrollBar = false) const;
    // The auto-scroll and panning state.
    TScrollDirections ScrollDirections() const { return FScrollDirections; }
    // The window system's cursor name of the panning mark now shown
    // ("DT_MOVEALL", "DT_MOVEN", ...), empty outside panning.
    const std::string& PanningCursorName() const { return FPanningCursorName; }
    const plat::TPoint& LastClickPos() const { return FLastClickPos; }

    TDTScrollEvent OnScroll;
    TDTScrollBarShowEvent OnShowScrollBar;

    // ---- painting and invalidation ----
    TDTColors* Colors() const { return FColors.get(); }
    // Shown in the enlarged tree font when the tree has no visible node.
    const std::string& EmptyListMessage() const { return FEmptyListMessage; }
    void SetEmptyListMessage(const std::string& value);
    int SelectionCurveRadius() const { return FSelectionCurveRadius; }
    void SetSelectionCurveRadius(int value);
    // Paints the part window of the virtual area (horizontally scrolled
    // already) so that its top-left corner lands at target.
    virtual void PaintTree(plat::TCanvas& targetCanvas, const plat::TRect& window, plat::TPoint target,
                           TDTInternalPaintOptions paintOptions);
    // Fills r with the grid line colour.
    virtual void DrawGridLine(plat::TCanvas& canvas, const plat::TRect& r);
    // Marks the node's row for painting and answers it; (-1, -1, -1, -1)
    // inside an update or without a window.
    virtual plat::TRect InvalidateNode(PDataNode node);
    // The children of node (the top-level nodes for nullptr), with
    // recursive all descendants.
    void InvalidateChildren(PDataNode node, bool recursive);
    void InvalidateColumn(TColumnIndex column);
    // From the node's row to the client's bottom (everything for nullptr).
    virtual void InvalidateToBottom(PDataNode node);
    // Repaints the node's row at once.
    void RepaintNode(PDataNode node);

    // ---- printing ----
    // Prints every row (and the header above the first page row with
    // printHeader and a visible header) on as many pages as it takes, in
    // white without selection, focus or drop marks; nothing without a
    // printer. Each page is painted on its own.
    void Print(plat::TCustomPrinter* printer, bool printHeader);

    // ---- accessibility and tree-view queries ----
    // The accessible objects of the tree and of its focused item, made by
    // the registered providers on the first accessibility request.
    const TDTAccessibleRef& Accessible() const { return FAccessible; }
    const TDTAccessibleRef& AccessibleItem() const { return FAccessibleItem; }
    const std::string& AccessibleName() const { return FAccessibleName; }
    void SetAccessibleName(const std::string& value) { FAccessibleName = value; }
    // Whether item is a node of this tree below the root: the node the last
    // query took or gave, else a walk over the nodes made so far, touching
    // none but this tree's.
    bool IsTreeViewItem(PDataNode item) const;
    // Whether the item is visible; when it is, rect gets its row (or its
    // text's box with textOnly) in client coordinates.
    bool TreeViewItemRect(PDataNode item, bool textOnly, plat::TRect& rect);
    // The node a TTreeViewNextCode leads to from item; nullptr for none.
    PDataNode TreeViewNextItem(std::uint32_t code, PDataNode item);
    // Fills what item.Mask names; false, and nothing filled, without
    // TVIF_HANDLE or a live item.
    bool TreeViewGetItem(TDTTreeViewItem& item);

    TDTPaintEvent OnBeforePaint;
    TDTPaintEvent OnAfterPaint;
    TDTBeforeItemEraseEvent OnBeforeItemErase;
    TDTAfterItemEraseEvent OnAfterItemErase;
    TDTBeforeItemPaintEvent OnBeforeItemPaint;
    TDTAfterItemPaintEvent OnAfterItemPaint;
    TDTBeforeCellPaintEvent OnBeforeCellPaint;
    TDTAfterCellPaintEvent OnAfterCellPaint;
    TDTBackgroundPaintEvent OnPaintBackground;
    TDTGetCellIsEmptyEvent OnGetCellIsEmpty;
    TDTPaintText OnPaintText;

    // ---- node geometry ----
    // Offsets of node's row elements up to element in column (NoColumn:
    // the main column); entries past element keep what they held.
    void GetOffsets(PDataNode node, TDTOffsets& offsets, TDTElement element = ofsEndOfClientArea,
                    TColumnIndex column = NoColumn);
    int GetOffset(TDTElement element, PDataNode node);
    // A node's row (or cell, or text with textOnly) in client coordinates;
    // empty for a node that takes no row.
    plat::TRect GetDisplayRect(PDataNode node, TColumnIndex column, bool textOnly, bool unclipped = false,
                               bool applyCellContentMargin = false);
    plat::TRect GetTreeRect() const;
    // A pixel value at 96 dpi for the control's resolution.
    int ScaledPixels(int pixels) const { return plat::MulDiv(pixels, FCurrentPPI, 96); }
    int CurrentPPI() const { return FCurrentPPI; }
    // Scales every metric by m / d (a resolution change from d to m dpi).
    virtual void ChangeScale(int m, int d, bool isDpiChange);
    plat::TCustomImageList* Images() const { return FImages; }
    void SetImages(plat::TCustomImageList* value);
    plat::TCustomImageList* StateImages() const { return FStateImages; }
    void SetStateImages(plat::TCustomImageList* value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);

    TDTGetImageEvent OnGetImage;
    // Asked instead of OnGetImage when assigned.
    TDTGetImageExEvent OnGetImageEx;
    TDTGetImageTextEvent OnGetImageText;
    TDTPrepareButtonImagesEvent OnPrepareButtonBitmaps;
    TDTGetLineStyleEvent OnGetLineStyle;
    TDTBeforeDrawLineImageEvent OnBeforeDrawLineImage;

    // ---- appearance and behaviour settings ----
    int Indent() const { return FIndent; }
    void SetIndent(int value);
    int Margin() const { return FMargin; }
    void SetMargin(int value);
    int TextMargin() const { return FTextMargin; }
    void SetTextMargin(int value);
    int ImagesMargin() const { return FImagesMargin; }
    unsigned AnimationDuration() const { return FAnimationDuration; }
    // A duration other than 0 switches the toggle animation on.
    void SetAnimationDuration(unsigned value);
    unsigned AutoExpandDelay() const { return FAutoExpandDelay; }
    void SetAutoExpandDelay(unsigned value) { FAutoExpandDelay = value; }
    unsigned AutoScrollDelay() const { return FAutoScrollDelay; }
    void SetAutoScrollDelay(unsigned value) { FAutoScrollDelay = value; }
    TAutoScrollInterval AutoScrollInterval() const { return FAutoScrollInterval; }
    void SetAutoScrollInterval(TAutoScrollInterval value);
    unsigned EditDelay() const { return FEditDelay; }
    void SetEditDelay(unsigned value) { FEditDelay = value; }
    unsigned IncrementalSearchTimeout() const { return FIncrementalSearchTimeout; }
    void SetIncrementalSearchTimeout(unsigned value) { FIncrementalSearchTimeout = value; }
    int DragHeight() const { return FDragHeight; }
    void SetDragHeight(int value) { FDragHeight = value; }
    int DragWidth() const { return FDragWidth; }
    void SetDragWidth(int value) { FDragWidth = value; }
    std::uint8_t SelectionBlendFactor() const { return FSelectionBlendFactor; }
    void SetSelectionBlendFactor(std::uint8_t value) { FSelectionBlendFactor = value; }
    TDTNodeAttachMode DefaultPasteMode() const { return FDefaultPasteMode; }
    void SetDefaultPasteMode(TDTNodeAttachMode value) { FDefaultPasteMode = value; }
    // Applies a theme name to the window; the theme change that follows
    // is the tree's own.
    void SetWindowTheme(const std::string& theme);
    const std::string& WindowTheme() const { return FWindowTheme; }
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    // Makes the window anew with or without its sunken edge.
    void SetBorderStyle(TBorderStyle value);
    // The frame's 3D look: a sunken edge for bsSingle (a plain line without).
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool value);
    // Bevels and a border of BorderWidth pixels in the border colour
    // between the window's frame and the header and client area.
    TBevelKind BevelKind() const { return FBevelKind; }
    void SetBevelKind(TBevelKind value);
    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut value);
    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut value);
    TBevelEdges BevelEdges() const { return FBevelEdges; }
    void SetBevelEdges(TBevelEdges value);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int value);
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int value);
    TDragOperations DragOperations() const { return FDragOperations; }
    void SetDragOperations(TDragOperations value) { FDragOperations = value; }
    TDTDragType DragType() const { return FDragType; }
    void SetDragType(TDTDragType value) { FDragType = value; }
    TDTDragImageKind DragImageKind() const { return FDragImageKind; }
    void SetDragImageKind(TDTDragImageKind value) { FDragImageKind = value; }
    TDTButtonStyle ButtonStyle() const { return FButtonStyle; }
    // Rebuilds the button pictures and repaints.
    void SetButtonStyle(TDTButtonStyle value);
    TDTButtonFillMode ButtonFillMode() const { return FButtonFillMode; }
    void SetButtonFillMode(TDTButtonFillMode value);
    TDTLineStyle LineStyle() const { return FLineStyle; }
    // Rebuilds the tree lines' brush and repaints.
    void SetLineStyle(TDTLineStyle value);
    TDTLineMode LineMode() const { return FLineMode; }
    void SetLineMode(TDTLineMode value);
    TDTDrawSelectionMode DrawSelectionMode() const { return FDrawSelectionMode; }
    void SetDrawSelectionMode(TDTDrawSelectionMode value) { FDrawSelectionMode = value; }
    TDTNodeAlignment NodeAlignment() const { return FNodeAlignment; }
    void SetNodeAlignment(TDTNodeAlignment value);
    TDTIncrementalSearch IncrementalSearch() const { return FIncrementalSearch; }
    // isNone ends a running search: its timer, its text and its last hit go.
    void SetIncrementalSearch(TDTIncrementalSearch value);
    TDTSearchStart IncrementalSearchStart() const { return FSearchStart; }
    void SetIncrementalSearchStart(TDTSearchStart value) { FSearchStart = value; }
    TCheckImageKind CheckImageKind() const { return FCheckImageKind; }
    // ckSystemDefault uses the tree's own check pictures (made with the
    // window), ckCustom CustomCheckImages.
    void SetCheckImageKind(TCheckImageKind value);
    plat::TCustomImageList* CustomCheckImages() const { return FCustomCheckImages; }
    // A list switches the kind to ckCustom, nullptr back to ckSystemDefault.
    void SetCustomCheckImages(plat::TCustomImageList* value);
    // The check pictures in use (nullptr before the window exists).
    plat::TCustomImageList* CheckImages() const { return FCheckImages; }
    // Rebuilds the six button pictures and/or the tree lines' brush.
    void PrepareBitmaps(bool needButtons, bool needLines);
    // Stores the handler and draws the button pictures with it.
    void SetOnPrepareButtonBitmaps(TDTPrepareButtonImagesEvent handler);

    // ---- background picture ----
    plat::TPicture* Background() const { return FBackground.get(); }
    void SetBackground(const plat::TPicture* value);
    // index 0: x, 1: y; EDataTreeError for any other index.
    int BackgroundOffset(int index) const;
    void SetBackgroundOffset(int index, int value);
    int BackgroundOffsetX() const { return FBackgroundOffsetX; }
    int BackgroundOffsetY() const { return FBackgroundOffsetY; }
    plat::TCursor HotCursor() const { return FHotCursor; }
    void SetHotCursor(plat::TCursor value) { FHotCursor = value; }
    bool BackGroundImageTransparent() const { return FBackgroundImageTransparent; }
    void SetBackGroundImageTransparent(bool value);
    int LastDragEffect() const { return FLastDragEffect; }

    // ---- drag and drop: the drag manager, node drags, drop targets ----
    // Made on first use: OnCreateDragManager, else the tree's own.
    std::shared_ptr<IDTDragManager> DragManager();
    // Arms a node drag that starts once the mouse moves threshold pixels
    // (< 0: the platform's distance); immediate starts it at once at the
    // last click.
    void BeginDrag(bool immediate, int threshold = -1);
    bool Dragging() const;
    // The node under the mouse while something is dragged over the tree.
    PDataNode DropTargetNode() const { return FDropTargetNode; }
    TDropMode LastDropMode() const { return FLastDropMode; }
    // Inserts dropped tree data at targetNode: a move of this process's
    // nodes moves them and answers effect none (the source deletes
    // nothing), a copy copies; false with no effect otherwise.
    bool ProcessDrop(const std::shared_ptr<plat::IDataObject>& dataObject, PDataNode targetNode,
                     plat::DWORD& effect, TDTNodeAttachMode mode);
    // Renders the selected rows around hotSpot (client coordinates) into a
    // picture that the platform shows during dataObject's drag.
    void PrepareDragImage(plat::TPoint hotSpot, const std::shared_ptr<plat::IDataObject>& dataObject);
    // Deletes the selected nodes (none in a read-only tree).
    virtual void DeleteSelectedNodes();
    // While tree's header drag picture shows: the picture's kept copy takes
    // this tree's part treeRect (client coordinates, cut to the client area)
    // and, with updateNCArea, its frame and header anew; the rest repaints
    // at once, and with reshowDragImage the picture is drawn again.
    virtual void UpdateWindowAndDragImage(TBaseDataTree* tree, plat::TRect treeRect, bool updateNCArea,
                                          bool reshowDragImage);

    TDTDragOverEvent OnDragOver;
    TDTDragDropEvent OnDragDrop;
    TDTCreateDragManagerEvent OnCreateDragManager;
    TDTCreateDataObjectEvent OnCreateDataObject;
    TDTStartDragEvent OnStartDrag;
    TDTEndDragEvent OnEndDrag;

protected:
    // ---- drag and drop (tree_drag_drop.cpp) ----
    friend class TDTDragManager;
    // The node drag: the selection goes to the platform's drag loop.
    virtual void DoDragging(plat::TPoint p);
    virtual plat::DWORD RunOLEDragLoop(plat::DWORD allowedEffects, const std::shared_ptr<plat::IDataObject>& dataObject,
                                       plat::DWORD& dragEffect);
    // What the drag manager hands on (screen points).
    virtual plat::HRESULT DragEnter(plat::DWORD keyState, plat::TPoint screenPoint, plat::DWORD& effect);
    virtual plat::HRESULT DragOver(plat::TObject* source, plat::DWORD keyState, TDragState state,
                                   plat::TPoint screenPoint, plat::DWORD& effect);
    virtual void DragLeave();
    virtual plat::HRESULT DragDrop(const std::shared_ptr<plat::IDataObject>& dataObject, plat::DWORD keyState,
                                   plat::TPoint screenPoint, plat::DWORD& effect);
    // Ends the button states the drag loop swallowed.
    virtual void DragFinished();
    // OnDragOver; without a handler nothing is accepted.
    virtual bool DoDragOver(plat::TObject* source, plat::TShiftState shift, TDragState state, plat::TPoint pt,
                            TDropMode mode, plat::DWORD& effect);
    virtual void DoDragDrop(plat::TObject* source, const std::shared_ptr<plat::IDataObject>& dataObject,
                            const TFormatArray& formats, plat::TShiftState shift, plat::TPoint pt, plat::DWORD& effect,
                            TDropMode mode);
    // The expand timer (1): opens the drop target node.
    virtual void DoDragExpand();
    virtual std::shared_ptr<IDTDragManager> DoCreateDragManager();
    virtual std::shared_ptr<plat::IDataObject> DoCreateDataObject();
    virtual plat::DWORD SuggestDropEffect(plat::TObject* source, plat::TShiftState shift, plat::TPoint pt,
                                          plat::DWORD allowedEffects);
    virtual bool CanAutoScroll() const;
    virtual bool CanShowDragImage() const;
    virtual void DoStartDrag();
    virtual void DoEndDrag(plat::TObject* target, int x, int y);
    // Registers the window as drop target with toAcceptOLEDrop, else revokes it.
    void UpdateDropTarget();
    // Whether edge scrolling waits (AutoScrollDelay since the first wish).
    bool DragScrollWaits(int x, int y) const;
    std::shared_ptr<IDTDragManager> FDragManager;
    TDropMode FLastDropMode = dmOnNode;
    mutable std::int64_t FDragScrollStart = 0;  // clock ms of the first wish to scroll; 0 none
    bool FDropTargetRegistered = false;

    friend class TCustomDataTreeOptions;
    friend class TScrollBarOptions;
    friend class TWorkerThread;
    friend class TDTHeader;
    friend class TDataTreeColumns;
    friend class TDataTreeColumn;

    // ---- header and columns ----
    // After every width change: multiline rows measure again, the scroll
    // bar and the changed part repaint, OnColumnResize fires.
    virtual void DoColumnResize(TColumnIndex column);
    virtual void DoColumnVisibilityChanged(TColumnIndex column, bool visible);
    virtual bool DoColumnChecking(TColumnIndex column, TCheckState& newState);
    virtual void DoColumnChecked(TColumnIndex column);
    // A click on a column's check box.
    void UpdateColumnCheckState(TColumnIndex column);
    // Ends any edit; the string tree also forgets its text widths.
    virtual void MainColumnChanged();
    void WMNCCalcSize(plat::TMessage& message);
    void WMNCHitTest(plat::TMessage& message);
    void WMSize(plat::TMessage& message);
    void WMNCPaint(plat::TMessage& message);
    virtual void DoHeaderDraw(plat::TCanvas* canvas, TDataTreeColumn* column, const plat::TRect& r, bool hover,
                              bool pressed, TDTDropMarkMode dropMark);
    virtual void DoHeaderDrawQueryElements(THeaderPaintInfo& paintInfo, THeaderPaintElements& elements);
    virtual void DoAdvancedHeaderDraw(THeaderPaintInfo& paintInfo, const THeaderPaintElements& elements);
    // Whether the frame has a bevel (header buttons then may leave out the
    // last column's right edge).
    virtual bool HasBevel() const { return FBevelKind != bkNone; }
    // The bevels' width on one edge: inner and outer bevel; 0 without bevels
    // on that edge.
    int BevelSize(TBevelEdge edge) const;
    // True when the application paints header parts itself.
    bool AdvancedHeaderOwnerDraw() const;
    bool HeaderOwnerDraw() const;
    void CMFontChanged(plat::TMessage& message);
    // The header's reaction to a new client size.
    void HeaderSizeChanged();

    // ---- scrolling ----
    // Moves the view; flags say what follows (header, bars, window
    // scrolling); clip limits the scrolled pixels. True when it moved.
    virtual bool DoSetOffsetXY(plat::TPoint value, TScrollUpdateOptions options,
                               const plat::TRect* clipRect = nullptr);
    virtual void DoScroll(int deltaX, int deltaY);
    virtual void DoShowScrollBar(int bar, bool show);
    // The widest text end of the rows on screen.
    virtual int GetMaxRightExtend();
    // Shows bar with the range, position and page, or hides it when
    // everything fits (disabled instead with AlwaysVisible); true when shown.
    bool SetScrollBar(int bar, int clientExtent, std::int64_t range, int position, bool doRepaint);
    void WMVScroll(plat::TMessage& message);
    void WMHScroll(plat::TMessage& message);
    void CMMouseWheel(plat::TMessage& message);
    void WMMButtonDown(plat::TMessage& message);
    void WMMButtonUp(plat::TMessage& message);
    void WMMButtonDblClk(plat::TMessage& message);
    void WMMouseMove(plat::TMessage& message);

    // ---- mouse ----
    // The header gets the window's messages first.
    void WndProc(plat::TMessage& message) override;
    void WMLButtonDown(plat::TMessage& message);
    void WMLButtonUp(plat::TMessage& message);
    void WMLButtonDblClk(plat::TMessage& message);
    void WMRButtonDown(plat::TMessage& message);
    void WMRButtonUp(plat::TMessage& message);
    void WMRButtonDblClk(plat::TMessage& message);
    void WMSetCursor(plat::TMessage& message);
    void CMMouseLeave(plat::TMessage& message);
    virtual void HandleMouseDown(plat::TMessage& message, THitInfo& hitInfo);
    virtual void HandleMouseUp(std::uint32_t keys, const THitInfo& hitInfo);
    virtual void HandleMouseDblClick(plat::TMessage& message, const THitInfo& hitInfo);
    virtual void HandleHotTrack(int x, int y);
    virtual void DoGetCursor(plat::TCursor& cursor);
    virtual void DoHotChange(PDataNode oldNode, PDataNode newNode);
    virtual void DoNodeClick(const THitInfo& hitInfo);
    virtual void DoNodeDblClick(const THitInfo& hitInfo);
    // Whether the node's cell shows an image of kind.
    virtual bool HasImage(PDataNode node, TDTImageKind kind, TColumnIndex column);
    virtual bool HasPopupMenu(PDataNode node, TColumnIndex column, plat::TPoint pos);
    // The hit information of a mouse message at its point.
    THitInfo HitTestMessage(const plat::TMessage& message);
    // Node-height dragging: allowed for a real node in a coFixed column
    // with toNodeHeightResize, unless the application says otherwise.
    bool CanSplitterResizeNode(plat::TPoint p, PDataNode node, TColumnIndex column);
    virtual bool DoNodeHeightTracking(PDataNode node, TColumnIndex column, plat::TShiftState shift,
                                      plat::TPoint& trackPoint, plat::TPoint p);
    virtual bool DoNodeHeightDblClickResize(PDataNode node, TColumnIndex column, plat::TShiftState shift,
                                            plat::TPoint p);
    // Whether a node may be dragged from this cell (OnDragAllowed).
    virtual bool DoDragAllowed(PDataNode node, TColumnIndex column);
    // A node drag starts (the drag operation itself waits for the move
    // past the threshold).
    virtual void BeginNodeDrag();
    // ---- in-place editing ----
    // Starts the in-place edit of the focused node in FEditColumn (also
    // the edit timer's work).
    virtual void DoEdit();
    // Ends (or cancels) the edit through the link; false when it refuses.
    virtual bool DoEndEdit(bool cancel);
    virtual bool DoCancelEdit();
    virtual void DoCanEdit(PDataNode node, TColumnIndex column, bool& allowed);
    // The link for an edit: OnCreateEditor's, or none.
    virtual PDTEditLink DoCreateEditor(PDataNode node, TColumnIndex column);
    // Keeps the editor's bounds on the edited cell.
    virtual void UpdateEditBounds();
    friend class TDTEdit;
    friend class TDataTreeHintWindow;

    // ---- draw selection ----
    // The rubber band's moving corner follows the mouse; true when it changed.
    virtual bool UpdateDrawSelectionRect(int x, int y);
    // Selects and unselects the rows the band now meets; true when any changed.
    virtual bool HandleDrawSelection();
    bool CollectSelectedNodesLTR(TColumnIndex mainColumn, int nodeLeft, int nodeRight, TAlignment alignment,
                                 const plat::TRect& oldRect, const plat::TRect& newRect);
    bool CollectSelectedNodesRTL(TColumnIndex mainColumn, int nodeLeft, int nodeRight, TAlignment alignment,
                                 const plat::TRect& oldRect, const plat::TRect& newRect);

    // ---- keyboard ----
    void WMGetDlgCode(plat::TMessage& message);
    void WMKeyDown(plat::TMessage& message);
    void WMChar(plat::TMessage& message);
    void WMKeyUp(plat::TMessage& message);
    // OnKeyAction; false keeps the tree from handling the key.
    virtual bool DoKeyAction(std::uint16_t& charCode, plat::TShiftState& shift);
    // 0 when the node matches the text.
    virtual int DoIncrementalSearch(PDataNode node, const std::string& text);
    // One step of the incremental search for a typed character (UTF-16 unit).
    virtual void DoSearch(std::uint32_t charCode);
    // The help for the focused node (F1).
    virtual void DoHelp();
    // With toAutoSpanColumns: the node's cell is empty and the text of a
    // column to its left runs over it.
    bool IsCellCovered(PDataNode node, TColumnIndex column);
    // The navigation keys' part of WM_KEYDOWN; false for other keys.
    bool HandleNavigationKey(std::uint16_t key, plat::TShiftState shift);
    void HandleOtherKey(std::uint16_t key, plat::TShiftState shift);

    // ---- window messages, timers, hints ----
    void WMSetFocus(plat::TMessage& message);
    void WMKillFocus(plat::TMessage& message);
    void WMEnable(plat::TMessage& message);
    void WMCancelMode(plat::TMessage& message);
    // The clipboard messages run the tree's clipboard operations.
    void WMCut(plat::TMessage& message);
    void WMCopy(plat::TMessage& message);
    void WMPaste(plat::TMessage& message);
    void WMContextMenu(plat::TMessage& message);
    void WMNCDestroy(plat::TMessage& message);
    void CMHintShow(plat::TMessage& message);
    void CMHintShowPause(plat::TMessage& message);
    void DoEnter() override;
    bool CanFocus() const override;
    // Kills timer id when the window exists; true when it did.
    bool StopTimer(plat::UINT_PTR id);
    // The hint or tooltip text of a node's cell; the string tree gives its texts.
    // lineBreakStyle comes in as hlbDefault and may be changed with the text.
    virtual std::string DoGetNodeHint(PDataNode node, TColumnIndex column, TDTTooltipLineBreakStyle& lineBreakStyle);
    virtual std::string DoGetNodeTooltip(PDataNode node, TColumnIndex column,
                                         TDTTooltipLineBreakStyle& lineBreakStyle);
    // The menu for a node (asking its ancestors too), or nullptr.
    virtual plat::TComponent* DoGetPopupMenu(PDataNode node, TColumnIndex column, plat::TPoint position);
    virtual void DoPopupMenu(PDataNode node, TColumnIndex column, plat::TPoint position);
    // Ends what the mouse and keys had pending (focus loss, cancel mode).
    void CancelPendingInput();
    // Auto scrolling near the edges and wheel panning (timer 4).
    virtual void DoAutoScroll(int x, int y);
    virtual void DoTimerScroll();
    // The directions the mouse at a client point asks for.
    virtual TScrollDirections DetermineScrollDirections(int x, int y) const;
    void ScrollTimerFired();
    virtual void StartWheelPanning(plat::TPoint position);
    virtual void StopWheelPanning();
    virtual void AdjustPanningCursor(int x, int y);
    // Wheel panning mark: 32 x 32 pixels drawn over the rows at the panning
    // centre, with arrows for the directions that can scroll.
    void PaintWindow(plat::HDC dc) override;
    plat::TRect PanningMarkRect() const;
    void PaintPanningMark(plat::TCanvas& canvas);
    // Negative or zero: how much the window's border takes on each side.
    plat::TSize GetBorderDimensions();

    // ---- painting ----
    void Paint() override;
    // Paints a cell's content; the string tree paints its text.
    virtual void DoPaintNode(TDTPaintInfo& paintInfo);
    virtual void DoBeforePaint(plat::TCanvas* canvas);
    virtual void DoAfterPaint(plat::TCanvas* canvas);
    virtual void DoBeforeItemErase(plat::TCanvas* canvas, PDataNode node, const plat::TRect& itemRect,
                                   plat::TColor& color, TItemEraseAction& eraseAction);
    virtual void DoAfterItemErase(plat::TCanvas* canvas, PDataNode node, const plat::TRect& itemRect);
    virtual bool DoBeforeItemPaint(plat::TCanvas* canvas, PDataNode node, const plat::TRect& itemRect);
    virtual void DoAfterItemPaint(plat::TCanvas* canvas, PDataNode node, const plat::TRect& itemRect);
    virtual void DoBeforeCellPaint(plat::TCanvas* canvas, PDataNode node, TColumnIndex column,
                                   TDTCellPaintMode mode, const plat::TRect& cellRect, plat::TRect& contentRect);
    virtual void DoAfterCellPaint(plat::TCanvas* canvas, PDataNode node, TColumnIndex column,
                                  const plat::TRect& cellRect);
    virtual bool DoPaintBackground(plat::TCanvas* canvas, const plat::TRect& r);
    virtual bool DoGetCellIsEmpty(PDataNode node, TColumnIndex column);
    virtual void DoPaintText(PDataNode node, plat::TCanvas* canvas, TColumnIndex column, TDSTTextType textType);
    virtual void DoPaintDropMark(plat::TCanvas* canvas, PDataNode node, const plat::TRect& r);
    // The next visible column after the cell's; the string tree widens the
    // cell over empty neighbours.
    virtual void AdjustPaintCellRect(TDTPaintInfo& paintInfo, TColumnIndex& nextNonEmpty);
    // The canvas font's change notice sets FFontChanged while text paints.
    void RedirectFontChangeEvent(plat::TCanvas* canvas);
    void RestoreFontChangeEvent(plat::TCanvas* canvas);
    // The tree received a new font.
    virtual void FontSet() {}
    bool FFontChanged = false;

    // ---- node elements ----
    // Fills the row's tree-line steps; answers how many ancestors are selected.
    virtual int DetermineLineImageAndSelectLevel(PDataNode node, TLineImage& lineImage);
    virtual void PaintTreeLines(const TDTPaintInfo& paintInfo, int indentSize, const TLineImage& lineImage);
    virtual void DrawLineImage(const TDTPaintInfo& paintInfo, int x, int y, int h, int vAlign, TDTLineType style,
                               bool reverse);
    // One-pixel dotted lines, both ends included.
    virtual void DrawDottedHLine(const TDTPaintInfo& paintInfo, int left, int right, int top);
    virtual void DrawDottedVLine(const TDTPaintInfo& paintInfo, int top, int bottom, int left);
    virtual void PaintNodeButton(plat::TCanvas& canvas, PDataNode node, TColumnIndex column, const plat::TRect& r,
                                 int buttonX, int buttonY, TBiDiMode bidiMode);
    virtual void PaintCheckImage(plat::TCanvas& canvas, const TDTImageInfo& imageInfo, bool selected);
    // The image of kind for the paint info's cell into its entry infoIndex.
    virtual void GetImageIndex(TDTPaintInfo& paintInfo, TDTImageKind kind, TDTImageInfoIndex infoIndex);
    virtual void PaintImage(TDTPaintInfo& paintInfo, TDTImageInfoIndex imageInfoIndex, bool doOverlay);
    // The mouse selection rectangle over one row (targetRect) of a paint
    // whose window starts at windowOrgX.
    virtual void PaintSelectionRectangle(plat::TCanvas& canvas, int windowOrgX, const plat::TRect& selectionRect,
                                         plat::TRect targetRect);
    virtual void DoBeforeDrawLineImage(PDataNode node, int level, int& posX);
    // A brush of the 8 x 8 monochrome pattern of eight rows of bits.
    virtual plat::TLogBrush MakeLineBrush(const std::uint16_t* bits);
    // The check box and radio button pictures at the tree's resolution,
    // image 0 empty, then the 20 states in the check image order.
    std::unique_ptr<plat::TCustomImageList> CreateSystemCheckImages() const;
    // The expand button's size (9 at 96 dpi until the pictures exist).
    int ButtonWidth() const;
    int ButtonHeight() const;
    // Draws the background picture over r: fixed, or tiled from offset.
    void StaticBackground(plat::TCanvas& canvas, plat::TPoint offset, const plat::TRect& r, plat::TColor color);
    void TileBackground(plat::TCanvas& canvas, plat::TPoint offset, const plat::TRect& r, plat::TColor color);
    // The background picture at its own size over color (masked when
    // transparent).
    void PrepareBackgroundPicture(plat::TBitmap& target, plat::TColor color) const;
    bool UsesBackground(TDTInternalPaintOptions paintOptions) const;
    // The window frame's bevels and border; nothing without them.
    virtual void PaintBorder(plat::HDC dc);
    void WMEraseBkgnd(plat::TMessage& message);
    // The paint message: a drag picture the platform shows steps aside
    // while the window paints.
    void WMPaint(plat::TMessage& message);
    // Colours changed: the button pictures are drawn anew.
    void CMColorChanged(plat::TMessage& message);
    void CMSysColorChange(plat::TMessage& message);
    void CMCtl3DChanged(plat::TMessage& message);
    // Themes changed: the tree states follow and, unless the tree caused the
    // change itself, the window is made anew shortly (timer 8).
    void WMThemeChanged(plat::TMessage& message);
    // The frame's bevels and border width changed: the window frame anew.
    void FrameChanged();
    // Stores a changed frame setting and makes the frame anew.
    template <class T>
    void ChangeFrame(T& field, T value);
    void WMPrint(plat::TMessage& message);
    // The accessibility request and the tree-view queries as messages.
    void WMGetObject(plat::TMessage& message);
    void TVMGetItemRect(plat::TMessage& message);
    void TVMGetNextItem(plat::TMessage& message);
    void TVMGetItem(plat::TMessage& message);

    std::unique_ptr<plat::TBitmap> FPlusBM;             // collapsed
    std::unique_ptr<plat::TBitmap> FMinusBM;            // expanded
    std::unique_ptr<plat::TBitmap> FHotPlusBM;
    std::unique_ptr<plat::TBitmap> FHotMinusBM;
    std::unique_ptr<plat::TBitmap> FSelectedHotPlusBM;
    std::unique_ptr<plat::TBitmap> FSelectedHotMinusBM;
    plat::TLogBrush FDottedBrushTreeLines;              // BS_NULL until the lines are prepared
    bool FHotNodeButtonHit = false;                     // the mouse is over the hot node's button
    plat::TRect FNewSelRect;                            // the mouse selection rectangle, virtual area

    // ---- node geometry ----
    virtual plat::TSize GetImageSize(PDataNode node, TDTImageKind kind, TColumnIndex column, bool withSpacing = true);
    plat::TSize GetNodeImageSize(PDataNode node) { return GetImageSize(node, ikNormal, 0, true); }
    // The image of a node's cell and its list; nullptr and -1 for none.
    virtual plat::TCustomImageList* DoGetImageIndex(PDataNode node, TDTImageKind kind, TColumnIndex column,
                                                    bool& ghosted, int& index);
    // OnGetImageText.
    virtual void DoGetImageText(PDataNode node, TDTImageKind kind, TColumnIndex column, std::string& imageText);
    // The centre line of images and button from the row's top, and the
    // button's top, for a row showing normal and state images.
    int DetermineVAlign(PDataNode node, const TDTImageInfo& normal, const TDTImageInfo& state, int& buttonY) const;
    virtual void DetermineHitPositionLTR(THitInfo& hitInfo, int offset, int right, TAlignment alignment);
    virtual void DetermineHitPositionRTL(THitInfo& hitInfo, int offset, int right, TAlignment alignment);
    virtual TDropMode DetermineDropMode(plat::TPoint point, THitInfo& hitInfo, const plat::TRect& nodeRect);
    // The width of a node's content and the extra width right of it; 0 here.
    virtual int DoGetNodeWidth(PDataNode node, TColumnIndex column, plat::TCanvas* canvas = nullptr);
    virtual int DoGetNodeExtraWidth(PDataNode node, TColumnIndex column, plat::TCanvas* canvas = nullptr);
    // The default node height from the font ("Tg" plus the text margin)
    // and the image list (toAutoChangeScale).
    virtual void AutoScale();
    void SetCurrentPPI(int value) { FCurrentPPI = value; }
    // Stores a changed setting and repaints (not while loading; with
    // needsWindow only when the window exists).
    template <class T>
    void StoreAndRepaint(T& field, T value, bool needsWindow);

    // ---- states and notifications ----
    virtual void DoStateChange(TDataTreeStates enter, TDataTreeStates leave = {});
    virtual void RecordPendingChange(bool structure, PDataNode node, TChangeReason reason);
    virtual void Change(PDataNode node);
    virtual void DoChange(PDataNode node);
    virtual void DoStartOperation(TDTOperationKind kind);
    virtual void DoEndOperation(TDTOperationKind kind);
    virtual void StructureChange(PDataNode node, TChangeReason reason);
    virtual void DoStructureChange(PDataNode node, TChangeReason reason);
    virtual void DoUpdating(TDTUpdateState state);
    // The class of the options object; each class that overrides it makes
    // its options anew in its constructor (CreateOptions).
    virtual plat::TClass GetOptionsClass() const;
    void CreateOptions();
    void CreateHeader();

    // ---- lifecycle ----
    void Loaded() override;
    // Makes the top-level nodes whose count was read (also in a read-only tree).
    void MakeLoadedRootNodes();
    // A freed image list is dropped from every role it had.
    void Notification(plat::TComponent* component, plat::TOperation operation) override;
    void DefineProperties(plat::TFiler& filer) override;
    void CreateWnd() override;
    // Clipping of children and siblings, the scroll bars, the sunken edge
    // of bsSingle and full repaints on resizing.
    void CreateParams(plat::TCreateParams& params) override;
    void DestroyWnd() override;
    void WMTimer(plat::TMessage& message);
    // The validation worker's calls wait for this tree.
    void WMSyncCalls(plat::TMessage& message);
    bool Loading() const { return ComponentState().Contains(plat::csLoading); }
    bool Designing() const { return ComponentState().Contains(plat::csDesigning); }
    bool IsDestroying() const { return ComponentState().Contains(plat::csDestroying); }
    bool ReadOnly() const { return FOptions->MiscOptions().Contains(toReadOnly); }
    // Raises the thread assertion with message off the user-interface
    // thread (the owner thread of the running application's message queue).
    void CheckUIThread(const char* message) const;
    bool InUIThread() const;

    // ---- node storage ----
    PDataNode MakeNewNode();
    // Reserves size bytes of internal data in every node block (before any
    // node exists); answers the area's offset from the node start, less
    // NodeDataSize.
    virtual std::uint32_t AllocateInternalDataArea(std::uint32_t size);
    virtual void DoGetNodeDataSize(int& size);
    // Drops the tree's references to the node, fires OnFreeNode, releases
    // its record and frees its block.
    virtual void DoFreeNode(PDataNode node);
    void AdjustTotalCount(PDataNode node, std::int64_t value, bool relative = false);
    void AdjustTotalHeight(PDataNode node, std::int64_t value, bool relative = false);
    void FixupTotalCount(PDataNode node);
    void FixupTotalHeight(PDataNode node);

    // ---- structure ----
    virtual void InitNode(PDataNode node);
    virtual void InitChildren(PDataNode node);
    virtual void InternalConnectNode(PDataNode node, PDataNode destination, TBaseDataTree* target,
                                     TDTNodeAttachMode mode);
    virtual void InternalDisconnectNode(PDataNode node, bool keepFocus, bool reindex = true,
                                        bool parentClearing = false);
    void InternalDeleteNode(PDataNode node, bool reindex, bool parentClearing);
    // The selection side of deleting a node.
    void RemoveDeletedFromSelection(PDataNode node);
    // The nodes of an array that lie below no other entry, once each, in
    // tree order.
    TNodeArray TopmostInTreeOrder(const TNodeArray& nodes) const;
    virtual void DoInitNode(PDataNode parent, PDataNode node, TDataNodeInitStates& initStates);
    // True when OnInitChildren is assigned and was asked.
    virtual bool DoInitChildren(PDataNode node, std::uint32_t& childCount);
    virtual void DoReset(PDataNode node);

    // ---- visibility and expansion ----
    std::uint32_t CountVisibleChildren(PDataNode node) const;
    void DetermineHiddenChildrenFlag(PDataNode node);
    void DetermineHiddenChildrenFlagAllNodes();
    // Shows or hides every filtered node after toShowFilteredNodes changed.
    void ShowFilteredNodes(bool shown);
    virtual bool DoExpanding(PDataNode node);
    virtual void DoExpanded(PDataNode node);
    virtual bool DoCollapsing(PDataNode node);
    virtual void DoCollapsed(PDataNode node);
    void IncVisibleCount() { ++FVisibleCount; }
    void DecVisibleCount() { --FVisibleCount; }
    // Runs callback over duration milliseconds of the platform's clock in
    // up to steps steps (fewer and larger ones when time runs short), then
    // once more with (0, 0).
    virtual void Animate(std::uint32_t steps, std::uint32_t duration, const TDTAnimationCallback& callback);
    // One step of the toggle animation: works out how far each region
    // moves; painting the window scrolls them.
    virtual bool ToggleCallback(int step, int stepSize, TToggleAnimation& animation);
    // Moves a band of the window by amount its way; with fillUncovered the
    // strip it leaves gets the background.
    void ScrollToggleBand(const TToggleAnimation& animation, const TToggleRegion& band, int amount,
                          bool fillUncovered);
    void FillToggleStrip(const plat::TRect& strip);
    virtual void DoMeasureItem(plat::TCanvas* canvas, PDataNode node, TDimension& nodeHeight);

    // ---- walking ----
    // Level of node2 minus level of node1.
    virtual int GetLevelDifference(PDataNode node1, PDataNode node2) const;
    // Below 0 when node1 comes before node2 in painted order, 0 for the
    // same node, above 0 after.
    int CompareNodePositions(PDataNode node1, PDataNode node2, bool considerChildrenAbove = false) const;

    // ---- check state ----
    virtual bool DoChecking(PDataNode node, TCheckState& newState);
    virtual void DoChecked(PDataNode node);
    virtual void ApplyCheckState(PDataNode node, TCheckState newState);
    virtual bool UpdateParentCheckState(PDataNode node, TCheckState newCheckState);
    // The state a click or the space key asks for.
    virtual TCheckState DetermineNextCheckState(TCheckType checkType, TCheckState checkState) const;
    // The index of the check image of a node (of the given type, state and
    // enablement for nullptr); -1 for ctNone.
    virtual int GetCheckImage(PDataNode node, TCheckType imgCheckType = ctNone,
                              TCheckState imgCheckState = csUncheckedNormal, bool imgEnabled = true);
    // Answers true when the node's stored state changed.
    bool ChangeCheckState(PDataNode node, TCheckState value);
    // A click on the check element, keys the mouse message's key flags.
    void HandleCheckClick(PDataNode node, std::uint32_t keys);
    // Check boxes follow the selection (toSyncCheckboxesWithSelection).
    bool SyncCheckstateWithSelection(PDataNode node) const;
    // Whether the last mouse-down hit a check element; the mouse handling
    // answers it.
    virtual bool LastMouseDownOnCheckBox() const { return FLastHitInfo.HitPositions.Contains(hiOnItemCheckbox); }

    // ---- selection and focus ----
    virtual int GetSelectedCount() const { return FSelectionCount; }
    virtual void AddToSelection(TNodeArray& newItems, int newLength, bool forceInsert);
    virtual void ClearTempCache();
    virtual void DoAddToSelection(PDataNode node);
    virtual void DoRemoveFromSelection(PDataNode node);
    virtual void DoFocusChange(PDataNode node, TColumnIndex column);
    virtual bool DoFocusChanging(PDataNode oldNode, PDataNode newNode, TColumnIndex oldColumn,
                                 TColumnIndex newColumn);
    virtual void DoFocusNode(PDataNode node, bool ask);
    virtual void EnsureNodeFocused();
    // Binary search of the selection between the bounds (negative: the
    // whole of it); index gets the place of node or where it would go.
    virtual bool FindNodeInSelection(PDataNode node, int& index, int lowBound, int highBound) const;
    virtual void AddToTempCache(PDataNode node);
    virtual void InternalClearSelection();
    // Unselects the node and marks its entry; the caller packs the array.
    virtual void InternalRemoveFromSelection(PDataNode node);
    virtual void SelectNodes(PDataNode startNode, PDataNode endNode, bool addOnly);
    virtual void SetFocusedNodeAndColumn(PDataNode node, TColumnIndex column);
    virtual void ToggleSelection(PDataNode startNode, PDataNode endNode);
    virtual void UnselectNodes(PDataNode startNode, PDataNode endNode);
    bool InternalAddToSelection(PDataNode node, bool forceInsert);
    // May reorder and shorten newItems.
    bool InternalAddToSelection(TNodeArray& newItems, int newLength, bool forceInsert);
    void HandleClickSelection(PDataNode lastFocused, PDataNode newNode, plat::TShiftState shift, bool dragPending);
    void InternalSetFocusedColumn(TColumnIndex column) { FFocusedColumn = column; }
    // Drops the marked entries of the selection.
    void PackSelection();

    // ---- position cache ----
    void InvalidateCache();
    // Queues the tree for the worker when its cache is stale and it shows
    // more than 2000 nodes.
    virtual void ValidateCache();
    // Stops a running validation and, with waitForValidationTermination,
    // waits until the worker has left the tree.
    void InterruptValidation(bool waitForValidationTermination = true);
    // On the worker: rebuilds the cache; true when it went through. Not
    // virtual: the worker may run it while a derived class's destructor
    // runs, before the base stops the validation.
    bool DoValidateCache();
    // On the worker: queues a state change for the user-interface thread
    // (skipped for a tree being destroyed, and tsUseCache is not entered
    // when the cache went stale meanwhile); error is then handed to the
    // application. The worker waits for the call it answers.
    std::shared_ptr<TSyncCall> ChangeTreeStatesAsync(TDataTreeStates enter, TDataTreeStates leave,
                                                     std::exception_ptr error = nullptr);
    // The cached node at or before a position, with its top; nullptr
    // (currentPos 0) above the first entry.
    PDataNode FindInPositionCache(std::int64_t position, std::int64_t& currentPos) const;
    // The cached node at or before node in painted order, with its top.
    PDataNode FindInPositionCache(PDataNode node, std::int64_t& currentPos) const;
    // Top of a visible node in the virtual area.
    std::int64_t GetNodeTop(PDataNode node);

    // ---- sorting, moving and copying ----
    // 0 unless OnCompareNodes answers otherwise.
    virtual int DoCompare(PDataNode node1, PDataNode node2, TColumnIndex column);
    virtual bool DoNodeMoving(PDataNode node, PDataNode target);
    virtual void DoNodeMoved(PDataNode node);
    virtual bool DoNodeCopying(PDataNode node, PDataNode target);
    virtual void DoNodeCopied(PDataNode node);

    // ---- clipboard ----
    virtual void MarkCutCopyNodes();
    virtual void DoGetUserClipboardFormats(TFormatEtcArray& formats);
    virtual plat::HRESULT DoRenderOLEData(const plat::TFormatEtc& formatEtcIn, plat::TStgMedium& medium,
                                          bool forClipboard);
    // A data object of this tree; the tree detaches it when it goes.
    std::shared_ptr<TDTDataObject> MakeDataObject(bool forClipboard);
    // The nodes of a drag (sorted, resolved) while tsOLEDragging.
    TNodeArray FDragSelection;

    // ---- tree stream ----
    virtual void WriteNode(plat::TStream& stream, PDataNode node);
    // The base chunk with the children, the user data chunk; descendants
    // append their chunks after it.
    virtual void WriteChunks(plat::TStream& stream, PDataNode node);
    // Patches the size of the chunk at chunkStart and moves to chunkEnd.
    virtual void AdjustChunkSize(plat::TStream& stream, std::int64_t chunkStart, std::int64_t chunkEnd);
    // Reads node's anchor chunk and builds its subtree (no bookkeeping).
    virtual void ReadNode(plat::TStream& stream, int version, PDataNode node);
    // One chunk other than the base chunk; true when it was understood.
    // The caller moves to the chunk's end afterwards.
    virtual bool ReadChunk(plat::TStream& stream, int version, PDataNode node, std::int32_t chunkType,
                           std::int32_t chunkSize);
    virtual void SkipNode(plat::TStream& stream);
    // Fills a node connected already from the stream and brings the
    // counts, heights and selection up to date.
    virtual void InternalAddFromStream(plat::TStream& stream, int version, PDataNode node);
    virtual void DoSaveUserData(PDataNode node, plat::TStream& stream);
    virtual void DoLoadUserData(PDataNode node, plat::TStream& stream);

    // ---- what accessibility answers ----
    // The header's view of columns, for the selection and focus rules.
    TColumnIndex HeaderSortColumn() const;
    TSortDirection HeaderSortDirection() const;
    TColumnIndex HeaderMainColumn() const;
    bool HeaderUsesColumns() const;
    bool HeaderAllowsFocus(TColumnIndex column) const;
    bool ColumnIsVisible(TColumnIndex column) const;
    TColumnIndex FirstFocusableColumn() const;
    virtual void NotifyAccessibleEvent(std::uint32_t) {}
    // Runs the auto sort of a node when toAutoSort asks for it.
    void AutoSort(PDataNode node, bool doInit);

    // Nodes the tree keeps between calls: ForgetNode drops one that is
    // freed, ForgetAllNodes every one (Clear).
    void ForgetNode(PDataNode node);
    void ForgetAllNodes();
    void UpdateNextNodeToSelect(PDataNode node);
    void ResetRangeAnchor();

    PDataNode FFocusedNode = nullptr;
    PDataNode FLastSelected = nullptr;
    PDataNode FHotNode = nullptr;
    PDataNode FDropTargetNode = nullptr;
    PDataNode FLastChangedNode = nullptr;
    PDataNode FLastStructureChangeNode = nullptr;
    PDataNode FRangeAnchor = nullptr;
    PDataNode FNextNodeToSelect = nullptr;
    THitInfo FLastHitInfo;                  // the last button press
    TColumnIndex FCurrentHotColumn = NoColumn;
    plat::TPoint FHeightTrackPoint;
    TColumnIndex FHeightTrackColumn = NoColumn;
    TColumnIndex FEditColumn = NoColumn;
    PDTEditLink FEditLink;  // the open editor's link while editing
    int FDragThreshold = 4;
    plat::TShiftState FDrawSelShiftState;
    plat::TRect FLastSelRect;
    bool FWantTabs = false;
    TDTSearchDirection FSearchDirection = sdForward;
    std::string FSearchBuffer;
    TDTHintMode FHintMode = hmDefault;
    plat::TRect FLastHintRect;
    TDTHintData FHintData;   // what the hint window now shown was given
    PDataNode FLastSearchNode = nullptr;
    PDataNode FHeightTrackNode = nullptr;
    PDataNode FLastDragTarget = nullptr;
    TColumnIndex FFocusedColumn = NoColumn;
    int FLastSelectionLevel = -1;
    int FOffsetY = 0;
    plat::TCustomImageList* FCheckImages = nullptr;

    // The selection: the first FSelectionCount entries of FSelection,
    // ordered by address; marked entries are still counted until packed.
    TNodeArray FSelection;
    int FSelectionCount = 0;
    bool FSelectionLocked = false;
    TNodeArray FTempNodeCache;       // nodes gathered for one batch
    std::uint32_t FTempNodeCount = 0;

    TCache FPositionCache;           // written by the worker, read only while tsUseCache
    // Every 40th visible node with its top, written in the same walk as
    // FPositionCache (without its end mark) and read under the same rule:
    // a lookup goes on from here, so its walk is at most 39 nodes long.
    TCache FPositionIndex;
    std::uint32_t FStartIndex = 0;   // where the next validation continues

private:
    void InitRootNode(std::size_t oldSize);
    // The nodes holding state, in tree order; with resolve a node's subtree
    // is skipped once the node is taken.
    TNodeArray NodesInTreeOrderWith(TDataNodeState state, bool resolve);
    // The data size MakeNewNode gives the next node, fixing NodeDataSize
    // on the first node.
    int EnsureNodeDataSize();
    // Changes the user data layout: the nodes are re-created with it.
    void ChangeNodeDataLayout(int size, const TNodeRecordType* recordType);
    void* TouchNodeData(PDataNode node);
    void SetNodeInterface(PDataNode node, const std::shared_ptr<void>& userData);
    std::shared_ptr<void> NodeInterface(PDataNode node) const;
    PDataNode AddChildHolding(PDataNode parent, const std::shared_ptr<void>& userData);
    // The user data area can take a pointer, and holds no typed record.
    void CheckPointerSlot() const;
    // Unchecks a synced check box of a node the selection lets go of.
    void UncheckWhileClearing(PDataNode node);
    // The stored state follows the parent's when a tri-state child is
    // initialised under a checked or unchecked parent.
    void FollowParentCheckState(PDataNode node);
    void ApplyInitStates(PDataNode node, TDataNodeInitStates initStates, bool wasFiltered);
    void DeliverPendingChanges();
    void ReadLegacyIdent(plat::TReader& reader);
    void SortSubtree(PDataNode node, TColumnIndex column, TSortDirection direction, bool doInit);
    // The merge sort of count nodes taken from the head of a list linked
    // through fNextSibling; answers the sorted list's head.
    // A comparison that raised keeps the order from then on; its error is
    // raised once the links are whole again.
    struct TSortRun {
        TColumnIndex Column;
        TSortDirection Direction;
        std::exception_ptr Error;
    };
    PDataNode MergeSortList(PDataNode& head, std::uint32_t count, TSortRun& run);
    PDataNode MergeLists(PDataNode a, PDataNode b, TSortRun& run);
    // Target and mode of a transfer after the root and nil rules.
    TBaseDataTree* TransferTarget(PDataNode& target, TDTNodeAttachMode& mode);
    // Writes source, or each of its children, as one node stream each.
    void WriteTransfer(plat::TStream& stream, PDataNode source, bool childrenOnly, std::uint32_t& count);

    // ---- tree stream ----
    void ReadTopLevelNodes(plat::TStream& stream, int version, std::uint32_t count, PDataNode parent);
    // A new node connected to target by mode, then filled from the stream.
    PDataNode AddNodeFromStream(plat::TStream& stream, int version, PDataNode target, TDTNodeAttachMode mode);
    void FinishLoadedSubtree(PDataNode node, std::int64_t heightBefore, std::int64_t visibleBefore);
    std::int64_t LoadedVisibleCount(PDataNode node) const;
    // The base chunk's fields in the layout of the version; childCount
    // gets the children that follow.
    void ReadNodeFields(plat::TStream& stream, int version, PDataNode node, std::int64_t chunkEnd,
                        std::uint32_t& childCount);
    void KillTreeTimer(plat::UINT_PTR id);
    // WM_SETREDRAW for an update starting (false) or ending (true).
    void SetRedraw(bool redraw);
    // Own height, 0 for an effectively filtered node.
    std::int64_t EffectiveOwnHeight(PDataNode node) const;
    std::array<PDataNode*, 13> NodeReferences();
    // Deleting runs inside a deletion scope: an OnFreeNode handler's error
    // waits until the outermost deletion has finished, so that a handler
    // never leaves a half-unlinked tree, and is raised then.
    template <class Body>
    void InDeletionScope(Body&& body);
    bool CanReactToOptions() const { return !Loading() && HandleAllocated(); }

    // ---- walking ----
    bool UsesChildrenAbove(bool considerChildrenAbove) const
    {
        return considerChildrenAbove && FOptions->PaintOptions().Contains(toChildrenAbove);
    }
    // Creates children that exist but are not made yet.
    void EnsureChildren(PDataNode node);
    // Initialises the node when needed; answers it.
    PDataNode Initialized(PDataNode node)
    {
        if (node != nullptr && node != FRoot && !node->States.Contains(vsInitialized)) {
            InitNode(node);
        }
        return node;
    }
    PDataNode StepForward(PDataNode node, bool considerChildrenAbove, bool init);
    PDataNode StepBackward(PDataNode node, bool considerChildrenAbove, bool init);
    template <class Test>
    PDataNode FindForward(PDataNode node, bool considerChildrenAbove, Test test);
    template <class Test>
    PDataNode FindBackward(PDataNode node, bool considerChildrenAbove, Test test);
    bool CutOrCopyPending() const;

    // Where a visible walk from a node starts: the node itself when it
    // takes a row, else the collapsed ancestor or the hidden branch that
    // hides it.
    enum TVisibleWalkKind { vwShown, vwCollapsedAncestor, vwHiddenBranch };
    struct TVisibleWalkStart {
        PDataNode Node;
        TVisibleWalkKind Kind;
    };
    TVisibleWalkStart VisibleWalkStart(PDataNode node);
    PDataNode NextVisible(PDataNode node, bool considerChildrenAbove, bool init);
    PDataNode PreviousVisible(PDataNode node, bool considerChildrenAbove, bool init);
    PDataNode FirstVisible(PDataNode node, bool considerChildrenAbove, bool includeFiltered, bool init);
    bool ShownChild(PDataNode node, bool includeFiltered) const;

    // ---- expansion and visibility ----
    // The parent's vsAllChildrenHidden needs a new look (at once, or at
    // the end of the update).
    void HiddenChildrenChanged(PDataNode parent);
    // Answer the height the toggle took away or added.
    std::int64_t Collapse(PDataNode node);
    std::int64_t Expand(PDataNode node);
    void AnimateToggle(PDataNode node, std::int64_t delta, bool expanding);
    // Where the view goes after a toggle of a node with children.
    void ScrollAfterToggle(PDataNode node, bool expanded, std::int64_t delta);

    // ---- selection ----
    void InvalidateSelectedRowsOnScreen();
    void AddTempCacheToSelection();
    void OrderByPosition(PDataNode& first, PDataNode& last) const;
    template <class Visit>
    void ForEachVisibleBetween(PDataNode first, PDataNode last, Visit visit);

    // ---- validation worker ----
    // Queued again: a stop request no longer holds.
    void ResumeValidation();
    bool ValidationStopRequested() const { return FValidationStopped.load(); }
    void RunPendingSyncCalls();
    // Runs body on the user-interface thread and waits for it; at once
    // when called there.
    void CallInUIThread(const std::function<void()>& body);
    // Runs body for the waiting worker: validation is then only stopped,
    // never waited for.
    void RunAsWorkerCall(const std::function<void()>& body);
    // The worker's view of a node's height, measured on the
    // user-interface thread when needed.
    std::int64_t MeasureForWorker(PDataNode node);

    std::thread::id FCreatorThread = std::this_thread::get_id();
    PDataNode FRoot = nullptr;
    std::size_t FRootSize = 0;
    std::uint32_t FDeletionDepth = 0;
    std::exception_ptr FFreeNodeError;
    TNodeStore FNodeStore;
    int FNodeDataSize = -1;
    const TNodeRecordType* FRecordType = nullptr;
    std::uint32_t FTotalInternalDataSize = 0;
    int FDefaultNodeHeight = 18;
    std::uint32_t FVisibleCount = 0;
    std::uint32_t FCheckPropagationCount = 0;
    bool FMultilineSeen = false;   // a node was made multi-line since the tree was last empty

    TTreeSyncCalls FSyncCalls;                    // the worker's calls waiting for this tree
    std::atomic<bool> FValidationStopped{false};  // tsStopValidation as the worker reads it
    bool FRunningWorkerCall = false;              // a call the worker waits for is running
    bool FWorkerHasTree = false;                  // queued since the last full interrupt
    bool FHoldsWorkerReference = false;

    TDataTreeStates FStates;
    std::uint32_t FUpdateCount = 0;
    std::uint32_t FSynchUpdateCount = 0;
    unsigned FChangeDelay = 0;
    TChangeReason FLastStructureChangeReason = crIgnore;
    std::uint32_t FOperationCount = 0;
    bool FOperationCanceled = false;

    std::unique_ptr<TCustomDataTreeOptions> FOptions;
    std::unique_ptr<TScrollBarOptions> FScrollBarOptions;

    int FIndent = 18;
    int FMargin = 4;
    int FTextMargin = 4;
    int FImagesMargin = 2;
    unsigned FAnimationDuration = 200;
    unsigned FAutoExpandDelay = 1000;
    unsigned FAutoScrollDelay = 1000;
    TAutoScrollInterval FAutoScrollInterval = 1;
    unsigned FEditDelay = 1000;
    unsigned FIncrementalSearchTimeout = 1000;
    int FDragHeight = 350;
    int FDragWidth = 200;
    std::uint8_t FSelectionBlendFactor = 128;
    TDTNodeAttachMode FDefaultPasteMode = amAddChildLast;
    TBorderStyle FBorderStyle = bsSingle;
    bool FCtl3D = true;
    std::string FWindowTheme;
    bool FChangingTheme = false;   // the next theme change comes from the tree itself
    TBevelKind FBevelKind = bkNone;
    TBevelCut FBevelInner = bvRaised;
    TBevelCut FBevelOuter = bvLowered;
    TBevelEdges FBevelEdges{beLeft, beTop, beRight, beBottom};
    int FBevelWidth = 1;
    int FBorderWidth = 0;
    TDragOperations FDragOperations{doCopy, doMove};
    TDTDragType FDragType = dtOLE;
    TDTDragImageKind FDragImageKind = diComplete;
    TDTButtonStyle FButtonStyle = bsRectangle;
    TDTButtonFillMode FButtonFillMode = fmTreeColor;
    TDTLineStyle FLineStyle = lsDotted;
    TDTNodeAlignment FNodeAlignment = naProportional;
    TDTIncrementalSearch FIncrementalSearch = isNone;
    TDTSearchStart FSearchStart = ssFocusedNode;
    TCheckImageKind FCheckImageKind = ckSystemDefault;
    TDTLineMode FLineMode = lmNormal;
    TDTDrawSelectionMode FDrawSelectionMode = smDottedRectangle;
    std::unique_ptr<plat::TCustomImageList> FSystemCheckImages;  // the pictures of ckSystemDefault
    plat::TCustomImageList* FCustomCheckImages = nullptr;        // not owned
    std::unique_ptr<plat::TPicture> FBackground;
    int FBackgroundOffsetX = 0;
    int FBackgroundOffsetY = 0;
    plat::TCursor FHotCursor = plat::crDefault;
    bool FBackgroundImageTransparent = false;
    int FLastDragEffect = 0;

    // ---- clipboard ----
    std::unique_ptr<TClipboardFormats> FClipboardFormats;
    std::vector<std::weak_ptr<TDTDataObject>> FDataObjects;  // detached when the tree goes

    // ---- header, scrolling and geometry ----
    std::unique_ptr<TDTHeader> FHeader;
    plat::TRect FHeaderRect;            // window coordinates
    TBiDiMode FBiDiMode = bdLeftToRight;
    TAlignment FAlignment = taLeftJustify;
    int FOffsetX = 0;                   // 0 or negative
    int FEffectiveOffsetX = 0;          // distance from the virtual area's left edge
    std::int64_t FRangeX = 0;
    std::int64_t FRangeY = 0;
    int FBottomSpace = 0;
    int FCurrentPPI = 96;
    plat::TCustomImageList* FImages = nullptr;
    plat::TCustomImageList* FStateImages = nullptr;
    TScrollDirections FScrollDirections;
    plat::TPoint FLastClickPos;         // the panning centre, client coordinates
    plat::TPoint FPanningStart;         // where the middle button went down
    std::string FPanningCursorName;

    // ---- painting ----
    std::unique_ptr<TDTColors> FColors;
    std::string FEmptyListMessage;
    int FSelectionCurveRadius = 0;
    plat::TRect FUpdateRect;            // the invalid part of the paint running
    plat::TNotifyEvent FOldFontChange;  // the canvas font's own change handler while redirected
    bool FFontRedirected = false;

    // rowTop: the row's top in the virtual area (for the background picture).
    void EraseNodeRow(TDTPaintInfo& paintInfo, const plat::TRect& r, const plat::TRect& window, int rowTop,
                      bool useBackground);
    void PrepareCell(TDTPaintInfo& paintInfo, int maxWidth);
    // Answers the column painting goes on with (InvalidColumn: none).
    TColumnIndex PaintCell(TDTPaintInfo& paintInfo, const plat::TRect& window, bool isLastColumn);
    // row: where the row lands on the paint canvas.
    void PaintRowCells(TDTPaintInfo& paintInfo, const plat::TRect& window, const plat::TRect& row);
    // Painting unbuffered, the row's place on the target and its clip
    // (empty when buffered, the row bitmap starting at (0, 0)).
    plat::TPoint FRowOrigin;
    plat::TRect FRowClip;
    const plat::TRegion* FTargetClip = nullptr;   // the target's own clip while painting unbuffered
    plat::TRect RowClipped(const plat::TRect& r) const;
    // A one-pixel grid line from left to right, both included.
    void DrawGridHLine(plat::TCanvas& canvas, int left, int right, int top);
    // Tree lines, expand button and check image of the main column's cell.
    void PaintMainColumnElements(TDTPaintInfo& paintInfo, int buttonY);
    void PaintBelowRows(plat::TCanvas& canvas, const plat::TRect& strip, const plat::TRect& window,
                        bool useBackground);
    const TLineImage* FLineImage = nullptr;  // the tree-line steps of the row being painted
    void PaintEmptyListMessage(plat::TCanvas& canvas);

    // ---- image lists (not owned) ----
    void CreateImageChangeLinks();
    // A list the tree shows changed: repaint.
    void ImageListChange();
    // Whether the component serves as one of the tree's (or its header's) image lists.
    bool HoldsImageList(const plat::TComponent* list) const;
    // Moves field to value: the change link and the free notification go along.
    void ExchangeImageList(plat::TCustomImageList*& field, plat::TCustomImageList* value, plat::TChangeLink& link);
    void DetachImageLists();
    std::unique_ptr<plat::TChangeLink> FImageChangeLink;
    std::unique_ptr<plat::TChangeLink> FStateChangeLink;
    std::unique_ptr<plat::TChangeLink> FCustomCheckChangeLink;
    // Selected, or below a selected node.
    bool HasSelectedAncestorOrSelf(PDataNode node) const;

    // ---- accessibility ----
    TDTAccessibleRef FAccessible;       // the tree's object
    TDTAccessibleRef FAccessibleItem;   // the focused item's; let go before the tree's
    std::string FAccessibleName;
    // The node the last tree-view query took or gave: known live without a
    // walk (forgotten with the node), so a walk over the items stays linear.
    PDataNode FTreeViewItem = nullptr;
};

namespace tree_detail {

template <class T>
const TNodeRecordType& RecordTypeOf()
{
    static const TNodeRecordType type{
        [](void* data) { new (data) T(); },
        [](void* data) { static_cast<T*>(data)->~T(); },
    };
    return type;
}

} // namespace tree_detail

template <class T>
void TBaseDataTree::StoreAndRepaint(T& field, T value, bool needsWindow)
{
    if (value == field) {
        return;
    }
    field = value;
    if (!Loading() && (HandleAllocated() || !needsWindow)) {
        Invalidate();
    }
}

template <class T>
void TBaseDataTree::NodeDataType()
{
    static_assert(alignof(T) <= 8, "node records are 8-aligned");
    static_assert(sizeof(T) <= INT_MAX);
    ChangeNodeDataLayout(static_cast<int>(sizeof(T)), &tree_detail::RecordTypeOf<T>());
}

template <class T>
T* TBaseDataTree::GetNodeData(PDataNode node)
{
    TreeAssert(FRecordType == &tree_detail::RecordTypeOf<T>(), "The node record is not of this type.");
    return static_cast<T*>(GetNodeData(node));
}

} // namespace qel
