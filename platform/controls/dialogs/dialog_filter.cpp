// Parsing of file-dialog filter texts.
#include "platform/controls/dialogs/dialog_filter.h"

namespace plat {

namespace {

std::string_view Trimmed(std::string_view text)
{
    const std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos) {
        return {};
    }
    return text.substr(start, text.find_last_not_of(" \t") - start + 1);
}

std::vector<std::string_view> Split(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) {
            return parts;
        }
        start = end + 1;
    }
}

} // namespace

std::vector<TDialogFilter> ParseDialogFilter(std::string_view filter)
{
    std::vector<TDialogFilter> filters;
    const std::vector<std::string_view> parts = Split(filter, '|');
    for (std::size_t pair = 0; pair + 1 < parts.size(); pair += 2) {
        TDialogFilter entry;
        entry.Name = std::string(Trimmed(parts[pair]));
        entry.PairIndex = static_cast<int>(pair / 2) + 1;
        for (std::string_view pattern : Split(parts[pair + 1], ';')) {
            if (!Trimmed(pattern).empty()) {
                entry.Patterns.emplace_back(Trimmed(pattern));
            }
        }
        if (!entry.Name.empty() && !entry.Patterns.empty()) {
            filters.push_back(std::move(entry));
        }
    }
    return filters;
}

std::size_t ChosenFilter(const std::vector<TDialogFilter>& filters, int filterIndex)
{
    for (std::size_t i = 0; i < filters.size(); ++i) {
        if (filters[i].PairIndex == filterIndex) {
            return i;
        }
    }
    return 0;
}

} // namespace plat
