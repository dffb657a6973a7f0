// QEL51 saver: header blocks of the smallest configurable logger and stored rows.
#include "export/save_file_thread_qel51.h"

#include "export/save_file_thread_blocks.h"
#include "loggers/qel51.h"

namespace qel {

const TSaveFileThreadClassInfo TSaveFileThreadQEL51::ClassInfo =
    MakeSaveFileThreadClass<TSaveFileThreadQEL51>("TSaveFileThreadQEL51");

void TSaveFileThreadQEL51::WriteHeader(std::int64_t FirstTime)
{
    LoggerAs<TQEL51>(QelList.GetCurrent()); // the read's logger must be of this family
    const std::string program = ProgramName();
    WriteProgramTextBlock(*FDat, program);
    WriteProgramBlock(*FDat, program);
    WriteFirstTimeBlock(*FDat, FirstTime);
    WriteLoggerNamesBlock(*FDat);
    WriteChannelBlock<TQEL51>(*FDat, BLOCK_STORED_NAMES, [](TDataFile& f, const TQEL51&, std::uint32_t,
                                                             const TBufferBaseData&) { f.WriteString(std::string()); });
    WriteLoggerIdentityBlock(*FDat);
    WriteTimeDifferenceBlock<TQEL51>(*FDat);
    WriteChannelNamesBlock(*FDat);
    WriteChannelUnitsBlock(*FDat);
}

bool TSaveFileThreadQEL51::WriteData(std::int64_t FirstTime)
{
    return WriteRows(FirstTime, TRowCells::Stored);
}

} // namespace qel
