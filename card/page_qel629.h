// Page decoders of the QEL629 loggers (model code 0x6601 below PC version
// 6.00): pages of four-byte records whose times count units of 2000 ticks.
#pragma once

#include "card/four_byte_record.h"
#include "card/page_base.h"
#include "card/page_reader.h"

#include <cstdint>

namespace qel {

class TQEL629;

// PC versions below 3.06. Every time it reads is twice the base's. Records
// from byte 8; the page's first record is skipped when it is an end mark or
// carries a step.
class TPage_V1 : public TPage {
public:
    static constexpr const char* ClassName = "TPage_V1";
    std::int64_t GetTime(bool bPageTime) override;
    void ReadData() override;
};

// PC versions 3.06 to 5.xx: limit packets may follow the header, then two
// bytes are skipped before the records.
class TPage_V3 : public TPage_V1 {
public:
    static constexpr const char* ClassName = "TPage_V3";
    void ReadData() override;
    // 0 without header bit 0; otherwise 15 on a start page, else 1.
    int GetLimitPackets();

private:
    // The packet sets the limit of its channel (through the device map when
    // the logger's limits serve every channel); a channel above 31 is skipped.
    static void ApplyLimitPacket(const TLimitPacket& packet, TQEL629& logger);
};

namespace page_qel629 {
// TPage_V1 below 0x0306, TPage_V3 from 0x0306.
const TPageClass& SelectPageClass(std::uint16_t Version);
} // namespace page_qel629

} // namespace qel
