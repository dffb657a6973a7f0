// Image lists.
#include "platform/canvas/image_list.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/raster_ops.h"

#include <algorithm>

namespace plat {

PLAT_DEFINE_CLASS(TCustomImageList, TComponent,
    Published("Width", &TCustomImageList::Width, nullptr),
    Published("Height", &TCustomImageList::Height, nullptr))

namespace {

std::uint32_t Rgb(COLORREF c)
{
    return PixelFromColor(c) & 0xFFFFFFu;
}

// Half image, half the blend colour.
std::uint32_t Blend50(std::uint32_t pixel, std::uint32_t with)
{
    return ((pixel & 0xFEFEFEu) >> 1) + ((with & 0xFEFEFEu) >> 1);
}

// A light grey of the pixel's brightness.
std::uint32_t Greyed(std::uint32_t pixel)
{
    const unsigned r = pixel >> 16 & 0xFF, g = pixel >> 8 & 0xFF, b = pixel & 0xFF;
    const unsigned level = 128 + (r * 30 + g * 59 + b * 11) / 200;
    return level << 16 | level << 8 | level;
}

} // namespace

TChangeLink::~TChangeLink()
{
    if (FSender != nullptr)
        FSender->UnRegisterChanges(this);
}

void TChangeLink::Change()
{
    OnChange(FSender);
}

TCustomImageList::TCustomImageList(TComponent* owner) : TComponent(owner)
{
    std::fill(std::begin(FOverlays), std::end(FOverlays), -1);
}

TCustomImageList::~TCustomImageList()
{
    for (TChangeLink* link : FLinks)
        link->FSender = nullptr;
}

void TCustomImageList::Change()
{
    if (FUpdateCount > 0) {
        FChangedInUpdate = true;
        return;
    }
    const std::vector<TChangeLink*> links = FLinks;
    for (TChangeLink* link : links)
        link->Change();
    OnChange(this);
}

void TCustomImageList::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0 && FChangedInUpdate) {
        FChangedInUpdate = false;
        Change();
    }
}

void TCustomImageList::RegisterChanges(TChangeLink* link)
{
    if (link == nullptr)
        return;
    if (link->FSender != nullptr)
        link->FSender->UnRegisterChanges(link);
    link->FSender = this;
    FLinks.push_back(link);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* link)
{
    std::erase(FLinks, link);
    if (link != nullptr && link->FSender == this)
        link->FSender = nullptr;
}

void TCustomImageList::SetSize(int width, int height)
{
    width = std::clamp(width, 1, 1024);
    height = std::clamp(height, 1, 1024);
    if (width == FWidth && height == FHeight)
        return;
    FWidth = width;
    FHeight = height;
    FImages.clear();
    Change();
}

int TCustomImageList::Add(TBitmap* image, TBitmap* mask)
{
    if (image == nullptr || image->Empty())
        return -1;
    const int first = Count();
    const int pieces = std::max(image->Width() / FWidth, 1);
    for (int piece = 0; piece < pieces; ++piece) {
        TImage entry;
        for (int y = 0; y < FHeight; ++y)
            for (int x = 0; x < FWidth; ++x) {
                const int sx = piece * FWidth + x;
                const COLORREF c = image->Canvas()->Handle()->GetPixel(sx, y);
                const bool inside = c != CLR_INVALID;
                const bool masked = mask != nullptr && !mask->Empty()
                    && mask->Canvas()->Handle()->GetPixel(sx, y) == RGB(255, 255, 255);
                entry.Pixels.push_back(inside ? Rgb(c) : 0);
                entry.Opaque.push_back(inside && !masked);
            }
        FImages.push_back(std::move(entry));
    }
    Change();
    return first;
}

int TCustomImageList::AddMasked(TBitmap* image, TColor maskColor)
{
    if (image == nullptr || image->Empty())
        return -1;
    TBitmap mask(image->Width(), image->Height(), pf24bit);
    const COLORREF key = ToColorRef(maskColor);
    for (int y = 0; y < image->Height(); ++y)
        for (int x = 0; x < image->Width(); ++x)
            if (image->Canvas()->Handle()->GetPixel(x, y) != key)
                mask.Canvas()->Handle()->SetPixel(x, y, 0);
    return Add(image, &mask);
}

void TCustomImageList::Delete(int index)
{
    if (index < 0 || index >= Count())
        return;
    FImages.erase(FImages.begin() + index);
    Change();
}

void TCustomImageList::Clear()
{
    if (FImages.empty())
        return;
    FImages.clear();
    Change();
}

bool TCustomImageList::Overlay(int imageIndex, int overlay)
{
    if (overlay < 0 || overlay >= 15 || imageIndex < 0 || imageIndex >= Count())
        return false;
    FOverlays[overlay] = imageIndex;
    return true;
}

void TCustomImageList::SetBkColor(TColor value)
{
    if (value == FBkColor)
        return;
    FBkColor = value;
    Change();
}

void TCustomImageList::SetBlendColor(TColor value)
{
    if (value == FBlendColor)
        return;
    FBlendColor = value;
    Change();
}

void TCustomImageList::SetDrawingStyle(TDrawingStyle value)
{
    if (value == FDrawingStyle)
        return;
    FDrawingStyle = value;
    Change();
}

std::vector<std::uint32_t> TCustomImageList::Compose(int index, TDrawingStyle style, TImageType type, bool enabled,
    int overlay) const
{
    const std::size_t n = static_cast<std::size_t>(FWidth) * static_cast<std::size_t>(FHeight);
    std::vector<std::uint32_t> out(n, 0);
    const bool background = FBkColor != clNone && style != dsTransparent;
    const std::uint32_t blend = Rgb(ToColorRef(FBlendColor == clNone ? clHighlight : FBlendColor));
    const TImage& image = FImages[static_cast<std::size_t>(index)];
    const TImage* top = overlay >= 0 && overlay < 15 && FOverlays[overlay] >= 0 && FOverlays[overlay] < Count()
        ? &FImages[static_cast<std::size_t>(FOverlays[overlay])]
        : nullptr;
    for (std::size_t i = 0; i < n; ++i) {
        const TImage* source = top != nullptr && top->Opaque[i] ? top : &image;
        if (type == itMask) {
            out[i] = 0xFF000000u | (source->Opaque[i] ? 0 : 0xFFFFFFu);
            continue;
        }
        if (!source->Opaque[i]) {
            if (background)
                out[i] = 0xFF000000u | Rgb(ToColorRef(FBkColor));
            continue;
        }
        std::uint32_t pixel = source->Pixels[i];
        if (!enabled)
            pixel = Greyed(pixel);
        else if (style == dsSelected || style == dsFocus)
            pixel = Blend50(pixel, blend);
        out[i] = 0xFF000000u | pixel;
    }
    return out;
}

void TCustomImageList::Blit(TCanvas* canvas, int x, int y, const std::vector<std::uint32_t>& pixels)
{
    if (canvas == nullptr || canvas->Handle() == nullptr)
        return;
    TPixelSurface cell(FWidth, FHeight, 32);
    for (int row = 0; row < FHeight; ++row) {
        std::uint8_t* to = cell.ScanLine(row);
        for (int col = 0; col < FWidth; ++col) {
            const std::uint32_t p = pixels[static_cast<std::size_t>(row) * FWidth + static_cast<std::size_t>(col)];
            to[4 * col] = static_cast<std::uint8_t>(p);
            to[4 * col + 1] = static_cast<std::uint8_t>(p >> 8);
            to[4 * col + 2] = static_cast<std::uint8_t>(p >> 16);
            to[4 * col + 3] = static_cast<std::uint8_t>(p >> 24);
        }
    }
    TSurfaceDC source(cell);
    canvas->Handle()->AlphaBlend(x, y, FWidth, FHeight, &source, 0, 0, FWidth, FHeight,
        {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA});
}

void TCustomImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled)
{
    Draw(canvas, x, y, index, FDrawingStyle, itImage, enabled);
}

void TCustomImageList::Draw(TCanvas* canvas, int x, int y, int index, TDrawingStyle style, TImageType type,
    bool enabled)
{
    if (index < 0 || index >= Count())
        return;
    Blit(canvas, x, y, Compose(index, style, type, enabled, -1));
}

void TCustomImageList::DrawOverlay(TCanvas* canvas, int x, int y, int index, int overlay, bool enabled)
{
    DrawOverlay(canvas, x, y, index, overlay, FDrawingStyle, enabled);
}

void TCustomImageList::DrawOverlay(TCanvas* canvas, int x, int y, int index, int overlay, TDrawingStyle style,
    bool enabled)
{
    if (index < 0 || index >= Count())
        return;
    Blit(canvas, x, y, Compose(index, style, itImage, enabled, overlay));
}

} // namespace plat
