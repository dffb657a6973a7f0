// Page decoder of the QEL62xW generation (model code 0x6617): value records
// of the variable-length format after an optional extended header that
// carries channel limits and the names of attached flex sensors.
#pragma once

#include "card/page_base.h"

namespace qel {

class TPageReader;
class TQEL62xW;

// Samples go to ReadBufferList as singles; the current logger of QelList
// must be a TQEL62xW (else std::logic_error). A model block ends the page.
class TPageQEL62xW : public TPage {
public:
    static constexpr const char* ClassName = "TPageQEL62xW";
    void ReadData() override;

private:
    // Reads the extended header from byte 8 into the logger and leaves the
    // position on the first record; False when the header is broken (wrong
    // marker, a length past the page): the page then gives no sample.
    static bool ReadExtendedHeader(TPageReader& in, TQEL62xW& logger);
    // One 18-byte flex-channel entry: it names the channel of its index and
    // gives it the sensor's serial number; an index beyond the channel list
    // changes nothing.
    static void ApplyFlexChannelEntry(TPageReader& in, TQEL62xW& logger);
};

namespace page_qel62xw {
// TPageQEL62xW for every version word.
const TPageClass& SelectPageClass(std::uint16_t Version);
} // namespace page_qel62xw

} // namespace qel
