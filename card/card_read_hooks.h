// What the card reads are given and report through: the stop request and the
// percentage of clusters done, posted only when it changes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>

namespace qel {

struct TCardReadHooks {
    std::function<bool()> Terminated;            // asked before each cluster
    std::function<void(std::int64_t)> Percent;   // each new percentage of the clusters done
};

// The percentage of total clusters done, handed to post when it changes;
// nothing is posted without a total or a receiver.
class TClusterProgress {
public:
    TClusterProgress(std::int64_t total, const std::function<void(std::int64_t)>& post) : FTotal(total), FPost(post) {}

    // count clusters are done.
    void Done(std::int64_t count)
    {
        if (count < FNextChange || FTotal <= 0 || !FPost) {
            return;
        }
        const std::int64_t percent = std::min<std::int64_t>(count * 100 / FTotal, 100);
        if (percent != FLast) {
            FLast = percent;
            FPost(percent);
        }
        // The first count whose percentage is above this one, so that a
        // cluster that changes nothing costs no division.
        FNextChange = ((percent + 1) * FTotal + 99) / 100;
    }

private:
    std::int64_t FTotal;              // clusters of the read
    std::int64_t FLast = -1;          // the percentage posted last
    std::int64_t FNextChange = 0;
    const std::function<void(std::int64_t)>& FPost;
};

} // namespace qel
