// QEL649 saver: header blocks from the logger fields and the read's mission data.
#include "export/save_file_thread_qel649.h"

#include "export/save_file_thread_blocks.h"
#include "loggers/qel649.h"

namespace qel {

const TSaveFileThreadClassInfo TSaveFileThreadQEL649::ClassInfo =
    MakeSaveFileThreadClass<TSaveFileThreadQEL649>("TSaveFileThreadQEL649");

void TSaveFileThreadQEL649::WriteHeader(std::int64_t FirstTime)
{
    const std::string program = ProgramName(SaveBufferList.SaveCardShockID);
    WriteProgramTextBlock(*FDat, program);
    WriteProgramBlock(*FDat, program);
    WriteFirstTimeBlock(*FDat, FirstTime);
    WriteLoggerNamesBlock(*FDat);
    WriteChannelBlock<TQEL649>(*FDat, BLOCK_STORED_NAMES, [](TDataFile& f, const TQEL649& logger, std::uint32_t,
                                                              const TBufferBaseData&) { f.WriteString(logger.NAME); });
    WriteLoggerIdentityBlock(*FDat);
    WriteTimeDifferenceBlock<TQEL649>(*FDat);
    WriteChannelNamesBlock(*FDat);
    WriteChannelUnitsBlock(*FDat);
    WriteFixedLimitsBlock<TQEL649>(*FDat);
    WriteCalibrationBlock<TQEL649>(*FDat, [](const TQEL649& logger, std::uint32_t ch) {
        return Qel629CalibrationOf(logger.CAL_RH, logger.CAL_T, logger.CAL_T_RH, ch);
    });
    WriteMissionBlock(*FDat);
}

} // namespace qel
