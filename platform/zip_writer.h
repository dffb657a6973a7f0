// TZipFile: a zip archive written entry by entry with raw Deflate, its entries
// compressed on worker threads and written in the order they were added; or
// an existing archive opened for reading its entries back (zip_reader.h).
#pragma once

#include "platform/streams.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace plat {

class TZipReader;

// zmWrite creates or replaces the file; zmRead opens an existing archive.
enum TZipMode { zmWrite, zmRead };

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

    // zmWrite: starts a new archive for fileName (an open one is discarded
    // first); raises EFCreateError when the file cannot be created.
    // zmRead: opens the archive fileName for reading (an open one is
    // discarded or closed first); raises EFOpenError when it cannot be
    // opened and EZipFormatError when it is no sound archive.
    void Open(const std::string& fileName, TZipMode mode);
    // Adds an entry from size bytes at data (copied; the caller may reuse the
    // memory at once), or from the whole stream, read from its start.
    void Add(const void* data, std::size_t size, const std::string& name);
    void Add(TStream& stream, const std::string& name);
    // Writes the pending entries and the central directory and puts the
    // archive in place of the target. Raises EWriteError (the target then
    // stays as it was). An archive opened for reading is closed.
    void Close();
    // Drops the archive being written: the target stays as it was.
    void Discard();

    bool Active() const;
    const std::string& FileName() const;
    // Entries added to the open archive (pending ones included), or the
    // entries of an archive opened for reading.
    std::int64_t EntryCount() const;

    // Reading (zmRead; an archive not open for reading raises EReadError).
    // The index of the first entry of that name, -1 when there is none.
    int IndexOf(const std::string& name) const;
    const std::string& EntryName(int index) const;
    // The entry's bytes in place of stream's, position 0; a damaged entry
    // raises EZipFormatError.
    void Read(int index, TMemoryStream& stream);

private:
    TZipReader& Reader() const;

    struct TImpl;
    std::unique_ptr<TImpl> F;
    std::unique_ptr<TZipReader> FReader;   // the archive opened for reading
};

} // namespace plat
