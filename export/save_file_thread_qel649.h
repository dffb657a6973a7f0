// Block-file and shock-file saver of the QEL649 loggers (model codes 0x6606
// and 0x6607): fixed-channel header blocks with the mission data.
#pragma once

#include "export/save_file_thread.h"

namespace qel {

class TSaveFileThreadQEL649 : public TSaveFileThread {
public:
    static const TSaveFileThreadClassInfo ClassInfo;
    using TSaveFileThread::TSaveFileThread;

protected:
    // Blocks 20, 1, 2, 3, 13, 5, 15, 6, 7, 11, 12 and 27 when the read's
    // mission data is valid; a shock save marks the program name in 20 and 1.
    void WriteHeader(std::int64_t FirstTime) override;
};

} // namespace qel
