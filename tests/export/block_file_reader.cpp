// Test-side block file reader: whole-file inflate and block walk.
#include "tests/export/block_file_reader.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <bit>
#include <zlib.h>

namespace qeltest {

namespace {

std::vector<std::uint8_t> InflateAll(const std::string& raw, bool& complete)
{
    std::vector<std::uint8_t> out;
    complete = false;
    z_stream z{};
    if (inflateInit(&z) != Z_OK) {
        return out;
    }
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(raw.data()));
    z.avail_in = static_cast<uInt>(raw.size());
    std::vector<std::uint8_t> chunk(1 << 16);
    for (;;) {
        z.next_out = chunk.data();
        z.avail_out = static_cast<uInt>(chunk.size());
        const int code = inflate(&z, Z_NO_FLUSH);
        out.insert(out.end(), chunk.data(), chunk.data() + (chunk.size() - z.avail_out));
        if (code == Z_STREAM_END) {
            complete = z.avail_in == 0; // nothing may follow the stream
            break;
        }
        if (code != Z_OK) {
            break;
        }
    }
    inflateEnd(&z);
    return out;
}

} // namespace

BlockFileContent ReadBlockFile(const std::string& path)
{
    BlockFileContent content;
    content.raw = ReadWholeFile(path);
    content.inflated = InflateAll(content.raw, content.streamComplete);
    const std::vector<std::uint8_t>& data = content.inflated;
    std::size_t pos = 0;
    while (data.size() - pos >= 4) {
        BlockRecord block;
        block.type = static_cast<std::uint16_t>(data[pos] | data[pos + 1] << 8);
        const std::size_t length = static_cast<std::size_t>(data[pos + 2] | data[pos + 3] << 8);
        pos += 4;
        if (data.size() - pos < length) {
            return content;
        }
        block.payload.assign(data.begin() + static_cast<std::ptrdiff_t>(pos),
                             data.begin() + static_cast<std::ptrdiff_t>(pos + length));
        pos += length;
        content.blocks.push_back(std::move(block));
    }
    content.walkComplete = pos == data.size();
    return content;
}

std::string ZlibCompress(const std::vector<std::uint8_t>& bytes)
{
    uLongf size = compressBound(static_cast<uLong>(bytes.size()));
    std::string out(size, '\0');
    if (compress(reinterpret_cast<Bytef*>(out.data()), &size, bytes.data(), static_cast<uLong>(bytes.size())) != Z_OK) {
        ADD_FAILURE() << "zlib refused to compress";
        return {};
    }
    out.resize(size);
    return out;
}

std::vector<std::uint16_t> BlockTypes(const BlockFileContent& content)
{
    std::vector<std::uint16_t> types;
    for (const BlockRecord& block : content.blocks) {
        types.push_back(block.type);
    }
    return types;
}

std::uint64_t PayloadCursor::Take(std::size_t count)
{
    if (Remaining() < count) {
        ADD_FAILURE() << "payload read of " << count << " bytes at " << FPos << " runs past its end ("
                      << FPayload.size() << ")";
        FPos = FPayload.size();
        return 0;
    }
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < count; ++i) {
        value |= static_cast<std::uint64_t>(FPayload[FPos + i]) << (8 * i);
    }
    FPos += count;
    return value;
}

std::uint16_t PayloadCursor::Word()
{
    return static_cast<std::uint16_t>(Take(2));
}

std::int16_t PayloadCursor::Smallint()
{
    return static_cast<std::int16_t>(Take(2));
}

std::int32_t PayloadCursor::Longint()
{
    return static_cast<std::int32_t>(Take(4));
}

std::uint32_t PayloadCursor::SingleBits()
{
    return static_cast<std::uint32_t>(Take(4));
}

float PayloadCursor::Single()
{
    return std::bit_cast<float>(SingleBits());
}

double PayloadCursor::Double()
{
    return std::bit_cast<double>(Take(8));
}

std::string PayloadCursor::String()
{
    const std::size_t length = Word();
    std::string text;
    for (std::size_t i = 0; i < length && !AtEnd(); ++i) {
        text += static_cast<char>(Take(1));
    }
    return text;
}

} // namespace qeltest
