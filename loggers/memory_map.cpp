// Page map of a logger's ring memory. All arithmetic is 16-bit, as the
// logger's page numbers are.
#include "loggers/memory_map.h"

namespace qel {

std::uint16_t TMemory::GetRealPageNo(std::uint16_t VirtualPageNo) const
{
    const auto pagesAfterLast = static_cast<std::uint16_t>(FEndPage - LastPageNo);
    if (VirtualPageNo < pagesAfterLast) {
        return static_cast<std::uint16_t>(LastPageNo + VirtualPageNo + 1);
    }
    return static_cast<std::uint16_t>(VirtualPageNo - pagesAfterLast);
}

std::uint16_t TMemory::GetVirtualPageNo(std::uint16_t RealPageNo) const
{
    if (RealPageNo > LastPageNo) {
        return static_cast<std::uint16_t>(RealPageNo - LastPageNo - 1);
    }
    return static_cast<std::uint16_t>(FEndPage - (LastPageNo - RealPageNo));
}

} // namespace qel
