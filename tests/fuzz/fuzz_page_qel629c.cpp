// Fuzz target for the QEL629c page decoder: any bytes as a page view (with
// and without the extended-header flag), decoded with a logger of 32
// channels; samples only on channels 0 to 30, limits only on listed channels.
#include "card/buffer_list.h"
#include "card/page_qel629c.h"
#include "loggers/qel629c.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::uint8_t> page(data, data + std::min<size_t>(size, qel::PAGE_SIZE));
    for (const bool extended : {false, true}) {
        if (!page.empty()) {
            page[0] = static_cast<std::uint8_t>(extended ? page[0] | 0x10 : page[0] & ~0x10);
        }
        qel::ReadBufferList.ClearAll();
        qel::QelList.Clear();
        auto* logger = new qel::TQEL629C();
        logger->ID_CLASS = 0x6601;
        logger->ID_VER = logger->ID_VER_PC = 0x0600;
        logger->NewConfigChannels();
        qel::QelList.Add(logger);
        qel::ReadBufferList.SetActiveQEL(logger);

        qel::TPageQEL629c decoder;
        decoder.setUtc(true, -3686400000);
        decoder.New(0, page.data(), static_cast<std::uint16_t>(page.size()));
        decoder.ReadData();

        for (const qel::TBufferBaseData* buffer : qel::ReadBufferList) {
            if (buffer->GetChannel() > 30 || buffer->GetCnt() <= 0) {
                std::abort();
            }
        }
        if (logger->Channels.Count() != qel::TQEL629C::ConfigChannelCount) {
            std::abort();
        }
    }
    qel::ReadBufferList.ClearAll();
    qel::QelList.Clear();
    return 0;
}
