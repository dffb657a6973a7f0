// QEL25 saver: header blocks from the logger fields and the read's mission data.
#include "export/save_file_thread_qel25.h"

#include "export/save_file_thread_blocks.h"
#include "loggers/qel25.h"

namespace qel {

const TSaveFileThreadClassInfo TSaveFileThreadQEL25::ClassInfo =
    MakeSaveFileThreadClass<TSaveFileThreadQEL25>("TSaveFileThreadQEL25");

void TSaveFileThreadQEL25::WriteHeader(std::int64_t FirstTime)
{
    WriteProgramBlock(*FDat, ProgramName(SaveBufferList.SaveCardShockID));
    WriteFirstTimeBlock(*FDat, FirstTime);
    WriteLoggerNamesBlock(*FDat);
    WriteChannelBlock<TQEL25>(*FDat, BLOCK_STORED_NAMES, [](TDataFile& f, const TQEL25& logger, std::uint32_t,
                                                             const TBufferBaseData&) { f.WriteString(logger.NAME); });
    WriteLoggerIdentityBlock(*FDat);
    WriteTimeDifferenceBlock<TQEL25>(*FDat);
    WriteChannelNamesBlock(*FDat);
    WriteChannelUnitsBlock(*FDat);
    WriteFixedLimitsBlock<TQEL25>(*FDat);
    // Humidity calibration on channel 13, temperature calibration on channel 11.
    WriteCalibrationBlock<TQEL25>(*FDat, [](const TQEL25& logger, std::uint32_t ch) {
        if (ch == 13 && logger.CAL_RH) {
            return TChannelCal::Humidity;
        }
        if (ch == 11 && logger.CAL_T) {
            return TChannelCal::Temperature;
        }
        return TChannelCal::None;
    });
    WriteMissionBlock(*FDat);
}

} // namespace qel
