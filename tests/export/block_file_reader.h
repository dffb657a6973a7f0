// Test-side reader of block files, kept apart from the writer: inflates the
// whole file with zlib and walks the blocks of the uncompressed stream.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qeltest {

struct BlockRecord {
    std::uint16_t type = 0;
    std::vector<std::uint8_t> payload;
};

struct BlockFileContent {
    std::string raw;                    // the file as stored
    std::vector<std::uint8_t> inflated; // the whole uncompressed stream
    std::vector<BlockRecord> blocks;
    bool streamComplete = false;        // the zlib stream ended with a valid trailer
    bool walkComplete = false;          // the blocks exactly cover the uncompressed stream
};

// Reads and walks the file; a file that cannot be read or inflated gives
// streamComplete false and whatever blocks could be walked.
BlockFileContent ReadBlockFile(const std::string& path);

// A zlib stream of the bytes, for hand-made files.
std::string ZlibCompress(const std::vector<std::uint8_t>& bytes);

// The block types in file order.
std::vector<std::uint16_t> BlockTypes(const BlockFileContent& content);

// Little-endian reads over one payload; reading past the end fails the
// current test and answers zero.
class PayloadCursor {
public:
    explicit PayloadCursor(std::vector<std::uint8_t> payload) : FPayload(std::move(payload)) {}

    std::uint16_t Word();
    std::int16_t Smallint();
    std::int32_t Longint();
    float Single();
    std::uint32_t SingleBits();
    double Double();
    // The stored bytes, without any code-page conversion.
    std::string String();

    std::size_t Position() const { return FPos; }
    std::size_t Remaining() const { return FPayload.size() - FPos; }
    bool AtEnd() const { return FPos == FPayload.size(); }

private:
    std::uint64_t Take(std::size_t count);

    std::vector<std::uint8_t> FPayload;
    std::size_t FPos = 0;
};

} // namespace qeltest
