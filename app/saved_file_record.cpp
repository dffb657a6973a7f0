// The saved-file record of the switch "f:".
#include "app/saved_file_record.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qel {
namespace {

// A file marked read-only (no write permission for anyone) is refused even
// where the system would let the user write it.
bool MarkedReadOnly(const struct stat& Info)
{
    return (Info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

} // namespace

void TSavedFileRecord::Open(const std::string& FileName)
{
    Close();
    // Non-blocking, so that a pipe without reader fails instead of waiting.
    const int file = open(FileName.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0666);
    if (file < 0) {
        return;
    }
    struct stat info {};
    if (fstat(file, &info) != 0 || !S_ISREG(info.st_mode) || MarkedReadOnly(info) || ftruncate(file, 0) != 0 ||
        fcntl(file, F_SETFL, 0) != 0) {
        close(file);
        return;
    }
    FFile = file;
}

void TSavedFileRecord::WriteLine(const std::string& Text)
{
    if (!Active()) {
        return;
    }
    const std::string line = Text + "\r\n";
    std::size_t done = 0;
    while (done < line.size()) {
        const ssize_t written = write(FFile, line.data() + done, line.size() - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return;   // a full disk loses the line; the record stays open for the next
        }
        done += static_cast<std::size_t>(written);
    }
}

void TSavedFileRecord::Close()
{
    if (FFile >= 0) {
        close(FFile);
        FFile = -1;
    }
}

} // namespace qel
