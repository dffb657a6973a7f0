// TAtomicFileStream: a save that replaces its target only when it has fully
// succeeded; a failed or cancelled save leaves the old file and no litter.
// TAtomicFileSet: the same for several files that belong together.
#pragma once

#include "platform/streams.h"

#include <memory>
#include <string>
#include <vector>

namespace plat {

class TAtomicFileSet;

// Writes a hidden temporary file beside the target (".<name>.<unique>.tmp"
// in the target's folder, so the final rename stays on one file system).
// Commit() writes everything out, syncs it to the disk and renames it over
// the target; destroying the stream without Commit() removes the temporary
// file and leaves the target as it was. Errors name the target file.
// Files that belong together go to a TAtomicFileSet instead of Commit().
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
    friend class TAtomicFileSet;

    struct TTempFile {
        int Handle;
        std::string Name;
    };
    static TTempFile CreateTempBeside(const std::string& targetName);
    TAtomicFileStream(TTempFile temp, const std::string& targetName, std::int64_t bufferSize);
    // The first half of Commit: flush, sync and close. A second call does nothing.
    void Complete();
    // The second half: renames the complete file over the target (the
    // folder is not synced).
    void ReplaceTarget();

    std::string FTempName;
    bool FCompleted = false;   // written out, synced and closed
    bool FCommitted = false;   // renamed over the target
};

// The files of one save (the channels, parts and side files of one output):
// each is complete on the disk when it is added, and none replaces its
// target until Commit puts them all in place. A set destroyed without
// Commit removes every temporary file and leaves every target as it was.
//
// Commit keeps the old targets reachable until every rename has succeeded
// (a hard link beside each, or the target itself renamed aside where the
// file system has no links), so a rename that fails part-way is undone:
// either all targets hold the new files or all hold what they held before.
class TAtomicFileSet {
public:
    TAtomicFileSet();
    ~TAtomicFileSet();
    TAtomicFileSet(const TAtomicFileSet&) = delete;
    TAtomicFileSet& operator=(const TAtomicFileSet&) = delete;

    // Writes the file out, syncs and closes it, and keeps it for Commit.
    // Raises EWriteError (a full disk, for instance); the file is then
    // dropped with its temporary file.
    void Add(std::unique_ptr<TAtomicFileStream> file);
    // Puts every file in place, in the order they were added. Raises
    // EWriteError naming the target that failed; every target is then as it
    // was and no temporary or backup file is left. The set is empty afterwards.
    void Commit();
    // Drops every file: the temporary files go, the targets stay.
    void Clear();

    bool Empty() const { return FFiles.empty(); }

private:
    struct TBackup;

    void MakeBackups(std::vector<TBackup>& backups) const;
    // Undoes a commit that failed part-way; the text names old files that
    // could not be put back (empty when all were).
    static std::string Restore(const std::vector<TBackup>& backups, std::size_t replaced);

    std::vector<std::unique_ptr<TAtomicFileStream>> FFiles;   // complete, in order of Add
};

// Removes the temporary files that saves of processes no longer running left
// in Folder (a save killed before its commit): hidden names of the form
// ".<name>.<process id>-<number>-<number>.tmp". The kept old files of a set's
// commit (".old") stay, as they may be the only copy of a former file.
// Answers how many went; a missing folder is no error.
int RemoveAbandonedTempFiles(const std::string& Folder);

} // namespace plat
