// Block-file saver of the QEL621WD loggers (model code 0x6621 below PC
// version 2.00): configurable channels, stored singles.
#pragma once

#include "export/save_file_thread.h"

namespace qel {

// Blocks 20, 1, 2, 3, 13 (QELNAME when the logger has one), 5, 25, 15, 6, 7,
// 26 (layout 1), then the singles as the decoder stored them. Every
// channel's logger, and the read's, must be a TQEL621WD.
class TSaveFileThreadQEL621WD : public TSaveFileThread {
public:
    static const TSaveFileThreadClassInfo ClassInfo;
    using TSaveFileThread::TSaveFileThread;

protected:
    void WriteHeader(std::int64_t FirstTime) override;
    bool WriteData(std::int64_t FirstTime) override;
};

} // namespace qel
