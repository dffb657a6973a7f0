// Class data of the library's non-visual bases, and its general error.
#include "widgets/pages/pgc_component.h"

#include "widgets/pages/pgc_messages.h"

#include "platform/text_encoding.h"

#include <stdexcept>

namespace qel {

PLAT_DEFINE_CLASS(TPgcComponent, plat::TComponent,
                  plat::Published("About", &TPgcComponent::About, &TPgcComponent::SetAbout).Stored(false))

PLAT_DEFINE_CLASS(TPg32Component, plat::TComponent,
                  plat::Published("About", &TPg32Component::About, &TPg32Component::SetAbout).Stored(false))

void RaisePgcError(std::uint16_t MessageNumber)
{
    throw std::runtime_error(plat::Utf16ToUtf8(MessageTextByNumber(MessageNumber)));
}

} // namespace qel
