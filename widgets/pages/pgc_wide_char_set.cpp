// Range inclusion of the wide character set, a word at a time.
#include "widgets/pages/pgc_wide_char_set.h"

namespace qel {

void TPg32WideCharSet::IncludeRange(char16_t First, char16_t Last)
{
    for (std::uint32_t c = First; c <= Last;) {
        if ((c & 63) == 0 && c + 63 <= Last) {
            FWords[c >> 6] = ~std::uint64_t{0};
            c += 64;
        } else {
            Include(static_cast<char16_t>(c));
            ++c;
        }
    }
}

} // namespace qel
