// Archives for the zip tests: entry contents of kinds that compress well and
// not at all, a mixed set of entries, and an archive written with the
// program's writer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qeltest {

struct TZipEntryData {
    std::string Name;
    std::string Data;
};

// Bytes that do not compress (a seeded random sequence).
std::string RandomBytes(std::size_t count, unsigned seed);
// Text that compresses well.
std::string Repetitive(std::size_t count);
// Entries named as the container names them, an empty one, a large random
// one and a non-ASCII name.
std::vector<TZipEntryData> MixedEntries();
// The entries, in order, as an archive at path written with the given
// compression threads and Zip64 threshold; checks the writer's count and close.
void WriteArchive(const std::string& path, const std::vector<TZipEntryData>& entries, unsigned threads,
                  std::uint64_t zip64Threshold = 0xFFFFFFFFu);

} // namespace qeltest
