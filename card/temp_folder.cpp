// The buffer folder and the names of the spill files in it.
#include "card/temp_folder.h"

#include "card/spill_file_reaper.h"

#include "foundations/file_names.h"
#include "platform/folder_sweep.h"
#include "platform/known_folders.h"
#include "platform/streams.h"

#include <string_view>

namespace qel {

namespace {

// Set on the user-interface thread at start-up, before any reader runs.
std::string gBufferFolder;

} // namespace

std::string GetTempFolder()
{
    try {
        const std::string documents = plat::DocumentsFolder();
        if (documents.empty()) {
            return {};
        }
        const std::string folder = AddBackslash(documents) + "QEL" + PathDelim + "temp" + PathDelim +
                                   GetFileName(plat::ProgramPath());
        return ForceDir(folder) ? AddBackslash(folder) : std::string();
    } catch (...) {
        return {};
    }
}

bool InitTempFolder()
{
    try {
        gBufferFolder = GetTempFolder();
        plat::TFileStream probe(SpillFileName(0), plat::fmCreate);
        return true;
    } catch (...) {
        return false;
    }
}

std::string BufferFolder()
{
    return gBufferFolder;
}

void ClearTempFolder()
{
    FlushSpillFileDisposal();
    gBufferFolder.clear();
}

std::string SpillFileName(std::uint32_t number)
{
    return gBufferFolder + "F" + std::to_string(number) + ".mst";
}

namespace {

// "F<number>.mst", or "F<number>.mst.<number>.gone" while it is being removed.
bool IsSpillFileName(std::string_view name)
{
    const std::size_t mst = name.find(".mst");
    if (!name.starts_with('F') || mst == std::string_view::npos || !plat::AllDigits(name.substr(1, mst - 1))) {
        return false;
    }
    const std::string_view rest = name.substr(mst + 4);
    constexpr std::string_view gone = ".gone";
    return rest.empty() || (rest.size() > gone.size() + 1 && rest.starts_with('.') && rest.ends_with(gone) &&
                            plat::AllDigits(rest.substr(1, rest.size() - gone.size() - 1)));
}

} // namespace

int RemoveLeftSpillFiles(const std::string& Folder)
{
    return plat::RemoveFilesWhere(Folder, [](const std::string& name) { return IsSpillFileName(name); });
}

} // namespace qel
