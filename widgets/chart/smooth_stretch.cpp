// The two passes of the smooth stretch. The horizontal pass resamples each
// source row into an intermediate image of target width and source height;
// the vertical pass resamples the intermediate's columns into Dest a whole
// row at a time, so both walk memory in order.
#include "widgets/chart/smooth_stretch.h"

#include "widgets/chart/pixel_rows.h"
#include "widgets/chart/resample_contributors.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/graphics_errors.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qel {

namespace {

constexpr int BytesPerPixel = 3;

// A channel sum of weight x byte products back to a byte: negative lobes
// may take it below 0, overshoot above 255 x 1024.
inline std::uint8_t SumToByte(std::int32_t Sum)
{
    if (Sum > 255 * 1024) {
        return 255;
    }
    if (Sum < 0) {
        return 0;
    }
    return static_cast<std::uint8_t>(Sum >> 10);
}

// The intermediate image: 24-bit rows without padding, every byte written
// by the horizontal pass before the vertical pass reads it.
struct TIntermediate {
    TIntermediate(int ImageWidth, int ImageHeight)
        : Width(ImageWidth), Height(ImageHeight), Bytes(new std::uint8_t[RowBytes() * static_cast<std::size_t>(Height)])
    {
    }

    int Width;
    int Height;
    std::unique_ptr<std::uint8_t[]> Bytes;

    std::size_t RowBytes() const { return static_cast<std::size_t>(Width) * BytesPerPixel; }
    std::uint8_t* Row(int Y) { return Bytes.get() + RowBytes() * static_cast<std::size_t>(Y); }
};

TIntermediate MakeIntermediate(int Width, int Height)
{
    if (std::int64_t{Width} * Height > plat::TPixelSurface::MaxPixels) {
        throw plat::EInvalidGraphic("Invalid bitmap size " + std::to_string(Width) + " x " + std::to_string(Height));
    }
    return TIntermediate(Width, Height);
}

// Rows are taken RowsAtOnce at a time, so that each contributor entry is
// loaded once for all of them; the last group repeats its last row.
constexpr int RowsAtOnce = 2;

void HorizontalPass(const TRGBArray& SourceRows, const TContributorLists& Lists, TIntermediate& Image)
{
    for (int Y = 0; Y < Image.Height; Y += RowsAtOnce) {
        const std::uint8_t* Source[RowsAtOnce];
        std::uint8_t* Out[RowsAtOnce];
        for (int R = 0; R < RowsAtOnce; ++R) {
            const int Row = std::min(Y + R, Image.Height - 1);
            Source[R] = reinterpret_cast<const std::uint8_t*>(SourceRows[static_cast<std::size_t>(Row)]);
            Out[R] = Image.Row(Row);
        }
        for (int X = 0; X < Image.Width; ++X) {
            std::int32_t Sum[RowsAtOnce][BytesPerPixel] = {};
            for (const TContributor& Entry : Lists.List(X)) {
                const std::ptrdiff_t At = static_cast<std::ptrdiff_t>(Entry.Pixel) * BytesPerPixel;
                for (int R = 0; R < RowsAtOnce; ++R) {
                    for (int C = 0; C < BytesPerPixel; ++C) {
                        Sum[R][C] += Entry.Weight * Source[R][At + C];
                    }
                }
            }
            for (int R = 0; R < RowsAtOnce; ++R) {
                for (int C = 0; C < BytesPerPixel; ++C) {
                    Out[R][BytesPerPixel * X + C] = SumToByte(Sum[R][C]);
                }
            }
        }
    }
}

// Each Dest row sums whole intermediate rows, every byte of a row at once.
void VerticalPass(TIntermediate& Image, const TContributorLists& Lists, const TRGBArray& DestRows)
{
    const std::size_t Bytes = Image.RowBytes();
    std::vector<std::int32_t> Sums(Bytes);
    for (int Y = 0; Y < static_cast<int>(DestRows.size()); ++Y) {
        std::fill(Sums.begin(), Sums.end(), 0);
        for (const TContributor& Entry : Lists.List(Y)) {
            const std::uint8_t* Row = Image.Row(Entry.Pixel);
            const auto Weight = static_cast<std::int16_t>(Entry.Weight);
            for (std::size_t K = 0; K < Bytes; ++K) {
                Sums[K] += Weight * static_cast<std::int16_t>(Row[K]);
            }
        }
        auto* Out = reinterpret_cast<std::uint8_t*>(DestRows[static_cast<std::size_t>(Y)]);
        for (std::size_t K = 0; K < Bytes; ++K) {
            Out[K] = SumToByte(Sums[K]);
        }
    }
}

} // namespace

void SmoothStretch(plat::TBitmap* Source, plat::TBitmap* Dest, bool Fast)
{
    if (Source == nullptr || Dest == nullptr) {
        return;
    }
    const int DW = Dest->Width();
    const int DH = Dest->Height();
    const int SW = Source->Width();
    const int SH = Source->Height();
    if (DW <= 1 || DH <= 1 || SW <= 1 || SH <= 1) {
        return;
    }
    const TResampleFilter& Filter = Fast ? TriangleFilter : Lanczos3Filter;
    TIntermediate Image = MakeIntermediate(DW, SH);
    const TRGBArray SourceRows = ScanLines24(*Source);
    const auto XScale = static_cast<float>(static_cast<double>(DW - 1) / static_cast<double>(SW - 1));
    const auto YScale = static_cast<float>(static_cast<double>(DH - 1) / static_cast<double>(SH - 1));

    TContributorLists Lists;
    Lists.Build(SW, DW, XScale, Filter);
    HorizontalPass(SourceRows, Lists, Image);
    Lists.Build(SH, DH, YScale, Filter);
    VerticalPass(Image, Lists, ScanLines24(*Dest));
}

} // namespace qel
