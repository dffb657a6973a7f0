// TZipFile: a zip archive written entry by entry with raw Deflate, its entries
// compressed on worker threads and written in the order they were added.
#pragma once

#include "platform/streams.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace plat {

// The archive class writes archives only; zmWrite creates or replaces the file.
enum TZipMode { zmWrite };

// An archive being written. Entry names are stored byte for byte as given
// (backslashes stay backslashes); the UTF-8 flag is set for a name with
// non-ASCII bytes. Every entry is Deflate-compressed (method 8) as one whole
// buffer at kDeflateLevel; sizes, CRC-32 and the local-time stamp stand in
// the local header (no data descriptors). Zip64 records are written for the
// entries, offsets and the directory that need them, so an archive of any
// size or entry count is valid.
//
// The archive goes to a temporary file beside the target and replaces the
// target only when Close has written it completely; an archive discarded, or
// destroyed while open, leaves the target as it was and no temporary file.
// A failing write raises EWriteError and discards the archive.
//
// One thread uses an archive at a time; the compression threads are its own.
class TZipFile {
public:
    static constexpr int kDeflateLevel = 6;

    TZipFile();
    ~TZipFile();
    TZipFile(const TZipFile&) = delete;
    TZipFile& operator=(const TZipFile&) = delete;

    // Compression threads of the next Open: 0 compresses every entry on the
    // calling thread. The default is one per core the process may use, 0 on one core.
    void SetCompressionThreads(unsigned count);
    // Sizes and offsets from this value on take Zip64 fields (tests lower it
    // to check the Zip64 layout on small archives); default 0xFFFFFFFF.
    void SetZip64Threshold(std::uint64_t threshold);

    // Starts a new archive for fileName (an open one is discarded first);
    // raises EFCreateError when the file cannot be created.
    void Open(const std::string& fileName, TZipMode mode);
    // Adds an entry from size bytes at data (copied; the caller may reuse the
    // memory at once), or from the whole stream, read from its start.
    void Add(const void* data, std::size_t size, const std::string& name);
    void Add(TStream& stream, const std::string& name);
    // Writes the pending entries and the central directory and puts the
    // archive in place of the target. Raises EWriteError (the target then
    // stays as it was).
    void Close();
    // Drops the archive being written: the target stays as it was.
    void Discard();

    bool Active() const;
    const std::string& FileName() const;
    // Entries added to the open archive (pending ones included).
    std::int64_t EntryCount() const;

private:
    struct TImpl;
    std::unique_ptr<TImpl> F;
};

} // namespace plat
