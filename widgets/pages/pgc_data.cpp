// The letter set of the library's shared declarations, built from a fixed
// table of the Windows-1252 letters so that it does not depend on the
// machine's code page.
#include "widgets/pages/pgc_data.h"

namespace qel {
namespace {

// The letters of Windows-1252 above 127: Latin-1's letters plus those the
// code page puts at 0x80 .. 0x9F.
constexpr std::uint8_t UpperLetters[] = {
    0x83, // f with hook
    0x8A, 0x8C, 0x8E, 0x9A, 0x9C, 0x9E, 0x9F, // S, OE, Z, s, oe, z with caron or ligature, Y diaeresis
    0xAA, 0xB5, 0xBA, // feminine ordinal, micro sign, masculine ordinal
};

constexpr TCharSet BuildAlphaCharSet()
{
    TCharSet set;
    set.Include(' ').Include(',').Include('-').Include('.');
    set.IncludeRange('A', 'Z').IncludeRange('a', 'z');
    for (std::uint8_t code : UpperLetters) {
        set.Include(code);
    }
    set.IncludeRange(0xC0, 0xD6).IncludeRange(0xD8, 0xF6).IncludeRange(0xF8, 0xFF); // without x and division sign
    return set;
}

} // namespace

constinit const TCharSet AlphaCharSet = BuildAlphaCharSet();

} // namespace qel
