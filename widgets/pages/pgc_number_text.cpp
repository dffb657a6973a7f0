// Number texts of the entry fields: reading a 64-bit integer from typed text
// and trimming the zeros of formatted real numbers.
#include "widgets/pages/pgc_strings.h"

#include <limits>

namespace qel {
namespace {

constexpr std::size_t WorkCapacity = 256;

int DigitValue(char16_t c)
{
    if (c >= u'0' && c <= u'9') {
        return c - u'0';
    }
    if (c >= u'A' && c <= u'F') {
        return c - u'A' + 10;
    }
    if (c >= u'a' && c <= u'f') {
        return c - u'a' + 10;
    }
    return 99;
}

// The typed text as it is read: trailing units up to 32 dropped, the first
// "0x" written as "$".
std::u16string WorkText(std::u16string_view text)
{
    std::u16string work(text);
    while (!work.empty() && work.back() <= u' ') {
        work.pop_back();
    }
    const std::size_t hexMark = work.find(u"0x");
    if (hexMark != std::u16string::npos) {
        work[hexMark] = u'$';
        work.erase(hexMark + 1, 1);
    }
    return work;
}

// Reads the digits from `at` as a magnitude of at most `limit`; on success
// `at` ends at the end of the text, on failure where reading stopped.
bool ReadMagnitude(std::u16string_view work, std::size_t& at, unsigned base, std::uint64_t limit,
    std::uint64_t& magnitude)
{
    magnitude = 0;
    if (at == work.size()) {
        return false; // no digits
    }
    for (; at < work.size(); ++at) {
        const auto digit = static_cast<unsigned>(DigitValue(work[at]));
        if (digit >= base || magnitude > (limit - digit) / base) {
            return false;
        }
        magnitude = magnitude * base + digit;
    }
    return true;
}

} // namespace

bool TextToInt64PChar(const char16_t* Text, std::int64_t& Value)
{
    const std::u16string_view text = Text != nullptr ? std::u16string_view(Text) : std::u16string_view();
    if (text.size() >= WorkCapacity) {
        Value = -1;
        return false;
    }
    const std::u16string work = WorkText(text);
    std::size_t at = 0;
    while (at < work.size() && work[at] == u' ') {
        ++at;
    }
    const bool negative = at < work.size() && work[at] == u'-';
    if (at < work.size() && (work[at] == u'-' || work[at] == u'+')) {
        ++at;
    }
    const bool hexadecimal = at < work.size() && work[at] == u'$';
    if (hexadecimal) {
        ++at;
    }
    const std::uint64_t limit = hexadecimal ? std::numeric_limits<std::uint64_t>::max()
        : negative ? std::uint64_t{1} << 63
                   : static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    std::uint64_t magnitude = 0;
    if (!ReadMagnitude(work, at, hexadecimal ? 16 : 10, limit, magnitude)) {
        Value = static_cast<std::int64_t>(at);
        return false;
    }
    // Two's complement: a hexadecimal text names the bits, and -2^63 negates to itself.
    Value = static_cast<std::int64_t>(negative ? ~magnitude + 1 : magnitude);
    return true;
}

std::u16string TrimExponentZeros(std::u16string_view S)
{
    std::u16string text(S);
    std::size_t exponent = text.find(u'E');
    if (exponent == std::u16string::npos) {
        return text;
    }
    while (exponent > 1 && text[exponent - 1] == u'0') {
        text.erase(--exponent, 1);
    }
    if (exponent > 1 && text[exponent - 1] == u'.') {
        text.erase(--exponent, 1);
    }
    const std::size_t digits = exponent + 2; // past the exponent's sign
    while (digits < text.size() && text[digits] == u'0') {
        text.erase(digits, 1);
    }
    return text;
}

std::u16string TrimTrailingZeros(std::u16string_view S)
{
    std::u16string text(S);
    while (text.size() > 1 && text.back() == u'0') {
        text.pop_back();
    }
    if (!text.empty() && text.back() == u'.') {
        text.pop_back();
    }
    std::size_t first = 0;
    std::size_t last = text.size();
    while (last > first && text[last - 1] <= u' ') {
        --last;
    }
    while (first < last && text[first] <= u' ') {
        ++first;
    }
    return text.substr(first, last - first);
}

} // namespace qel
