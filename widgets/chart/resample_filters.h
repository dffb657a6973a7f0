// The two weighting filters of the smooth bitmap stretch: a three-lobe
// Lanczos window and a triangle, each a weight over a distance in source
// pixels, computed in single precision.
#pragma once

namespace qel {

struct TResampleFilter {
    float (*Weight)(float Distance);
    float Radius;   // the distance beyond which the weight is 0
};

// 1 at 0; sinc(t) * sinc(t / 3) for t = |Distance| < 3; else 0.
float Lanczos3Weight(float Distance);
// 1 - |Distance| below 1, else 0.
float TriangleWeight(float Distance);

inline constexpr TResampleFilter Lanczos3Filter{&Lanczos3Weight, 3.0f};
inline constexpr TResampleFilter TriangleFilter{&TriangleWeight, 1.0f};

} // namespace qel
