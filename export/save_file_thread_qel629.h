// Block-file saver of the QEL629 loggers (model code 0x6601 below version
// 6.00): the fixed-channel header blocks and the base data rows.
#pragma once

#include "export/save_file_thread.h"

namespace qel {

class TSaveFileThreadQEL629 : public TSaveFileThread {
public:
    static const TSaveFileThreadClassInfo ClassInfo;
    using TSaveFileThread::TSaveFileThread;

protected:
    // Blocks 20, 1, 2, 3, 13, 5, 15, 6, 7, 11, 12.
    void WriteHeader(std::int64_t FirstTime) override;
};

} // namespace qel
