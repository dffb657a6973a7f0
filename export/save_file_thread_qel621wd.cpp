// QEL621WD saver: header blocks of the configurable logger and stored rows.
#include "export/save_file_thread_qel621wd.h"

#include "export/save_file_thread_blocks.h"
#include "loggers/qel621wd.h"

namespace qel {

const TSaveFileThreadClassInfo TSaveFileThreadQEL621WD::ClassInfo =
    MakeSaveFileThreadClass<TSaveFileThreadQEL621WD>("TSaveFileThreadQEL621WD");

void TSaveFileThreadQEL621WD::WriteHeader(std::int64_t FirstTime)
{
    LoggerAs<TQEL621WD>(QelList.GetCurrent()); // the read's logger must be of this family
    const std::string program = ProgramName();
    WriteProgramTextBlock(*FDat, program);
    WriteProgramBlock(*FDat, program);
    WriteFirstTimeBlock(*FDat, FirstTime);
    WriteLoggerNamesBlock(*FDat);
    WriteAvailableQelNameBlock<TQEL621WD>(*FDat);
    WriteLoggerIdentityBlock(*FDat);
    WriteUtcBlock(*FDat);
    WriteTimeDifferenceBlock<TQEL621WD>(*FDat);
    WriteChannelNamesBlock(*FDat);
    WriteChannelUnitsBlock(*FDat);
    WriteChannelIdentityBlock(*FDat);
}

bool TSaveFileThreadQEL621WD::WriteData(std::int64_t FirstTime)
{
    return WriteRows(FirstTime, TRowCells::Stored);
}

} // namespace qel
