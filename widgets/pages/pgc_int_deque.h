// TPg32IntDeque: the double-ended ring of 32-bit values the regular-
// expression matcher keeps its pending states in. Values go in at the tail
// (Enqueue) or the head (Push) and come out at the head (Pop); a full ring
// grows by half and keeps its order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qel {

class TPg32IntDeque {
public:
    // At least 2 places, so that growing by half always adds one.
    explicit TPg32IntDeque(std::int32_t aCapacity);

    void Enqueue(std::int32_t aValue)
    {
        FList[FTail] = aValue;
        FTail = FTail + 1 == FList.size() ? 0 : FTail + 1;
        if (FHead == FTail) {
            Grow();
        }
    }
    void Push(std::int32_t aValue)
    {
        FHead = FHead == 0 ? FList.size() - 1 : FHead - 1;
        FList[FHead] = aValue;
        if (FHead == FTail) {
            Grow();
        }
    }
    // Raises std::runtime_error "Integer deque is empty: cannot pop" when empty.
    std::int32_t Pop()
    {
        if (IsEmpty()) {
            PopFromEmpty();
        }
        const std::int32_t value = FList[FHead];
        FHead = FHead + 1 == FList.size() ? 0 : FHead + 1;
        return value;
    }
    bool IsEmpty() const { return FHead == FTail; }
    std::size_t Count() const { return FTail >= FHead ? FTail - FHead : FList.size() - FHead + FTail; }
    std::size_t Capacity() const { return FList.size(); }
    // Empties it; head and tail start again in the middle.
    void Clear() { FHead = FTail = FList.size() / 2; }

private:
    void Grow();
    [[noreturn]] static void PopFromEmpty();

    std::vector<std::int32_t> FList; // the ring; its size is the capacity
    std::size_t FHead;               // next value to pop
    std::size_t FTail;               // next free place at the tail; FHead == FTail: empty
};

} // namespace qel
