// The ".bin2" saver: time and calibrated value records of a channel.
#include "export/save_bin2_file_thread.h"

#include "card/buffer_list.h"
#include "foundations/tick_time.h"

namespace qel {

const TSaveFileThreadClassInfo TSaveBin2FileThread::ClassInfo =
    MakeSaveFileThreadClass<TSaveBin2FileThread>("TSaveBin2FileThread");

bool TSaveBin2FileThread::WriteData(std::int64_t FirstTime)
{
    TBufferBaseData& buffer = *SaveBufferList.GetItem(FChannel);
    while (!buffer.GetSaveComplete()) {
        const std::int64_t t = buffer.GetSaveTime();
        float value = 0.0f;
        if (!InTimeRange(t)) {
            buffer.ReadNextValue();
        } else if (TakeSampleValue(buffer, t, value)) {
            PutDouble(TicksToDays(t - FirstTime));
            PutSingle(value);
        }
        SampleDone();
    }
    return true;
}

} // namespace qel
