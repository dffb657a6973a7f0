// Page decoder of the QEL624c loggers (model code 0x6619): FIFO records of
// the variable-length format, as sample series and in FifoDataList.
#pragma once

#include "card/page_base.h"

namespace qel {

// Records from byte 8. A value record gives no sample. A FIFO record of FIFO
// channel c, with the channel base k = 4 × c modulo 256, goes to
// FifoDataList and gives two samples at the page's running time (value and
// state to k and k + 1, or to k + 2 and k + 3 for a state whose bits 3-0 are
// not zero). A FIFO record cut off by the page's end ends the page. The
// current logger of QelList must be a TQEL624C (else std::logic_error).
class TPageQEL624c : public TPage {
public:
    static constexpr const char* ClassName = "TPageQEL624c";
    void ReadData() override;
};

namespace page_qel624c {
// TPageQEL624c for every version word.
const TPageClass& SelectPageClass(std::uint16_t Version);
} // namespace page_qel624c

} // namespace qel
