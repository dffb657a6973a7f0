// Page decoder of the QEL629c loggers (model code 0x6601 from PC version
// 6.00): times count units of 2000 ticks and are shifted to local time.
#pragma once

#include "card/page_base.h"
#include "card/page_reader.h"

namespace qel {

class TQEL629C;

// Four-byte records with five-bit channel numbers (31: a control record); a
// page may carry an extended header with the channels' limit settings.
class TPageQEL629c : public TPage {
public:
    static constexpr const char* ClassName = "TPageQEL629c";
    TPageQEL629c() { F512SEC = true; }
    void ReadData() override;

private:
    // Reads the extended header from byte 8 into the logger's channel limits
    // and leaves the position on the first record; False when it is broken:
    // the page then gives no sample.
    static bool ReadExtendedHeader(TPageReader& in, TQEL629C& logger);
};

namespace page_qel629c {
// TPageQEL629c for every version word.
const TPageClass& SelectPageClass(std::uint16_t Version);
} // namespace page_qel629c

} // namespace qel
