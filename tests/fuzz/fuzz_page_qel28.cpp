// Fuzz target for the QEL28 page decoder: any bytes as a page view (at most
// one page long); samples only on channels 0 to 127, at most one SE page per
// page, holding all 1024 data bytes or none.
#include "card/buffer_list.h"
#include "card/page_qel28.h"
#include "card/se_pages.h"
#include "loggers/qel28.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<std::uint8_t> page(data, data + std::min<size_t>(size, qel::PAGE_SIZE));
    qel::ReadBufferList.ClearAll();
    qel::QelList.Clear();
    qel::SEPageList.Clear();
    auto* logger = new qel::TQEL28();
    logger->ID_CLASS = 0x6626;
    logger->ID_VER = logger->ID_VER_PC = 0x0120;
    qel::QelList.Add(logger);
    qel::ReadBufferList.SetActiveQEL(logger);

    qel::TPageQEL28 decoder;
    decoder.New(0, page.data(), static_cast<std::uint16_t>(page.size()));
    decoder.ReadData();

    for (const qel::TBufferBaseData* buffer : qel::ReadBufferList) {
        if (buffer->GetChannel() > 127 || !buffer->HoldsSingleValues() || buffer->GetCnt() <= 0) {
            std::abort();
        }
    }
    if (qel::SEPageList.Count() > 1) {
        std::abort();
    }
    for (const qel::TSEPage* sePage : qel::SEPageList) {
        if (sePage->Size() != 0 && sePage->Size() != static_cast<std::int64_t>(qel::TSEPage::DataSize)) {
            std::abort();
        }
    }
    qel::ReadBufferList.ClearAll();
    qel::QelList.Clear();
    qel::SEPageList.Clear();
    return 0;
}
