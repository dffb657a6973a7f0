// Names compared without regard to ASCII letter case, as registry keys and
// values, ini sections and names, and registered message names are.
#pragma once

#include <string>
#include <string_view>

namespace plat {

// The text with its ASCII capitals made small; every other byte stays.
std::string FoldCase(std::string_view text);

// True when the texts differ at most in the case of ASCII letters.
bool SameText(std::string_view a, std::string_view b);

} // namespace plat
