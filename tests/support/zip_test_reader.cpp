// Test-side zip reading: end records (Zip64 included), central directory,
// local headers, raw inflate and CRC checks; and the standard tools' checks.
#include "tests/support/zip_test_reader.h"

#include "tests/support/temp_dir.h"

#include <zlib.h>

#include <array>
#include <cstdio>
#include <stdexcept>
#include <sys/wait.h>

namespace qeltest {

namespace {

constexpr std::uint32_t kMax32 = 0xFFFFFFFFu;

[[noreturn]] void Fail(const std::string& what)
{
    throw std::runtime_error("zip: " + what);
}

void Need(const std::string& bytes, std::uint64_t offset, std::uint64_t count, const char* what)
{
    if (offset > bytes.size() || count > bytes.size() - offset) {
        Fail(std::string(what) + " runs past the end of the file");
    }
}

std::string Inflate(const std::string& compressed, std::uint64_t size, const std::string& name)
{
    std::string out(size, '\0');
    z_stream stream{};
    if (inflateInit2(&stream, -15) != Z_OK) {
        Fail("inflateInit2");
    }
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
    stream.avail_in = static_cast<uInt>(compressed.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = inflate(&stream, Z_FINISH);
    const auto produced = stream.total_out;
    const auto consumed = stream.total_in;
    inflateEnd(&stream);
    if (result != Z_STREAM_END) {
        Fail("entry \"" + name + "\" does not inflate to its stored size (inflate " + std::to_string(result) + ")");
    }
    if (produced != size || consumed != compressed.size()) {
        Fail("entry \"" + name + "\" sizes disagree with its Deflate stream");
    }
    return out;
}

// Reads the values of a Zip64 extra field for the fields that hold 0xFFFFFFFF,
// in the order size, compressed size, offset.
void ReadZip64Extra(const std::string& extra, bool size, bool compressed, bool offset, TZipTestEntry& entry)
{
    std::size_t at = 0;
    while (at + 4 <= extra.size()) {
        const std::uint16_t id = LeU16(extra, at);
        const std::uint16_t length = LeU16(extra, at + 2);
        if (at + 4 + length > extra.size()) {
            Fail("extra field of \"" + entry.Name + "\" runs past its end");
        }
        if (id == 1) {
            std::size_t field = at + 4;
            const auto take = [&](std::uint64_t& value) {
                if (field + 8 > at + 4 + length) {
                    Fail("Zip64 field of \"" + entry.Name + "\" too short");
                }
                value = LeU64(extra, field);
                field += 8;
            };
            if (size) {
                take(entry.Size);
            }
            if (compressed) {
                take(entry.CompressedSize);
            }
            if (offset) {
                take(entry.LocalOffset);
            }
            entry.Zip64Fields = true;
            return;
        }
        at += 4 + length;
    }
    if (size || compressed || offset) {
        Fail("entry \"" + entry.Name + "\" points to a Zip64 field it does not have");
    }
}

TToolResult RunShell(const std::string& command)
{
    TToolResult result;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) {
        return result;
    }
    std::array<char, 4096> chunk{};
    std::size_t got = 0;
    while ((got = fread(chunk.data(), 1, chunk.size(), pipe)) > 0) {
        result.Output.append(chunk.data(), got);
    }
    const int status = pclose(pipe);
    result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string Quoted(const std::string& path)
{
    std::string out = "'";
    for (char c : path) {
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return out + "'";
}

} // namespace

std::uint16_t LeU16(const std::string& bytes, std::size_t offset)
{
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(bytes[offset]) |
                                      static_cast<std::uint8_t>(bytes[offset + 1]) << 8);
}

std::uint32_t LeU32(const std::string& bytes, std::size_t offset)
{
    return LeU16(bytes, offset) | static_cast<std::uint32_t>(LeU16(bytes, offset + 2)) << 16;
}

std::uint64_t LeU64(const std::string& bytes, std::size_t offset)
{
    return LeU32(bytes, offset) | static_cast<std::uint64_t>(LeU32(bytes, offset + 4)) << 32;
}

std::uint32_t Crc32Register(std::uint32_t start, const void* bytes, std::size_t count)
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int bit = 0; bit < 8; ++bit) {
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t reg = start;
    const auto* p = static_cast<const std::uint8_t*>(bytes);
    for (std::size_t i = 0; i < count; ++i) {
        reg = (reg >> 8) ^ table[(reg ^ p[i]) & 0xFF];
    }
    return reg;
}

std::uint32_t StandardCrc32(const std::string& bytes)
{
    return ~Crc32Register(0xFFFFFFFFu, bytes.data(), bytes.size());
}

TZipTestReader::TZipTestReader(const std::string& path)
{
    const std::string file = ReadWholeFile(path);
    if (file.size() < 22) {
        Fail("file too short for an end record: " + path);
    }
    // The end record: the last signature whose comment length reaches the file's end.
    std::size_t end = std::string::npos;
    for (std::size_t at = file.size() - 22;; --at) {
        if (LeU32(file, at) == 0x06054B50 && at + 22 + LeU16(file, at + 20) == file.size()) {
            end = at;
            break;
        }
        if (at == 0 || file.size() - at > 22 + 0xFFFF) {
            break;
        }
    }
    if (end == std::string::npos) {
        Fail("no end record");
    }
    std::uint64_t count = LeU16(file, end + 10);
    std::uint64_t directorySize = LeU32(file, end + 12);
    std::uint64_t directoryOffset = LeU32(file, end + 16);
    if (LeU16(file, end + 8) != count) {
        Fail("entry counts of the end record differ");
    }
    std::uint64_t directoryEnd = end;
    if (end >= 20 && LeU32(file, end - 20) == 0x07064B50) {
        const std::uint64_t zip64End = LeU64(file, end - 12);
        Need(file, zip64End, 56, "Zip64 end record");
        if (LeU32(file, zip64End) != 0x06064B50 || zip64End + 56 != end - 20) {
            Fail("Zip64 locator does not point to a Zip64 end record before it");
        }
        if (LeU64(file, zip64End + 24) != LeU64(file, zip64End + 32)) {
            Fail("entry counts of the Zip64 end record differ");
        }
        const auto check = [](std::uint64_t field32, std::uint64_t field64, std::uint64_t max, const char* what) {
            if (field32 != max && field32 != field64) {
                Fail(std::string("end record and Zip64 end record disagree on the ") + what);
            }
        };
        check(count, LeU64(file, zip64End + 32), 0xFFFF, "entry count");
        check(directorySize, LeU64(file, zip64End + 40), kMax32, "directory size");
        check(directoryOffset, LeU64(file, zip64End + 48), kMax32, "directory offset");
        count = LeU64(file, zip64End + 32);
        directorySize = LeU64(file, zip64End + 40);
        directoryOffset = LeU64(file, zip64End + 48);
        directoryEnd = zip64End;
        FZip64End = true;
    } else if (count == 0xFFFF || directorySize == kMax32 || directoryOffset == kMax32) {
        Fail("end record needs Zip64 values but has no Zip64 end record");
    }
    if (directoryOffset + directorySize != directoryEnd) {
        Fail("central directory does not end where the end records begin");
    }

    std::uint64_t at = directoryOffset;
    std::uint64_t expectedLocal = 0;   // entries follow each other without gaps
    for (std::uint64_t i = 0; i < count; ++i) {
        Need(file, at, 46, "central header");
        if (LeU32(file, at) != 0x02014B50) {
            Fail("central header " + std::to_string(i) + " has no signature");
        }
        TZipTestEntry entry;
        entry.Flags = LeU16(file, at + 8);
        entry.Method = LeU16(file, at + 10);
        entry.Crc = LeU32(file, at + 16);
        entry.CompressedSize = LeU32(file, at + 20);
        entry.Size = LeU32(file, at + 24);
        const std::uint16_t nameLength = LeU16(file, at + 28);
        const std::uint16_t extraLength = LeU16(file, at + 30);
        const std::uint16_t commentLength = LeU16(file, at + 32);
        entry.LocalOffset = LeU32(file, at + 42);
        Need(file, at + 46, std::uint64_t{nameLength} + extraLength + commentLength, "central header names");
        entry.Name = file.substr(at + 46, nameLength);
        ReadZip64Extra(file.substr(at + 46 + nameLength, extraLength), entry.Size == kMax32,
                       entry.CompressedSize == kMax32, entry.LocalOffset == kMax32, entry);
        at += 46 + std::uint64_t{nameLength} + extraLength + commentLength;

        if (entry.LocalOffset != expectedLocal) {
            Fail("entry \"" + entry.Name + "\" does not start where the one before it ends");
        }
        const std::uint64_t local = entry.LocalOffset;
        Need(file, local, 30, "local header");
        if (LeU32(file, local) != 0x04034B50) {
            Fail("local header of \"" + entry.Name + "\" has no signature");
        }
        if (LeU16(file, local + 6) != entry.Flags || LeU16(file, local + 8) != entry.Method ||
            LeU32(file, local + 14) != entry.Crc) {
            Fail("local and central header of \"" + entry.Name + "\" differ");
        }
        if (entry.Flags & 0x0008) {
            Fail("entry \"" + entry.Name + "\" uses a data descriptor");   // this writer never does
        }
        const std::uint16_t localName = LeU16(file, local + 26);
        const std::uint16_t localExtra = LeU16(file, local + 28);
        Need(file, local + 30, std::uint64_t{localName} + localExtra, "local header names");
        if (file.compare(local + 30, localName, entry.Name) != 0) {
            Fail("local name of \"" + entry.Name + "\" differs");
        }
        TZipTestEntry localSizes;
        localSizes.Name = entry.Name;
        localSizes.CompressedSize = LeU32(file, local + 18);
        localSizes.Size = LeU32(file, local + 22);
        ReadZip64Extra(file.substr(local + 30 + localName, localExtra), localSizes.Size == kMax32,
                       localSizes.CompressedSize == kMax32, false, localSizes);
        if (localSizes.Size != entry.Size || localSizes.CompressedSize != entry.CompressedSize) {
            Fail("local and central sizes of \"" + entry.Name + "\" differ");
        }
        const std::uint64_t data = local + 30 + localName + localExtra;
        Need(file, data, entry.CompressedSize, "entry data");
        const std::string compressed = file.substr(data, entry.CompressedSize);
        if (entry.Method == 8) {
            entry.Data = Inflate(compressed, entry.Size, entry.Name);
        } else if (entry.Method == 0 && entry.Size == entry.CompressedSize) {
            entry.Data = compressed;
        } else {
            Fail("entry \"" + entry.Name + "\" has method " + std::to_string(entry.Method));
        }
        if (StandardCrc32(entry.Data) != entry.Crc) {
            Fail("CRC of \"" + entry.Name + "\" does not match its content");
        }
        expectedLocal = data + entry.CompressedSize;
        FEntries.push_back(std::move(entry));
    }
    if (at != directoryOffset + directorySize) {
        Fail("central directory size disagrees with its entries");
    }
    if (expectedLocal != directoryOffset) {
        Fail("bytes between the last entry and the central directory");
    }
}

std::vector<std::string> TZipTestReader::Names() const
{
    std::vector<std::string> names;
    for (const TZipTestEntry& entry : FEntries) {
        names.push_back(entry.Name);
    }
    return names;
}

bool TZipTestReader::Has(const std::string& name) const
{
    for (const TZipTestEntry& entry : FEntries) {
        if (entry.Name == name) {
            return true;
        }
    }
    return false;
}

const std::string& TZipTestReader::Read(const std::string& name) const
{
    for (const TZipTestEntry& entry : FEntries) {
        if (entry.Name == name) {
            return entry.Data;
        }
    }
    Fail("no entry \"" + name + "\"");
}

TToolResult RunUnzipTest(const std::string& path)
{
    // A UTF-8 locale: in others unzip 6.0 misreports UTF-8 names beside Zip64 fields.
    return RunShell("LC_ALL=C.UTF-8 unzip -t -q " + Quoted(path));
}

TToolResult RunPythonZipCheck(const std::string& path)
{
    static const char* const script =
        "import sys, zipfile\n"
        "with zipfile.ZipFile(sys.argv[1]) as z:\n"
        "    bad = z.testzip()\n"
        "    if bad is not None:\n"
        "        sys.exit('bad entry: ' + bad)\n"
        "    for info in z.infolist():\n"
        "        if len(z.read(info)) != info.file_size:\n"
        "            sys.exit('short entry: ' + info.filename)\n"
        "        sys.stdout.buffer.write(info.filename.encode('utf-8') + b'\\n')\n"
        "sys.stdout.buffer.write(b'OK\\n')\n";
    return RunShell("python3 -c " + Quoted(script) + " " + Quoted(path));
}

} // namespace qeltest
