// The regular-expression engine's settings, its parse driver and the
// compilation of a parsed table: no-cost chains shortened, successor sets
// computed once, unreachable no-cost states retired.
#include "widgets/pages/pgc_regex_engine.h"

#include "platform/objects/text_file.h"

#include <algorithm>

namespace qel {

char16_t AsciiUpCase(char16_t C)
{
    return C >= u'a' && C <= u'z' ? static_cast<char16_t>(C - (u'a' - u'A')) : C;
}

TPg32RegexEngine::TPg32RegexEngine(std::u16string aRegexStr) : FRegexStr(std::move(aRegexStr))
{
    FTable.reserve(64);
}

TPg32RegexEngine::~TPg32RegexEngine() = default;

void TPg32RegexEngine::SetIgnoreCase(bool aValue)
{
    if (aValue != FIgnoreCase) {
        ClearTable();
        FIgnoreCase = aValue;
    }
}

void TPg32RegexEngine::SetRegexString(std::u16string aValue)
{
    if (aValue != FRegexStr) {
        ClearTable();
        FRegexStr = std::move(aValue);
    }
}

void TPg32RegexEngine::SetUpcase(TPg32UpcaseChar aValue)
{
    const TPg32UpcaseChar upcase = aValue != nullptr ? aValue : AsciiUpCase;
    if (upcase != FUpcase) {
        ClearTable();
        FUpcase = upcase;
    }
}

void TPg32RegexEngine::ClearTable()
{
    FTable.clear();
    FNextFlat.clear();
    FNextStart.clear();
    FStartState = -1;
}

bool TPg32RegexEngine::Parse(std::int32_t& aErrorPos, TPg32RegexError& aErrorCode)
{
    if (FLogging) {
        OpenLog();
    }
    ClearTable();
    FAnchorStart = false;
    FAnchorEnd = false;
    FErrorCode = recNone;
    FPosn = 0;
    FGroupDepth = 0;

    bool parsed = false;
    if (FRegexStr.empty()) {
        FErrorCode = recSuddenEnd;
    } else {
        FStartState = ParseAnchorExpr();
        if (FStartState >= 0 && !AtEnd()) {
            FErrorCode = recExtraChars;
        }
        parsed = FErrorCode == recNone;
    }
    if (parsed) {
        AddState(mtTerminal, 0, nullptr, -1, -1);
        ShortenNoCostChains();
        BuildNextLists();
        FlattenNextLists();
        aErrorPos = 0;
        LogTable();
    } else {
        ClearTable();
        aErrorPos = static_cast<std::int32_t>(std::min<std::size_t>(FPosn + 1, INT32_MAX));
        LogParseError(aErrorPos);
    }
    aErrorCode = FErrorCode;
    CloseLog();
    return parsed;
}

// A successor that is a no-cost state with one successor is replaced by
// that successor until it is not. Such states (links and joins) always
// lead to a higher state, so each walk ends; the bound only guards that.
void TPg32RegexEngine::ShortenNoCostChains()
{
    const auto singleSuccessor = [this](std::int32_t s) -> std::int32_t {
        if (s < 0 || FTable[static_cast<std::size_t>(s)].MatchType != mtNone) {
            return -1;
        }
        const TPg32RegexState& state = FTable[static_cast<std::size_t>(s)];
        if (state.NextState1 >= 0 && state.NextState2 < 0) {
            return state.NextState1;
        }
        if (state.NextState2 >= 0 && state.NextState1 < 0) {
            return state.NextState2;
        }
        return -1;
    };
    const auto shortened = [&](std::int32_t s) {
        for (std::size_t steps = 0; steps < FTable.size(); ++steps) {
            const std::int32_t next = singleSuccessor(s);
            if (next < 0) {
                break;
            }
            s = next;
        }
        return s;
    };
    for (TPg32RegexState& state : FTable) {
        state.NextState1 = shortened(state.NextState1);
        state.NextState2 = shortened(state.NextState2);
    }
}

// The successor set of each consuming state and of the start state: the
// states of another kind met when following no-cost states through both
// successors (loops of no-cost states end, as each is visited once).
void TPg32RegexEngine::BuildNextLists()
{
    std::vector<std::int32_t> visitedFor(FTable.size(), -1);
    std::vector<std::int32_t> pending;
    std::vector<std::int32_t> reached;
    for (std::size_t owner = 0; owner < FTable.size(); ++owner) {
        TPg32RegexState& state = FTable[owner];
        const bool isStart = static_cast<std::int32_t>(owner) == FStartState;
        const bool consumes = state.MatchType >= mtAnyChar && state.MatchType <= mtNegClass;
        if (!isStart && !consumes) {
            continue;
        }
        pending.assign(1, state.NextState1);
        if (isStart) {
            pending.push_back(state.NextState2);
        }
        reached.clear();
        while (!pending.empty()) {
            const std::int32_t s = pending.back();
            pending.pop_back();
            if (s < 0 || visitedFor[static_cast<std::size_t>(s)] == static_cast<std::int32_t>(owner)) {
                continue;
            }
            visitedFor[static_cast<std::size_t>(s)] = static_cast<std::int32_t>(owner);
            const TPg32RegexState& target = FTable[static_cast<std::size_t>(s)];
            if (target.MatchType != mtNone) {
                reached.push_back(s);
                continue;
            }
            pending.push_back(target.NextState2);
            pending.push_back(target.NextState1);
        }
        // Added in ascending order, each value goes to the end of the sorted list.
        std::sort(reached.begin(), reached.end());
        state.NextList = std::make_unique<TPg32IntList>();
        state.NextList->SetCapacity(static_cast<std::int32_t>(reached.size()));
        for (const std::int32_t s : reached) {
            state.NextList->Add(s);
        }
    }
    for (std::size_t s = 0; s < FTable.size(); ++s) {
        if (FTable[s].MatchType == mtNone && static_cast<std::int32_t>(s) != FStartState) {
            FTable[s].MatchType = mtUnused;
        }
    }
}

void TPg32RegexEngine::FlattenNextLists()
{
    FNextStart.assign(FTable.size() + 1, 0);
    FNextFlat.clear();
    for (std::size_t s = 0; s < FTable.size(); ++s) {
        FNextStart[s] = static_cast<std::int32_t>(FNextFlat.size());
        if (FTable[s].NextList) {
            const std::vector<std::int32_t>& items = FTable[s].NextList->Items();
            FNextFlat.insert(FNextFlat.end(), items.begin(), items.end());
        }
    }
    FNextStart[FTable.size()] = static_cast<std::int32_t>(FNextFlat.size());
    FQueuedFor.assign(FTable.size(), 0);
}

} // namespace qel
