// Stream base operations, file streams over POSIX descriptors (positional
// reads and writes: no shared kernel offset) and the memory stream's growth.
#include "platform/streams.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace plat {

namespace {

constexpr std::int64_t kCopyBlock = 1 << 20;   // largest block CopyFrom moves at once

std::string Reason(int error)
{
    return std::generic_category().message(error);
}

std::string Quoted(const std::string& name)
{
    return "\"" + name + "\"";
}

// " in "name"" for messages of streams that have a name.
std::string InName(const TStream& stream)
{
    const std::string name = stream.Name();
    return name.empty() ? std::string() : " in " + Quoted(name);
}

std::int64_t SeekTarget(std::int64_t offset, TSeekOrigin origin, std::int64_t position, std::int64_t size)
{
    std::int64_t base = 0;
    switch (origin) {
    case soBeginning: base = 0; break;
    case soCurrent: base = position; break;
    case soEnd: base = size; break;
    }
    const std::int64_t target = base + offset;
    if (target < 0) {
        throw EStreamError("Seek to " + std::to_string(target) + " before the start of the stream");
    }
    return target;
}

int OpenFlags(std::uint16_t mode)
{
    if ((mode & 0xFF00) == fmCreate) {
        return O_RDWR | O_CREAT | O_TRUNC;
    }
    switch (mode & 0x0003) {
    case fmOpenRead: return O_RDONLY;
    case fmOpenWrite: return O_WRONLY;
    case fmOpenReadWrite: return O_RDWR;
    default: return -1;
    }
}

int OpenFile(const std::string& fileName, std::uint16_t mode)
{
    const bool creating = (mode & 0xFF00) == fmCreate;
    const std::string what = creating ? "Cannot create file " : "Cannot open file ";
    const auto fail = [&](int error) -> int {
        const std::string message = what + Quoted(fileName) + ": " + Reason(error);
        if (creating) {
            throw EFCreateError(message);
        }
        throw EFOpenError(message);
    };
    const int flags = OpenFlags(mode);
    if (flags < 0) {
        return fail(EINVAL);
    }
    // Opening a pipe without a writer would block; the file is opened
    // without waiting and then used in the usual blocking mode.
    int handle = -1;
    do {
        handle = open(fileName.c_str(), flags | O_CLOEXEC | O_NONBLOCK, 0666);
    } while (handle < 0 && errno == EINTR);
    if (handle < 0) {
        return fail(errno);
    }
    fcntl(handle, F_SETFL, fcntl(handle, F_GETFL) & ~O_NONBLOCK);
    struct stat info {};
    if (fstat(handle, &info) == 0 && S_ISDIR(info.st_mode)) {
        close(handle);
        return fail(EISDIR);
    }
    return handle;
}

} // namespace

// ---- TStream

void TStream::ReadBuffer(void* buffer, std::int64_t count)
{
    if (count <= 0) {
        return;
    }
    const std::int64_t got = Read(buffer, count);
    if (got != count) {
        throw EReadError("Stream read error" + InName(*this) + ": " + std::to_string(count) +
                         " bytes wanted, " + std::to_string(got) + " found");
    }
}

void TStream::WriteBuffer(const void* buffer, std::int64_t count)
{
    if (count <= 0) {
        return;
    }
    const std::int64_t written = Write(buffer, count);
    if (written != count) {
        throw EWriteError("Stream write error" + InName(*this) + ": " + std::to_string(count) +
                          " bytes to write, " + std::to_string(written) + " written");
    }
}

std::int64_t TStream::CopyFrom(TStream& source, std::int64_t count)
{
    if (count <= 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    std::vector<std::uint8_t> block(static_cast<std::size_t>(count < kCopyBlock ? count : kCopyBlock));
    std::int64_t left = count;
    while (left > 0) {
        const std::int64_t step = left < kCopyBlock ? left : kCopyBlock;
        source.ReadBuffer(block.data(), step);
        WriteBuffer(block.data(), step);
        left -= step;
    }
    return count;
}

// ---- TFileStream

TFileStream::TFileStream(const std::string& fileName, std::uint16_t mode)
    : FHandle(OpenFile(fileName, mode)), FFileName(fileName)
{
}

TFileStream::TFileStream(int handle, std::string fileName) : FHandle(handle), FFileName(std::move(fileName)) {}

TFileStream::~TFileStream()
{
    if (FHandle >= 0) {
        close(FHandle);
    }
}

std::int64_t TFileStream::ReadAt(std::int64_t offset, void* buffer, std::int64_t count) const
{
    auto* bytes = static_cast<std::uint8_t*>(buffer);
    std::int64_t done = 0;
    while (done < count) {
        const ssize_t got = pread(FHandle, bytes + done, static_cast<std::size_t>(count - done), offset + done);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw EReadError("Cannot read file " + Quoted(FFileName) + ": " + Reason(errno));
        }
        if (got == 0) {
            break;   // end of file
        }
        done += got;
    }
    return done;
}

void TFileStream::WriteAt(std::int64_t offset, const void* buffer, std::int64_t count)
{
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    std::int64_t done = 0;
    while (done < count) {
        const ssize_t written =
            pwrite(FHandle, bytes + done, static_cast<std::size_t>(count - done), offset + done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            const int error = written < 0 ? errno : ENOSPC;   // no progress: the device is full
            throw EWriteError("Cannot write file " + Quoted(FFileName) + ": " + Reason(error));
        }
        done += written;
    }
}

void TFileStream::Truncate(std::int64_t size)
{
    if (ftruncate(FHandle, size) != 0) {
        throw EWriteError("Cannot set the size of file " + Quoted(FFileName) + ": " + Reason(errno));
    }
}

void TFileStream::CloseHandle()
{
    const int handle = FHandle;
    FHandle = -1;
    if (handle >= 0 && close(handle) != 0 && errno != EINTR) {
        throw EWriteError("Cannot close file " + Quoted(FFileName) + ": " + Reason(errno));
    }
}

std::int64_t TFileStream::Read(void* buffer, std::int64_t count)
{
    if (count <= 0) {
        return 0;
    }
    const std::int64_t got = ReadAt(FPosition, buffer, count);
    FPosition += got;
    return got;
}

std::int64_t TFileStream::Write(const void* buffer, std::int64_t count)
{
    if (count <= 0) {
        return 0;
    }
    WriteAt(FPosition, buffer, count);
    FPosition += count;
    return count;
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin)
{
    FPosition = SeekTarget(offset, origin, FPosition, origin == soEnd ? Size() : 0);
    return FPosition;
}

std::int64_t TFileStream::Size() const
{
    struct stat info {};
    if (fstat(FHandle, &info) != 0) {
        throw EReadError("Cannot read the size of file " + Quoted(FFileName) + ": " + Reason(errno));
    }
    return info.st_size;
}

void TFileStream::SetSize(std::int64_t size)
{
    Truncate(size);
    if (FPosition > size) {
        FPosition = size;
    }
}

void TFileStream::FlushToDisk()
{
    if (fsync(FHandle) != 0 && errno != EINVAL) {   // EINVAL: a device without sync (e.g. a pipe)
        throw EWriteError("Cannot write file " + Quoted(FFileName) + " to disk: " + Reason(errno));
    }
}

// ---- TBufferedFileStream

TBufferedFileStream::TBufferedFileStream(const std::string& fileName, std::uint16_t mode, std::int64_t bufferSize)
    : TFileStream(fileName, mode),
      FBuffer(new std::uint8_t[static_cast<std::size_t>(bufferSize > 0 ? bufferSize : 1)]),
      FBufferSize(bufferSize > 0 ? bufferSize : 1)
{
    posix_fadvise(Handle(), 0, 0, POSIX_FADV_SEQUENTIAL);
}

TBufferedFileStream::TBufferedFileStream(int handle, std::string fileName, std::int64_t bufferSize)
    : TFileStream(handle, std::move(fileName)),
      FBuffer(new std::uint8_t[static_cast<std::size_t>(bufferSize > 0 ? bufferSize : 1)]),
      FBufferSize(bufferSize > 0 ? bufferSize : 1)
{
}

TBufferedFileStream::~TBufferedFileStream()
{
    try {
        Flush();
    } catch (const EStreamError&) {
        // Nobody is left to tell; writers flush before they report success.
    }
}

void TBufferedFileStream::Flush()
{
    if (!FDirty) {
        return;
    }
    const std::int64_t pending = FBufferPos;
    FDirty = false;
    FBufferPos = 0;
    const std::int64_t start = FBufferStart;
    FBufferStart += pending;
    WriteAt(start, FBuffer.get(), pending);
}

void TBufferedFileStream::DiscardBuffer()
{
    FBufferStart += FBufferPos;
    FBufferPos = 0;
    FBufferFill = 0;
    FDirty = false;
}

void TBufferedFileStream::DropReadBuffer()
{
    if (FBufferFill > 0) {
        FBufferStart += FBufferPos;
        FBufferPos = 0;
        FBufferFill = 0;
    }
}

std::int64_t TBufferedFileStream::ReadThroughFile(void* buffer, std::int64_t count)
{
    if (count <= 0) {
        return 0;
    }
    Flush();
    auto* bytes = static_cast<std::uint8_t*>(buffer);
    const std::int64_t buffered = FBufferFill - FBufferPos;
    std::copy_n(FBuffer.get() + FBufferPos, buffered, bytes);
    FBufferPos += buffered;
    std::int64_t done = buffered;
    const std::int64_t position = Position();
    const std::int64_t left = count - done;
    if (left == 0) {
        return done;
    }
    if (left >= FBufferSize) {
        // A large read goes straight into the caller's memory.
        const std::int64_t got = ReadAt(position, bytes + done, left);
        FBufferStart = position + got;
        FBufferPos = 0;
        FBufferFill = 0;
        return done + got;
    }
    FBufferStart = position;
    FBufferPos = 0;
    FBufferFill = ReadAt(position, FBuffer.get(), FBufferSize);
    const std::int64_t taken = left < FBufferFill ? left : FBufferFill;
    std::copy_n(FBuffer.get(), taken, bytes + done);
    FBufferPos = taken;
    return done + taken;
}

std::int64_t TBufferedFileStream::WriteThroughFile(const void* buffer, std::int64_t count)
{
    if (count <= 0) {
        return 0;
    }
    DropReadBuffer();
    if (count > FBufferSize - FBufferPos) {
        Flush();
    }
    if (count >= FBufferSize) {
        // A large write goes straight to the file.
        WriteAt(FBufferStart, buffer, count);
        FBufferStart += count;
        return count;
    }
    std::copy_n(static_cast<const std::uint8_t*>(buffer), count, FBuffer.get() + FBufferPos);
    FBufferPos += count;
    FDirty = true;
    return count;
}

std::int64_t TBufferedFileStream::Seek(std::int64_t offset, TSeekOrigin origin)
{
    const std::int64_t target = SeekTarget(offset, origin, Position(), origin == soEnd ? Size() : 0);
    if (!FDirty && target >= FBufferStart && target <= FBufferStart + FBufferFill) {
        FBufferPos = target - FBufferStart;   // inside the read buffer: no file access
        return target;
    }
    Flush();
    FBufferStart = target;
    FBufferPos = 0;
    FBufferFill = 0;
    return target;
}

std::int64_t TBufferedFileStream::Size() const
{
    const std::int64_t fileSize = TFileStream::Size();
    const std::int64_t pendingEnd = FDirty ? FBufferStart + FBufferPos : 0;
    return fileSize > pendingEnd ? fileSize : pendingEnd;
}

void TBufferedFileStream::SetSize(std::int64_t size)
{
    Flush();
    const std::int64_t position = Position();
    Truncate(size);
    FBufferStart = position < size ? position : size;
    FBufferPos = 0;
    FBufferFill = 0;
}

void TBufferedFileStream::FlushToDisk()
{
    Flush();
    TFileStream::FlushToDisk();
}

// ---- TMemoryStream

TMemoryStream::~TMemoryStream()
{
    std::free(FMemory);
}

void TMemoryStream::Reallocate(std::int64_t capacity)
{
    capacity = (capacity + kAllocationStep - 1) / kAllocationStep * kAllocationStep;
    if (capacity == FCapacity) {
        return;
    }
    if (capacity == 0) {
        std::free(FMemory);
        FMemory = nullptr;
        FCapacity = 0;
        return;
    }
    void* grown = std::realloc(FMemory, static_cast<std::size_t>(capacity));
    if (grown == nullptr) {
        throw std::bad_alloc();
    }
    FMemory = static_cast<std::uint8_t*>(grown);
    FCapacity = capacity;
}

void TMemoryStream::PrepareWrite(std::int64_t end)
{
    if (end > FCapacity) {
        Reallocate(end);
    }
    if (FPosition > FSize) {
        std::memset(FMemory + FSize, 0, static_cast<std::size_t>(FPosition - FSize));
    }
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin)
{
    FPosition = SeekTarget(offset, origin, FPosition, FSize);
    return FPosition;
}

void TMemoryStream::SetSize(std::int64_t size)
{
    if (size < 0) {
        throw EStreamError("Negative stream size " + std::to_string(size));
    }
    if (size > FCapacity) {
        Reallocate(size);
    }
    if (size > FSize) {
        std::memset(FMemory + FSize, 0, static_cast<std::size_t>(size - FSize));
    }
    FSize = size;
    if (FPosition > size) {
        FPosition = size;
    }
}

void TMemoryStream::SetCapacity(std::int64_t capacity)
{
    Reallocate(capacity > FSize ? capacity : FSize);
}

void TMemoryStream::Clear()
{
    std::free(FMemory);
    FMemory = nullptr;
    FSize = 0;
    FPosition = 0;
    FCapacity = 0;
}

std::int64_t TMemoryStream::CopyFrom(TStream& source, std::int64_t count)
{
    if (count <= 0) {
        source.SetPosition(0);
        count = source.Size();
        if (count <= 0) {
            return 0;
        }
    }
    // Read straight into this stream's memory: no intermediate block.
    PrepareWrite(FPosition + count);
    source.ReadBuffer(FMemory + FPosition, count);
    FPosition += count;
    if (FPosition > FSize) {
        FSize = FPosition;
    }
    return count;
}

void TMemoryStream::LoadFromStream(TStream& source)
{
    source.SetPosition(0);
    const std::int64_t size = source.Size();
    SetSize(size);
    source.ReadBuffer(FMemory, size);
    FPosition = 0;
}

void TMemoryStream::LoadFromFile(const std::string& fileName)
{
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
}

void TMemoryStream::SaveToStream(TStream& target) const
{
    target.WriteBuffer(FMemory, FSize);
}

void TMemoryStream::SaveToFile(const std::string& fileName) const
{
    TFileStream file(fileName, fmCreate);
    SaveToStream(file);
}

} // namespace plat
