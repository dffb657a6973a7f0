// FIFO data of the QEL624c loggers and the global list of a read.
#include "card/fifo_data.h"

#include "card/read_card_data_thread.h"
#include "loggers/qel_base.h"

#include <memory>

namespace qel {

TFifoDataList FifoDataList;

namespace {
void ResetFifoData()
{
    FifoDataList.clearAll();
}
} // namespace

const TFifoData& TFifoChannel::getItem(int Index) const
{
    if (Index < 0 || Index >= Count()) {
        throw plat::EListError(Index);
    }
    return FItems[static_cast<std::size_t>(Index)];
}

void TFifoDataList::addFifoData(const TQEL& qel, std::uint32_t time, std::uint8_t channel, std::uint8_t state,
                                float value)
{
    TFifoChannel*& entry = FByChannel[channel];
    if (entry == nullptr) {
        auto created = std::make_unique<TFifoChannel>();
        created->SN = qel.SN;
        created->channel = channel;
        created->channelID = qel.getChID(channel);
        created->sName = qel.GetChName(channel);
        created->sUnit = qel.GetChUnit(channel);
        TFifoChannel* const added = created.get();
        FItems.Add(created.release());   // the list takes the channel over, also when appending fails
        entry = added;
    }
    entry->Add(TFifoData{time, state, value});
}

void TFifoDataList::clearAll()
{
    FByChannel.fill(nullptr);
    for (int i = FItems.Count() - 1; i >= 0; --i) {
        FItems.Delete(i);
    }
}

void InitFifoData()
{
    FifoDataList.clearAll();
    AddSideDataReset(&ResetFifoData);
}

void FinalizeFifoData()
{
    FifoDataList.clearAll();
}

} // namespace qel
