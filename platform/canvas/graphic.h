// TGraphic, the base of pictures that draw themselves on a canvas (bitmaps,
// icons), and TPicture, the holder that owns one of them.
#pragma once

#include "platform/canvas/graphics_objects.h"
#include "platform/canvas/graphics_types.h"

#include <memory>

namespace plat {

class TCanvas;
class TBitmap;

class TGraphic : public TPersistent {
    PLAT_CLASS(TGraphic, TPersistent)
public:
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual bool Empty() const = 0;
    virtual void SetSize(int width, int height) = 0;
    bool Transparent() const { return FTransparent; }
    virtual void SetTransparent(bool value);

    // Draws the graphic stretched into rect of the canvas.
    virtual void Draw(TCanvas& canvas, const TRect& rect) = 0;

    TNotifyEvent OnChange;

protected:
    virtual void Changed();

private:
    bool FTransparent = false;
};

class TPicture : public TPersistent {
    PLAT_CLASS(TPicture, TPersistent)
public:
    TPicture();
    ~TPicture() override;

    TGraphic* Graphic() const { return FGraphic.get(); }
    // Takes a copy of the graphic (nullptr empties the picture).
    void SetGraphic(TGraphic* value);
    // The graphic as a bitmap; a picture without one gets an empty bitmap.
    TBitmap* Bitmap();
    int Width() const;
    int Height() const;

    void Assign(const TPersistent* source) override;
    TNotifyEvent OnChange;

private:
    void GraphicChanged(TObject* sender);

    std::unique_ptr<TGraphic> FGraphic;
};

} // namespace plat
