// The editor's paragraph list under a long log: a million generated
// paragraphs appended as the wizard's report views append them, then
// re-wrapped at a narrow column and read line by line; run by hand.
#include "para_text_generator.h"
#include "widgets/pages/para_list.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

namespace {

using namespace para_bench;

constexpr std::int32_t kWrapColumn = 20;
constexpr std::int32_t kRandomLookups = 1000;

// A value of /proc/self/status in bytes ("VmRSS:", "VmHWM:").
double StatusBytes(const char* key)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(key, 0) == 0) {
            return std::strtod(line.c_str() + std::char_traits<char>::length(key), nullptr) * 1024.0;
        }
    }
    return -1.0;
}

// Processor seconds to bring Bytes of fresh memory into the process (one
// write per page): the machine's own floor for any append that keeps the
// text in memory it has just been given.
double FirstTouchSeconds(double Bytes)
{
    const auto size = static_cast<std::size_t>(Bytes);
    void* block = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED) {
        return -1.0;
    }
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    auto* bytes = static_cast<volatile unsigned char*>(block);
    const double start = ThreadSeconds();
    for (std::size_t at = 0; at < size; at += page) {
        bytes[at] = 1;
    }
    const double seconds = ThreadSeconds() - start;
    munmap(block, size);
    return seconds;
}

} // namespace

int main()
{
    const TGeneratedText generated = Generate(20240601);
    const double textBytes = 2.0 * static_cast<double>(generated.Text.size());
    std::printf("%d paragraphs, %zu units (%.1f MiB as UTF-16)\n", Paragraphs, generated.Text.size(),
        textBytes / 1048576.0);

    const double rssBefore = StatusBytes("VmRSS:");
    qel::TPgcParaList list(nullptr, 8192, false);
    std::vector<double> blockSeconds;
    std::printf("(times are processor time of the program's thread; wall-clock time beside the append rate)\n");
    const Clock::time_point appendWallStart = Clock::now();
    const double appendStart = ThreadSeconds();
    for (std::int32_t block = 0; block < Paragraphs / Block; ++block) {
        const double blockStart = ThreadSeconds();
        for (std::int32_t p = block * Block; p < (block + 1) * Block; ++p) {
            const std::u16string_view paragraph = generated.Paragraph(p);
            list.AppendParaEof(paragraph.data(), static_cast<std::int32_t>(paragraph.size()), true);
        }
        blockSeconds.push_back(ThreadSeconds() - blockStart);
    }
    const double appendSeconds = ThreadSeconds() - appendStart;
    const double appendWallSeconds = SecondsSince(appendWallStart);
    const double peakGrowth = StatusBytes("VmHWM:") - rssBefore;
    const double memoryBudget = textBytes + 128.0 * Paragraphs;
    const double appendRate = Paragraphs / appendSeconds;
    const double lastToFirst = blockSeconds.back() / blockSeconds.front();
    std::printf("AppendParaEof: %.0f paragraphs/s (target 1,000,000: %s; wall clock %.0f/s)\n", appendRate,
        Verdict(appendRate >= 1e6), Paragraphs / appendWallSeconds);
    std::printf("  last 100,000 took %.2f times the first (target 1.5 at most: %s)\n", lastToFirst,
        Verdict(lastToFirst <= 1.5));
    std::printf("  peak memory growth %.1f MiB, budget %.1f MiB (text + 128 bytes a paragraph: %s), %.1f bytes a "
                "paragraph beyond the text\n",
        peakGrowth / 1048576.0, memoryBudget / 1048576.0, Verdict(peakGrowth < memoryBudget),
        (peakGrowth - textBytes) / Paragraphs);
    const double touchSeconds = FirstTouchSeconds(peakGrowth);
    std::printf("  first touch of that much fresh memory alone: %.3f s, the appends took %.2f times it\n",
        touchSeconds, appendSeconds / touchSeconds);

    list.SetWrapColumn(kWrapColumn);
    const double wrapStart = ThreadSeconds();
    list.SetWordWrap(true);
    const double wrapSeconds = ThreadSeconds() - wrapStart;
    std::printf("Recalculate at wrap column %d: %.3f s for %d lines (target under 1 s: %s)\n", kWrapColumn,
        wrapSeconds, list.LineCount(), Verdict(wrapSeconds < 1.0));

    std::uint64_t checksum = 0;
    const char16_t* s = nullptr;
    std::uint16_t len = 0;
    const double inOrderStart = ThreadSeconds();
    for (std::int32_t n = 1; n <= list.LineCount(); ++n) {
        list.NthLine(n, s, len);
        checksum += len;
    }
    const double inOrderRate = list.LineCount() / (ThreadSeconds() - inOrderStart);
    std::printf("NthLine over every line in order: %.1f million lines/s (target 20: %s)\n", inOrderRate / 1e6,
        Verdict(inOrderRate >= 20e6));

    std::mt19937 rng(7);
    std::uniform_int_distribution<std::int32_t> line(1, list.LineCount());
    const double randomStart = ThreadSeconds();
    for (std::int32_t i = 0; i < kRandomLookups; ++i) {
        list.NthLine(line(rng), s, len);
        checksum += len;
    }
    std::printf("NthLine at %d random lines: %.1f us mean\n", kRandomLookups,
        (ThreadSeconds() - randomStart) / kRandomLookups * 1e6);
    std::printf("(checksum %llu)\n", static_cast<unsigned long long>(checksum));
    return 0;
}
