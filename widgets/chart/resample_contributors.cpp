// Building the contributor lists of one axis.
#include "widgets/chart/resample_contributors.h"

#include <cassert>
#include <cmath>

namespace qel {

int MirrorIntoImage(std::int64_t J, int Count)
{
    assert(Count >= 1);
    while (J < 0 || J >= Count) {
        J = J < 0 ? -J : 2 * std::int64_t{Count} - 1 - J;
    }
    return static_cast<int>(J);
}

void TContributorLists::Build(int SourceCount, int TargetCount, float Scale, const TResampleFilter& Filter)
{
    FEntries.clear();
    FStarts.assign(1, 0);
    const auto Step = static_cast<float>(1.0 / static_cast<double>(Scale));   // source pixels per target pixel
    const float HalfWidth = Filter.Radius * Step;
    const float Norm = Scale >= 1.0f ? 1024.0f : Scale * 1024.0f;
    for (int Target = 0; Target < TargetCount; ++Target) {
        const float Centre = static_cast<float>(Target) * Step;
        const auto First = static_cast<std::int64_t>(std::floor(static_cast<double>(Centre) - HalfWidth));
        const auto Last = static_cast<std::int64_t>(std::ceil(static_cast<double>(Centre) + HalfWidth));
        for (std::int64_t J = First; J <= Last; ++J) {
            float Distance = Centre - static_cast<float>(J);
            if (Scale < 1.0f) {
                Distance = Distance * Scale;
            }
            const float Weighted = Norm * Filter.Weight(Distance);
            const auto Weight = static_cast<int>(std::nearbyint(Weighted));
            if (Weight != 0) {
                FEntries.push_back({MirrorIntoImage(J, SourceCount), Weight});
            }
        }
        FStarts.push_back(FEntries.size());
    }
}

std::span<const TContributor> TContributorLists::List(int Target) const
{
    const auto Index = static_cast<std::size_t>(Target);
    return {FEntries.data() + FStarts[Index], FStarts[Index + 1] - FStarts[Index]};
}

} // namespace qel
