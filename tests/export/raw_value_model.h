// A logger model for the MATLAB and binary saver tests: a conversion that no
// gain and offset express, a gap value, names and units of several lengths.
#pragma once

#include "loggers/qel_base.h"

#include <string>

namespace qeltest {

class RawValueModel : public qel::TQEL {
public:
    static constexpr std::int16_t GAP = -32768;

    // Channel 0 "T" in "°C", every other "Level<ch>" in "‰" (a Windows-1252
    // byte of the range that is not its code point).
    std::string GetChName(std::uint32_t ch) const override { return ch == 0 ? "T" : "Level" + std::to_string(ch); }
    std::string GetChUnit(std::uint32_t ch) const override { return ch == 0 ? "°C" : "‰"; }
    // raw² / 4 - 3: exact in single precision for small raw values.
    float CalcChValue(std::uint32_t, std::int16_t x) const override
    {
        return 0.25f * static_cast<float>(x) * static_cast<float>(x) - 3.0f;
    }
    bool IsGAPValue(std::uint32_t, std::int16_t x) const override { return x == GAP; }
    float getChGain(std::uint32_t) const override { return 0.5f; }
    float getChOffset(std::uint32_t) const override { return -1.25f; }
};

} // namespace qeltest
