// File-dialog filters: the text "Text (*.csv)|*.csv|All (*.*)|*.*" as named
// filters, each with its patterns (";" separates several). Malformed pairs
// (no name, no pattern, an odd last part) are left out one by one; every
// filter keeps the number of its pair in the text, which FilterIndex counts.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace plat {

struct TDialogFilter {
    std::string Name;
    std::vector<std::string> Patterns;
    int PairIndex = 0;   // 1 for the first pair of the text
};

std::vector<TDialogFilter> ParseDialogFilter(std::string_view filter);
// The position in filters of the one FilterIndex names; the first when it
// names none (0 for an empty list too).
std::size_t ChosenFilter(const std::vector<TDialogFilter>& filters, int filterIndex);

} // namespace plat
