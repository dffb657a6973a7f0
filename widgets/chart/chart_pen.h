// The chart pen: the drawing layer's pen that can be hidden, with end caps
// and joins for wide lines, a dotted mode and an optional fill brush; and
// the hidden pen, invisible until shown. Every effective change reaches the
// owner through the pen's change event.
#pragma once

#include "widgets/chart/chart_brush.h"

#include "platform/canvas/graphics_objects.h"

#include <memory>

namespace qel {

enum TPenEndStyle { esRound, esSquare, esFlat };
enum TPenJoinStyle { jsRound, jsBevel, jsMitter };

class TChtPen : public plat::TPen {
    PLAT_CLASS(TChtPen, plat::TPen)
public:
    // Visible, round ends and joins; OnChangeEvent hears of every change.
    explicit TChtPen(plat::TNotifyEvent OnChangeEvent = {});
    ~TChtPen() override;

    TPenEndStyle EndStyle() const { return FEndStyle; }
    void SetEndStyle(TPenEndStyle Value);
    TPenJoinStyle JoinStyle() const { return FJoinStyle; }
    void SetJoinStyle(TPenJoinStyle Value);
    // One-pixel dots SmallSpace apart.
    bool SmallDots() const { return FSmallDots; }
    void SetSmallDots(bool Value);
    int SmallSpace() const { return FSmallSpace; }
    void SetSmallSpace(int Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    void Hide() { SetVisible(false); }
    void Show() { SetVisible(true); }

    // Made on first read with the pen's change event at that moment;
    // nullptr frees it, any other brush is copied.
    TChtBrush* Fill() const;
    void SetFill(const TChtBrush* Value);
    bool HasFill() const { return FFill != nullptr; }
    // The fill and its gradient exist and the gradient is visible; makes
    // nothing.
    bool IsGradientVisible() const;

    // Half the width of a visible pen wider than one pixel, else 0.
    int HalfWidth() const;

    // From another chart pen also visibility, dots, ends, joins and fill
    // (a source without fill frees this pen's), silently; then the
    // platform pen's part with one notification.
    void Assign(const plat::TPersistent* Source) override;

    // Defaults of the stored rules.
    TPenEndStyle DefaultEnd = esRound;
    TPenJoinStyle DefaultJoin = jsRound;
    bool DefaultVisible = true;
    int DefaultWidth = 1;

protected:
    // Sets the visibility without notification.
    void InitVisible(bool Value);

private:
    template <class T>
    void Store(T& Field, T Value);
    bool IsWidthStored() const { return Width() != DefaultWidth; }
    bool IsEndStyleStored() const { return FEndStyle != DefaultEnd; }
    bool IsJoinStyleStored() const { return FJoinStyle != DefaultJoin; }
    bool IsVisibleStored() const { return FVisible != DefaultVisible; }

    TPenEndStyle FEndStyle = esRound;
    TPenJoinStyle FJoinStyle = jsRound;
    bool FSmallDots = false;
    int FSmallSpace = 0;        // gap between small dots
    bool FVisible = true;
    mutable std::unique_ptr<TChtBrush> FFill;
};

// A pen that starts hidden and is stored only when shown.
class TChtHiddenPen : public TChtPen {
    PLAT_CLASS(TChtHiddenPen, TChtPen)
public:
    explicit TChtHiddenPen(plat::TNotifyEvent OnChangeEvent = {});
};

} // namespace qel
