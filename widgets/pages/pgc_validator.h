// TPg32BaseValidator: the common base of the component library's
// non-visual validators, which test a text (Input) against a pattern
// (Mask): it holds both, the result and the error code, fires events before
// and after each validation and on failure, and offers sample patterns.
#pragma once

#include "widgets/pages/pgc_component.h"

#include "platform/objects/events.h"
#include "platform/objects/string_list.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace qel {

using TValidatorErrorEvent = plat::TEvent<void(plat::TObject* Sender, const std::string& ErrorMsg)>;

// One sample line: a pattern and what it accepts.
struct TValidatorSample {
    std::string_view Pattern;
    std::string_view Description;
};

// Concrete validators follow one order in IsValid: BeforeValidation, their
// test, AfterValidation, then OnValidationError when the test failed (as
// each one says). Reading Valid runs a full validation. Texts are UTF-8;
// positions count UTF-16 units.
class TPg32BaseValidator : public TPg32Component {
    PLAT_CLASS(TPg32BaseValidator, TPg32Component)
public:
    explicit TPg32BaseValidator(plat::TComponent* AOwner);

    const std::string& Input() const { return FInput; }
    // Stores the text; validates nothing.
    virtual void SetInput(const std::string& Value) { FInput = Value; }
    const std::string& Mask() const { return FMask; }
    // Stores the pattern; validates nothing unless a validator says so.
    virtual void SetMask(const std::string& Value) { FMask = Value; }
    bool Valid() { return GetValid(); }
    std::uint16_t ErrorCode() const { return FErrorCode; }
    // The sample lines: each pattern left-aligned in SampleMaskLength
    // characters, then its description.
    plat::TStringList& SampleMasks() { return GetSampleMasks(); }
    std::int32_t SampleMaskLength() const { return FSampleMaskLength; }
    virtual bool IsValid() = 0;

    plat::TNotifyEvent BeforeValidation;
    plat::TNotifyEvent AfterValidation;
    TValidatorErrorEvent OnValidationError;

protected:
    // IsValid, with its events.
    virtual bool GetValid() { return IsValid(); }
    virtual plat::TStringList& GetSampleMasks() = 0;

    void DoBeforeValidation();
    void DoAfterValidation();
    void DoValidationError(const std::string& ErrorMsg);
    // The validation order of the position-reporting validators: the events
    // around FirstFailure (the 1-based position of the first character that
    // fails, 0 when all pass), then, when one failed, OnValidationError with
    // ErrorText followed by that position.
    bool ValidateCharacters(const std::function<std::size_t()>& FirstFailure, std::string_view ErrorText);
    // Fills the sample list with Samples in a pattern column of Width.
    plat::TStringList& FillSampleMasks(std::uint16_t Width, std::span<const TValidatorSample> Samples);

    std::string FInput;
    std::string FMask;
    bool FValid = false;
    std::uint16_t FErrorCode = 0;       // the validator's code for the last validation
    std::uint16_t FSampleMaskLength = 0; // width of the pattern column of the sample lines
    plat::TStringList FSampleMasks;
};

} // namespace qel
