// Version constants of the build and the lookup of a file's version.
#include "platform/version.h"

#include "platform/known_folders.h"
#include "platform/version_config.h"

#include <filesystem>
#include <system_error>

namespace plat {

namespace {

bool IsSameFile(const std::string& a, const std::string& b)
{
    namespace fs = std::filesystem;
    if (fs::path(a).lexically_normal() == fs::path(b).lexically_normal()) {
        return true;
    }
    std::error_code error;
    return fs::equivalent(a, b, error);
}

} // namespace

TFileVersion GetProgramFileVersion()
{
    return {QEL_VERSION_MAJOR, QEL_VERSION_MINOR, QEL_VERSION_RELEASE, QEL_VERSION_BUILD, true};
}

TFileVersion GetFileVersion(const std::string& fileName)
{
    if (!fileName.empty() && IsSameFile(fileName, ProgramPath())) {
        return GetProgramFileVersion();
    }
    return {};
}

} // namespace plat
