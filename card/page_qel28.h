// Page decoder of the QEL28 loggers (model code 0x6626): value records of the
// variable-length format and the SE page blocks of the logger's jobs.
#pragma once

#include "card/page_base.h"

namespace qel {

// Records from byte 8. Value records give singles on channels 0 to 127 (the
// current logger of QelList must be a TQEL28, else std::logic_error); an SE
// page block appends its page to SEPageList and always ends the page.
class TPageQEL28 : public TPage {
public:
    static constexpr const char* ClassName = "TPageQEL28";
    void ReadData() override;
};

namespace page_qel28 {
// TPageQEL28 for every version word.
const TPageClass& SelectPageClass(std::uint16_t Version);
} // namespace page_qel28

} // namespace qel
