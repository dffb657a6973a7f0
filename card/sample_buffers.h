// Sample buffers: one channel's time series of raw samples, delta-coded into
// chunks that spill to a file (or a memory stream), read back through a cursor.
#pragma once

#include "foundations/tick_time.h"
#include "platform/streams.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <type_traits>

namespace qel {

class TQEL;

// Encoding of one sample, little endian: a time field, then the value (2 bytes
// signed 16-bit or 4 bytes IEEE single).
// - Two-byte time: delta * 2 (bit 0 clear), delta = time - previous time of
//   the buffer, 0 <= delta <= 32767; the previous time is 0 before the first.
// - Eight-byte time: time * 2 + 1 (bit 0 set), for every other time. The
//   reader shifts it back keeping the sign, so negative times survive; times
//   must lie within +-2^62 ticks (about 140,000 years).
// A spill stream is a sequence of chunks: a 16-bit length L (1 to 65535),
// then L bytes of whole samples.
constexpr std::int64_t SAMPLE_SHORT_DELTA_MAX = 32767;
constexpr std::int32_t SAMPLE_MAX_SIZE = 12;               // eight-byte time + single
constexpr std::int32_t SAMPLE_CHUNK_CAPACITY = 32 * 1024;  // bytes of samples per chunk
constexpr std::int32_t SAMPLE_FIRST_CHUNK_ROOM = 1024;     // a buffer's chunk starts this small and grows

// A buffer of one logger channel. It holds one kind of value for its whole
// life. Filling: samples go into the chunk and full chunks into the spill
// stream. The chunk's memory doubles from SAMPLE_FIRST_CHUNK_ROOM up to
// SAMPLE_CHUNK_CAPACITY as samples arrive, so a channel of few samples stays
// small; a chunk is spilled only when it is full at SAMPLE_CHUNK_CAPACITY.
// Reading: BeginSave puts the cursor on the first sample and each
// GetSave...Value at the cursor's time takes it and moves on.
class TBufferBaseData {
public:
    virtual ~TBufferBaseData();
    TBufferBaseData(const TBufferBaseData&) = delete;
    TBufferBaseData& operator=(const TBufferBaseData&) = delete;

    // Spills to the file fileName, created empty (replacing an old one); an
    // empty name spills to memory. A file that cannot be created raises the
    // platform's file-create error.
    void OpenSpill(const std::string& fileName);

    TQEL* GetLinkQEL() const { return FLinkQEL; }   // the logger the samples belong to
    std::uint32_t GetChannel() const { return FChannel; }
    bool HoldsSingleValues() const { return FValueSize == 4; }
    std::int64_t GetCnt() const { return FCnt; }             // samples appended
    std::int64_t GetTMin() const { return FTMin; }           // time of the first sample
    std::int64_t GetReadTime() const { return FReadTime; }   // time of the last sample; 0 before the first
    const std::string& GetExtFileName() const { return FExtFileName; }   // empty for a memory spill

    // Writes the samples still in the chunk to the spill stream, empties the
    // chunk and closes a spill file (a memory spill stays). End of filling.
    void EndRead();

    // Puts the cursor on the first sample; on an empty buffer the cursor is
    // complete at once. Samples still in the chunk are spilled first.
    void BeginSave();
    // The cursor has passed the last sample. Times can be negative, so test
    // this flag rather than comparing GetSaveTime with -1.
    bool GetSaveComplete() const { return FSaveComplete; }
    // Time of the sample at the cursor, or -1 once the cursor is complete.
    std::int64_t GetSaveTime() const { return FSaveComplete ? -1 : FSaveTime; }
    // When the cursor's sample has this time: its value, the cursor moves on,
    // True. Otherwise False and nothing moves. Asking a buffer for the other
    // kind of value raises std::logic_error.
    bool GetSaveIntValue(std::int64_t time, std::int16_t& value);
    bool GetSaveSingleValue(std::int64_t time, float& value);
    // Moves the cursor to the next sample (whatever its kind); nothing once complete.
    void ReadNextValue();
    // Closes a spill file opened for reading.
    void EndSave() { CloseFileStream(); }

    // Frees the spill stream when it is a file (a memory spill stays).
    void CloseFileStream();
    // Deletes the spill file, when there is one.
    void DeleteFileStream();

    float CutterValue = 0.0f;       // a cell the save threads use while they build a row
    TQelUtc Utc;                    // UTC correction of the read, copied from the list
    std::uint32_t channel_sn = 0;   // radio-module channel: serial number
    std::uint16_t channel_id = 0;   //   and channel ID

protected:
    TBufferBaseData(TQEL* linkQEL, std::uint32_t channel, std::int32_t valueSize);

    // Appends a sample whose value is the low ValueSize bytes of valueBits
    // (ValueSize is FValueSize). One comparison guards the common case: room
    // in a chunk that is being filled, after the first sample.
    template <std::int32_t ValueSize>
    void AppendSample(std::int64_t time, std::uint32_t valueBits)
    {
        if (FChunkPos > FAppendLimit) [[unlikely]] {
            PrepareAppend(time);
        }
        // The fields are updated before the sample's bytes are stored, so
        // that nothing needs reading again after those byte stores.
        const std::int32_t pos = FChunkPos;
        std::uint8_t* at = FSamples + pos;
        // Unsigned arithmetic: wraps instead of overflowing, and the reader's
        // wrapping sum undoes it.
        const std::uint64_t delta = static_cast<std::uint64_t>(time) - static_cast<std::uint64_t>(FReadTime);
        FReadTime = time;
        ++FCnt;
        if (delta <= static_cast<std::uint64_t>(SAMPLE_SHORT_DELTA_MAX)) [[likely]] {
            FChunkPos = pos + 2 + ValueSize;
            if constexpr (ValueSize == 2) {
                // The two-byte time and the value in one store.
                StoreLE(at, static_cast<std::uint32_t>(delta << 1) | valueBits << 16);
            } else {
                StoreLE(at, static_cast<std::uint16_t>(delta << 1));
                StoreLE(at + 2, valueBits);
            }
        } else {
            FChunkPos = pos + 8 + ValueSize;
            StoreLE(at, static_cast<std::uint64_t>(time) << 1 | 1u);
            StoreLE(at + 8, static_cast<ValueBits<ValueSize>>(valueBits));
        }
    }

private:
    static constexpr std::int32_t CHUNK_HEADER = 2;   // room for the chunk's length word
    // While filling, spill writes end on multiples of this many bytes of the
    // spill stream: the file cache takes writes aligned to its large pages
    // for about half the system time of ragged ones. The bytes after the
    // last multiple wait at the front of the chunk memory until the next write.
    static constexpr std::int32_t SPILL_WRITE_ALIGN = 32768;

    // The unsigned type of a value of ValueSize bytes.
    template <std::int32_t ValueSize>
    using ValueBits = std::conditional_t<ValueSize == 2, std::uint16_t, std::uint32_t>;

    template <class T>
    static void StoreLE(std::uint8_t* at, T value)
    {
        static_assert(std::endian::native == std::endian::little, "samples are stored little endian");
        std::memcpy(at, &value, sizeof value);
    }

    // Before an append that the fast test stopped: grows or flushes a full
    // chunk, or starts filling again after EndRead or a save; notes the
    // first sample's time; then opens the fast test up to the chunk's room.
    void PrepareAppend(std::int64_t time);
    // Grows or flushes a full chunk, or starts filling again after EndRead or a save.
    void MakeRoom();
    // Gives the chunk room for at least room bytes of samples, keeping the
    // bytes before FChunkPos (the samples written so far).
    void ReserveChunk(std::int32_t room);
    void StartWriting();
    // Closes the chunk's samples as one chunk of the spill stream and writes
    // the bytes waiting before it and the chunk: all of them (whole), or up
    // to the last multiple of SPILL_WRITE_ALIGN, the rest waiting.
    void FlushChunk(bool whole);
    // FSamples after the chunk memory or the waiting bytes changed.
    void PlaceSamples() { FSamples = FChunk ? FChunk.get() + FCarry + CHUNK_HEADER : nullptr; }
    // Reads the next chunk of the spill stream; False at its end or when the
    // stream is truncated or corrupt.
    bool LoadChunk();
    void StopWriting();

    TQEL* FLinkQEL;                            // the logger the samples belong to
    std::uint32_t FChannel;                    // channel number the decoder gave
    std::int32_t FValueSize;                   // bytes per value: 2 or 4
    std::unique_ptr<plat::TStream> FExtStream; // where full chunks go; none while a spill file is closed
    std::string FExtFileName;                  // spill file; empty for a memory spill
    // The chunk memory: FCarry bytes of the spill stream waiting to be
    // written, the chunk's length word, room for FChunkRoom bytes of
    // samples; none before the first sample. A chunk of the full capacity
    // has room for up to SPILL_WRITE_ALIGN - 1 waiting bytes; smaller ones
    // never have any (bytes wait only after a full chunk was flushed, and
    // never while reading).
    std::unique_ptr<std::uint8_t[]> FChunk;
    std::int32_t FCarry = 0;                   // spill bytes waiting at the front of the chunk memory
    std::uint8_t* FSamples = nullptr;          // the chunk's first sample byte
    std::int32_t FChunkRoom = 0;               // bytes of samples the chunk has room for
    std::int32_t FChunkPos = 0;                // filling: bytes written; reading: bytes taken
    std::int32_t FChunkFill = 0;               // reading: bytes loaded into the chunk
    // Filling, after the first sample: FChunkRoom - SAMPLE_MAX_SIZE, so a
    // FChunkPos up to it has room for any sample; otherwise -1, which sends
    // every append through PrepareAppend.
    std::int32_t FAppendLimit = -1;
    bool FWriting = false;                     // filling; the spill stream stands at its end
    bool FSaveComplete = true;                 // the cursor has passed the last sample
    std::int64_t FSaveTime = 0;                // time of the sample at the cursor
    std::uint32_t FSaveValueBits = 0;          // its value, as its bits
    std::int64_t FReadTime = 0;                // time of the sample appended last; 0 before the first
    std::int64_t FCnt = 0;                     // samples appended
    std::int64_t FTMin = 0;                    // time of the first sample
};

// A buffer of raw signed 16-bit samples.
class TBufferIntData : public TBufferBaseData {
public:
    TBufferIntData(TQEL* linkQEL, std::uint32_t channel) : TBufferBaseData(linkQEL, channel, 2) {}

    void AddIntData(std::int64_t time, std::int16_t value)
    {
        AppendSample<2>(time, static_cast<std::uint16_t>(value));
    }
};

// A buffer of single-precision samples.
class TBufferSingleData : public TBufferBaseData {
public:
    TBufferSingleData(TQEL* linkQEL, std::uint32_t channel) : TBufferBaseData(linkQEL, channel, 4) {}

    void AddSingleData(std::int64_t time, float value) { AppendSample<4>(time, std::bit_cast<std::uint32_t>(value)); }
};

} // namespace qel
