// The regular-expression engine's recursive-descent parser: each rule of
// the grammar appends the states of what it read to the table and answers
// the number of its first state. Concatenation and alternation, which the
// grammar defines right-recursively, run as loops that append the states in
// the same order, so that only nested groups use the stack.
#include "widgets/pages/pgc_regex_engine.h"

#include <algorithm>

namespace qel {
namespace {

constexpr std::int32_t ErrorState = -1;
constexpr std::int32_t UnusedState = -1;
constexpr std::int32_t NewFinalState = -2; // the state numbered one higher than the new one

bool IsMetaChar(char16_t C)
{
    switch (C) {
    case u'$': case u'(': case u')': case u'*': case u'+': case u'-': case u'.':
    case u'?': case u'[': case u']': case u'^': case u'|':
        return true;
    default:
        return false;
    }
}

} // namespace

std::int32_t TPg32RegexEngine::AddState(TPg32MatchType aType, char16_t aChar,
    std::unique_ptr<TPg32WideCharSet> aClass, std::int32_t aNext1, std::int32_t aNext2)
{
    const auto number = static_cast<std::int32_t>(FTable.size());
    TPg32RegexState& state = FTable.emplace_back();
    state.MatchType = aType;
    state.MatchChar = aChar;
    state.CharClass = std::move(aClass);
    state.NextState1 = aNext1 == NewFinalState ? number + 1 : aNext1;
    state.NextState2 = aNext2 == NewFinalState ? number + 1 : aNext2;
    return number;
}

void TPg32RegexEngine::SetState(std::int32_t aState, std::int32_t aNext1, std::int32_t aNext2)
{
    FTable[static_cast<std::size_t>(aState)].NextState1 = aNext1;
    FTable[static_cast<std::size_t>(aState)].NextState2 = aNext2;
}

std::int32_t TPg32RegexEngine::Fail(TPg32RegexError aError)
{
    FErrorCode = aError;
    return ErrorState;
}

std::int32_t TPg32RegexEngine::ParseAnchorExpr()
{
    if (!AtEnd() && Current() == u'^') {
        FAnchorStart = true;
        ++FPosn;
        LogLine("parsed start anchor");
    }
    const std::int32_t start = ParseExpr();
    if (start != ErrorState && !AtEnd() && Current() == u'$') {
        FAnchorEnd = true;
        ++FPosn;
        LogLine("parsed end anchor");
    }
    return start;
}

// expression: term, optionally "|" expression. Each "|" adds a join (led
// to from its left term, pointed past everything at the end) and a split
// (pointed at its left term and at what follows on the right).
std::int32_t TPg32RegexEngine::ParseExpr()
{
    struct TAlternative {
        std::int32_t TermStart;
        std::int32_t Join;
        std::int32_t Split;
    };
    std::vector<TAlternative> alternatives;
    std::int32_t start = ParseTerm();
    while (start != ErrorState && !AtEnd() && Current() == u'|') {
        ++FPosn;
        LogLine("OR (alternation)");
        const std::int32_t join = AddState(mtNone, 0, nullptr, UnusedState, UnusedState);
        const std::int32_t split = AddState(mtNone, 0, nullptr, UnusedState, UnusedState);
        alternatives.push_back({start, join, split});
        start = ParseTerm();
    }
    if (start == ErrorState) {
        return ErrorState;
    }
    const auto after = static_cast<std::int32_t>(FTable.size());
    for (auto alternative = alternatives.rbegin(); alternative != alternatives.rend(); ++alternative) {
        SetState(alternative->Split, alternative->TermStart, start);
        SetState(alternative->Join, after, UnusedState);
        start = alternative->Split;
    }
    return start;
}

// term: factor, followed by another term when an atom can start here. A
// link state after each factor is pointed at the next factor.
std::int32_t TPg32RegexEngine::ParseTerm()
{
    const std::int32_t start = ParseFactor();
    if (start == ErrorState) {
        return ErrorState;
    }
    while (!AtEnd() && (Current() == u'(' || Current() == u'[' || Current() == u'.' || !IsMetaChar(Current()))) {
        LogLine("concatenation");
        const std::int32_t link = AddState(mtNone, 0, nullptr, UnusedState, UnusedState);
        const std::int32_t next = ParseFactor();
        if (next == ErrorState) {
            return ErrorState;
        }
        SetState(link, next, UnusedState);
    }
    return start;
}

// factor: atom, optionally "*", "+" or "?". The atom's last state leads to
// the state added right after it.
std::int32_t TPg32RegexEngine::ParseFactor()
{
    const std::int32_t atom = ParseAtom();
    if (atom == ErrorState || AtEnd()) {
        return atom;
    }
    switch (Current()) {
    case u'*':
        ++FPosn;
        LogLine("zero or more closure");
        return AddState(mtNone, 0, nullptr, NewFinalState, atom);
    case u'+':
        ++FPosn;
        LogLine("one or more closure");
        AddState(mtNone, 0, nullptr, NewFinalState, atom);
        return atom;
    case u'?': {
        ++FPosn;
        LogLine("zero or one closure");
        const std::int32_t join = AddState(mtNone, 0, nullptr, UnusedState, UnusedState);
        const std::int32_t split = AddState(mtNone, 0, nullptr, atom, join);
        SetState(join, static_cast<std::int32_t>(FTable.size()), UnusedState);
        return split;
    }
    default:
        return atom;
    }
}

std::int32_t TPg32RegexEngine::ParseAtom()
{
    if (AtEnd()) {
        return Fail(recSuddenEnd);
    }
    switch (Current()) {
    case u'(':
        return ParseGroup();
    case u'[':
        return ParseClass();
    case u'.':
        ++FPosn;
        LogLine("parsed anychar operator \".\"");
        return AddState(mtAnyChar, 0, nullptr, NewFinalState, UnusedState);
    default:
        return ParseChar();
    }
}

std::int32_t TPg32RegexEngine::ParseGroup()
{
    if (FGroupDepth >= MaxGroupDepth) {
        return Fail(recTooDeep);
    }
    ++FPosn;
    LogLine("parsed open paren");
    ++FGroupDepth;
    const std::int32_t start = ParseExpr();
    --FGroupDepth;
    if (start == ErrorState) {
        return ErrorState;
    }
    if (AtEnd() || Current() != u')') {
        return Fail(recNoCloseParen);
    }
    ++FPosn;
    LogLine("parsed close paren");
    return start;
}

std::int32_t TPg32RegexEngine::ParseClass()
{
    ++FPosn;
    LogLine("parsed open square bracket (start of class)");
    TPg32MatchType type = mtClass;
    if (!AtEnd() && Current() == u'^') {
        ++FPosn;
        type = mtNegClass;
        LogLine("it is a negated class");
    } else {
        LogLine("it is a normal class");
    }
    auto charClass = std::make_unique<TPg32WideCharSet>();
    do {
        if (!ParseCharRange(*charClass)) {
            return ErrorState;
        }
    } while (AtEnd() || Current() != u']');
    ++FPosn;
    LogLine("parsed close square bracket (end of class)");
    return AddState(type, 0, std::move(charClass), NewFinalState, UnusedState);
}

// class item: class character, optionally "-" class character. Ranges may
// be given in either order; ignoring case they hold each character as
// given and upper-cased, a single character only upper-cased.
bool TPg32RegexEngine::ParseCharRange(TPg32WideCharSet& aClass)
{
    char16_t first = 0;
    if (!ParseClassChar(first)) {
        return false;
    }
    if (AtEnd() || Current() != u'-') {
        aClass.Include(FIgnoreCase ? FUpcase(first) : first);
        return true;
    }
    ++FPosn;
    LogLine("-range to-");
    char16_t last = 0;
    if (!ParseClassChar(last)) {
        return false;
    }
    if (first > last) {
        std::swap(first, last);
    }
    aClass.IncludeRange(first, last);
    if (!FIgnoreCase) {
        return true;
    }
    if (FUpcase == AsciiUpCase) {
        const char16_t low = std::max(first, u'a');
        const char16_t high = std::min(last, u'z');
        if (low <= high) {
            aClass.IncludeRange(AsciiUpCase(low), AsciiUpCase(high));
        }
        return true;
    }
    for (std::uint32_t c = first; c <= last; ++c) {
        aClass.Include(FUpcase(static_cast<char16_t>(c)));
    }
    return true;
}

bool TPg32RegexEngine::ParseClassChar(char16_t& aChar)
{
    if (AtEnd()) {
        FErrorCode = recSuddenEnd;
        return false;
    }
    if (Current() == u'-' || Current() == u']') {
        FErrorCode = recMetaChar;
        return false;
    }
    if (Current() == u'\\') {
        ++FPosn;
        if (AtEnd()) {
            FErrorCode = recSuddenEnd;
            return false;
        }
    }
    aChar = Current();
    ++FPosn;
    LogChar("parsed charclass char: ", aChar);
    return true;
}

std::int32_t TPg32RegexEngine::ParseChar()
{
    if (IsMetaChar(Current())) {
        return Fail(recMetaChar);
    }
    if (Current() == u'\\') {
        ++FPosn;
        if (AtEnd()) {
            return Fail(recSuddenEnd);
        }
    }
    const char16_t c = Current();
    LogChar("parsed char: ", c);
    const std::int32_t state = AddState(mtChar, FIgnoreCase ? FUpcase(c) : c, nullptr, NewFinalState, UnusedState);
    ++FPosn;
    return state;
}

} // namespace qel
