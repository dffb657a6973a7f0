// Block-file saver of the QEL28 loggers (model code 0x6626), with the SE page
// file of the read beside each part.
#pragma once

#include "export/save_file_thread.h"

#include <string>

namespace qel {

// Blocks 20, 1, 2, 3, 13, 5, 25, 15, 6, 7, 26 (layout 1), then stored rows.
// Beside each part lies its SE page file (the part's name with ".csv"): a
// head line ";job;order;index;page;size;+0;+1 ... ;+1023", then one line per
// SE page of SEPageList: its list index, job, order, index, page and size,
// and 1024 cells with the data bytes in decimal (empty beyond the size).
// Lines are Windows-1252 text ending in CR LF.
class TSaveFileThreadQEL28 : public TSaveFileThread {
public:
    static const TSaveFileThreadClassInfo ClassInfo;
    using TSaveFileThread::TSaveFileThread;

protected:
    void WriteSideFiles(const std::string& FileName) override;
    void WriteHeader(std::int64_t FirstTime) override;
    bool WriteData(std::int64_t FirstTime) override;
};

} // namespace qel
