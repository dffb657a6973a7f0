// Tests of the library's validator base, its class-name registry and the
// picture-mask and edit-mask validators: registration order, events,
// positions, error codes, error texts and the sample lines.
#include "widgets/pages/pgc_paradox_validator.h"
#include "widgets/pages/pgc_picture_validator.h"
#include "widgets/pages/pgc_regex_validator.h"
#include "widgets/pages/pgc_validator_registry.h"
#include "widgets/pages/pgc_validator_units.h"

#include "platform/locale.h"
#include "platform/objects/class_registry.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace qel {
namespace {

std::vector<std::string> Lines(const plat::TStringList& list)
{
    std::vector<std::string> lines;
    for (int i = 0; i < list.Count(); ++i) {
        lines.push_back(list.Get(i));
    }
    return lines;
}

// Everything a validator reports while it validates, in order.
struct TEventLog {
    std::vector<std::string> Events;

    void Attach(TPg32BaseValidator& validator)
    {
        validator.BeforeValidation = [this](plat::TObject*) { Events.push_back("before"); };
        validator.AfterValidation = [this](plat::TObject*) { Events.push_back("after"); };
        validator.OnValidationError = [this](plat::TObject*, const std::string& message) {
            Events.push_back("error: " + message);
        };
    }
};

// The validator units started for one test and ended after it.
class ValidatorUnits : public ::testing::Test {
protected:
    ValidatorUnits() { InitValidatorUnits(); }
    ~ValidatorUnits() override { FinalizeValidatorUnits(); }
};

TEST_F(ValidatorUnits, RegistryListsTheClassesInStartOrder)
{
    const std::vector<std::string> expected = {"None", "TPg32OrMaskValidator", "TPg32ParadoxValidator",
        "TPg32RegExValidator"};
    EXPECT_EQ(Lines(ValidatorClassNames), expected);
    for (std::size_t i = 1; i < expected.size(); ++i) {
        const plat::TClass cls = plat::GetClass(expected[i]);
        ASSERT_NE(cls, nullptr) << expected[i];
        std::unique_ptr<plat::TObject> built(cls->Create(nullptr));
        EXPECT_EQ(built->ClassName(), expected[i]) << "built again by its class name";
    }
    EXPECT_FALSE(TPg32BaseValidator::StaticClass()->CanCreate()) << "the base is abstract";
}

TEST_F(ValidatorUnits, RegisteringAndUnregistering)
{
    const std::vector<std::string> started = Lines(ValidatorClassNames);
    RegisterValidatorClass(TPg32RegExValidator::StaticClass());
    RegisterValidatorClass(TPg32Component::StaticClass());
    RegisterValidatorClass(nullptr);
    EXPECT_EQ(Lines(ValidatorClassNames), started) << "twice, or not a validator: nothing changes";
    UnregisterValidatorClass(TPg32Component::StaticClass());
    UnregisterValidatorClass(TPg32BaseValidator::StaticClass());
    EXPECT_EQ(Lines(ValidatorClassNames), started) << "an unlisted class: nothing changes";

    UnregisterValidatorClass(TPg32OrMaskValidator::StaticClass());
    EXPECT_EQ(plat::GetClass("TPg32OrMaskValidator"), nullptr);
    RegisterValidatorClass(TPg32OrMaskValidator::StaticClass());
    EXPECT_EQ(Lines(ValidatorClassNames), (std::vector<std::string>{"None", "TPg32ParadoxValidator",
        "TPg32RegExValidator", "TPg32OrMaskValidator"}));
    EXPECT_NE(plat::GetClass("TPg32OrMaskValidator"), nullptr);

    FinalizeValidatorUnits();
    EXPECT_EQ(ValidatorClassNames.Count(), 0);
    EXPECT_EQ(plat::GetClass("TPg32RegExValidator"), nullptr);
    InitValidatorUnits();
}

TEST(PgcValidators, ReadingValidTwiceFiresTheEventsTwice)
{
    TPg32OrMaskValidator validator(nullptr);
    TEventLog log;
    log.Attach(validator);
    validator.SetMask("99");
    validator.SetInput("1x");
    EXPECT_FALSE(validator.Valid());
    EXPECT_FALSE(validator.Valid());
    const std::vector<std::string> expected = {"before", "after", "error: Invalid match at character position 2",
        "before", "after", "error: Invalid match at character position 2"};
    EXPECT_EQ(log.Events, expected);

    log.Events.clear();
    validator.SetInput("12");
    EXPECT_TRUE(validator.IsValid());
    EXPECT_EQ(validator.ErrorCode(), 0);
    EXPECT_EQ(log.Events, (std::vector<std::string>{"before", "after"}));
}

struct TMaskCase {
    const char* Mask;
    const char* Input;
    int Position; // 0: valid
    int Code;
};

// Each case on a fresh validator: the result, the error code and the events
// with the error text that names the position.
template <class TValidator>
void ExpectMaskCases(std::initializer_list<TMaskCase> cases, const std::string& errorText)
{
    for (const TMaskCase& c : cases) {
        TValidator validator(nullptr);
        TEventLog log;
        log.Attach(validator);
        validator.SetMask(c.Mask);
        validator.SetInput(c.Input);
        const std::string name = std::string(c.Mask) + " / " + c.Input;
        EXPECT_EQ(validator.IsValid(), c.Position == 0) << name;
        EXPECT_EQ(validator.ErrorCode(), c.Code) << name;
        std::vector<std::string> expected = {"before", "after"};
        if (c.Position != 0) {
            expected.push_back("error: " + errorText + std::to_string(c.Position));
        }
        EXPECT_EQ(log.Events, expected) << name;
    }
}

void ExpectPictureCases(std::initializer_list<TMaskCase> cases)
{
    ExpectMaskCases<TPg32OrMaskValidator>(cases, "Invalid match at character position ");
}

// The edit-mask validator leaves the error code alone: cases give 0.
void ExpectEditMaskCases(std::initializer_list<TMaskCase> cases)
{
    ExpectMaskCases<TPg32ParadoxValidator>(cases, "Validation Error Encountered at string position ");
}

TEST(PgcValidators, PictureMaskCases)
{
    ExpectPictureCases({
        {"999", "12a", 3, 6},   {"AA", "ABC", 3, 20},  {"!", "A", 0, 0},      {"!", "5", 0, 0},
        {"!", "a", 1, 1},       {"XxZ", "a!~", 0, 0},  {"XxZ", "abcd", 4, 20}, {"XxZ", "", 0, 0},
        {"999", "", 0, 0},      {"999", "1", 0, 0},    {"AAA", "AB", 0, 0},    {"", "x", 1, 20},
    });
}

TEST(PgcValidators, PictureMaskCharacters)
{
    // Per mask character: what passes, then the first character that fails and its code.
    ExpectPictureCases({
        {"!!!!", "A1.\xC3\xA4", 0, 0}, {"!!", "Az", 2, 1},
        {"LLLL", "a1.\xC3\x84", 0, 0}, {"LL", "aZ", 2, 2},
        {"aa", "zA", 0, 0},            {"aa", "a1", 2, 3},
        {"AA", "AZ", 0, 0},            {"AA", "Aa", 2, 4},
        {"ll", "az", 0, 0},            {"ll", "aZ", 2, 5},
        {"999", "0 9", 0, 0},          {"99", "1-", 2, 6},
        {"iii", "9 -", 0, 0},          {"ii", "1.", 2, 9},
        {"####", "1 -.", 0, 0},        {"##", "1e", 2, 10},
        {"EEEEEE", "1 -.Ee", 0, 0},    {"EE", "1x", 2, 11},
        {"KKK", "0AF", 0, 0},          {"KK", "Fa", 2, 12},
        {"bbb", "01 ", 0, 0},          {"bb", "12", 2, 13},
        {"OOO", "07 ", 0, 0},          {"OO", "08", 2, 14},
        {"BBBB", "TtFf", 0, 0},        {"BB", "Tx", 2, 15},
        {"YYYY", "YyNn", 0, 0},        {"YY", "Yx", 2, 16},
    });
}

TEST(PgcValidators, EditMaskCases)
{
    ExpectEditMaskCases({
        {"00000;1;_", "12345", 0, 0},
        {"00000;1;_", "1234a", 5, 0},
        {"00000;1;_", "123456", 6, 0},
        {"00000;1;_", "", 0, 0},
        {"", "anything", 0, 0},
        {"!\\(999\\)000-0000;1;_", "(415)555-1212", 0, 0},
        {"!\\(999\\)000-0000;1;_", "X415)555-1212", 0, 0},
        {"!\\(999\\)000-0000;1;_", "(41a)555-1212", 4, 0},
        {"!\\(999\\)000-0000;1;_", "(415)555-12123", 14, 0},
        {"!90:00:00>LL;1;_", "09:05:15PM", 0, 0},
        {"!90:00:00>LL;1;_", "09:05:1xPM", 8, 0},
        {"!90:00:00>LL;1;_", "09:05:15P1", 10, 0},
        {"99", "1 ", 2, 0},
        {"###", "+- ", 0, 0},
        {"##", "1x", 2, 0},
        {"LLl", "a\xC3\xBC\xCE\xB2", 0, 0},
        {"LL", "a1", 2, 0},
        {"AAa", "\xC3\xA9" "5Z", 0, 0},
        {"AA", "1-", 2, 0},
        {"Cc", "-\xE2\x82\xAC", 0, 0},
        {"<>!x0", "?1", 0, 0},
        {"0\\", "12", 2, 0},
    });
}

TEST(PgcValidators, EditMaskCountsKatakanaBytesAsLettersInJapanese)
{
    TPg32ParadoxValidator validator(nullptr);
    validator.SetMask("L");
    validator.SetInput("\xC2\xA1"); // U+00A1, low byte 161
    EXPECT_FALSE(validator.IsValid());
    const plat::TFixedLocaleProvider japanese("ja_JP");
    const plat::TScopedLocaleProvider scope(japanese);
    EXPECT_TRUE(validator.IsValid());
}

TEST(PgcValidators, SampleLinesInTheirColumns)
{
    TPg32OrMaskValidator picture(nullptr);
    const std::vector<std::string> pictureLines = {
        "XXXXXXXXXX any character",
        "!!!!!!!!!! any char (upper)",
        "LLLLLLLLLL any char (lower)",
        "xxxxxxxxxx any char (mixed)",
        "aaaaaaaaaa alphas only",
        "AAAAAAAAAA alphas (upper)",
        "llllllllll alphas (lower)",
        "9999999999 0-9",
        "iiiiiiiiii 0-9, -",
        "########## 0-9, -, .",
        "EEEEEEEEEE 0-9, E, -, .",
        "KKKK       Hexadecimal (1F3E) Allows 0-9, A-F, uppercase Alpha characters",
        "KK         Hexadecimal (FF) Allows 0-9, A-F, uppercase Alpha characters",
        "OOOOOOOOOO 0-7 (octal)",
        "bbbbbbbbbb 0, 1 (binary)",
        "B          T or F (upper)",
        "Y          Y or N (upper)",
    };
    EXPECT_EQ(Lines(picture.SampleMasks()), pictureLines);
    EXPECT_EQ(picture.SampleMaskLength(), 11);
    EXPECT_EQ(Lines(picture.SampleMasks()).size(), 17u) << "asking again does not add lines";

    TPg32ParadoxValidator editMask(nullptr);
    const std::vector<std::string> editMaskLines = {
        "!\\(999\\)000-0000;1;_     Phone             (415)555-1212",
        "!99999;1;_               Extension         15450",
        "000\\-00\\-0000;1;_        Social Security   555-55-5555",
        "00000;1;_                Short Zip Code    90504",
        "00000\\-9999;1;_          Long Zip Code     90504-0000",
        "!99/99/00;1;_            Date              06/27/01",
        "!90:00:00>LL;1;_         Long Time         09:05:15PM",
        "!90:00;1;_               Short Time        13:45",
    };
    EXPECT_EQ(Lines(editMask.SampleMasks()), editMaskLines);
    EXPECT_EQ(editMask.SampleMaskLength(), 25);
}

TEST(PgcValidators, EditMaskSamplesAcceptTheirExamples)
{
    for (const TValidatorSample& sample : TPg32ParadoxValidator::Samples()) {
        TPg32ParadoxValidator validator(nullptr);
        validator.SetMask(std::string(sample.Pattern));
        const std::string description(sample.Description);
        validator.SetInput(description.substr(description.find_last_of(' ') + 1));
        EXPECT_TRUE(validator.IsValid()) << sample.Pattern << " / " << validator.Input();
    }
}

} // namespace
} // namespace qel
