// The dump file of the debug modes and the card-directory trace.
// Lines are 8-bit text ended by CR LF.
#include "foundations/debug_modes.h"

#include "foundations/file_names.h"
#include "foundations/settings.h"
#include "platform/date_time.h"
#include "platform/date_time_format.h"
#include "platform/known_folders.h"
#include "platform/streams.h"
#include "platform/text_encoding.h"

#include <atomic>
#include <memory>
#include <mutex>

namespace qel {
namespace {

// The dump file's number; it never changes, so every file ends in "_0".
constexpr int DEBUG_FILE_NUMBER = 0;

// Kind of the last traced cluster when the trace starts: none of the three.
constexpr std::uint8_t TRACE_START_KIND = 3;

struct TDebugFile {
    std::mutex Lock;
    std::unique_ptr<plat::TFileStream> File;
    std::atomic<std::int32_t> Mode{DEBUG_MODE_OFF};
    std::uint8_t LastKind = TRACE_START_KIND; // kind of the last traced cluster
    std::uint16_t LastPage = 0;               // page of the last cluster that began or continued a record
};

TDebugFile& Debug()
{
    static TDebugFile debug;
    return debug;
}

void WriteLine(plat::TStream& File, const std::string& Line)
{
    const std::string bytes = plat::Utf8ToAnsi(Line) + "\r\n";
    File.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

// The dump file with its header line in Folder; null when it cannot be
// created or written there.
std::unique_ptr<plat::TFileStream> CreateIn(const std::string& Folder, const std::string& FileName,
                                            const std::string& Header)
{
    if (Folder.empty()) {
        return nullptr;
    }
    try {
        auto file = std::make_unique<plat::TFileStream>(AddBackslash(Folder) + FileName, plat::fmCreate);
        WriteLine(*file, Header);
        return file;
    } catch (const plat::EStreamError&) {
        return nullptr;
    }
}

// The word at byte Offset, low byte first.
unsigned WordAt(std::span<const std::uint8_t, DEBUG_CLUSTER_SIZE> Cluster, std::size_t Offset)
{
    return static_cast<unsigned>(Cluster[Offset]) | static_cast<unsigned>(Cluster[Offset + 1]) << 8;
}

} // namespace

std::string GetDebugModeName(std::int32_t Mode)
{
    switch (Mode) {
    case 1:
        return "dbm_dir";
    case 2:
        return "dbm_page";
    case 3:
        return "dbm_fastdata";
    case 4:
        return "dbm_time";
    case 5:
        return "dbm_dt";
    default:
        return std::string();
    }
}

bool DebugFileOpen(std::int32_t Mode, const std::string& Name)
{
    if (Mode == DEBUG_MODE_OFF) {
        return true;
    }
    DebugFileClose();
    const std::string fileName = Name + "_" + std::to_string(DEBUG_FILE_NUMBER) + ".csv";
    const std::string header = std::to_string(Mode) + ";" + plat::DateTimeToStr(plat::Now());
    std::unique_ptr<plat::TFileStream> file = CreateIn(plat::ProgramFolder(), fileName, header);
    if (!file) {
        file = CreateIn(RegSettings.sRegFileDir, fileName, header);
    }
    if (!file) {
        return false;
    }
    TDebugFile& debug = Debug();
    std::lock_guard lock(debug.Lock);
    debug.File = std::move(file);
    debug.Mode = Mode;
    return true;
}

std::int32_t DebugFileMode()
{
    return Debug().Mode;
}

std::string DebugFileName()
{
    TDebugFile& debug = Debug();
    std::lock_guard lock(debug.Lock);
    return debug.File ? debug.File->FileName() : std::string();
}

void DebugFileClose()
{
    TDebugFile& debug = Debug();
    std::lock_guard lock(debug.Lock);
    debug.Mode = DEBUG_MODE_OFF;
    debug.File.reset();
}

bool SetDebugMode(std::int32_t Mode)
{
    const bool opened = DebugFileOpen(Mode, GetDebugModeName(Mode));
    if (Mode == DEBUG_MODE_DIR) {
        TDebugFile& debug = Debug();
        std::lock_guard lock(debug.Lock);
        debug.LastKind = TRACE_START_KIND;
        debug.LastPage = 0;
    }
    return opened;
}

std::int32_t GetDebugMode()
{
    return DebugFileMode();
}

void DebugDirCluster(std::int32_t Count, std::uint8_t Kind, std::uint16_t Page, std::int32_t Code,
                     std::span<const std::uint8_t, DEBUG_CLUSTER_SIZE> Cluster)
{
    TDebugFile& debug = Debug();
    if (debug.Mode != DEBUG_MODE_DIR) {
        return;
    }
    std::lock_guard lock(debug.Lock);
    if (!debug.File) {
        return;
    }
    const std::string count = std::to_string(Count);
    if (Kind == DEBUG_CLUSTER_NEW) {
        WriteLine(*debug.File, count + ";new;" + std::to_string(Page) + ";" + std::to_string(Code) + ";" +
                  std::to_string(WordAt(Cluster, 6)) + ";" + std::to_string(WordAt(Cluster, 8)) + ";" +
                  std::to_string(WordAt(Cluster, 10)) + ";" + std::to_string(WordAt(Cluster, 12)));
        debug.LastPage = Page;
    } else if (Kind == DEBUG_CLUSTER_CONTINUE) {
        debug.LastPage = Page;
    } else if (Kind == DEBUG_CLUSTER_UNUSABLE && debug.LastKind != DEBUG_CLUSTER_UNUSABLE) {
        WriteLine(*debug.File, count + ";error;" + std::to_string(debug.LastPage) + ";" + std::to_string(Code));
    }
    debug.LastKind = Kind;
}

} // namespace qel
