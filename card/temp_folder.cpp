// The buffer folder and the names of the spill files in it.
#include "card/temp_folder.h"

#include "card/spill_file_reaper.h"

#include "foundations/file_names.h"
#include "platform/known_folders.h"
#include "platform/streams.h"

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

} // namespace qel
