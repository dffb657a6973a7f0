// A zip reader for tests, written apart from the program's writer: it walks
// the end records and the central directory, checks every local header and
// inflates every entry, and raises on anything a sound archive would not hold.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qeltest {

struct TZipTestEntry {
    std::string Name;
    std::uint16_t Method = 0;
    std::uint16_t Flags = 0;
    std::uint32_t Crc = 0;
    std::uint64_t Size = 0;
    std::uint64_t CompressedSize = 0;
    std::uint64_t LocalOffset = 0;
    bool Zip64Fields = false;   // the entry's sizes or offset stand in a Zip64 field
    std::string Data;           // the inflated content
};

class TZipTestReader {
public:
    // Reads the whole archive; raises std::runtime_error naming what is wrong.
    explicit TZipTestReader(const std::string& path);

    const std::vector<TZipTestEntry>& Entries() const { return FEntries; }
    std::vector<std::string> Names() const;
    // The content of the first entry of that name; raises when there is none.
    const std::string& Read(const std::string& name) const;
    bool Has(const std::string& name) const;
    bool HasZip64End() const { return FZip64End; }

private:
    std::vector<TZipTestEntry> FEntries;
    bool FZip64End = false;
};

// The CRC-32 register after bytes, stepped byte by byte through the reflected
// table of polynomial 0xEDB88320, without initial or final inversion.
std::uint32_t Crc32Register(std::uint32_t start, const void* bytes, std::size_t count);
// The standard CRC-32 (start 0xFFFFFFFF, final inversion).
std::uint32_t StandardCrc32(const std::string& bytes);

// Little-endian field readers over a byte string (no bounds check: callers
// check the length first).
std::uint16_t LeU16(const std::string& bytes, std::size_t offset);
std::uint32_t LeU32(const std::string& bytes, std::size_t offset);
std::uint64_t LeU64(const std::string& bytes, std::size_t offset);

// The standard tools' verdicts on an archive.
struct TToolResult {
    int ExitCode = -1;
    std::string Output;   // stdout and stderr
};
// "unzip -t -q" of the archive.
TToolResult RunUnzipTest(const std::string& path);
// Python's zipfile: testzip() of the archive and a read of every entry; the
// output is the entry names in directory order, one a line, then "OK".
TToolResult RunPythonZipCheck(const std::string& path);

} // namespace qeltest
