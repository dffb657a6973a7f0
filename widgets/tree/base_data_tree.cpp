// The data tree control's frame: construction with its defaults,
// destruction, assignment from another tree, the loading fix-ups and the
// stream properties of older form descriptions, window creation, the change
// timers, the thread check and the settings with a reaction of their own.
#include "widgets/tree/base_data_tree.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/graphic.h"
#include "platform/canvas/image_list.h"
#include "platform/controls/application.h"
#include "platform/controls/control_messages.h"
#include "platform/controls/window_messages.h"
#include "platform/objects/reader.h"
#include "widgets/tree/dt_data_object.h"
#include "widgets/tree/tree_worker_thread.h"
#include "widgets/tree/try_finally.h"

#include <algorithm>
#include <cstdlib>

namespace qel {

PLAT_DEFINE_CLASS(TBaseDataTree, plat::TCustomControl)

PLAT_BEGIN_MESSAGES(TBaseDataTree, plat::TCustomControl)
    PLAT_MESSAGE(plat::WM_TIMER, WMTimer)
    PLAT_MESSAGE(WM_DTSYNCCALLS, WMSyncCalls)
    PLAT_MESSAGE(plat::WM_NCCALCSIZE, WMNCCalcSize)
    PLAT_MESSAGE(plat::WM_NCHITTEST, WMNCHitTest)
    PLAT_MESSAGE(plat::WM_NCPAINT, WMNCPaint)
    PLAT_MESSAGE(plat::WM_ERASEBKGND, WMEraseBkgnd)
    PLAT_MESSAGE(plat::WM_PAINT, WMPaint)
    PLAT_MESSAGE(plat::CM_COLORCHANGED, CMColorChanged)
    PLAT_MESSAGE(plat::CM_SYSCOLORCHANGE, CMSysColorChange)
    PLAT_MESSAGE(plat::CM_CTL3DCHANGED, CMCtl3DChanged)
    PLAT_MESSAGE(plat::WM_THEMECHANGED, WMThemeChanged)
    PLAT_MESSAGE(plat::WM_PRINT, WMPrint)
    PLAT_MESSAGE(plat::WM_GETOBJECT, WMGetObject)
    PLAT_MESSAGE(TVM_GETITEMRECT, TVMGetItemRect)
    PLAT_MESSAGE(TVM_GETNEXTITEM, TVMGetNextItem)
    PLAT_MESSAGE(TVM_GETITEMW, TVMGetItem)
    PLAT_MESSAGE(plat::WM_SIZE, WMSize)
    PLAT_MESSAGE(plat::WM_VSCROLL, WMVScroll)
    PLAT_MESSAGE(plat::WM_HSCROLL, WMHScroll)
    PLAT_MESSAGE(plat::WM_MBUTTONDOWN, WMMButtonDown)
    PLAT_MESSAGE(plat::WM_MBUTTONUP, WMMButtonUp)
    PLAT_MESSAGE(plat::WM_MBUTTONDBLCLK, WMMButtonDblClk)
    PLAT_MESSAGE(plat::WM_MOUSEMOVE, WMMouseMove)
    PLAT_MESSAGE(plat::WM_LBUTTONDOWN, WMLButtonDown)
    PLAT_MESSAGE(plat::WM_LBUTTONUP, WMLButtonUp)
    PLAT_MESSAGE(plat::WM_LBUTTONDBLCLK, WMLButtonDblClk)
    PLAT_MESSAGE(plat::WM_RBUTTONDOWN, WMRButtonDown)
    PLAT_MESSAGE(plat::WM_RBUTTONUP, WMRButtonUp)
    PLAT_MESSAGE(plat::WM_RBUTTONDBLCLK, WMRButtonDblClk)
    PLAT_MESSAGE(plat::WM_SETCURSOR, WMSetCursor)
    PLAT_MESSAGE(plat::CM_MOUSELEAVE, CMMouseLeave)
    PLAT_MESSAGE(plat::WM_GETDLGCODE, WMGetDlgCode)
    PLAT_MESSAGE(plat::WM_KEYDOWN, WMKeyDown)
    PLAT_MESSAGE(plat::WM_KEYUP, WMKeyUp)
    PLAT_MESSAGE(plat::WM_CHAR, WMChar)
    PLAT_MESSAGE(plat::WM_SETFOCUS, WMSetFocus)
    PLAT_MESSAGE(plat::WM_KILLFOCUS, WMKillFocus)
    PLAT_MESSAGE(plat::WM_ENABLE, WMEnable)
    PLAT_MESSAGE(plat::WM_CANCELMODE, WMCancelMode)
    PLAT_MESSAGE(plat::WM_CUT, WMCut)
    PLAT_MESSAGE(plat::WM_COPY, WMCopy)
    PLAT_MESSAGE(plat::WM_PASTE, WMPaste)
    PLAT_MESSAGE(plat::WM_CONTEXTMENU, WMContextMenu)
    PLAT_MESSAGE(plat::WM_NCDESTROY, WMNCDestroy)
    PLAT_MESSAGE(plat::CM_HINTSHOW, CMHintShow)
    PLAT_MESSAGE(plat::CM_HINTSHOWPAUSE, CMHintShowPause)
    PLAT_MESSAGE(plat::CM_MOUSEWHEEL, CMMouseWheel)
    PLAT_MESSAGE(plat::CM_FONTCHANGED, CMFontChanged)
PLAT_END_MESSAGES

TBaseDataTree::TBaseDataTree(plat::TComponent* owner)
    : plat::TCustomControl(owner), FScrollBarOptions(std::make_unique<TScrollBarOptions>(this))
{
    RegisterBaseTreeFormats();
    FClipboardFormats = std::make_unique<TClipboardFormats>(this);
    CreateHeader();
    FColors = std::make_unique<TDTColors>(this);
    FPlusBM = std::make_unique<plat::TBitmap>();
    FMinusBM = std::make_unique<plat::TBitmap>();
    FHotPlusBM = std::make_unique<plat::TBitmap>();
    FHotMinusBM = std::make_unique<plat::TBitmap>();
    FSelectedHotPlusBM = std::make_unique<plat::TBitmap>();
    FSelectedHotMinusBM = std::make_unique<plat::TBitmap>();
    FBackground = std::make_unique<plat::TPicture>();
    CreateImageChangeLinks();
    plat::TControlStyle style = ControlStyle();
    style.Exclude(plat::csSetCaption);
    style += {plat::csCaptureMouse, plat::csOpaque, plat::csReplicatable, plat::csDisplayDragImage,
              plat::csReflector};
    SetControlStyle(style);
    SetBounds(Left(), Top(), 200, 100);
    SetTabStop(true);
    SetParentColor(false);
    CreateOptions();
    InitRootNode(0);
    if (!Designing()) {
        TWorkerThread::AddThreadReference();
        FHoldsWorkerReference = true;
    }
}

TBaseDataTree::~TBaseDataTree()
{
    plat::TComponent::Destroying();
    // Data objects on the clipboard or in a drag may outlive the tree.
    for (const std::weak_ptr<TDTDataObject>& each : FDataObjects) {
        if (const std::shared_ptr<TDTDataObject> object = each.lock()) {
            object->Detach();
        }
    }
    // So may the drag manager the platform keeps as drop target.
    if (auto* manager = dynamic_cast<TDTDragManager*>(FDragManager.get())) {
        manager->Detach();
    }
    // A handler that raises now cannot pass its error on; the nodes are
    // freed all the same.
    try {
        InterruptValidation();
    } catch (...) {
    }
    // The worker has left the tree; a call it queued no longer runs.
    FSyncCalls.AbandonAll();
    FOptions->InternalSetMiscOptions(FOptions->MiscOptions() - TDTMiscOptions{toReadOnly});
    try {
        CancelEditNode();
    } catch (...) {
    }
    if (FHoldsWorkerReference) {
        TWorkerThread::ReleaseThreadReference(false);
    }
    try {
        Clear();
    } catch (...) {
    }
    std::free(FRoot);
    DetachImageLists();
}

plat::TClass TBaseDataTree::GetOptionsClass() const
{
    return TCustomDataTreeOptions::StaticClass();
}

void TBaseDataTree::CreateOptions()
{
    FOptions.reset(GetOptionsClass()->CreateAs<TCustomDataTreeOptions>(this));
}

plat::TClass TBaseDataTree::GetHeaderClass() const
{
    return TDTHeader::StaticClass();
}

plat::TClass TBaseDataTree::GetColumnClass() const
{
    return TDataTreeColumn::StaticClass();
}

void TBaseDataTree::CreateHeader()
{
    FHeader.reset(GetHeaderClass()->CreateAs<TDTHeader>(this));
}

void TBaseDataTree::Assign(const plat::TPersistent* source)
{
    const auto* tree = dynamic_cast<const TBaseDataTree*>(source);
    if (tree == nullptr || ReadOnly()) {
        plat::TCustomControl::Assign(source);
        return;
    }
    // The properties in the order the tree takes them; the nodes and their
    // data stay behind (only the count of top-level nodes comes along).
    SetAlign(tree->Align());
    SetAnchors(tree->Anchors());
    SetAutoScrollDelay(tree->AutoScrollDelay());
    SetAutoScrollInterval(tree->AutoScrollInterval());
    SetAutoSize(tree->AutoSize());
    SetBackground(tree->Background());
    SetBevelEdges(tree->BevelEdges());
    SetBevelInner(tree->BevelInner());
    SetBevelKind(tree->BevelKind());
    SetBevelOuter(tree->BevelOuter());
    SetBevelWidth(tree->BevelWidth());
    SetBiDiMode(tree->BiDiMode());
    SetBorderStyle(tree->BorderStyle());
    SetBorderWidth(tree->BorderWidth());
    SetChangeDelay(tree->ChangeDelay());
    SetCheckImageKind(tree->CheckImageKind());
    SetColor(tree->Color());
    FColors->Assign(*tree->Colors());
    SetConstraints(tree->Constraints());
    SetCtl3D(tree->Ctl3D());
    SetDefaultNodeHeight(tree->DefaultNodeHeight());
    SetDefaultPasteMode(tree->DefaultPasteMode());
    SetDragImageKind(tree->DragImageKind());
    SetEnabled(tree->Enabled());
    SetFont(tree->Font());
    SetHeader(tree->Header());
    SetHintMode(tree->HintMode());
    SetHotCursor(tree->HotCursor());
    SetImages(tree->Images());
    SetImeMode(tree->ImeMode());
    SetIndent(tree->Indent());
    SetMargin(tree->Margin());
    SetNodeAlignment(tree->NodeAlignment());
    SetNodeDataSize(tree->NodeDataSize());
    SetTreeOptions(tree->TreeOptions());
    SetParentColor(tree->ParentColor());
    SetParentFont(tree->ParentFont());
    SetParentShowHint(tree->ParentShowHint());
    SetPopupMenu(tree->PopupMenu());
    SetRootNodeCount(tree->RootNodeCount());
    SetScrollBarOptions(tree->ScrollBarOptions());
    SetShowHint(tree->ShowHint());
    SetStateImages(tree->StateImages());
    SetTabOrder(tree->TabOrder());
    SetTabStop(tree->TabStop());
    SetVisible(tree->Visible());
    SetSelectionCurveRadius(tree->SelectionCurveRadius());
    SetSelectionBlendFactor(tree->SelectionBlendFactor());
    SetEmptyListMessage(tree->EmptyListMessage());
}

void TBaseDataTree::Loaded()
{
    plat::TCustomControl::Loaded();
    UpdateDropTarget();
    if (FStates.Contains(tsNeedRootCountUpdate) && FRoot->fChildCount > 0) {
        MakeLoadedRootNodes();
    }
    // The header finishes its loading while the tree counts as updating.
    Updating();
    TryFinally(
        [&] {
            FHeader->UpdateMainColumn();
            TDataTreeColumns& columns = FHeader->Columns();
            columns.FixPositions();
            if (FOptions->AutoOptions().Contains(toAutoBidiColumnOrdering)) {
                columns.ReorderColumns(UseRightToLeftAlignment());
            }
            if (FHeader->States().Contains(hsNeedScaling)) {
                FHeader->RecalculateHeader();
            } else {
                FHeader->UpdateNonClientArea();
            }
            if (FHeader->Options().Contains(hoAutoResize)) {
                columns.AdjustAutoSize(InvalidColumn, true);
            }
        },
        [&] { Updated(); });
}

void TBaseDataTree::MakeLoadedRootNodes()
{
    DoStateChange({}, {tsNeedRootCountUpdate});
    const bool wasReadOnly = ReadOnly();
    FOptions->InternalSetMiscOptions(FOptions->MiscOptions() - TDTMiscOptions{toReadOnly});
    const std::uint32_t count = FRoot->fChildCount;
    FRoot->fChildCount = 0;
    TryFinally(
        [&] {
            BeginUpdate();
            TryFinally([&] { SetChildCount(FRoot, count); }, [&] { EndUpdate(); });
        },
        [&] {
            if (wasReadOnly) {
                FOptions->InternalSetMiscOptions(FOptions->MiscOptions() + TDTMiscOptions{toReadOnly});
            }
        });
}

void TBaseDataTree::DefineProperties(plat::TFiler& filer)
{
    plat::TCustomControl::DefineProperties(filer);
    filer.DefineProperty(
        "Columns", [this](plat::TReader& reader) { FHeader->ReadColumns(reader); },
        [this](plat::TWriter& writer) { FHeader->WriteColumns(writer); }, FHeader->CanWriteColumns());
    // Read from older form descriptions and dropped.
    const plat::TReaderProc dropIdent = [this](plat::TReader& reader) { ReadLegacyIdent(reader); };
    filer.DefineProperty("CheckImageKind", dropIdent, {}, false);
    filer.DefineProperty("HintAnimation", dropIdent, {}, false);
}

void TBaseDataTree::ReadLegacyIdent(plat::TReader& reader)
{
    if (reader.NextValue() != plat::TValueType::vaIdent) {
        throw EAssertionFailed("Assertion fehlgeschlagen");
    }
    reader.ReadIdent();
}

void TBaseDataTree::CreateWnd()
{
    DoStateChange({tsWindowCreating});
    TryFinally([&] { plat::TCustomControl::CreateWnd(); }, [&] { DoStateChange({}, {tsWindowCreating}); });
    // The platform draws no visual styles, so the theme states stay off.
    DoStateChange({}, {tsUseThemes, tsUseExplorerTheme});
    if (FCheckImages == nullptr && FCheckImageKind == ckSystemDefault) {
        FSystemCheckImages = CreateSystemCheckImages();
        FCheckImages = FSystemCheckImages.get();
    }
    FSyncCalls.SetWindow(Handle());
    UpdateHeaderRect();
    if (FHeader->States().Contains(hsNeedScaling)) {
        FHeader->RecalculateHeader();
    }
    if (FHeader->Options().Contains(hoAutoResize)) {
        FHeader->Columns().AdjustAutoSize(InvalidColumn, true);
    }
    AutoScale();
    PrepareBitmaps(true, true);
    UpdateDropTarget();
    UpdateScrollBars(true);
}

void TBaseDataTree::DestroyWnd()
{
    // Without a window the worker's calls cannot reach the tree.
    InterruptValidation();
    FSyncCalls.SetWindow(0);
    if (FDropTargetRegistered) {
        plat::RevokeDragDrop(Handle());
        FDropTargetRegistered = false;
    }
    plat::TCustomControl::DestroyWnd();
}

void TBaseDataTree::WMTimer(plat::TMessage& message)
{
    switch (message.WParam) {
    case ChangeTimer:
        if (FStates.Contains(tsChangePending)) {
            DoChange(FLastChangedNode);
        }
        break;
    case StructureChangeTimer:
        DoStructureChange(FLastStructureChangeNode, FLastStructureChangeReason);
        break;
    case ScrollTimer:
        if (FStates.Contains(tsScrollPending) && FStates.Contains(tsHint) && plat::Application != nullptr) {
            plat::Application->CancelHint();
        }
        ScrollTimerFired();
        break;
    case EditTimer:
        StopTimer(EditTimer);
        DoStateChange({}, {tsEditPending});
        DoEdit();
        break;
    case SearchTimer:
        DoStateChange({}, {tsIncrementalSearching});
        StopTimer(SearchTimer);
        FSearchBuffer.clear();
        FLastSearchNode = nullptr;
        break;
    case ThemeChangedTimer:
        StopTimer(ThemeChangedTimer);
        RecreateWnd();
        break;
    case HeaderTimer:
        break;
    case ExpandTimer:
        DoDragExpand();
        break;
    default:
        Inherited(message);
    }
}

void TBaseDataTree::KillTreeTimer(plat::UINT_PTR id)
{
    if (HandleAllocated()) {
        plat::KillTimer(Handle(), id);
    }
}

void TBaseDataTree::SetRedraw(bool redraw)
{
    if (Visible() && HandleAllocated()) {
        plat::SendMessage(Handle(), plat::WM_SETREDRAW, redraw ? 1 : 0, 0);
    }
}

bool TBaseDataTree::InUIThread() const
{
    const std::thread::id uiThread =
        plat::Application != nullptr ? plat::Application->Queue().OwnerThread() : FCreatorThread;
    return std::this_thread::get_id() == uiThread;
}

void TBaseDataTree::CheckUIThread(const char* message) const
{
    TreeAssert(InUIThread(), message);
}

void TBaseDataTree::SetDefaultNodeHeight(int value)
{
    if (value == 0) {
        value = 18;
    }
    if (value == FDefaultNodeHeight) {
        return;
    }
    const std::int64_t difference = std::int64_t{value} - FDefaultNodeHeight;
    FRoot->TotalHeight += difference;
    FRoot->fNodeHeight += difference;
    FDefaultNodeHeight = value;
    InvalidateCache();
    if (HandleAllocated() && !IsUpdating() && !Loading()) {
        ValidateCache();
        UpdateScrollBars(true);
        if (FFocusedNode != nullptr) {
            ScrollIntoView(FFocusedNode, FOptions->SelectionOptions().Contains(toCenterScrollIntoView), true);
        }
        Invalidate();
    }
}

void TBaseDataTree::SetAnimationDuration(unsigned value)
{
    FAnimationDuration = value;
    TDTAnimationOptions animation = FOptions->AnimationOptions();
    if (value != 0) {
        animation.Include(toAnimatedToggle);
    } else {
        animation.Exclude(toAnimatedToggle);
    }
    FOptions->SetAnimationOptions(animation);
}

void TBaseDataTree::SetAutoScrollInterval(TAutoScrollInterval value)
{
    FAutoScrollInterval = std::clamp<TAutoScrollInterval>(value, 1, 1000);
}

} // namespace qel
