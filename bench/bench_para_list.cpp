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
    const Clock::time_point appendStart = Clock::now();
    for (std::int32_t block = 0; block < Paragraphs / Block; ++block) {
        const Clock::time_point blockStart = Clock::now();
        for (std::int32_t p = block * Block; p < (block + 1) * Block; ++p) {
            const std::u16string_view paragraph = generated.Paragraph(p);
            list.AppendParaEof(paragraph.data(), static_cast<std::int32_t>(paragraph.size()), true);
        }
        blockSeconds.push_back(SecondsSince(blockStart));
    }
    const double appendSeconds = SecondsSince(appendStart);
    const double peakGrowth = StatusBytes("VmHWM:") - rssBefore;
    const double memoryBudget = textBytes + 128.0 * Paragraphs;
    const double appendRate = Paragraphs / appendSeconds;
    const double lastToFirst = blockSeconds.back() / blockSeconds.front();
    std::printf("AppendParaEof: %.0f paragraphs/s (target 1,000,000: %s)\n", appendRate,
        Verdict(appendRate >= 1e6));
    std::printf("  last 100,000 took %.2f times the first (target 1.5 at most: %s)\n", lastToFirst,
        Verdict(lastToFirst <= 1.5));
    std::printf("  peak memory growth %.1f MiB, budget %.1f MiB (text + 128 bytes a paragraph: %s), %.1f bytes a "
                "paragraph beyond the text\n",
        peakGrowth / 1048576.0, memoryBudget / 1048576.0, Verdict(peakGrowth < memoryBudget),
        (peakGrowth - textBytes) / Paragraphs);

    list.SetWrapColumn(kWrapColumn);
    const Clock::time_point wrapStart = Clock::now();
    list.SetWordWrap(true);
    const double wrapSeconds = SecondsSince(wrapStart);
    std::printf("Recalculate at wrap column %d: %.3f s for %d lines (target under 1 s: %s)\n", kWrapColumn,
        wrapSeconds, list.LineCount(), Verdict(wrapSeconds < 1.0));

    std::uint64_t checksum = 0;
    const char16_t* s = nullptr;
    std::uint16_t len = 0;
    const Clock::time_point inOrderStart = Clock::now();
    for (std::int32_t n = 1; n <= list.LineCount(); ++n) {
        list.NthLine(n, s, len);
        checksum += len;
    }
    const double inOrderRate = list.LineCount() / SecondsSince(inOrderStart);
    std::printf("NthLine over every line in order: %.1f million lines/s (target 20: %s)\n", inOrderRate / 1e6,
        Verdict(inOrderRate >= 20e6));

    std::mt19937 rng(7);
    std::uniform_int_distribution<std::int32_t> line(1, list.LineCount());
    const Clock::time_point randomStart = Clock::now();
    for (std::int32_t i = 0; i < kRandomLookups; ++i) {
        list.NthLine(line(rng), s, len);
        checksum += len;
    }
    std::printf("NthLine at %d random lines: %.1f us mean\n", kRandomLookups,
        SecondsSince(randomStart) / kRandomLookups * 1e6);
    std::printf("(checksum %llu)\n", static_cast<unsigned long long>(checksum));
    return 0;
}
