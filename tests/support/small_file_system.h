// A small file system for disk-full tests: a size-limited tmpfs mounted over
// a test folder in a child process, in private user and mount namespaces.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace qeltest {

// What a run on the small file system gave.
struct SmallFileSystemRun {
    bool available = false;   // False when this machine allows no private mount
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

} // namespace qeltest
