// Page decoders of the QEL629 loggers (model code 0x6601 below PC version 6.00).
#include "card/page_qel629.h"

namespace qel {

std::int64_t TPage_V1::GetTime(bool bPageTime)
{
    return 2 * TPage::GetTime(bPageTime);
}

namespace page_qel629 {

const TPageClass& SelectPageClass(std::uint16_t Version)
{
    return Version < 0x0306 ? PageClassOf<TPage_V1>() : PageClassOf<TPage_V3>();
}

} // namespace page_qel629
} // namespace qel
