// Bit search and the floating-point set-up of a thread.
// The assembling helpers are inline in the header.
#include "foundations/byte_helpers.h"

#include "platform/float_checks.h"

#include <cfenv>

namespace qel {

int GetBitPos(std::uint64_t Mask, std::int32_t N)
{
    if (N < 0) {
        return 64;
    }
    for (int position = 0; position < 64; ++position) {
        if ((Mask >> position & 1u) == 0) {
            continue;
        }
        if (N == 0) {
            return position;
        }
        --N;
    }
    return 64;
}

void SetFPUExceptionMask()
{
    plat::MaskFloatTraps();
    feclearexcept(FE_ALL_EXCEPT);
}

void InitThreadFPU()
{
    SetFPUExceptionMask();
}

} // namespace qel
