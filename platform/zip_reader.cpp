// Zip archive reader: the end records and the central directory, local
// headers, stored and Deflate entries, and the size and CRC-32 checks that
// stand between an archive's bytes and its entries.
#include "platform/zip_reader.h"

#include "platform/zip_format.h"

#include <zlib.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <limits>

namespace plat {

namespace {

using namespace zipformat;

constexpr std::size_t kLocalHeaderSize = 30;
constexpr std::size_t kCentralHeaderSize = 46;
constexpr std::size_t kEndRecordSize = 22;
constexpr std::size_t kZip64LocatorSize = 20;
constexpr std::size_t kZip64EndSize = 56;
constexpr std::size_t kMaxCommentSize = 0xFFFF;
constexpr std::uint16_t kFlagEncrypted = 1;
// Deflate expands at most about 1032 to 1: a directory claiming more is a
// lie that would only make the reader allocate.
constexpr std::uint64_t kMaxDeflateRatio = 1032;

std::uint16_t U16(const std::uint8_t* at)
{
    return static_cast<std::uint16_t>(at[0] | at[1] << 8);
}

std::uint32_t U32(const std::uint8_t* at)
{
    return std::uint32_t{U16(at)} | std::uint32_t{U16(at + 2)} << 16;
}

std::uint64_t U64(const std::uint8_t* at)
{
    return std::uint64_t{U32(at)} | std::uint64_t{U32(at + 4)} << 32;
}

// Reads fields in order from a byte range, refusing to run past its end.
class TFieldReader {
public:
    TFieldReader(const std::uint8_t* data, std::size_t size) : FData(data), FSize(size) {}

    bool Has(std::size_t count) const { return count <= FSize - FAt; }
    const std::uint8_t* Take(std::size_t count)
    {
        const std::uint8_t* at = FData + FAt;
        FAt += count;
        return at;
    }
    std::size_t At() const { return FAt; }

private:
    const std::uint8_t* FData;
    std::size_t FSize;
    std::size_t FAt = 0;
};

// The Zip64 extra field of a central header: the values whose own field
// is full, in the order size, compressed size, offset.
bool ReadZip64Extra(const std::uint8_t* extra, std::size_t size, TZipEntryInfo& entry, bool bigSize,
                    bool bigCompressed, bool bigOffset)
{
    TFieldReader fields(extra, size);
    while (fields.Has(4)) {
        const std::uint8_t* head = fields.Take(4);
        const std::uint16_t id = U16(head);
        const std::uint16_t length = U16(head + 2);
        if (!fields.Has(length)) {
            return false;
        }
        const std::uint8_t* body = fields.Take(length);
        if (id != kZip64ExtraId) {
            continue;
        }
        TFieldReader values(body, length);
        for (auto [big, target] : {std::pair{bigSize, &entry.Size}, std::pair{bigCompressed, &entry.CompressedSize},
                                   std::pair{bigOffset, &entry.LocalOffset}}) {
            if (big) {
                if (!values.Has(8)) {
                    return false;
                }
                *target = U64(values.Take(8));
            }
        }
        return true;
    }
    return !(bigSize || bigCompressed || bigOffset);
}

} // namespace

TZipReader::TZipReader(const std::string& fileName) : FFileName(fileName)
{
    struct stat status {};
    if (::stat(fileName.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
        throw EFOpenError("Cannot open file \"" + fileName + "\". It is not a regular file");
    }
    FFile = std::make_unique<TFileStream>(fileName, fmOpenRead | fmShareDenyWrite);
    FFileSize = static_cast<std::uint64_t>(FFile->Size());
    ReadDirectory();
}

TZipReader::~TZipReader() = default;

void TZipReader::Fail(const std::string& fault) const
{
    throw EZipFormatError("The zip archive \"" + FFileName + "\" is damaged: " + fault);
}

void TZipReader::FailEntry(const TZipEntryInfo& entry, const std::string& fault) const
{
    throw EZipFormatError("The entry \"" + entry.Name + "\" of the zip archive \"" + FFileName +
                          "\" is damaged: " + fault);
}

void TZipReader::ReadExactly(std::uint64_t offset, void* buffer, std::size_t count, const char* what)
{
    if (offset > FFileSize || count > FFileSize - offset) {
        Fail(std::string(what) + " lies beyond the end of the file");
    }
    FFile->Seek(static_cast<std::int64_t>(offset), soBeginning);
    if (FFile->Read(buffer, static_cast<std::int64_t>(count)) != static_cast<std::int64_t>(count)) {
        Fail(std::string(what) + " cannot be read");
    }
}

void TZipReader::ReadDirectory()
{
    // The end record: the last signature in the tail whose comment ends the file.
    const std::size_t tailSize = static_cast<std::size_t>(std::min<std::uint64_t>(FFileSize, kEndRecordSize + kMaxCommentSize));
    if (tailSize < kEndRecordSize) {
        Fail("it is too short to be a zip archive");
    }
    std::vector<std::uint8_t> tail(tailSize);
    const std::uint64_t tailStart = FFileSize - tailSize;
    ReadExactly(tailStart, tail.data(), tailSize, "the end of the archive");
    std::size_t end = tailSize - kEndRecordSize + 1;
    const std::uint8_t* record = nullptr;
    while (end-- > 0) {
        const std::uint8_t* at = tail.data() + end;
        if (U32(at) == kEndSignature && end + kEndRecordSize + U16(at + 20) == tailSize) {
            record = at;
            break;
        }
    }
    if (record == nullptr) {
        Fail("its end of central directory record is missing");
    }
    const std::uint64_t endOffset = tailStart + static_cast<std::uint64_t>(record - tail.data());
    if (U16(record + 4) != 0 || U16(record + 6) != 0) {
        Fail("it spans several disks");
    }
    std::uint64_t count = U16(record + 10);
    std::uint64_t directorySize = U32(record + 12);
    std::uint64_t directoryOffset = U32(record + 16);
    std::uint64_t directoryLimit = endOffset;   // the directory ends before this
    if (count == kMax16 || directorySize == kMax32 || directoryOffset == kMax32) {
        if (endOffset < kZip64LocatorSize) {
            Fail("its Zip64 end locator is missing");
        }
        std::uint8_t locator[kZip64LocatorSize];
        ReadExactly(endOffset - kZip64LocatorSize, locator, sizeof locator, "the Zip64 end locator");
        if (U32(locator) != kZip64LocatorSignature) {
            Fail("its Zip64 end locator is missing");
        }
        const std::uint64_t zip64EndOffset = U64(locator + 8);
        std::uint8_t zip64End[kZip64EndSize];
        if (zip64EndOffset > endOffset - kZip64LocatorSize ||
            endOffset - kZip64LocatorSize - zip64EndOffset < kZip64EndSize) {
            Fail("its Zip64 end record lies outside the file");
        }
        ReadExactly(zip64EndOffset, zip64End, sizeof zip64End, "the Zip64 end record");
        if (U32(zip64End) != kZip64EndSignature) {
            Fail("its Zip64 end record is missing");
        }
        count = U64(zip64End + 32);
        directorySize = U64(zip64End + 40);
        directoryOffset = U64(zip64End + 48);
        directoryLimit = zip64EndOffset;
    }
    if (directoryOffset > directoryLimit || directorySize > directoryLimit - directoryOffset) {
        Fail("its central directory lies outside the file");
    }
    if (count > directorySize / kCentralHeaderSize) {
        Fail("its central directory is shorter than its entry count");
    }
    FDirectoryOffset = directoryOffset;
    std::vector<std::uint8_t> directory(static_cast<std::size_t>(directorySize));
    ReadExactly(directoryOffset, directory.data(), directory.size(), "the central directory");
    TFieldReader fields(directory.data(), directory.size());
    FEntries.reserve(static_cast<std::size_t>(count));
    for (std::uint64_t i = 0; i < count; ++i) {
        if (!fields.Has(kCentralHeaderSize)) {
            Fail("its central directory ends inside an entry");
        }
        const std::uint8_t* header = fields.Take(kCentralHeaderSize);
        if (U32(header) != kCentralHeaderSignature) {
            Fail("entry " + std::to_string(i) + " of its central directory has no header signature");
        }
        const std::size_t nameSize = U16(header + 28);
        const std::size_t extraSize = U16(header + 30);
        const std::size_t commentSize = U16(header + 32);
        if (!fields.Has(nameSize + extraSize + commentSize)) {
            Fail("its central directory ends inside an entry");
        }
        TZipEntryInfo entry;
        entry.Flags = U16(header + 8);
        entry.Method = U16(header + 10);
        entry.Crc = U32(header + 16);
        entry.CompressedSize = U32(header + 20);
        entry.Size = U32(header + 24);
        entry.LocalOffset = U32(header + 42);
        const std::uint8_t* name = fields.Take(nameSize);
        entry.Name.assign(reinterpret_cast<const char*>(name), nameSize);
        const std::uint8_t* extra = fields.Take(extraSize);
        fields.Take(commentSize);
        if (!ReadZip64Extra(extra, extraSize, entry, entry.Size == kMax32, entry.CompressedSize == kMax32,
                            entry.LocalOffset == kMax32)) {
            Fail("the Zip64 field of entry \"" + entry.Name + "\" is incomplete");
        }
        if (entry.LocalOffset > FDirectoryOffset || FDirectoryOffset - entry.LocalOffset < kLocalHeaderSize) {
            Fail("entry \"" + entry.Name + "\" points outside the file's entries");
        }
        FIndexOfName.emplace(entry.Name, static_cast<int>(FEntries.size()));
        FEntries.push_back(std::move(entry));
    }
}

int TZipReader::IndexOf(const std::string& name) const
{
    const auto found = FIndexOfName.find(name);
    return found == FIndexOfName.end() ? -1 : found->second;
}

void TZipReader::Inflate(const TZipEntryInfo& entry, const std::vector<std::uint8_t>& packed, std::uint8_t* out)
{
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) {
        throw std::bad_alloc();
    }
    constexpr std::uint64_t chunk = std::numeric_limits<uInt>::max();
    std::uint8_t spill = 0;          // takes a byte beyond the entry's size, which ends the read
    std::size_t consumed = 0;        // bytes of packed handed to inflate
    std::uint64_t produced = 0;
    int result = Z_OK;
    while (result == Z_OK && produced <= entry.Size) {
        if (stream.avail_in == 0 && consumed < packed.size()) {
            stream.next_in = const_cast<std::uint8_t*>(packed.data()) + consumed;
            stream.avail_in = static_cast<uInt>(std::min<std::uint64_t>(packed.size() - consumed, chunk));
            consumed += stream.avail_in;
        }
        const std::uint64_t room = entry.Size - produced;
        stream.next_out = room > 0 ? out + produced : &spill;
        stream.avail_out = static_cast<uInt>(room > 0 ? std::min(room, chunk) : 1);
        const uInt offered = stream.avail_out;
        result = inflate(&stream, Z_NO_FLUSH);
        produced += offered - stream.avail_out;
    }
    inflateEnd(&stream);
    if (produced > entry.Size) {
        FailEntry(entry, "it holds more bytes than the directory says");
    }
    if (result == Z_BUF_ERROR) {
        FailEntry(entry, "its compressed data end too early");
    }
    if (result != Z_STREAM_END) {
        FailEntry(entry, "its compressed data are damaged");
    }
    if (produced < entry.Size) {
        FailEntry(entry, "it holds fewer bytes than the directory says");
    }
}

void TZipReader::Read(int index, TMemoryStream& content)
{
    const TZipEntryInfo& entry = Entry(index);
    if ((entry.Flags & kFlagEncrypted) != 0) {
        FailEntry(entry, "it is encrypted");
    }
    if (entry.Method != kMethodStored && entry.Method != kMethodDeflate) {
        FailEntry(entry, "its compression method " + std::to_string(entry.Method) + " is not supported");
    }
    std::uint8_t local[kLocalHeaderSize];
    ReadExactly(entry.LocalOffset, local, sizeof local, "a local header");
    if (U32(local) != kLocalHeaderSignature) {
        FailEntry(entry, "its local header is missing");
    }
    const std::uint64_t dataOffset = entry.LocalOffset + kLocalHeaderSize + U16(local + 26) + U16(local + 28);
    if (dataOffset > FDirectoryOffset || entry.CompressedSize > FDirectoryOffset - dataOffset) {
        FailEntry(entry, "its data runs past the file's entries");
    }
    const bool stored = entry.Method == kMethodStored;
    if (stored ? entry.Size != entry.CompressedSize : entry.Size > entry.CompressedSize * kMaxDeflateRatio + 64) {
        FailEntry(entry, "its sizes do not fit its compressed data");
    }
    if (entry.Size > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
        FailEntry(entry, "it is too large");
    }
    std::vector<std::uint8_t> packed(static_cast<std::size_t>(entry.CompressedSize));
    ReadExactly(dataOffset, packed.data(), packed.size(), "an entry's data");
    content.SetSize(static_cast<std::int64_t>(entry.Size));
    content.SetPosition(0);
    if (stored) {
        std::copy(packed.begin(), packed.end(), content.Memory());
    } else {
        Inflate(entry, packed, content.Memory());
    }
    const auto crc = static_cast<std::uint32_t>(crc32_z(0, content.Memory(), static_cast<std::size_t>(entry.Size)));
    if (crc != entry.Crc) {
        FailEntry(entry, "its CRC-32 does not match its bytes");
    }
}

} // namespace plat
