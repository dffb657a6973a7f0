// Byte streams: the stream base class, file streams (plain and large-block
// buffered), the growing memory stream, and the stream errors they raise.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

namespace plat {

class EStreamError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
// A file that cannot be created; the message names the file and the reason.
class EFCreateError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
// A file that cannot be opened; the message names the file and the reason.
class EFOpenError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
// A read that failed, or that found fewer bytes than ReadBuffer asked for.
class EReadError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
// A write that failed (a full disk included); never reported as a short count.
class EWriteError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

// File open modes: fmCreate, or one access mode; a share flag may be or-ed
// in and is ignored.
inline constexpr std::uint16_t fmCreate = 0xFF00;          // create or empty, then read and write
inline constexpr std::uint16_t fmOpenRead = 0x0000;
inline constexpr std::uint16_t fmOpenWrite = 0x0001;
inline constexpr std::uint16_t fmOpenReadWrite = 0x0002;
inline constexpr std::uint16_t fmShareCompat = 0x0000;
inline constexpr std::uint16_t fmShareExclusive = 0x0010;
inline constexpr std::uint16_t fmShareDenyWrite = 0x0020;
inline constexpr std::uint16_t fmShareDenyRead = 0x0030;
inline constexpr std::uint16_t fmShareDenyNone = 0x0040;

class TStream {
public:
    TStream() = default;
    TStream(const TStream&) = delete;
    TStream& operator=(const TStream&) = delete;
    virtual ~TStream() = default;

    // Reads up to count bytes at the position and answers how many were read;
    // fewer only at the end of the stream. A failing device raises EReadError.
    virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
    // Writes count bytes at the position and answers count; any failure
    // raises EWriteError.
    virtual std::int64_t Write(const void* buffer, std::int64_t count) = 0;
    // Moves the position and answers it; a position before the start raises
    // EStreamError. A position after the end is allowed (a write there
    // extends the stream).
    virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;
    virtual std::int64_t Position() const = 0;
    virtual std::int64_t Size() const = 0;
    // Cuts or extends the stream; the position stays unless it lay beyond the
    // new end, where it moves to the end.
    virtual void SetSize(std::int64_t size) = 0;

    void SetPosition(std::int64_t position) { Seek(position, soBeginning); }

    // Read or write exactly count bytes, or raise EReadError / EWriteError.
    void ReadBuffer(void* buffer, std::int64_t count);
    void WriteBuffer(const void* buffer, std::int64_t count);

    // Copies count bytes from the source's position; count <= 0 copies the
    // whole source from its start. Raises EReadError when the source holds
    // fewer bytes. Answers the number of bytes copied.
    virtual std::int64_t CopyFrom(TStream& source, std::int64_t count);

    // The file name the stream works on, for messages; empty for memory streams.
    virtual std::string Name() const { return {}; }
};

// A stream on a file descriptor, read and written at its own position.
class TFileStream : public TStream {
public:
    // Opens or creates fileName; raises EFOpenError or EFCreateError with the
    // file name and the system's reason.
    TFileStream(const std::string& fileName, std::uint16_t mode);
    ~TFileStream() override;

    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    std::int64_t Position() const override { return FPosition; }
    std::int64_t Size() const override;
    void SetSize(std::int64_t size) override;
    std::string Name() const override { return FFileName; }

    const std::string& FileName() const { return FFileName; }
    int Handle() const { return FHandle; }

    // Pushes the written bytes through to the disk; raises EWriteError.
    virtual void FlushToDisk();

protected:
    // Takes over an open descriptor; fileName is the name errors will show.
    TFileStream(int handle, std::string fileName);

    // Reads up to count bytes at offset (fewer only at the end of the file).
    std::int64_t ReadAt(std::int64_t offset, void* buffer, std::int64_t count) const;
    // Writes all count bytes at offset or raises EWriteError.
    void WriteAt(std::int64_t offset, const void* buffer, std::int64_t count);
    void Truncate(std::int64_t size);
    // Closes the descriptor; a failing close raises EWriteError.
    void CloseHandle();

private:
    int FHandle;
    std::string FFileName;
    std::int64_t FPosition = 0;   // where Read and Write of this class act
};

// A file stream that reads and writes through one large block buffer: a
// sequential scan costs one system call per block, and small writes are
// gathered. Written bytes reach the file at Flush, at a seek outside the
// buffer, or when the buffer is full.
class TBufferedFileStream : public TFileStream {
public:
    static constexpr std::int64_t kDefaultBufferSize = 1 << 20;   // 1 MiB

    TBufferedFileStream(const std::string& fileName, std::uint16_t mode,
                        std::int64_t bufferSize = kDefaultBufferSize);
    // Writes what is pending; a failure there cannot be reported, so a writer
    // calls Flush (or its owner's commit) before it counts the file as written.
    ~TBufferedFileStream() override;

    std::int64_t Read(void* buffer, std::int64_t count) final
    {
        if (!FDirty && count >= 0 && count <= FBufferFill - FBufferPos) {
            std::copy_n(FBuffer.get() + FBufferPos, count, static_cast<std::uint8_t*>(buffer));
            FBufferPos += count;
            return count;
        }
        return ReadThroughFile(buffer, count);
    }

    std::int64_t Write(const void* buffer, std::int64_t count) final
    {
        if (FBufferFill == 0 && count >= 0 && count <= FBufferSize - FBufferPos) {
            std::copy_n(static_cast<const std::uint8_t*>(buffer), count, FBuffer.get() + FBufferPos);
            FBufferPos += count;
            FDirty = true;
            return count;
        }
        return WriteThroughFile(buffer, count);
    }

    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    std::int64_t Position() const override { return FBufferStart + FBufferPos; }
    std::int64_t Size() const override;
    void SetSize(std::int64_t size) override;
    void FlushToDisk() override;

    // Writes the pending bytes to the file; raises EWriteError (the pending
    // bytes are dropped then, so the failure is reported once).
    void Flush();

protected:
    TBufferedFileStream(int handle, std::string fileName, std::int64_t bufferSize);
    // Forgets pending writes and buffered reads without touching the file.
    void DiscardBuffer();

private:
    std::int64_t ReadThroughFile(void* buffer, std::int64_t count);
    std::int64_t WriteThroughFile(const void* buffer, std::int64_t count);
    void DropReadBuffer();

    std::unique_ptr<std::uint8_t[]> FBuffer;
    std::int64_t FBufferSize;
    // The buffer mirrors the file from offset FBufferStart. Reading: it holds
    // FBufferFill bytes of the file and FBufferPos <= FBufferFill. Writing
    // (FDirty): it holds FBufferPos pending bytes and FBufferFill is 0.
    // Otherwise both are 0. The stream position is FBufferStart + FBufferPos.
    std::int64_t FBufferStart = 0;
    std::int64_t FBufferPos = 0;
    std::int64_t FBufferFill = 0;
    bool FDirty = false;
};

// A stream in one growing block of memory. Memory grows in steps of
// kAllocationStep bytes; Memory() stays valid until the next growth.
class TMemoryStream : public TStream {
public:
    static constexpr std::int64_t kAllocationStep = 8192;

    TMemoryStream() = default;
    ~TMemoryStream() override;

    std::int64_t Read(void* buffer, std::int64_t count) final
    {
        const std::int64_t available = FSize - FPosition;
        if (count <= 0 || available <= 0) {
            return 0;
        }
        const std::int64_t taken = count < available ? count : available;
        std::copy_n(FMemory + FPosition, taken, static_cast<std::uint8_t*>(buffer));
        FPosition += taken;
        return taken;
    }

    std::int64_t Write(const void* buffer, std::int64_t count) final
    {
        if (count <= 0) {
            return 0;
        }
        const std::int64_t end = FPosition + count;
        if (end > FCapacity || FPosition > FSize) {
            PrepareWrite(end);
        }
        std::copy_n(static_cast<const std::uint8_t*>(buffer), count, FMemory + FPosition);
        FPosition = end;
        if (end > FSize) {
            FSize = end;
        }
        return count;
    }

    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) final;
    std::int64_t Position() const final { return FPosition; }
    std::int64_t Size() const final { return FSize; }
    // New bytes read as zero; the capacity grows to a multiple of the step.
    void SetSize(std::int64_t size) final;
    std::int64_t CopyFrom(TStream& source, std::int64_t count) override;

    std::uint8_t* Memory() { return FMemory; }
    const std::uint8_t* Memory() const { return FMemory; }
    std::int64_t Capacity() const { return FCapacity; }
    // Reserves at least capacity bytes (never less than the size), rounded up to the step.
    void SetCapacity(std::int64_t capacity);
    // Frees the memory: size, position and capacity become 0.
    void Clear();

    // Replaces the content with the whole source (read from its start); position 0.
    void LoadFromStream(TStream& source);
    void LoadFromFile(const std::string& fileName);
    // Writes the whole content, whatever the position.
    void SaveToStream(TStream& target) const;
    void SaveToFile(const std::string& fileName) const;

private:
    // Grows the memory to hold end bytes and zero-fills a gap left by a
    // position beyond the size.
    void PrepareWrite(std::int64_t end);
    void Reallocate(std::int64_t capacity);

    std::uint8_t* FMemory = nullptr;
    std::int64_t FSize = 0;
    std::int64_t FPosition = 0;   // may lie beyond FSize after a seek
    std::int64_t FCapacity = 0;   // allocated bytes; FSize <= FCapacity
};

} // namespace plat
