// Page decoder of the QEL51 loggers: the record loop with unsigned steps and FIFO records.
#include "card/page_qel51.h"

#include "card/page_logger.h"
#include "card/qel51_fifo_log.h"
#include "card/var_record_fifo.h"
#include "loggers/qel51.h"

namespace qel {

void TPageQEL51::ReadData()
{
    CurrentLoggerFor<TQEL51>(ClassName, "TQEL51");
    const std::int64_t time = GetTime(true);
    FPosition = PAGE_HEADER_SIZE;
    TPageReader in(FMemory, FSize, FPosition);
    TQel51FifoLog log;
    const auto fifoRecord = [&log](std::uint8_t, TPageReader& block, std::int64_t recordTime) {
        var_record::TFifoRecord record;
        if (!var_record::ReadFifoRecord(block, record)) {
            return false;
        }
        log.Add(recordTime, record);
        var_record::AddFifoSamples(4u * record.channel, recordTime, record);
        return true;
    };
    var_record::ReadRecords(in, time, var_record::TStepSign::Unsigned, var_record::TToReadBuffer{}, fifoRecord);
}

namespace page_qel51 {

const TPageClass& SelectPageClass(std::uint16_t)
{
    return PageClassOf<TPageQEL51>();
}

} // namespace page_qel51

} // namespace qel
