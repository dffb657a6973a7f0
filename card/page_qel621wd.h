// Page decoder of the QEL621WD loggers (model code 0x6621 below PC version
// 2.00): flex-channel entries that name the channels of attached flex
// sensors, then value records of the variable-length format.
#pragma once

#include "card/page_base.h"

namespace qel {

class TPageReader;
class TQEL621WD;

// A start page carries 2 × getFlexChannels entries of 16 bytes after the
// header, any other page one; the records follow. Samples go to
// ReadBufferList as singles; a model block ends the page. The current logger
// of QelList must be a TQEL621WD (else std::logic_error).
class TPageQEL621WD : public TPage {
public:
    static constexpr const char* ClassName = "TPageQEL621WD";
    void ReadData() override;

private:
    // One entry: an entry with a sensor (serial number above 0) names the
    // logger's channel after it.
    static void ApplyFlexEntry(TPageReader& in, TQEL621WD& logger);
};

namespace page_qel621wd {
// TPageQEL621WD for every version word.
const TPageClass& SelectPageClass(std::uint16_t Version);
} // namespace page_qel621wd

} // namespace qel
