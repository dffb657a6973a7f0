// The data tree's stream: a 12-byte header and a count, then one anchor
// chunk per node holding its base chunk (fields and children), its user
// data chunk and chunks of descendant classes. Written with chunk sizes
// patched afterwards; read without recursion, every size and count checked
// against the bytes that are there, so that a stream from outside ends in a
// clear error and never in a crash or an endless read.
#include "widgets/tree/base_data_tree.h"

#include "platform/atomic_file.h"
#include "platform/streams.h"
#include "widgets/tree/tree_byte_streams.h"
#include "widgets/tree/try_finally.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace qel {

namespace {

constexpr std::uint16_t StreamHeader[6] = {0x2045, 0x0044, 0x0054, 3, 0x0020, 0x2046};
constexpr std::int32_t AnchorChunk = 1;
constexpr std::int32_t BaseChunk = 2;
constexpr std::int32_t UserChunk = 4;
// The smallest node a stream can hold: anchor and base headers and the
// version-1 fields; a child count larger than the bytes allow is refused.
constexpr std::int64_t SmallestNode = 8 + 8 + 11;
// How deep a stream may nest nodes.
constexpr std::size_t MaxStreamDepth = 1000;

// The states a node is written without: those of a change in progress and
// of the tree's own bookkeeping.
const TDataNodeStates UnwrittenStates{vsChecking, vsCutOrCopy, vsDeleting, vsOnFreeNodeCallRequired,
                                      vsHeightMeasured};
// The states taken from a stream: those that mean something in another
// tree or session; all the others are recomputed or belong to a running
// operation.
const TDataNodeStates PersistentStates{vsInitialized, vsDisabled, vsExpanded, vsHasChildren,
                                       vsVisible,     vsSelected, vsMultiline, vsFiltered};

[[noreturn]] void StreamError(int helpContext)
{
    switch (helpContext) {
    case 2002:
        throw EDataTreeError("Unable to load tree structure, the format is wrong.", 2002);
    case 2003:
        throw EDataTreeError("Unable to load tree structure, the version is unknown.", 2003);
    case 2004:
        throw EDataTreeError("Unable to load tree structure, not enough data available.", 2004);
    case 2005:
        throw EDataTreeError("Stream data corrupt. A node's anchor chunk is missing.", 2005);
    default:
        throw EDataTreeError("Stream data corrupt. Unexpected data after node's end position.", 2006);
    }
}

// Exactly count bytes, else error 2004.
void ReadExact(plat::TStream& stream, void* buffer, std::int64_t count)
{
    if (stream.Read(buffer, count) != count) {
        StreamError(2004);
    }
}

template <class T>
T ReadValue(plat::TStream& stream)
{
    T value{};
    ReadExact(stream, &value, sizeof value);
    return value;
}

template <class T>
void WriteValue(plat::TStream& stream, T value)
{
    stream.WriteBuffer(&value, sizeof value);
}

struct TChunkHeader {
    std::int32_t Type;
    std::int32_t Size;
};

TChunkHeader ReadChunkHeaderRaw(plat::TStream& stream)
{
    std::int32_t both[2];
    ReadExact(stream, both, sizeof both);
    return TChunkHeader{both[0], both[1]};
}

// A chunk header whose body ends within limit, else error 2006.
TChunkHeader ReadChunkHeader(plat::TStream& stream, std::int64_t limit)
{
    const TChunkHeader header = ReadChunkHeaderRaw(stream);
    if (header.Size < 0 || stream.Position() + header.Size > limit) {
        StreamError(2006);
    }
    return header;
}

void WriteChunkHeader(plat::TStream& stream, std::int32_t type)
{
    const std::int32_t both[2] = {type, 0};
    stream.WriteBuffer(both, sizeof both);
}

// The header's version (after checking its signature), and the count of
// top-level nodes (unbounded for version 1).
int ReadStreamHeader(plat::TStream& stream, std::uint32_t& count)
{
    std::uint16_t header[6];
    ReadExact(stream, header, sizeof header);
    if (header[0] != StreamHeader[0] || header[1] != StreamHeader[1] || header[2] != StreamHeader[2] ||
        header[5] != StreamHeader[5]) {
        StreamError(2002);
    }
    const int version = header[3];
    if (version < 1 || version > 3) {
        StreamError(2003);
    }
    count = version > 1 ? ReadValue<std::uint32_t>(stream) : UINT32_MAX;
    return version;
}

} // namespace

// ---- writing ----

void TBaseDataTree::SaveToStream(plat::TStream& stream, PDataNode node)
{
    stream.WriteBuffer(StreamHeader, sizeof StreamHeader);
    if (node != nullptr && node != FRoot) {
        WriteValue<std::uint32_t>(stream, 1);
        WriteNode(stream, node);
    } else {
        WriteValue<std::uint32_t>(stream, FRoot->fChildCount);
        for (PDataNode child = FRoot->FirstChild; child != nullptr; child = child->fNextSibling) {
            WriteNode(stream, child);
        }
    }
    if (OnSaveTree) {
        OnSaveTree(this, stream);
    }
}

void TBaseDataTree::SaveToFile(const std::string& fileName)
{
    // Written in memory first: chunk sizes are patched by seeking back,
    // which a file would pay for with a write each time.
    TTreeWriteBuffer memory;
    SaveToStream(memory, nullptr);
    // An existing file is replaced only once the new one is whole.
    plat::TAtomicFileStream file(fileName);
    file.WriteBuffer(memory.Data(), memory.Size());
    file.Commit();
}

void TBaseDataTree::AdjustChunkSize(plat::TStream& stream, std::int64_t chunkStart, std::int64_t chunkEnd)
{
    stream.SetPosition(chunkStart + 4);
    WriteValue<std::int32_t>(stream, static_cast<std::int32_t>(chunkEnd - chunkStart - 8));
    stream.SetPosition(chunkEnd);
}

void TBaseDataTree::WriteNode(plat::TStream& stream, PDataNode node)
{
    if (FOptions->MiscOptions().Contains(toInitOnSave)) {
        if (!node->States.Contains(vsInitialized)) {
            InitNode(node);
        }
        EnsureChildren(node);
    }
    const std::int64_t start = stream.Position();
    WriteChunkHeader(stream, AnchorChunk);
    WriteChunks(stream, node);
    AdjustChunkSize(stream, start, stream.Position());
}

void TBaseDataTree::WriteChunks(plat::TStream& stream, PDataNode node)
{
    const std::int64_t baseStart = stream.Position();
    // Children go with an initialised node only: an uninitialised one says
    // it has none, so that its chunks are never taken for children.
    const bool withChildren = node->States.Contains(vsInitialized);
    // The chunk header and the 19 bytes of fields in one write.
    std::uint8_t base[8 + 19] = {};
    const std::int32_t type = BaseChunk;
    const std::uint32_t childCount = withChildren ? node->fChildCount : 0;
    const std::int32_t height = static_cast<std::int32_t>(node->fNodeHeight);
    const std::uint32_t states = (node->States - UnwrittenStates).Bits();
    std::memcpy(base, &type, 4);
    std::memcpy(base + 8, &childCount, 4);
    std::memcpy(base + 12, &height, 4);
    std::memcpy(base + 16, &states, 4);
    base[20] = node->Align;
    base[21] = static_cast<std::uint8_t>(GetCheckState(node));
    base[22] = static_cast<std::uint8_t>(node->CheckType);
    stream.WriteBuffer(base, sizeof base);
    if (withChildren) {
        for (PDataNode child = node->FirstChild; child != nullptr; child = child->fNextSibling) {
            WriteNode(stream, child);
        }
    }
    AdjustChunkSize(stream, baseStart, stream.Position());

    const std::int64_t userStart = stream.Position();
    WriteChunkHeader(stream, UserChunk);
    DoSaveUserData(node, stream);
    const std::int64_t userEnd = stream.Position();
    if (userEnd == userStart + 8) {
        stream.SetPosition(userStart);
        stream.SetSize(userStart);
    } else {
        AdjustChunkSize(stream, userStart, userEnd);
    }
}

void TBaseDataTree::DoSaveUserData(PDataNode node, plat::TStream& stream)
{
    if (OnSaveNode) {
        OnSaveNode(this, node, stream);
    }
}

void TBaseDataTree::DoLoadUserData(PDataNode node, plat::TStream& stream)
{
    if (OnLoadNode) {
        OnLoadNode(this, node, stream);
    }
}

// ---- reading ----

void TBaseDataTree::LoadFromStream(plat::TStream& stream)
{
    if (ReadOnly()) {
        return;
    }
    Clear();
    std::uint32_t count = 0;
    const int version = ReadStreamHeader(stream, count);
    BeginUpdate();
    TryFinally([&] { ReadTopLevelNodes(stream, version, count, FRoot); }, [&] { EndUpdate(); });
    DoNodeCopied(nullptr);
    if (OnLoadTree) {
        OnLoadTree(this, stream);
    }
}

void TBaseDataTree::LoadFromFile(const std::string& fileName)
{
    // Read whole: the reader's many small reads then cost no system calls.
    plat::TMemoryStream stream;
    stream.LoadFromFile(fileName);
    LoadFromStream(stream);
}

void TBaseDataTree::AddFromStream(plat::TStream& stream, PDataNode targetNode)
{
    if (ReadOnly()) {
        return;
    }
    if (targetNode == nullptr) {
        targetNode = FRoot;
    }
    std::uint32_t count = 0;
    const int version = ReadStreamHeader(stream, count);
    BeginUpdate();
    TryFinally([&] { ReadTopLevelNodes(stream, version, count, targetNode); }, [&] { EndUpdate(); });
    DoNodeCopied(targetNode == FRoot ? nullptr : targetNode);
}

void TBaseDataTree::ReadTopLevelNodes(plat::TStream& stream, int version, std::uint32_t count, PDataNode parent)
{
    // A count the stream ends before is an error, not a success; a stream
    // that fails takes back the nodes it brought.
    const bool counted = version > 1;
    std::vector<PDataNode> added;
    try {
        while (count > 0 && stream.Position() < stream.Size()) {
            const PDataNode node = MakeNewNode();
            InternalConnectNode(node, parent, this, amAddChildLast);
            added.push_back(node);
            InternalAddFromStream(stream, version, node);
            --count;
        }
        if (counted && count > 0) {
            StreamError(2004);
        }
    } catch (...) {
        for (auto node = added.rbegin(); node != added.rend(); ++node) {
            DeleteNode(*node, true);
        }
        throw;
    }
}

PDataNode TBaseDataTree::AddNodeFromStream(plat::TStream& stream, int version, PDataNode target,
                                           TDTNodeAttachMode mode)
{
    const PDataNode node = MakeNewNode();
    InternalConnectNode(node, target, this, mode);
    InternalAddFromStream(stream, version, node);
    return node;
}

namespace {

// The next node of top's subtree in tree order after run; nullptr at its end.
PDataNode NextInSubtree(PDataNode run, PDataNode top)
{
    if (run->FirstChild != nullptr) {
        return run->FirstChild;
    }
    while (run != top) {
        if (run->fNextSibling != nullptr) {
            return run->fNextSibling;
        }
        run = run->fParent;
    }
    return nullptr;
}

} // namespace

// The rows node and its subtree take when node hangs below a shown parent:
// node itself when effectively visible, and its descendants reached through
// expanded, visible nodes. No recursion, for trees from outside.
std::int64_t TBaseDataTree::LoadedVisibleCount(PDataNode node) const
{
    const PDataNode parent = node->fParent;
    if (!parent->States.Contains(vsExpanded) || !node->States.Contains(vsVisible) ||
        (parent != FRoot && !GetFullyVisible(parent))) {
        return 0;
    }
    std::int64_t count = 0;
    std::vector<PDataNode> open{node};
    while (!open.empty()) {
        const PDataNode run = open.back();
        open.pop_back();
        if (GetEffectivelyVisible(run)) {
            ++count;
        }
        if (run->States.Contains(vsExpanded)) {
            for (PDataNode child = run->FirstChild; child != nullptr; child = child->fNextSibling) {
                if (child->States.Contains(vsVisible)) {
                    open.push_back(child);
                }
            }
        }
    }
    return count;
}

void TBaseDataTree::InternalAddFromStream(plat::TStream& stream, int version, PDataNode node)
{
    TreeAssert(node != FRoot, "The root node cannot be loaded from stream.");
    // What the node gave its parent as it was connected is taken back once
    // the stream has replaced it. Its height counts only below an expanded
    // parent and while the node is visible.
    const PDataNode parent = node->fParent;
    const auto heightShare = [&] {
        return parent->States.Contains(vsExpanded) && node->States.Contains(vsVisible) ? node->TotalHeight : 0;
    };
    const std::int64_t heightBefore = heightShare();
    const std::int64_t visibleBefore = LoadedVisibleCount(node);
    try {
        ReadNode(stream, version, node);
    } catch (...) {
        // What was read stays, counted, so that the tree remains whole.
        FinishLoadedSubtree(node, heightBefore, visibleBefore);
        throw;
    }
    FinishLoadedSubtree(node, heightBefore, visibleBefore);
}

void TBaseDataTree::FinishLoadedSubtree(PDataNode node, std::int64_t heightBefore, std::int64_t visibleBefore)
{
    const PDataNode parent = node->fParent;
    FixupTotalCount(node);
    AdjustTotalCount(parent, std::int64_t{node->TotalCount} - 1, true);
    FixupTotalHeight(node);
    const bool counted = parent->States.Contains(vsExpanded) && node->States.Contains(vsVisible);
    AdjustTotalHeight(parent, (counted ? node->TotalHeight : 0) - heightBefore, true);
    FVisibleCount = static_cast<std::uint32_t>(std::int64_t{FVisibleCount} + LoadedVisibleCount(node) - visibleBefore);

    // Derived flags of the new subtree (children before parents) and of
    // its parent; its selection.
    std::vector<PDataNode> subtree;
    for (PDataNode run = node; run != nullptr; run = NextInSubtree(run, node)) {
        subtree.push_back(run);
    }
    ClearTempCache();
    const bool multiSelect = FOptions->SelectionOptions().Contains(toMultiSelect);
    for (auto it = subtree.rbegin(); it != subtree.rend(); ++it) {
        const PDataNode run = *it;
        DetermineHiddenChildrenFlag(run);
        if (run->States.Contains(vsMultiline)) {
            FMultilineSeen = true;
        }
        if (run->States.Contains(vsSelected)) {
            int index = 0;
            if (multiSelect && !FindNodeInSelection(run, index, -1, -1)) {
                AddToTempCache(run);
            } else if (!multiSelect) {
                run->States.Exclude(vsSelected);
            }
        }
    }
    if (parent != FRoot) {
        DetermineHiddenChildrenFlag(parent);
    }
    if (FTempNodeCount > 0) {
        // Marked selected by the stream but not yet in the selection: the
        // batch adds them (it skips nodes that are selected already).
        TNodeArray batch(FTempNodeCache.begin(), FTempNodeCache.begin() + FTempNodeCount);
        for (const PDataNode each : batch) {
            each->States.Exclude(vsSelected);
        }
        ClearTempCache();
        AddToSelection(batch, static_cast<int>(batch.size()), false);
    }
    ClearTempCache();
    InvalidateCache();
}

void TBaseDataTree::ReadNodeFields(plat::TStream& stream, int version, PDataNode node, std::int64_t chunkEnd,
                                   std::uint32_t& childCount)
{
    std::uint32_t states = 0;
    std::int32_t height = 0;
    std::uint8_t align = 0;
    std::uint8_t checkState = 0;
    std::uint8_t checkType = 0;
    const auto need = [&](std::int64_t bytes) {
        if (stream.Position() + bytes > chunkEnd) {
            StreamError(2004);
        }
    };
    if (version == 1) {
        need(11);
        childCount = ReadValue<std::uint32_t>(stream);
        height = ReadValue<std::int32_t>(stream);
        const std::uint8_t oldStates = ReadValue<std::uint8_t>(stream);
        align = ReadValue<std::uint8_t>(stream);
        checkState = ReadValue<std::uint8_t>(stream);
        checkType = ReadValue<std::uint8_t>(stream);
        states = (oldStates & 0x7F) | (1u << vsVisible) | ((oldStates & 0x80) != 0 ? 1u << vsSelected : 0u);
    } else {
        std::array<std::uint8_t, 19> body{};
        // Version 3 takes its 19 bytes at once; version 2 may stop at 17.
        const std::int64_t first = version == 3 ? 19 : 17;
        need(first);
        ReadExact(stream, body.data(), first);
        if (version == 2 && body[10] != 0) {
            std::memcpy(&childCount, body.data(), 4);
            std::memcpy(&height, body.data() + 4, 4);
            std::uint16_t shortStates = 0;
            std::memcpy(&shortStates, body.data() + 8, 2);
            states = shortStates;
            align = body[10];
            checkState = body[11];
            checkType = body[12];
        } else {
            if (first == 17) {
                need(2);
                ReadExact(stream, body.data() + 17, 2);
            }
            std::memcpy(&childCount, body.data(), 4);
            std::memcpy(&height, body.data() + 4, 4);
            std::memcpy(&states, body.data() + 8, 4);
            align = body[12];
            checkState = body[13];
            checkType = body[14];
        }
    }
    // Only the states that persist are taken; all-children-hidden is
    // worked out afresh, running operations are not carried over.
    node->States = TDataNodeStates::FromBits(states & PersistentStates.Bits());
    node->fNodeHeight = height;
    node->TotalHeight = height;
    node->Align = std::min<std::uint8_t>(align, 100);
    node->CheckState = checkState <= csMixedDisabled ? static_cast<TCheckState>(checkState) : csUncheckedNormal;
    node->CheckType = checkType <= ctButton ? static_cast<TCheckType>(checkType) : ctNone;
    if (std::int64_t{childCount} * SmallestNode > chunkEnd - stream.Position()) {
        StreamError(2004);
    }
    node->fChildCount = 0;
    if (childCount > 0) {
        node->States.Include(vsHasChildren);
    }
}

void TBaseDataTree::ReadNode(plat::TStream& stream, int version, PDataNode node)
{
    // One frame per node being read; children are read as frames of their
    // own instead of by recursion.
    struct TFrame {
        PDataNode Node;
        std::int64_t AnchorEnd;      // where the node's anchor chunk ends
        std::int64_t BaseEnd = -1;   // where its base chunk ends while its children are read
        std::uint32_t ChildrenLeft = 0;
        bool BaseSeen = false;
    };
    std::vector<TFrame> frames;
    const auto open = [&](PDataNode each, std::int64_t limit) {
        const TChunkHeader anchor = ReadChunkHeaderRaw(stream);
        if (anchor.Type != AnchorChunk) {
            StreamError(2005);
        }
        if (anchor.Size < 0 || stream.Position() + anchor.Size > limit || frames.size() >= MaxStreamDepth) {
            StreamError(2006);
        }
        frames.push_back(TFrame{each, stream.Position() + anchor.Size});
    };
    open(node, stream.Size());
    while (!frames.empty()) {
        TFrame& frame = frames.back();
        if (frame.ChildrenLeft > 0) {
            --frame.ChildrenLeft;
            const PDataNode parent = frame.Node;
            const std::int64_t limit = frame.BaseEnd;
            const PDataNode child = MakeNewNode();
            child->fParent = parent;
            child->fPrevSibling = parent->fLastChild;
            child->fIndex = parent->fLastChild != nullptr ? parent->fLastChild->fIndex + 1 : 0;
            if (parent->fLastChild != nullptr) {
                parent->fLastChild->fNextSibling = child;
            } else {
                parent->FirstChild = child;
            }
            parent->fLastChild = child;
            ++parent->fChildCount;
            open(child, limit);
            continue;
        }
        if (frame.BaseEnd >= 0) {
            // The base chunk holds the fields and the children, nothing else.
            if (stream.Position() != frame.BaseEnd) {
                StreamError(2006);
            }
            frame.BaseEnd = -1;
        }
        if (stream.Position() >= frame.AnchorEnd) {
            frames.pop_back();
            continue;
        }
        const TChunkHeader chunk = ReadChunkHeader(stream, frame.AnchorEnd);
        const std::int64_t chunkEnd = stream.Position() + chunk.Size;
        if (chunk.Type == BaseChunk) {
            if (frame.BaseSeen) {
                StreamError(2005);
            }
            frame.BaseSeen = true;
            std::uint32_t childCount = 0;
            ReadNodeFields(stream, version, frame.Node, chunkEnd, childCount);
            frame.ChildrenLeft = childCount;
            frame.BaseEnd = chunkEnd;
            continue;
        }
        // Other chunks are whole: their reader may stop anywhere inside,
        // the next chunk starts at their end.
        const PDataNode owner = frame.Node;
        ReadChunk(stream, version, owner, chunk.Type, chunk.Size);
        stream.SetPosition(chunkEnd);
    }
}

bool TBaseDataTree::ReadChunk(plat::TStream& stream, int, PDataNode node, std::int32_t chunkType,
                              std::int32_t chunkSize)
{
    const std::int64_t end = stream.Position() + chunkSize;
    if (chunkType == UserChunk) {
        bool read = true;
        if (chunkSize > 0) {
            const std::int64_t start = stream.Position();
            DoLoadUserData(node, stream);
            read = stream.Position() != start;
        }
        stream.SetPosition(end);
        return read;
    }
    stream.SetPosition(end);
    return false;
}

void TBaseDataTree::SkipNode(plat::TStream& stream)
{
    const std::int32_t type = ReadValue<std::int32_t>(stream);
    const std::int32_t size = ReadValue<std::int32_t>(stream);
    if (type != AnchorChunk) {
        StreamError(2005);
    }
    if (size < 0 || stream.Position() + size > stream.Size()) {
        StreamError(2006);
    }
    stream.Seek(size, plat::soCurrent);
}

} // namespace qel
