// QEL62xW savers: header blocks from the configurable channels and their limits.
#include "export/save_file_thread_qel62xw.h"

#include "export/save_file_thread_blocks.h"
#include "loggers/qel62xw.h"

namespace qel {

const TSaveFileThreadClassInfo TSaveFileThreadQEL62xW::ClassInfo =
    MakeSaveFileThreadClass<TSaveFileThreadQEL62xW>("TSaveFileThreadQEL62xW");
const TSaveFileThreadClassInfo TSaveFileThreadQEL621WxD::ClassInfo =
    MakeSaveFileThreadClass<TSaveFileThreadQEL621WxD>("TSaveFileThreadQEL621WxD");

namespace {

// 11: the limit of the channel a channel number names (before version 2.00
// four series share one channel) when a page carried it and it has a
// condition, else zeros.
void WriteLimitsBlock(TDataFile& file)
{
    WriteChannelBlock<TQEL62xW>(file, BLOCK_LIMITS, [](TDataFile& f, const TQEL62xW& logger, std::uint32_t ch,
                                                        const TBufferBaseData&) {
        TLimitEntry entry;
        const std::uint32_t index = logger.isVersion2() ? ch : SeriesIndex(ch);
        if (index < static_cast<std::uint32_t>(logger.Channels.Count())) {
            const auto& limit = *logger.Channels.GetItem(static_cast<int>(index)).Limit;
            if (limit.bReaderRead && (limit.alarm_condition != 0 || limit.rec_condition != 0)) {
                entry = TLimitEntry{limit.alarm_condition, limit.rec_condition, static_cast<float>(limit.limit_L1),
                                    static_cast<float>(limit.limit_L2)};
            }
        }
        WriteLimitEntry(f, entry);
    });
}

} // namespace

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
    WriteLimitsBlock(*FDat);
}

bool TSaveFileThreadQEL62xW::WriteData(std::int64_t FirstTime)
{
    return WriteRows(FirstTime, TRowCells::Stored);
}

} // namespace qel
