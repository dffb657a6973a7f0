// TBitmap: a 24- or 32-bit picture with a canvas and row access; its rows
// and its canvas see each other's writes. TIcon: a 32-bit picture whose
// alpha bytes weigh each pixel when drawn.
#pragma once

#include "platform/canvas/canvas.h"
#include "platform/canvas/graphic.h"
#include "platform/canvas/pixel_surface.h"
#include "platform/canvas/surface_dc.h"

#include <memory>
#include <string>

namespace plat {

enum TPixelFormat { pfDevice, pf24bit, pf32bit };
enum TTransparentMode { tmAuto, tmFixed };

class TBitmap : public TGraphic {
    PLAT_CLASS(TBitmap, TGraphic)
public:
    TBitmap();
    TBitmap(int width, int height, TPixelFormat format = pf32bit);
    ~TBitmap() override;

    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    bool Empty() const override { return FWidth == 0 || FHeight == 0; }
    // New pixels are white; the old ones keep their place where they fit.
    // Raises EInvalidGraphic for a negative or oversized size.
    void SetSize(int width, int height) override;
    void SetWidth(int value) { SetSize(value, FHeight); }
    void SetHeight(int value) { SetSize(FWidth, value); }
    // pfDevice stands for 32 bits.
    TPixelFormat PixelFormat() const { return FFormat; }
    void SetPixelFormat(TPixelFormat value);

    // Row y in the pixel format's layout; EInvalidGraphic for an empty
    // bitmap or a row outside it.
    std::uint8_t* ScanLine(int y);
    // The canvas drawing on the bitmap (on no surface while it is empty).
    TCanvas* Canvas();
    TPixelSurface* PixelSurface() const { return FSurface.get(); }
    TDeviceContext* DeviceContext() const { return FDC.get(); }

    // The colour treated as transparent: with tmAuto the bottom-left pixel.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor value);
    TTransparentMode TransparentMode() const { return FTransparentMode; }

    // Loads a bitmap registered under the name; EResNotFound when none is.
    void LoadFromResourceName(const std::string& name);

    void Assign(const TPersistent* source) override;
    void Draw(TCanvas& canvas, const TRect& rect) override;

private:
    void Rebuild(int width, int height, TPixelFormat format);
    void CanvasChanged(TObject* sender);

    int FWidth = 0;
    int FHeight = 0;
    TPixelFormat FFormat = pfDevice;
    std::unique_ptr<TPixelSurface> FSurface;
    std::unique_ptr<TSurfaceDC> FDC;
    std::unique_ptr<TCanvas> FCanvas;
    TColor FTransparentColor = clDefault;
    TTransparentMode FTransparentMode = tmAuto;
};

class TIcon : public TGraphic {
    PLAT_CLASS(TIcon, TGraphic)
public:
    TIcon();
    ~TIcon() override;

    int Width() const override { return FImage->Width(); }
    int Height() const override { return FImage->Height(); }
    bool Empty() const override { return FImage->Empty(); }
    void SetSize(int width, int height) override;
    // The icon's pixels: 32 bits, B, G, R and alpha (not premultiplied).
    TBitmap* Image() const { return FImage.get(); }

    void Assign(const TPersistent* source) override;
    void Draw(TCanvas& canvas, const TRect& rect) override;

private:
    std::unique_ptr<TBitmap> FImage;
};

// Bitmaps the program carries by name (the tree's button pictures and the
// like): 32-bit B, G, R, A pixels, top row first. Registering a name again
// replaces its picture.
void RegisterBitmapResource(const std::string& name, int width, int height, const std::uint8_t* pixels);
bool BitmapResourceExists(const std::string& name);

} // namespace plat
