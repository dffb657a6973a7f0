// UTF-8 handling of the text calls: decoding to code points and repairing
// text that is not valid UTF-8 (stray bytes, encoded lone surrogates) before
// it reaches the text engine.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace plat {

// Code points with byte offsets; every invalid sequence becomes U+FFFD.
struct TDecodedChar {
    char32_t Code;
    std::size_t Offset; // byte offset in the decoded text
    std::size_t Length; // bytes
};
std::vector<TDecodedChar> DecodeUtf8(std::string_view text);
// The text with every invalid sequence, and NUL, replaced by U+FFFD.
std::string RepairUtf8(std::string_view text);
std::string EncodeUtf8(char32_t c);
// The text in the form case-blind comparisons use (Unicode case folding,
// so "Äpfel" and "äPFEL" fold alike); invalid sequences are repaired first.
std::string FoldCaseUtf8(std::string_view text);
// Whether text starts with prefix, letter case ignored (after folding both).
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

} // namespace plat
