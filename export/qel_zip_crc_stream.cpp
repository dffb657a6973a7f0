// The salted check value of the zip channel container, the save of an entry
// with its trailer and the verified load of one.
#include "export/qel_zip_crc_stream.h"

#include "platform/random.h"
#include "platform/zip_writer.h"

#include <zlib.h>

namespace qel {

std::uint32_t QelZipCheckValue(const void* data, std::size_t size, std::uint8_t type)
{
    // zlib's CRC-32 is the register inverted before and after, so the
    // register itself is the complement of the standard CRC of content + salt.
    const std::uint8_t salt[5] = {type, 'Q', 'E', 'L', type};
    uLong crc = crc32_z(0, static_cast<const Bytef*>(data), size);
    crc = crc32_z(crc, salt, sizeof salt);
    return ~static_cast<std::uint32_t>(crc);
}

bool QelZipTrailerVerifies(const std::uint8_t* data, std::int64_t size, std::uint8_t type)
{
    if (size < QEL_ZIP_TRAILER_SIZE) {
        return false;
    }
    const auto content = static_cast<std::size_t>(size - QEL_ZIP_TRAILER_SIZE);
    return QelZipCheckValue(data, content, type) == GetLE32(data + content);
}

bool TQelZipCrcBaseStream::SaveToZipFile(const std::string& section, plat::TZipFile& zip)
{
    if (!BeforeSave()) {
        return false;
    }
    const std::int64_t contentSize = Size();
    std::uint8_t trailer[QEL_ZIP_TRAILER_SIZE];
    PutLE32(trailer, QelZipCheckValue(Memory(), static_cast<std::size_t>(contentSize), CrcType()));
    PutLE32(trailer + 4, plat::Random(1000000));
    Seek(0, plat::soEnd);
    WriteBuffer(trailer, QEL_ZIP_TRAILER_SIZE);
    SetPosition(0);
    zip.Add(Memory(), static_cast<std::size_t>(Size()), section);
    SetSize(contentSize);
    Seek(0, plat::soEnd);
    return true;
}

void TQelZipCrcBaseStream::WriteStr(const std::string& s)
{
    const std::size_t count = s.size() > 0xFFFF ? 0 : s.size();
    std::uint8_t length[2] = {static_cast<std::uint8_t>(count), static_cast<std::uint8_t>(count >> 8)};
    WriteBuffer(length, 2);
    WriteBuffer(s.data(), static_cast<std::int64_t>(count));
}

bool TQelZipCrcBaseStream::LoadFromZipFile(const std::string& section, plat::TZipFile& zip)
{
    const int index = zip.IndexOf(section);
    if (index < 0) {
        return false;
    }
    plat::TMemoryStream entry;
    zip.Read(index, entry);
    if (!QelZipTrailerVerifies(entry.Memory(), entry.Size(), CrcType())) {
        return false;
    }
    SetSize(0);
    WriteBuffer(entry.Memory(), entry.Size() - QEL_ZIP_TRAILER_SIZE);
    SetPosition(0);
    return AfterLoad();
}

bool TQelZipCrcBaseStream::ReadStr(std::string& s)
{
    s.clear();
    std::uint8_t length[2];
    if (Size() - Position() < 2) {
        return false;
    }
    ReadBuffer(length, 2);
    const std::int64_t count = length[0] | length[1] << 8;
    if (Size() - Position() < count) {
        return false;
    }
    s.resize(static_cast<std::size_t>(count));
    ReadBuffer(s.data(), count);
    return true;
}

} // namespace qel
