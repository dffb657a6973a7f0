// TValidateEdit: the validating number field of the time and file pages. A
// single-line edit that holds a text, a floating-point number, a signed or
// an unsigned 32-bit integer: it drops typed characters that cannot belong
// to its kind of value, tests the whole text on Enter, on leaving the field
// and after each write of FloatValue or IntValue, colours itself by the
// result, and reads and writes its text as a number. An invalid text is
// never refused or corrected; it stays, coloured ColorError, and reads as 0.
#pragma once

#include "platform/canvas/colors.h"
#include "platform/controls/standard/custom_edit.h"

#include <cstdint>
#include <string>

namespace qel {

enum TValidateMode : std::uint8_t {
    vmString = 0,    // any text
    vmFloat = 1,     // a floating-point number
    vmSigned = 2,    // a signed 32-bit integer
    vmUnsigned = 3,  // a 32-bit integer not below 0
};

// Called by every validity test after its own: the handler may change the
// text (setting bChange to have it written back) and the result.
using TValidInputEvent = plat::TEvent<void(plat::TObject* Sender, std::string& sText, bool& bChange, bool& bValid)>;

class TValidateEdit : public plat::TCustomEdit {
    PLAT_CLASS(TValidateEdit, plat::TCustomEdit)
public:
    explicit TValidateEdit(plat::TComponent* AOwner);

    TValidateMode Mode() const { return FMode; }
    void SetMode(TValidateMode Value) { FMode = Value; }
    plat::TColor ColorOk() const { return FColorOk; }
    void SetColorOk(plat::TColor Value) { FColorOk = Value; }
    plat::TColor ColorError() const { return FColorError; }
    void SetColorError(plat::TColor Value) { FColorError = Value; }
    TValidInputEvent OnValidInput;

    // The text as a double by the program's format settings; 0 when it does
    // not convert. Writing sets the text in the general format (15
    // significant digits, the program's decimal separator), then IsValid.
    double FloatValue() const;
    void SetFloatValue(double Value);
    // The text as a signed 32-bit integer; 0 when it does not convert.
    // Writing sets the decimal text, then IsValid.
    std::int32_t IntValue() const;
    void SetIntValue(std::int32_t Value);

    // Tests the text by the mode, lets OnValidInput have its say, writes a
    // changed text back, colours the field ColorOk or ColorError and answers
    // the result.
    bool IsValid();

protected:
    // After the edit's own handling: Enter runs IsValid; the numeric modes
    // drop every character that cannot belong to their value.
    void KeyPress(char16_t& Key) override;
    // After the edit's own handling: IsValid.
    void DoExit() override;

private:
    TValidateMode FMode = vmString;
    plat::TColor FColorOk = plat::clWhite;
    plat::TColor FColorError = plat::clRed;
};

} // namespace qel
