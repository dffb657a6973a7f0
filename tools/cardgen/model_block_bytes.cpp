// Radio records and SE page blocks for generated pages.
#include "tools/cardgen/model_block_bytes.h"

#include "tools/cardgen/cluster_writer.h"

#include <algorithm>
#include <stdexcept>

namespace qel::cardgen {

namespace {
constexpr std::uint8_t kModelBlockTag = 0xC0;
constexpr std::size_t kRadioHeadSize = 10;
constexpr std::size_t kMaxRadioValues = 15;
} // namespace

std::vector<std::uint8_t> RadioRecordBytes(const TRadioRecordDescription& record)
{
    if (record.Values.size() > kMaxRadioValues) {
        throw std::invalid_argument("a radio record carries at most 15 values");
    }
    std::vector<std::uint8_t> bytes(kRadioHeadSize + 2 * record.Values.size());
    bytes[0] = kModelBlockTag;
    bytes[2] = static_cast<std::uint8_t>((record.Control & 0xF0) | record.Values.size());
    bytes[3] = static_cast<std::uint8_t>((record.Position & 0x0F) << 4 | (record.ModulNo & 0x0F));
    PutWordLE(bytes, 4, record.Serial);
    PutWordLE(bytes, 6, static_cast<std::uint16_t>(record.Counter));
    bytes[8] = static_cast<std::uint8_t>(record.Counter >> 16);
    bytes[9] = record.Config;
    for (std::size_t i = 0; i < record.Values.size(); ++i) {
        PutWordLE(bytes, kRadioHeadSize + 2 * i, static_cast<std::uint16_t>(record.Values[i]));
    }
    return bytes;
}

std::vector<std::uint8_t> SEPageBlockBytes(const TSEPageBlockDescription& block)
{
    if (block.Data.size() > kSEPageDataSize) {
        throw std::invalid_argument("an SE page holds 1024 bytes");
    }
    std::vector<std::uint8_t> bytes(kSEPageBlockSize);
    bytes[0] = kModelBlockTag;
    PutLongLE(bytes, 2, block.Job);
    bytes[6] = block.Order;
    bytes[7] = block.Page;
    PutLongLE(bytes, 8, block.Index);
    std::copy(block.Data.begin(), block.Data.end(), bytes.begin() + 12);
    return bytes;
}

} // namespace qel::cardgen
