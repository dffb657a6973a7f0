// Removing the files of a folder that a rule picks.
#include "platform/folder_sweep.h"

#include <algorithm>
#include <filesystem>

namespace plat {

int RemoveFilesWhere(const std::string& Folder, const std::function<bool(const std::string& Name)>& Picks)
{
    namespace fs = std::filesystem;
    std::error_code error;
    fs::directory_iterator entries(Folder, error);
    if (error) {
        return 0;
    }
    int removed = 0;
    for (const fs::directory_entry& entry : entries) {
        if (!entry.is_regular_file(error) || entry.is_symlink(error) || !Picks(entry.path().filename().string())) {
            continue;
        }
        if (fs::remove(entry.path(), error)) {
            ++removed;
        }
    }
    return removed;
}

bool AllDigits(std::string_view Text)
{
    return !Text.empty() && std::all_of(Text.begin(), Text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace plat
