// The component library's regular-expression engine against std::regex
// (ECMAScript, ignoring case as the engine does by default) on the same
// inputs in one run: the validator's sample expressions anchored at both
// ends over short typed values, unanchored searches over long lines with
// the match late or absent, and the nested closure (a*)*b; run by hand.
#include "widgets/pages/pgc_regex_engine.h"
#include "widgets/pages/pgc_regex_validator.h"

#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <random>
#include <regex>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kTypedValues = 100'000;
constexpr std::size_t kMaxTypedLength = 40;
constexpr int kLines = 10'000;
constexpr std::size_t kLineLength = 200;
constexpr int kNestedAs = 30;

const char* const kSearchExpressions[] = {
    "[0-9][0-9][0-9]\\-[0-9][0-9][0-9][0-9]",
    "(1[012]|[1-9]):[0-5][0-9] (am|pm)",
    "colou?r",
    "ab+c",
    "q[^ ]*z",
};

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::u16string U16(const std::string& ascii)
{
    return {ascii.begin(), ascii.end()};
}

const char* Verdict(bool ok)
{
    return ok ? "ok" : "MISSED";
}

// Texts the compiled automaton accepts, by a random walk over its states:
// each step takes a state of the current successor set, ends at the
// terminal state, or types a character the state accepts.
class TAcceptedText {
public:
    TAcceptedText(const qel::TPg32RegexEngine& engine, std::mt19937& random) : FEngine(engine), FRandom(random) {}

    // A text of at most maxLength characters, or empty after many tries.
    std::string Make(std::size_t maxLength)
    {
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string text;
            if (Walk(maxLength, text) && !text.empty()) {
                return text;
            }
        }
        return {};
    }

private:
    static constexpr char kTypable[] = "0123456789abcdefghijklmnopqrstuvwxyzABCDEF :/\\-()";

    bool Walk(std::size_t maxLength, std::string& text)
    {
        const auto& table = FEngine.Table();
        const std::int32_t start = FEngine.StartState();
        // A start state that consumes is the first state; a no-cost one leads to its set.
        std::vector<std::int32_t> choices{start};
        if (table[static_cast<std::size_t>(start)].MatchType == qel::mtNone) {
            choices = table[static_cast<std::size_t>(start)].NextList->Items();
        }
        while (text.size() <= maxLength) {
            const std::int32_t state = choices[FRandom() % choices.size()];
            const qel::TPg32RegexState& s = table[static_cast<std::size_t>(state)];
            if (s.MatchType == qel::mtTerminal) {
                return true;
            }
            const char c = Accepted(s);
            if (c == 0) {
                return false;
            }
            text.push_back(c);
            choices = s.NextList->Items();
        }
        return false;
    }

    char Accepted(const qel::TPg32RegexState& state)
    {
        for (int attempt = 0; attempt < 200; ++attempt) {
            const char c = kTypable[FRandom() % (sizeof kTypable - 1)];
            const char16_t upper = qel::AsciiUpCase(static_cast<char16_t>(c));
            const bool accepted = state.MatchType == qel::mtAnyChar || (state.MatchType == qel::mtChar && upper == state.MatchChar)
                || (state.MatchType == qel::mtClass && state.CharClass->Contains(upper))
                || (state.MatchType == qel::mtNegClass && !state.CharClass->Contains(upper));
            if (accepted) {
                return c;
            }
        }
        return 0;
    }

    const qel::TPg32RegexEngine& FEngine;
    std::mt19937& FRandom;
};

struct TTypedValue {
    std::size_t Expression;
    std::string Text;
    std::u16string Text16;
};

// About half accepted texts, half accepted texts with one character
// changed, inserted or removed.
std::vector<TTypedValue> MakeTypedValues(std::deque<qel::TPg32RegexEngine>& engines, std::mt19937& random)
{
    std::vector<TTypedValue> values;
    values.reserve(kTypedValues);
    for (int i = 0; i < kTypedValues; ++i) {
        const std::size_t e = static_cast<std::size_t>(i) % engines.size();
        std::string text = TAcceptedText(engines[e], random).Make(kMaxTypedLength);
        if (text.empty()) {
            text.push_back('x');
        }
        for (int change = 0; i % 2 == 1 && change < 2; ++change) {
            const std::size_t at = random() % text.size();
            const char c = "09afxz :-#"[random() % 10];
            switch (random() % 3) {
            case 0: text[at] = c; break;
            case 1: if (text.size() < kMaxTypedLength) text.insert(text.begin() + static_cast<std::ptrdiff_t>(at), c); break;
            default: if (text.size() > 1) text.erase(at, 1); break;
            }
        }
        values.push_back({e, text, U16(text)});
    }
    return values;
}

void AnchoredSamples(std::mt19937& random)
{
    std::deque<qel::TPg32RegexEngine> engines;
    std::vector<std::regex> patterns;
    // None of the samples has an anchor, so the validator puts both around it.
    for (const qel::TValidatorSample& sample : qel::TPg32RegExValidator::Samples()) {
        const std::string expression(sample.Pattern);
        engines.emplace_back(U16("^" + expression + "$"));
        std::int32_t position = 0;
        qel::TPg32RegexError error = qel::recNone;
        engines.back().Parse(position, error);
        patterns.emplace_back("(?:" + expression + ")", std::regex::ECMAScript | std::regex::icase);
    }
    const std::vector<TTypedValue> values = MakeTypedValues(engines, random);

    std::vector<char> engineResults(values.size());
    auto start = Clock::now();
    for (std::size_t i = 0; i < values.size(); ++i) {
        engineResults[i] = engines[values[i].Expression].MatchString(values[i].Text16) == 1;
    }
    const double engineSeconds = SecondsSince(start);

    std::vector<char> stdResults(values.size());
    start = Clock::now();
    for (std::size_t i = 0; i < values.size(); ++i) {
        stdResults[i] = std::regex_match(values[i].Text, patterns[values[i].Expression]);
    }
    const double stdSeconds = SecondsSince(start);

    int matching = 0;
    int disagreements = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        matching += stdResults[i];
        disagreements += engineResults[i] != stdResults[i];
    }
    const double ratio = engineSeconds / stdSeconds;
    std::printf("%zu sample expressions, %d typed values (%.1f %% matching), anchored at both ends:\n", engines.size(),
        kTypedValues, 100.0 * matching / kTypedValues);
    std::printf("  engine %.3f s, std::regex_match %.3f s, ratio %.3f (target <= 1.0) %s; disagreements %d %s\n",
        engineSeconds, stdSeconds, ratio, Verdict(ratio <= 1.0), disagreements, Verdict(disagreements == 0));
}

// Lines of filler in which no expression matches; half of them end with
// an accepted text of one expression.
std::vector<std::string> MakeLines(std::deque<qel::TPg32RegexEngine>& engines, const std::vector<std::regex>& patterns,
    std::mt19937& random)
{
    static constexpr char kFiller[] = "abdeghijklmnoprstuvwxy0123456789 .,;";
    std::vector<std::string> lines;
    lines.reserve(kLines);
    while (lines.size() < static_cast<std::size_t>(kLines)) {
        std::string line(kLineLength, ' ');
        for (char& c : line) {
            c = kFiller[random() % (sizeof kFiller - 1)];
        }
        bool clean = true;
        for (const std::regex& pattern : patterns) {
            clean = clean && !std::regex_search(line, pattern);
        }
        if (!clean) {
            continue;
        }
        if (lines.size() % 2 == 1) {
            const std::size_t e = random() % engines.size();
            const std::string accepted = TAcceptedText(engines[e], random).Make(16);
            line.replace(kLineLength - 1 - accepted.size(), accepted.size(), accepted);
        }
        lines.push_back(line);
    }
    return lines;
}

void UnanchoredSearches(std::mt19937& random)
{
    std::deque<qel::TPg32RegexEngine> engines;
    std::vector<std::regex> patterns;
    for (const char* expression : kSearchExpressions) {
        engines.emplace_back(U16(expression));
        std::int32_t position = 0;
        qel::TPg32RegexError error = qel::recNone;
        engines.back().Parse(position, error);
        patterns.emplace_back(expression, std::regex::ECMAScript | std::regex::icase);
    }
    const std::vector<std::string> lines = MakeLines(engines, patterns, random);
    std::vector<std::u16string> lines16;
    for (const std::string& line : lines) {
        lines16.push_back(U16(line));
    }

    std::vector<std::int32_t> engineResults;
    engineResults.reserve(lines.size() * engines.size());
    auto start = Clock::now();
    for (std::size_t e = 0; e < engines.size(); ++e) {
        for (const std::u16string& line : lines16) {
            engineResults.push_back(engines[e].MatchString(line));
        }
    }
    const double engineSeconds = SecondsSince(start);

    std::vector<std::int32_t> stdResults;
    stdResults.reserve(engineResults.size());
    start = Clock::now();
    for (const std::regex& pattern : patterns) {
        for (const std::string& line : lines) {
            std::smatch found;
            stdResults.push_back(std::regex_search(line, found, pattern) ? static_cast<std::int32_t>(found.position(0)) + 1 : 0);
        }
    }
    const double stdSeconds = SecondsSince(start);

    int found = 0;
    int disagreements = 0;
    for (std::size_t i = 0; i < engineResults.size(); ++i) {
        found += stdResults[i] > 0;
        disagreements += engineResults[i] != stdResults[i];
    }
    const double ratio = engineSeconds / stdSeconds;
    std::printf("5 expressions unanchored over %d lines of %zu characters (%d matches, all late):\n", kLines,
        kLineLength, found);
    std::printf("  engine %.3f s, std::regex_search %.3f s, ratio %.3f (target <= 2.0) %s; disagreements %d %s\n",
        engineSeconds, stdSeconds, ratio, Verdict(ratio <= 2.0), disagreements, Verdict(disagreements == 0));
}

// std::regex on (a*)*b backtracks through every split of the a's; it runs
// in a child process that is stopped after a time limit.
std::string StdNestedClosureTime(const std::string& text, int limitSeconds)
{
    int fds[2];
    if (pipe(fds) != 0) {
        return "not measured (no pipe)";
    }
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        std::string report;
        try {
            const std::regex pattern("(a*)*b", std::regex::ECMAScript | std::regex::icase);
            const auto start = Clock::now();
            const bool found = std::regex_search(text, pattern);
            report = std::to_string(SecondsSince(start) * 1000.0) + " ms" + (found ? " (found)" : "");
        } catch (const std::regex_error& e) {
            report = std::string("raised ") + e.what();
        }
        const ssize_t written = write(fds[1], report.data(), report.size());
        _exit(written < 0 ? 1 : 0);
    }
    close(fds[1]);
    const auto start = Clock::now();
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (SecondsSince(start) > limitSeconds) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            close(fds[0]);
            return "gave up after " + std::to_string(limitSeconds) + " s";
        }
        usleep(10'000);
    }
    char buffer[256];
    const ssize_t size = read(fds[0], buffer, sizeof buffer);
    close(fds[0]);
    if (WIFSIGNALED(status)) {
        return "crashed with signal " + std::to_string(WTERMSIG(status));
    }
    return size > 0 ? std::string(buffer, static_cast<std::size_t>(size)) : "no answer";
}

void NestedClosure()
{
    const std::string text(kNestedAs, 'a');
    qel::TPg32RegexEngine engine(u"(a*)*b");
    const auto start = Clock::now();
    const std::int32_t position = engine.MatchString(U16(text));
    const double milliseconds = SecondsSince(start) * 1000.0;
    std::printf("(a*)*b against %d a's: engine %.3f ms, position %d (target < 1 ms) %s; std::regex %s\n", kNestedAs,
        milliseconds, position, Verdict(milliseconds < 1.0 && position == 0),
        StdNestedClosureTime(text, 5).c_str());
}

} // namespace

int main()
{
    std::mt19937 random(36);
    AnchoredSamples(random);
    UnanchoredSearches(random);
    NestedClosure();
    return 0;
}
