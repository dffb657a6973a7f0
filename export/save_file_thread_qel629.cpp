// QEL629 saver: header blocks from the fixed-channel logger fields.
#include "export/save_file_thread_qel629.h"

#include "export/save_file_thread_blocks.h"
#include "loggers/qel629.h"

namespace qel {

const TSaveFileThreadClassInfo TSaveFileThreadQEL629::ClassInfo =
    MakeSaveFileThreadClass<TSaveFileThreadQEL629>("TSaveFileThreadQEL629");

void TSaveFileThreadQEL629::WriteHeader(std::int64_t FirstTime)
{
    const std::string program = ProgramName();
    WriteProgramTextBlock(*FDat, program);
    WriteProgramBlock(*FDat, program);
    WriteFirstTimeBlock(*FDat, FirstTime);
    WriteLoggerNamesBlock(*FDat);
    WriteChannelBlock<TQEL629>(*FDat, BLOCK_STORED_NAMES, [](TDataFile& f, const TQEL629& logger, std::uint32_t,
                                                              const TBufferBaseData&) {
        f.WriteString(logger.IsExtended() ? logger.NAME : std::string());
    });
    WriteLoggerIdentityBlock(*FDat);
    WriteTimeDifferenceBlock<TQEL629>(*FDat);
    WriteChannelNamesBlock(*FDat);
    WriteChannelUnitsBlock(*FDat);
    WriteFixedLimitsBlock<TQEL629>(*FDat);
    WriteCalibrationBlock<TQEL629>(*FDat, [](const TQEL629& logger, std::uint32_t ch) {
        return Qel629CalibrationOf(logger.CAL_RH, logger.CAL_T, logger.CAL_T_RH, ch);
    });
}

} // namespace qel
