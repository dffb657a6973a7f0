// Fuzz target for the container reader: a valid container (two channels, one
// of two data blocks) with the input written over it, either over the
// archive's bytes or over one entry's content before the archive is built
// again, stored (then with its trailer made to verify or not, or the entry
// left out).
// The reader must open, describe and read out every channel, or stop with a
// stream error; nothing else may leave it.
#include "export/qel_zip_file.h"
#include "platform/streams.h"
#include "platform/zip_writer.h"
#include "tests/fuzz/input_bytes.h"

#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

// A scratch folder for the containers, removed at exit.
struct TScratchFolder {
    TScratchFolder()
        : Path((std::filesystem::temp_directory_path() / ("fuzz_qrec_reader-" + std::to_string(getpid()))).string())
    {
        std::filesystem::create_directories(Path);
    }
    ~TScratchFolder() { std::filesystem::remove_all(Path); }
    std::string File(const std::string& name) const { return Path + "/" + name; }
    std::string Path;
};

const TScratchFolder& Folder()
{
    static const TScratchFolder folder;
    return folder;
}

using TEntries = std::vector<std::pair<std::string, std::string>>;

struct TValid {
    std::string Archive;   // the container's bytes
    TEntries Entries;      // its entries, in order
};

const TValid& Valid()
{
    static const TValid valid = [] {
        const std::string path = Folder().File("valid.qrec");
        qel::TQelZipWriteFile writer;
        writer.OpenFile(path);
        writer.AddChannel(0)->SetName("p");
        writer.AddChannel(1)->SetUnit("mbar");
        for (int i = 0; i < 10003; ++i) {
            writer.AddChannelValue(0, 1000LL * i, static_cast<float>(i % 50));
        }
        for (int i = 0; i < 5; ++i) {
            writer.AddChannelValue(1, -i, 0.5f * static_cast<float>(i));
        }
        writer.CloseFile();
        TValid made;
        plat::TMemoryStream bytes;
        bytes.LoadFromFile(path);
        made.Archive.assign(reinterpret_cast<const char*>(bytes.Memory()), static_cast<std::size_t>(bytes.Size()));
        plat::TZipFile zip;
        zip.Open(path, plat::zmRead);
        for (int i = 0; i < zip.EntryCount(); ++i) {
            plat::TMemoryStream entry;
            zip.Read(i, entry);
            made.Entries.emplace_back(zip.EntryName(i), std::string(reinterpret_cast<const char*>(entry.Memory()),
                                                                    static_cast<std::size_t>(entry.Size())));
        }
        return made;
    }();
    return valid;
}

// The type byte whose trailer an entry carries; 0 for data blocks.
std::uint8_t TrailerType(const std::string& name)
{
    if (name == "File") {
        return qel::CRC_TYPE_FILE_INFO;
    }
    if (name.ends_with("ChDesc_0")) {
        return qel::CRC_TYPE_CHANNEL_DESCRIPTION;
    }
    return name.ends_with("ChInfo_0") ? qel::CRC_TYPE_CHANNEL_DATA_INFO : 0;
}

std::string WithTrailer(const std::string& content, std::uint8_t type)
{
    std::uint8_t trailer[qel::QEL_ZIP_TRAILER_SIZE] = {};
    qel::PutLE32(trailer, qel::QelZipCheckValue(content.data(), content.size(), type));
    return content + std::string(reinterpret_cast<const char*>(trailer), sizeof trailer);
}

void PutLE(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>(value >> (8 * i));
    }
}

// The entries as a zip archive of stored (uncompressed) entries.
std::string StoredArchive(const TEntries& entries)
{
    std::string body;
    std::string directory;
    for (const auto& [name, bytes] : entries) {
        const auto crc = static_cast<std::uint32_t>(
            crc32_z(0, reinterpret_cast<const Bytef*>(bytes.data()), bytes.size()));
        std::string fields;   // version, flags, method, time, date, CRC, sizes, name length, extra length
        PutLE(fields, 20, 2);
        PutLE(fields, 0, 2);
        PutLE(fields, 0, 2);
        PutLE(fields, 0, 4);
        PutLE(fields, crc, 4);
        PutLE(fields, static_cast<std::uint32_t>(bytes.size()), 4);
        PutLE(fields, static_cast<std::uint32_t>(bytes.size()), 4);
        PutLE(fields, static_cast<std::uint32_t>(name.size()), 2);
        PutLE(fields, 0, 2);
        PutLE(directory, 0x02014B50, 4);
        PutLE(directory, 20, 2);
        directory += fields;
        directory.append(2 + 2 + 2 + 4, '\0');   // comment length, disk, internal and external attributes
        PutLE(directory, static_cast<std::uint32_t>(body.size()), 4);
        directory += name;
        PutLE(body, 0x04034B50, 4);
        body += fields + name + bytes;
    }
    std::string archive = body + directory;
    PutLE(archive, 0x06054B50, 4);
    PutLE(archive, 0, 4);
    PutLE(archive, static_cast<std::uint32_t>(entries.size()), 2);
    PutLE(archive, static_cast<std::uint32_t>(entries.size()), 2);
    PutLE(archive, static_cast<std::uint32_t>(directory.size()), 4);
    PutLE(archive, static_cast<std::uint32_t>(body.size()), 4);
    PutLE(archive, 0, 2);
    return archive;
}

// The valid entries with one of them edited by the input.
TEntries EditedEntries(const std::uint8_t* data, std::size_t size)
{
    const TEntries& valid = Valid().Entries;
    const std::uint8_t control = size > 1 ? data[1] : 0;
    const std::size_t edited = (size > 2 ? data[2] : 0) % valid.size();
    TEntries entries;
    for (std::size_t i = 0; i < valid.size(); ++i) {
        const auto& [name, bytes] = valid[i];
        if (i != edited) {
            entries.push_back(valid[i]);
            continue;
        }
        if ((control & 3) == 0) {
            continue;   // the entry is left out
        }
        const std::uint8_t type = TrailerType(name);
        std::string content = type != 0 && bytes.size() >= 8 ? bytes.substr(0, bytes.size() - 8) : bytes;
        content = qel::fuzz::Mutated(content, data, size, 3);
        entries.emplace_back(name, type != 0 && (control & 3) == 1 ? WithTrailer(content, type) : content);
    }
    return entries;
}

void ReadEverything(const std::string& path, std::int64_t seekTime)
{
    qel::TQelZipReadFile file;
    file.OpenFile(path);
    for (int i = 0; i < file.ChannelCount(); ++i) {
        qel::TQelZipChannel& channel = *file.Channel(i);
        std::int64_t amount = 0, tmin = 0, tmax = 0;
        channel.GetRangeInfo(amount, tmin, tmax);
        channel.GetBlockCount();
        (void)(channel.GetName() + channel.GetUnit() + channel.GetQelName() + channel.GetQelModel() +
               channel.GetQelSN());
        qel::TQelZipChannelDataInfo info;
        if (channel.BeginReadoutDataInfo()) {
            while (channel.GetNextDataInfo(info)) {
            }
        }
        channel.BeginReadout();
        std::int64_t time = 0;
        float value = 0;
        bool newblock = false;
        for (int n = 0; n < 100000 && channel.GetNextValue(time, value, newblock); ++n) {
        }
        channel.BeginReadout();
        channel.SetReadoutTime(seekTime);
        channel.GetNextValue(time, value, newblock);
    }
    file.CloseFile();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = Folder().File("input.qrec");
    const std::uint8_t mode = size > 0 ? data[0] : 0;
    const std::string bytes = mode % 2 == 0 ? qel::fuzz::Mutated(Valid().Archive, data, size, 1)
                                            : StoredArchive(EditedEntries(data, size));
    // A new file each time: rewriting a truncated one makes the file system
    // flush it at every close.
    std::filesystem::remove(path);
    try {
        plat::TFileStream out(path, plat::fmCreate);
        out.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    } catch (const plat::EStreamError&) {
        std::abort();   // the scratch file must be writable
    }
    const std::int64_t seekTime = 1000LL * (mode >> 1) * 97;
    try {
        ReadEverything(path, seekTime);
    } catch (const plat::EStreamError&) {
        // a container that is not sound: refused with its error
    }
    return 0;
}
