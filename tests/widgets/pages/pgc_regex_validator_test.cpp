// Tests of the library's regular-expression validator: whole-input
// matches, refused expressions, the anchors added to the expression's text,
// the empty expression and input, case, the parse log and the sample lines.
#include "widgets/pages/pgc_regex_validator.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qel {
namespace {

struct TValidation {
    bool Valid;
    int Code;
};

TValidation Validate(TPg32RegExValidator& validator, const std::string& input)
{
    validator.SetInput(input);
    const bool valid = validator.IsValid();
    return {valid, validator.ErrorCode()};
}

TEST(PgcRegExValidator, WholeInputMatches)
{
    struct TCase {
        const char* Expression;
        const char* Input;
        bool IgnoreCase;
        bool Valid;
        int Code;
    };
    const TCase cases[] = {
        {"[0-7]+", "1777", true, true, 0},
        {"[0-7]+", "178", true, false, 3},
        {"[0-7]+", "", true, false, 2},
        {"(y(es)?)|(no?)", "YES", true, true, 0},
        {"(y(es)?)|(no?)", "No", true, true, 0},
        {"(y(es)?)|(no?)", "yesno", true, false, 3},
        {"(y(es)?)|(no?)", "YES", false, false, 3},
        {"(y(es)?)|(no?)", "", true, false, 2},
        {"^ab$", "ab", true, true, 0},
        {"^ab$", "abab", true, false, 3},
        {"^ab", "xab", true, false, 3},
        {"ab$", "abx", true, false, 3},
        {"a|b", "ab", true, false, 3},
        {"(1[012]|[1-9]):[0-5][0-9] (am|pm)", "12:30 pm", true, true, 0},
        {"(1[012]|[1-9]):[0-5][0-9] (am|pm)", "13:30 pm", true, false, 3},
        {".*", "", true, false, 2},
    };
    for (const TCase& c : cases) {
        TPg32RegExValidator validator(nullptr);
        validator.SetIgnoreCase(c.IgnoreCase);
        validator.SetExpression(c.Expression);
        ASSERT_EQ(validator.Expression(), c.Expression);
        const TValidation result = Validate(validator, c.Input);
        EXPECT_EQ(result.Valid, c.Valid) << c.Expression << " / " << c.Input;
        EXPECT_EQ(result.Code, c.Code) << c.Expression << " / " << c.Input;
    }
}

TEST(PgcRegExValidator, RefusedExpressionKeepsThePreviousOne)
{
    TPg32RegExValidator validator(nullptr);
    std::vector<std::string> errors;
    int afterValidation = 0;
    validator.OnValidationError = [&](plat::TObject*, const std::string& message) { errors.push_back(message); };
    validator.AfterValidation = [&](plat::TObject*) { ++afterValidation; };
    validator.SetExpression("[0-7]+");
    validator.SetExpression("(a");
    EXPECT_EQ(validator.Expression(), "[0-7]+");
    EXPECT_EQ(validator.ExprErrorPos(), 3);
    EXPECT_EQ(validator.ExprErrorCode(), recNoCloseParen);
    EXPECT_EQ(validator.ErrorCode(), 1);
    EXPECT_EQ(errors, std::vector<std::string>{"Missing closing parenthesis"});
    EXPECT_EQ(afterValidation, 0) << "setting an expression validates nothing";
    EXPECT_TRUE(Validate(validator, "17").Valid) << "the previous expression still applies";

    const std::pair<const char*, const char*> texts[] = {
        {"ab\\", "Incomplete Expression"},
        {"*a", "Read a metacharacter where there should have been a normal character"},
        {"a)", "Unrecognizable text at the end of the expression"},
    };
    for (const auto& [expression, text] : texts) {
        errors.clear();
        validator.SetExpression(expression);
        EXPECT_EQ(errors, std::vector<std::string>{text}) << expression;
        EXPECT_EQ(validator.GetExprError(), text);
    }
    validator.SetExpression("");
    EXPECT_EQ(validator.ExprErrorPos(), 0);
    EXPECT_EQ(validator.ExprErrorCode(), recNone);
    EXPECT_EQ(validator.ErrorCode(), 0);
    EXPECT_EQ(validator.GetExprError(), "");
}

TEST(PgcRegExValidator, FailedMatchFiresNoErrorEvent)
{
    TPg32RegExValidator validator(nullptr);
    std::vector<std::string> events;
    validator.BeforeValidation = [&](plat::TObject*) { events.push_back("before"); };
    validator.AfterValidation = [&](plat::TObject*) { events.push_back("after"); };
    validator.OnValidationError = [&](plat::TObject*, const std::string& m) { events.push_back("error " + m); };
    validator.SetExpression("[01]+");
    validator.SetInput("102");
    EXPECT_FALSE(validator.Valid());
    EXPECT_FALSE(validator.Valid());
    EXPECT_EQ(events, (std::vector<std::string>{"before", "after", "before", "after"}));
}

// The anchors are added by the expression's characters: "^" unless it
// starts with one, "$" unless its first "$" is its last character. An
// escaped "$" at the end thus stays a character and leaves the end open,
// and an expression that the added "$" spoils raises.
TEST(PgcRegExValidator, AnchorsAreAddedByTheExpressionsCharacters)
{
    enum TOutcome { Valid, Invalid, Raises };
    struct TCase {
        const char* Expression;
        const char* Input;
        TOutcome Outcome;
    };
    const TCase cases[] = {
        {"a\\$", "a$", Valid},      {"a\\$", "a$xyz", Valid},   {"a\\$", "xa$", Invalid},
        {"a\\$b$", "a$b", Raises},  {"\\^a", "^a", Valid},      {"\\^a", "x^a", Invalid},
        {"\\^a", "^ab", Invalid},   {"^\\^a$", "^a", Valid},    {"a\\\\", "a\\", Valid},
        {"^ab", "abc", Invalid},     {"ab$", "xab", Invalid},
    };
    for (const TCase& c : cases) {
        TPg32RegExValidator validator(nullptr);
        validator.SetExpression(c.Expression);
        ASSERT_EQ(validator.Expression(), c.Expression);
        if (c.Outcome == Raises) {
            EXPECT_THROW(Validate(validator, c.Input), std::runtime_error) << c.Expression;
            continue;
        }
        bool valid = false;
        EXPECT_NO_THROW(valid = Validate(validator, c.Input).Valid) << c.Expression;
        EXPECT_EQ(valid, c.Outcome == Valid) << c.Expression << " / " << c.Input;
    }
}

// An empty expression anchors to "^$", which the engine refuses at its
// second character; an empty input is refused before the engine is asked.
TEST(PgcRegExValidator, AnEmptyExpressionRaisesForAnyInput)
{
    TPg32RegExValidator validator(nullptr);
    EXPECT_EQ(validator.Expression(), "");
    try {
        Validate(validator, "anything at all");
        ADD_FAILURE() << "an empty expression raises";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "The regex was invalid at position 2");
    }
    const TValidation empty = Validate(validator, "");
    EXPECT_FALSE(empty.Valid);
    EXPECT_EQ(empty.Code, 2);
}

TEST(PgcRegExValidator, SettingsReachTheEngine)
{
    const qeltest::TempDir dir;
    TPg32RegExValidator validator(nullptr);
    EXPECT_TRUE(validator.IgnoreCase());
    EXPECT_FALSE(validator.Logging());
    EXPECT_EQ(validator.LogFile(), "parse.log");
    validator.SetLogFile(dir.File("validator.log"));
    validator.SetLogging(true);
    validator.SetExpression("[0-7]+");
    validator.SetInput("17");
    EXPECT_TRUE(validator.Valid());
    const std::string log = qeltest::ReadWholeFile(dir.File("validator.log"));
    EXPECT_EQ(log.rfind("Parsing regex: \"^[0-7]+$\"\n", 0), 0u) << log;

    validator.SetExpression("abc");
    validator.SetInput("ABC");
    EXPECT_TRUE(validator.Valid());
    validator.SetIgnoreCase(false);
    EXPECT_FALSE(validator.Valid());
    validator.SetInput("abc");
    EXPECT_TRUE(validator.Valid());
}

TEST(PgcRegExValidator, TooDeepGroupsAreRefused)
{
    TPg32RegExValidator validator(nullptr);
    std::string error;
    validator.OnValidationError = [&](plat::TObject*, const std::string& message) { error = message; };
    validator.SetExpression(std::string(MaxGroupDepth + 1, '(') + "a" + std::string(MaxGroupDepth + 1, ')'));
    EXPECT_EQ(validator.Expression(), "");
    EXPECT_EQ(error, "Groups nested too deeply");
    EXPECT_EQ(validator.ExprErrorPos(), MaxGroupDepth + 1);
}

TEST(PgcRegExValidator, SampleLinesInAColumnOf80)
{
    const std::vector<std::pair<std::string, std::string>> samples = {
        {".+", "1 or more of any characters allowed. Minimum of 1 character required. Note: This is the default "
               "behavior. No expression is needed."},
        {".*", "Any number of any character allowed. Note: Although This expression allows an empty string, The "
               "RegexEngine will fail an empty string."},
        {"(1[012]|[1-9]):[0-5][0-9] (am|pm)", "Time of day: Standard AM/PM time display (9:17 am) or (12:30 pm)"},
        {"(1[012]|[1-9]):[0-5][0-9]:[0-5][0-9] (am|pm)",
            "Time of day: Standard AM/PM time diplay with seconds. (9:17:22 am)"},
        {"(([01]?[0-9])|(2[0-3])):[0-5][0-9]", "Time of day: 24 hour clock (15:22)."},
        {"(([01]?[0-9])|(2[0-3])):[0-5][0-9]:[0-5][0-9]", "Time of day: 24 hour clock with seconds (15:22:07)."},
        {"(\\(?[1-9][0-9][0-9]\\)? )?[1-9][0-9][0-9]\\-[0-9][0-9][0-9][0-9]",
            "Telephone Number: Optional area-code with optional parenthesis"},
        {"(0?[1-9]|1[012])(\\\\|/|\\-)([012]?[1-9]|[123]0|31)(\\\\|/|\\-)([123][0-9])?[0-9][0-9]",
            "Date: (mm\\dd\\yy) or (mm\\dd\\yyyy) formats. Also accepts / and - separators. Note: Only covers "
            "years from 1000-3999"},
        {"(y(es)?)|(no?)", "Boolean: Y, y, N, n, Yes, yes, No or no"},
        {"(t(rue)?)|(f(alse)?)", "Boolean: T, t, F, f, True, False, true or false"},
        {"([0-9]|[A-F])+", "Hexadecimal: Allows any number of characters in the range 0-9 and A-F"},
        {"[0-7]+", "Octal: Allows any number of characters in the range 0-7."},
        {"[01]+", "Binary:Allows any number of binary characters (0 and 1)."},
    };
    TPg32RegExValidator validator(nullptr);
    const plat::TStringList& lines = validator.SampleMasks();
    EXPECT_EQ(validator.SampleMaskLength(), 80);
    ASSERT_EQ(lines.Count(), 13);
    for (int i = 0; i < lines.Count(); ++i) {
        const auto& [expression, description] = samples[static_cast<std::size_t>(i)];
        EXPECT_EQ(lines.Get(i), expression + std::string(80 - expression.size(), ' ') + description) << i;
        TPg32RegExValidator check(nullptr);
        check.SetExpression(expression);
        EXPECT_EQ(check.Expression(), expression) << "every sample compiles";
    }
}

} // namespace
} // namespace qel
