// D-Bus data blocks of the QEL57c loggers and the global list of a read.
#include "card/dbus_data.h"

#include "card/read_card_data_thread.h"

namespace qel {

TDBusDataList DBusDataList;

namespace {
void ResetDBusData()
{
    DBusDataList.clearAll();
}
} // namespace

TDBusData* TDBusDataList::addBlock(std::int64_t time, std::uint8_t Nr, std::uint32_t Addr)
{
    auto* block = new TDBusData(time, Nr, Addr);
    FItems.Add(block);   // the list takes the block over, also when appending fails
    return block;
}

void TDBusDataList::clearAll()
{
    for (int i = FItems.Count() - 1; i >= 0; --i) {
        FItems.Delete(i);
    }
}

void InitDBusData()
{
    DBusDataList.clearAll();
    AddSideDataReset(&ResetDBusData);
}

void FinalizeDBusData()
{
    DBusDataList.clearAll();
}

} // namespace qel
