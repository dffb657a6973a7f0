// Fuzz target for the QEL539c page decoder: any bytes as a page view (at most
// one page long), decoded twice with one logger, so that later records meet
// the modules of earlier ones; every sample lands on a value channel (0 to
// 127) or on a channel of a module the logger holds, whose buffer carries
// that module's serial number and the channel's ID.
#include "card/buffer_list.h"
#include "card/page_qel539c.h"
#include "loggers/qel539c.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

constexpr std::uint32_t VALUE_CHANNELS = 128;

bool IsModulBuffer(const qel::TBufferBaseData& buffer, const qel::TQEL539C& logger)
{
    const std::uint32_t offset = buffer.GetChannel() - qel::TQEL539C::FirstRadioChannel;
    const int m = static_cast<int>(offset / qel::TQEL539C::RadioChannelsPerModul);
    const int i = static_cast<int>(offset % qel::TQEL539C::RadioChannelsPerModul);
    if (m >= logger.FRFSModulList.Count()) {
        return false;
    }
    const qel::TRFSModul& modul = logger.FRFSModulList.GetItem(m);
    return i < modul.getChannels() && buffer.channel_sn == modul.sn &&
           buffer.channel_id == static_cast<std::uint16_t>(modul.GetItem(i).ID);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<std::uint8_t> page(data, data + std::min<size_t>(size, qel::PAGE_SIZE));
    qel::ReadBufferList.ClearAll();
    qel::QelList.Clear();
    auto* logger = new qel::TQEL539C();
    logger->ID_CLASS = 0x6615;
    logger->ID_VER = logger->ID_VER_PC = 0x0301;
    qel::QelList.Add(logger);
    qel::ReadBufferList.SetActiveQEL(logger);

    qel::TPageQEL539c decoder;
    for (int pass = 0; pass < 2; ++pass) {
        decoder.New(0, page.data(), static_cast<std::uint16_t>(page.size()));
        decoder.ReadData();
    }
    for (const qel::TBufferBaseData* buffer : qel::ReadBufferList) {
        if (!buffer->HoldsSingleValues() || buffer->GetCnt() <= 0) {
            std::abort();
        }
        if (buffer->GetChannel() >= qel::TQEL539C::FirstRadioChannel && !IsModulBuffer(*buffer, *logger) &&
            (buffer->GetChannel() >= VALUE_CHANNELS || buffer->channel_sn != 0)) {
            std::abort();
        }
    }
    qel::ReadBufferList.ClearAll();
    qel::QelList.Clear();
    return 0;
}
