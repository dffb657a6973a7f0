// Fuzz target for the readers of stored setting texts: real numbers kept as
// text by the suite's programs must parse to a finite value or the default.
#include "foundations/settings.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const double value = qel::RegStrToFloat(text, -7.25);
    if (!std::isfinite(value)) {
        std::abort();
    }
    // The stored form reads back (15 digits: not beyond the largest doubles).
    const std::string stored = qel::FloatToRegStr(value, "");
    if (std::fabs(value) < 1e300 && (stored.empty() || qel::RegStrToFloat(stored, -1e300) == -1e300)) {
        std::abort();
    }
    return 0;
}
