// Temporary-file-and-rename saving: creation of the temporary file beside the
// target, the commit sequence, the clean-up of an abandoned save, and the
// all-or-nothing commit of a set of files.
#include "platform/atomic_file.h"

#include "platform/folder_sweep.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <set>
#include <string_view>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace plat {

namespace {

std::atomic<std::uint64_t> TempCounter{0};

std::string Reason(int error)
{
    return std::generic_category().message(error);
}

std::string UniqueSuffix()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    return std::to_string(getpid()) + "-" + std::to_string(TempCounter.fetch_add(1)) + "-" +
           std::to_string(static_cast<std::uint64_t>(now) % 1000000007u);
}

// A hidden name beside the target: ".<name>.<unique><ext>" in its folder;
// the unique part starts with the process id (RemoveAbandonedTempFiles).
std::string HiddenNameBeside(const std::filesystem::path& target, const char* ext)
{
    std::string hidden = ".";
    hidden += target.filename().string();
    hidden += '.';
    hidden += UniqueSuffix();
    hidden += ext;
    return (target.parent_path() / hidden).string();
}

// Syncs the folder so that the rename itself survives a power failure; a
// folder that cannot be synced is no reason to fail a save that is complete.
void SyncFolder(const std::filesystem::path& folder)
{
    const int handle = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle >= 0) {
        fsync(handle);
        close(handle);
    }
}

// The process id in a temporary file's name ".<name>.<pid>-<n>-<n>.tmp";
// 0 for any other name.
pid_t TempFileProcess(std::string_view name)
{
    constexpr std::string_view ext = ".tmp";
    if (name.size() < 2 || name.front() != '.' || !name.ends_with(ext)) {
        return 0;
    }
    name.remove_suffix(ext.size());
    const std::size_t dot = name.rfind('.');
    if (dot == 0 || dot == std::string_view::npos) {
        return 0;
    }
    const std::string_view unique = name.substr(dot + 1);
    const std::size_t first = unique.find('-');
    const std::size_t second = unique.find('-', first + 1);
    if (second == std::string_view::npos || !AllDigits(unique.substr(0, first)) ||
        !AllDigits(unique.substr(first + 1, second - first - 1)) || !AllDigits(unique.substr(second + 1)) ||
        first > 9) {
        return 0;
    }
    return static_cast<pid_t>(std::stol(std::string(unique.substr(0, first))));
}

bool ProcessRuns(pid_t process)
{
    return kill(process, 0) == 0 || errno == EPERM;
}

} // namespace

int RemoveAbandonedTempFiles(const std::string& Folder)
{
    return RemoveFilesWhere(Folder, [](const std::string& name) {
        const pid_t process = TempFileProcess(name);
        return process > 0 && !ProcessRuns(process);
    });
}

TAtomicFileStream::TTempFile TAtomicFileStream::CreateTempBeside(const std::string& targetName)
{
    const auto fail = [&](int error) -> TTempFile {
        throw EFCreateError("Cannot create file \"" + targetName + "\": " + Reason(error));
    };
    const std::filesystem::path target(targetName);
    if (target.filename().empty()) {
        return fail(EISDIR);
    }
    struct stat existing {};
    const bool targetExists = stat(targetName.c_str(), &existing) == 0;
    if (targetExists && S_ISDIR(existing.st_mode)) {
        return fail(EISDIR);
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = HiddenNameBeside(target, ".tmp");
        const int handle = open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (handle >= 0) {
            if (targetExists) {
                fchmod(handle, existing.st_mode & 07777);   // a replaced file keeps its permissions
            }
            return {handle, name};
        }
        if (errno != EEXIST && errno != EINTR) {
            return fail(errno);
        }
    }
    return fail(EEXIST);
}

TAtomicFileStream::TAtomicFileStream(const std::string& targetName, std::int64_t bufferSize)
    : TAtomicFileStream(CreateTempBeside(targetName), targetName, bufferSize)
{
}

TAtomicFileStream::TAtomicFileStream(TTempFile temp, const std::string& targetName, std::int64_t bufferSize) try
    : TBufferedFileStream(temp.Handle, targetName, bufferSize), FTempName(temp.Name)
{
} catch (...) {
    unlink(temp.Name.c_str());   // the base has closed the handle already
}

TAtomicFileStream::~TAtomicFileStream()
{
    if (!FCommitted) {
        DiscardBuffer();
        unlink(FTempName.c_str());
    }
}

void TAtomicFileStream::Commit()
{
    if (FCommitted) {
        return;
    }
    Complete();
    ReplaceTarget();
    SyncFolder(std::filesystem::path(FileName()).parent_path());
}

void TAtomicFileStream::Complete()
{
    if (FCompleted) {
        return;
    }
    FlushToDisk();
    CloseHandle();
    FCompleted = true;
}

void TAtomicFileStream::ReplaceTarget()
{
    if (rename(FTempName.c_str(), FileName().c_str()) != 0) {
        throw EWriteError("Cannot replace file \"" + FileName() + "\": " + Reason(errno));
    }
    FCommitted = true;
}

// ---- TAtomicFileSet

// An old target kept under a second name while the set is put in place.
struct TAtomicFileSet::TBackup {
    std::string Target;
    std::string Name;   // the old file's second name; empty when the target did not exist
};

namespace {

// link() is refused by file systems without hard links (FAT on a USB stick).
bool NoHardLinks(int error)
{
    return error == EPERM || error == ENOTSUP || error == EOPNOTSUPP || error == EMLINK || error == ENOSYS;
}

// Gives the target a second name beside it; the target stays where it is
// unless the file system has no hard links, when it is renamed aside.
std::string KeepOldTarget(const std::string& target)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = HiddenNameBeside(target, ".old");
        if (link(target.c_str(), name.c_str()) == 0) {
            return name;
        }
        const int error = errno;
        if (NoHardLinks(error) && rename(target.c_str(), name.c_str()) == 0) {
            return name;
        }
        if (error != EEXIST) {
            throw EWriteError("Cannot keep the former file \"" + target + "\" while saving: " + Reason(error));
        }
    }
    throw EWriteError("Cannot keep the former file \"" + target + "\" while saving: " + Reason(EEXIST));
}

} // namespace

TAtomicFileSet::TAtomicFileSet() = default;

TAtomicFileSet::~TAtomicFileSet() = default;

void TAtomicFileSet::Add(std::unique_ptr<TAtomicFileStream> file)
{
    file->Complete();
    FFiles.push_back(std::move(file));
}

void TAtomicFileSet::Clear()
{
    FFiles.clear();
}

void TAtomicFileSet::MakeBackups(std::vector<TBackup>& backups) const
{
    for (const auto& file : FFiles) {
        const std::string& target = file->FileName();
        struct stat existing {};
        if (lstat(target.c_str(), &existing) != 0) {
            if (errno != ENOENT) {
                throw EWriteError("Cannot replace file \"" + target + "\": " + Reason(errno));
            }
            backups.push_back(TBackup{target, {}});
            continue;
        }
        if (S_ISDIR(existing.st_mode)) {
            throw EWriteError("Cannot replace file \"" + target + "\": " + Reason(EISDIR));
        }
        backups.push_back(TBackup{target, KeepOldTarget(target)});
    }
}

// Puts every kept old file back, and removes the new targets that had none
// (the first `replaced` files are in place). An old file that cannot be put
// back keeps its second name rather than being lost.
std::string TAtomicFileSet::Restore(const std::vector<TBackup>& backups, std::size_t replaced)
{
    std::string lost;
    for (std::size_t i = 0; i < backups.size(); ++i) {
        const TBackup& backup = backups[i];
        if (backup.Name.empty()) {
            if (i < replaced) {
                unlink(backup.Target.c_str());
            }
        } else if (rename(backup.Name.c_str(), backup.Target.c_str()) == 0) {
            unlink(backup.Name.c_str());   // still there when both names were one file
        } else {
            lost += "; the former \"" + backup.Target + "\" is kept as \"" + backup.Name + "\"";
        }
    }
    return lost;
}

void TAtomicFileSet::Commit()
{
    std::vector<TBackup> backups;
    backups.reserve(FFiles.size());
    std::size_t replaced = 0;
    try {
        MakeBackups(backups);
        for (; replaced < FFiles.size(); ++replaced) {
            FFiles[replaced]->ReplaceTarget();
        }
    } catch (...) {
        const std::string lost = Restore(backups, replaced);
        Clear();
        if (lost.empty()) {
            throw;
        }
        try {
            throw;
        } catch (const std::exception& error) {
            throw EWriteError(error.what() + lost);
        }
    }
    std::set<std::filesystem::path> folders;
    for (const TBackup& backup : backups) {
        if (!backup.Name.empty()) {
            unlink(backup.Name.c_str());
        }
        folders.insert(std::filesystem::path(backup.Target).parent_path());
    }
    for (const auto& folder : folders) {
        SyncFolder(folder);
    }
    Clear();
}

} // namespace plat
