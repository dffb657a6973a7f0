// Page decoders of the QEL629 loggers (model code 0x6601 below PC version
// 6.00): pages of four-byte records whose times count units of 2000 ticks.
#pragma once

#include "card/page_base.h"

namespace qel {

// PC versions below 3.06. Every time it reads is twice the base's.
class TPage_V1 : public TPage {
public:
    static constexpr const char* ClassName = "TPage_V1";
    std::int64_t GetTime(bool bPageTime) override;
};

// PC versions 3.06 to 5.xx; pages may carry limit packets.
class TPage_V3 : public TPage_V1 {
public:
    static constexpr const char* ClassName = "TPage_V3";
};

namespace page_qel629 {
// TPage_V1 below 0x0306, TPage_V3 from 0x0306.
const TPageClass& SelectPageClass(std::uint16_t Version);
} // namespace page_qel629

} // namespace qel
