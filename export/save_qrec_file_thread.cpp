// The zip channel container saver: channel loop, descriptions, and values
// streamed from the buffer cursors into the archive.
#include "export/save_qrec_file_thread.h"

#include "card/buffer_list.h"
#include "card/card_records.h"
#include "export/qel_zip_date_time.h"
#include "export/x2_write_channel_list.h"
#include "foundations/file_names.h"
#include "foundations/tick_time.h"
#include "loggers/qel629.h"
#include "loggers/qel649.h"

namespace qel {

namespace {

constexpr double DAY_2000 = 36526.0;   // 2000-01-01 as a date-time value

std::int64_t TicksToNs2000(std::int64_t ticks)
{
    return DateTimeToNs2000(DAY_2000 + TicksToDays(ticks));
}

// The name the logger keeps for itself; only these two families store one.
std::string StoredLoggerName(const TQEL& logger)
{
    if (const auto* qel629 = dynamic_cast<const TQEL629*>(&logger)) {
        return qel629->NAME;
    }
    if (const auto* qel649 = dynamic_cast<const TQEL649*>(&logger)) {
        return qel649->NAME;
    }
    return {};
}

} // namespace

const TSaveFileThreadClassInfo TSaveQRecFileThread::ClassInfo =
    MakeSaveFileThreadClass<TSaveQRecFileThread>("TSaveQRecFileThread");

TSaveQRecFileThread::TSaveQRecFileThread(plat::HWND hWindow, TAddReport AddReport, TAddReport AddSaveInfo)
    : TSaveFileThread(hWindow, std::move(AddReport), std::move(AddSaveInfo))
{
}

TSaveQRecFileThread::~TSaveQRecFileThread() = default;

bool TSaveQRecFileThread::SaveData()
{
    const std::string fileName = GetFullFileName(SaveBufferList.FileNameEx);
    SaveBufferList.FileList.clear();
    try {
        SaveBufferList.BeginSave();
        FX2Channels = std::make_unique<TX2WriteChannelList>();
        FX2Channels->StartSave(fileName);
        for (FChannel = 0; FChannel < SaveBufferList.Count(); ++FChannel) {
            TBufferBaseData& buffer = *SaveBufferList.GetItem(FChannel);
            if (SkipChannelToWindow(buffer)) {
                const std::int64_t first = buffer.GetSaveTime();
                WriteHeader(first);
                WriteData(first);
            }
        }
        FX2Channels->FinishSave();
    } catch (...) {
        if (FX2Channels) {
            FX2Channels->AbandonSave();
        }
        FX2Channels.reset();
        SaveBufferList.ClearAll();
        throw;
    }
    FX2Channels.reset();
    SaveBufferList.ClearAll();
    SaveBufferList.FileList.push_back(fileName);
    AddSaveInfo(fileName);
    return true;
}

void TSaveQRecFileThread::WriteHeader(std::int64_t)
{
    const TBufferBaseData& buffer = *SaveBufferList.GetItem(FChannel);
    const TQEL& logger = *buffer.GetLinkQEL();
    const std::uint32_t channel = buffer.GetChannel();
    FX2Channels->AddChannel(FChannel, logger.GetChName(channel), logger.GetChUnit(channel));
    TX2WriteChannel& description = *FX2Channels->FindChannel(FChannel);
    description.sQelSN = std::to_string(logger.SN);
    description.sQelModel = logger.GetName();
    description.sQelName = StoredLoggerName(logger);
}

// Samples are consumed in time order and the window is one interval, so the
// values reach the archive in ascending time.
bool TSaveQRecFileThread::WriteData(std::int64_t)
{
    RecInfoList.InitSize();
    TBufferBaseData& buffer = *SaveBufferList.GetItem(FChannel);
    TX2WriteChannelList& channels = *FX2Channels;
    while (!buffer.GetSaveComplete()) {
        const std::int64_t t = buffer.GetSaveTime();
        float value = 0.0f;
        if (!InTimeRange(t)) {
            buffer.ReadNextValue();
        } else if (TakeSampleValue(buffer, t, value)) {
            channels.SaveValue(FChannel, TicksToNs2000(t), value);
        }
        SampleDone();
    }
    return true;
}

} // namespace qel
