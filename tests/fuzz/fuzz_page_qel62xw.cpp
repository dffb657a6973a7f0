// Fuzz target for the QEL62xW and QEL621WxD page decoders: any bytes as a
// page view (at most one page long), once as they are and once behind a
// well-formed extended-header start so that the sub-block parser sees them;
// samples must land on value-record channels, flex texts must be UTF-8.
#include "card/buffer_list.h"
#include "card/page_base.h"
#include "loggers/qel621wxd.h"
#include "loggers/qel629wxd.h"
#include "platform/text_encoding.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

constexpr int CHANNELS = 8;

template <class TLogger>
void DecodeWith(std::uint16_t model, const std::vector<std::uint8_t>& page)
{
    qel::ReadBufferList.ClearAll();
    qel::QelList.Clear();
    auto* logger = new TLogger();
    logger->ID_CLASS = model;
    logger->ID_VER = logger->ID_VER_PC = 0x0200;
    for (int i = 0; i < CHANNELS; ++i) {
        logger->Channels.Add(new qel::qel62xw::TQelChannel());
    }
    qel::QelList.Add(logger);
    qel::ReadBufferList.SetActiveQEL(logger);

    // The view is a block of exactly the input's size, so an over-read is caught.
    const std::vector<std::uint8_t> view(page);
    const std::unique_ptr<qel::TPage> decoder = qel::GetPageClass(model, 0x0200).Create();
    decoder->New(0, view.data(), static_cast<std::uint16_t>(view.size()));
    decoder->ReadData();

    for (const qel::TBufferBaseData* buffer : qel::ReadBufferList) {
        if (buffer->GetChannel() > 127 || buffer->GetCnt() <= 0) {
            std::abort();
        }
    }
    for (int i = 0; i < CHANNELS; ++i) {
        const auto& channel = logger->Channels.GetItem(i);
        if (!plat::IsValidUtf8(channel.Info.sName) || !plat::IsValidUtf8(channel.Info.sUnit)) {
            std::abort();
        }
    }
}

void DecodeAll(const std::vector<std::uint8_t>& page)
{
    DecodeWith<qel::TQEL629WxD>(0x6617, page);
    DecodeWith<qel::TQEL621WxD>(0x6621, page);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::uint8_t> page(data, data + std::min<size_t>(size, qel::PAGE_SIZE));
    DecodeAll(page);
    // The same bytes with the extended-header flag and marker in place.
    if (page.size() >= 10) {
        page[0] = static_cast<std::uint8_t>((page[0] & 0x2F) | 0x10);
        page[8] = 0xE0;
        page[9] = 0x00;
        DecodeAll(page);
    }
    qel::ReadBufferList.ClearAll();
    qel::QelList.Clear();
    return 0;
}
