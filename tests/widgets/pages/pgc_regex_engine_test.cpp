// Tests of the library's regular-expression engine: matches and parse
// errors, the exact parse log, case folding, a differential run against
// std::regex on random expressions, and its integer deque and list.
#include "widgets/pages/pgc_regex_engine.h"

#include "platform/objects/text_file.h"
#include "tests/support/temp_dir.h"
#include "widgets/pages/pgc_assertion.h"

#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <regex>
#include <string>
#include <vector>

namespace qel {
namespace {

std::u16string U16(std::string_view ascii)
{
    return {ascii.begin(), ascii.end()};
}

std::int32_t Match(std::string_view expression, std::string_view text, bool ignoreCase = true)
{
    TPg32RegexEngine engine(U16(expression));
    engine.SetIgnoreCase(ignoreCase);
    return engine.MatchString(U16(text));
}

TEST(PgcRegexEngine, MatchPositions)
{
    struct TCase {
        const char* Expression;
        const char* Text;
        bool IgnoreCase;
        std::int32_t Position;
    };
    const TCase cases[] = {
        {"a|b", "xb", true, 2},           {"^a", "ba", true, 0},             {"^a", "ab", true, 1},
        {"b$", "ab", true, 2},            {"b$", "ba", true, 0},             {"colou?r", "color", true, 1},
        {"colou?r", "colour", true, 1},   {"colou?r", "colouur", true, 0},   {"[a-c]+", "XBC", true, 2},
        {"[a-c]+", "XBC", false, 0},      {"[c-a]+", "xbc", false, 2},       {"a\\*b", "a*b", true, 1},
        {"a\\*b", "aab", true, 0},        {"(a*)*", "aaa", true, 1},         {"(a*)*", "bbb", true, 1},
        {"a*$", "bbb", true, 0},          {"a*$", "bba", true, 3},           {"x", "", true, 0},
        {"abc", "ABC", false, 0},         {"abc", "xABC", true, 2},          {"[^0-9]", "12a3", true, 3},
        {"[^a]", "A", true, 0},           {"[A]", "a", true, 1},             {"[A]", "a", false, 0},
        {"a.c", "xa-c", true, 2},    {"a.c", "xabc", true, 2},          {"^(ab|cd)+$", "abcdab", true, 1},
        {"^(ab|cd)+$", "abcda", true, 0}, {"(y(es)?)|(no?)", "yes", true, 1}, {"\\^\\$", "x^$", true, 2},
        {"[\\]\\-]", "a-", true, 2},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(Match(c.Expression, c.Text, c.IgnoreCase), c.Position)
            << c.Expression << " on " << c.Text << (c.IgnoreCase ? " ignoring case" : "");
    }
}

TEST(PgcRegexEngine, ParseErrors)
{
    struct TCase {
        std::string Expression;
        std::int32_t Position;
        TPg32RegexError Error;
    };
    const std::vector<TCase> cases = {
        {"(ab", 4, recNoCloseParen},        {"a)", 2, recExtraChars},  {"*a", 1, recMetaChar},
        {"[]", 2, recMetaChar},             {"ab\\", 4, recSuddenEnd}, {"", 1, recSuddenEnd},
        {"a**", 3, recExtraChars},          {"^$", 2, recMetaChar},    {"^", 2, recSuddenEnd},
        {"a-b", 2, recExtraChars},          {"[a-]", 4, recMetaChar},  {"[a", 3, recSuddenEnd},
        {"[a\\", 4, recSuddenEnd},          {"a|", 3, recSuddenEnd},   {"()", 2, recMetaChar},
        {"a$b", 3, recExtraChars},          {"a^", 2, recExtraChars},  {"(a|b", 5, recNoCloseParen},
        {"[^]", 3, recMetaChar},            {"a||b", 3, recMetaChar},
        {std::string(MaxGroupDepth + 1, '(') + "a", MaxGroupDepth + 1, recTooDeep},
    };
    for (const TCase& c : cases) {
        TPg32RegexEngine engine(U16(c.Expression));
        std::int32_t position = -1;
        TPg32RegexError error = recNone;
        EXPECT_FALSE(engine.Parse(position, error)) << c.Expression;
        EXPECT_EQ(position, c.Position) << c.Expression;
        EXPECT_EQ(error, c.Error) << c.Expression;
        EXPECT_EQ(engine.ErrorCode(), c.Error) << c.Expression;
        EXPECT_TRUE(engine.Table().empty()) << c.Expression;
    }
    const std::string deepest = std::string(MaxGroupDepth, '(') + "a" + std::string(MaxGroupDepth, ')');
    EXPECT_EQ(Match(deepest, "xa"), 2);
}

TEST(PgcRegexEngine, MatchingAnInvalidExpressionRaises)
{
    TPg32RegexEngine engine(u"(ab");
    try {
        engine.MatchString(u"ab");
        ADD_FAILURE() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "The regex was invalid at position 4");
    }
}

TEST(PgcRegexEngine, SettingsClearTheTable)
{
    TPg32RegexEngine engine(u"[a-c]x");
    EXPECT_EQ(engine.MatchString(u"BX"), 1);
    EXPECT_FALSE(engine.Table().empty());
    engine.SetRegexString(u"[a-c]x");
    EXPECT_FALSE(engine.Table().empty()) << "the same expression keeps its table";
    engine.SetIgnoreCase(false);
    EXPECT_TRUE(engine.Table().empty());
    EXPECT_EQ(engine.MatchString(u"BX"), 0);
    EXPECT_EQ(engine.MatchString(u"bx"), 1);
    engine.SetRegexString(u"y");
    EXPECT_TRUE(engine.Table().empty());
    EXPECT_EQ(engine.MatchString(u"xy"), 2);

    // A folding of its own: e-acute counts as its capital.
    TPg32RegexEngine folded(u"caf\u00e9");
    EXPECT_EQ(folded.MatchString(u"CAF\u00c9"), 0) << "only a to z fold by default";
    folded.SetUpcase([](char16_t c) -> char16_t { return c == u'\u00e9' ? u'\u00c9' : AsciiUpCase(c); });
    EXPECT_TRUE(folded.Table().empty());
    EXPECT_EQ(folded.MatchString(u"CAF\u00c9"), 1);
    folded.SetUpcase(nullptr);
    EXPECT_EQ(folded.Upcase(), &AsciiUpCase);
}

TEST(PgcRegexEngine, CompiledTableHasShortChainsAndSuccessorSets)
{
    TPg32RegexEngine engine(u"^[a-c]e|d*$");
    std::int32_t position = -1;
    TPg32RegexError error = recMetaChar;
    ASSERT_TRUE(engine.Parse(position, error));
    EXPECT_EQ(position, 0);
    EXPECT_EQ(error, recNone);
    EXPECT_TRUE(engine.AnchorStart());
    EXPECT_TRUE(engine.AnchorEnd());
    EXPECT_EQ(engine.StartState(), 4);
    const std::vector<TPg32MatchType> kinds = {mtClass, mtUnused, mtChar, mtUnused, mtNone, mtChar, mtUnused,
        mtTerminal};
    const std::vector<std::vector<std::int32_t>> lists = {{2}, {}, {7}, {}, {0, 5, 7}, {5, 7}, {}, {}};
    ASSERT_EQ(engine.Table().size(), kinds.size());
    for (std::size_t s = 0; s < kinds.size(); ++s) {
        const TPg32RegexState& state = engine.Table()[s];
        EXPECT_EQ(state.MatchType, kinds[s]) << s;
        EXPECT_EQ(state.NextList ? state.NextList->Items() : std::vector<std::int32_t>{}, lists[s]) << s;
    }
    EXPECT_EQ(engine.Table()[2].MatchChar, u'E') << "ignoring case, characters are stored upper-cased";
    for (const auto& [text, expected] : std::vector<std::pair<const char*, int>>{
             {"be", 1}, {"ddd", 1}, {"d", 1}, {"bex", 0}, {"xbe", 0}, {"bde", 0}}) {
        EXPECT_EQ(engine.MatchString(U16(text)), expected) << text;
    }
}

std::vector<std::string> ReadLines(const std::string& fileName)
{
    const std::string text = qeltest::ReadWholeFile(fileName);
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

// Parses with the log written into dir; the log's lines.
std::vector<std::string> LoggedParse(TPg32RegexEngine& engine, const qeltest::TempDir& dir, bool expectParsed)
{
    const std::string logFile = dir.File("regex.log");
    engine.SetLogging(true);
    engine.SetLogFile(logFile);
    std::int32_t position = 0;
    TPg32RegexError error = recNone;
    EXPECT_EQ(engine.Parse(position, error), expectParsed);
    return ReadLines(logFile);
}

TEST(PgcRegexEngine, ParseLogOfAClassAnAlternationAndAClosure)
{
    const qeltest::TempDir dir;
    TPg32RegexEngine engine(u"^[a-c]e|d*$");
    const std::vector<std::string> expected = {
        "Parsing regex: \"^[a-c]e|d*$\"",
        "parsed start anchor",
        "parsed open square bracket (start of class)",
        "it is a normal class",
        "parsed charclass char: \"a\"",
        "-range to-",
        "parsed charclass char: \"c\"",
        "parsed close square bracket (end of class)",
        "concatenation",
        "parsed char: \"e\"",
        "OR (alternation)",
        "parsed char: \"d\"",
        "zero or more closure",
        "parsed end anchor",
        "",
        "Transition table dump for \"^[a-c]e|d*$\"",
        "anchored at start of string",
        "anchored at end of string",
        "start state:   4",
        "  0     class next: 2",
        "  1        --",
        "  2    char:E next: 7",
        "  3        --",
        "  4  no match next: 0 5 7",
        "  5    char:D next: 5 7",
        "  6        --",
        "  7*******END",
    };
    EXPECT_EQ(LoggedParse(engine, dir, true), expected);
}

TEST(PgcRegexEngine, ParseLogOfAnErrorPointsAtIt)
{
    const qeltest::TempDir dir;
    TPg32RegexEngine engine(u"ab|*c");
    engine.SetIgnoreCase(false);
    const std::vector<std::string> expected = {
        "Parsing regex: \"ab|*c\"",
        "parsed char: \"a\"",
        "concatenation",
        "parsed char: \"b\"",
        "OR (alternation)",
        "***parse error found at 4",
        "-->found metacharacter in wrong place",
        "\"ab|*c\"",
        "    ^",
    };
    EXPECT_EQ(LoggedParse(engine, dir, false), expected);

    engine.SetRegexString(u"[x-");
    const std::vector<std::string> lines = LoggedParse(engine, dir, false);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(lines.end() - 4, lines.end()),
        (std::vector<std::string>{"***parse error found at 4", "-->unexpected end of regex", "\"[x-\"", "    ^"}))
        << "the log is written anew on each parse";

    engine.SetLogFile(dir.File("no/such/folder/regex.log"));
    std::int32_t position = 0;
    TPg32RegexError error = recNone;
    EXPECT_THROW(engine.Parse(position, error), plat::EInOutError);
}

// ---- Differential run against std::regex ----

// Random expressions of the engine's grammar over a few characters, with
// their ECMAScript translation.
class TExpressionGenerator {
public:
    explicit TExpressionGenerator(std::uint32_t seed) : FRandom(seed) {}

    struct TPair {
        std::string Engine;
        std::string Ecma;
    };

    TPair Expression(int depth)
    {
        TPair result = Term(depth);
        if (depth > 0 && Chance(20)) {
            const TPair right = Expression(depth - 1);
            result.Engine += "|" + right.Engine;
            result.Ecma += "|" + right.Ecma;
        }
        return result;
    }

    TPair Anchored()
    {
        TPair inner = Expression(3);
        const bool start = Chance(25);
        const bool end = Chance(25);
        return {(start ? "^" : "") + inner.Engine + (end ? "$" : ""),
            (start ? "^(?:" : "(?:") + inner.Ecma + (end ? ")$" : ")")};
    }

    std::string Text()
    {
        std::string text(1 + Pick(8), ' ');
        for (char& c : text) {
            c = TextChars[Pick(sizeof TextChars - 1)];
        }
        return text;
    }

private:
    static constexpr char Chars[] = "abAB01*-";
    static constexpr char TextChars[] = "abAB01*-x";

    bool Chance(int percent) { return static_cast<int>(Pick(100)) < percent; }
    std::size_t Pick(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(FRandom); }

    TPair Term(int depth)
    {
        TPair result = Factor(depth);
        for (std::size_t more = Pick(3); more > 0; --more) {
            const TPair next = Factor(depth);
            result.Engine += next.Engine;
            result.Ecma += next.Ecma;
        }
        return result;
    }

    TPair Factor(int depth)
    {
        TPair atom = Atom(depth);
        static constexpr const char* Operators[] = {"*", "+", "?"};
        if (Chance(35)) {
            const char* op = Operators[Pick(3)];
            atom.Engine += op;
            atom.Ecma += op;
        }
        return atom;
    }

    TPair Atom(int depth)
    {
        const std::size_t kind = Pick(depth > 0 ? 10 : 8);
        if (kind < 5) {
            return Literal();
        }
        if (kind == 5) {
            return {".", "."};
        }
        if (kind < 8) {
            return Class();
        }
        const TPair inner = Expression(depth - 1);
        return {"(" + inner.Engine + ")", "(?:" + inner.Ecma + ")"};
    }

    char RandomChar() { return Chars[Pick(sizeof Chars - 1)]; }

    // Both languages take "*" and "-" escaped, the other characters as they are.
    static std::string Escaped(char c)
    {
        const bool special = c == '*' || c == '-';
        return special ? std::string("\\") + c : std::string(1, c);
    }

    TPair Literal()
    {
        const std::string c = Escaped(RandomChar());
        return {c, c};
    }

    TPair Class()
    {
        const bool negated = Chance(30);
        TPair result{negated ? "[^" : "[", negated ? "[^" : "["};
        for (std::size_t items = 1 + Pick(3); items > 0; --items) {
            char first = RandomChar();
            if (Chance(40)) {
                char last = RandomChar();
                result.Engine += Escaped(first) + "-" + Escaped(last);
                if (last < first) {
                    std::swap(first, last);
                }
                result.Ecma += Escaped(first) + "-" + Escaped(last);
            } else {
                result.Engine += Escaped(first);
                result.Ecma += Escaped(first);
            }
        }
        result.Engine += "]";
        result.Ecma += "]";
        return result;
    }

    std::mt19937 FRandom;
};

// The 1-based start of std::regex's first match; an empty match at the very
// end counts as none, as the engine tries only positions inside the text.
std::int32_t StdFirstMatch(const std::regex& pattern, const std::string& text)
{
    std::smatch found;
    if (!std::regex_search(text, found, pattern)) {
        return 0;
    }
    const auto start = static_cast<std::int32_t>(found.position(0));
    return start == static_cast<std::int32_t>(text.size()) ? 0 : start + 1;
}

TEST(PgcRegexEngine, AgreesWithStdRegexOnRandomExpressions)
{
    constexpr int Expressions = 1000;
    constexpr int TextsEach = 6;
    int compared = 0;
    int matched = 0;
    for (std::uint32_t seed = 1; seed <= Expressions; ++seed) {
        TExpressionGenerator generator(seed);
        const auto [engineText, ecmaText] = generator.Anchored();
        for (const bool ignoreCase : {true, false}) {
            TPg32RegexEngine engine(U16(engineText));
            engine.SetIgnoreCase(ignoreCase);
            std::int32_t position = 0;
            TPg32RegexError error = recNone;
            ASSERT_TRUE(engine.Parse(position, error)) << engineText << " at " << position;
            std::regex pattern;
            try {
                pattern = std::regex(ecmaText, ignoreCase ? std::regex::ECMAScript | std::regex::icase
                                                          : std::regex::ECMAScript);
            } catch (const std::regex_error&) {
                continue;
            }
            for (int t = 0; t < TextsEach; ++t) {
                const std::string text = generator.Text();
                std::int32_t expected = 0;
                try {
                    expected = StdFirstMatch(pattern, text);
                } catch (const std::regex_error&) {
                    continue;
                }
                ASSERT_EQ(engine.MatchString(U16(text)), expected)
                    << engineText << " (" << ecmaText << ") on " << text << (ignoreCase ? " ignoring case" : "");
                ASSERT_LE(engine.PeakQueued(), engine.Table().size() + 1) << engineText << " on " << text;
                ++compared;
                matched += expected > 0;
            }
        }
    }
    EXPECT_GT(compared, Expressions * TextsEach * 2 * 9 / 10);
    EXPECT_GT(matched, compared / 5) << "the run must exercise matches";
    EXPECT_LT(matched, compared * 4 / 5) << "and failures";
}

// ---- Containers ----

TEST(PgcIntDeque, KeepsOrderWhileGrowing)
{
    // Head at 0 when full: pushes from the middle run the head down to 0.
    for (const std::int32_t capacity : {1, 2, 3, 4, 64}) {
        TPg32IntDeque deque(capacity);
        std::deque<std::int32_t> model;
        std::mt19937 random(static_cast<std::uint32_t>(capacity));
        for (int step = 0; step < 2000; ++step) {
            const int action = static_cast<int>(random() % 5);
            if (action < 2) {
                deque.Enqueue(step);
                model.push_back(step);
            } else if (action < 4) {
                deque.Push(step);
                model.push_front(step);
            } else if (!model.empty()) {
                ASSERT_EQ(deque.Pop(), model.front()) << "capacity " << capacity << " step " << step;
                model.pop_front();
            }
            ASSERT_EQ(deque.Count(), model.size());
        }
        while (!model.empty()) {
            ASSERT_EQ(deque.Pop(), model.front());
            model.pop_front();
        }
        EXPECT_TRUE(deque.IsEmpty());
    }
}

TEST(PgcIntDeque, GrowsWithTheHeadAtZeroAndInTheMiddle)
{
    TPg32IntDeque atZero(4); // head and tail start at 2
    atZero.Push(1);
    atZero.Push(0);          // head 0
    atZero.Enqueue(2);
    atZero.Enqueue(3);       // tail wraps to 0: full with the head at 0
    EXPECT_EQ(atZero.Capacity(), 6u);
    atZero.Enqueue(4);
    for (std::int32_t expected = 0; expected <= 4; ++expected) {
        EXPECT_EQ(atZero.Pop(), expected);
    }

    TPg32IntDeque middle(4);
    middle.Enqueue(1);
    middle.Enqueue(2);       // tail wraps to 0
    middle.Enqueue(3);
    middle.Push(0);          // head 1 meets tail 1 in the middle
    EXPECT_EQ(middle.Capacity(), 6u);
    middle.Push(-1);
    middle.Enqueue(4);
    for (std::int32_t expected = -1; expected <= 4; ++expected) {
        EXPECT_EQ(middle.Pop(), expected);
    }
}

TEST(PgcIntDeque, PoppingAnEmptyDequeRaises)
{
    TPg32IntDeque deque(64);
    deque.Enqueue(7);
    EXPECT_EQ(deque.Pop(), 7);
    try {
        deque.Pop();
        ADD_FAILURE() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Integer deque is empty: cannot pop");
    }
}

TEST(PgcIntList, SortedSetAndInsertionOrder)
{
    TPg32IntList list;
    EXPECT_TRUE(list.IsSorted());
    EXPECT_EQ(list.Add(5), 0);
    EXPECT_EQ(list.Add(1), 0);
    EXPECT_EQ(list.Add(3), 1);
    EXPECT_EQ(list.Add(3), -1) << "a sorted list refuses an equal value";
    EXPECT_EQ(list.Items(), (std::vector<std::int32_t>{1, 3, 5}));
    list.SetAllowDups(true);
    EXPECT_EQ(list.Add(3), 1);
    EXPECT_EQ(list.Count(), 4);

    list.Insert(0, 9);
    EXPECT_FALSE(list.IsSorted());
    EXPECT_EQ(list.Add(2), 5) << "an unsorted list appends";
    EXPECT_EQ(list[0], 9);
    list.ilSetItem(5, 7);
    EXPECT_EQ(list.ilGetItem(5), 7);
    EXPECT_NO_THROW(list.SetIsSorted(false));
    try {
        list.SetIsSorted(true);
        ADD_FAILURE() << "no exception";
    } catch (const EAssertionFailed& e) {
        EXPECT_STREQ(e.what(), "TPg32IntList.ilSort has not been implemented yet");
    }
    for (const std::int32_t bad : {-1, 6}) {
        try {
            list.ilGetItem(bad);
            ADD_FAILURE() << bad;
        } catch (const EAssertionFailed& e) {
            EXPECT_STREQ(e.what(), "Index out of bounds") << bad;
        }
    }
    EXPECT_THROW(list.ilSetItem(6, 0), EAssertionFailed);
    list.SetCount(8);
    EXPECT_EQ(list[7], 0);
    EXPECT_THROW(list.SetCount(-1), std::out_of_range);
    EXPECT_THROW(list.SetCapacity(2), std::out_of_range);
    list.SetCapacity(100);
    EXPECT_GE(list.Capacity(), 100);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_TRUE(list.IsSorted());
}

TEST(PgcWideCharSet, RangesAtWordEdges)
{
    struct TCase {
        char16_t First, Last;
    };
    const TCase cases[] = {{0, 0xFFFF}, {63, 64}, {1, 127}, {0x100, 0x17F}, {u'z', u'a'}, {0xFFFF, 0xFFFF}};
    for (const TCase& c : cases) {
        TPg32WideCharSet set;
        set.IncludeRange(c.First, c.Last);
        for (std::uint32_t code = 0; code <= 0xFFFF; ++code) {
            ASSERT_EQ(set.Contains(static_cast<char16_t>(code)), code >= c.First && code <= c.Last)
                << int(c.First) << ".." << int(c.Last) << " at " << code;
        }
    }
}

} // namespace
} // namespace qel
