// Page decoder of the QEL25 loggers (model code 0x6628): the tagged records of
// the QEL649 pages with eight burst positions, bursts placed by FastDataQEL25.
#pragma once

#include "card/page_base.h"

#include <cstdint>

namespace qel {

// Nominal burst interval in ticks of a QEL25 rate code (bits 3-0): base 320
// for acceleration and shock blocks, 500 for analog blocks; codes 1 to 7
// multiply the base by 2^code, every other code gives the base.
std::int64_t BurstIntervalQEL25(std::uint8_t rate, bool analog);

class TPageQEL25_V1 : public TPage {
public:
    static constexpr const char* ClassName = "TPageQEL25_V1";
    // Start and finish of the burst engine FastDataQEL25 for each recording.
    void BeginRead() override;
    void FinishRead() override;
    void ReadData() override;
};

namespace page_qel25 {
// TPageQEL25_V1 for every version word.
const TPageClass& SelectPageClass(std::uint16_t Version);
} // namespace page_qel25

} // namespace qel
