// The block pool of one data tree.
#include "widgets/tree/node_store.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>

namespace qel {

namespace {

// Chunks start small (a tree of a few nodes stays small) and double up to
// this size, so that a large tree wastes at most one chunk.
constexpr std::size_t FirstChunkBlocks = 16;
constexpr std::size_t LargestChunkBytes = 256 * 1024;

} // namespace

void TNodeStore::SetBlockSize(std::size_t size)
{
    if (FInUse != 0) {
        throw std::logic_error("The node block size cannot change while nodes exist.");
    }
    FBlockSize = std::max<std::size_t>((size + 7) & ~std::size_t{7}, sizeof(TFreeBlock));
}

void* TNodeStore::Allocate()
{
    void* block;
    if (FFree != nullptr) {
        block = FFree;
        FFree = FFree->Next;
        std::memset(block, 0, FBlockSize);
    } else {
        if (FChunkUsed == FChunkBlocks) {
            AddChunk();
        }
        // Never used yet: still zero from the chunk's allocation.
        block = FChunks.back().get() + FChunkUsed * FBlockSize;
        ++FChunkUsed;
    }
    ++FInUse;
    return block;
}

void TNodeStore::Free(void* block)
{
    auto* freed = static_cast<TFreeBlock*>(block);
    freed->Next = FFree;
    FFree = freed;
    if (--FInUse == 0) {
        FChunks.clear();
        FChunkBlocks = 0;
        FChunkUsed = 0;
        FFree = nullptr;
        FReserved = 0;
    }
}

void TNodeStore::AddChunk()
{
    const std::size_t largest = std::max<std::size_t>(FirstChunkBlocks, LargestChunkBytes / FBlockSize);
    FChunkBlocks = FChunks.empty() ? FirstChunkBlocks : std::min(FChunkBlocks * 2, largest);
    void* chunk = std::calloc(FChunkBlocks, FBlockSize);
    if (chunk == nullptr) {
        throw std::bad_alloc();
    }
    FChunks.emplace_back(static_cast<std::byte*>(chunk));
    FChunkUsed = 0;
    FReserved += FChunkBlocks * FBlockSize;
}

void TNodeStore::TChunkRelease::operator()(std::byte* chunk) const
{
    std::free(chunk);
}

} // namespace qel
