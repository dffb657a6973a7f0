// Tests of the library's wide-string helpers: the shift-table searches
// (against a plain search), tab expansion, number texts, inserts, deletes,
// trims, integer reading, and the capacity every writing routine keeps to.
#include "widgets/pages/pgc_strings.h"

#include "platform/text_encoding.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace qel {
namespace {

constexpr std::uint32_t Untouched = 0xDEADBEEF;

// A heap buffer of exactly `capacity` units, so that the address sanitizer
// sees any write past it; filled with a text (cut to fit) when given.
struct TBuffer {
    explicit TBuffer(std::size_t capacity, std::u16string_view text = {})
        : Units(new char16_t[capacity]), Capacity(capacity)
    {
        std::fill_n(Units.get(), capacity, u'#');
        if (capacity > 0) {
            const std::size_t kept = std::min(text.size(), capacity - 1);
            std::copy_n(text.begin(), kept, Units.get());
            Units[kept] = 0;
        }
    }
    std::span<char16_t> Span() { return {Units.get(), Capacity}; }
    std::u16string Text() const { return Units.get(); }

    std::unique_ptr<char16_t[]> Units;
    std::size_t Capacity;
};

std::string Utf8(std::u16string_view text)
{
    return plat::Utf16ToUtf8(text);
}

struct TSearchCase {
    const char* name;
    std::u16string buffer;
    std::u16string pattern;
    bool noCase;
    bool found;
    std::uint32_t position; // Untouched: left as it was
};

TEST(PgcStrings, ShiftTableSearches)
{
    const std::vector<TSearchCase> cases = {
        {"abc in xxabcxx", u"xxabcxx", u"abc", false, true, 2},
        {"abc not in xxabx", u"xxabx", u"abc", false, false, Untouched},
        {"one unit found", u"xyz", u"z", false, true, 2},
        {"one unit absent ends at the length", u"xyz", u"q", false, false, 3},
        {"empty pattern", u"xyz", u"", false, false, Untouched},
        {"match at the start", u"abcabc", u"abc", false, true, 0},
        {"match at the very end", u"xxxxab", u"ab", false, true, 4},
        {"units above 254 step by one", u"\u0100\u0100\u00FF\u0101abc", u"abc", false, true, 4},
        {"pattern with a unit above 255", u"xx\u0161yb\u0161ab", u"\u0161ab", false, true, 5},
        {"case counts", u"xxABCxx", u"abc", false, false, Untouched},
        {"no case, ASCII", u"xxAbCxx", u"ABC", true, true, 2},
        {"no case, accented", u"stra\u00DFe \u00E4rger", u"\u00C4RGER", true, true, 7},
        {"no case, one unit", u"xyz", u"Y", true, true, 1},
        {"no case, one unit absent", u"xyz", u"Q", true, false, 3},
        {"no case, lower-case pattern never matches its last unit", u"abc", u"ABc", true, false, Untouched},
    };
    for (const TSearchCase& c : cases) {
        TShiftTable table;
        BuildShiftTable(c.pattern.c_str(), table);
        std::uint32_t position = Untouched;
        const auto length = static_cast<std::uint32_t>(c.buffer.size());
        const bool found = c.noCase ? SearchTextNoCase(c.buffer.c_str(), length, table, c.pattern.c_str(), position)
                                    : SearchText(c.buffer.c_str(), length, table, c.pattern.c_str(), position);
        EXPECT_EQ(found, c.found) << c.name;
        EXPECT_EQ(position, c.position) << c.name;
    }
    std::uint32_t position = Untouched;
    TShiftTable table;
    BuildShiftTable(nullptr, table);
    EXPECT_FALSE(ShiftTableSearch(u"abc", 3, table, nullptr, position));
    EXPECT_EQ(position, Untouched);
}

TEST(PgcStrings, SearchStaysWithinTheGivenLength)
{
    const std::u16string buffer = u"xxxxabcx";
    TShiftTable table;
    MakeSkipTable(u"abc", table);
    std::uint32_t position = Untouched;
    EXPECT_FALSE(ShiftTableSearch(buffer.c_str(), 6, table, u"abc", position));
    EXPECT_TRUE(ShiftTableSearch(buffer.c_str(), 7, table, u"abc", position));
    EXPECT_EQ(position, 4u);
}

TEST(PgcStrings, ShiftTableEntries)
{
    TShiftTable table;
    // U+0161 shares its low byte with "a": it must not shorten the shift of "a".
    BuildShiftTable(u"\u0161xyb", table);
    EXPECT_EQ(table['a'], 4);
    EXPECT_EQ(table['x'], 2);
    EXPECT_EQ(table['y'], 1);
    EXPECT_EQ(table['b'], 4) << "the last unit gets no entry of its own";
    BuildShiftTable(u"abab", table);
    EXPECT_EQ(table['a'], 1);
    EXPECT_EQ(table['b'], 2);
    const std::u16string longPattern = u"q" + std::u16string(299, u'z');
    BuildShiftTable(longPattern.c_str(), table);
    EXPECT_EQ(table['q'], 255) << "only the last 255 units count";
    EXPECT_EQ(table['z'], 1);
    // A long pattern is still found whole.
    const std::u16string buffer = std::u16string(400, u'z') + longPattern + u"yy";
    std::uint32_t position = Untouched;
    ASSERT_TRUE(ShiftTableSearch(buffer.c_str(), static_cast<std::uint32_t>(buffer.size()), table,
        longPattern.c_str(), position));
    EXPECT_EQ(position, 400u);
}

// The searches agree with a plain search on random texts over a small
// alphabet that mixes cases and units above 255.
TEST(PgcStrings, SearchesAgreeWithAPlainSearch)
{
    const std::u16string alphabet = u"abAB\u00E4\u00C4\u0100\u0101\u00FF";
    std::mt19937 random(7);
    auto randomText = [&](std::size_t maxLength) {
        std::u16string text(random() % maxLength + 1, u' ');
        for (char16_t& unit : text) {
            unit = alphabet[random() % alphabet.size()];
        }
        return text;
    };
    auto upper = [](std::u16string text) {
        for (char16_t& unit : text) {
            unit = UpCaseWideChar(unit);
        }
        return text;
    };
    for (int i = 0; i < 20000; ++i) {
        const std::u16string buffer = randomText(40);
        const std::u16string pattern = randomText(5);
        const bool noCase = i % 2 == 1;
        const std::u16string wanted = noCase ? upper(pattern) : pattern;
        const std::u16string haystack = noCase ? upper(buffer) : buffer;
        const std::size_t expected = haystack.find(wanted);
        TShiftTable table;
        BuildShiftTable(wanted.c_str(), table);
        std::uint32_t position = Untouched;
        const auto length = static_cast<std::uint32_t>(buffer.size());
        const bool found = noCase ? ShiftTableSearchNoCase(buffer.c_str(), length, table, wanted.c_str(), position)
                                  : ShiftTableSearch(buffer.c_str(), length, table, wanted.c_str(), position);
        ASSERT_EQ(found, expected != std::u16string::npos) << Utf8(buffer) << " / " << Utf8(wanted);
        if (found) {
            ASSERT_EQ(position, expected) << Utf8(buffer) << " / " << Utf8(wanted);
        }
    }
}

TEST(PgcStrings, CaseMappingOfOneUnit)
{
    const std::vector<std::pair<char16_t, char16_t>> pairs = {{u'a', u'A'}, {u'z', u'Z'}, {u'\u00E4', u'\u00C4'},
        {u'\u0161', u'\u0160'}, {u'\u03B1', u'\u0391'}, {u'\u0436', u'\u0416'}};
    for (const auto& [lower, upperCase] : pairs) {
        EXPECT_EQ(UpCaseWideChar(lower), upperCase) << int(lower);
        EXPECT_EQ(LowCaseWideChar(upperCase), lower) << int(upperCase);
    }
    for (char16_t unchanged : {char16_t{u'1'}, char16_t{u'@'}, char16_t{u'\u00DF'}, char16_t{0xD800}, char16_t{0xDC00}, char16_t{u'\u4E2D'}}) {
        EXPECT_EQ(UpCaseWideChar(unchanged), unchanged) << int(unchanged);
        EXPECT_EQ(LowCaseWideChar(unchanged), unchanged) << int(unchanged);
    }
    EXPECT_EQ(UpCaseWideChar(u'\u00FF'), u'\u0178') << "y with diaeresis leaves the 8-bit range";
}

struct TBuildCase {
    const char* name;
    std::function<char16_t*(std::span<char16_t>)> build;
    std::u16string expected;
};

TEST(PgcStrings, TextsBuiltIntoBuffers)
{
    const std::vector<TBuildCase> cases = {
        {"fill", [](auto d) { return FillCharsPChar(d, u'*', 5); }, u"*****"},
        {"fill none", [](auto d) { return FillWideChars(d, u'*', 0); }, u""},
        {"tabs of 4", [](auto d) { return ExpandTabsPChar(d, u"a\tb", 4); }, u"a   b"},
        {"leading tab", [](auto d) { return ExpandTabsPChar(d, u"\tb", 4); }, u"    b"},
        {"tab at a stop", [](auto d) { return DetabText(d, u"abcd\te", 4); }, u"abcd    e"},
        {"tabs of 1", [](auto d) { return ExpandTabsPChar(d, u"a\t\tb", 1); }, u"a  b"},
        {"bits of 5", [](auto d) { return LongToBitsPChar(d, 5); }, std::u16string(29, u'0') + u"101"},
        {"hex of 255", [](auto d) { return LongToHexPChar(d, 255); }, u"000000FF"},
        {"hex of 0x12ABCDEF", [](auto d) { return LongToHexPChar(d, 0x12ABCDEF); }, u"12ABCDEF"},
        {"word hex", [](auto d) { return WordToHexPChar(d, 0xBEEF); }, u"BEEF"},
        {"octal of all ones", [](auto d) { return LongToOctalPChar(d, 0xFFFFFFFF); }, u"03" + std::u16string(10, u'7')},
        {"octal of 8", [](auto d) { return LongToOctalPChar(d, 8); }, u"000000000010"},
        {"copy inside", [](auto d) { return SubCopyPChar(d, u"abcdef", 2, 3); }, u"cde"},
        {"copy past the end", [](auto d) { return SubCopyPChar(d, u"abcdef", 4, 10); }, u"ef"},
        {"copy from beyond", [](auto d) { return SubCopyPChar(d, u"abcdef", 6, 2); }, u""},
    };
    for (const TBuildCase& c : cases) {
        TBuffer buffer(64);
        EXPECT_EQ(c.build(buffer.Span()), buffer.Units.get()) << c.name;
        EXPECT_EQ(buffer.Text(), c.expected) << c.name;
    }
}

TEST(PgcStrings, TabSizeZeroIsRefused)
{
    TBuffer buffer(16, u"kept");
    EXPECT_EQ(ExpandTabsPChar(buffer.Span(), u"a\tb", 0), nullptr);
    EXPECT_EQ(buffer.Text(), u"kept");
}

struct TEditCase {
    const char* name;
    std::u16string before;
    std::function<char16_t*(std::span<char16_t>)> edit;
    std::u16string after;
};

TEST(PgcStrings, InPlaceEdits)
{
    const std::vector<TEditCase> cases = {
        {"delete a unit", u"abcd", [](auto s) { return CharDeletePChar(s, 1); }, u"acd"},
        {"delete the last unit", u"abcd", [](auto s) { return CharDeletePChar(s, 3); }, u"abc"},
        {"delete beyond", u"abcd", [](auto s) { return CharDeletePChar(s, 4); }, u"abcd"},
        {"insert a unit", u"abcd", [](auto s) { return CharInsertPChar(s, u'X', 1); }, u"aXbcd"},
        {"insert a unit beyond appends", u"abcd", [](auto s) { return CharInsertPChar(s, u'X', 9); }, u"abcdX"},
        {"insert a terminator changes nothing", u"abcd", [](auto s) { return CharInsertPChar(s, 0, 1); }, u"abcd"},
        {"delete a run", u"abcdef", [](auto s) { return SubDeletePChar(s, 1, 2); }, u"adef"},
        {"delete to the end", u"abcdef", [](auto s) { return SubDeletePChar(s, 2, 4); }, u"ab"},
        {"delete past the end", u"abcdef", [](auto s) { return SubDeletePChar(s, 4, 100); }, u"abcd"},
        {"delete from beyond", u"abcdef", [](auto s) { return SubDeletePChar(s, 6, 1); }, u"abcdef"},
        {"insert a text", u"abef", [](auto s) { return SubInsertPChar(s, u"cd", 2); }, u"abcdef"},
        {"insert a text beyond appends", u"ab", [](auto s) { return SubInsertPChar(s, u"cd", 7); }, u"abcd"},
        {"insert an empty text", u"ab", [](auto s) { return SubInsertPChar(s, u"", 0); }, u"ab"},
        {"trim spaces", u"  a b  ", [](auto s) { return TrimSpacesPChar(s); }, u"a b"},
        {"trim spaces only", u"\t a\t ", [](auto s) { return TrimSpacesPChar(s); }, u"\t a\t"},
        {"trim all spaces", u"   ", [](auto s) { return TrimSpacesPChar(s); }, u""},
        {"trim trailing blanks", u" a\t\r\n ", [](auto s) { return TrimTrailingBlanksPChar(s); }, u" a"},
    };
    for (const TEditCase& c : cases) {
        TBuffer buffer(64, c.before);
        EXPECT_EQ(c.edit(buffer.Span()), buffer.Units.get()) << c.name;
        EXPECT_EQ(buffer.Text(), c.after) << c.name;
    }
}

TEST(PgcStrings, PositionsOfUnitsAndTexts)
{
    std::uint32_t position = Untouched;
    EXPECT_TRUE(CharPosPChar(u"abcb", u'b', position));
    EXPECT_EQ(position, 1u);
    position = Untouched;
    EXPECT_FALSE(CharPosPChar(u"abc", u'x', position));
    EXPECT_EQ(position, Untouched);
    EXPECT_TRUE(SubPosPChar(u"abcabc", u"ca", position));
    EXPECT_EQ(position, 2u);
    position = Untouched;
    EXPECT_FALSE(SubPosPChar(u"abc", u"cd", position));
    EXPECT_EQ(position, 0u);
    position = Untouched;
    EXPECT_FALSE(SubPosPChar(u"abc", u"", position));
    EXPECT_EQ(position, 0u);
}

struct TIntegerCase {
    std::u16string text;
    bool ok;
    std::int64_t value; // the number, or the position reading stopped at
};

TEST(PgcStrings, TextToInt64)
{
    const std::vector<TIntegerCase> cases = {
        {u"0x1F", true, 31},
        {u"-0x10", true, -16},
        {u"  42  ", true, 42},
        {u"+7", true, 7},
        {u"$ff", true, 255},
        {u"-$A", true, -10},
        {u"9223372036854775807", true, 9223372036854775807LL},
        {u"-9223372036854775808", true, -9223372036854775807LL - 1},
        {u"$FFFFFFFFFFFFFFFF", true, -1},
        {u"42\t\r\n", true, 42},
        {u"12a", false, 2},
        {u"", false, 0},
        {u"   ", false, 0},
        {u"-", false, 1},
        {u"$", false, 1},
        {u"4 2", false, 1},
        {u"0X1F", false, 1},
        {u"1.5", false, 1},
        {u"\t5", false, 0},
        {u"12\u0663", false, 2},
        {u"0x1G", false, 2},
        {u"9223372036854775808", false, 18},
        {u"-9223372036854775809", false, 19},
        {u"$10000000000000000", false, 17},
    };
    for (const TIntegerCase& c : cases) {
        std::int64_t value = 12345;
        EXPECT_EQ(TextToInt64PChar(c.text.c_str(), value), c.ok) << Utf8(c.text);
        EXPECT_EQ(value, c.value) << Utf8(c.text);
    }
    std::int64_t value = 0;
    const std::u16string longest = std::u16string(252, u' ') + u"-12";
    EXPECT_TRUE(TextToInt64PChar(longest.c_str(), value));
    EXPECT_EQ(value, -12);
    const std::u16string tooLong = longest + u" ";
    EXPECT_FALSE(TextToInt64PChar(tooLong.c_str(), value));
    EXPECT_EQ(value, -1);
}

TEST(PgcStrings, TrimmingNumberTexts)
{
    const std::vector<std::pair<std::u16string, std::u16string>> exponentCases = {
        {u"1.2500E+0003", u"1.25E+3"}, {u"2.000E-0010", u"2E-10"}, {u"1.5E+000", u"1.5E+"},
        {u"12.5", u"12.5"}, {u"0E+05", u"0E+5"}, {u"100E+1", u"1E+1"}, {u"1E", u"1E"}, {u"", u""}};
    for (const auto& [text, expected] : exponentCases) {
        EXPECT_EQ(TrimExponentZeros(text), expected) << Utf8(text);
    }
    const std::vector<std::pair<std::u16string, std::u16string>> trailingCases = {{u"12.500", u"12.5"},
        {u"3.000", u"3"}, {u"0.0", u"0"}, {u"", u""}, {u"0", u"0"}, {u" 7.10\t", u"7.10"}, {u"\t7.10", u"7.1"},
        {u"-0.250", u"-0.25"}};
    for (const auto& [text, expected] : trailingCases) {
        EXPECT_EQ(TrimTrailingZeros(text), expected) << Utf8(text);
    }
}

// Each writing routine at the capacity its full result needs, one less and
// one more: the result is whole when it fits; a built text is cut to the
// capacity and an insert refused when it does not; nothing is written past
// the buffer (the address sanitizer watches the exact heap allocation).
struct TCapacityCase {
    const char* name;
    std::u16string before;
    std::function<void(std::span<char16_t>)> write;
    std::u16string full;
    bool refusedWhenShort; // else cut
};

TEST(PgcStrings, WritingRoutinesKeepToTheCapacity)
{
    const std::vector<TCapacityCase> cases = {
        {"fill", u"", [](auto d) { FillCharsPChar(d, u'x', 6); }, u"xxxxxx", false},
        {"expand tabs", u"", [](auto d) { ExpandTabsPChar(d, u"a\tbc", 4); }, u"a   bc", false},
        {"bits", u"", [](auto d) { LongToBitsPChar(d, 0x80000001); }, u"1" + std::u16string(30, u'0') + u"1", false},
        {"hex", u"", [](auto d) { LongToHexPChar(d, 0xCAFE); }, u"0000CAFE", false},
        {"word hex", u"", [](auto d) { WordToHexPChar(d, 0xCAFE); }, u"CAFE", false},
        {"octal", u"", [](auto d) { LongToOctalPChar(d, 8); }, u"000000000010", false},
        {"sub copy", u"", [](auto d) { SubCopyPChar(d, u"abcdefgh", 1, 5); }, u"bcdef", false},
        {"char insert", u"abcde", [](auto s) { CharInsertPChar(s, u'X', 2); }, u"abXcde", true},
        {"char append", u"abcde", [](auto s) { CharInsertPChar(s, u'X', 5); }, u"abcdeX", true},
        {"sub insert", u"abcde", [](auto s) { SubInsertPChar(s, u"XY", 1); }, u"aXYbcde", true},
    };
    for (const TCapacityCase& c : cases) {
        const std::size_t needed = c.full.size() + 1;
        for (std::size_t capacity : {needed - 1, needed, needed + 1}) {
            TBuffer buffer(capacity, c.before);
            c.write(buffer.Span());
            const std::u16string expected = capacity >= needed ? c.full
                : c.refusedWhenShort                           ? c.before
                                                               : c.full.substr(0, capacity - 1);
            EXPECT_EQ(buffer.Text(), expected) << c.name << " at capacity " << capacity;
        }
    }
}

TEST(PgcStrings, ShrinkingRoutinesTerminateAnUnterminatedBuffer)
{
    char16_t units[4] = {u'a', u'b', u'c', u'd'};
    SubDeletePChar(units, 0, 1);
    EXPECT_EQ(std::u16string(units), u"bc");
    char16_t spaces[3] = {u' ', u'a', u' '};
    TrimSpacesPChar(spaces);
    EXPECT_EQ(std::u16string(spaces), u"a");
    TBuffer empty(0);
    EXPECT_EQ(FillCharsPChar(empty.Span(), u'x', 3), empty.Units.get());
    EXPECT_EQ(TrimSpacesPChar(empty.Span()), empty.Units.get());
    EXPECT_EQ(SubInsertPChar(empty.Span(), u"x", 0), empty.Units.get());
}

} // namespace
} // namespace qel
