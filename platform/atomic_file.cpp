// Temporary-file-and-rename saving: creation of the temporary file beside the
// target, the commit sequence, and the clean-up of an abandoned save.
#include "platform/atomic_file.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
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

} // namespace

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
        std::string hidden = ".";
        hidden += target.filename().string();
        hidden += '.';
        hidden += UniqueSuffix();
        hidden += ".tmp";
        const std::string name = (target.parent_path() / hidden).string();
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
    FlushToDisk();
    CloseHandle();
    if (rename(FTempName.c_str(), FileName().c_str()) != 0) {
        throw EWriteError("Cannot replace file \"" + FileName() + "\": " + Reason(errno));
    }
    FCommitted = true;
    SyncFolder(std::filesystem::path(FileName()).parent_path());
}

} // namespace plat
