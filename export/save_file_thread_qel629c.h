// Block-file saver of the QEL629c loggers (model code 0x6601 from version
// 6.00): configurable channels with their limits, calibrated data rows.
#pragma once

#include "export/save_file_thread.h"

namespace qel {

class TSaveFileThreadQEL629c : public TSaveFileThread {
public:
    static const TSaveFileThreadClassInfo ClassInfo;
    using TSaveFileThread::TSaveFileThread;

protected:
    // Blocks 20, 1, 2, 3, 13, 5, 25, 15, 6, 7, 26 (layout 1), 11.
    void WriteHeader(std::int64_t FirstTime) override;
    // Rows of CalcChValue of the raw samples, without gap test.
    bool WriteData(std::int64_t FirstTime) override;
};

} // namespace qel
