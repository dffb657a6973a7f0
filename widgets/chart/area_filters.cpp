// Mosaic, bevel and Sobel.
#include "widgets/chart/area_filters.h"

#include "widgets/chart/chart_messages.h"
#include "widgets/chart/filter_pixels.h"
#include "widgets/chart/form_creator.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>
#include <vector>

namespace qel {

// Amount and Percent are stored when they differ from what construction
// gives, so that every mosaic reads back as it was written.
PLAT_DEFINE_CLASS(TMosaicFilter, TAmountFilter,
    plat::Published("Amount", &TMosaicFilter::Amount, &TMosaicFilter::SetAmount).Default(8),
    plat::Published("Percent", &TMosaicFilter::Percent, &TMosaicFilter::SetPercent).Default(false))
PLAT_DEFINE_CLASS(TBevelFilter, TChtFilter,
    plat::Published("Bright", &TBevelFilter::Bright, &TBevelFilter::SetBright).Default(64),
    plat::Published("Size", &TBevelFilter::Size, &TBevelFilter::SetSize).Default(15))
PLAT_DEFINE_CLASS(TSobelFilter, TChtFilter)

namespace {

// The rows or columns First .. Last of one mosaic band or block.
struct TSpan {
    int First;
    int Last;
};

// First .. Last cut into spans of Size; the last span takes the rest,
// between 2 and Size + 1. A single index gives no span.
std::vector<TSpan> Spans(int First, int Last, int Size)
{
    std::vector<TSpan> All;
    int Start = First;
    while (Start < Last - Size) {
        All.push_back({Start, Start + Size - 1});
        Start += Size;
    }
    if (Start < Last) {
        All.push_back({Start, Last});
    }
    return All;
}

// Every block of one band of rows gets the mean colour of its pixels.
void MosaicBand(const TRGBArray& Lines, const TSpan& Band, const std::vector<TSpan>& Blocks)
{
    std::vector<std::array<std::uint64_t, 3>> Sums(Blocks.size(), {0, 0, 0});
    for (int Y = Band.First; Y <= Band.Last; ++Y) {
        const TRGB* Row = Lines[static_cast<std::size_t>(Y)];
        for (std::size_t Index = 0; Index < Blocks.size(); ++Index) {
            std::uint64_t Blue = 0, Green = 0, Red = 0;
            for (int X = Blocks[Index].First; X <= Blocks[Index].Last; ++X) {
                Blue += Row[X].Blue;
                Green += Row[X].Green;
                Red += Row[X].Red;
            }
            Sums[Index][0] += Blue;
            Sums[Index][1] += Green;
            Sums[Index][2] += Red;
        }
    }
    const int Rows = Band.Last - Band.First + 1;
    int ReciprocalWidth = 0;   // the block width Reciprocal belongs to
    float Reciprocal = 0;
    std::vector<TRGB> Means(Blocks.size());
    for (std::size_t Index = 0; Index < Blocks.size(); ++Index) {
        const int Width = Blocks[Index].Last - Blocks[Index].First + 1;
        if (Width != ReciprocalWidth) {
            ReciprocalWidth = Width;
            Reciprocal = static_cast<float>(1.0 / (static_cast<double>(Width) * Rows));
        }
        const auto Mean = [&](std::uint64_t Sum) {
            return ClampByte(NearestOf(static_cast<double>(static_cast<float>(Sum) * Reciprocal)));
        };
        Means[Index] = {Mean(Sums[Index][0]), Mean(Sums[Index][1]), Mean(Sums[Index][2])};
    }
    for (int Y = Band.First; Y <= Band.Last; ++Y) {
        TRGB* Row = Lines[static_cast<std::size_t>(Y)];
        for (std::size_t Index = 0; Index < Blocks.size(); ++Index) {
            std::fill(Row + Blocks[Index].First, Row + Blocks[Index].Last + 1, Means[Index]);
        }
    }
}

// The grey of each pixel of row Y between the columns Left and Right, in
// Grey[1 ..]; Grey[0] and the last cell stay 0 (the border of R).
void GreyRow(const TRGB* Row, int Left, int Right, std::vector<std::uint8_t>& Grey)
{
    for (int X = Left + 1; X < Right; ++X) {
        const TRGB& Pixel = Row[X];
        Grey[static_cast<std::size_t>(X - Left)] = static_cast<std::uint8_t>((Pixel.Blue + Pixel.Green + Pixel.Red) / 3);
    }
}

} // namespace

TMosaicFilter::TMosaicFilter(plat::TCollection* Collection) : TAmountFilter(Collection)
{
    SetAmount(8);
    SetPercent(false);
    IOnlyPositive = true;
}

void TMosaicFilter::Apply(plat::TBitmap& Bitmap, const plat::TRect& R)
{
    TAmountFilter::Apply(Bitmap, R);
    if (!HasLines24() || Amount() <= 0 || !HasPixels(Rect)) {
        return;
    }
    int Size = Amount();
    if (Percent()) {
        const std::int64_t Side = std::min(Rect.Right - Rect.Left, Rect.Bottom - Rect.Top);
        const auto Scaled = static_cast<double>(Amount() * Side) * 0.01;
        Size = static_cast<int>(NearestWithin(Scaled, 1, std::numeric_limits<int>::max()));
    }
    const std::vector<TSpan> Blocks = Spans(Rect.Left, Rect.Right, Size);
    for (const TSpan& Band : Spans(Rect.Top, Rect.Bottom, Size)) {
        MosaicBand(Lines, Band, Blocks);
    }
}

std::string TMosaicFilter::Description() const
{
    return ChartText(TChartMessage::Mosaic);
}

void TBevelFilter::Apply(plat::TBitmap& Bitmap, const plat::TRect& R)
{
    TChtFilter::Apply(Bitmap, R);
    if (!HasLines24() || !HasPixels(Rect)) {
        return;
    }
    TByteTable Lighter, Darker;
    for (int V = 0; V < 256; ++V) {
        Lighter[V] = ClampByte(std::int64_t{V} + FBright);
        Darker[V] = ClampByte(std::int64_t{V} - FBright);
    }
    const auto Change = [](TRGB& Pixel, const TByteTable& Table) {
        Pixel = {Table[Pixel.Blue], Table[Pixel.Green], Table[Pixel.Red]};
    };
    const auto Pixel = [this](int X, int Y) -> TRGB& { return Lines[static_cast<std::size_t>(Y)][X]; };
    const int HalfHeight = (Rect.Bottom - Rect.Top) / 2;
    const int HalfWidth = (Rect.Right - Rect.Left) / 2;
    const int Rings = std::min(FSize, std::max(HalfHeight, HalfWidth));
    for (int K = 0; K < Rings; ++K) {
        if (K < HalfHeight) {
            for (int X = Rect.Left + K; X <= Rect.Right - K; ++X) {
                Change(Pixel(X, Rect.Top + K), Lighter);
                Change(Pixel(X, Rect.Bottom - K), Darker);
            }
        }
        if (K < HalfWidth) {
            for (int Y = Rect.Top + K + 1; Y <= Rect.Bottom - K; ++Y) {
                Change(Pixel(Rect.Left + K, Y), Lighter);
                Change(Pixel(Rect.Right - K, Y), Darker);
            }
        }
    }
}

void TBevelFilter::Assign(const plat::TPersistent* Source)
{
    if (const auto* Other = dynamic_cast<const TBevelFilter*>(Source)) {
        FBright = Other->FBright;
        FSize = Other->FSize;
    }
    TChtFilter::Assign(Source);
}

void TBevelFilter::CreateEditor(IFormCreator& Creator, const plat::TNotifyEvent& AChanged)
{
    TChtFilter::CreateEditor(Creator, AChanged);
    Creator.AddScroll("Bright", 1, 255);
    Creator.AddScroll("Size", 1, 1000);
}

std::string TBevelFilter::Description() const
{
    return ChartText(TChartMessage::Bevel);
}

void TSobelFilter::Apply(plat::TBitmap& Bitmap, const plat::TRect& R)
{
    TChtFilter::Apply(Bitmap, R);
    if (!HasLines24() || Rect.Right - Rect.Left < 2 || Rect.Bottom - Rect.Top < 2) {
        return;
    }
    // Three rows of the grey table at a time: the one above, the row being
    // changed and the one below. A row's grey is taken before the row
    // above it is written, so every result sees the picture as it was.
    const auto Cells = static_cast<std::size_t>(Rect.Right - Rect.Left + 1);
    std::vector<std::uint8_t> Above(Cells, 0), Current(Cells, 0), Below(Cells, 0);
    GreyRow(Lines[static_cast<std::size_t>(Rect.Top + 1)], Rect.Left, Rect.Right, Current);
    for (int Y = Rect.Top + 1; Y < Rect.Bottom; ++Y) {
        if (Y + 1 < Rect.Bottom) {
            GreyRow(Lines[static_cast<std::size_t>(Y + 1)], Rect.Left, Rect.Right, Below);
        } else {
            std::fill(Below.begin(), Below.end(), std::uint8_t{0});
        }
        TRGB* Row = Lines[static_cast<std::size_t>(Y)] + Rect.Left;
        for (std::size_t X = 1; X + 1 < Cells; ++X) {
            const int Sx = (Above[X - 1] - Above[X + 1]) + 2 * (Current[X - 1] - Current[X + 1])
                + (Below[X - 1] - Below[X + 1]);
            const int Sy = (Above[X - 1] + 2 * Above[X] + Above[X + 1]) - (Below[X - 1] + 2 * Below[X] + Below[X + 1]);
            const auto Edge = static_cast<std::uint8_t>(std::min(255, std::abs(Sx) + std::abs(Sy)));
            Row[X] = {Edge, Edge, Edge};
        }
        std::swap(Above, Current);
        std::swap(Current, Below);
    }
}

std::string TSobelFilter::Description() const
{
    return ChartText(TChartMessage::Sobel);
}

} // namespace qel
