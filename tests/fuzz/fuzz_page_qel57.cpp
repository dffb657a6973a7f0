// Fuzz target for the QEL57 family's page decoders: any bytes as a page view
// (at most one page long), decoded by each generation's decoder with a logger
// of its class, with and without the device-channel map; every sample must
// land on a channel the family uses, every D-Bus block within its limits.
#include "card/buffer_list.h"
#include "card/dbus_data.h"
#include "card/page_base.h"
#include "loggers/qel57.h"
#include "loggers/qel_factory.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

constexpr std::uint8_t MAPPED_BASE = 100;   // device channel of nibble n with the map on: 100 + n

bool IsFamilyChannel(std::uint32_t channel, bool mapped)
{
    if (mapped && channel >= MAPPED_BASE && channel < MAPPED_BASE + 15u) {
        return true;
    }
    return channel <= 55 && channel != 15;
}

void DecodeWith(std::uint16_t pcVersion, const std::vector<std::uint8_t>& page, bool mapped)
{
    qel::ReadBufferList.ClearAll();
    qel::QelList.Clear();
    qel::DBusDataList.clearAll();
    std::unique_ptr<qel::TQEL> made = qel::GetQelClass(0x661D, pcVersion)->Create();
    auto* logger = dynamic_cast<qel::TQEL57*>(made.get());
    if (logger == nullptr) {
        std::abort();
    }
    if (mapped) {
        logger->INT_CFG.Include(qel::TQEL57::cINT_CHX);
        for (std::uint8_t n = 0; n < qel::TQEL57::ChannelCount; ++n) {
            logger->CH_DEVICE[n] = static_cast<std::uint8_t>(MAPPED_BASE + n);
        }
    }
    qel::QelList.Add(made.release());
    qel::ReadBufferList.SetActiveQEL(logger);

    const std::unique_ptr<qel::TPage> decoder = qel::GetPageClass(0x661D, pcVersion).Create();
    decoder->BeginRead();
    decoder->New(0, page.data(), static_cast<std::uint16_t>(page.size()));
    decoder->ReadData();
    decoder->FinishRead();

    for (const qel::TBufferBaseData* buffer : qel::ReadBufferList) {
        if (!IsFamilyChannel(buffer->GetChannel(), mapped) || buffer->GetCnt() <= 0) {
            std::abort();
        }
    }
    for (const qel::TDBusData* block : qel::DBusDataList) {
        if (block->Size() > 127 || block->Nr() > 15 || pcVersion < 0x0300) {
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
    for (const std::uint16_t pcVersion : {0x0106, 0x0200, 0x0304}) {
        DecodeWith(pcVersion, page, mapped);
    }
    qel::ReadBufferList.ClearAll();
    qel::QelList.Clear();
    qel::DBusDataList.clearAll();
    return 0;
}
