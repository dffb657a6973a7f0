// Weights of the resampling filters. Each argument of a sine is rounded to
// single precision, the sine taken in double, and each quotient rounded to
// single again, so that the weights come out the same on every machine.
#include "widgets/chart/resample_filters.h"

#include <cmath>
#include <numbers>

namespace qel {

namespace {

// sin(Argument) / Argument, rounded to single precision.
float SineOver(float Argument)
{
    return static_cast<float>(std::sin(static_cast<double>(Argument)) / static_cast<double>(Argument));
}

} // namespace

float Lanczos3Weight(float Distance)
{
    if (Distance == 0.0f) {
        return 1.0f;
    }
    const double T = std::fabs(static_cast<double>(Distance));
    if (T >= 3.0) {
        return 0.0f;
    }
    const auto PiT = static_cast<float>(std::numbers::pi * T);
    const auto PiTThird = static_cast<float>(std::numbers::pi * T / 3.0);
    return SineOver(PiT) * SineOver(PiTThird);
}

float TriangleWeight(float Distance)
{
    const float T = std::fabs(Distance);
    return T < 1.0f ? 1.0f - T : 0.0f;
}

} // namespace qel
