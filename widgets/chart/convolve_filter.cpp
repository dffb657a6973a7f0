// The 3 x 3 convolution pass. Rows are computed into a small buffer and
// written back one row late, so that every value is computed from pixels
// as they were before the pass while no more than two result rows wait.
#include "widgets/chart/convolve_filter.h"

#include "platform/float_checks.h"

#include <algorithm>
#include <cstring>

namespace qel {

PLAT_DEFINE_CLASS(TConvolveFilter, TChtFilter)

namespace {

// Sum / 9 with the remainder dropped, exact for every sum of nine bytes:
// 7282 exceeds 65536 / 9 by 2/9, which adds less than 2295 * (2/9) / 65536
// < 1/9 to the quotient, and a quotient's fraction is at most 8/9.
inline std::uint8_t MeanOfNine(std::uint32_t Sum)
{
    return static_cast<std::uint8_t>((Sum * 7282u) >> 16);
}

// V clamped to 0 .. 255 and rounded to the nearest integer, halves to the
// even neighbour (a NaN gives 0). Adding 2^23 leaves no fraction bits, so
// the addition itself rounds as nearbyint does.
inline std::uint8_t RoundToByte(float V)
{
    V = V > 0.0f ? V : 0.0f;
    V = V < 255.0f ? V : 255.0f;
    constexpr float NoFractionBits = 8388608.0f;
    return static_cast<std::uint8_t>((V + NoFractionBits) - NoFractionBits);
}

// One row of the mean path. The three rows and Out start at the left
// column of the rectangle and hold Bytes bytes; Out gets the inner pixels.
template <int PixelBytes>
void MeanRow(const std::uint8_t* Above, const std::uint8_t* Current, const std::uint8_t* Below, int Bytes,
    std::uint16_t* Sums, std::uint8_t* Out)
{
    for (int K = 0; K < Bytes; ++K) {
        Sums[K] = static_cast<std::uint16_t>(Above[K] + Current[K] + Below[K]);
    }
    for (int K = PixelBytes; K < Bytes - PixelBytes; ++K) {
        Out[K] = MeanOfNine(std::uint32_t{Sums[K - PixelBytes]} + Sums[K] + Sums[K + PixelBytes]);
    }
}

// One row of the weighted path: each product and each sum in single
// precision, in the order of the weights, then times Factor. The weights
// are held in locals: a byte store may alias anything, and would otherwise
// make every weight a reload.
template <int PixelBytes>
void WeightedRow(const std::uint8_t* Above, const std::uint8_t* Current, const std::uint8_t* Below, int Bytes,
    const std::array<float, 9>& Weights, float Factor, std::uint8_t* Out)
{
    constexpr int P = PixelBytes;
    const float W0 = Weights[0], W1 = Weights[1], W2 = Weights[2];
    const float W3 = Weights[3], W4 = Weights[4], W5 = Weights[5];
    const float W6 = Weights[6], W7 = Weights[7], W8 = Weights[8];
    for (int K = P; K < Bytes - P; ++K) {
        float Acc = W0 * Above[K - P];
        Acc = Acc + W1 * Above[K];
        Acc = Acc + W2 * Above[K + P];
        Acc = Acc + W3 * Current[K - P];
        Acc = Acc + W4 * Current[K];
        Acc = Acc + W5 * Current[K + P];
        Acc = Acc + W6 * Below[K - P];
        Acc = Acc + W7 * Below[K];
        Acc = Acc + W8 * Below[K + P];
        Out[K] = RoundToByte(Acc * Factor);
    }
}

// Writes the inner pixels of a computed row; 32-bit pixels keep their own
// fourth byte.
template <int PixelBytes>
void StoreRow(std::uint8_t* Row, const std::uint8_t* Computed, int Bytes)
{
    if constexpr (PixelBytes == 3) {
        std::memcpy(Row + 3, Computed + 3, static_cast<std::size_t>(Bytes - 6));
    } else {
        for (int K = 4; K < Bytes - 4; K += 4) {
            Row[K] = Computed[K];
            Row[K + 1] = Computed[K + 1];
            Row[K + 2] = Computed[K + 2];
        }
    }
}

} // namespace

TConvolveFilter::TConvolveFilter(plat::TCollection* Collection) : TChtFilter(Collection)
{
}

bool TConvolveFilter::IsMean() const
{
    return std::all_of(Weights.begin(), Weights.end(), [](float W) { return W == 1.0f; });
}

void TConvolveFilter::Apply(plat::TBitmap& Bitmap, const plat::TRect& R)
{
    TChtFilter::Apply(Bitmap, R);
    if (LinesEmpty()) {
        return;
    }
    if (!IsMean()) {
        float Sum = Weights[0];
        for (std::size_t Index = 1; Index < Weights.size(); ++Index) {
            Sum = Sum + Weights[Index];
        }
        FFactor = static_cast<float>(plat::CheckedDivide(1.0, Sum));
    }
    if (RGBA) {
        Pass<4>();
    } else {
        Pass<3>();
    }
}

template <int PixelBytes>
void TConvolveFilter::Pass()
{
    if (Rect.Right - Rect.Left < 2 || Rect.Bottom - Rect.Top < 2) {
        return;
    }
    const int Bytes = (Rect.Right - Rect.Left + 1) * PixelBytes;
    const auto RowAt = [this](int Y) {
        std::uint8_t* Row = PixelBytes == 4 ? reinterpret_cast<std::uint8_t*>(LinesRGBA[static_cast<std::size_t>(Y)])
                                            : reinterpret_cast<std::uint8_t*>(Lines[static_cast<std::size_t>(Y)]);
        return Row + static_cast<std::ptrdiff_t>(Rect.Left) * PixelBytes;
    };
    const bool Mean = IsMean();
    FColumnSums.resize(Mean ? static_cast<std::size_t>(Bytes) : 0);
    for (auto& Result : FResults) {
        Result.resize(static_cast<std::size_t>(Bytes));
    }
    for (int Y = Rect.Top + 1; Y < Rect.Bottom; ++Y) {
        std::uint8_t* Out = FResults[static_cast<std::size_t>(Y & 1)].data();
        if (Mean) {
            MeanRow<PixelBytes>(RowAt(Y - 1), RowAt(Y), RowAt(Y + 1), Bytes, FColumnSums.data(), Out);
        } else {
            WeightedRow<PixelBytes>(RowAt(Y - 1), RowAt(Y), RowAt(Y + 1), Bytes, Weights, FFactor, Out);
        }
        // Row Y - 1 has served as a neighbour for the last time.
        if (Y > Rect.Top + 1) {
            StoreRow<PixelBytes>(RowAt(Y - 1), FResults[static_cast<std::size_t>((Y - 1) & 1)].data(), Bytes);
        }
    }
    StoreRow<PixelBytes>(RowAt(Rect.Bottom - 1), FResults[static_cast<std::size_t>((Rect.Bottom - 1) & 1)].data(),
        Bytes);
}

} // namespace qel
