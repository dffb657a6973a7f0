// Removing what an earlier, killed run of the program left behind.
#include "app/earlier_run_files.h"

#include "card/temp_folder.h"
#include "foundations/settings.h"
#include "platform/atomic_file.h"

namespace qel {

void RemoveFilesOfEarlierRuns()
{
    const std::string bufferFolder = GetTempFolder();
    if (!bufferFolder.empty()) {
        RemoveLeftSpillFiles(bufferFolder);
    }
    if (!RegSettings.sRegFileDir.empty()) {
        plat::RemoveAbandonedTempFiles(RegSettings.sRegFileDir);
    }
}

} // namespace qel
