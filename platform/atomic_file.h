// TAtomicFileStream: a save that replaces its target only when it has fully
// succeeded; a failed or cancelled save leaves the old file and no litter.
#pragma once

#include "platform/streams.h"

#include <string>

namespace plat {

// Writes a hidden temporary file beside the target (".<name>.<unique>.tmp"
// in the target's folder, so the final rename stays on one file system).
// Commit() writes everything out, syncs it to the disk and renames it over
// the target; destroying the stream without Commit() removes the temporary
// file and leaves the target as it was. Errors name the target file.
class TAtomicFileStream : public TBufferedFileStream {
public:
    // Raises EFCreateError when the temporary file cannot be created (a
    // missing or read-only folder, for instance) or the target is a folder.
    explicit TAtomicFileStream(const std::string& targetName, std::int64_t bufferSize = kDefaultBufferSize);
    ~TAtomicFileStream() override;

    // Completes the file: flush, sync, close, rename over the target. Raises
    // EWriteError when any step fails; the target is then unchanged. After a
    // successful commit the stream is closed; a second Commit does nothing.
    void Commit();

    bool Committed() const { return FCommitted; }
    const std::string& TempFileName() const { return FTempName; }

private:
    struct TTempFile {
        int Handle;
        std::string Name;
    };
    static TTempFile CreateTempBeside(const std::string& targetName);
    TAtomicFileStream(TTempFile temp, const std::string& targetName, std::int64_t bufferSize);

    std::string FTempName;
    bool FCommitted = false;
};

} // namespace plat
