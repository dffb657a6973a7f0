// TValidateEdit: the key filter of the numeric modes, the validity test and
// the number reads and writes of the text.
#include "app/validate_edit.h"

#include "app/try_str_to_int.h"
#include "platform/float_format.h"
#include "platform/format_settings.h"

namespace qel {

PLAT_DEFINE_CLASS(TValidateEdit, plat::TCustomEdit,
    plat::Published("ColorError", &TValidateEdit::ColorError, &TValidateEdit::SetColorError).Default(plat::clRed),
    plat::Published("ColorOk", &TValidateEdit::ColorOk, &TValidateEdit::SetColorOk).Default(plat::clWhite),
    plat::Published("Mode", &TValidateEdit::Mode, &TValidateEdit::SetMode,
                    {"vmString", "vmFloat", "vmSigned", "vmUnsigned"}).Default(vmString))

namespace {

constexpr char16_t Backspace = 8;
constexpr char16_t Enter = 13;

bool IsDigit(char16_t key)
{
    return key >= u'0' && key <= u'9';
}

// Whether a typed character may belong to a value of the mode.
bool Accepted(TValidateMode mode, char16_t key, char decimalSeparator)
{
    if (key == Backspace || IsDigit(key)) {
        return true;
    }
    switch (mode) {
    case vmFloat:
        return key == u'-' || key == u'E' || key == u'e' || key == static_cast<unsigned char>(decimalSeparator);
    case vmSigned:
        return key == u'-';
    default:
        return false;
    }
}

} // namespace

TValidateEdit::TValidateEdit(plat::TComponent* AOwner) : plat::TCustomEdit(AOwner) {}

void TValidateEdit::KeyPress(char16_t& Key)
{
    plat::TCustomEdit::KeyPress(Key);
    if (Key == Enter) {
        IsValid();
    }
    if (FMode == vmString) {
        return;
    }
    const char separator = plat::FormatSettings().DecimalSeparator;
    if (FMode == vmFloat && (Key == u'.' || Key == u',')) {
        Key = static_cast<unsigned char>(separator);
    }
    if (!Accepted(FMode, Key, separator)) {
        Key = 0;
    }
}

void TValidateEdit::DoExit()
{
    plat::TCustomEdit::DoExit();
    IsValid();
}

bool TValidateEdit::IsValid()
{
    std::string sText = Text();
    bool bValid = false;
    bool bChange = false;
    double number = 0;
    std::int32_t integer = 0;
    switch (FMode) {
    case vmString:
        bValid = true;
        break;
    case vmFloat:
        bValid = plat::TryStrToFloat(sText, number);
        break;
    case vmSigned:
        bValid = TryStrToInt(sText, integer);
        break;
    case vmUnsigned:
        bValid = TryStrToInt(sText, integer) && integer >= 0;
        break;
    }
    OnValidInput(this, sText, bChange, bValid);
    if (bChange) {
        SetText(sText);
    }
    SetColor(bValid ? FColorOk : FColorError);
    return bValid;
}

double TValidateEdit::FloatValue() const
{
    double value = 0;
    return plat::TryStrToFloat(Text(), value) ? value : 0;
}

void TValidateEdit::SetFloatValue(double Value)
{
    SetText(plat::FloatToStr(Value));
    IsValid();
}

std::int32_t TValidateEdit::IntValue() const
{
    std::int32_t value = 0;
    return TryStrToInt(Text(), value) ? value : 0;
}

void TValidateEdit::SetIntValue(std::int32_t Value)
{
    SetText(std::to_string(Value));
    IsValid();
}

} // namespace qel
