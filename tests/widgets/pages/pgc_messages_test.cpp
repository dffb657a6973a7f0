// Tests of the component library's message table: its numbers, the texts the
// library quotes, the names of commands and data types, placeholders and
// numbers the table lacks.
#include "widgets/pages/pgc_messages.h"

#include "platform/text_encoding.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace qel {
namespace {

std::string Text(std::uint16_t number)
{
    return plat::Utf16ToUtf8(MessageTextByNumber(number));
}

TEST(PgcMessages, TableHoldsExactlyTheNumberRuns)
{
    const std::vector<std::pair<int, int>> runs = {{30168, 30228}, {30232, 30239}, {30241, 30283},
        {30285, 30337}, {30368, 30385}, {30387, 30395}, {30400, 30403}, {30500, 30521}, {33768, 33843},
        {34068, 34083}, {34468, 34491}, {34493, 34510}, {34518, 34541}};
    std::vector<int> expected;
    for (const auto& [first, last] : runs) {
        for (int number = first; number <= last; ++number) {
            expected.push_back(number);
        }
    }
    std::vector<int> actual;
    for (const SrMsgNumLookupRec& entry : MessageTable()) {
        actual.push_back(entry.MessageNum);
    }
    ASSERT_EQ(actual.size(), 376u);
    EXPECT_EQ(actual, expected);
    for (int number : expected) {
        EXPECT_FALSE(LookupMessageText(static_cast<std::uint16_t>(number)).empty()) << number;
    }
}

TEST(PgcMessages, TextsTheLibraryQuotes)
{
    const std::vector<std::pair<std::uint16_t, const char*>> cases = {
        {30168, "Unknown Error condition"},
        {30169, "Duplicate command found while adding a new command to the table"},
        {30170, "Command table not found or command table index out of range"},
        {30179, "Value is not within required range"},
        {30180, "Value is not valid for this field type"},
        {30181, "A value is required in this field"},
        {30182, "Value is not a valid date"},
        {30183, "Value is not a valid time"},
        {30184, "This field should contain no blanks"},
        {30185, "This field should be either empty or completely full"},
        {30186, "Region is too large (> 64K)"},
        {30188, "Parameter value is invalid"},
        {30189, "No Window's timers are available"},
        {30191, "Invalid trigger handle"},
        {30193, "Invalid page index value"},
        {30194, "Invalid data type for this field"},
        {30195, "Invalid font. Non toTop oriented tabs require a True-Type font"},
        {30197, "insufficient memory for requested operation"},
        {30198, "Current operation will exceed the maximum number of allowed paragraphs"},
        {30199, "Cannot join paragraphs. New paragraph size exceeds maximum paragraph size"},
        {30200, "Current operation will exceed the maximum text size"},
        {30201, "Current operation will exceed the maximum paragraph size"},
        {30203, "Invalid range. Enter a value between (%d) and (%d)"},
        {30204, "Invalid range. Enter a value between (-1.7e+38) and (+1.7e+38)"},
        {30205, "Invalid range. Enter a value between (-1.1e+4932) and (+1.1e+4932)"},
        {30206, "Invalid range. Enter a value between (-1.7e+308) and (+1.7e+308)"},
        {30207, "Invalid range. Enter a value between (-3.4e+38) and (+3.4e+38)"},
        {30208, "Invalid range. Enter a value between (-9.2e+18) and (+9.2e+18)"},
        {30209, "Invalid date range. Enter a value using '%s' as the format"},
        {30210, "Invalid time range. Enter a value using '%s' as the format"},
        {30211, "Invalid range value"},
        {30213, "Invalid line or paragraph index"},
        {30214, "Invalid font assignment. Font must be a fixed font"},
        {30216, "Invalid line or column"},
        {30219, "Index is out of bounds for sparse array"},
        {30228, "DataSource must be attached to a TTable (or compatible) source"},
        {30241, "No collection exists in the owner component"},
        {30242, "Owner must be a TPgcComponent or TPgcCustomComponent descendant"},
        {30243, "Item incompatible with collection"},
        {30244, "Label not attached"},
        {30245, "Item class not set"},
        {30246, "No collection found for this type"},
        {30266, "Grid"},
        {30275, "Default"},
        {30276, "WordStar"},
        {30277, "(Unknown)"},
        {30278, "Entry Error"},
        {30282, "Wy"},
        {30287, "&Restore"},
        {30288, "Cu&t"},
        {30289, "&Copy"},
        {30290, "&Paste"},
        {30291, "&Delete"},
        {30292, "Select &All"},
        {30323, "Tab Pages Editor"},
        {30328, "Page"},
        {30333, "No notebook pages assigned"},
        {30368, "Y"},
        {30369, "N"},
        {30370, "T"},
        {30371, "F"},
        {30500, "Black"},
        {30521, "Cream"},
        {34468, "X  any character"},
        {34491, "8  User 8"},
    };
    for (const auto& [number, text] : cases) {
        EXPECT_EQ(Text(number), text) << number;
        EXPECT_EQ(LookupMessageText(number), MessageTextByNumber(number)) << number;
    }
}

// One line per picture-mask character: the character, two blanks and what
// it takes, the validator's mask characters first, the user characters
// 1 to 8 last.
TEST(PgcMessages, PictureMaskCharacterLines)
{
    const std::pair<std::uint16_t, const char*> lines[] = {
        {34468, "X  any character"}, {34469, "!  any char (upper)"}, {34472, "a  alphas only"},
        {34477, "#  0-9, -, ."},     {34480, "O  0-7 (octal)"},     {34483, "Y  Y or N (upper)"},
    };
    for (const auto& [number, text] : lines) {
        EXPECT_EQ(Text(number), text) << number;
    }
    for (int user = 1; user <= 8; ++user) {
        const auto number = static_cast<std::uint16_t>(34483 + user);
        EXPECT_EQ(Text(number), std::to_string(user) + "  User " + std::to_string(user)) << number;
    }
}

TEST(PgcMessages, DataTypeNamesInCodeOrder)
{
    const char* names[] = {"String", "Char", "Boolean", "YesNo", "LongInt", "Word", "SmallInt", "Byte",
        "ShortInt", "Real", "Extended", "Double", "Single", "Comp", "Date", "Time"};
    for (int code = 0; code < 16; ++code) {
        EXPECT_EQ(Text(static_cast<std::uint16_t>(34068 + code)), names[code]) << code;
    }
}

TEST(PgcMessages, CommandNamesFollowTheirCodes)
{
    const std::vector<std::pair<int, const char*>> cases = {{0, "ccNone"}, {1, "ccBack"}, {15, "ccDown"},
        {31, "ccFirstPage"}, {32, "ccGotoMarker0"}, {41, "ccGotoMarker9"}, {42, "ccHome"}, {55, "ccRight"},
        {58, "ccSetMarker0"}, {67, "ccSetMarker9"}, {68, "ccTab"}, {73, "ccUp"}, {75, "ccWordRight"}};
    for (const auto& [code, name] : cases) {
        EXPECT_EQ(Text(static_cast<std::uint16_t>(33768 + code)), name) << code;
    }
    EXPECT_EQ(Text(33823), "ccRight");
}

TEST(PgcMessages, NumbersWithoutTextCarryAPlaceholderNamingTheNumber)
{
    int placeholders = 0;
    for (const SrMsgNumLookupRec& entry : MessageTable()) {
        if (entry.MessageStr != nullptr) {
            continue;
        }
        ++placeholders;
        const auto number = static_cast<std::uint16_t>(entry.MessageNum);
        const std::string text = Text(number);
        EXPECT_NE(text, "Unknown") << number;
        EXPECT_NE(text.find(std::to_string(number)), std::string::npos) << number;
    }
    // The sample-mask line of the edge case is one of them.
    EXPECT_NE(Text(34541).find("34541"), std::string::npos);
    EXPECT_GT(placeholders, 0);
}

TEST(PgcMessages, NumbersOutsideTheTable)
{
    for (std::uint16_t number : {30229, 30167, 34542, 0, 30240, 65535}) {
        EXPECT_EQ(Text(number), "Unknown") << number;
        EXPECT_TRUE(LookupMessageText(number).empty()) << number;
    }
}

TEST(PgcMessages, ProcedureFormSetsTheText)
{
    std::u16string text = u"old";
    MessageTextByNumber(text, 30193);
    EXPECT_EQ(text, u"Invalid page index value");
    MessageTextByNumber(text, 30229);
    EXPECT_EQ(text, u"Unknown");
}

} // namespace
} // namespace qel
