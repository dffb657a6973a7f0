// TRotateFilter: turns the whole picture by an angle in degrees, clockwise
// on the screen, into a new bitmap that may grow to hold the turned
// picture; and GradientRotate, which the gradient drawing calls to turn a
// gradient fill.
#pragma once

#include "widgets/chart/chart_colors.h"
#include "widgets/chart/chart_filter.h"

namespace qel {

class TCustomChtGradient;

class TRotateFilter : public TChtFilter {
    PLAT_CLASS(TRotateFilter, TChtFilter)
public:
    using TChtFilter::TChtFilter;

    double Angle() const { return FAngle; }
    void SetAngle(double Value) { FAngle = Value; }
    // The new bitmap grows to hold the turned picture.
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value) { FAutoSize = Value; }
    // Where no source pixel lands: white (as a new bitmap is made), clNone
    // (transparent) or any colour.
    TColor BackColor() const { return FBackColor; }
    void SetBackColor(TColor Value) { FBackColor = Value; }

    using TChtFilter::Apply;
    // Turns the whole bitmap (R only limits the rows prepared). An Angle
    // above 360 is first brought into (0, 360] (the property too); 0 does
    // nothing, 180 flips and reverses, 90 and 270 move pixels exactly,
    // other angles take the nearest source pixel. An Angle that is not
    // finite changes nothing, one below -1e40 no pixel; a bitmap 1 pixel
    // wide or high stays.
    void Apply(plat::TBitmap& Bitmap, const plat::TRect& R) override;
    void Assign(const plat::TPersistent* Source) override;
    void CreateEditor(IFormCreator& Creator, const plat::TNotifyEvent& AChanged) override;
    std::string Description() const override;
    void PrepareForGallery() override;

private:
    double FAngle = 0;
    bool FAutoSize = true;
    TColor FBackColor = clWhite;
};

// Turns Bitmap by Gradient's Angle with a new rotate filter; bitmaps of
// 4096 x 4096 pixels or more stay as they are.
void GradientRotate(const TCustomChtGradient& Gradient, plat::TBitmap& Bitmap);

} // namespace qel
