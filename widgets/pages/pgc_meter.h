// TPgcCustomMeter / TPgcMeter: the percent bar of the wizard's progress
// pages. A control without a window of its own that shows a percentage as
// a bar in a sunken frame: the used part in one colour (or picture), the
// rest in another, and optionally the percentage as centred text that
// inverts the pixels under its glyphs, so it reads on both parts. Every
// paint draws into a buffer of the control's size and copies it out.
//
// This platform draws left to right only, so the right-to-left text
// layout is not built.
#pragma once

#include "widgets/pages/pgc_base_controls.h"

#include "platform/canvas/bitmap.h"

#include <memory>
#include <string>

namespace qel {

enum TMeterOrientation : std::uint8_t { moHorizontal, moVertical };

// Called with the buffer's canvas after the bar is drawn (without the
// percent text); Rec is the whole control.
using TPgcOwnerDrawMeterEvent = plat::TEvent<void(plat::TCanvas* Canvas, plat::TRect& Rec)>;

class TPgcCustomMeter : public TPgcGraphicControl {
    PLAT_CLASS(TPgcCustomMeter, TPgcGraphicControl)
public:
    // The frame around the bar; the class's own, like the other controls
    // of the library, so that it meets no other border style in a unit.
    enum TBorderStyle : std::uint8_t { bsNone, bsSingle };

    // 200 x 24, 33 %, lime on the window colour in a sunken frame.
    explicit TPgcCustomMeter(plat::TComponent* AOwner);
    ~TPgcCustomMeter() override;

    // Any integer; the bar and the text show it clamped to 0 .. 100. A new
    // value repaints at once.
    int Percent() const { return FPercent; }
    void SetPercent(int Value);
    // The text shown: "33%".
    const std::string& ValueString() const { return FValueString; }

    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool Value);
    bool ShowPercent() const { return FShowPercent; }
    void SetShowPercent(bool Value);
    bool InvertPercent() const { return FInvertPercent; }
    void SetInvertPercent(bool Value);
    // Turning the bar swaps width and height (unless a used picture is set).
    TMeterOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TMeterOrientation Value);
    plat::TColor UsedColor() const { return FUsedColor; }
    void SetUsedColor(plat::TColor Value);
    plat::TColor UnusedColor() const { return FUnusedColor; }
    void SetUnusedColor(plat::TColor Value);
    // Pictures in place of the colours, copied in (nullptr empties them).
    plat::TBitmap* UsedImage() const { return FUsedImage.get(); }
    void SetUsedImage(plat::TBitmap* Value);
    plat::TBitmap* UnusedImage() const { return FUnusedImage.get(); }
    void SetUnusedImage(plat::TBitmap* Value);

    TPgcOwnerDrawMeterEvent OnOwnerDraw;

protected:
    void Paint() override;

private:
    // The buffer at the client size, made anew when the size changed.
    plat::TBitmap& DrawingBuffer();
    // The frame; answers the area inside it.
    plat::TRect DrawFrame(plat::TDeviceContext& DC) const;
    void DrawBar(plat::TCanvas& Canvas, const plat::TRect& Inside);
    void DrawHorizontal(plat::TCanvas& Canvas, const plat::TRect& R, int W, int H, int Used, int Rest);
    void DrawVertical(plat::TCanvas& Canvas, const plat::TRect& R, int W, int H, int Used, int Rest);
    void DrawPercentText(plat::TCanvas& Canvas, const plat::TRect& Inside);
    // Copies a picture in (nullptr empties it).
    void TakeImage(plat::TBitmap& Own, const plat::TBitmap* Value);
    // In design mode a picture sets the size and the orientation.
    void FitToImage(const plat::TBitmap& Image);
    int ClampedPercent() const;

    TBorderStyle FBorderStyle = bsSingle;
    bool FCtl3D = true;
    bool FInvertPercent = true;
    TMeterOrientation FOrientation = moHorizontal;
    int FPercent = 33;
    bool FShowPercent = false;
    plat::TColor FUsedColor = plat::clLime;
    plat::TColor FUnusedColor = plat::clWindow;
    std::unique_ptr<plat::TBitmap> FUnusedImage;
    std::unique_ptr<plat::TBitmap> FUsedImage;
    std::unique_ptr<plat::TBitmap> MemBM;   // the drawing buffer, made at the first paint
    std::unique_ptr<plat::TBitmap> TxtBM;   // the percent text, white on black
    std::string FValueString;
};

class TPgcMeter : public TPgcCustomMeter {
    PLAT_CLASS(TPgcMeter, TPgcCustomMeter)
public:
    explicit TPgcMeter(plat::TComponent* AOwner) : TPgcCustomMeter(AOwner) {}
};

} // namespace qel
