// Fuzz target for the QEL649 page decoders (versions 1 and 2): the input is
// cut into up to four page views of one recording, decoded between BeginRead
// and FinishRead, so the burst state runs across pages; every sample must
// land on a channel of the family and the mission data stay within its sizes.
#include "card/buffer_list.h"
#include "card/burst_data.h"
#include "card/page_qel649.h"
#include "loggers/qel649.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Characters of a UTF-8 text.
std::size_t Characters(const std::string& text)
{
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

std::vector<std::vector<std::uint8_t>> Pages(const uint8_t* data, size_t size)
{
    std::vector<std::vector<std::uint8_t>> pages;
    size_t at = 0;
    while (at < size && pages.size() < 4) {
        // The first byte of each piece gives its length in steps of 16 bytes.
        const size_t length = std::min<size_t>({size - at - 1, (data[at] + 1) * 16u, qel::PAGE_SIZE});
        pages.emplace_back(data + at + 1, data + at + 1 + length);
        at += 1 + length;
    }
    return pages;
}

void DecodeRecording(qel::TPage& decoder, std::uint16_t version, const std::vector<std::vector<std::uint8_t>>& pages)
{
    qel::ReadBufferList.ClearAll();
    qel::ReadBufferList.MissionData = {};
    qel::QelList.Clear();
    auto* logger = new qel::TQEL649();
    logger->ID_CLASS = 0x6606;
    logger->ID_VER = logger->ID_VER_PC = version;
    qel::QelList.Add(logger);
    qel::ReadBufferList.SetActiveQEL(logger);

    decoder.BeginRead();
    for (const auto& page : pages) {
        decoder.New(0, page.data(), static_cast<std::uint16_t>(page.size()));
        decoder.ReadData();
    }
    decoder.FinishRead();

    for (const qel::TBufferBaseData* buffer : qel::ReadBufferList) {
        if (buffer->GetChannel() > 17 || buffer->GetCnt() <= 0) {
            std::abort();
        }
    }
    const qel::TMissionData& mission = qel::ReadBufferList.MissionData;
    if (Characters(mission.sTitle) > 36 || Characters(mission.sOperator) > 24) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto pages = Pages(data, size);
    qel::TPageQEL649_V1 v1;
    qel::TPageQEL649_V2 v2;
    DecodeRecording(v1, 0x0110, pages);
    DecodeRecording(v2, 0x0120, pages);
    qel::ReadBufferList.ClearAll();
    qel::QelList.Clear();
    return 0;
}
