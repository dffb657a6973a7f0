// D-Bus data of the QEL57c loggers: the data blocks the page decoder finds in
// the recordings of a read, in page order, for the D-Bus order files of the saver.
#pragma once

#include "platform/object_list.h"

#include <cstdint>
#include <span>
#include <vector>

namespace qel {

// One D-Bus data block: the bytes a bus order read from the start address.
class TDBusData {
public:
    TDBusData(std::int64_t time, std::uint8_t Nr, std::uint32_t Addr) : FTime(time), FAddr(Addr), FNr(Nr) {}

    std::int64_t DTime() const { return FTime; }
    std::uint32_t Addr() const { return FAddr; }
    std::uint8_t Nr() const { return FNr; }

    // Appends one data byte.
    void addData(std::uint8_t value) { FData.push_back(value); }
    // Room for count bytes in one allocation, before they are added.
    void Reserve(std::size_t count) { FData.reserve(count); }
    std::int64_t Size() const { return static_cast<std::int64_t>(FData.size()); }
    std::span<const std::uint8_t> Data() const { return FData; }

private:
    std::int64_t FTime;                // time of the record, ticks
    std::uint32_t FAddr;               // start address
    std::uint8_t FNr;                  // order number, 0 to 15
    std::vector<std::uint8_t> FData;   // the block's data bytes
};

// The blocks of a read in page order; owns them.
class TDBusDataList {
public:
    // Appends an empty block and answers it; it stays valid until the list is cleared.
    TDBusData* addBlock(std::int64_t time, std::uint8_t Nr, std::uint32_t Addr);
    int Count() const { return FItems.Count(); }
    // Raises plat::EListError outside 0 ... Count - 1.
    TDBusData* GetItem(int Index) const { return FItems[Index]; }
    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }
    // Frees the blocks, last to first.
    void clearAll();

private:
    plat::TObjectList<TDBusData> FItems{true};
};

// The blocks of the current read; every data read empties it before its
// first cluster (see InitDBusData), so a read of several recordings keeps
// the blocks of all of them and nothing of an earlier read.
extern TDBusDataList DBusDataList;

// Empties DBusDataList and makes every data read empty it as it begins; the
// program's unit start calls it once.
void InitDBusData();
// Frees the blocks; the unit end calls it.
void FinalizeDBusData();

} // namespace qel
