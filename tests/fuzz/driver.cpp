// Stand-alone driver for the fuzz targets: feeds LLVMFuzzerTestOneInput a
// seeded sequence of inputs (random bytes, then mutations of earlier inputs)
// and of the files named on the command line. A crash or sanitizer report fails it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

std::vector<uint8_t> ReadFileBytes(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Mutate(std::vector<uint8_t>& input, std::mt19937_64& rng)
{
    std::uniform_int_distribution<int> kind(0, 4);
    const int steps = 1 + static_cast<int>(rng() % 8);
    for (int i = 0; i < steps; ++i) {
        if (input.empty()) {
            input.push_back(static_cast<uint8_t>(rng()));
            continue;
        }
        const size_t at = rng() % input.size();
        switch (kind(rng)) {
        case 0: input[at] = static_cast<uint8_t>(rng()); break;
        case 1: input[at] ^= static_cast<uint8_t>(1u << (rng() % 8)); break;
        case 2: input.insert(input.begin() + static_cast<std::ptrdiff_t>(at), static_cast<uint8_t>(rng())); break;
        case 3: input.erase(input.begin() + static_cast<std::ptrdiff_t>(at)); break;
        default: input.resize(at); break;
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    long runs = 10000;
    unsigned long seed = 1;
    std::vector<std::vector<uint8_t>> pool;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "-runs=", 6) == 0) {
            runs = std::strtol(argv[i] + 6, nullptr, 10);
        } else if (std::strncmp(argv[i], "-seed=", 6) == 0) {
            seed = std::strtoul(argv[i] + 6, nullptr, 10);
        } else {
            pool.push_back(ReadFileBytes(argv[i]));
        }
    }
    for (const auto& input : pool) {
        LLVMFuzzerTestOneInput(input.data(), input.size());
    }
    std::mt19937_64 rng(seed);
    for (long run = 0; run < runs; ++run) {
        std::vector<uint8_t> input;
        if (pool.empty() || rng() % 4 == 0) {
            input.resize(rng() % 4096);
            for (auto& byte : input) {
                byte = static_cast<uint8_t>(rng());
            }
        } else {
            input = pool[rng() % pool.size()];
            Mutate(input, rng);
        }
        LLVMFuzzerTestOneInput(input.data(), input.size());
        if (pool.size() < 256) {
            pool.push_back(std::move(input));
        }
    }
    std::printf("%ld runs done\n", runs);
    return 0;
}
