// The one-letter picture masks and their error codes.
#include "widgets/pages/pgc_picture_validator.h"

#include "platform/text_encoding.h"

namespace qel {

PLAT_DEFINE_CLASS(TPg32OrMaskValidator, TPg32BaseValidator,
    plat::Published("Mask", &TPg32BaseValidator::Mask, &TPg32BaseValidator::SetMask))

namespace {

constexpr std::uint16_t InputLongerThanMask = 20;

constexpr TValidatorSample PictureSamples[] = {
    {"XXXXXXXXXX", "any character"},
    {"!!!!!!!!!!", "any char (upper)"},
    {"LLLLLLLLLL", "any char (lower)"},
    {"xxxxxxxxxx", "any char (mixed)"},
    {"aaaaaaaaaa", "alphas only"},
    {"AAAAAAAAAA", "alphas (upper)"},
    {"llllllllll", "alphas (lower)"},
    {"9999999999", "0-9"},
    {"iiiiiiiiii", "0-9, -"},
    {"##########", "0-9, -, ."},
    {"EEEEEEEEEE", "0-9, E, -, ."},
    {"KKKK", "Hexadecimal (1F3E) Allows 0-9, A-F, uppercase Alpha characters"},
    {"KK", "Hexadecimal (FF) Allows 0-9, A-F, uppercase Alpha characters"},
    {"OOOOOOOOOO", "0-7 (octal)"},
    {"bbbbbbbbbb", "0, 1 (binary)"},
    {"B", "T or F (upper)"},
    {"Y", "Y or N (upper)"},
};

bool InRange(char16_t C, char16_t First, char16_t Last)
{
    return C >= First && C <= Last;
}

bool IsDigit(char16_t C)
{
    return InRange(C, u'0', u'9');
}

bool IsDigitOr(char16_t C, std::u16string_view Others)
{
    return IsDigit(C) || Others.find(C) != std::u16string_view::npos;
}

// The error code of C under the mask character; 0 when it passes.
std::uint16_t CharacterError(char16_t Mask, char16_t C)
{
    switch (Mask) {
    case u'!': return InRange(C, u'a', u'z') ? 1 : 0;
    case u'L': return InRange(C, u'A', u'Z') ? 2 : 0;
    case u'a': return InRange(C, u'A', u'Z') || InRange(C, u'a', u'z') ? 0 : 3;
    case u'A': return InRange(C, u'A', u'Z') ? 0 : 4;
    case u'l': return InRange(C, u'a', u'z') ? 0 : 5;
    case u'9': return IsDigitOr(C, u" ") ? 0 : 6;
    case u'i': return IsDigitOr(C, u" -") ? 0 : 9;
    case u'#': return IsDigitOr(C, u" -.") ? 0 : 10;
    case u'E': return IsDigitOr(C, u" -.Ee") ? 0 : 11;
    case u'K': return IsDigit(C) || InRange(C, u'A', u'F') ? 0 : 12;
    case u'b': return C == u'0' || C == u'1' || C == u' ' ? 0 : 13;
    case u'O': return InRange(C, u'0', u'7') || C == u' ' ? 0 : 14;
    case u'B': return std::u16string_view(u"TtFf").find(C) != std::u16string_view::npos ? 0 : 15;
    case u'Y': return std::u16string_view(u"YyNn").find(C) != std::u16string_view::npos ? 0 : 16;
    default: return 0;
    }
}

} // namespace

std::span<const TValidatorSample> TPg32OrMaskValidator::Samples()
{
    return PictureSamples;
}

plat::TStringList& TPg32OrMaskValidator::GetSampleMasks()
{
    return FillSampleMasks(11, Samples());
}

bool TPg32OrMaskValidator::IsValid()
{
    return ValidateCharacters([this]() -> std::size_t {
        const std::u16string input = plat::Utf8ToUtf16(FInput);
        const std::u16string mask = plat::Utf8ToUtf16(FMask);
        if (input.size() > mask.size()) {
            FErrorCode = InputLongerThanMask;
            return mask.size() + 1;
        }
        for (std::size_t i = 0; i < input.size(); ++i) {
            if (const std::uint16_t code = CharacterError(mask[i], input[i]); code != 0) {
                FErrorCode = code;
                return i + 1;
            }
        }
        FErrorCode = 0;
        return 0;
    }, "Invalid match at character position ");
}

} // namespace qel
