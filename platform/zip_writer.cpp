// Zip archive writer: the compression pipeline (worker threads, in-order
// write-out), local and central headers, Zip64 records and the end record.
#include "platform/zip_writer.h"

#include "platform/atomic_file.h"
#include "platform/date_time.h"
#include "platform/zip_format.h"
#include "platform/zip_reader.h"

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <sched.h>
#include <thread>
#include <vector>

namespace plat {

namespace {

using namespace zipformat;

constexpr std::uint16_t kVersionDeflate = 20;         // 2.0: Deflate
constexpr std::uint16_t kVersionZip64 = 45;           // 4.5: Zip64 records
constexpr std::uint16_t kMadeByUnix = 3 << 8;         // attributes are Unix modes
constexpr std::uint32_t kRegularFileAttributes = 0100644u << 16;
constexpr std::uint16_t kFlagUtf8Name = 1 << 11;
constexpr unsigned kMaxCompressionThreads = 16;
constexpr std::size_t kSmallEntry = 4096;   // entries below this size are compressed by the caller

// Little-endian fields gathered for one header, written in one call.
class THeaderBytes {
public:
    void U16(std::uint32_t value)
    {
        FBytes.push_back(static_cast<std::uint8_t>(value));
        FBytes.push_back(static_cast<std::uint8_t>(value >> 8));
    }
    void U32(std::uint32_t value)
    {
        U16(value & 0xFFFF);
        U16(value >> 16);
    }
    void U64(std::uint64_t value)
    {
        U32(static_cast<std::uint32_t>(value));
        U32(static_cast<std::uint32_t>(value >> 32));
    }
    void Text(const std::string& text) { FBytes.insert(FBytes.end(), text.begin(), text.end()); }
    void WriteTo(TStream& out) const { out.WriteBuffer(FBytes.data(), static_cast<std::int64_t>(FBytes.size())); }
    void Clear() { FBytes.clear(); }

private:
    std::vector<std::uint8_t> FBytes;
};

bool HasNonAsciiByte(const std::string& text)
{
    return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

// One entry on its way through the pipeline: the content, then its
// compressed form and CRC once a compressor has been over it.
struct TEntryJob {
    std::string Name;
    std::vector<std::uint8_t> Input;
    std::vector<std::uint8_t> Output;   // compressed bytes, OutputSize of them valid
    std::size_t OutputSize = 0;
    std::uint32_t Crc = 0;
    bool Done = false;                  // compressed (or failed); guarded by the pipeline lock
    std::exception_ptr Error;           // what compressing raised
};

// A Deflate compressor of one thread (the library's compressor is not shared).
class TDeflater {
public:
    TDeflater() = default;
    ~TDeflater()
    {
        if (FCompressor) {
            libdeflate_free_compressor(FCompressor);
        }
    }
    TDeflater(const TDeflater&) = delete;
    TDeflater& operator=(const TDeflater&) = delete;

    // Fills Crc, Output and OutputSize of job, or its Error.
    void Compress(TEntryJob& job)
    {
        try {
            if (!FCompressor) {
                FCompressor = libdeflate_alloc_compressor(TZipFile::kDeflateLevel);
                if (!FCompressor) {
                    throw std::bad_alloc();
                }
            }
            const std::size_t size = job.Input.size();
            job.Crc = static_cast<std::uint32_t>(crc32_z(0, job.Input.data(), size));
            job.Output.resize(libdeflate_deflate_compress_bound(FCompressor, size));
            job.OutputSize =
                libdeflate_deflate_compress(FCompressor, job.Input.data(), size, job.Output.data(), job.Output.size());
            if (job.OutputSize == 0) {
                throw EWriteError("Cannot compress zip entry \"" + job.Name + "\"");
            }
        } catch (...) {
            job.Error = std::current_exception();
        }
    }

private:
    libdeflate_compressor* FCompressor = nullptr;
};

// What the central directory keeps of each written entry.
struct TCentralEntry {
    std::string Name;
    std::uint64_t Offset;
    std::uint64_t Size;
    std::uint64_t CompressedSize;
    std::uint32_t Crc;
};

} // namespace

struct TZipFile::TImpl {
    unsigned Threads = DefaultThreads();
    std::uint64_t Zip64Threshold = kMax32;

    // The archive being written (null when none is open).
    std::unique_ptr<TAtomicFileStream> Out;
    std::string FileName;
    std::uint16_t DosTime = 0;          // stamp of every entry: the local time of Open
    std::uint16_t DosDate = 0;
    std::vector<TCentralEntry> Central; // the entries written so far, in order
    std::int64_t Added = 0;             // entries added, written or pending
    THeaderBytes Header;                // scratch for the header being built

    // Pipeline. InFlight holds the added entries not yet written, in the
    // order added: the front is the next one written. Pending holds those of
    // them that no compressor has taken yet. Workers take from Pending and
    // set Done; only the caller's thread writes, so entries reach the file
    // in order and write errors reach the caller.
    std::mutex Lock;
    std::condition_variable WorkReady;   // Pending grew, or Stopping
    std::condition_variable JobDone;     // some job's Done was set
    std::deque<std::unique_ptr<TEntryJob>> InFlight;
    std::deque<TEntryJob*> Pending;
    std::vector<std::unique_ptr<TEntryJob>> Spare;   // written jobs, kept for their buffers
    std::vector<std::jthread> Workers;
    bool Stopping = false;
    TDeflater CallerDeflater;            // compresses on the caller thread: small entries, or all without workers

    // One per core this process may run on (its affinity, as taskset or a
    // container sets it); none on a single core.
    static unsigned DefaultThreads()
    {
        cpu_set_t allowed;
        unsigned cores = std::thread::hardware_concurrency();
        if (sched_getaffinity(0, sizeof allowed, &allowed) == 0) {
            cores = static_cast<unsigned>(CPU_COUNT(&allowed));
        }
        return cores <= 1 ? 0 : std::min(cores, kMaxCompressionThreads);
    }

    std::size_t MaxInFlight() const { return 2 * Workers.size(); }

    void StartWorkers()
    {
        Stopping = false;
        for (unsigned i = 0; i < Threads; ++i) {
            Workers.emplace_back([this] { WorkerLoop(); });
        }
    }

    void WorkerLoop()
    {
        TDeflater deflater;
        std::unique_lock<std::mutex> lock(Lock);
        for (;;) {
            WorkReady.wait(lock, [this] { return Stopping || !Pending.empty(); });
            if (Pending.empty()) {
                return;
            }
            TEntryJob* job = Pending.front();
            Pending.pop_front();
            lock.unlock();
            deflater.Compress(*job);
            lock.lock();
            job->Done = true;
            JobDone.notify_all();
        }
    }

    // Pending jobs are dropped; jobs being compressed are finished first.
    void StopWorkers()
    {
        {
            std::lock_guard<std::mutex> lock(Lock);
            Stopping = true;
            Pending.clear();
        }
        WorkReady.notify_all();
        Workers.clear();   // joins
        InFlight.clear();
    }

    std::unique_ptr<TEntryJob> TakeJob()
    {
        if (Spare.empty()) {
            return std::make_unique<TEntryJob>();
        }
        std::unique_ptr<TEntryJob> job = std::move(Spare.back());
        Spare.pop_back();
        job->Done = false;
        job->Error = nullptr;
        return job;
    }

    void Add(const void* data, std::size_t size, const std::string& name)
    {
        if (name.size() > kMax16) {
            throw EWriteError("Zip entry name too long: \"" + name.substr(0, 64) + "...\"");
        }
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        ++Added;
        if (Workers.empty()) {
            std::unique_ptr<TEntryJob> job = TakeJob();
            job->Name = name;
            job->Input.assign(bytes, bytes + size);
            CallerDeflater.Compress(*job);
            WriteEntry(*job);
            Spare.push_back(std::move(job));
            return;
        }
        WriteFinishedJobs(false);
        while (InFlight.size() >= MaxInFlight()) {
            WriteFinishedJobs(true);
        }
        std::unique_ptr<TEntryJob> job = TakeJob();
        job->Name = name;
        job->Input.assign(bytes, bytes + size);
        if (size < kSmallEntry) {
            // Cheaper to compress here than to hand over; it still waits its turn.
            CallerDeflater.Compress(*job);
            std::lock_guard<std::mutex> lock(Lock);
            job->Done = true;
            InFlight.push_back(std::move(job));
            return;
        }
        {
            std::lock_guard<std::mutex> lock(Lock);
            Pending.push_back(job.get());
            InFlight.push_back(std::move(job));
        }
        WorkReady.notify_one();
    }

    // Writes the finished jobs at the front of InFlight; with wait, first
    // waits until the front one is finished, so at least one is written.
    void WriteFinishedJobs(bool wait)
    {
        for (;;) {
            std::unique_ptr<TEntryJob> job;
            {
                std::unique_lock<std::mutex> lock(Lock);
                if (wait) {
                    JobDone.wait(lock, [this] { return InFlight.empty() || InFlight.front()->Done; });
                }
                if (InFlight.empty() || !InFlight.front()->Done) {
                    return;
                }
                job = std::move(InFlight.front());
                InFlight.pop_front();
            }
            WriteEntry(*job);
            Spare.push_back(std::move(job));
            wait = false;
        }
    }

    void WriteAllJobs()
    {
        while (!InFlight.empty()) {
            WriteFinishedJobs(true);
        }
    }

    void WriteEntry(const TEntryJob& job)
    {
        if (job.Error) {
            std::rethrow_exception(job.Error);
        }
        const TCentralEntry entry{job.Name, static_cast<std::uint64_t>(Out->Position()), job.Input.size(),
                                  job.OutputSize, job.Crc};
        const bool zip64Sizes = entry.Size >= Zip64Threshold || entry.CompressedSize >= Zip64Threshold;
        Header.Clear();
        Header.U32(kLocalHeaderSignature);
        Header.U16(zip64Sizes ? kVersionZip64 : kVersionDeflate);
        Header.U16(HasNonAsciiByte(entry.Name) ? kFlagUtf8Name : 0);
        Header.U16(kMethodDeflate);
        Header.U16(DosTime);
        Header.U16(DosDate);
        Header.U32(entry.Crc);
        // A local Zip64 field carries both sizes, and both 32-bit fields point to it.
        Header.U32(zip64Sizes ? kMax32 : static_cast<std::uint32_t>(entry.CompressedSize));
        Header.U32(zip64Sizes ? kMax32 : static_cast<std::uint32_t>(entry.Size));
        Header.U16(static_cast<std::uint32_t>(entry.Name.size()));
        Header.U16(zip64Sizes ? 20 : 0);
        Header.Text(entry.Name);
        if (zip64Sizes) {
            Header.U16(kZip64ExtraId);
            Header.U16(16);
            Header.U64(entry.Size);
            Header.U64(entry.CompressedSize);
        }
        Header.WriteTo(*Out);
        Out->WriteBuffer(job.Output.data(), static_cast<std::int64_t>(job.OutputSize));
        Central.push_back(entry);
    }

    void WriteCentralEntry(const TCentralEntry& entry)
    {
        // Unlike the local header's, this Zip64 field holds, in this order, only the
        // values whose own 32-bit field overflows (and reads 0xFFFFFFFF).
        const bool bigSize = entry.Size >= Zip64Threshold;
        const bool bigCompressed = entry.CompressedSize >= Zip64Threshold;
        const bool bigOffset = entry.Offset >= Zip64Threshold;
        const std::uint16_t zip64Bytes = 8 * (bigSize + bigCompressed + bigOffset);
        const bool zip64 = zip64Bytes > 0;
        Header.Clear();
        Header.U32(kCentralHeaderSignature);
        Header.U16(kMadeByUnix | kVersionZip64);
        Header.U16(zip64 ? kVersionZip64 : kVersionDeflate);
        Header.U16(HasNonAsciiByte(entry.Name) ? kFlagUtf8Name : 0);
        Header.U16(kMethodDeflate);
        Header.U16(DosTime);
        Header.U16(DosDate);
        Header.U32(entry.Crc);
        Header.U32(bigCompressed ? kMax32 : static_cast<std::uint32_t>(entry.CompressedSize));
        Header.U32(bigSize ? kMax32 : static_cast<std::uint32_t>(entry.Size));
        Header.U16(static_cast<std::uint32_t>(entry.Name.size()));
        Header.U16(zip64 ? 4 + zip64Bytes : 0);
        Header.U16(0);   // comment
        Header.U16(0);   // disk
        Header.U16(0);   // internal attributes
        Header.U32(kRegularFileAttributes);
        Header.U32(bigOffset ? kMax32 : static_cast<std::uint32_t>(entry.Offset));
        Header.Text(entry.Name);
        if (zip64) {
            Header.U16(kZip64ExtraId);
            Header.U16(zip64Bytes);
            if (bigSize) {
                Header.U64(entry.Size);
            }
            if (bigCompressed) {
                Header.U64(entry.CompressedSize);
            }
            if (bigOffset) {
                Header.U64(entry.Offset);
            }
        }
        Header.WriteTo(*Out);
    }

    void WriteDirectory()
    {
        const auto directoryOffset = static_cast<std::uint64_t>(Out->Position());
        for (const TCentralEntry& entry : Central) {
            WriteCentralEntry(entry);
        }
        const auto zip64EndOffset = static_cast<std::uint64_t>(Out->Position());
        const std::uint64_t directorySize = zip64EndOffset - directoryOffset;
        const std::uint64_t count = Central.size();
        const bool bigCount = count >= kMax16;
        const bool bigSize = directorySize >= Zip64Threshold;
        const bool bigOffset = directoryOffset >= Zip64Threshold;
        Header.Clear();
        if (bigCount || bigSize || bigOffset) {
            Header.U32(kZip64EndSignature);
            Header.U64(44);   // size of the rest of this record
            Header.U16(kMadeByUnix | kVersionZip64);
            Header.U16(kVersionZip64);
            Header.U32(0);    // this disk
            Header.U32(0);    // disk of the directory
            Header.U64(count);
            Header.U64(count);
            Header.U64(directorySize);
            Header.U64(directoryOffset);
            Header.U32(kZip64LocatorSignature);
            Header.U32(0);    // disk of the Zip64 end record
            Header.U64(zip64EndOffset);
            Header.U32(1);    // disks
        }
        Header.U32(kEndSignature);
        Header.U16(0);
        Header.U16(0);
        Header.U16(bigCount ? kMax16 : static_cast<std::uint32_t>(count));
        Header.U16(bigCount ? kMax16 : static_cast<std::uint32_t>(count));
        Header.U32(bigSize ? kMax32 : static_cast<std::uint32_t>(directorySize));
        Header.U32(bigOffset ? kMax32 : static_cast<std::uint32_t>(directoryOffset));
        Header.U16(0);    // comment
        Header.WriteTo(*Out);
    }

    void StampFromLocalTime()
    {
        TDateTimeParts now{};
        if (!TryDecodeDateTime(Now(), now) || now.Year < 1980) {
            now = TDateTimeParts{1980, 1, 1, 0, 0, 0, 0};   // the earliest stamp the format holds
        }
        now.Year = std::min(now.Year, 2107);
        DosDate = static_cast<std::uint16_t>((now.Year - 1980) << 9 | now.Month << 5 | now.Day);
        DosTime = static_cast<std::uint16_t>(now.Hour << 11 | now.Minute << 5 | now.Second / 2);
    }

    void Discard() noexcept
    {
        StopWorkers();
        Out.reset();   // removes the temporary file
        Central.clear();
        Added = 0;
    }

    void CheckOpen() const
    {
        if (!Out) {
            throw EWriteError("No zip archive is open for writing");
        }
    }
};

TZipFile::TZipFile() : F(std::make_unique<TImpl>()) {}

TZipFile::~TZipFile()
{
    F->Discard();
}

TZipReader& TZipFile::Reader() const
{
    if (!FReader) {
        throw EReadError("No zip archive is open for reading");
    }
    return *FReader;
}

void TZipFile::SetCompressionThreads(unsigned count)
{
    F->Threads = std::min(count, kMaxCompressionThreads);
}

void TZipFile::SetZip64Threshold(std::uint64_t threshold)
{
    F->Zip64Threshold = std::min<std::uint64_t>(threshold, kMax32);
}

void TZipFile::Open(const std::string& fileName, TZipMode mode)
{
    F->Discard();
    FReader.reset();
    if (mode == zmRead) {
        FReader = std::make_unique<TZipReader>(fileName);
        return;
    }
    F->Out = std::make_unique<TAtomicFileStream>(fileName);
    F->FileName = fileName;
    F->StampFromLocalTime();
    F->StartWorkers();
}

void TZipFile::Add(const void* data, std::size_t size, const std::string& name)
{
    F->CheckOpen();
    try {
        F->Add(data, size, name);
    } catch (...) {
        F->Discard();
        throw;
    }
}

void TZipFile::Add(TStream& stream, const std::string& name)
{
    if (auto* memory = dynamic_cast<TMemoryStream*>(&stream)) {
        Add(memory->Memory(), static_cast<std::size_t>(memory->Size()), name);
        return;
    }
    TMemoryStream copy;
    copy.LoadFromStream(stream);
    Add(copy.Memory(), static_cast<std::size_t>(copy.Size()), name);
}

void TZipFile::Close()
{
    if (FReader) {
        FReader.reset();
        return;
    }
    F->CheckOpen();
    try {
        F->WriteAllJobs();
        F->StopWorkers();
        F->WriteDirectory();
        F->Out->Commit();
        F->Out.reset();
        F->Central.clear();
        F->Added = 0;
    } catch (...) {
        F->Discard();
        throw;
    }
}

void TZipFile::Discard()
{
    F->Discard();
    FReader.reset();
}

bool TZipFile::Active() const
{
    return F->Out != nullptr || FReader != nullptr;
}

const std::string& TZipFile::FileName() const
{
    return FReader ? FReader->FileName() : F->FileName;
}

std::int64_t TZipFile::EntryCount() const
{
    return FReader ? FReader->Count() : F->Added;
}

int TZipFile::IndexOf(const std::string& name) const
{
    return Reader().IndexOf(name);
}

const std::string& TZipFile::EntryName(int index) const
{
    return Reader().Entry(index).Name;
}

void TZipFile::Read(int index, TMemoryStream& stream)
{
    Reader().Read(index, stream);
}

} // namespace plat
