// Base of the raw binary savers: one file per save-list channel named with
// "_C" and the channel number, its text header, end mark and patched rate.
#pragma once

#include "export/save_file_thread.h"
#include "platform/atomic_file.h"

#include <bit>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <string_view>

namespace qel {

// File layout (numbers little endian, texts as Windows-1252 bytes without
// length or terminator):
//   first time "dd.mm.yyyy hh:nn:ss" ";"   "QEL" serial number ";"
//   channel name ";"   channel unit ";"
//   Single gain, Single offset, Single rate (patched by CompleteFile)
//   the end mark, then the samples of the derived saver.
// The first time is the channel's first sample inside the window, or -1
// when it has none. Files are written in save-list order, each beside its
// target, and put in place together when every channel is complete: a
// failure or cancellation leaves all existing files as they were.
class TSaveBinFileThreadBase : public TSaveFileThread {
public:
    TSaveBinFileThreadBase(plat::HWND hWindow, TAddReport AddReport, TAddReport AddSaveInfo);
    ~TSaveBinFileThreadBase() override;

protected:
    bool SaveData() override;
    // The header of channel FChannel; the rate is written as 0.
    void WriteHeader(std::int64_t FirstTime) override;
    // The text that closes the header.
    virtual std::string_view EndMark() const = 0;
    // Called when the samples are written, before the file is put in place.
    virtual void CompleteFile() {}

    void PutText(const std::string& text);
    void PutWord(std::int16_t value) { PutRaw(value); }
    void PutSingle(float value) { PutRaw(value); }
    void PutDouble(double value) { PutRaw(value); }

    std::unique_ptr<plat::TAtomicFileStream> FBinFile;   // the file of channel FChannel
    std::int64_t FPosRate = 0;                           // of the header's rate field
    int FChannel = 0;                                    // save-list index being written

private:
    template <class T>
    void PutRaw(T value)
    {
        static_assert(std::endian::native == std::endian::little, "binary files are little endian");
        WriteBytes(&value, sizeof value);
    }
    void WriteBytes(const void* bytes, std::int64_t count) { FBinFile->Write(bytes, count); }

    // "_C" and the logger channel number; a name already written by this
    // save (two loggers with the same channel number) gets "_2", "_3" ... behind.
    std::string ChannelFileName(const TBufferBaseData& buffer);

    std::set<std::string> FWrittenNames;   // files of the running save
};

} // namespace qel
