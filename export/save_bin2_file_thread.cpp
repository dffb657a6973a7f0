// The ".bin2" saver: time and calibrated value records of a channel.
#include "export/save_bin2_file_thread.h"

#include "card/buffer_list.h"
#include "foundations/byte_helpers.h"
#include "foundations/tick_time.h"
#include "loggers/qel_base.h"

namespace qel {

const TSaveFileThreadClassInfo TSaveBin2FileThread::ClassInfo =
    MakeSaveFileThreadClass<TSaveBin2FileThread>("TSaveBin2FileThread");

bool TSaveBin2FileThread::WriteData(std::int64_t FirstTime)
{
    TBufferBaseData& buffer = *SaveBufferList.GetItem(FChannel);
    const TQEL& logger = *buffer.GetLinkQEL();
    const std::uint32_t channel = buffer.GetChannel();
    const bool singles = buffer.HoldsSingleValues();
    while (!buffer.GetSaveComplete()) {
        const std::int64_t t = buffer.GetSaveTime();
        if (!InTimeRange(t)) {
            buffer.ReadNextValue();
        } else if (singles) {
            float value = 0.0f;
            buffer.GetSaveSingleValue(t, value);
            if (SingleBits(value) != GAP_VALUE_BITS) {
                PutDouble(TicksToDays(t - FirstTime));
                PutSingle(value);
            }
        } else {
            std::int16_t raw = 0;
            buffer.GetSaveIntValue(t, raw);
            if (!logger.IsGAPValue(channel, raw)) {
                PutDouble(TicksToDays(t - FirstTime));
                PutSingle(logger.CalcChValue(channel, raw));
            }
        }
        SampleDone();
    }
    return true;
}

} // namespace qel
