// The channel list of a container save: one description per channel ID, and
// the archive it opens on the first value and completes with the descriptions.
#pragma once

#include "export/qel_zip_file.h"
#include "platform/object_list.h"

#include <cstdint>
#include <string>

namespace qel {

// The description of one channel.
struct TX2Channel {
    std::string sName;
    std::string sUnit;
    std::string sQelName;
    std::string sQelSN;
    std::string sQelModel;
};

// A channel description of a save, under the caller's channel ID.
struct TX2WriteChannel : TX2Channel {
    int ID = 0;
};

// Use: StartSave, AddChannel per channel, SaveValue per value (in ascending
// time per channel), then FinishSave; on an error or cancellation AbandonSave.
class TX2WriteChannelList {
public:
    TX2WriteChannelList();

    // Empties the list and stores the archive's full file name.
    void StartSave(const std::string& sFileName);
    // Adds a description with name and unit for ID unless one exists.
    void AddChannel(int ID, const std::string& sName, const std::string& sUnit);
    int Count() const { return FItems.Count(); }
    TX2WriteChannel* GetItem(int Index) const { return FItems[Index]; }
    // The description registered for ID; nullptr when none.
    TX2WriteChannel* FindChannel(int ID) const;

    // Adds the value to the channel ID of the archive. The first value opens
    // the archive; the first value of an ID creates its channel folder, so
    // folders are numbered in the order channels receive their first value.
    void SaveValue(int ID, std::int64_t time, float value)
    {
        if (FCurrentChannel != nullptr && FCurrentChannel->ID == ID) {
            FCurrentChannel->AddValue(time, value);
            return;
        }
        SaveValueToNewChannel(ID, time, value);
    }

    // Describes every channel folder (its registered description, or the
    // name "CH" + folder number when none) and completes the archive, which
    // then replaces a file of that name. A save without any value still
    // writes the archive with its "File" entry.
    void FinishSave();
    // Drops the archive being written; a file of that name stays as it was.
    void AbandonSave();

    bool Opened() const { return FOpened; }

    // From now on the values go to qelFile, the caller's writer (not owned).
    // The writer the list was made with is kept, not freed, until the list
    // is freed.
    void StartWriting(TQelZipWriteFile& qelFile)
    {
        FFile = &qelFile;
        FCurrentChannel = nullptr;
    }

private:
    void SaveValueToNewChannel(int ID, std::int64_t time, float value);
    void OpenArchive();

    plat::TObjectList<TX2WriteChannel> FItems;
    TQelZipWriteFile FOwnFile;                 // the writer made with the list
    TQelZipWriteFile* FFile = &FOwnFile;       // the archive writer in use
    bool FOpened = false;                      // the archive has been opened for this save
    std::string FFileName;                     // the archive's full file name
    TQelZipChannel* FCurrentChannel = nullptr; // the folder the last value went to
};

} // namespace qel
