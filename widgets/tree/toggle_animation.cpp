// The bands the toggle animation moves.
#include "widgets/tree/toggle_animation.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace qel {

namespace {

int Clip(std::int64_t value)
{
    return static_cast<int>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

} // namespace

TToggleAnimation TToggleAnimation::ForCollapse(const TToggleGeometry& g)
{
    TToggleAnimation animation;
    const std::int64_t c = g.ClientHeight;
    const std::int64_t y = g.OffsetY;
    const std::int64_t v = g.Range;
    const std::int64_t d = g.Delta;
    const std::int64_t below = std::int64_t{g.RowTop} + g.NodeHeight;
    if (!g.ChildrenAbove) {
        if (v + y + d < c && c < v && y != 0 && g.Advanced) {
            // The content would end above the client bottom: what lies
            // above moves down instead.
            animation.First = {0, Clip(std::min(below, c)), tdDown, Clip(std::min(-y, c - v - y - d))};
            animation.FRepaintAfter = true;
        } else {
            animation.First = {Clip(below), Clip(c), tdUp, Clip(std::min(c - below + 1, -d))};
        }
    } else if (-d <= -y || !g.Advanced) {
        animation.First = {0, g.RowTop, tdDown, Clip(std::min<std::int64_t>(g.RowTop + 1, -d))};
    } else {
        animation.First = {Clip(std::max<std::int64_t>(g.RowTop + d, 0)), Clip(c), tdUp, Clip(y - d)};
    }
    animation.FRuns = animation.First.Top < g.ClientHeight;
    animation.Left = g.RowLeft;
    animation.Right = g.RowRight;
    animation.Prepare();
    return animation;
}

TToggleAnimation TToggleAnimation::ForExpand(const TToggleGeometry& g)
{
    TToggleAnimation animation;
    const std::int64_t c = g.ClientHeight;
    const std::int64_t y = g.OffsetY;
    const std::int64_t v = g.Range;
    const std::int64_t d = g.Delta;
    const std::int64_t top = g.RowTop;
    const std::int64_t h = g.NodeHeight;
    const bool fits = h + d <= c;
    if (!g.ChildrenAbove) {
        if ((fits && g.RowBottom + d <= c) || !g.AutoScrollOnExpand || !g.Advanced || top < 1) {
            animation.First = {Clip(top + h), Clip(c), tdDown, Clip(std::min(c - (top + h), d))};
        } else {
            animation.First = {0, Clip(top + h + 1), tdUp, Clip(std::min(d + top + h + 1 - c, top + 1))};
            animation.Second = {Clip(top + h + 1), Clip(c), tdDown, Clip(c - (top + h + 1))};
        }
    } else {
        const bool room = top - d >= 0;
        const bool inside = g.RowBottom <= c;
        if (!g.Advanced || (fits && v >= c && ((inside && room) || !g.AutoScrollOnExpand))) {
            animation.First = {0, Clip(top), tdUp, Clip(std::min(d, top))};
        } else {
            // The rows from the node down move down, those above it up.
            std::int64_t first = 0;
            std::int64_t second = -1; // -1: the upper band stays
            bool firstMoves = true;
            if (!g.AutoScrollOnExpand) {
                first = d - y - std::max<std::int64_t>(0, v + d - c);
                if (v + d - c > 0) {
                    second = std::min(v + d - c, top);
                }
            } else {
                if (fits && inside && v + d > c) {
                    first = d < top ? c - v : std::llabs(top - d);
                } else if (v + d <= c) {
                    first = d;
                } else {
                    first = c - top - h;
                }
                if (v + d > c) {
                    firstMoves = first > 0;
                    second = firstMoves ? std::min(top, d - first) : std::min(d, c);
                }
            }
            animation.First = {Clip(top), Clip(c), firstMoves ? tdDown : tdNone, Clip(first)};
            if (second >= 0) {
                animation.Second = {0, Clip(top), tdUp, Clip(second)};
            }
        }
    }
    animation.FRuns = g.RowTop < g.ClientHeight && animation.First.Top <= g.ClientHeight;
    animation.Left = g.RowLeft;
    animation.Right = g.RowRight;
    animation.Prepare();
    return animation;
}

void TToggleAnimation::Prepare()
{
    const bool firstMoves = First.Direction != tdNone && First.Amount > 0;
    const bool secondMoves = Second.Direction != tdNone && Second.Amount > 0;
    if ((secondMoves && !firstMoves) || (firstMoves && secondMoves && First.Amount < Second.Amount)) {
        std::swap(First, Second);
    }
    if (First.Direction == tdNone) {
        First.Amount = 0;
    }
    Ratio = Second.Direction != tdNone && First.Amount > 0 ? static_cast<double>(Second.Amount) / First.Amount : 0;
    Remainder = 0;
}

int TToggleAnimation::SecondStep(int stepSize)
{
    if (stepSize <= 0 || Ratio == 0) {
        return 0;
    }
    const double exact = (stepSize + Remainder) * Ratio;
    const int amount = static_cast<int>(std::lround(exact));
    Remainder = (exact - amount) / Ratio;
    return amount;
}

} // namespace qel
