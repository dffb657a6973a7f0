// Block-file saver of the QEL51 loggers (model code 0x6616): the smallest
// header of the configurable families, stored singles.
#pragma once

#include "export/save_file_thread.h"

namespace qel {

// Blocks 20, 1, 2, 3, 13 (always empty names), 5, 15, 6, 7, then the singles
// as the decoder stored them. Every channel's logger, and the read's, must
// be a TQEL51.
class TSaveFileThreadQEL51 : public TSaveFileThread {
public:
    static const TSaveFileThreadClassInfo ClassInfo;
    using TSaveFileThread::TSaveFileThread;

protected:
    void WriteHeader(std::int64_t FirstTime) override;
    bool WriteData(std::int64_t FirstTime) override;
};

} // namespace qel
