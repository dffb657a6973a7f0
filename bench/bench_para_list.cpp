// The editor's paragraph list under a long log: a million generated
// paragraphs appended as the wizard's report views append them, then
// re-wrapped at a narrow column and read line by line; run by hand.
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

constexpr std::int32_t kParagraphs = 1'000'000;
constexpr std::int32_t kBlock = 100'000;   // appends timed together
constexpr std::int32_t kWrapColumn = 20;
constexpr std::int32_t kRandomLookups = 1000;

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

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

// Paragraphs of 20 to 100 letters (mean 60) with a blank every 3 to 9, all
// in one text; Starts[i] is where paragraph i begins, Starts[count] the end.
struct TGeneratedText {
    std::u16string Text;
    std::vector<std::size_t> Starts;
};

TGeneratedText Generate(std::uint32_t seed)
{
    std::mt19937 rng(seed);
    std::uniform_int_distribution<std::int32_t> length(20, 100);
    std::uniform_int_distribution<std::int32_t> word(3, 9);
    std::uniform_int_distribution<std::int32_t> letter(0, 25);
    TGeneratedText generated;
    generated.Text.reserve(static_cast<std::size_t>(kParagraphs) * 61);
    generated.Starts.reserve(kParagraphs + 1);
    for (std::int32_t p = 0; p < kParagraphs; ++p) {
        generated.Starts.push_back(generated.Text.size());
        const std::int32_t units = length(rng);
        std::int32_t untilBlank = word(rng);
        for (std::int32_t i = 0; i < units; ++i) {
            if (untilBlank-- == 0) {
                generated.Text.push_back(u' ');
                untilBlank = word(rng);
            } else {
                generated.Text.push_back(static_cast<char16_t>(u'a' + letter(rng)));
            }
        }
    }
    generated.Starts.push_back(generated.Text.size());
    return generated;
}

const char* Verdict(bool ok)
{
    return ok ? "ok" : "MISSED";
}

} // namespace

int main()
{
    const TGeneratedText generated = Generate(20240601);
    const double textBytes = 2.0 * static_cast<double>(generated.Text.size());
    std::printf("%d paragraphs, %zu units (%.1f MiB as UTF-16)\n", kParagraphs, generated.Text.size(),
        textBytes / 1048576.0);

    const double rssBefore = StatusBytes("VmRSS:");
    qel::TPgcParaList list(nullptr, 8192, false);
    std::vector<double> blockSeconds;
    const Clock::time_point appendStart = Clock::now();
    for (std::int32_t block = 0; block < kParagraphs / kBlock; ++block) {
        const Clock::time_point blockStart = Clock::now();
        for (std::int32_t p = block * kBlock; p < (block + 1) * kBlock; ++p) {
            const std::size_t begin = generated.Starts[static_cast<std::size_t>(p)];
            const std::size_t end = generated.Starts[static_cast<std::size_t>(p) + 1];
            list.AppendParaEof(generated.Text.data() + begin, static_cast<std::int32_t>(end - begin), true);
        }
        blockSeconds.push_back(SecondsSince(blockStart));
    }
    const double appendSeconds = SecondsSince(appendStart);
    const double peakGrowth = StatusBytes("VmHWM:") - rssBefore;
    const double memoryBudget = textBytes + 128.0 * kParagraphs;
    const double appendRate = kParagraphs / appendSeconds;
    const double lastToFirst = blockSeconds.back() / blockSeconds.front();
    std::printf("AppendParaEof: %.0f paragraphs/s (target 1,000,000: %s)\n", appendRate,
        Verdict(appendRate >= 1e6));
    std::printf("  last 100,000 took %.2f times the first (target 1.5 at most: %s)\n", lastToFirst,
        Verdict(lastToFirst <= 1.5));
    std::printf("  peak memory growth %.1f MiB, budget %.1f MiB (text + 128 bytes a paragraph: %s), %.1f bytes a "
                "paragraph beyond the text\n",
        peakGrowth / 1048576.0, memoryBudget / 1048576.0, Verdict(peakGrowth < memoryBudget),
        (peakGrowth - textBytes) / kParagraphs);

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
