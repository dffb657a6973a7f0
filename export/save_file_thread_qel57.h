// Block-file savers of the QEL57 family (model code 0x661D): QEL57, QEL57b
// and QEL57c, the last with its D-Bus order files beside each part.
#pragma once

#include "export/save_file_thread.h"

namespace qel {

// Blocks 20, 1, 2, 3, 13, 5, 15, 6, 7, 11 (the LIMITS table), 12 (no
// calibration), then the base data rows.
class TSaveFileThreadQEL57 : public TSaveFileThread {
public:
    static const TSaveFileThreadClassInfo ClassInfo;
    using TSaveFileThread::TSaveFileThread;

protected:
    void WriteHeader(std::int64_t FirstTime) override;
};

// As TSaveFileThreadQEL57 with zeros for every channel's limits.
class TSaveFileThreadQEL57b : public TSaveFileThread {
public:
    static const TSaveFileThreadClassInfo ClassInfo;
    using TSaveFileThread::TSaveFileThread;

protected:
    void WriteHeader(std::int64_t FirstTime) override;
};

// As TSaveFileThreadQEL57b, with the D-Bus order files of the read beside
// each part.
class TSaveFileThreadQEL57c : public TSaveFileThread {
public:
    static const TSaveFileThreadClassInfo ClassInfo;
    using TSaveFileThread::TSaveFileThread;

protected:
    void WriteSideFiles(const std::string& FileName) override;
    void WriteHeader(std::int64_t FirstTime) override;
};

} // namespace qel
