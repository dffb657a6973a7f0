// Saving a large read to a block file, against zlib level 1 compressing the
// same uncompressed stream in the same run; the ratio should stay <= 1.3 and
// the peak memory flat. Run by hand.
#include "card/buffer_list.h"
#include "card/temp_folder.h"
#include "export/save_file_thread_qel649.h"
#include "loggers/qel649.h"
#include "platform/known_folders.h"
#include "platform/messages.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <vector>
#include <zlib.h>

namespace {

constexpr std::int64_t kRows = 10'000'000;
constexpr std::uint32_t kChannels[] = {0, 1, 2, 5}; // pressure, temperatures, humidity
constexpr std::int64_t kStep = 1024;               // ticks between rows (1 ms)
constexpr int kRounds = 3;

double PeakMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Slowly varying readings with a little noise, as sensors give them.
std::int16_t Reading(std::int64_t row, std::uint32_t channel)
{
    const auto noise = static_cast<std::int16_t>((row * 2654435761u >> 7 ^ channel * 40503u) & 7);
    return static_cast<std::int16_t>(2000 + channel * 300 + (row / 5000) % 400 + noise);
}

// Inflates the block file chunk by chunk and deflates each chunk again at
// level 1; answers the seconds spent in deflate and the uncompressed size.
double DeflateSeconds(const std::string& fileName, std::int64_t& rawBytes)
{
    std::ifstream file(fileName, std::ios::binary);
    std::vector<unsigned char> in(1 << 16), raw(1 << 16), out(1 << 16);
    z_stream inflater{};
    z_stream deflater{};
    inflateInit(&inflater);
    deflateInit(&deflater, Z_BEST_SPEED);
    double seconds = 0.0;
    rawBytes = 0;
    int state = Z_OK;
    while (state == Z_OK && file) {
        file.read(reinterpret_cast<char*>(in.data()), static_cast<std::streamsize>(in.size()));
        inflater.next_in = in.data();
        inflater.avail_in = static_cast<uInt>(file.gcount());
        while (inflater.avail_in > 0 && state == Z_OK) {
            inflater.next_out = raw.data();
            inflater.avail_out = static_cast<uInt>(raw.size());
            state = inflate(&inflater, Z_NO_FLUSH);
            const std::size_t produced = raw.size() - inflater.avail_out;
            rawBytes += static_cast<std::int64_t>(produced);
            const auto start = std::chrono::steady_clock::now();
            deflater.next_in = raw.data();
            deflater.avail_in = static_cast<uInt>(produced);
            do {
                deflater.next_out = out.data();
                deflater.avail_out = static_cast<uInt>(out.size());
                deflate(&deflater, Z_NO_FLUSH);
            } while (deflater.avail_out == 0);
            seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        }
    }
    const auto start = std::chrono::steady_clock::now();
    int finish = Z_OK;
    while (finish == Z_OK) {
        deflater.next_out = out.data();
        deflater.avail_out = static_cast<uInt>(out.size());
        finish = deflate(&deflater, Z_FINISH);
    }
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    inflateEnd(&inflater);
    deflateEnd(&deflater);
    return seconds;
}

} // namespace

int main()
{
    const std::filesystem::path root = std::filesystem::temp_directory_path() / "qel-bench-block-file";
    std::filesystem::create_directories(root);
    plat::SetDocumentsFolder(root.string());
    if (!qel::InitTempFolder()) {
        std::printf("no buffer folder below %s\n", root.c_str());
        return 1;
    }
    qel::TQEL649 logger;
    logger.SN = 4711;
    logger.ID_CLASS = 0x6606;
    logger.ID_VER = 0x0200;
    qel::ReadBufferList.SetUseFileStream(true);
    qel::ReadBufferList.SetActiveQEL(&logger);
    for (std::int64_t row = 0; row < kRows; ++row) {
        for (const std::uint32_t channel : kChannels) {
            if (channel != 5 || row % 4 == 0) { // humidity at a quarter of the rate
                qel::ReadBufferList.AddIntData(channel, row * kStep, Reading(row, channel));
            }
        }
    }
    qel::ReadBufferList.EndRead();
    const double peakBefore = PeakMiB();

    plat::TMessageQueue queue;
    const plat::HWND window = plat::CreateWindowHandle(queue, [](plat::UINT, plat::WPARAM, plat::LPARAM) { return 0; }, true);
    const std::string fileName = (root / "bench.qel").string();
    std::int64_t values = 0;
    std::int64_t rawBytes = 0;
    double bestSave = 1e9;
    double bestZlib = 1e9;
    // Rounds of save and zlib side by side; the best of each counts, so a
    // busy machine disturbs the ratio less.
    for (int round = 1; round <= kRounds; ++round) {
        for (qel::TBufferBaseData* buffer : qel::ReadBufferList) {
            qel::SaveBufferList.Add(buffer);
        }
        values = qel::SaveBufferList.GetAllCnts();
        qel::SaveBufferList.FileNameEx = qel::TFileNameEx{root.string() + "/", "bench", "", ".qel"};
        auto thread = qel::TSaveFileThread::Create(&qel::TSaveFileThreadQEL649::ClassInfo, window, nullptr, nullptr);
        const auto start = std::chrono::steady_clock::now();
        thread->Start();
        thread->WaitFor();
        const double save = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        queue.ProcessMessages();
        qel::ReadBufferList.EndSave();
        const double zlib = DeflateSeconds(fileName, rawBytes);
        std::printf("round %d               : save %.3f s, zlib %.3f s, ratio %.2f\n", round, save, zlib, save / zlib);
        bestSave = std::min(bestSave, save);
        bestZlib = std::min(bestZlib, zlib);
    }
    const double peakAfter = PeakMiB();

    std::printf("values saved          : %lld in %lld rows of %zu channels\n", static_cast<long long>(values),
                static_cast<long long>(kRows), std::size(kChannels));
    std::printf("uncompressed stream   : %.1f MiB, file %.1f MiB\n", static_cast<double>(rawBytes) / 1048576.0,
                static_cast<double>(std::filesystem::file_size(fileName)) / 1048576.0);
    std::printf("save to block file    : %.3f s (best of %d)\n", bestSave, kRounds);
    std::printf("zlib level 1 alone    : %.3f s (best of %d)\n", bestZlib, kRounds);
    std::printf("ratio save / zlib     : %.2f (target <= 1.30)\n", bestSave / bestZlib);
    std::printf("peak memory           : %.1f MiB before the saves, %.1f MiB after\n", peakBefore, peakAfter);

    plat::DestroyWindowHandle(window);
    qel::ReadBufferList.ClearAll();
    std::filesystem::remove_all(root);
    return 0;
}
