// Texts as 32-bit integers, as the number fields of the application read
// them: an optional sign and decimal digits, nothing else.
#pragma once

#include <cstdint>
#include <string_view>

namespace qel {

// False for an empty text, any other character, or a value beyond the
// 32-bit range; Value is then untouched.
bool TryStrToInt(std::string_view Text, std::int32_t& Value);

} // namespace qel
