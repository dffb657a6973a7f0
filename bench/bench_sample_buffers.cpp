// Sample buffers under a decoder's load: samples appended round-robin over
// the channels of one logger, spilled to files, then read back in time order.
// Compared with writing the same bytes to a file in the same block size (the
// machine's limit); run by hand.
#include "card/buffer_list.h"
#include "card/temp_folder.h"
#include "loggers/qel_base.h"
#include "platform/known_folders.h"

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::int64_t kSamples = 64'000'000;
constexpr std::uint32_t kChannels = 16;
constexpr double kCardBytesPerSample = 4.0 * 1056.0 / 1048.0;   // a four-byte record, page headers included

template <class TAction>
double SecondsOf(TAction action)
{
    const auto start = std::chrono::steady_clock::now();
    action();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double PeakMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Writes bytes in chunk-sized blocks to one file, as the buffers spill them.
void PlainBlockWrite(const std::string& name, std::int64_t bytes)
{
    std::vector<unsigned char> block(qel::SAMPLE_CHUNK_CAPACITY + 2, 0x5A);
    const int handle = open(name.c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0600);
    for (std::int64_t done = 0; done < bytes; done += static_cast<std::int64_t>(block.size())) {
        if (write(handle, block.data(), block.size()) < 0) {
            break;
        }
    }
    close(handle);
}

std::int64_t SpillBytes(const qel::TBufferDataList& list)
{
    std::int64_t bytes = 0;
    for (const qel::TBufferBaseData* buffer : list) {
        bytes += static_cast<std::int64_t>(std::filesystem::file_size(buffer->GetExtFileName()));
    }
    return bytes;
}

} // namespace

int main()
{
    const std::filesystem::path root = std::filesystem::temp_directory_path() / "qel-bench-buffers";
    plat::SetDocumentsFolder(root.string());
    if (!qel::InitTempFolder()) {
        std::printf("no buffer folder below %s\n", root.c_str());
        return 1;
    }
    qel::TQEL logger;
    qel::TBufferDataList list(true);
    list.SetUseFileStream(true);
    list.SetActiveQEL(&logger);

    std::int64_t time = 1'000'000'000;
    const double fill = SecondsOf([&] {
        for (std::int64_t i = 0; i < kSamples; ++i) {
            const auto channel = static_cast<std::uint32_t>(i % kChannels);
            time += channel == 0 ? 2000 : 0;
            list.AddIntData(channel, time, static_cast<std::int16_t>(i));
        }
        list.EndRead();
    });
    const double fillPeak = PeakMiB();
    const std::int64_t spilled = SpillBytes(list);

    std::int64_t taken = 0;
    const double save = SecondsOf([&] {
        list.BeginSave();
        std::int64_t at = 0;
        while (list.GetMinSaveTime(at)) {
            for (qel::TBufferBaseData* buffer : list) {
                std::int16_t value = 0;
                taken += buffer->GetSaveIntValue(at, value) ? 1 : 0;
            }
        }
        list.EndSave();
    });

    const std::string plainName = (root / "plain.bin").string();
    const double plain = SecondsOf([&] { PlainBlockWrite(plainName, spilled); });
    std::filesystem::remove(plainName);

    const double cardMB = static_cast<double>(kSamples) * kCardBytesPerSample / 1e6;
    std::printf("samples appended          : %lld over %u channels (%lld read back)\n",
                static_cast<long long>(kSamples), kChannels, static_cast<long long>(taken));
    std::printf("spill bytes               : %.1f MB (%.2f bytes per sample)\n", spilled / 1e6,
                static_cast<double>(spilled) / kSamples);
    std::printf("append + spill            : %.3f s, %.1f M samples/s, %.1f MB/s of card data\n", fill,
                kSamples / fill / 1e6, cardMB / fill);
    std::printf("same bytes written plainly: %.3f s (append is %.2f x the plain write time)\n", plain, fill / plain);
    std::printf("read back in time order   : %.3f s, %.1f M samples/s\n", save, kSamples / save / 1e6);
    std::printf("peak memory after filling : %.1f MiB\n", fillPeak);

    list.ClearAll();
    qel::ClearTempFolder();
    std::filesystem::remove_all(root);
    return 0;
}
