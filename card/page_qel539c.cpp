// Page decoder of the QEL539c: the record loop of the variable-length format
// with the radio record as its model block.
#include "card/page_qel539c.h"

#include "card/page_logger.h"
#include "card/page_reader.h"
#include "card/radio_record.h"
#include "card/var_record_format.h"
#include "loggers/qel539c.h"

namespace qel {

void TPageQEL539c::ReadData()
{
    TQEL539C& logger = CurrentLoggerFor<TQEL539C>(ClassName, "TQEL539C");
    const std::int64_t time = GetTime(true);
    FPosition = PAGE_HEADER_SIZE;
    TPageReader in(FMemory, FSize, FPosition);
    var_record::ReadRecords(in, time, var_record::TStepSign::Signed, var_record::TToReadBuffer{},
                            [&logger](std::uint8_t, TPageReader& block, std::int64_t blockTime) {
                                return ReadRadioRecord(block, logger, blockTime);
                            });
}

namespace page_qel539c {

const TPageClass& SelectPageClass(std::uint16_t)
{
    return PageClassOf<TPageQEL539c>();
}

} // namespace page_qel539c

} // namespace qel
