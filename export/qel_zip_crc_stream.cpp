// The salted check value of the zip channel container and the save of an
// entry with its trailer.
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

} // namespace qel
