// The four drawn border lines of a library control: each side with its own
// pen, drawn only while enabled.
#pragma once

#include "platform/canvas/graphics_objects.h"
#include "platform/objects/events.h"
#include "platform/objects/persistent.h"

#include <memory>

namespace qel {

enum TPgcBorderStyle { bpsSolid };

class TPgcBorder : public plat::TPersistent {
    PLAT_CLASS(TPgcBorder, plat::TPersistent)
public:
    TPgcBorder() = default;

    // Each setter fires OnChange on a change.
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    TPgcBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TPgcBorderStyle Value);
    plat::TColor PenColor() const { return FPenColor; }
    void SetPenColor(plat::TColor Value);
    plat::TPenStyle PenStyle() const { return FPenStyle; }
    void SetPenStyle(plat::TPenStyle Value);
    // Values below 1 are ignored.
    int PenWidth() const { return FPenWidth; }
    void SetPenWidth(int Value);

    // Enabled, PenColor, PenStyle and PenWidth through their setters.
    void Assign(const plat::TPersistent* Source) override;

    plat::TNotifyEvent OnChange;

private:
    void Changed() { OnChange(this); }

    bool FEnabled = false;
    TPgcBorderStyle FBorderStyle = bpsSolid;
    plat::TColor FPenColor = plat::clBlack;
    plat::TPenStyle FPenStyle = plat::psSolid;
    int FPenWidth = 2;                          // pixels, at least 1
};

class TPgcBorders : public plat::TPersistent {
    PLAT_CLASS(TPgcBorders, plat::TPersistent)
public:
    TPgcBorders();
    ~TPgcBorders() override;

    TPgcBorder* LeftBorder() const { return FLeftBorder.get(); }
    TPgcBorder* RightBorder() const { return FRightBorder.get(); }
    TPgcBorder* TopBorder() const { return FTopBorder.get(); }
    TPgcBorder* BottomBorder() const { return FBottomBorder.get(); }

    // Each side from the source's same side.
    void Assign(const plat::TPersistent* Source) override;

private:
    std::unique_ptr<TPgcBorder> FBottomBorder;
    std::unique_ptr<TPgcBorder> FLeftBorder;
    std::unique_ptr<TPgcBorder> FRightBorder;
    std::unique_ptr<TPgcBorder> FTopBorder;
};

} // namespace qel
