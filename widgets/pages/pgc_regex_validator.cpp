// The regular-expression validator: expression checks, anchoring and the
// whole-input match.
#include "widgets/pages/pgc_regex_validator.h"

#include "platform/text_encoding.h"

namespace qel {

PLAT_DEFINE_CLASS(TPg32RegExValidator, TPg32BaseValidator,
    plat::Published("Input", &TPg32BaseValidator::Input, &TPg32BaseValidator::SetInput),
    plat::Published("Expression", &TPg32RegExValidator::Expression, &TPg32RegExValidator::SetExpression),
    plat::Published("Logging", &TPg32RegExValidator::Logging, &TPg32RegExValidator::SetLogging).Default(false),
    plat::Published("LogFile", &TPg32RegExValidator::LogFile, &TPg32RegExValidator::SetLogFile),
    plat::Published("IgnoreCase", &TPg32RegExValidator::IgnoreCase, &TPg32RegExValidator::SetIgnoreCase).Default(true))

namespace {

constexpr TValidatorSample RegExSamples[] = {
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
        "Date: (mm\\dd\\yy) or (mm\\dd\\yyyy) formats. Also accepts / and - separators. Note: Only covers years "
        "from 1000-3999"},
    {"(y(es)?)|(no?)", "Boolean: Y, y, N, n, Yes, yes, No or no"},
    {"(t(rue)?)|(f(alse)?)", "Boolean: T, t, F, f, True, False, true or false"},
    {"([0-9]|[A-F])+", "Hexadecimal: Allows any number of characters in the range 0-9 and A-F"},
    {"[0-7]+", "Octal: Allows any number of characters in the range 0-7."},
    {"[01]+", "Binary:Allows any number of binary characters (0 and 1)."},
};

} // namespace

TPg32RegExValidator::TPg32RegExValidator(plat::TComponent* AOwner)
    : TPg32BaseValidator(AOwner), FRegexEngine(std::make_unique<TPg32RegexEngine>())
{
    FRegexEngine->SetLogging(FLogging);
    FRegexEngine->SetLogFile(FLogFile);
    FRegexEngine->SetIgnoreCase(FIgnoreCase);
}

TPg32RegExValidator::~TPg32RegExValidator() = default;

void TPg32RegExValidator::SetMask(const std::string& Value)
{
    const std::string previous = FMask;
    FMask = Value;
    std::int32_t errorPos = 0;
    if (!CheckExpression(errorPos)) {
        FMask = previous;
    }
}

bool TPg32RegExValidator::CheckExpression(std::int32_t& ErrorPos)
{
    FExprErrorPos = 0;
    FExprErrorCode = recNone;
    ErrorPos = 0;
    if (FMask.empty()) {
        FErrorCode = ecValid;
        return true;
    }
    FRegexEngine->SetRegexString(plat::Utf8ToUtf16(FMask));
    const bool parsed = FRegexEngine->Parse(FExprErrorPos, FExprErrorCode);
    ErrorPos = FExprErrorPos;
    if (!parsed) {
        FErrorCode = ecBadExpression;
        DoValidationError(GetExprError());
    }
    return parsed;
}

// The expression with "^" in front unless it starts with one, and "$"
// behind unless its first "$" is its last character (so an escaped "$" at
// the end stays a character and leaves the end open). An empty expression
// gives "^$", which the engine refuses.
std::u16string TPg32RegExValidator::AnchoredExpression() const
{
    std::u16string anchored = plat::Utf8ToUtf16(FMask);
    if (anchored.empty() || anchored.front() != u'^') {
        anchored.insert(0, 1, u'^');
    }
    const std::size_t firstEnd = anchored.find(u'$');
    if (firstEnd == std::u16string::npos || firstEnd != anchored.size() - 1) {
        anchored.push_back(u'$');
    }
    return anchored;
}

std::string TPg32RegExValidator::GetExprError() const
{
    switch (FExprErrorCode) {
    case recNone: return "";
    case recSuddenEnd: return "Incomplete Expression";
    case recMetaChar: return "Read a metacharacter where there should have been a normal character";
    case recNoCloseParen: return "Missing closing parenthesis";
    case recExtraChars: return "Unrecognizable text at the end of the expression";
    case recTooDeep: return "Groups nested too deeply";
    }
    return "";
}

bool TPg32RegExValidator::IsValid()
{
    DoBeforeValidation();
    FValid = false;
    FRegexEngine->SetRegexString(AnchoredExpression());
    if (FInput.empty()) {
        FErrorCode = ecEmptyInput;
    } else if (FRegexEngine->MatchString(plat::Utf8ToUtf16(FInput)) == 1) {
        FValid = true;
        FErrorCode = ecValid;
    } else {
        FErrorCode = ecNoMatch;
    }
    DoAfterValidation();
    return FValid;
}

void TPg32RegExValidator::SetLogging(bool Value)
{
    if (Value != FLogging) {
        FLogging = Value;
        FRegexEngine->SetLogging(Value);
    }
}

void TPg32RegExValidator::SetLogFile(const std::string& Value)
{
    if (Value != FLogFile) {
        FLogFile = Value;
        FRegexEngine->SetLogFile(Value);
    }
}

void TPg32RegExValidator::SetIgnoreCase(bool Value)
{
    if (Value != FIgnoreCase) {
        FIgnoreCase = Value;
        FRegexEngine->SetIgnoreCase(Value);
    }
}

std::span<const TValidatorSample> TPg32RegExValidator::Samples()
{
    return RegExSamples;
}

plat::TStringList& TPg32RegExValidator::GetSampleMasks()
{
    return FillSampleMasks(80, Samples());
}

} // namespace qel
