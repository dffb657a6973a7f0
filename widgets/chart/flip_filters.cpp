// Flip, reverse and mirror.
#include "widgets/chart/flip_filters.h"

#include "widgets/chart/chart_messages.h"
#include "widgets/chart/filter_pixels.h"
#include "widgets/chart/form_creator.h"

#include "platform/canvas/bitmap.h"

#include <algorithm>
#include <cstring>

namespace qel {

PLAT_DEFINE_CLASS(TFlipFilter, TChtFilter)
PLAT_DEFINE_CLASS(TReverseFilter, TChtFilter)
PLAT_DEFINE_CLASS(TMirrorFilter, TChtFilter,
    plat::Published("Direction", &TMirrorFilter::Direction, &TMirrorFilter::SetDirection,
        {"mdDown", "mdUp", "mdRight", "mdLeft"})
        .Default(mdDown))

namespace {

// Row To := row From read right to left; both of Width 24-bit pixels.
void CopyReversed(TRGB* To, const TRGB* From, int Width)
{
    std::reverse_copy(From, From + Width, To);
}

// Doubles a 24-bit bitmap's height: the picture in the upper half (Down) or
// the lower one, the flipped picture in the other.
void MirrorRows(plat::TBitmap& Bitmap, bool Down)
{
    const int Height = Bitmap.Height();
    const auto RowBytes = static_cast<std::size_t>(Bitmap.Width()) * 3;
    Bitmap.SetHeight(2 * Height);
    if (!Down) {
        for (int Y = Height - 1; Y >= 0; --Y) {
            std::memcpy(Bitmap.ScanLine(Height + Y), Bitmap.ScanLine(Y), RowBytes);
        }
    }
    const int Picture = Down ? 0 : Height;
    const int Mirror = Down ? Height : 0;
    for (int Y = 0; Y < Height; ++Y) {
        std::memcpy(Bitmap.ScanLine(Mirror + Y), Bitmap.ScanLine(Picture + Height - 1 - Y), RowBytes);
    }
}

// Doubles a 24-bit bitmap's width: the picture in the left half (Right) or
// the right one, each row reversed in the other.
void MirrorColumns(plat::TBitmap& Bitmap, bool Right)
{
    const int Width = Bitmap.Width();
    Bitmap.SetWidth(2 * Width);
    for (int Y = 0; Y < Bitmap.Height(); ++Y) {
        auto* Row = reinterpret_cast<TRGB*>(Bitmap.ScanLine(Y));
        if (Right) {
            CopyReversed(Row + Width, Row, Width);
        } else {
            std::memmove(Row + Width, Row, static_cast<std::size_t>(Width) * sizeof(TRGB));
            CopyReversed(Row, Row + Width, Width);
        }
    }
}

} // namespace

void TFlipFilter::Apply(plat::TBitmap& Bitmap, const plat::TRect& R)
{
    TChtFilter::Apply(Bitmap, R);
    if (!HasLines24() || !HasPixels(Rect)) {
        return;
    }
    const int Pixels = Rect.Right - Rect.Left + 1;
    for (int K = 0; K < (Rect.Bottom - Rect.Top + 1) / 2; ++K) {
        TRGB* Upper = Lines[static_cast<std::size_t>(Rect.Top + K)] + Rect.Left;
        TRGB* Lower = Lines[static_cast<std::size_t>(Rect.Bottom - K)] + Rect.Left;
        std::swap_ranges(Upper, Upper + Pixels, Lower);
    }
}

std::string TFlipFilter::Description() const
{
    return ChartText(TChartMessage::Flip);
}

void TReverseFilter::Apply(plat::TBitmap& Bitmap, const plat::TRect& R)
{
    TChtFilter::Apply(Bitmap, R);
    if (!HasLines24() || !HasPixels(Rect)) {
        return;
    }
    for (int Y = Rect.Top; Y <= Rect.Bottom; ++Y) {
        TRGB* Row = Lines[static_cast<std::size_t>(Y)];
        std::reverse(Row + Rect.Left, Row + Rect.Right + 1);
    }
}

std::string TReverseFilter::Description() const
{
    return ChartText(TChartMessage::Reverse);
}

TMirrorFilter::TMirrorFilter(plat::TCollection* Collection) : TChtFilter(Collection)
{
    AllowRegion = false;
}

void TMirrorFilter::Apply(plat::TBitmap& Bitmap, const plat::TRect& R)
{
    TChtFilter::Apply(Bitmap, R);
    if (!HasLines24()) {
        return;
    }
    switch (FDirection) {
    case mdDown:
    case mdUp:
        MirrorRows(Bitmap, FDirection == mdDown);
        break;
    case mdRight:
    case mdLeft:
        MirrorColumns(Bitmap, FDirection == mdRight);
        break;
    }
    Lines.clear();   // the rows of the bitmap's old size
}

void TMirrorFilter::Assign(const plat::TPersistent* Source)
{
    if (const auto* Other = dynamic_cast<const TMirrorFilter*>(Source)) {
        FDirection = Other->FDirection;
    }
    TChtFilter::Assign(Source);
}

void TMirrorFilter::CreateEditor(IFormCreator& Creator, const plat::TNotifyEvent& AChanged)
{
    TChtFilter::CreateEditor(Creator, AChanged);
    Creator.AddCombo("Direction");
}

std::string TMirrorFilter::Description() const
{
    return ChartText(TChartMessage::Mirror);
}

} // namespace qel
