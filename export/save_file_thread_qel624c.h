// Block-file saver of the QEL624c loggers (model code 0x6619): stored singles,
// then the FIFO records of the read as FIFO blocks.
#pragma once

#include "export/save_file_thread.h"

namespace qel {

// Blocks 20, 1, 2, 3, 13 (QELNAME when the logger has one), 5, 25, 15, 6, 7,
// 26 (layout 2: every FIFO channel of FifoDataList), then the singles as the
// decoder stored them. When the rows are complete (in the last part only),
// the FIFO records follow: per FIFO channel, in list order, blocks of type 28
// of whole records, each closed after the record that takes it past 10,000
// bytes. Every channel's logger, and the read's, must be a TQEL624C.
class TSaveFileThreadQEL624c : public TSaveFileThread {
public:
    static const TSaveFileThreadClassInfo ClassInfo;
    using TSaveFileThread::TSaveFileThread;

protected:
    void WriteHeader(std::int64_t FirstTime) override;
    bool WriteData(std::int64_t FirstTime) override;

private:
    // The FIFO blocks; the terminate request is tested after each record.
    void WriteFifoBlocks();
};

} // namespace qel
