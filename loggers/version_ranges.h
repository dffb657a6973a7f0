// The version words a model class accepts, as ranges of minor versions per
// major version; each model unit's SelectQelClass selects by its list.
#pragma once

#include "loggers/qel_base.h"

#include <cstdint>
#include <initializer_list>

namespace qel {

struct TVersionRange {
    std::uint8_t Major;
    std::uint8_t MinorFrom; // both ends included
    std::uint8_t MinorTo;
};

// Tested on the major version first, then on the minor version.
constexpr bool IsAcceptedVersion(std::uint16_t Version, std::initializer_list<TVersionRange> Ranges)
{
    const auto major = static_cast<std::uint8_t>(Version >> 8);
    const auto minor = static_cast<std::uint8_t>(Version & 0xFF);
    for (const TVersionRange& range : Ranges) {
        if (range.Major == major && minor >= range.MinorFrom && minor <= range.MinorTo) {
            return true;
        }
    }
    return false;
}

// The selection of a model unit: its class when it serves the model code and
// accepts the version word, TQEL otherwise.
inline TQelClass SelectWhenAccepted(TQelClass UnitClass, bool ServesCode, std::uint16_t Version,
                                    std::initializer_list<TVersionRange> Ranges)
{
    return ServesCode && IsAcceptedVersion(Version, Ranges) ? UnitClass : &TQEL::ClassInfo;
}

} // namespace qel
