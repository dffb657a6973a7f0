// Block file writer and reader over zlib: the blocks are compressed one after
// the other into a single zlib stream at level 1.
#include "export/data_file.h"

#include "foundations/settings.h"
#include "platform/atomic_file.h"
#include "platform/text_encoding.h"

#include <algorithm>
#include <array>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>
#include <bit>
#include <cmath>
#include <cstring>
#include <sched.h>
#include <zlib.h>

namespace qel {

namespace {

constexpr std::size_t kZBufferSize = 1 << 16;
constexpr std::uint16_t kHeaderVersion = 1;
constexpr std::int64_t kHeaderPayload = 15;

std::string BlockText(std::uint16_t type, const std::string& fileName)
{
    return "block " + std::to_string(type) + " of \"" + fileName + "\"";
}

std::string ZMessage(const z_stream& z, int code)
{
    return z.msg != nullptr ? z.msg : "zlib error " + std::to_string(code);
}

// The 80-bit extended format: sign and 15-bit exponent (bias 16383) in the
// top two bytes, then the 64-bit mantissa with an explicit integer bit.
std::array<std::uint8_t, 10> ToExtended(double value)
{
    std::array<std::uint8_t, 10> bytes{};
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
    const std::uint16_t sign = static_cast<std::uint16_t>(bits >> 63) << 15;
    const int exponent = static_cast<int>(bits >> 52 & 0x7FF);
    std::uint64_t fraction = bits & 0xFFFFFFFFFFFFFull;
    std::uint16_t top = sign;
    std::uint64_t mantissa = 0;
    if (exponent == 0x7FF) { // infinity or NaN
        top |= 0x7FFF;
        mantissa = 1ull << 63 | fraction << 11;
    } else if (exponent != 0) {
        top |= static_cast<std::uint16_t>(exponent - 1023 + 16383);
        mantissa = 1ull << 63 | fraction << 11;
    } else if (fraction != 0) { // a subnormal double is a normal extended
        // fraction * 2^-1074 = (mantissa / 2^63) * 2^(63 - 1074 - shift)
        const int shift = std::countl_zero(fraction);
        mantissa = fraction << shift;
        top |= static_cast<std::uint16_t>(63 - 1074 - shift + 16383);
    }
    std::memcpy(bytes.data(), &mantissa, 8);
    std::memcpy(bytes.data() + 8, &top, 2);
    return bytes;
}

double FromExtended(const std::array<std::uint8_t, 10>& bytes)
{
    std::uint64_t mantissa = 0;
    std::uint16_t top = 0;
    std::memcpy(&mantissa, bytes.data(), 8);
    std::memcpy(&top, bytes.data() + 8, 2);
    const bool negative = (top & 0x8000) != 0;
    const int exponent = top & 0x7FFF;
    double value = 0.0;
    if (exponent == 0x7FFF) {
        value = (mantissa << 1) == 0 ? HUGE_VAL : std::nan("");
    } else {
        value = std::ldexp(static_cast<double>(mantissa), std::max(exponent, 1) - 16383 - 63);
    }
    return negative ? -value : value;
}

} // namespace

// The read side's decompressor.
struct TDataFile::TZStream {
    z_stream z{};
    bool ended = false;   // the stream end or an error was met
    std::array<std::uint8_t, kZBufferSize> buffer{}; // compressed bytes read from the file

    ~TZStream() { inflateEnd(&z); }
};

// The write side's compressor: one zlib stream (header 78 01, Deflate data,
// Adler-32 trailer) compressed in parallel. The blocks are gathered into
// chunks of kChunkSize bytes; each chunk is deflated at level 1 on a worker,
// primed with the last 32 KiB of the chunk before it as its dictionary and
// ended by a sync flush (the last chunk by the final block), so the chunks'
// outputs joined in order form one Deflate stream. The writer hands a full
// chunk over and writes the finished ones in order; at most kSlots chunks
// are in flight, so memory stays flat.
class TDataFile::TCompressor {
public:
    TCompressor(plat::TStream& file, std::string fileName)
        : FFile(file), FFileName(std::move(fileName)), FSlots(kSlots)
    {
        static constexpr std::uint8_t header[2] = {0x78, 0x01}; // Deflate, 32 KiB window, fastest level
        FFile.WriteBuffer(header, sizeof header);
        const unsigned workers = WorkerCount();
        try {
            for (unsigned i = 0; i < workers; ++i) {
                FWorkers.emplace_back([this] { Work(); });
            }
        } catch (...) {
            StopWorkers();
            throw;
        }
    }

    // Stops the workers; whatever is not written yet is dropped.
    ~TCompressor() { StopWorkers(); }

    void Append(const void* data, std::size_t count)
    {
        std::vector<std::uint8_t>& input = FSlots[FFill].input;
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        input.insert(input.end(), bytes, bytes + count);
        if (input.size() >= kChunkSize) {
            HandOver(false);
        }
    }

    // Compresses the rest, writes every chunk and the trailer.
    void Finish()
    {
        HandOver(true);
        while (FWritten != FQueued) {
            WriteOldest();
        }
        const std::uint8_t trailer[4] = {static_cast<std::uint8_t>(FAdler >> 24), static_cast<std::uint8_t>(FAdler >> 16),
                                         static_cast<std::uint8_t>(FAdler >> 8), static_cast<std::uint8_t>(FAdler)};
        FFile.WriteBuffer(trailer, sizeof trailer);
    }

private:
    void StopWorkers()
    {
        {
            std::lock_guard lock(FLock);
            FStop = true;
        }
        FWake.notify_all();
        for (std::thread& worker : FWorkers) {
            worker.join();
        }
        FWorkers.clear();
    }

    static constexpr std::size_t kChunkSize = 512 * 1024;
    static constexpr std::size_t kWindow = 32 * 1024;
    static constexpr std::size_t kSlots = 8;
    static constexpr unsigned kMaxWorkers = 4;

    enum class TState { Filling, Queued, Running, Done };

    struct TSlot {
        std::vector<std::uint8_t> input;      // the uncompressed chunk
        std::vector<std::uint8_t> dictionary; // the 32 KiB before it
        std::vector<std::uint8_t> output;     // its Deflate data
        std::uint32_t adler = 1;              // Adler-32 of the input
        bool last = false;                    // ends the stream
        TState state = TState::Filling;
        std::uint64_t sequence = 0;           // order of hand-over
        std::exception_ptr error;
    };

    // One worker per core this process may use beside the writer.
    static unsigned WorkerCount()
    {
        unsigned cores = std::thread::hardware_concurrency();
        cpu_set_t allowed;
        CPU_ZERO(&allowed);
        if (sched_getaffinity(0, sizeof allowed, &allowed) == 0) {
            cores = static_cast<unsigned>(CPU_COUNT(&allowed));
        }
        return std::clamp(cores > 1 ? cores - 1 : 1u, 1u, kMaxWorkers);
    }

    void HandOver(bool last)
    {
        const std::size_t previous = FFill;
        {
            std::lock_guard lock(FLock);
            TSlot& slot = FSlots[FFill];
            slot.last = last;
            slot.sequence = FQueued++;
            slot.state = TState::Queued;
        }
        FWake.notify_one();
        FFill = (FFill + 1) % FSlots.size();
        if (last) {
            return;
        }
        if (FQueued - FWritten == FSlots.size()) {
            WriteOldest(); // the slot to fill next is the oldest in flight
        }
        const std::vector<std::uint8_t>& before = FSlots[previous].input;
        const std::size_t window = std::min(before.size(), kWindow);
        TSlot& next = FSlots[FFill];
        next.dictionary.assign(before.end() - static_cast<std::ptrdiff_t>(window), before.end());
        next.input.clear();
        std::lock_guard lock(FLock);
        next.state = TState::Filling;
    }

    // Waits for the oldest chunk in flight and writes it out.
    void WriteOldest()
    {
        TSlot& slot = FSlots[FWritten % FSlots.size()];
        {
            std::unique_lock lock(FLock);
            FDone.wait(lock, [&slot] { return slot.state == TState::Done; });
        }
        if (slot.error) {
            std::rethrow_exception(slot.error);
        }
        FFile.WriteBuffer(slot.output.data(), static_cast<std::int64_t>(slot.output.size()));
        FAdler = static_cast<std::uint32_t>(adler32_combine(FAdler, slot.adler, static_cast<z_off_t>(slot.input.size())));
        ++FWritten;
    }

    void Work()
    {
        z_stream z{};
        const bool ready = deflateInit2(&z, Z_BEST_SPEED, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) == Z_OK;
        std::unique_lock lock(FLock);
        for (;;) {
            TSlot* job = nullptr;
            FWake.wait(lock, [&] { return FStop || (job = OldestQueued()) != nullptr; });
            if (job == nullptr) {
                break;
            }
            job->state = TState::Running;
            lock.unlock();
            try {
                if (!ready) {
                    throw plat::EWriteError("Cannot start compressing \"" + FFileName + "\"");
                }
                Compress(z, *job);
            } catch (...) {
                job->error = std::current_exception();
            }
            lock.lock();
            job->state = TState::Done;
            FDone.notify_all();
        }
        lock.unlock();
        deflateEnd(&z);
    }

    // Under FLock: the queued chunk handed over first; nullptr when none.
    TSlot* OldestQueued()
    {
        TSlot* oldest = nullptr;
        for (TSlot& slot : FSlots) {
            if (slot.state == TState::Queued && (oldest == nullptr || slot.sequence < oldest->sequence)) {
                oldest = &slot;
            }
        }
        return oldest;
    }

    void Compress(z_stream& z, TSlot& job)
    {
        job.adler = static_cast<std::uint32_t>(adler32(adler32(0, nullptr, 0), job.input.data(),
                                                        static_cast<uInt>(job.input.size())));
        deflateReset(&z);
        if (!job.dictionary.empty()) {
            deflateSetDictionary(&z, job.dictionary.data(), static_cast<uInt>(job.dictionary.size()));
        }
        job.output.resize(deflateBound(&z, static_cast<uLong>(job.input.size())) + 64);
        z.next_in = job.input.data();
        z.avail_in = static_cast<uInt>(job.input.size());
        z.next_out = job.output.data();
        z.avail_out = static_cast<uInt>(job.output.size());
        const int flush = job.last ? Z_FINISH : Z_SYNC_FLUSH;
        for (;;) {
            const int code = deflate(&z, flush);
            if (code != Z_OK && code != Z_STREAM_END && code != Z_BUF_ERROR) {
                throw plat::EWriteError("Cannot compress \"" + FFileName + "\": " + ZMessage(z, code));
            }
            const bool done = job.last ? code == Z_STREAM_END : z.avail_in == 0 && z.avail_out != 0;
            if (done) {
                break;
            }
            const std::size_t used = job.output.size() - z.avail_out;
            job.output.resize(job.output.size() * 2);
            z.next_out = job.output.data() + used;
            z.avail_out = static_cast<uInt>(job.output.size() - used);
        }
        job.output.resize(job.output.size() - z.avail_out);
    }

    plat::TStream& FFile;
    std::string FFileName;
    std::vector<TSlot> FSlots;          // a ring: filled, handed over and written in turn
    std::size_t FFill = 0;              // the slot the writer fills
    std::uint64_t FQueued = 0;          // chunks handed over
    std::uint64_t FWritten = 0;         // chunks written; the oldest in flight is FWritten % kSlots
    std::uint32_t FAdler = 1;           // Adler-32 of the chunks written
    std::mutex FLock;                   // guards the slots' state, sequence, output and error
    std::condition_variable FWake;      // to the workers: a chunk or the stop
    std::condition_variable FDone;      // to the writer: a chunk is done
    bool FStop = false;
    std::vector<std::thread> FWorkers;
};

TDataFile::TDataFile(TMode mode, std::string fileName) : FFileName(std::move(fileName))
{
    if (mode == TMode::Save) {
        FSaveFile = std::make_unique<plat::TAtomicFileStream>(FFileName);
        FCompressor = std::make_unique<TCompressor>(*FSaveFile, FFileName);
    } else {
        FLoadFile = std::make_unique<plat::TBufferedFileStream>(FFileName, plat::fmOpenRead);
        ZipStream = std::make_unique<TZStream>();
        if (inflateInit(&ZipStream->z) != Z_OK) {
            throw plat::EFOpenError("Cannot start decompressing \"" + FFileName + "\"");
        }
    }
    BufStream.SetCapacity(BLOCK_PAYLOAD_MAX + 1);
}

TDataFile::~TDataFile() = default;

std::unique_ptr<TDataFile> TDataFile::CreateSave(const std::string& sFileName)
{
    std::unique_ptr<TDataFile> file(new TDataFile(TMode::Save, sFileName));
    file->NewBlock(BLOCK_HEADER);
    file->WriteString(DATA_FILE_MAGIC);
    file->WriteWord(kHeaderVersion);
    file->WriteWord(0);
    file->WriteBlock();
    return file;
}

std::unique_ptr<TDataFile> TDataFile::CreateLoad(const std::string& sFileName)
{
    return std::unique_ptr<TDataFile>(new TDataFile(TMode::Load, sFileName));
}

void TDataFile::NewBlock(std::uint16_t wsType)
{
    BufStream.SetSize(0);
    FBlockType = wsType;
}

void TDataFile::CheckPayloadSize(std::int64_t size) const
{
    if (size > BLOCK_PAYLOAD_MAX) {
        throw plat::EWriteError("The payload of " + BlockText(FBlockType, FFileName) + " has " + std::to_string(size) +
                                " bytes, more than a block can hold (" + std::to_string(BLOCK_PAYLOAD_MAX) + ")");
    }
}

void TDataFile::WriteBlock()
{
    const std::int64_t size = BufStream.Size();
    if (size == 0) {
        return;
    }
    CheckPayloadSize(size);
    CheckWritable();
    const std::uint16_t head[2] = {FBlockType, static_cast<std::uint16_t>(size)};
    FCompressor->Append(head, sizeof head);
    FCompressor->Append(BufStream.Memory(), static_cast<std::size_t>(size));
    BufStream.SetSize(0);
}

void TDataFile::CheckWritable() const
{
    if (!FCompressor) {
        throw plat::EWriteError("\"" + FFileName + "\" is not open for writing");
    }
}

std::unique_ptr<plat::TAtomicFileStream> TDataFile::Complete()
{
    CheckWritable();
    std::unique_ptr<TCompressor> compressor = std::move(FCompressor);
    compressor->Finish();
    compressor.reset();
    return std::move(FSaveFile);
}

void TDataFile::WriteExtended(double dData)
{
    const std::array<std::uint8_t, 10> bytes = ToExtended(dData);
    Append(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

void TDataFile::WriteString(const std::string& sData)
{
    const std::string ansi = plat::Utf8ToAnsi(sData);
    if (ansi.size() > static_cast<std::size_t>(BLOCK_PAYLOAD_MAX)) {
        throw plat::EWriteError("A text of " + std::to_string(ansi.size()) + " bytes in " +
                                BlockText(FBlockType, FFileName) + " is longer than a string can hold");
    }
    WriteWord(static_cast<std::uint16_t>(ansi.size()));
    Append(ansi.data(), static_cast<std::int64_t>(ansi.size()));
}

std::size_t TDataFile::Inflate(void* data, std::size_t count)
{
    if (!ZipStream || ZipStream->ended || count == 0) {
        return 0;
    }
    z_stream& z = ZipStream->z;
    z.next_out = static_cast<Bytef*>(data);
    z.avail_out = static_cast<uInt>(count);
    while (z.avail_out > 0) {
        if (z.avail_in == 0) {
            const std::int64_t got =
                FLoadFile->Read(ZipStream->buffer.data(), static_cast<std::int64_t>(ZipStream->buffer.size()));
            if (got <= 0) {
                break; // the file ends inside the stream
            }
            z.next_in = ZipStream->buffer.data();
            z.avail_in = static_cast<uInt>(got);
        }
        const int code = inflate(&z, Z_NO_FLUSH);
        if (code != Z_OK) { // the stream end, or corrupt data
            ZipStream->ended = true;
            break;
        }
    }
    return count - z.avail_out;
}

bool TDataFile::ReadBlock()
{
    BufStream.SetSize(0);
    std::uint16_t head[2] = {0, 0};
    if (Inflate(head, sizeof head) == sizeof head) {
        FBlockType = head[0];
        BufStream.SetSize(head[1]);
        const std::size_t got = Inflate(BufStream.Memory(), head[1]);
        BufStream.SetSize(static_cast<std::int64_t>(got));
    }
    BufStream.SetPosition(0);
    return BufStream.Size() > 0;
}

bool TDataFile::IsLoadOk()
{
    if (!ReadBlock() || FBlockType != BLOCK_HEADER || BufStream.Size() != kHeaderPayload) {
        return false;
    }
    std::uint16_t length = 0;
    BufStream.ReadBuffer(&length, sizeof length);
    if (length != DATA_FILE_MAGIC.size()) {
        return false;
    }
    const std::string magic(reinterpret_cast<const char*>(BufStream.Memory()) + BufStream.Position(), length);
    BufStream.Seek(length, plat::soCurrent);
    return magic == DATA_FILE_MAGIC || (RegSettings.iRegIntern == INTERN_MODE_CODE && magic == DATA_FILE_MAGIC_INTERN);
}

std::int32_t TDataFile::ReadLongint()
{
    std::int32_t value = 0;
    BufStream.ReadBuffer(&value, sizeof value);
    return value;
}

std::int16_t TDataFile::ReadSmallint()
{
    std::int16_t value = 0;
    BufStream.ReadBuffer(&value, sizeof value);
    return value;
}

std::uint16_t TDataFile::ReadWord()
{
    std::uint16_t value = 0;
    BufStream.ReadBuffer(&value, sizeof value);
    return value;
}

float TDataFile::ReadSingle()
{
    float value = 0;
    BufStream.ReadBuffer(&value, sizeof value);
    return value;
}

double TDataFile::ReadDouble()
{
    double value = 0;
    BufStream.ReadBuffer(&value, sizeof value);
    return value;
}

double TDataFile::ReadExtended()
{
    std::array<std::uint8_t, 10> bytes{};
    BufStream.ReadBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    return FromExtended(bytes);
}

std::string TDataFile::ReadString()
{
    const std::uint16_t length = ReadWord();
    if (length == 0) {
        return " ";
    }
    std::string ansi(length, '\0');
    BufStream.ReadBuffer(ansi.data(), length);
    return plat::AnsiToUtf8(ansi);
}

void TDataFile::CopyBlock(const TDataFile& DataFile)
{
    FBlockType = DataFile.FBlockType;
    BufStream.SetSize(0);
    BufStream.Write(DataFile.BufStream.Memory(), DataFile.BufStream.Size());
}

void TDataFile::storeBufStream(plat::TStream& stream) const
{
    const std::int64_t size = BufStream.Size();
    if (size == 0) {
        return;
    }
    CheckPayloadSize(size);
    const std::int32_t head[2] = {FBlockType, static_cast<std::int32_t>(size)};
    stream.WriteBuffer(head, sizeof head);
    stream.WriteBuffer(BufStream.Memory(), size);
}

bool TDataFile::restoreBufStream(plat::TStream& stream)
{
    std::int32_t head[2] = {0, 0};
    if (stream.Size() - stream.Position() < static_cast<std::int64_t>(sizeof head)) {
        return false;
    }
    stream.ReadBuffer(head, sizeof head);
    const std::int64_t length = head[1];
    if (length < 0 || length > BLOCK_PAYLOAD_MAX || stream.Size() - stream.Position() < length) {
        return false;
    }
    FBlockType = static_cast<std::uint16_t>(head[0]);
    BufStream.SetSize(length);
    stream.ReadBuffer(BufStream.Memory(), length);
    BufStream.SetPosition(0);
    return true;
}

} // namespace qel
