// Page map of a logger's ring memory: which real page holds the n-th oldest
// page of the recording, and back.
#pragma once

#include <cstdint>

namespace qel {

class TMemory {
public:
    explicit TMemory(std::uint16_t EndPage) : FEndPage(EndPage) {}
    virtual ~TMemory() = default;

    std::uint16_t FEndPage;        // last page of the memory; pages 0 ... FEndPage form the ring
    std::uint16_t LastPageNo = 0;  // page written last

    // Bytes per page and the page number a logger transfer uses: each memory
    // kind answers them.
    virtual std::uint16_t GetPageSize() const = 0;
    virtual std::uint16_t GetTxPageNo(std::uint16_t PageNo) const = 0;

    std::uint16_t GetEndPage() const { return FEndPage; }
    // Virtual page 0 is the oldest page, the one after LastPageNo.
    std::uint16_t GetRealPageNo(std::uint16_t VirtualPageNo) const;
    std::uint16_t GetVirtualPageNo(std::uint16_t RealPageNo) const;
    bool IsValidPageNo(std::uint16_t PageNo) const { return PageNo <= FEndPage; }
};

} // namespace qel
