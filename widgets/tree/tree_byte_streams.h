// Two small streams the tree uses for its own data: a write buffer that
// grows geometrically (a tree of a million nodes is written without copying
// its bytes over and over), and a read-only view of bytes it does not own.
#pragma once

#include "platform/streams.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

namespace qel {

// Reading, seeking and the size over a block of bytes; what may be written
// is the descendants' business.
class TTreeByteStream : public plat::TStream {
public:
    std::int64_t Read(void* buffer, std::int64_t count) final
    {
        const std::int64_t taken = std::clamp<std::int64_t>(FSize - FPosition, 0, std::max<std::int64_t>(count, 0));
        if (taken > 0) {
            std::memcpy(buffer, FBytes + FPosition, static_cast<std::size_t>(taken));
            FPosition += taken;
        }
        return taken;
    }
    std::int64_t Seek(std::int64_t offset, plat::TSeekOrigin origin) final
    {
        const std::int64_t base = origin == plat::soBeginning ? 0 : origin == plat::soCurrent ? FPosition : FSize;
        if (base + offset < 0) {
            throw plat::EStreamError("Seek before the start of the stream.");
        }
        FPosition = base + offset;
        return FPosition;
    }
    std::int64_t Position() const final { return FPosition; }
    std::int64_t Size() const final { return FSize; }

protected:
    TTreeByteStream(const std::uint8_t* bytes, std::int64_t size) : FBytes(bytes), FSize(size) {}

    const std::uint8_t* FBytes;
    std::int64_t FSize;
    std::int64_t FPosition = 0;   // may lie beyond FSize after a seek
};

class TTreeWriteBuffer final : public TTreeByteStream {
public:
    TTreeWriteBuffer() : TTreeByteStream(nullptr, 0) {}

    std::int64_t Write(const void* buffer, std::int64_t count) override
    {
        if (count <= 0) {
            return 0;
        }
        const std::int64_t end = FPosition + count;
        if (end > FCapacity) {
            Grow(end);
        }
        if (FPosition > FSize) {
            std::memset(Bytes() + FSize, 0, static_cast<std::size_t>(FPosition - FSize));
        }
        std::memcpy(Bytes() + FPosition, buffer, static_cast<std::size_t>(count));
        FPosition = end;
        FSize = std::max(FSize, end);
        return count;
    }
    void SetSize(std::int64_t size) override
    {
        size = std::max<std::int64_t>(size, 0);
        if (size > FCapacity) {
            Grow(size);
        }
        if (size > FSize) {
            std::memset(Bytes() + FSize, 0, static_cast<std::size_t>(size - FSize));
        }
        FSize = size;
        FPosition = std::min(FPosition, FSize);
    }

    const std::uint8_t* Data() const { return FBytes; }

private:
    std::uint8_t* Bytes() { return FOwned.get(); }

    // At least doubles; realloc moves large blocks without copying them.
    void Grow(std::int64_t needed)
    {
        const std::int64_t capacity = std::max<std::int64_t>({needed, 2 * FCapacity, 4096});
        void* bytes = std::realloc(FOwned.get(), static_cast<std::size_t>(capacity));
        if (bytes == nullptr) {
            throw std::bad_alloc();
        }
        FOwned.release();
        FOwned.reset(static_cast<std::uint8_t*>(bytes));
        FBytes = FOwned.get();
        FCapacity = capacity;
    }

    struct TFree {
        void operator()(std::uint8_t* bytes) const { std::free(bytes); }
    };
    std::unique_ptr<std::uint8_t, TFree> FOwned;
    std::int64_t FCapacity = 0;
};

// Reads bytes it does not own; writing is refused.
class TTreeReadBlock final : public TTreeByteStream {
public:
    TTreeReadBlock(const std::uint8_t* bytes, std::int64_t size) : TTreeByteStream(bytes, size) {}

    std::int64_t Write(const void*, std::int64_t) override
    {
        throw plat::EStreamError("The stream is read-only and cannot be written to.");
    }
    void SetSize(std::int64_t) override
    {
        throw plat::EStreamError("The stream is read-only and cannot be written to.");
    }
};

} // namespace qel
