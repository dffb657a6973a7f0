// Page decoder of the QEL621WxD loggers (model code 0x6621 from PC version
// 2.00): the pages of the QEL62xW generation, decoded the same way.
#pragma once

#include "card/page_qel62xw.h"

namespace qel {

class TPageQEL621WxD : public TPageQEL62xW {
public:
    static constexpr const char* ClassName = "TPageQEL621WxD";
};

namespace page_qel621wxd {
// TPageQEL621WxD for every version word.
const TPageClass& SelectPageClass(std::uint16_t Version);
} // namespace page_qel621wxd

} // namespace qel
