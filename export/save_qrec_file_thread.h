// The saver of the program's normal output, the zip channel container
// (".qrec"): each save-list channel's samples inside the time window,
// calibrated and without gap values, stamped in nanoseconds since 2000.
#pragma once

#include "export/save_file_thread.h"

#include <cstdint>
#include <memory>

namespace qel {

class TX2WriteChannelList;

// Writes the channels one after the other into one archive, the file
// GetFullFileName(SaveBufferList.FileNameEx). Channels without a value
// inside the window get no folder. The archive replaces a file of that name
// only when it is complete; a failed or cancelled save leaves that file as
// it was. A save without any value writes an archive with the "File" entry
// only. The file name is reported through AddSaveInfo once the archive is
// in place.
class TSaveQRecFileThread : public TSaveFileThread {
public:
    static const TSaveFileThreadClassInfo ClassInfo;

    TSaveQRecFileThread(plat::HWND hWindow, TAddReport AddReport, TAddReport AddSaveInfo);
    ~TSaveQRecFileThread() override;

protected:
    bool SaveData() override;
    // Registers the description of channel FChannel (name, unit, logger).
    void WriteHeader(std::int64_t FirstTime) override;
    // Writes the values of channel FChannel inside the window; True.
    bool WriteData(std::int64_t FirstTime) override;

private:
    std::unique_ptr<TX2WriteChannelList> FX2Channels;   // the channel list of the running save
    int FChannel = 0;                                   // save-list index being written, also its channel ID
};

} // namespace qel
