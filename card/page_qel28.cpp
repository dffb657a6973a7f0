// Page decoder of the QEL28: the record loop of the variable-length format
// with the SE page block as its model block.
#include "card/page_qel28.h"

#include "card/page_logger.h"
#include "card/page_reader.h"
#include "card/se_page_block.h"
#include "card/var_record_format.h"
#include "loggers/qel28.h"

namespace qel {

void TPageQEL28::ReadData()
{
    CurrentLoggerFor<TQEL28>(ClassName, "TQEL28");   // no field of it is used
    const std::int64_t time = GetTime(true);
    FPosition = PAGE_HEADER_SIZE;
    TPageReader in(FMemory, FSize, FPosition);
    var_record::ReadRecords(in, time, var_record::TStepSign::Signed, var_record::TToReadBuffer{},
                            [](std::uint8_t, TPageReader& block, std::int64_t) {
                                ReadSEPageBlock(block);
                                return false;
                            });
}

namespace page_qel28 {

const TPageClass& SelectPageClass(std::uint16_t)
{
    return PageClassOf<TPageQEL28>();
}

} // namespace page_qel28

} // namespace qel
