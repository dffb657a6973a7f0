// Random sources and the current-source switch.
#include "platform/random.h"

#include <chrono>
#include <stdexcept>
#include <utility>

namespace plat {

namespace {

constexpr std::uint64_t Multiplier = 6364136223846793005ULL;
constexpr std::uint64_t Increment = 1442695040888963407ULL;

std::uint64_t Step(std::uint64_t state)
{
    return state * Multiplier + Increment;
}

// Output permutation: an xor-shift of the high bits, rotated by the top five bits.
std::uint32_t Permute(std::uint64_t state)
{
    const auto mixed = static_cast<std::uint32_t>(((state >> 18) ^ state) >> 27);
    const auto rotation = static_cast<unsigned>(state >> 59);
    return (mixed >> rotation) | (mixed << ((32 - rotation) & 31));
}

std::uint64_t ClockSeed()
{
    const auto wall = std::chrono::system_clock::now().time_since_epoch().count();
    const auto steady = std::chrono::steady_clock::now().time_since_epoch().count();
    return static_cast<std::uint64_t>(wall) ^ (static_cast<std::uint64_t>(steady) << 17);
}

std::atomic<IRandomSource*> GRandomSource{nullptr};

} // namespace

TSeededRandomSource::TSeededRandomSource(std::uint64_t seed) : FState(Step(seed + Increment)) {}

std::uint32_t TSeededRandomSource::Next32()
{
    std::uint64_t state = FState.load();
    while (!FState.compare_exchange_weak(state, Step(state))) {
    }
    return Permute(state);
}

TScriptedRandomSource::TScriptedRandomSource(std::vector<std::uint32_t> values) : FValues(std::move(values))
{
    if (FValues.empty())
        throw std::invalid_argument("a scripted random source needs at least one value");
}

std::uint32_t TScriptedRandomSource::Next32()
{
    std::lock_guard lock(FLock);
    const std::uint32_t value = FValues[FNext];
    FNext = (FNext + 1) % FValues.size();
    return value;
}

IRandomSource& CurrentRandomSource()
{
    if (auto* source = GRandomSource.load())
        return *source;
    static TSeededRandomSource clockSeeded(ClockSeed());
    return clockSeeded;
}

IRandomSource* SetRandomSource(IRandomSource* source)
{
    return GRandomSource.exchange(source);
}

std::uint32_t Random(std::uint32_t range)
{
    const std::uint64_t next = CurrentRandomSource().Next32();
    return static_cast<std::uint32_t>((next * range) >> 32);
}

} // namespace plat
