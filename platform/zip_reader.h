// TZipReader: an existing zip archive read back. It walks the end records
// (Zip64 included) and the central directory once, and reads an entry by
// index: its local header checked, its bytes inflated (or taken as stored)
// and checked against the directory's sizes and CRC-32.
#pragma once

#include "platform/streams.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace plat {

// An archive, or one of its entries, that a sound archive would not be:
// the message names the archive, the entry where there is one, and the fault.
class EZipFormatError : public EReadError {
public:
    using EReadError::EReadError;
};

// What the central directory says of one entry.
struct TZipEntryInfo {
    std::string Name;                 // byte for byte as stored
    std::uint16_t Flags = 0;
    std::uint16_t Method = 0;         // 0 stored, 8 Deflate; others are refused on reading
    std::uint32_t Crc = 0;
    std::uint64_t CompressedSize = 0;
    std::uint64_t Size = 0;
    std::uint64_t LocalOffset = 0;    // of the entry's local header
};

class TZipReader {
public:
    // Opens the archive and reads its directory. Raises EFOpenError when the
    // file cannot be opened or is no regular file, EZipFormatError when its
    // end records or directory are not sound.
    explicit TZipReader(const std::string& fileName);
    ~TZipReader();
    TZipReader(const TZipReader&) = delete;
    TZipReader& operator=(const TZipReader&) = delete;

    const std::string& FileName() const { return FFileName; }
    int Count() const { return static_cast<int>(FEntries.size()); }
    const TZipEntryInfo& Entry(int index) const { return FEntries.at(static_cast<std::size_t>(index)); }
    // The index of the first entry of that name; -1 when there is none.
    int IndexOf(const std::string& name) const;

    // The entry's content in place of content's, its position 0. Raises
    // EZipFormatError for an entry that cannot be read back as written
    // (header, method, encryption, compressed data, size or CRC-32), and
    // std::out_of_range for an index outside the directory.
    void Read(int index, TMemoryStream& content);

private:
    void ReadDirectory();
    // Inflates the raw Deflate data packed into exactly entry.Size bytes at out.
    void Inflate(const TZipEntryInfo& entry, const std::vector<std::uint8_t>& packed, std::uint8_t* out);
    // Reads count bytes at offset into buffer, or raises EZipFormatError
    // naming what was to be read there.
    void ReadExactly(std::uint64_t offset, void* buffer, std::size_t count, const char* what);
    [[noreturn]] void Fail(const std::string& fault) const;
    [[noreturn]] void FailEntry(const TZipEntryInfo& entry, const std::string& fault) const;

    std::string FFileName;
    std::unique_ptr<TFileStream> FFile;
    std::uint64_t FFileSize = 0;
    std::uint64_t FDirectoryOffset = 0;   // entries' data end where the directory begins
    std::vector<TZipEntryInfo> FEntries;
    std::unordered_map<std::string, int> FIndexOfName;   // first entry of each name
};

} // namespace plat
