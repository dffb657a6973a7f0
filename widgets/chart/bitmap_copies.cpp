// Copies and nearest-pixel stretches between bitmaps.
#include "widgets/chart/bitmap_copies.h"

#include "widgets/chart/smooth_stretch.h"

#include "platform/canvas/bitmap.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace qel {

namespace {

int BytesPerPixel(const plat::TBitmap& Bitmap)
{
    return Bitmap.PixelFormat() == plat::pf24bit ? 3 : 4;
}

bool RowsMatch(const plat::TBitmap& Target, const plat::TBitmap& Source)
{
    return BytesPerPixel(Target) == BytesPerPixel(Source) && !Target.Empty() && !Source.Empty();
}

// One target row of a nearest stretch: pixel k comes from the source
// byte offset Offsets[k].
template <int Bytes>
void StretchRow(std::uint8_t* To, const std::uint8_t* From, const std::vector<int>& Offsets)
{
    for (const int Offset : Offsets) {
        std::memcpy(To, From + Offset, Bytes);
        To += Bytes;
    }
}

} // namespace

void DrawAt(plat::TBitmap& Target, plat::TBitmap& Source, std::int64_t X, std::int64_t Y)
{
    if (Target.Empty() || Source.Empty()) {
        return;
    }
    if (!RowsMatch(Target, Source)) {
        Target.Canvas()->Draw(plat::SaturateInt(X), plat::SaturateInt(Y), &Source);
        return;
    }
    const std::int64_t Left = std::max<std::int64_t>(X, 0);
    const std::int64_t Right = std::min<std::int64_t>(X + Source.Width(), Target.Width());
    const std::int64_t Top = std::max<std::int64_t>(Y, 0);
    const std::int64_t Bottom = std::min<std::int64_t>(Y + Source.Height(), Target.Height());
    if (Left >= Right || Top >= Bottom) {
        return;
    }
    const int Bytes = BytesPerPixel(Target);
    const auto Length = static_cast<std::size_t>((Right - Left) * Bytes);
    for (std::int64_t Row = Top; Row < Bottom; ++Row) {
        std::memcpy(Target.ScanLine(static_cast<int>(Row)) + Left * Bytes,
            Source.ScanLine(static_cast<int>(Row - Y)) + (Left - X) * Bytes, Length);
    }
}

void StretchNearest(plat::TBitmap& Target, plat::TBitmap& Source)
{
    if (Target.Empty() || Source.Empty()) {
        return;
    }
    if (!RowsMatch(Target, Source)) {
        Target.Canvas()->StretchDraw({0, 0, Target.Width(), Target.Height()}, &Source);
        return;
    }
    const int Bytes = BytesPerPixel(Target);
    std::vector<int> SourceOffsets(static_cast<std::size_t>(Target.Width()));
    for (int X = 0; X < Target.Width(); ++X) {
        SourceOffsets[static_cast<std::size_t>(X)] = NearestSourceIndex(X, Target.Width(), Source.Width()) * Bytes;
    }
    for (int Y = 0; Y < Target.Height(); ++Y) {
        const std::uint8_t* From = Source.ScanLine(NearestSourceIndex(Y, Target.Height(), Source.Height()));
        if (Bytes == 3) {
            StretchRow<3>(Target.ScanLine(Y), From, SourceOffsets);
        } else {
            StretchRow<4>(Target.ScanLine(Y), From, SourceOffsets);
        }
    }
}

void StretchSmoothly(plat::TBitmap& Target, plat::TBitmap& Source)
{
    if (Target.Width() > 1 && Target.Height() > 1 && Source.Width() > 1 && Source.Height() > 1) {
        SmoothStretch(&Source, &Target);
        return;
    }
    Source.SetPixelFormat(plat::pf24bit);
    Target.SetPixelFormat(plat::pf24bit);
    StretchNearest(Target, Source);
}

} // namespace qel
