// The tree's clipboard: copying and cutting the selection as a data object
// of the tree, marking and unmarking the nodes it holds, pasting tree data
// from any data object, and rendering "Data Tree Data".
#include "widgets/tree/base_data_tree.h"

#include "platform/controls/clipboard.h"
#include "platform/streams.h"
#include "widgets/tree/data_tree_errors.h"
#include "widgets/tree/dt_data_object.h"
#include "widgets/tree/tree_byte_streams.h"
#include "widgets/tree/try_finally.h"

#include <algorithm>
#include <vector>
#include <cstring>
#include <unistd.h>

namespace qel {

namespace {

plat::TFormatEtc TreeDataFormat(plat::DWORD tymed)
{
    return plat::TFormatEtc{TreeClipboardFormats().DTData, nullptr, plat::DVASPECT_CONTENT, -1, tymed};
}

} // namespace

// ---- formats and data objects ----

void TBaseDataTree::SetClipboardFormats(const plat::TStrings& value)
{
    FClipboardFormats->Clear();
    for (int i = 0; i < value.Count(); ++i) {
        FClipboardFormats->Add(value.Get(i));
    }
}

void TBaseDataTree::GetNativeClipboardFormats(TFormatEtcArray& formats)
{
    TClipboardFormatList::EnumerateFormats(ClassType(), formats, FClipboardFormats.get());
    DoGetUserClipboardFormats(formats);
}

void TBaseDataTree::DoGetUserClipboardFormats(TFormatEtcArray& formats)
{
    if (OnGetUserClipboardFormats) {
        OnGetUserClipboardFormats(this, formats);
    }
}

plat::HRESULT TBaseDataTree::DoRenderOLEData(const plat::TFormatEtc& formatEtcIn, plat::TStgMedium& medium,
                                             bool forClipboard)
{
    plat::HRESULT result = plat::E_FAIL;
    if (OnRenderOLEData) {
        OnRenderOLEData(this, formatEtcIn, medium, forClipboard, result);
    }
    return result;
}

std::shared_ptr<TDTDataObject> TBaseDataTree::MakeDataObject(bool forClipboard)
{
    auto object = std::make_shared<TDTDataObject>(this, forClipboard);
    std::erase_if(FDataObjects, [](const std::weak_ptr<TDTDataObject>& each) { return each.expired(); });
    FDataObjects.push_back(object);
    return object;
}

plat::HRESULT TBaseDataTree::RenderOLEData(const plat::TFormatEtc& formatEtcIn, plat::TStgMedium& medium,
                                           bool forClipboard)
{
    const plat::DWORD media = formatEtcIn.tymed & (plat::TYMED_HGLOBAL | plat::TYMED_ISTREAM);
    if (formatEtcIn.cfFormat != TreeClipboardFormats().DTData || media == 0) {
        return DoRenderOLEData(formatEtcIn, medium, forClipboard);
    }
    medium = plat::TStgMedium();
    const TNodeArray nodes = forClipboard ? GetSortedCutCopySet(true) : GetSortedSelection(true);
    auto stream = std::make_shared<TTreeWriteBuffer>();
    for (const PDataNode node : nodes) {
        WriteNode(*stream, node);
    }
    if (stream->Size() == 0) {
        return plat::E_FAIL;
    }
    // The stream form whenever a stream is among the media asked for; the
    // block form carries the byte count in front of the nodes.
    if ((media & plat::TYMED_ISTREAM) != 0) {
        stream->SetPosition(0);
        medium.tymed = plat::TYMED_ISTREAM;
        medium.stream = std::move(stream);
        return plat::S_OK;
    }
    medium.hGlobal = plat::GlobalAlloc(plat::GHND | plat::GMEM_SHARE, static_cast<std::size_t>(stream->Size()) + 4);
    if (!medium.hGlobal) {
        return plat::E_OUTOFMEMORY;
    }
    const std::int32_t count = static_cast<std::int32_t>(stream->Size());
    std::memcpy(medium.hGlobal->Data(), &count, 4);
    std::memcpy(medium.hGlobal->Data() + 4, stream->Data(), static_cast<std::size_t>(count));
    medium.tymed = plat::TYMED_HGLOBAL;
    return plat::S_OK;
}

TBaseDataTree* TBaseDataTree::GetTreeFromDataObject(const std::shared_ptr<plat::IDataObject>& dataObject)
{
    if (!dataObject || TreeClipboardFormats().DTReference == 0) {
        return nullptr;
    }
    plat::TStgMedium medium;
    const plat::TFormatEtc format{TreeClipboardFormats().DTReference, nullptr, plat::DVASPECT_CONTENT, -1,
                                  plat::TYMED_HGLOBAL};
    if (dataObject->GetData(format, medium) != plat::S_OK) {
        return nullptr;
    }
    TBaseDataTree* tree = nullptr;
    if (medium.tymed == plat::TYMED_HGLOBAL && plat::GlobalSize(medium.hGlobal) >= TreeReferenceSize) {
        std::uint32_t process = 0;
        std::uint64_t address = 0;
        std::memcpy(&process, medium.hGlobal->Data(), 4);
        std::memcpy(&address, medium.hGlobal->Data() + 8, 8);
        if (process == static_cast<std::uint32_t>(getpid())) {
            tree = reinterpret_cast<TBaseDataTree*>(static_cast<std::uintptr_t>(address));
        }
    }
    plat::ReleaseStgMedium(medium);
    return tree;
}

// ---- copy, cut, paste ----

void TBaseDataTree::MarkCutCopyNodes()
{
    if (GetSelectedCount() <= 0) {
        return;
    }
    for (const PDataNode node : GetSortedSelection(false)) {
        if (!node->States.Contains(vsDisabled)) {
            node->States.Include(vsCutOrCopy);
        }
    }
}

void TBaseDataTree::CopyToClipboard()
{
    if (GetSelectedCount() <= 0) {
        return;
    }
    if (plat::OleSetClipboard(MakeDataObject(true)) != plat::S_OK) {
        return;
    }
    MarkCutCopyNodes();
    DoStateChange({tsCopyPending});
    if (HandleAllocated()) {
        Invalidate();
    }
}

void TBaseDataTree::CutToClipboard()
{
    if (ReadOnly() || GetSelectedCount() <= 0) {
        return;
    }
    if (plat::OleSetClipboard(MakeDataObject(true)) != plat::S_OK) {
        return;
    }
    MarkCutCopyNodes();
    DoStateChange({tsCutPending}, {tsCopyPending});
    if (HandleAllocated()) {
        Invalidate();
    }
}

plat::HRESULT TBaseDataTree::ReadClipboard(std::shared_ptr<plat::IDataObject>& data)
{
    return plat::OleGetClipboard(data);
}

bool TBaseDataTree::PasteFromClipboard()
{
    if (ReadOnly()) {
        return false;
    }
    std::shared_ptr<plat::IDataObject> data;
    if (ReadClipboard(data) != plat::S_OK || !data) {
        ShowDataTreeError("Clipboard operation failed.", 2007);
    }
    TBaseDataTree* source = GetTreeFromDataObject(data);
    const bool optimized = source != nullptr && source->TreeStates().Contains(tsCutPending);
    const bool result = ProcessOLEData(source, data, FFocusedNode, FDefaultPasteMode, optimized);
    // A paste into the cutting tree itself moved the nodes: nothing is
    // left to delete, so the cut ends here.
    if (source == this) {
        DoStateChange({}, {tsCutPending});
    } else if (source != nullptr) {
        source->FinishCutOrCopy();
    }
    return result;
}

void TBaseDataTree::EmptyOwnClipboard()
{
    // Another program's data on the clipboard stays.
    for (const std::weak_ptr<TDTDataObject>& each : FDataObjects) {
        const std::shared_ptr<TDTDataObject> object = each.lock();
        if (object && plat::OleIsCurrentClipboard(object) == plat::S_OK) {
            plat::OleSetClipboard(nullptr);
            return;
        }
    }
}

void TBaseDataTree::CancelCutOrCopy()
{
    if (!FStates.Contains(tsCutPending) && !FStates.Contains(tsCopyPending)) {
        return;
    }
    for (PDataNode run = GetFirstNoInit(); run != nullptr; run = GetNextNoInit(run)) {
        run->States.Exclude(vsCutOrCopy);
    }
    DoStateChange({}, {tsCutPending, tsCopyPending});
    if (HandleAllocated() && !IsDestroying()) {
        Invalidate();
    }
}

void TBaseDataTree::FinishCutOrCopy()
{
    if (FStates.Contains(tsCutPending)) {
        PDataNode run = GetFirstNoInit();
        while (run != nullptr) {
            if (!run->States.Contains(vsCutOrCopy)) {
                run = GetNextNoInit(run);
                continue;
            }
            // The next node after run's subtree, taken before run goes.
            PDataNode next = run;
            while (next != FRoot && next->fNextSibling == nullptr) {
                next = next->fParent;
            }
            next = next == FRoot ? nullptr : next->fNextSibling;
            DeleteNode(run, true);
            run = next;
        }
    }
    DoStateChange({}, {tsCutPending});
}

void TBaseDataTree::FlushClipboard()
{
    if (!FStates.Contains(tsCutPending) && !FStates.Contains(tsCopyPending)) {
        return;
    }
    DoStateChange({tsClipboardFlushing});
    TryFinally(
        [&] {
            plat::OleFlushClipboard();
            CancelCutOrCopy();
        },
        [&] { DoStateChange({}, {tsClipboardFlushing}); });
}

TNodeArray TBaseDataTree::GetSortedCutCopySet(bool resolve)
{
    return NodesInTreeOrderWith(vsCutOrCopy, resolve);
}

std::uint32_t TBaseDataTree::CutCopyCount()
{
    std::uint32_t count = 0;
    for (PDataNode run = GetFirstCutCopy(); run != nullptr; run = GetNextCutCopy(run)) {
        ++count;
    }
    return count;
}

bool TBaseDataTree::ProcessOLEData(TBaseDataTree* source, const std::shared_ptr<plat::IDataObject>& dataObject,
                                   PDataNode targetNode, TDTNodeAttachMode mode, bool optimized)
{
    // A read-only tree takes nothing and says so.
    if (!dataObject || ReadOnly() ||
        dataObject->QueryGetData(TreeDataFormat(plat::TYMED_HGLOBAL | plat::TYMED_ISTREAM)) != plat::S_OK) {
        return false;
    }
    bool result = false;
    BeginUpdate();
    TryFinally(
        [&] {
            if (targetNode == nullptr) {
                targetNode = FRoot;
            }
            if (targetNode == FRoot) {
                if (mode == amInsertBefore) {
                    mode = amAddChildFirst;
                } else if (mode == amInsertAfter) {
                    mode = amAddChildLast;
                }
            }
            if (optimized && source != nullptr) {
                const TNodeArray nodes =
                    source->FStates.Contains(tsOLEDragging) ? source->FDragSelection : source->GetSortedCutCopySet(true);
                const bool forwards = mode == amInsertBefore || mode == amAddChildLast;
                for (std::size_t i = 0; i < nodes.size(); ++i) {
                    const PDataNode node = nodes[forwards ? i : nodes.size() - 1 - i];
                    if (!HasAsParent(targetNode, node)) {
                        source->MoveTo(node, targetNode, mode, false);
                    }
                }
                result = true;
                return;
            }
            const TChangeReason reason = source == this ? crNodeCopied : crNodeAdded;
            plat::TStgMedium medium;
            if (dataObject->GetData(TreeDataFormat(plat::TYMED_HGLOBAL | plat::TYMED_ISTREAM), medium) !=
                plat::S_OK) {
                return;
            }
            // The block's own count, within the bytes that are there.
            std::unique_ptr<TTreeReadBlock> blockStream;
            plat::TStream* stream = nullptr;
            if (medium.tymed == plat::TYMED_ISTREAM && medium.stream) {
                stream = medium.stream.get();
            } else if (medium.tymed == plat::TYMED_HGLOBAL && plat::GlobalSize(medium.hGlobal) >= 4) {
                std::int32_t count = 0;
                std::memcpy(&count, medium.hGlobal->Data(), 4);
                const std::int64_t available = static_cast<std::int64_t>(plat::GlobalSize(medium.hGlobal)) - 4;
                blockStream = std::make_unique<TTreeReadBlock>(medium.hGlobal->Data() + 4,
                                                                     std::clamp<std::int64_t>(count, 0, available));
                stream = blockStream.get();
            }
            if (stream == nullptr) {
                plat::ReleaseStgMedium(medium);
                return;
            }
            TryFinally(
                [&] {
                    PDataNode target = targetNode;
                    // A damaged stream takes back what it brought so far.
                    std::vector<PDataNode> added;
                    try {
                        while (stream->Position() < stream->Size()) {
                            const PDataNode node = MakeNewNode();
                            InternalConnectNode(node, target, this, mode);
                            added.push_back(node);
                            InternalAddFromStream(*stream, 3, node);
                            if (DoNodeCopying(node, target)) {
                                DoNodeCopied(node);
                                StructureChange(node, reason);
                                if (mode == amInsertAfter) {
                                    target = node;
                                }
                            } else {
                                added.pop_back();
                                DeleteNode(node, true);
                            }
                        }
                    } catch (...) {
                        for (auto node = added.rbegin(); node != added.rend(); ++node) {
                            DeleteNode(*node, true);
                        }
                        throw;
                    }
                    result = true;
                },
                [&] {
                    blockStream.reset();
                    plat::ReleaseStgMedium(medium);
                });
        },
        [&] { EndUpdate(); });
    return result;
}

} // namespace qel
