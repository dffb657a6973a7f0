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

// The write side's compressor. It deflates on a thread of its own, so that
// the writer builds the next blocks while the last ones are compressed: the
// blocks are gathered into a chunk, and a full chunk is handed to the worker
// once it has finished the one before. Memory stays at two chunks.
class TDataFile::TCompressor {
public:
    TCompressor(plat::TAtomicFileStream& file, std::string fileName) : FFile(file), FFileName(std::move(fileName))
    {
        if (deflateInit(&FZ, Z_BEST_SPEED) != Z_OK) {
            throw plat::EFCreateError("Cannot start compressing \"" + FFileName + "\"");
        }
        FFilling.reserve(kChunkSize + BLOCK_PAYLOAD_MAX + 4);
        FWorking.reserve(kChunkSize + BLOCK_PAYLOAD_MAX + 4);
        FThread = std::thread([this] { Work(); });
    }

    // Stops the worker; whatever is not compressed yet is dropped.
    ~TCompressor()
    {
        Stop();
        deflateEnd(&FZ);
    }

    // Raises the worker's error, if it had one.
    void Append(const void* data, std::size_t count)
    {
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        FFilling.insert(FFilling.end(), bytes, bytes + count);
        if (FFilling.size() >= kChunkSize) {
            HandOver();
        }
    }

    // Compresses the rest, ends the zlib stream and writes it out.
    void Finish()
    {
        if (!FFilling.empty()) {
            HandOver();
        }
        WaitIdle();
        Stop();
        Deflate(nullptr, 0, Z_FINISH);
    }

private:
    static constexpr std::size_t kChunkSize = 256 * 1024;

    void HandOver()
    {
        {
            std::unique_lock lock(FLock);
            FIdle.wait(lock, [this] { return !FBusy; });
            if (FError) {
                std::rethrow_exception(FError);
            }
            std::swap(FFilling, FWorking);
            FBusy = true;
        }
        FWake.notify_one();
        FFilling.clear();
    }

    void WaitIdle()
    {
        std::unique_lock lock(FLock);
        FIdle.wait(lock, [this] { return !FBusy; });
        if (FError) {
            std::rethrow_exception(FError);
        }
    }

    void Stop()
    {
        if (!FThread.joinable()) {
            return;
        }
        {
            std::lock_guard lock(FLock);
            FStop = true;
        }
        FWake.notify_one();
        FThread.join();
    }

    void Work()
    {
        std::unique_lock lock(FLock);
        for (;;) {
            FWake.wait(lock, [this] { return FBusy || FStop; });
            if (!FBusy) {
                return;
            }
            lock.unlock();
            std::exception_ptr error;
            try {
                Deflate(FWorking.data(), FWorking.size(), Z_NO_FLUSH);
            } catch (...) {
                error = std::current_exception();
            }
            lock.lock();
            FError = error;
            FBusy = false;
            FIdle.notify_one();
            if (FError) {
                return;
            }
        }
    }

    void Deflate(const std::uint8_t* data, std::size_t count, int flush)
    {
        FZ.next_in = const_cast<Bytef*>(data);
        FZ.avail_in = static_cast<uInt>(count);
        for (;;) {
            FZ.next_out = FOut.data();
            FZ.avail_out = static_cast<uInt>(FOut.size());
            const int code = deflate(&FZ, flush);
            if (code != Z_OK && code != Z_STREAM_END && code != Z_BUF_ERROR) {
                throw plat::EWriteError("Cannot compress \"" + FFileName + "\": " + ZMessage(FZ, code));
            }
            FFile.WriteBuffer(FOut.data(), static_cast<std::int64_t>(FOut.size() - FZ.avail_out));
            const bool done = flush == Z_FINISH ? code == Z_STREAM_END : FZ.avail_in == 0 && FZ.avail_out != 0;
            if (done) {
                return;
            }
        }
    }

    plat::TAtomicFileStream& FFile;
    std::string FFileName;
    z_stream FZ{};                            // used by the worker, and by Finish once it has stopped
    std::array<std::uint8_t, kZBufferSize> FOut{}; // compressed bytes on their way to the file
    std::vector<std::uint8_t> FFilling;       // blocks gathered by the writer
    std::vector<std::uint8_t> FWorking;       // the chunk the worker compresses (while FBusy)
    std::mutex FLock;                         // guards the three fields below
    std::condition_variable FWake;            // to the worker: a chunk or the stop
    std::condition_variable FIdle;            // to the writer: the worker is free
    bool FBusy = false;                       // FWorking holds a chunk to compress
    bool FStop = false;
    std::exception_ptr FError;                // the worker's failure; it stops then
    std::thread FThread;
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

void TDataFile::Commit()
{
    CheckWritable();
    std::unique_ptr<TCompressor> compressor = std::move(FCompressor);
    compressor->Finish();
    compressor.reset();
    FSaveFile->Commit();
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
