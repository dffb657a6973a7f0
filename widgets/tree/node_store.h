// The block pool of one data tree: every node block of a tree has the same
// size (header, user data, internal areas), so blocks are cut from large
// chunks and freed blocks are kept on a free list for the next node.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

namespace qel {

class TNodeStore {
public:
    TNodeStore() = default;
    TNodeStore(const TNodeStore&) = delete;
    TNodeStore& operator=(const TNodeStore&) = delete;

    std::size_t BlockSize() const { return FBlockSize; }
    // The size of the blocks to come; only while no block is in use
    // (std::logic_error otherwise). Rounded up to a multiple of 8.
    void SetBlockSize(std::size_t size);

    // A zero-filled block of BlockSize() bytes, 8-aligned.
    void* Allocate();
    // Gives a block of this store back. When the last block comes back the
    // chunks are released.
    void Free(void* block);

    std::size_t BlocksInUse() const { return FInUse; }
    // Bytes held in chunks, used or not.
    std::size_t ReservedBytes() const { return FReserved; }

private:
    struct TFreeBlock {
        TFreeBlock* Next;
    };
    struct TChunkRelease {
        void operator()(std::byte* chunk) const;
    };

    void AddChunk();

    std::size_t FBlockSize = 0;
    std::vector<std::unique_ptr<std::byte, TChunkRelease>> FChunks;   // zero-filled when made
    std::size_t FChunkBlocks = 0;     // blocks in the newest chunk
    std::size_t FChunkUsed = 0;       // blocks cut from the newest chunk so far
    TFreeBlock* FFree = nullptr;      // freed blocks, most recent first
    std::size_t FInUse = 0;
    std::size_t FReserved = 0;
};

} // namespace qel
