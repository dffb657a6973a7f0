// SE page blocks of the QEL28 pages into the read's SE page list.
#include "card/se_page_block.h"

#include "card/page_reader.h"
#include "card/se_pages.h"

#include <array>
#include <cstdint>

namespace qel {

void ReadSEPageBlock(TPageReader& in)
{
    constexpr std::int32_t headAfterTag = 11;
    if (!in.Fits(headAfterTag)) {
        return;
    }
    in.Byte();
    const std::uint32_t job = in.LongWord();
    const std::uint8_t order = in.Byte();
    const std::uint8_t page = in.Byte();
    const std::uint32_t index = in.LongWord();
    TSEPage& sePage = *SEPageList.Add(job, order, page, index);
    if (!in.Fits(static_cast<std::int32_t>(TSEPage::DataSize))) {
        return;
    }
    std::array<std::uint8_t, TSEPage::DataSize> data;
    for (std::uint8_t& byte : data) {
        byte = in.Byte();
    }
    sePage.SetData(data);
}

} // namespace qel
