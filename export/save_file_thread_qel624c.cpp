// QEL624c saver: header blocks with the FIFO channels' identities, stored
// rows and the FIFO records of the read.
#include "export/save_file_thread_qel624c.h"

#include "card/fifo_data.h"
#include "export/save_file_thread_blocks.h"
#include "loggers/qel624c.h"

namespace qel {

const TSaveFileThreadClassInfo TSaveFileThreadQEL624c::ClassInfo =
    MakeSaveFileThreadClass<TSaveFileThreadQEL624c>("TSaveFileThreadQEL624c");

namespace {

// 26 layout 2: per FIFO channel its logger's serial number, channel base,
// channel ID, name and unit, whatever the save list holds.
void WriteFifoChannelIdentityBlock(TDataFile& file)
{
    file.NewBlock(BLOCK_CHANNEL_IDENTITY);
    file.WriteWord(2);
    for (const TFifoChannel* channel : FifoDataList) {
        file.WriteLongint(static_cast<std::int32_t>(channel->SN));
        file.WriteWord(channel->channel);
        file.WriteWord(channel->channelID);
        file.WriteString(channel->sName);
        file.WriteString(channel->sUnit);
    }
    file.WriteBlock();
}

} // namespace

void TSaveFileThreadQEL624c::WriteHeader(std::int64_t FirstTime)
{
    LoggerAs<TQEL624C>(QelList.GetCurrent()); // the read's logger must be of this family
    const std::string program = ProgramName();
    WriteProgramTextBlock(*FDat, program);
    WriteProgramBlock(*FDat, program);
    WriteFirstTimeBlock(*FDat, FirstTime);
    WriteLoggerNamesBlock(*FDat);
    WriteAvailableQelNameBlock<TQEL624C>(*FDat);
    WriteLoggerIdentityBlock(*FDat);
    WriteUtcBlock(*FDat);
    WriteTimeDifferenceBlock<TQEL624C>(*FDat);
    WriteChannelNamesBlock(*FDat);
    WriteChannelUnitsBlock(*FDat);
    WriteFifoChannelIdentityBlock(*FDat);
}

bool TSaveFileThreadQEL624c::WriteData(std::int64_t FirstTime)
{
    if (!WriteRows(FirstTime, TRowCells::Stored)) {
        return false;   // the budget ended the part: the FIFO records go to a later one
    }
    WriteFifoBlocks();
    return true;
}

// A record: Longint FIFO time, Word channel base, Word state, Single value.
void TSaveFileThreadQEL624c::WriteFifoBlocks()
{
    for (const TFifoChannel* channel : FifoDataList) {
        FDat->NewBlock(BLOCK_FIFO);
        for (const TFifoData& data : *channel) {
            FDat->WriteLongint(static_cast<std::int32_t>(data.time));
            FDat->WriteWord(channel->channel);
            FDat->WriteWord(data.state);
            FDat->WriteSingle(data.value);
            CheckTerminated();
            UpdateProgress();
            if (FDat->BufferSize() > BLOCK_PAYLOAD_TARGET) {
                FDat->WriteBlock();
                FDat->NewBlock(BLOCK_FIFO);
            }
        }
        FDat->WriteBlock();   // an empty block writes nothing
    }
}

} // namespace qel
