// The edit-mask language as the validator reads it: directives and the
// field part take no input position; every other mask character takes one.
// Letters and digits are told by their Unicode categories. The platform's
// ANSI code page (Windows-1252) has no lead bytes, so the lead-byte rule of
// multi-byte code pages never applies.
#include "widgets/pages/pgc_paradox_validator.h"

#include "platform/locale.h"
#include "platform/text_encoding.h"

#include <glib.h>

#include <vector>

namespace qel {

PLAT_DEFINE_CLASS(TPg32ParadoxValidator, TPg32BaseValidator,
    plat::Published("Mask", &TPg32BaseValidator::Mask, &TPg32BaseValidator::SetMask))

namespace {

constexpr TValidatorSample EditMaskSamples[] = {
    {"!\\(999\\)000-0000;1;_", "Phone             (415)555-1212"},
    {"!99999;1;_", "Extension         15450"},
    {"000\\-00\\-0000;1;_", "Social Security   555-55-5555"},
    {"00000;1;_", "Short Zip Code    90504"},
    {"00000\\-9999;1;_", "Long Zip Code     90504-0000"},
    {"!99/99/00;1;_", "Date              06/27/01"},
    {"!90:00:00>LL;1;_", "Long Time         09:05:15PM"},
    {"!90:00;1;_", "Short Time        13:45"},
};

// What one input position of a mask takes.
enum class TPositionKind { Literal, Digit, DigitOrSign, Letter, LetterOrDigit, AnyChar };

bool IsSurrogate(char16_t C)
{
    return C >= 0xD800 && C <= 0xDFFF;
}

// Under a Japanese user language a character whose low byte is 161..223
// (the single-byte katakana) counts as a letter.
bool IsKatakanaByte(char16_t C)
{
    const unsigned low = C & 0xFF;
    return low >= 161 && low <= 223 && plat::CurrentLocaleProvider().UserDefaultLanguage() == plat::LANG_JAPANESE;
}

bool IsLetter(char16_t C)
{
    return (!IsSurrogate(C) && g_unichar_isalpha(C)) || IsKatakanaByte(C);
}

bool IsLetterOrDigit(char16_t C)
{
    return (!IsSurrogate(C) && g_unichar_isalnum(C)) || IsKatakanaByte(C);
}

bool Accepts(TPositionKind Kind, char16_t C)
{
    switch (Kind) {
    case TPositionKind::Digit: return C >= u'0' && C <= u'9';
    case TPositionKind::DigitOrSign: return (C >= u'0' && C <= u'9') || C == u' ' || C == u'+' || C == u'-';
    case TPositionKind::Letter: return IsLetter(C);
    case TPositionKind::LetterOrDigit: return IsLetterOrDigit(C);
    case TPositionKind::Literal:
    case TPositionKind::AnyChar: return true;
    }
    return true;
}

TPositionKind KindOf(char16_t MaskChar)
{
    switch (MaskChar) {
    case u'0': case u'9': return TPositionKind::Digit;
    case u'#': return TPositionKind::DigitOrSign;
    case u'L': case u'l': return TPositionKind::Letter;
    case u'A': case u'a': return TPositionKind::LetterOrDigit;
    case u'C': case u'c': return TPositionKind::AnyChar;
    default: return TPositionKind::Literal;
    }
}

// A mask longer than 3 characters ends in its field part when a ";" stands
// among its last 4: each such ";" and the character after it.
std::vector<bool> FieldPart(std::u16string_view Mask)
{
    std::vector<bool> field(Mask.size(), false);
    if (Mask.size() <= 3) {
        return field;
    }
    for (std::size_t k = Mask.size() - 4; k < Mask.size(); ++k) {
        if (Mask[k] == u';') {
            field[k] = true;
            if (k + 1 < Mask.size()) {
                field[k + 1] = true;
            }
        }
    }
    return field;
}

std::vector<TPositionKind> InputPositions(std::u16string_view Mask)
{
    const std::vector<bool> field = FieldPart(Mask);
    std::vector<TPositionKind> positions;
    for (std::size_t i = 0; i < Mask.size(); ++i) {
        if (field[i]) {
            continue;
        }
        switch (Mask[i]) {
        case u'\\':
            // The next mask character is a literal.
            if (i + 1 < Mask.size() && !field[i + 1]) {
                positions.push_back(TPositionKind::Literal);
                ++i;
            }
            break;
        case u'!': case u'>': case u'<':
            break;
        default:
            positions.push_back(KindOf(Mask[i]));
            break;
        }
    }
    return positions;
}

} // namespace

std::span<const TValidatorSample> TPg32ParadoxValidator::Samples()
{
    return EditMaskSamples;
}

plat::TStringList& TPg32ParadoxValidator::GetSampleMasks()
{
    return FillSampleMasks(25, Samples());
}

bool TPg32ParadoxValidator::IsValid()
{
    return ValidateCharacters([this]() -> std::size_t {
        if (FMask.empty()) {
            return 0;
        }
        const std::vector<TPositionKind> positions = InputPositions(plat::Utf8ToUtf16(FMask));
        const std::u16string input = plat::Utf8ToUtf16(FInput);
        for (std::size_t i = 0; i < input.size(); ++i) {
            if (i >= positions.size() || !Accepts(positions[i], input[i])) {
                return i + 1;
            }
        }
        return 0;
    }, "Validation Error Encountered at string position ");
}

} // namespace qel
