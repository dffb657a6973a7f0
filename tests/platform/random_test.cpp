// Random sources: determinism, scaling, threads and the current-source switch.
#include "platform/random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <thread>
#include <vector>

namespace {

using namespace plat;

std::vector<std::uint32_t> Draw(IRandomSource& source, int count)
{
    std::vector<std::uint32_t> values;
    for (int i = 0; i < count; ++i)
        values.push_back(source.Next32());
    return values;
}

TEST(Random, SameSeedSameSequenceOtherSeedOtherSequence)
{
    TSeededRandomSource a(12345);
    TSeededRandomSource b(12345);
    TSeededRandomSource c(12346);
    const auto first = Draw(a, 200);
    EXPECT_EQ(first, Draw(b, 200));
    EXPECT_NE(first, Draw(c, 200));
    EXPECT_GT(std::set<std::uint32_t>(first.begin(), first.end()).size(), 195u);
}

TEST(Random, RangeIsCoveredEvenly)
{
    TSeededRandomSource source(7);
    TScopedRandomSource scoped(source);
    std::array<int, 10> counts{};
    for (int i = 0; i < 20000; ++i) {
        const std::uint32_t value = Random(10);
        ASSERT_LT(value, 10u);
        ++counts[value];
    }
    for (int count : counts) {
        EXPECT_GT(count, 1700);
        EXPECT_LT(count, 2300);
    }
}

TEST(Random, ScaledFromTheNext32BitNumber)
{
    TScriptedRandomSource source({0u, 0xFFFFFFFFu, 0x80000000u, 12345u});
    TScopedRandomSource scoped(source);
    EXPECT_EQ(Random(1000000), 0u);
    EXPECT_EQ(Random(1000000), 999999u);
    EXPECT_EQ(Random(1000000), 500000u);
    EXPECT_EQ(Random(0), 0u);
    EXPECT_EQ(Random(1000000), 0u);  // the script starts again
}

TEST(Random, ScriptedSourceNeedsValues)
{
    EXPECT_THROW(TScriptedRandomSource({}), std::invalid_argument);
}

// Draws from several threads are the same numbers as the same count drawn in
// turn: none repeated, none skipped.
TEST(Random, ThreadsShareOneSequence)
{
    constexpr int Threads = 4;
    constexpr int PerThread = 2000;
    TSeededRandomSource shared(99);
    std::vector<std::vector<std::uint32_t>> drawn(Threads);
    {
        std::vector<std::jthread> workers;
        for (int t = 0; t < Threads; ++t)
            workers.emplace_back([&, t] { drawn[t] = Draw(shared, PerThread); });
    }
    std::vector<std::uint32_t> all;
    for (const auto& part : drawn)
        all.insert(all.end(), part.begin(), part.end());
    TSeededRandomSource sequential(99);
    std::vector<std::uint32_t> expected = Draw(sequential, Threads * PerThread);
    std::sort(all.begin(), all.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(all, expected);
}

TEST(Random, CurrentSourceIsReplacedAndRestored)
{
    IRandomSource& original = CurrentRandomSource();
    TScriptedRandomSource scripted({42u});
    {
        TScopedRandomSource scoped(scripted);
        EXPECT_EQ(CurrentRandomSource().Next32(), 42u);
    }
    EXPECT_EQ(&CurrentRandomSource(), &original);
}

} // namespace
