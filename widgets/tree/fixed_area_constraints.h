// TDTFixedAreaConstraints: percent limits of the header's fixed area, the
// total width of the visible fixed columns and the header height, each a
// share of the tree's client width or height (0 means no limit).
#pragma once

#include "platform/objects/persistent.h"

#include <cstdint>
#include <functional>

namespace qel {

class TDTHeader;

using TDTConstraintPercent = std::uint8_t;

class TDTFixedAreaConstraints : public plat::TPersistent {
    PLAT_CLASS(TDTFixedAreaConstraints, plat::TPersistent)
public:
    TDTFixedAreaConstraints() = default;

    TDTConstraintPercent MaxHeightPercent() const { return FMaxHeightPercent; }
    TDTConstraintPercent MaxWidthPercent() const { return FMaxWidthPercent; }
    TDTConstraintPercent MinHeightPercent() const { return FMinHeightPercent; }
    TDTConstraintPercent MinWidthPercent() const { return FMinWidthPercent; }
    // Values above 100 become 100; a maximum other than 0 below the minimum
    // pulls the minimum down, a minimum above the maximum pushes it up.
    void SetMaxHeightPercent(int value);
    void SetMaxWidthPercent(int value);
    void SetMinHeightPercent(int value);
    void SetMinWidthPercent(int value);
    // Copies the four values and reports the change.
    void Assign(const TDTFixedAreaConstraints& source);
    void Assign(const plat::TPersistent* source) override;

    // Runs after every real change.
    std::function<void()> OnChange;

private:
    friend class TDTHeader;   // the header stream stores the values as read

    void Changed() const;

    TDTConstraintPercent FMaxHeightPercent = 0;
    TDTConstraintPercent FMaxWidthPercent = 95;
    TDTConstraintPercent FMinHeightPercent = 0;
    TDTConstraintPercent FMinWidthPercent = 0;
};

} // namespace qel
