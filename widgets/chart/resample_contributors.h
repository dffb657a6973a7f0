// Contributor lists of the smooth bitmap stretch: for each target pixel
// along one axis, the source pixels that feed it and their weights in
// fixed point (1024 = 1.0). The weights are used as computed, not scaled
// to sum to 1024.
#pragma once

#include "widgets/chart/resample_filters.h"

#include <cstdint>
#include <span>
#include <vector>

namespace qel {

struct TContributor {
    int Pixel;    // source index, always inside 0 .. source count - 1
    int Weight;   // 1024 = 1.0; negative in the Lanczos lobes
    friend bool operator==(const TContributor&, const TContributor&) = default;
};

class TContributorLists {
public:
    // Fills one list per target index 0 .. TargetCount - 1 for a source of
    // SourceCount pixels at Scale (target pixels per source pixel, both
    // above 1). Source positions beyond an edge are mirrored (the left
    // without repeating pixel 0, the right repeating the last pixel) until
    // they lie inside. The lists of an earlier Build are replaced.
    void Build(int SourceCount, int TargetCount, float Scale, const TResampleFilter& Filter);

    int Count() const { return static_cast<int>(FStarts.size()) - 1; }
    std::span<const TContributor> List(int Target) const;

private:
    std::vector<TContributor> FEntries;   // every list's entries, list after list
    std::vector<std::size_t> FStarts{0};  // list i is FEntries[FStarts[i] .. FStarts[i + 1])
};

// Where a source position j lands once mirrored into 0 .. Count - 1.
int MirrorIntoImage(std::int64_t J, int Count);

} // namespace qel
