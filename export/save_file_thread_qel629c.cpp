// QEL629c saver: header blocks from the configured channels of the logger.
#include "export/save_file_thread_qel629c.h"

#include "export/save_file_thread_blocks.h"
#include "loggers/qel629c.h"

namespace qel {

const TSaveFileThreadClassInfo TSaveFileThreadQEL629c::ClassInfo =
    MakeSaveFileThreadClass<TSaveFileThreadQEL629c>("TSaveFileThreadQEL629c");

void TSaveFileThreadQEL629c::WriteHeader(std::int64_t FirstTime)
{
    LoggerAs<TQEL629C>(QelList.GetCurrent()); // the read's logger must be of this family
    const std::string program = ProgramName();
    WriteProgramTextBlock(*FDat, program);
    WriteProgramBlock(*FDat, program);
    WriteFirstTimeBlock(*FDat, FirstTime);
    WriteLoggerNamesBlock(*FDat);
    WriteChannelBlock<TQEL629C>(*FDat, BLOCK_STORED_NAMES, [](TDataFile& f, const TQEL629C& logger, std::uint32_t,
                                                               const TBufferBaseData&) { f.WriteString(logger.QELNAME); });
    WriteLoggerIdentityBlock(*FDat);
    WriteUtcBlock(*FDat);
    WriteTimeDifferenceBlock<TQEL629C>(*FDat);
    WriteChannelNamesBlock(*FDat);
    WriteChannelUnitsBlock(*FDat);
    WriteChannelIdentityBlock(*FDat);
    WriteChannelLimitsBlock<TQEL629C>(*FDat, [](const TQEL629C&, std::uint32_t ch) { return ch; });
}

bool TSaveFileThreadQEL629c::WriteData(std::int64_t FirstTime)
{
    return WriteRows(FirstTime, TRowCells::Calibrated);
}

} // namespace qel
