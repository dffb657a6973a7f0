// The program's pseudo-random numbers: a replaceable source, by default a
// generator seeded from the clock when first used.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

namespace plat {

class IRandomSource {
public:
    virtual ~IRandomSource() = default;
    // The next uniformly distributed 32-bit number; safe from any thread.
    virtual std::uint32_t Next32() = 0;
};

// A permuted congruential generator: the same seed gives the same sequence.
class TSeededRandomSource : public IRandomSource {
public:
    explicit TSeededRandomSource(std::uint64_t seed);
    std::uint32_t Next32() override;

private:
    std::atomic<std::uint64_t> FState;
};

// Hands out the given numbers in order, starting again after the last (tests).
class TScriptedRandomSource : public IRandomSource {
public:
    explicit TScriptedRandomSource(std::vector<std::uint32_t> values);
    std::uint32_t Next32() override;

private:
    std::mutex FLock;
    std::vector<std::uint32_t> FValues;  // never empty
    std::size_t FNext = 0;               // index of the value handed out next
};

// The source in force: the clock-seeded default unless one was set.
IRandomSource& CurrentRandomSource();
// Makes source current (nullptr: back to the default) and returns the former one.
IRandomSource* SetRandomSource(IRandomSource* source);

class TScopedRandomSource {
public:
    explicit TScopedRandomSource(IRandomSource& source) : FFormer(SetRandomSource(&source)) {}
    ~TScopedRandomSource() { SetRandomSource(FFormer); }
    TScopedRandomSource(const TScopedRandomSource&) = delete;
    TScopedRandomSource& operator=(const TScopedRandomSource&) = delete;

private:
    IRandomSource* FFormer;
};

// A number from 0 to range - 1 of the current source (0 when range is 0): the
// next 32-bit number scaled to the range, Next32() * range / 2^32.
std::uint32_t Random(std::uint32_t range);

} // namespace plat
