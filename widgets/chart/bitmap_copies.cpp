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

void StretchNearest(plat::TBitmap& Target, const plat::TRect& To, plat::TBitmap& Source, const plat::TRect& From)
{
    if (Target.Empty() || Source.Empty() || To.IsEmpty() || From.IsEmpty()) {
        return;
    }
    if (!RowsMatch(Target, Source)) {
        Target.Canvas()->CopyRect(To, Source.Canvas(), From);
        return;
    }
    const std::int64_t Left = std::max(To.Left, 0);
    const std::int64_t Right = std::min(To.Right, Target.Width());
    const std::int64_t Top = std::max(To.Top, 0);
    const std::int64_t Bottom = std::min(To.Bottom, Target.Height());
    if (Left >= Right || Top >= Bottom) {
        return;
    }
    const int Bytes = BytesPerPixel(Target);
    // The source byte offset of each target column, -1 off the source.
    std::vector<int> SourceOffsets;
    SourceOffsets.reserve(static_cast<std::size_t>(Right - Left));
    for (std::int64_t X = Left; X < Right; ++X) {
        const std::int64_t Column = From.Left + NearestSourceIndex(X - To.Left, To.Width(), From.Width());
        SourceOffsets.push_back(Column >= 0 && Column < Source.Width() ? static_cast<int>(Column) * Bytes : -1);
    }
    for (std::int64_t Y = Top; Y < Bottom; ++Y) {
        const std::int64_t Row = From.Top + NearestSourceIndex(Y - To.Top, To.Height(), From.Height());
        if (Row < 0 || Row >= Source.Height()) {
            continue;
        }
        const std::uint8_t* Line = Source.ScanLine(static_cast<int>(Row));
        std::uint8_t* Out = Target.ScanLine(static_cast<int>(Y)) + Left * Bytes;
        for (const int Offset : SourceOffsets) {
            if (Offset >= 0) {
                std::memcpy(Out, Line + Offset, static_cast<std::size_t>(Bytes));
            }
            Out += Bytes;
        }
    }
}

void StretchNearest(plat::TBitmap& Target, plat::TBitmap& Source)
{
    StretchNearest(Target, {0, 0, Target.Width(), Target.Height()}, Source, {0, 0, Source.Width(), Source.Height()});
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
