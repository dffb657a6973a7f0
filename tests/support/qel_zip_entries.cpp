// Test-side decoding of container entries: salted check values by table,
// pair texts, 56-byte index records and 12-byte value records.
#include "tests/support/qel_zip_entries.h"

#include "tests/support/zip_test_reader.h"

#include <bit>
#include <stdexcept>

namespace qeltest {

std::uint32_t ExpectedCheckValue(const std::string& content, std::uint8_t type)
{
    const std::uint8_t salt[5] = {type, 'Q', 'E', 'L', type};
    const std::uint32_t afterContent = Crc32Register(0xFFFFFFFFu, content.data(), content.size());
    return Crc32Register(afterContent, salt, sizeof salt);
}

std::string EntryContent(const std::string& entry)
{
    if (entry.size() < 8) {
        throw std::runtime_error("entry shorter than its trailer");
    }
    return entry.substr(0, entry.size() - 8);
}

bool TrailerVerifies(const std::string& entry, std::uint8_t type)
{
    return entry.size() >= 8 && LeU32(entry, entry.size() - 8) == ExpectedCheckValue(EntryContent(entry), type);
}

std::int32_t TrailerRandom(const std::string& entry)
{
    return static_cast<std::int32_t>(LeU32(entry, entry.size() - 4));
}

TPairs DecodePairs(const std::string& entry)
{
    const std::string content = EntryContent(entry);
    std::vector<std::string> texts;
    std::size_t at = 0;
    while (at < content.size()) {
        if (at + 2 > content.size()) {
            throw std::runtime_error("pair text count cut off");
        }
        const std::size_t count = LeU16(content, at);
        if (at + 2 + count > content.size()) {
            throw std::runtime_error("pair text runs past the content");
        }
        texts.push_back(content.substr(at + 2, count));
        at += 2 + count;
    }
    if (texts.size() % 2 != 0) {
        throw std::runtime_error("a name without a value");
    }
    TPairs pairs;
    for (std::size_t i = 0; i < texts.size(); i += 2) {
        pairs.emplace_back(texts[i], texts[i + 1]);
    }
    return pairs;
}

std::string PairValue(const TPairs& pairs, const std::string& name)
{
    for (const auto& [n, v] : pairs) {
        if (n == name) {
            return v;
        }
    }
    throw std::runtime_error("no pair " + name);
}

std::vector<TIndexRecord> DecodeIndex(const std::string& entry)
{
    const std::string content = EntryContent(entry);
    if (content.size() % 56 != 0) {
        throw std::runtime_error("index content is not whole records");
    }
    std::vector<TIndexRecord> records;
    for (std::size_t at = 0; at < content.size(); at += 56) {
        records.push_back({static_cast<std::int64_t>(LeU64(content, at)),
                           static_cast<std::int64_t>(LeU64(content, at + 8)), LeU32(content, at + 16),
                           LeU32(content, at + 20), static_cast<std::int64_t>(LeU64(content, at + 24)),
                           static_cast<std::int64_t>(LeU64(content, at + 32)),
                           std::bit_cast<float>(LeU32(content, at + 40)),
                           std::bit_cast<float>(LeU32(content, at + 44)), LeU32(content, at + 48),
                           LeU32(content, at + 52)});
    }
    return records;
}

std::vector<TValueRecord> DecodeValues(const std::string& block)
{
    if (block.size() % 12 != 0) {
        throw std::runtime_error("data block is not whole records");
    }
    std::vector<TValueRecord> values;
    for (std::size_t at = 0; at < block.size(); at += 12) {
        values.push_back({static_cast<std::int64_t>(LeU64(block, at)), std::bit_cast<float>(LeU32(block, at + 8))});
    }
    return values;
}

namespace {

void PutLe(std::string& out, std::uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>(value >> (8 * i));
    }
}

} // namespace

std::string Trailed(const std::string& content, std::uint8_t type)
{
    std::string entry = content;
    PutLe(entry, ExpectedCheckValue(content, type), 4);
    PutLe(entry, 4711, 4);
    return entry;
}

std::string PairText(const std::string& text)
{
    std::string out;
    PutLe(out, text.size(), 2);
    return out + text;
}

std::string PairEntry(const TPairs& pairs, std::uint8_t type)
{
    std::string content;
    for (const auto& [name, value] : pairs) {
        content += PairText(name) + PairText(value);
    }
    return Trailed(content, type);
}

std::string IndexRecords(const std::vector<TIndexRecord>& records)
{
    std::string out;
    for (const TIndexRecord& r : records) {
        PutLe(out, static_cast<std::uint64_t>(r.ValueNo), 8);
        PutLe(out, static_cast<std::uint64_t>(r.Values), 8);
        PutLe(out, r.BlockNo, 4);
        PutLe(out, r.BlockSize, 4);
        PutLe(out, static_cast<std::uint64_t>(r.Tmin), 8);
        PutLe(out, static_cast<std::uint64_t>(r.Tmax), 8);
        PutLe(out, std::bit_cast<std::uint32_t>(r.Ymin), 4);
        PutLe(out, std::bit_cast<std::uint32_t>(r.Ymax), 4);
        PutLe(out, r.cs, 4);
        PutLe(out, r.reserve, 4);
    }
    return out;
}

std::string ValueRecords(const std::vector<TValueRecord>& records)
{
    std::string out;
    for (const TValueRecord& r : records) {
        PutLe(out, static_cast<std::uint64_t>(r.Time), 8);
        PutLe(out, std::bit_cast<std::uint32_t>(r.Value), 4);
    }
    return out;
}

} // namespace qeltest
