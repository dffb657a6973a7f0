// The 3 x 3 convolution pass and its buffer. Each computed row goes to its
// place in the buffer bitmap and is copied back one row late, once its
// bitmap row has served as a neighbour for the last time, so that every
// value is computed from pixels as they were before the pass.
#include "widgets/chart/convolve_filter.h"

#include "widgets/chart/chart_canvas_unit.h"

#include "platform/canvas/bitmap.h"
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
// column of the rectangle; the rows hold Bytes bytes, and Out gets the
// inner pixels, at their own offsets, in its first Bytes - PixelBytes.
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

// Copies the inner pixels of a computed row back; 32-bit pixels keep their
// own fourth byte.
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

// The first byte of row Y of a 24-bit or 32-bit row table.
template <int PixelBytes>
std::uint8_t* RowBytes(const TChtFilter& Filter, int Y)
{
    if constexpr (PixelBytes == 4) {
        return reinterpret_cast<std::uint8_t*>(Filter.LinesRGBA[static_cast<std::size_t>(Y)]);
    } else {
        return reinterpret_cast<std::uint8_t*>(Filter.Lines[static_cast<std::size_t>(Y)]);
    }
}

} // namespace

TConvolveFilter::TConvolveFilter(plat::TCollection* Collection) : TChtFilter(Collection)
{
}

TConvolveFilter::~TConvolveFilter() = default;

bool TConvolveFilter::IsMean() const
{
    return std::all_of(Weights.begin(), Weights.end(), [](float W) { return W == 1.0f; });
}

void TConvolveFilter::CreateBuffer(int Width, int Height)
{
    auto Filter = std::make_unique<TChtFilter>(nullptr);
    Filter->RGBA = RGBA;
    auto Bitmap = std::make_unique<plat::TBitmap>();
    // In the filter's pixel size from the start, so that sizing makes the
    // only pixel memory the buffer gets.
    Bitmap->SetPixelFormat(RGBA ? plat::pf32bit : plat::pf24bit);
    SetBitmapSize(*Bitmap, Width, Height);
    Filter->Apply(*Bitmap);
    BufferBitmap = std::move(Bitmap);
    BufferFilter = std::move(Filter);
}

void TConvolveFilter::FreeBuffer()
{
    BufferBitmap.reset();
    BufferFilter.reset();
}

bool TConvolveFilter::BufferHoldsRect() const
{
    return BufferBitmap && BufferFilter && BufferFilter->RGBA == RGBA
        && BufferBitmap->Width() >= Rect.Right - Rect.Left && BufferBitmap->Height() >= Rect.Bottom - Rect.Top;
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
    // Fewer than three columns or rows inside: no inner pixel.
    if (Rect.Right - Rect.Left < 2 || Rect.Bottom - Rect.Top < 2) {
        return;
    }
    const bool OwnBuffer = !KeepBuffer || !BufferHoldsRect();
    if (OwnBuffer) {
        CreateBuffer(Rect.Right - Rect.Left, Rect.Bottom - Rect.Top);
    }
    if (RGBA) {
        Pass<4>();
    } else {
        Pass<3>();
    }
    if (OwnBuffer) {
        FreeBuffer();
    }
}

template <int PixelBytes>
void TConvolveFilter::Pass()
{
    const int Bytes = (Rect.Right - Rect.Left + 1) * PixelBytes;
    const auto RowAt = [this](int Y) {
        return RowBytes<PixelBytes>(*this, Y) + static_cast<std::ptrdiff_t>(Rect.Left) * PixelBytes;
    };
    const auto BufferRowAt = [this](int Y) { return RowBytes<PixelBytes>(*BufferFilter, Y - Rect.Top); };
    const bool Mean = IsMean();
    FColumnSums.resize(Mean ? static_cast<std::size_t>(Bytes) : 0);
    for (int Y = Rect.Top + 1; Y < Rect.Bottom; ++Y) {
        std::uint8_t* Out = BufferRowAt(Y);
        if (Mean) {
            MeanRow<PixelBytes>(RowAt(Y - 1), RowAt(Y), RowAt(Y + 1), Bytes, FColumnSums.data(), Out);
        } else {
            WeightedRow<PixelBytes>(RowAt(Y - 1), RowAt(Y), RowAt(Y + 1), Bytes, Weights, FFactor, Out);
        }
        // Row Y - 1 has served as a neighbour for the last time.
        if (Y > Rect.Top + 1) {
            StoreRow<PixelBytes>(RowAt(Y - 1), BufferRowAt(Y - 1), Bytes);
        }
    }
    StoreRow<PixelBytes>(RowAt(Rect.Bottom - 1), BufferRowAt(Rect.Bottom - 1), Bytes);
}

} // namespace qel
