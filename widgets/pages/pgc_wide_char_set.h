// TPg32WideCharSet: one bit per 16-bit character code (8,192 bytes), the
// character class of a regular-expression state.
#pragma once

#include <array>
#include <cstdint>

namespace qel {

class TPg32WideCharSet {
public:
    void Include(char16_t C) { FWords[C >> 6] |= std::uint64_t{1} << (C & 63); }
    // First .. Last, both included (nothing when Last < First).
    void IncludeRange(char16_t First, char16_t Last);
    bool Contains(char16_t C) const { return (FWords[C >> 6] >> (C & 63) & 1) != 0; }

private:
    std::array<std::uint64_t, 1024> FWords{};
};

} // namespace qel
