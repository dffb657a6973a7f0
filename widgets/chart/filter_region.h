// TFilterRegion: the rectangle a chart filter is limited to, stored as its
// left and top corner and its width and height.
#pragma once

#include "platform/canvas/graphics_types.h"
#include "platform/objects/persistent.h"

namespace qel {

class TFilterRegion : public plat::TPersistent {
    PLAT_CLASS(TFilterRegion, plat::TPersistent)
public:
    int Left() const { return FLeft; }
    void SetLeft(int Value) { FLeft = Value; }
    int Top() const { return FTop; }
    void SetTop(int Value) { FTop = Value; }
    int Width() const { return FWidth; }
    void SetWidth(int Value) { FWidth = Value; }
    int Height() const { return FHeight; }
    void SetHeight(int Value) { FHeight = Value; }

    // (Left, Top, Left + Width, Top + Height); writing takes the corner
    // and the sides of R.
    plat::TRect Rectangle() const;
    void SetRectangle(const plat::TRect& R);

    // Copies another region; any other source is refused.
    void Assign(const plat::TPersistent* Source) override;

private:
    int FLeft = 0;
    int FTop = 0;
    int FWidth = 0;
    int FHeight = 0;
};

} // namespace qel
