// Fuzz target for the QEL25 page decoder and its eight-position burst engine:
// the input is cut into up to four page views of one recording, decoded
// between BeginRead and FinishRead; every sample must land on a channel of the family.
#include "card/buffer_list.h"
#include "card/burst_data.h"
#include "card/page_qel25.h"
#include "loggers/qel25.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    qel::ReadBufferList.ClearAll();
    qel::ReadBufferList.MissionData = {};
    qel::QelList.Clear();
    auto* logger = new qel::TQEL25();
    logger->ID_CLASS = 0x6628;
    logger->ID_VER = logger->ID_VER_PC = 0x0100;
    qel::QelList.Add(logger);
    qel::ReadBufferList.SetActiveQEL(logger);

    qel::TPageQEL25_V1 decoder;
    decoder.BeginRead();
    size_t at = 0;
    for (int page = 0; page < 4 && at < size; ++page) {
        // The first byte of each piece gives its length in steps of 16 bytes.
        const size_t length = std::min<size_t>({size - at - 1, (data[at] + 1) * 16u, qel::PAGE_SIZE});
        decoder.New(0, data + at + 1, static_cast<std::uint16_t>(length));
        decoder.ReadData();
        at += 1 + length;
    }
    decoder.FinishRead();

    for (const qel::TBufferBaseData* buffer : qel::ReadBufferList) {
        if (buffer->GetChannel() > 16 || buffer->GetCnt() <= 0) {
            std::abort();
        }
    }
    qel::ReadBufferList.ClearAll();
    qel::QelList.Clear();
    return 0;
}
