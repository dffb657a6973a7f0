// Page decoder of the QEL624c loggers: the record loop with FIFO records.
#include "card/page_qel624c.h"

#include "card/fifo_data.h"
#include "card/page_logger.h"
#include "card/var_record_fifo.h"
#include "loggers/qel624c.h"

namespace qel {

void TPageQEL624c::ReadData()
{
    const TQEL624C& logger = CurrentLoggerFor<TQEL624C>(ClassName, "TQEL624C");
    const std::int64_t time = GetTime(true);
    FPosition = PAGE_HEADER_SIZE;
    TPageReader in(FMemory, FSize, FPosition);
    const auto fifoRecord = [&logger](std::uint8_t, TPageReader& block, std::int64_t recordTime) {
        var_record::TFifoRecord record;
        if (!var_record::ReadFifoRecord(block, record)) {
            return false;
        }
        const auto base = static_cast<std::uint8_t>(4 * record.channel);   // one byte: modulo 256
        FifoDataList.addFifoData(logger, record.fifoTime, base, record.state, record.value);
        var_record::AddFifoSamples(base, recordTime, record);
        return true;
    };
    var_record::ReadRecords(in, time, var_record::TStepSign::Signed, var_record::TDropValue{}, fifoRecord);
}

namespace page_qel624c {

const TPageClass& SelectPageClass(std::uint16_t)
{
    return PageClassOf<TPageQEL624c>();
}

} // namespace page_qel624c

} // namespace qel
