// Bitmaps, icons and the bitmaps carried by name.
#include "platform/canvas/bitmap.h"

#include "platform/canvas/graphics_errors.h"

#include <cstring>
#include <map>
#include <mutex>
#include <vector>

namespace plat {

PLAT_DEFINE_CLASS(TBitmap, TGraphic)
PLAT_DEFINE_CLASS(TIcon, TGraphic)

namespace {

struct TBitmapResource {
    int Width;
    int Height;
    std::vector<std::uint8_t> Pixels;
};

std::mutex ResourceLock;
std::map<std::string, TBitmapResource>& Resources()
{
    static std::map<std::string, TBitmapResource> resources;
    return resources;
}

// A new bitmap's pixels are white: every byte 0xFF, as a white fill leaves them.
constexpr std::uint8_t WhiteByte = 0xFF;

int BitsOf(TPixelFormat format)
{
    return format == pf24bit ? 24 : 32;
}

} // namespace

void RegisterBitmapResource(const std::string& name, int width, int height, const std::uint8_t* pixels)
{
    if (width <= 0 || height <= 0 || pixels == nullptr)
        throw EInvalidGraphic("Invalid bitmap resource " + name);
    std::lock_guard guard(ResourceLock);
    Resources()[name] = {width, height,
        std::vector<std::uint8_t>(pixels, pixels + static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4)};
}

bool BitmapResourceExists(const std::string& name)
{
    std::lock_guard guard(ResourceLock);
    return Resources().count(name) != 0;
}

// --- TBitmap ------------------------------------------------------------------

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height, TPixelFormat format) : FFormat(format)
{
    SetSize(width, height);
}

TBitmap::~TBitmap() = default;

void TBitmap::Rebuild(int width, int height, TPixelFormat format)
{
    if (width < 0 || height < 0)
        throw EInvalidGraphic("Invalid bitmap size");
    std::unique_ptr<TPixelSurface> surface;
    std::unique_ptr<TSurfaceDC> dc;
    if (width > 0 && height > 0) {
        surface = std::make_unique<TPixelSurface>(width, height, BitsOf(format), WhiteByte);
        dc = std::make_unique<TSurfaceDC>(*surface);
        if (FDC)
            dc->BitBlt(0, 0, std::min(width, FWidth), std::min(height, FHeight), FDC.get(), 0, 0, SRCCOPY);
    }
    if (FCanvas)
        FCanvas->SetHandle(dc.get());
    FDC = std::move(dc);
    FSurface = std::move(surface);
    FWidth = FDC ? width : 0;
    FHeight = FDC ? height : 0;
    FFormat = format;
}

void TBitmap::SetSize(int width, int height)
{
    if (width == FWidth && height == FHeight && (FDC || width == 0 || height == 0))
        return;
    Rebuild(width, height, FFormat);
    Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat value)
{
    if (value == FFormat)
        return;
    Rebuild(FWidth, FHeight, value);
    Changed();
}

std::uint8_t* TBitmap::ScanLine(int y)
{
    if (!FSurface)
        throw EInvalidGraphic("Scan line index out of range");
    return FSurface->ScanLine(y);
}

TCanvas* TBitmap::Canvas()
{
    if (!FCanvas) {
        FCanvas = std::make_unique<TCanvas>(FDC.get());
        FCanvas->OnChange = TNotifyEvent(this, &TBitmap::CanvasChanged);
    }
    return FCanvas.get();
}

void TBitmap::CanvasChanged(TObject*)
{
    Changed();
}

TColor TBitmap::TransparentColor() const
{
    if (FTransparentMode == tmFixed && FTransparentColor != clDefault)
        return FTransparentColor;
    if (!FDC)
        return clDefault;
    return static_cast<TColor>(FDC->GetPixel(0, FHeight - 1));
}

void TBitmap::SetTransparentColor(TColor value)
{
    FTransparentColor = value;
    FTransparentMode = value == clDefault ? tmAuto : tmFixed;
    Changed();
}

void TBitmap::LoadFromResourceName(const std::string& name)
{
    TBitmapResource resource;
    {
        std::lock_guard guard(ResourceLock);
        const auto found = Resources().find(name);
        if (found == Resources().end())
            throw EResNotFound("Resource " + name + " not found");
        resource = found->second;
    }
    Rebuild(resource.Width, resource.Height, pf32bit);
    for (int y = 0; y < resource.Height; ++y)
        std::memcpy(FSurface->ScanLine(y), resource.Pixels.data() + static_cast<std::size_t>(y) * resource.Width * 4,
            static_cast<std::size_t>(resource.Width) * 4);
    Changed();
}

void TBitmap::Assign(const TPersistent* source)
{
    const auto* bitmap = dynamic_cast<const TBitmap*>(source);
    if (bitmap == nullptr) {
        TGraphic::Assign(source);
        return;
    }
    if (bitmap == this)
        return;
    FDC.reset();
    FSurface.reset();
    FWidth = FHeight = 0;
    Rebuild(bitmap->FWidth, bitmap->FHeight, bitmap->FFormat);
    if (FSurface)
        for (int y = 0; y < FHeight; ++y)
            std::memcpy(FSurface->ScanLine(y), bitmap->FSurface->ScanLine(y),
                static_cast<std::size_t>(FSurface->RowBytes()));
    FTransparentColor = bitmap->FTransparentColor;
    FTransparentMode = bitmap->FTransparentMode;
    SetTransparent(bitmap->Transparent());
    Changed();
}

void TBitmap::Draw(TCanvas& canvas, const TRect& rect)
{
    TDeviceContext* dc = canvas.Handle();
    if (dc == nullptr || Empty())
        return;
    if (!Transparent()) {
        dc->StretchBlt(rect.Left, rect.Top, static_cast<int>(rect.Width()), static_cast<int>(rect.Height()), FDC.get(),
            0, 0, FWidth, FHeight, canvas.CopyMode());
        return;
    }
    // Transparent: a copy whose alpha leaves out the transparent colour.
    const COLORREF key = ToColorRef(TransparentColor());
    TPixelSurface masked(FWidth, FHeight, 32);
    for (int y = 0; y < FHeight; ++y) {
        std::uint8_t* to = masked.ScanLine(y);
        TSurfaceDC& source = *FDC;
        for (int x = 0; x < FWidth; ++x) {
            const COLORREF c = source.GetPixel(x, y);
            const bool opaque = c != key;
            to[4 * x] = opaque ? GetBValue(c) : 0;
            to[4 * x + 1] = opaque ? GetGValue(c) : 0;
            to[4 * x + 2] = opaque ? GetRValue(c) : 0;
            to[4 * x + 3] = opaque ? 255 : 0;
        }
    }
    TSurfaceDC maskedDC(masked);
    dc->AlphaBlend(rect.Left, rect.Top, static_cast<int>(rect.Width()), static_cast<int>(rect.Height()), &maskedDC, 0,
        0, FWidth, FHeight, {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA});
}

// --- TIcon --------------------------------------------------------------------

TIcon::TIcon() : FImage(std::make_unique<TBitmap>())
{
    FImage->SetPixelFormat(pf32bit);
}

TIcon::~TIcon() = default;

void TIcon::SetSize(int width, int height)
{
    FImage->SetSize(width, height);
    Changed();
}

void TIcon::Assign(const TPersistent* source)
{
    if (const auto* icon = dynamic_cast<const TIcon*>(source)) {
        FImage->Assign(icon->FImage.get());
        Changed();
        return;
    }
    TGraphic::Assign(source);
}

void TIcon::Draw(TCanvas& canvas, const TRect& rect)
{
    if (canvas.Handle() == nullptr || Empty())
        return;
    // Alpha weighs each pixel: the colours are premultiplied for the blend.
    const int w = Width();
    const int h = Height();
    TPixelSurface premultiplied(w, h, 32);
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* from = FImage->ScanLine(y);
        std::uint8_t* to = premultiplied.ScanLine(y);
        for (int x = 0; x < 4 * w; x += 4) {
            const unsigned a = from[x + 3];
            to[x] = static_cast<std::uint8_t>(from[x] * a / 255);
            to[x + 1] = static_cast<std::uint8_t>(from[x + 1] * a / 255);
            to[x + 2] = static_cast<std::uint8_t>(from[x + 2] * a / 255);
            to[x + 3] = static_cast<std::uint8_t>(a);
        }
    }
    TSurfaceDC source(premultiplied);
    canvas.Handle()->AlphaBlend(rect.Left, rect.Top, static_cast<int>(rect.Width()), static_cast<int>(rect.Height()),
        &source, 0, 0, w, h, {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA});
}

} // namespace plat
