// TBaseDataTree, the data tree control: a tree whose nodes hold only
// structure, states and a block of caller data, created lazily and asked
// about through events. This header declares the spine every later part of
// the control builds on: node storage, structure operations, lazy
// initialisation, the tree's state set, update counting and the delayed
// change notifications, the options objects and the constructor's settings.
#pragma once

#include "platform/controls/custom_control.h"
#include "widgets/tree/data_node.h"
#include "widgets/tree/data_tree_errors.h"
#include "widgets/tree/data_tree_events.h"
#include "widgets/tree/data_tree_types.h"
#include "widgets/tree/node_store.h"
#include "widgets/tree/tree_options.h"
#include "widgets/tree/tree_states.h"

#include <array>
#include <climits>
#include <cstdint>
#include <exception>
#include <memory>
#include <new>
#include <thread>
#include <type_traits>

namespace qel {

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

    // ---- visibility and expansion ----
    // Effectively visible nodes whose ancestors are all expanded and visible.
    std::uint32_t VisibleCount() const { return FVisibleCount; }
    bool GetVisible(PDataNode node) const;
    bool GetExpanded(PDataNode node) const;
    void SetExpanded(PDataNode node, bool value);
    // Filtered and filtered nodes not shown.
    bool GetEffectivelyFiltered(PDataNode node) const;
    bool GetEffectivelyVisible(PDataNode node) const;
    // Every ancestor below the root is expanded and visible.
    bool GetVisiblePath(PDataNode node) const;
    bool GetFullyVisible(PDataNode node) const;
    virtual void ToggleNode(PDataNode node);

    TDTChangingEvent OnExpanding;
    TDTChangingEvent OnCollapsing;
    TDTChangeEvent OnExpanded;
    TDTChangeEvent OnCollapsed;

    // ---- check state ----
    TCheckState GetCheckState(PDataNode node);
    void SetCheckState(PDataNode node, TCheckState value);
    TCheckType GetCheckType(PDataNode node) const { return node->CheckType; }

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

    // ---- sorting ----
    virtual void Sort(PDataNode node, TColumnIndex column, TSortDirection direction, bool doInit = true);
    virtual void SortTree(TColumnIndex column, TSortDirection direction, bool doInit = true);

    // ---- focus ----
    PDataNode FocusedNode() const { return FFocusedNode; }
    TColumnIndex FocusedColumn() const { return FFocusedColumn; }

    // ---- repainting and scrolling ----
    virtual void UpdateScrollBars(bool doRepaint);
    virtual void InvalidateNode(PDataNode node);
    virtual void EnsureNodeSelected(bool afterDeletion);

    // ---- appearance and behaviour settings ----
    int Indent() const { return FIndent; }
    void SetIndent(int value) { FIndent = value; }
    int Margin() const { return FMargin; }
    void SetMargin(int value) { FMargin = value; }
    int TextMargin() const { return FTextMargin; }
    void SetTextMargin(int value) { FTextMargin = value; }
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
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value) { FBorderStyle = value; }
    TDragOperations DragOperations() const { return FDragOperations; }
    void SetDragOperations(TDragOperations value) { FDragOperations = value; }
    TDTDragType DragType() const { return FDragType; }
    void SetDragType(TDTDragType value) { FDragType = value; }
    TDTDragImageKind DragImageKind() const { return FDragImageKind; }
    void SetDragImageKind(TDTDragImageKind value) { FDragImageKind = value; }
    TDTButtonStyle ButtonStyle() const { return FButtonStyle; }
    void SetButtonStyle(TDTButtonStyle value) { FButtonStyle = value; }
    TDTButtonFillMode ButtonFillMode() const { return FButtonFillMode; }
    void SetButtonFillMode(TDTButtonFillMode value) { FButtonFillMode = value; }
    TDTLineStyle LineStyle() const { return FLineStyle; }
    void SetLineStyle(TDTLineStyle value) { FLineStyle = value; }
    TDTNodeAlignment NodeAlignment() const { return FNodeAlignment; }
    void SetNodeAlignment(TDTNodeAlignment value) { FNodeAlignment = value; }
    TDTIncrementalSearch IncrementalSearch() const { return FIncrementalSearch; }
    void SetIncrementalSearch(TDTIncrementalSearch value) { FIncrementalSearch = value; }
    TDTSearchStart IncrementalSearchStart() const { return FSearchStart; }
    void SetIncrementalSearchStart(TDTSearchStart value) { FSearchStart = value; }
    TCheckImageKind CheckImageKind() const { return FCheckImageKind; }
    void SetCheckImageKind(TCheckImageKind value) { FCheckImageKind = value; }
    plat::TCursor HotCursor() const { return FHotCursor; }
    void SetHotCursor(plat::TCursor value) { FHotCursor = value; }
    bool BackGroundImageTransparent() const { return FBackgroundImageTransparent; }
    void SetBackGroundImageTransparent(bool value) { FBackgroundImageTransparent = value; }
    int LastDragEffect() const { return FLastDragEffect; }

protected:
    friend class TCustomDataTreeOptions;
    friend class TScrollBarOptions;

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

    // ---- lifecycle ----
    void Loaded() override;
    void DefineProperties(plat::TFiler& filer) override;
    void CreateWnd() override;
    void WMTimer(plat::TMessage& message);
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

    // ---- check state ----
    virtual bool DoChecking(PDataNode node, TCheckState& newState);
    virtual void DoChecked(PDataNode node);
    virtual void ApplyCheckState(PDataNode node, TCheckState newState);
    virtual bool UpdateParentCheckState(PDataNode node, TCheckState newCheckState);
    bool ChangeCheckState(PDataNode node, TCheckState value);

    // ---- position cache, repainting, editing and the header's sort ----
    void InvalidateCache();
    virtual void ValidateCache();
    void InterruptValidation();
    virtual void InvalidateToBottom(PDataNode node);
    virtual void CancelEditNode();
    virtual TColumnIndex HeaderSortColumn() const { return NoColumn; }
    virtual TSortDirection HeaderSortDirection() const { return sdAscending; }
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
    PDataNode FLastHitNode = nullptr;
    PDataNode FLastSearchNode = nullptr;
    PDataNode FHeightTrackNode = nullptr;
    PDataNode FLastDragTarget = nullptr;
    TColumnIndex FFocusedColumn = NoColumn;
    int FLastSelectionLevel = -1;

private:
    void InitRootNode(std::size_t oldSize);
    // The data size MakeNewNode gives the next node, fixing NodeDataSize
    // on the first node.
    int EnsureNodeDataSize();
    // Changes the user data layout: the nodes are re-created with it.
    void ChangeNodeDataLayout(int size, const TNodeRecordType* recordType);
    void* TouchNodeData(PDataNode node);
    // The stored state follows the parent's when a tri-state child is
    // initialised under a checked or unchecked parent.
    void FollowParentCheckState(PDataNode node);
    void ApplyInitStates(PDataNode node, TDataNodeInitStates initStates, bool wasFiltered);
    void DeliverPendingChanges();
    void ReadLegacyIdent(plat::TReader& reader);
    void SortSubtree(PDataNode node, TColumnIndex column, TSortDirection direction, bool doInit);
    void KillTreeTimer(plat::UINT_PTR id);
    // WM_SETREDRAW for an update starting (false) or ending (true).
    void SetRedraw(bool redraw);
    // Own height, 0 for an effectively filtered node.
    std::int64_t EffectiveOwnHeight(PDataNode node) const;
    std::array<PDataNode*, 12> NodeReferences();
    // Deleting runs inside a deletion scope: an OnFreeNode handler's error
    // waits until the outermost deletion has finished, so that a handler
    // never leaves a half-unlinked tree, and is raised then.
    template <class Body>
    void InDeletionScope(Body&& body);
    bool CanReactToOptions() const { return !Loading() && HandleAllocated(); }

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
    plat::TCursor FHotCursor = plat::crDefault;
    bool FBackgroundImageTransparent = false;
    int FLastDragEffect = 0;
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
