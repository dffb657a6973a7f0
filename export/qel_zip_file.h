// The zip channel container file (".qrec"): the archive with its "File"
// entry and the channel folders, the writer that fills and completes it, and
// the reader that opens one and finds its channels.
#pragma once

#include "export/qel_zip_channel.h"
#include "export/qel_zip_pair_stream.h"
#include "platform/object_list.h"
#include "platform/zip_writer.h"

#include <cstdint>
#include <string>

namespace qel {

using TQelZipChannelList = plat::TObjectList<TQelZipChannel>;

// A shock record of the container: a stream with the caller's ID. No
// container holds one yet: AddShock makes none, and Finish writes nothing.
class TQelZipShock : public plat::TMemoryStream {
public:
    explicit TQelZipShock(int id) : ID(id) {}
    const int ID;
    void Finish() {}
};

using TQelZipShockList = plat::TObjectList<TQelZipShock>;

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
    // No shock record is made: nullptr.
    TQelZipShock* AddShock(int ID);

    int ChannelCount() const { return FChannelList.Count(); }
    TQelZipChannel* Channel(int index) const { return FChannelList[index]; }
    int ShockCount() const { return FShockList.Count(); }
    const std::string& FileLocation() const { return FFileLocation; }
    const TQelZipFileInfoStream& FileInfo() const { return FFileInfo; }

protected:
    std::string FFileLocation;
    plat::TZipFile FZIP;
    TQelZipChannelList FChannelList;
    TQelZipShockList FShockList;
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

// A container opened for reading: "File" and every channel description
// loaded and verified; the channels' values are read through their own
// readout operations while the file is open.
class TQelZipReadFile : public TQelZipBaseFile {
public:
    // Opens sFilename, loads "File" (its "FileType" must be "QELZip") and
    // makes one channel, its ID the folder number, for each folder from
    // CHANNEL_0 on whose "ChDesc_0" the archive holds. True; a file that is
    // no readable container raises EQelZipFileError, or the archive's
    // EFOpenError and EZipFormatError, and leaves nothing open.
    bool OpenFile(const std::string& sFilename) override;
    // Closes the archive; the channels go with it.
    void CloseFile() override;

private:
    [[noreturn]] void FailOpen(const std::string& fault);
};

} // namespace qel
