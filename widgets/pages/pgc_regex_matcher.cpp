// The regular-expression engine's matcher: one pass of the automaton per
// start position. The deque holds the states waiting at the current
// position, the scan marker, then the states waiting at the next one; a
// state reached again for the same position is not queued again.
#include "widgets/pages/pgc_regex_engine.h"

#include "widgets/pages/pgc_assertion.h"

#include <algorithm>
#include <stdexcept>

namespace qel {
namespace {

constexpr std::int32_t ScanMarker = -5;

} // namespace

std::int32_t TPg32RegexEngine::MatchString(std::u16string_view S)
{
    if (FTable.empty()) {
        std::int32_t position = 0;
        TPg32RegexError error = recNone;
        if (!Parse(position, error)) {
            throw std::runtime_error("The regex was invalid at position " + std::to_string(position));
        }
    }
    FPeakQueued = 0;
    if (S.empty()) {
        return 0;
    }
    if (FAnchorStart) {
        return MatchesFrom(S, 0) ? 1 : 0;
    }
    for (std::size_t start = 0; start < S.size(); ++start) {
        if (MatchesFrom(S, start)) {
            return static_cast<std::int32_t>(std::min<std::size_t>(start + 1, INT32_MAX));
        }
    }
    return 0;
}

// Position numbers here are 1-based: the automaton reads S[position - 1].
bool TPg32RegexEngine::MatchesFrom(std::u16string_view S, std::size_t aStart)
{
    const std::size_t length = S.size();
    // Stamps of this pass: stampBase + position, unique over all passes.
    const std::uint64_t stampBase = FStamp;
    FStamp += length + 2;
    const auto queueAt = [&](std::int32_t state, std::size_t position) {
        std::uint64_t& queued = FQueuedFor[static_cast<std::size_t>(state)];
        if (queued == stampBase + position) {
            return false;
        }
        queued = stampBase + position;
        return true;
    };

    FDeque.Clear();
    FDeque.Enqueue(ScanMarker);
    FDeque.Enqueue(FStartState);
    queueAt(FStartState, aStart + 1);
    std::size_t position = aStart;
    char16_t current = 0;
    while (position <= length && !FDeque.IsEmpty()) {
        FPeakQueued = std::max(FPeakQueued, FDeque.Count());
        const std::int32_t s = FDeque.Pop();
        if (s == ScanMarker) {
            if (FDeque.IsEmpty()) {
                break;
            }
            ++position;
            if (position > length) {
                break;
            }
            current = S[position - 1];
            if (FIgnoreCase) {
                current = FUpcase(current);
            }
            FDeque.Enqueue(ScanMarker);
            continue;
        }
        const TPg32RegexState& state = FTable[static_cast<std::size_t>(s)];
        const std::int32_t* next = FNextFlat.data() + FNextStart[static_cast<std::size_t>(s)];
        const std::int32_t* nextEnd = FNextFlat.data() + FNextStart[static_cast<std::size_t>(s) + 1];
        bool consumed = false;
        switch (state.MatchType) {
        case mtNone:
            if (s != FStartState) {
                throw EAssertionFailed("no-cost states shouldn't be seen");
            }
            for (; next != nextEnd; ++next) {
                if (queueAt(*next, position)) {
                    FDeque.Push(*next);
                }
            }
            break;
        case mtAnyChar:
            consumed = true;
            break;
        case mtChar:
            consumed = current == state.MatchChar;
            break;
        case mtClass:
            consumed = state.CharClass->Contains(current);
            break;
        case mtNegClass:
            consumed = !state.CharClass->Contains(current);
            break;
        case mtTerminal:
            if (!FAnchorEnd) {
                return true;
            }
            break;
        case mtUnused:
            throw EAssertionFailed("unused state " + std::to_string(s) + " shouldn't be seen");
        }
        if (consumed) {
            for (; next != nextEnd; ++next) {
                if (queueAt(*next, position + 1)) {
                    FDeque.Enqueue(*next);
                }
            }
        }
    }
    const bool pastEnd = position > length;
    while (!FDeque.IsEmpty()) {
        const std::int32_t s = FDeque.Pop();
        if (s != ScanMarker && FTable[static_cast<std::size_t>(s)].MatchType == mtTerminal && (!FAnchorEnd || pastEnd)) {
            return true;
        }
    }
    return false;
}

} // namespace qel
