// Field location, filling, packing and reading of date and time pictures.
#include "widgets/pages/pgc_picture_fields.h"

#include "widgets/pages/pgc_strings.h"

#include <algorithm>
#include <limits>

namespace qel {
namespace {

constexpr std::size_t MaxCollectedLength = 20;

std::size_t FirstRunStart(std::u16string_view Picture, char16_t Letter, char16_t Key, std::size_t From)
{
    for (std::size_t i = From; i < Picture.size(); ++i) {
        if (Picture[i] != Letter) {
            continue;
        }
        if (i == 0 || (Picture[i - 1] != Letter && (Key == 0 || Picture[i - 1] != Key))) {
            return i;
        }
    }
    return TPictureField::None;
}

char16_t AsciiUpper(char16_t C)
{
    return C >= u'a' && C <= u'z' ? static_cast<char16_t>(C - u'a' + u'A') : C;
}

bool IsSpacePaddedLetter(char16_t C)
{
    switch (C) {
    case u'D': case u'H': case u'M': case u'N': case u'S': case u'W': case u'n': case u'w':
        return true;
    default:
        return false;
    }
}

} // namespace

TPictureField FindPictureField(std::u16string_view Picture, char16_t Letter, char16_t Key, std::size_t From)
{
    const char16_t upper = AsciiUpper(Letter);
    const std::size_t start =
        std::min(FirstRunStart(Picture, Letter, Key, From), FirstRunStart(Picture, upper, Key, From));
    TPictureField field;
    if (start == TPictureField::None) {
        return field;
    }
    field.Start = start;
    std::size_t end = start;
    while (end < Picture.size() && AsciiUpper(Picture[end]) == upper) {
        ++end;
    }
    field.Width = end - start;
    return field;
}

void FillPictureField(std::u16string& Result, std::u16string_view Picture, const TPictureField& Field,
    std::u16string_view Text)
{
    for (std::size_t k = 0; k < Field.Width && k < Text.size(); ++k) {
        const std::size_t at = Field.Start + k;
        const char16_t under = Picture[at];
        char16_t c = Text[k];
        if (under == u'N' || under == u'W') {
            c = UpCaseWideChar(c);
        } else if (under != u'n' && under != u'w' && under >= u'a' && c == u' ') {
            c = u'0';
        }
        Result[at] = c;
    }
}

std::u16string FieldNumberText(std::int64_t Value, std::size_t Width)
{
    std::u16string digits;
    for (const char c : std::to_string(Value)) {
        digits.push_back(static_cast<char16_t>(c));
    }
    if (digits.size() >= Width) {
        return digits.substr(digits.size() - Width);
    }
    return std::u16string(Width - digits.size(), u' ') + digits;
}

std::u16string FieldNameText(std::u16string_view Text, std::size_t Width)
{
    std::u16string text(Text.substr(0, Width));
    text.resize(Width, u' ');
    return text;
}

void BlankPictureLetter(std::u16string& Result, std::u16string_view Picture, char16_t Letter)
{
    const char16_t upper = AsciiUpper(Letter);
    for (std::size_t i = 0; i < Picture.size() && i < Result.size(); ++i) {
        if (AsciiUpper(Picture[i]) == upper) {
            Result[i] = u' ';
        }
    }
}

void ReplaceUnderPicture(std::u16string& Result, std::u16string_view Picture, char16_t From, char16_t To)
{
    for (std::size_t i = 0; i < Picture.size() && i < Result.size(); ++i) {
        if (Picture[i] == From) {
            Result[i] = To;
        }
    }
}

std::u16string PackFilledText(std::u16string_view Picture, std::u16string_view Filled)
{
    std::u16string packed;
    for (std::size_t i = 0; i < Filled.size(); ++i) {
        const char16_t under = i < Picture.size() ? Picture[i] : u'\0';
        const char16_t c = Filled[i];
        if (c == u' ' && IsSpacePaddedLetter(under)) {
            continue;
        }
        if (c == u' ' && under == u't') {
            if (i > 0 && Picture[i - 1] == u' ' && !packed.empty() && packed.back() == u' ') {
                packed.pop_back();
            }
            continue;
        }
        if (packed.size() < MaxPackedLength) {
            packed.push_back(c);
        }
    }
    return packed;
}

std::u16string CollectFieldText(std::u16string_view Text, const TPictureField& Field)
{
    std::u16string collected;
    for (std::size_t k = 0; k < Field.Width && Field.Start + k < Text.size(); ++k) {
        const char16_t c = Text[Field.Start + k];
        if (c != u' ' && collected.size() < MaxCollectedLength) {
            collected.push_back(c);
        }
    }
    return collected;
}

std::int32_t FieldTextToNumber(std::u16string_view Text)
{
    std::size_t at = 0;
    bool negative = false;
    if (at < Text.size() && (Text[at] == u'+' || Text[at] == u'-')) {
        negative = Text[at] == u'-';
        ++at;
    }
    if (at == Text.size()) {
        return -1;
    }
    std::int64_t value = 0;
    for (; at < Text.size(); ++at) {
        if (Text[at] < u'0' || Text[at] > u'9') {
            return -1;
        }
        value = value * 10 + (Text[at] - u'0');
        if (value > std::numeric_limits<std::int32_t>::max()) {
            return -1;
        }
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

bool SameTextIgnoringCase(std::u16string_view A, std::u16string_view B)
{
    if (A.size() != B.size()) {
        return false;
    }
    for (std::size_t i = 0; i < A.size(); ++i) {
        if (UpCaseWideChar(A[i]) != UpCaseWideChar(B[i])) {
            return false;
        }
    }
    return true;
}

} // namespace qel
