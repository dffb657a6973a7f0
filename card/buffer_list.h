// Buffer lists: the sample buffers of a read keyed by (logger, channel), with
// the read's mission data and UTC setting; the global read and save lists.
#pragma once

#include "card/sample_buffers.h"
#include "foundations/file_names.h"
#include "foundations/tick_time.h"
#include "loggers/mission_data.h"
#include "platform/object_list.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qel {

// Several loggers read together.
struct TMultipleQEL {
    bool bActive = false;
    double StartTime = 0.0;
};

// An ordered list of sample buffers, owning them (the read list) or only
// referring to them (the save list). The decoders add samples for the active
// logger by channel number; a buffer is created for the first sample of
// each (logger, channel).
class TBufferDataList {
public:
    explicit TBufferDataList(bool ownsObjects);
    ~TBufferDataList();
    TBufferDataList(const TBufferDataList&) = delete;
    TBufferDataList& operator=(const TBufferDataList&) = delete;

    // The sample goes to the buffer of (active logger, channel). Answers the
    // index of the buffer created for it, or -1 when the buffer existed. The
    // per-sample path finds an existing buffer in a table by channel, without
    // a search and without allocating. A spill file that cannot be created
    // raises the platform's file-create error; a channel that already holds
    // the other kind of value raises std::logic_error.
    int AddIntData(std::uint32_t channel, std::int64_t time, std::int16_t value)
    {
        if (channel < CHANNEL_TABLE_LIMIT) [[likely]] {
            if (TBufferIntData* buffer = FIntTable[channel]) [[likely]] {
                buffer->AddIntData(time, value);
                return -1;
            }
        }
        return AddIntDataSlow(channel, time, value);
    }
    int addSingleData(std::uint32_t channel, std::int64_t time, float value)
    {
        if (channel < CHANNEL_TABLE_LIMIT) [[likely]] {
            if (TBufferSingleData* buffer = FSingleTable[channel]) [[likely]] {
                buffer->AddSingleData(time, value);
                return -1;
            }
        }
        return AddSingleDataSlow(channel, time, value);
    }

    // The first index whose buffer belongs to (active logger, channel); -1 if none.
    int FindBuffer(std::uint32_t channel) const;

    // The logger whose samples are being added.
    TQEL* GetActiveQEL() const { return FActiveQEL; }
    void SetActiveQEL(TQEL* logger);
    // New buffers spill to files in the buffer folder (True) or to memory.
    bool GetUseFileStream() const { return FUseFileStream; }
    void SetUseFileStream(bool useFileStream) { FUseFileStream = useFileStream; }

    int Count() const { return FItems.Count(); }
    TBufferBaseData* GetItem(int Index) const { return FItems[Index]; }
    TBufferBaseData* operator[](int Index) const { return FItems[Index]; }
    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }
    // Appends a buffer (the save list refers to buffers of the read list);
    // answers its index. An owning list takes it over.
    int Add(TBufferBaseData* buffer) { return FItems.Add(buffer); }
    int IndexOf(const TBufferBaseData* buffer) const { return FItems.IndexOf(buffer); }

    // End of a read: every buffer spills what it holds and closes its spill file.
    void EndRead();
    // Every buffer's cursor on its first sample, then SortNow.
    void BeginSave();
    // By the logger's serial number, then by channel number, both ascending.
    void SortNow();
    // Every buffer closes the spill file it read.
    void EndSave();
    // The number of samples of all buffers, but at least 1 (savers divide by it).
    std::int64_t GetAllCnts() const;
    // Over the buffers holding samples: min := the earliest first time, max :=
    // the latest of min and every last time. False, leaving both unchanged,
    // when no buffer holds a sample.
    bool GetTMinTMax(std::int64_t& min, std::int64_t& max) const;
    // The earliest cursor time of the buffers whose cursor is not complete;
    // False when every cursor is complete (the row merge of the savers).
    bool GetMinSaveTime(std::int64_t& time) const;
    // Removes the buffers, last to first; the owning list destroys them, so
    // their spill files are deleted.
    void ClearAll();
    // Copies the active logger, the spill choice, FileNameEx, MultipleQEL,
    // MissionData and Utc; not the buffers, FileList or SaveCardShockID.
    void CopyFrom(const TBufferDataList& from);
    // A new read of the mission data: no valid data, no valid start time.
    void startRead();
    void nextRead();

    std::vector<std::string> FileList;   // names of the files a save wrote
    TFileNameEx FileNameEx;              // output file name of a save
    TMultipleQEL MultipleQEL;            // loggers read together (not read here)
    TQelUtc Utc;                         // UTC correction given to new buffers
    TMissionData MissionData;            // mission data of the read
    bool SaveCardShockID = false;        // the save list serves a shock save

private:
    // Channels below this number are found through the table.
    static constexpr std::uint32_t CHANNEL_TABLE_LIMIT = 4096;

    // Finds the buffer of (active logger, channel) and enters it in the table.
    TBufferBaseData* LookUpBuffer(std::uint32_t channel);
    int AddIntDataSlow(std::uint32_t channel, std::int64_t time, std::int16_t value);
    int AddSingleDataSlow(std::uint32_t channel, std::int64_t time, float value);
    // Creates the buffer of (active logger, channel) with its spill stream and appends it.
    template <class TBuffer>
    TBuffer* CreateBuffer(std::uint32_t channel, int& index);
    void ForgetChannels();

    plat::TObjectList<TBufferBaseData> FItems;
    TQEL* FActiveQEL = nullptr;   // the first half of the key of new samples
    bool FUseFileStream = false;  // new buffers spill to files
    // Buffers of the active logger by channel number, one table per kind of
    // value, filled as they are found; emptied whenever a buffer may leave
    // the list or the logger changes. Entries from FTableUsed on are empty.
    std::array<TBufferIntData*, CHANNEL_TABLE_LIMIT> FIntTable{};
    std::array<TBufferSingleData*, CHANNEL_TABLE_LIMIT> FSingleTable{};
    std::uint32_t FTableUsed = 0;
};

// The read list owns the buffers the page decoders fill; it spills to files
// once start-up has set it so. The save list refers to the buffers of a save.
extern TBufferDataList ReadBufferList;
extern TBufferDataList SaveBufferList;

} // namespace qel
