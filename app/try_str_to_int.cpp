// Texts as 32-bit integers.
#include "app/try_str_to_int.h"

#include <charconv>

namespace qel {

bool TryStrToInt(std::string_view Text, std::int32_t& Value)
{
    if (Text.starts_with('+')) {
        Text.remove_prefix(1);
        if (Text.starts_with('-')) {
            return false;
        }
    }
    const char* end = Text.data() + Text.size();
    std::int32_t parsed = 0;
    const auto [stop, error] = std::from_chars(Text.data(), end, parsed);
    if (error != std::errc() || stop != end) {
        return false;
    }
    Value = parsed;
    return true;
}

} // namespace qel
