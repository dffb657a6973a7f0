// Benchmark of the card-directory scan: scans a generated card (two
// containers, several loggers) and reads the same files with plain 1 MiB
// reads, side by side with the files in the page cache, and prints both times,
// their ratio (target: at most 1.2) and the peak memory.
// Usage: bench_card_scan [size in MiB, default 1024] [folder, default the temp folder]
#include "card/card_dir_scan.h"
#include "card/card_records.h"
#include "card/ext_card.h"
#include "tools/cardgen/card_generator.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::size_t kMiB = 1 << 20;

// Four loggers taking turns in long recordings, spread over two containers.
qel::cardgen::TCardDescription BenchCard(std::uint64_t clusters)
{
    qel::cardgen::TCardDescription desc;
    const std::uint16_t models[] = {0x6606, 0x6601, 0x6607, 0x6606};
    const std::uint32_t pagesPerRecording = 5000;
    const std::uint64_t recordings = (clusters + pagesPerRecording - 1) / pagesPerRecording;
    for (std::uint64_t r = 0; r < recordings; ++r) {
        qel::cardgen::TRecordingDescription recording;
        const std::size_t logger = r % 4;
        recording.Logger = {models[logger], 0x0120, 0x0120, static_cast<std::uint32_t>(1000 + logger), {}};
        recording.PageCount = static_cast<std::uint32_t>(std::min<std::uint64_t>(pagesPerRecording, clusters - r * pagesPerRecording));
        recording.FirstPageNo = static_cast<std::uint16_t>((r * 37) & 0x1FFF);
        recording.StartTimeUnits = 1000000 + r * 100000;
        recording.TimeStepUnits = 10;
        recording.Body = std::make_shared<qel::cardgen::TFourByteRecordBody>(
            qel::cardgen::TFourByteRecordBody::TLayout::SkipTwoBytes, std::vector<std::uint8_t>{0, 1, 2}, 80, 3,
            [](std::uint32_t page, std::uint32_t row, std::uint8_t channel) {
                return static_cast<std::int16_t>(page * 7 + row * 3 + channel);
            });
        desc.Recordings.push_back(recording);
        desc.Layout.emplace_back(qel::cardgen::TPlaceRecording{static_cast<std::size_t>(r), 0, {}});
    }
    desc.ClustersPerContainer = (clusters + 1) / 2;
    return desc;
}

// Reads every file from start to end in 1 MiB reads, as dd bs=1M does.
double PlainRead(const std::vector<std::string>& files, std::uint64_t& bytes)
{
    std::vector<char> buffer(kMiB);
    bytes = 0;
    const auto start = Clock::now();
    for (const auto& file : files) {
        const int fd = open(file.c_str(), O_RDONLY);
        if (fd < 0) {
            throw std::runtime_error("cannot open " + file);
        }
        for (ssize_t got; (got = read(fd, buffer.data(), buffer.size())) > 0;) {
            bytes += static_cast<std::uint64_t>(got);
        }
        close(fd);
    }
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double Scan(const std::vector<std::string>& files, int& records, std::int64_t& lastPercent)
{
    qel::TExtCard card;
    for (const auto& file : files) {
        card.Add(new qel::TExtCardInfo(file));
    }
    qel::TRecInfoList list;
    qel::TCardDirScanHooks hooks;
    hooks.Terminated = [] { return false; };
    hooks.Percent = [&lastPercent](std::int64_t percent) { lastPercent = percent; };
    const auto start = Clock::now();
    qel::ScanCardDirectory(card, list, hooks);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    records = list.Count();
    return seconds;
}

long PeakMemoryKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char** argv)
{
    const std::uint64_t mib = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1024;
    const std::filesystem::path base = argc > 2 ? std::filesystem::path(argv[2]) : std::filesystem::temp_directory_path();
    const std::filesystem::path folder = base / ("bench_card_scan-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    try {
        const std::uint64_t clusters = mib * kMiB / qel::CARD_CLUSTER_SIZE;
        std::printf("generating %llu MiB (%llu clusters) in %s\n", static_cast<unsigned long long>(mib),
                    static_cast<unsigned long long>(clusters), folder.c_str());
        const auto manifest = qel::cardgen::GenerateCard(BenchCard(clusters), folder.string());
        const long memoryAfterGeneration = PeakMemoryKiB();

        std::uint64_t bytes = 0;
        PlainRead(manifest.Files, bytes);   // brings the files into the page cache
        double bestRead = 1e9;
        double bestScan = 1e9;
        int records = 0;
        std::int64_t lastPercent = -1;
        for (int round = 0; round < 5; ++round) {
            bestRead = std::min(bestRead, PlainRead(manifest.Files, bytes));
            bestScan = std::min(bestScan, Scan(manifest.Files, records, lastPercent));
        }
        std::printf("containers: %zu, bytes: %llu, records found: %d, last percent: %lld\n", manifest.Files.size(),
                    static_cast<unsigned long long>(bytes), records, static_cast<long long>(lastPercent));
        std::printf("plain 1 MiB reads: %.3f s (%.0f MiB/s)\n", bestRead, static_cast<double>(bytes) / kMiB / bestRead);
        std::printf("directory scan:    %.3f s (%.0f MiB/s)\n", bestScan, static_cast<double>(bytes) / kMiB / bestScan);
        std::printf("ratio scan/read:   %.2f (target at most 1.20)\n", bestScan / bestRead);
        std::printf("peak memory: %ld KiB after generation, %ld KiB after the scans\n", memoryAfterGeneration, PeakMemoryKiB());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench_card_scan: %s\n", error.what());
        std::filesystem::remove_all(folder);
        return 1;
    }
    std::filesystem::remove_all(folder);
    return 0;
}
