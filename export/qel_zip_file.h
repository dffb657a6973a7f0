// The zip channel container file (".qrec"): the archive with its "File"
// entry and the channel folders, and the writer that fills and completes it.
#pragma once

#include "export/qel_zip_channel.h"
#include "export/qel_zip_pair_stream.h"
#include "platform/object_list.h"
#include "platform/zip_writer.h"

#include <cstdint>
#include <string>

namespace qel {

using TQelZipChannelList = plat::TObjectList<TQelZipChannel>;

// The archive, its channels (folders numbered in the order added) and the
// file information.
class TQelZipBaseFile {
public:
    TQelZipBaseFile() = default;
    virtual ~TQelZipBaseFile() = default;
    TQelZipBaseFile(const TQelZipBaseFile&) = delete;
    TQelZipBaseFile& operator=(const TQelZipBaseFile&) = delete;

    virtual bool OpenFile(const std::string& sFilename) = 0;
    virtual void CloseFile() = 0;

    // A new channel whose folder number is the number of channels before it.
    TQelZipChannel* AddChannel(int ID);
    // The first channel with that ID; nullptr when none.
    TQelZipChannel* GetChannel(int ID) const;

    int ChannelCount() const { return FChannelList.Count(); }
    TQelZipChannel* Channel(int index) const { return FChannelList[index]; }

protected:
    std::string FFileLocation;
    plat::TZipFile FZIP;
    TQelZipChannelList FChannelList;
    TQelZipFileInfoStream FFileInfo;
};

class TQelZipWriteFile : public TQelZipBaseFile {
public:
    // Starts the archive sFilename (written beside it, in place on CloseFile)
    // with no channels and saves "File": "FileType" = "QELZip",
    // "FileRevision" = "0", "FileCreator" = the running program's path.
    // True; the archive's errors raise.
    bool OpenFile(const std::string& sFilename) override;
    // Finishes every channel in folder order and completes the archive, which
    // then replaces any file of that name.
    void CloseFile() override;
    // Drops the archive being written: a file of that name stays as it was.
    void AbandonFile();
    bool Opened() const { return FZIP.Active(); }

    // AddValue on the channel of that ID; False when there is none.
    bool AddChannelValue(int ID, std::int64_t time, float value);
};

} // namespace qel
