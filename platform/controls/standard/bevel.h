// TBevel: a sunken or raised line or frame, such as the line under a
// page's title. It has no window and takes no input.
#pragma once

#include "platform/controls/graphic_control.h"

namespace plat {

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
    PLAT_CLASS(TBevel, TGraphicControl)
public:
    explicit TBevel(TComponent* owner);

    TBevelShape Shape() const { return FShape; }
    void SetShape(TBevelShape value);
    TBevelStyle Style() const { return FStyle; }
    void SetStyle(TBevelStyle value);

protected:
    void Paint() override;

private:
    TBevelShape FShape = bsBox;
    TBevelStyle FStyle = bsLowered;
};

} // namespace plat
