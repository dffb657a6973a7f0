// Sample buffers: appending delta-coded samples in chunks, spilling the chunks
// to their stream, and the read cursor that decodes them again.
#include "card/sample_buffers.h"

#include "card/spill_file_reaper.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace qel {

namespace {

template <class T>
T LoadLE(const std::uint8_t* at)
{
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

} // namespace

TBufferBaseData::TBufferBaseData(TQEL* linkQEL, std::uint32_t channel, std::int32_t valueSize)
    : FLinkQEL(linkQEL), FChannel(channel), FValueSize(valueSize)
{
}

TBufferBaseData::~TBufferBaseData()
{
    FWriting = false;   // the samples in the chunk go with the buffer
    CloseFileStream();
    DeleteFileStream();
}

void TBufferBaseData::OpenSpill(const std::string& fileName)
{
    if (fileName.empty()) {
        FExtStream = std::make_unique<plat::TMemoryStream>();
    } else {
        FExtStream = std::make_unique<plat::TFileStream>(fileName, plat::fmCreate);
    }
    FExtFileName = fileName;   // only a file this buffer created is ever deleted
    FCarry = 0;
    PlaceSamples();
    FChunkPos = 0;
    FChunkFill = 0;
    FWriting = true;
    FAppendLimit = -1;
    FSaveComplete = true;
}

void TBufferBaseData::PrepareAppend(std::int64_t time)
{
    if (FChunkPos > FChunkRoom - SAMPLE_MAX_SIZE || !FWriting) {
        MakeRoom();
    }
    if (FCnt == 0) {
        FTMin = time;
    }
    FAppendLimit = FChunkRoom - SAMPLE_MAX_SIZE;
}

void TBufferBaseData::MakeRoom()
{
    if (!FWriting) {
        StartWriting();
    } else if (FChunkRoom == SAMPLE_CHUNK_CAPACITY) {
        FlushChunk(false);
    }
    if (FChunkPos > FChunkRoom - SAMPLE_MAX_SIZE) {
        ReserveChunk(std::min(SAMPLE_CHUNK_CAPACITY, std::max(SAMPLE_FIRST_CHUNK_ROOM, 2 * FChunkRoom)));
    }
}

void TBufferBaseData::ReserveChunk(std::int32_t room)
{
    if (room <= FChunkRoom) {
        return;
    }
    const std::int32_t carryRoom = room == SAMPLE_CHUNK_CAPACITY ? SPILL_WRITE_ALIGN : 0;
    auto chunk = std::make_unique_for_overwrite<std::uint8_t[]>(carryRoom + CHUNK_HEADER + room);
    if (FChunk) {
        std::copy_n(FChunk.get(), FCarry + CHUNK_HEADER + FChunkPos, chunk.get());
    }
    FChunk = std::move(chunk);
    FChunkRoom = room;
    PlaceSamples();
}

void TBufferBaseData::StartWriting()
{
    if (!FExtFileName.empty()) {
        FExtStream.reset();
        FExtStream = std::make_unique<plat::TFileStream>(FExtFileName, plat::fmOpenReadWrite);
    } else if (!FExtStream) {
        FExtStream = std::make_unique<plat::TMemoryStream>();
    }
    FExtStream->Seek(0, plat::soEnd);
    FChunkPos = 0;
    FChunkFill = 0;
    FWriting = true;
    FSaveComplete = true;   // the chunk no longer holds the cursor's samples
}

void TBufferBaseData::FlushChunk(bool whole)
{
    std::int32_t pending = FCarry;
    if (FChunkPos > 0) {
        StoreLE(FChunk.get() + FCarry, static_cast<std::uint16_t>(FChunkPos));
        pending += CHUNK_HEADER + FChunkPos;
    }
    const std::int32_t now = whole ? pending : pending / SPILL_WRITE_ALIGN * SPILL_WRITE_ALIGN;
    if (now > 0) {
        FExtStream->WriteBuffer(FChunk.get(), now);
    }
    FCarry = pending - now;
    assert(FCarry == 0 || (FCarry < SPILL_WRITE_ALIGN && FChunkRoom == SAMPLE_CHUNK_CAPACITY));
    if (FCarry > 0) {
        std::memmove(FChunk.get(), FChunk.get() + now, static_cast<std::size_t>(FCarry));
    }
    FChunkPos = 0;
    PlaceSamples();
}

void TBufferBaseData::StopWriting()
{
    FlushChunk(true);
    FWriting = false;
    FAppendLimit = -1;
    FChunkFill = 0;
}

void TBufferBaseData::EndRead()
{
    if (FWriting) {
        StopWriting();
    }
    CloseFileStream();
}

void TBufferBaseData::BeginSave()
{
    if (FWriting) {
        StopWriting();
    }
    if (!FExtFileName.empty()) {
        FExtStream.reset();
        FExtStream = std::make_unique<plat::TFileStream>(FExtFileName, plat::fmOpenRead);
    } else if (FExtStream) {
        FExtStream->SetPosition(0);
    }
    FChunkPos = 0;
    FChunkFill = 0;
    FSaveComplete = false;
    FSaveTime = 0;   // the first sample's two-byte form counts from 0, as it was written
    ReadNextValue();
}

bool TBufferBaseData::LoadChunk()
{
    if (!FExtStream) {
        return false;
    }
    const std::int64_t left = FExtStream->Size() - FExtStream->Position();
    if (left < 4) {
        return false;
    }
    std::uint8_t word[2];
    FExtStream->ReadBuffer(word, sizeof word);
    const std::int32_t length = word[0] | word[1] << 8;
    if (length == 0 || length > left - 2 || length > SAMPLE_CHUNK_CAPACITY) {
        return false;
    }
    ReserveChunk(length);
    FExtStream->ReadBuffer(FSamples, length);
    FChunkPos = 0;
    FChunkFill = length;
    return true;
}

void TBufferBaseData::ReadNextValue()
{
    if (FSaveComplete) {
        return;
    }
    if (FChunkFill - FChunkPos < 4 && !LoadChunk()) {
        FSaveComplete = true;
        return;
    }
    const std::uint8_t* at = FSamples + FChunkPos;
    const auto word = LoadLE<std::uint16_t>(at);
    const std::int32_t timeSize = (word & 1) != 0 ? 8 : 2;
    if (timeSize + FValueSize > FChunkFill - FChunkPos) {
        FSaveComplete = true;   // a sample cut short: the spill stream is corrupt
        return;
    }
    if ((word & 1) != 0) {
        FSaveTime = static_cast<std::int64_t>(LoadLE<std::uint64_t>(at)) >> 1;
    } else {
        FSaveTime = static_cast<std::int64_t>(static_cast<std::uint64_t>(FSaveTime) + (word >> 1));
    }
    FSaveValueBits = FValueSize == 2 ? LoadLE<std::uint16_t>(at + timeSize) : LoadLE<std::uint32_t>(at + timeSize);
    FChunkPos += timeSize + FValueSize;
}

bool TBufferBaseData::GetSaveIntValue(std::int64_t time, std::int16_t& value)
{
    if (HoldsSingleValues()) {
        throw std::logic_error("channel " + std::to_string(FChannel) + " holds single values, not 16-bit values");
    }
    if (FSaveComplete || FSaveTime != time) {
        return false;
    }
    value = static_cast<std::int16_t>(FSaveValueBits);
    ReadNextValue();
    return true;
}

bool TBufferBaseData::GetSaveSingleValue(std::int64_t time, float& value)
{
    if (!HoldsSingleValues()) {
        throw std::logic_error("channel " + std::to_string(FChannel) + " holds 16-bit values, not single values");
    }
    if (FSaveComplete || FSaveTime != time) {
        return false;
    }
    value = std::bit_cast<float>(FSaveValueBits);
    ReadNextValue();
    return true;
}

void TBufferBaseData::CloseFileStream()
{
    if (FExtFileName.empty()) {
        return;   // a memory spill stays
    }
    if (FWriting) {
        StopWriting();
    }
    FExtStream.reset();
}

void TBufferBaseData::DeleteFileStream()
{
    if (!FExtFileName.empty()) {
        DisposeSpillFile(FExtFileName);
    }
}

} // namespace qel
