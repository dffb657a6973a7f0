// The folder rules of the XDG base-directory and user-dirs conventions, the
// program path from /proc, and the test overrides of each.
#include "platform/known_folders.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <pwd.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace plat {

namespace fs = std::filesystem;

namespace {

struct TOverrides {
    std::string Documents;
    std::string Config;
    std::string Runtime;
    std::string Program;
    std::string Sysfs;
    std::string Devices;
};

std::mutex OverridesMutex;
TOverrides Overrides;   // empty member: the rule applies

std::string Overridden(std::string TOverrides::*member)
{
    const std::lock_guard lock(OverridesMutex);
    return Overrides.*member;
}

void SetOverride(std::string TOverrides::*member, const std::string& path)
{
    const std::lock_guard lock(OverridesMutex);
    Overrides.*member = path;
}

std::string Normalised(const fs::path& path)
{
    std::string text = path.lexically_normal().string();
    while (text.size() > 1 && text.back() == '/') {
        text.pop_back();
    }
    return text;
}

std::string AbsoluteEnv(const char* name)
{
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/') {
        return {};   // unset, empty or relative: ignored as the XDG rules say
    }
    return Normalised(value);
}

// A user-dirs value: "$HOME/..." or an absolute path; anything else is ignored.
std::string ExpandUserDir(const std::string& value)
{
    if (value.rfind("$HOME", 0) == 0 && (value.size() == 5 || value[5] == '/')) {
        const std::string home = HomeFolder();
        return home.empty() ? std::string() : Normalised(home + value.substr(5));
    }
    if (!value.empty() && value[0] == '/') {
        return Normalised(value);
    }
    return {};
}

// The XDG_DOCUMENTS_DIR line of user-dirs.dirs: XDG_DOCUMENTS_DIR="$HOME/Docs".
std::string DocumentsFromUserDirs()
{
    const std::string root = ConfigRoot();
    if (root.empty()) {
        return {};
    }
    std::ifstream in(root + "/user-dirs.dirs");
    const std::string key = "XDG_DOCUMENTS_DIR=\"";
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(key, 0) != 0) {
            continue;
        }
        std::string value;
        for (std::size_t i = key.size(); i < line.size() && line[i] != '"'; ++i) {
            if (line[i] == '\\' && i + 1 < line.size()) {
                ++i;   // shell escape: the next character stands for itself
            }
            value += line[i];
        }
        return ExpandUserDir(value);
    }
    return {};
}

std::string DocumentsRule()
{
    if (const char* value = std::getenv("XDG_DOCUMENTS_DIR")) {
        const std::string expanded = ExpandUserDir(value);
        if (!expanded.empty()) {
            return expanded;
        }
    }
    std::string fromFile = DocumentsFromUserDirs();
    if (!fromFile.empty()) {
        return fromFile;
    }
    const std::string home = HomeFolder();
    return home.empty() ? std::string() : home + "/Documents";
}

std::string ReadProgramPath()
{
    std::error_code error;
    const fs::path path = fs::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

// /tmp/<uid>-qel, made private to the user; refused when someone else owns it
// or it is not a plain folder (a planted link, for instance).
std::string FallbackRuntimeFolder()
{
    const std::string path = "/tmp/" + std::to_string(getuid()) + "-qel";
    mkdir(path.c_str(), 0700);
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != getuid()) {
        return {};
    }
    if ((info.st_mode & 077) != 0 && chmod(path.c_str(), 0700) != 0) {
        return {};
    }
    return path;
}

} // namespace

std::string HomeFolder()
{
    std::string home = AbsoluteEnv("HOME");
    if (!home.empty()) {
        return home;
    }
    std::vector<char> buffer(16384);
    struct passwd entry {};
    struct passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
        found->pw_dir != nullptr && found->pw_dir[0] == '/') {
        return Normalised(found->pw_dir);
    }
    return {};
}

std::string DocumentsFolder()
{
    std::string folder = Overridden(&TOverrides::Documents);
    if (folder.empty()) {
        folder = DocumentsRule();
    }
    if (folder.empty()) {
        return {};
    }
    std::error_code error;
    fs::create_directories(folder, error);
    return fs::is_directory(folder, error) ? Normalised(folder) : std::string();
}

std::string ConfigRoot()
{
    std::string root = Overridden(&TOverrides::Config);
    if (!root.empty()) {
        return Normalised(root);
    }
    root = AbsoluteEnv("XDG_CONFIG_HOME");
    if (!root.empty()) {
        return root;
    }
    const std::string home = HomeFolder();
    return home.empty() ? std::string() : home + "/.config";
}

std::string RuntimeFolder()
{
    std::string folder = Overridden(&TOverrides::Runtime);
    if (!folder.empty()) {
        return Normalised(folder);
    }
    folder = AbsoluteEnv("XDG_RUNTIME_DIR");
    return folder.empty() ? FallbackRuntimeFolder() : folder;
}

std::string ProgramPath()
{
    const std::string overridden = Overridden(&TOverrides::Program);
    if (!overridden.empty()) {
        return overridden;
    }
    static const std::string path = ReadProgramPath();
    return path;
}

std::string ProgramFolder()
{
    const std::string path = ProgramPath();
    return path.empty() ? std::string() : Normalised(fs::path(path).parent_path());
}

std::string SysfsRoot()
{
    const std::string root = Overridden(&TOverrides::Sysfs);
    return root.empty() ? std::string("/sys") : Normalised(root);
}

std::string DeviceFolder()
{
    const std::string folder = Overridden(&TOverrides::Devices);
    return folder.empty() ? std::string("/dev") : Normalised(folder);
}

void SetDocumentsFolder(const std::string& path) { SetOverride(&TOverrides::Documents, path); }
void SetConfigRoot(const std::string& path) { SetOverride(&TOverrides::Config, path); }
void SetRuntimeFolder(const std::string& path) { SetOverride(&TOverrides::Runtime, path); }
void SetProgramPath(const std::string& path) { SetOverride(&TOverrides::Program, path); }
void SetSysfsRoot(const std::string& path) { SetOverride(&TOverrides::Sysfs, path); }
void SetDeviceFolder(const std::string& path) { SetOverride(&TOverrides::Devices, path); }

} // namespace plat
