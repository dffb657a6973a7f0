// The field rules of the date and time picture language: where a run of
// one field letter stands, how a number or a name fills it, how a filled
// text is packed, and how a field's characters are read back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qel {

// Texts and pictures are read up to this many characters.
constexpr std::size_t MaxPictureTextLength = 255;

// The markers that stand for the first, second and third literal text of
// a long date picture.
constexpr char16_t LongDateLiteralMarkers[3] = {u'f', u'g', u'h'};

// A run of one letter in a picture (either case).
struct TPictureField {
    static constexpr std::size_t None = std::u16string_view::npos;
    std::size_t Start = None;
    std::size_t Width = 0;

    bool Present() const { return Start != None; }
};

// The first run of Letter (given in lower case) or its upper case at or
// after From: the earlier of the two starts where the character before is
// neither the same character nor Key (0 for no key); the run goes on while
// the characters equal the letter in either case.
TPictureField FindPictureField(std::u16string_view Picture, char16_t Letter, char16_t Key = 0,
    std::size_t From = 0);

// Writes Text (exactly the field's width) into Result under the field of
// Picture: upper-cased under "N" and "W", unchanged under "n", "w" and any
// picture character below "a", a space turned "0" under other lower-case
// letters.
void FillPictureField(std::u16string& Result, std::u16string_view Picture, const TPictureField& Field,
    std::u16string_view Text);

// Value right-aligned in Width characters, only its last Width kept.
std::u16string FieldNumberText(std::int64_t Value, std::size_t Width);
// Text left-aligned in Width characters, cut or padded with spaces.
std::u16string FieldNameText(std::u16string_view Text, std::size_t Width);

// Every character of Result under Letter in Picture (either case) blanked.
void BlankPictureLetter(std::u16string& Result, std::u16string_view Picture, char16_t Letter);
// Every character of Result under From in Picture replaced by To.
void ReplaceUnderPicture(std::u16string& Result, std::u16string_view Picture, char16_t From, char16_t To);

// The packed form of a filled text: blanks dropped under the space-padded
// letters and under "t" (a blank "t" takes the kept blank before it), at
// most MaxPackedLength characters.
constexpr std::size_t MaxPackedLength = 80;
std::u16string PackFilledText(std::u16string_view Picture, std::u16string_view Filled);

// The characters of Text under the field, spaces dropped, at most 20.
std::u16string CollectFieldText(std::u16string_view Text, const TPictureField& Field);
// A decimal integer with an optional sign, nothing else; -1 when it is not one.
std::int32_t FieldTextToNumber(std::u16string_view Text);

// True when both texts are equal, each character upper-cased by the
// library's wide-character rule.
bool SameTextIgnoringCase(std::u16string_view A, std::u16string_view B);

} // namespace qel
