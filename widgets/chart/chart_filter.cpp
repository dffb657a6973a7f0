// The filter base: enabling, region, the rectangle of an Apply, row tables
// and assignment.
#include "widgets/chart/chart_filter.h"

#include "platform/canvas/bitmap.h"

#include <algorithm>

namespace qel {

PLAT_DEFINE_CLASS(TChtFilter, plat::TCollectionItem,
    plat::Published("Enabled", &TChtFilter::Enabled, &TChtFilter::SetEnabled).Default(true),
    plat::Published("Region", &TChtFilter::Region, &TChtFilter::SetRegion))

namespace {

// The far edge of a region side: Start + Extent within the bitmap's Size,
// or the bitmap's last pixel (at least Start) when Extent is 0.
int RegionEnd(int Start, int Extent, int Size)
{
    if (Extent == 0) {
        return std::max(Start, Size - 1);
    }
    return plat::SaturateInt(std::min<std::int64_t>(Size - 1, std::int64_t{Start} + Extent));
}

} // namespace

plat::TRect RectInside(const plat::TRect& R, int Width, int Height)
{
    return {std::max(R.Left, 0), std::max(R.Top, 0), std::min(R.Right, Width - 1), std::min(R.Bottom, Height - 1)};
}

TChtFilter::TChtFilter(plat::TCollection* Collection) : plat::TCollectionItem(Collection)
{
}

TChtFilter::~TChtFilter() = default;

void TChtFilter::SetEnabled(bool Value)
{
    if (Value == FEnabled) {
        return;
    }
    FEnabled = Value;
    FChanged(this);
}

TFilterRegion* TChtFilter::Region() const
{
    if (!FRegion) {
        FRegion = std::make_unique<TFilterRegion>();
    }
    return FRegion.get();
}

void TChtFilter::SetRegion(const TFilterRegion* Value)
{
    if (Value == nullptr) {
        FRegion.reset();
        return;
    }
    Region()->Assign(Value);
}

void TChtFilter::Apply(plat::TBitmap& Bitmap)
{
    const int W = Bitmap.Width();
    const int H = Bitmap.Height();
    plat::TRect R{0, 0, W - 1, H - 1};
    if (FRegion) {
        R.Left = FRegion->Left();
        R.Top = FRegion->Top();
        R.Right = RegionEnd(FRegion->Left(), FRegion->Width(), W);
        R.Bottom = RegionEnd(FRegion->Top(), FRegion->Height(), H);
    }
    Apply(Bitmap, R);
}

void TChtFilter::Apply(plat::TBitmap& Bitmap, const plat::TRect& R)
{
    if (!ReuseLines) {
        PrepareLines(Bitmap);
    }
    const int Width = RGBA ? FLinesRGBAWidth : FLinesWidth;
    const int Height = static_cast<int>(RGBA ? LinesRGBA.size() : Lines.size());
    Rect = RectInside(R, Width, Height);
}

void TChtFilter::ApplyTo(TFilterClass FilterClass, plat::TBitmap& Bitmap)
{
    const std::unique_ptr<TChtFilter> Filter(FilterClass->CreateAs<TChtFilter>(nullptr));
    Filter->Apply(Bitmap);
}

void TChtFilter::PrepareLines(plat::TBitmap& Bitmap)
{
    if (RGBA) {
        LinesRGBA = ScanLines32(Bitmap);
        FLinesRGBAWidth = Bitmap.Width();
    } else {
        Lines = ScanLines24(Bitmap);
        FLinesWidth = Bitmap.Width();
    }
}

bool TChtFilter::LinesEmpty() const
{
    return RGBA ? LinesRGBA.empty() : Lines.empty();
}

void TChtFilter::CreateEditor(IFormCreator&, const plat::TNotifyEvent& AChanged)
{
    FChanged = AChanged;
}

std::string TChtFilter::Description() const
{
    return std::string(ClassName());
}

void TChtFilter::PrepareForGallery()
{
}

void TChtFilter::Assign(const plat::TPersistent* Source)
{
    if (const auto* Filter = dynamic_cast<const TChtFilter*>(Source)) {
        SetEnabled(Filter->Enabled());
        SetRegion(Filter->Region());
        return;
    }
    plat::TCollectionItem::Assign(Source);
}

} // namespace qel
