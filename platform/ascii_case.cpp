// Names compared without regard to ASCII letter case, as registry keys and
// values, ini sections and names, and registered message names are.
#include "platform/ascii_case.h"

#include <algorithm>

namespace plat {

namespace {

char FoldChar(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::string FoldCase(std::string_view text)
{
    std::string folded(text);
    std::transform(folded.begin(), folded.end(), folded.begin(), FoldChar);
    return folded;
}

bool SameText(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return FoldChar(x) == FoldChar(y); });
}

} // namespace plat
