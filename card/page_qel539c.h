// Page decoder of the QEL539c loggers (model code 0x6615): value records of
// the variable-length format and radio records of the logger's radio modules.
#pragma once

#include "card/page_base.h"

namespace qel {

// Records from byte 8. Value records give singles on channels 0 to 127;
// each radio record updates the module list of the current logger of QelList
// (which must be a TQEL539C, else std::logic_error) and gives the module's
// new values on the channels from 64 + 16 × module index (see
// ReadRadioRecord). A radio record that does not fit ends the page.
class TPageQEL539c : public TPage {
public:
    static constexpr const char* ClassName = "TPageQEL539c";
    void ReadData() override;
};

namespace page_qel539c {
// TPageQEL539c for every version word.
const TPageClass& SelectPageClass(std::uint16_t Version);
} // namespace page_qel539c

} // namespace qel
