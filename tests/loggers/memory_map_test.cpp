// Tests of the ring-memory page map: real and virtual page numbers around the
// ring for every position of the last written page.
#include "loggers/memory_map.h"

#include <gtest/gtest.h>

namespace qel {
namespace {

class TTestMemory : public TMemory {
public:
    using TMemory::TMemory;
    std::uint16_t GetPageSize() const override { return 1056; }
    std::uint16_t GetTxPageNo(std::uint16_t PageNo) const override { return PageNo; }
};

TEST(MemoryMap, WorkedExample)
{
    TTestMemory memory(9);
    memory.LastPageNo = 6;
    EXPECT_EQ(memory.GetEndPage(), 9);
    // The oldest page is the one after the page written last.
    const std::uint16_t real[10] = {7, 8, 9, 0, 1, 2, 3, 4, 5, 6};
    for (std::uint16_t v = 0; v < 10; ++v) {
        EXPECT_EQ(memory.GetRealPageNo(v), real[v]) << v;
        EXPECT_EQ(memory.GetVirtualPageNo(real[v]), v) << v;
    }
}

TEST(MemoryMap, RoundTripsForEveryLastPage)
{
    TTestMemory memory(15);
    for (std::uint16_t last = 0; last <= 15; ++last) {
        memory.LastPageNo = last;
        EXPECT_EQ(memory.GetRealPageNo(0), last == 15 ? 0 : last + 1) << last;
        EXPECT_EQ(memory.GetRealPageNo(15), last) << last;
        for (std::uint16_t page = 0; page <= 15; ++page) {
            EXPECT_EQ(memory.GetRealPageNo(memory.GetVirtualPageNo(page)), page) << last << " " << page;
        }
    }
}

TEST(MemoryMap, NewMemoryStartsAfterPageZero)
{
    TTestMemory memory(3);
    EXPECT_EQ(memory.LastPageNo, 0);
    EXPECT_EQ(memory.GetRealPageNo(0), 1);
    EXPECT_TRUE(memory.IsValidPageNo(3));
    EXPECT_FALSE(memory.IsValidPageNo(4));
}

} // namespace
} // namespace qel
