// The two margins of the paragraph editor: the blank strip left of the text
// and the one at the right edge, each with an optional line.
#pragma once

#include "platform/canvas/graphics_objects.h"
#include "platform/objects/persistent.h"

#include <memory>

namespace qel {

class TPgcCustomEditor;

enum TPgcMarginSide { msLeft, msRight };

// A new position or line weight, or switching the line on or off, makes the
// editor measure itself again; a new line style or colour repaints it.
class TPgcEditorMargin : public plat::TPersistent {
    PLAT_CLASS(TPgcEditorMargin, plat::TPersistent)
public:
    // No line; the left margin 15 pixels wide, the right one 5.
    TPgcEditorMargin(TPgcMarginSide Side, TPgcCustomEditor* AOwner);

    TPgcMarginSide Side() const { return FSide; }
    // The line is drawn; on the left it also moves the text 4 pixels right
    // of the line.
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    int LineWeight() const { return FLineWeight; }
    void SetLineWeight(int Value);
    plat::TPenStyle LineStyle() const { return FLineStyle; }
    void SetLineStyle(plat::TPenStyle Value);
    plat::TColor LineColor() const { return FLineColor; }
    void SetLineColor(plat::TColor Value);
    // The margin's width: on the left the distance of the text from the
    // client's left edge, on the right the distance of the line from the
    // client's right edge.
    int LinePosition() const { return FLinePosition; }
    void SetLinePosition(int Value);

private:
    void Measure();
    void Repaint();

    TPgcCustomEditor* FEditor;      // not owned
    TPgcMarginSide FSide;
    bool FEnabled = false;
    int FLineWeight = 1;            // pen width of the line
    plat::TPenStyle FLineStyle = plat::psSolid;
    plat::TColor FLineColor = plat::clBlack;
    int FLinePosition;
};

class TPgcEditorMargins : public plat::TPersistent {
    PLAT_CLASS(TPgcEditorMargins, plat::TPersistent)
public:
    explicit TPgcEditorMargins(TPgcCustomEditor* AOwner);
    ~TPgcEditorMargins() override;

    TPgcEditorMargin* Left() const { return FLeftMargin.get(); }
    TPgcEditorMargin* Right() const { return FRightMargin.get(); }

private:
    std::unique_ptr<TPgcEditorMargin> FLeftMargin;
    std::unique_ptr<TPgcEditorMargin> FRightMargin;
};

} // namespace qel
