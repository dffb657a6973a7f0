// Sequential cluster scan through the buffered file stream against plain 1 MiB
// reads (the machine's limit) and unbuffered cluster reads; run by hand.
#include "platform/streams.h"

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::int64_t kFileSize = 256LL << 20;
constexpr std::int64_t kCluster = 1536;

template <class TAction>
double SecondsOf(TAction action)
{
    const auto start = std::chrono::steady_clock::now();
    action();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::uint64_t PlainBlockRead(const std::string& name)
{
    std::vector<unsigned char> block(1 << 20);
    std::uint64_t sum = 0;
    const int handle = open(name.c_str(), O_RDONLY);
    ssize_t got = 0;
    while ((got = read(handle, block.data(), block.size())) > 0) {
        for (ssize_t i = 0; i < got; i += kCluster) {
            sum += block[static_cast<std::size_t>(i)];
        }
    }
    close(handle);
    return sum;
}

std::uint64_t ClusterScan(plat::TStream& stream)
{
    unsigned char cluster[kCluster];
    std::uint64_t sum = 0;
    while (stream.Read(cluster, kCluster) == kCluster) {
        sum += cluster[0];
    }
    return sum;
}

} // namespace

int main()
{
    const std::string name = (std::filesystem::temp_directory_path() / "qel-bench-card.dat").string();
    {
        plat::TBufferedFileStream out(name, plat::fmCreate);
        std::vector<unsigned char> block(1 << 20);
        for (std::size_t i = 0; i < block.size(); ++i) {
            block[i] = static_cast<unsigned char>(i * 31);
        }
        for (std::int64_t written = 0; written < kFileSize; written += 1 << 20) {
            out.WriteBuffer(block.data(), 1 << 20);
        }
        out.Flush();
    }
    PlainBlockRead(name);   // warm the page cache so all runs read from memory

    std::uint64_t sums[3] = {};
    const double plain = SecondsOf([&] { sums[0] = PlainBlockRead(name); });
    const double buffered = SecondsOf([&] {
        plat::TBufferedFileStream in(name, plat::fmOpenRead);
        sums[1] = ClusterScan(in);
    });
    const double unbuffered = SecondsOf([&] {
        plat::TFileStream in(name, plat::fmOpenRead);
        sums[2] = ClusterScan(in);
    });
    std::filesystem::remove(name);

    const double megabytes = static_cast<double>(kFileSize) / (1 << 20);
    std::printf("plain 1 MiB reads:           %8.0f MiB/s\n", megabytes / plain);
    std::printf("buffered cluster scan:       %8.0f MiB/s  (%.2f of plain)\n", megabytes / buffered,
                plain / buffered);
    std::printf("unbuffered cluster scan:     %8.0f MiB/s  (%.2f of plain)\n", megabytes / unbuffered,
                plain / unbuffered);
    std::printf("checksums %s\n", sums[0] == sums[1] && sums[1] == sums[2] ? "agree" : "DIFFER");
    return sums[0] == sums[1] && sums[1] == sums[2] ? 0 : 1;
}
