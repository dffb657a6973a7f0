// FIFO data of the QEL624c loggers: the FIFO records the page decoder finds in
// the recordings of a read, per FIFO channel, for the FIFO blocks of the saver.
#pragma once

#include "platform/object_list.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qel {

class TQEL;

// One FIFO record.
struct TFifoData {
    std::uint32_t time = 0;    // the FIFO time
    std::uint16_t state = 0;
    float value = 0.0f;
};

// The records of one FIFO channel in arrival order, with the description
// its first record's logger gave it.
class TFifoChannel {
public:
    std::uint16_t channel = 0;     // channel base k of the records
    std::uint16_t channelID = 0;
    std::uint32_t SN = 0;          // serial number of the logger
    std::string sName;
    std::string sUnit;

    int Count() const { return static_cast<int>(FItems.size()); }
    // Raises plat::EListError outside 0 ... Count - 1.
    const TFifoData& getItem(int Index) const;
    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }
    void Add(const TFifoData& data) { FItems.push_back(data); }

private:
    std::vector<TFifoData> FItems;
};

// The FIFO channels of a read, at most one per channel base, in the order of
// their first record; owns them.
class TFifoDataList {
public:
    // Appends the record to the channel whose base is `channel`. A new channel
    // takes the logger's serial number and, for the channel number `channel`,
    // its channel ID, name and unit. The channel is the only key: records of
    // another logger with the same base join the same channel.
    void addFifoData(const TQEL& qel, std::uint32_t time, std::uint8_t channel, std::uint8_t state, float value);

    int Count() const { return FItems.Count(); }
    // Raises plat::EListError outside 0 ... Count - 1.
    const TFifoChannel& getItem(int Index) const { return *FItems[Index]; }
    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }
    // Frees the channels and their records.
    void clearAll();

private:
    plat::TObjectList<TFifoChannel> FItems{true};
    // The channel of each channel base, so that a record finds it without a search.
    std::array<TFifoChannel*, 256> FByChannel{};
};

// The FIFO records of the current read; every data read empties it before its
// first cluster (see InitFifoData), so a read of several recordings keeps the
// records of all of them and nothing of an earlier read.
extern TFifoDataList FifoDataList;

// Empties FifoDataList and makes every data read empty it as it begins; the
// program's unit start calls it once.
void InitFifoData();
// Frees the records; the unit end calls it.
void FinalizeFifoData();

} // namespace qel
