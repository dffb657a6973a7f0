// Fuzz target for the QEL621WD page decoder: any bytes as a page view (at
// most one page long), for a logger with five and one with six flex
// channels; samples must land on value-record channels, the names and units
// the entries give must be UTF-8.
#include "card/buffer_list.h"
#include "card/page_base.h"
#include "loggers/qel621wd.h"
#include "platform/text_encoding.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

constexpr int CHANNELS = 12;

void DecodeWith(std::uint16_t loggerModel, const std::vector<std::uint8_t>& page)
{
    qel::ReadBufferList.ClearAll();
    qel::QelList.Clear();
    auto* logger = new qel::TQEL621WD();
    logger->ID_CLASS = loggerModel;
    logger->ID_VER = logger->ID_VER_PC = 0x0109;
    for (int i = 0; i < CHANNELS; ++i) {
        logger->Channels.Add(new qel::qel621wd::TQelChannel());
    }
    qel::QelList.Add(logger);
    qel::ReadBufferList.SetActiveQEL(logger);

    // The view is a block of exactly the input's size, so an over-read is caught.
    const std::vector<std::uint8_t> view(page);
    const std::unique_ptr<qel::TPage> decoder = qel::GetPageClass(0x6621, 0x0109).Create();
    decoder->New(0, view.data(), static_cast<std::uint16_t>(view.size()));
    decoder->ReadData();

    for (const qel::TBufferBaseData* buffer : qel::ReadBufferList) {
        if (buffer->GetChannel() > 127 || buffer->GetCnt() <= 0) {
            std::abort();
        }
    }
    for (int i = 0; i < CHANNELS; ++i) {
        const auto& info = logger->Channels.GetItem(i).Info;
        if (!plat::IsValidUtf8(info.sName) || !plat::IsValidUtf8(info.sUnit)) {
            std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<std::uint8_t> page(data, data + std::min<size_t>(size, qel::PAGE_SIZE));
    DecodeWith(0x6621, page);
    DecodeWith(0x6624, page);   // six flex channels
    qel::ReadBufferList.ClearAll();
    qel::QelList.Clear();
    return 0;
}
