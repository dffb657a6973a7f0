// Resize, crop, zoom and tile: pictures scaled through a second bitmap and
// drawn back.
#include "widgets/chart/resize_filters.h"

#include "widgets/chart/bitmap_copies.h"
#include "widgets/chart/chart_canvas_unit.h"
#include "widgets/chart/chart_messages.h"
#include "widgets/chart/filter_pixels.h"
#include "widgets/chart/form_creator.h"

#include "platform/canvas/bitmap.h"

#include <algorithm>
#include <cmath>

namespace qel {

PLAT_DEFINE_CLASS(TResizeFilter, TChtFilter,
    plat::Published("Width", &TResizeFilter::Width, &TResizeFilter::SetWidth).Default(0),
    plat::Published("Height", &TResizeFilter::Height, &TResizeFilter::SetHeight).Default(0))
PLAT_DEFINE_CLASS(TCropFilter, TResizeFilter,
    plat::Published("Left", &TCropFilter::Left, &TCropFilter::SetLeft).Default(0),
    plat::Published("Top", &TCropFilter::Top, &TCropFilter::SetTop).Default(0),
    plat::Published("Smooth", &TCropFilter::Smooth, &TCropFilter::SetSmooth).Default(false))
// Percent is stored when it differs from the 10 construction gives, so
// that a zoom of 0 % reads back as 0 %.
PLAT_DEFINE_CLASS(TZoomFilter, TChtFilter,
    plat::Published("Percent", &TZoomFilter::Percent, &TZoomFilter::SetPercent).Default(10.0),
    plat::Published("Smooth", &TZoomFilter::Smooth, &TZoomFilter::SetSmooth).Default(false))
PLAT_DEFINE_CLASS(TTileFilter, TChtFilter,
    plat::Published("NumCols", &TTileFilter::NumCols, &TTileFilter::SetNumCols).Default(3),
    plat::Published("NumRows", &TTileFilter::NumRows, &TTileFilter::SetNumRows).Default(3))

namespace {

// The canvas's rectangle copy: the rectangle From of Source, its right and
// bottom edges excluded, stretched onto the whole of Target. A side that
// has no extent is taken one pixel long, so that a rectangle one pixel wide
// or high still copies that pixel instead of nothing.
void CopyStretched(plat::TBitmap& Target, plat::TBitmap& Source, const plat::TRect& From)
{
    const plat::TRect Copied{From.Left, From.Top, std::max(From.Right, plat::SaturateInt(std::int64_t{From.Left} + 1)),
        std::max(From.Bottom, plat::SaturateInt(std::int64_t{From.Top} + 1))};
    StretchNearest(Target, {0, 0, Target.Width(), Target.Height()}, Source, Copied);
}

} // namespace

std::unique_ptr<plat::TBitmap> ResizedCopy(plat::TBitmap& Bitmap, int Width, int Height)
{
    auto Small = std::make_unique<plat::TBitmap>();
    SetBitmapSize(*Small, Width, Height);
    StretchSmoothly(*Small, Bitmap);
    return Small;
}

void TResizeFilter::Apply(plat::TBitmap& Bitmap, const plat::TRect&)
{
    if (FWidth <= 0 || FHeight <= 0) {
        return;
    }
    const auto Small = ResizedCopy(Bitmap, FWidth, FHeight);
    SetBitmapSize(Bitmap, FWidth, FHeight);
    DrawAt(Bitmap, *Small, 0, 0);
}

void TResizeFilter::Assign(const plat::TPersistent* Source)
{
    if (const auto* Other = dynamic_cast<const TResizeFilter*>(Source)) {
        FWidth = Other->FWidth;
        FHeight = Other->FHeight;
    }
    TChtFilter::Assign(Source);
}

void TResizeFilter::CreateEditor(IFormCreator& Creator, const plat::TNotifyEvent& AChanged)
{
    TChtFilter::CreateEditor(Creator, AChanged);
    Creator.AddInteger("Width", ChartText(TChartMessage::Width), 0, 10000);
    Creator.AddInteger("Height", ChartText(TChartMessage::Height), 0, 10000);
}

std::string TResizeFilter::Description() const
{
    return ChartText(TChartMessage::Resize);
}

void TResizeFilter::PrepareForGallery()
{
    FWidth = 50;
    FHeight = 50;
}

void TCropFilter::Apply(plat::TBitmap& Bitmap, const plat::TRect&)
{
    if (Width() <= 0 || Height() <= 0) {
        return;
    }
    plat::TBitmap Part(Width(), Height(), Bitmap.PixelFormat());
    CopyStretched(Part, Bitmap,
        {FLeft, FTop, plat::SaturateInt(std::int64_t{FLeft} + Width() - 1),
            plat::SaturateInt(std::int64_t{FTop} + Height() - 1)});
    if (FSmooth) {
        StretchSmoothly(Bitmap, Part);
    } else {
        // The last column and row of the bitmap keep their pixels.
        StretchNearest(Bitmap, {0, 0, Bitmap.Width() - 1, Bitmap.Height() - 1}, Part, {0, 0, Part.Width(), Part.Height()});
    }
}

void TCropFilter::Assign(const plat::TPersistent* Source)
{
    if (const auto* Other = dynamic_cast<const TCropFilter*>(Source)) {
        FLeft = Other->FLeft;
        FSmooth = Other->FSmooth;
        FTop = Other->FTop;
    }
    TResizeFilter::Assign(Source);
}

void TCropFilter::CreateEditor(IFormCreator& Creator, const plat::TNotifyEvent& AChanged)
{
    TResizeFilter::CreateEditor(Creator, AChanged);
    Creator.AddInteger("Left", ChartText(TChartMessage::Left), 0, 10000);
    Creator.AddInteger("Top", ChartText(TChartMessage::Top), 0, 10000);
    Creator.AddCheckBox("Smooth", ChartText(TChartMessage::Smooth), {});
}

std::string TCropFilter::Description() const
{
    return ChartText(TChartMessage::Crop);
}

void TZoomFilter::Apply(plat::TBitmap& Bitmap, const plat::TRect& R)
{
    const plat::TRect Inside = RectInside(R, Bitmap.Width(), Bitmap.Height());
    if (!std::isfinite(FPercent) || !HasPixels(Inside)) {
        return;
    }
    const int W = Inside.Right - Inside.Left + 1;
    const int H = Inside.Bottom - Inside.Top + 1;
    const auto Dx = static_cast<int>(NearestWithin(FPercent * W * 0.005, -W, W));
    const auto Dy = static_cast<int>(NearestWithin(FPercent * H * 0.005, -H, H));
    TCropFilter Crop(nullptr);
    Crop.SetWidth(std::max(1, W - 2 * Dx));
    Crop.SetHeight(std::max(1, H - 2 * Dy));
    Crop.SetSmooth(FSmooth);
    if (Bitmap.Width() == W && Bitmap.Height() == H) {
        Crop.SetLeft(Dx);
        Crop.SetTop(Dy);
        Crop.Apply(Bitmap, R);
        return;
    }
    plat::TBitmap Part(W, H, Bitmap.PixelFormat());
    CopyStretched(Part, Bitmap, Inside);
    Crop.SetLeft(Dx);
    Crop.SetTop(Dy);
    Crop.Apply(Part, R);
    DrawAt(Bitmap, Part, Inside.Left, Inside.Top);
}

void TZoomFilter::Assign(const plat::TPersistent* Source)
{
    if (const auto* Other = dynamic_cast<const TZoomFilter*>(Source)) {
        FPercent = Other->FPercent;
        FSmooth = Other->FSmooth;
    }
    TChtFilter::Assign(Source);
}

void TZoomFilter::CreateEditor(IFormCreator& Creator, const plat::TNotifyEvent& AChanged)
{
    TChtFilter::CreateEditor(Creator, AChanged);
    Creator.AddScroll("Percent", 0, 100);
    Creator.AddCheckBox("Smooth", ChartText(TChartMessage::Smooth), {});
}

std::string TZoomFilter::Description() const
{
    return ChartText(TChartMessage::Zoom);
}

void TZoomFilter::PrepareForGallery()
{
    FPercent = 60;
}

void TTileFilter::Apply(plat::TBitmap& Bitmap, const plat::TRect& R)
{
    TChtFilter::Apply(Bitmap, R);
    if (!HasLines24()) {
        return;
    }
    FNumCols = std::max(FNumCols, 1);
    FNumRows = std::max(FNumRows, 1);
    const int TileWidth = (Rect.Right - Rect.Left) / FNumCols;
    const int TileHeight = (Rect.Bottom - Rect.Top) / FNumRows;
    if (TileWidth <= 0 || TileHeight <= 0) {
        return;
    }
    const auto Small = ResizedCopy(Bitmap, TileWidth, TileHeight);
    for (int Column = 0; Column < FNumCols; ++Column) {
        for (int Row = 0; Row < FNumRows; ++Row) {
            DrawAt(Bitmap, *Small, std::int64_t{Column} * TileWidth, std::int64_t{Row} * TileHeight);
        }
    }
}

void TTileFilter::Assign(const plat::TPersistent* Source)
{
    if (const auto* Other = dynamic_cast<const TTileFilter*>(Source)) {
        FNumCols = Other->FNumCols;
        FNumRows = Other->FNumRows;
    }
    TChtFilter::Assign(Source);
}

void TTileFilter::CreateEditor(IFormCreator& Creator, const plat::TNotifyEvent& AChanged)
{
    TChtFilter::CreateEditor(Creator, AChanged);
    Creator.AddInteger("NumCols", ChartText(TChartMessage::FilterColumns), 1, 1000);
    Creator.AddInteger("NumRows", ChartText(TChartMessage::FilterRows), 1, 1000);
}

std::string TTileFilter::Description() const
{
    return ChartText(TChartMessage::Tile);
}

} // namespace qel
