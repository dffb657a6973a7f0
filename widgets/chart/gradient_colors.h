// The colour stops of a chart gradient: each stop a colour at a position
// from 0 to 1 with its own transparency, kept in ascending position by the
// gradient's stop list, which tells its gradient of every change.
#pragma once

#include "widgets/chart/chart_colors.h"

#include "platform/objects/collection.h"

namespace qel {

class TCustomChtGradient;

// A transparency in percent: 0 opaque, 100 invisible.
using TChtTransparency = int;

class TChtGradientColor : public plat::TCollectionItem {
    PLAT_CLASS(TChtGradientColor, plat::TCollectionItem)
public:
    explicit TChtGradientColor(plat::TCollection* Collection);

    // Each setter tells the stop list of a real change.
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    double Offset() const { return FOffset; }
    void SetOffset(double Value);
    TChtTransparency Transparency() const { return FTransp; }
    void SetTransparency(TChtTransparency Value);

    // Copies colour, offset and transparency of another stop.
    void Assign(const plat::TPersistent* Source) override;

private:
    template <class T>
    void Store(T& Field, T Value);

    TColor FColor = 0;
    double FOffset = 0;              // position along the gradient, 0 .. 1
    TChtTransparency FTransp = 0;
};

class TChtGradientColors : public plat::TOwnedCollection {
    PLAT_CLASS(TChtGradientColors, plat::TOwnedCollection)
public:
    // Gradient may be nullptr: a list that belongs to no gradient.
    explicit TChtGradientColors(TCustomChtGradient* Gradient);

    // A stop at AOffset (brought into 0 .. 1), after every stop at or
    // before that offset.
    TChtGradientColor* Add(double AOffset, TColor AColor, TChtTransparency ATransparency);
    // The stop at Index; an index at or beyond the end first appends
    // default stops up to it. Index must not be negative.
    TChtGradientColor* Get(int Index);
    void Put(int Index, const TChtGradientColor* Value);

    // The owning gradient's change notification.
    void Repaint();

protected:
    void Update(plat::TCollectionItem* Item) override;

private:
    TCustomChtGradient* FGradient;
};

} // namespace qel
