// The position records that the paragraph editor and its paragraph list share,
// and the common base of the editor classes.
#pragma once

#include "widgets/pages/para_list_observer.h"
#include "widgets/pages/pgc_base_controls.h"

#include <array>
#include <compare>
#include <cstdint>

namespace qel {

// A text position by paragraph. Para counts from 1, Pos from 1 within the
// paragraph (one past its last unit is its end); (0, 0) is an unset marker.
// Ordered by Para, then Pos.
struct TMarker {
    std::int32_t Para = 0;
    std::int32_t Pos = 0;
    auto operator<=>(const TMarker&) const = default;
};

// A text position by display line and column, both from 1.
struct TPgcTextPos {
    std::int32_t Line = 0;
    std::int32_t Col = 0;
    bool operator==(const TPgcTextPos&) const = default;
};

// The ten text markers of a paragraph list.
using TMarkerArray = std::array<TMarker, 10>;

// Common base of the editor classes: a windowed library control with a
// controller, and what a paragraph list reports its edits to.
//
// The library's start-up brush bitmap (8 x 8 pixels, 4 bits per pixel) is not
// loaded: nothing in the program reads it.
class TPgcEditBase : public TPgcCustomControlEx, public TPgcParaListObserver {
    PLAT_CLASS(TPgcEditBase, TPgcCustomControlEx)
public:
    explicit TPgcEditBase(plat::TComponent* AOwner) : TPgcCustomControlEx(AOwner) {}
};

} // namespace qel
