// Fuzz target for the FIFO-record page decoders of QEL624c and QEL51: any
// bytes as a page view (at most one page long); samples must land on the
// channels the families use, and every QEL624c FIFO channel must have a
// base of four and hold records.
#include "card/buffer_list.h"
#include "card/fifo_data.h"
#include "card/page_base.h"
#include "loggers/qel51.h"
#include "loggers/qel624c.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

template <class TLogger>
void DecodeWith(std::uint16_t model, const std::vector<std::uint8_t>& page, std::uint32_t lastChannel)
{
    qel::ReadBufferList.ClearAll();
    qel::QelList.Clear();
    qel::FifoDataList.clearAll();
    auto* logger = new TLogger();
    logger->ID_CLASS = model;
    logger->ID_VER = logger->ID_VER_PC = 0x0110;
    qel::QelList.Add(logger);
    qel::ReadBufferList.SetActiveQEL(logger);

    // The view is a block of exactly the input's size, so an over-read is caught.
    const std::vector<std::uint8_t> view(page);
    const std::unique_ptr<qel::TPage> decoder = qel::GetPageClass(model, 0x0110).Create();
    decoder->New(0, view.data(), static_cast<std::uint16_t>(view.size()));
    decoder->ReadData();

    for (const qel::TBufferBaseData* buffer : qel::ReadBufferList) {
        if (buffer->GetChannel() > lastChannel || buffer->GetCnt() <= 0) {
            std::abort();
        }
    }
    for (const qel::TFifoChannel* channel : qel::FifoDataList) {
        if (model != 0x6619 || channel->channel % 4 != 0 || channel->Count() == 0) {
            std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<std::uint8_t> page(data, data + std::min<size_t>(size, qel::PAGE_SIZE));
    DecodeWith<qel::TQEL624C>(0x6619, page, 255);
    DecodeWith<qel::TQEL51>(0x6616, page, 1023);
    qel::ReadBufferList.ClearAll();
    qel::QelList.Clear();
    qel::FifoDataList.clearAll();
    return 0;
}
