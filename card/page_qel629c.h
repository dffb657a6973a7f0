// Page decoder of the QEL629c loggers (model code 0x6601 from PC version
// 6.00): times count units of 2000 ticks and are shifted to local time.
#pragma once

#include "card/page_base.h"

namespace qel {

class TPageQEL629c : public TPage {
public:
    static constexpr const char* ClassName = "TPageQEL629c";
    TPageQEL629c() { F512SEC = true; }
};

namespace page_qel629c {
// TPageQEL629c for every version word.
const TPageClass& SelectPageClass(std::uint16_t Version);
} // namespace page_qel629c

} // namespace qel
