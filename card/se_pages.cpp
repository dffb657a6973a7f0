// SE pages of the QEL28 loggers and the global list of a read.
#include "card/se_pages.h"

#include "card/read_card_data_thread.h"

namespace qel {

TSEPageList SEPageList;

namespace {
void ResetSEPageList()
{
    SEPageList.Clear();
}
} // namespace

TSEPage* TSEPageList::Add(std::uint32_t job, std::uint8_t order, std::uint8_t page, std::uint32_t index)
{
    auto* sePage = new TSEPage(job, order, page, index);
    FItems.Add(sePage);   // the list takes the page over, also when appending fails
    return sePage;
}

void InitSEPageList()
{
    SEPageList.Clear();
    AddSideDataReset(&ResetSEPageList);
}

void FinalizeSEPageList()
{
    SEPageList.Clear();
}

} // namespace qel
