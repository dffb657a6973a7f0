// Full disks for tests: fork, private namespaces and tmpfs or a file-size
// limit, and the body's text through a pipe.
#include "tests/support/small_file_system.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <csignal>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qeltest {

namespace {

constexpr int kUnavailable = 77;   // exit status of a child that could not mount

bool WriteTextFile(const char* path, const std::string& text)
{
    const int handle = open(path, O_WRONLY | O_CLOEXEC);
    if (handle < 0) {
        return false;
    }
    const bool written = write(handle, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    close(handle);
    return written;
}

void WriteAll(int handle, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(handle, text.data() + done, text.size() - done);
        if (n <= 0 && errno != EINTR) {
            return;
        }
        done += n > 0 ? static_cast<std::size_t>(n) : 0;
    }
}

std::string ReadAll(int handle)
{
    std::string text;
    char chunk[4096];
    for (;;) {
        const ssize_t n = read(handle, chunk, sizeof chunk);
        if (n > 0) {
            text.append(chunk, static_cast<std::size_t>(n));
        } else if (n == 0 || errno != EINTR) {
            return text;
        }
    }
}

// In the child: a user namespace in which we are root (so that a process
// without privileges may mount), or none where the system allows no user
// namespaces, a mount namespace of its own, the tmpfs.
// The empty text on success, else what failed.
std::string MountSmallFileSystem(const std::filesystem::path& folder, std::uint64_t bytes)
{
    const uid_t uid = geteuid();
    const gid_t gid = getegid();
    if (unshare(CLONE_NEWUSER | CLONE_NEWNS) == 0) {
        if (!WriteTextFile("/proc/self/setgroups", "deny") ||
            !WriteTextFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") ||
            !WriteTextFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1")) {
            return std::string("id maps: ") + std::strerror(errno);
        }
    } else if (unshare(CLONE_NEWNS) != 0) {
        // Without user namespaces only a process that may mount gets a mount namespace.
        return std::string("unshare: ") + std::strerror(errno);
    }
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        return std::string("private mounts: ") + std::strerror(errno);
    }
    const std::string options = "size=" + std::to_string(bytes) + ",mode=0777";
    if (mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) != 0) {
        return std::string("tmpfs: ") + std::strerror(errno);
    }
    return {};
}

// In the child: every file written stops growing at bytes. The empty text
// on success, else what failed.
std::string LimitFileSize(std::uint64_t bytes)
{
    if (std::signal(SIGXFSZ, SIG_IGN) == SIG_ERR) {
        return std::string("SIGXFSZ: ") + std::strerror(errno);
    }
    const rlimit limit{static_cast<rlim_t>(bytes), static_cast<rlim_t>(bytes)};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) {
        return std::string("RLIMIT_FSIZE: ") + std::strerror(errno);
    }
    return {};
}

// Forks; the child runs prepare (its text, when not empty, says why the run
// is not available), then body, and hands back the text.
SmallFileSystemRun RunInChild(const std::function<std::string()>& prepare, const std::function<std::string()>& body)
{
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
        return {false, std::string("pipe: ") + std::strerror(errno), {}};
    }
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        const std::string failure = prepare();
        if (!failure.empty()) {
            WriteAll(pipeEnds[1], failure);
            _exit(kUnavailable);
        }
        WriteAll(pipeEnds[1], body());
        _exit(0);
    }
    close(pipeEnds[1]);
    if (child < 0) {
        close(pipeEnds[0]);
        return {false, std::string("fork: ") + std::strerror(errno), {}};
    }
    const std::string text = ReadAll(pipeEnds[0]);
    close(pipeEnds[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == kUnavailable) {
        return {false, text, {}};
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        const std::string how = WIFSIGNALED(status) ? "signal " + std::to_string(WTERMSIG(status))
                                                    : "status " + std::to_string(WEXITSTATUS(status));
        return {true, {}, "the child ended with " + how + " after: " + text};
    }
    return {true, {}, text};
}

} // namespace

SmallFileSystemRun RunOnSmallFileSystem(const std::filesystem::path& folder, std::uint64_t bytes,
                                        const std::function<std::string()>& body)
{
    return RunInChild([&] { return MountSmallFileSystem(folder, bytes); }, body);
}

SmallFileSystemRun RunWithFileSizeLimit(std::uint64_t bytes, const std::function<std::string()>& body)
{
    return RunInChild([bytes] { return LimitFileSize(bytes); }, body);
}

} // namespace qeltest
