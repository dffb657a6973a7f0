// Decoder choice of the QEL621WxD loggers.
#include "card/page_qel621wxd.h"

namespace qel::page_qel621wxd {

const TPageClass& SelectPageClass(std::uint16_t)
{
    return PageClassOf<TPageQEL621WxD>();
}

} // namespace qel::page_qel621wxd
