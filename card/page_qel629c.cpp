// Page decoder of the QEL629c loggers (model code 0x6601 from PC version 6.00).
#include "card/page_qel629c.h"

namespace qel::page_qel629c {

const TPageClass& SelectPageClass(std::uint16_t)
{
    return PageClassOf<TPageQEL629c>();
}

} // namespace qel::page_qel629c
