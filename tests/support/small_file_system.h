// Full disks for tests, each in a child process: a size-limited tmpfs mounted
// over a test folder in private user and mount namespaces, or (where no
// private mount is allowed) a limit on the size of every file written.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace qeltest {

// What a run on the small file system gave.
struct SmallFileSystemRun {
    bool available = false;   // False when this machine allows no private mount (or no fork)
    std::string why;          // the reason when not available
    std::string result;       // the text the body returned in the child
};

// Forks; the child mounts an empty tmpfs of `bytes` bytes over `folder`
// (only the child sees it), runs body and hands back its text. The body
// runs in the child: it must not use test assertions, it reports through
// its text instead. A child that dies gives a result naming the signal or
// exit status.
SmallFileSystemRun RunOnSmallFileSystem(const std::filesystem::path& folder, std::uint64_t bytes,
                                        const std::function<std::string()>& body);

// Forks; in the child no file can grow beyond `bytes` bytes (RLIMIT_FSIZE,
// with SIGXFSZ ignored, so that a write past it fails with EFBIG as a full
// disk's fails with ENOSPC), then body runs as above. Needs no privileges
// and no mount, so it runs wherever the tests run.
SmallFileSystemRun RunWithFileSizeLimit(std::uint64_t bytes, const std::function<std::string()>& body);

} // namespace qeltest
