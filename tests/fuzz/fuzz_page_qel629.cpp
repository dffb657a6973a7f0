// Fuzz target for the QEL629 page decoders (below and from PC version 3.06):
// any bytes as a page view, decoded with loggers of several firmware
// versions, with and without the device-channel map; every sample must land
// on a channel the page can name, and limits only on channels 0 to 31.
#include "card/buffer_list.h"
#include "card/page_qel629.h"
#include "loggers/qel629.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

constexpr std::uint8_t MAPPED_BASE = 100;   // device channel of nibble n with the map on: 100 + n

void DecodeWith(qel::TPage& decoder, std::uint16_t firmware, const std::vector<std::uint8_t>& page, bool mapped)
{
    qel::ReadBufferList.ClearAll();
    qel::QelList.Clear();
    auto* logger = new qel::TQEL629();
    logger->ID_CLASS = 0x6601;
    logger->ID_VER = firmware;
    logger->ID_VER_PC = firmware;
    if (mapped) {
        logger->INT_CFG.Include(qel::TQEL629::cINT_CHX);
        logger->INT_CH_EXT = 1;
        for (std::uint8_t n = 0; n < qel::TQEL629::ChannelCount; ++n) {
            logger->CH_DEVICE[n] = static_cast<std::uint8_t>(MAPPED_BASE + n);
        }
    }
    qel::QelList.Add(logger);
    qel::ReadBufferList.SetActiveQEL(logger);

    decoder.BeginRead();
    decoder.New(0, page.data(), static_cast<std::uint16_t>(page.size()));
    decoder.ReadData();
    decoder.FinishRead();

    const bool deviceChannels = mapped && firmware >= 0x0306;
    for (const qel::TBufferBaseData* buffer : qel::ReadBufferList) {
        const std::uint32_t channel = buffer->GetChannel();
        const bool named = deviceChannels ? channel >= MAPPED_BASE && channel < MAPPED_BASE + 15u : channel < 15;
        if (!named || buffer->GetCnt() <= 0) {
            std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The view holds the input as it is, so that cut pages are decoded too.
    const std::vector<std::uint8_t> page(data, data + std::min<size_t>(size, qel::PAGE_SIZE));
    const bool mapped = size > 0 && (data[size - 1] & 1) != 0;
    qel::TPage_V1 v1;
    qel::TPage_V3 v3;
    DecodeWith(v1, 0x0106, page, mapped);
    DecodeWith(v1, 0x0305, page, mapped);
    DecodeWith(v3, 0x0500, page, mapped);
    DecodeWith(v3, 0x0569, page, mapped);
    qel::ReadBufferList.ClearAll();
    qel::QelList.Clear();
    return 0;
}
