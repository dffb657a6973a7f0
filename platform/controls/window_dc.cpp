// Window contexts: copies of part of a top-level window's pixels that load
// the mask's box first and the rest of the area on demand, and write back
// what they changed inside the mask.
#include "platform/controls/window_dc.h"

#include "platform/controls/window_manager.h"

#include <algorithm>
#include <cstring>

namespace plat {

namespace {

// Takes the drawn pixel where its colour differs from the held one; the
// unused fourth byte alone is no change. Written as a select over whole
// rows, so that the compiler vectorises it.
void WriteChangedRow(const std::uint8_t* drawn, const std::uint8_t* held, std::uint8_t* target, std::int64_t count)
{
    for (std::int64_t x = 0; x < count; ++x) {
        std::uint32_t now;
        std::uint32_t before;
        std::uint32_t there;
        std::memcpy(&now, drawn + 4 * x, 4);
        std::memcpy(&before, held + 4 * x, 4);
        std::memcpy(&there, target + 4 * x, 4);
        there = ((now ^ before) & 0x00FFFFFFu) != 0 ? now : there;
        std::memcpy(target + 4 * x, &there, 4);
    }
}

} // namespace

void CopyPixels(TPixelSurface& from, std::int64_t fromX, std::int64_t fromY, TPixelSurface& to, std::int64_t toX,
                std::int64_t toY, std::int64_t width, std::int64_t height)
{
    // Cut the block to the source, then to the destination.
    const std::int64_t skipX = std::max<std::int64_t>({0, -fromX, -toX});
    const std::int64_t skipY = std::max<std::int64_t>({0, -fromY, -toY});
    fromX += skipX;
    toX += skipX;
    fromY += skipY;
    toY += skipY;
    width = std::min<std::int64_t>({width - skipX, from.Width() - fromX, to.Width() - toX});
    height = std::min<std::int64_t>({height - skipY, from.Height() - fromY, to.Height() - toY});
    if (width <= 0 || height <= 0) {
        return;
    }
    for (std::int64_t row = 0; row < height; ++row) {
        const std::uint8_t* source = from.ScanLine(static_cast<int>(fromY + row)) + 4 * fromX;
        std::uint8_t* target = to.ScanLine(static_cast<int>(toY + row)) + 4 * toX;
        std::memmove(target, source, static_cast<std::size_t>(4 * width));
    }
}

TWindowSurfaceDC::TWindowSurfaceDC(TWindowDC& owner, TPixelSurface& pixels, int scale)
    : TSurfaceDC(pixels, scale), FOwner(owner)
{
}

TPixelSurface* TWindowSurfaceDC::Surface()
{
    FOwner.LoadRest();
    return TSurfaceDC::Surface();
}

int TWindowSurfaceDC::ExtSelectClipRgn(const TRegion* region, int mode)
{
    const int kind = TSurfaceDC::ExtSelectClipRgn(region, mode);
    CoverClip();
    return kind;
}

bool TWindowSurfaceDC::RestoreDC(int level)
{
    const bool restored = TSurfaceDC::RestoreDC(level);
    CoverClip();
    return restored;
}

// Drawing reaches only inside the clip; where that leaves what is copied
// in, the rest comes in before anything is drawn there.
void TWindowSurfaceDC::CoverClip()
{
    if (FOwner.FullyLoaded()) {
        return;
    }
    TRect box;
    GetClipBox(box);
    const int scale = DeviceScale();
    const TRect device{SaturateInt(std::int64_t{box.Left} * scale), SaturateInt(std::int64_t{box.Top} * scale),
                       SaturateInt(std::int64_t{box.Right} * scale), SaturateInt(std::int64_t{box.Bottom} * scale)};
    if (!FOwner.Covers(device)) {
        FOwner.LoadRest();
    }
}

TWindowDC::TWindowDC(TWindowManager& manager, HWND top, const TRect& areaInTop, TRegion mask, int scale, int width,
                     int height)
    : Top(top), Area(areaInTop), Mask(std::move(mask)), Scale(scale), FManager(manager),
      FPixels(width * scale, height * scale, 32), FWhole(Rect(0, 0, FPixels.Width(), FPixels.Height())),
      FDC(*this, FPixels, scale)
{
    // Every pixel is written by Load or LoadRest before anything reads it.
    FPixels.SkipStartingFill();
}

void TWindowDC::Load(TPixelSurface* source, TPoint sourceOrigin, const TRegion* clip)
{
    FSourceOrigin = sourceOrigin;
    const TRect box = Mask.Box();
    FOriginalBox = IntersectRect(Rect(SaturateInt(std::int64_t{box.Left} * Scale),
                                      SaturateInt(std::int64_t{box.Top} * Scale),
                                      SaturateInt(std::int64_t{box.Right} * Scale),
                                      SaturateInt(std::int64_t{box.Bottom} * Scale)),
                                 FWhole);
    FLoaded = clip != nullptr ? FOriginalBox : FWhole;
    LoadBlock(source, FLoaded);
    if (!FOriginalBox.IsEmpty()) {
        FOriginal = std::make_unique<TPixelSurface>(static_cast<int>(FOriginalBox.Width()),
                                                    static_cast<int>(FOriginalBox.Height()), 32);
        FOriginal->SkipStartingFill();
        CopyPixels(FPixels, FOriginalBox.Left, FOriginalBox.Top, *FOriginal, 0, 0, FOriginalBox.Width(),
                   FOriginalBox.Height());
    }
    if (clip != nullptr) {
        FDC.SelectClipRgn(clip);
    }
}

void TWindowDC::LoadRest()
{
    if (FullyLoaded()) {
        return;
    }
    TWindowRecord* record = FManager.Find(Top);
    TPixelSurface* source = record != nullptr && record->DeviceScale == Scale ? record->Pixels.get() : nullptr;
    if (FLoaded.IsEmpty()) {
        LoadBlock(source, FWhole);
    } else {
        LoadBlock(source, Rect(0, 0, FWhole.Right, FLoaded.Top));
        LoadBlock(source, Rect(0, FLoaded.Top, FLoaded.Left, FLoaded.Bottom));
        LoadBlock(source, Rect(FLoaded.Right, FLoaded.Top, FWhole.Right, FLoaded.Bottom));
        LoadBlock(source, Rect(0, FLoaded.Bottom, FWhole.Right, FWhole.Bottom));
    }
    FLoaded = FWhole;
}

void TWindowDC::BeforeChange(const TRect& changedInTop)
{
    if (FullyLoaded()) {
        return;
    }
    const TRect device{SaturateInt((std::int64_t{changedInTop.Left} - Area.Left) * Scale),
                       SaturateInt((std::int64_t{changedInTop.Top} - Area.Top) * Scale),
                       SaturateInt((std::int64_t{changedInTop.Right} - Area.Left) * Scale),
                       SaturateInt((std::int64_t{changedInTop.Bottom} - Area.Top) * Scale)};
    if (!Covers(IntersectRect(device, FWhole))) {
        LoadRest();
    }
}

bool TWindowDC::Covers(const TRect& deviceRect) const
{
    return deviceRect.IsEmpty() || (deviceRect.Left >= FLoaded.Left && deviceRect.Top >= FLoaded.Top &&
                                    deviceRect.Right <= FLoaded.Right && deviceRect.Bottom <= FLoaded.Bottom);
}

void TWindowDC::LoadBlock(TPixelSurface* source, const TRect& deviceRect)
{
    const TRect block = IntersectRect(deviceRect, FWhole);
    if (block.IsEmpty()) {
        return;
    }
    const std::int64_t fromX = std::int64_t{FSourceOrigin.X} * Scale + block.Left;
    const std::int64_t fromY = std::int64_t{FSourceOrigin.Y} * Scale + block.Top;
    const bool covered = source != nullptr && fromX >= 0 && fromY >= 0 &&
                         fromX + block.Width() <= source->Width() && fromY + block.Height() <= source->Height();
    if (!covered) {
        for (int y = block.Top; y < block.Bottom; ++y) {
            std::memset(FPixels.ScanLine(y) + std::size_t{4} * block.Left, 0, std::size_t{4} * block.Width());
        }
    }
    if (source != nullptr) {
        CopyPixels(*source, fromX, fromY, FPixels, block.Left, block.Top, block.Width(), block.Height());
    }
}

void TWindowDC::WriteChanged(TPixelSurface& target, TPoint fromOrigin, const TRegion& region)
{
    if (!FOriginal) {
        return;
    }
    const std::int64_t shiftX = std::int64_t{fromOrigin.X} * Scale;
    const std::int64_t shiftY = std::int64_t{fromOrigin.Y} * Scale;
    for (const TRect& rect : region.Rects()) {
        // The rectangle in the copy's device pixels, cut to the kept box and
        // to the target.
        const auto left = std::max<std::int64_t>(
            {(std::int64_t{rect.Left} - fromOrigin.X) * Scale, FOriginalBox.Left, -shiftX});
        const auto top = std::max<std::int64_t>(
            {(std::int64_t{rect.Top} - fromOrigin.Y) * Scale, FOriginalBox.Top, -shiftY});
        const auto right = std::min<std::int64_t>(
            {(std::int64_t{rect.Right} - fromOrigin.X) * Scale, FOriginalBox.Right, target.Width() - shiftX});
        const auto bottom = std::min<std::int64_t>(
            {(std::int64_t{rect.Bottom} - fromOrigin.Y) * Scale, FOriginalBox.Bottom, target.Height() - shiftY});
        if (left >= right) {
            continue;
        }
        for (std::int64_t y = top; y < bottom; ++y) {
            const std::uint8_t* drawn = FPixels.ScanLine(static_cast<int>(y)) + 4 * left;
            const std::uint8_t* held =
                FOriginal->ScanLine(static_cast<int>(y - FOriginalBox.Top)) + 4 * (left - FOriginalBox.Left);
            std::uint8_t* row = target.ScanLine(static_cast<int>(y + shiftY)) + 4 * (left + shiftX);
            WriteChangedRow(drawn, held, row, right - left);
        }
    }
}

} // namespace plat
