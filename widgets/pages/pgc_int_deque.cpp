// Growth and the empty-pop error of the integer deque.
#include "widgets/pages/pgc_int_deque.h"

#include <algorithm>
#include <stdexcept>

namespace qel {

TPg32IntDeque::TPg32IntDeque(std::int32_t aCapacity)
    : FList(static_cast<std::size_t>(std::max(aCapacity, 2))), FHead(FList.size() / 2), FTail(FHead)
{
}

// Called when the last free place was taken (head = tail): the values run
// from the head to the old end and on from 0 up to the tail.
void TPg32IntDeque::Grow()
{
    const std::size_t oldCapacity = FList.size();
    const std::size_t newCapacity = oldCapacity * 3 / 2;
    FList.resize(newCapacity);
    if (FHead == 0) {
        FTail = oldCapacity;
        return;
    }
    const std::size_t shift = newCapacity - oldCapacity;
    std::move_backward(FList.begin() + static_cast<std::ptrdiff_t>(FHead),
        FList.begin() + static_cast<std::ptrdiff_t>(oldCapacity), FList.end());
    FHead += shift;
}

void TPg32IntDeque::PopFromEmpty()
{
    throw std::runtime_error("Integer deque is empty: cannot pop");
}

} // namespace qel
