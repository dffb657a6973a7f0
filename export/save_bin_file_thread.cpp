// The ".bin" saver: raw samples of a channel and the patched sample interval.
#include "export/save_bin_file_thread.h"

#include "card/buffer_list.h"
#include "foundations/tick_time.h"
#include "loggers/qel_base.h"

#include <stdexcept>

namespace qel {

const TSaveFileThreadClassInfo TSaveBinFileThread::ClassInfo =
    MakeSaveFileThreadClass<TSaveBinFileThread>("TSaveBinFileThread");

bool TSaveBinFileThread::WriteData(std::int64_t)
{
    TBufferBaseData& buffer = *SaveBufferList.GetItem(FChannel);
    if (buffer.HoldsSingleValues()) {
        throw std::runtime_error("Channel " + std::to_string(buffer.GetChannel()) +
                                 " holds single values; a binary file takes raw 16-bit values only");
    }
    const TQEL& logger = *buffer.GetLinkQEL();
    const std::uint32_t channel = buffer.GetChannel();
    FAmount = 0;
    while (!buffer.GetSaveComplete()) {
        const std::int64_t t = buffer.GetSaveTime();
        if (InTimeRange(t)) {
            std::int16_t raw = 0;
            buffer.GetSaveIntValue(t, raw);
            if (!logger.IsGAPValue(channel, raw)) {
                CountValue(t);
                PutWord(raw);
            }
        } else {
            buffer.ReadNextValue();
        }
        SampleDone();
    }
    return true;
}

void TSaveBinFileThread::CompleteFile()
{
    if (FAmount > 1 && FStartTime < FStopTime) {
        const double rate = static_cast<double>(FStopTime - FStartTime) / static_cast<double>(FAmount - 1) /
                            static_cast<double>(TICKS_PER_SECOND);
        const std::int64_t end = FBinFile->Position();
        FBinFile->SetPosition(FPosRate);
        PutSingle(static_cast<float>(rate));
        FBinFile->SetPosition(end);
    }
}

} // namespace qel
