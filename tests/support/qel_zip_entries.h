// Test-side decoding and building of the zip channel container's entries,
// written apart from the program: trailers, pair texts, index records and
// value records.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace qeltest {

// The check value over content salted with type, byte by byte through the table.
std::uint32_t ExpectedCheckValue(const std::string& content, std::uint8_t type);
// The entry without its 8-byte trailer.
std::string EntryContent(const std::string& entry);
// The trailer's check value matches the content over type.
bool TrailerVerifies(const std::string& entry, std::uint8_t type);
// The trailer's random number.
std::int32_t TrailerRandom(const std::string& entry);

using TPairs = std::vector<std::pair<std::string, std::string>>;
// The (name, value) texts of a pair entry (trailer included in entry);
// raises std::runtime_error when the texts do not fill the content exactly.
TPairs DecodePairs(const std::string& entry);
// The value of name in pairs; raises when absent.
std::string PairValue(const TPairs& pairs, const std::string& name);

struct TIndexRecord {
    std::int64_t ValueNo;
    std::int64_t Values;
    std::uint32_t BlockNo;
    std::uint32_t BlockSize;
    std::int64_t Tmin;
    std::int64_t Tmax;
    float Ymin;
    float Ymax;
    std::uint32_t cs;
    std::uint32_t reserve;
};
// The 56-byte records of a ChInfo entry (trailer included in entry).
std::vector<TIndexRecord> DecodeIndex(const std::string& entry);

struct TValueRecord {
    std::int64_t Time;
    float Value;
};
// The 12-byte records of a ChData entry.
std::vector<TValueRecord> DecodeValues(const std::string& block);

// Entries built from their parts: content followed by the trailer over type
// (random number 4711); a UInt16 count and the bytes of a text; the pair
// texts of an entry (trailer included); index records and value records
// (no trailer).
std::string Trailed(const std::string& content, std::uint8_t type);
std::string PairText(const std::string& text);
std::string PairEntry(const TPairs& pairs, std::uint8_t type);
std::string IndexRecords(const std::vector<TIndexRecord>& records);
std::string ValueRecords(const std::vector<TValueRecord>& records);

} // namespace qeltest
