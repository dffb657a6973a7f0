// TPg32RegExValidator: validates a whole text against a regular expression
// with the library's engine. An expression is tested when it is set (a
// refused one leaves the previous one in place); a validation anchors it at
// both ends, so that the whole input must match.
#pragma once

#include "widgets/pages/pgc_regex_engine.h"
#include "widgets/pages/pgc_validator.h"

#include <memory>

namespace qel {

class TPg32RegExValidator : public TPg32BaseValidator {
    PLAT_CLASS(TPg32RegExValidator, TPg32BaseValidator)
public:
    // ErrorCode values.
    static constexpr std::uint16_t ecValid = 0;
    static constexpr std::uint16_t ecBadExpression = 1; // after an expression was refused
    static constexpr std::uint16_t ecEmptyInput = 2;
    static constexpr std::uint16_t ecNoMatch = 3;

    explicit TPg32RegExValidator(plat::TComponent* AOwner);
    ~TPg32RegExValidator() override;

    // Tests the expression (CheckExpression); a refused one is not kept.
    void SetMask(const std::string& Value) override;
    const std::string& Expression() const { return FMask; }
    void SetExpression(const std::string& Value) { SetMask(Value); }
    // ErrorCode 2 for an empty input; otherwise valid (0) when the anchored
    // expression matches, else 3. A failed match fires no error event. An
    // empty expression anchors to "^$", which makes a non-empty input raise
    // "The regex was invalid at position 2".
    bool IsValid() override;

    // Parses a non-empty expression, keeping where and why it failed; a
    // failure sets ErrorCode 1 and fires OnValidationError with
    // GetExprError. An empty expression passes with everything 0.
    bool CheckExpression(std::int32_t& ErrorPos);
    // The text of the last expression error; empty for none.
    std::string GetExprError() const;
    std::int32_t ExprErrorPos() const { return FExprErrorPos; }
    void SetExprErrorPos(std::int32_t Value) { FExprErrorPos = Value; }
    TPg32RegexError ExprErrorCode() const { return FExprErrorCode; }

    bool Logging() const { return FLogging; }
    void SetLogging(bool Value);
    const std::string& LogFile() const { return FLogFile; }
    void SetLogFile(const std::string& Value);
    bool IgnoreCase() const { return FIgnoreCase; }
    void SetIgnoreCase(bool Value);

    // The 13 sample lines, in a pattern column of 80.
    static std::span<const TValidatorSample> Samples();

protected:
    plat::TStringList& GetSampleMasks() override;

private:
    std::u16string AnchoredExpression() const;

    bool FLogging = false;
    std::string FLogFile = "parse.log";
    std::unique_ptr<TPg32RegexEngine> FRegexEngine;
    std::int32_t FExprErrorPos = 0;              // position of the last expression error, 0 none
    TPg32RegexError FExprErrorCode = recNone;
    bool FIgnoreCase = true;
};

} // namespace qel
