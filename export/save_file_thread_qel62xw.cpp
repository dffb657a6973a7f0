// QEL62xW savers: header blocks from the configurable channels and their limits.
#include "export/save_file_thread_qel62xw.h"

#include "export/save_file_thread_blocks.h"
#include "loggers/qel62xw.h"

namespace qel {

const TSaveFileThreadClassInfo TSaveFileThreadQEL62xW::ClassInfo =
    MakeSaveFileThreadClass<TSaveFileThreadQEL62xW>("TSaveFileThreadQEL62xW");
const TSaveFileThreadClassInfo TSaveFileThreadQEL621WxD::ClassInfo =
    MakeSaveFileThreadClass<TSaveFileThreadQEL621WxD>("TSaveFileThreadQEL621WxD");

void TSaveFileThreadQEL62xW::WriteHeader(std::int64_t FirstTime)
{
    LoggerAs<TQEL62xW>(QelList.GetCurrent()); // the read's logger must be of this generation
    const std::string program = ProgramName();
    WriteProgramTextBlock(*FDat, program);
    WriteProgramBlock(*FDat, program);
    WriteFirstTimeBlock(*FDat, FirstTime);
    WriteLoggerNamesBlock(*FDat);
    WriteAvailableQelNameBlock<TQEL62xW>(*FDat);
    WriteLoggerIdentityBlock(*FDat);
    WriteUtcBlock(*FDat);
    WriteTimeDifferenceBlock<TQEL62xW>(*FDat);
    WriteChannelNamesBlock(*FDat);
    WriteChannelUnitsBlock(*FDat);
    WriteChannelIdentityBlock(*FDat);
    // Before version 2.00 four series share a channel and its limit.
    WriteChannelLimitsBlock<TQEL62xW>(*FDat, [](const TQEL62xW& logger, std::uint32_t ch) {
        return logger.isVersion2() ? ch : SeriesIndex(ch);
    });
}

bool TSaveFileThreadQEL62xW::WriteData(std::int64_t FirstTime)
{
    return WriteRows(FirstTime, TRowCells::Stored);
}

} // namespace qel
