// The container save of a large read against zlib compressing the same entry
// bytes at the same level on one thread (and libdeflate likewise); run by hand.
// Usage: bench_qrec_save [values per channel] (default 5,000,000; 6 channels).
// Restrict the cores with taskset, e.g. taskset -c 0,1 bench_qrec_save.
#include "card/buffer_list.h"
#include "card/temp_folder.h"
#include "export/qel_zip_date_time.h"
#include "export/save_qrec_file_thread.h"
#include "foundations/tick_time.h"
#include "loggers/qel649.h"
#include "platform/known_folders.h"
#include "platform/zip_writer.h"

#include <libdeflate.h>
#include <zlib.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sched.h>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t kChannels[] = {1, 2, 5, 6, 7, 8};   // QEL649: T(p), ACC x (with gaps), RH, T(RH), T, L
constexpr std::int64_t kStep = 10240;                       // 10 ms
constexpr std::int16_t kGap = 0x7FF0;
constexpr std::size_t kBlockBytes = 120000;

double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Peak resident memory of the process since the last reset, in MiB.
double PeakMiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::atof(line.c_str() + 6) / 1024.0;
        }
    }
    return -1;
}

void ResetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

int AllowedCores()
{
    cpu_set_t set;
    return sched_getaffinity(0, sizeof set, &set) == 0 ? CPU_COUNT(&set) : 1;
}

void FillReadList(qel::TQEL649& logger, std::int64_t perChannel)
{
    qel::ReadBufferList.SetActiveQEL(&logger);
    std::uint32_t noise = 12345;
    for (std::int64_t i = 0; i < perChannel; ++i) {
        const std::int64_t t = 500 * qel::TICKS_PER_SECOND + i * kStep;
        for (std::uint32_t channel : kChannels) {
            noise = noise * 1103515245u + 12345u;
            const double wave = 1500.0 * std::sin(static_cast<double>(i) * 1e-4 + channel);
            auto raw = static_cast<std::int16_t>(2000 + wave + static_cast<int>(noise >> 28));
            if (channel == 2 && (noise >> 16) % 100 == 0) {
                raw = kGap;
            }
            qel::ReadBufferList.AddIntData(channel, t, raw);
        }
    }
    qel::ReadBufferList.EndRead();
}

// The data blocks the save writes, rebuilt from the buffers, each handed to block(bytes).
template <class TBlock>
void ForEachDataBlock(const qel::TQEL649& logger, TBlock block)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(kBlockBytes);
    qel::ReadBufferList.BeginSave();
    for (qel::TBufferBaseData* buffer : qel::ReadBufferList) {
        while (!buffer->GetSaveComplete()) {
            const std::int64_t t = buffer->GetSaveTime();
            std::int16_t raw = 0;
            buffer->GetSaveIntValue(t, raw);
            if (logger.IsGAPValue(buffer->GetChannel(), raw)) {
                continue;
            }
            const std::int64_t ns = qel::DateTimeToNs2000(36526.0 + qel::TicksToDays(t));
            const float value = logger.CalcChValue(buffer->GetChannel(), raw);
            const auto* n = reinterpret_cast<const std::uint8_t*>(&ns);
            const auto* v = reinterpret_cast<const std::uint8_t*>(&value);
            bytes.insert(bytes.end(), n, n + 8);
            bytes.insert(bytes.end(), v, v + 4);
            if (bytes.size() == kBlockBytes) {
                block(bytes);
                bytes.clear();
            }
        }
        if (!bytes.empty()) {
            block(bytes);
            bytes.clear();
        }
    }
    qel::ReadBufferList.EndSave();
}

} // namespace

int main(int argc, char** argv)
{
    const std::int64_t perChannel = argc > 1 ? std::atoll(argv[1]) : 5'000'000;
    const auto folder = std::filesystem::temp_directory_path() / ("qel-bench-qrec-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    plat::SetDocumentsFolder((folder / "Documents").string());
    if (!qel::InitTempFolder()) {
        std::fprintf(stderr, "no buffer folder\n");
        return 1;
    }
    qel::ReadBufferList.SetUseFileStream(true);

    qel::TQEL649 logger;
    logger.ID_CLASS = 0x6606;
    logger.ID_VER = logger.ID_VER_PC = 0x0200;
    logger.SN = 4711;
    std::printf("filling %lld values per channel, %zu channels ...\n", static_cast<long long>(perChannel),
                std::size(kChannels));
    FillReadList(logger, perChannel);

    // The save, as the application runs it.
    for (qel::TBufferBaseData* buffer : qel::ReadBufferList) {
        qel::SaveBufferList.Add(buffer);
    }
    qel::SaveBufferList.FileNameEx = qel::TFileNameEx{folder.string() + "/", "bench", "", ".qrec"};
    auto thread = qel::TSaveFileThread::Create(&qel::TSaveQRecFileThread::ClassInfo, 0, {}, {});
    thread->TimeMode = 0;
    ResetPeak();
    const auto saveStart = std::chrono::steady_clock::now();
    thread->Start();
    thread->WaitFor();
    const double saveSeconds = Seconds(saveStart);
    const double savePeak = PeakMiB();
    const auto archive = folder / "bench.qrec";
    if (!std::filesystem::exists(archive)) {
        std::fprintf(stderr, "the save wrote no archive\n");
        return 1;
    }
    const auto archiveBytes = std::filesystem::file_size(archive);

    // The same data-block bytes compressed on one thread at the same level.
    double zlibSeconds = 0, deflateSeconds = 0;
    std::uint64_t rawBytes = 0, zlibBytes = 0, deflateBytes = 0, blocks = 0;
    std::vector<std::uint8_t> out(compressBound(kBlockBytes) + 1024);
    libdeflate_compressor* compressor = libdeflate_alloc_compressor(plat::TZipFile::kDeflateLevel);
    ForEachDataBlock(logger, [&](const std::vector<std::uint8_t>& block) {
        rawBytes += block.size();
        ++blocks;
        auto start = std::chrono::steady_clock::now();
        z_stream z{};
        deflateInit2(&z, plat::TZipFile::kDeflateLevel, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
        z.next_in = const_cast<Bytef*>(block.data());
        z.avail_in = static_cast<uInt>(block.size());
        z.next_out = out.data();
        z.avail_out = static_cast<uInt>(out.size());
        deflate(&z, Z_FINISH);
        zlibBytes += z.total_out;
        deflateEnd(&z);
        zlibSeconds += Seconds(start);
        start = std::chrono::steady_clock::now();
        deflateBytes += libdeflate_deflate_compress(compressor, block.data(), block.size(), out.data(), out.size());
        deflateSeconds += Seconds(start);
    });
    libdeflate_free_compressor(compressor);

    const double values = static_cast<double>(rawBytes) / 12.0;
    std::printf("cores allowed           %d\n", AllowedCores());
    std::printf("values saved            %.0f in %llu data blocks (%.1f MiB raw)\n", values,
                static_cast<unsigned long long>(blocks), rawBytes / 1048576.0);
    std::printf("whole save              %8.3f s   archive %.1f MiB   peak memory %.1f MiB\n", saveSeconds,
                archiveBytes / 1048576.0, savePeak);
    std::printf("zlib level %d, 1 thread  %8.3f s   %.1f MiB   (%.1f MB/s)\n", plat::TZipFile::kDeflateLevel,
                zlibSeconds, zlibBytes / 1048576.0, rawBytes / zlibSeconds / 1e6);
    std::printf("libdeflate %d, 1 thread  %8.3f s   %.1f MiB   (%.1f MB/s)\n", plat::TZipFile::kDeflateLevel,
                deflateSeconds, deflateBytes / 1048576.0, rawBytes / deflateSeconds / 1e6);
    std::printf("ratio save / zlib 1 thread: %.3f (target <= 1 on 2 or more cores); peak %s 256 MiB\n",
                saveSeconds / zlibSeconds, savePeak < 256 ? "under" : "OVER");

    qel::SaveBufferList.ClearAll();
    qel::ReadBufferList.ClearAll();
    qel::ClearTempFolder();
    plat::SetDocumentsFolder("");
    std::filesystem::remove_all(folder);
    return 0;
}
