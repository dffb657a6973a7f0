// Buffer lists: creating buffers for new (logger, channel) keys, the table
// that finds them per sample, and the list-wide read, save and time queries.
#include "card/buffer_list.h"

#include "card/temp_folder.h"
#include "loggers/qel_base.h"

#include <algorithm>
#include <memory>
#include <stdexcept>

namespace qel {

TBufferDataList ReadBufferList(true);
TBufferDataList SaveBufferList(false);

namespace {

std::uint32_t SerialOf(const TBufferBaseData* buffer)
{
    return buffer->GetLinkQEL() != nullptr ? buffer->GetLinkQEL()->SN : 0;
}

[[noreturn]] void RaiseKindClash(std::uint32_t channel, bool holdsSingle)
{
    throw std::logic_error("channel " + std::to_string(channel) + " holds " +
                           (holdsSingle ? "single values; a 16-bit value" : "16-bit values; a single value") +
                           " cannot be added");
}

} // namespace

TBufferDataList::TBufferDataList(bool ownsObjects) : FItems(ownsObjects) {}

TBufferDataList::~TBufferDataList()
{
    ClearAll();
}

void TBufferDataList::SetActiveQEL(TQEL* logger)
{
    if (logger != FActiveQEL) {
        FActiveQEL = logger;
        ForgetChannels();
    }
}

int TBufferDataList::FindBuffer(std::uint32_t channel) const
{
    for (int i = 0; i < FItems.Count(); ++i) {
        const TBufferBaseData* buffer = FItems[i];
        if (buffer->GetLinkQEL() == FActiveQEL && buffer->GetChannel() == channel) {
            return i;
        }
    }
    return -1;
}

void TBufferDataList::ForgetChannels()
{
    std::fill_n(FIntTable.begin(), FTableUsed, nullptr);
    std::fill_n(FSingleTable.begin(), FTableUsed, nullptr);
    FTableUsed = 0;
}

TBufferBaseData* TBufferDataList::LookUpBuffer(std::uint32_t channel)
{
    const int index = FindBuffer(channel);
    if (index < 0) {
        return nullptr;
    }
    TBufferBaseData* buffer = FItems[index];
    if (channel < CHANNEL_TABLE_LIMIT) {
        if (buffer->HoldsSingleValues()) {
            FSingleTable[channel] = static_cast<TBufferSingleData*>(buffer);
        } else {
            FIntTable[channel] = static_cast<TBufferIntData*>(buffer);
        }
        FTableUsed = std::max(FTableUsed, channel + 1);
    }
    return buffer;
}

template <class TBuffer>
TBuffer* TBufferDataList::CreateBuffer(std::uint32_t channel, int& index)
{
    auto buffer = std::make_unique<TBuffer>(FActiveQEL, channel);
    buffer->Utc = Utc;
    index = FItems.Count();
    // Named by the full index, so no two buffers of the list share a file.
    buffer->OpenSpill(FUseFileStream ? SpillFileName(static_cast<std::uint32_t>(index)) : std::string());
    TBuffer* created = buffer.get();
    FItems.Add(buffer.release());
    LookUpBuffer(channel);
    return created;
}

int TBufferDataList::AddIntDataSlow(std::uint32_t channel, std::int64_t time, std::int16_t value)
{
    TBufferBaseData* buffer = LookUpBuffer(channel);
    int index = -1;
    if (buffer == nullptr) {
        buffer = CreateBuffer<TBufferIntData>(channel, index);
    } else if (buffer->HoldsSingleValues()) {
        RaiseKindClash(channel, true);
    }
    static_cast<TBufferIntData*>(buffer)->AddIntData(time, value);
    return index;
}

int TBufferDataList::AddSingleDataSlow(std::uint32_t channel, std::int64_t time, float value)
{
    TBufferBaseData* buffer = LookUpBuffer(channel);
    int index = -1;
    if (buffer == nullptr) {
        buffer = CreateBuffer<TBufferSingleData>(channel, index);
    } else if (!buffer->HoldsSingleValues()) {
        RaiseKindClash(channel, false);
    }
    static_cast<TBufferSingleData*>(buffer)->AddSingleData(time, value);
    return index;
}

void TBufferDataList::EndRead()
{
    for (TBufferBaseData* buffer : FItems) {
        buffer->EndRead();
    }
}

void TBufferDataList::BeginSave()
{
    for (TBufferBaseData* buffer : FItems) {
        buffer->BeginSave();
    }
    SortNow();
}

void TBufferDataList::SortNow()
{
    FItems.Sort([](const TBufferBaseData* a, const TBufferBaseData* b) {
        const std::uint32_t snA = SerialOf(a);
        const std::uint32_t snB = SerialOf(b);
        if (snA != snB) {
            return snA < snB ? -1 : 1;
        }
        if (a->GetChannel() != b->GetChannel()) {
            return a->GetChannel() < b->GetChannel() ? -1 : 1;
        }
        return 0;
    });
    ForgetChannels();
}

void TBufferDataList::EndSave()
{
    for (TBufferBaseData* buffer : FItems) {
        buffer->EndSave();
    }
}

std::int64_t TBufferDataList::GetAllCnts() const
{
    std::int64_t sum = 0;
    for (const TBufferBaseData* buffer : FItems) {
        sum += buffer->GetCnt();
    }
    return sum > 0 ? sum : 1;
}

bool TBufferDataList::GetTMinTMax(std::int64_t& min, std::int64_t& max) const
{
    bool found = false;
    std::int64_t first = 0;
    std::int64_t last = 0;
    for (const TBufferBaseData* buffer : FItems) {
        if (buffer->GetCnt() <= 0) {
            continue;
        }
        if (!found || buffer->GetTMin() < first) {
            first = buffer->GetTMin();
        }
        if (!found || buffer->GetReadTime() > last) {
            last = buffer->GetReadTime();
        }
        found = true;
    }
    if (found) {
        min = first;
        max = last > first ? last : first;
    }
    return found;
}

bool TBufferDataList::GetMinSaveTime(std::int64_t& time) const
{
    bool found = false;
    for (const TBufferBaseData* buffer : FItems) {
        if (!buffer->GetSaveComplete() && (!found || buffer->GetSaveTime() < time)) {
            time = buffer->GetSaveTime();
            found = true;
        }
    }
    return found;
}

void TBufferDataList::ClearAll()
{
    ForgetChannels();
    FItems.Clear();
}

void TBufferDataList::CopyFrom(const TBufferDataList& from)
{
    SetActiveQEL(from.FActiveQEL);
    FUseFileStream = from.FUseFileStream;
    FileNameEx = from.FileNameEx;
    MultipleQEL = from.MultipleQEL;
    MissionData = from.MissionData;
    Utc = from.Utc;
}

void TBufferDataList::startRead()
{
    MissionData.bFirstReadQEL = true;
    MissionData.bValid = false;
    MissionData.bValidStartTime = false;
}

void TBufferDataList::nextRead()
{
    MissionData.bFirstReadQEL = false;
}

} // namespace qel
