// Version words and the display names of logger model codes.
// A version word holds the major version in its high byte and the minor in its low byte.
#pragma once

#include <cstdint>
#include <string>

namespace qel {

// Comparing two version words as unsigned numbers compares the versions.
constexpr std::uint16_t MakeVersion(std::uint8_t Major, std::uint8_t Minor)
{
    return static_cast<std::uint16_t>(Major << 8 | Minor);
}

// Display name of a model code; "? [<code in decimal>]" for a code without a name.
// Only 0x6601 depends on the version word.
std::string GetModelName(std::uint16_t ClassID, std::uint16_t Version);

} // namespace qel
