// Page decoder of the QEL51 loggers (model code 0x6616): value and FIFO
// records of the variable-length format with unsigned time steps.
#pragma once

#include "card/page_base.h"

namespace qel {

// Records from byte 8. Value records give samples; both time steps are
// unsigned. A FIFO record of FIFO channel c gives two samples from the
// channel base 4 × c on (0 to 1020), as in the QEL624c pages, and nothing
// else. A FIFO record cut off by the page's end ends the page. The current
// logger of QelList must be a TQEL51 (else std::logic_error). In the page
// debug mode each FIFO record also gives a diagnostic line (TQel51FifoLog).
class TPageQEL51 : public TPage {
public:
    static constexpr const char* ClassName = "TPageQEL51";
    void ReadData() override;
};

namespace page_qel51 {
// TPageQEL51 for every version word.
const TPageClass& SelectPageClass(std::uint16_t Version);
} // namespace page_qel51

} // namespace qel
