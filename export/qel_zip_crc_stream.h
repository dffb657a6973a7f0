// Entries of the zip channel container that end in a salted CRC-32 trailer:
// the check value, little-endian field helpers and the trailer stream base,
// which saves an entry with its trailer and loads one back verified.
#pragma once

#include "platform/streams.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace plat {
class TZipFile;
}

namespace qel {

// Type bytes that salt the check values.
constexpr std::uint8_t CRC_TYPE_FILE_INFO = 0x10;
constexpr std::uint8_t CRC_TYPE_CHANNEL_DESCRIPTION = 0x20;
constexpr std::uint8_t CRC_TYPE_CHANNEL_DATA_INFO = 0x40;
constexpr std::uint8_t CRC_TYPE_DATA_BLOCK = 0x88;   // stands in the block's index record

// Bytes of the trailer: UInt32 check value, Int32 random number 0..999,999.
constexpr std::int64_t QEL_ZIP_TRAILER_SIZE = 8;

// The check value of size bytes over type: the reflected CRC-32 register
// (polynomial 0xEDB88320, start 0xFFFFFFFF) stepped over the bytes, then over
// the salt type, 'Q', 'E', 'L', type, and taken without the final inversion.
std::uint32_t QelZipCheckValue(const void* data, std::size_t size, std::uint8_t type);

inline void PutLE32(std::uint8_t* at, std::uint32_t value)
{
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
    at[2] = static_cast<std::uint8_t>(value >> 16);
    at[3] = static_cast<std::uint8_t>(value >> 24);
}

inline void PutLE64(std::uint8_t* at, std::uint64_t value)
{
    PutLE32(at, static_cast<std::uint32_t>(value));
    PutLE32(at + 4, static_cast<std::uint32_t>(value >> 32));
}

inline std::uint32_t GetLE32(const std::uint8_t* at)
{
    return std::uint32_t{at[0]} | std::uint32_t{at[1]} << 8 | std::uint32_t{at[2]} << 16 | std::uint32_t{at[3]} << 24;
}

inline std::uint64_t GetLE64(const std::uint8_t* at)
{
    return std::uint64_t{GetLE32(at)} | std::uint64_t{GetLE32(at + 4)} << 32;
}

// A container whose entries cannot be read as a container: the message names
// the file, the entry and the fault.
class EQelZipFileError : public plat::EReadError {
public:
    using plat::EReadError::EReadError;
};

// The trailer's check value verifies size bytes at data followed by the
// 8-byte trailer, over type.
bool QelZipTrailerVerifies(const std::uint8_t* data, std::int64_t size, std::uint8_t type);

// An entry's content in memory; saved to the archive with the trailer.
class TQelZipCrcBaseStream : public plat::TMemoryStream {
public:
    // The type byte of this kind of entry.
    virtual std::uint8_t CrcType() const = 0;
    // Prepares the content before a save; False skips the save.
    virtual bool BeforeSave() { return true; }
    // Takes in the content after a load; its answer is the load's.
    virtual bool AfterLoad() { return true; }

    // BeforeSave, then adds the content with its trailer to zip as entry
    // section (Deflate). The stream keeps its content without the trailer,
    // so a second save writes the same entry again. Answers BeforeSave's answer.
    bool SaveToZipFile(const std::string& section, plat::TZipFile& zip);
    // Appends a UInt16 byte count and the UTF-8 bytes of s; a text beyond
    // 65,535 bytes is written as count 0 and no bytes.
    void WriteStr(const std::string& s);

    // Reads entry section of zip and verifies its trailer (at least 8 bytes,
    // and the check value of the rest over CrcType equals the stored one);
    // then the content without the trailer stands in the stream, position 0,
    // and the answer is AfterLoad's. False, with the stream as it was, when
    // the archive has no such entry or the trailer does not verify. A
    // damaged archive entry raises the archive's EZipFormatError.
    bool LoadFromZipFile(const std::string& section, plat::TZipFile& zip);
    // Reads a UInt16 byte count and that many bytes as UTF-8 text; False
    // (s empty) when fewer bytes are left.
    bool ReadStr(std::string& s);
};

} // namespace qel
