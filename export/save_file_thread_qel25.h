// Block-file and shock-file saver of the QEL25 loggers (model code 0x6628):
// fixed-channel header blocks with the mission data, no program text block.
#pragma once

#include "export/save_file_thread.h"

namespace qel {

class TSaveFileThreadQEL25 : public TSaveFileThread {
public:
    static const TSaveFileThreadClassInfo ClassInfo;
    using TSaveFileThread::TSaveFileThread;

protected:
    // Blocks 1, 2, 3, 13, 5, 15, 6, 7, 11, 12 and 27 when the read's mission
    // data is valid; a shock save marks the program name in block 1.
    void WriteHeader(std::int64_t FirstTime) override;
};

} // namespace qel
