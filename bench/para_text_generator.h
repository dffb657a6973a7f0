// The long log the paragraph benchmarks append: a million generated
// paragraphs in one UTF-16 text, and the small timing helpers they share.
#pragma once

#include <chrono>
#include <ctime>
#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace para_bench {

constexpr std::int32_t Paragraphs = 1'000'000;
constexpr std::int32_t Block = 100'000;   // appends timed together

using Clock = std::chrono::steady_clock;

inline double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Seconds of processor time this thread has used: figures that hold while
// other programs load the machine.
inline double ThreadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

inline const char* Verdict(bool ok)
{
    return ok ? "ok" : "MISSED";
}

// Paragraphs of 20 to 100 letters (mean 60) with a blank every 3 to 9, all
// in one text; Starts[i] is where paragraph i begins, Starts[count] the end.
struct TGeneratedText {
    std::u16string Text;
    std::vector<std::size_t> Starts;

    std::u16string_view Paragraph(std::int32_t p) const
    {
        const std::size_t begin = Starts[static_cast<std::size_t>(p)];
        return std::u16string_view(Text).substr(begin, Starts[static_cast<std::size_t>(p) + 1] - begin);
    }
};

inline TGeneratedText Generate(std::uint32_t seed)
{
    std::mt19937 rng(seed);
    std::uniform_int_distribution<std::int32_t> length(20, 100);
    std::uniform_int_distribution<std::int32_t> word(3, 9);
    std::uniform_int_distribution<std::int32_t> letter(0, 25);
    TGeneratedText generated;
    generated.Text.reserve(static_cast<std::size_t>(Paragraphs) * 61);
    generated.Starts.reserve(Paragraphs + 1);
    for (std::int32_t p = 0; p < Paragraphs; ++p) {
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

} // namespace para_bench
