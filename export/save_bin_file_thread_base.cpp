// Raw binary savers' shared part: file per channel, header, skip to the
// window and the put-in-place of each complete file.
#include "export/save_bin_file_thread_base.h"

#include "card/buffer_list.h"
#include "foundations/file_names.h"
#include "foundations/tick_time.h"
#include "loggers/qel_base.h"
#include "platform/date_time.h"
#include "platform/text_encoding.h"

#include <cstdio>

namespace qel {

namespace {

// The calendar time of a tick time as "dd.mm.yyyy hh:nn:ss", 24-hour clock.
std::string BinHeaderTime(std::int64_t Ticks)
{
    const plat::TDateTimeParts parts = plat::DecodeDateTime(TicksToDateTime(Ticks));
    char text[32];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d %02d:%02d:%02d", parts.Day, parts.Month, parts.Year, parts.Hour,
                  parts.Minute, parts.Second);
    return text;
}

} // namespace

TSaveBinFileThreadBase::TSaveBinFileThreadBase(plat::HWND hWindow, TAddReport AddReport, TAddReport AddSaveInfo)
    : TSaveFileThread(hWindow, std::move(AddReport), std::move(AddSaveInfo))
{
}

TSaveBinFileThreadBase::~TSaveBinFileThreadBase() = default;

bool TSaveBinFileThreadBase::SaveData()
{
    SaveBufferList.FileList.clear();
    FWrittenNames.clear();
    try {
        SaveBufferList.BeginSave();
        for (FChannel = 0; FChannel < SaveBufferList.Count(); ++FChannel) {
            TBufferBaseData& buffer = *SaveBufferList.GetItem(FChannel);
            const std::string name = ChannelFileName(buffer);
            FBinFile = std::make_unique<plat::TAtomicFileStream>(name);
            SkipChannelToWindow(buffer);
            const std::int64_t first = buffer.GetSaveComplete() ? -1 : buffer.GetSaveTime();
            WriteHeader(first);
            WriteData(first);
            CompleteFile();
            KeepFile(std::move(FBinFile), true);
        }
        CommitSave();
    } catch (...) {
        FBinFile.reset();
        DiscardSave();
        SaveBufferList.ClearAll();
        throw;
    }
    SaveBufferList.ClearAll();
    return true;
}

std::string TSaveBinFileThreadBase::ChannelFileName(const TBufferBaseData& buffer)
{
    TFileNameEx& fileName = SaveBufferList.FileNameEx;
    const std::string number = "_C" + std::to_string(buffer.GetChannel());
    fileName.cnt = number;
    for (int k = 2; FWrittenNames.contains(GetFullFileName(fileName)); ++k) {
        fileName.cnt = number + "_" + std::to_string(k);
    }
    const std::string name = GetFullFileName(fileName);
    FWrittenNames.insert(name);
    return name;
}

void TSaveBinFileThreadBase::WriteHeader(std::int64_t FirstTime)
{
    const TBufferBaseData& buffer = *SaveBufferList.GetItem(FChannel);
    const TQEL& logger = *buffer.GetLinkQEL();
    const std::uint32_t channel = buffer.GetChannel();
    PutText(BinHeaderTime(FirstTime) + ";");
    PutText("QEL" + std::to_string(logger.SN) + ";");
    PutText(logger.GetChName(channel) + ";");
    PutText(logger.GetChUnit(channel) + ";");
    PutSingle(logger.getChGain(channel));
    PutSingle(logger.getChOffset(channel));
    FPosRate = FBinFile->Position();
    PutSingle(0.0f);
    PutText(std::string(EndMark()));
}

void TSaveBinFileThreadBase::PutText(const std::string& text)
{
    const std::string bytes = plat::Utf8ToAnsi(text);
    WriteBytes(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

} // namespace qel
